// The affiliate network of the sponsored engines. The serve address answers a small banner
// page. A click address leads, through two redirections that set cookies, to the engine's
// first result page:
//
//   /bfast/click?...&search=Q (Netscape) | &Keywords=Q (GOTO) | &QKW=Q (InfoSpace)
//     302, Set-Cookie bfsite=<siteid>, bfmid=<mid>  ->  /bfast/track?e=<engine>&s=<siteid>&q=Q
//     302, Set-Cookie bfsite=<siteid> again, bftrack=1  ->  the engine's result page
//
// The query travels as it stood in the click address (already encoded).
// "/bfast/serve?...&fail=N" and "/bfast/click?...&fail=N" answer status N instead.
#include "fakeweb/Service.h"
#include "fakeweb/services/web_engines.h"

namespace qm::fakeweb::services {

namespace {

// The value of a query key as it stands in the target (not decoded).
std::string RawParam(const Request &r, std::string_view key) {
    size_t pos = 0;
    const std::string &q = r.query;
    while (pos <= q.size()) {
        size_t end = q.find('&', pos);
        if (end == std::string::npos) end = q.size();
        std::string_view part(q.data() + pos, end - pos);
        if (part.size() > key.size() && part.substr(0, key.size()) == key && part[key.size()] == '=')
            return std::string(part.substr(key.size() + 1));
        pos = end + 1;
    }
    return {};
}

std::optional<Response> Failure(const Request &r) {
    if (!r.hasParam("fail")) return std::nullopt;
    int status = int(r.number("fail", 500));
    return Response::Html("failure", status < 100 || status > 999 ? 500 : status);
}

}  // namespace

void RegisterAffiliate(Registry &registry) {
    registry.add("affiliate", [](const Request &r) -> std::optional<Response> {
        if (r.path == "/bfast/serve") {
            if (auto f = Failure(r)) return f;
            return Response::Html("<html><body><a href=\"/bfast/click\"><img src=\"/banner.gif\"></a></body></html>")
                .with("Set-Cookie", "bfserve=1; path=/");
        }
        if (r.path == "/bfast/click") {
            if (auto f = Failure(r)) return f;
            std::string engine, query;
            if (r.hasParam("search")) engine = "netscape", query = RawParam(r, "search");
            else if (r.hasParam("Keywords")) engine = "goto", query = RawParam(r, "Keywords");
            else if (r.hasParam("QKW")) engine = "infospace", query = RawParam(r, "QKW");
            else return Response::Html("unknown partner page", 404);
            std::string site = r.hasParam("siteid") ? r.param("siteid") : r.param("bfsiteid");
            return Response::Redirect("/bfast/track?e=" + engine + "&s=" + site + "&q=" + query)
                .with("Set-Cookie", "bfsite=" + site + "; path=/")
                .with("Set-Cookie", "bfmid=" + r.param("bfmid") + "; path=/");
        }
        if (r.path == "/bfast/track") {
            std::string landing = SponsoredLandingAddress(r.param("e"), RawParam(r, "q"));
            if (landing.empty()) return Response::Html("unknown engine", 404);
            return Response::Redirect(landing)
                .with("Set-Cookie", "bfsite=" + r.param("s") + "; path=/")  // the same cookie once more
                .with("Set-Cookie", "bftrack=1; path=/");
        }
        return std::nullopt;
    });
}

}  // namespace qm::fakeweb::services
