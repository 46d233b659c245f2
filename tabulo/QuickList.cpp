// TQuickList: the line store (each line with its height and colours), columns
// and captions, the current cell and selection, the scroll bars, the geometry
// queries and the properties.
#include "QuickList.h"

#include <algorithm>
#include <cstdlib>
#include <ctime>
#include <iterator>

#include "Edit.h"
#include "Form.h"
#include "PropertyTable.h"
#include "QuickListFindReplaceInfo.h"
#include "QuickListInfoForm.h"
#include "Registration.h"
#include "ScrollBarControl.h"
#include "TabuloResources.h"
#include "TimerComponent.h"

TQuickList::TQuickList(TComponent* owner) : TCustomControl(owner) {
    SetBounds(GetLeft(), GetTop(), 48, 48);
    SetTabStop(true);
    std::srand(unsigned(std::time(nullptr)));
    fontTable_ = std::make_unique<TCHRTable>();
    LoadFont();
    for (TScrollBar** bar : {&horzBar_, &vertBar_}) {
        *bar = new TScrollBar(this);
        (*bar)->SetParent(this);
        (*bar)->SetTabStop(false);
        (*bar)->SetParams(0, 0, 0);
        (*bar)->OnChange = [this](TObject* sender) { ScrollBarChange(sender); };
    }
    vertBar_->SetKind(sbVertical);
    editBox_ = new TEdit(this);
    editBox_->SetVisible(false);
    editBox_->SetParent(this);
    editBox_->GetFont()->SetName(fontName_);
    editBox_->GetFont()->SetSize(fontSize_);
    editBox_->SetBounds(-editBox_->GetWidth(), 0, editBox_->GetWidth(), kDefaultLineHeight + 1);
    editBox_->OnKeyDown = [this](TObject* sender, WORD& key, TShiftState shift) { OnCellEditKeyDown(sender, key, shift); };
    editBox_->OnKeyPress = [this](TObject* sender, char& key) { OnCellEditKeyPress(sender, key); };
    // Enter and Escape end the box's editing even on a form with default and cancel buttons.
    editBox_->WindowProc = [edit = editBox_](TMessage& message) {
        edit->WndProc(message);
        if (message.Msg == WM_GETDLGCODE) message.Result |= DLGC_WANTALLKEYS;
    };
    findInfo_ = std::make_unique<TQuickListFindReplaceInfo>();
    if (!GetComponentState().Contains(csDesigning)) {
        caretTimer_ = new TTimer(this);
        caretTimer_->SetInterval(500);
        caretTimer_->SetOnTimer([this](TObject* sender) { OnCursorTimer(sender); });
        infoForm_ = new TQuickListInfoForm(this);
    }
    downArrowCursor_ = LoadCursorA(TabuloResourceModule(), "QUICK_LIST_DOWN_ARROW");
    rightArrowCursor_ = LoadCursorA(TabuloResourceModule(), "QUICK_LIST_RIGHT_ARROW");
    buffer_ = std::make_unique<TBitmap>();
    buffer_->SetPixelFormat(pf32bit);
    constructed_ = true;
}

TQuickList::~TQuickList() { Destroying(); }

void TQuickList::RefreshIf(bool refresh) {
    if (refresh) Refresh();
}

void TQuickList::LoadFont() { LoadCHRTable(*fontTable_, fontName_, fontSize_); }

// ---- Lines and their colours ----

const TQuickListColors* TQuickList::TLine::CellColours(int col) const {
    for (const auto& entry : cellColours)
        if (entry.first == col) return &entry.second;
    return nullptr;
}

void TQuickList::DropLinesFrom(int line) {
    if (line < GetLineCount()) lines_.erase(lines_.begin() + line, lines_.end());
}

void TQuickList::Clear(bool refresh) {
    captions_.clear();
    widths_.clear();
    lines_.clear();
    if (!refresh) return;
    SetBarMax(horzBar_, 0);
    SetBarMax(vertBar_, 0);
    Refresh();
}

void TQuickList::ClearCells(bool refresh) {
    lines_.clear();
    if (!refresh) return;
    SetBarMax(vertBar_, 0);
    Refresh();
}

void TQuickList::SetCaptions(const std::vector<std::string>& captions, bool refresh) {
    const int oldCount = GetColumnCount();
    captions_ = captions;
    SetColCount(GetColumnCount(), oldCount);
    RefreshIf(refresh);
}

