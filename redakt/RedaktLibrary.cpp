// Start-up and shut-down of the Redakt units: registers the editor and its
// property table for form resources and the palette and makes the package's
// shared objects when the library loads; frees them and takes the class out
// of the registry when it unloads.
#include "Registration.h"
#include "TextEditor.h"
#include "TextEditorConvertLinesDlg.h"
#include "TextEditorGoToLineDlg.h"
#include "TextEditorLineInsertTextDlg.h"
#include "TextEditorMacroDlgs.h"
#include "TextEditorPackage.h"
#include "TextEditorResultDlgs.h"
#include "TextEditorSearchDlg.h"
#include "TextEditorSetupDlg.h"
#include "TextEditorStatSetupDlg.h"

namespace {

// The shared dialogs the package makes, one row a slot.
struct TSharedFormRow {
    TTextEditorSharedForm slot;
    TTextEditorFormFactory factory;
};
const TSharedFormRow kSharedForms[] = {
    {TTextEditorSharedForm::Setup, &MakeTextEditorForm<TTextEditorSetupDlg>},
    {TTextEditorSharedForm::GoToLine, &MakeTextEditorForm<TTextEditorGoToLineDlg>},
    {TTextEditorSharedForm::Search, &MakeTextEditorForm<TTextEditorSearchDlg>},
    {TTextEditorSharedForm::SearchAll, &MakeTextEditorForm<TTextEditorSearchAllDlg>},
    {TTextEditorSharedForm::Replace, &MakeTextEditorForm<TTextEditorReplaceDlg>},
    {TTextEditorSharedForm::ReplacePrompt, &MakeTextEditorForm<TTextEditorReplacePromptDlg>},
    {TTextEditorSharedForm::MacroName, &MakeTextEditorForm<TTextEditorMacroNameDlg>},
    {TTextEditorSharedForm::SelectParamMacro, &MakeTextEditorForm<TTextEditorSelectParamMacroDlg>},
    {TTextEditorSharedForm::LineInsertText, &MakeTextEditorForm<TTextEditorLineInsertTextDlg>},
    {TTextEditorSharedForm::StatSetup, &MakeTextEditorForm<TTextEditorStatSetupDlg>},
    {TTextEditorSharedForm::ConvertLines, &MakeTextEditorForm<TTextEditorConvertLinesDlg>},
    {TTextEditorSharedForm::ApplyResult, &MakeTextEditorForm<TTextEditorApplyResultDlg>},
    {TTextEditorSharedForm::CalcResult, &MakeTextEditorForm<TTextEditorCalcResultDlg>},
};

void RegisterSharedForms() {
    for (const TSharedFormRow& row : kSharedForms) RegisterTextEditorForm(row.slot, row.factory);
}

// ORDER: the property table before the class that publishes it; the shared
// objects last, as editors need them only once the library is up.
void RedaktInitialise() {
    RegisterTextEditorProperties();
    Texteditor::Register();
    CreateTextEditorPackage();
    RegisterSharedForms();
}

void RedaktFinalise() {
    FreeTextEditorPackage();
    UnRegisterClass(TTextEditor::StaticClassInfo());
}

__attribute__((constructor)) void LoadRedaktLibrary() { RedaktInitialise(); }
__attribute__((destructor)) void UnloadRedaktLibrary() { RedaktFinalise(); }

}  // namespace
