// Tests of TQuickList's painting: the frame, captions, rules and colours in
// the buffer, cell texts, and the geometry each paint records.
#include "QuickList.h"

#include <algorithm>
#include <functional>

#include "CHRText.h"
#include "ScrollBarControl.h"
#include "TabuloFixtures.h"

namespace {

// A grid whose editing and pressed-caption state a test may set, as the
// keyboard and the mouse set it.
class TTestQuickList : public TQuickList {
public:
    explicit TTestQuickList(TComponent* owner) : TQuickList(owner) {}
    void EditInCellAt(int caret) {
        inCellEditing_ = true;
        caretPosition_ = caret;
    }
    void PressCaptions(int line, int col) {
        selectedHeaderLine_ = line;
        selectedHeaderCol_ = col;
    }
    void StopEditing() { inCellEditing_ = false; }
    void DragColumn(bool on) { colDrag_ = on; }
};

const int kFrameColour = 0x00C000;

// A 300 x 200 grid (a drawing area of 280 x 180) with line captions 30 wide
// and five columns 40 wide, the middle one hidden: columns start at x = 31,
// 72, (none), 113, 154; lines at y = 21, 42, 63, ... each 20 high.
class QuickListPaintingTest : public TabuloTest {
protected:
    void SetUp() override {
        TabuloTest::SetUp();
        grid = new TTestQuickList(form);
        grid->SetParent(form);
        grid->SetBounds(10, 10, 300, 200);
        grid->SetShowLineCaption(true);
        grid->SetLineCaptionWidth(30);
        grid->SetCaptions({"A", "B", "C", "D", "E"}, false);
        grid->SetColWidths(40, false);
        grid->SetColVisibility(2, false, false);
        for (int line = 0; line < 12; ++line) {
            const std::string name = std::to_string(line);
            grid->AppendLine({name, name, name, name, name}, false);
        }
        grid->SetSelectedFrameColor(kFrameColour);
        grid->FullRefresh();
    }
    // A buffer pixel at drawing-area coordinates.
    TColor Pixel(int x, int y) { return BufferPixel(grid->GetBuffer(), x + 2, y + 2); }
    // The centre of a cell, away from its text.
    TColor CellCentre(int line, int col) {
        const int xs[] = {31, 72, -1, 113, 154};
        return Pixel(xs[col] + 25, 21 + 21 * line + 12);
    }
    // The dots of one colour inside a drawing-area rectangle.
    Dots AreaDots(const RECT& r, TColor colour) {
        Dots dots;
        for (int y = r.top; y <= r.bottom; ++y)
            for (int x = r.left; x <= r.right; ++x)
                if (Pixel(x, y) == colour) dots.insert({x, y});
        return dots;
    }
    // The dots text would set when drawn at (x, y), clipped to r.
    static Dots TextDots(const char* text, int x, int y, const RECT& r) {
        Dots dots;
        for (const auto& dot : DrawnDots(400, 300, [&](const TSetIDPixel& setter) {
                 DrawCHRText(TinyTable(), x + 50, y + 50, text, setter, chrRotate0, 0, 1, 1, 0);
             })) {
            const int dx = dot.first - 50, dy = dot.second - 50;
            if (dx >= r.left && dx <= r.right && dy >= r.top && dy <= r.bottom) dots.insert({dx, dy});
        }
        return dots;
    }

