#pragma once
// The sponsored-link fetcher: a sponsored engine is reached through the affiliate network.
// It fetches the network's serve address, sends HEAD to the click address built from the
// query (collecting the cookies set on the way), and hands the address the click led to,
// with those cookies and the owner's home page as referrer, to the owner's own client.
#include "search/HttpClientPort.h"
#include "search/PageQueue.h"
#include "search/PagedRequest.h"

#include <memory>
#include <string>
#include <vector>

namespace qm {

class CookieStore;

// The request object that owns a fetcher (a web engine, or a smart-finder engine).
class SponsoredOwner {
public:
    virtual ~SponsoredOwner() = default;
    virtual bool OwnerSearchRuns() const = 0;       // the owner's search is still running
    virtual void SetOwnerBusy(bool busy) = 0;
    virtual HttpClientPort &OwnerClient() = 0;
    virtual PageQueue &OwnerQueue() = 0;
    virtual std::string OwnerHomePage() const = 0;
    // Brackets every event handler of the fetcher, so that the owner is not destroyed
    // while one of them runs.
    virtual void HoldOwner() = 0;
    virtual void ReleaseOwner() = 0;
    // The affiliate chain failed: why, told before the owner goes idle.
    virtual void OwnerFailed(const std::string &reason) { (void)reason; }
};

// An engine's request object that may own a fetcher (the web search's and the smart
// finder's): the owner's side, answered by the request itself.
class SponsoredRequest : public PagedRequest, public SponsoredOwner {
public:
    SponsoredRequest(SearchKind kind, int slot, std::unique_ptr<HttpClientPort> client, EngineStatusModel *status,
                     std::string homePage)
        : PagedRequest(kind, slot, std::move(client), status), homePage_(std::move(homePage)) {}

    bool OwnerSearchRuns() const override { return SearchRuns(); }
    void SetOwnerBusy(bool busy) override { SetBusy(busy); }
    HttpClientPort &OwnerClient() override { return *client_; }
    PageQueue &OwnerQueue() override { return PagedRequest::Queue(); }
    std::string OwnerHomePage() const override { return homePage_; }
    void HoldOwner() override { Hold(); }
    void ReleaseOwner() override { Release(); }
    void OwnerFailed(const std::string &reason) override { Fail(reason); }

    const std::string &HomePage() const { return homePage_; }

protected:
    std::string homePage_;
};

class TBeFreeEngine {
public:
    // `clickTemplate` holds "<$QRY>"; its first occurrence receives `expandedQuery`.
    TBeFreeEngine(SponsoredOwner &owner, const HttpClientFactory &makeClient, const std::string &serve,
                  const std::string &expandedQuery, const std::string &clickTemplate, CookieStore *store);
    ~TBeFreeEngine();

    // Both clients carry the owner's slot; the serve request starts.
    void Start(int tag);
    void Abort();
    bool HasClients() const { return serve_ && click_; }

    HttpClientPort *ServeClient() { return serve_.get(); }
    HttpClientPort *ClickClient() { return click_.get(); }
    const std::vector<std::string> &CookieList() const { return cookies_; }

    // The Cookie request header made of the collected cookies: the "name=value" part of
    // each, in order, joined by "; ".
    static std::string CookieHeader(const std::vector<std::string> &setCookies);

private:
    void ServeDone(int error);
    void ClickCookie(const std::string &text);
    void ClickDone(int error);

    SponsoredOwner &owner_;
    std::unique_ptr<HttpClientPort> serve_, click_;
    std::vector<std::string> cookies_;
    CookieStore *store_;
};

}  // namespace qm
