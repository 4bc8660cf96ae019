#include <gtest/gtest.h>

#include <QTemporaryDir>

#include <algorithm>
#include <chrono>
#include <fstream>
#include <sys/stat.h>

#include "settings/KeyValue.h"
#include "toolkit/Misc.h"
#include "settings/Opt.h"
#include "toolkit/AtomicFile.h"

using namespace qm;

namespace {

// The file a fresh installation writes: every key in order, with its separators.
const char *const kDefaultFile =
    "$WEB_UseDiskCache\t=\tYES\r\n"
    "$NEWS_UseDiskCache\t=\tYES\r\n"
    "$Language\t\t=\tEnglish\r\n"
    "$WindowX\t\t=\t0\r\n"
    "$WindowY\t\t=\t0\r\n"
    "$WindowTX\t\t=\t0\r\n"
    "$WindowTY\t\t=\t0\r\n"
    "\r\n"
    "$WEB_DiskCache\t\t=\t5000\r\n"
    "$NEWS_DiskCache\t\t=\t5000\r\n"
    "$WEB_MaxResults\t\t=\t500\r\n"
    "$NEWS_MaxResults\t=\t500\r\n"
    "$WEB_ResultMode\t\t=\t0\r\n"
    "$NEWS_ResultMode\t=\t0\r\n"
    "$WEB_CacheMode\t\t=\t0\r\n"
    "$NEWS_CacheMode\t\t=\t0\r\n"
    "$WEB_MergeSameSite\t=\tNO\r\n"
    "$WEB_ShowEngineStatus\t=\tYES\r\n"
    "$PROXY_Mode\t\t=\t0\r\n"
    "$PROXY_SocksLevel\t=\t0\r\n"
    "$PROXY_UsePWD\t\t=\tNO\r\n"
    "$PROXY_ADDR\t\t=\t\r\n"
    "$PROXY_PORT\t\t=\t\r\n"
    "$PROXY_USER\t\t=\t\r\n"
    "$PROXY_PASS\t\t=\t\r\n"
    "$NET_IdleTimeout\t=\t20\r\n"
    "$NoStartupLogo\t\t=\tNO\r\n"
    "$PING_Amount\t\t=\t5\r\n"
    "$PING_Delay\t\t=\t500\r\n"
    "$MuteWAV\t\t=\tNO\r\n"
    "$DisablePanelHelp\t=\tNO\r\n"
    "$DisableWHOQuestion\t=\tNO\r\n"
    "$BrowseMode\t\t=\tDefaultNavigator\r\n"
    "$ExternalNavigator\t=\t\r\n"
    "$SurfMode\t\t=\tInNewWindow\r\n"
    "$DownloadMode\t\t=\tDefault\r\n"
    "$DownloadAgent\t\t=\t\r\n"
    "$StartupTAB\t\t=2\r\n"
    "\r\n"
    "$WEBEngine_Altavista\t\t=\tYES\r\n"
    "$WEBEngine_Google/Yahoo\t\t=\tYES\r\n"
    "$WEBEngine_Netscape\t\t=\tYES\r\n"
    "$WEBEngine_GOTO\t\t=\tYES\r\n"
    "$WEBEngine_Sprinks\t\t=\tYES\r\n"
    "$WEBEngine_Hotbot/Lycos\t\t=\tYES\r\n"
    "$WEBEngine_InfoSpace\t\t=\tYES\r\n"
    "$WEBEngine_Euroseek\t\t=\tYES\r\n"
    "$WEBEngine_FastSearch\t\t=\tYES\r\n"
    "$WEBEngine_MSNSearch\t\t=\tYES\r\n"
    "$WEBEngine_DirectHit\t\t=\tYES\r\n"
    "$WEBEngine_AOLNetFind\t\t=\tYES\r\n"
    "$WEBEngine_FindWhat\t\t=\tYES\r\n"
    "$WEBEngine_NBCi\t\t=\tYES\r\n"
    "$WEBEngine_WebCrawler\t\t=\tYES\r\n"
    "$WEBEngine_OpenDirectory\t\t=\tYES\r\n"
    "$WEBEngine_Compuserve\t\t=\tYES\r\n"
    "\r\n"
    "$NEWSEngine_GoogleNews\t=\tYES\r\n"
    "\r\n"
    "$COLOR_NbModel\t\t=\t6\r\n"
    "$COLOR_Index\t\t=\t0\r\n"
    "$COLOR[0].Model\t\t=\tDefault\r\n"
    "$COLOR[0].BeginColor\t=\t8538889\r\n"
    "$COLOR[0].EndColor\t=\t15846038\r\n"
    "$COLOR[0].TextColor\t=\t16777215\r\n"
    "$COLOR[1].Model\t\t=\tGills\r\n"
    "$COLOR[1].BeginColor\t=\t8538889\r\n"
    "$COLOR[1].EndColor\t=\t7525168\r\n"
    "$COLOR[1].TextColor\t=\t16777215\r\n"
    "$COLOR[2].Model\t\t=\tFruity mood\r\n"
    "$COLOR[2].BeginColor\t=\t33023\r\n"
    "$COLOR[2].EndColor\t=\t65535\r\n"
    "$COLOR[2].TextColor\t=\t0\r\n"
    "$COLOR[3].Model\t\t=\tAmazonium\r\n"
    "$COLOR[3].BeginColor\t=\t7826707\r\n"
    "$COLOR[3].EndColor\t=\t9106685\r\n"
    "$COLOR[3].TextColor\t=\t16777215\r\n"
    "$COLOR[4].Model\t\t=\tMars dawn\r\n"
    "$COLOR[4].BeginColor\t=\t262336\r\n"
    "$COLOR[4].EndColor\t=\t8388672\r\n"
    "$COLOR[4].TextColor\t=\t16777215\r\n"
    "$COLOR[5].Model\t\t=\teXCENtric\r\n"
    "$COLOR[5].BeginColor\t=\t10028631\r\n"
    "$COLOR[5].EndColor\t=\t10352620\r\n"
    "$COLOR[5].TextColor\t=\t16777215\r\n"
    "\r\n"
    "$CurrencyFrom\t\t=\t154\r\n"
    "$CurrencyTo\t\t=\t48\r\n"
    "$CurrencyAmount\t=\t1.0\r\n"
    "$CurrencyValue\t=\t0.00\r\n";

Options Parse(const std::string &text, const std::string &languageFolder = {}) {
    Options o;
    ApplyOptionLines(o, kv::Lines(text), languageFolder);
    return o;
}

void Touch(const std::string &path, const std::string &bytes = "x") {
    std::ofstream(path, std::ios::binary) << bytes;
}

mode_t Mode(const std::string &path) {
    struct stat st {};
    EXPECT_EQ(::stat(path.c_str(), &st), 0) << path;
    return st.st_mode & 0777;
}

// A settings record far from the defaults in every field.
Options Unusual() {
    Options o;
    o.web = {false, 123, 250, 1, 2};
    o.news = {false, 77, 40, -1, 1};
    o.language = "Deutsch";
    o.window = {-4, 12, 1280, 990};
    o.proxy = {2, 2, true, "proxy.example", "1080", "anna", "p a=ss$MuteWAV"};
    o.noStartupLogo = o.muteWav = o.disablePanelHelp = o.disableWhoQuestion = true;
    o.idleTimeout = 7;
    o.pingAmount = 0;
    o.pingDelay = -3;
    o.browseMode = BrowseMode::ExternalNavigator;
    o.externalNavigator = "/usr/bin/web browser";
    o.surfMode = SurfMode::InSameWindow;
    o.downloadMode = DownloadMode::External;
    o.downloadAgent = "/opt/get";
    o.startupTab = 11;
    o.setWebEngineEnabled("Euroseek", false);
    o.setWebEngineEnabled("compuserve", false);
    o.setNewsEngineEnabled("GoogleNews", false);
    o.colorModels.push_back({"New Model", 1, 2, 3});
    o.colorIndex = 6;
    o.currencyFrom = 3;
    o.currencyTo = 0;
    o.currencyAmount = "12,5";
    o.currencyValue = "99.10";
    return o;
}

}  // namespace

