// Whole forum and MP3 searches over the fake web through the real HTTP client: every engine
// contributes, further pages are followed, EZBoard is never asked, failing engines, Stop, a
// new search, recall while running, caches and the header texts.
#include "engines/vertical/ForumMp3Search.h"
#include "engines/web/HttpClientAdapter.h"
#include "fakeweb/Server.h"
#include "support/SharedFakeWeb.h"
#include "net/NetConfig.h"
#include "net/ServiceHosts.h"

#include <QCoreApplication>
#include <QEvent>
#include <QFile>
#include <QTemporaryDir>
#include <QTimer>
#include <fstream>
#include <gtest/gtest.h>
#include <set>

namespace qm {
namespace {

fakeweb::Server &Web() { return test::SharedFakeWeb(); }

class ForumMp3 : public ::testing::Test {
protected:
    void SetUp() override {
        ResetServiceHosts();
        SetConnectTo("");
        RouteServiceHostsTo(Web().port());
        host.makeClient = MakeHttpClientFactory();
        host.dataRoot = [this] { return dir.path().toStdString(); };
        host.mute = [] { return true; };
    }
    void TearDown() override {
        searches.clear();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        RouteServiceHostsTo(0);
    }
    PlainVerticalSearch &Make(const PlainVerticalKind &kind) {
        searches.push_back(std::make_unique<PlainVerticalSearch>(kind, host));
        return *searches.back();
    }
    void WhenTrue(std::function<bool()> ready, std::function<void()> action) {
        auto *timer = new QTimer;
        QObject::connect(timer, &QTimer::timeout, [timer, ready, action] {
            if (!ready()) return;
            timer->stop();
            timer->deleteLater();
            action();
        });
        timer->start(0);
    }
    static const EngineReport &Engine(PlainVerticalSearch &s, const std::string &name) {
        for (const auto &r : s.Controller().Report())
            if (r.name == name) return r;
        static EngineReport none;
        ADD_FAILURE() << "no engine " << name;
        return none;
    }
    static std::set<std::string> Urls(PlainVerticalSearch &s) {
        std::set<std::string> out;
        for (const auto &r : s.List().Rows()) out.insert(r.subItems[kFrmUrl]);
        return out;
    }

