// TCustomEdit, TEdit, TMemoStrings and TMemo.
#include "Edit.h"

#include <algorithm>
#include <cctype>
#include <iterator>

#include "ClipboardText.h"
#include "ControlDrawing.h"
#include "Exceptions.h"
#include "PropertyTable.h"

namespace {

const int kBorder = 2;
const int kInnerMargin = 1;

bool IsWordByte(char c) {
    auto byte = static_cast<unsigned char>(c);
    return std::isalnum(byte) || c == '_' || byte >= 0x80;
}

// Text as a single-line box takes it from the clipboard: up to the first line break.
std::string FirstLine(const std::string& text) { return text.substr(0, text.find_first_of("\r\n")); }

// Line breaks of any kind become CR LF.
std::string WithCrLf(const std::string& text) {
    std::string out;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\r') {
            out += "\r\n";
            if (i + 1 < text.size() && text[i + 1] == '\n') ++i;
        } else if (text[i] == '\n') {
            out += "\r\n";
        } else {
            out += text[i];
        }
    }
    return out;
}

// Measures widths with the control's font on a memory DC (no window needed).
class TextMeter {
public:
    explicit TextMeter(TFont* font) : dc_(CreateCompatibleDC(nullptr)) { previous_ = SelectObject(dc_, font->GetHandle()); }
    ~TextMeter() {
        SelectObject(dc_, previous_);
        DeleteDC(dc_);
    }
    TextMeter(const TextMeter&) = delete;
    TextMeter& operator=(const TextMeter&) = delete;
    int Width(const char* text, int length) const {
        SIZE size{0, 0};
        if (length > 0) GetTextExtentPoint32A(dc_, text, length, &size);
        return size.cx;
    }

private:
    HDC dc_;
    HGDIOBJ previous_;
};

}  // namespace

// ---- TCustomEdit ----

TCustomEdit::TCustomEdit(TComponent* owner) : TCustomControl(owner) {
    SetTabStop(true);
    SetColor(clWindow);
    SetCursor(crIBeam);
}

TCustomEdit::~TCustomEdit() { Destroying(); }

void TCustomEdit::SetText(const std::string& text) {
    if (text == text_) return;
    text_ = text;
    anchor_ = caret_ = 0;
    scrollX_ = 0;
    topRow_ = 0;
    InvalidateLayout();
    Change();
}

void TCustomEdit::SetReadOnly(bool readOnly) {
    if (readOnly == readOnly_) return;
    readOnly_ = readOnly;
}

int TCustomEdit::GetSelStart() const { return std::min(anchor_, caret_); }

int TCustomEdit::GetSelLength() const { return std::abs(caret_ - anchor_); }

void TCustomEdit::SetSelStart(int start) {
    int position = std::clamp(start, 0, static_cast<int>(text_.size()));
    anchor_ = caret_ = position;
    ScrollCaretIntoView();
    Invalidate();
}

void TCustomEdit::SetSelLength(int length) {
    int start = GetSelStart();
    int end = std::clamp(start + length, 0, static_cast<int>(text_.size()));
    anchor_ = start;
    caret_ = end;
    ScrollCaretIntoView();
    Invalidate();
}

std::string TCustomEdit::GetSelText() const { return text_.substr(GetSelStart(), GetSelLength()); }

void TCustomEdit::SetSelText(const std::string& text) {
    std::string inserted = IsMultiLine() ? WithCrLf(text) : text;
    ReplaceRange(GetSelStart(), GetSelStart() + GetSelLength(), inserted);
}

void TCustomEdit::SelectAll() {
    anchor_ = 0;
    caret_ = static_cast<int>(text_.size());
    ScrollCaretIntoView();
    Invalidate();
}

void TCustomEdit::ClearSelection() {
    if (GetSelLength() > 0) ReplaceRange(GetSelStart(), GetSelStart() + GetSelLength(), "");
}

void TCustomEdit::CopyToClipboard() {
    if (GetSelLength() > 0) SetClipboardText(GetSelText());
}

void TCustomEdit::CutToClipboard() {
    if (readOnly_ || GetSelLength() == 0) return;
    CopyToClipboard();
    ClearSelection();
}

void TCustomEdit::PasteFromClipboard() {
    if (readOnly_) return;
    std::string text = GetClipboardText();
    InsertTyped(IsMultiLine() ? WithCrLf(text) : FirstLine(text));
}

