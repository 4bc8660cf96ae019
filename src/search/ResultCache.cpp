#include "search/ResultCache.h"

#include <algorithm>
#include <iterator>

#include "toolkit/AtomicFile.h"
#include "toolkit/History.h"
#include "toolkit/ListFile.h"

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

std::string_view TrimBlanks(std::string_view s) {
    while (!s.empty() && static_cast<unsigned char>(s.front()) <= 32) s.remove_prefix(1);
    while (!s.empty() && static_cast<unsigned char>(s.back()) <= 32) s.remove_suffix(1);
    return s;
}

bool IsPlainFile(const std::string &path) {
    struct stat st;
    return ::lstat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode);
}

}  // namespace

std::string SearchQueryOf(std::string_view boxText) {
    std::string q(TrimBlanks(boxText));
    for (char &c : q)
        if (c == ' ') c = '+';
    return q;
}

std::string CacheFileName(std::string_view boxText, std::string_view extension) {
    return NormaliseListFileName(SearchQueryOf(boxText) + std::string(extension));
}

namespace {

std::vector<ListRecord> ToRecords(const std::vector<ResultRow> &rows) {
    std::vector<ListRecord> records;
    records.reserve(rows.size());
    for (const auto &r : rows) records.push_back({r.subItems, r.image});
    return records;
}

std::vector<ResultRow> FromRecords(std::vector<ListRecord> &&records) {
    std::vector<ResultRow> rows;
    rows.reserve(records.size());
    for (auto &rec : records) {
        ResultRow row;
        row.caption = std::to_string(rows.size() + 1);
        row.image = rec.image;
        row.subItems = std::move(rec.texts);
        rows.push_back(std::move(row));
    }
    return rows;
}

}  // namespace

std::string EncodeResultList(const std::vector<ResultRow> &rows) {
    return FormatListFile(ToRecords(rows), RecordKind::Web);
}

std::vector<ResultRow> DecodeResultList(std::string_view bytes) {
    return FromRecords(ParseListFile(bytes, RecordKind::Web));
}

bool SaveResultList(const std::vector<ResultRow> &rows, const std::string &path) {
    return WriteFileAtomic(path, EncodeResultList(rows), /*ownerOnly=*/true);
}

bool LoadResultList(const std::string &path, std::vector<ResultRow> &rows) {
    std::string bytes;
    if (!IsPlainFile(path) || !ReadWholeFile(path, bytes)) return false;
    rows = DecodeResultList(bytes);
    return true;
}

std::string EncodeResultList(const std::vector<ResultRow> &rows, RecordKind kind) {
    return FormatListFile(ToRecords(rows), kind);
}

bool SaveResultList(const std::vector<ResultRow> &rows, const std::string &path, RecordKind kind) {
    return WriteFileAtomic(path, EncodeResultList(rows, kind), /*ownerOnly=*/true);
}

bool LoadResultList(const std::string &path, std::vector<ResultRow> &rows, RecordKind kind) {
    std::string bytes;
    if (!IsPlainFile(path) || !ReadWholeFile(path, bytes)) return false;
    rows = FromRecords(ParseListFile(bytes, kind));
    return true;
}

SearchResultCache::SearchResultCache(std::string cacheRoot, std::string folder, std::string extension, RecordKind kind)
    : root_(std::move(cacheRoot)), folder_(std::move(folder)), extension_(std::move(extension)), kind_(kind) {}

WebResultCache::WebResultCache(std::string cacheRoot)
    : SearchResultCache(std::move(cacheRoot), kWebCacheFolder, kWebCacheExtension, RecordKind::Web) {}

std::string SearchResultCache::Folder() const { return root_ + "/" + folder_; }

std::string SearchResultCache::PathFor(std::string_view boxText) const {
    return Folder() + "/" + CacheFileName(boxText, extension_);
}

bool SearchResultCache::Write(const std::vector<ResultRow> &rows, std::string_view boxText,
                           bool useDiskCache) const {
    if (!useDiskCache) return true;
    ::mkdir(root_.c_str(), 0755);
    ::mkdir(Folder().c_str(), 0755);
    // The "Nothing found for" notice (no number, no address) is never kept as a result.
    auto notice = [](const ResultRow &r) { return r.caption.empty() && r.Address().empty(); };
    if (std::any_of(rows.begin(), rows.end(), notice)) {
        std::vector<ResultRow> kept;
        std::copy_if(rows.begin(), rows.end(), std::back_inserter(kept), [&](const ResultRow &r) { return !notice(r); });
        return SaveResultList(kept, PathFor(boxText), kind_);
    }
    return SaveResultList(rows, PathFor(boxText), kind_);
}

SearchResultCache::Recall SearchResultCache::OnQueryBoxChanged(std::string_view boxText, CacheMode mode,
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
    if (!LoadResultList(path, rows, kind_)) return Recall::Nothing;
    if (hooks.show) hooks.show(std::move(rows));
    return Recall::Loaded;
}

int SearchResultCache::EndOfRun(CacheMode mode) const {
    if (mode == CacheMode::Always) return 0;
    return DeleteFilesWithExtension(Folder(), extension_);
}

bool WriteWebSearchCache(const std::string &dataRoot, const std::vector<ResultRow> &rows, std::string_view query,
                         bool useDiskCache) {
    return WebResultCache(dataRoot + "/Cache").Write(rows, query, useDiskCache);
}

}  // namespace qm
