// TTextEditor: the line-block commands of the command line: copy, paste,
// select, repeat, section, exchange, numbers, insert, append, add, delete and
// modify, with the line removals they share.
//
// Every count is checked before anything is made: a negative one does
// nothing, and one whose result would pass 2^31 - 1 lines, or characters in
// a line or in all that a command adds, does nothing. New lines are built
// before any goes into the text, so a command that cannot get its memory
// leaves the text as it was; no allocation failure leaves a command.
#include <algorithm>
#include <climits>
#include <cstdint>
#include <memory>
#include <new>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

#include "TextEditor.h"
#include "TextEditorDispatcher.h"
#include "TextEditorFunctions.h"
#include "TextEditorLineCommandRun.h"
#include "TextEditorTexts.h"

namespace {

constexpr int64_t kMostCount = INT_MAX;
// Sections are numbered from 0 to this; a higher number is refused, since the
// list is filled with empty sections up to it.
constexpr int kLastSectionNumber = 9999;

bool Fits(int64_t count) { return count >= 0 && count <= kMostCount; }

// Runs work; an allocation failure ends it there.
template <class Work>
void WithinMemory(Work work) {
    try {
        work();
    } catch (const std::bad_alloc&) {
    } catch (const std::length_error&) {
    }
}

// The argument's words: split at blanks, runs of blanks counting as one.
TStringContainer Words(const TString& argument) {
    TStringContainer words;
    argument.GetTokens(' ', false, false, words);
    return words;
}

// A non-empty word with which the keyword begins ("p", "par" of "paragraph").
bool IsPrefixOf(const TString& word, const char* keyword) { return MatchKeyword(word, &keyword, 1) == 0; }

bool IsOneOf(const TString& word, const char* a, const char* b) { return word.str() == a || word.str() == b; }

bool StartsWith(const std::string& text, const char* start) { return text.rfind(start, 0) == 0; }

// Word i read as "%d"; false when there is no such word or it has no number.
bool NumberAt(const TStringContainer& words, int i, int& number) {
    return i < words.GetCount() && ReadLeadingNumber(words[i].str(), number);
}

// Word i as "%d" when it is there (false when it holds no number), else `absent`.
bool NumberOr(const TStringContainer& words, int i, int absent, int& number) {
    number = absent;
    return i >= words.GetCount() || ReadLeadingNumber(words[i].str(), number);
}

bool HasLineBlock(const TTextEditorSelection& s) { return s.selStartLine != s.selEndLine; }

// The working range brought inside the text; false when that leaves no line.
bool WorkingLines(TTextEditor& editor, int& first, int& last) {
    ClampedWorkingRange(editor, first, last);
    return first <= last;
}

// The line block brought inside the text, [first, end); false when that leaves none.
bool BlockLines(const TTextEditor& editor, int& first, int& end) {
    const TTextEditorSelection& s = editor.selection;
    first = std::max(std::min(s.selStartLine, s.selEndLine), 0);
    end = std::min(std::max(s.selStartLine, s.selEndLine), editor.lines.GetCount());
    return HasLineBlock(s) && first < end;
}

POINT Caret(const TTextEditor& editor) { return POINT{editor.GetCurCol(), editor.GetCurLine()}; }

// A record that cannot be made (no memory for it) is one the budget refused:
// the change goes ahead and the older records go, as they would not meet it.
template <class Record>
void RecordUndo(TTextEditor& editor, Record record) {
    try {
        record();
    } catch (const std::bad_alloc&) {
        editor.ClearUndo();
    }
}

// Runs a line task over the working range on this thread, whatever the
// multithreading setting.
int RunOnThisThread(TTextEditor& editor, TTextEditorLineTask& task) {
    const bool threaded = editor.multiThreaded;
    editor.multiThreaded = false;
    try {
        const int longest = editor.RunLineTasks(task, true);
        editor.multiThreaded = threaded;
        return longest;
    } catch (...) {
        editor.multiThreaded = threaded;
        throw;
    }
}

// After lines went in or out: the ranges, the view and the modified flag.
void TextChanged(TTextEditor& editor) {
    editor.SetVMax(std::max(editor.lines.GetCount() - 1, 0));
    editor.Invalidate();
    editor.SetModified(true);
}

// Widens the horizontal range to the longest of lines first..last.
void WidenTo(TTextEditor& editor, int first, int last) {
    void* const* items = static_cast<void* const*>(editor.lines.GetItems());
    const int count = std::min(last + 1, editor.lines.GetCount());
    int longest = 0;
    for (int i = std::max(first, 0); i < count; ++i) {
        TStringContainer::PrefetchLines(items, i, count);
        longest = std::max(longest, static_cast<const TString*>(items[i])->Length());
    }
    if (longest > editor.GetHMax()) editor.SetHMax(longest);
}

}  // namespace

// ---- copy ----

namespace {

const char kFormatMark[] = " format: ";
const char kWhere[] = "where ";

}  // namespace

void TTextEditor::CmdCopy(TString& argument) {
    WithinMemory([&] {
        std::string rest = argument.str();
        TExpression format;
        const TExpression* formatUsed = nullptr;
        const size_t formatAt = rest.find(kFormatMark);
        if (formatAt != std::string::npos) {
            if (!CreateExpression(TString(rest.substr(formatAt + sizeof kFormatMark - 1)), format)) return;
            formatUsed = &format;
            rest.erase(formatAt);
        }
        if (StartsWith(rest, kWhere)) {
            CopyWhere(TString(rest.substr(sizeof kWhere - 1)), formatUsed, -1);
            return;
        }
        const size_t blank = rest.find(' ');
        int n = 0;
        if (blank != std::string::npos && StartsWith(rest.substr(blank + 1), kWhere) &&
            ReadLeadingNumber(rest.substr(0, blank), n)) {
            if (n >= 0 && n <= 9) CopyWhere(TString(rest.substr(blank + sizeof kWhere)), formatUsed, n);
            return;
        }
        if (ReadLeadingNumber(rest, n) && n >= 0 && n <= 9)
            CopyToBuffer(n);
        else
            Copy();
    });
}

// Buffer -1 is the clipboard: the lines on one thread, each followed by CR
// LF; a buffer is emptied and takes them as its lines, as line tasks when
// multithreading is on.
void TTextEditor::CopyWhere(const TString& conditionText, const TExpression* format, int buffer) {
    TExpression condition;
    if (!CreateExpression(conditionText, condition)) return;
    if (buffer >= 0) {
        buffers[buffer].Clear();
        TCopyLineTask task(lines, selection, condition, format, &buffers[buffer]);
        RunLineTasks(task, true);
        return;
    }
    TStringContainer copied;
    TCopyLineTask task(lines, selection, condition, format, &copied);
    RunOnThisThread(*this, task);
    int64_t size = 0;
    for (int i = 0; i < copied.GetCount(); ++i) size += copied[i].Length() + 2;
    if (!Fits(size)) return;
    std::string text;
    text.reserve(static_cast<size_t>(size));
    for (int i = 0; i < copied.GetCount(); ++i) {
        text += copied[i].str();
        text += "\r\n";
    }
    Copy(text.data(), static_cast<int>(text.size()));
}