TEST(OptionsFile, DefaultsAreWrittenInTableOrderWithTheirSeparators) {
    Options o;
    EXPECT_EQ(FormatOptions(o), kDefaultFile);
    EXPECT_EQ(o.web.limit(), ResultLimit::Total);
    EXPECT_EQ(o.news.history(), HistoryMode::Always);
    EXPECT_EQ(o.proxy.kind(), ProxyKind::None);
    EXPECT_EQ(o.webEngines.size(), 17u);
    EXPECT_TRUE(o.webEngineEnabled("FindWhat"));
    EXPECT_FALSE(o.webEngineEnabled("NoSuchEngine"));
    ASSERT_NE(o.currentColorModel(), nullptr);
    EXPECT_EQ(o.currentColorModel()->name, "Default");
    // Reading the default file changes nothing.
    EXPECT_EQ(Parse(kDefaultFile), o);
}

TEST(OptionsFile, HandWrittenFileWithOddSpacingAndCase) {
    QTemporaryDir dir;
    const std::string root = dir.path().toStdString();
    ::mkdir((root + "/Language").c_str(), 0755);
    Touch(root + "/Language/English.language");
    Touch(root + "/Language/Français.language");
    const std::string text =
        "   $web_maxresults=250\r\n"
        "$NEWS_MaxResults    : ignored words   =  75   \r\n"
        "\t$MuteWAV\t\t\t=\tyes  \r\n"
        "$language = fran\xc3\xa7" "ais\r\n"  // the file is named "Français"
        "$proxy_mode = 1\r\n"
        "$PROXY_ADDR =   proxy.example \r\n"
        "$Proxy_Port=3128\r\n"
        "$PROXY_UsePWD\t=\tYes\r\n"
        "$PROXY_USER = bob\r\n"
        "$PROXY_PASS =   se cret   \r\n"
        "garbage line without a key\r\n"
        "$browsemode = externalnavigator\r\n"
        "$ExternalNavigator=/usr/bin/firefox\r\n"
        "$SURFMODE = insamewindow\r\n"
        "$DownloadMode=clipboard\r\n"
        "$WEBEngine_euroseek = no\r\n"
        "$WEBENGINE_GOOGLE/YAHOO\t=\tmaybe\r\n"
        "$StartupTAB=9\r\n"
        "$WEB_CacheMode = 1\r\n"
        "$NEWS_ResultMode\t=\t1\r\n"
        "$CurrencyAmount =  2.5 \r\n";
    Options o = Parse(text, root + "/Language");
    EXPECT_EQ(o.web.maxResults, 250);
    EXPECT_EQ(o.news.maxResults, 75);
    EXPECT_TRUE(o.muteWav);
    EXPECT_EQ(o.language, "Fran\xc3\xa7" "ais");
    EXPECT_EQ(o.proxy.kind(), ProxyKind::Http);
    EXPECT_EQ(o.proxy.address, "proxy.example");
    EXPECT_EQ(o.proxy.portNumber(), 3128);
    EXPECT_TRUE(o.proxy.usePassword);
    EXPECT_EQ(o.proxy.user, "bob");
    EXPECT_EQ(o.proxy.password, "se cret");
    EXPECT_EQ(o.browseMode, BrowseMode::ExternalNavigator);
    EXPECT_EQ(o.externalNavigator, "/usr/bin/firefox");
    EXPECT_EQ(o.surfMode, SurfMode::InSameWindow);
    EXPECT_EQ(o.downloadMode, DownloadMode::Clipboard);
    EXPECT_FALSE(o.webEngineEnabled("Euroseek"));
    EXPECT_FALSE(o.webEngineEnabled("Google/Yahoo"));  // anything but YES clears a flag
    EXPECT_TRUE(o.webEngineEnabled("Altavista"));
    EXPECT_EQ(o.startupTab, 9);
    EXPECT_EQ(o.web.history(), HistoryMode::CurrentSession);
    EXPECT_EQ(o.news.limit(), ResultLimit::PerEngine);
    EXPECT_EQ(o.currencyAmount, "2.5");
    // The same file with LF lines reads the same.
    std::string lf = text;
    for (size_t p; (p = lf.find('\r')) != std::string::npos;) lf.erase(p, 1);
    EXPECT_EQ(Parse(lf, root + "/Language"), o);
}

