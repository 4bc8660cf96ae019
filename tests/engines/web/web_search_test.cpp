// The web search controller driven by scripted answers: merging, limits, paging, and the
// interleavings of Stop, a new search and closing with readers that pump events.
#include "ScriptedWeb.h"

#include "engines/web/WebEngineTable.h"
#include "search/ExpandQuery.h"

#include <QCoreApplication>
#include <QEvent>
#include <QTimer>
#include <gtest/gtest.h>
#include <sstream>

namespace qm {
namespace {

using test::ScriptedPage;
using test::ScriptedWeb;

// Reader of the scripted pages, one instruction per line:
//   P <url>            queue a result page
//   R <url> <title>    a result (dropped when the address is listed already)
//   HOOK               run the test's hook from the event loop, then pump
//   SLOW <url> <title> test the address, pump while 300 scripted ms pass (a long record),
//                      then add it
std::function<void()> g_hook;
ScriptedWeb *g_web = nullptr;

void TestLinkReader(int, std::string_view page, ReaderSink &sink) {
    if (!sink.KeepReading()) return;
    std::istringstream in{std::string(page)};
    std::string line;
    while (std::getline(in, line))
        if (line.rfind("P ", 0) == 0) sink.Queue().AddPage(line.substr(2));
}

void TestResultReader(int, std::string_view page, ReaderSink &sink) {
    if (!sink.KeepReading()) return;
    std::istringstream in{std::string(page)};
    std::string line;
    while (std::getline(in, line)) {
        if (line == "HOOK") {
            if (g_hook) QTimer::singleShot(0, [] { if (g_hook) g_hook(); });
            if (!sink.KeepReading()) return;
        } else if (line.rfind("SLOW ", 0) == 0) {
            std::string rest = line.substr(5);
            std::string url = rest.substr(0, rest.find(' '));
            if (sink.IsDuplicateUrl(url)) continue;
            g_web->Advance(300);
            do {
                if (!sink.KeepReading()) return;
            } while (g_web->Due() > 0);
            ResultRow row;
            row.subItems = {rest.substr(rest.find(' ') + 1), url, sink.EngineName(), "", ""};
            if (!sink.AddResult(std::move(row))) return;
        } else if (line.rfind("R ", 0) == 0) {
            std::string rest = line.substr(2);
            std::string url = rest.substr(0, rest.find(' '));
            std::string title = rest.find(' ') == std::string::npos ? "" : rest.substr(rest.find(' ') + 1);
            if (sink.IsDuplicateUrl(url)) continue;
            ResultRow row;
            row.subItems = {title, url, sink.EngineName(), "", ""};
            if (!sink.AddResult(std::move(row))) return;
        }
    }
}

struct Harness {
    ScriptedWeb web;
    std::vector<EngineDescriptor> table = BuildWebEngineTable();
    std::unique_ptr<ResultListModel> list{ResultListModel::CreateWebList()};
    WebSearchSettings settings;
    std::vector<std::string> sounds, caches, alerts, history;
    WebSearchController *controller = nullptr;