bool TCustomEdit::InsertTyped(const std::string& text) {
    if (readOnly_) return false;
    std::string inserted = text;
    if (maxLength_ > 0) {
        int room = maxLength_ - (static_cast<int>(text_.size()) - GetSelLength());
        if (room < static_cast<int>(inserted.size())) {
            inserted.resize(std::max(room, 0));
            // Never keep half of a line break.
            if (!inserted.empty() && inserted.back() == '\r') inserted.pop_back();
        }
        if (inserted.empty() && !text.empty()) {
            MessageBeep(0);
            return false;
        }
    }
    ReplaceRange(GetSelStart(), GetSelStart() + GetSelLength(), inserted);
    return true;
}

void TCustomEdit::ReplaceRange(int start, int end, const std::string& text) {
    if (start == end && text.empty()) return;
    text_.replace(start, end - start, text);
    anchor_ = caret_ = start + static_cast<int>(text.size());
    desiredX_ = -1;
    InvalidateLayout();
    ScrollCaretIntoView();
    Change();
}

void TCustomEdit::Change() {
    if (GetComponentState().Contains(csLoading)) return;
    if (OnChange) OnChange(this);
}

// ---- Layout ----

void TCustomEdit::InvalidateLayout() {
    layoutValid_ = false;
    Invalidate();
}

RECT TCustomEdit::TextArea() {
    RECT client = GetClientRect();
    int inset = kBorder + kInnerMargin;
    RECT area{client.left + inset, client.top + inset, std::max<LONG>(client.right - inset, client.left + inset),
              std::max<LONG>(client.bottom - inset, client.top + inset)};
    // A single line sits in the middle of a box taller than it.
    if (!IsMultiLine()) area.top = std::max<LONG>(area.top, (client.bottom - LineHeight()) / 2);
    return area;
}

int TCustomEdit::LineHeight() { return std::max(FontLineHeight(GetFont()), 1); }

const std::vector<TCustomEdit::Row>& TCustomEdit::Rows() {
    if (layoutValid_) return rows_;
    rows_.clear();
    if (!IsMultiLine()) {
        rows_.push_back(Row{0, static_cast<int>(text_.size())});
        layoutValid_ = true;
        return rows_;
    }
    TextMeter meter(GetFont());
    RECT area = TextArea();
    int width = area.right - area.left;
    int lineStart = 0;
    int size = static_cast<int>(text_.size());
    while (true) {
        std::size_t found = text_.find("\r\n", lineStart);
        int lineEnd = found == std::string::npos ? size : static_cast<int>(found);
        int rowStart = lineStart;
        // Break the line between words while it is wider than the box.
        while (WrapsWords() && width > 0 && rowStart < lineEnd &&
               meter.Width(text_.data() + rowStart, lineEnd - rowStart) > width) {
            int fit = rowStart + 1;
            while (fit < lineEnd && meter.Width(text_.data() + rowStart, fit + 1 - rowStart) <= width) ++fit;
            int breakAt = fit;
            while (breakAt > rowStart && text_[breakAt] != ' ' && text_[breakAt - 1] != ' ') --breakAt;
            if (breakAt == rowStart) breakAt = fit;
            while (breakAt < lineEnd && text_[breakAt] == ' ') ++breakAt;
            rows_.push_back(Row{rowStart, breakAt - rowStart});
            rowStart = breakAt;
        }
        rows_.push_back(Row{rowStart, lineEnd - rowStart});
        if (found == std::string::npos) break;
        lineStart = lineEnd + 2;
    }
    layoutValid_ = true;
    LayoutChanged();
    return rows_;
}

int TCustomEdit::TextWidth(int start, int length) {
    TextMeter meter(GetFont());
    return meter.Width(text_.data() + start, length);
}

// The row holding position; a position at a wrap point belongs to the next row.
int TCustomEdit::RowOf(int position) {
    const std::vector<Row>& rows = Rows();
    for (int i = static_cast<int>(rows.size()) - 1; i >= 0; --i)
        if (position >= rows[i].start) return i;
    return 0;
}

