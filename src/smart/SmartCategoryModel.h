#pragma once
// The category list of the smart finder (LVBSMR) without a display: the level shown, the
// chosen top and subcategory (the breadcrumb captions) and the entries, with the cached
// mark on leaves that have a cache.
#include <QAbstractListModel>
#include <QIcon>

#include <string>
#include <vector>

namespace qm {

class SmartCategoryModel : public QAbstractListModel {
    Q_OBJECT
public:
    enum Role { CachedRole = Qt::UserRole + 1 };
    struct Entry {
        std::string caption;
        bool cached = false;
    };

    // `dataRoot` holds the leaf caches; `table` the category table (the built-in one by default).
    explicit SmartCategoryModel(std::string dataRoot, QObject *parent = nullptr);
    SmartCategoryModel(std::string dataRoot, std::vector<std::string> table, QObject *parent = nullptr);

    int rowCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role) const override;

    // LBL_SMR_1: the top categories; both breadcrumbs after it empty.
    void ShowTops();
    // LBL_SMR_2: the subcategories of the chosen top; the subcategory breadcrumb empty.
    void ShowSubcategories();
    // LBL_SMR_3: the leaves of the chosen top and subcategory, cached ones marked.
    void ShowLeaves();

    // A click on entry `row`: at levels 0 and 1 it becomes the breadcrumb and the list
    // descends (true); at level 2 nothing changes here and the caller opens the leaf (false).
    bool Descend(int row);

    int Level() const { return level_; }
    const std::string &Top() const { return top_; }  // caption of LBL_SMR_2
    const std::string &Sub() const { return sub_; }  // caption of LBL_SMR_3
    int Count() const { return int(entries_.size()); }
    const Entry &At(int row) const { return entries_[size_t(row)]; }
    bool AnyCached() const;
    // The mark of a cached leaf (decoration); top and subcategory entries are blue, leaves black.
    void SetCachedIcon(QIcon icon) { cachedIcon_ = std::move(icon); }

signals:
    void levelChanged(int level);

private:
    void Fill(int level, std::vector<Entry> entries);

    std::string root_;
    std::vector<std::string> table_;
    bool ownTable_ = false;
    int level_ = 0;
    std::string top_, sub_;
    std::vector<Entry> entries_;
    QIcon cachedIcon_;
};

}  // namespace qm
