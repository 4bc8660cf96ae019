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
long LimitNumber(const std::string &text) { return long(Atol(text)); }
}  // namespace

// ---------------------------------------------------------------- TWebBotEngine

TWebBotEngine::TWebBotEngine(TemplateSearchController &controller, int slot, const TWebBot &definition,
                             bool included, long maximum, const std::string &query)
    : PagedRequest(SearchKind::WebBot, slot,
                   controller.Web().Environment().makeClient ? controller.Web().Environment().makeClient() : nullptr,
                   &controller.Status()),
      controller_(&controller),
      definition_(definition),
      included_(included),
      maximum_(maximum) {
    if (!client_ || !included_) return;
    expandedQuery_ = ExpandQueryText(definition_.mode, query);
    firstAddress_ = definition_.RequestAddress(expandedQuery_);
    size_t host = firstAddress_.find("://");
    if (host != std::string::npos) searchHost_ = firstAddress_.substr(0, firstAddress_.find('/', host + 3));
    if (!firstAddress_.empty()) QueueFirstPage(firstAddress_);
}

TWebBotEngine::~TWebBotEngine() = default;

bool TWebBotEngine::SearchRuns() const { return controller_ && !Disposed() && controller_->run_.Reads(searchId_); }

bool TWebBotEngine::IsDuplicateUrl(std::string_view url) const {
    if (!controller_ || !controller_->List().IsDuplicateUrl(url)) return false;
    const_cast<TWebBotEngine *>(this)->CountDuplicate();
    return true;
}

bool TWebBotEngine::AddResult(ResultRow row) {
    if (!SearchRuns()) return false;
    return AddWebResult(*this, controller_->run_, controller_->List(),
                        controller_->merge_ ? &controller_->merger_ : nullptr, std::move(row));
}

bool TWebBotEngine::KeepReading() {
    QCoreApplication::processEvents(QEventLoop::AllEvents);
    return SearchRuns() && !controller_->run_.Closing() && !Stopped();
}

void TWebBotEngine::WentIdle() {
    if (controller_) controller_->run_.EngineWentIdle();
}

bool TWebBotEngine::ReadPage(const std::string &page, const std::string &address) {
    MatchTemplate(definition_, page, *this);
    if (SearchRuns() && !Stopped()) MatchNextTemplate(definition_, page, address, *this);
    return true;
}

// ---------------------------------------------------------------- controller

TemplateSearchController::TemplateSearchController(TemplateEngineTable &table, WebSearchController &web,
                                                   QObject *parent)
    : QObject(parent), table_(table), web_(web), status_(new EngineStatusModel(this)), merger_(web.List()) {}

TemplateSearchController::~TemplateSearchController() {
    run_.Shutdown();
    slots_.DisposeAll([](TWebBotEngine &e) { e.controller_ = nullptr; });
}

TWebBotEngine *TemplateSearchController::Engine(int slot) const { return slots_.At(slot); }

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
    slots_.Reset(n);
    merge_ = s.mergeSameSite;
    std::vector<std::pair<std::string, bool>> taking;
    for (size_t i = 0; i < n; ++i) {
        bool included = defs[i].included != 0;
        if (only && std::find(only->begin(), only->end(), int(i)) == only->end()) included = false;
        taking.emplace_back(defs[i].engineName, included);
    }
    status_->Reset(taking);
    for (size_t i = 0; i < n; ++i) {
        const TWebBot &def = defs[i];
        const bool included = taking[i].second;
        auto *e = new TWebBotEngine(*this, int(i), def, included, run_.Maximum(), run_.Query());
        e->searchId_ = id;
        slots_.Put(int(i), e);
        EngineRegistry::Instance().Set(SearchKind::WebBot, int(i), e);
        if (!e->Client()) {
            CannotStartAlert(env);
            slots_.DisposeAll();
            return;
        }
        EngineReport r;
        r.name = def.engineName;
        r.enabled = included;
        r.status = included ? "" : "disabled";
        report_.push_back(std::move(r));
    }

    ReadySearchRun(env, run_, nullptr);  // the list: kept or emptied below
    ResultListModel &list = List();
    if (!keepList) {
        list.Clear();
    } else if (list.Count() == 1 && list.Row(0).caption.empty()) {
        list.Clear();  // the "Nothing found" row of the search before
    }
    merger_.Rebuild();  // rows kept from a search before count as listed sites
    emit searchStarted();
    run_.Go();
    emit searchingChanged(true);

    QPointer<TemplateSearchController> self(this);
    for (size_t i = 0; i < slots_.size() && self && run_.Reads(id); ++i) {
        TWebBotEngine *e = slots_.At(int(i));
        if (!e || !e->included_ || !e->Client()) continue;
        e->MarkStarted();
        if (e->firstAddress_.empty()) {
            e->Fail("no address for this search mode");
            e->SetBusy(false);
            continue;
        }
        e->StartFirstPage();
    }

    if (self && run_.Wait(id, this)) FinishTemplateSearch();
}

bool TemplateSearchController::AllIdle() const { return slots_.AllIdle(); }

std::string TemplateSearchController::NothingFoundText() const {
    return qm::NothingFoundText(web_.Environment(), run_.Query());
}

void TemplateSearchController::FinishTemplateSearch() {
    if (!run_.Finish()) return;
    emit searchingChanged(false);

    for (size_t i = 0; i < slots_.size(); ++i) {
        TWebBotEngine *e = slots_.At(int(i));
        if (!e) continue;
        if (e->Busy()) status_->Stopped(int(i));  // still at work: it was stopped
        if (i < report_.size() && e->included_) {
            EngineReport &r = report_[i];
            r.pages = e->Pages();
            r.results = e->Count();
            r.status = EndStatusOf(*e);
            if (r.status == "ok" && e->firstAddress_.empty()) r.status = "error";  // no address for this mode
            if (int(i) < status_->Count()) FillReport(r, status_->At(int(i)));
        }
        slots_.Dispose(int(i));
    }
    status_->SetEnd(run_.EndReason());
    EndWebSearchRun(web_.Environment(), run_, &List(), status_);
    emit searchEnded();
}

}  // namespace qm
