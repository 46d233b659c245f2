// TQuickList's editing: the character rules, the change of a cell through
// OnCellChanged with its undo record, typing, in-cell editing and the edit
// box, undo, the clipboard and the caret timer.
#include <algorithm>
#include <string>
#include <string_view>

#include "ClipboardText.h"
#include "Edit.h"
#include "QuickList.h"
#include "ScrollBarControl.h"
#include "StringContainer.h"

namespace {

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

}  // namespace

bool TQuickList::Editable(std::string*& cell) {
    if (!edit_) return false;
    cell = CellAt(selectedLine_, selectedCol_);
    return cell != nullptr;
}

bool TQuickList::CheckChar(const std::string& text, char& c) const {
    switch (editMode_) {
        case qleString: return true;
        case qleInteger: return IsDigit(c);
        case qleFloat:
            if (c == '.' || c == 'e' || c == 'E') return text.find(c) == std::string::npos;
            if (c == '-') return text.empty() || text.back() == 'e' || text.back() == 'E';
            return IsDigit(c);
    }
    return false;
}

bool TQuickList::CurrentCellIs(int line, int col) const {
    return selectedLine_ == line && selectedCol_ == col && CellAt(line, col) != nullptr;
}

int TQuickList::ClampedCaret(const std::string& text) const { return std::clamp(caretPosition_, 0, int(text.size())); }

int TQuickList::GetCaretPosition() const { return ClampedCaret(GetCell(selectedLine_, selectedCol_)); }

std::string* TQuickList::EditableCurrentCell(bool askEdit, bool needText) {
    std::string* cell = CellAt(selectedLine_, selectedCol_);
    if (cell == nullptr || (askEdit && !edit_) || (needText && cell->empty())) return nullptr;
    const int line = selectedLine_, col = selectedCol_;
    // The handler may change the grid: the cell must still be there and current.
    if (!IsCellEditable() || !CurrentCellIs(line, col)) return nullptr;
    return CellAt(line, col);
}

bool TQuickList::ChangeCurrentCell(std::string& text) {
    const int line = selectedLine_, col = selectedCol_;
    bool valid = true;
    if (OnCellChanged) OnCellChanged(this, line, col, text, valid);
    if (!valid || !CurrentCellIs(line, col)) return false;
    RegisterUndoData();
    *CellAt(line, col) = text;
    return true;
}

// Codes 32 to 127 only: a byte of 128 or more, taken as signed, falls below
// 32 with the control characters.
void TQuickList::TypeCharacter(char c) {
    if (static_cast<signed char>(c) < 32) return;
    std::string* cell = EditableCurrentCell(true, false);
    if (cell == nullptr || !CheckChar(*cell, c)) return;
    std::string text = *cell;
    const int caret = ClampedCaret(text);
    if (inCellEditing_)
        text.insert(size_t(caret), 1, c);
    else
        text += c;
    if (ChangeCurrentCell(text) && inCellEditing_) caretPosition_ = caret + 1;
    Refresh();
}

void TQuickList::EraseCharacter(bool beforeCaret) {
    std::string* cell = EditableCurrentCell(true, true);
    if (cell == nullptr) return;
    std::string text = *cell;
    const int caret = ClampedCaret(text);
    if (!inCellEditing_) {
        if (beforeCaret)
            text.pop_back();
        else
            text.clear();
    } else if (beforeCaret) {
        if (caret == 0) return;
        text.erase(size_t(caret) - 1, 1);
    } else {
        if (caret >= int(text.size())) return;
        text.erase(size_t(caret), 1);
    }
    if (ChangeCurrentCell(text) && inCellEditing_ && beforeCaret) caretPosition_ = caret - 1;
}

// Ctrl+V: the first clipboard line goes through OnCellChanged and is
// appended to the cell. Edit is not asked.
void TQuickList::PasteLine() {
    if (EditableCurrentCell(false, false) == nullptr) return;
    TStringContainer lines;
    if (!lines.CopyFromClipboard() || lines.GetCount() == 0) return;
    const int line = selectedLine_, col = selectedCol_;
    std::string value = lines[0].str();
    bool valid = true;
    if (OnCellChanged) OnCellChanged(this, line, col, value, valid);
    if (!valid || !CurrentCellIs(line, col)) return;
    RegisterUndoData();
    *CellAt(line, col) += value;
}

// The newest record goes whatever happens; its cell takes the text back and
// becomes the current cell unless OnCellChanged refuses or the cell is gone.
void TQuickList::Undo() {
    if (undoList_.empty()) return;
    TUndoData record = std::move(undoList_.back());
    undoList_.pop_back();
    bool valid = true;
    if (OnCellChanged) OnCellChanged(this, record.line, record.col, record.text, valid);
    std::string* cell = CellAt(record.line, record.col);
    if (!valid || cell == nullptr) return;
    *cell = record.text;
    ReleaseSelection(false);
    selectedLine_ = record.line;
    selectedCol_ = record.col;
}

