#pragma once
// The in-list filter applied to a result list model: selects the matching rows and moves
// the selected rows to the top. The filter bar's widgets call these.
#include "search/InListFilter.h"

#include <vector>

namespace qm {

class ResultListModel;

// Deselects every row, then selects the rows that match. Returns the match count (0 for
// an empty text or an empty list). The count label is FilterCountText(count). The rows'
// sub-items are brought into the compared form once and kept until the list changes.
size_t ApplyInListFilter(ResultListModel &model, std::string_view text, FilterMode mode);

// Selects exactly the given rows (ascending), with one selection change.
void SelectRowsAtOnce(ResultListModel &model, const std::vector<size_t> &rows);

enum class MoveToTopResult { Beep, Nothing, Moved };

// Moves the selected rows to the top: the moved rows first in reverse of their former
// order, keeping their numbers, then the others; the moved rows stay selected. While a
// verification runs nothing moves and the caller sounds the beep.
MoveToTopResult MoveSelectedToTop(ResultListModel &model, bool verifying);

}  // namespace qm
