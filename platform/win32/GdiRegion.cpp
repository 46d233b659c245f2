// Regions and clipping: region objects, their set operations and queries, the
// DC's clip region, and painting regions.
#include "GdiRegion.h"

#include <sstream>

#include "FigureGeometry.h"
#include "Raster.h"

namespace {

// Stands for "everywhere" when a clip rectangle is cut out of a DC without a clip region.
const RECT kEverywhere{-(1 << 27), -(1 << 27), 1 << 27, 1 << 27};

int ComplexityOrError(const GdiRegion* region) { return region != nullptr ? region->region.Complexity() : ERROR; }

// The region's pixels in the DC's device coordinates (regions given to painting calls are logical).
Region DeviceRegion(const DeviceContext& dc, const Region& logical) {
    Region device = logical;
    const POINT origin = dc.ToDevice(0, 0);
    device.Offset(origin.x, origin.y);
    return device;
}

// Paints a logical region with a brush as PatBlt does (the ROP2 does not apply).
void FillWithBrush(DeviceContext& dc, const Region& logical, const GdiBrush& brush) {
    if (!brush.IsNull()) PaintRegion(dc, DeviceRegion(dc, logical), PrepareBrushPaint(dc, brush, R2_COPYPEN, false));
}

int SetClip(DeviceContext& dc, bool hasRegion, Region region) {
    dc.state.hasClipRegion = hasRegion;
    dc.state.clipRegion = hasRegion ? std::move(region) : Region();
    dc.UpdateClipArea();
    return dc.clipArea.Complexity();
}

Region CurrentClipOrEverywhere(const DeviceContext& dc) {
    return dc.state.hasClipRegion ? dc.state.clipRegion : Region(kEverywhere);
}

}  // namespace

std::string GdiRegion::Describe() const {
    const RECT box = region.Bounds();
    std::ostringstream out;
    out << "Region(" << box.left << ", " << box.top << ", " << box.right << ", " << box.bottom << ")";
    return out.str();
}

GdiRegion* LookupRegion(HGDIOBJ region) { return LookupGdiObjectAs<GdiRegion>(region, GdiKind::Region); }

HRGN MakeRegionHandle(Region value) { return static_cast<HRGN>(RegisterGdiObject(new GdiRegion(std::move(value)))); }

HRGN CreateRectRgn(int left, int top, int right, int bottom) {
    return MakeRegionHandle(Region(NormaliseRect(RECT{left, top, right, bottom})));
}

HRGN CreateRectRgnIndirect(const RECT* rect) {
    return rect != nullptr ? CreateRectRgn(rect->left, rect->top, rect->right, rect->bottom) : nullptr;
}

HRGN CreatePolygonRgn(const POINT* points, int count, int fillMode) {
    if ((points == nullptr && count > 0) || (fillMode != ALTERNATE && fillMode != WINDING)) return nullptr;
    return MakeRegionHandle(PolygonRegion(points, count, fillMode, kRegionLimit));
}

HRGN CreateEllipticRgn(int left, int top, int right, int bottom) {
    return MakeRegionHandle(EllipseRegion(RECT{left, top, right, bottom}, kRegionLimit));
}

HRGN CreateEllipticRgnIndirect(const RECT* rect) {
    return rect != nullptr ? CreateEllipticRgn(rect->left, rect->top, rect->right, rect->bottom) : nullptr;
}

int CombineRgn(HRGN destination, HRGN source1, HRGN source2, int mode) {
    GdiRegion* target = LookupRegion(destination);
    GdiRegion* first = LookupRegion(source1);
    if (target == nullptr || first == nullptr || mode < RGN_AND || mode > RGN_COPY) return ERROR;
    if (mode == RGN_COPY) {
        target->region = first->region;
        return target->region.Complexity();
    }
    GdiRegion* second = LookupRegion(source2);
    if (second == nullptr) return ERROR;
    target->region = Region::Combine(first->region, second->region, mode);
    return target->region.Complexity();
}

int OffsetRgn(HRGN handle, int dx, int dy) {
    GdiRegion* region = LookupRegion(handle);
    if (region != nullptr) region->region.Offset(dx, dy);
    return ComplexityOrError(region);
}

