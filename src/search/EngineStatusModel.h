#pragma once
// What each engine of a search is doing and how it ended, as an item model: one row per
// engine of the search kind's table, in table order. Every search kind keeps one; its
// request objects report into it (PagedRequest), the window shows it under the result list
// and quillmar-cli prints it.
//
// Columns: the engine's name (with the state icon as decoration when icons are set), its
// state ("waiting", "page 3", "done", "failed", "stopped", "off"), rows added, pages read,
// time from start to done, and the reason when it failed (or a note such as "page limit").
#include <QAbstractTableModel>
#include <QIcon>

#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace qm {

enum class EngineState { Waiting, Fetching, Done, Failed, Stopped, Off };
inline constexpr int kEngineStateCount = 6;

// Why a search ended.
enum class SearchEnd { AllDone, Limit, Stopped, Closed };

struct EngineStatus {
    std::string name;
    EngineState state = EngineState::Waiting;
    int page = 0;        // page being fetched, from 1
    int pages = 0;       // pages answered with status 200
    int rows = 0;        // rows added to the list
    int duplicates = 0;  // rows refused because the list had them
    int merged = 0;      // rows counted on a listed row of the same site
    int64_t bytes = 0;   // body bytes received
    int64_t startMs = 0; // monotonic clock at the start
    int64_t ms = -1;     // start to done; -1 while it runs
    bool answered = false;  // some page came back with status 200
    std::string reason;     // why it failed ("" unless failed)
    std::string note;       // "page limit", "result limit", ...
};

// The reason text of a failed request: the client's error code (0 when the exchange
// completed) and, when it completed, the status.
std::string FailureReason(int error, int status);

// Reason given to an engine whose page came back with status 200, but held no result and
// no further page although it was longer than 2 KB: its reader no longer fits the page.
inline constexpr const char *kUnreadableReason = "answered but no result could be read";

class EngineStatusModel : public QAbstractTableModel {
    Q_OBJECT
public:
    enum Column { ColName, ColState, ColRows, ColPages, ColTime, ColReason, ColumnCount };
    enum Role { StateRole = Qt::UserRole + 1 };

    explicit EngineStatusModel(QObject *parent = nullptr);

    int rowCount(const QModelIndex &parent = {}) const override;
    int columnCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

    // A new search: one row per engine, waiting when it takes part, else off.
    void Reset(const std::vector<std::pair<std::string, bool>> &engines);
    // Empties the model (a search of another kind of engines replaces it).
    void Clear();

    int Count() const { return int(rows_.size()); }
    const EngineStatus &At(int row) const { return rows_[size_t(row)]; }
    const std::vector<EngineStatus> &Rows() const { return rows_; }

    // Reports of the request objects (rows out of range are ignored).
    void Started(int row);
    void Fetching(int row, int page);
    void Received(int row, int64_t bytes);
    void PageRead(int row);
    void RowAdded(int row);
    void DuplicateRefused(int row);
    void MergedIntoListed(int row);
    void Done(int row, const std::string &note = {});
    void Failed(int row, const std::string &reason);
    // Stopped by the user or the limit while it still had work.
    void Stopped(int row, const std::string &note = {});
    void SetNote(int row, const std::string &note);

    // Engines that take part, and those of them that ended (done, failed or stopped).
    int Taking() const;
    int Finished() const;
    // Engines that got at least one page with status 200.
    int Answered() const;
    // Sum of the rows the engines added.
    int TotalRows() const;
    // True when engines took part and every one of them failed without an answer.
    bool NoneReached() const;

    // The search's own clock: started by Reset, read by the status texts.
    int64_t ElapsedMs() const;
    void SetEnd(SearchEnd end);
    bool Ended() const { return ended_; }
    SearchEnd End() const { return end_; }

    // Icons of the states (the window sets them once; the model draws none itself).
    void SetStateIcons(std::array<QIcon, kEngineStateCount> icons);
    static QString StateText(const EngineStatus &s);
    static QString TimeText(int64_t ms);

signals:
    // Any row changed (one signal per report, for the status texts).
    void statusChanged();

private:
    EngineStatus *RowAt(int row);
    void Changed(int row, int firstColumn = 0, int lastColumn = ColumnCount - 1);
    static int64_t Now();

    std::vector<EngineStatus> rows_;
    std::array<QIcon, kEngineStateCount> icons_;
    int64_t startMs_ = 0;
    int64_t endMs_ = -1;
    SearchEnd end_ = SearchEnd::AllDone;
    bool ended_ = false;
};

// The status bar's text for a search of `engines`:
//   while it runs:      "Searching: 9 of 17 engines done, 134 sites"
//   ended:              "271 sites from 17 engines in 1.1 s", followed by the reason when it
//                       was not that every engine was done (": result limit reached",
//                       ": stopped");
//   no engine reached:  "No engine could be reached: check the connection or the proxy settings".
// `running` tells whether the search still runs; `sites` is the list's count.
std::string SearchStatusText(const EngineStatusModel &engines, bool running, int sites);

}  // namespace qm
