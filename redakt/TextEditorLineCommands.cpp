// TTextEditor: the expression loops apply, for and foreach, and the
// remaining line commands: replace (with its task for the worker threads),
// surround, align, swap, shuffle, reverse, ends, the case commands and go.
#include <algorithm>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "TextEditor.h"
#include "TextEditorDispatcher.h"
#include "TextEditorFunctions.h"
#include "TextEditorLineCommandRun.h"
#include "ValueLists.h"
#include "VariableDefinitions.h"
#include "VariableReplacement.h"

namespace {

// A replacement that forms a new occurrence is replaced again, this often at most.
constexpr int kMostReplacePasses = 10;

// The words of a text between runs of blanks.
TStringContainer WordsOf(const TString& text) {
    TStringContainer words;
    text.GetTokens(' ', false, false, words);
    return words;
}

// The items of a text between commas that stand outside brackets and quotes.
TStringContainer ItemsOf(const TString& text) {
    TStringContainer items;
    text.GetTokens(',', true, items);
    return items;
}

// "-v name<type>[=value]", blanks before it allowed: definition gets the
// text after "-v ".
bool IsDefinition(const TString& item, TString& definition) {
    TString text = item;
    text.TrimLeft(' ');
    if (!text.StartsWith(TString("-v "))) return false;
    definition = text.Substring(3, text.Length() - 1);
    return true;
}

// Adds the variable that a "-v" item defines; a definition that does not
// read is a wrong item.
bool Define(TTextEditor& editor, const TString& item, const TString& definition, TVariableList& variables) {
    if (NewVarFromCmdLine(definition, variables)) return true;
    editor.WrongExpression(item);
    return false;
}

// Appends the item, compiled on variables, to list; false (after the
// wrong-expression message) when it does not compile.
bool CompileInto(TTextEditor& editor, const TString& item, TExpressions& list, TVariableList& variables) {
    auto expression = std::make_unique<TExpression>();
    if (!editor.CreateExpression(item, *expression, &variables)) return false;
    list.Add(expression.release());
    return true;
}

// Compiles every item of text into list (no definitions among them).
bool CompileItems(TTextEditor& editor, const TString& text, TExpressions& list, TVariableList& variables) {
    const TStringContainer items = ItemsOf(text);
    for (int i = 0; i < items.GetCount(); ++i)
        if (!CompileInto(editor, items[i], list, variables)) return false;
    return true;
}

void SetInt(TVariable* variable, int64_t value) {
    if (variable != nullptr && variable->type == vtInt) variable->value.i = value;
}

// The text a variable holds: a string's own, any other value as text.
TString TextOf(const TVariable& variable) {
    return variable.type == vtString && variable.value.s != nullptr ? *variable.value.s : variable.AsString(' ');
}

// Writes text over a line unless it is there already; the line keeps its
// own reduce-capacity setting.
void WriteLine(TString& line, const TString& text) {
    if (line != text) line = text.str();
}

// Evaluates every expression of the list but the last, then shows the
// last one's value in the apply result dialog; nothing for an empty list.
void ShowFinalValue(TTextEditor& editor, TExpressions& list) {
    const int count = list.GetCount();
    if (count == 0) return;
    for (int i = 0; i < count - 1; ++i) list[i].Eval();
    editor.ShowApplyResult(list[count - 1].EvalS());
}

// The lines and the longest of them that foreach makes of a caret line
// (padded to the caret column) and its values; the value of name is
// substituted into text for each.
int ForEachLines(const TString& caretLine, int caretCol, const std::string& name, const std::vector<std::string>& values,
                 const TString& text, TStringContainer& made) {
    TString padded = caretLine;
    padded.ExtendRight(caretCol, ' ');
    TStringMap variables{{name, std::string()}};
    std::string& value = variables.begin()->second;
    int longest = 0;
    for (size_t k = 0; k < values.size(); ++k) {
        value = values[k];
        TString line = ReplaceVars(text.str(), variables);
        if (k == 0) line.Insert(0, padded.Substring(0, caretCol - 1));
        if (k + 1 == values.size()) line += padded.Substring(caretCol, padded.Length() - 1);
        longest = std::max(longest, line.Length());
        made.Add(line);
    }
    return longest;
}

// The replace command's loop over lines first..last (cut to the store).
int ReplaceRange(TLineReplacer& replacer, TStringContainer& lines, int first, int last, TTextEditor* editor,
                 std::vector<TString>* retired) {
    first = std::max(first, 0);
    last = std::min(last, lines.GetCount() - 1);
    const int count = last - first + 1;
    int longest = 0;
    for (int i = first; i <= last; ++i) {
        if (replacer.Replace(lines[i], retired)) longest = std::max(longest, lines[i].Length());
        if (editor != nullptr) editor->ProgressChange(count, i - first);
    }
    return longest;
}

// The editor's text was swapped for another: the undo records, sections
// and bookmarks describe the text that left, so the records go, and with
// them sections and bookmarks past the new text's end; the view is reset.
void TakeSwappedText(TTextEditor& editor) {
    const int count = editor.lines.GetCount();
    editor.ClearUndo();
    for (int i = 0; i < editor.sections.GetCount(); ++i)
        if (editor.sections[i].second >= count) editor.sections[i] = TIntPair{-1, -1};
    for (int i = 0; i < editor.markers.GetCount(); ++i)
        if (editor.markers[i].line >= count) editor.markers[i].line = -1;
    editor.selMark = -1;
    editor.RefreshSettings(true, true);
}

// The case commands: the word at the caret, the caret's paragraph or the selection.
void ChangeCase(TTextEditor& editor, const TString& argument, bool upper) {
    // ORDER: a typed word selects the first keyword it begins.
    static const char* const kKeywords[] = {"word", "paragraph"};
    const int keyword = MatchKeyword(argument, kKeywords, 2);
    if (keyword == 0) {
        upper ? editor.WordToUpper() : editor.WordToLower();
        return;
    }
    if (keyword == 1) {
        int first = 0, last = 0;
        editor.GetParagraphLines(first, last);
        editor.SelectLines(first, last);
    }
    upper ? editor.BlockToUpper() : editor.BlockToLower();
}

}  // namespace

