// The options window's display-free rules: values checked before they are set, the cache
// page on real files, colour models, visibility and pages.
#include "settings/OptionsEdit.h"
#include "toolkit/AtomicFile.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QTemporaryDir>

#include <filesystem>

using namespace qm;

TEST(OptionsEdit, ValuesAreCheckedThenWrittenAsTheFileSpellsThem) {
    QTemporaryDir dir;
    const std::string languages = dir.path().toStdString();
    ASSERT_TRUE(WriteFileAtomic(languages + "/French.language", ""));
    struct Case {
        const char *key, *value;
        bool ok;
        const char *stored;  // the value as listed afterwards
    } cases[] = {
        {"web_maxresults", "250", true, "250"},  {"$WEB_MaxResults", "-1", false, nullptr},
        {"$WEB_MaxResults", "12a", false, nullptr}, {"$WEB_MaxResults", "2147483648", false, nullptr},
        {"$WindowX", "-20", true, "-20"},        {"$MuteWAV", "yes", true, "YES"},
        {"$MuteWAV", "1", false, nullptr},        {"$WEB_ResultMode", "2", false, nullptr},
        {"$PROXY_Mode", "2", true, "2"},          {"$StartupTAB", "12", true, "12"},
        {"$StartupTAB", "13", false, nullptr},    {"$CurrencyFrom", "166", true, "166"},
        {"$CurrencyTo", "167", false, nullptr},   {"$COLOR_Index", "5", true, "5"},
        {"$COLOR_Index", "6", false, nullptr},    {"$COLOR_NbModel", "6", false, nullptr},
        {"$BrowseMode", "externalnavigator", true, "ExternalNavigator"},
        {"$SurfMode", "Sometimes", false, nullptr}, {"$DownloadMode", "CLIPBOARD", true, "Clipboard"},
        {"$Language", "french", true, "French"},  {"$Language", "German", false, nullptr},
        {"$PROXY_PORT", "", true, ""},            {"$PROXY_PORT", "65536", false, nullptr},
        {"$PROXY_PASS", "  secret  ", true, "secret"}, {"$PROXY_USER", "a\nb", false, nullptr},
        {"$COLOR[1].Model", "Sea", true, "Sea"},  {"$COLOR[1].Model", " ", false, nullptr},
        {"$COLOR[2].TextColor", "16777216", false, nullptr},
        {"$WEBEngine_GOTO", "no", true, "NO"},     {"$NET_IdleTimeout", "45", true, "45"},
        {"$WEB_MergeSameSite", "YES", true, "YES"},
    };
    for (const auto &c : cases) {
        Options opt;
        const auto key = CanonicalOptionKey(opt, c.key);
        ASSERT_TRUE(key) << c.key;
        const Options before = opt;
        const std::string error = SetOptionValue(opt, *key, c.value, languages);
        EXPECT_EQ(error.empty(), c.ok) << c.key << " " << c.value << ": " << error;
        if (!c.ok) {
            EXPECT_EQ(opt, before) << c.key;
            EXPECT_NE(error.find(*key), std::string::npos) << error;  // names the key
            continue;
        }
        for (const auto &e : ListOptionEntries(opt))
            if (e.key == *key) EXPECT_EQ(e.value, c.stored) << c.key;
    }
    EXPECT_FALSE(CanonicalOptionKey(Options(), "$NoSuchKey"));
    EXPECT_FALSE(CanonicalOptionKey(Options(), "$COLOR[6].Model"));  // no seventh model
}

