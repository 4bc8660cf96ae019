// The real main window, offscreen: side bar, function keys, start page, command line,
// gauge, close sequence, browser fallback and layout at two screen sizes.
#include "app/Browser.h"
#include "app/FeatureBindings.h"
#include "app/MainWindow.h"
#include "app/Pages.h"
#include "app/SideBar.h"
#include "app/WebPage.h"

#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QHeaderView>
#include <QTreeView>
#include <QStackedWidget>
#include <QStatusBar>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QToolButton>
#include <QAction>

#include <gtest/gtest.h>

#include <memory>

using namespace qm;

namespace {

struct Alert {
    std::string text;
    AlertKind kind;
};

class MainWindowTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(tmp_.isValid());
        AlertHandlerSlot() = [this](QWidget *, const std::string &t, AlertKind k) { alerts.push_back({t, k}); };
        ConfirmHandlerSlot() = [this](QWidget *, const std::string &) { return confirmAnswer; };
    }
    void TearDown() override {
        window.reset();
        AlertHandlerSlot() = nullptr;
        ConfirmHandlerSlot() = nullptr;
        BrowserRunnerSlot() = nullptr;
    }

    // The window, not shown yet; its timer is stopped so that tests tick by hand.
    TMain &Make() {
        window = std::make_unique<TMain>(ProgramDirs::FromRoot(tmp_.path().toStdString()));
        window->Timer()->stop();
        return *window;
    }
    TMain &Shown(int w = 1024, int h = 768) {
        TMain &m = window ? *window : Make();
        m.resize(w, h);
        m.show();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(&m));
        return m;
    }
    void ClickSideBar(int position) {
        SideBar *bar = window->SideBarList();
        QRect r = bar->visualItemRect(bar->item(position));
        QTest::mouseClick(bar->viewport(), Qt::LeftButton, {}, r.center());
    }

    QTemporaryDir tmp_;
    std::unique_ptr<TMain> window;
    std::vector<Alert> alerts;
    bool confirmAnswer = true;
};

}  // namespace

TEST_F(MainWindowTest, TitleStatusAndStartPage) {
    TMain &m = Shown();
    EXPECT_EQ(m.windowTitle(), "Quillmar v1.22 ");
    EXPECT_EQ(m.StatusText()->text(), "Quillmar v1.22 ");
    // Default start-page option 2: the web page, highlighted in the side bar.
    EXPECT_EQ(m.CurrentPage(), PageId::Web);
    EXPECT_EQ(m.SideBarList()->currentRow(), 2);
    EXPECT_TRUE(m.SideBarList()->item(2)->isSelected());
    // The folders exist after the show.
    for (const auto &d : m.Model().dirs.FoldersToCreate()) EXPECT_TRUE(QDir(QString::fromStdString(d)).exists()) << d;
    // The web page's help starts at its first text.
    EXPECT_EQ(m.Web()->HelpPanel()->text().toStdString(), AutoHelp::DefaultList(HelpPanel::Web)[0]);
    EXPECT_EQ(m.Slogan()->text(), "Quillmar : The easy way to search what you want");
    // The search-mode menu: four exclusive items, "All Keywords" at start; the button names it.
    WebPage *web = m.Web();
    EXPECT_TRUE(web->ModeAction(0)->isChecked());
    EXPECT_EQ(web->ModeButton()->text(), "All Keywords");
    web->ModeAction(2)->trigger();
    EXPECT_FALSE(web->ModeAction(0)->isChecked());
    EXPECT_EQ(web->ModeButton()->text(), "Exact phrase");
    // The filter bar waits for results.
    EXPECT_FALSE(web->FilterBar()->isVisible());
    EXPECT_TRUE(web->FilterModeAction(0)->isChecked());
}

TEST_F(MainWindowTest, StartPageOptionPicksTheEntryOrTheSmartFinder) {
    Make().Model().options.startupTab = 9;
    EXPECT_EQ(Shown().CurrentPage(), PageId::Units);
    EXPECT_EQ(window->SideBarList()->currentRow(), 9);
    window.reset();
    Make().Model().options.startupTab = 7;  // a separator
    EXPECT_EQ(Shown().CurrentPage(), PageId::Smart);
    EXPECT_EQ(window->SideBarList()->currentRow(), 0);
}

