#include "tools/NetTools.h"

#include "toolkit/DisplayText.h"
#include "toolkit/Misc.h"
#include "tools/Ping.h"
#include "tools/Resolve.h"

#include <arpa/inet.h>
#include <ifaddrs.h>
#include <net/if.h>
#include <netinet/in.h>

namespace qm {

std::string Say(const MessageFn &message, const char *english) {
    if (!message) return english;
    std::string t = message(english);
    return t.empty() ? std::string(english) : t;
}

std::string CleanHostText(std::string_view boxText) {
    std::string host = Trim(boxText);
    for (const char *scheme : {"http://", "https://", "ftp://", "nntp://", "news://", "pop3://", "smtp://"})
        host = TMisc::ReplaceFirst(host, scheme, "");
    return host;
}

std::vector<std::string> LocalAddresses() {
    std::vector<std::string> out;
    ifaddrs *list = nullptr;
    if (getifaddrs(&list) != 0) return out;
    for (ifaddrs *i = list; i; i = i->ifa_next) {
        if (!i->ifa_addr || !(i->ifa_flags & IFF_UP) || (i->ifa_flags & IFF_LOOPBACK)) continue;
        char text[INET6_ADDRSTRLEN] = {};
        if (i->ifa_addr->sa_family == AF_INET) {
            inet_ntop(AF_INET, &reinterpret_cast<sockaddr_in *>(i->ifa_addr)->sin_addr, text, sizeof text);
        } else if (i->ifa_addr->sa_family == AF_INET6) {
            const in6_addr &a = reinterpret_cast<sockaddr_in6 *>(i->ifa_addr)->sin6_addr;
            if (IN6_IS_ADDR_LINKLOCAL(&a)) continue;
            inet_ntop(AF_INET6, &a, text, sizeof text);
        } else {
            continue;
        }
        out.push_back(text);
    }
    freeifaddrs(list);
    return out;
}

std::vector<std::string> LocalIpLines(const std::vector<std::string> &addresses, const MessageFn &message) {
    const std::string prefix = Say(message, "Local IP") + ":>";
    if (addresses.size() == 1) return {prefix + "\t" + addresses.front()};
    std::vector<std::string> lines;
    lines.push_back(prefix + "\t" + Say(message, "Found") + " " + std::to_string(addresses.size()) + " " +
                    Say(message, "addresses"));
    if (!addresses.empty()) lines.push_back(prefix);
    for (const auto &a : addresses) lines.push_back(prefix + "\t" + a);
    lines.emplace_back();
    return lines;
}

std::vector<std::string> DnsLines(const std::string &host, const ResolveOutcome &out, const MessageFn &message) {
    std::vector<std::string> lines;
    const std::string head = "DNS:>\t" + host + "\t";
    if (!out.found()) {
        const int code = out.error != 0 ? out.error : -1;
        lines.push_back(head + Say(message, "Not found") + " - " + Say(message, "Error") + " #" +
                        std::to_string(static_cast<unsigned>(code)));
    } else if (out.results.size() == 1) {
        lines.push_back(head + "=>\t" + out.results.front());
    } else {
        lines.push_back(head + Say(message, "returns") + " " + std::to_string(out.results.size()) + " " +
                        Say(message, "addresses"));
        for (size_t i = 0; i < out.results.size(); ++i)
            lines.push_back("DNS:>\t      " + Say(message, "address") + "[" + std::to_string(i + 1) + "]:\t" +
                            out.results[i]);
    }
    lines.emplace_back();
    return lines;
}

// ---- NetToolsController ------------------------------------------------------------------

NetToolsController::NetToolsController(NetToolsEnvironment env, QObject *parent,
                                       std::unique_ptr<HostResolver> dnsResolver,
                                       std::unique_ptr<HostResolver> pingResolver, std::unique_ptr<EchoPort> echo)
    : QObject(parent),
      env_(std::move(env)),
      dns_(dnsResolver ? std::move(dnsResolver) : std::make_unique<SystemResolver>()),
      pingResolver_(pingResolver ? std::move(pingResolver) : std::make_unique<SystemResolver>()),
      echo_(echo ? std::move(echo) : std::make_unique<IcmpEchoPort>()) {
    ping_ = new PingRun(*pingResolver_, *echo_, env_.message, this);
    ping_->onLine = [this](const std::string &line) { Write(line); };
    connect(ping_, &PingRun::finished, this, [this] {
        SetPingEnabled(true);
        emit pingFinished();
    });
}

NetToolsController::~NetToolsController() {
    Shutdown();
    delete ping_;  // before the port and resolver it uses
    ping_ = nullptr;
}

void NetToolsController::Shutdown() {
    if (ping_) ping_->Abort();
    dns_->Cancel();
}

void NetToolsController::Ping(const std::string &boxText) {
    if (!pingEnabled_) return;  // runs do not nest
    const long long n = env_.pingAmount ? env_.pingAmount() : 5;
    const long long delay = env_.pingDelay ? env_.pingDelay() : 500;
    const std::string host = Trim(boxText);
    switch (ping_->Begin(host, n, delay)) {
    case PingRun::Start::EmptyHost:
        if (env_.alert) env_.alert(Say(env_.message, "You must type an address to resolve first"));
        if (env_.focusHostBox) env_.focusHostBox();
        return;
    case PingRun::Start::BadCount:
        if (env_.alert) env_.alert(Say(env_.message, "You must specify at least 1 PING to perform"));
        if (env_.showPingOptions) env_.showPingOptions();
        return;
    case PingRun::Start::Started:
        break;
    }
    SetPingEnabled(false);
    if (env_.pushHistory) env_.pushHistory(host);
}

void NetToolsController::LocalIp() {
    for (const auto &line : LocalIpLines(LocalAddresses(), env_.message)) Write(line);
}

void NetToolsController::Resolve(const std::string &boxText) {
    if (Trim(boxText).empty()) {
        if (env_.alert) env_.alert(Say(env_.message, "You must type an address to resolve first"));
        if (env_.focusHostBox) env_.focusHostBox();
        return;
    }
    const std::string host = CleanHostText(boxText);
    if (env_.pushHistory) env_.pushHistory(host);
    dns_->Cancel();
    SetDnsEnabled(false);
    dns_->Start(host, IsDottedIPv4(host), [this, host](const ResolveOutcome &out) {
        for (const auto &line : DnsLines(host, out, env_.message)) Write(line);
        SetDnsEnabled(true);
        emit lookupFinished();
    });
}

void NetToolsController::Enter(const std::string &boxText) {
    if (dnsEnabled_) Resolve(boxText);
}

void NetToolsController::Write(const std::string &line) {
    lines_.push_back(line);
    emit lineWritten(DisplayText(line));
}

void NetToolsController::SetPingEnabled(bool on) {
    if (pingEnabled_ == on) return;
    pingEnabled_ = on;
    emit pingEnabledChanged(on);
}

void NetToolsController::SetDnsEnabled(bool on) {
    if (dnsEnabled_ == on) return;
    dnsEnabled_ = on;
    emit dnsEnabledChanged(on);
}

}  // namespace qm