// ---- paste ----

void TTextEditor::CmdPaste(TString& argument) {
    WithinMemory([&] {
        int n = 0;
        if (ReadLeadingNumber(argument.str(), n) && n >= 0 && n <= 9) {
            PasteFromBuffer(n);
            return;
        }
        const TStringContainer words = Words(argument);
        bool append = false, align = false;
        TString separator;
        for (int i = 0; i < words.GetCount(); ++i) {
            if (IsPrefixOf(words[i], "append")) {
                append = true;
            } else if (IsPrefixOf(words[i], "align")) {
                align = true;
            } else {
                TString word = words[i];
                separator += word.Trim('"');
            }
        }
        if (append)
            PasteAppend(separator, align);
        else
            Paste();
    });
}

// The clipboard's lines go behind the lines from the start line on (the
// block's first line, else the caret's), one each, a block taking no more
// than it has lines; lines past the end of the text are added. Only the
// lines that existed are saved for undo, which removes the added ones.
void TTextEditor::PasteAppend(const TString& separator, bool align) {
    if (ReadOnly) return;
    TStringContainer clip;
    GetClipboardLines(clip);
    int blockFirst = 0, blockEnd = 0;
    const bool block = BlockLines(*this, blockFirst, blockEnd);
    const int start = block ? blockFirst : CurLine;
    const int lineCount = lines.GetCount();
    if (clip.GetCount() == 0 || start < 0 || start > lineCount) return;
    const int count = block ? std::min(clip.GetCount(), blockEnd - blockFirst) : clip.GetCount();
    const int existing = std::min(count, lineCount - start);
    if (!Fits(int64_t(start) + count)) return;
    int width = 0;
    if (align)
        for (int k = 0; k < existing; ++k) width = std::max(width, lines[start + k].Length());
    int64_t added = 0;
    for (int k = 0; k < count; ++k) {
        const int64_t before = k < existing ? std::max(lines[start + k].Length(), width) : width;
        const int64_t grown = before + separator.Length() + clip[k].Length();
        added += grown - (k < existing ? lines[start + k].Length() : 0);
        if (!Fits(grown) || !Fits(added)) return;
    }
    TStringContainer changed, appended;
    for (int k = 0; k < count; ++k) {
        TString text = k < existing ? lines[start + k] : TString();
        if (align) text.ExtendRight(width);
        text += separator;
        ExpandTabs(clip[k], text.Length());
        text += clip[k];
        (k < existing ? changed : appended).Add(text);
    }
    const POINT caret{CurCol, CurLine};
    RecordUndo(*this, [&] { AddUndoItem(utPaste, start, start + count - 1, caret, start, start + existing - 1); });
    InsertTaking(lineCount, appended);
    for (int k = 0; k < existing; ++k) std::swap(lines[start + k], changed[k]);
    WidenTo(*this, start, start + count - 1);
    TextChanged(*this);
}

// ---- select ----

namespace {

// The caret line's paragraph, [first, end): the non-empty lines around it;
// an empty caret line is a paragraph of its own.
void CaretParagraph(const TTextEditor& editor, int64_t& first, int64_t& end) {
    const TStringContainer& lines = editor.lines;
    const int line = editor.GetCurLine();
    first = line;
    end = int64_t(line) + 1;
    if (line < 0 || line >= lines.GetCount() || lines[line].IsEmpty()) return;
    while (first > 0 && !lines[static_cast<int>(first - 1)].IsEmpty()) --first;
    while (end < lines.GetCount() && !lines[static_cast<int>(end)].IsEmpty()) ++end;
}

}  // namespace

void TTextEditor::CmdSelect(TString& argument) {
    WithinMemory([&] {
        TStringContainer words = Words(argument);
        if (words.GetCount() == 0) return;
        const bool whileMode = StartsWith(argument.str(), "while ");
        const bool untilMode = StartsWith(argument.str(), "until ");
        std::string text = argument.str();
        const bool secondPart = IsPrefixOf(words[0], "2nd ") || IsPrefixOf(words[0], "second ");
        if (secondPart) {
            const size_t blank = text.find(' ');
            text = blank == std::string::npos ? std::string() : text.substr(blank + 1);
            words.Delete(0);
        }
        int64_t first = selection.selStartLine, end = selection.selEndLine;
        int n = 0, m = 0;
        if (IsPrefixOf(TString(text), "paragraph")) {
            CaretParagraph(*this, first, end);
        } else if (words.GetCount() == 1 && NumberAt(words, 0, n)) {
            if (secondPart && n <= 0) return;
            selection.selStartCol = selection.selEndCol = CurCol;
            if (secondPart) {
                selMark = selection.selEndLine;
                end = std::min<int64_t>(int64_t(end) + n, lines.GetCount());
            } else {
                first = n > 0 ? CurLine : int64_t(CurLine) + n;
                end = n > 0 ? int64_t(CurLine) + n : CurLine;
            }
        } else if (words.GetCount() == 2 && NumberAt(words, 0, n) && NumberAt(words, 1, m)) {
            // A word with a '-' counts the lines before the caret line, one
            // with a '+' or a digit those after it.
            int64_t before = 0, after = 0;
            for (int i = 0; i < 2; ++i) {
                const int64_t value = i == 0 ? n : m;
                if (words[i][0] == '-')
                    before = -value;
                else
                    after = value;
            }
            selection.selStartCol = selection.selEndCol = CurCol;
            first = CurLine - before;
            end = CurLine + after;
        } else if (whileMode || untilMode) {
            if (!SelectWhile(TString(argument.str().substr(6)), whileMode, end)) return;
            first = CurLine;
        } else {
            return;
        }
        if (!secondPart) selMark = -1;
        selection.selStartLine = static_cast<int>(std::max<int64_t>(first, 0));
        selection.selEndLine = static_cast<int>(std::min<int64_t>(end, lines.GetCount()));
        RefreshLines(-1);
        SelectionChanged();
    });
}

// From the caret line on, the lines for which the condition holds (whileTrue)
// or does not; end gets the first line that stops the run. False, nothing
// changed, when the condition does not compile.
bool TTextEditor::SelectWhile(const TString& conditionText, bool whileTrue, int64_t& end) {
    TExpression condition;
    if (!condition.SetSource(conditionText, &runtimeVars)) return false;
    selection.selStartLine = selection.selEndLine = CurLine;
    runtimeVars.ClearRecentLines();
    int line = std::max(CurLine, 0);
    for (; line < lines.GetCount(); ++line) {
        NewLine(line);
        if (condition.EvalBool() != whileTrue) break;
    }
    end = line;
    return true;
}

// ---- repeat ----

