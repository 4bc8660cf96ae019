#pragma once
// Name resolution by the system resolver, off the event loop: the lookup runs in the
// background and its outcome is delivered from the event loop, so the window never waits.
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace qm {

struct ResolveOutcome {
    bool reverse = false;              // address to name
    int error = 0;                     // the resolver's code (getaddrinfo / getnameinfo); 0 when found
    std::vector<std::string> results;  // forward: addresses in resolver order, no repeats; reverse: the name
    bool found() const { return error == 0 && !results.empty(); }
};

// Forward lookup (IPv4 and IPv6) or reverse lookup of a dotted IPv4 address, blocking.
// A reverse lookup that finds no name fails (EAI_NONAME); the address is never its own name.
ResolveOutcome ResolveBlocking(const std::string &host, bool reverse);

// True for a dotted numeric IPv4 address ("192.0.2.1").
bool IsDottedIPv4(std::string_view text);

// The lookup service the network tools use; tests script it.
class HostResolver {
public:
    using Done = std::function<void(const ResolveOutcome &)>;
    virtual ~HostResolver() = default;
    // Starts a lookup; `done` runs later from the event loop, never inside Start. A lookup
    // still pending is cancelled first.
    virtual void Start(const std::string &host, bool reverse, Done done) = 0;
    // Drops the pending lookup: its `done` never runs.
    virtual void Cancel() = 0;
};

// The system resolver, each lookup on a short-lived background thread whose outcome is
// posted to the application's event loop.
class SystemResolver : public HostResolver {
public:
    ~SystemResolver() override;
    void Start(const std::string &host, bool reverse, Done done) override;
    void Cancel() override;

private:
    struct Pending;
    std::shared_ptr<Pending> pending_;
};

}  // namespace qm
