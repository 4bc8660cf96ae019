#include "NetTestUtil.h"
#include "ProxyPeers.h"

#include "fakeweb/Server.h"
#include "net/NetConfig.h"
#include "net/Proxy.h"
#include "settings/Opt.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QElapsedTimer>
#include <QProcess>
#include <QTemporaryDir>

#include <cstdlib>

using qm::ProxySettings;
using qm::THttpCli;
using qm::fakeweb::PatternBytes;
using qm::test::Recorder;

namespace {

// A peer that is missing fails the test in CI (setup installs every peer), else skips it.
#define REQUIRE_PEER(peer)                                                                       \
    do {                                                                                         \
        if (!(peer)->port() || !(peer)->error().empty()) {                                       \
            bool missing = (peer)->error().find("not installed") != std::string::npos;           \
            const char *ci = std::getenv("CI");                                                  \
            if (missing && !(ci && std::string(ci) == "true")) GTEST_SKIP() << (peer)->error();  \
            FAIL() << (peer)->error();                                                           \
        }                                                                                        \
    } while (0)

TEST(ApplyProxySettings, MapsEveryModeOntoTheClient) {
    THttpCli c;
    ProxySettings s;
    s.mode = ProxySettings::Http;
    s.address = "  proxy.example ";
    s.port = " 3128\t";
    s.user = " alice ";
    s.password = " pw with space ";
    s.usePassword = false;
    c.SocksServer = "old";
    c.SocksPort = "1";
    c.SocksUsercode = "u";
    c.SocksPassword = "p";
    c.ProxyUsername = "stale";
    qm::ApplyProxySettings(c, s);
    EXPECT_EQ(c.Proxy, "proxy.example");
    EXPECT_EQ(c.ProxyPort, "3128");
    EXPECT_EQ(c.ProxyUsername, "");
    EXPECT_EQ(c.ProxyPassword, "");
    EXPECT_EQ(c.SocksServer + c.SocksPort + c.SocksUsercode + c.SocksPassword, "");

    s.usePassword = true;
    qm::ApplyProxySettings(c, s);
    EXPECT_EQ(c.ProxyUsername, "alice");
    EXPECT_EQ(c.ProxyPassword, "pw with space");

    s.mode = ProxySettings::Socks;
    const char *levels[] = {"4", "4A", "5"};
    for (int level = 0; level < 3; ++level) {
        s.socksLevel = level;
        qm::ApplyProxySettings(c, s);
        EXPECT_EQ(c.SocksLevel, levels[level]);
        EXPECT_EQ(c.SocksServer, "proxy.example");
        EXPECT_EQ(c.SocksPort, "3128");
        EXPECT_EQ(c.SocksUsercode, "alice");
        EXPECT_EQ(c.SocksPassword, "pw with space");
        EXPECT_EQ(c.Proxy + c.ProxyPort + c.ProxyUsername + c.ProxyPassword, "");
    }
    s.usePassword = false;
    qm::ApplyProxySettings(c, s);
    EXPECT_EQ(c.SocksUsercode + c.SocksPassword, "");

    for (int mode : {int(ProxySettings::None), 7, -1}) {
        s.mode = mode;
        qm::ApplyProxySettings(c, s);
        EXPECT_EQ(c.Proxy + c.ProxyPort + c.ProxyUsername + c.ProxyPassword, "") << mode;
        EXPECT_EQ(c.SocksServer + c.SocksPort + c.SocksUsercode + c.SocksPassword, "") << mode;
    }

    // From the options record.
    qm::ProxyOptions o;
    o.mode = 2;
    o.socksLevel = 1;
    o.address = "s.example";
    o.port = "1080";
    qm::ApplyProxySettings(c, o);
    EXPECT_EQ(c.SocksServer, "s.example");
    EXPECT_EQ(c.SocksLevel, "4A");
}

class ProxyTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        web = new qm::fakeweb::Server;
        ASSERT_TRUE(web->start());
    }
    static void TearDownTestSuite() {
        delete web;
        web = nullptr;
    }
    void SetUp() override { qm::SetConnectTo(""); }

    static std::string Url(const std::string &path) { return "http://" + web->address() + path; }

    // One GET through the settings; the recorder holds the outcome.
    static Recorder Fetch(const ProxySettings &s, const std::string &url, int *elapsedMs = nullptr) {
        THttpCli c;
        Recorder r;
        r.attach(c);
        QObject::connect(&c, &THttpCli::OnSocketError, [](THttpCli *cli, int) { cli->Abort(); });
        qm::ApplyProxySettings(c, s);
        c.URL = url;
        QElapsedTimer t;
        t.start();
        EXPECT_TRUE(c.GetASync());
        EXPECT_TRUE(r.waitDone(1, 20000)) << "no answer through the proxy";
        if (elapsedMs) *elapsedMs = int(t.elapsed());
        return r;
    }

    static ProxySettings Settings(int mode, int port, int level = 0, std::string user = {}, std::string pw = {}) {
        ProxySettings s;
        s.mode = mode;
        s.socksLevel = level;
        s.address = "127.0.0.1";
        s.port = std::to_string(port);
        s.usePassword = !user.empty();
        s.user = std::move(user);
        s.password = std::move(pw);
        return s;
    }

    static inline qm::fakeweb::Server *web = nullptr;
};

