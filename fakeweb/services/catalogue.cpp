// The software catalogue's listing pages ("software-catalogue", the same host as C|NET's
// search, whose service answers the detail pages /downloads/0-ID.html).
//
//   /downloads/3-CID,SID-0.html?tag=dir|mp       first page of a sub-category
//   /downloads/0,CID,SID-0-N.html?tag=dir&pg=N&   ordinary further pages (N = 2, 3)
//   /downloads/0-CID-SID.list.next-N.html         "most popular" further pages (N = 2, 3)
//
// Titles are named after the sub-category number, so every sub-category lists its own.
// Decoys: the first title again on every further page, ratings without "%", entries after
// the link that ends a "most popular" list, a "Buy" landmark seen twice. SID ending in 99
// gives no title at all (no table has that many sub-categories; tests use the page directly).
#include "fakeweb/Service.h"

#include <cstdlib>
#include <string>

namespace qm::fakeweb::services {

namespace {

constexpr int kPages = 3, kPerPage = 4;

int TitleId(int sid, int page, int i) {
    const int n = (i == 0 && page > 1) ? 0 : (page - 1) * kPerPage + i;  // the first title again
    return 1000 + (sid - 10000) * 20 + n;
}

std::string Name(int sid, int page, int i) {
    const int n = (i == 0 && page > 1) ? 0 : (page - 1) * kPerPage + i;
    return "Catalogue " + std::to_string(sid) + " title " + std::to_string(n + 1);
}

std::string Ordinary(int cid, int sid, int page) {
    std::string body = "<html><head><title>Catalogue " + std::to_string(sid) + "</title></head><body>\n<p>";
    for (int p = 2; p <= kPages; ++p)
        if (p != page)
            body += "<a href=/downloads/0," + std::to_string(cid) + "," + std::to_string(sid) + "-0-" +
                    std::to_string(p) + ".html?tag=dir&pg=" + std::to_string(p) + "&>" + std::to_string(p) + "</a> ";
    body += "</p>\n<table>\n";
    for (int i = 0; i < kPerPage; ++i) {
        const int id = TitleId(sid, page, i), k = id % 7;
        const std::string rating = k == 3 ? "n/a" : std::to_string(40 + (id * 13) % 60) + "%";
        body += "<tr><td class=\"f\"><a href=\"/downloads/0-" + std::to_string(id) + ".html?tag=dir\">" +
                Name(sid, page, i) + "</a><br><span class=\"d\">Listed in " + std::to_string(sid) +
                " &amp; more</span></td>\n<td class=\"t\">" + (k % 2 ? "Shareware" : "Freeware") +
                "</td><td><span class=\"st\">" + std::to_string(1 + k) + "/1" + std::to_string(k) +
                "/02</span></td>\n<td><a href=\"/rate?id=" + std::to_string(id) + "\">" + rating + "</a></td>\n" +
                "<td><span class=\"n\">" + std::to_string((id * 37) % 9) + "," + std::to_string(100 + k) +
                "</span></td><td class=\"s\">" + std::to_string(10 + k * 90) + "K</td></tr>\n";
    }
    return body + "</table></body></html>\n";
}

std::string Popular(int cid, int sid, int page) {
    std::string body = "<html><head><title>Most popular</title></head><body>\n<p>";
    const std::string list = "/downloads/0-" + std::to_string(cid) + "-" + std::to_string(sid) + ".list.";
    for (int p = 2; p <= kPages; ++p)
        if (p != page)
            body += "<a href=\"" + list + "next-" + std::to_string(p) + ".html\">page " + std::to_string(p) + "</a> ";
    body += "</p>\n<table><tr><th> >Buy</th></tr>\n";
    auto entry = [&](int id, const std::string &name) {
        return "<tr><td><a href=\"/downloads/0-" + std::to_string(id) + ".html?tag=mp\">" + name +
               "</a><br>Popular " + name + " does it all.-<br><b>OS:</b> Windows 9" + std::to_string(id % 3) +
               "<br><b>License:</b> " + (id % 2 ? "Shareware" : "Freeware") +
               "<br></td><td width=2>x</td><td width=2>y</td><td width=2>" + std::to_string(id % 5) + "," +
               std::to_string(200 + id % 100) + "</td></tr>\n";
    };
    for (int i = 0; i < kPerPage; ++i) body += entry(TitleId(sid, page, i), Name(sid, page, i));
    body += "<tr><td><a href=\"" + list + "prev-1.html\">previous</a> >buy<</td></tr>\n";
    body += entry(999999, "After the list");  // not a title of this list
    return body + "</table></body></html>\n";
}

}  // namespace

void RegisterCatalogue(Registry &registry) {
    registry.add("software-catalogue", [](const Request &r) -> std::optional<Response> {
        const std::string &p = r.path;
        int cid = 0, sid = 0, page = 1;
        bool popular = false;
        if (p.rfind("/downloads/3-", 0) == 0) {
            char *end = nullptr;
            cid = int(std::strtol(p.c_str() + 13, &end, 10));
            if (*end != ',') return std::nullopt;
            sid = int(std::strtol(end + 1, &end, 10));
            popular = r.param("tag") == "mp";
        } else if (p.rfind("/downloads/0,", 0) == 0 && p.find(".html") != std::string::npos) {
            char *end = nullptr;
            cid = int(std::strtol(p.c_str() + 13, &end, 10));
            if (*end != ',') return std::nullopt;
            sid = int(std::strtol(end + 1, &end, 10));
            if (std::string(end).rfind("-0-", 0) != 0) return std::nullopt;
            page = int(std::strtol(end + 3, nullptr, 10));
        } else if (p.rfind("/downloads/0-", 0) == 0 && p.find(".list.") != std::string::npos) {
            char *end = nullptr;
            cid = int(std::strtol(p.c_str() + 13, &end, 10));
            if (*end != '-') return std::nullopt;
            sid = int(std::strtol(end + 1, &end, 10));
            const size_t dash = p.rfind('-');
            page = int(std::strtol(p.c_str() + dash + 1, nullptr, 10));
            popular = true;
        } else {
            return std::nullopt;
        }
        if (cid < 2000 || sid < 10000 || page < 1 || page > kPages) return std::nullopt;
        if (sid % 100 == 99) return Response::Html("<html><body>No title here.</body></html>\n");
        return Response::Html(popular ? Popular(cid, sid, page) : Ordinary(cid, sid, page));
    });
}

}  // namespace qm::fakeweb::services
