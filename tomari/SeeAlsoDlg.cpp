// TSeeAlsoDlg: the related topics dialog, made from its stored form.
#include "SeeAlsoDlg.h"

#include "Events.h"
#include "Label.h"
#include "ListBox.h"

namespace {

const THandlerEntry kSeeAlsoDlgHandlers[] = {CLASSLIB_HANDLER(TSeeAlsoDlg, lbNamesDblClick)};

}  // namespace

TSeeAlsoDlg::TSeeAlsoDlg(TComponent* owner) : TForm(owner) {
    LoadStoredLayout();
    Label1 = dynamic_cast<TLabel*>(FindComponent("Label1"));
    lbNames = dynamic_cast<TListBox*>(FindComponent("lbNames"));
}

std::any TSeeAlsoDlg::FindHandler(const std::string& name) {
    return BindHandler(kSeeAlsoDlgHandlers, this, name.c_str());
}

void TSeeAlsoDlg::lbNamesDblClick(TObject*) { SetModalResult(mrOk); }
