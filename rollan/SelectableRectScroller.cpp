// TSelectableRectScroller: construction, coordinates, the selection's state
// and events, option setters, scrolling, the info forms, keys and the
// published properties. Figures are drawn in SelectableRectScrollerDrawing.cpp,
// the mouse is handled in SelectableRectScrollerMouse.cpp.
#include "SelectableRectScroller.h"

#include <algorithm>
#include <cstdio>
#include <iterator>
#include <string>

#include "Label.h"
#include "PropertyTable.h"
#include "ReadOnlyProperty.h"
#include "Registration.h"
#include "ScrollArithmetic.h"
#include "SelectableRectScrollerInfoForm.h"

TSelectableRectScroller::TSelectableRectScroller(TComponent* owner) : TRectScroller(owner) { Init(); }

TSelectableRectScroller::~TSelectableRectScroller() {
    Destroying();
    for (TSelectableRectScrollerInfoForm*& form : FInfoForms) {
        delete form;
        form = nullptr;
    }
    for (HFONT* font : {&FRulerFont, &FVertRulerFont}) {
        if (*font) DeleteObject(*font);
        *font = nullptr;
    }
}

void TSelectableRectScroller::Init() {
    WantArrows = true;
    FSelecting = false;
    FSelection = false;
    SelectEllipse = true;
    ChangeSelectionType = true;
    MovablePoints = true;
    KeepSelection = true;
    Selectable = true;
    SelectionType = selRect;
    ShowSelection = true;
    MoveRadius = 3;
    FDashLength = 10;
    RulerStep = 10;
    FShortTickLength = 6;
    FLongTickLength = 12;
    RulerNumber = 5;
    FRulerColor = 255;
    FMouseMode = smNone;
    FMousePos = POINT{kNoPoint, kNoPoint};
    FAbsMousePos = POINT{kNoPoint, kNoPoint};
    if (!IsDesigning()) CreateDecorations();
}

void TSelectableRectScroller::CreateDecorations() {
    // Height 12 is the cell height; 900 reads upwards.
    auto makeFont = [](int escapement) {
        return CreateFontA(12, 0, escapement, escapement, FW_NORMAL, 0, 0, 0, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS,
                           CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH, "Arial");
    };
    if (!FRulerFont) FRulerFont = makeFont(0);
    if (!FVertRulerFont) FVertRulerFont = makeFont(900);
    for (TSelectableRectScrollerInfoForm*& form : FInfoForms)
        if (!form) form = new TSelectableRectScrollerInfoForm(nullptr);
}

// ---- Coordinates ----

int TSelectableRectScroller::GetScreenHCoord(int x) { return x; }
int TSelectableRectScroller::GetScreenVCoord(int y) { return y; }
POINT TSelectableRectScroller::GetScreenCoord(POINT p) { return POINT{GetScreenHCoord(p.x), GetScreenVCoord(p.y)}; }
int TSelectableRectScroller::GetRealHCoord(int x) { return x; }
int TSelectableRectScroller::GetRealVCoord(int y) { return y; }
POINT TSelectableRectScroller::GetRealCoord(POINT p) { return POINT{GetRealHCoord(p.x), GetRealVCoord(p.y)}; }

int TSelectableRectScroller::GetRulerMax() {
    const SIZE size = GetRectSizes();
    return std::max(size.cx, size.cy);
}

int TSelectableRectScroller::RealWidth() { return GetRealHCoord(GetRectSizes().cx); }
int TSelectableRectScroller::RealHeight() { return GetRealVCoord(GetRectSizes().cy); }

bool TSelectableRectScroller::InRealRect(POINT p) {
    return p.x >= 0 && p.x < RealWidth() && p.y >= 0 && p.y < RealHeight();
}

RECT TSelectableRectScroller::GetScreenSelectRect() {
    return RECT{GetScreenHCoord(FSelectRect.left), GetScreenVCoord(FSelectRect.top),
                GetScreenHCoord(FSelectRect.right), GetScreenVCoord(FSelectRect.bottom)};
}

// ---- Selection state and events ----

bool TSelectableRectScroller::SelectionShown() const { return FSelecting || (FSelection && ShowSelection); }

