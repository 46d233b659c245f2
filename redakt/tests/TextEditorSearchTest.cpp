// Search and replace in the editor: a table of single search steps (F3 and
// Shift+F3), replace once and replace all with scripted prompt answers
// (driven through the responder), the prompt's place, search all into
// registered and made list boxes, and texts and lines of any length.
#include <functional>
#include <stdexcept>
#include <string>
#include <vector>

#include "Application.h"
#include "Buttons.h"
#include "ComboBox.h"
#include "Label.h"
#include "ListBox.h"
#include "RecordingEditor.h"
#include "RedaktFixture.h"
#include "Responder.h"
#include "TextEditorSearchDlg.h"

namespace {

// Options of a search request, or'ed together.
enum : unsigned {
    kCase = 1,
    kWhole = 2,
    kBackward = 4,
    kSelected = 8,     // scope: the selected text
    kFromStart = 16,   // origin: "Entire text"
    kEval = 32,
    kRegExp = 64,
    kShiftF3 = 128,    // the step is Shift+F3
};

struct TShown {
    win32::ModalKind kind;
    std::string caption, text;
    UINT style;
};

std::vector<std::string> Rows(TListBox* list) {
    std::vector<std::string> rows;
    for (int i = 0; i < list->GetItems()->GetCount(); ++i) rows.push_back(list->GetItems()->GetStrings(i));
    return rows;
}

std::vector<int> HitLines(const TTextEditorSearchResult& result) {
    std::vector<int> hits;
    for (int i = 0; i < result.hitLines.GetCount(); ++i) hits.push_back(result.hitLines[i]);
    return hits;
}

// An editor on the fixture's form. Every interaction is kept; message boxes
// are answered OK, the replace prompt from `answers` (Cancel when they run
// out), other forms by `onForm` (Cancel without one).
class SearchTest : public EditorTest {
protected:
    void SetUp() override {
        EditorTest::SetUp();
        editor = Place<TTestEditor>(10, 10, 300, 200);
        editor->SetFocus();
        driver.PumpUntilIdle();
        responder = std::make_unique<win32::ScopedResponder>([this](const win32::ModalInteraction& interaction) {
            shown.push_back({interaction.kind, interaction.caption, interaction.text, interaction.style});
            if (interaction.kind == win32::ModalKind::MessageBox) return win32::ModalReply::Answer(IDOK);
            TTextEditorReplacePromptDlg* prompt = SharedReplacePromptDlg();
            if (interaction.window == prompt->GetHandle()) {
                promptPlaces.push_back(POINT{prompt->GetLeft(), prompt->GetTop()});
                // The selected hit's cells on the screen, corners inclusive.
                const TTextEditorSelection& s = editor->selection;
                const RECT cells = CellsRect(editor, s.selLine, s.selStartCol, s.selEndCol - s.selStartCol);
                const POINT topLeft = editor->ClientToScreen(POINT{cells.left, cells.top});
                const POINT bottomRight = editor->ClientToScreen(POINT{cells.right - 1, cells.bottom - 1});
                promptHits.push_back(RECT{topLeft.x, topLeft.y, bottomRight.x, bottomRight.y});
                promptViews.push_back(POINT{editor->GetHPos(), editor->GetVPos()});
                const int answer = answers.empty() ? mrCancel : answers.front();
                if (!answers.empty()) answers.erase(answers.begin());
                return win32::ModalReply::Answer(answer);
            }
            return onForm ? onForm(interaction) : win32::ModalReply::Answer(mrCancel);
        });
        *editor->searchInfo = TTextEditorSearchInfo();
        editor->replaceText.Clear();
        editor->replacePrompt = true;
    }
    void TearDown() override {
        responder.reset();
        EditorTest::TearDown();
    }

