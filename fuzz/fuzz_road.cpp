// The road planner's two page scans and the unit switch on arbitrary bytes.
#include "tools/RoadPlanner.h"

#include <cstdint>
#include <cstdlib>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    std::string_view page(reinterpret_cast<const char *>(data), size);
    auto us = qm::ScanUsRoadPage(page, size % 2 == 0);
    auto eu = qm::ScanEuRoadPage(page);
    // Every step costs at least its landmarks, and captures stay within 511 bytes.
    if (us.size() * 12 > size + 12 || eu.size() * 25 > size + 25) std::abort();
    for (const auto &r : us)
        if (r.step.size() > 530) std::abort();
    if (!eu.empty()) qm::AppendEuRoadTotals(eu);
    qm::SwitchRoadUnits(eu, false);
    qm::SwitchRoadUnits(us, true);
    return 0;
}
