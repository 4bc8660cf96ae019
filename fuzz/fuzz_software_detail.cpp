// The software detail-page reader on arbitrary pages: links keep the host in front and the
// description stays within its cut (cleaning never lengthens a text by more than it removes).
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "engines/vertical/VerticalReaders.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    const std::string_view page(reinterpret_cast<const char *>(data), size);
    const qm::SoftwareDetail d = qm::ReadSoftwareDetailPage(page, "http://c.example");
    for (const std::string *link : {&d.download, &d.author, &d.opinions})
        if (!link->empty() && link->rfind("http://c.example", 0) != 0) std::abort();
    if (!d.opinions.empty() && !d.mentionsOpinions) std::abort();
    return 0;
}
