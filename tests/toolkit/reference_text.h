#pragma once
// The text operations as they were before they became linear: the quadratic
// ReplaceAll (one in-place replacement per occurrence) and the cleanup that scans the
// whole text once per distinct numeric reference. Kept unchanged as the reference the
// linear versions must match byte for byte (tests/toolkit and fuzz/text_reference.cpp).
#include "toolkit/DisplayText.h"
#include "toolkit/HtmlEntities.h"
#include "toolkit/Misc.h"

#include <string>
#include <string_view>

namespace qm::reference {

inline unsigned char Up(unsigned char c) { return (c >= 'a' && c <= 'z') ? c - 32 : c; }

// Start of the first occurrence of `pattern` in `text` at or after `from`, comparing
// after ASCII upper-casing (exact when `fold` is false). The pattern is matched
// afresh at every start position, so partial matches never hide a later one.
inline size_t Find(std::string_view text, std::string_view pattern, size_t from, bool fold) {
    const size_t n = text.size(), m = pattern.size();
    if (m == 0 || m > n || from > n - m) return std::string_view::npos;
    if (!fold) return text.find(pattern, from);
    const unsigned char first = Up(static_cast<unsigned char>(pattern[0]));
    const unsigned char firstLow = (first >= 'A' && first <= 'Z') ? first + 32 : first;
    const char *t = text.data();
    for (size_t i = from; i + m <= n; ++i) {
        unsigned char c = static_cast<unsigned char>(t[i]);
        if (c != first && c != firstLow) continue;
        size_t j = 1;
        while (j < m && Up(static_cast<unsigned char>(t[i + j])) ==
                            Up(static_cast<unsigned char>(pattern[j])))
            ++j;
        if (j == m) return i;
    }
    return std::string_view::npos;
}

inline std::string ReplaceAllImpl(std::string_view text, std::string_view pattern,
                           std::string_view replacement, bool fold) {
    std::string cur(text);
    if (cur.empty() || pattern.empty()) return cur;
    const size_t m = pattern.size();
    // A replacement that holds the pattern would be found again for ever: replace
    // the occurrences of the original text in one pass instead.
    if (Find(replacement, pattern, 0, fold) != std::string_view::npos) {
        std::string out;
        size_t pos = 0;
        for (size_t hit; (hit = Find(text, pattern, pos, fold)) != std::string_view::npos; pos = hit + m) {
            out.append(text.substr(pos, hit - pos));
            out.append(replacement);
        }
        out.append(text.substr(pos));
        return out;
    }
    const size_t originalLength = cur.size();
    // Each search would start again at the beginning. Nothing before the previous
    // hit changed and no occurrence started there, so an occurrence formed by the
    // replacement starts at most m - 1 bytes before it: searching from there finds
    // the same first occurrence.
    size_t from = 0;
    // Replacements shorter than the pattern shrink the text, so the loop ends. Others
    // may form new occurrences again and again; bound their work and growth.
    const bool shrinking = replacement.size() < m;
    size_t budget = size_t{1} << 22;
    const size_t sizeLimit = originalLength * 64 + (size_t{1} << 20);
    for (;;) {
        size_t hit = Find(cur, pattern, from, fold);
        if (hit == std::string::npos) break;
        cur.replace(hit, m, replacement);
        if (hit + m - 1 >= originalLength) break;
        if (!shrinking && (--budget == 0 || cur.size() > sizeLimit)) break;
        from = hit >= m - 1 ? hit - (m - 1) : 0;
    }
    return cur;
}


inline std::string ReplaceAll(std::string_view text, std::string_view pattern,
                              std::string_view replacement) {
    return ReplaceAllImpl(text, pattern, replacement, true);
}

inline std::string ReplaceAllExact(std::string_view text, std::string_view pattern,
                                   std::string_view replacement) {
    return ReplaceAllImpl(text, pattern, replacement, false);
}

inline std::string Utf8Of(char32_t c) {
    std::string s;
    AppendUtf8(s, c);
    return s;
}

inline std::string CleanHtmlText(std::string_view input) {
    std::string text(input);

    // 1. Formatting tags.
    if (text.find('<') != std::string::npos)
        for (const char *tag : HtmlFormattingTags())
            if (TMisc::FindNoCasePos(text, tag) != std::string::npos) text = ReplaceAll(text, tag, "");

    // 2. Named references. No replacement produces an "&" except "&amp;" (the first),
    // so a text without "&" has nothing to decode.
    if (text.find('&') != std::string::npos) {
        for (const HtmlEntity &e : HtmlEntities()) {
            if (text.find(e.name) == std::string::npos) continue;
            std::string replacement = e.text ? std::string(e.text) : Utf8Of(e.character);
            text = ReplaceAllExact(text, e.name, replacement);
        }
    }

    // 3. The first font tag.
    text = TMisc::RemoveBetween(text, "<FONT", ">");

    // 4. Numeric references, one number at a time, until the first one that is not a
    // number of 1 to 4 characters.
    std::string digits;
    while (TMisc::TextBetween(text, "&#", ";", digits)) {
        if (digits.empty() || digits.size() > 4) break;
        long long n = Atol(digits);
        std::string replacement;
        if (n > 0 && n <= 255) replacement = Utf8Of(Windows1252ToUnicode(static_cast<unsigned char>(n)));
        std::string reference = "&#" + digits + ";";
        std::string next = ReplaceAll(text, reference, replacement);
        if (next == text) break;  // cannot happen; guards the loop
        text = std::move(next);
    }
    return text;
}

}  // namespace qm::reference
