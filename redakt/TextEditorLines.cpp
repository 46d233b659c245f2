// TTextEditor: reading a line, inserting and deleting whole lines with the
// sections kept in step, inserting a text at the caret, and the append-mode
// overwrite step.
#include <algorithm>
#include <vector>

#include "TextEditor.h"

const TString& TTextEditor::GetLineText(int line) const {
    static const TString kNoLine;
    return line >= 0 && line < lines.GetCount() ? lines[line] : kNoLine;
}

namespace {

// Section ends at or after line move down by count.
void ShiftSections(TIntPairContainer& sections, int line, int count) {
    TIntPair* pair = sections.Array();
    for (int i = 0; i < sections.GetCount(); ++i) {
        if (pair[i].first >= line) pair[i].first += count;
        if (pair[i].second >= line) pair[i].second += count;
    }
}

// A section (s, e) after lines first..last were deleted. A section of
// exactly those lines counts as wholly deleted, not as covering them (which
// would leave it turned round).
void FitSection(TIntPair& section, int first, int last) {
    const int n = last - first + 1;
    int& s = section.first;
    int& e = section.second;
    if (s > last && e > last) {
        s -= n;
        e -= n;
    } else if (s < first && e < first) {
        // wholly before: unchanged
    } else if (s <= first && e >= last && (s < first || e > last)) {
        e -= n;
    } else if (s >= first && e <= last) {
        s = e = -1;
    } else if (s >= first) {
        s = first;
        e -= n;
    } else {
        e = first - 1;
    }
}

// Lines first..end-1 of text go in before line `at` with one move of the
// lines after it: taken over from text when take is set (text keeps its
// other lines), else copied. Sections shift as Insert's do. The lines get the
// line store's capacity rule, unless ruled says they have it already.
void InsertLinesOf(TTextEditor& editor, int at, TStringContainer& text, int first, int end, bool take, bool ruled) {
    const int count = end - first;
    if (count <= 0) return;
    std::vector<void*> copies;
    void* const* items = static_cast<void* const*>(text.GetItems()) + first;
    if (!take) {
        copies.reserve(static_cast<size_t>(count));
        for (int i = first; i < end; ++i) copies.push_back(new TString(text[i]));
        items = copies.data();
    }
    const bool reduce = editor.lines.GetReduceCapacity();
    if (!ruled)
        for (int i = 0; i < count; ++i) static_cast<TString*>(items[i])->SetReduceCapacity(reduce);
    at = std::clamp(at, 0, editor.lines.GetCount());
    editor.lines.InsertItems(at, items, count);
    if (take) text.DeleteSection(first, end - 1, false);
    ShiftSections(editor.sections, at, count);
}

}  // namespace

void TTextEditor::Insert(int line, const TString& text) {
    line = std::clamp(line, 0, lines.GetCount());
    lines.Insert(line, text);
    ShiftSections(sections, line, 1);
}

void TTextEditor::Insert(int line, TStringContainer& text) {
    const int count = text.GetCount();
    if (count == 0) return;
    line = std::clamp(line, 0, lines.GetCount());
    lines.Insert(line, text);
    ShiftSections(sections, line, count);
}

void TTextEditor::InsertTaking(int line, TStringContainer& text) {
    InsertLinesOf(*this, line, text, 0, text.GetCount(), true, false);
}

void TTextEditor::Delete(int first, int last) {
    first = std::max(first, 0);
    last = std::min(last, lines.GetCount() - 1);
    if (first > last) return;
    lines.DeleteSection(first, last, true);
    TIntPair* pair = sections.Array();
    for (int i = 0; i < sections.GetCount(); ++i)
        if (pair[i].first != -1 || pair[i].second != -1) FitSection(pair[i], first, last);
}

void TTextEditor::Delete(int line) { Delete(line, line); }

// Bookmarks follow their text: those below the caret line move down with it
// by the r lines added, and one on the caret line too when the caret stood
// at column 0 (its text then starts the line after the inserted ones).
void TTextEditor::InsertText(TStringContainer& source) { InsertTextFrom(source, false, -1); }

