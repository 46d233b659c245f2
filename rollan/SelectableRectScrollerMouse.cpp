// TSelectableRectScroller's mouse: drawing a new selection, hovering over
// and dragging its edges, corners, radii and points, moving it whole, and
// closing a polygon with the right button.
#include <algorithm>
#include <cstdint>
#include <cstdlib>

#include "Menus.h"
#include "ScrollArithmetic.h"
#include "SelectableRectScroller.h"

namespace {

bool IsOverMode(TSelectMouseMode mode) {
    return mode == smOverPoint || mode == smOverEdge || mode == smOverEllipseHandle || mode == smOverCorner;
}

bool IsDragMode(TSelectMouseMode mode) {
    return mode == smDragPoint || mode == smDragEdge || mode == smDragRadius || mode == smDragCorner ||
           mode == smMoveSelection;
}

// The over mode that a selection kind's hover detection sets.
TSelectMouseMode OverModeOf(TRectScrollerSelection kind) {
    switch (kind) {
        case selRect: return smOverEdge;  // or smOverCorner
        case selEllipse: return smOverEllipseHandle;
        case selPolygon: return smOverPoint;
        case selSkewRect: break;
    }
    return smNone;
}

bool Near(int64_t a, int64_t b) { return std::llabs(a - b) <= 1; }

int Distance(int a, int b) { return Saturate(std::llabs(int64_t(a) - b)); }

// value limited to [low, high]; high wins when they cross.
int Limit(int64_t value, int64_t low, int64_t high) { return Saturate(std::min(std::max(value, low), high)); }

// ORDER corners: 0 top-left, 1 top-right, 2 bottom-left, 3 bottom-right.
POINT Corner(const RECT& r, int index) {
    return POINT{index == 0 || index == 2 ? r.left : r.right, index < 2 ? r.top : r.bottom};
}

}  // namespace

void TSelectableRectScroller::SetMouseCursor(TCursor cursor) {
    if (GetCursor() != cursor) SetCursor(cursor);
}

// ---- Move ----

void TSelectableRectScroller::MouseMove(TShiftState shift, int x, int y) {
    if (IsDesigning()) {
        TRectScroller::MouseMove(shift, x, y);
        return;
    }
    InvertCursor();
    SetMouseProps(x, y);
    const SIZE size = GetRectSizes();
    POINT screen = FMousePos;
    if (FMouseMode == smDragPoint || ShowCursor)
        screen = POINT{Limit(screen.x, 0, int64_t(size.cx) - 1), Limit(screen.y, 0, int64_t(size.cy) - 1)};
    InvertCursor();
    if (ShowPosition || ShowPercentage) SetInfoForms();

    const bool reshapable = MovablePoints && Selectable && ShowSelection && FSelection;
    const bool overOfKind = FMouseMode == smNone || FMouseMode == OverModeOf(SelectionType) ||
                            (SelectionType == selRect && FMouseMode == smOverCorner);
    // A move that does not move (one the window system adds at a press or a
    // release) changes no selection: a click stays a click.
    const bool moved = FMousePos.x != FPrevMousePos.x || FMousePos.y != FPrevMousePos.y;
    if (reshapable && overOfKind)
        DetectOverMode(GetRealCoord(FMousePos), screen);
    else if (moved)
        MoveByMode(GetRealCoord(FMouseMode == smDragPoint ? screen : FMousePos));

    CheckEnterLeaveUserArea();
    if (OnMouseMove && GetEnabled()) {
        PrepareDC(GetCanvas()->GetHandle());
        DoOnMouseMove(shift, FMousePos.x, FMousePos.y);
    }
}

void TSelectableRectScroller::DetectOverMode(POINT real, POINT screen) {
    switch (SelectionType) {
        case selRect: DetectRectOver(real); break;
        case selEllipse: DetectEllipseOver(real); break;
        case selPolygon: DetectPolygonOver(screen); break;
        case selSkewRect: break;
    }
}

