#pragma once
// The page readers of the newsgroup article search and the software search, on the web
// readers' frame (engines/web/WebReadersFrame.h): tab, CR and LF skipped by the matcher and
// blanks in captures, captures cut to 511 characters, the sink pumped every 512 characters
// and the read ended when it answers false.
//
// Rows handed to the sink:
//   news      Title, Newsgroups, Source, Description, Address   (identity: Address)
//   software  Name, Type, Size, Comments, Source, Description, URL, HomePage (identity: Name)
// The sink's IsDuplicateUrl is asked with the identity.
#include "engines/vertical/VerticalTables.h"
#include "engines/web/WebReaders.h"

#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace qm {

// Column indexes of the two lists' sub-items.
enum NewsColumn : size_t { kNewsTitle = 0, kNewsGroups, kNewsSource, kNewsDescription, kNewsAddress, kNewsColumns };
enum SoftwareColumn : size_t {
    kPrgName = 0, kPrgType, kPrgSize, kPrgComments, kPrgSource, kPrgDescription, kPrgUrl, kPrgHomePage, kPrgColumns
};

// The caption of the catalogue list's column 4, which TuCows comments quote.
inline constexpr const char *kRatedCaption = "Rated";

void FindNewsPageLinks(std::string_view page, ReaderSink &sink);
void ParseNewsResults(std::string_view page, ReaderSink &sink);
void FindCnetPageLinks(std::string_view page, ReaderSink &sink);
void ParseCnetResults(std::string_view page, ReaderSink &sink);
void FindTuCowsPageLinks(std::string_view page, ReaderSink &sink);
void ParseTuCowsResults(std::string_view page, ReaderSink &sink, const std::string &ratedCaption = kRatedCaption);

// The software catalogue's listing pages (rows: Name, Type, Size, Rated, #Downloads, Date,
// Description, URL; identity Name). Ordinary sub-categories use the C|NET page links and
// records (the Date is the text the search passes over, no Comments); "most popular" ones
// take only list.list / list.next / list.prev page links and end a page's list at the first.
void ParseCatalogueList(std::string_view page, ReaderSink &sink);
void FindPopularPageLinks(std::string_view page, ReaderSink &sink);
void ParsePopularList(std::string_view page, ReaderSink &sink);
void RunCatalogueReaders(bool popular, std::string_view page, ReaderSink &sink);

// Both readers of an engine, the page-link reader first; the result reader only while the
// sink still reads.
void RunVerticalReaders(VerticalEngine engine, std::string_view page, ReaderSink &sink,
                        const std::string &ratedCaption = kRatedCaption);

// What a software detail page gives. Landmarks not found leave their field empty.
struct SoftwareDetail {
    std::string download, author, opinions;
    bool mentionsOpinions = false;
    std::string description;  // cut to 2047 characters before cleaning
};
inline constexpr size_t kMaxDetailDescription = 2047;

// Reads a detail page. `host` completes the relative links; `keepReading` is asked every
// 512 characters (pump events; false ends the read).
SoftwareDetail ReadSoftwareDetailPage(std::string_view page, const std::string &host,
                                      const std::function<bool()> &keepReading = {});

// A sink that keeps rows in memory, for quillmar-cli parse, the tests and the fuzz targets.
class VerticalCollectingSink : public ReaderSink {
public:
    VerticalCollectingSink(std::string host, std::string name, size_t columns, size_t identity)
        : host_(std::move(host)), name_(std::move(name)), columns_(columns), identity_(identity) {}
    std::string SearchHost() const override { return host_; }
    std::string EngineName() const override { return name_; }
    PageQueue &Queue() override { return queue_; }
    bool IsDuplicateUrl(std::string_view identity) const override;
    bool AddResult(ResultRow row) override;
    bool KeepReading() override { return ++pumps, stopAtPump == 0 || pumps < stopAtPump; }

    size_t limit = 0;       // false once this many rows are held (0: none)
    size_t stopAtPump = 0;  // false from this pump on (0: never)
    size_t pumps = 0;
    const std::vector<ResultRow> &Rows() const { return rows_; }

private:
    std::string host_, name_;
    size_t columns_, identity_;
    PageQueue queue_;
    std::vector<ResultRow> rows_;
};

// One page of a vertical engine read as the first page of a search (empty list, no limit,
// one unrelated page already queued). `host` replaces the search host when not empty.
struct VerticalParsed {
    std::vector<ResultRow> rows;
    std::vector<std::string> pages;
};
VerticalParsed ParseVerticalPage(VerticalEngine engine, const std::string &host, std::string_view page);
// The same for a catalogue listing page (`host`: the catalogue host).
VerticalParsed ParseCataloguePage(bool popular, const std::string &host, std::string_view page);

}  // namespace qm
