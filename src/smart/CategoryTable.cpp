#include "smart/CategoryTable.h"

#include "search/ResultCache.h"
#include "toolkit/Misc.h"

#include <algorithm>
#include <sys/stat.h>

namespace qm {

extern const std::string_view kSmartCategoryText;
const char *const kSmartCacheExtension = ".SMRCache";

namespace {

size_t Tabs(std::string_view entry) { return size_t(std::count(entry.begin(), entry.end(), '\t')); }

// The names of an entry, trimmed.
std::vector<std::string> Names(std::string_view entry) {
    std::vector<std::string> names;
    size_t pos = 0;
    while (true) {
        size_t tab = entry.find('\t', pos);
        names.push_back(Trim(entry.substr(pos, tab == std::string_view::npos ? std::string_view::npos : tab - pos)));
        if (tab == std::string_view::npos) break;
        pos = tab + 1;
    }
    return names;
}

bool StartsNoCase(std::string_view text, std::string_view prefix) {
    return text.size() >= prefix.size() && SameTextNoCase(text.substr(0, prefix.size()), prefix);
}

}  // namespace

std::vector<std::string> ParseSmartCategories(std::string_view text) {
    std::vector<std::string> out;
    size_t pos = 0;
    while (pos < text.size()) {
        size_t end = text.find('\n', pos);
        if (end == std::string_view::npos) end = text.size();
        std::string_view line = text.substr(pos, end - pos);
        if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
        if (!line.empty() && line.front() != '#') out.emplace_back(line);
        pos = end + 1;
    }
    return out;
}

const std::vector<std::string> &SmartCategoryTable() {
    static const std::vector<std::string> table = ParseSmartCategories(kSmartCategoryText);
    return table;
}

std::vector<std::string> SmartTops(const std::vector<std::string> &table) {
    std::vector<std::string> out;
    for (const auto &e : table)
        if (Tabs(e) == 0) out.push_back(Trim(e));
    return out;
}

std::vector<std::string> SmartSubcategories(std::string_view top, const std::vector<std::string> &table) {
    std::vector<std::string> out;
    for (const auto &e : table) {
        if (Tabs(e) != 1) continue;
        const size_t tab = e.find('\t');
        if (SameTextNoCase(std::string_view(e).substr(0, tab), top)) out.push_back(e.substr(tab + 1));
    }
    return out;
}

std::vector<std::string> SmartLeaves(std::string_view top, std::string_view sub, const std::vector<std::string> &table) {
    std::vector<std::string> out;
    const std::string prefix = std::string(top) + "\t" + std::string(sub) + "\t";
    for (const auto &e : table)
        if (Tabs(e) == 2 && StartsNoCase(e, prefix)) out.push_back(Trim(std::string_view(e).substr(e.rfind('\t') + 1)));
    return out;
}

std::string SmartQueryOf(std::string_view caption) { return SearchQueryOf(caption); }

std::string SmartCacheFileName(std::string_view caption) { return CacheFileName(caption, kSmartCacheExtension); }

std::string SmartCacheFolder(const std::string &dataRoot) {
    return dataRoot + "/Cache/" + kWebCacheFolder;
}

std::string SmartCachePath(const std::string &dataRoot, std::string_view caption) {
    return SmartCacheFolder(dataRoot) + "/" + SmartCacheFileName(caption);
}

bool SmartCacheExists(const std::string &dataRoot, std::string_view caption) {
    struct stat st {};
    return ::stat(SmartCachePath(dataRoot, caption).c_str(), &st) == 0 && S_ISREG(st.st_mode);
}

SmartPlace FindSmartPlace(std::string_view path, const std::vector<std::string> &table) {
    SmartPlace place;
    const std::string wanted = Trim(path);
    if (wanted.empty()) {
        place.found = true;
        return place;
    }
    // Only what the list can show: a subcategory of a shown top, a leaf of a shown subcategory.
    for (const auto &top : SmartTops(table)) {
        if (SameTextNoCase(top, wanted)) return {true, 1, top, {}, {}};
        if (!StartsNoCase(wanted, top + "/")) continue;
        for (const auto &subRaw : SmartSubcategories(top, table)) {
            const std::string sub = Trim(subRaw);
            const std::string joined = top + "/" + sub;
            if (SameTextNoCase(joined, wanted)) return {true, 2, top, subRaw, {}};
            if (!StartsNoCase(wanted, joined + "/")) continue;
            for (const auto &leaf : SmartLeaves(top, subRaw, table))
                if (SameTextNoCase(joined + "/" + leaf, wanted)) return {true, 3, top, subRaw, leaf};
        }
    }
    return place;
}

}  // namespace qm
