// Runs a step of a test inside the message loop that the program's start-up
// enters: a hidden window of the test gets a posted message before the start-up
// runs, and the loop's dispatch of that message runs the step.
#pragma once

#include <functional>
#include <utility>

#include "Win32.h"

class TLoopStep {
public:
    // Make it after the test driver (which destroys every window), right
    // before the start-up.
    explicit TLoopStep(std::function<void()> step) : step_(std::move(step)) {
        static const bool registered = [] {
            WNDCLASSA windowClass{};
            windowClass.lpfnWndProc = Procedure;
            windowClass.lpszClassName = "MostranaLoopStep";
            return RegisterClassA(&windowClass) != 0;
        }();
        if (!registered) return;
        window_ = CreateWindowExA(0, "MostranaLoopStep", "", WS_POPUP, 0, 0, 1, 1, nullptr, nullptr, nullptr, nullptr);
        SetWindowLongPtrA(window_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
        PostMessageA(window_, kStepMessage, 0, 0);
    }
    ~TLoopStep() {
        if (window_ && IsWindow(window_)) DestroyWindow(window_);
    }
    TLoopStep(const TLoopStep&) = delete;
    TLoopStep& operator=(const TLoopStep&) = delete;

    bool Ran() const { return ran_; }

private:
    static constexpr UINT kStepMessage = WM_USER + 0x40;

    static LRESULT CALLBACK Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
        if (message != kStepMessage) return DefWindowProcA(window, message, wParam, lParam);
        auto* self = reinterpret_cast<TLoopStep*>(GetWindowLongPtrA(window, GWLP_USERDATA));
        if (self && !self->ran_) {
            self->ran_ = true;
            self->step_();
        }
        return 0;
    }

    std::function<void()> step_;
    HWND window_ = nullptr;
    bool ran_ = false;
};
