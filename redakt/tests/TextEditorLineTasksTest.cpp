// Line tasks of the editor: cutting the working range into tasks, the mt
// command, converting lines through the dialog (on one thread and on
// several, with the same result), reserving line storage, and input kept
// out while a line command runs.
#include <sys/resource.h>

#include <climits>
#include <cstdlib>
#include <functional>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "Buttons.h"
#include "ComboBox.h"
#include "Label.h"
#include "RecordingEditor.h"
#include "Responder.h"
#include "TextEditorConvertLinesDlg.h"
#include "TextEditorDispatcher.h"
#include "TextEditorThreadInfoDlg.h"
#include "ThreadFunctions.h"

namespace {

std::vector<std::string> NumberedLines(int count, const std::string& prefix) {
    std::vector<std::string> text;
    for (int i = 0; i < count; ++i) text.push_back(prefix + std::to_string(i) + std::string(static_cast<size_t>(i % 5), '.'));
    return text;
}

// The ranges and lead lines of the tasks CreateTasks makes.
struct TTaskRange {
    int first, last;
    bool operator==(const TTaskRange& other) const { return first == other.first && last == other.last; }
};
std::ostream& operator<<(std::ostream& out, const TTaskRange& range) {
    return out << range.first << "-" << range.last;
}

std::vector<TTaskRange> RangesOf(const std::vector<TTaskDispatcher::TTask*>& tasks) {
    std::vector<TTaskRange> ranges;
    for (TTaskDispatcher::TTask* task : tasks) {
        auto* lineTask = static_cast<TTextEditorLineTask*>(task);
        ranges.push_back({lineTask->firstLine, lineTask->lastLine});
    }
    return ranges;
}

void DeleteTasks(std::vector<TTaskDispatcher::TTask*>& tasks) {
    for (TTaskDispatcher::TTask* task : tasks) delete task;
    tasks.clear();
}

// The editor's line block [first, end), or none when first == end.
void SelectBlock(TTextEditor& editor, int first, int end) {
    editor.selection = TTextEditorSelection{};
    editor.selection.selStartLine = first;
    editor.selection.selEndLine = end;
}

// A point inside a control, for a click injected through the test driver.
void ClickButton(win32::TestDriver& driver, TButton* button) {
    driver.Click(button->GetHandle(), button->GetWidth() / 2, button->GetHeight() / 2);
}

class LineTasksTest : public RecordingEditorTest {
protected:
    void SetUp() override {
        RecordingEditorTest::SetUp();
        editor = PlaceFocused();
        dialog = SharedConvertLinesDlg();
        ASSERT_NE(dialog, nullptr);
        dialog->cmbExpr->GetItems()->Clear();
        dialog->cmbExpr->SetText("");
    }

    // Runs ConvertLines (or SetLineCapacity) with the expression typed into
    // the box and OK clicked through the test driver; message boxes are
    // answered with OK and kept.
    std::vector<win32::ModalInteraction> RunDialog(const std::string& expression,
                                                   const std::function<void()>& run = nullptr) {
        std::vector<win32::ModalInteraction> seen;
        bool typed = false;
        win32::ScopedResponder responder([&](const win32::ModalInteraction& interaction) {
            seen.push_back(interaction);
            if (interaction.kind == win32::ModalKind::MessageBox) return win32::ModalReply::Answer(IDOK);
            if (!typed) {
                typed = true;
                shownCaption = dialog->GetCaption();
                shownLabel = dialog->lbExpression->GetCaption();
                dialog->cmbExpr->SetText(expression);
                driver.SetAutoPump(false);
                ClickButton(driver, dialog->btnOk);
            }
            return win32::ModalReply::Run();
        });
        if (run)
            run();
        else
            editor->ConvertLines();
        driver.SetAutoPump(true);
        driver.PumpUntilIdle();
        return seen;
    }

    TRecordingEditor* editor = nullptr;
    TTextEditorConvertLinesDlg* dialog = nullptr;
    // The caption and label the dialog showed when it last opened.
    std::string shownCaption, shownLabel;
};

}  // namespace