// The position in row nearest to x pixels from the row's start.
int TCustomEdit::RowPosition(int row, int x) {
    const Row& line = Rows()[row];
    TextMeter meter(GetFont());
    int best = line.start;
    int previousWidth = 0;
    for (int i = 1; i <= line.length; ++i) {
        int width = meter.Width(text_.data() + line.start, i);
        if (x < (previousWidth + width) / 2) return best;
        best = line.start + i;
        previousWidth = width;
    }
    // A wrapped row ends before its trailing spaces' successor row.
    bool wrapped = row + 1 < static_cast<int>(Rows().size()) && Rows()[row + 1].start == line.start + line.length;
    if (wrapped && best > line.start) return best - 1;
    return best;
}

int TCustomEdit::PositionAt(int x, int y) {
    RECT area = TextArea();
    int row = topRow_ + (y - area.top) / LineHeight();
    if (y < area.top) row = topRow_ - 1;
    row = std::clamp(row, 0, static_cast<int>(Rows().size()) - 1);
    return RowPosition(row, x - area.left + scrollX_);
}

void TCustomEdit::SetTopRow(int row) {
    int last = std::max(static_cast<int>(Rows().size()) - 1, 0);
    row = std::clamp(row, 0, last);
    if (row == topRow_) return;
    topRow_ = row;
    Invalidate();
    UpdateCaret();
    LayoutChanged();
}

void TCustomEdit::SetScrollX(int pixels) {
    pixels = std::max(pixels, 0);
    if (pixels == scrollX_) return;
    scrollX_ = pixels;
    Invalidate();
    UpdateCaret();
    LayoutChanged();
}

int TCustomEdit::WidestRow() {
    const std::vector<Row>& rows = Rows();
    TextMeter meter(GetFont());
    int widest = 0;
    for (const Row& row : rows) widest = std::max(widest, meter.Width(text_.data() + row.start, row.length));
    return widest;
}

void TCustomEdit::ScrollCaretIntoView() {
    RECT area = TextArea();
    int width = area.right - area.left;
    int row = RowOf(caret_);
    int x = TextWidth(Rows()[row].start, caret_ - Rows()[row].start);
    if (x < scrollX_) scrollX_ = std::max(x - width / 3, 0);
    if (x > scrollX_ + width - 1) scrollX_ = x - width + width / 3;
    if (IsMultiLine()) {
        int visible = std::max((area.bottom - area.top) / LineHeight(), 1);
        if (row < topRow_) SetTopRow(row);
        if (row >= topRow_ + visible) SetTopRow(row - visible + 1);
    }
    Invalidate();
    UpdateCaret();
    LayoutChanged();
}

// ---- Caret ----

void TCustomEdit::UpdateCaret() {
    if (!caretCreated_ || !HandleAllocated()) return;
    RECT area = TextArea();
    int row = RowOf(caret_);
    int x = area.left + TextWidth(Rows()[row].start, caret_ - Rows()[row].start) - scrollX_;
    int y = area.top + (row - topRow_) * LineHeight();
    SetCaretPos(x, y);
}

void TCustomEdit::DoEnter() {
    CreateCaret(GetHandle(), nullptr, 1, LineHeight());
    caretCreated_ = true;
    UpdateCaret();
    ShowCaret(GetHandle());
    // Tabbing into a single-line box selects its text, as dialogs do.
    if (!IsMultiLine() && !selecting_ && GetKeyState(VK_LBUTTON) >= 0) SelectAll();
    Invalidate();
    TCustomControl::DoEnter();
}

void TCustomEdit::DoExit() {
    if (caretCreated_) DestroyCaret();
    caretCreated_ = false;
    selecting_ = false;
    Invalidate();
    TCustomControl::DoExit();
}

void TCustomEdit::Resize() {
    layoutValid_ = false;
    TCustomControl::Resize();
}

// ---- Painting ----

