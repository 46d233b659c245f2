// TVGTScroller: opening topics, laying them out to the control's width,
// painting them, and the link areas under the mouse.
#include "VGTScroller.h"

#include <algorithm>

#include "PropertyTable.h"
#include "Registration.h"
#include "VGTPanel.h"

namespace {

// The vertical bar's width, which the layout gives up when the topic is
// taller than the control.
constexpr int kBarWidth = 16;

// A memory device context to measure topics on, so that a scroller lays its
// topic out before (and without) a window of its own.
class TMeasureDC {
public:
    TMeasureDC() : fDC(CreateCompatibleDC(nullptr)) {}
    ~TMeasureDC() { DeleteDC(fDC); }
    TMeasureDC(const TMeasureDC&) = delete;
    TMeasureDC& operator=(const TMeasureDC&) = delete;
    operator HDC() const { return fDC; }

private:
    HDC fDC;
};

void FillWithColour(HDC dc, const RECT& rect, COLORREF colour) {
    HBRUSH brush = CreateSolidBrush(colour);
    FillRect(dc, &rect, brush);
    DeleteObject(brush);
}

bool InsideArea(const RECT& area, POINT point) {
    return point.x >= area.left && point.x <= area.right && point.y >= area.top && point.y <= area.bottom;
}

}  // namespace

TVGTScroller::TVGTScroller(TComponent* owner)
    : TRectScroller(owner), fVisualizer(std::make_unique<TVGTVisualizer>()) {
    GetBorderBrush()->SetColor(clWhite);
    SetAutoScroll(false);
}

TVGTScroller::~TVGTScroller() {
    Destroying();
    if (fPanel != nullptr) fPanel->DeletePanel(this);
}

// Counts the events of this scroller that are running; a panel frees a
// retired scroller only when none is.
class TVGTScroller::TEventScope {
public:
    explicit TEventScope(TVGTScroller& scroller) : fScroller(scroller) { ++fScroller.fRunningEvents; }
    ~TEventScope() {
        if (--fScroller.fRunningEvents == 0 && fScroller.fPanel != nullptr) fScroller.fPanel->ScrollerIdle(&fScroller);
    }
    TEventScope(const TEventScope&) = delete;
    TEventScope& operator=(const TEventScope&) = delete;

private:
    TVGTScroller& fScroller;
};

// ---- topics and layout ----

// In the main scroller of a panel, a topic that declares sub-panels has the
// panel build them (this scroller then hides); otherwise sub-panels left
// from before go when deletePanels asks. A sub-panel's PANEL tags create
// nothing, whether it opens its first topic or follows a link.
bool TVGTScroller::SetSource(const TString& name, bool deletePanels) {
    if (name.IsEmpty()) return true;
    if (!fVisualizer->LoadSource(name)) return false;
    const bool anotherTopic = name != fTopicName;
    fTopicName = name;
    SetBk();
    CalcVisualizerSizes(true, true);
    // Another topic starts at its top-left, with its title in view; the
    // topic shown, opened again, stays where it was scrolled to. The bars
    // move without scrolling the old picture: the refresh below paints all.
    if (anotherTopic) {
        SetSBPosition(SB_HORZ, GetHMin());
        SetSBPosition(SB_VERT, GetVMin());
    }
    const bool isMain = fPanel != nullptr && fPanel->GetMainPanel() == this;
    if (isMain && fVisualizer->GetPanels().GetCount() > 0) {
        const TPanelInfos panels = fVisualizer->GetPanels();
        fPanel->CreatePanels(this, panels);
        return true;
    }
    if (deletePanels && fPanel != nullptr && fPanel->GetScrollerCount() > 1) fPanel->DeletePanels(this);
    TRectScroller::Refresh();
    Show();
    return true;
}

void TVGTScroller::SetSource(const TStringContainer& lines) {
    fVisualizer->AssignSource(lines);
    SetBk();
    CalcVisualizerSizes(true, true);
    TRectScroller::Refresh();
}

void TVGTScroller::SetBk() {
    TMeasureDC dc;
    int height = 0, maxWidth = GetWidth();
    fVisualizer->MeasureTopic(dc, 0, 0, GetWidth(), height, maxWidth, true, true);
    const bool fill = !fVisualizer->HasBackground();
    SetFillBk(fill);
    SetFillBorderGap(fill);
}

