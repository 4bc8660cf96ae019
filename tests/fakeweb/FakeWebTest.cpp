#include "fakeweb/Server.h"
#include "net/ServiceHosts.h"

#include <gtest/gtest.h>
#include <httplib.h>

#include <QProcess>

#include <chrono>
#include <thread>

using qm::fakeweb::Request;
using qm::fakeweb::Response;
using qm::fakeweb::Server;

namespace {

httplib::Client Client(const Server &server, const std::string &host = {}) {
    httplib::Client cli("127.0.0.1", server.port());
    cli.set_decompress(true);
    if (!host.empty()) cli.set_default_headers({{"Host", host}});
    return cli;
}

}  // namespace

TEST(FakeWeb, DispatchesOnHostAndFallsBackToGenericBehaviours) {
    qm::ResetServiceHosts();
    Server server;
    server.addService("home", [](const Request &r) -> std::optional<Response> {
        if (r.path == "/mine") return Response::Text("mine:" + r.param("q") + ":" + r.host);
        return std::nullopt;
    });
    ASSERT_TRUE(server.start());
    ASSERT_GT(server.port(), 0);

    auto home = Client(server, "WWW.Quillmar.Example:8080");
    auto r = home.Get("/mine?q=a%20b%26c");
    ASSERT_TRUE(r);
    EXPECT_EQ(r->body, "mine:a b&c:www.quillmar.example");
    // Declined by the service: generic behaviours still answer on that host.
    r = home.Get("/status/503");
    ASSERT_TRUE(r);
    EXPECT_EQ(r->status, 503);
    // Another host never reaches the service.
    auto other = Client(server, "elsewhere.test");
    r = other.Get("/mine");
    ASSERT_TRUE(r);
    EXPECT_EQ(r->status, 404);

    // A service follows its host when the table changes.
    ASSERT_TRUE(qm::SetServiceHost("home", "moved.quillmar.example"));
    server.refreshHosts();
    auto moved = Client(server, "moved.quillmar.example");
    r = moved.Get("/mine?q=x");
    ASSERT_TRUE(r);
    EXPECT_EQ(r->body, "mine:x:moved.quillmar.example");
    r = home.Get("/mine");  // the old host is no longer the service's
    ASSERT_TRUE(r);
    EXPECT_EQ(r->body.find("mine:"), std::string::npos);
    qm::ResetServiceHosts();
}

// A browser reaches the fake sites through the loopback address: "/_host/<host>/..." is
// answered as that host, and the page's links and redirections point the same way.
TEST(FakeWeb, BrowserViewStandsForTheFakeHosts) {
    qm::ResetServiceHosts();
    Server server;
    server.addService("home", [](const Request &r) -> std::optional<Response> {
        if (r.path == "/page")
            return Response::Html("<a href=\"http://www.quillmar.example/next?q=" + r.param("q") +
                                  "\">n</a> <a href='http://other.example'>o</a> http://real.org/x" +
                                  " <img src=/a.gif> <a href=\"//cdn.org/\">c</a>");
        if (r.path == "/go") return Response::Redirect("http://ads.quillmar.example/gif?ord=1");
        return std::nullopt;
    });
    ASSERT_TRUE(server.start());
    const std::string root = "http://127.0.0.1:" + std::to_string(server.port());
    const std::string view = root + "/_host/";

    struct Case {
        std::string address, viewed;
    } addresses[] = {
        {"http://www.quillmar.example/page?q=1", view + "www.quillmar.example/page?q=1"},
        {"http://WWW.Quillmar.Example:80", view + "www.quillmar.example/"},
        {"http://ads.quillmar.example?x", view + "ads.quillmar.example/?x"},
        {"https://www.quillmar.example/", "https://www.quillmar.example/"},
        {"http://real.org/x", "http://real.org/x"},
        {"http://user@www.quillmar.example/", "http://user@www.quillmar.example/"},
        {"mailto:a@b.example", "mailto:a@b.example"},
    };
    for (const auto &c : addresses) EXPECT_EQ(qm::fakeweb::BrowserViewAddress(c.address, server.port()), c.viewed);

    httplib::Client cli("127.0.0.1", server.port());
    auto r = cli.Get("/_host/www.quillmar.example/page?q=7");
    ASSERT_TRUE(r);
    EXPECT_EQ(r->body, "<a href=\"" + view + "www.quillmar.example/next?q=7\">n</a> <a href='" + view +
                           "other.example'>o</a> http://real.org/x <img src=/_host/www.quillmar.example/a.gif>" +
                           " <a href=\"//cdn.org/\">c</a>");
    r = cli.Get("/_host/www.quillmar.example/go");
    ASSERT_TRUE(r);
    EXPECT_EQ(r->get_header_value("Location"), view + "ads.quillmar.example/gif?ord=1");
    r = cli.Get("/page?q=7");  // without the view the loopback address is not the service's host
    ASSERT_TRUE(r);
    EXPECT_EQ(r->body.find("next?q=7"), std::string::npos);
}

