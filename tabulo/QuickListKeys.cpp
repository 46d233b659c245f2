// TQuickList's keyboard: the key table, moving the current cell and the
// selection with the keys, and typing into the current cell.
#include <algorithm>

#include "QuickList.h"
#include "ScrollBarControl.h"

// A key the grid answers: its code, whether Ctrl must be held, and what it does.
struct TQuickList::TKeyAction {
    WORD key;
    bool withCtrl;
    void (TQuickList::*action)(TShiftState shift);
};

// ORDER: none; a key is looked up by its code. After each the grid repaints.
const TQuickList::TKeyAction TQuickList::kKeyActions[] = {
    {VK_BACK, false, &TQuickList::BackspaceKey}, {VK_TAB, false, &TQuickList::TabKey},
    {VK_RETURN, false, &TQuickList::EnterKey},   {VK_PRIOR, false, &TQuickList::PageUpKey},
    {VK_NEXT, false, &TQuickList::PageDownKey},  {VK_END, false, &TQuickList::EndKey},
    {VK_HOME, false, &TQuickList::HomeKey},      {VK_LEFT, false, &TQuickList::LeftKey},
    {VK_UP, false, &TQuickList::UpKey},          {VK_RIGHT, false, &TQuickList::RightKey},
    {VK_DOWN, false, &TQuickList::DownKey},      {VK_DELETE, false, &TQuickList::DeleteKey},
    {'C', true, &TQuickList::CopyKey},           {'F', true, &TQuickList::FindKey},
    {'R', true, &TQuickList::ReplaceKey},        {'V', true, &TQuickList::PasteKey},
    {'Z', true, &TQuickList::UndoKey},           {VK_F3, false, &TQuickList::FindNextKey},
};

// One coordinate of the current cell with what moves along it: the anchor's
// and the corner's, the selection's edges, the last index and the bar.
struct TQuickList::TAxis {
    int& current;
    int& other;
    int& anchor;
    int& otherAnchor;
    int& corner;
    int& otherCorner;
    int low, high;
    int last;
    TScrollBar* bar;
    bool columns;
};

void TQuickList::KeyDown(WORD& key, TShiftState shift) {
    TCustomControl::KeyDown(key, shift);
    for (const TKeyAction& row : kKeyActions) {
        if (row.key != key || (row.withCtrl && !shift.Contains(ssCtrl))) continue;
        DeriveSelection();
        (this->*row.action)(shift);
        DeriveSelection();
        Refresh();
        return;
    }
}

void TQuickList::KeyPress(char& key) {
    TCustomControl::KeyPress(key);
    if (key != 0) TypeCharacter(key);
}

bool TQuickList::HasCurrentCell() const {
    return selectedLine_ >= 0 && selectedLine_ < GetLineCount() && selectedCol_ >= 0;
}

int TQuickList::LastCellOfLine() const {
    return HasCurrentCell() ? int(lines_[size_t(selectedLine_)].cells.size()) - 1 : -1;
}

void TQuickList::BackspaceKey(TShiftState) { EraseCharacter(true); }
void TQuickList::DeleteKey(TShiftState) { EraseCharacter(false); }
void TQuickList::CopyKey(TShiftState) { CopyToClipboard('|'); }
void TQuickList::FindKey(TShiftState) { Find(); }
void TQuickList::ReplaceKey(TShiftState) { Replace(); }
void TQuickList::PasteKey(TShiftState) { PasteLine(); }
void TQuickList::UndoKey(TShiftState) { Undo(); }
void TQuickList::FindNextKey(TShiftState) { FindNext(true); }

// One column on; inside a selection past its right edge to its left on the
// next line, past its bottom back to its top.
void TQuickList::TabKey(TShiftState) {
    inCellEditing_ = false;
    if (!HasCurrentCell()) return;
    if (!ValidSelection()) {
        selectedCol_ = std::max(std::min(selectedCol_ + 1, LastCellOfLine()), 0);
        return;
    }
    if (++selectedCol_ <= selection_.right) return;
    selectedCol_ = selection_.left;
    if (++selectedLine_ > selection_.bottom) selectedLine_ = selection_.top;
}

// Ends in-cell editing, or with Alt starts editing, or goes one line down
// (inside a selection past its bottom to its top in the next column).
void TQuickList::EnterKey(TShiftState shift) {
    if (inCellEditing_) {
        inCellEditing_ = false;
        return;
    }
    if (shift.Contains(ssAlt)) {
        StartCellEditing();
        return;
    }
    if (!HasCurrentCell()) return;
    if (!ValidSelection()) {
        selectedLine_ = std::min(selectedLine_ + 1, GetLineCount() - 1);
        anchorLine_ = selectedLine_;
        return;
    }
    if (++selectedLine_ <= selection_.bottom) return;
    selectedLine_ = selection_.top;
    if (++selectedCol_ > selection_.right) selectedCol_ = selection_.left;
}

void TQuickList::PageUpKey(TShiftState) {
    inCellEditing_ = false;
    if (!HasCurrentCell()) return;
    selectedLine_ = std::max(selectedLine_ - pageSize_, 0);
    SetBarPosition(vertBar_, vertBar_->GetPosition() - pageSize_);
}

void TQuickList::PageDownKey(TShiftState) {
    inCellEditing_ = false;
    if (!HasCurrentCell()) return;
    selectedLine_ = std::min(selectedLine_ + pageSize_, GetLineCount() - 1);
    SetBarPosition(vertBar_, selectedLine_ - pageSize_ / 2);
}