TEST_F(MainWindowTest, SideBarClicksShowPagesAndSeparatorsChangeNothing) {
    TMain &m = Shown();
    m.Model().autoHelp.SetList(HelpPanel::News, {"news one", "0", "news two", "0"});
    for (int pos = 0; pos < kSideBarCount; ++pos) {
        m.ShowPage(PageId::Road);
        ClickSideBar(pos);
        PageId expected = PageAtSideBar(pos);
        if (expected == PageId::None) {
            EXPECT_EQ(m.CurrentPage(), PageId::Road) << pos;
            EXPECT_EQ(m.SideBarList()->currentRow(), SideBarPositionOf(PageId::Road)) << pos;
        } else {
            EXPECT_EQ(m.CurrentPage(), expected) << pos;
            EXPECT_EQ(m.SideBarList()->currentRow(), pos) << pos;
            EXPECT_EQ(m.Pages()->currentWidget(), m.Page(expected));
        }
    }
    // A click restarts the page's help at its first text.
    ClickSideBar(3);
    m.Model().Tick();
    EXPECT_EQ(m.Page(PageId::News)->HelpPanel()->text(), "news two");
    ClickSideBar(4);
    ClickSideBar(3);
    EXPECT_EQ(m.Page(PageId::News)->HelpPanel()->text(), "news one");
    // The web entry puts the keyboard focus into the query box.
    ClickSideBar(0);
    ClickSideBar(2);
    QWidget *focus = m.focusWidget();
    EXPECT_TRUE(focus == m.Web()->QueryBox() || focus == m.Web()->QueryBox()->lineEdit());
}

TEST_F(MainWindowTest, FunctionKeysOnKeyUp) {
    TMain &m = Shown();
    int optionsPage = -1;
    m.Hooks().showOptionsWindow = [&](int page) { optionsPage = page; };
    struct Key {
        Qt::Key key;
        PageId page;
    } keys[] = {{Qt::Key_F6, PageId::News},      {Qt::Key_F7, PageId::DailyNews},
                {Qt::Key_F8, PageId::Catalogue}, {Qt::Key_F9, PageId::Software},
                {Qt::Key_F10, PageId::NetKit},   {Qt::Key_F11, PageId::Domain},
                {Qt::Key_F5, PageId::Web}};
    for (const auto &k : keys) {
        QWidget *target = m.focusWidget() ? m.focusWidget() : &m;
        QTest::keyClick(target, k.key);
        EXPECT_EQ(m.CurrentPage(), k.page) << k.key;
        EXPECT_EQ(m.SideBarList()->currentRow(), SideBarPositionOf(k.page));
    }
    // A key press alone does nothing: the page changes on release.
    m.ShowPage(PageId::Units);
    QTest::keyPress(m.focusWidget() ? m.focusWidget() : &m, Qt::Key_F6);
    EXPECT_EQ(m.CurrentPage(), PageId::Units);
    QTest::keyRelease(m.focusWidget() ? m.focusWidget() : &m, Qt::Key_F6);
    EXPECT_EQ(m.CurrentPage(), PageId::News);
    QTest::keyClick(&m, Qt::Key_F12);
    EXPECT_EQ(optionsPage, 0);
    EXPECT_EQ(m.CurrentPage(), PageId::News);
    // Other keys change nothing.
    QTest::keyClick(&m, Qt::Key_F4);
    EXPECT_EQ(m.CurrentPage(), PageId::News);
}

TEST_F(MainWindowTest, FavoritesSettingsAndHiddenDebugPage) {
    TMain &m = Shown();
    int optionsPage = -1;
    m.Hooks().showOptionsWindow = [&](int page) { optionsPage = page; };
    QTest::mouseClick(m.FavoritesButton(), Qt::LeftButton);
    EXPECT_EQ(m.CurrentPage(), PageId::Favorites);
    EXPECT_EQ(m.SideBarList()->currentRow(), -1);
    QTest::mouseClick(m.SettingsButton(), Qt::LeftButton);
    EXPECT_EQ(optionsPage, 0);
    EXPECT_EQ(m.CurrentPage(), PageId::Favorites);
    QTest::mouseClick(m.SettingsButton(), Qt::RightButton);
    EXPECT_EQ(m.CurrentPage(), PageId::Debug);
    EXPECT_TRUE(m.Debug()->Memo()->isReadOnly());
    EXPECT_TRUE(m.Debug()->Memo()->toPlainText().isEmpty());
}

