// CleanHtmlText and the display conversion on arbitrary bytes.
#include "toolkit/DisplayText.h"
#include "toolkit/Misc.h"

#include <cstdint>
#include <cstdlib>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    std::string_view in(reinterpret_cast<const char *>(data), size);
    std::string out = qm::CleanHtmlText(in);
    // The cleanup only removes and decodes: it never makes a text longer.
    if (out.size() > in.size()) std::abort();
    QString shown = qm::DisplayText(out);
    if (shown.size() > static_cast<qsizetype>(out.size())) std::abort();
    return 0;
}
