// The package's random source: a linear congruential generator whose high
// bits give 15-bit values, guarded by a mutex.
#include "RandomSource.h"

#include <chrono>
#include <cstdint>
#include <mutex>

namespace {

std::mutex randomLock;
bool randomSeeded = false;
uint32_t randomState = 1;

}  // namespace

int NextRandom() {
    std::lock_guard<std::mutex> guard(randomLock);
    if (!randomSeeded) {
        randomState = static_cast<uint32_t>(std::chrono::system_clock::now().time_since_epoch().count());
        randomSeeded = true;
    }
    randomState = randomState * 214013u + 2531011u;
    return static_cast<int>((randomState >> 16) & RandomMaximum);
}

void SeedRandom(unsigned seed) {
    std::lock_guard<std::mutex> guard(randomLock);
    randomState = seed;
    randomSeeded = true;
}
