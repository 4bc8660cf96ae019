#pragma once
// The filter bar under a result list: every row that matches the typed text is selected
// and counted; the selected rows can then be moved to the top of the list.
//
// A row matches against its sub-items, each compared as a substring test that ignores the
// case of ASCII letters only. Both sides are compared as they are displayed: the typed
// text is UTF-8, and each row text is read by the display rule (qm::DisplayText: valid
// UTF-8 as UTF-8, every other byte as Windows-1252), so "café" typed finds a row shown as
// "café" whichever encoding its page used. Words are runs of bytes above 32: bytes above
// 127 stay inside words (deliberately, unlike the toolkit's word rule, which would cut a
// typed "café" into "caf").
#include "search/ResultRow.h"

#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace qm {

enum class FilterMode {
    All,    // "Search ALL matches in the list": one sub-item holds every word
    Any,    // "Search ANY matches in the list": one sub-item holds one of the words
    Exact,  // "Search EXACT match in the list": one sub-item holds the text as typed
};

// Menu captions of the three modes, in menu order (All, Any, Exact).
extern const char *const kFilterModeCaptions[3];

// A filter text compiled once and then tested against many rows.
class InListFilter {
public:
    InListFilter(std::string_view text, FilterMode mode);
    ~InListFilter();
    InListFilter(InListFilter &&) noexcept;
    InListFilter &operator=(InListFilter &&) noexcept;

    // An empty text selects nothing (the label is cleared).
    bool Empty() const { return empty_; }
    bool Matches(const std::vector<std::string> &subItems) const;
    bool Matches(const ResultRow &row) const { return Matches(row.subItems); }
    // The same test on sub-items already in the compared form (FoldForFilter).
    bool MatchesFolded(const std::vector<std::string> &folded) const;

private:
    struct Needle;
    size_t MinLength() const;
    bool MatchesText(std::string_view folded) const;
    bool empty_ = true;
    FilterMode mode_;
    std::vector<std::unique_ptr<Needle>> needles_;
    size_t shortest_ = 0, longest_ = 0;  // pattern lengths: shorter texts cannot match
};

// The rows (indexes, ascending) that match `text` in `mode`. Empty for an empty text or
// an empty list. `subItemsOf(i)` gives row i's sub-items.
std::vector<size_t> FilterMatches(size_t rowCount,
                                  const std::function<const std::vector<std::string> &(size_t)> &subItemsOf,
                                  std::string_view text, FilterMode mode);
std::vector<size_t> FilterMatches(const std::vector<ResultRow> &rows, std::string_view text,
                                  FilterMode mode);

// The count label: "<count> Found" for at least one match, else empty. `found` is the
// message table's "Found".
std::string FilterCountText(size_t count, std::string_view found = "Found");

// The new order of a list of `rowCount` rows after moving the `selected` rows (any order,
// duplicates ignored) to the top: the moved rows first in reverse of their former order,
// then the others in their old order. Entry k is the old index of the row now at k.
std::vector<size_t> MoveToTopOrder(size_t rowCount, const std::vector<size_t> &selected);

// A text in the form the filter compares: as displayed, written as UTF-8, with ASCII
// letters lowered.
std::string FoldForFilter(std::string_view text);

// Case-insensitive (ASCII letters only) substring test; an empty pattern is never found.
bool ContainsNoCase(std::string_view text, std::string_view pattern);

}  // namespace qm
