// TQuickList: a fast grid of string cells with a caption row, optional line
// captions, two scroll bars of its own and colours for lines and cells,
// drawn into a 32-bit buffer bitmap with a bitmap character table.
#pragma once

#include <algorithm>
#include <cstdint>
#include <deque>
#include <functional>
#include <list>
#include <map>
#include <memory>
#include <set>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "CHRTable.h"
#include "CustomControl.h"
#include "GraphicsBitmap.h"
#include "ImageData.h"

class TEdit;
class TForm;
class TPopupMenu;
class TScrollBar;
class TTimer;
class TQuickList;
class TQuickListInfoForm;
struct TQuickListFindReplaceInfo;

// The character rule of typing into a cell.
enum TQuickListEditMode : uint8_t { qleString = 0, qleInteger = 1, qleFloat = 2 };

using TQuickListNotifyEvent = std::function<void(TQuickList* ql)>;
using TQuickListItemEvent = std::function<void(TQuickList* ql, int item)>;
using TQuickListCellEvent = std::function<void(TQuickList* ql, int line, int col)>;
// The handler may rewrite value, or refuse the change by clearing valid.
using TQuickListCellChangedEvent =
    std::function<void(TQuickList* ql, int line, int col, std::string& value, bool& valid)>;
// The drawing area's view and the cell's rectangle in it; a handler draws into the buffer.
using TQuickListCellPaintEvent = std::function<void(TQuickList* ql, int line, int col, IMAGEDATA id, RECT cellRect)>;
using TQuickListCellEditableEvent = std::function<void(TQuickList* ql, int line, int col, bool& editable)>;

// A colour-map entry: the cell's background and its text colour.
struct TQuickListColors {
    int background;
    int text;
};

// A border recorded while painting: the x of a column's right rule (or the y
// of a line's bottom rule) leads to the column's left x (the line's top y)
// and its index.
struct TQuickListBorder {
    int start;
    int index;
};

class TQuickList : public TCustomControl {
    CLASSLIB_CLASS(TQuickList, TCustomControl)

public:
    // One change of a cell, as undo keeps it: the cell's text before it.
    struct TUndoData {
        int line;
        int col;
        std::string text;
    };

    static constexpr int kDefaultColumnWidth = 50;
    static constexpr int kDefaultLineHeight = 20;
    static constexpr int kCaptionHeight = 20;

    // 48 x 48, a tab stop, no cell current, "arial" 10 read from CHDIR; the
    // scroll bars, the hidden edit box and (at run time) the caret timer.
    explicit TQuickList(TComponent* owner);
    ~TQuickList() override;

