#pragma once
// The smart finder's built-in category tree: 3570 entries in depth-first order, each one
// to three names separated by tabs (top; top, subcategory; top, subcategory, leaf).
// Entries with more tabs, or whose parent is missing, are never shown.
#include <string>
#include <string_view>
#include <vector>

namespace qm {

// The raw entries, tabs and surrounding blanks included, in table order.
const std::vector<std::string> &SmartCategoryTable();
// Reads the table's text: one entry a line; empty lines and lines starting with "#" are notes.
std::vector<std::string> ParseSmartCategories(std::string_view text);

// What the category list shows at each level, in table order, names trimmed.
// Tops: entries without a tab.
std::vector<std::string> SmartTops(const std::vector<std::string> &table = SmartCategoryTable());
// Subcategories of `top`: entries with exactly one tab whose first name equals `top`
// (ASCII case ignored).
std::vector<std::string> SmartSubcategories(std::string_view top,
                                            const std::vector<std::string> &table = SmartCategoryTable());
// Leaves of `top` / `sub`: entries with exactly two tabs that begin with top, tab, sub, tab
// (ASCII case ignored).
std::vector<std::string> SmartLeaves(std::string_view top, std::string_view sub,
                                     const std::vector<std::string> &table = SmartCategoryTable());

// The smart query of a leaf caption: trimmed, every blank replaced by "+".
std::string SmartQueryOf(std::string_view caption);
// A leaf's cache: the smart query and ".SMRCache", cleaned up as a list file name, in the
// web-search cache folder of the data root.
extern const char *const kSmartCacheExtension;  // ".SMRCache"
std::string SmartCacheFileName(std::string_view caption);
std::string SmartCacheFolder(const std::string &dataRoot);
std::string SmartCachePath(const std::string &dataRoot, std::string_view caption);
bool SmartCacheExists(const std::string &dataRoot, std::string_view caption);

// A place in the tree named by a path of names joined by "/" (ASCII case ignored, names
// trimmed): "Computing", "Computing/Computer Hardware", "Computing/Computer Hardware/Hard
// Drives". Each name must be shown at its level under the names before it.
struct SmartPlace {
    bool found = false;
    int level = 0;  // names in the path: 0 (empty path) to 3
    std::string top, sub, leaf;  // as the table spells them
};
SmartPlace FindSmartPlace(std::string_view path, const std::vector<std::string> &table = SmartCategoryTable());

}  // namespace qm
