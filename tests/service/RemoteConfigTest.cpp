#include <gtest/gtest.h>

#include "service/RemoteConfig.h"

using namespace qm;
using Kind = ConfigNotice::Kind;

namespace {

StringList Lines(std::initializer_list<const char *> l) { return StringList(l.begin(), l.end()); }

}  // namespace

TEST(ApplyConfig, NoticeDependsOnModeAndNewerBuild) {
    struct Case {
        const char *mode;
        const char *verSub;
        Kind kind;
    };
    const Case cases[] = {
        {"nmUpdate", "1171", Kind::YesNo},      {"nmUpdate", "1170", Kind::None},
        {"NMUPDATEGOTOWEB", "2000", Kind::YesNo}, {"nmUpdateGotoWEB", "abc", Kind::None},
        {"nmMessageOnly", "1", Kind::Info},     {"nmMessageGotoWEB", "0", Kind::YesNo},
        {"nmSomethingElse", "9999", Kind::None},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(std::string(c.mode) + " " + c.verSub);
        std::string mode = std::string("$NOTIFICATION = ") + c.mode;
        std::string ver = std::string("$VERSUB = ") + c.verSub;
        RemoteConfig r = ApplyConfig({mode, ver, "$MSG_SUBJECT = New!", "$UPDATE_URL = http://home.example/get",
                                      "<@UPDATE_MSG>", "Line one", "</@UPDATE_MSG>"});
        EXPECT_EQ(r.notice.kind, c.kind);
        if (c.kind == Kind::None) continue;
        EXPECT_EQ(r.notice.caption, "New!");
        EXPECT_EQ(r.notice.text, "Line one\r\n");
        EXPECT_EQ(r.notice.url, c.kind == Kind::YesNo ? "http://home.example/get" : "");
    }
    // Without the block the notice shows an empty text; a new file starts from mode none.
    RemoteConfig r = ApplyConfig(Lines({"$NOTIFICATION=nmMessageOnly"}));
    EXPECT_EQ(r.notice.kind, Kind::Info);
    EXPECT_EQ(r.notice.text, "");
    EXPECT_EQ(ApplyConfig(Lines({"$VERSUB=1"}), r).notice.kind, Kind::None);
}

TEST(ApplyConfig, KeyPassStopsAtMessageTextLine) {
    RemoteConfig r = ApplyConfig(Lines({
        "$APP_NAME = Finder",
        "$BFGU_GOTO = http://goto.example/serve",
        // The keys before $MSG_TEXT in the table are still tried on its own line.
        "$MSG_SUBJECT = Hello $MSG_TEXT",
        "$WHOIS_URL = http://whois.example/",
        "$BFCU_GOTO = http://goto.example/click?q=<$QRY>",
        "$APP_NAME = Late",
    }));
    EXPECT_EQ(r.appName, "Finder");
    EXPECT_EQ(r.title, "Finder v1.22 ");
    EXPECT_EQ(r.gotoServe, "http://goto.example/serve");
    EXPECT_EQ(r.msgSubject, "Hello $MSG_TEXT");
    EXPECT_EQ(r.whoisUrl, "");
    EXPECT_EQ(r.gotoClick, "");
    EXPECT_EQ(ApplyConfig({}).title, "Quillmar v1.22 ");
}

