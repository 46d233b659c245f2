// TOpenDialog and TSaveDialog: choosing a file to open or save in a dialog
// form of our own (folder list, file list filtered by the chosen filter, name
// field, filter combo), and TFileDialogForm, that form.
#pragma once

#include <string>
#include <vector>

#include "Component.h"
#include "EnumSet.h"
#include "Form.h"

class TButton;
class TCustomComboBox;
class TEdit;
class TLabel;
class TListBox;

// ORDER TOpenOption: stored by name; ofOverwritePrompt, ofPathMustExist and
// ofFileMustExist are acted on, the rest are kept for programs that set them.
enum TOpenOption {
    ofReadOnly,
    ofOverwritePrompt,
    ofHideReadOnly,
    ofNoChangeDir,
    ofShowHelp,
    ofNoValidate,
    ofAllowMultiSelect,
    ofExtensionDifferent,
    ofPathMustExist,
    ofFileMustExist,
    ofCreatePrompt,
    ofShareAware,
    ofNoReadOnlyReturn,
    ofNoTestFileCreate,
};
using TOpenOptions = TEnumSet<TOpenOption>;

// One entry of a filter "desc|pattern|desc|pattern": the text shown and the
// patterns ("*.txt;*.text"); an empty pattern matches every file.
struct TFileFilter {
    std::string description;
    std::string pattern;
};
// The entries of a filter text. Empty parts are skipped, so "desc||*.x"
// reads as "desc|*.x"; a last description without a pattern gets an empty
// pattern; an empty text gives no entries.
std::vector<TFileFilter> ParseFileFilter(const std::string& filter);
// True when name matches one of the ';'-separated patterns ('*' any run, '?'
// any one character, without regard to ASCII case; "*.*" matches every
// name, with or without a dot). An empty pattern list matches everything.
bool MatchesFilePattern(const std::string& name, const std::string& patterns);

class TOpenDialog : public TComponent {
    CLASSLIB_CLASS(TOpenDialog, TComponent)

public:
    explicit TOpenDialog(TComponent* owner);
    ~TOpenDialog() override;

    // The dialog's caption; empty shows "Open" ("Save As" for TSaveDialog).
    const std::string& GetTitle() const { return title_; }
    void SetTitle(const std::string& title) { title_ = title; }
    const std::string& GetFilter() const { return filter_; }
    void SetFilter(const std::string& filter) { filter_ = filter; }
    // The chosen filter, counted from 1; out of range shows the first. Execute
    // leaves the filter chosen last in it.
    int GetFilterIndex() const { return filterIndex_; }
    void SetFilterIndex(int index) { filterIndex_ = index; }
    // The file: before Execute the name (and folder, when it has one) shown
    // first; after a confirmed Execute the full path chosen. A cancelled
    // Execute leaves it as it was.
    const std::string& GetFileName() const { return fileName_; }
    void SetFileName(const std::string& name) { fileName_ = name; }
    // Added with a dot to a chosen name without an extension (none: empty).
    const std::string& GetDefaultExt() const { return defaultExt_; }
    void SetDefaultExt(const std::string& extension);
    // The folder shown first; empty: FileName's folder, else the working folder.
    const std::string& GetInitialDir() const { return initialDir_; }
    void SetInitialDir(const std::string& folder) { initialDir_ = folder; }
    TOpenOptions GetOptions() const { return options_; }
    void SetOptions(TOpenOptions options) { options_ = options; }

    // Shows the dialog modally and returns true when a file was chosen
    // (FileName then holds its full path). The responder sees it as
    // ModalKind::FileDialog (see TFileDialogForm); answering IDOK accepts
    // what the name field holds, any other answer cancels. With
    // ofFileMustExist a missing file, with ofPathMustExist a missing folder,
    // and with ofOverwritePrompt (save) an existing file the user does not
    // want replaced are refused: a message box tells why and the dialog
    // stays open (asked again; an answer that repeats a refused name cancels).
    virtual bool Execute();

    TNotifyEvent OnShow;
    TNotifyEvent OnClose;

protected:
    virtual bool IsSaveDialog() const { return false; }
    virtual std::string DefaultTitle() const { return "Open"; }

private:
    friend class TFileDialogForm;
    std::string title_;
    std::string filter_;
    int filterIndex_ = 1;
    std::string fileName_;
    std::string defaultExt_;
    std::string initialDir_;
    TOpenOptions options_;
};

class TSaveDialog : public TOpenDialog {
    CLASSLIB_CLASS(TSaveDialog, TOpenDialog)

public:
    explicit TSaveDialog(TComponent* owner) : TOpenDialog(owner) {}

protected:
    bool IsSaveDialog() const override { return true; }
    std::string DefaultTitle() const override { return "Save As"; }
};

// The form of both dialogs. Control identifiers as the responder sees them
// (ModalItem::identifier), with the name field's text in ModalInteraction::text.
class TFileDialogForm : public TForm {
    CLASSLIB_CLASS(TFileDialogForm, TForm)

public:
    static constexpr int kOkButton = 1;      // IDOK
    static constexpr int kCancelButton = 2;  // IDCANCEL
    static constexpr int kFolderList = 101;
    static constexpr int kFileList = 102;
    static constexpr int kFileNameEdit = 103;
    static constexpr int kFilterCombo = 104;

    // A form for the dialog's settings, showing its first folder.
    explicit TFileDialogForm(TOpenDialog* dialog);

    // The form of a window of the dialog (the form or one of its controls); null when none.
    static TFileDialogForm* FromWindow(HWND window);

    // The folder shown, without a trailing '/' (except the root).
    const std::string& GetFolder() const { return folder_; }
    // Shows another folder (relative names are taken from the one shown);
    // false, and nothing changes, when it does not exist.
    bool ChangeFolder(const std::string& folder);
    // Chooses a filter by its place (from 0) and lists the files again.
    void SelectFilter(int index);
    int GetSelectedFilter() const;
    TEdit* GetFileNameEdit() const { return fileNameEdit_; }
    TListBox* GetFolderList() const { return folderList_; }
    TListBox* GetFileList() const { return fileList_; }
    TCustomComboBox* GetFilterCombo() const { return filterCombo_; }

    // What OK does: a folder (or a pattern) in the name field is shown (or
    // applied) and the dialog stays; a file name is checked against the
    // options and, when accepted, becomes the chosen path (true).
    bool Accept();
    const std::string& GetChosenPath() const { return chosenPath_; }

    // Runs the dialog through the responder: true when a file was accepted.
    bool Run();

protected:
    void DoShow() override;

private:
    void BuildControls();
    void FillLists();
    void FolderListDblClick(TObject* sender);
    void FileListClick(TObject* sender);
    void FileListDblClick(TObject* sender);
    void FilterChange(TObject* sender);
    void OkClick(TObject* sender);
    std::string ResolvePath(const std::string& name) const;
    // Refuses (with a message box) a path the options do not allow.
    bool ConfirmChoice(const std::string& path);
    bool Warn(const std::string& text, UINT flags);

    TOpenDialog* dialog_;
    std::vector<TFileFilter> filters_;
    std::string folder_;
    std::string chosenPath_;
    std::string pattern_;  // a pattern typed into the name field, over the filter's
    TLabel* folderLabel_ = nullptr;
    TListBox* folderList_ = nullptr;
    TListBox* fileList_ = nullptr;
    TEdit* fileNameEdit_ = nullptr;
    TCustomComboBox* filterCombo_ = nullptr;
    TButton* okButton_ = nullptr;
    TButton* cancelButton_ = nullptr;
};

// The property tables of the dialog classes (called by the library's start-up).
void RegisterFileDialogProperties();