void TTextEditor::CmdRepeat(TString& argument) {
    WithinMemory([&] {
        const TStringContainer words = Words(argument);
        if (words.GetCount() == 1) {
            int n = 1;
            ReadLeadingNumber(words[0].str(), n);
            if (n >= 1) RepeatSelection(n);
            return;
        }
        RepeatPairs(words);
    });
}

// The block's lines, or the in-line selection's characters, repeated n more
// times right after it, as one undo step; the selection then ends, and the
// caret stands, behind the last copy.
void TTextEditor::RepeatSelection(int n) {
    int first = 0, end = 0;
    if (BlockLines(*this, first, end)) {
        const int size = end - first;
        int64_t characters = 0;
        for (int i = first; i < end; ++i) characters += lines[i].Length();
        const int64_t added = int64_t(n) * size;
        if (!Fits(lines.GetCount() + added) || !Fits(characters * n)) return;
        TStringContainer copies;
        for (int copy = 0; copy < n; ++copy)
            for (int i = first; i < end; ++i) copies.Add(lines[i]);
        InsertTaking(end, copies);
        const int last = static_cast<int>(end - 1 + added);
        RecordUndo(*this, [&] { AddUndoItem(utTyping, first, last, Caret(*this), first, end - 1); });
        RefreshMarkers(end, static_cast<int>(added));
        selection.selStartLine = first;
        selection.selEndLine = last + 1;
        SetCursorPosY(static_cast<int>(std::clamp<int64_t>(int64_t(CurLine) + added, 0, lines.GetCount() - 1)));
        SetCaretPos(CurCol, CurLine);
        TextChanged(*this);
        SelectionChanged();
        return;
    }
    TTextEditorSelection& s = selection;
    if (s.selStartCol == s.selEndCol || s.selLine < 0 || s.selLine >= lines.GetCount()) return;
    TString& text = lines[s.selLine];
    const int start = std::clamp(std::min(s.selStartCol, s.selEndCol), 0, text.Length());
    const int stop = std::clamp(std::max(s.selStartCol, s.selEndCol), start, text.Length());
    const TString piece = text.Substring(start, stop - 1);
    const int64_t added = int64_t(piece.Length()) * n;
    if (piece.IsEmpty() || !Fits(text.Length() + added)) return;
    const TString copies = piece * n;
    AddUndoItem(utTyping, s.selLine, Caret(*this), text);
    text.Insert(stop, copies);
    s.selStartCol = start;
    s.selEndCol = static_cast<int>(stop + added);
    SetCursorPosX(s.selEndCol);
    SetHMax(text);
    RepaintLine(s.selLine);
    SetCaretPos(CurCol, CurLine);
    SetModified(true);
    SelectionChanged();
}

// Pairs of a text and its count ("a 2 b 3": "aabbb") inserted at the caret,
// the caret behind them; no undo step. A word left without its count, or a
// count that is no number or negative, leaves the line alone.
void TTextEditor::RepeatPairs(const TStringContainer& words) {
    if (words.GetCount() % 2 != 0 || !CaretLineInText() || CurCol < 0) return;
    int64_t length = 0;
    std::vector<int> counts;
    for (int i = 0; i < words.GetCount(); i += 2) {
        int count = 0;
        if (!ReadLeadingNumber(words[i + 1].str(), count) || count < 0) return;
        counts.push_back(count);
        length += int64_t(words[i].Length()) * count;
        if (!Fits(length)) return;
    }
    TString& line = lines[CurLine];
    if (length == 0 || !Fits(std::max(line.Length(), CurCol) + length)) return;
    TString joined;
    joined.Reserve(static_cast<int>(length));
    for (int i = 0; i < words.GetCount(); i += 2) joined += words[i] * counts[static_cast<size_t>(i / 2)];
    line.ExtendRight(CurCol);
    line.Insert(CurCol, joined);
    SetCursorPosX(static_cast<int>(CurCol + length));
    SetHMax(line);
    RepaintLine(CurLine);
    SetCaretPos(CurCol, CurLine);
    SetModified(true);
}

// ---- section ----

namespace {

// A stored section that names lines of the text: not empty (-1, -1), not
// turned round, not past the text's end (after a text swap, say).
bool IsUsableSection(const TTextEditor& editor, int index) {
    if (index < 0 || index >= editor.sections.GetCount()) return false;
    const TIntPair& section = editor.sections[index];
    return section.first >= 0 && section.first <= section.second && section.second < editor.lines.GetCount();
}

void RepaintSection(TTextEditor& editor, const TIntPair& section) {
    for (int line = std::max(section.first, 0); line <= section.second; ++line) {
        if (line >= editor.lines.GetCount()) break;
        editor.RepaintLine(line);
    }
}

}  // namespace

void TTextEditor::CmdSection(TString& argument) {
    WithinMemory([&] {
        const TStringContainer words = Words(argument);
        if (words.GetCount() == 0) return;
        int n = 0;
        const bool numbered = NumberAt(words, 1, n);
        if (IsPrefixOf(words[0], "delete")) {
            if (numbered && n >= 0 && n < sections.GetCount()) {
                sections.Delete(n);
                Invalidate();
                return;
            }
            for (int i = 0; i < sections.GetCount(); ++i) {
                TIntPair& section = sections[i];
                if (section.first <= CurLine && CurLine <= section.second) {
                    const TIntPair was = section;
                    section = TIntPair{-1, -1};
                    RepaintSection(*this, was);
                }
            }
            return;
        }
        if (words[0].str() == "go" || words[0].str() == "select") {
            if (!numbered || !IsUsableSection(*this, n)) return;
            const TIntPair section = sections[n];
            if (words[0].str() == "select") {
                selection.selStartCol = selection.selEndCol = 0;
                selection.selStartLine = section.first;
                selection.selEndLine = section.second + 1;
                selMark = -1;
            }
            SetCursorPosX(0);
            SetCursorPosY(section.first);
            SetCaretPos(CurCol, CurLine);
            if (words[0].str() == "select") {
                Invalidate();
                SelectionChanged();
            }
            return;
        }
        if (ReadLeadingNumber(argument.str(), n)) RegisterSection(n);
    });
}

// The line block becomes section n; sections between the last one and n are
// empty. Nothing without a block or for n outside 0 to 9,999; a section that
// shares a line with the block refuses it with a box.
void TTextEditor::RegisterSection(int n) {
    int first = 0, end = 0;
    if (n < 0 || n > kLastSectionNumber || !BlockLines(*this, first, end)) return;
    for (int i = 0; i < sections.GetCount(); ++i)
        if (sections[i].second >= first && sections[i].first <= end - 1) {
            const std::string text = TextEditorText(100464, "Overlapped sections are not allowed");
            const std::string caption = TextEditorText(100465, "Select section");
            MessageBoxA(HandleAllocated() ? GetHandle() : nullptr, text.c_str(), caption.c_str(), MB_OK | MB_ICONERROR);
            return;
        }
    while (sections.GetCount() <= n) sections.Add(TIntPair{-1, -1});
    sections[n] = TIntPair{first, end - 1};
    Invalidate();
}