TEST_F(MainWindowTest, CommandLineQueryStartsTheWebSearch) {
    struct Case {
        std::vector<std::string> params;
        bool running;
        std::string box;
        int presses;
    } cases[] = {
        {{"quillmar:?Query=linux"}, false, "linux", 1},
        {{"quillmar:?Query=free", "software"}, false, "free software", 1},
        {{"quillmar:?Query=again"}, true, "again", 2},  // a running search is stopped first
    };
    for (const auto &c : cases) {
        window.reset();
        TMain &m = Make();
        m.Model().options.startupTab = 9;
        m.SetCommandLine(c.params);
        int presses = 0;
        std::string boxAtPress;
        m.Hooks().pressWebSearch = [&] {
            ++presses;
            boxAtPress = m.Web()->QueryBox()->currentText().toStdString();
            m.Model().searching() = !m.Model().searching();
        };
        m.Model().searching() = c.running;
        Shown();
        EXPECT_EQ(m.Web()->QueryBox()->currentText().toStdString(), c.box);
        EXPECT_EQ(boxAtPress, c.box);
        EXPECT_EQ(presses, c.presses);
        EXPECT_EQ(m.CurrentPage(), PageId::Web);
        EXPECT_TRUE(m.Model().searching());
    }
    // The search button presses once; Enter in the box during a search stops it and starts anew.
    {
        TMain &m = *window;
        int presses = 0;
        m.Hooks().pressWebSearch = [&] {
            ++presses;
            m.Model().searching() = !m.Model().searching();
        };
        m.Model().searching() = 0;
        QTest::mouseClick(m.Web()->SearchButton(), Qt::LeftButton);
        EXPECT_EQ(presses, 1);
        QTest::keyClick(m.Web()->QueryBox()->lineEdit(), Qt::Key_Return);
        EXPECT_EQ(presses, 3);
        EXPECT_TRUE(m.Model().searching());
        // Typed keys reach the focused combo box itself, not its line edit.
        QTest::keyClick(m.Web()->QueryBox(), Qt::Key_Return);
        EXPECT_EQ(presses, 5);
        EXPECT_TRUE(m.Model().searching());
        m.Model().searching() = 0;
        QTest::keyClick(m.Web()->QueryBox(), Qt::Key_Enter);
        EXPECT_EQ(presses, 6);
    }
    // Without parameters the box keeps what the histories restored and nothing starts.
    window.reset();
    TMain &m = Make();
    int presses = 0;
    m.Hooks().pressWebSearch = [&] { ++presses; };
    m.Hooks().loadHistoriesAndFavorites = [&] { m.Web()->QueryBox()->setEditText("restored"); };
    Shown();
    EXPECT_EQ(presses, 0);
    EXPECT_EQ(m.Web()->QueryBox()->currentText(), "restored");
}

TEST_F(MainWindowTest, GaugeFollowsTheActivityFlags) {
    TMain &m = Shown();
    EXPECT_FALSE(m.Gauge()->isEnabled());
    m.Model().Flag(Activity::DailyNewsUpdate) = 1;
    m.HousekeepingTick();
    EXPECT_TRUE(m.Gauge()->isEnabled());
    EXPECT_EQ(m.Gauge()->maximum(), 0);  // indeterminate
    m.Model().searching() = 1;
    m.Model().Flag(Activity::DailyNewsUpdate) = 0;
    m.HousekeepingTick();
    EXPECT_TRUE(m.Gauge()->isEnabled());
    m.Model().searching() = 0;
    m.HousekeepingTick();
    EXPECT_FALSE(m.Gauge()->isEnabled());
    EXPECT_EQ(m.Gauge()->maximum(), 1);
    EXPECT_EQ(m.Model().TickCount, 3);
}

TEST_F(MainWindowTest, CloseDuringActivityEndsSearchesOnceAndSavesEverything) {
    TMain &m = Shown();
    std::vector<std::string> steps;
    auto &h = m.Hooks();
    h.saveHistories = [&] { steps.push_back("histories"); };
    h.endWebSearch = [&] {
        EXPECT_TRUE(m.Model().closing);
        steps.push_back("web");
        m.Model().searching() = 0;
    };
    h.endNewsSearch = [&] { steps.push_back("news"); };
    h.endCatalogueUpdate = [&] { steps.push_back("catalogue"); };
    h.saveFavorites = [&] { steps.push_back("favorites"); };
    h.purgeHistoriesAndCaches = [&] { steps.push_back("purge"); };
    h.abortBanner = [&] { steps.push_back("banner"); };
    h.saveOptions = [&] { steps.push_back("options"); };
    h.releaseFeatures = [&] { steps.push_back("release"); };
    m.Model().searching() = 1;
    m.Model().Flag(Activity::CatalogueUpdate) = 1;
    EXPECT_TRUE(m.close());
    EXPECT_EQ(m.Model().closing, 1);
    EXPECT_EQ(steps, (std::vector<std::string>{"histories", "web", "catalogue", "favorites", "purge", "banner"}));
    EXPECT_FALSE(m.Timer()->isActive());
    // A second close request does not run the sequence again.
    m.show();
    m.close();
    EXPECT_EQ(steps.size(), 6u);
    // The destroy sequence writes the options once, even when the destructor runs later.
    m.Destroy();
    window.reset();
    EXPECT_EQ(steps, (std::vector<std::string>{"histories", "web", "catalogue", "favorites", "purge", "banner",
                                               "options", "release"}));
}

