#include "net/NetConfig.h"

#include "net/ServiceHosts.h"

#include <cstdlib>

namespace qm {

namespace {

struct Config {
    std::vector<std::string> connectTo;
    int routePort = 0;
    std::string routeAddress;
    bool routeEveryHost = false;
    std::string caFile;
};

Config &Cfg() {
    static Config config;
    return config;
}

std::string Trimmed(std::string_view s) {
    size_t b = 0, e = s.size();
    while (b < e && (unsigned char)s[b] <= ' ') ++b;
    while (e > b && (unsigned char)s[e - 1] <= ' ') --e;
    return std::string(s.substr(b, e - b));
}

std::string Route(const std::string &host, int port, std::string_view address) {
    std::string target(address);
    if (target.find(':') != std::string::npos) target = "[" + target + "]";  // IPv6
    return host + "::" + target + ":" + std::to_string(port);
}

}  // namespace

void SetConnectTo(std::string_view entries) {
    Cfg().connectTo.clear();
    AddConnectTo(entries);
}

void AddConnectTo(std::string_view entries) {
    size_t pos = 0;
    while (pos <= entries.size()) {
        size_t comma = entries.find(',', pos);
        if (comma == std::string_view::npos) comma = entries.size();
        std::string entry = Trimmed(entries.substr(pos, comma - pos));
        if (!entry.empty()) Cfg().connectTo.push_back(entry);
        pos = comma + 1;
    }
}

const std::vector<std::string> &ConnectTo() { return Cfg().connectTo; }

void AddConnectToFromEnvironment() {
    if (const char *env = std::getenv("QUILLMAR_CONNECT_TO")) AddConnectTo(env);
}

std::string ServiceHostsConnectTo(int port, std::string_view address) {
    std::string out;
    for (const auto &row : ServiceHosts()) {
        if (row.host.empty()) continue;
        if (!out.empty()) out += ",";
        out += Route(row.host, port, address);
    }
    return out;
}

void RouteServiceHostsTo(int port, std::string_view address, bool everyHost) {
    Cfg().routePort = port;
    Cfg().routeAddress = std::string(address);
    Cfg().routeEveryHost = port > 0 && everyHost;
}

std::vector<std::string> ConnectToForRequest() {
    std::vector<std::string> out = Cfg().connectTo;
    if (Cfg().routePort > 0)
        for (const auto &row : ServiceHosts())
            if (!row.host.empty()) out.push_back(Route(row.host, Cfg().routePort, Cfg().routeAddress));
    if (Cfg().routePort > 0 && Cfg().routeEveryHost)
        out.push_back(Route("", Cfg().routePort, Cfg().routeAddress));  // any host, any port
    return out;
}

void SetCaFile(std::string path) { Cfg().caFile = std::move(path); }

const std::string &CaFile() { return Cfg().caFile; }

}  // namespace qm
