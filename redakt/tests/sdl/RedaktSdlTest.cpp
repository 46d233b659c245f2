// The text editor in a real window: C-like text with every colouring switch
// on, line numbers, a bookmark, a section, a line block with its mark, tab
// guides, the margin and the caret. The window must show what the layer drew,
// also after a scroll, and pictures are saved for looking at (SaveTestPicture's
// folder). Needs a display (CI runs it under xvfb-run); skips itself when
// DISPLAY is unset.
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

#include "RedaktSdlFixture.h"
#include "TextEditor.h"
#include "display/TestPicture.h"

// The desktop's message bus library, which SDL's video start-up loads, keeps
// a block past exit; it is not ours to free.
extern "C" const char* __lsan_default_suppressions() { return "leak:libdbus-1.so\n"; }

namespace {

const char* const kSource[] = {
    "#include <stdio.h>",
    "#define LIMIT 100  // the largest count",
    "",
    "/* A small program to look at. */",
    "struct Point {",
    "    int x, y;",
    "};",
    "",
    "static int Square(int value) {",
    "    return value * value;",
    "}",
    "",
    "int main(int argc, char** argv) {",
    "    char separator = ',';",
    "    const char* name = \"world // not a comment\";",
    "    int total = 0;",
    "    for (int i = 0; i < LIMIT; ++i) {",
    "        if (i % 7 == 0) continue;  // skip sevens",
    "        total += Square(i) - 3 * i;",
    "    }",
    "    struct Point p = {12, -4};",
    "    printf(\"%s%c %d\\n\", name, separator, total);",
    "    while (total > 1000) total /= 2;",
    "    switch (argc) {",
    "        case 1: return 0;",
    "        default: break;",
    "    }",
    "    return p.x + p.y >= 8 ? 1 : 0;",
    "}",
    "// end of file",
};

const char* const kKeywords[] = {"int", "char", "return", "for", "if", "while", "switch", "case", "default",
                                 "break", "continue", "const", "static", "struct"};

}  // namespace

TEST_F(RedaktSdlTest, AnEditorWithEverySyntaxClassInARealWindow) {
    auto* editor = new TTextEditor(form);
    editor->SetBounds(10, 10, 730, 510);
    editor->SetParent(form);
    editor->SetFontSize(10);
    for (auto setter : {&TTextEditor::SetShowRemarks, &TTextEditor::SetShowNumbers, &TTextEditor::SetShowStrings,
                        &TTextEditor::SetShowChars, &TTextEditor::SetShowSymbols, &TTextEditor::SetShowDirectives,
                        &TTextEditor::SetShowBoldWords, &TTextEditor::SetShowLineNumbers, &TTextEditor::SetShowLineEnds})
        (editor->*setter)(true);
    editor->SetMarginPos(60);
    for (const char* keyword : kKeywords) {
        editor->boldWords.Add(keyword);
        editor->boldWordLengths.Add(static_cast<int>(TString(keyword).Length()));
    }
    editor->tabStops.Add(4);
    editor->tabStops.Add(8);
    editor->markers += TEXT_EDITOR_MARKER{8, 3};
    editor->sections.Add(TIntPair{4, 6});
    TStringContainer text;
    for (const char* line : kSource) text.Add(line);
    editor->NewStrings(text);
    // Lines 16 to 19 selected, the part from line 18 on in the second colour.
    editor->selection = TTextEditorSelection{0, 0, 0, 16, 20};
    editor->selMark = 18;
    form->Show();
    Settle();
    editor->SetFocus();
    editor->SetCurLine(9);
    editor->SetCurCol(11);
    editor->CaretOn();
    Settle();
    ExpectPresentedEqualsFullRepaint(editor, "the painted editor");
    const std::string picture = win32::SaveTestPicture(form->GetHandle());
    EXPECT_FALSE(picture.empty());
    std::printf("picture: %s\n", picture.c_str());

    // Scrolled by the wheel the window still shows what a repaint draws.
    editor->SetBounds(10, 10, 730, 300);
    Settle();
    driver->Wheel(editor->GetHandle(), 100, 100, -1);  // one notch: three lines down
    EXPECT_EQ(editor->GetVPos(), 3);
    ExpectPresentedEqualsFullRepaint(editor, "after the wheel");
    EXPECT_FALSE(win32::SaveTestPicture(form->GetHandle(), "scrolled").empty());
}

// A file loaded, the caret sent far down (the view follows), three lines
// inserted there and left selected as a block, then undone, then a few
// characters selected within a line: each state as the window shows it.
TEST_F(RedaktSdlTest, ALoadedFileWithAnInsertedBlockAndTheCaretScrolledIntoView) {
    const std::string path = std::string(std::getenv("TMPDIR") ? std::getenv("TMPDIR") : "/tmp") + "/redakt_sdl_" +
                             std::to_string(::getpid()) + ".txt";
    FILE* file = std::fopen(path.c_str(), "wb");
    ASSERT_NE(file, nullptr);
    for (int i = 0; i < 200; ++i)
        std::fprintf(file, "%sline %d of the loaded file\r\n", i % 10 == 0 ? "\t" : "", i);
    std::fclose(file);
    auto* editor = new TTextEditor(form);
    editor->SetBounds(10, 10, 730, 510);
    editor->SetParent(form);
    editor->SetFontSize(10);
    editor->SetShowLineNumbers(true);
    form->Show();
    Settle();
    editor->Load(TString(path), 0);
    std::remove(path.c_str());
    ASSERT_EQ(editor->lines.GetCount(), 200);
    editor->SetFocus();
    editor->CaretOn();
    editor->SetCursorPosX(5);
    editor->SetCursorPosY(150);
    editor->SetCaretPos(5, 150);
    const int rows = editor->GetClientHeight() / editor->GetLineHeight();
    EXPECT_EQ(editor->GetVPos(), 150 - rows + 1);  // the caret line is the last one shown
    TStringContainer block;
    for (const char* line : {"INSERTED one", "INSERTED two", "INSERTED three"}) block.Add(line);
    editor->InsertText(block);
    ExpectPresentedEqualsFullRepaint(editor, "the inserted block");
    EXPECT_FALSE(win32::SaveTestPicture(form->GetHandle(), "inserted-block").empty());

    editor->Undo();
    EXPECT_EQ(editor->lines[150].str(), "        line 150 of the loaded file");  // its tab expanded
    ExpectPresentedEqualsFullRepaint(editor, "after the undo");

    editor->ClearSelection(true);
    for (int step = 0; step < 6; ++step) {
        editor->SetCursorPosX(editor->GetCurCol() + 1);
        editor->SelRight(1);
    }
    editor->SetCaretPos(editor->GetCurCol(), editor->GetCurLine());
    ExpectPresentedEqualsFullRepaint(editor, "six characters selected");
    EXPECT_FALSE(win32::SaveTestPicture(form->GetHandle(), "inline-selection").empty());
}
