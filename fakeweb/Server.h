#pragma once
// The fake web: one loopback HTTP server that imitates every service the program talks to.
// It dispatches on the Host header: a request for a host of the service-host table goes to
// the services bound to that key (fakeweb/services/); anything else, and anything those
// services decline, goes to the generic test behaviours (fakeweb/Generic.cpp).
// Usable in-process (--demo, tests) or as the quillmar-fakeweb program.
#include "fakeweb/Service.h"

#include <memory>
#include <string>

namespace qm::fakeweb {

// A server-wide misbehaviour: every request, whatever its host and path, is answered that way.
enum class Misbehave {
    None,
    Endless,  // 200 with a body that never ends
    Bomb,     // 200 with about 1 MB of gzip that decodes to 1 GiB
    Silent,   // accepts and never answers
    Trickle,  // 200, then one byte every 5 seconds, forever
    Garbage,  // 200 text/html of random bytes mixed with bits of markup
};
// "endless", "bomb", "silent", "trickle", "garbage" (and "none"); nothing for other words.
std::optional<Misbehave> ParseMisbehave(std::string_view word);

class Server {
public:
    struct Options {
        int latencyMs = 0;     // added before every answer
        std::string certFile;  // HTTPS when both files are given (PEM)
        std::string keyFile;
        bool withServices = true;  // bind the services of services.list
        Misbehave misbehave = Misbehave::None;
    };

    Server();
    explicit Server(Options options);
    ~Server();  // stops
    Server(const Server &) = delete;
    Server &operator=(const Server &) = delete;

    // Binds a handler besides the registered services (before start()).
    void addService(std::string hostKey, Handler handler);

    // Listens on 127.0.0.1:port (0: any free port) and serves on background threads.
    // Returns false when the port cannot be bound.
    bool start(int port = 0);
    int port() const;             // 0 when not started
    std::string address() const;  // "127.0.0.1:PORT"
    // Wakes silent and slow answers, closes every connection and joins the threads.
    void stop();
    bool running() const;

    void setLatencyMs(int ms);
    // Reads the service-host table again (after a service's host was replaced).
    void refreshHosts();
    // Requests answered or being answered since start.
    size_t requestCount() const;

    struct Impl;

private:
    std::unique_ptr<Impl> d;
};

// The generic behaviours, for any host: see Generic.cpp for the paths.
std::optional<Response> GenericResponse(const Request &request);
// The answer of a server-wide misbehaviour (Misbehave::None: nothing).
std::optional<Response> MisbehaviourResponse(Misbehave mode);

// Hostile answers, also reachable through generic paths:
Response EndlessResponse(size_t pieceSize = 16384, int pieceDelayMs = 0);  // 200, never ends
Response GzipBombResponse(size_t decodedMiB = 1024);  // ~1 KB of gzip per MiB decoded, made as sent
Response TrickleForever(int ms);                      // one byte every ms, forever
Response GarbageResponse(size_t size, unsigned seed = 0);
// A small home page for any host under ".example" that no service claims: the sites that
// the fake engines list as results. About one address in eight answers 404, so that a
// verification of demo results finds some dead links.
std::optional<Response> ResultSiteResponse(const Request &request);

}  // namespace qm::fakeweb

namespace qm::fakeweb {

// The browser view, for a browser the program hands a fake address to (it cannot be routed
// like the program's own client): the loopback server answers "/_host/<host>/<path>" as
// "http://<host>/<path>", and points the links of its HTML pages the same way.
inline constexpr const char *kBrowserViewPrefix = "/_host/";

// "http://www.x.example/p?q" as "http://127.0.0.1:<port>/_host/www.x.example/p?q" for a fake
// host (a name under ".example"); any other address as it is.
std::string BrowserViewAddress(const std::string &address, int port);

// The deterministic body of /bytes?size=N&seed=S: printable, different at every offset
// within any window, so a lost, repeated or reordered piece shows.
std::string PatternBytes(size_t size, unsigned seed = 0);

}  // namespace qm::fakeweb