    // ---- Data ----
    // Empties captions, widths, lines and both colour maps; with refresh both bars go to 0.
    void Clear(bool refresh);
    // Empties the lines and both colour maps; captions and widths stay.
    void ClearCells(bool refresh);
    // Replaces the captions and resizes every line to them; widths of
    // columns that existed stay, new ones get 50.
    void SetCaptions(const std::vector<std::string>& captions, bool refresh);
    // Both ignore a column out of range.
    void SetCaption(int col, const std::string& caption, bool refresh);
    void SetColWidth(int col, int width, bool refresh);
    // Every column gets the width.
    void SetColWidths(int width, bool refresh);
    // The first column-count entries become the widths; fewer entries than
    // columns change nothing.
    void SetColWidths(const std::vector<int>& widths, bool refresh);
    // Resizes every line to the caption count and the widths with it (columns
    // from oldCount on get 50), then the horizontal maximum; count is not read.
    void SetColCount(int count, int oldCount);
    // Horizontal maximum = visible columns - 1, at least 0.
    void SetHorzBarMax();
    // Cell writes land only in cells that exist: a line out of range, a
    // column at or past the captions or past the line's own cells (after
    // DeleteCol) is left alone. SetLine copies as many cells as both have;
    // SetCol the first min(lines, given) lines of column col.
    void SetLine(int line, const std::vector<std::string>& cells, bool refresh);
    void SetCol(int col, const std::vector<std::string>& cells, bool refresh);
    void SetCell(int line, int col, const std::string& text, bool refresh);
    // The cell's text; empty for a cell that does not exist.
    std::string GetCell(int line, int col) const;
    // Appends a line resized to the captions. With MaxLines reached line 0
    // goes first, its colours with it, and the colours of the others move up
    // with their lines; with MaxLines 0 nothing is appended.
    void AppendLine(const std::vector<std::string>& cells, bool refresh);
    // Removes the line with its height and colours; the later lines' colours
    // move up with them; the current line moves up when at or below it.
    void DeleteLine(int line, bool refresh);
    // Removes cell col from every line (captions and widths stay); the
    // current column moves left when at or right of it.
    void DeleteCol(int col, bool refresh);
    // Hiding negates a shown column's width; showing negates a hidden one's
    // back, a width of 0 becoming 50. Out of range does nothing.
    void SetColVisibility(int col, bool visible, bool refresh);
    void InvertColVisibility(int col, bool refresh);
    // Line -1 is the last line; out of range stores nothing. A later call for
    // the same line or cell replaces the pair.
    void SetLineColor(int line, int background, int text, bool refresh);
    void SetCellColor(int line, int col, int background, int text, bool refresh);
    // The pair stored for the line or cell; false when none.
    bool GetLineColor(int line, TQuickListColors& colours) const;
    bool GetCellColor(int line, int col, TQuickListColors& colours) const;
    int GetLineCount() const { return int(lines_.size()); }
    // Cells of line 0; -1 without lines.
    int GetColCount() const;
    // The column's width (negative: hidden); 0 out of range.
    int GetColWidth(int col) const;
    const std::vector<std::string>& GetCaptions() const { return captions_; }
    // A line's height in pixels; 0 out of range. Setting it (what a line drag
    // does) takes at least the default line height; out of range does nothing.
    int GetLineHeight(int line) const;
    void SetLineHeight(int line, int height, bool refresh);

    // ---- Selection and current cell ----
    // The selection {left col, top line, right col, bottom line} and true;
    // without one, the current cell on all four sides (all -1 without a
    // current cell) and false.
    bool GetSelection(RECT& rect) const;
    bool ValidSelection() const;
    bool CellInSelection(int line, int col) const;
    void ReleaseSelection(bool refresh);
    // The anchor and the moving corner of a selection, as the keyboard and
    // the mouse move them; painting derives the selection from them.
    void SetSelectionCorners(int anchorCol, int anchorLine, int cornerCol, int cornerLine, bool refresh);
    void GetSelectionCorners(int& anchorCol, int& anchorLine, int& cornerCol, int& cornerLine) const;

    // ---- Geometry (drawing-area coordinates: client - 2) ----
    // The line whose row holds y, counting rows from the vertical position;
    // -1 when none.
    int GetSelectedLine(int x, int y) const;
    // The visible column whose span holds x (after the line captions); -1 when none.
    int GetSelectedCol(int x, int y) const;
    // The first column drawn: past as many visible columns as the horizontal
    // position; the column count when none is left.
    int GetFirstVisibleColX() const;
    // Scrolls so that the last lines are in view, when they do not all fit.
    void SetVertBarPosition();
    // Centres a form over the control on the screen.
    void CenterDlg(TForm* form);

    // ---- Painting ----
    // Paints the buffer (at run time) and the control, then sets the vertical maximum.
    void Refresh() override;
    // SetHorzBarMax, then Refresh.
    void FullRefresh();
    // Draws the grid into the buffer and records its geometry. A paint from
    // the caret timer keeps the recorded borders and caption rectangles.
    void RuntimePaint(bool fromTimer = false);
    TBitmap* GetBuffer() { return buffer_.get(); }
    const TCHRTable& GetFontTable() const { return *fontTable_; }

