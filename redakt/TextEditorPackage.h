// The objects every editor of the process shares: the package's language
// table and the shared dialog forms, owned by one component of the package
// that the library makes when it loads and frees when it unloads, so that
// destroying an editor (the first one included) leaves them valid.
#pragma once

#include "Win32Types.h"

class TComponent;
class TForm;
class TLangTable;

// The redakt library's module: its embedded resources.
HMODULE RedaktResourceModule();

// Called once by the library's start-up and shut-down. At shut-down a form
// that still has its window is not freed (the window layer may already be
// gone when a process ends): the package then stays to the end.
void CreateTextEditorPackage();
void FreeTextEditorPackage();

// The package's own language table, read from the resource
// "texteditor_translations" on the first call and kept to shut-down; null
// outside the package's life.
TLangTable* TextEditorPackageLangTable();

// ORDER SHARED FORMS: the thirteen shared dialog forms, in the order Init
// makes them.
enum class TTextEditorSharedForm : int {
    Setup,             // TTextEditorSetupDlg
    GoToLine,          // TTextEditorGoToLineDlg
    Search,            // TTextEditorSearchDlg
    SearchAll,         // TTextEditorSearchAllDlg
    Replace,           // TTextEditorReplaceDlg
    ReplacePrompt,     // TTextEditorReplacePromptDlg
    MacroName,         // TTextEditorMacroNameDlg
    SelectParamMacro,  // TTextEditorSelectParamMacroDlg
    LineInsertText,    // TTextEditorLineInsertTextDlg
    StatSetup,         // TTextEditorStatSetupDlg
    ConvertLines,      // TTextEditorConvertLinesDlg
    ApplyResult,       // TTextEditorApplyResultDlg
    CalcResult,        // TTextEditorCalcResultDlg
};
constexpr int kTextEditorSharedFormCount = 13;

// Makes a shared form with the package's owner component as its owner.
using TTextEditorFormFactory = TForm* (*)(TComponent* owner);
template <class Form>
TForm* MakeTextEditorForm(TComponent* owner) {
    return new Form(owner);
}

// Sets the factory of a slot (null: none) and returns the one it replaces.
// The form the slot holds is freed, so the next Init makes the new one.
TTextEditorFormFactory RegisterTextEditorForm(TTextEditorSharedForm slot, TTextEditorFormFactory factory);
// Init's step: makes the form of every slot that has a factory and no form.
void CreateTextEditorSharedForms();
// The slot's form; null until a factory has made it (or after it was freed).
TForm* GetTextEditorSharedForm(TTextEditorSharedForm slot);
template <class Form>
Form* TextEditorSharedForm(TTextEditorSharedForm slot) {
    return dynamic_cast<Form*>(GetTextEditorSharedForm(slot));
}
