#pragma once
// The program-wide state of the main window, without any widget: data folders, title and
// version, activity flags, the message table, the auto-help lists, the side-bar layout,
// the command-line query and the one-second housekeeping tick. The window (TMain) binds
// its widgets to this model.
#include "app/AutoHelp.h"
#include "app/MessageTable.h"
#include "settings/Language.h"
#include "app/ShellHooks.h"

#include <array>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace qm {

// --- Title and version -------------------------------------------------------------------
inline constexpr int kVersionMajor = 1;
inline constexpr int kVersionMinor = 22;
inline constexpr int kVersionBuild = 1170;
// "Quillmar v1.22 " (the trailing blank belongs to the title).
std::string AppTitle();

// --- Data folders --------------------------------------------------------------------------
struct ProgramDirs {
    std::string ProgramDir;   // the data root, without a trailing "/"
    std::string CacheDir;     // ProgramDir + "/Cache"
    std::string OptionsDir;   // ProgramDir + "/Options"
    std::string WebCacheDir, NewsCacheDir, WhoisCacheDir, CatalogueCacheDir,
        SoftwareCacheDir, DailyNewsCacheDir, ForumCacheDir, Mp3CacheDir;
    std::string FrontPagePicture;  // ProgramDir + "/GFX/FrontPage.gif"
    std::string StartSound;        // ProgramDir + "/Sounds/Start.wav"
    std::string StopSound;         // ProgramDir + "/Sounds/Stop.wav"
    std::string TempDir;           // the system's temporary folder
    std::string ExePath;           // the running executable

    // Every folder derived from the data root (a trailing "/" is dropped).
    static ProgramDirs FromRoot(std::string root, std::string tempDir = {}, std::string exePath = {});
    // The folders created at show: CacheDir, OptionsDir and the eight search caches.
    std::vector<std::string> FoldersToCreate() const;
};

// --- Activity flags ------------------------------------------------------------------------
// One flag per search or update feature; each is 1 while its activity runs.
enum class Activity : int {
    WebSearch,        // `searching` of the web search
    NewsSearch, SoftwareSearch, CatalogueUpdate, ForumSearch, Mp3Search, DailyNewsUpdate,
    SmartSearch, WhoisSearch, NetworkKit, CurrencyUpdate, RoadPlanner,
    Count
};
inline constexpr int kActivityCount = static_cast<int>(Activity::Count);

// --- Pages and the side bar ----------------------------------------------------------------
enum class PageId : int {
    Smart, Web, News, Software, Forum, Mp3, DailyNews, Units, Currency, Road, Catalogue,
    NetKit, Domain, Favorites, Debug, Count,
    None = -1
};
inline constexpr int kPageCount = static_cast<int>(PageId::Count);

struct SideBarEntry {
    const char *caption;   // empty for a separator
    const char *langKey;   // language key of the caption; empty for a separator
    PageId page;           // PageId::None for a separator
    bool IsSeparator() const { return page == PageId::None; }
};
inline constexpr int kSideBarCount = 16;
const std::array<SideBarEntry, kSideBarCount> &SideBarEntries();
// Page opened by a side-bar position; None for separators and positions out of range.
PageId PageAtSideBar(int position);
// Side-bar position of a page; -1 when no entry opens it.
int SideBarPositionOf(PageId page);
// The help list of a page; Count when the page has no rotating help.
HelpPanel HelpPanelOf(PageId page);
// Name of a page as shown in its title line.
const char *PageName(PageId page);

// --- Settings read by the shell ------------------------------------------------------------
// The few options the shell reads. Bound to the options model by BindOptions (TMain).
struct ShellOptions {
    int startupTab = 2;                 // $StartupTAB
    bool disablePanelHelp = false;      // $DisablePanelHelp
    bool noStartupLogo = false;         // $NoStartupLogo
    bool defaultNavigator = true;       // $BrowseMode "DefaultNavigator" / "ExternalNavigator"
    bool surfSameWindow = false;        // $SurfMode "InSameWindow" / "InNewWindow"
    std::string externalNavigator;      // $ExternalNavigator
    std::string language = "English";   // $Language
};

// --- Command line ----------------------------------------------------------------------------
// All parameters joined, each followed by a blank; every "quillmar:?Query=" removed; trimmed.
std::string CommandLineQuery(const std::vector<std::string> &params);

// --- The model -------------------------------------------------------------------------------
class ShellModel {
public:
    explicit ShellModel(ProgramDirs dirs = {});

    ProgramDirs dirs;
    MessageTable messages;
    LanguageTexts language;  // the texts of the language applied last (built-in English at first)
    AutoHelp autoHelp;
    ShellOptions options;
    ShellHooks hooks;

    int versionMajor = kVersionMajor, versionMinor = kVersionMinor, versionBuild = kVersionBuild;
    std::string title = AppTitle();

    std::array<uint8_t, kActivityCount> flags{};
    uint8_t closing = 0;
    uint8_t verifying = 0;
    long TickCount = 0;

    uint8_t &Flag(Activity a) { return flags[static_cast<size_t>(a)]; }
    uint8_t Flag(Activity a) const { return flags[static_cast<size_t>(a)]; }
    uint8_t &searching() { return Flag(Activity::WebSearch); }
    bool AnyActivity() const;

    // Called back by the tick: the status gauge follows the activity flags.
    std::function<void(bool busy)> onGauge;
    // Lets pending events run (the window sets it; empty in pure model tests).
    std::function<void()> pump;

    // One housekeeping tick (every 1000 ms).
    void Tick();

    // Page that the start-page option opens; the smart finder when the position opens none.
    PageId StartPage() const;

private:
    bool configDownloadStarted_ = false;
};

}  // namespace qm
