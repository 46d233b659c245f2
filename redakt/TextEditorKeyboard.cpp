// TTextEditor: keyboard dispatch (the steps of a key-down around the key
// table), repeat counts, the line jump, the repeat sequence and typing.
#include <algorithm>
#include <cstdint>

#include "TextEditor.h"
#include "TextEditorCharacters.h"
#include "TextEditorKeyTable.h"
#include "Win32.h"

namespace {

// A repeat count or a repeat sequence's count never exceeds this.
constexpr int kMaxRepeatCount = 100000;

bool HasSelection(const TTextEditorSelection& s) {
    return s.selStartCol != s.selEndCol || s.selStartLine != s.selEndLine;
}

bool IsModifierKey(WORD key) {
    switch (key) {
        case VK_SHIFT: case VK_CONTROL: case VK_MENU:
        case VK_LSHIFT: case VK_RSHIFT: case VK_LCONTROL: case VK_RCONTROL: case VK_LMENU: case VK_RMENU:
            return true;
        default: return false;
    }
}

bool IsDigitKey(WORD key) { return key >= '0' && key <= '9'; }

// The number that the digits from `from` on spell, at most limit; -1 when
// no digit stands there.
int ReadDigits(const TString& text, int from, int limit) {
    if (!TTextEditor::IsDigit(text[from])) return -1;
    int64_t value = 0;
    for (int i = from; i < text.Length() && TTextEditor::IsDigit(text[i]); ++i)
        value = std::min<int64_t>(value * 10 + (text[i] - '0'), limit);
    return static_cast<int>(value);
}

// The keys after which a selection stays instead of collapsing onto the
// caret (besides any key while a buffer digit, the append mode, the Ctrl+K
// chord or PersistentBlocks is pending). ORDER none.
struct TKeptSelection {
    WORD key;
    TTextEditorKeyCondition condition;
};
const TKeptSelection kKeptSelection[] = {
    {VK_CONTROL, kcAlways}, {VK_SHIFT, kcAlways}, {VK_MENU, kcAlways}, {VK_CAPITAL, kcAlways},
    {VK_INSERT, kcAlways},  {VK_DELETE, kcAlways}, {VK_BACK, kcAlways}, {VK_F1, kcAlways},
    {VK_F3, kcAlways},      {'C', kcCtrl},         {'C', kcAlt},        {'V', kcCtrl},
    {'X', kcCtrl},          {'Q', kcCtrl},         {'K', kcCtrl},       {'L', kcCtrl},
    {'Y', kcCtrl},          {'F', kcCtrl},         {'R', kcCtrl},       {'H', kcCtrl},
    {'N', kcAlt},           {'B', kcChordQ},       {'E', kcChordQ},     {'A', kcChordQ},
    {'S', kcChordQ},        {'C', kcChordL},       {'F', kcChordL},     {'M', kcChordL},
    {'T', kcChordL},        {'P', kcChordL},       {'R', kcChordL},     {'A', kcChordL},
};

// The keys after which typing is no longer inside a word.
bool LeavesWord(WORD key) {
    switch (key) {
        case VK_UP: case VK_DOWN: case VK_LEFT: case VK_RIGHT: case VK_RETURN: case VK_HOME: case VK_PRIOR:
        case VK_NEXT: case VK_TAB:
            return true;
        default: return false;
    }
}

}  // namespace

// ---- Key-down ----

void TTextEditor::KeyDown(WORD& key, TShiftState shift) {
    shift = KeyDownModifiers(shift);
    shiftState = shift;
    lastKeyRow = nullptr;
    TTextEditorKeyEvent event = TTextEditorKeyEvent::Of(key, shift);
    if (AppendModeKey(event)) return;
    if (key == VK_ESCAPE) {
        EscapePress(event);
        return;
    }
    RecordKeyDown(event);
    if (RepeatSequenceEnter(event) || NumberEntryKey(event)) return;
    event.repeat = RepeatKeyDown(event);
    CollapseSelectionForKey(event);
    if (!IsDigitKey(key) && sortColPending) {
        sortColPending = false;
        SortColSelected();
    }
    TrackWordKeys(event);
    if (IsDigitKey(key) && DigitPress(key - '0', event)) return;
    if (key == VK_CONTROL && event.shiftHeld && shiftSelecting) {
        MarkExchange();
        FinishKeyDown(key, event);
        return;
    }
    RunKeyRow(key, event);
}

