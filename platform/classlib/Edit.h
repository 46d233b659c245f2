// TCustomEdit, TEdit and TMemo: text editing boxes of one line or many,
// with selection, caret, clipboard keys and, for the memo, Lines and scroll bars.
#pragma once

#include <string>
#include <vector>

#include "CustomControl.h"
#include "Strings.h"

enum TScrollStyle { ssNone, ssHorizontal, ssVertical, ssBoth };

// Positions are byte offsets into Text; a memo's lines are separated by CR LF.
// Keys reach the box after OnKeyDown and OnKeyPress, so a key changed there is
// the key the box sees and one set to 0 does nothing. Typing replaces the
// selection; Ctrl+C / Ctrl+Insert copy, Ctrl+X / Shift+Delete cut, Ctrl+V /
// Shift+Insert paste, Ctrl+A selects all. A read-only box moves the caret and
// copies but changes nothing.
class TCustomEdit : public TCustomControl {
    CLASSLIB_CLASS(TCustomEdit, TCustomControl)

public:
    explicit TCustomEdit(TComponent* owner);
    ~TCustomEdit() override;

    std::string GetText() const override { return text_; }
    // Replaces the text (MaxLength does not apply), puts the caret at the
    // start and runs OnChange when the text differs. A single-line box keeps
    // line breaks as they are given (they show as they are measured).
    void SetText(const std::string& text) override;
    int GetMaxLength() const { return maxLength_; }
    // 0: no limit; otherwise typing and pasting stop at that many bytes.
    // Negative values count as 0.
    void SetMaxLength(int length) { maxLength_ = length < 0 ? 0 : length; }
    bool GetReadOnly() const { return readOnly_; }
    void SetReadOnly(bool readOnly);

    // The selection: SelStart is clamped into [0, length] and empties the
    // selection; SelLength is clamped so the selection ends inside the text
    // (negative values select backwards from SelStart, down to 0).
    int GetSelStart() const;
    void SetSelStart(int start);
    int GetSelLength() const;
    void SetSelLength(int length);
    std::string GetSelText() const;
    // Replaces the selection (ignoring ReadOnly and MaxLength, as code may)
    // and puts the caret after the new text.
    void SetSelText(const std::string& text);
    void SelectAll();
    void ClearSelection();
    void CopyToClipboard();
    void CutToClipboard();
    void PasteFromClipboard();
    // The caret's byte offset.
    int GetCaretPosition() const { return caret_; }

    TNotifyEvent OnChange;

protected:
    void Paint() override;
    void KeyDown(WORD& key, TShiftState shift) override;
    void KeyPress(char& key) override;
    void MouseDown(TMouseButton button, TShiftState shift, int x, int y) override;
    void MouseMove(TShiftState shift, int x, int y) override;
    void MouseUp(TMouseButton button, TShiftState shift, int x, int y) override;
    void DblClick() override;
    void DoEnter() override;
    void DoExit() override;
    void Resize() override;
    virtual void Change();

    // A visual row: where it starts in Text and how many bytes it shows.
    struct Row {
        int start;
        int length;
    };
    virtual bool IsMultiLine() const { return false; }
    virtual bool WrapsWords() const { return false; }
    // The rows of the text as laid out now.
    const std::vector<Row>& Rows();
    // The text area inside the border.
    RECT TextArea();
    int LineHeight();
    int TopRow() const { return topRow_; }
    void SetTopRow(int row);
    // How far the text is scrolled to the left, in pixels (clamped to 0 and more).
    int ScrollX() const { return scrollX_; }
    void SetScrollX(int pixels);
    // The width of the widest row in pixels.
    int WidestRow();
    // Lays the rows out again before they are next used.
    void InvalidateLayout();
    // Called after the layout or the first visible row changed.
    virtual void LayoutChanged() {}
    // Replaces the selection with typed text, as the user's typing does
    // (MaxLength and ReadOnly apply); false when nothing could be inserted.
    bool InsertTyped(const std::string& text);

