// The language passes on real files: key lines (a key inside another key, case, spaces),
// the block rule, derived captions, switching languages, the character set.
#include "settings/Language.h"
#include "toolkit/AtomicFile.h"

#include <gtest/gtest.h>

#include <QTemporaryDir>

using namespace qm;

namespace {

class LanguagePass : public ::testing::Test {
protected:
    std::string Write(const std::string &name, const std::string &bytes) {
        const std::string path = dir_.path().toStdString() + "/" + name + ".language";
        EXPECT_TRUE(WriteFileAtomic(path, bytes));
        return path;
    }
    bool Apply(const std::string &name) {
        bool read = ApplyLanguage(t, dir_.path().toStdString(), name);
        ApplyLanguageBlocks(t, dir_.path().toStdString(), name);
        return read;
    }
    QTemporaryDir dir_;
    LanguageTexts t;
};

}  // namespace

TEST_F(LanguagePass, KeyLinesAndTheirDerivedCaptions) {
    struct Case {
        const char *file;
        const char *key, *text;
    } cases[] = {
        {"$BT_WEB = Chercher\r\n", "$BT_WEB", "Chercher"},
        {"   $bt_web=  Suche  \n", "$BT_WEB", "Suche"},
        {"$LANG_TITLE = X\r\n$LANG_TITLES = Y\r\n", "$LANG_TITLE", "Y"},  // the plural line holds the singular key
        {"$LANG_TITLES = Y\r\n$LANG_TITLE = X\r\n", "$LANG_TITLE", "X"},
        {"$LANG_TITLES = Y\r\n$LANG_TITLE = X\r\n", "$LANG_TITLES", "Y"},
        {"$BT_MNU_OPT =\r\n", "$BT_MNU_OPT", ""},  // an empty text is a text
        {"no key here = x\r\n$W_RGC_WEB\r\n", "$W_RGC_WEB", "Web search"},  // malformed lines change nothing
    };
    for (const auto &c : cases) {
        Write("Case", c.file);
        ASSERT_TRUE(Apply("case")) << c.file;  // names match ignoring case
        EXPECT_EQ(t.Text(c.key), c.text) << c.file;
    }
    Write("Web", "$BT_WEB = Chercher\r\n$MNU_EXTRA_MP3 = Musique\r\n$BT_MNU_OPT = Options\r\n$BT_UNITS=Unités\r\n");
    Apply("Web");
    const DerivedCaptions d = t.Derived();
    EXPECT_EQ(d.newsSearchButton, "Chercher");
    EXPECT_EQ(d.softwareSearchButton, "Chercher");
    EXPECT_EQ(d.optionsTitle, "Options");
    EXPECT_EQ(d.cacheTypes[6], "Musique");
    EXPECT_EQ(d.cacheTypes[5], "Forum finder");
    EXPECT_EQ(d.startupEntries[9], "Unités");
    EXPECT_EQ(d.startupEntries[12], "");  // separator
    EXPECT_EQ(t.messages.Text(Msg::Title), "Title");
}

TEST_F(LanguagePass, EveryApplicationStartsFromEnglish) {
    Write("French", "$BT_WEB = Chercher\r\n$LANG_TS_CACHE = Cache disque\r\n<#AUTOHELP_PANEL_WEB>\r\nAide\r\n5\r\n</#AUTOHELP_PANEL_WEB>\r\n");
    Write("German", "$LANG_TS_CACHE = Zwischenspeicher\r\n");
    ASSERT_TRUE(Apply("French"));
    EXPECT_EQ(t.Text("$BT_WEB"), "Chercher");
    EXPECT_EQ(t.help[0], (std::vector<std::string>{"Aide", "5"}));
    EXPECT_EQ(t.countries.news, "FR");
    ASSERT_TRUE(Apply("German"));
    EXPECT_EQ(t.Text("$BT_WEB"), "Search");  // German lacks it: English, not French
    EXPECT_EQ(t.messages.Text(Msg::TsCache), "Zwischenspeicher");
    EXPECT_EQ(t.help[0], BuiltInHelpList("<#AUTOHELP_PANEL_WEB>"));
    EXPECT_FALSE(t.help[0].empty());
    EXPECT_EQ(t.countries.news, "DE");
    EXPECT_EQ(t.countries.road, "US");
    // An absent file changes no text, but still chooses the countries.
    EXPECT_FALSE(Apply("Swedish"));
    EXPECT_EQ(t.messages.Text(Msg::TsCache), "Zwischenspeicher");
    EXPECT_EQ(t.countries.news, "");
    EXPECT_EQ(t.countries.road, "US");
    EXPECT_FALSE(ApplyLanguage(t, dir_.path().toStdString(), "../French"));
}

TEST_F(LanguagePass, AlertBlocks) {
    Write("Blocks",
          "junk <@alert_whois_type> junk\r\nLine one\r\n\r\nLine two\r\n x </@ALERT_WHOIS_TYPE>\r\n"
          "<@ALERT_NOSEARCH_TYPE>\r\nnever closed");
    Apply("Blocks");
    EXPECT_EQ(t.messages.Text(Msg::NoDomainString), "Line one\r\n\r\nLine two\r\n");  // key anywhere, any case
    EXPECT_EQ(t.messages.Text(Msg::NoSearchString), "never closed\r\n");  // runs to the end of the file
    EXPECT_EQ(t.messages.Text(Msg::DomainInvalid), "");                   // a missing block empties its alert
    EXPECT_EQ(t.messages.Text(Msg::Confirm), "Are you sure?");
}

TEST_F(LanguagePass, CharacterSetDecidesTheDecoding) {
    // "Поиск" in Windows-1251, and the same bytes read by the display rule (Windows-1252).
    const std::string word = "\xCF\xEE\xE8\xF1\xEA";
    Write("Russian", "$CHARSET = 204\r\n$BT_WEB = " + word + "\r\n");
    Apply("Russian");
    EXPECT_EQ(t.charset, 204);
    EXPECT_EQ(t.Text("$BT_WEB"), "\xD0\x9F\xD0\xBE\xD0\xB8\xD1\x81\xD0\xBA");
    Write("Other", "$CHARSET = 163\r\n$BT_WEB = " + word + "\r\n");
    Apply("Other");
    EXPECT_EQ(t.charset, 163);
    EXPECT_EQ(t.Text("$BT_WEB"), "\xC3\x8F\xC3\xAE\xC3\xA8\xC3\xB1\xC3\xAA");  // "Ïîèñê"
    Write("Plain", "$BT_WEB = caf\xC3\xA9\r\n");
    Apply("Plain");
    EXPECT_EQ(t.charset, 1);
    EXPECT_EQ(t.Text("$BT_WEB"), "caf\xC3\xA9");  // valid UTF-8 stays
    struct {
        int charset, page;
    } pages[] = {{161, 1253}, {162, 1254}, {177, 1255}, {178, 1256}, {186, 1257}, {204, 1251}, {238, 1250},
                 {222, 874},  {0, 0},      {1, 0},      {128, 0},    {163, 0}};
    for (auto p : pages) EXPECT_EQ(CodePageOfCharset(p.charset), p.page) << p.charset;
}
