#pragma once
// Browsing the software catalogue: updates of one sub-category at a time on the vertical
// search controller (kind Catalogue, one TCNETEngine), the list shown and its identity, the
// sub-category caches, sorting, and the titles handed to the software favorites.
#include "engines/vertical/Catalogue.h"
#include "engines/vertical/VerticalFeatures.h"

#include <QObject>
#include <string>
#include <vector>

namespace qm {

class TCNETEngine : public TVerticalEngine {
public:
    using TVerticalEngine::TVerticalEngine;
};

class CatalogueBrowser : public QObject {
public:
    explicit CatalogueBrowser(VerticalHost host, QObject *parent = nullptr);

    ResultListModel &List() { return *list_; }
    VerticalSearchController &Controller() { return *controller_; }
    const std::string &Category() const { return category_; }
    const std::string &Subcategory() const { return subcategory_; }

    // Update: fetches the sub-category's pages and returns when the update has ended
    // (Stop, a click elsewhere or closing end it too). The list is then cached; an empty
    // one shows "Nothing found in this area...". False for an unknown sub-category.
    bool Update(const std::string &category, const std::string &subcategory);
    bool Updating() const { return controller_->Searching(); }
    void Stop();   // Stop, a click on another category or sub-category
    void Close();  // the window closes
    int PagesFetched() const { return pagesFetched_; }

    // A click on a sub-category: ends a running update, then shows the cached list when
    // there is a non-empty one (and makes it the list shown). False when nothing was loaded.
    bool ShowCached(const std::string &category, const std::string &subcategory);
    // A column click (1-based list column): "Rated" and "#Downloads" numerically, largest
    // first, the others as text; renumbered; the cache of the list shown is rewritten.
    void SortByColumn(int column);
    // "Remove from cache": false when there was no cache file.
    bool RemoveCache(const std::string &category, const std::string &subcategory);
    // "Add to favorites": the selected titles converted (never the notice).
    std::vector<ResultRow> SelectedAsFavorites() const;

private:
    std::string Root() const { return host_.dataRoot ? host_.dataRoot() : std::string(); }
    void Finished();

    VerticalHost host_;
    std::vector<EngineDescriptor> table_;
    ResultListModel *list_;
    VerticalSearchController *controller_;
    std::string category_, subcategory_;
    int pagesFetched_ = 0;
};

}  // namespace qm
