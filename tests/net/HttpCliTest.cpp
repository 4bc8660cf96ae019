#include "NetTestUtil.h"

#include "fakeweb/Server.h"
#include "net/NetConfig.h"
#include "net/ServiceHosts.h"

#include <gtest/gtest.h>

#include <QPointer>
#include <QProcess>
#include <QTemporaryDir>

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <memory>

using qm::THttpCli;
using qm::test::Recorder;
using qm::test::WaitFor;
using qm::fakeweb::PatternBytes;

namespace qm::test {
int ClosedPort() {
    int fd = ::socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in a{};
    a.sin_family = AF_INET;
    a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    ::bind(fd, reinterpret_cast<sockaddr *>(&a), sizeof a);
    socklen_t len = sizeof a;
    ::getsockname(fd, reinterpret_cast<sockaddr *>(&a), &len);
    ::close(fd);
    return ntohs(a.sin_port);
}
}  // namespace qm::test

namespace {

class HttpCliTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        server = new qm::fakeweb::Server;
        ASSERT_TRUE(server->start());
    }
    static void TearDownTestSuite() {
        delete server;
        server = nullptr;
    }
    void SetUp() override { qm::SetConnectTo(""); qm::RouteServiceHostsTo(0); }
    void TearDown() override { qm::SetConnectTo(""); qm::RouteServiceHostsTo(0); qm::ResetServiceHosts(); }

    static std::string Url(const std::string &path) { return "http://" + server->address() + path; }

    static inline qm::fakeweb::Server *server = nullptr;
};

std::string EchoHeader(const std::string &echo, const std::string &name) {
    auto pos = echo.find("\n" + name + ": ");
    if (pos == std::string::npos) return "<none>";
    pos += name.size() + 3;
    return echo.substr(pos, echo.find('\n', pos) - pos);
}

// The cookies of an echoed Cookie header, sorted: the jar's order is libcurl's.
std::vector<std::string> EchoCookies(const std::string &echo) {
    std::vector<std::string> out;
    const std::string header = EchoHeader(echo, "Cookie");
    if (header == "<none>") return out;
    for (size_t pos = 0; pos <= header.size();) {
        size_t end = header.find("; ", pos);
        if (end == std::string::npos) end = header.size();
        out.push_back(header.substr(pos, end - pos));
        pos = end + 2;
    }
    std::sort(out.begin(), out.end());
    return out;
}

TEST_F(HttpCliTest, GetSendsTheRequestPropertiesAndReportsTheAnswer) {
    THttpCli c;
    Recorder r;
    r.attach(c);
    EXPECT_EQ(c.State(), qm::HttpState::Ready);
    c.URL = Url("/echo?x=1");
    c.Reference = "http://ref.example/";
    c.Sender = "me@quillmar.example";
    c.Cookie = "session=abc; lang=en";
    c.NoCache = true;
    c.ModifiedSince = 784111777;  // Sun, 06 Nov 1994 08:49:37 GMT
    ASSERT_TRUE(c.GetASync());
    EXPECT_EQ(c.State(), qm::HttpState::Busy);
    EXPECT_FALSE(c.GetASync());  // busy: refused, nothing changes
    ASSERT_TRUE(r.waitDone());
    QCoreApplication::processEvents();
    EXPECT_EQ(r.done, 1);
    EXPECT_EQ(r.error, qm::HttpOk);
    EXPECT_EQ(r.type, qm::HttpRequest::Get);
    EXPECT_EQ(c.ResponseStatus(), 200);
    EXPECT_EQ(c.ResponseReason(), "OK");
    EXPECT_EQ(c.ResponseHeader("content-type"), "text/plain");
    EXPECT_EQ(c.State(), qm::HttpState::Ready);
    EXPECT_EQ(r.body.rfind("GET /echo?x=1\n", 0), 0u) << r.body;
    EXPECT_EQ(EchoHeader(r.body, "User-Agent"), "Mozilla/3.0 (compatible)");
    EXPECT_EQ(EchoHeader(r.body, "Accept"), "image/gif, image/x-xbitmap, image/jpeg, image/pjpeg, */*");
    EXPECT_EQ(EchoHeader(r.body, "Referer"), "http://ref.example/");
    EXPECT_EQ(EchoHeader(r.body, "From"), "me@quillmar.example");
    EXPECT_EQ(EchoHeader(r.body, "Cookie"), "session=abc; lang=en");
    EXPECT_EQ(EchoHeader(r.body, "Pragma"), "no-cache");
    EXPECT_EQ(EchoHeader(r.body, "If-Modified-Since"), "Sun, 06 Nov 1994 08:49:37 GMT");

    // Bytes of the address travel as written, except blanks, which are escaped.
    Recorder r3;
    THttpCli raw;
    r3.attach(raw);
    raw.URL = Url("/echo?q=caf\xe9+\"x\" y");
    ASSERT_TRUE(raw.GetASync());
    ASSERT_TRUE(r3.waitDone());
    EXPECT_EQ(r3.error, qm::HttpOk) << raw.LastErrorText();
    EXPECT_EQ(r3.body.substr(0, r3.body.find('\n')), "GET /echo?q=caf\xe9+\"x\"%20y");

    // Defaults of a fresh client send neither cache nor conditional headers.
    THttpCli plain;
    Recorder r2;
    r2.attach(plain);
    plain.URL = Url("/echo");
    ASSERT_TRUE(plain.GetASync());
    ASSERT_TRUE(r2.waitDone());
    EXPECT_EQ(EchoHeader(r2.body, "Pragma"), "<none>");
    EXPECT_EQ(EchoHeader(r2.body, "If-Modified-Since"), "<none>");
    EXPECT_EQ(EchoHeader(r2.body, "Cookie"), "<none>");
    EXPECT_EQ(plain.ProxyPort, "80");
}

