#include "smart/SmartSearch.h"

#include "engines/web/WebEngineTable.h"
#include "search/ExpandQuery.h"
#include "search/ResultCache.h"
#include "smart/CategoryTable.h"
#include "toolkit/Misc.h"

#include <QByteArray>
#include <QCoreApplication>
#include <QEventLoop>
#include <sys/stat.h>
#include <utility>

namespace qm {

namespace {

// Partner account of the affiliate network for the smart finder's sponsored listings.
constexpr const char *kSmartPartnerSite = "40120018";
constexpr const char *kSmartGotoMid = "1881937";
constexpr const char *kSmartPartnerPage = "smart_finder";

long MaximumOf(const std::string &text) { return long(Atol(Trim(text))); }

}  // namespace

std::vector<EngineDescriptor> BuildSmartEngineTable() {
    std::vector<EngineDescriptor> t(kSmartEngineCount);
    EngineDescriptor &go = t[kSmartGotoSlot];
    go.selector = 10;
    go.name = "GOTO";
    go.homePage = ServiceRoot("goto") + "/";
    const std::string affiliate = ServiceRoot("affiliate");
    const std::string account = std::string("bfsiteid=") + kSmartPartnerSite + "&bfpage=" + kSmartPartnerPage;
    go.sponsoredServe = affiliate + "/bfast/serve?bfmid=" + kSmartGotoMid + "&" + account;
    go.sponsoredClick = affiliate + "/bfast/click?" + account + "&bfmid=" + kSmartGotoMid +
                        "&Keywords=<$QRY>&Promo=befree";
    TakeConfiguredGoto(go);

    EngineDescriptor &g = t[kSmartGoogleSlot];
    g.selector = 0;
    g.name = "Google";
    const std::string root = ServiceRoot("smart-search");
    const std::string tail =
        "&num=20&btnG=Recherche+Google&as_epq=&as_oq=&as_eq=&lr=&as_occt=any&as_dt=i&as_sitesearch=";
    g.templateAll = root + "/search?as_q=<$QRY>" + tail;
    g.templateAny = g.templateAll;
    g.templateBool = g.templateAll;
    g.templateExact = root + "/search?as_q=%22<$QRY>%22" + tail;
    g.homePage = root + "/";
    return t;
}

std::string EncodeSmartQuery(std::string_view smartQuery) {
    const QByteArray raw(smartQuery.data(), qsizetype(smartQuery.size()));
    return raw.toPercentEncoding(QByteArrayLiteral("+")).toStdString();
}

std::string AddressRoot(std::string_view address) {
    const size_t scheme = address.find("://");
    if (scheme == std::string_view::npos) return {};
    const size_t path = address.find('/', scheme + 3);
    return std::string(address.substr(0, path));
}

void CollectSmartPages(std::string_view page, ReaderSink &sink) { RunPageLinkReader(0, page, sink); }
void ParseSmartResults(std::string_view page, ReaderSink &sink) { RunResultReader(0, page, sink); }

ResultListModel *CreateSmartList(QObject *parent) {
    return new ResultListModel({QStringLiteral("Site"), QStringLiteral("Location"), QStringLiteral("Cost to advertiser"),
                                QStringLiteral("Description"), QStringLiteral("URL")},
                               kUrl, kLocation, parent);
}

// ---------------------------------------------------------------- TSMREngine

TSMREngine::TSMREngine(SmartSearchController &controller, int slot, const EngineDescriptor &row, long maximum,
                       const std::string &smartQuery)
    : SponsoredRequest(SearchKind::Smart, slot,
                       controller.env_.makeClient ? controller.env_.makeClient() : nullptr, controller.status_,
                       row.homePage),
      controller_(&controller),
      name_(row.name),
      maximum_(maximum) {
    if (!client_) return;
    // The mode is All: the query replaces "<$QRY>" as it is, only made safe for an address.
    const std::string encoded = EncodeSmartQuery(smartQuery);
    if (row.IsSponsored()) {
        firstAddress_ = ReplaceQueryPlaceholder(row.sponsoredClick, encoded);
        // The click address is complete: the fetcher finds no placeholder left to fill.
        fetcher_ = std::make_unique<TBeFreeEngine>(*this, controller.env_.makeClient, row.sponsoredServe, "",
                                                   firstAddress_, controller.env_.cookies);
    } else {
        firstAddress_ = ReplaceQueryPlaceholder(row.templateAll, encoded);
        searchHost_ = AddressRoot(firstAddress_);
        QueueFirstPage(firstAddress_);
    }
}

TSMREngine::~TSMREngine() { fetcher_.reset(); }

bool TSMREngine::SearchRuns() const { return controller_ && !Disposed() && controller_->run_.Reads(searchId_); }

bool TSMREngine::IsDuplicateUrl(std::string_view url) const {
    if (!controller_ || !controller_->list_ || !controller_->list_->IsDuplicateUrl(url)) return false;
    const_cast<TSMREngine *>(this)->CountDuplicate();
    return true;
}

bool TSMREngine::AddResult(ResultRow row) {
    if (!SearchRuns() || !controller_->list_) return false;
    // The smart list has no "Source": that column holds the advertiser's cost, empty here.
    if (row.subItems.size() > kSmartCost) row.subItems[kSmartCost].clear();
    return AddWebResult(*this, controller_->run_, *controller_->list_, nullptr, std::move(row));
}

bool TSMREngine::KeepReading() {
    QCoreApplication::processEvents(QEventLoop::AllEvents);
    return SearchRuns() && !controller_->run_.Closing() && !Stopped();
}

bool TSMREngine::ReadPage(const std::string &page, const std::string &) {
    if (Slot() != kSmartGoogleSlot) return false;  // the sponsored page is fetched, not read
    CollectSmartPages(page, *this);
    if (SearchRuns() && !Stopped()) ParseSmartResults(page, *this);
    return true;
}

void TSMREngine::WentIdle() {
    if (controller_) controller_->run_.EngineWentIdle();
}

// ---------------------------------------------------------------- controller

SmartSearchController::SmartSearchController(ResultListModel &list, WebSearchEnvironment env, std::string dataRoot,
                                             QObject *parent)
    : QObject(parent),
      table_(BuildSmartEngineTable()),
      list_(&list),
      env_(std::move(env)),
      dataRoot_(std::move(dataRoot)),
      status_(new EngineStatusModel(this)) {
    env_.pushHistory = nullptr;  // a leaf is no typed query
    env_.saveCache = [this](const std::string &query) {
        if (!list_) return;
        ::mkdir((dataRoot_ + "/Cache").c_str(), 0755);
        ::mkdir(SmartCacheFolder(dataRoot_).c_str(), 0755);
        SaveResultList(list_->Rows(), SmartCachePath(dataRoot_, query));
    };
}

SmartSearchController::~SmartSearchController() {
    run_.Shutdown();
    slots_.DisposeAll([](TSMREngine &e) {
        e.controller_ = nullptr;
        if (e.fetcher_) e.fetcher_->Abort();
    });
}

TSMREngine *SmartSearchController::Engine(int slot) const { return slots_.At(slot); }

void SmartSearchController::DestroyEngine(int slot) {
    slots_.Dispose(slot, [](TSMREngine &e) {
        if (e.fetcher_) e.fetcher_->Abort();
    });
}

bool SmartSearchController::AllIdle() const { return slots_.AllIdle(); }

bool SmartSearchController::LoadCache(const std::string &caption) {
    std::vector<ResultRow> rows;
    if (!list_ || !LoadResultList(SmartCachePath(dataRoot_, caption), rows)) return false;
    list_->ResetRows(std::move(rows));
    emit cacheLoaded(QString::fromStdString(caption));
    return true;
}

SmartSearchController::Opened SmartSearchController::OpenLeaf(const std::string &caption, bool fromButton) {
    if (fromButton && run_.Running()) {  // the button reads "Stop"
        FinishSmartSearch();
        return Opened::StoppedSearch;
    }
    query_ = SmartQueryOf(caption);
    if (!fromButton && SmartCacheExists(dataRoot_, caption)) {
        if (run_.Running()) FinishSmartSearch();
        return LoadCache(caption) ? Opened::Cache : Opened::CacheUnreadable;
    }
    if (verifying_) {
        verifying_ = false;
        if (env_.stopVerification) env_.stopVerification();
        return Opened::StoppedVerification;
    }
    if (run_.Running()) {
        FinishSmartSearch();
        return Opened::StoppedSearch;
    }
    const int ended = std::as_const(run_).Ended();
    StartSmartSearch(caption);
    return std::as_const(run_).Ended() != ended ? Opened::Searched : Opened::Refused;
}

void SmartSearchController::Close() {
    run_.Close();
    if (run_.Running()) FinishSmartSearch();
    run_.QuitWait();
}

void SmartSearchController::StartSmartSearch(const std::string &caption) {
    if (run_.Running() || run_.Closing()) return;
    WebSearchSettings settings;
    if (!BeginWebSearchRun(env_, run_, caption, verifying_, MaximumOf, settings)) return;
    query_ = run_.Query();

    const unsigned id = run_.NextId();
    report_.clear();
    for (int i = 0; i < kSmartEngineCount; ++i) DestroyEngine(i);
    TakeConfiguredGoto(table_[kSmartGotoSlot]);  // a configuration applied since the table was built
    std::vector<std::pair<std::string, bool>> taking;
    for (const auto &row : table_) taking.emplace_back(row.name, true);
    status_->Reset(taking);
    for (int i = 0; i < kSmartEngineCount; ++i) {
        auto *e = new TSMREngine(*this, i, table_[size_t(i)], run_.Maximum(), run_.Query());
        e->searchId_ = id;
        slots_.Put(i, e);
        EngineRegistry::Instance().Set(SearchKind::Smart, i, e);
        if (!e->Client() || (e->fetcher_ && !e->fetcher_->HasClients())) {
            CannotStartAlert(env_);
            for (int k = 0; k < kSmartEngineCount; ++k) DestroyEngine(k);
            return;
        }
        SmartEngineReport r;
        r.name = e->Name();
        r.url = e->FirstAddress();
        report_.push_back(std::move(r));
    }

    ReadySearchRun(env_, run_, list_);
    emit searchStarted();
    run_.Go();
    emit searchingChanged(true);

    QPointer<SmartSearchController> self(this);
    for (int i = 0; i < kSmartEngineCount && self && run_.Reads(id); ++i) {
        TSMREngine *e = slots_.At(i);
        if (!e) continue;
        e->MarkStarted();
        if (e->fetcher_)
            e->fetcher_->Start(i);
        else
            e->StartFirstPage();
    }
    if (self && run_.Wait(id, this)) FinishSmartSearch();
}

void SmartSearchController::FinishSmartSearch() {
    if (!run_.Finish()) return;
    emit searchingChanged(false);
    for (int i = 0; i < kSmartEngineCount; ++i) {
        TSMREngine *e = slots_.At(i);
        if (!e) continue;
        if (e->Busy()) status_->Stopped(i);
        if (size_t(i) < report_.size() && i < status_->Count()) {
            SmartEngineReport &r = report_[size_t(i)];
            const EngineStatus &s = status_->At(i);
            r.pages = e->Pages();
            r.results = e->Count();
            r.status = EngineStatusModel::StateText(s).toStdString();
            FillReport(r.figures, s);
        }
        DestroyEngine(i);
    }
    status_->SetEnd(run_.EndReason());
    EndWebSearchRun(env_, run_, list_, status_);
    emit searchEnded();
}

}  // namespace qm
