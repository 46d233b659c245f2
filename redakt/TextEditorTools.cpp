// TTextEditor: the tools outside the command language: numbering of the
// selected lines, HTML tag case, the Java method list, the search-all click,
// column statistics, the help view and the language switch.
#include <algorithm>
#include <cstdio>
#include <string>

#include "Application.h"
#include "ComboBox.h"
#include "Form.h"
#include "HtmlCaseParser.h"
#include "JavaParser.h"
#include "Langtable.h"
#include "ListBox.h"
#include "TextEditor.h"
#include "TextEditorPackage.h"
#include "TextEditorStatSetupDlg.h"
#include "TextEditorTexts.h"

namespace {

// Roman digits of 1 to 9 and of 10 to 90; entry 0 is empty in both.
const char* const kRomanUnits[10] = {"", "I", "II", "III", "IV", "V", "VI", "VII", "VIII", "IX"};
const char* const kRomanTens[10] = {"", "X", "XX", "XXX", "XL", "L", "LX", "LXX", "LXXX", "XC"};
constexpr int kRomanLimit = 99;
constexpr int kHtmlLanguage = 3;

void ShowBox(TTextEditor& editor, const std::string& text, const std::string& caption, UINT icon) {
    HWND owner = editor.HandleAllocated() ? editor.GetHandle() : nullptr;
    MessageBoxA(owner, text.c_str(), caption.c_str(), MB_OK | icon);
}

// The prefix of the n-th numbered line (n from 1) in a numbering mode.
std::string NumberingPrefix(int mode, int n) {
    switch (mode) {
        case 1:
            return TextEditorText(100293, " - ");
        case 2:
            return std::to_string(n) + TextEditorText(100294, ". ");
        case 3:
            return std::string(kRomanTens[n / 10]) + kRomanUnits[n % 10] + TextEditorText(100295, ". ");
        default:
            return std::string();
    }
}

// The form the control stands on, or null.
TForm* FormHolding(TControl* control) {
    for (TWinControl* parent = control->GetParent(); parent != nullptr; parent = parent->GetParent())
        if (auto* form = dynamic_cast<TForm*>(parent)) return form;
    return nullptr;
}

// A form makes the editor its active control only when it holds the editor:
// any other form would refuse it with an exception inside a click handler.
void BecomeActiveControlOf(TForm* form, TTextEditor& editor) {
    if (form != nullptr && FormHolding(&editor) == form) form->SetActiveControl(&editor);
}

// The search-all record whose hits the list box shows, or null.
TTextEditorSearchResult* ResultShownIn(TTextEditorSearchResults& results, const TListBox* list) {
    for (int r = 0; r < results.GetCount(); ++r)
        if (results[r].listBox == list) return &results[r];
    return nullptr;
}

// "%.3f" of value after text, as the statistics boxes show it.
std::string WithValue(const char* text, double value) {
    char number[64];
    std::snprintf(number, sizeof number, "%.3f", value);
    return std::string(text) + number;
}

}  // namespace

void TTextEditor::DoEnumeration(int mode) {
    const int first = selection.selStartLine;
    const int end = selection.selEndLine;
    if (first == end) {
        ShowBox(*this, TextEditorText(100289, "No selected text"), TextEditorText(100290, "Ordering"), MB_ICONERROR);
        return;
    }
    if (mode == 3 && end - first > kRomanLimit) {
        ShowBox(*this, TextEditorText(100291, "Too big range"), TextEditorText(100292, "Roman ordering"), MB_ICONERROR);
        return;
    }
    for (int line = first; line < end && line < lines.GetCount(); ++line) {
        lines[line] = TString(NumberingPrefix(mode, line - first + 1)) + lines[line];
        SetHMax(lines[line]);
        RepaintLine(line);
    }
    SetModified(true);
}

void TTextEditor::ConvertHtmlCase(bool upper) {
    if (syntaxLanguage != kHtmlLanguage) return;
    THtmlCaseParser parser;
    parser.SetUpperCase(upper);
    parser.Parse(lines);
    RefreshLines(-1);
    SetModified(true);
}

void TTextEditor::Parse(TListBox* list) {
    if (list == nullptr) return;
    list->Clear();
    TJavaParser parser;
    parser.Parse(lines);
    methodLines.Clear();
    const bool withClass = parser.GetCount() > 1;
    const std::string scope = TextEditorText(100296, "::");
    for (int c = 0; c < parser.GetCount(); ++c) {
        const TJavaClassData* javaClass = parser[c];
        for (int m = 0; m < javaClass->GetCount(); ++m) {
            const TJavaMethodData* method = (*javaClass)[m];
            std::string entry = method->AsString().str();
            if (withClass) entry = javaClass->name.str() + scope + entry;
            list->GetItems()->Add(entry);
            methodLines.Add(method->line);
        }
    }
    list->OnClick = [this](TObject* sender) { MethodSelect(sender); };
    list->FreeNotification(this);
    if (std::find(methodClickLists.begin(), methodClickLists.end(), list) == methodClickLists.end())
        methodClickLists.push_back(list);
}

// A list box on another form may outlive the editor: its clicks must no
// longer reach it.
void TTextEditor::UnbindMethodLists() {
    for (TListBox* list : methodClickLists) list->OnClick = nullptr;
    methodClickLists.clear();
}

// By address alone: a list box being destroyed is no longer a TListBox here.
void TTextEditor::ForgetMethodList(const TComponent* listBox) {
    methodClickLists.erase(std::remove_if(methodClickLists.begin(), methodClickLists.end(),
                                          [listBox](const TListBox* list) {
                                              return static_cast<const TComponent*>(list) == listBox;
                                          }),
                           methodClickLists.end());
}

