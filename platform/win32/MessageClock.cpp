// The message clock: real monotonic time, or a test clock moved by hand.
#include "MessageClock.h"

#include <atomic>
#include <chrono>

namespace win32 {
namespace {

std::atomic<bool> testClock{false};
std::atomic<uint32_t> testNow{1000};

uint32_t RealNow() {
    using namespace std::chrono;
    return uint32_t(duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count());
}

}  // namespace

uint32_t MessageClockNow() { return testClock ? testNow.load() : RealNow(); }

void UseTestClock(bool enabled) {
    if (enabled && !testClock) testNow = RealNow();
    testClock = enabled;
}

bool UsingTestClock() { return testClock; }

void AdvanceTestClock(uint32_t milliseconds) {
    if (testClock) testNow += milliseconds;
}

}  // namespace win32
