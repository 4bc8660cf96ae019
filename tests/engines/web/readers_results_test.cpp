// Result readers: the rows each engine's reader takes from a page.
#include <gtest/gtest.h>

#include <functional>

#include "readers_support.h"

namespace qm::readers_test {
namespace {

using Rows = std::vector<Row>;

Row R(std::string site, std::string location, std::string description, std::string url = {}) {
    return {std::move(site), std::move(location), "E", std::move(description), std::move(url)};
}

TEST(ResultReaders, Selector0Google) {
    auto p = Results(0,
        "<p><a href=http://www.a.example/> Alpha <b>site</b></a> <font>x</font><br> Alpha &amp; more <font>\n"
        "<p><a href=/url?sa=U&q=http://www.b.example/page&e=123>Beta</a><br>  <font>\n"
        "<p><a href=/url?sa=U&q=http://www.c.example/>Gamma</a><br>dropped: no &amp;e=<font>\n"
        "<p><a href=www.d.example/>Delta</a><br>dropped: no http<font>\n"
        "<p><a href=HTTP://WWW.A.EXAMPLE/>Again</a><br>dropped: listed<font>\n"
        "<p>\n<a href=http://www.e.example/>Epsilon</a>\n<br>e<fo>\n");
    EXPECT_EQ(p.rows, (Rows{R(" Alpha site", "http://www.a.example/", "Alpha & more"),
                            R("Beta", "http://www.b.example/page", "http://www.b.example/page"),
                            R("Epsilon", "http://www.e.example/", "e")}));
}

const char *kAltavista =
    "<a href=\"/cgi-bin/query?kl=XX&q=cars&stq=10\">2</a>\n"
    "<dl>\n<dt><b>1. </b><a href=\"http://www.a.example/\">Fast <B>cars</B> <i>and</I> vans</a></b>\n"
    "<dd>Cars &eacute;\tdesc <b>bold</b><br><span>URL: x</span></dl>\n"
    "<dl><dt><a href=\"http://www.a.example/\">Listed</a><dd>dup<span>\n"
    // No "ht" in this record: the search for the address runs on into the next one.
    "<dl><dt><a href=\"ftp://files.example/\">No web</a><dd>x<span>\n"
    "<dl><dt><a href=\"http://www.font.example/\">Font</a><dd>a<FONT SIZE=-1>b</font><span>\n"
    "<dl><dt><a href=\"http://www.lower.example/\">Lower <b>bold</b></a><dd> d <span>\n";

TEST(ResultReaders, Selector1Altavista) {
    auto p = Results(1, kAltavista);
    EXPECT_EQ(p.rows, (Rows{R("Fast cars and vans ", "http://www.a.example/", "Cars \xc3\xa9 desc bold"),
                            R("Font", "http://www.font.example/", ""),
                            // A lower-case "<b>" ends the title.
                            R("Lower ", "http://www.lower.example/", "d")}));
    auto q = Parse(1, kAltavista);
    EXPECT_EQ(q.pages, (std::vector<std::string>{kHost + "/cgi-bin/query?kl=XX&q=cars&stq=10"}));
    EXPECT_EQ(q.rows.size(), 3u);
}

TEST(ResultReaders, Selector1LimitStopsInTheMiddleOfThePage) {
    std::string page;
    for (int i = 0; i < 10; ++i)
        page += "<dl><dt><a href=\"http://www.r" + std::to_string(i) + ".example/\">T" + std::to_string(i) +
                "</a><dd>d<span>\n";
    EXPECT_EQ(Parse(1, page).rows.size(), 10u);
    auto p = Parse(1, page, 5);
    ASSERT_EQ(p.rows.size(), 5u);
    EXPECT_EQ(p.rows[4].site, "T4");
}

TEST(ResultReaders, Selector1StopsWhenTheSearchIsStoppedDuringAPump) {
    std::string record = "<dl><dt><a href=\"http://www.x.example/\">T</a><dd>d<span>";
    std::string page;
    for (int i = 0; page.size() < 2000; ++i)
        page += std::string(record).replace(record.find("x."), 1, "x" + std::to_string(i));
    CollectingSink sink(kHost, "E");
    sink.stopAtPump = 2;  // the pump at position 512 says "stop"
    RunResultReader(1, page, sink);
    ASSERT_FALSE(sink.Rows().empty());
    const size_t perRecord = record.size() + 1;
    EXPECT_LE(sink.Rows().size(), 512 / perRecord + 1);
    EXPECT_EQ(sink.pumps, 2u);
}

TEST(ResultReaders, Selector2Aol) {
    auto p = Results(2,
        "<a href=\"x\" onmouseover=\"self.status='http://www.a.example/';return true\">Alpha</a>"
        "<dd class=d> Alpha desc <i>http://www.a.example/</i>\n"
        "<a onmouseover=\"self.status='www.b.example/';\">Beta</a><dd>b<i>\n"
        "<a onmouseover=\"self.status='Http://www.c.example/';\"> Gamma </a><dd><font size=1>c</font><i>\n"
        "<a onmouseover=\"self.status='hxxp://www.d.example/';\">Delta</a><dd>no http<i>\n");
    EXPECT_EQ(p.rows, (Rows{R("Alpha", "http://www.a.example/", "Alpha desc"),
                            R(" Gamma ", "Http://www.c.example/", "")}));
}

TEST(ResultReaders, Selector3Hotbot) {
    auto p = Results(3,
        "<p><b><a href=\"http://click.example/?1\">Alpha</a></b><br>Alpha desc<br>"
        "<font color=green> http://www.a.example/ </font>\n"
        "<p><b><a href=\"x\">NoHttp</a></b><br>d<br><font>ftp http-ish www.n.example</font>\n"
        "<p><b><a href=\"x\">Beta</a></b><br><font size=2>b</font><br><i>http://www.b.example/</i>\n");
    EXPECT_EQ(p.rows, (Rows{R("Alpha", "http://www.a.example/", "Alpha desc"),
                            R("Beta", "http://www.b.example/", "")}));
}

TEST(ResultReaders, Selector4Euroseek) {
    auto p = Results(4,
        "<dt><a href=\"http://www.a.example/\" class=\"matchtitle\">Alpha</a><br>"
        "<font class=\"matchtext\"> Alpha desc </font><br>"
        "<a class=\"matchurls\" href=\"http://www.a.example/\"> http://www.a.example/ </a>\n"
        "<dt><a class=\"matchtitle\">NoHttp</a><font class=\"matchtext\">x</font>"
        "<a class=\"matchurls\">www.n.example</a>\n");
    EXPECT_EQ(p.rows, (Rows{R("Alpha", "http://www.a.example/", "Alpha desc")}));
}

TEST(ResultReaders, Selector5FastSearch) {
    auto p = Results(5,
        "<dt><a href=\"http://www.a.example/\" onMouseOver=\"window.status=' http://www.a.example/ '; return true\" "
        "onMouseOut=\"window.status='';\"> Alpha </a><br><span class=t> Alpha <span class=e>cars</span> "
        "desc</span><br>\n"
        "<dt><a onMouseOver=\"window.status='www.n.example';\" onMouseOut=\"window.status='';\">No</a>"
        "<dt><a onMouseOver=\"window.status='http://www.b.example/';\" onMouseOut=\"window.status='';\">Beta</a>"
        "<span class=t>b<SPAN CLASS=E>x</span></span><br>\n");
    EXPECT_EQ(p.rows, (Rows{R("Alpha", "http://www.a.example/", "Alpha cars desc"),
                            R("Beta", "http://www.b.example/", "bx")}));
}

TEST(ResultReaders, Selector6Msn) {
    auto p = Results(6,
        "<h3><a class=\"ttitle\" href=\" http://www.a.example/ \"> Alpha </a></h3><br /> Alpha "
        "<span class=e>desc</span> <br />\n"
        "<a class=\"ttitle\" href=\"www.n.example\">No</a><br />n<br />\n"
        "<a class=\"ttitle\" href=\"http://www.b.example/\">Beta</a><br />b<br>\n");
    EXPECT_EQ(p.rows, (Rows{R("Alpha", "http://www.a.example/", "Alpha desc"),
                            R("Beta", "http://www.b.example/", "b")}));
}

TEST(ResultReaders, Selector7DirectHit) {
    auto p = Results(7,
        "1. <a href=\"http://click.example/1\"> Alpha </a><br/> Alpha desc <br /><a href=\"x\"> http://www.a.example/ 3k</a>\n"
        "2. <a href=\"http://click.example/2\">No</a><br/>n<br /><a href=\"x\">www.n.example 3k</a>\n"
        "3. <a href=\"http://click.example/3\">Short</a><br/>s<br /><a href=\"x\">ab</a>\n");
    EXPECT_EQ(p.rows, (Rows{R("Alpha", "http://www.a.example/", "Alpha desc")}));
}

TEST(ResultReaders, Selector8FindWhat) {
    auto p = Results(8,
        "<a href=\"/rurl.dll?id=1\"><a href=\"http://c.example/1\"><font class=\"t\"> Alpha </font></a><br>"
        "<font size=\"2\"> Alpha desc <br><i> http://www.a.example/&amp;x </i>\n"
        "WHAT.FCG?id=2 <a href=\"x\"><span class=\"t\">Beta</span></a><fon class=\"d\">b<br><i>http://www.b.example/</i>\n"
        "whal.dcg?id=3 <a href=\"x\"><span class=\"t\">Mixed</span></a><fon class=\"d\">m<br><i>http://www.m.example/</i>\n"
        "rhat.dlg?id=4 <a href=\"x\"><span class=\"t\">No</span></a><fon class=\"d\">n<br><i>www.n.example</i>\n");
    // Each position of the record landmark accepts either of its two letters.
    EXPECT_EQ(p.rows, (Rows{R("Alpha", "http://www.a.example/&x", "Alpha desc"),
                            R("Beta", "http://www.b.example/", "b"),
                            R("Mixed", "http://www.m.example/", "m")}));
}

TEST(ResultReaders, Selector9Sprinks) {
    auto p = Results(9,
        "<a href=\"http://early.example/\">early</a><b class=\"h\">Results for cars</b>\n"
        // The link ends at its closing quote; the title starts after the next quote and ">".
        "<a href=\"http://www.sprinks.example/click?lnk= http://www.a.example/ \" class=\"t\"> Alpha </a><br>"
        "<span class=\"d\"> Alpha desc </span>\n"
        "<a href=\"www.b.example\" class=\"t\">Beta</a><span class=\"d\">b</spa>\n"
        "<a href=\"http://www.sprinks.example/search.htm?terms=cars&pg=2\">Next</a>\n"
        "<a href=\"http://www.c.example/\">After</a><span class=\"d\">c</span>\n");
    EXPECT_EQ(p.rows, (Rows{R("Alpha", "http://www.a.example/", "Alpha desc"), R("Beta", "www.b.example", "b")}));
}

TEST(ResultReaders, Selector10GotoKeepsTheClickAddress) {
    auto p = Results(10,
        "<li><b><a href=http://click.goto.example/c?id=1 target=_top>Alpha</a></b> Alpha desc <em> www.a.example </em><p>\n"
        "<li><b><a href=http://click.goto.example/c?id=1 target=_top>Again</a></b>x<em>www.x.example</em><p>\n"
        // The address ends at ">", so the title starts after the next ">".
        "<li><b><a href=http://click.goto.example/c?id=2>Beta</a></b>x</a>b<em>www.a.example</em><p>");
    EXPECT_EQ(p.rows, (Rows{R("Alpha", "http://www.a.example", "Alpha desc", "http://click.goto.example/c?id=1"),
                            R("x", "http://www.a.example", "b", "http://click.goto.example/c?id=2")}));
}

TEST(ResultReaders, Selector11Netscape) {
    const std::string records =
        "<li><a href=\" http://www.a.example/ \"> Alpha </a><br> Alpha desc <font>x</font>\n"
        "<li><a href=\"www.b.example\">Beta</a><br>b<fon>\n"
        "<li><a href=\"WWW.B.EXAMPLE\">Again</a><br>x<fon>\n";
    auto p = Results(11, "<b>Web sites found by Netscape</b>\n" + records);
    EXPECT_EQ(p.rows, (Rows{R("Alpha", "http://www.a.example/", "Alpha desc"), R("Beta", "www.b.example", "b")}));
    EXPECT_EQ(Results(11, "12 sites \nreviewed " + records).rows.size(), 2u);
    EXPECT_TRUE(Results(11, "sites listed " + records).rows.empty());
}

TEST(ResultReaders, Selector12NbciAtMostTenRows) {
    std::string page = "<b>120 sites reviewed</b>\n";
    for (int i = 1; i <= 15; ++i) {
        std::string n = std::to_string(i);
        page += "<a href=\"http://click.example/" + n + "\"><b> Site " + n + " </b></a> >&nbsp;- http://www.s" + n +
                ".example/<br> desc " + n + (i % 2 ? " <br>" : "<img src=x>") + " <a href=\"add\">Add to my NBCi</a>\n";
    }
    auto p = Results(12, page);
    ASSERT_EQ(p.rows.size(), 10u);
    EXPECT_EQ(p.rows[0], R("Site 1", "http://www.s1.example/", "desc 1"));
    EXPECT_EQ(p.rows[9], R("Site 10", "http://www.s10.example/", "desc 10"));
}

TEST(ResultReaders, Selector14InfoSpaceKeepsTheClickAddress) {
    auto p = Results(14,
        "Web results: <a href=\"http://skip.example/\">passed over</a>\n"
        "<a href=\" http://click.infospace.example/c?1 \"> Alpha </a><br><font size=-1> Alpha desc <i> www.a.example </i>\n"
        "<a href=\"http://click.infospace.example/c?1\">Again</a><font>x<i>y</i>\n"
        "<a href=\"http://click.infospace.example/c?2\">Beta</a><font>b<i>www.a.example</i>\n");
    EXPECT_EQ(p.rows, (Rows{R("Alpha", "www.a.example", "Alpha desc", "http://click.infospace.example/c?1"),
                            R("Beta", "www.a.example", "b", "http://click.infospace.example/c?2")}));
}

TEST(ResultReaders, Selector15WebCrawler) {
    auto p = Results(15,
        "<span class=size10><a href=early>early</a></span>"
        "Web results for: <a href=/search.gw?s=cars>cars</a>\n"
        "<span class=size10><a href= http://www.a.example/ > Alpha </a> Alpha desc </span>\n"
        "<span class=size10><a href=www.b.example>Beta</a>b</span>\n");
    EXPECT_EQ(p.rows, (Rows{R("Alpha", "http://www.a.example/", "Alpha desc"), R("Beta", "www.b.example", "b")}));
}

TEST(ResultReaders, Selector16OpenDirectory) {
    auto p = Results(16,
        "Open Directory Sites <ol>\n"
        "<li><a href=\" http://www.a.example/ \"> Alpha </a> - Alpha desc <small>cat</small>\n"
        "<li><a href=\"www.b.example\">Beta</a> b <small><a href=\"http://inside.example/\">cat</a></small>\n"
        "</ol><a href=\"search?search=cars&start=20\">Next</a>\n"
        "<li><a href=\"http://www.c.example/\">After</a> c <small>x</small>\n");
    EXPECT_EQ(p.rows, (Rows{R("Alpha", "http://www.a.example/", "- Alpha desc"), R("Beta", "www.b.example", "b")}));
}

TEST(ResultReaders, Selector17CompuserveKeepsTheClickAddress) {
    auto p = Results(17,
        "<td>Web Pages</td>\n"
        "<font size=2><a href=\" redirect.adp?u=1 \" onmouseover=\"window.status=' www.a.example ';return true\">"
        " Alpha </a> Alpha desc <br>\n"
        "<font size=2><a href=\"REDIRECT.adp?u=1\" onmouseover=\"window.status='x';\">Again</a>x<br>\n"
        "<font size=2><a href=\"redirect.adp?u=2\" onmouseover=\"window.status='www.b.example';\">Beta</a>b<br>\n");
    const std::string prefix = kHost + "/cs/results/";
    EXPECT_EQ(p.rows, (Rows{R("Alpha", "www.a.example", "Alpha desc", prefix + "redirect.adp?u=1"),
                            R("Beta", "www.b.example", "b", prefix + "redirect.adp?u=2")}));
}

// Readers whose records end with a step of their own (12 "to my nb", 16 "</small", 10
// "<p>") take that step after a refused record too: a record whose address is already
// listed must neither turn its tail into a row nor swallow the record after it.
TEST(ResultReaders, ARefusedRecordIsPassedWholeBeforeTheNextOne) {
    struct Case {
        int selector;
        std::string head;
        std::function<std::string(const std::string &name)> record;
        Rows expected;
    };
    const std::vector<Case> cases = {
        {12, "<b>120 sites reviewed</b>\n",
         [](const std::string &n) {
             return "<a href=\"http://click.example/" + n + "\"><b>" + n + "</b></a> >&nbsp;- http://www." + n +
                    ".example/<br>" + n + " desc<br><a href=\"/add?u=" + n + "\">Add to my NBCi</a><br>\n";
         },
         {R("a", "http://www.a.example/", "a desc"), R("b", "http://www.b.example/", "b desc")}},
        {16, "<b>Open Directory Sites</b><ol>\n",
         [](const std::string &n) {
             return "<li><a href=\"http://www." + n + ".example/\">" + n + "</a> " + n +
                    " desc <small><a href=\"http://dir.example/Top/" + n + "/\">Top: " + n + "</a></small>\n";
         },
         {R("a", "http://www.a.example/", "a desc"), R("b", "http://www.b.example/", "b desc")}},
        {10, "<ol>\n",
         [](const std::string &n) {
             return "<li><b><a href=http://click.example/" + n + " target=_top>" + n + "</a></b>" + n +
                    " desc<em>www." + n + ".example</em><ul><li><b><a href=http://click.example/more-" + n +
                    ">More</a></b>m<em>more</em></ul><p>\n";
         },
         {R("a", "http://www.a.example", "a desc", "http://click.example/a"),
          R("b", "http://www.b.example", "b desc", "http://click.example/b")}},
    };
    for (const auto &c : cases) {
        // A duplicate first in the page (listed by an earlier page), then in the middle.
        CollectingSink sink(kHost, "E");
        RunResultReader(c.selector, c.head + c.record("a"), sink);
        RunResultReader(c.selector, c.head + c.record("a") + c.record("b") + c.record("a"), sink);
        EXPECT_EQ(Collect(sink, 0).rows, c.expected) << "selector " << c.selector;
    }
}

TEST(ResultReaders, AddressesWithoutHttpAreDroppedOnlyForSelectors0To8) {
    // The same record shape with and without "http://" for two selectors of each kind.
    auto altavista = [](const std::string &address) {
        return "<dl><dt><a href=\"" + address + "\">T</a><dd>d<span>";
    };
    EXPECT_TRUE(Results(1, altavista("hxxp://www.a.example/")).rows.empty());
    EXPECT_EQ(Results(1, altavista("HTTP://www.a.example/")).rows.size(), 1u);
    auto webcrawler = [](const std::string &address) {
        return "results for: <a href=x>q</a><span class=size10><a href=" + address + ">T</a>d</span>";
    };
    EXPECT_EQ(Results(15, webcrawler("www.a.example")).rows.size(), 1u);
}

TEST(ResultReaders, LongFieldsAreCutBeforeCleaning) {
    std::string title(600, 'x');
    title.replace(503, 10, "&amp;&amp;");  // the cut falls inside the second entity
    auto p = Results(1, "<dl><dt><a href=\"http://www.a.example/\">" + title + "</a><dd>d<span>");
    ASSERT_EQ(p.rows.size(), 1u);
    EXPECT_EQ(p.rows[0].site, std::string(503, 'x') + "&&am");
    std::string address = "http://www.a.example/" + std::string(600, 'p');
    auto q = Results(1, "<dl><dt><a href=\"" + address + "\">T</a><dd>d<span>");
    ASSERT_EQ(q.rows.size(), 1u);
    EXPECT_EQ(q.rows[0].location, address.substr(0, 511));
}

}  // namespace
}  // namespace qm::readers_test
