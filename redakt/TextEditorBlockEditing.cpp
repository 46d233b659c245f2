// TTextEditor: selecting all, a paragraph or a word, reading the selected
// text, indenting, inserting a text into every line, upper and lower case,
// capitalising, and the tab-stop list.
#include <algorithm>
#include <cstdio>

#include "CharClass.h"
#include "ComboBox.h"
#include "TextEditor.h"
#include "TextEditorFunctions.h"
#include "TextEditorLineInsertTextDlg.h"

namespace {

bool HasLineBlock(const TTextEditorSelection& s) { return s.selStartLine != s.selEndLine; }

bool HasSelection(const TTextEditorSelection& s) {
    return s.selStartCol != s.selEndCol || s.selStartLine != s.selEndLine;
}

// The columns of an in-line selection that lie inside a text of length.
void ColumnsWithin(const TTextEditorSelection& s, int length, int& start, int& end) {
    start = std::clamp(std::min(s.selStartCol, s.selEndCol), 0, length);
    end = std::clamp(std::max(s.selStartCol, s.selEndCol), start, length);
}

void ConvertCase(TString& text, int start, int end, bool upper) {
    for (int i = start; i < end; ++i) text.SetChar(i, upper ? mystr_upper_char(text[i]) : mystr_lower_char(text[i]));
}

}  // namespace

void TTextEditor::SelectAll() {
    selection.selStartLine = 0;
    selection.selEndLine = lines.GetCount();
    selection.selStartCol = selection.selEndCol = 0;
    Repaint();
    SelectionChanged();
}

void TTextEditor::SelectLines(int first, int last) {
    const int count = lines.GetCount();
    const int start = std::clamp(first, 0, count);
    const int end = last >= count ? count : std::clamp(last + 1, start, count);
    selection.selStartCol = selection.selEndCol = 0;
    selection.selStartLine = start;
    selection.selEndLine = end;
    RefreshLines(-1);
    SelectionChanged();
}

void TTextEditor::SelectChars(int start, int end, int line) {
    const int inText = std::clamp(line, 0, std::max(lines.GetCount() - 1, 0));
    const int length = GetLineText(inText).Length();
    const int to = end >= length ? length : std::max(end + 1, 0);
    selection.selStartLine = selection.selEndLine = 0;
    selection.selLine = inText;
    selection.selStartCol = std::min(std::max(start, 0), to);
    selection.selEndCol = to;
    RefreshLines(-1);
    SelectionChanged();
}

void TTextEditor::SelectParagraph() {
    if (CurLine < 0 || CurLine >= lines.GetCount()) return;
    int start = CurLine, end = CurLine + 1;
    while (start > 0 && lines[start - 1].Length() >= 1) --start;
    while (end < lines.GetCount() && lines[end].Length() >= 1) ++end;
    selection.selStartLine = start;
    selection.selEndLine = end;
    selection.selStartCol = selection.selEndCol = 0;
    Repaint();
    SelectionChanged();
}

// On a delimiter or past the line's end the selection is empty, at the caret.
void TTextEditor::SelectWord() {
    const bool hadSelection = HasSelection(selection);
    TTextEditorSelection& s = selection;
    s.selLine = s.selStartLine = s.selEndLine = CurLine;
    int start = 0, end = 0;
    if (GetCurWord(start, end).IsEmpty()) {
        s.selStartCol = s.selEndCol = CurCol;
    } else {
        s.selStartCol = start;
        s.selEndCol = end + 1;
        SetCursorPosX(s.selEndCol);
    }
    if (hadSelection)
        Repaint();
    else
        RepaintLine(CurLine);
    SetCaretPos(CurCol, CurLine);
    SelectionChanged();
}

// A line block ends with an empty line, so that the text ends with a line break.
void TTextEditor::GetSelectedText(TStringContainer& out) {
    out.Clear();
    const TTextEditorSelection& s = selection;
    if (HasLineBlock(s)) {
        const int last = std::min(std::max(s.selStartLine, s.selEndLine), lines.GetCount());
        for (int i = std::max(std::min(s.selStartLine, s.selEndLine), 0); i < last; ++i) out.Add(lines[i]);
        out.Add(TString());
    } else if (s.selStartCol != s.selEndCol) {
        const TString& text = GetLineText(s.selLine);
        int start = 0, end = 0;
        ColumnsWithin(s, text.Length(), start, end);
        out.Add(text.Substring(start, end - 1));
    }
}

void TTextEditor::DoIndent() {
    if (ReadOnly) return;
    const TString blanks = TString(' ') * IndentSize;
    const int last = std::min(selection.selEndLine, lines.GetCount());
    if (HasLineBlock(selection))
        for (int i = std::max(selection.selStartLine, 0); i < last; ++i) {
            lines[i].Insert(0, blanks);
            SetHMax(lines[i]);
            RepaintLine(i);
        }
    SetModified(true);
}