bool TSelectableRectScroller::CursorShown() {
    if (!ShowCursor || FMousePos.x == kNoPoint || FMousePos.y == kNoPoint) return false;
    if (FSelecting && SelectionType == selRect) return false;
    const POINT m = GetScreenCoord(GetRealCoord(FMousePos));
    const SIZE size = GetRectSizes();
    return m.x >= 0 && m.x < size.cx && m.y >= 0 && m.y < size.cy;
}

void TSelectableRectScroller::EraseShownSelection() {
    if (SelectionShown()) InvertSelection();
}

RECT TSelectableRectScroller::GetSelectRect() const {
    if (SelectionType == selRect) return FSelectRect;
    if (SelectionType == selEllipse)
        return RECT{Saturate(int64_t(FSelectCenter.x) - SelectHorzRadius),
                    Saturate(int64_t(FSelectCenter.y) - SelectVertRadius),
                    Saturate(int64_t(FSelectCenter.x) + SelectHorzRadius),
                    Saturate(int64_t(FSelectCenter.y) + SelectVertRadius)};
    return RECT{-1, -1, -1, -1};
}

void* TSelectableRectScroller::GetSelData() {
    switch (SelectionType) {
        case selRect: return &FSelectRect;
        case selEllipse: return &FSelectCenter;
        case selPolygon: return &FPoints;
        case selSkewRect: break;
    }
    return nullptr;
}

bool TSelectableRectScroller::GetSelectPoints(TPointContainer& out) const {
    if (SelectionType != selPolygon) {
        out.Clear();
        return false;
    }
    out.Assign(FPoints);
    return true;
}

void TSelectableRectScroller::FireSelectionEvent(const TSelectionEvent& event) {
    if (event) event(this, SelectionType, FSelection, GetSelData());
}

void TSelectableRectScroller::SetSelection(bool value) {
    FSelection = value;
    DoSelection();
}

void TSelectableRectScroller::DoSelection() { FireSelectionEvent(OnSelection); }

void TSelectableRectScroller::StartSel() {
    if (FStartPending) FireSelectionEvent(OnSelStart);
    FStartPending = false;
}

void TSelectableRectScroller::EndSel() {
    if (!KeepSelection) {
        EraseShownSelection();
        FSelection = false;
    }
    FireSelectionEvent(OnSelEnd);
}

void TSelectableRectScroller::ChangeSel() { FireSelectionEvent(OnSelChange); }

void TSelectableRectScroller::ChangeSelType() {
    if (OnChangeSelType) OnChangeSelType(this, SelectionType);
}

// ---- Option setters ----

void TSelectableRectScroller::DropSelection() {
    EraseShownSelection();
    InvertCursor();
    FSelection = false;
    FSelecting = false;
    FStartPending = false;
    FMouseMode = smNone;
    InvertCursor();
}

void TSelectableRectScroller::SetSelectable(bool value) {
    DropSelection();
    Selectable = value;
    PresentFigures();
}

// A figure of the old kind cannot be erased as one of the new kind.
void TSelectableRectScroller::SetSelectionType(TRectScrollerSelection value) {
    if (value == SelectionType) return;
    DropSelection();
    SelectionType = value;
    PresentFigures();
}

void TSelectableRectScroller::SetShowSelection(bool value) {
    if (value == ShowSelection) return;
    EraseShownSelection();
    ShowSelection = value;
    EraseShownSelection();  // draws it when it shows now
    PresentFigures();
}

void TSelectableRectScroller::SetShowSelectionHelpers(bool value) {
    if (value == ShowSelectionHelpers) return;
    EraseShownSelection();
    ShowSelectionHelpers = value;
    EraseShownSelection();
    PresentFigures();
}

void TSelectableRectScroller::SetShowCursor(bool value) {
    if (value != ShowCursor) {
        if (value) {
            ShowCursor = true;
            InvertCursor();
        } else {
            InvertCursor();
            ShowCursor = false;
        }
        PresentFigures();
    }
    if (ShowPosition || ShowPercentage) {
        if (value)
            ShowInfoForms();
        else
            HideInfoForms();
    }
}

void TSelectableRectScroller::SetShowPosition(bool value) {
    ShowPosition = value;
    UpdateInfoForms();
}

