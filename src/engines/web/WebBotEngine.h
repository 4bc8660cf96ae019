#pragma once
// The search over the engines described by files (Engines/WebSearch.grp).
//
// It is the web page's second kind of search and shares everything with the built-in web
// search: the result list, the result limit of the options, the query history, the cache
// and the sounds. The two never run at the same time: a template search does not start
// while the web search runs, and the search button ends whichever of them runs
// (PressSearchButton). Like the web search, it runs on the one thread: the start waits in a
// nested event loop until every engine is idle, and the matcher pumps events every 512
// characters, so a request object is never freed while one of its handlers is on the stack.
#include <QObject>
#include <QPointer>
#include <memory>
#include <string>
#include <vector>

#include "engines/web/TemplateDefinition.h"
#include "engines/web/WebReaders.h"
#include "engines/web/WebSearchController.h"
#include "search/EngineSlots.h"
#include "search/HttpClientPort.h"
#include "search/PageQueue.h"
#include "search/PagedRequest.h"

namespace qm {

class TemplateSearchController;

// One definition's request object for the length of one search.
class TWebBotEngine : public PagedRequest, public ReaderSink {
public:
    TWebBotEngine(TemplateSearchController &controller, int slot, const TWebBot &definition, bool included,
                  long maximum, const std::string &query);
    ~TWebBotEngine() override;

    // ReaderSink
    std::string SearchHost() const override { return searchHost_; }
    std::string EngineName() const override { return definition_.engineName; }
    PageQueue &Queue() override { return PagedRequest::Queue(); }
    bool IsDuplicateUrl(std::string_view url) const override;
    bool AddResult(ResultRow row) override;
    bool KeepReading() override;

    bool Included() const { return included_; }
    bool Running() const { return Busy(); }
    const std::string &ExpandedQuery() const { return expandedQuery_; }
    const std::string &FirstAddress() const { return firstAddress_; }
    const std::string &HomePage() const { return definition_.homePage; }
    const TWebBot &Definition() const { return definition_; }

protected:
    bool SearchRuns() const override;
    bool ReadPage(const std::string &page, const std::string &address) override;
    void WentIdle() override;

private:
    friend class TemplateSearchController;

    TemplateSearchController *controller_;
    const TWebBot definition_;  // a copy: the table may be reloaded during the search
    bool included_;
    long maximum_;
    std::string expandedQuery_, firstAddress_, searchHost_;
    unsigned searchId_ = 0;
};

class TemplateSearchController : public QObject {
    Q_OBJECT
public:
    // `table` holds the definitions; `web` is the web page's built-in search, whose list,
    // environment (settings, clients, messages, history, cache, sounds) and verification
    // flag are shared. Both must outlive the controller.
    TemplateSearchController(TemplateEngineTable &table, WebSearchController &web, QObject *parent = nullptr);
    ~TemplateSearchController() override;

    // The template-engine button: stops a verification; else ends the search that runs
    // (this one or the built-in web search); else starts a template search.
    void Press(const std::string &typed);
    // The web page's search button while either search may run: ends this search when it
    // runs, else acts as the built-in search button.
    void PressSearchButton(const std::string &typed);

    // Starts a search and returns when it has ended. `only`, when given, names the
    // definitions (by table index) that may take part; a definition whose UsedByDefault is
    // not YES stays out all the same. With `keepList` the list is not emptied first (a
    // search that follows a built-in one in quillmar-cli).
    void StartTemplateSearch(const std::string &typed, const std::vector<int> *only = nullptr, bool keepList = false);
    // Ends the running search (once; later calls do nothing).
    void FinishTemplateSearch();
    // The window closes: a running search ends without the stop sound.
    void Close();

    // The web page's search-mode menu.
    void SetSearchMode(SearchMode mode) { table_.SetSearchMode(mode); }

    bool Searching() const { return run_.Searching(); }
    bool Running() const { return run_.Running(); }
    bool Closing() const { return run_.Closing(); }
    // True while this search or the built-in web search runs (the page's busy state).
    bool AnySearchRuns() const { return run_.Running() || web_.Running(); }
    const std::string &CurrentQuery() const { return run_.Query(); }
    long Maximum() const { return run_.Maximum(); }
    int TotalCount() const { return run_.Total(); }
    int SearchesEnded() const { return run_.Ended(); }

    TWebBotEngine *Engine(int slot) const;
    // Outcome of each definition in the last search, in table order.
    const std::vector<EngineReport> &Report() const { return report_; }
    // What each definition's engine does or did in the current or last search.
    EngineStatusModel &Status() { return *status_; }
    const EngineStatusModel &Status() const { return *status_; }

    std::string NothingFoundText() const;

    TemplateEngineTable &Table() { return table_; }
    WebSearchController &Web() { return web_; }
    ResultListModel &List() { return web_.List(); }

signals:
    void searchingChanged(bool searching);  // the search button: "Stop" / "Search"
    void searchStarted();                   // the page hides the filter bar, header "Site"
    void searchEnded();

private:
    friend class TWebBotEngine;
    bool AllIdle() const;

    TemplateEngineTable &table_;
    WebSearchController &web_;
    EngineSlots<TWebBotEngine> slots_;
    SearchRun run_{[this] { return AllIdle(); }};
    std::vector<EngineReport> report_;
    EngineStatusModel *status_;
    SiteMerger merger_;
    bool merge_ = false;
};

}  // namespace qm
