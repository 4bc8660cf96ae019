#pragma once
// The unit categories of the conversion page and the one conversion and number format
// that every row uses (the recording calculators included).
#include <string>
#include <vector>

namespace qm {

// How a row's value relates to the category's base unit.
enum UnitKind : int {
    kUnitFahrenheit = 1,
    kUnitCentigrade = 2,
    kUnitLinear = 3,  // value × factor = base
    kUnitBase = 4,    // the value passes unchanged
};

// One row of the conversion table.
struct UnitRow {
    double factor = 1;  // one of this row's units in the category's base unit
    int kind = kUnitBase;
};

struct UnitDef {
    std::string name;
    UnitRow row;
};

enum class CategoryKind { Table, Audio, Video };

struct UnitCategory {
    const char *caption;  // the list's default item
    const char *langKey;  // the language key that replaces it
    CategoryKind kind;
    std::vector<UnitDef> units;  // empty for the calculators: their rows come from settings
};

// The 15 entries of the category list, in order: twelve physical categories,
// "Computer: Size", then the audio and video calculators.
const std::vector<UnitCategory> &UnitCategories();
inline constexpr int kUnitCategoryCount = 15;
inline constexpr int kAudioCategory = 13;
inline constexpr int kVideoCategory = 14;
// Index of a category by caption (ASCII case ignored) or by its decimal index; -1 if none.
int FindUnitCategory(const std::string &nameOrIndex);

// A row's value brought to the base unit, and back.
double ToBaseUnit(const UnitRow &row, double value);
double FromBaseUnit(const UnitRow &row, double base);

// The base value converted to the row's unit and formatted as the grid shows it
// ("10,7639", "1,0995e+12", "10e-7"); "overflow" when the result is not a finite number.
std::string FormatConverted(const UnitRow &row, double base);

}  // namespace qm
