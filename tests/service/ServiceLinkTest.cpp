// The run's configuration download with the real client against the fake web's home site:
// success, every failing answer (one retry, then the local copy), the front picture, the
// order of the events, hostile values, and the receivers of the applied values.
#include "engines/web/WebEngineTable.h"
#include "net/NetConfig.h"
#include "net/ServiceHosts.h"
#include "search/Export.h"
#include "service/ServiceLink.h"
#include "smart/SmartSearch.h"
#include "support/SharedFakeWeb.h"
#include "toolkit/AtomicFile.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QDir>
#include <QImage>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace qm;

namespace {

const std::string kLocal = "$APP_NAME = Local\r\n; 1\r\n; 2\r\n; 3\r\n; 4\r\n; 5\r\n; 6\r\n; 7\r\n; 8\r\n; 9\r\n; 10\r\n";

class ServiceLinkTest : public ::testing::Test {
protected:
    void SetUp() override {
        RouteServiceHostsTo(test::SharedFakeWeb().port());
        ResetServiceConfig();
        root = dir.path().toStdString();
        site = "http://" + ServiceHostFor("home");
    }
    void TearDown() override {
        ResetServiceConfig();
        RouteServiceHostsTo(0);
    }
    std::string CopyPath() const { return root + "/Options/qm_config.ini"; }
    void WriteCopy(const std::string &bytes) {
        ASSERT_TRUE(TMisc::CreatePath(root + "/Options") && WriteFileAtomic(CopyPath(), bytes));
    }
    std::string Read(const std::string &path) const {
        std::string bytes;
        return ReadWholeFile(path, bytes) ? bytes : "<none>";
    }
    // One run of the link on `variant` ("" for the real address), waited for; the names of
    // its events in order.
    std::vector<std::string> Run(const std::string &variant) {
        ServiceLinkSettings s;
        s.dataRoot = root;
        if (!variant.empty()) s.address = site + "/ini/test/" + variant + "/qm_config.ini";
        s.limits.idleTimeout = 1;  // the silent answer
        link = std::make_unique<ServiceLink>(s);
        std::vector<std::string> events;
        link->refused = [this](const RefusedValue &r) { refusedKeys.push_back(r.key); };
        link->configured = [&](const RemoteConfig &) { events.push_back("configured"); };
        link->showFrontPicture = [&](const std::string &path) { events.push_back("show " + path.substr(root.size())); };
        link->notice = [&](const ConfigNotice &n) {
            events.push_back("notice");
            notices.push_back(n);
        };
        link->bannerStep = [&] { events.push_back(link->Applied() ? "banner (applied)" : "banner"); };
        link->Start();
        QDeadlineTimer guard(60000);
        while (!link->Idle() && !guard.hasExpired()) QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 100);
        EXPECT_TRUE(link->Idle());
        return events;
    }

    QTemporaryDir dir;
    std::string root, site;
    std::unique_ptr<ServiceLink> link;
    std::vector<std::string> refusedKeys;
    std::vector<ConfigNotice> notices;
};

