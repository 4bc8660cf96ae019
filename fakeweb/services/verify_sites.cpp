// The verification's test sites (see verify_sites.h).
#include "fakeweb/services/verify_sites.h"

#include "fakeweb/Service.h"
#include "net/ServiceHosts.h"

#include <map>
#include <mutex>

namespace qm::fakeweb {

namespace {

std::mutex hitsMutex;
std::map<std::string, int> hits;

void Count(const std::string &path) {
    std::lock_guard lock(hitsMutex);
    ++hits[path];
}

// Each answer closes its connection: a checked site is asked once, and an idle kept-alive
// connection would hold the server's stop until its keep-alive time-out.
Response Page(const char *title, int status) {
    Response r = Response::Html(std::string("<html><head><title>") + title + "</title></head><body>" + title +
                                    "</body></html>",
                                status);
    r.with("Connection", "close");
    return r;
}

}  // namespace

int VerifySiteHits(const std::string &path) {
    std::lock_guard lock(hitsMutex);
    auto it = hits.find(path);
    return it == hits.end() ? 0 : it->second;
}

void ResetVerifySiteHits() {
    std::lock_guard lock(hitsMutex);
    hits.clear();
}

std::string VerifyRefuseRoute(int closedPort) {
    return ServiceHostFor("verify-refuse") + "::127.0.0.1:" + std::to_string(closedPort);
}

namespace services {

void RegisterVerifySites(Registry &registry) {
    registry.add("verify-sites", [](const Request &request) -> std::optional<Response> {
        const std::string &p = request.path;
        if (p == "/ok") return Count(p), Page("Still open", 200);
        if (p == "/missing") return Count(p), Page("Not found", 404);
        if (p == "/bad-request") return Count(p), Page("Bad request", 400);
        if (p == "/server-error") return Count(p), Page("Server error", 500);
        if (p == "/moved") return Count(p), Response::Redirect("/ok", 301).with("Connection", "close");
        if (p == "/slow") {
            Count(p);
            Response r = Page("Slow", 200);
            r.delayMs = 3000;
            return r;
        }
        if (p == "/never") {
            Count(p);
            Response r;
            r.silent = true;
            return r;
        }
        return std::nullopt;
    });
    // Reached only when the refusing host is not routed to a closed port.
    registry.add("verify-refuse", [](const Request &request) -> std::optional<Response> {
        Count("refuse:" + request.path);
        return Page("Service unavailable", 503);
    });
}

}  // namespace services

}  // namespace qm::fakeweb
