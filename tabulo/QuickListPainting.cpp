// TQuickList's painting: the grid drawn into the buffer bitmap with the
// geometry recorded for the mouse, the keys and the search, the copy of the
// buffer to the screen, and the design view.
#include <algorithm>
#include <cstdint>
#include <string>

#include "BufferImageData.h"
#include "CHRText.h"
#include "ControlCanvas.h"
#include "QuickList.h"
#include "ScrollBarControl.h"

namespace {

// ORDER: none; the grid's colours (0x00BBGGRR).
const int kBodyBackground = 0xFFFFFF;
const int kCaptionBackground = 0xC0C0C0;
const int kGridRule = 0xC0C0C0;
const int kHighlight = 0xA0A0A0;
const int kCurrentCell = 0x000080;
const int kCurrentCellEditing = 0x0000FF;
const int kSelection = 0x808080;
const int kTextOnHighlight = 0xFFFFFF;
const int kPlainText = 0x000000;
const int kShadow = 0x808080;
const int kLight = 0xFFFFFF;
const int kBlack = 0x000000;

// The part of a view inside rect (view coordinates, both ends included);
// without data when nothing of it is inside.
IMAGEDATA SubView(const IMAGEDATA& view, const RECT& rect) {
    IMAGEDATA part = view;
    const int left = std::max<int>(rect.left, 0), top = std::max<int>(rect.top, 0);
    const int right = std::min<int>(rect.right, view.width - 1), bottom = std::min<int>(rect.bottom, view.height - 1);
    if (view.data == nullptr || left > right || top > bottom) {
        part.data = nullptr;
        part.width = part.height = 0;
        return part;
    }
    part.data = ImagePixel(view, left, top);
    part.width = right - left + 1;
    part.height = bottom - top + 1;
    return part;
}

// A column as painted: its index, left x and width.
struct TPaintedColumn {
    int index, x, width;
};

}  // namespace

// One paint of the grid into the buffer.
class TQuickList::TPainter {
public:
    TPainter(TQuickList& grid, bool fromTimer)
        : grid_(grid), keepColumns_(fromTimer || grid.colDrag_), keepLines_(fromTimer || grid.lineDrag_) {
        ::PrepareImageData(*grid.buffer_, buffer_);
        area_ = SubView(buffer_, RECT{2, 2, buffer_.width - 3, buffer_.height - 3});
        width_ = area_.width;
        height_ = area_.height;
    }

    void Paint() {
        DrawFrame();
        DrawCaptionAreas();
        const int first = grid_.GetFirstVisibleColX();
        if (first >= grid_.GetColumnCount()) {
            ForgetGeometry();
            return;
        }
        grid_.DeriveSelection();
        LayOutColumns(first);
        DrawColumnCaptions();
        DrawLines();
    }

private:
    // Nothing of the grid is drawn: nothing of it is where the last paint put it.
    void ForgetGeometry() {
        if (!keepColumns_) {
            grid_.colBorders_.clear();
            grid_.colCaptionRects_.clear();
        }
        if (!keepLines_) {
            grid_.lineBorders_.clear();
            grid_.lineCaptionRects_.clear();
        }
        grid_.paintedCols_.clear();
        grid_.paintedLines_.clear();
        grid_.colsInView_ = 0;
        grid_.pageSize_ = 0;
        grid_.currentCellRect_ = RECT{0, 0, 0, 0};
    }

    void Fill(const IMAGEDATA& view, int x1, int y1, int x2, int y2, int colour) const {
        TSetIDPixel(view, colour, 1, 0, 0).FillRect(x1, y1, x2, y2);
    }
    void Fill(int x1, int y1, int x2, int y2, int colour) const { Fill(area_, x1, y1, x2, y2, colour); }

