#pragma once
// The web search, without a window: one request object per enabled engine, all started at
// once, their pages read as they arrive, results merged into one list, the search ended
// exactly once. The web page and quillmar-cli both drive this controller.
//
// Everything runs on the one thread. The start waits in a nested event loop until every
// engine is idle, and readers pump events every 512 characters, so Stop, a new search
// and closing may all happen while a handler is on the stack. Request objects are
// therefore never destroyed while one of their handlers runs: a destroyed engine is
// only marked, and freed once its last handler has returned.
#include "engines/web/BeFreeEngine.h"
#include "engines/web/WebReaders.h"
#include "engines/web/WebEngineTable.h"
#include "search/EngineSlots.h"
#include "search/EngineDescriptor.h"
#include "search/HttpClientPort.h"
#include "search/EngineStatusModel.h"
#include "search/PageQueue.h"
#include "search/PagedRequest.h"
#include "search/SiteMerge.h"
#include "search/ResultListModel.h"
#include "search/SearchRun.h"
#include "search/SearchSteps.h"

#include <QObject>
#include <QPointer>
#include <array>
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace qm {

class CookieStore;
class WebSearchController;

// The settings a web search reads when it starts.
struct WebSearchSettings {
    std::string maxResults = "500";  // $WEB_MaxResults, as text
    int resultMode = 0;              // $WEB_ResultMode: 0 in total, 1 per engine
    int cacheMode = 0;               // $WEB_CacheMode: 0 always, 1 session, 2 never
    bool muteSounds = false;         // $MuteWAV
    std::vector<bool> engineEnabled; // ticks of the engine list by row; missing rows use the default
    bool mergeSameSite = false;      // $WEB_MergeSameSite: one row per site, counting its engines
};

// What the controller needs from its surroundings (beyond the hooks every search kind
// has: alert, history, cache, sounds, messages). Unset members do nothing.
struct WebSearchEnvironment : SearchHooks {
    std::function<WebSearchSettings()> settings;
    HttpClientFactory makeClient;
    std::function<void()> stopVerification;                       // clears `verifying`
    CookieStore *cookies = nullptr;
    // The page readers by selector; UseBuiltInReaders() sets the program's own.
    std::function<bool(int selector)> hasReaders;
    std::function<void(int selector, std::string_view page, ReaderSink &sink)> pageLinkReader;
    std::function<void(int selector, std::string_view page, ReaderSink &sink)> resultReader;
};

// Sets the readers of the built-in web engines (src/engines/web/WebReaders.h).
void UseBuiltInReaders(WebSearchEnvironment &env);

// Steps both web searches (the built-in engines and the engines by templates) take, on the
// steps of every search kind (search/SearchSteps.h).
// A message by its English text, through the environment's table.
std::string WebText(const WebSearchEnvironment &env, const char *english);
// The start: refuses while a verification runs, reads the options into `run` (the limit as
// `maximum` reads it), takes the query and records it in the history. False when the search
// does not start. `settings` receives the options read.
bool BeginWebSearchRun(const WebSearchEnvironment &env, SearchRun &run, const std::string &typed, bool verifying,
                       long (*maximum)(const std::string &text), WebSearchSettings &settings);
// The end, once the engines are gone: counts the search, saves the list under the query's
// name, plays the stop sound (unless muted or closing) and says "Nothing found for" in an
// empty list. A search that reached no engine at all (engines took part, none answered with
// status 200) leaves the query's earlier cache as it was: it failed, it did not find nothing.
void EndWebSearchRun(const WebSearchEnvironment &env, SearchRun &run, ResultListModel *list,
                     EngineStatusModel *status);
// Adds a row an engine's reader found: refused when its address is listed (counted as a
// duplicate), counted on the listed row of the same site when `merger` is given and knows
// it, else appended; then counts it and applies the result limit. False to stop reading.
bool AddWebResult(PagedRequest &engine, SearchRun &run, ResultListModel &list, SiteMerger *merger, ResultRow row);

// One web engine's request object for the length of one search.
class TWebEngine : public SponsoredRequest, public ReaderSink {
public:
    TWebEngine(WebSearchController &controller, int slot, const EngineDescriptor &row, bool enabled,
               long maximum, const std::string &query);
    ~TWebEngine() override;

    // ReaderSink
    std::string SearchHost() const override { return searchHost_; }
    std::string EngineName() const override { return name_; }
    PageQueue &Queue() override { return PagedRequest::Queue(); }
    bool IsDuplicateUrl(std::string_view url) const override;
    bool AddResult(ResultRow row) override;
    bool KeepReading() override;

    int Selector() const { return selector_; }
    bool Enabled() const { return enabled_; }
    const std::string &ExpandedQuery() const { return expandedQuery_; }
    const std::string &Name() const { return name_; }
    TBeFreeEngine *Fetcher() { return fetcher_.get(); }
    const std::string &FirstAddress() const { return firstAddress_; }

protected:
    bool SearchRuns() const override;
    bool ReadPage(const std::string &page, const std::string &address) override;
    void WentIdle() override;

private:
    friend class WebSearchController;
    void Detach() { controller_ = nullptr; }  // the controller goes away

    WebSearchController *controller_;
    int selector_;
    std::string name_, searchHost_, expandedQuery_, firstAddress_;
    bool enabled_;
    long maximum_;
    std::unique_ptr<TBeFreeEngine> fetcher_;
    unsigned searchId_ = 0;
};

// Per-engine outcome of the last search (for quillmar-cli and tests).
struct EngineReport {
    std::string name;
    bool enabled = false;
    int pages = 0;
    int results = 0;
    std::string status;  // "ok", "error", "http NNN", "stopped", "aborted", "disabled"
    int64_t ms = -1;     // start to done
    int64_t bytes = 0;   // body bytes received
    int duplicates = 0;  // rows refused as already listed
    int merged = 0;      // rows counted on a listed row of the same site
    std::string error;   // why it failed, "" when it did not
    std::string note;    // "page limit", "result limit", ...
};
// Fills the figures of `report` from the engine's status row.
void FillReport(EngineReport &report, const EngineStatus &status);

class WebSearchController : public QObject {
    Q_OBJECT
public:
    // `table` is the engine table (rows 0 to 16); `list` receives the results. Both must
    // outlive the controller or be replaced before being destroyed.
    WebSearchController(std::vector<EngineDescriptor> &table, ResultListModel &list, WebSearchEnvironment env,
                        QObject *parent = nullptr);
    ~WebSearchController() override;

    // The search button: stops a verification, else ends a running search, else starts
    // one with `typed` (the query box's text).
    void Press(const std::string &typed);
    // Enter in the query box: ends a running search, then starts a new one.
    void EnterPressed(const std::string &typed);
    // Starts a search and returns when it has ended (events are processed meanwhile).
    void StartWebSearch(const std::string &typed);
    // Ends the running search (once; later calls do nothing).
    void EndWebSearch();
    // The window closes: a running search ends without the stop sound.
    void Close();

    bool Searching() const { return run_.Searching(); }
    bool Running() const { return run_.Running(); }
    bool Closing() const { return run_.Closing(); }
    bool Verifying() const { return verifying_; }
    void SetVerifying(bool on) { verifying_ = on; }
    const std::string &CurrentQuery() const { return run_.Query(); }
    long Maximum() const { return run_.Maximum(); }
    int TotalCount() const { return run_.Total(); }
    unsigned SearchId() const { return run_.Id(); }
    int SearchesEnded() const { return run_.Ended(); }

    // Request object of a slot (nullptr when empty).
    TWebEngine *Engine(int slot) const;
    // Outcome of each row in the last search.
    const std::vector<EngineReport> &Report() const { return report_; }
    // What each engine does or did in the current or last search.
    EngineStatusModel &Status() { return *status_; }
    const EngineStatusModel &Status() const { return *status_; }

    // "Nothing found for" + " < " + query + " >...".
    std::string NothingFoundText() const;

    ResultListModel &List() { return *list_; }
    std::vector<EngineDescriptor> &Table() { return table_; }
    const WebSearchEnvironment &Environment() const { return env_; }

signals:
    void searchingChanged(bool searching);  // button caption: "Stop" / "Search"
    void searchStarted();                   // the page hides the filter bar, header "Site"
    void searchEnded();

private:
    friend class TWebEngine;
    void DestroyEngine(int slot);
    void DestroyEngines();
    bool AllIdle() const;
    void RecordReport(const TWebEngine &e, const std::string &status);

    std::vector<EngineDescriptor> &table_;
    QPointer<ResultListModel> list_;
    WebSearchEnvironment env_;
    EngineSlots<TWebEngine> slots_{kWebEngineCount};
    SearchRun run_{[this] { return AllIdle(); }};
    bool verifying_ = false;
    std::vector<EngineReport> report_;
    EngineStatusModel *status_;
    SiteMerger merger_;
    bool merge_ = false;
};

}  // namespace qm