void TSelectableRectScroller::SetShowPercentage(bool value) {
    ShowPercentage = value;
    UpdateInfoForms();
}

void TSelectableRectScroller::UpdateInfoForms() {
    if (ShowCursor && (ShowPosition || ShowPercentage)) {
        ShowInfoForms();
        SetInfoForms();
    } else {
        HideInfoForms();
    }
}

void TSelectableRectScroller::SetShowRulers(bool value) {
    if (value == ShowRulers) return;
    ShowRulers = value;
    if (HandleAllocated()) Repaint();
}

void TSelectableRectScroller::SetShowMesh(bool value) {
    if (value == ShowMesh) return;
    ShowMesh = value;
    if (HandleAllocated()) Repaint();
}

// The mesh follows the step as well as the rulers do.
void TSelectableRectScroller::SetRulerStep(int value) {
    RulerStep = value;
    if ((ShowRulers || ShowMesh) && HandleAllocated()) Repaint();
}

void TSelectableRectScroller::SetRulerNumber(int value) {
    RulerNumber = value;
    if (ShowRulers && HandleAllocated()) Repaint();
}

void TSelectableRectScroller::ToggleTab(TIntContainer& tabs, int value, int limit,
                                        void (TSelectableRectScroller::*invert)(int, bool)) {
    if (value < 0 || value >= limit) return;
    const int index = tabs.IndexOf(value);
    if (index >= 0) {
        (this->*invert)(index, true);
        tabs.Delete(index);
    } else {
        (this->*invert)(tabs.Add(value), true);
    }
    PresentFigures();
}

void TSelectableRectScroller::ToggleHorzTab(int y) {
    ToggleTab(FHorzTabs, y, RealHeight(), &TSelectableRectScroller::InvertHorzTab);
}

void TSelectableRectScroller::ToggleVertTab(int x) {
    ToggleTab(FVertTabs, x, RealWidth(), &TSelectableRectScroller::InvertVertTab);
}

// ---- Scrolling ----

// The selection being drawn follows the mouse, not the pixels: it is taken
// off before the pixels move and drawn whole afterwards (the strip paint in
// between leaves it out).
void TSelectableRectScroller::BeforeScroll(int bar) {
    if (FSelecting) InvertSelection();
    TRectScroller::BeforeScroll(bar);
}

void TSelectableRectScroller::AfterScroll(int bar) {
    if (FSelecting) InvertSelection();
    TRectScroller::AfterScroll(bar);
}

void TSelectableRectScroller::Scroll(int bar) { TRectScroller::Scroll(bar); }

// ---- Info forms ----

TForm* TSelectableRectScroller::GetOwnerForm() const { return dynamic_cast<TForm*>(GetOwner()); }

bool TSelectableRectScroller::WithinForm(POINT screen, TSelectableRectScrollerInfoForm* form) const {
    if (!form) return false;
    const POINT first = form->ClientToScreen(POINT{0, 0});
    const POINT last = form->ClientToScreen(POINT{form->GetWidth() - 1, form->GetHeight() - 1});
    return screen.x >= first.x && screen.x <= last.x && screen.y >= first.y && screen.y <= last.y;
}

// Forms shown before the mouse is in the rectangle would sit where they were
// last (or at their stored place), away from the control.
void TSelectableRectScroller::ShowInfoForms() {
    if (!FInfoForms[0] || !FInfoForms[1]) return;
    if (FInfoForms[0]->GetVisible() && FInfoForms[1]->GetVisible()) return;
    if (FAbsMousePos.x == kNoPoint || !InRealRect(GetRealCoord(FMousePos))) return;
    for (TSelectableRectScrollerInfoForm* form : FInfoForms) form->Show();
    if (TForm* owner = GetOwnerForm(); owner && owner->HandleAllocated()) SetActiveWindow(owner->GetHandle());
    SetInfoForms();
}

void TSelectableRectScroller::HideInfoForms() {
    for (TSelectableRectScrollerInfoForm* form : FInfoForms)
        if (form) form->Hide();
}

