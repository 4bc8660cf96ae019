#pragma once
// A reader sink that keeps its rows in memory: for quillmar-cli parse, the tests, the fuzz
// targets and the benchmarks. The search controller has its own sink bound to the
// result list model.
#include <cstddef>
#include <string>
#include <unordered_set>
#include <vector>

#include "engines/web/WebReaders.h"

namespace qm {

class CollectingSink : public ReaderSink {
public:
    CollectingSink(std::string searchHost, std::string engineName)
        : host_(std::move(searchHost)), name_(std::move(engineName)) {}

    std::string SearchHost() const override { return host_; }
    std::string EngineName() const override { return name_; }
    PageQueue &Queue() override { return queue_; }
    // An address is listed when it equals a row's address ("URL" when set, else
    // "Location"), ignoring case.
    bool IsDuplicateUrl(std::string_view url) const override;
    // Numbers the row and keeps it; false once `limit` rows are held (no limit when 0).
    bool AddResult(ResultRow row) override;
    // Counts the call; false from call number stopAtPump on (never when 0).
    bool KeepReading() override;

    size_t limit = 0;
    size_t stopAtPump = 0;
    size_t pumps = 0;

    const std::vector<ResultRow> &Rows() const { return rows_; }
    void ClearRows();

private:
    std::string host_, name_;
    PageQueue queue_;
    std::vector<ResultRow> rows_;
    std::unordered_set<std::string> addresses_;  // lower-cased row addresses
};

// What the readers of one engine take from one answer page: the rows, and the further
// pages queued (in order).
struct ParsedPage {
    std::vector<ResultRow> rows;
    std::vector<std::string> pages;
};

// Runs the page-link reader and then the result reader of the built-in web engine named
// `engine` (ASCII case ignored; a number names a selector) over `page`, as one answer page
// of a search: empty list, no result limit, one unrelated page already queued. `host`
// replaces the engine's search host when not empty. False for an unknown engine.
bool ParseEnginePage(std::string_view engine, const std::string &host, std::string_view page, ParsedPage &out);

// Output of quillmar-cli parse. Every field is turned into UTF-8 by the one display rule.
// JSON: {"rows": [{"site", "location", "source", "description", "url"}...], "pages": [...]}.
std::string FormatParseJson(const std::vector<ResultRow> &rows, const std::vector<std::string> &pages);
// TSV: one row per line, its five fields separated by tabs, then one line per queued page
// address. Backslash, tab, CR and LF inside a text are written as \\, \t, \r and \n.
std::string FormatParseTsv(const std::vector<ResultRow> &rows, const std::vector<std::string> &pages);

}  // namespace qm
