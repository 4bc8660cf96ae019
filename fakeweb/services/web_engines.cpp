// The built-in web engines, imitated. Every engine answers its search path with a page
// in its own layout. The results depend on the query words only: each word stands for a
// fixed list of sites, so queries that share a word share results, and engines pick
// overlapping parts of the same list (the program rejects the duplicates). Each engine
// links three further result pages the way its page-link reader expects, except
// WebCrawler, which has one page. Each page follows the layout its reader was written
// for, decoys included where a real page has them (navigation, category and "add" links,
// mirrors), listed in DecoyLinkTexts().
//
// A query holding the word "qmendlesspages" makes every engine offer a further page
// forever: page n links to page n + 1 and holds a few results.
#include "fakeweb/services/web_engines.h"

#include <algorithm>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "fakeweb/Service.h"
#include "net/ServiceHosts.h"

namespace qm::fakeweb::services {

namespace {

// ------------------------------------------------------------------ result data

uint64_t Hash(std::string_view text, uint64_t seed) {
    uint64_t h = 1469598103934665603ull ^ (seed * 0x9E3779B97F4A7C15ull);
    for (unsigned char c : text) {
        h ^= c;
        h *= 1099511628211ull;
    }
    h ^= h >> 29;
    h *= 0xBF58476D1CE4E5B9ull;
    return h ^ (h >> 32);
}

constexpr const char *kEndlessWord = "qmendlesspages";

// Lower-case runs of letters and digits of the decoded query, each once. Bytes above 127
// count as letters, so UTF-8 letters ("café") stay inside their words; the capitals of
// Latin-1 in UTF-8 ("É") are lowered like ASCII ones. The joining words the search modes
// put between the user's words ("AND", "OR", "NOT") and the endless-paging switch are not
// topics; they are dropped unless the query holds nothing else.
std::vector<std::string> QueryWords(std::string_view decoded, bool &endless) {
    std::vector<std::string> words;
    std::string word;
    auto flush = [&] {
        if (!word.empty() && std::find(words.begin(), words.end(), word) == words.end()) words.push_back(word);
        word.clear();
    };
    for (size_t i = 0; i < decoded.size(); ++i) {
        char c = decoded[i];
        const auto b = static_cast<unsigned char>(c);
        if (c >= 'A' && c <= 'Z') c = char(c + 32);
        if (b >= 0x80) {
            // U+00C0 to U+00DE except U+00D7 is C3 80..9E: the lower-case letter is 32 above.
            const auto prev = word.empty() ? 0 : static_cast<unsigned char>(word.back());
            if (prev == 0xC3 && b >= 0x80 && b <= 0x9E && b != 0x97) c = char(b + 32);
            word += c;
        } else if ((c >= 'a' && c <= 'z') || (c >= '0' && c <= '9')) {
            word += c;
        } else {
            flush();
        }
    }
    flush();
    endless = std::find(words.begin(), words.end(), kEndlessWord) != words.end();
    std::vector<std::string> topics;
    for (const auto &w : words)
        if (w != "and" && w != "or" && w != "not" && w != kEndlessWord) topics.push_back(w);
    return topics.empty() ? words : topics;
}

constexpr int kPoolSize = 1000;

struct Site {
    int id;
    std::string word;  // the query word that brought it
    std::string name;  // e.g. "Bercor"
    std::string url;   // the site's own address
    std::string title;
    std::string description;
    std::string shown;  // the address without its scheme
};

std::string SiteName(int id) {
    static const char *syllables[] = {"al", "ber", "cor", "dan", "el",  "fa",  "gor", "hal", "in", "jo",
                                      "ka", "lum", "mor", "nel", "or",  "pa",  "qui", "ros", "sa", "tor"};
    return std::string(syllables[id % 20]) + syllables[(id / 20) % 20] + (id >= 400 ? std::to_string(id / 400) : "");
}

Site MakeSite(int id, const std::string &word) {
    static const char *kinds[] = {"Guide", "Archive", "Club", "Journal", "Shop", "Forum", "Museum", "Library"};
    static const char *phrases[] = {
        "news, reviews &amp; pictures",    "everything you wanted to know",   "the &quot;best&quot; links",
        "a friendly community since 1996", "prices, catalogues and addresses", "articles for beginners and experts"};
    Site s;
    s.id = id;
    s.word = word;
    s.name = SiteName(id);
    s.name[0] = char(s.name[0] - 32);
    std::string host = "www." + SiteName(id) + ".example";
    s.shown = host + "/" + (id % 3 == 0 ? std::string() : "info/" + std::to_string(id) + ".html");
    s.url = "http://" + s.shown;
    s.title = s.name + " " + kinds[id % 8] + " - " + word;
    s.description = "All about " + word + " at " + s.name + ": " + phrases[id % 6] + ".";
    return s;
}

// The description with the query word in the highlight markup some engines put around it.
std::string Highlighted(const Site &s) {
    std::string d = s.description;
    const std::string plain = "about " + s.word + " ";
    size_t at = d.find(plain);
    if (at != std::string::npos) d.replace(at, plain.size(), "about <span class=e>" + s.word + "</span> ");
    return d;
}

// The sites of a query, in rank order: the words' own lists interleaved.
std::vector<Site> QuerySites(const std::vector<std::string> &words) {
    std::vector<Site> sites;
    if (words.empty()) return sites;
    std::vector<int> seen;
    for (int rank = 0; rank < 60 * int(words.size()) && sites.size() < 60; ++rank) {
        const std::string &word = words[rank % words.size()];
        int id = int(Hash(word, uint64_t(rank / words.size())) % kPoolSize);
        if (std::find(seen.begin(), seen.end(), id) != seen.end()) continue;
        seen.push_back(id);
        sites.push_back(MakeSite(id, word));
    }
    return sites;
}

// One result page of an engine (`page` 0-based): mostly sites of the query's common
// list, taken from a point that differs per engine so that engines overlap, and about
// one in three of the engine's own finding for a query word.
std::vector<Site> EngineSites(int engine, const std::vector<std::string> &words, int page, int perPage) {
    std::vector<Site> common = QuerySites(words), out;
    if (common.empty()) return out;
    std::vector<int> seen;
    for (int i = 0; i < perPage; ++i) {
        const int slot = page * perPage + i;
        Site s;
        if (Hash("own", uint64_t(engine * 1000 + slot)) % 3 == 0) {
            const std::string &word = words[size_t(slot) % words.size()];
            s = MakeSite(int(Hash(word, uint64_t(engine * 1000 + slot) + 77) % kPoolSize), word);
        } else {
            s = common[size_t(engine * 5 + slot) % common.size()];
        }
        if (std::find(seen.begin(), seen.end(), s.id) != seen.end()) continue;
        seen.push_back(s.id);
        out.push_back(s);
    }
    return out;
}

// ------------------------------------------------------------------ request helpers

// The query words are sent as "+"-joined words; rebuild that for links, bytes above 127
// as "%XX" escapes as a server writes them.
std::string LinkQuery(const std::vector<std::string> &words) {
    static constexpr char kHex[] = "0123456789ABCDEF";
    std::string q;
    for (const auto &w : words) {
        if (!q.empty()) q += '+';
        for (char c : w) {
            const auto b = static_cast<unsigned char>(c);
            if (b < 0x80) {
                q += c;
            } else {
                q += '%';
                q += kHex[b >> 4];
                q += kHex[b & 15];
            }
        }
    }
    return q;
}

std::string Head(const std::string &title) {
    return "<html><head><title>" + title + "</title></head>\n<body bgcolor=\"#ffffff\">\n";
}

const char *kTail = "</body></html>\n";

struct Query {
    std::vector<std::string> words;
    std::string link;      // words for links
    int page = 0;          // 0-based
    bool endless = false;  // the query asked for endless paging