TEST(OptionsFile, SingleLinesChangeOnlyTheirSetting) {
    Options expected;
    expected.web.maxResults = 250;
    EXPECT_EQ(Parse("$WEB_MaxResults=250"), expected);

    Options mute;
    mute.muteWav = true;
    EXPECT_EQ(Parse("   $MuteWAV   =   yes  "), mute);

    // The later of two lines wins.
    EXPECT_EQ(Parse("$PING_Amount = 9\r\n$PING_Amount = 3\r\n").pingAmount, 3);
    // A number that does not parse is 0; leading digits count.
    EXPECT_EQ(Parse("$PING_Delay = soon").pingDelay, 0);
    EXPECT_EQ(Parse("$PING_Delay = 250ms").pingDelay, 250);
    // A surf mode or download mode that is none of the choices changes nothing.
    Options s = Parse("$SurfMode = InSameWindow\r\n$SurfMode = sideways\r\n$DownloadMode = ftp\r\n");
    EXPECT_EQ(s.surfMode, SurfMode::InSameWindow);
    EXPECT_EQ(s.downloadMode, DownloadMode::Default);
    // Any browse mode other than the default navigator selects the external one.
    EXPECT_EQ(Parse("$BrowseMode = x").browseMode, BrowseMode::ExternalNavigator);
    // "$StartupTAB" is written without a tab after "=" and read back.
    Options tab;
    tab.startupTab = 13;
    EXPECT_EQ(Parse(FormatOptions(tab)).startupTab, 13);
}