TEST(OptionsEdit, CachePageOnRealFiles) {
    QTemporaryDir dir;
    const DataFolders folders{dir.path().toStdString()};
    std::filesystem::create_directories(folders.CacheSub("WEBSearch") + "/sub.webcache");  // a folder: not listed
    std::filesystem::create_directories(folders.CacheSub("WHOSearch"));
    std::filesystem::create_directories(folders.CacheSub("MP3Search"));
    ASSERT_TRUE(WriteFileAtomic(folders.CacheSub("WEBSearch") + "/linux.webcache", std::string(5000, 'x')));
    ASSERT_TRUE(WriteFileAtomic(folders.CacheSub("WEBSearch") + "/notes.txt", "x"));
    ASSERT_TRUE(WriteFileAtomic(folders.CacheSub("WHOSearch") + "/a.example.whosearch", std::string(2048, 'x')));
    ASSERT_TRUE(WriteFileAtomic(folders.CacheSub("MP3Search") + "/Song.MP3search", std::string(3, 'x')));
    ASSERT_TRUE(WriteFileAtomic(folders.CacheSub("MP3Search") + "/other.mp3search", std::string(1048576, 'x')));
    HistoryBox history{"", {"linux", "qt"}};

    CacheListing web = ListCacheType(folders, history, 0);
    ASSERT_TRUE(web.files);
    ASSERT_EQ(web.files->size(), 1u);
    EXPECT_EQ((*web.files)[0].caption, "linux");
    EXPECT_EQ((*web.files)[0].size, "4 KB");
    EXPECT_EQ(*web.label, "Files cached : 0.00 MB");
    EXPECT_EQ(web.words, (std::vector<std::string>{"linux", "qt"}));

    CacheListing who = ListCacheType(folders, history, 4);
    EXPECT_EQ((*who.files)[0].caption, "a.example");
    EXPECT_EQ((*who.files)[0].size, "2048 Bytes");
    EXPECT_EQ(*who.label, "Files cached : 2.00 KB");

    CacheListing mp3 = ListCacheType(folders, history, 6);
    ASSERT_EQ(mp3.files->size(), 2u);
    EXPECT_EQ(*mp3.label, "Files cached : 1.00 MB");
    RemoveCacheFiles(folders, 6, *mp3.files);  // several rows, one of them in another case
    EXPECT_TRUE(ListCacheType(folders, history, 6).files->empty());

    CacheListing dns = ListCacheType(folders, history, 3);
    EXPECT_FALSE(dns.files);
    EXPECT_FALSE(dns.label);

    RemoveHistoryWords(history, {"qt", "absent"});
    EXPECT_EQ(history.entries, (StringList{"linux"}));
}

TEST(OptionsEdit, ColourModelsVisibilityAndPages) {
    Options opt;
    EXPECT_EQ(SelectorTextAfterSwatch(opt, " gills "), "New Model");
    EXPECT_EQ(SelectorTextAfterSwatch(opt, "Mine"), "Mine");
    EXPECT_EQ(SaveColorModel(opt, "New Model", 1, 2, 3), 6);  // a seventh model
    EXPECT_EQ(SaveColorModel(opt, " default ", 4, 5, 6), 0);   // overwrites "Default"
    EXPECT_EQ(opt.colorModels[0], (ColorModel{"Default", 4, 5, 6}));
    EXPECT_EQ(SaveColorModel(opt, "  ", 1, 1, 1), -1);
    EXPECT_EQ(opt.colorModels.size(), 7u);

    EXPECT_TRUE(DiskCacheBoxVisible(0));
    EXPECT_TRUE(DiskCacheBoxVisible(-1));
    EXPECT_FALSE(DiskCacheBoxVisible(1));
    auto v = ProxyRules(1, true);
    EXPECT_TRUE(v.server && v.authBox && v.userPass && !v.socks);
    v = ProxyRules(0, true);
    EXPECT_FALSE(v.server || v.authBox || v.userPass || v.socks);
    v = ProxyRules(2, true);
    EXPECT_TRUE(v.server && v.authBox && v.userPass && v.socks);
    EXPECT_FALSE(ProxyRules(2, false).userPass);

    OptionsPageState pages;
    EXPECT_EQ(pages.Open(OptionsOpener::Ping), OptionsPage::Misc);
    EXPECT_EQ(pages.Open(OptionsOpener::Button), OptionsPage::Search);  // first opening by the button
    pages.Shown(OptionsPage::Proxy);
    EXPECT_EQ(pages.Open(OptionsOpener::Button), OptionsPage::Proxy);
    EXPECT_EQ(pages.Open(OptionsOpener::Browser), OptionsPage::Browse);
}

TEST(OptionsEdit, DownloadAgentsOnThePath) {
    QTemporaryDir a, b;
    auto program = [](const QTemporaryDir &d, const char *name) {
        const std::string p = d.path().toStdString() + "/" + name;
        ASSERT_TRUE(WriteFileAtomic(p, "#!/bin/sh\n"));
        std::filesystem::permissions(p, std::filesystem::perms::owner_all);
    };
    program(a, "go");
    program(b, "getright");
    ASSERT_TRUE(WriteFileAtomic(a.path().toStdString() + "/dap", "not executable"));
    const std::string path = a.path().toStdString() + ":" + b.path().toStdString();
    EXPECT_EQ(ProbeDownloadAgent(path), b.path().toStdString() + "/getright");  // the last found stays
    EXPECT_EQ(ProbeDownloadAgent(a.path().toStdString()), a.path().toStdString() + "/go");
    EXPECT_EQ(ProbeDownloadAgent(""), "");
}
