// Text, word and number operations of the toolkit.
#include "toolkit/Misc.h"

#include <gtest/gtest.h>

using qm::TMisc;

TEST(FindNoCase, LastPosIsLastByteOfFirstMatch) {
    TMisc m;
    EXPECT_TRUE(m.FindNoCase("Hello World", "WORLD"));
    EXPECT_EQ(m.LastPos, 10);
    EXPECT_TRUE(m.FindNoCase("abcABC", "bc"));
    EXPECT_EQ(m.LastPos, 2);
    // A match that starts inside a failed partial match.
    EXPECT_TRUE(m.FindNoCase("xaaab", "aab"));
    EXPECT_EQ(m.LastPos, 4);
}

TEST(FindNoCase, MissesLeaveLastPosAlone) {
    TMisc m;
    m.LastPos = 77;
    EXPECT_FALSE(m.FindNoCase("abc", ""));
    EXPECT_FALSE(m.FindNoCase("", "a"));
    EXPECT_FALSE(m.FindNoCase("ab", "abc"));
    EXPECT_FALSE(m.FindNoCase("abcd", "cde"));
    EXPECT_EQ(m.LastPos, 77);
    // Bytes above 127 are not folded: upper- and lower-case accented letters differ.
    EXPECT_FALSE(m.FindNoCase("caf\xE9", "CAF\xC9"));
    EXPECT_TRUE(m.FindNoCase("caf\xE9", "CAF\xE9"));
}

TEST(FindChar, IndexOrZero) {
    TMisc m;
    EXPECT_TRUE(m.FindChar("a=b=c", '='));
    EXPECT_EQ(m.LastPos, 1);
    m.LastPos = 9;
    EXPECT_FALSE(m.FindChar("abc", '='));
    EXPECT_EQ(m.LastPos, 0);
}

TEST(FindNoCasePos, FromOffset) {
    EXPECT_EQ(TMisc::FindNoCasePos("<a><A><a>", "<A>", 1), 3u);
    EXPECT_EQ(TMisc::FindNoCasePos("<a><A><a>", "<A>", 7), std::string_view::npos);
    EXPECT_EQ(TMisc::FindNoCasePos("abc", "c", 3), std::string_view::npos);
}

TEST(Chars, NthCountEnds) {
    int i = -5;
    EXPECT_TRUE(TMisc::FindNthChar("a/b/c/d", '/', 2, i));
    EXPECT_EQ(i, 3);
    EXPECT_FALSE(TMisc::FindNthChar("a/b", '/', 2, i));
    EXPECT_EQ(i, 2);
    EXPECT_FALSE(TMisc::FindNthChar("", '/', 1, i));
    EXPECT_EQ(i, 0);
    EXPECT_EQ(TMisc::CountChar("a.b.c.", '.'), 3);
    EXPECT_TRUE(TMisc::EndsWithChar("abc/", '/'));
    EXPECT_FALSE(TMisc::EndsWithChar("", '/'));
    EXPECT_EQ(TMisc::UpCaseChar('q'), 'Q');
    EXPECT_EQ(TMisc::UpCaseChar('\xE9'), '\xE9');
    EXPECT_EQ(TMisc::LowCaseChar('Q'), 'q');
    EXPECT_EQ(TMisc::LowCaseChar('['), '[');
    EXPECT_EQ(TMisc::ReplaceChar("a b c", ' ', '+'), "a+b+c");
}

TEST(Replace, FirstAndAll) {
    EXPECT_EQ(TMisc::ReplaceFirst("one TWO two", "two", "2"), "one 2 two");
    EXPECT_EQ(TMisc::ReplaceFirst("abc", "x", "y"), "abc");
    EXPECT_EQ(TMisc::ReplaceFirst("", "x", "y"), "");
    EXPECT_EQ(TMisc::ReplaceAll("a&amp;b&AMP;c", "&amp;", "&"), "a&b&c");
    EXPECT_EQ(TMisc::ReplaceAll("abc", "x", ""), "abc");
    EXPECT_EQ(TMisc::ReplaceAll("", "x", ""), "");
    // Every search starts again from the beginning: occurrences formed by a
    // replacement are replaced as well.
    EXPECT_EQ(TMisc::ReplaceAll("<<b>b>x", "<b>", ""), "x");
    EXPECT_EQ(TMisc::ReplaceAll("aaab", "ab", "b"), "b");
    EXPECT_EQ(TMisc::ReplaceAllExact("&amp;amp;", "&amp;", "&"), "&");
    EXPECT_EQ(TMisc::ReplaceAllExact("&AMP;", "&amp;", "&"), "&AMP;");
}

