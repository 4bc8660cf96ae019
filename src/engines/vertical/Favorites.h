#pragma once
// The user's favorites: four lists (web sites, newsgroup articles, software titles, daily
// news) kept in the favorites files of the cache folder. No display: the favorites page and
// quillmar-cli drive the same model.
//
// The lists are read at show and written at close; every add, removal and sort also writes
// the list changed, atomically, so a crash loses nothing the user added. A file that exists
// but cannot be read is reported and left alone for the rest of the run.
#include "engines/vertical/VerticalFeatures.h"
#include "search/ResultListModel.h"
#include "toolkit/ListFile.h"

#include <QObject>
#include <array>
#include <functional>
#include <string>
#include <vector>

namespace qm {

enum class FavoritesList { Web = 0, News = 1, Software = 2, Daily = 3 };
inline constexpr int kFavoritesLists = 4;

// "web", "news", "software", "daily"; false for another name.
bool FavoritesListByName(const std::string &name, FavoritesList &list);
const char *FavoritesListName(FavoritesList list);
RecordKind FavoritesRecordKind(FavoritesList list);
// "My Favorites : WEB sites" ... (English; the message table translates).
const char *FavoritesTitle(FavoritesList list);

// The actions of the lists that open or copy an address.
enum class FavoriteAction {
    View,      // "View", double click, Enter
    Open,      // "Open selected site"
    Cut,       // "Cut (Send to clipboard)"
    Download,  // software: "Download"
    Visit,     // software: "Vist the author's site"
};

// Where an action on a row leads.
struct FavoriteTarget {
    std::string address;      // what is opened or copied; empty when nothing
    bool viaDetail = false;   // a C|NET row: `address` is the detail page to read first
    DetailAction detail = DetailAction::Download;
};
// The address rule of each list (web: View takes the Location, Open and Cut the URL else
// the Location; news: the Address; software and daily: the URL; software Download and
// Visit: URL and HomePage, through the detail page for a "C|NET" row). An address that is
// not safe to open counts as none.
FavoriteTarget FavoriteAddress(FavoritesList list, const ResultRow &row, FavoriteAction action);

class Favorites : public QObject {
public:
    struct Host {
        std::function<std::string()> cacheFolder;                   // the data root's "Cache"
        std::function<bool()> confirm;                               // "Are you sure?" (Yes/No)
        std::function<void(const std::string &message)> alert;
        std::function<std::string(const std::string &english)> message;  // message table
        std::function<void(const std::string &address)> open;        // OpenInBrowser / download
        std::function<void(const std::string &text)> copy;           // clipboard
        // The detail-page client of the software search (a C|NET Download or Visit).
        std::function<void(const std::string &address, DetailAction action)> requestDetail;
    };
    explicit Favorites(Host host, QObject *parent = nullptr);

    ResultListModel &List(FavoritesList list) { return *lists_[size_t(list)]; }
    const ResultListModel &List(FavoritesList list) const { return *lists_[size_t(list)]; }

    // Reads the four files (a missing file leaves its list empty). False when some file
    // exists but could not be read: it is reported and not overwritten in this run.
    bool Load();
    // Writes the four lists. False when some list could not be written.
    bool Save();
    bool Save(FavoritesList list);
    bool Locked(FavoritesList list) const { return locked_[size_t(list)]; }

    // Appends copies of the rows (caption, image, sub-items; in the given order), numbered
    // on; no duplicate test. Notices (a row without number or address) are never added.
    // Returns the number of rows added; the list is written when it changed.
    int AddRows(FavoritesList list, const std::vector<ResultRow> &rows);
    // The selected rows of a result list, in list order.
    int AddSelection(FavoritesList list, const ResultListModel &from);

    // Deletes the selected rows after "Are you sure?" and renumbers; true when rows went.
    bool RemoveSelected(FavoritesList list);
    void ToggleAll(FavoritesList list);
    // Sorts by a column (1-based sub-item column) as text, then renumbers; writes the list.
    void SortByColumn(FavoritesList list, int column);

    // The header of column 1, as the list shows it: "Site" / "1 Site" / "n Sites" (news:
    // "Articles" when empty), words from the message table.
    std::string Header(FavoritesList list) const;
    // The hint memo: the first selected row's Description; empty without one.
    std::string Hint(FavoritesList list) const;
    std::string Title(FavoritesList list) const;

    // Runs an action on the first selected row: opens, copies, or asks the detail page.
    // False when there was nothing to do (no selection, or no address to open).
    bool Perform(FavoritesList list, FavoriteAction action);

private:
    std::string Text(const char *english) const;

    Host host_;
    std::array<ResultListModel *, kFavoritesLists> lists_{};
    std::array<bool, kFavoritesLists> locked_{};
};

}  // namespace qm
