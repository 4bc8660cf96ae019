#pragma once
// The headline parsers: one routine per channel page layout (25 routines for the 42 channels),
// each a byte matcher over the page that appends rows of four texts to its node's list.
//
// Every routine clears the node's list or not, appends its header and two spacer rows, walks
// the page once or twice with the readers' scanning frame (tab, CR and LF are passed over and
// read as blanks, a mismatching byte is not tried again as a landmark's first byte, captures
// are cut to 511 bytes, events are pumped every 512 bytes), appends two spacer rows and then
// reports its completion. A stop ends the walk at once; the closing rows and the completion
// still follow.
#include <string>
#include <string_view>
#include <unordered_set>
#include <vector>

namespace qm {

struct HeadlineRow {
    std::string title;
    std::string url;      // empty for header and spacer rows
    std::string channel;  // the producing channel's name
    std::string tag;      // country tag: "US", "UK", "FR", "CA", "DE", "NL", "ES", "AU", "BBC"
};
using HeadlineList = std::vector<HeadlineRow>;

// A node's headline list with an index of its addresses (ASCII case folded), so that the
// duplicate test of every candidate costs the same however long the list has grown.
class HeadlineNodeList {
public:
    const HeadlineList &Rows() const { return rows_; }
    bool empty() const { return rows_.empty(); }
    size_t size() const { return rows_.size(); }
    void Clear();
    void Add(HeadlineRow row);
    void Assign(HeadlineList rows);
    // True when a row has this URL, ignoring ASCII case.
    bool HasUrl(std::string_view url) const;

private:
    HeadlineList rows_;
    std::unordered_set<std::string> urls_;
};

// Where a parse puts its rows. The update controller's request objects implement it over the
// node lists; the CLI and the tests over a list of their own.
class HeadlineSink {
public:
    virtual ~HeadlineSink() = default;
    // Pumps pending events; false once the update was stopped (the walk then ends).
    virtual bool KeepReading() = 0;
    virtual void ClearList() = 0;
    virtual void AddRow(HeadlineRow row) = 0;
    // True when the node's list holds a row with this URL (ASCII case ignored).
    virtual bool HasUrl(std::string_view url) const = 0;
    // The parse is over: the node is marked and saved as its completion rule says.
    virtual void Complete() = 0;
};

struct HeadlineInput {
    std::string channel;   // the channel's name (third text of its rows)
    std::string pageRoot;  // scheme and host of the channel's page, e.g. "http://www.tf1.example"
    int year = 0;          // today's year (the Spanish pages' paths carry it)
};

inline constexpr int kHeadlineRoutineCount = 25;

// The routine (0 to 24) that reads pages of a section, -1 for an unused section.
int HeadlineRoutineOf(int section);
// The section title a shared routine gets for a section ("" for single-channel sections).
const char *SectionTitleOf(int section);
// Whether the routine of a section empties the node's list first.
bool HeadlineRoutineClears(int section);

// Runs the parser of `section` over `page`. A section without a routine reads nothing and does
// not complete; so does an empty page.
void ParseHeadlines(int section, std::string_view page, const HeadlineInput &input, HeadlineSink &sink);

// A stored text with CR, LF and every other control byte turned into blanks.
std::string WithoutControlBytes(std::string text);

}  // namespace qm
