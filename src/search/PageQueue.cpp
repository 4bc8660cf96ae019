#include "search/PageQueue.h"

namespace qm {

namespace {
bool EqualNoCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (size_t i = 0; i < a.size(); ++i) {
        unsigned char x = a[i], y = b[i];
        if (x >= 'A' && x <= 'Z') x += 32;
        if (y >= 'A' && y <= 'Z') y += 32;
        if (x != y) return false;
    }
    return true;
}
}  // namespace

bool PageQueue::Contains(std::string_view address) const {
    for (const auto &e : entries_)
        if (EqualNoCase(e.address, address)) return true;
    return false;
}

bool PageQueue::AddPage(std::string_view address, std::string_view state) {
    if (Contains(address)) return false;
    Append(address, state);
    return true;
}

void PageQueue::Append(std::string_view address, std::string_view state) {
    entries_.push_back({std::string(address), std::string(state)});
}

std::string NextPageUrl(PageQueue &queue) {
    for (size_t i = 0; i < queue.size(); ++i) {
        if (queue[i].state.empty()) {
            queue[i].state = "HANDLED";
            return queue[i].address;
        }
    }
    return {};
}

}  // namespace qm
