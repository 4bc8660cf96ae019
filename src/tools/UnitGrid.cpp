#include "tools/UnitGrid.h"

#include "toolkit/JsonText.h"
#include "tools/NumberText.h"

namespace qm {

CategoryKind UnitGrid::Kind() const {
    return category_ < 0 ? CategoryKind::Table : UnitCategories()[size_t(category_)].kind;
}

int UnitGrid::FindRow(const std::string &name) const {
    for (size_t i = 0; i < rows_.size(); ++i)
        if (rows_[i].name == name) return int(i);
    return -1;
}

void UnitGrid::SetUnits(const std::vector<UnitDef> &units, bool keepValues) {
    std::vector<Row> rows;
    rows.reserve(units.size());
    for (size_t i = 0; i < units.size(); ++i)
        rows.push_back({units[i].name, units[i].row, keepValues && i < rows_.size() ? rows_[i].value : ""});
    rows_ = std::move(rows);
}

bool UnitGrid::SelectCategory(int index) {
    if (index < 0 || index >= kUnitCategoryCount) return false;
    category_ = index;
    const UnitCategory &c = UnitCategories()[size_t(index)];
    if (c.kind == CategoryKind::Audio) SetUnits(BuildAudioRows(audio), false);
    else if (c.kind == CategoryKind::Video) SetUnits(BuildVideoRows(video), false);
    else SetUnits(c.units, false);
    if (!rows_.empty()) rows_[0].value = "1";
    return true;
}

void UnitGrid::RebuildCalculator() {
    switch (Kind()) {
    case CategoryKind::Audio: SetUnits(BuildAudioRows(audio), true); break;
    case CategoryKind::Video: SetUnits(BuildVideoRows(video), true); break;
    case CategoryKind::Table: break;
    }
}

void UnitGrid::SetValue(int row, std::string text) {
    if (row >= 0 && size_t(row) < rows_.size()) rows_[size_t(row)].value = std::move(text);
}

bool UnitGrid::ConvertFrom(int row, int column) {
    if (row < 0 || size_t(row) >= rows_.size() || column < 0 || column > 1) return false;
    const Row &current = rows_[size_t(row)];
    const double base = ToBaseUnit(current.unit, ReadDecimal(column == 0 ? current.name : current.value));
    for (size_t i = 0; i < rows_.size(); ++i)
        if (int(i) != row) rows_[i].value = FormatConverted(rows_[i].unit, base);
    return true;
}

std::string UnitGridJson(const UnitGrid &grid, const std::string &unit, const std::string &typed) {
    std::string out = "{\"category\": ";
    AppendJsonString(out, grid.Category() >= 0 ? UnitCategories()[size_t(grid.Category())].caption : "");
    out += ", \"unit\": ";
    AppendJsonString(out, unit);
    out += ", \"value\": ";
    AppendJsonString(out, typed);
    out += ", \"rows\": [";
    bool first = true;
    for (const auto &r : grid.Rows()) {
        out += first ? "\n  {\"unit\": " : ",\n  {\"unit\": ";
        first = false;
        AppendJsonString(out, r.name);
        out += ", \"value\": ";
        AppendJsonString(out, r.value);
        out += "}";
    }
    out += "]";
    return out;  // the caller closes the object (and may add members first)
}

std::string UnitGridTsv(const UnitGrid &grid) {
    std::string out;
    for (const auto &r : grid.Rows()) out += r.name + "\t" + r.value + "\n";
    return out;
}

}  // namespace qm
