// TTextEditor: a multi-line plain-text editor control on the scroll control,
// with syntax colouring, a command language, macros, search, undo and line
// operations spread over worker threads.
//
// The class is implemented by several source units, one per group of
// members; each group below names its unit. Text is code-page bytes, one
// TString per line in `lines`, lines and columns counted from 0. The view
// scrolls by lines (VScrollStep is the line height) and by characters
// (HScrollStep is the character width), so VPos and HPos count lines and
// columns. Geometry, in scrolled-area pixels: line i spans i x h to
// (i + 1) x h, column c begins at c x w + GetColGap().
#pragma once

#include <cstdio>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "Events.h"
#include "Expression.h"
#include "ScrollControl.h"
#include "String.h"
#include "StringContainer.h"
#include "TaskDispatcher.h"
#include "TextEditorCommands.h"
#include "TextEditorMacro.h"
#include "TextEditorMarkers.h"
#include "TextEditorRuntimeVars.h"
#include "TextEditorSchemes.h"
#include "TextEditorSearchResults.h"
#include "TextEditorTypes.h"
#include "TextEditorUndoItems.h"
#include "ValueContainers.h"

class TComboBox;
class TForm;
class TLangTable;
class TListBox;
class TPopupMenu;
class TSaveDialog;
class TStrings;
class TTextEditor;
class TTextEditorLineTask;
class TTextEditorSearchAllDlg;
class TTextEditorSearchDlg;
class TTextEditorSetupDlg;
enum TTextEditorKeyCondition : uint8_t;
struct TTextEditorKeyEvent;
struct TTextEditorKeyRow;
struct TTextEditorSettings;
struct TTextEditorSettingsField;
struct TTextEditorSetupValues;
struct TTextEditorState;

// One search request. The editor owns two: searchInfo (search and replace)
// and searchAllInfo (search all, with fromStart set).
struct TTextEditorSearchInfo {
    TString text;
    // Compiled from text on the editor's runtimeVars when evalExpression is set.
    TExpression expression;
    bool caseSensitive = false;
    bool wholeWords = false;
    bool regExp = false;
    bool evalExpression = false;
    bool forward = true;
    bool entireText = true;
    bool fromStart = false;
};

// ---- Events: every handler gets the editor first, except OnEvent and
// OnSearchAllPrepare, which get the code alone ----
// OnCursorMove (column, line) and OnProgressChange (total, done).
using TTextEditorPositionEvent = std::function<void(TTextEditor* editor, int x, int y)>;
using TTextEditorEditModeEvent = std::function<void(TTextEditor* editor, TTextEditorEditMode editMode)>;
// OnModifyChange, OnCapsChange, OnNumChange, OnScrollChange, OnTabsChange.
using TTextEditorStateEvent = std::function<void(TTextEditor* editor, bool state)>;
// OnCtrlEnter and OnCtrlF1: the word under the caret.
using TTextEditorWordEvent = std::function<void(TTextEditor* editor, TString word)>;
using TTextEditorLineEvent = std::function<void(TTextEditor* editor, int line)>;
// The word under the mouse with its column (x) and line (y).
using TTextEditorOverWordEvent = std::function<void(TTextEditor* editor, TString word, int x, int y)>;
using TTextEditorMacroEvent = std::function<void(TTextEditor* editor, TTextEditorMacroEventType event, int info)>;
using TTextEditorSortColEvent = std::function<void(TTextEditor* editor, TTextEditorSortCol event)>;
using TTextEditorRepSeqEvent = std::function<void(TTextEditor* editor, TTextEditorRepSeqEventType event)>;
// A line block gives (true, first line, last line), an in-line selection
// (false, first column, last column), no selection (false, -1, -1).
using TTextEditorSelectionEvent = std::function<void(TTextEditor* editor, bool lines, int start, int end)>;
using TTextEditorDlgHelpEvent = std::function<void(TTextEditor* editor, TTextEditorDlg dlg)>;
// OnEvent and OnSearchAllPrepare.
using TTextEditorCodeEvent = std::function<void(int event)>;
// SearchAll's callback: the chosen destination's index.
using TTextEditorSearchAllCallback = std::function<void(int destination)>;
// SearchAllM's factory: the list box for a destination name, or null.
using TTextEditorListBoxFactory = std::function<TListBox*(TString name)>;

class TTextEditor : public TScrollControl {
    CLASSLIB_CLASS(TTextEditor, TScrollControl)

public:
    // ---- Construction, initialisation, destruction: TextEditorInit.cpp ----
    // Uses the shared language table (the first editor loads it), then Init.
    explicit TTextEditor(TComponent* owner);
    ~TTextEditor() override;
    // Sets every default: the settings and state, the "Default" scheme, the
    // help text, the shared forms still missing (owned by the package), the
    // hidden command box (none at design time), the command table and the
    // two context menus (filled by InitPopupMenu). Running it again resets
    // the schemes and the commands and refills the menus.
    void Init();

    // ---- New virtual operations, in their slot order after the base's last
    // (ShiftWheel). ORDER VIRTUALS: keep this order; each names its unit. ----
    virtual void InitPopupMenu();  // TextEditorMenus.cpp
    // TextEditorPaint.cpp: FillLineBk(line, BkColor).
    virtual void PaintLineBk(int line);
    // TextEditorPaint.cpp: fills the line's whole band, gutter included.
    virtual void FillLineBk(int line, TColor color);
    // TextEditorPaint.cpp: paints one line completely: background,
    // selection, text, colouring, line-end mark, section number, line number.
    // A line at or past the end of the text paints an empty band (no line-end
    // mark, no line number).
    virtual void PaintLine(int line);
    virtual void GapClick();                 // TextEditorMouse.cpp
    virtual void OverWord(int x, int y);     // TextEditorMouse.cpp
    virtual void PlayMacro(TTextEditorMacro macro, TStringContainer params);  // TextEditorMacroRecording.cpp
    // TextEditorEditingKeys.cpp, to F1Press: the keys' handlers, each given
    // the key's modifiers. ReturnPress to InsertPress do nothing at all
    // while ReadOnly; the page keys, Home, End and F1 work regardless. Each
    // text change is one undo step, and a run of Enters, Backspaces or
    // Deletes at one place is one. A caret beyond its line's end is allowed.
    // Enter breaks the line at the caret (insert mode; AutoIndent indents the
    // new line like the nearest non-empty line above), or only moves to the
    // next line (overwrite mode); Ctrl+Enter is CtrlEnterPress.
    virtual void ReturnPress(TShiftState shift);
    // OnCtrlEnter with the word at the caret, when set and the word is not empty.
    virtual void CtrlEnterPress();
    virtual void CtrlEnter(TString word);
    // SmartTab: blanks up to the column under the next word of the nearest
    // non-empty line above. Else TabSize columns (Ctrl: up to the next tab
    // stop): blanks inserted in insert mode, the caret alone in overwrite
    // mode (at most HMax); Shift goes back as far (to the previous tab stop).
    virtual void TabPress(TShiftState shift);
    // Deletes the selection (without PersistentBlocks), else unindents
    // (BackspaceUnindent), removes the line's part before the caret (Ctrl),
    // joins the line to the one above (column 0) or removes the character
    // before the caret. Bookmarks stay on their text.
    virtual void BackspacePress(TShiftState shift);
    // Shift: Cut; Ctrl: DeleteWord; else the selection (without
    // PersistentBlocks), the character at the caret, or the line break after
    // the line (the line padded with blanks to the caret first).
    virtual void DeletePress(TShiftState shift);
    // Deletes the selection first, then the word at the caret and the blanks after it.
    virtual void DeleteWord();
    // Ctrl: Copy; Shift: Paste; else toggles the edit mode, remakes the caret
    // (with the focus) and fires OnEditModeChange.
    virtual void InsertPress(TShiftState shift);
    // A page (the lines the client height holds) up or down, within the
    // text; Ctrl: to the first or the last visible line. Shift extends the
    // line block, else the selection collapses onto the caret.
    virtual void PgUpPress(TShiftState shift);
    virtual void PgDownPress(TShiftState shift);
    // TextEditorEvents.cpp: OnCursorMove with (CurCol, CurLine).
    virtual void CursorMove();
    // Column 0, or with Ctrl line 0 (Ctrl+Shift selecting the lines above);
    // Shift extends the in-line selection to column 0.
    virtual void HomePress(TShiftState shift);
    // The line's end, or with Ctrl the last line (Ctrl+Shift selecting the
    // lines from the caret's on). Shift selects to the line's end; at the end
    // of a line short of MarginPos it fills the line with fillChar to the
    // margin (not while ReadOnly) and selects the fill. Nothing without lines.
    virtual void EndPress(TShiftState shift);
    // Ctrl: OnCtrlF1 with the word at the caret, when set and the word is not empty.
    virtual void F1Press(TShiftState shift);
    virtual void Copy();                     // TextEditorClipboard.cpp
    virtual void Paste();                    // TextEditorClipboard.cpp
    virtual void Cut();                      // TextEditorLineEditing.cpp
    virtual void Search();                   // TextEditorSearch.cpp, to Replace
    // Null when no destination is registered or the dialog is cancelled.
    virtual TListBox* SearchAll(TTextEditorSearchAllCallback callback);
    virtual TListBox* SearchAllM(TStringContainer& names, TTextEditorListBoxFactory factory);
    virtual void Replace();
    virtual void MakeMarker(int number);     // TextEditorClipboard.cpp, to NextMarker
    virtual void MarkerPress(int number);
    virtual void PrevMarker();
    virtual void NextMarker();
    virtual void StartMacro();               // TextEditorMacroRecording.cpp, to DeleteParamMacro
    virtual void RecordMacro(int slot);
    virtual void StopMacroRecording(bool suppress);
    virtual void PlayMacro(int slot);
    virtual void RecordParamMacro();
    virtual void PlayParamMacro();
    virtual void PlayParamMacro(TString name);
    virtual void DeleteParamMacro();

    // ---- Message map and window-level handlers: TextEditorWindow.cpp ----
    void Dispatch(TMessage& message) override;
    void WndProc(TMessage& message) override;

