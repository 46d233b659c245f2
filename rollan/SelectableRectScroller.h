// TSelectableRectScroller: a rectangle scroller on which the user draws,
// moves and reshapes a selection (rectangle, ellipse or polygon), with a
// crosshair cursor, rulers, a mesh, tab marks and two info forms that follow
// the cursor.
#pragma once

#include <cstdint>
#include <functional>

#include "RectScroller.h"
#include "ValueContainers.h"

class TSelectableRectScroller;
class TForm;
class TSelectableRectScrollerInfoForm;

// ORDER TRectScrollerSelection: the successor table of Ctrl+S follows it.
enum TRectScrollerSelection { selRect, selSkewRect, selEllipse, selPolygon };

// SelData: selRect a RECT* (left, top, right, bottom), selEllipse a POINT* (the
// centre), selPolygon the TPointContainer* of the points, selSkewRect null.
using TSelectionEvent = std::function<void(TSelectableRectScroller* scroller, TRectScrollerSelection selType,
                                           bool selection, void* selData)>;
using TChangeSelTypeEvent = std::function<void(TSelectableRectScroller* scroller, TRectScrollerSelection selType)>;

// What the mouse holds or hovers over; the over modes come from moves, the
// drag modes from a left press in the matching over mode.
enum TSelectMouseMode : uint8_t {
    smNone,
    smOverPoint,
    smOverEdge,
    smOverEllipseHandle,
    smOverCorner,
    smDragPoint,
    smDragEdge,
    smDragRadius,
    smDragCorner,
    smMoveSelection
};

// Selection coordinates are "real" coordinates; GetScreen*Coord turns them
// into pixels of the user rectangle and GetReal*Coord back (the identity
// here; a derived scroller zooms). Every figure is drawn by inverting pixels
// (R2_NOT, null brush), so drawing it twice restores the picture: each change
// erases the old figure and draws the new one, and a paint draws whatever the
// state shows. Ruler labels are text in the ruler colour, painted by each
// paint under the inverted figures.
//
// The mouse: a left press in the rectangle starts a new selection, unless
// it grabs the edge, corner, radius handle or point the mouse hovers over, or
// lands inside a MovableSelection (which then moves). Rectangles grow right
// and down from the press; ellipses from their centre; polygons take a point
// at each click and end with a right click (which then opens no menu). A
// move that does not move the mouse changes no selection.
// The keys: Esc ends a selection being drawn; Ctrl+S the next kind; Ctrl+H
// the helper lines; Ctrl+R the rulers; Ctrl+M the mesh; Ctrl+1 the crosshair;
// Ctrl+T and Shift+T a tab mark at the mouse; Up and Down the ruler step (not
// below 5) while rulers or mesh show.
//
// The mouse point is the no-point (kNoPoint in both coordinates) until the
// first move. Without a window nothing is drawn; the state changes alone.
class TSelectableRectScroller : public TRectScroller {
    CLASSLIB_CLASS(TSelectableRectScroller, TRectScroller)

public:
    static constexpr int kNoPoint = static_cast<int>(0x80000001u);

    // The rectangle scroller's construction, then Init. WantArrows starts
    // true and RulerNumber 5 (both are always stored with a form).
    explicit TSelectableRectScroller(TComponent* owner);
    ~TSelectableRectScroller() override;

    // ---- Selection ----
    bool GetSelection() const { return FSelection; }
    bool GetSelecting() const { return FSelecting; }
    // The rectangle (selRect), the ellipse's bounding box (selEllipse), else
    // (-1, -1, -1, -1); the Select* edges report the same.
    RECT GetSelectRect() const;
    int GetSelectLeft() const { return GetSelectRect().left; }
    int GetSelectTop() const { return GetSelectRect().top; }
    int GetSelectRight() const { return GetSelectRect().right; }
    int GetSelectBottom() const { return GetSelectRect().bottom; }
    POINT GetSelectCenter() const { return FSelectCenter; }
    int GetSelectCenterX() const { return FSelectCenter.x; }
    int GetSelectCenterY() const { return FSelectCenter.y; }
    int GetSelectHorzRadius() const { return SelectHorzRadius; }
    int GetSelectVertRadius() const { return SelectVertRadius; }
    // The selection rectangle through the screen conversions.
    RECT GetScreenSelectRect();
    // What the selection events hand over as SelData (see TSelectionEvent).
    void* GetSelData();
    // selPolygon: copies the points into out, true; otherwise empties out, false.
    bool GetSelectPoints(TPointContainer& out) const;
    // Stores whether a selection exists and fires OnSelection (DoSelection).
    void SetSelection(bool value);

