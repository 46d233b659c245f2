// TTextEditor: moving the caret to a line, a position or the bracket of the
// enclosing block, and the operations that rearrange whole lines: aligning,
// re-flowing paragraphs, splitting at a separator, reversing and exchanging
// the two parts of a selection.
#include <algorithm>
#include <climits>
#include <cstdint>
#include <string>
#include <string_view>

#include "Application.h"
#include "Buttons.h"
#include "ComboBox.h"
#include "TextEditor.h"
#include "TextEditorFunctions.h"
#include "TextEditorGoToLineDlg.h"

namespace {

// A history list longer than this loses its last item.
constexpr int kComboHistoryItems = 16;

// The line a go-to-line entry names: a line from 0, or with a trailing '%'
// that percentage of lineCount; false when it holds no number.
bool ReadLineEntry(std::string entry, int lineCount, int& line) {
    const bool percent = !entry.empty() && entry.back() == '%';
    if (percent) entry.pop_back();
    int number = 0;
    if (!ReadLeadingNumber(entry, number)) return false;
    const int64_t target = percent ? int64_t(lineCount) * number / 100 : number;
    line = static_cast<int>(std::clamp<int64_t>(target, INT_MIN, INT_MAX));
    return true;
}

// +1 for a bracket that opens a block, -1 for one that closes it, else 0.
int BracketWeight(char c, bool allBlocks) {
    switch (c) {
        case '{':
            return 1;
        case '}':
            return -1;
        case '(':
        case '[':
            return allBlocks ? 1 : 0;
        case ')':
        case ']':
            return allBlocks ? -1 : 0;
        default:
            return 0;
    }
}

// The block's lines [first, end) brought inside the text, else every line.
void BlockOrAllLines(const TTextEditorSelection& selection, int count, int& first, int& end) {
    if (selection.selStartLine < selection.selEndLine) {
        first = std::max(selection.selStartLine, 0);
        end = std::min(selection.selEndLine, count);
    } else {
        first = 0;
        end = count;
    }
}

// The fields of line between separators, each trimmed of blanks when asked,
// appended to out; an empty line gives one empty field.
void AppendFields(const TString& line, char separator, bool trim, TStringContainer& out) {
    if (line.IsEmpty()) {
        out.Add(line);
        return;
    }
    TStringContainer fields;
    line.GetTokens(separator, false, fields);
    for (int i = 0; i < fields.GetCount(); ++i) out.Add(trim ? fields[i].Trim(' ') : fields[i]);
}

// Builds the re-flowed lines of a run of paragraphs, line by line. The
// paragraph being built is the tail of the result: its last line takes the
// words while they fit.
class TParagraphFlow {
public:
    TParagraphFlow(int margin, TStringContainer& result) : margin_(margin), result_(result) {}

    void AddLine(std::string_view text) {
        if (text.empty()) {
            EndParagraph();
            result_.Add(TString());
            return;
        }
        const size_t firstWord = text.find_first_not_of(' ');
        const bool hasWords = firstWord != std::string_view::npos;
        if (!hasWords || text.compare(0, 2, "  ") == 0) {
            EndParagraph();
            if (!hasWords) {
                result_.Add(TString());
                ++paragraphLines_;
                return;
            }
            indent_.assign(firstWord, ' ');
        }
        for (size_t at = firstWord; at < text.size();) {
            const size_t stop = std::min(text.find(' ', at), text.size());
            AddWord(text.substr(at, stop - at));
            at = text.find_first_not_of(' ', stop);
        }
    }

private:
    void EndParagraph() {
        paragraphLines_ = 0;
        indent_.clear();
    }

    void AddWord(std::string_view word) {
        const int length = static_cast<int>(word.size());
        if (paragraphLines_ == 0 || result_.Last().Length() + length >= margin_) {
            result_.Add(TString(indent_ + std::string(word)));
            ++paragraphLines_;
            return;
        }
        TString& last = result_.Last();
        if (!last.IsEmpty()) last += ' ';
        last += TString(word.data(), length);
    }

    const int margin_;
    TStringContainer& result_;
    int paragraphLines_ = 0;
    std::string indent_;
};

// Restores the go-to-line dialog's Help control when the dialog is done, so
// that the shared form never calls an editor that is gone.
class TBoundHelp {
public:
    TBoundHelp(TButton* button, TNotifyEvent handler) : button_(button) {
        if (button_ != nullptr) button_->OnClick = std::move(handler);
    }
    ~TBoundHelp() {
        if (button_ != nullptr) button_->OnClick = nullptr;
    }
    TBoundHelp(const TBoundHelp&) = delete;
    TBoundHelp& operator=(const TBoundHelp&) = delete;

private:
    TButton* button_;
};

}  // namespace