    // ---- Published properties, their getters and setters, and the property
    // table: TextEditorProperties.cpp ----
    // Setters marked "repaints" store and invalidate the control; "plain" ones
    // only store. Before the window exists nothing is drawn.
    const std::string& GetFontName() const { return FontName; }
    // Stores the name, sets it on the control's and the canvas's font,
    // measures the font (height + external leading, average character width,
    // each at least 1; on a screen-compatible DC before the window exists),
    // sets HScrollStep and VScrollStep to GetCharWidth() and GetLineHeight(),
    // refreshes the caret when the editor has the focus, repaints.
    void SetFontName(const std::string& name);
    int GetFontSize() const { return FontSize; }
    // Sets the font's size in points, then as SetFontName.
    void SetFontSize(int size);
    int GetLineSpace() const { return LineSpace; }
    // Repaints; VScrollStep follows the new line height.
    void SetLineSpace(int space);
    // The ColGap property (the column gap alone; GetColGap() is the gutter).
    int GetColGapSetting() const { return ColGap; }
    void SetColGap(int gap);  // repaints
    int GetTabSize() const { return TabSize; }
    void SetTabSize(int size) { TabSize = size; }
    int GetCurLine() const { return CurLine; }
    // Accepts 0 to VMax: stores, moves the caret (SetCaretPos), CursorMove;
    // any other value changes nothing.
    void SetCurLine(int line);
    int GetCurCol() const { return CurCol; }
    // Accepts 0 to HMax: SetCursorPosX, moves the caret; else nothing.
    void SetCurCol(int col);
    bool GetModified() const { return Modified; }
    // Stores, then fires OnModifyChange, also when the value is unchanged.
    void SetModified(bool value);
    bool GetReadOnly() const { return ReadOnly; }
    // An unchanged value does nothing; else stores, and with the focus hides
    // the caret when set and shows it again when cleared. No repaint.
    void SetReadOnly(bool value);
    bool GetAutoSave() const { return AutoSave; }
    void SetAutoSave(bool value) { AutoSave = value; }
    TColor GetTextColor() const { return TextColor; }
    void SetTextColor(TColor color);  // repaints
    TColor GetSelBkColor() const { return SelBkColor; }
    void SetSelBkColor(TColor color);  // repaints
    TColor GetSelTextColor() const { return SelTextColor; }
    void SetSelTextColor(TColor color);  // repaints
    TColor GetTabColor() const { return TabColor; }
    void SetTabColor(TColor color);  // repaints
    bool GetShowTabs() const { return ShowTabs; }
    void SetShowTabs(bool value);  // repaints
    TColor GetMarkerBkColor() const { return MarkerBkColor; }
    void SetMarkerBkColor(TColor color);  // repaints
    TColor GetMarkerTextColor() const { return MarkerTextColor; }
    void SetMarkerTextColor(TColor color);  // repaints
    bool GetShowRemarks() const { return ShowRemarks; }
    void SetShowRemarks(bool value);  // repaints
    TColor GetRemarkColor() const { return RemarkColor; }
    void SetRemarkColor(TColor color);  // repaints
    bool GetShowBoldWords() const { return ShowBoldWords; }
    // True clears ShowCommonBoldWords; repaints.
    void SetShowBoldWords(bool value);
    bool GetShowCommonBoldWords() const { return ShowCommonBoldWords; }
    // True clears ShowBoldWords; repaints.
    void SetShowCommonBoldWords(bool value);
    bool GetAutoIndent() const { return AutoIndent; }
    void SetAutoIndent(bool value) { AutoIndent = value; }
    bool GetSmartTab() const { return SmartTab; }
    void SetSmartTab(bool value) { SmartTab = value; }
    bool GetBackspaceUnindent() const { return BackspaceUnindent; }
    void SetBackspaceUnindent(bool value) { BackspaceUnindent = value; }
    bool GetEmptyUnindent() const { return EmptyUnindent; }
    void SetEmptyUnindent(bool value) { EmptyUnindent = value; }
    int GetIndentSize() const { return IndentSize; }
    void SetIndentSize(int size) { IndentSize = size; }
    bool GetDoubleClickLine() const { return DoubleClickLine; }
    void SetDoubleClickLine(bool value) { DoubleClickLine = value; }
    bool GetTextAtCursor() const { return TextAtCursor; }
    void SetTextAtCursor(bool value) { TextAtCursor = value; }
    int GetMarginPos() const { return MarginPos; }
    void SetMarginPos(int column);  // repaints
    bool GetShowMargin() const { return ShowMargin; }
    void SetShowMargin(bool value);  // repaints
    bool GetShowLineEnds() const { return ShowLineEnds; }
    void SetShowLineEnds(bool value);  // repaints
    TColor GetMarginColor() const { return MarginColor; }
    void SetMarginColor(TColor color);  // repaints
    bool GetPersistentBlocks() const { return PersistentBlocks; }
    void SetPersistentBlocks(bool value) { PersistentBlocks = value; }
    bool GetAutoLineBreak() const { return AutoLineBreak; }
    void SetAutoLineBreak(bool value) { AutoLineBreak = value; }
    bool GetDosFormat() const { return DosFormat; }
    void SetDosFormat(bool value) { DosFormat = value; }
    bool GetShowStrings() const { return ShowStrings; }
    void SetShowStrings(bool value);  // repaints
    TColor GetStringColor() const { return StringColor; }
    // The five syntax colours repaint only while their Show switch is on.
    void SetStringColor(TColor color);
    bool GetShowNumbers() const { return ShowNumbers; }
    void SetShowNumbers(bool value);  // repaints
    TColor GetNumberColor() const { return NumberColor; }
    void SetNumberColor(TColor color);
    bool GetShowChars() const { return ShowChars; }
    void SetShowChars(bool value);  // repaints
    TColor GetCharColor() const { return CharColor; }
    void SetCharColor(TColor color);
    bool GetShowSymbols() const { return ShowSymbols; }
    void SetShowSymbols(bool value);  // repaints
    TColor GetSymbolColor() const { return SymbolColor; }
    void SetSymbolColor(TColor color);
    bool GetShowDirectives() const { return ShowDirectives; }
    void SetShowDirectives(bool value);  // repaints
    TColor GetDirectiveColor() const { return DirectiveColor; }
    void SetDirectiveColor(TColor color);
    bool GetAllBlocks() const { return AllBlocks; }
    // Stores only.
    void SetAllBlocks(bool value);
    bool GetPresrveMarkers() const { return PresrveMarkers; }
    void SetPresrveMarkers(bool value) { PresrveMarkers = value; }
    char GetColSeparator() const { return ColSeparator; }
    void SetColSeparator(char separator) { ColSeparator = separator; }
    bool GetShowLineNumbers() const { return ShowLineNumbers; }
    // Repaints, then lineNumbersWidth := GetLineNumbersWidth().
    void SetShowLineNumbers(bool value);
    TTextEditorEditMode GetEditMode() const { return EditMode; }
    TColor GetSelBkColor2() const { return selBkColor2; }

    // ---- Character classes: TextEditorCharacters.cpp ----
    // 'a'-'z', 'A'-'Z' and the 18 accented letters of the Hungarian alphabet.
    static bool IsCharacter(char c);
    static bool IsDigit(char c);
    // One of the 22 symbol characters "+!%/=()[]<>#&@{},.-?:*".
    static bool IsSymbol(char c);

    // ---- Firing events: TextEditorEvents.cpp ----
    // OnProgressChange with (total, done): (0, -1) before a long operation,
    // (count, index) while it runs, (0, -2) when it ends, (0, -3) after a
    // comparison of a single-threaded sort, (0, -4) at a waiting sort's tick.
    void ProgressChange(int total, int done);
    // OnEvent with the code.
    void Event(int code);
    // OnSelectionChange with inclusive ends (see TTextEditorSelectionEvent).
    void SelectionChanged();

    // ---- Text geometry: TextEditorGeometry.cpp ----
    // The font's height with its external leading, plus LineSpace.
    int GetLineHeight() const;
    // The font's average character width; every column is this wide.
    int GetCharWidth() const;
    // The gutter's width: ColGap, or with line numbers lineNumbersWidth + ColGap + 4.
    int GetColGap() const;
    // 0 with line numbers off, else the pixel width of the last line's number
    // (line count - 1).
    int GetLineNumbersWidth();
    // (0, line x h) to (gap + HMax x HScrollStep + ClientWidth - 1, (line + 1) x h - 1).
    RECT GetLineRect(int line);
    // The selection in scrolled-area pixels; all four -1 without one.
    RECT GetBlockRect();
    // selBkColor2 for the lines of a line block from selMark on, else SelBkColor.
    TColor GetSelBkColor(int line) const;

    // ---- Painting and syntax colouring: TextEditorPaint.cpp (lines,
    // overlays) and TextEditorSyntaxColouring.cpp (the colouring passes);
    // PaintLineBk, FillLineBk and PaintLine are in the slot list ----
    // Draws text at the line's text start, transparent. With ShowDirectives,
    // a text whose first non-blank is '#' first takes DirectiveColor and the
    // result is true. Nothing is drawn for an empty text.
    bool DrawLineText(int line, int lineHeight, const TString& text);
    // The tab-stop guides, the bookmark boxes, the dotted right margin.
    void DrawTabs();
    void PaintMarkers();
    void DrawMargin();
    // A window DC with the margin pen (penStyle, width 1, MarginColor) selected.
    HDC SelectMarginPen(int penStyle);
    void ReleaseMarginPen(HDC dc);

    // ---- View refresh: TextEditorRefresh.cpp ----
    // Repaints one line band (and the overlays that cross it) at once,
    // outside the paint cycle; nothing without a window or off the view.
    void RepaintLine(int line);
    // -1: every visible line (and the one after the last line); else the
    // visible lines from max(from, VPos) on.
    void RefreshLines(int from);
    // Adds delta to the line of every bookmark on line from or below.
    void RefreshMarkers(int from, int delta);
    // The text becomes a copy of text, tabs expanded, view reset, not
    // modified, the undo stack empty; a help shown goes first.
    void NewStrings(TStringContainer& text);
    // Resets view, caret (0, 0), insert mode and selection after new text;
    // VMax := max(line count - 1, 0); HMax from the text when measureWidth.
    void RefreshSettings(bool repaint, bool measureWidth);
    int GetMaxLineLength() const;
    using TScrollControl::SetHMax;
    // Widens HMax to the line's length; never narrows it.
    void SetHMax(const TString& line);
    // Centres a dialog over the editor in screen coordinates.
    void SetupDlgPos(TForm* dialog);
    // The base's scroll with the caret hidden meanwhile (shown again unless ReadOnly).
    void ScrollClientArea(int bar, int delta);

    // ---- The system caret: TextEditorCaret.cpp ----
    // Destroys and re-creates the caret: 1 pixel wide in insert mode, one
    // character wide in overwrite mode, one line high; shown unless
    // ReadOnly; placed at (CurCol, CurLine).
    void RefreshCaret();
    // While the control shows: destroys its own caret (another window's stays).
    void CaretOff();
    // While the control shows: RefreshCaret.
    void CaretOn();

    // ---- Tab and HTML entity conversion: TextEditorConversions.cpp ----
    // Each works on every line; none repaints or marks the text modified.
    // Expands tabs to TabSize columns (a TabSize below 1 counts as 1).
    void TabsToSpaces();
    // The same for one text whose first character stands at column
    // startColumn (a negative one counts as 0).
    void ExpandTabs(TString& text, int startColumn) const;
    void TextToHTML();
    void HTMLToText();
    // "&" + name + ";" of row i (0 to 17) from the language texts; "" outside.
    TString GetHTMLTittleChar(int i);

    // ---- Caret position: TextEditorCursor.cpp ----
    // prevCol := CurCol, CurCol := x; no clamping, no caret move.
    void SetCursorPosX(int x);
    // prevLine := CurLine, CurLine := y; likewise.
    void SetCursorPosY(int y);
    // Scrolls the view just far enough that (column x, line y) shows (a line
    // below the view becomes the last visible one, a column right of it the
    // last visible column), puts the system caret at client pixel
    // (w x (x - HPos) + GetColGap(), h x (y - VPos)) when this editor owns
    // the caret (another window's caret stays), then CursorMove. Returns the
    // number of lines the view scrolled, up or down (0 when it did not).
    // Nothing is clamped: callers keep x and y inside the text.
    int SetCaretPos(POINT position);
    int SetCaretPos(int column, int line) { return SetCaretPos(POINT{column, line}); }
    // SetCaretPos's placing step alone: the system caret to the cell of
    // (column, line) in the view as it stands, when this editor owns it.
    void PlaceSystemCaret(int column, int line);