    void Start(const std::vector<std::string>& text, int col, int line) {
        ShowText(editor, text);
        PutCaret(col, line);
    }
    // The caret there, the selection collapsed onto it.
    void PutCaret(int col, int line) {
        editor->SetCursorPosX(col);
        editor->SetCursorPosY(line);
        editor->selection = {col, col, line, line, line};
    }
    // Columns [start, end) of line selected, the caret after them.
    void SelectChars(int line, int start, int end) {
        PutCaret(end, line);
        editor->selection = {start, end, line, line, line};
    }
    void Request(const std::string& text, unsigned options) {
        TTextEditorSearchInfo& info = *editor->searchInfo;
        info.text = TString(text);
        info.caseSensitive = options & kCase;
        info.wholeWords = options & kWhole;
        info.regExp = options & kRegExp;
        info.evalExpression = options & kEval;
        info.forward = !(options & kBackward);
        info.entireText = !(options & kSelected);
        info.fromStart = options & kFromStart;
        if (info.evalExpression) {
            ASSERT_TRUE(editor->CreateExpression(info.text, info.expression));
        }
    }
    // One F3 (Shift+F3 with kShiftF3).
    void Step(unsigned options = 0) {
        editor->shiftState = (options & kShiftF3) ? TShiftState() << ssShift : TShiftState();
        editor->SearchByInfo();
        driver.PumpUntilIdle();
    }
    // The selected hit as (line, start, end), or (-1, -1, -1) without an in-line selection.
    std::vector<int> Hit() const {
        const TTextEditorSelection& s = editor->selection;
        if (s.selStartLine != s.selEndLine || s.selStartCol == s.selEndCol) return {-1, -1, -1};
        return {s.selLine, s.selStartCol, s.selEndCol};
    }
    std::vector<TShown> Boxes() const {
        std::vector<TShown> boxes;
        for (const TShown& s : shown)
            if (s.kind == win32::ModalKind::MessageBox) boxes.push_back(s);
        return boxes;
    }
    int Prompts() const { return static_cast<int>(promptPlaces.size()); }

    // Replace through its dialog: fill sets the dialog up and presses a
    // button (the form runs, so its close check runs too).
    void RunReplace(const std::function<void(TTextEditorReplaceDlg&)>& fill) {
        TTextEditorReplaceDlg* dialog = SharedReplaceDlg();
        ASSERT_NE(dialog, nullptr);
        onForm = [&](const win32::ModalInteraction& interaction) {
            if (interaction.window == dialog->GetHandle()) fill(*dialog);
            return win32::ModalReply::Run();
        };
        editor->Replace();
        onForm = nullptr;
        driver.SetAutoPump(true);
        driver.PumpUntilIdle();
    }
    // The replace dialog with a search text, a replacement and the prompt
    // switch, in the given direction and scope, answered by `button`.
    std::function<void(TTextEditorReplaceDlg&)> Fill(const std::string& find, const std::string& with, bool prompt,
                                                     unsigned options, bool all) {
        return [=](TTextEditorReplaceDlg& d) {
            d.cmbText->SetText(find);
            d.cmbReplaceText->SetText(with);
            d.cbPromptOnReplace->SetChecked(prompt);
            d.cbCaseSensitivity->SetChecked(options & kCase);
            d.cbWholeWords->SetChecked(options & kWhole);
            ((options & kBackward) ? d.rbBackward : d.rbForward)->SetChecked(true);
            ((options & kSelected) ? d.rbSelection : d.rbEntire)->SetChecked(true);
            ((options & kFromStart) ? d.rbFirstPos : d.rbCurPos)->SetChecked(true);
            (all ? d.Button4 : d.btnOk)->Click();
        };
    }

    // A list box on the form.
    TListBox* NewList(int left = 320) {
        auto* list = new TListBox(form);
        list->SetParent(form);
        list->SetBounds(left, 10, 70, 200);
        return list;
    }
    // Search all through its dialog with the text and options, choosing
    // destination `index` (-1: leave the list as it is) and pressing OK.
    TListBox* RunSearchAll(const std::string& find, unsigned options, int index,
                           const TTextEditorSearchAllCallback& callback = nullptr) {
        TTextEditorSearchAllDlg* dialog = SharedSearchAllDlg();
        onForm = [=](const win32::ModalInteraction& interaction) {
            if (interaction.window != dialog->GetHandle()) return win32::ModalReply::Answer(mrCancel);
            FillSearch(*dialog, find, options);
            if (index >= 0) dialog->cmbResultsDest->SetItemIndex(index);
            dialog->btnOk->Click();
            return win32::ModalReply::Run();
        };
        TListBox* list = editor->SearchAll(callback);
        onForm = nullptr;
        driver.PumpUntilIdle();
        return list;
    }
    static void FillSearch(TTextEditorSearchDlg& d, const std::string& find, unsigned options) {
        d.cmbText->SetText(find);
        d.cbCaseSensitivity->SetChecked(options & kCase);
        d.cbWholeWords->SetChecked(options & kWhole);
        d.cbEval->SetChecked(options & kEval);
        d.cbRegExp->SetChecked(options & kRegExp);
        ((options & kBackward) ? d.rbBackward : d.rbForward)->SetChecked(true);
        ((options & kSelected) ? d.rbSelection : d.rbEntire)->SetChecked(true);
        ((options & kFromStart) ? d.rbFirstPos : d.rbCurPos)->SetChecked(true);
    }

