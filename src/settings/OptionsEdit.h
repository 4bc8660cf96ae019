#pragma once
// The options window's logic without a window: the settings as key and value (what the
// CLI lists, reads and checks before it writes), the cache page's listing and removals,
// the colour models' "Save" and swatch rules, the visibility rules and the page opened.
// The window (src/app/OptionsWindow) and `quillmar-cli options` both drive these.
#include "settings/MessageTable.h"
#include "settings/Opt.h"
#include "toolkit/History.h"

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace qm {

// ---- Settings as keys -----------------------------------------------------------------
struct OptionEntry {
    std::string key;    // as the file spells it, e.g. "$WEB_MaxResults"
    std::string value;  // as the file writes it
    std::string type;   // "flag", "integer", "index", "text" or "choice"
};
// Every setting in the file's order.
std::vector<OptionEntry> ListOptionEntries(const Options &opt);
// The file's spelling of a key typed ignoring ASCII case, "$" optional; nothing if unknown.
std::optional<std::string> CanonicalOptionKey(const Options &opt, std::string_view typed);
// Checks one value for a key (canonical spelling) and, when it is accepted, sets it on
// `opt`. On refusal returns the message (naming the key and what it accepts) and leaves
// `opt` as it was.
std::string SetOptionValue(Options &opt, const std::string &key, std::string_view value,
                           const std::string &languageFolder);

// ---- Cache page ---------------------------------------------------------------------
inline constexpr int kCacheTypeCount = 7;
struct CacheTypeInfo {
    const char *entry;      // built-in caption of the radio entry
    HistoryId history;      // box whose history is listed on "Search words"
    const char *folder;     // under Cache; nullptr for "DNS/Ping" (no files)
    const char *extension;  // matched at the end of the name ignoring case
    bool sizeInKB;          // "Size" column in KB (else in bytes)
    bool totalInKB;         // total in KB (else in MB)
};
const CacheTypeInfo &CacheType(int type);  // 0-6

struct CacheFileRow {
    std::string caption;   // the file name with the first occurrence of the extension removed
    std::string fileName;  // the file as it is on disk
    std::string size;      // "4 KB", "2048 Bytes"
    long long bytes = 0;
};
struct CacheListing {
    std::vector<std::string> words;            // the history's entries, most recent first
    std::optional<std::vector<CacheFileRow>> files;  // nothing for "DNS/Ping"
    double total = 0;                          // in the type's unit
    std::optional<std::string> label;          // "Files cached : 0.00 MB"
};
// Lists a cache type (the files directly in its folder, plain files only, in directory order).
CacheListing ListCacheType(const DataFolders &folders, const HistoryBox &history, int type,
                           std::string_view filesCachedText = "Files cached");
// The total as the label shows it: " : %.02f MB" (" : %.02f KB" for Domain Info).
std::string CacheTotalText(int type, double total, std::string_view filesCachedText);
// Removes from the history the first entry equal to each word (exact bytes).
void RemoveHistoryWords(HistoryBox &history, const std::vector<std::string> &words);
// Deletes the rows' files from the type's folder; failures are ignored.
void RemoveCacheFiles(const DataFolders &folders, int type, const std::vector<CacheFileRow> &rows);
// Sort by the caption column: ascending, ASCII case ignored.
bool CaptionLess(std::string_view a, std::string_view b);

// ---- Colour models ------------------------------------------------------------------
// "Save": the trimmed name; empty does nothing (-1). A model of that name (ignoring case)
// gets the colours, else a new model is appended. Returns the model's index.
int SaveColorModel(Options &opt, std::string_view name, int begin, int end, int text);
// After a swatch change: the selector text that follows (a built-in-position name, one of
// the first six, becomes "New Model").
std::string SelectorTextAfterSwatch(const Options &opt, std::string_view selectorText);
// The model whose name equals the trimmed text ignoring case; -1 when none.
int ColorModelNamed(const Options &opt, std::string_view text);

// ---- Visibility rules ---------------------------------------------------------------
// "backup results on disk" is shown for "Always" or no selection.
inline bool DiskCacheBoxVisible(int cacheMode) { return cacheMode <= 0; }
struct ProxyVisibility {
    bool server = false;    // address, port and their labels
    bool authBox = false;   // "Authentication is required"
    bool userPass = false;  // user name, password, their labels and frame
    bool socks = false;     // "SOCKS level"
};
ProxyVisibility ProxyRules(int proxyMode, bool authTicked);

// Download agents on this platform: the first of "dap", "go", "getright" found on PATH, in
// that order, the last found staying (the probes of the options window). Empty when none.
std::string ProbeDownloadAgent(const std::string &pathVariable);

// ---- Pages ----------------------------------------------------------------------------
enum class OptionsPage { Search = 0, Proxy = 1, Cache = 2, Misc = 3, Browse = 4 };
enum class OptionsOpener { Button, Ping, Browser };
// The page an opening shows: the button's first opening of a run shows the search page,
// later ones the page shown last; the ping tool the miscellaneous page, the browser check
// the navigation page.
class OptionsPageState {
public:
    OptionsPage Open(OptionsOpener by);
    void Shown(OptionsPage p) { last_ = p; }
    OptionsPage Last() const { return last_; }

private:
    bool firstButtonOpening_ = true;
    OptionsPage last_ = OptionsPage::Search;
};
// The message-table key of a page's title ("$LANG_TS_FIND" ...).
Msg PageTitleMessage(OptionsPage p);

}  // namespace qm
