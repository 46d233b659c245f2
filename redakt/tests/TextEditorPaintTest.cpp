// What the editor paints and when: only the visible lines, only the lines a
// scroll uncovered, one line band outside the paint cycle, and nothing of
// its own in the design state.
#include <set>
#include <string>
#include <vector>

#include "RedaktFixture.h"

namespace {

std::vector<std::string> ManyLines(int count) {
    std::vector<std::string> text;
    for (int i = 0; i < count; ++i) text.push_back("int value" + std::to_string(i) + " = " + std::to_string(i) + ";");
    return text;
}

bool CaretShows() {
    GUITHREADINFO info{};
    info.cbSize = sizeof info;
    return GetGUIThreadInfo(0, &info) && (info.flags & GUI_CARETBLINKING) != 0;
}

}  // namespace

TEST_F(EditorTest, AFullPaintPaintsExactlyTheVisibleLines) {
    TTestEditor* editor = Place<TTestEditor>();
    ShowText(editor, ManyLines(1000));
    editor->SetVPos(500);
    driver.PumpUntilIdle();
    editor->painted.clear();
    editor->Repaint();
    driver.PumpUntilIdle();
    const int h = editor->GetLineHeight();
    const int visible = (editor->GetClientHeight() + h - 1) / h;
    std::vector<int> expected;
    for (int k = 0; k < visible; ++k) expected.push_back(500 + k);
    EXPECT_EQ(editor->painted, expected);
}

TEST_F(EditorTest, AOneLineScrollPaintsOnlyTheLinesMeetingTheUncoveredStrip) {
    TTestEditor* editor = Place<TTestEditor>();
    ShowText(editor, ManyLines(1000));
    const int h = editor->GetLineHeight();
    const int height = editor->GetClientHeight();
    for (int step : {1, -1}) {
        editor->SetVPos(100);
        driver.PumpUntilIdle();
        editor->painted.clear();
        editor->SetVPos(100 + step);
        driver.PumpUntilIdle();
        // The strip is one line high at the bottom (down) or the top (up).
        const int stripTop = (100 + step) * h + (step > 0 ? height - h : 0);
        ASSERT_FALSE(editor->painted.empty()) << step;
        EXPECT_LE(editor->painted.size(), 3u) << step;
        for (int line : editor->painted) {
            EXPECT_LE(line * h, stripTop + h) << "line " << line << " lies below the strip";
            EXPECT_GE((line + 1) * h, stripTop) << "line " << line << " lies above the strip";
        }
    }
    ExpectShowsFullRepaint(editor);
}

TEST_F(EditorTest, InTheDesignStatePaintStopsAfterThePlaceholderWithTheCaretHidden) {
    TTestEditor* editor = Place<TTestEditor>();
    editor->SetBkColor(0x80FFFF);
    ShowText(editor, ManyLines(20));
    editor->SetFocus();
    editor->CaretOn();
    ASSERT_TRUE(CaretShows());
    editor->SetDesigning(true);
    editor->painted.clear();
    editor->Repaint();
    driver.PumpUntilIdle();
    EXPECT_TRUE(editor->painted.empty());
    EXPECT_FALSE(CaretShows());
    // The placeholder: a white box with the component's name.
    EXPECT_EQ(driver.Pixel(editor->GetHandle(), editor->GetClientWidth() / 2, editor->GetClientHeight() / 2),
              RGB(255, 255, 255));
}

