// History loading on arbitrary bytes, then saving and loading back.
#include "toolkit/Misc.h"

#include <cstdint>
#include <cstdlib>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    std::string_view in(reinterpret_cast<const char *>(data), size);
    qm::HistoryBox box;
    qm::TMisc::ParseHistory(in, box);
    for (const auto &e : box.entries)
        if (qm::Trim(e).empty()) std::abort();
    qm::TMisc::PushHistory(box);
    if (box.entries.empty() || box.entries.front() != box.editText) std::abort();
    // Saved and loaded back, the entries after the pushed one come back as they were.
    qm::HistoryBox back;
    qm::TMisc::ParseHistory(qm::TMisc::FormatHistory(box), back);
    size_t blanks = qm::Trim(box.editText).empty() ? 1 : 0;  // the pushed empty entry is dropped
    if (back.entries.size() + blanks != box.entries.size()) std::abort();
    return 0;
}
