// TQuickList's mouse: clicks on cells and captions, selecting by dragging,
// resizing columns and lines at their borders with the info form, the popup
// menu, double clicks and the pointer's shapes.
#include <algorithm>
#include <utility>

#include "Edit.h"
#include "Menus.h"
#include "QuickList.h"
#include "QuickListInfoForm.h"
#include "ScrollBarControl.h"

namespace {

// The border recorded within 1 pixel of position, -1 when none.
int BorderNear(const std::map<int, TQuickListBorder>& borders, int position) {
    auto border = borders.lower_bound(position - 1);
    return border != borders.end() && border->first <= position + 1 ? border->first : -1;
}

}  // namespace

void TQuickList::MouseDown(TMouseButton button, TShiftState shift, int x, int y) {
    TCustomControl::MouseDown(button, shift, x, y);
    mousePosition_ = POINT{x, y};
    const bool afterHandledDoubleClick = shift.Contains(ssDouble) && doubleClickHandled_;
    doubleClickHandled_ = false;
    if (afterHandledDoubleClick) return;
    if (captionCursor_) ShowCursorShape(captionCursor_);
    if (editBox_->GetVisible()) StopCellEditing(VK_ESCAPE);
    if (!Focused() && CanFocus()) SetFocus();
    // Only a left press selects by dragging; a right one ends before its menu.
    mouseHeld_ = button == mbLeft;
    if (StartBorderDrag(button)) return;
    if (!PressLineCaption(button, x, y) && !PressColumnCaption(button, x, y))
        MoveCurrentCell(button, GetSelectedLine(x - 2, y - 2), GetSelectedCol(x - 2, y - 2));
    if (button == mbRight) OpenPopup(x, y);
}

// A left press on a border found by MouseMove starts resizing that column or line.
bool TQuickList::StartBorderDrag(TMouseButton button) {
    if (button != mbLeft) return false;
    if (auto border = colBorders_.find(colBorderUnder_); colBorderUnder_ >= 0 && border != colBorders_.end()) {
        colDrag_ = true;
        dragCol_ = border->second.index;
        dragStart_ = border->second.start;
    } else if (auto line = lineBorders_.find(lineBorderUnder_); lineBorderUnder_ >= 0 && line != lineBorders_.end()) {
        lineDrag_ = true;
        dragLine_ = line->second.index;
        dragStart_ = line->second.start;
    } else {
        return false;
    }
    if (showInfoForm_ && infoForm_) {
        RefreshInfoForm();
        infoForm_->ShowInfo();
    }
    if (TPopupMenu* menu = GetPopupMenu()) {
        SetPopupMenu(nullptr);
        popupAside_ = menu;
        FreeNotification(menu);
    }
    return true;
}

bool TQuickList::PressLineCaption(TMouseButton button, int x, int y) {
    const int line = GetSelectedLine(x - 2, y - 2);
    if (!OnLineCaption(x, line)) return false;
    selectedHeaderLine_ = line;
    if (OnLineClick) OnLineClick(this, line);
    if (selectLine_ && line < GetLineCount()) {
        const int last = int(lines_[size_t(line)].cells.size()) - 1;
        SetSelectionCorners(0, line, last, line, false);
        selectedLine_ = line;
        selectedCol_ = std::clamp(GetFirstVisibleColX(), 0, std::max(last, 0));
    }
    if (button == mbRight) EndMousePress();
    Refresh();
    return true;
}

bool TQuickList::PressColumnCaption(TMouseButton button, int x, int y) {
    const int col = GetSelectedCol(x - 2, y - 2);
    if (!OnColumnCaption(y, col)) return false;
    selectedHeaderCol_ = col;
    if (OnColClick) OnColClick(this, col);
    if (selectCol_ && GetLineCount() > 0) {
        SetSelectionCorners(col, 0, col, GetLineCount() - 1, false);
        selectedLine_ = std::clamp(vertBar_->GetPosition(), 0, GetLineCount() - 1);
        selectedCol_ = col;
    }
    if (button == mbRight) EndMousePress();
    Refresh();
    return true;
}

// Left presses move the current cell (each coordinate that has a cell under
// the pointer), right presses only outside a selection, middle ones never.
void TQuickList::MoveCurrentCell(TMouseButton button, int line, int col) {
    if (button == mbMiddle || (line < 0 && col < 0)) return;
    if (button == mbRight && CellInSelection(line, col)) return;
    const int oldLine = selectedLine_, oldCol = selectedCol_;
    if (line >= 0) selectedLine_ = anchorLine_ = line;
    if (col >= 0) selectedCol_ = anchorCol_ = col;
    cornerCol_ = cornerLine_ = -1;
    DeriveSelection();
    const bool moved = oldLine != selectedLine_ || oldCol != selectedCol_;
    if (moved && OnCellClick && selectedLine_ >= 0 && selectedCol_ >= 0) OnCellClick(this, selectedLine_, selectedCol_);
    Refresh();
}

// The menu's own loop takes the release, so the press ends first.
void TQuickList::OpenPopup(int x, int y) {
    EndMousePress();
    if (OnBeforePopup) OnBeforePopup(this);
    TPopupMenu* menu = GetPopupMenu();
    if (menu == nullptr) return;
    const POINT screen = ClientToScreen(POINT{x, y});
    menu->SetPopupComponent(this);
    menu->Popup(screen.x, screen.y);
}

