// Typing into the editor in a real window: keys sent through the X server
// (xdotool) type a short C function with Enter, Tab and a Ctrl+Z, and the
// window shows the coloured text with the caret after its last character.
// A picture is saved for looking at (SaveTestPicture's folder). Needs a
// display and xdotool (CI runs it under xvfb-run); skips itself without
// either.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "RedaktSdlFixture.h"
#include "TextEditor.h"
#include "display/TestPicture.h"

namespace {

const char* const kCaption = "Redakt typing";

const char* const kKeywords[] = {"int", "return"};

// An xdotool command line run against the X server; true when it succeeded.
bool Xdotool(const std::string& arguments) {
    return std::system(("timeout 20 xdotool " + arguments).c_str()) == 0;
}

}  // namespace

TEST_F(RedaktSdlTest, KeysThroughTheXServerTypeAColouredFunction) {
    if (std::system("command -v xdotool > /dev/null 2>&1") != 0) GTEST_SKIP() << "xdotool is not installed";
    form->SetBounds(60, 60, 560, 260);
    form->SetText(kCaption);
    auto* editor = new TTextEditor(form);
    editor->SetBounds(10, 10, 530, 200);
    editor->SetParent(form);
    editor->SetFontSize(10);
    editor->SetTabSize(4);
    for (auto setter : {&TTextEditor::SetShowRemarks, &TTextEditor::SetShowNumbers, &TTextEditor::SetShowSymbols,
                        &TTextEditor::SetShowBoldWords, &TTextEditor::SetShowLineNumbers})
        (editor->*setter)(true);
    for (const char* keyword : kKeywords) {
        editor->boldWords.Add(keyword);
        editor->boldWordLengths.Add(static_cast<int>(TString(keyword).Length()));
    }
    form->Show();
    Settle();
    const std::string window = XWindowOf(kCaption);
    ASSERT_FALSE(window.empty()) << "the form's X window was not found";
    ASSERT_TRUE(Xdotool("windowfocus --sync " + window));
    Settle();
    editor->SetFocus();
    Settle();
    ASSERT_TRUE(editor->Focused());

    // The last line typed is taken back by Ctrl+Z (one run of typing), and
    // Backspace joins its empty line to the brace.
    ASSERT_TRUE(Xdotool("type --delay 15 'int add(int a, int b) {'"));
    ASSERT_TRUE(Xdotool("key --delay 30 Return Tab"));
    ASSERT_TRUE(Xdotool("type --delay 15 'return a + 2 * b; // sum'"));
    ASSERT_TRUE(Xdotool("key --delay 30 Return"));
    ASSERT_TRUE(Xdotool("type --delay 15 '}'"));
    ASSERT_TRUE(Xdotool("key --delay 30 Return"));
    ASSERT_TRUE(Xdotool("type --delay 15 'junk'"));
    ASSERT_TRUE(Xdotool("key --delay 30 ctrl+z BackSpace"));
    Settle();
    std::vector<std::string> text;
    for (int i = 0; i < editor->lines.GetCount(); ++i) text.push_back(editor->lines[i].str());
    EXPECT_EQ(text, (std::vector<std::string>{"int add(int a, int b) {", "    return a + 2 * b; // sum", "}"}));
    EXPECT_EQ(editor->GetCurLine(), 2);
    EXPECT_EQ(editor->GetCurCol(), 1);
    ExpectPresentedEqualsFullRepaint(editor, "the typed function");
    const std::string picture = win32::SaveTestPicture(form->GetHandle(), "typed");
    EXPECT_FALSE(picture.empty());
    std::printf("picture: %s\n", picture.c_str());
}