    TTestEditor* editor = nullptr;
    std::vector<TShown> shown;
    std::vector<int> answers;
    std::vector<POINT> promptPlaces;
    std::vector<RECT> promptHits;
    std::vector<POINT> promptViews;
    std::function<win32::ModalReply(const win32::ModalInteraction&)> onForm;
    std::unique_ptr<win32::ScopedResponder> responder;
};

}  // namespace

// ---- Single search steps ----

TEST_F(SearchTest, ATableOfSearchStepsFindsWhatEachCaseExpects) {
    const struct {
        const char* name;
        std::vector<std::string> text;
        int col, line;  // the caret, nothing selected
        const char* find;
        unsigned options;
        std::vector<int> hit;  // line, start, end; {} when nothing is found
    } kCases[] = {
        {"forward, exact", {"x Foo foo"}, 0, 0, "foo", kCase, {0, 6, 9}},
        {"forward, case-blind", {"x Foo foo"}, 0, 0, "foo", 0, {0, 2, 5}},
        {"forward from the caret", {"foo foo"}, 1, 0, "foo", 0, {0, 4, 7}},
        {"forward to a later line", {"abc", "x foo"}, 2, 0, "foo", 0, {1, 2, 5}},
        {"code-page letters, case-blind", {"x \xC1RV\xCDZ"}, 0, 0, "\xE1rv\xEDz", 0, {0, 2, 7}},
        {"code-page letters, exact", {"x \xC1RV\xCDZ"}, 0, 0, "\xE1rv\xEDz", kCase, {}},
        {"whole word: underscore refused, parentheses accepted", {"foo_bar (foo)"}, 0, 0, "foo", kWhole, {0, 9, 12}},
        {"whole word: a foob refused", {"a foob"}, 0, 0, "foo", kWhole, {}},
        {"whole word: a foob, then foo", {"a foob", "b foo."}, 0, 0, "foo", kWhole, {1, 2, 5}},
        {"whole word ending the line", {"a foo"}, 0, 0, "foo", kWhole, {0, 2, 5}},
        {"whole word: two before the end refused", {"a fooxy"}, 0, 0, "foo", kWhole, {}},
        {"backward from the caret at the line's end", {"a foo"}, 5, 0, "foo", kBackward, {0, 2, 5}},
        {"backward: a hit after the caret is not seen", {"foo x foo"}, 4, 0, "foo", kBackward, {0, 0, 3}},
        {"backward to an earlier line", {"foo x", "bar"}, 3, 1, "foo", kBackward, {0, 0, 3}},
        {"backward from Entire text examines the whole last line",
         {"foo", "xx foo"}, 0, 0, "foo", kBackward | kFromStart, {1, 3, 6}},
        {"forward from Entire text", {"foo", "foo"}, 3, 1, "foo", kFromStart, {0, 0, 3}},
        {"Shift+F3 reverses a forward search", {"foo foo"}, 7, 0, "foo", kShiftF3, {0, 4, 7}},
        {"Shift+F3 reverses a backward search", {"foo foo"}, 0, 0, "foo", kBackward | kShiftF3, {0, 0, 3}},
        {"a regular expression matches nothing", {"foo"}, 0, 0, "foo", kRegExp, {}},
        {"an empty text matches nothing", {"foo"}, 0, 0, "", 0, {}},
        {"a text longer than every line", {"fo", "o"}, 0, 0, "foo", 0, {}},
    };
    for (const auto& c : kCases) {
        Start(c.text, c.col, c.line);
        Request(c.find, c.options);
        shown.clear();
        Step(c.options);
        if (c.hit.empty()) {
            EXPECT_EQ(Hit(), (std::vector<int>{-1, -1, -1})) << c.name;
            EXPECT_EQ(Boxes().size(), 1u) << c.name;
        } else {
            EXPECT_EQ(Hit(), c.hit) << c.name;
            EXPECT_EQ(editor->GetCurLine(), c.hit[0]) << c.name;
            EXPECT_EQ(editor->GetCurCol(), c.hit[2]) << c.name;
            EXPECT_TRUE(shown.empty()) << c.name;
            // The next F3 goes on from the cursor through the entire text.
            EXPECT_TRUE(editor->searchInfo->entireText && !editor->searchInfo->fromStart) << c.name;
        }
    }
}

