#include "engines/web/WebEngineTable.h"
#include "net/ServiceHosts.h"
#include "search/ExpandQuery.h"

#include <gtest/gtest.h>
#include <set>

namespace qm {
namespace {

TEST(WebEngineTable, RowsNamesAndSelectorsInOrder) {
    auto t = BuildWebEngineTable();
    ASSERT_EQ(t.size(), size_t(kWebEngineCount));
    const char *names[] = {"Altavista", "Google/Yahoo", "Netscape", "GOTO", "Sprinks", "Hotbot/Lycos",
                           "InfoSpace", "Euroseek", "FastSearch", "MSNSearch", "DirectHit", "AOLNetFind",
                           "FindWhat", "NBCi", "WebCrawler", "OpenDirectory", "Compuserve"};
    const int selectors[] = {1, 0, 11, 10, 9, 3, 14, 4, 5, 6, 7, 2, 8, 12, 15, 16, 17};
    for (int i = 0; i < kWebEngineCount; ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(t[i].name, names[i]);
        EXPECT_EQ(t[i].selector, selectors[i]);
        EXPECT_TRUE(t[i].defaultEnabled);
        EXPECT_EQ(t[i].mode, SearchMode::All);
        bool sponsored = i == 2 || i == 3 || i == 6;
        EXPECT_EQ(t[i].IsSponsored(), sponsored);
        if (sponsored) {
            EXPECT_TRUE(t[i].templateAll.empty() && t[i].templateExact.empty());
            EXPECT_NE(t[i].sponsoredServe.find("/bfast/serve?"), std::string::npos);
            EXPECT_NE(t[i].sponsoredClick.find("/bfast/click?"), std::string::npos);
        } else {
            EXPECT_EQ(t[i].templateAny, t[i].templateAll);
            if (i != 0) EXPECT_EQ(t[i].templateBool, t[i].templateAll);
            EXPECT_NE(t[i].templateAll.find("<$QRY>"), std::string::npos);
        }
        // Every host is a reserved name.
        for (const auto *a : {&t[i].templateAll, &t[i].templateBool, &t[i].homePage, &t[i].sponsoredClick}) {
            if (a->empty()) continue;
            auto host = a->substr(7, a->find('/', 7) - 7);
            EXPECT_TRUE(host.size() > 8 && host.substr(host.size() - 8) == ".example") << *a;
        }
    }
}

TEST(WebEngineTable, ExactTemplatesQuoteTheQuery) {
    auto t = BuildWebEngineTable();
    for (int i = 0; i < kWebEngineCount; ++i) {
        if (t[i].IsSponsored()) continue;
        SCOPED_TRACE(t[i].name);
        std::string quoted = i == 1 ? "%22<$QRY>%22" : "+%22<$QRY>%22";
        auto at = t[i].templateExact.find(quoted);
        ASSERT_NE(at, std::string::npos);
        // Apart from the quotes, the exact template is the All template.
        std::string back = t[i].templateExact;
        back.replace(at, quoted.size(), "<$QRY>");
        EXPECT_EQ(back, t[i].templateAll);
    }
    SetWebSearchMode(t, SearchMode::Exact);
    EXPECT_NE(ExpandQuery(t[1], "x").address.find("?as_q=%22x%22&num=20"), std::string::npos);
    EXPECT_NE(ExpandQuery(t[0], "x").address.find("q=+%22x%22"), std::string::npos);
    // Sponsored rows get the quotes in their click address.
    EXPECT_NE(ExpandQuery(t[2], "big+cat").click.find("search=+%22big+AND+cat%22&cp="), std::string::npos);
}

TEST(WebEngineTable, BoolModeUsesTheAdvancedHostOfRowZeroOnly) {
    auto t = BuildWebEngineTable();
    SetWebSearchMode(t, SearchMode::Bool);
    auto a = ExpandQuery(t[0], "x").address;
    EXPECT_EQ(a, "http://" + ServiceHostFor("altavista-advanced") +
                     "/cgi-bin/query?pg=aq&stype=stext&Translate=on&q=x&stq=0");
    EXPECT_EQ(ExpandQuery(t[4], "x").address, "http://" + ServiceHostFor("sprinks") + "/search.htm?terms=x&pg=1");
}

TEST(WebEngineTable, SponsoredAddressesShareThePartnerKeys) {
    auto t = BuildWebEngineTable();
    auto value = [](const std::string &url, const std::string &key) {
        auto q = url.find('?');
        std::string rest = url.substr(q + 1);
        size_t p = 0;
        while (p < rest.size()) {
            auto e = rest.find('&', p);
            std::string kv = rest.substr(p, e == std::string::npos ? std::string::npos : e - p);
            if (kv.rfind(key + "=", 0) == 0) return kv.substr(key.size() + 1);
            if (e == std::string::npos) break;
            p = e + 1;
        }
        return std::string("<absent>");
    };
    EXPECT_EQ(value(t[2].sponsoredServe, "bfmid"), value(t[2].sponsoredClick, "bfmid"));
    EXPECT_EQ(value(t[2].sponsoredServe, "siteid"), value(t[2].sponsoredClick, "siteid"));
    EXPECT_EQ(value(t[2].sponsoredServe, "bfpage"), value(t[2].sponsoredClick, "bfpage"));
    EXPECT_EQ(value(t[3].sponsoredServe, "bfsiteid"), value(t[3].sponsoredClick, "bfsiteid"));
    EXPECT_EQ(value(t[3].sponsoredClick, "Promo"), "befree");
    // InfoSpace's click names a second partner page.
    EXPECT_NE(value(t[6].sponsoredServe, "bfpage"), value(t[6].sponsoredClick, "bfpage"));
    EXPECT_EQ(value(t[6].sponsoredClick, "QKW"), "<$QRY>");
}

TEST(WebEngineTable, HostsFollowTheServiceTable) {
    ASSERT_TRUE(SetServiceHost("euroseek", "127.0.0.1:8080"));
    auto t = BuildWebEngineTable();
    ResetServiceHosts();
    EXPECT_EQ(t[7].templateAll, "http://127.0.0.1:8080/query?q=<$QRY>");
    std::set<std::string> keys(WebEngineHostKeys().begin(), WebEngineHostKeys().end());
    EXPECT_EQ(keys.size(), size_t(kWebEngineCount));
    for (const auto &k : keys) EXPECT_FALSE(ServiceHostFor(k).empty()) << k;
    EXPECT_EQ(FindWebEngineByName(t, "goto"), 3);
    EXPECT_EQ(FindWebEngineBySelector(t, 8), 12);
}

}  // namespace
}  // namespace qm