void TQuickList::SetCaption(int col, const std::string& caption, bool refresh) {
    if (col < 0 || col >= GetColumnCount()) return;
    captions_[size_t(col)] = caption;
    RefreshIf(refresh);
}

void TQuickList::SetColWidth(int col, int width, bool refresh) {
    if (col < 0 || col >= GetColumnCount()) return;
    widths_[size_t(col)] = Extent(width);
    RefreshIf(refresh);
}

void TQuickList::SetColWidths(int width, bool refresh) {
    std::fill(widths_.begin(), widths_.end(), Extent(width));
    RefreshIf(refresh);
}

void TQuickList::SetColWidths(const std::vector<int>& widths, bool refresh) {
    if (widths.size() < widths_.size()) return;
    std::transform(widths.begin(), widths.begin() + std::ptrdiff_t(widths_.size()), widths_.begin(), Extent);
    RefreshIf(refresh);
}

void TQuickList::SetColCount(int, int oldCount) {
    const size_t count = captions_.size();
    for (TLine& line : lines_) line.cells.resize(count);
    widths_.resize(count);
    for (size_t col = size_t(std::max(oldCount, 0)); col < count; ++col) widths_[col] = kDefaultColumnWidth;
    SetHorzBarMax();
}

void TQuickList::SetHorzBarMax() {
    const int visible = int(std::count_if(widths_.begin(), widths_.end(), [](int width) { return width > 0; }));
    SetBarMax(horzBar_, std::max(0, visible - 1));
}

std::string* TQuickList::CellAt(int line, int col) {
    return const_cast<std::string*>(static_cast<const TQuickList*>(this)->CellAt(line, col));
}

const std::string* TQuickList::CellAt(int line, int col) const {
    if (line < 0 || line >= GetLineCount() || col < 0 || col >= GetColumnCount()) return nullptr;
    const std::vector<std::string>& cells = lines_[size_t(line)].cells;
    return size_t(col) < cells.size() ? &cells[size_t(col)] : nullptr;
}

void TQuickList::SetLine(int line, const std::vector<std::string>& cells, bool refresh) {
    if (line < 0 || line >= GetLineCount()) return;
    std::vector<std::string>& target = lines_[size_t(line)].cells;
    std::copy_n(cells.begin(), std::min(target.size(), cells.size()), target.begin());
    RefreshIf(refresh);
}

void TQuickList::SetCol(int col, const std::vector<std::string>& cells, bool refresh) {
    if (col < 0 || col >= GetColumnCount()) return;
    const size_t count = std::min(lines_.size(), cells.size());
    for (size_t line = 0; line < count; ++line)
        if (std::string* cell = CellAt(int(line), col)) *cell = cells[line];
    RefreshIf(refresh);
}

void TQuickList::SetCell(int line, int col, const std::string& text, bool refresh) {
    std::string* cell = CellAt(line, col);
    if (cell == nullptr) return;
    *cell = text;
    RefreshIf(refresh);
}

std::string TQuickList::GetCell(int line, int col) const {
    const std::string* cell = CellAt(line, col);
    return cell ? *cell : std::string();
}

void TQuickList::AppendLine(const std::vector<std::string>& cells, bool refresh) {
    if (maxLines_ == 0) return;
    while (maxLines_ > 0 && GetLineCount() >= maxLines_) lines_.pop_front();
    lines_.emplace_back(cells);
    lines_.back().cells.resize(captions_.size());
    if (!refresh) return;
    SetBarMax(vertBar_, GetLineCount() - 1);
    if (showLastLine_) SetVertBarPosition();
    Refresh();
}

void TQuickList::DeleteLine(int line, bool refresh) {
    if (line < 0 || line >= GetLineCount()) return;
    lines_.erase(lines_.begin() + line);
    if (selectedLine_ >= line) --selectedLine_;
    RefreshIf(refresh);
}

void TQuickList::DeleteCol(int col, bool refresh) {
    if (lines_.empty() || col < 0 || size_t(col) >= lines_.front().cells.size()) return;
    for (TLine& line : lines_)
        if (size_t(col) < line.cells.size()) line.cells.erase(line.cells.begin() + col);
    if (selectedCol_ >= col) --selectedCol_;
    RefreshIf(refresh);
}

void TQuickList::SetColVisibility(int col, bool visible, bool refresh) {
    if (col < 0 || col >= GetColumnCount()) return;
    int& width = widths_[size_t(col)];
    if (!visible && width > 0) width = -width;
    if (visible && width <= 0) width = width == 0 ? kDefaultColumnWidth : -width;
    if (!refresh) return;
    SetHorzBarMax();
    Refresh();
}

