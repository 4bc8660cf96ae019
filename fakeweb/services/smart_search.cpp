// The smart finder's web search, in Google's result-page layout:
//
//   /search?as_q=WORDS&num=20&...        the first page
//   /search?q=WORDS&start=20|40|60       further pages, linked as "<td><a href=/search?q=...>"
//
// Results depend on the query words. Every page holds eight results, half of them through
// the "/url?...&q=ADDRESS&e=N" redirector, plus candidates the program drops (a "/url?"
// link without "&e=", an ftp address); each page after the first repeats an address of
// the page before in upper case, and the first page repeats one of its own, so duplicates
// are rejected. Every page links the other pages of four.
//   a word "qmnothing"  a page without results or further pages
//   a word "qmfail"     status 503
#include "fakeweb/Service.h"

#include <algorithm>
#include <cstdint>

namespace qm::fakeweb::services {

namespace {

uint64_t Mix(std::string_view text, uint64_t seed) {
    uint64_t h = 1469598103934665603ull ^ (seed * 0x9E3779B97F4A7C15ull);
    for (unsigned char c : text) h = (h ^ c) * 1099511628211ull;
    return h ^ (h >> 31);
}

// Lower-case runs of letters and digits, joined by "+".
std::string Words(const std::string &decoded) {
    std::string out, word;
    auto flush = [&] {
        if (!word.empty()) out += (out.empty() ? "" : "+") + word;
        word.clear();
    };
    for (char c : decoded) {
        if (c >= 'A' && c <= 'Z') c = char(c + 32);
        if ((c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || static_cast<unsigned char>(c) >= 0x80) word += c;
        else flush();
    }
    flush();
    return out;
}

struct Hit {
    std::string address, title, description;
};

Hit MakeHit(const std::string &words, int n) {
    static const char *names[] = {"alder", "birch", "cedar", "dune", "ember", "fjord", "grove", "heath",
                                  "inlet", "juniper", "knoll", "larch", "meadow", "nook", "oak", "pine"};
    const uint64_t h = Mix(words, uint64_t(n));
    const std::string name = std::string(names[h % 16]) + std::to_string(h % 997);
    std::string shown = words;
    for (char &c : shown)
        if (c == '+') c = ' ';
    return {"http://www." + name + ".example/" + std::to_string(n) + ".html",
            name + " - " + shown + " <b>resources</b>",
            "Everything about " + shown + " at " + name + " &amp; friends."};
}

std::string Page(const std::string &words, int page) {
    std::string out = "<html><head><title>Google Search: " + words + "</title></head><body>\n";
    out += "<p>Searched the web for <b>" + words + "</b></p>\n";
    if (words.find("qmnothing") != std::string::npos)
        return out + "<p>Your search did not match any documents.</p></body></html>\n";
    for (int i = 0; i < 8; ++i) {
        Hit hit = MakeHit(words, page * 8 + i);
        if (page > 0 && i == 0) {  // an address of the page before, in upper case
            hit = MakeHit(words, (page - 1) * 8 + 2);
            for (char &c : hit.address)
                if (c >= 'a' && c <= 'z') c = char(c - 32);
        }
        if (page == 0 && i == 5) hit = MakeHit(words, 1);  // listed on this very page
        const std::string href = i % 2 ? "/url?sa=U&start=" + std::to_string(i) + "&q=" + hit.address + "&e=7421"
                                       : hit.address;
        out += "<p><a href=" + href + ">" + hit.title + "</a><br>" + hit.description +
               "<font color=green> - " + hit.address.substr(7) + "</font></p>\n";
        if (i == 3) {
            out += "<p><a href=/url?sa=U&q=http://www.noend.example/>No end marker</a><br>dropped<font></p>\n";
            out += "<p><a href=ftp://ftp.files.example/>Files</a><br>not a web address<font></p>\n";
        }
    }
    out += "<table><tr>";
    for (int p = 0; p < 4; ++p)
        if (p != page) out += "<td><a href=/search?q=" + words + "&start=" + std::to_string(p * 20) + ">" +
                              std::to_string(p + 1) + "</a></td>";
    return out + "</tr></table></body></html>\n";
}

}  // namespace

void RegisterSmartSearch(Registry &registry) {
    registry.add("smart-search", [](const Request &r) -> std::optional<Response> {
        if (r.path != "/search") return std::nullopt;
        const std::string words = Words(r.hasParam("as_q") ? r.param("as_q") : r.param("q"));
        if (words.find("qmfail") != std::string::npos) return Response::Html("unavailable", 503);
        const int page = int(std::min<long long>(3, std::max<long long>(0, r.number("start", 0) / 20)));
        return Response::Html(Page(words, page));
    });
}

}  // namespace qm::fakeweb::services
