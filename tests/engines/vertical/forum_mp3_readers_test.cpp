// The forum and MP3 readers on hand-made pages: records, restart points, cuts, further pages
// and the 501-row stop.
#include "engines/vertical/ForumMp3.h"

#include <gtest/gtest.h>

namespace qm {
namespace {

const std::string kHost = "http://s.example", kForum = "http://f.example";

VerticalParsed Forum(int selector, const std::string &page) { return ParseForumPage(selector, kHost, kForum, page); }
VerticalParsed Mp3(int selector, const std::string &page) { return ParseMp3Page(selector, kHost, page); }

std::string Delphi(const std::string &link, const std::string &name, const std::string &desc,
                   const std::string &type) {
    return "<tr class=\"r\"><a href=\"" + link + "\" target=x><span><b>" + name + "</b></span></a>" +
           "<td align=left>" + desc + "</td><td><a href=\"/t\" class=\"k\">" + type + "</a></td></tr>\n";
}

TEST(ForumReaders, DelphiCenter) {
    const std::string page = "<p>Results >Your Search On x\n<a href=\"" + kHost + "/dir-app/search/p2\" >next</a>" +
                             "<a href=\"" + kHost + "/dir-app/search/p3\" >3</a>" +
                             Delphi("/forum/a", "Alpha <i>club</i>", "About alpha..", "Hobby..") +
                             Delphi("/forum/b", "Beta", "x", "T");
    const auto p = Forum(0, page);
    ASSERT_EQ(p.pages, std::vector<std::string>({kHost + "/dir-app/search/p2"}));  // one link per page
    ASSERT_EQ(p.rows.size(), 2u);
    EXPECT_EQ(p.rows[0].subItems, std::vector<std::string>({"Alpha club", "Hobby", "Delphi Center", "About alpha",
                                                            kForum + "/forum/a"}));
    // Captures shorter than the two cut characters become empty.
    EXPECT_EQ(p.rows[1].subItems[kFrmDescription], "");
    EXPECT_EQ(p.rows[1].subItems[kFrmType], "");
    EXPECT_TRUE(Forum(0, Delphi("/forum/a", "A", "dd", "tt")).rows.empty()) << "needs its landmark";
}

std::string Yahoo(const std::string &link, const std::string &name, const std::string &members,
                  const std::string &cat) {
    return "<tr><td><a href=\"" + link + "\">" + name + "!</a><br>About " + name + "<br><td><b>" + members +
           "</b></td><td><b><a href=\"/c\">" + cat + ".</a></td></tr>\n";
}

TEST(ForumReaders, YahooGroups) {
    const std::string page = "<a href=\"/prev\">Previous</a> <a href=\"/search?query=q&b=21\" class=x\">Next</a>"
                             "<table><td>Archive</td>\n" +
                             Yahoo("/group/one", "One", "12", "Pets") + "<b<a href=\"/skip\">x</a>" +
                             Yahoo("/group/two", "Two", " 3 ", "Misc");
    const auto p = Forum(1, page);
    ASSERT_EQ(p.pages.size(), 1u);
    EXPECT_EQ(p.pages[0], kHost + "/search?query=q&b=21\" class=x");
    ASSERT_EQ(p.rows.size(), 2u);
    EXPECT_EQ(p.rows[0].subItems, std::vector<std::string>({"One", "Pets (12 members)", "Yahoo groups", "About One",
                                                            kHost + "/group/one"}));
    EXPECT_EQ(p.rows[1].subItems[kFrmType], "Misc (3 members)");
    // The mismatching character and one more are passed over: "<x<a href" loses the record.
    const auto q = Forum(1, "archive</td>x<x<a href=\"/g\">N!</a><br>d<br>><b>1</b>><b>c.</a>");
    EXPECT_TRUE(q.rows.empty());
    const auto r = Forum(1, "archive</td>x<xy<a href=\"/g\">!</a><br>d<br>><b>1</b>><b>.</a>");
    ASSERT_EQ(r.rows.size(), 1u);
    EXPECT_EQ(r.rows[0].subItems[kFrmName], "");
}

std::string Topica(const std::string &link, const std::string &name, const std::string &desc) {
    return "<td class=\"n\"><a href=\"" + link + "\">" + name + "</a><br><font size=\"1\">" + desc + "</font></td>\n";
}

TEST(ForumReaders, Topica) {
    const std::string page = "<a href=\"/search/?query=q&p=2\">Next &gt;</a><a href=\"/search/?query=q&p=1\">1</a>"
                             "<a href=\"/search/?query=q&p=3\">NEXT</a><a href=\"/search/?query=q&P=2\">next</a>"
                             "Our partner<br>" +
                             Topica("/lists/a", " List A ", " about A ") +
                             Topica("/lists/b", "B", "runs <tr><td>into a row") + Topica("/lists/c", "C", "c");
    const auto p = Forum(3, page);
    EXPECT_EQ(p.pages, std::vector<std::string>({kHost + "/search/?query=q&p=2", kHost + "/search/?query=q&p=3"}));
    ASSERT_EQ(p.rows.size(), 2u);
    EXPECT_EQ(p.rows[0].subItems,
              std::vector<std::string>({"List A", "", "Topica", "about A", kHost + "/lists/a"}));
    EXPECT_EQ(p.rows[1].subItems[kFrmName], "C");
}

TEST(ForumReaders, BoardServerAndEzBoard) {
    const std::string page = "Search results for:<b>q</b>"
                             "<tr><td><a href='b/1'>Cats (42)</a></td><td><font size=1>Feline talk<font x></td>"
                             "<tr><td><a href='b/2'>Dogs</a></td><td><font>Canine</td>";
    const auto p = Forum(4, page);
    EXPECT_TRUE(p.pages.empty());
    ASSERT_EQ(p.rows.size(), 2u);
    EXPECT_EQ(p.rows[0].subItems,
              std::vector<std::string>({"Cats ", "42 Members", "BoardServer", "Feline talk", kHost + "/b/1"}));
    EXPECT_EQ(p.rows[1].subItems[kFrmType], "");
    EXPECT_TRUE(Forum(2, page).rows.empty());
    EXPECT_EQ(ForumSelectorByName("ezboard"), 2);
    const auto table = BuildForumEngineTable();
    ASSERT_EQ(table.size(), 5u);
    EXPECT_FALSE(table[1].defaultEnabled);
    EXPECT_EQ(PlainFirstAddress(table[4], "a+\"b\""),
              ForumSearchHost(4) + "/find.html?action=search&keywords=a+\"b\"");
}

std::string Kazaa(const std::string &link, const std::string &title) {
    return "<td class=kt><a href=\"" + link + "\" class=k><font class=vbig>" + title +
           "</a></td><td class=vbig>Desc</td><td class=vbig>x</td><td class=vbig>3.1 MB</td>\n";
}

TEST(Mp3Readers, Kazaa) {
    const std::string page = Kazaa("http://k/1.mp3", "One ") + Kazaa("JavaScript:go()", "Script") +
                             Kazaa("HTTP://K/1.MP3", "Dup") + Kazaa("http://k/2.mp3", "Two");
    const auto p = Mp3(0, page);
    ASSERT_EQ(p.rows.size(), 2u);
    EXPECT_EQ(p.rows[0].subItems, std::vector<std::string>({"One ", "3.1 MB", "Desc", "KaZaA", "http://k/1.mp3"}));
    EXPECT_EQ(p.rows[1].subItems[kMp3Title], "Two");
}

std::string Av(const std::string &file, const std::string &size) {
    return "<a href=\"" + kHost + "/cgi-bin/download.cgi?f=" + file + "\">" + file +
           "</a> <b>Reliability:</b> 90%<font> <b>Size:</b>" + size + "&nbsp;\n";
}

TEST(Mp3Readers, AvFind) {
    const std::string page = "<b>Page</b> <a href=\"search.cgi?p=2\">2</a><a href=\"SEARCH.cgi?p=2\">2</a>"
                             "<a href=\"search.cgi?p=3\">3</a> in 0.1</b> seconds\n" +
                             Av("a", "1 MB") + Av("b", "0.7 MB") + Av("c", "n/a") + Av("d", "3.2MB") + Av("A", "5");
    const auto p = Mp3(3, page);
    EXPECT_EQ(p.pages, std::vector<std::string>({kHost + "/cgi-bin/search.cgi?p=2", kHost + "/cgi-bin/search.cgi?p=3"}));
    ASSERT_EQ(p.rows.size(), 2u);
    EXPECT_EQ(p.rows[0].subItems, std::vector<std::string>({"a", "1 MB", "Reliability: 90%", "AVFind",
                                                            kHost + "/cgi-bin/download.cgi?f=a"}));
    EXPECT_EQ(p.rows[1].subItems[kMp3Size], "3.2MB");
}

TEST(Mp3Readers, SizeNumber) {
    const std::pair<const char *, double> cases[] = {{"0.7 MB", 0.7}, {"1", 1}, {"3.2MB x", 3.2}, {"n/a", 0},
                                                     {" 12.5e1k", 125}, {".5", 0.5}, {"-2", -2}, {"", 0}};
    for (const auto &[text, want] : cases) EXPECT_DOUBLE_EQ(AvFindSizeNumber(text), want) << text;
}

TEST(ForumMp3Readers, StopAfter501Rows) {
    std::string forum = "results for:<", mp3;
    for (int i = 0; i < 600; ++i) {
        forum += "<a href='b/" + std::to_string(i) + "'>N</a><font>d</td>";
        mp3 += Kazaa("http://k/" + std::to_string(i), "t");
    }
    EXPECT_EQ(Forum(4, forum).rows.size(), 501u);
    EXPECT_EQ(Mp3(0, mp3).rows.size(), 501u);
}

}  // namespace
}  // namespace qm
