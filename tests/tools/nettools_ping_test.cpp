// The ping run with a scripted resolver and echo port, the DNS tab's controller, and a real
// ping of 127.0.0.1 on each ICMP socket kind this machine allows.
#include "tools/NetTools.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QTimer>
#include <gtest/gtest.h>

#include <deque>

using namespace qm;

namespace {

using Lines = std::vector<std::string>;

// Answers every lookup from a table, from the event loop.
class ScriptedResolver : public HostResolver {
public:
    std::map<std::string, ResolveOutcome> table;
    std::vector<std::string> asked;
    void Start(const std::string &host, bool reverse, Done done) override {
        asked.push_back(host + (reverse ? " (reverse)" : ""));
        ResolveOutcome out = table.count(host) ? table[host] : ResolveOutcome{reverse, -2, {}};
        out.reverse = reverse;
        pending_ = std::make_shared<Done>(std::move(done));
        std::weak_ptr<Done> weak = pending_;
        QTimer::singleShot(0, [weak, out] {
            if (auto d = weak.lock()) (*d)(out);
        });
    }
    void Cancel() override { pending_.reset(); }

private:
    std::shared_ptr<Done> pending_;
};

// Replies from a script: a round trip in ms, or -1 for no reply.
class ScriptedEcho : public EchoPort {
public:
    std::deque<int> script;
    std::vector<std::string> sentTo;
    bool permitted = true;
    Send SendEcho(const std::string &address, int timeoutMs, int payload, int ttl) override {
        if (!permitted) return Send::NotPermitted;
        EXPECT_EQ(timeoutMs, 5000);
        EXPECT_EQ(payload, 48);
        EXPECT_EQ(ttl, 64);
        sentTo.push_back(address);
        const int ms = script.empty() ? -1 : script.front();
        if (!script.empty()) script.pop_front();
        ++token_;
        QTimer::singleShot(0, [this, ms, address, token = token_] {
            if (token != token_ || !onReply) return;
            onReply(ms < 0 ? EchoReply{} : EchoReply{true, address, ms, 48});
        });
        return Send::Sent;
    }
    void Cancel() override { ++token_; }

private:
    int token_ = 0;
};

struct Rig {
    ScriptedResolver resolver;
    ScriptedEcho echo;
    PingRun run{resolver, echo, {}};
    Rig() {
        resolver.table["box.example"] = {false, 0, {"2001:db8::1", "192.0.2.7", "192.0.2.8"}};
        resolver.table["six.example"] = {false, 0, {"2001:db8::6"}};
    }
    void Wait() {
        if (!run.Running()) return;
        QEventLoop loop;
        QObject::connect(&run, &PingRun::finished, &loop, &QEventLoop::quit);
        loop.exec();
    }
};

TEST(PingRun, ThreeRepliesWriteTheAverage) {
    Rig r;
    r.echo.script = {10, 21, 33};
    ASSERT_EQ(r.run.Begin("  box.example ", 3, 0), PingRun::Start::Started);
    r.Wait();
    const PingResult &p = r.run.Result();
    EXPECT_EQ(p.lines, (Lines{
                           "PING:>\taddress= box.example\tIP= 192.0.2.7",  // the first IPv4 address
                           "PING:>",
                           "PING:>\t192.0.2.7\t\tN\xC2\xB0=1\tDelay= 10 msecs\tReceived= 48 bytes",
                           "PING:>\t192.0.2.7\t\tN\xC2\xB0=2\tDelay= 21 msecs\tReceived= 48 bytes",
                           "PING:>\t192.0.2.7\t\tN\xC2\xB0=3\tDelay= 33 msecs\tReceived= 48 bytes",
                           "PING:>",
                           "PING:>\tbox.example\tAverage : 21 ms\tend of process...",
                           "",
                       }));
    EXPECT_EQ(p.status, "done");
    EXPECT_EQ(p.sent, 3);
    EXPECT_EQ(p.received, 3);
    EXPECT_EQ(p.average, 21);
    EXPECT_EQ(r.echo.sentTo, Lines(3, "192.0.2.7"));
}

TEST(PingRun, EarlyStopsHaveNoAverage) {
    struct Case {
        const char *host;
        std::deque<int> script;
        bool permitted;
        const char *status;
        size_t sent;
        const char *stopLine;
    } cases[] = {
        {"nowhere.invalid", {}, true, "unknown host", 0, "PING:>\tnowhere.invalid\tunknown host..."},
        {"box.example", {5, -1, 5}, true, "no reply", 2, "PING:>\tbox.example\tCan't PING this host..."},
        {"six.example", {}, false, "not permitted", 0, nullptr},
    };
    for (const auto &c : cases) {
        Rig r;
        r.echo.script = c.script;
        r.echo.permitted = c.permitted;
        ASSERT_EQ(r.run.Begin(c.host, 3, 0), PingRun::Start::Started);
        r.Wait();
        const PingResult &p = r.run.Result();
        EXPECT_EQ(p.status, c.status) << c.host;
        EXPECT_EQ(size_t(p.sent), c.sent) << c.host;
        EXPECT_FALSE(p.average) << c.host;
        ASSERT_GE(p.lines.size(), 4u);
        const std::string &stop = p.lines[p.lines.size() - 4];
        if (c.stopLine)
            EXPECT_EQ(stop, c.stopLine);
        else
            EXPECT_NE(stop.find("net.ipv4.ping_group_range"), std::string::npos) << stop;
        EXPECT_EQ(p.lines[p.lines.size() - 3], "PING:>");
        EXPECT_EQ(p.lines[p.lines.size() - 2], std::string("PING:>\t") + c.host + "\tend of process...");
        EXPECT_EQ(p.lines.back(), "");
    }
}

TEST(PingRun, RejectedInputStartsNothing) {
    Rig r;
    EXPECT_EQ(r.run.Begin("   ", 3, 0), PingRun::Start::EmptyHost);
    EXPECT_EQ(r.run.Begin("box.example", 0, 0), PingRun::Start::BadCount);
    EXPECT_EQ(r.run.Begin("box.example", -1, 0), PingRun::Start::BadCount);
    EXPECT_FALSE(r.run.Running());
    EXPECT_TRUE(r.run.Result().lines.empty());
    EXPECT_TRUE(r.resolver.asked.empty());
}

TEST(PingRun, AbortMidRunWritesNothingMore) {
    Rig r;
    r.echo.script = {1, 1, 1};
    ASSERT_EQ(r.run.Begin("box.example", 3, 60000), PingRun::Start::Started);
    QEventLoop loop;
    r.run.onLine = [&](const std::string &line) {
        if (line.find("N\xC2\xB0=1") != std::string::npos) QTimer::singleShot(0, &loop, &QEventLoop::quit);
    };
    loop.exec();  // the first reply is in; the run waits its delay
    const size_t written = r.run.Result().lines.size();
    r.run.Abort();
    QCoreApplication::processEvents();
    EXPECT_FALSE(r.run.Running());
    EXPECT_EQ(r.run.Result().lines.size(), written);
}

// The DNS tab's controller: alerts, button states, the memo and the history push.
TEST(NetToolsController, ButtonsAlertsAndMemo) {
    std::vector<std::string> alerts, pushed;
    int focus = 0, options = 0;
    long long amount = 0;
    NetToolsEnvironment env;
    env.alert = [&](const std::string &t) { alerts.push_back(t); };
    env.focusHostBox = [&] { ++focus; };
    env.showPingOptions = [&] { ++options; };
    env.pushHistory = [&](const std::string &h) { pushed.push_back(h); };
    env.pingAmount = [&] { return amount; };
    env.pingDelay = [] { return 0LL; };
    auto dns = std::make_unique<ScriptedResolver>();
    dns->table["two.example"] = {false, 0, {"192.0.2.1", "2001:db8::1"}};
    dns->table["192.0.2.9"] = {true, 0, {"nine.example"}};
    ScriptedResolver *dnsRaw = dns.get();
    auto ping = std::make_unique<ScriptedResolver>();
    ping->table["two.example"] = {false, 0, {"192.0.2.1"}};
    auto echo = std::make_unique<ScriptedEcho>();
    echo->script = {4};
    NetToolsController kit(env, nullptr, std::move(dns), std::move(ping), std::move(echo));

    kit.Ping("  ");
    EXPECT_EQ(alerts.back(), "You must type an address to resolve first");
    EXPECT_EQ(focus, 1);
    kit.Ping("two.example");  // $PING_Amount 0
    EXPECT_EQ(alerts.back(), "You must specify at least 1 PING to perform");
    EXPECT_EQ(options, 1);
    EXPECT_TRUE(kit.Lines().empty());
    EXPECT_TRUE(pushed.empty());

    amount = 1;
    QEventLoop loop;
    QObject::connect(&kit, &NetToolsController::pingFinished, &loop, &QEventLoop::quit);
    kit.Ping(" two.example ");
    EXPECT_FALSE(kit.PingEnabled());
    loop.exec();
    EXPECT_TRUE(kit.PingEnabled());
    EXPECT_EQ(pushed, Lines{"two.example"});
    EXPECT_EQ(kit.Lines()[kit.Lines().size() - 2], "PING:>\ttwo.example\tAverage : 4 ms\tend of process...");

    const size_t before = kit.Lines().size();
    QObject::connect(&kit, &NetToolsController::lookupFinished, &loop, &QEventLoop::quit);
    kit.Resolve("HTTP://two.example");
    EXPECT_FALSE(kit.DnsEnabled());
    kit.Enter("192.0.2.9");  // the button is disabled: Enter does nothing
    loop.exec();
    EXPECT_TRUE(kit.DnsEnabled());
    EXPECT_EQ(dnsRaw->asked, Lines{"two.example"});
    EXPECT_EQ(Lines(kit.Lines().begin() + long(before), kit.Lines().end()),
              (Lines{"DNS:>\ttwo.example\treturns 2 addresses", "DNS:>\t      address[1]:\t192.0.2.1",
                     "DNS:>\t      address[2]:\t2001:db8::1", ""}));
    kit.Enter("192.0.2.9");
    loop.exec();
    EXPECT_EQ(dnsRaw->asked.back(), "192.0.2.9 (reverse)");
    EXPECT_EQ(kit.Lines()[kit.Lines().size() - 2], "DNS:>\t192.0.2.9\t=>\tnine.example");
}

// A real echo of the loopback address on each socket kind the machine lets us open.
TEST(PingReal, LoopbackOnEachSocketKind) {
    struct Kind {
        IcmpEchoPort::Kind kind;
        const char *missing;
    } kinds[] = {
        {IcmpEchoPort::Kind::Datagram, "the user's group is outside net.ipv4.ping_group_range"},
        {IcmpEchoPort::Kind::Raw, "the process lacks CAP_NET_RAW"},
    };
    int tried = 0;
    for (const auto &k : kinds) {
        if (!IcmpEchoPort::Available(k.kind)) {
            std::printf("skipped one socket kind: %s\n", k.missing);
            continue;
        }
        ++tried;
        SystemResolver resolver;
        IcmpEchoPort echo(k.kind);
        PingRun run(resolver, echo, {});
        ASSERT_EQ(run.Begin("127.0.0.1", 2, 0), PingRun::Start::Started);
        QEventLoop loop;
        QObject::connect(&run, &PingRun::finished, &loop, &QEventLoop::quit);
        if (run.Running()) loop.exec();
        EXPECT_EQ(echo.Opened(), k.kind);
        EXPECT_EQ(run.Result().status, "done");
        ASSERT_EQ(run.Result().replies.size(), 2u);
        EXPECT_EQ(run.Result().replies[0].from, "127.0.0.1");
        EXPECT_EQ(run.Result().replies[0].bytes, 48);
    }
    if (tried == 0)
        GTEST_SKIP() << "no ICMP socket: the user's group is outside net.ipv4.ping_group_range and the process "
                        "lacks CAP_NET_RAW";
}

}  // namespace
