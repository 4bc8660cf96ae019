// The linear ReplaceAll and HTML cleanup against the quadratic code they replaced
// (reference_text.h), on the known cases, the cascades and random texts.
#include "reference_text.h"
#include "toolkit/Misc.h"

#include <gtest/gtest.h>
#include <random>

using qm::TMisc;

namespace {

std::string RandomText(std::mt19937 &rng, const std::vector<std::string> &pieces, size_t count) {
    std::string out;
    std::uniform_int_distribution<size_t> pick(0, pieces.size() - 1);
    for (size_t i = 0; i < count; ++i) out += pieces[pick(rng)];
    return out;
}

void ExpectSameReplaceAll(const std::string &text, const std::string &pattern, const std::string &replacement) {
    EXPECT_EQ(TMisc::ReplaceAll(text, pattern, replacement), qm::reference::ReplaceAll(text, pattern, replacement))
        << "text '" << text << "' pattern '" << pattern << "' replacement '" << replacement << "'";
    EXPECT_EQ(TMisc::ReplaceAllExact(text, pattern, replacement),
              qm::reference::ReplaceAllExact(text, pattern, replacement))
        << "exact: text '" << text << "' pattern '" << pattern << "' replacement '" << replacement << "'";
}

void ExpectSameCleanup(const std::string &text) {
    EXPECT_EQ(qm::CleanHtmlText(text), qm::reference::CleanHtmlText(text)) << "text '" << text << "'";
}

}  // namespace

TEST(LinearText, ReplaceAllMatchesTheReference) {
    struct Case { const char *text, *pattern, *replacement; };
    const Case cases[] = {
        {"a&amp;b&AMP;c", "&amp;", "&"}, {"abc", "x", ""},       {"", "x", ""},
        {"<<b>b>x", "<b>", ""},          {"<b<b>>x", "<b>", ""}, {"aaab", "ab", "b"},
        {"&amp;amp;", "&amp;", "&"},     {"a-a", "a", "aa"},      {"xAx", "a", "bab"},
        {"a\nb\nc", "\n", "<br>"},       {"aaaabbbb", "ab", "ba"}, {"ab", "ab", "abab"},
        {"aab", "ab", "bba"},            {"abc", "abc", "abc"},   {"x", "xx", ""},
        {"abababab", "aba", "a"},        {"AbAbaB", "ab", ""},    {"&#&#5;;", "&#5;", "&"},
    };
    for (const Case &c : cases) ExpectSameReplaceAll(c.text, c.pattern, c.replacement);

    std::mt19937 rng(11);
    const std::vector<std::string> letters{"a", "b", "A", "B", "<", ">", "&", "#", ";", "x"};
    std::uniform_int_distribution<size_t> textLength(0, 40), patternLength(1, 5), replacementLength(0, 7);
    for (int i = 0; i < 20000; ++i) {
        std::string pattern = RandomText(rng, letters, patternLength(rng));
        std::string replacement = RandomText(rng, letters, replacementLength(rng) % (pattern.size() + 2));
        ExpectSameReplaceAll(RandomText(rng, letters, textLength(rng)), pattern, replacement);
        if (HasFailure()) return;
    }
}

TEST(LinearText, CleanupMatchesTheReferenceWithItsCascades) {
    struct Case { const char *text, *expected; };
    const Case cases[] = {
        {"<b<b>>x", "x"},
        {"&amp;amp;", "&"},
        {"&#38;#65;", "A"},
        {"&&#35;65;", "A"},               // a decoded "#" joins the "&" before it
        {"&&&#35;35;35;", "#"},           // and does so again and again, leftwards
        {"&#65;&#38;#65;x&#12345;&#66;", "AAx&#12345;&#66;"},
        {"&#a;&#A;&#x41;", ""},           // numbers compare ignoring case; non-digits give 0
    };
    for (const Case &c : cases) {
        EXPECT_EQ(qm::CleanHtmlText(c.text), c.expected) << c.text;
        ExpectSameCleanup(c.text);
    }

    std::mt19937 rng(7);
    const std::vector<std::string> pieces{
        "&#", "&", "#", ";", "38", "35", "59", "65", "6", "5", "3", "8", "a", "A", "x", " ", "300",
        "12345", "&#38;", "&#35;", "&#59;", "&amp;", "amp;", "&lt;", "<b>", "<", "b", ">", "</B>",
        "<FONT", "\xE9", "&#150;", "&#0;", "&#+7;", "&# 9;"};
    std::uniform_int_distribution<size_t> count(0, 30);
    for (int i = 0; i < 20000; ++i) {
        ExpectSameCleanup(RandomText(rng, pieces, count(rng)));
        if (HasFailure()) return;
    }
    // Longer texts with many distinct numbers, so numbers come up in every order.
    std::uniform_int_distribution<int> number(0, 400);
    for (int i = 0; i < 20; ++i) {
        std::string text;
        for (int j = 0; j < 2000; ++j) {
            text += RandomText(rng, pieces, 1);
            text += "&#" + std::to_string(number(rng)) + ";";
        }
        ExpectSameCleanup(text);
    }
}
