#include "search/PagedRequest.h"

#include "search/EngineStatusModel.h"

namespace qm {

PagedRequest::PagedRequest(SearchKind kind, int slot, std::unique_ptr<HttpClientPort> client,
                           EngineStatusModel *status)
    : client_(std::move(client)), kind_(kind), slot_(slot), status_(status) {
    if (!client_) return;
    client_->onData = [this](std::string_view bytes) { OnData(bytes); };
    client_->onDone = [this](int error) { OnDone(error); };
}

PagedRequest::~PagedRequest() {
    EngineRegistry::Instance().Release(kind_, slot_, this);
    if (client_) {
        client_->onData = nullptr;
        client_->onDone = nullptr;
        if (client_->Busy()) client_->Abort();
    }
}

void PagedRequest::Release() {
    if (--uses_ == 0 && doomed_) deleteLater();  // our client may still be on the stack
}

void PagedRequest::Dispose(PagedRequest *r) {
    if (!r) return;
    EngineRegistry::Instance().Release(r->kind_, r->slot_, r);
    if (r->busy_ && r->status_) {
        r->cutShort_ = true;
        r->status_->Stopped(r->slot_);
    }
    r->status_ = nullptr;  // the row belongs to the search that let go of it
    if (r->client_ && r->client_->Busy()) r->client_->Abort();
    r->doomed_ = true;
    if (r->uses_ == 0) delete r;  // nothing of it is on the stack
}

bool PagedRequest::IsCurrent() const {
    return !doomed_ && client_ && EngineRegistry::Instance().Get(kind_, client_->Tag()) == this;
}

void PagedRequest::QueueFirstPage(const std::string &address) {
    queue_.Append(address, "");
    currentAddress_ = address;
    if (client_) client_->SetUrl(address);
}

void PagedRequest::MarkStarted() {
    busy_ = true;
    if (status_) status_->Started(slot_);
}

void PagedRequest::StartFirstPage() {
    if (!client_ || queue_.empty()) return;
    body_.clear();
    if (client_->Busy()) client_->Abort();
    queue_[0].state = "ON";
    currentAddress_ = queue_[0].address;
    client_->SetUrl(currentAddress_);
    client_->SetTag(slot_);
    ++fetched_;
    client_->GetAsync();
}

void PagedRequest::FetchNext(const std::string &address) {
    currentAddress_ = address;
    body_.clear();
    if (client_->Busy()) client_->Abort();
    client_->SetUrl(address);
    ++fetched_;
    if (status_) status_->Fetching(slot_, fetched_);
    client_->GetAsync();
}

void PagedRequest::CountAdded() {
    ++count_;
    ++seen_;
    if (status_) status_->RowAdded(slot_);
}

void PagedRequest::CountDuplicate() {
    ++seen_;
    if (status_) status_->DuplicateRefused(slot_);
}

void PagedRequest::CountMerged() {
    ++seen_;
    if (status_) status_->MergedIntoListed(slot_);
}

void PagedRequest::Fail(const std::string &reason) { failure_ = reason; }

void PagedRequest::SetBusy(bool busy) {
    const bool wasBusy = busy_;
    busy_ = busy;
    if (busy) {
        if (!wasBusy && status_) status_->Started(slot_);
        return;
    }
    if (!SearchRuns()) cutShort_ = true;  // Stop or the limit ended its work
    if (wasBusy) ReportIdle();
    if (!doomed_) WentIdle();
}

void PagedRequest::ReportIdle() {
    if (!status_) return;
    if (!failure_.empty()) {
        status_->Failed(slot_, failure_);
    } else if (cutShort_) {
        status_->Stopped(slot_);
    } else if (lastError_ != 0 || (lastStatus_ != 0 && lastStatus_ != 200)) {
        const std::string reason = FailureReason(lastError_, lastStatus_);
        if (pages_ == 0)
            status_->Failed(slot_, reason);
        else  // it gave its pages; only a further one failed
            status_->Done(slot_, "page " + std::to_string(fetched_) + ": " + reason);
    } else if (unreadable_ && seen_ == 0) {
        status_->Failed(slot_, kUnreadableReason);
    } else {
        status_->Done(slot_, pageLimit_ ? "page limit" : stopped_ ? "result limit" : "");
    }
}

void PagedRequest::OnData(std::string_view bytes) {
    Use use(*this);
    if (!IsCurrent()) return;
    body_.append(bytes);
    if (status_) status_->Received(slot_, int64_t(bytes.size()));
    if (!SearchRuns()) client_->Abort();
}

void PagedRequest::OnDone(int error) {
    Use use(*this);
    if (!IsCurrent()) return;
    lastError_ = error;
    lastStatus_ = error == 0 ? client_->ResponseStatus() : 0;
    if (SearchRuns() && error == 0 && lastStatus_ == 200) {
        ++pages_;
        if (status_) status_->PageRead(slot_);
        unreadable_ = false;
        if (!stopped_) {
            // The reader works on a copy owned by this frame: the body may be refilled or
            // the request disposed of while it pumps events.
            std::string page = std::move(body_);
            body_.clear();
            std::string address = client_->ResponseLocation();
            if (address.empty()) address = currentAddress_;
            const int seenBefore = seen_;
            const size_t queuedBefore = queue_.size();
            const bool read = !page.empty() && ReadPage(page, address);
            unreadable_ = read && page.size() > kUnreadableSize && seen_ == seenBefore && queue_.size() == queuedBefore;
        }
        if (SearchRuns()) {
            if (fetched_ < kMaxPages) {
                std::string next = NextPageUrl(queue_);
                if (!next.empty()) {
                    FetchNext(next);
                    return;  // still busy
                }
            } else {
                for (const auto &entry : queue_.entries())
                    if (entry.state.empty()) {
                        pageLimit_ = true;  // pages were left
                        break;
                    }
            }
        }
    }
    SetBusy(false);
}

}  // namespace qm
