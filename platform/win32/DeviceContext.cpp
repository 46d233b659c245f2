// Device contexts: creation, selection of objects, saved states, coordinates,
// modes, device capabilities and the call trace.
#include "DeviceContext.h"

#include <algorithm>
#include <climits>
#include <cstdlib>
#include <utility>

#include "GdiBitmap.h"
#include "HandleTable.h"
#include "LogicalFont.h"
#include "Paint.h"
#include "PenAndBrush.h"
#include "WindowHooks.h"

HandleTable<DeviceContext> liveDeviceContexts(0xDC);

namespace {

constexpr int kLogicalPixelsPerInch = 96;

void AcquireState(const DeviceContextState& state) {
    AcquireGdiObject(state.pen);
    AcquireGdiObject(state.brush);
    AcquireGdiObject(state.font);
    AcquireGdiObject(state.bitmap);
}

void ReleaseState(const DeviceContextState& state) {
    ReleaseGdiObject(state.pen);
    ReleaseGdiObject(state.brush);
    ReleaseGdiObject(state.font);
    ReleaseGdiObject(state.bitmap);
}

// The handle of a new DC; null (and the DC deleted) when the table is full.
HDC RegisterContext(DeviceContext* dc) {
    const uintptr_t handle = liveDeviceContexts.Add(dc);
    if (handle == 0) {
        ReleaseState(dc->state);
        delete dc;
    }
    return reinterpret_cast<HDC>(handle);
}

void InitialiseState(DeviceContextState& state) {
    state.pen = static_cast<GdiPen*>(StockGdiObject(BLACK_PEN));
    state.brush = static_cast<GdiBrush*>(StockGdiObject(WHITE_BRUSH));
    state.font = static_cast<LogicalFont*>(StockGdiObject(SYSTEM_FONT));
    AcquireState(state);
}

// Makes bitmap (possibly null) the memory DC's drawing target.
void AttachBitmap(DeviceContext& dc, GdiBitmap* bitmap) {
    dc.surface = bitmap != nullptr ? &bitmap->surface : nullptr;
    dc.visibleArea = Region(bitmap != nullptr ? bitmap->surface.Bounds() : RECT{0, 0, 0, 0});
    // The shared 1x1 bitmap is never marked as selected, so every new DC can start with it.
    if (bitmap != nullptr && bitmap != StockBitmap()) {
        bitmap->selectedInto = &dc;
        bitmap->PullSectionBits();
    }
    dc.UpdateClipArea();
}

// The shared 1x1 bitmap is left alone: DCs on every thread start with it.
void DetachBitmap(GdiBitmap* bitmap) {
    if (bitmap == nullptr || bitmap == StockBitmap()) return;
    bitmap->PushSectionBits();
    bitmap->selectedInto = nullptr;
}

// Replaces one selected object of the current state, keeping use counts;
// returns the old object's handle, read before its release may free it.
template <class T>
HGDIOBJ Swap(T*& slot, T* object) {
    T* old = slot;
    const HGDIOBJ oldHandle = HandleOf(old);
    AcquireGdiObject(object);
    slot = object;
    ReleaseGdiObject(old);
    return oldHandle;
}

HGDIOBJ SelectBitmap(DeviceContext& dc, GdiBitmap* bitmap) {
    if (!dc.isMemory) return nullptr;
    if (bitmap == dc.state.bitmap) return HandleOf(bitmap);
    if (bitmap->selectedInto != nullptr) return nullptr;
    GdiBitmap* old = dc.state.bitmap;
    DetachBitmap(old);
    AcquireGdiObject(bitmap);
    dc.state.bitmap = bitmap;
    AttachBitmap(dc, bitmap);
    HGDIOBJ oldHandle = HandleOf(old);
    ReleaseGdiObject(old);
    return oldHandle;
}

}  // namespace

RECT DeviceContext::ToDevice(const RECT& r) const {
    const POINT a = ToDevice(r.left, r.top);
    const POINT b = ToDevice(r.right, r.bottom);
    return RECT{a.x, a.y, b.x, b.y};
}