// Corners first, each within 1 of the mouse on both axes; then the edges,
// each within 1 and between the other two. The last hit wins.
void TSelectableRectScroller::DetectRectOver(POINT real) {
    FMouseMode = smNone;
    TCursor cursor = crDefault;
    const RECT r = FSelectRect;
    for (int i = 0; i < 4; ++i) {
        const POINT corner = Corner(r, i);
        if (!Near(real.x, corner.x) || !Near(real.y, corner.y)) continue;
        FMouseMode = smOverCorner;
        FCornerIndex = uint8_t(i);
        FCornerOffset = POINT{real.x - corner.x, real.y - corner.y};
        cursor = i == 0 || i == 3 ? crSizeNWSE : crSizeNESW;
    }
    if (FMouseMode == smNone) {
        const int left = std::min(r.left, r.right), right = std::max(r.left, r.right);
        const int top = std::min(r.top, r.bottom), bottom = std::max(r.top, r.bottom);
        const bool betweenRows = real.y >= top && real.y <= bottom;
        const bool betweenColumns = real.x >= left && real.x <= right;
        // ORDER edges as tested: left, right, top, bottom (indices 0, 2, 1, 3).
        const struct {
            uint8_t index;
            int at;
            int mouse;
            bool between;
            TCursor cursor;
        } kEdges[] = {{0, r.left, real.x, betweenRows, crSizeWE},
                      {2, r.right, real.x, betweenRows, crSizeWE},
                      {1, r.top, real.y, betweenColumns, crSizeNS},
                      {3, r.bottom, real.y, betweenColumns, crSizeNS}};
        for (const auto& edge : kEdges) {
            if (!edge.between || !Near(edge.mouse, edge.at)) continue;
            FMouseMode = smOverEdge;
            FEdgeIndex = edge.index;
            FEdgeOffset = edge.mouse - edge.at;
            cursor = edge.cursor;
        }
    }
    SetMouseCursor(cursor);
}

// The axes' ends: right, left (horizontal handle), lower, upper (vertical).
void TSelectableRectScroller::DetectEllipseOver(POINT real) {
    FMouseMode = smNone;
    TCursor cursor = crDefault;
    const int64_t cx = FSelectCenter.x, cy = FSelectCenter.y;
    const int64_t ends[4] = {cx + SelectHorzRadius, cx - SelectHorzRadius, cy + SelectVertRadius,
                             cy - SelectVertRadius};
    for (int i = 0; i < 4; ++i) {
        const bool horizontal = i < 2;
        const int64_t along = horizontal ? real.x : real.y;
        const int64_t across = horizontal ? real.y : real.x;
        if (along < ends[i] - 1 || along >= ends[i] + 1 || !Near(across, horizontal ? cy : cx)) continue;
        FMouseMode = smOverEllipseHandle;
        FEllipseAxis = horizontal ? 0 : 1;
        FEllipseOffset = Saturate(along - (horizontal ? cx : cy));
        cursor = horizontal ? crSizeWE : crSizeNS;
    }
    SetMouseCursor(cursor);
}

void TSelectableRectScroller::DetectPolygonOver(POINT screen) {
    FMouseMode = smNone;
    const int64_t radius = MoveRadius;
    for (int i = 0; i < FPoints.GetCount(); ++i) {
        const POINT p = GetScreenCoord(FPoints[i]);
        const int64_t dx = int64_t(p.x) - screen.x, dy = int64_t(p.y) - screen.y;
        if (dx * dx + dy * dy >= radius * radius) continue;
        FMouseMode = smOverPoint;
        FPointIndex = i;
        break;
    }
    SetMouseCursor(FMouseMode == smOverPoint ? crSizeAll : crDefault);
}