TEST_F(HttpCliTest, StatusCodesHeadAndBodyCodings) {
    THttpCli c;
    Recorder r;
    r.attach(c);
    c.URL = Url("/status/404");
    ASSERT_TRUE(c.GetASync());
    ASSERT_TRUE(r.waitDone());
    EXPECT_EQ(r.error, qm::HttpOk);  // an answer, whatever its status, is a completed exchange
    EXPECT_EQ(r.status, 404);
    EXPECT_EQ(c.ResponseReason(), "Not Found");

    struct Case {
        const char *path;
        size_t size;
        unsigned seed;
        const char *coding;
    } cases[] = {
        {"/bytes?size=3000000&seed=1", 3000000, 1, ""},
        {"/bytes?size=200000&seed=2&chunked=1&piece=999", 200000, 2, ""},
        {"/bytes?size=500000&seed=3&encoding=gzip", 500000, 3, "gzip"},
        {"/bytes?size=70000&seed=4&encoding=deflate&chunked=1", 70000, 4, "deflate"},
        {"/trickle?size=3000&pieces=6&ms=30&seed=5", 3000, 5, ""},
    };
    for (const auto &k : cases) {
        Recorder rb;
        THttpCli b;
        rb.attach(b);
        b.URL = Url(k.path);
        ASSERT_TRUE(b.GetASync());
        ASSERT_TRUE(rb.waitDone()) << k.path;
        EXPECT_EQ(rb.error, qm::HttpOk) << k.path;
        EXPECT_EQ(rb.body.size(), k.size) << k.path;
        EXPECT_TRUE(rb.body == PatternBytes(k.size, k.seed)) << k.path;
        EXPECT_EQ(b.ResponseHeader("Content-Encoding"), k.coding) << k.path;
    }

    Recorder rh;
    THttpCli h;
    rh.attach(h);
    h.URL = Url("/bytes?size=12345");
    ASSERT_TRUE(h.HeadASync());
    ASSERT_TRUE(rh.waitDone());
    EXPECT_EQ(rh.type, qm::HttpRequest::Head);
    EXPECT_EQ(rh.error, qm::HttpOk);
    EXPECT_EQ(rh.status, 200);
    EXPECT_EQ(rh.dataEvents, 0);
    EXPECT_EQ(h.ResponseHeader("Content-Length"), "12345");
}