void DeviceContext::UpdateClipArea() {
    if (!state.hasClipRegion) {
        clipArea = visibleArea;
    } else if (visibleArea.Complexity() == SIMPLEREGION) {
        clipArea = state.clipRegion.IntersectRect(visibleArea.Bounds());
    } else {
        clipArea = Region::Combine(visibleArea, state.clipRegion, RGN_AND);
    }
    clipBounds = clipArea.Bounds();
    clipIsRectangle = clipArea.Complexity() != COMPLEXREGION;
}

Surface& ScreenSurface() {
    static Surface screen(1920, 1080);
    return screen;
}

void ResizeScreenSurface(int width, int height) { ScreenSurface() = Surface(width, height); }

HDC CreateSurfaceDC(Surface* surface, POINT origin, const Region& visible, HWND window) {
    auto* dc = new DeviceContext();
    InitialiseState(dc->state);
    dc->window = window;
    dc->surface = surface;
    dc->surfaceOrigin = origin;
    dc->visibleArea = visible;
    dc->UpdateClipArea();
    return RegisterContext(dc);
}

void RetargetSurfaceDC(HDC handle, Surface* surface, POINT origin, const Region& visible) {
    DeviceContext* dc = LookupDeviceContext(handle);
    if (dc == nullptr || dc->isMemory) return;
    dc->surface = surface;
    dc->surfaceOrigin = origin;
    dc->visibleArea = visible;
    dc->UpdateClipArea();
}

HDC CreateCompatibleDC(HDC reference) {
    if (reference != nullptr && LookupDeviceContext(reference) == nullptr) return nullptr;
    auto* dc = new DeviceContext();
    dc->isMemory = true;
    InitialiseState(dc->state);
    GdiBitmap* initial = StockBitmap();
    AcquireGdiObject(initial);
    dc->state.bitmap = initial;
    AttachBitmap(*dc, initial);
    return RegisterContext(dc);
}

BOOL DeleteDC(HDC handle) {
    DeviceContext* dc = LookupDeviceContext(handle);
    if (dc == nullptr || !liveDeviceContexts.Remove(reinterpret_cast<uintptr_t>(handle))) return FALSE;
    DetachBitmap(dc->state.bitmap);
    ReleaseState(dc->state);
    for (const DeviceContextState& saved : dc->savedStates) ReleaseState(saved);
    delete dc;
    return TRUE;
}

HDC GetDC(HWND window) {
    if (window != nullptr) return GetDCEx(window, nullptr, 0);  // window DCs come from the window layer
    Surface& screen = ScreenSurface();
    return CreateSurfaceDC(&screen, POINT{0, 0}, Region(screen.Bounds()), nullptr);
}

int ReleaseDC(HWND, HDC handle) {
    DeviceContext* dc = LookupDeviceContext(handle);
    if (dc == nullptr || dc->isMemory) return 0;
    // Drawing through a window DC outside WM_PAINT shows once the DC goes back.
    const HWND window = dc->window;
    const int released = DeleteDC(handle);
    if (window != nullptr) win32::WindowDrawingDone(window);
    return released;
}

DWORD GetObjectType(HGDIOBJ handle) {
    if (DeviceContext* dc = LookupDeviceContext(static_cast<HDC>(handle))) return dc->isMemory ? OBJ_MEMDC : OBJ_DC;
    GdiObject* object = LookupGdiObject(handle);
    return object != nullptr ? static_cast<DWORD>(object->Kind()) : 0;
}