void TTextEditor::MethodSelect(TObject* sender) {
    const auto* list = dynamic_cast<TListBox*>(sender);
    if (list == nullptr) return;
    const int entry = list->GetItemIndex();
    if (entry < 0 || entry >= methodLines.GetCount()) return;
    GoTo(0, methodLines[entry]);
    if (Application != nullptr) BecomeActiveControlOf(Application->GetMainForm(), *this);
}

// A hit whose line the text no longer has leaves with its row, and the count
// row is rewritten, so that every later row still leads to its own line.
void TTextEditor::OnSearchAllOnClick(TObject* sender) {
    auto* list = dynamic_cast<TListBox*>(sender);
    if (list == nullptr) return;
    const int row = list->GetItemIndex();
    TStrings* rows = list->GetItems();
    TTextEditorSearchResult* result = ResultShownIn(searchResults, list);
    if (result != nullptr && row > 0 && row < rows->GetCount() - 1 && row - 1 < result->hitLines.GetCount()) {
        const int line = result->hitLines[row - 1];
        if (line >= 0 && line < lines.GetCount()) {
            GoToLine(line);
        } else {
            result->hitLines.Delete(row - 1);
            rows->Delete(row);
            rows->SetStrings(rows->GetCount() - 1, GetSearchAllLastLine(result->hitLines.GetCount()).str());
        }
    }
    auto* listForm = dynamic_cast<TForm*>(list->GetOwner());
    if (listForm != nullptr && listForm != GetOwner()) listForm->Show();
    BecomeActiveControlOf(dynamic_cast<TForm*>(GetOwner()), *this);
}

void TTextEditor::StatOptions() {
    TTextEditorStatSetupDlg* dialog = SharedStatSetupDlg();
    if (dialog == nullptr || dialog->cmbCol == nullptr || dialog->cmbSep == nullptr) return;
    SetupDlgPos(dialog);
    CaretOff();
    const TModalResult result = dialog->ShowModal();
    CaretOn();
    if (result != mrOk) return;
    std::sscanf(dialog->cmbCol->GetText().c_str(), "%d", &statColumn);
    const int item = dialog->cmbSep->GetItemIndex();
    if (item < 0 || item >= dialog->cmbSep->GetItems()->GetCount()) return;
    const std::string choice = dialog->cmbSep->GetItems()->GetStrings(item);
    if (choice.size() >= 2) statSeparator = choice[1];
}

// Double sums and a read flag per token: a long column keeps its digits, and
// every value that reads counts, whatever it is.
double TTextEditor::CalcStatSum(int& count) {
    int first = 0, last = -1;
    GetWorkingRange(first, last);
    count = 0;
    double sum = 0;
    TStringContainer tokens;
    for (int line = std::max(first, 0); line <= last && line < lines.GetCount(); ++line) {
        tokens.Clear();
        lines[line].GetTokens(statSeparator, false, tokens);
        if (statColumn < 0 || tokens.GetCount() <= statColumn) continue;
        double value = 0;
        if (std::sscanf(tokens[statColumn].c_str(), "%lf", &value) != 1) continue;
        sum += value;
        ++count;
    }
    return sum;
}

void TTextEditor::StatSum() {
    int count = 0;
    const double sum = CalcStatSum(count);
    ShowBox(*this, WithValue("The sum is: ", sum), "Sum", 0);
}

void TTextEditor::StatAve() {
    int count = 0;
    const double sum = CalcStatSum(count);
    if (count == 0)
        ShowBox(*this, "There are no valid lines", "Average", 0);
    else
        ShowBox(*this, WithValue("The average is: ", sum / count), "Average", 0);
}

// Each side keeps its own caret (the text also its selection). The undo
// records describe the side being left, so each swap empties the stack.
void TTextEditor::Help() {
    if (helpShown) {
        helpCaret = POINT{CurCol, CurLine};
    } else {
        textCaret = POINT{CurCol, CurLine};
        textSelection = selection;
    }
    lines.Swap(helpText);
    ClearUndo();
    RefreshSettings(false, true);
    selMark = -1;
    const POINT caret = helpShown ? textCaret : helpCaret;
    if (helpShown) selection = textSelection;
    CurCol = caret.x;
    CurLine = caret.y;
    SetCaretPos(caret);
    Repaint();
    helpShown = !helpShown;
}

void TTextEditor::SetLangTable(TLangTable* table) { SetTextEditorLangTable(table); }

void TTextEditor::SetLang(int language) {
    TLangTable* table = GetTextEditorLangTable();
    if (table == nullptr) return;
    table->SetLang(language);
    // ORDER: the forms re-translated, as the language switch has always done;
    // the macro-list, parameterized-macro and convert-lines forms are not.
    static const TTextEditorSharedForm kTranslated[] = {
        TTextEditorSharedForm::Setup,         TTextEditorSharedForm::GoToLine,
        TTextEditorSharedForm::Search,        TTextEditorSharedForm::Replace,
        TTextEditorSharedForm::ReplacePrompt, TTextEditorSharedForm::MacroName,
        TTextEditorSharedForm::SelectParamMacro, TTextEditorSharedForm::LineInsertText,
    };
    for (TTextEditorSharedForm slot : kTranslated)
        if (TForm* form = GetTextEditorSharedForm(slot)) table->SetText(form);
}