// AltGr arrives as Ctrl with Alt down, but the class library takes Alt only
// from a system key's flag, which such a key-down lacks: Alt comes from the
// key state then. A replayed key-down brings its own modifiers.
TShiftState TTextEditor::KeyDownModifiers(TShiftState shift) const {
    if (!keyDownReplayed && shift.Contains(ssCtrl) && GetKeyState(VK_MENU) < 0) shift << ssAlt;
    return shift;
}

void TTextEditor::SuppressCharacter(const TTextEditorKeyEvent& event) {
    if (!keyDownReplayed && !(event.alt && !event.ctrl)) suppressKeyPress = true;
}

bool TTextEditor::AppendModeKey(const TTextEditorKeyEvent& event) { return EndAppendModeByKey(event.key); }

// Esc ends a recording, or cancels a repeat sequence (the chords stay), and
// clears every chord.
void TTextEditor::EscapePress(const TTextEditorKeyEvent& event) {
    if (macroRecording || paramMacroRecording) {
        StopMacroRecording(true);
    } else if (repSeqState == 1 || repSeqState == 2) {
        repSeqState = 0;
        SuppressCharacter(event);
        if (OnRepSeq) OnRepSeq(this, rsEnded);
        return;
    }
    chordK = chordQ = chordM = chordD = chordL = chordJ = false;
}

// Every key-down but Ctrl+M goes into the macro being recorded; Ctrl+digit
// marks a parameter's place in a named one.
void TTextEditor::RecordKeyDown(const TTextEditorKeyEvent& event) {
    TTextEditorMacro* macro = RecordingMacro();
    if (macro == nullptr || (event.key == 'M' && event.ctrl)) return;
    TTextEditorMacroItem* item = macro->NewItem();
    if (!macroRecording && event.ctrl && IsDigitKey(event.key)) {
        item->kind = mkParameter;
        item->param = event.key - '0';
    } else {
        item->kind = mkKeyDown;
        item->key = event.key;
    }
    for (TShiftStateFlag modifier : {ssShift, ssCtrl, ssAlt})
        if (event.shift.Contains(modifier)) item->shift << modifier;
}

bool TTextEditor::RepeatSequenceEnter(const TTextEditorKeyEvent& event) {
    if (event.key != VK_RETURN || (repSeqState != 1 && repSeqState != 2)) return false;
    SuppressCharacter(event);
    if (repSeqState == 1) {
        repSeqState = 2;
        if (OnRepSeq) OnRepSeq(this, rsCountComplete);
    } else {
        repSeqState = 0;
        RepSeqWrite();
    }
    return true;
}

// Keys pressed with Ctrl after Ctrl+Q or Ctrl+J spell the count or the
// jump. The modifier keys themselves spell nothing: pressing Ctrl again
// after releasing it must not spoil the number.
bool TTextEditor::NumberEntryKey(const TTextEditorKeyEvent& event) {
    if (!(chordQ || chordJ) || !event.ctrl || IsModifierKey(event.key)) return false;
    keyText += static_cast<char>(event.key);
    SuppressCharacter(event);
    return true;
}

// The key acts r times: it posts itself again (with Shift alone) while the
// count lasts. Returns r.
int TTextEditor::RepeatKeyDown(const TTextEditorKeyEvent& event) {
    const int times = keyRepeat + 1;
    if (keyRepeat > 0 && !IsModifierKey(event.key)) {
        if (HandleAllocated()) PostMessageA(GetHandle(), WM_USER, event.key, event.shiftHeld ? 1 : 0);
        --keyRepeat;
    }
    return times;
}

// The selection is only dropped, never deleted.
void TTextEditor::CollapseSelectionForKey(const TTextEditorKeyEvent& event) {
    if (event.shiftHeld || KeyKeepsSelection(event)) return;
    const bool selected = HasSelection(selection);
    if (selected) Invalidate();
    selection.selStartLine = selection.selEndLine = CurLine;
    selection.selStartCol = selection.selEndCol = CurCol;
    selMark = -1;
    if (selected) SelectionChanged();
}

