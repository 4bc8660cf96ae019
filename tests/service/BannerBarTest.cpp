#include <gtest/gtest.h>

#include "fakeweb/Gif.h"
#include "fakeweb/Service.h"
#include "net/CookieStore.h"
#include "net/NetConfig.h"
#include "net/ServiceHosts.h"
#include "service/BannerBar.h"
#include "support/SharedFakeWeb.h"
#include "toolkit/AtomicFile.h"

#include <QCoreApplication>
#include <QTemporaryDir>

using namespace qm;

namespace {

const std::string kAds = "http://ads.quillmar.example";

// A configuration with one slot line.
RemoteConfig SlotConfig(const std::string &banner, const std::string &click, int period = 1, int clickPeriod = 0) {
    return ApplyConfig({"$INDEXPAGE = http://home.quillmar.example/index.html", "$PUB_SET_CFG = 1",
                        "$PUB[1].SET = Y x " + std::to_string(period) + " x x " + banner + " " + click + " x " +
                            std::to_string(clickPeriod)});
}

// A banner bar on the fake web that records its events.
struct Bar {
    QTemporaryDir dir;
    uint32_t draw = 0;
    BannerBar bar{dir.path().toStdString(), [this] {
        draw += 123456789u;
        return draw & 0x7fffffffu;
    }};
    std::vector<std::string> requested, alerts, opened;
    int shown = 0, finished = 0;

    Bar() {
        RouteServiceHostsTo(test::SharedFakeWeb().port());
        bar.requested = [this](const std::string &url) { requested.push_back(url); };
        bar.alert = [this](const std::string &t) { alerts.push_back(t); };
        bar.openBrowser = [this](const std::string &url) { opened.push_back(url); };
        bar.showPicture = [this](const QImage &) { ++shown; };
        bar.requestFinished = [this] { ++finished; };
    }
    ~Bar() { RouteServiceHostsTo(0); }

    // One tick; when it starts a request, waits until the fake web has answered.
    void Step() {
        const int before = finished;
        const size_t started = requested.size();
        bar.Step();
        while (requested.size() > started && finished == before)
            QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    }
    // The value of a query parameter of the last banner address.
    std::string LastParam(const std::string &name) const {
        const std::string &url = requested.back();
        size_t at = url.find(name + "=");
        return at == std::string::npos ? "" : url.substr(at + name.size() + 1, url.find('&', at) - at - name.size() - 1);
    }
};

}  // namespace

TEST(BannerBar, NumbersHaveTheirDigitsAndModulus) {
    const std::array<std::string, 10> high = BannerNumbers([] { return 2147483647u; });
    const std::array<std::string, 10> low = BannerNumbers([] { return 5u; });
    for (int k = 1; k <= 10; ++k) {
        SCOPED_TRACE(k);
        EXPECT_EQ(high[size_t(k - 1)].size(), size_t(k));
        EXPECT_EQ(low[size_t(k - 1)], std::string(size_t(k - 1), '0') + "5");
    }
    EXPECT_EQ(high[0], "7");
    EXPECT_EQ(high[8], "147483647");
    EXPECT_EQ(high[9], "0737418239");  // 2147483647 mod 1410065408
}

TEST(BannerBar, CookieCopyIsCutBeforeExpiresAndDomain) {
    const std::pair<const char *, const char *> cases[] = {
        {"id=42; expires=Fri, 01-Jan-2010 00:00:00 GMT; path=/", "id=42;"},
        {"a=1; path=/; Domain=x.example", "a=1; path=/;"},
        {"a=1;domain=x; EXPIRES=y", "a=1"},
        {"expires=Fri; a=1", ""},
        {"plain=1", "plain=1"},
    };
    for (const auto &[text, cut] : cases) EXPECT_EQ(CutBannerCookie(text), cut) << text;
}

