// The SDL2 back end: presenting top-level surfaces in SDL windows and turning
// SDL events into the layer's input.
#include "display/SdlBackEnd.h"

#include <SDL.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstring>
#include <map>
#include <string>
#include <thread>

#include "Clipboard.h"
#include "CodePage.h"
#include "Gdi.h"
#include "Input.h"
#include "InputSink.h"
#include "WindowHooks.h"
#include "WindowObject.h"
#include "display/SdlKeyMap.h"
#include "display/XConnection.h"

namespace win32 {
namespace {

struct SdlWindow {
    SDL_Window* window = nullptr;
    bool dirty = true;
};

class SdlDisplay : public DisplayBackEnd, public DesktopClipboard {
public:
    SdlDisplay() {
        SDL_StartTextInput();
        ConnectDesktopClipboard(this);
        ticker_ = std::thread([this] { Tick(); });
    }
    ~SdlDisplay() override;
    void Close() {
        ConnectDesktopClipboard(nullptr);
        running_ = false;
        ticker_.join();
        // Ended by Xlib after the X server went away: SDL would wait forever.
        if (XConnectionLost()) return;
        for (auto& entry : windows_) SDL_DestroyWindow(entry.second.window);
        SDL_Quit();
    }

    const char* Name() const override { return "sdl"; }

    void SurfaceChanged(HWND topLevel) override { windows_[topLevel].dirty = true; }

    void TopLevelDestroyed(HWND topLevel) override {
        auto found = windows_.find(topLevel);
        if (found == windows_.end()) return;
        if (found->second.window != nullptr && !XConnectionLost()) SDL_DestroyWindow(found->second.window);
        windows_.erase(found);
    }

    void PollEvents() override {
        SDL_Event event;
        while (SDL_PollEvent(&event)) Translate(event);
        PresentChanged();
    }

    bool ReadText(std::string* utf8) override {
        if (!SDL_HasClipboardText()) return false;
        char* text = SDL_GetClipboardText();
        if (text == nullptr) return false;
        *utf8 = text;
        SDL_free(text);
        return true;
    }
    void WriteText(const std::string& utf8) override { SDL_SetClipboardText(utf8.c_str()); }

    COLORREF PresentedPixel(HWND topLevel, int x, int y) {
        PresentChanged();
        auto found = windows_.find(topLevel);
        if (found == windows_.end() || found->second.window == nullptr) return CLR_INVALID;
        SDL_Surface* shown = SDL_GetWindowSurface(found->second.window);
        if (shown == nullptr || x < 0 || y < 0 || x >= shown->w || y >= shown->h) return CLR_INVALID;
        SDL_LockSurface(shown);
        const uint8_t* row = static_cast<const uint8_t*>(shown->pixels) + ptrdiff_t(y) * shown->pitch;
        Uint32 value = 0;
        std::memcpy(&value, row + x * shown->format->BytesPerPixel, shown->format->BytesPerPixel);
        Uint8 red = 0, green = 0, blue = 0;
        SDL_GetRGB(value, shown->format, &red, &green, &blue);
        SDL_UnlockSurface(shown);
        return RGB(red, green, blue);
    }

    unsigned WindowIdOf(HWND topLevel) {
        PresentChanged();
        auto found = windows_.find(topLevel);
        return found == windows_.end() || found->second.window == nullptr ? 0 : SDL_GetWindowID(found->second.window);
    }

private:
    // The message loop waits on its own queue; waking it now and then lets it poll SDL.
    void Tick() {
        while (running_) {
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
            WakeMessageLoop();
        }
    }

    void PresentChanged() {
        for (auto it = windows_.begin(); it != windows_.end();) {
            if (!WindowStillExists(it->first)) {
                if (it->second.window != nullptr) SDL_DestroyWindow(it->second.window);
                it = windows_.erase(it);
                continue;
            }
            if (it->second.dirty) Present(it->first, it->second);
            ++it;
        }
    }

