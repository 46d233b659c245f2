// TTextEditorSetupDlg: the settings dialog made from its stored form, its
// handlers over the working copy of the schemes, and the bold-word file.
#include "TextEditorSetupDlg.h"

#include <exception>
#include <iterator>

#include "Buttons.h"
#include "ComboBox.h"
#include "Edit.h"
#include "FileDialogs.h"
#include "GraphObjectComboBox.h"
#include "Label.h"
#include "Langtable.h"
#include "ListBox.h"
#include "NumberText.h"
#include "TabControls.h"
#include "TextEditor.h"
#include "TextEditorPackage.h"
#include "TextEditorTexts.h"

namespace {

template <class Control>
Control* Find(TForm* form, const char* name) {
    return dynamic_cast<Control*>(form->FindComponent(name));
}

// ORDER: the schemes' switch order (TTextEditorScheme::Flags()); the last,
// cbMargin, has a handler of its own.
const char* const kSwitchBoxNames[TTextEditorSetupDlg::kSwitchCount] = {
    "cbAutoIndent",   "cbBspUnind", "cbEmptyUnind",   "cbPersistentBlocks", "cbTextAtCursor",
    "cbAllBlocks",    "cbSmartTab", "cbAutoLineBreak", "cbDoubleClickLine", "cbDOSFormat",
    "cbSaveMarkers",  "cbAutoSave", "cbBoldKeywords", "cbStrings",          "cbChars",
    "cbDirectives",   "cbRemarks",  "cbNumbers",      "cbSymbols",          "cbMargin",
};

template <auto Method>
THandlerEntry Handler(const char* name) {
    return THandlerEntry{name, &BindHandlerOf<TTextEditorSetupDlg, Method>};
}

const THandlerEntry kSetupDlgHandlers[] = {
    CLASSLIB_HANDLER(TTextEditorSetupDlg, FormCreate),
    CLASSLIB_HANDLER(TTextEditorSetupDlg, FormShow),
    CLASSLIB_HANDLER(TTextEditorSetupDlg, FormCloseQuery),
    CLASSLIB_HANDLER(TTextEditorSetupDlg, pcTemakChange),
    CLASSLIB_HANDLER(TTextEditorSetupDlg, lbElemClick),
    CLASSLIB_HANDLER(TTextEditorSetupDlg, cmbElemszinClick),
    CLASSLIB_HANDLER(TTextEditorSetupDlg, cbMarginClick),
    CLASSLIB_HANDLER(TTextEditorSetupDlg, lbBoldWordsClick),
    CLASSLIB_HANDLER(TTextEditorSetupDlg, btnNewBoldWordClick),
    CLASSLIB_HANDLER(TTextEditorSetupDlg, btnDeleteBoldWordClick),
    CLASSLIB_HANDLER(TTextEditorSetupDlg, btnModifyBolWordClick),
    CLASSLIB_HANDLER(TTextEditorSetupDlg, btnBoldMentesClick),
    CLASSLIB_HANDLER(TTextEditorSetupDlg, btnBoldTortesClick),
    CLASSLIB_HANDLER(TTextEditorSetupDlg, btnSetSchemeClick),
    CLASSLIB_HANDLER(TTextEditorSetupDlg, lbSchemesDblClick),
    CLASSLIB_HANDLER(TTextEditorSetupDlg, btnNewSchemeClick),
    CLASSLIB_HANDLER(TTextEditorSetupDlg, btnDeleteSchemeClick),
    // The nineteen switch boxes of the stored form share one handler.
    Handler<&TTextEditorSetupDlg::SwitchBoxClick>("cbAutoIndentClick"),
    Handler<&TTextEditorSetupDlg::SwitchBoxClick>("cbBspUnindClick"),
    Handler<&TTextEditorSetupDlg::SwitchBoxClick>("cbEmptyUnindClick"),
    Handler<&TTextEditorSetupDlg::SwitchBoxClick>("cbPersistentBlocksClick"),
    Handler<&TTextEditorSetupDlg::SwitchBoxClick>("cbTextAtCursorClick"),
    Handler<&TTextEditorSetupDlg::SwitchBoxClick>("cbAllBlocksClick"),
    Handler<&TTextEditorSetupDlg::SwitchBoxClick>("cbSmartTabClick"),
    Handler<&TTextEditorSetupDlg::SwitchBoxClick>("cbAutoLineBreakClick"),
    Handler<&TTextEditorSetupDlg::SwitchBoxClick>("cbDoubleClickLineClick"),
    Handler<&TTextEditorSetupDlg::SwitchBoxClick>("cbDOSFormatClick"),
    Handler<&TTextEditorSetupDlg::SwitchBoxClick>("cbSaveMarkersClick"),
    Handler<&TTextEditorSetupDlg::SwitchBoxClick>("cbAutoSaveClick"),
    Handler<&TTextEditorSetupDlg::SwitchBoxClick>("cbBoldKeywordsClick"),
    Handler<&TTextEditorSetupDlg::SwitchBoxClick>("cbStringsClick"),
    Handler<&TTextEditorSetupDlg::SwitchBoxClick>("cbCharsClick"),
    Handler<&TTextEditorSetupDlg::SwitchBoxClick>("cbDirectivesClick"),
    Handler<&TTextEditorSetupDlg::SwitchBoxClick>("cbRemarksClick"),
    Handler<&TTextEditorSetupDlg::SwitchBoxClick>("cbNumbersClick"),
    Handler<&TTextEditorSetupDlg::SwitchBoxClick>("cbSymbolsClick"),
};

// The close check's refusals: the language entry and its built-in text.
struct TWrongValueText {
    int id;
    const char* defaultText;
};
const TWrongValueText kWrongValueTexts[] = {
    {100302, "Hib\xE1s tabul\xE1torm\xE9ret."},
    {100303, "Hib\xE1s beigaz\xEDt\xE1si m\xE9ret."},
    {100304, "Hib\xE1s karakterm\xE9ret."},
    {100305, "Hib\xE1s marg\xF3poz\xED" "ci\xF3."},
};

bool Within(int value, int low, int high) { return value >= low && value <= high; }

// The index of the line equal to text (exact comparison), -1 when none.
int IndexOfExact(const TStrings* lines, const std::string& text) {
    for (int i = 0; i < lines->GetCount(); ++i)
        if (lines->GetStrings(i) == text) return i;
    return -1;
}

int IndexOfExact(const TStringContainer& words, const std::string& text) {
    for (int i = 0; i < words.GetCount(); ++i)
        if (words[i].str() == text) return i;
    return -1;
}

void ShowWords(TListBox* list, const TStringContainer& words) {
    TStrings* lines = list->GetItems();
    lines->BeginUpdate();
    lines->Clear();
    for (int i = 0; i < words.GetCount(); ++i) lines->Add(words[i].str());
    lines->EndUpdate();
}

}  // namespace