TEST(BannerBar, BannerAndClickCarryTheSameNumber) {
    Bar b;
    b.bar.Configure(SlotConfig(kAds + "/ad?ord=<pif8>", kAds + "/click?ord=<pif8>&bnum=12345678"));
    EXPECT_EQ(b.bar.Hint(), BannerBar::kDefaultHint);
    b.Step();
    ASSERT_EQ(b.requested.size(), 1u);
    const std::string number = b.LastParam("ord");
    ASSERT_EQ(number.size(), 8u);
    EXPECT_EQ(number.find_first_not_of("0123456789"), std::string::npos);
    EXPECT_EQ(b.bar.Picture().size(), QSize(468, 60));
    EXPECT_TRUE(b.bar.Clickable());
    EXPECT_TRUE(b.bar.SupportShown());
    // The redirection's cookie came back to the banner host, which then set "adchain".
    EXPECT_EQ(b.bar.SlotAt(1).cookies, "adref=" + number + "; adview=" + number + "; adchain=" + number + "; path=/; ");

    b.bar.Click();
    EXPECT_EQ(b.opened, std::vector<std::string>{kAds + "/click?ord=" + number + "&bnum=12345678"});
    EXPECT_TRUE(b.alerts.empty());
    EXPECT_TRUE(b.bar.Hidden());
    EXPECT_EQ(b.bar.SlotAt(1).period, 86400u);
}

TEST(BannerBar, ClickAddressRules) {
    struct Case {
        const char *click;  // after the host
        bool opens;
        const char *alert;
    };
    const Case cases[] = {
        {"/click?ord=<pif5>", true, nullptr},
        {"/click?ord=<PIF5>&n=<pif3>", false, kWrongBannerFormat},
        {"/click?ord=<pif5>&bnum=1234567", false, kWrongBannerId},
        {"/click?ord=<pif5>&bnum=12345678", true, nullptr},
        {"/click?BNUM=123456789", false, kWrongBannerId},
        {"/click?bnum", true, nullptr},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.click);
        Bar b;
        b.bar.Configure(SlotConfig(kAds + "/gif?ord=<pif5>&x=<pif3>", kAds + c.click));
        b.Step();
        ASSERT_TRUE(b.bar.Clickable());
        const std::string five = b.LastParam("ord"), three = b.LastParam("x");
        EXPECT_EQ(five.size(), 5u);
        EXPECT_EQ(three.size(), 3u);
        EXPECT_NE(five.substr(2), three);
        EXPECT_EQ(b.bar.SlotAt(1).placeholder, "<pif5>");
        b.bar.Click();
        if (c.opens) {
            ASSERT_EQ(b.opened.size(), 1u);
            EXPECT_EQ(b.opened[0], kAds + TMisc::ReplaceFirst(c.click, "<pif5>", five));
        } else {
            EXPECT_TRUE(b.opened.empty());
        }
        EXPECT_EQ(b.alerts, c.alert ? std::vector<std::string>{c.alert} : std::vector<std::string>{});
        EXPECT_EQ(b.bar.Hidden(), c.opens);
    }
}

TEST(BannerBar, PeriodAfterAClick) {
    struct Case {
        int period, clickPeriod;
        uint32_t after;
    };
    const Case cases[] = {{1, 0, 86400}, {1, 60, 60}, {5, 3, 5}, {5, 5, 5}, {1, -5, 1}};
    for (const Case &c : cases) {
        SCOPED_TRACE(c.clickPeriod);
        Bar b;
        b.bar.Configure(SlotConfig(kAds + "/gif?ord=<pif4>", kAds + "/click?ord=<pif4>", c.period, c.clickPeriod));
        for (int i = 0; i < c.period; ++i) b.Step();
        ASSERT_EQ(b.requested.size(), 1u);
        b.bar.Click();
        ASSERT_EQ(b.opened.size(), 1u);
        EXPECT_EQ(b.bar.SlotAt(1).period, c.after);
    }
}