void TTextEditor::GoToLine() {
    TTextEditorGoToLineDlg* dialog = SharedGoToLineDlg();
    if (dialog == nullptr || dialog->cmbSorszam == nullptr) return;
    CaretOff();
    if (Application != nullptr) Application->ProcessMessages();
    SetupDlgPos(dialog);
    dialog->SetActiveControl(dialog->cmbSorszam);
    TModalResult result = mrNone;
    {
        TBoundHelp help(dialog->btnHelp, MakeEvent(this, &TTextEditor::DlgHelpHandler));
        result = dialog->ShowModal();
    }
    CaretOn();
    if (result != mrOk) return;
    const std::string entry = dialog->cmbSorszam->GetText();
    int line = 0;
    if (!ReadLineEntry(entry, lines.GetCount(), line)) return;
    GoToLine(line);
    TStrings* items = dialog->cmbSorszam->GetItems();
    items->Insert(0, entry);
    CheckComboItemsCount(items);
}

void TTextEditor::CheckComboItemsCount(TStrings* items) {
    if (items != nullptr && items->GetCount() > kComboHistoryItems) items->Delete(items->GetCount() - 1);
}

void TTextEditor::GoToLine(int line) {
    GoTo(CurCol, std::clamp(line, 0, std::max(lines.GetCount() - 1, 0)));
}

// SetCaretPos scrolls just far enough, which leaves the line at the edge;
// half a page more shows what lies beyond it.
void TTextEditor::GoTo(int col, int line) {
    const int64_t moved = int64_t(line) - CurLine;
    line = std::clamp(line, 0, std::max(lines.GetCount() - 1, 0));
    col = std::clamp(col, 0, std::max(HMax, 0));
    SetCursorPosX(col);
    CurLine = line;
    const int scrolled = SetCaretPos(CurCol, CurLine);
    if (scrolled == 0 || VPos == 0) return;
    const int half = (GetClientHeight() / GetLineHeight() - 1) / 2;
    const int top = moved < 1 ? VPos - half : VPos + half;
    if (top >= lines.GetCount()) return;
    SetVPos(top);
    PlaceSystemCaret(CurCol, CurLine);
}

void TTextEditor::GoToNextBlock() {
    const int count = lines.GetCount();
    int depth = 0;
    for (int line = std::max(CurLine, 0), col = std::max(CurCol, 0); line < count; ++line, col = 0) {
        const std::string& text = lines[line].str();
        for (int c = col; c < static_cast<int>(text.size()); ++c) {
            depth += BracketWeight(text[static_cast<size_t>(c)], AllBlocks);
            if (depth == -1) {
                GoTo(c + 1, line);
                return;
            }
        }
    }
}

// The opening bracket under the caret is scanned too, so it starts one
// level higher: the scan then ends at the bracket of the block around it.
void TTextEditor::GoToPrevBlock() {
    if (CurLine < 0 || CurLine >= lines.GetCount()) return;
    const TString& caretLine = lines[CurLine];
    int depth = BracketWeight(caretLine[CurCol], AllBlocks) > 0 ? 0 : -1;
    for (int line = CurLine, col = std::min(CurCol, caretLine.Length() - 1); line >= 0;) {
        const std::string& text = lines[line].str();
        for (int c = col; c >= 0; --c) {
            depth -= BracketWeight(text[static_cast<size_t>(c)], AllBlocks);
            if (depth == -2) {
                GoTo(c, line);
                return;
            }
        }
        if (--line >= 0) col = lines[line].Length() - 1;
    }
}

void TTextEditor::Align(TString::TAlignMode mode) {
    if (ReadOnly) return;
    int first = 0, end = 0;
    BlockOrAllLines(selection, lines.GetCount(), first, end);
    if (first >= end) return;
    AddUndoItem(utAlign, first, end - 1);
    for (int i = first; i < end; ++i) {
        lines[i].Align(mode, MarginPos);
        SetHMax(lines[i]);
        RepaintLine(i);
    }
    SetModified(true);
}