TEST(OptionsFile, IndexesOutsideTheirListsLoseTheSelection) {
    Options o = Parse(
        "$WEB_ResultMode = 2\r\n$NEWS_ResultMode = -1\r\n$WEB_CacheMode = 3\r\n$NEWS_CacheMode = x\r\n"
        "$PROXY_Mode = 9\r\n$PROXY_SocksLevel = 3\r\n");
    EXPECT_EQ(o.web.resultMode, -1);
    EXPECT_EQ(o.news.resultMode, -1);
    EXPECT_EQ(o.web.limit(), ResultLimit::Total);
    // History modes fall back to "Always".
    EXPECT_EQ(o.web.cacheMode, 0);
    EXPECT_EQ(o.news.cacheMode, 0);
    EXPECT_EQ(o.proxy.mode, -1);
    EXPECT_EQ(o.proxy.kind(), ProxyKind::None);
    EXPECT_EQ(o.proxy.socksLevel, -1);
    // A lost selection is written as -1 and read back the same way.
    EXPECT_EQ(Parse(FormatOptions(o)), o);
    Options socks = Parse("$PROXY_Mode = 2\r\n$PROXY_SocksLevel = 2\r\n");
    EXPECT_EQ(socks.proxy.kind(), ProxyKind::Socks);
    EXPECT_EQ(socks.proxy.socks(), SocksVersion::V5);
}

TEST(OptionsFile, AKeyQuotedInAValueIsNotASetting) {
    Options o = Parse(
        "$PROXY_Mode\t\t=\t1\r\n"
        "$PROXY_PASS\t\t=\tx $PROXY_Mode = 0 $MuteWAV=YES\r\n");
    EXPECT_EQ(o.proxy.mode, 1);
    EXPECT_FALSE(o.muteWav);
    EXPECT_EQ(o.proxy.password, "x $PROXY_Mode = 0 $MuteWAV=YES");
}

