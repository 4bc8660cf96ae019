#include "engines/web/WebReadersSink.h"

#include <QString>

#include "engines/web/WebEngineTable.h"
#include "toolkit/DisplayText.h"
#include "toolkit/JsonText.h"

namespace qm {

namespace {

std::string Lower(std::string_view text) {
    std::string out(text);
    for (char &c : out)
        if (c >= 'A' && c <= 'Z') c = char(c + 32);
    return out;
}

std::string Utf8(std::string_view bytes) { return DisplayText(bytes).toStdString(); }

void JsonString(std::string &out, std::string_view bytes) { AppendJsonString(out, Utf8(bytes)); }

void TsvField(std::string &out, std::string_view bytes) {
    for (char c : Utf8(bytes)) {
        switch (c) {
            case '\\': out += "\\\\"; break;
            case '\t': out += "\\t"; break;
            case '\r': out += "\\r"; break;
            case '\n': out += "\\n"; break;
            default: out += c;
        }
    }
}

const std::string &SubItem(const ResultRow &row, size_t i) {
    static const std::string empty;
    return i < row.subItems.size() ? row.subItems[i] : empty;
}

}  // namespace

bool CollectingSink::IsDuplicateUrl(std::string_view url) const {
    return addresses_.count(Lower(url)) != 0;
}

bool CollectingSink::AddResult(ResultRow row) {
    row.caption = std::to_string(rows_.size() + 1);
    row.image = -1;
    row.subItems.resize(5);
    addresses_.insert(Lower(row.Address()));
    rows_.push_back(std::move(row));
    return limit == 0 || rows_.size() < limit;
}

bool CollectingSink::KeepReading() {
    ++pumps;
    return stopAtPump == 0 || pumps < stopAtPump;
}

void CollectingSink::ClearRows() {
    rows_.clear();
    addresses_.clear();
}

bool ParseEnginePage(std::string_view engine, const std::string &host, std::string_view page, ParsedPage &out) {
    const auto table = BuildWebEngineTable();
    int row = FindWebEngineByName(table, std::string(engine));
    if (row < 0 && !engine.empty() && engine.size() <= 3 &&
        engine.find_first_not_of("0123456789") == std::string_view::npos)
        row = FindWebEngineBySelector(table, std::stoi(std::string(engine)));
    if (row < 0 || row >= kWebEngineCount) return false;

    CollectingSink sink(host.empty() ? ServiceRoot(WebEngineHostKeys()[size_t(row)]) : host, table[size_t(row)].name);
    // One page already in the queue, as the engine's first page is during a search.
    sink.Queue().Append("http://unrelated.example/first-page", "ON");
    const size_t seeded = sink.Queue().size();
    RunReaders(table[size_t(row)].selector, page, sink);

    out.rows = sink.Rows();
    out.pages.clear();
    for (size_t i = seeded; i < sink.Queue().size(); ++i) out.pages.push_back(sink.Queue()[i].address);
    return true;
}

std::string FormatParseJson(const std::vector<ResultRow> &rows, const std::vector<std::string> &pages) {
    static const char *keys[] = {"site", "location", "source", "description", "url"};
    std::string out = "{\"rows\": [";
    for (size_t r = 0; r < rows.size(); ++r) {
        out += r ? ",\n  {" : "\n  {";
        for (size_t i = 0; i < 5; ++i) {
            if (i) out += ", ";
            out += '"';
            out += keys[i];
            out += "\": ";
            JsonString(out, SubItem(rows[r], i));
        }
        out += '}';
    }
    out += rows.empty() ? "],\n \"pages\": [" : "\n ],\n \"pages\": [";
    for (size_t p = 0; p < pages.size(); ++p) {
        out += p ? ",\n  " : "\n  ";
        JsonString(out, pages[p]);
    }
    out += pages.empty() ? "]}\n" : "\n ]}\n";
    return out;
}

std::string FormatParseTsv(const std::vector<ResultRow> &rows, const std::vector<std::string> &pages) {
    std::string out;
    for (const auto &row : rows) {
        for (size_t i = 0; i < 5; ++i) {
            if (i) out += '\t';
            TsvField(out, SubItem(row, i));
        }
        out += '\n';
    }
    for (const auto &page : pages) {
        TsvField(out, page);
        out += '\n';
    }
    return out;
}

}  // namespace qm