TEST_F(ServiceLinkTest, GoodAnswerIsAppliedAndKeptElseOneRetryThenTheLocalCopy) {
    using Source = ConfigDownload::Source;
    struct Case {
        const char *variant;
        const char *localCopy;  // at start, nullptr for none
        Source source;
        int requests;
        const char *appName;  // applied, nullptr for nothing
    };
    const std::string shortCopy = "$APP_NAME = Short\r\n; 1\r\n; 2\r\n";
    const Case cases[] = {
        {"", kLocal.c_str(), Source::Remote, 1, "Quillmar"},
        {"renamed", nullptr, Source::Remote, 1, "Quillmar Plus"},
        {"404", kLocal.c_str(), Source::Local, 2, "Local"},
        {"500", kLocal.c_str(), Source::Local, 2, "Local"},
        {"cut", kLocal.c_str(), Source::Local, 2, "Local"},
        {"garbage", kLocal.c_str(), Source::Local, 2, "Local"},
        {"short", kLocal.c_str(), Source::Local, 2, "Local"},
        {"silent", kLocal.c_str(), Source::Local, 2, "Local"},
        {"short", nullptr, Source::None, 2, nullptr},
        {"404", shortCopy.c_str(), Source::None, 2, nullptr},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(std::string("variant ") + c.variant);
        ResetServiceConfig();
        QDir(QString::fromStdString(root)).removeRecursively();
        if (c.localCopy) WriteCopy(c.localCopy);
        Run(c.variant);
        EXPECT_EQ(link->Download().source(), c.source);
        EXPECT_EQ(link->Download().requests(), c.requests);
        EXPECT_EQ(link->Applied(), c.appName != nullptr);
        EXPECT_EQ(ServiceConfigApplied(), c.appName != nullptr);
        if (c.appName) EXPECT_EQ(CurrentServiceConfig().appName, c.appName);
        const std::string copy = Read(CopyPath());
        if (c.source == Source::Remote)
            EXPECT_NE(copy.find("$PUB[1].SET = Y x 10"), std::string::npos);
        else
            EXPECT_EQ(copy, c.localCopy ? c.localCopy : "<none>");  // kept byte for byte, short or not
    }
}

TEST_F(ServiceLinkTest, FrontPictureWholeOrNotAtAll) {
    struct Case {
        const char *variant;
        const char *file;
        ServiceLink::Front front;
    };
    const Case cases[] = {
        {"", "/GFX/qm_front.gif", ServiceLink::Front::Downloaded},
        {"", "/GFX/qm_front.gif", ServiceLink::Front::Kept},  // the second run finds it
        {"front-cut", "/GFX/front-cut.gif", ServiceLink::Front::Failed},
        {"front-missing", "/GFX/front-missing.gif", ServiceLink::Front::Failed},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(std::string("variant ") + c.variant + " " + c.file);
        ResetServiceConfig();
        std::vector<std::string> events = Run(c.variant);
        EXPECT_EQ(link->FrontState(), c.front);
        EXPECT_EQ(link->FrontPath(), root + c.file);
        const bool whole = c.front != ServiceLink::Front::Failed;
        EXPECT_EQ(std::count(events.begin(), events.end(), std::string("show ") + c.file), whole ? 1 : 0);
        QImage picture(QString::fromStdString(root + c.file));
        EXPECT_EQ(picture.size(), whole ? QSize(468, 60) : QSize(0, 0));  // none: not readable
        // Nothing half-written stays beside it.
        const QStringList left = QDir(QString::fromStdString(root + "/GFX")).entryList(QDir::Files);
        EXPECT_EQ(left, QStringList{"qm_front.gif"});
    }
}

TEST_F(ServiceLinkTest, EventsComeInOrderAndTheNoticeFollowsItsMode) {
    Run("");  // the picture is there from now on
    struct Case {
        const char *variant;
        ConfigNotice::Kind kind;
        bool url;
    };
    const Case cases[] = {
        {"notice-update", ConfigNotice::Kind::YesNo, true},
        {"notice-current", ConfigNotice::Kind::None, false},  // no newer build
        {"notice-info", ConfigNotice::Kind::Info, false},
        {"notice-web", ConfigNotice::Kind::YesNo, true},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.variant);
        ResetServiceConfig();
        notices.clear();
        std::vector<std::string> expected = {"configured", "show /GFX/qm_front.gif"};
        if (c.kind != ConfigNotice::Kind::None) expected.push_back("notice");
        expected.push_back("banner (applied)");
        EXPECT_EQ(Run(c.variant), expected);
        if (c.kind == ConfigNotice::Kind::None) continue;
        ASSERT_EQ(notices.size(), 1u);
        EXPECT_EQ(notices[0].kind, c.kind);
        EXPECT_EQ(notices[0].text, "Quillmar 1.23 is out.\r\nGet it now?\r\n");
        EXPECT_EQ(notices[0].url, c.url ? site + "/download.html" : "");
    }
}

