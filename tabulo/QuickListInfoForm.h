// TQuickListInfoForm: the small borderless form that shows a column's width
// or a line's height while the quick list's border is dragged.
#pragma once

#include <string>

#include "Form.h"

class TLabel;

class TQuickListInfoForm : public TForm {
    CLASSLIB_CLASS(TQuickListInfoForm, TForm)

public:
    // Made hidden from its stored form: no border, on top, clInfoBk, one label.
    explicit TQuickListInfoForm(TComponent* owner);

    // Writes text into the label, sizes the form to the label (its margins
    // kept on both sides) and puts the form's top-left at the screen point.
    void SetInfo(const std::string& text, POINT screen);
    // Shown and hidden without taking the activation from the form under
    // the drag, which keeps the focus and the mouse.
    void ShowInfo();
    void HideInfo();
    bool InfoShown() const;

    TLabel* lbInfo = nullptr;
};
