// TTextEditorDispatcher and the line tasks it runs: a task runs one
// per-line operation over a chunk of consecutive lines on a worker thread,
// and the dispatcher gives each worker its own expression variables.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "Expression.h"
#include "StringContainer.h"
#include "TaskDispatcher.h"
#include "TextEditorRuntimeVars.h"
#include "TextEditorTypes.h"

class TTextEditor;

// A run of one operation over lines firstLine..lastLine of a line store.
// Each line is loaded into a variable list (as TTextEditor::NewLine does)
// and handed to ProcessLine; "lines" starts empty and first takes the lead
// lines, the up to seven lines of the working range before the chunk, so a
// chunk sees the same earlier lines as one pass over the whole range does.
// A task touches only its own lines, its own fields and the list it is given.
class TTextEditorLineTask : public TTaskDispatcher::TTask {
public:
    TTextEditorLineTask(TStringContainer& lines, const TTextEditorSelection& selection);

    // On a worker of a TTextEditorDispatcher: Run on that worker's variables.
    // Outside such a dispatcher nothing happens.
    void Execute() override;
    // A new task of the same kind and settings; its range and lead lines are
    // the caller's to set.
    virtual TTextEditorLineTask* Clone() const = 0;
    // The operation over the task's range on vars, on the calling thread.
    // With an editor given, it gets ProgressChange(line count, k - 1) after
    // the k-th line. A range outside the store is cut to it.
    void Run(TTextEditorRuntimeVars& vars, TTextEditor* progress);
    // On the thread that runs the dispatcher, as each task finishes: gives
    // back storage that the run on a worker set aside (see ConvertLine).
    virtual void Finished() {}
    // After the run, on the thread that ran the dispatcher, in task order.
    virtual void Complete() {}

    TStringContainer* lines;
    int firstLine = 0;
    int lastLine = -1;
    // The greatest length of a line the task wrote; 0 when it wrote none.
    int longestLine = 0;
    TTextEditorSelection selection;
    // Copies of the lines before firstLine that the expressions may read
    // through "lines", oldest first; made before the run starts.
    TStringContainer leadLines;

protected:
    // True while the task runs on a worker (Execute), false on the caller.
    bool onWorker = false;

    // Binds the task's expressions to vars before the first line.
    virtual void Bind(TTextEditorRuntimeVars& vars) = 0;
    // Line `line` is loaded into the bound variables.
    virtual void ProcessLine(int line) = 0;
};

// Converts each line to the string value of an expression, in place; with a
// condition, only the lines for which it is true. The expressions are
// copies, compiled on the user-interface thread; each task binds its own.
class TConvertLineTask : public TTextEditorLineTask {
public:
    TConvertLineTask(TStringContainer& lines, const TTextEditorSelection& selection, const TExpression& condition,
                     const TExpression& expression);
    TConvertLineTask(TStringContainer& lines, const TTextEditorSelection& selection, const TExpression& expression);
    TTextEditorLineTask* Clone() const override;

    void Finished() override;

    TExpression condition;
    TExpression expression;
    bool hasCondition;

protected:
    void Bind(TTextEditorRuntimeVars& vars) override;
    void ProcessLine(int line) override;

private:
    // The expression's value, in storage of the worker's own.
    TString work;
    // Storage of lines that grew on a worker: freed by Finished on the
    // dispatcher's thread, which allocated most of it, so that workers do
    // not queue for that thread's heap.
    std::vector<TString> retired;
};

// Collects the lines for which a condition is true (or, with a format, the
// format's string value for them) without changing the text. Complete
// appends what it collected to the destination, so a run that completes
// its tasks in order fills the destination in line order.
class TCopyLineTask : public TTextEditorLineTask {
public:
    // A format that is null or not compiled copies the lines themselves.
    TCopyLineTask(TStringContainer& lines, const TTextEditorSelection& selection, const TExpression& condition,
                  const TExpression* format, TStringContainer* destination);
    TTextEditorLineTask* Clone() const override;
    // Appends result to the destination (none: nothing) and empties it.
    void Complete() override;

