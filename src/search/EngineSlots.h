#pragma once
// The request objects of one search kind, one per row of its engine table. Every search
// controller keeps its engines here: a slot is filled when a search starts and emptied
// when it ends; an engine taken out is disposed of (freed once its last handler has
// returned, see PagedRequest::Dispose).
#include "search/PagedRequest.h"

#include <functional>
#include <string>
#include <vector>

namespace qm {

// How an engine that took part ended, as search reports give it: "aborted" (still at
// work or cut short), "stopped" (its result limit), "error" (a transfer error), "http N"
// (a status other than 200) or "ok".
inline std::string EndStatusOf(const PagedRequest &e) {
    if (e.Busy() || e.CutShort()) return "aborted";
    if (e.Stopped()) return "stopped";
    if (e.LastError() != 0) return "error";
    if (e.LastStatus() != 0 && e.LastStatus() != 200) return "http " + std::to_string(e.LastStatus());
    return "ok";
}

template <class Engine>
class EngineSlots {
public:
    // Runs before an engine is disposed of, for what it holds outside itself.
    using Release = std::function<void(Engine &)>;

    explicit EngineSlots(size_t count = 0) : slots_(count, nullptr) {}
    EngineSlots(const EngineSlots &) = delete;
    EngineSlots &operator=(const EngineSlots &) = delete;
    ~EngineSlots() { DisposeAll(); }

    size_t size() const { return slots_.size(); }
    Engine *At(int slot) const {
        return slot >= 0 && size_t(slot) < slots_.size() ? slots_[size_t(slot)] : nullptr;
    }

    // Puts a new engine into a slot; one still there is disposed of first.
    void Put(int slot, Engine *engine) {
        if (slot < 0 || size_t(slot) >= slots_.size()) return;
        Dispose(slot);
        slots_[size_t(slot)] = engine;
    }

    // Takes the engine out of its slot and disposes of it.
    void Dispose(int slot, const Release &release = {}) {
        Engine *e = At(slot);
        if (!e) return;
        slots_[size_t(slot)] = nullptr;
        if (release) release(*e);
        PagedRequest::Dispose(e);
    }

    void DisposeAll(const Release &release = {}) {
        for (size_t i = 0; i < slots_.size(); ++i) Dispose(int(i), release);
    }

    // Disposes of every engine and makes `count` empty slots.
    void Reset(size_t count, const Release &release = {}) {
        DisposeAll(release);
        slots_.assign(count, nullptr);
    }

    // No engine is at work (empty slots count as idle).
    bool AllIdle() const {
        for (const Engine *e : slots_)
            if (e && e->Busy()) return false;
        return true;
    }

    auto begin() const { return slots_.begin(); }
    auto end() const { return slots_.end(); }

private:
    std::vector<Engine *> slots_;
};

}  // namespace qm