TTextEditorSetupDlg::TTextEditorSetupDlg(TComponent* owner) : TForm(owner) {
    LoadStoredLayout();
    pcTemak = Find<TPageControl>(this, "pcTemak");
    tsSzerkeszto = Find<TTabSheet>(this, "tsSzerkeszto");
    tsMegjelenes = Find<TTabSheet>(this, "tsMegjelenes");
    tsSzinek = Find<TTabSheet>(this, "tsSzinek");
    tsKiemeltSzavak = Find<TTabSheet>(this, "tsKiemeltSzavak");
    tsSemak = Find<TTabSheet>(this, "tsSemak");
    for (int i = 0; i < kSwitchCount; ++i) switchBoxes[i] = Find<TCheckBox>(this, kSwitchBoxNames[i]);
    cbMargin = switchBoxes[kSwitchCount - 1];
    cmbIndentSize = Find<TComboBox>(this, "cmbIndentSize");
    cmbTabsize = Find<TComboBox>(this, "cmbTabsize");
    cmbColSeparator = Find<TComboBox>(this, "cmbColSeparator");
    edAlignChar = Find<TEdit>(this, "edAlignChar");
    cmbCharset = Find<TComboBox>(this, "cmbCharset");
    cmbCharsize = Find<TComboBox>(this, "cmbCharsize");
    stMarginPos = Find<TLabel>(this, "stMarginPos");
    edMarginPos = Find<TEdit>(this, "edMarginPos");
    lbElem = Find<TListBox>(this, "lbElem");
    lbBoldWords = Find<TListBox>(this, "lbBoldWords");
    edWord = Find<TEdit>(this, "edWord");
    btnNewBoldWord = Find<TButton>(this, "btnNewBoldWord");
    btnDeleteBoldWord = Find<TButton>(this, "btnDeleteBoldWord");
    btnModifyBolWord = Find<TButton>(this, "btnModifyBolWord");
    btnBoldTortes = Find<TButton>(this, "btnBoldTortes");
    btnBoldMentes = Find<TButton>(this, "btnBoldMentes");
    lbSchemes = Find<TListBox>(this, "lbSchemes");
    btnSetScheme = Find<TButton>(this, "btnSetScheme");
    edExt = Find<TEdit>(this, "edExt");
    btnNewScheme = Find<TButton>(this, "btnNewScheme");
    btnDeleteScheme = Find<TButton>(this, "btnDeleteScheme");
    btnHelp = Find<TButton>(this, "btnHelp");
    btnCancel = Find<TButton>(this, "btnCancel");
    btnOk = Find<TButton>(this, "btnOk");
    BoldOpenDialog = Find<TOpenDialog>(this, "BoldOpenDialog");
    BoldSaveDialog = Find<TSaveDialog>(this, "BoldSaveDialog");
    if (TLangTable* table = GetTextEditorLangTable()) table->SetText(this);
}

