// Cleanup of captured HTML snippets: a fixed sequence of replacements, not a parser.
// Tags not listed stay; blanks are neither collapsed nor trimmed.
#include "toolkit/DisplayText.h"
#include "toolkit/HtmlEntities.h"
#include "toolkit/Misc.h"

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <functional>
#include <queue>
#include <unordered_map>
#include <vector>

namespace qm {

namespace {

// Removed wherever they occur, ignoring letter case, in this order.
const char *const kTags[] = {
    "<I>",  "</I>", "<B>",  "</B>",     "</A>",    "<BR>",     "</BR>",   "</font>", "<p>",    "</p>",
    "<ul>", "<li>", "<u>",  "</u>",     "</div>",  "</span>",  "<small>", "</small>", "<noBR>", "</noBR>",
};

// Matched with exactly this case, in this order. Characters are Unicode; the
// Windows-1252 bytes 128 to 159 appear as the characters they stand for.
const HtmlEntity kEntities[] = {
    {"&amp;", '&', nullptr},      {"&lt;", '<', nullptr},       {"&gt;", '>', nullptr},
    {"&quot;", '"', nullptr},     {"&nbsp;", ' ', nullptr},     {"&#8217;", '\'', nullptr},
    // Special and symbol entities that have a place in Windows-1252.
    {"&euro;", 0x20AC, nullptr},  {"&sbquo;", 0x201A, nullptr}, {"&fnof;", 0x0192, nullptr},
    {"&bdquo;", 0x201E, nullptr}, {"&dagger;", 0x2020, nullptr}, {"&Dagger;", 0x2021, nullptr},
    {"&circ;", 0x02C6, nullptr},  {"&permil;", 0x2030, nullptr}, {"&Scaron;", 0x0160, nullptr},
    {"&lsaquo;", 0x2039, nullptr}, {"&OElig;", 0x0152, nullptr}, {"&lsquo;", 0x2018, nullptr},
    {"&rsquo;", 0x2019, nullptr}, {"&ldquo;", 0x201C, nullptr}, {"&rdquo;", 0x201D, nullptr},
    {"&bull;", 0x2022, nullptr},  {"&ndash;", 0x2013, nullptr}, {"&mdash;", 0x2014, nullptr},
    {"&tilde;", 0x02DC, nullptr}, {"&trade;", 0x2122, nullptr}, {"&scaron;", 0x0161, nullptr},
    {"&rsaquo;", 0x203A, nullptr}, {"&oelig;", 0x0153, nullptr}, {"&Yuml;", 0x0178, nullptr},
    {"&hellip;", 0, "..."},
    // Latin-1, in code-point order (soft hyphen as a blank).
    {"&iexcl;", 161, nullptr},  {"&cent;", 162, nullptr},   {"&pound;", 163, nullptr},
    {"&curren;", 164, nullptr}, {"&yen;", 165, nullptr},    {"&brvbar;", 166, nullptr},
    {"&sect;", 167, nullptr},   {"&uml;", 168, nullptr},    {"&copy;", 169, nullptr},
    {"&ordf;", 170, nullptr},   {"&laquo;", 171, nullptr},  {"&not;", 172, nullptr},
    {"&shy;", ' ', nullptr},    {"&reg;", 174, nullptr},    {"&macr;", 175, nullptr},
    {"&deg;", 176, nullptr},    {"&plusmn;", 177, nullptr}, {"&sup2;", 178, nullptr},
    {"&sup3;", 179, nullptr},   {"&acute;", 180, nullptr},  {"&micro;", 181, nullptr},
    {"&para;", 182, nullptr},   {"&middot;", 183, nullptr}, {"&cedil;", 184, nullptr},
    {"&sup1;", 185, nullptr},   {"&ordm;", 186, nullptr},   {"&raquo;", 187, nullptr},
    {"&frac14;", 188, nullptr}, {"&frac12;", 189, nullptr}, {"&frac34;", 190, nullptr},
    {"&iquest;", 191, nullptr}, {"&Agrave;", 192, nullptr}, {"&Aacute;", 193, nullptr},
    {"&Acirc;", 194, nullptr},  {"&Atilde;", 195, nullptr}, {"&Auml;", 196, nullptr},
    {"&Aring;", 197, nullptr},  {"&AElig;", 198, nullptr},  {"&Ccedil;", 199, nullptr},
    {"&Egrave;", 200, nullptr}, {"&Eacute;", 201, nullptr}, {"&Ecirc;", 202, nullptr},
    {"&Euml;", 203, nullptr},   {"&Igrave;", 204, nullptr}, {"&Iacute;", 205, nullptr},
    {"&Icirc;", 206, nullptr},  {"&Iuml;", 207, nullptr},   {"&ETH;", 208, nullptr},
    {"&Ntilde;", 209, nullptr}, {"&Ograve;", 210, nullptr}, {"&Oacute;", 211, nullptr},
    {"&Ocirc;", 212, nullptr},  {"&Otilde;", 213, nullptr}, {"&Ouml;", 214, nullptr},
    {"&times;", 215, nullptr},  {"&Oslash;", 216, nullptr}, {"&Ugrave;", 217, nullptr},
    {"&Uacute;", 218, nullptr}, {"&Ucirc;", 219, nullptr},  {"&Uuml;", 220, nullptr},
    {"&Yacute;", 221, nullptr}, {"&THORN;", 222, nullptr},  {"&szlig;", 223, nullptr},
    {"&agrave;", 224, nullptr}, {"&aacute;", 225, nullptr}, {"&acirc;", 226, nullptr},
    {"&atilde;", 227, nullptr}, {"&auml;", 228, nullptr},   {"&aring;", 229, nullptr},
    {"&aelig;", 230, nullptr},  {"&ccedil;", 231, nullptr}, {"&egrave;", 232, nullptr},
    {"&eacute;", 233, nullptr}, {"&ecirc;", 234, nullptr},  {"&euml;", 235, nullptr},
    {"&igrave;", 236, nullptr}, {"&iacute;", 237, nullptr}, {"&icirc;", 238, nullptr},
    {"&iuml;", 239, nullptr},   {"&eth;", 240, nullptr},    {"&ntilde;", 241, nullptr},
    {"&ograve;", 242, nullptr}, {"&oacute;", 243, nullptr}, {"&ocirc;", 244, nullptr},
    {"&otilde;", 245, nullptr}, {"&ouml;", 246, nullptr},   {"&divide;", 247, nullptr},
    {"&oslash;", 248, nullptr}, {"&ugrave;", 249, nullptr}, {"&uacute;", 250, nullptr},
    {"&ucirc;", 251, nullptr},  {"&uuml;", 252, nullptr},   {"&yacute;", 253, nullptr},
    {"&thorn;", 254, nullptr},  {"&yuml;", 255, nullptr},
};

std::string Utf8Of(char32_t c) {
    std::string s;
    AppendUtf8(s, c);
    return s;
}

// Step 4 of the cleanup, numeric references. Its rule: take the first "&#" of the
// text and the first ";" after it; stop unless 1 to 4 bytes lie between them; replace
// every occurrence of that reference (ignoring ASCII case, and again where a
// replacement forms a new one, as ReplaceAll does) by its character; start over.
//
// Done in time proportional to the text: the bytes form a linked list (a replacement is
// never longer than its reference, so it reuses the reference's first bytes and the
// order of the list is the order of the indexes), and every "&#" with a number of 1 to
// 4 bytes is listed under its number. A replacement changes the number of at most the
// "&#" within six bytes before it and of those it forms; only these are listed again,
// and stale entries are skipped when their number comes up.
class NumericReferences {
public:
    explicit NumericReferences(std::string_view text)
        : bytes_(text), next_(text.size()), prev_(text.size()) {
        const uint32_t n = static_cast<uint32_t>(text.size());
        for (uint32_t i = 0; i < n; ++i) {
            next_[i] = i + 1 < n ? i + 1 : kNone;
            prev_[i] = i > 0 ? i - 1 : kNone;
        }
        head_ = n > 0 ? 0 : kNone;
        for (size_t at = text.find("&#"); at != std::string_view::npos; at = text.find("&#", at + 1))
            if (uint64_t key = KeyAt(static_cast<uint32_t>(at))) byKey_[key].push_back(static_cast<uint32_t>(at));
    }

