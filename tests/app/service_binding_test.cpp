// The window's link to the home site over the fake web: the download on the third tick,
// the title, the notice (Yes opens the update page, No opens nothing, an information box),
// and the banner hook called once when applying ends.
#include "app/Browser.h"
#include "app/Dialogs.h"
#include "app/MainWindow.h"
#include "app/ServiceBinding.h"
#include "net/NetConfig.h"
#include "net/ServiceHosts.h"
#include "service/ServiceLink.h"
#include "support/SharedFakeWeb.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QFileInfo>
#include <QLabel>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace qm;

TEST(ServiceBinding, ThirdTickDownloadsAppliesAndShowsTheNotice) {
    RouteServiceHostsTo(test::SharedFakeWeb().port());
    const std::string site = "http://" + ServiceHostFor("home");
    struct Case {
        const char *variant;
        bool answerYes;
        std::vector<std::string> confirms, alerts, opened;  // texts; addresses
        const char *title;
    };
    const std::string text = "Quillmar 1.23 is out.\r\nGet it now?\r\n";
    const Case cases[] = {
        {"notice-update", true, {text}, {}, {site + "/download.html"}, "Quillmar v1.22 "},
        {"notice-web", false, {text}, {}, {}, "Quillmar v1.22 "},
        {"notice-info", true, {}, {text}, {}, "Quillmar v1.22 "},
        {"renamed", true, {}, {}, {}, "Quillmar Plus v1.22 "},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.variant);
        ResetServiceConfig();
        std::vector<std::string> confirms, alerts, opened;
        QTemporaryDir tmp;
        TMain w(ProgramDirs::FromRoot(tmp.path().toStdString()));
        w.Timer()->stop();
        ServiceLink *link = ServiceLinkOf(w);
        ASSERT_NE(link, nullptr);
        link->Settings().address = site + "/ini/test/" + c.variant + "/qm_config.ini";
        ConfirmHandlerSlot() = [&](QWidget *, const std::string &t) {
            confirms.push_back(t);
            return c.answerYes;
        };
        AlertHandlerSlot() = [&](QWidget *, const std::string &t, AlertKind) {
            alerts.push_back(t);
        };
        BrowserRunnerSlot() = [&](const BrowserPlan &p) {
            opened.push_back(p.url);
            return true;
        };
        int steps = 0;
        w.Hooks().bannerStep = [&] { ++steps; };
        w.HousekeepingTick();
        w.HousekeepingTick();
        EXPECT_EQ(link->Download().phase(), ConfigDownload::Phase::NotStarted);
        w.HousekeepingTick();
        EXPECT_EQ(link->Download().phase(), ConfigDownload::Phase::Downloading);
        QDeadlineTimer guard(30000);
        while (!link->Idle() && !guard.hasExpired()) QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 100);
        EXPECT_TRUE(w.Hooks().configApplied());
        // The local copy lies in the window's data root.
        EXPECT_TRUE(QFileInfo::exists(tmp.path() + "/Options/qm_config.ini"));
        EXPECT_EQ(steps, 1);
        EXPECT_EQ(confirms, c.confirms);
        EXPECT_EQ(alerts, c.alerts);
        EXPECT_EQ(opened, c.opened);
        EXPECT_EQ(w.Model().title, c.title);
        EXPECT_EQ(w.windowTitle().toStdString(), c.title);
        EXPECT_EQ(w.StatusText()->text().toStdString(), c.title);
        w.HousekeepingTick();  // from now on every tick steps the banner
        EXPECT_EQ(steps, 2);
    }
    ConfirmHandlerSlot() = nullptr;
    AlertHandlerSlot() = nullptr;
    BrowserRunnerSlot() = nullptr;
    ResetServiceConfig();
    RouteServiceHostsTo(0);
}
