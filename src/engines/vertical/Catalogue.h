#pragma once
// The software catalogue: 17 categories and their 225 sub-category listing pages, the list
// of titles, its sub-category caches and the conversion of a title to a software favorite.
#include "search/ResultListModel.h"

#include <QObject>
#include <string>
#include <vector>

namespace qm {

struct CatalogueEntry {
    const char *category;
    const char *subcategory;
    const char *path;  // "/downloads/..." on the catalogue host
};

// The 225 entries in table order.
const std::vector<CatalogueEntry> &CatalogueTable();
// "http://" + the catalogue host (the "software-catalogue" service host).
std::string CatalogueHost();
std::string CatalogueAddress(const CatalogueEntry &e);
// Each category once, in table order.
std::vector<std::string> CatalogueCategories();
// The table indexes of a category's sub-categories, in table order (exact names).
std::vector<int> CatalogueSubcategories(const std::string &category);
// Index of an entry; -1 when there is none.
int FindCatalogueEntry(const std::string &category, const std::string &subcategory);
// A "most popular" sub-category (ASCII case ignored) is read with its own readers.
bool IsMostPopular(const std::string &subcategory);

// Columns of the list: Name, Type, Size, Rated, #Downloads, Date, Description, URL.
enum CatalogueColumn : size_t {
    kCatName = 0, kCatType, kCatSize, kCatRated, kCatDownloads, kCatDate, kCatDescription, kCatUrl, kCatColumns
};
ResultListModel *CreateCatalogueList(QObject *parent = nullptr);
// The notice of an empty refresh: first value "Nothing found in this area...", the rest empty.
ResultRow CatalogueNothingFoundRow(const std::string &text);
bool IsCatalogueNotice(const ResultRow &row);

// Sub-category caches: Cache/Software/<category>/<sub-category>.softwares (one spelling for
// every use), eight lines per row and no image line; names follow the list-file rule.
std::string CatalogueCacheFile(const std::string &dataRoot, const std::string &category,
                               const std::string &subcategory);
bool IsCatalogueCached(const std::string &dataRoot, const std::string &category, const std::string &subcategory);
// False when the file is missing or empty (such a list is not loaded); rows numbered 1..n.
bool LoadCatalogueCache(const std::string &dataRoot, const std::string &category, const std::string &subcategory,
                        std::vector<ResultRow> &rows);
// Writes the list (never the notice), creating the category folder.
bool WriteCatalogueCache(const std::string &dataRoot, const std::string &category, const std::string &subcategory,
                         const std::vector<ResultRow> &rows);
// False when there was no cache file.
bool RemoveCatalogueCache(const std::string &dataRoot, const std::string &category, const std::string &subcategory);

// A title as a software favorite: Name, Type, Size, Comments = Rated + " / " + #Downloads +
// "  " + the caption words, Source "C|NET", Description, URL, empty HomePage.
ResultRow CatalogueToFavorite(const ResultRow &row, const std::string &ratedDownloads = "(rated/#downloads)");

}  // namespace qm
