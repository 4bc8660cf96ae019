#pragma once
// The state a search controller keeps for one search at a time: whether it reads results,
// runs (started, not yet ended) or the window closes, the search id its request objects
// carry, the result limit of the options, and the nested event loop the start waits in.
//
// The controller owns the request objects; the run only asks, through `allIdle`, whether
// every one of them is idle. Everything runs on the one thread, so Stop, a new search and
// closing may all come while the start waits: see Wait.
#include "search/EngineStatusModel.h"

#include <functional>
#include <string>
#include <utility>

class QEventLoop;
class QObject;

namespace qm {

class SearchRun {
public:
    explicit SearchRun(std::function<bool()> allIdle) : allIdle_(std::move(allIdle)) {}
    SearchRun(const SearchRun &) = delete;
    SearchRun &operator=(const SearchRun &) = delete;

    bool Searching() const { return searching_; }  // results are read (cleared by Stop or the limit)
    bool Running() const { return running_; }      // started and not yet ended
    bool Closing() const { return closing_; }
    unsigned Id() const { return id_; }
    long Maximum() const { return maximum_; }
    int Total() const { return total_; }
    bool Muted() const { return mute_; }
    const std::string &Query() const { return query_; }
    int Ended() const { return ended_; }

    // A start reads the options: the limit (mode 0 in total, 1 per engine) and the sounds.
    void Prepare(long maximum, int resultMode, bool mute);
    void SetQuery(std::string query) { query_ = std::move(query); }
    // A new search id; request objects of older searches no longer count as running.
    unsigned NextId() { return ++id_; }
    // The engines are made: the search runs and reads results.
    void Go() { searching_ = running_ = true; }
    // True while the search `id` reads results.
    bool Reads(unsigned id) const { return searching_ && id_ == id; }

    // Waits in a nested event loop until every engine is idle, the search is stopped or the
    // window closes. True when the search `id` still runs and the caller is to end it; false
    // when it ended otherwise or `owner` (the controller that holds this run) was destroyed
    // meanwhile, in which case neither the run nor the owner may be touched any more.
    bool Wait(unsigned id, QObject *owner);
    void QuitWait();
    // An engine went idle: the wait ends once all are.
    void EngineWentIdle();

    // The result limit, after an engine added a result and now has `engineCount`: false to
    // stop reading. Per engine, the engine stops (`engineStopped`); in total, the whole search.
    bool CountResult(int engineCount, bool &engineStopped);

    // Ends a running search: false when none runs (it ends once). The caller then tears
    // down its engines and calls Ended().
    bool Finish();
    void Ended() { ++ended_; }
    // Why the last search ended, as Finish found it: the window closing, the result limit
    // "in total", every engine idle, or else a Stop.
    SearchEnd EndReason() const { return endReason_; }
    // The window closes: the caller ends a running search, then calls QuitWait.
    void Close() { closing_ = true; }
    // The controller goes away.
    void Shutdown();

private:
    std::function<bool()> allIdle_;
    bool searching_ = false;
    bool running_ = false;
    bool closing_ = false;
    bool mute_ = false;
    long maximum_ = 0;
    int resultMode_ = 0;
    int total_ = 0;
    std::string query_;
    unsigned id_ = 0;
    int ended_ = 0;
    bool limitHit_ = false;
    SearchEnd endReason_ = SearchEnd::AllDone;
    QEventLoop *wait_ = nullptr;
};

}  // namespace qm
