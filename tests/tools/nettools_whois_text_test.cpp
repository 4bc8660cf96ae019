// The domain name search without a network: the gateway filter, the domain checks and
// encodings, the server-check line and the cache files.
#include "tools/Whois.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <fstream>

using namespace qm;

namespace {

using Lines = std::vector<std::string>;

TEST(WhoisFilter, EdgeCases) {
    struct Case {
        const char *text;
        Lines lines;
    } cases[] = {
        {"<a href=\"x\">Registrar</a> Inc", {"Registrar Inc"}},
        {"a\n\nb", {"a", "", "b"}},
        {"line\n", {"line", ""}},
        {"", {""}},
        {"tab\there\r\n", {"tabhere", ""}},                         // control bytes go
        {"caf\xC3\xA9 \xE9t\xE9", {"caf t"}},                       // bytes above 127 go
        {"x <b>bold</b> y", {"x >boldb> y"}},                         // "<" and the mismatching byte go
        {"1 < 2", {"1 2"}},                                          // "< " is a mismatch too
        {"<a hx", {""}},                                             // partial match dropped at its mismatch
        {"<a hr", {""}},                                             // a tag never closed copies nothing
        {"<A HREF=\"x\">up</A>", {" HREF=\"x\">upA>"}},             // the match is exact
        {"<a href=x>a < b</a!tail", {"a < btail"}},                  // inside a link "<" is text; "</a" and one byte go
        {"<a href=x>one</b</a>", {"one</b"}},                       // a partial "</a" inside a link is text
        {"<a href=x>open\nnext", {"open", "next"}},                  // a line feed ends the line inside a link too
        {"<a href=x>end</", {"end</"}},                              // a partial close at the end is kept
        {"<<a href=x>t</a>", {"a href=x>ta>"}},                      // "<<": both dropped, the rest is text
        {"<a href=x><img src=x onerror=alert(1)></a>!", {"<img src=x onerror=alert(1)>!"}},
    };
    for (const auto &c : cases) EXPECT_EQ(FilterWhoisText(c.text), c.lines) << c.text;
}

TEST(WhoisFilter, SecondPreBlock) {
    const WhoisRecord two = ParseWhoisReply("<PRE>head</pre>x<pre>\nDomain: a.com\nUnable</PRE>tail<pre>3</pre>");
    EXPECT_TRUE(two.shown);
    EXPECT_TRUE(two.free);
    EXPECT_EQ(two.lines, (Lines{"", "Domain: a.com", "Unable"}));
    const WhoisRecord open = ParseWhoisReply("<pre>a</pre><pre>to the end\nunABLE-ish");
    EXPECT_TRUE(open.shown);
    EXPECT_TRUE(open.free);
    EXPECT_EQ(open.lines.size(), 2u);
    const WhoisRecord one = ParseWhoisReply("<pre>only one</pre> unable");
    EXPECT_FALSE(one.shown);
    EXPECT_FALSE(one.free);
    EXPECT_TRUE(one.lines.empty());
    EXPECT_FALSE(ParseWhoisReply("<pre>a</pre><pre>Registered</pre>").free);
}

TEST(WhoisDomain, CleanupAndDots) {
    struct Case {
        const char *typed, *clean;
        bool valid;
    } cases[] = {
        {"  http://www.example.com/  ", "www.example.com", true},
        {"HTTPS://Example.com/", "Example.com", true},
        {"localhost", "localhost", false},                     // 0 dots
        {"example.com", "example.com", true},                  // 1
        {"www.example.co", "www.example.co", true},            // 2
        {"a.b.example.com", "a.b.example.com", false},         // 3
        {"ftp://a.com/path/x", "a.compathx", true},            // every "/" goes
        {"news://nntp://a.b", "a.b", true},
    };
    for (const auto &c : cases) {
        EXPECT_EQ(CleanDomainText(c.typed), c.clean) << c.typed;
        EXPECT_EQ(IsValidDomainDots(CleanDomainText(c.typed)), c.valid) << c.typed;
    }
    EXPECT_EQ(WhoisQueryOf("  my site.com "), "my+site.com");
}

TEST(WhoisDomain, EncodingAndAddresses) {
    EXPECT_EQ(PercentEncodeDomain("a&b #c.com~_-"), "a%26b%20%23c.com~_-");
    EXPECT_EQ(PercentEncodeDomain("caf\xC3\xA9.fr"), "caf%C3%A9.fr");
    EXPECT_EQ(WhoisGatewayAddress("x=y.com", "http://gw.example/q?d="), "http://gw.example/q?d=x%3Dy.com");
    EXPECT_NE(WhoisGatewayAddress("a.com").find("/cgi-bin/proxy.cgi?targetnic=auto&query=a.com"), std::string::npos);

    EXPECT_EQ(WhoisRegisterAddress("a b.com", "https://reg.example/?d=<$DOMAIN>&x=<$DOMAIN>"),
              "https://reg.example/?d=a%20b.com&x=<$DOMAIN>");
    EXPECT_EQ(WhoisRegisterAddress("a.com", "javascript:alert('<$DOMAIN>')"), std::nullopt);
    EXPECT_EQ(WhoisRegisterAddress("a.com", "file:///etc/passwd"), std::nullopt);
    EXPECT_NE(WhoisRegisterAddress("a.com"), std::nullopt);  // the home site

    for (const char *bad : {"a.com;rm -rf", "$(id).com", "a'b.com", "a\"b.com", "a b.com", "", "a_b.com"})
        EXPECT_FALSE(IsPlainHostName(bad)) << bad;
    EXPECT_TRUE(IsPlainHostName("www.my-site.com"));
}

TEST(WhoisServerCheck, Lines) {
    const Lines apache{"HTTP/1.1 200 OK", "Content-Type: text/html", "server: Apache/1.3"};
    EXPECT_EQ(ServerCheckLine(0, 200, "OK", apache, {}), " :  Apache/1.3");
    EXPECT_EQ(ServerCheckLine(0, 302, "Found", {"X-Server:nginx", "Server: other"}, {}), " : nginx");
    EXPECT_EQ(ServerCheckLine(0, 204, "", {"Date: x"}, {}), "\tNo known module detect");
    EXPECT_EQ(ServerCheckLine(0, 404, "Not Found", apache, {}), "\tError - Not Found");
    EXPECT_EQ(ServerCheckLine(3, 0, "", {}, {}), "\tError - Error - can't detect module(s) used");
    const MessageFn french = [](const std::string &e) { return e == "Error" ? std::string("Erreur") : std::string(); };
    EXPECT_EQ(ServerCheckLine(0, 500, "Oops", {}, french), "\tErreur - Oops");
}

TEST(WhoisCache, SaveRecallAndEmptyName) {
    QTemporaryDir tmp;
    const std::string folder = tmp.path().toStdString();
    const Lines memo{"", "Domain: a.com", "", "\tError - Not Found", ""};
    ASSERT_TRUE(SaveWhoisCache(folder, " my site.com ", memo));
    EXPECT_TRUE(std::ifstream(folder + "/my+site.com.whosearch").good());
    Lines back;
    ASSERT_TRUE(LoadWhoisCache(folder, "my site.com", back));
    EXPECT_EQ(back, memo);

    // Names are made safe: nothing leaves the folder.
    ASSERT_TRUE(SaveWhoisCache(folder, "../../x?.com", {"x"}));
    EXPECT_EQ(WhoisCachePath(folder, "../../x?.com"), folder + "/......x..com.whosearch");
    ASSERT_TRUE(LoadWhoisCache(folder, "../../x?.com", back));
    EXPECT_EQ(back, Lines{"x"});

    EXPECT_FALSE(LoadWhoisCache(folder, "never.com", back));
    std::ofstream(folder + "/.whosearch") << "stale\r\n";
    EXPECT_FALSE(LoadWhoisCache(folder, "   ", back));
    EXPECT_FALSE(std::ifstream(folder + "/.whosearch").good());
}

}  // namespace
