// Generic behaviours of the fake web, answered on any host that no service claims (and for
// paths a service declines). They exist for the HTTP client's tests and the benchmarks:
//
//   /status/N                      status N, body "status N"
//   /echo                          text/plain: request line, then every header line received
//   /redirect?to=URL&status=N&cookie=C...   redirect (default 302, to /echo), one Set-Cookie per C
//   /hops/N?cookie=1               N redirects in a row (relative), each setting hopN=N, then /echo
//   /cookies?set=C...              200 with one Set-Cookie per C
//   /slow?ms=N&size=S              answer after N ms
//   /trickle?pieces=N&ms=M&size=S  body in N pieces, M ms apart
//   /silent                        never answers
//   /drop?size=N&after=M           announces N bytes, sends M, closes the connection
//   /bytes?size=N&seed=S&chunked=1&encoding=gzip|deflate&piece=K   PatternBytes body
//   /page?n=K&size=S               small HTML page number K (benchmarks)
#include "fakeweb/Server.h"

#include <cctype>
#include <cstdio>

namespace qm::fakeweb {

std::string PatternBytes(size_t size, unsigned seed) {
    static const char alphabet[] = "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789";
    std::string out(size, '\0');
    uint32_t x = 2463534242u ^ seed;
    for (size_t i = 0; i < size; ++i) {
        x ^= x << 13;
        x ^= x >> 17;
        x ^= x << 5;
        out[i] = (i % 64 == 63) ? '\n' : alphabet[x % 62];
    }
    return out;
}

namespace {

size_t Size(const Request &r, long long fallback) {
    long long n = r.number("size", fallback);
    return n < 0 ? 0 : size_t(n);
}

std::string Filler(size_t size) {
    std::string body;
    while (body.size() < size) body += "<p>Lorem ipsum dolor sit amet, consectetur adipiscing.</p>\n";
    body.resize(size);
    return body;
}

}  // namespace

std::optional<Response> GenericResponse(const Request &r) {
    const std::string &p = r.path;
    auto starts = [&](std::string_view prefix) { return p.compare(0, prefix.size(), prefix) == 0; };

    if (p == "/")
        return Response::Html("<html><head><title>Fake web</title></head><body>fake web</body></html>");
    if (starts("/status/")) {
        int status = std::atoi(p.c_str() + 8);
        if (status < 100 || status > 999) status = 400;
        return Response::Html("status " + std::to_string(status), status);
    }
    if (p == "/echo") {
        std::string body = r.method + " " + r.target + "\n";
        for (const auto &[k, v] : r.headers) body += k + ": " + v + "\n";
        return Response::Text(body);
    }
    if (p == "/redirect") {
        std::string to = r.hasParam("to") ? r.param("to") : "/echo";
        Response res = Response::Redirect(to, int(r.number("status", 302)));
        for (const auto &c : r.params("cookie")) res.with("Set-Cookie", c);
        return res;
    }
    if (starts("/hops/")) {
        int n = std::atoi(p.c_str() + 6);
        if (n <= 0) return Response::Redirect("/echo");
        std::string next = "/hops/" + std::to_string(n - 1) + (r.query.empty() ? "" : "?" + r.query);
        Response res = Response::Redirect(next, 302);
        if (r.hasParam("cookie")) res.with("Set-Cookie", "hop" + std::to_string(n) + "=" + std::to_string(n) + "; path=/");
        return res;
    }
    if (p == "/cookies") {
        Response res = Response::Html("<html><body>cookies set</body></html>");
        for (const auto &c : r.params("set")) res.with("Set-Cookie", c);
        return res;
    }
    if (p == "/slow") {
        Response res = Response::Html(Filler(Size(r, 100)));
        res.delayMs = int(r.number("ms", 1000));
        return res;
    }
    if (p == "/trickle") {
        long long pieces = std::max(1LL, r.number("pieces", 5));
        Response res = Response::Text(PatternBytes(Size(r, 500), unsigned(r.number("seed", 0))));
        res.pieceSize = std::max<size_t>(1, (res.body.size() + size_t(pieces) - 1) / size_t(pieces));
        res.pieceDelayMs = int(r.number("ms", 100));
        res.chunked = r.param("chunked") == "1";
        return res;
    }
    if (p == "/silent") {
        Response res;
        res.silent = true;
        return res;
    }
    if (p == "/drop") {
        Response res = Response::Text(PatternBytes(Size(r, 100000)));
        res.dropAfter = size_t(std::max(0LL, r.number("after", 1000)));
        res.pieceSize = 1000;
        res.chunked = r.param("chunked") == "1";
        return res;
    }
    if (p == "/bytes") {
        Response res = Response::Text(PatternBytes(Size(r, 1000), unsigned(r.number("seed", 0))));
        res.chunked = r.param("chunked") == "1";
        res.encoding = r.param("encoding");
        if (r.hasParam("piece")) res.pieceSize = size_t(std::max(1LL, r.number("piece", 16384)));
        return res;
    }
    if (p == "/page") {
        long long n = r.number("n", 0);
        std::string head = "<html><head><title>Page " + std::to_string(n) + "</title></head><body>\n";
        std::string tail = "</body></html>\n";
        size_t size = Size(r, 4000);
        std::string fill = Filler(size > head.size() + tail.size() ? size - head.size() - tail.size() : 0);
        return Response::Html(head + fill + tail);
    }
    return std::nullopt;
}

std::optional<Response> ResultSiteResponse(const Request &r) {
    static const std::string_view suffix = ".example";
    const std::string &host = r.host;
    if (host.size() <= suffix.size() || host.compare(host.size() - suffix.size(), suffix.size(), suffix) != 0)
        return std::nullopt;
    uint32_t h = 2166136261u;  // FNV-1a over host and path: the same address always answers alike
    for (char c : host + r.path) h = (h ^ (unsigned char)c) * 16777619u;
    if (h % 8 == 7) return Response::NotFound();
    for (char c : host)
        if (!std::isalnum((unsigned char)c) && c != '.' && c != '-') return std::nullopt;
    std::string name = host.substr(0, host.size() - suffix.size());
    if (name.rfind("www.", 0) == 0) name = name.substr(4);
    return Response::Html("<html><head><title>" + name + "</title></head><body><h1>" + name +
                          "</h1><p>Welcome to " + name + ".</p></body></html>");
}

}  // namespace qm::fakeweb