void TSelectableRectScroller::SetInfoFormText(TSelectableRectScrollerInfoForm* form, int value, int total) {
    if (!form || !form->lbInfo) return;
    char percentage[64] = "";
    if (total != 0) std::snprintf(percentage, sizeof percentage, "%.1f%%", double(value) / total * 100.0);
    char text[96] = "";
    if (ShowPosition && ShowPercentage)
        std::snprintf(text, sizeof text, "%d (%s)", value, percentage);
    else if (ShowPosition)
        std::snprintf(text, sizeof text, "%d", value);
    else if (ShowPercentage)
        std::snprintf(text, sizeof text, "%s", percentage);
    form->lbInfo->SetCaption(text);
    form->SetWidth(form->lbInfo->GetWidth());
}

// The x form runs along the bottom (or the top, when the mouse is in the
// lower half) of what shows of the rectangle, the y form along its right
// (or left) side; both 2 pixels from the mouse and the edge.
void TSelectableRectScroller::SetInfoForms() {
    if (!FInfoForms[0] || !FInfoForms[1]) return;
    const SIZE size = GetRectSizes();
    if (size.cx <= 0 || size.cy <= 0) return;
    if (FAbsMousePos.x == kNoPoint || FAbsMousePos.y == kNoPoint) return;
    if (FMousePos.x < 0 || FMousePos.x >= size.cx || FMousePos.y < 0 || FMousePos.y >= size.cy) return;
    const POINT real = GetRealCoord(FMousePos);
    SetInfoFormText(FInfoForms[0], real.x, RealWidth());
    SetInfoFormText(FInfoForms[1], real.y, RealHeight());
    const POINT origin = GetRectPos();
    TSelectableRectScrollerInfoForm* xForm = FInfoForms[0];
    if (xForm->GetVisible()) {
        const int64_t visibleHeight = std::min<int64_t>(HMax > 0 ? GetClientHeight() : GetHeight(), size.cy);
        const int64_t top = FMousePos.y < size.cy / 2 ? visibleHeight + origin.y - xForm->GetHeight() - 2 : 2;
        const POINT screen = ClientToScreen(POINT{Saturate(int64_t(FAbsMousePos.x) + 2), Saturate(top)});
        xForm->SetBounds(screen.x, screen.y, xForm->GetWidth(), xForm->GetHeight());
    }
    TSelectableRectScrollerInfoForm* yForm = FInfoForms[1];
    if (yForm->GetVisible()) {
        const int64_t visibleWidth = std::min<int64_t>(VMax > 0 ? GetClientWidth() : GetWidth(), size.cx);
        const int64_t left = FMousePos.x < size.cx / 2 ? visibleWidth + origin.x - yForm->GetWidth() - 2 : 2;
        const POINT screen = ClientToScreen(POINT{Saturate(left), Saturate(int64_t(FAbsMousePos.y) + 2)});
        yForm->SetBounds(screen.x, screen.y, yForm->GetWidth(), yForm->GetHeight());
    }
}

void TSelectableRectScroller::EnterUserArea() {
    TRectScroller::EnterUserArea();
    if (ShowCursor && (ShowPosition || ShowPercentage)) ShowInfoForms();
}

void TSelectableRectScroller::LeaveUserArea() {
    TRectScroller::LeaveUserArea();
    if (!ShowCursor || !(ShowPosition || ShowPercentage)) return;
    POINT cursor{0, 0};
    GetCursorPos(&cursor);
    if (!WithinForm(cursor, FInfoForms[0]) && !WithinForm(cursor, FInfoForms[1])) HideInfoForms();
}

// ---- Keys ----

namespace {

enum class TKeyModifier { Any, Ctrl, ShiftWithoutCtrl };

bool ModifierMatches(TKeyModifier modifier, TShiftState shift) {
    switch (modifier) {
        case TKeyModifier::Any: return true;
        case TKeyModifier::Ctrl: return shift.Contains(ssCtrl);
        case TKeyModifier::ShiftWithoutCtrl: return shift.Contains(ssShift) && !shift.Contains(ssCtrl);
    }
    return false;
}

}  // namespace

