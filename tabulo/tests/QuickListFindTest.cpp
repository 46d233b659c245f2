// Tests of TQuickList's find and replace: the search through its range with
// the wrap, the report of a miss, the scroll to a match, the dialogs run
// through the responder, replacing with its confirmation and in one pass,
// and the drag information form.
#include <gtest/gtest.h>

#include "Buttons.h"
#include "ComboBox.h"
#include "Label.h"
#include "MessageBox.h"
#include "QuickListFindDlg.h"
#include "QuickListFixtures.h"
#include "QuickListInfoForm.h"
#include "QuickListReplaceConfirmDlg.h"
#include "QuickListReplaceDlg.h"
#include "ScrollBarControl.h"

namespace {

using Step = ScriptedResponder::Step;
using Cells = std::vector<std::vector<std::string>>;

class QuickListFindTest : public QuickListFixture {
protected:
    // Options and text of a search that starts at the top-left.
    void Prepare(const std::string& text, bool caseSensitive = false, bool wholeText = false) {
        Info().findText = text;
        Info().caseSensitive = caseSensitive;
        Info().wholeText = wholeText;
        Info().replace = false;
        Info().line = Info().col = 0;
    }
    void PrepareReplace(const std::string& text, const std::string& replacement, bool confirm) {
        Prepare(text);
        Info().replaceText = replacement;
        Info().replace = true;
        Info().confirm = confirm;
    }
    // The current cell after each of count searches (-1, -1 for a miss).
    std::vector<std::pair<int, int>> Searches(int count) {
        std::vector<std::pair<int, int>> found;
        for (int i = 0; i < count; ++i) found.push_back(grid->FindNext(false) ? Current() : std::make_pair(-1, -1));
        return found;
    }
    // The centre of a grid on the screen and the centre of a window.
    POINT GridCentre() const {
        const POINT topLeft = form->ClientToScreen(POINT{grid->GetLeft(), grid->GetTop()});
        const POINT bottomRight =
            form->ClientToScreen(POINT{grid->GetLeft() + grid->GetWidth() - 1, grid->GetTop() + grid->GetHeight() - 1});
        return POINT{(topLeft.x + bottomRight.x) / 2, (topLeft.y + bottomRight.y) / 2};
    }
    static POINT Centre(const RECT& r) { return POINT{(r.left + r.right - 1) / 2, (r.top + r.bottom - 1) / 2}; }
};

using Found = std::vector<std::pair<int, int>>;

TEST_F(QuickListFindTest, TheOptionsDecideWhichCellsMatch) {
    struct Case {
        bool caseSensitive, wholeText;
        Found found;  // two searches
    };
    const Case cases[] = {
        {false, false, {{0, 0}, {1, 1}}},
        {false, true, {{0, 0}, {0, 0}}},
        {true, false, {{-1, -1}, {-1, -1}}},
    };
    for (const Case& c : cases) {
        MakeGrid({{"abc", "q"}, {"r", "xabcx"}});
        Prepare("ABC", c.caseSensitive, c.wholeText);
        EXPECT_EQ(Searches(2), c.found) << c.caseSensitive << c.wholeText;
        delete grid;
    }
}

TEST_F(QuickListFindTest, SearchesGoOnFromTheMatchAndWrapToTheTopLeft) {
    MakeGrid({{"a1", "b", "a2"}, {"c", "a3", "d"}});
    Prepare("a");
    EXPECT_EQ(Searches(4), (Found{{0, 0}, {0, 2}, {1, 1}, {0, 0}}));
    // A search position outside the range starts from its top-left.
    Info().line = 7;
    Info().col = -3;
    EXPECT_EQ(Searches(1), (Found{{0, 0}}));
    // An empty text with whole text only finds the empty cells.
    Prepare("", false, true);
    EXPECT_EQ(Searches(1), (Found{{-1, -1}}));
    grid->SetCell(1, 2, "", false);
    EXPECT_EQ(Searches(1), (Found{{1, 2}}));
    // Nothing to search in a grid without lines or cells.
    grid->ClearCells(false);
    EXPECT_FALSE(grid->FindNext(true));
}

TEST_F(QuickListFindTest, ASelectionKeepsTheSearchInside) {
    MakeGrid({{"x", "x", "x", "x"}, {"x", "-", "x", "x"}, {"x", "x", "-", "x"}, {"x", "x", "x", "x"}});
    grid->SetSelectionCorners(1, 1, 2, 2, false);
    Prepare("x");
    EXPECT_EQ(Searches(3), (Found{{1, 2}, {2, 1}, {1, 2}}));
    RECT selection;
    EXPECT_TRUE(grid->GetSelection(selection));
    Prepare("-");
    EXPECT_EQ(Searches(2), (Found{{1, 1}, {2, 2}}));
    // A selection reaching past the grid is cut to the cells that exist.
    grid->SetSelectionCorners(3, 3, 6, 9, false);
    Prepare("x");
    EXPECT_EQ(Searches(2), (Found{{3, 3}, {3, 3}}));
}

TEST_F(QuickListFindTest, AMissIsReportedWithTheTextAndKeepsThePosition) {
    MakeGrid({{"a", "b"}, {"c", "d"}});
    grid->SetSelectedLine(0);
    grid->SetSelectedCol(1);
    for (const char* text : {"zz", "100%s %n%d"}) {
        ScriptedResponder responder({ScriptedResponder::Answer(IDOK)});
        Prepare(text);
        Info().line = Info().col = 1;
        EXPECT_FALSE(grid->FindNext(true));
        ASSERT_EQ(responder.seen.size(), 1u);
        const SeenInteraction& box = responder.seen[0];
        EXPECT_EQ(box.kind, win32::ModalKind::MessageBox);
        EXPECT_EQ(box.caption, "Find");
        EXPECT_EQ(box.text, std::string("Search string '") + text + "' not found");
        EXPECT_EQ(box.style & MB_ICONMASK, UINT(MB_ICONINFORMATION));
        EXPECT_EQ(box.owner, form->GetHandle());
        EXPECT_EQ(Info().line, 1);
        EXPECT_EQ(Info().col, 1);
        EXPECT_EQ(Current(), std::make_pair(0, 1));
        // Without reporting nothing is shown.
        EXPECT_FALSE(grid->FindNext(false));
        EXPECT_EQ(responder.seen.size(), 1u);
    }
}

TEST_F(QuickListFindTest, AMatchOutOfViewIsScrolledToAndBecomesCurrent) {
    Cells lines(100, std::vector<std::string>(12, "."));
    lines[80][9] = "here";
    lines[3][1] = "near";
    MakeGrid({});
    grid->SetCaptions(std::vector<std::string>(12, "c"), false);
    for (const auto& line : lines) grid->AppendLine(line, false);  // no repaint: the bars' ranges are old
    grid->SetColVisibility(2, false, false);
    Prepare("here");
    ASSERT_TRUE(grid->FindNext(false));
    EXPECT_EQ(Current(), std::make_pair(80, 9));
    EXPECT_EQ(grid->GetVertScrollBar()->GetPosition(), 80);
    // The horizontal position counts shown columns: 8 left of column 9.
    EXPECT_EQ(grid->GetHorzScrollBar()->GetPosition(), 8);
    EXPECT_EQ(grid->GetFirstVisibleColX(), 9);
    EXPECT_EQ(grid->GetPaintedLines().count(80), 1u);
    EXPECT_EQ(grid->GetPaintedCols().count(9), 1u);
    // A match in view leaves the scroll positions alone.
    grid->GetVertScrollBar()->SetPosition(2);
    grid->GetHorzScrollBar()->SetPosition(0);
    Prepare("near");
    ASSERT_TRUE(grid->FindNext(false));
    EXPECT_EQ(grid->GetVertScrollBar()->GetPosition(), 2);
    EXPECT_EQ(grid->GetHorzScrollBar()->GetPosition(), 0);
}

TEST_F(QuickListFindTest, TheFindDialogStartsASearchAndCancelChangesNothing) {
    MakeGrid({{"one", "two"}, {"Two", "three"}});
    grid->SetSelectedLine(0);
    grid->SetSelectedCol(0);
    Info().findHistory = {"older"};
    Info().line = Info().col = 1;
    {
        ScriptedResponder responder({ScriptedResponder::Act<TQuickListFindDlg>([](TQuickListFindDlg& dialog) {
            dialog.cmbText->SetText("TWO");
            dialog.btnCancel->Click();
        })});
        grid->Find();
        EXPECT_EQ(responder.seen.size(), 1u);
    }
    EXPECT_EQ(Info().findText, "");
    EXPECT_EQ(Info().findHistory, (std::vector<std::string>{"older"}));
    EXPECT_EQ(Info().line, 1);
    EXPECT_EQ(Current(), std::make_pair(0, 0));

    ScriptedResponder responder({ScriptedResponder::Act<TQuickListFindDlg>([](TQuickListFindDlg& dialog) {
        dialog.cmbText->SetText("two");
        dialog.cbCase->SetChecked(true);
        dialog.btnOk->Click();
    })});
    grid->Find();
    ASSERT_EQ(responder.seen.size(), 1u);
    EXPECT_EQ(responder.seen[0].caption, "Find");
    EXPECT_EQ(Current(), std::make_pair(0, 1));
    EXPECT_TRUE(Info().caseSensitive);
    EXPECT_FALSE(Info().replace);
    std::vector<std::string> history{"kept"};
    grid->GetFindHistory(history);
    EXPECT_EQ(history, (std::vector<std::string>{"kept", "two", "older"}));
    // F3 repeats it: the next "two" with case sensitivity is the first again.
    EXPECT_TRUE(grid->FindNext(true));
    EXPECT_EQ(Current(), std::make_pair(0, 1));
}

// The dialog typed into and answered by the keyboard alone.
TEST_F(QuickListFindTest, TheFindDialogAnswersTheKeyboard) {
    MakeGrid({{"a", "b"}, {"cd", "e"}});
    ScriptedResponder responder({[this](const win32::ModalInteraction&) {
        driver.SetAutoPump(false);
        driver.Type("D");
        driver.Press(VK_RETURN);
        return win32::ModalReply::Run();
    }});
    grid->Find();
    driver.SetAutoPump(true);
    EXPECT_EQ(Info().findText, "D");
    EXPECT_EQ(Current(), std::make_pair(1, 0));
}

TEST_F(QuickListFindTest, EachDialogIsCentredOverTheGrid) {
    MakeGrid({{"a", "b"}, {"c", "d"}});
    form->SetBounds(80, 60, 500, 400);
    grid->SetBounds(150, 100, 240, 180);
    ScriptedResponder responder({
        ScriptedResponder::Answer(mrCancel),
        ScriptedResponder::Act<TQuickListReplaceDlg>([](TQuickListReplaceDlg& dialog) {
            dialog.cmbText->SetText("a");
            dialog.btnOk->Click();
        }),
        ScriptedResponder::Answer(TQuickListReplaceConfirmDlg::kCancel),
    });
    grid->Find();
    grid->Replace();
    ASSERT_EQ(responder.seen.size(), 3u);
    const char* captions[] = {"Find", "QuickListReplaceDlg", "Replace"};
    const POINT centre = GridCentre();
    for (size_t i = 0; i < 3; ++i) {
        EXPECT_EQ(responder.seen[i].caption, captions[i]);
        const POINT dialog = Centre(responder.seen[i].window);
        EXPECT_LE(std::abs(dialog.x - centre.x), 1) << captions[i];
        EXPECT_LE(std::abs(dialog.y - centre.y), 1) << captions[i];
    }
    EXPECT_EQ(grid->GetCell(0, 0), "a");  // the confirmation was cancelled
}

TEST_F(QuickListFindTest, TheConfirmationDecidesEachReplacement) {
    struct Case {
        const char* what;
        std::vector<int> answers;
        std::vector<bool> results;  // of three searches
        Cells cells;
        size_t asked;
    };
    const int yes = TQuickListReplaceConfirmDlg::kYes, no = TQuickListReplaceConfirmDlg::kNo;
    const int all = TQuickListReplaceConfirmDlg::kAll, cancel = TQuickListReplaceConfirmDlg::kCancel;
    const Case cases[] = {
        {"no moves on", {no, yes, cancel}, {true, true, false}, {{"x1", "-"}, {"X"}}, 3},
        {"all replaces the rest unasked", {all}, {true, true, false}, {{"X", "-"}, {"X"}}, 1},
        {"cancel stops", {cancel}, {false, false, false}, {{"x1", "-"}, {"x2"}}, 3},
    };
    for (const Case& c : cases) {
        MakeGrid({{"x1", "-"}, {"x2"}});
        std::vector<Step> steps;
        for (int answer : c.answers) steps.push_back(ScriptedResponder::Answer(answer));
        steps.push_back(ScriptedResponder::Answer(IDOK));  // the message of a miss
        ScriptedResponder responder(steps);
        PrepareReplace("x", "X", true);
        Info().caseSensitive = true;
        std::vector<bool> results;
        for (int i = 0; i < 3; ++i) results.push_back(grid->FindNext(false));
        EXPECT_EQ(results, c.results) << c.what;
        Cells expected = c.cells;
        expected[1].push_back("");
        EXPECT_EQ(GridCells(), expected) << c.what;
        EXPECT_EQ(responder.seen.size(), c.asked) << c.what;
        for (const SeenInteraction& seen : responder.seen) EXPECT_EQ(seen.caption, "Replace") << c.what;
        delete grid;
    }
}

// Replace all goes once through the range: a replacement that matches again
// and matches answered "&No" are not met a second time.
TEST_F(QuickListFindTest, ReplaceAllEndsAfterOnePass) {
    struct Case {
        const char* what;
        int answer;
        Cells cells;
        size_t asked;
    };
    const Cells start{{"a", "b", "xa"}, {"c", "a", "d"}};
    const Case cases[] = {
        {"all", TQuickListReplaceConfirmDlg::kAll, {{"aa", "b", "aa"}, {"c", "aa", "d"}}, 1},
        {"no to each", TQuickListReplaceConfirmDlg::kNo, start, 3},
    };
    for (const Case& c : cases) {
        MakeGrid(start);
        grid->SetSelectedLine(1);
        grid->SetSelectedCol(2);
        ScriptedResponder responder({
            ScriptedResponder::Act<TQuickListReplaceDlg>([](TQuickListReplaceDlg& dialog) {
                dialog.cmbText->SetText("a");
                dialog.cmbReplace->SetText("aa");
                dialog.btnAll->Click();
            }),
            ScriptedResponder::Answer(c.answer),
        });
        grid->Replace();
        EXPECT_EQ(GridCells(), c.cells) << c.what;
        EXPECT_EQ(responder.seen.size(), c.asked + 1) << c.what;
        EXPECT_TRUE(Info().replace);
        delete grid;
    }
    // Nothing to replace: the miss is reported once.
    MakeGrid(start);
    ScriptedResponder responder({
        ScriptedResponder::Act<TQuickListReplaceDlg>([](TQuickListReplaceDlg& dialog) {
            dialog.cmbText->SetText("zzz");
            dialog.btnAll->Click();
        }),
        ScriptedResponder::Answer(IDOK),
    });
    grid->Replace();
    ASSERT_EQ(responder.seen.size(), 2u);
    EXPECT_EQ(responder.seen[1].kind, win32::ModalKind::MessageBox);
    EXPECT_EQ(GridCells(), start);
}

TEST_F(QuickListFindTest, ReplaceOnceAsksAndCancelInTheDialogChangesNothing) {
    MakeGrid({{"a", "ba"}});
    {
        ScriptedResponder responder({ScriptedResponder::Answer(mrCancel)});
        grid->Replace();
    }
    EXPECT_FALSE(Info().replace);
    EXPECT_EQ(GridCells(), (Cells{{"a", "ba"}}));
    ScriptedResponder responder({
        ScriptedResponder::Act<TQuickListReplaceDlg>([](TQuickListReplaceDlg& dialog) {
            dialog.cmbText->SetText("A");
            dialog.cmbReplace->SetText("z");
            dialog.btnOk->Click();
        }),
        ScriptedResponder::Answer(TQuickListReplaceConfirmDlg::kYes),
    });
    grid->Replace();
    EXPECT_EQ(GridCells(), (Cells{{"z", "ba"}}));
    EXPECT_EQ(Current(), std::make_pair(0, 0));
    // A replacement raises no OnCellChanged and records no undo.
    bool changed = false;
    grid->OnCellChanged = [&](TQuickList*, int, int, std::string&, bool&) { changed = true; };
    EXPECT_TRUE(grid->FindNext(false));
    EXPECT_EQ(GridCells(), (Cells{{"z", "z"}}));
    EXPECT_FALSE(changed);
    EXPECT_TRUE(grid->GetUndoList().empty());
    std::vector<std::string> history;
    grid->GetReplaceHistory(history);
    EXPECT_EQ(history, (std::vector<std::string>{"z"}));
}

// A grid whose drag state a test sets as the mouse sets it.
class TDraggedQuickList : public TQuickList {
public:
    explicit TDraggedQuickList(TComponent* owner) : TQuickList(owner) {}
    void Drag(bool column, int index, POINT mouse) {
        colDrag_ = column;
        lineDrag_ = !column;
        (column ? dragCol_ : dragLine_) = index;
        mousePosition_ = mouse;
    }
    void EndDrag() { colDrag_ = lineDrag_ = false; }
};

TEST_F(QuickListFindTest, TheInfoFormShowsTheDraggedSizeBesideThePointer) {
    auto* dragged = MakeGrid<TDraggedQuickList>({{"a", "b"}, {"c", "d"}});
    dragged->SetColWidth(1, 80, false);
    TQuickListInfoForm* info = dragged->GetInfoForm();
    ASSERT_NE(info, nullptr);
    EXPECT_EQ(info->GetBorderStyle(), bsNone);
    EXPECT_EQ(info->GetFormStyle(), fsStayOnTop);
    EXPECT_EQ(info->GetColor(), clInfoBk);
    EXPECT_FALSE(info->InfoShown());

    struct Case {
        bool column;
        int index;
        const char* text;
    };
    for (const Case& c : {Case{true, 1, "Width = 80"}, Case{false, 1, "Height = 20"}}) {
        dragged->Drag(c.column, c.index, POINT{70, 30});
        dragged->RefreshInfoForm();
        EXPECT_EQ(info->lbInfo->GetCaption(), c.text);
        const POINT pointer = dragged->ClientToScreen(POINT{70, 30});
        EXPECT_EQ(info->GetLeft(), pointer.x + 4);
        EXPECT_EQ(info->GetTop(), pointer.y + 4);
        EXPECT_GT(info->lbInfo->GetWidth(), 20);
        EXPECT_EQ(info->GetClientWidth(), info->lbInfo->GetWidth() + 2 * info->lbInfo->GetLeft());
        EXPECT_EQ(info->GetClientHeight(), info->lbInfo->GetHeight() + 2 * info->lbInfo->GetTop());
    }
    // Shown, it leaves the activation with the grid's form.
    dragged->SetFocus();
    info->ShowInfo();
    driver.PumpUntilIdle();
    EXPECT_TRUE(info->InfoShown());
    EXPECT_TRUE(dragged->Focused());
    info->HideInfo();
    EXPECT_FALSE(info->InfoShown());
    // Without a drag nothing changes.
    dragged->EndDrag();
    dragged->SetColWidth(1, 99, false);
    dragged->RefreshInfoForm();
    EXPECT_EQ(info->lbInfo->GetCaption(), "Height = 20");
}

}  // namespace
