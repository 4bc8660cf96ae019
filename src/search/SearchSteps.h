#pragma once
// The start, end and add steps every search kind takes around its own engines: the web
// search, the template engines, the newsgroup and software searches and the ones to come.
// A kind keeps its own engines, list and settings; these steps work on the SearchRun, the
// result list and the engine status model it hands them.
#include "search/EngineStatusModel.h"
#include "search/PagedRequest.h"
#include "search/ResultListModel.h"
#include "search/SearchRun.h"

#include <functional>
#include <string>

namespace qm {

class SiteMerger;

// What a search needs from its surroundings. Unset members do nothing.
struct SearchHooks {
    std::function<void(const std::string &message)> alert;        // ShowAlert, kind 0
    std::function<void(const std::string &typed)> pushHistory;    // the query box's history
    std::function<void(const std::string &query)> saveCache;      // list saved under the query's name
    std::function<void(const std::string &sound)> playSound;      // "/Sounds/Start.wav", "/Sounds/Stop.wav"
    std::function<std::string(const std::string &text)> message;  // message-table lookup (English default)
};

// A message by its English text, through the hooks' table.
std::string SearchText(const SearchHooks &hooks, const char *english);

// "Nothing found for" + " < " + query + " >...".
std::string NothingFoundText(const SearchHooks &hooks, const std::string &query);

// A number typed by the user or read from a file: leading digits of the trimmed text,
// C style (0 when there are none).
long CStyleNumber(const std::string &text);

// What a start reads from the options.
struct RunOptions {
    long maximum = 0;
    int resultMode = 0;        // 0 in total, 1 per engine
    bool noLimit = false;      // the kind has no result limit
    bool mute = false;         // $MuteWAV
    bool pushHistory = true;   // the query box's history takes the text
};

// The start: reads the options into `run`, takes the query (trimmed, blanks to "+") and
// records the box's text in its history. False (and the alert) for an empty query.
bool BeginSearchRun(const SearchHooks &hooks, SearchRun &run, const std::string &typed, const RunOptions &options);

// A kind could not make its engines: the alert that says so.
void CannotStartAlert(const SearchHooks &hooks);

// The engines are made and none has started: the start sound (unless muted) and, when
// given, an empty list.
void ReadySearchRun(const SearchHooks &hooks, const SearchRun &run, ResultListModel *list);

// The end, once the engines are gone: counts the search, saves the list under the query's
// name, plays the stop sound (unless muted or closing) and says "Nothing found for" in an
// empty list (a row of `columns` sub-items, the notice first). A search that reached no
// engine at all (engines took part, none answered with status 200) leaves the query's
// earlier cache as it was: it failed, it did not find nothing.
void EndSearchRun(const SearchHooks &hooks, SearchRun &run, ResultListModel *list, EngineStatusModel *status);

// Adds a row an engine's reader found: refused when its identity is listed (counted as a
// duplicate), counted on the listed row of the same site when `merger` is given and knows
// it, else appended; then counts it and applies the result limit. False to stop reading.
bool AddListedResult(PagedRequest &engine, SearchRun &run, ResultListModel &list, SiteMerger *merger, ResultRow row);

}  // namespace qm