    // ---- Options ----
    bool GetSelectable() const { return Selectable; }
    // Erases a shown selection and ends it (also one being drawn), then stores.
    void SetSelectable(bool value);
    bool GetKeepSelection() const { return KeepSelection; }
    void SetKeepSelection(bool value) { KeepSelection = value; }
    TRectScrollerSelection GetSelectionType() const { return SelectionType; }
    // Another kind erases and ends the selection (also one being drawn), quietly.
    void SetSelectionType(TRectScrollerSelection value);
    bool GetChangeSelectionType() const { return ChangeSelectionType; }
    void SetChangeSelectionType(bool value) { ChangeSelectionType = value; }
    bool GetSelectEllipse() const { return SelectEllipse; }
    // Off: ellipses are drawn as circles.
    void SetSelectEllipse(bool value) { SelectEllipse = value; }
    bool GetMovablePoints() const { return MovablePoints; }
    void SetMovablePoints(bool value) { MovablePoints = value; }
    bool GetMovableSelection() const { return MovableSelection; }
    void SetMovableSelection(bool value) { MovableSelection = value; }
    int GetMoveRadius() const { return MoveRadius; }
    void SetMoveRadius(int value) { MoveRadius = value; }
    bool GetShowCursor() const { return ShowCursor; }
    // Draws or erases the crosshair, then shows or hides the info forms when
    // ShowPosition or ShowPercentage asks for them.
    void SetShowCursor(bool value);
    bool GetShowPosition() const { return ShowPosition; }
    // Stores; the info forms show while ShowCursor and (ShowPosition or
    // ShowPercentage) are on and the mouse is in the rectangle, else they hide.
    void SetShowPosition(bool value);
    bool GetShowPercentage() const { return ShowPercentage; }
    void SetShowPercentage(bool value);
    bool GetShowSelection() const { return ShowSelection; }
    // Off: an existing selection is erased (one being drawn stays); on: drawn.
    void SetShowSelection(bool value);
    bool GetShowSelectionHelpers() const { return ShowSelectionHelpers; }
    // The dashed lines to the rectangle's borders (the polygon's dashed frame).
    void SetShowSelectionHelpers(bool value);
    bool GetShowRulers() const { return ShowRulers; }
    void SetShowRulers(bool value);
    bool GetShowMesh() const { return ShowMesh; }
    void SetShowMesh(bool value);
    int GetRulerStep() const { return RulerStep; }
    // A step of 0 or below draws no ticks, labels or mesh lines.
    void SetRulerStep(int value);
    int GetRulerNumber() const { return RulerNumber; }
    // Every RulerNumber-th tick is long and labelled; below 1 counts as 1.
    void SetRulerNumber(int value);
    int GetDashLength() const { return FDashLength; }
    // Below 1: dashed lines are drawn solid.
    void SetDashLength(int value) { FDashLength = value; }
    // The tab marks: y values (horizontal marks) and x values (vertical), real coordinates.
    const TIntContainer& GetHorzTabs() const { return FHorzTabs; }
    const TIntContainer& GetVertTabs() const { return FVertTabs; }
    // Adds the mark when it is absent (drawing it), removes it otherwise
    // (erasing it). A value outside the rectangle is ignored.
    void ToggleHorzTab(int y);
    void ToggleVertTab(int x);

    TSelectMouseMode GetMouseMode() const { return FMouseMode; }
    // The info forms: 0 shows x, 1 shows y.
    TSelectableRectScrollerInfoForm* GetInfoForm(int index) const { return FInfoForms[index & 1]; }

    TSelectionEvent OnSelection;
    TSelectionEvent OnSelStart;
    TSelectionEvent OnSelEnd;
    TSelectionEvent OnSelChange;
    TChangeSelTypeEvent OnChangeSelType;

