// A table of live objects behind opaque handles, looked up without a lock.
// Internal to the Win32 subset.
//
// A handle names a slot and the generation the slot had when the object was
// added, under a tag of the table's own; a stale handle (its object removed,
// the slot perhaps reused), a handle of another table and any made-up value
// find nothing. Find takes no lock, so the calls that look a handle up on
// every use (all drawing calls) cost a few loads; Add, Remove and ForEach take
// the table's mutex. Slots live in chunks that are never freed, so a lookup
// never reads freed memory, whatever value it is given. An object removed by
// one thread while another is still using it stays the caller's error, as it
// is on any platform.
#pragma once

#include <atomic>
#include <cstdint>
#include <mutex>

static_assert(sizeof(uintptr_t) == 8, "handles hold a tag, a generation and a slot in 64 bits");

template <class T>
class HandleTable {
public:
    // tag: 1..255, bits 48..55 of the table's handles (user-space pointers stay
    // below bit 47, so no object's address reads as a handle). The table is
    // initialised at compile time and never torn down, so objects may be
    // added, found and removed at any time, also during static construction
    // and destruction; its slots are never freed.
    constexpr explicit HandleTable(uintptr_t tag) : tag_(tag) {}
    HandleTable(const HandleTable&) = delete;
    HandleTable& operator=(const HandleTable&) = delete;

    // The handle of a new live object; 0 when every slot is taken.
    uintptr_t Add(T* object) {
        std::lock_guard<std::mutex> lock(mutex_);
        uint32_t index = firstFree_;
        if (index != kNoSlot) {
            firstFree_ = SlotAt(index).nextFree;
        } else {
            if (used_ == kSlots) return 0;
            index = used_++;
            if (chunks_[index >> kChunkBits].load(std::memory_order_relaxed) == nullptr)
                chunks_[index >> kChunkBits].store(new Slot[kChunkSize], std::memory_order_release);
        }
        Slot& slot = SlotAt(index);
        slot.generation = (slot.generation + 1) & kGenerationMask;
        const uintptr_t handle = tag_ << kTagShift | uintptr_t{slot.generation} << kIndexBits | index;
        // Handle first and object last, the reverse of Remove, so that a lookup
        // never takes a slot's object for another handle's (see Find).
        slot.handle.store(handle, std::memory_order_release);
        slot.object.store(object, std::memory_order_release);
        return handle;
    }

    // Ends a handle; false when it was not live.
    bool Remove(uintptr_t handle) {
        std::lock_guard<std::mutex> lock(mutex_);
        if (Find(handle) == nullptr) return false;
        const uint32_t index = handle & kIndexMask;
        Slot& slot = SlotAt(index);
        slot.object.store(nullptr, std::memory_order_release);
        slot.handle.store(0, std::memory_order_release);
        slot.nextFree = firstFree_;
        firstFree_ = index;
        return true;
    }

    // The live object of a handle; null for anything else. Any value but 0
    // (what free slots hold) names some slot of the directory, and only a live
    // handle equals what its slot holds, tag and generation included.
    T* Find(uintptr_t handle) const {
        if (handle == 0) return nullptr;
        const uint32_t index = handle & kIndexMask;
        const Slot* chunk = chunks_[index >> kChunkBits].load(std::memory_order_acquire);
        if (chunk == nullptr) return nullptr;
        const Slot& slot = chunk[index & (kChunkSize - 1)];
        if (slot.handle.load(std::memory_order_acquire) != handle) return nullptr;
        T* object = slot.object.load(std::memory_order_acquire);
        // A slot ended and reused after the first load shows its new handle by
        // the time its new object is seen (null while it is being added).
        return slot.handle.load(std::memory_order_relaxed) == handle ? object : nullptr;
    }

    // Calls visit(T*) for every live object, holding the table's lock.
    template <class Visit>
    void ForEach(Visit visit) {
        std::lock_guard<std::mutex> lock(mutex_);
        for (uint32_t index = 0; index < used_; ++index)
            if (T* object = SlotAt(index).object.load(std::memory_order_relaxed)) visit(object);
    }

private:
    static constexpr int kIndexBits = 20;
    static constexpr uint32_t kSlots = 1u << kIndexBits;
    static constexpr uint32_t kIndexMask = kSlots - 1;
    static constexpr uint32_t kNoSlot = ~0u;
    static constexpr int kChunkBits = 10;
    static constexpr uint32_t kChunkSize = 1u << kChunkBits;
    static constexpr int kTagShift = 48;
    static constexpr uint32_t kGenerationMask = (1u << (kTagShift - kIndexBits)) - 1;

    struct Slot {
        std::atomic<uintptr_t> handle{0};
        std::atomic<T*> object{nullptr};
        uint32_t generation = 0;      // under the mutex
        uint32_t nextFree = kNoSlot;  // under the mutex, while the slot is free
    };
    Slot& SlotAt(uint32_t index) {
        return chunks_[index >> kChunkBits].load(std::memory_order_relaxed)[index & (kChunkSize - 1)];
    }

    const uintptr_t tag_;
    std::mutex mutex_;
    std::atomic<Slot*> chunks_[kSlots / kChunkSize] = {};
    uint32_t used_ = 0;
    uint32_t firstFree_ = kNoSlot;  // slots ended, most recent first
};
