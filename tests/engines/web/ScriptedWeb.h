#pragma once
// A scripted stand-in for the HTTP client: answers come from a table of addresses, always
// later from the event loop (never inside the call that started the request), like the
// program's own client. Used to drive the search controller through exact interleavings.
//
// Time is scripted too: `delayMs` and At() count on a clock of the scripted web, not the
// wall clock. It moves on only when the event loop would otherwise wait (a reader that
// pumps does not move it) or when a test calls Advance(), so answers come in the order of
// their delays however loaded the machine is.
#include "engines/web/WebSearchController.h"
#include "search/HttpClientPort.h"

#include <QAbstractEventDispatcher>
#include <QObject>
#include <QTimer>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

namespace qm::test {

struct ScriptedPage {
    int status = 200;
    std::string body;
    int delayMs = 0;
    bool never = false;                 // no answer until aborted
    int error = 0;                      // a transfer error instead of an answer
    std::string location;               // where redirections led (HEAD on click addresses)
    std::vector<std::string> cookies;   // Set-Cookie texts, in order
};

struct ScriptedRequest {
    std::string method, url, cookie, referer;
};

class ScriptedWeb {
public:
    std::map<std::string, ScriptedPage> pages;
    std::vector<ScriptedRequest> log;
    int aborted = 0;
    int liveClients = 0;

    HttpClientFactory Factory();
    int Count(const std::string &url) const {
        int n = 0;
        for (const auto &r : log) n += r.url == url;
        return n;
    }

    // Runs `f` from the event loop `ms` scripted milliseconds from now.
    void At(int ms, std::function<void()> f) {
        waiting_.emplace(std::make_pair(now_ + ms, next_++), std::move(f));
        Release();
    }
    // Moves the clock on by `ms` (a reader that takes that long); what falls due comes
    // from the event loop, in order.
    void Advance(int ms) {
        now_ += ms;
        Release();
    }
    // Answers and actions due but not run yet.
    int Due() const { return posted_; }

    ScriptedWeb() {
        QObject::connect(QAbstractEventDispatcher::instance(), &QAbstractEventDispatcher::aboutToBlock, &ctx_,
                         [this] {
                             if (posted_ > 0 || waiting_.empty()) return;
                             now_ = waiting_.begin()->first.first;  // nothing else would happen before
                             Release();
                         });
    }

private:
    void Release() {
        while (!waiting_.empty() && waiting_.begin()->first.first <= now_) {
            auto f = std::move(waiting_.begin()->second);
            waiting_.erase(waiting_.begin());
            ++posted_;
            QTimer::singleShot(0, &ctx_, [this, f] {
                --posted_;
                f();
            });
        }
    }

    QObject ctx_;
    long long now_ = 0;
    unsigned next_ = 0;
    int posted_ = 0;
    std::multimap<std::pair<long long, unsigned>, std::function<void()>> waiting_;
};

class ScriptedClient : public HttpClientPort {
public:
    explicit ScriptedClient(ScriptedWeb &web) : web_(web) { ++web_.liveClients; }
    ~ScriptedClient() override {
        *alive_ = false;
        --web_.liveClients;
    }

    void SetUrl(const std::string &url) override { url_ = url; }
    std::string Url() const override { return url_; }
    void SetTag(int tag) override { tag_ = tag; }
    int Tag() const override { return tag_; }
    void SetCookie(const std::string &c) override { cookie_ = c; }
    void SetReference(const std::string &r) override { referer_ = r; }
    void GetAsync() override { Start("GET"); }
    void HeadAsync() override { Start("HEAD"); }
    void Abort() override {
        if (!busy_) return;
        busy_ = false;
        ++gen_;
        ++web_.aborted;
        Later(0, [this] { Finish(1); });
    }
    bool Busy() const override { return busy_; }
    int ResponseStatus() const override { return status_; }
    std::string ResponseLocation() const override { return location_; }

private:
    void Later(int ms, std::function<void()> f) {
        auto alive = alive_;
        web_.At(ms, [alive, f] {
            if (*alive) f();
        });
    }
    void Finish(int error) {
        if (onDone) onDone(error);  // may destroy this client: touch nothing afterwards
    }
    void Start(const char *method) {
        busy_ = true;
        status_ = 0;
        location_ = url_;
        const unsigned g = ++gen_;
        web_.log.push_back({method, url_, cookie_, referer_});
        auto it = web_.pages.find(url_);
        ScriptedPage page = it == web_.pages.end() ? ScriptedPage{404, "not found"} : it->second;
        if (page.never) return;
        const bool head = std::string(method) == "HEAD";
        Later(page.delayMs, [this, g, page, head] {
            if (g != gen_) return;
            auto alive = alive_;
            for (const auto &c : page.cookies) {
                if (onCookie) onCookie(c);
                if (!*alive || g != gen_) return;
            }
            if (page.error) {
                busy_ = false;
                Finish(page.error);
                return;
            }
            status_ = page.status;
            if (!page.location.empty()) location_ = page.location;
            if (!head && !page.body.empty()) {
                // Two pieces, to show that pieces are joined.
                size_t half = page.body.size() / 2;
                if (onData) onData(std::string_view(page.body).substr(0, half));
                if (!*alive || g != gen_) return;
                if (onData) onData(std::string_view(page.body).substr(half));
                if (!*alive || g != gen_) return;
            }
            busy_ = false;
            Finish(0);
        });
    }

    ScriptedWeb &web_;
    std::shared_ptr<bool> alive_ = std::make_shared<bool>(true);
    std::string url_, cookie_, referer_, location_;
    int tag_ = -1;
    int status_ = 0;
    bool busy_ = false;
    unsigned gen_ = 0;
};

inline HttpClientFactory ScriptedWeb::Factory() {
    return [this]() -> std::unique_ptr<HttpClientPort> { return std::make_unique<ScriptedClient>(*this); };
}

}  // namespace qm::test