    // Left and top lines in one colour, right and bottom in another, both ends included.
    void DrawEdge(const IMAGEDATA& view, const RECT& r, int topLeft, int bottomRight) const {
        Fill(view, r.left, r.top, r.right, r.top, topLeft);
        Fill(view, r.left, r.top, r.left, r.bottom, topLeft);
        Fill(view, r.right, r.top, r.right, r.bottom, bottomRight);
        Fill(view, r.left, r.bottom, r.right, r.bottom, bottomRight);
    }

    void DrawFrame() const {
        Fill(area_, 0, 0, width_ - 1, height_ - 1, kBodyBackground);
        DrawEdge(buffer_, RECT{0, 0, buffer_.width - 1, buffer_.height - 1}, kShadow, kLight);
        DrawEdge(buffer_, RECT{1, 1, buffer_.width - 2, buffer_.height - 2}, kBlack, kLight);
    }

    void DrawCaptionAreas() const {
        Fill(0, 0, width_ - 1, kCaptionHeight - 1, kCaptionBackground);
        Fill(0, kCaptionHeight, width_ - 1, kCaptionHeight, kBlack);
        if (!grid_.showLineCaption_) return;
        const int right = grid_.LineCaptionExtent();
        Fill(0, kCaptionHeight + 1, right, height_ - 1, kCaptionBackground);
        Fill(right, 0, right, height_ - 1, kBlack);
    }

    // Text written glyph after glyph from (x, y), only its dots inside clip.
    void DrawText(const std::string& text, int x, int y, const RECT& clip, int colour) const {
        const IMAGEDATA part = SubView(area_, clip);
        if (part.data == nullptr) return;
        const TSetIDPixel setter(part, colour, 1, -std::max<int>(clip.left, 0), -std::max<int>(clip.top, 0));
        DrawCHRText(*grid_.fontTable_, x, y, text.c_str(), setter, chrRotate0, 0, 1, 1, 0);
    }

    int TextLeft() const { return grid_.showLineCaption_ ? grid_.LineCaptionExtent() + 1 : 0; }

    // The visible columns from the first one drawn while they start inside the area.
    void LayOutColumns(int first) {
        for (int col = first, x = TextLeft(); col < grid_.GetColumnCount() && x < width_; ++col) {
            const int width = grid_.widths_[size_t(col)];
            if (width <= 0) continue;
            columns_.push_back(TPaintedColumn{col, x, width});
            x += width + 1;
        }
    }

    bool InSelectedColumns(int col) const {
        const RECT& selection = grid_.selection_;
        return col == grid_.selectedCol_ || (grid_.ValidSelection() && col >= selection.left && col <= selection.right);
    }
    bool InSelectedLines(int line) const {
        const RECT& selection = grid_.selection_;
        return line == grid_.selectedLine_ ||
               (grid_.ValidSelection() && line >= selection.top && line <= selection.bottom);
    }

    void DrawColumnCaptions() {
        if (!keepColumns_) {
            grid_.colBorders_.clear();
            grid_.colCaptionRects_.clear();
        }
        grid_.paintedCols_.clear();
        for (const TPaintedColumn& column : columns_) {
            const int x = column.x, w = column.width;
            const RECT caption{x, 0, x + w - 1, kCaptionHeight - 1};
            if (!keepColumns_) {
                grid_.colCaptionRects_[column.index] = caption;
                grid_.colBorders_[x + w] = TQuickListBorder{x, column.index};
            }
            grid_.paintedCols_.insert(column.index);
            const bool highlighted = grid_.showSelTop_ && InSelectedColumns(column.index);
            if (highlighted) Fill(caption.left, caption.top, caption.right, caption.bottom, kCurrentCell);
            const bool pressed = grid_.selectedHeaderCol_ == column.index;
            DrawText(grid_.captions_[size_t(column.index)], x + (pressed ? 4 : 3), pressed ? 3 : 2,
                     RECT{x + 1, 1, x + w - 2, kCaptionHeight - 2}, highlighted ? kTextOnHighlight : kPlainText);
            Fill(x + w, 0, x + w, kCaptionHeight - 1, kBlack);
            Fill(x + w, kCaptionHeight + 1, x + w, height_ - 1, kGridRule);
            DrawEdge(area_, caption, pressed ? kShadow : kLight, pressed ? kLight : kShadow);
        }
        // Whole columns in view: those painted less a cut last one.
        const bool cut = !columns_.empty() && columns_.back().x + columns_.back().width > width_;
        grid_.colsInView_ = int(columns_.size()) - (cut ? 1 : 0);
    }

