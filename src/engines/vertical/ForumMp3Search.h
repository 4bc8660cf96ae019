#pragma once
// The forum finder and the MP3 finder as features. Both are one shape of vertical search:
// a fixed table, the query put into each row's template as typed (no search modes), one
// list of five values (URL last), the list stopping after 500 rows, and a cache written at
// every finish. A `PlainVerticalKind` says what differs; nothing else is per tab.
#include "engines/vertical/ForumMp3.h"
#include "engines/vertical/VerticalFeatures.h"

#include <QObject>
#include <QString>
#include <functional>
#include <string>
#include <vector>

namespace qm {

inline constexpr const char *kForumCacheFolder = "ForumSearch";
inline constexpr const char *kForumCacheExtension = ".Forumsearch";
inline constexpr const char *kForumHistoryFile = "ComboBox_FINDFORUM.INI";
inline constexpr const char *kMp3CacheFolder = "MP3Search";
inline constexpr const char *kMp3CacheExtension = ".MP3search";
inline constexpr const char *kMp3HistoryFile = "ComboBox_MP3.INI";

struct PlainVerticalKind {
    SearchKind kind = SearchKind::Forum;
    std::function<std::vector<EngineDescriptor>()> table;
    std::vector<QString> headers;      // the five sub-item headers
    QString one, many;                 // words of the count header
    std::vector<size_t> filterColumns; // what the in-list filter compares
    const char *cacheFolder = "";
    const char *cacheExtension = "";
    std::function<std::string(int selector)> searchHost;
    std::function<void(int selector, std::string_view page, ReaderSink &sink)> readers;
    // The JSON keys of a row on the command line.
    std::vector<const char *> keys;
};

const PlainVerticalKind &ForumKind();
const PlainVerticalKind &Mp3Kind();

class PlainVerticalSearch : public QObject {
    Q_OBJECT
public:
    PlainVerticalSearch(const PlainVerticalKind &kind, VerticalHost host, QObject *parent = nullptr);

    const PlainVerticalKind &Kind() const { return kind_; }
    ResultListModel &List() { return *list_; }
    VerticalSearchController &Controller() { return *controller_; }
    std::vector<EngineDescriptor> &Table() { return table_; }

    void Press(const std::string &typed) { controller_->Press(typed); }
    void EnterPressed(const std::string &typed) { controller_->EnterPressed(typed); }
    void Close() { controller_->Close(); }

    SearchResultCache Cache() const;
    // Change or click of the query box: an empty box deletes the nameless file, a cached
    // query ends a running search and shows its list.
    SearchResultCache::Recall Recall(const std::string &boxText);

    // The URL of a row when it may be opened in the browser ("" otherwise).
    std::string RowAddress(int row) const;

private:
    const PlainVerticalKind &kind_;
    VerticalHost host_;
    std::vector<EngineDescriptor> table_;
    ResultListModel *list_;
    VerticalSearchController *controller_;
};

}  // namespace qm