    // What the last paint recorded, in drawing-area coordinates.
    const std::map<int, TQuickListBorder>& GetColBorders() const { return colBorders_; }
    const std::map<int, TQuickListBorder>& GetLineBorders() const { return lineBorders_; }
    const std::map<int, RECT>& GetColCaptionRects() const { return colCaptionRects_; }
    const std::map<int, RECT>& GetLineCaptionRects() const { return lineCaptionRects_; }
    const std::set<int>& GetPaintedCols() const { return paintedCols_; }
    const std::set<int>& GetPaintedLines() const { return paintedLines_; }
    int GetColsInView() const { return colsInView_; }
    int GetPageSize() const { return pageSize_; }
    // The current cell's rectangle as painted, in client coordinates.
    const RECT& GetCurrentCellRect() const { return currentCellRect_; }

    TScrollBar* GetHorzScrollBar() const { return horzBar_; }
    TScrollBar* GetVertScrollBar() const { return vertBar_; }
    TEdit* GetEditBox() const { return editBox_; }
    TTimer* GetCaretTimer() const { return caretTimer_; }
    // The cursors over column captions and line captions, from the package's resources.
    HCURSOR GetColCaptionCursor() const { return downArrowCursor_; }
    HCURSOR GetLineCaptionCursor() const { return rightArrowCursor_; }

    // ---- Editing and undo ----
    // True unless OnCellEditable refuses the current cell.
    bool IsCellEditable();
    // True, with cell pointing at the current cell's text, when Edit is set
    // and the current cell exists (a column removed by DeleteCol has none).
    bool Editable(std::string*& cell);
    // Whether c may be added to text under EditMode: qleString takes every
    // character; qleInteger the digits; qleFloat digits, '.', 'e' and 'E'
    // each once, and '-' first or after 'e' or 'E'.
    bool CheckChar(const std::string& text, char& c) const;
    // Starts editing the current cell: with EditInCell in the cell, the caret
    // after its text (an undo record made first); otherwise in the edit box
    // over the cell, kept inside the view. False without a current cell or
    // when OnCellEditable refuses it (Edit is not asked).
    bool StartCellEditing();
    // Ends the edit box: Enter (13) stores its text through OnCellChanged with
    // an undo record; any other key drops it. The grid takes the focus back.
    void StopCellEditing(unsigned short key);
    // Records the current cell's text before a change; at most UndoSize
    // records are kept (none when UndoSize is 0 or less), the oldest going first.
    void RegisterUndoData();
    const std::list<TUndoData>& GetUndoList() const { return undoList_; }
    // In-cell editing and its caret, kept within the current cell's text.
    bool GetInCellEditing() const { return inCellEditing_; }
    int GetCaretPosition() const;
    bool GetCaretShown() const { return caretShown_; }

    // ---- Clipboard ----
    // Lines top..bottom of rect, each its cells left..right joined by the
    // separator, as clipboard text (lines joined by CR LF); the rectangle is
    // kept to the cells that exist, and nothing is copied when none is left.
    void CopyToClipboard(const RECT& rect, char separator);
    // The selection, or else the current cell.
    void CopyToClipboard(char separator);
    // The clipboard's lines into the selection, or else from the current
    // cell to the last line and column, each line split at the separator;
    // every cell passes OnCellChanged, no undo is recorded, and the anchor
    // and corner end on the block written. Nothing without lines, a current
    // cell or clipboard text.
    void PasteFromClipboard(char separator);

    // ---- Handlers of the edit box and the caret timer ----
    // Enter and Escape end the edit box's editing.
    void OnCellEditKeyDown(TObject* sender, WORD& key, TShiftState shift);
    // Refuses (sets to 0) what CheckChar refuses for the box's text; Backspace passes.
    void OnCellEditKeyPress(TObject* sender, char& key);
    // Every 500 ms: toggles the caret and repaints it, unless a drag is on
    // or EditCursor is off; the repaint keeps the recorded borders.
    void OnCursorTimer(TObject* sender);
    // The pointer's shape the grid shows now (a split cursor near a border,
    // a caption cursor, else the arrow).
    HCURSOR GetShownCursor() const { return shownCursor_; }

