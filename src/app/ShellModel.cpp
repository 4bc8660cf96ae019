#include "app/ShellModel.h"

#include <algorithm>

namespace qm {

std::string AppTitle() {
    return std::string("Quillmar") + " " + "v" + "1" + ".22 ";
}

ProgramDirs ProgramDirs::FromRoot(std::string root, std::string tempDir, std::string exePath) {
    while (root.size() > 1 && root.back() == '/') root.pop_back();
    ProgramDirs d;
    d.ProgramDir = root;
    d.CacheDir = root + "/Cache";
    d.OptionsDir = root + "/Options";
    d.WebCacheDir = d.CacheDir + "/WEBSearch";
    d.NewsCacheDir = d.CacheDir + "/NEWSSearch";
    d.WhoisCacheDir = d.CacheDir + "/WHOSearch";
    d.CatalogueCacheDir = d.CacheDir + "/Software";
    d.SoftwareCacheDir = d.CacheDir + "/SoftSearch";
    d.DailyNewsCacheDir = d.CacheDir + "/DailyNews";
    d.ForumCacheDir = d.CacheDir + "/ForumSearch";
    d.Mp3CacheDir = d.CacheDir + "/MP3Search";
    d.FrontPagePicture = root + "/GFX/FrontPage.gif";
    d.StartSound = root + "/Sounds/Start.wav";
    d.StopSound = root + "/Sounds/Stop.wav";
    d.TempDir = std::move(tempDir);
    d.ExePath = std::move(exePath);
    return d;
}

std::vector<std::string> ProgramDirs::FoldersToCreate() const {
    return {CacheDir,         OptionsDir,        WebCacheDir,   NewsCacheDir,
            WhoisCacheDir,    CatalogueCacheDir, SoftwareCacheDir, DailyNewsCacheDir,
            ForumCacheDir,    Mp3CacheDir};
}

const std::array<SideBarEntry, kSideBarCount> &SideBarEntries() {
    static const std::array<SideBarEntry, kSideBarCount> entries = {{
        {"Smart search", "$BT_SMART", PageId::Smart},
        {"", "", PageId::None},
        {"Web Search", "$BT_FIND_WEB", PageId::Web},
        {"News Search", "$BT_FIND_NEWS", PageId::News},
        {"Software Finder", "$BT_FIND_WARE", PageId::Software},
        {"Forum finder", "$MNU_EXTRA_FORUM", PageId::Forum},
        {"MP3 Finder", "$MNU_EXTRA_MP3", PageId::Mp3},
        {"", "", PageId::None},
        {"Daily News", "$BT_EXTRA_DNC", PageId::DailyNews},
        {"Units", "$BT_UNITS", PageId::Units},
        {"Currencies", "$BT_CURRENCY", PageId::Currency},
        {"Road Planner", "$MNU_EXTRA_ROAD", PageId::Road},
        {"", "", PageId::None},
        {"Download.example", "$BT_FIND_CNET", PageId::Catalogue},
        {"Internet Kit", "$BT_EXTRA_NETKIT", PageId::NetKit},
        {"Domain Name", "$BT_EXTRA_WHOIS", PageId::Domain},
    }};
    return entries;
}

PageId PageAtSideBar(int position) {
    if (position < 0 || position >= kSideBarCount) return PageId::None;
    return SideBarEntries()[static_cast<size_t>(position)].page;
}

int SideBarPositionOf(PageId page) {
    if (page == PageId::None) return -1;
    const auto &entries = SideBarEntries();
    for (int i = 0; i < kSideBarCount; ++i)
        if (entries[static_cast<size_t>(i)].page == page) return i;
    return -1;
}

HelpPanel HelpPanelOf(PageId page) {
    switch (page) {
    case PageId::Web: return HelpPanel::Web;
    case PageId::Smart: return HelpPanel::Smart;
    case PageId::News: return HelpPanel::News;
    case PageId::Software: return HelpPanel::Software;
    case PageId::Catalogue: return HelpPanel::Catalogue;
    case PageId::NetKit: return HelpPanel::NetKit;
    case PageId::Domain: return HelpPanel::Domain;
    case PageId::DailyNews: return HelpPanel::DailyNews;
    case PageId::Units: return HelpPanel::Units;
    case PageId::Mp3: return HelpPanel::Mp3;
    default: return HelpPanel::Count;
    }
}

const char *PageName(PageId page) {
    switch (page) {
    case PageId::Favorites: return "Favorites";
    case PageId::Debug: return "DBG";
    default: break;
    }
    int pos = SideBarPositionOf(page);
    return pos < 0 ? "" : SideBarEntries()[static_cast<size_t>(pos)].caption;
}

std::string CommandLineQuery(const std::vector<std::string> &params) {
    std::string joined;
    for (const auto &p : params) {
        joined += p;
        joined += ' ';
    }
    static const std::string prefix = "quillmar:?Query=";
    // Remove every occurrence, including ones that a removal brings together.
    for (size_t at = joined.find(prefix); at != std::string::npos; at = joined.find(prefix))
        joined.erase(at, prefix.size());
    auto blank = [](char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; };
    size_t b = 0, e = joined.size();
    while (b < e && blank(joined[b])) ++b;
    while (e > b && blank(joined[e - 1])) --e;
    return joined.substr(b, e - b);
}

ShellModel::ShellModel(ProgramDirs d) : dirs(std::move(d)) {}

bool ShellModel::AnyActivity() const {
    return std::any_of(flags.begin(), flags.end(), [](uint8_t f) { return f != 0; });
}

void ShellModel::Tick() {
    ++TickCount;
    if (pump) pump();
    if (closing) return;
    if (onGauge) onGauge(AnyActivity());
    if (TickCount == 3 && !configDownloadStarted_) {
        configDownloadStarted_ = true;
        RunHook(hooks.startConfigDownload);
    } else if (hooks.configApplied && hooks.configApplied()) {
        RunHook(hooks.bannerStep);
    }
    autoHelp.Tick(options.disablePanelHelp);
}

PageId ShellModel::StartPage() const {
    PageId page = PageAtSideBar(options.startupTab);
    return page == PageId::None ? PageId::Smart : page;
}

}  // namespace qm