TEST_F(ServiceLinkTest, HostileValuesAreRefusedAndTouchNothingOutsideTheirPlace) {
    const std::string options = "$PROXY_Mode = 0\r\n";
    ASSERT_TRUE(TMisc::CreatePath(root + "/Options") && WriteFileAtomic(root + "/Options/Configuration.ini", options));
    Run("hostile");
    EXPECT_TRUE(link->Applied());
    const std::vector<std::string> expected = {"$HOMESITE",  "$UPDATE_URL", "$WHOIS_URL",        "$FRONT_URL",
                                               "$FRONT_GIF", "$BFGU_GOTO",  "$PUB[1].SET word 6", "$PUB[1].SET word 7"};
    EXPECT_EQ(refusedKeys, expected);
    EXPECT_EQ(link->FrontState(), ServiceLink::Front::Refused);
    EXPECT_EQ(Read(root + "/Options/Configuration.ini"), options);
    EXPECT_FALSE(QDir(QString::fromStdString(root + "/GFX")).exists());
    ASSERT_EQ(notices.size(), 1u);
    EXPECT_EQ(notices[0].url, "");  // nothing to open
    const RemoteConfig &c = CurrentServiceConfig();
    const BannerSlotConfig *slot = BannerSlotOf(c, 1);
    ASSERT_NE(slot, nullptr);
    EXPECT_EQ(c.homeSite + c.whoisUrl + c.gotoServe + slot->banner + slot->click, "");
    EXPECT_EQ(ExportHomeSite(), site + "/");  // the built-in address
}

TEST_F(ServiceLinkTest, AppliedValuesReachTheEnginesTheExportAndTheWhoisSearch) {
    const std::vector<EngineDescriptor> before = BuildWebEngineTable();
    const int go = FindWebEngineByName(before, "GOTO"), fw = FindWebEngineByName(before, "FindWhat");
    ASSERT_TRUE(go >= 0 && fw >= 0);
    Run("engines");
    const std::vector<EngineDescriptor> t = BuildWebEngineTable();
    EXPECT_EQ(t[go].sponsoredServe, site + "/goto/serve?id=7");
    EXPECT_EQ(t[go].sponsoredClick, site + "/goto/click?id=7&Keywords=<$QRY>");
    EXPECT_EQ(t[fw].templateAll + " " + t[fw].templateAny + " " + t[fw].templateExact + " " + t[fw].templateBool,
              site + "/fw?all=<$QRY> " + site + "/fw?any=<$QRY> " + site + "/fw?exact=<$QRY> " + site + "/fw?bool=<$QRY>");
    const EngineDescriptor smartGoto = BuildSmartEngineTable()[kSmartGotoSlot];
    EXPECT_EQ(smartGoto.sponsoredServe + smartGoto.sponsoredClick, t[go].sponsoredServe + t[go].sponsoredClick);
    EXPECT_EQ(CurrentServiceConfig().whoisSponsor, site + "/register?domain=<$DOMAIN>");
    EXPECT_EQ(ExportHomeSite(), site + "/");
    const ResultTemplates &r = CurrentResultTemplates();
    EXPECT_EQ(r.end, "</table><p>Found with Quillmar</p></BODY></HTML>\r\n");
    EXPECT_NE(r.header.find("<TITLE>Quillmar results</TITLE>"), std::string::npos);
    EXPECT_NE(r.line.find("<$URL>"), std::string::npos);

    // Nothing applied: the built-in rows and templates again.
    ResetServiceConfig();
    const std::vector<EngineDescriptor> after = BuildWebEngineTable();
    EXPECT_EQ(after[go].sponsoredServe + after[fw].templateAll, before[go].sponsoredServe + before[fw].templateAll);
    EXPECT_EQ(CurrentResultTemplates().end, BuiltInResultTemplates().end);
}

}  // namespace
