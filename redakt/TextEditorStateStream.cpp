// TTextEditor: the state stream (the editor's working state written to and
// read from an open C stream, field by field) and the block files (the
// selection written to a text file, a text file inserted at the caret).
#include <algorithm>
#include <cstdint>
#include <memory>

#include "FileDialogs.h"
#include "TextEditor.h"
#include "TextEditorComboHistory.h"
#include "TextEditorConvertLinesDlg.h"
#include "TextEditorFunctions.h"
#include "TextEditorPackage.h"
#include "TextEditorStreamFields.h"
#include "TextEditorTexts.h"

namespace {

// ORDER: fields are written and read in stream order.
using TStateWriter = TTextEditorStreamWriter;
using TStateReader = TTextEditorStreamReader;

}  // namespace

// Everything the stream carries, read before any of it is taken.
struct TTextEditorState {
    bool withText = false;
    int fontSize = 0, colGap = 0, lineSpace = 0, tabSize = 0;
    bool showTabs = false;
    int curCol = 0, curLine = 0;
    uint8_t editMode = 0;
    TString fontName;
    int bkColor = 0, tabColor = 0, markerBkColor = 0, markerTextColor = 0;
    bool autoSave = false;
    TTextEditorSelection selection;
    TIntContainer tabStops;
    TTextEditorMarkerList markers;
    TTextEditorMacro macros[10];
    TTextEditorMacros paramMacros;
    TStringContainer buffers[10];
    TString fileName;
    TStringContainer extraFilters;
    int filterIndex = 0;
    TStringContainer lines;
    TComboHistory commandHistory;
    TComboHistory expressionHistory;

    // Sound values: what later operations divide by, loop over, or turn
    // into pixels without passing the int range.
    bool Sound() const {
        const auto within = [](int value, int low, int high) { return value >= low && value <= high; };
        for (int i = 0; i < tabStops.GetCount(); ++i)
            if (!within(tabStops[i], 0, kMaxColumn)) return false;
        return within(fontSize, 1, kMaxFontSize) && within(tabSize, 1, kMaxTabSize) && editMode <= 1 &&
               within(colGap, 0, kMaxPixels) && within(lineSpace, -kMaxPixels, kMaxPixels);
    }

    static constexpr int kMaxFontSize = 1000;
    static constexpr int kMaxTabSize = 1024;
    static constexpr int kMaxPixels = 1000;
    static constexpr int kMaxColumn = 1000000;
};

namespace {

// The convert-lines dialog's expression box, once Init has made the shared
// forms; its history travels with the command box's.
TComboBox* ConvertExpressionBox() {
    auto* dialog = TextEditorSharedForm<TTextEditorConvertLinesDlg>(TTextEditorSharedForm::ConvertLines);
    return dialog != nullptr ? dialog->cmbExpr : nullptr;
}

bool ReadBoxHistories(TStateReader& reader, TTextEditorState& state) {
    TMemBuffer boxes;
    return reader.Nested(boxes) && ReadComboHistory(boxes, state.commandHistory) &&
           ReadComboHistory(boxes, state.expressionHistory) && boxes.GetRemaining() == 0;
}

bool ReadState(TStateReader& reader, TTextEditorState& s) {
    TTextEditorSelection& sel = s.selection;
    bool read = reader.Flag(s.withText) && reader.Int(s.fontSize) && reader.Int(s.colGap) && reader.Int(s.lineSpace) &&
                reader.Int(s.tabSize) && reader.Flag(s.showTabs) && reader.Int(s.curCol) && reader.Int(s.curLine) &&
                reader.Byte(s.editMode) && reader.Nested(s.fontName) && reader.Int(s.bkColor) &&
                reader.Int(s.tabColor) && reader.Int(s.markerBkColor) && reader.Int(s.markerTextColor) &&
                reader.Flag(s.autoSave) && reader.Int(sel.selStartCol) && reader.Int(sel.selEndCol) &&
                reader.Int(sel.selStartLine) && reader.Int(sel.selEndLine) && reader.Int(sel.selLine) &&
                reader.Nested(s.tabStops) && reader.Nested(s.markers);
    for (TTextEditorMacro& macro : s.macros) read = read && reader.Nested(macro);
    read = read && reader.Nested(s.paramMacros);
    for (TStringContainer& buffer : s.buffers) read = read && reader.Nested(buffer);
    read = read && reader.Nested(s.fileName) && reader.Nested(s.extraFilters) && reader.Int(s.filterIndex);
    if (read && s.withText) read = reader.Nested(s.lines);
    return read && ReadBoxHistories(reader, s) && s.Sound();
}

}  // namespace

