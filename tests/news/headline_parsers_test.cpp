// The headline parsers, one page per routine kind with its landmarks, filters, duplicates and
// the edge cases of each layout; then the rows every parse shares (headers, groups of five,
// closing rows, completion, stop).
#include "NewsTestUtil.h"
#include "news/NewsChannels.h"

#include <gtest/gtest.h>

using namespace qm;
using qm::test::Compact;
using qm::test::Headlines;
using qm::test::ListSink;

namespace {

HeadlineList Parse(int section, const std::string &page, ListSink &sink, int year = 2001) {
    HeadlineInput in;
    in.channel = "Chan";
    in.pageRoot = "http://r";
    in.year = year;
    ParseHeadlines(section, page, in, sink);
    return sink.rows;
}

std::vector<std::string> HeadlinesOf(int section, const std::string &page, int year = 2001) {
    ListSink sink;
    return Headlines(Parse(section, page, sink, year));
}

struct Case {
    const char *what;
    int section;
    std::string page;
    std::vector<std::string> expected;
};

TEST(HeadlineParsers, EachLayoutTakesWhatItsLandmarksDelimit) {
    const std::vector<Case> cases = {
        {"ABC: quote closed by '>' dropped, a title that starts with a tag waits, duplicates by case, wire pass",
         0,
         "<a href=\"/sections/world/dailynews/a.html\">Dropped</a>\n"
         "<a href=\"/sections/world/dailynews/b.html\" class=\"x\">Taken &amp;\tkept</a>\n"
         "<a href=\"/SECTIONS/world/dailynews/B.HTML\" class=\"x\">Duplicate</a>\n"
         "<a href=\"/sections/world/dailynews/c.html\" class=\"x\"><img src=\"i.gif\"></a><a href=\"/z\" class=\"y\">Second</a>\n"
         "<a href=\"/wire/world/w1.html\" class=bluesmall>Wire one</a> 10:05 ET</div>\n"
         "<a href=\"/wire/world/W1.html\" class=bluesmall>Wire again</a> 10:06 ET</div>\n",
         {"Taken & kept|http://r/sections/world/dailynews/b.html", "Second|http://r/sections/world/dailynews/c.html",
          "(10:05 ET)    Wire one|http://r/wire/world/w1.html"}},
        {"ABC U.S. section and wire", 5,
         "<a href=\"/sections/US/dailynews/u.html\" class=\"c\">US one</a><a href=\"/wire/us/1.html\" x=bluesmall>Wire</a>9 AM</div>",
         {"US one|http://r/sections/US/dailynews/u.html", "(9 AM)    Wire|http://r/wire/us/1.html"}},
        {"ABC Health: a headline holding a cell end is dropped", 3,
         "<a href=\"/sections/living/dailynews/x.html\" class=\"x\">Broken</td><td>cell</a>"
         "<a href=\"/sections/living/dailynews/y.html\" class=\"x\">Good</a>",
         {"Good|http://r/sections/living/dailynews/y.html"}},
        {"The Register: address to '\">', title after the bold tag to '</st'", 6,
         "<td class=\"adlink\"><a href=\"/content/1.html\"><strong>Reg one</strong></a>"
         "<td class=\"adlink\"><a href=\"/CONTENT/1.html\"><strong>Dup</strong></a>",
         {"Reg one|http://r/content/1.html"}},
        {"TF1: own word, 'suite de l'article', a quote followed by another byte", 8,
         "<a href=\"/news/monde/0,1.html\">MONDE</a>\n"
         "<a href=\"/news/monde/0,2.html\" class=\"t\">Lire la SUITE de l'article</a>\n"
         "<a href=\"/news/monde/0,3.html\"title=\"x\">No blank</a>\n"
         "<a href=\"/news/monde/0,4.html\">Direct title</a>\n"
         "<a href=\"/news/monde/0,5.html\" class=\"t\">With blank</a>\n",
         {"Direct title|http://r/news/monde/0,4.html", "With blank|http://r/news/monde/0,5.html"}},
        {"TF1 Multimedia: its own word with an accent", 12,
         "<a href=\"/news/multimedia/0,1.html\">Multim&eacute;dia</a><a href=\"/news/multimedia/0,2.html\">Multim\xE9" "dia</a>"
         "<a href=\"/news/multimedia/0,3.html\">Multimedia news</a>",
         {"Multimedia news|http://r/news/multimedia/0,3.html"}},
        {"Radio Canada: image link, bold title over two lines, quote not followed by '>', empty title", 14,
         "<a href=\"/nouvelles/img.asp\"><img src=\"x.gif\"></a>\r\n"
         "<a href=\"/nouvelles/1.asp\">\n<b>Two\nlines</b></a>\r\n"
         "<a href=\"/nouvelles/2.asp\" class=\"x\">Not taken</a>\r\n"
         "<a href=\"/nouvelles/3.asp\">Plain</a>"
         "<a href=\"/nouvelles/4.asp\"></a>",
         {"Two lines|http://r/nouvelles/1.asp", "Plain|http://r/nouvelles/3.asp", "|http://r/nouvelles/4.asp"}},
        {"German: topic and link text, no duplicate check, absolute address kept", 21,
         "<a href=\"/t\" class=\"listethema\">Sport</a><br><a href=\" /s/1.html \">Tabelle</a>"
         "<a CLASS=\"ListeThema\">Sport</a><a href=\"/s/1.html\">Tabelle</a>"
         "<a class=\"listethema\">Welt</a><a href=\"http://other.example/w.html\" x>Nachricht</a>",
         {"Sport - Tabelle|http://r/s/1.html", "Sport - Tabelle|http://r/s/1.html",
          "Welt - Nachricht|http://other.example/w.html"}},
        {"CNN en Espanol: last year's paths, image links", 29,
         "<a href=\"/2000/mundo/old.html\">Old</a><a href=\"/2001/mundo/img.html\"><img></a>"
         "<a href=\"/2001/mundo/a.html\">Nuevo</a><a href=\"/2001/gente/g.html\">Other section</a>",
         {"Nuevo|http://r/2001/mundo/a.html"}},
        {"The Australian: title after the next '>'", 37,
         "<a href=\"/common/story_page/0,1.html\"><font>Aussie</font></a>",
         {"Aussie|http://r/common/story_page/0,1.html"}},
        {"BBC: the first link is passed over, title to '<br'", 38,
         "<td class=\"bodytext\"><a href=\"/pic.stm\"><img></a><a href=\"/hi/1.stm\"><font class=\"h\">Beeb</font></a><br>x",
         {"Beeb|http://r/hi/1.stm"}},
        {"Yahoo Canada: nothing before the photos link, then every bold link", 40,
         "<b><a href=/before.html>Before</a></b><a href=/p>Photos</a>"
         "<b><a href=/y1.html>Yahoo one</a><b><a href=/Y1.html>Dup</a><b><a href=/y2.html>Yahoo two</a>",
         {"Yahoo one|http://r/y1.html", "Yahoo two|http://r/y2.html"}},
    };
    for (const Case &c : cases) EXPECT_EQ(HeadlinesOf(c.section, c.page), c.expected) << c.what;
}

TEST(HeadlineParsers, RowsCarryChannelTagAndHeaders) {
    struct Tags {
        int section;
        const char *tag;
        const char *header;
    };
    for (const Tags &t : std::vector<Tags>{{0, "US", "WORLD NEWS"}, {2, "US", "Science & Technology NEWS"},
                                           {7, "UK", "Security related NEWS"}, {13, "FR", "EN FRANCE"},
                                           {15, "CA", "ECONOMIE"}, {24, "DE", "BUCHER"}, {28, "NL", "SPORT"},
                                           {30, "ES", "NUEVAS LATINOAMERICANAS"}, {37, "AU", "AUSTRALIA NEWS"},
                                           {39, "BBC", "UK POLITICS"}, {44, "CA", "ENTERTAINMENT"}}) {
        ListSink sink;
        const HeadlineList rows = Parse(t.section, "<html>nothing here</html>", sink);
        ASSERT_GE(rows.size(), 5u) << t.section;
        EXPECT_EQ(rows[0].title, "---------------- " + std::string(t.header) + " ----------------") << t.section;
        EXPECT_EQ(sink.completed, 1) << t.section;
    }
    ListSink sink;
    const auto rows = Parse(9, "<a href=\"/news/people/0,1.html\">Star</a>", sink);
    ASSERT_EQ(rows.size(), 7u);
    EXPECT_EQ(rows[4].channel, "Chan");
    EXPECT_EQ(rows[4].tag, "FR");
}

TEST(HeadlineParsers, PageWithoutLandmarksStillCompletes) {
    ListSink sink;
    EXPECT_EQ(Compact(Parse(37, "<html><body>No news</body></html>", sink)),
              (std::vector<std::string>{"=AUSTRALIA NEWS", "", "", "", ""}));
    EXPECT_EQ(sink.completed, 1);
    ListSink none;
    EXPECT_TRUE(Parse(37, "", none).empty());
    EXPECT_EQ(none.completed, 0);
}

TEST(HeadlineParsers, GroupsOfFiveAndTheSecondPassHeader) {
    std::string page;
    for (int i = 1; i <= 11; ++i)
        page += "<a href=\"/common/story_page/0," + std::to_string(i) + ".html\"><b>S" + std::to_string(i) + "</b></a>";
    ListSink sink;
    const auto c = Compact(Parse(37, page, sink));
    std::vector<std::string> expected = {"=AUSTRALIA NEWS", "", ""};
    for (int i = 1; i <= 11; ++i) {
        if (i % 5 == 1) expected.push_back("");
        expected.push_back("S" + std::to_string(i) + "|http://r/common/story_page/0," + std::to_string(i) + ".html");
    }
    expected.insert(expected.end(), {"", ""});
    EXPECT_EQ(c, expected);

    // NU: links after the first "Overig nieuws" only under the second header, the counter goes on.
    const std::string nu = "<td class=\"heading\"><a href=\"/n/1.html\">Kop een</a><h3>OVERIG NIEUWS</h3>"
                           "<a href=\"/n/3.html\"><img src=\"b.gif\"></img>Overig een</a>";
    ListSink nuSink;
    EXPECT_EQ(Compact(Parse(25, nu, nuSink)),
              (std::vector<std::string>{"=ALGEMEEN NIEUWS", "", "", "", "Kop een|http://r/n/1.html", "", "",
                                        "=OVERIG NIEUWS", "", "", "Overig een|http://r/n/3.html", "", ""}));
    ListSink noSplit;
    const auto rows = Compact(Parse(26, "<td class=\"heading\"><a href=\"/n/1.html\">Kop</a>", noSplit));
    EXPECT_EQ(rows, (std::vector<std::string>{"=ACHTERKLAP", "", "", "", "Kop|http://r/n/1.html", "", "",
                                              "=OVERIG NIEUWS", "", "", "", ""}));
}

TEST(HeadlineParsers, ClearingSharedNodesAndDuplicatesAcrossPages) {
    // Parsers of shared nodes append to what the node holds; the others start afresh.
    ListSink sink;
    sink.rows.push_back({"earlier", "http://r/y1.html", "Yahoo Canada", "CA"});
    Parse(41, "<a>photos</a><b><a href=/Y1.HTML>Again</a><b><a href=/y3.html>New</a>", sink);
    EXPECT_EQ(Headlines(sink.rows), (std::vector<std::string>{"earlier|http://r/y1.html", "New|http://r/y3.html"}));
    Parse(8, "<a href=\"/news/monde/0,1.html\">Fresh</a>", sink);
    EXPECT_EQ(Headlines(sink.rows), (std::vector<std::string>{"Fresh|http://r/news/monde/0,1.html"}));
    for (int s = 0; s <= 44; ++s) {
        const bool shared = s == 3 || s == 4 || s == 6 || s == 7 || (s >= 14 && s <= 16) || s >= 38;
        if (HeadlineRoutineOf(s) >= 0) EXPECT_EQ(HeadlineRoutineClears(s), !shared) << s;
    }
}

TEST(HeadlineParsers, CapturesAreCutAt511Bytes) {
    const std::string longTitle(700, 'a'), longPath(600, 'p');
    auto h = HeadlinesOf(2, "<a href=\"/sections/scitech/dailynews/x.html\" class=\"c\">" + longTitle + "</a>");
    ASSERT_EQ(h.size(), 1u);
    EXPECT_EQ(h[0], std::string(511, 'a') + "|http://r/sections/scitech/dailynews/x.html");
    h = HeadlinesOf(40, "<a>photos</a><b><a href=/" + longPath + ">T</a>");
    ASSERT_EQ(h.size(), 1u);
    EXPECT_EQ(h[0], "T|http://r/" + std::string(510, 'p'));
}

TEST(HeadlineParsers, StopEndsTheWalkButTheClosingRowsAndCompletionFollow) {
    const std::string page = "<a href=\"/common/story_page/0,1.html\"><b>First</b></a>" + std::string(1200, ' ') +
                             "<a href=\"/common/story_page/0,2.html\"><b>Second</b></a>";
    ListSink sink(1);  // the pump at byte 512 says stop
    EXPECT_EQ(Compact(Parse(37, page, sink)),
              (std::vector<std::string>{"=AUSTRALIA NEWS", "", "", "", "First|http://r/common/story_page/0,1.html", "", ""}));
    EXPECT_EQ(sink.completed, 1);
}

TEST(HeadlineParsers, ControlBytesNeverReachStoredTexts) {
    EXPECT_EQ(WithoutControlBytes(std::string("a\r\nb\tc\x01\x7f" "d")), "a  b c  d");
    // A numeric reference for a line break inside a title is decoded by the cleanup.
    const auto h = HeadlinesOf(37, "<a href=\"/common/story_page/0,1.html\"><b>One&#10;Two</b></a>");
    ASSERT_EQ(h.size(), 1u);
    EXPECT_NE(h[0].find("One"), std::string::npos);
}

}  // namespace
