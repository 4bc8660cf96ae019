// Reading a 1 MB answer page with each engine's two readers: results per second and
// megabytes per second, and, measured side by side on the same page, the time as a ratio
// to one case-insensitive search through the whole page (TMisc::FindNoCasePos for a
// landmark that is not there) and the share of it spent cleaning the rows' texts again
// (CleanHtmlText on each row's title and description).
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <string>
#include <vector>

#include "engines/web/WebReaders.h"
#include "engines/web/WebReadersSink.h"
#include "toolkit/Misc.h"

namespace {

struct Layout {
    int selector;
    const char *name;
    const char *head;    // once per page
    const char *record;  // "#" stands for the record number
    const char *tail;    // further-page links
};

// One record layout per selector, as the engines' pages carry them.
const Layout kLayouts[] = {
    {0, "Google/Yahoo", "<html>", "<p><a href=http://www.s#.example/>Site # &amp; more</a><br>Description of site # with <b>words</b> <font color=green>www.s#.example</font>\n",
     "<td><a href=/search?q=x&start=20>2</a>"},
    {1, "Altavista", "<html>", "<dl><dt><b>#. </b><a href=\"http://www.s#.example/\"><B>Site #</B> &amp; more</a><dd>Description of site # with <b>words</b><br><span class=u>URL</span></dl>\n",
     "<a href=\"/cgi-bin/query?kl=XX&q=x&stq=10\">2</a>"},
    {2, "AOLNetFind", "<td width=10px>", "<a href=\"http://www.s#.example/\" onmouseover=\"self.status='http://www.s#.example/';return true\">Site #</a><dd class=d>Description of site #<i>www.s#.example</i><br>\n",
     "<a href=dirsearch.adp?query=x&first=16>2</a>"},
    {3, "Hotbot/Lycos", "<html>", "<p><b><a href=\"/director.asp?target=#\">Site #</a></b><br>Description of site #<br><font color=green>http://www.s#.example/</font></p>\n",
     "<a href=\"/?MT=x&RPN=2\">2</a>"},
    {4, "Euroseek", "<dl>", "<dt><a href=\"http://www.s#.example/\" class=\"matchtitle\">Site #</a></dt><dd><font class=\"matchtext\">Description of site #</font><br><a class=\"matchurls\" href=\"x\">http://www.s#.example/</a></dd>\n",
     "<a href=\"/query?q=x&start=10\">2</a>"},
    {5, "FastSearch", "<dl>", "<dt><a href=\"http://www.s#.example/\" onMouseOver=\"window.status='http://www.s#.example/'; return true\" onMouseOut=\"window.status='';\">Site #</a></dt><dd><span class=t>Description of <span class=e>site</span> #</span><br></dd>\n",
     "<a href=\"/cgi-bin/search?offset=10&query=x\">2</a>"},
    {6, "MSNSearch", "<html>", "<h3><a class=\"ttitle\" href=\"http://www.s#.example/\">Site #</a></h3><br />Description of <span class=e>site</span> #<br /><span>u</span>\n",
     "<a href=\"results.asp?ba=10&amp;q=x\">2</a>"},
    {7, "DirectHit", "<html>", "#. <a href=\"/rd?u=#\">Site #</a><br/>Description of site #<br /><a href=\"x\">http://www.s#.example/ 4k</a><br>\n",
     "<a href=\"/umbrella.asp?qry=x&base=10\">Next 10</a>"},
    {8, "FindWhat", "<html>", "<a href=\"/rurl.dll?id=#\"></a><a href=\"/go?u=#\"><span class=\"t\">Site #</span></a><br><font class=\"d\">Description of site #<br><i>http://www.s#.example/</i></font><br>\n",
     "<a href=\"results.asp?DC=25&Base=25&MT=x\">2</a>"},
    {9, "Sprinks", "<td class=\"srsmtext\"><br><br></td><b class=\"hd\">Results for x</b>", "<a href=\"/click?lnk=http://www.s#.example/\" class=\"t\">Site #</a><br><span class=\"d\">Description of site #</span><br>\n",
     "<a href=\"http://www.sprinks.example/search.htm?terms=x&pg=2\">2</a>"},
    {10, "GOTO", "<!-- start=1 -->", "<li><b><a href=http://click.example/?site=# target=_top>Site #</a></b><br>Description of site #<br><em>www.s#.example</em><p>\n",
     "<a href=/d/search/p/go/?Keywords=x&page=2\">More</a>"},
    {11, "Netscape", "<b>Web sites found by Netscape</b>", "<li><a href=\"http://www.s#.example/\">Site #</a><br>Description of site #<font size=-1> www.s#.example</font>\n",
     "<a href=\"/search.tmpl?search=x&page=2\">2</a>"},
    {12, "NBCi", "<b>100 sites reviewed</b>", "<a href=\"/go?u=#\"><b>Site #</b></a> >&nbsp;- http://www.s#.example/<br>Description of site #<br><a href=\"/add\">Add to my NBCi</a><br>\n",
     "Result page&nbsp;&nbsp;&nbsp;<a href=\"1,61,home-0,00.html?keyword=x&pg=2\">2</a>"},
    {14, "InfoSpace", "Web results: <a href=\"http://www.infospace.example/info/search?QKW=x&page=2\">Next</a>", "<a href=\"http://click.example/?site=#\">Site #</a><br><font size=-1>Description of site #<i>www.s#.example</i></font><br>\n",
     ""},
    {15, "WebCrawler", "Web results for: <a href=/search.gw?s=x>x</a>", "<span class=size10><a href=http://www.s#.example/>Site #</a> Description of site #</span><br>\n",
     ""},
    {16, "OpenDirectory", "<b>Open Directory Sites</b><ol>", "<li><a href=\"http://www.s#.example/\">Site #</a> - Description of site # <small><a href=\"/Top/x/\">Top</a></small>\n",
     "</ol><a href=\"search?search=x&start=20\">2</a>"},
    {17, "Compuserve", "<b>Web Pages</b><a nocolor href=\"cssearch-results.adp?first=11\">2</a>", "<font size=2><a href=\"redirect.adp?u=#\" onmouseover=\"window.status='www.s#.example';return true\">Site #</a> Description of site #<br></font>\n",
     ""},
};

std::string Record(const char *pattern, int n) {
    std::string out, num = std::to_string(n);
    for (const char *p = pattern; *p; ++p) {
        if (*p == '#') out += num;
        else out += *p;
    }
    return out;
}

std::string Page(const Layout &layout, size_t size) {
    std::string page = layout.head;
    page += "\n";
    for (int n = 1; page.size() < size; ++n) page += Record(layout.record, n);
    return page + layout.tail;
}

using Clock = std::chrono::steady_clock;

double Seconds(Clock::time_point since) { return std::chrono::duration<double>(Clock::now() - since).count(); }

}  // namespace

