#pragma once
// The base of every request object: one engine of one search, fetching its result pages one
// after another with its own HTTP client.
//
// It owns what every kind repeats: the client, the page buffer, the page queue (at most
// kMaxPages pages fetched per engine), the engine's row in the search's EngineStatusModel,
// and the lifetime rule of the one thread. Handlers pump the event loop (the readers every
// 512 characters), so Stop, a new search or closing may come while one of them is on the
// stack: the owner never deletes a request directly but disposes of it (Dispose), and a
// disposed request is freed only once its last handler has returned.
//
// A kind supplies whether its search still reads results (SearchRuns), what reading a page
// means (ReadPage) and what going idle means for its run (WentIdle).
#include "search/EngineRegistry.h"
#include "search/EngineStatusModel.h"
#include "search/HttpClientPort.h"
#include "search/PageQueue.h"

#include <QObject>
#include <QPointer>

#include <memory>
#include <string>
#include <string_view>

namespace qm {

class PagedRequest : public QObject {
public:
    // Pages one engine fetches at most in one search, whatever its pages keep offering.
    static constexpr int kMaxPages = 100;
    // A page of status 200 longer than this that yields neither a row nor a further page
    // means the reader no longer fits the service's pages.
    static constexpr size_t kUnreadableSize = 2048;

    // `slot` is the registry slot within `kind`'s range and the row in `status` (may be null).
    PagedRequest(SearchKind kind, int slot, std::unique_ptr<HttpClientPort> client, EngineStatusModel *status);
    ~PagedRequest() override;
    PagedRequest(const PagedRequest &) = delete;
    PagedRequest &operator=(const PagedRequest &) = delete;

    // ---- Lifetime
    // Brackets a handler: a disposed request is not freed while one of its handlers runs.
    void Hold() { ++uses_; }
    void Release();
    // The owner lets go of `request`: its client is aborted, its registry slot emptied; it is
    // freed at once when none of its handlers runs, else when the last one returns.
    static void Dispose(PagedRequest *request);
    bool Disposed() const { return doomed_; }

    class Use {
    public:
        explicit Use(PagedRequest &r) : r_(r) { r_.Hold(); }
        ~Use() { r_.Release(); }
        Use(const Use &) = delete;
        Use &operator=(const Use &) = delete;

    private:
        PagedRequest &r_;
    };

    // ---- Pages
    SearchKind Kind() const { return kind_; }
    int Slot() const { return slot_; }
    HttpClientPort *Client() { return client_.get(); }
    PageQueue &Queue() { return queue_; }
    const std::string &CurrentAddress() const { return currentAddress_; }

    // Queues the first page (address, "") and sets it as the client's address.
    void QueueFirstPage(const std::string &address);
    // The engine begins its work: busy, and its status row starts.
    void MarkStarted();
    // Starts the first queued page: state "ON", the client's tag, GET.
    void StartFirstPage();

    bool Busy() const { return busy_; }
    int Pages() const { return pages_; }      // pages answered with status 200
    int Fetched() const { return fetched_; }  // requests sent for pages
    int Count() const { return count_; }      // rows added
    bool Stopped() const { return stopped_; } // reached the per-engine maximum
    bool CutShort() const { return cutShort_; }
    bool PageLimitReached() const { return pageLimit_; }
    int LastError() const { return lastError_; }
    int LastStatus() const { return lastStatus_; }

    // ---- What readers report through the kind's sink
    // A row was added: counts it; the kind then applies its result limit.
    void CountAdded();
    void CountDuplicate();
    void CountMerged();
    // The per-engine maximum was reached: pages already queued are still fetched, not read.
    void SetStopped() { stopped_ = true; }
    bool &StoppedFlag() { return stopped_; }
    // The engine failed before any page (a sponsored engine's affiliate chain).
    void Fail(const std::string &reason);
    // The busy flag, set from outside only by a sponsored engine's fetcher.
    void SetBusy(bool busy);

    EngineStatusModel *Status() const { return status_; }

protected:
    // The kind's search still reads results for this request (tested after every pump).
    virtual bool SearchRuns() const = 0;
    // Reads one page answered with status 200; `address` is where it came from. False when
    // the kind has no reader for this engine (the page is then not judged).
    virtual bool ReadPage(const std::string &page, const std::string &address) = 0;
    // The request went idle: the kind's run may end once all are.
    virtual void WentIdle() = 0;

    // Client events (connected by the constructor).
    void OnData(std::string_view bytes);
    void OnDone(int error);

    std::unique_ptr<HttpClientPort> client_;

private:
    bool IsCurrent() const;
    void FetchNext(const std::string &address);
    void ReportIdle();

    SearchKind kind_;
    int slot_;
    QPointer<EngineStatusModel> status_;
    std::string body_;
    PageQueue queue_;
    std::string currentAddress_;
    bool busy_ = false;
    bool stopped_ = false;
    bool cutShort_ = false;    // went idle because the search stopped reading
    bool pageLimit_ = false;   // pages were left in the queue at kMaxPages
    bool unreadable_ = false;  // the last page read gave nothing
    std::string failure_;      // set by Fail
    int pages_ = 0;
    int fetched_ = 0;
    int count_ = 0;
    int seen_ = 0;  // rows added, refused or merged
    int lastError_ = 0;
    int lastStatus_ = 0;
    int uses_ = 0;
    bool doomed_ = false;
};

}  // namespace qm
