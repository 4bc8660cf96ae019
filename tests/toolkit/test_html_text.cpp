// Cleanup of captured HTML snippets and the display conversion.
#include "toolkit/DisplayText.h"
#include "toolkit/Misc.h"

#include <gtest/gtest.h>

using qm::CleanHtmlText;

TEST(CleanHtmlText, ListedTagsGoInAnyCase) {
    EXPECT_EQ(CleanHtmlText("<b>Fast</b> cars"), "Fast cars");
    EXPECT_EQ(CleanHtmlText("<B>Fast</B> <i>c</I>ars"), "Fast cars");
    EXPECT_EQ(CleanHtmlText("one<br>two<BR>three</Br>"), "onetwothree");
    EXPECT_EQ(CleanHtmlText("<a href=x>y</a>"), "<a href=x>y");
    EXPECT_EQ(CleanHtmlText("<p>a</p><UL><LI>b<u>c</U></div></SPAN><small>d</SMALL><nobr>e</NOBR>"),
              "abcde");
    // Unlisted tags, and listed ones with attributes, stay.
    EXPECT_EQ(CleanHtmlText("<td>x</td><b class=y>z"), "<td>x</td><b class=y>z");
    // A tag formed by removing another is removed too.
    EXPECT_EQ(CleanHtmlText("<<b>b>x"), "x");
    // Blanks are neither trimmed nor collapsed.
    EXPECT_EQ(CleanHtmlText("  a <b> </b> b  "), "  a   b  ");
}

TEST(CleanHtmlText, NamedReferences) {
    EXPECT_EQ(CleanHtmlText("caf&eacute;"), "caf\xC3\xA9");
    EXPECT_EQ(CleanHtmlText("&Eacute;"), "\xC3\x89");
    EXPECT_EQ(CleanHtmlText("&Dagger;&dagger;"), "\xE2\x80\xA1\xE2\x80\xA0");
    EXPECT_EQ(CleanHtmlText("a&nbsp;b&shy;c"), "a b c");
    EXPECT_EQ(CleanHtmlText("&amp;&lt;&gt;&quot;&#8217;"), "&<>\"'");
    EXPECT_EQ(CleanHtmlText("wait&hellip;"), "wait...");
    EXPECT_EQ(CleanHtmlText("&euro;5 &trade; &Yuml;&yuml;"), "\xE2\x82\xAC" "5 \xE2\x84\xA2 \xC5\xB8\xC3\xBF");
    EXPECT_EQ(CleanHtmlText("&iexcl;&times;&divide;&szlig;&THORN;"), "\xC2\xA1\xC3\x97\xC3\xB7\xC3\x9F\xC3\x9E");
    // Case must match exactly.
    EXPECT_EQ(CleanHtmlText("&AMP; &Nbsp; &EACUTE;"), "&AMP; &Nbsp; &EACUTE;");
    // Table order: "&amp;lt;" becomes "&lt;" and then "<"; a decoded "<b>" is not a
    // tag any more, but a decoded font tag is still removed by the later step.
    EXPECT_EQ(CleanHtmlText("&amp;lt;"), "<");
    EXPECT_EQ(CleanHtmlText("&amp;amp;amp;"), "&");
    EXPECT_EQ(CleanHtmlText("&lt;b&gt;x"), "<b>x");
    EXPECT_EQ(CleanHtmlText("&lt;font size=2&gt;x"), "x");
    // Entities decoded earlier in the table than "&amp;" are not revived.
    EXPECT_EQ(CleanHtmlText("&amp;eacute;"), "\xC3\xA9");
    // Unknown names and a missing semicolon stay.
    EXPECT_EQ(CleanHtmlText("&alpha; &eacute &foo;"), "&alpha; &eacute &foo;");
}

TEST(CleanHtmlText, FirstFontTagOnly) {
    EXPECT_EQ(CleanHtmlText("<font color=red>a</font><FONT size=1>b</FONT>"),
              "a<FONT size=1>b");
    EXPECT_EQ(CleanHtmlText("<font color=red"), "<font color=red");
    EXPECT_EQ(CleanHtmlText("x<fontainebleau>y"), "xy");
}