void TCustomEdit::Paint() {
    TCanvas* canvas = GetCanvas();
    RECT client = GetClientRect();
    RECT inside = client;
    DrawSunkenBorder(canvas, inside);
    canvas->GetBrush()->SetStyle(bsSolid);
    canvas->GetBrush()->SetColor(GetEnabled() ? GetColor() : clBtnFace);
    canvas->FillRect(inside);
    canvas->SetFont(GetFont());
    RECT area = TextArea();
    HDC dc = canvas->GetHandle();
    if (!dc) return;
    IntersectClipRect(dc, inside.left, inside.top, inside.right, inside.bottom);
    SetBkMode(dc, TRANSPARENT);
    int lineHeight = LineHeight();
    int selectionStart = GetSelStart();
    int selectionEnd = selectionStart + GetSelLength();
    bool showSelection = Focused() && selectionEnd > selectionStart;
    const std::vector<Row>& rows = Rows();
    for (int i = topRow_; i < static_cast<int>(rows.size()); ++i) {
        int y = area.top + (i - topRow_) * lineHeight;
        if (y >= inside.bottom) break;
        const Row& row = rows[i];
        int x = area.left - scrollX_;
        SetTextColor(dc, ColorToRGB(GetEnabled() ? GetFont()->GetColor() : clGrayText));
        TextOutA(dc, x, y, text_.data() + row.start, row.length);
        int from = std::max(selectionStart, row.start);
        int to = std::min(selectionEnd, row.start + row.length);
        if (!showSelection || from >= to) continue;
        int left = x + TextWidth(row.start, from - row.start);
        RECT band{left, y, left + TextWidth(from, to - from), y + lineHeight};
        canvas->GetBrush()->SetStyle(bsSolid);
        canvas->GetBrush()->SetColor(clHighlight);
        canvas->FillRect(band);
        SetBkMode(dc, TRANSPARENT);
        SetTextColor(dc, ColorToRGB(clHighlightText));
        TextOutA(dc, left, y, text_.data() + from, to - from);
    }
}

// ---- Keyboard ----

void TCustomEdit::WMGetDlgCode(TMessage& message) {
    message.Result = DLGC_WANTARROWS | DLGC_WANTCHARS | DLGC_HASSETSEL;
}

void TCustomEdit::KeyDown(WORD& key, TShiftState shift) {
    TCustomControl::KeyDown(key, shift);
    if (key == 0) return;
    if (HandleClipboardKey(key, shift) || HandleMovementKey(key, shift)) key = 0;
}

bool TCustomEdit::HandleClipboardKey(WORD key, TShiftState shift) {
    bool control = shift.Contains(ssCtrl) && !shift.Contains(ssAlt);
    bool shifted = shift.Contains(ssShift);
    if ((control && key == 'C') || (control && key == VK_INSERT)) {
        CopyToClipboard();
    } else if ((control && key == 'X') || (shifted && !control && key == VK_DELETE)) {
        CutToClipboard();
    } else if ((control && key == 'V') || (shifted && !control && key == VK_INSERT)) {
        PasteFromClipboard();
    } else if (control && key == 'A') {
        SelectAll();
    } else {
        return false;
    }
    return true;
}

void TCustomEdit::MoveCaret(int position, bool extend) {
    caret_ = std::clamp(position, 0, static_cast<int>(text_.size()));
    if (!extend) anchor_ = caret_;
    ScrollCaretIntoView();
    Invalidate();
}

int TCustomEdit::WordStart(int position) const {
    while (position > 0 && !IsWordByte(text_[position - 1])) --position;
    while (position > 0 && IsWordByte(text_[position - 1])) --position;
    return position;
}

int TCustomEdit::WordEnd(int position) const {
    int size = static_cast<int>(text_.size());
    while (position < size && IsWordByte(text_[position])) ++position;
    while (position < size && !IsWordByte(text_[position])) ++position;
    return position;
}

bool TCustomEdit::HandleMovementKey(WORD key, TShiftState shift) {
    bool extend = shift.Contains(ssShift);
    bool control = shift.Contains(ssCtrl);
    int row = RowOf(caret_);
    const std::vector<Row>& rows = Rows();
    int visible = std::max((TextArea().bottom - TextArea().top) / LineHeight(), 1);
    auto stepBack = [&](int position) { return position >= 2 && text_.compare(position - 2, 2, "\r\n") == 0 ? position - 2 : position - 1; };
    auto stepForward = [&](int position) { return text_.compare(position, 2, "\r\n") == 0 ? position + 2 : position + 1; };
    auto moveByRows = [&](int delta) {
        if (desiredX_ < 0) desiredX_ = TextWidth(rows[row].start, caret_ - rows[row].start);
        int target = std::clamp(row + delta, 0, static_cast<int>(rows.size()) - 1);
        int keep = desiredX_;
        MoveCaret(RowPosition(target, keep), extend);
        desiredX_ = keep;
    };
    switch (key) {
        case VK_LEFT:
            if (!extend && GetSelLength() > 0 && !control) MoveCaret(GetSelStart(), false);
            else MoveCaret(control ? WordStart(caret_) : stepBack(caret_), extend);
            break;
        case VK_RIGHT:
            if (!extend && GetSelLength() > 0 && !control) MoveCaret(GetSelStart() + GetSelLength(), false);
            else MoveCaret(control ? WordEnd(caret_) : stepForward(caret_), extend);
            break;
        case VK_HOME: MoveCaret(control ? 0 : rows[row].start, extend); break;
        case VK_END:
            MoveCaret(control ? static_cast<int>(text_.size()) : rows[row].start + rows[row].length, extend);
            break;
        case VK_UP:
            if (!IsMultiLine()) return false;
            moveByRows(-1);
            return true;
        case VK_DOWN:
            if (!IsMultiLine()) return false;
            moveByRows(1);
            return true;
        case VK_PRIOR:
            if (!IsMultiLine()) return false;
            moveByRows(-visible);
            return true;
        case VK_NEXT:
            if (!IsMultiLine()) return false;
            moveByRows(visible);
            return true;
        case VK_DELETE:
            if (shift.Contains(ssShift)) return false;
            DeleteForward(control);
            break;
        default: return false;
    }
    desiredX_ = -1;
    return true;
}