// ---- Replacing text in lines ----

TLineReplacer::TLineReplacer(const TString& find, const TString& replacement)
    : find_(find.str()),
      replacement_(replacement.str()),
      passes_(find.IsEmpty() ? 0 : (replacement.Contains(find) ? 1 : kMostReplacePasses)) {}

bool TLineReplacer::Replace(TString& line, std::vector<TString>* retired) {
    bool changed = false;
    const size_t length = find_.size();
    for (int pass = 0; pass < passes_; ++pass) {
        const std::string& text = line.str();
        size_t at = text.find(find_);
        if (at == std::string::npos) break;
        changed = true;
        if (replacement_.size() == length) {
            // As long as the text: written over the occurrences in place.
            char* characters = &line[0];
            for (; at != std::string::npos; at = text.find(find_, at + length))
                replacement_.copy(characters + at, length);
            continue;
        }
        work_.clear();
        size_t copied = 0;
        for (; at != std::string::npos; at = text.find(find_, copied)) {
            work_.append(text, copied, at - copied);
            work_ += replacement_;
            copied = at + length;
        }
        work_.append(text, copied, std::string::npos);
        Store(line, retired);
    }
    return changed;
}

// A text that outgrows the line goes into storage of its own size (the
// line's would grow by doubling).
void TLineReplacer::Store(TString& line, std::vector<TString>* retired) const {
    const bool reduce = line.GetReduceCapacity();
    if (work_.size() <= static_cast<size_t>(line.GetCapacity())) {
        line.SetReduceCapacity(false);
        line = work_;
        line.SetReduceCapacity(reduce);
        return;
    }
    TString grown;
    grown.Reserve(static_cast<int>(work_.size()));
    grown = work_;
    grown.SetReduceCapacity(reduce);
    if (retired != nullptr) retired->push_back(std::move(line));
    line = std::move(grown);
}

int ReplaceLines(TTextEditor* editor, TStringContainer& lines, int first, int last, const TString& find,
                 const TString& replacement) {
    TLineReplacer replacer(find, replacement);
    return ReplaceRange(replacer, lines, first, last, editor, nullptr);
}

