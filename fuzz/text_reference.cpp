// The linear ReplaceAll and CleanHtmlText against the quadratic code they replaced:
// the results must be the same bytes. The first byte splits the rest into pattern,
// replacement and text for ReplaceAll; the whole input is also cleaned.
#include "tests/toolkit/reference_text.h"
#include "toolkit/Misc.h"

#include <cstdint>
#include <cstdlib>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    std::string_view in(reinterpret_cast<const char *>(data), size);
    if (in.size() > 4096) return 0;  // the reference is quadratic
    if (qm::CleanHtmlText(in) != qm::reference::CleanHtmlText(in)) std::abort();
    if (in.empty()) return 0;
    const size_t m = 1 + (static_cast<unsigned char>(in[0]) & 7), r = (static_cast<unsigned char>(in[0]) >> 3) & 7;
    std::string_view rest = in.substr(1);
    if (rest.size() < m + r || rest.size() > 512) return 0;
    std::string_view pattern = rest.substr(0, m), replacement = rest.substr(m, r), text = rest.substr(m + r);
    if (qm::TMisc::ReplaceAll(text, pattern, replacement) != qm::reference::ReplaceAll(text, pattern, replacement))
        std::abort();
    if (qm::TMisc::ReplaceAllExact(text, pattern, replacement) !=
        qm::reference::ReplaceAllExact(text, pattern, replacement))
        std::abort();
    return 0;
}
