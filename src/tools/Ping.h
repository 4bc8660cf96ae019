#pragma once
// Ping: ICMP echo through the system's own ICMP sockets (never an external program), and the
// run of a ping as the "DNS" tab and `quillmar-cli ping` do it.
//
// A run is a small state machine on the event loop (resolution, then one echo request after
// the other with the configured delay between them); nothing blocks and nothing nests, so
// the window stays responsive and closing it mid-run just drops the run.
#include "tools/NetToolsText.h"
#include "tools/Resolve.h"

#include <QElapsedTimer>
#include <QObject>
#include <QTimer>

#include <functional>
#include <optional>
#include <string>
#include <vector>

class QSocketNotifier;

namespace qm {

inline constexpr int kPingTimeoutMs = 5000;
inline constexpr int kPingPayload = 48;
inline constexpr int kPingTtl = 64;

struct EchoReply {
    bool ok = false;   // false: no reply within the time-out, or the request could not go out
    std::string from;  // the replying address
    int ms = 0;        // round trip
    int bytes = 0;     // data bytes of the reply (the ICMP header not counted)
};

// One echo request at a time.
class EchoPort {
public:
    enum class Send { Sent, NotPermitted };
    virtual ~EchoPort() = default;
    // Sends an echo request to a numeric IPv4 or IPv6 address; the reply (or its absence
    // after timeoutMs) is reported once through onReply, from the event loop. NotPermitted
    // when the process may open no ICMP socket (nothing is reported then).
    virtual Send SendEcho(const std::string &address, int timeoutMs, int payload, int ttl) = 0;
    // Forgets the outstanding request: no report follows.
    virtual void Cancel() = 0;
    std::function<void(const EchoReply &)> onReply;
};

// The system's ICMP: an unprivileged ICMP datagram socket (allowed when the user's group
// lies in net.ipv4.ping_group_range), else a raw ICMP socket (CAP_NET_RAW). Replies are
// matched by sequence, and on a raw socket also by identifier (a datagram socket's
// identifier is set by the kernel).
class IcmpEchoPort : public QObject, public EchoPort {
    Q_OBJECT
public:
    enum class Kind { Auto, Datagram, Raw };
    explicit IcmpEchoPort(Kind kind = Kind::Auto, QObject *parent = nullptr);
    ~IcmpEchoPort() override;
    Send SendEcho(const std::string &address, int timeoutMs, int payload, int ttl) override;
    void Cancel() override;
    // The kind of the socket opened last (Auto before any).
    Kind Opened() const { return opened_; }
    // Whether this machine lets the process open an ICMP socket of that kind (IPv4).
    static bool Available(Kind kind);

private:
    bool Open(int family);
    void CloseSocket();
    void OnReadable();
    void Report(const EchoReply &reply);

    Kind kind_;
    Kind opened_ = Kind::Auto;
    int fd_ = -1;
    int family_ = 0;
    QSocketNotifier *notifier_ = nullptr;
    QTimer timeout_;
    QElapsedTimer clock_;
    bool waiting_ = false;
    quint16 ident_ = 0;
    quint16 sequence_ = 0;
    std::string target_;
};

struct PingReply {
    int n = 0;
    std::string from;
    int ms = 0;
    int bytes = 0;
};

// What a run did, for the command line's JSON.
struct PingResult {
    std::string host;
    std::optional<std::string> address;  // the address pinged, once resolved
    int sent = 0;
    int received = 0;
    std::vector<PingReply> replies;
    std::optional<long long> average;  // only when every requested echo came back
    std::string status;                // "done", "unknown host", "no reply", "not permitted"
    std::vector<std::string> lines;
};

class PingRun : public QObject {
    Q_OBJECT
public:
    PingRun(HostResolver &resolver, EchoPort &echo, MessageFn message, QObject *parent = nullptr);
    ~PingRun() override;

    enum class Start { Started, EmptyHost, BadCount };
    // Starts a run of `count` echo requests, `delayMs` apart, on the trimmed host text.
    // Rejected input starts nothing and writes nothing.
    Start Begin(const std::string &hostText, long long count, long long delayMs);
    // Ends a run at once without writing anything (the window closes).
    void Abort();
    bool Running() const { return running_; }
    const PingResult &Result() const { return result_; }

    // Each memo line as it is written.
    std::function<void(const std::string &line)> onLine;

signals:
    void finished();

private:
    void Step();
    void OnResolved(const ResolveOutcome &out);
    void SendNext();
    void OnEcho(const EchoReply &reply);
    void Finish(const char *status);
    void Write(std::string line);
    std::string T(const char *english) const { return Say(message_, english); }

    HostResolver &resolver_;
    EchoPort &echo_;
    MessageFn message_;
    QTimer delay_;
    PingResult result_;
    bool running_ = false;
    long long count_ = 0, delayMs_ = 0, completed_ = 0, sum_ = 0;
};

}  // namespace qm
