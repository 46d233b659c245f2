// TTimer: timers of the window layer without a window, mapped back to their components.
#include "TimerComponent.h"

#include <iterator>
#include <map>

#include "PropertyTable.h"
#include "Win32.h"

namespace {

// The live timers by identifier; used on the user-interface thread only.
std::map<UINT_PTR, TTimer*>& TimersById() {
    static std::map<UINT_PTR, TTimer*> timers;
    return timers;
}

// OnTimer goes through SetOnTimer, which starts the timer.
void SetOnTimerFromHandler(TPersistent* object, const std::any& handler) {
    static_cast<TTimer*>(object)->SetOnTimer(AnyToEvent<TNotifyEvent>(handler, "OnTimer"));
}

bool OnTimerAssigned(const TPersistent* object) {
    return static_cast<bool>(static_cast<const TTimer*>(object)->GetOnTimer());
}

std::string OnTimerHandlerName(const TPersistent* object) {
    return EventHandlerName(static_cast<const TTimer*>(object)->GetOnTimer());
}

const TPropertyInfo timerProperties[] = {
    CLASSLIB_BOOLEAN_PROPERTY(TTimer, Enabled, true),
    CLASSLIB_INTEGER_PROPERTY(TTimer, Interval, 1000),
    TPropertyInfo{"OnTimer", TPropertyType::Event, nullptr, 0, nullptr, true, nullptr, nullptr, nullptr, nullptr,
                  nullptr, nullptr, &SetOnTimerFromHandler, &OnTimerAssigned, &OnTimerHandlerName},
};

}  // namespace

TTimer::TTimer(TComponent* owner) : TComponent(owner) {
    static const bool registered = (RegisterPropertyTable(TTimer::StaticClassInfo(), timerProperties), true);
    (void)registered;
}

TTimer::~TTimer() { StopTimer(); }

void TTimer::SetInterval(UINT interval) {
    if (interval == interval_) return;
    interval_ = interval;
    UpdateTimer();
}

void TTimer::SetEnabled(bool enabled) {
    if (enabled == enabled_) return;
    enabled_ = enabled;
    UpdateTimer();
}

void TTimer::SetOnTimer(TNotifyEvent handler) {
    onTimer_ = std::move(handler);
    UpdateTimer();
}

void TTimer::StopTimer() {
    if (!timerId_) return;
    KillTimer(nullptr, timerId_);
    TimersById().erase(timerId_);
    timerId_ = 0;
}

void TTimer::UpdateTimer() {
    StopTimer();
    if (!enabled_ || interval_ == 0 || !onTimer_) return;
    timerId_ = SetTimer(nullptr, 0, interval_, &TTimer::TimerProcedure);
    if (timerId_) TimersById()[timerId_] = this;
}

void CALLBACK TTimer::TimerProcedure(HWND, UINT, UINT_PTR id, DWORD) {
    auto found = TimersById().find(id);
    if (found != TimersById().end()) found->second->Timer();
}

void TTimer::Timer() {
    if (onTimer_) onTimer_(this);
}
