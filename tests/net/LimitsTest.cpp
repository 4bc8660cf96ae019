// The client's bounds against hostile answers of the fake web, over loopback: each bound ends
// a request with its own error, undelivered data stays bounded whatever the compression, and
// cookies go only to the hosts they belong to.
#include "NetTestUtil.h"

#include "fakeweb/Server.h"
#include "net/NetConfig.h"

#include <gtest/gtest.h>

#include <QProcess>
#include <QTemporaryDir>

#include <algorithm>
#include <memory>

using qm::THttpCli;
using qm::test::Recorder;

namespace {

class Limits : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        server = new qm::fakeweb::Server;
        ASSERT_TRUE(server->start());
    }
    static void TearDownTestSuite() {
        delete server;
        server = nullptr;
    }
    void TearDown() override { qm::SetConnectTo(""); }

    static std::string Url(const std::string &path) { return "http://" + server->address() + path; }
    static inline qm::fakeweb::Server *server = nullptr;
};

std::string Encode(const std::string &s) {
    static const char hex[] = "0123456789ABCDEF";
    std::string out;
    for (unsigned char c : s) {
        if (std::isalnum(c) || c == '-' || c == '.' || c == '_' || c == '/' || c == ':') {
            out.push_back(char(c));
        } else {
            out.push_back('%');
            out.push_back(hex[c >> 4]);
            out.push_back(hex[c & 15]);
        }
    }
    return out;
}

// The cookies of the Cookie line of an /echo body, sorted ("" when there is none).
std::string EchoedCookies(const std::string &echo) {
    auto pos = echo.find("\nCookie: ");
    if (pos == std::string::npos) return "";
    pos += 9;
    std::string header = echo.substr(pos, echo.find('\n', pos) - pos), out;
    std::vector<std::string> items;
    for (size_t p = 0; p <= header.size();) {
        size_t end = header.find("; ", p);
        if (end == std::string::npos) end = header.size();
        items.push_back(header.substr(p, end - p));
        p = end + 2;
    }
    std::sort(items.begin(), items.end());
    for (const auto &i : items) out += (out.empty() ? "" : " ") + i;
    return out;
}

struct Outcome {
    int error = -1;
    size_t delivered = 0;
    size_t peakPending = 0;
    int socketErrors = 0;
};

Outcome Fetch(const std::string &url, const qm::HttpLimits &limits) {
    THttpCli c;
    Recorder r;
    size_t delivered = 0;
    QObject::connect(&c, &THttpCli::OnDocData, [&](THttpCli *, const char *, qsizetype n) { delivered += size_t(n); });
    QObject::connect(&c, &THttpCli::OnRequestDone, [&](THttpCli *, qm::HttpRequest, int e) {
        ++r.done;
        r.error = e;
    });
    QObject::connect(&c, &THttpCli::OnSocketError, [&](THttpCli *, int) { ++r.socketErrors; });
    qm::ApplyHttpLimits(c, limits);
    c.URL = url;
    EXPECT_TRUE(c.GetASync());
    EXPECT_TRUE(r.waitDone(1, 60000)) << url;
    EXPECT_EQ(c.PendingBytes(), 0u) << url;
    return {r.error, delivered, c.PeakPendingBytes(), r.socketErrors};
}

TEST_F(Limits, EachBoundEndsTheRequestWithItsOwnError) {
    const long long mb = 1 << 20;
    struct Case {
        std::string path;
        qm::HttpLimits limits;  // size, idle s, total ms
        int error;
        long long delivered;  // -1: not checked
    } cases[] = {
        {"/bytes?size=5000", {5000, 0, 0}, qm::HttpOk, 5000},  // exactly the limit is fine
        {"/bytes?size=5000&chunked=1", {4999, 0, 0}, qm::HttpTooLarge, 4999},
        {"/endless", {100000, 0, 30000}, qm::HttpTooLarge, 100000},
        {"/endless?piece=1000&ms=1", {3 * mb, 0, 30000}, qm::HttpTooLarge, 3 * mb},
        // Counted after decoding: a few KB on the wire, 2 MB handed over, then the end.
        {"/bomb?mib=64", {2 * mb, 0, 30000}, qm::HttpTooLarge, 2 * mb},
        {"/bytes?size=300000&encoding=gzip", {100000, 0, 0}, qm::HttpTooLarge, 100000},
        // No byte for a second: accepted and silent, or a byte every 3 s.
        {"/silent", {0, 1, 30000}, qm::HttpIdleTimeout, 0},
        {"/trickle?forever=1&ms=3000", {0, 1, 30000}, qm::HttpIdleTimeout, 1},
        // A byte every 200 ms is never idle: only the total time ends it.
        {"/trickle?forever=1&ms=200", {0, 1, 1500}, qm::HttpTimedOut, -1},
        // The total time covers every hop of a chain of redirections.
        {"/redirect?to=" + Encode("/trickle?forever=1&ms=200"), {0, 1, 1500}, qm::HttpTimedOut, -1},
    };
    for (const auto &k : cases) {
        Outcome o = Fetch(Url(k.path), k.limits);
        EXPECT_EQ(o.error, k.error) << k.path << ": " << qm::HttpErrorText(o.error);
        if (k.delivered >= 0) EXPECT_EQ(o.delivered, size_t(k.delivered)) << k.path;
        const bool socketLevel = k.error == qm::HttpIdleTimeout || k.error == qm::HttpTimedOut;
        EXPECT_EQ(o.socketErrors, socketLevel ? 1 : 0) << k.path;
    }
    EXPECT_STRNE(qm::HttpErrorText(qm::HttpTooLarge), qm::HttpErrorText(qm::HttpOtherError));
    EXPECT_STRNE(qm::HttpErrorText(qm::HttpIdleTimeout), qm::HttpErrorText(qm::HttpTimedOut));
}

