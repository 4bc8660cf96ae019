// Smart searches over the fake web with the real HTTP client: both engines, further pages,
// duplicates across pages, both limits, Stop, a cached leaf opened during a search, a
// failing network (the earlier cache is kept), a search that finds nothing, and a leaf
// whose name holds "&".
#include "engines/web/HttpClientAdapter.h"
#include "fakeweb/Server.h"
#include "support/SharedFakeWeb.h"
#include "net/NetConfig.h"
#include "search/ResultCache.h"
#include "smart/CategoryTable.h"
#include "smart/SmartSearch.h"

#include <QCoreApplication>
#include <QEvent>
#include <QTemporaryDir>
#include <algorithm>
#include <gtest/gtest.h>
#include <set>

namespace qm {
namespace {

fakeweb::Server &Web() { return test::SharedFakeWeb(); }

// A port nothing listens on.
int ClosedPort() {
    fakeweb::Server s;
    EXPECT_TRUE(s.start(0));
    const int port = s.port();
    s.stop();
    return port;
}

class SmartSearchE2E : public ::testing::Test {
protected:
    void SetUp() override {
        RouteServiceHostsTo(Web().port(), "127.0.0.1", true);
        root = tmp.path().toStdString();
        list.reset(CreateSmartList());
        WebSearchEnvironment env;
        env.settings = [this] { return settings; };
        env.makeClient = MakeHttpClientFactory();
        env.alert = [this](const std::string &m) { alerts.push_back(m); };
        env.stopVerification = [this] { ++verificationStops; };
        controller = std::make_unique<SmartSearchController>(*list, env, root);
        settings.muteSounds = true;
    }
    void TearDown() override {
        controller.reset();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        RouteServiceHostsTo(0);
    }
    std::vector<ResultRow> Cached(const std::string &caption) {
        std::vector<ResultRow> rows;
        EXPECT_TRUE(LoadResultList(SmartCachePath(root, caption), rows)) << caption;
        return rows;
    }
    size_t DistinctAddresses() const {
        std::set<std::string> seen;
        for (const auto &r : list->Rows()) {
            std::string a = r.Address();
            std::transform(a.begin(), a.end(), a.begin(), [](unsigned char c) { return char(std::tolower(c)); });
            seen.insert(a);
        }
        return seen.size();
    }
    // Runs `step` once, posted when the list first holds `rows` rows (it then runs at the
    // reader's next pump, never inside the list's own notification).
    void WhenRows(int rows, std::function<void()> step) {
        auto fired = std::make_shared<bool>(false);
        QObject::connect(list.get(), &QAbstractItemModel::rowsInserted, controller.get(), [=, this] {
            if (*fired || list->Count() < rows) return;
            *fired = true;
            QMetaObject::invokeMethod(controller.get(), step, Qt::QueuedConnection);
        });
    }

