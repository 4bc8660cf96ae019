#pragma once
// Merging results that lead to the same site (an option of the web search, off by default):
// a row whose shown address ("Location") is already listed is not added again; the listed row
// counts one more engine, and its Source reads "Altavista +3".
//
// Addresses are compared without the scheme, the case of the host, a leading "www." and a
// trailing "/": "HTTP://WWW.Example.org/" and "example.org" are the same site.
#include "search/ResultListModel.h"

#include <QPersistentModelIndex>
#include <string>
#include <string_view>
#include <unordered_map>

namespace qm {

// The comparison key of a shown address.
std::string SiteKey(std::string_view location);
// Engines counted in a Source text: "Altavista +3" gives 4, "Altavista" 1.
int SourceEngineCount(std::string_view source);
// The engine name of a Source text, without its count.
std::string SourceEngineName(std::string_view source);

class SiteMerger {
public:
    explicit SiteMerger(ResultListModel &list, size_t locationColumn = kLocation, size_t sourceColumn = kSource)
        : list_(list), location_(locationColumn), source_(sourceColumn) {}

    // A new search.
    void Clear() { sites_.clear(); }
    // Knows every row of the list, and only those.
    void Rebuild();
    // When the row's site is listed, that row counts one more engine and true is returned.
    bool MergeInto(const ResultRow &row);
    // The row just appended at `index` is its site's first.
    void Listed(int index);

private:
    ResultListModel &list_;
    size_t location_, source_;
    std::unordered_map<std::string, QPersistentModelIndex> sites_;
};

}  // namespace qm