TEST_F(SearchTest, TheSelectedTextScopeSearchesTheBlockOrTheSelectionOnly) {
    const struct {
        const char* name;
        TTextEditorSelection selection;
        unsigned options;
        std::vector<int> hit;
    } kCases[] = {
        {"a line block, forward", {0, 0, 0, 1, 3}, kSelected, {1, 2, 5}},
        {"a line block, backward from its last line's end", {0, 0, 0, 0, 2}, kSelected | kBackward, {1, 2, 5}},
        {"a character selection, from its start", {1, 2, 1, 1, 1}, kSelected, {1, 2, 5}},
        {"a character selection, its end not a bound", {0, 3, 2, 2, 2}, kSelected, {2, 4, 7}},
        {"a character selection, backward: only before it", {4, 7, 2, 2, 2}, kSelected | kBackward, {}},
    };
    for (const auto& c : kCases) {
        Start({"foo", "x foo", "bar foo"}, 0, 0);
        editor->selection = c.selection;
        Request("foo", c.options);
        shown.clear();
        Step();
        if (c.hit.empty()) {
            ASSERT_EQ(Boxes().size(), 1u) << c.name;
            EXPECT_EQ(Boxes()[0].text, "Not found:foo") << c.name;
        } else {
            EXPECT_EQ(Hit(), c.hit) << c.name;
        }
    }
    // Without a selection the scope has nothing to search.
    Start({"foo"}, 0, 0);
    Request("foo", kSelected);
    shown.clear();
    Step();
    ASSERT_EQ(Boxes().size(), 1u);
    EXPECT_EQ(Boxes()[0].caption, "Search");
    EXPECT_EQ(Boxes()[0].text, "No selected text");
    EXPECT_EQ(Boxes()[0].style & MB_ICONSTOP, static_cast<UINT>(MB_ICONSTOP));
    EXPECT_EQ(editor->GetCurCol(), 0);
}

// Shift+F3 with the previous hit selected finds the one before it, crossing
// to the previous line, until nothing is left.
TEST_F(SearchTest, BackwardStepsWalkBackThroughTheHitsAcrossLines) {
    Start({"foo a foo", "foofoo"}, 0, 0);
    Request("foo", kFromStart | kBackward);
    const std::vector<std::vector<int>> expected = {{1, 3, 6}, {1, 0, 3}, {0, 6, 9}, {0, 0, 3}};
    for (const auto& hit : expected) {
        Step();
        EXPECT_EQ(Hit(), hit);
    }
    shown.clear();
    Step();
    ASSERT_EQ(Boxes().size(), 1u);
    EXPECT_EQ(Boxes()[0].caption, "Search");
    EXPECT_EQ(Boxes()[0].text, "Not found:foo");
    EXPECT_EQ(Boxes()[0].style & MB_ICONINFORMATION, static_cast<UINT>(MB_ICONINFORMATION));
    // Forward again with Shift+F3 from the first hit.
    Step(kShiftF3);
    EXPECT_EQ(Hit(), (std::vector<int>{0, 6, 9}));
}

TEST_F(SearchTest, AnEvalSearchFromTheCursorStartsOnTheNextLineAndSelectsTheWholeLine) {
    Start({"ab", "abc", "ab", "x"}, 1, 0);
    Request("strlen(line) == 2", kEval);
    Step();
    const TTextEditorSelection& s = editor->selection;
    EXPECT_EQ(s.selStartLine, 2);
    EXPECT_EQ(s.selEndLine, 3);
    EXPECT_EQ(editor->GetCurLine(), 2);
    // Backward from line 2 starts on the line above the caret.
    Request("strlen(line) == 2", kEval | kBackward);
    Step();
    EXPECT_EQ(editor->selection.selStartLine, 0);
    shown.clear();
    Step();
    EXPECT_EQ(Boxes().size(), 1u);
}

// F3 and Shift+F3 go through the editor's own key handling.
TEST_F(SearchTest, SearchNextAndSearchNextReversedPressF3) {
    auto* recording = Place<TRecordingEditor>(10, 10, 300, 200);
    recording->SearchNext();
    recording->SearchNextReversed();
    EXPECT_EQ(recording->keys, (std::vector<TRecordingEditor::TKey>{{VK_F3, false, false, false},
                                                                    {VK_F3, true, false, false}}));
}

// ---- Replace ----

