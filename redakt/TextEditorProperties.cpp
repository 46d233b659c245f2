// TTextEditor: the setters of its published properties, the font they
// measure, the property table and the palette registration.
#include <algorithm>

#include "Exceptions.h"
#include "PropertyTable.h"
#include "Registration.h"
#include "TextEditor.h"
#include "TextEditorMeasuring.h"

namespace {

// Stores value; a repainting property also invalidates the control.
template <class T>
void Store(TTextEditor& editor, T& field, T value, bool repaint) {
    field = value;
    if (repaint) editor.Invalidate();
}

}  // namespace

void TTextEditor::ApplyFont() {
    for (TFont* font : {GetFont(), GetCanvas()->GetFont()}) {
        font->SetName(FontName);
        font->SetSize(FontSize);
    }
    TTextEditorMeasuringDC dc(*this);
    TEXTMETRICA metrics{};
    if (dc.Handle() != nullptr && GetTextMetricsA(dc.Handle(), &metrics)) {
        cachedFontHeight = std::max(1, int(metrics.tmHeight + metrics.tmExternalLeading));
        cachedCharWidth = std::max(1, int(metrics.tmAveCharWidth));
    }
    HScrollStep = GetCharWidth();
    VScrollStep = GetLineHeight();
}

// An unfocused editor has no caret of its own: refreshing one there would
// take the thread's caret from the control that has the focus.
void TTextEditor::SetFontName(const std::string& name) {
    FontName = name;
    ApplyFont();
    if (Focused()) RefreshCaret();
    Invalidate();
}

void TTextEditor::SetFontSize(int size) {
    FontSize = size;
    SetFontName(FontName);
}

// The vertical step follows, so that a scroll by one unit moves one line.
void TTextEditor::SetLineSpace(int space) {
    LineSpace = space;
    VScrollStep = GetLineHeight();
    Invalidate();
}

void TTextEditor::SetColGap(int gap) { Store(*this, ColGap, gap, true); }

void TTextEditor::SetCurLine(int line) {
    if (line < 0 || line > VMax) return;
    CurLine = line;
    SetCaretPos(CurCol, CurLine);
    CursorMove();
}

void TTextEditor::SetCurCol(int col) {
    if (col < 0 || col > HMax) return;
    SetCursorPosX(col);
    SetCaretPos(CurCol, CurLine);
}

void TTextEditor::SetModified(bool value) {
    Modified = value;
    if (OnModifyChange) OnModifyChange(this, value);
}

void TTextEditor::SetReadOnly(bool value) {
    if (value == ReadOnly) return;
    ReadOnly = value;
    if (!Focused()) return;
    if (ReadOnly)
        CaretOff();
    else
        CaretOn();
}

