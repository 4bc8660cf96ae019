// Whole domain name lookups over HTTP against the fake web's WHOIS gateway and its sites.
#include "fakeweb/Server.h"
#include "support/SharedFakeWeb.h"
#include "net/HttpCli.h"
#include "net/NetConfig.h"
#include "tools/Whois.h"

#include <QEventLoop>
#include <QTcpServer>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <fstream>

using namespace qm;

namespace {

using Lines = std::vector<std::string>;

fakeweb::Server &Web() { return test::SharedFakeWeb(); }

struct Rig {
    QTemporaryDir tmp;
    std::vector<std::string> asked, opened, alerts;
    bool disableQuestion = false, answer = true;
    std::unique_ptr<WhoisLookup> lookup;

    Rig() {
        RouteServiceHostsTo(Web().port(), "127.0.0.1", /*everyHost=*/true);
        WhoisEnvironment env;
        env.alert = [this](const std::string &t) { alerts.push_back(t); };
        env.ask = [this](const std::string &t) {
            asked.push_back(t);
            return answer;
        };
        env.openInBrowser = [this](const std::string &a) { opened.push_back(a); };
        env.cacheFolder = [this] { return tmp.path().toStdString(); };
        env.disableQuestion = [this] { return disableQuestion; };
        lookup = std::make_unique<WhoisLookup>(env);
    }
    ~Rig() {
        RouteServiceHostsTo(0);
        SetConnectTo("");
    }
    // A whole lookup, server check included.
    WhoisLookup::Start Run(const std::string &typed) {
        const auto start = lookup->Lookup(typed);
        if (start != WhoisLookup::Start::Started) return start;
        QEventLoop loop;
        QObject::connect(lookup.get(), &WhoisLookup::finished, &loop, &QEventLoop::quit);
        loop.exec();
        return start;
    }
    bool CacheExists(const std::string &typed) {
        return std::ifstream(WhoisCachePath(tmp.path().toStdString(), typed)).good();
    }
};

const std::string kFinding = "Finding modules for :  : ";

TEST(WhoisLookup, TakenDomainChecksItsServerAndCaches) {
    Rig r;
    ASSERT_EQ(r.Run(" http://mysite.com/ "), WhoisLookup::Start::Started);
    const auto &o = r.lookup->Last();
    EXPECT_EQ(o.domain, "mysite.com");
    EXPECT_NE(o.request.find("/cgi-bin/proxy.cgi?targetnic=auto&query=mysite.com"), std::string::npos);
    EXPECT_FALSE(o.record.free);
    const Lines &m = r.lookup->Lines();
    EXPECT_NE(std::find(m.begin(), m.end(), "   Registrar: Example Registrar Inc."), m.end());
    ASSERT_GE(m.size(), 6u);
    EXPECT_EQ(Lines(m.end() - 6, m.end()),
              (Lines{"", "", kFinding + "mysite.com ...", "", " :  QuillmarFakeWeb/1.0 (Unix)", ""}));
    EXPECT_TRUE(r.asked.empty());

    // Recall from the box: the memo's lines come back without a request.
    const size_t requests = Web().requestCount();
    ASSERT_TRUE(r.CacheExists("mysite.com"));
    WhoisLookup other({.cacheFolder = [&] { return r.tmp.path().toStdString(); }});
    EXPECT_TRUE(other.ShowCached("mysite.com"));
    EXPECT_EQ(other.Lines(), m);
    EXPECT_EQ(Web().requestCount(), requests);
    EXPECT_FALSE(other.ShowCached("elsewhere.com"));
}

TEST(WhoisLookup, FreeDomainAsksAndOffersRegistration) {
    Rig r;
    r.Run("freebie.com");
    EXPECT_EQ(r.lookup->Lines(), Lines{"This domain does not appear to be registered..."});
    EXPECT_EQ(r.asked, Lines{"This domain does not appear to be registered\n\n  Do you want to go ahead and register it?"});
    ASSERT_EQ(r.opened.size(), 1u);
    EXPECT_EQ(r.opened[0].rfind("http://", 0), 0u);
    EXPECT_FALSE(r.lookup->Last().serverLine);  // no server check for a free name
    EXPECT_TRUE(r.CacheExists("freebie.com"));

    Rig quiet;
    quiet.disableQuestion = true;
    quiet.Run("FREEdom.org");
    EXPECT_TRUE(quiet.asked.empty());
    EXPECT_TRUE(quiet.opened.empty());
    EXPECT_TRUE(quiet.lookup->Last().record.free);
}

TEST(WhoisLookup, ServerCheckOutcomes) {
    // A site of the fake web that answers 404.
    std::string dead;
    for (int i = 0; dead.empty(); ++i) {
        fakeweb::Request q;
        q.method = "HEAD";
        q.host = "dead" + std::to_string(i) + ".example";
        q.path = "/";
        if (auto a = fakeweb::ResultSiteResponse(q); a && a->status == 404) dead = q.host;
    }
    Rig r;
    r.Run(dead);
    EXPECT_EQ(r.lookup->Last().serverLine, "\tError - Not Found");

    // Nobody listens: a transport error.
    QTcpServer closed;
    ASSERT_TRUE(closed.listen(QHostAddress::LocalHost));
    const int port = closed.serverPort();
    closed.close();
    AddConnectTo("refused.com:80:127.0.0.1:" + std::to_string(port));
    r.Run("refused.com");
    EXPECT_EQ(r.lookup->Last().serverLine, "\tError - Error - can't detect module(s) used");
    EXPECT_TRUE(r.CacheExists("refused.com"));
}

TEST(WhoisLookup, NothingShownLeavesTheMemoEmpty) {
    Rig r;
    r.Run("nopre.com");
    EXPECT_TRUE(r.lookup->Lines().empty());
    EXPECT_FALSE(r.lookup->Last().serverLine);
    EXPECT_FALSE(r.CacheExists("nopre.com"));
    EXPECT_FALSE(r.lookup->Running());

    // The gateway unreachable: the same.
    r.lookup = std::make_unique<WhoisLookup>(WhoisEnvironment{
        .cacheFolder = [&] { return r.tmp.path().toStdString(); },
        .gatewayAddress = [] { return std::string("http://127.0.0.1:1/cgi-bin/proxy.cgi?query="); }});
    r.Run("gone.com");
    EXPECT_TRUE(r.lookup->Lines().empty());
    EXPECT_FALSE(r.CacheExists("gone.com"));
}

TEST(WhoisLookup, HostilePageAndEncodedDomain) {
    Rig r;
    r.Run("hostile.com");
    const Lines &m = r.lookup->Lines();
    EXPECT_NE(std::find(m.begin(), m.end(), "   Registrar: <img src=x onerror=alert(1)>"), m.end());

    // "&", "#" and a blank travel encoded; such a name gets no server check.
    r.Run("a&b #c.com");
    const auto &o = r.lookup->Last();
    EXPECT_NE(o.request.find("query=a%26b%20%23c.com"), std::string::npos) << o.request;
    const Lines &e = r.lookup->Lines();
    EXPECT_NE(std::find(e.begin(), e.end(), "   Domain Name: a&b #c.com"), e.end());
    EXPECT_EQ(o.serverLine, "\tError - Error - can't detect module(s) used");
    EXPECT_TRUE(r.CacheExists("a&b #c.com"));
    EXPECT_EQ(WhoisCachePath(r.tmp.path().toStdString(), "a&b #c.com"),
              r.tmp.path().toStdString() + "/a&b+#c.com.whosearch");
}

TEST(WhoisLookup, InvalidDomainsSendNothing) {
    Rig r;
    const size_t requests = Web().requestCount();
    for (const char *bad : {"localhost", "a.b.c.d", "http:///"})
        EXPECT_EQ(r.lookup->Lookup(bad), WhoisLookup::Start::Invalid) << bad;
    EXPECT_EQ(r.alerts.size(), 3u);
    EXPECT_EQ(r.alerts[0], "You must specify a valid domain name\n\n  Example :      mysite.example\n");
    EXPECT_EQ(Web().requestCount(), requests);
}

}  // namespace
