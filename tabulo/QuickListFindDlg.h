// TQuickListFindDlg: the quick list's find dialog (the text to find with its
// history, whole text only and case sensitivity), made from its stored form.
#pragma once

#include <any>
#include <string>
#include <vector>

#include "Form.h"

class TButton;
class TCheckBox;
class TComboBox;
class TStrings;
struct TQuickListFindReplaceInfo;

class TQuickListFindDlg : public TForm {
    CLASSLIB_CLASS(TQuickListFindDlg, TForm)

public:
    // Made hidden with its controls from its stored form, caption "Find".
    explicit TQuickListFindDlg(TComponent* owner);
    std::any FindHandler(const std::string& name) override;

    // Fills the dialog from info: the text to find, its history as the
    // combo box's list in order, and the two options. info is not changed.
    virtual void Load(const TQuickListFindReplaceInfo& info);
    // Writes the dialog back: the text, the history rebuilt from the list in
    // order, and the two options.
    virtual void Store(TQuickListFindReplaceInfo& info);

    // "&Ok": puts the text to find first in its list, then closes with mrOk.
    virtual void btnOkClick(TObject* sender);

    // Puts text first in a history list: nothing for an empty text or one
    // the list already holds (compared exactly; it keeps its place); the
    // oldest entry goes when the list then holds more than 16.
    static void AddToHistory(TStrings* list, const std::string& text);

    TComboBox* cmbText = nullptr;
    TCheckBox* cbWholeText = nullptr;
    TCheckBox* cbCase = nullptr;
    TButton* btnOk = nullptr;
    TButton* btnCancel = nullptr;

protected:
    // For a derived dialog: nothing is loaded, so that the derived
    // constructor loads the stored forms of the whole chain and then calls
    // BindControls.
    TQuickListFindDlg(TComponent* owner, bool derived);
    // Finds this class's controls among the loaded components.
    void BindControls();
    // A combo box shows a history as its list, in order, and a text; and back.
    static void LoadCombo(TComboBox* combo, const std::vector<std::string>& history, const std::string& text);
    static void StoreCombo(TComboBox* combo, std::vector<std::string>& history, std::string& text);
};
