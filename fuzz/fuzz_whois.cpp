// The WHOIS gateway's reply: <pre> extraction and the byte filter, on any bytes.
#include "tools/Whois.h"

#include <cstddef>
#include <cstdint>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    const std::string_view body(reinterpret_cast<const char *>(data), size);
    const qm::WhoisRecord record = qm::ParseWhoisReply(body);
    for (const auto &line : record.lines)
        for (unsigned char c : line)
            if (c < 32 || c > 127) __builtin_trap();  // the memo gets printable ASCII only
    qm::FilterWhoisText(body);
    return 0;
}
