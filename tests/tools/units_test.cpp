// The unit categories, the conversion on Enter and the grid's number format. Expected
// values are the quantities themselves (1 mile = 1.609344 km, 1 atm = 14.6959 psi, ...),
// written as the grid writes them.
#include "tools/NumberText.h"
#include "tools/UnitGrid.h"
#include "tools/Units.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

using namespace qm;

namespace {

struct Case {
    const char *category, *from, *typed, *to, *expected;
};

// Types `typed` into the row of `from`, presses Enter and returns the text of `to`.
std::string Convert(const Case &c) {
    UnitGrid grid;
    EXPECT_TRUE(grid.SelectCategory(FindUnitCategory(c.category))) << c.category;
    const int row = grid.FindRow(c.from), target = grid.FindRow(c.to);
    EXPECT_GE(row, 0) << c.from;
    EXPECT_GE(target, 0) << c.to;
    grid.SetValue(row, c.typed);
    EXPECT_TRUE(grid.ConvertFrom(row, 1));
    EXPECT_EQ(grid.Rows()[size_t(row)].value, c.typed) << "the source row keeps its text";
    return grid.Rows()[size_t(target)].value;
}

}  // namespace

TEST(UnitCategories, ListHoldsFifteenEntriesWithTheirRowsInOrder) {
    const auto &all = UnitCategories();
    ASSERT_EQ(all.size(), size_t(kUnitCategoryCount));
    const char *captions[] = {"Area", "Density", "Energie", "Force", "Length", "Mass", "Power", "Pressure",
                              "Time", "Temperature", "Volume", "Speed", "Computer: Size", "Computer: Audio",
                              "Computer: Video"};
    const size_t counts[] = {11, 13, 16, 11, 15, 14, 16, 13, 10, 3, 23, 18, 18, 16, 15};
    UnitGrid grid;
    for (int i = 0; i < kUnitCategoryCount; ++i) {
        EXPECT_STREQ(all[size_t(i)].caption, captions[i]);
        ASSERT_TRUE(grid.SelectCategory(i));
        EXPECT_EQ(grid.Rows().size(), counts[i]) << captions[i];
        EXPECT_EQ(grid.Rows()[0].value, "1") << "a new category puts 1 in the first row";
        for (size_t r = 1; r < grid.Rows().size(); ++r) EXPECT_EQ(grid.Rows()[r].value, "");
    }
    EXPECT_STREQ(all[9].units[1].name.c_str(), "Kelvin");
    EXPECT_EQ(all[9].units[1].row.kind, kUnitBase);
    EXPECT_STREQ(all[14].langKey, "$LANG_CONV_CPU3");
    EXPECT_EQ(FindUnitCategory("computer: size"), 12);
    EXPECT_EQ(FindUnitCategory("4"), 4);
    EXPECT_EQ(FindUnitCategory("15"), -1);
    EXPECT_EQ(FindUnitCategory("Lengths"), -1);
    EXPECT_FALSE(grid.SelectCategory(15));
}

TEST(UnitConversion, PhysicalQuantitiesComeOutAsKnownValues) {
    const Case cases[] = {
        {"Area", "Square meters", "1", "Square centimeters", "10000"},
        {"Area", "Square meters", "1", "Square feet", "10,7639"},
        {"Area", "Square meters", "1", "Acres", "0,00024711"},
        {"Area", "Square meters", "1", "Square kilometers", "10e-7"},
        {"Area", "Hectares", "1", "Acres", "2,4711"},
        {"Density", "Pounds/ft^3", "1", "Kilograms/m^3", "16,0185"},
        {"Energie", "Gigajoules", "10", "Joules", "10e+9"},
        {"Energie", "Kilowatt hours", "1", "Joules", "3600000"},
        {"Energie", "Kilocalories", "1", "Calories", "1000"},
        {"Force", "Pounds force", "1", "Newstons", "4,4482"},
        {"Length", "Miles", "1", "Kilometers", "1,6093"},
        {"Length", "Miles", "1", "Feet", "5280"},
        {"Length", "Hands", "1", "Inches", "4"},
        {"Length", "Fathoms", "1", "Feet", "6"},
        {"Length", "Nautical miles", "1", "Meters", "1852,03"},
        {"Length", "Angstroms", "1", "Meters", "10e-11"},
        {"Length", "Light years", "1", "Meters", "9,4605e+15"},
        {"Length", "Meters", "2,5", "Centimeters", "200"},
        {"Mass", "Atomic mass units", "1", "Kilograms", "1,6600e-27"},
        {"Mass", "Pounds", "1", "Ounces", "16"},
        {"Mass", "Kilograms", "1", "Pounds", "2,2046"},
        {"Power", "Horsepower (metric)", "1", "Watts (J/sec)", "735,499"},
        {"Pressure", "Atmospheres", "1", "Pounds/in^2", "14,6959"},
        {"Pressure", "Bars", "1", "Millibars", "1000"},
        {"Time", "Millennia", "1", "Seconds", "3,1558e+10"},
        {"Time", "Weeks", "2", "Days", "14"},
        {"Temperature", "Centigrade", "100", "Kelvin", "373,15"},
        {"Temperature", "Centigrade", "100", "Fahrenheit", "212"},
        {"Temperature", "Fahrenheit", "32", "Centigrade", "0"},
        {"Temperature", "Centigrade", "-40", "Fahrenheit", "-40"},
        {"Temperature", "Kelvin", "0", "Fahrenheit", "-459,67"},
        {"Volume", "(US) Gallons", "1", "Liters", "3,7854"},
        {"Volume", "(US) Gallons", "1", "Cubic inches", "231"},
        {"Volume", "(UK) Gallons", "1", "(UK) Pints", "8"},
        {"Speed", "Miles/min", "1", "Miles/hour", "60"},
        {"Speed", "Miles/sec", "1", "Miles/min", "60"},
        {"Speed", "Kilometers/hour", "36", "Meters/sec", "10"},
        {"Computer: Size", "Terabytes", "1", "Bytes", "1,0995e+12"},
        {"Computer: Size", "Terabytes", "1", "Gigabytes", "1024"},
        {"Computer: Size", "Bytes", "1", "Bits", "8"},
    };
    for (const Case &c : cases)
        EXPECT_EQ(Convert(c), c.expected) << c.category << ": " << c.typed << " " << c.from << " in " << c.to;
}

