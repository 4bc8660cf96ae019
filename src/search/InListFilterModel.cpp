#include "search/InListFilterModel.h"

#include "search/ResultListModel.h"

#include <QItemSelection>

namespace qm {

namespace {

// The list's sub-items in the form the filter compares, kept beside the list (a child
// object of the model) so that typing in the filter box converts and folds each sub-item
// once, not on every keystroke. Any change of the list's texts or order drops it; the
// next run of the filter builds it again.
class FoldedRows : public QObject {
public:
    static constexpr const char *kName = "qm-filter-folded-rows";

    explicit FoldedRows(ResultListModel &model) : QObject(&model), model_(model) {
        setObjectName(kName);
        auto drop = [this] { valid_ = false; };
        connect(&model, &QAbstractItemModel::rowsInserted, this, drop);
        connect(&model, &QAbstractItemModel::rowsRemoved, this, drop);
        connect(&model, &QAbstractItemModel::rowsMoved, this, drop);
        connect(&model, &QAbstractItemModel::modelReset, this, drop);
        connect(&model, &QAbstractItemModel::layoutChanged, this, drop);
        connect(&model, &QAbstractItemModel::dataChanged, this,
                [this](const QModelIndex &, const QModelIndex &, const QList<int> &roles) {
                    // Icons and check marks change no text.
                    if (roles.isEmpty() || roles.contains(Qt::DisplayRole) || roles.contains(Qt::EditRole))
                        valid_ = false;
                });
    }

    static FoldedRows &Of(ResultListModel &model) {
        auto *found = model.findChild<QObject *>(kName, Qt::FindDirectChildrenOnly);
        return found ? *static_cast<FoldedRows *>(found) : *new FoldedRows(model);
    }

    const std::vector<std::vector<std::string>> &Rows() {
        if (!valid_) {
            const auto &rows = model_.Rows();
            const auto &only = model_.FilterColumns();
            folded_.resize(rows.size());
            for (size_t i = 0; i < rows.size(); ++i) {
                const auto &sub = rows[i].subItems;
                if (only.empty()) {
                    folded_[i].resize(sub.size());
                    for (size_t k = 0; k < sub.size(); ++k) folded_[i][k] = FoldForFilter(sub[k]);
                } else {
                    folded_[i].clear();
                    for (size_t k : only)
                        if (k < sub.size()) folded_[i].push_back(FoldForFilter(sub[k]));
                }
            }
            valid_ = true;
        }
        return folded_;
    }

private:
    ResultListModel &model_;
    bool valid_ = false;
    std::vector<std::vector<std::string>> folded_;
};

}  // namespace

void SelectRowsAtOnce(ResultListModel &model, const std::vector<size_t> &rows) {
    QItemSelection selection;
    const int lastColumn = model.columnCount() - 1;
    size_t i = 0;
    while (i < rows.size()) {
        size_t j = i;
        while (j + 1 < rows.size() && rows[j + 1] == rows[j] + 1) ++j;
        selection.append(QItemSelectionRange(model.index(int(rows[i]), 0), model.index(int(rows[j]), lastColumn)));
        i = j + 1;
    }
    // The ranges already span whole rows: the Rows flag would merge them one by one.
    // Clearing first keeps the change notice cheap: comparing an old and a new selection of
    // many scattered ranges costs the product of their sizes.
    model.ClearSelection();
    if (!selection.isEmpty()) model.Selection()->select(selection, QItemSelectionModel::Select);
}

size_t ApplyInListFilter(ResultListModel &model, std::string_view text, FilterMode mode) {
    std::vector<size_t> matches;
    if (!text.empty() && model.Count() > 0) {
        const InListFilter filter(text, mode);
        const auto &rows = FoldedRows::Of(model).Rows();
        for (size_t i = 0; i < rows.size(); ++i)
            if (filter.MatchesFolded(rows[i])) matches.push_back(i);
    }
    SelectRowsAtOnce(model, matches);
    return matches.size();
}

MoveToTopResult MoveSelectedToTop(ResultListModel &model, bool verifying) {
    if (verifying) return MoveToTopResult::Beep;
    std::vector<int> selected = model.SelectedRows();
    if (model.Count() == 0 || selected.empty()) return MoveToTopResult::Nothing;
    const bool wasUpdating = model.Updating();
    model.SetUpdating(true);
    model.ClearSelection();
    std::vector<size_t> marked(selected.begin(), selected.end());
    std::vector<size_t> order = MoveToTopOrder(size_t(model.Count()), marked);
    model.ApplyOrder(std::vector<int>(order.begin(), order.end()));
    std::vector<size_t> top(selected.size());
    for (size_t i = 0; i < top.size(); ++i) top[i] = i;
    SelectRowsAtOnce(model, top);
    model.SetUpdating(wasUpdating);
    return MoveToTopResult::Moved;
}

}  // namespace qm