void TQuickList::InvertColVisibility(int col, bool refresh) {
    if (col < 0 || col >= GetColumnCount()) return;
    widths_[size_t(col)] = -widths_[size_t(col)];
    if (!refresh) return;
    SetHorzBarMax();
    Refresh();
}

void TQuickList::SetLineColor(int line, int background, int text, bool refresh) {
    line = LineOf(line);
    if (line < 0 || line >= GetLineCount()) return;
    TLine& target = lines_[size_t(line)];
    target.coloured = true;
    target.colours = TQuickListColors{background, text};
    RefreshIf(refresh);
}

void TQuickList::SetCellColor(int line, int col, int background, int text, bool refresh) {
    line = LineOf(line);
    if (line < 0 || line >= GetLineCount() || col < 0 || col >= GetColumnCount()) return;
    auto& entries = lines_[size_t(line)].cellColours;
    const TQuickListColors colours{background, text};
    auto entry = std::find_if(entries.begin(), entries.end(), [col](const auto& e) { return e.first == col; });
    if (entry != entries.end())
        entry->second = colours;
    else
        entries.push_back({col, colours});
    RefreshIf(refresh);
}

bool TQuickList::GetLineColor(int line, TQuickListColors& colours) const {
    if (line < 0 || line >= GetLineCount() || !lines_[size_t(line)].coloured) return false;
    colours = lines_[size_t(line)].colours;
    return true;
}

bool TQuickList::GetCellColor(int line, int col, TQuickListColors& colours) const {
    if (line < 0 || line >= GetLineCount()) return false;
    const TQuickListColors* found = lines_[size_t(line)].CellColours(col);
    if (found == nullptr) return false;
    colours = *found;
    return true;
}

int TQuickList::GetColCount() const { return lines_.empty() ? -1 : int(lines_.front().cells.size()); }

int TQuickList::GetColWidth(int col) const {
    return col < 0 || col >= GetColumnCount() ? 0 : widths_[size_t(col)];
}

int TQuickList::GetLineHeight(int line) const {
    return line < 0 || line >= GetLineCount() ? 0 : lines_[size_t(line)].height;
}

void TQuickList::SetLineHeight(int line, int height, bool refresh) {
    if (line < 0 || line >= GetLineCount()) return;
    lines_[size_t(line)].height = std::clamp(height, int(kDefaultLineHeight), kLargestExtent);
    RefreshIf(refresh);
}

// ---- Selection ----

bool TQuickList::ValidSelection() const {
    return selection_.left != -1 && selection_.top != -1 && selection_.right != -1 && selection_.bottom != -1;
}

bool TQuickList::GetSelection(RECT& rect) const {
    if (ValidSelection()) {
        rect = selection_;
        return true;
    }
    rect = RECT{selectedCol_, selectedLine_, selectedCol_, selectedLine_};
    return false;
}

bool TQuickList::CellInSelection(int line, int col) const {
    return ValidSelection() && col >= selection_.left && col <= selection_.right && line >= selection_.top &&
           line <= selection_.bottom;
}

void TQuickList::ReleaseSelection(bool refresh) {
    anchorCol_ = anchorLine_ = cornerCol_ = cornerLine_ = -1;
    selection_ = RECT{-1, -1, -1, -1};
    RefreshIf(refresh);
}

void TQuickList::SetSelectionCorners(int anchorCol, int anchorLine, int cornerCol, int cornerLine, bool refresh) {
    anchorCol_ = anchorCol;
    anchorLine_ = anchorLine;
    cornerCol_ = cornerCol;
    cornerLine_ = cornerLine;
    DeriveSelection();
    RefreshIf(refresh);
}

void TQuickList::GetSelectionCorners(int& anchorCol, int& anchorLine, int& cornerCol, int& cornerLine) const {
    anchorCol = anchorCol_;
    anchorLine = anchorLine_;
    cornerCol = cornerCol_;
    cornerLine = cornerLine_;
}

// The selection spans the anchor and the moving corner; a single cell is none.
void TQuickList::DeriveSelection() {
    if (anchorCol_ == -1 || anchorLine_ == -1 || cornerCol_ == -1 || cornerLine_ == -1) {
        selection_ = RECT{-1, -1, -1, -1};
        return;
    }
    selection_ = RECT{std::min(anchorCol_, cornerCol_), std::min(anchorLine_, cornerLine_),
                      std::max(anchorCol_, cornerCol_), std::max(anchorLine_, cornerLine_)};
    if (selection_.left == selection_.right && selection_.top == selection_.bottom) selection_ = RECT{-1, -1, -1, -1};
}