    // ---- Find and replace ----
    // The find dialog, centred over the grid and filled from the search
    // state; OK stores it back and searches from the range's top-left with
    // replacing off. Cancel changes nothing.
    void Find();
    // The replace dialog, likewise. OK searches once with replacing and
    // confirmation on; "Replace all" goes through the range once from its
    // top-left, each cell considered once, replacing every match (asking
    // first until the confirmation is answered "&All"). Cancel changes nothing.
    void Replace();
    // The next match from the search position with the options of the last
    // Find or Replace, inside the selection (else the whole grid), wrapping
    // round once; it becomes the current cell, scrolled into view (the
    // selection stays). In replace mode the match's whole text becomes the
    // replacement, after the confirmation when confirm is on. True when a
    // cell was found and the search may go on; false without a match (shown
    // in a message box when report is set; the search position kept) and
    // when the confirmation is cancelled. Without lines or cells: false.
    bool FindNext(bool report);
    // Append the histories, newest first.
    void GetFindHistory(std::vector<std::string>& history) const;
    void GetReplaceHistory(std::vector<std::string>& history) const;
    TQuickListFindReplaceInfo& GetFindReplaceInfo() { return *findInfo_; }
    // During a column drag "Width = n", during a line drag "Height = n", the
    // info form sized to it at the mouse position + (4, 4) on the screen;
    // nothing otherwise or in the designer.
    void RefreshInfoForm();
    // The drag information form; null in the designer.
    TQuickListInfoForm* GetInfoForm() const { return infoForm_; }

    // ---- Properties ----
    int GetColumnCount() const { return int(captions_.size()); }
    // A negative count is ignored.
    void SetColumnCount(int count);
    int GetCellLines() const { return int(lines_.size()); }
    // A negative count is ignored; lines beyond the count go with their colours.
    void SetCellLines(int count);
    int GetMaxLines() const { return maxLines_; }
    // Keeps the first min(lines, count) lines (a negative count keeps all).
    void SetMaxLines(int count);
    int GetSelectedLine() const { return selectedLine_; }
    void SetSelectedLine(int line);
    int GetSelectedCol() const { return selectedCol_; }
    void SetSelectedCol(int col);
    int GetSelectedHeaderLine() const { return selectedHeaderLine_; }
    int GetSelectedHeaderCol() const { return selectedHeaderCol_; }
    int GetUndoSize() const { return undoSize_; }
    void SetUndoSize(int size) { undoSize_ = size; }
    bool GetShowLastLine() const { return showLastLine_; }
    void SetShowLastLine(bool show);
    bool GetShowLineCaption() const { return showLineCaption_; }
    void SetShowLineCaption(bool show);
    bool GetShowLineNumber() const { return showLineNumber_; }
    void SetShowLineNumber(bool show);
    bool GetShowSelTop() const { return showSelTop_; }
    void SetShowSelTop(bool show);
    bool GetShowSelLeft() const { return showSelLeft_; }
    void SetShowSelLeft(bool show);
    int GetLineCaptionWidth() const { return lineCaptionWidth_; }
    void SetLineCaptionWidth(int width);
    bool GetShowSelectedLine() const { return showSelectedLine_; }
    void SetShowSelectedLine(bool show) { showSelectedLine_ = show; }
    bool GetShowSelectedCol() const { return showSelectedCol_; }
    void SetShowSelectedCol(bool show) { showSelectedCol_ = show; }
    TColor GetSelectedFrameColor() const { return selectedFrameColor_; }
    void SetSelectedFrameColor(TColor colour);
    int GetSelectedFrameWidth() const { return selectedFrameWidth_; }
    void SetSelectedFrameWidth(int width);
    bool GetEdit() const { return edit_; }
    void SetEdit(bool edit) { edit_ = edit; }
    bool GetEditInCell() const { return editInCell_; }
    void SetEditInCell(bool editInCell) { editInCell_ = editInCell; }
    TQuickListEditMode GetEditMode() const { return editMode_; }
    void SetEditMode(TQuickListEditMode mode) { editMode_ = mode; }
    bool GetEditCursor() const { return editCursor_; }
    void SetEditCursor(bool blink);
    bool GetSelectLine() const { return selectLine_; }
    void SetSelectLine(bool select) { selectLine_ = select; }
    bool GetSelectCol() const { return selectCol_; }
    void SetSelectCol(bool select) { selectCol_ = select; }
    // The character table's name (the Font property).
    const std::string& GetFontName() const { return fontName_; }
    void SetFontName(const std::string& font);
    int GetFontSize() const { return fontSize_; }
    void SetFontSize(int size);
    bool GetShowInfoForm() const { return showInfoForm_; }
    void SetShowInfoForm(bool show) { showInfoForm_ = show; }