    // ---- Selection and word moves: TextEditorSelection.cpp ----
    // Collapses the selection onto the caret (selLine stays), selMark := -1,
    // SelectionChanged; no repaint. With PersistentBlocks only a forced
    // clear does anything.
    void ClearSelection(bool force);
    // After CurLine moved up (SelUp) or down (SelDown) by n lines (1 for the
    // arrow keys, the lines moved for the page keys, measured from
    // pageAnchorLine): extend or shrink the line block, so that Shift+Down
    // from line a to b selects [a, b) and only at the end of the text does
    // the caret's own line join. An in-line selection is dropped first;
    // without a line block the block starts empty on the line the caret left
    // (prevLine). The block stays within [0, line count], its start at or
    // before its end.
    void SelUp(int n);
    void SelDown(int n);
    // A line block exists and runs through the last line of the text.
    bool LineBlockReachesEnd() const;
    // After CurCol moved left or right by n (prevCol is where it was): extend
    // or shrink the in-line selection of the caret line; crossing the anchor
    // turns it round. Without one it starts empty on prevCol.
    void SelLeft(int n);
    void SelRight(int n);
    // CurCol to the start of the previous word, or column 0 (CtrlLeft), or
    // of the next word, or the line's end (CtrlRight); moved gets the columns
    // moved. Columns past the line's end read as blanks. selMark := -1.
    void CtrlLeft(int& moved);
    void CtrlRight(int& moved);

    // ---- Line primitives: TextEditorLines.cpp ----
    // The one accessor through which the editor reads a line: the text of
    // line `line`, or an empty text for a line the store does not have.
    const TString& GetLineText(int line) const;
    // Insert one line, or all lines of text, before `line` (clipped to
    // 0..line count, so the line count appends); section ends at or after
    // `line` move down by the number inserted. Bookmarks do not move.
    void Insert(int line, const TString& text);
    void Insert(int line, TStringContainer& text);
    // As Insert of a container, the lines taken out of text (left empty)
    // rather than copied: one move of the lines after `line`, however many.
    void InsertTaking(int line, TStringContainer& text);
    // Removes lines first..last (clipped to the text; an empty range does
    // nothing) and fixes the sections: one wholly deleted becomes (-1, -1).
    void Delete(int first, int last);
    void Delete(int line);
    // Inserts a text of one or more lines at the caret as one undo step: one
    // line is left selected in-line with the caret after it; more lines are
    // left selected as a line block with the caret after the inserted text.
    // Bookmarks stay on their text. Nothing when text is empty, ReadOnly is
    // set or the caret line lies outside the text; text is left as it was.
    void InsertText(TStringContainer& text);
    // The same, taking the lines out of text rather than copying them (text
    // keeps any of its lines): for a caller's container it drops afterwards.
    // A caller that made the lines with the capacity rule of lines and knows
    // the length of the longest passes it as longest, which spares a pass
    // over them; -1 has them looked at.
    void InsertTextTaking(TStringContainer& text, int longest = -1);
    // Append-mode typing of c at col of line in overwrite mode: the line is
    // padded to MarginPos, the character at MarginPos - k - 1 (k = appendCount,
    // at most MarginPos - col - 1) drops out, the last k typed characters move
    // one column left and c takes column MarginPos - 1. A column at or beyond
    // the margin, or a line outside the text, changes nothing.
    void AppendLineInInsertMode(int line, int col, char c);

protected:
    void InsertTextFrom(TStringContainer& text, bool take, int longest);

public:

    // ---- Command table and context menus: TextEditorMenus.cpp (its virtual operations are in the slot list) ----
    // Appends a command (no check for duplicates: a later one of the same
    // name is never reached).
    void AddCommand(const TString& name, TTextEditorCommandHandler handler);
    // Init's step: the thirty-one commands in their matching order.
    void AddCommandTable();
    // Each popup handler runs its operation; PopupGapClick sets the bookmark
    // whose digit the clicked item's Tag holds on line gapClickLine (CurLine
    // is that line during the call and is put back); a sender that is no
    // menu item is ignored.
    void PopupCutClick(TObject* sender);
    void PopupCopyClick(TObject* sender);
    void PopupPasteClick(TObject* sender);
    void PopupDeleteClick(TObject* sender);
    void PopupSelectAllClick(TObject* sender);
    void PopupGapPrevClick(TObject* sender);
    void PopupGapNextClick(TObject* sender);
    void PopupGapClick(TObject* sender);

    // ---- Command line: TextEditorCommandLine.cpp ----
    // Shows the command box over the caret cell, two thirds of the editor's
    // width (pulled back to end at the client's right edge when it would
    // stick out), and focuses it; its text stays. Nothing without a box.
    void DoCommand();
    // Runs the first command the line's word begins; then the box hides, the
    // editor takes the focus, the box's text enters its history (16 lines)
    // and lastCommand becomes the line. A word that selects no command (an
    // empty one included) shows "Invalid command" and changes nothing.
    // Nothing at all while a line command runs.
    void ExecCommand(TString& line);
    // Runs lastCommand again; nothing before a command has run.
    void RepeatCommand();
    void OnCommandComboKeyDown(TObject* sender, WORD& key, TShiftState shift);
    void OnCommandComboKeyPress(TObject* sender, char& key);

    // ---- Expression frame, working range and command targets:
    // TextEditorCommandFrame.cpp ----
    // Compiles text on variables (the editor's runtimeVars in the second
    // form); a text that does not compile gets WrongExpression and false.
    bool CreateExpression(const TString& text, TExpression& expression, TVariableList* variables);
    bool CreateExpression(const TString& text, TExpression& expression);
    // The error box "Wrong expression: text" under "Expression", OK only.
    void WrongExpression(const TString& text);
    // The line block's first and last line, else 0 and line count - 1.
    void GetWorkingRange(int& first, int& last);
    // The non-empty lines joined to line above and below it; line itself is
    // not tested, so an empty line between two paragraphs takes in both.
    // Lines outside the text count as empty (first = last = line then).
    void GetParagraphLines(int line, int& first, int& last);
    // The same from the caret line.
    void GetParagraphLines(int& first, int& last);
    // "text" names lines, "b<d>", "buf<d>" and "buffer<d>" (one digit) name
    // buffers[d], compared exactly; any other name is false, target left.
    bool IsText(const TString& name, TStringContainer*& target);
    // "cur", "prev" and "next": the line block, or the n = block size lines
    // before or after it, or without a block the caret line and the lines
    // above and below it. False when the block starts before line 0 or ends
    // past the last line, and for any other name (first and last left).
    bool IsLine(const TString& name, int& first, int& last);
    // For the columns rect.left and rect.right of line: 2 for a border
    // ('+' at both, only '-' and '+' between), 1 for a row ('|' or '+' at
    // both), 0 otherwise, also when the line does not reach both columns.
    int CheckTableLine(RECT& rect, TString& line);
    // The ASCII table around the caret: left and right the first and last
    // '|' of the caret line, top and bottom the outer border lines (inner
    // borders are passed). False, rect left, when the caret line has no '|'
    // or a border is missing.
    bool GetTableRect(RECT& rect);
    // Shows text in the calc result dialog, all of it selected, modally.
    void ShowCalcResult(const TString& text);
    // The same in the apply result dialog (apply, for).
    void ShowApplyResult(const TString& text);
    // The Help controls' click handler: OnDlgHelp with the dialog whose form
    // (by class, derived ones included) holds the sender as its btnHelp:
    // search, replace, go-to-line, settings or macro list. Any other sender,
    // or no handler, does nothing.
    void DlgHelpHandler(TObject* sender);

    // ---- Line-block commands: TextEditorLineBlockCommands.cpp ----
    // Keywords match by prefix unless named whole ("hl", "rect", "col",
    // "on"); case matters. A malformed argument, a negative count or one
    // whose result would pass 2^31 - 1 lines or characters does nothing; a
    // condition or expression that does not compile shows "Wrong expression"
    // and changes nothing. Forms that move lines without an undo step of
    // their own empty the undo stack.
    // "[n] [where condition] [format: expression]": the selection to buffer n
    // (0-9) or the clipboard; with a condition, the lines of the working
    // range for which it holds (or the format's value for them): to the
    // clipboard each followed by CR LF, or as buffer n's lines (as line tasks
    // when multithreading is on; another n does nothing).
    void CmdCopy(TString& argument);
    // "n" pastes buffer n (0-9); "append" ["align"] [separator words] puts
    // the clipboard's lines behind the lines from the block's first (no more
    // than the block has) or the caret's on, adding lines at the text's end,
    // as one undo step; anything else is the ordinary paste.
    void CmdPaste(TString& argument);
    // "paragraph", "n" (-n: lines before the caret line), "a b", "while
    // condition", "until condition"; "2nd n" moves the block's end n further
    // with the mark at the old end. Brought inside the text.
    void CmdSelect(TString& argument);
    // "n": the block (or in-line selection) n more times after it, one undo
    // step; "text count ...": the texts repeated at the caret.
    void CmdRepeat(TString& argument);
    // "n": the block becomes section n (0 to 9,999; one sharing a line with
    // it refuses with a box); "go n", "select n"; "delete [n]". Sections that
    // are empty or lie past the text are not used.
    void CmdSection(TString& argument);
    // "sections a b"; "lines" with two or four lines (numbers, "prev", "next").
    void CmdExchange(TString& argument);
    // "on" or "off": the line numbers shown or hidden.
    void CmdNumbers(TString& argument);
    // "hl", "vl" [shift] ["nj"], "rect w [h]", "hs", "vs", "line number
    // [at begin|end|column] [gap n]", "lines n [length [character]]".
    void CmdInsert(TString& argument);
    // The argument behind every line of the working range; no undo step, the
    // text not marked modified.
    void CmdAppend(TString& argument);
    // In a table "col [w]" and "line [h]"; outside one "frame [margin]".
    void CmdAdd(TString& argument);
    // "hs", "n lines", "n chars", "head n", "tail n", "el", "dl", "ts",
    // "where condition".
    void CmdDelete(TString& argument);
    // "[condition,] expression", split at the commas outside brackets and
    // quotes: each line of the working range (for which the condition holds)
    // becomes the expression's value, one undo step, on worker threads when
    // multithreading is on.
    void CmdModify(TString& argument);
    // position -1 in front, -2 at the end, else at that column (a shorter
    // line padded first); gap blanks beside the number. No undo step.
    void InsertLineNumber(int position, int gap);
    // Removes the listed lines (outside ones ignored) in one pass; sections,
    // bookmarks (unset on removed lines), the selection and the caret follow.
    void DeleteLines(TIntContainer& lineIndices);
    // The empty lines of the working range, one undo step.
    void DeleteEmptyLines();
    // Of each run of equal adjacent lines of the working range, all but the first.
    void DeleteDuplicateLines();
    // The lines of the working range for which condition holds, one undo step.
    void SeekAndDestroy(const TString& condition);

private:
    // The forms of the line-block commands, each as its command describes it.
    void CopyWhere(const TString& condition, const TExpression* format, int buffer);
    void PasteAppend(const TString& separator, bool align);
    bool SelectWhile(const TString& condition, bool whileTrue, int64_t& end);
    void RepeatSelection(int n);
    void RepeatPairs(const TStringContainer& words);
    void RegisterSection(int n);
    void ExchangeSections(int a, int b);
    void ExchangeLines(const TStringContainer& words);
    void InsertHorizontalLine();
    void InsertVerticalLine(const TStringContainer& words);
    void InsertBarIntoRange(int col, bool join);
    void InsertRectangle(int width, int height);
    void InsertTableSpace();
    void InsertTableRow();
    void InsertLineNumbers(TStringContainer& words);
    void InsertLinesOfCharacter(int count, int length, char c);
    void AddTableColumn(const RECT& table, int width);
    void AddTableRows(const RECT& table, int rows);
    void AddFrame(int margin);
    void DeleteTableSpace();
    void DeleteLinesAtCaret(int n);
    void DeleteCharsAtCaret(int n);
    void DeleteLineEnds(bool head, int n);
    void RemoveCollectedLines(TTextEditorUndoItemType kind, int first, int last, const std::vector<int>& collected);
    // DeleteLines of a list that is ascending, without repeats and inside the text.
    void RemoveLines(const std::vector<int>& removed);

public:

    // ---- Margin and append mode: TextEditorMargin.cpp ----
    // The margin operations work on the lines of a line block inside the
    // text, else on the caret line; a negative MarginPos counts as 0. They
    // record no undo step and leave Modified alone.
    // Appends fill to the line until it is width long (never shortens it);
    // returns its length before. A line the text lacks: 0, nothing changed.
    int AlignLineToWidth(int line, int width, char fill);
    // Fills each line to the margin with fillChar; repaints them.
    void FillLinesToMargin();
    // Cuts each line to its first MarginPos characters; repaints them.
    void TruncateLinesAtMargin();
    // Only with a line block: its lines joined onto its first (no
    // separator), the others removed (bookmarks on them go to the joined
    // line), the block that line alone, the caret at column 0 of the line
    // after it (the last line at the end of the text). The undo stack is
    // emptied, since its records name lines below that moved up.
    void MergeSelectedLines();
    // appendMode on, appendCol := CurCol, appendCount := 0, the caret to the
    // margin column, then FillLinesToMargin.
    void StartAppendMode();
    // appendMode off, the caret back at appendCol on its line.
    void EndAppendMode();
    // The key handler's step for a key-down in append mode: Esc, Backspace,
    // Tab, PgUp, PgDn, End, Home and the arrows end it (EndAppendMode).
    // True for Esc, which then does nothing else; false for every other key,
    // and for any key outside append mode (nothing done).
    bool EndAppendModeByKey(WORD key);

    // ---- Line tasks: TextEditorLineTasks.cpp ----
    // Cuts the working range, brought inside the text, into clones of
    // prototype of chunkLines consecutive lines (a stored size below 1
    // counts as 10000), in line order, each with its lead lines (the up to
    // seven lines of the range before it). An empty range gives none.
    void CreateTasks(std::vector<TTaskDispatcher::TTask*>& tasks, TTextEditorLineTask& prototype);
    // Runs prototype's operation over the working range and returns the
    // longest line it wrote. Multithreading on: as tasks (CreateTasks) on a
    // TTextEditorDispatcher of GetThreadCount(threadCount, true) workers,
    // each finished task reported when reportProgress is set; off: here on
    // runtimeVars, each line reported, between ProgressChange(0, -1) and
    // (0, -2). Either way the tasks complete in line order afterwards, and
    // input is ignored meanwhile (BeginLineCommand).
    int RunLineTasks(TTextEditorLineTask& prototype, bool reportProgress);
    // Asks for an expression in the convert-lines dialog and converts the
    // working range by it (the next form). Whatever the answer: the status
    // text cleared, ProgressChange(0, -2), the text marked modified.
    void ConvertLines();
    // Each line of the working range becomes the string value of expression
    // (compiled on runtimeVars; one that does not compile shows "Wrong
    // expression" and changes nothing), as one undo step (utConvert); the
    // status text is "Converting" meanwhile, HMax widens to the longest line.
    void ConvertLines(const TString& expression);
    // Asks in the convert-lines dialog (as "Allocate lines") for an
    // expression over the line variables and "length" (the line's length)
    // and reserves, for every line, the capacity it gives: only integers 1
    // to 2^31 - 1 count, and a capacity that cannot be had leaves the line
    // as it was. The text itself never changes.
    void SetLineCapacity();
    // "on", "off", "info" alone; or a thread count (an integer, a negative
    // one stored as 1, or "auto" for the processor count, then at most
    // threadLimit when one is set, with a box saying so) that also turns
    // multithreading on, and an optional chunk size of at least 1 (another
    // chunk size keeps the stored one). Keywords match by prefix; anything
    // else changes nothing.
    void CmdMT(TString& argument);
    // Loads line `line` into runtimeVars.
    void NewLine(int line);
    // While a line command runs (these nest), the editor ignores keyboard,
    // mouse, scrolling, macro-playback and command input, puts off its
    // painting until the end and skips the auto-save on focus loss: a
    // progress handler may let messages through while workers change lines.
    void BeginLineCommand();
    void EndLineCommand();
    bool IsRunningLineCommand() const { return lineCommandDepth > 0; }

    // ---- Sort, calc and the remaining commands: TextEditorSortCommand.cpp,
    // TextEditorCalcCommands.cpp, TextEditorLineCommands.cpp ----
    void CmdSort(TString& argument);
    void CmdCalc(TString& argument);
    void CmdCount(TString& argument);
    void CmdECount(TString& argument);
    // The commands below (TextEditorLineCommands.cpp) work on the working
    // range unless said otherwise; a malformed argument does nothing and
    // reports nothing, an item that does not compile shows "Wrong
    // expression" naming it and changes nothing. Keywords match by prefix
    // unless said to be exact.
    // Exactly "" (the block, else every line), "p" or "par" (by paragraph),
    // "a" or "all" (every line); the undo stack goes when lines moved.
    void CmdReverse(TString& argument);
    // Items at top-level commas: "-v name<type>[=value]" defines a variable
    // of a private list that also holds the string "line"; the others but the
    // last are steps, evaluated in order for every line with "line" its text;
    // the last is the result, shown in the apply result dialog ("???" when
    // the last item is a definition). The lines do not change.
    void CmdApply(TString& argument);
    // Two words. Two texts ("text", b<d>, buf<d>, buffer<d>) exchange their
    // lines; the editor's text among them is new text (view reset, the undo
    // stack emptied, sections and bookmarks past its end dropped). Two
    // distinct line blocks (cur, prev, next) exchange their lines, and the
    // undo stack goes. A text or a block with itself does nothing.
    void CmdSwap(TString& argument);
    // Shuffles the lines of the range in place; one undo step.
    void CmdShuffle(TString& argument);
    // "on" and "off" show and hide the line ends.
    void CmdEnds(TString& argument);
    // "word" (the word at the caret), "" or any other word (the selection),
    // "paragraph" (the caret's paragraph, selected first) to lower or upper case.
    void CmdToLower(TString& argument);
    void CmdToUpper(TString& argument);
    // Capitalize(); the argument is ignored.
    void CmdCapitalize(TString& argument);
    // "+N" and "-N" from the caret line, "sel start", "sel end" (the first
    // and the last selected line), "sel N" (from the first selected line, a
    // negative N from the end), else line N ("%d"; 0 without a number). The
    // target is computed in 64 bits and kept inside the text; "" does nothing.
    void CmdGo(TString& argument);
    // "init items; line items[; final items]", items at top-level commas:
    // the init items (trimmed, "-v" definitions allowed, with "start" and
    // "end" the range's ends) are evaluated once, the line items for every
    // line with the editor's line variables, each line taking the value of
    // "line" afterwards, then the final items; the last of them is shown in
    // the apply result dialog. Nothing is evaluated before all items
    // compiled; one undo step.
    void CmdFor(TString& argument);
    // "name=[values] insert text": at the caret, one line per value of the
    // list, text with $(name) replaced by the value; the first holds the
    // caret line's part before the caret, the last its part after it. The
    // new lines are selected, the caret goes to the line after them; one
    // undo step. A list of no values, or too many, inserts nothing.
    void CmdForEach(TString& argument);
    // Two words, the text and its replacement (see TLineReplacer); on worker
    // threads when multithreading is on; one undo step.
    void CmdReplace(TString& argument);
    // "left", "right", "middle", "center" (Align) or "fit to margin"
    // (ArrangeLines); "" does nothing.
    void CmdAlign(TString& argument);
    // Words at top-level blanks: prefix and suffix, or one word for both,
    // each trimmed of '"', around every line of the range; one undo step.
    // "" does nothing.
    void CmdSurround(TString& argument);

    // ---- Editor tools: TextEditorTools.cpp ----
    // Prefixes each line of the line block: mode 1 " - ", 2 "1. ", "2. "...,
    // 3 Roman "I. " to "XCIX." (at most 99 lines), another mode nothing. Marks
    // the text modified; no undo record. Without a line block, or with more
    // than 99 lines for mode 3, an error box and nothing changes.
    void DoEnumeration(int mode);
    // Only for syntaxLanguage 3 (HTML): tag and attribute names in upper or
    // lower case, in place; repaints and marks the text modified.
    void ConvertHtmlCase(bool upper);
    // Fills the list with the Java methods of the text ("Class::method(types)"
    // when the text has more than one class) and binds its click to
    // MethodSelect (unbound when the editor goes); methodLines gets each
    // method's line. Null is ignored.
    void Parse(TListBox* list);
    // The caret to column 0 of the chosen method's line; the main form, when
    // it holds the editor, makes the editor its active control.
    void MethodSelect(TObject* sender);
    // The destructor's step: the method lists' clicks no longer reach the
    // editor. ForgetMethodList drops a list box that goes first.
    void UnbindMethodLists();
    void ForgetMethodList(const TComponent* listBox);
    // A search-all list's click: a hit row moves to its line; a hit whose
    // line is gone loses its row, and the count row is rewritten. The list's
    // form (another than the editor's owner) is shown, and the editor's owner
    // form, when it holds the editor, makes it its active control.
    void OnSearchAllOnClick(TObject* sender);
    // The statistics-options dialog; on OK statColumn is the leading number
    // of the column box (unchanged without one) and statSeparator the chosen
    // item's character.
    void StatOptions();
    // The sum, in double arithmetic, of column statColumn (from 0) of the
    // line block's lines, else of every line, split at statSeparator; count
    // gets the lines whose field reads as a number ("%lf").
    double CalcStatSum(int& count);
    // Boxes with the sum, and with the average (or that no line is valid).
    void StatSum();
    void StatAve();
    // Swaps the text with the built-in help and back: each keeps its caret
    // (the text also its selection), and each swap empties the undo stack.
    // While the help shows, Save and SaveAs write nothing, SaveToStream
    // writes the user's text, and a new text (Load, LoadFromStream,
    // NewStrings) first swaps the user's text back.
    void Help();
    // The language table of every editor (SetTextEditorLangTable).
    void SetLangTable(TLangTable* table);
    // Makes the language current in the shared table and re-translates the
    // shared forms that exist of: setup, go-to-line, search, replace, replace
    // prompt, macro name, parameterized-macro choice and insert text.
    void SetLang(int language);