    void DrawLineCaption(int line, int y, int h) {
        const int right = grid_.LineCaptionExtent() - 1;
        const RECT caption{0, y, right, y + h - 1};
        if (!keepLines_) grid_.lineCaptionRects_[line] = caption;
        Fill(0, y + h, right, y + h, kBlack);
        const bool pressed = grid_.selectedHeaderLine_ == line;
        DrawEdge(area_, caption, pressed ? kShadow : kLight, pressed ? kLight : kShadow);
        const bool highlighted = grid_.showSelLeft_ && InSelectedLines(line);
        if (highlighted) Fill(1, y + 1, right - 1, y + h - 2, kCurrentCell);
        if (grid_.showLineNumber_)
            DrawText(std::to_string(line), pressed ? 4 : 3, y + (pressed ? 3 : 2), RECT{1, y + 1, right - 1, y + h - 2},
                     highlighted ? kTextOnHighlight : kPlainText);
    }

    void DrawLines() {
        if (!keepLines_) {
            grid_.lineBorders_.clear();
            grid_.lineCaptionRects_.clear();
        }
        grid_.paintedLines_.clear();
        grid_.currentCellRect_ = RECT{0, 0, 0, 0};
        int y = kCaptionHeight + 1, painted = 0;
        bool cut = false;
        for (int line = std::max(grid_.vertBar_->GetPosition(), 0); line < grid_.GetLineCount() && y < height_;
             ++line) {
            const int h = grid_.lines_[size_t(line)].height;
            grid_.paintedLines_.insert(line);
            Fill(TextLeft(), y + h, width_ - 1, y + h, kGridRule);
            if (!keepLines_) grid_.lineBorders_[y + h] = TQuickListBorder{y, line};
            if (grid_.showLineCaption_) DrawLineCaption(line, y, h);
            // A handler raised for a cell may have taken the line away.
            for (const TPaintedColumn& column : columns_)
                if (line < grid_.GetLineCount()) DrawCell(line, column, y, h);
            ++painted;
            cut = y + h > height_;
            y += h + 1;
        }
        // Whole lines in view: those painted less a cut last one, and room for more below.
        grid_.pageSize_ = painted - (cut ? 1 : 0) + (cut ? 0 : std::max(height_ - y, 0) / (kDefaultLineHeight + 1));
    }

    // The colours a cell is drawn in, by the precedence of the maps, the
    // selection, the current cell and the highlighted line and column.
    struct TCellLook {
        int background;
        int text;
        bool framed;
    };
    TCellLook LookOf(int line, int col, bool current) const {
        const bool inSelection = grid_.CellInSelection(line, col);
        const bool highlighted = (grid_.showSelectedLine_ && line == grid_.selectedLine_) ||
                                 (grid_.showSelectedCol_ && col == grid_.selectedCol_);
        if (highlighted && !inSelection) return TCellLook{current ? kCurrentCell : kHighlight, kTextOnHighlight, false};
        const TLine& record = grid_.lines_[size_t(line)];
        if (const TQuickListColors* cell = record.CellColours(col)) return TCellLook{cell->background, cell->text, false};
        if (record.coloured) return TCellLook{record.colours.background, record.colours.text, false};
        if (inSelection) return TCellLook{kSelection, kTextOnHighlight, true};
        if (current) return TCellLook{EditingHere(current) ? kCurrentCellEditing : kCurrentCell, kTextOnHighlight, true};
        return TCellLook{kBodyBackground, kPlainText, false};
    }
    bool EditingHere(bool current) const { return current && grid_.inCellEditing_; }

