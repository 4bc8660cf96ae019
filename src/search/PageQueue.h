#pragma once
// The queue of result pages of one engine: pairs of address and state. State "" means
// not fetched yet, "ON" the engine's first page, "HANDLED" taken for fetching.
// The queue only grows during a search.
#include <string>
#include <string_view>
#include <vector>

namespace qm {

class PageQueue {
public:
    struct Entry {
        std::string address;
        std::string state;
    };

    // Appends (address, state) unless an entry with the same address, ignoring ASCII
    // case, is already queued. Returns true when it was appended.
    bool AddPage(std::string_view address, std::string_view state = "");

    // Appends without the duplicate test.
    void Append(std::string_view address, std::string_view state);

    bool Contains(std::string_view address) const;

    size_t size() const { return entries_.size(); }
    bool empty() const { return entries_.empty(); }
    Entry &operator[](size_t i) { return entries_[i]; }
    const Entry &operator[](size_t i) const { return entries_[i]; }
    const std::vector<Entry> &entries() const { return entries_; }
    void clear() { entries_.clear(); }

private:
    std::vector<Entry> entries_;
};

// Marks the first entry whose state is empty as "HANDLED" and returns its address;
// returns an empty text when no entry is left.
std::string NextPageUrl(PageQueue &queue);

}  // namespace qm
