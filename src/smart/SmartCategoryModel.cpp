#include "smart/SmartCategoryModel.h"

#include "smart/CategoryTable.h"
#include "toolkit/Misc.h"

#include <QColor>

#include <algorithm>

namespace qm {

SmartCategoryModel::SmartCategoryModel(std::string dataRoot, QObject *parent)
    : QAbstractListModel(parent), root_(std::move(dataRoot)) {}

SmartCategoryModel::SmartCategoryModel(std::string dataRoot, std::vector<std::string> table, QObject *parent)
    : QAbstractListModel(parent), root_(std::move(dataRoot)), table_(std::move(table)), ownTable_(true) {}

int SmartCategoryModel::rowCount(const QModelIndex &parent) const { return parent.isValid() ? 0 : Count(); }

QVariant SmartCategoryModel::data(const QModelIndex &index, int role) const {
    if (!index.isValid() || index.row() >= Count()) return {};
    const Entry &e = entries_[size_t(index.row())];
    if (role == Qt::DisplayRole) return QString::fromStdString(e.caption);
    if (role == CachedRole) return e.cached;
    if (role == Qt::DecorationRole && e.cached && !cachedIcon_.isNull()) return cachedIcon_;
    if (role == Qt::ForegroundRole) return QColor(level_ < 2 ? Qt::blue : Qt::black);
    return {};
}

bool SmartCategoryModel::AnyCached() const {
    return std::any_of(entries_.begin(), entries_.end(), [](const Entry &e) { return e.cached; });
}

void SmartCategoryModel::Fill(int level, std::vector<Entry> entries) {
    beginResetModel();
    level_ = level;
    entries_ = std::move(entries);
    endResetModel();
    emit levelChanged(level);
}

void SmartCategoryModel::ShowTops() {
    top_.clear();
    sub_.clear();
    std::vector<Entry> e;
    for (auto &name : SmartTops(ownTable_ ? table_ : SmartCategoryTable())) e.push_back({std::move(name), false});
    Fill(0, std::move(e));
}

void SmartCategoryModel::ShowSubcategories() {
    sub_.clear();
    std::vector<Entry> e;
    for (const auto &name : SmartSubcategories(top_, ownTable_ ? table_ : SmartCategoryTable()))
        e.push_back({Trim(name), false});
    Fill(1, std::move(e));
}

void SmartCategoryModel::ShowLeaves() {
    std::vector<Entry> e;
    for (auto &name : SmartLeaves(top_, sub_, ownTable_ ? table_ : SmartCategoryTable())) {
        const bool cached = SmartCacheExists(root_, name);
        e.push_back({std::move(name), cached});
    }
    Fill(2, std::move(e));
}

bool SmartCategoryModel::Descend(int row) {
    if (row < 0 || row >= Count()) return false;
    if (level_ == 0) {
        top_ = entries_[size_t(row)].caption;
        ShowSubcategories();
        return true;
    }
    if (level_ == 1) {
        sub_ = entries_[size_t(row)].caption;
        ShowLeaves();
        return true;
    }
    return false;
}

}  // namespace qm