bool TTextEditor::KeyKeepsSelection(const TTextEditorKeyEvent& event) const {
    if (copyToBufferPending || appendMode || chordK || PersistentBlocks) return true;
    for (const TKeptSelection& kept : kKeptSelection)
        if (kept.key == event.key && KeyConditionHolds(kept.condition, event)) return true;
    return false;
}

void TTextEditor::TrackWordKeys(const TTextEditorKeyEvent& event) {
    if (!inWord) return;
    if (event.key == VK_BACK) {
        if (!lastWord.IsEmpty()) lastWord.Delete(lastWord.Length() - 1, lastWord.Length() - 1);
    } else if (LeavesWord(event.key) || (event.key == VK_END && CurCol != GetLineText(CurLine).Length())) {
        inWord = false;
    }
}

// Ctrl+digit goes to a bookmark (sets it with Shift); after Ctrl+M the digit
// names the macro to record, after Ctrl+D digits 0 to 4 the date to insert,
// after Ctrl+K, B the column to sort by.
bool TTextEditor::DigitPress(int digit, const TTextEditorKeyEvent& event) {
    if (event.ctrl) {
        if (event.shiftHeld)
            MakeMarker(digit);
        else
            MarkerPress(digit);
        return true;
    }
    if (chordM && !ReadOnly) {
        SuppressCharacter(event);
        chordM = false;
        RecordMacro(digit);
        return true;
    }
    if (digit <= diTimeWithSeconds && chordD && !ReadOnly) {
        SuppressCharacter(event);
        chordD = false;
        InsertDate(static_cast<TTextEditorDateInsert>(digit));
        return true;
    }
    if (sortColPending) {
        SuppressCharacter(event);
        sortColPending = false;
        SortByCol(digit);
        return true;
    }
    return false;
}

// Ctrl pressed while Shift extends a selection marks where the exchange of
// Ctrl+Q, E splits it: a line of a line block after a vertical move, a
// column of an in-line selection after a horizontal one.
void TTextEditor::MarkExchange() {
    const bool vertical = lastKey == VK_UP || lastKey == VK_DOWN;
    const int firstVisible = VPos;
    if (vertical && CurLine == selection.selEndLine) {
        const int oldMark = selMark;
        selMark = CurLine;
        if (oldMark != -1 && oldMark < CurLine)
            for (int line = std::max(oldMark, firstVisible); line < CurLine; ++line) RepaintLine(line);
    } else if (vertical && CurLine == selection.selStartLine) {
        selMark = CurLine;
        for (int line = std::max(CurLine, firstVisible); line < selection.selEndLine; ++line) RepaintLine(line);
    } else if ((lastKey == VK_LEFT || lastKey == VK_RIGHT) && selection.selStartLine == selection.selEndLine) {
        selMark = CurCol;
        RepaintLine(CurLine);
    }
}

// The character of a consumed key is dropped before the action runs, since
// an action with a dialog pumps the queue that holds it.
void TTextEditor::RunKeyRow(WORD& key, TTextEditorKeyEvent& event) {
    const TTextEditorKeyRow* row = FindKeyRow(event.key, event.shift);
    lastKeyRow = row;
    if (row == nullptr) {
        lastAlt = event.alt;
        lastKey = event.key;
        lastShift = event.shiftHeld;
        return;
    }
    if (row->flags & kfSuppress) SuppressCharacter(event);
    if (row->flags & kfEndsChord) EndChord(row->condition);
    if (!(ReadOnly && (row->flags & kfReadOnly))) row->action(*this, event);
    if ((row->flags & kfReturn) || event.stop) return;
    FinishKeyDown(key, event);
}

void TTextEditor::FinishKeyDown(WORD& key, const TTextEditorKeyEvent& event) {
    SetCaretPos(CurCol, CurLine);
    TScrollControl::KeyDown(key, event.shift);
    if (!IsModifierKey(event.key) && event.key != VK_CAPITAL) chordM = chordQ = chordK = false;
    lastKey = event.key;
    lastShift = event.shiftHeld;
    lastCtrl = event.ctrl;
    lastAlt = event.alt;
    if (event.ctrl) Sleep(0);
}