void TSelectableRectScroller::MoveByMode(POINT real) {
    // A drag outlives its selection only when something dropped it meanwhile.
    if ((IsDragMode(FMouseMode) && !(FSelection && ShowSelection)) || IsOverMode(FMouseMode)) {
        FMouseMode = smNone;
        SetMouseCursor(crDefault);
        return;
    }
    switch (FMouseMode) {
        case smMoveSelection: MoveSelection(real); return;
        case smDragEdge:
        case smDragCorner:
            InvertSelection();
            if (FMouseMode == smDragEdge) {
                DragEdges(real, FEdgeIndex, FEdgeOffset);
            } else {
                // ORDER corners: the vertical edge (left 0 or right 2), then the horizontal one (top 1 or bottom 3).
                DragEdges(real, FCornerIndex == 0 || FCornerIndex == 2 ? 0 : 2, FCornerOffset.x);
                DragEdges(real, FCornerIndex < 2 ? 1 : 3, FCornerOffset.y);
            }
            SetRectLimits();
            InvertSelection();
            ChangeSel();
            return;
        case smDragRadius:
            InvertSelection();
            DragRadius(real);
            InvertSelection();
            ChangeSel();
            return;
        case smDragPoint: DragPoint(real); return;
        default: break;
    }
    if (FSelecting && Selectable)
        FollowWhileSelecting(real);
    else
        SetMouseCursor(crDefault);
}

// Each axis moves only when the moved figure stays in the rectangle.
void TSelectableRectScroller::MoveSelection(POINT real) {
    const int64_t width = RealWidth(), height = RealHeight();
    InvertSelection();
    if (SelectionType == selRect) {
        const int64_t left = int64_t(real.x) - FMoveOffsets[0], right = int64_t(real.x) + FMoveOffsets[2];
        const int64_t top = int64_t(real.y) - FMoveOffsets[1], bottom = int64_t(real.y) + FMoveOffsets[3];
        if (left >= 0 && right < width) {
            FSelectRect.left = int(left);
            FSelectRect.right = int(right);
        }
        if (top >= 0 && bottom < height) {
            FSelectRect.top = int(top);
            FSelectRect.bottom = int(bottom);
        }
    } else if (SelectionType == selEllipse) {
        const int64_t cx = int64_t(real.x) - FMoveOffsets[0], cy = int64_t(real.y) - FMoveOffsets[1];
        if (cx - SelectHorzRadius >= 0 && cx + SelectHorzRadius < width) FSelectCenter.x = int(cx);
        if (cy - SelectVertRadius >= 0 && cy + SelectVertRadius < height) FSelectCenter.y = int(cy);
    } else if (SelectionType == selPolygon && FPoints.GetCount() > 0) {
        int64_t minX = INT64_MAX, minY = INT64_MAX, maxX = INT64_MIN, maxY = INT64_MIN;
        for (int i = 0; i < FPoints.GetCount(); ++i) {
            minX = std::min<int64_t>(minX, FPoints[i].x);
            maxX = std::max<int64_t>(maxX, FPoints[i].x);
            minY = std::min<int64_t>(minY, FPoints[i].y);
            maxY = std::max<int64_t>(maxY, FPoints[i].y);
        }
        // A move that would take a point out is cut; the anchor then stays.
        auto cut = [](int64_t delta, int64_t low, int64_t high, int64_t limit, bool& wasCut) {
            const int64_t result = std::max(std::min(delta, limit - 1 - high), std::min<int64_t>(-low, 0));
            wasCut = result != delta;
            return result;
        };
        bool cutX = false, cutY = false;
        const int64_t dx = cut(int64_t(real.x) - FMoveOffsets[0], minX, maxX, width, cutX);
        const int64_t dy = cut(int64_t(real.y) - FMoveOffsets[1], minY, maxY, height, cutY);
        FPoints.MakeOffset(int(dx), int(dy));
        if (!cutX) FMoveOffsets[0] = real.x;
        if (!cutY) FMoveOffsets[1] = real.y;
    }
    InvertSelection();
}

