// TQuickList's find and replace: the dialogs, the search through the range
// with its wrap and its report, the replacement with its confirmation, and
// the drag information form.
#include <algorithm>
#include <memory>
#include <string>

#include "QuickList.h"
#include "QuickListFindDlg.h"
#include "QuickListFindReplaceInfo.h"
#include "QuickListInfoForm.h"
#include "QuickListReplaceConfirmDlg.h"
#include "QuickListReplaceDlg.h"
#include "ScrollBarControl.h"

namespace {

int64_t CellsIn(const RECT& range) {
    return int64_t(range.right - range.left + 1) * int64_t(range.bottom - range.top + 1);
}

// One cell on: right, past the right edge to the left edge of the next line,
// past the bottom line back to the top line.
void Advance(TQuickListFindReplaceInfo& info, const RECT& range) {
    if (++info.col <= range.right) return;
    info.col = range.left;
    if (++info.line > range.bottom) info.line = range.top;
}

}  // namespace

void TQuickList::Find() {
    auto dialog = std::make_unique<TQuickListFindDlg>(nullptr);
    CenterDlg(dialog.get());
    dialog->Load(*findInfo_);
    if (dialog->ShowModal() != mrOk) return;
    dialog->Store(*findInfo_);
    dialog.reset();
    findInfo_->line = findInfo_->col = 0;
    findInfo_->replace = false;
    FindNext(true);
}

void TQuickList::Replace() {
    auto dialog = std::make_unique<TQuickListReplaceDlg>(nullptr);
    CenterDlg(dialog.get());
    dialog->Load(*findInfo_);
    const TModalResult result = dialog->ShowModal();
    if (result != mrOk && result != mrYes) return;
    dialog->Store(*findInfo_);
    dialog.reset();
    findInfo_->line = findInfo_->col = 0;
    findInfo_->replace = findInfo_->confirm = true;
    if (result == mrOk)
        FindNext(true);
    else
        ReplaceAll();
}

// One pass of the range from its top-left: a replacement that matches again,
// or a match answered "&No", is not found a second time.
void TQuickList::ReplaceAll() {
    RECT range;
    if (!SearchRange(range)) return;
    int64_t cellsLeft = CellsIn(range);
    bool report = true;
    while (cellsLeft > 0 && SearchFrom(report, &cellsLeft)) report = false;
}

bool TQuickList::FindNext(bool report) { return SearchFrom(report, nullptr); }

bool TQuickList::SearchRange(RECT& range) const {
    if (lines_.empty() || lines_.front().cells.empty()) return false;
    const RECT whole{0, 0, LONG(lines_.front().cells.size()) - 1, GetLineCount() - 1};
    if (!ValidSelection()) {
        range = whole;
        return true;
    }
    range = RECT{std::max(selection_.left, whole.left), std::max(selection_.top, whole.top),
                 std::min(selection_.right, whole.right), std::min(selection_.bottom, whole.bottom)};
    return range.left <= range.right && range.top <= range.bottom;
}

bool TQuickList::SearchFrom(bool report, int64_t* cellsLeft) {
    RECT range;
    if (!SearchRange(range)) return false;
    TQuickListFindReplaceInfo& info = *findInfo_;
    const int startLine = info.line, startCol = info.col;
    if (info.line < range.top || info.line > range.bottom) info.line = range.top;
    if (info.col < range.left || info.col > range.right) info.col = range.left;
    const TQuickListCellMatcher matcher(info.findText, info.caseSensitive, info.wholeText);
    const std::string missing;
    int64_t toVisit = CellsIn(range);
    if (cellsLeft) toVisit = std::min(toVisit, *cellsLeft);
    for (int64_t visited = 0; visited < toVisit; ++visited) {
        const int line = info.line, col = info.col;
        const std::string* cell = CellAt(line, col);
        Advance(info, range);
        if (!matcher.Matches(cell ? *cell : missing)) continue;
        if (cellsLeft) *cellsLeft -= visited + 1;
        ShowMatch(line, col);
        return !info.replace || ConfirmAndReplace(line, col);
    }
    if (cellsLeft) *cellsLeft -= toVisit;
    if (report) ReportMiss();
    info.line = startLine;
    info.col = startCol;
    return false;
}

int TQuickList::VisibleColumnsBefore(int col) const {
    const auto end = widths_.begin() + std::clamp(col, 0, GetColumnCount());
    return int(std::count_if(widths_.begin(), end, [](int width) { return width > 0; }));
}

// The bars' ranges are brought up to date first: lines appended without a
// repaint would otherwise keep the position short of the match.
void TQuickList::ShowMatch(int line, int col) {
    SetBarMax(vertBar_, GetLineCount() - 1);
    SetHorzBarMax();
    if (paintedLines_.count(line) == 0) SetBarPosition(vertBar_, line);
    if (paintedCols_.count(col) == 0) SetBarPosition(horzBar_, VisibleColumnsBefore(col));
    selectedLine_ = line;
    selectedCol_ = col;
    Refresh();
}

bool TQuickList::ConfirmAndReplace(int line, int col) {
    TQuickListFindReplaceInfo& info = *findInfo_;
    if (info.confirm) {
        auto dialog = std::make_unique<TQuickListReplaceConfirmDlg>(nullptr);
        CenterDlg(dialog.get());
        switch (dialog->ShowModal()) {
            case TQuickListReplaceConfirmDlg::kYes: break;
            case TQuickListReplaceConfirmDlg::kAll: info.confirm = false; break;
            case TQuickListReplaceConfirmDlg::kNo: return true;
            default: return false;
        }
    }
    if (std::string* cell = CellAt(line, col)) *cell = info.replaceText;
    Refresh();
    return true;
}

// The text to find is the message's argument, never its format.
void TQuickList::ReportMiss() {
    const std::string text = "Search string '" + findInfo_->findText + "' not found";
    TWinControl* parent = GetParent();
    HWND owner = parent && parent->HandleAllocated() ? parent->GetHandle() : nullptr;
    MessageBoxA(owner, text.c_str(), "Find", MB_OK | MB_ICONINFORMATION);
}

void TQuickList::GetFindHistory(std::vector<std::string>& history) const {
    history.insert(history.end(), findInfo_->findHistory.begin(), findInfo_->findHistory.end());
}

void TQuickList::GetReplaceHistory(std::vector<std::string>& history) const {
    history.insert(history.end(), findInfo_->replaceHistory.begin(), findInfo_->replaceHistory.end());
}

void TQuickList::RefreshInfoForm() {
    if (infoForm_ == nullptr) return;
    std::string text;
    if (colDrag_)
        text = "Width = " + std::to_string(GetColWidth(dragCol_));
    else if (lineDrag_)
        text = "Height = " + std::to_string(GetLineHeight(dragLine_));
    else
        return;
    const POINT screen = ClientToScreen(mousePosition_);
    infoForm_->SetInfo(text, POINT{screen.x + 4, screen.y + 4});
}