// ---- Geometry ----

int TQuickList::GetSelectedLine(int, int y) const {
    const int areaHeight = GetClientHeight() - horzBar_->GetHeight() - 4;
    int top = kCaptionHeight + 1;
    for (int line = std::max(vertBar_->GetPosition(), 0); line < GetLineCount() && top < areaHeight; ++line) {
        const int height = lines_[size_t(line)].height;
        if (y >= top && y <= top + height) return line;
        top += height + 1;
    }
    return -1;
}

int TQuickList::GetSelectedCol(int x, int) const {
    const int areaWidth = GetClientWidth() - vertBar_->GetWidth() - 4;
    int left = showLineCaption_ ? LineCaptionExtent() + 1 : 0;
    if (x < left) return -1;
    for (int col = GetFirstVisibleColX(); col < GetColumnCount() && left < areaWidth; ++col) {
        const int width = widths_[size_t(col)];
        if (width <= 0) continue;
        if (x <= left + width) return col;
        left += width + 1;
    }
    return -1;
}

int TQuickList::GetFirstVisibleColX() const {
    int toSkip = horzBar_->GetPosition();
    for (int col = 0; col < GetColumnCount(); ++col) {
        if (widths_[size_t(col)] <= 0) continue;
        if (toSkip-- <= 0) return col;
    }
    return GetColumnCount();
}

void TQuickList::SetVertBarPosition() {
    const int available = GetClientHeight() - horzBar_->GetHeight() - kCaptionHeight - 5;
    const int row = kDefaultLineHeight + 1;
    if (int64_t(GetLineCount()) * row - 1 <= available) return;
    SetBarPosition(vertBar_, vertBar_->GetMax() - available / row + 1);
}

void TQuickList::CenterDlg(TForm* form) {
    if (form == nullptr) return;
    POINT topLeft{GetLeft(), GetTop()}, bottomRight{GetLeft() + GetWidth() - 1, GetTop() + GetHeight() - 1};
    if (TWinControl* parent = GetParent()) {
        topLeft = parent->ClientToScreen(topLeft);
        bottomRight = parent->ClientToScreen(bottomRight);
    }
    form->SetBounds(topLeft.x + (bottomRight.x - topLeft.x - form->GetWidth()) / 2,
                    topLeft.y + (bottomRight.y - topLeft.y - form->GetHeight()) / 2, form->GetWidth(),
                    form->GetHeight());
}

// ---- Scroll bars, size and messages ----

void TQuickList::SetBarMax(TScrollBar* bar, int max) {
    adjustingBars_ = true;
    bar->SetMax(max);
    adjustingBars_ = false;
}

void TQuickList::SetBarPosition(TScrollBar* bar, int position) {
    adjustingBars_ = true;
    bar->SetPosition(position);
    adjustingBars_ = false;
}

void TQuickList::ScrollBarChange(TObject*) {
    if (adjustingBars_) return;
    Refresh();
    if (HandleAllocated() && CanFocus()) SetFocus();
}

void TQuickList::SetupBuffer() {
    const int width = GetClientWidth() - vertBar_->GetWidth();
    const int height = GetClientHeight() - horzBar_->GetHeight();
    if (width > 0 && height > 0) buffer_->SetSize(width, height);
}

void TQuickList::PlaceScrollBars() {
    const int width = GetClientWidth(), height = GetClientHeight();
    const int barWidth = vertBar_->GetWidth(), barHeight = horzBar_->GetHeight();
    horzBar_->SetBounds(0, height - barHeight, std::max(width - barWidth, 0), barHeight);
    vertBar_->SetBounds(width - barWidth, 0, barWidth, std::max(height - barHeight, 0));
}

void TQuickList::Resize() {
    if (Ready()) {
        SetupBuffer();
        if (!GetComponentState().Contains(csDesigning)) RuntimePaint();
        PlaceScrollBars();
    }
    TCustomControl::Resize();
}

void TQuickList::WMSize(TMessage&) { Resize(); }

void TQuickList::WMEraseBkgnd(TMessage& message) { message.Result = 1; }

