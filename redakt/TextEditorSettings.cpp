// TTextEditor: the colour array, the settings record and the macro file
// (each written and read field by field, a record taken only when all of it
// reads well), the macro list, and the word-length tables the painter reads
// beside the bold-word lists.
#include <algorithm>
#include <climits>
#include <cstring>
#include <iterator>
#include <memory>
#include <string>
#include <vector>

#include "Buttons.h"
#include "ComboBox.h"
#include "FileDialogs.h"
#include "ListBox.h"
#include "TextEditor.h"
#include "TextEditorConvertLinesDlg.h"
#include "TextEditorGoToLineDlg.h"
#include "TextEditorMacroDlgs.h"
#include "TextEditorSearchDlg.h"
#include "TextEditorStreamFields.h"
#include "TextEditorTexts.h"

// One of fields 6 to 39: an i32 with the values it may hold, or a flag byte.
struct TTextEditorSettingsField {
    int TTextEditor::*number;
    bool TTextEditor::*flag;
    int low;
    int high;
};

namespace {

constexpr int kColorCount = 14;
constexpr int kHistoryCount = 7;
constexpr int kSettingsVersion = 1;
// The values the editor can use, as the setup dialog and the state stream
// keep them.
constexpr int kMaxTabSize = TTextEditor::kMaxTabSize;
constexpr int kMaxIndentSize = TTextEditor::kMaxIndentSize;
constexpr int kMaxFontSize = TTextEditor::kMaxFontSize;
constexpr int kMaxPixels = 1000;
constexpr int kMaxColumn = TTextEditor::kMaxColumn;

// The macro file's header: the text and its terminating zero.
constexpr char kMacroFileHeader[] = "TTextEditor macros";
constexpr size_t kMacroFileHeaderSize = sizeof kMacroFileHeader;

void FillLengths(TIntContainer& lengths, const TStringContainer* words) {
    lengths.Clear();
    if (words == nullptr) return;
    for (int i = 0; i < words->GetCount(); ++i) lengths.Add((*words)[i].Length());
}

}  // namespace

// Everything a settings record carries, read before any of it is taken.
struct TTextEditorSettings {
    TColor colors[kColorCount] = {};
    TStringContainer boldWords;
    TString fontName;
    int fontSize = 0;
    // Fields 6 to 39 in table order, flags as 0 or 1.
    std::vector<int> values;
    TTextEditorMacro macros[10];
    TTextEditorMacros paramMacros;
    TStringContainer buffers[10];
    bool keepMarkers = false;
    TTextEditorMarkerList markers;
    TTextEditorSchemes schemes;
    TStringContainer histories[kHistoryCount];
};

namespace {

// ORDER HISTORIES: field 46, the combo boxes whose items the record keeps
// (a slot is null when its box does not exist).
void HistoryBoxes(TComboBox* commandBox, TComboBox* (&boxes)[kHistoryCount]) {
    TTextEditorSearchDlg* search = SharedSearchDlg();
    TTextEditorSearchAllDlg* searchAll = SharedSearchAllDlg();
    TTextEditorReplaceDlg* replace = SharedReplaceDlg();
    TTextEditorGoToLineDlg* goToLine = SharedGoToLineDlg();
    TTextEditorConvertLinesDlg* convert = SharedConvertLinesDlg();
    boxes[0] = search != nullptr ? search->cmbText : nullptr;
    boxes[1] = searchAll != nullptr ? searchAll->cmbText : nullptr;
    boxes[2] = replace != nullptr ? replace->cmbText : nullptr;
    boxes[3] = replace != nullptr ? replace->cmbReplaceText : nullptr;
    boxes[4] = goToLine != nullptr ? goToLine->cmbSorszam : nullptr;
    boxes[5] = convert != nullptr ? convert->cmbExpr : nullptr;
    boxes[6] = commandBox;
}

void SetItems(TComboBox* box, const TStringContainer& lines) {
    if (box == nullptr) return;
    TStrings* items = box->GetItems();
    items->Clear();
    for (int i = 0; i < lines.GetCount(); ++i) items->Add(lines[i].str());
}

bool ReadField(TTextEditorStreamReader& reader, const TTextEditorSettingsField& field, int& value) {
    if (field.flag != nullptr) {
        bool flag = false;
        if (!reader.Flag(flag)) return false;
        value = flag ? 1 : 0;
        return true;
    }
    return reader.Int(value) && value >= field.low && value <= field.high;
}

// The schemes travel in a memory buffer that must hold them and nothing more.
bool ReadSchemes(TTextEditorStreamReader& reader, TTextEditorSchemes& schemes) {
    TMemBuffer buffer;
    return reader.Nested(buffer) && schemes.ReadFromMemBuffer(buffer) && buffer.GetRemaining() == 0 &&
           schemes.GetCount() > 0;
}

bool ReadSettings(TTextEditorStreamReader& reader, const TTextEditorSettingsField* fields, int fieldCount,
                  TTextEditorSettings& s) {
    int version = 0;
    bool read = reader.Int(version);
    for (TColor& color : s.colors) read = read && reader.Int(color);
    read = read && reader.Nested(s.boldWords) && reader.Nested(s.fontName) && reader.Int(s.fontSize) &&
           s.fontSize >= 0 && s.fontSize <= kMaxFontSize;
    s.values.assign(static_cast<size_t>(fieldCount), 0);
    for (int i = 0; i < fieldCount; ++i) read = read && ReadField(reader, fields[i], s.values[static_cast<size_t>(i)]);
    for (TTextEditorMacro& macro : s.macros) read = read && reader.Nested(macro);
    read = read && reader.Nested(s.paramMacros);
    for (TStringContainer& buffer : s.buffers) read = read && reader.Nested(buffer);
    read = read && reader.Flag(s.keepMarkers);
    if (read && s.keepMarkers) read = reader.Nested(s.markers);
    read = read && ReadSchemes(reader, s.schemes);
    for (TStringContainer& history : s.histories) read = read && reader.Nested(history);
    return read;
}

}  // namespace