    // SelectedFrameWidth lines inside the cell along its sides on the
    // selection's edge, or round the current cell outside a selection.
    void DrawSelectionFrame(int line, int col, const RECT& cell, bool current) const {
        const int thickness = EditingHere(current) ? 1 : grid_.FrameExtent();
        if (thickness <= 0) return;
        const RECT& selection = grid_.selection_;
        // A current cell outside the selection is framed on its own.
        const bool whole = !grid_.CellInSelection(line, col);
        const int colour = grid_.selectedFrameColor_;
        if (whole || col == selection.left) Fill(cell.left, cell.top, cell.left + thickness - 1, cell.bottom, colour);
        if (whole || col == selection.right) Fill(cell.right - thickness + 1, cell.top, cell.right, cell.bottom, colour);
        if (whole || line == selection.top) Fill(cell.left, cell.top, cell.right, cell.top + thickness - 1, colour);
        if (whole || line == selection.bottom) Fill(cell.left, cell.bottom - thickness + 1, cell.right, cell.bottom, colour);
    }

    void DrawCell(int line, const TPaintedColumn& column, int y, int h) {
        const int col = column.index, x = column.x, w = column.width;
        const RECT cell{x, y, x + w - 1, y + h - 1};
        const bool current = line == grid_.selectedLine_ && col == grid_.selectedCol_;
        if (current) grid_.currentCellRect_ = RECT{cell.left + 2, cell.top + 2, cell.right + 2, cell.bottom + 2};
        const TCellLook look = LookOf(line, col, current);
        Fill(cell.left, cell.top, cell.right, cell.bottom, look.background);
        grid_.CellBkPaint(line, col, area_, cell);
        if (look.framed) DrawSelectionFrame(line, col, cell, current);
        DrawCellText(grid_.GetCell(line, col), cell, look.text, current);
        grid_.CellPaint(line, col, area_, cell);
    }

    // The text from x + 1, or ending 3 pixels before the cell's right when it
    // is wider; while editing in the cell, the character before the caret
    // kept in view. The caret position is taken within the text.
    void DrawCellText(const std::string& text, const RECT& cell, int colour, bool current) {
        const TCHRTable& table = *grid_.fontTable_;
        const int w = cell.right - cell.left + 1;
        const int textWidth = GetCHRTextWidth(table, text.c_str());
        const int caret = std::clamp(grid_.caretPosition_, 0, int(text.size()));
        const int beforeCaret = GetCHRTextWidth(table, text.substr(0, size_t(caret)).c_str());
        int start = cell.left + 1;
        if (textWidth > w - 4) start = cell.left + w - 1 - textWidth - 3;
        if (EditingHere(current) && start + beforeCaret < cell.left + 1)
            start = cell.left + 1 - beforeCaret + (caret > 0 ? table.GetCharWidth(uint8_t(text[size_t(caret) - 1])) : 0);
        const RECT inner{cell.left + 1, cell.top + 1, cell.right - 1, cell.bottom - 1};
        DrawText(text, start, cell.top + 1, inner, colour);
        if (!current || !grid_.edit_ || !grid_.IsCellEditable() || !(grid_.caretShown_ || !grid_.editCursor_)) return;
        const int caretX = EditingHere(current) ? start + beforeCaret : start + textWidth;
        const int caretWidth = EditingHere(current) ? 1 : 2;
        const IMAGEDATA part = SubView(area_, inner);
        if (part.data == nullptr) return;
        TSetIDPixel(part, colour, 1, -int(inner.left), -int(inner.top))
            .FillRect(caretX, cell.top + 1, caretX + caretWidth - 1, cell.top + table.GetHeight());
    }

    TQuickList& grid_;
    bool keepColumns_, keepLines_;
    IMAGEDATA buffer_;
    IMAGEDATA area_;
    int width_ = 0, height_ = 0;
    std::vector<TPaintedColumn> columns_;
};

