#include "fakeweb/Server.h"

#include <chrono>

#include "net/ServiceHosts.h"

#include <httplib.h>
#include <zlib.h>

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>

#include <atomic>
#include <condition_variable>
#include <cstdlib>
#include <cstring>
#include <regex>
#include <mutex>
#include <shared_mutex>
#include <thread>

#include <sys/socket.h>

namespace qm::fakeweb {

namespace {

char Lower(char c) { return (c >= 'A' && c <= 'Z') ? char(c - 'A' + 'a') : c; }

bool SameText(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (size_t i = 0; i < a.size(); ++i)
        if (Lower(a[i]) != Lower(b[i])) return false;
    return true;
}

std::string LowerCopy(std::string_view s) {
    std::string out(s);
    for (char &c : out) c = Lower(c);
    return out;
}

// The browser view: "/_host/www.x.example/path?q" on the loopback address stands for
// "http://www.x.example/path?q". Returns the Host header the request came with (to point
// the page's links back at it) and rewrites the request, or "" for any other request.
std::string TakeBrowserViewHost(Request &request) {
    if (request.path.rfind(kBrowserViewPrefix, 0) != 0) return {};
    const std::string rest = request.path.substr(std::strlen(kBrowserViewPrefix));
    const size_t slash = rest.find('/');
    const std::string host = LowerCopy(rest.substr(0, slash));
    if (host.empty()) return {};
    std::string came;
    for (const auto &[k, v] : request.headers)
        if (LowerCopy(k) == "host") came = v;
    request.host = host;
    request.path = slash == std::string::npos ? "/" : rest.substr(slash);
    request.target = request.path + (request.query.empty() ? "" : "?" + request.query);
    return came;
}

// Links of an HTML page to the fake hosts ("http://....example") and to its own host
// ("/path") through the browser view.
void ThroughBrowserView(Response &r, const std::string &viewRoot, const std::string &host) {
    static const std::regex link(R"(http://([A-Za-z0-9.-]+\.example)(?=[/"'?#:\s>]|$))");
    static const std::regex local(R"(((?:href|src|action)\s*=\s*["']?)/(?!/))", std::regex::icase);
    for (auto &[k, v] : r.headers)
        if (LowerCopy(k) == "location") {
            v = std::regex_replace(v, link, viewRoot + "$1");
            if (!v.empty() && v[0] == '/' && v.rfind(kBrowserViewPrefix, 0) != 0)
                v = kBrowserViewPrefix + host + v;
        }
    if (r.stream || r.contentType.find("html") == std::string::npos) return;
    r.body = std::regex_replace(r.body, link, viewRoot + "$1");
    r.body = std::regex_replace(r.body, local, "$1" + std::string(kBrowserViewPrefix) + host + "/");
}

// "Host: www.x.example:8080" -> "www.x.example"; "[::1]:80" -> "::1".
std::string HostWithoutPort(std::string_view host) {
    if (!host.empty() && host.front() == '[') {
        auto end = host.find(']');
        return LowerCopy(host.substr(1, end == std::string_view::npos ? host.npos : end - 1));
    }
    auto colon = host.find(':');
    return LowerCopy(host.substr(0, colon));
}

std::string Compress(const std::string &body, bool gzip) {
    z_stream zs{};
    if (deflateInit2(&zs, 6, Z_DEFLATED, gzip ? 31 : 15, 8, Z_DEFAULT_STRATEGY) != Z_OK) return body;
    std::string out(deflateBound(&zs, uLong(body.size())) + 32, '\0');
    zs.next_in = reinterpret_cast<Bytef *>(const_cast<char *>(body.data()));
    zs.avail_in = uInt(body.size());
    zs.next_out = reinterpret_cast<Bytef *>(out.data());
    zs.avail_out = uInt(out.size());
    deflate(&zs, Z_FINISH);
    out.resize(zs.total_out);
    deflateEnd(&zs);
    return out;
}

}  // namespace

// ---- Request, Response, Registry ------------------------------------------------------

std::string FormEncode(std::string_view text, std::string_view keep) {
    static constexpr char kHex[] = "0123456789ABCDEF";
    std::string out;
    out.reserve(text.size());
    for (char ch : text) {
        const auto c = static_cast<unsigned char>(ch);
        if (c == ' ') {
            out += '+';
        } else if ((c >= '0' && c <= '9') || (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') ||
                   keep.find(ch) != std::string_view::npos) {
            out += ch;
        } else {
            out += '%';
            out += kHex[c >> 4];
            out += kHex[c & 15];
        }
    }
    return out;
}

std::string PercentDecode(std::string_view text, bool plusIsBlank) {
    auto hex = [](char c) -> int {
        if (c >= '0' && c <= '9') return c - '0';
        c = Lower(c);
        if (c >= 'a' && c <= 'f') return c - 'a' + 10;
        return -1;
    };
    std::string out;
    out.reserve(text.size());
    for (size_t i = 0; i < text.size(); ++i) {
        char c = text[i];
        if (c == '%' && i + 2 < text.size() && hex(text[i + 1]) >= 0 &&
            hex(text[i + 2]) >= 0) {
            out.push_back(char(hex(text[i + 1]) * 16 + hex(text[i + 2])));
            i += 2;
        } else if (c == '+' && plusIsBlank) {
            out.push_back(' ');
        } else {
            out.push_back(c);
        }
    }
    return out;
}

std::string Request::header(std::string_view name) const {
    for (const auto &[k, v] : headers)
        if (SameText(k, name)) return v;
    return {};
}

std::vector<std::string> Request::params(std::string_view name) const {
    std::vector<std::string> out;
    size_t pos = 0;
    while (pos <= query.size()) {
        size_t amp = query.find('&', pos);
        if (amp == std::string::npos) amp = query.size();
        std::string_view pair(query.data() + pos, amp - pos);
        size_t eq = pair.find('=');
        std::string key = PercentDecode(pair.substr(0, eq));
        if (!pair.empty() && key == name)
            out.push_back(eq == std::string_view::npos ? std::string() : PercentDecode(pair.substr(eq + 1)));
        pos = amp + 1;
    }
    return out;
}

std::string Request::param(std::string_view name) const {
    auto all = params(name);
    return all.empty() ? std::string() : all.front();
}

bool Request::hasParam(std::string_view name) const { return !params(name).empty(); }

long long Request::number(std::string_view name, long long fallback) const {
    std::string v = param(name);
    if (v.empty()) return fallback;
    char *end = nullptr;
    long long n = std::strtoll(v.c_str(), &end, 10);
    return end == v.c_str() ? fallback : n;
}

Response Response::Html(std::string body, int status) {
    Response r;
    r.status = status;
    r.body = std::move(body);
    return r;
}

Response Response::Text(std::string body, int status) {
    Response r = Html(std::move(body), status);
    r.contentType = "text/plain";
    return r;
}

Response Response::Redirect(std::string location, int status) {
    Response r = Html("<html><body>Moved</body></html>", status);
    r.headers.emplace_back("Location", std::move(location));
    return r;
}

Response Response::NotFound() { return Html("<html><body>Not Found</body></html>", 404); }

void Registry::add(std::string hostKey, Handler handler) {
    entries_.push_back({std::move(hostKey), std::move(handler)});
}

const char *ReasonPhrase(int status) {
    switch (status) {
    case 200: return "OK";
    case 201: return "Created";
    case 204: return "No Content";
    case 206: return "Partial Content";
    case 301: return "Moved Permanently";
    case 302: return "Found";
    case 303: return "See Other";
    case 304: return "Not Modified";
    case 307: return "Temporary Redirect";
    case 308: return "Permanent Redirect";
    case 400: return "Bad Request";
    case 401: return "Unauthorized";
    case 403: return "Forbidden";
    case 404: return "Not Found";
    case 407: return "Proxy Authentication Required";
    case 410: return "Gone";
    case 500: return "Internal Server Error";
    case 502: return "Bad Gateway";
    case 503: return "Service Unavailable";
    case 504: return "Gateway Timeout";
    default: return "Unknown";
    }
}

// ---- Server -----------------------------------------------------------------------------

struct Server::Impl {
    Options options;
    Registry registry;
    std::unique_ptr<httplib::Server> http;
    std::thread thread;
    int port = 0;
    std::atomic<int> latencyMs{0};
    std::atomic<size_t> count{0};

    std::mutex stopMutex;
    std::condition_variable stopCv;
    bool stopping = false;

    std::shared_mutex hostMutex;
    std::map<std::string, std::vector<const Handler *>> byHost;

    // Sleeps up to ms; false when the server is stopping.
    bool pause(int ms) {
        std::unique_lock lock(stopMutex);
        if (ms <= 0) return !stopping;
        return !stopCv.wait_for(lock, std::chrono::milliseconds(ms), [&] { return stopping; });
    }
    void waitForStop() {
        std::unique_lock lock(stopMutex);
        stopCv.wait(lock, [&] { return stopping; });
    }

    void refresh() {
        std::map<std::string, std::vector<const Handler *>> map;
        for (const auto &e : registry.entries()) {
            std::string host = LowerCopy(ServiceHostFor(e.hostKey));
            if (!host.empty()) map[host].push_back(&e.handler);
        }
        std::unique_lock lock(hostMutex);
        byHost = std::move(map);
    }

    Response answer(const Request &request) {
        if (auto r = MisbehaviourResponse(options.misbehave)) return *r;
        std::vector<const Handler *> handlers;
        {
            std::shared_lock lock(hostMutex);
            auto it = byHost.find(request.host);
            if (it != byHost.end()) handlers = it->second;
        }
        try {
            for (const Handler *h : handlers)
                if (auto r = (*h)(request)) return *r;
            // An unclaimed host's home page is a result site, not the generic root page.
            const bool unclaimedRoot = handlers.empty() && request.path == "/";
            if (!unclaimedRoot)
                if (auto r = GenericResponse(request)) return *r;
            if (handlers.empty())
                if (auto r = ResultSiteResponse(request)) return *r;
            if (unclaimedRoot)
                if (auto r = GenericResponse(request)) return *r;
        } catch (const std::exception &e) {
            return Response::Text(std::string("fake web service failed: ") + e.what(), 500);
        }
        return Response::NotFound();
    }

    void handle(const httplib::Request &hreq, httplib::Response &hres) {
        ++count;
        Request request;
        request.method = hreq.method;
        request.target = hreq.target;
        auto q = hreq.target.find('?');
        request.path = hreq.target.substr(0, q);
        request.query = q == std::string::npos ? std::string() : hreq.target.substr(q + 1);
        for (const auto &[k, v] : hreq.headers)
            if (k != "REMOTE_ADDR" && k != "REMOTE_PORT" && k != "LOCAL_ADDR" && k != "LOCAL_PORT")
                request.headers.emplace_back(k, v);  // the library's own notes are not headers
        request.host = HostWithoutPort(hreq.get_header_value("Host"));
        // A browser cannot be routed like the program's own client: it asks the loopback
        // address for "/_host/<host>/<path>", and the page's links to other fake hosts are
        // turned the same way.
        const std::string browserView = TakeBrowserViewHost(request);
        // Compression is decided by the service alone, never by the library on its own.
        const_cast<httplib::Request &>(hreq).headers.erase("Accept-Encoding");

        Response r = answer(request);
        if (!browserView.empty()) ThroughBrowserView(r, "http://" + browserView + kBrowserViewPrefix, request.host);
        pause(latencyMs.load() + r.delayMs);
        if (r.silent) waitForStop();
        if (r.silent || !pause(0)) {
            // Stopping: announce a body that never comes, so no client takes this for an answer.
            hres.status = 503;
            hres.set_content_provider(1, "text/plain", [](size_t, size_t, httplib::DataSink &) { return false; });
            return;
        }

        hres.status = r.status;
        for (const auto &[k, v] : r.headers) hres.set_header(k, v);
        // Like every real web server, it names its software (the domain name search reads it).
        if (!hres.has_header("Server")) hres.set_header("Server", "QuillmarFakeWeb/1.0 (Unix)");
        auto body = std::make_shared<std::string>(std::move(r.body));
        if (r.encoding == "gzip" || r.encoding == "deflate") {
            *body = Compress(*body, r.encoding == "gzip");
            hres.set_header("Content-Encoding", r.encoding);
        }
        if (r.stream && request.method != "HEAD") {
            auto stream = r.stream;
            const int pieceDelay = r.pieceDelayMs;
            hres.set_chunked_content_provider(r.contentType, [this, stream, pieceDelay](size_t offset,
                                                                                       httplib::DataSink &sink) {
                if (!pause(offset > 0 ? pieceDelay : 0)) return false;  // stopping: cut it short
                std::string piece;
                if (!stream(offset, piece)) {
                    sink.done();
                    return true;
                }
                return piece.empty() || sink.write(piece.data(), piece.size());
            });
            return;
        }
        const bool plain = !r.chunked && r.pieceDelayMs == 0 && !r.dropAfter;
        if (plain || request.method == "HEAD") {
            hres.set_content(*body, r.contentType);
            return;
        }
        size_t piece = r.pieceSize ? r.pieceSize : 16384;
        size_t limit = r.dropAfter ? std::min(*r.dropAfter, body->size()) : body->size();
        bool drop = r.dropAfter.has_value();
        int pieceDelay = r.pieceDelayMs;
        auto writePiece = [this, body, piece, limit, drop, pieceDelay](size_t offset, httplib::DataSink &sink) {
            if (offset >= limit) return !drop;  // a planned drop ends the connection here
            if (offset > 0 && !pause(pieceDelay)) return false;
            size_t n = std::min(piece, limit - offset);
            return sink.write(body->data() + offset, n);
        };
        if (r.chunked) {
            hres.set_chunked_content_provider(r.contentType,
                                              [writePiece, limit, drop](size_t offset, httplib::DataSink &sink) {
                                                  if (offset >= limit && !drop) {
                                                      sink.done();
                                                      return true;
                                                  }
                                                  return writePiece(offset, sink);
                                              });
        } else {
            hres.set_content_provider(body->size(), r.contentType,
                                      [writePiece](size_t offset, size_t, httplib::DataSink &sink) {
                                          return writePiece(offset, sink);
                                      });
        }
    }
};

Server::Server() : Server(Options{}) {}

Server::Server(Options options) : d(std::make_unique<Impl>()) {
    d->options = std::move(options);
    d->latencyMs = d->options.latencyMs;
    if (d->options.withServices) RegisterAllServices(d->registry);
}

Server::~Server() { stop(); }

void Server::addService(std::string hostKey, Handler handler) {
    d->registry.add(std::move(hostKey), std::move(handler));
    if (d->http) d->refresh();
}

bool Server::start(int port) {
    if (d->http) return true;
    {
        std::lock_guard lock(d->stopMutex);
        d->stopping = false;
    }
    std::unique_ptr<httplib::Server> http;
    if (!d->options.certFile.empty() && !d->options.keyFile.empty()) {
        auto tls = std::make_unique<httplib::SSLServer>(d->options.certFile.c_str(), d->options.keyFile.c_str());
        if (!tls->is_valid()) return false;
        http = std::move(tls);
    } else {
        http = std::make_unique<httplib::Server>();
    }
    // Enough threads for many clients on kept-alive connections plus a few silent answers.
    http->new_task_queue = [] { return new httplib::ThreadPool(96); };
    http->set_keep_alive_max_count(1000000);
    // An idle kept-alive connection holds its thread until this time-out, also when the server
    // stops: keep it short so that stop() is quick while clients keep connections cached.
    http->set_keep_alive_timeout(1);
    http->set_tcp_nodelay(true);
    Impl *impl = d.get();
    auto handler = [impl](const httplib::Request &req, httplib::Response &res) { impl->handle(req, res); };
    http->Get(".*", handler);
    http->Post(".*", handler);
    http->Options(".*", handler);

    // The library listens with a backlog of 5: the connections of a whole search, opened at
    // once, overflow it, and the dropped ones only come back when their SYN is retried a
    // second later. The listening socket is kept here and given a longer backlog.
    auto listening = std::make_shared<int>(-1);
    http->set_socket_options([listening](socket_t sock) {
        httplib::default_socket_options(sock);
        *listening = int(sock);
    });
    d->refresh();
    if (port == 0) {
        port = http->bind_to_any_port("127.0.0.1");
        if (port <= 0) return false;
    } else if (!http->bind_to_port("127.0.0.1", port)) {
        return false;
    }
    if (*listening >= 0) ::listen(*listening, 1024);
    d->port = port;
    d->http = std::move(http);
    d->thread = std::thread([impl] { impl->http->listen_after_bind(); });
    // A stop() before the accept loop runs would be lost (and its join would hang).
    for (int i = 0; i < 2000 && !d->http->is_running(); ++i)
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    return true;
}

int Server::port() const { return d->http ? d->port : 0; }

std::string Server::address() const { return "127.0.0.1:" + std::to_string(port()); }

bool Server::running() const { return d->http != nullptr; }

void Server::stop() {
    if (!d->http) return;
    {
        std::lock_guard lock(d->stopMutex);
        d->stopping = true;
    }
    d->stopCv.notify_all();
    d->http->stop();
    if (d->thread.joinable()) d->thread.join();
    d->http.reset();
    d->port = 0;
}

void Server::setLatencyMs(int ms) { d->latencyMs = ms; }

void Server::refreshHosts() { d->refresh(); }

size_t Server::requestCount() const { return d->count.load(); }

std::string BrowserViewAddress(const std::string &address, int port) {
    const std::string scheme = "http://";
    if (address.size() <= scheme.size() || LowerCopy(address.substr(0, scheme.size())) != scheme) return address;
    const size_t end = address.find_first_of("/?#", scheme.size());
    const std::string authority =
        address.substr(scheme.size(), end == std::string::npos ? std::string::npos : end - scheme.size());
    const std::string host = HostWithoutPort(authority);
    const std::string tld = ".example";
    if (authority.find('@') != std::string::npos || host.size() <= tld.size() ||
        host.compare(host.size() - tld.size(), tld.size(), tld) != 0)
        return address;
    std::string rest = end == std::string::npos ? "/" : address.substr(end);
    if (rest[0] != '/') rest = "/" + rest;
    return "http://127.0.0.1:" + std::to_string(port) + kBrowserViewPrefix + host + rest;
}

}  // namespace qm::fakeweb
