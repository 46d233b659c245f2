// TSelectableRectScrollerInfoForm: the small borderless form that floats above
// a selectable rectangle scroller's form and shows one line next to the cursor.
#pragma once

#include "Form.h"

class TLabel;

class TSelectableRectScrollerInfoForm : public TForm {
    CLASSLIB_CLASS(TSelectableRectScrollerInfoForm, TForm)

public:
    // Made hidden from its stored form: no border, stays on top, 104 x 15 on
    // the window colour, the label lbInfo at its corner.
    explicit TSelectableRectScrollerInfoForm(TComponent* owner);
    ~TSelectableRectScrollerInfoForm() override;

    TLabel* lbInfo = nullptr;
};
