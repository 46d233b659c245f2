// TTextEditorConvertLinesDlg: the convert-lines dialog made from its stored
// form, and its OK handler that lets only a compiling expression through.
#include "TextEditorConvertLinesDlg.h"

#include "Buttons.h"
#include "ComboBox.h"
#include "Events.h"
#include "Expression.h"
#include "Label.h"
#include "Langtable.h"
#include "TextEditorFunctions.h"
#include "TextEditorPackage.h"
#include "TextEditorTexts.h"

namespace {

const THandlerEntry kConvertLinesDlgHandlers[] = {
    CLASSLIB_HANDLER(TTextEditorConvertLinesDlg, FormCreate),
    CLASSLIB_HANDLER(TTextEditorConvertLinesDlg, btnOkClick),
};

constexpr int kExpressionHistory = 16;

}  // namespace

TTextEditorConvertLinesDlg::TTextEditorConvertLinesDlg(TComponent* owner) : TForm(owner) {
    LoadStoredLayout();
    lbExpression = dynamic_cast<TLabel*>(FindComponent("lbExpression"));
    cmbExpr = dynamic_cast<TComboBox*>(FindComponent("cmbExpr"));
    btnOk = dynamic_cast<TButton*>(FindComponent("btnOk"));
    btnCancel = dynamic_cast<TButton*>(FindComponent("btnCancel"));
    btnHelp = dynamic_cast<TButton*>(FindComponent("btnHelp"));
    if (TLangTable* table = GetTextEditorLangTable()) table->SetText(this);
}

std::any TTextEditorConvertLinesDlg::FindHandler(const std::string& name) {
    return BindHandler(kConvertLinesDlgHandlers, this, name.c_str());
}

void TTextEditorConvertLinesDlg::FormCreate(TObject*) {}

void TTextEditorConvertLinesDlg::btnOkClick(TObject*) {
    TExpression expression(variables);
    if (expression.SetSource(TString(cmbExpr->GetText()), variables)) {
        SetModalResult(mrOk);
        AddComboHistory(cmbExpr, kExpressionHistory);
        return;
    }
    const std::string text = TextEditorText(100456, "Wrong converion expression");
    MessageBoxA(HandleAllocated() ? GetHandle() : nullptr, text.c_str(), GetCaption().c_str(), MB_OK | MB_ICONERROR);
}

TTextEditorConvertLinesDlg* SharedConvertLinesDlg() {
    constexpr TTextEditorSharedForm slot = TTextEditorSharedForm::ConvertLines;
    if (GetTextEditorSharedForm(slot) == nullptr) CreateTextEditorSharedForms();
    return TextEditorSharedForm<TTextEditorConvertLinesDlg>(slot);
}