// edge: 0 left, 1 top, 2 right, 3 bottom; an edge stops one short of its opposite.
void TSelectableRectScroller::DragEdges(POINT real, int edge, int offset) {
    RECT& r = FSelectRect;
    switch (edge) {
        case 0: r.left = Saturate(std::min(int64_t(real.x) - offset, int64_t(r.right) - 1)); break;
        case 1: r.top = Saturate(std::min(int64_t(real.y) - offset, int64_t(r.bottom) - 1)); break;
        case 2: r.right = Saturate(std::max(int64_t(real.x) - offset, int64_t(r.left) + 1)); break;
        case 3: r.bottom = Saturate(std::max(int64_t(real.y) - offset, int64_t(r.top) + 1)); break;
        default: break;
    }
}

void TSelectableRectScroller::SetRectLimits() {
    const int64_t lastX = int64_t(RealWidth()) - 1, lastY = int64_t(RealHeight()) - 1;
    FSelectRect.left = Limit(FSelectRect.left, 0, lastX);
    FSelectRect.right = Limit(FSelectRect.right, 0, lastX);
    FSelectRect.top = Limit(FSelectRect.top, 0, lastY);
    FSelectRect.bottom = Limit(FSelectRect.bottom, 0, lastY);
}

// A radius reaches at most to the nearer border of its axis (the far side
// one pixel in); a circle's to the nearest of the four.
void TSelectableRectScroller::DragRadius(POINT real) {
    const int cx = FSelectCenter.x, cy = FSelectCenter.y;
    const int roomX = std::max(0, std::min(cx, RealWidth() - 1 - cx));
    const int roomY = std::max(0, std::min(cy, RealHeight() - 1 - cy));
    const int pulled = FEllipseAxis == 0 ? Distance(real.x, cx) : Distance(real.y, cy);
    if (!SelectEllipse) {
        SelectHorzRadius = SelectVertRadius = std::min({pulled, roomX, roomY});
    } else if (FEllipseAxis == 0) {
        SelectHorzRadius = std::min(pulled, roomX);
    } else {
        SelectVertRadius = std::min(pulled, roomY);
    }
}

void TSelectableRectScroller::DragPoint(POINT real) {
    if (FPointIndex < 0 || FPointIndex >= FPoints.GetCount()) return;
    InvertPolygonEdgesAt(FPointIndex);
    FPoints[FPointIndex] = real;
    InvertPolygonEdgesAt(FPointIndex);
    ChangeSel();
}

// A rectangle grows from its pressed corner to the right and down; an
// ellipse's radii follow the mouse up to the nearer borders; a polygon's
// last point follows the mouse within the rectangle.
void TSelectableRectScroller::FollowWhileSelecting(POINT real) {
    const int width = RealWidth(), height = RealHeight();
    switch (SelectionType) {
        case selRect:
            InvertSelection();
            StartSel();
            FSelectRect.right = Limit(real.x, int64_t(FSelectRect.left) + 1, int64_t(width) - 1);
            FSelectRect.bottom = Limit(real.y, int64_t(FSelectRect.top) + 1, int64_t(height) - 1);
            InvertSelection();
            break;
        case selEllipse: {
            InvertSelection();
            StartSel();
            const int cx = FSelectCenter.x, cy = FSelectCenter.y;
            SelectHorzRadius = std::min(Distance(real.x, cx), std::max(0, std::min(cx, width - 1 - cx)));
            SelectVertRadius = std::min(Distance(real.y, cy), std::max(0, std::min(cy, height - 1 - cy)));
            if (!SelectEllipse) SelectHorzRadius = SelectVertRadius = std::min(SelectHorzRadius, SelectVertRadius);
            InvertSelection();
            break;
        }
        case selPolygon: {
            if (FPoints.GetCount() == 0) return;
            const int last = FPoints.GetCount() - 1;
            InvertPolygonEdgesAt(last);
            FPoints[last] = POINT{Limit(real.x, 0, int64_t(width) - 1), Limit(real.y, 0, int64_t(height) - 1)};
            InvertPolygonEdgesAt(last);
            break;
        }
        case selSkewRect: break;
    }
    ChangeSel();
}

// ---- Press ----

