#pragma once
// Numbers as the conversion tools read and show them. Reading never depends on the
// process locale; showing uses the C locale unless a separator is given.
#include <string>
#include <string_view>

namespace qm {

// A decimal number read from typed text: leading white space skipped, an optional sign,
// digits with "." as decimal separator, an optional exponent ("e" or "E", a sign, digits).
// Reading stops at the first byte that does not fit; text without a number gives 0. There
// is no hexadecimal, "inf" or "nan": "0x1A" reads as 0, "2,5" as 2. A number too large for
// a double reads as an infinity.
double ReadDecimal(std::string_view text);

// snprintf in the C locale (the decimal point is always ".").
std::string FormatC(const char *format, ...) __attribute__((format(printf, 1, 2)));

// The general format: at most 15 significant digits, rounded, trailing zeros and a bare
// decimal point dropped; plain notation when 0.0001 <= |v| < 10^15 (and for 0), otherwise
// "1E-5" or "1.5E20". `separator` stands for the decimal point.
std::string FormatGeneral(double v, std::string_view separator);

// The decimal separator of the user's regional settings (the process locale).
std::string RegionalDecimalSeparator();

}  // namespace qm