TEST_F(ProxyTest, HttpProxyWithBasicAuthentication) {
    auto proxy = qm::test::StartTinyproxy("alice", "s3cret");
    REQUIRE_PEER(proxy);

    auto r = Fetch(Settings(ProxySettings::Http, proxy->port(), 0, "alice", "s3cret"), Url("/bytes?size=300000&seed=11"));
    EXPECT_EQ(r.error, qm::HttpOk);
    EXPECT_EQ(r.status, 200);
    EXPECT_TRUE(r.body == PatternBytes(300000, 11));
    r = Fetch(Settings(ProxySettings::Http, proxy->port(), 0, "alice", "s3cret"), Url("/echo"));
    EXPECT_NE(r.body.find("tinyproxy"), std::string::npos) << r.body;  // Via header: it went through

    for (auto creds : {std::pair<std::string, std::string>{"alice", "wrong"}, {"", ""}}) {
        r = Fetch(Settings(ProxySettings::Http, proxy->port(), 0, creds.first, creds.second), Url("/echo"));
        EXPECT_TRUE(r.error != qm::HttpOk || (r.status != 200)) << creds.second;
        EXPECT_EQ(r.body.find("GET /echo"), std::string::npos) << "passed through with bad credentials";
    }
    // A tunnel (HTTPS) the proxy refuses is the proxy's failure.
    r = Fetch(Settings(ProxySettings::Http, proxy->port(), 0, "alice", "wrong"), "https://127.0.0.1:" + std::to_string(web->port()) + "/");
    EXPECT_EQ(r.error, qm::HttpProxyFailed);
}

TEST_F(ProxyTest, SocksFourAndFiveThroughDante) {
    auto proxy = qm::test::StartDante();
    REQUIRE_PEER(proxy);
    for (int level : {0, 2}) {
        auto r = Fetch(Settings(ProxySettings::Socks, proxy->port(), level), Url("/bytes?size=100000&seed=12"));
        EXPECT_EQ(r.error, qm::HttpOk) << level;
        EXPECT_EQ(r.status, 200);
        EXPECT_TRUE(r.body == PatternBytes(100000, 12)) << level;
    }
    // The same settings with the proxy gone: a quick failure, so the proxy was in the path.
    // (A new target host, so that no connection kept from above is reused.)
    int port = proxy->port();
    proxy->stop();
    int ms = 0;
    auto r = Fetch(Settings(ProxySettings::Socks, port, 2), "http://localhost:" + std::to_string(web->port()) + "/echo", &ms);
    EXPECT_NE(r.error, qm::HttpOk);
    EXPECT_EQ(r.body, "");
    EXPECT_LT(ms, 5000);
}

TEST_F(ProxyTest, SocksFiveWithUserAndPassword) {
    auto proxy = qm::test::StartMicrosocks("bob", "pa55");
    REQUIRE_PEER(proxy);
    auto r = Fetch(Settings(ProxySettings::Socks, proxy->port(), 2, "bob", "pa55"), Url("/bytes?size=50000&seed=13"));
    EXPECT_EQ(r.error, qm::HttpOk);
    EXPECT_TRUE(r.body == PatternBytes(50000, 13));
    for (auto creds : {std::pair<std::string, std::string>{"bob", "wrong"}, {"", ""}}) {
        r = Fetch(Settings(ProxySettings::Socks, proxy->port(), 2, creds.first, creds.second), Url("/echo"));
        EXPECT_EQ(r.error, qm::HttpProxyFailed) << creds.second;
        EXPECT_EQ(r.body, "");
    }
}

TEST_F(ProxyTest, SocksFourAResolvesOnTheProxy) {
    qm::test::Socks4Server proxy("quill");
    proxy.hosts["only-the-proxy-knows.test"] = "127.0.0.1";
    ASSERT_TRUE(proxy.start());
    std::string url = "http://only-the-proxy-knows.test:" + std::to_string(web->port()) + "/bytes?size=20000&seed=14";

    auto r = Fetch(Settings(ProxySettings::Socks, proxy.port(), 1, "quill", "unused"), url);
    EXPECT_EQ(r.error, qm::HttpOk);
    EXPECT_TRUE(r.body == PatternBytes(20000, 14));
    EXPECT_EQ(proxy.namesSeen(), std::vector<std::string>{"only-the-proxy-knows.test"});

    // Level 4 resolves here, where the name is unknown.
    r = Fetch(Settings(ProxySettings::Socks, proxy.port(), 0, "quill", "unused"), url);
    EXPECT_EQ(r.error, qm::HttpNameNotResolved);
    // A wrong user code is refused by the proxy.
    r = Fetch(Settings(ProxySettings::Socks, proxy.port(), 1, "other", ""), url);
    EXPECT_EQ(r.error, qm::HttpProxyFailed);
    EXPECT_EQ(proxy.connects.load(), 1);
}