void TQuickList::MouseMove(TShiftState shift, int x, int y) {
    TCustomControl::MouseMove(shift, x, y);
    mousePosition_ = POINT{x, y};
    if (editBox_->GetVisible()) return;
    if (colDrag_ || lineDrag_) {
        DragBorder(x, y);
        return;
    }
    if (mouseHeld_) {
        FollowPointer(x, y);
        return;
    }
    FindBorderUnder(x, y);
    captionCursor_ = nullptr;
    if (colBorderUnder_ >= 0) {
        ShowCursorShape(LoadCursorA(nullptr, IDC_SIZEWE));
    } else if (lineBorderUnder_ >= 0) {
        ShowCursorShape(LoadCursorA(nullptr, IDC_SIZENS));
    } else {
        const int line = GetSelectedLine(x - 2, y - 2), col = GetSelectedCol(x - 2, y - 2);
        if (selectLine_ && OnLineCaption(x, line)) captionCursor_ = rightArrowCursor_;
        if (selectCol_ && OnColumnCaption(y, col)) captionCursor_ = downArrowCursor_;
        ShowCursorShape(captionCursor_ ? captionCursor_ : LoadCursorA(nullptr, IDC_ARROW));
    }
}

bool TQuickList::OnLineCaption(int x, int line) const {
    return showLineCaption_ && line >= 0 && x - 2 >= 0 && x - 2 < LineCaptionExtent();
}

bool TQuickList::OnColumnCaption(int y, int col) const { return col >= 0 && y - 2 >= 0 && y - 2 < kCaptionHeight; }

void TQuickList::FindBorderUnder(int x, int y) {
    colBorderUnder_ = BorderNear(colBorders_, x - 2);
    lineBorderUnder_ = colBorderUnder_ >= 0 ? -1 : BorderNear(lineBorders_, y - 2);
}

void TQuickList::DragBorder(int x, int y) {
    if (colDrag_)
        SetColWidth(dragCol_, std::max(16, x - 2 - dragStart_), false);
    else
        SetLineHeight(dragLine_, y - 2 - dragStart_, false);
    Refresh();
    RefreshInfoForm();
}

// The moving corner follows the cell under the pointer.
void TQuickList::FollowPointer(int x, int y) {
    const int line = GetSelectedLine(x - 2, y - 2), col = GetSelectedCol(x - 2, y - 2);
    if (line < 0 || col < 0 || (line == cornerLine_ && col == cornerCol_)) return;
    cornerLine_ = line;
    cornerCol_ = col;
    DeriveSelection();
    Refresh();
}

void TQuickList::MouseUp(TMouseButton button, TShiftState shift, int x, int y) {
    TCustomControl::MouseUp(button, shift, x, y);
    mousePosition_ = POINT{x, y};
    EndMousePress();
}

// What a release does: the press and any drag end, the anchor takes the
// smaller column and line, the info form hides and the menu comes back.
void TQuickList::EndMousePress() {
    mouseHeld_ = colDrag_ = lineDrag_ = false;
    selectedHeaderLine_ = selectedHeaderCol_ = -1;
    if (anchorCol_ >= 0 && cornerCol_ >= 0 && anchorCol_ > cornerCol_) std::swap(anchorCol_, cornerCol_);
    if (anchorLine_ >= 0 && cornerLine_ >= 0 && anchorLine_ > cornerLine_) std::swap(anchorLine_, cornerLine_);
    if (!editBox_->GetVisible()) Refresh();
    if (infoForm_) infoForm_->HideInfo();
    if (popupAside_) {
        TPopupMenu* menu = std::exchange(popupAside_, nullptr);
        RemoveFreeNotification(menu);
        SetPopupMenu(menu);
    }
    captionCursor_ = nullptr;
}

// Inside the current cell: editing starts, or else OnCellDblClick runs; the
// mouse-down that follows the double click is then ignored.
void TQuickList::DblClick() {
    TCustomControl::DblClick();
    const RECT& cell = currentCellRect_;
    const POINT& at = mousePosition_;
    if (CellAt(selectedLine_, selectedCol_) == nullptr || at.x < cell.left || at.x > cell.right || at.y < cell.top ||
        at.y > cell.bottom)
        return;
    if (!StartCellEditing() && OnCellDblClick) OnCellDblClick(this, selectedLine_, selectedCol_);
    doubleClickHandled_ = true;
}

void TQuickList::Notification(TComponent* component, TOperation operation) {
    TCustomControl::Notification(component, operation);
    if (operation == opRemove && component == popupAside_) popupAside_ = nullptr;
}

void TQuickList::ShowCursorShape(HCURSOR cursor) {
    shownCursor_ = cursor;
    ::SetCursor(cursor);
}

// The shape chosen by the last move, over the client area.
void TQuickList::WMSetCursor(TMessage& message) {
    if (shownCursor_ && reinterpret_cast<HWND>(message.WParam) == GetHandle() && LOWORD(message.LParam) == HTCLIENT) {
        ::SetCursor(shownCursor_);
        message.Result = TRUE;
        return;
    }
    TCustomControl::WMSetCursor(message);
}
