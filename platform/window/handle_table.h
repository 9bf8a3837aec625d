// Records reached through handles: a handle is a slot index with the slot's
// generation, so a handle to a freed record stays invalid even after its slot
// is reused (a slot is reused 65,535 times, then retired), and a lookup is an
// index, not a search.
#pragma once

#include <cstdint>
#include <vector>

namespace morlu::platform {

template <typename T>
class HandleTable {
public:
    // Up to 65,535 live records; beyond that add() refuses (returns 0), as the
    // platform refuses objects past its handle limit.
    uint32_t add(T value) {
        return make([&](T& made) { made = std::move(value); });
    }
    // A new record made in its slot by init(record), from a default one: no
    // copy or move of the record, which matters for the drawing objects made
    // and freed around every shape.
    template <class Init>
    uint32_t make(Init&& init) {
        uint32_t index = 0;
        if (!free_.empty()) {
            index = free_.back();
            free_.pop_back();
        } else if (slots_.size() < MAX_SLOTS) {
            index = static_cast<uint32_t>(slots_.size());
            slots_.emplace_back();
            count_ = slots_.size();
        } else {
            return 0;
        }
        Slot& slot = slots_[index];
        init(slot.value);  // a slot not in use holds a default record
        slot.tag |= 1;
        ++live_;
        return handle_of(index, slot.tag >> 1);
    }
    T* find(uint32_t handle) {
        const uint32_t index = (handle & 0xFFFF) - 1;
        if (handle == 0 || index >= count_) return nullptr;
        Slot& slot = slots_[index];
        return slot.tag == ((handle >> 16) << 1 | 1) ? &slot.value : nullptr;
    }
    void remove(uint32_t handle) {
        if (!find(handle)) return;
        const uint32_t index = (handle & 0xFFFF) - 1;
        Slot& slot = slots_[index];
        slot.value = T{};
        --live_;
        // A slot at its last generation is retired, never reused: a new generation
        // would wrap to one an old handle carries and bring that handle back.
        const uint32_t generation = slot.tag >> 1;
        slot.tag = generation << 1;
        if (generation == MAX_GENERATION) return;
        slot.tag = (generation + 1) << 1;
        free_.push_back(index);
    }
    size_t size() const {
        return live_;
    }
    template <class Visit>
    void for_each(Visit&& visit) {
        for (Slot& slot : slots_)
            if (slot.tag & 1) visit(slot.value);
    }

private:
    static constexpr size_t MAX_SLOTS = 0xFFFF;
    static constexpr uint32_t MAX_GENERATION = 0xFFFF;
    // The generation and whether the slot is in use, in one word a lookup
    // compares at once, ahead of the record it guards.
    struct Slot {
        uint32_t tag = 0;  // generation << 1 | in use
        T value{};
    };
    static uint32_t handle_of(uint32_t index, uint32_t generation) {
        return (generation << 16) | (index + 1);
    }
    std::vector<Slot> slots_;
    size_t count_ = 0;  // slots_.size(), kept so that a lookup need not divide by a slot's size
    std::vector<uint32_t> free_;
    size_t live_ = 0;
};

}  // namespace morlu::platform