// ---- exchange ----

void TTextEditor::CmdExchange(TString& argument) {
    WithinMemory([&] {
        const TStringContainer words = Words(argument);
        if (words.GetCount() == 3 && IsPrefixOf(words[0], "sections")) {
            int a = 0, b = 0;
            if (NumberAt(words, 1, a) && NumberAt(words, 2, b)) ExchangeSections(a, b);
        } else if (words.GetCount() >= 2 && IsPrefixOf(words[0], "lines")) {
            ExchangeLines(words);
        }
    });
}

// The two sections' lines change places; the sections follow their lines,
// and those between them move by the difference of the lengths. Both must
// name lines of the text and not share one. No undo step: the stack is
// emptied, since the lines after the first section moved.
void TTextEditor::ExchangeSections(int a, int b) {
    if (a == b || !IsUsableSection(*this, a) || !IsUsableSection(*this, b)) return;
    const int low = sections[a].first < sections[b].first ? a : b;
    const int high = low == a ? b : a;
    const TIntPair lower = sections[low], upper = sections[high];
    if (lower.second >= upper.first) return;
    lines.Exchange(lower.first, lower.second, upper.first, upper.second);
    const int lowerLength = lower.second - lower.first + 1;
    const int upperLength = upper.second - upper.first + 1;
    for (int i = 0; i < sections.GetCount(); ++i) {
        TIntPair& section = sections[i];
        if (section.first > lower.second && section.second < upper.first && section.first >= 0) {
            section.first += upperLength - lowerLength;
            section.second += upperLength - lowerLength;
        }
    }
    sections[high] = TIntPair{lower.first, lower.first + upperLength - 1};
    sections[low] = TIntPair{upper.second - lowerLength + 1, upper.second};
    ClearUndo();
    Invalidate();
    SetModified(true);
}

// "lines" and two lines (exchanged) or four (the range of the first two with
// that of the last two), each a line number, "prev" or "next" (the lines
// around the caret), brought inside the text; one undo step over the lines
// from the lowest to the highest. Ranges turned round or sharing a line, and
// any other number of lines, change nothing.
void TTextEditor::ExchangeLines(const TStringContainer& words) {
    const int count = lines.GetCount();
    if (count == 0) return;
    std::vector<int> named;
    for (int i = 1; i < words.GetCount(); ++i) {
        int line = 0;
        if (IsPrefixOf(words[i], "prev"))
            line = CurLine - 1;
        else if (IsPrefixOf(words[i], "next"))
            line = CurLine + 1;
        else if (!ReadLeadingNumber(words[i].str(), line))
            continue;
        named.push_back(std::clamp(line, 0, count - 1));
    }
    if (named.size() != 2 && named.size() != 4) return;
    if (named.size() == 4 && (named[0] > named[1] || named[2] > named[3] ||
                              std::max(named[0], named[2]) <= std::min(named[1], named[3])))
        return;
    if (named.size() == 2 && named[0] == named[1]) return;
    const int lowest = *std::min_element(named.begin(), named.end());
    const int highest = *std::max_element(named.begin(), named.end());
    AddUndoItem(utExchange, lowest, highest);
    if (named.size() == 2)
        lines.Exchange(named[0], named[1]);
    else
        lines.Exchange(named[0], named[1], named[2], named[3]);
    RefreshLines(-1);
    SetModified(true);
}

// ---- numbers ----

void TTextEditor::CmdNumbers(TString& argument) {
    if (argument.str() == "on" || argument.str() == "off") SetShowLineNumbers(argument.str() == "on");
}

// ---- insert ----

namespace {

// The text of n copies of c; n at least 0.
TString Repeated(int n, char c) { return TString(std::string(static_cast<size_t>(std::max(n, 0)), c)); }

bool IsBar(char c) { return c == '|'; }

}  // namespace

void TTextEditor::CmdInsert(TString& argument) {
    WithinMemory([&] {
        TStringContainer words = Words(argument);
        if (words.GetCount() == 0) return;
        const TString& word = words[0];
        if (IsOneOf(word, "hl", "hline")) {
            InsertHorizontalLine();
        } else if (IsOneOf(word, "vl", "vline")) {
            InsertVerticalLine(words);
        } else if (word.str() == "rect") {
            int width = 0, height = 0;
            if (NumberAt(words, 1, width) && NumberOr(words, 2, width, height)) InsertRectangle(width, height);
        } else if (IsOneOf(word, "hs", "hspace")) {
            InsertTableSpace();
        } else if (IsOneOf(word, "vs", "vspace")) {
            InsertTableRow();
        } else if (words.GetCount() >= 2 && IsPrefixOf(word, "line") && IsPrefixOf(words[1], "number")) {
            InsertLineNumbers(words);
        } else if (IsPrefixOf(word, "lines")) {
            int count = 0, length = 0;
            if (NumberAt(words, 1, count) && NumberOr(words, 2, 0, length))
                InsertLinesOfCharacter(count, length, words.GetCount() > 3 ? words[3][0] : ' ');
        }
    });
}

// Inside a cell (a '|' on both sides of the caret column) the caret line
// becomes a cell border; else a line of MarginPos dashes goes in at the caret
// line. One undo step either way.
void TTextEditor::InsertHorizontalLine() {
    const int count = lines.GetCount();
    if (CurLine < 0 || CurLine > count) return;
    if (CurLine < count) {
        TString& text = lines[CurLine];
        int left = std::min(CurCol, text.Length()) - 1;
        while (left >= 0 && !IsBar(text[left])) --left;
        const int right = CurCol >= 0 ? text.Pos('|', CurCol) : -1;
        if (left >= 0 && right > left) {
            const TString border = text.Left(left) + TString("+") + Repeated(right - left - 1, '-') + TString("+") +
                                   text.Substring(right + 1, text.Length() - 1);
            AddUndoItem(utInsertLines, CurLine, Caret(*this), text);
            text = border;
            RepaintLine(CurLine);
            SetModified(true);
            return;
        }
    }
    if (!Fits(int64_t(count) + 1)) return;
    Insert(CurLine, Repeated(MarginPos, '-'));
    RecordUndo(*this, [&] { AddUndoItem(utInsert, CurLine, CurLine, Caret(*this), 0, -1); });
    RefreshMarkers(CurLine, 1);
    SetHMax(lines[CurLine]);
    TextChanged(*this);
}