TEST(Replace, LongerReplacementsTerminate) {
    // A replacement holding the pattern replaces the original occurrences once.
    EXPECT_EQ(TMisc::ReplaceAll("a-a", "a", "aa"), "aa-aa");
    EXPECT_EQ(TMisc::ReplaceAll("xAx", "a", "bab"), "xbabx");
    // Longer replacements without the pattern.
    EXPECT_EQ(TMisc::ReplaceAll("a\nb\nc", "\n", "<br>"), "a<br>b<br>c");
    EXPECT_EQ(TMisc::ReplaceAll("ab", "ab", "ba"), "ba");
    // Same length, new occurrences formed each time: all of them are replaced.
    EXPECT_EQ(TMisc::ReplaceAll("aaaabbbb", "ab", "ba"), "bbbbaaaa");
    // Growing: stops once a match ends at or beyond the original length.
    EXPECT_EQ(TMisc::ReplaceAll("aaab", "ab", "bba"), "bbbbabbaa");
}

TEST(Extract, BeforeBetweenRemove) {
    EXPECT_EQ(TMisc::TextBefore("key=value", "="), "key");
    EXPECT_EQ(TMisc::TextBefore("key", "="), "key");
    std::string out = "untouched";
    EXPECT_TRUE(TMisc::TextBetween("<b>bold</b>", "<b>", "</b>", out));
    EXPECT_EQ(out, "bold");
    EXPECT_TRUE(TMisc::TextBetween("<B></b>", "<b>", "</b>", out));
    EXPECT_EQ(out, "");
    out = "untouched";
    EXPECT_FALSE(TMisc::TextBetween("<b>bold", "<b>", "</b>", out));
    EXPECT_FALSE(TMisc::TextBetween("", "<b>", "</b>", out));
    EXPECT_FALSE(TMisc::TextBetween("bold</b>", "<b>", "</b>", out));
    // The end landmark is searched after the start landmark only.
    EXPECT_FALSE(TMisc::TextBetween("</b><b>", "<b>", "</b>", out));
    EXPECT_EQ(out, "untouched");
    // Overlapping landmarks: the end may not reuse bytes of the start.
    EXPECT_TRUE(TMisc::TextBetween("aXa", "a", "a", out));
    EXPECT_EQ(out, "X");

    EXPECT_EQ(TMisc::RemoveBetween("x<i a>y<i b>z", "<i", ">"), "xy<i b>z");
    EXPECT_EQ(TMisc::RemoveBetween("x<i a", "<i", ">"), "x<i a");
    EXPECT_EQ(TMisc::RemoveBetween("xyz", "<i", ">"), "xyz");
    // An end landmark inside the start landmark is found there.
    EXPECT_EQ(TMisc::RemoveBetween("a<br>b", "<br>", ">"), "ab");
    EXPECT_EQ(TMisc::RemoveBetween("a<FONT color=red>b</font>", "<font", ">"), "ab</font>");
}

TEST(Words, CountNthFind) {
    const std::string t = "  a  bc ";
    EXPECT_EQ(TMisc::WordCount(t), 2);
    EXPECT_EQ(TMisc::NthWord(t, 2), "bc");
    EXPECT_EQ(TMisc::NthWord(t, 3), "");
    EXPECT_EQ(TMisc::NthWord("", 1), "");
    EXPECT_EQ(TMisc::NthWord("x", 0), "");
    // Accented bytes separate words.
    EXPECT_EQ(TMisc::WordCount("caf\xE9noir"), 2);
    EXPECT_EQ(TMisc::NthWord("caf\xE9noir", 2), "noir");
    EXPECT_EQ(TMisc::WordCount("\x7F\x80\x21"), 2);
    int i = -1;
    EXPECT_TRUE(TMisc::FindNthWord(t, 2, i));
    EXPECT_EQ(i, 5);
    EXPECT_FALSE(TMisc::FindNthWord(t, 3, i));
    EXPECT_EQ(i, 7);
    EXPECT_FALSE(TMisc::FindNthWord("", 1, i));
    EXPECT_EQ(i, 0);
    EXPECT_EQ(TMisc::FirstWordLength("\t  hello world"), 5);
    EXPECT_EQ(TMisc::FirstWordLength("   "), 0);
}

