// The newsgroup readers on arbitrary pages. The first byte gives a result limit and a pump
// that stops the read; the rest is the page. Rows keep their shape and identities stay unique.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "engines/vertical/VerticalReaders.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    if (size < 1) return 0;
    qm::VerticalCollectingSink sink("http://n.example", "GoogleNews", qm::kNewsColumns, qm::kNewsAddress);
    sink.limit = data[0] & 0x0f;
    sink.stopAtPump = data[0] >> 4;
    const std::string_view page(reinterpret_cast<const char *>(data + 1), size - 1);
    qm::RunVerticalReaders(qm::VerticalEngine::News, page, sink);
    for (const auto &r : sink.Rows()) {
        if (r.subItems.size() != qm::kNewsColumns) std::abort();
        if (r.subItems[qm::kNewsAddress].rfind("http://n.example/", 0) != 0) std::abort();
        if (r.subItems[qm::kNewsTitle].size() > 2 * qm::kMaxField + 16) std::abort();
    }
    for (const auto &e : sink.Queue().entries())
        if (e.address.empty()) std::abort();
    return 0;
}
