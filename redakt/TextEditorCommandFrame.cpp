// TTextEditor: the frame the line commands share: the working range, the
// history of the editor's combo boxes (an entry is kept once, compared
// exactly) and the dialogs' help handler.
#include <algorithm>
#include <cstring>

#include "ComboBox.h"
#include "Form.h"
#include "TextEditor.h"
#include "TextEditorFunctions.h"

void TTextEditor::GetWorkingRange(int& first, int& last) {
    if (selection.selStartLine != selection.selEndLine) {
        first = selection.selStartLine;
        last = selection.selEndLine - 1;
    } else {
        first = 0;
        last = lines.GetCount() - 1;
    }
}

void AddComboHistory(TComboBox* box, int limit) {
    if (box == nullptr) return;
    const std::string text = box->GetText();
    TStrings* items = box->GetItems();
    if (text.empty()) return;
    for (int i = 0; i < items->GetCount(); ++i)
        if (items->GetStrings(i) == text) return;
    items->Insert(0, text);
    while (items->GetCount() > std::max(limit, 0)) items->Delete(items->GetCount() - 1);
}

namespace {

// ORDER none: each row names a dialog's form class and the number its Help
// control reports; a dialog built later joins by its class alone.
const struct {
    const char* formClass;
    TTextEditorDlg dialog;
} kHelpDialogs[] = {
    {"TTextEditorSearchDlg", dlgSearch},     {"TTextEditorReplaceDlg", dlgReplace},
    {"TTextEditorGoToLineDlg", dlgGoToLine}, {"TTextEditorSetupDlg", dlgSettings},
    {"TTextEditorMacroListDlg", dlgMacroList},
};

// The form that holds a control, or null.
const TForm* FormHolding(TObject* sender) {
    const auto* control = dynamic_cast<TControl*>(sender);
    for (TWinControl* parent = control ? control->GetParent() : nullptr; parent; parent = parent->GetParent())
        if (const auto* form = dynamic_cast<TForm*>(parent)) return form;
    return nullptr;
}

bool IsOfClassNamed(const TObject& object, const char* name) {
    for (const TClassInfo* info = object.ClassInfo(); info; info = info->base)
        if (std::strcmp(info->name, name) == 0) return true;
    return false;
}

}  // namespace

void TTextEditor::DlgHelpHandler(TObject* sender) {
    const TForm* form = FormHolding(sender);
    if (!OnDlgHelp || form == nullptr) return;
    for (const auto& row : kHelpDialogs)
        if (IsOfClassNamed(*form, row.formClass)) {
            OnDlgHelp(this, row.dialog);
            return;
        }
}