namespace {

char CharAt(const TStringContainer& lines, int line, int column) {
    return line >= 0 && line < lines.GetCount() ? lines[line][column] : '\0';
}

// Overwrites the character at column, padding the line with blanks first.
void PutAt(TString& line, int column, char c) {
    line.ExtendRight(column + 1);
    line.SetChar(column, c);
}

// The nearest line from `from` going by step within [stop, from] or [from,
// stop] that holds `wanted` at column (or, with wanted 0, any character
// but a blank); -1 when none.
int NearestLineWith(const TStringContainer& lines, int from, int step, int stop, int column, char wanted) {
    for (int line = from; step < 0 ? line >= stop : line <= stop; line += step) {
        const char c = CharAt(lines, line, column);
        if (wanted != '\0' ? c == wanted : c != '\0' && c != ' ') return line;
    }
    return -1;
}

}  // namespace

// "vl" [shift] ["nj"]: a vertical line at the caret column (moved right by
// shift). Inside a table it runs between the border lines above and below
// (the table's own top or bottom line where one is missing), joined to them
// with '+'; with neither, a '|' (or '+' beside a '-') goes into every line
// of the working range, the rest shifting right. Outside a table it runs
// between the nearest lines above and below that are not blank there. One
// undo step.
void TTextEditor::InsertVerticalLine(const TStringContainer& words) {
    int shift = 0;
    NumberAt(words, 1, shift);
    bool join = true;
    for (int i = 1; i < words.GetCount(); ++i)
        if (IsOneOf(words[i], "nj", "nojoin")) join = false;
    const int64_t column = int64_t(CurCol) + shift;
    if (!CaretLineInText() || column < 0 || column >= kMostCount) return;
    const int col = static_cast<int>(column);
    RECT table{};
    if (GetTableRect(table)) {
        int upper = NearestLineWith(lines, CurLine - 1, -1, table.top, col, '-');
        int lower = NearestLineWith(lines, CurLine + 1, +1, table.bottom, col, '-');
        if (upper < 0 && lower < 0) {
            InsertBarIntoRange(col, join);
            return;
        }
        if (upper < 0) upper = table.top;
        if (lower < 0) lower = table.bottom;
        AddUndoItem(utInsert, upper, lower);
        PutAt(lines[upper], col, '+');
        for (int line = upper + 1; line < lower; ++line) PutAt(lines[line], col, '|');
        PutAt(lines[lower], col, '+');
        WidenTo(*this, upper, lower);
    } else {
        const int upper = NearestLineWith(lines, CurLine - 1, -1, 0, col, '\0');
        int lower = NearestLineWith(lines, CurLine + 1, +1, lines.GetCount() - 1, col, '\0');
        if (lower < 0) lower = lines.GetCount();
        AddUndoItem(utInsert, upper + 1, lower - 1);
        for (int line = upper + 1; line < lower; ++line) PutAt(lines[line], col, '|');
        WidenTo(*this, upper + 1, lower - 1);
    }
    RefreshLines(-1);
    SetModified(true);
}

// Every line of the working range, padded with blanks to col, gets a '|'
// inserted there, or with join a '+' where a '-' stands at col or just left.
void TTextEditor::InsertBarIntoRange(int col, bool join) {
    int first = 0, last = 0;
    if (!WorkingLines(*this, first, last)) return;
    int64_t added = 0;
    for (int line = first; line <= last; ++line) {
        const int64_t grown = int64_t(std::max(lines[line].Length(), col)) + 1;
        added += grown - lines[line].Length();
        if (!Fits(grown) || !Fits(added)) return;
    }
    AddUndoItem(utInsert, first, last);
    for (int line = first; line <= last; ++line) {
        TString& text = lines[line];
        const bool joins = join && (text[col] == '-' || (col > 0 && text[col - 1] == '-'));
        text.ExtendRight(col);
        text.Insert(col, TString(joins ? '+' : '|'));
    }
    WidenTo(*this, first, last);
    RefreshLines(-1);
    SetModified(true);
}

// h lines of a w-wide box of '+', '-' and '|' at the caret line, indented to
// the caret column; both at least 3. One undo step.
void TTextEditor::InsertRectangle(int width, int height) {
    if (width < 3 || height < 3 || CurCol < 0 || CurLine < 0 || CurLine > lines.GetCount()) return;
    const int64_t length = int64_t(CurCol) + width;
    if (!Fits(length) || !Fits(length * height) || !Fits(int64_t(lines.GetCount()) + height)) return;
    const TString indent = Repeated(CurCol, ' ');
    const TString border = indent + TString("+") + Repeated(width - 2, '-') + TString("+");
    const TString row = indent + TString("|") + Repeated(width - 2, ' ') + TString("|");
    TStringContainer box;
    for (int i = 0; i < height; ++i) box.Add(i == 0 || i == height - 1 ? border : row);
    InsertTaking(CurLine, box);
    RecordUndo(*this, [&] { AddUndoItem(utInsert, CurLine, CurLine + height - 1, Caret(*this), 0, -1); });
    RefreshMarkers(CurLine, height);
    SetHMax(border);
    TextChanged(*this);
}

// Inside a table, every cell column at the caret column grows by one: a '-'
// goes in on a border line, a blank before the next '|' on the others.
void TTextEditor::InsertTableSpace() {
    RECT table{};
    if (!GetTableRect(table) || CurCol <= table.left || CurCol > table.right) return;
    for (int line = table.top; line <= table.bottom; ++line)
        if (!Fits(int64_t(lines[line].Length()) + 1)) return;
    for (int line = table.top; line <= table.bottom; ++line) {
        TString& text = lines[line];
        const char at = text[CurCol];
        if (at == '-' || at == '+')
            text.Insert(CurCol, TString('-'));
        else if (at == '|')
            text.Insert(CurCol, TString(' '));
        else if (const int bar = text.Pos('|', CurCol); bar >= 0)
            text.Insert(bar, TString(' '));
    }
    WidenTo(*this, table.top, table.bottom);
    RefreshLines(-1);
    SetModified(true);
}

// Inside a table and below its top line: a row of blanks as long as the
// line above goes in at the caret line, with a '|' under each '|' of the
// line above and under each '+' that stands over a '|' of the caret line.
// No undo step: the stack is emptied, since the lines below moved.
void TTextEditor::InsertTableRow() {
    RECT table{};
    if (!GetTableRect(table) || CurLine <= table.top || !Fits(int64_t(lines.GetCount()) + 1)) return;
    const TString& above = lines[CurLine - 1];
    const TString& below = lines[CurLine];
    TString row = Repeated(above.Length(), ' ');
    for (int i = 0; i < above.Length(); ++i)
        if (above[i] == '|' || (above[i] == '+' && below[i] == '|')) row.SetChar(i, '|');
    Insert(CurLine, row);
    ClearUndo();
    RefreshMarkers(CurLine, 1);
    TextChanged(*this);
}