TEST_F(EditorTest, RepaintLineChangesOnlyItsBandAndRestoresTheOverlaysCrossingIt) {
    TTestEditor* editor = Place<TTestEditor>();
    editor->tabStops.Add(3);
    editor->markers += TEXT_EDITOR_MARKER{2, 4};
    editor->SetMarginPos(20);
    ShowText(editor, {"alpha", "beta", "gamma", "delta", "epsilon"});
    const std::vector<COLORREF> before = Pixels(editor);
    editor->lines[2] = "GAMMA RAY";
    editor->painted.clear();
    editor->RepaintLine(2);
    EXPECT_EQ(editor->painted, std::vector<int>{2});
    EXPECT_FALSE(HasUpdateRegion(editor));
    const std::vector<COLORREF> after = Pixels(editor);
    const int width = editor->GetClientWidth();
    const int h = editor->GetLineHeight();
    int changed = 0;
    for (size_t i = 0; i < after.size(); ++i) {
        if (after[i] == before[i]) continue;
        ++changed;
        const int y = static_cast<int>(i) / width;
        ASSERT_TRUE(y >= 2 * h && y < 3 * h) << "pixel " << i % width << ", " << y << " outside the band changed";
    }
    EXPECT_GT(changed, 0);
    // What crosses the band is there again: the guide, the bookmark, the margin.
    const int gap = editor->GetColGap();
    const int w = editor->GetCharWidth();
    const RECT band{0, 2 * h, width, 3 * h};
    EXPECT_EQ(Count(editor, RECT{gap + 3 * w, band.top, gap + 3 * w + 1, band.bottom}, editor->GetTabColor()), h);
    EXPECT_GT(Count(editor, RECT{gap - 2 - h, band.top, gap - 2, band.bottom}, editor->GetMarkerBkColor()), 0);
    EXPECT_GT(Count(editor, RECT{gap + 20 * w, band.top, gap + 20 * w + 1, band.bottom}, editor->GetMarginColor()), 0);
    ExpectShowsFullRepaint(editor);
}

// Under the address sanitizer this also shows that no character past the
// line's end is read.
TEST_F(EditorTest, AnInLineSelectionPastTheLineEndPaintsItsBandAndOnlyTheLinesCharacters) {
    TTestEditor* editor = Place<TTestEditor>();
    editor->SetFontSize(14);
    ShowText(editor, {"abcde", std::string(60, 'x')});
    editor->selection = TTextEditorSelection{3, 40, 0, 0, 0};
    editor->RepaintLine(0);
    EXPECT_GT(Ink(editor, 0, 3, 2, editor->GetSelTextColor(), editor->GetSelBkColor()), 0);
    EXPECT_EQ(Ink(editor, 0, 8, 5, editor->GetSelBkColor()), 5 * editor->GetCharWidth() * editor->GetLineHeight());
    editor->SetHMax(60);
    editor->SetHPos(30);
    driver.PumpUntilIdle();
    EXPECT_GT(Ink(editor, 0, 39, 1, editor->GetSelBkColor()), 0);
    EXPECT_EQ(Ink(editor, 0, 40, 1, editor->GetSelBkColor()), 0);
    EXPECT_EQ(Ink(editor, 0, 2, 1, editor->GetSelBkColor()), 0);
}

TEST_F(EditorTest, PaintingOnAColouredBackgroundUsesItForEveryPlainLine) {
    TTestEditor* editor = Place<TTestEditor>();
    editor->SetBkColor(0xE0FFFF);
    ShowText(editor, {"one", "two"});
    // The text's lines, an empty line past the end and the area below.
    for (int line : {0, 1, 2, 5}) EXPECT_GT(Ink(editor, line, 10, 2, 0xE0FFFF, 0xE0FFFF), 0) << line;
    EXPECT_GT(Count(editor, RECT{0, 0, 4, editor->GetClientHeight()}, 0xE0FFFF), 0);  // the gutter
}

TEST_F(EditorTest, RepaintingASectionLineClearsItsGutterFirst) {
    TTestEditor* editor = Place<TTestEditor>();
    editor->SetShowLineNumbers(true);
    editor->sections.Add(TIntPair{9, 9});
    editor->sections.Add(TIntPair{5, 6});  // line 5 shows section number 1, line 9 number 0
    ShowText(editor, ManyLines(12));
    editor->sections.Exchange(0, 1);  // and now the other way round
    for (int line : {5, 6, 9}) editor->RepaintLine(line);
    ExpectShowsFullRepaint(editor);
}
