// The syntax colouring as the window shows it: the ink colours inside the
// character cells of painted lines.
#include <string>
#include <vector>

#include "RedaktFixture.h"

namespace {

const TColor kRemark = 0x806000;
const TColor kNumber = 0x00A000;
const TColor kString = 0x0000E0;
const TColor kChar = 0xA000A0;
const TColor kSymbol = 0xE00000;
const TColor kDirective = 0x008080;

// An editor with every colour of its own and a font large enough that glyph
// stems hold pixels of exactly their ink.
class ColouringTest : public EditorTest {
protected:
    TTestEditor* Colourful() {
        TTestEditor* editor = Place<TTestEditor>(10, 10, 380, 260);
        editor->SetFontSize(12);
        editor->SetRemarkColor(kRemark);
        editor->SetNumberColor(kNumber);
        editor->SetStringColor(kString);
        editor->SetCharColor(kChar);
        editor->SetSymbolColor(kSymbol);
        editor->SetDirectiveColor(kDirective);
        // Neither is the white of the background.
        editor->SetSelTextColor(0x00FFFF);
        editor->SetMarkerTextColor(0x00FFFF);
        return editor;
    }
};

// One expectation: the cells [col, col + count) of the line show ink of colour.
struct TInk {
    int line;
    int col;
    int count;
    TColor colour;
    bool present;
};

}  // namespace

TEST_F(ColouringTest, EachSyntaxClassInksItsCells) {
    TTestEditor* editor = Colourful();
    for (auto setter : {&TTextEditor::SetShowRemarks, &TTextEditor::SetShowNumbers, &TTextEditor::SetShowStrings,
                        &TTextEditor::SetShowChars, &TTextEditor::SetShowSymbols, &TTextEditor::SetShowDirectives})
        (editor->*setter)(true);
    ShowText(editor, {
                         "x = 1; // 2",          // 0
                         "s = \"a//b\"; y",      // 1: slashes inside a string
                         "z = w //",             // 2: slashes that end the line
                         "abc123 123abc",        // 3
                         "a 12 b (12)",          // 4
                         "q \"ab\" c \"d",       // 5: three double quotes
                         "  #define N 5 // c",   // 6: a directive with a comment
                         "c = 'x';",             // 7
                         "a += b",               // 8
                     });
    const TColor text = editor->GetTextColor();
    const TInk kInks[] = {
        {0, 0, 1, text, true},       {0, 4, 1, kNumber, true},     {0, 7, 4, kRemark, true},
        {0, 10, 1, kNumber, false},  {0, 0, 1, kRemark, false},    {1, 4, 6, kString, true},
        {1, 4, 6, kRemark, false},   {1, 12, 1, text, true},       {2, 6, 2, kRemark, false},
        {2, 6, 2, kSymbol, true},    {3, 0, 13, kNumber, false},   {4, 2, 2, kNumber, true},
        {4, 8, 2, kNumber, true},    {4, 0, 1, kNumber, false},    {4, 7, 1, kSymbol, true},
        {5, 2, 4, kString, true},    {5, 7, 1, text, true},        {5, 9, 2, kString, false},
        {6, 2, 11, kDirective, true}, {6, 14, 4, kRemark, true},   {6, 0, 18, kNumber, false},
        {6, 0, 18, kSymbol, false},  {6, 2, 1, kDirective, true},  {7, 4, 3, kChar, true},
        {7, 0, 1, kChar, false},     {8, 2, 2, kSymbol, true},     {8, 0, 1, kSymbol, false},
    };
    for (const TInk& ink : kInks)
        EXPECT_EQ(Ink(editor, ink.line, ink.col, ink.count, ink.colour) > 0, ink.present)
            << "line " << ink.line << " cells " << ink.col << "+" << ink.count << " colour " << std::hex
            << ink.colour;
}

