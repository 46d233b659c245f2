// The text editor's plain types: its selection record and the enumerations
// that its events, undo records and operations pass.
#pragma once

#include <cstdint>

// Either a line block [selStartLine, selEndLine) when those two differ, or an
// in-line selection [selStartCol, selEndCol) of line selLine when those two
// differ, or no selection. Undo records keep a copy.
struct TTextEditorSelection {
    int selStartCol = 0;
    int selEndCol = 0;
    int selLine = 0;
    int selStartLine = 0;
    int selEndLine = 0;
};

// ORDER: the values below are passed to hosts through events or kept in
// records; each enumeration keeps its numbers.

// The typing mode, toggled by the Insert key.
enum TTextEditorEditMode : uint8_t { emInsert = 0, emOverwrite = 1 };

// Which operation made an undo record.
enum TTextEditorUndoItemType : uint8_t {
    utTyping = 0,
    utReplaceChars = 1,
    utDelete = 2,
    utSurround = 3,
    utDeleteLine = 4,
    utDeleteBlock = 5,
    utConvert = 6,
    utForEach = 7,
    utExchange = 8,
    utShuffle = 9,
    utFor = 10,
    utReplace = 11,
    utAlign = 12,
    utInsert = 13,
    utInsertLines = 14,
    utPaste = 15,
};

// OnMacro and OnParamMacro: Ctrl+M waits for the slot digit, a recording
// started, a recording ended.
enum TTextEditorMacroEventType : uint8_t { meChordPending = 0, meRecordingStarted = 1, meRecordingEnded = 2 };

// OnRepSeq: the repeat sequence started (a count is expected), the count is
// complete (the text is expected), the sequence ended (written or cancelled).
enum TTextEditorRepSeqEventType : uint8_t { rsStarted = 0, rsCountComplete = 1, rsEnded = 2 };

// OnDlgHelp: the dialog whose Help control was pressed.
enum TTextEditorDlg : uint8_t { dlgSearch = 0, dlgReplace = 1, dlgGoToLine = 2, dlgSettings = 3, dlgMacroList = 4 };

// InsertDate: date and time, short date, long date, time, time with seconds.
enum TTextEditorDateInsert : uint8_t {
    diDateAndTime = 0,
    diShortDate = 1,
    diLongDate = 2,
    diTime = 3,
    diTimeWithSeconds = 4,
};

// LineInsertText: at the line start, at a column, at the line end.
enum TTextEditorInsertMode : uint8_t { imLineStart = 0, imColumn = 1, imLineEnd = 2 };

// OnSortCol: the user starts choosing a sort column; a column was chosen.
enum TTextEditorSortCol : uint8_t { scChoosing = 0, scChosen = 1 };
