#pragma once
// The currency converter's data and reading, without a network: the 167 currencies, the
// request path, the one-pass matcher that finds the rate in a quote page, and the texts
// the result panel shows.
#include <array>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

namespace qm {

struct CurrencyRow {
    const char *name;  // as the lists show it
    const char *code;  // sent to the quote service unchanged
};
inline constexpr int kCurrencyCount = 167;
const std::array<CurrencyRow, kCurrencyCount> &CurrencyTable();
inline constexpr int kDefaultCurrencyFrom = 154;  // "U.S Dollar"
inline constexpr int kDefaultCurrencyTo = 48;     // "Euro"
// Row of a currency by code (ASCII case ignored) or by its decimal index; -1 if none.
int FindCurrency(std::string_view codeOrIndex);

// The quote service's host key and request.
inline constexpr const char *kQuoteHostKey = "quotes";
inline constexpr const char *kQuoteRequestTemplate = "/m5?s=[FROM]&t=[TO]&a=1&c=0";
// The template with both codes; "" when a row is out of range.
std::string QuoteRequestPath(int from, int to);

// Reads the rate's value cell out of a quote page, one lower-cased byte at a time:
//   1. wait for ">", expect "currency exchange<";
//   2. wait for "<", expect "td nowrap>";
//   3. wait for ">", expect "<td>";
//   4. the value: every byte up to the next "<" (the first 511 kept).
// A byte that breaks an expectation sends the stage back to its waiting state and is not
// looked at again.
class QuoteMatcher {
public:
    static constexpr size_t kMaxValue = 511;
    // Feeds one byte (already lower-cased); true once the value is complete.
    bool Feed(char c);
    bool Complete() const { return stage_ == 5; }
    const std::string &Value() const { return value_; }

private:
    int stage_ = 1;
    bool expecting_ = false;
    size_t matched_ = 0;
    std::string value_;
};

// Scans a whole answer: every byte lower-cased in place, tab, CR and LF turned into blanks
// and kept from the matcher. `keepGoing(p)` is asked before byte p (false ends the scan);
// it is where the caller lets events run. The value cell's text, or nothing.
std::optional<std::string> ScanQuoteAnswer(std::string &body,
                                           const std::function<bool(size_t p)> &keepGoing = {});

// The rate a value cell gives: a finite number above 0, or nothing.
std::optional<double> RateFromValue(std::string_view value);

// The panel's text after a flip: "%.6f" (always "." and six decimals).
std::string FormatFlipped(double v);

}  // namespace qm
