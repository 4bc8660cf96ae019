#pragma once
// The search controller of the vertical searches (newsgroup articles, software, and the
// kinds to come): a fixed set of engines of one kind, all started at once, each fetching its
// pages one after another, their rows merged into one list, the search ended exactly once.
// It is the web search's road with the kind's own table, readers, list and settings; the
// start, end and add steps are the shared ones of search/SearchSteps.h, the request objects
// derive from PagedRequest and the engines report into one EngineStatusModel.
#include "engines/web/WebReaders.h"
#include "engines/web/WebSearchController.h"
#include "search/EngineSlots.h"
#include "search/EngineDescriptor.h"
#include "search/HttpClientPort.h"
#include "search/PagedRequest.h"
#include "search/ResultListModel.h"
#include "search/SearchRun.h"
#include "search/SearchSteps.h"

#include <QObject>
#include <QPointer>
#include <functional>
#include <string>
#include <vector>

namespace qm {

class VerticalSearchController;

// The options a vertical search reads when it starts.
struct VerticalSettings {
    long maximum = 500;
    int resultMode = 0;        // 0 in total, 1 per engine
    bool noLimit = false;      // the kind has no result limit (software)
    bool mute = false;         // $MuteWAV
    bool pushHistory = true;   // the query box's history takes the text
    std::vector<bool> engineEnabled;  // by row; missing rows take part
};

struct VerticalEnvironment : SearchHooks {
    std::function<VerticalSettings()> settings;
    HttpClientFactory makeClient;
};

class TVerticalEngine;

// What makes one kind: its registry range, table, addresses and readers.
struct VerticalKind {
    SearchKind kind = SearchKind::News;
    // The first request address of a row; `expanded` receives the query put into it.
    std::function<std::string(int slot, const EngineDescriptor &row, const std::string &query,
                              std::string &expanded)> firstAddress;
    std::function<std::string(int slot)> searchHost;
    // Both readers of a row over one page (the page-link reader first).
    std::function<void(int slot, std::string_view page, ReaderSink &sink)> readers;
    // Makes the kind's request object (TNewsEngine, TPrgEngine); a plain TVerticalEngine when unset.
    std::function<TVerticalEngine *(VerticalSearchController &, int slot, const EngineDescriptor &, bool enabled,
                                    const std::string &query)> create;
};

// One engine of a vertical search, for the length of one search.
class TVerticalEngine : public PagedRequest, public ReaderSink {
public:
    TVerticalEngine(VerticalSearchController &controller, int slot, const EngineDescriptor &row, bool enabled,
                    const std::string &query);

    // ReaderSink
    std::string SearchHost() const override { return searchHost_; }
    std::string EngineName() const override { return name_; }
    PageQueue &Queue() override { return PagedRequest::Queue(); }
    bool IsDuplicateUrl(std::string_view identity) const override;
    bool AddResult(ResultRow row) override;
    bool KeepReading() override;

    bool Enabled() const { return enabled_; }
    const std::string &Name() const { return name_; }
    const std::string &ExpandedQuery() const { return expandedQuery_; }
    const std::string &FirstAddress() const { return firstAddress_; }

protected:
    bool SearchRuns() const override;
    bool ReadPage(const std::string &page, const std::string &address) override;
    void WentIdle() override;

private:
    friend class VerticalSearchController;
    VerticalSearchController *controller_;
    std::string name_, searchHost_, expandedQuery_, firstAddress_;
    bool enabled_;
    unsigned searchId_ = 0;
};

// The newsgroup engine (one slot) and the software engines (two slots).
class TNewsEngine : public TVerticalEngine {
public:
    using TVerticalEngine::TVerticalEngine;
};
class TPrgEngine : public TVerticalEngine {
public:
    using TVerticalEngine::TVerticalEngine;
};

class VerticalSearchController : public QObject {
    Q_OBJECT
public:
    // `table` and `list` must outlive the controller.
    VerticalSearchController(VerticalKind kind, std::vector<EngineDescriptor> &table, ResultListModel &list,
                             VerticalEnvironment env, QObject *parent = nullptr);
    ~VerticalSearchController() override;

    // The search button: ends a running search, else starts one.
    void Press(const std::string &typed);
    // Enter in the query box: ends a running search, then starts a new one.
    void EnterPressed(const std::string &typed);
    // Starts a search and returns when it has ended (events are processed meanwhile).
    void Start(const std::string &typed);
    // Ends the running search (once).
    void End();
    // The window closes: a running search ends without the stop sound.
    void Close();

    bool Searching() const { return run_.Searching(); }
    bool Running() const { return run_.Running(); }
    const std::string &CurrentQuery() const { return run_.Query(); }
    int SearchesEnded() const { return run_.Ended(); }
    TVerticalEngine *Engine(int slot) const;
    const std::vector<EngineReport> &Report() const { return report_; }
    EngineStatusModel &Status() { return *status_; }
    ResultListModel &List() { return *list_; }
    std::vector<EngineDescriptor> &Table() { return table_; }
    const VerticalEnvironment &Environment() const { return env_; }
    const VerticalKind &Kind() const { return kind_; }
    std::string NothingFoundText() const { return qm::NothingFoundText(env_, run_.Query()); }

signals:
    void searchingChanged(bool searching);
    void searchStarted();
    void searchEnded();

private:
    friend class TVerticalEngine;
    bool AllIdle() const;

    VerticalKind kind_;
    std::vector<EngineDescriptor> &table_;
    QPointer<ResultListModel> list_;
    VerticalEnvironment env_;
    EngineSlots<TVerticalEngine> slots_;
    SearchRun run_{[this] { return AllIdle(); }};
    std::vector<EngineReport> report_;
    EngineStatusModel *status_;
};

}  // namespace qm