void TTextEditor::SetTextColor(TColor color) { Store(*this, TextColor, color, true); }
void TTextEditor::SetSelBkColor(TColor color) { Store(*this, SelBkColor, color, true); }
void TTextEditor::SetSelTextColor(TColor color) { Store(*this, SelTextColor, color, true); }
void TTextEditor::SetTabColor(TColor color) { Store(*this, TabColor, color, true); }
void TTextEditor::SetShowTabs(bool value) { Store(*this, ShowTabs, value, true); }
void TTextEditor::SetMarkerBkColor(TColor color) { Store(*this, MarkerBkColor, color, true); }
void TTextEditor::SetMarkerTextColor(TColor color) { Store(*this, MarkerTextColor, color, true); }
void TTextEditor::SetShowRemarks(bool value) { Store(*this, ShowRemarks, value, true); }
void TTextEditor::SetRemarkColor(TColor color) { Store(*this, RemarkColor, color, true); }
void TTextEditor::SetMarginPos(int column) { Store(*this, MarginPos, column, true); }
void TTextEditor::SetShowMargin(bool value) { Store(*this, ShowMargin, value, true); }
void TTextEditor::SetShowLineEnds(bool value) { Store(*this, ShowLineEnds, value, true); }
void TTextEditor::SetMarginColor(TColor color) { Store(*this, MarginColor, color, true); }
void TTextEditor::SetShowStrings(bool value) { Store(*this, ShowStrings, value, true); }
void TTextEditor::SetStringColor(TColor color) { Store(*this, StringColor, color, ShowStrings); }
void TTextEditor::SetShowNumbers(bool value) { Store(*this, ShowNumbers, value, true); }
void TTextEditor::SetNumberColor(TColor color) { Store(*this, NumberColor, color, ShowNumbers); }
void TTextEditor::SetShowChars(bool value) { Store(*this, ShowChars, value, true); }
void TTextEditor::SetCharColor(TColor color) { Store(*this, CharColor, color, ShowChars); }
void TTextEditor::SetShowSymbols(bool value) { Store(*this, ShowSymbols, value, true); }
void TTextEditor::SetSymbolColor(TColor color) { Store(*this, SymbolColor, color, ShowSymbols); }
void TTextEditor::SetShowDirectives(bool value) { Store(*this, ShowDirectives, value, true); }
void TTextEditor::SetDirectiveColor(TColor color) { Store(*this, DirectiveColor, color, ShowDirectives); }
void TTextEditor::SetAllBlocks(bool value) { AllBlocks = value; }

void TTextEditor::SetShowBoldWords(bool value) {
    if (value) ShowCommonBoldWords = false;
    Store(*this, ShowBoldWords, value, true);
}

void TTextEditor::SetShowCommonBoldWords(bool value) {
    if (value) ShowBoldWords = false;
    Store(*this, ShowCommonBoldWords, value, true);
}

void TTextEditor::SetShowLineNumbers(bool value) {
    Store(*this, ShowLineNumbers, value, true);
    lineNumbersWidth = GetLineNumbersWidth();
}

// ---- The property table ----

