// TTextEditorRuntimeVars: the variables an expression over the editor's lines
// sees: "line", "lines", "line_number", "ln", "sel_number" and "sn".
#pragma once

#include "TextEditorTypes.h"
#include "Variables.h"

// "line" is the current line; "lines" an array of 8 strings, the current line
// first, then the lines handed in before it, newest first; "line_number" and
// "ln" the line's index; "sel_number" and "sn" its index within the line
// block, or the line's index without one. Each list keeps its own variables:
// a copy makes variables of its own, so copies change independently, and
// each worker thread of a line task has its own list.
class TTextEditorRuntimeVars : public TVariableList {
public:
    TTextEditorRuntimeVars();
    TTextEditorRuntimeVars(const TTextEditorRuntimeVars& source);
    TTextEditorRuntimeVars& operator=(const TTextEditorRuntimeVars& source);

    // Shifts "lines" one place on (the oldest text drops out), puts text into
    // "line" and "lines"[0], index into "line_number" and "ln", and the index
    // within the selection's line block (index - selStartLine) or, without a
    // block, index into "sel_number" and "sn". A variable that an expression
    // gave another type is left alone.
    void NewLine(int index, const TTextEditorSelection& selection, const TString& text);
    // Empties every text of "lines" (their storage stays), so that the next
    // NewLine begins a pass in which no earlier line shows.
    void ClearRecentLines();

    static constexpr int kRecentLines = 8;
    static constexpr int kLineCapacity = 1024;

private:
    void CopyVariablesOf(const TTextEditorRuntimeVars& source);
    void FindOwnVariables();
    void PrepareLineStorage();

    TVariable* line_ = nullptr;
    TVariable* lines_ = nullptr;
    TVariable* lineNumber_ = nullptr;
    TVariable* ln_ = nullptr;
    TVariable* selNumber_ = nullptr;
    TVariable* sn_ = nullptr;
};
