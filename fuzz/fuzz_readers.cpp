// The web page readers on arbitrary pages. The first byte picks the selector, the second
// a result limit and a pump that stops the read; the rest is the page.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <set>
#include <string>

#include "engines/web/WebReaders.h"
#include "engines/web/WebReadersSink.h"

namespace {

void Check(bool ok) {
    if (!ok) std::abort();
}

std::string Lower(std::string s) {
    for (char &c : s)
        if (c >= 'A' && c <= 'Z') c = char(c + 32);
    return s;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    if (size < 2) return 0;
    const int selector = data[0] % 18;
    const size_t limit = data[1] & 0x0f;        // 0: no limit
    const size_t stopAtPump = data[1] >> 4;     // 0: never stopped
    const std::string page(reinterpret_cast<const char *>(data + 2), size - 2);
    const std::string host = "http://host.example";

    qm::CollectingSink sink(host, "E");
    sink.limit = limit;
    sink.stopAtPump = stopAtPump;
    qm::RunReaders(selector, page, sink);

    Check(qm::HasReaders(selector) || (sink.Rows().empty() && sink.Queue().empty()));
    if (limit) Check(sink.Rows().size() <= limit);
    if (selector == 12) Check(sink.Rows().size() <= 10);
    if (selector == 15) Check(sink.Queue().empty());
    if (selector == 10 || selector == 14) Check(sink.Queue().size() <= 1);
    if (selector == 17) Check(sink.Queue().size() <= 3);
    // Pumps happen before positions 0, 512, ... of each of the two walks.
    Check(sink.pumps <= 2 * (page.size() / qm::kPumpInterval + 1));

    // Fields are cut to 511 bytes; only fixed prefixes are added to them.
    const size_t longest = qm::kMaxField + host.size() + 32;
    std::set<std::string> addresses;
    for (const auto &row : sink.Rows()) {
        Check(row.subItems.size() == 5);
        for (const auto &field : row.subItems) Check(field.size() <= longest);
        Check(row.subItems[qm::kSource] == "E");
        // Never listed twice (a click-through row with an empty click address is tested
        // on that empty address, so it is left out here).
        const bool clickRow = selector == 10 || selector == 14 || selector == 17;
        if (!clickRow || !row.subItems[qm::kUrl].empty()) Check(addresses.insert(Lower(row.Address())).second);
    }
    std::set<std::string> pages;
    for (const auto &entry : sink.Queue().entries()) Check(pages.insert(Lower(entry.address)).second);
    return 0;
}