TCmdReplaceTask::TCmdReplaceTask(TStringContainer& lines, const TTextEditorSelection& selection, const TString& find,
                                 const TString& replacement)
    : TTextEditorLineTask(lines, selection), find(find), replacement(replacement), replacer(find, replacement) {}

TTextEditorLineTask* TCmdReplaceTask::Clone() const {
    return new TCmdReplaceTask(*lines, selection, find, replacement);
}

// Lines that outgrow their storage on a worker leave the old storage to
// Finished, on the dispatcher's thread that allocated most of it, so that
// the workers do not queue for that thread's heap.
void TCmdReplaceTask::Execute() {
    onWorker = true;
    longestLine = std::max(longestLine, ReplaceRange(replacer, *lines, firstLine, lastLine, nullptr, &retired));
    onWorker = false;
}

void TCmdReplaceTask::Finished() { std::vector<TString>().swap(retired); }

void TCmdReplaceTask::ProcessLine(int line) {
    TString& text = (*lines)[line];
    if (replacer.Replace(text, onWorker ? &retired : nullptr)) longestLine = std::max(longestLine, text.Length());
}

// ---- The commands ----

void TTextEditor::CmdReverse(TString& argument) {
    const std::string& word = argument.str();
    if (word.empty())
        ReverseLines();
    else if (word == "p" || word == "par")
        ReverseLinesByParagraph();
    else if (word == "a" || word == "all")
        ReverseLines(0, lines.GetCount(), true);
}

void TTextEditor::CmdApply(TString& argument) {
    const TStringContainer items = ItemsOf(argument);
    if (items.GetCount() == 0) return;
    TVariableList variables;
    variables.NewString("line", false, TString());
    TVariable* line = variables.Last();
    TExpressions steps;
    TExpression result;
    const int resultItem = items.GetCount() - 1;
    for (int i = 0; i <= resultItem; ++i) {
        TString definition;
        if (IsDefinition(items[i], definition)) {
            if (!Define(*this, items[i], definition, variables)) return;
        } else if (i < resultItem) {
            if (!CompileInto(*this, items[i], steps, variables)) return;
        } else if (!CreateExpression(items[i], result, &variables)) {
            return;
        }
    }
    int first = 0, last = 0;
    ClampedWorkingRange(*this, first, last);
    for (int i = first; i <= last; ++i) {
        if (line->type == vtString) *line->value.s = lines[i].str();
        steps.Eval();
    }
    ShowApplyResult(result.EvalS());
}

void TTextEditor::CmdFor(TString& argument) {
    TStringContainer parts;
    argument.GetTokens(';', true, parts);
    if (parts.GetCount() < 2) return;
    TTextEditorRuntimeVars variables;
    variables.NewInt("start", false, 0);
    TVariable* start = variables.Last();
    variables.NewInt("end", false, 0);
    TVariable* end = variables.Last();
    TExpressions init, perLine, final;
    const TStringContainer initItems = ItemsOf(parts[0]);
    for (int i = 0; i < initItems.GetCount(); ++i) {
        TString item = initItems[i];
        item.Trim(' ');
        TString definition;
        if (IsDefinition(item, definition) ? !Define(*this, item, definition, variables)
                                           : !CompileInto(*this, item, init, variables))
            return;
    }
    if (!CompileItems(*this, parts[1], perLine, variables)) return;
    if (parts.GetCount() > 2 && !CompileItems(*this, parts[2], final, variables)) return;

    int first = 0, last = 0;
    ClampedWorkingRange(*this, first, last);
    SetInt(start, first);
    SetInt(end, last);
    {
        TLineCommandRun running(*this);
        init.Eval();
        if (first <= last) AddUndoItem(utFor, first, last);
        ProgressChange(0, -1);
        const TVariable* line = variables.GetVar(TString("line"));
        int longest = 0;
        for (int i = first; i <= last; ++i) {
            variables.NewLine(i, selection, lines[i]);
            perLine.Eval();
            if (line != nullptr) WriteLine(lines[i], TextOf(*line));
            longest = std::max(longest, lines[i].Length());
            ProgressChange(last - first + 1, i - first);
        }
        ProgressChange(0, -2);
        if (GetHMax() < longest) SetHMax(longest);
        RefreshLines(-1);
        SetModified(true);
    }
    ShowFinalValue(*this, final);
}

