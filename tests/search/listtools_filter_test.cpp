#include "search/InListFilter.h"

#include <gtest/gtest.h>

#include <random>

using namespace qm;

namespace {

ResultRow Row(std::string site, std::string location = "", std::string source = "", std::string desc = "",
              std::string url = "") {
    ResultRow r;
    r.subItems = {std::move(site), std::move(location), std::move(source), std::move(desc), std::move(url)};
    return r;
}

std::vector<ResultRow> Sample() {
    return {
        Row("Red car for sale", "http://cars.example/", "Lycos", "cheap"),      // 0
        Row("A car", "http://b.example/", "Lycos", "It is red"),                // 1
        Row("Hotels in New York", "http://ny.example/", "Excite", "rooms"),     // 2
        Row("New jersey and York", "http://nj.example/", "Excite", "newyork"),  // 3
        Row("nothing", "http://n.example/", "Altavista", "", "http://NEW-YORK.example/"),  // 4
        Row("two  spaces", "", "", ""),                                        // 5
    };
}

}  // namespace

TEST(ListtoolsFilter, ModesFollowTheirWordRules) {
    auto rows = Sample();
    using V = std::vector<size_t>;
    // ALL: every word in the same sub-item.
    EXPECT_EQ(FilterMatches(rows, "car red", FilterMode::All), V({0}));
    EXPECT_EQ(FilterMatches(rows, "CAR", FilterMode::All), V({0, 1}));
    // ANY: one of the words in one sub-item.
    EXPECT_EQ(FilterMatches(rows, "jersey hotels", FilterMode::Any), V({2, 3}));
    // EXACT: the text as typed, ASCII case ignored, not trimmed.
    EXPECT_EQ(FilterMatches(rows, "new york", FilterMode::Exact), V({2}));
    EXPECT_EQ(FilterMatches(rows, "new-york", FilterMode::Exact), V({4}));
    EXPECT_EQ(FilterMatches(rows, "  ", FilterMode::Exact), V({5}));
    EXPECT_EQ(FilterMatches(rows, " car", FilterMode::Exact), V({0, 1}));
    // Blanks only: ALL has no word to miss, so every row matches; ANY has none to find.
    EXPECT_EQ(FilterMatches(rows, "   ", FilterMode::All).size(), rows.size());
    EXPECT_TRUE(FilterMatches(rows, "   ", FilterMode::Any).empty());
    // Empty text or list selects nothing.
    EXPECT_TRUE(FilterMatches(rows, "", FilterMode::All).empty());
    EXPECT_TRUE(FilterMatches({}, "car", FilterMode::Any).empty());
}

TEST(ListtoolsFilter, OnlyAsciiLettersFoldAndLongWordsWork) {
    std::vector<ResultRow> rows = {Row("Caf\xC9"), Row("caf\xE9"), Row(std::string(600, 'a') + "XYZ" + std::string(300, 'b'))};
    EXPECT_EQ(FilterMatches(rows, "CAF\xC9", FilterMode::Exact), std::vector<size_t>({0}));
    EXPECT_EQ(FilterMatches(rows, "caf", FilterMode::Exact), std::vector<size_t>({0, 1}));
    std::string longWord = std::string(400, 'A') + "xyz" + std::string(299, 'B');
    EXPECT_EQ(FilterMatches(rows, longWord, FilterMode::Exact), std::vector<size_t>({2}));
    EXPECT_TRUE(FilterMatches(rows, longWord + "BB", FilterMode::Exact).empty());
    EXPECT_TRUE(ContainsNoCase("Hello World", "WORLD"));
    EXPECT_FALSE(ContainsNoCase("Hello", ""));
    EXPECT_FALSE(ContainsNoCase("Hi", "Hello"));
}

