// TTextEditorSetupDlg: the editor settings dialog, made from its stored form.
// Five pages (editor switches and sizes, appearance, colours, bold words,
// schemes) edit two things at once: the settings the editor takes on OK and
// a working copy of its schemes, whose shown scheme the twenty switch boxes
// also stand for. Also the bold-word file: words separated by blanks, read
// from any number of lines and written one a line.
#pragma once

#include <any>
#include <string>

#include "Form.h"
#include "String.h"
#include "StringContainer.h"
#include "TextEditorSchemes.h"

class TButton;
class TCheckBox;
class TComboBox;
class TEdit;
class TGraphObjectComboBox;
class TLabel;
class TListBox;
class TOpenDialog;
class TPageControl;
class TSaveDialog;
class TTabSheet;
class TTextEditor;

// The four numbers of the dialog's texts, as the close check reads them.
struct TTextEditorSetupValues {
    int tabSize = 0;
    int indentSize = 0;
    int fontSize = 0;
    int marginPos = 0;
};

class TTextEditorSetupDlg : public TForm {
    CLASSLIB_CLASS(TTextEditorSetupDlg, TForm)

public:
    // Made hidden from its stored form and translated by the editors'
    // language table when one exists; the colour combo comes with FormCreate.
    explicit TTextEditorSetupDlg(TComponent* owner);
    std::any FindHandler(const std::string& name) override;

    static constexpr int kColorCount = 14;
    static constexpr int kSwitchCount = 20;
    // ORDER: the column separators of cmbColSeparator's items.
    static constexpr char kColSeparators[] = " ,;.|/*";

    // ---- The form's handlers ----
    // Makes the colour combo on the colour page (once).
    void FormCreate(TObject* sender);
    // Shows the first element's colour in the combo and the first page.
    void FormShow(TObject* sender);
    // Runs on every close, Cancel too: ReadValues; a value out of range shows
    // its box under "Settings" (error icon) and refuses; a text that is no
    // whole number throws EConvertError, which the form shows as it stays.
    void FormCloseQuery(TObject* sender, bool& canClose);
    // Entering the colour page shows the chosen element's colour.
    void pcTemakChange(TObject* sender);
    // The colour of the chosen element into the colour combo.
    void lbElemClick(TObject* sender);
    // The combo's colour into the chosen element.
    void cmbElemszinClick(TObject* sender);
    // The margin distance is enabled with the margin box; no scheme changes.
    void cbMarginClick(TObject* sender);
    // The nineteen other switch boxes (bound as cbAutoIndentClick to
    // cbSymbolsClick): the box's state into its switch of the shown scheme.
    void SwitchBoxClick(TObject* sender);
    // The chosen word into edWord.
    void lbBoldWordsClick(TObject* sender);
    // edWord's text appended to the list (chosen) and to the shown scheme's
    // keywords, unless it is empty or listed already (exact comparison).
    void btnNewBoldWordClick(TObject* sender);
    // The chosen line goes, and the keyword equal to it leaves the shown
    // scheme (when it has one). Nothing without a chosen line.
    void btnDeleteBoldWordClick(TObject* sender);
    // The chosen line, and the keyword equal to it in the shown scheme, become
    // edWord's text. Nothing without a chosen line or with an empty text.
    void btnModifyBolWordClick(TObject* sender);
    // Writes the list to the file chosen in BoldSaveDialog; a failed write
    // shows the "Error with saving" box.
    void btnBoldMentesClick(TObject* sender);
    // Lists the words of the file chosen in BoldOpenDialog (the shown
    // scheme's keywords stay); a file that cannot be read shows the editor's
    // load error and leaves the list.
    void btnBoldTortesClick(TObject* sender);
    // The chosen scheme becomes the shown one (ShowScheme); nothing without one.
    void btnSetSchemeClick(TObject* sender);
    void lbSchemesDblClick(TObject* sender);
    // Appends a scheme with the default switches named by edExt's text
    // (nothing for an empty text).
    void btnNewSchemeClick(TObject* sender);
    // Deletes the chosen scheme when it is the fourth or a later one: the
    // shown index drops by one when it was at or after it, the editor's index
    // drops by one when it was after it and becomes 0 ("Default") when it was
    // that scheme; then the shown scheme is shown.
    void btnDeleteSchemeClick(TObject* sender);