TEST(CleanHtmlText, NumericReferences) {
    EXPECT_EQ(CleanHtmlText("&#65;&#66;"), "AB");
    EXPECT_EQ(CleanHtmlText("&#8364;x"), "x");
    EXPECT_EQ(CleanHtmlText("&#12345; &#65;"), "&#12345; &#65;");
    EXPECT_EQ(CleanHtmlText("&#65; &#12345; &#66;"), "A &#12345; &#66;");
    EXPECT_EQ(CleanHtmlText("&#0;x&#;y"), "x&#;y");
    EXPECT_EQ(CleanHtmlText("&#233;"), "\xC3\xA9");
    EXPECT_EQ(CleanHtmlText("&#150;&#128;"), "\xE2\x80\x93\xE2\x82\xAC");  // Windows-1252 bytes
    EXPECT_EQ(CleanHtmlText("&#129;"), "\xC2\x81");
    EXPECT_EQ(CleanHtmlText("&#0065;"), "A");
    EXPECT_EQ(CleanHtmlText("&#x41;z"), "z");  // not a decimal number: 0, removed
    EXPECT_EQ(CleanHtmlText("&#-1;z"), "z");
    EXPECT_EQ(CleanHtmlText("&#38;#65;"), "A");  // a decoded "&" starts a new reference
    EXPECT_EQ(CleanHtmlText("&#65"), "&#65");
    // The text between "&#" and the next ";" decides, even across other references.
    EXPECT_EQ(CleanHtmlText("&#a&#65;"), "&#a&#65;");
    EXPECT_EQ(CleanHtmlText("&#X41;&#x41;"), "");
}

TEST(CleanHtmlText, BytesOutsideReferencesAreKept) {
    std::string raw("a\0b\xE9\xFF\r\n<I>", 10);
    EXPECT_EQ(CleanHtmlText(raw), std::string("a\0b\xE9\xFF\r\n", 7));
    EXPECT_EQ(CleanHtmlText(""), "");
}

TEST(DisplayText, Utf8AndWindows1252PerSequence) {
    EXPECT_EQ(qm::DisplayText("caf\xC3\xA9"), QString::fromUtf8("caf\xC3\xA9"));
    EXPECT_EQ(qm::DisplayText("caf\xE9"), QString::fromUtf8("caf\xC3\xA9"));
    // Mixed: a UTF-8 e-acute, then a Windows-1252 euro sign and quote marks.
    EXPECT_EQ(qm::DisplayText("\xC3\xA9 \x80 \x93x\x94"),
              QString::fromUtf8("\xC3\xA9 \xE2\x82\xAC \xE2\x80\x9Cx\xE2\x80\x9D"));
    // Overlong forms, surrogates and truncated sequences are single bytes.
    EXPECT_EQ(qm::DisplayText("\xC0\xAF"), QString::fromUtf8("\xC3\x80\xC2\xAF"));
    EXPECT_EQ(qm::DisplayText("\xED\xA0\x80").size(), 3);
    EXPECT_EQ(qm::DisplayText("\xE2\x82"), QString::fromUtf8("\xC3\xA2\xE2\x80\x9A"));
    // Four-byte sequences become surrogate pairs.
    QString smile = qm::DisplayText("\xF0\x9F\x98\x80");
    EXPECT_EQ(smile.size(), 2);
    EXPECT_EQ(QChar::surrogateToUcs4(smile[0], smile[1]), 0x1F600u);
    EXPECT_EQ(qm::DisplayText(std::string("a\0b", 3)).size(), 3);
    EXPECT_EQ(qm::TypedText(QString::fromUtf8("\xC3\xA9t\xC3\xA9")), "\xC3\xA9t\xC3\xA9");
    // Every decoded character shows as the character the cleanup meant.
    EXPECT_EQ(qm::DisplayText(CleanHtmlText("&ndash;&#150;&eacute;")), QString::fromUtf8("\xE2\x80\x93\xE2\x80\x93\xC3\xA9"));
}