// 256 MiB decoded from about 256 KB: the client pauses the transfer rather than queue it all.
TEST_F(Limits, UndeliveredBytesStayBoundedDuringAGzipBomb) {
    Outcome o = Fetch(Url("/bomb?mib=256"), {0, 0, 0});
    EXPECT_EQ(o.error, qm::HttpOk);
    EXPECT_EQ(o.delivered, size_t(256) << 20);
    // One write callback brings at most 16 KB (CURL_MAX_WRITE_SIZE) beyond the limit.
    EXPECT_LE(o.peakPending, THttpCli::kPendingLimit + 16384);

    // A handler that takes its time (it pumps the loop on every piece) changes nothing.
    THttpCli c;
    Recorder r;
    size_t delivered = 0;
    int pieces = 0;
    QObject::connect(&c, &THttpCli::OnDocData, [&](THttpCli *, const char *, qsizetype n) {
        delivered += size_t(n);
        if (++pieces % 8 == 0) QCoreApplication::processEvents();
    });
    r.attach(c);
    c.URL = Url("/bomb?mib=64");
    ASSERT_TRUE(c.GetASync());
    ASSERT_TRUE(r.waitDone(1, 60000));
    EXPECT_EQ(r.error, qm::HttpOk);
    EXPECT_EQ(delivered, size_t(64) << 20);
    EXPECT_LE(c.PeakPendingBytes(), THttpCli::kPendingLimit + 16384);
}

// Paused transfers resume also when many run at once (each one's pause and resume must not
// wait for another's timer).
TEST_F(Limits, ManyPausedTransfersAllGoOn) {
    std::vector<std::unique_ptr<THttpCli>> clients;
    std::vector<int> errors(6, -1);
    int done = 0;
    for (size_t i = 0; i < errors.size(); ++i) {
        auto c = std::make_unique<THttpCli>();
        qm::ApplyHttpLimits(*c, {8 << 20, 20, 60000});
        QObject::connect(c.get(), &THttpCli::OnRequestDone, [&, i](THttpCli *, qm::HttpRequest, int e) {
            errors[i] = e;
            ++done;
        });
        c->URL = Url("/bomb?mib=32&n=" + std::to_string(i));
        ASSERT_TRUE(c->GetASync());
        clients.push_back(std::move(c));
    }
    ASSERT_TRUE(qm::test::WaitFor([&] { return done == int(errors.size()); }, 60000));
    for (int e : errors) EXPECT_EQ(e, qm::HttpTooLarge) << qm::HttpErrorText(e);
}

// Every request of the whole server misbehaves: the engine bounds end each one.
TEST_F(Limits, MisbehavingServerIsBoundedWhateverThePath) {
    using qm::fakeweb::Misbehave;
    const qm::HttpLimits engine{1 << 20, 1, 20000};
    struct Case {
        const char *word;
        int error;
    } cases[] = {
        {"endless", qm::HttpTooLarge}, {"bomb", qm::HttpTooLarge},      {"silent", qm::HttpIdleTimeout},
        {"trickle", qm::HttpIdleTimeout}, {"garbage", qm::HttpOk},
    };
    for (const auto &k : cases) {
        auto mode = qm::fakeweb::ParseMisbehave(k.word);
        ASSERT_TRUE(mode) << k.word;
        qm::fakeweb::Server::Options options;
        options.misbehave = *mode;
        qm::fakeweb::Server bad(options);
        ASSERT_TRUE(bad.start());
        qm::SetConnectTo("www.anywhere.example::" + bad.address());
        for (std::string path : {"/", "/echo", "/search?q=x"}) {
            Outcome o = Fetch("http://www.anywhere.example" + path, engine);
            EXPECT_EQ(o.error, k.error) << k.word << path;
            EXPECT_LE(o.delivered, size_t(1) << 20) << k.word << path;
        }
        bad.stop();
    }
    EXPECT_FALSE(qm::fakeweb::ParseMisbehave("polite"));
}

