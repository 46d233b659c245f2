// The SDL2 back end: presenting top-level surfaces in SDL windows and turning
// SDL events into the layer's input.
#include "display/SdlBackEnd.h"

#include <SDL.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstring>
#include <deque>
#include <map>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "Clipboard.h"
#include "CodePage.h"
#include "Gdi.h"
#include "Input.h"
#include "InputSink.h"
#include "SystemMetrics.h"
#include "WindowHooks.h"
#include "WindowObject.h"
#include "display/SdlKeyMap.h"
#include "display/XConnection.h"
#include "display/XDesktop.h"

namespace win32 {
namespace {

struct SdlWindow {
    SDL_Window* window = nullptr;
    bool dirty = true;
    // Where the layer and the desktop last agreed the window is. While the
    // layer's rectangle differs, the layer moved or sized the window itself,
    // and the desktop's reports of the old place are stale.
    RECT agreed{0, 0, 0, 0};
};

bool SameRect(const RECT& a, const RECT& b) {
    return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
}

// Where the desktop shows an SDL window, in screen coordinates.
RECT DesktopRect(SDL_Window* shown) {
    int x = 0, y = 0, width = 0, height = 0;
    SDL_GetWindowPosition(shown, &x, &y);
    SDL_GetWindowSize(shown, &width, &height);
    return RECT{x, y, x + width, y + height};
}

RECT RectOf(const SDL_Rect& rect) { return RECT{rect.x, rect.y, rect.x + rect.w, rect.y + rect.h}; }

// What the desktop does for a press on each part of a window's frame: the
// caption moves the window, the edges and corners of a sizeable frame size
// it. A press anywhere else (the close box included) is the window's own.
const struct {
    int hit;
    SDL_HitTestResult part;
} desktopParts[] = {
    {HTCAPTION, SDL_HITTEST_DRAGGABLE},         {HTTOPLEFT, SDL_HITTEST_RESIZE_TOPLEFT},
    {HTTOP, SDL_HITTEST_RESIZE_TOP},            {HTTOPRIGHT, SDL_HITTEST_RESIZE_TOPRIGHT},
    {HTRIGHT, SDL_HITTEST_RESIZE_RIGHT},        {HTBOTTOMRIGHT, SDL_HITTEST_RESIZE_BOTTOMRIGHT},
    {HTBOTTOM, SDL_HITTEST_RESIZE_BOTTOM},      {HTBOTTOMLEFT, SDL_HITTEST_RESIZE_BOTTOMLEFT},
    {HTLEFT, SDL_HITTEST_RESIZE_LEFT},
};

SDL_HitTestResult DesktopPartOf(int hit) {
    for (const auto& entry : desktopParts)
        if (entry.hit == hit) return entry.part;
    return SDL_HITTEST_NORMAL;
}

// A press on a window's caption or frame that the desktop took to move or size
// the window, to be told to the layer.
struct DesktopPress {
    HWND window;
    POINT screen;
    Uint32 ticks;
};

class SdlDisplay : public DisplayBackEnd, public DesktopClipboard {
public:
    SdlDisplay() {
        SDL_StartTextInput();
        ReadDisplayAreas();
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

    RECT ScreenArea() const override {
        std::lock_guard<std::mutex> lock(areasMutex_);
        return screenArea_;
    }
    RECT WorkArea() const override {
        std::lock_guard<std::mutex> lock(areasMutex_);
        return workArea_;
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
        std::vector<HWND> placedElsewhere;
        for (auto it = windows_.begin(); it != windows_.end();) {
            if (!WindowStillExists(it->first)) {
                if (it->second.window != nullptr) SDL_DestroyWindow(it->second.window);
                it = windows_.erase(it);
                continue;
            }
            if (it->second.dirty && !Present(it->first, it->second)) placedElsewhere.push_back(it->first);
            ++it;
        }
        // Moving a layer window sends it messages, which may open or close
        // windows: so only once the presentation is done.
        for (HWND handle : placedElsewhere) {
            auto found = windows_.find(handle);
            if (found != windows_.end()) FollowDesktop(handle, found->second.agreed);
        }
    }

    // Shows the surface in the window's SDL window, opened at the layer's place
    // when it has none yet. False when the desktop put the window elsewhere
    // than the layer asked (the layer then follows).
    bool Present(HWND handle, SdlWindow& shown) {
        shown.dirty = false;
        Window* window = FindWindowQuietly(handle);
        if (window == nullptr || !window->surface || window->surface->Empty() || !IsWindowVisible(handle)) {
            if (shown.window != nullptr) SDL_HideWindow(shown.window);
            return true;
        }
        const Surface& surface = *window->surface;
        RECT frame{};
        GetWindowRect(handle, &frame);
        if (shown.window == nullptr && !Open(*window, frame, shown)) return true;
        if (!IsPopup(*window)) KeepMinimumSize(*window, shown.window);
        const bool placed = Place(shown, frame);
        SDL_ShowWindow(shown.window);
        CopyToWindow(surface, shown.window);
        return placed;
    }

    // Every window opens without the desktop's decoration: the layer draws
    // the one caption and frame, and tells the desktop which parts of them
    // move and size the window (DesktopPartAt). Pop-ups (dropped lists, menus,
    // tips) are left to the layer altogether: they open exactly where it
    // places them and follow it.
    bool Open(const Window& window, const RECT& frame, SdlWindow& shown) {
        const std::string title = CodePageToUtf8(window.text);
        const bool popup = IsPopup(window);
        const Uint32 flags = SDL_WINDOW_BORDERLESS | (popup ? SDL_WINDOW_SKIP_TASKBAR | SDL_WINDOW_POPUP_MENU
                                                            : SDL_WINDOW_RESIZABLE);
        shown.window = SDL_CreateWindow(title.c_str(), frame.left, frame.top, frame.right - frame.left,
                                        frame.bottom - frame.top, flags);
        if (shown.window == nullptr) return false;
        shown.agreed = frame;
        if (!popup) SDL_SetWindowHitTest(shown.window, HitTest, this);
        return true;
    }

    // Hands the layer's own move or size to the desktop, and notes that they
    // agree; false when the desktop put the window elsewhere. A desktop that
    // keeps another size is not argued with: the size asked for stays agreed.
    static bool Place(SdlWindow& shown, const RECT& frame) {
        const RECT before = DesktopRect(shown.window);
        if (frame.left != before.left || frame.top != before.top)
            SDL_SetWindowPosition(shown.window, frame.left, frame.top);
        if (frame.right - frame.left != before.right - before.left ||
            frame.bottom - frame.top != before.bottom - before.top)
            SDL_SetWindowSize(shown.window, frame.right - frame.left, frame.bottom - frame.top);
        const RECT after = DesktopRect(shown.window);
        shown.agreed = RECT{after.left, after.top, after.left + frame.right - frame.left,
                            after.top + frame.bottom - frame.top};
        return after.left == frame.left && after.top == frame.top;
    }

    // The desktop moved or sized the window: the layer follows, unless it moved
    // or sized the window itself since they last agreed (its own change goes to
    // the desktop at the next presentation). The surface is shown again either
    // way: the layer may keep another size than the desktop's.
    void DesktopPlaced(HWND handle, RECT desktop) {
        auto found = windows_.find(handle);
        if (found == windows_.end() || found->second.window == nullptr) return;
        found->second.dirty = true;
        RECT frame{};
        GetWindowRect(handle, &frame);
        if (!SameRect(frame, found->second.agreed)) return;
        found->second.agreed = desktop;
        FollowDesktop(handle, desktop);
    }

    // The desktop's report of a move (the new top-left corner) or of a size
    // (the new size), applied to the place that was agreed before it.
    static RECT Reported(const SDL_WindowEvent& change, const RECT& agreed) {
        const int x = change.data1, y = change.data2;
        if (change.event == SDL_WINDOWEVENT_MOVED)
            return RECT{x, y, x + agreed.right - agreed.left, y + agreed.bottom - agreed.top};
        return RECT{agreed.left, agreed.top, agreed.left + x, agreed.top + y};
    }

    static void FollowDesktop(HWND handle, const RECT& desktop) {
        RECT frame{};
        GetWindowRect(handle, &frame);
        if (SameRect(frame, desktop)) return;
        SetWindowPos(handle, nullptr, desktop.left, desktop.top, desktop.right - desktop.left,
                     desktop.bottom - desktop.top, SWP_NOZORDER | SWP_NOACTIVATE);
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

    SDL_Window* SdlWindowOf(HWND handle) {
        auto found = windows_.find(handle);
        return found == windows_.end() ? nullptr : found->second.window;
    }

    // The screen and work area of the display the active window is on (the
    // first display without one). Read on the user-interface thread, when the
    // display or a window's place may have changed; handed out to any thread.
    void ReadDisplayAreas() {
        int index = 0;
        if (SDL_Window* active = SdlWindowOf(GetActiveWindow())) index = std::max(0, SDL_GetWindowDisplayIndex(active));
        SDL_Rect bounds{}, usable{};
        if (SDL_GetDisplayBounds(index, &bounds) != 0) return;
        if (SDL_GetDisplayUsableBounds(index, &usable) != 0) usable = bounds;
        std::lock_guard<std::mutex> lock(areasMutex_);
        screenArea_ = RectOf(bounds);
        workArea_ = RectOf(usable);
    }

    static SDL_HitTestResult SDLCALL HitTest(SDL_Window* shown, const SDL_Point* point, void* display) {
        return static_cast<SdlDisplay*>(display)->DesktopPartAt(shown, *point);
    }

    // Asked by SDL, while it reads the window system's events, for a press of
    // the left button: the caption and a sizeable frame's edges are the
    // desktop's to move and size the window with. The layer hears of such a
    // press afterwards (DesktopTookPress). A second press on the caption that
    // makes a double click stays the layer's, which maximizes or restores.
    SDL_HitTestResult DesktopPartAt(SDL_Window* shown, const SDL_Point& point) {
        const HWND handle = HandleOfSdlWindow(SDL_GetWindowID(shown));
        const Window* window = FindWindowQuietly(handle);
        if (window == nullptr || !IsEnabledWithAncestors(*window)) return SDL_HITTEST_NORMAL;
        const int hit = WindowHitCode(*window, POINT{point.x, point.y});
        const SDL_HitTestResult part = DesktopPartOf(hit);
        if (part == SDL_HITTEST_NORMAL) return part;
        const DesktopPress press{handle, ScreenPoint(handle, point.x, point.y), SDL_GetTicks()};
        const bool secondPress = hit == HTCAPTION && MakesDoubleClick(press);
        lastCaptionPress_ = secondPress || hit != HTCAPTION ? DesktopPress{} : press;
        if (secondPress) return SDL_HITTEST_NORMAL;
        desktopPresses_.push_back(press);
        return part;
    }

    bool MakesDoubleClick(const DesktopPress& press) const {
        const DesktopPress& last = lastCaptionPress_;
        return last.window == press.window && press.ticks - last.ticks <= GetDoubleClickTime() &&
               std::abs(int(press.screen.x - last.screen.x)) <= GetSystemMetrics(SM_CXDOUBLECLK) / 2 &&
               std::abs(int(press.screen.y - last.screen.y)) <= GetSystemMetrics(SM_CYDOUBLECLK) / 2;
    }

    // The desktop took a press on a window's frame: the layer sees the click
    // there (it activates the window, and counts it towards a double click).
    void DesktopTookPress() {
        if (desktopPresses_.empty()) return;
        const DesktopPress press = desktopPresses_.front();
        desktopPresses_.pop_front();
        if (!WindowStillExists(press.window)) return;
        // A click quicker than the desktop's start of the move leaves it no
        // release to see, and the window would follow the pointer until the
        // next click: the move is called off.
        if ((SDL_GetGlobalMouseState(nullptr, nullptr) & SDL_BUTTON_LMASK) == 0)
            CancelDesktopMoveResize(SdlWindowOf(press.window));
        Raise(press.window);
        MouseMoveInput(press.screen);
        MouseButtonInput(0, true, press.screen);
        MouseButtonInput(0, false, press.screen);
    }

    // A window pressed on comes to the front, as the layer activates it; a
    // desktop does so too, and without one nothing else would. A disabled
    // window (the owner of a modal dialog) stays where it is.
    void Raise(HWND handle) {
        const Window* window = FindWindowQuietly(handle);
        SDL_Window* shown = SdlWindowOf(handle);
        if (window != nullptr && shown != nullptr && !IsPopup(*window) && IsEnabledWithAncestors(*window))
            SDL_RaiseWindow(shown);
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
            case SDL_DISPLAYEVENT: ReadDisplayAreas(); break;
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
        if (button.type == SDL_MOUSEBUTTONDOWN) Raise(window);
        MouseMoveInput(screen);
        MouseButtonInput(index, button.type == SDL_MOUSEBUTTONDOWN, screen);
    }

    // The wheel scrolls the window under the pointer, as on any desktop.
    void Wheel(const SDL_MouseWheelEvent& wheel) {
        const int notches = wheel.direction == SDL_MOUSEWHEEL_FLIPPED ? -wheel.y : wheel.y;
        if (notches == 0) return;
        POINT pointer{};
        if (HWND window = HandleOfSdlWindow(wheel.windowID))
            pointer = ScreenPoint(window, wheel.mouseX, wheel.mouseY);
        else
            GetCursorPos(&pointer);
        MouseWheelInput(notches * WHEEL_DELTA, pointer, WheelRouting::UnderPointer);
    }

    void WindowEvent(const SDL_WindowEvent& change) {
        HWND window = HandleOfSdlWindow(change.windowID);
        if (window == nullptr) return;
        switch (change.event) {
            case SDL_WINDOWEVENT_FOCUS_GAINED:
                if (!ActivatedByDesktopFocus(window)) break;
                if (GetActiveWindow() != window) SetActiveWindow(window);
                ReadDisplayAreas();
                break;
            case SDL_WINDOWEVENT_MOVED:
            case SDL_WINDOWEVENT_SIZE_CHANGED:
                DesktopPlaced(window, Reported(change, windows_[window].agreed));
                if (change.event == SDL_WINDOWEVENT_MOVED) ReadDisplayAreas();
                break;
            case SDL_WINDOWEVENT_HIT_TEST: DesktopTookPress(); break;
            case SDL_WINDOWEVENT_EXPOSED: windows_[window].dirty = true; break;
            case SDL_WINDOWEVENT_CLOSE: PostMessageA(window, WM_SYSCOMMAND, SC_CLOSE, 0); break;
        }
    }

    std::map<HWND, SdlWindow> windows_;
    std::deque<DesktopPress> desktopPresses_;
    DesktopPress lastCaptionPress_{};
    mutable std::mutex areasMutex_;
    RECT screenArea_{0, 0, 1920, 1080};
    RECT workArea_{0, 0, 1920, 1080};
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
    // A click that brings a window forward acts as well, as on the original
    // platform; SDL would drop it when the desktop's focus came with it.
    SDL_SetHint(SDL_HINT_MOUSE_FOCUS_CLICKTHROUGH, "1");
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

unsigned long SdlX11WindowOf(HWND topLevel) { return X11WindowOf(SDL_GetWindowFromID(SdlWindowIdOf(topLevel))); }

}  // namespace win32
