// The splash window in the real main window, offscreen: layout under the bundled picture,
// the focus it does not give to the language list, ticks, keys and the picture click that
// close it, the language choice shared with the options window, "Don't show this window
// anymore", the missing picture, and the help menu's addresses.
// First: its `slots` member must come before Qt's keyword macros.
#include "service/RemoteConfig.h"

#include "app/Browser.h"
#include "app/Dialogs.h"
#include "app/FeatureBindings.h"
#include "app/MainWindow.h"
#include "app/OptionsWindow.h"
#include "app/SplashWindow.h"
#include "settings/DataRoot.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QGroupBox>
#include <QLabel>
#include <QMenu>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

#include <cstdlib>
#include <memory>

using namespace qm;

namespace {

class SplashWindowTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(tmp_.isValid());
        root_ = tmp_.path().toStdString();
        ASSERT_TRUE(PrepareDataRoot(DataRoot(root_)));  // the bundled picture and languages
        AlertHandlerSlot() = [this](QWidget *, const std::string &t, AlertKind k) { alerts.push_back({t, k}); };
        BrowserRunnerSlot() = [this](const BrowserPlan &p) {
            opened.push_back(p.kind == BrowserPlan::StartProgram ? p.args.at(0) : p.url);
            return true;
        };
        DesktopOpenerSlot() = [this](const std::string &a) {
            mailed.push_back(a);
            return true;
        };
        // As main() does: main window, splash window, options window.
        window = std::make_unique<TMain>(ProgramDirs::FromRoot(root_));
        window->Timer()->stop();
        CreateSplashWindow(*window);
        CreateOptionsWindow(*window);
        splash = window->findChild<TMainGFX *>("TMainGFX");
        opt = window->findChild<TMainOPT *>("TMainOPT");
        ASSERT_NE(splash, nullptr);
        ASSERT_NE(opt, nullptr);
        splash->Timer()->stop();  // the tests tick by hand
    }
    void TearDown() override {
        window.reset();
        AlertHandlerSlot() = nullptr;
        BrowserRunnerSlot() = nullptr;
        DesktopOpenerSlot() = nullptr;
        ResetServiceConfig();
    }

    // Opens the splash modally through `open` and runs `whileShown` inside its loop once it
    // is the active window; a splash still open afterwards is closed.
    void WhileShown(const std::function<void()> &open, const std::function<void()> &whileShown) {
        bool ran = false;
        QTimer::singleShot(0, splash, [&] {
            ran = true;
            EXPECT_TRUE(QTest::qWaitForWindowActive(splash));
            whileShown();
            if (splash->isVisible()) splash->reject();
        });
        open();
        EXPECT_TRUE(ran);
    }
    void ShowSplash(int limit, const std::function<void()> &whileShown) {
        WhileShown([&] { RunHook(window->Hooks().showSplash, limit); }, whileShown);
    }
    // Ticks until the splash closes; the number of ticks (0 when it is still open after 30).
    int TicksUntilClosed() {
        for (int n = 1; n <= 30; ++n) {
            splash->Tick();
            if (!splash->isVisible()) return n;
        }
        return 0;
    }
    QAction *HelpItem(const char *name) { return window->HelpMenu()->findChild<QAction *>(name); }

    struct Alert {
        std::string text;
        AlertKind kind;
    };
    QTemporaryDir tmp_;
    std::string root_;
    std::unique_ptr<TMain> window;
    TMainGFX *splash = nullptr;
    TMainOPT *opt = nullptr;
    std::vector<Alert> alerts;
    std::vector<std::string> opened, mailed;
};

}  // namespace

TEST_F(SplashWindowTest, LaidOutUnderThePictureWithoutFocusInTheListAndClosedByTicks) {
    ShowSplash(SplashModel::kLimitAtStart, [&] {
        EXPECT_EQ(splash->Picture()->pixmap().size(), QSize(400, 250));
        EXPECT_EQ(splash->Picture()->pos(), QPoint(0, 0));
        const int top = splash->LanguageLabel()->y();
        EXPECT_EQ(top, 250 + splash->Notice()->height() + 6);
        EXPECT_EQ(splash->Languages()->y(), top - 3);
        EXPECT_EQ(splash->size(),
                  QSize(400, 250 + splash->Languages()->height() + splash->DontShow()->height() + 27));
        EXPECT_TRUE(splash->rect().contains(splash->DontShow()->geometry()));
        EXPECT_GT(splash->Notice()->x(), 200);  // at the right, under the picture
        // The options window's list, in order, with its selection; its frame's caption.
        QComboBox *list = opt->Languages();
        ASSERT_EQ(splash->Languages()->count(), list->count());
        for (int i = 0; i < list->count(); ++i) EXPECT_EQ(splash->Languages()->itemText(i), list->itemText(i));
        EXPECT_EQ(splash->Languages()->currentText(), "English");
        EXPECT_EQ(splash->LanguageLabel()->text(), opt->LanguageFrame()->title());
        EXPECT_EQ(splash->DontShow()->text(), "Don't show this window anymore");
        // Shown and activated, the list has not been entered: the start limit holds.
        EXPECT_FALSE(splash->Languages()->hasFocus());
        EXPECT_EQ(splash->Model().Limit(), SplashModel::kLimitAtStart);
        if (const char *shots = std::getenv("QUILLMAR_SCREENSHOTS"))
            splash->grab().save(QDir(shots).filePath("splash.png"));
        EXPECT_EQ(TicksUntilClosed(), 11);
    });
    EXPECT_FALSE(splash->isVisible());
    // "About": 16 ticks, shown again from a zero count.
    WhileShown([&] { HelpItem("POP_HLP_ABOUT")->trigger(); }, [&] {
        EXPECT_EQ(splash->Model().Limit(), SplashModel::kLimitAbout);
        EXPECT_EQ(TicksUntilClosed(), 16);
    });
    EXPECT_TRUE(alerts.empty());
}