TEST(ApplyConfig, SlotCountIsClampedAndSlotsReadInAscendingOrder) {
    struct Case {
        const char *cfg;
        int count;
    };
    for (const Case &c : {Case{"7 1 2", 3}, Case{"-2", 0}, Case{"x", 0}, Case{"2", 2}}) {
        SCOPED_TRACE(c.cfg);
        EXPECT_EQ(ApplyConfig({std::string("$PUB_SET_CFG = ") + c.cfg}).slotCount, c.count);
    }
    const char *slot1 = "$PUB[1].SET = y x 12 x x http://ads.example/b?o=<pif8> http://ads.example/c?o=<pif8> x 600";
    // Slot 2 before slot 1: only slot 1 is read, from the later line.
    RemoteConfig r = ApplyConfig(Lines({"$PUB_SET_CFG = 3", "$INDEXPAGE = http://home.example/",
                                        "$PUB[2].SET = Y 0 5", slot1}));
    ASSERT_EQ(r.bannerSlots.size(), 1u);
    const BannerSlotConfig &s = r.bannerSlots[0];
    EXPECT_TRUE(s.enabled);
    EXPECT_EQ(s.period, 12u);
    EXPECT_EQ(s.clickPeriod, 600);
    EXPECT_EQ(s.banner, "http://ads.example/b?o=<pif8>");
    EXPECT_EQ(s.click, "http://ads.example/c?o=<pif8>");
    EXPECT_EQ(s.referrer, "http://home.example/");

    // In order, at most three slots are kept; with a count of 0 none is read.
    StringList four = {"$PUB_SET_CFG=1", "$PUB[1].SET=N", "$PUB[2].SET=Y 0 -1", "$PUB[3].SET=Y", "$PUB[4].SET=Y"};
    r = ApplyConfig(four);
    ASSERT_EQ(r.bannerSlots.size(), 3u);
    EXPECT_FALSE(r.bannerSlots[0].enabled);
    EXPECT_EQ(r.bannerSlots[1].period, 4294967295u);  // C-style unsigned conversion of -1
    four[0] = "$PUB_SET_CFG=0";
    EXPECT_TRUE(ApplyConfig(four).bannerSlots.empty());
}

TEST(ApplyConfig, MissingBlockEmptiesItsText) {
    RemoteConfig before;
    before.webHeader = "old header";
    before.webEnd = "old end";
    RemoteConfig r = ApplyConfig(Lines({"<@WEB_LINE>", "<a href=\"<$URL>\">", "</@WEB_LINE>", "<@WEB_END>",
                                        "</html>", "</@WEB_END>"}),
                                 before);
    EXPECT_EQ(r.webHeader, "");
    EXPECT_EQ(r.webLine, "<a href=\"<$URL>\">\r\n");
    EXPECT_EQ(r.webEnd, "</html>\r\n");
}

TEST(ApplyConfig, UnsafeAddressesAndPathsAreRefusedAndKeepTheOldValue) {
    RemoteConfig before;
    before.homeSite = "http://old.example/";
    struct Case {
        const char *line;
        const char *key;
    };
    const Case bad[] = {
        {"$HOMESITE = file:///etc/passwd", "$HOMESITE"},
        {"$UPDATE_URL = javascript:alert(1)", "$UPDATE_URL"},
        {"$WHOIS_SPONSOR = http:///nohost", "$WHOIS_SPONSOR"},
        {"$FINDWHAT_SRCH_ALL = ftp://x.example/", "$FINDWHAT_SRCH_ALL"},
        {"$FRONT_GIF = ../../evil.gif", "$FRONT_GIF"},
        {"$FRONT_GIF = /tmp/x.gif", "$FRONT_GIF"},
        {"$FRONT_GIF = Options\\Configuration.ini", "$FRONT_GIF"},
        {"$FRONT_GIF = GFX\\..\\x.GIF", "$FRONT_GIF"},
    };
    for (const Case &c : bad) {
        SCOPED_TRACE(c.line);
        RemoteConfig r = ApplyConfig({c.line}, before);
        ASSERT_EQ(r.refused.size(), 1u);
        EXPECT_EQ(r.refused[0].key, c.key);
        EXPECT_EQ(r.homeSite, "http://old.example/");
        EXPECT_EQ(r.frontGif, "");
    }
    RemoteConfig r = ApplyConfig(Lines({"$HOMESITE = HTTPS://user@new.example:8080/x", "$FRONT_GIF = GFX\\Front.GIF",
                                        "$PUB_SET_CFG=1", "$PUB[1].SET = Y 0 30 0 0 file:///x javascript:y"}),
                                 before);
    EXPECT_EQ(r.homeSite, "HTTPS://user@new.example:8080/x");
    EXPECT_EQ(r.frontGif, "GFX/Front.GIF");
    ASSERT_EQ(r.bannerSlots.size(), 1u);
    EXPECT_EQ(r.bannerSlots[0].banner, "");
    EXPECT_EQ(r.bannerSlots[0].click, "");
    EXPECT_EQ(r.refused.size(), 2u);
}
