// List file loading on arbitrary bytes, for every record kind.
#include "toolkit/ListFile.h"

#include <cstdint>
#include <cstdlib>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    std::string_view in(reinterpret_cast<const char *>(data), size);
    for (auto kind : {qm::RecordKind::Web, qm::RecordKind::Newsgroup, qm::RecordKind::Software,
                      qm::RecordKind::DailyNews}) {
        auto records = qm::ParseListFile(in, kind);
        for (const auto &r : records)
            if (static_cast<int>(r.texts.size()) != qm::RecordTexts(kind)) std::abort();
        // What was loaded is saved and loaded back unchanged.
        std::string saved = qm::FormatListFile(records, kind);
        auto again = qm::ParseListFile(saved, kind);
        if (again.size() != records.size()) std::abort();
        for (size_t i = 0; i < again.size(); ++i)
            if (again[i].texts != records[i].texts || again[i].image != records[i].image) std::abort();
    }
    std::string name = qm::NormaliseListFileName(in);
    if (name.find('/') != std::string::npos || name.find('\0') != std::string::npos || name == "." ||
        name == ".." || name.empty())
        std::abort();
    return 0;
}