// ---- The colour array ----

TColor TTextEditor::* const* TTextEditor::ColorMembers() {
    static TColor TTextEditor::* const kMembers[kColorCount] = {
        &TTextEditor::BkColor,       &TTextEditor::TextColor,       &TTextEditor::SelBkColor,
        &TTextEditor::SelTextColor,  &TTextEditor::TabColor,        &TTextEditor::MarkerBkColor,
        &TTextEditor::MarkerTextColor, &TTextEditor::RemarkColor,   &TTextEditor::MarginColor,
        &TTextEditor::StringColor,   &TTextEditor::NumberColor,     &TTextEditor::CharColor,
        &TTextEditor::SymbolColor,   &TTextEditor::DirectiveColor,
    };
    return kMembers;
}

void TTextEditor::GetColors(TColor* colors) {
    if (colors == nullptr) return;
    TColor TTextEditor::* const* members = ColorMembers();
    for (int i = 0; i < kColorCount; ++i) colors[i] = this->*members[i];
}

// The brush tells the control when its colour changes: it is told nothing
// here, so that repaint alone decides.
void TTextEditor::SetColors(TColor* colors, bool repaint) {
    if (colors == nullptr) return;
    TColor TTextEditor::* const* members = ColorMembers();
    for (int i = 0; i < kColorCount; ++i) this->*members[i] = colors[i];
    const TGraphicsNotifyEvent brushChanged = BkBrush->OnChange;
    BkBrush->OnChange = nullptr;
    BkBrush->SetColor(colors[0]);
    BkBrush->OnChange = brushChanged;
    if (repaint) Invalidate();
}

// ---- The settings record ----

const TTextEditorSettingsField* TTextEditor::SettingsFields(int& count) {
    using E = TTextEditor;
    const auto number = [](int E::*member, int low, int high) { return TTextEditorSettingsField{member, nullptr, low, high}; };
    const auto colour = [](int E::*member) { return TTextEditorSettingsField{member, nullptr, INT_MIN, INT_MAX}; };
    const auto flag = [](bool E::*member) { return TTextEditorSettingsField{nullptr, member, 0, 1}; };
    static const TTextEditorSettingsField kFields[] = {
        number(&E::LineSpace, -kMaxPixels, kMaxPixels),  // 6
        number(&E::ColGap, 0, kMaxPixels),
        number(&E::TabSize, 1, kMaxTabSize),
        colour(&E::TextColor),
        colour(&E::TabColor),  // 10
        flag(&E::ShowTabs),
        flag(&E::AutoSave),
        colour(&E::MarkerBkColor),
        colour(&E::MarkerTextColor),
        flag(&E::ShowRemarks),  // 15
        colour(&E::RemarkColor),
        flag(&E::ShowBoldWords),
        flag(&E::AutoIndent),
        flag(&E::BackspaceUnindent),
        flag(&E::EmptyUnindent),  // 20
        number(&E::IndentSize, 0, kMaxIndentSize),
        flag(&E::DoubleClickLine),
        flag(&E::TextAtCursor),
        number(&E::MarginPos, 0, kMaxColumn),
        flag(&E::ShowMargin),  // 25
        colour(&E::MarginColor),
        flag(&E::PersistentBlocks),
        flag(&E::AutoLineBreak),
        flag(&E::ShowStrings),
        colour(&E::StringColor),  // 30
        flag(&E::ShowNumbers),
        colour(&E::NumberColor),
        flag(&E::ShowChars),
        colour(&E::CharColor),
        flag(&E::ShowSymbols),  // 35
        colour(&E::SymbolColor),
        flag(&E::ShowDirectives),
        colour(&E::DirectiveColor),
        flag(&E::AllBlocks),  // 39
    };
    count = static_cast<int>(std::size(kFields));
    return kFields;
}