void TQuickList::EndKey(TShiftState shift) {
    inCellEditing_ = false;
    if (!HasCurrentCell()) return;
    if (shift.Contains(ssCtrl)) {
        selectedCol_ = 0;
        selectedLine_ = GetLineCount() - 1;
        SetBarPosition(vertBar_, vertBar_->GetMax());
        return;
    }
    selectedCol_ = std::max(LastCellOfLine(), 0);
    SetBarPosition(horzBar_, horzBar_->GetMax());
}

void TQuickList::HomeKey(TShiftState shift) {
    inCellEditing_ = false;
    if (!HasCurrentCell()) return;
    selectedCol_ = 0;
    SetBarPosition(horzBar_, 0);
    if (!shift.Contains(ssCtrl)) return;
    selectedLine_ = 0;
    SetBarPosition(vertBar_, 0);
}

TQuickList::TAxis TQuickList::ColumnAxis() {
    return TAxis{selectedCol_, selectedLine_,    anchorCol_,       anchorLine_, cornerCol_, cornerLine_,
                 int(selection_.left), int(selection_.right), LastCellOfLine(), horzBar_, true};
}

TQuickList::TAxis TQuickList::LineAxis() {
    return TAxis{selectedLine_,       selectedCol_,          anchorLine_,        anchorCol_, cornerLine_, cornerCol_,
                 int(selection_.top), int(selection_.bottom), GetLineCount() - 1, vertBar_,  false};
}

// In-cell editing keeps Left and Right for the caret; Up and Down end it.
void TQuickList::LeftKey(TShiftState shift) {
    if (inCellEditing_) {
        caretPosition_ = std::max(GetCaretPosition() - 1, 0);
        return;
    }
    if (HasCurrentCell()) StepBack(ColumnAxis(), shift);
}

void TQuickList::UpKey(TShiftState shift) {
    inCellEditing_ = false;
    if (HasCurrentCell()) StepBack(LineAxis(), shift);
}

void TQuickList::RightKey(TShiftState shift) {
    if (inCellEditing_) {
        caretPosition_ = std::min(GetCaretPosition() + 1, int(GetCell(selectedLine_, selectedCol_).size()));
        return;
    }
    if (HasCurrentCell()) StepForward(ColumnAxis(), shift);
}

void TQuickList::DownKey(TShiftState shift) {
    inCellEditing_ = false;
    if (HasCurrentCell()) StepForward(LineAxis(), shift);
}

// Ctrl moves inside a selection, or without one to the start; Shift grows
// or shrinks the selection at the edge the current cell is on, or starts one.
void TQuickList::StepBack(const TAxis& axis, TShiftState shift) {
    const bool selected = ValidSelection();
    if (shift.Contains(ssCtrl)) {
        if (selected) {
            axis.current = std::max(axis.current - 1, axis.low);
            return;
        }
        ReleaseSelection(false);
        axis.current = 0;
        SetBarPosition(axis.bar, 0);
        return;
    }
    if (!shift.Contains(ssShift)) {
        ReleaseSelection(false);
    } else if (axis.current > 0 && selected) {
        if (axis.current == axis.low)
            axis.anchor = axis.low - 1;
        else if (axis.current == axis.high)
            axis.corner = axis.high - 1;
    } else if (axis.current > 0) {
        axis.anchor = axis.current - 1;
        axis.otherAnchor = axis.other;
        axis.corner = axis.current;
        axis.otherCorner = axis.other;
    }
    axis.current = std::max(axis.current - 1, 0);
    const int firstShown = axis.columns ? GetFirstVisibleColX() : axis.bar->GetPosition();
    if (axis.current < firstShown) SetBarPosition(axis.bar, axis.bar->GetPosition() - 1);
}

// As StepBack the other way; once moved, the grid is painted, and a current
// cell that reaches past the view's edge (or was not painted) scrolls the
// bar on by one.
void TQuickList::StepForward(const TAxis& axis, TShiftState shift) {
    const bool selected = ValidSelection();
    if (shift.Contains(ssCtrl)) {
        if (selected) {
            axis.current = std::min(axis.current + 1, axis.high);
            return;
        }
        ReleaseSelection(false);
        axis.current = std::max(axis.last, 0);
        SetBarPosition(axis.bar, axis.columns ? VisibleColumnsBefore(axis.current) : axis.current);
        return;
    }
    if (!shift.Contains(ssShift)) {
        ReleaseSelection(false);
    } else if (axis.current < axis.last && selected) {
        if (axis.current == axis.high)
            axis.corner = axis.high + 1;
        else if (axis.current == axis.low)
            axis.anchor = axis.low + 1;
    } else if (axis.current < axis.last) {
        axis.anchor = axis.current;
        axis.otherAnchor = axis.other;
        axis.corner = axis.current + 1;
        axis.otherCorner = axis.other;
    }
    axis.current = std::max(std::min(axis.current + 1, axis.last), 0);
    DeriveSelection();
    RuntimePaint();
    const std::set<int>& painted = axis.columns ? paintedCols_ : paintedLines_;
    const int firstShown = axis.columns ? GetFirstVisibleColX() : axis.bar->GetPosition();
    const bool cut = axis.columns ? currentCellRect_.right >= GetClientWidth() - vertBar_->GetWidth() - 2
                                  : currentCellRect_.bottom >= GetClientHeight() - horzBar_->GetHeight() - 2;
    const bool unseen = !painted.empty() && painted.count(axis.current) == 0;
    if ((cut || unseen) && axis.current > firstShown) SetBarPosition(axis.bar, axis.bar->GetPosition() + 1);
}
