// The two MP3 file-search sites:
//
//   KaZaA ("mp3-kazaa")    /search.php?search_type=simple&page=search&query=QUERY&type=music   one page
//   AVFind ("mp3-avfind")  /cgi-bin/search.cgi?keywords=QUERY&id=AVFIND&db=none[&page=N]       pages 1 to 3
//                          /cgi-bin/download.cgi?file=ID                                       a file
//
// Each word of the query (three at most) has its own songs, so queries that share a word
// share songs. KaZaA: a "javascript" link and a case variant of a listed address. AVFind:
// sizes of 0.7 MB and "n/a" (not listed) and the first song again on every further page.
// A query holding "nothing" finds nothing; "fail500" makes KaZaA answer 500.
#include "fakeweb/Service.h"

#include <cctype>

namespace qm::fakeweb::services {

namespace {

std::string Enc(const std::string &text) { return FormEncode(text); }

std::vector<std::string> Words(const std::string &query) {
    std::vector<std::string> words;
    std::string w;
    for (char c : query + " ") {
        if (c == ' ' || c == '+') {
            if (!w.empty() && words.size() < 3) words.push_back(w);
            w.clear();
        } else if (std::isalnum((unsigned char)c)) {
            w += char(std::tolower((unsigned char)c));
        }
    }
    if (query.find("nothing") != std::string::npos) words.clear();
    return words;
}

std::string Title(const std::string &word, int n) {
    std::string t = word;
    if (!t.empty()) t[0] = char(std::toupper((unsigned char)t[0]));
    return t + " song " + std::to_string(n + 1);
}

std::optional<Response> Kazaa(const Request &r) {
    if (r.path != "/search.php") return std::nullopt;
    const std::string q = r.param("query");
    if (q.find("fail500") != std::string::npos) return Response::Html("<html>busy</html>", 500);
    std::string body = "<html><body><table>\n";
    auto record = [&](const std::string &link, const std::string &title, const std::string &word, int n) {
        body += "<tr><td class=rt><a href=\"" + link + "\" class=x><font class=vbig>" + title +
                "</a></td><td class=vbig>" + word + " by the " + word + " band</td><td class=vbig>128 kbps</td>"
                "<td class=vbig>" + std::to_string(2 + n) + "." + std::to_string(n % 10) + " MB</td></tr>\n";
    };
    for (const auto &w : Words(q)) {
        for (int n = 0; n < 4; ++n) {
            record("http://files.kazaa.example/" + w + "-" + std::to_string(n) + ".mp3", Title(w, n), w, n);
            if (n == 1) record("JavaScript:play('" + w + "')", "Play " + w, w, n);
        }
        record("HTTP://FILES.KAZAA.EXAMPLE/" + w + "-0.MP3", Title(w, 0) + " again", w, 0);
    }
    return Response::Html(body + "</table></body></html>\n");
}

std::optional<Response> AvFind(const Request &r) {
    const std::string home = "http://" + r.host;
    if (r.path == "/cgi-bin/download.cgi")
        return Response::Html("<html><body><h1>File " + Enc(r.param("file")) + "</h1></body></html>\n");
    if (r.path != "/cgi-bin/search.cgi") return std::nullopt;
    const std::string q = r.param("keywords");
    const int page = int(r.number("page", 1)) - 1;
    const auto words = page >= 0 && page < 3 ? Words(q) : std::vector<std::string>();
    std::string body = "<html><body><p><b>Found " + std::to_string(words.size() * 4) + " files in 0.2</b> seconds</p>\n"
                       "<p><b>Page</b> ";
    for (int p = 0; p < 3; ++p)
        if (p != page)
            body += "<a href=\"search.cgi?keywords=" + Enc(q) + "&id=AVFIND&db=none&page=" + std::to_string(p + 1) +
                    "\">" + std::to_string(p + 1) + "</a> ";
    body += "</p>\n<ul>\n";
    auto record = [&](const std::string &w, int n, const std::string &size) {
        body += "<li><a href=\"" + home + "/cgi-bin/download.cgi?file=" + w + "-" + std::to_string(n) + "\">" +
                Title(w, n) + ".mp3</a> <b>Reliability:</b> " + std::to_string(60 + n) +
                "%<font size=1> fast</font> <b>Size:</b> " + size + " MB&nbsp;</li>\n";
    };
    for (const auto &w : words) {
        if (page > 0) record(w, 0, "3.1");  // the first song again
        for (int k = 0; k < 4; ++k) {
            const int n = page * 4 + k;
            record(w, n, k == 1 ? "0.7" : k == 2 && page == 0 ? "n/a" : std::to_string(1 + n) + ".5");
        }
    }
    return Response::Html(body + "</ul></body></html>\n");
}

}  // namespace

void RegisterMp3(Registry &registry) {
    registry.add("mp3-kazaa", Kazaa);
    registry.add("mp3-avfind", AvFind);
}

}  // namespace qm::fakeweb::services