// ---- CreateTasks ----

TEST(TextEditorLineTasks, CreateTasksCutsTheWorkingRangeIntoChunksInLineOrder) {
    win32::TestDriver driver;
    TTextEditor editor(nullptr);
    const struct {
        int lineCount;
        int selFirst, selEnd;  // equal: no line block
        int chunk;
        std::vector<TTaskRange> ranges;
    } kCases[] = {
        {25000, 0, 25000, 10000, {{0, 9999}, {10000, 19999}, {20000, 24999}}},
        {30000, 100, 25100, 10000, {{100, 10099}, {10100, 20099}, {20100, 25099}}},
        {500, 0, 0, 10000, {{0, 499}}},        // a chunk larger than the text
        {0, 0, 0, 10000, {}},                  // an empty range
        {3, 0, 0, 1, {{0, 0}, {1, 1}, {2, 2}}},
        {5, 1, 4, 2, {{1, 2}, {3, 3}}},
        {10, 8, 20, 5, {{8, 9}}},              // a block past the text is cut to it
        {12, 0, 0, INT_MAX, {{0, 11}}},        // no overflow past the last line
        {25000, 0, 0, 0, {{0, 9999}, {10000, 19999}, {20000, 24999}}},   // a stored size below 1:
        {25000, 0, 0, -5, {{0, 9999}, {10000, 19999}, {20000, 24999}}},  // the default, no endless loop
    };
    for (const auto& c : kCases) {
        editor.lines.Clear();
        for (int i = 0; i < c.lineCount; ++i) editor.lines.Add(TString("l" + std::to_string(i)));
        SelectBlock(editor, c.selFirst, c.selEnd);
        editor.chunkLines = c.chunk;
        TConvertLineTask prototype(editor.lines, editor.selection, TExpression());
        std::vector<TTaskDispatcher::TTask*> tasks;
        editor.CreateTasks(tasks, prototype);
        EXPECT_EQ(RangesOf(tasks), c.ranges) << c.lineCount << " lines, chunk " << c.chunk;
        DeleteTasks(tasks);
    }
}

// Each task carries the up to seven lines of the range before it, so that
// "lines" reads the same as in one pass over the whole range.
TEST(TextEditorLineTasks, EachTaskCarriesTheLinesOfTheRangeBeforeIt) {
    win32::TestDriver driver;
    TTextEditor editor(nullptr);
    SetLines(editor, NumberedLines(40, "l"));
    SelectBlock(editor, 3, 30);
    editor.chunkLines = 5;
    TConvertLineTask prototype(editor.lines, editor.selection, TExpression());
    std::vector<TTaskDispatcher::TTask*> tasks;
    editor.CreateTasks(tasks, prototype);
    ASSERT_EQ(tasks.size(), 6u);
    auto lead = [&](int task) { return TextOf(static_cast<TTextEditorLineTask*>(tasks[task])->leadLines); };
    const std::vector<std::string> all = TextOf(editor.lines);
    EXPECT_TRUE(lead(0).empty());
    EXPECT_EQ(lead(1), std::vector<std::string>(all.begin() + 3, all.begin() + 8));    // 5 of the range
    EXPECT_EQ(lead(2), std::vector<std::string>(all.begin() + 6, all.begin() + 13));   // the last 7
    EXPECT_EQ(lead(5), std::vector<std::string>(all.begin() + 21, all.begin() + 28));
    DeleteTasks(tasks);
}

// ---- The mt command ----