HGDIOBJ SelectObject(HDC handle, HGDIOBJ objectHandle) {
    DeviceContext* dc = LookupDeviceContext(handle);
    GdiObject* object = LookupGdiObject(objectHandle);
    Trace(dc, "SelectObject", objectHandle);
    if (dc == nullptr || object == nullptr) return nullptr;
    switch (object->Kind()) {
        case GdiKind::Pen:
            return Swap(dc->state.pen, static_cast<GdiPen*>(object));
        case GdiKind::Brush:
            return Swap(dc->state.brush, static_cast<GdiBrush*>(object));
        case GdiKind::Font:
            return Swap(dc->state.font, static_cast<LogicalFont*>(object));
        case GdiKind::Bitmap:
            return SelectBitmap(*dc, static_cast<GdiBitmap*>(object));
        case GdiKind::Region: {
            const int complexity = SelectClipRgn(handle, static_cast<HRGN>(objectHandle));
            return reinterpret_cast<HGDIOBJ>(static_cast<intptr_t>(complexity));
        }
    }
    return nullptr;
}

HGDIOBJ GetCurrentObject(HDC handle, UINT type) {
    DeviceContext* dc = LookupDeviceContext(handle);
    Trace(dc, "GetCurrentObject", type);
    if (dc == nullptr) return nullptr;
    switch (type) {
        case OBJ_PEN:
            return HandleOf(dc->state.pen);
        case OBJ_BRUSH:
            return HandleOf(dc->state.brush);
        case OBJ_FONT:
            return HandleOf(dc->state.font);
        case OBJ_BITMAP:
            return dc->isMemory ? HandleOf(dc->state.bitmap) : nullptr;
        default:
            return nullptr;
    }
}

int SaveDC(HDC handle) {
    DeviceContext* dc = LookupDeviceContext(handle);
    Trace(dc, "SaveDC");
    if (dc == nullptr) return 0;
    dc->savedStates.push_back(dc->state);
    AcquireState(dc->state);
    return static_cast<int>(dc->savedStates.size());
}

BOOL RestoreDC(HDC handle, int savedLevel) {
    DeviceContext* dc = LookupDeviceContext(handle);
    Trace(dc, "RestoreDC", savedLevel);
    if (dc == nullptr || savedLevel == 0) return FALSE;
    const int count = static_cast<int>(dc->savedStates.size());
    const int level = savedLevel > 0 ? savedLevel : count + 1 + savedLevel;
    if (level < 1 || level > count) return FALSE;
    GdiBitmap* oldBitmap = dc->state.bitmap;
    DeviceContextState restored = dc->savedStates[static_cast<size_t>(level - 1)];
    for (int i = count - 1; i >= level; --i) ReleaseState(dc->savedStates[static_cast<size_t>(i)]);
    dc->savedStates.resize(static_cast<size_t>(level - 1));
    if (restored.bitmap != oldBitmap) {
        DetachBitmap(oldBitmap);
        if (restored.bitmap != nullptr && restored.bitmap->selectedInto != nullptr &&
            restored.bitmap->selectedInto != dc) {
            DetachBitmap(restored.bitmap);  // taken back from a DC that selected it meanwhile
        }
    }
    ReleaseState(dc->state);  // the restored state keeps the use it held while saved
    dc->state = restored;
    if (dc->isMemory && restored.bitmap != oldBitmap) AttachBitmap(*dc, restored.bitmap);
    dc->UpdateClipArea();
    return TRUE;
}

int GetDeviceCaps(HDC handle, int index) {
    Trace(handle, "GetDeviceCaps", index);
    if (LookupDeviceContext(handle) == nullptr) return 0;
    const Surface& screen = ScreenSurface();
    switch (index) {
        case TECHNOLOGY:
            return DT_RASDISPLAY;
        case HORZSIZE:
            return MulDiv(screen.Width(), 254, kLogicalPixelsPerInch * 10);
        case VERTSIZE:
            return MulDiv(screen.Height(), 254, kLogicalPixelsPerInch * 10);
        case HORZRES:
            return screen.Width();
        case VERTRES:
            return screen.Height();
        case BITSPIXEL:
            return 32;
        case PLANES:
            return 1;
        case NUMCOLORS:
            return -1;
        case LOGPIXELSX:
        case LOGPIXELSY:
            return kLogicalPixelsPerInch;
        default:
            return 0;
    }
}

