// TSelectTopicDlg: choosing a topic by one of its names, with an incremental
// search as the name is typed.
#pragma once

#include <any>
#include <string>

#include "Form.h"
#include "StringContainer.h"

class TEdit;
class TLabel;
class TListBox;

class TSelectTopicDlg : public TForm {
    CLASSLIB_CLASS(TSelectTopicDlg, TForm)

public:
    // Made hidden with its controls from its stored form.
    explicit TSelectTopicDlg(TComponent* owner);
    std::any FindHandler(const std::string& name) override;

    // The names the list shows (not owned; set before the dialog is shown).
    void SetNames(const TStringContainer* names) { fNames = names; }

    // The list is filled with the names; the edit box is emptied and focused.
    void FormShow(TObject* sender);
    // Before a key reaches the box: selects the first name that begins with
    // what the box will hold, compared in lower case with leading blanks; none
    // when no name does. Backspace with one character or none clears the
    // selection.
    void edWordKeyPress(TObject* sender, char& key);
    // A double click chooses the name (OK).
    void lbNamesDblClick(TObject* sender);

    TLabel* Label1 = nullptr;
    TEdit* edWord = nullptr;
    TLabel* Label2 = nullptr;
    TListBox* lbNames = nullptr;

private:
    const TStringContainer* fNames = nullptr;
};