// A line loses its first IndentSize characters, whatever they are, when it
// starts with a blank or EmptyUnindent is off.
void TTextEditor::DoUnindent() {
    if (ReadOnly) return;
    const int last = std::min(selection.selEndLine, lines.GetCount());
    if (HasLineBlock(selection))
        for (int i = std::max(selection.selStartLine, 0); i < last; ++i) {
            TString& text = lines[i];
            if ((text[0] == ' ' || !EmptyUnindent) && IndentSize > 0) text.Delete(0, IndentSize - 1);
            RepaintLine(i);
        }
    SetModified(true);
}

void TTextEditor::LineInsertText(const TString& text, TTextEditorInsertMode mode, int pos) {
    int first = 0, last = 0;
    GetWorkingRange(first, last);
    last = std::min(last, lines.GetCount() - 1);
    for (int i = std::max(first, 0); i <= last; ++i) {
        TString& line = lines[i];
        switch (mode) {
            case imLineStart: line.Insert(0, text); break;
            case imColumn: line.Insert(std::max(pos, 0), text); break;
            case imLineEnd: line += text; break;
            default: break;
        }
        SetHMax(line);
    }
    Repaint();
    SetModified(true);
}

// Both boxes keep their last ten entries. A column box without a number
// leaves the text alone when a column is asked for.
void TTextEditor::LineInsertText() {
    TTextEditorLineInsertTextDlg* dialog = SharedLineInsertTextDlg();
    SetupDlgPos(dialog);
    dialog->SetActiveControl(dialog->cmbText);
    if (dialog->ShowModal() != mrOk) return;
    AddComboHistory(dialog->cmbText, 10);
    AddComboHistory(dialog->cmbPosition, 10);
    const auto mode = static_cast<TTextEditorInsertMode>(dialog->cmbMode->GetItemIndex());
    int pos = 0;
    const bool hasPos = std::sscanf(dialog->cmbPosition->GetText().c_str(), "%d", &pos) == 1;
    if (mode == imColumn && !hasPos) return;
    LineInsertText(TString(dialog->cmbText->GetText()), mode, pos);
}

// The characters from the first to the last column of the word at the caret.
void TTextEditor::WordUpperLower(bool upper) {
    if (ReadOnly || lines.GetCount() == 0) return;
    int start = 0, end = 0;
    if (GetCurWord(start, end).IsEmpty()) return;
    ConvertCase(lines[CurLine], start, end + 1, upper);
    RepaintLine(CurLine);
    SetModified(true);
}

void TTextEditor::WordToUpper() {
    if (!ReadOnly) WordUpperLower(true);
}

void TTextEditor::WordToLower() {
    if (!ReadOnly) WordUpperLower(false);
}

// An in-line selection converts the columns of its own line that lie inside
// the text; a line block converts whole lines.
void TTextEditor::BlockUpperLower(bool upper) {
    if (ReadOnly || lines.GetCount() == 0) return;
    const TTextEditorSelection& s = selection;
    if (HasLineBlock(s)) {
        const int first = std::max(std::min(s.selStartLine, s.selEndLine), 0);
        const int last = std::min(std::max(s.selStartLine, s.selEndLine), lines.GetCount()) - 1;
        AddUndoItem(utReplaceChars, first, last);
        for (int i = first; i <= last; ++i) {
            if (upper)
                lines[i].ToUpper();
            else
                lines[i].ToLower();
        }
        RefreshLines(-1);
    } else if (s.selStartCol != s.selEndCol && s.selLine >= 0 && s.selLine < lines.GetCount()) {
        TString& text = lines[s.selLine];
        AddUndoItem(utReplaceChars, s.selLine, POINT{CurCol, CurLine}, text);
        int start = 0, end = 0;
        ColumnsWithin(s, text.Length(), start, end);
        ConvertCase(text, start, end, upper);
        RepaintLine(s.selLine);
    } else {
        return;
    }
    SetModified(true);
}

void TTextEditor::BlockToUpper() {
    if (!ReadOnly) BlockUpperLower(true);
}

void TTextEditor::BlockToLower() {
    if (!ReadOnly) BlockUpperLower(false);
}

void TTextEditor::Capitalize() {
    int first = 0, last = 0;
    GetWorkingRange(first, last);
    last = std::min(last, lines.GetCount() - 1);
    first = std::max(first, 0);
    if (first > last) return;
    AddUndoItem(utReplaceChars, first, last);
    ProgressChange(0, -1);
    for (int i = first; i <= last; ++i) {
        lines[i].Capitalize();
        ProgressChange(last - first + 1, i - first);
    }
    ProgressChange(0, -2);
    RefreshLines(-1);
    SetModified(true);
}

void TTextEditor::AddTab(int col) {
    if (tabStops.IndexOf(col) >= 0) return;
    tabStops.Add(col);
    tabStops.Sort();
    Repaint();
}

void TTextEditor::DeleteTab(int col) {
    const int index = tabStops.IndexOf(col);
    if (index >= 0) tabStops.Delete(index);
    Repaint();
}

void TTextEditor::ChangeTab(int col) {
    if (tabStops.IndexOf(col) >= 0)
        DeleteTab(col);
    else
        AddTab(col);
}