    // ---- Search and replace: TextEditorSearch.cpp (its virtual operations are in the slot list) ----
    // The slot list's Search asks for searchInfo in the search dialog (the
    // word at the caret preset with TextAtCursor, when there is one) and on
    // OK ends replace mode and searches once. Replace asks for the search
    // and the replacement; "&Ok" replaces the first hit and leaves replace
    // mode on, so that each F3 replaces the next; "&All" replaces every hit
    // from the caret line on, or within the line block, prompting before
    // each unless the prompt is off or answered "&All" ("&Cancel" stops,
    // keeping what was replaced); caret and selection come back afterwards.
    // SearchAll and SearchAllM: see DoSearchAll; each gives the list box it
    // filled, else null (nothing changes).
    // One search step with searchInfo, the F3 action: Shift in shiftState
    // (Shift+F3) reverses the direction. A hit is selected (a whole line, as
    // a one-line block, for an eval search) with the caret after it; in
    // replace mode a hit in the range is replaced; nothing found shows the
    // not-found box (silently ends replace mode instead). Afterwards the
    // search goes on from the cursor through the entire text. An empty text
    // and a regular expression match nothing.
    void SearchByInfo();
    // F3 and Shift+F3 through the editor's own key handling.
    void SearchNext();
    void SearchNextReversed();
    // The prompt under the selected hit (above it at the screen's bottom, to
    // the left at its right edge), in screen coordinates; its modal result.
    int ShowReplaceDlg();
    // Text 100273 ("Not found:") directly followed by the searched text, under "Search".
    void NotFound();
    // The lines holding searchAllInfo's text (or making its expression
    // true), in the search's direction and scope, into the list box: a
    // header, "line: text" per hit, "Matching lines: n"; the hit lines go
    // into the list box's result record (made when it has none). Null
    // arguments do nothing.
    void DoSearchAll(TTextEditorSearchAllDlg* dialog, TListBox* listBox);
    // The dialog from info (the options, the three radio pairs, Help bound,
    // the text box active, the editor's variables, centred over the editor)
    // and back into info (an eval text compiled on runtimeVars).
    void SetSearchDlgData(TTextEditorSearchInfo* info, TTextEditorSearchDlg* dialog);
    void GetSearchDlgData(TTextEditorSearchInfo* info, TTextEditorSearchDlg* dialog);
    // Registers a search-all destination (its clicks go to
    // OnSearchAllOnClick); DeleteSearchAllListBox forgets both the list
    // box's result and the destination. A destroyed list box is forgotten
    // the same way. Null is ignored.
    void AddSearchAllListBox(TString name, TListBox* listBox);
    void DeleteSearchAllListBox(TListBox* listBox);
    // The summary row of a result list box: text 100444 "Matching lines: %d".
    TString GetSearchAllLastLine(int count);
    void Notification(TComponent* component, TOperation operation) override;

private:
    // Where one search step looks, and what it does with a hit.
    enum class TSearchSpanKind { Lines, NoLines, NoSelection };
    struct TSearchSpan {
        int first = 0;
        int last = -1;
        // Where the first visited line starts; kWholeLine: at its end.
        int column = 0;
    };
    TSearchSpanKind GetSearchSpan(bool forward, TSearchSpan& span);
    void SearchStep(bool reversed);
    bool FindTextHit(const TSearchSpan& span, bool forward, int& line, int& position);
    bool FindEvalHit(const TSearchSpan& span, bool forward, int& line);
    void TextHit(int line, int position, bool forward);
    void EvalHit(int line);
    // The prompt's answer for a hit in replace mode: 0 when no prompt is due.
    int ReplaceAnswer();
    // Replaces a hit and leaves the caret behind it, or before it for a
    // backward search (the replacement selected).
    void ReplaceHit(int line, int position, bool forward);
    void NothingFound();
    // Whether a hit is shown (selected, scrolled to, repainted): always but
    // in a prompt-free replace-all, which restores the view once at its end.
    bool ShowsHits() const;
    void ReplaceEveryHit();
    // Fills the search-all dialog's destination list, keeping its index when in range.
    void FillSearchAllDestinations(TTextEditorSearchAllDlg* dialog, const std::vector<std::string>& names);
    TTextEditorSearchResult* SearchResultOf(const TListBox* listBox);
    void ForgetSearchAllListBox(const TComponent* listBox);
    // Binds the list box's click to OnSearchAllOnClick and keeps it in searchAllClickLists.
    void BindSearchAllClick(TListBox* listBox);
    // The destructor's step: the registered list boxes' clicks no longer reach the editor.
    void UnbindSearchAllListBoxes();
    static constexpr int kWholeLine = 0x7FFFFFFF;

public:

    // ---- Macros: TextEditorMacroRecording.cpp (its virtual operations are in the slot list) ----
    // The slot list's macro operations: StartMacro fires OnMacro (chord
    // pending, 0). RecordMacro(n), n 0..9, empties slot n and records into
    // it (a named recording running ends first); StopMacroRecording ends
    // either recording with OnMacro or OnParamMacro (ended, index).
    // PlayMacro(n) plays a filled slot other than the one being recorded.
    // PlayMacro(macro, params) posts the items to the editor's own window
    // (a parameter place types params[place], nothing beyond them); nothing
    // while an earlier playback's messages are queued or without a window.
    // RecordParamMacro asks for a name (an empty one or Cancel does
    // nothing), ends a recording running, empties the macro of that name
    // (keeping its place) or appends a new one, and records into it.
    // PlayParamMacro() and DeleteParamMacro() ask for a macro in the
    // selection dialog (OK with none chosen does nothing); playing asks for
    // the texts of its places first (no dialog without places; Cancel plays
    // nothing). Nothing plays while a playback is queued, nor the named macro
    // being recorded. Deleting the one being recorded ends its recording.
    // Fills the selection dialog's list with the names in order, keeping its
    // choice within them (none without macros), centred over the editor.
    void SetupSelectParamMacroDlg();

    // ---- Settings and macro files: TextEditorSettings.cpp ----
    // The fourteen colours in their order: BkColor, TextColor, SelBkColor,
    // SelTextColor, TabColor, MarkerBkColor, MarkerTextColor, RemarkColor,
    // MarginColor, StringColor, NumberColor, CharColor, SymbolColor,
    // DirectiveColor. SetColors stores them (entry 0 also on the background
    // brush) and invalidates the control only when repaint is set.
    void GetColors(TColor* colors);
    void SetColors(TColor* colors, bool repaint);
    // The settings record at the stream's position (the stream stays the
    // caller's): false when a write fails.
    bool SaveSettings(FILE* file);
    // Reads a whole settings record and takes it only when all of it reads
    // well and holds usable values (tab size 1..32, indentation 0..16, font
    // size 0..1000, column gap 0..1000 and line space -1000..1000 pixels,
    // margin 0..1000000, flags 0 or 1, parameter places 0..9, at least one
    // scheme); otherwise false, the editor unchanged and the stream back
    // where it was. Taken: every stored property, the macros (a recording
    // running ends), the buffers, with the keep-bookmarks flag the bookmarks,
    // the schemes (scheme 0 current, its switches not applied) and the seven
    // histories; the font applied, the control repainted.
    bool LoadSettings(FILE* file);
    // The same on a named file; a file that cannot be opened is ignored
    // silently (false).
    bool SaveSettings(TString fileName);
    bool LoadSettings(TString fileName);
    // Reads one string list and makes it the combo's items (no limit); a
    // damaged one is false with the combo left. A null combo reads only.
    bool LoadCombo(FILE* file, TComboBox* combo);
    // The macro file: the 19-byte header, the ten keyboard macros, the named
    // macros. The interactive forms ask for the file; a load refuses another
    // header or a damaged body with the "Invalid macro file !" box, leaving
    // the macros, and a file that cannot be opened is ignored silently.
    void SaveMacros();
    void LoadMacros();
    bool SaveMacros(FILE* file);
    // False, nothing changed and the stream back where it was, for another
    // header or a damaged body; else the macros are replaced (a recording
    // running ends).
    bool LoadMacros(FILE* file);
    // Shows the characters typed into each keyboard macro, one line per
    // slot ("<empty>" for none), in a dialog made for the call.
    void ListMacros();
    // Rebuilds boldWordLengths and commonBoldWordLengths from the word lists.
    void SetBWLengths();

private:
    // The selection dialog under the caption; true with the chosen name.
    bool ChooseParamMacro(int captionId, const char* caption, TString& name);
    // The texts of the macro's parameter places from the parameter dialog;
    // false when it is cancelled.
    bool AskMacroParameters(const TTextEditorMacro& macro, TStringContainer& params);
    int IndexOfParamMacro(const TString& name) const;
    // The settings record read whole, then taken.
    void TakeSettings(TTextEditorSettings& settings);
    // ORDER COLOURS: the members of the colour array, in its order (14).
    static TColor TTextEditor::* const* ColorMembers();
    // ORDER SETTINGS FIELDS: fields 6 to 39 of the settings record, in file
    // order; count is set to their number.
    static const TTextEditorSettingsField* SettingsFields(int& count);
    // A recording running ends before the macros it writes into are replaced.
    void EndMacroRecording();

public:

    // ---- Setup dialog: TextEditorSetup.cpp ----
    // The settings dialog, centred over the editor, filled from the editor's
    // settings (not from a scheme) with a copy of its schemes, the current
    // one shown. On OK the editor takes the copy of the schemes, every
    // control's setting, the colours, the dialog's bold words, the font
    // (measured again), a column gap of the line height + 2 and the caret
    // back in view. Its scheme index stays, but follows the deletions made
    // in the dialog (0 when its own scheme went). Cancel changes nothing.
    void Setup();
    // Removes the trailing blanks (blanks only) of every line, repaints the
    // visible lines and marks the text modified.
    void DeleteTailSpaces();
    // The values the editor can use, as the settings record and the setup
    // dialog keep them.
    static constexpr int kMaxTabSize = 32;
    static constexpr int kMaxIndentSize = 16;
    static constexpr int kMaxFontSize = 1000;
    static constexpr int kMaxColumn = 1000000;

private:
    void FillSetupDlg(TTextEditorSetupDlg& dialog);
    void TakeSetupDlg(TTextEditorSetupDlg& dialog, const TTextEditorSetupValues& values);

public:

    // ---- Syntax schemes: TextEditorSchemes.cpp ----
    // Sets AutoIndent, BackspaceUnindent, SmartTab, ShowBoldWords,
    // ShowStrings, ShowChars, ShowDirectives, ShowRemarks, ShowNumbers and
    // ShowSymbols of the scheme; nothing else. Null is ignored.
    void InitProgLangScheme(TTextEditorScheme* scheme);

    // ---- Mouse, focus and status events: TextEditorMouse.cpp (its virtual operations are in the slot list) ----
    // The text position of a client point: line y / h + VPos, at most VMax
    // (not limited below: above the text it is negative); column
    // (x - gutter) / w + HPos within 0..HMax.
    POINT CalcTextCoords(int x, int y);
    // The word (a run of non-separators) at the caret, start..end inclusive;
    // on a separator, past the line's end or without a line: empty, 0 and 0.
    TString GetCurWord(int& start, int& end);
    // OnEditModeChange, OnModifyChange, OnCapsChange, OnNumChange,
    // OnScrollChange (the lock keys' toggle bits), OnTabsChange, in this order.
    void CallEventHandlers();