// "line number" ["at" begin | end | column] ["gap" n].
// A column or a gap that is no number or negative, or a missing one, does nothing.
void TTextEditor::InsertLineNumbers(TStringContainer& words) {
    int position = 0, gap = 0;
    if (words.GetCount() > 2 && IsOneOf(words[2], "at", "@")) {
        if (words.GetCount() < 4) return;
        if (IsPrefixOf(words[3], "begin"))
            position = -1;
        else if (IsPrefixOf(words[3], "end"))
            position = -2;
        else if (!ReadLeadingNumber(words[3].str(), position) || position < 0)
            return;
        words.DeleteSection(2, 3);
    }
    if (words.GetCount() > 2 && words[2].str() == "gap" && (!NumberAt(words, 3, gap) || gap < 0)) return;
    InsertLineNumber(position, gap);
}

// n lines of `length` copies of c at the caret line. No undo step: the stack
// is emptied, since the lines below moved.
void TTextEditor::InsertLinesOfCharacter(int count, int length, char c) {
    if (count <= 0 || length < 0 || CurLine < 0 || CurLine > lines.GetCount()) return;
    if (!Fits(int64_t(lines.GetCount()) + count) || !Fits(int64_t(count) * length)) return;
    const TString line = Repeated(length, c);
    TStringContainer made;
    for (int i = 0; i < count; ++i) made.Add(line);
    InsertTaking(CurLine, made);
    ClearUndo();
    RefreshMarkers(CurLine, count);
    SetHMax(line);
    TextChanged(*this);
}

// Each line of the working range gets its number, as wide as the range's
// last number: in front (-1: number, gap), at the end (-2: gap, number) or at
// a column (gap, number, gap; a shorter line padded with blanks first).
void TTextEditor::InsertLineNumber(int position, int gap) {
    WithinMemory([&] {
        int first = 0, last = 0;
        if (position < -2 || gap < 0 || !WorkingLines(*this, first, last)) return;
        const int width = TString(last).Length();
        const int64_t piece = int64_t(width) + int64_t(gap) * (position >= 0 ? 2 : 1);
        int64_t added = 0;
        for (int i = first; i <= last; ++i) {
            const int64_t grown = std::max<int64_t>(lines[i].Length(), position) + piece;
            added += grown - lines[i].Length();
            if (!Fits(grown) || !Fits(added)) return;
        }
        const TString blanks = Repeated(gap, ' ');
        for (int i = first; i <= last; ++i) {
            const TString number(i, width);
            TString& text = lines[i];
            if (position == -1) {
                text.Insert(0, number + blanks);
            } else if (position == -2) {
                text += blanks;
                text += number;
            } else {
                text.ExtendRight(position);
                text.Insert(position, blanks + number + blanks);
            }
        }
        WidenTo(*this, first, last);
        RefreshLines(-1);
        SetModified(true);
    });
}

// ---- append ----

// No undo step, and the text is not marked modified. A line that would grow
// past 2^31 - 1 characters stops the command before any changes; memory
// that runs out midway gives the lines changed so far back their ends.
void TTextEditor::CmdAppend(TString& argument) {
    int first = 0, last = 0;
    if (argument.IsEmpty() || !WorkingLines(*this, first, last)) return;
    const int length = argument.Length();
    if (!Fits(int64_t(last - first + 1) * length)) return;
    void* const* items = static_cast<void* const*>(lines.GetItems());
    for (int i = first; i <= last; ++i) {
        TStringContainer::PrefetchLines(items, i, last + 1);
        if (!Fits(int64_t(static_cast<const TString*>(items[i])->Length()) + length)) return;
    }
    TLineCommandRun running(*this);
    const int count = last - first + 1;
    int done = first;
    try {
        ProgressChange(0, -1);
        for (; done <= last; ++done) {
            // Read afresh for each line: a progress handler may change the text.
            TStringContainer::PrefetchLines(static_cast<void* const*>(lines.GetItems()), done,
                                            std::min(last + 1, lines.GetCount()));
            lines[done] += argument;
            ProgressChange(count, done - first);
        }
    } catch (const std::bad_alloc&) {
        for (int i = first; i < done; ++i) lines[i].Delete(lines[i].Length() - length, lines[i].Length() - 1);
        ProgressChange(0, -2);
        return;
    }
    ProgressChange(0, -2);
    WidenTo(*this, first, last);
    Invalidate();
}

// ---- add ----

void TTextEditor::CmdAdd(TString& argument) {
    WithinMemory([&] {
        const TStringContainer words = Words(argument);
        if (words.GetCount() == 0) return;
        RECT table{};
        const bool inTable = GetTableRect(table);
        int n = 0;
        if (inTable && words[0].str() == "col" && NumberOr(words, 1, 16, n))
            AddTableColumn(table, n);
        else if (inTable && words[0].str() == "line" && NumberOr(words, 1, 4, n))
            AddTableRows(table, n);
        else if (!inTable && words[0].str() == "frame" && NumberOr(words, 1, 0, n))
            AddFrame(n);
    });
}

// A column `width` wide joins the table on its right: '-' and a '+' on its
// border lines (inner ones too), blanks and a '|' on the others.
void TTextEditor::AddTableColumn(const RECT& table, int width) {
    if (width < 0) return;
    RECT columns = table;
    int64_t added = 0;
    for (int line = table.top; line <= table.bottom; ++line) {
        added += int64_t(width) + 1;
        if (!Fits(int64_t(lines[line].Length()) + width + 1) || !Fits(added)) return;
    }
    TStringContainer made;
    for (int line = table.top; line <= table.bottom; ++line) {
        const bool border = CheckTableLine(columns, lines[line]) == 2;
        TString text = lines[line];
        text.Insert(table.right + 1, border ? Repeated(width, '-') + TString("+") : Repeated(width, ' ') + TString("|"));
        made.Add(text);
    }
    for (int line = table.top; line <= table.bottom; ++line) std::swap(lines[line], made[line - table.top]);
    WidenTo(*this, table.top, table.bottom);
    RefreshLines(-1);
    SetModified(true);
}

// `rows` rows as wide as the table and a closing border go in below it. No
// undo step: the stack is emptied, since the lines below moved.
void TTextEditor::AddTableRows(const RECT& table, int rows) {
    const int width = table.right - table.left + 1;
    const int64_t length = int64_t(table.right) + 1;
    if (rows < 0 || width < 2 || !Fits(int64_t(lines.GetCount()) + rows + 1) || !Fits(length * (rows + 1))) return;
    const TString indent = Repeated(table.left, ' ');
    TStringContainer made;
    for (int i = 0; i < rows; ++i) made.Add(indent + TString("|") + Repeated(width - 2, ' ') + TString("|"));
    made.Add(indent + TString("+") + Repeated(width - 2, '-') + TString("+"));
    const int at = table.bottom + 1;
    InsertTaking(at, made);
    ClearUndo();
    RefreshMarkers(at, rows + 1);
    WidenTo(*this, at, at + rows);
    TextChanged(*this);
}

