// The newsgroup, C|NET, TuCows and detail-page readers on hand-made pages, one edge case each.
#include "engines/vertical/VerticalReaders.h"

#include <gtest/gtest.h>

namespace qm {
namespace {

const std::string kNewsHost = "http://n.example", kCnetHost = "http://c.example", kCowHost = "http://t.example";

VerticalParsed News(const std::string &page) { return ParseVerticalPage(VerticalEngine::News, kNewsHost, page); }
VerticalParsed Cnet(const std::string &page) { return ParseVerticalPage(VerticalEngine::Cnet, kCnetHost, page); }
VerticalParsed Cows(const std::string &page) { return ParseVerticalPage(VerticalEngine::TuCows, kCowHost, page); }

std::string Article(const std::string &id, const std::string &title, const std::string &group = "alt.x") {
    return "<p><a href=/groups?q=q&selm=" + id + ">" + title + "</a><br>body of " + id +
           "<font size=-1><a class=g href=/x>" + group + "</a></font>\n";
}

TEST(NewsReaders, PageLinksNeedStartAndNoSeld) {
    const std::string page = "<a href=/groups?q=a&start=10>2</a> <a href=/groups?q=a&start=20&seld=9>x</a>"
                             "<a href=/groups?q=a&selm=1>no start</a><A HREF=/groups?q=a&START=10>again</a>"
                             "<a href=/groups?q=a\n&start=30>3</a>";
    const auto p = News(page);
    ASSERT_EQ(p.pages.size(), 2u);
    EXPECT_EQ(p.pages[0], kNewsHost + "/groups?q=a&start=10");
    EXPECT_EQ(p.pages[1], kNewsHost + "/groups?q=a &start=30");  // a line break reads as a blank
}

TEST(NewsReaders, ResultsAfterSortedByOnly) {
    const std::string before = Article("early", "Too early");
    auto p = News(before + "<b>Sorted by</b> relevance " + Article("a1", "First <b>one</b>", "comp.lang") +
                  "<p><a href=/groups?q=q&selm=pic><img src=x.gif></a><br>pic<font>" + Article("a1", "Again") +
                  Article("a2", "Second\r\nline"));
    ASSERT_EQ(p.rows.size(), 0u) << "\"Sorted by \" needs its blank";
    p = News(before + "Sorted by relevance " + Article("a1", "First <b>one</b>", "comp.lang") +
             "<p><a href=/groups?q=q&selm=pic><img src=x.gif></a><br>pic<font>" + Article("a1", "Again") +
             Article("a2", "Second\r\nline"));
    ASSERT_EQ(p.rows.size(), 2u);
    EXPECT_EQ(p.rows[0].subItems[kNewsTitle], "First one");
    EXPECT_EQ(p.rows[0].subItems[kNewsGroups], "comp.lang");
    EXPECT_EQ(p.rows[0].subItems[kNewsSource], "GoogleNews");
    EXPECT_EQ(p.rows[0].subItems[kNewsDescription], "... body of a1");
    EXPECT_EQ(p.rows[0].subItems[kNewsAddress], kNewsHost + "/groups?q=q&selm=a1");
    EXPECT_EQ(p.rows[1].subItems[kNewsTitle], "Second  line");
    // Without the landmark the page gives no row, but its further pages are still taken.
    p = News(Article("a1", "x") + "<a href=/groups?q=q&start=10>2</a>");
    EXPECT_TRUE(p.rows.empty());
    EXPECT_EQ(p.pages.size(), 1u);
}

TEST(NewsReaders, LongFieldsAreCut) {
    const std::string title(700, 'T');
    const auto p = News("Sorted by x " + Article("long", title));
    ASSERT_EQ(p.rows.size(), 1u);
    EXPECT_EQ(p.rows[0].subItems[kNewsTitle].size(), 511u);
}

std::string CnetRecord(const std::string &id, const std::string &name, const std::string &rating,
                       const std::string &type = "Freeware</td>") {
    return "<td class=\"f\"><a href=\"/downloads/0-" + id + ".html\">" + name +
           "</a><span class=\"d\">Does " + name + "</span><td class=\"t\">" + type +
           "<span class=\"s\">stars</span><a href=\"/r\">" + rating + "</a><span class=\"n\">1,234,567</span>"
           "<td class=\"z\">99K</td>\n";
}

TEST(CnetReaders, RecordsRatingsAndDuplicates) {
    const auto p = Cnet(CnetRecord("1", "Alpha", "85%") + CnetRecord("2", "Beta &amp; co", "n/a", "Demo</TH>") +
                        CnetRecord("3", "ALPHA", "90%") + CnetRecord("4", "Gamma", "7%", "Trial <a href=x>") );
    ASSERT_EQ(p.rows.size(), 3u);
    const auto &a = p.rows[0].subItems;
    EXPECT_EQ(a[kPrgName], "Alpha");
    EXPECT_EQ(a[kPrgType], "Freeware");
    EXPECT_EQ(a[kPrgSize], "99K");
    EXPECT_EQ(a[kPrgComments], "85% / 1234567  (rated/#downloads)");
    EXPECT_EQ(a[kPrgSource], "C|NET");
    EXPECT_EQ(a[kPrgDescription], "Does Alpha");
    EXPECT_EQ(a[kPrgUrl], kCnetHost + "/downloads/0-1.html");
    EXPECT_EQ(a[kPrgHomePage], "");
    EXPECT_EQ(p.rows[1].subItems[kPrgName], "Beta & co");
    EXPECT_EQ(p.rows[1].subItems[kPrgType], "Demo");
    EXPECT_EQ(p.rows[1].subItems[kPrgComments], "--- / 1234567  (rated/#downloads)");
    EXPECT_EQ(p.rows[2].subItems[kPrgName], "Gamma");  // "ALPHA" was Alpha again
    EXPECT_EQ(p.rows[2].subItems[kPrgType], "Trial");
}

TEST(CnetReaders, PageLinksEndWithAmpersandAndGtOrBlank) {
    const auto p = Cnet("<a href=/downloads/0,1-0-2.html?q=a&pg=2&>2</a>"
                        "<a href=/downloads/0,1-0-3.html?q=a&pg=3& class=x>3</a>"
                        "<a href=/downloads/0,1-1-0-4.html?q=a&pg=4&>4</a>"
                        "<a href=/downloads/0,1-0-2.html?q=a&PG=2&>again</a>");
    ASSERT_EQ(p.pages.size(), 3u);
    EXPECT_EQ(p.pages[0], kCnetHost + "/downloads/0,1-0-2.html?q=a&pg=2&");
    EXPECT_EQ(p.pages[1], kCnetHost + "/downloads/0,1-0-3.html?q=a&pg=3&");
    EXPECT_EQ(p.pages[2], kCnetHost + "/downloads/0,1-1-0-4.html?q=a&pg=4&");
}

std::string CowRecord(const std::string &name, const std::string &version, const std::string &bytes) {
    return "<a name=\"x\"></a><a href=\"" + kCowHost + "/f/" + name + ".html/\"><b>" + name +
           "</b></a><li><b>Platform:</b> Win95<li><b>Version Number:</b> " + version +
           "<li>License: Free<li>File size: " + bytes + "<li>Home page: <a href=\"http://h.example/\">http://h.example/"
           "</a><li>Description: Cow " + name + "<br><img alt=\"3 cows\">\n";
}

TEST(TuCowsReaders, RecordsSizesAndDuplicates) {
    const auto p = Cows(CowRecord("Moo", "1.0", "2048000") + CowRecord("Tiny", "2", "1023") +
                        CowRecord("moo", "1.0", "5") + CowRecord("Moo", "1.1", "x"));
    ASSERT_EQ(p.rows.size(), 3u);
    const auto &a = p.rows[0].subItems;
    EXPECT_EQ(a[kPrgName], "Moo  (1.0)");
    EXPECT_EQ(a[kPrgType], "Free");
    EXPECT_EQ(a[kPrgSize], "2000 KB");
    EXPECT_EQ(a[kPrgComments], "Win95 / Rated  3 cows");
    EXPECT_EQ(a[kPrgSource], "TuCows");
    EXPECT_EQ(a[kPrgUrl], kCowHost + "/f/Moo.html");  // its last character dropped
    EXPECT_EQ(a[kPrgHomePage], "http://h.example/");
    EXPECT_EQ(a[kPrgDescription], "Cow Moo");
    EXPECT_EQ(p.rows[1].subItems[kPrgSize], "0 KB");
    EXPECT_EQ(p.rows[2].subItems[kPrgName], "Moo  (1.1)");
    EXPECT_EQ(p.rows[2].subItems[kPrgSize], "0 KB");
}

TEST(TuCowsReaders, PageLinksBeginWithTheSearchAddress) {
    const auto p = Cows("<a href=\"" + kCowHost + "/perl/tucowsSearch?w=a&page=2\">2</a>"
                        "<a href=\"HTTP://T.EXAMPLE/PERL/tucowsSearch?w=a&page=3\">3</a>"
                        "<a href=\"http://mirror.example/perl/tucowsSearch?w=a&page=4\">m</a>"
                        "<a href=\"/perl/tucowsSearch?w=a&page=5\">relative</a>");
    ASSERT_EQ(p.pages.size(), 2u);
    EXPECT_EQ(p.pages[1], "HTTP://T.EXAMPLE/PERL/tucowsSearch?w=a&page=3");
}

TEST(DetailPage, LinksOpinionsAndDescription) {
    const std::string page = "<div class=DLHTMLBASIC><p><a href=/dl/1.exe>Download</a>"
                             "<a href=\"/rel\">Related sites</a> <b><a href=\"/author\">a</a>"
                             "<a href=\"/specs\">Specs</a><a href=\"/op/1\">read opinions</a>"
                             "<b>Description<br>Intro<br>Does <i>it</i> &amp; more.</font>";
    const auto d = ReadSoftwareDetailPage(page, kCnetHost);
    EXPECT_EQ(d.download, kCnetHost + "/dl/1.exe");
    EXPECT_EQ(d.author, kCnetHost + "/author");
    EXPECT_TRUE(d.mentionsOpinions);
    EXPECT_EQ(d.opinions, kCnetHost + "/op/1");
    EXPECT_EQ(d.description, "Does it & more.");

    const std::string noOpinions = "dlhtmlbasic <a href=/dl/2>x</a> Related sites</a><a href=\"/au\">a</a>"
                                   "description<br>intro<br>" + std::string(3000, 'd') + "</font>";
    const auto e = ReadSoftwareDetailPage(noOpinions, kCnetHost);
    EXPECT_FALSE(e.mentionsOpinions);
    EXPECT_EQ(e.opinions, "");
    EXPECT_EQ(e.description.size(), kMaxDetailDescription);

    const auto none = ReadSoftwareDetailPage("<html>Related sites</a><a href=\"/au\">opinions</html>", kCnetHost);
    EXPECT_EQ(none.download, "");
    EXPECT_EQ(none.author, "");  // the landmarks come in order: no download, nothing after it
    EXPECT_TRUE(none.mentionsOpinions);
}

TEST(VerticalReaders, StopWhenTheSearchStops) {
    std::string page = "Sorted by x ";
    for (int i = 0; i < 200; ++i) page += Article("a" + std::to_string(i), "T" + std::to_string(i));
    VerticalCollectingSink sink(kNewsHost, "GoogleNews", kNewsColumns, kNewsAddress);
    sink.stopAtPump = 3;
    ParseNewsResults(page, sink);
    EXPECT_GT(sink.Rows().size(), 0u);
    EXPECT_LT(sink.Rows().size(), 30u);
    VerticalCollectingSink limited(kNewsHost, "GoogleNews", kNewsColumns, kNewsAddress);
    limited.limit = 2;
    ParseNewsResults(page, limited);
    EXPECT_EQ(limited.Rows().size(), 2u);
}

}  // namespace
}  // namespace qm
