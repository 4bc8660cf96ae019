#include "engines/web/HttpClientAdapter.h"
#include "engines/web/WebEngineTable.h"
#include "settings/Opt.h"

#include <gtest/gtest.h>

namespace qm {
namespace {

TEST(WebSettings, OptionsDecideWhichEnginesTakePart) {
    Options opt;
    // The options' engine switches name exactly the rows of the table, in its order.
    const auto table = BuildWebEngineTable();
    ASSERT_EQ(WebEngineNames().size(), table.size());
    for (size_t i = 0; i < table.size(); ++i) EXPECT_EQ(WebEngineNames()[i], table[i].name);

    std::vector<std::string> lines = {"$WEBEngine_Euroseek=NO", "$WEB_MaxResults=40", "$WEB_ResultMode=1",
                                      "$MuteWAV=YES"};
    ApplyOptionLines(opt, lines, "");
    WebSearchSettings s = WebSettingsFrom(opt);
    ASSERT_EQ(s.engineEnabled.size(), size_t(kWebEngineCount));
    for (int i = 0; i < kWebEngineCount; ++i) EXPECT_EQ(s.engineEnabled[size_t(i)], i != 7) << i;
    EXPECT_EQ(s.maxResults, "40");
    EXPECT_EQ(s.resultMode, 1);
    EXPECT_TRUE(s.muteSounds);

    opt.proxy.mode = 1;
    opt.proxy.address = "proxy.example";
    opt.proxy.port = "3128";
    ProxySettings p = ProxyFrom(opt);
    EXPECT_EQ(p.mode, ProxySettings::Http);
    EXPECT_EQ(p.address, "proxy.example");
    EXPECT_EQ(p.port, "3128");
}

}  // namespace
}  // namespace qm
