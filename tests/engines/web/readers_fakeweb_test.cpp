// The fake web's engine pages, read by the real page readers: every engine gives rows
// on each of its pages, links its further pages, and engines overlap.
#include <gtest/gtest.h>

#include <map>
#include <set>

#include "engines/web/WebEngineTable.h"
#include "engines/web/WebReaders.h"
#include "fakeweb/Service.h"
#include "fakeweb/services/web_engines.h"
#include "net/ServiceHosts.h"
#include "toolkit/Misc.h"

namespace qm {
namespace {

// Answers an address from the registered services, as the server would.
class FakeWebDirect {
public:
    FakeWebDirect() { fakeweb::RegisterAllServices(registry_); }

    std::optional<std::string> Get(const std::string &address) const {
        if (address.rfind("http://", 0) != 0) return std::nullopt;
        size_t slash = address.find('/', 7);
        fakeweb::Request r;
        r.method = "GET";
        r.host = address.substr(7, slash == std::string::npos ? std::string::npos : slash - 7);
        r.target = slash == std::string::npos ? "/" : address.substr(slash);
        size_t q = r.target.find('?');
        r.path = r.target.substr(0, q);
        r.query = q == std::string::npos ? "" : r.target.substr(q + 1);
        for (const auto &e : registry_.entries()) {
            if (ServiceHostFor(e.hostKey) != r.host) continue;
            if (auto answer = e.handler(r); answer && answer->status == 200) return answer->body;
        }
        return std::nullopt;
    }

private:
    fakeweb::Registry registry_;
};

// One engine reading into a result list shared by all engines of a search.
class SharedListSink : public ReaderSink {
public:
    SharedListSink(std::vector<ResultRow> &list, std::string host, std::string name)
        : list_(list), host_(std::move(host)), name_(std::move(name)) {}
    std::string SearchHost() const override { return host_; }
    std::string EngineName() const override { return name_; }
    PageQueue &Queue() override { return queue_; }
    bool IsDuplicateUrl(std::string_view url) const override {
        for (const auto &row : list_)
            if (SameTextNoCase(row.Address(), url)) return true;
        return false;
    }
    bool AddResult(ResultRow row) override {
        list_.push_back(std::move(row));
        ++added;
        return true;
    }
    bool KeepReading() override { return true; }

