// Applying compiled templates to pages: areas, captures, the row rules, next pages.
#include "engines/web/TemplateMatch.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "toolkit/Misc.h"

namespace qm {
namespace {

// A result list of its own with the usual duplicate test and an optional limit.
class ListSink : public ReaderSink {
public:
    std::vector<ResultRow> rows;
    PageQueue queue;
    int limit = 1000;
    int pumps = 0;
    int stopAfterPumps = -1;

    std::string SearchHost() const override { return "http://unused.example"; }
    std::string EngineName() const override { return "Tpl"; }
    PageQueue &Queue() override { return queue; }
    bool IsDuplicateUrl(std::string_view url) const override {
        return std::any_of(rows.begin(), rows.end(), [&](const ResultRow &r) { return SameTextNoCase(r.Address(), url); });
    }
    bool AddResult(ResultRow row) override {
        row.caption = std::to_string(rows.size() + 1);
        rows.push_back(std::move(row));
        return int(rows.size()) < limit;
    }
    bool KeepReading() override { return stopAfterPumps < 0 || ++pumps <= stopAfterPumps; }
};

TWebBot Bot(std::string linkTemplate, std::string start = {}, std::string stop = {}) {
    TWebBot bot;
    bot.linkTemplateText = std::move(linkTemplate);
    bot.linkTemplate = CompileTemplate(bot.linkTemplateText);
    bot.linkAreaStartAt = std::move(start);
    bot.linkAreaStopAt = std::move(stop);
    return bot;
}

const char *kTpl = "<li><a href=\"[URL]\">[TITLE]</a><p>[TEXT]</p>";

std::string Item(const std::string &url, const std::string &title, const std::string &text) {
    return "<li><a href=\"" + url + "\">" + title + "</a><p>" + text + "</p>";
}

TEST(TemplateArea, StartAndStopPositions) {
    const std::string page = "<div>head</div><OL>abc</div>def</ol>";
    EXPECT_EQ(FindAreaStart(page, "<ol>"), 19u);  // right after the landmark, any case
    EXPECT_EQ(FindAreaStart(page, ""), 0u);
    EXPECT_EQ(FindAreaStart(page, "<table>"), 0u);
    // The stop landmark is sought from the area's start, not from the page's start.
    EXPECT_EQ(FindAreaStop(page, "</div>", 19), 22u);
    EXPECT_EQ(FindAreaStop(page, "</div>"), 9u);
    EXPECT_EQ(FindAreaStop(page, "</table>", 19), page.size());
    EXPECT_EQ(FindAreaStop(page, "", 5), page.size());
    auto area = FindArea(page, "<ol>", "</div>");
    EXPECT_EQ(page.substr(area.start, area.stop - area.start), "abc");
}

TEST(TemplateMatch, RowsFromTheLinkAreaOnly) {
    const std::string page = "<html>" + Item("http://before.example/", "Before", "x") + "<ol>" +
                             Item("http://one.example/", "<b>One</b> &amp; all", " first  ") +
                             Item("http://two.example/", "Two", "second") + "</ol>" +
                             Item("http://after.example/", "After", "y");
    ListSink sink;
    EXPECT_EQ(MatchTemplate(Bot(kTpl, "<ol>", "</ol>"), page, sink), 2);
    ASSERT_EQ(sink.rows.size(), 2u);
    EXPECT_EQ(sink.rows[0].subItems, (std::vector<std::string>{"One & all", "http://one.example/", "Tpl", "first", ""}));
    EXPECT_EQ(sink.rows[0].caption, "1");
    EXPECT_EQ(sink.rows[0].image, -1);
    // The last record ends right where the stop landmark begins and is still read.
    EXPECT_EQ(sink.rows[1].subItems[1], "http://two.example/");

    // Without the landmarks the whole page is read, to its very last byte.
    ListSink all;
    EXPECT_EQ(MatchTemplate(Bot(kTpl, "<table>", "</table>"), page, all), 4);
    EXPECT_EQ(all.rows[3].subItems[0], "After");
}

TEST(TemplateMatch, LandmarksIgnoreCaseAndLineBreaksAndOverlap) {
    // Lower-case landmarks match upper-case text; tab, CR and LF are passed over and
    // captured as blanks; a landmark that starts inside a failed partial match is found.
    const std::string page = "<LI><A HREF=\"http://x.example/a\">Big\r\ncat</A><P>furry\tand\nsoft</\nP>"
                             "<li><a href=\"http://y.example/\">aab</a><p>zz</p>";
    ListSink sink;
    MatchTemplate(Bot(kTpl), page, sink);
    ASSERT_EQ(sink.rows.size(), 2u);
    EXPECT_EQ(sink.rows[0].subItems[0], "Big  cat");
    EXPECT_EQ(sink.rows[0].subItems[3], "furry and soft");

    ListSink loc;
    MatchTemplate(Bot("x[LOCATION]aab"), "x1aaab|x2aab", loc);
    ASSERT_EQ(loc.rows.size(), 2u);
    EXPECT_EQ(loc.rows[0].subItems[4], "1a");
    EXPECT_EQ(loc.rows[1].subItems[4], "2");
}

TEST(TemplateMatch, CapturesAreCutTo511Bytes) {
    const std::string longTitle(600, 't');
    ListSink sink;
    MatchTemplate(Bot(kTpl), Item("http://l.example/", longTitle, "d" + std::string(700, 'e')), sink);
    ASSERT_EQ(sink.rows.size(), 1u);
    EXPECT_EQ(sink.rows[0].subItems[0], std::string(511, 't'));
    EXPECT_EQ(sink.rows[0].subItems[3].size(), 511u);
    EXPECT_EQ(sink.rows[0].subItems[3][0], 'd');
}

TEST(TemplateMatch, RowRules) {
    // Title, description and location but no link: no row. No description but a location:
    // a row. Title and description and a link: a row (URL empty).
    const char *tpl = "<r>[URL]|[TITLE]|[TEXT]|[LOCATION]</r>";
    const std::string page = "<r>|T1|D1|http://loc1.example/</r>"
                             "<r>http://l2.example/|T2||http://loc2.example/</r>"
                             "<r>http://l3.example/|T3|D3|</r>"
                             "<r>http://l4.example/|T4||</r>"
                             "<r>||D5|</r>";
    ListSink sink;
    MatchTemplate(Bot(tpl), page, sink);
    ASSERT_EQ(sink.rows.size(), 2u);
    EXPECT_EQ(sink.rows[0].subItems, (std::vector<std::string>{"T2", "http://l2.example/", "Tpl", "", "http://loc2.example/"}));
    EXPECT_EQ(sink.rows[1].subItems, (std::vector<std::string>{"T3", "http://l3.example/", "Tpl", "D3", ""}));
}

TEST(TemplateMatch, LinkCleanupQuotesAndBaseUrl) {
    // href=[URL]> : the opening quote is read as a blank, the link is cut at the closing one.
    ListSink sink;
    MatchTemplate(Bot("<a href=[URL]>[TITLE]</a> [TEXT]<br>"),
                  "<a href=\"http://q.example/?a=1&amp;b=2\" class=x>Q</a> qd<br>"
                  "<a href='http://s.example/'>S</a> sd<br>"
                  "<a href= http://n.example/x>y >N</a> nd<br>",
                  sink);
    ASSERT_EQ(sink.rows.size(), 3u);
    EXPECT_EQ(sink.rows[0].subItems[1], "http://q.example/?a=1&b=2");
    EXPECT_EQ(sink.rows[1].subItems[1], "http://s.example/");
    EXPECT_EQ(sink.rows[2].subItems[1], "http://n.example/x");

    TWebBot bot = Bot("<a href=\"[BASEURL]\">[TITLE]</a>[TEXT]<br>");
    bot.baseUrl = "http://base.example";
    ListSink based;
    MatchTemplate(bot, "<a href=\" /p?id=7\">P</a>pd<br>", based);
    ASSERT_EQ(based.rows.size(), 1u);
    EXPECT_EQ(based.rows[0].subItems[1], "http://base.example/p?id=7");
}

TEST(TemplateMatch, DuplicatesLimitAndStop) {
    std::string page;
    for (int i = 0; i < 6; ++i) page += Item("http://d" + std::to_string(i % 3) + ".example/", "T", "D");
    page += Item("HTTP://D0.EXAMPLE/", "T", "D");
    ListSink sink;
    EXPECT_EQ(MatchTemplate(Bot(kTpl), page, sink), 3);  // repeated addresses, any case, are left out

    ListSink limited;
    limited.limit = 2;
    std::string distinct;
    for (int i = 0; i < 10; ++i) distinct += Item("http://e" + std::to_string(i) + ".example/", "T", "D");
    EXPECT_EQ(MatchTemplate(Bot(kTpl), distinct, limited), 2);

    // Reading stops when the sink says so at a pump (every 512 bytes).
    std::string big;
    for (int i = 0; i < 100; ++i) big += Item("http://f" + std::to_string(i) + ".example/", "Title", "Description");
    ListSink stopped;
    stopped.stopAfterPumps = 2;  // positions 0 and 512 are read, 1024 is not
    MatchTemplate(Bot(kTpl), big, stopped);
    const size_t itemSize = Item("http://f10.example/", "Title", "Description").size();
    EXPECT_GT(stopped.rows.size(), 0u);
    EXPECT_LE(stopped.rows.size(), 1024 / itemSize + 1);

    // A template that never completes a record, or has nothing in it, adds nothing.
    ListSink none;
    EXPECT_EQ(MatchTemplate(Bot("<li>[URL]"), big, none), 0);
    EXPECT_EQ(MatchTemplate(Bot(""), big, none), 0);
    EXPECT_EQ(MatchTemplate(Bot(kTpl), "", none), 0);
}

TEST(TemplateNext, QueuesResolvedAddressesOnce) {
    TWebBot bot = Bot(kTpl);
    bot.nextAreaStartAt = "<div class=pages>";
    bot.nextAreaStopAt = "</div>";
    bot.nextTemplateText = "<a href=\"[URL]\">";
    bot.nextTemplate = CompileTemplate(bot.nextTemplateText);
    const std::string page = "<a href=\"/ignored\"><div class=pages><b>1</b> <a href=\"/s?q=x&amp;p=2\">2</a> "
                             "<a href=\"s?q=x&amp;p=3\">3</a> <a href=\"http://other.example/p4\">4</a>"
                             "<a href=\"/s?q=x&amp;p=2\">next</a></div><a href=\"/after\">";
    ListSink sink;
    sink.queue.Append("http://t.example/dir/s?q=x", "ON");
    EXPECT_EQ(MatchNextTemplate(bot, page, "http://t.example/dir/s?q=x", sink), 3);
    ASSERT_EQ(sink.queue.size(), 4u);
    EXPECT_EQ(sink.queue[1].address, "http://t.example/s?q=x&p=2");
    EXPECT_EQ(sink.queue[2].address, "http://t.example/dir/s?q=x&p=3");
    EXPECT_EQ(sink.queue[3].address, "http://other.example/p4");
    EXPECT_EQ(sink.queue[3].state, "");
    EXPECT_TRUE(sink.rows.empty());

    // Without the next-page area there is nothing to follow, however many links the page has.
    ListSink last;
    EXPECT_EQ(MatchNextTemplate(bot, "<a href=\"/p2\">2</a><a href=\"/p3\">3</a>", "http://t.example/", last), 0);
    EXPECT_TRUE(last.queue.empty());
    // With no area landmarks the whole page is the area.
    bot.nextAreaStartAt.clear();
    bot.nextAreaStopAt.clear();
    EXPECT_EQ(MatchNextTemplate(bot, "<a href=\"/p2\">2</a><a href=\"/p3\">3</a>", "http://t.example/", last), 2);
}

TEST(TemplateNext, ResolveAgainst) {
    const char *base = "http://h.example:81/a/b.cgi?q=1#f";
    EXPECT_EQ(ResolveAgainst(base, "https://x.example/"), "https://x.example/");
    EXPECT_EQ(ResolveAgainst(base, "//y.example/z"), "http://y.example/z");
    EXPECT_EQ(ResolveAgainst(base, "/r?p=2"), "http://h.example:81/r?p=2");
    EXPECT_EQ(ResolveAgainst(base, "?p=2"), "http://h.example:81/a/b.cgi?p=2");
    EXPECT_EQ(ResolveAgainst(base, "c.cgi?p=2"), "http://h.example:81/a/c.cgi?p=2");
    EXPECT_EQ(ResolveAgainst("http://h.example", "c?p=2"), "http://h.example/c?p=2");
    EXPECT_EQ(ResolveAgainst("not an address", "c"), "c");
}

}  // namespace
}  // namespace qm
