#pragma once
// The forum finder (five directories) and the MP3 finder (two file-search sites): their
// engine tables, addresses and page readers, on the web readers' frame (tab, CR and LF
// skipped by the matcher and blanks in captures, captures cut to 511 characters, the sink
// pumped every 512 characters and the read ended when it answers false).
//
// Rows handed to the sink:
//   forum  Forum / List, Type, Source, Description, URL   (identity: URL)
//   mp3    Title, Size, Description, Source, URL          (identity: URL)
#include "engines/vertical/VerticalReaders.h"
#include "search/EngineDescriptor.h"

#include <string>
#include <string_view>
#include <vector>

namespace qm {

enum ForumColumn : size_t { kFrmName = 0, kFrmType, kFrmSource, kFrmDescription, kFrmUrl, kFrmColumns };
enum Mp3Column : size_t { kMp3Title = 0, kMp3Size, kMp3Description, kMp3Source, kMp3Url, kMp3Columns };

// Both lists stop growing once they hold more than this many rows.
inline constexpr int kForumMp3MaxRows = 500;

// ---- Forums: slots 0 to 4 in table order; selector picks the readers.
inline constexpr int kForumEngineCount = 5;
std::vector<EngineDescriptor> BuildForumEngineTable();
// "http://" + the directory's search host, by selector (0 to 4).
std::string ForumSearchHost(int selector);
// Delphi Center's forum host, which its result links go to.
std::string DelphiForumHost();

// ---- MP3: slots 0 and 1; selectors 0 (KaZaA) and 3 (AVFind).
inline constexpr int kMp3EngineCount = 2;
std::vector<EngineDescriptor> BuildMp3EngineTable();
// The engine's home address (scheme and host), by selector.
std::string Mp3HomeAddress(int selector);

// The first address of a forum or MP3 row: the template with "<$QRY>" replaced once by the
// prepared query (blanks as "+"), no mode expansion.
std::string PlainFirstAddress(const EngineDescriptor &row, const std::string &query);

// The forum and MP3 engines by name (ASCII case ignored); -1 when unknown.
int ForumSelectorByName(std::string_view name);
int Mp3SelectorByName(std::string_view name);
const char *ForumEngineName(int selector);
const char *Mp3EngineName(int selector);

// Readers. The sink's SearchHost is the engine's search host (AVFind, KaZaA: the home
// address); Delphi Center's result links take `forumHost`.
void FindDelphiPageLinks(std::string_view page, ReaderSink &sink);
void ParseDelphiResults(std::string_view page, ReaderSink &sink, const std::string &forumHost);
void FindYahooGroupsPageLinks(std::string_view page, ReaderSink &sink);
void ParseYahooGroupsResults(std::string_view page, ReaderSink &sink);
void FindTopicaPageLinks(std::string_view page, ReaderSink &sink);
void ParseTopicaResults(std::string_view page, ReaderSink &sink);
void ParseBoardServerResults(std::string_view page, ReaderSink &sink);
void ParseKazaaResults(std::string_view page, ReaderSink &sink);
void FindAvFindPageLinks(std::string_view page, ReaderSink &sink);
void ParseAvFindResults(std::string_view page, ReaderSink &sink);

// The page-link reader then the result reader of a selector (EZBoard: nothing).
void RunForumReaders(int selector, std::string_view page, ReaderSink &sink, const std::string &forumHost);
void RunMp3Readers(int selector, std::string_view page, ReaderSink &sink);

// One page read as the first answer of a search: empty list, the 500-row stop in force,
// one unrelated page already queued. Empty hosts take the defaults.
VerticalParsed ParseForumPage(int selector, const std::string &host, const std::string &forumHost,
                              std::string_view page);
VerticalParsed ParseMp3Page(int selector, const std::string &host, std::string_view page);

// The leading decimal number of the first word of an AVFind size, C style (0 when none).
double AvFindSizeNumber(const std::string &size);

}  // namespace qm