    TQuickListNotifyEvent OnBeforePopup;
    TQuickListItemEvent OnColClick;
    TQuickListItemEvent OnLineClick;
    TQuickListCellEvent OnCellClick;
    TQuickListCellEvent OnCellDblClick;
    TQuickListCellChangedEvent OnCellChanged;
    TQuickListCellPaintEvent OnCellBkPaint;
    TQuickListCellPaintEvent OnCellPaint;
    TQuickListCellEditableEvent OnCellEditable;

protected:
    // Copies the buffer to the client origin, repaints the scroll bars and
    // fills the square between them; in the designer, the design view.
    void Paint() override;
    // Raise OnCellBkPaint and OnCellPaint with the drawing area's view.
    virtual void CellBkPaint(int line, int col, IMAGEDATA id, RECT cellRect);
    virtual void CellPaint(int line, int col, IMAGEDATA id, RECT cellRect);
    // Sizes the buffer to the client less the bars, repaints and places the bars.
    void Resize() override;
    // The keyboard and the mouse (QuickListKeys.cpp, QuickListMouse.cpp).
    void KeyDown(WORD& key, TShiftState shift) override;
    void KeyPress(char& key) override;
    void MouseDown(TMouseButton button, TShiftState shift, int x, int y) override;
    void MouseMove(TShiftState shift, int x, int y) override;
    void MouseUp(TMouseButton button, TShiftState shift, int x, int y) override;
    void DblClick() override;
    void Notification(TComponent* component, TOperation operation) override;

    void WMSize(TMessage& message);
    void WMEraseBkgnd(TMessage& message);
    void WMGetDlgCode(TMessage& message);
    void WMSetCursor(TMessage& message);

    // In-cell editing and the caret (worked by the keyboard, the mouse and
    // the caret timer): painting reads them.
    bool inCellEditing_ = false;
    int caretPosition_ = 0;
    bool caretShown_ = false;
    // A column or line drag under way (painting keeps those borders), and
    // the column or line dragged.
    bool colDrag_ = false;
    bool lineDrag_ = false;
    int dragCol_ = -1;
    int dragLine_ = -1;
    // The last mouse position, in client coordinates.
    POINT mousePosition_{0, 0};
    // The line caption and the column caption pressed (-1 when none).
    int selectedHeaderLine_ = -1;
    int selectedHeaderCol_ = -1;

private:
    // A line with what belongs to it: its height and its colours, which so
    // go wherever the line goes (dropped by the limit, deleted, moved up).
    struct TLine {
        explicit TLine(std::vector<std::string> cells) : cells(std::move(cells)) {}

        std::vector<std::string> cells;
        int height = kDefaultLineHeight;
        bool coloured = false;
        TQuickListColors colours{0, 0};
        // Cell colours by column, few per line.
        std::vector<std::pair<int, TQuickListColors>> cellColours;

        const TQuickListColors* CellColours(int col) const;
    };
    class TPainter;
    struct TKeyAction;
    struct TAxis;
    static const TKeyAction kKeyActions[];

    // Widths, heights and thicknesses beyond any screen are taken as just
    // beyond it, so that the geometry's sums of them stay within int.
    static constexpr int kLargestExtent = 1 << 24;
    static int Extent(int pixels) { return std::clamp(pixels, -kLargestExtent, kLargestExtent); }
    int LineCaptionExtent() const { return Extent(lineCaptionWidth_); }
    int FrameExtent() const { return Extent(selectedFrameWidth_); }

