// The template-engine search driven by scripted answers: paging through the next template,
// limits, failures, the shared list and button, and Stop while the matcher pumps events.
#include <QCoreApplication>
#include <QEvent>
#include <QTimer>
#include <gtest/gtest.h>

#include "ScriptedWeb.h"
#include "engines/web/WebBotEngine.h"
#include "engines/web/WebEngineTable.h"
#include "search/ExpandQuery.h"

namespace qm {
namespace {

using test::ScriptedPage;
using test::ScriptedWeb;

// Two engines with the same simple layout: <r>LINK|TITLE|TEXT</r>, next pages as <n>ADDR</n>.
const char *kGroup =
    "<#FILES>\nAlpha\nBeta\nOff\nGhost\n</#FILES>\n"
    "<%Alpha>\nEngine = Alpha\nALLURL = GET http://a.example/s?q=[QRY]\nANYURL = GET [ALLURL]&any\n"
    "LinkTemplate = <r>[URL]|[TITLE]|[TEXT]</r>\nNextAreaStartAt = <nav>\nNextTemplate = <n>[URL]</n>\n</%Alpha>\n"
    "<%Beta>\nEngine = Beta\nALLURL = GET http://b.example/?k=[QRY]\n"
    "LinkTemplate = <r>[URL]|[TITLE]|[TEXT]</r>\nNextAreaStartAt = <nav>\nNextTemplate = <n>[URL]</n>\n</%Beta>\n"
    "<%Off>\nEngine = Off\nUsedByDefault = NO\nALLURL = GET http://off.example/?q=[QRY]\n"
    "LinkTemplate = <r>[URL]|[TITLE]|[TEXT]</r>\n</%Off>\n";

std::string Rows(std::initializer_list<const char *> ids, const std::string &host) {
    std::string out;
    for (const char *id : ids)
        out += std::string("<r>http://") + host + "/" + id + "|T" + id + "|D" + id + "</r>\n";
    return out;
}

struct Harness {
    ScriptedWeb web;
    std::vector<EngineDescriptor> builtIn = BuildWebEngineTable();
    TemplateEngineTable defs;
    std::unique_ptr<ResultListModel> list{ResultListModel::CreateWebList()};
    WebSearchSettings settings;
    std::vector<std::string> sounds, caches, alerts, history;
    WebSearchController *webSearch = nullptr;
    TemplateSearchController *controller = nullptr;

