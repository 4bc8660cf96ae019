#include <gtest/gtest.h>

#include <climits>

#include "settings/KeyValue.h"

using namespace qm;

TEST(KeyValue, FindsKeyAnywhereIgnoringCaseAndTrimsValue) {
    std::string v = "stale";
    EXPECT_TRUE(KeyValue("  $bt_web=  Suche  \t", "$BT_WEB", v));
    EXPECT_EQ(v, "Suche");
    EXPECT_TRUE(KeyValue("$Language\t\t=\tEnglish", "$LANGUAGE", v));
    EXPECT_EQ(v, "English");
    // Anything may stand between the key and "=", and the value may contain "=".
    EXPECT_TRUE(KeyValue("$SEARCH_URL  junk = http://x.example/?q=<$QRY>&n=1", "$SEARCH_URL", v));
    EXPECT_EQ(v, "http://x.example/?q=<$QRY>&n=1");
    // An empty value is a match.
    EXPECT_TRUE(KeyValue("$PROXY_ADDR\t\t=\t", "$PROXY_ADDR", v));
    EXPECT_EQ(v, "");
    // The "=" may be the key's own last byte.
    EXPECT_TRUE(KeyValue("A=B=C", "A=", v));
    EXPECT_EQ(v, "B=C");
    // Bytes above 127 are not trimmed and not case-folded.
    EXPECT_TRUE(KeyValue("$K = \xe9t\xe9 ", "$k", v));
    EXPECT_EQ(v, "\xe9t\xe9");
    EXPECT_FALSE(KeyValue("$\xc9=1", "$\xe9", v));
}

TEST(KeyValue, MissesResetTheValue) {
    std::string v = "stale";
    EXPECT_FALSE(KeyValue("$MuteWAV YES", "$MuteWAV", v));  // no "="
    EXPECT_EQ(v, "");
    v = "stale";
    EXPECT_FALSE(KeyValue("x = $MuteWAV", "$MuteWAV", v));  // no "=" after the key
    EXPECT_EQ(v, "");
    EXPECT_FALSE(KeyValue("", "$A", v));
    EXPECT_FALSE(KeyValue("$A = 1", "", v));
    EXPECT_FALSE(KeyValue("$A", "$AB", v));
}

TEST(KeyValue, KeyInsideAnotherKeyAndInsideValues) {
    std::string v;
    // A line whose key contains another key sets that one too.
    EXPECT_TRUE(KeyValue("$LANG_TITLES = Y", "$LANG_TITLE", v));
    EXPECT_EQ(v, "Y");
    // The plain rule also finds a key quoted in a value; the options file's stricter form
    // only takes keys that stand before the first "=".
    EXPECT_TRUE(KeyValue("$PROXY_PASS = a$MuteWAV=YES", "$MuteWAV", v));
    EXPECT_EQ(v, "YES");
    EXPECT_FALSE(KeyValueBeforeEquals("$PROXY_PASS = a$MuteWAV=YES", "$MuteWAV", v));
    EXPECT_EQ(v, "");
    EXPECT_TRUE(KeyValueBeforeEquals("$PROXY_PASS = a$MuteWAV=YES", "$proxy_pass", v));
    EXPECT_EQ(v, "a$MuteWAV=YES");
    EXPECT_TRUE(KeyValueBeforeEquals("$LANG_TITLES\t= Y", "$LANG_TITLE", v));
}

TEST(KeyValueHelpers, FindNoCaseAndNumbers) {
    EXPECT_EQ(kv::FindNoCase("Hello World", "WORLD"), 10u);
    EXPECT_EQ(kv::FindNoCase("xaaab", "aab"), 4u);
    EXPECT_EQ(kv::FindNoCase("ab", "abc"), std::string_view::npos);
    EXPECT_EQ(kv::FindNoCase("ab", ""), std::string_view::npos);
    EXPECT_EQ(kv::ToInt("  -12x"), -12);
    EXPECT_EQ(kv::ToInt("abc"), 0);
    EXPECT_EQ(kv::ToInt("99999999999"), INT_MAX);
    EXPECT_EQ(kv::ToInt("-99999999999999999999999"), INT_MIN);
}