TEST(UnitConversion, OddInputNeitherCrashesNorLies) {
    const Case cases[] = {
        {"Length", "Meters", "0", "Miles", "0"},
        {"Length", "Meters", "abc", "Miles", "0"},
        {"Length", "Meters", "-0", "Feet", "0"},
        {"Length", "Meters", "0x1A", "Centimeters", "0"},
        {"Length", "Meters", "inf", "Centimeters", "0"},
        {"Length", "Meters", "1e400", "Centimeters", "overflow"},
        {"Temperature", "Kelvin", "-1e400", "Fahrenheit", "overflow"},
        {"Computer: Size", "Bytes", "1e308", "Bits", "overflow"},
        {"Computer: Size", "Bytes", "1e308", "Kilobytes", "9,7656e+304"},
        {"Length", "Meters", "1e-320", "Kilometers", "9,8813e-324"},
    };
    for (const Case &c : cases) EXPECT_EQ(Convert(c), c.expected) << c.typed << " " << c.from << " in " << c.to;

    // Enter on a name cell reads the name (no number: 0); the row itself is not rewritten.
    UnitGrid grid;
    grid.SelectCategory(0);
    grid.SetValue(1, "keep");
    ASSERT_TRUE(grid.ConvertFrom(1, 0));
    EXPECT_EQ(grid.Rows()[1].value, "keep");
    EXPECT_EQ(grid.Rows()[0].value, "0");
    EXPECT_FALSE(grid.ConvertFrom(11, 1));
    EXPECT_FALSE(grid.ConvertFrom(0, 2));
}

TEST(UnitFormat, EveryRangeAndBothExponentForms) {
    const UnitRow base;  // kind 4: the value passes unchanged
    const struct {
        double v;
        const char *text;
    } cases[] = {
        {2.5e12, "2,5000e+12"},  {-2.5e12, "-2,5000e+12"}, {1e9, "1000000000"},   {1e10, "10e+9"},
        {1234.567, "1234,57"},   {1000, "1000"},           {12.5, "12,5"},        {1, "1"},
        {0.5, "0,5"},            {0.01, "0,01"},           {0.00123456789, "0,00123457"},
        {0.0001, "0,0001"},      {0.0000123, "0,0000123"}, {0.000001, "10e-7"},   {5e-7, "5e-7"},
        {1.5e-7, "1,5000e-7"},   {-3e-9, "-3e-9"},         {0, "0"},
    };
    for (const auto &c : cases) EXPECT_EQ(FormatConverted(base, c.v), c.text) << c.v;
    EXPECT_EQ(FormatConverted(base, std::numeric_limits<double>::infinity()), "overflow");
    EXPECT_EQ(FormatConverted(base, std::nan("")), "overflow");
}

TEST(NumberText, ReadsOnlyThePlainDecimalForm) {
    const struct {
        const char *text;
        double value;
    } cases[] = {
        {"  -2.5e3xyz", -2500}, {"\t3", 3}, {"+7", 7},     {".5", 0.5}, {"5.", 5},   {"1e", 1},
        {"1e+", 1},             {"2,5", 2}, {"0x1A", 0},   {"inf", 0},  {"nan", 0},  {"", 0},
        {"e5", 0},              {"-", 0},   {"1E-2", 0.01}, {"12abc", 12},
    };
    for (const auto &c : cases) EXPECT_EQ(ReadDecimal(c.text), c.value) << c.text;
    EXPECT_TRUE(std::isinf(ReadDecimal("1e400")));
    EXPECT_EQ(ReadDecimal("1e-400"), 0);
}