BOOL SetRectRgn(HRGN handle, int left, int top, int right, int bottom) {
    GdiRegion* region = LookupRegion(handle);
    if (region == nullptr) return FALSE;
    region->region = Region(NormaliseRect(RECT{left, top, right, bottom}));
    return TRUE;
}

BOOL PtInRegion(HRGN handle, int x, int y) {
    GdiRegion* region = LookupRegion(handle);
    return region != nullptr && region->region.Contains(x, y) ? TRUE : FALSE;
}

BOOL RectInRegion(HRGN handle, const RECT* rect) {
    GdiRegion* region = LookupRegion(handle);
    if (region == nullptr || rect == nullptr) return FALSE;
    return region->region.Intersects(NormaliseRect(*rect)) ? TRUE : FALSE;
}

BOOL EqualRgn(HRGN handle1, HRGN handle2) {
    GdiRegion* first = LookupRegion(handle1);
    GdiRegion* second = LookupRegion(handle2);
    return first != nullptr && second != nullptr && first->region == second->region ? TRUE : FALSE;
}

int GetRgnBox(HRGN handle, LPRECT box) {
    GdiRegion* region = LookupRegion(handle);
    if (region == nullptr || box == nullptr) return ERROR;
    *box = region->region.Bounds();
    return region->region.Complexity();
}

BOOL FillRgn(HDC handle, HRGN regionHandle, HBRUSH brushHandle) {
    DeviceContext* dc = LookupDeviceContext(handle);
    Trace(dc, "FillRgn", regionHandle, brushHandle);
    GdiRegion* region = LookupRegion(regionHandle);
    GdiBrush* brush = LookupBrush(brushHandle);
    if (dc == nullptr || region == nullptr || brush == nullptr) return FALSE;
    FillWithBrush(*dc, region->region, *brush);
    return TRUE;
}

BOOL PaintRgn(HDC handle, HRGN regionHandle) {
    DeviceContext* dc = LookupDeviceContext(handle);
    Trace(dc, "PaintRgn", regionHandle);
    GdiRegion* region = LookupRegion(regionHandle);
    if (dc == nullptr || region == nullptr) return FALSE;
    if (!dc->state.brush->IsNull())
        PaintRegion(*dc, DeviceRegion(*dc, region->region),
                    PrepareBrushPaint(*dc, *dc->state.brush, dc->state.rop2, false));
    return TRUE;
}

BOOL FrameRgn(HDC handle, HRGN regionHandle, HBRUSH brushHandle, int width, int height) {
    DeviceContext* dc = LookupDeviceContext(handle);
    Trace(dc, "FrameRgn", regionHandle, brushHandle, width, height);
    GdiRegion* region = LookupRegion(regionHandle);
    GdiBrush* brush = LookupBrush(brushHandle);
    if (dc == nullptr || region == nullptr || brush == nullptr || width < 1 || height < 1) return FALSE;
    // The frame is what the region loses when shrunk by width and height from every side.
    Region inner = region->region;
    const POINT shifts[4] = {{width, 0}, {-width, 0}, {0, height}, {0, -height}};
    for (const POINT& shift : shifts) {
        Region moved = region->region;
        moved.Offset(shift.x, shift.y);
        inner = Region::Combine(inner, moved, RGN_AND);
    }
    FillWithBrush(*dc, Region::Combine(region->region, inner, RGN_DIFF), *brush);
    return TRUE;
}

BOOL InvertRgn(HDC handle, HRGN regionHandle) {
    DeviceContext* dc = LookupDeviceContext(handle);
    Trace(dc, "InvertRgn", regionHandle);
    GdiRegion* region = LookupRegion(regionHandle);
    if (dc == nullptr || region == nullptr) return FALSE;
    PaintRegion(*dc, DeviceRegion(*dc, region->region), SolidPaint(0, R2_NOT));
    return TRUE;
}

int SelectClipRgn(HDC handle, HRGN regionHandle) { return ExtSelectClipRgn(handle, regionHandle, RGN_COPY); }