TEST_F(SplashWindowTest, LanguageListFocusAndKeys) {
    // Entered and left by the user: closed on the fourth tick after leaving.
    ShowSplash(SplashModel::kLimitAtStart, [&] {
        splash->Languages()->setFocus(Qt::MouseFocusReason);
        EXPECT_EQ(splash->Model().Limit(), SplashModel::kLimitInList);
        splash->Tick();
        splash->DontShow()->setFocus(Qt::MouseFocusReason);
        EXPECT_EQ(splash->Model().Limit(), SplashModel::kLimitAfterList);
        EXPECT_EQ(TicksUntilClosed(), 4);
    });
    // A released key closes when its code is 32 or less; arrows and letters do not.
    for (Qt::Key key : {Qt::Key_Space, Qt::Key_Escape, Qt::Key_Return, Qt::Key_Tab, Qt::Key_Backspace}) {
        ShowSplash(SplashModel::kLimitAtStart, [&] {
            splash->Languages()->setFocus(Qt::MouseFocusReason);
            for (Qt::Key harmless : {Qt::Key_Down, Qt::Key_Up, Qt::Key_A, Qt::Key_F5})
                QTest::keyRelease(splash->Languages(), harmless);
            EXPECT_TRUE(splash->isVisible()) << key;
            QTest::keyRelease(splash->Languages(), key);
            EXPECT_FALSE(splash->isVisible()) << key;
        });
    }
}

TEST_F(SplashWindowTest, PickingALanguageAndDontShowAgain) {
    std::vector<std::string> passes;
    ShellHooks &h = window->Hooks();
    h.applyLanguage = [&, previous = h.applyLanguage](const std::string &l) {
        passes.push_back("keys " + l);
        previous(l);
    };
    h.applyLanguageBlocks = [&, previous = h.applyLanguageBlocks](const std::string &l) {
        passes.push_back("blocks " + l);
        previous(l);
    };
    ShowSplash(SplashModel::kLimitAtStart, [&] {
        splash->Tick(), splash->Tick();
        const int french = splash->Languages()->findText("French");
        ASSERT_GE(french, 0);
        splash->Languages()->setCurrentIndex(french);  // as the user's pick
        EXPECT_EQ(splash->Model().Counter(), 0);
        EXPECT_EQ(passes, (std::vector<std::string>{"keys French", "blocks French"}));
        EXPECT_EQ(opt->Languages()->currentText(), "French");
        EXPECT_EQ(window->OptionsModel().get().language, "French");
        EXPECT_EQ(splash->LanguageLabel()->text(), "Langue");
        EXPECT_EQ(splash->DontShow()->text(), QString::fromUtf8("Ne plus montrer cette fenêtre"));
        // Ticked, then the picture clicked: closed, and the next run starts without it.
        splash->DontShow()->setChecked(true);
        QTest::mouseClick(splash->Picture(), Qt::LeftButton, {}, QPoint(200, 100));
        EXPECT_FALSE(splash->isVisible());
    });
    EXPECT_TRUE(window->OptionsModel().get().noStartupLogo);
    EXPECT_TRUE(window->Model().options.noStartupLogo);
    RunHook(window->Hooks().saveOptions);
    Options saved;
    ASSERT_TRUE(LoadOptions(saved, DataRoot(root_)));
    EXPECT_EQ(saved.language, "French");
    EXPECT_TRUE(saved.noStartupLogo);
}

TEST_F(SplashWindowTest, NoUsablePictureNoSplashAndAboutGivesTheCredit) {
    const QString picture = QString::fromStdString(window->Model().dirs.FrontPagePicture);
    for (const char *bytes : {"GIF89a cut short", "not a picture at all", ""}) {
        QFile f(picture);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
        f.write(bytes);
        f.close();
        RunHook(window->Hooks().showSplash, SplashModel::kLimitAtStart);  // returns at once
        EXPECT_FALSE(splash->isVisible()) << bytes;
    }
    ASSERT_TRUE(QFile::remove(picture));
    HelpItem("POP_HLP_ABOUT")->trigger();
    ASSERT_EQ(alerts.size(), 1u);
    EXPECT_EQ(alerts[0].kind, AlertKind::Information);
    EXPECT_NE(alerts[0].text.find("Quillmar"), std::string::npos);
    EXPECT_FALSE(splash->isVisible());
}

