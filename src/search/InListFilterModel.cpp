#include "search/InListFilterModel.h"

#include "search/ResultListModel.h"

#include <QItemSelection>

namespace qm {

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
    const auto &rows = model.Rows();
    std::vector<size_t> matches = FilterMatches(rows, text, mode);
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