void TCustomEdit::DeleteForward(bool word) {
    if (readOnly_) return;
    if (GetSelLength() > 0) {
        ClearSelection();
        return;
    }
    int size = static_cast<int>(text_.size());
    if (caret_ >= size) return;
    int end = word ? WordEnd(caret_) : (text_.compare(caret_, 2, "\r\n") == 0 ? caret_ + 2 : caret_ + 1);
    ReplaceRange(caret_, end, "");
}

void TCustomEdit::KeyPress(char& key) {
    TCustomControl::KeyPress(key);
    if (key == 0) return;
    auto code = static_cast<unsigned char>(key);
    if (code == VK_BACK) {
        if (readOnly_) return;
        if (GetSelLength() > 0) {
            ClearSelection();
        } else if (caret_ > 0) {
            int start = caret_ >= 2 && text_.compare(caret_ - 2, 2, "\r\n") == 0 ? caret_ - 2 : caret_ - 1;
            ReplaceRange(start, caret_, "");
        }
        return;
    }
    if (code == '\r') {
        if (IsMultiLine()) InsertTyped("\r\n");
        return;
    }
    // Other control characters (Ctrl+letters, Tab, Esc) insert nothing.
    if (code < 32 || code == 127) return;
    InsertTyped(std::string(1, key));
}

// ---- Mouse ----

void TCustomEdit::MouseDown(TMouseButton button, TShiftState shift, int x, int y) {
    if (button == mbLeft && !shift.Contains(ssDouble)) {
        selecting_ = true;
        if (CanFocus() && !Focused()) SetFocus();
        MoveCaret(PositionAt(x, y), shift.Contains(ssShift));
        desiredX_ = -1;
    }
    TCustomControl::MouseDown(button, shift, x, y);
}

void TCustomEdit::MouseMove(TShiftState shift, int x, int y) {
    if (selecting_) MoveCaret(PositionAt(x, y), true);
    TCustomControl::MouseMove(shift, x, y);
}

void TCustomEdit::MouseUp(TMouseButton button, TShiftState shift, int x, int y) {
    if (button == mbLeft) selecting_ = false;
    TCustomControl::MouseUp(button, shift, x, y);
}

void TCustomEdit::DblClick() {
    // Selects the word under the caret.
    int start = caret_;
    while (start > 0 && IsWordByte(text_[start - 1])) --start;
    int end = caret_;
    while (end < static_cast<int>(text_.size()) && IsWordByte(text_[end])) ++end;
    anchor_ = start;
    caret_ = end;
    ScrollCaretIntoView();
    TCustomControl::DblClick();
}

void TCustomEdit::CMFontChanged(TMessage& message) {
    InvalidateLayout();
    TCustomControl::Dispatch(message);
}

void TCustomEdit::CMEnabledChanged(TMessage& message) {
    Invalidate();
    TCustomControl::Dispatch(message);
}

// ---- TEdit ----

TEdit::TEdit(TComponent* owner) : TCustomEdit(owner) { SetBounds(0, 0, 121, 21); }

// ---- TMemoStrings ----

std::vector<std::string> TMemoStrings::Split() const {
    std::vector<std::string> lines;
    const std::string text = memo_->GetText();
    std::size_t start = 0;
    while (start < text.size()) {
        std::size_t end = text.find("\r\n", start);
        if (end == std::string::npos) {
            lines.push_back(text.substr(start));
            break;
        }
        lines.push_back(text.substr(start, end - start));
        start = end + 2;
    }
    return lines;
}

