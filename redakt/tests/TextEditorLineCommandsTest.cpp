// The expression loops apply, for and foreach and the remaining line
// commands, typed on the command line: their results, undo steps, malformed
// arguments, the threaded replace against the single-threaded one, and the
// mended faults (repeated replacement, swap with the text or with itself,
// go past the int range, value lists that are too large).
#include <algorithm>
#include <climits>
#include <string>
#include <vector>

#include "Edit.h"
#include "RecordingEditor.h"
#include "TextEditorDispatcher.h"
#include "Responder.h"
#include "TextEditorResultDlgs.h"

namespace {

using TLines = std::vector<std::string>;

// The editor's line block [first, end), none when first == end.
void SelectBlock(TTextEditor& editor, int first, int end) {
    editor.selection = TTextEditorSelection{};
    editor.selection.selStartLine = first;
    editor.selection.selEndLine = end;
}

TLines Sorted(TLines lines) {
    std::sort(lines.begin(), lines.end());
    return lines;
}

// What a command showed: the apply result dialog's texts and the message boxes' texts.
struct TShown {
    std::vector<std::string> results;
    std::vector<std::string> boxes;
};

class LineCommandsTest : public EditorTest {
protected:
    void SetUp() override {
        EditorTest::SetUp();
        editor = Place();
        editor->SetFocus();
        driver.PumpUntilIdle();
    }

    // The text and its ranges, the caret, a block [selFirst, selEnd), an
    // empty undo stack, not modified.
    void Prepare(const TLines& text, int caretCol = 0, int caretLine = 0, int selFirst = 0, int selEnd = 0) {
        SetLines(*editor, text);
        editor->SetHMax(editor->GetMaxLineLength());
        SelectBlock(*editor, selFirst, selEnd);
        editor->SetCursorPosX(caretCol);
        editor->SetCursorPosY(caretLine);
        editor->ClearUndo();
        editor->SetModified(false);
    }

    // Runs a command line; the apply result dialog and message boxes are
    // answered at once and recorded.
    TShown Run(const std::string& command) {
        TShown shown;
        TTextEditorApplyResultDlg* apply = SharedApplyResultDlg();
        win32::ScopedResponder responder([&](const win32::ModalInteraction& interaction) {
            if (interaction.kind == win32::ModalKind::MessageBox) {
                shown.boxes.push_back(interaction.text);
                return win32::ModalReply::Answer(IDOK);
            }
            if (interaction.window == apply->GetHandle()) shown.results.push_back(apply->edResult->GetText());
            return win32::ModalReply::Answer(mrOk);
        });
        TString line(command);
        editor->ExecCommand(line);
        return shown;
    }

    TLines Text() const { return TextOf(editor->lines); }

    TTextEditor* editor = nullptr;
};

const TLines kTen = {"l0", "l1", "l2", "l3", "l4", "l5", "l6", "l7", "l8", "l9"};

}  // namespace

// ---- apply and for ----

