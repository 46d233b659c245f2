// TFormSplitter: a splitter line between controls of a form that the user drags
// to resize the controls on its two sides.
#pragma once

#include <functional>
#include <memory>
#include <vector>

#include "Control.h"

class TWinControl;
class TSplitterHint;

// How the line looks while it is dragged.
enum TFormSplitterLine { fslSolid, fslChecked };
// The mouse cursor over the line: the two-way resize arrows, or the arrow.
enum TFormSplitterCursor { fscSplit, fscArrow };
// What the line does when its form is resized: stay, or keep its position's
// share of the form's client width (height for a horizontal line).
enum TFormSplitterResize { fsrNone, fsrKeepRatio };

// Returns true for a control the splitter must leave alone.
using TOmitControlEvent = std::function<bool(TObject* sender, TControl* control)>;

// The splitter is no control: it watches the messages of its host (its owner
// when that is a windowed control, else the parent of the first control it is
// given) through the host's WindowProc. The line lies in the gap between the
// controls, at Position along x (Horizontal, the default: a vertical line) or
// y, and runs across the host's client area, or up to the line of the splitter
// it is joined to. Pressing the left button within HitWidth pixels of the line
// starts a drag; each mouse move moves the line and resizes the controls at
// once, keeping every resized control at least MinSize pixels wide (high), and
// fires OnMove.
class TFormSplitter : public TComponent {
    CLASSLIB_CLASS(TFormSplitter, TComponent)

public:
    explicit TFormSplitter(TComponent* owner);
    ~TFormSplitter() override;

    // Controls on the lower side (left of a vertical line, above a horizontal
    // one) grow and shrink with the line; controls on the upper side move
    // their near edge with it; moving controls move without resizing. Null
    // and controls already listed there are ignored. A control that goes
    // away leaves the lists.
    void AddLowerObject(TControl* control);
    void AddUpperObject(TControl* control);
    void AddMovingObject(TControl* control);
    // Makes other's line end on this splitter's line (null: other runs across
    // the whole host again). A splitter joined to itself is ignored.
    void JoinEnd(TFormSplitter* other);

    int GetPosition() const { return position_; }
    // Places the line in the host's client coordinates and moves the listed
    // controls by the difference (each no smaller than 0). OnMove does not
    // fire: it reports the user's moves and the moves of a resized form.
    void SetPosition(int position);

    bool GetHorizontal() const { return horizontal_; }
    void SetHorizontal(bool horizontal) { horizontal_ = horizontal; }
    bool GetShowPosition() const { return showPosition_; }
    // On: a small hint shows the line's position while it is dragged.
    void SetShowPosition(bool show) { showPosition_ = show; }
    bool GetShowPercentage() const { return showPercentage_; }
    // On: the hint shows the position as a percentage of the client extent.
    void SetShowPercentage(bool show) { showPercentage_ = show; }
    TFormSplitterLine GetLineType() const { return lineType_; }
    void SetLineType(TFormSplitterLine type) { lineType_ = type; }
    TFormSplitterCursor GetCursorType() const { return cursorType_; }
    void SetCursorType(TFormSplitterCursor type) { cursorType_ = type; }
    TFormSplitterResize GetResizeMode() const { return resizeMode_; }
    void SetResizeMode(TFormSplitterResize mode) { resizeMode_ = mode; }
    int GetMinSize() const { return minSize_; }
    // Values below 0 become 0.
    void SetMinSize(int size);
    int GetHitWidth() const { return hitWidth_; }
    // Pixels on either side of the line that catch the mouse; at least 1.
    void SetHitWidth(int width);

    // The window control whose messages the splitter watches; null when none is known yet.
    TWinControl* GetHost() const { return host_; }
    // True when a client point of the host lies on the line.
    bool HitTest(POINT point) const;
    // The line's span across the host: from 0 to the client extent, or to the
    // joined line's position.
    int LineEnd() const;
    bool Dragging() const { return dragging_; }
    // The text of the position hint, e.g. "120 (45%)".
    std::string HintText() const;

    TNotifyEvent OnMove;
    TOmitControlEvent OnOmitControl;

    void Notification(TComponent* component, TOperation operation) override;

private:
    struct THook;
    void SetHost(TWinControl* host);
    void AddObject(std::vector<TControl*>& list, TControl* control);
    // True when the message was used up and goes no further.
    bool HostMessage(TMessage& message, const std::function<void(TMessage&)>& previous);
    bool MouseDownMessage(TMessage& message);
    bool MouseMoveMessage(TMessage& message);
    bool MouseUpMessage(TMessage& message);
    bool SetCursorMessage(TMessage& message);
    void SizeMessage();
    void EndDrag();
    void MoveObjects(int delta);
    bool Omitted(TControl* control);
    // The host's client extent along the line's axis (width for a vertical line).
    int ClientExtent() const;
    // The position after clamping to the host and to MinSize of the controls.
    int ClampedPosition(int position);
    void RememberRatio();
    // Moves the line as the user or a resize does, firing OnMove.
    void MoveLine(int position);
    RECT LineRect() const;
    void DrawDragLine();
    void EraseDragLine();
    void ShowHint(POINT clientPoint);

    TWinControl* host_ = nullptr;
    std::shared_ptr<THook> hook_;
    std::vector<TControl*> lower_;
    std::vector<TControl*> upper_;
    std::vector<TControl*> moving_;
    TFormSplitter* endSplitter_ = nullptr;
    std::vector<TFormSplitter*> joinedHere_;
    int position_ = 0;
    bool horizontal_ = true;
    bool showPosition_ = false;
    bool showPercentage_ = false;
    TFormSplitterLine lineType_ = fslSolid;
    TFormSplitterCursor cursorType_ = fscSplit;
    TFormSplitterResize resizeMode_ = fsrNone;
    int minSize_ = 8;
    int hitWidth_ = 3;
    double ratio_ = 0;
    bool ratioPending_ = true;
    bool dragging_ = false;
    int dragOffset_ = 0;
    bool lineDrawn_ = false;
    RECT drawnLine_{0, 0, 0, 0};
    TSplitterHint* hint_ = nullptr;
};

// The property table of the class (called by the package's start-up).
void RegisterFormSplitterProperties();