void TQuickList::RuntimePaint(bool fromTimer) {
    if (!Ready() || painting_) return;
    const int clientWidth = GetClientWidth(), clientHeight = GetClientHeight();
    if (clientWidth <= vertBar_->GetWidth() + 4 || clientHeight <= horzBar_->GetHeight() + 4) return;
    if (buffer_->GetWidth() != clientWidth - vertBar_->GetWidth() ||
        buffer_->GetHeight() != clientHeight - horzBar_->GetHeight())
        SetupBuffer();
    if (buffer_->GetWidth() <= 4 || buffer_->GetHeight() <= 4) return;
    painting_ = true;
    try {
        TPainter(*this, fromTimer).Paint();
    } catch (...) {
        painting_ = false;
        throw;
    }
    painting_ = false;
}

void TQuickList::CellBkPaint(int line, int col, IMAGEDATA id, RECT cellRect) {
    if (OnCellBkPaint) OnCellBkPaint(this, line, col, id, cellRect);
}

void TQuickList::CellPaint(int line, int col, IMAGEDATA id, RECT cellRect) {
    if (OnCellPaint) OnCellPaint(this, line, col, id, cellRect);
}

void TQuickList::Refresh() { RefreshFrom(false); }

void TQuickList::RefreshFrom(bool fromTimer) {
    if (!lines_.empty()) SetBarMax(vertBar_, GetLineCount() - 1);
    if (!GetComponentState().Contains(csDesigning)) RuntimePaint(fromTimer);
    // Without a window there is nothing to draw on yet; its first WM_PAINT shows the buffer.
    if (!HandleAllocated()) return;
    Paint();
    // Drawn through a window DC of the canvas's own: giving it back shows the drawing.
    if (auto* canvas = dynamic_cast<TControlCanvas*>(GetCanvas())) canvas->FreeHandle();
}

void TQuickList::FullRefresh() {
    SetHorzBarMax();
    Refresh();
}

void TQuickList::Paint() {
    if (GetComponentState().Contains(csDesigning)) {
        DesignPaint();
        return;
    }
    TCanvas* canvas = GetCanvas();
    canvas->Draw(0, 0, buffer_.get());
    horzBar_->Repaint();
    vertBar_->Repaint();
    canvas->GetBrush()->SetStyle(bsSolid);
    canvas->GetBrush()->SetColor(clBtnFace);
    canvas->FillRect(RECT{GetClientWidth() - vertBar_->GetWidth(), GetClientHeight() - horzBar_->GetHeight(),
                          GetClientWidth(), GetClientHeight()});
}

void TQuickList::DesignPaint() {
    TCanvas* canvas = GetCanvas();
    const int width = GetClientWidth(), height = GetClientHeight();
    auto fill = [canvas](int left, int top, int right, int bottom, TColor colour) {
        canvas->GetBrush()->SetStyle(bsSolid);
        canvas->GetBrush()->SetColor(colour);
        canvas->FillRect(RECT{left, top, right, bottom});
    };
    fill(0, 0, width, height, TColor(kBodyBackground));
    fill(0, 0, width, 1, clGray);
    fill(0, 0, 1, height, clGray);
    fill(0, height - 1, width, height, clWhite);
    fill(width - 1, 0, width, height, clWhite);
    fill(1, 1, width - 1, 2, clBlack);
    fill(1, 1, 2, height - 1, clBlack);
    fill(1, height - 2, width - 1, height - 1, clSilver);
    fill(width - 2, 1, width - 1, height - 1, clSilver);
    fill(2, 2, width - 2, 2 + kCaptionHeight, clSilver);
    fill(2, 2 + kCaptionHeight, width - 2, 3 + kCaptionHeight, clBlack);
    fill(width - vertBar_->GetWidth(), height - horzBar_->GetHeight(), width, height, clBtnFace);
    canvas->GetBrush()->SetStyle(bsClear);
    canvas->GetFont()->SetColor(clBlack);
    canvas->TextOut(5, 5, GetName());
}