TEST_F(ProxyTest, ProxyThatIsDownFailsFast) {
    int port = qm::test::ClosedPort();
    for (auto s : {Settings(ProxySettings::Http, port), Settings(ProxySettings::Http, port, 0, "a", "b"),
                   Settings(ProxySettings::Socks, port, 0), Settings(ProxySettings::Socks, port, 1),
                   Settings(ProxySettings::Socks, port, 2, "a", "b")}) {
        int ms = 0;
        auto r = Fetch(s, Url("/echo"), &ms);
        EXPECT_EQ(r.error, qm::HttpConnectionRefused) << s.mode << "/" << s.socksLevel;
        EXPECT_LT(ms, 5000);
    }
}

// quillmar-cli fetch reads the proxy from the options file of the data root.
class CliFetch : public ProxyTest {
protected:
    struct Outcome {
        int exit = -1;
        std::string out, err;
    };
    Outcome Run(const qm::ProxyOptions &proxy, const std::string &url, QStringList extra = {}) {
        QTemporaryDir home;
        EXPECT_TRUE(QDir(home.path()).mkpath("Options"));
        qm::Options options;
        options.proxy = proxy;
        EXPECT_TRUE(qm::SaveOptions(options, home.path().toStdString() + "/Options/Configuration.ini"));
        QProcess p;
        p.start(QString(QUILLMAR_BINARY_DIR) + "/src/cli/quillmar-cli",
                QStringList{"--home", home.path(), "fetch"} + extra + QStringList{QString::fromStdString(url)});
        Outcome o;
        if (!p.waitForFinished(30000)) {
            p.kill();
            p.waitForFinished();
            ADD_FAILURE() << "quillmar-cli fetch hangs";
            return o;
        }
        o.exit = p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -2;
        o.out = p.readAllStandardOutput().toStdString();
        o.err = p.readAllStandardError().toStdString();
        return o;
    }
    static qm::ProxyOptions Options(int mode, int port, int level = 0, std::string user = {}, std::string pw = {}) {
        qm::ProxyOptions o;
        o.mode = mode;
        o.socksLevel = level;
        o.address = "127.0.0.1";
        o.port = std::to_string(port);
        o.usePassword = !user.empty();
        o.user = std::move(user);
        o.password = std::move(pw);
        return o;
    }
};

TEST_F(CliFetch, EveryProxyModeOfTheOptionsFile) {
    auto tiny = qm::test::StartTinyproxy("alice", "s3cret");
    REQUIRE_PEER(tiny);
    auto dante = qm::test::StartDante();
    REQUIRE_PEER(dante);
    auto micro = qm::test::StartMicrosocks("bob", "pa55");
    REQUIRE_PEER(micro);
    qm::test::Socks4Server four("");
    ASSERT_TRUE(four.start());

    const std::string url = Url("/bytes?size=40000&seed=21"), body = PatternBytes(40000, 21);
    struct Case {
        const char *name;
        qm::ProxyOptions proxy;
        bool ok;
    } cases[] = {
        {"none", Options(0, 0), true},
        {"http", Options(1, tiny->port(), 0, "alice", "s3cret"), true},
        {"http wrong password", Options(1, tiny->port(), 0, "alice", "nope"), false},
        {"socks 4", Options(2, dante->port(), 0), true},
        {"socks 4a", Options(2, four.port(), 1), true},
        {"socks 5", Options(2, dante->port(), 2), true},
        {"socks 5 password", Options(2, micro->port(), 2, "bob", "pa55"), true},
        {"socks 5 wrong password", Options(2, micro->port(), 2, "bob", "nope"), false},
        {"http down", Options(1, qm::test::ClosedPort()), false},
        {"socks down", Options(2, qm::test::ClosedPort(), 2), false},
    };
    for (const auto &k : cases) {
        auto o = Run(k.proxy, url);
        EXPECT_EQ(o.exit, k.ok ? 0 : 1) << k.name << ": " << o.err;
        if (k.ok) {
            EXPECT_TRUE(o.out == body) << k.name;
            EXPECT_EQ(o.err, "HTTP 200 OK\n") << k.name;
        } else {
            EXPECT_TRUE(o.out != body) << k.name;
        }
    }
    EXPECT_GE(four.connects.load(), 1);

    auto o = Run(Options(0, 0), Url("/status/404"));
    EXPECT_EQ(o.exit, 1);
    EXPECT_EQ(o.err, "HTTP 404 Not Found\n");

    // A proxy that accepts connections and never says a word: the fetch gives up.
    qm::test::Socks4Server mute("");
    mute.mute = true;
    ASSERT_TRUE(mute.start());
    for (int mode : {1, 2}) {
        QElapsedTimer t;
        t.start();
        o = Run(Options(mode, mute.port(), 2), Url("/echo"), {"--timeout", "2"});
        EXPECT_EQ(o.exit, 1) << mode;
        EXPECT_LT(t.elapsed(), 20000) << mode;
    }
}

}  // namespace