int MulDiv(int a, int b, int c) {
    if (c == 0) return -1;
    const long long product = static_cast<long long>(a) * b;
    const bool negative = (product < 0) != (c < 0);
    const long long magnitude = std::llabs(product);
    const long long divisor = std::llabs(static_cast<long long>(c));
    const long long quotient = (magnitude + divisor / 2) / divisor;
    const long long result = negative ? -quotient : quotient;
    if (result > INT_MAX || result < INT_MIN) return -1;
    return static_cast<int>(result);
}

int SetMapMode(HDC handle, int mode) {
    DeviceContext* dc = LookupDeviceContext(handle);
    Trace(dc, "SetMapMode", mode);
    if (dc == nullptr || mode != MM_TEXT) return 0;
    return std::exchange(dc->state.mapMode, mode);
}

int GetMapMode(HDC handle) {
    DeviceContext* dc = LookupDeviceContext(handle);
    Trace(dc, "GetMapMode");
    return dc != nullptr ? dc->state.mapMode : 0;
}

namespace {

BOOL SetPoint(HDC handle, const char* name, POINT DeviceContextState::*field, int x, int y, LPPOINT previous,
              bool offset) {
    DeviceContext* dc = LookupDeviceContext(handle);
    Trace(dc, name, x, y);
    if (dc == nullptr) return FALSE;
    POINT& point = dc->state.*field;
    if (previous != nullptr) *previous = point;
    point = offset ? POINT{point.x + x, point.y + y} : POINT{x, y};
    return TRUE;
}

// Copies a point or size of the state out.
template <class T>
BOOL GetField(HDC handle, const char* name, T DeviceContextState::*field, T* result) {
    DeviceContext* dc = LookupDeviceContext(handle);
    Trace(dc, name);
    if (dc == nullptr || result == nullptr) return FALSE;
    *result = dc->state.*field;
    return TRUE;
}

BOOL SetExtent(HDC handle, const char* name, SIZE DeviceContextState::*field, int x, int y, LPSIZE previous) {
    DeviceContext* dc = LookupDeviceContext(handle);
    Trace(dc, name, x, y);
    if (dc == nullptr) return FALSE;
    if (previous != nullptr) *previous = dc->state.*field;
    dc->state.*field = SIZE{x, y};
    return TRUE;
}

// Sets an int mode field when valid(mode); returns the old value or 0.
int SetMode(HDC handle, const char* name, int DeviceContextState::*field, int mode, int lowest, int highest) {
    DeviceContext* dc = LookupDeviceContext(handle);
    Trace(dc, name, mode);
    if (dc == nullptr || mode < lowest || mode > highest) return 0;
    return std::exchange(dc->state.*field, mode);
}

int GetMode(HDC handle, const char* name, int DeviceContextState::*field) {
    DeviceContext* dc = LookupDeviceContext(handle);
    Trace(dc, name);
    return dc != nullptr ? dc->state.*field : 0;
}

}  // namespace

BOOL SetViewportOrgEx(HDC dc, int x, int y, LPPOINT previous) {
    return SetPoint(dc, "SetViewportOrgEx", &DeviceContextState::viewportOrigin, x, y, previous, false);
}
BOOL GetViewportOrgEx(HDC dc, LPPOINT origin) {
    return GetField(dc, "GetViewportOrgEx", &DeviceContextState::viewportOrigin, origin);
}
BOOL OffsetViewportOrgEx(HDC dc, int dx, int dy, LPPOINT previous) {
    return SetPoint(dc, "OffsetViewportOrgEx", &DeviceContextState::viewportOrigin, dx, dy, previous, true);
}
BOOL SetWindowOrgEx(HDC dc, int x, int y, LPPOINT previous) {
    return SetPoint(dc, "SetWindowOrgEx", &DeviceContextState::windowOrigin, x, y, previous, false);
}
BOOL GetWindowOrgEx(HDC dc, LPPOINT origin) {
    return GetField(dc, "GetWindowOrgEx", &DeviceContextState::windowOrigin, origin);
}
BOOL SetViewportExtEx(HDC dc, int x, int y, LPSIZE previous) {
    return SetExtent(dc, "SetViewportExtEx", &DeviceContextState::viewportExtent, x, y, previous);
}
BOOL GetViewportExtEx(HDC dc, LPSIZE extent) {
    return GetField(dc, "GetViewportExtEx", &DeviceContextState::viewportExtent, extent);
}
BOOL SetWindowExtEx(HDC dc, int x, int y, LPSIZE previous) {
    return SetExtent(dc, "SetWindowExtEx", &DeviceContextState::windowExtent, x, y, previous);
}
BOOL GetWindowExtEx(HDC dc, LPSIZE extent) {
    return GetField(dc, "GetWindowExtEx", &DeviceContextState::windowExtent, extent);
}
BOOL SetBrushOrgEx(HDC dc, int x, int y, LPPOINT previous) {
    return SetPoint(dc, "SetBrushOrgEx", &DeviceContextState::brushOrigin, x, y, previous, false);
}