    explicit Harness(std::vector<int> enabledRows) {
        g_web = &web;
        settings.engineEnabled.assign(kWebEngineCount, false);
        for (int r : enabledRows) settings.engineEnabled[size_t(r)] = true;
        WebSearchEnvironment env;
        env.settings = [this] { return settings; };
        env.makeClient = web.Factory();
        env.alert = [this](const std::string &m) { alerts.push_back(m); };
        env.pushHistory = [this](const std::string &t) { history.push_back(t); };
        env.saveCache = [this](const std::string &q) { caches.push_back(q + ":" + std::to_string(list->Count())); };
        env.playSound = [this](const std::string &s) { sounds.push_back(s); };
        env.hasReaders = [](int selector) { return selector != 13; };
        env.pageLinkReader = TestLinkReader;
        env.resultReader = TestResultReader;
        controller = new WebSearchController(table, *list, env);
    }
    ~Harness() {
        g_hook = nullptr;
        g_web = nullptr;
        delete controller;
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        EXPECT_EQ(web.liveClients, 0) << "a request object or client was never freed";
    }
    std::string First(int row, const std::string &query) { return ExpandQuery(table[size_t(row)], query).address; }
    std::vector<std::string> Sites() const {
        std::vector<std::string> out;
        for (const auto &r : list->Rows()) out.push_back(r.subItems[kSite]);
        return out;
    }
    int Sound(const std::string &which) const {
        return int(std::count(sounds.begin(), sounds.end(), "/Sounds/" + which + ".wav"));
    }
};

TEST(WebSearch, MergesEnginesRejectsDuplicatesAndFollowsPages) {
    Harness h({0, 4, 7});
    h.web.pages[h.First(0, "cat")] = {200, "R http://a/1 A1\nR http://shared/ A2\nP http://www.altavista.example/p2\n"};
    h.web.pages["http://www.altavista.example/p2"] = {200, "R http://a/3 A3\nP http://www.altavista.example/p2\n", 20};
    h.web.pages[h.First(4, "cat")] = {200, "R http://SHARED/ S1\nR http://s/2 S2\n", 5};
    h.web.pages[h.First(7, "cat")] = {200, "R http://e/1 E1\n", 10};
    h.controller->StartWebSearch("  cat ");
    EXPECT_FALSE(h.controller->Running());
    EXPECT_EQ(h.list->Count(), 5);  // A1, A2, S2, E1, A3: no second "shared"
    auto sites = h.Sites();
    EXPECT_EQ(std::count(sites.begin(), sites.end(), "S1"), 0);
    EXPECT_EQ(sites.back(), "A3");  // the second page came last
    EXPECT_EQ(h.web.Count("http://www.altavista.example/p2"), 1);  // a queued page is fetched once
    EXPECT_EQ(h.list->Row(4).caption, "5");
    EXPECT_EQ(h.list->Row(0).subItems[kSource], "Altavista");
    EXPECT_EQ(h.Sound("Start"), 1);
    EXPECT_EQ(h.Sound("Stop"), 1);
    EXPECT_EQ(h.caches, std::vector<std::string>{"cat:5"});
    EXPECT_EQ(h.history, std::vector<std::string>{"  cat "});
    EXPECT_EQ(h.controller->Report()[0].pages, 2);
    EXPECT_EQ(h.controller->Report()[0].results, 3);
    EXPECT_EQ(h.controller->Report()[1].status, "disabled");
    EXPECT_EQ(h.controller->SearchesEnded(), 1);
}

TEST(WebSearch, AnAddressListedWhileAReaderPumpsIsNotAddedTwice) {
    // The first engine tests its address, then pumps while it reads the rest of the record;
    // the second engine lists the same address meanwhile.
    Harness h({0, 4});
    h.web.pages[h.First(0, "cat")] = {200, "SLOW http://shared/ A\nR http://a/2 A2\n"};
    h.web.pages[h.First(4, "cat")] = {200, "R http://SHARED/ S\n", 60};
    h.controller->StartWebSearch("cat");
    EXPECT_EQ(h.Sites(), (std::vector<std::string>{"S", "A2"}));
    EXPECT_EQ(h.controller->Report()[0].results, 1);  // the refused row is not counted
}

TEST(WebSearch, EmptyQueryAndNoEngines) {
    Harness h({});
    h.controller->StartWebSearch("   ");
    ASSERT_EQ(h.alerts.size(), 1u);
    EXPECT_EQ(h.alerts[0], "You have not typed a search string yet\n\nSearch not started");
    EXPECT_TRUE(h.sounds.empty());
    EXPECT_EQ(h.list->Count(), 0);

    h.controller->StartWebSearch("big cat");  // every engine unticked: ends at once
    EXPECT_TRUE(h.web.log.empty());
    EXPECT_EQ(h.caches, std::vector<std::string>{"big+cat:0"});  // saved before the notice row
    ASSERT_EQ(h.list->Count(), 1);
    EXPECT_EQ(h.list->Row(0).subItems[kSite], "Nothing found for < big+cat >...");
    EXPECT_EQ(h.list->Row(0).caption, "");
    EXPECT_EQ(h.list->Row(0).image, -1);

    h.settings.cacheMode = 2;  // "Never": no history
    h.controller->StartWebSearch("x");
    EXPECT_EQ(h.history.size(), 1u);
}

TEST(WebSearch, LimitInTotalEndsTheSearchAtOnce) {
    Harness h({0, 4});
    h.settings.maxResults = " 3 ";
    h.web.pages[h.First(0, "q")] = {200, "R http://a/1 1\nR http://a/2 2\nR http://a/3 3\nR http://a/4 4\n"};
    ScriptedPage never;
    never.never = true;
    h.web.pages[h.First(4, "q")] = never;  // would keep the search waiting forever
    h.controller->StartWebSearch("q");
    EXPECT_EQ(h.list->Count(), 3);
    EXPECT_FALSE(h.controller->Running());
    EXPECT_EQ(h.controller->Report()[4].status, "aborted");
    EXPECT_GE(h.web.aborted, 1);

    h.settings.maxResults = "zero";  // not a number: 0, so the first result ends it
    h.controller->StartWebSearch("q");
    EXPECT_EQ(h.list->Count(), 1);
}

TEST(WebSearch, LimitPerEngineStopsReadingButFetchesQueuedPages) {
    Harness h({0, 7});
    h.settings.maxResults = "2";
    h.settings.resultMode = 1;
    h.web.pages[h.First(0, "q")] = {200, "P http://www.altavista.example/p2\nR http://a/1 1\nR http://a/2 2\nR http://a/3 3\n"};
    h.web.pages["http://www.altavista.example/p2"] = {200, "P http://www.altavista.example/p3\nR http://a/4 4\n"};
    h.web.pages[h.First(7, "q")] = {200, "R http://e/1 1\nR http://e/2 2\nR http://e/3 3\n"};
    h.controller->StartWebSearch("q");
    EXPECT_EQ(h.list->Count(), 4);
    EXPECT_EQ(h.controller->Report()[0].results, 2);
    EXPECT_EQ(h.controller->Report()[7].results, 2);
    EXPECT_EQ(h.controller->Report()[0].status, "stopped");
    EXPECT_EQ(h.web.Count("http://www.altavista.example/p2"), 1);  // still fetched...
    EXPECT_EQ(h.web.Count("http://www.altavista.example/p3"), 0);  // ...but not read
}

TEST(WebSearch, FailingEnginesGoIdleSilently) {
    Harness h({0, 4, 5, 7});
    h.web.pages[h.First(0, "q")] = {500, "R http://bad/ x\n"};
    ScriptedPage broken;
    broken.error = 7;
    h.web.pages[h.First(4, "q")] = broken;
    h.web.pages[h.First(5, "q")] = {200, std::string(100000, '\x01') + "\xff\xfe garbage"};
    h.web.pages[h.First(7, "q")] = {200, "R http://ok/ fine\n"};
    h.controller->StartWebSearch("q");
    EXPECT_EQ(h.Sites(), std::vector<std::string>{"fine"});
    EXPECT_EQ(h.controller->Report()[0].status, "http 500");
    EXPECT_EQ(h.controller->Report()[4].status, "error");
    // A long page of status 200 that gives neither a row nor a further page: the reader
    // no longer fits the service.
    EXPECT_EQ(h.controller->Report()[5].status, "error");
    EXPECT_EQ(h.controller->Report()[0].error, "HTTP 500");
    EXPECT_EQ(h.controller->Report()[4].error, "TLS");
    EXPECT_EQ(h.controller->Report()[5].error, kUnreadableReason);
    EXPECT_EQ(h.controller->Report()[7].error, "");
    EXPECT_EQ(h.controller->Status().Answered(), 2);
    EXPECT_TRUE(h.alerts.empty());
}

TEST(WebSearch, StopDuringAReadEndsOnce) {
    Harness h({0, 4});
    h.web.pages[h.First(0, "q")] = {200, "R http://a/1 1\nHOOK\nR http://a/2 2\n"};
    ScriptedPage slow{200, "R http://s/1 1\n", 5000};
    h.web.pages[h.First(4, "q")] = slow;
    g_hook = [&] { h.controller->Press("q"); };  // the Stop button
    h.controller->StartWebSearch("q");
    EXPECT_FALSE(h.controller->Running());
    EXPECT_EQ(h.Sites(), std::vector<std::string>{"1"});  // nothing read after Stop
    EXPECT_EQ(h.controller->SearchesEnded(), 1);
    EXPECT_EQ(h.Sound("Stop"), 1);
    EXPECT_EQ(h.caches.size(), 1u);
    EXPECT_EQ(h.controller->Engine(0), nullptr);
}

TEST(WebSearch, EnterDuringAReadStartsANewSearch) {
    Harness h({0});
    h.web.pages[h.First(0, "old")] = {200, "R http://old/1 old1\nHOOK\nR http://old/2 old2\n"};
    h.web.pages[h.First(0, "new")] = {200, "R http://new/1 new1\n", 10};
    g_hook = [&] { h.controller->EnterPressed("new"); };
    h.controller->StartWebSearch("old");
    EXPECT_EQ(h.controller->SearchesEnded(), 2);
    EXPECT_EQ(h.Sites(), std::vector<std::string>{"new1"});
    EXPECT_EQ(h.sounds, (std::vector<std::string>{"/Sounds/Start.wav", "/Sounds/Stop.wav", "/Sounds/Start.wav",
                                                  "/Sounds/Stop.wav"}));
    EXPECT_EQ(h.caches, (std::vector<std::string>{"old:1", "new:1"}));
    EXPECT_EQ(h.controller->CurrentQuery(), "new");
}

TEST(WebSearch, ClosingDuringAReadEndsWithoutTheStopSound) {
    Harness h({0, 4});
    h.web.pages[h.First(0, "q")] = {200, "R http://a/1 1\nHOOK\nR http://a/2 2\n"};
    ScriptedPage never;
    never.never = true;
    h.web.pages[h.First(4, "q")] = never;
    g_hook = [&] { h.controller->Close(); };
    h.controller->StartWebSearch("q");
    EXPECT_EQ(h.controller->SearchesEnded(), 1);
    EXPECT_EQ(h.Sound("Stop"), 0);
    EXPECT_EQ(h.caches.size(), 1u);
    h.controller->StartWebSearch("again");  // a closing window starts nothing
    EXPECT_EQ(h.controller->SearchesEnded(), 1);
}

TEST(WebSearch, ControllerDestroyedWhileAReaderPumps) {
    auto *h = new Harness({0, 4});
    h->web.pages[h->First(0, "q")] = {200, "R http://a/1 1\nHOOK\nR http://a/2 2\n"};
    ScriptedPage never;
    never.never = true;
    h->web.pages[h->First(4, "q")] = never;
    g_hook = [h] {
        delete h->controller;  // the window goes away in the middle of the read
        h->controller = nullptr;
    };
    h->controller->StartWebSearch("q");
    EXPECT_EQ(h->list->Count(), 1);
    delete h;  // checks that every client was freed
}

TEST(WebSearch, StopWhileWaitingAndPressWhileVerifying) {
    Harness h({0});
    ScriptedPage never;
    never.never = true;
    h.web.pages[h.First(0, "q")] = never;
    h.web.At(20, [&] { h.controller->Press("q"); });
    h.controller->StartWebSearch("q");
    EXPECT_EQ(h.controller->SearchesEnded(), 1);
    EXPECT_EQ(h.list->Count(), 1);  // the "Nothing found for" row
    EXPECT_EQ(h.controller->Report()[0].status, "aborted");

    h.controller->SetVerifying(true);
    const size_t requests = h.web.log.size();
    h.controller->Press("q");  // clears `verifying` only
    EXPECT_FALSE(h.controller->Verifying());
    EXPECT_EQ(h.controller->SearchesEnded(), 1);
    EXPECT_EQ(h.web.log.size(), requests);
}

// ---- sponsored engines

std::string Netscape(Harness &h, const std::string &q) {
    auto x = ExpandQuery(h.table[2], q);
    return x.click;
}

TEST(WebSearch, SponsoredEngineHandsTheClickAddressAndCookiesOver) {
    Harness h({2});
    const std::string landing = "http://search.netscape.example/search.tmpl?search=cat";
    h.web.pages[h.table[2].sponsoredServe] = {200, "banner"};
    ScriptedPage click;
    click.location = landing;
    click.cookies = {"bf=1; path=/", "trk=abc; path=/; domain=.affiliate.example", "BF=1; Path=/"};
    h.web.pages[Netscape(h, "cat")] = click;
    h.web.pages[landing] = {200, "R http://ns/1 N1\n"};
    h.controller->StartWebSearch("cat");
    ASSERT_EQ(h.web.log.size(), 3u);
    EXPECT_EQ(h.web.log[0].method, "GET");
    EXPECT_EQ(h.web.log[1].method, "HEAD");
    EXPECT_EQ(h.web.log[2].url, landing);
    // Each cookie once (the third equals the first ignoring case), as name=value pairs.
    EXPECT_EQ(h.web.log[2].cookie, "bf=1; trk=abc");
    EXPECT_EQ(h.web.log[2].referer, h.table[2].homePage);
    EXPECT_EQ(h.Sites(), std::vector<std::string>{"N1"});
}

TEST(WebSearch, SponsoredEngineFailuresContributeNothing) {
    for (int variant = 0; variant < 3; ++variant) {
        SCOPED_TRACE(variant);
        Harness h({2, 0});
        const std::string landing = "http://search.netscape.example/search.tmpl?search=q";
        h.web.pages[h.table[2].sponsoredServe] = {variant == 0 ? 500 : 200, ""};
        ScriptedPage click;
        click.location = landing;
        click.status = variant == 1 ? 404 : 200;
        click.delayMs = 30;
        h.web.pages[Netscape(h, "q")] = click;
        h.web.pages[landing] = {200, "R http://ns/1 N1\n"};
        h.web.pages[h.First(0, "q")] = {200, "R http://a/1 A1\n"};
        if (variant == 2)  // Stop while the HEAD request runs
            h.web.At(15, [&] { h.controller->Press("q"); });
        h.controller->StartWebSearch("q");
        EXPECT_EQ(h.web.Count(landing), 0);
        auto sites = h.Sites();
        EXPECT_EQ(std::count(sites.begin(), sites.end(), "N1"), 0);
    }
}

}  // namespace
}  // namespace qm
