#pragma once
// The queue of result pages of one engine: pairs of address and state. State "" means
// not fetched yet, "ON" the engine's first page, "HANDLED" taken for fetching.
// The queue only grows during a search.
//
// Adding, the duplicate test and taking the next page take constant time: the entries
// are indexed by a hash of their address with ASCII letters folded (open addressing,
// entry numbers only), and the queue remembers where the first entry not yet taken may be.
#include <string>
#include <string_view>
#include <cstdint>
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
    // Entries may have their state changed; their address stays as queued.
    Entry &operator[](size_t i) {
        if (i < unhandledFrom_) unhandledFrom_ = i;  // its state may become "" again
        return entries_[i];
    }
    const Entry &operator[](size_t i) const { return entries_[i]; }
    const std::vector<Entry> &entries() const { return entries_; }
    void clear();

    // Marks the first entry whose state is empty as "HANDLED" and returns its address;
    // returns an empty text when no entry is left.
    std::string TakeNext();

private:
    size_t Find(std::string_view address, uint64_t hash) const;  // entry number or npos
    void Index(size_t entry);

    std::vector<Entry> entries_;
    std::vector<uint64_t> hashes_;  // per entry, of its folded address
    std::vector<uint32_t> table_;   // entry number + 1, 0 when free; size a power of two
    size_t unhandledFrom_ = 0;      // no entry before it has an empty state
};

// The same as queue.TakeNext().
std::string NextPageUrl(PageQueue &queue);

}  // namespace qm