    // ---- Undo: TextEditorUndo.cpp ----
    // A record says which lines (firstLine..lastLine) the change occupies
    // afterwards and what stood there before. Each form below builds one and
    // pushes it; a record too large for the budget (undoLimit units) is
    // refused, and then the whole stack is emptied, since the older records
    // would no longer meet the lines they describe.
    // The caret's line: as the next form with (CurLine, caret, its text).
    void AddUndoItem(TTextEditorUndoItemType kind);
    // One line replaced by an edit within it: range line..line, lines [text].
    void AddUndoItem(TTextEditorUndoItemType kind, int line, POINT caret, const TString& text);
    // Range first..last (last < first: nothing to remove), lines [text].
    void AddUndoItem(TTextEditorUndoItemType kind, int first, int last, POINT caret, const TString& text);
    // Lines first..last of source that one line (at first) replaced.
    void AddUndoItem(TTextEditorUndoItemType kind, int first, int last, POINT caret, const TStringContainer& source);
    // Range first..last, lines fromLine..toLine of the editor's own text.
    void AddUndoItem(TTextEditorUndoItemType kind, int first, int last, POINT caret, int fromLine, int toLine);
    // A change that keeps the line count: as above with the caret and the
    // range's own lines.
    void AddUndoItem(TTextEditorUndoItemType kind, int first, int last);
    // Takes the record over and pushes it with the current selection and a
    // copy of the bookmarks, dropping the oldest records until it fits.
    void AddUndoItem(TTextEditorUndoItem* item);
    // Undoes the top record: restores its lines, selection, bookmarks and
    // caret, sets VMax, repaints and marks the text modified. Nothing on an
    // empty stack; a record whose range lies beyond the text is dropped
    // without touching it.
    void Undo();
    // The top record; call only on a non-empty stack (null on an empty one).
    TTextEditorUndoItem* GetLastUndoItem();
    // Empties the stack and sets undoSize to 0. Every operation that
    // replaces the text, or changes its line count or line order without a
    // record of its own, calls it.
    void ClearUndo();

    // ---- Keyboard dispatch, chords and typing: TextEditorKeyboard.cpp ----
    // The repeat sequence (Ctrl+Q, R): state 1 with count 0 and an empty
    // text, OnRepSeq with rsStarted.
    void RepSeqStart();
    // Inserts the sequence's text count - 1 more times at the caret (the
    // line padded to it first) within the typing's undo step, the caret
    // after it; then OnRepSeq with rsEnded. A count below 2, an empty text or
    // a caret outside the text inserts nothing.
    void RepSeqWrite();
    // The row of the key table (TextEditorKeyTable.h) that a key-down with
    // these modifiers selects in the present state (chords, lastAlt), or null
    // for a key the table does not list. Nothing runs.
    const TTextEditorKeyRow* FindKeyRow(WORD key, TShiftState shift) const;
    // TextEditorKeyTable.cpp: the rows in matching order, count set to their number.
    static const TTextEditorKeyRow* KeyTable(int& count);

    // ---- Clipboard, buffers and bookmarks: TextEditorClipboard.cpp (its virtual operations are in the slot list) ----
    // The slot list's Copy puts the selection on the clipboard as CF_TEXT: a
    // line block's lines each followed by CR LF, or the in-line selection's
    // characters within its line (selLine); nothing without a selection.
    // Paste inserts the clipboard's text at the caret (InsertText: one undo
    // step), split at LF with every CR dropped, tabs expanded; nothing while
    // ReadOnly, without text or for an empty text. MakeMarker(n) removes
    // bookmark n, and sets it on the caret line (last in the list) unless it
    // was there; MarkerPress(n) moves the caret to bookmark n, keeping the
    // column. PrevMarker and NextMarker go, in the order the bookmarks were
    // set, to the first above (below) the caret line, else to the last (the
    // first) set. A bookmark below the text leads to the last line; numbers
    // outside 0..9 and unset bookmarks (line -1) are ignored.
    // Puts length bytes of text (null: nothing) on the clipboard as CF_TEXT;
    // when no block can be had or the clipboard not opened, it stays as it was.
    void Copy(const TString& text);
    void Copy(const char* text, int length);
    // Appends the clipboard's text to out, split into lines as Paste splits
    // it (LF ends a line, every CR is dropped, the text after the last LF is
    // the last line, tabs kept); nothing when the clipboard holds no text.
    void GetClipboardLines(TStringContainer& out);
    // For n 0..9: the selected text becomes buffer n (GetSelectedText), or
    // buffer n goes in at the caret (InsertText) and stays; other n nothing.
    void CopyToBuffer(int n);
    void PasteFromBuffer(int n);
    // Removes every bookmark and repaints.
    void ClearMarkers();

    // ---- Editing and navigation keys: TextEditorEditingKeys.cpp (its
    // virtual operations are in the slot list) ----
    // The number of leading blanks (only the blank counts) of the line; def
    // for a line of blanks only, an empty one or one the text lacks; 0 when
    // the text has no lines.
    int GetLineFirstPos(int line, int def);
    // GetLineFirstPos(l, 0) of the nearest line l above line that is not
    // empty (one of blanks only counts, and gives 0); 0 without one.
    int GetIndentPos(int line);

protected:
    bool CaretLineInText() const;
    // The lines a page move covers: those the client height holds, at least 1.
    int PageLines() const;
    // The top undo record when a further deletion on the caret line may join
    // it: a deletion (utDelete) whose range is the caret line alone, made by
    // the run that typingUndoLine marks; else null.
    TTextEditorUndoItem* CaretLineDeletionRecord();
    // A new utDelete record of the caret line unless CaretLineDeletionRecord
    // already holds it.
    void RecordCaretLineDeletion();
    // Adds text as saved line `index` of the top record and keeps the budget;
    // the record may be gone afterwards.
    void AddToTopRecord(int index, const TString& text);
    // Makes the top record, which a change just before pushed, also cover the
    // caret line as it is now (it is about to change); false when it cannot.
    bool TopRecordTakesCaretLine();
    // ReturnPress in insert mode: records the break and cuts the line at the
    // caret, the rest going below; then the caret goes to the next line.
    void BreakCaretLine();
    void CaretToNextLine(bool inserting);
    // TabPress: SmartTab's target column under the line above (-1: none),
    // the forward and back steps, and blanks put in at the caret.
    int SmartTabColumn() const;
    int TabStepForward(bool toTabStop) const;
    int TabStepBack() const;
    void InsertBlanksAtCaret(int count);
    // BackspacePress: whether it unindents, to which column, removing the
    // columns from `from` to the caret, joining the line to the one above.
    bool BackspaceUnindents(bool ctrl);
    int UnindentColumn();
    void RemoveBeforeCaret(int from);
    void JoinWithLineAbove();
    // DeletePress: the character at the caret, or the next line joined on.
    void DeleteCharacterAtCaret();
    void JoinWithLineBelow();
    // The page keys' move to line, extending the block with Shift.
    void MoveByPage(int line, TShiftState shift);
    // Shift+Home and Shift+End on the caret line.
    void SelectToLineStart();
    void SelectToLineEnd();

public:

    // ---- Line editing operations: TextEditorLineEditing.cpp (deleting,
    // cutting, inserting), TextEditorLineSorting.cpp (sorting, duplicates),
    // TextEditorBlockEditing.cpp (selecting, indenting, case, tab stops); its
    // virtual operations are in the slot list ----
    // Operations marked "read-only: nothing" do nothing while ReadOnly is
    // set; the others work on a read-only text too. Bookmarks, the selection
    // and "search all" results follow deleted lines; the caret stays inside
    // the text.
    // Read-only: nothing. The locale's date and/or time as one line at the
    // caret (InsertText); another kind inserts nothing.
    void InsertDate(TTextEditorDateInsert kind);
    // Read-only: nothing. The lines of a line block, or the columns of an
    // in-line selection on its own line (selLine); one undo step. Nothing
    // without a selection. A block of every line leaves one empty line.
    void DeleteBlock();
    // Read-only: nothing. Removes the caret line; the last line is emptied
    // instead. Deletions on one line undo together.
    void DeleteLine();
    // Read-only: nothing. Empties the caret line and removes every line
    // after it (and their bookmarks).
    void DeleteAfter();
    // Read-only: nothing. Removes the lines before the caret line (and their
    // bookmarks); the caret goes to line 0.
    void DeleteBefore();
    // Read-only: nothing. Sorts the line block, or every line, by bytes
    // (stable); the undo stack is emptied.
    void SortLines();
    // Sorts the block or every line, stably, by field `column` (from 0) of
    // each line split at ColSeparator (empty fields count; a missing field
    // is an empty key); the undo stack is emptied.
    void SortByCol(int column);
    // Keeps the first of equal lines (exact comparison), in text order, as
    // new text: view reset, undo stack emptied, marked modified.
    void DeleteDuplicatedLines();
    // OnSortCol with scChoosing and scChosen.
    void StartSelectSortCol();
    void SortColSelected();
    void SelectAll();
    // The line block [max(first, 0), min(last + 1, line count)), or the
    // columns [max(start, 0), min(end + 1, length)) of the line clamped into
    // the text; the other kind is cleared, a range that ends before it begins
    // is empty. Repaints the visible lines and fires OnSelectionChange.
    void SelectLines(int first, int last);
    void SelectChars(int start, int end, int line);
    // The run of non-empty lines around the caret line, which is taken in
    // even when empty.
    void SelectParagraph();
    // The word at the caret, the caret to its end; on a delimiter or past the
    // line's end an empty selection at the caret.
    void SelectWord();
    // The block's lines and one empty line, or the in-line selection's
    // characters inside its line; empty without a selection.
    void GetSelectedText(TStringContainer& out);
    // Read-only: nothing. IndentSize blanks before each line of the block.
    void DoIndent();
    // Read-only: nothing. Each line of the block starting with a blank (or
    // any, with EmptyUnindent off) loses its first IndentSize characters.
    void DoUnindent();
    // The insert-text dialog; on OK its two boxes keep their last ten
    // entries and the text goes into the lines.
    void LineInsertText();
    // Into each line of the block, or every line: at its start, after its
    // first pos characters (a negative pos counts as 0; a shorter line gets
    // the text at its end) or at its end; another mode changes nothing.
    void LineInsertText(const TString& text, TTextEditorInsertMode mode, int pos);
    // Read-only: nothing. Cuts the caret line at the caret, or blanks its
    // part before the caret (the rest keeps its columns); one undo step.
    void DeleteLineTail();
    void DeleteLineHead();
    // Read-only: nothing. The word at the caret in upper or lower case
    // (code-page letters); no undo step.
    void WordUpperLower(bool upper);
    void WordToUpper();
    void WordToLower();
    // Read-only: nothing. The block's lines or the in-line selection's
    // characters inside its line in upper or lower case; one undo step.
    void BlockUpperLower(bool upper);
    void BlockToUpper();
    void BlockToLower();
    // lastWord inserted at the caret (the line padded to it), the caret
    // column after it; the system caret is left for the caller to place.
    void RepeatLastWord();
    // Capitalises the words of the working range with progress notices
    // (0, -1), (count, index) per line, (0, -2); one undo step.
    void Capitalize();
    // Tab stops stay ascending and unique; ChangeTab toggles one.
    void AddTab(int col);
    void DeleteTab(int col);
    void ChangeTab(int col);

protected:
    void DeleteInlineSelection();
    void DeleteLineBlock();
    // The undo step of DeleteLine, merged into the last one on the same line.
    void RecordLineDeletion(int line, bool emptiesLastLine);
    // After the top undo record grew: oldest records dropped until it fits.
    void KeepUndoWithinBudget();
    // Bookmarks on lines first..last become unset (line -1).
    void UnsetMarkers(int first, int last);
    // The selection after lines first..last were removed.
    void SelectionFollowsDeletion(int first, int last);
    // Hits on line lose their rows, hits below move up, the summary row is redone.
    void SearchResultsFollowDeletedLine(int line);

public:
    // ---- Loading and saving text files: TextEditorFiles.cpp ----
    // Replaces the text with the file's lines (blanks around name dropped):
    // tabs expanded, an HTM file's entities turned into letters (OnEvent 1,
    // else 2), the scheme chosen by the extension, HMax measured, the caret
    // at (0, 0), not modified, the undo stack and the sections empty (the
    // bookmarks stay). maxLines > 0 cuts a longer file after that many lines
    // with one box. A failed read, a cut file and lines cut by the line store
    // keep what was read, with a box, but no file name: a save asks for one.
    // While the help shows, it is left first (Help), so the file replaces the text.
    void Load(TString name, int maxLines);
    // Writes the text, without trailing blanks, to fileName (an HTM or HTML
    // name with entities, the editor keeping the letters), asking for a name
    // first when there is none; OnEvent 1 or 2, then 3, before writing.
    // False, with fileName and Modified kept, when the dialog is cancelled
    // (nothing written) or the write fails (after its box), and while the
    // help shows (nothing written).
    bool Save();
    // Writes the text as it is to name and takes the name and its scheme;
    // OnEvent 1 for an HTM or HTML name, else 2. False, and nothing taken,
    // when the write fails or the help shows.
    bool SaveAs(TString name);
    // Default extension, filter (the text files entry, the extra filters,
    // the any-file entry) and filterIndex of a save dialog; null is ignored.
    void FillSaveExtensions(TSaveDialog* dialog);
    // The filter of the file dialogs from the language texts of those ids.
    std::string FileFilter(int textFilesId, int extraBarId, int lastBarId, int anyFileId) const;
    // The first scheme whose ';'-separated extensions, upper-cased, hold
    // extension exactly (so it must be upper-case), else scheme 0.
    void SetLang(TString extension);
    // Makes the scheme current: its bold words and length table, its twenty
    // switches and indentation, straight into the members (no repaint; the
    // margin stays). An index outside the schemes changes nothing.
    void SetScheme(int index);
    // Keeps the caller's list (it must outlive its use here) and measures it.
    void SetCommonBoldWords(TStringContainer* words);
    // The error box of a file that cannot be read, naming it.
    void ShowLoadError(const TString& name);