    TTestQuickList* grid = nullptr;
};

TEST_F(QuickListPaintingTest, RecordsTheGeometryItPainted) {
    grid->SetSelectedLine(1);
    grid->SetSelectedCol(3);
    std::vector<std::pair<int, TQuickListBorder>> columns(grid->GetColBorders().begin(), grid->GetColBorders().end());
    ASSERT_EQ(columns.size(), 4u);
    const int borders[] = {71, 112, 153, 194}, lefts[] = {31, 72, 113, 154}, indices[] = {0, 1, 3, 4};
    for (size_t i = 0; i < 4; ++i) {
        EXPECT_EQ(columns[i].first, borders[i]);
        EXPECT_EQ(columns[i].second.start, lefts[i]);
        EXPECT_EQ(columns[i].second.index, indices[i]);
        const RECT& caption = grid->GetColCaptionRects().at(indices[i]);
        EXPECT_EQ((std::vector<LONG>{caption.left, caption.top, caption.right, caption.bottom}),
                  (std::vector<LONG>{lefts[i], 0, lefts[i] + 39, 19}));
    }
    EXPECT_EQ(grid->GetColCaptionRects().count(2), 0u);
    EXPECT_EQ(grid->GetPaintedCols(), (std::set<int>{0, 1, 3, 4}));
    EXPECT_EQ(grid->GetColsInView(), 4);
    // Eight lines start inside the 180 rows; the eighth (y = 168) is cut.
    EXPECT_EQ(grid->GetPaintedLines(), (std::set<int>{0, 1, 2, 3, 4, 5, 6, 7}));
    EXPECT_EQ(grid->GetPageSize(), 7);
    for (int line = 0; line < 8; ++line) {
        const int top = 21 + 21 * line;
        ASSERT_EQ(grid->GetLineBorders().count(top + 20), 1u) << line;
        EXPECT_EQ(grid->GetLineBorders().at(top + 20).start, top);
        EXPECT_EQ(grid->GetLineBorders().at(top + 20).index, line);
        const RECT& caption = grid->GetLineCaptionRects().at(line);
        EXPECT_EQ((std::vector<LONG>{caption.left, caption.top, caption.right, caption.bottom}),
                  (std::vector<LONG>{0, top, 29, top + 19}));
    }
    const RECT& current = grid->GetCurrentCellRect();
    EXPECT_EQ((std::vector<LONG>{current.left, current.top, current.right, current.bottom}),
              (std::vector<LONG>{113 + 2, 42 + 2, 152 + 2, 61 + 2}));
    // The hit queries agree with what was painted: a rule belongs to the cell before it.
    const std::pair<int, int> columnsAt[] = {{20, -1}, {31, 0}, {71, 0}, {72, 1}, {112, 1},
                                             {113, 3}, {153, 3}, {154, 4}, {194, 4}, {195, -1}};
    for (const auto& probe : columnsAt) EXPECT_EQ(grid->GetSelectedCol(probe.first, 30), probe.second) << probe.first;
    const std::pair<int, int> linesAt[] = {{20, -1}, {21, 0}, {41, 0}, {42, 1}, {62, 1},
                                           {63, 2}, {168, 7}, {185, 7}, {189, -1}};
    for (const auto& probe : linesAt) EXPECT_EQ(grid->GetSelectedLine(40, probe.first), probe.second) << probe.first;

    // Scrolled down by two lines and right by one column: each bar repaints
    // the grid and gives it the focus.
    grid->GetVertScrollBar()->SetPosition(2);
    grid->GetHorzScrollBar()->SetPosition(1);
    EXPECT_TRUE(grid->Focused());
    EXPECT_EQ(grid->GetPaintedLines().count(2), 1u);
    EXPECT_EQ(grid->GetPaintedLines().count(1), 0u);
    EXPECT_EQ(grid->GetLineBorders().at(41).index, 2);
    EXPECT_EQ(grid->GetColBorders().at(71).index, 1);
    EXPECT_EQ(grid->GetSelectedLine(0, 30), 2);
    EXPECT_EQ(grid->GetSelectedCol(40, 30), 1);
    EXPECT_EQ(grid->GetSelectedCol(80, 30), 3);
}

TEST_F(QuickListPaintingTest, TimerPaintsAndDragsKeepTheRecordedBorders) {
    grid->SetColWidth(0, 60, false);
    grid->RuntimePaint(true);
    EXPECT_EQ(grid->GetColBorders().count(71), 1u);
    EXPECT_EQ(grid->GetColBorders().count(91), 0u);
    grid->DragColumn(true);
    grid->SetLineHeight(0, 30, false);
    grid->RuntimePaint();
    EXPECT_EQ(grid->GetColBorders().count(71), 1u);
    EXPECT_EQ(grid->GetLineBorders().count(51), 1u);  // the lines' borders are new
    grid->DragColumn(false);
    grid->RuntimePaint();
    EXPECT_EQ(grid->GetColBorders().count(91), 1u);
    EXPECT_EQ(grid->GetColBorders().count(71), 0u);
}

TEST_F(QuickListPaintingTest, FrameCaptionsAndRules) {
    TBitmap* buffer = grid->GetBuffer();
    const int right = buffer->GetWidth() - 1, bottom = buffer->GetHeight() - 1;
    EXPECT_EQ(BufferPixel(buffer, 0, 50), clGray);
    EXPECT_EQ(BufferPixel(buffer, 50, 0), clGray);
    EXPECT_EQ(BufferPixel(buffer, right, 50), clWhite);
    EXPECT_EQ(BufferPixel(buffer, 50, bottom), clWhite);
    EXPECT_EQ(BufferPixel(buffer, 1, 50), clBlack);
    EXPECT_EQ(BufferPixel(buffer, 50, 1), clBlack);
    EXPECT_EQ(BufferPixel(buffer, right - 1, 50), clWhite);
    // The caption row and the line caption column, their black rules.
    EXPECT_EQ(Pixel(200, 10), clSilver);
    EXPECT_EQ(Pixel(250, 20), clBlack);
    EXPECT_EQ(Pixel(10, 100), clSilver);
    EXPECT_EQ(Pixel(30, 100), clBlack);
    // A raised caption: light on the left and top, shadow on the right and bottom.
    EXPECT_EQ(Pixel(31, 10), clWhite);
    EXPECT_EQ(Pixel(50, 0), clWhite);
    EXPECT_EQ(Pixel(70, 10), clGray);
    EXPECT_EQ(Pixel(50, 19), clGray);
    EXPECT_EQ(Pixel(71, 10), clBlack);
    // Grid rules below the captions, between columns and below lines.
    EXPECT_EQ(Pixel(71, 100), clSilver);
    EXPECT_EQ(Pixel(50, 41), clSilver);
    EXPECT_EQ(Pixel(10, 41), clBlack);
    EXPECT_EQ(Pixel(0, 30), clWhite);
    EXPECT_EQ(Pixel(29, 30), clGray);
    // Pressed captions swap the two.
    grid->PressCaptions(1, 1);
    grid->Refresh();
    EXPECT_EQ(Pixel(72, 10), clGray);
    EXPECT_EQ(Pixel(111, 10), clWhite);
    EXPECT_EQ(Pixel(0, 50), clGray);
    EXPECT_EQ(Pixel(29, 50), clWhite);
    // Beyond the last column: the body background, ruled below each line.
    EXPECT_EQ(Pixel(240, 30), clWhite);
    EXPECT_EQ(Pixel(240, 41), clSilver);
}

TEST_F(QuickListPaintingTest, CellColoursFollowTheirPrecedence) {
    grid->SetSelectedLine(1);
    grid->SetSelectedCol(3);
    grid->SetShowSelectedLine(true);
    grid->SetShowSelectedCol(true);
    grid->SetLineColor(1, 0x00FFFF, 0, false);   // a highlighted line wins over it
    grid->SetLineColor(5, 0x00FFFF, 0, false);
    grid->SetCellColor(5, 4, 0xFF00FF, 0, false);
    grid->SetCellColor(3, 1, 0x00FF00, 0, false);  // inside the selection
    grid->SetSelectionCorners(1, 2, 3, 3, true);
    struct Case {
        int line, col;
        TColor colour;
    };
    const Case cases[] = {
        {1, 0, 0xA0A0A0}, {1, 3, 0x000080}, {1, 4, 0xA0A0A0}, {2, 1, 0x808080}, {2, 3, 0x808080},
        {3, 1, 0x00FF00}, {4, 3, 0xA0A0A0}, {5, 0, 0x00FFFF}, {5, 4, 0xFF00FF}, {6, 0, clWhite},
    };
    for (const Case& c : cases) EXPECT_EQ(CellCentre(c.line, c.col), c.colour) << c.line << "," << c.col;
    // The selection frame runs inside the selection's outer sides, three pixels thick.
    EXPECT_EQ(Pixel(72, 70), kFrameColour);
    EXPECT_EQ(Pixel(74, 70), kFrameColour);
    EXPECT_EQ(Pixel(75, 70), 0x808080);
    EXPECT_EQ(Pixel(90, 63), kFrameColour);
    EXPECT_EQ(Pixel(90, 65), kFrameColour);
    EXPECT_EQ(Pixel(90, 66), 0x808080);
    EXPECT_EQ(Pixel(111, 70), 0x808080);  // between two selected cells
    EXPECT_EQ(Pixel(152, 70), kFrameColour);
    EXPECT_EQ(Pixel(150, 70), kFrameColour);
    EXPECT_EQ(Pixel(130, 103), kFrameColour);
    // Without highlights line 1's colour wins over the current cell's; on a
    // line without colour and without a selection the current cell is framed all round.
    grid->SetShowSelectedLine(false);
    grid->SetShowSelectedCol(false);
    grid->Refresh();
    EXPECT_EQ(CellCentre(1, 3), 0x00FFFF);
    grid->SetSelectedLine(6);
    for (const auto& side : {std::pair<int, int>{113, 155}, {152, 155}, {130, 147}, {130, 166}})
        EXPECT_EQ(Pixel(side.first, side.second), kFrameColour) << side.first << "," << side.second;
    EXPECT_EQ(CellCentre(6, 3), 0x000080);
}

TEST_F(QuickListPaintingTest, CellTextsCaptionsAndLineNumbers) {
    grid->SetShowLineNumber(true);
    grid->SetCell(6, 0, "123456789012", false);
    grid->SetCell(6, 1, "12", true);
    // A text wider than its cell shows its end: it ends 3 pixels before the right side.
    const RECT wide{32, 148, 69, 165};
    EXPECT_EQ(AreaDots(wide, clBlack), TextDots("123456789012", 31 + 40 - 1 - 48 - 3, 148, wide));
    const RECT narrow{73, 148, 110, 165};
    EXPECT_EQ(AreaDots(narrow, clBlack), TextDots("12", 73, 148, narrow));
    // Line numbers 0, 1, 2 in the line captions; column captions at (x + 3, 2).
    for (int line = 0; line < 3; ++line) {
        const RECT caption{1, 21 + 21 * line + 1, 28, 21 + 21 * line + 18};
        EXPECT_EQ(AreaDots(caption, clBlack), TextDots(std::to_string(line).c_str(), 3, 21 + 21 * line + 2, caption));
    }
    const RECT captionD{114, 1, 151, 18};
    EXPECT_EQ(AreaDots(captionD, clBlack), TextDots("D", 116, 2, captionD));
}

TEST_F(QuickListPaintingTest, TheCaretStaysWithinTheText) {
    grid->SetEdit(true);
    grid->SetSelectedLine(0);
    grid->SetSelectedCol(0);
    grid->SetCell(0, 0, "12", false);
    // Past the text, as after an undo or a paste: the caret stands after the last character.
    grid->EditInCellAt(50);
    grid->Refresh();
    const RECT cell{31, 21, 70, 40};
    const Dots text = TextDots("12", 32, 22, cell);
    Dots expected = text;
    for (int y = 22; y < 27; ++y) expected.insert({32 + 8, y});
    EXPECT_EQ(AreaDots(cell, clWhite), expected);
    EXPECT_EQ(CellCentre(0, 0), TColor(0x0000FF));  // the current cell while editing in it
    // Not editing in the cell: a bar 2 pixels wide after the text, on the current cell's colour.
    grid->StopEditing();
    grid->Refresh();
    expected = text;
    for (int y = 22; y < 27; ++y) expected.insert({std::make_pair(32 + 8, y), std::make_pair(32 + 9, y)});
    EXPECT_EQ(AreaDots(cell, clWhite), expected);
    EXPECT_EQ(CellCentre(0, 0), TColor(0x000080));
    // A cell OnCellEditable refuses shows no caret.
    grid->OnCellEditable = [](TQuickList*, int, int, bool& editable) { editable = false; };
    grid->Refresh();
    EXPECT_EQ(AreaDots(cell, clWhite), text);
}

// The handlers a paint raises may change the grid or repaint it: the paint
// goes on without the lines taken away, and a repaint started inside it is
// left to it.
TEST_F(QuickListPaintingTest, HandlersRaisedWhilePaintingMayChangeOrRepaintTheGrid) {
    grid->SetEdit(true);
    grid->SetSelectedLine(0);
    grid->SetSelectedCol(0);
    int raised = 0;
    grid->OnCellEditable = [&](TQuickList* ql, int, int, bool&) {
        if (++raised < 1000) ql->Refresh();
    };
    grid->OnCellPaint = [&](TQuickList* ql, int, int, IMAGEDATA, RECT) {
        if (++raised < 1000) ql->Refresh();
    };
    grid->Refresh();
    // Once for the caret and once for each of the 8 lines of 4 shown cells, each painted once.
    EXPECT_EQ(raised, 1 + 8 * 4);
    EXPECT_EQ(grid->GetPaintedLines().size(), 8u);

    // Lines 4 to 11 in view; the handler of the first cell of line 8 takes lines away.
    grid->OnCellEditable = nullptr;
    grid->GetVertScrollBar()->SetPosition(4);
    struct Case {
        const char* what;
        std::function<void(TQuickList*)> take;
        int painted, lines;
    };
    const Case cases[] = {
        // The later lines move up into the paint, one line fewer.
        {"DeleteLine", [](TQuickList* ql) { ql->DeleteLine(8, false); }, 4 * 4 + 4 + 2 * 4, 11},
        // The paint ends with the cell that cleared them.
        {"ClearCells", [](TQuickList* ql) { ql->ClearCells(false); }, 4 * 4 + 1, 0},
    };
    for (const Case& c : cases) {
        int painted = 0;
        grid->OnCellPaint = [&](TQuickList* ql, int line, int col, IMAGEDATA, RECT) {
            ++painted;
            if (line == 8 && col == 0) c.take(ql);
        };
        grid->Refresh();
        EXPECT_EQ(painted, c.painted) << c.what;
        EXPECT_EQ(grid->GetLineCount(), c.lines) << c.what;
    }
}

TEST_F(QuickListPaintingTest, TooNarrowGridsPaintNothing) {
    grid->SetBounds(10, 10, 16 + 4, 200);
    TBitmap* buffer = grid->GetBuffer();
    for (int y = 0; y < buffer->GetHeight(); ++y)
        std::fill_n(static_cast<uint32_t*>(buffer->ScanLine(y)), buffer->GetWidth(), 0x123456u);
    grid->Refresh();
    EXPECT_EQ(PixelsOfColour(buffer, TColor(0x563412)).size(), size_t(buffer->GetWidth() * buffer->GetHeight()));
    grid->SetBounds(10, 10, 16 + 5, 200);
    EXPECT_EQ(BufferPixel(buffer, 0, 0), clGray);
}

TEST_F(QuickListPaintingTest, MissingCellsPaintEmpty) {
    grid->DeleteCol(0, true);
    grid->DeleteCol(0, true);
    EXPECT_EQ(grid->GetColCount(), 3);
    // Columns 3 and 4 have captions but no cells left: they paint as empty cells.
    const RECT cell{155, 22, 192, 39};
    EXPECT_TRUE(AreaDots(cell, clBlack).empty());
    EXPECT_EQ(CellCentre(0, 4), clWhite);
}

TEST_F(TabuloTest, InTheDesignerAGridShowsItsDesignView) {
    form->SetDesigning(true);
    TQuickList* grid = new TQuickList(form);
    grid->SetParent(form);
    grid->SetBounds(10, 10, 200, 100);
    grid->SetCaptions({"A", "B"}, false);
    grid->AppendLine({"1", "2"}, true);
    driver.PumpUntilIdle();
    HWND window = form->GetHandle();
    EXPECT_EQ(driver.Pixel(window, 10, 10 + 30), ColorToRGB(clGray));
    EXPECT_EQ(driver.Pixel(window, 10 + 150, 10 + 12), ColorToRGB(clSilver));
    EXPECT_EQ(driver.Pixel(window, 10 + 150, 10 + 22), ColorToRGB(clBlack));
    EXPECT_EQ(driver.Pixel(window, 10 + 150, 10 + 50), ColorToRGB(clWhite));
    form->SetDesigning(false);
}

}  // namespace
