// The main window's display-free logic: title, folders, message table, auto-help rotation,
// side-bar layout, command-line query and the housekeeping tick.
#include "app/ShellModel.h"

#include <gtest/gtest.h>

using namespace qm;

TEST(ShellModel, TitleVersionAndFolders) {
    EXPECT_EQ(AppTitle(), "Quillmar v1.22 ");
    ShellModel m(ProgramDirs::FromRoot("/data/qm/"));
    EXPECT_EQ(m.versionMajor, 1);
    EXPECT_EQ(m.versionMinor, 22);
    EXPECT_EQ(m.versionBuild, 1170);
    EXPECT_EQ(m.dirs.ProgramDir, "/data/qm");
    EXPECT_EQ(m.dirs.CacheDir, "/data/qm/Cache");
    EXPECT_EQ(m.dirs.OptionsDir, "/data/qm/Options");
    EXPECT_EQ(m.dirs.StartSound, "/data/qm/Sounds/Start.wav");
    EXPECT_EQ(m.dirs.FrontPagePicture, "/data/qm/GFX/FrontPage.gif");
    auto folders = m.dirs.FoldersToCreate();
    ASSERT_EQ(folders.size(), 10u);
    for (const char *sub : {"WEBSearch", "NEWSSearch", "WHOSearch", "Software", "SoftSearch",
                            "DailyNews", "ForumSearch", "MP3Search"})
        EXPECT_NE(std::find(folders.begin(), folders.end(), "/data/qm/Cache/" + std::string(sub)),
                  folders.end())
            << sub;
}

TEST(MessageTable, DefaultsKeysAndReplacement) {
    MessageTable t;
    EXPECT_EQ(t.Text(Msg::Confirm), "Are you sure?");
    EXPECT_EQ(t.Text(Msg::NoSearchString), "You have not typed a search string yet\n\nSearch not started");
    EXPECT_EQ(t.Text(Msg::Slogan), "Quillmar : The easy way to search what you want");
    EXPECT_EQ(t.Text(Msg::UnitTemperature), "Temparture");
    // Every message has a default (the daily news's source-label hint is empty until a
    // language file gives one); keys are unique.
    for (int i = 0; i < kMessageCount; ++i) {
        auto m = static_cast<Msg>(i);
        EXPECT_EQ(MessageTable::Default(m).empty(), m == Msg::NewsHint) << i;
        auto key = MessageTable::LanguageKey(m);
        if (!key.empty()) EXPECT_EQ(MessageTable::FromLanguageKey(key), m) << key;
    }
    // Keys are looked up ignoring case; the plural and singular keys stay distinct.
    EXPECT_EQ(MessageTable::FromLanguageKey("$lang_titles"), Msg::Titles);
    EXPECT_EQ(MessageTable::FromLanguageKey("$LANG_TITLE"), Msg::Title);
    EXPECT_EQ(MessageTable::FromLanguageKey("<@ALERT_WHOIS_VALID>"), Msg::DomainInvalid);
    EXPECT_EQ(MessageTable::FromLanguageKey("$NOPE"), Msg::Count);
    EXPECT_EQ(MessageTable::FromLanguageKey(""), Msg::Count);
    t.Set(Msg::Search, "Chercher");
    EXPECT_EQ(t.Text(Msg::Search), "Chercher");
    t.ResetToDefaults();
    EXPECT_EQ(t.Text(Msg::Search), "Search");
}

namespace {

struct HelpRecorder {
    std::vector<std::pair<HelpPanel, std::string>> shown;
    AutoHelp::ShowFn Fn() {
        return [this](HelpPanel p, const std::string &t) { shown.emplace_back(p, t); };
    }
    std::string Last(HelpPanel p) const {
        for (auto it = shown.rbegin(); it != shown.rend(); ++it)
            if (it->first == p) return it->second;
        return "<never>";
    }
};

}  // namespace