TEST_F(LineCommandsTest, ApplyAndForShowTheirResultAndChangeOnlyWhatForAssigns) {
    const struct {
        const char* command;
        TLines text;
        int selFirst, selEnd;
        TLines expected;
        std::vector<std::string> results;
    } kCases[] = {
        {"apply -v sum<int>, sum += strlen(line), sum", {"ab", "cde"}, 0, 0, {"ab", "cde"}, {"5"}},
        // No result expression: what one that never compiled gives.
        {"apply line, -v x<int>", {"ab"}, 0, 0, {"ab"}, {"???"}},
        {"apply -v a<int>, -v b<int>=2, a += 1, a * b", {"p", "q", "r"}, 0, 0, {"p", "q", "r"}, {"6"}},
        {"apply -v s<string>, s = s + line, s", kTen, 2, 5, kTen, {"l2l3l4"}},
        {"apply -v n<int>, n += 1, n", {}, 0, 0, {}, {"0"}},
        // Items split outside brackets and quotes: a call with two arguments.
        {"apply -v m<int>, m = max(m, strlen(line + ',')), m", {"a", "abcd"}, 0, 0, {"a", "abcd"}, {"5"}},
        {"for -v n<int>; n += 1; n", kTen, 0, 0, kTen, {"10"}},
        {"for -v n<int>; n += 1; n", kTen, 3, 6, kTen, {"3"}},
        {"for -v t<int>, t = start * 100 + end;; t", kTen, 2, 6, kTen, {"205"}},
        {"for ; line = line + lines[1]", {"a", "b", "c"}, 0, 0, {"a", "ba", "cb"}, {}},
        {"for ; line = base(line_number, 10) + ':' + base(sel_number, 10)", {"a", "b", "c", "d"}, 2, 4,
         {"a", "b", "2:", "3:1"}, {}},
        {"for -v n<int>; n += 1; n = n * 2, n + 1", kTen, 0, 0, kTen, {"21"}},
        {"for  -v k<string>=x ; line = k + line ; k", {"a"}, 0, 0, {"xa"}, {"x"}},
        // Fewer than two parts, and an empty argument, do nothing.
        {"for n += 1", {"a"}, 0, 0, {"a"}, {}},
        {"for", {"a"}, 0, 0, {"a"}, {}},
        {"apply", {"a"}, 0, 0, {"a"}, {}},
    };
    for (const auto& c : kCases) {
        Prepare(c.text, 0, 0, c.selFirst, c.selEnd);
        const TShown shown = Run(c.command);
        EXPECT_EQ(Text(), c.expected) << c.command;
        EXPECT_EQ(shown.results, c.results) << c.command;
        EXPECT_TRUE(shown.boxes.empty()) << c.command;
    }
}

TEST_F(LineCommandsTest, AWrongItemIsNamedAndNothingChanges) {
    const struct {
        const char* command;
        const char* item;
    } kCases[] = {
        {"apply line, line +", " line +"},
        {"apply line +, 1", "line +"},
        {"apply -v x<bogus>, 1", "-v x<bogus>"},
        {"for q +; line = 'x'", "q +"},
        {"for -v n<nothing>; line = 'x'", "-v n<nothing>"},
        {"for ; line = 'x', (; 1", " (; 1"},
        {"for ; line = 'x'; n +", " n +"},
    };
    for (const auto& c : kCases) {
        Prepare({"one", "two"});
        const TShown shown = Run(c.command);
        EXPECT_EQ(shown.boxes, std::vector<std::string>{std::string("Wrong expression: ") + c.item}) << c.command;
        EXPECT_TRUE(shown.results.empty()) << c.command;
        EXPECT_EQ(Text(), (TLines{"one", "two"})) << c.command;
        EXPECT_FALSE(editor->GetModified()) << c.command;
        EXPECT_EQ(editor->undoItems.GetCount(), 0) << c.command;
    }
}

TEST_F(LineCommandsTest, ForIsOneUndoStepWithProgress) {
    Prepare({"a", "b", "c"});
    std::vector<std::pair<int, int>> progress;
    editor->OnProgressChange = [&](TTextEditor*, int total, int position) { progress.emplace_back(total, position); };
    Run("for ; line = line + line");
    editor->OnProgressChange = nullptr;
    EXPECT_EQ(Text(), (TLines{"aa", "bb", "cc"}));
    EXPECT_EQ(progress, (std::vector<std::pair<int, int>>{{0, -1}, {3, 0}, {3, 1}, {3, 2}, {0, -2}}));
    EXPECT_TRUE(editor->GetModified());
    ASSERT_EQ(editor->undoItems.GetCount(), 1);
    EXPECT_EQ(editor->GetLastUndoItem()->kind, utFor);
    editor->Undo();
    EXPECT_EQ(Text(), (TLines{"a", "b", "c"}));
}

// ---- foreach ----

