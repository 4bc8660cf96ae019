#include "tools/Units.h"

#include "tools/NumberText.h"

#include <cmath>
#include <cstdlib>

namespace qm {

namespace {

UnitDef L(const char *name, double factor) { return {name, {factor, kUnitLinear}}; }
UnitDef B(const char *name) { return {name, {1, kUnitBase}}; }

std::vector<UnitCategory> Build() {
    std::vector<UnitCategory> c;
    c.push_back({"Area", "$LANG_CONV_AREA", CategoryKind::Table,
                 {B("Square meters"), L("Square centimeters", 0.0001), L("Square millimeters", 0.000001),
                  L("Square kilometers", 1000000), L("Square inches", 0.00064516), L("Square feet", 0.09290304),
                  L("Square yards", 0.83612736), L("Square miles", 2589988.110336), L("Acres", 4046.8564224),
                  L("Ares", 100), L("Hectares", 10000)}});
    c.push_back({"Density", "$LANG_CONV_DENSITY", CategoryKind::Table,
                 {B("Kilograms/liter"), L("Grams/cm^3", 1), L("Grams/liter", 0.001), L("Kilograms/m^3", 0.001),
                  L("Megagrams/m^3", 1), L("Milligrams/cm^3", 0.001), L("Milligrams/liter", 0.000001),
                  L("Ounces/in^3", 1.729994044), L("Pounds/in^3", 27.679904), L("Pounds/ft^3", 0.016018463),
                  L("Tonnes/m^3", 1), L("Tons(US)/cubic yard", 1.186552843),
                  L("Tons(UK)/cubic yard", 1.328939184)}});
    c.push_back({"Energie", "$LANG_CONV_ENERGY", CategoryKind::Table,
                 {B("Joules"), L("Kilojoules", 1000), L("Megajoules", 1000000), L("Gigajoules", 1000000000),
                  L("Ergs", 1e-7), L("Calories", 4.184), L("Kilocalories", 4184), L("Food calories", 4186),
                  L("British thermal units", 1054.35), L("Newton-meters", 1), L("Foot pounds-force", 1.355817),
                  L("Foot poundals", 0.04214), L("kilogram-force meters", 9.80665), L("Watt seconds", 1),
                  L("Watt hours", 3600), L("Kilowatt hours", 3600000)}});
    c.push_back({"Force", "$LANG_CONV_FORCE", CategoryKind::Table,
                 {B("Newstons"), L("Kilonewtons", 1000), L("Meganewtons", 1000000), L("Dynes", 0.00001),
                  L("Kilograms force", 9.80665), L("Grams force", 0.00980665), L("Pounds force", 4.448222),
                  L("Kips", 4448.222), L("Poundals", 0.138255), L("Toms (US) force", 8896.443),
                  L("Toms (UK) force", 9964.016)}});
    // "Hands" is four inches and "Fathoms" six feet.
    c.push_back({"Length", "$LANG_CONV_LENGTH", CategoryKind::Table,
                 {B("Meters"), L("Angstroms", 1e-10), L("Millimeters", 0.001), L("Centimeters", 0.01),
                  L("Kilometers", 1000), L("Inches", 0.0254), L("Feet", 0.3048), L("Yards", 0.9144),
                  L("Miles", 1609.344), L("Nautical miles", 1852.026), L("Furlongs", 201.168), L("Hands", 0.1016),
                  L("Fathoms", 1.8288), L("Light years", 9460500000000000), L("Parsecs", 3.085677e16)}});
    c.push_back({"Mass", "$LANG_CONV_MASS", CategoryKind::Table,
                 {B("Kilograms"), L("Grams", 0.001), L("Milligrams", 0.000001), L("Tons", 1000),
                  L("Tons (US)", 907.1844106), L("Tons (UK)", 1016.0469088), L("Pounds", 0.453592376254),
                  L("Ounces", 0.0283495), L("Ounces (troy)", 0.0311034768), L("Grains", 0.0000647989),
                  L("Carats", 0.0002), L("Slugs", 14.593903), L("Stones", 6.35029318),
                  L("Atomic mass units", 1.66e-27)}});
    c.push_back({"Power", "$LANG_CONV_POWER", CategoryKind::Table,
                 {B("Watts (J/sec)"), L("Joules/min", 0.016666667), L("Joules/hour", 0.00027777778),
                  L("Kilowatts", 1000), L("Megawatts", 1000000), L("Gigawatts", 1000000000),
                  L("Calories/sec", 4.1868), L("Calories/min", 0.06978), L("Calories/hour", 0.001163),
                  L("Kilocalories/min", 69.78), L("Kilocalories/hour", 1.163), L("Horsepower (electric)", 746),
                  L("Horsepower (metric)", 735.499), L("Btu/sec", 1055.056), L("Btu/min", 17.584267),
                  L("BTU/hour", 0.293071)}});
    c.push_back({"Pressure", "$LANG_CONV_PRESSURE", CategoryKind::Table,
                 {B("Pascals (N/m^2)"), L("Dynes/cm^2", 0.1), L("Megapascals", 1000000),
                  L("Gigapascals", 1000000000), L("Pounds/in^2", 6894.757), L("Kips/in^2", 6894757),
                  L("Pounds/ft^2", 47.88026), L("Atmospheres", 101325), L("Bars", 100000), L("Millibars", 100),
                  L("Torrs (mm of Hg)", 133.322), L("Inches of Hg", 3386.39), L("Feet of water", 2989.07)}});
    c.push_back({"Time", "$LANG_CONV_TIME", CategoryKind::Table,
                 {B("Seconds"), L("Minutes", 60), L("Hours", 3600), L("Days", 86400), L("Weeks", 604800),
                  L("Months", 2629800), L("Years", 31557600), L("Decades", 315576000),
                  L("Centuries", 3155760000), L("Millennia", 31557600000)}});
    c.push_back({"Temperature", "$LANG_CONV_TEMPERATURE", CategoryKind::Table,
                 {{"Centigrade", {1, kUnitCentigrade}}, B("Kelvin"), {"Fahrenheit", {1, kUnitFahrenheit}}}});
    c.push_back({"Volume", "$LANG_CONV_VOLUME", CategoryKind::Table,
                 {B("Liters"), L("Millimeters", 0.001), L("Deciliters", 0.1), L("centiliters", 0.01),
                  L("Cubic meters", 1000), L("Cubic millimeters", 0.000001), L("Cubic centimeters", 0.001),
                  L("Teaspoons", 0.005), L("Tablespoons", 0.015), L("(US) Fluid ounces", 0.0295735295625),
                  L("(US) Pints", 0.473176473), L("(US) Quarts", 0.946352946), L("(US) Gallons", 3.785411784),
                  L("(US) Bushels", 35.23907016688), L("(UK) Fluid ounces", 0.0284130625),
                  L("(UK) Pints", 0.56826125), L("(UK) Quarts", 1.1365225), L("(UK) Gallons", 4.54609),
                  L("(UK) Bushels", 36.36872), L("Cubic inches", 0.016387064), L("Cubic feet", 28.316846592),
                  L("Cubic yards", 764.554857984), L("Barrels (oil)", 158.987294928)}});
    // "Miles/min" is "Miles/sec" ÷ 60.
    c.push_back({"Speed", "$LANG_CONV_SPEED", CategoryKind::Table,
                 {B("Meters/sec"), L("Meters/min", 0.0166666667), L("Meters/hour", 0.0002777777778),
                  L("Kilometers/sec", 1000), L("Kilometers/hour", 0.2777777778), L("Centimeters/sec", 0.01),
                  L("Centimeters/min", 0.000166666667), L("Miles/sec", 1609.344), L("Miles/min", 26.8224),
                  L("Miles/hour", 0.44704), L("Knots", 0.514444), L("Mach number", 331.5),
                  L("Speed of light", 299792458), L("Feet/sec", 0.3048), L("Feet/min", 0.00508),
                  L("Feet/hour", 0.00008466684), L("Inches/sec", 0.0254), L("Inches/min", 0.0004233342)}});
    c.push_back({"Computer: Size", "$LANG_CONV_CPU1", CategoryKind::Table,
                 {B("Bytes"), L("Kilobytes", 1024), L("Megabytes", 1048576), L("Gigabytes", 1073741824),
                  L("Terabytes", 1099511627776), L("Petabytes", 1125899907000000), L("Exabytes", 1.152921505e18),
                  L("Zetabytes", 1.180591621e21), L("Yotabytes", 1.20892582e24), L("Bits", 0.125),
                  L("Kilobits", 128), L("Megabits", 131072), L("Gigabits", 134217728),
                  L("Terabits", 137438953472), L("Petabits", 140737488400000), L("Exabits", 1.441151881e17),
                  L("Zetabits", 1.475739526e20), L("Yottabits", 1.511157275e23)}});
    c.push_back({"Computer: Audio", "$LANG_CONV_CPU2", CategoryKind::Audio, {}});
    c.push_back({"Computer: Video", "$LANG_CONV_CPU3", CategoryKind::Video, {}});
    return c;
}

bool SameNoCase(const std::string &a, const char *b) {
    size_t i = 0;
    for (; i < a.size() && b[i]; ++i) {
        char x = a[i], y = b[i];
        if (x >= 'A' && x <= 'Z') x = char(x + 32);
        if (y >= 'A' && y <= 'Z') y = char(y + 32);
        if (x != y) return false;
    }
    return i == a.size() && !b[i];
}

// log10 as the format defines it: ln a ÷ ln 10, truncated toward zero.
int TruncatedLog10(double a) { return int(std::trunc(std::log(a) / std::log(10.0))); }

// v × 10^-k, in two steps where 10^-k alone would leave the range of a double.
double Scale(double v, int k) {
    const double p = std::pow(10.0, -k);
    if (std::isfinite(p) && p != 0) return v * p;
    const int half = -k / 2;
    return v * std::pow(10.0, half) * std::pow(10.0, -k - half);
}

std::string ExponentText(double v, int k) {
    double m = Scale(v, k);
    if (m == 1) {
        --k;
        m = 10;
    }
    return k < 1 ? FormatC("%.4fe%i", m, k) : FormatC("%.4fe+%u", m, unsigned(k));
}

}  // namespace

const std::vector<UnitCategory> &UnitCategories() {
    static const std::vector<UnitCategory> categories = Build();
    return categories;
}

int FindUnitCategory(const std::string &nameOrIndex) {
    const auto &all = UnitCategories();
    for (size_t i = 0; i < all.size(); ++i)
        if (SameNoCase(nameOrIndex, all[i].caption)) return int(i);
    if (!nameOrIndex.empty() && nameOrIndex.size() < 4 &&
        nameOrIndex.find_first_not_of("0123456789") == std::string::npos) {
        int i = std::atoi(nameOrIndex.c_str());
        if (i < int(all.size())) return i;
    }
    return -1;
}

double ToBaseUnit(const UnitRow &row, double x) {
    switch (row.kind) {
    case kUnitFahrenheit: return (x - 32) * 0.5555555555555555 + 273.15;
    case kUnitCentigrade: return x + 273.15;
    case kUnitLinear: return x * row.factor;
    default: return x;
    }
}

double FromBaseUnit(const UnitRow &row, double b) {
    switch (row.kind) {
    case kUnitFahrenheit: return (b - 273.15) * 1.8 + 32;
    case kUnitCentigrade: return b - 273.15;
    case kUnitLinear: return b / row.factor;
    default: return b;
    }
}

std::string FormatConverted(const UnitRow &row, double base) {
    const double v = FromBaseUnit(row, base);
    if (!std::isfinite(v)) return "overflow";
    const double a = std::fabs(v);
    std::string s;
    if (a > 1000000000) s = ExponentText(v, TruncatedLog10(a));
    else if (a > 1000) s = FormatC("%.2f", v);
    else if (a > 1) s = FormatC("%.4f", v);
    else if (a > 0.01) s = FormatC("%.6f", v);
    else if (a > 0.0001) s = FormatC("%.8f", v);
    else if (a > 0.000001) s = FormatC("%.10f", v);
    else if (a == 0) s = FormatC("%.0f", v + 0.0);  // no "-0"
    else s = ExponentText(v, TruncatedLog10(a) - 1);

    if (s.find('.') != std::string::npos && s.find('e') == std::string::npos) {
        while (!s.empty() && s.back() == '0') s.pop_back();
        if (!s.empty() && s.back() == '.') s.pop_back();
    }
    if (size_t p = s.find(".0000e"); p != std::string::npos) s.replace(p, 6, "e");
    for (char &ch : s)
        if (ch == '.') ch = ',';
    return s;
}

}  // namespace qm
