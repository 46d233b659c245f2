// The clock of messages, timers, the caret blink and double clicks: real time
// by default, or a test clock that only moves when a test advances it.
#pragma once

#include <cstdint>

namespace win32 {

// Milliseconds since an arbitrary start; wraps like a 32-bit tick count.
uint32_t MessageClockNow();
// Switches to the test clock (frozen at its current value) or back to real time.
void UseTestClock(bool enabled);
bool UsingTestClock();
// Moves the test clock forward; nothing when the real clock is in use.
void AdvanceTestClock(uint32_t milliseconds);

}  // namespace win32
