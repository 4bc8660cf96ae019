// Engine definitions: compiling templates, reading definition blocks and group files.
#include "engines/web/TemplateDefinition.h"

#include <gtest/gtest.h>

#include <QTemporaryDir>
#include <fstream>

namespace qm {
namespace {

using K = SegmentKind;

TemplateSegments Segs(std::initializer_list<TemplateSegment> s) { return TemplateSegments(s); }

TEST(TemplateCompile, TokensTakeTheLiteralAfterThemAndTrashSplitsSkips) {
    // L1 [TRASH] L2 [URL] L3 [TITLE] L4 [TRASH] L5 [TEXT] L6
    auto s = CompileTemplate("<li>[TRASH]<a href=\"[URL]\">[TITLE]</a>[trash]<p>[Text]</p>");
    EXPECT_EQ(s, Segs({{K::Skip, "<li>"},
                       {K::Skip, "<a href=\""},
                       {K::Link, "\">"},
                       {K::Title, "</a>"},
                       {K::Skip, "<p>"},
                       {K::Text, "</p>"}}));
}

TEST(TemplateCompile, MergingRule) {
    // Two tokens in a row: the first takes the landmark written after the second.
    EXPECT_EQ(CompileTemplate("<a>[URL][TITLE]</a>"), Segs({{K::Skip, "<a>"}, {K::Link, "</a>"}}));
    // A last token with nothing after it keeps an empty landmark.
    EXPECT_EQ(CompileTemplate("<b>[TEXT]"), Segs({{K::Skip, "<b>"}, {K::Text, ""}}));
    // A leading token with no literal before it.
    EXPECT_EQ(CompileTemplate("[BASEURL]|[LOCATION]#"), Segs({{K::BaseLink, "|"}, {K::Location, "#"}}));
    // Literal text without any token.
    EXPECT_EQ(CompileTemplate("<hr>"), Segs({{K::None, "<hr>"}}));
    EXPECT_TRUE(CompileTemplate("").empty());
    // Three tokens in a row, then a literal.
    EXPECT_EQ(CompileTemplate("x[URL][TRASH][TITLE]y"), Segs({{K::Skip, "x"}, {K::Link, "y"}}));
}

TEST(TemplateCompile, BracketedWordsThatAreNotTokens) {
    // Kept as literal text, joined to the text around them; case is preserved.
    EXPECT_EQ(CompileTemplate("<td>[1]</td>[URL]<X>"), Segs({{K::Skip, "<td>[1]</td>"}, {K::Link, "<X>"}}));
    // A token name with blanks inside the brackets trims to the token.
    EXPECT_EQ(CompileTemplate("a[ URL ]b"), Segs({{K::Skip, "a"}, {K::Link, "b"}}));
    // A bracket inside a bracketed word starts the word again.
    EXPECT_EQ(CompileTemplate("a[b[URL]c"), Segs({{K::Skip, "a[b"}, {K::Link, "c"}}));
    // An unfinished token at the end is dropped.
    EXPECT_EQ(CompileTemplate("<p>[URL]<i>[TITL"), Segs({{K::Skip, "<p>"}, {K::Link, "<i>"}}));
    // A byte 164 (part of UTF-8 "ä") is text like any other.
    EXPECT_EQ(CompileTemplate("<b>M\xC3\xA4rz</b>[URL]!"), Segs({{K::Skip, "<b>M\xC3\xA4rz</b>"}, {K::Link, "!"}}));
}

TEST(TemplateCompile, LimitsKeepWhatFitsAndSayWhatWasLeftOut) {
    std::string longText = "<a href=\"[URL]\">" + std::string(600, 'x');
    std::vector<std::string> notes;
    auto s = CompileTemplate(longText, &notes, "Foo: LinkTemplate");
    ASSERT_EQ(s.size(), 2u);
    EXPECT_EQ(s[1].text.size(), kMaxTemplateLength - std::string("<a href=\"[URL]\">").size() + 2);
    ASSERT_EQ(notes.size(), 1u);
    EXPECT_NE(notes[0].find("Foo: LinkTemplate"), std::string::npos);
    EXPECT_NE(notes[0].find("106"), std::string::npos);  // 616 - 510 characters left out

    std::string many;
    for (int i = 0; i < 20; ++i) many += "<" + std::to_string(i) + ">[TRASH]";
    many += "[URL]!";
    for (int i = 20; i < 40; ++i) many += "<" + std::to_string(i) + ">[TRASH]";  // 41 segments in all
    notes.clear();
    s = CompileTemplate(many, &notes);
    EXPECT_EQ(s.size(), kMaxTemplateSegments);
    EXPECT_EQ(s[20], (TemplateSegment{K::Link, "!<20>"}));
    ASSERT_EQ(notes.size(), 1u);
    EXPECT_NE(notes[0].find("\"<32>\""), std::string::npos);
}

// ---- definition blocks ----

StringLines Lines(std::string_view text) { return SplitGroupLines(text); }

TEST(TemplateDefinition, KeysValuesAndDefaults) {
    auto lines = Lines(
        "junk\r\n"
        "<%Moo>\r\n"
        "Engine = Moo Search\r\n"
        "  company=Moo Inc.\r\n"
        "HomePage = http://moo.example/\r\n"
        "BaseURL = http://moo.example\r\n"
        "Type = BF\r\n"
        "ALLURL = GET http://moo.example/s?q=[QRY]&m=all\r\n"
        "LinkTemplate = <a class=\"engine\" href=[URL]>[TITLE]</a>=<p>[TEXT]</p>\r\n"
        "LinkAreaStartAt = <ol>\r\n"
        "NextTemplate = <a href=\"[URL]\">Next\r\n"
        "</%MOO>\r\n"
        "Engine = Outside\r\n");
    TWebBot bot;
    LoadEngineDefinition(lines, "<%moo>", bot);
    EXPECT_TRUE(bot.hasBlock);
    EXPECT_EQ(bot.engineName, "Moo Search");  // not overwritten by "engine" inside the template
    EXPECT_EQ(bot.company, "Moo Inc.");
    EXPECT_EQ(bot.homePage, "http://moo.example/");
    EXPECT_EQ(bot.baseUrl, "http://moo.example");
    EXPECT_EQ(bot.typeMark, 0);
    EXPECT_EQ(bot.included, 1);
    EXPECT_EQ(bot.allUrl, "http://moo.example/s?q=[QRY]&m=all");
    // Everything after the first "=", later ones included.
    EXPECT_EQ(bot.linkTemplateText, "<a class=\"engine\" href=[URL]>[TITLE]</a>=<p>[TEXT]</p>");
    ASSERT_EQ(bot.linkTemplate.size(), 4u);
    EXPECT_EQ(bot.linkTemplate[3], (TemplateSegment{K::Text, "</p>"}));
    ASSERT_EQ(bot.nextTemplate.size(), 2u);
    EXPECT_EQ(bot.linkAreaStartAt, "<ol>");
    EXPECT_EQ(bot.RequestAddress("a+b"), "http://moo.example/s?q=a+b&m=all");
    // The query goes in encoded as for the built-in engines; the address around it stays.
    EXPECT_EQ(bot.RequestAddress("caf\xC3\xA9+&+co+#1"), "http://moo.example/s?q=caf%C3%A9+%26+co+%231&m=all");

    // Type other than BF sets the mark; UsedByDefault other than YES excludes.
    for (auto [used, incl] : {std::pair{"YES", 1}, {"yes", 1}, {"NO", 0}, {"Y", 0}, {"", 0}}) {
        TWebBot b;
        LoadEngineDefinition(Lines(std::string("<%X>\nType = sponsored\nUsedByDefault = ") + used + "\n</%X>"), "<%X>", b);
        EXPECT_EQ(b.included, incl) << used;
        EXPECT_EQ(b.typeMark, 1);
    }
}

TEST(TemplateDefinition, AddressWordsAndPlaceholderOrder) {
    TWebBot bot;
    bot.listedName = "A";
    std::vector<std::string> notes;
    LoadEngineDefinition(Lines("<%A>\n"
                               "ALLURL = GET http://a.example/?q=[QRY]\n"
                               "ANYURL = GET [ALLURL]&any=1\n"
                               "EXACTURL = http://single-word.example/?q=[QRY]\n"
                               "BOOLURL = GET [exacturl]|[ANYURL]\n"
                               "</%A>\n"),
                         "<%A>", bot, &notes);
    EXPECT_EQ(bot.allUrl, "http://a.example/?q=[QRY]");
    EXPECT_EQ(bot.anyUrl, "http://a.example/?q=[QRY]&any=1");
    EXPECT_EQ(bot.exactUrl, "");  // one word: no address, and a note saying so
    ASSERT_EQ(notes.size(), 1u);
    EXPECT_NE(notes[0].find("EXACTURL"), std::string::npos);
    // Bool: [ALLURL] (none), then [ANYURL] (resolved), then [EXACTURL].
    EXPECT_EQ(bot.boolUrl, "|http://a.example/?q=[QRY]&any=1");
    bot.mode = SearchMode::Any;
    EXPECT_EQ(bot.RequestAddress("x+OR+y"), "http://a.example/?q=x+OR+y&any=1");

    // An address sees the raw form of those resolved after it.
    TWebBot b2;
    LoadEngineDefinition(Lines("<%B>\nALLURL = GET [BOOLURL]/all\nBOOLURL = GET [ALLURL]/bool\n"
                               "EXACTURL = GET [ALLURL]/exact\nANYURL = x [ANYURL]\n</%B>"),
                         "<%B>", b2);
    EXPECT_EQ(b2.allUrl, "[ALLURL]/bool/all");
    EXPECT_EQ(b2.boolUrl, "[ALLURL]/bool/all/bool");
    EXPECT_EQ(b2.exactUrl, "[ALLURL]/bool/all/exact");
    EXPECT_EQ(b2.anyUrl, "[ANYURL]");  // an address never names itself away
}

TEST(TemplateDefinition, MissingBlockAndEngineNameDefault) {
    std::vector<std::string> notes;
    TWebBot bot;
    bot.listedName = "Ghost";
    LoadEngineDefinition(Lines("<%Other>\nEngine = x\n</%Other>"), "<%Ghost>", bot, &notes);
    EXPECT_FALSE(bot.hasBlock);
    EXPECT_EQ(bot.engineName, "Ghost");
    EXPECT_TRUE(bot.allUrl.empty());
    EXPECT_TRUE(bot.linkTemplate.empty());
    ASSERT_EQ(notes.size(), 1u);
    EXPECT_NE(notes[0].find("<%Ghost>"), std::string::npos);

    // A block without its closing line runs to the end of the file.
    TWebBot open;
    open.listedName = "Open";
    LoadEngineDefinition(Lines("<%Open>\nALLURL = GET http://o.example/[QRY]"), "<%Open>", open);
    EXPECT_EQ(open.allUrl, "http://o.example/[QRY]");
}

// ---- group files ----

std::string Definition(const std::string &name, const std::string &host) {
    return "<%" + name + ">\nEngine = " + name + "\nALLURL = GET http://" + host + "/?q=[QRY]\n"
           "LinkTemplate = <a href=\"[URL]\">[TITLE]</a> [TEXT]<br>\n</%" + name + ">\n";
}

TEST(TemplateGroup, LoadsListedDefinitionsInListOrder) {
    TemplateEngineTable table;
    std::string file = "; comment\r\n" + Definition("Beta", "b.example") + "<#files>\r\n  Beta \r\n\r\nalpha\r\nGamma\r\n</#FILES>\r\n" +
                       Definition("Alpha", "a.example");
    ASSERT_TRUE(table.LoadEngineGroupText(file));
    ASSERT_EQ(table.Count(), 3u);
    EXPECT_EQ(table.Definitions()[0].engineName, "Beta");
    EXPECT_EQ(table.Definitions()[1].engineName, "Alpha");  // tags ignore case
    EXPECT_EQ(table.Definitions()[1].listedName, "alpha");
    EXPECT_EQ(table.Definitions()[1].allUrl, "http://a.example/?q=[QRY]");
    EXPECT_FALSE(table.Definitions()[2].hasBlock);  // listed without a block: counts, stays empty
    EXPECT_EQ(table.Find("ALPHA"), 1);
    EXPECT_EQ(table.Find("gamma"), 2);
    EXPECT_EQ(table.Find("delta"), -1);
    ASSERT_EQ(table.Notes().size(), 1u);

    table.SetSearchMode(SearchMode::Exact);
    for (const auto &d : table.Definitions()) EXPECT_EQ(d.mode, SearchMode::Exact);
}

TEST(TemplateGroup, MalformedFilesKeepThePreviousDefinitions) {
    TemplateEngineTable table;
    ASSERT_TRUE(table.LoadEngineGroupText("<#FILES>\nOne\n</#FILES>\n" + Definition("One", "one.example")));
    EXPECT_FALSE(table.LoadEngineGroupText(""));
    EXPECT_FALSE(table.LoadEngineGroupText("no list here\n" + Definition("Two", "two.example")));
    EXPECT_FALSE(table.LoadEngineGroupText("<#FILES>\n \n\t\n</#FILES>\n"));
    EXPECT_FALSE(table.LoadEngineGroup("/nonexistent/WebSearch.grp"));
    ASSERT_EQ(table.Count(), 1u);
    EXPECT_EQ(table.Definitions()[0].engineName, "One");

    // A list without its closing line runs to the end: every later line is a name.
    ASSERT_TRUE(table.LoadEngineGroupText(Definition("Two", "two.example") + "<#FILES>\nTwo\n"));
    EXPECT_EQ(table.Count(), 1u);
    EXPECT_EQ(table.Definitions()[0].engineName, "Two");
}

TEST(TemplateGroup, MoreThanFiftyEnginesLoadsTheFirstFiftyAndNamesTheRest) {
    std::string file = "<#FILES>\n";
    for (int i = 1; i <= 53; ++i) file += "E" + std::to_string(i) + "\n";
    file += "</#FILES>\n";
    for (int i = 1; i <= 53; ++i) file += Definition("E" + std::to_string(i), "e" + std::to_string(i) + ".example");
    TemplateEngineTable table;
    ASSERT_TRUE(table.LoadEngineGroupText(file));
    EXPECT_EQ(table.Count(), kMaxEngineDefinitions);
    EXPECT_EQ(table.Definitions()[49].engineName, "E50");
    ASSERT_EQ(table.Notes().size(), 1u);
    EXPECT_NE(table.Notes()[0].find("E51, E52, E53"), std::string::npos);
    EXPECT_EQ(table.Notes()[0].find("E50,"), std::string::npos);
}

TEST(TemplateGroup, LinesAreCutAndCarriageReturnsDropped) {
    auto lines = SplitGroupLines("a\r\nb\r" + std::string(3000, 'x') + "\nlast");
    ASSERT_EQ(lines.size(), 3u);
    EXPECT_EQ(lines[0], "a");
    EXPECT_EQ(lines[1].size(), kMaxGroupLineLength);
    EXPECT_EQ(lines[1].substr(0, 2), "bx");
    EXPECT_EQ(lines[2], "last");
    EXPECT_EQ(SplitGroupLines("a\n").size(), 2u);

    // A file on disk.
    QTemporaryDir dir;
    std::string path = dir.path().toStdString() + "/WebSearch.grp";
    std::ofstream(path, std::ios::binary) << "<#FILES>\r\nDisk\r\n</#FILES>\r\n" << Definition("Disk", "d.example");
    TemplateEngineTable table;
    ASSERT_TRUE(table.LoadEngineGroup(path));
    EXPECT_EQ(table.Definitions()[0].allUrl, "http://d.example/?q=[QRY]");
}

}  // namespace
}  // namespace qm