std::any TTextEditorSetupDlg::FindHandler(const std::string& name) {
    return BindHandler(kSetupDlgHandlers, this, name.c_str());
}

// ---- Form ----

void TTextEditorSetupDlg::FormCreate(TObject*) {
    if (cmbElemszin != nullptr) return;
    cmbElemszin = new TGraphObjectComboBox(tsSzinek);
    cmbElemszin->SetParent(tsSzinek);
    cmbElemszin->SetBounds(176, 24, 145, 21);
    cmbElemszin->OnChange = [this](TObject* sender) { cmbElemszinClick(sender); };
}

void TTextEditorSetupDlg::FormShow(TObject* sender) {
    if (cmbElemszin != nullptr)
        if (TLangTable* table = GetTextEditorLangTable())
            cmbElemszin->SetLanguage(table->GetLang() == 1 ? goclHungarian : goclEnglish);
    pcTemak->SetActivePage(tsSzinek);
    lbElem->SetItemIndex(0);
    lbElemClick(sender);
    pcTemak->SetActivePage(tsSzerkeszto);
}

int TTextEditorSetupDlg::ReadValues(TTextEditorSetupValues& values) const {
    values.tabSize = StrToInt(cmbTabsize->GetText());
    values.indentSize = StrToInt(cmbIndentSize->GetText());
    values.fontSize = StrToInt(cmbCharsize->GetText());
    values.marginPos = StrToInt(edMarginPos->GetText());
    if (!Within(values.tabSize, 1, TTextEditor::kMaxTabSize)) return kWrongValueTexts[0].id;
    if (!Within(values.indentSize, 0, TTextEditor::kMaxIndentSize)) return kWrongValueTexts[1].id;
    if (!Within(values.fontSize, 0, TTextEditor::kMaxFontSize)) return kWrongValueTexts[2].id;
    if (!Within(values.marginPos, 0, TTextEditor::kMaxColumn)) return kWrongValueTexts[3].id;
    return 0;
}

void TTextEditorSetupDlg::FormCloseQuery(TObject*, bool& canClose) {
    TTextEditorSetupValues values;
    const int wrong = ReadValues(values);
    if (wrong == 0) return;
    canClose = false;
    for (const TWrongValueText& text : kWrongValueTexts)
        if (text.id == wrong) {
            const std::string message = TextEditorText(text.id, text.defaultText);
            const std::string caption = TextEditorText(100301, "Be\xE1ll\xEDt\xE1sok");
            MessageBoxA(HandleAllocated() ? GetHandle() : nullptr, message.c_str(), caption.c_str(),
                        MB_OK | MB_ICONERROR);
        }
}