    int added = 0;

private:
    std::vector<ResultRow> &list_;
    std::string host_, name_;
    PageQueue queue_;
};

std::string Replace(std::string text, const std::string &what, const std::string &with) {
    size_t at = text.find(what);
    return at == std::string::npos ? text : text.replace(at, what.size(), with);
}

struct EngineRun {
    std::string name;
    int pagesFetched = 0;
    std::vector<int> rowsPerPage;
};

// One engine fetching its queue to the end, adding to `list`.
EngineRun SearchOne(const FakeWebDirect &web, int row, const std::string &query, std::vector<ResultRow> &list) {
    ResetServiceHosts();
    const auto table = BuildWebEngineTable();
    const auto &d = table[row];
    const std::string key = WebEngineHostKeys()[row];
    std::string first = d.IsSponsored() ? fakeweb::services::SponsoredLandingAddress(key, query)
                                        : Replace(d.templateAll, kQueryPlaceholder, query);
    SharedListSink sink(list, ServiceRoot(key), d.name);
    sink.Queue().Append(first, "");
    EngineRun run{d.name, 0, {}};
    for (std::string address = NextPageUrl(sink.Queue()); !address.empty() && run.pagesFetched < 20;
         address = NextPageUrl(sink.Queue())) {
        auto page = web.Get(address);
        if (!page) {
            ADD_FAILURE() << d.name << ": no page at " << address;
            continue;
        }
        ++run.pagesFetched;
        int before = sink.added;
        RunReaders(d.selector, *page, sink);
        run.rowsPerPage.push_back(sink.added - before);
    }
    return run;
}

// A whole search: every engine in table order, all adding to one list.
std::vector<EngineRun> Search(const FakeWebDirect &web, const std::string &query, std::vector<ResultRow> &list) {
    std::vector<EngineRun> runs;
    for (int row = 0; row < kWebEngineCount; ++row) runs.push_back(SearchOne(web, row, query, list));
    return runs;
}

TEST(FakeWebEngines, EveryEngineGivesRowsOnEveryPageAndLinksItsFurtherPages) {
    FakeWebDirect web;
    // Each engine with a list of its own: every page it reaches adds rows.
    for (int row = 0; row < kWebEngineCount; ++row) {
        std::vector<ResultRow> list;
        auto run = SearchOne(web, row, "fast+cars", list);
        EXPECT_EQ(run.pagesFetched, run.name == "WebCrawler" ? 1 : 4) << run.name;
        for (int rows : run.rowsPerPage) EXPECT_GT(rows, 0) << run.name;
    }
    // All engines into one list: every engine contributes, no address is listed twice.
    std::vector<ResultRow> list;
    auto runs = Search(web, "fast+cars", list);
    ASSERT_EQ(runs.size(), size_t(kWebEngineCount));
    std::set<std::string> sources, addresses;
    for (const auto &row : list) {
        sources.insert(row.subItems[kSource]);
        std::string a = row.Address();
        for (char &c : a) c = char(std::tolower((unsigned char)c));
        EXPECT_TRUE(addresses.insert(a).second) << a;
    }
    EXPECT_EQ(sources.size(), size_t(kWebEngineCount));
}

TEST(FakeWebEngines, EnginesOverlapAndResultsFollowTheQuery) {
    FakeWebDirect web;
    // Read alone, each engine would add more rows than it does in a shared list.
    int alone = 0;
    {
        ResetServiceHosts();
        const auto table = BuildWebEngineTable();
        for (int row = 0; row < kWebEngineCount; ++row) {
            std::vector<ResultRow> own;
            const std::string key = WebEngineHostKeys()[row];
            std::string first = table[row].IsSponsored()
                                    ? fakeweb::services::SponsoredLandingAddress(key, "fast+cars")
                                    : Replace(table[row].templateAll, kQueryPlaceholder, "fast+cars");
            auto page = web.Get(first);
            ASSERT_TRUE(page) << first;
            SharedListSink sink(own, ServiceRoot(key), table[row].name);
            RunReaders(table[row].selector, *page, sink);
            alone += sink.added;
        }
    }
    std::vector<ResultRow> shared;
    auto runs = Search(web, "fast+cars", shared);
    int firstPages = 0;
    for (const auto &run : runs) firstPages += run.rowsPerPage.empty() ? 0 : run.rowsPerPage[0];
    EXPECT_LT(firstPages, alone);  // duplicates across engines were rejected

    auto locations = [](const std::vector<ResultRow> &rows) {
        std::set<std::string> out;
        for (const auto &r : rows)
            if (r.subItems[kUrl].empty()) out.insert(r.subItems[kLocation]);
        return out;
    };
    std::vector<ResultRow> again, boats, exact;
    Search(web, "fast+cars", again);
    Search(web, "fast+boats", boats);
    Search(web, "+%22fast+cars%22", exact);
    EXPECT_EQ(locations(again), locations(shared));  // deterministic
    EXPECT_EQ(locations(exact), locations(shared));  // the same words in quotes
    std::set<std::string> common;
    for (const auto &l : locations(boats))
        if (locations(shared).count(l)) common.insert(l);
    EXPECT_FALSE(common.empty());                        // "fast" is shared
    EXPECT_LT(common.size(), locations(boats).size());  // "boats" brings its own sites
}

// Blank runs collapsed and the ends trimmed, so that rows read from pages with and
// without line breaks can be compared.
std::string Squeeze(const std::string &text) {
    std::string out;
    for (char c : text) {
        if (c == ' ' && (out.empty() || out.back() == ' ')) continue;
        out += c;
    }
    while (!out.empty() && out.back() == ' ') out.pop_back();
    return out;
}

TEST(FakeWebEngines, LineBreaksBetweenTagsChangeNothing) {
    // Every "><" of each engine's first page becomes ">" CR LF tab "<": landmarks such as
    // "<dl><dt>" then hold line characters, which the result readers (and the page-link
    // readers of selectors 0 to 10) pass over.
    FakeWebDirect web;
    ResetServiceHosts();
    const auto table = BuildWebEngineTable();
    for (int row = 0; row < kWebEngineCount; ++row) {
        const std::string key = WebEngineHostKeys()[row];
        auto page = web.Get(table[row].IsSponsored()
                                ? fakeweb::services::SponsoredLandingAddress(key, "fast+cars")
                                : Replace(table[row].templateAll, kQueryPlaceholder, "fast+cars"));
        ASSERT_TRUE(page);
        std::string broken;
        for (size_t i = 0; i < page->size(); ++i) {
            broken += (*page)[i];
            if ((*page)[i] == '>' && i + 1 < page->size() && (*page)[i + 1] == '<') broken += "\r\n\t";
        }
        ASSERT_GT(broken.size(), page->size()) << table[row].name;
        std::vector<ResultRow> plainRows, brokenRows;
        SharedListSink plain(plainRows, "http://h", "E"), lines(brokenRows, "http://h", "E");
        RunReaders(table[row].selector, *page, plain);
        RunReaders(table[row].selector, broken, lines);
        ASSERT_EQ(plainRows.size(), brokenRows.size()) << table[row].name;
        ASSERT_FALSE(plainRows.empty()) << table[row].name;
        for (size_t i = 0; i < plainRows.size(); ++i)
            for (size_t c = 0; c < 5; ++c)
                EXPECT_EQ(Squeeze(plainRows[i].subItems[c]), Squeeze(brokenRows[i].subItems[c]))
                    << table[row].name << " row " << i << " column " << c;
        ASSERT_EQ(plain.Queue().size(), lines.Queue().size()) << table[row].name;
        for (size_t i = 0; i < plain.Queue().size(); ++i)
            EXPECT_EQ(plain.Queue()[i].address, lines.Queue()[i].address) << table[row].name;
    }
}

TEST(FakeWebEngines, PercentEscapedUtf8WordsStayWhole) {
    FakeWebDirect web;
    std::vector<ResultRow> list;
    // "café crème" as the program sends it.
    auto runs = Search(web, "caf%C3%A9+cr%C3%A8me", list);
    ASSERT_GT(list.size(), 100u);
    std::set<std::string> words;
    for (const auto &row : list) {
        const std::string &site = row.subItems[kSite];
        words.insert(site.substr(site.rfind(" - ") + 3));
    }
    EXPECT_EQ(words, (std::set<std::string>{"caf\xC3\xA9", "cr\xC3\xA8me"}));
}

TEST(FakeWebEngines, TheEndlessWordMakesEveryEngineLinkOneMorePage) {
    FakeWebDirect web;
    for (int row = 0; row < kWebEngineCount; ++row) {
        std::vector<ResultRow> list;
        auto run = SearchOne(web, row, "cars+qmendlesspages", list);  // fetches at most 20 pages
        if (run.name == "WebCrawler") {
            EXPECT_EQ(run.pagesFetched, 1);  // its reader follows no links
            continue;
        }
        EXPECT_EQ(run.pagesFetched, 20) << run.name;
        EXPECT_GT(run.rowsPerPage.front(), 0) << run.name;
        for (int rows : run.rowsPerPage) EXPECT_LE(rows, 3) << run.name;
    }
    // Without the word, four pages as always.
    std::vector<ResultRow> list;
    EXPECT_EQ(SearchOne(web, 0, "cars+endless", list).pagesFetched, 4);
}

TEST(FakeWebEngines, SponsoredLandingAddressesAreOnTheEnginesOwnHosts) {
    ResetServiceHosts();
    EXPECT_EQ(fakeweb::services::SponsoredLandingAddress("goto", "a+b"),
              "http://" + ServiceHostFor("goto") + "/d/search/p/go/?Keywords=a+b&page=1");
    EXPECT_EQ(fakeweb::services::SponsoredLandingAddress("netscape", "x").rfind("http://" + ServiceHostFor("netscape"), 0),
              0u);
    EXPECT_EQ(fakeweb::services::SponsoredLandingAddress("altavista", "x"), "");
}

}  // namespace
}  // namespace qm