void TVGTScroller::CalcRectSizes() { CalcVisualizerSizes(false, true); }

void TVGTScroller::CalcVisualizerSizes(bool clearPictureCache, bool usePictureCache) {
    TVGTVisualizer& topic = *fVisualizer;
    fLaidOutMaxWidth = GetWidth() - HMargin - 1;
    if (topic.GetSource().GetCount() == 0) {
        fLaidOutHeight = fLayoutWidth = fExtraRightMargin = 0;
        fLinks.Clear();
        fImageLinks.Clear();
        return;
    }
    topic.SetCollectLinks(true);
    topic.SetAllowForms(true);
    fLayoutWidth = fLaidOutMaxWidth;
    TMeasureDC dc;
    topic.MeasureTopic(dc, HMargin, VMargin, fLayoutWidth, fLaidOutHeight, fLaidOutMaxWidth, clearPictureCache,
                       usePictureCache);
    if (GetHeight() < 2 * VMargin + fLaidOutHeight) {
        fLayoutWidth -= kBarWidth;
        fLaidOutMaxWidth -= kBarWidth;
        topic.MeasureTopic(dc, HMargin, VMargin, fLayoutWidth, fLaidOutHeight, fLaidOutMaxWidth, false, true);
    }
    fExtraRightMargin = fLayoutWidth < fLaidOutMaxWidth ? HMargin : 0;
    fLaidOutHeight += 2 * VMargin;
    fLinks.Clear();
    fLinks.Swap(topic.GetLinks());
    fImageLinks.Clear();
    fImageLinks.TakeAll(topic.GetImageLinks());
    if (fPanel != nullptr && fPanel->GetMainPanel() == this) fPanel->GetDeclaredForms().Swap(topic.GetForms());
    topic.SetCollectLinks(false);
    topic.SetAllowForms(false);
    topic.GetForms().Clear();
}

SIZE TVGTScroller::GetRectSizes() { return SIZE{fLaidOutMaxWidth + fExtraRightMargin + 1, fLaidOutHeight}; }

void TVGTScroller::WMSize(TMessage& message) {
    CalcRectSizes();
    TRectScroller::WMSize(message);
}

// ---- painting ----

void TVGTScroller::PaintRect(POINT origin, SIZE size) {
    TRectScroller::PaintRect(origin, size);
    HDC dc = GetCanvas()->GetHandle();
    PrepareDC(dc);
    PaintVisualizer(dc, origin.x, origin.y);
}

bool TVGTScroller::PaintVisualizer(HDC dc, int x, int y) {
    if (fVisualizer->HasBackground())
        fVisualizer->FillTopicBackground(dc, 0, 0, GetRectSizes().cx + 2 * HMargin, std::max(GetHeight(), fLaidOutHeight));
    return fVisualizer->PaintTopic(dc, x + HMargin, y + VMargin, x + fLayoutWidth, false, true, false);
}

// ---- links under the mouse ----

bool TVGTScroller::HitLink(POINT point) {
    for (int i = 0; i < fLinks.GetCount(); ++i) {
        const TLinkItem& link = fLinks[i];
        for (int k = 0; k < link.areas.GetCount(); ++k) {
            if (!InsideArea(link.areas[k], point)) continue;
            fLinkKind = lkText;
            fLinkIndex = i;
            fLinkTarget = link.target;
            fLinkTargetPanel = link.targetPanel;
            return true;
        }
    }
    for (int i = 0; i < fImageLinks.GetCount(); ++i) {
        const TImageLink& link = fImageLinks[i];
        if (!link.Contains(point.x, point.y)) continue;
        fLinkKind = lkImage;
        fLinkIndex = i;
        fLinkTarget = link.target;
        fLinkTargetPanel = link.targetPanel;
        return true;
    }
    return false;
}