TEST(AutoHelp, RotatesPairsByDisplayTime) {
    AutoHelp h;
    HelpRecorder r;
    h.SetShow(r.Fn());
    h.SetList(HelpPanel::Web, {"one", "2", "two", "1", "three", "0"});
    h.Restart(HelpPanel::Web);
    EXPECT_EQ(r.Last(HelpPanel::Web), "one");
    // "one" stays 2 ticks; it changes when the counter exceeds the display time.
    h.Tick(false);
    h.Tick(false);
    EXPECT_EQ(r.Last(HelpPanel::Web), "one");
    h.Tick(false);
    EXPECT_EQ(r.Last(HelpPanel::Web), "two");
    EXPECT_EQ(h.Get(HelpPanel::Web).index, 2);
    h.Tick(false);
    EXPECT_EQ(r.Last(HelpPanel::Web), "two");
    h.Tick(false);
    EXPECT_EQ(r.Last(HelpPanel::Web), "three");
    // Display time 0: the next tick already moves on, and the index wraps to the start.
    h.Tick(false);
    EXPECT_EQ(r.Last(HelpPanel::Web), "one");
    EXPECT_EQ(h.Get(HelpPanel::Web).index, 0);
}

TEST(AutoHelp, OddLengthListDropsItsLastEntryOnFirstShow) {
    AutoHelp h;
    HelpRecorder r;
    h.SetShow(r.Fn());
    h.SetList(HelpPanel::Mp3, {"a", "0", "b", "0", "lonely"});
    EXPECT_EQ(h.Get(HelpPanel::Mp3).entries.size(), 5u);
    h.Restart(HelpPanel::Mp3);
    EXPECT_EQ(h.Get(HelpPanel::Mp3).entries.size(), 4u);
    std::vector<std::string> seen;
    for (int i = 0; i < 6; ++i) {
        h.Tick(false);
        seen.push_back(r.Last(HelpPanel::Mp3));
    }
    EXPECT_EQ(seen, (std::vector<std::string>{"b", "a", "b", "a", "b", "a"}));
    // A one-entry list has no pair at all: nothing is shown, the index stays at 0.
    h.SetList(HelpPanel::Units, {"alone"});
    h.Restart(HelpPanel::Units);
    EXPECT_EQ(r.Last(HelpPanel::Units), "");
    EXPECT_EQ(h.Get(HelpPanel::Units).index, 0);
    h.Tick(false);
    EXPECT_EQ(h.Get(HelpPanel::Units).index, 0);
}

TEST(AutoHelp, ShorterListAfterLanguageChangeDoesNotReadPastTheEnd) {
    AutoHelp h;
    HelpRecorder r;
    h.SetShow(r.Fn());
    h.SetList(HelpPanel::News, {"a", "0", "b", "0", "c", "0"});
    h.ShowText(HelpPanel::News, 2);
    EXPECT_EQ(r.Last(HelpPanel::News), "b");
    // Replaced in place by a list of 3 entries whose last one is dropped: index 2 is gone.
    h.SetList(HelpPanel::News, {"x", "5", "y"});
    h.ShowText(HelpPanel::News, 2);
    EXPECT_EQ(r.Last(HelpPanel::News), "");
    EXPECT_EQ(h.Get(HelpPanel::News).index, 0);
    // Odd indexes are never shown.
    h.ShowText(HelpPanel::News, 1);
    EXPECT_EQ(r.Last(HelpPanel::News), "");
    // Empty list: ticking never divides by its length.
    h.SetList(HelpPanel::News, {});
    for (int i = 0; i < 3; ++i) h.Tick(false);
    EXPECT_EQ(h.Get(HelpPanel::News).index, 0);
}

TEST(AutoHelp, DisabledShowsFirstTextOfEveryPage) {
    AutoHelp h;
    HelpRecorder r;
    h.SetShow(r.Fn());
    h.SetList(HelpPanel::Web, {"first", "0", "second", "0"});
    h.Restart(HelpPanel::Web);
    h.Tick(false);
    EXPECT_EQ(r.Last(HelpPanel::Web), "second");
    h.Tick(true);
    EXPECT_EQ(r.Last(HelpPanel::Web), "first");
    h.Tick(true);
    EXPECT_EQ(r.Last(HelpPanel::Web), "first");
    // Display times are read like atol.
    h.SetList(HelpPanel::Smart, {"t", "  3 seconds", "u", "x"});
    h.Restart(HelpPanel::Smart);
    EXPECT_EQ(h.Get(HelpPanel::Smart).displayTime, 3);
    h.ShowText(HelpPanel::Smart, 2);
    EXPECT_EQ(h.Get(HelpPanel::Smart).displayTime, 0);
}

