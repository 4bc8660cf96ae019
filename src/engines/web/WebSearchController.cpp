#include "engines/web/WebSearchController.h"

#include "engines/web/WebEngineTable.h"
#include "search/EngineRegistry.h"
#include "search/ExpandQuery.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QEventLoop>
#include <cstdlib>

namespace qm {

namespace {

// Holds an engine while one of its handlers runs.
class Use {
public:
    explicit Use(TWebEngine &e) : e_(e) { e_.HoldOwner(); }
    ~Use() { e_.ReleaseOwner(); }
    Use(const Use &) = delete;
    Use &operator=(const Use &) = delete;

private:
    TWebEngine &e_;
};

long CStyleNumber(const std::string &text) {
    size_t b = 0, e = text.size();
    while (b < e && static_cast<unsigned char>(text[b]) <= 32) ++b;
    while (e > b && static_cast<unsigned char>(text[e - 1]) <= 32) --e;
    std::string t = text.substr(b, e - b);
    char *end = nullptr;
    long v = std::strtol(t.c_str(), &end, 10);
    return v;
}

}  // namespace

// ---------------------------------------------------------------- TWebEngine

TWebEngine::TWebEngine(WebSearchController &controller, int slot, const EngineDescriptor &row, bool enabled,
                       long maximum, const std::string &query)
    : controller_(&controller),
      slot_(slot),
      selector_(row.selector),
      name_(row.name),
      homePage_(row.homePage),
      enabled_(enabled),
      maximum_(maximum) {
    if (slot >= 0 && size_t(slot) < WebEngineHostKeys().size()) searchHost_ = ServiceRoot(WebEngineHostKeys()[size_t(slot)]);
    const auto &env = controller.Environment();
    client_ = env.makeClient ? env.makeClient() : nullptr;
    if (!client_) return;
    client_->onData = [this](std::string_view bytes) { OnData(bytes); };
    client_->onDone = [this](int error) { OnDone(error); };
    if (!enabled_) return;
    qm::ExpandedQuery x = ExpandQuery(row, query);
    expandedQuery_ = x.query;
    if (x.sponsored) {
        firstAddress_ = x.click;
        fetcher_ = std::make_unique<TBeFreeEngine>(*this, env.makeClient, x.serve, x.query, x.tmpl, env.cookies);
    } else {
        firstAddress_ = x.address;
        queue_.Append(x.address, "");
        client_->SetUrl(x.address);
    }
}

TWebEngine::~TWebEngine() {
    EngineRegistry::Instance().Release(SearchKind::Web, slot_, this);
    fetcher_.reset();
    if (client_) {
        client_->onData = nullptr;
        client_->onDone = nullptr;
        if (client_->Busy()) client_->Abort();
    }
}

void TWebEngine::Detach() { controller_ = nullptr; }

bool TWebEngine::IsDuplicateUrl(std::string_view url) const {
    return controller_ && controller_->list_ && controller_->list_->IsDuplicateUrl(url);
}

bool TWebEngine::OwnerSearchRuns() const {
    return controller_ && !doomed_ && controller_->run_.Reads(searchId_);
}

bool TWebEngine::AddResult(ResultRow row) {
    if (!OwnerSearchRuns() || !controller_->list_) return false;
    row.image = -1;
    if (row.subItems.size() < 5) row.subItems.resize(5);
    // A reader tests the address before it has read the whole record, and it pumps events
    // while it reads on: another engine may have listed the same address meanwhile.
    if (controller_->list_->IsDuplicateUrl(row.Address())) return true;
    controller_->list_->AppendRow(std::move(row));
    ++count_;
    return controller_->run_.CountResult(count_, stopped_);
}

bool TWebEngine::KeepReading() {
    QCoreApplication::processEvents(QEventLoop::AllEvents);
    return OwnerSearchRuns() && !controller_->run_.Closing() && !stopped_;
}

void TWebEngine::SetOwnerBusy(bool busy) {
    busy_ = busy;
    if (!busy && !OwnerSearchRuns()) cutShort_ = true;  // Stop or the limit ended its work
    if (!busy && controller_ && !doomed_) controller_->run_.EngineWentIdle();
}

void TWebEngine::ReleaseOwner() {
    if (--uses_ == 0 && doomed_) deleteLater();  // a client of ours may still be on the stack
}

void TWebEngine::OnData(std::string_view bytes) {
    Use use(*this);
    if (EngineRegistry::Instance().GetAs<TWebEngine>(SearchKind::Web, client_->Tag()) != this) return;
    lastDataTick_ = QDateTime::currentMSecsSinceEpoch();
    body_.append(bytes);
    if (!OwnerSearchRuns()) client_->Abort();
}

void TWebEngine::OnDone(int error) {
    Use use(*this);
    if (EngineRegistry::Instance().GetAs<TWebEngine>(SearchKind::Web, client_->Tag()) != this || doomed_) return;
    lastError_ = error;
    lastStatus_ = error == 0 ? client_->ResponseStatus() : 0;
    if (OwnerSearchRuns() && error == 0 && client_->ResponseStatus() == 200) {
        ++pages_;
        const auto &env = controller_->env_;
        if (!stopped_ && env.hasReaders && env.hasReaders(selector_) && !body_.empty()) {
            // The readers work on a copy owned by this frame: the body may be refilled
            // or the engine destroyed while they pump events.
            std::string page = std::move(body_);
            body_.clear();
            auto linkReader = env.pageLinkReader;
            auto resultReader = env.resultReader;
            if (linkReader) linkReader(selector_, page, *this);
            if (OwnerSearchRuns() && !stopped_ && resultReader) resultReader(selector_, page, *this);
        }
        if (OwnerSearchRuns()) {
            std::string next = NextPageUrl(queue_);
            client_->SetUrl(next);
            if (!next.empty()) {
                body_.clear();
                if (client_->Busy()) client_->Abort();
                client_->GetAsync();
                return;  // still busy
            }
        }
    }
    SetOwnerBusy(false);
}

// ---------------------------------------------------------------- controller

WebSearchController::WebSearchController(std::vector<EngineDescriptor> &table, ResultListModel &list,
                                         WebSearchEnvironment env, QObject *parent)
    : QObject(parent), table_(table), list_(&list), env_(std::move(env)) {}

WebSearchController::~WebSearchController() {
    run_.Shutdown();
    for (int i = 0; i < kWebEngineCount; ++i) {
        TWebEngine *e = slots_[size_t(i)];
        slots_[size_t(i)] = nullptr;
        if (!e) continue;
        EngineRegistry::Instance().Release(SearchKind::Web, i, e);
        e->Detach();
        if (e->uses_ > 0)
            e->doomed_ = true;  // its handler frees it when it returns
        else
            delete e;
    }
}

TWebEngine *WebSearchController::Engine(int slot) const {
    return slot >= 0 && slot < kWebEngineCount ? slots_[size_t(slot)] : nullptr;
}

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
    TWebEngine *e = slots_[size_t(slot)];
    if (!e) return;
    slots_[size_t(slot)] = nullptr;
    EngineRegistry::Instance().Release(SearchKind::Web, slot, e);
    if (e->fetcher_) e->fetcher_->Abort();
    if (e->client_ && e->client_->Busy()) e->client_->Abort();
    FreeEngine(e);
}

