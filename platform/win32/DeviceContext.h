// The device context behind an HDC: target surface, clipping, origins, selected
// objects, drawing modes and the call trace. Internal to the Win32 subset.
//
// For the text code (TextOutA, GetTextExtentPoint32A, SetTextColor, ...):
// - Look up the DC with LookupDeviceContext(hdc); null means a bad handle.
// - Read: state.textColour (default black), state.backgroundColour (default
//   white, set by SetBkColor), state.backgroundMode (TRANSPARENT/OPAQUE, default
//   OPAQUE), state.textAlign (default 0), state.font (never null; its logFont
//   holds the LOGFONTA; `realisation` is free for the text code's cache),
//   state.currentPosition (logical), state.viewportOrigin/windowOrigin.
//   The text code writes state.textColour, state.textAlign and the
//   textCharacterExtra/justification fields itself; SaveDC/RestoreDC keep them.
// - Coordinates: ToDevice(x, y) turns logical into device coordinates. All
//   drawing helpers below take device coordinates and clip to clipArea (the
//   visible area intersected with the clip region, device coordinates).
// - Drawing: FillDeviceSpan paints a clipped coloured span of one row,
//   FillDeviceRect a clipped rectangle, BlendDevicePixel mixes a colour into one
//   pixel by a coverage of 0..255 (for antialiased glyphs). ForEachVisibleSpan
//   hands the visible parts of a span to your own loop as pixel pointers.
//   Text ignores the ROP2.
// - Trace: every call on a DC is recorded with Trace(hdc, "TextOutA", x, y,
//   TraceText{text, count}) (TraceColour{c} for colours), which formats the
//   arguments only while the DC is traced; Trace(dc, ...) does the same for a
//   DC already looked up; TraceCall(hdc, name, arguments) takes a ready-made
//   argument string.
#pragma once

#include <cstdint>
#include <sstream>
#include <string>
#include <vector>

#include "Gdi.h"
#include "HandleTable.h"
#include "Region.h"
#include "Surface.h"

class GdiPen;
class GdiBrush;
class GdiBitmap;
class LogicalFont;

// Everything SaveDC saves and RestoreDC brings back.
struct DeviceContextState {
    GdiPen* pen = nullptr;
    GdiBrush* brush = nullptr;
    LogicalFont* font = nullptr;
    GdiBitmap* bitmap = nullptr;  // memory DCs only
    bool hasClipRegion = false;
    Region clipRegion;  // device coordinates, as selected (before the visible area)
    POINT viewportOrigin{0, 0};
    POINT windowOrigin{0, 0};
    SIZE viewportExtent{1, 1};
    SIZE windowExtent{1, 1};
    POINT currentPosition{0, 0};
    POINT brushOrigin{0, 0};
    COLORREF textColour = RGB(0, 0, 0);
    COLORREF backgroundColour = RGB(255, 255, 255);
    int backgroundMode = OPAQUE;
    UINT textAlign = 0;
    int textCharacterExtra = 0;
    int justificationExtra = 0;
    int justificationBreaks = 0;
    int rop2 = R2_COPYPEN;
    int polyFillMode = ALTERNATE;
    int stretchBltMode = BLACKONWHITE;
    int mapMode = MM_TEXT;
};

class DeviceContext {
public:
    DeviceContextState state;
    std::vector<DeviceContextState> savedStates;

    bool isMemory = false;
    HWND window = nullptr;  // the window of a window DC; null for memory and screen DCs
    // Target surface (null: nothing is drawn). Device (0, 0) is surfaceOrigin in the surface.
    Surface* surface = nullptr;
    POINT surfaceOrigin{0, 0};
    // Device coordinates where the DC may draw at all (the surface for memory DCs).
    Region visibleArea;
    // visibleArea intersected with the clip region; kept current by UpdateClipArea,
    // with its bounds and whether it is one rectangle (or empty), which the
    // drawing calls test before any pixel.
    Region clipArea;
    RECT clipBounds{0, 0, 0, 0};
    bool clipIsRectangle = true;

    bool tracing = false;
    std::vector<std::string> trace;

    POINT ToDevice(LONG x, LONG y) const {
        return POINT{x - state.windowOrigin.x + state.viewportOrigin.x,
                     y - state.windowOrigin.y + state.viewportOrigin.y};
    }
    POINT ToLogical(LONG x, LONG y) const {
        return POINT{x + state.windowOrigin.x - state.viewportOrigin.x,
                     y + state.windowOrigin.y - state.viewportOrigin.y};
    }
    RECT ToDevice(const RECT& r) const;
    // Pixel of a device position known to be inside clipArea.
    uint32_t* PixelAt(LONG x, LONG y) { return surface->Row(y + surfaceOrigin.y) + (x + surfaceOrigin.x); }
    bool IsVisible(LONG x, LONG y) const { return surface != nullptr && clipArea.Contains(x, y); }
    // Recomputes clipArea after the visible area or the clip region changed.
    void UpdateClipArea();
};

