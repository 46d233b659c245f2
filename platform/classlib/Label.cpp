// TCustomLabel and TLabel: a caption drawn on the parent's DC.
#include "Label.h"

#include <iterator>

#include "ControlDrawing.h"
#include "PropertyTable.h"
#include "WinControl.h"

TCustomLabel::TCustomLabel(TComponent* owner) : TGraphicControl(owner) { SetBounds(0, 0, 65, 17); }

TCustomLabel::~TCustomLabel() { Destroying(); }

void TCustomLabel::SetAutoSize(bool autoSize) {
    if (autoSize == autoSize_) return;
    autoSize_ = autoSize;
    AdjustBounds();
}

void TCustomLabel::SetAlignment(TAlignment alignment) {
    if (alignment == alignment_) return;
    alignment_ = alignment;
    Invalidate();
}

void TCustomLabel::SetLayout(TTextLayout layout) {
    if (layout == layout_) return;
    layout_ = layout;
    Invalidate();
}

void TCustomLabel::SetWordWrap(bool wordWrap) {
    if (wordWrap == wordWrap_) return;
    wordWrap_ = wordWrap;
    AdjustBounds();
    Invalidate();
}

void TCustomLabel::SetTransparent(bool transparent) {
    if (transparent == transparent_) return;
    transparent_ = transparent;
    Invalidate();
}

void TCustomLabel::SetShowAccelChar(bool show) {
    if (show == showAccelChar_) return;
    showAccelChar_ = show;
    AdjustBounds();
    Invalidate();
}

void TCustomLabel::SetFocusControl(TWinControl* control) {
    if (focusControl_) RemoveFreeNotification(focusControl_);
    focusControl_ = control;
    pendingFocusControlName_.clear();
    if (control) FreeNotification(control);
}

std::string TCustomLabel::GetFocusControlName() const {
    if (focusControl_) return focusControl_->GetName();
    return pendingFocusControlName_;
}

void TCustomLabel::SetFocusControlName(const std::string& name) {
    if (GetComponentState().Contains(csLoading)) {
        pendingFocusControlName_ = name;
        return;
    }
    TComponent* found = GetOwner() ? GetOwner()->FindComponent(name) : nullptr;
    SetFocusControl(dynamic_cast<TWinControl*>(found));
}

void TCustomLabel::Loaded() {
    TGraphicControl::Loaded();
    if (!pendingFocusControlName_.empty()) SetFocusControlName(pendingFocusControlName_);
    AdjustBounds();
}

void TCustomLabel::Notification(TComponent* component, TOperation operation) {
    TGraphicControl::Notification(component, operation);
    if (operation == opRemove && component && component == focusControl_) focusControl_ = nullptr;
}

char TCustomLabel::AcceleratorChar() const { return showAccelChar_ ? AcceleratorOf(GetText()) : 0; }

bool TCustomLabel::HandleAccelerator(char key) {
    if (!showAccelChar_ || !IsAcceleratorKey(GetText(), key)) return false;
    if (!focusControl_ || !focusControl_->CanFocus()) return false;
    focusControl_->SetFocus();
    return true;
}

UINT TCustomLabel::TextFlags() const {
    static const UINT kAlignmentFlags[] = {DT_LEFT, DT_RIGHT, DT_CENTER};  // ORDER TAlignment
    UINT flags = DT_EXPANDTABS | kAlignmentFlags[alignment_];
    if (wordWrap_) flags |= DT_WORDBREAK;
    if (!showAccelChar_) flags |= DT_NOPREFIX;
    return flags;
}

void TCustomLabel::DoDrawText(RECT& rect, UINT flags) {
    TCanvas* canvas = GetCanvas();
    canvas->SetFont(GetFont());
    std::string text = GetText();
    // An empty caption still measures one line high.
    if ((flags & DT_CALCRECT) && text.empty()) text = " ";
    DrawControlText(canvas, rect, text, flags, GetEnabled());
}

void TCustomLabel::Paint() {
    TCanvas* canvas = GetCanvas();
    RECT client = GetClientRect();
    if (!transparent_) {
        canvas->GetBrush()->SetStyle(bsSolid);
        canvas->GetBrush()->SetColor(GetColor());
        canvas->FillRect(client);
    }
    RECT textRect = client;
    UINT flags = TextFlags();
    if (layout_ != tlTop) {
        RECT measured = client;
        DoDrawText(measured, flags | DT_CALCRECT);
        int textHeight = measured.bottom - measured.top;
        int spare = (client.bottom - client.top) - textHeight;
        textRect.top += layout_ == tlCenter ? spare / 2 : spare;
    }
    DoDrawText(textRect, flags);
}

void TCustomLabel::AdjustBounds() {
    if (!autoSize_ || GetComponentState().Contains(csLoading)) return;
    UINT flags = TextFlags() & ~static_cast<UINT>(DT_RIGHT | DT_CENTER);
    SIZE size = MeasureText(GetFont(), GetText(), flags, wordWrap_ ? GetWidth() : 0);
    int width = wordWrap_ ? GetWidth() : size.cx;
    int left = GetLeft();
    if (alignment_ == taRightJustify) left += GetWidth() - width;
    if (alignment_ == taCenter) left += (GetWidth() - width) / 2;
    SetBounds(left, GetTop(), width, size.cy);
}

void TCustomLabel::CMTextChanged(TMessage&) {
    Invalidate();
    AdjustBounds();
}

void TCustomLabel::CMFontChanged(TMessage&) {
    Invalidate();
    AdjustBounds();
}

void TCustomLabel::CMDialogChar(TMessage& message) {
    if (HandleAccelerator(static_cast<char>(message.WParam))) message.Result = 1;
}

TLabel::TLabel(TComponent* owner) : TCustomLabel(owner) {}

// ---- Published properties ----

namespace {

// ORDER TAlignment, TTextLayout: the values are the enumerations'.
const TIdentifier kAlignmentNames[] = {
    {"taLeftJustify", taLeftJustify}, {"taRightJustify", taRightJustify}, {"taCenter", taCenter}};
const TIdentifier kLayoutNames[] = {{"tlTop", tlTop}, {"tlCenter", tlCenter}, {"tlBottom", tlBottom}};
const TIdentifierList kLayouts{kLayoutNames, std::size(kLayoutNames)};

// A row published under another name than its accessors'.
constexpr TPropertyInfo Renamed(TPropertyInfo row, const char* name) {
    row.name = name;
    return row;
}

const TPropertyInfo kLabelProperties[] = {
    CLASSLIB_ENUM_PROPERTY(TCustomLabel, Alignment, TAlignment, taLeftJustify, &AlignmentIdentifiers),
    CLASSLIB_BOOLEAN_PROPERTY(TCustomLabel, AutoSize, true),
    CLASSLIB_ENUM_PROPERTY(TCustomLabel, Layout, TTextLayout, tlTop, &kLayouts),
    CLASSLIB_BOOLEAN_PROPERTY(TCustomLabel, WordWrap, false),
    CLASSLIB_BOOLEAN_PROPERTY(TCustomLabel, Transparent, false),
    CLASSLIB_BOOLEAN_PROPERTY(TCustomLabel, ShowAccelChar, true),
    Renamed(CLASSLIB_STRING_PROPERTY(TCustomLabel, FocusControlName, ""), "FocusControl"),
};

}  // namespace

const TIdentifierList AlignmentIdentifiers{kAlignmentNames, std::size(kAlignmentNames)};

void RegisterLabelProperties() { RegisterPropertyTable(TCustomLabel::StaticClassInfo(), kLabelProperties); }