    std::string Run() {
        uint32_t scan = head_;
        for (;;) {
            uint32_t first = scan;
            while (first != kNone && !IsReference(first)) first = next_[first];
            if (first == kNone) break;
            const uint64_t key = KeyAt(first);
            if (key == 0) break;  // empty or longer than 4: the rest stays
            // Nothing before the byte ahead of the first reference replaced changed.
            uint32_t before = kNone;
            if (!ReplaceEvery(key, before)) break;  // cannot happen; guards the loop
            scan = before == kNone ? head_ : before;
        }
        std::string out;
        out.reserve(bytes_.size());
        for (uint32_t i = head_; i != kNone; i = next_[i]) out.push_back(bytes_[i]);
        return out;
    }

private:
    static constexpr uint32_t kNone = UINT32_MAX;
    static constexpr uint32_t kGone = UINT32_MAX - 1;  // next_ of a removed byte

    static char Up(char c) { return TMisc::UpCaseChar(c); }

    bool IsReference(uint32_t i) const {
        return bytes_[i] == '&' && next_[i] != kNone && bytes_[next_[i]] == '#';
    }

    // The number after the "&#" at i, upper-cased, packed with its length; 0 when i
    // holds no "&#" or no ";" follows within 1 to 4 bytes.
    uint64_t KeyAt(uint32_t i) const {
        if (!IsReference(i)) return 0;
        uint32_t j = next_[i];
        uint64_t packed = 0;
        for (uint64_t len = 0;; ++len) {
            j = next_[j];
            if (j == kNone) return 0;
            if (bytes_[j] == ';') return len == 0 ? 0 : (len << 32) | packed;
            if (len == 4) return 0;
            packed = (packed << 8) | static_cast<unsigned char>(Up(bytes_[j]));
        }
    }