    // ORDER VIRTUALS: the operations this class adds, in their slot order.
    // The construction values. A derived constructor may run it again: the
    // fonts and info forms are made once.
    virtual void Init();
    // Each Invert call toggles its figure where the state shows it (and does
    // nothing where it does not); the bool is not used.
    virtual void InvertCursor(bool show = true);
    virtual void InvertSelection(bool show = true);
    // Ticks and labels (ShowRulers) and the mesh (ShowMesh).
    virtual void DrawRuler();
    virtual void InvertHorzTab(int index, bool show = true);
    virtual void InvertVertTab(int index, bool show = true);
    virtual void InvertTabs(bool show = true);
    // Real-coordinate points, drawn inverted one segment at a time.
    virtual void PolylineInUserArea(HDC dc, POINT* points, int count);
    // The polygon's dashed bounding box.
    virtual void DrawPolygonFrame();
    // OnSelection with the current state.
    virtual void DoSelection();
    // OnSelStart, once per new selection.
    virtual void StartSel();
    // Without KeepSelection the selection is erased and dropped; then OnSelEnd.
    virtual void EndSel();
    virtual void ChangeSel();
    virtual void ChangeSelType();
    virtual int GetScreenHCoord(int x);
    virtual int GetScreenVCoord(int y);
    virtual POINT GetScreenCoord(POINT p);
    virtual int GetRealHCoord(int x);
    virtual int GetRealVCoord(int y);
    virtual POINT GetRealCoord(POINT p);
    // The larger of the rectangle's width and height: rulers count to it.
    virtual int GetRulerMax();

    // ---- Info forms ----
    // Shows both (unless both are visible) when the mouse is in the rectangle,
    // hands the activation back to the owner form (when the owner is one),
    // and places them.
    void ShowInfoForms();
    void HideInfoForms();
    // Texts and places of the forms for the mouse point; nothing when the
    // rectangle is empty or the mouse is not in it.
    void SetInfoForms();
    // "%d", "%.1f%%" or "%d (%s)" of value against total, as ShowPosition and
    // ShowPercentage say; the form takes the label's width.
    void SetInfoFormText(TSelectableRectScrollerInfoForm* form, int value, int total);
    // The owner as a form; null when it is none.
    TForm* GetOwnerForm() const;
    // The screen point lies on the form, edges included.
    bool WithinForm(POINT screen, TSelectableRectScrollerInfoForm* form) const;

    // The right click that closes a polygon opens no menu, neither the
    // control's own (at the release) nor one asked for by WM_CONTEXTMENU.
    // Figures drawn while a message is handled show on the screen once the
    // outermost message is done.
    void WndProc(TMessage& message) override;

protected:
    void PaintRect(POINT origin, SIZE size) override;
    void BeforeScroll(int bar) override;
    void AfterScroll(int bar) override;
    void Scroll(int bar) override;
    void EnterUserArea() override;
    void LeaveUserArea() override;
    void MouseDown(TMouseButton button, TShiftState shift, int x, int y) override;
    void MouseMove(TShiftState shift, int x, int y) override;
    void MouseUp(TMouseButton button, TShiftState shift, int x, int y) override;
    void KeyDown(WORD& key, TShiftState shift) override;

    // ---- State tests ----
    // The figure is on the screen: while it is drawn, or when it exists and
    // ShowSelection is on.
    bool SelectionShown() const;
    // The crosshair is on the screen (InvertCursor would draw it).
    bool CursorShown();
    // The rectangle's size in real coordinates.
    int RealWidth();
    int RealHeight();
    // The point (real coordinates) lies in the rectangle.
    bool InRealRect(POINT p);
    void EraseShownSelection();
    // Erases and ends the selection without events; the mouse holds nothing.
    void DropSelection();
    // Figures drawn outside WM_PAINT go through the canvas's own window DC,
    // which the window system shows once it is given back: gives it back,
    // unless a message of this control (or the strip paint of a scroll) is
    // still using it.
    void PresentFigures();

    // ---- Dashed lines, on a DC prepared for figures ----
    // From one coordinate to another in either direction, both included:
    // dashLength -1 takes the field's value; below 1 one solid line;
    // otherwise half the length on, every dash length, the last dash cut.
    void DrawHorzDashLine(HDC dc, int y, int fromX, int toX, int dashLength = -1);
    void DrawVertDashLine(HDC dc, int x, int fromY, int toY, int dashLength = -1);

