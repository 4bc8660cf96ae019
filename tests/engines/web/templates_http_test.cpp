// The template-engine search over real HTTP on loopback: the bundled definitions against the
// fake web's services, and a definition with pages of its own served by a handler.
#include <QCoreApplication>
#include <QEvent>
#include <gtest/gtest.h>

#include "engines/web/HttpClientAdapter.h"
#include "engines/web/WebBotEngine.h"
#include "engines/web/WebEngineTable.h"
#include "fakeweb/Server.h"
#include "net/NetConfig.h"

namespace qm {
namespace {

struct LiveHarness {
    fakeweb::Server server;
    std::vector<EngineDescriptor> builtIn = BuildWebEngineTable();
    TemplateEngineTable defs;
    std::unique_ptr<ResultListModel> list{ResultListModel::CreateWebList()};
    WebSearchSettings settings;
    std::unique_ptr<WebSearchController> web;
    std::unique_ptr<TemplateSearchController> templates;

    LiveHarness() {}
    bool Start() {
        if (!server.start(0)) return false;
        RouteServiceHostsTo(server.port());
        settings.engineEnabled.assign(kWebEngineCount, false);
        WebSearchEnvironment env;
        env.settings = [this] { return settings; };
        env.makeClient = MakeHttpClientFactory();
        UseBuiltInReaders(env);
        web = std::make_unique<WebSearchController>(builtIn, *list, env);
        templates = std::make_unique<TemplateSearchController>(defs, *web);
        return true;
    }
    ~LiveHarness() {
        templates.reset();
        web.reset();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        RouteServiceHostsTo(0);
        server.stop();
    }
    std::vector<std::string> Column(size_t c) const {
        std::vector<std::string> out;
        for (const auto &r : list->Rows()) out.push_back(r.subItems[c]);
        return out;
    }
};

TEST(TemplateLive, BundledDefinitionsOverTheFakeWeb) {
    LiveHarness h;
    ASSERT_TRUE(h.defs.LoadEngineGroup(std::string(QUILLMAR_SOURCE_DIR) + "/resources/Engines/WebSearch.grp"));
    ASSERT_TRUE(h.Start());
    h.templates->StartTemplateSearch("big cat");
    // 17 pages of 5 results, less the shared home page found by the four later engines.
    EXPECT_EQ(h.list->Count(), 17 * 5 - 4);
    const auto &report = h.templates->Report();
    ASSERT_EQ(report.size(), 5u);
    const int pages[] = {3, 4, 3, 4, 3};
    int results = 0;
    for (size_t i = 0; i < 5; ++i) {
        EXPECT_EQ(report[i].status, "ok") << report[i].name;
        EXPECT_EQ(report[i].pages, pages[i]) << report[i].name;
        EXPECT_GE(report[i].results, pages[i] * 5 - 1) << report[i].name;  // the home page once in all
        results += report[i].results;
    }
    EXPECT_EQ(results, h.list->Count());
    EXPECT_EQ(h.list->Row(0).subItems[kSite], "Big cat home page");

    // The limit in total ends the whole search.
    h.settings.maxResults = "12";
    h.templates->StartTemplateSearch("big cat");
    EXPECT_EQ(h.list->Count(), 12);
}

// A service written for this test, with a definition of its own: a quoted link, a record
// without a description but with a location, a record with no link, a next page.
std::optional<fakeweb::Response> Handmade(const fakeweb::Request &r) {
    if (r.path != "/find") return std::nullopt;
    if (r.param("page") == "2")
        return fakeweb::Response::Html(
            "<HTML><UL>\n<LI><A HREF='http://third.example/'>Third</A><SPAN>three</SPAN></LI>\n</UL></HTML>");
    return fakeweb::Response::Html(
        "<html><h1>" + r.param("q") + "</h1><ul>\n"
        "<li><a href=\"http://first.example/a?x=1&amp;y=2\">First <b>one</b></a><span>one &amp; only</span></li>\n"
        "<li><a href=\"http://second.example/\">Second</a><span></span>http://go.example/second</li>\n"
        "<li><a href=\"\">No link</a><span>none</span></li>\n"
        "</ul><p class=pages><a href=\"/find?q=" + r.param("q") + "&amp;page=2\">next</a></p></html>");
}

TEST(TemplateLive, HandwrittenDefinitionAndPages) {
    LiveHarness h;
    h.server.addService("owlfind", Handmade);  // the host of a bundled engine, another path
    ASSERT_TRUE(h.defs.LoadEngineGroupText(
        "<#FILES>\nHand\n</#FILES>\n<%Hand>\nEngine = Handmade\n"
        "ALLURL = GET http://www.owlfind.example/find?q=[QRY]\n"
        "LinkAreaStartAt = <ul>\nLinkAreaStopAt = </ul>\n"
        "LinkTemplate = <li><a href=[URL]>[TITLE]</a><span>[TEXT]</span>[LOCATION]</li>\n"
        "NextAreaStartAt = <p class=pages>\nNextTemplate = <a href=\"[URL]\">\n</%Hand>\n"));
    ASSERT_TRUE(h.Start());
    h.templates->StartTemplateSearch("cats");
    EXPECT_EQ(h.Column(kSite), (std::vector<std::string>{"First one", "Second", "Third"}));
    EXPECT_EQ(h.Column(kLocation),
              (std::vector<std::string>{"http://first.example/a?x=1&y=2", "http://second.example/", "http://third.example/"}));
    EXPECT_EQ(h.Column(kDescription), (std::vector<std::string>{"one & only", "", "three"}));
    EXPECT_EQ(h.Column(kUrl), (std::vector<std::string>{"", "http://go.example/second", ""}));
    EXPECT_EQ(h.Column(kSource), (std::vector<std::string>(3, "Handmade")));
    EXPECT_EQ(h.templates->Report()[0].pages, 2);
}

}  // namespace
}  // namespace qm
