// Page-link readers: which further result pages each engine's reader queues.
#include <gtest/gtest.h>

#include "readers_support.h"

namespace qm::readers_test {
namespace {

using Pages = std::vector<std::string>;

TEST(PageLinkReaders, Selector0GoogleTableLinks) {
    auto p = Links(0, "<a href=/search?q=a&start=0>no</a>"
                      "<td><a href=/search?q=cars&start=20>2</a><TD><A HREF=/search?q=cars&start=40>3</a>");
    EXPECT_EQ(p.pages, (Pages{kHost + "/search?q=cars&start=20", kHost + "/search?q=cars&start=40"}));
}

TEST(PageLinkReaders, Selector1AltavistaQueuesEachLinkOnce) {
    auto p = Links(1, "<a href=\"/cgi-bin/query?kl=XX&q=cars&stq=10\">2</a>"
                      "<a href=\"/cgi-bin/query?kl=en&q=cars&stq=10\">other language</a>\n"
                      "<a href=\"/cgi-bin/query?kl=XX&q=cars&stq=10\">2</a>"
                      "<a href=\"/CGI-BIN/query?KL=xx&q=cars&stq=20\">3</a>");
    EXPECT_EQ(p.pages, (Pages{kHost + "/cgi-bin/query?kl=XX&q=cars&stq=10",
                              kHost + "/CGI-BIN/query?KL=xx&q=cars&stq=20"}));
    // The same address in another case is the same page.
    auto q = Links(1, "<a href=\"/cgi-bin/query?kl=XX&Q=a\">x <a href=\"/cgi-bin/query?kl=XX&q=A\">");
    EXPECT_EQ(q.pages.size(), 1u);
    // Line breaks are passed over inside the landmark and become blanks in the link.
    auto r = Links(1, "<a href=\"/cgi-bin/\nquery?kl=XX&q=a\tb\">");
    EXPECT_EQ(r.pages, (Pages{kHost + "/cgi-bin/ query?kl=XX&q=a b"}));
}

TEST(PageLinkReaders, Selector2AolLinksAfterTheMarkerOnly) {
    auto p = Links(2, "<a href=dirsearch.adp?first=1>before</a><td width=10px>"
                      "<a href=dirsearch.adp?query=cars&first=16>next</a><a href=other.adp>x</a>"
                      "<<a href=dirsearch.adp?query=cars&first=31>lost</a>"
                      "<a href=dirsearch.adp?query=cars&first=46>3</a>");
    EXPECT_EQ(p.pages, (Pages{kHost + "/dirsearch.adp?query=cars&first=16",
                              kHost + "/dirsearch.adp?query=cars&first=46"}));
    EXPECT_TRUE(Links(2, "<a href=dirsearch.adp?query=cars&first=16>").pages.empty());
}

TEST(PageLinkReaders, Selector3HotbotSkipsDomainLinks) {
    auto p = Links(3, "<a href=\"/?MT=cars&RPN=2\">2</a><a href=\"/?MT=cars&domain=x.example\">x</a>"
                      "<a href=\"/?mt=cars&RPN=3\">3</a>");
    EXPECT_EQ(p.pages, (Pages{kHost + "/?MT=cars&RPN=2", kHost + "/?mt=cars&RPN=3"}));
}

TEST(PageLinkReaders, Selector4EuroseekSkipsCategoryLinks) {
    auto p = Links(4, "<a href=\"/query?q=cars&start=10\">2</a><a href=\"/query?q=cars&c=1\">c</a>"
                      "<a href=\"/query?q=say \"hi\"&start=20\">3</a>");
    EXPECT_EQ(p.pages, (Pages{kHost + "/query?q=cars&start=10", kHost + "/query?q=say \"hi\"&start=20"}));
}

TEST(PageLinkReaders, Selector5FastSearch) {
    auto p = Links(5, "<a href=\"/cgi-bin/search?offset=10&query=cars\">2</a>"
                      "<a href=\"/cgi-bin/other\">x</a>");
    EXPECT_EQ(p.pages, (Pages{kHost + "/cgi-bin/search?offset=10&query=cars"}));
}

TEST(PageLinkReaders, Selector6MsnDecodesAmpersands) {
    auto p = Links(6, "<a href=\"results.asp?ba=10&amp;q=cars&AMP;v=1\">next</a>");
    EXPECT_EQ(p.pages, (Pages{kHost + "/results.asp?ba=10&q=cars&v=1"}));
}

TEST(PageLinkReaders, Selector7DirectHitOnlyNextLinks) {
    auto p = Links(7, "<a href=\"/umbrella.asp?base=0\">Previous</a>"
                      "<a href=\"/umbrella.asp?base=10\">Next 10</a>"
                      "<a href=\"/umbrella.asp?base=20\">\r\nNEXT</a>"
                      "<a href=\"/umbrella.asp?base=30\"> next</a>");
    EXPECT_EQ(p.pages, (Pages{kHost + "/umbrella.asp?base=10", kHost + "/umbrella.asp?base=20"}));
}

TEST(PageLinkReaders, Selector8FindWhatTakesElevenCharactersBeforeTheQuestionMark) {
    auto p = Links(8, "<a href=\"results.asp?dc=25&base=25&MT=cars\">next</a>"
                      "<a href=\"/x/results.asp?DC=25&Base=50\">3</a>");
    EXPECT_EQ(p.pages, (Pages{kHost + "/results.asp?dc=25&base=25&MT=cars", kHost + "/results.asp?DC=25&Base=50"}));
    // Near the start of the page the link begins at the first character.
    auto q = Links(8, "ab?dc=25&b=1\">");
    EXPECT_EQ(q.pages, (Pages{kHost + "/ab?dc=25&b=1"}));
}

TEST(PageLinkReaders, Selector9SprinksAbsoluteTermsLinks) {
    auto p = Links(9, "<a href=\"http://x.example/search.htm?terms=a&pg=9\">early</a>"
                      "<td class=\"srsmtext\"><br><br>"
                      "<a href=\" http://www.sprinks.example/search.htm?terms=cars&pg=2 \">2</a>"
                      "<a href=\"http://other.example/\">x</a>");
    EXPECT_EQ(p.pages, (Pages{"http://www.sprinks.example/search.htm?terms=cars&pg=2"}));
}

TEST(PageLinkReaders, Selector10GotoOnlyTheFirstLink) {
    auto p = Links(10, "<a href=/d/search/p/go/?page=0\">before</a> start=1 "
                       "<a href=/d/search/p/go/?Keywords=cars&page=2\">2</a>"
                       "<a href=/d/search/p/go/?Keywords=cars&page=3\">3</a>"
                       "<a href=/d/search/p/go/?Keywords=cars&page=4\">4</a>");
    EXPECT_EQ(p.pages, (Pages{kHost + "/d/search/p/go/?Keywords=cars&page=2"}));
}

TEST(PageLinkReaders, Selector11NetscapeBothSpellingsAndLineBreaks) {
    auto p = Links(11, "<a href=\"/search.tmpl?q=cars&page=2\">2</a>"
                       "<a href=\"google.tmpl?q=cars&page=3\">3</a>"
                       "<a href=\"/search.tmpl?q=cars\r\n&page=4 \">4</a>"
                       "<a href=\"/other.tmpl?q=cars\">x</a>"
                       "<a href=\"/search.\ntmpl?q=lost\">x</a>"
                       "<a href=\"/oogle.tm?mixed\">x</a>");
    EXPECT_EQ(p.pages, (Pages{kHost + "/search.tmpl?q=cars&page=2", kHost + "/google.tmpl?q=cars&page=3",
                              kHost + "/search.tmpl?q=cars&page=4"}));
}

TEST(PageLinkReaders, Selector12NbciAfterThePageMarker) {
    auto p = Links(12, "<a href=\"1,61,early.html\">x</a> Result page&nbsp;&nbsp;&nbsp;"
                       "<a href=\"1,61,home-0,00.html?keyword=cars&pg=2\">2</a>"
                       "<a href=\" 1,61,home-0,00.html?keyword=cars&pg=3\">3</a>");
    EXPECT_EQ(p.pages, (Pages{kHost + "/search/directory/results/1,61,home-0,00.html?keyword=cars&pg=2",
                              kHost + "/search/directory/results/1,61,home-0,00.html?keyword=cars&pg=3"}));
    // Line characters are ordinary for this reader: a broken marker is not found.
    EXPECT_TRUE(Links(12, "page&nbsp;\n&nbsp;&nbsp;<a href=\"x\">").pages.empty());
}

TEST(PageLinkReaders, Selector14InfoSpaceOnlyTheFirstLink) {
    auto p = Links(14, "<a href=\"http://early.example/\">x</a> Web results: 1-10 "
                       "<a href=\"http://www.infospace.example/next?page=2\">2</a>"
                       "<a href=\"http://www.infospace.example/next?page=3\">3</a>");
    EXPECT_EQ(p.pages, (Pages{"http://www.infospace.example/next?page=2"}));
    // A blank link is not queued: an empty address would end the engine's queue.
    EXPECT_TRUE(Links(14, "results: <a href=\"  \">x</a><a href=\"http://x.example/\">").pages.empty());
}

TEST(PageLinkReaders, Selector15QueuesNothing) {
    auto p = Links(15, "results for: <a href=\"/search.gw?start=20\">2</a> <a href=/search.gw?start=40>");
    EXPECT_TRUE(p.pages.empty());
    EXPECT_EQ(p.pumps, 0u);
}

TEST(PageLinkReaders, Selector16OpenDirectoryAfterTheSiteList) {
    auto p = Links(16, "Open Directory Sites <ol><li><a href=\"http://www.a.example/\">a</a></ol>"
                       "<a href=\"search?search=cars&start=20\">next</a>");
    EXPECT_EQ(p.pages, (Pages{kHost + "/cgi-bin/search?search=cars&start=20"}));
}

TEST(PageLinkReaders, Selector17CompuserveAtMostThreeLinks) {
    std::string page = "<a nocolor href=\"early.adp\">x</a> <td>Web Pages</td>";
    for (int i = 1; i <= 5; ++i)
        page += "<a nocolor href=\"cssearch-results.adp?sTerm=cars&first=" + std::to_string(i % 2 ? 11 : 21) +
                "\">" + std::to_string(i) + "</a>";
    auto p = Links(17, page);
    // The third capture repeats the first: it counts although nothing is queued.
    EXPECT_EQ(p.pages, (Pages{kHost + "/cs/results/cssearch-results.adp?sTerm=cars&first=11",
                              kHost + "/cs/results/cssearch-results.adp?sTerm=cars&first=21"}));
}

TEST(PageLinkReaders, EmptyPagesAndUnknownSelectorsReadNothing) {
    for (int selector : {0, 1, 11, 13, 17, 18, -1}) {
        EXPECT_TRUE(Links(selector, "").pages.empty());
        EXPECT_EQ(Links(selector, "").pumps, 0u);
    }
    EXPECT_TRUE(Links(13, "<a href=\"/cgi-bin/query?kl=XX\">").pages.empty());
    EXPECT_FALSE(HasReaders(13));
    EXPECT_FALSE(HasReaders(18));
    EXPECT_TRUE(HasReaders(0));
    EXPECT_TRUE(HasReaders(15));
    EXPECT_TRUE(HasReaders(17));
}

}  // namespace
}  // namespace qm::readers_test