TEST(FakeWeb, GenericBodiesArriveAsAnnounced) {
    Server server;
    ASSERT_TRUE(server.start());
    auto cli = Client(server);

    auto r = cli.Get("/bytes?size=70000&seed=3&encoding=gzip");
    ASSERT_TRUE(r);
    EXPECT_EQ(r->get_header_value("Content-Encoding"), "gzip");
    EXPECT_EQ(r->body, qm::fakeweb::PatternBytes(70000, 3));

    r = cli.Get("/bytes?size=50000&chunked=1&piece=777");
    ASSERT_TRUE(r);
    EXPECT_EQ(r->get_header_value("Transfer-Encoding"), "chunked");
    EXPECT_EQ(r->body, qm::fakeweb::PatternBytes(50000));

    r = cli.Get("/bytes?size=100");
    ASSERT_TRUE(r);
    EXPECT_FALSE(r->has_header("Content-Encoding"));  // never compressed on its own

    r = cli.Get("/redirect?to=/x&status=301&cookie=a%3D1&cookie=b%3D2");
    ASSERT_TRUE(r);
    EXPECT_EQ(r->status, 301);
    EXPECT_EQ(r->get_header_value("Location"), "/x");
    EXPECT_EQ(r->get_header_value_count("Set-Cookie"), 2u);

    // Announced 5000 bytes, sends 2000, closes: the client must see a failure.
    r = cli.Get("/drop?size=5000&after=2000");
    EXPECT_FALSE(r);

    EXPECT_NE(qm::fakeweb::PatternBytes(100, 1), qm::fakeweb::PatternBytes(100, 2));
}

TEST(FakeWeb, StopEndsSilentAnswersAndLatencyDelays) {
    auto server = std::make_unique<Server>(Server::Options{.latencyMs = 300});
    ASSERT_TRUE(server->start());
    auto cli = Client(*server);
    auto t0 = std::chrono::steady_clock::now();
    auto r = cli.Get("/");
    ASSERT_TRUE(r);
    EXPECT_GE(std::chrono::steady_clock::now() - t0, std::chrono::milliseconds(300));

    std::thread waiter([port = server->port()] {
        httplib::Client c("127.0.0.1", port);
        c.set_read_timeout(60);
        auto res = c.Get("/silent");
        EXPECT_FALSE(res && res->status == 200);
    });
    // Stop once the silent request is being answered.
    while (server->requestCount() < 2) std::this_thread::yield();
    t0 = std::chrono::steady_clock::now();
    server->stop();
    waiter.join();
    EXPECT_LT(std::chrono::steady_clock::now() - t0, std::chrono::seconds(10));
    EXPECT_FALSE(server->running());
}

TEST(FakeWeb, ProgramPrintsItsAddressAndServes) {
    QProcess program;
    program.start(QString(QUILLMAR_BINARY_DIR) + "/fakeweb/quillmar-fakeweb", {"--latency-ms", "50"});
    ASSERT_TRUE(program.waitForReadyRead(10000));
    std::string address = program.readLine().trimmed().toStdString();
    auto colon = address.rfind(':');
    ASSERT_EQ(address.substr(0, colon), "127.0.0.1");
    httplib::Client cli("127.0.0.1", std::stoi(address.substr(colon + 1)));
    auto r = cli.Get("/status/201");
    ASSERT_TRUE(r);
    EXPECT_EQ(r->status, 201);
    program.terminate();
    EXPECT_TRUE(program.waitForFinished(10000));
    EXPECT_EQ(program.exitCode(), 0);

    QProcess bad;
    bad.start(QString(QUILLMAR_BINARY_DIR) + "/fakeweb/quillmar-fakeweb", {"--port", "x"});
    ASSERT_TRUE(bad.waitForFinished(10000));
    EXPECT_EQ(bad.exitCode(), 2);
}

TEST(FakeWeb, UnclaimedExampleHostsAreResultSites) {
    qm::ResetServiceHosts();
    Server server;
    ASSERT_TRUE(server.start());
    int ok = 0, missing = 0;
    for (int i = 0; i < 40; ++i) {
        std::string host = "www.site" + std::to_string(i) + ".example";
        auto cli = Client(server, host);
        auto r = cli.Get("/");
        ASSERT_TRUE(r);
        if (r->status == 200) {
            ++ok;
            EXPECT_NE(r->body.find("<title>site" + std::to_string(i) + "</title>"), std::string::npos) << r->body;
        } else {
            EXPECT_EQ(r->status, 404);
            ++missing;
        }
        auto again = cli.Get("/");
        ASSERT_TRUE(again);
        EXPECT_EQ(again->status, r->status);  // the same address always answers alike
    }
    EXPECT_GT(ok, 20);
    EXPECT_GT(missing, 0);

    // Generic behaviours still answer on such hosts, and the service-claimed hosts keep
    // their own root page.
    auto site = Client(server, "www.site1.example");
    auto r = site.Get("/status/500");
    ASSERT_TRUE(r);
    EXPECT_EQ(r->status, 500);
    // Hosts outside ".example", or with odd characters, are not imitated.
    auto odd = Client(server, "a<b.example");
    r = odd.Get("/");
    ASSERT_TRUE(r);
    EXPECT_EQ(r->body.find("<title>a<b"), std::string::npos);
    auto foreign = Client(server, "www.site1.test");
    r = foreign.Get("/");
    ASSERT_TRUE(r);
    EXPECT_NE(r->body.find("fake web"), std::string::npos);
    server.stop();
}
