// TExpressionImagePropsDlg: the formula properties dialog, its character-table
// listings and the language table its texts come from.
#include "ExpressionImagePropsDlg.h"

#include <cerrno>
#include <cfloat>
#include <climits>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <iterator>

#include "Buttons.h"
#include "ComboBox.h"
#include "Edit.h"
#include "Events.h"
#include "Files.h"
#include "GraphObjectComboBox.h"
#include "GroupControls.h"
#include "Label.h"
#include "Langtable.h"

// The module of the eval library's embedded resources.
HMODULE EvalResourceModule();

TExpressionImagePropsDlg* ExpressionImagePropsDlg = nullptr;

namespace {

struct TDialogLanguage {
    TLangTable table;
    bool loaded = false;
};

TDialogLanguage& DialogLanguage() {
    static TDialogLanguage language;
    return language;
}

const THandlerEntry kDialogHandlers[] = {
    CLASSLIB_HANDLER(TExpressionImagePropsDlg, FormShow),
    CLASSLIB_HANDLER(TExpressionImagePropsDlg, cmbFontClick),
    CLASSLIB_HANDLER(TExpressionImagePropsDlg, btnOkClick),
};

// The folder CHDIR names, with one trailing separator removed; false when unset.
bool CharacterTableFolder(std::string& folder) {
    const char* value = std::getenv("CHDIR");
    if (!value) return false;
    folder = value;
    if (!folder.empty() && (folder.back() == '/' || folder.back() == '\\')) folder.pop_back();
    return true;
}

// Calls visit with the name of every file (folders left out) that matches pattern.
template <class Visit>
void ForEachMatchingFile(const std::string& pattern, Visit visit) {
    WIN32_FIND_DATAA data;
    HANDLE search = FindFirstFileA(pattern.c_str(), &data);
    if (search == INVALID_HANDLE_VALUE) return;
    do {
        if (!(data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) visit(std::string(data.cFileName));
    } while (FindNextFileA(search, &data));
    FindClose(search);
}

// The int that starts text (as "%d" reads it); false when none does or it does not fit.
bool ReadLeadingInt(const std::string& text, int& value) {
    const char* start = text.c_str();
    char* end = nullptr;
    errno = 0;
    const long number = std::strtol(start, &end, 10);
    if (end == start || errno == ERANGE || number < INT_MIN || number > INT_MAX) return false;
    value = static_cast<int>(number);
    return true;
}

// The ratio a text starts with, when it is a finite number a float can hold.
bool ReadRatio(const std::string& text, float& ratio) {
    const char* start = text.c_str();
    char* end = nullptr;
    const double number = std::strtod(start, &end);
    if (end == start || !std::isfinite(number) || std::fabs(number) > FLT_MAX) return false;
    ratio = static_cast<float>(number);
    return true;
}

std::string RatioText(float ratio) {
    char text[64];
    std::snprintf(text, sizeof text, "%.3f", ratio);
    return text;
}

// Selects the item equal to wanted (with case), else the first item.
void SelectItemOrFirst(TComboBox* combo, const std::string& wanted) {
    TStrings* items = combo->GetItems();
    int found = -1;
    for (int i = 0; i < items->GetCount() && found < 0; ++i)
        if (items->GetStrings(i) == wanted) found = i;
    if (found < 0 && items->GetCount() > 0) found = 0;
    combo->SetItemIndex(found);
}

}  // namespace

TExpressionImagePropsDlg::TExpressionImagePropsDlg(TComponent* owner) : TForm(owner) {
    LoadStoredLayout();
    FindControls();
    fonts_ = ListCHRFonts("chr");
    InitLangTable();
}

TExpressionImagePropsDlg::~TExpressionImagePropsDlg() = default;

std::any TExpressionImagePropsDlg::FindHandler(const std::string& name) {
    return BindHandler(kDialogHandlers, this, name.c_str());
}

void TExpressionImagePropsDlg::FindControls() {
    Label1 = dynamic_cast<TLabel*>(FindComponent("Label1"));
    Label2 = dynamic_cast<TLabel*>(FindComponent("Label2"));
    Label3 = dynamic_cast<TLabel*>(FindComponent("Label3"));
    Label4 = dynamic_cast<TLabel*>(FindComponent("Label4"));
    Label5 = dynamic_cast<TLabel*>(FindComponent("Label5"));
    Label6 = dynamic_cast<TLabel*>(FindComponent("Label6"));
    Label7 = dynamic_cast<TLabel*>(FindComponent("Label7"));
    Bevel1 = dynamic_cast<TBevel*>(FindComponent("Bevel1"));
    cmbFont = dynamic_cast<TComboBox*>(FindComponent("cmbFont"));
    cmbFontSize = dynamic_cast<TComboBox*>(FindComponent("cmbFontSize"));
    cmbBkColor = dynamic_cast<TGraphObjectComboBox*>(FindComponent("cmbBkColor"));
    cmbTextColor = dynamic_cast<TGraphObjectComboBox*>(FindComponent("cmbTextColor"));
    edExpCharRatio = dynamic_cast<TEdit*>(FindComponent("edExpCharRatio"));
    edIndexCharRatio = dynamic_cast<TEdit*>(FindComponent("edIndexCharRatio"));
    edRootCharRatio = dynamic_cast<TEdit*>(FindComponent("edRootCharRatio"));
    btnOk = dynamic_cast<TButton*>(FindComponent("btnOk"));
    btnCancel = dynamic_cast<TButton*>(FindComponent("btnCancel"));
    brnHelp = dynamic_cast<TButton*>(FindComponent("brnHelp"));
}

void TExpressionImagePropsDlg::InitLangTable() {
    TDialogLanguage& language = DialogLanguage();
    if (language.loaded) return;
    language.table.InitFromResource(EvalResourceModule(), "ExpressionImagePropsDlg");
    language.table.SetLang(0);
    language.loaded = true;
}

void TExpressionImagePropsDlg::SetLang(int language) {
    InitLangTable();
    DialogLanguage().table.SetLang(language);
}

std::set<std::string> TExpressionImagePropsDlg::ListCHRFonts(const std::string& ext) {
    std::set<std::string> fonts;
    std::string folder;
    if (!CharacterTableFolder(folder)) return fonts;
    ForEachMatchingFile(folder + "/*." + ext, [&](const std::string& name) {
        const size_t underscore = name.find('_');
        if (underscore != std::string::npos && underscore > 0) fonts.insert(name.substr(0, underscore));
    });
    return fonts;
}

std::set<int> TExpressionImagePropsDlg::ListCHRSizes(const std::string& ext, const std::string& font) {
    std::set<int> sizes;
    std::string folder;
    if (!CharacterTableFolder(folder)) return sizes;
    const std::string prefix = font + "_";
    ForEachMatchingFile(folder + "/" + prefix + "*." + ext, [&](const std::string& name) {
        // Wildcard characters in the font name may match other names.
        if (name.compare(0, prefix.size(), prefix) != 0) return;
        const size_t dot = name.find('.', prefix.size());
        if (dot == std::string::npos) return;
        int size = 0;
        if (ReadLeadingInt(name.substr(prefix.size(), dot - prefix.size()), size)) sizes.insert(size);
    });
    return sizes;
}

void TExpressionImagePropsDlg::FormShow(TObject*) {
    TLangTable& table = DialogLanguage().table;
    table.SetText(this);
    if (table.GetLang() == 0 || table.GetLang() == 1) {
        const auto language = table.GetLang() == 0 ? goclEnglish : goclHungarian;
        cmbBkColor->SetLanguage(language);
        cmbTextColor->SetLanguage(language);
    }
    cmbFont->Clear();
    for (const std::string& font : fonts_) cmbFont->GetItems()->Add(font);
    SelectItemOrFirst(cmbFont, Props.Font.str());
    cmbFontClick(this);
    cmbBkColor->SetColor(Props.BkColor);
    cmbTextColor->SetColor(Props.TextColor);
    edExpCharRatio->SetText(RatioText(Props.ExpCharRatio));
    edIndexCharRatio->SetText(RatioText(Props.IndexCharRatio));
    edRootCharRatio->SetText(RatioText(Props.RootCharRatio));
}

void TExpressionImagePropsDlg::cmbFontClick(TObject*) {
    const int selected = cmbFont->GetItemIndex();
    if (selected < 0) return;
    sizes_ = ListCHRSizes("chr", cmbFont->GetItems()->GetStrings(selected));
    cmbFontSize->Clear();
    for (int size : sizes_) cmbFontSize->GetItems()->Add(std::to_string(size));
    SelectItemOrFirst(cmbFontSize, std::to_string(Props.FontSize));
}

void TExpressionImagePropsDlg::btnOkClick(TObject*) {
    const int font = cmbFont->GetItemIndex();
    if (font >= 0) Props.Font = cmbFont->GetItems()->GetStrings(font);
    const int size = cmbFontSize->GetItemIndex();
    if (size >= 0 && size < static_cast<int>(sizes_.size())) Props.FontSize = *std::next(sizes_.begin(), size);
    Props.BkColor = cmbBkColor->GetColor();
    Props.TextColor = cmbTextColor->GetColor();
    ReadRatio(edExpCharRatio->GetText(), Props.ExpCharRatio);
    ReadRatio(edIndexCharRatio->GetText(), Props.IndexCharRatio);
    ReadRatio(edRootCharRatio->GetText(), Props.RootCharRatio);
    SetModalResult(mrOk);
}
