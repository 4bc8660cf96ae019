#include "toolkit/Misc.h"

#include <QCoreApplication>
#include <QDate>
#include <QSoundEffect>
#include <QFile>
#include <QUrl>

#include <cerrno>
#include <climits>
#include <cstring>
#include <sys/stat.h>
#include <sys/types.h>

namespace qm {

namespace {

TMisc *gGlobal = nullptr;

inline unsigned char Up(unsigned char c) { return (c >= 'a' && c <= 'z') ? c - 32 : c; }

bool IsCSpace(unsigned char c) { return c == ' ' || (c >= '\t' && c <= '\r'); }

// Start of the first occurrence of `pattern` in `text` at or after `from`, comparing
// after ASCII upper-casing (exact when `fold` is false). The pattern is matched
// afresh at every start position, so partial matches never hide a later one.
size_t Find(std::string_view text, std::string_view pattern, size_t from, bool fold) {
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

std::string ReplaceAllImpl(std::string_view text, std::string_view pattern,
                           std::string_view replacement, bool fold) {
    if (text.empty() || pattern.empty()) return std::string(text);
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
    // Replacing the first occurrence of the current text again and again, done in one
    // pass: `out` is the part of the current text known to hold no occurrence, followed
    // by the replacement bytes still to be read (`pending`, last one first) and the
    // rest of the input. Feeding bytes to `out` through a KMP matcher finds the
    // occurrence that ends first, which is the first one (all have the same length); it
    // is taken off `out` and its replacement is read again, so occurrences formed by a
    // replacement are found in the same order as by searching from the beginning.
    const size_t n = text.size(), r = replacement.size();
    std::string folded(pattern);
    if (fold)
        for (char &c : folded) c = static_cast<char>(Up(static_cast<unsigned char>(c)));
    std::vector<uint32_t> fail(m, 0);  // longest proper border of folded[0..i]
    for (size_t i = 1, k = 0; i < m; ++i) {
        while (k > 0 && folded[i] != folded[k]) k = fail[k - 1];
        if (folded[i] == folded[k]) ++k;
        fail[i] = static_cast<uint32_t>(k);
    }
    auto key = [fold](char c) {
        return fold ? static_cast<char>(Up(static_cast<unsigned char>(c))) : c;
    };
    const char first = folded[0];
    const char firstOther = fold ? TMisc::LowCaseChar(first) : first;

    // The same stop rules as replacing in place: a match whose last byte lies at or
    // beyond the original length ends the work, and replacements that do not shrink
    // the text have their count and growth bounded.
    const size_t originalLength = n;
    const bool shrinking = r < m;
    size_t budget = size_t{1} << 22;
    const size_t sizeLimit = originalLength * 64 + (size_t{1} << 20);

    std::string out;
    out.reserve(n);
    std::string pending;
    size_t pos = 0, k = 0;
    for (;;) {
        char c;
        if (!pending.empty()) {
            c = pending.back();
            pending.pop_back();
        } else {
            if (k == 0) {  // nothing to carry: copy up to the next possible start
                size_t skip = pos;
                if (first == firstOther) {
                    const void *at = std::memchr(text.data() + pos, first, n - pos);
                    skip = at ? static_cast<size_t>(static_cast<const char *>(at) - text.data()) : n;
                } else {
                    while (skip < n && text[skip] != first && text[skip] != firstOther) ++skip;
                }
                out.append(text.substr(pos, skip - pos));
                pos = skip;
            }
            if (pos == n) break;
            c = text[pos++];
        }
        out.push_back(c);
        const char f = key(c);
        while (k > 0 && folded[k] != f) k = fail[k - 1];
        if (folded[k] == f) ++k;
        if (k < m) continue;

        const size_t hit = out.size() - m;
        out.resize(hit);
        const size_t curSize = hit + r + pending.size() + (n - pos);
        if (hit + m - 1 >= originalLength ||
            (!shrinking && (--budget == 0 || curSize > sizeLimit))) {
            out.append(replacement);
            out.append(pending.rbegin(), pending.rend());
            out.append(text.substr(pos));
            return out;
        }
        pending.append(replacement.rbegin(), replacement.rend());
        // The matcher's state after `out`: no occurrence lies in it, so the longest
        // prefix of the pattern ending there lies within its last m - 1 bytes.
        k = 0;
        for (size_t i = hit >= m - 1 ? hit - (m - 1) : 0; i < hit; ++i) {
            const char g = key(out[i]);
            while (k > 0 && folded[k] != g) k = fail[k - 1];
            if (folded[k] == g) ++k;
        }
    }
    return out;
}

}  // namespace

// ---------------------------------------------------------------------------------
// Free helpers

long long Atol(std::string_view text) {
    size_t i = 0;
    while (i < text.size() && IsCSpace(static_cast<unsigned char>(text[i]))) ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) negative = text[i++] == '-';
    long long value = 0;
    for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i) {
        int d = text[i] - '0';
        if (value > (LLONG_MAX - d) / 10) return negative ? LLONG_MIN : LLONG_MAX;
        value = value * 10 + d;
    }
    return negative ? -value : value;
}

