#include "settings/KeyValue.h"

#include <climits>
#include <algorithm>

#include "toolkit/Misc.h"

namespace qm {
namespace kv {

namespace {
inline unsigned char Up(unsigned char c) { return (c >= 'a' && c <= 'z') ? c - 32 : c; }
}  // namespace

size_t FindNoCase(std::string_view text, std::string_view pattern) {
    if (pattern.empty() || text.empty() || pattern.size() > text.size()) return std::string_view::npos;
    const size_t last = text.size() - pattern.size();
    const unsigned char first = Up(static_cast<unsigned char>(pattern[0]));
    for (size_t i = 0; i <= last; ++i) {
        if (Up(static_cast<unsigned char>(text[i])) != first) continue;
        size_t j = 1;
        while (j < pattern.size() &&
               Up(static_cast<unsigned char>(text[i + j])) == Up(static_cast<unsigned char>(pattern[j])))
            ++j;
        if (j == pattern.size()) return i + pattern.size() - 1;
    }
    return std::string_view::npos;
}

int ToInt(std::string_view text) {
    long long v = Atol(text);
    return static_cast<int>(std::clamp<long long>(v, INT_MIN, INT_MAX));
}

std::vector<std::string> Lines(std::string_view bytes) {
    std::vector<std::string> lines;
    TMisc::SplitTextLines(bytes, lines);
    return lines;
}

}  // namespace kv

namespace {

bool ValueAfter(std::string_view line, size_t keyLast, std::string &value) {
    size_t eq = line.find('=', keyLast);
    if (eq == std::string_view::npos) return false;
    value = Trim(line.substr(eq + 1));
    return true;
}

}  // namespace

bool KeyValue(std::string_view line, std::string_view key, std::string &value) {
    value.clear();
    size_t last = kv::FindNoCase(line, key);
    if (last == std::string_view::npos) return false;
    return ValueAfter(line, last, value);
}

bool KeyValueBeforeEquals(std::string_view line, std::string_view key, std::string &value) {
    value.clear();
    size_t eq = line.find('=');
    if (eq == std::string_view::npos) return false;
    size_t last = kv::FindNoCase(line.substr(0, eq), key);
    if (last == std::string_view::npos) return false;
    return ValueAfter(line, last, value);
}

}  // namespace qm
