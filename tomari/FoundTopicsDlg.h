// TFoundTopicsDlg: the names of the topics a word search found.
#pragma once

#include <any>
#include <string>

#include "Form.h"

class TLabel;
class TListBox;

class TFoundTopicsDlg : public TForm {
    CLASSLIB_CLASS(TFoundTopicsDlg, TForm)

public:
    // Made hidden with its controls from its stored form.
    explicit TFoundTopicsDlg(TComponent* owner);
    std::any FindHandler(const std::string& name) override;

    // A double click chooses the topic (OK).
    void lbTopicsDblClick(TObject* sender);

    TLabel* Label1 = nullptr;
    TListBox* lbTopics = nullptr;
};
