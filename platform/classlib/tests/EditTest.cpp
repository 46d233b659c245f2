// TEdit and TMemo: typing, selection, limits, keys changed by the events,
// clipboard keys, the memo's lines, rows and scroll bar.
#include <string>
#include <vector>

#include "ClipboardText.h"
#include "ControlFixture.h"
#include "Edit.h"
#include "Exceptions.h"
#include "PropertyTable.h"

namespace {

class EditTest : public ControlTest {
protected:
    void SetUp() override {
        ControlTest::SetUp();
        edit = new TEdit(host);
        edit->SetParent(host);
        edit->SetBounds(10, 10, 150, 21);
        edit->OnChange = [this](TObject*) { ++changes; };
        edit->SetFocus();
        driver.PumpUntilIdle();
    }
    TEdit* edit = nullptr;
    int changes = 0;
};

TEST_F(EditTest, TypingInsertsAtTheCaretAndReplacesTheSelection) {
    driver.Type("Hello");
    EXPECT_EQ("Hello", edit->GetText());
    EXPECT_EQ(5, edit->GetSelStart());
    EXPECT_EQ(5, changes);
    driver.Press(VK_HOME);
    driver.Press({VK_SHIFT}, VK_RIGHT);
    driver.Press({VK_SHIFT}, VK_RIGHT);
    EXPECT_EQ("He", edit->GetSelText());
    driver.Type("J");
    EXPECT_EQ("Jllo", edit->GetText());
    driver.Press(VK_END);
    driver.Press(VK_BACK);
    driver.Press(VK_HOME);
    driver.Press(VK_DELETE);
    EXPECT_EQ("ll", edit->GetText());
    // Ctrl+Left and Ctrl+Right move by words.
    edit->SetText("one two three");
    driver.Press({VK_CONTROL}, VK_END);
    driver.Press({VK_CONTROL}, VK_LEFT);
    EXPECT_EQ(8, edit->GetSelStart());
}

TEST_F(EditTest, SelectionPropertiesClampIntoTheText) {
    edit->SetText("abcdef");
    struct Case {
        int start, length;
        int wantStart, wantLength;
        const char* wantText;
    };
    const Case cases[] = {
        {2, 3, 2, 3, "cde"}, {-4, 2, 0, 2, "ab"}, {4, 100, 4, 2, "ef"},
        {99, 1, 6, 0, ""},   {4, -2, 2, 2, "cd"}, {1, -9, 0, 1, "a"},
    };
    for (const Case& c : cases) {
        edit->SetSelStart(c.start);
        edit->SetSelLength(c.length);
        EXPECT_EQ(c.wantStart, edit->GetSelStart()) << c.start << "," << c.length;
        EXPECT_EQ(c.wantLength, edit->GetSelLength()) << c.start << "," << c.length;
        EXPECT_EQ(c.wantText, edit->GetSelText());
    }
    edit->SetSelStart(1);
    edit->SetSelLength(2);
    edit->SetSelText("XYZ");
    EXPECT_EQ("aXYZdef", edit->GetText());
    EXPECT_EQ(4, edit->GetSelStart());
    edit->SelectAll();
    EXPECT_EQ(7, edit->GetSelLength());
}

TEST_F(EditTest, MaxLengthAndReadOnlyLimitTheUserButNotCode) {
    edit->SetMaxLength(4);
    driver.Type("abcdef");
    EXPECT_EQ("abcd", edit->GetText());
    SetClipboardText("XYZ");
    driver.Press(VK_LEFT);
    driver.Press({VK_SHIFT}, VK_LEFT);  // selects "c": room for one byte
    driver.Press({VK_CONTROL}, 'V');
    EXPECT_EQ("abXd", edit->GetText());
    edit->SetText("longer than four");
    EXPECT_EQ("longer than four", edit->GetText());

    edit->SetReadOnly(true);
    edit->SelectAll();
    int before = changes;
    driver.Type("x");
    driver.Press(VK_DELETE);
    driver.Press(VK_BACK);
    driver.Press({VK_CONTROL}, 'X');
    EXPECT_EQ("longer than four", edit->GetText());
    EXPECT_EQ(before, changes);
    driver.Press({VK_CONTROL}, 'C');
    EXPECT_EQ("longer than four", GetClipboardText());
}

TEST_F(EditTest, KeysChangedOrClearedInTheEventsAreHonoured) {
    edit->OnKeyPress = [](TObject*, char& key) {
        if (key == 'x') key = 0;
        if (key >= 'a' && key <= 'z') key = static_cast<char>(key - 'a' + 'A');
    };
    edit->OnKeyDown = [](TObject*, WORD& key, TShiftState) {
        if (key == VK_HOME) key = 0;
        if (key == VK_DELETE) key = VK_BACK + 0;  // not a movement key: nothing happens
    };
    driver.Type("axb");
    EXPECT_EQ("AB", edit->GetText());
    driver.Press(VK_HOME);
    EXPECT_EQ(2, edit->GetSelStart());
    driver.Press(VK_LEFT);
    driver.Press(VK_DELETE);
    EXPECT_EQ("AB", edit->GetText());
}

TEST_F(EditTest, ClipboardKeysCopyCutAndPaste) {
    edit->SetText("one two");
    edit->SetSelStart(4);
    edit->SetSelLength(3);
    driver.Press({VK_CONTROL}, VK_INSERT);
    EXPECT_EQ("two", GetClipboardText());
    driver.Press({VK_SHIFT}, VK_DELETE);
    EXPECT_EQ("one ", edit->GetText());
    EXPECT_EQ("two", GetClipboardText());
    driver.Press({VK_SHIFT}, VK_INSERT);
    driver.Press({VK_SHIFT}, VK_INSERT);
    EXPECT_EQ("one twotwo", edit->GetText());
    driver.Press({VK_CONTROL}, 'A');
    driver.Press({VK_CONTROL}, 'X');
    EXPECT_EQ("", edit->GetText());
    EXPECT_EQ("one twotwo", GetClipboardText());
    // A single-line box pastes up to the first line break.
    SetClipboardText("first\r\nsecond");
    driver.Press({VK_CONTROL}, 'V');
    EXPECT_EQ("first", edit->GetText());
}

TEST_F(EditTest, MouseClickPlacesTheCaretAndDragSelects) {
    edit->SetText("abcdefghij");
    HWND window = edit->GetHandle();
    driver.Click(window, 3, 10);
    EXPECT_EQ(0, edit->GetSelStart());
    driver.Drag(window, 3, 10, 140, 10);
    EXPECT_EQ(0, edit->GetSelStart());
    EXPECT_EQ(10, edit->GetSelLength());
}

TEST_F(EditTest, PaintShowsTextAndTheSelectionHighlight) {
    edit->SetText("MMMM");
    edit->SelectAll();
    driver.PumpUntilIdle();
    HWND window = edit->GetHandle();
    bool highlighted = false;
    for (int x = 3; x < 30; ++x)
        if (driver.Pixel(window, x, 10) == ColorToRGB(clHighlight)) highlighted = true;
    EXPECT_TRUE(highlighted);
    EXPECT_EQ(ColorToRGB(clWindow), driver.Pixel(window, 140, 10));
}

class MemoTest : public ControlTest {
protected:
    void SetUp() override {
        ControlTest::SetUp();
        memo = new TMemo(host);
        memo->SetParent(host);
        memo->SetBounds(5, 5, 150, 70);
        memo->SetFocus();
        driver.PumpUntilIdle();
    }
    TMemo* memo = nullptr;
};

TEST_F(MemoTest, LinesReadAndChangeTheText) {
    TStrings* lines = memo->GetLines();
    EXPECT_EQ(0, lines->GetCount());
    lines->Add("one");
    lines->Add("two");
    EXPECT_EQ("one\r\ntwo", memo->GetText());
    lines->Insert(1, "between");
    lines->SetStrings(0, "first");
    lines->Delete(2);
    EXPECT_EQ("first\r\nbetween", memo->GetText());
    EXPECT_THROW(lines->GetStrings(2), EStringListError);
    memo->SetText("a\r\nb\r\n");
    EXPECT_EQ(2, lines->GetCount());
    EXPECT_EQ("b", lines->GetStrings(1));
    lines->Clear();
    EXPECT_EQ("", memo->GetText());
}

TEST_F(MemoTest, EnterStartsALineAndArrowsMoveBetweenLines) {
    driver.Type("abc");
    driver.Press(VK_RETURN);
    driver.Type("de");
    EXPECT_EQ("abc\r\nde", memo->GetText());
    driver.Press(VK_UP);
    EXPECT_EQ(2, memo->GetSelStart());
    driver.Press(VK_END);
    driver.Press(VK_RIGHT);  // over the line break in one step
    EXPECT_EQ(5, memo->GetSelStart());
    driver.Press(VK_BACK);  // joins the lines again
    EXPECT_EQ("abcde", memo->GetText());
    // Pasted line ends of any kind become CR LF.
    SetClipboardText("x\ny\rz");
    driver.Press({VK_CONTROL}, 'V');
    EXPECT_EQ(3, memo->GetLines()->GetCount());
    EXPECT_EQ("abcx\r\ny\r\nzde", memo->GetText());
}

TEST_F(MemoTest, WordWrapBreaksRowsAndTheScrollBarFollowsTheCaret) {
    memo->SetScrollBars(ssVertical);
    memo->SetFocus();  // the window was made again
    std::string words;
    for (int i = 0; i < 40; ++i) words += "word ";
    memo->SetText(words);
    driver.Press({VK_CONTROL}, VK_END);
    driver.PumpUntilIdle();
    EXPECT_GT(memo->GetTopRow(), 0);
    SCROLLINFO info{sizeof(SCROLLINFO), SIF_ALL, 0, 0, 0, 0, 0};
    ASSERT_TRUE(GetScrollInfo(memo->GetHandle(), SB_VERT, &info));
    EXPECT_GT(info.nMax, 3);
    EXPECT_EQ(memo->GetTopRow(), info.nPos);
    SendMessageA(memo->GetHandle(), WM_VSCROLL, SB_TOP, 0);
    EXPECT_EQ(0, memo->GetTopRow());
    // Without wrapping the text is one row.
    memo->SetWordWrap(false);
    driver.Press({VK_CONTROL}, VK_END);
    EXPECT_EQ(0, memo->GetTopRow());
}

TEST_F(MemoTest, AHorizontalBarScrollsLongLines) {
    memo->SetWordWrap(false);
    memo->SetScrollBars(ssHorizontal);
    memo->SetFocus();
    memo->SetText(std::string(80, 'W') + "\r\nshort");
    driver.Press(VK_END);
    SCROLLINFO info{sizeof(SCROLLINFO), SIF_ALL, 0, 0, 0, 0, 0};
    ASSERT_TRUE(GetScrollInfo(memo->GetHandle(), SB_HORZ, &info));
    EXPECT_GT(info.nPos, 0);
    EXPECT_GT(info.nMax, 300);
    SendMessageA(memo->GetHandle(), WM_HSCROLL, SB_LEFT, 0);
    ASSERT_TRUE(GetScrollInfo(memo->GetHandle(), SB_HORZ, &info));
    EXPECT_EQ(0, info.nPos);
    SendMessageA(memo->GetHandle(), WM_HSCROLL, SB_LINERIGHT, 0);
    ASSERT_TRUE(GetScrollInfo(memo->GetHandle(), SB_HORZ, &info));
    EXPECT_GT(info.nPos, 0);
}

TEST_F(EditTest, PropertiesAreStoredAndRead) {
    edit->SetMaxLength(12);
    edit->SetText("it's");
    EXPECT_EQ("12", GetPropertyText(edit, "MaxLength"));
    EXPECT_EQ("it's", GetPropertyText(edit, "Text"));
    EXPECT_FALSE(IsPropertyDefault(edit, "Text"));
    SetPropertyText(edit, "ReadOnly", "True");
    EXPECT_TRUE(edit->GetReadOnly());
}

}  // namespace