TEST_F(SearchTest, OkReplacesTheFirstHitAndEachF3TheNextUntilNothingIsFound) {
    Start({"a foo", "foo foo", "b"}, 0, 0);
    RunReplace(Fill("foo", "bar", false, 0, false));
    EXPECT_EQ(TextOf(editor->lines), (std::vector<std::string>{"a bar", "foo foo", "b"}));
    EXPECT_TRUE(editor->replacing);
    EXPECT_EQ(editor->GetCurCol(), 5);
    EXPECT_TRUE(editor->GetModified());
    EXPECT_EQ(editor->searchInfo->text.str(), "foo");
    EXPECT_EQ(editor->replaceText.str(), "bar");
    EXPECT_EQ(SharedReplacePromptDlg()->Label1->GetCaption(), "Replace the current occurence of \"foo");
    Step();
    Step();
    EXPECT_EQ(TextOf(editor->lines), (std::vector<std::string>{"a bar", "bar bar", "b"}));
    shown.clear();
    Step();
    EXPECT_FALSE(editor->replacing) << "nothing found ends replace mode";
    EXPECT_TRUE(shown.empty()) << "silently";
    // A search (the dialog's OK) ends replace mode too.
    editor->replacing = true;
    TTextEditorSearchDlg* search = SharedSearchDlg();
    onForm = [&](const win32::ModalInteraction&) {
        FillSearch(*search, "b", 0);
        search->btnOk->Click();
        return win32::ModalReply::Run();
    };
    PutCaret(0, 0);
    editor->Search();
    EXPECT_FALSE(editor->replacing);
    EXPECT_EQ(Hit(), (std::vector<int>{0, 2, 3}));
}

TEST_F(SearchTest, AllFollowsTheScriptedPromptAnswers) {
    const struct {
        const char* name;
        std::vector<int> answers;
        const char* result;
        int prompts;
    } kScripts[] = {
        {"Yes, No, Yes, No, Yes", {mrYes, mrNo, mrYes, mrNo, mrYes}, "X a X a X", 5},
        {"No skips, Cancel stops and keeps what went before", {mrYes, mrNo, mrCancel}, "X a a a a", 3},
        {"All stops prompting", {mrNo, mrOk}, "a X X X X", 2},
    };
    for (const auto& script : kScripts) {
        Start({"a a a a a"}, 0, 0);
        answers = script.answers;
        promptPlaces.clear();
        RunReplace(Fill("a", "X", true, kCase, true));
        EXPECT_EQ(TextOf(editor->lines), std::vector<std::string>{script.result}) << script.name;
        EXPECT_EQ(Prompts(), script.prompts) << script.name;
        EXPECT_FALSE(editor->replacing) << script.name;
        // The caret and the selection are back.
        EXPECT_EQ(editor->GetCurCol(), 0) << script.name;
        EXPECT_EQ(Hit(), (std::vector<int>{-1, -1, -1})) << script.name;
    }
}

TEST_F(SearchTest, AllWithoutPromptReplacesFromTheCaretLineOrWithinTheBlock) {
    const std::vector<std::string> text = {"foo", "foo foo", "x foo", "foo"};
    // From the caret line on.
    Start(text, 0, 1);
    RunReplace(Fill("foo", "b", false, 0, true));
    EXPECT_EQ(TextOf(editor->lines), (std::vector<std::string>{"foo", "b b", "x b", "b"}));
    EXPECT_EQ(editor->GetCurLine(), 1);
    // A character selection alone: also from the caret line on.
    Start(text, 1, 2);
    editor->selection = {0, 1, 2, 2, 2};
    RunReplace(Fill("foo", "b", false, 0, true));
    EXPECT_EQ(TextOf(editor->lines), (std::vector<std::string>{"foo", "foo foo", "x b", "b"}));
    EXPECT_EQ(editor->selection.selStartCol, 0) << "the selection is back";
    EXPECT_EQ(editor->selection.selEndCol, 1);
    // A line block: its lines only, whatever follows.
    Start(text, 0, 0);
    editor->selection = {0, 0, 0, 1, 3};
    RunReplace(Fill("foo", "b", false, kSelected, true));
    EXPECT_EQ(TextOf(editor->lines), (std::vector<std::string>{"foo", "b b", "x b", "foo"}));
}

