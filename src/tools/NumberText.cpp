#include "tools/NumberText.h"

#include <clocale>
#include <cmath>
#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <locale.h>
#include <vector>

namespace qm {

namespace {

locale_t CLocale() {
    static locale_t c = newlocale(LC_ALL_MASK, "C", locale_t(nullptr));
    return c;
}

bool IsDigit(char c) { return c >= '0' && c <= '9'; }
bool IsBlank(char c) { return c == ' ' || (c >= '\t' && c <= '\r'); }

}  // namespace

double ReadDecimal(std::string_view t) {
    size_t i = 0, n = t.size();
    while (i < n && IsBlank(t[i])) ++i;
    const size_t start = i;
    if (i < n && (t[i] == '+' || t[i] == '-')) ++i;
    size_t digits = 0;
    while (i < n && IsDigit(t[i])) ++i, ++digits;
    if (i < n && t[i] == '.') {
        ++i;
        while (i < n && IsDigit(t[i])) ++i, ++digits;
    }
    if (digits == 0) return 0;
    size_t end = i;
    if (i < n && (t[i] == 'e' || t[i] == 'E')) {
        size_t j = i + 1;
        if (j < n && (t[j] == '+' || t[j] == '-')) ++j;
        if (j < n && IsDigit(t[j])) {
            while (j < n && IsDigit(t[j])) ++j;
            end = j;
        }
    }
    const std::string number(t.substr(start, end - start));
    return strtod_l(number.c_str(), nullptr, CLocale());
}

std::string FormatC(const char *format, ...) {
    locale_t previous = uselocale(CLocale());
    char small[128];
    va_list args;
    va_start(args, format);
    va_list again;
    va_copy(again, args);
    int n = std::vsnprintf(small, sizeof small, format, args);
    va_end(args);
    std::string out;
    if (n >= 0 && size_t(n) < sizeof small) {
        out.assign(small, size_t(n));
    } else if (n >= 0) {
        std::vector<char> big(size_t(n) + 1);
        std::vsnprintf(big.data(), big.size(), format, again);
        out.assign(big.data(), size_t(n));
    }
    va_end(again);
    uselocale(previous);
    return out;
}

std::string FormatGeneral(double v, std::string_view separator) {
    if (std::isnan(v)) return "NAN";
    if (std::isinf(v)) return v < 0 ? "-INF" : "INF";
    if (v == 0) return "0";
    // "-d.dddddddddddddde+XX": fifteen significant digits, rounded once.
    const std::string e = FormatC("%.14e", v);
    size_t pos = 0;
    std::string sign;
    if (e[pos] == '-') sign = "-", ++pos;
    std::string digits;
    for (; pos < e.size() && e[pos] != 'e'; ++pos)
        if (IsDigit(e[pos])) digits += e[pos];
    const int exponent = std::atoi(e.c_str() + pos + 1);
    while (digits.size() > 1 && digits.back() == '0') digits.pop_back();

    std::string out = sign;
    if (exponent >= -4 && exponent < 15) {
        if (exponent >= 0) {
            const size_t whole = size_t(exponent) + 1;
            if (digits.size() <= whole) {
                out += digits + std::string(whole - digits.size(), '0');
            } else {
                out += digits.substr(0, whole);
                out += separator;
                out += digits.substr(whole);
            }
        } else {
            out += "0";
            out += separator;
            out += std::string(size_t(-exponent - 1), '0') + digits;
        }
    } else {
        out += digits[0];
        if (digits.size() > 1) {
            out += separator;
            out += digits.substr(1);
        }
        out += "E";
        if (exponent < 0) out += "-";
        out += std::to_string(std::abs(exponent));
    }
    return out;
}

std::string RegionalDecimalSeparator() {
    const lconv *l = std::localeconv();
    if (l && l->decimal_point && *l->decimal_point) return l->decimal_point;
    return ".";
}

}  // namespace qm