TEST_F(MainWindowTest, BrowserAlertsAndConfirmation) {
    TMain &m = Shown();
    std::vector<BrowserPlan> runs;
    BrowserRunnerSlot() = [&](const BrowserPlan &p) {
        runs.push_back(p);
        return true;
    };
    int optionsPage = -1;
    m.Hooks().showOptionsWindow = [&](int page) { optionsPage = page; };
    m.OpenInBrowser("http://www.site.example/");
    ASSERT_EQ(runs.size(), 1u);
    EXPECT_EQ(runs[0].kind, BrowserPlan::OpenWithDesktop);
    m.Model().options.defaultNavigator = false;
    m.Model().options.externalNavigator = "/no/such/browser";
    m.OpenInBrowser("http://www.site.example/");
    EXPECT_EQ(runs.size(), 1u);
    ASSERT_EQ(alerts.size(), 1u);
    EXPECT_EQ(alerts[0].kind, AlertKind::Error);
    EXPECT_EQ(alerts[0].text.rfind("The specified navigator can't be found.", 0), 0u);
    EXPECT_EQ(optionsPage, 4);

    confirmAnswer = false;
    EXPECT_FALSE(m.AskConfirm());
    EXPECT_FALSE(ConfirmAction());
    confirmAnswer = true;
    EXPECT_TRUE(m.AskConfirm());
    // The help menu's About falls back to an information alert without a front-page picture.
    m.HelpMenu()->actions().at(0)->trigger();
    ASSERT_EQ(alerts.size(), 2u);
    EXPECT_EQ(alerts[1].kind, AlertKind::Information);
    m.HelpMenu()->actions().at(1)->trigger();
    ASSERT_EQ(runs.size(), 1u);  // the external browser is still missing

    // A desktop without a browser for the address: the user is told, nothing is left silent.
    m.Model().options.defaultNavigator = true;
    BrowserRunnerSlot() = [&](const BrowserPlan &p) {
        runs.push_back(p);
        return false;
    };
    const size_t before = alerts.size();
    m.OpenInBrowser("http://www.site.example/page");
    ASSERT_EQ(runs.size(), 2u);
    ASSERT_EQ(alerts.size(), before + 1);
    EXPECT_EQ(alerts.back().kind, AlertKind::Error);
    EXPECT_NE(alerts.back().text.find("http://www.site.example/page"), std::string::npos);
}