// The replacement holds the searched text: a backward run goes on before
// each replacement and ends. A runaway run is stopped by the handler.
TEST_F(SearchTest, ABackwardReplaceAllWhoseReplacementHoldsTheTextEnds) {
    int changes = 0;
    editor->OnModifyChange = [&](TTextEditor*, bool) {
        if (++changes > 1000) throw std::runtime_error("the replace-all did not end");
    };
    const struct {
        std::vector<std::string> text;
        const char *find, *with;
        std::vector<std::string> result;
    } kCases[] = {
        {{"foo foo", "x foo"}, "foo", "foofoo", {"foofoo foofoo", "x foofoo"}},
        {{"aaa"}, "a", "aa", {"aaaaaa"}},
        {{"a", "", "ba"}, "a", "<a>", {"<a>", "", "b<a>"}},
        {{"abab"}, "ab", "", {""}},
    };
    for (const auto& c : kCases) {
        Start(c.text, 0, 0);
        editor->SelectAll();
        changes = 0;
        ASSERT_NO_THROW(RunReplace(Fill(c.find, c.with, false, kCase | kSelected | kBackward, true))) << c.find;
        EXPECT_EQ(TextOf(editor->lines), c.result) << c.find;
    }
    // Forward it ends as well.
    Start({"foo foo"}, 0, 0);
    RunReplace(Fill("foo", "foofoo", false, kCase, true));
    EXPECT_EQ(TextOf(editor->lines), std::vector<std::string>{"foofoo foofoo"});
}

TEST_F(SearchTest, AnEvalReplaceAllReplacesTheWholeLines) {
    Start({"ab", "abc", "ab"}, 0, 0);
    editor->replaceText = TString("two");
    Request("strlen(line) == 2", kEval | kFromStart);
    editor->replacing = true;
    editor->replacePrompt = false;
    editor->replaceAll = false;
    editor->replaceFirstLine = 0;
    editor->replaceEndLine = 3;
    Step();
    Step();
    EXPECT_EQ(TextOf(editor->lines), (std::vector<std::string>{"two", "abc", "two"}));
    Step();
    EXPECT_FALSE(editor->replacing);
}

// The prompt's top-left corner is the hit's bottom-left one on the screen,
// in a view scrolled both ways; near the screen's right and bottom edges it
// moves to the left of the hit's right edge and above the hit.
TEST_F(SearchTest, ThePromptOpensUnderTheHitInAScrolledViewAndFlipsAtTheScreenEdges) {
    std::vector<std::string> text(120, "");
    text[80] = std::string(60, '.') + "foo";
    TTextEditorReplacePromptDlg* prompt = SharedReplacePromptDlg();
    const int promptWidth = prompt->GetWidth(), promptHeight = prompt->GetHeight();
    const int screenWidth = Screen->GetWidth(), screenHeight = Screen->GetHeight();
    const struct {
        const char* name;
        int formLeft, formTop;
        bool left, above;
    } kPlaces[] = {
        {"open screen", 50, 50, false, false},
        {"near the bottom", 50, screenHeight - 220, false, true},
        {"near the right edge", screenWidth - 280, 50, true, false},
    };
    for (const auto& place : kPlaces) {
        form->SetBounds(place.formLeft, place.formTop, 400, 300);
        Start(text, 0, 79);
        editor->SetVPos(70);
        editor->SetHPos(20);
        driver.PumpUntilIdle();
        answers = {mrNo};
        promptPlaces.clear();
        promptHits.clear();
        promptViews.clear();
        RunReplace(Fill("foo", "bar", true, 0, true));
        ASSERT_EQ(Prompts(), 1) << place.name;
        EXPECT_GT(promptViews[0].x, 0) << place.name << ": scrolled sideways";
        EXPECT_GT(promptViews[0].y, 0) << place.name << ": scrolled down";
        const RECT hit = promptHits[0];
        const POINT expected{place.left ? hit.right - promptWidth : hit.left,
                             place.above ? hit.top - promptHeight : hit.bottom};
        EXPECT_EQ(promptPlaces[0].x, expected.x) << place.name;
        EXPECT_EQ(promptPlaces[0].y, expected.y) << place.name;
    }
}

// ---- Search all ----

