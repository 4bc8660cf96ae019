// The options window in the real main window, offscreen, with its dialogs replaced: how it
// opens, the rules of every page, the cache page on real files, the colour models, the
// language choice and the options file written by its close.
#include "app/Dialogs.h"
#include "app/FeatureBindings.h"
#include "app/MainWindow.h"
#include "app/OptionsWindow.h"
#include "app/Pages.h"
#include "app/WebPage.h"
#include "settings/DataRoot.h"
#include "toolkit/AtomicFile.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QStackedWidget>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QToolButton>
#include <QTreeWidget>

#include <gtest/gtest.h>

#include <filesystem>
#include <memory>

using namespace qm;

namespace {

class OptionsWindowTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(tmp_.isValid());
        root_ = tmp_.path().toStdString();
        ASSERT_TRUE(PrepareDataRoot(DataRoot(root_)));  // the bundled English and French files
        ConfirmHandlerSlot() = [this](QWidget *, const std::string &) {
            ++confirms;
            return answer;
        };
        AlertHandlerSlot() = [](QWidget *, const std::string &, AlertKind) {};
    }
    void TearDown() override {
        window.reset();
        ConfirmHandlerSlot() = nullptr;
        AlertHandlerSlot() = nullptr;
        ProgramDialogSlot() = nullptr;
        ColorDialogSlot() = nullptr;
    }
    TMain &Open() {
        window = std::make_unique<TMain>(ProgramDirs::FromRoot(root_));
        window->Timer()->stop();
        CreateOptionsWindow(*window);
        opt = window->findChild<TMainOPT *>("TMainOPT");
        EXPECT_NE(opt, nullptr);
        return *window;
    }
    // Runs a hook that opens the window modally; the window closes as soon as it is shown.
    void OpenModallyThenClose(const std::function<void()> &open) {
        struct Closer : QObject {
            bool eventFilter(QObject *o, QEvent *e) override {
                if (e->type() == QEvent::Show) QMetaObject::invokeMethod(o, "accept", Qt::QueuedConnection);
                return false;
            }
        } closer;
        opt->installEventFilter(&closer);
        open();
        opt->removeEventFilter(&closer);
    }
    std::string File(const std::string &relative) { return root_ + "/" + relative; }

    QTemporaryDir tmp_;
    std::string root_;
    std::unique_ptr<TMain> window;
    TMainOPT *opt = nullptr;
    int confirms = 0;
    bool answer = true;
};

}  // namespace

TEST_F(OptionsWindowTest, OpeningsPagesAndTheFileWrittenOnClose) {
    TMain &m = Open();
    // The ping tool first: the miscellaneous page; the button's first opening still shows search.
    OpenModallyThenClose([&] { RunHook(m.Hooks().showOptionsWindow, 3); });
    EXPECT_EQ(opt->CurrentPage(), OptionsPage::Misc);
    OpenModallyThenClose([&] { m.SettingsButton()->click(); });
    EXPECT_EQ(opt->CurrentPage(), OptionsPage::Search);
    EXPECT_EQ(opt->TitlePanel()->text(), "Search settings");
    opt->PageList()->setCurrentRow(1);  // page list click
    EXPECT_EQ(opt->Pages()->currentIndex(), 1);
    EXPECT_EQ(opt->TitlePanel()->text(), "Proxy settings");
    OpenModallyThenClose([&] { QTest::keyClick(&m, Qt::Key_F12); });
    EXPECT_EQ(opt->CurrentPage(), OptionsPage::Proxy);  // later openings: the page shown last
    // An external browser that does not exist: alert, then the navigation page.
    Options o = m.OptionsModel().get();
    o.browseMode = BrowseMode::ExternalNavigator;
    o.externalNavigator = File("missing-browser");
    m.OptionsModel().set(o);
    OpenModallyThenClose([&] { m.OpenInBrowser("http://a.example/"); });
    EXPECT_EQ(opt->CurrentPage(), OptionsPage::Browse);

    // Every control edits the model; the close writes the file.
    opt->Open(OptionsOpener::Button, false);
    opt->WebControls().max->setText("");
    QTest::keyClicks(opt->WebControls().max, "250");
    opt->MuteWav()->setChecked(true);
    opt->MergeSameSite()->setChecked(true);
    opt->EngineStatus()->setChecked(false);
    opt->IdleTimeout()->clear();
    QTest::keyClicks(opt->IdleTimeout(), "45");
    opt->WebControls().engines->item(3)->setCheckState(Qt::Unchecked);
    QTest::keyClick(opt, Qt::Key_Escape);
    EXPECT_FALSE(opt->isVisible());
    Options saved;
    ASSERT_TRUE(LoadOptions(saved, DataRoot(root_)));
    EXPECT_EQ(saved.web.maxResults, 250);
    EXPECT_TRUE(saved.muteWav);
    EXPECT_TRUE(saved.mergeSameSite);
    EXPECT_FALSE(saved.showEngineStatus);
    EXPECT_EQ(saved.idleTimeout, 45);
    EXPECT_FALSE(saved.webEngineEnabled("GOTO"));
    EXPECT_EQ(saved.browseMode, BrowseMode::ExternalNavigator);
}