void WebSearchController::FreeEngine(TWebEngine *e) {
    e->doomed_ = true;
    if (e->uses_ == 0) delete e;  // no handler of it runs: nothing of it is on the stack
}

void WebSearchController::StartWebSearch(const std::string &typed) {
    if (run_.Running() || run_.Closing()) return;
    // refused while the verification of result addresses has the list
    WebSearchSettings s;
    if (!BeginWebSearchRun(env_, run_, typed, verifying_, CStyleNumber, s)) return;

    const unsigned id = run_.NextId();
    report_.clear();
    for (int i = 0; i < kWebEngineCount; ++i) {
        DestroyEngine(i);
        if (size_t(i) >= table_.size()) continue;
        const EngineDescriptor &row = table_[size_t(i)];
        bool enabled = size_t(i) < s.engineEnabled.size() ? bool(s.engineEnabled[size_t(i)]) : row.defaultEnabled;
        auto *e = new TWebEngine(*this, i, row, enabled, run_.Maximum(), run_.Query());
        e->searchId_ = id;
        slots_[size_t(i)] = e;
        EngineRegistry::Instance().Set(SearchKind::Web, i, e);
        if (!e->client_ || (e->enabled_ && table_[size_t(i)].IsSponsored() && !e->fetcher_->HasClients())) {
            if (env_.alert) env_.alert(WebText(env_, "Unable to start due to memory allocation problems"));
            for (int k = 0; k <= i; ++k) DestroyEngine(k);
            return;
        }
        report_.push_back({row.name, enabled, 0, 0, enabled ? "" : "disabled"});
    }

    if (!run_.Muted() && env_.playSound) env_.playSound("/Sounds/Start.wav");
    if (list_) list_->Clear();
    emit searchStarted();
    run_.Go();
    emit searchingChanged(true);

    QPointer<WebSearchController> self(this);
    for (int i = 0; i < kWebEngineCount && self && run_.Reads(id); ++i) {
        TWebEngine *e = slots_[size_t(i)];
        if (!e || !e->enabled_ || !e->client_) continue;
        e->busy_ = true;
        if (e->fetcher_) {
            e->fetcher_->Start(i);
        } else {
            e->body_.clear();
            if (e->client_->Busy()) e->client_->Abort();
            if (!e->queue_.empty()) e->queue_[0].state = "ON";
            e->client_->SetTag(i);
            e->client_->GetAsync();
        }
    }

    // Wait until every engine is idle, the search is stopped or the window closes.
    if (self && run_.Wait(id, this)) EndWebSearch();
}