TEST(OptionsFile, ColourModels) {
    // Two models replace the six built-in ones; the index selects the second.
    Options two = Parse(
        "$COLOR_NbModel = 2\r\n$COLOR_Index = 1\r\n"
        "$COLOR[1].Model = Night\r\n$COLOR[1].BeginColor = 1\r\n$COLOR[1].EndColor = 2\r\n$COLOR[1].TextColor = 3\r\n"
        "$COLOR[0].Model = Day\r\n$COLOR[0].BeginColor = 4\r\n$COLOR[0].EndColor = 5\r\n$COLOR[0].TextColor = 6\r\n"
        "$COLOR[2].Model = Beyond the count\r\n");
    ASSERT_EQ(two.colorModels.size(), 2u);
    EXPECT_EQ(two.colorModels[0], (ColorModel{"Day", 4, 5, 6}));
    EXPECT_EQ(two.colorModels[1], (ColorModel{"Night", 1, 2, 3}));
    EXPECT_EQ(two.currentColorModel()->name, "Night");

    // Without a model count the built-in models stay and model 0 is selected.
    Options none = Parse("$COLOR_Index = 3\r\n$COLOR[0].Model = Ignored\r\n");
    EXPECT_EQ(none.colorModels, BuiltInColorModels());
    EXPECT_EQ(none.colorIndex, 0);

    // A model with missing lines keeps its place: later models are not shifted.
    Options gap = Parse(
        "$COLOR_NbModel = 3\r\n$COLOR_Index = 7\r\n"
        "$COLOR[0].Model = A\r\n$COLOR[0].TextColor = 255\r\n"
        "$COLOR[1].Model = B\r\n$COLOR[1].BeginColor = 11\r\n$COLOR[1].EndColor = 12\r\n$COLOR[1].TextColor = 13\r\n");
    ASSERT_EQ(gap.colorModels.size(), 2u);
    EXPECT_EQ(gap.colorModels[0].name, "A");
    EXPECT_EQ(gap.colorModels[0].textColor, 255);
    EXPECT_EQ(gap.colorModels[0].beginColor, BuiltInColorModels()[0].beginColor);
    EXPECT_EQ(gap.colorModels[1], (ColorModel{"B", 11, 12, 13}));
    EXPECT_EQ(gap.colorIndex, -1);  // outside the list: nothing selected
    EXPECT_EQ(gap.currentColorModel()->name, "A");

    // "$COLOR[01]" is not the key of model 1; a count without any model keeps the built-ins.
    Options odd = Parse("$COLOR_NbModel = 2\r\n$COLOR[01].Model = X\r\n$COLOR_Index = 4\r\n");
    EXPECT_EQ(odd.colorModels, BuiltInColorModels());
    EXPECT_EQ(odd.colorIndex, 4);

    // A huge count costs nothing.
    auto start = std::chrono::steady_clock::now();
    Options huge = Parse("$COLOR_NbModel = 2000000000\r\n$COLOR[1999999999].Model = Last\r\n");
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(5));
    ASSERT_EQ(huge.colorModels.size(), 1u);
    EXPECT_EQ(huge.colorModels[0].name, "Last");

    EXPECT_EQ(ColorRed(8538889), 0x09);
    EXPECT_EQ(ColorGreen(8538889), 0x4B);
    EXPECT_EQ(ColorBlue(8538889), 0x82);
}