// No undo record holds the old lines: the stack goes, as older records
// would meet moved lines.
void TTextEditor::SplitLine(char separator, bool trim) {
    if (ReadOnly) return;
    const TTextEditorSelection& s = selection;
    const int count = lines.GetCount();
    int first = CurLine, end = CurLine + 1;
    if (s.selStartLine < s.selEndLine) BlockOrAllLines(s, count, first, end);
    if (first < 0 || end > count || first >= end) return;
    TStringContainer pieces;
    for (int i = first; i < end; ++i) AppendFields(lines[i], separator, trim, pieces);
    Delete(first, end - 1);
    Insert(first, pieces);
    MarkersFollowReplacedLines(first, end, first + pieces.GetCount());
    ClearUndo();
    RefreshSettings(true, true);
    CurLine = std::min(first + pieces.GetCount(), lines.GetCount() - 1);
    SetCaretPos(CurCol, CurLine);
    SetModified(true);
}

void TTextEditor::ArrangeLines() {
    DeleteTailSpaces();
    int first = 0, last = 0;
    GetWorkingRange(first, last);
    first = std::max(first, 0);
    last = std::min(last, lines.GetCount() - 1);
    if (first > last) return;
    TStringContainer result;
    TParagraphFlow flow(MarginPos, result);
    for (int i = first; i <= last; ++i) flow.AddLine(lines[i].str());
    AddUndoItem(utTyping, first, first + result.GetCount() - 1, POINT{CurCol, CurLine}, first, last);
    const int oldCount = lines.GetCount();
    Delete(first, last);
    Insert(first, result);
    const int diff = lines.GetCount() - oldCount;
    MarkersFollowReplacedLines(first, last + 1, first + result.GetCount());
    // Insert mode first, so that a caret refreshed here takes its shape.
    EditMode = emInsert;
    if (Focused()) RefreshCaret();
    SetVMax(std::max(lines.GetCount() - 1, 0));
    SetHPos(0);
    SetHMax(GetMaxLineLength());
    CurCol = prevCol = 0;
    CurLine = prevLine = first;
    SetCaretPos(0, first);
    selection.selStartCol = selection.selEndCol = 0;
    if (selection.selStartLine != selection.selEndLine) selection.selEndLine += diff;
    Invalidate();
    SetModified(true);
}

void TTextEditor::MarkersFollowReplacedLines(int first, int oldEnd, int newEnd) {
    for (int i = 0; i < markers.GetCount(); ++i) {
        int& line = markers[i].line;
        if (line >= oldEnd)
            line += newEnd - oldEnd;
        else if (line >= first)
            line = std::max(std::min(line, newEnd - 1), first);
    }
}

bool TTextEditor::ReverseRange(int first, int end) {
    for (int k = 0; k < (end - first) / 2; ++k) lines.Exchange(first + k, end - 1 - k);
    return end - first >= 2;
}

// No undo record holds the old order: the stack goes when lines moved.
void TTextEditor::ReverseLines(int first, int end, bool repaint) {
    first = std::max(first, 0);
    end = std::min(end, lines.GetCount());
    if (ReverseRange(first, end)) ClearUndo();
    if (repaint) Repaint();
    SetModified(true);
}

void TTextEditor::ReverseLines() {
    int first = 0, end = 0;
    BlockOrAllLines(selection, lines.GetCount(), first, end);
    ReverseLines(first, end, true);
}

// Each paragraph is reversed alone; the text is marked modified once.
void TTextEditor::ReverseLinesByParagraph() {
    int first = 0, end = 0;
    BlockOrAllLines(selection, lines.GetCount(), first, end);
    int paragraph = first;
    bool moved = false;
    for (int i = first; i < end; ++i)
        if (lines[i].IsEmpty()) {
            moved = ReverseRange(paragraph, i) || moved;
            paragraph = i + 1;
        }
    if (moved) ClearUndo();
    ReverseLines(paragraph, end, true);
}

void TTextEditor::ExchangeSelection() {
    TTextEditorSelection& s = selection;
    if (selMark == -1) return;
    if (s.selStartLine != s.selEndLine) {
        const int end = std::min(s.selEndLine, lines.GetCount());
        if (s.selStartLine < 0 || !(s.selStartLine < selMark && selMark < end)) return;
        lines.Exchange(s.selStartLine, selMark - 1, selMark, end - 1);
        selMark = s.selStartLine + end - selMark;
        s.selEndLine = end;
        ClearUndo();
        RefreshLines(-1);
    } else {
        if (s.selLine < 0 || s.selLine >= lines.GetCount()) return;
        TString& line = lines[s.selLine];
        const int end = std::min(s.selEndCol, line.Length());
        if (s.selStartCol < 0 || !(s.selStartCol <= selMark && selMark < end)) return;
        line.Exchange(s.selStartCol, selMark, end - 1);
        selMark = s.selStartCol + end - selMark;
        s.selEndCol = end;
        RepaintLine(s.selLine);
    }
    SetModified(true);
}