TEST_F(LineCommandsTest, ForEachInsertsALinePerValueAtTheCaretAndSelectsThem) {
    const struct {
        const char* command;
        TLines text;
        int caretCol, caretLine;
        TLines expected;
    } kCases[] = {
        {"foreach a=[0-2] insert line: $(a)", {"first", "xyz", "last"}, 0, 1,
         {"first", "line: 0", "line: 1", "line: 2xyz", "last"}},
        {"foreach a=[0-2] insert line: $(a)", {"first", "xyz", "last"}, 1, 1,
         {"first", "xline: 0", "line: 1", "line: 2yz", "last"}},
        {"foreach a=[5] insert line: $(a)", {"first", "xyz", "last"}, 1, 1, {"first", "xline: 5yz", "last"}},
        {"foreach n=[8-10] ins <$(n:-2)>", {"z"}, 1, 0, {"z< 8>", "< 9>", "<10>"}},
        {"foreach w = [x,y] i $(w)$(w) and $(v)", {"q"}, 0, 0, {"xx and $(v)", "yy and $(v)q"}},
        // A caret past the line's end: the line is padded to it.
        {"foreach a=[1] insert v", {"ab"}, 4, 0, {"ab  v"}},
        // An empty text first gets a line.
        {"foreach a=[1-2] insert $(a)", {}, 0, 0, {"1", "2"}},
        {"foreach a=[1-2] insert  two  blanks", {"k"}, 0, 0, {" two  blanks", " two  blanksk"}},
    };
    for (const auto& c : kCases) {
        Prepare(c.text, c.caretCol, c.caretLine);
        Run(c.command);
        const int made = static_cast<int>(c.expected.size() - std::max<size_t>(c.text.size(), 1)) + 1;
        EXPECT_EQ(Text(), c.expected) << c.command;
        EXPECT_EQ(editor->selection.selStartLine, c.caretLine) << c.command;
        EXPECT_EQ(editor->selection.selEndLine, c.caretLine + made) << c.command;
        EXPECT_EQ(editor->GetCurCol(), 0) << c.command;
        EXPECT_EQ(editor->GetCurLine(), std::min(c.caretLine + made, editor->lines.GetCount() - 1)) << c.command;
        EXPECT_EQ(editor->GetVMax(), editor->lines.GetCount() - 1) << c.command;
        EXPECT_TRUE(editor->GetModified()) << c.command;
        ASSERT_EQ(editor->undoItems.GetCount(), 1) << c.command;
        EXPECT_EQ(editor->GetLastUndoItem()->kind, utForEach);
        editor->Undo();
        EXPECT_EQ(Text(), c.text.empty() ? TLines{""} : c.text) << c.command;
        EXPECT_EQ(editor->GetCurCol(), c.caretCol) << c.command;
        EXPECT_EQ(editor->GetCurLine(), c.caretLine) << c.command;
    }
}

// Malformed forms, and value lists that give no value or more than the
// value lists allow, change nothing: the caret line is neither lost nor split.
TEST_F(LineCommandsTest, AMalformedForEachOrAListOfNoOrTooManyValuesDoesNothing) {
    for (const char* command : {"foreach a[0-2] insert x", "foreach =[0-2] insert x", "foreach  =[1] insert x",
                                "foreach a=[] insert x", "foreach a=[0-2 insert x", "foreach a=0-2] insert x",
                                "foreach a=[0-2] x y", "foreach a=[0-2] insert", "foreach a=[0-2]",
                                "foreach a=[0-2] inserted x", "foreach a=[1-2000000] insert x",
                                "foreach a=[rand(1-2000000)] insert x", "foreach a=[,] insert x", "foreach"}) {
        Prepare({"one", "two"}, 1, 1);
        Run(command);
        EXPECT_EQ(Text(), (TLines{"one", "two"})) << command;
        EXPECT_FALSE(editor->GetModified()) << command;
        EXPECT_EQ(editor->undoItems.GetCount(), 0) << command;
    }
}

// Bookmarks below the caret line stay on their text; sections follow the insertion.
TEST_F(LineCommandsTest, ForEachMovesBookmarksAndSectionsBelowWithTheirText) {
    Prepare({"a", "b", "c"}, 0, 1);
    editor->markers.Add(TEXT_EDITOR_MARKER{2, 4});
    editor->sections.Add(TIntPair{2, 2});
    Run("foreach k=[1-3] insert $(k)");
    EXPECT_EQ(Text(), (TLines{"a", "1", "2", "3b", "c"}));
    EXPECT_EQ(editor->markers[0].line, 4);
    EXPECT_EQ(editor->sections[0].first, 4);
    EXPECT_EQ(editor->sections[0].second, 4);
}

