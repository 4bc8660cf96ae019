#pragma once
// The page readers of the built-in web engines.
//
// Every parser selector (0 to 12 and 14 to 17) has two readers that are run, in this
// order, on each page an engine answers with status 200:
//   - the page-link reader finds the addresses of further result pages of the same
//     engine and appends them to the engine's PageQueue;
//   - the result reader cuts the page into result records (title, address, engine
//     name, description, click-through address) and hands each one to the sink.
//
// Readers do not parse HTML: they look for fixed landmarks with a character-by-character
// matcher and take the text between them. Each reader works on its own copy of the page,
// so the two readers of a page see the same bytes.
#include <string>
#include <string_view>

#include "search/PageQueue.h"
#include "search/ResultRow.h"

namespace qm {

// What a reader needs from the engine it reads for. The search controller implements it
// for each running engine; quillmar-cli parse and the tests have their own.
class ReaderSink {
public:
    virtual ~ReaderSink() = default;

    // The engine's search host prefix, scheme included and without a trailing "/",
    // e.g. "http://www.altavista.example". Completes relative links.
    virtual std::string SearchHost() const = 0;

    // The engine's name; goes into the "Source" column of every row it adds.
    virtual std::string EngineName() const = 0;

    // The engine's queue of result pages. Readers only append to it (PageQueue::AddPage,
    // which refuses an address already queued, ignoring case).
    virtual PageQueue &Queue() = 0;

    // True when the result list already holds this address (ignoring case).
    virtual bool IsDuplicateUrl(std::string_view url) const = 0;

    // Appends the row to the result list (the sink sets caption and image), counts it
    // and applies the result limit. Returns false to stop reading the page at once.
    // Sub-items are Site, Location, Source, Description, URL (see WebColumn).
    virtual bool AddResult(ResultRow row) = 0;

    // Called before the characters at positions 0, 512, 1024, ... of the page: processes
    // pending events and returns false when the search was stopped or the window is
    // closing, which ends the read at once.
    virtual bool KeepReading() = 0;
};

// True for the selectors that have readers (0 to 12 and 14 to 17).
bool HasReaders(int selector);

// Run the page-link reader / the result reader of a selector over one page. An empty
// page and a selector without readers read nothing. The page is not modified.
void RunPageLinkReader(int selector, std::string_view page, ReaderSink &sink);
void RunResultReader(int selector, std::string_view page, ReaderSink &sink);

// Both readers in order, as the engine's request-done handler runs them.
inline void RunReaders(int selector, std::string_view page, ReaderSink &sink) {
    RunPageLinkReader(selector, page, sink);
    RunResultReader(selector, page, sink);
}

// Longest field a reader captures; longer fields are cut to their first kMaxField bytes.
constexpr size_t kMaxField = 511;

// Readers pump events every kPumpInterval characters.
constexpr size_t kPumpInterval = 512;

}  // namespace qm
