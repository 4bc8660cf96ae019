// The two route planners. Each answers its request address with a plan made from the
// request: the places choose the towns on the way, the roads and the distances, so that
// different places give different plans, the same places asked the other way round give
// the reverse route, and (US) "short" and "easy" give different roads. A place that cannot
// be read ("[CITY1]" left in the address, an empty town and postal code) gets an
// "unknown address" page without any step.
//
//   US  /directions.asp?OAD2=&OAD3=&DAD2=&DAD3=&showmap=1&PCT=short|easy
//   EU  /cgi-bin/geo/isroad.exe?Depart_Ville=&Depart_Code_Postal=&Depart_Pays=&Arrivee_...
#include "fakeweb/Service.h"
#include "toolkit/Misc.h"

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

namespace qm::fakeweb::services {

namespace {

uint64_t Hash(std::string_view text) {
    uint64_t h = 1469598103934665603ull;
    for (unsigned char c : text) h = (h ^ c) * 1099511628211ull;
    return h;
}

// Spreads the bits of a hash (splitmix64's finaliser).
uint64_t Mix(uint64_t x) {
    x += 0x9e3779b97f4a7c15ull;
    x = (x ^ (x >> 30)) * 0xbf58476d1ce4e5b9ull;
    x = (x ^ (x >> 27)) * 0x94d049bb133111ebull;
    return x ^ (x >> 31);
}

std::string Lower(std::string s) {
    for (char &c : s)
        if (c >= 'A' && c <= 'Z') c = char(c - 'A' + 'a');
    return s;
}

std::string Tenths(int tenths) {
    char buf[32];
    std::snprintf(buf, sizeof buf, "%d.%d", tenths / 10, tenths % 10);
    return buf;
}

struct Leg {
    std::string road, from, to;
    int tenths;
};

// The legs between two places (named as shown), in the order asked. The plan is made for the
// pair in a fixed order and reversed when asked the other way round.
std::vector<Leg> Plan(const std::string &fromKey, const std::string &toKey, const std::string &fromName,
                      const std::string &toName, const std::string &kind, const std::vector<const char *> &roads,
                      const std::vector<const char *> &towns, int minLegs, int spread) {
    const bool reversed = toKey < fromKey;
    const std::string &a = reversed ? toName : fromName, &b = reversed ? fromName : toName;
    uint64_t h = Hash((reversed ? toKey : fromKey) + "|" + (reversed ? fromKey : toKey) + "|" + kind);
    const int legs = minLegs + int(Mix(h) % uint64_t(spread));
    std::vector<std::string> stops{a};
    for (int i = 1; i < legs; ++i) {
        // A town on the way, never the one just left.
        std::string town = towns[Mix(h + uint64_t(i)) % towns.size()];
        if (town == stops.back()) town = towns[(Mix(h + uint64_t(i)) + 1) % towns.size()];
        stops.push_back(town);
    }
    stops.push_back(b);
    std::vector<Leg> plan;
    for (int i = 0; i < legs; ++i) {
        uint64_t g = Mix(h ^ (uint64_t(i + 1) << 32));
        plan.push_back({roads[g % roads.size()], stops[size_t(i)], stops[size_t(i) + 1], 12 + int((g >> 8) % 900)});
    }
    if (reversed) {
        std::reverse(plan.begin(), plan.end());
        for (auto &l : plan) std::swap(l.from, l.to);
    }
    return plan;
}

std::string UsPlaceName(const std::string &address, const std::string &city) {
    return address.empty() ? city : address + ", " + city;
}

Response UsAnswer(const Request &r) {
    const std::string adr1 = r.param("OAD2"), city1 = r.param("OAD3"), adr2 = r.param("DAD2"),
                      city2 = r.param("DAD3"), kind = r.param("PCT");
    auto unreadable = [](const std::string &city) { return city.empty() || city.find('[') != std::string::npos; };
    if (unreadable(city1) || unreadable(city2))
        return Response::Html("<html><head><title>Driving directions</title></head><body>\n"
                              "<p><b>We could not find one of the addresses you entered.</b></p>\n"
                              "<p>Please check the city and state, or give a ZIP code.</p>\n</body></html>\n");
    static const std::vector<const char *> shortRoads{"I-90", "I-95", "I-84", "I-87", "I-91", "I-80", "I-495"};
    static const std::vector<const char *> easyRoads{"US-1", "US-20", "Route 9", "Route 2", "US-6", "Route 7"};
    static const std::vector<const char *> towns{"Worcester", "Springfield", "Hartford", "New Haven", "Albany",
                                                 "Providence", "Stamford", "Danbury", "Pittsfield", "Waterbury"};
    const bool fastest = kind == "short";
    auto plan = Plan(Lower(adr1 + "|" + city1), Lower(adr2 + "|" + city2), UsPlaceName(adr1, city1),
                     UsPlaceName(adr2, city2), fastest ? "short" : "easy", fastest ? shortRoads : easyRoads, towns,
                     fastest ? 3 : 5, fastest ? 3 : 4);
    std::string body = "<html><head><title>Driving directions</title></head><body>\n<p><b>From:</b> " +
                       qm::HtmlEscape(UsPlaceName(adr1, city1)) + "<br>\n<b>To:</b> " + qm::HtmlEscape(UsPlaceName(adr2, city2)) +
                       "</p>\n<table border=\"0\" cellpadding=\"2\">\n"
                       "<tr><th align=\"left\"><b>Directions</b></th><th align=\"right\"><b>Distance</b></th></tr>\n";
    int total = 0, n = 0;
    for (const auto &l : plan) {
        total += l.tenths;
        body += "<tr><td valign=\"top\"><font face=\"arial\" size=\"2\"><b>" + std::to_string(++n) +
                ":</b> Take <b>" + l.road + "</b> from " + qm::HtmlEscape(l.from) + "\ntoward " + qm::HtmlEscape(l.to) +
                "</font></td>\n<td align=\"right\" valign=\"top\"><font face=\"arial\" size=\"2\">" +
                Tenths(l.tenths) + " miles</font></td></tr>\n";
    }
    body += "</table>\n<p>Total distance " + Tenths(total) + " miles</p>\n</body></html>\n";
    return Response::Html(body);
}

std::string EuPlaceName(const std::string &town, const std::string &code) {
    return town.empty() ? code : town;
}

Response EuAnswer(const Request &r) {
    const std::string v1 = r.param("Depart_Ville"), c1 = r.param("Depart_Code_Postal"), p1 = r.param("Depart_Pays"),
                      v2 = r.param("Arrivee_Ville"), c2 = r.param("Arrivee_Code_Postal"), p2 = r.param("Arrivee_Pays");
    auto unreadable = [](const std::string &town, const std::string &code) {
        return (town.empty() && code.empty()) || town.find('[') != std::string::npos;
    };
    if (unreadable(v1, c1) || unreadable(v2, c2))
        return Response::Html("<html><head><title>Itin&eacute;raire</title></head><body>\n"
                              "<p><b>Localit&eacute; inconnue.</b> V&eacute;rifiez la ville ou le code postal.</p>\n"
                              "</body></html>\n");
    static const std::vector<const char *> roads{"A6", "A7", "N7", "A31", "E15", "D906", "A40", "N20"};
    static const std::vector<const char *> towns{"Auxerre", "Beaune", "M&acirc;con", "Dijon", "Chalon-sur-Sa&ocirc;ne",
                                                 "Avallon", "Nevers", "Bourg-en-Bresse"};
    auto plan = Plan(Lower(v1 + "|" + c1 + "|" + p1), Lower(v2 + "|" + c2 + "|" + p2), qm::HtmlEscape(EuPlaceName(v1, c1)),
                     qm::HtmlEscape(EuPlaceName(v2, c2)), "", roads, towns, 3, 4);
    std::string body = "<html><head><title>Itin&eacute;raire</title></head><body>\n<table border=0>\n"
                       "<tr><th>D&eacute;but action / distance</th><th>km</th></tr>\n";
    int total = 0;
    for (const auto &l : plan) {
        total += l.tenths;
        body += "<tr><td><!-- D&eacute;but action / distance --><b>Quitter " + l.from + "&nbsp;par la " + l.road +
                "<BR>direction " + l.to + "</b><!-- fin action --></td>\n<td align=right nowrap>" + Tenths(l.tenths) +
                "</td></tr>\n";
    }
    body += "</table>\n<p>Distance totale : " + Tenths(total) + " km</p>\n</body></html>\n";
    return Response::Html(body);
}

}  // namespace

void RegisterRoad(Registry &registry) {
    registry.add("road-us", [](const Request &r) -> std::optional<Response> {
        if (r.path == "/directions.asp") return UsAnswer(r);
        if (r.path == "/") return Response::Html("<html><body><h1>LycosTravel road plans</h1></body></html>");
        return std::nullopt;
    });
    registry.add("road-eu", [](const Request &r) -> std::optional<Response> {
        if (r.path == "/cgi-bin/geo/isroad.exe") return EuAnswer(r);
        if (r.path == "/") return Response::Html("<html><body><h1>ItiRoute Europe</h1></body></html>");
        return std::nullopt;
    });
}

}  // namespace qm::fakeweb::services
