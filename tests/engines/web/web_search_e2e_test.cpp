// Whole web searches over the fake web through the real HTTP client and the built-in
// readers: every engine contributes, duplicates across engines are refused, the limits
// hold, and Stop, a new search, closing, silent, failing, garbage and huge answers are
// all survived.
#include "net/CookieStore.h"
#include "engines/web/HttpClientAdapter.h"
#include "engines/web/WebEngineTable.h"
#include "engines/web/WebSearchController.h"
#include "fakeweb/Server.h"
#include "support/SharedFakeWeb.h"
#include "net/NetConfig.h"
#include "net/ServiceHosts.h"
#include "search/ExpandQuery.h"
#include "search/SiteMerge.h"
#include "service/RemoteConfig.h"

#include <QCoreApplication>
#include <QEvent>
#include <QTimer>
#include <atomic>
#include <gtest/gtest.h>
#include <mutex>
#include <set>

namespace qm {
namespace {

// What the misbehaving host answers.
enum class Misbehaviour { Silent, Status500, Garbage, Huge, Record };

struct OddWeb {
    std::atomic<int> mode{0};
    std::mutex mutex;
    std::vector<fakeweb::Request> seen;
};

OddWeb &Odd() {
    static OddWeb odd;
    return odd;
}

fakeweb::Server &Web() { return test::SharedFakeWeb(); }

// A second server for one engine at a time, answering as Odd().mode says.
fakeweb::Server &OddServer() {
    static fakeweb::Server server(fakeweb::Server::Options{0, "", "", false});
    static bool started = false;
    if (!started) {
        for (const auto &key : WebEngineHostKeys())
            server.addService(key, [](const fakeweb::Request &r) -> std::optional<fakeweb::Response> {
                auto &odd = Odd();
                {
                    std::lock_guard lock(odd.mutex);
                    odd.seen.push_back(r);
                }
                switch (Misbehaviour(odd.mode.load())) {
                case Misbehaviour::Silent: {
                    fakeweb::Response res;
                    res.silent = true;
                    return res;
                }
                case Misbehaviour::Status500: return fakeweb::Response::Html("<dl><dt>oops", 500);
                case Misbehaviour::Garbage: {
                    std::string junk(300000, '\0');
                    unsigned x = 12345;
                    for (char &c : junk) c = char((x = x * 1103515245u + 12345u) >> 16);
                    return fakeweb::Response::Html(junk);
                }
                case Misbehaviour::Huge: {
                    // Four megabytes of text, then records in the Altavista layout.
                    std::string page(4 << 20, 'x');
                    for (size_t i = 80; i < page.size(); i += 81) page[i] = '\n';
                    for (int k = 0; k < 5; ++k)
                        page += "<dl><dt><a href=\"http://huge" + std::to_string(k) +
                                ".example/\">Huge " + std::to_string(k) + "</a><dd>d<s>\n";
                    return fakeweb::Response::Html(page);
                }
                case Misbehaviour::Record:
                    return fakeweb::Response::Html("<html>recorded</html>");
                }
                return std::nullopt;
            });
        EXPECT_TRUE(server.start(0));
        started = true;
    }
    return server;
}

class E2E : public ::testing::Test {
protected:
    void SetUp() override {
        ResetServiceHosts();
        SetConnectTo("");
        RouteServiceHostsTo(Web().port());
        {
            std::lock_guard lock(Odd().mutex);
            Odd().seen.clear();
        }
        settings.engineEnabled.assign(kWebEngineCount, true);
        env.settings = [this] { return settings; };
        env.makeClient = MakeHttpClientFactory();
        env.playSound = [this](const std::string &s) { sounds.push_back(s); };
        env.saveCache = [this](const std::string &) { ++saves; };
        env.cookies = &cookies;
        UseBuiltInReaders(env);
    }
    void TearDown() override {
        delete controller;
        controller = nullptr;
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        SetConnectTo("");
        RouteServiceHostsTo(0);
    }
    WebSearchController &Make() {
        controller = new WebSearchController(table, *list, env);
        return *controller;
    }
    // Sends one engine's host to the misbehaving server.
    void Misroute(int row, Misbehaviour m) {
        Odd().mode = int(m);
        AddConnectTo(ServiceHostFor(WebEngineHostKeys()[size_t(row)]) + ":80:127.0.0.1:" +
                     std::to_string(OddServer().port()));
    }
    void Only(std::initializer_list<int> rows) {
        settings.engineEnabled.assign(kWebEngineCount, false);
        for (int r : rows) settings.engineEnabled[size_t(r)] = true;
    }
    std::set<std::string> Addresses() const {
        std::set<std::string> out;
        for (int i = 0; i < list->Count(); ++i) out.insert(AsciiLower(list->AddressOf(i)));
        return out;
    }
    // Runs `action` once the list holds at least `rows` rows.
    void When(int rows, std::function<void()> action) {
        WhenTrue([this, rows] { return list->Count() >= rows; }, std::move(action));
    }
    // Runs `action` from the event loop once `ready` holds.
    void WhenTrue(std::function<bool()> ready, std::function<void()> action) {
        auto *timer = new QTimer(controller);
        QObject::connect(timer, &QTimer::timeout, [timer, ready, action] {
            if (ready()) {
                timer->stop();
                action();
            }
        });
        timer->start(0);
    }

