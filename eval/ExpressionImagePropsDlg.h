// TExpressionImagePropsDlg: the modal dialog that edits a TExpressionImageProps
// value, offering the fonts and sizes of the character tables in $CHDIR.
#pragma once

#include <any>
#include <set>
#include <string>

#include "ExpressionImageProps.h"
#include "Form.h"

class TBevel;
class TButton;
class TComboBox;
class TEdit;
class TGraphObjectComboBox;
class TLabel;

class TExpressionImagePropsDlg : public TForm {
    CLASSLIB_CLASS(TExpressionImagePropsDlg, TForm)

public:
    // Made hidden from its form resource, with default Props, the font list of
    // $CHDIR read once now, and the shared language table loaded.
    explicit TExpressionImagePropsDlg(TComponent* owner);
    ~TExpressionImagePropsDlg() override;
    std::any FindHandler(const std::string& name) override;

    // Loads the language table shared by every dialog of this class from the
    // library's resource, once, and sets its language to 0.
    static void InitLangTable();
    // Sets the language (0 English, 1 Hungarian) of every dialog shown later.
    static void SetLang(int language);

    // The font names of the character tables in $CHDIR: for every regular
    // file "<name>.<ext>" (extension matched with case), the text before its
    // first "_"; names without "_" or starting with it give nothing. Empty
    // when CHDIR is unset or the folder is missing.
    static std::set<std::string> ListCHRFonts(const std::string& ext);
    // The sizes of font's tables in $CHDIR: for every file "<font>_*.<ext>",
    // the decimal number that starts the text between the first "_" and the
    // first "." after it; names where no number (fitting an int) stands there
    // are skipped. Empty when CHDIR is unset.
    static std::set<int> ListCHRSizes(const std::string& ext, const std::string& font);

    // OnShow: translates the texts, fills the font list (Props.Font selected,
    // else the first font), the sizes, colours and ratios ("%.3f").
    void FormShow(TObject* sender);
    // Picking a font: its sizes fill the size list (Props.FontSize selected,
    // else the first size). Nothing when no font is selected.
    void cmbFontClick(TObject* sender);
    // OK: stores the selected font and size (each only when one is selected),
    // both colours, and each ratio whose text starts with a finite number;
    // then closes with mrOk.
    void btnOkClick(TObject* sender);

    // The values shown at opening and, after OK, the values chosen.
    TExpressionImageProps Props;

    TLabel* Label1 = nullptr;
    TLabel* Label2 = nullptr;
    TLabel* Label3 = nullptr;
    TLabel* Label4 = nullptr;
    TLabel* Label5 = nullptr;
    TLabel* Label6 = nullptr;
    TLabel* Label7 = nullptr;
    TBevel* Bevel1 = nullptr;
    TComboBox* cmbFont = nullptr;
    TComboBox* cmbFontSize = nullptr;
    TGraphObjectComboBox* cmbBkColor = nullptr;
    TGraphObjectComboBox* cmbTextColor = nullptr;
    TEdit* edExpCharRatio = nullptr;
    TEdit* edIndexCharRatio = nullptr;
    TEdit* edRootCharRatio = nullptr;
    TButton* btnOk = nullptr;
    TButton* btnCancel = nullptr;
    TButton* brnHelp = nullptr;

private:
    void FindControls();

    std::set<std::string> fonts_;
    std::set<int> sizes_;
};

// A dialog a host may keep here; null until a host stores one.
extern TExpressionImagePropsDlg* ExpressionImagePropsDlg;