TEST(BannerBar, CookiesGoToTheSlotCutAndToTheStoreWhole) {
    struct Case {
        const char *setCookie;
        const char *slot;
        const char *host, *path, *name, *value;
    };
    const Case cases[] = {
        {"id=42; path=/ads; expires=Fri, 01-Jan-2010 00:00:00 GMT", "id=42; path=/ads; ", "ads.quillmar.example",
         "/ads", "id", "42"},
        {"sid=7; domain=quillmar.example; path=/p", "sid=7; ", "quillmar.example", "/p", "sid", "7"},
        {"k=v;", "k=v; ", "ads.quillmar.example", "/", "k", "v"},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.setCookie);
        Bar b;
        b.bar.Configure(SlotConfig(kAds + "/cookie.gif?set=" + fakeweb::FormEncode(c.setCookie, ".-_=/"), kAds + "/c"));
        b.Step();
        EXPECT_EQ(b.bar.SlotAt(1).cookies, c.slot);
        CookieStore store(CookieFileIn(b.dir.path().toStdString()));
        ASSERT_EQ(store.Cookies().size(), 1u);
        const CookieStore::Cookie &k = store.Cookies()[0];
        EXPECT_EQ(k.host, c.host);
        EXPECT_EQ(k.path, c.path);
        EXPECT_EQ(k.name + "=" + k.value, std::string(c.name) + "=" + c.value);
    }
}

TEST(BannerBar, PicturesThatAreNotShown) {
    struct Case {
        const char *path;
        bool invalid, support;
    };
    const Case cases[] = {{"/small.gif", true, true}, {"/bad.gif", false, true}, {"/fail", false, false}};
    for (const Case &c : cases) {
        SCOPED_TRACE(c.path);
        Bar b;
        b.bar.Configure(SlotConfig(kAds + "/gif?ord=<pif2>", kAds + "/click?ord=<pif2>"));
        b.Step();
        ASSERT_EQ(b.shown, 1);
        const QImage first = b.bar.Picture();
        // A new configuration with another banner: the bar keeps its picture and flags.
        b.bar.Configure(SlotConfig(kAds + c.path, kAds + "/click"));
        b.Step();
        EXPECT_EQ(b.requested.size(), 2u);
        EXPECT_EQ(b.shown, 1);
        EXPECT_EQ(b.bar.Picture(), first);
        EXPECT_EQ(b.bar.SlotAt(1).invalid, c.invalid);
        EXPECT_EQ(b.bar.SlotAt(1).ticks, 0u);
        b.bar.Click();
        EXPECT_EQ(b.opened.size(), c.invalid ? 0u : 1u);
        EXPECT_TRUE(b.alerts.empty());
    }
    Bar fresh;  // a 500 answer leaves even the label alone
    fresh.bar.Configure(SlotConfig(kAds + "/fail", kAds + "/c"));
    fresh.Step();
    EXPECT_FALSE(fresh.bar.SupportShown());
}

TEST(BannerBar, ThirtiethCallRequestsAndTheFrontPictureRestartsTheCount) {
    Bar b;
    const std::string front = b.dir.path().toStdString() + "/front.gif", junk = b.dir.path().toStdString() + "/junk.gif";
    fakeweb::GifCanvas canvas(468, 60, {0x336699, 0xffffff});
    ASSERT_TRUE(WriteFileAtomic(front, canvas.Encode()) && WriteFileAtomic(junk, "not a picture"));
    b.bar.Step();  // no configuration yet: no slot
    EXPECT_TRUE(b.requested.empty());
    b.bar.Configure(SlotConfig(kAds + "/gif?ord=<pif1>", kAds + "/c", 30));
    int firstRequest = 0;
    for (int call = 1; call <= 70 && b.requested.size() < 2; ++call) {
        if (call == 40) b.bar.ShowFrontPicture(front);
        if (call == 41) b.bar.ShowFrontPicture(junk);  // not decodable: ignored
        b.Step();
        if (b.requested.size() == 1 && !firstRequest) firstRequest = call;
        if (call == 45) EXPECT_FALSE(b.bar.Clickable());
        if (b.requested.size() == 2) EXPECT_EQ(call, 40 + 29);  // the call after the picture counts as the first
    }
    EXPECT_EQ(firstRequest, 30);
    EXPECT_EQ(b.requested.size(), 2u);
    b.bar.SetClosing();
    for (int i = 0; i < 40; ++i) b.bar.Step();
    EXPECT_EQ(b.requested.size(), 2u);
}
