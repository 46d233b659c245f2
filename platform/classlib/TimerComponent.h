// TTimer: a component that runs OnTimer every Interval milliseconds while Enabled.
#pragma once

#include "Component.h"
#include "Events.h"

class TTimer : public TComponent {
    CLASSLIB_CLASS(TTimer, TComponent)

public:
    // Enabled, 1000 ms; it ticks once it has an OnTimer (set it, then call
    // SetOnTimer or toggle Enabled; SetOnTimer does both).
    explicit TTimer(TComponent* owner);
    ~TTimer() override;

    UINT GetInterval() const { return interval_; }
    // 0 stops the timer; a change restarts the count from now.
    void SetInterval(UINT interval);
    bool GetEnabled() const { return enabled_; }
    void SetEnabled(bool enabled);
    // Sets the handler and starts or stops the timer to match (empty: stopped).
    void SetOnTimer(TNotifyEvent handler);
    const TNotifyEvent& GetOnTimer() const { return onTimer_; }

protected:
    // Runs OnTimer.
    virtual void Timer();

private:
    static void CALLBACK TimerProcedure(HWND window, UINT message, UINT_PTR id, DWORD time);
    void UpdateTimer();
    void StopTimer();

    UINT interval_ = 1000;
    bool enabled_ = true;
    TNotifyEvent onTimer_;
    UINT_PTR timerId_ = 0;
};
