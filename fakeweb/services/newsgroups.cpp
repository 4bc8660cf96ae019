// The newsgroup search service:
//
//   /groups?q=QUERY[&as_ugroup=GROUP]&num=30&lr=LANG[&start=N]   result pages 0, 10, 20, 30
//   /groups?hl=fr&lr=&safe=off&group=GROUP                        the newsgroup's browse page
//   /groups?q=...&selm=ID                                          an article
//
// A result page holds ten articles after "Sorted by ", the links to the other pages before it,
// and decoys: a "&seld=" page link, a link around a picture, and (from the second page on) an
// article already listed on the first. Titles carry the query words, the group shown is the
// one asked for (else one of the query's own), the description names the language asked for.
// A query holding "nothing" finds no article, one holding "fail500" is answered with status 500, one holding "failnever" never.
#include "fakeweb/Service.h"

#include <cctype>

namespace qm::fakeweb::services {

namespace {

std::string Enc(const std::string &text) { return FormEncode(text, ".*-_"); }

std::string Plain(const std::string &text) {
    std::string out;
    for (char c : text)
        if (c != '<' && c != '>' && c != '"' && c != '&') out += c;
    return out;
}

constexpr int kPages = 4, kPerPage = 10;

std::string ResultPage(const Request &r) {
    const std::string q = r.param("q"), qe = Enc(q), shown = Plain(q);
    const std::string asked = r.param("as_ugroup"), lang = r.param("lr");
    const long long start = r.number("start", 0);
    const int page = int(start / kPerPage);
    std::string body = "<html><head><title>Groups search: " + shown + "</title></head><body>\n"
                       "<table><tr><td>Result pages:</td>\n";
    for (int p = 0; p < kPages; ++p)
        if (p != page)
            body += "<td><a href=/groups?q=" + qe + "&start=" + std::to_string(p * kPerPage) + "&num=30>" +
                    std::to_string(p + 1) + "</a></td>\n";
    body += "<td><a href=/groups?q=" + qe + "&start=40&seld=932&num=30>Related</a></td></tr></table>\n";
    if (page < 0 || page >= kPages || q.find("nothing") != std::string::npos)
        return body + "<p>No more articles.</p></body></html>\n";
    body += "<p>Searched Groups for <b>" + shown + "</b>. Sorted by <b>relevance</b></p>\n";
    body += "<p><a href=/groups?q=" + qe + "&selm=picture" + std::to_string(page) +
            "><img src=/images/groups.gif alt=logo></a><br>an image<font size=-1> </font></p>\n";
    const std::string group = asked.empty() ? "alt." + (shown.empty() ? std::string("misc") : Enc(shown)) : Plain(asked);
    for (int i = 0; i < kPerPage; ++i) {
        const int n = page * kPerPage + i;
        // The second page and later repeat the first article of the search.
        const int id = (i == 0 && page > 0) ? 0 : n;
        body += "<p><a href=/groups?q=" + qe + "&selm=art" + std::to_string(id) + "%40news.example>" + shown +
                " <b>article</b> " + std::to_string(id + 1) + "</a><br>\n  Posted about " + shown +
                (lang.empty() ? std::string() : " in " + Plain(lang)) + ", reply " + std::to_string(id) +
                " &amp; more\t<font size=-1 color=green><a class=grp href=/groups?group=" + group + ">" + group +
                "</a></font></p>\n";
    }
    return body + "</body></html>\n";
}

}  // namespace

void RegisterNewsgroups(Registry &registry) {
    registry.add("news-groups", [](const Request &r) -> std::optional<Response> {
        if (r.path != "/groups") return std::nullopt;
        if (!r.hasParam("q") && r.hasParam("group")) {
            const std::string g = Plain(r.param("group"));
            return Response::Html("<html><head><title>" + g + "</title></head><body><h1>Newsgroup " + g +
                                  "</h1><ul><li>Welcome to " + g + "</li><li>FAQ of " + g +
                                  "</li></ul></body></html>\n");
        }
        const std::string q = r.param("q");
        if (r.hasParam("selm"))
            return Response::Html("<html><body><h1>Article " + Plain(r.param("selm")) + "</h1><p>About " + Plain(q) +
                                  "</p></body></html>\n");
        if (q.find("fail500") != std::string::npos) return Response::Html("<html>busy</html>", 500);
        if (q.find("failnever") != std::string::npos) {
            Response s;
            s.silent = true;
            return s;
        }
        return Response::Html(ResultPage(r));
    });
}

}  // namespace qm::fakeweb::services