    void Present(HWND handle, SdlWindow& shown) {
        shown.dirty = false;
        Window* window = FindWindowQuietly(handle);
        if (window == nullptr || !window->surface || window->surface->Empty() || !IsWindowVisible(handle)) {
            if (shown.window != nullptr) SDL_HideWindow(shown.window);
            return;
        }
        const Surface& surface = *window->surface;
        // Pop-ups (dropped lists, menus, tips) have no caption of their own:
        // they open borderless exactly where the layer placed them and follow
        // it; other windows open there too, and the desktop may move them.
        const bool popup = IsPopup(*window);
        RECT frame{};
        GetWindowRect(handle, &frame);
        if (shown.window == nullptr) {
            const std::string title = CodePageToUtf8(window->text);
            const Uint32 flags = popup ? SDL_WINDOW_BORDERLESS | SDL_WINDOW_SKIP_TASKBAR | SDL_WINDOW_POPUP_MENU
                                       : SDL_WINDOW_RESIZABLE;
            shown.window = SDL_CreateWindow(title.c_str(), frame.left, frame.top, surface.Width(), surface.Height(),
                                            flags);
            if (shown.window == nullptr) return;
        } else if (popup) {
            int x = 0, y = 0;
            SDL_GetWindowPosition(shown.window, &x, &y);
            if (x != frame.left || y != frame.top) SDL_SetWindowPosition(shown.window, frame.left, frame.top);
        }
        if (!popup) KeepMinimumSize(*window, shown.window);
        int width = 0, height = 0;
        SDL_GetWindowSize(shown.window, &width, &height);
        if (width != surface.Width() || height != surface.Height())
            SDL_SetWindowSize(shown.window, surface.Width(), surface.Height());
        SDL_ShowWindow(shown.window);
        CopyToWindow(surface, shown.window);
    }

    // The desktop is told the smallest size the window accepts, so that a user
    // cannot drag it narrower than the layer keeps its surface. Asked at every
    // presentation: what a window accepts may follow its controls.
    static void KeepMinimumSize(Window& window, SDL_Window* shown) {
        MINMAXINFO limits{};
        if (!TrackingLimits(window, limits)) return;
        // SDL refuses a minimum below 1.
        const int width = std::max<int>(limits.ptMinTrackSize.x, 1);
        const int height = std::max<int>(limits.ptMinTrackSize.y, 1);
        int oldWidth = 0, oldHeight = 0;
        SDL_GetWindowMinimumSize(shown, &oldWidth, &oldHeight);
        if (width != oldWidth || height != oldHeight) SDL_SetWindowMinimumSize(shown, width, height);
    }

    static bool IsPopup(const Window& window) {
        return (window.style & WS_POPUP) != 0 && (window.style & WS_CAPTION) != WS_CAPTION;
    }

    // The desktop focuses a pop-up when it maps it, and a disabled owner under
    // a modal box when another window goes or a user clicks it; the layer
    // keeps the activation where the program put it then (a click on a pop-up
    // still activates it, through the layer's own mouse input).
    static bool ActivatedByDesktopFocus(HWND window) {
        const Window* record = FindWindowQuietly(window);
        return record != nullptr && !IsPopup(*record) && IsWindowEnabled(window);
    }

    static void CopyToWindow(const Surface& surface, SDL_Window* target) {
        SDL_Surface* shown = SDL_GetWindowSurface(target);
        if (shown == nullptr) return;
        SDL_Surface* source = SDL_CreateRGBSurfaceWithFormatFrom(
            const_cast<uint32_t*>(surface.Row(0)), surface.Width(), surface.Height(), 32,
            int(surface.Stride() * ptrdiff_t(sizeof(uint32_t))), SDL_PIXELFORMAT_RGB888);
        if (source == nullptr) return;
        SDL_BlitSurface(source, nullptr, shown, nullptr);
        SDL_FreeSurface(source);
        SDL_UpdateWindowSurface(target);
    }

    HWND HandleOfSdlWindow(Uint32 identifier) {
        for (auto& entry : windows_)
            if (entry.second.window != nullptr && SDL_GetWindowID(entry.second.window) == identifier)
                return entry.first;
        return nullptr;
    }

    // An SDL window point to the layer's screen coordinates.
    static POINT ScreenPoint(HWND window, int x, int y) {
        RECT frame{};
        GetWindowRect(window, &frame);
        return POINT{frame.left + x, frame.top + y};
    }

    void Translate(const SDL_Event& event) {
        switch (event.type) {
            case SDL_KEYDOWN:
            case SDL_KEYUP: Key(event.key); break;
            case SDL_TEXTINPUT: TextInput(Utf8ToCodePage(event.text.text)); break;
            case SDL_MOUSEMOTION:
                if (HWND window = HandleOfSdlWindow(event.motion.windowID))
                    MouseMoveInput(ScreenPoint(window, event.motion.x, event.motion.y));
                break;
            case SDL_MOUSEBUTTONDOWN:
            case SDL_MOUSEBUTTONUP: Button(event.button); break;
            case SDL_MOUSEWHEEL: Wheel(event.wheel); break;
            case SDL_WINDOWEVENT: WindowEvent(event.window); break;
        }
    }