    QTemporaryDir tmp;
    std::string root;
    std::unique_ptr<ResultListModel> list;
    std::unique_ptr<SmartSearchController> controller;
    WebSearchSettings settings;
    std::vector<std::string> alerts;
    int verificationStops = 0;
};

TEST_F(SmartSearchE2E, BothEnginesPagesDuplicatesAndTheLeafCache) {
    ASSERT_EQ(controller->OpenLeaf("Hard Drives", false), SmartSearchController::Opened::Searched);
    EXPECT_EQ(controller->SmartQuery(), "Hard+Drives");
    const auto &report = controller->Report();
    ASSERT_EQ(report.size(), 2u);
    EXPECT_EQ(report[0].name, "GOTO");
    EXPECT_NE(report[0].url.find("/bfast/click?"), std::string::npos);
    EXPECT_NE(report[0].url.find("&Keywords=Hard+Drives&Promo=befree"), std::string::npos);
    EXPECT_EQ(report[0].pages, 1);  // fetched, not read
    EXPECT_EQ(report[0].results, 0);
    EXPECT_EQ(report[1].name, "Google");
    EXPECT_NE(report[1].url.find("/search?as_q=Hard+Drives&num=20&btnG=Recherche+Google"), std::string::npos);
    EXPECT_GE(report[1].pages, 4);
    EXPECT_GT(report[1].figures.duplicates, 0);
    EXPECT_EQ(report[1].status, "done");
    ASSERT_GT(list->Count(), 16);
    EXPECT_EQ(DistinctAddresses(), size_t(list->Count()));
    for (const auto &r : list->Rows()) {
        EXPECT_EQ(r.subItems[kSmartCost], "");
        EXPECT_EQ(r.Address().rfind("http://", 0), 0u) << r.Address();  // redirectors resolved
        EXPECT_NE(r.subItems[kSite].find("hard drives"), std::string::npos);
    }
    EXPECT_TRUE(alerts.empty());

    // The cache, under the smart query's name; opening the leaf again shows it.
    const auto found = list->Rows();
    EXPECT_EQ(Cached("Hard Drives").size(), found.size());
    EXPECT_TRUE(SmartCacheExists(root, "Hard Drives"));
    list->Clear();
    EXPECT_EQ(controller->OpenLeaf("Hard Drives", false), SmartSearchController::Opened::Cache);
    EXPECT_EQ(controller->SearchesEnded(), 1);
    ASSERT_EQ(list->Count(), int(found.size()));
    EXPECT_EQ(list->Row(3).subItems, found[3].subItems);
    // The button always searches afresh.
    EXPECT_EQ(controller->OpenLeaf("Hard Drives", true), SmartSearchController::Opened::Searched);
    EXPECT_EQ(controller->SearchesEnded(), 2);
}

TEST_F(SmartSearchE2E, Limits) {
    settings.maxResults = "5";
    controller->StartSmartSearch("Hard Drives");
    EXPECT_EQ(list->Count(), 5);
    EXPECT_EQ(controller->Run().EndReason(), SearchEnd::Limit);

    settings.maxResults = "3";
    settings.resultMode = 1;  // per engine
    controller->StartSmartSearch("Tape Backup");
    EXPECT_EQ(list->Count(), 3);
    EXPECT_EQ(controller->Report()[1].results, 3);
    EXPECT_EQ(Cached("Tape Backup").size(), 3u);
}

TEST_F(SmartSearchE2E, StopAndACachedLeafDuringASearch) {
    WhenRows(3, [this] { EXPECT_EQ(controller->OpenLeaf("", true), SmartSearchController::Opened::StoppedSearch); });
    controller->StartSmartSearch("Hard Drives");
    EXPECT_FALSE(controller->Running());
    EXPECT_GE(list->Count(), 3);
    EXPECT_LT(list->Count(), 16);
    EXPECT_EQ(controller->Run().EndReason(), SearchEnd::Stopped);
    const int stopped = list->Count();
    EXPECT_EQ(Cached("Hard Drives").size(), size_t(stopped));

    // A search runs; the cached leaf is opened: the search ends and the cache shows.
    controller = std::make_unique<SmartSearchController>(*list, controller->Environment(), root);
    WhenRows(2, [this] { EXPECT_EQ(controller->OpenLeaf("Hard Drives", false), SmartSearchController::Opened::Cache); });
    controller->StartSmartSearch("Modems");
    EXPECT_FALSE(controller->Running());
    EXPECT_EQ(controller->SearchesEnded(), 1);
    EXPECT_EQ(list->Count(), stopped);
    EXPECT_NE(list->Row(0).subItems[kSite].find("hard drives"), std::string::npos);
    EXPECT_TRUE(SmartCacheExists(root, "Modems"));
}

TEST_F(SmartSearchE2E, FailingNetworkKeepsTheCacheAndNothingFoundWritesAnEmptyOne) {
    ASSERT_EQ(controller->OpenLeaf("Hard Drives", true), SmartSearchController::Opened::Searched);
    const size_t good = Cached("Hard Drives").size();
    ASSERT_GT(good, 0u);

    RouteServiceHostsTo(ClosedPort(), "127.0.0.1", true);
    ASSERT_EQ(controller->OpenLeaf("Hard Drives", true), SmartSearchController::Opened::Searched);
    EXPECT_EQ(controller->Status().Answered(), 0);
    EXPECT_EQ(controller->Report()[1].status, "failed");
    EXPECT_FALSE(controller->Report()[1].figures.error.empty());
    EXPECT_EQ(Cached("Hard Drives").size(), good);
    ASSERT_EQ(list->Count(), 1);
    EXPECT_EQ(list->Row(0).subItems[kSite], "Nothing found for < Hard+Drives >...");

    RouteServiceHostsTo(Web().port(), "127.0.0.1", true);
    ASSERT_EQ(controller->OpenLeaf("qmnothing here", true), SmartSearchController::Opened::Searched);
    EXPECT_GT(controller->Status().Answered(), 0);
    ASSERT_EQ(list->Count(), 1);
    EXPECT_EQ(list->Row(0).subItems[kSite], "Nothing found for < qmnothing+here >...");
    EXPECT_TRUE(SmartCacheExists(root, "qmnothing here"));
    EXPECT_TRUE(Cached("qmnothing here").empty());
}

TEST_F(SmartSearchE2E, LeafWithAmpersand) {
    ASSERT_EQ(controller->OpenLeaf("Arts & Crafts", true), SmartSearchController::Opened::Searched);
    EXPECT_EQ(controller->SmartQuery(), "Arts+&+Crafts");
    EXPECT_NE(controller->Report()[1].url.find("as_q=Arts+%26+Crafts&num=20"), std::string::npos);
    EXPECT_NE(controller->Report()[0].url.find("Keywords=Arts+%26+Crafts&Promo"), std::string::npos);
    ASSERT_GT(list->Count(), 0);
    EXPECT_NE(list->Row(0).subItems[kSite].find("arts crafts"), std::string::npos);  // both words searched
    EXPECT_TRUE(SmartCacheExists(root, "Arts & Crafts"));
}

TEST_F(SmartSearchE2E, Refusals) {
    controller->SetVerifying(true);
    controller->StartSmartSearch("Modems");
    ASSERT_EQ(alerts.size(), 1u);
    EXPECT_EQ(alerts[0], "You can't perform a search while the verification still running");
    // Opening a leaf while a verification runs stops the verification instead.
    EXPECT_EQ(controller->OpenLeaf("Modems", false), SmartSearchController::Opened::StoppedVerification);
    EXPECT_EQ(verificationStops, 1);
    EXPECT_EQ(controller->OpenLeaf("   ", true), SmartSearchController::Opened::Refused);
    ASSERT_EQ(alerts.size(), 2u);
    EXPECT_EQ(alerts[1], "You have not typed a search string yet\n\nSearch not started");
    EXPECT_EQ(controller->SearchesEnded(), 0);
}

}  // namespace
}  // namespace qm