TEST(OptionsFile, LanguageIsTakenOnlyWhenItsFileExists) {
    QTemporaryDir dir;
    const std::string lang = dir.path().toStdString() + "/Language";
    ::mkdir(lang.c_str(), 0755);
    Touch(lang + "/Deutsch.language");
    ::mkdir((lang + "/Folder.language").c_str(), 0755);
    Touch(dir.path().toStdString() + "/Secret.language");
    EXPECT_EQ(Parse("$Language = deutsch", lang).language, "Deutsch");
    EXPECT_EQ(Parse("$Language = Klingon", lang).language, "English");
    EXPECT_EQ(Parse("$Language = Folder", lang).language, "English");
    EXPECT_EQ(Parse("$Language = ../Secret", lang).language, "English");
    EXPECT_EQ(Parse("$Language = Deutsch", lang + "/missing").language, "English");
    auto names = ListLanguages(lang);
    EXPECT_EQ(names, std::vector<std::string>{"Deutsch"});
}

// A key is found anywhere in a line: no key may contain another, or the line of one would
// also set the other.
TEST(OptionsFile, NoKeyContainsAnother) {
    std::vector<std::string> keys;
    for (const auto &line : kv::Lines(FormatOptions(Options())))
        if (!line.empty()) keys.push_back(line.substr(0, line.find_first_of("\t =")));
    ASSERT_GT(keys.size(), 70u);
    EXPECT_NE(std::find(keys.begin(), keys.end(), "$NET_IdleTimeout"), keys.end());
    for (const auto &a : keys)
        for (const auto &b : keys)
            if (&a != &b) EXPECT_EQ(kv::FindNoCase(a, b), std::string::npos) << b << " inside " << a;
    // The idle time-out stands after the proxy keys and reads back alone.
    const std::string file = FormatOptions(Options());
    EXPECT_LT(file.find("$PROXY_PASS"), file.find("$NET_IdleTimeout"));
    Options idle;
    idle.idleTimeout = 5;
    EXPECT_EQ(Parse("$net_idletimeout=5"), idle);
}

TEST(OptionsFile, RoundTripIsByteIdentical) {
    QTemporaryDir dir;
    const std::string lang = dir.path().toStdString() + "/Language";
    ::mkdir(lang.c_str(), 0755);
    Touch(lang + "/Deutsch.language");
    const std::string a = dir.path().toStdString() + "/Options/Configuration.ini";
    const std::string b = dir.path().toStdString() + "/Options/Again.ini";

    Options o = Unusual();
    ASSERT_TRUE(SaveOptions(o, a));  // creates the Options folder
    Options back;
    ASSERT_TRUE(LoadOptions(back, a, lang));
    EXPECT_EQ(back, o);
    ASSERT_TRUE(SaveOptions(back, b));
    std::string bytesA, bytesB;
    ASSERT_TRUE(ReadWholeFile(a, bytesA));
    ASSERT_TRUE(ReadWholeFile(b, bytesB));
    EXPECT_EQ(bytesA, bytesB);
    ASSERT_TRUE(SaveOptions(o, a));
    ASSERT_TRUE(ReadWholeFile(a, bytesB));
    EXPECT_EQ(bytesA, bytesB);
    EXPECT_NE(bytesA.find("$PROXY_PASS\t\t=\tp a=ss$MuteWAV\r\n"), std::string::npos);
    EXPECT_NE(bytesA.find("$COLOR_NbModel\t\t=\t7\r\n$COLOR_Index\t\t=\t6\r\n"), std::string::npos);
}

TEST(OptionsFile, SavedTextsAreTrimmedAndStayOnTheirLine) {
    Options o;
    o.proxy.password = "  secret with spaces \t";
    o.proxy.user = "eve\r\n$PROXY_Mode\t=\t2";
    o.currencyValue = "1\n2";
    const std::string file = FormatOptions(o);
    EXPECT_NE(file.find("$PROXY_PASS\t\t=\tsecret with spaces\r\n"), std::string::npos);
    Options back = Parse(file);
    EXPECT_EQ(back.proxy.password, "secret with spaces");
    EXPECT_EQ(back.proxy.user, "eve  $PROXY_Mode\t=\t2");
    EXPECT_EQ(back.proxy.mode, 0);
    EXPECT_EQ(back.currencyValue, "1 2");
    EXPECT_EQ(std::count(file.begin(), file.end(), '\n'), std::count(kDefaultFile, kDefaultFile + strlen(kDefaultFile), '\n'));
}