TEST_F(OptionsWindowTest, HistoryProxyBrowserAndDownloadRules) {
    Open();
    opt->Open(OptionsOpener::Button, false);
    auto choose = [](QComboBox *box, int i) {
        box->setCurrentIndex(i);
        emit box->activated(i);
    };
    choose(opt->WebControls().history, 1);
    EXPECT_FALSE(opt->WebControls().diskCache->isVisible());
    choose(opt->WebControls().history, 0);
    EXPECT_TRUE(opt->WebControls().diskCache->isVisible());

    opt->ShowPage(OptionsPage::Proxy);
    choose(opt->ProxyType(), 1);
    opt->ProxyAuth()->setChecked(true);
    EXPECT_TRUE(opt->ProxyUser()->isVisible());
    EXPECT_FALSE(opt->SocksGroup()->isVisible());
    choose(opt->ProxyType(), 0);
    EXPECT_FALSE(opt->ProxyAuth()->isVisible());
    EXPECT_FALSE(opt->ProxyUser()->isVisible());
    choose(opt->ProxyType(), 2);
    EXPECT_TRUE(opt->ProxyUser()->isVisible());
    EXPECT_TRUE(opt->SocksGroup()->isVisible());
    EXPECT_EQ(window->OptionsModel().get().proxy.mode, 2);

    opt->ShowPage(OptionsPage::Browse);
    QString offered;
    ProgramDialogSlot() = [&](QWidget *, const QString &) { return offered; };
    opt->NavOther()->setChecked(true);
    EXPECT_TRUE(opt->NavPath()->isVisible());
    opt->NavBrowse()->click();  // cancelled: nothing changes
    EXPECT_EQ(opt->NavPath()->text(), "");
    offered = "/usr/bin/firefox";
    opt->NavBrowse()->click();
    EXPECT_EQ(window->OptionsModel().get().externalNavigator, "/usr/bin/firefox");
    opt->NavDefault()->setChecked(true);
    EXPECT_FALSE(opt->NavPath()->isVisible());
    EXPECT_FALSE(opt->DownloadGroup()->isVisible());  // never shown, kept in the file
    opt->Download(1)->setChecked(true);
    EXPECT_EQ(window->OptionsModel().get().downloadMode, DownloadMode::Clipboard);
}