TEST_F(ColouringTest, OnlyTheSchemesKeywordsAreEmboldenedAndMatchingIsCaseSensitive) {
    TTestEditor* editor = Colourful();
    editor->boldWords.Add("int");
    editor->boldWordLengths.Add(3);
    TStringContainer common;
    common.Add("char");
    editor->commonBoldWords = &common;
    editor->commonBoldWordLengths.Add(4);
    const std::vector<std::string> text = {"int char Int \"int\" int"};
    ShowText(editor, text);
    const TColor ink = editor->GetTextColor();
    const auto measure = [&](int col, int count) { return Ink(editor, 0, col, count, ink); };
    const int plainInt = measure(0, 3), plainChar = measure(4, 4), plainCapital = measure(9, 3);
    const int plainQuoted = measure(14, 3), plainLast = measure(19, 3);

    // Both switches on, as a settings file may leave them: the scheme's list wins.
    editor->ShowBoldWords = true;
    editor->ShowCommonBoldWords = true;
    editor->Repaint();
    driver.PumpUntilIdle();
    EXPECT_GT(measure(0, 3), plainInt);  // over-struck one pixel to the right
    EXPECT_GT(measure(19, 3), plainLast);
    EXPECT_EQ(measure(4, 4), plainChar);
    EXPECT_EQ(measure(9, 3), plainCapital);  // 'Int' is not 'int'
    EXPECT_EQ(measure(14, 3), plainQuoted);  // inside a string

    editor->ShowBoldWords = false;
    editor->Repaint();
    driver.PumpUntilIdle();
    EXPECT_EQ(measure(0, 3), plainInt);
    EXPECT_GT(measure(4, 4), plainChar);
}

TEST_F(ColouringTest, SelectionsSectionsAndTheGutter) {
    TTestEditor* editor = Colourful();
    editor->SetShowLineNumbers(true);
    std::vector<std::string> text;
    for (int i = 0; i < 11; ++i) text.push_back("text " + std::to_string(i));
    editor->sections.Add(TIntPair{5, 6});
    editor->selection = TTextEditorSelection{0, 0, 0, 1, 4};  // lines 1 to 3
    editor->selMark = 2;
    ShowText(editor, text);
    const int gap = editor->GetColGap();
    const int w = editor->GetCharWidth();
    const TColor bk = editor->GetBkColor();
    // The block's band from the gap on; the gutter stays unselected.
    EXPECT_GT(Ink(editor, 1, 8, 2, editor->GetSelBkColor()), 0);
    EXPECT_EQ(Ink(editor, 1, 8, 2, editor->selBkColor2), 0);
    EXPECT_GT(Ink(editor, 2, 8, 2, editor->selBkColor2), 0);
    EXPECT_GT(Ink(editor, 3, 8, 2, editor->selBkColor2), 0);
    EXPECT_GT(Ink(editor, 1, 0, 4, editor->GetSelTextColor()), 0);
    RECT gutter = CellsRect(editor, 2, 0, 1);
    gutter.left = gap - 4;  // between the line number and the text
    gutter.right = gap;
    EXPECT_EQ(Count(editor, gutter, bk), (gutter.right - gutter.left) * (gutter.bottom - gutter.top));
    // Line numbers from 0: one digit on line 0, two on line 10.
    RECT number = CellsRect(editor, 0, 0, 1);
    number.left = 0;
    number.right = w;
    EXPECT_GT(Count(editor, number, editor->GetTextColor()), 0);
    number.left = w;
    number.right = 2 * w;
    EXPECT_EQ(Count(editor, number, editor->GetTextColor()), 0);
    const RECT tenth = CellsRect(editor, 10, 0, 1);
    EXPECT_GT(Count(editor, RECT{w, tenth.top, 2 * w, tenth.bottom}, editor->GetTextColor()), 0);
    // The section: a silver band from the gap and its black number, 0, in the gutter.
    EXPECT_GT(Ink(editor, 5, 9, 3, 0xC0C0C0), 0);
    EXPECT_GT(Ink(editor, 6, 9, 3, 0xC0C0C0), 0);
    EXPECT_EQ(Ink(editor, 7, 9, 3, 0xC0C0C0), 0);
    const int h = editor->GetLineHeight();
    const RECT sectionNumber = CellsRect(editor, 5, 0, 1);
    const int numberX = gap - 2 - h + (h - w) / 2;
    EXPECT_GT(Count(editor, RECT{numberX, sectionNumber.top, numberX + w, sectionNumber.bottom}, 0x000000), 0);

    // An in-line selection in two parts around its mark, on line 8.
    editor->selection = TTextEditorSelection{1, 6, 8, 0, 0};
    editor->selMark = 4;
    editor->Repaint();
    driver.PumpUntilIdle();
    EXPECT_EQ(Ink(editor, 8, 0, 1, editor->GetSelBkColor()), 0);
    EXPECT_GT(Ink(editor, 8, 1, 3, editor->GetSelBkColor()), 0);
    EXPECT_EQ(Ink(editor, 8, 1, 3, editor->selBkColor2), 0);
    EXPECT_GT(Ink(editor, 8, 4, 2, editor->selBkColor2), 0);
    EXPECT_EQ(Ink(editor, 8, 6, 1, editor->selBkColor2), 0);
    EXPECT_GT(Ink(editor, 8, 1, 3, editor->GetSelTextColor()), 0);
    EXPECT_EQ(Ink(editor, 8, 0, 1, editor->GetSelTextColor()), 0);
    EXPECT_EQ(Ink(editor, 1, 0, 8, editor->GetSelBkColor()), 0);  // the block is gone
}

