// The window's banner bar over the fake web: built-in picture and slogan at start, the
// configured hint, a banner with the support label after a step, a click that opens the
// banner's page through the browser and hides the bar, the banner's end at close.
#include "app/BannerBinding.h"
#include "app/Browser.h"
#include "app/Dialogs.h"
#include "app/MainWindow.h"
#include "net/NetConfig.h"
#include "service/BannerBar.h"
#include "support/SharedFakeWeb.h"

#include <QCoreApplication>
#include <QLabel>
#include <QTemporaryDir>
#include <QTest>
#include <gtest/gtest.h>

using namespace qm;

TEST(BannerBinding, BannerShownClickedAndHidden) {
    QTemporaryDir tmp;
    RouteServiceHostsTo(test::SharedFakeWeb().port());
    std::vector<std::string> alerts, opened;
    AlertHandlerSlot() = [&](QWidget *, const std::string &t, AlertKind) { alerts.push_back(t); };
    BrowserRunnerSlot() = [&](const BrowserPlan &plan) {
        opened.push_back(plan.url);
        return true;
    };
    {
        TMain w(ProgramDirs::FromRoot(tmp.path().toStdString()));
        w.Timer()->stop();
        w.show();
        QLabel *picture = w.BannerImage();
        EXPECT_EQ(w.Banner()->objectName(), "PNL_FRIC");
        EXPECT_EQ(picture->size(), QSize(468, 60));
        const QImage builtIn = picture->pixmap().toImage();
        EXPECT_EQ(builtIn.size(), QSize(468, 60));
        EXPECT_EQ(picture->toolTip(), "Welcome to Quillmar - This is the advertising bar");
        EXPECT_EQ(w.Slogan()->text(), "Quillmar : The easy way to search what you want");

        BannerBar *bar = BannerBarOf(w);
        ASSERT_NE(bar, nullptr);
        const std::string ads = "http://ads.quillmar.example";
        bar->Configure(ApplyConfig({"$BANNER_HINT = Our sponsors", "$PUB_SET_CFG = 1",
                                    "$PUB[1].SET = Y x 1 x x " + ads + "/ad?ord=<pif8> " + ads +
                                        "/click?ord=<pif8>&bnum=12345678 x 0"}));
        EXPECT_EQ(picture->toolTip(), "Our sponsors");
        w.Hooks().bannerStep();
        ASSERT_TRUE(bar->Busy());
        while (bar->Busy()) QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
        EXPECT_EQ(w.Slogan()->text(),
                  "Please support this software by visiting these interesting sites - Thank you !!!");
        const QImage banner = picture->pixmap().toImage();
        EXPECT_EQ(banner.size(), QSize(468, 60));
        EXPECT_NE(banner, builtIn);
        // The picture stays centred in the bar.
        EXPECT_LE(std::abs(picture->x() - (w.Banner()->width() - picture->x() - picture->width())), 1);

        QTest::mouseClick(picture, Qt::LeftButton);
        ASSERT_EQ(opened.size(), 1u);
        EXPECT_EQ(opened[0], ads + "/click?ord=" + bar->SlotAt(1).number + "&bnum=12345678");
        EXPECT_TRUE(w.Banner()->isHidden());
        EXPECT_TRUE(alerts.empty());

        w.Hooks().abortBanner();
        EXPECT_TRUE(bar->Closing());
    }
    AlertHandlerSlot() = nullptr;
    BrowserRunnerSlot() = nullptr;
    RouteServiceHostsTo(0);
}
