// Five search services that the bundled engine definitions (resources/Engines/WebSearch.grp)
// describe. Each lays its result pages out in its own way, so that between them they use
// every part of the template language: plain and quoted links, links completed with a base
// address, click-through links with the real address shown apart, skipped parts, upper-case
// markup and line breaks inside records.
//
// Results depend on the query: the words of the query name the result sites. The first
// result of every service is the query's "home page", the same address everywhere, so a
// search over several services shows the duplicate test at work. Each service has 3 or 4
// result pages of 5 results, linked from a page navigation that the definitions' next
// templates follow. A query with the word "nohits" finds nothing; one with the word
// "qmendlesspages" has a further page forever (as far as page 1000).
#include <cctype>
#include <string>
#include <vector>

#include "fakeweb/Service.h"

namespace qm::fakeweb::services {

namespace {

constexpr int kPerPage = 5;

const char *const kTopics[] = {"guide", "news", "forum", "pictures", "history",
                               "shop",  "club", "wiki",  "facts",    "reviews"};

struct QueryWords {
    std::vector<std::string> words;  // lower-case runs of letters and digits (UTF-8 letters too)
    std::string slug;                // words joined by "-", bytes above 127 as hex digits
    std::string text;                // words joined by blanks
    std::string title;               // text with a capital first letter
    bool nohits = false;
    bool endless = false;
};

QueryWords ReadQuery(const std::string &decoded) {
    QueryWords q;
    std::string w;
    auto flush = [&] {
        if (w.empty()) return;
        if (w == "nohits") q.nohits = true;
        if (w == "qmendlesspages") q.endless = true;
        else q.words.push_back(w);
        w.clear();
    };
    for (unsigned char c : decoded) {
        if (c >= 0x80 || std::isalnum(c)) w += char(std::tolower(c));
        else flush();
    }
    flush();
    static const char hex[] = "0123456789abcdef";
    for (size_t i = 0; i < q.words.size(); ++i) {
        if (i) q.slug += '-';
        for (unsigned char c : q.words[i]) {
            if (c < 0x80) {
                q.slug += char(c);
            } else {  // host names stay ASCII
                q.slug += hex[c >> 4];
                q.slug += hex[c & 15];
            }
        }
        q.text += (i ? " " : "") + q.words[i];
    }
    q.title = q.text;
    if (!q.title.empty()) q.title[0] = char(std::toupper(static_cast<unsigned char>(q.title[0])));
    return q;
}

struct Hit {
    std::string url, title, text;
};

// Result n (1-based) of a service for a query.
Hit MakeHit(const std::string &service, const std::string &tag, int salt, const QueryWords &q, int n) {
    if (n == 1)
        return {"http://www." + q.slug + ".example/", q.title + " home page",
                "The home of " + q.text + " on the web."};
    const std::string topic = kTopics[(n + salt) % 10];
    return {"http://www." + q.slug + "-" + topic + ".example/" + tag + "/" + std::to_string(n) + ".html",
            q.title + " " + topic, "All about " + q.text + ": " + topic + ", result " + std::to_string(n) + " from " + service + "."};
}

std::vector<Hit> PageHits(const std::string &service, const std::string &tag, int salt, const QueryWords &q,
                          int page, int pages) {
    std::vector<Hit> hits;
    if (q.words.empty() || q.nohits || page < 1 || page > pages) return hits;
    for (int i = 1; i <= kPerPage; ++i) hits.push_back(MakeHit(service, tag, salt, q, (page - 1) * kPerPage + i));
    return hits;
}

// The request's query string without the page parameter, as it was sent, so that the
// link to page 1 is the very address of the first request.
std::string QueryWithout(const std::string &raw, const std::string &name) {
    std::string out;
    size_t i = 0;
    while (i <= raw.size()) {
        size_t amp = raw.find('&', i);
        if (amp == std::string::npos) amp = raw.size();
        std::string pair = raw.substr(i, amp - i);
        std::string key = pair.substr(0, pair.find('='));
        if (!pair.empty() && key != name) out += (out.empty() ? "" : "&") + pair;
        i = amp + 1;
    }
    return out;
}

// Address of result page `page` (1-based), HTML-escaped ("&amp;").
std::string PageLink(const Request &r, const std::string &pageParam, int page, int firstOffset = 0, bool offset = false) {
    std::string base = r.path + "?" + QueryWithout(r.query, pageParam);
    if (page == 1) return base;
    int value = offset ? firstOffset + (page - 1) * kPerPage : page;
    return base + "&amp;" + pageParam + "=" + std::to_string(value);
}

int PageOf(const Request &r, const std::string &pageParam, bool offset = false) {
    long long v = r.number(pageParam, offset ? 1 : 1);
    if (offset) return v < 1 ? 1 : int((v - 1) / kPerPage) + 1;
    return v < 1 ? 1 : int(v > 1000 ? 1000 : v);
}

std::string Header(const std::string &service, const QueryWords &q) {
    return "<html><head><title>" + service + ": " + q.text + "</title></head>\n<body>\n";
}

// ---- Owlfind: an ordered list, a record over two lines, a page navigation ----
Response Owlfind(const Request &r) {
    QueryWords q = ReadQuery(r.param("q"));
    int page = PageOf(r, "page");
    const int pages = q.endless ? page + 1 : 3;
    auto hits = PageHits("Owlfind", "owl", 1, q, page, pages);
    std::string b = Header("Owlfind", q);
    b += "<div class=\"top\"><a href=\"/\">Owlfind</a> <a href=\"/help\">Help</a></div>\n";
    if (hits.empty()) return Response::Html(b + "<p>Owlfind found no pages for <b>" + q.text + "</b>.</p></body></html>\n");
    b += "<p>Results " + std::to_string((page - 1) * kPerPage + 1) + "-" + std::to_string(page * kPerPage) +
         " for <b>" + q.text + "</b></p>\n<ol class=\"results\">\n";
    for (const Hit &h : hits)
        b += "<li><a href=\"" + h.url + "\"><b>" + h.title + "</b></a>\n<p>" + h.text + " Tips &amp; more.</p></li>\n";
    b += "</ol>\n<div class=\"pager\">Pages:";
    for (int p = 1; p <= pages; ++p)
        b += p == page ? " <b>" + std::to_string(p) + "</b>" : " <a href=\"" + PageLink(r, "page", p) + "\">" + std::to_string(p) + "</a>";
    if (page < pages) b += " <a class=\"next\" href=\"" + PageLink(r, "page", page + 1) + "\">Next</a>";
    b += "</div>\n</body></html>\n";
    return Response::Html(b);
}

// ---- Lanternseek: a table, single-quoted links, numbered pages relative to the site ----
Response Lanternseek(const Request &r) {
    QueryWords q = ReadQuery(r.param("s"));
    int page = PageOf(r, "p");
    const int pages = q.endless ? page + 1 : 4;
    auto hits = PageHits("Lanternseek", "lantern", 3, q, page, pages);
    std::string b = Header("Lanternseek", q);
    if (hits.empty()) return Response::Html(b + "<p>Sorry, nothing matched.</p></body></html>\n");
    b += "<table class=\"hits\" width=\"100%\">\n";
    int n = (page - 1) * kPerPage;
    for (const Hit &h : hits)
        b += "<tr><td class=\"n\">" + std::to_string(++n) + ".</td><td><a href='" + h.url +
             "'><font color=\"#003399\">" + h.title + "</font></a><br>" + h.text + "</td></tr>\n";
    b += "</table>\n<p class=\"more\">Result pages:";
    for (int p = 1; p <= pages; ++p)
        b += p == page ? " " + std::to_string(p) : " <a href='" + PageLink(r, "p", p) + "'>[" + std::to_string(p) + "]</a>";
    b += "</p>\n</body></html>\n";
    return Response::Html(b);
}

// ---- Bramblehunt: upper-case markup, click-through links, the real address shown apart ----
std::string UrlEncode(const std::string &s) {
    static const char hex[] = "0123456789ABCDEF";
    std::string out;
    for (unsigned char c : s) {
        if (std::isalnum(c) || c == '-' || c == '.' || c == '_' || c == '~') out += char(c);
        else {
            out += '%';
            out += hex[c >> 4];
            out += hex[c & 15];
        }
    }
    return out;
}

Response Bramblehunt(const Request &r) {
    if (r.path == "/click") {
        std::string to = r.param("u");
        if (to.empty()) return Response::NotFound();
        return Response::Redirect(to, 302);
    }
    QueryWords q = ReadQuery(r.param("query"));
    int page = PageOf(r, "from", true);
    const int pages = q.endless ? page + 1 : 3;
    auto hits = PageHits("Bramblehunt", "bramble", 5, q, page, pages);
    std::string b = Header("Bramblehunt", q);
    if (hits.empty()) return Response::Html(b + "<H2>No matches.</H2></BODY></HTML>\n");
    b += "<H2>Bramblehunt results</H2>\n<DL>\n";
    int n = (page - 1) * kPerPage;
    for (const Hit &h : hits) {
        ++n;
        b += "<DT><A HREF=\"/click?id=" + std::to_string(n) + "&amp;u=" + UrlEncode(h.url) + "\">" + h.title +
             "</A></DT>\r\n<DD>" + h.text + "\r\n<BR><SPAN CLASS=\"url\">" + h.url + "</SPAN></DD>\r\n";
    }
    b += "</DL>\n<CENTER>";
    if (page > 1) b += "<A HREF=\"" + PageLink(r, "from", page - 1, 1, true) + "\">&lt;&lt; Previous</A> ";
    if (page < pages) b += "<A CLASS=\"next\" HREF=\"" + PageLink(r, "from", page + 1, 1, true) + "\">Next &gt;&gt;</A>";
    b += "</CENTER>\n</BODY></HTML>\n";
    return Response::Html(b);
}

// ---- Quarrysearch: blocks with parts to skip (rank, attributes), offsets as page numbers ----
Response Quarrysearch(const Request &r) {
    QueryWords q = ReadQuery(r.param("text"));
    int page = PageOf(r, "start", true);
    const int pages = q.endless ? page + 1 : 4;
    auto hits = PageHits("Quarrysearch", "quarry", 7, q, page, pages);
    std::string b = Header("Quarrysearch", q);
    b += "<div id=\"head\"><form action=\"/q\"><input type=\"text\" name=\"text\" value=\"" + q.text + "\"></form></div>\n";
    if (hits.empty()) return Response::Html(b + "<div id=\"main\"><p>Your search did not match anything.</p></div></body></html>\n");
    b += "<div id=\"main\">\n";
    int n = (page - 1) * kPerPage;
    for (const Hit &h : hits)
        b += "<div class=\"hit\"><span class=\"rank\">" + std::to_string(++n) + "</span>\n  <h3><a href=\"" + h.url +
             "\" target=\"_blank\">" + h.title + "</a></h3>\n  <div class=\"snippet\">" + h.text +
             "</div>\n  <cite>" + h.url.substr(7) + "</cite></div>\n";
    b += "<!-- main --></div>\n<div id=\"nav\">";
    for (int p = 1; p <= pages; ++p)
        b += p == page ? "<span>" + std::to_string(p) + "</span> " : "<a href=\"" + PageLink(r, "start", p, 1, true) + "\">" + std::to_string(p) + "</a> ";
    b += "</div>\n</body></html>\n";
    return Response::Html(b);
}

// ---- Mossindex: plain paragraphs, a "More results" link ----
Response Mossindex(const Request &r) {
    QueryWords q = ReadQuery(r.param("k"));
    int page = PageOf(r, "pg");
    const int pages = q.endless ? page + 1 : 3;
    auto hits = PageHits("Mossindex", "moss", 9, q, page, pages);
    std::string b = Header("Mossindex", q);
    b += "<p>Mossindex &quot;" + q.text + "&quot;</p>\n<!-- results -->\n";
    int n = (page - 1) * kPerPage;
    for (const Hit &h : hits) {
        ++n;
        b += "<p><b>" + std::to_string(n) + ".</b> <a href=\"" + h.url + "\">" + h.title + "</a> - <i>" + h.text +
             "</i><br>\n<small>" + h.url + " - " + std::to_string(4 + n % 20) + "k</small></p>\n";
    }
    if (hits.empty()) b += "<p>No documents found.</p>\n";
    b += "<!-- /results -->\n";
    if (!hits.empty() && page < pages)
        b += "<p align=center><a href=\"" + PageLink(r, "pg", page + 1) + "\">More results &gt;&gt;</a></p>\n";
    b += "</body></html>\n";
    return Response::Html(b);
}

Handler Service(const std::string &name, const std::string &searchPath, Response (*serve)(const Request &)) {
    return [name, searchPath, serve](const Request &r) -> std::optional<Response> {
        if (r.path == "/" || r.path == "/index.html")
            return Response::Html("<html><head><title>" + name + "</title></head><body><h1>" + name +
                                  "</h1><form action=\"" + searchPath + "\"></form></body></html>\n");
        if (r.path == searchPath || (name == "Bramblehunt" && r.path == "/click")) return serve(r);
        return std::nullopt;
    };
}

}  // namespace

void RegisterTemplateEngines(Registry &registry) {
    registry.add("owlfind", Service("Owlfind", "/search", Owlfind));
    registry.add("lanternseek", Service("Lanternseek", "/find", Lanternseek));
    registry.add("bramblehunt", Service("Bramblehunt", "/hunt", Bramblehunt));
    registry.add("quarrysearch", Service("Quarrysearch", "/q", Quarrysearch));
    registry.add("mossindex", Service("Mossindex", "/cgi-bin/moss", Mossindex));
}

}  // namespace qm::fakeweb::services