TEST_F(SearchTest, SearchAllListsTheMatchingLinesUnderAHeaderAndACountRow) {
    TListBox* first = NewList(320);
    TListBox* second = NewList(395);
    editor->AddSearchAllListBox(TString("First"), first);
    editor->AddSearchAllListBox(TString("Second"), second);
    Start({"x = 1", "foo(x)", "y", "a_x x", "xylophone"}, 0, 0);
    std::vector<int> prepared;
    editor->OnSearchAllPrepare = [&](int index) { prepared.push_back(index); };
    // All rows arrive in one change.
    int changes = 0;
    dynamic_cast<TStringList*>(second->GetItems())->OnChange = [&](TObject*) { ++changes; };
    TListBox* list = RunSearchAll("x", kWhole | kFromStart, 1);
    EXPECT_EQ(changes, 1);
    ASSERT_EQ(list, second);
    EXPECT_EQ(Rows(second), (std::vector<std::string>{"Search all results for 'x:'", "0: x = 1", "1: foo(x)",
                                                        "3: a_x x", "Matching lines: 3"}));
    EXPECT_EQ(prepared, std::vector<int>{1});
    ASSERT_EQ(editor->searchResults.GetCount(), 1);
    EXPECT_EQ(HitLines(editor->searchResults[0]), (std::vector<int>{0, 1, 3}));
    EXPECT_EQ(editor->searchResults[0].listBox, second);
    EXPECT_TRUE(Rows(first).empty());

    // Again into the same list: its record is reused; backward from the
    // first position lists the lines from the last up.
    std::vector<int> called;
    list = RunSearchAll("X", kBackward | kFromStart, -1, [&](int index) { called.push_back(index); });
    EXPECT_EQ(list, second) << "the chosen destination stays chosen";
    EXPECT_EQ(called, std::vector<int>{1});
    EXPECT_EQ(prepared.size(), 1u) << "a callback replaces OnSearchAllPrepare";
    EXPECT_EQ(editor->searchResults.GetCount(), 1);
    EXPECT_EQ(HitLines(editor->searchResults[0]), (std::vector<int>{4, 3, 1, 0}));

    // A click on a hit row goes to its line.
    second->SetItemIndex(2);
    second->OnClick(second);
    EXPECT_EQ(editor->GetCurLine(), 3);
}

TEST_F(SearchTest, SearchAllWithoutADestinationOrCancelledGivesNull) {
    Start({"x"}, 0, 0);
    shown.clear();
    EXPECT_EQ(editor->SearchAll(nullptr), nullptr);
    EXPECT_TRUE(shown.empty()) << "no dialog without a destination";

    TListBox* list = NewList();
    editor->AddSearchAllListBox(TString("Only"), list);
    onForm = [](const win32::ModalInteraction&) { return win32::ModalReply::Answer(mrCancel); };
    EXPECT_EQ(editor->SearchAll(nullptr), nullptr);
    EXPECT_TRUE(Rows(list).empty());
    EXPECT_EQ(editor->searchResults.GetCount(), 0);

    // An index the new list does not have falls back to the first entry.
    SharedSearchAllDlg()->cmbResultsDest->GetItems()->Add("stale");
    SharedSearchAllDlg()->cmbResultsDest->GetItems()->Add("stale");
    SharedSearchAllDlg()->cmbResultsDest->SetItemIndex(1);
    EXPECT_EQ(RunSearchAll("x", kFromStart, -1), list);
}

TEST_F(SearchTest, SearchAllMFillsTheFactorysListBoxAndBindsItsClick) {
    Start({"abc", "b", "cab"}, 0, 0);
    TStringContainer names;
    names.Add(TString("one"));
    names.Add(TString("two"));
    TListBox* made = nullptr;
    std::vector<std::string> asked;
    const TTextEditorListBoxFactory factory = [&](TString name) {
        asked.push_back(name.str());
        made = NewList();
        return made;
    };
    TTextEditorSearchAllDlg* dialog = SharedSearchAllDlg();
    onForm = [&](const win32::ModalInteraction&) {
        FillSearch(*dialog, "ab", kFromStart);
        dialog->cmbResultsDest->SetItemIndex(1);
        dialog->btnOk->Click();
        return win32::ModalReply::Run();
    };
    TListBox* list = editor->SearchAllM(names, factory);
    ASSERT_NE(list, nullptr);
    EXPECT_EQ(list, made);
    EXPECT_EQ(asked, std::vector<std::string>{"two"});
    EXPECT_EQ(Rows(list), (std::vector<std::string>{"Search all results for 'ab:'", "0: abc", "2: cab",
                                                      "Matching lines: 2"}));
    list->SetItemIndex(2);
    ASSERT_TRUE(list->OnClick);
    list->OnClick(list);
    EXPECT_EQ(editor->GetCurLine(), 2);

    // No names, no factory, or a factory that makes nothing: null.
    TStringContainer none;
    shown.clear();
    EXPECT_EQ(editor->SearchAllM(none, factory), nullptr);
    EXPECT_EQ(editor->SearchAllM(names, nullptr), nullptr);
    EXPECT_TRUE(shown.empty());
    EXPECT_EQ(editor->SearchAllM(names, [](TString) -> TListBox* { return nullptr; }), nullptr);
}