bool WebSearchController::AllIdle() const {
    for (const TWebEngine *e : slots_)
        if (e && e->busy_) return false;
    return true;
}

void WebSearchController::RecordReport(const TWebEngine &e, const char *status) {
    if (size_t(e.slot_) >= report_.size()) return;
    auto &r = report_[size_t(e.slot_)];
    r.pages = e.pages_;
    r.results = e.count_;
    if (!e.enabled_) {
        r.status = "disabled";
        return;
    }
    r.status = status;
}

std::string WebSearchController::NothingFoundText() const { return qm::NothingFoundText(env_, run_.Query()); }

void WebSearchController::EndWebSearch() {
    if (!run_.Finish()) return;
    emit searchingChanged(false);

    for (int i = 0; i < kWebEngineCount; ++i) {
        TWebEngine *e = slots_[size_t(i)];
        if (!e) continue;
        const char *status = "ok";
        if (e->busy_ || e->cutShort_)
            status = "aborted";
        else if (e->stopped_)
            status = "stopped";
        else if (e->lastError_ != 0)
            status = "error";
        else if (e->lastStatus_ != 0 && e->lastStatus_ != 200)
            status = "http";
        RecordReport(*e, status);
        if (std::string(status) == "http" && size_t(i) < report_.size())
            report_[size_t(i)].status = "http " + std::to_string(e->lastStatus_);
        DestroyEngine(i);
    }
    EndWebSearchRun(env_, run_, list_);
    emit searchEnded();
}

// ---------------------------------------------------------------- steps of both web searches

std::string WebText(const WebSearchEnvironment &env, const char *english) {
    return env.message ? env.message(english) : std::string(english);
}

bool BeginWebSearchRun(const WebSearchEnvironment &env, SearchRun &run, const std::string &typed, bool verifying,
                       long (*maximum)(const std::string &text), WebSearchSettings &s) {
    if (verifying) {
        if (env.alert) env.alert(WebText(env, "You can't perform a search while the verification still running"));
        return false;
    }
    s = env.settings ? env.settings() : WebSearchSettings{};
    run.Prepare(maximum(s.maxResults), s.resultMode, s.muteSounds);
    run.SetQuery(PrepareQuery(typed));
    if (run.Query().empty()) {
        if (env.alert) env.alert(WebText(env, "You have not typed a search string yet\n\nSearch not started"));
        return false;
    }
    if (s.cacheMode != 2 && env.pushHistory) env.pushHistory(typed);
    return true;
}

void EndWebSearchRun(const WebSearchEnvironment &env, SearchRun &run, ResultListModel *list) {
    run.Ended();
    if (env.saveCache) env.saveCache(run.Query());
    if (!run.Muted() && !run.Closing() && env.playSound) env.playSound("/Sounds/Stop.wav");
    if (list && list->Count() == 0) {
        ResultRow row;
        row.image = -1;
        row.subItems = {NothingFoundText(env, run.Query()), "", "", "", ""};
        list->AppendRowAsIs(std::move(row));
    }
}

std::string NothingFoundText(const WebSearchEnvironment &env, const std::string &query) {
    return WebText(env, "Nothing found for") + " < " + query + " >...";
}

}  // namespace qm
