#pragma once
// Binds the program's HTTP client (THttpCli) to what a request object needs of it, and the
// options to the settings a web search reads.
#include "engines/web/WebSearchController.h"
#include "net/Proxy.h"
#include "search/HttpClientPort.h"

#include <functional>
#include <memory>

namespace qm {

class Options;
class THttpCli;

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

// Clients with the proxy settings of `proxy()` applied when each is made.
HttpClientFactory MakeHttpClientFactory(std::function<ProxySettings()> proxy = {});

// The options as a web search and the proxy set-up read them.
WebSearchSettings WebSettingsFrom(const Options &opt);
ProxySettings ProxyFrom(const Options &opt);

}  // namespace qm