// Every drawing call looks its DC up, so the table answers without a lock;
// hidden, so that the library reaches it directly rather than through its GOT.
[[gnu::visibility("hidden")]] extern HandleTable<DeviceContext> liveDeviceContexts;
inline DeviceContext* LookupDeviceContext(HDC dc) { return liveDeviceContexts.Find(reinterpret_cast<uintptr_t>(dc)); }
// A DC drawing into a surface it does not own, device (0,0) at origin, limited to
// visible (device coordinates); for window DCs. Delete with DeleteDC.
HDC CreateSurfaceDC(Surface* surface, POINT origin, const Region& visible, HWND window);
// Moves a DC to another surface or visible area (a window moved or resized).
void RetargetSurfaceDC(HDC dc, Surface* surface, POINT origin, const Region& visible);
// The virtual screen surface behind GetDC(NULL); the display layer may resize it.
Surface& ScreenSurface();
void ResizeScreenSurface(int width, int height);

// Calls visit(uint32_t* pixels, LONG deviceLeft, LONG count) for the visible
// parts of the device span [left, right) of row y.
template <class Visit>
void ForEachVisibleSpan(DeviceContext& dc, LONG y, LONG left, LONG right, Visit visit) {
    if (dc.surface == nullptr || left >= right) return;
    dc.clipArea.ForEachRectIn(RECT{left, y, right, y + 1},
                              [&](LONG l, LONG, LONG r, LONG) { visit(dc.PixelAt(l, y), l, r - l); });
}
void FillDeviceSpan(DeviceContext& dc, LONG y, LONG left, LONG right, COLORREF colour);
void FillDeviceRect(DeviceContext& dc, const RECT& deviceRect, COLORREF colour);
void BlendDevicePixel(DeviceContext& dc, LONG x, LONG y, COLORREF colour, int coverage);

// ---- Call trace helpers ----
bool IsTracing(HDC dc);
void TraceCall(HDC dc, const char* name, const std::string& arguments);

struct TraceColour {
    COLORREF colour;
};
struct TraceText {
    const char* text;
    int count;  // -1: up to the terminating zero
};
// "[(x, y), ...]"; formatted only while the DC is traced, like every argument.
struct TracePoints {
    const POINT* points;
    int count;
};
// A word written as it stands, such as NULL.
struct TraceWord {
    const char* word;
};
void AppendTraceArgument(std::ostringstream& out, long long value);
void AppendTraceArgument(std::ostringstream& out, TraceColour colour);
void AppendTraceArgument(std::ostringstream& out, TraceText text);
void AppendTraceArgument(std::ostringstream& out, TracePoints points);
void AppendTraceArgument(std::ostringstream& out, TraceWord word);
void AppendTraceArgument(std::ostringstream& out, HGDIOBJ object);
void AppendTraceArgument(std::ostringstream& out, const RECT* rect);
void AppendTraceArgument(std::ostringstream& out, const std::string& raw);
template <class T>
void AppendTraceArgument(std::ostringstream& out, T* pointer) {
    AppendTraceArgument(out, static_cast<HGDIOBJ>(pointer));
}

// "a, b, c" from the arguments; integers in decimal.
template <class... Arguments>
std::string TraceArguments(const Arguments&... arguments) {
    std::ostringstream out;
    bool first = true;
    auto append = [&](const auto& argument) {
        if (!first) out << ", ";
        first = false;
        AppendTraceArgument(out, argument);
    };
    (void)append;
    (append(arguments), ...);
    return out.str();
}
// Records "name(arguments)" when the DC is traced; arguments are formatted only then.
template <class... Arguments>
void Trace(HDC dc, const char* name, const Arguments&... arguments) {
    if (IsTracing(dc)) TraceCall(dc, name, TraceArguments(arguments...));
}
// Appends "name(arguments)" to the DC's trace.
void RecordCall(DeviceContext& dc, const char* name, const std::string& arguments);
// Out of line and given the arguments by value, so that tracing adds nothing
// to a call's common path but one test (not even keeping the arguments in memory).
template <class... Arguments>
[[gnu::noinline, gnu::cold]] void RecordTracedCall(DeviceContext& dc, const char* name, Arguments... arguments) {
    RecordCall(dc, name, TraceArguments(arguments...));
}
// The same for a DC already looked up (null: nothing is recorded), without a second lookup.
template <class... Arguments>
void Trace(DeviceContext* dc, const char* name, const Arguments&... arguments) {
    if (dc != nullptr && dc->tracing) RecordTracedCall(*dc, name, arguments...);
}
