#pragma once
// The web page's list tools, bound to its widgets: the in-list filter bar, the result
// page export (view all, view selected, save), the verification of the selected sites,
// the cache recall of the query box, and the list's popup menu.
//
// The window attaches them once the page's result list shows its ResultListModel.
#include <QObject>

#include <functional>
#include <memory>
#include <string>

class QAction;
class QMenu;

namespace qm {

class ResultListModel;
class THttpCli;
class UrlVerification;
class WebPage;

struct WebListToolsHost {
    std::function<std::string()> dataRoot;                 // pictures in "/GFX", caches in "/Cache"
    std::function<std::string(const char *english)> text;  // message table (English default)
    std::function<void(const std::string &)> alert;        // ShowAlert, kind 0
    std::function<void(const std::string &)> inform;       // information box
    std::function<void(const std::string &)> openInBrowser;
    std::function<void(THttpCli &)> configureClient;       // proxy settings of the checkers
    // The main window's `verifying` flag (and the search controller's copy of it).
    std::function<void(bool)> setVerifying;
    // The web search: running, and ending it (it writes its own cache).
    std::function<bool()> searching;
    std::function<void()> endSearch;
    std::function<int()> cacheMode;  // $WEB_CacheMode
    // The save dialog: the chosen file, or empty when cancelled (tests replace it).
    std::function<std::string(const std::string &startDir)> askSaveFile;
};

class WebListTools : public QObject {
    Q_OBJECT
public:
    WebListTools(WebPage &page, ResultListModel &list, WebListToolsHost host);
    ~WebListTools() override;

    // Filter bar.
    void RunFilter();
    void MoveMatchesToTop();
    // Popup items. OpenSelected is also the list's double-click and Enter: it hands the
    // browser only addresses that pass IsSafeToOpen.
    void OpenSelected();
    bool ViewAsWebPage(bool selectedOnly);  // "View all ..." / "View selected site(s) ..."
    void SaveToFile();                      // "Save site(s) to a file"
    void Verify();                          // "Verify if selected site(s) still open"
    // The query box changed or was clicked.
    void RecallCache(const std::string &boxText);

    UrlVerification &Verification() { return *verification_; }
    QMenu *Popup() const { return popup_; }
    // The popup's items, for features that bind their own ("Add selection to my favorites").
    QAction *OpenAction() const { return open_; }
    QAction *CutAction() const { return cut_; }
    QAction *FavoritesAction() const { return favorites_; }

private:
    std::string Text(const char *english) const;
    std::string CacheDir() const;

    WebPage &page_;
    ResultListModel &list_;
    WebListToolsHost host_;
    std::unique_ptr<UrlVerification> verification_;
    QMenu *popup_ = nullptr;
    QAction *open_ = nullptr, *cut_ = nullptr, *favorites_ = nullptr;
    std::string saveDir_;
    int normalWidth_ = -1;  // column 0's width before the first verification widened it
};

}  // namespace qm
