// TTextEditor: the settings dialog (filled from the editor, taken back on OK)
// and the text tidying it offers.
#include <string>
#include <string_view>

#include "Application.h"
#include "Buttons.h"
#include "ComboBox.h"
#include "Edit.h"
#include "ListBox.h"
#include "TextEditor.h"
#include "TextEditorSetupDlg.h"

namespace {

// The editor property each switch box stands for.
struct TSetupSwitch {
    bool (TTextEditor::*get)() const;
    void (TTextEditor::*set)(bool);
};

// ORDER: the schemes' switch order (TTextEditorScheme::Flags()), which is the
// dialog's switchBoxes order.
const TSetupSwitch kSetupSwitches[TTextEditorSetupDlg::kSwitchCount] = {
    {&TTextEditor::GetAutoIndent, &TTextEditor::SetAutoIndent},
    {&TTextEditor::GetBackspaceUnindent, &TTextEditor::SetBackspaceUnindent},
    {&TTextEditor::GetEmptyUnindent, &TTextEditor::SetEmptyUnindent},
    {&TTextEditor::GetPersistentBlocks, &TTextEditor::SetPersistentBlocks},
    {&TTextEditor::GetTextAtCursor, &TTextEditor::SetTextAtCursor},
    {&TTextEditor::GetAllBlocks, &TTextEditor::SetAllBlocks},
    {&TTextEditor::GetSmartTab, &TTextEditor::SetSmartTab},
    {&TTextEditor::GetAutoLineBreak, &TTextEditor::SetAutoLineBreak},
    {&TTextEditor::GetDoubleClickLine, &TTextEditor::SetDoubleClickLine},
    {&TTextEditor::GetDosFormat, &TTextEditor::SetDosFormat},
    {&TTextEditor::GetPresrveMarkers, &TTextEditor::SetPresrveMarkers},
    {&TTextEditor::GetAutoSave, &TTextEditor::SetAutoSave},
    {&TTextEditor::GetShowBoldWords, &TTextEditor::SetShowBoldWords},
    {&TTextEditor::GetShowStrings, &TTextEditor::SetShowStrings},
    {&TTextEditor::GetShowChars, &TTextEditor::SetShowChars},
    {&TTextEditor::GetShowDirectives, &TTextEditor::SetShowDirectives},
    {&TTextEditor::GetShowRemarks, &TTextEditor::SetShowRemarks},
    {&TTextEditor::GetShowNumbers, &TTextEditor::SetShowNumbers},
    {&TTextEditor::GetShowSymbols, &TTextEditor::SetShowSymbols},
    {&TTextEditor::GetShowMargin, &TTextEditor::SetShowMargin},
};

}  // namespace

void TTextEditor::Setup() {
    TTextEditorSetupDlg* dialog = SharedSetupDlg();
    if (dialog == nullptr) return;
    SetupDlgPos(dialog);
    FillSetupDlg(*dialog);
    dialog->btnHelp->OnClick = [this](TObject* sender) { DlgHelpHandler(sender); };
    // The dialog refers to this editor only while it shows.
    struct TShowing {
        explicit TShowing(TTextEditorSetupDlg* form, TTextEditor* editor) : dialog(form) { dialog->editor = editor; }
        ~TShowing() { dialog->editor = nullptr; }
        TTextEditorSetupDlg* dialog;
    } showing(dialog, this);
    if (dialog->ShowModal() != mrOk) return;
    // The close check has read the values; they are read again, before
    // anything changes, for a dialog closed without it.
    TTextEditorSetupValues values;
    if (dialog->ReadValues(values) != 0) return;
    TakeSetupDlg(*dialog, values);
}

void TTextEditor::FillSetupDlg(TTextEditorSetupDlg& dialog) {
    dialog.schemes = schemes;
    dialog.schemeIndex = dialog.editorSchemeIndex = schemeIndex;
    bool switches[TTextEditorSetupDlg::kSwitchCount];
    int box = 0;
    for (const TSetupSwitch& row : kSetupSwitches) switches[box++] = (this->*row.get)();
    dialog.ShowSwitches(switches);
    dialog.cmbTabsize->SetText(std::to_string(TabSize));
    dialog.cmbIndentSize->SetText(std::to_string(IndentSize));
    const size_t separator = std::string_view(TTextEditorSetupDlg::kColSeparators).find(ColSeparator);
    dialog.cmbColSeparator->SetItemIndex(separator == std::string_view::npos ? -1 : static_cast<int>(separator));
    dialog.edAlignChar->SetText(alignChar != '\0' ? std::string(1, alignChar) : std::string());
    TStrings* fonts = dialog.cmbCharset->GetItems();
    fonts->Assign(Screen->GetFonts());
    const int font = fonts->IndexOf(FontName);
    dialog.cmbCharset->SetItemIndex(font >= 0 ? font : (fonts->GetCount() > 0 ? 0 : -1));
    dialog.cmbCharsize->SetText(std::to_string(FontSize));
    GetColors(dialog.colors);
    dialog.edMarginPos->SetText(std::to_string(MarginPos));
    TStrings* words = dialog.lbBoldWords->GetItems();
    words->Clear();
    for (int i = 0; i < boldWords.GetCount(); ++i) words->Add(boldWords[i].str());
    TStrings* names = dialog.lbSchemes->GetItems();
    names->Clear();
    for (int i = 0; i < schemes.GetCount(); ++i) names->Add(schemes[i].extensions.str());
    dialog.lbSchemes->SetItemIndex(schemeIndex);
}

void TTextEditor::TakeSetupDlg(TTextEditorSetupDlg& dialog, const TTextEditorSetupValues& values) {
    schemes = dialog.schemes;
    schemeIndex = dialog.editorSchemeIndex;
    int box = 0;
    for (const TSetupSwitch& row : kSetupSwitches) (this->*row.set)(dialog.switchBoxes[box++]->GetChecked());
    TabSize = values.tabSize;
    IndentSize = values.indentSize;
    const int separator = dialog.cmbColSeparator->GetItemIndex();
    if (separator >= 0 && separator < static_cast<int>(std::string_view(TTextEditorSetupDlg::kColSeparators).size()))
        ColSeparator = TTextEditorSetupDlg::kColSeparators[separator];
    // An empty box keeps the align character (it has none to give).
    const std::string align = dialog.edAlignChar->GetText();
    if (!align.empty()) alignChar = align[0];
    // Without fonts to choose from the list is empty: the font name stays.
    const std::string font = dialog.cmbCharset->GetText();
    if (!font.empty()) FontName = font;
    FontSize = values.fontSize;
    ApplyFont();
    SetColors(dialog.colors, false);
    SetMarginPos(values.marginPos);
    const TStrings* words = dialog.lbBoldWords->GetItems();
    boldWords.Clear();
    for (int i = 0; i < words->GetCount(); ++i) boldWords.Add(TString(words->GetStrings(i)));
    SetBWLengths();
    Invalidate();
    if (Focused()) RefreshCaret();
    SetColGap(GetLineHeight() + 2);
    SetCaretPos(CurCol, CurLine);
    lineNumbersWidth = GetLineNumbersWidth();
}

void TTextEditor::DeleteTailSpaces() {
    void* const* items = static_cast<void* const*>(lines.GetItems());
    const int count = lines.GetCount();
    for (int i = 0; i < count; ++i) {
        TStringContainer::PrefetchLines(items, i, count);
        static_cast<TString*>(items[i])->TrimRight(' ');
    }
    RefreshLines(-1);
    SetModified(true);
}