BOOL LPtoDP(HDC handle, LPPOINT points, int count) {
    DeviceContext* dc = LookupDeviceContext(handle);
    Trace(dc, "LPtoDP", count);
    if (dc == nullptr || (points == nullptr && count > 0)) return FALSE;
    for (int i = 0; i < count; ++i) points[i] = dc->ToDevice(points[i].x, points[i].y);
    return TRUE;
}

BOOL DPtoLP(HDC handle, LPPOINT points, int count) {
    DeviceContext* dc = LookupDeviceContext(handle);
    Trace(dc, "DPtoLP", count);
    if (dc == nullptr || (points == nullptr && count > 0)) return FALSE;
    for (int i = 0; i < count; ++i) points[i] = dc->ToLogical(points[i].x, points[i].y);
    return TRUE;
}

COLORREF SetBkColor(HDC handle, COLORREF colour) {
    DeviceContext* dc = LookupDeviceContext(handle);
    Trace(dc, "SetBkColor", TraceColour{colour});
    if (dc == nullptr) return CLR_INVALID;
    return std::exchange(dc->state.backgroundColour, colour & 0xFFFFFF);
}

COLORREF GetBkColor(HDC handle) {
    DeviceContext* dc = LookupDeviceContext(handle);
    Trace(dc, "GetBkColor");
    return dc != nullptr ? dc->state.backgroundColour : CLR_INVALID;
}

int SetBkMode(HDC dc, int mode) {
    return SetMode(dc, "SetBkMode", &DeviceContextState::backgroundMode, mode, TRANSPARENT, OPAQUE);
}
int GetBkMode(HDC dc) { return GetMode(dc, "GetBkMode", &DeviceContextState::backgroundMode); }
int SetROP2(HDC dc, int mode) { return SetMode(dc, "SetROP2", &DeviceContextState::rop2, mode, R2_BLACK, R2_WHITE); }
int GetROP2(HDC dc) { return GetMode(dc, "GetROP2", &DeviceContextState::rop2); }
int SetPolyFillMode(HDC dc, int mode) {
    return SetMode(dc, "SetPolyFillMode", &DeviceContextState::polyFillMode, mode, ALTERNATE, WINDING);
}
int GetPolyFillMode(HDC dc) { return GetMode(dc, "GetPolyFillMode", &DeviceContextState::polyFillMode); }
int SetStretchBltMode(HDC dc, int mode) {
    return SetMode(dc, "SetStretchBltMode", &DeviceContextState::stretchBltMode, mode, BLACKONWHITE, HALFTONE);
}
int GetStretchBltMode(HDC dc) { return GetMode(dc, "GetStretchBltMode", &DeviceContextState::stretchBltMode); }

BOOL GdiFlush() {
    liveDeviceContexts.ForEach([](DeviceContext* dc) {
        if (dc->isMemory && dc->state.bitmap != nullptr) dc->state.bitmap->PushSectionBits();
    });
    return TRUE;
}

// ---- Drawing helpers for the text code ----

