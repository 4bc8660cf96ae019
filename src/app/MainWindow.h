#pragma once
// TMain: the one window that hosts every page. Its state and logic live in ShellModel;
// this class binds the widgets to it and runs the show, activate, key, timer, close and
// destroy sequences.
#include "app/KeyPreview.h"
#include "app/Dialogs.h"
#include "app/ShellModel.h"
#include "settings/Opt.h"
#include "toolkit/History.h"
#include "toolkit/Misc.h"

#include <QMainWindow>

#include <array>
#include <memory>
#include <string>
#include <vector>

class QComboBox;
class QLabel;
class QMenu;
class QProgressBar;
class QPushButton;
class QStackedWidget;
class QTimer;
class QToolButton;

namespace qm {

class DebugPage;
class FeaturePage;
class SideBar;
class WebPage;

// A query box's widget and its history data: the edit text and the entries, both ways.
// Filling the widget passes nothing through it as if typed, and leaves no entry current.
void BoxToHistory(const QComboBox &box, HistoryBox &history);
void HistoryToBox(const HistoryBox &history, QComboBox &box);

class TMain : public QMainWindow {
    Q_OBJECT
public:
    explicit TMain(ProgramDirs dirs, QWidget *parent = nullptr);
    ~TMain() override;

    ShellModel &Model() { return model_; }
    const ShellModel &Model() const { return model_; }
    ShellHooks &Hooks() { return model_.hooks; }
    // The program's settings (loaded by CreateOptionsWindow, written at destroy).
    OptionsHolder &OptionsModel() { return *options_; }
    // The text toolkit object of the run.
    TMisc &Misc() { return *misc_; }
    // The eight query boxes' histories; the web box's widget is synced at load and save.
    Histories &QueryHistories() { return histories_; }
    DataFolders Folders() const { return DataFolders{model_.dirs.ProgramDir}; }
    // Copies the web query box's widget into its history data, and back.
    void WebBoxToHistory();
    void HistoryToWebBox();
    // Takes the shell's settings and the side-bar colours from the options.
    void ApplyOptions(const Options &opt);

    // Parameters of the command line that are not the program's own options.
    void SetCommandLine(std::vector<std::string> params) { commandLine_ = std::move(params); }

    // --- Pages ---
    void ShowPage(PageId page);            // activates a page as the side bar or a key would
    void ShowStartPage(int position);      // the page of a side-bar position, as a click
    PageId CurrentPage() const;
    FeaturePage *Page(PageId page) const;
    WebPage *Web() const { return web_; }
    DebugPage *Debug() const { return debug_; }

    // Enter in the web query box: a running search is stopped, then a new one starts.
    void SearchAfresh();

    // --- Shared services ---
    void ShowAlert(const std::string &text, AlertKind kind);
    bool AskConfirm();
    void OpenInBrowser(const std::string &address);

    // --- Controls ---
    SideBar *SideBarList() const { return sideBar_; }
    QPushButton *FavoritesButton() const { return favoritesButton_; }
    QPushButton *SettingsButton() const { return settingsButton_; }
    QToolButton *HelpButton() const { return helpButton_; }
    QMenu *HelpMenu() const { return helpMenu_; }
    QStackedWidget *Pages() const { return pages_; }
    QLabel *StatusText() const { return statusText_; }   // status panel 0
    QProgressBar *Gauge() const { return gauge_; }       // status panel 1
    QLabel *SearchStatus() const { return searchStatus_; }  // status panel 2: what a search does
    // While a search runs, the gauge shows `done` of `total` engines instead of moving by
    // itself; a total of 0 gives it back to the activity flags.
    void SetGaugeProgress(int done, int total);
    QWidget *Banner() const { return banner_; }
    QLabel *BannerImage() const { return bannerImage_; }
    QLabel *Slogan() const { return slogan_; }
    QTimer *Timer() const { return timer_; }

    // One tick of the housekeeping timer (the timer calls it every 1000 ms).
    void HousekeepingTick();

    // The destroy sequence (options written, features released); runs once, at the latest
    // from the destructor.
    void Destroy();

protected:
    void showEvent(QShowEvent *event) override;
    void closeEvent(QCloseEvent *event) override;
    void changeEvent(QEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void BuildWidgets();
    void OnFirstShow();
    void OnFirstActivate();
    void ApplyCommandLine();
    bool OnKeyUp(int key);
    void OnHelpText(HelpPanel panel, const std::string &text);
    void OnGauge(bool busy);

    ShellModel model_;
    std::unique_ptr<TMisc> misc_;
    OptionsHolder *options_ = nullptr;
    Histories histories_;
    std::vector<std::string> commandLine_;
    bool shown_ = false, activated_ = false, destroyed_ = false, inTick_ = false;
    KeyPreview keys_;

    SideBar *sideBar_ = nullptr;
    QPushButton *favoritesButton_ = nullptr;
    QPushButton *settingsButton_ = nullptr;
    QToolButton *helpButton_ = nullptr;
    QMenu *helpMenu_ = nullptr;
    QStackedWidget *pages_ = nullptr;
    std::array<FeaturePage *, kPageCount> pageWidgets_{};
    WebPage *web_ = nullptr;
    DebugPage *debug_ = nullptr;
    QLabel *statusText_ = nullptr;
    QLabel *searchStatus_ = nullptr;
    int progressDone_ = 0, progressTotal_ = 0;
    QProgressBar *gauge_ = nullptr;
    QWidget *banner_ = nullptr;
    QLabel *bannerImage_ = nullptr;
    QLabel *slogan_ = nullptr;
    QTimer *timer_ = nullptr;
};

}  // namespace qm
