#pragma once
// The conversion grid without a display: the rows of the chosen category (name, conversion
// row, value text), the category choice, the calculators' rebuild on a setting change and
// the conversion on Enter. The conversion page and quillmar-cli both drive it.
#include "tools/Recording.h"
#include "tools/Units.h"

#include <string>
#include <vector>

namespace qm {

class UnitGrid {
public:
    struct Row {
        std::string name;
        UnitRow unit;
        std::string value;
    };

    UnitGrid() = default;

    AudioSettings audio;
    VideoSettings video;

    int Category() const { return category_; }
    CategoryKind Kind() const;
    const std::vector<Row> &Rows() const { return rows_; }
    // Row of a unit by name (exact); -1 when none.
    int FindRow(const std::string &name) const;

    // A category picked in the list: its rows and factors, every value emptied and "1"
    // beside the first row. False for an index out of range (nothing changes).
    bool SelectCategory(int index);
    // The calculator's rows and factors again from the settings; the values stay.
    // Nothing happens for the other categories.
    void RebuildCalculator();

    void SetValue(int row, std::string text);
    // Enter on a cell: the number read from it (column 0 is the unit's name, column 1 its
    // value) is converted into every other row; the row itself keeps its text. False when
    // there is no such cell.
    bool ConvertFrom(int row, int column);

private:
    void SetUnits(const std::vector<UnitDef> &units, bool keepValues);

    int category_ = -1;
    std::vector<Row> rows_;
};

// {"category", "unit", "value", "rows": [{"unit", "value"}...]} of a grid after a conversion.
std::string UnitGridJson(const UnitGrid &grid, const std::string &unit, const std::string &typed);
// The same as lines "unit<TAB>value".
std::string UnitGridTsv(const UnitGrid &grid);

}  // namespace qm
