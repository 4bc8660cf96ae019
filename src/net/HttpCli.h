#pragma once
// THttpCli: the asynchronous HTTP client every network feature uses. It runs on libcurl's
// multi-socket interface driven by the Qt event loop of the one thread (socket notifiers and
// a single-shot timer). Every event reaches user code from the event loop, never from inside
// libcurl, so a handler may abort the client, start its next request or delete it.
//
// The request cycle: connect the signals, ApplyProxySettings(), set Tag and URL, GetASync().
// OnDocData brings the body in order, OnRequestDone ends every started request exactly once
// (also after a failure or Abort) unless the client is destroyed first.
//
// Bounds: MaxSize (decoded body bytes), IdleTimeout (no byte for that long) and Timeout (the
// whole exchange, redirections included) each end a request with their own error. Whatever
// the limits, the bytes received but not yet handed to OnDocData stay near kPendingLimit:
// past it the transfer pauses until the event loop has delivered them.
//
// Cookies: every request starts with an empty jar. Cookies that answers set along a chain of
// redirections go to the later hops their domain and path cover (libcurl's cookie engine);
// the caller's Cookie goes only to the host of URL.
#include <QObject>
#include <QTimer>

#include <ctime>
#include <deque>
#include <string>
#include <utility>
#include <vector>

typedef void CURL;
typedef void CURLSH;
struct curl_slist;

namespace qm {

// Error codes of OnRequestDone. 0: the exchange completed (ResponseStatus holds the status).
enum HttpError : int {
    HttpOk = 0,
    HttpAborted = 1,            // Abort() was called
    HttpTimedOut = 2,           // Timeout or ConnectTimeout ran out
    HttpConnectionRefused = 3,  // nobody listens there (or the HTTP proxy is down)
    HttpNameNotResolved = 4,    // the host name does not resolve
    HttpProxyFailed = 5,        // the proxy refused: wrong credentials, target unreachable, ...
    HttpConnectionLost = 6,     // the connection broke or the answer was cut short
    HttpTlsFailed = 7,          // TLS handshake or certificate check failed
    HttpBadUrl = 8,             // the URL cannot be requested
    HttpOtherError = 9,
    HttpTooLarge = 10,          // the answer passed MaxSize decoded bytes (or its headers ran too long)
    HttpIdleTimeout = 11,       // no byte arrived for IdleTimeout seconds
};
// A short English description of an error code.
const char *HttpErrorText(int error);

enum class HttpRequest { Get, Head };

class THttpCli;

// The bounds of one request, as a feature sets them on its clients. The defaults are those of
// search engines' pages; 0 turns a bound off.
struct HttpLimits {
    long long maxSize = 8LL << 20;  // decoded body bytes
    int idleTimeout = 20;           // seconds without a byte
    int timeout = 60000;            // ms for the whole exchange
    bool operator==(const HttpLimits &) const = default;
};
void ApplyHttpLimits(THttpCli &client, const HttpLimits &limits);

enum class HttpState { Ready, Busy };

class THttpCli : public QObject {
    Q_OBJECT
public:
    explicit THttpCli(QObject *parent = nullptr);
    ~THttpCli() override;  // a request still running is dropped without events

    // ---- Request properties (read when a request starts) ----
    std::string URL;
    int Tag = 0;
    std::string Proxy;                // HTTP proxy host; empty: no HTTP proxy
    std::string ProxyPort = "80";
    std::string ProxyUsername, ProxyPassword;
    std::string SocksServer;          // SOCKS proxy host; empty: no SOCKS proxy (wins over Proxy)
    std::string SocksPort;            // empty: 1080
    std::string SocksLevel = "5";     // "4", "4A" or "5"
    std::string SocksUsercode, SocksPassword;
    std::string Agent = "Mozilla/3.0 (compatible)";
    std::string Accept = "image/gif, image/x-xbitmap, image/jpeg, image/pjpeg, */*";
    std::string ContentTypePost = "application/x-www-form-urlencoded";
    bool NoCache = false;
    std::string Reference;            // Referer
    std::string Sender;               // From
    std::string Cookie;               // "a=1; b=2" sent to the host of URL (also after redirections back to it)
    std::time_t ModifiedSince = 0;    // If-Modified-Since; 0: none
    bool FollowRelocation = true;     // follow 3xx answers that carry a Location
    int MaxRedirections = 20;
    int Timeout = 0;                  // ms for a whole exchange; 0: none (the default)
    int ConnectTimeout = 30000;       // ms to set up a connection; 0: libcurl's own limit
    long long MaxSize = 0;            // decoded body bytes; more ends with HttpTooLarge; 0: none
    int IdleTimeout = 0;              // seconds without a byte end with HttpIdleTimeout; 0: none

    // Received bytes not yet handed to OnDocData stop the transfer once they pass this.
    static constexpr size_t kPendingLimit = size_t(1) << 20;
    // Header bytes of one answer beyond which it ends with HttpTooLarge.
    static constexpr size_t kMaxHeaderBytes = size_t(256) << 10;

