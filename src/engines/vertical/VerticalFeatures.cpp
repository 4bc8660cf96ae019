#include "engines/vertical/VerticalFeatures.h"

#include "settings/Opt.h"
#include "toolkit/Misc.h"

#include <QTimer>

namespace qm {

namespace {

const std::string &Sub(const ResultRow &r, size_t i) {
    static const std::string empty;
    return i < r.subItems.size() ? r.subItems[i] : empty;
}

// Every address these lists open came from a remote page.
bool Openable(const std::string &address) { return !address.empty() && IsSafeToOpen(address); }

}  // namespace

NewsOptions NewsOptionsFrom(const Options &o) {
    NewsOptions n;
    n.maximum = o.news.maxResults;
    n.resultMode = o.news.resultMode == 1 ? 1 : 0;
    n.cacheMode = o.news.cacheMode;
    n.useDiskCache = o.news.useDiskCache;
    n.mute = o.muteWav;
    n.engineEnabled = o.newsEngineEnabled(kNewsEngineName);
    return n;
}

ResultListModel *CreateNewsList(QObject *parent) {
    auto *m = new ResultListModel({"Title", "Newsgroups", "Source", "Description", "Address"}, kNewsAddress,
                                  kNewsAddress, parent);
    m->SetCountWords("Article", "Articles");
    m->SetFilterColumns({kNewsTitle, kNewsDescription});
    return m;
}

ResultListModel *CreateSoftwareList(QObject *parent) {
    auto *m = new ResultListModel(
        {"Name", "Type", "Size", "Comments", "Source", "Description", "URL", "HomePage"}, kPrgName, kPrgName, parent);
    m->SetCountWords("software", "softwares");
    m->SetFilterColumns({kPrgName, kPrgType, kPrgSize, kPrgComments, kPrgSource, kPrgDescription});
    return m;
}

// ---------------------------------------------------------------- newsgroups

NewsSearch::NewsSearch(VerticalHost host, std::function<NewsOptions()> options, QObject *parent)
    : QObject(parent), host_(std::move(host)), options_(std::move(options)), table_(BuildNewsEngineTable()),
      list_(CreateNewsList(this)) {
    VerticalKind kind;
    kind.kind = SearchKind::News;
    kind.searchHost = [](int) { return NewsSearchHost(); };
    kind.firstAddress = [this](int, const EngineDescriptor &row, const std::string &query, std::string &expanded) {
        return NewsFirstAddress(row, query, restriction_, &expanded);
    };
    kind.readers = [](int, std::string_view page, ReaderSink &sink) {
        RunVerticalReaders(VerticalEngine::News, page, sink);
    };
    kind.create = [](VerticalSearchController &c, int slot, const EngineDescriptor &row, bool enabled,
                     const std::string &query) -> TVerticalEngine * {
        return new TNewsEngine(c, slot, row, enabled, query);
    };
    VerticalEnvironment env;
    static_cast<SearchHooks &>(env) = host_;
    env.makeClient = host_.makeClient;
    env.settings = [this] {
        const NewsOptions o = options_ ? options_() : NewsOptions{};
        VerticalSettings s;
        s.maximum = o.maximum;
        s.resultMode = o.resultMode;
        s.mute = o.mute;
        s.pushHistory = o.cacheMode != 2;
        s.engineEnabled = {o.engineEnabled};
        return s;
    };
    env.saveCache = [this](const std::string &query) {
        const NewsOptions o = options_ ? options_() : NewsOptions{};
        Cache().Write(list_->Rows(), query, o.useDiskCache);
    };
    controller_ = new VerticalSearchController(std::move(kind), table_, *list_, std::move(env), this);
}

SearchResultCache NewsSearch::Cache() const {
    return SearchResultCache((host_.dataRoot ? host_.dataRoot() : std::string(".")) + "/Cache", kNewsCacheFolder,
                             kNewsCacheExtension, RecordKind::Newsgroup);
}

SearchResultCache::Recall NewsSearch::Recall(const std::string &boxText) {
    const NewsOptions o = options_ ? options_() : NewsOptions{};
    SearchResultCache::Hooks hooks;
    hooks.searching = [this] { return controller_->Running(); };
    hooks.endSearch = [this, o] {
        if (o.useDiskCache) controller_->End();
    };
    hooks.show = [this](std::vector<ResultRow> &&rows) { list_->ShowRows(std::move(rows)); };
    return Cache().OnQueryBoxChanged(boxText, CacheModeFromInt(o.cacheMode), hooks);
}

ExportSettings NewsSearch::ExportSettingsFor() const {
    ExportSettings s = WebExportSettings(host_.dataRoot ? host_.dataRoot() : std::string("."));
    s.engines.clear();
    s.keepEngineUrlWhenUnknown = false;  // "<$ENGINE_URL>" is left empty
    s.urlColumn = kNewsAddress;
    s.locationColumn = kNewsGroups;
    s.templates.end = "</table></body></html>";
    return s;
}

bool NewsSearch::ExportPage(const std::string &path, const std::vector<bool> &selected) const {
    return ExportResultPage(list_->Rows(), path, selected, ExportSettingsFor());
}

std::string NewsSearch::ViewFile() const {
    return (host_.dataRoot ? host_.dataRoot() : std::string(".")) + "/Cache/" + kNewsViewFile;
}

std::string NewsSearch::ArticleAddress(int row) const {
    if (row < 0 || row >= list_->Count()) return {};
    const std::string &a = Sub(list_->Row(row), kNewsAddress);
    return Openable(a) ? a : std::string();
}

std::string NewsSearch::BrowseAddress(int row) const {
    if (row < 0 || row >= list_->Count()) return {};
    const std::string &group = Sub(list_->Row(row), kNewsGroups);
    if (group.empty()) return {};
    const std::string a = NewsGroupBrowseAddress(group);
    return Openable(a) ? a : std::string();
}

// ---------------------------------------------------------------- software

SoftwareSearch::SoftwareSearch(VerticalHost host, QObject *parent)
    : QObject(parent), host_(std::move(host)), table_(BuildSoftwareEngineTable()), list_(CreateSoftwareList(this)) {
    VerticalKind kind;
    kind.kind = SearchKind::Software;
    kind.searchHost = [](int slot) { return SoftwareSearchHost(slot); };
    kind.firstAddress = [](int, const EngineDescriptor &row, const std::string &query, std::string &expanded) {
        return SoftwareFirstAddress(row, query, &expanded);
    };
    kind.readers = [this](int slot, std::string_view page, ReaderSink &sink) {
        const int selector = size_t(slot) < table_.size() ? table_[size_t(slot)].selector : -1;
        RunVerticalReaders(selector == 0 ? VerticalEngine::Cnet : selector == 1 ? VerticalEngine::TuCows
                                                                                : VerticalEngine::None,
                           page, sink, SearchText(host_, kRatedCaption));
    };
    kind.create = [](VerticalSearchController &c, int slot, const EngineDescriptor &row, bool enabled,
                     const std::string &query) -> TVerticalEngine * {
        return new TPrgEngine(c, slot, row, enabled, query);
    };
    VerticalEnvironment env;
    static_cast<SearchHooks &>(env) = host_;
    env.makeClient = host_.makeClient;
    env.settings = [this] {
        VerticalSettings s;
        s.noLimit = true;  // the software search has no result limit
        s.mute = host_.mute && host_.mute();
        s.pushHistory = true;
        return s;
    };
    env.saveCache = [this](const std::string &query) { Cache().Write(list_->Rows(), query, true); };
    controller_ = new VerticalSearchController(std::move(kind), table_, *list_, std::move(env), this);
}

SoftwareSearch::~SoftwareSearch() {
    if (detail_) {
        detail_->onData = nullptr;
        detail_->onDone = nullptr;
        if (detail_->Busy()) detail_->Abort();
    }
}

void SoftwareSearch::SetMode(SearchMode mode) {
    mode_ = mode;
    SetSoftwareSearchMode(table_, mode);
}

SearchResultCache SoftwareSearch::Cache() const {
    return SearchResultCache((host_.dataRoot ? host_.dataRoot() : std::string(".")) + "/Cache",
                             kSoftwareCacheFolder, kSoftwareCacheExtension, RecordKind::Software);
}

SearchResultCache::Recall SoftwareSearch::Recall(const std::string &boxText) {
    SearchResultCache::Hooks hooks;
    hooks.searching = [this] { return controller_->Running(); };
    hooks.endSearch = [this] { controller_->End(); };
    hooks.show = [this](std::vector<ResultRow> &&rows) { list_->ShowRows(std::move(rows)); };
    return Cache().OnQueryBoxChanged(boxText, CacheMode::Always, hooks);
}

void SoftwareSearch::Open(const std::string &address, const char *missing) {
    if (Openable(address)) {
        if (actions_.open) actions_.open(address);
    } else if (host_.alert) {
        host_.alert(SearchText(host_, missing));
    }
}

void SoftwareSearch::Download(int row) {
    if (row < 0 || row >= list_->Count()) return;
    const ResultRow &r = list_->Row(row);
    if (!SameTextNoCase(Sub(r, kPrgSource), "C|NET"))
        Open(Sub(r, kPrgUrl), "The address of this download cannot be opened");
    else
        RequestDetail(Sub(r, kPrgUrl), DetailAction::Download);
}

void SoftwareSearch::Visit(int row) {
    if (row < 0 || row >= list_->Count()) return;
    const ResultRow &r = list_->Row(row);
    if (!SameTextNoCase(Sub(r, kPrgSource), "C|NET"))
        Open(Sub(r, kPrgHomePage), "The page of this software names no author's site");
    else
        RequestDetail(Sub(r, kPrgUrl), DetailAction::Visit);
}

void SoftwareSearch::RequestDetail(const std::string &address, DetailAction action) {
    // A new request drops the previous one: its client is retired and freed once the loop
    // has delivered whatever it still had posted.
    if (detail_) {
        detail_->onData = nullptr;
        detail_->onDone = nullptr;
        if (detail_->Busy()) detail_->Abort();
        std::shared_ptr<HttpClientPort> old(std::move(detail_));
        QTimer::singleShot(0, this, [old] {});
    }
    pending_ = action;
    detailBody_.clear();
    if (actions_.itemsEnabled) actions_.itemsEnabled(false);
    detail_ = host_.makeClient ? host_.makeClient() : nullptr;
    if (!detail_ || !IsSafeToOpen(address)) {
        detail_.reset();
        DetailDone(-1);
        return;
    }
    detailBusy_ = true;
    detail_->onData = [this](std::string_view bytes) { detailBody_.append(bytes); };
    detail_->onDone = [this](int error) { DetailDone(error); };
    detail_->SetUrl(address);
    detail_->GetAsync();
}

void SoftwareSearch::DetailDone(int error) {
    detailBusy_ = false;
    SoftwareDetail d;
    const bool ok = error == 0 && detail_ && detail_->ResponseStatus() == 200;
    std::string page = std::move(detailBody_);
    detailBody_.clear();
    if (ok && !page.empty()) d = ReadSoftwareDetailPage(page, SoftwareSearchHost(0));
    lastDetail_ = d;
    if (error != 0 || !page.empty()) Act(pending_, d);
    // Whatever happened, the items come back.
    if (actions_.itemsEnabled) actions_.itemsEnabled(true);
}

void SoftwareSearch::Act(DetailAction action, const SoftwareDetail &d) {
    switch (action) {
    case DetailAction::ShowDetails:
        if (actions_.showDetails) actions_.showDetails(d.description);
        break;
    case DetailAction::Download:
        Open(d.download, "The page of this software gives no download link");
        break;
    case DetailAction::Visit:
        Open(d.author, "The page of this software names no author's site");
        break;
    case DetailAction::Opinions:
        if (!d.mentionsOpinions)
            Open({}, "There is no user opinions for this software");
        else
            Open(d.opinions, "There is no user opinions for this software");
        break;
    }
}

}  // namespace qm
