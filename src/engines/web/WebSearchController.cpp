#include "engines/web/WebSearchController.h"

#include "engines/web/WebEngineTable.h"
#include "search/EngineRegistry.h"
#include "search/ExpandQuery.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QEventLoop>
#include <cstdlib>

namespace qm {


// ---------------------------------------------------------------- TWebEngine

TWebEngine::TWebEngine(WebSearchController &controller, int slot, const EngineDescriptor &row, bool enabled,
                       long maximum, const std::string &query)
    : SponsoredRequest(SearchKind::Web, slot,
                       controller.Environment().makeClient ? controller.Environment().makeClient() : nullptr,
                       &controller.Status(), row.homePage),
      controller_(&controller),
      selector_(row.selector),
      name_(row.name),
      enabled_(enabled),
      maximum_(maximum) {
    if (slot >= 0 && size_t(slot) < WebEngineHostKeys().size()) searchHost_ = ServiceRoot(WebEngineHostKeys()[size_t(slot)]);
    const auto &env = controller.Environment();
    if (!client_ || !enabled_) return;
    qm::ExpandedQuery x = ExpandQuery(row, query);
    expandedQuery_ = x.query;
    if (x.sponsored) {
        firstAddress_ = x.click;
        fetcher_ = std::make_unique<TBeFreeEngine>(*this, env.makeClient, x.serve, x.query, x.tmpl, env.cookies);
    } else {
        firstAddress_ = x.address;
        QueueFirstPage(x.address);
    }
}

TWebEngine::~TWebEngine() { fetcher_.reset(); }

bool TWebEngine::IsDuplicateUrl(std::string_view url) const {
    if (!controller_ || !controller_->list_ || !controller_->list_->IsDuplicateUrl(url)) return false;
    const_cast<TWebEngine *>(this)->CountDuplicate();
    return true;
}

bool TWebEngine::SearchRuns() const { return controller_ && !Disposed() && controller_->run_.Reads(searchId_); }

bool TWebEngine::AddResult(ResultRow row) {
    if (!SearchRuns() || !controller_->list_) return false;
    return AddWebResult(*this, controller_->run_, *controller_->list_,
                        controller_->merge_ ? &controller_->merger_ : nullptr, std::move(row));
}

bool TWebEngine::KeepReading() {
    QCoreApplication::processEvents(QEventLoop::AllEvents);
    return SearchRuns() && !controller_->run_.Closing() && !Stopped();
}

bool TWebEngine::ReadPage(const std::string &page, const std::string &) {
    const auto &env = controller_->env_;
    if (!env.hasReaders || !env.hasReaders(selector_)) return false;
    // Both readers are taken from the environment first: it may change while they pump.
    auto linkReader = env.pageLinkReader;
    auto resultReader = env.resultReader;
    if (linkReader) linkReader(selector_, page, *this);
    if (SearchRuns() && !Stopped() && resultReader) resultReader(selector_, page, *this);
    return true;
}

void TWebEngine::WentIdle() {
    if (controller_) controller_->run_.EngineWentIdle();
}

bool AddWebResult(PagedRequest &engine, SearchRun &run, ResultListModel &list, SiteMerger *merger, ResultRow row) {
    if (row.subItems.size() < 5) row.subItems.resize(5);
    return AddListedResult(engine, run, list, merger, std::move(row));
}

// ---------------------------------------------------------------- controller

WebSearchController::WebSearchController(std::vector<EngineDescriptor> &table, ResultListModel &list,
                                         WebSearchEnvironment env, QObject *parent)
    : QObject(parent),
      table_(table),
      list_(&list),
      env_(std::move(env)),
      status_(new EngineStatusModel(this)),
      merger_(list) {}

WebSearchController::~WebSearchController() {
    run_.Shutdown();
    slots_.DisposeAll([](TWebEngine &e) {
        e.Detach();
        if (e.fetcher_) e.fetcher_->Abort();
    });
}

TWebEngine *WebSearchController::Engine(int slot) const { return slots_.At(slot); }

void WebSearchController::Press(const std::string &typed) {
    if (verifying_) {
        verifying_ = false;
        if (env_.stopVerification) env_.stopVerification();
        return;
    }
    if (run_.Running())
        EndWebSearch();
    else
        StartWebSearch(typed);
}

void WebSearchController::EnterPressed(const std::string &typed) {
    if (run_.Running()) Press(typed);
    Press(typed);
}

void WebSearchController::Close() {
    run_.Close();
    if (run_.Running()) EndWebSearch();
    run_.QuitWait();
}

void WebSearchController::DestroyEngine(int slot) {
    slots_.Dispose(slot, [](TWebEngine &e) {
        if (e.fetcher_) e.fetcher_->Abort();
    });
}

void WebSearchController::DestroyEngines() {
    for (int i = 0; i < kWebEngineCount; ++i) DestroyEngine(i);
}

void WebSearchController::StartWebSearch(const std::string &typed) {
    if (run_.Running() || run_.Closing()) return;
    // refused while the verification of result addresses has the list
    WebSearchSettings s;
    if (!BeginWebSearchRun(env_, run_, typed, verifying_, CStyleNumber, s)) return;

    const unsigned id = run_.NextId();
    report_.clear();
    TakeServiceConfig(table_);
    merge_ = s.mergeSameSite;
    merger_.Clear();
    DestroyEngines();
    std::vector<std::pair<std::string, bool>> taking;
    for (int i = 0; i < kWebEngineCount && size_t(i) < table_.size(); ++i) {
        const EngineDescriptor &row = table_[size_t(i)];
        taking.emplace_back(row.name, size_t(i) < s.engineEnabled.size() ? bool(s.engineEnabled[size_t(i)])
                                                                         : row.defaultEnabled);
    }
    status_->Reset(taking);
    for (int i = 0; i < kWebEngineCount; ++i) {
        if (size_t(i) >= table_.size()) continue;
        const EngineDescriptor &row = table_[size_t(i)];
        const bool enabled = taking[size_t(i)].second;
        auto *e = new TWebEngine(*this, i, row, enabled, run_.Maximum(), run_.Query());
        e->searchId_ = id;
        slots_.Put(i, e);
        EngineRegistry::Instance().Set(SearchKind::Web, i, e);
        if (!e->Client() || (e->enabled_ && table_[size_t(i)].IsSponsored() && !e->fetcher_->HasClients())) {
            CannotStartAlert(env_);
            DestroyEngines();
            return;
        }
        EngineReport r;
        r.name = row.name;
        r.enabled = enabled;
        r.status = enabled ? "" : "disabled";
        report_.push_back(std::move(r));
    }

    ReadySearchRun(env_, run_, list_);
    emit searchStarted();
    run_.Go();
    emit searchingChanged(true);

    QPointer<WebSearchController> self(this);
    for (int i = 0; i < kWebEngineCount && self && run_.Reads(id); ++i) {
        TWebEngine *e = slots_.At(i);
        if (!e || !e->enabled_ || !e->Client()) continue;
        e->MarkStarted();
        if (e->fetcher_)
            e->fetcher_->Start(i);
        else
            e->StartFirstPage();
    }

    // Wait until every engine is idle, the search is stopped or the window closes.
    if (self && run_.Wait(id, this)) EndWebSearch();
}

bool WebSearchController::AllIdle() const { return slots_.AllIdle(); }

void WebSearchController::RecordReport(const TWebEngine &e, const std::string &status) {
    if (size_t(e.Slot()) >= report_.size()) return;
    auto &r = report_[size_t(e.Slot())];
    r.pages = e.Pages();
    r.results = e.Count();
    if (e.Slot() < status_->Count()) FillReport(r, status_->At(e.Slot()));
    if (!e.enabled_) {
        r.status = "disabled";
        return;
    }
    r.status = status;
    // A sponsored engine whose affiliate chain failed never used its own client.
    if (r.status == "ok" && e.Slot() < status_->Count() && status_->At(e.Slot()).state == EngineState::Failed)
        r.status = "error";
}

void FillReport(EngineReport &r, const EngineStatus &s) {
    r.ms = s.ms;
    r.bytes = s.bytes;
    r.duplicates = s.duplicates;
    r.merged = s.merged;
    r.error = s.state == EngineState::Failed ? s.reason : std::string();
    r.note = s.note;
}

std::string WebSearchController::NothingFoundText() const { return qm::NothingFoundText(env_, run_.Query()); }

void WebSearchController::EndWebSearch() {
    if (!run_.Finish()) return;
    emit searchingChanged(false);

    for (int i = 0; i < kWebEngineCount; ++i) {
        TWebEngine *e = slots_.At(i);
        if (!e) continue;
        if (e->Busy()) status_->Stopped(i);  // still at work: it was stopped
        RecordReport(*e, EndStatusOf(*e));
        DestroyEngine(i);
    }
    status_->SetEnd(run_.EndReason());
    EndWebSearchRun(env_, run_, list_, status_);
    emit searchEnded();
}

// ---------------------------------------------------------------- steps of both web searches

std::string WebText(const WebSearchEnvironment &env, const char *english) { return SearchText(env, english); }

bool BeginWebSearchRun(const WebSearchEnvironment &env, SearchRun &run, const std::string &typed, bool verifying,
                       long (*maximum)(const std::string &text), WebSearchSettings &s) {
    if (verifying) {
        if (env.alert) env.alert(WebText(env, "You can't perform a search while the verification still running"));
        return false;
    }
    s = env.settings ? env.settings() : WebSearchSettings{};
    RunOptions o;
    o.maximum = maximum(s.maxResults);
    o.resultMode = s.resultMode;
    o.mute = s.muteSounds;
    o.pushHistory = s.cacheMode != 2;
    return BeginSearchRun(env, run, typed, o);
}

void EndWebSearchRun(const WebSearchEnvironment &env, SearchRun &run, ResultListModel *list,
                     EngineStatusModel *status) {
    EndSearchRun(env, run, list, status);
}

}  // namespace qm