// 0x83: characters, Tab and the arrows go to the grid, not to dialog navigation.
void TQuickList::WMGetDlgCode(TMessage& message) { message.Result = DLGC_WANTCHARS | DLGC_WANTTAB | DLGC_WANTARROWS; }

// ---- Editing and undo ----

bool TQuickList::IsCellEditable() {
    bool editable = true;
    if (OnCellEditable) OnCellEditable(this, selectedLine_, selectedCol_, editable);
    return editable;
}

void TQuickList::RegisterUndoData() {
    if (undoSize_ <= 0) {
        undoList_.clear();
        return;
    }
    while (int64_t(undoList_.size()) >= undoSize_) undoList_.pop_front();
    undoList_.push_back(TUndoData{selectedLine_, selectedCol_, GetCell(selectedLine_, selectedCol_)});
}

// ---- Properties ----

template <class Field, class Value>
void TQuickList::Change(Field& field, Value value) {
    field = value;
    Refresh();
}

void TQuickList::SetColumnCount(int count) {
    if (count < 0) return;
    const int oldCount = GetColumnCount();
    captions_.resize(size_t(count));
    SetColCount(count, oldCount);
    Refresh();
}

void TQuickList::SetCellLines(int count) {
    if (count < 0) return;
    DropLinesFrom(count);
    while (GetLineCount() < count) lines_.emplace_back(std::vector<std::string>(captions_.size()));
    SetBarMax(vertBar_, std::max(0, GetLineCount() - 1));
    Refresh();
}

void TQuickList::SetMaxLines(int count) {
    maxLines_ = count;
    if (count >= 0) DropLinesFrom(count);
    SetBarMax(vertBar_, std::max(0, GetLineCount() - 1));
    Refresh();
}

void TQuickList::SetSelectedLine(int line) {
    if (line < 0 || line >= GetLineCount()) return;
    ReleaseSelection(false);
    Change(selectedLine_, line);
}

void TQuickList::SetSelectedCol(int col) {
    if (col < 0 || col >= GetColCount()) return;
    ReleaseSelection(false);
    Change(selectedCol_, col);
}

void TQuickList::SetShowLastLine(bool show) {
    showLastLine_ = show;
    if (show) SetVertBarPosition();
    Refresh();
}

void TQuickList::SetShowLineCaption(bool show) { Change(showLineCaption_, show); }
void TQuickList::SetShowLineNumber(bool show) { Change(showLineNumber_, show); }
void TQuickList::SetShowSelTop(bool show) { Change(showSelTop_, show); }
void TQuickList::SetShowSelLeft(bool show) { Change(showSelLeft_, show); }
void TQuickList::SetLineCaptionWidth(int width) { Change(lineCaptionWidth_, width); }
void TQuickList::SetSelectedFrameColor(TColor colour) { Change(selectedFrameColor_, colour); }
void TQuickList::SetSelectedFrameWidth(int width) { Change(selectedFrameWidth_, width); }
void TQuickList::SetEditCursor(bool blink) { Change(editCursor_, blink); }

void TQuickList::SetFontName(const std::string& font) {
    fontName_ = font;
    LoadFont();
    editBox_->GetFont()->SetName(font);
    Refresh();
}

void TQuickList::SetFontSize(int size) {
    fontSize_ = size;
    LoadFont();
    editBox_->GetFont()->SetSize(size);
    Refresh();
}