bool TQuickList::StartCellEditing() {
    std::string* cell = EditableCurrentCell(false, false);
    if (cell == nullptr) return false;
    if (editInCell_) {
        RegisterUndoData();
        inCellEditing_ = true;
        caretPosition_ = int(cell->size());
        Refresh();
        return true;
    }
    const RECT& rect = currentCellRect_;
    const int width = std::max(editBox_->GetWidth(), int(rect.right - rect.left) + 3);
    const int viewRight = GetClientWidth() - vertBar_->GetWidth();
    int left = rect.left - 1;
    if (left + width > viewRight) left = viewRight - width;
    editBox_->SetBounds(left, rect.top - 1, width, editBox_->GetHeight());
    editBox_->SetText(*cell);
    editBox_->SetVisible(true);
    if (editBox_->CanFocus()) editBox_->SetFocus();
    // The caret after the text, as typing on in the cell would put it.
    editBox_->SetSelStart(int(cell->size()));
    return true;
}

void TQuickList::StopCellEditing(unsigned short key) {
    editBox_->SetVisible(false);
    if (key == VK_RETURN) {
        std::string text = editBox_->GetText();
        if (ChangeCurrentCell(text)) editBox_->SetText(text);
    }
    Refresh();
    if (CanFocus()) SetFocus();
}

void TQuickList::OnCellEditKeyDown(TObject*, WORD& key, TShiftState) {
    if (key != VK_RETURN && key != VK_ESCAPE) return;
    const WORD ending = key;
    key = 0;
    StopCellEditing(ending);
}

void TQuickList::OnCellEditKeyPress(TObject*, char& key) {
    if (key != '\b' && !CheckChar(editBox_->GetText(), key)) key = 0;
}

void TQuickList::OnCursorTimer(TObject*) {
    if (colDrag_ || lineDrag_ || !editCursor_) return;
    caretShown_ = !caretShown_;
    if (edit_ && CellAt(selectedLine_, selectedCol_) != nullptr) RefreshFrom(true);
}

// ---- Clipboard ----

void TQuickList::CopyToClipboard(const RECT& rect, char separator) {
    const int top = std::max<int>(rect.top, 0), bottom = std::min<int>(rect.bottom, GetLineCount() - 1);
    const int left = std::max<int>(rect.left, 0), right = std::min<int>(rect.right, GetColumnCount() - 1);
    if (top > bottom || left > right) return;
    TStringContainer text;
    std::string joined;
    for (int line = top; line <= bottom; ++line) {
        joined.clear();
        for (int col = left; col <= right; ++col) {
            if (col > left) joined += separator;
            if (const std::string* cell = CellAt(line, col)) joined += *cell;
        }
        text.Add(TString(joined));
    }
    text.CopyToClipboard();
}

void TQuickList::CopyToClipboard(char separator) {
    RECT rect;
    GetSelection(rect);
    CopyToClipboard(rect, separator);
}

// A piece of a pasted line through OnCellChanged into its cell, when the
// handler lets it and the cell is still there.
bool TQuickList::PasteThroughHandler(int line, int col, std::string value) {
    bool valid = true;
    OnCellChanged(this, line, col, value, valid);
    std::string* cell = valid ? CellAt(line, col) : nullptr;
    if (cell != nullptr) *cell = std::move(value);
    return cell != nullptr;
}

// Line text split at the separator into the cells from column left on, at
// most count of them: the pieces of the plain TString::GetTokens (none for an
// empty line, else n + 1 for n separators, empty ones kept), taken in place.
// Without a handler they go straight into the line's cells. Returns the
// rightmost column written, -1 for none.
int TQuickList::PasteCells(int line, int left, int count, std::string_view text, char separator) {
    std::vector<std::string>* cells = line < GetLineCount() ? &lines_[size_t(line)].cells : nullptr;
    const int cellCount = cells ? int(std::min(cells->size(), captions_.size())) : 0;
    int rightmost = -1;
    size_t start = 0;
    for (int col = left; col < left + count && !text.empty() && start <= text.size(); ++col) {
        size_t end = text.find(separator, start);
        if (end == std::string_view::npos) end = text.size();
        const std::string_view piece = text.substr(start, end - start);
        start = end + 1;
        if (OnCellChanged) {
            if (!PasteThroughHandler(line, col, std::string(piece))) continue;
        } else if (col < cellCount) {
            (*cells)[size_t(col)].assign(piece.data(), piece.size());
        } else {
            continue;
        }
        rightmost = col;
    }
    return rightmost;
}

// The clipboard's text is split into lines as TStringContainer reads it (at
// LF, every CR dropped, a last line without LF counted), in place.
void TQuickList::PasteFromClipboard(char separator) {
    if (!HasCurrentCell() || !IsClipboardFormatAvailable(CF_TEXT)) return;
    std::string clipboard = GetClipboardText();
    clipboard.erase(std::remove(clipboard.begin(), clipboard.end(), '\r'), clipboard.end());
    if (clipboard.empty()) return;
    RECT target;
    if (!GetSelection(target)) target = RECT{selectedCol_, selectedLine_, GetColCount() - 1, GetLineCount() - 1};
    int rightmost = target.left, lastLine = target.top;
    size_t lineStart = 0;
    for (int line = target.top; line <= target.bottom && lineStart < clipboard.size(); ++line) {
        size_t lineEnd = clipboard.find('\n', lineStart);
        if (lineEnd == std::string::npos) lineEnd = clipboard.size();
        const std::string_view text(clipboard.data() + lineStart, lineEnd - lineStart);
        lineStart = lineEnd + 1;
        const int written = PasteCells(line, target.left, target.right - target.left + 1, text, separator);
        if (written < 0) continue;
        rightmost = std::max(rightmost, written);
        lastLine = line;
    }
    SetSelectionCorners(target.left, target.top, rightmost, lastLine, false);
    Refresh();
}