void TTextEditor::InsertTextTaking(TStringContainer& source, int longest) { InsertTextFrom(source, true, longest); }

void TTextEditor::InsertTextFrom(TStringContainer& source, bool take, int longest) {
    if (source.GetCount() == 0 || ReadOnly) return;
    if (lines.GetCount() == 0) lines.Add(TString());
    if (CurLine < 0 || CurLine >= lines.GetCount()) return;
    // A copy when the source is the text itself, which changes below.
    TStringContainer aliasCopy;
    if (&source == &lines) aliasCopy = source;
    TStringContainer& text = &source == &lines ? aliasCopy : source;

    const int m = text.GetCount();
    const int caretLine = CurLine;
    const int caretCol = CurCol;
    const TString cur = lines[caretLine];
    const POINT caret{caretCol, caretLine};
    if (m == 1)
        AddUndoItem(utTyping, caretLine, caret, cur);
    else
        AddUndoItem(utTyping, caretLine, caretLine + m - 1, caret, caretLine, caretLine);

    const TString head = cur.Left(caretCol);
    const TString tail = caretCol < cur.Length() ? cur.Substring(std::max(caretCol, 0), cur.Length() - 1) : TString();
    TString& line = lines[caretLine];
    if (!tail.IsEmpty()) {
        line = head + text[0];
    } else {
        line.ExtendRight(caretCol);
        line += text[0];
    }
    if (m == 1) {
        selection.selStartCol = caretCol;
        selection.selEndCol = caretCol + text[0].Length();
        SetCursorPosX(selection.selEndCol);
        selection.selLine = selection.selStartLine = selection.selEndLine = caretLine;
    }

    const int r = m - 1;
    const bool lastEmpty = r > 0 && text[m - 1].IsEmpty();
    const int lastLength = text[m - 1].Length();
    InsertLinesOf(*this, caretLine + 1, text, 1, lastEmpty ? m - 1 : m, take, longest >= 0);
    if (r == 0)
        lines[caretLine] += tail;
    else if (lastEmpty)
        Insert(caretLine + r, tail);
    else
        lines[caretLine + r] += tail;

    RefreshMarkers(caretLine + 1, r);
    if (r > 0 && caretCol == 0)
        for (int i = 0; i < markers.GetCount(); ++i)
            if (markers[i].line == caretLine) markers[i].line += r;

    // Nothing got shorter, so the longest line is the longest of the old
    // longest and the lines written here. When the caller measured text,
    // only the first and the last line written need measuring: the others
    // are text's lines as they stand, and text's first and last line are
    // parts of those two.
    SetVMax(std::max(lines.GetCount() - 1, 0));
    if (longest >= 0) {
        const int widest = std::max({lines[caretLine].Length(), longest, lines[caretLine + r].Length()});
        if (widest > HMax) SetHMax(widest);
    } else {
        for (int i = caretLine; i <= caretLine + r; ++i) SetHMax(lines[i]);
    }

    if (r > 0) {
        selection.selStartLine = caretLine;
        CurLine = selection.selEndLine = caretLine + r;
        if (!lastEmpty) {
            selection.selEndLine += 1;
            SetCursorPosX(lastLength);
        } else {
            SetCursorPosX(0);
        }
        selection.selStartCol = selection.selEndCol = 0;
    }
    SetCaretPos(CurCol, CurLine);
    RefreshLines(-1);
    SetModified(true);
}

void TTextEditor::AppendLineInInsertMode(int line, int col, char c) {
    if (line < 0 || line >= lines.GetCount() || col < 0 || col >= MarginPos) return;
    TString& text = lines[line];
    text.ExtendRight(MarginPos);
    const int k = std::min(std::max(appendCount, 0), MarginPos - col - 1);
    // [0, M-k-1) + [M-k, M) + c + [M, end): the character at M-k-1 drops out.
    text.Delete(MarginPos - k - 1, MarginPos - k - 1);
    text.Insert(MarginPos - 1, TString(c));
}
