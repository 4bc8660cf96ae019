// Options files and key-value lines from arbitrary bytes.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "settings/KeyValue.h"
#include "toolkit/Misc.h"
#include "settings/Opt.h"

namespace {

void Check(bool ok) {
    if (!ok) std::abort();
}

void CheckKeyValue(std::string_view input) {
    // First line: the key; the rest: the line to search.
    size_t nl = input.find('\n');
    if (nl == std::string_view::npos || nl > 64) return;  // keys are short
    std::string_view key = input.substr(0, nl), line = input.substr(nl + 1);
    std::string value = "stale";
    if (qm::KeyValue(line, key, value)) {
        Check(value == qm::Trim(value));
        Check(value.empty() || line.find(value) != std::string_view::npos);
    } else {
        Check(value.empty());
    }
    value = "stale";
    if (qm::KeyValueBeforeEquals(line, key, value)) Check(line.find('=') != std::string_view::npos);
    else Check(value.empty());
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    std::string_view input(reinterpret_cast<const char *>(data), size);
    CheckKeyValue(input);

    qm::Options opt;
    qm::ApplyOptionLines(opt, qm::kv::Lines(input), std::string());
    // Whatever was read is written and read back unchanged, as long as no written line is
    // longer than the line reader takes at once.
    const std::string once = qm::FormatOptions(opt);
    bool shortLines = true;
    for (size_t start = 0, end; start < once.size(); start = end + 1) {
        end = once.find('\n', start);
        if (end == std::string::npos) end = once.size();
        if (end - start > 4096) shortLines = false;
    }
    if (shortLines) {
        qm::Options back;
        qm::ApplyOptionLines(back, qm::kv::Lines(once), std::string());
        Check(back == opt);
        Check(qm::FormatOptions(back) == once);
    }
    (void)qm::FitWindowGeometry(opt.window, 1024, 768);
    return 0;
}
