// Updates over the fake web with the real client: one section, all sections, a failing page,
// Stop during the wait and during a parse, a group switch and closing during an update, and
// the cache files across a change of day.
#include "NewsTestUtil.h"
#include "engines/web/HttpClientAdapter.h"
#include "fakeweb/Server.h"
#include "net/NetConfig.h"
#include "news/DailyNews.h"
#include "search/EngineRegistry.h"

#include <QCoreApplication>
#include <QDate>
#include <QPointer>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace qm;
using qm::test::Headlines;

namespace {

class NewsUpdate : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(web.start(0));
        RouteServiceHostsTo(web.port(), "127.0.0.1", /*everyHost=*/true);
        const QDate d = QDate::currentDate();
        today = {d.year(), d.month(), d.day()};
        news = std::make_unique<DailyNews>(Env());
    }
    void TearDown() override {
        news.reset();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        RouteServiceHostsTo(0);
    }
    DailyNewsEnvironment Env() {
        DailyNewsEnvironment env;
        env.makeClient = MakeHttpClientFactory();
        const std::string folder = tmp.path().toStdString() + "/Cache/DailyNews";
        env.cacheFolder = [folder] { return folder; };
        env.today = [this] { return today; };
        env.alert = [this](const std::string &t) { alerts.push_back(t); };
        return env;
    }
    HeadlineList FileRows(int node) {
        HeadlineList rows;
        ReadNewsCache(news->CacheFileOf(node), rows);
        return rows;
    }
    // Runs `action` once, from the event loop, when `when` first holds after a status report.
    void OnceWhen(std::function<bool()> when, std::function<void()> action) {
        auto done = std::make_shared<bool>(false);
        QObject::connect(&news->Status(), &EngineStatusModel::statusChanged, news.get(), [=] {
            if (*done || !when()) return;
            *done = true;
            QMetaObject::invokeMethod(news.get(), action, Qt::QueuedConnection);
        });
    }
    bool AnyRows() {
        for (const auto &s : news->Status().Rows())
            if (s.rows > 0) return true;
        return false;
    }

    QTemporaryDir tmp;
    fakeweb::Server web;
    NewsDay today;
    std::vector<std::string> alerts;
    std::unique_ptr<DailyNews> news;
};

TEST_F(NewsUpdate, OneSectionIsFetchedParsedSavedAndShownAgainWithNewHeadlines) {
    news->ClickNode(0);
    EXPECT_FALSE(news->UpOneEnabled());
    news->PressUpdateOne();  // the root starts nothing
    EXPECT_TRUE(news->Started().empty());
    news->ClickNode(1);
    EXPECT_TRUE(news->UpOneEnabled());
    news->PressUpdateOne();
    EXPECT_FALSE(news->Updating());
    EXPECT_EQ(news->Started(), std::vector<int>{0});
    EXPECT_EQ(news->Image(1), NodeImage::Cached);
    EXPECT_EQ(news->Image(2), NodeImage::None);
    char name[64];
    std::snprintf(name, sizeof name, "/%04d%02d%02d_ABC World News.DailyNews", today.year, today.month, today.day);
    EXPECT_EQ(news->CacheFileOf(1), tmp.path().toStdString() + "/Cache/DailyNews" + name);
    const auto first = Headlines(news->Shown());
    EXPECT_EQ(first.size(), 12u);  // seven section links, a broken cell, four wire items
    EXPECT_EQ(Headlines(FileRows(1)), first);
    EXPECT_EQ(news->UpOneCaption(), "Update a section");
    EXPECT_TRUE(news->UpOneEnabled());
    EXPECT_EQ(news->SourceLabel(), "News brought to you by : ABC News");

    news->PressUpdateOne();
    EXPECT_NE(Headlines(news->Shown()), first);  // the page has a new edition
    const size_t requests = web.requestCount();
    news->ClickNode(2);
    news->ClickNode(1);  // from the file, without traffic
    EXPECT_EQ(Headlines(news->Shown()), Headlines(FileRows(1)));
    EXPECT_EQ(web.requestCount(), requests);
}

TEST_F(NewsUpdate, UpdateAllOfTheSpanishGroupStartsItsFiveChannels) {
    news->SelectNewsGroup(kSpanish);
    news->PressUpdateAll();
    EXPECT_EQ(news->Started(), (std::vector<int>{29, 30, 31, 32, 33}));
    for (int n = 1; n <= 5; ++n) {
        EXPECT_EQ(news->Image(n), NodeImage::Cached) << n;
        EXPECT_EQ(Headlines(FileRows(n)).size(), 7u) << n;
    }
    EXPECT_EQ(news->UpAllCaption(), "Update all");
    for (int i = 0; i < kNewsChannelCount; ++i) EXPECT_EQ(EngineRegistry::Instance().Get(SearchKind::DailyNews, i), nullptr);
}