// ---- The arrow keys ----

// Up and Down. Under PersistentBlocks the first Shift+Up or Shift+Down of a
// run starts a new block, empty on the line the caret left (its own line
// when it could not move).
bool TTextEditor::UpPress(const TTextEditorKeyEvent& event) {
    prevLine = CurLine;
    if (CurLine <= 0) return false;
    const int count = lines.GetCount();
    if (!(event.shiftHeld && CurLine == count - 1 && LineBlockReachesEnd())) --CurLine;
    if (!event.shiftHeld) {
        ClearSelection(false);
        return true;
    }
    if (!(lastKey == VK_UP && lastShift) && PersistentBlocks && !shiftSelecting) {
        ClearSelection(true);
        selection.selStartLine = selection.selEndLine = prevLine;
        Repaint();
    }
    shiftSelecting = true;
    SelUp(1);
    return true;
}

bool TTextEditor::DownPress(const TTextEditorKeyEvent& event) {
    prevLine = CurLine;
    const int last = std::max(lines.GetCount() - 1, 0);
    if (CurLine >= last && !event.shiftHeld) return false;
    if (CurLine < last) ++CurLine;
    if (!event.shiftHeld) {
        ClearSelection(false);
        return true;
    }
    if (!(lastKey == VK_DOWN && lastShift) && PersistentBlocks && !shiftSelecting) {
        ClearSelection(true);
        selection.selStartLine = selection.selEndLine = prevLine;
        Repaint();
    }
    shiftSelecting = true;
    SelDown(1);
    return true;
}

// Left and Right. A new in-line selection starts where the caret stood
// before the move (one column beside it after a plain arrow, further after a
// word).
bool TTextEditor::SidewaysPress(const TTextEditorKeyEvent& event, bool left) {
    prevCol = CurCol;
    int moved = 1;
    if (event.ctrl && !lastAlt) {
        if (left)
            CtrlLeft(moved);
        else
            CtrlRight(moved);
    } else if (left ? CurCol <= 0 : CurCol >= HMax) {
        return false;
    } else {
        CurCol += left ? -1 : 1;
    }
    if (!event.shiftHeld) {
        if (!PersistentBlocks) {
            selection.selStartCol = selection.selEndCol = CurCol;
            selection.selLine = CurLine;
        }
        return true;
    }
    if (!(lastKey == event.key && lastShift) && PersistentBlocks && !shiftSelecting) {
        ClearSelection(true);
        selection.selStartCol = selection.selEndCol = prevCol;
        Repaint();
    }
    shiftSelecting = true;
    if (selection.selStartLine != selection.selEndLine) {
        selection.selStartLine = selection.selEndLine = CurLine;
        Repaint();
    }
    if (left)
        SelLeft(moved);
    else
        SelRight(moved);
    return true;
}

// ---- Key-up: the end of a repeat count or a line jump ----

void TTextEditor::KeyUp(WORD& key, TShiftState shift) {
    const WORD released = key;
    TScrollControl::KeyUp(key, shift);
    if (released == VK_SHIFT && shiftSelecting) {
        shiftSelecting = false;
        return;
    }
    if (released != VK_CONTROL || keyText.IsEmpty()) return;
    if (chordQ)
        EndRepeatCount();
    else if (chordJ)
        EndLineJump();
}

// "m" or "M" counts up to the margin; otherwise the leading digits count,
// at most kMaxRepeatCount. Without a number nothing repeats.
void TTextEditor::EndRepeatCount() {
    int count = keyText == TString("m") || keyText == TString("M") ? std::max(MarginPos - CurCol, 1)
                                                                   : ReadDigits(keyText, 0, kMaxRepeatCount);
    count = std::min(count, kMaxRepeatCount);
    charRepeat = keyRepeat = std::max(count - 1, 0);
    chordQ = false;
    suppressKeyPress = false;
    keyText.Clear();
}

// A first key that is no digit makes the jump upwards; without a number
// nothing moves. The caret stays inside the text, on line 0 of an empty one.
void TTextEditor::EndLineJump() {
    chordJ = false;
    suppressKeyPress = false;
    const bool up = !IsDigit(keyText[0]);
    const int lineCount = lines.GetCount();
    const int distance = ReadDigits(keyText, up ? 1 : 0, std::max(lineCount, 1));
    keyText.Clear();
    if (distance < 0) return;
    CurLine = std::clamp(CurLine + (up ? -distance : distance), 0, std::max(lineCount - 1, 0));
    SetCaretPos(CurCol, CurLine);
}

