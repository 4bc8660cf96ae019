#include "engines/web/BeFreeEngine.h"
#include "toolkit/Misc.h"

#include "net/CookieStore.h"
#include "search/EngineStatusModel.h"
#include "search/ExpandQuery.h"

namespace qm {

namespace {

struct Hold {
    explicit Hold(SponsoredOwner &o) : owner(o) { owner.HoldOwner(); }
    ~Hold() { owner.ReleaseOwner(); }
    SponsoredOwner &owner;
};

}  // namespace

TBeFreeEngine::TBeFreeEngine(SponsoredOwner &owner, const HttpClientFactory &makeClient, const std::string &serve,
                             const std::string &expandedQuery, const std::string &clickTemplate, CookieStore *store)
    : owner_(owner), store_(store) {
    serve_ = makeClient();
    click_ = serve_ ? makeClient() : nullptr;
    if (!click_) {
        serve_.reset();
        return;
    }
    serve_->SetUrl(serve);
    click_->SetUrl(QueryAddress(clickTemplate, expandedQuery));
    serve_->onDone = [this](int error) { ServeDone(error); };
    click_->onCookie = [this](const std::string &c) { ClickCookie(c); };
    click_->onDone = [this](int error) { ClickDone(error); };
}

TBeFreeEngine::~TBeFreeEngine() { Abort(); }

void TBeFreeEngine::Start(int tag) {
    if (!HasClients()) return;
    serve_->SetTag(tag);
    click_->SetTag(tag);
    cookies_.clear();
    serve_->GetAsync();
}

void TBeFreeEngine::Abort() {
    if (serve_ && serve_->Busy()) serve_->Abort();
    if (click_ && click_->Busy()) click_->Abort();
}

std::string TBeFreeEngine::CookieHeader(const std::vector<std::string> &setCookies) {
    std::string header;
    for (const auto &c : setCookies) {
        std::string pair = c.substr(0, c.find(';'));
        size_t b = pair.find_first_not_of(" \t");
        size_t e = pair.find_last_not_of(" \t\r\n");
        if (b == std::string::npos) continue;
        pair = pair.substr(b, e - b + 1);
        if (pair.find('=') == std::string::npos) continue;
        if (!header.empty()) header += "; ";
        header += pair;
    }
    return header;
}

void TBeFreeEngine::ServeDone(int error) {
    Hold hold(owner_);
    if (owner_.OwnerSearchRuns() && error == 0 && serve_->ResponseStatus() == 200) {
        click_->HeadAsync();
        owner_.SetOwnerBusy(true);
    } else {
        if (owner_.OwnerSearchRuns()) owner_.OwnerFailed("affiliate serve: " + FailureReason(error, serve_->ResponseStatus()));
        owner_.SetOwnerBusy(false);
    }
}

void TBeFreeEngine::ClickCookie(const std::string &text) {
    Hold hold(owner_);
    // Kept in the store even when the search was stopped meanwhile.
    if (store_) store_->Store(click_->Url(), text);
    for (const auto &c : cookies_)
        if (SameTextNoCase(c, text)) return;
    cookies_.push_back(text);
}

void TBeFreeEngine::ClickDone(int error) {
    Hold hold(owner_);
    if (owner_.OwnerSearchRuns() && error == 0 && click_->ResponseStatus() == 200) {
        std::string header = CookieHeader(cookies_);
        cookies_.clear();
        std::string address = click_->ResponseLocation();
        if (address.empty()) address = click_->Url();
        HttpClientPort &own = owner_.OwnerClient();
        if (own.Busy()) own.Abort();
        own.SetCookie(header);
        own.SetUrl(address);
        own.SetReference(owner_.OwnerHomePage());
        own.SetTag(click_->Tag());
        owner_.OwnerQueue().Append(address, "ON");
        own.GetAsync();
        owner_.SetOwnerBusy(true);
    } else {
        if (owner_.OwnerSearchRuns()) owner_.OwnerFailed("affiliate click: " + FailureReason(error, click_->ResponseStatus()));
        owner_.SetOwnerBusy(false);
    }
}

}  // namespace qm
