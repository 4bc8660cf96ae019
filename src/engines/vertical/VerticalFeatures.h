#pragma once
// The newsgroup article search and the software search as features: each owns its engine
// table, result list, the vertical search controller and its cache; the software search also
// owns the detail-page request (HTPCNM). No display: the pages and quillmar-cli drive them.
#include "engines/vertical/VerticalReaders.h"
#include "engines/vertical/VerticalSearch.h"
#include "engines/vertical/VerticalTables.h"
#include "search/Export.h"
#include "search/ResultCache.h"

#include <QObject>
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace qm {

class Options;

inline constexpr const char *kNewsCacheFolder = "NEWSSearch";
inline constexpr const char *kNewsCacheExtension = ".newssearch";
inline constexpr const char *kSoftwareCacheFolder = "SoftSearch";
inline constexpr const char *kSoftwareCacheExtension = ".prgsearch";
inline constexpr const char *kNewsViewFile = "NewsView.htm";

// The options the newsgroup search reads ($NEWS_...).
struct NewsOptions {
    long maximum = 500;      // $NEWS_MaxResults
    int resultMode = 0;      // $NEWS_ResultMode: 0 in total, 1 per engine
    int cacheMode = 0;       // $NEWS_CacheMode: 0 always, 1 session, 2 never
    bool useDiskCache = true;  // $NEWS_UseDiskCache
    bool mute = false;         // $MuteWAV
    bool engineEnabled = true; // $NEWSEngine_GoogleNews
};
NewsOptions NewsOptionsFrom(const Options &o);

// What both features need from their surroundings.
struct VerticalHost : SearchHooks {
    HttpClientFactory makeClient;
    std::function<std::string()> dataRoot;
    std::function<bool()> mute;  // $MuteWAV
};

// The result lists: news (6 columns, identity Address), software (9 columns, identity Name).
ResultListModel *CreateNewsList(QObject *parent = nullptr);
ResultListModel *CreateSoftwareList(QObject *parent = nullptr);
// The in-list filter compares news rows on Title and Description, software rows on their
// first six columns (ResultListModel::FilterColumns).

class NewsSearch : public QObject {
    Q_OBJECT
public:
    NewsSearch(VerticalHost host, std::function<NewsOptions()> options, QObject *parent = nullptr);

    ResultListModel &List() { return *list_; }
    VerticalSearchController &Controller() { return *controller_; }
    NewsRestriction &Restriction() { return restriction_; }

    void Press(const std::string &typed) { controller_->Press(typed); }
    void EnterPressed(const std::string &typed) { controller_->EnterPressed(typed); }
    void Close() { controller_->Close(); }

    SearchResultCache Cache() const;
    // Change or click of the query box: recall per cache mode, empty name deleted.
    SearchResultCache::Recall Recall(const std::string &boxText);

    // The export of this list (Address else Newsgroups, empty <$ENGINE_URL>).
    ExportSettings ExportSettingsFor() const;
    bool ExportPage(const std::string &path, const std::vector<bool> &selected = {}) const;
    std::string ViewFile() const;  // Cache/NewsView.htm

    // Addresses of the popup's actions for a row ("" when none).
    std::string ArticleAddress(int row) const;
    std::string BrowseAddress(int row) const;

private:
    VerticalHost host_;
    std::function<NewsOptions()> options_;
    std::vector<EngineDescriptor> table_;
    ResultListModel *list_;
    NewsRestriction restriction_;
    VerticalSearchController *controller_;
};

// Pending actions of the detail page.
enum class DetailAction { ShowDetails = 0, Download = 1, Visit = 2, Opinions = 3 };

class SoftwareSearch : public QObject {
    Q_OBJECT
public:
    struct Actions {
        std::function<void(const std::string &address)> open;      // OpenInBrowser (download too)
        std::function<void(const std::string &text)> showDetails;   // the catalogue's hint memo
        std::function<void(bool enabled)> itemsEnabled;             // Download / Visit and their twins
    };
    SoftwareSearch(VerticalHost host, QObject *parent = nullptr);
    ~SoftwareSearch() override;

    ResultListModel &List() { return *list_; }
    VerticalSearchController &Controller() { return *controller_; }
    void SetMode(SearchMode mode);
    SearchMode Mode() const { return mode_; }
    Actions &Act() { return actions_; }

    void Press(const std::string &typed) { controller_->Press(typed); }
    void EnterPressed(const std::string &typed) { controller_->EnterPressed(typed); }
    void Close() { controller_->Close(); }

    SearchResultCache Cache() const;
    SearchResultCache::Recall Recall(const std::string &boxText);

    // "Download" and "Vist the author's site" on a row: direct for TuCows rows, through the
    // detail page for C|NET rows.
    void Download(int row);
    void Visit(int row);
    // Requests a detail page with a pending action (a running request is aborted).
    void RequestDetail(const std::string &address, DetailAction action);
    bool DetailBusy() const { return detailBusy_; }
    const SoftwareDetail &LastDetail() const { return lastDetail_; }

private:
    void DetailDone(int error);
    void Act(DetailAction action, const SoftwareDetail &d);
    void Open(const std::string &address, const char *missing);

    VerticalHost host_;
    std::vector<EngineDescriptor> table_;
    ResultListModel *list_;
    VerticalSearchController *controller_;
    SearchMode mode_ = SearchMode::All;
    Actions actions_;
    // HTPCNM: its own client, agent "Mozilla/3.0 (compatible)" and the accept list.
    std::unique_ptr<HttpClientPort> detail_;
    std::string detailBody_;
    DetailAction pending_ = DetailAction::ShowDetails;
    bool detailBusy_ = false;
    SoftwareDetail lastDetail_;
};

}  // namespace qm