// ---- The repeat sequence ----

void TTextEditor::RepSeqStart() {
    repSeqState = 1;
    repSeqCount = 0;
    repSeqText.Clear();
    if (OnRepSeq) OnRepSeq(this, rsStarted);
}

// The text typed once already goes in count - 1 more times. The typing's
// undo record of the line takes the insertion in, so one undo removes all.
void TTextEditor::RepSeqWrite() {
    const int copies = std::min(repSeqCount, kMaxRepeatCount) - 1;
    if (copies > 0 && !repSeqText.IsEmpty() && CurLine >= 0 && CurLine < lines.GetCount() && CurCol >= 0) {
        const TTextEditorUndoItem* top = GetLastUndoItem();
        if (top == nullptr || top->firstLine != CurLine || top->lastLine != CurLine) AddUndoItem(utTyping);
        TString& line = lines[CurLine];
        line.ExtendRight(CurCol);
        const TString inserted = repSeqText * copies;
        line.Insert(CurCol, inserted);
        RepaintLine(CurLine);
        SetHMax(GetMaxLineLength());
        CurCol += inserted.Length();
        typingUndoCol = CurCol - 1;
        typingUndoLine = CurLine;
        SetModified(true);
    }
    SetCaretPos(CurCol, CurLine);
    if (OnRepSeq) OnRepSeq(this, rsEnded);
}

// ---- Typing ----

void TTextEditor::KeyPress(char& key) {
    if (suppressKeyPress) {
        suppressKeyPress = false;
        return;
    }
    // Control characters (Ctrl+letter, Enter, Tab, Esc, Ctrl+Backspace...) never go into the text.
    const auto byte = static_cast<unsigned char>(key);
    if (byte < 0x20 || byte == 0x7F || ReadOnly) return;
    if (IsWordSeparator(lastChar) && !IsWordSeparator(key)) {
        lastWord.Clear();
        inWord = true;
    } else if (!IsWordSeparator(lastChar) && IsWordSeparator(key)) {
        inWord = false;
    }
    if (inWord) lastWord += key;
    lastChar = key;
    if (TTextEditorMacro* macro = RecordingMacro()) {
        TTextEditorMacroItem* item = macro->NewItem();
        item->kind = mkCharacter;
        item->ch = key;
    }
    if (TakesBufferDigit(key)) return;
    if (charRepeat > 0) {
        if (HandleAllocated()) PostMessageA(GetHandle(), WM_USER + 1, byte, 0);
        --charRepeat;
    }
    CollapseSelectionForTyping();
    if (RepeatSequenceCharacter(key)) return;
    if (lines.GetCount() == 0) lines.Add(TString());
    if (CurLine < 0 || CurLine >= lines.GetCount() || CurCol < 0) return;
    if (appendMode)
        TypeInAppendMode(key);
    else
        TypeAtCaret(key);
}

// After Ctrl+Q, B or Ctrl+B the character names the buffer and is not typed.
bool TTextEditor::TakesBufferDigit(char c) {
    if (!copyToBufferPending && !pasteFromBufferPending) return false;
    if (IsDigit(c)) {
        if (copyToBufferPending)
            CopyToBuffer(c - '0');
        else
            PasteFromBuffer(c - '0');
    }
    copyToBufferPending = pasteFromBufferPending = false;
    return true;
}

// Typing never replaces the selection: it only goes.
void TTextEditor::CollapseSelectionForTyping() {
    if (!HasSelection(selection) || PersistentBlocks || appendMode) return;
    selection.selStartLine = selection.selEndLine = CurLine;
    selection.selStartCol = selection.selEndCol = CurCol;
    selection.selLine = CurLine;
    selMark = -1;
    RefreshLines(-1);
    SelectionChanged();
}

