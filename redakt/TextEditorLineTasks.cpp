// TTextEditor: line tasks on worker threads: cutting the working range into
// tasks and running them, converting lines, reserving line storage, the mt
// command, and the guard that keeps input out while a line command runs.
#include <algorithm>
#include <climits>
#include <cstdint>
#include <memory>
#include <new>
#include <stdexcept>
#include <string>

#include "Application.h"
#include "ComboBox.h"
#include "Label.h"
#include "TextEditor.h"
#include "TextEditorConvertLinesDlg.h"
#include "TextEditorDispatcher.h"
#include "TextEditorFunctions.h"
#include "TextEditorLineCommandRun.h"
#include "TextEditorTexts.h"
#include "TextEditorThreadInfoDlg.h"
#include "ThreadFunctions.h"

namespace {

constexpr int kDefaultChunkLines = 10000;

void SetScreenCursor(TCursor cursor) {
    if (Screen != nullptr) Screen->SetCursor(cursor);
}

}  // namespace

// ---- Cutting the range into tasks and running them ----

void TTextEditor::CreateTasks(std::vector<TTaskDispatcher::TTask*>& tasks, TTextEditorLineTask& prototype) {
    int first = 0, last = 0;
    ClampedWorkingRange(*this, first, last);
    last = std::min(last, prototype.lines->GetCount() - 1);
    const int64_t chunk = chunkLines >= 1 ? chunkLines : kDefaultChunkLines;
    const int leadLimit = TTextEditorRuntimeVars::kRecentLines - 1;
    for (int64_t start = first; start <= last; start += chunk) {
        std::unique_ptr<TTextEditorLineTask> task(prototype.Clone());
        task->firstLine = static_cast<int>(start);
        task->lastLine = static_cast<int>(std::min<int64_t>(start + chunk - 1, last));
        for (int line = std::max(first, task->firstLine - leadLimit); line < task->firstLine; ++line)
            task->leadLines.Add((*prototype.lines)[line]);
        tasks.push_back(task.release());
    }
}

int TTextEditor::RunLineTasks(TTextEditorLineTask& prototype, bool reportProgress) {
    TLineCommandRun running(*this);
    if (!multiThreaded) {
        ClampedWorkingRange(*this, prototype.firstLine, prototype.lastLine);
        prototype.leadLines.Clear();
        prototype.longestLine = 0;
        ProgressChange(0, -1);
        prototype.Run(runtimeVars, this);
        ProgressChange(0, -2);
        prototype.Complete();
        return prototype.longestLine;
    }
    std::vector<TTaskDispatcher::TTask*> tasks;
    std::vector<std::unique_ptr<TTextEditorLineTask>> owned;
    CreateTasks(tasks, prototype);
    for (TTaskDispatcher::TTask* task : tasks) owned.emplace_back(static_cast<TTextEditorLineTask*>(task));
    TTextEditorDispatcher dispatcher(GetThreadCount(threadCount, true), this, reportProgress);
    dispatcher.Execute(tasks, false);
    for (auto& task : owned) task->Complete();
    return dispatcher.GetLongestLine();
}

void TTextEditor::NewLine(int line) { runtimeVars.NewLine(line, selection, GetLineText(line)); }

// ---- Converting lines ----

void TTextEditor::ConvertLines() {
    TTextEditorConvertLinesDlg* dialog = SharedConvertLinesDlg();
    if (dialog != nullptr && dialog->cmbExpr != nullptr) {
        dialog->variables = &runtimeVars;
        SetupDlgPos(dialog);
        dialog->SetActiveControl(dialog->cmbExpr);
        if (dialog->ShowModal() == mrOk) ConvertLines(TString(dialog->cmbExpr->GetText()));
    }
    statusText.Clear();
    ProgressChange(0, -2);
    SetModified(true);
}

void TTextEditor::ConvertLines(const TString& expressionText) {
    TExpression expression;
    if (!CreateExpression(expressionText, expression)) return;
    TLineCommandRun running(*this);
    int first = 0, last = 0;
    ClampedWorkingRange(*this, first, last);
    statusText = TString(TextEditorText(100474, "Converting"));
    ProgressChange(0, -1);
    SetScreenCursor(crHourGlass);
    if (first <= last) AddUndoItem(utConvert, first, last);
    TConvertLineTask prototype(lines, selection, expression);
    int longest = 0;
    try {
        longest = RunLineTasks(prototype, false);
    } catch (...) {
        SetScreenCursor(crDefault);
        statusText.Clear();
        throw;
    }
    if (GetHMax() < longest) SetHMax(longest);
    SetScreenCursor(crDefault);
    statusText.Clear();
    Invalidate();
}

// ---- Reserving line storage ----

namespace {

// The convert-lines dialog under SetLineCapacity's caption and label, with
// "length" among the editor's variables, for the life of the object.
class TCapacityDialogUse {
public:
    TCapacityDialogUse(TTextEditorConvertLinesDlg& dialog, TTextEditorRuntimeVars& vars)
        : dialog_(dialog), vars_(vars), caption_(dialog.GetCaption()), label_(dialog.lbExpression->GetCaption()) {
        dialog_.SetCaption("Allocate lines");
        dialog_.lbExpression->SetCaption("Allocation expression:");
        vars_.NewInt("length", false, 0);
        length_ = vars_.Last();
    }
    ~TCapacityDialogUse() {
        vars_.DeleteVar(length_);
        dialog_.SetCaption(caption_);
        dialog_.lbExpression->SetCaption(label_);
    }
    TCapacityDialogUse(const TCapacityDialogUse&) = delete;
    TCapacityDialogUse& operator=(const TCapacityDialogUse&) = delete;

