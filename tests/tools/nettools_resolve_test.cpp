// Name resolution and local addresses against what the system itself reports, and the memo
// layouts of both.
#include "tools/NetTools.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <gtest/gtest.h>

#include <arpa/inet.h>
#include <ifaddrs.h>
#include <net/if.h>
#include <netdb.h>

#include <algorithm>
#include <unistd.h>

using namespace qm;

namespace {

using Lines = std::vector<std::string>;

ResolveOutcome ResolveOnLoop(const std::string &host, bool reverse) {
    SystemResolver resolver;
    std::optional<ResolveOutcome> out;
    resolver.Start(host, reverse, [&](const ResolveOutcome &o) { out = o; });
    EXPECT_FALSE(out);  // never from inside Start
    while (!out) QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    return *out;
}

TEST(Resolve, AgreesWithTheSystemResolver) {
    // localhost, forward: getaddrinfo's addresses in its order, each once.
    addrinfo hints{};
    hints.ai_family = AF_UNSPEC;
    addrinfo *list = nullptr;
    ASSERT_EQ(getaddrinfo("localhost", nullptr, &hints, &list), 0);
    Lines expected;
    for (addrinfo *a = list; a; a = a->ai_next) {
        char t[INET6_ADDRSTRLEN] = {};
        const void *src = a->ai_family == AF_INET ? static_cast<const void *>(&((sockaddr_in *)a->ai_addr)->sin_addr)
                                                  : static_cast<const void *>(&((sockaddr_in6 *)a->ai_addr)->sin6_addr);
        inet_ntop(a->ai_family, src, t, sizeof t);
        if (std::find(expected.begin(), expected.end(), t) == expected.end()) expected.push_back(t);
    }
    freeaddrinfo(list);
    const ResolveOutcome forward = ResolveOnLoop("localhost", false);
    EXPECT_EQ(forward.error, 0);
    EXPECT_EQ(forward.results, expected);

    // 127.0.0.1, reverse: getnameinfo's name.
    sockaddr_in sa{};
    sa.sin_family = AF_INET;
    inet_pton(AF_INET, "127.0.0.1", &sa.sin_addr);
    char name[NI_MAXHOST] = {};
    ASSERT_EQ(getnameinfo((sockaddr *)&sa, sizeof sa, name, sizeof name, nullptr, 0, NI_NAMEREQD), 0);
    const ResolveOutcome reverse = ResolveOnLoop("127.0.0.1", true);
    EXPECT_EQ(reverse.results, Lines{name});

    // A reserved name that never resolves: the resolver's own error code.
    addrinfo *none = nullptr;
    const int code = getaddrinfo("nothing-here.invalid", nullptr, &hints, &none);
    if (none) freeaddrinfo(none);
    const ResolveOutcome missing = ResolveOnLoop("nothing-here.invalid", false);
    EXPECT_FALSE(missing.found());
    EXPECT_EQ(missing.error, code);

    // An address without a name is not found: it is never its own name.
    const ResolveOutcome nameless = ResolveBlocking("192.0.2.123", true);
    if (nameless.error != 0) EXPECT_TRUE(nameless.results.empty());
    else EXPECT_NE(nameless.results, Lines{"192.0.2.123"});
}

TEST(Resolve, HostTextsAreOnlyNames) {
    EXPECT_EQ(CleanHostText("  HTTP://www.a.example:8080/x  "), "www.a.example:8080/x");
    EXPECT_EQ(CleanHostText("smtp://pop3://http://h"), "h");  // one of each, in order
    EXPECT_EQ(CleanHostText("http://http://h"), "http://h");
    EXPECT_TRUE(IsDottedIPv4("10.0.0.1"));
    for (const char *t : {"10.0.0", "10.0.0.256", "::1", "a.b.c.d", " 10.0.0.1", ""}) EXPECT_FALSE(IsDottedIPv4(t)) << t;
    // Texts a shell would act on are looked up as names and simply not found.
    for (const char *t : {"a.example;touch /tmp/qm-pwned", "$(touch /tmp/qm-pwned).example", "'a'.example",
                          "\"a\".example", "`id`.example"}) {
        const ResolveOutcome out = ResolveBlocking(t, false);
        EXPECT_FALSE(out.found()) << t;
    }
    EXPECT_NE(access("/tmp/qm-pwned", F_OK), 0);
}

TEST(LocalAddresses, InterfacesThatAreUp) {
    Lines expected;
    ifaddrs *list = nullptr;
    ASSERT_EQ(getifaddrs(&list), 0);
    for (ifaddrs *i = list; i; i = i->ifa_next) {
        if (!i->ifa_addr || !(i->ifa_flags & IFF_UP) || (i->ifa_flags & IFF_LOOPBACK)) continue;
        char t[INET6_ADDRSTRLEN] = {};
        if (i->ifa_addr->sa_family == AF_INET) {
            inet_ntop(AF_INET, &((sockaddr_in *)i->ifa_addr)->sin_addr, t, sizeof t);
        } else if (i->ifa_addr->sa_family == AF_INET6) {
            const auto &a = ((sockaddr_in6 *)i->ifa_addr)->sin6_addr;
            if (a.s6_addr[0] == 0xfe && (a.s6_addr[1] & 0xc0) == 0x80) continue;
            inet_ntop(AF_INET6, &a, t, sizeof t);
        } else {
            continue;
        }
        expected.push_back(t);
    }
    freeifaddrs(list);
    const Lines got = LocalAddresses();
    EXPECT_EQ(got, expected);
    for (const auto &a : got) EXPECT_TRUE(a != "127.0.0.1" && a != "::1" && a.rfind("fe80", 0) != 0) << a;
}

TEST(NetToolsLines, Layouts) {
    EXPECT_EQ(LocalIpLines({}, {}), (Lines{"Local IP:>\tFound 0 addresses", ""}));
    EXPECT_EQ(LocalIpLines({"192.0.2.1"}, {}), (Lines{"Local IP:>\t192.0.2.1"}));
    EXPECT_EQ(LocalIpLines({"192.0.2.1", "fd00::1"}, {}),
              (Lines{"Local IP:>\tFound 2 addresses", "Local IP:>", "Local IP:>\t192.0.2.1", "Local IP:>\tfd00::1", ""}));

    EXPECT_EQ(DnsLines("h", {false, 0, {"192.0.2.1"}}, {}), (Lines{"DNS:>\th\t=>\t192.0.2.1", ""}));
    EXPECT_EQ(DnsLines("h", {false, -2, {}}, {}), (Lines{"DNS:>\th\tNot found - Error #4294967294", ""}));
    const MessageFn german = [](const std::string &e) {
        return e == "addresses" ? std::string("Adressen") : e == "returns" ? std::string("liefert") : std::string();
    };
    EXPECT_EQ(DnsLines("h", {false, 0, {"a", "b"}}, german),
              (Lines{"DNS:>\th\tliefert 2 Adressen", "DNS:>\t      address[1]:\ta", "DNS:>\t      address[2]:\tb", ""}));
}

}  // namespace
