#include "engines/vertical/Favorites.h"

#include "search/Export.h"
#include "toolkit/Misc.h"

#include <filesystem>

namespace qm {

namespace {

const std::string &Sub(const ResultRow &r, size_t i) {
    static const std::string empty;
    return i < r.subItems.size() ? r.subItems[i] : empty;
}

ResultListModel *CreateDailyFavorites(QObject *parent) {
    // Information, an untitled column, Source, Date, URL.
    auto *m = new ResultListModel({"Information", "", "Source", "Date", "URL"}, 4, 4, parent);
    return m;
}

std::string Safe(const std::string &address) { return !address.empty() && IsSafeToOpen(address) ? address : ""; }

}  // namespace

bool FavoritesListByName(const std::string &name, FavoritesList &list) {
    for (int k = 0; k < kFavoritesLists; ++k)
        if (name == FavoritesListName(FavoritesList(k))) {
            list = FavoritesList(k);
            return true;
        }
    return false;
}

const char *FavoritesListName(FavoritesList list) {
    switch (list) {
    case FavoritesList::Web: return "web";
    case FavoritesList::News: return "news";
    case FavoritesList::Software: return "software";
    case FavoritesList::Daily: return "daily";
    }
    return "";
}

RecordKind FavoritesRecordKind(FavoritesList list) {
    switch (list) {
    case FavoritesList::Web: return RecordKind::Web;
    case FavoritesList::News: return RecordKind::Newsgroup;
    case FavoritesList::Software: return RecordKind::Software;
    case FavoritesList::Daily: return RecordKind::DailyNews;
    }
    return RecordKind::Web;
}

const char *FavoritesTitle(FavoritesList list) {
    switch (list) {
    case FavoritesList::Web: return "My Favorites : WEB sites";
    case FavoritesList::News: return "My Favorites : NEWS articles";
    case FavoritesList::Software: return "My Favorites : Software titles";
    case FavoritesList::Daily: return "My Favorites : daily news articles";
    }
    return "";
}

FavoriteTarget FavoriteAddress(FavoritesList list, const ResultRow &row, FavoriteAction action) {
    FavoriteTarget t;
    switch (list) {
    case FavoritesList::Web:
        if (action == FavoriteAction::View)
            t.address = Sub(row, kLocation);
        else if (action == FavoriteAction::Open || action == FavoriteAction::Cut)
            t.address = row.Address(kUrl, kLocation);
        break;
    case FavoritesList::News:
        if (action == FavoriteAction::View || action == FavoriteAction::Open || action == FavoriteAction::Cut)
            t.address = Sub(row, kNewsAddress);
        break;
    case FavoritesList::Software:
        if (action == FavoriteAction::View || action == FavoriteAction::Cut) {
            t.address = Sub(row, kPrgUrl);
        } else if (action == FavoriteAction::Download || action == FavoriteAction::Visit) {
            if (SameTextNoCase(Sub(row, kPrgSource), "C|NET")) {
                t.viaDetail = true;
                t.detail = action == FavoriteAction::Download ? DetailAction::Download : DetailAction::Visit;
                t.address = Sub(row, kPrgUrl);
            } else {
                t.address = Sub(row, action == FavoriteAction::Download ? kPrgUrl : kPrgHomePage);
            }
        }
        break;
    case FavoritesList::Daily:
        if (action == FavoriteAction::View || action == FavoriteAction::Open || action == FavoriteAction::Cut)
            t.address = Sub(row, 4);
        break;
    }
    t.address = Safe(t.address);
    if (t.address.empty()) t.viaDetail = false;
    return t;
}

Favorites::Favorites(Host host, QObject *parent) : QObject(parent), host_(std::move(host)) {
    auto *web = ResultListModel::CreateWebList(this);
    lists_ = {web, CreateNewsList(this), CreateSoftwareList(this), CreateDailyFavorites(this)};
    // The header words come from the message table; the empty newsgroup list says "Articles".
    auto words = [this](FavoritesList l, const char *one, const char *many) {
        List(l).SetCountWords(QString::fromStdString(Text(one)), QString::fromStdString(Text(many)));
    };
    words(FavoritesList::Web, "Site", "Sites");
    words(FavoritesList::News, "Article", "Articles");
    words(FavoritesList::Software, "software", "softwares");
    words(FavoritesList::Daily, "Information", "Information");
    List(FavoritesList::News).SetEmptyCountWord(QString::fromStdString(Text("Articles")));
}

std::string Favorites::Text(const char *english) const {
    return host_.message ? host_.message(english) : std::string(english);
}

bool Favorites::Load() {
    const std::string folder = host_.cacheFolder ? host_.cacheFolder() : std::string();
    bool ok = true;
    for (int k = 0; k < kFavoritesLists; ++k) {
        const RecordKind kind = FavoritesRecordKind(FavoritesList(k));
        const std::string path = ListFilePath(folder, FavoritesFileName(kind));
        std::vector<ResultRow> rows;
        std::error_code ec;
        const bool exists = std::filesystem::exists(path, ec);
        if (!LoadFavorites(folder, kind, rows)) {
            if (exists) {
                // Keep the user's file: nothing is written over it in this run.
                locked_[size_t(k)] = true;
                ok = false;
                if (host_.alert) host_.alert(Text("This favorites file cannot be read:") + " " + path);
            }
            rows.clear();
        } else {
            locked_[size_t(k)] = false;
        }
        lists_[size_t(k)]->ResetRows(std::move(rows));
    }
    return ok;
}

bool Favorites::Save(FavoritesList list) {
    if (locked_[size_t(list)]) return false;
    const std::string folder = host_.cacheFolder ? host_.cacheFolder() : std::string();
    return SaveFavorites(folder, FavoritesRecordKind(list), List(list).Rows());
}

bool Favorites::Save() {
    bool ok = true;
    for (int k = 0; k < kFavoritesLists; ++k)
        if (!locked_[size_t(k)]) ok = Save(FavoritesList(k)) && ok;
    return ok;
}

int Favorites::AddRows(FavoritesList list, const std::vector<ResultRow> &rows) {
    ResultListModel &m = List(list);
    m.SetUpdating(true);
    int added = 0;
    for (const ResultRow &r : rows) {
        // A notice ("Nothing found for ...") has neither number nor address: no title.
        if (list != FavoritesList::Daily && r.caption.empty() && r.Address(kUrl, kLocation).empty() &&
            Sub(r, kNewsAddress).empty() && Sub(r, kPrgUrl).empty())
            continue;
        ResultRow copy = r;
        copy.checked = false;
        if (list == FavoritesList::Daily) {
            copy.caption.clear();
            m.AppendRowAsIs(std::move(copy));
        } else {
            m.AppendRow(std::move(copy));  // numbered n + 1
        }
        ++added;
    }
    m.SetUpdating(false);
    if (added) {
        emit m.listChanged();
        Save(list);
    }
    return added;
}

int Favorites::AddSelection(FavoritesList list, const ResultListModel &from) {
    std::vector<ResultRow> rows;
    for (int r : from.SelectedRows()) rows.push_back(from.Row(r));
    return AddRows(list, rows);
}

bool Favorites::RemoveSelected(FavoritesList list) {
    ResultListModel &m = List(list);
    const bool removed = m.DeleteSelectedItems([this] { return !host_.confirm || host_.confirm(); });
    if (removed) {
        if (list == FavoritesList::Daily)
            for (int i = 0; i < m.Count(); ++i) m.SetCaption(i, "");
        Save(list);
    }
    return removed;
}

void Favorites::ToggleAll(FavoritesList list) { List(list).ToggleSelectAll(); }

void Favorites::SortByColumn(FavoritesList list, int column) {
    ResultListModel &m = List(list);
    if (m.Count() == 0) return;
    m.SortByColumn(column, ResultListModel::SortMode::Text);
    if (list == FavoritesList::Daily)
        for (int i = 0; i < m.Count(); ++i) m.SetCaption(i, "");
    Save(list);
}

std::string Favorites::Header(FavoritesList list) const {
    return List(list).CountHeaderText().toStdString();
}

std::string Favorites::Hint(FavoritesList list) const {
    switch (list) {
    case FavoritesList::Web: return List(list).HintText(kDescription);
    case FavoritesList::News: return List(list).HintText(kNewsDescription);
    case FavoritesList::Software: return List(list).HintText(kPrgDescription);
    case FavoritesList::Daily: return {};
    }
    return {};
}

std::string Favorites::Title(FavoritesList list) const { return Text(FavoritesTitle(list)); }

bool Favorites::Perform(FavoritesList list, FavoriteAction action) {
    const ResultListModel &m = List(list);
    const int row = m.FirstSelectedRow();
    if (row < 0) return false;
    const FavoriteTarget t = FavoriteAddress(list, m.Row(row), action);
    if (t.address.empty()) return false;
    if (t.viaDetail) {
        if (host_.requestDetail) host_.requestDetail(t.address, t.detail);
    } else if (action == FavoriteAction::Cut) {
        if (host_.copy) host_.copy(t.address);
    } else if (host_.open) {
        host_.open(t.address);
    }
    return true;
}

}  // namespace qm
