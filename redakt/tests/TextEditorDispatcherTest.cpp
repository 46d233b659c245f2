// The line tasks and their dispatcher: copy tasks fill their destination in
// line order at any worker count, conditions, the progress of finished
// tasks, the longest line, and expressions calling the file built-ins on
// several workers at once.
#include <algorithm>
#include <cstdio>
#include <fstream>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "RedaktFixture.h"
#include "TextEditorDispatcher.h"

namespace {

class DispatcherTest : public ::testing::Test {
protected:
    void SetUp() override {
        editor = std::make_unique<TTextEditor>(nullptr);
        std::vector<std::string> text;
        for (int i = 0; i < 3000; ++i) text.push_back("line " + std::to_string(i) + (i % 3 == 0 ? " three" : ""));
        SetLines(*editor, text);
    }

    TExpression Compiled(const char* source) {
        TExpression expression;
        EXPECT_TRUE(editor->CreateExpression(TString(source), expression)) << source;
        return expression;
    }

    // prototype over the working range, as the line commands run it: on one
    // thread, or as tasks of `chunk` lines on `threads` workers.
    void RunOn(int threads, int chunk, TTextEditorLineTask& prototype, bool reportProgress = true) {
        editor->multiThreaded = threads > 0;
        editor->threadCount = threads;
        editor->chunkLines = chunk;
        editor->RunLineTasks(prototype, reportProgress);
    }

    win32::TestDriver driver;
    std::unique_ptr<TTextEditor> editor;
};

}  // namespace

TEST_F(DispatcherTest, CopyTasksFillTheirDestinationInLineOrderAtEveryWorkerCount) {
    const TExpression condition = Compiled("strpos(line, 'three') >= 0 || line_number % 7 == 1");
    const TExpression format = Compiled("base(line_number, 10) + ':' + lines[1]");
    for (const TExpression* withFormat : {static_cast<const TExpression*>(nullptr), &format}) {
        TStringContainer single;
        TCopyLineTask prototype(editor->lines, editor->selection, condition, withFormat, &single);
        RunOn(0, 10000, prototype);
        ASSERT_GT(single.GetCount(), 1000);
        EXPECT_EQ(prototype.result.GetCount(), 0);
        for (int threads : {1, 2, 4, 8})
            for (int chunk : {1, 13, 500}) {
                TStringContainer destination;
                destination.Add(TString("kept"));
                TCopyLineTask task(editor->lines, editor->selection, condition, withFormat, &destination);
                RunOn(threads, chunk, task);
                ASSERT_EQ(destination.GetCount(), single.GetCount() + 1) << threads << " threads, chunk " << chunk;
                EXPECT_EQ(destination[0].str(), "kept");
                destination.DeleteFirst(true);
                EXPECT_TRUE(TextOf(destination) == TextOf(single))
                    << threads << " threads, chunk " << chunk << (withFormat ? ", format" : "");
            }
    }
    EXPECT_EQ(editor->lines[1].str(), "line 1");  // the text stays
}

TEST_F(DispatcherTest, AConditionFalseForEveryLineChangesNothing) {
    const std::vector<std::string> before = TextOf(editor->lines);
    const TExpression never = Compiled("strlen(line) > 1000");
    const TExpression expression = Compiled("'changed'");
    for (int threads : {0, 3}) {
        TConvertLineTask prototype(editor->lines, editor->selection, never, expression);
        RunOn(threads, 100, prototype);
        EXPECT_EQ(TextOf(editor->lines), before) << threads;
    }
    const TExpression odd = Compiled("line_number % 2");
    TConvertLineTask prototype(editor->lines, editor->selection, odd, expression);
    RunOn(3, 100, prototype);
    EXPECT_EQ(editor->lines[0].str(), before[0]);
    EXPECT_EQ(editor->lines[1].str(), "changed");
}