// While the help shows, the user's text waits with its caret and selection
// in the help's place: the stream carries those, never the help.
bool TTextEditor::SaveToStream(FILE* file, bool withText) {
    if (file == nullptr) return false;
    const POINT caret = helpShown ? textCaret : POINT{CurCol, CurLine};
    const TTextEditorSelection& sel = helpShown ? textSelection : selection;
    TStateWriter writer(file);
    writer.Flag(withText);
    writer.Int(FontSize);
    writer.Int(ColGap);
    writer.Int(LineSpace);
    writer.Int(TabSize);
    writer.Flag(ShowTabs);
    writer.Int(caret.x);
    writer.Int(caret.y);
    writer.Byte(EditMode);
    writer.Nested(TString(FontName));
    for (TColor color : {BkColor, TabColor, MarkerBkColor, MarkerTextColor}) writer.Int(color);
    writer.Flag(AutoSave);
    for (int field : {sel.selStartCol, sel.selEndCol, sel.selStartLine, sel.selEndLine, sel.selLine})
        writer.Int(field);
    writer.Nested(tabStops);
    writer.Nested(markers);
    for (const TTextEditorMacro& macro : macros) writer.Nested(macro);
    writer.Nested(paramMacros);
    for (const TStringContainer& buffer : buffers) writer.Nested(buffer);
    writer.Nested(fileName);
    writer.Nested(extraFilters);
    writer.Int(filterIndex);
    if (withText) writer.Nested(helpShown ? helpText : lines);
    TMemBuffer boxes;
    SaveComboHistory(boxes, commandCombo);
    SaveComboHistory(boxes, ConvertExpressionBox());
    writer.Nested(boxes);
    return writer.Finish();
}

bool TTextEditor::LoadFromStream(FILE* file) {
    if (file == nullptr) return false;
    const long start = std::ftell(file);
    TStateReader reader(file);
    auto state = std::make_unique<TTextEditorState>();
    if (!ReadState(reader, *state)) {
        if (start >= 0) std::fseek(file, start, SEEK_SET);
        return false;
    }
    // The stream's text, caret and selection are the user's: the help steps aside.
    if (helpShown) Help();
    TakeState(*state);
    return true;
}

// The font name is stored only: the host's refresh applies it.
void TTextEditor::TakeState(TTextEditorState& state) {
    FontSize = state.fontSize;
    ColGap = state.colGap;
    LineSpace = state.lineSpace;
    TabSize = state.tabSize;
    ShowTabs = state.showTabs;
    CurCol = state.curCol;
    CurLine = state.curLine;
    EditMode = static_cast<TTextEditorEditMode>(state.editMode);
    FontName = state.fontName.str();
    BkColor = state.bkColor;
    BkBrush->SetColor(state.bkColor);
    TabColor = state.tabColor;
    MarkerBkColor = state.markerBkColor;
    MarkerTextColor = state.markerTextColor;
    AutoSave = state.autoSave;
    selection = state.selection;
    tabStops.Swap(state.tabStops);
    markers.TakeContentOf(state.markers);
    for (int i = 0; i < 10; ++i) macros[i].TakeContentOf(state.macros[i]);
    paramMacros.TakeContentOf(state.paramMacros);
    for (int i = 0; i < 10; ++i) buffers[i].Swap(state.buffers[i]);
    fileName = state.fileName;
    extraFilters.Swap(state.extraFilters);
    filterIndex = state.filterIndex;
    if (state.withText) {
        lines.Swap(state.lines);
        ClearUndo();  // the records describe the text that went
    }
    ApplyComboHistory(state.commandHistory, commandCombo);
    ApplyComboHistory(state.expressionHistory, ConvertExpressionBox());
    KeepPositionsInText();
}

