#pragma once
// Result caches: every finished search leaves its list on disk, named after its query, so
// that choosing the same query again from the query box's history shows the old results
// without going to the network.
//
// A cache is a list file: per row its sub-items, one per line, then its image index in
// decimal, each line ending in CR LF. The row number is not stored.
#include "search/ResultRow.h"
#include "toolkit/ListFile.h"

#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace qm {

// Cache modes of the options ("$WEB_CacheMode").
enum class CacheMode { Always = 0, CurrentSession = 1, Never = 2 };
CacheMode CacheModeFromInt(long value);

extern const char *const kWebCacheExtension;  // ".webcache"
extern const char *const kWebCacheFolder;     // "WEBSearch"
extern const char *const kWebHistoryFile;     // "ComboBox_WEB.INI"

// The query as a search uses it: the text trimmed, every blank replaced by "+".
std::string SearchQueryOf(std::string_view boxText);

// The cache file name of a query box text: the query and the extension, normalised as a
// list file name (toolkit/ListFile.h). ".webcache" alone when the box is empty.
std::string CacheFileName(std::string_view boxText, std::string_view extension = kWebCacheExtension);

// The web list's cache files: records of the five sub-items and the image index (the list
// file format of toolkit/ListFile.h). Rows are numbered 1..n on loading. Rows without five
// sub-items are not written.
std::string EncodeResultList(const std::vector<ResultRow> &rows);
std::vector<ResultRow> DecodeResultList(std::string_view bytes);
// Written atomically with mode 0600, like the list files.
bool SaveResultList(const std::vector<ResultRow> &rows, const std::string &path);
// False (rows untouched) when the file is missing or unreadable.
bool LoadResultList(const std::string &path, std::vector<ResultRow> &rows);
// The same for the lists of other kinds (records of their own number of texts).
std::string EncodeResultList(const std::vector<ResultRow> &rows, RecordKind kind);
bool SaveResultList(const std::vector<ResultRow> &rows, const std::string &path, RecordKind kind);
bool LoadResultList(const std::string &path, std::vector<ResultRow> &rows, RecordKind kind);

// The caches of one search page: `cacheRoot` + "/" + folder, files named by CacheFileName
// with the page's extension, records of the page's kind.
class SearchResultCache {
public:
    SearchResultCache(std::string cacheRoot, std::string folder, std::string extension, RecordKind kind);

    std::string Folder() const;
    std::string PathFor(std::string_view boxText) const;

    // At the end of a web search: writes the list under the query's name when the disk
    // cache is on. True when written (or when nothing had to be written).
    bool Write(const std::vector<ResultRow> &rows, std::string_view boxText, bool useDiskCache) const;

    // What a change of the query box did.
    enum class Recall { Nothing, DeletedEmptyName, Refused, Loaded };

    struct Hooks {
        std::function<bool()> searching;        // a web search runs
        std::function<void()> endSearch;        // end it (it writes its own cache)
        std::function<bool()> verifying;        // a verification runs: no load
        std::function<void(std::vector<ResultRow> &&)> show;  // replace the list's rows
    };

    // Change or click of the query box.
    Recall OnQueryBoxChanged(std::string_view boxText, CacheMode mode, const Hooks &hooks) const;

    // At the end of a run, modes "Only current session" and "Never" delete every cache.
    int EndOfRun(CacheMode mode) const;

private:
    std::string root_, folder_, extension_;
    RecordKind kind_;
};

// The web page's caches, in `cacheRoot` + "/WEBSearch".
class WebResultCache : public SearchResultCache {
public:
    explicit WebResultCache(std::string cacheRoot);
};

// What the end of a web search writes, the same for the window and quillmar-cli: the list
// under the query's cache name in `dataRoot` + "/Cache/WEBSearch", when the disk cache is on.
bool WriteWebSearchCache(const std::string &dataRoot, const std::vector<ResultRow> &rows, std::string_view query,
                         bool useDiskCache);

}  // namespace qm