TEST_F(HttpCliTest, RedirectionsCarryCookiesAndReportEachHop) {
    THttpCli c;
    Recorder r;
    r.attach(c);
    c.Cookie = "user=me";
    c.URL = Url("/hops/3?cookie=1");
    ASSERT_TRUE(c.GetASync());
    ASSERT_TRUE(r.waitDone());
    EXPECT_EQ(r.error, qm::HttpOk);
    EXPECT_EQ(r.status, 200);
    ASSERT_EQ(r.locations.size(), 4u);
    EXPECT_EQ(r.locations[0], Url("/hops/2?cookie=1"));
    EXPECT_EQ(r.locations[3], Url("/echo"));
    EXPECT_EQ(c.ResponseLocation(), Url("/echo"));
    EXPECT_EQ(r.cookies, (std::vector<std::string>{"hop3=3; path=/", "hop2=2; path=/", "hop1=1; path=/"}));
    EXPECT_EQ(EchoCookies(r.body), (std::vector<std::string>{"hop1=1", "hop2=2", "hop3=3", "user=me"}));
    // Only the last answer's body reaches the caller.
    EXPECT_EQ(r.body.rfind("GET /echo\n", 0), 0u) << r.body;

    // A refused cookie is not carried; a Cookie changed on the way is used for the next hop.
    THttpCli d;
    Recorder rd;
    rd.attach(d);
    QObject::connect(&d, &THttpCli::OnCookie, [](THttpCli *, const std::string &text, bool &accept) {
        if (text.rfind("b=", 0) == 0) accept = false;
    });
    QObject::connect(&d, &THttpCli::OnLocationChange, [](THttpCli *s) { s->Cookie = "changed=1"; });
    d.URL = Url("/redirect?cookie=a%3D1&cookie=b%3D2&status=301");
    ASSERT_TRUE(d.GetASync());
    ASSERT_TRUE(rd.waitDone());
    EXPECT_EQ(rd.cookies.size(), 2u);
    EXPECT_EQ(EchoCookies(rd.body), (std::vector<std::string>{"a=1", "changed=1"}));
    EXPECT_EQ(rd.log, (std::vector<std::string>{"cookie", "cookie", "location", "data", "done"}));

    // Not following: the 3xx is the answer.
    THttpCli n;
    Recorder rn;
    rn.attach(n);
    n.FollowRelocation = false;
    n.URL = Url("/redirect?to=/elsewhere");
    ASSERT_TRUE(n.GetASync());
    ASSERT_TRUE(rn.waitDone());
    EXPECT_EQ(rn.status, 302);
    EXPECT_TRUE(rn.locations.empty());
    EXPECT_EQ(n.ResponseHeader("Location"), "/elsewhere");
}

TEST_F(HttpCliTest, FailuresHaveDistinctCodesAndEndOnce) {
    struct Case {
        std::string url;
        int timeout;
        int expected;
    } cases[] = {
        {"http://127.0.0.1:" + std::to_string(qm::test::ClosedPort()) + "/", 0, qm::HttpConnectionRefused},
        {"http://no-such-host.invalid/", 0, qm::HttpNameNotResolved},
        {Url("/silent"), 300, qm::HttpTimedOut},
        {Url("/drop?size=50000&after=3000"), 0, qm::HttpConnectionLost},
        {"ftp://127.0.0.1/x", 0, qm::HttpBadUrl},
        {"", 0, qm::HttpBadUrl},
    };
    for (const auto &k : cases) {
        THttpCli c;
        Recorder r;
        r.attach(c);
        c.URL = k.url;
        c.Timeout = k.timeout;
        ASSERT_TRUE(c.GetASync());
        ASSERT_TRUE(r.waitDone()) << k.url;
        QCoreApplication::processEvents();
        EXPECT_EQ(r.done, 1) << k.url;
        EXPECT_EQ(r.error, k.expected) << k.url << ": " << c.LastErrorText();
        EXPECT_EQ(c.LastError(), k.expected);
        EXPECT_EQ(r.log.back(), "done");
        bool socketLevel = k.expected != qm::HttpBadUrl;
        EXPECT_EQ(r.socketErrors, socketLevel ? 1 : 0) << k.url;
        EXPECT_EQ(c.State(), qm::HttpState::Ready);
    }

    // The socket error handler aborts, as every feature does: the cause stays visible.
    THttpCli c;
    Recorder r;
    r.attach(c);
    QObject::connect(&c, &THttpCli::OnSocketError, [](THttpCli *s, int) { s->Abort(); });
    c.URL = "http://127.0.0.1:" + std::to_string(qm::test::ClosedPort()) + "/";
    ASSERT_TRUE(c.GetASync());
    ASSERT_TRUE(r.waitDone());
    QCoreApplication::processEvents();
    EXPECT_EQ(r.done, 1);
    EXPECT_EQ(r.error, qm::HttpConnectionRefused);
}

