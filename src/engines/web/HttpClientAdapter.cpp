#include "engines/web/HttpClientAdapter.h"

#include "engines/web/WebEngineTable.h"
#include "net/HttpCli.h"
#include "settings/Opt.h"

#include <algorithm>

namespace qm {

THttpCliPort::THttpCliPort() : cli_(std::make_unique<THttpCli>()) {
    QObject::connect(cli_.get(), &THttpCli::OnDocData, [this](THttpCli *, const char *buffer, qsizetype count) {
        if (onData) onData(std::string_view(buffer, size_t(count)));
    });
    QObject::connect(cli_.get(), &THttpCli::OnRequestDone, [this](THttpCli *, HttpRequest, int error) {
        if (onDone) onDone(error);
    });
    QObject::connect(cli_.get(), &THttpCli::OnCookie, [this](THttpCli *, const std::string &cookie, bool &) {
        if (onCookie) onCookie(cookie);
    });
    QObject::connect(cli_.get(), &THttpCli::OnSocketError, [this](THttpCli *, int) { cli_->Abort(); });
}

THttpCliPort::~THttpCliPort() = default;

void THttpCliPort::SetUrl(const std::string &url) { cli_->URL = url; }
std::string THttpCliPort::Url() const { return cli_->URL; }
void THttpCliPort::SetTag(int tag) { cli_->Tag = tag; }
int THttpCliPort::Tag() const { return cli_->Tag; }
void THttpCliPort::SetCookie(const std::string &cookie) { cli_->Cookie = cookie; }
void THttpCliPort::SetReference(const std::string &referer) { cli_->Reference = referer; }
void THttpCliPort::GetAsync() { cli_->GetASync(); }
void THttpCliPort::HeadAsync() { cli_->HeadASync(); }
void THttpCliPort::Abort() { cli_->Abort(); }
bool THttpCliPort::Busy() const { return cli_->Busy(); }
int THttpCliPort::ResponseStatus() const { return cli_->ResponseStatus(); }

std::string THttpCliPort::ResponseLocation() const {
    return cli_->ResponseLocation().empty() ? cli_->URL : cli_->ResponseLocation();
}

HttpClientFactory MakeHttpClientFactory(std::function<ProxySettings()> proxy, std::function<HttpLimits()> limits) {
    return [proxy, limits]() -> std::unique_ptr<HttpClientPort> {
        auto port = std::make_unique<THttpCliPort>();
        ApplyProxySettings(port->Client(), proxy ? proxy() : ProxySettings{});
        ApplyHttpLimits(port->Client(), limits ? limits() : HttpLimits{});
        return port;
    };
}

WebSearchSettings WebSettingsFrom(const Options &opt) {
    WebSearchSettings s;
    s.maxResults = std::to_string(opt.web.maxResults);
    s.resultMode = opt.web.resultMode == 1 ? 1 : 0;
    s.cacheMode = opt.web.cacheMode;
    s.muteSounds = opt.muteWav;
    s.mergeSameSite = opt.mergeSameSite;
    const auto table = BuildWebEngineTable();
    s.engineEnabled.resize(table.size(), true);
    for (size_t i = 0; i < table.size(); ++i) {
        bool known = false;
        for (const auto &sw : opt.webEngines)
            if (FindWebEngineByName(table, sw.name) == int(i)) {
                s.engineEnabled[i] = sw.enabled;
                known = true;
                break;
            }
        if (!known) s.engineEnabled[i] = table[i].defaultEnabled;
    }
    return s;
}

ProxySettings ProxyFrom(const Options &opt) {
    ProxySettings p;
    p.mode = opt.proxy.mode;
    p.socksLevel = opt.proxy.socksLevel;
    p.usePassword = opt.proxy.usePassword;
    p.address = opt.proxy.address;
    p.port = opt.proxy.port;
    p.user = opt.proxy.user;
    p.password = opt.proxy.password;
    return p;
}

HttpLimits LimitsFrom(const Options &opt) {
    HttpLimits l;
    l.idleTimeout = std::max(0, opt.idleTimeout);
    return l;
}

}  // namespace qm