int main() {
    constexpr size_t kSize = 1 << 20;
    constexpr int kRounds = 5;
    std::printf("%-14s %4s %7s %10s %8s %11s %8s\n", "engine", "sel", "rows", "rows/s", "MB/s", "vs search", "clean");
    double totalRatio = 0;
    int n = 0;
    for (const auto &layout : kLayouts) {
        const std::string page = Page(layout, kSize);
        const double mb = double(page.size()) / (1 << 20);
        double best = 1e9, bestSearch = 1e9, bestClean = 1e9;
        size_t rows = 0, found = 0, cleaned = 0;
        for (int round = 0; round < kRounds; ++round) {
            qm::CollectingSink sink("http://host.example", layout.name);
            auto start = Clock::now();
            qm::RunReaders(layout.selector, page, sink);
            best = std::min(best, Seconds(start));
            rows = sink.Rows().size();

            start = Clock::now();
            found += qm::TMisc::FindNoCasePos(page, "<no such landmark>");
            bestSearch = std::min(bestSearch, Seconds(start));

            start = Clock::now();
            for (const auto &row : sink.Rows())
                cleaned += qm::CleanHtmlText(row.subItems[qm::kSite]).size() +
                           qm::CleanHtmlText(row.subItems[qm::kDescription]).size();
            bestClean = std::min(bestClean, Seconds(start));
        }
        const double ratio = best / std::max(bestSearch, 1e-9);
        totalRatio += ratio;
        ++n;
        std::printf("%-14s %4d %7zu %10.0f %8.1f %10.1fx %7.0f%%\n", layout.name, layout.selector, rows,
                    double(rows) / best, mb / best, ratio, 100 * bestClean / best);
        if (found != std::string::npos * kRounds && cleaned == 0 && rows) std::printf("(unexpected)\n");
    }
    std::printf("mean time of both readers vs one search through the page: %.1fx\n", totalRatio / n);
    return 0;
}
