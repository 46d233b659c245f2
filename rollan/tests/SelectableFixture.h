// Shared by the selectable rectangle scroller's tests: a scroller of a
// settable rectangle that paints the grid under its figures and logs its
// selection events, and mouse and key helpers in rectangle coordinates.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "RollanFixture.h"
#include "SelectableRectScroller.h"

// The tests reach the protected state tests and mouse mode through this.
class TProbeSelectableScroller : public TSelectableRectScroller {
public:
    explicit TProbeSelectableScroller(TComponent* owner) : TSelectableRectScroller(owner) {
        OnGetRectSizes = [this](TRectScroller*, SIZE& size) { size = rectSize; };
        OnPaintRect = [this](TRectScroller*, TCanvas* canvas, POINT, SIZE) {
            if (!grid) return;
            PrepareRectDC(canvas->GetHandle());
            PaintGrid(canvas);
        };
        auto log = [this](const char* name) {
            return [this, name](TSelectableRectScroller*, TRectScrollerSelection kind, bool selection, void* data) {
                std::string entry = std::string(name) + " " + std::to_string(kind) + " " + (selection ? "1" : "0");
                if (kind == selRect && data) {
                    const RECT& r = *static_cast<RECT*>(data);
                    entry += " " + std::to_string(r.left) + "," + std::to_string(r.top) + "," +
                             std::to_string(r.right) + "," + std::to_string(r.bottom);
                }
                events.push_back(entry);
            };
        };
        OnSelection = log("selection");
        OnSelStart = log("start");
        OnSelEnd = log("end");
        OnSelChange = log("change");
        OnChangeSelType = [this](TSelectableRectScroller*, TRectScrollerSelection kind) {
            events.push_back("type " + std::to_string(kind));
        };
    }
    using TSelectableRectScroller::CursorShown;
    using TSelectableRectScroller::SelectionShown;

    SIZE rectSize{200, 150};
    bool grid = true;
    std::vector<std::string> events;
};

class SelectableTest : public RollanTest {
protected:
    // A scroller at (10, 10) in the form, width x height, for a rectangle of rectSize.
    TProbeSelectableScroller* Make(SIZE rectSize, int width = 260, int height = 200) {
        auto* scroller = new TProbeSelectableScroller(form);
        scroller->rectSize = rectSize;
        scroller->SetBounds(10, 10, width, height);
        scroller->SetParent(form);
        driver.PumpUntilIdle();
        scroller->Refresh();
        scroller->SetFocus();
        driver.PumpUntilIdle();
        scroller->events.clear();
        return scroller;
    }

    // A point of the user rectangle as a client point of the scroller.
    static POINT ClientOf(TSelectableRectScroller* scroller, POINT p) {
        const POINT corner = scroller->GetRectPos();
        return POINT{p.x + corner.x - scroller->GetHPos(), p.y + corner.y - scroller->GetVPos()};
    }
    void Move(TSelectableRectScroller* s, POINT p) {
        const POINT c = ClientOf(s, p);
        driver.MoveMouse(s->GetHandle(), c.x, c.y);
    }
    void Down(TSelectableRectScroller* s, POINT p, int button = 0) {
        const POINT c = ClientOf(s, p);
        driver.MouseDown(s->GetHandle(), c.x, c.y, button);
    }
    void Up(TSelectableRectScroller* s, POINT p, int button = 0) {
        const POINT c = ClientOf(s, p);
        driver.MouseUp(s->GetHandle(), c.x, c.y, button);
    }
    void Click(TSelectableRectScroller* s, POINT p, int button = 0) {
        Move(s, p);
        Down(s, p, button);
        Up(s, p, button);
    }
    // Moves to from, presses, moves in steps to to and releases there.
    void Drag(TSelectableRectScroller* s, POINT from, POINT to, int steps = 4) {
        Move(s, from);
        Down(s, from);
        for (int i = 1; i <= steps; ++i)
            Move(s, POINT{from.x + (to.x - from.x) * i / steps, from.y + (to.y - from.y) * i / steps});
        Up(s, to);
    }
    void Ctrl(UINT key) { driver.Press({VK_CONTROL}, key); }

    // The control's client pixels (0x00RRGGBB), copied in one blit.
    static std::vector<uint32_t> Snapshot(TWinControl* control) {
        const RECT client = control->GetClientRect();
        BITMAPINFO info{};
        info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
        info.bmiHeader.biWidth = client.right;
        info.bmiHeader.biHeight = -client.bottom;
        info.bmiHeader.biPlanes = 1;
        info.bmiHeader.biBitCount = 32;
        void* bits = nullptr;
        HDC window = GetDC(control->GetHandle());
        HDC memory = CreateCompatibleDC(window);
        HBITMAP bitmap = CreateDIBSection(memory, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
        HGDIOBJ previous = SelectObject(memory, bitmap);
        BitBlt(memory, 0, 0, client.right, client.bottom, window, 0, 0, SRCCOPY);
        const auto* pixels = static_cast<const uint32_t*>(bits);
        std::vector<uint32_t> copy(pixels, pixels + size_t(client.right) * client.bottom);
        SelectObject(memory, previous);
        DeleteObject(bitmap);
        DeleteDC(memory);
        ReleaseDC(control->GetHandle(), window);
        for (uint32_t& pixel : copy) pixel &= 0xFFFFFF;
        return copy;
    }

    // Pending paints change nothing, and a full repaint draws what shows.
    ::testing::AssertionResult ShowsFullRepaint(TWinControl* control) {
        const std::vector<uint32_t> before = Snapshot(control);
        driver.PumpUntilIdle();
        if (Snapshot(control) != before) return ::testing::AssertionFailure() << "the pending paints changed pixels";
        control->Repaint();
        driver.PumpUntilIdle();
        const std::vector<uint32_t> repainted = Snapshot(control);
        for (size_t i = 0; i < before.size(); ++i) {
            if (repainted[i] == before[i]) continue;
            const int width = control->GetClientRect().right;
            return ::testing::AssertionFailure() << "a full repaint differs at " << i % width << ", " << i / width
                                                 << ": " << std::hex << before[i] << " shown, " << repainted[i]
                                                 << " repainted";
        }
        return ::testing::AssertionSuccess();
    }

    static std::string Text(const RECT& r) {
        return std::to_string(r.left) + "," + std::to_string(r.top) + "," + std::to_string(r.right) + "," +
               std::to_string(r.bottom);
    }
};