    bool Ready() const { return constructed_ && buffer_ != nullptr; }
    void RefreshIf(bool refresh);
    void LoadFont();
    void SetupBuffer();
    void PlaceScrollBars();
    void ScrollBarChange(TObject* sender);
    void SetBarMax(TScrollBar* bar, int max);
    void DeriveSelection();
    void DesignPaint();
    std::string* CellAt(int line, int col);
    const std::string* CellAt(int line, int col) const;
    int LineOf(int line) const { return line == -1 ? int(lines_.size()) - 1 : line; }
    void DropLinesFrom(int line);
    template <class Field, class Value>
    void Change(Field& field, Value value);
    void SetBarPosition(TScrollBar* bar, int position);
    // Columns of positive width left of col: the horizontal position that
    // shows col first.
    int VisibleColumnsBefore(int col) const;
    // The cells a search looks at: the selection, or the whole grid, kept
    // to the cells that exist; false when none.
    bool SearchRange(RECT& range) const;
    // FindNext looking at no more than *cellsLeft cells when cellsLeft is
    // given, counting them off.
    bool SearchFrom(bool report, int64_t* cellsLeft);
    void ShowMatch(int line, int col);
    bool ConfirmAndReplace(int line, int col);
    void ReportMiss();
    void ReplaceAll();
    // Paints the buffer and shows it; a paint from the caret timer keeps the recorded geometry.
    void RefreshFrom(bool fromTimer);

    // Editing: the change of the current cell through OnCellChanged (which
    // may rewrite text), with an undo record; false when refused or when the
    // handler took the cell away or moved the current cell.
    bool ChangeCurrentCell(std::string& text);
    bool CurrentCellIs(int line, int col) const;
    // The current cell when it exists (with Edit set, when askEdit; not
    // empty, when needText) and OnCellEditable lets it be edited and leaves
    // it in place; null otherwise.
    std::string* EditableCurrentCell(bool askEdit, bool needText);
    int ClampedCaret(const std::string& text) const;
    void TypeCharacter(char c);
    // Backspace (before the caret, or the last character) and Delete (at the
    // caret, or the whole text).
    void EraseCharacter(bool beforeCaret);
    void PasteLine();
    bool PasteThroughHandler(int line, int col, std::string value);
    int PasteCells(int line, int left, int count, std::string_view text, char separator);
    void Undo();

    // Keys (QuickListKeys.cpp), each a row of kKeyActions.
    void BackspaceKey(TShiftState shift);
    void TabKey(TShiftState shift);
    void EnterKey(TShiftState shift);
    void PageUpKey(TShiftState shift);
    void PageDownKey(TShiftState shift);
    void EndKey(TShiftState shift);
    void HomeKey(TShiftState shift);
    void LeftKey(TShiftState shift);
    void UpKey(TShiftState shift);
    void RightKey(TShiftState shift);
    void DownKey(TShiftState shift);
    void DeleteKey(TShiftState shift);
    void CopyKey(TShiftState shift);
    void FindKey(TShiftState shift);
    void ReplaceKey(TShiftState shift);
    void PasteKey(TShiftState shift);
    void UndoKey(TShiftState shift);
    void FindNextKey(TShiftState shift);
    bool HasCurrentCell() const;
    TAxis ColumnAxis();
    TAxis LineAxis();
    void StepBack(const TAxis& axis, TShiftState shift);
    void StepForward(const TAxis& axis, TShiftState shift);
    int LastCellOfLine() const;

    // Mouse (QuickListMouse.cpp); x and y in client coordinates.
    bool OnLineCaption(int x, int line) const;
    bool OnColumnCaption(int y, int col) const;
    bool StartBorderDrag(TMouseButton button);
    bool PressLineCaption(TMouseButton button, int x, int y);
    bool PressColumnCaption(TMouseButton button, int x, int y);
    void MoveCurrentCell(TMouseButton button, int line, int col);
    void OpenPopup(int x, int y);
    void EndMousePress();
    void DragBorder(int x, int y);
    void FindBorderUnder(int x, int y);
    void FollowPointer(int x, int y);
    void ShowCursorShape(HCURSOR cursor);

