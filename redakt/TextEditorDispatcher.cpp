// TTextEditorDispatcher and the line tasks: the per-line loop every task
// shares, the conversion and copy tasks, and the dispatcher that gives each
// worker its own variables and counts the finished tasks.
#include "TextEditorDispatcher.h"

#include <algorithm>

#include "TextEditor.h"

// ---- TTextEditorLineTask ----

TTextEditorLineTask::TTextEditorLineTask(TStringContainer& lines, const TTextEditorSelection& selection)
    : lines(&lines), selection(selection) {}

void TTextEditorLineTask::Execute() {
    auto* dispatcher = TaskInfo != nullptr ? dynamic_cast<TTextEditorDispatcher*>(TaskInfo->Dispatcher) : nullptr;
    if (dispatcher == nullptr || TaskInfo->Index < 0 || TaskInfo->Index >= dispatcher->GetWorkerCount()) return;
    onWorker = true;
    Run(dispatcher->GetWorkerVars(TaskInfo->Index), nullptr);
    onWorker = false;
}

void TTextEditorLineTask::Run(TTextEditorRuntimeVars& vars, TTextEditor* progress) {
    const int first = std::max(firstLine, 0);
    const int last = std::min(lastLine, lines->GetCount() - 1);
    Bind(vars);
    vars.ClearRecentLines();
    const int leadCount = leadLines.GetCount();
    for (int k = 0; k < leadCount; ++k) vars.NewLine(first - leadCount + k, selection, leadLines[k]);
    const int count = last - first + 1;
    for (int line = first; line <= last; ++line) {
        vars.NewLine(line, selection, (*lines)[line]);
        ProcessLine(line);
        if (progress != nullptr) progress->ProgressChange(count, line - first);
    }
}

// ---- TConvertLineTask ----

TConvertLineTask::TConvertLineTask(TStringContainer& lines, const TTextEditorSelection& selection,
                                   const TExpression& condition, const TExpression& expression)
    : TTextEditorLineTask(lines, selection), condition(condition), expression(expression), hasCondition(true) {}

TConvertLineTask::TConvertLineTask(TStringContainer& lines, const TTextEditorSelection& selection,
                                   const TExpression& expression)
    : TTextEditorLineTask(lines, selection), expression(expression), hasCondition(false) {}

TTextEditorLineTask* TConvertLineTask::Clone() const {
    if (hasCondition) return new TConvertLineTask(*lines, selection, condition, expression);
    return new TConvertLineTask(*lines, selection, expression);
}

void TConvertLineTask::Bind(TTextEditorRuntimeVars& vars) {
    condition.SetVars(&vars);
    expression.SetVars(&vars);
}

// The value is written over the line, which keeps its storage (and its own
// reduce-capacity setting) when it fits there; else the line takes the work
// string's storage, and on a worker its own is set aside for Finished.
void TConvertLineTask::ProcessLine(int line) {
    if (hasCondition && !condition.EvalBool()) return;
    expression.EvalS(work);
    TString& text = (*lines)[line];
    const bool reduce = text.GetReduceCapacity();
    text.SetReduceCapacity(false);
    if (work.Length() <= text.GetCapacity()) {
        text = work.str();
    } else {
        std::swap(text, work);
        if (onWorker) {
            if (retired.empty()) retired.reserve(static_cast<size_t>(std::max(lastLine - line + 1, 1)));
            retired.push_back(std::move(work));
        }
        work = TString();
    }
    text.SetReduceCapacity(reduce);
    longestLine = std::max(longestLine, text.Length());
}

void TConvertLineTask::Finished() { std::vector<TString>().swap(retired); }

// ---- TCopyLineTask ----

TCopyLineTask::TCopyLineTask(TStringContainer& lines, const TTextEditorSelection& selection,
                             const TExpression& condition, const TExpression* format, TStringContainer* destination)
    : TTextEditorLineTask(lines, selection),
      condition(condition),
      hasFormat(format != nullptr && format->Valid()),
      destination(destination) {
    if (hasFormat) this->format = *format;
}

TTextEditorLineTask* TCopyLineTask::Clone() const {
    return new TCopyLineTask(*lines, selection, condition, hasFormat ? &format : nullptr, destination);
}

void TCopyLineTask::Complete() {
    if (destination != nullptr) *destination += result;
    result.DeleteAll(true);
}

void TCopyLineTask::Bind(TTextEditorRuntimeVars& vars) {
    condition.SetVars(&vars);
    format.SetVars(&vars);
}

void TCopyLineTask::ProcessLine(int line) {
    if (!condition.EvalBool()) return;
    if (hasFormat)
        result.Add(format.EvalS());
    else
        result.Add((*lines)[line]);
}

// ---- TTextEditorDispatcher ----

TTextEditorDispatcher::TTextEditorDispatcher(int threads, TTextEditor* editor, bool reportProgress)
    : TTaskDispatcher(threads), editor(editor), reportProgress(reportProgress) {
    for (int i = 0; i < GetWorkerCount(); ++i)
        workerVars.push_back(editor != nullptr ? std::make_unique<TTextEditorRuntimeVars>(editor->runtimeVars)
                                               : std::make_unique<TTextEditorRuntimeVars>());
}

// The workers call the virtual operations until Shutdown returns.
TTextEditorDispatcher::~TTextEditorDispatcher() {
    Shutdown();
    workerVars.clear();
}

void TTextEditorDispatcher::Execute(std::vector<TTask*>& tasks, bool deleteTasks) {
    taskCount = static_cast<int>(tasks.size());
    finishedCount = 0;
    longestLine = 0;
    TStringContainer* lines = editor != nullptr ? &editor->lines : nullptr;
    const bool reduce = lines != nullptr && lines->GetReduceCapacity();
    if (lines != nullptr) lines->SetReduceCapacity(false);
    if (editor != nullptr) editor->ProgressChange(0, -1);
    try {
        TTaskDispatcher::Execute(tasks, deleteTasks);
    } catch (...) {
        if (lines != nullptr) lines->SetReduceCapacity(reduce);
        throw;
    }
    if (editor != nullptr) {
        editor->ProgressChange(0, -2);
        if (editor->GetHMax() < longestLine) editor->SetHMax(longestLine);
    }
    if (lines != nullptr) lines->SetReduceCapacity(reduce);
}

void TTextEditorDispatcher::TaskFinished(TTask* task) {
    ++finishedCount;
    if (auto* lineTask = dynamic_cast<TTextEditorLineTask*>(task)) {
        lineTask->Finished();
        longestLine = std::max(longestLine, lineTask->longestLine);
    }
    if (reportProgress && editor != nullptr) editor->ProgressChange(taskCount, finishedCount - 1);
}