// A frame of '+', '-' and '|' around the working range with `margin` blank
// rows and columns inside it; a line block grows to take it in. No undo
// step: the stack is emptied, since the lines below moved.
void TTextEditor::AddFrame(int margin) {
    int first = 0, last = 0;
    if (margin < 0 || !WorkingLines(*this, first, last)) return;
    int longest = 0;
    for (int i = first; i <= last; ++i) longest = std::max(longest, lines[i].Length());
    const int64_t inner = int64_t(longest) + 2 * int64_t(margin);
    const int64_t framedLines = int64_t(last - first + 1) + 2 * int64_t(margin) + 2;
    if (!Fits(inner + 2) || !Fits(int64_t(lines.GetCount()) + framedLines - (last - first + 1)) ||
        !Fits((inner + 2) * framedLines))
        return;
    const int width = static_cast<int>(inner);
    const TString border = TString("+") + Repeated(width, '-') + TString("+");
    const TString blankRow = TString("|") + Repeated(width, ' ') + TString("|");
    const TString side = Repeated(margin, ' ');
    TStringContainer top, framed, bottom;
    top.Add(border);
    for (int i = 0; i < margin; ++i) {
        top.Add(blankRow);
        bottom.Add(blankRow);
    }
    bottom.Add(border);
    for (int i = first; i <= last; ++i) {
        TString text = TString("|") + side + lines[i];
        text.ExtendRight(margin + longest + 1);
        framed.Add(text + side + TString("|"));
    }
    InsertTaking(last + 1, bottom);
    InsertTaking(first, top);
    for (int i = first; i <= last; ++i) std::swap(lines[i + margin + 1], framed[i - first]);
    ClearUndo();
    RefreshMarkers(last + 1, margin + 1);
    RefreshMarkers(first, margin + 1);
    if (HasLineBlock(selection)) selection.selEndLine += 2 * margin + 2;
    SetHMax(border);
    TextChanged(*this);
    SelectionChanged();
}

// ---- delete ----

void TTextEditor::CmdDelete(TString& argument) {
    WithinMemory([&] {
        const TStringContainer words = Words(argument);
        const int count = words.GetCount();
        const TString none;
        const TString& first = count > 0 ? words[0] : none;
        const TString& second = count > 1 ? words[1] : none;
        int n = 0;
        if (count == 1 && IsOneOf(first, "hs", "hspace")) {
            DeleteTableSpace();
        } else if (count == 2 && ReadLeadingNumber(first.str(), n) && IsPrefixOf(second, "lines")) {
            DeleteLinesAtCaret(n);
        } else if (count == 2 && ReadLeadingNumber(first.str(), n) && IsPrefixOf(second, "chars")) {
            DeleteCharsAtCaret(n);
        } else if (count == 2 && IsOneOf(first, "head", "tail") && ReadLeadingNumber(second.str(), n)) {
            DeleteLineEnds(first.str() == "head", n);
        } else if ((count == 1 && first.str() == "el") ||
                   (count == 2 && IsPrefixOf(first, "empty") && IsPrefixOf(second, "lines"))) {
            DeleteEmptyLines();
        } else if ((count == 1 && first.str() == "dl") ||
                   (count == 2 && IsPrefixOf(first, "duplicate") && IsPrefixOf(second, "lines"))) {
            DeleteDuplicateLines();
        } else if ((count == 1 && first.str() == "ts") ||
                   (count == 2 && (IsPrefixOf(first, "tail") || IsPrefixOf(first, "trailing")) &&
                    IsPrefixOf(second, "spaces"))) {
            DeleteTailSpaces();
        } else if (StartsWith(argument.str(), kWhere)) {
            SeekAndDestroy(TString(argument.str().substr(sizeof kWhere - 1)));
        }
    });
}

// Inside a table, the cell column at the caret column shrinks by one: the
// '-' there goes from each border line, the blank before the next '|' or
// '+' from each other line. When a line has no such '-' or blank (a full
// cell, the caret on a join), nothing is deleted anywhere.
void TTextEditor::DeleteTableSpace() {
    RECT table{};
    if (!GetTableRect(table) || CurCol <= table.left || CurCol > table.right) return;
    std::vector<int> at;
    for (int line = table.top; line <= table.bottom; ++line) {
        const TString& text = lines[line];
        if (CheckTableLine(table, lines[line]) == 2) {
            if (text[CurCol] != '-') return;
            at.push_back(CurCol);
            continue;
        }
        int bar = CurCol;
        while (bar < text.Length() && text[bar] != '|' && text[bar] != '+') ++bar;
        if (bar >= text.Length() || text[bar - 1] != ' ') return;
        at.push_back(bar - 1);
    }
    for (int line = table.top; line <= table.bottom; ++line) {
        const int column = at[static_cast<size_t>(line - table.top)];
        lines[line].Delete(column, column);
    }
    RefreshLines(-1);
    SetModified(true);
}

// n lines from the caret line on, not past the last line. No undo step: the
// stack is emptied, since the lines below moved.
void TTextEditor::DeleteLinesAtCaret(int n) {
    if (n <= 0 || !CaretLineInText()) return;
    const int last = static_cast<int>(std::min<int64_t>(int64_t(CurLine) + n - 1, lines.GetCount() - 1));
    std::vector<int> doomed;
    doomed.reserve(static_cast<size_t>(last - CurLine + 1));
    for (int line = CurLine; line <= last; ++line) doomed.push_back(line);
    ClearUndo();
    RemoveLines(doomed);
}

// n characters at the caret; none when the caret stands past the line's end.
void TTextEditor::DeleteCharsAtCaret(int n) {
    if (n <= 0 || !CaretLineInText() || CurCol < 0 || CurCol >= lines[CurLine].Length()) return;
    TString& text = lines[CurLine];
    text.Delete(CurCol, static_cast<int>(std::min<int64_t>(int64_t(CurCol) + n - 1, text.Length() - 1)));
    RepaintLine(CurLine);
    SetModified(true);
}

// The first (head) or last n characters of every line of the working range;
// a shorter line is emptied.
void TTextEditor::DeleteLineEnds(bool head, int n) {
    int first = 0, last = 0;
    if (n < 0 || !WorkingLines(*this, first, last)) return;
    TLineCommandRun running(*this);
    const int count = last - first + 1;
    ProgressChange(0, -1);
    for (int i = first; i <= last; ++i) {
        TString& text = lines[i];
        if (head)
            text.Delete(0, n - 1);
        else
            text.Delete(text.Length() - n, text.Length() - 1);
        ProgressChange(count, i - first);
    }
    ProgressChange(0, -2);
    RefreshLines(-1);
    SetModified(true);
}

// ---- Removing lines ----

namespace {

// How many of the ascending lines lie below `line`.
int CountBelow(const std::vector<int>& removed, int line) {
    return static_cast<int>(std::lower_bound(removed.begin(), removed.end(), line) - removed.begin());
}

// A section after the ascending lines went, as the line primitive's Delete
// leaves it line by line: the lines before it move it up, its own lines
// shorten it, and one that loses every line becomes (-1, -1).
void FitSection(TIntPair& section, const std::vector<int>& removed) {
    if (section.first == -1 && section.second == -1) return;
    const int below = CountBelow(removed, section.first);
    const int inside = CountBelow(removed, section.second + 1) - below;
    if (section.first <= section.second && inside == section.second - section.first + 1) {
        section = TIntPair{-1, -1};
        return;
    }
    section.first -= below;
    section.second -= below + inside;
}

}  // namespace