TEST_F(HttpCliTest, AbortStopsDataAndEndsTheRequestOnce) {
    // From outside, after the first piece.
    THttpCli c;
    Recorder r;
    r.attach(c);
    c.URL = Url("/trickle?size=4000&pieces=20&ms=50");
    ASSERT_TRUE(c.GetASync());
    ASSERT_TRUE(WaitFor([&] { return r.dataEvents > 0; }));
    c.Abort();
    EXPECT_EQ(c.State(), qm::HttpState::Ready);
    int seen = r.dataEvents;
    ASSERT_TRUE(r.waitDone());
    EXPECT_FALSE(WaitFor([&] { return r.dataEvents > seen || r.done > 1; }, 400));
    EXPECT_EQ(r.error, qm::HttpAborted);
    EXPECT_LT(r.body.size(), 4000u);
    c.Abort();  // ready: nothing happens
    QCoreApplication::processEvents();
    EXPECT_EQ(r.done, 1);

    // Abort then start again at once: the aborted request ends first, then the new one.
    c.URL = Url("/silent");
    ASSERT_TRUE(c.GetASync());
    c.Abort();
    c.URL = Url("/bytes?size=100&seed=9");
    r = Recorder{};
    ASSERT_TRUE(c.GetASync());
    ASSERT_TRUE(r.waitDone(2));
    EXPECT_EQ(r.log, (std::vector<std::string>{"done", "data", "done"}));
    EXPECT_EQ(r.error, qm::HttpOk);
    EXPECT_EQ(r.body, PatternBytes(100, 9));

    // From inside the data handler, with more data already on its way.
    THttpCli d;
    Recorder rd;
    rd.attach(d);
    QObject::connect(&d, &THttpCli::OnDocData, [](THttpCli *s, const char *, qsizetype) { s->Abort(); });
    d.URL = Url("/bytes?size=2000000&piece=1000");
    ASSERT_TRUE(d.GetASync());
    ASSERT_TRUE(rd.waitDone());
    EXPECT_FALSE(WaitFor([&] { return rd.done > 1 || rd.dataEvents > 1; }, 300));
    EXPECT_EQ(rd.dataEvents, 1);
    EXPECT_EQ(rd.error, qm::HttpAborted);

    // Aborted after the whole answer arrived but before its end was delivered: still aborted.
    THttpCli e;
    Recorder re;
    re.attach(e);
    QObject::connect(&e, &THttpCli::OnDocData, [](THttpCli *s, const char *, qsizetype) { s->Abort(); });
    e.URL = Url("/bytes?size=10");
    ASSERT_TRUE(e.GetASync());
    ASSERT_TRUE(re.waitDone());
    EXPECT_EQ(re.error, qm::HttpAborted);
    EXPECT_EQ(re.log, (std::vector<std::string>{"data", "done"}));
}

