#include "net/HttpCli.h"

#include "net/NetConfig.h"

#include <QCoreApplication>
#include <QPointer>
#include <QSocketNotifier>
#include <QTimer>

#include <curl/curl.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <unordered_map>

namespace qm {

// ---- The one multi handle, driven by the event loop -----------------------------------------

// Owns libcurl's multi handle, one read and one write notifier per socket libcurl watches, and
// the single-shot timer libcurl asks for. libcurl's callbacks only adjust notifiers and the
// timer; finished transfers are handed to their clients after libcurl has returned, and the
// clients deliver their events later through posted calls.
class CurlLoop : public QObject {
public:
    static CurlLoop *Get() {
        if (!instance_) {
            instance_ = new CurlLoop;
            qAddPostRoutine(&CurlLoop::Destroy);
        }
        return instance_;
    }
    static CurlLoop *Existing() { return instance_; }

    CURLM *multi() const { return multi_; }
    // Runs libcurl's due work from the event loop soon: after curl_easy_pause(CONT), so the
    // resumed handle runs whatever libcurl's timer callback said last.
    void kick() { timer_.start(0); }

private:
    struct Watch {
        curl_socket_t fd;
        QSocketNotifier *read = nullptr;
        QSocketNotifier *write = nullptr;
    };

    CurlLoop() {
        curl_global_init(CURL_GLOBAL_DEFAULT);
        multi_ = curl_multi_init();
        curl_multi_setopt(multi_, CURLMOPT_SOCKETFUNCTION, &CurlLoop::OnSocket);
        curl_multi_setopt(multi_, CURLMOPT_SOCKETDATA, this);
        curl_multi_setopt(multi_, CURLMOPT_TIMERFUNCTION, &CurlLoop::OnTimer);
        curl_multi_setopt(multi_, CURLMOPT_TIMERDATA, this);
        curl_multi_setopt(multi_, CURLMOPT_PIPELINING, long(CURLPIPE_NOTHING));
        curl_multi_setopt(multi_, CURLMOPT_MAXCONNECTS, 64L);
        timer_.setSingleShot(true);
        QObject::connect(&timer_, &QTimer::timeout, this, [this] { act(CURL_SOCKET_TIMEOUT, 0); });
    }

    ~CurlLoop() override {
        // libcurl may still call OnSocket from here: the watches outlive the multi handle.
        curl_multi_cleanup(multi_);
        for (auto &[fd, w] : watches_) drop(w);
        watches_.clear();
    }

    static void Destroy() {
        delete instance_;
        instance_ = nullptr;
    }

    static void drop(Watch *w) {
        for (QSocketNotifier *n : {w->read, w->write})
            if (n) {
                n->setEnabled(false);
                delete n;
            }
        delete w;
    }

    QSocketNotifier *notifier(Watch *w, QSocketNotifier::Type type) {
        QSocketNotifier *&n = type == QSocketNotifier::Read ? w->read : w->write;
        if (!n) {
            n = new QSocketNotifier(qintptr(w->fd), type);
            int flag = type == QSocketNotifier::Read ? CURL_CSELECT_IN : CURL_CSELECT_OUT;
            curl_socket_t fd = w->fd;
            QObject::connect(n, &QSocketNotifier::activated, this, [this, fd, flag] { act(fd, flag); });
        }
        return n;
    }

    static int OnSocket(CURL *, curl_socket_t fd, int what, void *userp, void *socketp) {
        auto *self = static_cast<CurlLoop *>(userp);
        auto *w = static_cast<Watch *>(socketp);
        if (what == CURL_POLL_REMOVE) {
            if (w) {
                self->watches_.erase(fd);
                drop(w);  // at once: libcurl may announce the same descriptor again right away
            }
            return 0;
        }
        if (!w) {
            auto it = self->watches_.find(fd);
            if (it != self->watches_.end()) {
                w = it->second;
            } else {
                w = new Watch{fd};
                self->watches_[fd] = w;
            }
            curl_multi_assign(self->multi_, fd, w);
        }
        bool in = what == CURL_POLL_IN || what == CURL_POLL_INOUT;
        bool out = what == CURL_POLL_OUT || what == CURL_POLL_INOUT;
        if (in) self->notifier(w, QSocketNotifier::Read)->setEnabled(true);
        else if (w->read) w->read->setEnabled(false);
        if (out) self->notifier(w, QSocketNotifier::Write)->setEnabled(true);
        else if (w->write) w->write->setEnabled(false);
        return 0;
    }

