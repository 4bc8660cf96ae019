// The forum and MP3 page-link finders and result readers on arbitrary pages. The first byte
// picks the reader (low three bits: Delphi Center, Yahoo groups, Topica, BoardServer, KaZaA,
// AVFind, EZBoard) and a pump that stops the read; the rest is the page.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "engines/vertical/ForumMp3.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    if (size < 1) return 0;
    static const int kForum[] = {0, 1, 3, 4, -1, -1, 2, 0};
    const int pick = data[0] & 7;
    qm::VerticalCollectingSink sink("http://s.example", "engine", qm::kFrmColumns, qm::kFrmUrl);
    sink.limit = qm::kForumMp3MaxRows + 1;
    sink.stopAtPump = (data[0] >> 3) & 0x0f;
    const std::string_view page(reinterpret_cast<const char *>(data + 1), size - 1);
    if (pick == 4 || pick == 5)
        qm::RunMp3Readers(pick == 4 ? 0 : 3, page, sink);
    else
        qm::RunForumReaders(kForum[pick], page, sink, "http://f.example");
    if (sink.Rows().size() > size_t(qm::kForumMp3MaxRows + 1)) std::abort();
    for (const auto &r : sink.Rows()) {
        if (r.subItems.size() != qm::kFrmColumns) std::abort();
        for (const auto &field : r.subItems)
            if (field.size() > 2 * page.size() + 64) std::abort();
        if (pick == 5 && qm::AvFindSizeNumber(r.subItems[qm::kMp3Size]) < 1) std::abort();
    }
    return 0;
}
