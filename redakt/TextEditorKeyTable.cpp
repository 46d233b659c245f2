// TTextEditor: the key table, and finding the row that a key-down selects.
#include "TextEditor.h"
#include "TextEditorKeyTable.h"
#include "Win32.h"

namespace {

using E = TTextEditor;
using K = TTextEditorKeyEvent;

constexpr uint8_t RO = kfReadOnly;
constexpr uint8_t S = kfSuppress;
constexpr uint8_t R = kfReturn;
constexpr uint8_t C = kfEndsChord;

}  // namespace

// ORDER KEYS: rows of one key are matched in this order, the first whose
// condition holds winning; tests name the rows by their names.
const TTextEditorKeyRow* TTextEditor::KeyTable(int& count) {
    static const TTextEditorKeyRow kRows[] = {
        {VK_UP, kcCtrl, R, [](E& e, K&) { e.SetVPos(e.VPos - 1); }, "Ctrl+Up: scroll up"},
        {VK_UP, kcAlways, 0, [](E& e, K& k) { k.stop = !e.UpPress(k); }, "Up"},
        {VK_DOWN, kcCtrl, R, [](E& e, K&) { e.SetVPos(e.VPos + 1); }, "Ctrl+Down: scroll down"},
        {VK_DOWN, kcAlways, 0, [](E& e, K& k) { k.stop = !e.DownPress(k); }, "Down"},
        {VK_LEFT, kcAlways, 0, [](E& e, K& k) { k.stop = !e.SidewaysPress(k, true); }, "Left"},
        {VK_RIGHT, kcAlways, 0, [](E& e, K& k) { k.stop = !e.SidewaysPress(k, false); }, "Right"},
        {VK_RETURN, kcAlways, 0, [](E& e, K& k) { e.ReturnPress(k.shift); }, "Enter: ReturnPress"},
        {VK_TAB, kcAlways, 0, [](E& e, K& k) { e.TabPress(k.shift); }, "Tab: TabPress"},
        {VK_BACK, kcAlways, 0, [](E& e, K& k) { e.BackspacePress(k.shift); }, "Backspace: BackspacePress"},
        {VK_DELETE, kcAlways, 0, [](E& e, K& k) { e.DeletePress(k.shift); }, "Delete: DeletePress"},
        {VK_INSERT, kcAlways, 0, [](E& e, K& k) { e.InsertPress(k.shift); }, "Insert: InsertPress"},
        {VK_PRIOR, kcAlways, 0, [](E& e, K& k) { e.PgUpPress(k.shift); }, "PgUp: PgUpPress"},
        {VK_NEXT, kcAlways, 0, [](E& e, K& k) { e.PgDownPress(k.shift); }, "PgDn: PgDownPress"},
        {VK_HOME, kcAlways, 0, [](E& e, K& k) { e.HomePress(k.shift); }, "Home: HomePress"},
        {VK_END, kcAlways, 0, [](E& e, K& k) { e.EndPress(k.shift); }, "End: EndPress"},
        {VK_F1, kcAlways, 0, [](E& e, K& k) { e.F1Press(k.shift); }, "F1: F1Press"},
        {VK_F3, kcAlways, 0, [](E& e, K&) { e.SearchByInfo(); }, "F3: SearchByInfo"},
        {VK_CAPITAL, kcAlways, 0,
         [](E& e, K&) {
             if (e.OnCapsChange) e.OnCapsChange(&e, (GetKeyState(VK_CAPITAL) & 1) != 0);
         },
         "Caps Lock: OnCapsChange"},
        {VK_NUMLOCK, kcAlways, 0,
         [](E& e, K&) {
             if (e.OnNumChange) e.OnNumChange(&e, (GetKeyState(VK_NUMLOCK) & 1) != 0);
         },
         "Num Lock: OnNumChange"},
        {VK_SCROLL, kcAlways, 0,
         [](E& e, K&) {
             if (e.OnScrollChange) e.OnScrollChange(&e, (GetKeyState(VK_SCROLL) & 1) != 0);
         },
         "Scroll Lock: OnScrollChange"},

        {'A', kcCtrlNoAltNoShift, S, [](E& e, K&) { e.SelectAll(); }, "Ctrl+A: SelectAll"},
        {'A', kcChordQ, RO | S | C, [](E& e, K&) { e.StartAppendMode(); }, "Ctrl+Q, A: StartAppendMode"},
        {'A', kcChordD, RO | S | C | R, [](E& e, K&) { e.DeleteAfter(); }, "Ctrl+D, A: DeleteAfter"},
        {'A', kcChordL, RO | S, [](E& e, K&) { e.SetLineCapacity(); }, "Ctrl+L, A: SetLineCapacity"},
        {'B', kcChordD, RO | S | C | R, [](E& e, K&) { e.DeleteBefore(); }, "Ctrl+D, B: DeleteBefore"},
        {'B', kcChordQ, RO | S | C | R, [](E& e, K&) { e.copyToBufferPending = true; }, "Ctrl+Q, B: copy to a buffer"},
        {'B', kcCtrlNoAlt, RO | S | R, [](E& e, K&) { e.pasteFromBufferPending = true; }, "Ctrl+B: paste a buffer"},
        {'B', kcChordK, RO | S | C | R,
         [](E& e, K&) {
             e.sortColPending = true;
             e.StartSelectSortCol();
         },
         "Ctrl+K, B: choose the sort column"},
        {'C', kcChordK, RO | S | C | R,
         [](E& e, K&) {
             e.Copy();
             e.Paste();
         },
         "Ctrl+K, C: Copy, Paste"},
        {'C', kcChordL, RO | S | C, [](E& e, K&) { e.ConvertLines(); }, "Ctrl+L, C: ConvertLines"},
        {'C', kcCtrlStar, R, [](E& e, K&) { e.Copy(); }, "Ctrl+C: Copy"},
        {'C', kcAltNoCtrl, 0,
         [](E& e, K& k) {
             if (k.shiftHeld)
                 e.RepeatCommand();
             else
                 e.DoCommand();
         },
         "Alt+C: DoCommand, with Shift RepeatCommand"},
        {'D', kcCtrlStar, R, [](E& e, K&) { e.chordD = true; }, "Ctrl+D: chord"},
        {'E', kcChordK, RO | S | C, [](E& e, K&) { e.WordToLower(); }, "Ctrl+K, E: WordToLower"},
        {'E', kcChordQ, RO | S | C, [](E& e, K&) { e.ExchangeSelection(); }, "Ctrl+Q, E: ExchangeSelection"},
        {'E', kcAltNoCtrl, 0, [](E& e, K&) { e.SetShowLineEnds(!e.ShowLineEnds); }, "Alt+E: ShowLineEnds"},
        {'F', kcChordK, RO | S | C, [](E& e, K&) { e.WordToUpper(); }, "Ctrl+K, F: WordToUpper"},
        {'F', kcChordL, RO | S | C, [](E& e, K&) { e.FillLinesToMargin(); }, "Ctrl+L, F: FillLinesToMargin"},
        {'F', kcCtrlStarShift, 0, [](E& e, K&) { e.SearchAll(nullptr); }, "Ctrl+Shift+F: SearchAll"},
        {'F', kcCtrlStarNoShift, 0, [](E& e, K&) { e.Search(); }, "Ctrl+F: Search"},
        {'H', kcCtrl, S, [](E& e, K&) { e.Help(); }, "Ctrl+H: Help"},
        {'I', kcChordK, RO | S | C | R, [](E& e, K&) { e.DoIndent(); }, "Ctrl+K, I: DoIndent"},
        {'I', kcCtrlStarShift, RO | R, [](E& e, K&) { e.DoIndent(); }, "Ctrl+Shift+I: DoIndent"},
        {'J', kcCtrl, R,
         [](E& e, K&) {
             e.chordJ = true;
             e.keyText.Clear();
         },
         "Ctrl+J: line jump"},
        {'K', kcCtrlStar, R, [](E& e, K&) { e.chordK = true; }, "Ctrl+K: chord"},
        {'L', kcCtrl, S, [](E& e, K&) { e.chordL = true; }, "Ctrl+L: chord"},
        {'L', kcChordK, RO | S | C | R, [](E& e, K&) { e.LineInsertText(); }, "Ctrl+K, L: LineInsertText"},
        {'M', kcCtrl, RO | R,
         [](E& e, K& k) {
             if (k.shiftHeld) {
                 e.RecordParamMacro();
             } else {
                 e.chordM = true;
                 e.StartMacro();
             }
         },
         "Ctrl+M: StartMacro, with Shift RecordParamMacro"},
        {'M', kcChordK, S | C,
         [](E& e, K&) {
             e.SetMarginPos(e.CurCol);
             e.RefreshLines(-1);
         },
         "Ctrl+K, M: SetMarginPos"},
        {'M', kcChordL, RO | S | C, [](E& e, K&) { e.MergeSelectedLines(); }, "Ctrl+L, M: MergeSelectedLines"},
        {'N', kcCtrlNoAlt, S, [](E& e, K&) { e.NextMarker(); }, "Ctrl+N: NextMarker"},
        {'N', kcAltNoCtrl, S, [](E& e, K&) { e.SetShowLineNumbers(!e.ShowLineNumbers); }, "Alt+N: ShowLineNumbers"},
        {'N', kcChordK, RO | S | C, [](E& e, K&) { e.BlockToUpper(); }, "Ctrl+K, N: BlockToUpper"},
        {'N', kcChordQ, S | C, [](E& e, K&) { e.GoToNextBlock(); }, "Ctrl+Q, N: GoToNextBlock"},
        {'O', kcChordK, RO | S | C, [](E& e, K&) { e.BlockToLower(); }, "Ctrl+K, O: BlockToLower"},
        {'P', kcChordQ, S | C, [](E& e, K&) { e.GoToPrevBlock(); }, "Ctrl+Q, P: GoToPrevBlock"},
        {'P', kcChordL, RO | S | C, [](E& e, K&) { e.ReverseLinesByParagraph(); }, "Ctrl+L, P: ReverseLinesByParagraph"},
        {'P', kcCtrlNoAlt, S, [](E& e, K&) { e.PrevMarker(); }, "Ctrl+P: PrevMarker"},
        {'P', kcAlt, 0, [](E& e, K&) { e.PlayParamMacro(); }, "Alt+P: PlayParamMacro"},
        {'P', kcChordK, S | C, [](E& e, K&) { e.SelectParagraph(); }, "Ctrl+K, P: SelectParagraph"},
        {'Q', kcCtrlStar, R,
         [](E& e, K&) {
             e.chordQ = true;
             e.keyText.Clear();
             e.keyRepeat = e.charRepeat = 0;
         },
         "Ctrl+Q: chord and repeat count"},
        {'R', kcChordK, RO | S | C, [](E& e, K&) { e.ReadBlock(); }, "Ctrl+K, R: ReadBlock"},
        {'R', kcChordQ, RO | S | C, [](E& e, K&) { e.RepSeqStart(); }, "Ctrl+Q, R: RepSeqStart"},
        {'R', kcChordL, RO | S | C, [](E& e, K&) { e.ReverseLines(); }, "Ctrl+L, R: ReverseLines"},
        {'R', kcCtrlStar, RO | S, [](E& e, K&) { e.Replace(); }, "Ctrl+R: Replace"},
        {'S', kcChordK, RO | S | C | R, [](E& e, K&) { e.SortLines(); }, "Ctrl+K, S: SortLines"},
        {'S', kcChordQ, S | C | R, [](E& e, K&) { e.Setup(); }, "Ctrl+Q, S: Setup"},
        {'S', kcCtrlStar, 0, [](E& e, K&) { e.Save(); }, "Ctrl+S: Save"},
        {'T', kcChordQ, S | C,
         [](E& e, K&) {
             e.SetShowTabs(!e.ShowTabs);
             if (e.OnTabsChange) e.OnTabsChange(&e, e.ShowTabs);
         },
         "Ctrl+Q, T: ShowTabs"},
        {'T', kcChordL, RO | S | C, [](E& e, K&) { e.TruncateLinesAtMargin(); }, "Ctrl+L, T: TruncateLinesAtMargin"},
        {'T', kcCtrlStar, 0, [](E& e, K&) { e.ChangeTab(e.CurCol); }, "Ctrl+T: ChangeTab"},
        {'U', kcChordK, RO | S | C | R, [](E& e, K&) { e.DoUnindent(); }, "Ctrl+K, U: DoUnindent"},
        {'U', kcCtrlStarShift, RO | R, [](E& e, K&) { e.DoUnindent(); }, "Ctrl+Shift+U: DoUnindent"},
        {'V', kcCtrlStar, RO | R, [](E& e, K&) { e.Paste(); }, "Ctrl+V: Paste"},
        {'W', kcChordK, S | C, [](E& e, K&) { e.WriteBlock(); }, "Ctrl+K, W: WriteBlock"},
        {'W', kcChordQ, RO | S | C, [](E& e, K&) { e.RepeatLastWord(); }, "Ctrl+Q, W: RepeatLastWord"},
        {'W', kcCtrlStar, 0, [](E& e, K&) { e.SelectWord(); }, "Ctrl+W: SelectWord"},
        {'X', kcCtrlStar, RO | R, [](E& e, K&) { e.Cut(); }, "Ctrl+X: Cut"},
        {'X', kcChordQ, RO | S | C, [](E& e, K&) { e.DeleteLineHead(); }, "Ctrl+Q, X: DeleteLineHead"},
        {'Y', kcCtrlStar, RO,
         [](E& e, K& k) {
             for (int i = 0; i < k.repeat; ++i) e.DeleteLine();
         },
         "Ctrl+Y: DeleteLine"},
        {'Y', kcChordQ, RO | S | C, [](E& e, K&) { e.DeleteLineTail(); }, "Ctrl+Q, Y: DeleteLineTail"},
        {'Z', kcCtrl, RO | S | R, [](E& e, K&) { e.Undo(); }, "Ctrl+Z: Undo"},
    };
    count = static_cast<int>(sizeof kRows / sizeof *kRows);
    return kRows;
}

