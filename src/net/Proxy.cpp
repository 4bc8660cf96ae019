#include "net/Proxy.h"

#include "net/HttpCli.h"
#include "settings/Opt.h"

namespace qm {

namespace {

std::string Trim(const std::string &s) {
    size_t b = 0, e = s.size();
    while (b < e && (unsigned char)s[b] <= ' ') ++b;
    while (e > b && (unsigned char)s[e - 1] <= ' ') --e;
    return s.substr(b, e - b);
}

void ClearHttpProxy(THttpCli &c) {
    c.Proxy.clear();
    c.ProxyPort.clear();
    c.ProxyUsername.clear();
    c.ProxyPassword.clear();
}

}  // namespace

void ApplyProxySettings(THttpCli &c, const ProxySettings &s) {
    c.SocksServer.clear();
    c.SocksPort.clear();
    c.SocksUsercode.clear();
    c.SocksPassword.clear();
    switch (s.mode) {
    case ProxySettings::Http:
        c.Proxy = Trim(s.address);
        c.ProxyPort = Trim(s.port);
        c.ProxyUsername.clear();
        c.ProxyPassword.clear();
        if (s.usePassword) {
            c.ProxyUsername = Trim(s.user);
            c.ProxyPassword = Trim(s.password);
        }
        break;
    case ProxySettings::Socks:
        ClearHttpProxy(c);
        c.SocksLevel = s.socksLevel == 1 ? "4A" : s.socksLevel == 2 ? "5" : "4";
        c.SocksServer = Trim(s.address);
        c.SocksPort = Trim(s.port);
        if (s.usePassword) {
            c.SocksUsercode = Trim(s.user);
            c.SocksPassword = Trim(s.password);
        }
        break;
    default:
        ClearHttpProxy(c);
        break;
    }
}

ProxySettings ToProxySettings(const ProxyOptions &o) {
    ProxySettings s;
    s.mode = o.mode;
    s.socksLevel = o.socksLevel;
    s.usePassword = o.usePassword;
    s.address = o.address;
    s.port = o.port;
    s.user = o.user;
    s.password = o.password;
    return s;
}

void ApplyProxySettings(THttpCli &client, const ProxyOptions &options) {
    ApplyProxySettings(client, ToProxySettings(options));
}

}  // namespace qm
