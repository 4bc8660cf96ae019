#pragma once
// Proxy set-up of a client from the proxy settings of the options.
#include <string>

namespace qm {

class THttpCli;
struct ProxyOptions;

// The proxy part of the options, as the options file keeps it.
struct ProxySettings {
    enum Mode { None = 0, Http = 1, Socks = 2 };
    int mode = None;        // $PROXY_Mode: 0 "None", 1 "HTTP Proxy", 2 "SOCKS proxy"
    int socksLevel = 0;     // $PROXY_SocksLevel: 0 "4", 1 "4a", 2 "5"
    bool usePassword = false;  // $PROXY_UsePWD
    std::string address;    // $PROXY_ADDR
    std::string port;       // $PROXY_PORT
    std::string user;       // $PROXY_USER
    std::string password;   // $PROXY_PASS
};

// Sets the HTTP proxy or SOCKS properties of the client from the settings; called on every
// client before its first request and whenever a request object is built.
void ApplyProxySettings(THttpCli &client, const ProxySettings &settings);
// The same from the proxy part of the options (settings/Opt.h).
void ApplyProxySettings(THttpCli &client, const ProxyOptions &options);
ProxySettings ToProxySettings(const ProxyOptions &options);

}  // namespace qm
