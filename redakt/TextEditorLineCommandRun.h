// What the line commands share while they run: the working range brought
// inside the text, and TLineCommandRun, which holds a line command open on
// an editor so that input reaching it meanwhile (through a progress
// handler's message pumping) is ignored until the command has ended.
#pragma once

#include <algorithm>

#include "TextEditor.h"

// The working range brought inside the text; first > last when it is empty.
inline void ClampedWorkingRange(TTextEditor& editor, int& first, int& last) {
    editor.GetWorkingRange(first, last);
    first = std::max(first, 0);
    last = std::min(last, editor.lines.GetCount() - 1);
}

class TLineCommandRun {
public:
    explicit TLineCommandRun(TTextEditor& editor) : editor_(editor) { editor_.BeginLineCommand(); }
    ~TLineCommandRun() { editor_.EndLineCommand(); }
    TLineCommandRun(const TLineCommandRun&) = delete;
    TLineCommandRun& operator=(const TLineCommandRun&) = delete;

private:
    TTextEditor& editor_;
};
