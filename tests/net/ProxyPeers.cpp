#include "ProxyPeers.h"

#include "NetTestUtil.h"

#include <QDir>
#include <QFile>
#include <QStandardPaths>
#include <QThread>

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cstring>
#include <sys/stat.h>

namespace qm::test {

namespace {

bool PortAccepts(int port) {
    int fd = ::socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in a{};
    a.sin_family = AF_INET;
    a.sin_port = htons(uint16_t(port));
    a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    bool ok = ::connect(fd, reinterpret_cast<sockaddr *>(&a), sizeof a) == 0;
    ::close(fd);
    return ok;
}

std::string Replace(std::string s, const std::string &from, const std::string &to) {
    for (size_t pos = 0; (pos = s.find(from, pos)) != std::string::npos; pos += to.size()) s.replace(pos, from.size(), to);
    return s;
}

bool ReadAll(int fd, char *buf, size_t n) {
    while (n > 0) {
        ssize_t r = ::recv(fd, buf, n, 0);
        if (r <= 0) return false;
        buf += r;
        n -= size_t(r);
    }
    return true;
}

bool ReadZeroTerminated(int fd, std::string &out) {
    char c;
    while (out.size() < 1024) {
        if (::recv(fd, &c, 1, 0) != 1) return false;
        if (c == 0) return true;
        out.push_back(c);
    }
    return false;
}

}  // namespace

std::string FindProgram(const std::string &name) {
    QString found = QStandardPaths::findExecutable(QString::fromStdString(name));
    if (found.isEmpty())
        found = QStandardPaths::findExecutable(QString::fromStdString(name), {"/usr/sbin", "/usr/local/sbin", "/sbin"});
    return found.toStdString();
}

ProxyPeer::~ProxyPeer() { stop(); }

bool ProxyPeer::start(const std::string &program, std::vector<std::string> args, const std::string &config) {
    std::string path = FindProgram(program);
    if (path.empty()) {
        error_ = program + " is not installed";
        return false;
    }
    port_ = ClosedPort();
    std::string dir = dir_.path().toStdString();
    ::chmod(dir.c_str(), 0755);  // peers that drop privileges still read their files
    auto fill = [&](const std::string &s) { return Replace(Replace(s, "{port}", std::to_string(port_)), "{dir}", dir); };
    if (!config.empty()) {
        QFile f(QString::fromStdString(dir + "/config"));
        if (!f.open(QIODevice::WriteOnly)) {
            error_ = "cannot write the configuration";
            return false;
        }
        f.write(QByteArray::fromStdString(fill(config)));
        f.close();
        f.setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ReadOther | QFileDevice::ReadGroup);
    }
    QStringList list;
    for (auto &a : args) list << QString::fromStdString(fill(a));
    process_ = std::make_unique<QProcess>();
    process_->setProcessChannelMode(QProcess::MergedChannels);
    process_->setWorkingDirectory(dir_.path());
    process_->start(QString::fromStdString(path), list);
    if (!process_->waitForStarted(5000)) {
        error_ = program + " did not start";
        return false;
    }
    for (int i = 0; i < 100; ++i) {
        if (PortAccepts(port_)) return true;
        if (process_->state() == QProcess::NotRunning) break;
        QThread::msleep(50);
    }
    error_ = program + " does not listen: " + output();
    return false;
}

std::string ProxyPeer::output() {
    if (!process_) return {};
    process_->waitForReadyRead(10);
    return process_->readAll().toStdString();
}

void ProxyPeer::stop() {
    if (!process_) return;
    if (process_->state() != QProcess::NotRunning) {
        process_->terminate();
        if (!process_->waitForFinished(5000)) {
            process_->kill();
            process_->waitForFinished(5000);
        }
    }
    process_.reset();
    for (int i = 0; i < 50 && port_ && PortAccepts(port_); ++i) QThread::msleep(50);
}

std::unique_ptr<ProxyPeer> StartTinyproxy(const std::string &user, const std::string &password) {
    std::string config =
        "Port {port}\nListen 127.0.0.1\nTimeout 30\nMaxClients 64\nAllow 127.0.0.1\nLogLevel Error\n"
        "PidFile \"{dir}/tinyproxy.pid\"\n";
    if (!user.empty()) config += "BasicAuth " + user + " " + password + "\n";
    if (::getuid() == 0) config += "User nobody\nGroup nogroup\n";
    auto peer = std::make_unique<ProxyPeer>();
    peer->start("tinyproxy", {"-d", "-c", "{dir}/config"}, config);
    return peer;
}

std::unique_ptr<ProxyPeer> StartDante() {
    std::string config =
        "logoutput: stderr\n"
        "internal: 127.0.0.1 port = {port}\n"
        "external: 127.0.0.1\n"
        "clientmethod: none\n"
        "socksmethod: none\n";
    if (::getuid() == 0) config += "user.privileged: root\nuser.unprivileged: nobody\n";
    config +=
        "client pass {\n  from: 127.0.0.0/8 to: 0.0.0.0/0\n}\n"
        "socks pass {\n  from: 127.0.0.0/8 to: 0.0.0.0/0\n  command: connect\n  protocol: tcp\n}\n";
    auto peer = std::make_unique<ProxyPeer>();
    peer->start("danted", {"-f", "{dir}/config", "-N", "1", "-p", "{dir}/danted.pid"}, config);
    return peer;
}

