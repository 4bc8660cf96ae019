#pragma once
// One row of a result list: its 1-based number as caption, a verification icon index
// and the sub-texts in column order. Texts are kept as the bytes they arrived as.
#include <string>
#include <vector>

namespace qm {

struct ResultRow {
    std::string caption;               // 1-based position as decimal text (or a sort key while sorting)
    int image = -1;                    // verification icon index, -1 for none
    std::vector<std::string> subItems; // web list: Site, Location, Source, Description, URL
    bool checked = false;              // check box of column 0 (shown during a verification)

    // The address an action uses: the "URL" sub-item (index 4 in the web list) when not
    // empty, else the "Location" sub-item (index 1).
    const std::string &Address(size_t urlColumn = 4, size_t locationColumn = 1) const {
        static const std::string empty;
        if (urlColumn < subItems.size() && !subItems[urlColumn].empty()) return subItems[urlColumn];
        if (locationColumn < subItems.size()) return subItems[locationColumn];
        return empty;
    }
};

// Column indexes of the web list's sub-items.
enum WebColumn : size_t { kSite = 0, kLocation = 1, kSource = 2, kDescription = 3, kUrl = 4 };

}  // namespace qm