    // The result pages this page links (0-based; page 0 is the first one fetched): pages
    // 1 to 3 but itself, or only the next one when paging is endless.
    std::vector<int> Further() const {
        if (endless) return {page + 1};
        std::vector<int> out;
        for (int p = 1; p < 4; ++p)
            if (p != page) out.push_back(p);
        return out;
    }
    bool HasNext() const { return endless || page < 3; }
    // Results on one page: an engine's own number, or a few when paging is endless.
    int PerPage(int usual) const { return endless ? 3 : usual; }
};

// Each engine: its service-host key, the path it answers, and its page writer.
struct Engine {
    const char *hostKey;
    const char *path;
    std::vector<const char *> queryKeys;  // the parameters that may hold the query words
    std::function<long long(const Request &)> pageOf;  // 0-based page number, unchecked
    std::function<std::string(const Query &, const Request &)> write;
};

long long Num(const Request &r, const char *key, long long fallback = 0) { return r.number(key, fallback); }

// ------------------------------------------------------------------ the engines' pages

std::string Altavista(const Query &q, const Request &) {
    std::string out = Head("AltaVista - Web Results") + "<font face=arial>Result pages: ";
    for (int p : q.Further())
        out += "<a href=\"/cgi-bin/query?kl=XX&q=" + q.link + "&stq=" + std::to_string(p * 10) + "\">" +
               std::to_string(p + 1) + "</a> ";
    out += "</font>\n";
    int n = q.page * 10;
    for (const auto &s : EngineSites(0, q.words, q.page, q.PerPage(8))) {
        out += "<dl><dt><b>" + std::to_string(++n) + ". </b><a href=\"" + s.url + "\"><B>" + s.title +
               "</B></a><dd>" + s.description + "<br><span class=u>URL: " + s.url + "</span></dl>\n";
        if (n % 5 == 0)  // a mirror the program does not list
            out += "<dl><dt><a href=\"ftp://ftp." + SiteName(s.id) + ".example/\">ftp mirror</a><dd>files<span>\n";
    }
    return out + kTail;
}

std::string Google(const Query &q, const Request &) {
    std::string out = Head("Google Search: " + q.link) + "<p>Results for <b>" + q.link + "</b></p>\n";
    int n = 0;
    for (const auto &s : EngineSites(1, q.words, q.page, q.PerPage(8))) {
        std::string href = ++n % 2 ? s.url : "/url?sa=U&start=" + std::to_string(n) + "&q=" + s.url + "&e=7421";
        out += "<p><a href=" + href + ">" + s.title + "</a><br>" + s.description +
               "<font color=green> - " + s.shown + "</font></p>\n";
    }
    out += "<table><tr>";
    for (int p : q.Further())
        out += "<td><a href=/search?q=" + q.link + "&start=" + std::to_string(p * 20) + ">" +
               std::to_string(p + 1) + "</a></td>";
    return out + "</tr></table>\n" + kTail;
}

std::string Sprinks(const Query &q, const Request &r) {
    std::string out = Head("Sprinks") + "<table><tr><td class=\"srsmtext\"><br><br></td></tr></table>\n"
                      "<b class=\"hd\">Results for <i>" + q.link + "</i></b>\n";
    for (const auto &s : EngineSites(4, q.words, q.page, q.PerPage(8)))
        out += "<a href=\"http://" + r.host + "/click?lnk=" + s.url + "\" class=\"t\">" + s.title +
               "</a><br><span class=\"d\">" + s.description + "</span><br>\n";
    for (int p : q.Further())
        out += "<a href=\"http://" + r.host + "/search.htm?terms=" + q.link + "&pg=" + std::to_string(p + 1) +
               "\">" + std::to_string(p + 1) + "</a> ";
    return out + kTail;
}

std::string Hotbot(const Query &q, const Request &) {
    std::string out = Head("HotBot results");
    for (const auto &s : EngineSites(5, q.words, q.page, q.PerPage(8)))
        out += "<p><b><a href=\"/director.asp?target=" + s.url + "\">" + s.title + "</a></b><br>" + s.description +
               "<br><font color=green>" + s.url + "</font></p>\n";
    for (int p : q.Further())
        out += "<a href=\"/?MT=" + q.link + "&RPN=" + std::to_string(p + 1) + "\">" + std::to_string(p + 1) + "</a> ";
    out += "<a href=\"/?MT=" + q.link + "&Domain=example\">only .example</a>\n";
    return out + kTail;
}

std::string Euroseek(const Query &q, const Request &) {
    std::string out = Head("Euroseek") + "<dl>\n";
    for (const auto &s : EngineSites(7, q.words, q.page, q.PerPage(8)))
        out += "<dt><a href=\"" + s.url + "\" class=\"matchtitle\">" + s.title + "</a></dt><dd><font class=\"matchtext\">" +
               s.description + "</font><br><a class=\"matchurls\" href=\"" + s.url + "\">" + s.url + "</a></dd>\n";
    out += "</dl><a href=\"/query?q=" + q.link + "&c=1\">in this category</a>\n";
    for (int p : q.Further())
        out += "<a href=\"/query?q=" + q.link + "&start=" + std::to_string(p * 10) + "\">" + std::to_string(p + 1) + "</a> ";
    return out + kTail;
}

std::string FastSearch(const Query &q, const Request &) {
    std::string out = Head("FAST Search") + "<dl>\n";
    for (const auto &s : EngineSites(8, q.words, q.page, q.PerPage(8)))
        out += "<dt><a href=\"" + s.url + "\" onMouseOver=\"window.status='" + s.url +
               "'; return true\" onMouseOut=\"window.status='';\">" + s.title +
               "</a></dt>\n<dd><span class=t>" + Highlighted(s) + "</span><br><span class=u>" + s.url +
               "</span></dd>\n";
    out += "</dl>";
    for (int p : q.Further())
        out += "<a href=\"/cgi-bin/search?offset=" + std::to_string(p * 10) + "&type=all&query=" + q.link +
               "\">" + std::to_string(p + 1) + "</a> ";
    return out + kTail;
}

std::string Msn(const Query &q, const Request &) {
    std::string out = Head("MSN Search");
    for (const auto &s : EngineSites(9, q.words, q.page, q.PerPage(8)))
        out += "<h3><a class=\"ttitle\" href=\"" + s.url + "\">" + s.title + "</a></h3><br />" + Highlighted(s) +
               "<br /><span class=u>" + s.shown + "</span>\n";
    for (int p : q.Further())
        out += "<a href=\"results.asp?ba=" + std::to_string(p * 10) + "&amp;q=" + q.link + "&amp;v=1\">" +
               std::to_string(p + 1) + "</a> ";
    return out + kTail;
}

std::string DirectHit(const Query &q, const Request &) {
    std::string out = Head("Direct Hit");
    int n = q.page * 10;
    for (const auto &s : EngineSites(10, q.words, q.page, q.PerPage(8)))
        out += std::to_string(++n) + ". <a href=\"/rd?u=" + s.url + "\">" + s.title + "</a><br/>" + s.description +
               "<br /><a href=\"" + s.url + "\">" + s.url + " 4k</a><br>\n";
    if (q.page > 0)
        out += "<a href=\"/umbrella.asp?alias=websrch&qry=" + q.link + "&base=" + std::to_string((q.page - 1) * 10) +
               "\">Previous</a> ";
    if (q.HasNext())
        out += "<a href=\"/umbrella.asp?alias=websrch&qry=" + q.link + "&base=" + std::to_string((q.page + 1) * 10) +
               "\">Next 10</a>";
    return out + "\n" + kTail;
}

std::string Aol(const Query &q, const Request &) {
    std::string out = Head("AOL NetFind") + "<table><tr><td width=10px>&nbsp;</td><td>\n";
    for (const auto &s : EngineSites(11, q.words, q.page, q.PerPage(8)))
        out += "<a href=\"" + s.url + "\" onmouseover=\"self.status='" + s.url + "';return true\">" + s.title +
               "</a><dd class=d>" + s.description + "<i>" + s.shown + "</i><br>\n";
    for (int p : q.Further())
        out += "<a href=dirsearch.adp?query=" + q.link + "&first=" + std::to_string(p * 15 + 1) +
               "&last=" + std::to_string(p * 15 + 15) + ">" + std::to_string(p + 1) + "</a> ";
    return out + "</td></tr></table>\n" + kTail;
}

std::string FindWhat(const Query &q, const Request &r) {
    std::string out = Head("FindWhat");
    int n = 0;
    for (const auto &s : EngineSites(12, q.words, q.page, q.PerPage(8)))
        out += "<a href=\"http://" + r.host + "/rurl.dll?id=" + std::to_string(++n) + "\"></a><a href=\"http://" +
               r.host + "/go?u=" + s.url + "\"><span class=\"t\">" + s.title + "</span></a><br><font class=\"d\">" +
               s.description + "<br><i>" + s.url + "</i></font><br>\n";
    for (int p : q.Further())
        out += "<a href=\"results.asp?DC=25&Base=" + std::to_string(p * 25) + "&MT=" + q.link + "&pdc=3\">" +
               std::to_string(p + 1) + "</a> ";
    return out + kTail;
}

std::string Nbci(const Query &q, const Request &r) {
    std::string out = Head("NBCi Search") + "<b>" + std::to_string(100 + q.words.size()) + " sites reviewed</b><br>\n";
    for (const auto &s : EngineSites(13, q.words, q.page, q.PerPage(12)))
        out += "<a href=\"http://" + r.host + "/go?u=" + s.url + "\"><b>" + s.title + "</b></a> >&nbsp;- " + s.url +
               "<br>" + s.description + "<br><a href=\"/add?u=" + s.url + "\">Add to my NBCi</a><br>\n";
    out += "Result page&nbsp;&nbsp;&nbsp;";
    for (int p : q.Further())
        out += "<a href=\"1,61,home-0,00.html?stype=0&keyword=" + q.link + "&pg=" + std::to_string(p + 1) + "\">" +
               std::to_string(p + 1) + "</a> ";
    return out + kTail;
}

std::string WebCrawler(const Query &q, const Request &) {
    std::string out = Head("WebCrawler") + "Web results for: <a href=/search.gw?s=" + q.link + ">" + q.link + "</a><br>\n";
    for (const auto &s : EngineSites(14, q.words, 0, 20))
        out += "<span class=size10><a href=" + s.url + ">" + s.title + "</a> " + s.description + "</span><br>\n";
    return out + kTail;
}

std::string OpenDirectory(const Query &q, const Request &) {
    // The matching categories come first, before the sites heading the readers start at;
    // each site then names its category in a "<small>" part, which the reader passes.
    std::string out = Head("Open Directory Project") + "<b>Open Directory Categories</b>\n<ul>\n";
    for (const auto &w : q.words) out += "<li><a href=\"/Top/" + LinkQuery({w}) + "/\">Top: " + w + "</a>\n";
    out += "</ul>\n<b>Open Directory Sites</b>\n<ol>\n";
    for (const auto &s : EngineSites(15, q.words, q.page, q.PerPage(8)))
        out += "<li><a href=\"" + s.url + "\">" + s.title + "</a> " + s.description +
               " <small><a href=\"/Top/" + LinkQuery({s.word}) + "/\">Top: " + s.word + "</a></small>\n";
    out += "</ol>\n";
    for (int p : q.Further())
        out += "<a href=\"search?search=" + q.link + "&start=" + std::to_string(p * 20) + "\">" +
               std::to_string(p + 1) + "</a> ";
    return out + kTail;
}

std::string Compuserve(const Query &q, const Request &) {
    std::string out = Head("CompuServe Search") + "<table><tr><td><b>Web Pages</b></td></tr></table>\n";
    for (int p : q.Further())
        out += "<a nocolor href=\"cssearch-results.adp?sTerm=" + q.link + "&first=" + std::to_string(p * 10 + 1) +
               "\">" + std::to_string(p + 1) + "</a> ";
    if (q.page == 0 && !q.endless)  // a fourth link, never followed: the reader stops after three
        out += "<a nocolor href=\"cssearch-results.adp?sTerm=" + q.link + "&first=41\">more</a>";
    out += "<br>\n";
    for (const auto &s : EngineSites(16, q.words, q.page, q.PerPage(8)))
        out += "<font size=2><a href=\"redirect.adp?u=" + s.url + "\" onmouseover=\"window.status='" + s.shown +
               "';return true\">" + s.title + "</a> " + s.description + "<br></font>\n";
    return out + kTail;
}

std::string Netscape(const Query &q, const Request &) {
    std::string out = Head("Netscape Search") + "<b>Web sites found by Netscape Search</b>\n<ul>\n";
    for (const auto &s : EngineSites(2, q.words, q.page, q.PerPage(8)))
        out += "<li><a href=\"" + s.url + "\">" + s.title + "</a><br>" + s.description +
               "<font size=-1 color=green> " + s.shown + "</font>\n";
    out += "</ul>\n";
    for (int p : q.Further())
        out += std::string("<a href=\"") + (p % 2 ? "/search.tmpl" : "google.tmpl") + "?search=" + q.link +
               "&page=" + std::to_string(p + 1) + "\">" + std::to_string(p + 1) + "</a> ";
    return out + kTail;
}

std::string Goto(const Query &q, const Request &r) {
    std::string out = Head("GoTo.com") + "<!-- results start=" + std::to_string(q.page * 10 + 1) + " -->\n<ol>\n";
    for (const auto &s : EngineSites(3, q.words, q.page, q.PerPage(8)))
        out += "<li><b><a href=http://" + r.host + "/click?site=" + std::to_string(s.id) + "&Keywords=" + q.link +
               " target=_top>" + s.title + "</a></b><br>" + s.description + "<br><em>" + s.shown + "</em><p>\n";
    out += "</ol>\n";
    if (q.HasNext())
        out += "<a href=/d/search/p/go/?Keywords=" + q.link + "&page=" + std::to_string(q.page + 2) +
               "\">More results</a>\n";
    return out + kTail;
}

std::string InfoSpace(const Query &q, const Request &r) {
    std::string out = Head("InfoSpace") + "Web results: ";
    if (q.HasNext())
        out += "<a href=\"http://" + r.host + "/info/search?QKW=" + q.link + "&page=" + std::to_string(q.page + 2) +
               "\">Next</a>";
    else  // the last page links back to the one before, which is queued already
        out += "<a href=\"http://" + r.host + "/info/search?QKW=" + q.link + "&page=3\">Previous</a>";
    out += "<br>\n";
    for (const auto &s : EngineSites(6, q.words, q.page, q.PerPage(8)))
        out += "<a href=\"http://" + r.host + "/click?site=" + std::to_string(s.id) + "\">" + s.title +
               "</a><br><font size=-1>" + s.description + "<i>" + s.shown + "</i></font><br>\n";
    return out + kTail;
}

// The last page an endless query reaches; far beyond any page cap of the program.
constexpr long long kEndlessLastPage = 1000000;

const std::vector<Engine> &Engines() {
    static const std::vector<Engine> engines = {
        {"altavista", "/cgi-bin/query", {"q"}, [](const Request &r) { return Num(r, "stq") / 10; }, Altavista},
        {"altavista-advanced", "/cgi-bin/query", {"q"}, [](const Request &r) { return Num(r, "stq") / 10; },
         Altavista},
        {"google", "/search", {"as_q", "q"}, [](const Request &r) { return Num(r, "start") / 20; }, Google},
        {"sprinks", "/search.htm", {"terms"}, [](const Request &r) { return Num(r, "pg", 1) - 1; }, Sprinks},
        {"hotbot", "/", {"MT"}, [](const Request &r) { return Num(r, "RPN", 1) - 1; }, Hotbot},
        {"euroseek", "/query", {"q"}, [](const Request &r) { return Num(r, "start") / 10; }, Euroseek},
        {"fastsearch", "/cgi-bin/search", {"query"}, [](const Request &r) { return Num(r, "offset") / 10; },
         FastSearch},
        {"msnsearch", "/results.asp", {"q"}, [](const Request &r) { return Num(r, "ba") / 10; }, Msn},
        {"directhit", "/umbrella.asp", {"qry"}, [](const Request &r) { return Num(r, "base") / 10; }, DirectHit},
        {"aolnetfind", "/dirsearch.adp", {"query"}, [](const Request &r) { return (Num(r, "first", 1) - 1) / 15; },
         Aol},
        {"findwhat", "/results.asp", {"MT"}, [](const Request &r) { return Num(r, "Base") / 25; }, FindWhat},
        {"nbci", "/search/directory/results/1,61,home-0,00.html", {"keyword"},
         [](const Request &r) { return Num(r, "pg", 1) - 1; }, Nbci},
        {"webcrawler", "/search.gw", {"s"}, [](const Request &) { return 0; }, WebCrawler},
        {"opendirectory", "/cgi-bin/search", {"search"}, [](const Request &r) { return Num(r, "start") / 20; },
         OpenDirectory},
        {"compuserve", "/cs/results/cssearch-results.adp", {"sTerm"},
         [](const Request &r) { return (Num(r, "first", 1) - 1) / 10; }, Compuserve},
        {"netscape", "/search.tmpl", {"search"}, [](const Request &r) { return Num(r, "page", 1) - 1; }, Netscape},
        {"netscape", "/google.tmpl", {"search"}, [](const Request &r) { return Num(r, "page", 1) - 1; }, Netscape},
        {"goto", "/d/search/p/go/", {"Keywords"}, [](const Request &r) { return Num(r, "page", 1) - 1; }, Goto},
        {"infospace", "/info/search", {"QKW"}, [](const Request &r) { return Num(r, "page", 1) - 1; }, InfoSpace},
    };
    return engines;
}

std::optional<Response> Answer(const Engine &engine, const Request &request) {
    if (request.path != engine.path) return std::nullopt;
    auto key = std::find_if(engine.queryKeys.begin(), engine.queryKeys.end(),
                            [&](const char *k) { return request.hasParam(k); });
    if (key == engine.queryKeys.end()) return std::nullopt;
    std::string decoded = request.param(*key);
    Query q;
    q.words = QueryWords(decoded, q.endless);
    q.link = LinkQuery(q.words);
    if (q.endless && q.words.front() != kEndlessWord) q.link += std::string("+") + kEndlessWord;
    // Pages are 1-based in some engines' parameters; there are four pages, or endless ones.
    q.page = int(std::clamp<long long>(engine.pageOf(request), 0, q.endless ? kEndlessLastPage : 3));
    return Response::Html(engine.write(q, request));
}

// Click-through addresses of the engines (sponsored clicks, redirectors): send the
// browser on to the site.
std::optional<Response> Redirector(const Request &request) {
    for (const char *key : {"u", "target", "lnk"}) {
        std::string to = request.param(key);
        if (to.rfind("http://", 0) == 0) return Response::Redirect(to);
    }
    if (request.path == "/click" && request.hasParam("site")) {
        long long id = request.number("site", 0);
        if (id >= 0 && id < kPoolSize) return Response::Redirect(MakeSite(int(id), "").url);
    }
    return std::nullopt;
}

}  // namespace

std::string SponsoredLandingAddress(std::string_view hostKey, std::string_view rawQuery) {
    std::string host = ServiceHostFor(hostKey);
    if (host.empty()) return {};
    std::string q(rawQuery);
    if (hostKey == "netscape") return "http://" + host + "/search.tmpl?search=" + q + "&page=1";
    if (hostKey == "goto") return "http://" + host + "/d/search/p/go/?Keywords=" + q + "&page=1";
    if (hostKey == "infospace") return "http://" + host + "/info/search?QKW=" + q + "&page=1";
    return {};
}

const std::vector<std::string> &DecoyLinkTexts() {
    static const std::vector<std::string> texts = {"ftp mirror", "only .example", "in this category",
                                                   "Previous",   "Next 10",       "Next",
                                                   "Add to my NBCi", "more",      "More results"};
    return texts;
}

void RegisterWebEngines(Registry &registry) {
    for (const auto &engine : Engines())
        registry.add(engine.hostKey, [&engine](const Request &request) { return Answer(engine, request); });
    std::vector<std::string> keys;
    for (const auto &engine : Engines())
        if (std::find(keys.begin(), keys.end(), engine.hostKey) == keys.end()) keys.push_back(engine.hostKey);
    for (const auto &key : keys) registry.add(key, Redirector);
}

}  // namespace qm::fakeweb::services
