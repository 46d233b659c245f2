// TGroupBox, TRadioGroup, TPanel and TBevel: the controls that frame and
// group other controls.
#pragma once

#include <string>
#include <vector>

#include "Buttons.h"
#include "CustomControl.h"
#include "GraphicControl.h"
#include "Label.h"
#include "Strings.h"

// A frame with a caption in its top edge; the controls inside are its children.
class TGroupBox : public TCustomControl {
    CLASSLIB_CLASS(TGroupBox, TCustomControl)

public:
    // A 185x105 box, no tab stop.
    explicit TGroupBox(TComponent* owner);

protected:
    void Paint() override;
    // The frame's top: half a line below the control's top.
    int FrameTop();
    void CMInvalidating(TMessage& message);
    void CMDialogChar(TMessage& message);
    CLASSLIB_MESSAGE_MAP(TGroupBox, TCustomControl, {CM_TEXTCHANGED, &TGroupBox::CMInvalidating},
                         {CM_ENABLEDCHANGED, &TGroupBox::CMInvalidating}, {CM_DIALOGCHAR, &TGroupBox::CMDialogChar})
};

// A group box of radio buttons made from Items, one per string, laid out in
// Columns columns (filled top to bottom). ItemIndex is the checked one (-1:
// none); checking a button by mouse or keyboard sets it and runs OnClick.
class TRadioGroup : public TGroupBox {
    CLASSLIB_CLASS(TRadioGroup, TGroupBox)

public:
    explicit TRadioGroup(TComponent* owner);
    ~TRadioGroup() override;

    // Changing the strings remakes the buttons; ItemIndex is kept when still
    // in range, else it becomes -1.
    TStrings* GetItems() { return items_; }
    void SetItems(const TStrings* items);
    int GetItemIndex() const { return itemIndex_; }
    // Out of [-1, Count) becomes -1 (no button checked). Runs OnClick when it changes.
    void SetItemIndex(int index);
    int GetColumns() const { return columns_; }
    // Clamped into [1, 16].
    void SetColumns(int columns);
    // The button of item index, null out of range (for tests and the focus).
    TRadioButton* Button(int index) const;

    // Items as one text (each item ended by CR LF), for form resources.
    std::string GetItemsText() const;
    void SetItemsText(const std::string& text);

    void Loaded() override;

protected:
    void Resize() override;
    void CMFontChanged(TMessage& message);
    void CMEnabledChanged(TMessage& message);
    CLASSLIB_MESSAGE_MAP(TRadioGroup, TGroupBox, {CM_FONTCHANGED, &TRadioGroup::CMFontChanged},
                         {CM_ENABLEDCHANGED, &TRadioGroup::CMEnabledChanged})

private:
    void UpdateButtons();
    void ArrangeButtons();
    void ButtonClick(TObject* sender);

    TStringList* items_;
    std::vector<TRadioButton*> buttons_;
    int itemIndex_ = -1;
    int columns_ = 1;
    bool updating_ = false;
};

enum TPanelBevel { bvNone, bvLowered, bvRaised, bvSpace };

// A raised (by default) area with a caption in the middle; other controls sit on it.
class TPanel : public TCustomControl {
    CLASSLIB_CLASS(TPanel, TCustomControl)

public:
    // A 185x41 panel, no tab stop.
    explicit TPanel(TComponent* owner);

    TPanelBevel GetBevelInner() const { return bevelInner_; }
    void SetBevelInner(TPanelBevel bevel);
    TPanelBevel GetBevelOuter() const { return bevelOuter_; }
    void SetBevelOuter(TPanelBevel bevel);
    int GetBevelWidth() const { return bevelWidth_; }
    // Clamped to at least 1.
    void SetBevelWidth(int width);
    TAlignment GetAlignment() const { return alignment_; }
    void SetAlignment(TAlignment alignment);

protected:
    void Paint() override;
    void CMInvalidating(TMessage& message);
    CLASSLIB_MESSAGE_MAP(TPanel, TCustomControl, {CM_TEXTCHANGED, &TPanel::CMInvalidating},
                         {CM_ENABLEDCHANGED, &TPanel::CMInvalidating})

private:
    TPanelBevel bevelInner_ = bvNone;
    TPanelBevel bevelOuter_ = bvRaised;
    int bevelWidth_ = 1;
    TAlignment alignment_ = taCenter;
};

enum TBevelShape { bsBox, bsFrame, bsTopLine, bsBottomLine, bsLeftLine, bsRightLine, bsSpacer };
enum TBevelStyle { bsLowered, bsRaised };

// An etched box, frame or line (bsSpacer draws nothing); no window.
class TBevel : public TGraphicControl {
    CLASSLIB_CLASS(TBevel, TGraphicControl)

public:
    // A 50x50 lowered box.
    explicit TBevel(TComponent* owner);

    TBevelShape GetShape() const { return shape_; }
    void SetShape(TBevelShape shape);
    TBevelStyle GetStyle() const { return style_; }
    void SetStyle(TBevelStyle style);

protected:
    void Paint() override;

private:
    TBevelShape shape_ = bsBox;
    TBevelStyle style_ = bsLowered;
};

// The property tables of these classes (called by the library's start-up).
void RegisterGroupControlProperties();