// ---- Colours ----

void TTextEditorSetupDlg::pcTemakChange(TObject* sender) {
    if (pcTemak->GetActivePage() == tsSzinek) lbElemClick(sender);
}

void TTextEditorSetupDlg::lbElemClick(TObject*) {
    const int element = lbElem->GetItemIndex();
    if (cmbElemszin == nullptr || element < 0 || element >= kColorCount) return;
    cmbElemszin->SetColor(colors[element]);
    cmbElemszin->Invalidate();
}

void TTextEditorSetupDlg::cmbElemszinClick(TObject*) {
    const int element = lbElem->GetItemIndex();
    if (cmbElemszin == nullptr || element < 0 || element >= kColorCount) return;
    colors[element] = cmbElemszin->GetColor();
}

// ---- Switches ----

void TTextEditorSetupDlg::cbMarginClick(TObject*) {
    const bool shown = cbMargin->GetChecked();
    stMarginPos->SetEnabled(shown);
    edMarginPos->SetEnabled(shown);
}

void TTextEditorSetupDlg::SwitchBoxClick(TObject* sender) {
    TTextEditorScheme* scheme = ShownScheme();
    if (fillingSwitches_ || scheme == nullptr) return;
    for (int i = 0; i < kSwitchCount - 1; ++i)
        if (switchBoxes[i] == sender) scheme->*TTextEditorScheme::Flags()[i] = switchBoxes[i]->GetChecked();
}

void TTextEditorSetupDlg::ShowSwitches(const bool values[kSwitchCount]) {
    fillingSwitches_ = true;
    for (int i = 0; i < kSwitchCount; ++i) switchBoxes[i]->SetChecked(values[i]);
    fillingSwitches_ = false;
    cbMarginClick(cbMargin);
}

// ---- Bold words ----

void TTextEditorSetupDlg::lbBoldWordsClick(TObject*) {
    const int line = lbBoldWords->GetItemIndex();
    if (line >= 0) edWord->SetText(lbBoldWords->GetItems()->GetStrings(line));
}

void TTextEditorSetupDlg::btnNewBoldWordClick(TObject*) {
    const std::string word = edWord->GetText();
    TStrings* lines = lbBoldWords->GetItems();
    if (word.empty() || IndexOfExact(lines, word) >= 0) return;
    lbBoldWords->SetItemIndex(lines->Add(word));
    if (TTextEditorScheme* scheme = ShownScheme()) scheme->boldWords.Add(TString(word));
}

// The list box may hold another list than the scheme's keywords (a file
// loaded, or the editor's own words), so the keyword is found by its text.
void TTextEditorSetupDlg::btnDeleteBoldWordClick(TObject*) {
    const int line = lbBoldWords->GetItemIndex();
    if (line < 0) return;
    const std::string word = lbBoldWords->GetItems()->GetStrings(line);
    lbBoldWords->GetItems()->Delete(line);
    TTextEditorScheme* scheme = ShownScheme();
    const int keyword = scheme != nullptr ? IndexOfExact(scheme->boldWords, word) : -1;
    if (keyword >= 0) scheme->boldWords.Delete(keyword);
}

void TTextEditorSetupDlg::btnModifyBolWordClick(TObject*) {
    const int line = lbBoldWords->GetItemIndex();
    const std::string word = edWord->GetText();
    if (line < 0 || word.empty()) return;
    const std::string old = lbBoldWords->GetItems()->GetStrings(line);
    lbBoldWords->GetItems()->SetStrings(line, word);
    TTextEditorScheme* scheme = ShownScheme();
    const int keyword = scheme != nullptr ? IndexOfExact(scheme->boldWords, old) : -1;
    if (keyword >= 0) scheme->boldWords[keyword] = TString(word);
}

void TTextEditorSetupDlg::btnBoldMentesClick(TObject*) {
    if (!BoldSaveDialog->Execute() || SaveBoldWords(TString(BoldSaveDialog->GetFileName()))) return;
    const std::string text = TextEditorText(100221, "Error with saving (Read Only ?)");
    const std::string caption = TextEditorText(100222, "Save file");
    MessageBoxA(HandleAllocated() ? GetHandle() : nullptr, text.c_str(), caption.c_str(), MB_OK | MB_ICONERROR);
}