    std::vector<EngineDescriptor> table = BuildWebEngineTable();
    std::unique_ptr<ResultListModel> list{ResultListModel::CreateWebList()};
    CookieStore cookies;
    WebSearchSettings settings;
    WebSearchEnvironment env;
    WebSearchController *controller = nullptr;
    std::vector<std::string> sounds;
    int saves = 0;
};

TEST_F(E2E, EveryEngineContributesWithoutDuplicates) {
    auto &c = Make();
    c.StartWebSearch("big cat");
    ASSERT_EQ(c.Report().size(), size_t(kWebEngineCount));
    int sum = 0;
    for (const auto &e : c.Report()) {
        EXPECT_GT(e.results, 0) << e.name;
        EXPECT_EQ(e.status, "ok") << e.name;
        sum += e.results;
    }
    EXPECT_EQ(list->Count(), sum);
    EXPECT_EQ(Addresses().size(), size_t(list->Count()));  // no address twice, ignoring case
    EXPECT_EQ(c.Report()[14].pages, 1);  // WebCrawler queues no further page
    EXPECT_GT(c.Report()[0].pages, 1);
    EXPECT_EQ(saves, 1);
    EXPECT_EQ(sounds.size(), 2u);
}

// The home site's configuration arrives seconds after the window built its engine table:
// the next search still uses its FindWhat templates and GOTO addresses.
TEST_F(E2E, ConfigurationAppliedAfterTheTableWasBuiltReachesTheNextSearch) {
    auto &c = Make();
    Only({3, 12});
    RemoteConfig config;
    config.findWhatAll = "http://" + ServiceHostFor("findwhat") + "/moved/results.asp?MT=<$QRY>";
    config.gotoServe = "http://" + ServiceHostFor("affiliate") + "/moved/serve";
    SetServiceConfig(config);
    c.StartWebSearch("big cat");
    ResetServiceConfig();
    ASSERT_EQ(c.Report().size(), size_t(kWebEngineCount));
    EXPECT_EQ(c.Report()[12].status, "http 404");  // the configured address, not the built-in one
    EXPECT_EQ(c.Report()[12].results, 0);
    EXPECT_EQ(c.Report()[3].results, 0);  // the affiliate chain started at the configured address
    EXPECT_EQ(c.Status().At(3).reason, "affiliate serve: HTTP 404");
}

TEST_F(E2E, DuplicatesAcrossEnginesAreRefused) {
    auto &c = Make();
    Only({0});
    c.StartWebSearch("big cat");
    auto a = Addresses();
    Only({1});
    c.StartWebSearch("big cat");
    auto b = Addresses();
    Only({0, 1});
    c.StartWebSearch("big cat");
    std::set<std::string> both = a;
    both.insert(b.begin(), b.end());
    ASSERT_LT(both.size(), a.size() + b.size()) << "the fake engines share no site for this query";
    EXPECT_EQ(Addresses(), both);
    EXPECT_EQ(size_t(list->Count()), both.size());
}

TEST_F(E2E, LimitsInTotalAndPerEngine) {
    auto &c = Make();
    settings.maxResults = "7";
    c.StartWebSearch("big cat");
    EXPECT_EQ(list->Count(), 7);
    EXPECT_EQ(c.SearchesEnded(), 1);

    settings.maxResults = "3";
    settings.resultMode = 1;
    c.StartWebSearch("big cat");
    int sum = 0;
    for (const auto &e : c.Report()) {
        EXPECT_EQ(e.results, 3) << e.name;
        sum += e.results;
    }
    EXPECT_EQ(list->Count(), sum);
}

TEST_F(E2E, StopDuringASearch) {
    auto &c = Make();
    When(5, [&] { c.Press("big cat"); });
    c.StartWebSearch("big cat");
    const int rows = list->Count();
    EXPECT_GE(rows, 5);
    EXPECT_EQ(c.SearchesEnded(), 1);
    EXPECT_EQ(std::count(sounds.begin(), sounds.end(), "/Sounds/Stop.wav"), 1);
    QCoreApplication::processEvents();  // late answers add nothing
    EXPECT_EQ(list->Count(), rows);
}

TEST_F(E2E, NewSearchStartedWhileOneRuns) {
    auto &c = Make();
    When(5, [&] { c.EnterPressed("zebra"); });
    c.StartWebSearch("big cat");
    EXPECT_EQ(c.SearchesEnded(), 2);
    EXPECT_EQ(c.CurrentQuery(), "zebra");
    ASSERT_GT(list->Count(), 0);
    for (const auto &r : list->Rows()) {
        EXPECT_EQ(r.subItems[kSite].find("big"), std::string::npos) << r.subItems[kSite];
        EXPECT_EQ(r.subItems[kSite].find("cat"), std::string::npos) << r.subItems[kSite];
    }
}

TEST_F(E2E, ClosingDuringASearch) {
    auto &c = Make();
    When(5, [&] {
        c.Close();
        delete controller;  // the window goes away at once
        controller = nullptr;
    });
    c.StartWebSearch("big cat");
    EXPECT_EQ(std::count(sounds.begin(), sounds.end(), "/Sounds/Stop.wav"), 0);
    EXPECT_EQ(saves, 1);
}

TEST_F(E2E, AnEngineThatNeverAnswers) {
    auto &c = Make();
    Misroute(5, Misbehaviour::Silent);
    Only({0, 5});
    // The others finish; the silent one keeps the search running until Stop.
    WhenTrue([&] { return c.Engine(0) && !c.Engine(0)->Busy(); }, [&] { c.Press("big cat"); });
    c.StartWebSearch("big cat");
    EXPECT_EQ(c.Report()[5].status, "aborted");
    EXPECT_EQ(c.Report()[0].status, "ok");
    EXPECT_GT(c.Report()[0].results, 0);
    // "In total" ends it as soon as the others reach the limit.
    settings.maxResults = "4";
    c.StartWebSearch("big cat");
    EXPECT_EQ(list->Count(), 4);
    EXPECT_EQ(c.Report()[5].status, "aborted");
}

TEST_F(E2E, FailingGarbageAndHugeAnswers) {
    auto &c = Make();
    Only({0, 1});
    Misroute(0, Misbehaviour::Status500);
    c.StartWebSearch("big cat");
    EXPECT_EQ(c.Report()[0].status, "http 500");
    EXPECT_EQ(c.Report()[0].results, 0);
    EXPECT_GT(c.Report()[1].results, 0);

    Odd().mode = int(Misbehaviour::Garbage);
    c.StartWebSearch("big cat");
    EXPECT_EQ(c.Report()[0].status, "error");
    EXPECT_EQ(c.Report()[0].error, kUnreadableReason);
    EXPECT_EQ(c.Report()[0].results, 0);
    EXPECT_GT(c.Report()[1].results, 0);

    Odd().mode = int(Misbehaviour::Huge);
    Only({0});
    c.StartWebSearch("big cat");
    EXPECT_EQ(c.Report()[0].results, 5);
    EXPECT_EQ(list->Row(4).subItems[kSite], "Huge 4");

    // Stop while the huge page is being read: the reader leaves at its next pump.
    bool pressed = false;
    auto *t = new QTimer(controller);
    QObject::connect(t, &QTimer::timeout, [&] {
        if (!pressed && c.Running() && c.Engine(0) && c.Engine(0)->Pages() == 1) {
            pressed = true;
            c.Press("big cat");
        }
    });
    t->start(0);
    c.StartWebSearch("big cat");
    EXPECT_TRUE(pressed);
    ASSERT_EQ(list->Count(), 1);  // the records at the end were never reached
    EXPECT_EQ(list->Row(0).caption, "");
    EXPECT_EQ(c.SearchesEnded(), 4);
}

TEST_F(E2E, SponsoredEngineGoesThroughTheAffiliateNetwork) {
    auto &c = Make();
    SetWebSearchMode(table, SearchMode::Exact);
    Only({2});
    Misroute(2, Misbehaviour::Record);  // the landing page records what it received
    c.StartWebSearch("big cat");
    std::lock_guard lock(Odd().mutex);
    // The HEAD request followed the redirections to the landing page; then the engine's
    // own client fetched it.
    ASSERT_EQ(Odd().seen.size(), 2u);
    EXPECT_EQ(Odd().seen[0].method, "HEAD");
    const auto &landing = Odd().seen[1];
    EXPECT_EQ(landing.method, "GET");
    EXPECT_EQ(landing.path, "/search.tmpl");
    EXPECT_NE(landing.query.find("search=+%22big+AND+cat%22"), std::string::npos) << landing.query;
    // Every cookie set along both redirections, each once.
    EXPECT_EQ(landing.header("Cookie"), "bfsite=40120018; bfmid=2904433; bftrack=1");
    EXPECT_EQ(landing.header("Referer"), table[2].homePage);
    // The program's cookie store got them too.
    EXPECT_EQ(cookies.HeaderFor("http://bfast.affiliate.example/"), "bfsite=40120018; bfmid=2904433; bftrack=1");
}

TEST_F(E2E, SponsoredEngineWithAFailingNetworkContributesNothing) {
    auto &c = Make();
    Only({3, 0});
    table[3].sponsoredServe += "&fail=503";
    c.StartWebSearch("big cat");
    EXPECT_EQ(c.Report()[3].results, 0);
    EXPECT_EQ(c.Report()[3].pages, 0);
    EXPECT_GT(c.Report()[0].results, 0);
    table = BuildWebEngineTable();
    table[3].sponsoredClick += "&fail=404";
    c.StartWebSearch("big cat");
    EXPECT_EQ(c.Report()[3].results, 0);
}

TEST_F(E2E, NoEngineReachedKeepsTheEarlierCache) {
    auto &c = Make();
    RouteServiceHostsTo(1);  // nobody listens there: every connection is refused
    c.StartWebSearch("big cat");
    EXPECT_EQ(saves, 0);  // a failed search writes no cache over an earlier one
    const EngineStatusModel &s = c.Status();
    EXPECT_TRUE(s.NoneReached());
    EXPECT_EQ(s.Finished(), kWebEngineCount);
    for (int i = 0; i < s.Count(); ++i) {
        EXPECT_EQ(s.At(i).state, EngineState::Failed) << s.At(i).name;
        const std::string expected = table[size_t(i)].IsSponsored() ? "affiliate serve: refused" : "refused";
        EXPECT_EQ(s.At(i).reason, expected) << s.At(i).name;
        EXPECT_EQ(c.Report()[size_t(i)].status, "error") << s.At(i).name;
    }
    EXPECT_EQ(SearchStatusText(s, false, 0), "No engine could be reached: check the connection or the proxy settings");

    // Every engine switched off: an empty result, written as the query's cache.
    Only({});
    c.StartWebSearch("big cat");
    EXPECT_EQ(saves, 1);
    EXPECT_EQ(c.Status().Taking(), 0);
}

TEST_F(E2E, MergingResultsOfTheSameSite) {
    auto &c = Make();
    c.StartWebSearch("big cat");
    const int plain = list->Count();
    int sitesTwice = 0;
    std::set<std::string> keys;
    for (const auto &r : list->Rows()) {
        sitesTwice += !keys.insert(SiteKey(r.subItems[kLocation])).second;
        EXPECT_EQ(SourceEngineCount(r.subItems[kSource]), 1);  // off: the list as it always was
    }
    ASSERT_GT(sitesTwice, 0) << "the fake engines list no site under two addresses";

    settings.mergeSameSite = true;
    c.StartWebSearch("big cat");
    std::set<std::string> mergedKeys;
    int counted = 0;
    for (const auto &r : list->Rows()) {
        EXPECT_TRUE(mergedKeys.insert(SiteKey(r.subItems[kLocation])).second) << r.subItems[kLocation];
        counted += SourceEngineCount(r.subItems[kSource]) - 1;
    }
    EXPECT_EQ(mergedKeys, keys);  // the same sites, each once
    EXPECT_EQ(list->Count(), plain - sitesTwice);
    int merged = 0;
    for (const auto &e : c.Status().Rows()) merged += e.merged;
    EXPECT_EQ(counted, merged);
    EXPECT_GE(merged, sitesTwice);

    list->SortByEngineCount(kSource);
    for (int i = 1; i < list->Count(); ++i)
        EXPECT_GE(SourceEngineCount(list->Row(i - 1).subItems[kSource]),
                  SourceEngineCount(list->Row(i).subItems[kSource]));
}

TEST_F(E2E, FailureReasonsPerEngine) {
    auto &c = Make();
    Only({0, 1, 3});
    Misroute(0, Misbehaviour::Status500);
    table[3].sponsoredServe += "&fail=503";  // the affiliate chain of a sponsored engine
    c.StartWebSearch("big cat");
    EXPECT_EQ(c.Status().At(0).reason, "HTTP 500");
    EXPECT_EQ(c.Status().At(3).reason, "affiliate serve: HTTP 503");
    EXPECT_EQ(c.Report()[3].status, "error");
    EXPECT_EQ(c.Status().At(1).state, EngineState::Done);
    EXPECT_GT(c.Status().At(1).bytes, 0);
    EXPECT_GE(c.Status().At(1).ms, 0);
    EXPECT_EQ(c.Status().Answered(), 1);
    EXPECT_EQ(saves, 1);
}

TEST_F(E2E, PagesPerEngineAreCapped) {
    auto &c = Make();
    Only({0});
    c.StartWebSearch("qmendlesspages");
    EXPECT_EQ(c.Report()[0].pages, PagedRequest::kMaxPages);
    EXPECT_EQ(c.Status().At(0).state, EngineState::Done);
    EXPECT_EQ(c.Status().At(0).note, "page limit");
}

// Hostile engine hosts: each engine ends on its own with its reason, the others' rows stay.
TEST_F(E2E, EnginesBoundedAgainstHostileHosts) {
    struct Case {
        fakeweb::Misbehave how;
        const char *reason;
    };
    const Case cases[] = {
        {fakeweb::Misbehave::Endless, "answer too large"},
        {fakeweb::Misbehave::Bomb, "answer too large"},
        {fakeweb::Misbehave::Silent, "time-out (no data)"},
    };
    HttpLimits limits;
    limits.maxSize = 1 << 20;
    limits.idleTimeout = 1;
    env.makeClient = MakeHttpClientFactory({}, [limits] { return limits; });
    for (const Case &k : cases) {
        fakeweb::Server::Options o;
        o.withServices = false;
        o.misbehave = k.how;
        fakeweb::Server hostile(o);
        ASSERT_TRUE(hostile.start(0));
        SetConnectTo("");
        RouteServiceHostsTo(Web().port());
        AddConnectTo(ServiceHostFor(WebEngineHostKeys()[0]) + ":80:127.0.0.1:" + std::to_string(hostile.port()));
        delete controller;
        controller = nullptr;
        auto &c = Make();
        Only({0, 1});
        c.StartWebSearch("big cat");
        EXPECT_EQ(c.Status().At(0).state, EngineState::Failed) << k.reason;
        EXPECT_EQ(c.Status().At(0).reason, k.reason);
        EXPECT_EQ(c.Report()[0].results, 0);
        EXPECT_GT(c.Report()[1].results, 0) << k.reason;
        EXPECT_LE(c.Status().At(0).bytes, limits.maxSize) << k.reason;
        hostile.stop();
    }
}

}  // namespace
}  // namespace qm
