// TTextEditor: the text geometry every part of the editor turns pixels into
// columns and lines with, and the DC it measures the font on.
#include <algorithm>
#include <string>

#include "TextEditor.h"
#include "TextEditorMeasuring.h"

TTextEditorMeasuringDC::TTextEditorMeasuringDC(TTextEditor& editor) {
    TCanvas* canvas = editor.GetCanvas();
    if (editor.HandleAllocated()) {
        dc_ = canvas->GetHandle();
        return;
    }
    own_ = CreateCompatibleDC(nullptr);
    if (own_ == nullptr) return;
    previousFont_ = SelectObject(own_, canvas->GetFont()->GetHandle());
    dc_ = own_;
}

TTextEditorMeasuringDC::~TTextEditorMeasuringDC() {
    if (own_ == nullptr) return;
    SelectObject(own_, previousFont_);
    DeleteDC(own_);
}

// Both are at least 1: the mouse and caret code divide by them.
int TTextEditor::GetLineHeight() const { return std::max(1, cachedFontHeight + LineSpace); }

int TTextEditor::GetCharWidth() const { return cachedCharWidth; }

int TTextEditor::GetColGap() const { return ShowLineNumbers ? lineNumbersWidth + ColGap + 4 : ColGap; }

int TTextEditor::GetLineNumbersWidth() {
    if (!ShowLineNumbers) return 0;
    const std::string number = std::to_string(lines.GetCount() - 1);
    TTextEditorMeasuringDC dc(*this);
    SIZE size{0, 0};
    if (dc.Handle() == nullptr ||
        !GetTextExtentPoint32(dc.Handle(), number.c_str(), static_cast<int>(number.size()), &size))
        return 0;
    return size.cx;
}

RECT TTextEditor::GetLineRect(int line) {
    const int h = GetLineHeight();
    return RECT{0, line * h, GetColGap() + HMax * HScrollStep + GetClientWidth() - 1, (line + 1) * h - 1};
}

RECT TTextEditor::GetBlockRect() {
    const int h = GetLineHeight();
    const int w = GetCharWidth();
    const int gap = GetColGap();
    const TTextEditorSelection& s = selection;
    if (s.selStartLine != s.selEndLine) return RECT{gap, s.selStartLine * h, HMax * w + gap, s.selEndLine * h - 1};
    if (s.selStartCol != s.selEndCol)
        return RECT{s.selStartCol * w + gap, s.selLine * h, s.selEndCol * w + gap - 1, (s.selLine + 1) * h - 1};
    return RECT{-1, -1, -1, -1};
}

TColor TTextEditor::GetSelBkColor(int line) const {
    const bool block = selection.selStartLine != selection.selEndLine;
    return block && selMark != -1 && line >= selMark ? selBkColor2 : SelBkColor;
}