namespace {

const TIdentifier kEditModeNames[] = {{"qleString", qleString}, {"qleInteger", qleInteger}, {"qleFloat", qleFloat}};
const TIdentifierList kEditModes{kEditModeNames, std::size(kEditModeNames)};

// A property that a form shows but never stores or sets.
#define QUICK_LIST_READ_ONLY_PROPERTY(Name)                                                                   \
    NotStored(TPropertyInfo{#Name, TPropertyType::Integer, nullptr, 0, nullptr, true, nullptr,                 \
                            [](const TPersistent* object) -> int64_t {                                         \
                                return static_cast<const TQuickList*>(object)->Get##Name();                    \
                            },                                                                                 \
                            [](TPersistent*, int64_t) {}, nullptr, nullptr, nullptr, nullptr, nullptr})

const TPropertyInfo kQuickListProperties[] = {
    CLASSLIB_INTEGER_PROPERTY(TQuickList, ColumnCount, 0),
    CLASSLIB_INTEGER_PROPERTY(TQuickList, CellLines, 0),
    CLASSLIB_INTEGER_PROPERTY(TQuickList, MaxLines, -1),
    // Declared 0 while a new grid has -1 (no current cell): always stored,
    // so that a load gives -1 back.
    NoDefault(CLASSLIB_INTEGER_PROPERTY(TQuickList, SelectedLine, 0)),
    NoDefault(CLASSLIB_INTEGER_PROPERTY(TQuickList, SelectedCol, 0)),
    QUICK_LIST_READ_ONLY_PROPERTY(SelectedHeaderLine),
    QUICK_LIST_READ_ONLY_PROPERTY(SelectedHeaderCol),
    CLASSLIB_INTEGER_PROPERTY(TQuickList, UndoSize, 256),
    CLASSLIB_BOOLEAN_PROPERTY(TQuickList, ShowLastLine, false),
    CLASSLIB_BOOLEAN_PROPERTY(TQuickList, ShowLineCaption, false),
    CLASSLIB_BOOLEAN_PROPERTY(TQuickList, ShowLineNumber, false),
    CLASSLIB_BOOLEAN_PROPERTY(TQuickList, ShowSelTop, false),
    CLASSLIB_BOOLEAN_PROPERTY(TQuickList, ShowSelLeft, false),
    CLASSLIB_INTEGER_PROPERTY(TQuickList, LineCaptionWidth, 50),
    CLASSLIB_BOOLEAN_PROPERTY(TQuickList, ShowSelectedLine, false),
    CLASSLIB_BOOLEAN_PROPERTY(TQuickList, ShowSelectedCol, false),
    CLASSLIB_NAMED_INTEGER_PROPERTY(TQuickList, SelectedFrameColor, clBlack, &ColorIdentifiers),
    CLASSLIB_INTEGER_PROPERTY(TQuickList, SelectedFrameWidth, 3),
    CLASSLIB_BOOLEAN_PROPERTY(TQuickList, Edit, false),
    CLASSLIB_BOOLEAN_PROPERTY(TQuickList, EditInCell, false),
    CLASSLIB_ENUM_PROPERTY(TQuickList, EditMode, TQuickListEditMode, qleString, &kEditModes),
    CLASSLIB_BOOLEAN_PROPERTY(TQuickList, EditCursor, false),
    CLASSLIB_BOOLEAN_PROPERTY(TQuickList, SelectLine, false),
    CLASSLIB_BOOLEAN_PROPERTY(TQuickList, SelectCol, false),
    // The character table's name; it takes the place of the control's font
    // object, and having no declared default it is always stored.
    NoDefault(TPropertyInfo{"Font", TPropertyType::String, nullptr, 0, "", true, nullptr, nullptr, nullptr,
                            [](const TPersistent* object) -> std::string {
                                return static_cast<const TQuickList*>(object)->GetFontName();
                            },
                            [](TPersistent* object, const std::string& value) {
                                static_cast<TQuickList*>(object)->SetFontName(value);
                            },
                            nullptr, nullptr, nullptr}),
    CLASSLIB_INTEGER_PROPERTY(TQuickList, FontSize, 10),
    CLASSLIB_BOOLEAN_PROPERTY(TQuickList, ShowInfoForm, true),
    CLASSLIB_EVENT_PROPERTY(TQuickList, OnBeforePopup, TQuickListNotifyEvent),
    CLASSLIB_EVENT_PROPERTY(TQuickList, OnColClick, TQuickListItemEvent),
    CLASSLIB_EVENT_PROPERTY(TQuickList, OnLineClick, TQuickListItemEvent),
    CLASSLIB_EVENT_PROPERTY(TQuickList, OnCellClick, TQuickListCellEvent),
    CLASSLIB_EVENT_PROPERTY(TQuickList, OnCellDblClick, TQuickListCellEvent),
    CLASSLIB_EVENT_PROPERTY(TQuickList, OnCellChanged, TQuickListCellChangedEvent),
    CLASSLIB_EVENT_PROPERTY(TQuickList, OnCellBkPaint, TQuickListCellPaintEvent),
    CLASSLIB_EVENT_PROPERTY(TQuickList, OnCellPaint, TQuickListCellPaintEvent),
    CLASSLIB_EVENT_PROPERTY(TQuickList, OnCellEditable, TQuickListCellEditableEvent),
};

#undef QUICK_LIST_READ_ONLY_PROPERTY

}  // namespace

void RegisterQuickListProperties() { RegisterPropertyTable(TQuickList::StaticClassInfo(), kQuickListProperties); }

void RegisterQuickList() { RegisterComponents("Statora", {ComponentClass<TQuickList>()}); }