void TSelectableRectScroller::KeyDown(WORD& key, TShiftState shift) {
    TRectScroller::KeyDown(key, shift);
    if (IsDesigning()) return;
    // ORDER: the first row whose key and modifiers match runs (Ctrl+T before Shift+T).
    static const struct {
        WORD key;
        TKeyModifier modifier;
        void (TSelectableRectScroller::*handler)();
    } kKeys[] = {
        {VK_ESCAPE, TKeyModifier::Any, &TSelectableRectScroller::KeyEscape},
        {'S', TKeyModifier::Ctrl, &TSelectableRectScroller::KeyChangeType},
        {'H', TKeyModifier::Ctrl, &TSelectableRectScroller::KeyToggleHelpers},
        {'R', TKeyModifier::Ctrl, &TSelectableRectScroller::KeyToggleRulers},
        {'M', TKeyModifier::Ctrl, &TSelectableRectScroller::KeyToggleMesh},
        {'1', TKeyModifier::Ctrl, &TSelectableRectScroller::KeyToggleCursor},
        {'T', TKeyModifier::Ctrl, &TSelectableRectScroller::KeyHorzTab},
        {'T', TKeyModifier::ShiftWithoutCtrl, &TSelectableRectScroller::KeyVertTab},
        {VK_UP, TKeyModifier::Any, &TSelectableRectScroller::KeyRulerStepUp},
        {VK_DOWN, TKeyModifier::Any, &TSelectableRectScroller::KeyRulerStepDown},
    };
    for (const auto& row : kKeys) {
        if (row.key != key || !ModifierMatches(row.modifier, shift)) continue;
        (this->*row.handler)();
        return;
    }
}

// The crosshair hidden while a rectangle was drawn comes back.
void TSelectableRectScroller::KeyEscape() {
    if (!FSelecting) return;
    InvertSelection();
    InvertCursor();
    FSelecting = false;
    FStartPending = false;
    InvertCursor();
    SetSelection(false);
}

void TSelectableRectScroller::KeyChangeType() {
    if (FSelecting || !ChangeSelectionType) return;
    if (FSelection) {
        EraseShownSelection();
        SetSelection(false);
    }
    // ORDER TRectScrollerSelection: the successor of each kind; Ctrl+S never reaches selSkewRect.
    static const TRectScrollerSelection kNext[] = {selEllipse, selEllipse, selPolygon, selRect};
    SelectionType = kNext[SelectionType];
    FMouseMode = smNone;
    ChangeSelType();
}

void TSelectableRectScroller::KeyToggleHelpers() { SetShowSelectionHelpers(!ShowSelectionHelpers); }
void TSelectableRectScroller::KeyToggleRulers() { SetShowRulers(!ShowRulers); }
void TSelectableRectScroller::KeyToggleMesh() { SetShowMesh(!ShowMesh); }
void TSelectableRectScroller::KeyToggleCursor() { SetShowCursor(!ShowCursor); }

void TSelectableRectScroller::KeyHorzTab() {
    if (FMousePos.y != kNoPoint) ToggleHorzTab(GetRealVCoord(FMousePos.y));
}

void TSelectableRectScroller::KeyVertTab() {
    if (FMousePos.x != kNoPoint) ToggleVertTab(GetRealHCoord(FMousePos.x));
}

void TSelectableRectScroller::KeyRulerStepUp() {
    if (!ShowRulers && !ShowMesh) return;
    RulerStep = Saturate(int64_t(RulerStep) + 1);
    Repaint();
}

void TSelectableRectScroller::KeyRulerStepDown() {
    if ((!ShowRulers && !ShowMesh) || RulerStep < 6) return;
    --RulerStep;
    Repaint();
}

// ---- Published properties and registration ----

