#pragma once
// The Daily News tab without its widgets: the language group and its section tree, the node
// headline lists, the node state images, the update cycle with one TCNNEngine per channel,
// the node cache files, the headline list shown and the state of the tab's buttons.
//
// An update ("UPONE" or "UPALL") waits in a nested event loop (SearchRun) until every started
// channel is done, Stop is pressed or the window closes; parsers pump events every 512 bytes.
// Request objects are let go of with PagedRequest::Dispose, so one whose parser is on the
// stack lives until the parser has returned; a parser whose controller went away writes
// nowhere.
#include "news/HeadlineParsers.h"
#include "news/NewsCache.h"
#include "news/NewsChannels.h"
#include "search/EngineSlots.h"
#include "search/EngineStatusModel.h"
#include "search/HttpClientPort.h"
#include "search/SearchRun.h"

#include <QObject>

#include <array>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace qm {

class TCNNEngine;

// A headline offered to the daily-news favorites.
struct NewsFavorite {
    std::string title, tag, channel, date, url;
};

struct DailyNewsEnvironment {
    HttpClientFactory makeClient;                        // one client per enabled channel
    std::function<std::string()> cacheFolder;            // Cache/DailyNews
    std::function<NewsDay()> today;                      // the clock (tests fix it); default: the system's
    std::function<void(const std::string &)> alert;      // the common message box
    std::function<std::string(const std::string &english)> message;  // message table
    std::function<bool()> closing;                       // the window's closing flag
    // Adds one favorite; false when it was not added (the favorites feature fills it).
    std::function<bool(const NewsFavorite &)> addFavorite;
};

// How the request of one channel ended in the last update.
struct ChannelOutcome {
    int index = 0;
    int status = 0;      // HTTP status, 0 when the exchange did not complete
    int error = 0;       // the client's error code, 0 when it completed
    int64_t bytes = 0;
    int64_t ms = -1;
    std::string reason;  // the status model's failure reason
};

enum class NodeImage : int { None = 0, Fetching = 1, Cached = 2 };

class DailyNews : public QObject {
    Q_OBJECT
public:
    explicit DailyNews(DailyNewsEnvironment env, QObject *parent = nullptr);
    ~DailyNews() override;

    // ---- Tables and tree
    const std::vector<NewsChannel> &Channels() const { return channels_; }
    int Group() const { return group_; }
    int TreeGroup() const { return treeGroup_; }
    const NewsTree &Tree() const { return SectionTree(treeGroup_); }
    int ChildCount() const { return int(Tree().children.size()); }
    NodeImage Image(int node) const;
    int Selected() const { return selected_; }
    int Remembered() const { return remembered_; }
    const std::string &DateBar() const { return dateBar_; }
    NewsDay Today() const;
    // Lead channel of a child node of the tree shown (-1 for the root or no node).
    int LeadOf(int node) const;
    std::string CacheFileOf(int node) const;

    void SelectNewsGroup(int group);
    void BuildSectionTree();
    void RefreshSectionIcons();
    bool ShowSection(int node);
    bool SaveSectionFile(const HeadlineList &list, const std::string &leadName);

    // ---- Updates
    bool Updating() const { return run_.Searching(); }
    void UpdateNews(const std::string &mode);
    void FinishNewsUpdate(const std::string &mode);
    // BT_DNC_UPONE (also a double-click in the tree) and BT_DNC_UPALL: start, or Stop.
    void PressUpdateOne();
    void PressUpdateAll();
    // The window closes: a running update ends and its wait returns.
    void Close();
    void SetChannelEnabled(int index, bool enabled) { channels_[size_t(index)].enabled = enabled; }
    // Moves a channel's page elsewhere (the remote configuration may; tests do).
    void SetChannelPage(int index, std::string url) { channels_[size_t(index)].pageUrl = std::move(url); }
    // The clock of the cache files and the date bar.
    void SetClock(std::function<NewsDay()> today) { env_.today = std::move(today); }
    const EngineStatusModel &Status() const { return status_; }
    EngineStatusModel &Status() { return status_; }
    // Channels started by the last update, in table order.
    const std::vector<int> &Started() const { return started_; }
    // What became of each started request (filled when the update ends).
    const std::vector<ChannelOutcome> &Outcomes() const { return outcomes_; }

    // ---- The tree's click (also run after every update) and the headline list
    void ClickNode(int node, bool fromCode = false);
    const HeadlineList &Shown() const { return shown_; }
    const HeadlineList &NodeList(int node) const { return lists_[size_t(node - 1)].Rows(); }
    const std::string &SourceLabel() const { return sourceLabel_; }
    const std::string &HomePage() const { return homePage_; }

    // Button and menu states. `rows` are the selected rows of the headline list.
    const std::string &UpOneCaption() const { return upOneCaption_; }
    const std::string &UpAllCaption() const { return upAllCaption_; }
    bool UpOneEnabled() const { return upOneEnabled_; }
    bool UpAllEnabled() const { return upAllEnabled_; }
    bool FavoriteEnabled(const std::vector<int> &rows) const;  // BT_DNC_FAV
    bool MenuEnabled(const std::vector<int> &rows) const;      // the popup's three items
    // "Add to my favorites": the number of headlines the favorites took.
    int AddToFavorites(const std::vector<int> &rows);
    // The captions again (the language changed).
    void RefreshCaptions();

signals:
    void treeRebuilt();
    void nodeImageChanged(int node);
    void selectionChanged(int node);
    void headlinesChanged();
    void buttonsChanged();
    void sourceChanged();
    void updatingChanged(bool updating);

private:
    friend class TCNNEngine;
    std::string Text(const char *english) const;
    void SetImage(int node, NodeImage image);
    void Complete(int group, int node);
    bool AllIdle() const;
    void DisposeEngines();

    DailyNewsEnvironment env_;
    std::vector<NewsChannel> channels_;
    int group_ = kEnglish;
    int treeGroup_ = kEnglish;
    std::array<HeadlineNodeList, kNewsNodeLists> lists_;
    std::vector<NodeImage> images_;
    std::array<int, 4> counters_{};
    int selected_ = 0;
    int remembered_ = 0;
    std::string dateBar_;
    HeadlineList shown_;
    std::string sourceLabel_, homePage_;
    std::string upOneCaption_, upAllCaption_;
    bool upOneEnabled_ = false, upAllEnabled_ = true;
    std::string mode_;
    SearchRun run_;
    EngineStatusModel status_;
    EngineSlots<TCNNEngine> engines_{kNewsChannelCount};
    std::vector<int> started_;
    std::vector<ChannelOutcome> outcomes_;
};

}  // namespace qm
