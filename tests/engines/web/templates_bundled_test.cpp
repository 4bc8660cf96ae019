// The bundled definitions against the fake web's services, without the network: each page
// is asked of the service's handler directly and read as a search would read it.
#include <gtest/gtest.h>

#include <algorithm>

#include "engines/web/TemplateMatch.h"
#include "fakeweb/Service.h"
#include "net/ServiceHosts.h"
#include "search/ExpandQuery.h"
#include "toolkit/Misc.h"

namespace qm {
namespace {

std::string BundledGroup() { return std::string(QUILLMAR_SOURCE_DIR) + "/resources/Engines/WebSearch.grp"; }

// Answers an address with the fake web's services, as the server would for its Host.
struct DirectWeb {
    fakeweb::Registry registry;
    DirectWeb() { fakeweb::RegisterAllServices(registry); }

    std::optional<fakeweb::Response> Get(const std::string &address) {
        fakeweb::Request r;
        r.method = "GET";
        size_t hostStart = address.find("://") + 3;
        size_t slash = address.find('/', hostStart);
        r.host = address.substr(hostStart, slash - hostStart);
        r.target = slash == std::string::npos ? "/" : address.substr(slash);
        size_t q = r.target.find('?');
        r.path = r.target.substr(0, q);
        r.query = q == std::string::npos ? "" : r.target.substr(q + 1);
        for (const auto &e : registry.entries()) {
            if (!SameTextNoCase(ServiceHostFor(e.hostKey), r.host)) continue;
            if (auto res = e.handler(r)) return res;
        }
        return std::nullopt;
    }
};

class Collect : public ReaderSink {
public:
    std::string engine;
    std::vector<ResultRow> rows;
    PageQueue queue;
    std::string SearchHost() const override { return {}; }
    std::string EngineName() const override { return engine; }
    PageQueue &Queue() override { return queue; }
    bool IsDuplicateUrl(std::string_view url) const override {
        return std::any_of(rows.begin(), rows.end(), [&](const ResultRow &r) { return SameTextNoCase(r.Address(), url); });
    }
    bool AddResult(ResultRow row) override {
        rows.push_back(std::move(row));
        return true;
    }
    bool KeepReading() override { return true; }
};

// Runs one definition over every page it finds (at most maxPages); returns the number of
// pages read.
int Search(DirectWeb &web, const TWebBot &bot, const std::string &typed, Collect &sink, int maxPages = 1000000) {
    sink.engine = bot.engineName;
    sink.queue.clear();
    const std::string first = bot.RequestAddress(ExpandQueryText(bot.mode, PrepareQuery(typed)));
    sink.queue.Append(first, "");
    int pages = 0;
    for (std::string url = NextPageUrl(sink.queue); !url.empty() && pages < maxPages; url = NextPageUrl(sink.queue)) {
        auto res = web.Get(url);
        if (!res || res->status != 200) continue;
        ++pages;
        MatchTemplate(bot, res->body, sink);
        MatchNextTemplate(bot, res->body, url, sink);
    }
    return pages;
}

TEST(TemplateBundled, GroupFileLoadsFiveCompleteDefinitions) {
    TemplateEngineTable table;
    ASSERT_TRUE(table.LoadEngineGroup(BundledGroup()));
    ASSERT_EQ(table.Count(), 5u);
    EXPECT_TRUE(table.Notes().empty());
    for (const auto &d : table.Definitions()) {
        SCOPED_TRACE(d.listedName);
        EXPECT_TRUE(d.hasBlock);
        EXPECT_EQ(d.engineName, d.listedName);
        EXPECT_EQ(d.included, 1);
        EXPECT_GE(d.linkTemplate.size(), 3u);
        EXPECT_FALSE(d.linkTemplate.back().text.empty());
        EXPECT_FALSE(d.nextTemplate.empty());
        for (auto m : {SearchMode::All, SearchMode::Any, SearchMode::Exact, SearchMode::Bool}) {
            const std::string &a = d.AddressFor(m);
            EXPECT_EQ(a.rfind("http://", 0), 0u) << a;
            EXPECT_NE(a.find("[QRY]"), std::string::npos) << a;
            EXPECT_EQ(a.find("URL]"), std::string::npos) << a;  // placeholders resolved
            std::string host = a.substr(7, a.find('/', 7) - 7);
            EXPECT_TRUE(host.size() > 8 && host.substr(host.size() - 8) == ".example") << a;
        }
    }
}

TEST(TemplateBundled, EveryEngineReadsAllItsPages) {
    TemplateEngineTable table;
    ASSERT_TRUE(table.LoadEngineGroup(BundledGroup()));
    DirectWeb web;
    const int expectedPages[] = {3, 4, 3, 4, 3};
    for (size_t i = 0; i < table.Count(); ++i) {
        const TWebBot &bot = table.Definitions()[i];
        SCOPED_TRACE(bot.engineName);
        Collect sink;
        EXPECT_EQ(Search(web, bot, "  Big cat ", sink), expectedPages[i]);
        ASSERT_EQ(sink.rows.size(), size_t(expectedPages[i] * 5));
        const ResultRow &home = sink.rows[0];
        EXPECT_EQ(home.subItems[kSite], "Big cat home page");
        EXPECT_EQ(home.subItems[kSource], bot.engineName);
        EXPECT_EQ(home.subItems[kDescription].rfind("The home of big cat on the web.", 0), 0u);
        EXPECT_EQ(home.Address(), "http://www.big-cat.example/");
        for (const ResultRow &r : sink.rows) {
            EXPECT_NE(r.Address().find("big-cat"), std::string::npos) << r.Address();
            EXPECT_FALSE(r.subItems[kSite].empty());
            EXPECT_FALSE(r.subItems[kDescription].empty());
        }
        // The last row is the last result of the last page.
        const std::string n = std::to_string(expectedPages[i] * 5);
        EXPECT_NE(sink.rows.back().subItems[kDescription].find("result " + n + " "), std::string::npos)
            << sink.rows.back().subItems[kDescription];
        EXPECT_EQ(sink.queue.size(), size_t(expectedPages[i]));  // each page queued once
    }
}

TEST(TemplateBundled, LayoutDetails) {
    TemplateEngineTable table;
    ASSERT_TRUE(table.LoadEngineGroup(BundledGroup()));
    DirectWeb web;
    // Owlfind: tags and entities are cleaned out of titles and descriptions.
    Collect owl;
    Search(web, table.Definitions()[table.Find("Owlfind")], "big cat", owl);
    EXPECT_EQ(owl.rows[1].subItems[kSite], "Big cat pictures");
    EXPECT_EQ(owl.rows[1].subItems[kDescription], "All about big cat: pictures, result 2 from Owlfind. Tips & more.");
    // Bramblehunt: the click-through link is the Location, the real address the URL.
    Collect bramble;
    Search(web, table.Definitions()[table.Find("bramblehunt")], "big cat", bramble);
    const ResultRow &r2 = bramble.rows[1];
    EXPECT_EQ(r2.subItems[kLocation], "http://www.bramblehunt.example/click?id=2&u=http%3A%2F%2Fwww.big-cat-wiki.example%2Fbramble%2F2.html");
    EXPECT_EQ(r2.subItems[kUrl], "http://www.big-cat-wiki.example/bramble/2.html");
    auto click = web.Get(r2.subItems[kLocation]);
    ASSERT_TRUE(click);
    EXPECT_EQ(click->status, 302);
}

TEST(TemplateBundled, ModesAndEmptyResults) {
    TemplateEngineTable table;
    ASSERT_TRUE(table.LoadEngineGroup(BundledGroup()));
    DirectWeb web;
    table.SetSearchMode(SearchMode::Any);
    Collect any;
    const TWebBot &owl = table.Definitions()[0];
    EXPECT_EQ(owl.RequestAddress(ExpandQueryText(owl.mode, "big+AND+cat")),
              "http://www.owlfind.example/search?q=big+OR+cat&match=any");
    Search(web, owl, "big AND cat", any);
    ASSERT_EQ(any.rows.size(), 15u);
    EXPECT_EQ(any.rows[0].Address(), "http://www.big-or-cat.example/");

    table.SetSearchMode(SearchMode::All);
    for (const auto &d : table.Definitions()) {
        Collect none;
        EXPECT_EQ(Search(web, d, "nohits here", none), 1) << d.engineName;
        EXPECT_TRUE(none.rows.empty()) << d.engineName;
        EXPECT_EQ(none.queue.size(), 1u) << d.engineName;
    }
}

TEST(TemplateBundled, EncodedUtf8QueriesAndEndlessPages) {
    TemplateEngineTable table;
    ASSERT_TRUE(table.LoadEngineGroup(BundledGroup()));
    DirectWeb web;
    for (const auto &d : table.Definitions()) {
        SCOPED_TRACE(d.engineName);
        // "&" and "#" no longer cut the query; the UTF-8 letters arrive as letters.
        Collect cafe;
        Search(web, d, "caf\xC3\xA9 cr\xC3\xA8me & co #1", cafe);
        ASSERT_FALSE(cafe.rows.empty());
        EXPECT_EQ(cafe.rows[0].subItems[kSite], "Caf\xC3\xA9 cr\xC3\xA8me co 1 home page");
        EXPECT_EQ(cafe.rows[0].Address(), "http://www.cafc3a9-crc3a8me-co-1.example/");
        // The endless word: every page links one more.
        Collect endless;
        EXPECT_EQ(Search(web, d, "big qmendlesspages", endless, 25), 25);
        EXPECT_EQ(endless.rows[0].subItems[kSite], "Big home page");
    }
}

}  // namespace
}  // namespace qm
