// TSearchDlg: the words to search the topics for, and the three options.
#pragma once

#include <any>
#include <string>

#include "Form.h"
#include "StringContainer.h"

class TButton;
class TCheckBox;
class TEdit;
class TLabel;
class TListBox;

class TSearchDlg : public TForm {
    CLASSLIB_CLASS(TSearchDlg, TForm)

public:
    // Made hidden with its controls from its stored form.
    explicit TSearchDlg(TComponent* owner);
    std::any FindHandler(const std::string& name) override;

    // The word list and the options shown, and what the dialog holds.
    void SetCriteria(const TStringContainer& words, bool wholeWords, bool andRelation, bool caseSensitivity);
    void GetCriteria(TStringContainer& words, bool& wholeWords, bool& andRelation, bool& caseSensitivity) const;

    // Appends the edit box's text and selects it in the box, focused.
    void btnAddClick(TObject* sender);
    // The edit box's text takes the place of the selected word, which stays
    // selected; nothing without one.
    void btnReplaceClick(TObject* sender);
    // Removes the selected word and selects the one in its place (the new
    // last one after the last), focusing the list; nothing without one.
    void btnDeleteClick(TObject* sender);
    // The clicked word goes into the edit box.
    void lbWordsClick(TObject* sender);

    TLabel* Label1 = nullptr;
    TListBox* lbWords = nullptr;
    TEdit* edWord = nullptr;
    TButton* btnAdd = nullptr;
    TButton* btnDelete = nullptr;
    TButton* btnReplace = nullptr;
    TCheckBox* cbWholeWords = nullptr;
    TCheckBox* cbAndRel = nullptr;
    TCheckBox* cbCase = nullptr;
};