TEST(OptionsFile, LoadAndSaveFailures) {
    QTemporaryDir dir;
    const std::string root = dir.path().toStdString();
    Options o = Unusual();
    const Options before = o;
    EXPECT_FALSE(LoadOptions(o, root + "/missing.ini", ""));
    EXPECT_FALSE(LoadOptions(o, root, ""));  // a folder is not a file
    EXPECT_EQ(o, before);
    Touch(root + "/plain", "not a folder");
    EXPECT_FALSE(SaveOptions(o, root + "/plain/Configuration.ini"));
}

TEST(OptionsFile, FileIsReadableByItsOwnerOnly) {
    QTemporaryDir dir;
    const std::string path = dir.path().toStdString() + "/Configuration.ini";
    ASSERT_TRUE(SaveOptions(Options(), path));
    EXPECT_EQ(Mode(path), 0600u);
    // An older file readable by everybody becomes private when it is replaced.
    ::chmod(path.c_str(), 0644);
    ASSERT_TRUE(SaveOptions(Options(), path));
    EXPECT_EQ(Mode(path), 0600u);
}

TEST(WindowGeometryRule, FitsTheSavedWindowOntoTheScreen) {
    // Width or height of 10 or less: the window keeps its own geometry.
    EXPECT_FALSE(FitWindowGeometry({0, 0, 10, 900}, 1024, 768));
    EXPECT_FALSE(FitWindowGeometry({0, 0, 900, 10}, 1024, 768));
    EXPECT_FALSE(FitWindowGeometry({}, 1024, 768));
    // Past the right edge: moved to x 0, size kept.
    EXPECT_EQ(FitWindowGeometry({900, 20, 300, 200}, 1024, 768), (WindowGeometry{0, 20, 300, 200}));
    // Wider than the screen: x 0 and the screen width less 5.
    EXPECT_EQ(FitWindowGeometry({0, 0, 1100, 200}, 1024, 768), (WindowGeometry{0, 0, 1019, 200}));
    // Exactly touching the edges is inside.
    EXPECT_EQ(FitWindowGeometry({24, 68, 1000, 700}, 1024, 768), (WindowGeometry{24, 68, 1000, 700}));
    // The same rules downwards.
    EXPECT_EQ(FitWindowGeometry({5, 600, 300, 200}, 1024, 768), (WindowGeometry{5, 0, 300, 200}));
    EXPECT_EQ(FitWindowGeometry({5, 6, 300, 800}, 1024, 768), (WindowGeometry{5, 0, 300, 763}));
    // Slightly off the top-left corner (a maximised window) stays; wholly off the screen moves.
    EXPECT_EQ(FitWindowGeometry({-4, -4, 1032, 776}, 1024, 768), (WindowGeometry{0, 0, 1019, 763}));
    EXPECT_EQ(FitWindowGeometry({-8, -8, 500, 400}, 1024, 768), (WindowGeometry{-8, -8, 500, 400}));
    EXPECT_EQ(FitWindowGeometry({-3000, -900, 500, 400}, 1024, 768), (WindowGeometry{0, 0, 500, 400}));
    // Extreme values from a damaged file do not overflow.
    EXPECT_EQ(FitWindowGeometry({INT_MAX, INT_MAX, INT_MAX, INT_MAX}, 1024, 768), (WindowGeometry{0, 0, 1019, 763}));
}

TEST(OptionsHolderTest, SignalsOnlyRealChanges) {
    OptionsHolder holder;
    int changes = 0;
    QObject::connect(&holder, &OptionsHolder::changed, [&] { ++changes; });
    Options o = holder.get();
    holder.set(o);
    EXPECT_EQ(changes, 0);
    o.muteWav = true;
    holder.set(o);
    EXPECT_EQ(changes, 1);
    EXPECT_TRUE(holder.get().muteWav);
}
