// TTextEditorRuntimeVars: making the line variables, copying them, and
// loading one line into them.
#include "TextEditorRuntimeVars.h"

#include <utility>

namespace {

// ORDER: the variables' positions in the list; compiled expressions refer to them.
enum TRuntimeVariable { rvLine, rvLines, rvLineNumber, rvLn, rvSelNumber, rvSn, rvCount };

// Assignment would take over the source's reduce-capacity setting.
void CopyKeepingStorage(TString& target, const TString& text) {
    target = text;
    target.SetReduceCapacity(false);
}

void SetInt(TVariable* variable, int64_t value) {
    if (variable != nullptr && variable->type == vtInt) variable->value.i = value;
}

}  // namespace

TTextEditorRuntimeVars::TTextEditorRuntimeVars() {
    NewString("line", false, TString());
    NewArray("lines", vtString, false);
    ResizeArray(rvLines, kRecentLines);
    NewInt("line_number", false, 0);
    NewInt("ln", false, 0);
    NewInt("sel_number", false, 0);
    NewInt("sn", false, 0);
    FindOwnVariables();
    PrepareLineStorage();
}

TTextEditorRuntimeVars::TTextEditorRuntimeVars(const TTextEditorRuntimeVars& source) : TVariableList() {
    CopyVariablesOf(source);
}

TTextEditorRuntimeVars& TTextEditorRuntimeVars::operator=(const TTextEditorRuntimeVars& source) {
    if (this != &source) CopyVariablesOf(source);
    return *this;
}

void TTextEditorRuntimeVars::CopyVariablesOf(const TTextEditorRuntimeVars& source) {
    DeleteAll(true);
    for (int i = 0; i < source.GetCount(); ++i) AddVar(*source[i]);
    base = source.base;
    arraySize = source.arraySize;
    FindOwnVariables();
    PrepareLineStorage();
}

void TTextEditorRuntimeVars::FindOwnVariables() {
    TVariable** own[rvCount] = {&line_, &lines_, &lineNumber_, &ln_, &selNumber_, &sn_};
    for (int i = 0; i < rvCount; ++i) *own[i] = (*this)[i];
}

// The strings keep room for a long line, so loading one line does not allocate.
void TTextEditorRuntimeVars::PrepareLineStorage() {
    const auto prepare = [](TString& text) {
        text.SetReduceCapacity(false);
        text.Reserve(kLineCapacity);
    };
    if (line_ != nullptr && line_->type == vtString) prepare(*line_->value.s);
    if (lines_ == nullptr || lines_->type != vtArray) return;
    auto* items = static_cast<TString*>(lines_->value.a.items);
    for (int i = 0; i < lines_->value.a.count; ++i) prepare(items[i]);
}

void TTextEditorRuntimeVars::ClearRecentLines() {
    if (lines_ == nullptr || lines_->type != vtArray || lines_->value.a.itemtype != vtString) return;
    auto* items = static_cast<TString*>(lines_->value.a.items);
    for (int i = 0; i < lines_->value.a.count; ++i) items[i].Clear();
}

void TTextEditorRuntimeVars::NewLine(int index, const TTextEditorSelection& selection, const TString& text) {
    if (lines_ != nullptr && lines_->type == vtArray && lines_->value.a.itemtype == vtString) {
        auto* items = static_cast<TString*>(lines_->value.a.items);
        const int count = lines_->value.a.count;
        // The oldest text rotates to the front and is overwritten there.
        for (int i = count - 1; i > 0; --i) std::swap(items[i], items[i - 1]);
        if (count > 0) CopyKeepingStorage(items[0], text);
    }
    if (line_ != nullptr && line_->type == vtString) CopyKeepingStorage(*line_->value.s, text);
    SetInt(lineNumber_, index);
    SetInt(ln_, index);
    const bool block = selection.selStartLine != selection.selEndLine;
    const int64_t inSelection = block ? int64_t(index) - selection.selStartLine : index;
    SetInt(selNumber_, inSelection);
    SetInt(sn_, inSelection);
}