TEST_F(NewsUpdate, SharedNodesCompleteByCounterOrSaveAfterEachChannel) {
    // HEALTH & LIFESTYLES: each channel saves, so the file holds both.
    news->ClickNode(4);
    news->PressUpdateOne();
    EXPECT_EQ(news->Started(), (std::vector<int>{3, 4}));
    int headers = 0;
    for (const auto &r : FileRows(4)) headers += r.url.empty() && !r.title.empty();
    EXPECT_EQ(headers, 2);
    // CANADA with one failing page: the node stays fetching and gets no file.
    news->SetChannelPage(39, PageRoot(news->Channels()[39].pageUrl) + "/fail/22/");
    news->ClickNode(9);
    news->PressUpdateOne();
    EXPECT_EQ(news->Started(), (std::vector<int>{37, 38, 39, 40, 41}));
    EXPECT_EQ(news->Image(9), NodeImage::Fetching);
    EXPECT_FALSE(TMisc::FileExists(news->CacheFileOf(9)));
    EXPECT_TRUE(news->Shown().empty());
    for (const ChannelOutcome &o : news->Outcomes()) EXPECT_EQ(o.status, o.index == 39 ? 503 : 200) << o.index;
    // Once all five answer, it completes after the fifth.
    news->SetChannelPage(39, BuildNewsChannelTable()[39].pageUrl);
    news->PressUpdateOne();
    EXPECT_EQ(news->Image(9), NodeImage::Cached);
    EXPECT_EQ(Headlines(FileRows(9)).size(), 35u);
}

TEST_F(NewsUpdate, StopDuringTheWaitAndDuringAParse) {
    OnceWhen([this] { return news->Status().Rows().size() && news->Updating(); }, [this] { news->PressUpdateAll(); });
    news->PressUpdateAll();
    EXPECT_FALSE(news->Updating());
    EXPECT_EQ(news->UpAllCaption(), "Update all");
    EXPECT_TRUE(news->UpAllEnabled());
    for (int i = 0; i < kNewsChannelCount; ++i) EXPECT_EQ(EngineRegistry::Instance().Get(SearchKind::DailyNews, i), nullptr);

    // Stop while the parser of WORLD NEWS pumps: what it had is saved as today's file.
    news = std::make_unique<DailyNews>(Env());
    OnceWhen([this] { return AnyRows(); }, [this] { news->PressUpdateOne(); });
    news->ClickNode(1);
    news->PressUpdateOne();
    EXPECT_FALSE(news->Updating());
    const HeadlineList rows = FileRows(1);
    ASSERT_GE(rows.size(), 6u);
    EXPECT_LT(Headlines(rows).size(), 12u);
    EXPECT_GT(Headlines(rows).size(), 0u);
    EXPECT_TRUE(rows.back().title.empty() && rows[rows.size() - 2].title.empty());
}

TEST_F(NewsUpdate, GroupSwitchAndClosingDuringAnUpdate) {
    OnceWhen([this] { return AnyRows(); }, [this] { news->SelectNewsGroup(kFrench); });
    news->PressUpdateAll();
    EXPECT_EQ(news->Group(), kFrench);
    EXPECT_EQ(news->TreeGroup(), kEnglish);  // the tree stays while the update runs
    news->SelectNewsGroup(kFrench);
    EXPECT_EQ(news->TreeGroup(), kFrench);
    EXPECT_TRUE(news->DateBar().find("   ") == 0);

    // The window closes and the controller goes while a parser pumps.
    news = std::make_unique<DailyNews>(Env());
    DailyNews *raw = news.get();
    QPointer<DailyNews> alive(raw);
    OnceWhen([this] { return AnyRows(); }, [this] {
        news->Close();
        news.reset();
    });
    raw->PressUpdateAll();
    EXPECT_TRUE(alive.isNull());
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    for (int i = 0; i < kNewsChannelCount; ++i) EXPECT_EQ(EngineRegistry::Instance().Get(SearchKind::DailyNews, i), nullptr);
}

TEST_F(NewsUpdate, CacheFilesBelongToTheirDayAndAFetchingNodeShowsNothingOfItsFile) {
    today = {2001, 5, 7};
    news->BuildSectionTree();
    EXPECT_EQ(news->DateBar(), "   May 7, 2001");
    news->SelectNewsGroup(kFrench);
    EXPECT_EQ(news->DateBar(), "   7 Mai 2001");
    news->SelectNewsGroup(kEnglish);
    news->ClickNode(2);
    news->PressUpdateOne();
    EXPECT_TRUE(news->CacheFileOf(2).find("/20010507_ABC Entertainment.DailyNews") != std::string::npos);
    today = {2001, 5, 8};
    news->BuildSectionTree();
    EXPECT_EQ(news->Image(2), NodeImage::None);
    EXPECT_FALSE(news->ShowSection(2));
    today = {2001, 5, 7};
    news->BuildSectionTree();
    EXPECT_EQ(news->Image(2), NodeImage::Cached);
    EXPECT_TRUE(news->ShowSection(2));

    // While node 2 is fetched again, its old file is neither shown nor loaded into its list.
    bool shown = true;
    size_t listed = 99;
    OnceWhen([this] { return news->Updating(); }, [&] {
        shown = news->ShowSection(2);
        listed = news->NodeList(2).size();
    });
    news->ClickNode(2);
    news->PressUpdateOne();
    EXPECT_FALSE(shown);
    EXPECT_EQ(listed, 0u);
    EXPECT_EQ(Headlines(news->Shown()).size(), 12u);  // one edition, not two

    // Control bytes never split a row of the file.
    HeadlineList list = {{"line\r\nbreak\x01", "http://u/1", "Chan", "US"}, {"next", "http://u/2", "Chan", "US"}};
    ASSERT_TRUE(news->SaveSectionFile(list, "Control"));
    HeadlineList back;
    ASSERT_TRUE(ReadNewsCache(NewsCacheFile(tmp.path().toStdString() + "/Cache/DailyNews", "Control", today), back));
    ASSERT_EQ(back.size(), 2u);
    EXPECT_EQ(back[0].title, "line  break ");
    EXPECT_EQ(back[1].url, "http://u/2");
    EXPECT_FALSE(news->SaveSectionFile({}, "Empty"));
}

}  // namespace
