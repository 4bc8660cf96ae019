#include "settings/KeyValue.h"

#include <climits>
#include <sys/stat.h>

#include "toolkit/AtomicFile.h"

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

bool EqualsNoCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (size_t i = 0; i < a.size(); ++i)
        if (Up(static_cast<unsigned char>(a[i])) != Up(static_cast<unsigned char>(b[i]))) return false;
    return true;
}

std::string_view Trim(std::string_view text) {
    size_t b = 0, e = text.size();
    while (b < e && static_cast<unsigned char>(text[b]) <= 32) ++b;
    while (e > b && static_cast<unsigned char>(text[e - 1]) <= 32) --e;
    return text.substr(b, e - b);
}

int Atol(std::string_view text) {
    size_t i = 0;
    while (i < text.size() && (text[i] == ' ' || (text[i] >= '\t' && text[i] <= '\r'))) ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) negative = text[i++] == '-';
    long long v = 0;
    for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i) {
        v = v * 10 + (text[i] - '0');
        if (v > static_cast<long long>(INT_MAX) + 1) v = static_cast<long long>(INT_MAX) + 1;
    }
    if (negative) v = -v;
    if (v > INT_MAX) v = INT_MAX;
    return static_cast<int>(v);
}

std::vector<std::string> SplitTextLines(std::string_view bytes) {
    constexpr size_t kMaxLine = 4095;
    std::vector<std::string> lines;
    std::string cur;
    for (char c : bytes) {
        if (c == '\r') continue;
        if (c == '\n') {
            lines.push_back(std::move(cur));
            cur.clear();
            continue;
        }
        cur.push_back(c);
        if (cur.size() == kMaxLine) {
            lines.push_back(std::move(cur));
            cur.clear();
        }
    }
    lines.push_back(std::move(cur));
    return lines;
}

bool LoadTextLines(const std::string &path, std::vector<std::string> &lines) {
    lines.clear();
    struct stat st {};
    if (::stat(path.c_str(), &st) != 0 || S_ISDIR(st.st_mode)) return false;
    std::string bytes;
    if (!ReadWholeFile(path, bytes)) return false;
    lines = SplitTextLines(bytes);
    return true;
}

}  // namespace kv

namespace {

bool ValueAfter(std::string_view line, size_t keyLast, std::string &value) {
    size_t eq = line.find('=', keyLast);
    if (eq == std::string_view::npos) return false;
    value.assign(kv::Trim(line.substr(eq + 1)));
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