// ---- replace ----

TEST_F(LineCommandsTest, ReplaceRepeatsOnlyWhatCannotGrowForever) {
    const struct {
        const char* command;
        TLines text;
        TLines expected;
    } kCases[] = {
        {"replace aa a", {"aaaaaaaa"}, {"a"}},          // three passes
        {"replace a ab", {"a", "xax"}, {"ab", "xabx"}},  // the replacement holds the text: one pass
        {"replace a aa", {"aaa", "b"}, {"aaaaaa", "b"}},
        {"replace ab ba", {"aabb"}, {"bbaa"}},           // passes until nothing is found
        {"replace kappa KAPPA", {"kappa kappa", "x", ""}, {"KAPPA KAPPA", "x", ""}},
        {"replace  a   b ", {"aXa"}, {"bXb"}},          // two words, however many blanks
        {"replace a", {"a"}, {"a"}},
        {"replace a b c", {"a"}, {"a"}},
        {"replace", {"a"}, {"a"}},
    };
    for (const auto& c : kCases) {
        for (bool threaded : {false, true}) {
            Prepare(c.text);
            editor->multiThreaded = threaded;
            editor->threadCount = 2;
            editor->chunkLines = 1;
            Run(c.command);
            EXPECT_EQ(Text(), c.expected) << c.command << (threaded ? ", threaded" : "");
        }
    }
}

TEST_F(LineCommandsTest, ReplaceWorksOnTheBlockAsOneUndoStepAndWidensTheView) {
    for (bool threaded : {false, true}) {
        Prepare({"ab", "ab", "ab", "ab"}, 0, 0, 1, 3);
        editor->SetHMax(2);
        editor->multiThreaded = threaded;
        editor->threadCount = 2;
        editor->chunkLines = 1;
        std::vector<int> marks;
        editor->OnProgressChange = [&](TTextEditor*, int, int position) {
            if (position < 0) marks.push_back(position);
        };
        Run("replace b bcdefgh");
        editor->OnProgressChange = nullptr;
        EXPECT_EQ(Text(), (TLines{"ab", "abcdefgh", "abcdefgh", "ab"}));
        EXPECT_EQ(marks, (std::vector<int>{-1, -2})) << threaded;
        EXPECT_EQ(editor->GetHMax(), 8);
        EXPECT_TRUE(editor->GetModified());
        ASSERT_EQ(editor->undoItems.GetCount(), 1);
        EXPECT_EQ(editor->GetLastUndoItem()->kind, utReplace);
        editor->Undo();
        EXPECT_EQ(Text(), (TLines{"ab", "ab", "ab", "ab"}));
    }
}

// Each 'a' of a long text doubles once: ten passes would multiply them by 1,024.
TEST_F(LineCommandsTest, AReplacementHoldingTheTextDoublesEachOccurrenceOnce) {
    TLines text, expected;
    for (int i = 0; i < 10000; ++i) {
        text.push_back("line a " + std::to_string(i) + std::string(static_cast<size_t>(i % 4), 'a'));
        expected.push_back("line aa " + std::to_string(i) + std::string(static_cast<size_t>(2 * (i % 4)), 'a'));
    }
    for (bool threaded : {false, true}) {
        Prepare(text);
        editor->multiThreaded = threaded;
        editor->threadCount = 4;
        editor->chunkLines = 999;
        Run("replace a aa");
        EXPECT_TRUE(Text() == expected) << threaded;
    }
}

// The same text on one thread and on 1, 2, 4 and 8 workers, at chunk sizes
// that leave a short last task, with and without a block.
class ReplaceParityTest : public LineCommandsTest, public ::testing::WithParamInterface<int> {};