TEST_F(MainWindowTest, LayoutStaysOrderlyAtTwoScreenSizes) {
    const char *shots = std::getenv("QUILLMAR_SCREENSHOTS");
    for (QSize size : {QSize(1024, 768), QSize(1920, 1080), QSize(0, 0)}) {
        window.reset();
        TMain &m = Shown(size.width(), size.height());  // 0 x 0: the smallest size allowed
        if (size.isEmpty()) size = m.minimumSize();
        // Wait until the layout has settled: the window has its size and the result
        // list's columns are spread over the list.
        QTreeView *view = m.Web()->ResultList();
        auto settled = [&] {
            return m.size() == size && view->header()->length() == view->viewport()->width() &&
                   view->columnWidth(WebPage::ColLocation) >= 155;
        };
        QCoreApplication::processEvents();
        for (int i = 0; i < 500 && !settled(); ++i) QTest::qWait(10);
        EXPECT_EQ(m.size(), size);
        EXPECT_EQ(m.Banner()->height(), 76);
        EXPECT_EQ(m.StatusText()->width(), 130);
        EXPECT_EQ(m.Gauge()->width(), 320);
        // The side bar fills its panel's width.
        EXPECT_EQ(m.SideBarList()->width(), m.SideBarList()->parentWidget()->width());
        // Search bar and slogan are horizontally centred.
        QWidget *bar = m.Web()->SearchBar();
        int left = bar->x(), right = bar->parentWidget()->width() - bar->x() - bar->width();
        EXPECT_LE(std::abs(left - right), 1) << size.width();
        QRect slogan = m.Slogan()->geometry();
        int sl = slogan.left(), sr = m.Banner()->width() - slogan.right() - 1;
        EXPECT_LE(std::abs(sl - sr), 1);
        // The search bar's controls do not overlap.
        QWidget *previous = nullptr;
        for (QWidget *w : bar->findChildren<QWidget *>(QString(), Qt::FindDirectChildrenOnly)) {
            if (!w->isVisible()) continue;
            if (previous) EXPECT_LT(previous->geometry().right(), w->geometry().left()) << w->objectName().toStdString();
            previous = w;
        }
        // The result list's columns fill its width; "Location" takes a third of the room
        // (never less than its normal width), "Site" stays the widest.
        QTreeView *list = m.Web()->ResultList();
        const int location = list->columnWidth(WebPage::ColLocation);
        EXPECT_GE(location, 155);
        EXPECT_GE(location, (list->viewport()->width() - 34 - 85) / 3 - 1) << size.width();
        EXPECT_GT(list->columnWidth(WebPage::ColSite), location) << size.width();
        EXPECT_EQ(list->header()->length(), list->viewport()->width()) << size.width();
        // Every side-bar entry is visible without scrolling.
        QRect last = m.SideBarList()->visualItemRect(m.SideBarList()->item(kSideBarCount - 1));
        EXPECT_LE(last.bottom(), m.SideBarList()->viewport()->height());
        if (shots) {
            for (PageId p : {PageId::Web, PageId::Smart, PageId::Debug}) {
                m.ShowPage(p);
                if (p == PageId::Web) {
                    m.Web()->FilterBar()->show();
                    m.Model().Flag(Activity::NewsSearch) = 1;
                    m.Model().Tick();
                }
                QTest::qWait(20);
                m.grab().save(QString("%1/main-%2x%3-%4.png").arg(shots).arg(size.width()).arg(size.height())
                                  .arg(PageName(p)).replace(' ', '_'));
            }
        }
    }
}

TEST_F(MainWindowTest, RestoredWebHistoryShowsItsOwnTextAndArrowsStartAtTheLatestQuery) {
    TMain &m = Make();
    QComboBox *box = m.Web()->QueryBox();
    std::vector<QString> seen;
    QObject::connect(box, &QComboBox::editTextChanged, [&](const QString &t) { seen.push_back(t); });
    m.QueryHistories().web = {" ", {"open source", "free software"}};
    m.HistoryToWebBox();
    EXPECT_EQ(box->currentText(), " ");
    EXPECT_EQ(box->count(), 2);
    // Only the box's own text went by: no older query was shown on the way.
    EXPECT_EQ(seen, std::vector<QString>{" "});
    QTest::keyClick(box, Qt::Key_Down);
    EXPECT_EQ(box->currentText(), "open source");
    QTest::keyClick(box, Qt::Key_Down);
    EXPECT_EQ(box->currentText(), "free software");
}

TEST_F(MainWindowTest, ClosingLeavesHistoriesAndOptionsOnDisk) {
    QString root = tmp_.path();
    QDir().mkpath(root + "/Options");
    {
        QFile f(root + "/Options/Configuration.ini");
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write("$StartupTAB\t\t=9\r\n$DisablePanelHelp\t=\tYES\r\n");
    }
    TMain &m = Make();
    CreateOptionsWindow(m);
    EXPECT_EQ(m.Model().options.startupTab, 9);
    EXPECT_TRUE(m.Model().options.disablePanelHelp);
    Shown();
    EXPECT_EQ(m.CurrentPage(), PageId::Units);
    // A search start pushes the query onto the box's history.
    m.Web()->QueryBox()->setEditText("first query");
    m.WebBoxToHistory();
    TMisc::PushHistory(m.QueryHistories().web);
    m.HistoryToWebBox();
    m.Web()->QueryBox()->setEditText("typed, never searched");
    m.close();
    m.Destroy();
    window.reset();
    EXPECT_TRUE(QFile::exists(root + "/Options/ComboBox_WEB.INI"));
    QFile options(root + "/Options/Configuration.ini");
    ASSERT_TRUE(options.open(QIODevice::ReadOnly));
    QByteArray text = options.readAll();
    EXPECT_TRUE(text.contains("$StartupTAB")) << text.constData();
    EXPECT_TRUE(text.contains("$WindowTX")) << text.constData();

    // The next run finds the query in the web box's history.
    TMain &again = Make();
    CreateOptionsWindow(again);
    Shown();
    QComboBox *box = again.Web()->QueryBox();
    EXPECT_GE(box->findText("first query"), 0);
    EXPECT_LT(box->findText("typed, never searched"), 0);
}
