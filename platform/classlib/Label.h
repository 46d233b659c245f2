// TCustomLabel and TLabel: a caption drawn without a window of its own, with
// alignment, layout, word wrap, transparency, "&" accelerators and a focus control.
#pragma once

#include <string>

#include "GraphicControl.h"

class TWinControl;

// Horizontal alignment of text in a control (labels, panels).
enum TAlignment { taLeftJustify, taRightJustify, taCenter };
// Vertical placement of a label's text.
enum TTextLayout { tlTop, tlCenter, tlBottom };
// The names of TAlignment's values for property tables.
struct TIdentifierList;
extern const TIdentifierList AlignmentIdentifiers;

class TCustomLabel : public TGraphicControl {
    CLASSLIB_CLASS(TCustomLabel, TGraphicControl)

public:
    // A label of 65x17 pixels that sizes itself to its text (AutoSize on).
    explicit TCustomLabel(TComponent* owner);
    ~TCustomLabel() override;

    bool GetAutoSize() const { return autoSize_; }
    // On: the label takes the size of its text now and whenever text, font or
    // word wrap change (with WordWrap only the height follows, keeping the
    // width). A right-aligned label keeps its right edge, a centred one its centre.
    void SetAutoSize(bool autoSize);
    TAlignment GetAlignment() const { return alignment_; }
    void SetAlignment(TAlignment alignment);
    TTextLayout GetLayout() const { return layout_; }
    void SetLayout(TTextLayout layout);
    bool GetWordWrap() const { return wordWrap_; }
    // On: lines break between words at the label's width.
    void SetWordWrap(bool wordWrap);
    bool GetTransparent() const { return transparent_; }
    // On: the parent shows through; off: the label fills its rectangle with Color.
    void SetTransparent(bool transparent);
    bool GetShowAccelChar() const { return showAccelChar_; }
    // On (the default): "&x" underlines x and makes Alt+x focus FocusControl;
    // "&&" shows one '&'. Off: '&' is shown as it stands.
    void SetShowAccelChar(bool show);
    TWinControl* GetFocusControl() const { return focusControl_; }
    // The control that the accelerator focuses; forgotten when it is destroyed.
    void SetFocusControl(TWinControl* control);
    // The focus control by name, as form resources store it: while loading
    // the name is kept and looked up among the owner's components in Loaded;
    // otherwise at once. An unknown name (or empty) leaves no focus control.
    std::string GetFocusControlName() const;
    void SetFocusControlName(const std::string& name);

    // The accelerator character (upper case) of the caption, 0 when none.
    char AcceleratorChar() const;
    // Handles Alt+key for the label: when key is its accelerator and the focus
    // control can take the focus, focuses it and returns true.
    bool HandleAccelerator(char key);

    void Notification(TComponent* component, TOperation operation) override;
    void Loaded() override;

protected:
    void Paint() override;
    // Draws (or with DT_CALCRECT measures) the caption in rect with flags.
    virtual void DoDrawText(RECT& rect, UINT flags);
    // Resizes the label to its text when AutoSize is on and it is not loading.
    virtual void AdjustBounds();
    // The DrawText flags for alignment, word wrap and accelerators.
    UINT TextFlags() const;

    void CMTextChanged(TMessage& message);
    void CMFontChanged(TMessage& message);
    // Alt+key: the accelerator focuses FocusControl (Result 1 when it did).
    void CMDialogChar(TMessage& message);
    CLASSLIB_MESSAGE_MAP(TCustomLabel, TGraphicControl, {CM_TEXTCHANGED, &TCustomLabel::CMTextChanged},
                         {CM_FONTCHANGED, &TCustomLabel::CMFontChanged}, {CM_DIALOGCHAR, &TCustomLabel::CMDialogChar})

private:
    bool autoSize_ = true;
    TAlignment alignment_ = taLeftJustify;
    TTextLayout layout_ = tlTop;
    bool wordWrap_ = false;
    bool transparent_ = false;
    bool showAccelChar_ = true;
    TWinControl* focusControl_ = nullptr;
    std::string pendingFocusControlName_;
};

class TLabel : public TCustomLabel {
    CLASSLIB_CLASS(TLabel, TCustomLabel)

public:
    explicit TLabel(TComponent* owner);
};

// The property tables of the label classes (called by the library's start-up).
void RegisterLabelProperties();
