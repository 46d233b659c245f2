// Timers of the user-interface thread, due on the message clock.
#include "Timer.h"

#include <algorithm>
#include <vector>

#include "Input.h"
#include "MessageClock.h"
#include "WindowHooks.h"

namespace win32 {
namespace {

struct TimerRecord {
    HWND window;
    UINT_PTR id;
    UINT interval;
    uint32_t due;
    TIMERPROC procedure;
};

std::vector<TimerRecord>& Timers() {
    static std::vector<TimerRecord> timers;
    return timers;
}

UINT_PTR nextThreadTimerId = 0x7000;

bool Due(const TimerRecord& timer, uint32_t now) { return int32_t(now - timer.due) >= 0; }

}  // namespace

void ForgetTimersOf(HWND window) {
    auto& timers = Timers();
    timers.erase(std::remove_if(timers.begin(), timers.end(), [&](const TimerRecord& t) { return t.window == window; }),
                 timers.end());
}

void ResetTimers() { Timers().clear(); }

bool IsTimerProcedure(HWND window, UINT_PTR id, LPARAM procedure) {
    for (const TimerRecord& timer : Timers())
        if (timer.window == window && timer.id == id && reinterpret_cast<LPARAM>(timer.procedure) == procedure)
            return true;
    return false;
}

bool TakeDueTimer(HWND filter, UINT filterMin, UINT filterMax, bool remove, MSG* msg) {
    if (!(filterMin == 0 && filterMax == 0) && (WM_TIMER < filterMin || WM_TIMER > filterMax)) return false;
    const uint32_t now = MessageClockNow();
    for (TimerRecord& timer : Timers()) {
        if (!Due(timer, now)) continue;
        if (filter != nullptr && timer.window != filter && !IsChild(filter, timer.window)) continue;
        POINT cursor;
        GetCursorPos(&cursor);
        *msg = MSG{timer.window, WM_TIMER, timer.id, reinterpret_cast<LPARAM>(timer.procedure), now, cursor};
        if (remove) timer.due = now + timer.interval;
        return true;
    }
    return false;
}

bool EarliestTimerDue(uint32_t* due) {
    bool any = false;
    for (const TimerRecord& timer : Timers())
        if (!any || int32_t(timer.due - *due) < 0) {
            *due = timer.due;
            any = true;
        }
    return any;
}

}  // namespace win32

using namespace win32;

UINT_PTR SetTimer(HWND window, UINT_PTR id, UINT interval, TIMERPROC procedure) {
    if (window != nullptr && FindWindowRecord(window) == nullptr) return 0;
    interval = std::max<UINT>(interval, 10);
    if (window == nullptr) {
        bool known = false;
        for (const TimerRecord& timer : Timers()) known = known || (timer.window == nullptr && timer.id == id);
        if (!known) id = ++nextThreadTimerId;
    }
    const uint32_t due = MessageClockNow() + interval;
    for (TimerRecord& timer : Timers())
        if (timer.window == window && timer.id == id) {
            timer = TimerRecord{window, id, interval, due, procedure};
            return window != nullptr && id == 0 ? 1 : id;
        }
    Timers().push_back(TimerRecord{window, id, interval, due, procedure});
    WakeMessageLoop();
    return window != nullptr && id == 0 ? 1 : id;
}

BOOL KillTimer(HWND window, UINT_PTR id) {
    auto& timers = Timers();
    auto found = std::find_if(timers.begin(), timers.end(),
                              [&](const TimerRecord& t) { return t.window == window && t.id == id; });
    if (found == timers.end()) return FALSE;
    timers.erase(found);
    return TRUE;
}
