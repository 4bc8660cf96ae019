#pragma once
// The process-wide registry of request objects. Each search kind owns a fixed range of
// slots; an HTTP client's Tag is its request object's slot within that range, so an
// event finds its request object with one array access.
#include <array>
#include <cstddef>

namespace qm {

enum class SearchKind { Web = 0, News, Software, Catalogue, Forum, Mp3, WebBot, DailyNews, Smart, UrlCheck };

class EngineRegistry {
public:
    static constexpr int kSlotsPerKind = 64;
    static constexpr int kKinds = 10;

    static EngineRegistry &Instance();

    // The object in a slot, nullptr when empty or out of range.
    void *Get(SearchKind kind, int tag) const;
    template <class T>
    T *GetAs(SearchKind kind, int tag) const { return static_cast<T *>(Get(kind, tag)); }
    // Stores `object` (nullptr empties the slot). Returns false for an out-of-range tag.
    bool Set(SearchKind kind, int tag, void *object);
    // Empties the slot only when it still holds `object`.
    void Release(SearchKind kind, int tag, const void *object);

private:
    std::array<void *, size_t(kSlotsPerKind) * kKinds> slots_{};
};

}  // namespace qm
