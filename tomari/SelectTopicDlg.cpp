// TSelectTopicDlg: the topic selection dialog, made from its stored form.
#include "SelectTopicDlg.h"

#include "Edit.h"
#include "Events.h"
#include "Label.h"
#include "ListBox.h"

namespace {

const THandlerEntry kSelectTopicDlgHandlers[] = {
    CLASSLIB_HANDLER(TSelectTopicDlg, FormShow),
    CLASSLIB_HANDLER(TSelectTopicDlg, edWordKeyPress),
    CLASSLIB_HANDLER(TSelectTopicDlg, lbNamesDblClick),
};

constexpr char kBackspace = 8;

}  // namespace

TSelectTopicDlg::TSelectTopicDlg(TComponent* owner) : TForm(owner) {
    LoadStoredLayout();
    Label1 = dynamic_cast<TLabel*>(FindComponent("Label1"));
    edWord = dynamic_cast<TEdit*>(FindComponent("edWord"));
    Label2 = dynamic_cast<TLabel*>(FindComponent("Label2"));
    lbNames = dynamic_cast<TListBox*>(FindComponent("lbNames"));
}

std::any TSelectTopicDlg::FindHandler(const std::string& name) {
    return BindHandler(kSelectTopicDlgHandlers, this, name.c_str());
}

void TSelectTopicDlg::FormShow(TObject*) {
    lbNames->Clear();
    if (fNames != nullptr)
        for (int i = 0; i < fNames->GetCount(); ++i) lbNames->GetItems()->Add((*fNames)[i].str());
    edWord->SetText("");
    SetActiveControl(edWord);
}

void TSelectTopicDlg::edWordKeyPress(TObject*, char& key) {
    std::string text = edWord->GetText();
    if (static_cast<unsigned char>(key) > 31) text += key;
    if (key == kBackspace) {
        if (text.size() <= 1) {
            lbNames->SetItemIndex(-1);
            return;
        }
        text.pop_back();
    }
    const TString typed = TString(text).LowerCase();
    for (int i = 0; i < lbNames->GetCount(); ++i) {
        if (TString(lbNames->GetItems()->GetStrings(i)).Left(typed.Length()).LowerCase() == typed) {
            lbNames->SetItemIndex(i);
            return;
        }
    }
    lbNames->SetItemIndex(-1);
}

void TSelectTopicDlg::lbNamesDblClick(TObject*) { SetModalResult(mrOk); }
