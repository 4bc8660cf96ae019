#include "search/SearchModeModel.h"

namespace qm {

SearchModeModel::SearchModeModel(QObject *parent) : QAbstractListModel(parent) {}

int SearchModeModel::rowCount(const QModelIndex &parent) const {
    return parent.isValid() ? 0 : kSearchModeCount;
}

QVariant SearchModeModel::data(const QModelIndex &index, int role) const {
    if (!index.isValid() || index.row() < 0 || index.row() >= kSearchModeCount) return {};
    auto mode = static_cast<SearchMode>(index.row());
    if (role == Qt::DisplayRole) return QString::fromUtf8(SearchModeCaption(mode));
    if (role == Qt::CheckStateRole) return mode == current_ ? Qt::Checked : Qt::Unchecked;
    if (role == Qt::UserRole) return index.row();
    return {};
}

Qt::ItemFlags SearchModeModel::flags(const QModelIndex &index) const {
    if (!index.isValid()) return Qt::NoItemFlags;
    return Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsUserCheckable;
}

bool SearchModeModel::setData(const QModelIndex &index, const QVariant &value, int role) {
    if (!index.isValid() || role != Qt::CheckStateRole || index.row() >= kSearchModeCount) return false;
    if (value.toInt() != Qt::Checked) return false;  // radio items: only a choice unticks
    Choose(static_cast<SearchMode>(index.row()));
    return true;
}

void SearchModeModel::Choose(SearchMode mode) {
    int row = static_cast<int>(mode);
    if (row < 0 || row >= kSearchModeCount) return;
    SearchMode old = current_;
    current_ = mode;
    if (old != mode) {
        emit dataChanged(this->index(static_cast<int>(old)), this->index(static_cast<int>(old)),
                         {Qt::CheckStateRole});
        emit dataChanged(this->index(row), this->index(row), {Qt::CheckStateRole});
    }
    if (onChosen) onChosen(mode);
    emit modeChosen(mode);
}

}  // namespace qm