void TMemoStrings::Join(const std::vector<std::string>& lines) {
    std::string text;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        if (i > 0) text += "\r\n";
        text += lines[i];
    }
    memo_->SetText(text);
}

int TMemoStrings::GetCount() const { return static_cast<int>(Split().size()); }

std::string TMemoStrings::GetStrings(int index) const {
    std::vector<std::string> lines = Split();
    CheckIndex(index, static_cast<int>(lines.size()));
    return lines[index];
}

void TMemoStrings::SetStrings(int index, const std::string& text) {
    std::vector<std::string> lines = Split();
    CheckIndex(index, static_cast<int>(lines.size()));
    lines[index] = text;
    Join(lines);
}

void TMemoStrings::Insert(int index, const std::string& text) {
    std::vector<std::string> lines = Split();
    CheckIndex(index, static_cast<int>(lines.size()) + 1);
    lines.insert(lines.begin() + index, text);
    Join(lines);
}

void TMemoStrings::Delete(int index) {
    std::vector<std::string> lines = Split();
    CheckIndex(index, static_cast<int>(lines.size()));
    lines.erase(lines.begin() + index);
    Join(lines);
}

void TMemoStrings::Clear() { memo_->SetText(""); }

// ---- TMemo ----

TMemo::TMemo(TComponent* owner) : TCustomEdit(owner), lines_(new TMemoStrings(this)) { SetBounds(0, 0, 185, 89); }

TMemo::~TMemo() {
    Destroying();
    delete lines_;
}

void TMemo::SetLines(const TStrings* lines) {
    if (lines)
        lines_->Assign(lines);
    else
        lines_->Clear();
}

void TMemo::SetScrollBars(TScrollStyle scrollBars) {
    if (scrollBars == scrollBars_) return;
    scrollBars_ = scrollBars;
    if (HandleAllocated()) RecreateWnd();
}

void TMemo::SetWordWrap(bool wordWrap) {
    if (wordWrap == wordWrap_) return;
    wordWrap_ = wordWrap;
    InvalidateLayout();
}

void TMemo::CreateParams(TCreateParams& params) {
    TCustomEdit::CreateParams(params);
    if (scrollBars_ == ssVertical || scrollBars_ == ssBoth) params.Style |= WS_VSCROLL;
    if (scrollBars_ == ssHorizontal || scrollBars_ == ssBoth) params.Style |= WS_HSCROLL;
}

int TMemo::VisibleRows() {
    RECT area = TextArea();
    return std::max(static_cast<int>((area.bottom - area.top) / LineHeight()), 1);
}

void TMemo::LayoutChanged() {
    if (!HandleAllocated()) return;
    SCROLLINFO info{sizeof(SCROLLINFO), SIF_RANGE | SIF_PAGE | SIF_POS | SIF_DISABLENOSCROLL, 0, 0, 0, 0, 0};
    if (scrollBars_ == ssVertical || scrollBars_ == ssBoth) {
        info.nMax = std::max(static_cast<int>(Rows().size()) - 1, 0);
        info.nPage = static_cast<UINT>(VisibleRows());
        info.nPos = TopRow();
        SetScrollInfo(GetHandle(), SB_VERT, &info, TRUE);
    }
    if (scrollBars_ == ssHorizontal || scrollBars_ == ssBoth) {
        RECT area = TextArea();
        info.nMax = std::max(WidestRow(), 0);
        info.nPage = static_cast<UINT>(std::max(static_cast<int>(area.right - area.left), 1));
        info.nPos = ScrollX();
        SetScrollInfo(GetHandle(), SB_HORZ, &info, TRUE);
    }
}

void TMemo::WMHScroll(TMessage& message) {
    RECT area = TextArea();
    int page = std::max(static_cast<int>(area.right - area.left), 1);
    int last = std::max(WidestRow() - page + 1, 0);
    int step = std::max(LineHeight(), 1);
    int position = ScrollX();
    switch (LOWORD(message.WParam)) {
        case SB_LINELEFT: position -= step; break;
        case SB_LINERIGHT: position += step; break;
        case SB_PAGELEFT: position -= page; break;
        case SB_PAGERIGHT: position += page; break;
        case SB_THUMBTRACK:
        case SB_THUMBPOSITION: position = static_cast<SHORT>(HIWORD(message.WParam)); break;
        case SB_LEFT: position = 0; break;
        case SB_RIGHT: position = last; break;
        default: break;
    }
    SetScrollX(std::clamp(position, 0, last));
    LayoutChanged();
}