    Harness() {
        EXPECT_TRUE(defs.LoadEngineGroupText(kGroup));
        settings.engineEnabled.assign(kWebEngineCount, false);
        WebSearchEnvironment env;
        env.settings = [this] { return settings; };
        env.makeClient = web.Factory();
        env.alert = [this](const std::string &m) { alerts.push_back(m); };
        env.pushHistory = [this](const std::string &t) { history.push_back(t); };
        env.saveCache = [this](const std::string &q) { caches.push_back(q + ":" + std::to_string(list->Count())); };
        env.playSound = [this](const std::string &s) { sounds.push_back(s); };
        UseBuiltInReaders(env);
        webSearch = new WebSearchController(builtIn, *list, env);
        controller = new TemplateSearchController(defs, *webSearch);
    }
    ~Harness() {
        delete controller;
        delete webSearch;
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        EXPECT_EQ(web.liveClients, 0) << "a request object or client was never freed";
    }
    std::vector<std::string> Sites() const {
        std::vector<std::string> out;
        for (const auto &r : list->Rows()) out.push_back(r.subItems[kSite]);
        return out;
    }
    int Sound(const std::string &which) const {
        return int(std::count(sounds.begin(), sounds.end(), "/Sounds/" + which + ".wav"));
    }
};

TEST(TemplateSearch, FollowsNextPagesAndSharesListCacheAndSounds) {
    Harness h;
    h.web.pages["http://a.example/s?q=big+cat"] = {200, Rows({"1", "2"}, "a") + "<nav><n>/s?q=big+cat&amp;p=2</n><n>s?q=big+cat</n></nav>"};
    h.web.pages["http://a.example/s?q=big+cat&p=2"] = {200, Rows({"3"}, "a") + "<r>http://B/1|dup|dup</r><nav><n>/s?q=big+cat</n></nav>", 30};
    h.web.pages["http://b.example/?k=big+cat"] = {200, Rows({"1"}, "b"), 10};
    h.list->AppendRow({"", -1, {"old", "http://old/", "x", "", ""}});
    h.controller->StartTemplateSearch(" big cat ");
    EXPECT_FALSE(h.controller->Running());
    EXPECT_EQ(h.Sites(), (std::vector<std::string>{"T1", "T2", "T1", "T3"}));  // "old" cleared, duplicate left out
    EXPECT_EQ(h.list->Row(2).subItems[kSource], "Beta");
    EXPECT_EQ(h.list->Row(3).caption, "4");
    EXPECT_EQ(h.web.Count("http://a.example/s?q=big+cat"), 1);  // the link back to page 1 is not followed
    EXPECT_EQ(h.web.Count("http://off.example/?q=big+cat"), 0);  // UsedByDefault = NO
    EXPECT_EQ(h.web.log.size(), 3u);                             // Ghost has no address: no request
    EXPECT_EQ(h.Sound("Start"), 1);
    EXPECT_EQ(h.Sound("Stop"), 1);
    EXPECT_EQ(h.caches, std::vector<std::string>{"big+cat:4"});
    EXPECT_EQ(h.history, std::vector<std::string>{" big cat "});
    const auto &rep = h.controller->Report();
    ASSERT_EQ(rep.size(), 4u);
    EXPECT_EQ(rep[0].pages, 2);
    EXPECT_EQ(rep[0].results, 3);
    EXPECT_EQ(rep[0].status, "ok");
    EXPECT_EQ(rep[2].status, "disabled");
    EXPECT_EQ(rep[3].status, "error");
    EXPECT_EQ(h.controller->SearchesEnded(), 1);
}

TEST(TemplateSearch, ModesOnlyAndRefusals) {
    Harness h;
    h.controller->SetSearchMode(SearchMode::Any);
    h.web.pages["http://a.example/s?q=x+OR+y&any"] = {200, Rows({"9"}, "a")};
    std::vector<int> only{0, 2};  // "Off" is named but stays out: its UsedByDefault is NO
    h.controller->StartTemplateSearch("x AND y", &only);
    EXPECT_EQ(h.Sites(), std::vector<std::string>{"T9"});
    EXPECT_EQ(h.web.log.size(), 1u);
    EXPECT_EQ(h.controller->Report()[2].status, "disabled");

    h.controller->StartTemplateSearch("   ");
    ASSERT_EQ(h.alerts.size(), 1u);
    EXPECT_EQ(h.alerts[0], "You have not typed a search string yet\n\nSearch not started");

    h.webSearch->SetVerifying(true);
    h.controller->StartTemplateSearch("x");
    ASSERT_EQ(h.alerts.size(), 2u);
    EXPECT_EQ(h.alerts[1], "You can't perform a search while the verification still running");
    h.controller->Press("x");  // the button stops the verification and does nothing else
    EXPECT_FALSE(h.webSearch->Verifying());
    EXPECT_EQ(h.web.log.size(), 1u);

    // No engine answered (every page 404): the notice row, and no cache written over an
    // earlier list of the query.
    h.settings.cacheMode = 2;
    h.controller->SetSearchMode(SearchMode::All);
    const size_t cachesBefore = h.caches.size();
    h.controller->StartTemplateSearch("none");
    EXPECT_EQ(h.caches.size(), cachesBefore);
    EXPECT_EQ(h.controller->Status().At(0).reason, "HTTP 404");
    ASSERT_EQ(h.list->Count(), 1);
    EXPECT_EQ(h.list->Row(0).subItems[kSite], "Nothing found for < none >...");
    EXPECT_EQ(h.history.size(), 1u);  // "Never" keeps no history
}

TEST(TemplateSearch, LimitInTotalAndPerEngine) {
    Harness h;
    h.settings.maxResults = "3";
    h.web.pages["http://a.example/s?q=q"] = {200, Rows({"1", "2", "3", "4"}, "a") + "<nav><n>/p2</n></nav>"};
    ScriptedPage never;
    never.never = true;
    h.web.pages["http://b.example/?k=q"] = never;
    h.controller->StartTemplateSearch("q");
    EXPECT_EQ(h.list->Count(), 3);
    EXPECT_EQ(h.controller->Report()[1].status, "aborted");
    EXPECT_EQ(h.web.Count("http://a.example/p2"), 0);

    h.settings.resultMode = 1;
    h.settings.maxResults = "2";
    h.web.pages["http://b.example/?k=q"] = {200, Rows({"1", "2", "3"}, "b") + "<nav><n>/p2</n></nav>"};
    h.web.pages["http://b.example/p2"] = {200, Rows({"4"}, "b")};
    h.controller->StartTemplateSearch("q");
    EXPECT_EQ(h.list->Count(), 4);
    EXPECT_EQ(h.controller->Report()[0].status, "stopped");
    EXPECT_EQ(h.controller->Report()[1].results, 2);
    EXPECT_EQ(h.web.Count("http://b.example/p2"), 0);  // a stopped engine reads no more pages
}

TEST(TemplateSearch, FailuresEndOneEngineOnly) {
    Harness h;
    h.web.pages["http://a.example/s?q=q"] = {404, Rows({"1"}, "a")};
    h.web.pages["http://b.example/?k=q"] = {200, Rows({"1"}, "b") + "<nav><n>/gone</n></nav>"};
    ScriptedPage broken;
    broken.error = 7;
    h.web.pages["http://b.example/gone"] = broken;
    h.controller->StartTemplateSearch("q");
    EXPECT_EQ(h.Sites(), std::vector<std::string>{"T1"});
    EXPECT_EQ(h.controller->Report()[0].status, "http 404");
    EXPECT_EQ(h.controller->Report()[1].status, "error");
    EXPECT_TRUE(h.alerts.empty());
}

TEST(TemplateSearch, TheTwoSearchesNeverRunTogether) {
    Harness h;
    // While the template search runs, the page's search button ends it and starts nothing.
    ScriptedPage slow{200, Rows({"1"}, "b"), 5000};
    h.web.pages["http://b.example/?k=q"] = slow;
    h.web.pages["http://a.example/s?q=q"] = {200, Rows({"1"}, "a")};
    h.web.At(50, [&] { h.controller->PressSearchButton("q"); });
    h.controller->StartTemplateSearch("q");
    EXPECT_FALSE(h.controller->Running());
    EXPECT_EQ(h.controller->SearchesEnded(), 1);
    EXPECT_EQ(h.webSearch->SearchesEnded(), 0);
    EXPECT_EQ(h.Sites(), std::vector<std::string>{"T1"});

    // While the web search runs, a template search does not start, and the template
    // button ends the web search.
    h.settings.engineEnabled[0] = true;
    ScriptedPage slowWeb{200, "", 5000};
    h.web.pages[ExpandQuery(h.builtIn[0], "w").address] = slowWeb;
    const size_t requests = h.web.log.size();
    h.web.At(50, [&] {
        EXPECT_TRUE(h.controller->AnySearchRuns());
        h.controller->StartTemplateSearch("q");
        h.controller->Press("q");
    });
    h.webSearch->StartWebSearch("w");
    EXPECT_FALSE(h.webSearch->Running());
    EXPECT_EQ(h.webSearch->SearchesEnded(), 1);
    EXPECT_EQ(h.controller->SearchesEnded(), 1);
    EXPECT_EQ(h.web.log.size(), requests + 1);  // only the web engine's request
}

TEST(TemplateSearch, StopWhileTheMatcherPumpsEndsOnce) {
    Harness h;
    std::string big;
    for (int i = 0; i < 400; ++i) big += "<r>http://a.example/" + std::to_string(i) + "|T" + std::to_string(i) + "|D</r>\n";
    h.web.pages["http://a.example/s?q=q"] = {200, big};
    ScriptedPage slow{200, Rows({"1"}, "b"), 5000};
    h.web.pages["http://b.example/?k=q"] = slow;
    // Stop from the event loop as soon as the tenth row is in: the matcher is pumping then.
    bool pressed = false;
    QObject::connect(h.list.get(), &ResultListModel::listChanged, [&] {
        if (!pressed && h.list->Count() >= 10) {
            pressed = true;
            QTimer::singleShot(0, [&] { h.controller->PressSearchButton("q"); });
        }
    });
    h.controller->StartTemplateSearch("q");
    EXPECT_TRUE(pressed);
    EXPECT_FALSE(h.controller->Running());
    EXPECT_LT(h.list->Count(), 400);
    EXPECT_EQ(h.controller->SearchesEnded(), 1);
    EXPECT_EQ(h.Sound("Stop"), 1);
    EXPECT_EQ(h.caches.size(), 1u);
    EXPECT_EQ(h.controller->Report()[1].status, "aborted");

    // A new search right after works with fresh request objects.
    h.web.pages["http://b.example/?k=q"] = {200, Rows({"7"}, "b")};
    h.controller->StartTemplateSearch("q");
    EXPECT_EQ(h.controller->SearchesEnded(), 2);
    EXPECT_EQ(h.list->Count(), 401);
}

}  // namespace
}  // namespace qm