    // ---- Navigation and line arrangement: TextEditorNavigation.cpp ----
    // "The block" below is the line block when selStartLine < selEndLine.
    // Brackets: { and } always, ( ) [ ] only with AllBlocks; inside strings
    // and comments too.
    // Asks for a line in the shared go-to-line dialog (the caret off meanwhile,
    // its Help control bound to DlgHelpHandler) and on OK goes there: the
    // entry read as "%d" reads (blanks skipped, trailing text ignored) is a
    // line from 0, or with a trailing '%' that percentage of the line count.
    // The entry then goes first into the box's history (duplicates allowed,
    // 16 kept). Cancel, or an entry without a number, does nothing at all.
    void GoToLine();
    // GoTo(CurCol, line), the line clamped to the text.
    void GoToLine(int line);
    // The caret to (col, line), clamped to the text and to 0..HMax. When the
    // view has to scroll, it moves on by half a page, so that the line lands
    // about half a page from the edge it came in at; a visible line does not
    // scroll.
    void GoTo(int col, int line);
    // The caret behind the bracket that closes the block around it (an
    // opening bracket under the caret opens a block inside it); nowhere
    // without one.
    void GoToNextBlock();
    // The caret onto the bracket that opens the block around it (from an
    // opening bracket under the caret, the block around that one); nowhere
    // without one.
    void GoToPrevBlock();
    // Read-only: nothing. TString::Align(mode, MarginPos) on the block's
    // lines, else on every line; one undo step.
    void Align(TString::TAlignMode mode);
    // Read-only: nothing. Every line of the block, else the caret line, is
    // cut at each separator into new lines (empty fields kept, an empty line
    // stays one), each trimmed of blanks with trim. The view is reset, the
    // caret goes to the line after the new ones (the last line at the end of
    // the text), bookmarks below keep their text, the undo stack is emptied.
    void SplitLine(char separator, bool trim);
    // Also when ReadOnly. Every line loses its trailing blanks; then the
    // paragraphs of the working range are re-flowed to MarginPos: a
    // paragraph ends at an empty line and before a line beginning with two
    // blanks, whose indentation every line of its paragraph takes; words are
    // runs of non-blanks; a line ends before the word that would make its
    // length plus the word's reach MarginPos, so only a single longer word
    // makes a longer line. One undo step; the caret to column 0 of the first
    // line, insert mode, a line block's end follows the line count.
    void ArrangeLines();
    // Reverses lines [first, end), brought inside the text; an empty range
    // moves nothing. Marks the text modified either way; the undo stack is
    // emptied when lines moved. Repaints when asked.
    void ReverseLines(int first, int end, bool repaint);
    // The block, else every line.
    void ReverseLines();
    // Reverses the lines between empty lines of the block, else of the text;
    // the empty lines stay where they are.
    void ReverseLinesByParagraph();
    // Swaps the parts of the selection before and after selMark, which then
    // marks the boundary again: the lines of a line block with selStartLine <
    // selMark < selEndLine (the undo stack is emptied), or the characters of
    // an in-line selection, its end lowered to its line's length, with
    // selStartCol <= selMark < selEndCol. Marks the text modified; a mark of
    // -1 or outside the selection does nothing.
    void ExchangeSelection();
    // Deletes the last item of a list of 17 or more (one per call); null is ignored.
    void CheckComboItemsCount(TStrings* items);

private:
    // The line count changed by newEnd - oldEnd where lines [first, oldEnd)
    // stood: bookmarks below move with their text, those in the range stay
    // inside what replaced it.
    void MarkersFollowReplacedLines(int first, int oldEnd, int newEnd);
    // Reverses lines [first, end), which lie inside the text; true when lines moved.
    bool ReverseRange(int first, int end);

public:

    // ---- State stream and block files: TextEditorStateStream.cpp ----
    // The working state (settings, caret, selection, tab stops, bookmarks,
    // macros, buffers, file name, dialog filters, with withText the text,
    // and the command box's and the expression box's histories) field by
    // field at the stream's position. False when a write fails. While the
    // help shows, the text, caret and selection written are the user's.
    bool SaveToStream(FILE* file, bool withText);
    // Reads such a state and takes it only when the whole of it reads well
    // and holds sound values (font size 1..1000, tab size 1..1024, edit mode
    // and flags 0 or 1, column gap 0..1000 and line space -1000..1000 pixels,
    // tab stops 0..1000000); otherwise false, the editor unchanged and the
    // stream back where it was. Caret, selection and bookmarks are brought
    // inside the text held afterwards. Nothing is repainted or measured (the
    // font name is stored, not applied): the host refreshes. The command
    // box's items are added to those it has. A stream taken while the help
    // shows first swaps the user's text back.
    bool LoadFromStream(FILE* file);
    // Asks for a file name and writes the selected lines, or the selected
    // characters of a line, to it; without a selection nothing is asked.
    void WriteBlock();
    // Asks for an existing file and inserts its lines at the caret as one
    // undo step (tabs expanded); a cancelled dialog changes nothing.
    void ReadBlock();
    // ReadBlock's work once the file is chosen; an unreadable file shows the
    // load error box and inserts nothing.
    void InsertBlockFile(const TString& name);

private:
    // A state read whole is taken over; then the caret, the selection and
    // the bookmarks are brought inside the text.
    void TakeState(TTextEditorState& state);
    void KeepPositionsInText();

public:

    // ---- Published events (bound methods, empty when unset), in
    // publication order ----
    TTextEditorPositionEvent OnCursorMove;
    TTextEditorEditModeEvent OnEditModeChange;
    TTextEditorStateEvent OnModifyChange;
    TTextEditorWordEvent OnCtrlEnter;
    TTextEditorWordEvent OnCtrlF1;
    TTextEditorStateEvent OnCapsChange;
    TTextEditorStateEvent OnNumChange;
    TTextEditorStateEvent OnScrollChange;
    TTextEditorLineEvent OnGapClick;
    TTextEditorOverWordEvent OnOverWord;
    TTextEditorStateEvent OnTabsChange;
    TTextEditorMacroEvent OnMacro;
    TTextEditorMacroEvent OnParamMacro;
    TTextEditorSortColEvent OnSortCol;
    TTextEditorRepSeqEvent OnRepSeq;
    TTextEditorPositionEvent OnProgressChange;
    TTextEditorSelectionEvent OnSelectionChange;
    TTextEditorDlgHelpEvent OnDlgHelp;
    TTextEditorCodeEvent OnEvent;
    TTextEditorCodeEvent OnSearchAllPrepare;

protected:
    // ---- Overrides of the base: the unit of each group above ----
    // TextEditorPaint.cpp: the base's Paint (background, OnPaint, design
    // frame; in the design state nothing more and the caret stays hidden),
    // then the visible lines (during a strip paint only those meeting the
    // strip), the tab guides, the bookmarks and the margin.
    void Paint() override;
    // TextEditorWindow.cpp
    void DoScroll(TMessage& message, int bar) override;
    void ShiftWheel(int steps) override;
    void WMCreate(TMessage& message);
    void WMSetFocus(TMessage& message);
    void WMKillFocus(TMessage& message);
    void WMGetDlgCode(TMessage& message);
    // TextEditorMacroRecording.cpp
    void WMMacroKeyDown(TMessage& message);
    void WMMacroKeyPress(TMessage& message);
    void WMMacroPlayEnd(TMessage& message);
    // TextEditorMouse.cpp
    // A right press opens activePopup (recording gapClickLine) and nothing
    // else; a press right after a double click that selected is ignored; a
    // press into an unfocused editor only focuses it; any other press places
    // the caret (on the last line when below it), clears the selection
    // unless PersistentBlocks, fires GapClick over the gutter and starts a drag.
    void MouseDown(TMouseButton button, TShiftState shift, int x, int y) override;
    void MouseUp(TMouseButton button, TShiftState shift, int x, int y) override;
    // Fires OverWord, picks the menu of the part under the mouse and, while
    // dragging, moves the caret and selects from the anchor: a line block
    // between the two lines (the later excluded), or on the anchor's line the
    // columns between them within its text. Above the text it stops at line 0.
    void MouseMove(TShiftState shift, int x, int y) override;
    // Selects the word at the caret (the caret to its end), or the whole line
    // with DoubleClickLine; nothing on a separator.
    void DblClick() override;
    // Caret made and placed, status events fired; DoExit destroys the caret.
    void DoEnter() override;
    void DoExit() override;
    // Swallows the context-menu request of the release that follows a right
    // press (the press opened the menu); others go to the base.
    void WMContextMenu(TMessage& message);
    int MouseColumn(int x) const;
    bool OverGutter(int x) const;
    void PopupAt(int x, int y, int line);
    void DragSelectTo(int col, int line);
    // Repaints the visible lines whose selection differs from before's.
    void RepaintSelectionChange(const TTextEditorSelection& before);
    // TextEditorKeyboard.cpp
    void KeyDown(WORD& key, TShiftState shift) override;
    void KeyPress(char& key) override;
    void KeyUp(WORD& key, TShiftState shift) override;
    // KeyDown's steps, in their order; those returning bool end the
    // key-down when true.
    TShiftState KeyDownModifiers(TShiftState shift) const;
    bool AppendModeKey(const TTextEditorKeyEvent& event);
    void EscapePress(const TTextEditorKeyEvent& event);
    void RecordKeyDown(const TTextEditorKeyEvent& event);
    bool RepeatSequenceEnter(const TTextEditorKeyEvent& event);
    bool NumberEntryKey(const TTextEditorKeyEvent& event);
    int RepeatKeyDown(const TTextEditorKeyEvent& event);
    void CollapseSelectionForKey(const TTextEditorKeyEvent& event);
    bool KeyKeepsSelection(const TTextEditorKeyEvent& event) const;
    void TrackWordKeys(const TTextEditorKeyEvent& event);
    bool DigitPress(int digit, const TTextEditorKeyEvent& event);
    void MarkExchange();
    void RunKeyRow(WORD& key, TTextEditorKeyEvent& event);
    void FinishKeyDown(WORD& key, const TTextEditorKeyEvent& event);
    bool KeyConditionHolds(TTextEditorKeyCondition condition, const TTextEditorKeyEvent& event) const;
    // Sets suppressKeyPress for the character that follows a key-down. A
    // replayed key-down has none, and an Alt key (without Ctrl) has a system
    // character, which never reaches KeyPress.
    void SuppressCharacter(const TTextEditorKeyEvent& event);
    void EndChord(TTextEditorKeyCondition condition);
    // The arrow rows of the key table; false ends the key-down there.
    bool UpPress(const TTextEditorKeyEvent& event);
    bool DownPress(const TTextEditorKeyEvent& event);
    bool SidewaysPress(const TTextEditorKeyEvent& event, bool left);
    // Ctrl+Q then Ctrl+digits, and Ctrl+J then Ctrl+digits, at Ctrl's release.
    void EndRepeatCount();
    void EndLineJump();
    // KeyPress's steps, in their order.
    bool TakesBufferDigit(char c);
    void CollapseSelectionForTyping();
    bool RepeatSequenceCharacter(char c);
    void TypeAtCaret(char& key);
    bool BreakLineAtMargin();
    void TypeInAppendMode(char& key);
    // TextEditorMacroRecording.cpp: the macro a recording appends to, or null.
    TTextEditorMacro* RecordingMacro();

