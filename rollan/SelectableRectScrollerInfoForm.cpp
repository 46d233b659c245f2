// TSelectableRectScrollerInfoForm: made from its stored form.
#include "SelectableRectScrollerInfoForm.h"

#include "Label.h"

TSelectableRectScrollerInfoForm::TSelectableRectScrollerInfoForm(TComponent* owner) : TForm(owner) {
    LoadStoredLayout();
    lbInfo = dynamic_cast<TLabel*>(FindComponent("lbInfo"));
}

TSelectableRectScrollerInfoForm::~TSelectableRectScrollerInfoForm() = default;
