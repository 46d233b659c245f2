// Built-in functions that ask the user through the platform's dialogs and the text input form.
#include "BuiltinDialogs.h"

#include <memory>
#include <string>

#include "BuiltinTargets.h"
#include "FileDialogs.h"
#include "KroGetTextDlg.h"
#include "MessageBox.h"

namespace {

void MessageBoxBody(const TBuiltinCall& call, EXPRESSION_ITEM& result) {
    const UINT style = static_cast<UINT>(call.Int(2));
    result.value.integer = MessageBoxA(nullptr, call.Text(0).c_str(), call.Text(1).c_str(), style);
}

// The evaluator throws nothing: a dialog that fails to open answers 0. The
// target is looked up again once a dialog closes, since the program's other
// code runs while it is open and may change the variables.
void ReadStringBody(const TBuiltinCall& call, EXPRESSION_ITEM& result) try {
    const TString* shown = StringTarget(call, 2);
    if (shown == nullptr) return;
    std::unique_ptr<TKroGetTextDlg> dialog(new TKroGetTextDlg(nullptr));
    const int32_t maximum = call.Int32(3);
    dialog->SetMaxLength(maximum > 0 ? maximum : 0);
    std::string text = shown->str();
    if (!dialog->Execute(call.Text(0).str(), call.Text(1).str(), text)) return;
    TString* target = StringTarget(call, 2);
    if (target == nullptr) return;
    *target = TString(text);
    result.value.integer = 1;
} catch (...) {
    result.value.integer = 0;
}

void GetFileNameBody(const TBuiltinCall& call, EXPRESSION_ITEM& result) try {
    const TVariable* filters = call.Variable(1);
    if (StringTarget(call, 2) == nullptr || filters == nullptr) return;
    std::unique_ptr<TOpenDialog> dialog(new TOpenDialog(nullptr));
    dialog->SetTitle(call.Text(0).str());
    dialog->SetFilter(FileFilterOf(*filters).str());
    const bool chosen = dialog->Execute();
    TString* target = StringTarget(call, 2);
    if (target == nullptr) return;
    *target = TString(dialog->GetFileName());
    result.value.integer = chosen ? 1 : 0;
} catch (...) {
    result.value.integer = 0;
}

const TBuiltinBodyRow kDialogBodies[] = {
    {31, MessageBoxBody},
    {32, ReadStringBody},
    {47, GetFileNameBody},
};

}  // namespace

TString FileFilterOf(const TVariable& filters) {
    TString filter;
    if (filters.type != vtArray || filters.value.a.itemtype != vtString) return filter;
    for (int i = 0; i < filters.value.a.count; ++i) {
        TString item = *static_cast<const TString*>(filters.GetItem(i));
        if (i > 0) filter += '|';
        filter += item.Substitute(',', '|');
    }
    return filter;
}

TBuiltinBodyRows DialogBuiltinBodies() { return RowsOf(kDialogBodies); }