std::string TrimLeft(std::string_view text) {
    size_t b = 0;
    while (b < text.size() && static_cast<unsigned char>(text[b]) <= 32) ++b;
    return std::string(text.substr(b));
}

std::string TrimRight(std::string_view text) {
    size_t e = text.size();
    while (e > 0 && static_cast<unsigned char>(text[e - 1]) <= 32) --e;
    return std::string(text.substr(0, e));
}

std::string Trim(std::string_view text) {
    size_t b = 0, e = text.size();
    while (b < e && static_cast<unsigned char>(text[b]) <= 32) ++b;
    while (e > b && static_cast<unsigned char>(text[e - 1]) <= 32) --e;
    return std::string(text.substr(b, e - b));
}

int CompareNoCase(std::string_view a, std::string_view b) {
    size_t n = std::min(a.size(), b.size());
    for (size_t i = 0; i < n; ++i) {
        unsigned char x = Up(static_cast<unsigned char>(a[i]));
        unsigned char y = Up(static_cast<unsigned char>(b[i]));
        if (x != y) return x < y ? -1 : 1;
    }
    return a.size() == b.size() ? 0 : (a.size() < b.size() ? -1 : 1);
}

bool SameTextNoCase(std::string_view a, std::string_view b) {
    return a.size() == b.size() && CompareNoCase(a, b) == 0;
}

// ---------------------------------------------------------------------------------
// Object

TMisc::TMisc() {
    if (!gGlobal) gGlobal = this;
}

TMisc::~TMisc() {
    if (gGlobal == this) gGlobal = nullptr;
    delete sound_;
}

TMisc *TMisc::Global() { return gGlobal; }

// ---------------------------------------------------------------------------------
// Search and position

bool TMisc::FindNoCase(std::string_view text, std::string_view pattern) {
    size_t hit = Find(text, pattern, 0, true);
    if (hit == std::string_view::npos) return false;
    LastPos = static_cast<int32_t>(hit + pattern.size() - 1);
    return true;
}

bool TMisc::FindChar(std::string_view text, char c) {
    size_t hit = text.find(c);
    if (hit == std::string_view::npos) {
        LastPos = 0;
        return false;
    }
    LastPos = static_cast<int32_t>(hit);
    return true;
}

size_t TMisc::FindNoCasePos(std::string_view text, std::string_view pattern, size_t from) {
    return Find(text, pattern, from, true);
}

bool TMisc::FindNthChar(std::string_view text, char c, int n, int &index) {
    int count = 0;
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] == c && ++count == n) {
            index = static_cast<int>(i);
            return true;
        }
    }
    index = text.empty() ? 0 : static_cast<int>(text.size() - 1);
    return false;
}

uint16_t TMisc::CountChar(std::string_view text, char c) {
    uint16_t count = 0;
    for (char x : text)
        if (x == c) ++count;
    return count;
}

bool TMisc::EndsWithChar(std::string_view text, char c) {
    return !text.empty() && text.back() == c;
}

// ---------------------------------------------------------------------------------
// Replacement and extraction

std::string TMisc::ReplaceChar(std::string_view text, char from, char to) {
    std::string out(text);
    for (char &x : out)
        if (x == from) x = to;
    return out;
}

std::string TMisc::ReplaceFirst(std::string_view text, std::string_view pattern,
                                std::string_view replacement) {
    size_t hit = Find(text, pattern, 0, true);
    if (text.empty() || hit == std::string_view::npos) return std::string(text);
    std::string out;
    out.reserve(text.size() - pattern.size() + replacement.size());
    out.append(text.substr(0, hit));
    out.append(replacement);
    out.append(text.substr(hit + pattern.size()));
    return out;
}

std::string TMisc::ReplaceAll(std::string_view text, std::string_view pattern,
                              std::string_view replacement) {
    return ReplaceAllImpl(text, pattern, replacement, true);
}

std::string TMisc::ReplaceAllExact(std::string_view text, std::string_view pattern,
                                   std::string_view replacement) {
    return ReplaceAllImpl(text, pattern, replacement, false);
}

