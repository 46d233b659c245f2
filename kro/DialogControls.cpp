// The windows and controls behind the script dialog functions, reached by their registry ids.
#include "DialogControls.h"

#include <cstring>
#include <exception>

#include "ComponentInfos.h"
#include "Forms.h"
#include "ProcessBar.h"
#include "StdCtrls.h"

namespace {

template <class Control>
Control* Registered(int id) {
    TComponentInfos* registry = ComponentInfos();
    return registry != nullptr ? dynamic_cast<Control*>(registry->GetComponent(id)) : nullptr;
}

template <class Control>
Control* NewChild(TForm* form) {
    Control* control = new Control(form);
    control->SetParent(form);
    return control;
}

// At left, top, keeping the size the control comes with.
template <class Control>
Control* NewPlaced(TForm* form, const TScriptControlRequest& request) {
    Control* control = NewChild<Control>(form);
    control->SetLeft(request.left);
    control->SetTop(request.top);
    return control;
}

template <class Control>
Control* NewBoxed(TForm* form, const TScriptControlRequest& request) {
    Control* control = NewChild<Control>(form);
    control->SetBounds(request.left, request.top, request.width, request.height);
    return control;
}

template <class Control>
TControl* NewPlain(TForm* form, const TScriptControlRequest& request) {
    return NewBoxed<Control>(form, request);
}

TControl* NewLabel(TForm* form, const TScriptControlRequest& request) {
    TLabel* label = NewPlaced<TLabel>(form, request);
    label->SetCaption(request.caption);
    return label;
}

TControl* NewButton(TForm* form, const TScriptControlRequest& request) {
    TButton* button = NewBoxed<TButton>(form, request);
    button->SetCaption(request.caption);
    button->SetModalResult(request.option);
    return button;
}

// Sized to its caption, measured on its own window's device context.
TControl* NewCheckBox(TForm* form, const TScriptControlRequest& request) {
    TCheckBox* box = NewPlaced<TCheckBox>(form, request);
    box->SetCaption(request.caption);
    HWND window = box->GetHandle();
    HDC dc = GetDC(window);
    SIZE size{0, 0};
    GetTextExtentPoint32A(dc, request.caption.c_str(), static_cast<int>(request.caption.size()), &size);
    ReleaseDC(window, dc);
    box->SetBounds(request.left, request.top, size.cx + 16, size.cy + 2);
    return box;
}

TControl* NewRadioButton(TForm* form, const TScriptControlRequest& request) {
    TRadioButton* button = NewPlaced<TRadioButton>(form, request);
    button->SetCaption(request.caption);
    return button;
}

TControl* NewComboBox(TForm* form, const TScriptControlRequest& request) {
    TComboBox* box = NewBoxed<TComboBox>(form, request);
    box->SetStyle(request.option != 0 ? csDropDownList : csDropDown);
    return box;
}

// The kind first: changing it swaps width and height.
TControl* NewScrollBar(TForm* form, const TScriptControlRequest& request) {
    TScrollBar* bar = NewChild<TScrollBar>(form);
    bar->SetKind(request.option != 0 ? sbVertical : sbHorizontal);
    bar->SetBounds(request.left, request.top, request.width, request.height);
    return bar;
}

typedef TControl* (*TControlMaker)(TForm* form, const TScriptControlRequest& request);

// ORDER: TScriptControlKind.
const TControlMaker kControlMakers[] = {
    NewLabel,
    NewPlain<TEdit>,
    NewPlain<TMemo>,
    NewButton,
    NewCheckBox,
    NewRadioButton,
    NewPlain<TListBox>,
    NewComboBox,
    NewScrollBar,
    NewPlain<TProcessBar>,
};

// The lines of a memo, or the items of a list box or combo box; null for anything else.
TStrings* LinesOf(int id) {
    if (TMemo* memo = Registered<TMemo>(id)) return memo->GetLines();
    if (TListBox* list = Registered<TListBox>(id)) return list->GetItems();
    if (TComboBox* combo = Registered<TComboBox>(id)) return combo->GetItems();
    return nullptr;
}

std::string SelectedItem(const TStrings* items, int index) {
    return index >= 0 && index < items->GetCount() ? items->GetStrings(index) : std::string();
}

}  // namespace

