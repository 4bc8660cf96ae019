// The five forum directories:
//
//   Delphi Center ("forum-delphi")    /dir-app/search/index.asp?...&qu=QUERY[&pg=N]   pages 1 to 3
//                                     results link to "forum-delphi-boards"
//   EZBoard ("forum-ezboard")         /BBSCategory.searchOdpBoards?searchKeys=QUERY... one page
//   Yahoo groups ("forum-yahoo")      /search?query=QUERY&...[&b=N]                  pages 1 to 3
//   Topica ("forum-topica")           /search/?query=QUERY&search_type=cat[&p=N]     pages 1 to 3
//   BoardServer ("forum-boardserver") /find.html?action=search&keywords=QUERY        one page
//
// Each word of the query (three at most) has twelve forums of its own, four per page, so
// queries that share a word share forums. Decoys and edge cases: Delphi Center repeats the
// first forum on every page; Yahoo groups passes a "<b" before a record; Topica has an entry
// whose description runs into a table row; BoardServer names come with and without a
// "(count)". A query holding "nothing" finds nothing; "fail500" makes Yahoo groups answer
// 500 and "failnever" makes Topica never answer.
#include "fakeweb/Service.h"

#include <cctype>

namespace qm::fakeweb::services {

namespace {

std::string Enc(const std::string &text) { return FormEncode(text); }

std::string Plain(const std::string &text) {
    std::string out;
    for (char c : text)
        if (c != '<' && c != '>' && c != '"' && c != '&' && c != '\'') out += c;
    return out;
}

struct Item {
    std::string id, name, word;
    int n;
};

constexpr int kPages = 3, kPerWord = 4;

// The forums of one page (0-based) of a query.
std::vector<Item> Items(const std::string &query, int page) {
    std::vector<std::string> words;
    std::string w;
    for (char c : query + " ") {
        if (c == ' ' || c == '+') {
            if (!w.empty() && words.size() < 3) words.push_back(Plain(w));
            w.clear();
        } else {
            w += char(std::tolower((unsigned char)c));
        }
    }
    std::vector<Item> items;
    if (query.find("nothing") != std::string::npos || page < 0 || page >= kPages) return items;
    for (const auto &word : words)
        for (int k = 0; k < kPerWord; ++k) {
            const int n = page * kPerWord + k;
            std::string name = word;
            if (!name.empty()) name[0] = char(std::toupper((unsigned char)name[0]));
            items.push_back({Enc(word) + "-" + std::to_string(n), name + " circle " + std::to_string(n + 1), word, n});
        }
    return items;
}

std::string Head(const std::string &title) {
    return "<html><head><title>" + title + "</title></head><body>\n";
}

std::optional<Response> Delphi(const Request &r) {
    if (r.path != "/dir-app/search/index.asp") return std::nullopt;
    const std::string q = r.param("qu");
    const int page = int(r.number("pg", 1)) - 1;
    std::string body = Head("Delphi Center search") + "<p class=h>Your search on <b>" + Plain(q) + "</b></p>\n";
    const std::string self = "http://" + r.host + "/dir-app/search/index.asp?nav=search&webtag=mainconf&t=f&qu=" + Enc(q);
    if (page + 1 < kPages) body += "<p><a href=\"" + self + "&pg=" + std::to_string(page + 2) + "\" class=n>Next</a></p>\n";
    std::vector<Item> items = Items(q, page);
    if (page > 0 && !items.empty()) items.insert(items.begin(), Items(q, 0).front());
    body += "<table>\n";
    for (const auto &it : items)
        body += "<tr><td class=\"f\"><a href=\"/n/" + it.id + "\" title=x><span class=t><b>" + it.name +
                "</b></span></a></td>\n<td align=left>Talk about " + it.word + ", meeting " + std::to_string(it.n) +
                " .</td><td><a href=\"/cat/" + it.word + "\" class=\"c\">Hobbies &amp; " + it.word +
                " .</a></td></tr>\n";
    return Response::Html(body + "</table></body></html>\n");
}

std::optional<Response> Yahoo(const Request &r) {
    if (r.path != "/search") return std::nullopt;
    const std::string q = r.param("query");
    if (q.find("fail500") != std::string::npos) return Response::Html("<html>busy</html>", 500);
    const int page = int(r.number("b", 1) / 10);
    std::string body = Head("Yahoo groups search") + "<p>";
    body += page > 0 ? "<a href=\"/search?query=" + Enc(q) + "&b=" + std::to_string((page - 1) * 10 + 1) + "\">Previous</a>"
                     : std::string("Previous");
    if (page + 1 < kPages)
        body += " | <a href=\"/search?query=" + Enc(q) + "&sc=-1&sg=1&ss=1&b=" + std::to_string((page + 1) * 10 + 1) +
                "\">Next</a>";
    body += "</p>\n<table><tr><td>Group</td><td>Members</td><td>Archive</td></tr>\n";
    int i = 0;
    for (const auto &it : Items(q, page)) {
        if (i++ == 1) body += "<tr><td><b</td></tr>\n";
        body += "<tr><td><a href=\"/group/" + it.id + "\">" + it.name + " </a><br>Mailing list on " + it.word +
                "<br></td><td><b>" + std::to_string(10 + it.n * 7) + "</b></td><td><b><a href=\"/dir/" + it.word +
                "\">Recreation " + it.word + " </a></td></tr>\n";
    }
    return Response::Html(body + "</table></body></html>\n");
}

std::optional<Response> Topica(const Request &r) {
    if (r.path != "/search/") return std::nullopt;
    const std::string q = r.param("query");
    if (q.find("failnever") != std::string::npos) {
        Response s;
        s.silent = true;
        return s;
    }
    const int page = int(r.number("p", 1)) - 1;
    std::string body = Head("Topica search") + "<p>Pages: ";
    for (int p = 0; p < kPages; ++p)
        if (p != page)
            body += "<a href=\"/search/?query=" + Enc(q) + "&search_type=cat&p=" + std::to_string(p + 1) + "\">" +
                    std::to_string(p + 1) + "</a> ";
    if (page + 1 < kPages)
        body += "<a href=\"/search/?query=" + Enc(q) + "&search_type=cat&p=" + std::to_string(page + 2) +
                "\">Next &gt;</a>";
    body += "</p>\n<table><tr><td>Our partner</td></tr>\n";
    int i = 0;
    for (const auto &it : Items(q, page)) {
        body += "<tr><td class=\"t\"><a href=\"/lists/" + it.id + "\"> " + it.name + " </a><br><font size=\"1\">";
        body += i++ == 2 ? "Sponsored <tr><td>not a list" : "Newsletter about " + it.word;
        body += "</font></td></tr>\n";
    }
    return Response::Html(body + "</table></body></html>\n");
}

std::optional<Response> BoardServer(const Request &r) {
    if (r.path != "/find.html") return std::nullopt;
    const std::string q = r.param("keywords");
    std::string body = Head("BoardServer") + "<p>Search results for:<b>" + Plain(q) + "</b></p>\n<table>\n";
    for (int page = 0; page < 2; ++page)
        for (const auto &it : Items(q, page))
            body += "<tr><td><a href='boards/" + it.id + "'>" + it.name +
                    (it.n % 2 ? std::string() : " (" + std::to_string(it.n * 3 + 2) + ")") +
                    "</a></td><td><font size=1>Board for " + it.word + "<font color=gray> hosted</font></td></tr>\n";
    return Response::Html(body + "</table></body></html>\n");
}

std::optional<Response> EzBoard(const Request &r) {
    if (r.path != "/BBSCategory.searchOdpBoards") return std::nullopt;
    return Response::Html(Head("EZBoard") + "<p>Boards for " + Plain(r.param("searchKeys")) +
                          ": <a href=\"/b/1\">Board</a></p></body></html>\n");
}

std::optional<Response> DelphiBoards(const Request &r) {
    return Response::Html(Head("Forum") + "<h1>Forum " + Plain(r.path) + "</h1></body></html>\n");
}

}  // namespace

void RegisterForums(Registry &registry) {
    registry.add("forum-delphi", Delphi);
    registry.add("forum-delphi-boards", DelphiBoards);
    registry.add("forum-yahoo", Yahoo);
    registry.add("forum-topica", Topica);
    registry.add("forum-boardserver", BoardServer);
    registry.add("forum-ezboard", EzBoard);
}

}  // namespace qm::fakeweb::services