    // ---- State and answer ----
    HttpState State() const { return busy_ ? HttpState::Busy : HttpState::Ready; }
    bool Busy() const { return busy_; }
    int ResponseStatus() const { return status_; }
    const std::string &ResponseReason() const { return reason_; }
    const std::vector<std::string> &ResponseHeaders() const { return headers_; }  // "Name: value"
    const std::string &ResponseLocation() const { return location_; }
    // The value of the first answer header of that name (case ignored); "" when absent.
    std::string ResponseHeader(std::string_view name) const;
    int LastError() const { return lastError_; }
    // Bytes received and not yet delivered, and the most there ever were (since construction
    // or ResetPeakPendingBytes). One callback of libcurl brings at most 16 KB, so the peak
    // stays at most that far above kPendingLimit.
    size_t PendingBytes() const { return pending_; }
    size_t PeakPendingBytes() const { return peakPending_; }
    void ResetPeakPendingBytes() { peakPending_ = pending_; }
    const std::string &LastErrorText() const { return errorText_; }  // libcurl's words, for messages

    // ---- Operations ----
    // Start a request of URL and return at once; false (and nothing happens) when busy.
    bool GetASync();
    bool HeadASync();
    // Cancel the request in progress: the client is ready at once, no further OnDocData
    // arrives for it, and OnRequestDone follows from the event loop (HttpAborted, or the
    // error the request had already ended with). Nothing happens when the client is ready.
    void Abort();

signals:
    void OnDocData(qm::THttpCli *sender, const char *buffer, qsizetype count);
    void OnRequestDone(qm::THttpCli *sender, qm::HttpRequest request, int error);
    // Once per Set-Cookie header of every answer along a chain (the whole header value).
    // Clearing accept keeps the cookie out of the requests that follow a redirection.
    void OnCookie(qm::THttpCli *sender, const std::string &cookie, bool &accept);
    // The client follows a redirection; ResponseLocation holds the new address. A handler may
    // change Cookie (or Abort) before the next request goes out.
    void OnLocationChange(qm::THttpCli *sender);
    // A failure at the socket level (refused, lost, timed out, name, proxy, TLS). OnRequestDone
    // follows with the same code, also when the handler calls Abort.
    void OnSocketError(qm::THttpCli *sender, int error);

private:
    friend class CurlLoop;
    struct Event {
        enum Kind { Begin, Headers, Data, Cookie, Location, Continue, SocketError, Done } kind = Begin;
        quint64 request = 0;
        std::string text;
        int status = 0;
        std::vector<std::string> lines;
        int error = 0;
        HttpRequest type = HttpRequest::Get;
    };
    static Event MakeEvent(Event::Kind kind, quint64 request) {
        Event e;
        e.kind = kind;
        e.request = request;
        return e;
    }

    bool start(HttpRequest type);
    void startHop();
    void transferDone(int curlCode);  // from the loop, after libcurl returned
    void queueData(const char *data, size_t len);
    void queue(Event e);
    void postDelivery();
    void deliver();
    void releaseEasy();
    void touch();            // a byte arrived (or a hop starts): the idle clock starts over
    void checkIdle();        // from idleTimer_
    void fail(int error, std::string text);  // ends the running transfer from the event loop
    void queueEnd(int error, std::string text);  // the last events of a request
    void postResume();
    void resume(quint64 request);
    void forgetRefusedCookies();
    void finishTransfer();   // the transfer left the multi handle for good

    static size_t onHeader(char *data, size_t size, size_t n, void *self);
    static size_t onWrite(char *data, size_t size, size_t n, void *self);

    CURL *easy_ = nullptr;
    bool inMulti_ = false;
    curl_slist *requestHeaders_ = nullptr;
    curl_slist *connectTo_ = nullptr;
    bool busy_ = false;
    quint64 request_ = 0;
    HttpRequest type_ = HttpRequest::Get;
    std::string hopUrl_;
    std::string hopWireUrl_;  // hopUrl_ as sent (blanks escaped)
    int hops_ = 0;
    CURLSH *share_ = nullptr;   // the cookie jar of the running request, kept across its hops
    bool freshJar_ = false;     // empty the jar before the next hop
    std::string firstHost_;     // host of URL: the only one the caller's Cookie goes to
    std::vector<std::string> refused_;  // cookie names a handler refused, dropped before the next hop
    qint64 deadline_ = 0;       // steady ms when Timeout runs out; 0: none

    // Bounds of the running request.
    long long received_ = 0;    // decoded body bytes of the final answer
    size_t headerBytes_ = 0;    // header bytes of the hop
    bool tooLarge_ = false;     // MaxSize or kMaxHeaderBytes ended the transfer
    bool paused_ = false;       // the write callback paused the transfer (back-pressure)
    bool resumePosted_ = false;
    size_t pending_ = 0;        // bytes in Data events not yet delivered
    size_t peakPending_ = 0;
    qint64 lastActivity_ = 0;   // steady ms of the last byte
    QTimer idleTimer_;

    // The hop being received.
    int hopStatus_ = 0;
    std::string hopReason_;
    std::vector<std::string> hopHeaders_;
    std::string hopLocation_;
    bool hopFollow_ = false;  // the hop is a redirection that will be followed: body dropped
    bool hopCut_ = false;     // the body of such a redirection was cut short on purpose

    std::deque<Event> events_;
    std::vector<std::string> spare_;  // data buffers to reuse
    bool deliveryPosted_ = false;

    // What user code sees: updated as events are delivered.
    int status_ = 0;
    std::string reason_;
    std::vector<std::string> headers_;
    std::string location_;
    int lastError_ = 0;
    std::string errorText_;
    std::string curlError_;  // of the current hop
};

}  // namespace qm
