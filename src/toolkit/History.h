#pragma once
// The query histories of the main window's boxes and the data folders they live in:
// what is read at start and written, pushed and deleted at the end of a run.
//
// One box's operations (LoadHistory, SaveHistory, PushHistory, RemoveFromHistory)
// are TMisc's, in toolkit/Misc.h.
//
// When a page pushes its box (TMisc::PushHistory):
//   web query                     when a web or template-engine search starts, unless
//                                 $WEB_CacheMode is 2 ("Never")
//   newsgroup query and name      when a newsgroup search starts, unless
//   filter                        $NEWS_CacheMode is 2
//   software, forum, MP3 query    when the search starts with a non-empty query
//   domain name                   when the domain passed its check
//   host                          when ping or name resolution starts
#include "toolkit/Misc.h"

#include <string>
#include <string_view>

namespace qm {

enum class HistoryId { Web, News, NewsGroup, Software, Forum, Mp3, Whois, Dns };

// File name of a box's history in the options folder, e.g. "ComboBox_WEB.INI".
const char *HistoryFileName(HistoryId id);

// The eight query boxes of the main window.
struct Histories {
    HistoryBox web, news, newsGroup, software, forum, mp3, whois, dns;
    HistoryBox &Box(HistoryId id);
};

// The folders under the data root.
struct DataFolders {
    std::string root;                          // no trailing "/"
    std::string Options() const;               // root + "/Options"
    std::string Cache() const;                 // root + "/Cache"
    std::string CacheSub(const char *sub) const;  // e.g. CacheSub("WEBSearch")
    std::string HistoryFile(HistoryId id) const;
};

// Subfolders of the cache folder: "WEBSearch", "NEWSSearch", "WHOSearch", "Software",
// "SoftSearch", "DailyNews", "ForumSearch", "MP3Search".
extern const char *const kCacheSubfolders[8];

// Start: creates the options folder, the cache folder and its subfolders. False when
// any of them could not be made.
bool CreateDataFolders(const DataFolders &folders);

// Start: loads the histories in order (domain name, web query, host, newsgroup query,
// newsgroup name filter, software, forum, MP3). Missing files leave boxes alone.
void LoadHistoriesAtStart(const DataFolders &folders, Histories &h);

// End, steps 1 to 3: clears the edit texts of every box but the host box, pushes the
// domain name, web query, host and software boxes and saves all eight histories.
// False when a file could not be written.
bool SaveHistoriesAtEnd(const DataFolders &folders, Histories &h);

// End, last step (after the running searches ended and the favorites were saved):
// cache mode 1 ("Only current session") or 2 ("Never") deletes the web query history
// and every "*.webcache" plain file directly in the web cache folder; likewise the
// newsgroup query history (not the name filter) and "*.newssearch" files.
void DeleteSessionFiles(const DataFolders &folders, int webCacheMode, int newsCacheMode);

// Deletes the plain files directly in `folder` whose names end with `extension`
// (compared ignoring ASCII case); returns how many were deleted.
int DeleteFilesWithExtension(const std::string &folder, std::string_view extension);

}  // namespace qm