namespace {

const TTextEditor* Editor(const TPersistent* object) { return static_cast<const TTextEditor*>(object); }
TTextEditor* Editor(TPersistent* object) { return static_cast<TTextEditor*>(object); }

// The table has no character type: the separator is a byte value.
const TPropertyInfo kColSeparatorRow{
    "ColSeparator", TPropertyType::Integer, nullptr, 32, nullptr, true, nullptr,
    [](const TPersistent* object) -> int64_t { return static_cast<unsigned char>(Editor(object)->GetColSeparator()); },
    [](TPersistent* object, int64_t value) {
        if (value < 0 || value > 255) throw EPropertyError("ColSeparator takes a byte value, 0 to 255");
        Editor(object)->SetColSeparator(static_cast<char>(value));
    },
    nullptr, nullptr, nullptr, nullptr, nullptr};

// GetColGap() is the gutter's width; the property is the gap alone.
const TPropertyInfo kColGapRow{
    "ColGap", TPropertyType::Integer, nullptr, 16, nullptr, true, nullptr,
    [](const TPersistent* object) -> int64_t { return Editor(object)->GetColGapSetting(); },
    [](TPersistent* object, int64_t value) { Editor(object)->SetColGap(static_cast<int>(value)); },
    nullptr, nullptr, nullptr, nullptr, nullptr};

#define REDAKT_COLOR_PROPERTY(Name, Default) CLASSLIB_NAMED_INTEGER_PROPERTY(TTextEditor, Name, Default, &ColorIdentifiers)

const TPropertyInfo kTextEditorProperties[] = {
    // The editor derives the ranges, positions and steps from its text and
    // font, so a form does not store them.
    NotStored(CLASSLIB_INTEGER_PROPERTY(TScrollControl, VMax, 0)),
    NotStored(CLASSLIB_INTEGER_PROPERTY(TScrollControl, VPos, 0)),
    NotStored(CLASSLIB_INTEGER_PROPERTY(TScrollControl, VScrollStep, 1)),
    NotStored(CLASSLIB_INTEGER_PROPERTY(TScrollControl, HMax, 0)),
    NotStored(CLASSLIB_INTEGER_PROPERTY(TScrollControl, HPos, 0)),
    NotStored(CLASSLIB_INTEGER_PROPERTY(TScrollControl, HScrollStep, 1)),
    // ORDER: publication order.
    CLASSLIB_STRING_PROPERTY(TTextEditor, FontName, "Courier New"),
    CLASSLIB_INTEGER_PROPERTY(TTextEditor, FontSize, 8),
    CLASSLIB_INTEGER_PROPERTY(TTextEditor, LineSpace, 0),
    kColGapRow,
    CLASSLIB_INTEGER_PROPERTY(TTextEditor, TabSize, 8),
    CLASSLIB_INTEGER_PROPERTY(TTextEditor, CurLine, 0),
    CLASSLIB_INTEGER_PROPERTY(TTextEditor, CurCol, 0),
    CLASSLIB_BOOLEAN_PROPERTY(TTextEditor, Modified, false),
    CLASSLIB_BOOLEAN_PROPERTY(TTextEditor, ReadOnly, false),
    CLASSLIB_BOOLEAN_PROPERTY(TTextEditor, AutoSave, false),
    REDAKT_COLOR_PROPERTY(TextColor, 0x000000),
    REDAKT_COLOR_PROPERTY(SelBkColor, 0x800000),
    REDAKT_COLOR_PROPERTY(SelTextColor, 0xFFFFFF),
    REDAKT_COLOR_PROPERTY(TabColor, 0x808080),
    CLASSLIB_BOOLEAN_PROPERTY(TTextEditor, ShowTabs, true),
    REDAKT_COLOR_PROPERTY(MarkerBkColor, 0x008000),
    REDAKT_COLOR_PROPERTY(MarkerTextColor, 0xFFFFFF),
    CLASSLIB_BOOLEAN_PROPERTY(TTextEditor, ShowRemarks, false),
    REDAKT_COLOR_PROPERTY(RemarkColor, 0x800000),
    CLASSLIB_BOOLEAN_PROPERTY(TTextEditor, ShowBoldWords, false),
    CLASSLIB_BOOLEAN_PROPERTY(TTextEditor, ShowCommonBoldWords, false),
    CLASSLIB_BOOLEAN_PROPERTY(TTextEditor, AutoIndent, false),
    CLASSLIB_BOOLEAN_PROPERTY(TTextEditor, SmartTab, false),
    CLASSLIB_BOOLEAN_PROPERTY(TTextEditor, BackspaceUnindent, false),
    CLASSLIB_BOOLEAN_PROPERTY(TTextEditor, EmptyUnindent, true),
    CLASSLIB_INTEGER_PROPERTY(TTextEditor, IndentSize, 1),
    CLASSLIB_BOOLEAN_PROPERTY(TTextEditor, DoubleClickLine, false),
    CLASSLIB_BOOLEAN_PROPERTY(TTextEditor, TextAtCursor, false),
    CLASSLIB_INTEGER_PROPERTY(TTextEditor, MarginPos, 80),
    CLASSLIB_BOOLEAN_PROPERTY(TTextEditor, ShowMargin, true),
    // The construction value, so that a stored true is written and reloads.
    CLASSLIB_BOOLEAN_PROPERTY(TTextEditor, ShowLineEnds, false),
    REDAKT_COLOR_PROPERTY(MarginColor, 0x0000FF),
    CLASSLIB_BOOLEAN_PROPERTY(TTextEditor, PersistentBlocks, false),
    CLASSLIB_BOOLEAN_PROPERTY(TTextEditor, AutoLineBreak, false),
    CLASSLIB_BOOLEAN_PROPERTY(TTextEditor, DosFormat, true),
    CLASSLIB_BOOLEAN_PROPERTY(TTextEditor, ShowStrings, false),
    REDAKT_COLOR_PROPERTY(StringColor, 0x0000FF),
    CLASSLIB_BOOLEAN_PROPERTY(TTextEditor, ShowNumbers, false),
    REDAKT_COLOR_PROPERTY(NumberColor, 0x008000),
    CLASSLIB_BOOLEAN_PROPERTY(TTextEditor, ShowChars, false),
    REDAKT_COLOR_PROPERTY(CharColor, 0x0000FF),
    CLASSLIB_BOOLEAN_PROPERTY(TTextEditor, ShowSymbols, false),
    REDAKT_COLOR_PROPERTY(SymbolColor, 0xFF0000),
    CLASSLIB_BOOLEAN_PROPERTY(TTextEditor, ShowDirectives, false),
    REDAKT_COLOR_PROPERTY(DirectiveColor, 0x008000),
    CLASSLIB_BOOLEAN_PROPERTY(TTextEditor, AllBlocks, true),
    CLASSLIB_BOOLEAN_PROPERTY(TTextEditor, PresrveMarkers, false),
    kColSeparatorRow,
    CLASSLIB_BOOLEAN_PROPERTY(TTextEditor, ShowLineNumbers, false),
    CLASSLIB_EVENT_PROPERTY(TTextEditor, OnCursorMove, TTextEditorPositionEvent),
    CLASSLIB_EVENT_PROPERTY(TTextEditor, OnEditModeChange, TTextEditorEditModeEvent),
    CLASSLIB_EVENT_PROPERTY(TTextEditor, OnModifyChange, TTextEditorStateEvent),
    CLASSLIB_EVENT_PROPERTY(TTextEditor, OnCtrlEnter, TTextEditorWordEvent),
    CLASSLIB_EVENT_PROPERTY(TTextEditor, OnCtrlF1, TTextEditorWordEvent),
    CLASSLIB_EVENT_PROPERTY(TTextEditor, OnCapsChange, TTextEditorStateEvent),
    CLASSLIB_EVENT_PROPERTY(TTextEditor, OnNumChange, TTextEditorStateEvent),
    CLASSLIB_EVENT_PROPERTY(TTextEditor, OnScrollChange, TTextEditorStateEvent),
    CLASSLIB_EVENT_PROPERTY(TTextEditor, OnGapClick, TTextEditorLineEvent),
    CLASSLIB_EVENT_PROPERTY(TTextEditor, OnOverWord, TTextEditorOverWordEvent),
    CLASSLIB_EVENT_PROPERTY(TTextEditor, OnTabsChange, TTextEditorStateEvent),
    CLASSLIB_EVENT_PROPERTY(TTextEditor, OnMacro, TTextEditorMacroEvent),
    CLASSLIB_EVENT_PROPERTY(TTextEditor, OnParamMacro, TTextEditorMacroEvent),
    CLASSLIB_EVENT_PROPERTY(TTextEditor, OnSortCol, TTextEditorSortColEvent),
    CLASSLIB_EVENT_PROPERTY(TTextEditor, OnRepSeq, TTextEditorRepSeqEvent),
    CLASSLIB_EVENT_PROPERTY(TTextEditor, OnProgressChange, TTextEditorPositionEvent),
    CLASSLIB_EVENT_PROPERTY(TTextEditor, OnSelectionChange, TTextEditorSelectionEvent),
    CLASSLIB_EVENT_PROPERTY(TTextEditor, OnDlgHelp, TTextEditorDlgHelpEvent),
    CLASSLIB_EVENT_PROPERTY(TTextEditor, OnEvent, TTextEditorCodeEvent),
    CLASSLIB_EVENT_PROPERTY(TTextEditor, OnSearchAllPrepare, TTextEditorCodeEvent),
};

#undef REDAKT_COLOR_PROPERTY

}  // namespace

void RegisterTextEditorProperties() { RegisterPropertyTable(TTextEditor::StaticClassInfo(), kTextEditorProperties); }

namespace Texteditor {
void Register() { RegisterComponents("Rollan", {ComponentClass<TTextEditor>()}); }
}  // namespace Texteditor
