// The package's shared objects: its language table and the shared dialog
// forms, held by one owner component for the life of the library.
#include "TextEditorPackage.h"

#include <memory>

#include "Component.h"
#include "Form.h"
#include "Langtable.h"
#include "TextEditorTexts.h"

namespace {

// Owns the shared forms (as their owner component) and the language table;
// a form freed elsewhere leaves its slot empty.
class TTextEditorPackage : public TComponent {
public:
    TTextEditorPackage() : TComponent(nullptr) {}
    ~TTextEditorPackage() override { Destroying(); }

    void Notification(TComponent* component, TOperation operation) override {
        TComponent::Notification(component, operation);
        if (operation != opRemove) return;
        for (TForm*& form : forms)
            if (form == component) form = nullptr;
    }

    // True when a form still has its window.
    bool HoldsWindows() const {
        for (const TForm* form : forms)
            if (form != nullptr && form->HandleAllocated()) return true;
        return false;
    }

    TForm* forms[kTextEditorSharedFormCount] = {};
    std::unique_ptr<TLangTable> langTable;
};

TTextEditorPackage* package = nullptr;
TTextEditorFormFactory factories[kTextEditorSharedFormCount] = {};

int IndexOf(TTextEditorSharedForm slot) {
    const int index = static_cast<int>(slot);
    return index >= 0 && index < kTextEditorSharedFormCount ? index : -1;
}

}  // namespace

void CreateTextEditorPackage() {
    if (package == nullptr) package = new TTextEditorPackage;
}

void FreeTextEditorPackage() {
    if (package == nullptr || package->HoldsWindows()) return;
    if (GetTextEditorLangTable() == package->langTable.get()) SetTextEditorLangTable(nullptr);
    delete package;
    package = nullptr;
}

TLangTable* TextEditorPackageLangTable() {
    if (package == nullptr) return nullptr;
    if (!package->langTable) {
        package->langTable = std::make_unique<TLangTable>();
        package->langTable->InitFromResource(RedaktResourceModule(), "texteditor_translations");
    }
    return package->langTable.get();
}

TTextEditorFormFactory RegisterTextEditorForm(TTextEditorSharedForm slot, TTextEditorFormFactory factory) {
    const int index = IndexOf(slot);
    if (index < 0) return nullptr;
    const TTextEditorFormFactory previous = factories[index];
    factories[index] = factory;
    if (package != nullptr) delete package->forms[index];  // its Notification empties the slot
    return previous;
}

void CreateTextEditorSharedForms() {
    if (package == nullptr) return;
    for (int index = 0; index < kTextEditorSharedFormCount; ++index)
        if (package->forms[index] == nullptr && factories[index] != nullptr)
            package->forms[index] = factories[index](package);
}

TForm* GetTextEditorSharedForm(TTextEditorSharedForm slot) {
    const int index = IndexOf(slot);
    return package != nullptr && index >= 0 ? package->forms[index] : nullptr;
}