    TVariable* length() const { return length_; }

private:
    TTextEditorConvertLinesDlg& dialog_;
    TTextEditorRuntimeVars& vars_;
    std::string caption_;
    std::string label_;
    TVariable* length_ = nullptr;
};

// Reserves capacity for a line when the value is an integer 1..2^31-1; a
// reservation the memory cannot give leaves the line as it was.
void ReserveLine(TString& line, const EXPRVALUE& value) {
    if (value.kind != ekInteger || value.value.integer < 1 || value.value.integer > INT_MAX) return;
    try {
        line.Reserve(static_cast<int>(value.value.integer));
        line.SetReduceCapacity(false);
    } catch (const std::bad_alloc&) {
    } catch (const std::length_error&) {
    }
}

}  // namespace

void TTextEditor::SetLineCapacity() {
    TTextEditorConvertLinesDlg* dialog = SharedConvertLinesDlg();
    if (dialog == nullptr || dialog->cmbExpr == nullptr || dialog->lbExpression == nullptr) return;
    TCapacityDialogUse use(*dialog, runtimeVars);
    dialog->variables = &runtimeVars;
    SetupDlgPos(dialog);
    dialog->SetActiveControl(dialog->cmbExpr);
    if (dialog->ShowModal() != mrOk) return;
    TExpression expression;
    if (!CreateExpression(TString(dialog->cmbExpr->GetText()), expression)) return;
    TLineCommandRun running(*this);
    SetScreenCursor(crHourGlass);
    runtimeVars.ClearRecentLines();
    TVariable* length = use.length();
    for (int i = 0; i < lines.GetCount(); ++i) {
        NewLine(i);
        if (length != nullptr && length->type == vtInt) length->value.i = lines[i].Length();
        EXPRVALUE value;
        expression.Eval(value);
        ReserveLine(lines[i], value);
    }
    SetScreenCursor(crDefault);
}

// ---- The mt command ----

namespace {

// ORDER: a typed word selects the first keyword it begins.
enum TMTKeyword { mkOn, mkOff, mkInfo, mkAuto, mkNone };
const char* const kMTKeywords[] = {"on", "off", "info", "auto"};

TMTKeyword MTKeyword(const TString& word) {
    const int found = MatchKeyword(word, kMTKeywords, mkNone);
    return found < 0 ? mkNone : static_cast<TMTKeyword>(found);
}

std::string ThreadLimitText(int limit) {
    std::string text = TextEditorText(100469, "The thread count is limited to %d");
    const size_t at = text.find("%d");
    if (at != std::string::npos) text.replace(at, 2, std::to_string(limit));
    return text;
}

}  // namespace

void TTextEditor::CmdMT(TString& argument) {
    TStringContainer words;
    argument.GetTokens(' ', false, false, words);
    if (words.GetCount() == 0) return;
    const TMTKeyword keyword = MTKeyword(words[0]);
    if (words.GetCount() == 1 && (keyword == mkOn || keyword == mkOff)) {
        multiThreaded = keyword == mkOn;
        return;
    }
    if (words.GetCount() == 1 && keyword == mkInfo) {
        std::unique_ptr<TTextEditorThreadInfoDlg> dialog(new TTextEditorThreadInfoDlg(nullptr));
        if (dialog->lbMT != nullptr) dialog->lbMT->SetCaption(multiThreaded ? "On" : "Off");
        if (dialog->lbThreadCount != nullptr) dialog->lbThreadCount->SetCaption(std::to_string(threadCount));
        if (dialog->lbChunkSize != nullptr) dialog->lbChunkSize->SetCaption(std::to_string(chunkLines));
        SetupDlgPos(dialog.get());
        dialog->ShowModal();
        return;
    }
    int count = 0;
    if (keyword == mkAuto)
        count = GetNumberOfProcessors();
    else if (!words[0].ParseInt(count))
        return;
    multiThreaded = true;
    threadCount = count < 0 ? 1 : count;
    if (threadLimit != 0 && threadCount > threadLimit) {
        const std::string caption = TextEditorText(100470, "Thread count");
        MessageBoxA(HandleAllocated() ? GetHandle() : nullptr, ThreadLimitText(threadLimit).c_str(), caption.c_str(),
                    MB_OK | MB_ICONINFORMATION);
        threadCount = threadLimit;
    }
    int chunk = 0;
    if (words.GetCount() > 1 && words[1].ParseInt(chunk) && chunk >= 1) chunkLines = chunk;
}

// ---- Keeping input out while a line command runs ----

void TTextEditor::BeginLineCommand() { ++lineCommandDepth; }

void TTextEditor::EndLineCommand() {
    if (lineCommandDepth > 0) --lineCommandDepth;
    if (lineCommandDepth > 0 || !paintAfterLineCommand) return;
    paintAfterLineCommand = false;
    if (HandleAllocated()) Invalidate();
}
