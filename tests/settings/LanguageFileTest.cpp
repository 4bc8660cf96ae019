#include <gtest/gtest.h>

#include <map>

#include "settings/DataRoot.h"
#include "settings/KeyValue.h"
#include "toolkit/Misc.h"

using namespace qm;

namespace {

std::vector<std::string> EnglishLines() {
    for (const auto &f : BundledResources())
        if (f.relativePath == "Language/English.language") return kv::Lines(f.bytes);
    return {};
}

// The key of a key line: "$" followed by capitals, digits, underscores and dots (any case).
std::string LineKey(const std::string &line) {
    const std::string t = Trim(line);
    if (t.empty() || t[0] != '$') return {};
    size_t n = 1;
    while (n < t.size() && (std::isalnum(static_cast<unsigned char>(t[n])) || t[n] == '_' || t[n] == '.')) ++n;
    return std::string(t.substr(0, n));
}

// Lines between a block's opening line and its closing line.
std::optional<std::vector<std::string>> Block(const std::vector<std::string> &lines, const std::string &key) {
    std::string closing = key;
    closing.replace(0, 1, "</");
    for (size_t i = 0; i < lines.size(); ++i) {
        if (kv::FindNoCase(lines[i], key) == std::string_view::npos) continue;
        std::vector<std::string> out;
        for (size_t j = i + 1; j < lines.size(); ++j) {
            if (kv::FindNoCase(lines[j], closing) != std::string_view::npos) return out;
            out.push_back(lines[j]);
        }
        return std::nullopt;  // never closed
    }
    return std::nullopt;
}

}  // namespace

TEST(EnglishLanguage, EveryKeyKeepsItsOwnTextWhenTheFileIsApplied) {
    const auto lines = EnglishLines();
    ASSERT_GT(lines.size(), 200u);
    // Apply the file the way a language pass does: every line against every key, the later
    // line winning. A key that another key contains would otherwise take the wrong text.
    std::map<std::string, std::string> own, applied;
    for (const auto &line : lines) {
        std::string key = LineKey(line), v;
        if (key.empty()) continue;
        ASSERT_TRUE(KeyValue(line, key, v)) << line;
        EXPECT_EQ(own.count(key), 0u) << "duplicate " << key;
        own[key] = v;
    }
    for (const auto &line : lines)
        for (const auto &[key, unused] : own) {
            std::string v;
            if (KeyValue(line, key, v)) applied[key] = v;
        }
    EXPECT_EQ(applied, own);
    EXPECT_EQ(own.at("$LANG_TITLE"), "Title");
    EXPECT_EQ(own.at("$LANG_TITLES"), "Titles");
    EXPECT_EQ(own.at("$LANG_SUPPORT"), "Please support this software by visiting these interesting sites - Thank you !!!");
    EXPECT_EQ(own.at("$LANG_PUBSTART"), "Quillmar : The easy way to search what you want");
    EXPECT_EQ(own.at("$LANG_DNC_HINT"), "");
    EXPECT_GE(own.size(), 230u);
}

TEST(EnglishLanguage, AlertBlocksAndHelpListsAreComplete) {
    const auto lines = EnglishLines();
    auto nosearch = Block(lines, "<@ALERT_NOSEARCH_TYPE>");
    ASSERT_TRUE(nosearch);
    EXPECT_EQ(*nosearch, (std::vector<std::string>{"You have not typed a search string yet", "", "Search not started"}));
    for (const char *key : {"<@ALERT_WHOIS_VALID>", "<@ALERT_WHOIS_TYPE>", "<@ALERT_WHOIS_NOTREG>",
                            "<@LANG_ALERT_ERRNAV>", "<@ALERT_ALERT_BAD_DL_AGENT>"}) {
        auto b = Block(lines, key);
        ASSERT_TRUE(b) << key;
        EXPECT_FALSE(b->empty()) << key;
    }
    for (const char *key : {"<#AUTOHELP_PANEL_WEB>", "<#AUTOHELP_PANEL_NEWS>", "<#AUTOHELP_PANEL_PRG>",
                            "<#AUTOHELP_PANEL_CNET>", "<#AUTOHELP_PANEL_DNS>", "<#AUTOHELP_PANEL_WHO>",
                            "<#AUTOHELP_PANEL_DNC>", "<#AUTOHELP_PANEL_UNIT>", "<#AUTOHELP_PANEL_SMART>",
                            "<#AUTOHELP_PANEL_MP3>"}) {
        auto b = Block(lines, key);
        ASSERT_TRUE(b) << key;
        ASSERT_FALSE(b->empty()) << key;
        ASSERT_EQ(b->size() % 2, 0u) << key;  // pairs of text and display time
        for (size_t i = 0; i < b->size(); i += 2) {
            EXPECT_FALSE(Trim((*b)[i]).empty()) << key;
            EXPECT_GT(Atol((*b)[i + 1]), 0) << key << " " << (*b)[i + 1];
        }
    }
}