std::string TMisc::TextBefore(std::string_view text, std::string_view pattern) {
    size_t hit = Find(text, pattern, 0, true);
    if (hit == std::string_view::npos) return std::string(text);
    return std::string(text.substr(0, hit));
}

bool TMisc::TextBetween(std::string_view text, std::string_view start, std::string_view end,
                        std::string &out) {
    if (text.empty()) return false;
    size_t s = Find(text, start, 0, true);
    if (s == std::string_view::npos) return false;
    size_t from = s + start.size();  // just after the start landmark's last byte
    size_t e = Find(text, end, from, true);
    if (e == std::string_view::npos) return false;
    out.assign(text.substr(from, e - from));
    return true;
}

std::string TMisc::RemoveBetween(std::string_view text, std::string_view start,
                                 std::string_view end) {
    size_t s = Find(text, start, 0, true);
    if (s == std::string_view::npos) return std::string(text);
    size_t e = Find(text, end, s, true);
    if (e == std::string_view::npos) return std::string(text);
    size_t last = e + end.size() - 1;
    // No earlier copy of the block can exist (it would hold an earlier start
    // landmark), so removing bytes s..last is removing its first occurrence.
    std::string out(text);
    out.erase(s, last - s + 1);
    return out;
}

// ---------------------------------------------------------------------------------
// Words

int TMisc::WordCount(std::string_view text) {
    int count = 0;
    bool inWord = false;
    for (char x : text) {
        bool w = IsWordByte(static_cast<unsigned char>(x));
        if (w && !inWord) ++count;
        inWord = w;
    }
    return count;
}

bool TMisc::FindNthWord(std::string_view text, int n, int &index) {
    int count = 0;
    bool inWord = false;
    for (size_t i = 0; i < text.size(); ++i) {
        bool w = IsWordByte(static_cast<unsigned char>(text[i]));
        if (w && !inWord && ++count == n) {
            index = static_cast<int>(i);
            return true;
        }
        inWord = w;
    }
    index = text.empty() ? 0 : static_cast<int>(text.size() - 1);
    return false;
}

std::string TMisc::NthWord(std::string_view text, int n) {
    int start = 0;
    if (!FindNthWord(text, n, start)) return {};
    size_t e = static_cast<size_t>(start);
    while (e < text.size() && IsWordByte(static_cast<unsigned char>(text[e]))) ++e;
    return std::string(text.substr(static_cast<size_t>(start), e - static_cast<size_t>(start)));
}

int TMisc::FirstWordLength(std::string_view text) {
    size_t i = 0;
    while (i < text.size() && !IsWordByte(static_cast<unsigned char>(text[i]))) ++i;
    size_t b = i;
    while (i < text.size() && IsWordByte(static_cast<unsigned char>(text[i]))) ++i;
    return static_cast<int>(i - b);
}

// ---------------------------------------------------------------------------------
// Numbers

bool TMisc::ParseHex(std::string_view text, uint32_t &value) {
    size_t x = text.find('x');
    if (x == std::string_view::npos) x = text.find('X');
    if (x != std::string_view::npos) text.remove_prefix(x + 1);
    if (text.empty() || text.size() > 8) return false;
    uint32_t v = 0;
    for (char c : text) {
        uint32_t d = 0;
        if (c >= '0' && c <= '9') d = static_cast<uint32_t>(c - '0');
        else if (c >= 'a' && c <= 'f') d = static_cast<uint32_t>(c - 'a' + 10);
        else if (c >= 'A' && c <= 'F') d = static_cast<uint32_t>(c - 'A' + 10);
        v = (v << 4) | d;
    }
    value = v;
    return true;
}

// ---------------------------------------------------------------------------------
// Files and folders

bool TMisc::FileExists(const std::string &name) {
    struct stat st {};
    return !name.empty() && name.find('\0') == std::string::npos &&
           ::stat(name.c_str(), &st) == 0 && !S_ISDIR(st.st_mode);
}

uint32_t TMisc::FileSize(const std::string &name) {
    struct stat st {};
    if (name.empty() || name.find('\0') != std::string::npos || ::stat(name.c_str(), &st) != 0)
        return 0;
    return static_cast<uint32_t>(static_cast<uint64_t>(st.st_size) & 0xFFFFFFFFu);
}