TEST_F(Limits, CookiesGoOnlyToTheHostsTheyCover) {
    const std::string port = std::to_string(server->port());
    qm::SetConnectTo("a.shop.example::127.0.0.1:" + port + ",b.shop.example::127.0.0.1:" + port +
                     ",other.example::127.0.0.1:" + port);
    auto redirect = [](const std::string &to, std::vector<std::string> cookies) {
        std::string url = "/redirect?to=" + Encode(to);
        for (const auto &c : cookies) url += "&cookie=" + Encode(c);
        return url;
    };
    // A sets cookies and sends the client to B, which sends it back to A.
    const std::string backToA = "http://a.shop.example/echo";
    const std::string viaB = "http://b.shop.example" + redirect(backToA, {"fromB=2"});
    struct Case {
        std::string url;
        std::string callerCookie;
        std::string sent;  // cookies the final /echo received, sorted
        size_t onCookie;
    } cases[] = {
        // A host-only cookie of A and the caller's own never reach B.
        {"http://a.shop.example" + redirect("http://b.shop.example/echo", {"fromA=1"}), "mine=1", "", 1},
        {"http://a.shop.example" + redirect("http://other.example/echo", {"fromA=1; path=/"}), "mine=1", "", 1},
        // Back on A, A's cookie and the caller's are sent again; B's cookie is not.
        {"http://a.shop.example" + redirect(viaB, {"fromA=1"}), "mine=1", "fromA=1 mine=1", 2},
        // A cookie for the whole domain reaches B; one for another path does not.
        {"http://a.shop.example" + redirect("http://b.shop.example/echo", {"wide=1; domain=shop.example", "deep=1; domain=shop.example; path=/private", "own=1"}),
         "", "wide=1", 3},
    };
    for (const auto &k : cases) {
        THttpCli c;
        Recorder r;
        r.attach(c);
        c.Cookie = k.callerCookie;
        c.URL = k.url;
        ASSERT_TRUE(c.GetASync());
        ASSERT_TRUE(r.waitDone()) << k.url;
        EXPECT_EQ(r.error, qm::HttpOk) << k.url;
        EXPECT_EQ(r.body.rfind("GET /echo", 0), 0u) << r.body;
        EXPECT_EQ(EchoedCookies(r.body), k.sent) << k.url;
        EXPECT_EQ(r.cookies.size(), k.onCookie) << k.url;  // OnCookie for every Set-Cookie of the chain
    }
    // A new request starts with an empty jar.
    THttpCli c;
    Recorder r;
    r.attach(c);
    c.URL = "http://a.shop.example" + redirect("/cookies", {"first=1"});
    ASSERT_TRUE(c.GetASync());
    ASSERT_TRUE(r.waitDone());
    c.URL = "http://a.shop.example/echo";
    ASSERT_TRUE(c.GetASync());
    ASSERT_TRUE(r.waitDone(2));
    EXPECT_EQ(EchoedCookies(r.body.substr(r.body.find("GET /echo"))), "");
}

TEST_F(Limits, FetchCommandStopsAtMaxSizeAndSaysWhy) {
    QTemporaryDir home;
    QProcess p;
    p.start(QString(QUILLMAR_BINARY_DIR) + "/src/cli/quillmar-cli",
            {"--home", home.path(), "fetch", "--max-size", "1000", QString::fromStdString(Url("/endless"))});
    ASSERT_TRUE(p.waitForFinished(60000));
    EXPECT_EQ(p.exitCode(), 1);
    EXPECT_EQ(p.readAllStandardOutput().size(), 1000);
    EXPECT_TRUE(p.readAllStandardError().contains("answer too large"));

    p.start(QString(QUILLMAR_BINARY_DIR) + "/src/cli/quillmar-cli",
            {"--home", home.path(), "fetch", "--max-size", "lots", QString::fromStdString(Url("/"))});
    ASSERT_TRUE(p.waitForFinished(60000));
    EXPECT_EQ(p.exitCode(), 2);
}

}  // namespace
