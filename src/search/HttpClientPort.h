#pragma once
// What a request object needs of its HTTP client. The program's client (src/net) is bound
// to it by an adapter; tests may script one. All events come from the event loop of the one
// thread, never from inside the call that started the request.
#include <functional>
#include <memory>
#include <string>
#include <string_view>

namespace qm {

class HttpClientPort {
public:
    virtual ~HttpClientPort() = default;

    virtual void SetUrl(const std::string &url) = 0;
    virtual std::string Url() const = 0;
    virtual void SetTag(int tag) = 0;
    virtual int Tag() const = 0;
    virtual void SetCookie(const std::string &cookie) = 0;      // Cookie request header
    virtual void SetReference(const std::string &referer) = 0;  // Referer request header

    virtual void GetAsync() = 0;
    virtual void HeadAsync() = 0;
    // Cancels the request in progress; no data event of it arrives afterwards, its done
    // event does (with a non-zero error).
    virtual void Abort() = 0;
    virtual bool Busy() const = 0;

    virtual int ResponseStatus() const = 0;
    // The address reached after following redirections (the request's own address when
    // there were none).
    virtual std::string ResponseLocation() const = 0;

    // Events. onDone's error is 0 when the exchange completed.
    std::function<void(std::string_view bytes)> onData;
    std::function<void(int error)> onDone;
    std::function<void(const std::string &setCookie)> onCookie;
};

// Makes a client with the proxy settings of the options applied.
using HttpClientFactory = std::function<std::unique_ptr<HttpClientPort>()>;

}  // namespace qm