void TTextEditor::CmdForEach(TString& argument) {
    const std::string& text = argument.str();
    const size_t equals = text.find('=');
    if (equals == std::string::npos || equals < 1) return;
    const size_t open = text.find('[', equals + 1);
    const size_t close = open == std::string::npos ? open : text.find(']', open + 1);
    if (close == std::string::npos || close < open + 2) return;
    TString name(text.substr(0, equals));
    name.Trim(' ');
    TString rest(text.substr(close + 1));
    rest.Trim(' ');
    static const char* const kInsert[] = {"insert"};
    const TStringContainer words = WordsOf(rest);
    if (name.IsEmpty() || words.GetCount() < 2 || MatchKeyword(words[0], kInsert, 1) != 0) return;
    const TString inserted = rest.Substring(rest.Pos(' ') + 1, rest.Length() - 1);

    // A list of no values, or one the value lists refuse, inserts nothing
    // (the caret line would be lost with no line to take its parts).
    std::vector<TExtractedValue> extracted;
    std::vector<std::string> values;
    if (!ExtractValues(text.substr(open + 1, close - open - 1), extracted, true) ||
        !UnfoldExtractedValues(extracted, values) || values.empty())
        return;
    if (lines.GetCount() == 0) lines.Add(TString());
    if (CurLine < 0 || CurLine >= lines.GetCount() || CurCol < 0) return;
    // Made whole before the text changes, so that a failure changes nothing.
    TStringContainer made;
    const int longest = ForEachLines(lines[CurLine], CurCol, name.str(), values, inserted, made);

    const int at = CurLine;
    const int count = made.GetCount();
    AddUndoItem(utForEach, at, at + count - 1, POINT{CurCol, CurLine}, lines[at]);
    lines[at] = made[0].str();
    made.DeleteFirst(true);
    Insert(at + 1, made);
    RefreshMarkers(at + 1, count - 1);
    SetVMax(std::max(lines.GetCount() - 1, 0));
    if (GetHMax() < longest) SetHMax(longest);
    SetCursorPosX(0);
    SetCursorPosY(std::min(at + count, lines.GetCount() - 1));
    SetCaretPos(CurCol, CurLine);
    SelectLines(at, at + count - 1);
    SetModified(true);
}

void TTextEditor::CmdReplace(TString& argument) {
    const TStringContainer words = WordsOf(argument);
    if (words.GetCount() != 2) return;
    int first = 0, last = 0;
    ClampedWorkingRange(*this, first, last);
    if (first > last) return;
    TLineCommandRun running(*this);
    AddUndoItem(utReplace, first, last);
    int longest = 0;
    if (multiThreaded) {
        TCmdReplaceTask prototype(lines, selection, words[0], words[1]);
        longest = RunLineTasks(prototype, false);
    } else {
        ProgressChange(0, -1);
        longest = ReplaceLines(this, lines, first, last, words[0], words[1]);
        ProgressChange(0, -2);
    }
    if (GetHMax() < longest) SetHMax(longest);
    RefreshLines(-1);
    SetModified(true);
}

void TTextEditor::CmdSurround(TString& argument) {
    if (argument.IsEmpty()) return;
    TStringContainer words;
    argument.GetTokens(' ', true, false, words);
    TString prefix = words.GetCount() >= 2 ? words[0] : argument;
    TString suffix = words.GetCount() >= 2 ? words[1] : argument;
    prefix.Trim('"');
    suffix.Trim('"');
    int first = 0, last = 0;
    ClampedWorkingRange(*this, first, last);
    if (first > last) return;
    TLineCommandRun running(*this);
    AddUndoItem(utSurround, first, last);
    ProgressChange(0, -1);
    int longest = 0;
    for (int i = first; i <= last; ++i) {
        TString& line = lines[i];
        TString surrounded;
        surrounded.Reserve(prefix.Length() + line.Length() + suffix.Length());
        surrounded += prefix;
        surrounded += line;
        surrounded += suffix;
        surrounded.SetReduceCapacity(line.GetReduceCapacity());
        line = std::move(surrounded);
        longest = std::max(longest, line.Length());
        ProgressChange(last - first + 1, i - first);
    }
    ProgressChange(0, -2);
    if (GetHMax() < longest) SetHMax(longest);
    RefreshLines(-1);
    SetModified(true);
}