void TTextEditorSetupDlg::btnBoldTortesClick(TObject*) {
    if (!BoldOpenDialog->Execute()) return;
    const TString name(BoldOpenDialog->GetFileName());
    if (!LoadBoldWords(name) && editor != nullptr) editor->ShowLoadError(name);
}

bool TTextEditorSetupDlg::LoadBoldWords(const TString& fileName) {
    TStringContainer words;
    if (!ReadBoldWordFile(fileName, words)) return false;
    ShowWords(lbBoldWords, words);
    return true;
}

bool TTextEditorSetupDlg::SaveBoldWords(const TString& fileName) const {
    TStringContainer words;
    const TStrings* lines = lbBoldWords->GetItems();
    for (int i = 0; i < lines->GetCount(); ++i) words.Add(TString(lines->GetStrings(i)));
    return WriteBoldWordFile(fileName, words);
}

// ---- Schemes ----

TTextEditorScheme* TTextEditorSetupDlg::ShownScheme() {
    return schemeIndex >= 0 && schemeIndex < schemes.GetCount() ? &schemes[schemeIndex] : nullptr;
}

void TTextEditorSetupDlg::ShowScheme() {
    const TTextEditorScheme* scheme = ShownScheme();
    if (scheme == nullptr) return;
    ShowWords(lbBoldWords, scheme->boldWords);
    bool values[kSwitchCount];
    for (int i = 0; i < kSwitchCount; ++i) values[i] = scheme->*TTextEditorScheme::Flags()[i];
    ShowSwitches(values);
    cmbIndentSize->SetText(std::to_string(scheme->indentSize));
    edMarginPos->SetText(std::to_string(scheme->marginPos));
}

void TTextEditorSetupDlg::btnSetSchemeClick(TObject*) {
    const int chosen = lbSchemes->GetItemIndex();
    if (chosen < 0 || chosen >= schemes.GetCount()) return;
    schemeIndex = chosen;
    ShowScheme();
}

void TTextEditorSetupDlg::lbSchemesDblClick(TObject* sender) { btnSetSchemeClick(sender); }

void TTextEditorSetupDlg::btnNewSchemeClick(TObject*) {
    const std::string extensions = edExt->GetText();
    if (extensions.empty()) return;
    schemes.NewItem()->extensions = TString(extensions);
    lbSchemes->GetItems()->Add(extensions);
}

void TTextEditorSetupDlg::btnDeleteSchemeClick(TObject*) {
    // The first three schemes stay.
    const int chosen = lbSchemes->GetItemIndex();
    if (chosen < 3 || chosen >= schemes.GetCount()) return;
    schemes.Delete(chosen);
    lbSchemes->GetItems()->Delete(chosen);
    if (chosen <= schemeIndex) --schemeIndex;
    if (chosen < editorSchemeIndex)
        --editorSchemeIndex;
    else if (chosen == editorSchemeIndex)
        editorSchemeIndex = 0;
    ShowScheme();
}

// ---- The bold-word file ----

bool ReadBoldWordFile(const TString& fileName, TStringContainer& words) {
    TStringContainer lines;
    try {
        lines.ReadFromFile(fileName);
    } catch (const std::exception&) {
        return false;
    }
    TStringContainer found;
    for (int i = 0; i < lines.GetCount(); ++i) lines[i].GetTokens(' ', false, false, found);
    words.Swap(found);
    return true;
}

bool WriteBoldWordFile(const TString& fileName, const TStringContainer& words) {
    try {
        words.WriteToFile(fileName);
    } catch (const std::exception&) {
        return false;
    }
    return true;
}

TTextEditorSetupDlg* SharedSetupDlg() {
    constexpr TTextEditorSharedForm slot = TTextEditorSharedForm::Setup;
    if (GetTextEditorSharedForm(slot) == nullptr) CreateTextEditorSharedForms();
    return TextEditorSharedForm<TTextEditorSetupDlg>(slot);
}
