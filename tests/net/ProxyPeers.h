#pragma once
// Real proxy servers for the tests, started on loopback with generated configurations:
// tinyproxy (HTTP, Basic authentication), danted (SOCKS 4 and 5), microsocks (SOCKS 5 with
// user and password), and a small SOCKS 4A server of our own.
#include <QProcess>
#include <QTemporaryDir>

#include <atomic>
#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace qm::test {

// Full path of a peer program, or "" when it is not installed.
std::string FindProgram(const std::string &name);

class ProxyPeer {
public:
    ~ProxyPeer();
    // Starts the program found by name with the given arguments ("{port}" and "{dir}" are
    // replaced) after writing the file "config" (same replacements); waits until the port
    // accepts connections. The error text says why it failed.
    bool start(const std::string &program, std::vector<std::string> args, const std::string &config = {});
    void stop();
    int port() const { return port_; }
    const std::string &error() const { return error_; }
    std::string output();

private:
    QTemporaryDir dir_;
    std::unique_ptr<QProcess> process_;
    int port_ = 0;
    std::string error_;
};

std::unique_ptr<ProxyPeer> StartTinyproxy(const std::string &user, const std::string &password);
std::unique_ptr<ProxyPeer> StartDante();
std::unique_ptr<ProxyPeer> StartMicrosocks(const std::string &user, const std::string &password);

// SOCKS 4 and 4A (RFC-less but well known): CONNECT only. A 4A request's host name is
// looked up in `hosts` (then taken as an address). When userId is set, requests with another
// user code are rejected.
class Socks4Server {
public:
    explicit Socks4Server(std::string userId = {});
    ~Socks4Server();
    bool start();
    void stop();
    int port() const { return port_; }
    std::map<std::string, std::string> hosts;  // name -> IPv4 address
    std::atomic<int> connects{0};
    bool mute = false;  // accept and then say nothing (set before start())
    std::vector<std::string> namesSeen();

private:
    void acceptLoop();
    void serve(int fd);
    std::string userId_;
    int listenFd_ = -1;
    int port_ = 0;
    std::atomic<bool> stop_{false};
    std::thread acceptor_;
    std::mutex mutex_;
    std::vector<std::thread> workers_;
    std::vector<std::string> names_;
};

}  // namespace qm::test