void TSelectableRectScroller::MouseDown(TMouseButton button, TShiftState shift, int x, int y) {
    if (IsDesigning()) {
        TRectScroller::MouseDown(button, shift, x, y);
        return;
    }
    // A press gives the scroller the keyboard, as its scroll bars do, so that
    // its keys (selection kind, rulers, mesh, copy) work after a click.
    if (GetTabStop() && !Focused() && CanFocus()) SetFocus();
    const POINT real = GetRealCoord(TransformToUserArea(x, y));
    withholdPopup_ = false;
    if (button == mbLeft) {
        const bool reshapable = MovablePoints && Selectable && ShowSelection && FSelection;
        if (IsOverMode(FMouseMode) && reshapable) {
            static const struct {
                TSelectMouseMode over, drag;
            } kGrabs[] = {{smOverEdge, smDragEdge},
                          {smOverPoint, smDragPoint},
                          {smOverEllipseHandle, smDragRadius},
                          {smOverCorner, smDragCorner}};
            for (const auto& grab : kGrabs)
                if (grab.over == FMouseMode) FMouseMode = grab.drag;
        } else if (Selectable && InRealRect(real)) {
            if (FSelection && MovableSelection && ShowSelection && PressInside(real))
                FMouseMode = smMoveSelection;
            else
                StartNewSelection(real);
        }
    } else if (button == mbRight && FSelecting && SelectionType == selPolygon) {
        ClosePolygon();
        withholdPopup_ = true;
        if (OnMouseDown && GetEnabled()) {
            const POINT p = TransformToUserArea(x, y);
            PrepareDC(GetCanvas()->GetHandle());
            DoOnMouseDown(button, shift, p.x, p.y);
        }
        return;
    }
    TRectScroller::MouseDown(button, shift, x, y);
}

void TSelectableRectScroller::WndProc(TMessage& message) {
    ++messageDepth_;
    try {
        RouteMessage(message);
    } catch (...) {
        --messageDepth_;
        throw;
    }
    --messageDepth_;
    PresentFigures();
}

void TSelectableRectScroller::RouteMessage(TMessage& message) {
    if (!withholdPopup_ || (message.Msg != WM_RBUTTONUP && message.Msg != WM_CONTEXTMENU)) {
        TRectScroller::WndProc(message);
        return;
    }
    if (message.Msg == WM_CONTEXTMENU) {
        message.Result = 1;
        return;
    }
    // The release still ends the click (and the mouse capture) as usual.
    TPopupMenu* menu = GetPopupMenu();
    const bool autoPopup = menu && menu->GetAutoPopup();
    if (menu) menu->SetAutoPopup(false);
    auto restore = [&] {
        withholdPopup_ = false;
        if (menu && GetPopupMenu() == menu) menu->SetAutoPopup(autoPopup);
    };
    try {
        TRectScroller::WndProc(message);
    } catch (...) {
        restore();
        throw;
    }
    restore();
}

// Strictly inside the selection; also keeps the offsets a move needs.
bool TSelectableRectScroller::PressInside(POINT real) {
    switch (SelectionType) {
        case selRect: {
            const RECT& r = FSelectRect;
            if (real.x <= r.left || real.x >= r.right || real.y <= r.top || real.y >= r.bottom) return false;
            FMoveOffsets[0] = real.x - r.left;
            FMoveOffsets[1] = real.y - r.top;
            FMoveOffsets[2] = r.right - real.x;
            FMoveOffsets[3] = r.bottom - real.y;
            return true;
        }
        case selEllipse: {
            // A radius of 0 leaves nothing inside.
            if (SelectHorzRadius <= 0 || SelectVertRadius <= 0) return false;
            const double dx = double(real.x - int64_t(FSelectCenter.x)) / SelectHorzRadius;
            const double dy = double(real.y - int64_t(FSelectCenter.y)) / SelectVertRadius;
            if (dx * dx + dy * dy >= 1.0) return false;
            FMoveOffsets[0] = real.x - FSelectCenter.x;
            FMoveOffsets[1] = real.y - FSelectCenter.y;
            return true;
        }
        case selPolygon: {
            const int count = FPoints.GetCount();
            if (count < 3) return false;
            // Even-odd rule: a ray to the right crosses the edges an odd number of times.
            bool inside = false;
            for (int i = 0, j = count - 1; i < count; j = i++) {
                const POINT a = FPoints[i], b = FPoints[j];
                if ((a.y > real.y) == (b.y > real.y)) continue;
                const double crossX = a.x + double(real.y - a.y) * (double(b.x) - a.x) / (double(b.y) - a.y);
                if (real.x < crossX) inside = !inside;
            }
            if (!inside) return false;
            FMoveOffsets[0] = real.x;
            FMoveOffsets[1] = real.y;
            return true;
        }
        case selSkewRect: break;
    }
    return false;
}

