// TVGTScroller and TBufferedVGTScroller: the topic scrollers. A scroller lays
// one topic out to its own width with its visualizer, scrolls and paints the
// laid-out rectangle, and turns mouse moves and clicks over link areas into
// link events; the buffered one paints the topic once into a bitmap.
#pragma once

#include <functional>
#include <memory>

#include "ImageLinks.h"
#include "MemBitmap.h"
#include "RectScroller.h"
#include "String.h"
#include "StringContainer.h"
#include "VGTRecords.h"
#include "VGTVisualizer.h"

class TVGTPanel;

using TClickLinkEvent = std::function<void(const TString& target)>;
using TLinkAreaEvent = std::function<void(const TString& target, const TString& targetPanel)>;

// The topic is laid out from (HMargin, VMargin) to the control's width less
// HMargin and 1 (16 pixels less again when it is taller than the control and
// a vertical bar shows). The user rectangle is the widest line plus 1 (and
// HMargin more when a line is wider than the layout) by the topic's height
// plus twice VMargin; with no topic it is Width - HMargin wide and 0 high.
// Link areas are those of the last layout; text links are hit before image
// links, and a point on the edge of a text link's area hits it.
class TVGTScroller : public TRectScroller {
    CLASSLIB_CLASS(TVGTScroller, TRectScroller)

public:
    // A rectangle scroller with a white border brush and AutoScroll off.
    explicit TVGTScroller(TComponent* owner);
    ~TVGTScroller() override;

    // Opens a topic: an empty name changes nothing and gives true. A topic
    // that cannot be read shows the topic error and gives false, keeping
    // topic, sizes and links. Otherwise the name is kept as the topic last
    // opened and the topic laid out; with a panel, a topic that declares
    // sub-panels has the panel build them, and otherwise (with deletePanels)
    // the panel's sub-panels go; the scroller is refreshed and shown. A topic
    // other than the one shown opens scrolled to its top-left; the same one
    // keeps its position.
    virtual bool SetSource(const TString& name, bool deletePanels);
    // Shows the given lines as the topic (the name last opened stays).
    void SetSource(const TStringContainer& lines);
    // The scroller fills its background (and border gaps) only when the
    // topic does not paint a background of its own.
    void SetBk();
    // Lays the topic out to the current width (see the class comment) and
    // takes the link areas; with clearPictureCache the pictures load afresh.
    void CalcVisualizerSizes(bool clearPictureCache, bool usePictureCache);
    SIZE GetRectSizes() override;
    void PaintRect(POINT origin, SIZE size) override;
    void WMSize(TMessage& message) override;

    // ORDER VIRTUALS: the operations this class adds, in their slot order.
    // Opens the link last entered: here, or through the panel; then OnClickLink.
    virtual void ClickLink();
    // CalcVisualizerSizes(false, true).
    virtual void CalcRectSizes();
    // The topic's own background (when it has one) over the whole area, then
    // the paint pass with the topic's left margin at x + HMargin, y + VMargin.
    // Returns the parse result.
    virtual bool PaintVisualizer(HDC dc, int x, int y);

    // OnEnterLinkArea and OnLeaveLinkArea with the link last entered.
    void EnterLinkArea();
    void LeaveLinkArea();

    const TString& GetTopicName() const { return fTopicName; }
    TVGTVisualizer* GetVisualizer() const { return fVisualizer.get(); }
    TVGTPanel* GetPanel() const { return fPanel; }
    void SetPanel(TVGTPanel* panel) { fPanel = panel; }
    TPanelInfo& GetPanelInfo() { return fPanelInfo; }
    void SetPanelInfo(const TPanelInfo& info) { fPanelInfo = info; }
    TLinkContainer& GetLinks() { return fLinks; }
    TImageLinks& GetImageLinks() { return fImageLinks; }
    int GetLayoutWidth() const { return fLayoutWidth; }
    int GetLaidOutHeight() const { return fLaidOutHeight; }
    int GetLaidOutMaxWidth() const { return fLaidOutMaxWidth; }
    int GetExtraRightMargin() const { return fExtraRightMargin; }
    bool GetInsideLink() const { return fInsideLink; }
    // True while a mouse event of this scroller (and what it fires) runs.
    bool EventsRunning() const { return fRunningEvents > 0; }

    TClickLinkEvent OnClickLink;
    TLinkAreaEvent OnEnterLinkArea;
    TLinkAreaEvent OnLeaveLinkArea;

protected:
    void MouseDown(TMouseButton button, TShiftState shift, int x, int y) override;
    void MouseMove(TShiftState shift, int x, int y) override;
    // Replaces the visualizer (a derived scroller reads its topics elsewhere).
    void SetVisualizer(std::unique_ptr<TVGTVisualizer> visualizer) { fVisualizer = std::move(visualizer); }

    enum TLinkKind { lkText, lkImage };

    TPanelInfo fPanelInfo;
    TString fTopicName;
    TVGTPanel* fPanel = nullptr;
    int HMargin = 8;
    int VMargin = 8;

private:
    class TEventScope;
    int fRunningEvents = 0;
    // The link under a user-rectangle point, remembered with its target and
    // panel; false (nothing remembered) when no area holds the point.
    bool HitLink(POINT point);
    // Shows the control's cursor at once, without waiting for the next move.
    void ShowCursorShape(TCursor cursor);

    std::unique_ptr<TVGTVisualizer> fVisualizer;
    TLinkContainer fLinks;
    TImageLinks fImageLinks;
    int fLayoutWidth = 0;
    int fExtraRightMargin = 0;
    int fLaidOutHeight = 0;
    int fLaidOutMaxWidth = 0;
    // The link under the mouse; its target and panel are kept, so the events
    // report it even after a new layout replaced the areas.
    bool fInsideLink = false;
    TLinkKind fLinkKind = lkText;
    int fLinkIndex = -1;
    TString fLinkTarget;
    TString fLinkTargetPanel;
};

// Paints the whole topic into one bitmap at every layout and copies it at
// every paint. A topic shorter than the control stands in the middle of a
// bitmap as high as the control. A topic too large for a bitmap shows only
// the scroller's background.
class TBufferedVGTScroller : public TVGTScroller {
    CLASSLIB_CLASS(TBufferedVGTScroller, TVGTScroller)

public:
    explicit TBufferedVGTScroller(TComponent* owner);

    void CalcRectSizes() override;
    void PaintRect(POINT origin, SIZE size) override;
    TMemBitmap& GetBitmap() { return fBitmap; }

private:
    TMemBitmap fBitmap;
};

// The property tables and stream classes of both (called by the package's start-up).
void RegisterVGTScrollerClasses();
void UnregisterVGTScrollerClasses();
