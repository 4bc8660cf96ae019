#include "search/PageQueue.h"
#include "toolkit/Misc.h"

namespace qm {

namespace {

inline unsigned char Fold(unsigned char c) { return (c >= 'A' && c <= 'Z') ? c + 32 : c; }

uint64_t FoldedHash(std::string_view text) {
    uint64_t h = 1469598103934665603ull;  // FNV-1a
    for (char c : text) h = (h ^ Fold(static_cast<unsigned char>(c))) * 1099511628211ull;
    return h;
}

}  // namespace

size_t PageQueue::Find(std::string_view address, uint64_t hash) const {
    if (table_.empty()) return std::string::npos;
    const size_t mask = table_.size() - 1;
    for (size_t i = hash & mask; table_[i] != 0; i = (i + 1) & mask) {
        const size_t e = table_[i] - 1;
        if (hashes_[e] == hash && SameTextNoCase(entries_[e].address, address)) return e;
    }
    return std::string::npos;
}

void PageQueue::Index(size_t entry) {
    if (2 * (entries_.size()) > table_.size()) {  // keep the table at most half full
        table_.assign(table_.empty() ? 64 : 2 * table_.size(), 0);
        for (size_t e = 0; e < entries_.size(); ++e) {
            if (e == entry) continue;
            size_t i = hashes_[e] & (table_.size() - 1);
            while (table_[i] != 0) i = (i + 1) & (table_.size() - 1);
            table_[i] = static_cast<uint32_t>(e + 1);
        }
    }
    size_t i = hashes_[entry] & (table_.size() - 1);
    while (table_[i] != 0) i = (i + 1) & (table_.size() - 1);
    table_[i] = static_cast<uint32_t>(entry + 1);
}

bool PageQueue::Contains(std::string_view address) const {
    return Find(address, FoldedHash(address)) != std::string::npos;
}

bool PageQueue::AddPage(std::string_view address, std::string_view state) {
    const uint64_t hash = FoldedHash(address);
    if (Find(address, hash) != std::string::npos) return false;
    entries_.push_back({std::string(address), std::string(state)});
    hashes_.push_back(hash);
    Index(entries_.size() - 1);
    return true;
}

void PageQueue::Append(std::string_view address, std::string_view state) {
    entries_.push_back({std::string(address), std::string(state)});
    hashes_.push_back(FoldedHash(address));
    Index(entries_.size() - 1);
}

void PageQueue::clear() {
    entries_.clear();
    hashes_.clear();
    table_.clear();
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
