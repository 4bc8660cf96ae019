#pragma once
// Applying a compiled template to a result page.
//
// The matcher walks the page once, forward, segment after segment: each segment's end
// landmark is sought (letters in either case; tab, CR and LF are passed over and read as
// blanks), and the text passed over is the segment's capture. After the last segment the
// record is complete and the walk starts again with the first segment.
#include <functional>
#include <string>
#include <string_view>

#include "engines/web/TemplateDefinition.h"
#include "engines/web/WebReaders.h"

namespace qm {

// The part of a page a template is applied to: positions [start, stop).
struct TemplateArea {
    size_t start = 0;
    size_t stop = 0;
};

// Start of an area: right after the first occurrence of `landmark` (ignoring case);
// 0 when the landmark is empty or absent.
size_t FindAreaStart(std::string_view page, std::string_view landmark);

// End of an area: the first character of the first occurrence of `landmark` at or after
// `from`; the page length when the landmark is empty or absent.
size_t FindAreaStop(std::string_view page, std::string_view landmark, size_t from = 0);

TemplateArea FindArea(std::string_view page, std::string_view startAt, std::string_view stopAt);

// The four values of one record, after cleaning.
struct TemplateRecord {
    std::string link, title, text, location;
};

// Walks `area` of `page` with `segments`, handing each complete record to `onRecord`
// (which returns false to stop). `keepReading` is called before positions 0, 512, 1024, ...
// of the area; false ends the walk at once. Captures are cut to kMaxField bytes.
void WalkTemplate(std::string_view page, TemplateArea area, const TemplateSegments &segments,
                  std::string_view baseUrl, const std::function<bool()> &keepReading,
                  const std::function<bool(TemplateRecord &)> &onRecord);

// The row rule: a record with a title and a description makes a row when it has a link;
// any other record makes a row when it has a location.
bool RecordMakesRow(const TemplateRecord &record);

// The row of a record: Site = title, Location = link, Source = engine name,
// Description = description, URL = location.
ResultRow RecordRow(const TemplateRecord &record, const std::string &engineName);

// Fills the result list from the link area of a page with the definition's link template.
// A row whose address is already listed is left out; the sink counts each row added and
// applies the result limit (AddResult false stops matching). Returns the rows added.
int MatchTemplate(const TWebBot &bot, std::string_view page, ReaderSink &sink);

// Follows further result pages: applies the next template to the next-page area and
// queues the address of every record found (the link, else the location), made absolute
// against `pageAddress`. A page on which a given NextAreaStartAt does not occur has no
// further pages. Returns the number of addresses newly queued.
int MatchNextTemplate(const TWebBot &bot, std::string_view page, std::string_view pageAddress,
                      ReaderSink &sink);

// `link` made absolute against the address of the page it was found on. Absolute
// addresses and anything the page address gives no base for come back unchanged.
std::string ResolveAgainst(std::string_view pageAddress, std::string_view link);

}  // namespace qm