TEST_F(ColouringTest, LineEndMarksBookmarksTabGuidesAndTheMargin) {
    TTestEditor* editor = Colourful();
    editor->SetShowLineEnds(true);
    editor->SetMarginPos(12);
    editor->tabStops.Add(6);
    editor->markers += TEXT_EDITOR_MARKER{1, 7};
    editor->markers += TEXT_EDITOR_MARKER{2, 12};  // only one character of a number is drawn
    ShowText(editor, {"abc", "defgh", "ij"});
    const int w = editor->GetCharWidth();
    const int h = editor->GetLineHeight();
    const int gap = editor->GetColGap();
    // The red return mark follows each existing line, none below the text.
    for (int line = 0; line < 3; ++line) {
        const int length = static_cast<int>(editor->lines[line].Length());
        EXPECT_GT(Ink(editor, line, length, 2, 0x0000FF), 0) << line;
    }
    EXPECT_EQ(Ink(editor, 3, 0, 4, 0x0000FF), 0);
    // A bookmark: its box left of the text, its digit in it.
    const RECT row1 = CellsRect(editor, 1, 0, 1);
    const RECT box{gap - 2 - h, row1.top, gap - 2, row1.bottom};
    EXPECT_GT(Count(editor, box, editor->GetMarkerBkColor()), 0);
    EXPECT_GT(Count(editor, box, editor->GetMarkerTextColor()), 0);
    const RECT row2 = CellsRect(editor, 2, 0, 1);
    const int digitX = gap - 2 - h + (h - w) / 2;
    EXPECT_GT(Count(editor, RECT{digitX, row2.top, digitX + w, row2.bottom}, editor->GetMarkerTextColor()), 0);
    EXPECT_EQ(Count(editor, RECT{digitX + w, row2.top, digitX + 2 * w, row2.bottom}, editor->GetMarkerTextColor()), 0);
    // The tab guide runs down the whole client area at its column.
    const int guideX = gap + 6 * w;
    EXPECT_EQ(Count(editor, RECT{guideX, 0, guideX + 1, editor->GetClientHeight()}, editor->GetTabColor()),
              editor->GetClientHeight());
    // The margin is dotted: its colour with gaps of the window DC's white.
    const auto marginAt = [&](int x) {
        return Count(editor, RECT{x, 0, x + 1, editor->GetClientHeight()}, editor->GetMarginColor());
    };
    const int marginX = 12 * w + gap;
    EXPECT_GT(marginAt(marginX), editor->GetClientHeight() / 3);
    EXPECT_LT(marginAt(marginX), editor->GetClientHeight() * 2 / 3 + 1);
    EXPECT_GT(Count(editor, RECT{marginX, 0, marginX + 1, editor->GetClientHeight()}, 0xFFFFFF), 0);
    // It stands at (MarginPos - HPos) x w + gap in client pixels.
    editor->SetHMax(40);
    editor->SetHPos(3);
    driver.PumpUntilIdle();
    EXPECT_GT(marginAt((12 - 3) * w + gap), 0);
    EXPECT_EQ(marginAt(marginX), 0);
}