void TTextEditor::DeleteLines(TIntContainer& lineIndices) {
    const int count = lines.GetCount();
    std::vector<int> removed;
    removed.reserve(static_cast<size_t>(lineIndices.GetCount()));
    const int* listed = lineIndices.Array();
    for (int i = 0; i < lineIndices.GetCount(); ++i)
        if (listed[i] >= 0 && listed[i] < count) removed.push_back(listed[i]);
    std::sort(removed.begin(), removed.end());
    removed.erase(std::unique(removed.begin(), removed.end()), removed.end());
    RemoveLines(removed);
}

// The lines go in one pass: the kept ones move to the front in text order
// and the rest is cut off. Sections, bookmarks (those on removed lines
// become unset) and the selection follow their lines.
void TTextEditor::RemoveLines(const std::vector<int>& removed) {
    if (removed.empty()) return;
    const int count = lines.GetCount();
    // The kept lines move to the front in text order, the removed ones
    // collect behind them and are cut off: the store's array of line
    // pointers is permuted in place (as Rearrange would, without its copies),
    // from the first removed line on.
    void** items = static_cast<void**>(lines.GetItems());
    std::vector<void*> doomed;
    doomed.reserve(removed.size());
    int kept = removed.front();
    size_t next = 0;
    for (int line = kept; line < count; ++line) {
        if (next < removed.size() && removed[next] == line) {
            doomed.push_back(items[line]);
            ++next;
        } else {
            items[kept++] = items[line];
        }
    }
    // Not freed but kept for the next load, which fills them again: freeing
    // a million lines costs far more than the command itself.
    std::copy(doomed.begin(), doomed.end(), items + kept);
    lines.RecycleSection(kept, count - 1);

    TIntPair* pairs = sections.Array();
    for (int i = 0; i < sections.GetCount(); ++i) FitSection(pairs[i], removed);
    for (int i = 0; i < markers.GetCount(); ++i) {
        int& line = markers[i].line;
        if (line < 0) continue;
        line = std::binary_search(removed.begin(), removed.end(), line) ? -1 : line - CountBelow(removed, line);
    }
    TTextEditorSelection& s = selection;
    s.selStartLine -= CountBelow(removed, s.selStartLine);
    s.selEndLine -= CountBelow(removed, s.selEndLine);
    if (std::binary_search(removed.begin(), removed.end(), s.selLine)) {
        s.selLine = std::min(s.selLine - CountBelow(removed, s.selLine), std::max(kept - 1, 0));
        s.selStartCol = s.selEndCol = CurCol;
    } else {
        s.selLine -= CountBelow(removed, s.selLine);
    }
    if (CurLine > kept - 1) {
        CurLine = std::max(kept - 1, 0);
        SetCaretPos(CurCol, CurLine);
    }
    TextChanged(*this);
}

// One undo step (utDelete, or utConvert for a condition) over what is left
// of lines first..last with what stood there, then the lines go.
void TTextEditor::RemoveCollectedLines(TTextEditorUndoItemType kind, int first, int last,
                                       const std::vector<int>& collected) {
    if (collected.empty()) return;
    const int removed = static_cast<int>(collected.size());
    RecordUndo(*this, [&] { AddUndoItem(kind, first, last - removed, Caret(*this), first, last); });
    RemoveLines(collected);
}

namespace {

// The text's lines side by side (valid until lines go in or out).
TString* const* LineItems(const TStringContainer& lines) { return static_cast<TString* const*>(lines.GetItems()); }

}  // namespace

void TTextEditor::DeleteEmptyLines() {
    WithinMemory([&] {
        int first = 0, last = 0;
        if (!WorkingLines(*this, first, last)) return;
        TString* const* text = LineItems(lines);
        std::vector<int> empty;
        for (int line = first; line <= last; ++line)
            if (text[line]->IsEmpty()) empty.push_back(line);
        RemoveCollectedLines(utDelete, first, last, empty);
    });
}

// Only runs of equal adjacent lines shrink, each to its first line.
void TTextEditor::DeleteDuplicateLines() {
    WithinMemory([&] {
        int first = 0, last = 0;
        if (!WorkingLines(*this, first, last)) return;
        TString* const* text = LineItems(lines);
        std::vector<int> repeated;
        int distinct = first;
        for (int line = first + 1; line <= last; ++line) {
            if (*text[line] == *text[distinct])
                repeated.push_back(line);
            else
                distinct = line;
        }
        RemoveCollectedLines(utDelete, first, last, repeated);
    });
}

// The lines of the working range for which the condition holds, collected
// first (with progress), then removed as one undo step.
void TTextEditor::SeekAndDestroy(const TString& conditionText) {
    WithinMemory([&] {
        TExpression condition;
        if (!CreateExpression(conditionText, condition)) return;
        int first = 0, last = 0;
        if (!WorkingLines(*this, first, last)) return;
        std::vector<int> doomed;
        {
            TLineCommandRun running(*this);
            const int count = last - first + 1;
            runtimeVars.ClearRecentLines();
            ProgressChange(0, -1);
            for (int line = first; line <= last; ++line) {
                NewLine(line);
                if (condition.EvalBool()) doomed.push_back(line);
                ProgressChange(count, line - first);
            }
            ProgressChange(0, -2);
        }
        RemoveCollectedLines(utConvert, first, last, doomed);
    });
}

// ---- modify ----

// "expression" or "condition, expression", split at the commas outside
// brackets and quotes; each line of the working range (for which the
// condition holds) becomes the expression's string value, as one undo step,
// on worker threads when multithreading is on.
void TTextEditor::CmdModify(TString& argument) {
    WithinMemory([&] {
        TStringContainer parts;
        argument.GetTokens(',', true, parts);
        if (parts.GetCount() != 1 && parts.GetCount() != 2) return;
        TExpression condition, expression;
        if (parts.GetCount() == 2 && !CreateExpression(parts[0], condition)) return;
        if (!CreateExpression(parts[parts.GetCount() - 1], expression)) return;
        int first = 0, last = 0;
        if (!WorkingLines(*this, first, last)) return;
        RecordUndo(*this, [&] { AddUndoItem(utConvert, first, last); });
        std::unique_ptr<TConvertLineTask> task =
            parts.GetCount() == 2 ? std::make_unique<TConvertLineTask>(lines, selection, condition, expression)
                                  : std::make_unique<TConvertLineTask>(lines, selection, expression);
        const int longest = RunLineTasks(*task, true);
        if (GetHMax() < longest) SetHMax(longest);
        RefreshLines(-1);
        SetModified(true);
    });
}
