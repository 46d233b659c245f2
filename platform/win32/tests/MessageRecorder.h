// Test helper: a window class whose procedure records every message it gets
// and then hands it to DefWindowProcA (or to a test's own handler first).
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "Win32.h"

struct RecordedMessage {
    HWND window;
    UINT message;
    WPARAM wParam;
    LPARAM lParam;
};

class MessageRecorder {
public:
    // handler returns true when it answered the message itself (in result).
    using Handler = std::function<bool(HWND, UINT, WPARAM, LPARAM, LRESULT*)>;

    static MessageRecorder& Instance() {
        static MessageRecorder recorder;
        return recorder;
    }
    static const char* ClassName() { return "RecorderWindow"; }
    static const char* DoubleClickClassName() { return "RecorderWindowDbl"; }

    void Reset() {
        messages.clear();
        handler = nullptr;
    }
    // Messages of the given numbers, in order (all when numbers is empty).
    std::vector<RecordedMessage> Only(const std::vector<UINT>& numbers) const {
        std::vector<RecordedMessage> chosen;
        for (const RecordedMessage& m : messages)
            for (UINT number : numbers)
                if (m.message == number) chosen.push_back(m);
        return chosen;
    }
    std::vector<UINT> Numbers(const std::vector<UINT>& numbers) const {
        std::vector<UINT> result;
        for (const RecordedMessage& m : Only(numbers)) result.push_back(m.message);
        return result;
    }

    std::vector<RecordedMessage> messages;
    Handler handler;

private:
    MessageRecorder() {
        for (int doubleClicks = 0; doubleClicks < 2; ++doubleClicks) {
            WNDCLASSA windowClass{};
            windowClass.style = doubleClicks ? CS_DBLCLKS : 0;
            windowClass.lpfnWndProc = Procedure;
            windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
            windowClass.lpszClassName = doubleClicks ? DoubleClickClassName() : ClassName();
            RegisterClassA(&windowClass);
        }
    }
    static LRESULT CALLBACK Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
        MessageRecorder& self = Instance();
        self.messages.push_back(RecordedMessage{window, message, wParam, lParam});
        LRESULT result = 0;
        if (self.handler && self.handler(window, message, wParam, lParam, &result)) return result;
        return DefWindowProcA(window, message, wParam, lParam);
    }
};