    static int OnTimer(CURLM *, long ms, void *userp) {
        auto *self = static_cast<CurlLoop *>(userp);
        if (ms < 0) self->timer_.stop();
        else self->timer_.start(int(std::min<long>(ms, 1L << 30)));
        return 0;
    }

    void act(curl_socket_t fd, int flags) {
        int running = 0;
        curl_multi_socket_action(multi_, fd, flags, &running);
        // libcurl has returned: finished transfers can be taken out now.
        int left = 0;
        while (CURLMsg *msg = curl_multi_info_read(multi_, &left)) {
            if (msg->msg != CURLMSG_DONE) continue;
            THttpCli *client = nullptr;
            curl_easy_getinfo(msg->easy_handle, CURLINFO_PRIVATE, &client);
            CURLcode code = msg->data.result;
            if (client) client->transferDone(int(code));
            else curl_multi_remove_handle(multi_, msg->easy_handle);
        }
    }

    CURLM *multi_ = nullptr;
    QTimer timer_;
    std::unordered_map<curl_socket_t, Watch *> watches_;
    static inline CurlLoop *instance_ = nullptr;
};

// ---- Helpers ------------------------------------------------------------------------------

namespace {

char Lower(char c) { return (c >= 'A' && c <= 'Z') ? char(c - 'A' + 'a') : c; }

bool StartsNoCase(std::string_view s, std::string_view prefix) {
    if (s.size() < prefix.size()) return false;
    for (size_t i = 0; i < prefix.size(); ++i)
        if (Lower(s[i]) != Lower(prefix[i])) return false;
    return true;
}

std::string Trim(std::string_view s) {
    size_t b = 0, e = s.size();
    while (b < e && (unsigned char)s[b] <= ' ') ++b;
    while (e > b && (unsigned char)s[e - 1] <= ' ') --e;
    return std::string(s.substr(b, e - b));
}

// "Name: value" -> value when the name matches.
bool HeaderValue(const std::string &line, std::string_view name, std::string &value) {
    if (line.size() <= name.size() || line[name.size()] != ':' || !StartsNoCase(line, name)) return false;
    value = Trim(std::string_view(line).substr(name.size() + 1));
    return true;
}

int MapError(int code) {
    switch (CURLcode(code)) {
    case CURLE_OK: return HttpOk;
    case CURLE_OPERATION_TIMEDOUT: return HttpTimedOut;
    case CURLE_COULDNT_CONNECT: return HttpConnectionRefused;
    case CURLE_COULDNT_RESOLVE_HOST: return HttpNameNotResolved;
    case CURLE_COULDNT_RESOLVE_PROXY:
    case CURLE_PROXY: return HttpProxyFailed;
    case CURLE_PARTIAL_FILE:
    case CURLE_RECV_ERROR:
    case CURLE_SEND_ERROR:
    case CURLE_GOT_NOTHING:
    case CURLE_BAD_CONTENT_ENCODING:
    case CURLE_WRITE_ERROR: return HttpConnectionLost;
    case CURLE_SSL_CONNECT_ERROR:
    case CURLE_PEER_FAILED_VERIFICATION:
    case CURLE_SSL_CERTPROBLEM:
    case CURLE_SSL_CIPHER:
    case CURLE_SSL_CACERT_BADFILE: return HttpTlsFailed;
    case CURLE_URL_MALFORMAT:
    case CURLE_UNSUPPORTED_PROTOCOL: return HttpBadUrl;
    default: return HttpOtherError;
    }
}

bool IsSocketError(int error) {
    return error == HttpTimedOut || error == HttpIdleTimeout || error == HttpConnectionRefused ||
           error == HttpNameNotResolved || error == HttpProxyFailed || error == HttpConnectionLost ||
           error == HttpTlsFailed;
}

// Blanks and control bytes cannot travel in a request line: escape them as a browser does.
// Every other byte is sent as the caller wrote it.
std::string EscapeBlanks(const std::string &url) {
    static const char hex[] = "0123456789ABCDEF";
    std::string out;
    out.reserve(url.size());
    for (unsigned char c : url) {
        if (c <= ' ' || c == 0x7f) {
            out.push_back('%');
            out.push_back(hex[c >> 4]);
            out.push_back(hex[c & 15]);
        } else {
            out.push_back(char(c));
        }
    }
    return out;
}

// Resolves a Location value against the address that answered.
std::string Resolve(const std::string &base, const std::string &location) {
    std::string out;
    CURLU *u = curl_url();
    if (curl_url_set(u, CURLUPART_URL, base.c_str(), 0) == CURLUE_OK &&
        curl_url_set(u, CURLUPART_URL, location.c_str(), 0) == CURLUE_OK) {
        char *full = nullptr;
        if (curl_url_get(u, CURLUPART_URL, &full, 0) == CURLUE_OK) out = full;
        curl_free(full);
    }
    curl_url_cleanup(u);
    return out;
}

qint64 NowMs() {
    return std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

// The host of an address, lower case; "" when it has none.
std::string HostOf(const std::string &url) {
    std::string out;
    CURLU *u = curl_url();
    if (curl_url_set(u, CURLUPART_URL, url.c_str(), CURLU_GUESS_SCHEME | CURLU_NON_SUPPORT_SCHEME) == CURLUE_OK) {
        char *host = nullptr;
        if (curl_url_get(u, CURLUPART_HOST, &host, 0) == CURLUE_OK) out = host;
        curl_free(host);
    }
    curl_url_cleanup(u);
    for (char &c : out) c = Lower(c);
    return out;
}

}  // namespace

const char *HttpErrorText(int error) {
    switch (error) {
    case HttpOk: return "completed";
    case HttpAborted: return "aborted";
    case HttpTimedOut: return "timed out";
    case HttpConnectionRefused: return "connection refused";
    case HttpNameNotResolved: return "name not resolved";
    case HttpProxyFailed: return "proxy failed";
    case HttpConnectionLost: return "connection lost";
    case HttpTlsFailed: return "secure connection failed";
    case HttpBadUrl: return "bad address";
    case HttpTooLarge: return "answer too large";
    case HttpIdleTimeout: return "no data for too long";
    default: return "network error";
    }
}

void ApplyHttpLimits(THttpCli &client, const HttpLimits &limits) {
    client.MaxSize = std::max(0LL, limits.maxSize);
    client.IdleTimeout = std::max(0, limits.idleTimeout);
    client.Timeout = std::max(0, limits.timeout);
}

// ---- THttpCli ---------------------------------------------------------------------------

THttpCli::THttpCli(QObject *parent) : QObject(parent) {
    idleTimer_.setSingleShot(true);
    connect(&idleTimer_, &QTimer::timeout, this, [this] { checkIdle(); });
}

THttpCli::~THttpCli() { releaseEasy(); }

void THttpCli::releaseEasy() {
    if (easy_) {
        if (inMulti_) {
            if (CurlLoop *loop = CurlLoop::Existing()) curl_multi_remove_handle(loop->multi(), easy_);
        }
        curl_easy_cleanup(easy_);
        easy_ = nullptr;
    }
    inMulti_ = false;
    if (share_) {
        curl_share_cleanup(share_);
        share_ = nullptr;
    }
    curl_slist_free_all(requestHeaders_);
    requestHeaders_ = nullptr;
    curl_slist_free_all(connectTo_);
    connectTo_ = nullptr;
}

std::string THttpCli::ResponseHeader(std::string_view name) const {
    std::string value;
    for (const auto &line : headers_)
        if (HeaderValue(line, name, value)) return value;
    return {};
}

bool THttpCli::GetASync() { return start(HttpRequest::Get); }

bool THttpCli::HeadASync() { return start(HttpRequest::Head); }

bool THttpCli::start(HttpRequest type) {
    if (busy_) return false;
    CurlLoop::Get();
    ++request_;
    type_ = type;
    busy_ = true;
    hops_ = 0;
    hopUrl_ = URL;
    firstHost_ = HostOf(EscapeBlanks(Trim(URL)));
    freshJar_ = true;
    refused_.clear();
    received_ = 0;
    tooLarge_ = false;
    deadline_ = Timeout > 0 ? NowMs() + Timeout : 0;
    queue(MakeEvent(Event::Begin, request_));
    if (IdleTimeout > 0) idleTimer_.start(int(std::min<long long>(IdleTimeout * 1000LL, 1LL << 30)));
    startHop();
    return true;
}

void THttpCli::touch() { lastActivity_ = NowMs(); }

void THttpCli::checkIdle() {
    if (!busy_ || IdleTimeout <= 0) return;
    const qint64 limit = std::min<qint64>(IdleTimeout * 1000LL, 1LL << 30);
    // Between two hops, or paused because the caller has not taken what came: not the
    // server's silence.
    if (!inMulti_ || paused_) {
        idleTimer_.start(int(limit));
        return;
    }
    const qint64 idle = NowMs() - lastActivity_;
    if (idle >= limit) fail(HttpIdleTimeout, "no data for " + std::to_string(IdleTimeout) + " seconds");
    else idleTimer_.start(int(limit - idle));
}

// Ends the transfer in progress with an error of the client's own (not libcurl's), from the
// event loop: the events already received stay, the request ends like any failure.
void THttpCli::fail(int error, std::string text) {
    if (!busy_ || !inMulti_) return;
    curl_multi_remove_handle(CurlLoop::Get()->multi(), easy_);
    inMulti_ = false;
    finishTransfer();
    queueEnd(error, std::move(text));
}

// The request's last events: a socket error first when the error is one, then Done.
void THttpCli::queueEnd(int error, std::string text) {
    if (IsSocketError(error)) {
        Event se = MakeEvent(Event::SocketError, request_);
        se.error = error;
        se.text = text;
        queue(std::move(se));
    }
    Event done = MakeEvent(Event::Done, request_);
    done.error = error;
    done.text = std::move(text);
    done.type = type_;
    queue(std::move(done));
}

// The transfer is out of the multi handle for good. A handle that was paused may still hold
// bytes libcurl decoded for it: it is dropped, the next request gets a new one.
void THttpCli::finishTransfer() {
    idleTimer_.stop();
    if (paused_) {
        paused_ = false;
        if (easy_ && !inMulti_) {
            curl_easy_cleanup(easy_);
            easy_ = nullptr;
        }
    }
}

void THttpCli::postResume() {
    if (resumePosted_) return;
    resumePosted_ = true;
    const quint64 request = request_;
    QMetaObject::invokeMethod(this, [this, request] { resume(request); }, Qt::QueuedConnection);
}

// Not from inside a libcurl callback: libcurl may call onWrite from curl_easy_pause.
void THttpCli::resume(quint64 request) {
    resumePosted_ = false;
    if (request != request_ || !paused_ || !easy_ || !inMulti_) return;
    paused_ = false;
    touch();
    // libcurl first hands over what it kept while paused; when onWrite ends the transfer
    // there (MaxSize), the error comes back here and the multi handle never reports it.
    const CURLcode code = curl_easy_pause(easy_, CURLPAUSE_CONT);
    if (code != CURLE_OK) {
        if (tooLarge_) fail(HttpTooLarge, "more than " + std::to_string(MaxSize) + " bytes");
        else fail(MapError(code), curl_easy_strerror(code));
        return;
    }
    CurlLoop::Get()->kick();
}

// Cookies a handler refused are expired in the jar, so no later hop sends them.
void THttpCli::forgetRefusedCookies() {
    if (refused_.empty()) return;
    curl_slist *list = nullptr;
    if (curl_easy_getinfo(easy_, CURLINFO_COOKIELIST, &list) == CURLE_OK) {
        for (curl_slist *item = list; item; item = item->next) {
            // Netscape format: domain, tail match, path, secure, expires, name, value.
            std::vector<std::string> fields;
            std::string_view line(item->data);
            size_t pos = 0;
            while (true) {
                size_t tab = line.find('\t', pos);
                fields.emplace_back(line.substr(pos, tab == std::string_view::npos ? tab : tab - pos));
                if (tab == std::string_view::npos) break;
                pos = tab + 1;
            }
            if (fields.size() < 7 || std::find(refused_.begin(), refused_.end(), fields[5]) == refused_.end())
                continue;
            std::string expired;  // the same line, expired since 1970
            for (size_t i = 0; i < fields.size(); ++i) {
                if (i > 0) expired.push_back('\t');
                if (i == 4) expired.push_back('1');
                else expired += fields[i];
            }
            curl_easy_setopt(easy_, CURLOPT_COOKIELIST, expired.c_str());
        }
        curl_slist_free_all(list);
    }
    refused_.clear();
}

void THttpCli::startHop() {
    CurlLoop *loop = CurlLoop::Get();
    if (easy_ && inMulti_) curl_multi_remove_handle(loop->multi(), easy_);
    inMulti_ = false;
    if (!easy_) easy_ = curl_easy_init();
    else curl_easy_reset(easy_);
    curl_slist_free_all(requestHeaders_);
    requestHeaders_ = nullptr;
    curl_slist_free_all(connectTo_);
    connectTo_ = nullptr;

    hopStatus_ = 0;
    hopReason_.clear();
    hopHeaders_.clear();
    hopLocation_.clear();
    hopFollow_ = false;
    hopCut_ = false;
    headerBytes_ = 0;
    curlError_.assign(CURL_ERROR_SIZE + 1, '\0');
    touch();

    CURL *e = easy_;
    hopWireUrl_ = EscapeBlanks(Trim(hopUrl_));
    curl_easy_setopt(e, CURLOPT_URL, hopWireUrl_.c_str());
    curl_easy_setopt(e, CURLOPT_PRIVATE, this);
    curl_easy_setopt(e, CURLOPT_ERRORBUFFER, curlError_.data());
    curl_easy_setopt(e, CURLOPT_NOSIGNAL, 1L);
    curl_easy_setopt(e, CURLOPT_HEADERFUNCTION, &THttpCli::onHeader);
    curl_easy_setopt(e, CURLOPT_HEADERDATA, this);
    curl_easy_setopt(e, CURLOPT_WRITEFUNCTION, &THttpCli::onWrite);
    curl_easy_setopt(e, CURLOPT_WRITEDATA, this);
    curl_easy_setopt(e, CURLOPT_HTTP_VERSION, long(CURL_HTTP_VERSION_1_1));
    curl_easy_setopt(e, CURLOPT_PROTOCOLS_STR, "http,https");
    curl_easy_setopt(e, CURLOPT_ACCEPT_ENCODING, "");  // every coding libcurl decodes
    // One read decodes to at most about 1,000 times its size, and a paused transfer keeps
    // that much inside libcurl: small reads keep a compression bomb's share small (4 MB).
    curl_easy_setopt(e, CURLOPT_BUFFERSIZE, 4096L);
    curl_easy_setopt(e, CURLOPT_SUPPRESS_CONNECT_HEADERS, 1L);
    if (type_ == HttpRequest::Head) curl_easy_setopt(e, CURLOPT_NOBODY, 1L);
    else curl_easy_setopt(e, CURLOPT_HTTPGET, 1L);
    if (deadline_ > 0) {  // what is left of Timeout after the hops before this one
        const qint64 left = deadline_ - NowMs();
        if (left <= 0) {
            Event done = MakeEvent(Event::Done, request_);
            done.error = HttpTimedOut;
            done.text = "timed out after " + std::to_string(Timeout) + " ms";
            done.type = type_;
            queue(std::move(done));
            idleTimer_.stop();
            return;
        }
        curl_easy_setopt(e, CURLOPT_TIMEOUT_MS, long(left));
    }
    if (ConnectTimeout > 0) curl_easy_setopt(e, CURLOPT_CONNECTTIMEOUT_MS, long(ConnectTimeout));
    if (!Agent.empty()) curl_easy_setopt(e, CURLOPT_USERAGENT, Agent.c_str());
    if (!Reference.empty()) curl_easy_setopt(e, CURLOPT_REFERER, Reference.c_str());

    // Cookies: one jar per request, shared by its hops, with libcurl's domain and path rules.
    if (!share_) {
        share_ = curl_share_init();
        curl_share_setopt(share_, CURLSHOPT_SHARE, CURL_LOCK_DATA_COOKIE);
    }
    curl_easy_setopt(e, CURLOPT_SHARE, share_);
    curl_easy_setopt(e, CURLOPT_COOKIEFILE, "");
    if (freshJar_) {
        curl_easy_setopt(e, CURLOPT_COOKIELIST, "ALL");
        freshJar_ = false;
    }
    forgetRefusedCookies();
    // The caller's own cookies are a fixed header: only for the host they were meant for.
    const std::string cookies = Trim(Cookie);
    if (!cookies.empty() && HostOf(hopWireUrl_) == firstHost_) curl_easy_setopt(e, CURLOPT_COOKIE, cookies.c_str());
    if (ModifiedSince > 0) {
        curl_easy_setopt(e, CURLOPT_TIMECONDITION, long(CURL_TIMECOND_IFMODSINCE));
        curl_easy_setopt(e, CURLOPT_TIMEVALUE_LARGE, curl_off_t(ModifiedSince));
    }

    auto header = [&](const std::string &line) { requestHeaders_ = curl_slist_append(requestHeaders_, line.c_str()); };
    header(Accept.empty() ? "Accept:" : "Accept: " + Accept);
    if (!Sender.empty()) header("From: " + Sender);
    if (NoCache) {
        header("Pragma: no-cache");
        header("Cache-Control: no-cache");
    }
    curl_easy_setopt(e, CURLOPT_HTTPHEADER, requestHeaders_);

    for (const auto &entry : ConnectToForRequest()) connectTo_ = curl_slist_append(connectTo_, entry.c_str());
    if (connectTo_) curl_easy_setopt(e, CURLOPT_CONNECT_TO, connectTo_);
    if (!CaFile().empty()) curl_easy_setopt(e, CURLOPT_CAINFO, CaFile().c_str());

    // Proxies. An empty CURLOPT_PROXY also keeps the *_proxy environment variables out.
    std::string socksServer = Trim(SocksServer), proxy = Trim(Proxy);
    if (!socksServer.empty()) {
        std::string level = Trim(SocksLevel);
        long kind = CURLPROXY_SOCKS5_HOSTNAME;
        if (level == "4") kind = CURLPROXY_SOCKS4;
        else if (level == "4A" || level == "4a") kind = CURLPROXY_SOCKS4A;
        std::string port = Trim(SocksPort);
        curl_easy_setopt(e, CURLOPT_PROXY, socksServer.c_str());
        curl_easy_setopt(e, CURLOPT_PROXYPORT, port.empty() ? 1080L : std::atol(port.c_str()));
        curl_easy_setopt(e, CURLOPT_PROXYTYPE, kind);
        if (!SocksUsercode.empty()) {
            curl_easy_setopt(e, CURLOPT_PROXYUSERNAME, SocksUsercode.c_str());
            curl_easy_setopt(e, CURLOPT_PROXYPASSWORD, SocksPassword.c_str());
        }
    } else if (!proxy.empty()) {
        std::string port = Trim(ProxyPort);
        curl_easy_setopt(e, CURLOPT_PROXY, proxy.c_str());
        curl_easy_setopt(e, CURLOPT_PROXYPORT, port.empty() ? 80L : std::atol(port.c_str()));
        curl_easy_setopt(e, CURLOPT_PROXYTYPE, long(CURLPROXY_HTTP));
        if (!ProxyUsername.empty()) {
            curl_easy_setopt(e, CURLOPT_PROXYUSERNAME, ProxyUsername.c_str());
            curl_easy_setopt(e, CURLOPT_PROXYPASSWORD, ProxyPassword.c_str());
            curl_easy_setopt(e, CURLOPT_PROXYAUTH, long(CURLAUTH_BASIC));
        }
    } else {
        curl_easy_setopt(e, CURLOPT_PROXY, "");
    }

    if (curl_multi_add_handle(loop->multi(), e) == CURLM_OK) {
        inMulti_ = true;
    } else {
        queueEnd(HttpOtherError, {});
    }
}

size_t THttpCli::onHeader(char *data, size_t size, size_t n, void *userp) {
    auto *self = static_cast<THttpCli *>(userp);
    size_t len = size * n;
    self->touch();
    self->headerBytes_ += len;
    if (self->headerBytes_ > kMaxHeaderBytes) {
        self->tooLarge_ = true;
        return 0;  // ends the transfer (CURLE_WRITE_ERROR)
    }
    std::string line(data, len);
    while (!line.empty() && (line.back() == '\n' || line.back() == '\r')) line.pop_back();
    if (StartsNoCase(line, "HTTP/")) {
        // A new answer (after a 100 Continue or an authentication round): start over.
        self->hopHeaders_.clear();
        self->hopLocation_.clear();
        size_t sp = line.find(' ');
        self->hopStatus_ = sp == std::string::npos ? 0 : std::atoi(line.c_str() + sp + 1);
        size_t sp2 = sp == std::string::npos ? sp : line.find(' ', sp + 1);
        self->hopReason_ = sp2 == std::string::npos ? std::string() : Trim(std::string_view(line).substr(sp2 + 1));
        return len;
    }
    if (!line.empty()) {
        if (line.front() == ' ' || line.front() == '\t') {  // folded continuation
            if (!self->hopHeaders_.empty()) {
                std::string &last = self->hopHeaders_.back();
                last.push_back(' ');
                last.append(Trim(line));
            }
        } else {
            self->hopHeaders_.push_back(line);
        }
        return len;
    }
    // End of a header block.
    if (self->hopStatus_ >= 100 && self->hopStatus_ < 200) return len;
    std::string value;
    for (const auto &h : self->hopHeaders_)
        if (HeaderValue(h, "Location", value)) {
            self->hopLocation_ = value;
            break;
        }
    int s = self->hopStatus_;
    self->hopFollow_ = self->FollowRelocation && !self->hopLocation_.empty() && self->hops_ < self->MaxRedirections &&
                       (s == 301 || s == 302 || s == 303 || s == 307 || s == 308);
    Event headers = MakeEvent(Event::Headers, self->request_);
    headers.status = s;
    headers.text = self->hopReason_;
    headers.lines = self->hopHeaders_;
    self->queue(std::move(headers));
    for (const auto &h : self->hopHeaders_)
        if (HeaderValue(h, "Set-Cookie", value)) {
            Event cookie = MakeEvent(Event::Cookie, self->request_);
            cookie.text = value;
            self->queue(std::move(cookie));
        }
    return len;
}

size_t THttpCli::onWrite(char *data, size_t size, size_t n, void *userp) {
    auto *self = static_cast<THttpCli *>(userp);
    size_t len = size * n;
    if (len == 0) return 0;
    self->touch();
    if (self->hopFollow_) {
        // The body of a redirection being followed is not wanted: stop reading it (it may
        // never end) and go on with the next hop.
        self->hopCut_ = true;
        return 0;
    }
    // Back-pressure: what the caller has not taken yet stays with libcurl until it has.
    if (self->pending_ >= kPendingLimit) {
        self->paused_ = true;
        return CURL_WRITEFUNC_PAUSE;
    }
    const long long maxSize = self->MaxSize;
    bool over = false;
    if (maxSize > 0 && self->received_ + (long long)len > maxSize) {
        len = size_t(std::max(0LL, maxSize - self->received_));  // deliver up to the limit, then end
        over = true;
    }
    self->received_ += (long long)len;
    self->pending_ += len;
    self->peakPending_ = std::max(self->peakPending_, self->pending_);
    if (len > 0) self->queueData(data, len);
    if (over) {
        self->tooLarge_ = true;
        return 0;  // ends the transfer (CURLE_WRITE_ERROR)
    }
    return size * n;
}

void THttpCli::queueData(const char *data, size_t len) {
    if (!events_.empty() && events_.back().kind == Event::Data && events_.back().request == request_) {
        events_.back().text.append(data, len);  // one event for what arrived together
    } else {
        Event e = MakeEvent(Event::Data, request_);
        if (!spare_.empty()) {  // a delivered buffer, capacity kept
            e.text = std::move(spare_.back());
            spare_.pop_back();
        } else {
            e.text.reserve(std::max<size_t>(len, 65536));  // room for what follows in the same pass
        }
        e.text.assign(data, len);
        queue(std::move(e));
    }
}

void THttpCli::transferDone(int curlCode) {
    CurlLoop *loop = CurlLoop::Get();
    curl_multi_remove_handle(loop->multi(), easy_);
    inMulti_ = false;
    if (hopFollow_ && (curlCode == CURLE_OK || (curlCode == CURLE_WRITE_ERROR && hopCut_))) {
        ++hops_;
        Event moved = MakeEvent(Event::Location, request_);
        moved.text = Resolve(hopWireUrl_, EscapeBlanks(Trim(hopLocation_)));
        if (!moved.text.empty()) {
            hopUrl_ = moved.text;
            queue(std::move(moved));
            queue(MakeEvent(Event::Continue, request_));
            return;
        }
        curlCode = CURLE_URL_MALFORMAT;
    }
    int error = MapError(curlCode);
    long connectCode = 0;
    curl_easy_getinfo(easy_, CURLINFO_HTTP_CONNECTCODE, &connectCode);
    if (curlCode != CURLE_OK && connectCode >= 300) error = HttpProxyFailed;  // the proxy refused the tunnel
    if (curlCode == CURLE_PROXY) {
        // The proxy answered for the target: report what happened to the target itself.
        long proxyError = 0;
        curl_easy_getinfo(easy_, CURLINFO_PROXY_ERROR, &proxyError);
        if (proxyError == CURLPX_RESOLVE_HOST)
            error = HttpNameNotResolved;
        else if (proxyError == CURLPX_REPLY_CONNECTION_REFUSED)
            error = HttpConnectionRefused;
        else if (proxyError == CURLPX_REPLY_TTL_EXPIRED)
            error = HttpTimedOut;
    }
    std::string text = curlError_.c_str();
    if (tooLarge_ && curlCode == CURLE_WRITE_ERROR) {
        error = HttpTooLarge;
        text = headerBytes_ > kMaxHeaderBytes ? "headers longer than " + std::to_string(kMaxHeaderBytes) + " bytes"
                                              : "more than " + std::to_string(MaxSize) + " bytes";
    }
    finishTransfer();
    if (curlCode != CURLE_OK) {
        if (text.empty()) text = curl_easy_strerror(CURLcode(curlCode));
        queueEnd(error, std::move(text));
        return;
    }
    queueEnd(HttpOk, {});
}

void THttpCli::queue(Event e) {
    events_.push_back(std::move(e));
    postDelivery();
}

void THttpCli::postDelivery() {
    if (deliveryPosted_) return;
    deliveryPosted_ = true;
    QMetaObject::invokeMethod(this, [this] { deliver(); }, Qt::QueuedConnection);
}

void THttpCli::Abort() {
    if (!busy_) return;
    if (easy_ && inMulti_) {
        curl_multi_remove_handle(CurlLoop::Get()->multi(), easy_);
        inMulti_ = false;
    }
    busy_ = false;
    finishTransfer();
    bool donePending = false;
    std::deque<Event> kept;
    for (auto &e : events_) {
        if (e.kind == Event::Done) {
            if (e.request == request_) {
                donePending = true;
                // Data was dropped: a completed exchange must not look complete any more.
                if (e.error == HttpOk) {
                    e.error = HttpAborted;
                    e.text = "aborted";
                }
            }
            kept.push_back(std::move(e));
        } else if (e.request != request_) {
            kept.push_back(std::move(e));
        }
    }
    events_ = std::move(kept);
    pending_ = 0;
    for (const auto &e : events_)
        if (e.kind == Event::Data) pending_ += e.text.size();
    if (!donePending) {
        queueEnd(HttpAborted, "aborted");
    }
}

void THttpCli::deliver() {
    deliveryPosted_ = false;
    QPointer<THttpCli> self(this);
    while (!events_.empty()) {
        Event e = std::move(events_.front());
        events_.pop_front();
        const bool current = e.request == request_;
        switch (e.kind) {
        case Event::Begin:
            status_ = 0;
            reason_.clear();
            headers_.clear();
            location_.clear();
            break;
        case Event::Headers:
            status_ = e.status;
            reason_ = std::move(e.text);
            headers_ = std::move(e.lines);
            break;
        case Event::Data:
            pending_ -= std::min(pending_, e.text.size());
            emit OnDocData(this, e.text.data(), qsizetype(e.text.size()));
            if (self && spare_.size() < 2 && e.text.capacity() <= kPendingLimit + 65536) {
                e.text.clear();
                spare_.push_back(std::move(e.text));
            }
            if (self && paused_ && pending_ == 0) postResume();
            break;
        case Event::Cookie: {
            bool accept = true;
            emit OnCookie(this, e.text, accept);
            if (self && !accept && current) {
                const std::string name = Trim(std::string_view(e.text).substr(0, e.text.find_first_of("=;")));
                if (!name.empty()) refused_.push_back(name);
            }
            break;
        }
        case Event::Location:
            location_ = e.text;
            emit OnLocationChange(this);
            break;
        case Event::Continue:
            if (current && busy_) startHop();
            break;
        case Event::SocketError:
            errorText_ = e.text;
            emit OnSocketError(this, e.error);
            break;
        case Event::Done:
            if (current) busy_ = false;
            lastError_ = e.error;
            errorText_ = e.text;
            emit OnRequestDone(this, e.type, e.error);
            break;
        }
        if (!self) return;  // a handler destroyed the client
    }
}

}  // namespace qm