void TTextEditor::CmdAlign(TString& argument) {
    // ORDER: the first four are the alignment modes 0 to 3; a typed word
    // selects the first keyword it begins.
    static const char* const kKeywords[] = {"left", "right", "middle", "center", "fit to margin"};
    const int keyword = MatchKeyword(argument, kKeywords, 5);
    if (keyword == 4)
        ArrangeLines();
    else if (keyword >= 0)
        Align(static_cast<TString::TAlignMode>(keyword));
}

void TTextEditor::CmdSwap(TString& argument) {
    const TStringContainer words = WordsOf(argument);
    if (words.GetCount() != 2) return;
    TStringContainer* textA = nullptr;
    TStringContainer* textB = nullptr;
    if (IsText(words[0], textA) && IsText(words[1], textB)) {
        if (textA == textB) return;
        textA->Swap(*textB);
        if (textA == &lines || textB == &lines) TakeSwappedText(*this);
        SetModified(true);
        return;
    }
    int firstA = 0, lastA = 0, firstB = 0, lastB = 0;
    if (!IsLine(words[0], firstA, lastA) || !IsLine(words[1], firstB, lastB)) return;
    const int count = lines.GetCount();
    const bool inText = firstA >= 0 && firstB >= 0 && lastA < count && lastB < count;
    if (!inText || firstA > lastA || firstB > lastB || (firstA <= lastB && firstB <= lastA)) return;
    lines.Exchange(firstA, lastA, firstB, lastB);
    ClearUndo();
    RefreshLines(-1);
    SetModified(true);
}

void TTextEditor::CmdShuffle(TString&) {
    int first = 0, last = 0;
    ClampedWorkingRange(*this, first, last);
    if (first >= last) return;
    AddUndoItem(utShuffle, first, last);
    lines.Shuffle(first, last);
    RefreshLines(-1);
    SetModified(true);
}

void TTextEditor::CmdEnds(TString& argument) {
    // ORDER: a typed word selects the first keyword it begins.
    static const char* const kKeywords[] = {"on", "off"};
    const int keyword = MatchKeyword(argument, kKeywords, 2);
    if (keyword >= 0) SetShowLineEnds(keyword == 0);
}

void TTextEditor::CmdToLower(TString& argument) { ChangeCase(*this, argument, false); }

void TTextEditor::CmdToUpper(TString& argument) { ChangeCase(*this, argument, true); }

void TTextEditor::CmdCapitalize(TString&) { Capitalize(); }

// The forms are tried in this order: +N, -N, "sel start", "sel end", "sel N", N.
void TTextEditor::CmdGo(TString& argument) {
    const std::string& text = argument.str();
    if (text.empty()) return;
    static const char* const kSelStart[] = {"sel start"};
    static const char* const kSelEnd[] = {"sel end"};
    const TTextEditorSelection& s = selection;
    int number = 0;
    int64_t target = 0;
    if (text[0] == '+' || text[0] == '-') {
        ReadLeadingNumber(text.substr(1), number);
        target = text[0] == '+' ? int64_t(CurLine) + number : int64_t(CurLine) - number;
    } else if (MatchKeyword(argument, kSelStart, 1) == 0) {
        target = s.selStartLine;
    } else if (MatchKeyword(argument, kSelEnd, 1) == 0) {
        target = int64_t(s.selEndLine) - 1;
    } else if (text.compare(0, 4, "sel ") == 0) {
        ReadLeadingNumber(text.substr(4), number);
        target = number >= 0 ? int64_t(s.selStartLine) + number : int64_t(s.selEndLine) + number - 1;
    } else {
        ReadLeadingNumber(text, number);
        target = number;
    }
    GoToLine(static_cast<int>(std::clamp<int64_t>(target, 0, std::max(lines.GetCount() - 1, 0))));
}