bool TTextEditor::SaveSettings(FILE* file) {
    if (file == nullptr) return false;
    TTextEditorStreamWriter writer(file);
    writer.Int(kSettingsVersion);
    TColor colors[kColorCount];
    GetColors(colors);
    for (TColor color : colors) writer.Int(color);
    writer.Nested(boldWords);
    writer.Nested(TString(FontName));
    writer.Int(FontSize);
    int fieldCount = 0;
    const TTextEditorSettingsField* fields = SettingsFields(fieldCount);
    for (int i = 0; i < fieldCount; ++i) {
        if (fields[i].flag != nullptr)
            writer.Flag(this->*fields[i].flag);
        else
            writer.Int(this->*fields[i].number);
    }
    for (const TTextEditorMacro& macro : macros) writer.Nested(macro);
    writer.Nested(paramMacros);
    for (const TStringContainer& buffer : buffers) writer.Nested(buffer);
    writer.Flag(PresrveMarkers);
    if (PresrveMarkers) writer.Nested(markers);
    TMemBuffer schemeBuffer;
    schemes.WriteToMemBuffer(schemeBuffer);
    writer.Nested(schemeBuffer);
    TComboBox* boxes[kHistoryCount];
    HistoryBoxes(commandCombo, boxes);
    TStringContainer history;
    for (TComboBox* box : boxes) {
        history.Clear();
        if (box != nullptr) history = box->GetItems();
        writer.Nested(history);
    }
    return writer.Finish();
}

bool TTextEditor::LoadSettings(FILE* file) {
    if (file == nullptr) return false;
    const long start = std::ftell(file);
    TTextEditorStreamReader reader(file);
    int fieldCount = 0;
    const TTextEditorSettingsField* fields = SettingsFields(fieldCount);
    auto settings = std::make_unique<TTextEditorSettings>();
    if (!ReadSettings(reader, fields, fieldCount, *settings)) {
        if (start >= 0) std::fseek(file, start, SEEK_SET);
        return false;
    }
    TakeSettings(*settings);
    return true;
}

// In file order, so that a colour stored twice takes its later copy.
void TTextEditor::TakeSettings(TTextEditorSettings& settings) {
    SetColors(settings.colors, false);
    boldWords.Swap(settings.boldWords);
    SetBWLengths();
    FontName = settings.fontName.str();
    FontSize = settings.fontSize;
    int fieldCount = 0;
    const TTextEditorSettingsField* fields = SettingsFields(fieldCount);
    for (int i = 0; i < fieldCount; ++i) {
        const int value = settings.values[static_cast<size_t>(i)];
        if (fields[i].flag != nullptr)
            this->*fields[i].flag = value != 0;
        else
            this->*fields[i].number = value;
    }
    // The line height holds LineSpace: the font is measured after it.
    ApplyFont();
    if (Focused()) RefreshCaret();
    EndMacroRecording();
    for (int i = 0; i < 10; ++i) macros[i].TakeContentOf(settings.macros[i]);
    paramMacros.TakeContentOf(settings.paramMacros);
    for (int i = 0; i < 10; ++i) buffers[i].Swap(settings.buffers[i]);
    PresrveMarkers = settings.keepMarkers;
    if (settings.keepMarkers) markers.TakeContentOf(settings.markers);
    schemes = settings.schemes;
    schemeIndex = 0;
    TComboBox* boxes[kHistoryCount];
    HistoryBoxes(commandCombo, boxes);
    for (int i = 0; i < kHistoryCount; ++i) SetItems(boxes[i], settings.histories[i]);
    Invalidate();
}

bool TTextEditor::SaveSettings(TString fileName) {
    FILE* file = std::fopen(fileName.c_str(), TextEditorText(100287, "wb").c_str());
    if (file == nullptr) return false;
    bool written = SaveSettings(file);
    written = std::fclose(file) == 0 && written;
    return written;
}

