#include "search/PageQueue.h"

namespace qm {

namespace {
std::string Folded(std::string_view text) {
    std::string out(text);
    for (char &c : out)
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c + 32);
    return out;
}
}  // namespace

bool PageQueue::Contains(std::string_view address) const {
    return folded_.count(Folded(address)) != 0;
}

bool PageQueue::AddPage(std::string_view address, std::string_view state) {
    if (!folded_.insert(Folded(address)).second) return false;
    entries_.push_back({std::string(address), std::string(state)});
    return true;
}

void PageQueue::Append(std::string_view address, std::string_view state) {
    folded_.insert(Folded(address));
    entries_.push_back({std::string(address), std::string(state)});
}

void PageQueue::clear() {
    entries_.clear();
    folded_.clear();
    unhandledFrom_ = 0;
}

std::string PageQueue::TakeNext() {
    for (; unhandledFrom_ < entries_.size(); ++unhandledFrom_) {
        Entry &e = entries_[unhandledFrom_];
        if (e.state.empty()) {
            e.state = "HANDLED";
            return e.address;
        }
    }
    return {};
}

std::string NextPageUrl(PageQueue &queue) { return queue.TakeNext(); }

}  // namespace qm