std::unique_ptr<ProxyPeer> StartMicrosocks(const std::string &user, const std::string &password) {
    auto peer = std::make_unique<ProxyPeer>();
    std::vector<std::string> args = {"-i", "127.0.0.1", "-p", "{port}"};
    if (!user.empty()) args.insert(args.end(), {"-u", user, "-P", password});
    peer->start("microsocks", args);
    return peer;
}

// ---- SOCKS 4 / 4A ------------------------------------------------------------------------

Socks4Server::Socks4Server(std::string userId) : userId_(std::move(userId)) {}

Socks4Server::~Socks4Server() { stop(); }

bool Socks4Server::start() {
    listenFd_ = ::socket(AF_INET, SOCK_STREAM, 0);
    int one = 1;
    ::setsockopt(listenFd_, SOL_SOCKET, SO_REUSEADDR, &one, sizeof one);
    sockaddr_in a{};
    a.sin_family = AF_INET;
    a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    if (::bind(listenFd_, reinterpret_cast<sockaddr *>(&a), sizeof a) != 0 || ::listen(listenFd_, 32) != 0) return false;
    socklen_t len = sizeof a;
    ::getsockname(listenFd_, reinterpret_cast<sockaddr *>(&a), &len);
    port_ = ntohs(a.sin_port);
    acceptor_ = std::thread([this] { acceptLoop(); });
    return true;
}

void Socks4Server::stop() {
    if (listenFd_ < 0) return;
    stop_ = true;
    if (acceptor_.joinable()) acceptor_.join();
    ::close(listenFd_);
    listenFd_ = -1;
    std::vector<std::thread> workers;
    {
        std::lock_guard lock(mutex_);
        workers.swap(workers_);
    }
    for (auto &t : workers) t.join();
}

std::vector<std::string> Socks4Server::namesSeen() {
    std::lock_guard lock(mutex_);
    return names_;
}

void Socks4Server::acceptLoop() {
    while (!stop_) {
        pollfd p{listenFd_, POLLIN, 0};
        if (::poll(&p, 1, 50) <= 0) continue;
        int fd = ::accept(listenFd_, nullptr, nullptr);
        if (fd < 0) continue;
        std::lock_guard lock(mutex_);
        workers_.emplace_back([this, fd] { serve(fd); });
    }
}

void Socks4Server::serve(int fd) {
    if (mute) {
        while (!stop_) {
            pollfd p{fd, POLLIN, 0};
            if (::poll(&p, 1, 50) > 0) {
                char sink[4096];
                if (::recv(fd, sink, sizeof sink, 0) <= 0) break;
            }
        }
        ::close(fd);
        return;
    }
    unsigned char head[8];
    std::string user, host;
    auto reply = [fd](unsigned char code) {
        unsigned char r[8] = {0, code, 0, 0, 0, 0, 0, 0};
        ::send(fd, r, sizeof r, MSG_NOSIGNAL);
    };
    if (!ReadAll(fd, reinterpret_cast<char *>(head), 8) || head[0] != 4 || head[1] != 1 ||
        !ReadZeroTerminated(fd, user)) {
        ::close(fd);
        return;
    }
    in_addr target{};
    std::memcpy(&target.s_addr, head + 4, 4);
    uint32_t ip = ntohl(target.s_addr);
    if (ip > 0 && ip < 256) {  // 4A: 0.0.0.x, a host name follows
        if (!ReadZeroTerminated(fd, host)) {
            ::close(fd);
            return;
        }
        {
            std::lock_guard lock(mutex_);
            names_.push_back(host);
        }
        auto it = hosts.find(host);
        if (::inet_pton(AF_INET, (it != hosts.end() ? it->second : host).c_str(), &target) != 1) {
            reply(0x5B);
            ::close(fd);
            return;
        }
    }
    if (!userId_.empty() && user != userId_) {
        reply(0x5D);  // user code not accepted
        ::close(fd);
        return;
    }
    int out = ::socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in a{};
    a.sin_family = AF_INET;
    a.sin_addr = target;
    std::memcpy(&a.sin_port, head + 2, 2);
    if (::connect(out, reinterpret_cast<sockaddr *>(&a), sizeof a) != 0) {
        reply(0x5B);
        ::close(out);
        ::close(fd);
        return;
    }
    ++connects;
    reply(0x5A);
    char buf[16384];
    pollfd p[2] = {{fd, POLLIN, 0}, {out, POLLIN, 0}};
    while (!stop_) {
        if (::poll(p, 2, 50) <= 0) continue;
        bool closed = false;
        for (int i = 0; i < 2 && !closed; ++i) {
            if (!(p[i].revents & (POLLIN | POLLHUP | POLLERR))) continue;
            ssize_t n = ::recv(p[i].fd, buf, sizeof buf, 0);
            if (n <= 0 || ::send(p[1 - i].fd, buf, size_t(n), MSG_NOSIGNAL) != n) closed = true;
        }
        if (closed) break;
    }
    ::close(out);
    ::close(fd);
}

}  // namespace qm::test
