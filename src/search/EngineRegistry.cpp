#include "search/EngineRegistry.h"

namespace qm {

EngineRegistry &EngineRegistry::Instance() {
    static EngineRegistry registry;
    return registry;
}

namespace {
int SlotIndex(SearchKind kind, int tag) {
    int k = static_cast<int>(kind);
    if (k < 0 || k >= EngineRegistry::kKinds || tag < 0 || tag >= EngineRegistry::kSlotsPerKind) return -1;
    return k * EngineRegistry::kSlotsPerKind + tag;
}
}  // namespace

void *EngineRegistry::Get(SearchKind kind, int tag) const {
    int i = SlotIndex(kind, tag);
    return i < 0 ? nullptr : slots_[size_t(i)];
}

bool EngineRegistry::Set(SearchKind kind, int tag, void *object) {
    int i = SlotIndex(kind, tag);
    if (i < 0) return false;
    slots_[size_t(i)] = object;
    return true;
}

void EngineRegistry::Release(SearchKind kind, int tag, const void *object) {
    int i = SlotIndex(kind, tag);
    if (i >= 0 && slots_[size_t(i)] == object) slots_[size_t(i)] = nullptr;
}

}  // namespace qm