TEST(Numbers, ParseHexAndAtol) {
    uint32_t v = 0;
    EXPECT_TRUE(TMisc::ParseHex("0x1F", v));
    EXPECT_EQ(v, 31u);
    EXPECT_TRUE(TMisc::ParseHex("ff00ff", v));
    EXPECT_EQ(v, 16711935u);
    EXPECT_TRUE(TMisc::ParseHex("1G", v));
    EXPECT_EQ(v, 16u);
    EXPECT_TRUE(TMisc::ParseHex("#X10", v));  // no lower-case x: after the first X
    EXPECT_EQ(v, 16u);
    EXPECT_TRUE(TMisc::ParseHex("FFFFFFFF", v));
    EXPECT_EQ(v, 0xFFFFFFFFu);
    v = 7;
    EXPECT_FALSE(TMisc::ParseHex("123456789", v));
    EXPECT_FALSE(TMisc::ParseHex("0x", v));
    EXPECT_FALSE(TMisc::ParseHex("", v));
    EXPECT_EQ(v, 7u);

    EXPECT_EQ(qm::Atol("  42abc"), 42);
    EXPECT_EQ(qm::Atol("-17"), -17);
    EXPECT_EQ(qm::Atol("+5"), 5);
    EXPECT_EQ(qm::Atol("abc"), 0);
    EXPECT_EQ(qm::Atol(""), 0);
    EXPECT_EQ(qm::Atol("99999999999999999999999"), LLONG_MAX);
}

TEST(Trim, BytesUpTo32) {
    EXPECT_EQ(qm::Trim(" \t\r\n a b \x01"), "a b");
    EXPECT_EQ(qm::Trim("   "), "");
    EXPECT_EQ(qm::TrimLeft("  a "), "a ");
    EXPECT_EQ(qm::TrimRight("  a "), "  a");
    EXPECT_EQ(qm::Trim("\xA0x\xA0"), "\xA0x\xA0");  // bytes above 127 are kept
    EXPECT_TRUE(qm::SameTextNoCase("Apple", "aPPLE"));
    EXPECT_FALSE(qm::SameTextNoCase("\xE9", "\xC9"));
    EXPECT_FALSE(qm::SameTextNoCase("ab", "abc"));
    EXPECT_LT(qm::CompareNoCase("ab", "ABC"), 0);
}

namespace {

// The replacement loop exactly as described: search from the beginning each time.
std::string ReferenceReplaceAll(std::string text, const std::string &pattern, const std::string &repl) {
    if (text.empty()) return text;
    const size_t original = text.size();
    TMisc m;
    while (m.FindNoCase(text, pattern)) {
        size_t last = static_cast<size_t>(m.LastPos);
        text.replace(last + 1 - pattern.size(), pattern.size(), repl);
        if (last >= original) break;
    }
    return text;
}

}  // namespace

TEST(Replace, AgreesWithTheRestartingLoop) {
    uint32_t seed = 12345;
    auto next = [&](uint32_t n) {
        seed = seed * 1103515245u + 12345u;
        return (seed >> 16) % n;
    };
    const char alphabet[] = "abAB<>";
    auto word = [&](size_t len) {
        std::string s;
        for (size_t i = 0; i < len; ++i) s += alphabet[next(6)];
        return s;
    };
    for (int round = 0; round < 20000; ++round) {
        std::string text = word(next(16));
        std::string pattern = word(1 + next(3));
        std::string repl = word(next(4));
        if (TMisc::FindNoCasePos(repl, pattern) != std::string_view::npos) continue;
        ASSERT_EQ(TMisc::ReplaceAll(text, pattern, repl), ReferenceReplaceAll(text, pattern, repl))
            << text << " / " << pattern << " / " << repl;
    }
}
