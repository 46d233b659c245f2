// TFoundTopicsDlg: the found topics dialog, made from its stored form.
#include "FoundTopicsDlg.h"

#include "Events.h"
#include "Label.h"
#include "ListBox.h"

namespace {

const THandlerEntry kFoundTopicsDlgHandlers[] = {CLASSLIB_HANDLER(TFoundTopicsDlg, lbTopicsDblClick)};

}  // namespace

TFoundTopicsDlg::TFoundTopicsDlg(TComponent* owner) : TForm(owner) {
    LoadStoredLayout();
    Label1 = dynamic_cast<TLabel*>(FindComponent("Label1"));
    lbTopics = dynamic_cast<TListBox*>(FindComponent("lbTopics"));
}

std::any TFoundTopicsDlg::FindHandler(const std::string& name) {
    return BindHandler(kFoundTopicsDlgHandlers, this, name.c_str());
}

void TFoundTopicsDlg::lbTopicsDblClick(TObject*) { SetModalResult(mrOk); }