TEST_F(LineTasksTest, TheMtCommandSetsTheThreadsAndTheChunkSize) {
    TMessageBoxRecorder shown;
    const int processors = GetNumberOfProcessors();
    const struct {
        const char* line;
        int limit;
        bool on;
        int threads;
        int chunk;
        const char* box;  // the text of the box shown, or null
    } kCases[] = {
        {"mt on", 0, true, 1, 10000, nullptr},
        {"mt off", 0, false, 1, 10000, nullptr},
        {"mt 8", 4, true, 4, 10000, "The thread count is limited to 4"},
        {"mt 3", 4, true, 3, 10000, nullptr},
        {"mt -3", 0, true, 1, 10000, nullptr},
        {"mt auto 500", 0, true, processors, 500, nullptr},
        {"mt 4 0", 0, true, 4, 500, nullptr},   // a chunk size below 1 is refused
        {"mt 4 -5", 0, true, 4, 500, nullptr},
        {"mt 2 x", 0, true, 2, 500, nullptr},
        {"mt 0 7", 0, true, 0, 7, nullptr},     // 0: one thread per processor
        {"mt of", 0, false, 0, 7, nullptr},     // keywords match by prefix
        {"mt o", 0, true, 0, 7, nullptr},
        {"mt foo", 0, true, 0, 7, nullptr},     // nothing changes
        {"mt on 5", 0, true, 0, 7, nullptr},
        {"mt", 0, true, 0, 7, nullptr},
    };
    for (const auto& c : kCases) {
        editor->threadLimit = c.limit;
        shown.boxes.clear();
        TString line(c.line);
        editor->ExecCommand(line);
        EXPECT_EQ(editor->multiThreaded, c.on) << c.line;
        EXPECT_EQ(editor->threadCount, c.threads) << c.line;
        EXPECT_EQ(editor->chunkLines, c.chunk) << c.line;
        if (c.box == nullptr) {
            EXPECT_TRUE(shown.boxes.empty()) << c.line;
            continue;
        }
        ASSERT_EQ(shown.boxes.size(), 1u) << c.line;
        EXPECT_EQ(shown.boxes[0].text, c.box);
        EXPECT_EQ(shown.boxes[0].caption, "Thread count");
        EXPECT_EQ(shown.boxes[0].style & 0xF0u, static_cast<UINT>(MB_ICONINFORMATION));
    }
}

TEST_F(LineTasksTest, MtInfoShowsTheSettingsInItsDialog) {
    struct TShown {
        std::string caption, mt, threads, chunk;
    };
    std::vector<TShown> seen;
    win32::ScopedResponder responder([&](const win32::ModalInteraction& interaction) {
        auto* info = dynamic_cast<TTextEditorThreadInfoDlg*>(TWinControl::FindControl(interaction.window));
        if (info != nullptr)
            seen.push_back({interaction.caption, info->lbMT->GetCaption(), info->lbThreadCount->GetCaption(),
                            info->lbChunkSize->GetCaption()});
        return win32::ModalReply::Answer(mrOk);
    });
    for (const char* line : {"mt info", "mt 3 250", "mt in", "mt off", "mt i"}) {
        TString command(line);
        editor->ExecCommand(command);
    }
    ASSERT_EQ(seen.size(), 3u);
    EXPECT_EQ(seen[0].caption, "Multithread properties");
    EXPECT_EQ(seen[0].mt, "Off");
    EXPECT_EQ(seen[0].threads, "1");
    EXPECT_EQ(seen[0].chunk, "10000");
    EXPECT_EQ(seen[1].mt, "On");
    EXPECT_EQ(seen[1].threads, "3");
    EXPECT_EQ(seen[1].chunk, "250");
    EXPECT_EQ(seen[2].mt, "Off");
}

// ---- ConvertLines ----

namespace {

// What the expression below makes of a range [first, last] of text: the
// line seven and one before (within the range), the line, its number and its
// number within the block. base(0, 10) is empty.
const char* const kParityExpression =
    "lines[7] + '|' + lines[1] + '|' + line + '|' + base(line_number, 10) + '|' + base(sel_number, 10)";

std::string Decimal(int n) { return n == 0 ? "" : std::to_string(n); }

std::vector<std::string> ExpectedParity(const std::vector<std::string>& text, int first, int last, bool block) {
    std::vector<std::string> result = text;
    for (int i = first; i <= last; ++i) {
        const auto before = [&](int k) { return i - k >= first ? text[static_cast<size_t>(i - k)] : std::string(); };
        result[static_cast<size_t>(i)] =
            before(7) + "|" + before(1) + "|" + text[static_cast<size_t>(i)] + "|" + Decimal(i) + "|" +
            Decimal(block ? i - first : i);
    }
    return result;
}

}  // namespace