// The old figure goes, the new one starts at the press and shows while it
// is drawn; the crosshair hides while a rectangle is drawn.
void TSelectableRectScroller::StartNewSelection(POINT real) {
    const bool addingToPolygon = SelectionType == selPolygon && FSelecting;
    EraseShownSelection();
    switch (SelectionType) {
        case selRect: FSelectRect = RECT{real.x, real.y, real.x, real.y}; break;
        case selSkewRect:
            for (POINT& corner : FSkewCorners) corner = real;
            break;
        case selEllipse:
            FSelectCenter = real;
            SelectHorzRadius = SelectVertRadius = 0;
            break;
        case selPolygon:
            if (!addingToPolygon) {
                FPoints.Clear();
                FPoints.Add(real);  // the second copy follows the mouse
            }
            FPoints.Add(real);
            break;
    }
    if (SelectionType != selPolygon) FStartPending = true;
    FMouseMode = smNone;
    InvertCursor();
    FSelection = false;
    FSelecting = true;
    InvertCursor();
    if (SelectionType == selPolygon && !addingToPolygon) StartSel();
    InvertSelection();
    SetSelection(false);
}

// Two points are one real point and the one that follows the mouse: that
// polygon is dropped (and not reported); others stay when KeepSelection.
void TSelectableRectScroller::ClosePolygon() {
    const bool polygon = FPoints.GetCount() != 2;
    const bool keep = polygon && KeepSelection;
    if (!keep && polygon) SetSelection(true);
    InvertSelection();
    FSelecting = false;
    FSelection = keep;
    InvertSelection();
    SetSelection(keep);
    EndSel();
}

// ---- Release ----

void TSelectableRectScroller::MouseUp(TMouseButton button, TShiftState shift, int x, int y) {
    if (!IsDesigning() && button == mbLeft) {
        if (FMouseMode != smNone) {
            if (FMouseMode == smDragEdge || FMouseMode == smDragCorner) {
                RECT& r = FSelectRect;
                if (r.left > r.right) std::swap(r.left, r.right);
                if (r.top > r.bottom) std::swap(r.top, r.bottom);
            }
            FMouseMode = smNone;
            SetMouseCursor(crDefault);
        } else if (Selectable && FSelecting) {
            ReleaseSelection();
        }
    }
    TRectScroller::MouseUp(button, shift, x, y);
}

// A rectangle or an ellipse ends at the release: it exists when it has an
// area, and stays on the screen while it exists, is kept and shown.
void TSelectableRectScroller::ReleaseSelection() {
    if (SelectionType != selRect && SelectionType != selEllipse) return;
    bool hasArea;
    if (SelectionType == selRect) {
        RECT& r = FSelectRect;
        if (r.left > r.right) std::swap(r.left, r.right);
        if (r.top > r.bottom) std::swap(r.top, r.bottom);
        hasArea = r.right != r.left && r.bottom != r.top;
    } else {
        hasArea = SelectHorzRadius != 0 && SelectVertRadius != 0;
    }
    InvertSelection();
    InvertCursor();
    FSelecting = false;
    FStartPending = false;
    InvertCursor();
    if (hasArea) SetSelection(true);
    if (!KeepSelection) SetSelection(false);
    InvertSelection();  // back when it exists and shows
    EndSel();
}