    // TextEditorProperties.cpp: puts FontName and FontSize on the control's
    // and the canvas's font, measures it and sets the scroll steps.
    void ApplyFont();

    // ---- Published property storage; Init gives it the construction values
    // (the settings reader writes it directly, without the setters) ----
    int FontSize{};
    int ColGap{};
    int LineSpace{};
    int TabSize{};
    int IndentSize{};
    int MarginPos{};
    bool Modified{};
    bool ReadOnly{};
    bool AutoSave{};
    bool ShowTabs{};
    bool ShowRemarks{};
    bool ShowBoldWords{};
    bool ShowCommonBoldWords{};
    bool AutoIndent{};
    bool SmartTab{};
    bool BackspaceUnindent{};
    bool EmptyUnindent{};
    bool DoubleClickLine{};
    bool TextAtCursor{};
    bool ShowMargin{};
    bool ShowLineEnds{};
    bool PersistentBlocks{};
    bool AutoLineBreak{};
    bool DosFormat{};
    bool ShowStrings{};
    bool ShowNumbers{};
    bool ShowChars{};
    bool ShowSymbols{};
    bool ShowDirectives{};
    bool AllBlocks{};
    bool PresrveMarkers{};
    bool ShowLineNumbers{};
    TTextEditorEditMode EditMode{};
    std::string FontName{};
    TColor TextColor{};
    TColor SelBkColor{};
    TColor SelTextColor{};
    TColor TabColor{};
    TColor MarkerBkColor{};
    TColor MarkerTextColor{};
    TColor RemarkColor{};
    TColor MarginColor{};
    TColor StringColor{};
    TColor NumberColor{};
    TColor CharColor{};
    TColor SymbolColor{};
    TColor DirectiveColor{};
    char ColSeparator{};
    int CurCol{};
    int CurLine{};

    // The font's height (with external leading) and average character
    // width, measured by ApplyFont; at least 1 each.
    int cachedFontHeight = 1;
    int cachedCharWidth = 1;

public:
    // ---- Working state that the editor's operations read and write ----
    // Keyboard: the key-down being handled and the one before it, chords,
    // repeat counts, pending buffer and sort-column digits.
    TShiftState shiftState;
    int lastKey = 0;
    bool lastShift = false;
    bool lastCtrl = false;
    bool lastAlt = false;
    bool chordK = false;
    bool chordQ = false;
    bool chordM = false;
    bool chordD = false;
    bool chordL = false;
    bool chordJ = false;
    TString keyText;
    int keyRepeat = 0;
    int charRepeat = 0;
    bool suppressKeyPress = false;
    bool shiftSelecting = false;
    bool copyToBufferPending = false;
    bool pasteFromBufferPending = false;
    bool sortColPending = false;
    // The key-down being handled came through WM_USER (a repeat or a macro).
    bool keyDownReplayed = false;
    // The key table's row that the last key-down ran; null when it ran none.
    const TTextEditorKeyRow* lastKeyRow = nullptr;
    // The word typed last, the previous typed character, typing inside a word.
    TString lastWord;
    char lastChar{};
    bool inWord = false;
    // Mouse: a drag selecting from its anchor; a press to ignore after a double click.
    bool mouseSelecting = false;
    int dragAnchorCol = 0;
    int dragAnchorLine = 0;
    bool ignoreMouseDown = false;
    // A right press opened its menu: the release's context-menu request is swallowed.
    bool swallowContextMenu = false;
    // The last press only gave the editor the focus.
    bool pressOnlyFocused = false;
    // WMSetFocus is passing the message on; the DoEnter it leads to must not
    // make the caret and fire the status events a second time.
    bool enteringThroughSetFocus = false;
    // The caret before the last page move.
    int pageAnchorCol = 0;
    int pageAnchorLine = 0;
    TString overWordText;

    // Init gives the fields below that have no value here their construction
    // values.
    // The unpublished second selection background (the part from selMark on).
    TColor selBkColor2{};

    // Undo: the stack, its budget in size units, what it holds now, and where
    // the typing that the last record covers stands.
    TTextEditorUndoItems undoItems;
    int undoLimit{};
    int undoSize = 0;
    int typingUndoCol = 0;
    int typingUndoLine = 0;

    // Line tasks: worker threads on or off, how many, lines per task, and a
    // limit on the thread count (0 = none).
    bool multiThreaded = false;
    int threadCount{};
    int chunkLines{};
    int threadLimit = 0;
    // Line commands running now, and a paint put off until they end.
    int lineCommandDepth = 0;
    bool paintAfterLineCommand = false;

    // Macros and append mode.
    bool macroRecording = false;
    bool paramMacroRecording = false;
    bool macroPlaying = false;
    int macroSlot = 0;
    bool appendMode = false;
    int appendCol = 0;
    int appendCount = 0;

    // Search and replace state.
    std::unique_ptr<TTextEditorSearchInfo> searchInfo;
    std::unique_ptr<TTextEditorSearchInfo> searchAllInfo;
    TString replaceText;
    bool replacing = false;
    bool replacePrompt = false;
    bool replaceAll = false;
    bool replaceStop = false;
    int replaceFirstLine = 0;
    int replaceEndLine = 0;
    // A replace-all is running (its hits are shown only when it prompts).
    bool replaceAllRunning = false;

    // Context menus (owned through the component owner chain): the one a
    // right click opens, the text area's, the gutter's; the line the gutter
    // menu was opened on.
    TPopupMenu* activePopup = nullptr;
    TPopupMenu* editPopup = nullptr;
    TPopupMenu* gapPopup = nullptr;
    int gapClickLine = 0;

    // Lines of the methods the Java outline found.
    TIntContainer methodLines;
    // The list boxes whose clicks go to MethodSelect (each tells the editor
    // when it goes; the editor unbinds them when it goes first).
    std::vector<TListBox*> methodClickLists;
    // The built-in help text and the swap state of Help().
    TStringContainer helpText;
    bool helpShown = false;
    POINT textCaret{0, 0};
    TTextEditorSelection textSelection;
    POINT helpCaret{0, 0};

    // The gutter's line-number width (recomputed by every Paint), the margin
    // pen while DrawMargin runs, and the repeat sequence.
    int lineNumbersWidth = 0;
    HPEN marginPen = nullptr;
    uint8_t repSeqState = 0;
    int repSeqCount = 0;
    TString repSeqText;

    // The expression variables of the user-interface thread.
    TTextEditorRuntimeVars runtimeVars;
    // The command line (null at design time), the commands and the last command line.
    TComboBox* commandCombo = nullptr;
    TTextEditorCommandList commands;
    TString lastCommand;
    // Line sections: (first, last) pairs, both inclusive; (-1, -1) is empty.
    TIntPairContainer sections;

    // The caret before the last horizontal and vertical move.
    int prevCol = 0;
    int prevLine = 0;
    TTextEditorSelection selection;
    // The selection's middle mark, -1 for none: a line inside a line block, a
    // column inside an in-line selection.
    int selMark{};

    // User tab stops (ascending columns) and the lengths of the bold words.
    TIntContainer tabStops;
    TIntContainer boldWordLengths;
    TIntContainer commonBoldWordLengths;
    TTextEditorMarkerList markers;
    TTextEditorResultLists resultLists;
    TTextEditorSearchResults searchResults;
    // The list boxes whose clicks go to OnSearchAllOnClick (each tells the
    // editor when it goes; the editor unbinds them when it goes first).
    std::vector<TListBox*> searchAllClickLists;
    TTextEditorMacro macros[10];
    TTextEditorMacros paramMacros;
    TString paramMacroName;
    TStringContainer buffers[10];
    TString fileName;
    // The text, one item per line.
    TStringContainer lines;
    TStringContainer extraFilters;
    TStringContainer boldWords;
    // The shared common keywords (the caller's list), or null.
    TStringContainer* commonBoldWords = nullptr;
    int filterIndex = 0;
    TTextEditorSchemes schemes;
    int schemeIndex = 0;
    int statColumn = 0;
    char statSeparator{};
    char fillChar{};
    char alignChar{};
    // The running long operation's name ("Sorting", "Converting") and the status text.
    TString operationName;
    TString statusText;
    // The syntax language of the text (3: HTML).
    int syntaxLanguage = 0;
};

namespace Texteditor {
// Registers TTextEditor on the palette page "Rollan".
void Register();
}  // namespace Texteditor

// The property table of the class (called by the package's start-up).
void RegisterTextEditorProperties();
