// TTextEditor: the frame the line commands share: compiling a command's
// expression, the working range and the paragraph, the texts and line
// blocks a command names, the ASCII table around the caret, the result
// dialog, the history of the editor's combo boxes (an entry is kept once,
// compared exactly) and the dialogs' help handler.
#include <algorithm>
#include <cstring>
#include <string>

#include "ComboBox.h"
#include "Edit.h"
#include "Form.h"
#include "TextEditor.h"
#include "TextEditorFunctions.h"
#include "TextEditorResultDlgs.h"
#include "TextEditorTexts.h"

bool TTextEditor::CreateExpression(const TString& text, TExpression& expression, TVariableList* variables) {
    expression.SetSource(text, variables);
    if (expression.Valid()) return true;
    WrongExpression(text);
    return false;
}

bool TTextEditor::CreateExpression(const TString& text, TExpression& expression) {
    return CreateExpression(text, expression, &runtimeVars);
}

void TTextEditor::WrongExpression(const TString& text) {
    const std::string message = TextEditorText(100466, "") + ": " + text.str();
    const std::string caption = TextEditorText(100467, "");
    MessageBoxA(HandleAllocated() ? GetHandle() : nullptr, message.c_str(), caption.c_str(), MB_OK | MB_ICONERROR);
}

void TTextEditor::GetWorkingRange(int& first, int& last) {
    if (selection.selStartLine != selection.selEndLine) {
        first = selection.selStartLine;
        last = selection.selEndLine - 1;
    } else {
        first = 0;
        last = lines.GetCount() - 1;
    }
}

namespace {

bool IsFilledLine(const TStringContainer& lines, int line) {
    return line >= 0 && line < lines.GetCount() && !lines[line].IsEmpty();
}

}  // namespace

void TTextEditor::GetParagraphLines(int line, int& first, int& last) {
    first = line;
    while (IsFilledLine(lines, first - 1)) --first;
    last = line;
    while (IsFilledLine(lines, last + 1)) ++last;
}

void TTextEditor::GetParagraphLines(int& first, int& last) { GetParagraphLines(CurLine, first, last); }

// Tried digit by digit, the three spellings of each digit in turn.
bool TTextEditor::IsText(const TString& name, TStringContainer*& target) {
    if (name.str() == "text") {
        target = &lines;
        return true;
    }
    for (int digit = 0; digit < 10; ++digit)
        for (const char* prefix : {"b", "buf", "buffer"})
            if (name.str() == prefix + std::to_string(digit)) {
                target = &buffers[digit];
                return true;
            }
    return false;
}

bool TTextEditor::IsLine(const TString& name, int& first, int& last) {
    const int start = selection.selStartLine;
    const int end = selection.selEndLine;
    const int size = end - start;
    if (name.str() == "cur") {
        first = size != 0 ? start : CurLine;
        last = size != 0 ? end - 1 : CurLine;
        return true;
    }
    if (name.str() == "prev") {
        first = size != 0 ? start - size : CurLine - 1;
        last = size != 0 ? start - 1 : CurLine - 1;
        return first >= 0;
    }
    if (name.str() == "next") {
        first = size != 0 ? end : CurLine + 1;
        last = size != 0 ? end + size - 1 : CurLine + 1;
        return first < lines.GetCount() && last <= lines.GetCount() - 1;
    }
    return false;
}

int TTextEditor::CheckTableLine(RECT& rect, TString& line) {
    if (rect.left < 0 || rect.right < 0 || line.Length() <= rect.left || line.Length() <= rect.right) return 0;
    const char left = line[rect.left];
    const char right = line[rect.right];
    if (left == '+' && right == '+') {
        bool border = true;
        for (int column = rect.left + 1; column < rect.right && border; ++column)
            border = line[column] == '-' || line[column] == '+';
        if (border) return 2;
    }
    if (left != '|' && left != '+') return 0;
    return right == '|' || right == '+' ? 1 : 0;
}

