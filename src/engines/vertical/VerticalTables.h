#pragma once
// The engine tables of the newsgroup article search and the software search, the newsgroup
// languages, and the first request address of each engine.
#include "search/EngineDescriptor.h"

#include <string>
#include <string_view>
#include <vector>

namespace qm {

// ---- Newsgroup articles: one engine, slot 0.
inline constexpr int kNewsEngineCount = 1;
inline constexpr const char *kNewsEngineName = "GoogleNews";
inline constexpr const char *kGroupPlaceholder = "<$GROUP>";
inline constexpr const char *kLangPlaceholder = "<$LANG>";

std::vector<EngineDescriptor> BuildNewsEngineTable();
// "http://" + the news host (the host of the service table, key "news-groups").
std::string NewsSearchHost();

// The language list: 27 items, item 0 "any language" with an empty code.
inline constexpr int kNewsLanguageCount = 27;
const char *NewsLanguageName(int index);
// The code of an item; empty outside 0..26.
std::string NewsLanguageCode(int index);

// The newsgroup row of the news page, as the request reads it.
struct NewsRestriction {
    bool open = false;       // the row is shown ("-")
    std::string group;       // the newsgroup box's text
    int language = 0;        // the language list's item
};
// "&as_ugroup=" + the trimmed group when the row is open and the group is not empty.
std::string NewsGroupPart(const NewsRestriction &r);
// The language code when the row is open, else empty.
std::string NewsLangPart(const NewsRestriction &r);

// The first request address: the row's template for its mode (the news row always uses
// All), "<$QRY>", "<$GROUP>" and "<$LANG>" each replaced once in that order, on the host.
// `query` is prepared (blanks as "+"); it goes into the address as every query does
// (QueryAddress). `expandedOut` receives the query before that encoding.
std::string NewsFirstAddress(const EngineDescriptor &row, const std::string &query, const NewsRestriction &r,
                             std::string *expandedOut = nullptr);

// "Browse the selected newsgroup": the news host + "/groups?hl=fr&lr=&safe=off&group=" + group.
std::string NewsGroupBrowseAddress(std::string_view newsgroup);

// ---- Software: "C|NET" (slot 0) and "TuCows" (slot 1); one mode for both.
inline constexpr int kSoftwareEngineCount = 2;
std::vector<EngineDescriptor> BuildSoftwareEngineTable();
void SetSoftwareSearchMode(std::vector<EngineDescriptor> &table, SearchMode mode);
// "http://" + the engine's host.
std::string SoftwareSearchHost(int slot);
// The first request address of a row (ExpandQuery); `expandedOut` gets the expanded query.
std::string SoftwareFirstAddress(const EngineDescriptor &row, const std::string &query,
                                 std::string *expandedOut = nullptr);

// The vertical engines by name ("GoogleNews", "C|NET", "TuCows"; ASCII case ignored).
enum class VerticalEngine { None, News, Cnet, TuCows };
VerticalEngine FindVerticalEngine(std::string_view name);

}  // namespace qm
