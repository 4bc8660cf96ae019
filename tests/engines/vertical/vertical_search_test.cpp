// Whole newsgroup and software searches over the fake web through the real HTTP client:
// addresses, limits, Stop, a new search, closing, failing engines, caches, export, the
// Download and Visit actions and the filter columns.
#include "engines/vertical/VerticalFeatures.h"
#include "engines/web/HttpClientAdapter.h"
#include "fakeweb/Server.h"
#include "support/SharedFakeWeb.h"
#include "net/NetConfig.h"
#include "net/ServiceHosts.h"
#include "search/InListFilterModel.h"

#include <QCoreApplication>
#include <QEvent>
#include <QTemporaryDir>
#include <QTimer>
#include <fstream>
#include <gtest/gtest.h>
#include <sstream>

namespace qm {
namespace {

fakeweb::Server &Web() { return test::SharedFakeWeb(); }

class Vertical : public ::testing::Test {
protected:
    void SetUp() override {
        ResetServiceHosts();
        SetConnectTo("");
        RouteServiceHostsTo(Web().port());
        host.makeClient = MakeHttpClientFactory();
        host.dataRoot = [this] { return dir.path().toStdString(); };
        host.playSound = [this](const std::string &s) { sounds.push_back(s); };
        host.alert = [this](const std::string &s) { alerts.push_back(s); };
    }
    void TearDown() override {
        news.reset();
        prg.reset();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        RouteServiceHostsTo(0);
    }
    NewsSearch &News() {
        news = std::make_unique<NewsSearch>(host, [this] { return options; });
        return *news;
    }
    SoftwareSearch &Prg() {
        prg = std::make_unique<SoftwareSearch>(host);
        prg->Act().open = [this](const std::string &a) { opened.push_back(a); };
        prg->Act().itemsEnabled = [this](bool on) { itemsOn = on; };
        return *prg;
    }
    // Runs `action` from the event loop once `ready` holds.
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
    int Rows(ResultListModel &l) {
        int n = 0;
        for (const auto &r : l.Rows()) n += !r.caption.empty();
        return n;
    }

