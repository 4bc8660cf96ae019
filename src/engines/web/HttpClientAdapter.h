#pragma once
// Binds the program's HTTP client (THttpCli) to what a request object needs of it, and the
// options to the settings a web search reads.
#include "engines/web/WebSearchController.h"
#include "net/HttpCli.h"
#include "net/Proxy.h"
#include "search/HttpClientPort.h"

#include <functional>
#include <memory>

namespace qm {

class Options;

// A THttpCli seen as an HttpClientPort. A socket error aborts the request, as for every
// client made at run time.
class THttpCliPort : public HttpClientPort {
public:
    THttpCliPort();
    ~THttpCliPort() override;

    void SetUrl(const std::string &url) override;
    std::string Url() const override;
    void SetTag(int tag) override;
    int Tag() const override;
    void SetCookie(const std::string &cookie) override;
    void SetReference(const std::string &referer) override;
    void GetAsync() override;
    void HeadAsync() override;
    void Abort() override;
    bool Busy() const override;
    int ResponseStatus() const override;
    std::string ResponseLocation() const override;

    THttpCli &Client() { return *cli_; }

private:
    std::unique_ptr<THttpCli> cli_;
};

// Clients with the proxy settings of `proxy()` and the bounds of `limits()` applied when each
// is made (no function: no proxy, and the bounds of engine pages, HttpLimits{}).
HttpClientFactory MakeHttpClientFactory(std::function<ProxySettings()> proxy = {},
                                        std::function<HttpLimits()> limits = {});

// The options as a web search, the proxy set-up and the request bounds read them.
WebSearchSettings WebSettingsFrom(const Options &opt);
ProxySettings ProxyFrom(const Options &opt);
// Engine pages' bounds, with the idle time-out of the options ($NET_IdleTimeout).
HttpLimits LimitsFrom(const Options &opt);

}  // namespace qm