    // ---- Mouse steps (SelectableRectScrollerMouse.cpp) ----
    void DetectOverMode(POINT real, POINT screen);
    void DetectRectOver(POINT real);
    void DetectEllipseOver(POINT real);
    void DetectPolygonOver(POINT screen);
    void MoveByMode(POINT real);
    void MoveSelection(POINT real);
    void DragEdges(POINT real, int edge, int offset);
    void DragRadius(POINT real);
    void DragPoint(POINT real);
    void FollowWhileSelecting(POINT real);
    bool PressInside(POINT real);
    void StartNewSelection(POINT real);
    void ClosePolygon();
    void ReleaseSelection();
    void SetRectLimits();
    void SetMouseCursor(TCursor cursor);
    // The polygon's segments at point index (and its frame), inverted.
    void InvertPolygonEdgesAt(int index);

    // ---- Fields, in the design's order ----
    uint8_t FEdgeIndex = 0;    // 0 left, 1 top, 2 right, 3 bottom
    uint8_t FEllipseAxis = 0;  // 0 horizontal, 1 vertical
    uint8_t FCornerIndex = 0;  // 0 top-left, 1 top-right, 2 bottom-left, 3 bottom-right
    TSelectMouseMode FMouseMode = smNone;
    bool FStartPending = false;
    int FPointIndex = 0;
    int FEdgeOffset = 0;
    int FEllipseOffset = 0;
    POINT FCornerOffset{0, 0};
    // Move offsets: a rectangle's to its left, top, right and bottom edges; an
    // ellipse's to its centre (x, y); a polygon's anchor (x, y).
    int FMoveOffsets[4] = {0, 0, 0, 0};
    HFONT FRulerFont = nullptr;
    HFONT FVertRulerFont = nullptr;
    TSelectableRectScrollerInfoForm* FInfoForms[2] = {nullptr, nullptr};
    bool Selectable = true;
    bool KeepSelection = true;
    TRectScrollerSelection SelectionType = selRect;
    RECT FSelectRect{0, 0, 0, 0};
    POINT FSelectCenter{0, 0};
    POINT FSkewCorners[4] = {};
    int SelectHorzRadius = 0;
    int SelectVertRadius = 0;
    int FSkew = 0;
    TPointContainer FPoints;
    TIntContainer FHorzTabs;
    TIntContainer FVertTabs;
    bool FSelection = false;
    bool FSelecting = false;
    bool SelectEllipse = true;
    bool ShowPosition = false;
    bool ShowPercentage = false;
    bool MovablePoints = true;
    bool MovableSelection = false;
    bool ShowCursor = false;
    bool ShowSelection = true;
    bool ChangeSelectionType = true;
    bool ShowSelectionHelpers = false;
    bool ShowRulers = false;
    bool ShowMesh = false;
    int MoveRadius = 3;
    int FDashLength = 10;
    int RulerStep = 10;
    int FShortTickLength = 6;
    int FLongTickLength = 12;
    int RulerNumber = 5;
    TColor FRulerColor = 255;

private:
    bool withholdPopup_ = false;
    int messageDepth_ = 0;
    void RouteMessage(TMessage& message);
    void InvertSelectionRect(HDC dc, POINT origin);
    void InvertSelectionEllipse(HDC dc, POINT origin);
    void InvertSelectionPolygon(HDC dc);
    void DrawRectHelpers(HDC dc, POINT origin, const RECT& screen);
    // How far from the edge the tick (and its label) reach.
    int DrawRulerTick(HDC dc, POINT origin, int v, bool longTick, bool horizontalRuler);
    void DrawRulerAxis(HDC dc, POINT origin, bool horizontalRuler, int low, int high);
    void InvertLineAcross(bool horizontal, int at);
    void UpdateInfoForms();
    void ToggleTab(TIntContainer& tabs, int value, int limit, void (TSelectableRectScroller::*invert)(int, bool));
    void CreateDecorations();
    void FireSelectionEvent(const TSelectionEvent& event);
    // Key handlers, looked up in the key table.
    void KeyEscape();
    void KeyChangeType();
    void KeyToggleHelpers();
    void KeyToggleRulers();
    void KeyToggleMesh();
    void KeyToggleCursor();
    void KeyHorzTab();
    void KeyVertTab();
    void KeyRulerStepUp();
    void KeyRulerStepDown();
};

namespace Selectablerectscroller {
// Registers TSelectableRectScroller on the palette page "Rollan".
void Register();
}  // namespace Selectablerectscroller

// The property table of the class (called by the package's start-up).
void RegisterSelectableRectScrollerProperties();
