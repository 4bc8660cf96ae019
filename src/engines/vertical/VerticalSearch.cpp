#include "engines/vertical/VerticalSearch.h"

#include "search/EngineRegistry.h"

#include <QCoreApplication>
#include <QEventLoop>

namespace qm {

// ---------------------------------------------------------------- TVerticalEngine

TVerticalEngine::TVerticalEngine(VerticalSearchController &c, int slot, const EngineDescriptor &row, bool enabled,
                                 const std::string &query)
    : PagedRequest(c.Kind().kind, slot, c.Environment().makeClient ? c.Environment().makeClient() : nullptr,
                   &c.Status()),
      controller_(&c),
      name_(row.name),
      enabled_(enabled) {
    if (c.Kind().searchHost) searchHost_ = c.Kind().searchHost(slot);
    if (!client_ || !enabled_ || !c.Kind().firstAddress) return;
    firstAddress_ = c.Kind().firstAddress(slot, row, query, expandedQuery_);
    if (!firstAddress_.empty()) QueueFirstPage(firstAddress_);
}

bool TVerticalEngine::IsDuplicateUrl(std::string_view identity) const {
    if (!controller_ || !controller_->list_ || !controller_->list_->IsDuplicateUrl(identity)) return false;
    const_cast<TVerticalEngine *>(this)->CountDuplicate();
    return true;
}

bool TVerticalEngine::SearchRuns() const { return controller_ && !Disposed() && controller_->run_.Reads(searchId_); }

bool TVerticalEngine::AddResult(ResultRow row) {
    if (!SearchRuns() || !controller_->list_) return false;
    return AddListedResult(*this, controller_->run_, *controller_->list_, nullptr, std::move(row));
}

bool TVerticalEngine::KeepReading() {
    QCoreApplication::processEvents(QEventLoop::AllEvents);
    return SearchRuns() && !controller_->run_.Closing() && !Stopped();
}

bool TVerticalEngine::ReadPage(const std::string &page, const std::string &) {
    if (!controller_ || !controller_->kind_.readers) return false;
    auto readers = controller_->kind_.readers;  // the controller may go while they pump
    readers(Slot(), page, *this);
    return true;
}

void TVerticalEngine::WentIdle() {
    if (controller_) controller_->run_.EngineWentIdle();
}

// ---------------------------------------------------------------- controller

VerticalSearchController::VerticalSearchController(VerticalKind kind, std::vector<EngineDescriptor> &table,
                                                   ResultListModel &list, VerticalEnvironment env, QObject *parent)
    : QObject(parent),
      kind_(std::move(kind)),
      table_(table),
      list_(&list),
      env_(std::move(env)),
      slots_(table.size()),
      status_(new EngineStatusModel(this)) {}

VerticalSearchController::~VerticalSearchController() {
    run_.Shutdown();
    slots_.DisposeAll([](TVerticalEngine &e) { e.controller_ = nullptr; });
}

TVerticalEngine *VerticalSearchController::Engine(int slot) const { return slots_.At(slot); }

void VerticalSearchController::Press(const std::string &typed) {
    if (run_.Running())
        End();
    else
        Start(typed);
}

void VerticalSearchController::EnterPressed(const std::string &typed) {
    if (run_.Running()) End();
    Start(typed);
}

void VerticalSearchController::Close() {
    run_.Close();
    if (run_.Running()) End();
    run_.QuitWait();
}

bool VerticalSearchController::AllIdle() const { return slots_.AllIdle(); }

void VerticalSearchController::Start(const std::string &typed) {
    if (run_.Running() || run_.Closing()) return;
    const VerticalSettings s = env_.settings ? env_.settings() : VerticalSettings{};
    RunOptions o;
    o.maximum = s.maximum;
    o.resultMode = s.resultMode;
    o.noLimit = s.noLimit;
    o.mute = s.mute;
    o.pushHistory = s.pushHistory;
    if (!BeginSearchRun(env_, run_, typed, o)) return;

    const unsigned id = run_.NextId();
    report_.clear();
    slots_.DisposeAll();
    std::vector<std::pair<std::string, bool>> taking;
    for (size_t i = 0; i < table_.size(); ++i)
        taking.emplace_back(table_[i].name, i < s.engineEnabled.size() ? bool(s.engineEnabled[i]) : true);
    status_->Reset(taking);
    for (size_t i = 0; i < table_.size(); ++i) {
        const bool enabled = taking[i].second;
        TVerticalEngine *e = kind_.create ? kind_.create(*this, int(i), table_[i], enabled, run_.Query())
                                          : new TVerticalEngine(*this, int(i), table_[i], enabled, run_.Query());
        e->searchId_ = id;
        slots_.Put(int(i), e);
        EngineRegistry::Instance().Set(kind_.kind, int(i), e);
        if (!e->Client()) {
            CannotStartAlert(env_);
            slots_.DisposeAll();
            return;
        }
        EngineReport r;
        r.name = table_[i].name;
        r.enabled = enabled;
        r.status = enabled ? "" : "disabled";
        report_.push_back(std::move(r));
    }

    ReadySearchRun(env_, run_, list_);
    emit searchStarted();
    run_.Go();
    emit searchingChanged(true);

    QPointer<VerticalSearchController> self(this);
    for (size_t i = 0; i < slots_.size() && self && run_.Reads(id); ++i) {
        TVerticalEngine *e = slots_.At(int(i));
        if (!e || !e->enabled_ || !e->Client() || e->Queue().empty()) continue;
        e->MarkStarted();
        e->StartFirstPage();
    }
    if (self && run_.Wait(id, this)) End();
}

void VerticalSearchController::End() {
    if (!run_.Finish()) return;
    emit searchingChanged(false);
    for (size_t i = 0; i < slots_.size(); ++i) {
        TVerticalEngine *e = slots_.At(int(i));
        if (!e) continue;
        if (e->Busy()) status_->Stopped(int(i));
        const std::string status = e->enabled_ ? EndStatusOf(*e) : "disabled";
        if (i < report_.size()) {
            auto &r = report_[i];
            r.pages = e->Pages();
            r.results = e->Count();
            if (int(i) < status_->Count()) FillReport(r, status_->At(int(i)));
            r.status = status;
        }
        slots_.Dispose(int(i));
    }
    status_->SetEnd(run_.EndReason());
    EndSearchRun(env_, run_, list_, status_);
    emit searchEnded();
}

}  // namespace qm