TEST_P(ReplaceParityTest, AThreadedReplaceGivesTheTextOfASingleThreadedOne) {
    const int workers = GetParam();
    TLines text;
    for (int i = 0; i < 200000; ++i)
        text.push_back(i % 3 == 0 ? "kappa " + std::to_string(i) + " aaaa kappa" : "row " + std::to_string(i) + " aaa");
    for (const char* command : {"replace kappa KAPPA", "replace aa a", "replace a Aa"}) {
        for (bool block : {false, true}) {
            const int first = block ? 1234 : 0;
            const int end = block ? 187654 : 0;
            Prepare(text, 0, 0, first, end);
            editor->multiThreaded = false;
            Run(command);
            const TLines single = Text();
            Prepare(text, 0, 0, first, end);
            editor->multiThreaded = true;
            editor->threadCount = workers;
            editor->chunkLines = 7777;
            Run(command);
            EXPECT_TRUE(Text() == single) << command << ", block " << block;
            EXPECT_EQ(Text()[static_cast<size_t>(first)], single[static_cast<size_t>(first)]);
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Workers, ReplaceParityTest, ::testing::Values(1, 2, 4, 8));

TEST(TextEditorLineReplacer, PassesFollowTheTextsAndTheStorageIsKeptWhereItFits) {
    const struct {
        const char* find;
        const char* replacement;
        const char* line;
        const char* expected;
        bool changed;
    } kCases[] = {
        {"aa", "a", "aaaaaaaa", "a", true},
        {"a", "ab", "a", "ab", true},
        {"ab", "ba", "aabb", "bbaa", true},
        {"", "x", "abc", "abc", false},
        {"q", "x", "abc", "abc", false},
        {"ab", "", "aabbab", "", true},
        {"abc", "abc", "abcabc", "abcabc", true},
    };
    for (const auto& c : kCases) {
        TLineReplacer replacer{TString(c.find), TString(c.replacement)};
        TString line(c.line);
        EXPECT_EQ(replacer.Replace(line, nullptr), c.changed) << c.find;
        EXPECT_EQ(line.str(), c.expected) << c.find;
    }
    // A line that fits keeps its storage and its setting; one that outgrows
    // it leaves the old storage to the retired list.
    TLineReplacer replacer{TString("x"), TString("yy")};
    TString line("x-x");
    line.Reserve(100);
    line.SetReduceCapacity(true);
    const char* storage = line.c_str();
    std::vector<TString> retired;
    EXPECT_TRUE(replacer.Replace(line, &retired));
    EXPECT_EQ(line.str(), "yy-yy");
    EXPECT_EQ(line.c_str(), storage);
    EXPECT_TRUE(line.GetReduceCapacity());
    EXPECT_TRUE(retired.empty());
    TLineReplacer grow{TString("-"), TString(std::string(200, '+'))};
    EXPECT_TRUE(grow.Replace(line, &retired));
    ASSERT_EQ(retired.size(), 1u);
    EXPECT_EQ(retired[0].c_str(), storage);
    EXPECT_EQ(line.str(), "yy" + std::string(200, '+') + "yy");
    EXPECT_TRUE(line.GetReduceCapacity());
}

// ---- surround, align, shuffle, reverse, ends, case, capitalize ----

TEST_F(LineCommandsTest, SurroundPutsPrefixAndSuffixAroundEachLineAsOneUndoStep) {
    const struct {
        const char* command;
        int selFirst, selEnd;
        TLines expected;
    } kCases[] = {
        {"surround < >", 0, 0, {"<a>", "<b>", "<c>"}},
        {"surround \"<\" \">\"", 0, 0, {"<a>", "<b>", "<c>"}},
        {"surround  <  >", 0, 0, {"<a>", "<b>", "<c>"}},
        {"surround x", 1, 3, {"a", "xbx", "xcx"}},
        {"surround \"( \" \" )\"", 0, 0, {"( a )", "( b )", "( c )"}},
        {"surround < > extra", 2, 3, {"a", "b", "<c>"}},
    };
    for (const auto& c : kCases) {
        Prepare({"a", "b", "c"}, 0, 0, c.selFirst, c.selEnd);
        Run(c.command);
        EXPECT_EQ(Text(), c.expected) << c.command;
        EXPECT_TRUE(editor->GetModified()) << c.command;
        ASSERT_EQ(editor->undoItems.GetCount(), 1) << c.command;
        EXPECT_EQ(editor->GetLastUndoItem()->kind, utSurround);
        editor->Undo();
        EXPECT_EQ(Text(), (TLines{"a", "b", "c"})) << c.command;
    }
    Prepare({"a"});
    Run("surround");
    EXPECT_EQ(Text(), TLines{"a"});
    EXPECT_FALSE(editor->GetModified());
}

TEST_F(LineCommandsTest, AlignPicksItsModeByPrefix) {
    const struct {
        const char* command;
        TLines expected;
    } kCases[] = {
        {"align l", {"ab", "cd e"}},
        {"align right", {"        ab", "      cd e"}},
        {"align mi", {"    ab", "   cd e"}},
        {"align c", {"    ab    ", "   cd e   "}},
        {"align f", {"  ab cd e"}},
        {"align fit to margin", {"  ab cd e"}},
        {"align", {"  ab", "cd e"}},
        {"align x", {"  ab", "cd e"}},
        {"align leftmost", {"  ab", "cd e"}},
    };
    for (const auto& c : kCases) {
        Prepare({"  ab", "cd e"});
        editor->SetMarginPos(10);
        Run(c.command);
        EXPECT_EQ(Text(), c.expected) << c.command;
    }
}

TEST_F(LineCommandsTest, ShuffleKeepsTheLinesOfTheRangeAndUndoRestoresTheirOrder) {
    TLines text;
    for (int i = 0; i < 200; ++i) text.push_back("line " + std::to_string(i));
    Prepare(text, 0, 0, 20, 180);
    Run("shuffle");
    const TLines shuffled = Text();
    EXPECT_NE(shuffled, text);
    EXPECT_EQ(Sorted(shuffled), Sorted(text));
    EXPECT_EQ(TLines(shuffled.begin(), shuffled.begin() + 20), TLines(text.begin(), text.begin() + 20));
    EXPECT_EQ(TLines(shuffled.begin() + 180, shuffled.end()), TLines(text.begin() + 180, text.end()));
    EXPECT_TRUE(editor->GetModified());
    ASSERT_EQ(editor->undoItems.GetCount(), 1);
    EXPECT_EQ(editor->GetLastUndoItem()->kind, utShuffle);
    editor->Undo();
    EXPECT_EQ(Text(), text);
}

TEST_F(LineCommandsTest, ReverseTakesItsThreeFormsExactly) {
    const TLines text = {"a", "b", "", "c", "d"};
    const struct {
        const char* command;
        int selFirst, selEnd;
        TLines expected;
    } kCases[] = {
        {"reverse", 0, 0, {"d", "c", "", "b", "a"}},
        {"reverse", 0, 2, {"b", "a", "", "c", "d"}},
        {"reverse p", 0, 0, {"b", "a", "", "d", "c"}},
        {"reverse par", 0, 0, {"b", "a", "", "d", "c"}},
        {"reverse a", 0, 2, {"d", "c", "", "b", "a"}},
        {"reverse all", 3, 5, {"d", "c", "", "b", "a"}},
        {"reverse pa", 0, 0, text},
        {"reverse al", 0, 0, text},
        {"reverse x", 0, 0, text},
    };
    for (const auto& c : kCases) {
        Prepare(text, 0, 0, c.selFirst, c.selEnd);
        Run(c.command);
        EXPECT_EQ(Text(), c.expected) << c.command << " " << c.selFirst;
    }
}

TEST_F(LineCommandsTest, EndsShowsAndHidesTheLineEnds) {
    const struct {
        const char* command;
        bool before, after;
    } kCases[] = {
        {"ends on", false, true}, {"ends off", true, false}, {"ends o", false, true},
        {"ends of", true, false}, {"ends x", true, true},     {"ends", false, false},
    };
    for (const auto& c : kCases) {
        editor->SetShowLineEnds(c.before);
        Run(c.command);
        EXPECT_EQ(editor->GetShowLineEnds(), c.after) << c.command;
    }
}

TEST_F(LineCommandsTest, TheCaseCommandsWorkOnTheWordTheParagraphOrTheSelection) {
    const TLines text = {"Aa Bb", "Cc", "", "Dd Ee", "Ff"};
    const struct {
        const char* command;
        int caretCol, caretLine, selFirst, selEnd;
        TLines expected;
        int newSelFirst, newSelEnd;
    } kCases[] = {
        {"tolower word", 3, 0, 0, 0, {"Aa bb", "Cc", "", "Dd Ee", "Ff"}, 0, 0},
        {"toupper w", 0, 3, 0, 0, {"Aa Bb", "Cc", "", "DD Ee", "Ff"}, 0, 0},
        {"tolower paragraph", 0, 2, 0, 0, {"aa bb", "cc", "", "dd ee", "ff"}, 0, 5},
        {"toupper p", 0, 4, 0, 0, {"Aa Bb", "Cc", "", "DD EE", "FF"}, 3, 5},
        {"toupper", 0, 0, 1, 2, {"Aa Bb", "CC", "", "Dd Ee", "Ff"}, 1, 2},
        {"tolower xyz", 0, 0, 3, 5, {"Aa Bb", "Cc", "", "dd ee", "ff"}, 3, 5},
        {"capitalize", 0, 0, 0, 0, {"Aa Bb", "Cc", "", "Dd Ee", "Ff"}, 0, 0},
    };
    for (const auto& c : kCases) {
        Prepare(text, c.caretCol, c.caretLine, c.selFirst, c.selEnd);
        Run(c.command);
        EXPECT_EQ(Text(), c.expected) << c.command;
        EXPECT_EQ(editor->selection.selStartLine, c.newSelFirst) << c.command;
        EXPECT_EQ(editor->selection.selEndLine, c.newSelEnd) << c.command;
    }
    Prepare({"one two", "three"});
    Run("capitalize anything");
    EXPECT_EQ(Text(), (TLines{"One Two", "Three"}));
}

// ---- swap ----

TEST_F(LineCommandsTest, SwapExchangesTextsOrLineBlocks) {
    const TLines text = {"a", "b", "c", "d", "e"};
    const struct {
        const char* command;
        int caretLine, selFirst, selEnd;
        TLines expected;
    } kCases[] = {
        {"swap cur next", 0, 1, 3, {"a", "d", "e", "b", "c"}},
        {"swap next cur", 0, 1, 3, {"a", "d", "e", "b", "c"}},
        {"swap prev cur", 2, 0, 0, {"a", "c", "b", "d", "e"}},
        {"swap prev next", 2, 0, 0, {"a", "d", "c", "b", "e"}},
        {"swap  cur   prev ", 3, 0, 0, {"a", "b", "d", "c", "e"}},
    };
    for (const auto& c : kCases) {
        Prepare(text, 0, c.caretLine, c.selFirst, c.selEnd);
        editor->AddUndoItem(utTyping, 0, 0);
        Run(c.command);
        EXPECT_EQ(Text(), c.expected) << c.command;
        EXPECT_TRUE(editor->GetModified()) << c.command;
        // The lines moved without a record: the older records go.
        EXPECT_EQ(editor->undoItems.GetCount(), 0) << c.command;
        editor->Undo();
        EXPECT_EQ(Text(), c.expected) << c.command;
    }
}

// A block or a text with itself, a block outside the text, mixed or wrong
// names change nothing, and the older undo records stay.
TEST_F(LineCommandsTest, SwapOfAThingWithItselfOrOfUnlikeThingsDoesNothing) {
    const TLines text = {"a", "b", "c", "d", "e"};
    for (const char* command : {"swap cur cur", "swap prev prev", "swap next next", "swap text text", "swap b1 buf1",
                                "swap cur b1", "swap text next", "swap cur", "swap cur next prev", "swap",
                                "swap cur nex", "swap B1 text", "swap prev next"}) {
        Prepare(text, 0, 2, 1, 3);
        editor->buffers[1].Clear();
        editor->buffers[1].Add(TString("buffer"));
        editor->AddUndoItem(utTyping, 0, 0);
        Run(command);
        EXPECT_EQ(Text(), text) << command;
        EXPECT_EQ(TextOf(editor->buffers[1]), TLines{"buffer"}) << command;
        EXPECT_FALSE(editor->GetModified()) << command;
        EXPECT_EQ(editor->undoItems.GetCount(), 1) << command;
    }
}

// The text that comes in is new text: an undo recorded on the old one
// cannot cut lines out of it, and sections and bookmarks past its end go.
TEST_F(LineCommandsTest, SwapWithTheTextTakesTheBufferAsNewText) {
    Prepare({"t0", "t1", "t2", "t3", "t4"}, 2, 4, 1, 3);
    for (int i : {1, 2}) editor->buffers[i].Clear();
    editor->buffers[1].Add(TString("B0"));
    editor->buffers[1].Add(TString("B1"));
    editor->buffers[2].Add(TString("other"));
    // Undone on the new text, it would cut both lines out of it.
    editor->AddUndoItem(utDeleteBlock, 0, 1, POINT{0, 0}, 2, 4);
    editor->markers.Add(TEXT_EDITOR_MARKER{1, 3});
    editor->markers.Add(TEXT_EDITOR_MARKER{4, 5});
    editor->sections.Add(TIntPair{0, 1});
    editor->sections.Add(TIntPair{1, 3});
    editor->sections.Add(TIntPair{3, 4});
    Run("swap b1 text");
    EXPECT_EQ(Text(), (TLines{"B0", "B1"}));
    EXPECT_EQ(TextOf(editor->buffers[1]), (TLines{"t0", "t1", "t2", "t3", "t4"}));
    EXPECT_EQ(editor->GetCurCol(), 0);
    EXPECT_EQ(editor->GetCurLine(), 0);
    EXPECT_EQ(editor->selection.selStartLine, editor->selection.selEndLine);
    EXPECT_EQ(editor->GetVMax(), 1);
    EXPECT_TRUE(editor->GetModified());
    EXPECT_EQ(editor->markers[0].line, 1);
    EXPECT_EQ(editor->markers[1].line, -1);
    EXPECT_EQ(editor->sections[0].first, 0);
    EXPECT_EQ(editor->sections[0].second, 1);
    for (int i : {1, 2}) {
        EXPECT_EQ(editor->sections[i].first, -1) << i;
        EXPECT_EQ(editor->sections[i].second, -1) << i;
    }
    editor->Undo();
    EXPECT_EQ(Text(), (TLines{"B0", "B1"}));

    // Two buffers: the text stays as it is.
    Run("swap buffer1 b2");
    EXPECT_EQ(Text(), (TLines{"B0", "B1"}));
    EXPECT_EQ(TextOf(editor->buffers[1]), TLines{"other"});
    EXPECT_EQ(TextOf(editor->buffers[2]), (TLines{"t0", "t1", "t2", "t3", "t4"}));
}

// ---- go ----

TEST_F(LineCommandsTest, GoTakesItsFormsInOrderAndStaysInsideTheText) {
    TLines text;
    for (int i = 0; i < 30; ++i) text.push_back("line " + std::to_string(i));
    const struct {
        const char* command;
        int line;
    } kCases[] = {
        {"go +3", 13},         {"go -3", 7},          {"go + 3", 13},           {"go +", 10},
        {"go -", 10},          {"go +x", 10},         {"go sel", 4},            {"go s", 4},
        {"go sel start", 4},   {"go sel end", 7},     {"go sel e", 7},          {"go sel -1", 6},
        {"go sel 0", 4},       {"go sel 2", 6},       {"go sel x", 4},          {"go sel -9", 0},
        {"go 7", 7},           {"go 7th", 7},         {"go x", 0},              {"go 99", 29},
        {"go -99", 0},         {"go", 10},            {"go +2147483647", 29},   {"go -2147483647", 0},
        {"go +99999999999", 29}, {"go --5", 15},      {"go -2147483648", 0},   {"go 2147483647", 29},
    };
    for (const auto& c : kCases) {
        Prepare(text, 2, 10, 4, 8);
        Run(c.command);
        EXPECT_EQ(editor->GetCurLine(), c.line) << c.command;
        EXPECT_EQ(editor->GetCurCol(), 2) << c.command;
    }
}
