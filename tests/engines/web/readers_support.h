#pragma once
// Helpers shared by the reader tests: run both readers of a selector over a page.
#include <string>
#include <vector>

#include "engines/web/WebReaders.h"
#include "engines/web/WebReadersSink.h"

namespace qm::readers_test {

inline const std::string kHost = "http://host.example";

struct Row {
    std::string site, location, source, description, url;
    bool operator==(const Row &) const = default;
};

inline std::ostream &operator<<(std::ostream &os, const Row &r) {
    return os << "{site=" << r.site << " | location=" << r.location << " | source=" << r.source
              << " | description=" << r.description << " | url=" << r.url << "}";
}

struct Parsed {
    std::vector<Row> rows;
    std::vector<std::string> pages;  // queued by the page-link reader, in order
    size_t pumps = 0;
};

inline Parsed Collect(CollectingSink &sink, size_t seeded) {
    Parsed p;
    for (const auto &r : sink.Rows())
        p.rows.push_back({r.subItems[0], r.subItems[1], r.subItems[2], r.subItems[3], r.subItems[4]});
    for (size_t i = seeded; i < sink.Queue().size(); ++i) p.pages.push_back(sink.Queue()[i].address);
    p.pumps = sink.pumps;
    return p;
}

// Both readers, in order, as one answer page of an engine called "E".
inline Parsed Parse(int selector, const std::string &page, size_t limit = 0) {
    CollectingSink sink(kHost, "E");
    sink.limit = limit;
    sink.Queue().Append("http://first.example/", "ON");
    RunReaders(selector, page, sink);
    return Collect(sink, 1);
}

inline Parsed Links(int selector, const std::string &page) {
    CollectingSink sink(kHost, "E");
    RunPageLinkReader(selector, page, sink);
    return Collect(sink, 0);
}

inline Parsed Results(int selector, const std::string &page) {
    CollectingSink sink(kHost, "E");
    RunResultReader(selector, page, sink);
    return Collect(sink, 0);
}

}  // namespace qm::readers_test