int NewScriptDialog(int left, int top, int width, int height, const std::string& caption) {
    TComponentInfos* registry = ComponentInfos();
    if (registry == nullptr) return -1;
    TForm* form = new TForm(nullptr, 0);
    form->SetBorderStyle(bsDialog);
    form->SetBounds(left, top, width, height);
    form->SetCaption(caption);
    return registry->AddComponent(form);
}

TForm* FindScriptDialog(int id) {
    TComponentInfos* registry = ComponentInfos();
    TComponent* component = registry != nullptr ? registry->GetComponent(id) : nullptr;
    if (component == nullptr || std::strcmp(component->ClassName(), "TForm") != 0) return nullptr;
    return static_cast<TForm*>(component);
}

int NewScriptControl(int parent, TScriptControlKind kind, const TScriptControlRequest& request) {
    TForm* form = FindScriptDialog(parent);
    const bool known = kind >= sckLabel && kind <= sckProcessBar;
    if (form == nullptr || !known) return 0;
    TControl* control = nullptr;
    try {
        control = kControlMakers[kind](form, request);
    } catch (const std::exception&) {
        return 0;
    }
    return ComponentInfos()->AddComponent(control);
}

bool SetScriptControlText(int id, const std::string& text) {
    TEdit* edit = Registered<TEdit>(id);
    if (edit == nullptr) return false;
    edit->SetText(text);
    return true;
}

std::string GetScriptControlText(int id) {
    if (TEdit* edit = Registered<TEdit>(id)) return edit->GetText();
    if (TMemo* memo = Registered<TMemo>(id)) return memo->GetLines()->GetText();
    if (TListBox* list = Registered<TListBox>(id)) return SelectedItem(list->GetItems(), list->GetItemIndex());
    if (TComboBox* combo = Registered<TComboBox>(id)) {
        if (combo->GetStyle() == csDropDownList) return SelectedItem(combo->GetItems(), combo->GetItemIndex());
        return combo->GetText();
    }
    return std::string();
}

bool SetScriptControlLines(int id, const std::vector<std::string>& lines) {
    TStrings* target = LinesOf(id);
    if (target == nullptr) return false;
    target->BeginUpdate();
    target->Clear();
    for (const std::string& line : lines) target->Add(line);
    target->EndUpdate();
    return true;
}

bool GetScriptControlLines(int id, std::vector<std::string>& lines) {
    const TStrings* source = LinesOf(id);
    if (source == nullptr) return false;
    lines.clear();
    for (int k = 0; k < source->GetCount(); ++k) lines.push_back(source->GetStrings(k));
    return true;
}

void SetScriptControlInt(int id, int value) {
    if (TListBox* list = Registered<TListBox>(id)) list->SetItemIndex(value);
    if (TComboBox* combo = Registered<TComboBox>(id)) combo->SetItemIndex(value);
}

int GetScriptControlInt(int id) {
    if (TListBox* list = Registered<TListBox>(id)) return list->GetItemIndex();
    if (TComboBox* combo = Registered<TComboBox>(id)) return combo->GetItemIndex();
    return 0;
}

int ShowScriptDialog(int id) {
    TForm* form = FindScriptDialog(id);
    if (form == nullptr || form->GetVisible() || form->IsModal()) return -1;
    try {
        return form->ShowModal();
    } catch (const std::exception&) {
        return -1;
    }
}

bool ReleaseScriptDialog(int id) {
    TForm* form = FindScriptDialog(id);
    if (form == nullptr || form->IsModal()) return false;
    TComponentInfos* registry = ComponentInfos();
    for (int i = 0; i < form->GetComponentCount(); ++i) registry->RemoveComponent(form->GetComponent(i));
    registry->RemoveComponent(form);
    delete form;
    return true;
}
