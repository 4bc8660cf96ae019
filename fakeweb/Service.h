#pragma once
// What a fake-web service sees and answers. A service is a handler bound to one key of the
// service-host table (src/net/ServiceHosts.h): the fake web answers every request whose Host
// header names that service's current host. Handlers run on the server's threads, so they
// must not touch program state; they only turn a request into a response.
#include <cstddef>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace qm::fakeweb {

struct Request {
    std::string method;  // "GET", "HEAD", ...
    std::string host;    // Host header without the port, lower case
    std::string target;  // raw request target: path and query as sent
    std::string path;    // target up to "?", not decoded
    std::string query;   // target after "?", not decoded ("" when none)
    std::vector<std::pair<std::string, std::string>> headers;  // as received

    // First header of that name (ASCII case ignored); "" when absent.
    std::string header(std::string_view name) const;
    // First query parameter of that name, percent-decoded ("+" is a blank); "" when absent.
    std::string param(std::string_view name) const;
    bool hasParam(std::string_view name) const;
    // Every value of a repeated query parameter, decoded, in order.
    std::vector<std::string> params(std::string_view name) const;
    // param() read as a number; fallback when absent or not a number.
    long long number(std::string_view name, long long fallback) const;
};

struct Response {
    int status = 200;
    std::string contentType = "text/html";
    std::string body;
    // Extra header lines in order (Location, Set-Cookie, ...). Repeats are kept.
    std::vector<std::pair<std::string, std::string>> headers;

    // How the answer travels. Defaults: identity body with Content-Length, at once.
    std::string encoding;        // "" (identity), "gzip" or "deflate": body is compressed
    bool chunked = false;        // chunked transfer coding
    size_t pieceSize = 16384;    // bytes per write (and per chunk)
    int delayMs = 0;             // wait before the status line
    int pieceDelayMs = 0;        // wait between pieces of the body
    std::optional<size_t> dropAfter;  // close the connection after this many body bytes
    bool silent = false;         // never answer (the connection stays open until the server stops)
    // A body made while it is sent, for one that never ends or is too big to hold: called with
    // the bytes sent so far, appends the next piece; false ends the body. When set, the answer
    // is chunked, `body` and `encoding` are ignored (a stream that is compressed says so in a
    // Content-Encoding header of its own) and pieceDelayMs applies between pieces.
    std::function<bool(size_t offset, std::string &piece)> stream;

    Response &with(std::string name, std::string value) {
        headers.emplace_back(std::move(name), std::move(value));
        return *this;
    }

    static Response Html(std::string body, int status = 200);
    static Response Text(std::string body, int status = 200);
    static Response Redirect(std::string location, int status = 302);
    static Response NotFound();
};

// A handler may decline a request (std::nullopt): the next service bound to the same host
// is asked, and a 404 is sent when none answers.
using Handler = std::function<std::optional<Response>(const Request &)>;

class Registry {
public:
    // Binds a handler to a key of the service-host table.
    void add(std::string hostKey, Handler handler);

    struct Entry {
        std::string hostKey;
        Handler handler;
    };
    const std::vector<Entry> &entries() const { return entries_; }

private:
    std::vector<Entry> entries_;
};

// Every service of fakeweb/services/, registered from the one list in
// fakeweb/services/services.list.
void RegisterAllServices(Registry &registry);

// Encodes text as a form value: a blank as "+", ASCII letters, digits and the bytes of
// `keep` as they are, every other byte as "%XX" (upper-case hex).
std::string FormEncode(std::string_view text, std::string_view keep = ".-_");

// Decodes %XX escapes and, when plusIsBlank, "+" as a blank.
std::string PercentDecode(std::string_view text, bool plusIsBlank = true);

// The reason phrase the fake web sends for a status code.
const char *ReasonPhrase(int status);

}  // namespace qm::fakeweb
