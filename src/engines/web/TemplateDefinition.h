#pragma once
// Web engines described by files instead of code.
//
// The group file Engines/WebSearch.grp lists engine names in a "<#FILES>" block and holds
// one definition block per name ("<%Name>" ... "</%Name>"). A definition gives the
// service's query address per search mode and a small template language that says where
// each result begins and which parts of it are the link, the title and the description:
//
//   LinkTemplate = <li><a href="[URL]">[TITLE]</a><p>[TEXT]</p>
//
// A template compiles to a list of segments. Each segment is a kind (what to do with the
// text it passes over) and an end landmark (the literal text that ends it).
#include <cstdint>
#include <iosfwd>
#include <string>
#include <string_view>
#include <vector>

#include "search/SearchMode.h"

namespace qm {

enum class SegmentKind : std::uint8_t {
    None = 0,      // a literal with no token before it: skipped like kind Skip
    Link = 1,      // "[URL]"
    BaseLink = 2,  // "[BASEURL]": the definition's base URL followed by the capture
    Title = 3,     // "[TITLE]"
    Text = 4,      // "[TEXT]"
    Skip = 5,      // skip to a literal text
    Location = 6,  // "[LOCATION]"
};

struct TemplateSegment {
    SegmentKind kind = SegmentKind::None;
    std::string text;  // end landmark: the literal that ends a capture or is sought by a skip

    bool operator==(const TemplateSegment &) const = default;
};

// For test output.
void PrintTo(const TemplateSegment &segment, std::ostream *os);

using TemplateSegments = std::vector<TemplateSegment>;

inline constexpr size_t kMaxTemplateSegments = 32;
inline constexpr size_t kMaxTemplateLength = 510;
inline constexpr size_t kMaxEngineDefinitions = 50;
inline constexpr size_t kMaxGroupLineLength = 2048;

// Compiles a template text. Texts longer than kMaxTemplateLength and templates of more
// than kMaxTemplateSegments segments keep what fits; a line saying what was left out is
// appended to `notes` (when given), prefixed with `what` (e.g. "Foo: LinkTemplate").
TemplateSegments CompileTemplate(std::string_view text, std::vector<std::string> *notes = nullptr,
                                 std::string_view what = "template");

// One engine definition.
struct TWebBot {
    std::string listedName;  // the name under which the group file lists it
    std::string engineName;  // "Engine": shown in the Source column
    std::string company, homePage, baseUrl, comments, category;
    std::uint8_t typeMark = 0;  // set by any "Type" other than "BF"; has no effect on searching
    std::uint8_t included = 1;  // "UsedByDefault": only "YES" (or no key) takes part
    SearchMode mode = SearchMode::All;
    std::string allUrl, anyUrl, boolUrl, exactUrl;
    std::string linkAreaStartAt, linkAreaStopAt, linkTemplateText;
    std::string nextAreaStartAt, nextAreaStopAt, nextTemplateText;
    TemplateSegments linkTemplate;
    TemplateSegments nextTemplate;
    bool hasBlock = false;  // a definition block was found for the listed name

    // The query address of a search mode (before the query is put in).
    const std::string &AddressFor(SearchMode m) const;
    // The request address for a query already expanded for the definition's mode: the
    // mode's address with its first "[QRY]" (either case) replaced by it, encoded as every
    // query put into an address is (EncodeQueryForAddress).
    std::string RequestAddress(std::string_view expandedQuery) const;
};

using StringLines = std::vector<std::string>;

// Lines of a group file: LF ends a line, CR bytes are dropped, each line is cut to
// kMaxGroupLineLength bytes.
StringLines SplitGroupLines(std::string_view bytes);

// Replaces the address placeholders "[ALLURL]", "[ANYURL]", "[BOOLURL]", "[EXACTURL]" in
// the four addresses, in the fixed order All, Any, Bool, Exact; each address sees the
// resolved form of the ones before it and the raw form of the ones after it.
void ResolveAddresses(TWebBot &bot);

// Fills `bot` from the block of `lines` that starts at the first line holding `tag` (e.g.
// "<%Foo>", ignoring case) and ends at the first later line holding the closing tag
// ("</%Foo>"); resolves the addresses and compiles both templates. A missing block leaves
// the definition empty (hasBlock false). Things left out go to `notes`.
void LoadEngineDefinition(const StringLines &lines, std::string_view tag, TWebBot &bot,
                          std::vector<std::string> *notes = nullptr);

// The definition table: the engines of one group file, in list order.
class TemplateEngineTable {
public:
    // Loads a group file. Returns whether at least one definition was loaded. A missing
    // file, no "<#FILES>" block or an empty one change nothing. A list of more than
    // kMaxEngineDefinitions names loads the first ones and notes the rest.
    bool LoadEngineGroup(const std::string &path);
    // The same over file contents already read.
    bool LoadEngineGroupText(std::string_view bytes);

    const std::vector<TWebBot> &Definitions() const { return defs_; }
    std::vector<TWebBot> &Definitions() { return defs_; }
    size_t Count() const { return defs_.size(); }

    // The definition whose engine name or listed name equals `name` ignoring ASCII
    // case; -1 when none.
    int Find(std::string_view name) const;

    // Sets the search mode of every definition (the web page's mode menu).
    void SetSearchMode(SearchMode mode);

    // What the last load left out or could not find, one line each (UTF-8).
    const std::vector<std::string> &Notes() const { return notes_; }

    void Clear() {
        defs_.clear();
        notes_.clear();
    }

private:
    std::vector<TWebBot> defs_;
    std::vector<std::string> notes_;
};

// The group file of a data root: <root>/Engines/WebSearch.grp, or the copy bundled with the
// program when the data root has none. Returns whether a definition was loaded.
bool LoadDataRootEngines(TemplateEngineTable &table, const std::string &root);

}  // namespace qm