TEST_F(HttpCliTest, HandlersMayRestartOrDestroyTheClient) {
    // Chained requests from the request-done handler.
    THttpCli c;
    std::vector<std::string> bodies(1);
    int finished = 0;
    QObject::connect(&c, &THttpCli::OnDocData,
                     [&](THttpCli *, const char *b, qsizetype n) { bodies.back().append(b, size_t(n)); });
    QObject::connect(&c, &THttpCli::OnRequestDone, [&](THttpCli *s, qm::HttpRequest, int) {
        if (++finished < 5) {
            bodies.emplace_back();
            s->URL = Url("/bytes?size=5000&seed=" + std::to_string(finished));
            EXPECT_TRUE(s->GetASync());
        }
    });
    c.URL = Url("/bytes?size=5000&seed=0");
    ASSERT_TRUE(c.GetASync());
    ASSERT_TRUE(WaitFor([&] { return finished == 5; }));
    for (unsigned i = 0; i < 5; ++i) EXPECT_TRUE(bodies[i] == PatternBytes(5000, i)) << i;

    // Destroyed from each kind of handler, with events still queued behind it.
    enum Where { InData, InDone, InLocation, InCookie, InSocketError };
    for (Where where : {InData, InDone, InLocation, InCookie, InSocketError}) {
        auto *d = new THttpCli;
        QPointer<THttpCli> alive(d);
        int calls = 0;
        auto kill = [&calls](THttpCli *s) {
            ++calls;
            delete s;
        };
        switch (where) {
        case InData:
            QObject::connect(d, &THttpCli::OnDocData, [kill](THttpCli *s, const char *, qsizetype) { kill(s); });
            d->URL = Url("/bytes?size=1000000&piece=500");
            break;
        case InDone:
            QObject::connect(d, &THttpCli::OnRequestDone, [kill](THttpCli *s, qm::HttpRequest, int) { kill(s); });
            d->URL = Url("/bytes?size=100");
            break;
        case InLocation:
            QObject::connect(d, &THttpCli::OnLocationChange, [kill](THttpCli *s) { kill(s); });
            d->URL = Url("/hops/2");
            break;
        case InCookie:
            QObject::connect(d, &THttpCli::OnCookie,
                             [kill](THttpCli *s, const std::string &, bool &) { kill(s); });
            d->URL = Url("/cookies?set=a%3D1&set=b%3D2");
            break;
        case InSocketError:
            QObject::connect(d, &THttpCli::OnSocketError, [kill](THttpCli *s, int) { kill(s); });
            d->URL = Url("/drop?size=9000&after=10");
            break;
        }
        ASSERT_TRUE(d->GetASync());
        ASSERT_TRUE(WaitFor([&] { return alive.isNull(); })) << where;
        QCoreApplication::processEvents();
        EXPECT_EQ(calls, 1) << where;
    }
}

TEST_F(HttpCliTest, ManyClientsFetchManyPagesInOrder) {
    constexpr int kClients = 17, kPages = 20;
    std::vector<std::unique_ptr<THttpCli>> clients;
    std::vector<std::string> current(kClients);
    std::vector<int> page(kClients, 0), bad(kClients, 0);
    int finished = 0;
    auto url = [](int client, int p) {
        return Url("/bytes?size=" + std::to_string(1000 + 7919 * ((client * kPages + p) % 37)) +
                   "&seed=" + std::to_string(client * 100 + p) + (p % 3 == 0 ? "&chunked=1&piece=3000" : ""));
    };
    for (int i = 0; i < kClients; ++i) {
        clients.push_back(std::make_unique<THttpCli>());
        THttpCli *c = clients.back().get();
        c->Tag = i;
        QObject::connect(c, &THttpCli::OnDocData,
                         [&](THttpCli *s, const char *b, qsizetype n) { current[size_t(s->Tag)].append(b, size_t(n)); });
        QObject::connect(c, &THttpCli::OnRequestDone, [&](THttpCli *s, qm::HttpRequest, int error) {
            int t = s->Tag, p = page[size_t(t)];
            size_t size = size_t(1000 + 7919 * ((t * kPages + p) % 37));
            if (error != 0 || current[size_t(t)] != PatternBytes(size, unsigned(t * 100 + p))) ++bad[size_t(t)];
            current[size_t(t)].clear();
            if (++page[size_t(t)] < kPages) {
                s->URL = url(t, page[size_t(t)]);
                s->GetASync();
            } else {
                ++finished;
            }
        });
        c->URL = url(i, 0);
        ASSERT_TRUE(c->GetASync());
    }
    ASSERT_TRUE(WaitFor([&] { return finished == kClients; }, 60000));
    for (int i = 0; i < kClients; ++i) {
        EXPECT_EQ(page[size_t(i)], kPages);
        EXPECT_EQ(bad[size_t(i)], 0) << "client " << i;
    }
}

