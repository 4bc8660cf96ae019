#include "engines/vertical/ForumMp3Search.h"

#include "toolkit/Misc.h"

namespace qm {

const PlainVerticalKind &ForumKind() {
    static const PlainVerticalKind k = [] {
        PlainVerticalKind k;
        k.kind = SearchKind::Forum;
        k.table = BuildForumEngineTable;
        k.headers = {"Forum / List", "Type", "Source", "Description", "URL"};
        k.one = "Forum";
        k.many = "Forums";
        k.filterColumns = {kFrmName, kFrmType, kFrmSource, kFrmDescription};
        k.cacheFolder = kForumCacheFolder;
        k.cacheExtension = kForumCacheExtension;
        k.searchHost = ForumSearchHost;
        k.readers = [](int selector, std::string_view page, ReaderSink &sink) {
            RunForumReaders(selector, page, sink, DelphiForumHost());
        };
        k.keys = {"forum", "type", "source", "description", "url"};
        return k;
    }();
    return k;
}

const PlainVerticalKind &Mp3Kind() {
    static const PlainVerticalKind k = [] {
        PlainVerticalKind k;
        k.kind = SearchKind::Mp3;
        k.table = BuildMp3EngineTable;
        k.headers = {"Title", "Size", "Description", "Source", "URL"};
        k.one = "Title";
        k.many = "Titles";
        k.filterColumns = {kMp3Title, kMp3Size, kMp3Description, kMp3Source, kMp3Url};
        k.cacheFolder = kMp3CacheFolder;
        k.cacheExtension = kMp3CacheExtension;
        k.searchHost = Mp3HomeAddress;
        k.readers = RunMp3Readers;
        k.keys = {"title", "size", "description", "source", "url"};
        return k;
    }();
    return k;
}

PlainVerticalSearch::PlainVerticalSearch(const PlainVerticalKind &kind, VerticalHost host, QObject *parent)
    : QObject(parent), kind_(kind), host_(std::move(host)), table_(kind.table()) {
    list_ = new ResultListModel(kind_.headers, kFrmUrl, kFrmUrl, this);
    list_->SetCountWords(kind_.one, kind_.many);
    list_->SetFilterColumns(kind_.filterColumns);

    VerticalKind v;
    v.kind = kind_.kind;
    v.searchHost = [this](int slot) {
        return size_t(slot) < table_.size() ? kind_.searchHost(table_[size_t(slot)].selector) : std::string();
    };
    v.firstAddress = [](int, const EngineDescriptor &row, const std::string &query, std::string &expanded) {
        expanded = query;
        return PlainFirstAddress(row, query);
    };
    v.readers = [this](int slot, std::string_view page, ReaderSink &sink) {
        if (size_t(slot) < table_.size()) kind_.readers(table_[size_t(slot)].selector, page, sink);
    };
    VerticalEnvironment env;
    static_cast<SearchHooks &>(env) = host_;
    env.makeClient = host_.makeClient;
    env.settings = [this] {
        VerticalSettings s;
        s.maximum = kForumMp3MaxRows + 1;  // the search ends once the list holds more than 500 rows
        s.resultMode = 0;
        s.mute = host_.mute && host_.mute();
        s.pushHistory = true;
        for (const auto &row : table_) s.engineEnabled.push_back(row.defaultEnabled);
        return s;
    };
    env.saveCache = [this](const std::string &query) { Cache().Write(list_->Rows(), query, true); };
    controller_ = new VerticalSearchController(std::move(v), table_, *list_, std::move(env), this);
}

SearchResultCache PlainVerticalSearch::Cache() const {
    return SearchResultCache((host_.dataRoot ? host_.dataRoot() : std::string(".")) + "/Cache", kind_.cacheFolder,
                             kind_.cacheExtension, RecordKind::Web);
}

SearchResultCache::Recall PlainVerticalSearch::Recall(const std::string &boxText) {
    SearchResultCache::Hooks hooks;
    hooks.searching = [this] { return controller_->Running(); };
    hooks.endSearch = [this] { controller_->End(); };
    hooks.show = [this](std::vector<ResultRow> &&rows) { list_->ShowRows(std::move(rows)); };
    return Cache().OnQueryBoxChanged(boxText, CacheMode::Always, hooks);
}

std::string PlainVerticalSearch::RowAddress(int row) const {
    if (row < 0 || row >= list_->Count()) return {};
    const ResultRow &r = list_->Row(row);
    const std::string a = kFrmUrl < r.subItems.size() ? r.subItems[kFrmUrl] : std::string();
    return !a.empty() && IsSafeToOpen(a) ? a : std::string();
}

}  // namespace qm
