// TOpenDialog, TSaveDialog and TFileDialogForm: our own file dialog.
#include "FileDialogs.h"

#include <algorithm>
#include <cctype>
#include <memory>

#include "Application.h"
#include "Buttons.h"
#include "ComboBox.h"
#include "Edit.h"
#include "Label.h"
#include "ListBox.h"
#include "PropertyTable.h"
#include "Registration.h"
#include "Responder.h"

namespace {

// ---- Names and paths ----

std::string Trim(const std::string& text) {
    size_t first = text.find_first_not_of(" \t");
    if (first == std::string::npos) return std::string();
    size_t last = text.find_last_not_of(" \t");
    return text.substr(first, last - first + 1);
}

char Lower(char c) { return static_cast<char>(std::tolower(static_cast<unsigned char>(c))); }

// '*' and '?' matching without regard to ASCII case, backtracking on the last '*'.
bool WildcardMatch(const std::string& name, const std::string& pattern) {
    size_t n = 0, p = 0, star = std::string::npos, resume = 0;
    while (n < name.size()) {
        if (p < pattern.size() && (pattern[p] == '?' || Lower(pattern[p]) == Lower(name[n]))) {
            ++n;
            ++p;
        } else if (p < pattern.size() && pattern[p] == '*') {
            star = p++;
            resume = n;
        } else if (star != std::string::npos) {
            p = star + 1;
            n = ++resume;
        } else {
            return false;
        }
    }
    while (p < pattern.size() && pattern[p] == '*') ++p;
    return p == pattern.size();
}

// Removes "." and empty parts and resolves ".." in an absolute path.
std::string NormalisePath(const std::string& path) {
    std::vector<std::string> parts;
    size_t start = 0;
    while (start <= path.size()) {
        size_t end = path.find('/', start);
        if (end == std::string::npos) end = path.size();
        std::string part = path.substr(start, end - start);
        if (part == "..") {
            if (!parts.empty()) parts.pop_back();
        } else if (!part.empty() && part != ".") {
            parts.push_back(part);
        }
        start = end + 1;
    }
    std::string normal;
    for (const std::string& part : parts) normal += "/" + part;
    return normal.empty() ? "/" : normal;
}

std::string JoinPath(const std::string& folder, const std::string& name) {
    return folder == "/" ? "/" + name : folder + "/" + name;
}

std::string FolderOf(const std::string& path) {
    size_t slash = path.rfind('/');
    if (slash == std::string::npos) return std::string();
    return slash == 0 ? "/" : path.substr(0, slash);
}

std::string NameOf(const std::string& path) {
    size_t slash = path.rfind('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

bool IsFolder(const std::string& path) {
    DWORD attributes = GetFileAttributesA(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

bool IsFile(const std::string& path) {
    DWORD attributes = GetFileAttributesA(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0;
}

std::string WorkingFolder() {
    char buffer[MAX_PATH];
    DWORD length = GetCurrentDirectoryA(sizeof(buffer), buffer);
    return length > 0 && length < sizeof(buffer) ? std::string(buffer, length) : std::string("/");
}

// The visible entries of a folder: sub-folders and files, each sorted by name.
void ListFolder(const std::string& folder, std::vector<std::string>& folders, std::vector<std::string>& files) {
    WIN32_FIND_DATAA data{};
    HANDLE search = FindFirstFileA(JoinPath(folder, "*").c_str(), &data);
    if (search == INVALID_HANDLE_VALUE) return;
    do {
        std::string name = data.cFileName;
        if (name.empty() || name[0] == '.') continue;
        ((data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) ? folders : files).push_back(name);
    } while (FindNextFileA(search, &data));
    FindClose(search);
    std::sort(folders.begin(), folders.end());
    std::sort(files.begin(), files.end());
}

// ---- Layout of the form ----

constexpr int kFormWidth = 428;
constexpr int kFormHeight = 276;

struct LabelPlace {
    const char* caption;
    int left, top;
};
const LabelPlace labelPlaces[] = {
    {"Look in:", 8, 10}, {"&Folders:", 8, 32}, {"F&iles:", 166, 32}, {"File &name:", 8, 216}, {"Files of &type:", 8, 244}};

}  // namespace

// ---- Filters ----

std::vector<TFileFilter> ParseFileFilter(const std::string& filter) {
    std::vector<std::string> parts;
    size_t start = 0;
    while (start < filter.size()) {
        size_t bar = filter.find('|', start);
        if (bar == std::string::npos) bar = filter.size();
        // Empty parts ("desc||pattern") would shift every later pair.
        if (bar > start) parts.push_back(filter.substr(start, bar - start));
        start = bar + 1;
    }
    std::vector<TFileFilter> filters;
    for (size_t i = 0; i < parts.size(); i += 2)
        filters.push_back(TFileFilter{parts[i], i + 1 < parts.size() ? Trim(parts[i + 1]) : std::string()});
    return filters;
}

bool MatchesFilePattern(const std::string& name, const std::string& patterns) {
    if (Trim(patterns).empty()) return true;
    size_t start = 0;
    while (start <= patterns.size()) {
        size_t end = patterns.find(';', start);
        if (end == std::string::npos) end = patterns.size();
        std::string pattern = Trim(patterns.substr(start, end - start));
        if (pattern == "*.*" || pattern == "*") return true;
        if (!pattern.empty() && WildcardMatch(name, pattern)) return true;
        start = end + 1;
    }
    return false;
}

// ---- TOpenDialog ----

TOpenDialog::TOpenDialog(TComponent* owner) : TComponent(owner) {}

TOpenDialog::~TOpenDialog() { Destroying(); }

void TOpenDialog::SetDefaultExt(const std::string& extension) {
    defaultExt_ = !extension.empty() && extension[0] == '.' ? extension.substr(1) : extension;
}

bool TOpenDialog::Execute() {
    if (OnShow) OnShow(this);
    auto form = std::make_unique<TFileDialogForm>(this);
    bool chosen = form->Run();
    if (chosen) {
        fileName_ = form->GetChosenPath();
        filterIndex_ = form->GetSelectedFilter() + 1;
    }
    form.reset();
    if (OnClose) OnClose(this);
    return chosen;
}

// ---- TFileDialogForm ----

TFileDialogForm::TFileDialogForm(TOpenDialog* dialog)
    : TForm(nullptr, 0), dialog_(dialog), filters_(ParseFileFilter(dialog->GetFilter())) {
    SetCaption(dialog->GetTitle().empty() ? dialog->DefaultTitle() : dialog->GetTitle());
    SetBorderStyle(bsDialog);
    SetPosition(poScreenCenter);
    SetBounds(0, 0, kFormWidth, kFormHeight);
    BuildControls();
    // The client size is known once the window (with its border and caption) exists.
    HandleNeeded();
    SetClientWidth(kFormWidth);
    SetClientHeight(kFormHeight);
    std::string initial = dialog->GetInitialDir();
    std::string nameFolder = FolderOf(dialog->GetFileName());
    if (initial.empty() || !ChangeFolder(initial))
        if (nameFolder.empty() || !ChangeFolder(nameFolder)) ChangeFolder(WorkingFolder());
    if (folder_.empty()) ChangeFolder("/");
    fileNameEdit_->SetText(NameOf(dialog->GetFileName()));
}

void TFileDialogForm::BuildControls() {
    for (const LabelPlace& place : labelPlaces) {
        auto* label = new TLabel(this);
        label->SetCaption(place.caption);
        label->SetBounds(place.left, place.top, 80, 15);
        label->SetParent(this);
    }
    folderLabel_ = new TLabel(this);
    folderLabel_->SetAutoSize(false);
    folderLabel_->SetShowAccelChar(false);
    folderLabel_->SetBounds(70, 10, kFormWidth - 78, 15);
    folderLabel_->SetParent(this);

    folderList_ = new TListBox(this);
    folderList_->SetBounds(8, 48, 150, 156);
    folderList_->SetParent(this);
    folderList_->OnDblClick = MakeEvent(this, &TFileDialogForm::FolderListDblClick);

    fileList_ = new TListBox(this);
    fileList_->SetBounds(166, 48, kFormWidth - 174, 156);
    fileList_->SetParent(this);
    fileList_->OnClick = MakeEvent(this, &TFileDialogForm::FileListClick);
    fileList_->OnDblClick = MakeEvent(this, &TFileDialogForm::FileListDblClick);

    fileNameEdit_ = new TEdit(this);
    fileNameEdit_->SetBounds(100, 212, 230, 21);
    fileNameEdit_->SetParent(this);

    filterCombo_ = new TComboBox(this);
    filterCombo_->SetStyle(csDropDownList);
    filterCombo_->SetBounds(100, 240, 230, 21);
    filterCombo_->SetParent(this);
    for (const TFileFilter& filter : filters_) filterCombo_->GetItems()->Add(filter.description);
    int index = dialog_->GetFilterIndex() - 1;
    filterCombo_->SetItemIndex(index >= 0 && index < static_cast<int>(filters_.size()) ? index : 0);
    filterCombo_->OnChange = MakeEvent(this, &TFileDialogForm::FilterChange);

    okButton_ = new TButton(this);
    okButton_->SetCaption(dialog_->IsSaveDialog() ? "&Save" : "&Open");
    okButton_->SetDefault(true);
    okButton_->SetBounds(kFormWidth - 83, 210, 75, 25);
    okButton_->SetParent(this);
    okButton_->OnClick = MakeEvent(this, &TFileDialogForm::OkClick);

    cancelButton_ = new TButton(this);
    cancelButton_->SetCaption("Cancel");
    cancelButton_->SetCancel(true);
    cancelButton_->SetModalResult(mrCancel);
    cancelButton_->SetBounds(kFormWidth - 83, 238, 75, 25);
    cancelButton_->SetParent(this);

    // Tab order: name, type, OK, Cancel, folders, files.
    int order = 0;
    for (TWinControl* control : std::initializer_list<TWinControl*>{fileNameEdit_, filterCombo_, okButton_,
                                                                     cancelButton_, folderList_, fileList_})
        control->SetTabOrder(order++);
    SetActiveControl(fileNameEdit_);
}

TFileDialogForm* TFileDialogForm::FromWindow(HWND window) {
    TWinControl* control = TWinControl::FindControl(window);
    while (control && control->GetParent()) control = control->GetParent();
    return dynamic_cast<TFileDialogForm*>(control);
}

std::string TFileDialogForm::ResolvePath(const std::string& name) const {
    if (!name.empty() && name[0] == '/') return NormalisePath(name);
    return NormalisePath(JoinPath(folder_, name));
}

bool TFileDialogForm::ChangeFolder(const std::string& folder) {
    if (folder.empty()) return false;
    std::string path = ResolvePath(folder);
    if (!IsFolder(path)) return false;
    folder_ = path;
    folderLabel_->SetCaption(folder_);
    FillLists();
    return true;
}

void TFileDialogForm::FillLists() {
    std::vector<std::string> folders, files;
    ListFolder(folder_, folders, files);
    TStrings* folderItems = folderList_->GetItems();
    folderItems->BeginUpdate();
    folderItems->Clear();
    if (folder_ != "/") folderItems->Add("..");
    for (const std::string& name : folders) folderItems->Add(name);
    folderItems->EndUpdate();
    std::string pattern = pattern_;
    if (pattern.empty() && GetSelectedFilter() >= 0) pattern = filters_[static_cast<size_t>(GetSelectedFilter())].pattern;
    TStrings* fileItems = fileList_->GetItems();
    fileItems->BeginUpdate();
    fileItems->Clear();
    for (const std::string& name : files)
        if (MatchesFilePattern(name, pattern)) fileItems->Add(name);
    fileItems->EndUpdate();
}

void TFileDialogForm::SelectFilter(int index) {
    filterCombo_->SetItemIndex(index);
    pattern_.clear();
    FillLists();
}

int TFileDialogForm::GetSelectedFilter() const {
    int index = filterCombo_->GetItemIndex();
    return index >= 0 && index < static_cast<int>(filters_.size()) ? index : -1;
}

void TFileDialogForm::FolderListDblClick(TObject*) {
    int index = folderList_->GetItemIndex();
    if (index >= 0) ChangeFolder(folderList_->GetItems()->GetStrings(index));
}

void TFileDialogForm::FileListClick(TObject*) {
    int index = fileList_->GetItemIndex();
    if (index >= 0) fileNameEdit_->SetText(fileList_->GetItems()->GetStrings(index));
}

void TFileDialogForm::FileListDblClick(TObject* sender) {
    FileListClick(sender);
    OkClick(sender);
}

void TFileDialogForm::FilterChange(TObject*) {
    pattern_.clear();
    FillLists();
}

void TFileDialogForm::OkClick(TObject*) {
    if (folderList_->Focused() && folderList_->GetItemIndex() >= 0) {
        FolderListDblClick(folderList_);
        return;
    }
    if (Accept()) SetModalResult(mrOk);
}

bool TFileDialogForm::Accept() {
    std::string name = Trim(fileNameEdit_->GetText());
    if (name.empty()) return false;
    if (name.find_first_of("*?") != std::string::npos) {
        pattern_ = name;
        FillLists();
        return false;
    }
    std::string path = ResolvePath(name);
    if (IsFolder(path)) {
        ChangeFolder(path);
        fileNameEdit_->SetText("");
        return false;
    }
    std::string extension = dialog_->GetDefaultExt();
    if (!extension.empty() && NameOf(path).find('.') == std::string::npos) path += "." + extension;
    if (!ConfirmChoice(path)) return false;
    chosenPath_ = path;
    return true;
}

bool TFileDialogForm::Warn(const std::string& text, UINT flags) {
    int answer = MessageBoxA(GetHandle(), text.c_str(), GetCaption().c_str(), flags);
    return answer == IDYES;
}

bool TFileDialogForm::ConfirmChoice(const std::string& path) {
    TOpenOptions options = dialog_->GetOptions();
    bool mustExist = options.Contains(ofFileMustExist);
    if ((mustExist || options.Contains(ofPathMustExist)) && !IsFolder(FolderOf(path))) {
        Warn(path + "\nPath does not exist.\nCheck the path and try again.", MB_OK | MB_ICONWARNING);
        return false;
    }
    if (mustExist && !IsFile(path)) {
        Warn(path + "\nFile not found.\nCheck the file name and try again.", MB_OK | MB_ICONWARNING);
        return false;
    }
    if (IsFolder(path)) return false;
    if (dialog_->IsSaveDialog() && options.Contains(ofOverwritePrompt) && IsFile(path))
        return Warn(path + " already exists.\nDo you want to replace it?", MB_YESNO | MB_ICONWARNING);
    return true;
}

void TFileDialogForm::DoShow() {
    TForm::DoShow();
    fileNameEdit_->SelectAll();
}

namespace {

// The controls of the dialog as the responder sees them.
win32::ModalItem DescribeControl(TControl* control, int identifier, const std::string& text) {
    win32::ModalItem item;
    item.identifier = identifier;
    item.text = text;
    item.enabled = control->GetEnabled();
    item.rect = control->GetBoundsRect();
    return item;
}

std::string SelectedText(TListBox* list) {
    int index = list->GetItemIndex();
    return index >= 0 ? list->GetItems()->GetStrings(index) : std::string();
}

// Disables the other visible forms while the dialog runs, and enables them again.
class OtherWindowsDisabled {
public:
    explicit OtherWindowsDisabled(TForm* dialog) {
        for (int i = 0; i < Screen->GetFormCount(); ++i) {
            TForm* form = Screen->GetForm(i);
            if (form == dialog || !form->HandleAllocated() || !form->GetVisible()) continue;
            HWND window = form->GetHandle();
            if (!IsWindowEnabled(window)) continue;
            EnableWindow(window, FALSE);
            disabled_.push_back(window);
        }
    }
    ~OtherWindowsDisabled() {
        for (HWND window : disabled_)
            if (IsWindow(window)) EnableWindow(window, TRUE);
    }
    OtherWindowsDisabled(const OtherWindowsDisabled&) = delete;
    OtherWindowsDisabled& operator=(const OtherWindowsDisabled&) = delete;

private:
    std::vector<HWND> disabled_;
};

}  // namespace

bool TFileDialogForm::Run() {
    OtherWindowsDisabled disabled(this);
    Show();
    bool accepted = false;
    bool refused = false;
    std::string refusedName;
    while (true) {
        win32::ModalInteraction interaction;
        interaction.kind = win32::ModalKind::FileDialog;
        interaction.window = GetHandle();
        if (TForm* main = Application->GetMainForm(); main && main->HandleAllocated())
            interaction.owner = main->GetHandle();
        interaction.caption = GetCaption();
        interaction.text = fileNameEdit_->GetText();
        interaction.defaultAnswer = IDCANCEL;
        interaction.items = {DescribeControl(okButton_, kOkButton, okButton_->GetCaption()),
                             DescribeControl(cancelButton_, kCancelButton, cancelButton_->GetCaption()),
                             DescribeControl(folderList_, kFolderList, SelectedText(folderList_)),
                             DescribeControl(fileList_, kFileList, SelectedText(fileList_)),
                             DescribeControl(fileNameEdit_, kFileNameEdit, fileNameEdit_->GetText()),
                             DescribeControl(filterCombo_, kFilterCombo, filterCombo_->GetText())};
        interaction.items[0].isDefault = true;
        win32::ModalReply reply = win32::AskResponder(interaction);
        if (reply.run) {
            SetModalResult(mrNone);
            while (GetModalResult() == mrNone && GetVisible())
                if (!Application->HandleModalMessage()) break;
            accepted = GetModalResult() == mrOk;
            break;
        }
        if (reply.result != IDOK) break;
        std::string name = fileNameEdit_->GetText();
        if (Accept()) {
            accepted = true;
            break;
        }
        // An answer that only repeats a refused name would never end.
        if (refused && name == refusedName) break;
        refused = true;
        refusedName = name;
    }
    Hide();
    return accepted;
}

// ---- Published properties ----

namespace {

#define OPTION_NAME(value) {#value, value}
// ORDER TOpenOption: the values are the enumeration's.
const TIdentifier openOptionNames[] = {
    OPTION_NAME(ofReadOnly),         OPTION_NAME(ofOverwritePrompt),    OPTION_NAME(ofHideReadOnly),
    OPTION_NAME(ofNoChangeDir),      OPTION_NAME(ofShowHelp),           OPTION_NAME(ofNoValidate),
    OPTION_NAME(ofAllowMultiSelect), OPTION_NAME(ofExtensionDifferent), OPTION_NAME(ofPathMustExist),
    OPTION_NAME(ofFileMustExist),    OPTION_NAME(ofCreatePrompt),       OPTION_NAME(ofShareAware),
    OPTION_NAME(ofNoReadOnlyReturn), OPTION_NAME(ofNoTestFileCreate)};
#undef OPTION_NAME
const TIdentifierList openOptions{openOptionNames, std::size(openOptionNames)};

const TPropertyInfo openDialogProperties[] = {
    CLASSLIB_STRING_PROPERTY(TOpenDialog, Title, ""),
    CLASSLIB_STRING_PROPERTY(TOpenDialog, Filter, ""),
    CLASSLIB_INTEGER_PROPERTY(TOpenDialog, FilterIndex, 1),
    CLASSLIB_STRING_PROPERTY(TOpenDialog, FileName, ""),
    CLASSLIB_STRING_PROPERTY(TOpenDialog, DefaultExt, ""),
    CLASSLIB_STRING_PROPERTY(TOpenDialog, InitialDir, ""),
    CLASSLIB_SET_PROPERTY(TOpenDialog, Options, TOpenOption, 0, &openOptions),
    CLASSLIB_EVENT_PROPERTY(TOpenDialog, OnShow, TNotifyEvent),
    CLASSLIB_EVENT_PROPERTY(TOpenDialog, OnClose, TNotifyEvent),
};

}  // namespace

void RegisterFileDialogProperties() {
    RegisterPropertyTable(TOpenDialog::StaticClassInfo(), openDialogProperties);
    RegisterClass<TOpenDialog>();
    RegisterClass<TSaveDialog>();
}
