#include "engines/vertical/CatalogueBrowser.h"

#include "engines/vertical/VerticalReaders.h"

namespace qm {

CatalogueBrowser::CatalogueBrowser(VerticalHost host, QObject *parent)
    : QObject(parent), host_(std::move(host)), list_(CreateCatalogueList(this)) {
    EngineDescriptor row;
    row.name = "C|NET";
    table_.push_back(row);
    VerticalKind kind;
    kind.kind = SearchKind::Catalogue;
    kind.searchHost = [](int) { return CatalogueHost(); };
    kind.firstAddress = [this](int, const EngineDescriptor &, const std::string &, std::string &) {
        const int e = FindCatalogueEntry(category_, subcategory_);
        return e < 0 ? std::string() : CatalogueAddress(CatalogueTable()[size_t(e)]);
    };
    kind.readers = [this](int, std::string_view page, ReaderSink &sink) {
        ++pagesFetched_;
        RunCatalogueReaders(IsMostPopular(subcategory_), page, sink);
    };
    kind.create = [](VerticalSearchController &c, int slot, const EngineDescriptor &row, bool enabled,
                     const std::string &query) -> TVerticalEngine * {
        return new TCNETEngine(c, slot, row, enabled, query);
    };
    VerticalEnvironment env;
    static_cast<SearchHooks &>(env) = host_;
    env.makeClient = host_.makeClient;
    env.pushHistory = nullptr;
    env.settings = [this] {
        VerticalSettings s;
        s.noLimit = true;
        s.pushHistory = false;
        s.mute = host_.mute && host_.mute();
        return s;
    };
    // Every finish writes the list shown (what it had, also after Stop or a failed page).
    env.saveCache = [this](const std::string &) {
        WriteCatalogueCache(Root(), category_, subcategory_, list_->Rows());
    };
    controller_ = new VerticalSearchController(std::move(kind), table_, *list_, std::move(env), this);
    connect(controller_, &VerticalSearchController::searchEnded, this, [this] { Finished(); });
}

void CatalogueBrowser::Finished() {
    // The shared end says "Nothing found for < query >..."; the catalogue says its own.
    if (list_->Count() == 1 && list_->Row(0).caption.empty()) {
        list_->Clear();
        list_->AppendRowAsIs(CatalogueNothingFoundRow(SearchText(host_, "Nothing found in this area...")));
    }
}

bool CatalogueBrowser::Update(const std::string &category, const std::string &subcategory) {
    if (FindCatalogueEntry(category, subcategory) < 0) return false;
    if (controller_->Searching()) controller_->End();
    category_ = category;
    subcategory_ = subcategory;
    pagesFetched_ = 0;
    controller_->Start(subcategory);
    return true;
}

void CatalogueBrowser::Stop() {
    if (controller_->Searching()) controller_->End();
}

void CatalogueBrowser::Close() { controller_->Close(); }

bool CatalogueBrowser::ShowCached(const std::string &category, const std::string &subcategory) {
    Stop();
    std::vector<ResultRow> rows;
    if (FindCatalogueEntry(category, subcategory) < 0 || !LoadCatalogueCache(Root(), category, subcategory, rows))
        return false;
    list_->SetUpdating(true);
    list_->ResetRows(std::move(rows));
    list_->SetUpdating(false);
    category_ = category;
    subcategory_ = subcategory;
    return true;
}

void CatalogueBrowser::SortByColumn(int column) {
    if (list_->Count() == 0 || (list_->Count() == 1 && IsCatalogueNotice(list_->Row(0)))) return;
    if (column == int(kCatRated) + 1 || column == int(kCatDownloads) + 1) {
        list_->SortByColumn(column, ResultListModel::SortMode::Numeric);
        list_->ReverseItems();
        list_->RenumberItems();
    } else {
        list_->SortByColumn(column, ResultListModel::SortMode::Text);
    }
    if (!category_.empty()) WriteCatalogueCache(Root(), category_, subcategory_, list_->Rows());
}

bool CatalogueBrowser::RemoveCache(const std::string &category, const std::string &subcategory) {
    return RemoveCatalogueCache(Root(), category, subcategory);
}

std::vector<ResultRow> CatalogueBrowser::SelectedAsFavorites() const {
    std::vector<ResultRow> out;
    for (int r : list_->SelectedRows())
        if (!IsCatalogueNotice(list_->Row(r))) out.push_back(CatalogueToFavorite(list_->Row(r)));
    return out;
}

}  // namespace qm