void TVGTScroller::ShowCursorShape(TCursor cursor) {
    SetCursor(cursor);
    if (HandleAllocated()) Perform(WM_SETCURSOR, WPARAM(GetHandle()), MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
}

void TVGTScroller::MouseMove(TShiftState shift, int x, int y) {
    TEventScope running(*this);
    TRectScroller::MouseMove(shift, x, y);
    POINT point{0, 0};
    TransformToUserArea(x, y, point);
    if (HitLink(point)) {
        ShowCursorShape(crHandPoint);
        if (fInsideLink) return;
        fInsideLink = true;
        EnterLinkArea();
        return;
    }
    ShowCursorShape(crDefault);
    if (!fInsideLink) return;
    fInsideLink = false;
    LeaveLinkArea();
}

void TVGTScroller::MouseDown(TMouseButton button, TShiftState shift, int x, int y) {
    TEventScope running(*this);
    TRectScroller::MouseDown(button, shift, x, y);
    if (button == mbLeft && fInsideLink) ClickLink();
}

void TVGTScroller::EnterLinkArea() {
    if (OnEnterLinkArea) OnEnterLinkArea(fLinkTarget, fLinkTargetPanel);
}

void TVGTScroller::LeaveLinkArea() {
    if (OnLeaveLinkArea) OnLeaveLinkArea(fLinkTarget, fLinkTargetPanel);
}

// The strings are copied first: opening the target replaces the areas. The
// panel may retire this scroller on the way; it stays alive until its events
// have ended.
void TVGTScroller::ClickLink() {
    const TString target = fLinkTarget;
    const TString targetPanel = fLinkTargetPanel;
    if (fPanel != nullptr) {
        TVGTPanel* panel = fPanel;
        panel->SelectLink(this, target, targetPanel);
        panel->SetLastLink(target, targetPanel);
    } else {
        SetSource(target, false);
    }
    if (OnClickLink) OnClickLink(target);
}

// ---- the buffered scroller ----

TBufferedVGTScroller::TBufferedVGTScroller(TComponent* owner) : TVGTScroller(owner) { fBitmap.FreeDIB(); }

void TBufferedVGTScroller::CalcRectSizes() {
    TVGTScroller::CalcRectSizes();
    SIZE size = GetRectSizes();
    POINT origin{0, 0};
    if (size.cy < GetHeight()) {
        origin.y = (GetHeight() - size.cy) / 2;
        size.cy = GetHeight();
    }
    if (!fBitmap.NewBitmap(size.cx, size.cy, 24)) return;
    HDC dc = fBitmap.BeginPaint(false, nullptr);
    if (dc == nullptr) return;
    if (!GetVisualizer()->HasBackground()) FillWithColour(dc, RECT{0, 0, size.cx, size.cy}, ColorToRGB(GetBkColor()));
    PaintVisualizer(dc, origin.x, origin.y);
    fBitmap.EndPaint();
}

// The topic's own background goes under the bitmap too, so that the margins
// beside it look as the plain scroller's do.
void TBufferedVGTScroller::PaintRect(POINT origin, SIZE size) {
    HDC dc = GetCanvas()->GetHandle();
    PrepareDC(dc);
    TVGTVisualizer& topic = *GetVisualizer();
    if (topic.HasBackground())
        topic.FillTopicBackground(dc, 0, 0, size.cx + 2 * HMargin, std::max(GetHeight(), GetLaidOutHeight()));
    if (fBitmap.Valid) {
        fBitmap.PaintToDC(dc, origin.x, 0, SRCCOPY);
        return;
    }
    FillWithColour(dc, RECT{origin.x, origin.y, origin.x + size.cx, origin.y + size.cy}, ColorToRGB(GetBkColor()));
}

// ---- published properties ----

namespace {

const TPropertyInfo kVGTScrollerProperties[] = {
    CLASSLIB_EVENT_PROPERTY(TVGTScroller, OnClickLink, TClickLinkEvent),
    CLASSLIB_EVENT_PROPERTY(TVGTScroller, OnEnterLinkArea, TLinkAreaEvent),
    CLASSLIB_EVENT_PROPERTY(TVGTScroller, OnLeaveLinkArea, TLinkAreaEvent),
};

}  // namespace

void RegisterVGTScrollerClasses() {
    RegisterPropertyTable(TVGTScroller::StaticClassInfo(), kVGTScrollerProperties);
    RegisterClass<TVGTScroller>();
    RegisterClass<TBufferedVGTScroller>();
}

void UnregisterVGTScrollerClasses() {
    UnRegisterClass(TBufferedVGTScroller::StaticClassInfo());
    UnRegisterClass(TVGTScroller::StaticClassInfo());
}
