// TSearchDlg: the word search dialog, made from its stored form.
#include "SearchDlg.h"

#include <algorithm>

#include "Buttons.h"
#include "Edit.h"
#include "Events.h"
#include "Label.h"
#include "ListBox.h"

namespace {

const THandlerEntry kSearchDlgHandlers[] = {
    CLASSLIB_HANDLER(TSearchDlg, btnAddClick),
    CLASSLIB_HANDLER(TSearchDlg, btnReplaceClick),
    CLASSLIB_HANDLER(TSearchDlg, btnDeleteClick),
    CLASSLIB_HANDLER(TSearchDlg, lbWordsClick),
};

}  // namespace

TSearchDlg::TSearchDlg(TComponent* owner) : TForm(owner) {
    LoadStoredLayout();
    Label1 = dynamic_cast<TLabel*>(FindComponent("Label1"));
    lbWords = dynamic_cast<TListBox*>(FindComponent("lbWords"));
    edWord = dynamic_cast<TEdit*>(FindComponent("edWord"));
    btnAdd = dynamic_cast<TButton*>(FindComponent("btnAdd"));
    btnDelete = dynamic_cast<TButton*>(FindComponent("btnDelete"));
    btnReplace = dynamic_cast<TButton*>(FindComponent("btnReplace"));
    cbWholeWords = dynamic_cast<TCheckBox*>(FindComponent("cbWholeWords"));
    cbAndRel = dynamic_cast<TCheckBox*>(FindComponent("cbAndRel"));
    cbCase = dynamic_cast<TCheckBox*>(FindComponent("cbCase"));
}

std::any TSearchDlg::FindHandler(const std::string& name) {
    return BindHandler(kSearchDlgHandlers, this, name.c_str());
}

void TSearchDlg::SetCriteria(const TStringContainer& words, bool wholeWords, bool andRelation, bool caseSensitivity) {
    lbWords->Clear();
    for (int i = 0; i < words.GetCount(); ++i) lbWords->GetItems()->Add(words[i].str());
    cbWholeWords->SetChecked(wholeWords);
    cbAndRel->SetChecked(andRelation);
    cbCase->SetChecked(caseSensitivity);
}

void TSearchDlg::GetCriteria(TStringContainer& words, bool& wholeWords, bool& andRelation,
                             bool& caseSensitivity) const {
    words.Clear();
    for (int i = 0; i < lbWords->GetCount(); ++i) words.Add(TString(lbWords->GetItems()->GetStrings(i)));
    wholeWords = cbWholeWords->GetChecked();
    andRelation = cbAndRel->GetChecked();
    caseSensitivity = cbCase->GetChecked();
}

void TSearchDlg::btnAddClick(TObject*) {
    lbWords->GetItems()->Add(edWord->GetText());
    edWord->SelectAll();
    SetActiveControl(edWord);
}

void TSearchDlg::btnReplaceClick(TObject*) {
    const int selected = lbWords->GetItemIndex();
    if (selected < 0) return;
    lbWords->GetItems()->SetStrings(selected, edWord->GetText());
    lbWords->SetItemIndex(selected);
}

void TSearchDlg::btnDeleteClick(TObject*) {
    const int selected = lbWords->GetItemIndex();
    if (selected < 0) return;
    lbWords->GetItems()->Delete(selected);
    lbWords->SetItemIndex(std::min(selected, lbWords->GetCount() - 1));
    SetActiveControl(lbWords);
}

void TSearchDlg::lbWordsClick(TObject*) {
    const int selected = lbWords->GetItemIndex();
    if (selected >= 0) edWord->SetText(lbWords->GetItems()->GetStrings(selected));
}
