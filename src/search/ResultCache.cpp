#include "search/ResultCache.h"

#include "toolkit/AtomicFile.h"

#include <cerrno>
#include <cstdlib>
#include <dirent.h>
#include <sys/stat.h>
#include <unistd.h>

namespace qm {

const char *const kWebCacheExtension = ".webcache";
const char *const kWebCacheFolder = "WEBSearch";
const char *const kWebHistoryFile = "ComboBox_WEB.INI";

CacheMode CacheModeFromInt(long value) {
    if (value == 1) return CacheMode::CurrentSession;
    if (value == 2) return CacheMode::Never;
    return CacheMode::Always;
}

namespace {

std::string_view Trim(std::string_view s) {
    while (!s.empty() && static_cast<unsigned char>(s.front()) <= 32) s.remove_prefix(1);
    while (!s.empty() && static_cast<unsigned char>(s.back()) <= 32) s.remove_suffix(1);
    return s;
}

long CAtol(std::string_view s) {
    size_t i = 0;
    while (i < s.size() && (s[i] == ' ' || s[i] == '\t')) ++i;
    bool neg = false;
    if (i < s.size() && (s[i] == '-' || s[i] == '+')) neg = s[i++] == '-';
    long v = 0;
    for (; i < s.size() && s[i] >= '0' && s[i] <= '9'; ++i) {
        if (v > 100000000L) break;  // an image index is small; stop before overflow
        v = v * 10 + (s[i] - '0');
    }
    return neg ? -v : v;
}

bool EndsWithNoCase(std::string_view s, std::string_view suffix) {
    if (suffix.size() > s.size()) return false;
    s = s.substr(s.size() - suffix.size());
    for (size_t i = 0; i < s.size(); ++i) {
        char a = s[i], b = suffix[i];
        if (a >= 'A' && a <= 'Z') a = char(a - 'A' + 'a');
        if (b >= 'A' && b <= 'Z') b = char(b - 'A' + 'a');
        if (a != b) return false;
    }
    return true;
}

bool IsPlainFile(const std::string &path) {
    struct stat st;
    return ::lstat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode);
}

}  // namespace

std::string SearchQueryOf(std::string_view boxText) {
    std::string q(Trim(boxText));
    for (char &c : q)
        if (c == ' ') c = '+';
    return q;
}

std::string NormaliseListFileName(std::string_view name) {
    std::string out(name);
    size_t scheme = out.find("://");
    if (scheme != std::string::npos) out.replace(scheme, 3, "...");
    for (char &c : out) {
        switch (c) {
        case '/': case '"': case ':': case '*': case '?': case '\\': case '<': case '>': case '|':
        case '\0':
            c = '.';
            break;
        default: break;
        }
    }
    return out;
}

std::string CacheFileName(std::string_view boxText, std::string_view extension) {
    return NormaliseListFileName(SearchQueryOf(boxText) + std::string(extension));
}

std::string EncodeResultList(const std::vector<ResultRow> &rows, size_t fieldCount) {
    std::string out;
    for (const auto &row : rows) {
        if (row.subItems.size() != fieldCount) continue;
        for (const auto &field : row.subItems) {
            for (char c : field) out += (c == '\r' || c == '\n') ? ' ' : c;
            out += "\r\n";
        }
        out += std::to_string(row.image);
        out += "\r\n";
    }
    return out;
}

bool SaveResultList(const std::vector<ResultRow> &rows, const std::string &path, size_t fieldCount) {
    return WriteFileAtomic(path, EncodeResultList(rows, fieldCount));
}

std::vector<ResultRow> DecodeResultList(std::string_view bytes, size_t fieldCount, bool numberRows) {
    std::vector<ResultRow> rows;
    std::vector<std::string> held;
    size_t i = 0;
    while (i < bytes.size()) {
        size_t end = bytes.find_first_of("\r\n", i);
        if (end == std::string_view::npos) break;  // a last line without a line break is dropped
        std::string_view line = bytes.substr(i, end - i);
        i = end + 1;
        if (bytes[end] == '\r' && i < bytes.size() && bytes[i] == '\n') ++i;
        if (held.size() < fieldCount) {
            held.emplace_back(line);
            continue;
        }
        ResultRow row;
        row.image = static_cast<int>(CAtol(line));
        row.subItems = std::move(held);
        held.clear();
        if (numberRows) row.caption = std::to_string(rows.size() + 1);
        rows.push_back(std::move(row));
    }
    return rows;
}

bool LoadResultList(const std::string &path, std::vector<ResultRow> &rows, size_t fieldCount,
                    bool numberRows) {
    std::string bytes;
    if (!IsPlainFile(path) || !ReadWholeFile(path, bytes)) return false;
    rows = DecodeResultList(bytes, fieldCount, numberRows);
    return true;
}

int DeleteCacheFiles(const std::string &folder, std::string_view extension) {
    DIR *dir = ::opendir(folder.c_str());
    if (!dir) return 0;
    std::vector<std::string> victims;
    while (dirent *e = ::readdir(dir)) {
        std::string name = e->d_name;
        if (name == "." || name == "..") continue;
        if (!EndsWithNoCase(name, extension)) continue;
        std::string path = folder + "/" + name;
        if (IsPlainFile(path)) victims.push_back(path);
    }
    ::closedir(dir);
    int n = 0;
    for (const auto &p : victims)
        if (::unlink(p.c_str()) == 0) ++n;
    return n;
}

WebResultCache::WebResultCache(std::string cacheRoot) : root_(std::move(cacheRoot)) {}

std::string WebResultCache::Folder() const { return root_ + "/" + kWebCacheFolder; }

std::string WebResultCache::PathFor(std::string_view boxText) const {
    return Folder() + "/" + CacheFileName(boxText);
}

bool WebResultCache::Write(const std::vector<ResultRow> &rows, std::string_view boxText,
                           bool useDiskCache) const {
    if (!useDiskCache) return true;
    ::mkdir(root_.c_str(), 0755);
    ::mkdir(Folder().c_str(), 0755);
    return SaveResultList(rows, PathFor(boxText));
}

WebResultCache::Recall WebResultCache::OnQueryBoxChanged(std::string_view boxText, CacheMode mode,
                                                         const Hooks &hooks) const {
    if (mode == CacheMode::Never) return Recall::Nothing;
    std::string path = PathFor(boxText);
    if (SearchQueryOf(boxText).empty()) {
        if (IsPlainFile(path)) ::unlink(path.c_str());
        return Recall::DeletedEmptyName;
    }
    if (!IsPlainFile(path)) return Recall::Nothing;
    if (mode != CacheMode::Always) return Recall::Nothing;
    if (hooks.verifying && hooks.verifying()) return Recall::Refused;
    // A running search would go on adding its results to the recalled list: end it first
    // (it writes its own cache).
    if (hooks.searching && hooks.searching() && hooks.endSearch) hooks.endSearch();
    std::vector<ResultRow> rows;
    if (!LoadResultList(path, rows)) return Recall::Nothing;
    if (hooks.show) hooks.show(std::move(rows));
    return Recall::Loaded;
}

int WebResultCache::EndOfRun(CacheMode mode) const {
    if (mode == CacheMode::Always) return 0;
    return DeleteCacheFiles(Folder(), kWebCacheExtension);
}

}  // namespace qm
