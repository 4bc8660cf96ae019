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
    return controller_ && !doomed_ && controller_->searching_ && controller_->searchId_ == searchId_;
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
    ++controller_->total_;
    return controller_->CheckResultLimit(*this);
}

bool TWebBotEngine::KeepReading() {
    QCoreApplication::processEvents(QEventLoop::AllEvents);
    return SearchRuns() && !controller_->closing_ && !stopped_;
}

void TWebBotEngine::Release() {
    if (--uses_ == 0 && doomed_) deleteLater();  // our client may still be on the stack
}

void TWebBotEngine::GoIdle() {
    running_ = false;
    if (controller_ && !doomed_) controller_->EngineWentIdle();
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
    closing_ = true;
    searching_ = false;
    running_ = false;
    QuitWait();
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

std::string TemplateSearchController::Text(const char *english) const {
    const auto &env = web_.Environment();
    return env.message ? env.message(english) : std::string(english);
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
    if (running_)
        FinishTemplateSearch();
    else if (web_.Running())
        web_.EndWebSearch();
    else
        StartTemplateSearch(typed);
}

void TemplateSearchController::PressSearchButton(const std::string &typed) {
    if (running_)
        FinishTemplateSearch();
    else
        web_.Press(typed);
}

void TemplateSearchController::Close() {
    closing_ = true;
    if (running_) FinishTemplateSearch();
    QuitWait();
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
    if (running_ || closing_ || web_.Running()) return;
    const auto &env = web_.Environment();
    if (web_.Verifying()) {
        if (env.alert) env.alert(Text("You can't perform a search while the verification still running"));
        return;
    }
    const WebSearchSettings s = env.settings ? env.settings() : WebSearchSettings{};
    maximum_ = long(Atol(s.maxResults));
    resultMode_ = s.resultMode;
    mute_ = s.muteSounds;
    total_ = 0;

    currentQuery_ = PrepareQuery(typed);
    if (currentQuery_.empty()) {
        if (env.alert) env.alert(Text("You have not typed a search string yet\n\nSearch not started"));
        return;
    }
    if (s.cacheMode != 2 && env.pushHistory) env.pushHistory(typed);

    const unsigned id = ++searchId_;
    report_.clear();
    const auto &defs = table_.Definitions();
    const size_t n = std::min<size_t>(defs.size(), EngineRegistry::kSlotsPerKind);
    for (size_t i = 0; i < slots_.size(); ++i) DestroyEngine(int(i));
    slots_.assign(n, nullptr);
    for (size_t i = 0; i < n; ++i) {
        const TWebBot &def = defs[i];
        bool included = def.included != 0;
        if (only && std::find(only->begin(), only->end(), int(i)) == only->end()) included = false;
        auto *e = new TWebBotEngine(*this, int(i), def, included, maximum_, currentQuery_);
        e->searchId_ = id;
        slots_[i] = e;
        EngineRegistry::Instance().Set(SearchKind::WebBot, int(i), e);
        if (!e->client_) {
            if (env.alert) env.alert(Text("Unable to start due to memory allocation problems"));
            for (size_t k = 0; k <= i; ++k) DestroyEngine(int(k));
            return;
        }
        report_.push_back({def.engineName, included, 0, 0, included ? "" : "disabled"});
    }

    if (!mute_ && env.playSound) env.playSound("/Sounds/Start.wav");
    ResultListModel &list = List();
    if (!keepList) {
        list.Clear();
    } else if (list.Count() == 1 && list.Row(0).caption.empty()) {
        list.Clear();  // the "Nothing found" row of the search before
    }
    emit searchStarted();
    searching_ = true;
    running_ = true;
    emit searchingChanged(true);

    QPointer<TemplateSearchController> self(this);
    for (size_t i = 0; i < slots_.size() && self && searching_ && searchId_ == id; ++i) {
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

    if (self && running_ && searchId_ == id && searching_ && !closing_ && !AllIdle()) {
        QEventLoop loop;
        wait_ = &loop;
        loop.exec();
        if (!self) return;
        if (wait_ == &loop) wait_ = nullptr;
    }
    if (!self) return;
    if (running_ && searchId_ == id) FinishTemplateSearch();
}

bool TemplateSearchController::AllIdle() const {
    for (const TWebBotEngine *e : slots_)
        if (e && e->running_) return false;
    return true;
}

void TemplateSearchController::QuitWait() {
    if (wait_) {
        wait_->quit();
        wait_ = nullptr;
    }
}

void TemplateSearchController::EngineWentIdle() {
    if (running_ && AllIdle()) QuitWait();
}

bool TemplateSearchController::CheckResultLimit(TWebBotEngine &engine) {
    if (resultMode_ == 1) {
        if (engine.count_ >= maximum_) {
            engine.stopped_ = true;
            return false;
        }
    } else if (total_ >= maximum_) {
        searching_ = false;  // ends the whole search
        QuitWait();
        return false;
    }
    return true;
}

std::string TemplateSearchController::NothingFoundText() const {
    return Text("Nothing found for") + " < " + currentQuery_ + " >...";
}

void TemplateSearchController::FinishTemplateSearch() {
    if (!running_) return;
    running_ = false;
    searching_ = false;
    QuitWait();
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
    ++searchesEnded_;
    const auto &env = web_.Environment();
    if (env.saveCache) env.saveCache(currentQuery_);
    if (!mute_ && !closing_ && env.playSound) env.playSound("/Sounds/Stop.wav");
    ResultListModel &list = List();
    if (list.Count() == 0) {
        ResultRow row;
        row.image = -1;
        row.subItems = {NothingFoundText(), "", "", "", ""};
        list.AppendRowAsIs(std::move(row));
    }
    emit searchEnded();
}

}  // namespace qm
