#include "search/InListFilter.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstring>

#include "toolkit/DisplayText.h"

namespace qm {

const char *const kFilterModeCaptions[3] = {
    "Search ALL matches in the list",
    "Search ANY matches in the list",
    "Search EXACT match in the list",
};

namespace {

// Words are runs of bytes above 32. Unlike the toolkit's word functions, bytes above 127
// stay inside words: deliberately, since both sides are UTF-8 here and an accented letter
// must not cut a typed word in two.
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

// Both sides are compared in one form: the text as it is displayed (DisplayText: valid
// UTF-8 as UTF-8, every other byte as Windows-1252), written as UTF-8, with ASCII letters
// lowered. Typed text is UTF-8 already, so it keeps its bytes; a row read from a
// Windows-1252 page shows byte E9 as "é" and is found by typing "é".
//
// A folded pattern. Each sub-item is folded once into a scratch buffer (a loop the
// compiler vectorises; only a sub-item holding bytes above 127 goes through the display
// conversion) and every pattern is then found with the library's substring search, which
// skips ahead with memchr: this keeps a 50,000-row list instant.
struct InListFilter::Needle {
    std::string folded;
    explicit Needle(std::string_view pattern);
    bool FoundIn(std::string_view foldedText) const {
        return !folded.empty() && foldedText.find(folded) != std::string_view::npos;
    }
};

namespace {

// A byte grows to at most three in the compared form (Windows-1252 0x80 is U+20AC), so a
// sub-item shorter than a third of a pattern cannot hold it.
constexpr size_t kMaxGrowth = 3;

void FoldAscii(unsigned char *p, size_t n) {
    for (size_t i = 0; i < n; ++i) p[i] = p[i] + (static_cast<unsigned char>(p[i] - 'A') < 26u ? 32 : 0);
}

// `text` in the compared form, in `buffer`.
std::string_view FoldInto(std::string &buffer, std::string_view text) {
    buffer.resize(text.size());
    const auto *in = reinterpret_cast<const unsigned char *>(text.data());
    auto *out = reinterpret_cast<unsigned char *>(buffer.data());
    unsigned char high = 0;
    for (size_t i = 0; i < text.size(); ++i) {
        unsigned char c = in[i];
        high |= c;
        out[i] = c + (static_cast<unsigned char>(c - 'A') < 26u ? 32 : 0);
    }
    if (high & 0x80) {
        // Plain ASCII reads the same either way; anything else goes through the one
        // display rule.
        const QByteArray shown = DisplayText(text).toUtf8();
        buffer.assign(shown.constData(), size_t(shown.size()));
        FoldAscii(reinterpret_cast<unsigned char *>(buffer.data()), buffer.size());
    }
    return buffer;
}

}  // namespace

InListFilter::Needle::Needle(std::string_view pattern) {
    std::string scratch;
    folded = std::string(FoldInto(scratch, pattern));
}

InListFilter::InListFilter(std::string_view text, FilterMode mode) : empty_(text.empty()), mode_(mode) {
    if (empty_) return;
    if (mode == FilterMode::Exact) {
        needles_.push_back(std::make_unique<Needle>(text));
        shortest_ = longest_ = needles_.front()->folded.size();
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

// The shortest sub-item (in the compared form) that can match: Exact and Any need one
// pattern, All needs every one.
size_t InListFilter::MinLength() const { return mode_ == FilterMode::All ? longest_ : shortest_; }

bool InListFilter::MatchesText(std::string_view folded) const {
    if (mode_ == FilterMode::All) {
        for (const auto &n : needles_)
            if (!n->FoundIn(folded)) return false;
        return true;
    }
    for (const auto &n : needles_)
        if (n->FoundIn(folded)) return true;
    return false;
}

bool InListFilter::Matches(const std::vector<std::string> &subItems) const {
    if (empty_ || (needles_.empty() && mode_ != FilterMode::All)) return false;
    thread_local std::string scratch;
    for (const auto &text : subItems)
        if (text.size() * kMaxGrowth >= MinLength() && MatchesText(FoldInto(scratch, text))) return true;
    return false;
}

bool InListFilter::MatchesFolded(const std::vector<std::string> &folded) const {
    if (empty_ || (needles_.empty() && mode_ != FilterMode::All)) return false;
    for (const auto &text : folded)
        if (text.size() >= MinLength() && MatchesText(text)) return true;
    return false;
}

std::string FoldForFilter(std::string_view text) {
    std::string out;
    FoldInto(out, text);
    return out;
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