void TMemo::WMVScroll(TMessage& message) {
    int visible = VisibleRows();
    switch (LOWORD(message.WParam)) {
        case SB_LINEUP: SetTopRow(TopRow() - 1); break;
        case SB_LINEDOWN: SetTopRow(std::min(TopRow() + 1, static_cast<int>(Rows().size()) - visible)); break;
        case SB_PAGEUP: SetTopRow(TopRow() - visible); break;
        case SB_PAGEDOWN: SetTopRow(std::min(TopRow() + visible, static_cast<int>(Rows().size()) - visible)); break;
        case SB_THUMBTRACK:
        case SB_THUMBPOSITION: SetTopRow(static_cast<SHORT>(HIWORD(message.WParam))); break;
        case SB_TOP: SetTopRow(0); break;
        case SB_BOTTOM: SetTopRow(static_cast<int>(Rows().size()) - visible); break;
        default: break;
    }
    LayoutChanged();
}

void TMemo::WMMouseWheel(TMessage& message) {
    int notches = GET_WHEEL_DELTA_WPARAM(message.WParam) / 120;
    int last = std::max(static_cast<int>(Rows().size()) - VisibleRows(), 0);
    SetTopRow(std::min(TopRow() - notches * 3, last));
}

void TMemo::WMGetDlgCode(TMessage& message) {
    TCustomEdit::WMGetDlgCode(message);
    if (message.WParam == VK_RETURN) message.Result |= DLGC_WANTALLKEYS;
}

// ---- Published properties ----

namespace {

// ORDER TScrollStyle: the values are the enumeration's.
const TIdentifier kScrollStyleNames[] = {
    {"ssNone", ssNone}, {"ssHorizontal", ssHorizontal}, {"ssVertical", ssVertical}, {"ssBoth", ssBoth}};
const TIdentifierList kScrollStyles{kScrollStyleNames, std::size(kScrollStyleNames)};

const TPropertyInfo kCustomEditProperties[] = {
    CLASSLIB_BOOLEAN_PROPERTY(TCustomEdit, TabStop, true),
    // The text is stored as Text (or a memo's Lines), never twice as Caption.
    NotStored(CLASSLIB_STRING_PROPERTY(TCustomEdit, Caption, "")),
    StoredWhen(CLASSLIB_NAMED_INTEGER_PROPERTY(TCustomEdit, Color, clWindow, &ColorIdentifiers),
               [](const TPersistent* object) { return !static_cast<const TControl*>(object)->GetParentColor(); }),
    CLASSLIB_INTEGER_PROPERTY(TCustomEdit, MaxLength, 0),
    CLASSLIB_BOOLEAN_PROPERTY(TCustomEdit, ReadOnly, false),
    CLASSLIB_STRING_PROPERTY(TCustomEdit, Text, ""),
    CLASSLIB_EVENT_PROPERTY(TCustomEdit, OnChange, TNotifyEvent),
};
// A memo stores its text as Lines (the lines joined by CR LF), not as Text.
const TPropertyInfo kMemoProperties[] = {
    NotStored(CLASSLIB_STRING_PROPERTY(TMemo, Text, "")),
    TPropertyInfo{"Lines", TPropertyType::String, nullptr, 0, "", true, nullptr, nullptr, nullptr,
                  [](const TPersistent* object) -> std::string { return static_cast<const TMemo*>(object)->GetLinesText(); },
                  [](TPersistent* object, const std::string& value) { static_cast<TMemo*>(object)->SetLinesText(value); },
                  nullptr, nullptr, nullptr},
    CLASSLIB_ENUM_PROPERTY(TMemo, ScrollBars, TScrollStyle, ssNone, &kScrollStyles),
    CLASSLIB_BOOLEAN_PROPERTY(TMemo, WordWrap, true),
};

}  // namespace

void RegisterEditProperties() {
    RegisterPropertyTable(TCustomEdit::StaticClassInfo(), kCustomEditProperties);
    RegisterPropertyTable(TMemo::StaticClassInfo(), kMemoProperties);
}
