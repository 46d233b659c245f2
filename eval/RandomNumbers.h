// The 32-bit Mersenne Twister (MT19937) over one process-wide generator state guarded by a mutex.
#pragma once

#include <cstdint>

// Generator objects carry no state of their own: every object draws from and
// seeds the one shared state. Each operation locks that state, so draws from
// several threads never tear it (their interleaving is of course not fixed).
class MTRand_int32 {
public:
    // Seeds with 5489 only when no generator was constructed before.
    MTRand_int32();
    // Seeds by key (see SeedByArray).
    MTRand_int32(const uint32_t* key, int length);
    virtual ~MTRand_int32();

    // Reference one-word seeding; the next draw regenerates the words.
    void Seed(uint32_t s);
    // Reference key seeding. A null key or a length below 1 seeds with the
    // one-word key {0} instead of reading outside the key.
    void SeedByArray(const uint32_t* key, int length);
    // Next tempered 32-bit output.
    uint32_t Next();
    uint32_t operator()() { return Next(); }

    // The reference twist of two neighbouring words.
    static uint32_t Twist(uint32_t u, uint32_t v);
};

class MTRand : public MTRand_int32 {
public:
    MTRand() = default;
};
