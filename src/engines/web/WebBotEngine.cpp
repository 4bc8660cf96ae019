#include "engines/web/WebBotEngine.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QEventLoop>
#include <algorithm>

#include "engines/web/TemplateMatch.h"
#include "search/EngineRegistry.h"
#include "search/ExpandQuery.h"
#include "toolkit/Misc.h"

namespace qm {

namespace {
// Pages one engine reads at most in one search, whatever its navigation keeps offering.
constexpr int kMaxPagesPerEngine = 100;

long LimitNumber(const std::string &text) { return long(Atol(text)); }
}  // namespace

// Holds an engine while one of its handlers runs.
class WebBotUse {
public:
    explicit WebBotUse(TWebBotEngine &e) : e_(e) { e_.Hold(); }
    ~WebBotUse() { e_.Release(); }
    WebBotUse(const WebBotUse &) = delete;
    WebBotUse &operator=(const WebBotUse &) = delete;

private:
    TWebBotEngine &e_;
};

// ---------------------------------------------------------------- TWebBotEngine

TWebBotEngine::TWebBotEngine(TemplateSearchController &controller, int slot, const TWebBot &definition,
                             bool included, long maximum, const std::string &query)
    : controller_(&controller), slot_(slot), definition_(definition), included_(included), maximum_(maximum) {
    const auto &env = controller.Web().Environment();
    client_ = env.makeClient ? env.makeClient() : nullptr;
    if (!client_) return;
    client_->onData = [this](std::string_view bytes) { OnData(bytes); };
    client_->onDone = [this](int error) { OnDone(error); };
    if (!included_) return;
    expandedQuery_ = ExpandQueryText(definition_.mode, query);
    firstAddress_ = definition_.RequestAddress(expandedQuery_);
    size_t host = firstAddress_.find("://");
    if (host != std::string::npos) searchHost_ = firstAddress_.substr(0, firstAddress_.find('/', host + 3));
    queue_.Append(firstAddress_, "");
    currentAddress_ = firstAddress_;
    client_->SetUrl(firstAddress_);
}

TWebBotEngine::~TWebBotEngine() {
    EngineRegistry::Instance().Release(SearchKind::WebBot, slot_, this);
    if (client_) {
        client_->onData = nullptr;
        client_->onDone = nullptr;
        if (client_->Busy()) client_->Abort();
    }
}

bool TWebBotEngine::SearchRuns() const {
    return controller_ && !doomed_ && controller_->run_.Reads(searchId_);
}

bool TWebBotEngine::IsDuplicateUrl(std::string_view url) const {
    return controller_ && controller_->List().IsDuplicateUrl(url);
}

bool TWebBotEngine::AddResult(ResultRow row) {
    if (!SearchRuns()) return false;
    row.image = -1;
    if (row.subItems.size() < 5) row.subItems.resize(5);
    controller_->List().AppendRow(std::move(row));
    ++count_;
    return controller_->run_.CountResult(count_, stopped_);
}

bool TWebBotEngine::KeepReading() {
    QCoreApplication::processEvents(QEventLoop::AllEvents);
    return SearchRuns() && !controller_->run_.Closing() && !stopped_;
}

void TWebBotEngine::Release() {
    if (--uses_ == 0 && doomed_) deleteLater();  // our client may still be on the stack
}

void TWebBotEngine::GoIdle() {
    running_ = false;
    if (controller_ && !doomed_) controller_->run_.EngineWentIdle();
}

void TWebBotEngine::OnData(std::string_view bytes) {
    WebBotUse use(*this);
    if (EngineRegistry::Instance().GetAs<TWebBotEngine>(SearchKind::WebBot, client_->Tag()) != this) return;
    lastDataTick_ = QDateTime::currentMSecsSinceEpoch();
    body_.append(bytes);
    if (!SearchRuns()) client_->Abort();
}

void TWebBotEngine::OnDone(int error) {
    WebBotUse use(*this);
    if (EngineRegistry::Instance().GetAs<TWebBotEngine>(SearchKind::WebBot, client_->Tag()) != this || doomed_) return;
    lastError_ = error;
    lastStatus_ = error == 0 ? client_->ResponseStatus() : 0;
    if (error != 0 && !SearchRuns()) aborted_ = true;  // stopped, not failed
    if (SearchRuns() && error == 0 && lastStatus_ == 200) {
        ++pages_;
        if (!stopped_ && !body_.empty()) {
            // The matcher works on a copy owned by this frame: the body may be refilled or
            // the engine destroyed while it pumps events.
            std::string page = std::move(body_);
            body_.clear();
            std::string address = client_->ResponseLocation();
            if (address.empty()) address = currentAddress_;
            ReadPage(page, address);
        }
        if (SearchRuns() && !stopped_ && pages_ < kMaxPagesPerEngine) {
            std::string next = NextPageUrl(queue_);
            if (!next.empty()) {
                currentAddress_ = next;
                body_.clear();
                if (client_->Busy()) client_->Abort();
                client_->SetUrl(next);
                client_->GetAsync();
                return;  // still running
            }
        }
    }
    GoIdle();
}

void TWebBotEngine::ReadPage(const std::string &page, const std::string &address) {
    MatchTemplate(definition_, page, *this);
    if (SearchRuns() && !stopped_) MatchNextTemplate(definition_, page, address, *this);
}

// ---------------------------------------------------------------- controller

TemplateSearchController::TemplateSearchController(TemplateEngineTable &table, WebSearchController &web,
                                                   QObject *parent)
    : QObject(parent), table_(table), web_(web) {}

TemplateSearchController::~TemplateSearchController() {
    run_.Shutdown();
    for (size_t i = 0; i < slots_.size(); ++i) {
        TWebBotEngine *e = slots_[i];
        slots_[i] = nullptr;
        if (!e) continue;
        EngineRegistry::Instance().Release(SearchKind::WebBot, int(i), e);
        e->controller_ = nullptr;
        if (e->uses_ > 0)
            e->doomed_ = true;  // its handler frees it when it returns
        else
            delete e;
    }
}

TWebBotEngine *TemplateSearchController::Engine(int slot) const {
    return slot >= 0 && size_t(slot) < slots_.size() ? slots_[size_t(slot)] : nullptr;
}

void TemplateSearchController::Press(const std::string &typed) {
    if (web_.Verifying()) {
        web_.SetVerifying(false);
        if (web_.Environment().stopVerification) web_.Environment().stopVerification();
        return;
    }
    if (run_.Running())
        FinishTemplateSearch();
    else if (web_.Running())
        web_.EndWebSearch();
    else
        StartTemplateSearch(typed);
}

void TemplateSearchController::PressSearchButton(const std::string &typed) {
    if (run_.Running())
        FinishTemplateSearch();
    else
        web_.Press(typed);
}

void TemplateSearchController::Close() {
    run_.Close();
    if (run_.Running()) FinishTemplateSearch();
    run_.QuitWait();
}

void TemplateSearchController::DestroyEngine(int slot) {
    TWebBotEngine *e = Engine(slot);
    if (!e) return;
    slots_[size_t(slot)] = nullptr;
    EngineRegistry::Instance().Release(SearchKind::WebBot, slot, e);
    if (e->client_ && e->client_->Busy()) e->client_->Abort();
    e->doomed_ = true;
    if (e->uses_ == 0) delete e;
}

void TemplateSearchController::StartTemplateSearch(const std::string &typed, const std::vector<int> *only,
                                                   bool keepList) {
    if (run_.Running() || run_.Closing() || web_.Running()) return;
    const auto &env = web_.Environment();
    WebSearchSettings s;
    if (!BeginWebSearchRun(env, run_, typed, web_.Verifying(), LimitNumber, s)) return;

    const unsigned id = run_.NextId();
    report_.clear();
    const auto &defs = table_.Definitions();
    const size_t n = std::min<size_t>(defs.size(), EngineRegistry::kSlotsPerKind);
    for (size_t i = 0; i < slots_.size(); ++i) DestroyEngine(int(i));
    slots_.assign(n, nullptr);
    for (size_t i = 0; i < n; ++i) {
        const TWebBot &def = defs[i];
        bool included = def.included != 0;
        if (only && std::find(only->begin(), only->end(), int(i)) == only->end()) included = false;
        auto *e = new TWebBotEngine(*this, int(i), def, included, run_.Maximum(), run_.Query());
        e->searchId_ = id;
        slots_[i] = e;
        EngineRegistry::Instance().Set(SearchKind::WebBot, int(i), e);
        if (!e->client_) {
            if (env.alert) env.alert(WebText(env, "Unable to start due to memory allocation problems"));
            for (size_t k = 0; k <= i; ++k) DestroyEngine(int(k));
            return;
        }
        report_.push_back({def.engineName, included, 0, 0, included ? "" : "disabled"});
    }

    if (!run_.Muted() && env.playSound) env.playSound("/Sounds/Start.wav");
    ResultListModel &list = List();
    if (!keepList) {
        list.Clear();
    } else if (list.Count() == 1 && list.Row(0).caption.empty()) {
        list.Clear();  // the "Nothing found" row of the search before
    }
    emit searchStarted();
    run_.Go();
    emit searchingChanged(true);

    QPointer<TemplateSearchController> self(this);
    for (size_t i = 0; i < slots_.size() && self && run_.Reads(id); ++i) {
        TWebBotEngine *e = slots_[i];
        if (!e || !e->included_ || !e->client_) continue;
        if (e->firstAddress_.empty()) {
            e->lastError_ = -1;  // a definition without an address for this mode
            continue;
        }
        e->body_.clear();
        if (e->client_->Busy()) e->client_->Abort();
        e->queue_[0].state = "ON";
        e->client_->SetTag(int(i));
        e->running_ = true;
        e->client_->GetAsync();
    }

    if (self && run_.Wait(id, this)) FinishTemplateSearch();
}

bool TemplateSearchController::AllIdle() const {
    for (const TWebBotEngine *e : slots_)
        if (e && e->running_) return false;
    return true;
}

std::string TemplateSearchController::NothingFoundText() const {
    return qm::NothingFoundText(web_.Environment(), run_.Query());
}

void TemplateSearchController::FinishTemplateSearch() {
    if (!run_.Finish()) return;
    emit searchingChanged(false);

    for (size_t i = 0; i < slots_.size(); ++i) {
        TWebBotEngine *e = slots_[i];
        if (!e) continue;
        if (i < report_.size() && e->included_) {
            EngineReport &r = report_[i];
            r.pages = e->pages_;
            r.results = e->count_;
            if (e->running_ || e->aborted_)
                r.status = "aborted";
            else if (e->stopped_)
                r.status = "stopped";
            else if (e->lastError_ != 0)
                r.status = "error";
            else if (e->lastStatus_ != 0 && e->lastStatus_ != 200)
                r.status = "http " + std::to_string(e->lastStatus_);
            else
                r.status = "ok";
        }
        DestroyEngine(int(i));
    }
    EndWebSearchRun(web_.Environment(), run_, &List());
    emit searchEnded();
}

}  // namespace qm