TEST_F(OptionsWindowTest, CachePageListsAndRemoves) {
    TMain &m = Open();
    std::filesystem::create_directories(File("Cache/WEBSearch"));
    ASSERT_TRUE(WriteFileAtomic(File("Cache/WEBSearch/linux.webcache"), std::string(5000, 'x')));
    ASSERT_TRUE(WriteFileAtomic(File("Cache/WEBSearch/qt.webcache"), std::string(10, 'x')));
    ASSERT_TRUE(WriteFileAtomic(File("Cache/WEBSearch/gcc.webcache"), std::string(10, 'x')));
    m.QueryHistories().web.entries = {"zeta", "alpha", "mid", "beta"};
    m.HistoryToWebBox();
    opt->Open(OptionsOpener::Button, false);
    EXPECT_EQ(opt->WebControls().cacheSize->text(), "Files cached : 0.00 MB");
    emit opt->WebControls().cacheSize->clicked();  // the link: web type, "Disk cache" tab
    EXPECT_EQ(opt->CurrentPage(), OptionsPage::Cache);
    EXPECT_EQ(opt->CacheTabs()->currentIndex(), 1);
    ASSERT_EQ(opt->Files()->topLevelItemCount(), 3);

    // Nothing selected: Delete still asks, and removes nothing.
    QTest::keyClick(opt->Words(), Qt::Key_Delete);
    EXPECT_EQ(confirms, 1);
    EXPECT_EQ(opt->Words()->topLevelItemCount(), 4);
    // Sorted by the column title, then two rows removed: exactly those two words go.
    emit opt->Words()->header()->sectionClicked(0);
    EXPECT_EQ(opt->Words()->topLevelItem(0)->text(0), "alpha");
    opt->Words()->topLevelItem(0)->setSelected(true);
    opt->Words()->topLevelItem(2)->setSelected(true);  // "mid"
    EXPECT_TRUE(opt->WordsRemove()->isEnabled());
    answer = false;
    opt->WordsRemove()->click();
    EXPECT_EQ(opt->Words()->topLevelItemCount(), 4);
    answer = true;
    opt->WordsRemove()->click();
    m.WebBoxToHistory();
    EXPECT_EQ(m.QueryHistories().web.entries, (StringList{"zeta", "beta"}));

    // Several files at once, through "Select all".
    opt->Files()->topLevelItem(0)->setSelected(true);
    opt->FilesAll()->click();  // one of three selected: selects all
    EXPECT_EQ(opt->Files()->selectedItems().size(), 3);
    opt->FilesRemove()->click();
    EXPECT_EQ(opt->Files()->topLevelItemCount(), 0);
    EXPECT_FALSE(std::filesystem::exists(File("Cache/WEBSearch/linux.webcache")));

    opt->CacheTypes()->button(3)->click();  // DNS/Ping: only "Search words"
    EXPECT_FALSE(opt->CacheTabs()->isTabVisible(1));
    EXPECT_EQ(opt->CacheTabs()->currentIndex(), 0);
}

TEST_F(OptionsWindowTest, ColourModels) {
    TMain &m = Open();
    opt->Open(OptionsOpener::Button, false);
    opt->ColorModels()->setCurrentIndex(1);
    emit opt->ColorModels()->activated(1);  // "Gills"
    EXPECT_EQ(m.OptionsModel().get().colorIndex, 1);
    ColorDialogSlot() = [](QWidget *, QColor) -> std::optional<QColor> { return QColor(1, 2, 3); };
    opt->Swatch(2)->click();
    EXPECT_EQ(opt->ColorModels()->currentText(), "New Model");
    EXPECT_FALSE(opt->ColorSave()->isHidden());
    opt->ColorSave()->click();
    ASSERT_EQ(m.OptionsModel().get().colorModels.size(), 7u);
    EXPECT_EQ(m.OptionsModel().get().colorModels[6].textColor, 1 | (2 << 8) | (3 << 16));
    EXPECT_EQ(opt->ColorModels()->count(), 7);
    ColorDialogSlot() = [](QWidget *, QColor) -> std::optional<QColor> { return std::nullopt; };
    opt->Swatch(0)->click();  // cancelled
    opt->ColorModels()->setEditText("default");  // selects "Default" by its name
    EXPECT_EQ(m.OptionsModel().get().colorIndex, 0);
    ColorDialogSlot() = [](QWidget *, QColor) -> std::optional<QColor> { return QColor(0, 0, 255); };
    opt->Swatch(0)->click();
    opt->ColorModels()->setEditText("DEFAULT");
    opt->ColorSave()->click();
    EXPECT_EQ(m.OptionsModel().get().colorModels.size(), 7u);
    EXPECT_EQ(m.OptionsModel().get().colorModels[0].beginColor, 255 << 16);
}

