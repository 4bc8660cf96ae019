#include "search/ExpandQuery.h"
#include "toolkit/Misc.h"

#include <array>

namespace qm {

const char *SearchModeCaption(SearchMode mode) {
    switch (mode) {
    case SearchMode::All: return "All Keywords";
    case SearchMode::Any: return "Any word";
    case SearchMode::Exact: return "Exact phrase";
    case SearchMode::Bool: return "Boolean search";
    }
    return "";
}

namespace {

// A word is a run of bytes with values 33 to 127; everything else separates words.
bool IsWordByte(char c) { return static_cast<signed char>(c) > 32; }

template <size_t N>
std::string JoinWords(std::string_view text, const std::array<std::string_view, N> &dropped,
                      std::string_view joiner) {
    // Collect the words first: the joiner follows every kept word that is not the last
    // word of the query, kept or not.
    std::string result;
    size_t i = 0;
    const size_t n = text.size();
    std::string_view pending;  // the previous kept word waiting to learn whether it is last
    bool havePending = false;
    while (i < n) {
        while (i < n && !IsWordByte(text[i])) ++i;
        if (i >= n) break;
        size_t start = i;
        while (i < n && IsWordByte(text[i])) ++i;
        std::string_view word = text.substr(start, i - start);
        if (havePending) {
            // A word follows the pending one, so the pending one was not the last.
            result.append(pending);
            result.append(joiner);
            havePending = false;
        }
        bool drop = false;
        for (auto d : dropped)
            if (SameTextNoCase(word, d)) { drop = true; break; }
        if (!drop) {
            pending = word;
            havePending = true;
        }
    }
    if (havePending) result.append(pending);
    return result;
}

}  // namespace

std::string PrepareQuery(std::string_view typed) {
    size_t b = 0, e = typed.size();
    while (b < e && static_cast<unsigned char>(typed[b]) <= 32) ++b;
    while (e > b && static_cast<unsigned char>(typed[e - 1]) <= 32) --e;
    std::string q(typed.substr(b, e - b));
    for (char &c : q)
        if (c == ' ') c = '+';
    return q;
}

std::string ExpandQueryText(SearchMode mode, std::string_view query) {
    static constexpr std::array<std::string_view, 4> kAnyDropped = {"AND", "&", "NOT", "!"};
    static constexpr std::array<std::string_view, 4> kExactDropped = {"OR", "&", "NOT", "!"};
    switch (mode) {
    case SearchMode::Any: {
        std::string q(query);
        for (char &c : q)
            if (c == '+') c = ' ';
        return JoinWords(q, kAnyDropped, "+OR+");
    }
    case SearchMode::Exact: {
        std::string q;
        q.reserve(query.size());
        for (char c : query) {
            if (c == '"') continue;
            q.push_back(c == '+' ? ' ' : c);
        }
        return JoinWords(q, kExactDropped, "+AND+");
    }
    case SearchMode::Bool:
    case SearchMode::All:
    default:
        return std::string(query);
    }
}

std::string ReplaceQueryPlaceholder(std::string_view text, std::string_view value) {
    size_t at = TMisc::FindNoCasePos(text, kQueryPlaceholder);
    if (at == std::string_view::npos) return std::string(text);
    std::string out;
    out.reserve(text.size() + value.size());
    out.append(text.substr(0, at));
    out.append(value);
    out.append(text.substr(at + std::string_view(kQueryPlaceholder).size()));
    return out;
}

std::string EncodeQueryForAddress(std::string_view expanded) {
    static constexpr char kHex[] = "0123456789ABCDEF";
    std::string out;
    out.reserve(expanded.size());
    for (char c : expanded) {
        const auto b = static_cast<unsigned char>(c);
        // "?" is legal inside a query, but some servers refuse a second one in the request line.
        if (b > 127 || c == '&' || c == '#' || c == '%' || c == '=' || c == '?') {
            out += '%';
            out += kHex[b >> 4];
            out += kHex[b & 15];
        } else {
            out += c;
        }
    }
    return out;
}

std::string QueryAddress(std::string_view tmpl, std::string_view expanded) {
    return ReplaceQueryPlaceholder(tmpl, EncodeQueryForAddress(expanded));
}

ExpandedQuery ExpandQuery(const EngineDescriptor &engine, std::string_view query) {
    ExpandedQuery r;
    r.sponsored = engine.IsSponsored();
    r.query = ExpandQueryText(engine.mode, query);
    switch (engine.mode) {
    case SearchMode::Any:
        r.tmpl = r.sponsored ? engine.sponsoredClick : engine.templateAny;
        break;
    case SearchMode::Exact:
        r.tmpl = r.sponsored ? ReplaceQueryPlaceholder(engine.sponsoredClick, "+%22<$QRY>%22")
                             : engine.templateExact;
        break;
    case SearchMode::Bool:
        r.tmpl = r.sponsored ? engine.sponsoredClick : engine.templateBool;
        break;
    case SearchMode::All:
    default:
        r.tmpl = r.sponsored ? engine.sponsoredClick : engine.templateAll;
        break;
    }
    if (r.sponsored) {
        r.serve = engine.sponsoredServe;
        r.click = QueryAddress(r.tmpl, r.query);
    } else {
        r.address = QueryAddress(r.tmpl, r.query);
    }
    return r;
}

}  // namespace qm
