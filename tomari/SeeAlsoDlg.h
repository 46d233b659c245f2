// TSeeAlsoDlg: the captions of a link's related topics, one to choose.
#pragma once

#include <any>
#include <string>

#include "Form.h"

class TLabel;
class TListBox;

class TSeeAlsoDlg : public TForm {
    CLASSLIB_CLASS(TSeeAlsoDlg, TForm)

public:
    // Made hidden with its controls from its stored form.
    explicit TSeeAlsoDlg(TComponent* owner);
    std::any FindHandler(const std::string& name) override;

    // A double click chooses the caption (OK).
    void lbNamesDblClick(TObject* sender);

    TLabel* Label1 = nullptr;
    TListBox* lbNames = nullptr;
};
