// The two software directories and the C|NET detail pages.
//
// C|NET ("software-cnet"):
//   /search/redirector/1,10207,0-0,00.html?qt=QUERY&...   first result page
//   /downloads/0,10151,0-0-N.html?qt=QUERY&pg=N&           result pages 2 to 4
//   /downloads/0-ID.html?tag=srch                          a title's detail page
// TuCows ("software-tucows"):
//   /perl/tucowsSearch?word=QUERY&...[&page=N]             result pages 1 to 4
//   /files/ID.html                                         a title's page
//
// Five titles per page named after the query. Decoys: a C|NET rating without "%", a name
// already listed (C|NET's first title again on every further page, TuCows likewise), a TuCows
// page link to another host. Detail pages: ID ending in 0 has no "opinions" at all, ID ending
// in 3 has no download link, the others have every link. A query holding "fail500" makes
// C|NET answer 500 and one holding "failnever" makes it never answer; TuCows answers always.
#include "fakeweb/Service.h"

#include <cctype>

namespace qm::fakeweb::services {

namespace {

std::string Enc(const std::string &text) { return FormEncode(text); }

std::string Plain(const std::string &text) {
    std::string out;
    for (char c : text)
        if (c != '<' && c != '>' && c != '"' && c != '&') out += c;
    return out;
}

// The query's words without the quotes and the joining words of the search modes.
std::string Words(const std::string &q) {
    std::string out, word;
    auto flush = [&] {
        if (!word.empty() && word != "AND" && word != "OR") out += (out.empty() ? "" : " ") + word;
        word.clear();
    };
    for (char c : Plain(q)) {
        if (c == ' ' || c == '+' || c == '\'' || c == '%') flush();
        else word += c;
    }
    flush();
    return out.empty() ? "Tool" : out;
}

constexpr int kPages = 4, kPerPage = 5;

std::string CnetPage(const Request &r, int page) {
    const std::string q = r.param("qt"), qe = Enc(q), w = Words(q);
    std::string body = "<html><head><title>CNET Downloads: " + w + "</title></head><body>\n<p>Pages: ";
    for (int p = 1; p <= kPages; ++p)
        if (p != page)
            body += "<a href=/downloads/0,10151,0-0-" + std::to_string(p) + ".html?qt=" + qe + "&pg=" +
                    std::to_string(p) + "&>" + std::to_string(p) + "</a> ";
    body += "</p>\n<table>\n";
    for (int i = 0; i < kPerPage; ++i) {
        const int n = (page - 1) * kPerPage + i;
        const int id = (i == 0 && page > 1) ? 0 : n;  // the first title again
        const std::string rating = id % 4 == 2 ? "n/a" : std::to_string(60 + id % 40) + "%";
        body += "<tr><td class=\"f\"><a href=\"/downloads/0-" + std::to_string(1000 + id) + ".html?tag=srch\">" + w +
                " Studio " + std::to_string(id + 1) + "</a><br><span class=\"d\">A " + w + " program, release " +
                std::to_string(id) + " &amp; friends</span></td>\n<td class=\"t\">" +
                (id % 2 ? "Shareware" : "Freeware") + "</td><td><span class=\"st\">****</span></td>\n" +
                "<td><a href=\"/rate?id=" + std::to_string(id) + "\">" + rating + "</a></td>\n" +
                "<td><span class=\"n\">1" + std::to_string(id) + ",234</span></td><td class=\"s\">" +
                std::to_string(100 + id) + "K</td></tr>\n";
    }
    return body + "</table></body></html>\n";
}

std::string CnetDetail(const Request &r, int id) {
    const std::string host = "http://" + r.host;
    std::string body = "<html><head><title>Title " + std::to_string(id) + "</title></head><body>\n";
    if (id % 10 != 3)
        body += "<div class=dlhtmlbasic><a href=/downloads/get/" + std::to_string(id) + ".exe>Download now</a></div>\n";
    body += "<p><a href=\"/related\">Related sites</a> <a href=\"/author/" + std::to_string(id) +
            "\">Author</a></p>\n";
    if (id % 10 != 0)
        body += "<p><a href=\"/specs\">Specs</a> <a href=\"/opinions/" + std::to_string(id) +
                "\">read user opinions</a></p>\n";
    body += "<form><b>Description<br>Publisher's description<br>Title " + std::to_string(id) +
            " does everything &amp; more.</font></form></body></html>\n";
    (void)host;
    return body;
}

std::string TuCowsPage(const Request &r, int page) {
    const std::string q = r.param("word"), qe = Enc(q), w = Words(q), self = "http://" + r.host;
    std::string body = "<html><head><title>TuCows: " + w + "</title></head><body>\n<p>";
    for (int p = 1; p <= kPages; ++p)
        if (p != page)
            body += "<a href=\"" + self + "/perl/tucowsSearch?word=" + qe + "&page=" + std::to_string(p) + "\">" +
                    std::to_string(p) + "</a> ";
    body += "<a href=\"http://mirror.tucows-mirror.example/perl/tucowsSearch?word=" + qe + "&page=9\">mirror</a></p>\n";
    for (int i = 0; i < kPerPage; ++i) {
        const int n = (page - 1) * kPerPage + i;
        const int id = (i == 0 && page > 1) ? 0 : n;
        const long long bytes = id == 1 ? 1023 : 2048000LL + id;
        body += "<a name=\"t" + std::to_string(id) + "\"></a><a href=\"" + self + "/files/" + std::to_string(id) +
                ".html/\"><b>" + w + " Cow " + std::to_string(id + 1) + "</b></a>\n<ul><li><b>Platform:</b> Windows " +
                std::to_string(95 + id % 3) + "<li><b>Version Number:</b> " + std::to_string(id % 5) + ".1" +
                "<li><b>License:</b> Freeware<li><b>File size:</b> " + std::to_string(bytes) +
                "<li><b>Home page:</b> <a href=\"http://author" + std::to_string(id) + ".example/\">http://author" +
                std::to_string(id) + ".example/</a><li><b>Description:</b> Milks " + w + " fast<br>" +
                "<img src=\"/cows/" + std::to_string(1 + id % 5) + ".gif\" alt=\"" + std::to_string(1 + id % 5) +
                " cows\"></ul>\n";
    }
    return body + "</body></html>\n";
}

std::optional<Response> Trouble(const std::string &q) {
    if (q.find("fail500") != std::string::npos) return Response::Html("<html>busy</html>", 500);
    if (q.find("failnever") != std::string::npos) {
        Response s;
        s.silent = true;
        return s;
    }
    return std::nullopt;
}

}  // namespace

void RegisterSoftware(Registry &registry) {
    registry.add("software-cnet", [](const Request &r) -> std::optional<Response> {
        if (r.path == "/search/redirector/1,10207,0-0,00.html") {
            if (auto t = Trouble(r.param("qt"))) return t;
            return Response::Html(CnetPage(r, 1));
        }
        const std::string pages = "/downloads/0,10151,0-0-";
        if (r.path.rfind(pages, 0) == 0) return Response::Html(CnetPage(r, std::atoi(r.path.c_str() + pages.size())));
        if (r.path.rfind("/downloads/0-", 0) == 0 && r.path.find(".list.") == std::string::npos)
            return Response::Html(CnetDetail(r, std::atoi(r.path.c_str() + 13) - 1000));
        if (r.path.rfind("/downloads/get/", 0) == 0 || r.path.rfind("/author/", 0) == 0 ||
            r.path.rfind("/opinions/", 0) == 0)
            return Response::Html("<html><body>" + Plain(r.path) + "</body></html>\n");
        return std::nullopt;
    });
    registry.add("software-tucows", [](const Request &r) -> std::optional<Response> {
        if (r.path == "/perl/tucowsSearch") return Response::Html(TuCowsPage(r, int(r.number("page", 1))));
        if (r.path.rfind("/files/", 0) == 0) return Response::Html("<html><body>" + Plain(r.path) + "</body></html>\n");
        return std::nullopt;
    });
}

}  // namespace qm::fakeweb::services
