#pragma once
// The steps of the main window's show, activate, timer, close and destroy sequences that
// belong to other features. Each is called at its place in the sequence; an empty hook
// does nothing. Features fill them when they are wired into the window (see BindFeatures
// in MainWindow.cpp).
#include <functional>
#include <string>
#include <vector>

#include "search/ResultRow.h"

namespace qm {

struct ShellHooks {
    // --- Show ---
    std::function<void()> loadHistoriesAndFavorites;  // the eight query histories, four favorites
    std::function<void()> fillCatalogueCategories;    // software catalogue categories
    std::function<void()> showSmartCategories;        // smart finder categories
    std::function<void()> buildNewsTree;              // daily-news tree
    std::function<void()> reloadTemplateEngines;      // release, then load Engines/WebSearch.grp
    std::function<void(const std::string &language)> applyLanguage;        // key pass
    std::function<void(const std::string &language)> applyLanguageBlocks;  // alerts and help lists

    // --- Activate ---
    // The splash window, shown modally with a display limit (10 at start, 15 for About).
    std::function<void(int displayLimit)> showSplash;

    // --- Web search ---
    std::function<void()> pressWebSearch;  // BT_WEBClick: stops a running search, else starts one

    // --- Options window ---
    // Shows the options window modally, opened on a page (0 search ... 4 navigation).
    std::function<void(int page)> showOptionsWindow;

    // --- Housekeeping timer ---
    std::function<void()> startConfigDownload;  // third tick of the run, once
    std::function<bool()> configApplied;        // the remote configuration has been applied
    std::function<void()> bannerStep;           // every tick once it has

    // --- Close ---
    std::function<void()> saveHistories;            // clear query boxes, push and save histories
    std::function<void()> endWebSearch;             // only while the web search runs
    std::function<void()> endNewsSearch;            // only while the newsgroup search runs
    std::function<void()> endCatalogueUpdate;       // only while a catalogue update runs
    std::function<void()> endDailyNewsUpdate;       // only while a daily-news update runs
    std::function<void()> saveFavorites;            // the four favorites lists
    std::function<void()> purgeHistoriesAndCaches;  // as $WEB_CacheMode and $NEWS_CacheMode say
    std::function<void()> abortBanner;              // the banner's request
    std::function<void()> saveOptions;              // options file, when the options window goes

    // --- Lists ---
    // "Add selection to my favorites" of the smart finder's list: the selected rows, whole.
    std::function<void(const std::vector<ResultRow> &rows)> addSmartFavorites;
    // "Add selection to my favorites" of the web, newsgroup and software lists and the
    // catalogue: the favorites list (0 web, 1 newsgroup, 2 software, 3 daily news), the rows.
    std::function<void(int list, const std::vector<ResultRow> &rows)> addFavorites;
    // The software search's detail-page client for a C|NET favorite: Download (1), Visit (2).
    std::function<void(const std::string &address, int action)> requestSoftwareDetail;
    // Told when that client's Download and Visit items go off (pending) and on again.
    std::function<void(bool enabled)> softwareDetailItems;
    // "Get more details" read: the description, for the catalogue's hint memo.
    std::function<void(const std::string &text)> showSoftwareDetails;

    // --- Favorites ---
    // One daily-news headline for the daily-news favorites (title, country tag, channel,
    // date "%u / %02u / %02u", URL); false when it was not added (already listed).
    std::function<bool(const std::string &title, const std::string &tag, const std::string &channel,
                       const std::string &date, const std::string &url)>
        addDailyNewsFavorite;
    // Shows the favorites page with the daily-news list.
    std::function<void()> showDailyNewsFavorites;

    // --- Destroy ---
    std::function<void()> releaseFeatures;
};

template <typename Fn, typename... Args>
inline void RunHook(const Fn &hook, Args &&...args) {
    if (hook) hook(std::forward<Args>(args)...);
}

}  // namespace qm
