#include "search/InListFilter.h"

#include <algorithm>
#include <array>
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

// A folded pattern with a Horspool skip table: the scan looks at one byte per pattern
// length in the common case, which keeps a 50,000-row list instant.
struct InListFilter::Needle {
    std::string folded;
    std::array<unsigned char, 256> skip{};
    unsigned char first = 0, firstUpper = 0;

    explicit Needle(std::string_view pattern) {
        const auto &fold = FoldTable();
        folded.resize(pattern.size());
        for (size_t i = 0; i < pattern.size(); ++i) folded[i] = char(fold[static_cast<unsigned char>(pattern[i])]);
        size_t m = folded.size();
        size_t shift = std::min<size_t>(m, 255);
        skip.fill(static_cast<unsigned char>(shift));
        for (size_t i = m > 255 ? m - 255 : 0; i + 1 < m; ++i) {
            unsigned char c = folded[i];
            unsigned char s = static_cast<unsigned char>(m - 1 - i);
            skip[c] = s;
            if (c >= 'a' && c <= 'z') skip[c - 'a' + 'A'] = s;
        }
        first = folded.empty() ? 0 : folded[0];
        firstUpper = (first >= 'a' && first <= 'z') ? first - 'a' + 'A' : first;
    }

    bool FoundIn(std::string_view text) const {
        const size_t m = folded.size();
        const size_t n = text.size();
        if (m == 0 || m > n) return false;
        const auto &fold = FoldTable();
        const auto *t = reinterpret_cast<const unsigned char *>(text.data());
        const auto *p = reinterpret_cast<const unsigned char *>(folded.data());
        if (m == 1) {
            if (std::memchr(t, first, n)) return true;
            return firstUpper != first && std::memchr(t, firstUpper, n);
        }
        const unsigned char last = p[m - 1];
        size_t i = 0;
        while (i + m <= n) {
            unsigned char c = t[i + m - 1];
            if (fold[c] == last) {
                size_t k = 0;
                while (k + 1 < m && fold[t[i + k]] == p[k]) ++k;
                if (k + 1 == m) return true;
            }
            i += skip[c];
        }
        return false;
    }
};

InListFilter::InListFilter(std::string_view text, FilterMode mode) : empty_(text.empty()), mode_(mode) {
    if (empty_) return;
    if (mode == FilterMode::Exact) {
        needles_.push_back(std::make_unique<Needle>(text));
        return;
    }
    for (auto w : SplitWords(text)) needles_.push_back(std::make_unique<Needle>(w));
}

InListFilter::~InListFilter() = default;
InListFilter::InListFilter(InListFilter &&) noexcept = default;
InListFilter &InListFilter::operator=(InListFilter &&) noexcept = default;

bool InListFilter::Matches(const std::vector<std::string> &subItems) const {
    if (empty_) return false;
    switch (mode_) {
    case FilterMode::Exact:
    case FilterMode::Any:
        for (const auto &s : subItems)
            for (const auto &n : needles_)
                if (n->FoundIn(s)) return true;
        return false;
    case FilterMode::All:
        for (const auto &s : subItems) {
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
