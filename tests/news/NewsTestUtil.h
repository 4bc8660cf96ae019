#pragma once
// A list sink for the parsers, and rows written compactly for comparisons.
#include "news/HeadlineParsers.h"
#include "toolkit/Misc.h"

#include <string>
#include <vector>

namespace qm::test {

class ListSink : public HeadlineSink {
public:
    // Stops after `pumps` calls of KeepReading (-1: never).
    explicit ListSink(int pumps = -1) : pumps_(pumps) {}
    bool KeepReading() override { return pumps_ < 0 || pumps_-- > 0; }
    void ClearList() override { rows.clear(); }
    void AddRow(HeadlineRow row) override { rows.push_back(std::move(row)); }
    bool HasUrl(std::string_view url) const override {
        for (const auto &r : rows)
            if (!r.url.empty() && SameTextNoCase(r.url, url)) return true;
        return false;
    }
    void Complete() override { ++completed; }
    HeadlineList rows;
    int completed = 0;

private:
    int pumps_;
};

// The heading of a header row, without its dashes.
inline std::string Heading(const std::string &title) {
    const std::string dashes = "---------------- ";
    if (title.size() < 2 * dashes.size() || title.compare(0, dashes.size(), dashes) != 0) return title;
    return title.substr(dashes.size(), title.size() - 2 * dashes.size());
}

// "title|url" for headlines, "=title" for headers, "" for spacers.
inline std::vector<std::string> Compact(const HeadlineList &rows) {
    std::vector<std::string> out;
    for (const auto &r : rows)
        out.push_back(r.url.empty() ? (r.title.empty() ? "" : "=" + Heading(r.title)) : r.title + "|" + r.url);
    return out;
}

// Only the headlines, "title|url".
inline std::vector<std::string> Headlines(const HeadlineList &rows) {
    std::vector<std::string> out;
    for (const auto &r : rows)
        if (!r.url.empty()) out.push_back(r.title + "|" + r.url);
    return out;
}

}  // namespace qm::test