    static void Key(const SDL_KeyboardEvent& key) {
        const UINT virtualKey = VirtualKeyOfSdlKey(key.keysym);
        if (virtualKey == 0) return;
        const bool down = key.type == SDL_KEYDOWN;
        // AltGr arrives as left Ctrl with right Alt, as on the original platform.
        if (virtualKey == VK_RMENU && down) KeyInput(VK_LCONTROL, true);
        if (down && SdlKeyMakesText(key.keysym)) {
            const std::string none;
            KeyInput(virtualKey, true, &none);
        } else {
            KeyInput(virtualKey, down);
        }
        if (virtualKey == VK_RMENU && !down) KeyInput(VK_LCONTROL, false);
    }

    void Button(const SDL_MouseButtonEvent& button) {
        HWND window = HandleOfSdlWindow(button.windowID);
        if (window == nullptr) return;
        const int index = button.button == SDL_BUTTON_LEFT ? 0 : button.button == SDL_BUTTON_RIGHT ? 1
                          : button.button == SDL_BUTTON_MIDDLE ? 2 : -1;
        if (index < 0) return;
        const POINT screen = ScreenPoint(window, button.x, button.y);
        MouseMoveInput(screen);
        MouseButtonInput(index, button.type == SDL_MOUSEBUTTONDOWN, screen);
    }

    static void Wheel(const SDL_MouseWheelEvent& wheel) {
        const int notches = wheel.direction == SDL_MOUSEWHEEL_FLIPPED ? -wheel.y : wheel.y;
        if (notches == 0) return;
        POINT cursor{};
        GetCursorPos(&cursor);
        MouseWheelInput(notches * WHEEL_DELTA, cursor);
    }

    void WindowEvent(const SDL_WindowEvent& change) {
        HWND window = HandleOfSdlWindow(change.windowID);
        if (window == nullptr) return;
        switch (change.event) {
            case SDL_WINDOWEVENT_FOCUS_GAINED:
                if (!ActivatedByDesktopFocus(window)) break;
                if (GetActiveWindow() != window) SetActiveWindow(window);
                break;
            case SDL_WINDOWEVENT_SIZE_CHANGED:
                Resize(window, change.data1, change.data2);
                // The layer may have kept another size: the window follows the surface again.
                windows_[window].dirty = true;
                break;
            case SDL_WINDOWEVENT_EXPOSED: windows_[window].dirty = true; break;
            case SDL_WINDOWEVENT_CLOSE: PostMessageA(window, WM_SYSCOMMAND, SC_CLOSE, 0); break;
        }
    }

    static void Resize(HWND window, int width, int height) {
        RECT frame{};
        GetWindowRect(window, &frame);
        if (frame.right - frame.left == width && frame.bottom - frame.top == height) return;
        SetWindowPos(window, nullptr, 0, 0, width, height, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    }

    std::map<HWND, SdlWindow> windows_;
    std::atomic<bool> running_{true};
    std::thread ticker_;
};

SdlDisplay* activeSdl = nullptr;

SdlDisplay::~SdlDisplay() {
    activeSdl = nullptr;
    Close();
}

}  // namespace

std::unique_ptr<DisplayBackEnd> MakeSdlDisplay() {
    // Surfaces go to the window system as they are, without a GL context in
    // between; the screen saver is not held off for an editor.
    SDL_SetHint(SDL_HINT_FRAMEBUFFER_ACCELERATION, "0");
    SDL_SetHint(SDL_HINT_VIDEO_ALLOW_SCREENSAVER, "1");
    // Ctrl+C and SIGTERM end the program as they end any other; SDL's own
    // handlers would turn them into a quit event that nothing here reads.
    SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
    if (SDL_InitSubSystem(SDL_INIT_VIDEO) != 0) return nullptr;
    WatchXConnection();
    auto display = std::make_unique<SdlDisplay>();
    activeSdl = display.get();
    return display;
}

COLORREF SdlPresentedPixel(HWND topLevel, int x, int y) {
    if (activeSdl == nullptr || &CurrentDisplay() != static_cast<DisplayBackEnd*>(activeSdl)) return CLR_INVALID;
    return activeSdl->PresentedPixel(topLevel, x, y);
}

unsigned SdlWindowIdOf(HWND topLevel) {
    if (activeSdl == nullptr || &CurrentDisplay() != static_cast<DisplayBackEnd*>(activeSdl)) return 0;
    return activeSdl->WindowIdOf(topLevel);
}

}  // namespace win32