    static std::string Replacement(uint64_t key) {
        std::string digits;
        for (int i = static_cast<int>(key >> 32) - 1; i >= 0; --i)
            digits.push_back(static_cast<char>((key >> (8 * i)) & 0xFF));
        long long n = Atol(digits);
        if (n > 0 && n <= 255) return Utf8Of(Windows1252ToUnicode(static_cast<unsigned char>(n)));
        return {};
    }

    // Replaces every occurrence of the reference `key`, first ones first, including
    // those the replacements form. False when none was found; else `before` is the
    // byte ahead of the first one replaced.
    bool ReplaceEvery(uint64_t key, uint32_t &before) {
        std::vector<uint32_t> listed;
        if (auto it = byKey_.find(key); it != byKey_.end()) {
            listed = std::move(it->second);
            byKey_.erase(it);
        }
        if (!std::is_sorted(listed.begin(), listed.end())) std::sort(listed.begin(), listed.end());
        std::priority_queue<uint32_t, std::vector<uint32_t>, std::greater<>> formed;
        const std::string replacement = Replacement(key);
        const size_t length = static_cast<size_t>(key >> 32) + 3;
        uint32_t firstAt = kNone;
        size_t i = 0;
        for (;;) {
            uint32_t q;
            if (!formed.empty() && (i == listed.size() || formed.top() <= listed[i])) {
                q = formed.top();
                formed.pop();
            } else if (i < listed.size()) {
                q = listed[i++];
            } else {
                break;
            }
            if (next_[q] == kGone || KeyAt(q) != key) continue;  // stale entry
            if (firstAt == kNone || q < firstAt) {
                firstAt = q;
                before = prev_[q];
            }
            uint32_t lastKept = Replace(q, length, replacement);
            // Numbers that may have changed: the replacement's bytes and the six before.
            uint32_t x = lastKept;
            for (size_t back = 0; x != kNone && back < replacement.size() + 6; ++back, x = prev_[x]) {
                uint64_t k = KeyAt(x);
                if (k == 0) continue;
                if (k == key) formed.push(x);
                else byKey_[k].push_back(x);
            }
        }
        return firstAt != kNone;
    }

    // Writes `replacement` over the first bytes of the `length` bytes from q and unlinks
    // the others. Returns the last byte kept (the byte before q when nothing is kept).
    uint32_t Replace(uint32_t q, size_t length, const std::string &replacement) {
        uint32_t slot[7];
        slot[0] = q;
        for (size_t t = 1; t < length; ++t) slot[t] = next_[slot[t - 1]];
        const uint32_t before = prev_[q], after = next_[slot[length - 1]];
        for (size_t t = 0; t < replacement.size(); ++t) bytes_[slot[t]] = replacement[t];
        const uint32_t lastKept = replacement.empty() ? before : slot[replacement.size() - 1];
        if (lastKept == kNone) head_ = after;
        else next_[lastKept] = after;
        if (after != kNone) prev_[after] = lastKept;
        for (size_t t = replacement.size(); t < length; ++t) next_[slot[t]] = kGone;
        return lastKept;
    }

    std::string bytes_;
    std::vector<uint32_t> next_, prev_;
    uint32_t head_ = kNone;
    std::unordered_map<uint64_t, std::vector<uint32_t>> byKey_;
};

}  // namespace

std::span<const char *const> HtmlFormattingTags() { return kTags; }
std::span<const HtmlEntity> HtmlEntities() { return kEntities; }

std::string CleanHtmlText(std::string_view input) {
    std::string text(input);

    // 1. Formatting tags.
    if (text.find('<') != std::string::npos)
        for (const char *tag : kTags)
            if (TMisc::FindNoCasePos(text, tag) != std::string::npos) text = TMisc::ReplaceAll(text, tag, "");

    // 2. Named references. No replacement produces an "&" except "&amp;" (the first),
    // so a text without "&" has nothing to decode.
    if (text.find('&') != std::string::npos) {
        for (const HtmlEntity &e : kEntities) {
            if (text.find(e.name) == std::string::npos) continue;
            std::string replacement = e.text ? std::string(e.text) : Utf8Of(e.character);
            text = TMisc::ReplaceAllExact(text, e.name, replacement);
        }
    }

    // 3. The first font tag.
    text = TMisc::RemoveBetween(text, "<FONT", ">");

    // 4. Numeric references, one number at a time, until the first one that is not a
    // number of 1 to 4 characters.
    if (text.find("&#") == std::string::npos) return text;
    return NumericReferences(text).Run();
}

std::string HtmlEscape(std::string_view text) {
    std::string out;
    out.reserve(text.size() + text.size() / 8);
    for (char c : text) {
        switch (c) {
        case '&': out += "&amp;"; break;
        case '<': out += "&lt;"; break;
        case '>': out += "&gt;"; break;
        case '"': out += "&quot;"; break;
        default: out += c;
        }
    }
    return out;
}

}  // namespace qm
