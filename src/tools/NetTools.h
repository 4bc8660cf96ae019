#pragma once
// The network kit of the "DNS" tab: ping, the computer's own addresses and name
// resolution, writing into one accumulating memo. No widget here: the window and
// quillmar-cli drive the same controller.
#include "tools/NetToolsText.h"
#include "tools/Ping.h"
#include "tools/Resolve.h"

#include <QObject>

#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace qm {

// The host box text made a host: trimmed, then the first occurrence (ASCII case ignored)
// of "http://", "https://", "ftp://", "nntp://", "news://", "pop3://", "smtp://" removed,
// in that order. Path and port stay.
std::string CleanHostText(std::string_view boxText);

// The addresses of the interfaces that are up, loopback interfaces and IPv6 link-local
// addresses left out, in the system's order (getifaddrs).
std::vector<std::string> LocalAddresses();

// Memo lines of "Local IP" for a list of addresses.
std::vector<std::string> LocalIpLines(const std::vector<std::string> &addresses, const MessageFn &message);

// Memo lines of a finished DNS lookup (the empty line at the end included).
std::vector<std::string> DnsLines(const std::string &host, const ResolveOutcome &out, const MessageFn &message);

// What the controller needs from its surroundings. Unset members do nothing.
struct NetToolsEnvironment {
    MessageFn message;
    std::function<void(const std::string &text)> alert;     // ShowAlert, kind 0
    std::function<void()> focusHostBox;
    std::function<void()> showPingOptions;                   // options window, ping count field
    std::function<void(const std::string &host)> pushHistory;  // the host box's history (text shown)
    std::function<long long()> pingAmount;                   // $PING_Amount
    std::function<long long()> pingDelay;                    // $PING_Delay
};

class NetToolsController : public QObject {
    Q_OBJECT
public:
    // The resolvers and echo port are the system's unless given (tests script them).
    explicit NetToolsController(NetToolsEnvironment env, QObject *parent = nullptr,
                                std::unique_ptr<HostResolver> dnsResolver = nullptr,
                                std::unique_ptr<HostResolver> pingResolver = nullptr,
                                std::unique_ptr<EchoPort> echo = nullptr);
    ~NetToolsController() override;

    // The three buttons. Ping and DNS resolving take the host box text.
    void Ping(const std::string &boxText);
    void LocalIp();
    void Resolve(const std::string &boxText);
    // Enter in the host box: resolves while that button is enabled.
    void Enter(const std::string &boxText);
    // The window closes: a ping run or lookup still going ends without writing.
    void Shutdown();

    bool PingEnabled() const { return pingEnabled_; }
    bool DnsEnabled() const { return dnsEnabled_; }
    PingRun &Pinger() { return *ping_; }
    // Every line written so far.
    const std::vector<std::string> &Lines() const { return lines_; }

signals:
    void lineWritten(const QString &line);  // as shown
    void pingEnabledChanged(bool enabled);
    void dnsEnabledChanged(bool enabled);
    void pingFinished();
    void lookupFinished();

private:
    void Write(const std::string &line);
    void SetPingEnabled(bool on);
    void SetDnsEnabled(bool on);

    NetToolsEnvironment env_;
    std::unique_ptr<HostResolver> dns_, pingResolver_;
    std::unique_ptr<EchoPort> echo_;
    PingRun *ping_ = nullptr;
    std::vector<std::string> lines_;
    bool pingEnabled_ = true, dnsEnabled_ = true;
};

}  // namespace qm