namespace {

const TIdentifier kSelectionNames[] = {
    {"selRect", selRect}, {"selSkewRect", selSkewRect}, {"selEllipse", selEllipse}, {"selPolygon", selPolygon}};
const TIdentifierList kSelections{kSelectionNames, std::size(kSelectionNames)};

// RulerNumber and WantArrows start at other values than their declared
// defaults (5 and true against 50 and false), so both are always stored:
// a stored 50 or false then loads back as itself.
const TPropertyInfo kSelectableRectScrollerProperties[] = {
    NoDefault(CLASSLIB_BOOLEAN_PROPERTY(TSelectableRectScroller, WantArrows, false)),
    CLASSLIB_BOOLEAN_PROPERTY(TSelectableRectScroller, Selectable, true),
    CLASSLIB_BOOLEAN_PROPERTY(TSelectableRectScroller, ChangeSelectionType, true),
    CLASSLIB_BOOLEAN_PROPERTY(TSelectableRectScroller, SelectEllipse, true),
    CLASSLIB_BOOLEAN_PROPERTY(TSelectableRectScroller, ShowCursor, false),
    CLASSLIB_BOOLEAN_PROPERTY(TSelectableRectScroller, ShowPosition, false),
    CLASSLIB_BOOLEAN_PROPERTY(TSelectableRectScroller, ShowPercentage, false),
    CLASSLIB_BOOLEAN_PROPERTY(TSelectableRectScroller, ShowSelection, true),
    CLASSLIB_BOOLEAN_PROPERTY(TSelectableRectScroller, ShowSelectionHelpers, false),
    CLASSLIB_BOOLEAN_PROPERTY(TSelectableRectScroller, ShowRulers, false),
    CLASSLIB_BOOLEAN_PROPERTY(TSelectableRectScroller, ShowMesh, false),
    CLASSLIB_INTEGER_PROPERTY(TSelectableRectScroller, RulerStep, 10),
    NoDefault(CLASSLIB_INTEGER_PROPERTY(TSelectableRectScroller, RulerNumber, 50)),
    CLASSLIB_BOOLEAN_PROPERTY(TSelectableRectScroller, KeepSelection, true),
    CLASSLIB_BOOLEAN_PROPERTY(TSelectableRectScroller, MovableSelection, false),
    CLASSLIB_BOOLEAN_PROPERTY(TSelectableRectScroller, MovablePoints, true),
    CLASSLIB_INTEGER_PROPERTY(TSelectableRectScroller, MoveRadius, 3),
    CLASSLIB_ENUM_PROPERTY(TSelectableRectScroller, SelectionType, TRectScrollerSelection, selRect, &kSelections),
    ROLLAN_READONLY_PROPERTY(TSelectableRectScroller, Selection, TPropertyType::Boolean),
    ROLLAN_READONLY_PROPERTY(TSelectableRectScroller, Selecting, TPropertyType::Boolean),
    ROLLAN_READONLY_PROPERTY(TSelectableRectScroller, SelectLeft, TPropertyType::Integer),
    ROLLAN_READONLY_PROPERTY(TSelectableRectScroller, SelectRight, TPropertyType::Integer),
    ROLLAN_READONLY_PROPERTY(TSelectableRectScroller, SelectTop, TPropertyType::Integer),
    ROLLAN_READONLY_PROPERTY(TSelectableRectScroller, SelectBottom, TPropertyType::Integer),
    ROLLAN_READONLY_PROPERTY(TSelectableRectScroller, SelectCenterX, TPropertyType::Integer),
    ROLLAN_READONLY_PROPERTY(TSelectableRectScroller, SelectCenterY, TPropertyType::Integer),
    ROLLAN_READONLY_PROPERTY(TSelectableRectScroller, SelectHorzRadius, TPropertyType::Integer),
    ROLLAN_READONLY_PROPERTY(TSelectableRectScroller, SelectVertRadius, TPropertyType::Integer),
    CLASSLIB_EVENT_PROPERTY(TSelectableRectScroller, OnSelection, TSelectionEvent),
    CLASSLIB_EVENT_PROPERTY(TSelectableRectScroller, OnSelStart, TSelectionEvent),
    CLASSLIB_EVENT_PROPERTY(TSelectableRectScroller, OnSelEnd, TSelectionEvent),
    CLASSLIB_EVENT_PROPERTY(TSelectableRectScroller, OnSelChange, TSelectionEvent),
    CLASSLIB_EVENT_PROPERTY(TSelectableRectScroller, OnChangeSelType, TChangeSelTypeEvent),
};

}  // namespace

void RegisterSelectableRectScrollerProperties() {
    RegisterPropertyTable(TSelectableRectScroller::StaticClassInfo(), kSelectableRectScrollerProperties);
}

namespace Selectablerectscroller {
void Register() { RegisterComponents("Rollan", {ComponentClass<TSelectableRectScroller>()}); }
}  // namespace Selectablerectscroller