TEST_F(HttpCliTest, ConnectToRoutesServiceHostsAndKeepsTheHost) {
    THttpCli c;
    Recorder r;
    r.attach(c);
    qm::RouteServiceHostsTo(server->port());
    c.URL = "http://www.quillmar.example/echo";
    ASSERT_TRUE(c.GetASync());
    ASSERT_TRUE(r.waitDone());
    EXPECT_EQ(r.error, qm::HttpOk) << c.LastErrorText();
    EXPECT_EQ(EchoHeader(r.body, "Host"), "www.quillmar.example");

    // The route follows a host replaced at run time.
    qm::SetServiceHost("home", "moved.quillmar.example");
    server->refreshHosts();
    r = Recorder{};
    c.URL = "http://moved.quillmar.example/";
    ASSERT_TRUE(c.GetASync());
    ASSERT_TRUE(r.waitDone());
    EXPECT_EQ(r.error, qm::HttpOk);
    EXPECT_NE(r.body.find("Quillmar home"), std::string::npos);
    qm::ResetServiceHosts();
    server->refreshHosts();

    // Explicit entries, several at once, comma separated; the generated table list.
    qm::RouteServiceHostsTo(0);
    qm::SetConnectTo(" a.example:80:127.0.0.1:1 , b.example::127.0.0.1:" + std::to_string(server->port()));
    ASSERT_EQ(qm::ConnectTo().size(), 2u);
    r = Recorder{};
    c.URL = "http://b.example:8080/echo";
    ASSERT_TRUE(c.GetASync());
    ASSERT_TRUE(r.waitDone());
    EXPECT_EQ(r.error, qm::HttpOk);
    EXPECT_EQ(EchoHeader(r.body, "Host"), "b.example:8080");
    std::string all = qm::ServiceHostsConnectTo(4242);
    for (const auto &row : qm::ServiceHosts())
        EXPECT_NE(all.find(row.host + "::127.0.0.1:4242"), std::string::npos) << row.host;
}

TEST_F(HttpCliTest, DemoRoutingSendsEveryHostToTheFakeWeb) {
    THttpCli c;
    Recorder r;
    r.attach(c);
    // Without the every-host flag a host outside the table is not routed.
    qm::RouteServiceHostsTo(server->port());
    auto entries = qm::ConnectToForRequest();
    ASSERT_FALSE(entries.empty());
    EXPECT_NE(entries.back().rfind("::", 0), 0u);

    qm::RouteServiceHostsTo(server->port(), "127.0.0.1", /*everyHost=*/true);
    entries = qm::ConnectToForRequest();
    ASSERT_FALSE(entries.empty());
    EXPECT_EQ(entries.back(), "::127.0.0.1:" + std::to_string(server->port()));  // after the table
    c.URL = "http://nowhere.unlisted.example:8443/echo";
    ASSERT_TRUE(c.GetASync());
    ASSERT_TRUE(r.waitDone());
    EXPECT_EQ(r.error, qm::HttpOk) << c.LastErrorText();
    EXPECT_EQ(EchoHeader(r.body, "Host"), "nowhere.unlisted.example:8443");

    // Turning the route off drops the catch-all too.
    qm::RouteServiceHostsTo(0);
    for (const auto &e : qm::ConnectToForRequest()) EXPECT_NE(e.rfind("::", 0), 0u) << e;
}

TEST_F(HttpCliTest, Https) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    std::string cert = dir.filePath("cert.pem").toStdString(), key = dir.filePath("key.pem").toStdString();
    QProcess openssl;
    openssl.start("openssl", {"req", "-x509", "-newkey", "rsa:2048", "-nodes", "-days", "2", "-keyout",
                              QString::fromStdString(key), "-out", QString::fromStdString(cert), "-subj",
                              "/CN=secure.quillmar.example", "-addext",
                              "subjectAltName=DNS:secure.quillmar.example"});
    ASSERT_TRUE(openssl.waitForFinished(60000));
    ASSERT_EQ(openssl.exitCode(), 0) << openssl.readAllStandardError().toStdString();

    qm::fakeweb::Server tls(qm::fakeweb::Server::Options{.certFile = cert, .keyFile = key});
    ASSERT_TRUE(tls.start());
    qm::SetConnectTo("secure.quillmar.example::127.0.0.1:" + std::to_string(tls.port()));

    THttpCli c;
    Recorder r;
    r.attach(c);
    c.URL = "https://secure.quillmar.example/bytes?size=100000&seed=7";
    ASSERT_TRUE(c.GetASync());
    ASSERT_TRUE(r.waitDone());
    EXPECT_EQ(r.error, qm::HttpTlsFailed);  // not trusted yet

    qm::SetCaFile(cert);
    r = Recorder{};
    ASSERT_TRUE(c.GetASync());
    ASSERT_TRUE(r.waitDone());
    qm::SetCaFile("");
    EXPECT_EQ(r.error, qm::HttpOk) << c.LastErrorText();
    EXPECT_EQ(r.status, 200);
    EXPECT_TRUE(r.body == PatternBytes(100000, 7));
}

}  // namespace
