// TLangTable::SetText: translating a component tree through the components' tags.
#include "Langtable.h"

#include "Buttons.h"
#include "ComboBox.h"
#include "FileDialogs.h"
#include "Form.h"
#include "GroupControls.h"
#include "Label.h"
#include "ListBox.h"
#include "ListView.h"
#include "Menus.h"
#include "RALabel.h"
#include "TabControls.h"

namespace {

// One class the translator knows and what it sets from the table; tag is the
// component's Tag, the first of a run of ids for lists. A component of class
// `except` (or derived from it) does not match the row.
struct TTranslationRow {
    const TClassInfo* (*classInfo)();
    void (*translate)(const TLangTable& table, TComponent* component, int tag);
    const TClassInfo* (*except)();
};

void TranslateControlText(const TLangTable& table, TComponent* component, int tag) {
    auto* control = static_cast<TControl*>(component);
    control->SetText(table.GetAnyText(tag, control->GetText()));
}

void TranslateMenuItem(const TLangTable& table, TComponent* component, int tag) {
    auto* item = static_cast<TMenuItem*>(component);
    item->SetCaption(table.GetAnyText(tag, item->GetCaption()));
}

// Every string i becomes text(tag + i); an id without a text empties its string.
template <class Lookup>
void OverwriteStrings(TStrings* strings, int tag, Lookup lookup) {
    for (int i = 0; i < strings->GetCount(); ++i) strings->SetStrings(i, lookup(tag + i));
}

void TranslateListBox(const TLangTable& table, TComponent* component, int tag) {
    auto* list = static_cast<TCustomListBox*>(component);
    const int selected = list->GetItemIndex();
    OverwriteStrings(list->GetItems(), tag, [&](int id) { return table.GetAnyText(id, std::string()); });
    list->SetItemIndex(selected);
}

void TranslateComboBox(const TLangTable& table, TComponent* component, int tag) {
    auto* combo = static_cast<TCustomComboBox*>(component);
    const int selected = combo->GetItemIndex();
    OverwriteStrings(combo->GetItems(), tag, [&](int id) { return table.GetAnyText(id, std::string()); });
    combo->SetItemIndex(selected);
}

void TranslateRadioGroup(const TLangTable& table, TComponent* component, int tag) {
    auto* group = static_cast<TRadioGroup*>(component);
    const int selected = group->GetItemIndex();
    OverwriteStrings(group->GetItems(), tag, [&](int id) { return table.GetText(id, std::string()); });
    group->SetItemIndex(selected);
}

void TranslateTabControl(const TLangTable& table, TComponent* component, int tag) {
    auto* tabs = static_cast<TTabControl*>(component);
    OverwriteStrings(tabs->GetTabs(), tag, [&](int id) { return table.GetText(id, std::string()); });
}

void TranslatePageControl(const TLangTable& table, TComponent* component, int tag) {
    auto* pages = static_cast<TPageControl*>(component);
    for (int n = 0; n < pages->GetPageCount(); ++n) pages->GetPage(n)->SetText(table.GetText(tag + n, std::string()));
}

void TranslateListView(const TLangTable& table, TComponent* component, int tag) {
    auto* view = static_cast<TCustomListView*>(component);
    for (int n = 0; n < view->GetColumns()->GetCount(); ++n)
        view->GetColumnFromIndex(n)->SetCaption(table.GetText(tag + n, std::string()));
}

void TranslateFileDialog(const TLangTable& table, TComponent* component, int tag) {
    auto* dialog = static_cast<TOpenDialog*>(component);
    dialog->SetFilter(table.GetText(tag, std::string()));
    dialog->SetTitle(table.GetText(tag + 1, std::string()));
}

// ORDER TRANSLATION: rows are tried in this order and every matching row
// applies. A radio group is a group box here, but its Tag starts the ids of
// its items, so its caption is left alone.
const TTranslationRow kTranslationRows[] = {
    {&TForm::StaticClassInfo, &TranslateControlText, nullptr},
    {&TLabel::StaticClassInfo, &TranslateControlText, nullptr},
    {&TButton::StaticClassInfo, &TranslateControlText, nullptr},
    {&TCheckBox::StaticClassInfo, &TranslateControlText, nullptr},
    {&TRadioButton::StaticClassInfo, &TranslateControlText, nullptr},
    {&TTabSheet::StaticClassInfo, &TranslateControlText, nullptr},
    {&TGroupBox::StaticClassInfo, &TranslateControlText, &TRadioGroup::StaticClassInfo},
    {&TMenuItem::StaticClassInfo, &TranslateMenuItem, nullptr},
    {&TListBox::StaticClassInfo, &TranslateListBox, nullptr},
    {&TComboBox::StaticClassInfo, &TranslateComboBox, nullptr},
    {&TRadioGroup::StaticClassInfo, &TranslateRadioGroup, nullptr},
    {&TTabControl::StaticClassInfo, &TranslateTabControl, nullptr},
    {&TPageControl::StaticClassInfo, &TranslatePageControl, nullptr},
    {&TListView::StaticClassInfo, &TranslateListView, nullptr},
    // The save dialog derives from the open dialog and matches this row too.
    {&TOpenDialog::StaticClassInfo, &TranslateFileDialog, nullptr},
};

bool RowMatches(const TTranslationRow& row, const TComponent* component) {
    return component->InheritsFrom(row.classInfo()) && !(row.except && component->InheritsFrom(row.except()));
}

// The right-aligned label keeps its right edge: its old left and width decide
// where it goes, whether or not the label moved itself when it resized.
void TranslateRightAlignedLabel(const TLangTable& table, TRALabel* label, int tag) {
    const int oldLeft = label->GetLeft();
    const int oldWidth = label->GetWidth();
    label->SetText(table.GetAnyText(tag, label->GetText()));
    label->SetLeft(oldLeft + oldWidth - label->GetWidth());
}

}  // namespace

void TLangTable::SetText(TComponent* component) {
    if (!component) return;
    const int tag = static_cast<int>(component->GetTag());
    auto* label = dynamic_cast<TRALabel*>(component);
    if (label && tag != 0) {
        TranslateRightAlignedLabel(*this, label, tag);
        return;
    }
    if (tag != 0) {
        for (const TTranslationRow& row : kTranslationRows)
            if (RowMatches(row, component)) row.translate(*this, component, tag);
    }
    // Owned components are visited by index, 0 to count - 1; the count is read
    // afresh each time in case translating changed it.
    for (int index = 0; index < component->GetComponentCount(); ++index) SetText(component->GetComponent(index));
}