// In state 1 digits make the count (it stops growing at kMaxRepeatCount)
// and are not typed; the first other character starts the text, which is
// typed and kept.
bool TTextEditor::RepeatSequenceCharacter(char c) {
    if (repSeqState == 1) {
        if (IsDigit(c)) {
            repSeqCount = std::min(repSeqCount * 10 + (c - '0'), kMaxRepeatCount);
            return true;
        }
        repSeqState = 2;
        if (OnRepSeq) OnRepSeq(this, rsCountComplete);
    }
    if (repSeqState == 2) repSeqText += c;
    return false;
}

// A run of typing at one place makes one undo record, which holds the line
// as it was before the run (before any padding too).
void TTextEditor::TypeAtCaret(char& key) {
    const bool inserting = EditMode == emInsert;
    const TTextEditorUndoItemType kind = inserting ? utTyping : utReplaceChars;
    const TTextEditorUndoItem* top = GetLastUndoItem();
    const bool continuesRun = top != nullptr && top->kind == kind && top->firstLine == CurLine &&
                              top->lastLine == CurLine && typingUndoLine == CurLine && typingUndoCol == CurCol - 1;
    if (!continuesRun) AddUndoItem(kind);
    TString& line = lines[CurLine];
    if (CurCol >= line.Length()) line.ExtendRight(inserting ? CurCol : CurCol + 1);
    if (inserting)
        line.Insert(CurCol, TString(key));
    else
        line.SetChar(CurCol, key);
    typingUndoCol = CurCol;
    typingUndoLine = CurLine;
    if (!BreakLineAtMargin()) {
        RepaintLine(CurLine);
        ++CurCol;
    }
    SetHMax(lines[CurLine]);
    selection.selStartCol = selection.selEndCol = selection.selStartCol + 1;
    SetCaretPos(CurCol, CurLine);
    SetModified(true);
    TScrollControl::KeyPress(key);
    suppressKeyPress = false;
}

// AutoLineBreak: a character typed at the end of a line longer than
// MarginPos takes the word it ends onto a new line below. The typing's undo
// record grows by that line, so that one undo gives the line back whole.
bool TTextEditor::BreakLineAtMargin() {
    TString& line = lines[CurLine];
    if (!AutoLineBreak || CurCol != line.Length() - 1 || line.Length() <= MarginPos) return false;
    int blank = CurCol - 1;
    while (blank >= 0 && line[blank] != ' ') --blank;
    const TString word = line.Substring(blank + 1, line.Length() - 1);
    line = blank >= 0 ? line.Left(blank) : TString();
    line.TrimRight(' ');
    TTextEditorUndoItem* top = GetLastUndoItem();
    if (top != nullptr && top->firstLine == CurLine && top->lastLine == CurLine) top->lastLine += 1;
    Insert(CurLine + 1, word);
    RefreshMarkers(CurLine + 1, 1);
    ++CurLine;
    CurCol = word.Length();
    SetVMax(lines.GetCount() - 1);
    Repaint();
    return true;
}

// The append mode writes at the margin of the target lines and leaves the
// caret: the caret line, an in-line selection's line or every line of a
// line block. Insert mode drops the character at the selection's start
// (column 0 without one) and puts the new one at MarginPos - 1.
void TTextEditor::TypeInAppendMode(char& key) {
    const TTextEditorSelection& s = selection;
    int first = CurLine, end = CurLine + 1, start = 0;
    if (s.selStartLine != s.selEndLine) {
        first = std::max(std::min(s.selStartLine, s.selEndLine), 0);
        end = std::min(std::max(s.selStartLine, s.selEndLine), lines.GetCount());
    } else if (s.selStartCol != s.selEndCol) {
        first = s.selLine;
        end = s.selLine + 1;
        start = s.selStartCol;
    }
    for (int line = std::max(first, 0); line < end && line < lines.GetCount(); ++line) {
        if (EditMode != emInsert) {
            AppendLineInInsertMode(line, start, key);
        } else if (start >= 0 && start < MarginPos) {
            TString& text = lines[line];
            text.ExtendRight(MarginPos);
            text.Delete(start, start);
            text.Insert(MarginPos - 1, TString(key));
        }
        SetHMax(lines[line]);
        RepaintLine(line);
    }
    ++appendCount;
    SetModified(true);
    TScrollControl::KeyPress(key);
}
