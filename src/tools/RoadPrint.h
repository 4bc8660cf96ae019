#pragma once
// Printing a road plan with Qt's print support: on the default printer from the window, into
// a PDF file from quillmar-cli (a QPrinter in PDF mode), by the same code.
#include "tools/RoadPlanner.h"

#include <QFont>

class QPrinter;

namespace qm {

// Lays the plan out from x = 100, y = 30 (printer pixels): the two headings in Arial 14, the
// first followed by its text height + 5, the second by its text height + 30; then, in
// `listFont`, one line per row, step + " : " + distance (empty when both are), each followed
// by its text height + 3. A line that would pass the bottom of the page starts a new page at
// y = 30. False when the printer cannot be opened.
bool PrintRoadPlan(QPrinter &printer, const std::array<std::string, 2> &headings, const std::vector<RoadRow> &rows,
                   const QFont &listFont);

// Prints into a PDF file; false when it cannot be written.
bool PrintRoadPlanToPdf(const std::string &path, const std::array<std::string, 2> &headings,
                        const std::vector<RoadRow> &rows, const QFont &listFont);

}  // namespace qm
