// MT19937 over the shared generator state: seeding by word and by key, regeneration and tempering.
#include "RandomNumbers.h"

#include <mutex>

namespace {

constexpr int kStateSize = 624;
constexpr int kMiddle = 397;
constexpr uint32_t kMatrix = 0x9908b0dfU;
constexpr uint32_t kUpperMask = 0x80000000U;
constexpr uint32_t kLowerMask = 0x7fffffffU;

struct TSharedState {
    std::mutex lock;
    uint32_t words[kStateSize] = {};
    int index = kStateSize;
    bool seeded = false;
};

TSharedState& Shared() {
    static TSharedState state;
    return state;
}

// The callers hold the lock.
void SeedLocked(TSharedState& state, uint32_t s) {
    state.words[0] = s;
    for (int i = 1; i < kStateSize; ++i) {
        const uint32_t previous = state.words[i - 1];
        state.words[i] = 1812433253U * (previous ^ (previous >> 30)) + static_cast<uint32_t>(i);
    }
    state.index = kStateSize;
}

void SeedByArrayLocked(TSharedState& state, const uint32_t* key, int length) {
    static const uint32_t kZeroKey[1] = {0};
    if (key == nullptr || length < 1) {
        key = kZeroKey;
        length = 1;
    }
    SeedLocked(state, 19650218U);
    uint32_t* w = state.words;
    int i = 1;
    int j = 0;
    for (int k = kStateSize > length ? kStateSize : length; k > 0; --k) {
        w[i] = (w[i] ^ ((w[i - 1] ^ (w[i - 1] >> 30)) * 1664525U)) + key[j] + static_cast<uint32_t>(j);
        ++i;
        ++j;
        if (i >= kStateSize) {
            w[0] = w[kStateSize - 1];
            i = 1;
        }
        if (j >= length) j = 0;
    }
    for (int k = kStateSize - 1; k > 0; --k) {
        w[i] = (w[i] ^ ((w[i - 1] ^ (w[i - 1] >> 30)) * 1566083941U)) - static_cast<uint32_t>(i);
        ++i;
        if (i >= kStateSize) {
            w[0] = w[kStateSize - 1];
            i = 1;
        }
    }
    w[0] = kUpperMask;
    state.index = kStateSize;
}

void RefillLocked(TSharedState& state) {
    uint32_t* w = state.words;
    for (int i = 0; i < kStateSize; ++i) {
        const uint32_t next = w[(i + 1) % kStateSize];
        w[i] = w[(i + kMiddle) % kStateSize] ^ MTRand_int32::Twist(w[i], next);
    }
    state.index = 0;
}

}  // namespace

uint32_t MTRand_int32::Twist(uint32_t u, uint32_t v) {
    return (((u & kUpperMask) | (v & kLowerMask)) >> 1) ^ ((v & 1U) != 0 ? kMatrix : 0U);
}

MTRand_int32::MTRand_int32() {
    TSharedState& state = Shared();
    std::lock_guard<std::mutex> guard(state.lock);
    if (!state.seeded) SeedLocked(state, 5489U);
    state.seeded = true;
}

MTRand_int32::MTRand_int32(const uint32_t* key, int length) {
    TSharedState& state = Shared();
    std::lock_guard<std::mutex> guard(state.lock);
    SeedByArrayLocked(state, key, length);
    state.seeded = true;
}

MTRand_int32::~MTRand_int32() = default;

void MTRand_int32::Seed(uint32_t s) {
    TSharedState& state = Shared();
    std::lock_guard<std::mutex> guard(state.lock);
    SeedLocked(state, s);
}

void MTRand_int32::SeedByArray(const uint32_t* key, int length) {
    TSharedState& state = Shared();
    std::lock_guard<std::mutex> guard(state.lock);
    SeedByArrayLocked(state, key, length);
}

uint32_t MTRand_int32::Next() {
    TSharedState& state = Shared();
    std::lock_guard<std::mutex> guard(state.lock);
    if (state.index >= kStateSize) RefillLocked(state);
    uint32_t y = state.words[state.index++];
    y ^= y >> 11;
    y ^= (y << 7) & 0x9d2c5680U;
    y ^= (y << 15) & 0xefc60000U;
    y ^= y >> 18;
    return y;
}