void FillDeviceSpan(DeviceContext& dc, LONG y, LONG left, LONG right, COLORREF colour) {
    const uint32_t pixel = PixelFromColour(colour);
    ForEachVisibleSpan(dc, y, left, right,
                       [pixel](uint32_t* pixels, LONG, LONG count) { std::fill_n(pixels, count, pixel); });
}

void FillDeviceRect(DeviceContext& dc, const RECT& r, COLORREF colour) {
    if (dc.surface == nullptr) return;
    const uint32_t pixel = PixelFromColour(colour);
    dc.clipArea.ForEachRectIn(r, [&](LONG left, LONG top, LONG right, LONG bottom) {
        for (LONG y = top; y < bottom; ++y) std::fill_n(dc.PixelAt(left, y), right - left, pixel);
    });
}

void BlendDevicePixel(DeviceContext& dc, LONG x, LONG y, COLORREF colour, int coverage) {
    if (coverage <= 0 || !dc.IsVisible(x, y)) return;
    uint32_t* pixel = dc.PixelAt(x, y);
    const uint32_t source = PixelFromColour(colour);
    if (coverage >= 255) {
        *pixel = source;
        return;
    }
    uint32_t result = 0;
    for (int shift = 0; shift <= 16; shift += 8) {
        const uint32_t s = (source >> shift) & 0xFF;
        const uint32_t d = (*pixel >> shift) & 0xFF;
        const uint32_t mixed =
            (s * static_cast<uint32_t>(coverage) + d * static_cast<uint32_t>(255 - coverage) + 127) / 255;
        result |= mixed << shift;
    }
    *pixel = result;
}

// ---- Call trace ----

bool IsTracing(HDC handle) {
    DeviceContext* dc = LookupDeviceContext(handle);
    return dc != nullptr && dc->tracing;
}

void TraceCall(HDC handle, const char* name, const std::string& arguments) {
    DeviceContext* dc = LookupDeviceContext(handle);
    if (dc != nullptr && dc->tracing) RecordCall(*dc, name, arguments);
}

void RecordCall(DeviceContext& dc, const char* name, const std::string& arguments) {
    dc.trace.push_back(std::string(name) + "(" + arguments + ")");
}

void EnableCallTrace(HDC handle, bool on) {
    DeviceContext* dc = LookupDeviceContext(handle);
    if (dc == nullptr) return;
    dc->tracing = on;
    if (on) dc->trace.clear();
}

std::vector<std::string> GetCallTrace(HDC handle) {
    DeviceContext* dc = LookupDeviceContext(handle);
    return dc != nullptr ? dc->trace : std::vector<std::string>();
}

void ClearCallTrace(HDC handle) {
    if (DeviceContext* dc = LookupDeviceContext(handle)) dc->trace.clear();
}

void AppendTraceArgument(std::ostringstream& out, long long value) { out << value; }
void AppendTraceArgument(std::ostringstream& out, TraceColour colour) { out << DescribeColour(colour.colour); }
void AppendTraceArgument(std::ostringstream& out, HGDIOBJ object) { out << DescribeHandle(object); }
void AppendTraceArgument(std::ostringstream& out, const std::string& raw) { out << raw; }

void AppendTraceArgument(std::ostringstream& out, TraceText text) {
    if (text.text == nullptr) {
        out << "NULL";
        return;
    }
    const size_t length = text.count < 0 ? std::char_traits<char>::length(text.text) : static_cast<size_t>(text.count);
    out << '"' << std::string(text.text, length) << '"';
}

void AppendTraceArgument(std::ostringstream& out, TracePoints points) {
    out << '[';
    for (int i = 0; points.points != nullptr && i < points.count; ++i)
        out << (i > 0 ? ", (" : "(") << points.points[i].x << ", " << points.points[i].y << ')';
    out << ']';
}

void AppendTraceArgument(std::ostringstream& out, TraceWord word) { out << word.word; }

void AppendTraceArgument(std::ostringstream& out, const RECT* rect) {
    if (rect == nullptr) {
        out << "NULL";
        return;
    }
    out << "{" << rect->left << ", " << rect->top << ", " << rect->right << ", " << rect->bottom << "}";
}