namespace {

// The outer border reached from the caret line going by step (-1 up, +1
// down): a border line ends the walk when the next line is no table line
// (or there is none); a line that is no table line first means no table.
bool FindTableBorder(TTextEditor& editor, RECT& rect, int step, LONG& border) {
    TStringContainer& lines = editor.lines;
    const auto kind = [&](int line) {
        return line >= 0 && line < lines.GetCount() ? editor.CheckTableLine(rect, lines[line]) : 0;
    };
    for (int line = editor.GetCurLine() + step; line >= 0 && line < lines.GetCount(); line += step) {
        const int found = kind(line);
        if (found == 0) return false;
        if (found == 2 && kind(line + step) == 0) {
            border = line;
            return true;
        }
    }
    return false;
}

}  // namespace

bool TTextEditor::GetTableRect(RECT& rect) {
    if (CurLine < 0 || CurLine >= lines.GetCount()) return false;
    const TString& line = lines[CurLine];
    RECT found{line.Pos('|'), 0, line.LastPos('|'), 0};
    if (found.left < 0) return false;
    if (!FindTableBorder(*this, found, -1, found.top) || !FindTableBorder(*this, found, +1, found.bottom)) return false;
    rect = found;
    return true;
}

namespace {

// A result dialog's edit box with text, all of it selected, the dialog
// centred over the editor and shown modally.
template <class Dialog>
void ShowResult(TTextEditor& editor, Dialog* dialog, const TString& text) {
    if (dialog == nullptr || dialog->edResult == nullptr) return;
    dialog->edResult->SetText(text.str());
    editor.SetupDlgPos(dialog);
    dialog->SetActiveControl(dialog->edResult);
    dialog->edResult->SetSelStart(0);
    dialog->edResult->SetSelLength(text.Length());
    dialog->ShowModal();
}

}  // namespace

void TTextEditor::ShowCalcResult(const TString& text) { ShowResult(*this, SharedCalcResultDlg(), text); }

void TTextEditor::ShowApplyResult(const TString& text) { ShowResult(*this, SharedApplyResultDlg(), text); }

void AddComboHistory(TComboBox* box, int limit) {
    if (box == nullptr) return;
    const std::string text = box->GetText();
    TStrings* items = box->GetItems();
    if (text.empty()) return;
    for (int i = 0; i < items->GetCount(); ++i)
        if (items->GetStrings(i) == text) return;
    items->Insert(0, text);
    while (items->GetCount() > std::max(limit, 0)) items->Delete(items->GetCount() - 1);
}

namespace {

// ORDER none: each row names a dialog's form class and the number its Help
// control reports; a dialog built later joins by its class alone.
const struct {
    const char* formClass;
    TTextEditorDlg dialog;
} kHelpDialogs[] = {
    {"TTextEditorSearchDlg", dlgSearch},     {"TTextEditorReplaceDlg", dlgReplace},
    {"TTextEditorGoToLineDlg", dlgGoToLine}, {"TTextEditorSetupDlg", dlgSettings},
    {"TTextEditorMacroListDlg", dlgMacroList},
};

// The form that holds a control, or null.
const TForm* FormHolding(TObject* sender) {
    const auto* control = dynamic_cast<TControl*>(sender);
    for (TWinControl* parent = control ? control->GetParent() : nullptr; parent; parent = parent->GetParent())
        if (const auto* form = dynamic_cast<TForm*>(parent)) return form;
    return nullptr;
}

// The row of the form's own class, else of its nearest base in the table:
// the replace dialog derives from the search dialog and has a row of its own.
const TTextEditorDlg* HelpDialogOf(const TForm& form) {
    for (const TClassInfo* info = form.ClassInfo(); info; info = info->base)
        for (const auto& row : kHelpDialogs)
            if (std::strcmp(info->name, row.formClass) == 0) return &row.dialog;
    return nullptr;
}

}  // namespace

// Each of the dialogs names its Help control btnHelp; other controls of
// theirs are ignored.
void TTextEditor::DlgHelpHandler(TObject* sender) {
    const TForm* form = FormHolding(sender);
    if (!OnDlgHelp || form == nullptr || form->FindComponent("btnHelp") != sender) return;
    if (const TTextEditorDlg* dialog = HelpDialogOf(*form)) OnDlgHelp(this, *dialog);
}