int ExtSelectClipRgn(HDC handle, HRGN regionHandle, int mode) {
    DeviceContext* dc = LookupDeviceContext(handle);
    Trace(dc, mode == RGN_COPY ? "SelectClipRgn" : "ExtSelectClipRgn", regionHandle);
    if (dc == nullptr || mode < RGN_AND || mode > RGN_COPY) return ERROR;
    GdiRegion* region = LookupRegion(regionHandle);
    if (region == nullptr) {
        if (regionHandle != nullptr || mode != RGN_COPY) return ERROR;
        return SetClip(*dc, false, Region());
    }
    if (mode == RGN_COPY) return SetClip(*dc, true, region->region);
    return SetClip(*dc, true, Region::Combine(CurrentClipOrEverywhere(*dc), region->region, mode));
}

int GetClipRgn(HDC handle, HRGN regionHandle) {
    DeviceContext* dc = LookupDeviceContext(handle);
    Trace(dc, "GetClipRgn");
    GdiRegion* region = LookupRegion(regionHandle);
    if (dc == nullptr || region == nullptr) return -1;
    if (!dc->state.hasClipRegion) return 0;
    region->region = dc->state.clipRegion;
    return 1;
}

int IntersectClipRect(HDC handle, int left, int top, int right, int bottom) {
    DeviceContext* dc = LookupDeviceContext(handle);
    Trace(dc, "IntersectClipRect", left, top, right, bottom);
    if (dc == nullptr) return ERROR;
    const RECT box = NormaliseRect(dc->ToDevice(RECT{left, top, right, bottom}));
    return SetClip(*dc, true, CurrentClipOrEverywhere(*dc).IntersectRect(box));
}

int ExcludeClipRect(HDC handle, int left, int top, int right, int bottom) {
    DeviceContext* dc = LookupDeviceContext(handle);
    Trace(dc, "ExcludeClipRect", left, top, right, bottom);
    if (dc == nullptr) return ERROR;
    const RECT box = NormaliseRect(dc->ToDevice(RECT{left, top, right, bottom}));
    return SetClip(*dc, true, Region::Combine(CurrentClipOrEverywhere(*dc), Region(box), RGN_DIFF));
}

int OffsetClipRgn(HDC handle, int dx, int dy) {
    DeviceContext* dc = LookupDeviceContext(handle);
    Trace(dc, "OffsetClipRgn", dx, dy);
    if (dc == nullptr) return ERROR;
    if (dc->state.hasClipRegion) {
        dc->state.clipRegion.Offset(dx, dy);
        dc->UpdateClipArea();
    }
    return dc->clipArea.Complexity();
}

int GetClipBox(HDC handle, LPRECT box) {
    DeviceContext* dc = LookupDeviceContext(handle);
    Trace(dc, "GetClipBox");
    if (dc == nullptr || box == nullptr) return ERROR;
    const RECT bounds = dc->clipArea.Bounds();
    const POINT topLeft = dc->ToLogical(bounds.left, bounds.top);
    const POINT bottomRight = dc->ToLogical(bounds.right, bounds.bottom);
    *box = dc->clipArea.Empty() ? RECT{0, 0, 0, 0} : RECT{topLeft.x, topLeft.y, bottomRight.x, bottomRight.y};
    return dc->clipArea.Complexity();
}

BOOL PtVisible(HDC handle, int x, int y) {
    DeviceContext* dc = LookupDeviceContext(handle);
    Trace(dc, "PtVisible", x, y);
    if (dc == nullptr) return FALSE;
    const POINT at = dc->ToDevice(x, y);
    return dc->clipArea.Contains(at.x, at.y) ? TRUE : FALSE;
}

BOOL RectVisible(HDC handle, const RECT* rect) {
    DeviceContext* dc = LookupDeviceContext(handle);
    Trace(dc, "RectVisible", rect);
    if (dc == nullptr || rect == nullptr) return FALSE;
    return dc->clipArea.Intersects(NormaliseRect(dc->ToDevice(*rect))) ? TRUE : FALSE;
}
