// The quote-page reader and the number texts of the currency converter on arbitrary bytes.
#include "tools/Currency.h"
#include "tools/NumberText.h"

#include <cstddef>
#include <cstdint>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    std::string body(reinterpret_cast<const char *>(data), size);
    size_t asked = 0;
    auto value = qm::ScanQuoteAnswer(body, [&](size_t p) { return p == asked++; });
    if (value) {
        if (value->size() > qm::QuoteMatcher::kMaxValue) __builtin_trap();
        if (auto rate = qm::RateFromValue(*value)) {
            qm::FormatGeneral(*rate * qm::ReadDecimal(body), ",");
            qm::FormatFlipped(1 / *rate);
        }
    }
    return 0;
}
