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
//
// Hostile answers, for the client's bounds (and, server-wide, Server::Options::misbehave):
//   /endless?piece=K&ms=M          200 whose body never ends (K bytes per piece, M ms apart)
//   /bomb?mib=N                    200, gzip: about N KB on the wire, N MiB decoded (default 1024)
//   /trickle?forever=1&ms=M        200, then one byte every M ms, forever
//   /garbage?size=N&seed=S         200 text/html: random bytes and bits of markup
//   /silent                        accepts and never answers
//   /redirect?to=http://OTHER/...&cookie=C   a redirection to another host that sets cookies
#include "fakeweb/Server.h"

#include <zlib.h>

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <memory>
#include <mutex>

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

// One MiB of zeros as raw deflate ending in a full flush: byte-aligned, with no history
// behind it, so the same bytes follow each other for every further MiB.
const std::string &ZeroMiBDeflated() {
    static std::once_flag once;
    static std::string block;
    std::call_once(once, [] {
        const std::string zeros(size_t(1) << 20, '\0');
        z_stream zs{};
        deflateInit2(&zs, 9, Z_DEFLATED, -15, 9, Z_DEFAULT_STRATEGY);
        block.resize(deflateBound(&zs, uLong(zeros.size())) + 64);
        zs.next_in = reinterpret_cast<Bytef *>(const_cast<char *>(zeros.data()));
        zs.avail_in = uInt(zeros.size());
        zs.next_out = reinterpret_cast<Bytef *>(block.data());
        zs.avail_out = uInt(block.size());
        deflate(&zs, Z_FULL_FLUSH);
        block.resize(zs.total_out);
        deflateEnd(&zs);
    });
    return block;
}

std::string LittleEndian32(uint32_t v) {
    std::string out(4, '\0');
    for (int i = 0; i < 4; ++i) out[size_t(i)] = char((v >> (8 * i)) & 0xFF);
    return out;
}

}  // namespace

Response EndlessResponse(size_t pieceSize, int pieceDelayMs) {
    Response res;
    const auto piece = std::make_shared<const std::string>(Filler(std::max<size_t>(1, pieceSize)));
    res.pieceDelayMs = pieceDelayMs;
    res.stream = [piece](size_t offset, std::string &out) {
        if (offset == 0) out = "<html><head><title>Endless</title></head><body>\n";
        out += *piece;
        return true;
    };
    return res;
}

Response GzipBombResponse(size_t decodedMiB) {
    Response res;
    res.with("Content-Encoding", "gzip");
    // gzip header, one flushed block per MiB, an empty final block, CRC-32 and size.
    uLong crc = crc32(0, nullptr, 0);
    const std::string zeros(size_t(1) << 20, '\0');
    const uLong blockCrc = crc32(0, reinterpret_cast<const Bytef *>(zeros.data()), uInt(zeros.size()));
    for (size_t i = 0; i < decodedMiB; ++i) crc = crc32_combine(crc, blockCrc, z_off_t(zeros.size()));
    const std::string trailer = std::string("\x03\x00", 2) + LittleEndian32(uint32_t(crc)) +
                                LittleEndian32(uint32_t((uint64_t(decodedMiB) << 20) & 0xFFFFFFFFu));
    const std::string &block = ZeroMiBDeflated();
    auto next = std::make_shared<size_t>(0);  // blocks sent
    res.stream = [next, decodedMiB, trailer, &block](size_t offset, std::string &out) {
        if (offset == 0) out.assign("\x1f\x8b\x08\x00\x00\x00\x00\x00\x02\xff", 10);
        if (*next > decodedMiB) return false;
        for (int i = 0; i < 16 && *next < decodedMiB; ++i, ++*next) out += block;  // ~16 KB a piece
        if (*next == decodedMiB) {
            out += trailer;
            ++*next;
        }
        return true;
    };
    return res;
}

Response TrickleForever(int ms) {
    Response res = Response::Text("");
    res.pieceDelayMs = std::max(0, ms);
    res.stream = [](size_t offset, std::string &out) {
        out.push_back("trickle\n"[offset % 8]);
        return true;
    };
    return res;
}

Response GarbageResponse(size_t size, unsigned seed) {
    static const char *const bits[] = {"<a href=\"", "</a>", "<td>", "</td></tr>", "&#", "&amp;", "\"", ">", "<",
                                       "<b>", "<!--", "-->", "http://", "<li>", "&#x", ";", "\r\n"};
    std::string body;
    body.reserve(size + 16);
    uint32_t x = 2463534242u ^ (seed * 2654435761u);
    while (body.size() < size) {
        x ^= x << 13;
        x ^= x >> 17;
        x ^= x << 5;
        if (x % 4 == 0) body += bits[(x >> 8) % (sizeof bits / sizeof *bits)];
        else body.push_back(char(x >> 16));
    }
    body.resize(size);
    return Response::Html(std::move(body));
}

std::optional<Misbehave> ParseMisbehave(std::string_view word) {
    if (word == "none") return Misbehave::None;
    if (word == "endless") return Misbehave::Endless;
    if (word == "bomb") return Misbehave::Bomb;
    if (word == "silent") return Misbehave::Silent;
    if (word == "trickle") return Misbehave::Trickle;
    if (word == "garbage") return Misbehave::Garbage;
    return std::nullopt;
}

std::optional<Response> MisbehaviourResponse(Misbehave mode) {
    switch (mode) {
    case Misbehave::None: return std::nullopt;
    case Misbehave::Endless: return EndlessResponse();
    case Misbehave::Bomb: return GzipBombResponse();
    case Misbehave::Silent: {
        Response res;
        res.silent = true;
        return res;
    }
    case Misbehave::Trickle: return TrickleForever(5000);
    case Misbehave::Garbage: return GarbageResponse(size_t(1) << 20);
    }
    return std::nullopt;
}

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
    if (p == "/endless")
        return EndlessResponse(size_t(std::clamp(r.number("piece", 16384), 1LL, 1LL << 20)), int(r.number("ms", 0)));
    if (p == "/bomb") return GzipBombResponse(size_t(std::clamp(r.number("mib", 1024), 1LL, 1LL << 16)));
    if (p == "/garbage") return GarbageResponse(Size(r, 1 << 20), unsigned(r.number("seed", 0)));
    if (p == "/trickle" && r.param("forever") == "1") return TrickleForever(int(r.number("ms", 1000)));
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
