// The C|NET and TuCows readers on arbitrary pages. The first byte picks the engine (bit 0)
// and a pump that stops the read; the rest is the page.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "engines/vertical/VerticalReaders.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    if (size < 1) return 0;
    const bool cnet = (data[0] & 1) == 0;
    qm::VerticalCollectingSink sink(cnet ? "http://c.example" : "http://t.example", cnet ? "C|NET" : "TuCows",
                                    qm::kPrgColumns, qm::kPrgName);
    sink.stopAtPump = (data[0] >> 1) & 0x0f;
    const std::string_view page(reinterpret_cast<const char *>(data + 1), size - 1);
    qm::RunVerticalReaders(cnet ? qm::VerticalEngine::Cnet : qm::VerticalEngine::TuCows, page, sink);
    for (const auto &r : sink.Rows()) {
        if (r.subItems.size() != qm::kPrgColumns) std::abort();
        const std::string &size = r.subItems[qm::kPrgSize];
        if (!cnet && (size.size() < 3 || size.compare(size.size() - 3, 3, " KB") != 0)) std::abort();
    }
    return 0;
}