    bool constructed_ = false;
    std::deque<TLine> lines_;
    std::vector<std::string> captions_;
    std::vector<int> widths_;
    std::list<TUndoData> undoList_;

    int selectedLine_ = -1;
    int selectedCol_ = -1;
    // Anchor col, anchor line, moving corner col, corner line; -1 when none.
    int anchorCol_ = -1, anchorLine_ = -1, cornerCol_ = -1, cornerLine_ = -1;
    // {left col, top line, right col, bottom line}, derived by painting.
    RECT selection_{-1, -1, -1, -1};
    // Recorded by painting.
    std::map<int, TQuickListBorder> colBorders_;
    std::map<int, TQuickListBorder> lineBorders_;
    std::map<int, RECT> colCaptionRects_;
    std::map<int, RECT> lineCaptionRects_;
    std::set<int> paintedCols_;
    std::set<int> paintedLines_;
    int colsInView_ = 0;
    int pageSize_ = 0;
    RECT currentCellRect_{0, 0, 0, 0};

    int maxLines_ = -1;
    int undoSize_ = 256;
    bool showLastLine_ = false;
    bool showLineCaption_ = false;
    bool showLineNumber_ = false;
    bool showSelTop_ = false;
    bool showSelLeft_ = false;
    int lineCaptionWidth_ = 50;
    bool showSelectedLine_ = false;
    bool showSelectedCol_ = false;
    TColor selectedFrameColor_ = clBlack;
    int selectedFrameWidth_ = 3;
    bool edit_ = false;
    bool editInCell_ = false;
    TQuickListEditMode editMode_ = qleString;
    bool editCursor_ = false;
    bool selectLine_ = false;
    bool selectCol_ = false;
    std::string fontName_ = "arial";
    int fontSize_ = 10;
    bool showInfoForm_ = true;

    std::unique_ptr<TBitmap> buffer_;
    std::unique_ptr<TCHRTable> fontTable_;
    TScrollBar* horzBar_ = nullptr;
    TScrollBar* vertBar_ = nullptr;
    TEdit* editBox_ = nullptr;
    TTimer* caretTimer_ = nullptr;
    HCURSOR downArrowCursor_ = nullptr;
    HCURSOR rightArrowCursor_ = nullptr;
    bool adjustingBars_ = false;
    // A paint under way: the handlers it raises (OnCellEditable for the
    // caret, OnCellBkPaint, OnCellPaint) may repaint, and that paint is left
    // to the one under way.
    bool painting_ = false;
    std::unique_ptr<TQuickListFindReplaceInfo> findInfo_;
    TQuickListInfoForm* infoForm_ = nullptr;

    // Mouse state: a press held, a double click handled (its mouse-down is
    // ignored), the border under the pointer (its recorded x or y; -1 when
    // none), the popup menu put aside during a drag, the cursors shown.
    bool mouseHeld_ = false;
    bool doubleClickHandled_ = false;
    int colBorderUnder_ = -1;
    int lineBorderUnder_ = -1;
    // The dragged column's left x or line's top y, in drawing-area coordinates.
    int dragStart_ = 0;
    TPopupMenu* popupAside_ = nullptr;
    HCURSOR captionCursor_ = nullptr;
    HCURSOR shownCursor_ = nullptr;

    CLASSLIB_MESSAGE_MAP(TQuickList, TCustomControl, {WM_SIZE, &TQuickList::WMSize},
                         {WM_ERASEBKGND, &TQuickList::WMEraseBkgnd}, {WM_GETDLGCODE, &TQuickList::WMGetDlgCode},
                         {WM_SETCURSOR, &TQuickList::WMSetCursor})
};

// Registers TQuickList on the palette page "Statora".
void RegisterQuickList();
// The property table of the class (called by the package's start-up).
void RegisterQuickListProperties();
