#pragma once
// The smart finder's search: a leaf's name searched through two engines at once, the
// sponsored "GOTO" (reached through the affiliate network; its page is fetched, not read)
// and "Google" (read with the selector-0 readers of the web engines). The engines sit in
// their own two registry slots; the run, the start and end steps and the result limit are
// those of the web search (SearchRun, BeginWebSearchRun, EndWebSearchRun, AddWebResult).
// Every leaf's list is kept as "<smart query>.SMRCache" in the web-search cache folder.
#include "engines/web/BeFreeEngine.h"
#include "engines/web/WebReaders.h"
#include "engines/web/WebSearchController.h"
#include "search/EngineSlots.h"
#include "search/EngineDescriptor.h"
#include "search/EngineStatusModel.h"
#include "search/PagedRequest.h"
#include "search/ResultListModel.h"
#include "search/SearchRun.h"

#include <QObject>
#include <QPointer>
#include <array>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace qm {

class SmartSearchController;

inline constexpr int kSmartEngineCount = 2;
inline constexpr int kSmartGotoSlot = 0;
inline constexpr int kSmartGoogleSlot = 1;

// The two descriptors, hosts taken from the service-host table when called.
std::vector<EngineDescriptor> BuildSmartEngineTable();
// The smart query as it goes into an address: every byte but letters, digits, "-._~" and
// the "+" of the blanks as "%XX", so "Arts+&+Crafts" travels as "Arts+%26+Crafts".
std::string EncodeSmartQuery(std::string_view smartQuery);
// "scheme://host" of an address ("" when it has no scheme).
std::string AddressRoot(std::string_view address);

// The readers of one Google result page (the selector-0 readers of the web engines):
// further result pages into the sink's queue, and the results into the sink.
void CollectSmartPages(std::string_view page, ReaderSink &sink);
void ParseSmartResults(std::string_view page, ReaderSink &sink);

// The smart list: "Site", "Location", "Cost to advertiser", "Description", "URL".
ResultListModel *CreateSmartList(QObject *parent = nullptr);
inline constexpr size_t kSmartCost = 2;  // sub-item "Cost to advertiser"

// One engine of one smart search.
class TSMREngine : public SponsoredRequest, public ReaderSink {
public:
    TSMREngine(SmartSearchController &controller, int slot, const EngineDescriptor &row, long maximum,
               const std::string &smartQuery);
    ~TSMREngine() override;

    // ReaderSink
    std::string SearchHost() const override { return searchHost_; }
    std::string EngineName() const override { return name_; }
    PageQueue &Queue() override { return PagedRequest::Queue(); }
    bool IsDuplicateUrl(std::string_view url) const override;
    bool AddResult(ResultRow row) override;
    bool KeepReading() override;

    const std::string &Name() const { return name_; }
    const std::string &FirstAddress() const { return firstAddress_; }
    TBeFreeEngine *Fetcher() { return fetcher_.get(); }
    long Maximum() const { return maximum_; }

protected:
    bool SearchRuns() const override;
    bool ReadPage(const std::string &page, const std::string &address) override;
    void WentIdle() override;

private:
    friend class SmartSearchController;
    SmartSearchController *controller_;
    std::string name_, searchHost_, firstAddress_;
    long maximum_;
    std::unique_ptr<TBeFreeEngine> fetcher_;
    unsigned searchId_ = 0;
};

// Outcome of an engine in the last search (quillmar-cli).
struct SmartEngineReport {
    std::string name;
    std::string url;     // first request address
    int pages = 0;       // pages answered with status 200
    int results = 0;
    std::string status;  // the status model's state text: "done", "failed", "stopped", ...
    EngineReport figures;  // ms, bytes, duplicates, error
};

class SmartSearchController : public QObject {
    Q_OBJECT
public:
    // `env` is the web search's environment: settings (limit, mode, sounds), clients,
    // alert, sounds, messages, cookies. Its saveCache is replaced by the leaf caches under
    // `dataRoot`. `list` must outlive the controller.
    SmartSearchController(ResultListModel &list, WebSearchEnvironment env, std::string dataRoot,
                          QObject *parent = nullptr);
    ~SmartSearchController() override;

    enum class Opened { Cache, CacheUnreadable, StoppedVerification, StoppedSearch, Searched, Refused };
    // Opening a leaf (double-click, a click at leaf level, BT_SMR). `caption` is the leaf's
    // caption; `fromButton` when BT_SMR asked: it always searches afresh, or stops the
    // running search. Otherwise a leaf with a cache shows it (ending a running search).
    Opened OpenLeaf(const std::string &caption, bool fromButton);
    // Searches `caption` and returns when the search has ended.
    void StartSmartSearch(const std::string &caption);
    // Ends the running search (once).
    void FinishSmartSearch();
    // The window closes.
    void Close();
    // Loads a leaf's cache into the list; false when there is none or it cannot be read.
    bool LoadCache(const std::string &caption);

    bool Searching() const { return run_.Searching(); }
    bool Running() const { return run_.Running(); }
    bool Verifying() const { return verifying_; }
    void SetVerifying(bool on) { verifying_ = on; }
    const std::string &SmartQuery() const { return query_; }
    const std::string &Root() const { return dataRoot_; }
    int SearchesEnded() const { return run_.Ended(); }
    int TotalCount() const { return run_.Total(); }
    const SearchRun &Run() const { return run_; }

    TSMREngine *Engine(int slot) const;
    const std::vector<SmartEngineReport> &Report() const { return report_; }
    EngineStatusModel &Status() { return *status_; }
    const EngineStatusModel &Status() const { return *status_; }
    ResultListModel &List() { return *list_; }
    const WebSearchEnvironment &Environment() const { return env_; }
    const std::vector<EngineDescriptor> &Table() const { return table_; }

signals:
    void searchingChanged(bool searching);
    void searchStarted();
    void searchEnded();
    void cacheLoaded(const QString &caption);

private:
    friend class TSMREngine;
    void DestroyEngine(int slot);
    bool AllIdle() const;

    std::vector<EngineDescriptor> table_;
    QPointer<ResultListModel> list_;
    WebSearchEnvironment env_;
    std::string dataRoot_;
    std::string query_;
    EngineSlots<TSMREngine> slots_{kSmartEngineCount};
    SearchRun run_{[this] { return AllIdle(); }};
    bool verifying_ = false;
    std::vector<SmartEngineReport> report_;
    EngineStatusModel *status_;
};

}  // namespace qm