    // ---- Operations ----
    // Shows the shown scheme: its keywords in the list, its twenty switches
    // in the boxes (without writing them back), its indentation and margin.
    // An index outside the schemes shows nothing.
    void ShowScheme();
    // The boxes take the values in the schemes' switch order; no scheme
    // changes. The margin distance follows the margin box.
    void ShowSwitches(const bool values[kSwitchCount]);
    // Converts the tab, indentation, font size and margin texts (throwing
    // EConvertError for one that is no whole number) and returns the id of
    // the text about the first value out of range (tab 1..32, indentation
    // 0..16, font size 0..1000, margin 0..1000000), 0 when all are usable.
    int ReadValues(TTextEditorSetupValues& values) const;
    // The list replaced by the file's words; false, the list left, when the
    // file cannot be read.
    bool LoadBoldWords(const TString& fileName);
    // The list's words one a line; false when the file cannot be written.
    bool SaveBoldWords(const TString& fileName) const;

    // ---- The dialog's data, set by the editor that shows it ----
    // That editor (its load error box), null while none shows the dialog.
    TTextEditor* editor = nullptr;
    // The working copy, the shown scheme and where the editor's current
    // scheme stands in the copy after deletions.
    TTextEditorSchemes schemes;
    int schemeIndex = 0;
    int editorSchemeIndex = 0;
    // In the editor's colour order (GetColors).
    TColor colors[kColorCount] = {};

    TPageControl* pcTemak = nullptr;
    TTabSheet* tsSzerkeszto = nullptr;
    TTabSheet* tsMegjelenes = nullptr;
    TTabSheet* tsSzinek = nullptr;
    TTabSheet* tsKiemeltSzavak = nullptr;
    TTabSheet* tsSemak = nullptr;
    // The switch boxes in the schemes' switch order: cbAutoIndent first,
    // cbMargin last.
    TCheckBox* switchBoxes[kSwitchCount] = {};
    TCheckBox* cbMargin = nullptr;
    TComboBox* cmbIndentSize = nullptr;
    TComboBox* cmbTabsize = nullptr;
    TComboBox* cmbColSeparator = nullptr;
    TEdit* edAlignChar = nullptr;
    TComboBox* cmbCharset = nullptr;
    TComboBox* cmbCharsize = nullptr;
    TLabel* stMarginPos = nullptr;
    TEdit* edMarginPos = nullptr;
    TListBox* lbElem = nullptr;
    TGraphObjectComboBox* cmbElemszin = nullptr;
    TListBox* lbBoldWords = nullptr;
    TEdit* edWord = nullptr;
    TButton* btnNewBoldWord = nullptr;
    TButton* btnDeleteBoldWord = nullptr;
    TButton* btnModifyBolWord = nullptr;
    TButton* btnBoldTortes = nullptr;
    TButton* btnBoldMentes = nullptr;
    TListBox* lbSchemes = nullptr;
    TButton* btnSetScheme = nullptr;
    TEdit* edExt = nullptr;
    TButton* btnNewScheme = nullptr;
    TButton* btnDeleteScheme = nullptr;
    TButton* btnHelp = nullptr;
    TButton* btnCancel = nullptr;
    TButton* btnOk = nullptr;
    TOpenDialog* BoldOpenDialog = nullptr;
    TSaveDialog* BoldSaveDialog = nullptr;

private:
    // The shown scheme; null when its index is outside the schemes.
    TTextEditorScheme* ShownScheme();
    // Set while the boxes are being filled: their clicks write no switch.
    bool fillingSwitches_ = false;
};

// The words of a bold-word file, in file order: each line split at blanks,
// runs of blanks giving no empty word. False, words left, when the file
// cannot be read.
bool ReadBoldWordFile(const TString& fileName, TStringContainer& words);
// One word a line; false when the file cannot be written.
bool WriteBoldWordFile(const TString& fileName, const TStringContainer& words);

// The dialog every editor shows: the package's shared form of its slot (the
// form variable of the settings dialog), made on first use and owned by the
// package, so that it outlives each editor.
TTextEditorSetupDlg* SharedSetupDlg();
