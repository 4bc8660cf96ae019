#include "tools/Ping.h"

#include "toolkit/Misc.h"

#include <QSocketNotifier>

#include <arpa/inet.h>
#include <netinet/in.h>
#include <netinet/ip.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

namespace qm {

namespace {

constexpr quint8 kEchoRequest4 = 8, kEchoReply4 = 0;
constexpr quint8 kEchoRequest6 = 128, kEchoReply6 = 129;

quint16 Checksum(const unsigned char *data, size_t size) {
    quint32 sum = 0;
    for (size_t i = 0; i + 1 < size; i += 2) sum += quint32(data[i] << 8 | data[i + 1]);
    if (size & 1) sum += quint32(data[size - 1] << 8);
    while (sum >> 16) sum = (sum & 0xFFFF) + (sum >> 16);
    return quint16(~sum);
}

int OpenIcmpSocket(int family, int type) {
    const int protocol = family == AF_INET ? int(IPPROTO_ICMP) : int(IPPROTO_ICMPV6);
    return ::socket(family, type | SOCK_NONBLOCK | SOCK_CLOEXEC, protocol);
}

}  // namespace

// ---- IcmpEchoPort ------------------------------------------------------------------------

IcmpEchoPort::IcmpEchoPort(Kind kind, QObject *parent) : QObject(parent), kind_(kind) {
    timeout_.setSingleShot(true);
    connect(&timeout_, &QTimer::timeout, this, [this] {
        if (waiting_) Report(EchoReply{});
    });
    ident_ = quint16(::getpid() ^ quintptr(this));
}

IcmpEchoPort::~IcmpEchoPort() { CloseSocket(); }

bool IcmpEchoPort::Available(Kind kind) {
    const int fd = OpenIcmpSocket(AF_INET, kind == Kind::Raw ? SOCK_RAW : SOCK_DGRAM);
    if (fd < 0) return false;
    ::close(fd);
    return true;
}

void IcmpEchoPort::CloseSocket() {
    if (notifier_) {
        // Disabled before the descriptor goes; deleted later, as this may run inside its signal.
        notifier_->setEnabled(false);
        notifier_->deleteLater();
        notifier_ = nullptr;
    }
    if (fd_ >= 0) ::close(fd_);
    fd_ = -1;
    family_ = 0;
    opened_ = Kind::Auto;
}

bool IcmpEchoPort::Open(int family) {
    if (fd_ >= 0 && family_ == family) return true;
    CloseSocket();
    int fd = -1;
    Kind opened = Kind::Auto;
    if (kind_ != Kind::Raw && (fd = OpenIcmpSocket(family, SOCK_DGRAM)) >= 0) opened = Kind::Datagram;
    if (fd < 0 && kind_ != Kind::Datagram && (fd = OpenIcmpSocket(family, SOCK_RAW)) >= 0) opened = Kind::Raw;
    if (fd < 0) return false;
    fd_ = fd;
    family_ = family;
    opened_ = opened;
    notifier_ = new QSocketNotifier(qintptr(fd_), QSocketNotifier::Read, this);
    connect(notifier_, &QSocketNotifier::activated, this, [this] { OnReadable(); });
    return true;
}

EchoPort::Send IcmpEchoPort::SendEcho(const std::string &address, int timeoutMs, int payload, int ttl) {
    Cancel();
    sockaddr_storage to{};
    socklen_t toSize = 0;
    int family = 0;
    if (auto *a4 = reinterpret_cast<sockaddr_in *>(&to); inet_pton(AF_INET, address.c_str(), &a4->sin_addr) == 1) {
        a4->sin_family = AF_INET;
        family = AF_INET;
        toSize = sizeof(sockaddr_in);
    } else if (auto *a6 = reinterpret_cast<sockaddr_in6 *>(&to);
               inet_pton(AF_INET6, address.c_str(), &a6->sin6_addr) == 1) {
        a6->sin6_family = AF_INET6;
        family = AF_INET6;
        toSize = sizeof(sockaddr_in6);
    }
    waiting_ = true;
    target_ = address;
    if (family == 0) {  // not an address: no reply can come
        timeout_.start(0);
        return Send::Sent;
    }
    if (!Open(family)) {
        waiting_ = false;
        return Send::NotPermitted;
    }
    if (family == AF_INET)
        ::setsockopt(fd_, IPPROTO_IP, IP_TTL, &ttl, sizeof ttl);
    else
        ::setsockopt(fd_, IPPROTO_IPV6, IPV6_UNICAST_HOPS, &ttl, sizeof ttl);

    ++sequence_;
    std::string packet(8 + size_t(payload), '\0');
    auto *p = reinterpret_cast<unsigned char *>(packet.data());
    p[0] = family == AF_INET ? kEchoRequest4 : kEchoRequest6;
    p[4] = quint8(ident_ >> 8), p[5] = quint8(ident_);
    p[6] = quint8(sequence_ >> 8), p[7] = quint8(sequence_);
    for (int i = 0; i < payload; ++i) p[8 + i] = quint8('a' + i % 23);
    if (family == AF_INET) {  // ICMPv6 checksums are the kernel's
        const quint16 sum = Checksum(p, packet.size());
        p[2] = quint8(sum >> 8), p[3] = quint8(sum);
    }
    clock_.start();
    timeout_.start(timeoutMs);
    if (::sendto(fd_, packet.data(), packet.size(), 0, reinterpret_cast<sockaddr *>(&to), toSize) < 0)
        timeout_.start(0);  // nothing went out: reported as no reply
    return Send::Sent;
}

void IcmpEchoPort::Cancel() {
    waiting_ = false;
    timeout_.stop();
}

void IcmpEchoPort::OnReadable() {
    unsigned char buffer[65536];
    for (;;) {
        sockaddr_storage from{};
        socklen_t fromSize = sizeof from;
        const ssize_t n = ::recvfrom(fd_, buffer, sizeof buffer, 0, reinterpret_cast<sockaddr *>(&from), &fromSize);
        if (n < 0) return;  // drained (EAGAIN) or an error the time-out will report
        if (!waiting_) continue;
        const unsigned char *icmp = buffer;
        size_t size = size_t(n);
        if (family_ == AF_INET && opened_ == Kind::Raw) {  // a raw IPv4 socket hands over the IP header
            if (size < 20) continue;
            const size_t header = size_t(buffer[0] & 0x0F) * 4;
            if (header > size) continue;
            icmp += header;
            size -= header;
        }
        if (size < 8) continue;
        const quint8 type = icmp[0];
        const quint16 ident = quint16(icmp[4] << 8 | icmp[5]);
        const quint16 sequence = quint16(icmp[6] << 8 | icmp[7]);
        if (type != (family_ == AF_INET ? kEchoReply4 : kEchoReply6)) continue;
        if (sequence != sequence_) continue;
        if (opened_ == Kind::Raw && ident != ident_) continue;  // another program's echo
        char text[INET6_ADDRSTRLEN] = {};
        if (from.ss_family == AF_INET)
            inet_ntop(AF_INET, &reinterpret_cast<sockaddr_in *>(&from)->sin_addr, text, sizeof text);
        else if (from.ss_family == AF_INET6)
            inet_ntop(AF_INET6, &reinterpret_cast<sockaddr_in6 *>(&from)->sin6_addr, text, sizeof text);
        EchoReply reply;
        reply.ok = true;
        reply.from = text[0] ? text : target_;
        reply.ms = int(clock_.elapsed());
        reply.bytes = int(size - 8);
        Report(reply);
    }
}

void IcmpEchoPort::Report(const EchoReply &reply) {
    waiting_ = false;
    timeout_.stop();
    if (onReply) {
        auto handler = onReply;  // the handler may send the next request
        handler(reply);
    }
}

// ---- PingRun -----------------------------------------------------------------------------

PingRun::PingRun(HostResolver &resolver, EchoPort &echo, MessageFn message, QObject *parent)
    : QObject(parent), resolver_(resolver), echo_(echo), message_(std::move(message)) {
    delay_.setSingleShot(true);
    connect(&delay_, &QTimer::timeout, this, [this] {
        ++completed_;
        Step();
    });
    echo_.onReply = [this](const EchoReply &r) { OnEcho(r); };
}

PingRun::~PingRun() {
    Abort();
    echo_.onReply = nullptr;
}

PingRun::Start PingRun::Begin(const std::string &hostText, long long count, long long delayMs) {
    resolver_.Cancel();
    const std::string host = Trim(hostText);
    if (host.empty()) return Start::EmptyHost;
    if (count < 1) return Start::BadCount;
    Abort();
    result_ = PingResult{};
    result_.host = host;
    count_ = count;
    delayMs_ = delayMs < 0 ? 0 : delayMs > 3600000 ? 3600000 : delayMs;
    completed_ = 0;
    sum_ = 0;
    running_ = true;
    Step();
    return Start::Started;
}

void PingRun::Abort() {
    running_ = false;
    delay_.stop();
    resolver_.Cancel();
    echo_.Cancel();
}

void PingRun::Step() {
    if (!running_) return;
    if (completed_ >= count_) return Finish("done");
    if (completed_ == 0)
        resolver_.Start(result_.host, false, [this](const ResolveOutcome &out) { OnResolved(out); });
    else
        SendNext();
}

void PingRun::OnResolved(const ResolveOutcome &out) {
    if (!running_) return;
    const std::string &host = result_.host;
    if (!out.found()) {
        Write("PING:>\t" + host + "\t" + T("unknown host") + "...");
        return Finish("unknown host");
    }
    // The first IPv4 address; a host with IPv6 addresses only is pinged over ICMPv6.
    std::string address = out.results.front();
    for (const auto &a : out.results)
        if (a.find(':') == std::string::npos) {
            address = a;
            break;
        }
    result_.address = address;
    Write("PING:>\t" + T("address") + "= " + host + "\tIP= " + address);
    Write("PING:>");
    SendNext();
}

void PingRun::SendNext() {
    if (echo_.SendEcho(*result_.address, kPingTimeoutMs, kPingPayload, kPingTtl) == EchoPort::Send::NotPermitted) {
        Write("PING:>\t" + result_.host +
              "\tICMP echo is not permitted: the user's group lies outside net.ipv4.ping_group_range"
              " and the program lacks CAP_NET_RAW...");
        return Finish("not permitted");
    }
    ++result_.sent;
}

void PingRun::OnEcho(const EchoReply &reply) {
    if (!running_) return;
    if (!reply.ok) {
        Write("PING:>\t" + result_.host + "\t" + T("Can't PING this host") + "...");
        return Finish("no reply");
    }
    const int k = int(completed_ + 1);
    Write("PING:>\t" + reply.from + "\t\tN\xC2\xB0=" + std::to_string(k) + "\t" + T("Delay") + "= " +
          std::to_string(reply.ms) + " msecs\t" + T("Received") + "= " + std::to_string(reply.bytes) + " bytes");
    ++result_.received;
    sum_ += reply.ms;
    result_.replies.push_back({k, reply.from, reply.ms, reply.bytes});
    delay_.start(int(delayMs_));
}

void PingRun::Finish(const char *status) {
    result_.status = status;
    Write("PING:>");
    const std::string &host = result_.host;
    if (result_.status == "done") {
        result_.average = sum_ / count_;
        Write("PING:>\t" + host + "\t" + T("Average") + " : " + std::to_string(*result_.average) + " ms\t" +
              T("end of process") + "...");
    } else {
        // An early stop has no average: it would divide by echoes never sent.
        Write("PING:>\t" + host + "\t" + T("end of process") + "...");
    }
    Write("");
    running_ = false;
    delay_.stop();
    emit finished();
}

void PingRun::Write(std::string line) {
    result_.lines.push_back(line);
    if (onLine) onLine(line);
}

}  // namespace qm