bool TTextEditor::KeyConditionHolds(TTextEditorKeyCondition condition, const TTextEditorKeyEvent& event) const {
    const bool ctrlStar = event.ctrl && !lastAlt;
    switch (condition) {
        case kcAlways: return true;
        case kcCtrl: return event.ctrl;
        case kcCtrlStar: return ctrlStar;
        case kcCtrlStarShift: return ctrlStar && event.shiftHeld;
        case kcCtrlStarNoShift: return ctrlStar && !event.shiftHeld;
        case kcCtrlNoAlt: return event.ctrl && !event.alt;
        case kcCtrlNoAltNoShift: return event.ctrl && !event.alt && !event.shiftHeld;
        case kcAlt: return event.alt;
        case kcAltNoCtrl: return event.alt && !event.ctrl;
        case kcChordK: return chordK;
        case kcChordQ: return chordQ;
        case kcChordL: return chordL;
        case kcChordD: return chordD;
    }
    return false;
}

const TTextEditorKeyRow* TTextEditor::FindKeyRow(WORD key, TShiftState shift) const {
    const TTextEditorKeyEvent event = TTextEditorKeyEvent::Of(key, shift);
    int count = 0;
    const TTextEditorKeyRow* rows = KeyTable(count);
    for (int i = 0; i < count; ++i)
        if (rows[i].key == key && KeyConditionHolds(rows[i].condition, event)) return &rows[i];
    return nullptr;
}

void TTextEditor::EndChord(TTextEditorKeyCondition condition) {
    switch (condition) {
        case kcChordK: chordK = false; break;
        case kcChordQ: chordQ = false; break;
        case kcChordL: chordL = false; break;
        case kcChordD: chordD = false; break;
        default: break;
    }
}