// Rows are compared as they are displayed: valid UTF-8 as UTF-8, other bytes as
// Windows-1252, against the typed UTF-8 text. Words keep their bytes above 127.
TEST(ListtoolsFilter, RowsOfBothEncodingsAreFoundByWhatTheyShow) {
    const std::vector<ResultRow> rows = {
        Row("Caf\xE9 de Paris"),                         // 0: Windows-1252
        Row("caf\xC3\xA9 cr\xC3\xA8me", "", "", "d\xC3\xA9j\xC3\xA0"),  // 1: UTF-8
        Row("Cafe", "", "", "creme"),                     // 2: no accents
        Row("Price \x80 5"),                             // 3: the euro sign of Windows-1252
        Row("d\xE9j\xE0 vu"),                            // 4: Windows-1252
        Row("\xE9"),                                     // 5: one byte, shown as two
    };
    using V = std::vector<size_t>;
    const struct {
        const char *typed;
        FilterMode mode;
        V expected;
    } cases[] = {
        {"caf\xC3\xA9", FilterMode::Exact, {0, 1}},
        {"CAF\xC3\xA9 DE", FilterMode::Exact, {0}},
        {"\xC3\xA9", FilterMode::Exact, {0, 1, 4, 5}},
        {"\xE2\x82\xAC 5", FilterMode::Exact, {3}},
        {"caf\xC3\xA9", FilterMode::Any, {0, 1}},  // "café" is one word, not "caf"
        {"caf\xC3\xA9 cr\xC3\xA8me", FilterMode::All, {1}},
        {"cr\xC3\xA8me d\xC3\xA9j\xC3\xA0", FilterMode::Any, {1, 4}},
        {"caf\xC3\xA9 d\xC3\xA9j\xC3\xA0", FilterMode::All, V{}},  // not in one sub-item
        {"cafe", FilterMode::Any, {2}},
    };
    for (const auto &c : cases) EXPECT_EQ(FilterMatches(rows, c.typed, c.mode), c.expected) << c.typed;
}

// The skip-table search must agree with a plain scan on arbitrary texts.
TEST(ListtoolsFilter, AgreesWithPlainScan) {
    std::mt19937 rng(7);
    const std::string alphabet = "abcABC .\xE9";
    auto text = [&](size_t n) {
        std::string s;
        for (size_t i = 0; i < n; ++i) s += alphabet[rng() % alphabet.size()];
        return s;
    };
    auto plain = [](const std::string &t, const std::string &p) {
        auto f = [](unsigned char c) { return (c >= 'A' && c <= 'Z') ? c + 32 : c; };
        for (size_t i = 0; i + p.size() <= t.size(); ++i) {
            size_t k = 0;
            while (k < p.size() && f(t[i + k]) == f(p[k])) ++k;
            if (k == p.size()) return true;
        }
        return false;
    };
    for (int round = 0; round < 3000; ++round) {
        std::string t = text(rng() % 40), p = text(1 + rng() % 4);
        EXPECT_EQ(ContainsNoCase(t, p), plain(t, p)) << t << " / " << p;
    }
}

TEST(ListtoolsFilter, CountLabel) {
    EXPECT_EQ(FilterCountText(0), "");
    EXPECT_EQ(FilterCountText(1), "1 Found");
    EXPECT_EQ(FilterCountText(3, "Trouvé"), "3 Trouvé");
}

TEST(ListtoolsFilter, MoveToTopReversesTheMovedRows) {
    using V = std::vector<size_t>;
    // Rows 2 and 5 (1-based) are indexes 1 and 4.
    EXPECT_EQ(MoveToTopOrder(6, {1, 4}), V({4, 1, 0, 2, 3, 5}));
    EXPECT_EQ(MoveToTopOrder(4, {3, 0, 3}), V({3, 0, 1, 2}));
    EXPECT_EQ(MoveToTopOrder(3, {}), V({0, 1, 2}));
    EXPECT_EQ(MoveToTopOrder(3, {0, 1, 2}), V({2, 1, 0}));
    EXPECT_EQ(MoveToTopOrder(2, {7}), V({0, 1}));
}