    QTemporaryDir dir;
    VerticalHost host;
    NewsOptions options;
    std::unique_ptr<NewsSearch> news;
    std::unique_ptr<SoftwareSearch> prg;
    std::vector<std::string> sounds, alerts, opened;
    bool itemsOn = true;
};

TEST_F(Vertical, AddressesOfBothKinds) {
    const auto newsRow = BuildNewsEngineTable()[0];
    NewsRestriction r{true, " comp.* ", 10};
    EXPECT_EQ(NewsFirstAddress(newsRow, "big+cat", r),
              "http://groups.google.example/groups?q=big+cat&as_ugroup=comp.*&num=30&lr=lang_de");
    r.open = false;
    EXPECT_EQ(NewsFirstAddress(newsRow, "a&b", r), "http://groups.google.example/groups?q=a%26b&num=30&lr=");
    EXPECT_EQ(NewsLanguageCode(27), "");
    EXPECT_EQ(NewsLanguageCode(26), "lang_sv");
    auto table = BuildSoftwareEngineTable();
    SetSoftwareSearchMode(table, SearchMode::Exact);
    EXPECT_NE(SoftwareFirstAddress(table[0], "word1+word2").find("qt=+%22word1+AND+word2%22&tg="), std::string::npos);
    EXPECT_NE(SoftwareFirstAddress(table[1], "w").find("word=+%22w%22&do=search&fromref=http%3A%2F%2Fwww.quillmar."
                                                       "example%2F&platform=%25&key=all"),
              std::string::npos);
}

TEST_F(Vertical, NewsRestrictionReachesTheService) {
    auto &n = News();
    n.Restriction() = {true, "comp.*", 10};
    n.Controller().Start("big cat");
    ASSERT_GT(Rows(n.List()), 20);
    EXPECT_EQ(n.List().Row(0).subItems[kNewsGroups], "comp.*");
    EXPECT_NE(n.List().Row(0).subItems[kNewsDescription].find("lang_de"), std::string::npos);
    EXPECT_EQ(n.Controller().Report()[0].pages, 5);
    EXPECT_EQ(sounds, (std::vector<std::string>{"/Sounds/Start.wav", "/Sounds/Stop.wav"}));
}

TEST_F(Vertical, NewsLimits) {
    struct Case {
        long max;
        int mode;
        int rows;
    } cases[] = {{1, 0, 1}, {0, 0, 1}, {2, 1, 2}};
    for (const auto &c : cases) {
        options.maximum = c.max;
        options.resultMode = c.mode;
        auto &n = News();
        n.Controller().Start("lim");
        EXPECT_EQ(Rows(n.List()), c.rows) << c.max << " " << c.mode;
        if (c.mode == 1) {  // per engine: the queued pages are fetched, none is read
            EXPECT_EQ(n.Controller().Report()[0].pages, 4);
            EXPECT_EQ(n.Controller().Report()[0].status, "stopped");
        }
    }
}

TEST_F(Vertical, StopNewSearchAndClosing) {
    auto &p = Prg();
    WhenTrue([&] { return p.List().Count() >= 3; }, [&] { p.Press("ignored"); });
    p.Press("first");
    EXPECT_FALSE(p.Controller().Running());
    EXPECT_LT(Rows(p.List()), 34);
    EXPECT_EQ(p.Controller().SearchesEnded(), 1);

    WhenTrue([&] { return p.List().Count() >= 2; }, [&] { p.EnterPressed("second"); });
    p.Press("first");
    EXPECT_EQ(p.Controller().SearchesEnded(), 3);
    EXPECT_EQ(p.Controller().CurrentQuery(), "second");
    EXPECT_EQ(Rows(p.List()), 34);
    EXPECT_NE(p.List().Row(0).subItems[kPrgName].find("second"), std::string::npos);

    sounds.clear();
    WhenTrue([&] { return p.List().Count() >= 1; }, [&] { p.Close(); });
    p.Press("third");
    EXPECT_FALSE(p.Controller().Running());
    EXPECT_EQ(sounds, std::vector<std::string>{"/Sounds/Start.wav"});  // no stop sound while closing
}

TEST_F(Vertical, OneEngineFailsTheOtherGoesOn) {
    for (const char *q : {"fail500", "failnever"}) {
        auto &p = Prg();
        if (std::string(q) == "failnever")
            WhenTrue([&] { return p.Controller().Engine(1) == nullptr || !p.Controller().Engine(1)->Busy(); },
                     [&] { p.Press(""); });
        p.Controller().Start(q);
        EXPECT_EQ(Rows(p.List()), 17) << q;
        EXPECT_EQ(p.Controller().Report()[0].status, std::string(q) == "fail500" ? "http 500" : "aborted");
        EXPECT_EQ(p.Controller().Report()[1].status, "ok");
    }
}

TEST_F(Vertical, CachesWrittenAndRecalled) {
    const std::string newsFile = dir.path().toStdString() + "/Cache/NEWSSearch/two+words.newssearch";
    for (int mode : {0, 1, 2}) {
        options.cacheMode = mode;
        options.useDiskCache = true;
        auto &n = News();
        n.Controller().Start("two words");
        EXPECT_TRUE(QFile::exists(QString::fromStdString(newsFile)));
        const int count = n.List().Count();
        auto again = std::make_unique<NewsSearch>(host, [this] { return options; });  // a second run
        const auto recall = again->Recall("two words");
        EXPECT_EQ(recall, mode == 0 ? SearchResultCache::Recall::Loaded : SearchResultCache::Recall::Nothing) << mode;
        EXPECT_EQ(again->List().Count(), mode == 0 ? count : 0);
        if (mode == 0) EXPECT_EQ(again->List().Row(0).subItems, n.List().Row(0).subItems);
    }
    options.cacheMode = 0;
    options.useDiskCache = false;
    QFile::remove(QString::fromStdString(newsFile));
    News().Controller().Start("two words");
    EXPECT_FALSE(QFile::exists(QString::fromStdString(newsFile)));
    // An empty box deletes the file of the empty name.
    std::ofstream(dir.path().toStdString() + "/Cache/NEWSSearch/.newssearch") << "x";
    EXPECT_EQ(news->Recall("  "), SearchResultCache::Recall::DeletedEmptyName);

    auto &p = Prg();
    p.Controller().Start("soft cache");
    auto other = std::make_unique<SoftwareSearch>(host);
    EXPECT_EQ(other->Recall("soft cache"), SearchResultCache::Recall::Loaded);
    ASSERT_EQ(other->List().Count(), p.List().Count());
    EXPECT_EQ(other->List().Row(20).subItems, p.List().Row(20).subItems);  // HomePage kept
}

TEST_F(Vertical, NothingFoundAndExport) {
    auto &n = News();
    n.Restriction().language = 3;
    // The service finds no article for "nothing": its page has no "Sorted by ".
    n.Controller().Start("nothing at all");
    ASSERT_EQ(n.List().Count(), 1);
    EXPECT_EQ(n.List().Row(0).caption, "");
    EXPECT_EQ(n.List().Row(0).subItems, (std::vector<std::string>{"Nothing found for < nothing+at+all >...", "", "", "", ""}));
    n.Controller().Start("<b>tag</b>");
    const std::string file = dir.path().toStdString() + "/out.htm";
    ASSERT_TRUE(n.ExportPage(file));
    std::stringstream page;
    page << std::ifstream(file).rdbuf();
    EXPECT_EQ(page.str().find("<b>tag"), std::string::npos);  // escaped
    EXPECT_NE(page.str().find("http://groups.google.example/groups?q="), std::string::npos);
    EXPECT_EQ(page.str().find("<$ENGINE_URL>"), std::string::npos);
    EXPECT_EQ(page.str().substr(page.str().size() - 22), "</table></body></html>");
}

TEST_F(Vertical, DownloadAndVisit) {
    auto &p = Prg();
    p.Controller().Start("tools");
    auto rowOf = [&](const std::string &source, const std::string &urlEnd) {
        for (int i = 0; i < p.List().Count(); ++i) {
            const auto &s = p.List().Row(i).subItems;
            if (s[kPrgSource] == source && s[kPrgUrl].find(urlEnd) != std::string::npos) return i;
        }
        return -1;
    };
    auto wait = [&] {
        while (p.DetailBusy()) QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    };
    const int cow = rowOf("TuCows", "/files/2.html");
    ASSERT_GE(cow, 0);
    p.Download(cow);
    p.Visit(cow);
    EXPECT_EQ(opened, (std::vector<std::string>{"http://www.tucows.example/files/2.html", "http://author2.example/"}));
    opened.clear();
    const int cnet = rowOf("C|NET", "/0-1001.");
    p.Download(cnet);
    EXPECT_FALSE(itemsOn);
    wait();
    EXPECT_TRUE(itemsOn);
    p.Visit(cnet);
    wait();
    EXPECT_EQ(opened, (std::vector<std::string>{"http://download.cnet.example/downloads/get/1.exe",
                                                "http://download.cnet.example/author/1"}));
    // A detail page without a download link opens nothing and says so.
    opened.clear();
    p.Download(rowOf("C|NET", "/0-1003."));
    wait();
    EXPECT_TRUE(opened.empty());
    ASSERT_EQ(alerts.size(), 1u);
    EXPECT_TRUE(itemsOn);
    // A failed request re-enables the items too; a new request drops a running one.
    p.RequestDetail("http://download.cnet.example/nothing-here", DetailAction::Download);
    p.RequestDetail("http://download.cnet.example/downloads/0-1004.html", DetailAction::Opinions);
    wait();
    EXPECT_EQ(opened, std::vector<std::string>{"http://download.cnet.example/opinions/4"});
    EXPECT_TRUE(itemsOn);
}

TEST_F(Vertical, FilterColumns) {
    auto &n = News();
    n.Controller().Start("cats");
    // Newsgroups ("alt.cats") and Address are not compared; Title and Description are.
    EXPECT_EQ(ApplyInListFilter(n.List(), "alt.", FilterMode::Exact), 0u);
    EXPECT_EQ(ApplyInListFilter(n.List(), "selm", FilterMode::Exact), 0u);
    EXPECT_EQ(ApplyInListFilter(n.List(), "article reply", FilterMode::All), 0u);  // not within one column
    EXPECT_EQ(ApplyInListFilter(n.List(), "posted reply", FilterMode::All), size_t(Rows(n.List())));
    auto &p = Prg();
    p.Controller().Start("cats");
    EXPECT_EQ(ApplyInListFilter(p.List(), "author1.example", FilterMode::Exact), 0u);  // HomePage
    EXPECT_EQ(ApplyInListFilter(p.List(), "2000 KB", FilterMode::Exact), 16u);       // Size
    EXPECT_EQ(ApplyInListFilter(p.List(), "rated  ", FilterMode::Exact), 17u);  // TuCows comments only
}

}  // namespace
}  // namespace qm