// The k-th finished task of n reports (n, k - 1); start and end are -1 and
// -2; the horizontal range takes in the longest line written.
TEST_F(DispatcherTest, FinishedTasksReportTheirCountAndTheLongestLineWidensTheView) {
    std::vector<std::pair<int, int>> progress;
    editor->OnProgressChange = [&](TTextEditor*, int total, int position) { progress.emplace_back(total, position); };
    editor->SetHMax(10);
    const TExpression longer = Compiled("strcond(line_number == 1234, strmul('x', 300), line)");
    for (bool report : {true, false}) {
        progress.clear();
        TConvertLineTask prototype(editor->lines, editor->selection, longer);
        RunOn(4, 1000, prototype, report);
        std::vector<std::pair<int, int>> expected = {{0, -1}};
        if (report)
            for (int k = 0; k < 3; ++k) expected.emplace_back(3, k);
        expected.emplace_back(0, -2);
        EXPECT_EQ(progress, expected);
    }
    EXPECT_EQ(editor->GetHMax(), 300);
    EXPECT_EQ(editor->lines[1234].Length(), 300);
    EXPECT_TRUE(editor->lines.GetReduceCapacity());
}

// An expression that writes to one open file from several workers: every
// line reaches the file once, and the text comes out as on one thread.
TEST_F(DispatcherTest, ExpressionsCallTheFileBuiltinsOnSeveralWorkers) {
    TTempFolder folder("redakt-dispatcher");
    const std::string path = folder.Path("lines.txt");
    TExpression open;
    ASSERT_TRUE(open.SetSource(TString("OpenFile('" + path + "', 0, 0)"), &editor->runtimeVars));
    const long long id = open.Eval().value.integer;
    ASSERT_GE(id, 0);
    const std::vector<std::string> before = TextOf(editor->lines);
    const std::string writeLine = "WriteLine(" + std::to_string(id) + ", line) * 1000 + strlen(line)";
    TConvertLineTask prototype(editor->lines, editor->selection, Compiled(writeLine.c_str()));
    RunOn(4, 50, prototype);
    TExpression close;
    ASSERT_TRUE(close.SetSource(TString("CloseFile(" + std::to_string(id) + ")"), &editor->runtimeVars));
    EXPECT_EQ(close.Eval().value.integer, 1);

    for (size_t i = 0; i < before.size(); ++i)
        ASSERT_EQ(editor->lines[static_cast<int>(i)].str(), std::to_string(1000 + before[i].size())) << i;
    std::ifstream file(path);
    std::vector<std::string> written;
    for (std::string line; std::getline(file, line);) written.push_back(line);
    std::vector<std::string> sorted = before;
    std::sort(sorted.begin(), sorted.end());
    std::sort(written.begin(), written.end());
    EXPECT_TRUE(written == sorted) << written.size() << " lines written";
}

// A dispatcher made without an editor runs tasks on plain variables and
// reports nothing; a task outside such a dispatcher does nothing.
TEST_F(DispatcherTest, TasksRunOnTheirWorkersVariablesOnly) {
    TTextEditorDispatcher dispatcher(3, nullptr, true);
    ASSERT_EQ(dispatcher.GetWorkerCount(), 3);
    TExpression expression;
    ASSERT_TRUE(expression.SetSource(TString("line + '!'"), &dispatcher.GetWorkerVars(0)));
    std::vector<TTaskDispatcher::TTask*> tasks;
    for (int first : {0, 10, 20}) {
        auto* task = new TConvertLineTask(editor->lines, editor->selection, expression);
        task->firstLine = first;
        task->lastLine = first + 9;
        tasks.push_back(task);
    }
    dispatcher.Execute(tasks, true);
    EXPECT_EQ(editor->lines[0].str(), "line 0 three!");
    EXPECT_EQ(editor->lines[29].str(), "line 29!");
    EXPECT_EQ(editor->lines[30].str(), "line 30 three");
    EXPECT_EQ(dispatcher.GetLongestLine(), 14);

    TConvertLineTask alone(editor->lines, editor->selection, expression);
    alone.firstLine = 30;
    alone.lastLine = 31;
    alone.Execute();
    EXPECT_EQ(editor->lines[30].str(), "line 30 three");
}