    TExpression condition;
    TExpression format;
    bool hasFormat;
    TStringContainer* destination;
    TStringContainer result;

protected:
    void Bind(TTextEditorRuntimeVars& vars) override;
    void ProcessLine(int line) override;
};

// Replaces a text by another within lines, as the replace command does: a
// pass replaces the occurrences from the left, none overlapping, and does
// not look into what it put in. A replacement that holds the text gets one
// pass; any other gets passes until one finds nothing, ten at most, so that
// an occurrence a replacement forms is replaced too ("aa" by "a" makes one
// 'a' of eight). An empty text changes nothing. One object per thread: it
// keeps the storage of its passes.
class TLineReplacer {
public:
    TLineReplacer(const TString& find, const TString& replacement);

    // Replaces within line; true when it found the text there (and wrote the
    // line). A line without the text is not written; one whose new text fits its storage keeps that storage
    // (and its reduce-capacity setting). A line that outgrows its storage
    // gets new storage; with retired given, the old storage is moved there
    // instead of being freed.
    bool Replace(TString& line, std::vector<TString>* retired);

private:
    // Puts the pass's text into the line.
    void Store(TString& line, std::vector<TString>* retired) const;

    std::string find_;
    std::string replacement_;
    int passes_;
    std::string work_;
};

// The replace command's work on lines first..last of lines (cut to them),
// line by line in place. With an editor, ProgressChange(count, k) after the
// k-th line of the range. Returns the greatest length of a line it changed,
// 0 when it changed none.
int ReplaceLines(TTextEditor* editor, TStringContainer& lines, int first, int last, const TString& find,
                 const TString& replacement);

// The replace command's task: ReplaceLines over its range without progress,
// loading no variables, on a worker of any dispatcher. longestLine is the
// greatest length of a line it changed.
class TCmdReplaceTask : public TTextEditorLineTask {
public:
    TCmdReplaceTask(TStringContainer& lines, const TTextEditorSelection& selection, const TString& find,
                    const TString& replacement);
    TTextEditorLineTask* Clone() const override;
    void Execute() override;
    // Frees the storage of lines that grew on a worker, on the dispatcher's thread.
    void Finished() override;

    TString find;
    TString replacement;

protected:
    void Bind(TTextEditorRuntimeVars&) override {}
    void ProcessLine(int line) override;

private:
    TLineReplacer replacer;
    std::vector<TString> retired;
};

// A synchronous task dispatcher for line tasks. Each worker has its own
// copy of the editor's runtime variables (made with the dispatcher, so the
// editor's own variables, those a command added included, sit at the same
// places). It reports the run's start and end, with reportProgress each
// finished task, and widens the editor's horizontal range to the longest
// line the tasks wrote.
class TTextEditorDispatcher : public TTaskDispatcher {
public:
    // A null editor gives plain runtime variables and reports nothing.
    TTextEditorDispatcher(int threads, TTextEditor* editor, bool reportProgress);
    // Stops the workers (Shutdown) before their variables go.
    ~TTextEditorDispatcher() override;

    // ProgressChange(0, -1), the base's run, ProgressChange(0, -2), then the
    // horizontal range; the line store keeps the storage of shrinking lines
    // meanwhile. The counts start afresh with each call.
    void Execute(std::vector<TTask*>& tasks, bool deleteTasks) override;
    // On the calling thread: the k-th finished task of a run of n reports
    // ProgressChange(n, k - 1) when reportProgress is set.
    void TaskFinished(TTask* task) override;

    // The variables of worker index (0..GetWorkerCount() - 1).
    TTextEditorRuntimeVars& GetWorkerVars(int index) { return *workerVars[static_cast<size_t>(index)]; }
    int GetLongestLine() const { return longestLine; }

private:
    TTextEditor* editor;
    int taskCount = 0;
    int finishedCount = 0;
    int longestLine = 0;
    bool reportProgress;
    std::vector<std::unique_ptr<TTextEditorRuntimeVars>> workerVars;
};
