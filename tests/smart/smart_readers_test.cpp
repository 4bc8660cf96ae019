// The smart finder's readers of a Google result page (the selector-0 readers, through the
// smart finder's entry points) on the edge cases of the page layout, and the encoding of
// a smart query into an address.
#include "engines/web/WebReadersSink.h"
#include "smart/SmartSearch.h"

#include <gtest/gtest.h>

namespace qm {
namespace {

struct Parsed {
    std::vector<ResultRow> rows;
    std::vector<std::string> pages;
};

Parsed Read(const std::string &page) {
    CollectingSink sink("http://www.smartsearch.example", "");
    CollectSmartPages(page, sink);
    ParseSmartResults(page, sink);
    Parsed p{sink.Rows(), {}};
    for (const auto &e : sink.Queue().entries()) p.pages.push_back(e.address);
    return p;
}

TEST(SmartReaders, ResultRecords) {
    struct Case {
        const char *name;
        std::string page;
        std::vector<std::vector<std::string>> rows;  // site, location, description
    };
    const std::vector<Case> cases = {
        {"plain record, title cleaned but not trimmed, description trimmed",
         "<p><a href=http://a.example/> A &amp; B </a><br>  About <b>a</b>  <font>x",
         {{" A & B ", "http://a.example/", "About a"}}},
        {"redirector: the target between &q= and &e=",
         "<p><a href=/url?sa=U&q=http://t.example/p&e=42>T</a><br>d<font>", {{"T", "http://t.example/p", "d"}}},
        {"redirector without &e= is dropped, the next record is read",
         "<p><a href=/url?sa=U&q=http://x.example/>X</a><br>d<fo><p><a href=http://y.example/>Y</a><br>e<fo>",
         {{"Y", "http://y.example/", "e"}}},
        {"addresses without http:// are dropped",
         "<p><a href=ftp://f.example/>F</a><br>d<fo><p><a href=https://s.example/>S</a><br>d<fo>", {}},
        {"an empty description becomes the address",
         "<p><a href=http://e.example/>E</a><br> <fo>", {{"E", "http://e.example/", "http://e.example/"}}},
        {"the same address in another case is listed once",
         "<p><a href=http://d.example/>D</a><br>1<fo><p><a href=HTTP://D.EXAMPLE/>D2</a><br>2<fo>",
         {{"D", "http://d.example/", "1"}}},
        {"landmark letters in any case, line breaks inside it passed over",
         "<P>\n<A \tHREF=http://u.example/>U</A><BR>up<FONT>", {{"U", "http://u.example/", "up"}}},
        {"a record without its description end ends the page", "<p><a href=http://z.example/>Z</a><br>never", {}},
    };
    for (const Case &c : cases) {
        const Parsed p = Read(c.page);
        ASSERT_EQ(p.rows.size(), c.rows.size()) << c.name;
        for (size_t i = 0; i < c.rows.size(); ++i) {
            const auto &s = p.rows[i].subItems;
            EXPECT_EQ(s[kSite], c.rows[i][0]) << c.name;
            EXPECT_EQ(s[kLocation], c.rows[i][1]) << c.name;
            EXPECT_EQ(s[kSmartCost], "") << c.name;
            EXPECT_EQ(s[kDescription], c.rows[i][2]) << c.name;
            EXPECT_EQ(s[kUrl], "") << c.name;
        }
    }
}

TEST(SmartReaders, FurtherPages) {
    const Parsed p = Read(
        "<table><tr><td><a href=/search?q=hard+drives&start=20>2</a></td>"
        "<td><a href=/search?q=hard+drives&start=40>3</a></td>"
        "<td><a href=/SEARCH?Q=HARD+DRIVES&START=20>2</a></td>"  // the same page in capitals
        "<td><b><a href=/search?q=other>x</a></b></td></tr></table>");
    EXPECT_EQ(p.pages, (std::vector<std::string>{"http://www.smartsearch.example/search?q=hard+drives&start=20",
                                                 "http://www.smartsearch.example/search?q=hard+drives&start=40"}));
    EXPECT_TRUE(p.rows.empty());
}

TEST(SmartReaders, QueryInAddress) {
    const std::vector<std::pair<std::string, std::string>> cases = {
        {"Hard+Drives", "Hard+Drives"},
        {"Arts+&+Crafts", "Arts+%26+Crafts"},
        {"Children's+Books", "Children%27s+Books"},
        {"C+++Books", "C+++Books"},
        {"Music/Video", "Music%2FVideo"},
        {"a-b.c_d~e", "a-b.c_d~e"},
        {"Caf\xc3\xa9#1=%", "Caf%C3%A9%231%3D%25"},
    };
    for (const auto &[query, encoded] : cases) EXPECT_EQ(EncodeSmartQuery(query), encoded) << query;
    EXPECT_EQ(AddressRoot("http://www.smartsearch.example/search?as_q=x"), "http://www.smartsearch.example");
    EXPECT_EQ(AddressRoot("no scheme"), "");
}

}  // namespace
}  // namespace qm