bool TTextEditor::LoadSettings(TString fileName) {
    FILE* file = std::fopen(fileName.c_str(), "rb");
    if (file == nullptr) return false;
    const bool read = LoadSettings(file);
    std::fclose(file);
    return read;
}

bool TTextEditor::LoadCombo(FILE* file, TComboBox* combo) {
    TStringContainer lines;
    if (file == nullptr || !lines.LoadFromStream(file)) return false;
    SetItems(combo, lines);
    return true;
}

// ---- The macro file ----

void TTextEditor::EndMacroRecording() {
    if (macroRecording || paramMacroRecording) StopMacroRecording(false);
}

bool TTextEditor::SaveMacros(FILE* file) {
    if (file == nullptr) return false;
    TTextEditorStreamWriter writer(file);
    writer.Raw(kMacroFileHeader, kMacroFileHeaderSize);
    for (const TTextEditorMacro& macro : macros) writer.Nested(macro);
    writer.Nested(paramMacros);
    return writer.Finish();
}

bool TTextEditor::LoadMacros(FILE* file) {
    if (file == nullptr) return false;
    const long start = std::ftell(file);
    TTextEditorStreamReader reader(file);
    char header[kMacroFileHeaderSize] = {};
    TTextEditorMacro fresh[10];
    TTextEditorMacros freshNamed;
    bool read = reader.Raw(header, sizeof header) && std::memcmp(header, kMacroFileHeader, sizeof header) == 0;
    for (int i = 0; i < 10; ++i) read = read && reader.Nested(fresh[i]);
    read = read && reader.Nested(freshNamed);
    if (!read) {
        if (start >= 0) std::fseek(file, start, SEEK_SET);
        return false;
    }
    EndMacroRecording();
    for (int i = 0; i < 10; ++i) macros[i].TakeContentOf(fresh[i]);
    paramMacros.TakeContentOf(freshNamed);
    return true;
}

void TTextEditor::SaveMacros() {
    auto dialog = std::make_unique<TSaveDialog>(this);
    dialog->SetTitle(TextEditorText(100276, "Save macros"));
    dialog->SetFilter(TextEditorText(100277, "Macro files (*.MAC)|*MAC"));
    dialog->SetDefaultExt(TextEditorText(100278, "MAC"));
    CaretOff();
    if (dialog->Execute()) {
        if (FILE* file = std::fopen(dialog->GetFileName().c_str(), TextEditorText(100279, "wb").c_str())) {
            SaveMacros(file);
            std::fclose(file);
        }
    }
    CaretOn();
}

void TTextEditor::LoadMacros() {
    auto dialog = std::make_unique<TOpenDialog>(this);
    dialog->SetTitle(TextEditorText(100280, "Load macros"));
    dialog->SetFilter(TextEditorText(100281, "Macro files (*.MAC)|*MAC"));
    dialog->SetDefaultExt(TextEditorText(100282, "MAC"));
    CaretOff();
    FILE* file = dialog->Execute() ? std::fopen(dialog->GetFileName().c_str(), TextEditorText(100283, "rb").c_str())
                                   : nullptr;
    if (file != nullptr) {
        if (!LoadMacros(file)) {
            const std::string text = TextEditorText(100284, "Invalid macro file !");
            const std::string caption = TextEditorText(100285, "Load macros");
            MessageBoxA(HandleAllocated() ? GetHandle() : nullptr, text.c_str(), caption.c_str(), MB_OK | MB_ICONERROR);
        }
        std::fclose(file);
    }
    CaretOn();
}

// ---- The macro list ----

void TTextEditor::ListMacros() {
    auto dialog = std::make_unique<TTextEditorMacroListDlg>(nullptr);
    SetupDlgPos(dialog.get());
    TStrings* lines = dialog->lbMacros->GetItems();
    for (const TTextEditorMacro& macro : macros) {
        std::string typed;
        for (int i = 0; i < macro.GetCount(); ++i)
            if (macro[i].kind == mkCharacter) typed += macro[i].ch;
        lines->Add(typed.empty() ? TextEditorText(100286, "<empty>") : typed);
    }
    dialog->btnHelp->OnClick = [this](TObject* sender) { DlgHelpHandler(sender); };
    // Published only while it shows, whatever ends the showing.
    struct TPublished {
        explicit TPublished(TTextEditorMacroListDlg* form) { TextEditorMacroListDlg = form; }
        ~TPublished() { TextEditorMacroListDlg = nullptr; }
    } published(dialog.get());
    dialog->ShowModal();
}

// ---- Word lengths ----

void TTextEditor::SetBWLengths() {
    FillLengths(boldWordLengths, &boldWords);
    FillLengths(commonBoldWordLengths, commonBoldWords);
}