TEST(SideBarLayout, EntriesSeparatorsAndStartPage) {
    const auto &e = SideBarEntries();
    ASSERT_EQ(e.size(), 16u);
    EXPECT_STREQ(e[0].caption, "Smart search");
    EXPECT_STREQ(e[2].caption, "Web Search");
    EXPECT_STREQ(e[15].caption, "Domain Name");
    for (int i = 0; i < 16; ++i)
        EXPECT_EQ(e[static_cast<size_t>(i)].IsSeparator(), i == 1 || i == 7 || i == 12) << i;
    EXPECT_EQ(PageAtSideBar(2), PageId::Web);
    EXPECT_EQ(PageAtSideBar(13), PageId::Catalogue);
    EXPECT_EQ(PageAtSideBar(7), PageId::None);
    EXPECT_EQ(PageAtSideBar(-1), PageId::None);
    EXPECT_EQ(PageAtSideBar(16), PageId::None);
    EXPECT_EQ(SideBarPositionOf(PageId::Favorites), -1);

    ShellModel m;
    EXPECT_EQ(m.StartPage(), PageId::Web);  // default 2
    m.options.startupTab = 12;               // a separator opens no page
    EXPECT_EQ(m.StartPage(), PageId::Smart);
    m.options.startupTab = 99;
    EXPECT_EQ(m.StartPage(), PageId::Smart);
    m.options.startupTab = 9;
    EXPECT_EQ(m.StartPage(), PageId::Units);
}

TEST(CommandLine, JoinsParametersAndRemovesThePrefix) {
    EXPECT_EQ(CommandLineQuery({}), "");
    EXPECT_EQ(CommandLineQuery({"quillmar:?Query=linux"}), "linux");
    EXPECT_EQ(CommandLineQuery({"quillmar:?Query=free", "software"}), "free software");
    EXPECT_EQ(CommandLineQuery({"a", "quillmar:?Query=b", "quillmar:?Query=c"}), "a b c");
    // A removal that brings a new prefix together removes that one too.
    EXPECT_EQ(CommandLineQuery({"quillmar:?quillmar:?Query=Query=x"}), "x");
    // The prefix is compared exactly.
    EXPECT_EQ(CommandLineQuery({"QUILLMAR:?query=x"}), "QUILLMAR:?query=x");
    EXPECT_EQ(CommandLineQuery({"  spaced  ", ""}), "spaced");
}

TEST(Tick, CountsDrivesGaugeStartsServiceLinkOnceAndRotatesHelp) {
    ShellModel m;
    std::vector<bool> gauge;
    int pumps = 0, configStarts = 0, bannerSteps = 0;
    bool applied = false;
    m.onGauge = [&](bool busy) { gauge.push_back(busy); };
    m.pump = [&] { ++pumps; };
    m.hooks.startConfigDownload = [&] { ++configStarts; };
    m.hooks.configApplied = [&] { return applied; };
    m.hooks.bannerStep = [&] { ++bannerSteps; };
    HelpRecorder r;
    m.autoHelp.SetShow(r.Fn());
    m.autoHelp.SetList(HelpPanel::Web, {"w1", "0", "w2", "0"});
    m.autoHelp.Restart(HelpPanel::Web);

    m.Tick();
    EXPECT_EQ(m.TickCount, 1);
    EXPECT_EQ(pumps, 1);
    EXPECT_EQ(r.Last(HelpPanel::Web), "w2");
    m.Flag(Activity::Mp3Search) = 1;
    m.Tick();
    m.Flag(Activity::Mp3Search) = 0;
    m.searching() = 1;
    m.Tick();
    m.searching() = 0;
    m.Tick();
    EXPECT_EQ(gauge, (std::vector<bool>{false, true, true, false}));
    EXPECT_EQ(configStarts, 1);
    EXPECT_EQ(bannerSteps, 0);
    applied = true;
    m.Tick();
    m.Tick();
    EXPECT_EQ(bannerSteps, 2);
    EXPECT_EQ(configStarts, 1);
    EXPECT_EQ(m.TickCount, 6);
    // Once the window closes, a tick only counts.
    m.closing = 1;
    m.Tick();
    EXPECT_EQ(bannerSteps, 2);
    EXPECT_EQ(gauge.size(), 6u);
}