    QTemporaryDir dir;
    VerticalHost host;
    std::vector<std::unique_ptr<PlainVerticalSearch>> searches;
};

TEST_F(ForumMp3, EveryEngineContributesAndFollowsPages) {
    struct Want {
        const char *name;
        int pages;
    };
    const std::pair<const PlainVerticalKind *, std::vector<Want>> kinds[] = {
        {&ForumKind(), {{"Delphi Center", 3}, {"Yahoo groups", 3}, {"Topica", 3}, {"BoardServer", 1}}},
        {&Mp3Kind(), {{"KaZaA", 1}, {"AVFind", 3}}},
    };
    for (const auto &[kind, wants] : kinds) {
        auto &one = Make(*kind);
        one.Controller().Start("jazz");
        for (const auto &w : wants) {
            const auto &r = Engine(one, w.name);
            EXPECT_EQ(r.status, "ok") << w.name;
            EXPECT_GE(r.pages, w.pages) << w.name;
            EXPECT_GT(r.results, 0) << w.name;
        }
        // Different queries give different, overlapping lists.
        auto &two = Make(*kind);
        two.Controller().Start("jazz blues");
        const auto a = Urls(one), b = Urls(two);
        EXPECT_GT(b.size(), a.size());
        EXPECT_TRUE(std::includes(b.begin(), b.end(), a.begin(), a.end()));
    }
    auto &f = Make(ForumKind());
    f.Controller().Start("folk");
    EXPECT_EQ(Engine(f, "EZBoard").status, "disabled");
    EXPECT_EQ(Engine(f, "EZBoard").pages, 0);
    for (const auto &r : f.List().Rows()) EXPECT_NE(r.subItems[kFrmSource], "EZBoard");
    auto &m = Make(Mp3Kind());
    m.Controller().Start("folk");
    for (const auto &r : m.List().Rows()) {
        EXPECT_EQ(r.subItems[kMp3Url].find("Script"), std::string::npos);
        if (r.subItems[kMp3Source] == "AVFind") EXPECT_GE(AvFindSizeNumber(r.subItems[kMp3Size]), 1);
    }
}

TEST_F(ForumMp3, FailingEnginesLeaveTheOthersRows) {
    auto &f = Make(ForumKind());
    f.Controller().Start("fail500 rock");
    EXPECT_EQ(Engine(f, "Yahoo groups").status, "http 500");
    EXPECT_GT(Engine(f, "Delphi Center").results, 0);
    auto &g = Make(ForumKind());
    WhenTrue([&] {
        for (int slot : {0, 2, 4})
            if (g.Controller().Engine(slot) && g.Controller().Engine(slot)->Busy()) return false;
        return g.List().Count() > 0;
    }, [&] { g.Press(""); });
    g.Controller().Start("failnever rock");
    EXPECT_EQ(Engine(g, "Topica").status, "aborted");
    EXPECT_GT(Engine(g, "BoardServer").results, 0);
    EXPECT_GT(Engine(g, "Yahoo groups").results, 0);
}

TEST_F(ForumMp3, StopNewSearchAndRecallWhileRunning) {
    auto &m = Make(Mp3Kind());
    m.Controller().Start("cached tune");
    const int cached = m.List().Count();
    WhenTrue([&] { return m.List().Count() >= 1; }, [&] { m.Press("ignored"); });
    m.Press("first");
    EXPECT_FALSE(m.Controller().Running());
    WhenTrue([&] { return m.List().Count() >= 1; }, [&] { m.EnterPressed("second"); });
    m.Press("first");
    EXPECT_EQ(m.Controller().CurrentQuery(), "second");
    EXPECT_NE(m.List().Row(0).subItems[kMp3Title].find("Second"), std::string::npos);
    // Recall of a cached query while a search runs ends that search and shows the cache.
    SearchResultCache::Recall recall{};
    WhenTrue([&] { return m.List().Count() >= 1; }, [&] { recall = m.Recall("cached tune"); });
    m.Press("third");
    EXPECT_EQ(recall, SearchResultCache::Recall::Loaded);
    EXPECT_FALSE(m.Controller().Running());
    EXPECT_EQ(m.List().Count(), cached);
}

TEST_F(ForumMp3, CacheRoundTripAndNames) {
    const std::string root = dir.path().toStdString() + "/Cache/";
    for (const auto *kind : {&ForumKind(), &Mp3Kind()}) {
        auto &s = Make(*kind);
        s.Controller().Start("../up/x z");
        auto &again = Make(*kind);
        EXPECT_EQ(again.Recall("../up/x z"), SearchResultCache::Recall::Loaded);
        ASSERT_EQ(again.List().Count(), s.List().Count());
        EXPECT_EQ(again.List().Row(3).subItems, s.List().Row(3).subItems);
        EXPECT_FALSE(QFile::exists(QString::fromStdString(dir.path().toStdString() + "/up")));
        ASSERT_TRUE(s.Cache().Write(s.List().Rows(), "../x?y", true));
        EXPECT_EQ(s.Cache().PathFor("../x?y").rfind(root + kind->cacheFolder + "/", 0), 0u);
        EXPECT_EQ(again.Recall("../x?y"), SearchResultCache::Recall::Loaded);
        EXPECT_EQ(again.List().Count(), s.List().Count());
        const std::string empty = root + kind->cacheFolder + "/" + kind->cacheExtension;
        std::ofstream(empty) << "x";
        EXPECT_EQ(again.Recall(" "), SearchResultCache::Recall::DeletedEmptyName);
        EXPECT_FALSE(QFile::exists(QString::fromStdString(empty)));
        // "Nothing found" is shown but never cached.
        s.Controller().Start("nothing here");
        ASSERT_EQ(s.List().Count(), 1);
        EXPECT_EQ(s.List().Row(0).subItems[0], "Nothing found for < nothing+here >...");
        EXPECT_EQ(again.Recall("nothing here"), SearchResultCache::Recall::Loaded);
        EXPECT_EQ(again.List().Count(), 0);
    }
}

TEST_F(ForumMp3, HeaderTextsAndFilterColumns) {
    struct Case {
        const PlainVerticalKind *kind;
        const char *none, *one, *many;
        size_t filtered;
    };
    for (const Case &c : {Case{&ForumKind(), "Forum", "1 Forum", "2 Forums", 4},
                          Case{&Mp3Kind(), "Title", "1 Title", "2 Titles", 5}}) {
        auto &s = Make(*c.kind);
        EXPECT_EQ(s.List().CountHeaderText().toStdString(), c.none);
        ResultRow r;
        r.subItems = {"a", "b", "c", "d", "http://x.example/1"};
        s.List().AppendRow(r);
        EXPECT_EQ(s.List().CountHeaderText().toStdString(), c.one);
        r.subItems[kFrmUrl] = "http://x.example/2";
        s.List().AppendRow(r);
        EXPECT_EQ(s.List().CountHeaderText().toStdString(), c.many);
        EXPECT_EQ(s.List().FilterColumns().size(), c.filtered);
        EXPECT_EQ(s.RowAddress(0), "http://x.example/1");
        s.List().SetSubItem(1, kFrmUrl, "javascript:alert(1)");
        EXPECT_EQ(s.RowAddress(1), "");
    }
}

}  // namespace
}  // namespace qm
