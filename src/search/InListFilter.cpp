#include "search/InListFilter.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstring>

namespace qm {

const char *const kFilterModeCaptions[3] = {
    "Search ALL matches in the list",
    "Search ANY matches in the list",
    "Search EXACT match in the list",
};

namespace {

const std::array<unsigned char, 256> &FoldTable() {
    static const std::array<unsigned char, 256> table = [] {
        std::array<unsigned char, 256> t{};
        for (int i = 0; i < 256; ++i) t[i] = (i >= 'A' && i <= 'Z') ? i - 'A' + 'a' : i;
        return t;
    }();
    return table;
}

// Words are runs of bytes above 32.
std::vector<std::string_view> SplitWords(std::string_view text) {
    std::vector<std::string_view> words;
    size_t i = 0;
    while (i < text.size()) {
        while (i < text.size() && static_cast<unsigned char>(text[i]) <= 32) ++i;
        size_t start = i;
        while (i < text.size() && static_cast<unsigned char>(text[i]) > 32) ++i;
        if (i > start) words.push_back(text.substr(start, i - start));
    }
    return words;
}

}  // namespace

// A folded pattern. Each sub-item is folded once into a scratch buffer (a loop the
// compiler vectorises) and every pattern is then found with the library's substring
// search, which skips ahead with memchr: this keeps a 50,000-row list instant.
struct InListFilter::Needle {
    std::string folded;
    explicit Needle(std::string_view pattern) {
        const auto &fold = FoldTable();
        folded.resize(pattern.size());
        for (size_t i = 0; i < pattern.size(); ++i) folded[i] = char(fold[static_cast<unsigned char>(pattern[i])]);
    }
    bool FoundIn(std::string_view foldedText) const {
        return !folded.empty() && foldedText.find(folded) != std::string_view::npos;
    }
};

namespace {

std::string_view FoldInto(std::string &buffer, std::string_view text) {
    buffer.resize(text.size());
    const auto *in = reinterpret_cast<const unsigned char *>(text.data());
    auto *out = reinterpret_cast<unsigned char *>(buffer.data());
    for (size_t i = 0; i < text.size(); ++i) {
        unsigned char c = in[i];
        out[i] = c + (static_cast<unsigned char>(c - 'A') < 26u ? 32 : 0);
    }
    return buffer;
}

}  // namespace

InListFilter::InListFilter(std::string_view text, FilterMode mode) : empty_(text.empty()), mode_(mode) {
    if (empty_) return;
    if (mode == FilterMode::Exact) {
        needles_.push_back(std::make_unique<Needle>(text));
        shortest_ = longest_ = text.size();
        return;
    }
    for (auto w : SplitWords(text)) needles_.push_back(std::make_unique<Needle>(w));
    shortest_ = SIZE_MAX;
    for (const auto &n : needles_) {
        shortest_ = std::min(shortest_, n->folded.size());
        longest_ = std::max(longest_, n->folded.size());
    }
}

InListFilter::~InListFilter() = default;
InListFilter::InListFilter(InListFilter &&) noexcept = default;
InListFilter &InListFilter::operator=(InListFilter &&) noexcept = default;

bool InListFilter::Matches(const std::vector<std::string> &subItems) const {
    if (empty_) return false;
    thread_local std::string scratch;
    switch (mode_) {
    case FilterMode::Exact:
    case FilterMode::Any:
        if (needles_.empty()) return false;
        for (const auto &text : subItems) {
            if (text.size() < shortest_) continue;
            std::string_view s = FoldInto(scratch, text);
            for (const auto &n : needles_)
                if (n->FoundIn(s)) return true;
        }
        return false;
    case FilterMode::All:
        for (const auto &text : subItems) {
            if (text.size() < longest_) continue;
            std::string_view s = FoldInto(scratch, text);
            bool all = true;
            for (const auto &n : needles_)
                if (!n->FoundIn(s)) {
                    all = false;
                    break;
                }
            if (all) return true;
        }
        return false;
    }
    return false;
}

std::vector<size_t> FilterMatches(size_t rowCount,
                                  const std::function<const std::vector<std::string> &(size_t)> &subItemsOf,
                                  std::string_view text, FilterMode mode) {
    std::vector<size_t> out;
    if (text.empty() || rowCount == 0) return out;
    InListFilter filter(text, mode);
    for (size_t i = 0; i < rowCount; ++i)
        if (filter.Matches(subItemsOf(i))) out.push_back(i);
    return out;
}

std::vector<size_t> FilterMatches(const std::vector<ResultRow> &rows, std::string_view text,
                                  FilterMode mode) {
    std::vector<size_t> out;
    if (text.empty() || rows.empty()) return out;
    InListFilter filter(text, mode);
    for (size_t i = 0; i < rows.size(); ++i)
        if (filter.Matches(rows[i])) out.push_back(i);
    return out;
}

std::string FilterCountText(size_t count, std::string_view found) {
    if (count == 0) return {};
    return std::to_string(count) + " " + std::string(found);
}

std::vector<size_t> MoveToTopOrder(size_t rowCount, const std::vector<size_t> &selected) {
    std::vector<char> marked(rowCount, 0);
    for (size_t s : selected)
        if (s < rowCount) marked[s] = 1;
    std::vector<size_t> order;
    order.reserve(rowCount);
    for (size_t i = rowCount; i-- > 0;)
        if (marked[i]) order.push_back(i);
    for (size_t i = 0; i < rowCount; ++i)
        if (!marked[i]) order.push_back(i);
    return order;
}

bool ContainsNoCase(std::string_view text, std::string_view pattern) {
    if (pattern.empty()) return false;
    return InListFilter(pattern, FilterMode::Exact).Matches(std::vector<std::string>{std::string(text)});
}

}  // namespace qm