TEST_F(SplashWindowTest, ShownOnceAtTheFirstActivation) {
    int shows = 0;
    struct Counter : QObject {
        int *shows;
        explicit Counter(int *n) : shows(n) {}
        bool eventFilter(QObject *o, QEvent *e) override {
            if (e->type() == QEvent::Show) {
                ++*shows;
                QMetaObject::invokeMethod(o, "reject", Qt::QueuedConnection);
            }
            return false;
        }
    } counter(&shows);
    splash->installEventFilter(&counter);
    window->show();
    ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
    for (int i = 0; i < 100 && shows == 0; ++i) QTest::qWait(10);
    EXPECT_EQ(shows, 1);
    EXPECT_EQ(splash->Model().Limit(), SplashModel::kLimitAtStart);
    // Back from another window: no second showing.
    window->activateWindow();
    opt->Open(OptionsOpener::Button, false);
    opt->close();
    window->activateWindow();
    QCoreApplication::processEvents();
    EXPECT_EQ(shows, 1);
    splash->removeEventFilter(&counter);
}

TEST_F(SplashWindowTest, HelpMenuItemsAndAddresses) {
    QStringList names;
    for (QAction *a : window->HelpMenu()->actions()) names << (a->isSeparator() ? "-" : a->objectName());
    EXPECT_EQ(names, QStringList({"POP_HLP_ABOUT", "POP_HLP_HOME", "-", "POP_HLP_TOPIC", "POP_HLP_TIPS", "-",
                                  "POP_HLP_TELL", "-", "POP_HLP_PRO"}));
    struct Case {
        const char *language, *homeSite;  // "" home site: none configured
        const char *home, *tips, *pro, *tell;
    } cases[] = {
        {"English", "", "http://www.quillmar.example/", "http://www.quillmar.example/tips.htm",
         "http://www.quillmar.example/",
         "mailto:your.friend@example.com?Subject=I%20found%20a%20great%20search%20tool%20at%20"
         "http://www.quillmar.example/"},
        {"french", "", "http://www.quillmar.example/", "http://www.quillmar.example/fr/tips.htm",
         "http://www.quillmar.example/fr/index.htm", nullptr},
        {"French", "https://home.example/q/", "https://home.example/q/", "https://home.example/q/fr/tips.htm",
         "https://home.example/q/fr/index.htm",
         "mailto:your.friend@example.com?Subject=I%20found%20a%20great%20search%20tool%20at%20"
         "https://home.example/q/"},
        {"English", "http://h.example/a?x=1&y=2#top", "http://h.example/a?x=1&y=2#top",
         "http://h.example/a?x=1&y=2#top/tips.htm", "http://h.example/a?x=1&y=2#top",
         "mailto:your.friend@example.com?Subject=I%20found%20a%20great%20search%20tool%20at%20"
         "http://h.example/a?x=1%26y=2%23top"},
    };
    for (const auto &c : cases) {
        ResetServiceConfig();
        if (*c.homeSite) {
            RemoteConfig config;
            config.homeSite = c.homeSite;
            SetServiceConfig(config);
        }
        window->Model().options.language = c.language;
        opened.clear();
        mailed.clear();
        for (const char *item : {"POP_HLP_HOME", "POP_HLP_TOPIC", "POP_HLP_TIPS", "POP_HLP_PRO", "POP_HLP_TELL"})
            HelpItem(item)->trigger();
        ASSERT_EQ(opened.size(), 4u) << c.homeSite;
        EXPECT_EQ(opened[0], c.home);
        EXPECT_EQ(opened[1], c.tips);
        EXPECT_EQ(opened[2], c.tips);
        EXPECT_EQ(opened[3], c.pro);
        ASSERT_EQ(mailed.size(), 1u);  // the mail goes to the desktop, never the browser
        if (c.tell) EXPECT_EQ(mailed[0], c.tell);
    }
    // An external browser chosen in the options: the mail still goes to the desktop.
    window->Model().options.defaultNavigator = false;
    window->Model().options.externalNavigator = "/bin/true";
    opened.clear(), mailed.clear();
    HelpItem("POP_HLP_TELL")->trigger();
    HelpItem("POP_HLP_TIPS")->trigger();
    EXPECT_EQ(mailed.size(), 1u);
    ASSERT_EQ(opened.size(), 1u);
    EXPECT_EQ(opened[0], "http://h.example/a?x=1&y=2#top/tips.htm");
    // Captions from the language file.
    RunHook(window->Hooks().applyLanguage, "French");
    EXPECT_EQ(HelpItem("POP_HLP_TELL")->text(), QString::fromUtf8("Prévenir un ami"));
    EXPECT_EQ(HelpItem("POP_HLP_PRO")->text(), "Version PRO");
}
