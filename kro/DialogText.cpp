// The "KRO dialog" text format: one window line, then one control a line, list items on the lines after their control.
#include "DialogText.h"

#include <exception>
#include <string>

#include "ComponentInfos.h"
#include "DialogControls.h"
#include "Forms.h"
#include "ProcessBar.h"
#include "Program.h"
#include "StdCtrls.h"

namespace {

// Fields of a control line: 0 type, 1 id, 2 left, 3 top, 4 width, 5 height,
// then the fields of the type.
enum TField { fType, fId, fLeft, fTop, fWidth, fHeight, fSixth, fSeventh, fEighth };

// A control line being built: its fields, the window, and the rest of the
// text, from which list controls take their item lines.
struct TControlLine {
    TForm* form;
    const TStringContainer& fields;
    const TStringContainer& lines;
    int& next;  // the line after the control line

    int Number(int field) const { return fields[field].ToInt(); }
    std::string Text(int field) const { return fields[field].str(); }

    // The next n lines, whole; fewer when the text ends first, none for n <= 0.
    void TakeItems(int n, TStrings& items) const {
        items.BeginUpdate();
        for (int k = 0; k < n && next < lines.GetCount(); ++k) items.Add(lines[next++].str());
        items.EndUpdate();
    }
};

template <class Control>
Control* NewChild(const TControlLine& line) {
    Control* control = new Control(line.form);
    control->SetParent(line.form);
    return control;
}

template <class Control>
Control* NewBoxed(const TControlLine& line) {
    Control* control = NewChild<Control>(line);
    control->SetBounds(line.Number(fLeft), line.Number(fTop), line.Number(fWidth), line.Number(fHeight));
    return control;
}

TComponent* BuildLabel(const TControlLine& line) {
    TLabel* label = NewChild<TLabel>(line);
    label->SetLeft(line.Number(fLeft));
    label->SetTop(line.Number(fTop));
    label->SetCaption(line.Text(fWidth));
    return label;
}

TComponent* BuildEdit(const TControlLine& line) {
    TEdit* edit = NewBoxed<TEdit>(line);
    edit->SetText(line.Text(fSixth));
    return edit;
}

TComponent* BuildMemo(const TControlLine& line) {
    TMemo* memo = NewBoxed<TMemo>(line);
    memo->SetScrollBars(ssBoth);
    line.TakeItems(line.Number(fSixth), *memo->GetLines());
    return memo;
}

// The modal result of a result name, trimmed of blanks; 0 for an unknown one.
int ResultOfName(TString name) {
    name.Trim();
    const struct {
        const char* name;
        int result;
    } kResults[] = {{"mr_ok", mrOk}, {"mr_cancel", mrCancel}, {"mr_yes", mrYes}, {"mr_no", mrNo}};
    for (const auto& row : kResults)
        if (name == TString(row.name)) return row.result;
    return 0;
}

TComponent* BuildButton(const TControlLine& line) {
    const int result = ResultOfName(line.fields[fSeventh]);
    if (result == 0) return nullptr;
    TButton* button = NewBoxed<TButton>(line);
    button->SetCaption(line.Text(fSixth));
    button->SetModalResult(result);
    return button;
}

// The caption goes before the bounds for the two kinds of check buttons.
template <class Control>
TComponent* BuildCheckButton(const TControlLine& line) {
    Control* control = NewChild<Control>(line);
    control->SetCaption(line.Text(fSixth));
    control->SetBounds(line.Number(fLeft), line.Number(fTop), line.Number(fWidth), line.Number(fHeight));
    return control;
}

TComponent* BuildListBox(const TControlLine& line) {
    TListBox* list = NewBoxed<TListBox>(line);
    line.TakeItems(line.Number(fSixth), *list->GetItems());
    return list;
}

TComponent* BuildComboBox(const TControlLine& line) {
    TComboBox* combo = NewBoxed<TComboBox>(line);
    combo->SetStyle(csDropDown);
    line.TakeItems(line.Number(fSixth), *combo->GetItems());
    return combo;
}

TComponent* BuildRadioGroup(const TControlLine& line) {
    TRadioGroup* group = NewBoxed<TRadioGroup>(line);
    line.TakeItems(line.Number(fSixth), *group->GetItems());
    return group;
}

TComponent* BuildScrollBar(const TControlLine& line) {
    TScrollBar* bar = NewBoxed<TScrollBar>(line);
    bar->SetKind(sbHorizontal);
    bar->SetMin(line.Number(fSixth));
    bar->SetMax(line.Number(fSeventh));
    bar->SetPosition(line.Number(fEighth));
    return bar;
}

TComponent* BuildProcessBar(const TControlLine& line) {
    TProcessBar* bar = NewBoxed<TProcessBar>(line);
    bar->SetMin(line.Number(fSixth));
    bar->SetMax(line.Number(fSeventh));
    bar->SetPos(line.Number(fEighth));
    return bar;
}

// One control type: its name as written, how many fields its line has at
// least (type and id included), and its builder, which returns null when the
// line is to be skipped.
struct TControlRow {
    const char* name;
    int fields;
    TComponent* (*build)(const TControlLine& line);
};

const TControlRow kControlRows[] = {
    {"Label", 5, BuildLabel},
    {"Edit", 7, BuildEdit},
    {"Memo", 7, BuildMemo},
    {"Button", 8, BuildButton},
    {"CheckBox", 7, BuildCheckButton<TCheckBox>},
    {"RadioButton", 7, BuildCheckButton<TRadioButton>},
    {"ListBox", 7, BuildListBox},
    {"ComboBox", 7, BuildComboBox},
    {"ScrollBar", 9, BuildScrollBar},
    {"RadioGroup", 7, BuildRadioGroup},
    {"ProcessBar", 9, BuildProcessBar},
};

const TControlRow* FindControlRow(TString name) {
    name.Trim();
    for (const TControlRow& row : kControlRows)
        if (name == TString(row.name)) return &row;
    return nullptr;
}

// Builds the control of line index (or skips it) and returns the next line to read.
int BuildControl(TForm* form, const TStringContainer& lines, int index) {
    int next = index + 1;
    TStringContainer fields;
    lines[index].GetTokens(',', true, fields);
    const TControlRow* row = fields.GetCount() > 0 ? FindControlRow(fields[fType]) : nullptr;
    if (row == nullptr || fields.GetCount() < row->fields) return next;
    const TControlLine line{form, fields, lines, next};
    TComponent* control = nullptr;
    try {
        control = row->build(line);
    } catch (const std::exception&) {
        return next;
    }
    if (control != nullptr) ComponentInfos()->AddComponent(control, line.Number(fId));
    return next;
}

// The window of line 1; null when the line lacks fields.
TForm* BuildWindow(const TStringContainer& lines) {
    TStringContainer fields;
    if (lines.GetCount() > 1) lines[1].GetTokens(',', true, fields);
    if (fields.GetCount() < 5) return nullptr;
    const int id =
        NewScriptDialog(fields[0].ToInt(), fields[1].ToInt(), fields[2].ToInt(), fields[3].ToInt(), fields[4].str());
    TForm* form = FindScriptDialog(id);
    if (form != nullptr && fields.GetCount() > 5 && fields[5] == TString("center")) form->SetPosition(poScreenCenter);
    return form;
}

}  // namespace

int BuildDialog(const TStringContainer& lines) {
    if (ComponentInfos() == nullptr) return -1;
    TForm* form = BuildWindow(lines);
    if (form == nullptr) return -1;
    for (int index = 2; index < lines.GetCount();) index = BuildControl(form, lines, index);
    return static_cast<int>(form->GetTag());
}

int LoadDialog(const TProgram* program, const TString& name) {
    if (program == nullptr) return -1;
    int built = -1;
    for (int k = 0; k < program->resourceTokens.GetCount(); ++k) {
        const TToken* token = program->tokens[program->resourceTokens[k]];
        const RESOURCE_INFO* info = token != nullptr && token->type == ttResource ? token->Record<RESOURCE_INFO>() : nullptr;
        if (info == nullptr || info->kind != 2 || !(info->name == name)) continue;
        const int id = BuildDialog(info->lines);
        if (id >= 0) built = id;
    }
    return built;
}