TEST_F(OptionsWindowTest, LanguageChoiceTwice) {
    TMain &m = Open();
    opt->Open(OptionsOpener::Button, false);
    auto pick = [&](const char *name) {
        const int i = opt->Languages()->findText(name);
        ASSERT_GE(i, 0) << name;
        opt->Languages()->setCurrentIndex(i);
        emit opt->Languages()->activated(i);
    };
    // Every page as a person sees it (QM_OPTIONS_SHOTS=folder keeps the pictures).
    auto shots = [&](const char *prefix) {
        opt->resize(760, 560);
        for (int p = 0; p < 5; ++p) {
            opt->ShowPage(OptionsPage(p));
            const QImage shot = opt->grab().toImage();
            EXPECT_FALSE(shot.isNull());
            if (const char *dir = std::getenv("QM_OPTIONS_SHOTS"))
                shot.save(QString("%1/%2%3.png").arg(dir, prefix).arg(p));
        }
        opt->ShowPage(OptionsPage::Search);
    };
    pick("French");
    shots("fr");
    EXPECT_EQ(m.OptionsModel().get().language, "French");
    EXPECT_EQ(opt->windowTitle(), "Réglages");
    EXPECT_EQ(m.SettingsButton()->text(), "Réglages");
    EXPECT_EQ(opt->TitlePanel()->text(), "Réglages de recherche");
    EXPECT_EQ(opt->CacheTypes()->button(6)->text(), "Recherche MP3");
    EXPECT_EQ(opt->StartupTab()->itemText(2), "Recherche Web");
    EXPECT_EQ(opt->StartupTab()->currentIndex(), 2);
    EXPECT_EQ(m.Web()->SearchButton()->text(), "Chercher");
    EXPECT_EQ(m.Model().messages.Text(Msg::Confirm), "Êtes-vous sûr ?");
    EXPECT_EQ(m.Model().messages.Text(Msg::NoSearchString).substr(0, 6), "Vous n");
    EXPECT_TRUE(m.Page(PageId::Web)->HelpPanel()->text().startsWith("Tapez votre recherche"));
    EXPECT_EQ(m.Web()->ModeButton()->text(), "Tous les mots");
    pick("English");
    EXPECT_EQ(opt->windowTitle(), "Settings");
    EXPECT_EQ(m.Web()->SearchButton()->text(), "Search");
    EXPECT_EQ(m.Model().messages.Text(Msg::Confirm), "Are you sure?");
    EXPECT_EQ(opt->NoAutoHelp()->text(), "Stop the automatic help panel");

    shots("en");
}

TEST_F(OptionsWindowTest, ChangesAreKeptForTheNextRun) {
    {
        TMain &m = Open();
        opt->Open(OptionsOpener::Button, false);
        opt->ShowPage(OptionsPage::Proxy);
        opt->ProxyType()->setCurrentIndex(1);
        emit opt->ProxyType()->activated(1);
        QTest::keyClicks(opt->ProxyAddress(), "proxy.example");
        QTest::keyClicks(opt->ProxyPort(), "3128");
        opt->NoLogo()->setChecked(true);
        opt->SurfSame()->setChecked(true);
        opt->StartupTab()->setCurrentIndex(9);
        emit opt->StartupTab()->activated(9);
        const int fr = opt->Languages()->findText("French");
        opt->Languages()->setCurrentIndex(fr);
        emit opt->Languages()->activated(fr);
        opt->OkButton()->click();
        m.close();
        window.reset();
    }
    TMain &again = Open();
    const Options &o = again.OptionsModel().get();
    EXPECT_EQ(o.proxy.mode, 1);
    EXPECT_EQ(o.proxy.address, "proxy.example");
    EXPECT_EQ(o.proxy.port, "3128");
    EXPECT_TRUE(o.noStartupLogo);
    EXPECT_EQ(o.surfMode, SurfMode::InSameWindow);
    EXPECT_EQ(o.startupTab, 9);
    EXPECT_EQ(o.language, "French");
    // The language is applied when the window is created.
    EXPECT_EQ(opt->windowTitle(), "Réglages");
    EXPECT_EQ(opt->Languages()->currentText(), "French");
    EXPECT_EQ(opt->StartupTab()->currentText(), "Unités");
    EXPECT_EQ(opt->ProxyAddress()->text(), "proxy.example");
}