// A stream from elsewhere may place the caret, the selection or bookmarks
// outside the text the editor now holds.
void TTextEditor::KeepPositionsInText() {
    const int count = lines.GetCount();
    const int lastLine = std::max(count - 1, 0);
    const int lastCol = std::max(HMax, GetMaxLineLength());
    const auto within = [](int value, int low, int high) { return std::clamp(value, low, std::max(low, high)); };
    CurLine = within(CurLine, 0, lastLine);
    CurCol = within(CurCol, 0, lastCol);
    TTextEditorSelection& s = selection;
    s.selStartLine = within(s.selStartLine, 0, count);
    s.selEndLine = within(s.selEndLine, 0, count);
    if (s.selStartLine > s.selEndLine) std::swap(s.selStartLine, s.selEndLine);
    s.selLine = within(s.selLine, 0, lastLine);
    s.selStartCol = within(s.selStartCol, 0, lastCol);
    s.selEndCol = within(s.selEndCol, 0, lastCol);
    if (s.selStartCol > s.selEndCol) std::swap(s.selStartCol, s.selEndCol);
    for (int i = 0; i < markers.GetCount(); ++i) markers[i].line = within(markers[i].line, -1, lastLine);
}

// The in-line selection stops at its line's end.
void TTextEditor::WriteBlock() {
    const TTextEditorSelection& s = selection;
    TStringContainer block;
    if (s.selStartLine != s.selEndLine) {
        const int first = std::max(std::min(s.selStartLine, s.selEndLine), 0);
        const int end = std::min(std::max(s.selStartLine, s.selEndLine), lines.GetCount());
        for (int i = first; i < end; ++i) block.Add(lines[i]);
    } else if (s.selStartCol != s.selEndCol) {
        const TString& line = GetLineText(s.selLine);
        const int first = std::max(std::min(s.selStartCol, s.selEndCol), 0);
        const int end = std::min(std::max(s.selStartCol, s.selEndCol), line.Length());
        block.Add(line.Substring(first, end - 1));
    } else {
        return;
    }
    auto dialog = std::make_unique<TSaveDialog>(this);
    dialog->SetTitle(TextEditorText(100266, "Save block"));
    FillSaveExtensions(dialog.get());
    CaretOff();
    if (dialog->Execute()) WriteLinesWithProgress(this, block, dialog->GetFileName());
    CaretOn();
}

void TTextEditor::ReadBlock() {
    auto dialog = std::make_unique<TOpenDialog>(this);
    dialog->SetTitle(TextEditorText(100267, "Read text as block"));
    dialog->SetDefaultExt(TextEditorText(100268, "txt"));
    dialog->SetFilter(FileFilter(100269, 100270, 100271, 100272));
    dialog->SetFilterIndex(filterIndex);
    dialog->SetOptions(dialog->GetOptions() << ofFileMustExist);
    CaretOff();
    if (dialog->Execute()) InsertBlockFile(dialog->GetFileName());
    CaretOn();
}

void TTextEditor::InsertBlockFile(const TString& name) {
    TStringContainer block;
    try {
        block.ReadFromFile(name);
    } catch (const std::exception&) {
        ShowLoadError(name);
        return;
    }
    // The editor keeps no tab: the block's are expanded as a loaded text's are.
    lines.Swap(block);
    TabsToSpaces();
    lines.Swap(block);
    InsertText(block);
}