    void WMGetDlgCode(TMessage& message);
    void CMFontChanged(TMessage& message);
    void CMEnabledChanged(TMessage& message);
    CLASSLIB_MESSAGE_MAP(TCustomEdit, TCustomControl, {WM_GETDLGCODE, &TCustomEdit::WMGetDlgCode},
                         {CM_FONTCHANGED, &TCustomEdit::CMFontChanged},
                         {CM_ENABLEDCHANGED, &TCustomEdit::CMEnabledChanged})

private:
    void ReplaceRange(int start, int end, const std::string& text);
    void MoveCaret(int position, bool extend);
    int RowOf(int position);
    int PositionAt(int x, int y);
    int RowPosition(int row, int x);
    int TextWidth(int start, int length);
    void ScrollCaretIntoView();
    void UpdateCaret();
    int WordStart(int position) const;
    int WordEnd(int position) const;
    bool HandleClipboardKey(WORD key, TShiftState shift);
    bool HandleMovementKey(WORD key, TShiftState shift);
    void DeleteForward(bool word);

    std::string text_;
    int anchor_ = 0;
    int caret_ = 0;
    int maxLength_ = 0;
    bool readOnly_ = false;
    bool selecting_ = false;
    int scrollX_ = 0;
    int topRow_ = 0;
    int desiredX_ = -1;
    bool layoutValid_ = false;
    bool caretCreated_ = false;
    std::vector<Row> rows_;
};

class TEdit : public TCustomEdit {
    CLASSLIB_CLASS(TEdit, TCustomEdit)

public:
    // A 121x21 tab stop with a white background.
    explicit TEdit(TComponent* owner);
};

class TMemo;

// The lines of a memo as a TStrings: reading and changing them reads and
// changes the memo's text (lines joined by CR LF). Objects are not kept.
class TMemoStrings : public TStrings {
    CLASSLIB_CLASS(TMemoStrings, TStrings)

public:
    explicit TMemoStrings(TMemo* memo) : memo_(memo) {}
    int GetCount() const override;
    std::string GetStrings(int index) const override;
    void SetStrings(int index, const std::string& text) override;
    void Insert(int index, const std::string& text) override;
    void Delete(int index) override;
    void Clear() override;

private:
    std::vector<std::string> Split() const;
    void Join(const std::vector<std::string>& lines);
    TMemo* memo_;
};

// A box of many lines. Enter starts a new line (Tab and Esc stay with the
// dialog); the arrows, Home, End, Page Up and Page Down move by lines and
// rows. With WordWrap rows break between words at the box's width.
class TMemo : public TCustomEdit {
    CLASSLIB_CLASS(TMemo, TCustomEdit)

public:
    // A 185x89 tab stop.
    explicit TMemo(TComponent* owner);
    ~TMemo() override;

    // The text's lines: "a\r\nb" has two, a final CR LF ends the last line
    // without adding an empty one, an empty text has none.
    TStrings* GetLines() { return lines_; }
    // Copies the strings of lines (null clears).
    void SetLines(const TStrings* lines);
    TScrollStyle GetScrollBars() const { return scrollBars_; }
    void SetScrollBars(TScrollStyle scrollBars);
    bool GetWordWrap() const { return wordWrap_; }
    void SetWordWrap(bool wordWrap);
    // The first visible row (0 at the top), for the scroll bar and tests.
    int GetTopRow() const { return TopRow(); }

    // The text of Lines for form resources: the lines joined by CR LF.
    std::string GetLinesText() const { return GetText(); }
    void SetLinesText(const std::string& text) { SetText(text); }

protected:
    bool IsMultiLine() const override { return true; }
    bool WrapsWords() const override { return wordWrap_; }
    void CreateParams(TCreateParams& params) override;
    void LayoutChanged() override;

    void WMVScroll(TMessage& message);
    void WMHScroll(TMessage& message);
    void WMGetDlgCode(TMessage& message);
    void WMMouseWheel(TMessage& message);
    CLASSLIB_MESSAGE_MAP(TMemo, TCustomEdit, {WM_VSCROLL, &TMemo::WMVScroll}, {WM_HSCROLL, &TMemo::WMHScroll},
                         {WM_GETDLGCODE, &TMemo::WMGetDlgCode}, {WM_MOUSEWHEEL, &TMemo::WMMouseWheel})

private:
    int VisibleRows();
    TMemoStrings* lines_;
    TScrollStyle scrollBars_ = ssNone;
    bool wordWrap_ = true;
};

// The property tables of the edit classes (called by the library's start-up).
void RegisterEditProperties();