TEST_F(SearchTest, DeletedAndDestroyedListBoxesAreForgotten) {
    Start({"x", "x"}, 0, 0);
    TListBox* kept = NewList(320);
    TListBox* dropped = NewList(395);
    editor->AddSearchAllListBox(TString("Kept"), kept);
    editor->AddSearchAllListBox(TString("Dropped"), dropped);
    ASSERT_EQ(RunSearchAll("x", kFromStart, 1), dropped);
    ASSERT_EQ(RunSearchAll("x", kFromStart, 0), kept);
    editor->DeleteSearchAllListBox(dropped);
    ASSERT_EQ(editor->resultLists.GetCount(), 1);
    EXPECT_EQ(editor->resultLists[0].listBox, kept);
    ASSERT_EQ(editor->searchResults.GetCount(), 1);
    EXPECT_EQ(editor->searchResults[0].listBox, kept);
    delete dropped;

    // A list box destroyed without a word leaves too.
    delete kept;
    EXPECT_EQ(editor->resultLists.GetCount(), 0);
    EXPECT_EQ(editor->searchResults.GetCount(), 0);
    EXPECT_EQ(editor->SearchAll(nullptr), nullptr);

    // An editor destroyed before its list box no longer takes its clicks.
    TListBox* list = NewList();
    editor->AddSearchAllListBox(TString("List"), list);
    delete editor;
    editor = nullptr;
    EXPECT_FALSE(list->OnClick);
}

// The core's line deletion keeps the one-row layout: header, hits, count.
TEST_F(SearchTest, DeletingALineThatHoldsAHitRemovesItsRowAndRewritesTheCount) {
    Start({"x 0", "y", "x 2", "x 3"}, 0, 0);
    TListBox* list = NewList();
    editor->AddSearchAllListBox(TString("List"), list);
    ASSERT_EQ(RunSearchAll("x", kFromStart, 0), list);
    ASSERT_EQ(Rows(list).size(), 5u);
    PutCaret(0, 2);
    editor->DeleteLine();
    EXPECT_EQ(Rows(list), (std::vector<std::string>{"Search all results for 'x:'", "0: x 0", "2: x 3",
                                                      "Matching lines: 2"}));
    EXPECT_EQ(HitLines(editor->searchResults[0]), (std::vector<int>{0, 2}));
    list->SetItemIndex(2);
    list->OnClick(list);
    EXPECT_EQ(editor->GetCurLine(), 2);
    EXPECT_EQ(editor->lines[2].str(), "x 3");
}

// ---- Lengths ----

// A 5,000-character text and lines of 100,000 characters: found, replaced
// and listed whole.
TEST_F(SearchTest, LongTextsAndLongLinesAreSearchedReplacedAndListedWhole) {
    std::string find(5000, 'q');
    find[2500] = 'Z';
    const std::string line = std::string(60000, 'q') + find + std::string(35000, 'q');
    Start({line, "short", line}, 0, 0);
    Request(find, kCase);
    Step();
    EXPECT_EQ(Hit(), (std::vector<int>{0, 60000, 65000}));
    Request(find, kBackward | kFromStart);
    Step();
    EXPECT_EQ(Hit(), (std::vector<int>{2, 60000, 65000}));

    TListBox* list = NewList();
    editor->AddSearchAllListBox(TString("List"), list);
    ASSERT_EQ(RunSearchAll(find, kFromStart, 0), list);
    const std::vector<std::string> rows = Rows(list);
    ASSERT_EQ(rows.size(), 4u);
    EXPECT_EQ(rows[0], "Search all results for '" + find + ":'");
    EXPECT_EQ(rows[1], "0: " + line);
    EXPECT_EQ(rows[2], "2: " + line);

    PutCaret(0, 0);
    RunReplace(Fill(find, "<" + find + ">", false, kCase, true));
    const std::string replaced = std::string(60000, 'q') + "<" + find + ">" + std::string(35000, 'q');
    EXPECT_EQ(TextOf(editor->lines), (std::vector<std::string>{replaced, "short", replaced}));
}