bool TMisc::DirectoryExists(const std::string &path) {
    struct stat st {};
    return !path.empty() && path.find('\0') == std::string::npos &&
           ::stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

bool TMisc::CreatePath(const std::string &path) {
    if (path.empty() || path.find('\0') != std::string::npos) return false;
    std::string p = path;
    if (!EndsWithChar(p, '/')) p += '/';
    std::string prefix;
    size_t i = 0;
    if (p[0] == '/') {
        prefix = "/";
        i = 1;
    }
    int components = 0;
    while (i < p.size() && components < 127) {
        size_t slash = p.find('/', i);
        std::string part = p.substr(i, slash - i);
        i = slash + 1;
        if (part.empty()) continue;  // "a//b"
        ++components;
        prefix += part;
        if (!DirectoryExists(prefix)) {
            if (::mkdir(prefix.c_str(), 0777) != 0 && !(errno == EEXIST && DirectoryExists(prefix)))
                return false;
        }
        prefix += '/';
    }
    return true;
}

void TMisc::SlashesToBackslashes(std::string &text) {
    for (char &c : text)
        if (c == '/') c = '\\';
}

void TMisc::BackslashesToSlashes(std::string &text) {
    for (char &c : text)
        if (c == '\\') c = '/';
}

bool TMisc::ReadLine(std::FILE *file, std::string &line, size_t capacity) {
    line.clear();
    if (capacity < 2) capacity = 2;
    for (;;) {
        int c = std::getc(file);
        if (c == EOF) return false;
        if (c == '\r') continue;
        if (c == '\n') return true;
        line.push_back(static_cast<char>(c));
        if (line.size() >= capacity - 1) return true;
    }
}

bool TMisc::ReadLine(std::string_view bytes, size_t &pos, std::string &line, size_t capacity) {
    line.clear();
    if (capacity < 2) capacity = 2;
    while (pos < bytes.size()) {
        char c = bytes[pos++];
        if (c == '\r') continue;
        if (c == '\n') return true;
        line.push_back(c);
        if (line.size() >= capacity - 1) return true;
    }
    return false;
}

bool TMisc::LoadTextLines(const std::string &name, StringList &list) {
    list.clear();
    if (!FileExists(name)) return false;
    std::FILE *f = std::fopen(name.c_str(), "rb");
    if (!f) return false;
    std::string line;
    while (ReadLine(f, line, 4096)) list.push_back(line);
    list.push_back(line);
    bool atEnd = std::feof(f) != 0;
    std::fclose(f);
    return atEnd;
}

void TMisc::SplitTextLines(std::string_view bytes, StringList &list) {
    list.clear();
    size_t pos = 0;
    std::string line;
    while (ReadLine(bytes, pos, line, 4096)) list.push_back(line);
    list.push_back(line);
}

namespace {

// Index of the first line at or after `from` that holds `key` (ignoring case), or -1.
long FindLine(const StringList &list, std::string_view key, size_t from) {
    for (size_t i = from; i < list.size(); ++i)
        if (Find(list[i], key, 0, true) != std::string_view::npos) return static_cast<long>(i);
    return -1;
}

std::string ClosingTag(std::string_view key) {
    std::string close(key);
    size_t lt = close.find('<');
    if (lt != std::string::npos) close.replace(lt, 1, "</");
    return close;
}

}  // namespace

std::string TMisc::ReadBlock(const StringList *list, std::string_view key) {
    if (key.empty() || !list) return {};
    long at = FindLine(*list, key, 0);
    if (at < 0) return {};
    const std::string close = ClosingTag(key);
    std::string out;
    for (size_t i = static_cast<size_t>(at) + 1; i < list->size(); ++i) {
        if (Find((*list)[i], close, 0, true) != std::string_view::npos) break;
        out += (*list)[i];
        out += "\r\n";
    }
    return out;
}

bool TMisc::ReadBlockLines(const StringList &list, std::string_view key, StringList &out) {
    if (key.empty()) return false;
    long at = FindLine(list, key, 0);
    if (at < 0) return false;
    const std::string close = ClosingTag(key);
    StringList block;
    for (size_t i = static_cast<size_t>(at) + 1; i < list.size(); ++i) {
        if (Find(list[i], close, 0, true) != std::string_view::npos) break;
        block.push_back(list[i]);
    }
    out = std::move(block);
    return true;
}

// ---------------------------------------------------------------------------------
// Sound

void TMisc::PlaySoundFile(const std::string &name, const std::string &folder) {
    if (sound_) sound_->stop();
    std::string file;
    if (FileExists(name)) {
        file = name;
    } else if (name.find(':') == std::string::npos) {
        std::string trimmed = Trim(name);
        std::string candidate = folder;
        if (!(trimmed.size() > 0 && trimmed[0] == '/')) candidate += '/';
        candidate += trimmed;
        if (FileExists(candidate)) file = candidate;
    }
    lastSound_ = file;
    if (file.empty() || !QCoreApplication::instance()) return;
    if (!sound_) {
        // Owned by this object; parented to nothing so that it never outlives or
        // is deleted behind our back. Without a sound device it simply stays silent.
        sound_ = new QSoundEffect();
    }
    sound_->setSource(QUrl::fromLocalFile(QFile::decodeName(QByteArray(file.data(), static_cast<qsizetype>(file.size())))));
    sound_->play();
}

// ---------------------------------------------------------------------------------
// Dates

std::string TMisc::FormatDate(int kind) {
    QDate d = QDate::currentDate();
    return FormatDate(kind, d.year(), d.month(), d.day());
}

std::string TMisc::FormatDate(int kind, int year, int month, int day) {
    static const char *const kAbbr[12] = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                          "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
    static const char *const kEnglish[12] = {"January", "February", "March",     "April",
                                             "May",     "June",     "July",      "August",
                                             "September", "October", "November", "December"};
    static const char *const kFrench[12] = {"Janvier", "F\xC3\xA9vrier", "Mars",      "Avril",
                                            "Mai",     "Juin",           "Juillet",   "Ao\xC3\xBBt",
                                            "Septembre", "Octobre",      "Novembre",  "D\303\251cembre"};
    if (month < 1 || month > 12) return {};
    unsigned y = static_cast<unsigned>(year), m = static_cast<unsigned>(month),
             dd = static_cast<unsigned>(day);
    char buf[96];
    switch (kind) {
    case 0: std::snprintf(buf, sizeof buf, "%u %s, %u", dd, kAbbr[m - 1], y); break;
    case 1: std::snprintf(buf, sizeof buf, "%u%02u%02u", y, m, dd); break;
    case 2: std::snprintf(buf, sizeof buf, "%s %u, %u", kEnglish[m - 1], dd, y); break;
    case 3: std::snprintf(buf, sizeof buf, "%u %s %u", dd, kFrench[m - 1], y); break;
    case 4: std::snprintf(buf, sizeof buf, "%u / %02u / %02u", y, m, dd); break;
    default: return {};
    }
    return buf;
}

// ---------------------------------------------------------------------------------
// Addresses

bool TMisc::SplitUrl(std::string_view text) {
    UrlParts.Host.clear();
    UrlParts.Port.clear();
    UrlParts.Valid = false;
    UrlParts.Scheme = 0;
    std::string word = NthWord(text, 1);
    if (word.size() < 4) return false;
    BackslashesToSlashes(word);

    struct SchemeInfo { const char *prefix; int scheme; long port; };
    static const SchemeInfo kSchemes[] = {
        {"ftp://", 1, 21}, {"http://", 2, 80}, {"pop3://", 3, 110}, {"smtp://", 4, 25}};
    const SchemeInfo *found = nullptr;
    size_t at = 0;
    for (const auto &s : kSchemes) {
        at = Find(word, s.prefix, 0, true);
        if (at != std::string_view::npos) {
            found = &s;
            break;
        }
    }
    if (!found) return false;
    std::string rest = word.substr(at + std::strlen(found->prefix));

    // Credentials (user and password themselves are not kept).
    std::string hostPart = rest;
    size_t atSign = rest.find('@');
    if (atSign != std::string::npos) {
        hostPart = rest.substr(atSign + 1);
        size_t colon = rest.find(':');
        if (colon != std::string::npos && colon < atSign) {
            bool userEmpty = colon == 0;
            bool passwordEmpty = atSign == colon + 1;
            if (userEmpty || passwordEmpty) return false;
        }
    }

    // Path.
    size_t slash = hostPart.find('/');
    bool hasPath = slash != std::string::npos;
    if (hasPath && hostPart.size() - slash == 1) {  // the path is just "/"
        hostPart.pop_back();
        hasPath = false;
    }

    // Port.
    long port = found->port;
    size_t colon = hostPart.find(':');
    bool hasPort = colon != std::string::npos && (!hasPath || colon < slash);
    if (hasPort) {
        size_t stop = hostPart.find('/', colon + 1);
        std::string digits = hostPart.substr(colon + 1, stop == std::string::npos ? std::string::npos
                                                                                 : stop - colon - 1);
        long long p = Atol(digits);
        if (p < 1 || p > 65535) return false;
        port = static_cast<long>(p);
    }

    std::string host;
    if (hasPort) host = hostPart.substr(0, colon);
    else if (hasPath) host = hostPart.substr(0, slash);
    else host = hostPart;
    if (host.empty()) return false;

    UrlParts.Host = host;
    UrlParts.Port = std::to_string(port);
    UrlParts.Scheme = found->scheme;
    UrlParts.Valid = true;
    return true;
}

}  // namespace qm