// The same text on one thread (0 workers) and on 1 to 8 workers at any
// chunk size, with and without a block, every time (at 8 workers twice).
class ConversionParityTest : public LineTasksTest, public ::testing::WithParamInterface<int> {};

TEST_P(ConversionParityTest, AThreadedConversionGivesTheTextOfASingleThreadedOne) {
    const int workers = GetParam();
    const std::vector<std::string> text = NumberedLines(20000, "row ");
    std::vector<int> chunks = {1, 7, 1000};
    if (workers == 0) chunks = {10000};
    if (workers == 8) chunks.push_back(7);
    for (bool block : {false, true}) {
        const int first = block ? 1234 : 0;
        const int last = block ? 17890 : 19999;
        const std::vector<std::string> expected = ExpectedParity(text, first, last, block);
        for (int chunk : chunks) {
            SetLines(*editor, text);
            SelectBlock(*editor, block ? first : 0, block ? last + 1 : 0);
            editor->multiThreaded = workers > 0;
            editor->threadCount = workers;
            editor->chunkLines = chunk;
            RunDialog(kParityExpression);
            EXPECT_TRUE(TextOf(editor->lines) == expected) << "block " << block << ", chunk " << chunk;
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Workers, ConversionParityTest, ::testing::Values(0, 1, 2, 4, 8));

TEST_F(LineTasksTest, AConversionIsOneUndoStepWithProgressAndStatus) {
    for (bool threaded : {false, true}) {
        const std::vector<std::string> text = {"alpha", "beta", "gamma", "delta", "epsilon"};
        SetLines(*editor, text);
        editor->ClearUndo();
        editor->SetModified(false);
        editor->multiThreaded = threaded;
        editor->threadCount = 2;
        editor->chunkLines = 2;
        std::vector<std::pair<int, int>> progress;
        std::vector<std::string> status;
        editor->OnProgressChange = [&](TTextEditor* sender, int total, int position) {
            progress.emplace_back(total, position);
            status.push_back(sender->statusText.str());
        };
        const auto seen = RunDialog("line + ';'");
        editor->OnProgressChange = nullptr;
        ASSERT_EQ(seen.size(), 1u);
        EXPECT_EQ(seen[0].caption, "Convert lines");
        EXPECT_EQ(TextOf(editor->lines),
                  (std::vector<std::string>{"alpha;", "beta;", "gamma;", "delta;", "epsilon;"}));
        EXPECT_TRUE(editor->GetModified());
        EXPECT_GE(editor->GetHMax(), 8);
        ASSERT_GE(progress.size(), 2u);
        EXPECT_EQ(progress.front().second, -1);
        EXPECT_EQ(progress.back().second, -2);
        for (const auto& [total, position] : progress) {
            EXPECT_TRUE(position < 0 || (total == 5 && position < total)) << total << ", " << position;
        }
        for (size_t i = 0; i + 1 < status.size(); ++i) EXPECT_EQ(status[i], "Converting") << i;
        EXPECT_EQ(status.back(), "");
        EXPECT_EQ(editor->statusText.str(), "");
        editor->Undo();
        EXPECT_EQ(TextOf(editor->lines), text) << "threaded " << threaded;
    }
}

TEST_F(LineTasksTest, AWrongExpressionKeepsTheDialogOpenAndCancelChangesNoLine) {
    const std::vector<std::string> text = {"one", "two"};
    SetLines(*editor, text);
    editor->SetModified(false);
    std::vector<win32::ModalInteraction> seen;
    bool stayedOpen = false;
    std::vector<int> progress;
    editor->OnProgressChange = [&](TTextEditor*, int, int position) { progress.push_back(position); };
    win32::ScopedResponder responder([&](const win32::ModalInteraction& interaction) {
        seen.push_back(interaction);
        if (interaction.kind == win32::ModalKind::MessageBox) {
            stayedOpen = IsWindowVisible(dialog->GetHandle()) != FALSE;
            return win32::ModalReply::Answer(IDOK);
        }
        dialog->cmbExpr->SetText("line + ");
        driver.SetAutoPump(false);
        ClickButton(driver, dialog->btnOk);
        ClickButton(driver, dialog->btnCancel);
        return win32::ModalReply::Run();
    });
    editor->ConvertLines();
    driver.SetAutoPump(true);
    editor->OnProgressChange = nullptr;
    ASSERT_EQ(seen.size(), 2u);
    EXPECT_EQ(seen[1].kind, win32::ModalKind::MessageBox);
    EXPECT_EQ(seen[1].text, "Wrong converion expression");
    EXPECT_EQ(seen[1].caption, "Convert lines");
    EXPECT_EQ(seen[1].style & 0xF0u, static_cast<UINT>(MB_ICONERROR));
    EXPECT_TRUE(stayedOpen);
    EXPECT_EQ(TextOf(editor->lines), text);
    EXPECT_EQ(dialog->cmbExpr->GetItems()->GetCount(), 0);
    // Kept as designed: Cancel still reports the end and marks the text modified.
    EXPECT_EQ(progress, std::vector<int>{-2});
    EXPECT_TRUE(editor->GetModified());
}

namespace {

// Counts the lines it paints.
class TPaintCountingEditor : public TRecordingEditor {
public:
    using TRecordingEditor::TRecordingEditor;
    void PaintLine(int line) override {
        ++paintedLines;
        TRecordingEditor::PaintLine(line);
    }
    int paintedLines = 0;
};

}  // namespace

// A progress handler that lets messages through (to repaint a progress bar)
// lets the user act meanwhile: keys, clicks, played macro keys, commands and
// paints reach nothing until the command has ended, on one thread and while
// workers change the lines; then input and painting work again.
TEST_F(LineTasksTest, InputIsIgnoredWhileALineCommandRuns) {
    delete editor;
    auto* counting = Place<TPaintCountingEditor>(10, 10, 300, 200);
    counting->SetFocus();
    driver.PumpUntilIdle();
    editor = counting;
    for (bool threaded : {false, true}) {
        std::vector<std::string> expected = NumberedLines(200, "x");
        SetLines(*editor, expected);
        for (std::string& line : expected) line += ";";
        editor->SetCursorPosX(3);
        editor->SetCursorPosY(2);
        editor->multiThreaded = threaded;
        editor->threadCount = 4;
        editor->chunkLines = 5;
        editor->keys.clear();
        editor->characters.clear();
        bool acted = false;
        int paintsMeanwhile = -1;
        int paintsAfterHandler = 0;
        editor->OnProgressChange = [&](TTextEditor*, int, int position) {
            if (acted || position != (threaded ? 0 : 3)) return;
            acted = true;
            EXPECT_TRUE(editor->IsRunningLineCommand());
            const int paintsBefore = counting->paintedLines;
            editor->Invalidate();
            driver.Type("zz");
            driver.Press(VK_DELETE);
            driver.Click(editor->GetHandle(), 40, 60);
            driver.Wheel(editor->GetHandle(), 40, 60, -2);
            PostMessageA(editor->GetHandle(), WM_USER + 1, 'q', 0);
            driver.PumpUntilIdle();
            paintsMeanwhile = counting->paintedLines - paintsBefore;
            paintsAfterHandler = counting->paintedLines;
            TString command("mt off");
            editor->ExecCommand(command);
        };
        if (threaded) {
            // As the line commands run it, with every finished task reported.
            TExpression expression;
            ASSERT_TRUE(editor->CreateExpression(TString("line + ';'"), expression));
            TConvertLineTask prototype(editor->lines, editor->selection, expression);
            editor->RunLineTasks(prototype, true);
        } else {
            RunDialog("line + ';'");
        }
        editor->OnProgressChange = nullptr;
        EXPECT_TRUE(acted);
        EXPECT_EQ(paintsMeanwhile, 0);
        EXPECT_TRUE(editor->keys.empty());
        EXPECT_TRUE(editor->characters.empty());
        EXPECT_EQ(editor->GetCurCol(), 3);
        EXPECT_EQ(editor->GetCurLine(), 2);
        EXPECT_EQ(editor->GetVPos(), 0);
        EXPECT_EQ(editor->multiThreaded, threaded);
        EXPECT_EQ(TextOf(editor->lines), expected);
        EXPECT_FALSE(editor->IsRunningLineCommand());
        driver.PumpUntilIdle();
        EXPECT_GT(counting->paintedLines, paintsAfterHandler) << "the put-off paint";
        driver.Press(VK_RIGHT);
        EXPECT_FALSE(editor->keys.empty());
    }
}

// ---- SetLineCapacity ----

TEST_F(LineTasksTest, SetLineCapacityReservesWhatTheExpressionGivesAndNothingElse) {
    const std::vector<std::string> text = {"a", "bcd", "", "efghij"};
    std::vector<int> before;
    const auto prepare = [&] {
        SetLines(*editor, text);
        before.clear();
        for (int i = 0; i < editor->lines.GetCount(); ++i) before.push_back(editor->lines[i].GetCapacity());
    };
    const std::string caption = dialog->GetCaption();
    const std::string label = dialog->lbExpression->GetCaption();
    const auto setCapacity = [&] { editor->SetLineCapacity(); };

    prepare();
    RunDialog("length * 100 + 500", setCapacity);
    EXPECT_EQ(shownCaption, "Allocate lines");
    EXPECT_EQ(shownLabel, "Allocation expression:");
    EXPECT_EQ(TextOf(editor->lines), text);
    for (int i = 0; i < editor->lines.GetCount(); ++i)
        EXPECT_GE(editor->lines[i].GetCapacity(), editor->lines[i].Length() * 100 + 500) << i;
    EXPECT_EQ(editor->runtimeVars.GetVar("length"), nullptr);
    EXPECT_EQ(dialog->GetCaption(), caption);
    EXPECT_EQ(dialog->lbExpression->GetCaption(), label);

    // Zero, negative, over 2^31 - 1 and non-integer results change nothing.
    for (const char* expression : {"0", "length - 10", "2147483648", "5000000000", "1.5e3", "'300'"}) {
        prepare();
        RunDialog(expression, setCapacity);
        EXPECT_EQ(TextOf(editor->lines), text) << expression;
        for (int i = 0; i < editor->lines.GetCount(); ++i)
            EXPECT_EQ(editor->lines[i].GetCapacity(), before[static_cast<size_t>(i)]) << expression << ", " << i;
        EXPECT_EQ(editor->runtimeVars.GetVar("length"), nullptr) << expression;
    }
}

#if !defined(__SANITIZE_ADDRESS__) && !defined(__SANITIZE_THREAD__)
// A capacity the memory cannot give leaves the line as it was. Run in a
// child whose address space is limited (the sanitizers need theirs whole).
TEST_F(LineTasksTest, ACapacityThatCannotBeHadLeavesTheLine) {
    SetLines(*editor, {"short", "line"});
    const auto inLimitedChild = [&] {
        rlimit limit{};
        getrlimit(RLIMIT_AS, &limit);
        limit.rlim_cur = 1024ul * 1024ul * 1024ul;
        setrlimit(RLIMIT_AS, &limit);
        RunDialog("2000000000", [&] { editor->SetLineCapacity(); });
        const bool same = TextOf(editor->lines) == std::vector<std::string>{"short", "line"} &&
                          editor->lines[0].GetCapacity() < 1000000;
        std::exit(same ? 0 : 1);
    };
    EXPECT_EXIT(inLimitedChild(), ::testing::ExitedWithCode(0), "");
}
#endif
