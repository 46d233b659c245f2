// TTextEditor: bringing the window up to date after edits: repainting lines,
// moving bookmarks, resetting the view after new text, the horizontal range,
// scrolling with the caret hidden and placing dialogs over the editor.
#include <algorithm>

#include "Form.h"
#include "TextEditor.h"

void TTextEditor::RepaintLine(int line) {
    if (!HandleAllocated()) return;
    const int h = GetLineHeight();
    const int scrolled = VPos * VScrollStep;
    const int top = line * h - scrolled;
    const int bottom = (line + 1) * h - scrolled;
    if (bottom <= 0 || top >= GetClientHeight()) return;  // off the view: nothing would show
    HWND window = GetHandle();
    HideCaret(window);
    HDC dc = GetCanvas()->GetHandle();
    HRGN band = CreateRectRgn(0, top, GetClientWidth(), bottom);
    SelectClipRgn(dc, band);
    PrepareDC(dc);
    PaintLine(line);
    DrawTabs();
    PaintMarkers();
    DrawMargin();
    SelectClipRgn(dc, nullptr);
    DeleteObject(band);
    if (!ReadOnly) ShowCaret(window);
}

// Lines above the view would be clipped away: starting at VPos keeps a call
// from line 0 on a view scrolled far down from walking the whole text.
void TTextEditor::RefreshLines(int from) {
    const int h = GetLineHeight();
    const int clientHeight = GetClientHeight();
    if (from == -1) {
        for (int k = 0; k <= clientHeight / h && VPos + k <= VMax + 1; ++k) RepaintLine(VPos + k);
        return;
    }
    for (int line = std::max(from, VPos); (line - VPos) * h < clientHeight; ++line) RepaintLine(line);
}

void TTextEditor::RefreshMarkers(int from, int delta) {
    for (int i = 0; i < markers.GetCount(); ++i)
        if (markers[i].line >= from) markers[i].line += delta;
}

// The undo records describe the old text: they go with it. A new text
// replaces the user's text, not the help shown in its place.
void TTextEditor::NewStrings(TStringContainer& text) {
    if (helpShown && &text != &lines) Help();
    if (&text != &lines) lines = text;
    ClearUndo();
    TabsToSpaces();
    RefreshSettings(true, true);
    SetModified(false);
}

// Insert mode comes first, so that a caret refreshed here takes its shape.
void TTextEditor::RefreshSettings(bool repaint, bool measureWidth) {
    EditMode = emInsert;
    if (Focused()) RefreshCaret();
    SetVPos(0);
    SetVMax(std::max(lines.GetCount() - 1, 0));
    SetHPos(0);
    if (measureWidth) SetHMax(GetMaxLineLength());
    CurCol = CurLine = prevCol = prevLine = 0;
    SetCaretPos(0, 0);
    selection.selStartCol = selection.selEndCol = 0;
    selection.selStartLine = selection.selEndLine = 0;
    if (repaint) Repaint();
}

int TTextEditor::GetMaxLineLength() const {
    void* const* items = static_cast<void* const*>(lines.GetItems());
    const int count = lines.GetCount();
    int longest = 0;
    for (int i = 0; i < count; ++i) {
        TStringContainer::PrefetchLines(items, i, count);
        longest = std::max(longest, static_cast<const TString*>(items[i])->Length());
    }
    return longest;
}

void TTextEditor::SetHMax(const TString& line) {
    if (line.Length() > HMax) SetHMax(line.Length());
}

void TTextEditor::SetupDlgPos(TForm* dialog) {
    if (dialog == nullptr) return;
    POINT corner{GetLeft(), GetTop()};
    if (TWinControl* parent = GetParent()) corner = parent->ClientToScreen(corner);
    dialog->SetLeft(corner.x + (GetWidth() - dialog->GetWidth()) / 2);
    dialog->SetTop(corner.y + (GetHeight() - dialog->GetHeight()) / 2);
}

void TTextEditor::ScrollClientArea(int bar, int delta) {
    if (!HandleAllocated()) return;
    HWND window = GetHandle();
    HideCaret(window);
    TScrollControl::ScrollClientArea(bar, delta);
    if (!ReadOnly) ShowCaret(window);
}
