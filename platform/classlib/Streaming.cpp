// The form reader (texts and "FORM" resources into components) and writer.
#include "Streaming.h"

#include <algorithm>
#include <vector>

#include "Component.h"
#include "Control.h"
#include "Exceptions.h"
#include "FormText.h"
#include "Module.h"
#include "PropertyTable.h"
#include "Registration.h"
#include "WinControl.h"

namespace {

[[noreturn]] void FailAt(int line, const std::string& what) {
    throw EReadError("Form text line " + std::to_string(line) + ": " + what);
}

bool ClassChainHas(const TObject* object, const std::string& className) {
    for (const TClassInfo* info = object->ClassInfo(); info; info = info->base)
        if (SameIdentifier(info->name, className)) return true;
    return false;
}

// Whether a component of root makes the named one as its own part.
bool MadeAsPart(const TComponent* root, const std::string& name, const TClassInfo* info) {
    for (int i = 0; i < root->GetComponentCount(); ++i)
        if (root->GetComponent(i)->MakesPart(name, info)) return true;
    return false;
}

bool OwnedBy(const TComponent* owner, const TComponent* component) {
    for (int i = 0; i < owner->GetComponentCount(); ++i)
        if (owner->GetComponent(i) == component) return true;
    return false;
}

// One loading session: the root and every component it made stay csLoading
// until all texts are read, then get Loaded in the order they were met.
class TComponentReader {
public:
    explicit TComponentReader(TComponent* root) : root_(root) {
        root_->SetLoading();
        loading_.push_back(root_);
    }

    // Only the most derived class's text names the root: the name in a base
    // class's text is that form's own, which a sibling form of the same owner
    // may hold already.
    void ReadRoot(const TFormObject& object, bool namesRoot) {
        if (!ClassChainHas(root_, object.className))
            FailAt(object.line, "class " + object.className + " does not match " + root_->ClassName());
        if (namesRoot && !object.name.empty() && !SameIdentifier(object.name, root_->GetName()))
            Guarded(object.line, [&] { root_->SetName(object.name); });
        ReadProperties(root_, object);
        ReadChildren(object, dynamic_cast<TWinControl*>(root_));
    }

    // A text written before its parts were left out may hold a part ahead
    // of the component that makes it; such parts, and what they hold, go
    // before anything is Loaded.
    void DropParts() {
        while (true) {
            const auto part = std::find_if(loading_.begin() + 1, loading_.end(), [this](TComponent* component) {
                return MadeAsPart(root_, component->GetName(), component->ClassInfo());
            });
            if (part == loading_.end()) return;
            delete *part;
            // The controls it held went with it.
            loading_.erase(std::remove_if(loading_.begin() + 1, loading_.end(),
                                          [this](TComponent* component) { return !OwnedBy(root_, component); }),
                           loading_.end());
        }
    }

    // Loaded for every component met; after a failure errors of Loaded are
    // dropped so the first error is the one reported.
    void Finish(bool failed) {
        for (TComponent* component : loading_) {
            if (!failed) {
                component->Loaded();
                continue;
            }
            try {
                component->Loaded();
            } catch (...) {
            }
        }
        loading_.clear();
    }

private:
    // Runs an action that may throw; anything but the reader's own errors
    // becomes an EReadError naming the line.
    template <class Action>
    void Guarded(int line, Action action) {
        try {
            action();
        } catch (const EReadError&) {
            throw;
        } catch (const EClassNotFound&) {
            throw;
        } catch (const std::exception& error) {
            FailAt(line, error.what());
        }
    }

    void ReadChildren(const TFormObject& object, TWinControl* parent) {
        for (const TFormObject& child : object.children) ReadChild(child, parent);
    }

    void ReadChild(const TFormObject& object, TWinControl* parent) {
        // A part another component made already, stored by an older text.
        if (!object.inherited && MadeAsPart(root_, object.name, GetClass(object.className))) return;
        TComponent* component = root_->FindComponent(object.name);
        if (object.inherited) {
            if (!component) FailAt(object.line, "inherited object " + object.name + " not found");
            if (!ClassChainHas(component, object.className))
                FailAt(object.line, "object " + object.name + " is not a " + object.className);
        } else {
            if (component) FailAt(object.line, "a component named " + object.name + " already exists");
            component = MakeComponent(object, parent);
        }
        ReadProperties(component, object);
        ReadChildren(object, dynamic_cast<TWinControl*>(component));
    }

    TComponent* MakeComponent(const TFormObject& object, TWinControl* parent) {
        if (!GetClass(object.className))
            throw EClassNotFound("Form text line " + std::to_string(object.line) + ": class " + object.className +
                                 " not found");
        TComponent* component = CreateComponent(object.className, root_);
        component->SetLoading();
        loading_.push_back(component);
        Guarded(object.line, [&] { component->SetName(object.name); });
        if (auto* control = dynamic_cast<TControl*>(component)) {
            if (!parent) FailAt(object.line, "control " + object.name + " has no windowed control to hold it");
            Guarded(object.line, [&] { control->SetParent(parent); });
        }
        return component;
    }

    void ReadProperties(TComponent* component, const TFormObject& object) {
        for (const TFormProperty& property : object.properties)
            Guarded(property.line, [&] { ReadProperty(component, property); });
    }

    void ReadProperty(TComponent* component, const TFormProperty& property) {
        TPropertyTarget target = FindPropertyPath(component, property.name);
        if (!target.row)
            FailAt(property.line, "property " + property.name + " of " + component->ClassName() + " does not exist");
        switch (target.row->type) {
        case TPropertyType::Event: {
            if (property.kind != TFormValueKind::Identifier)
                FailAt(property.line, "handler name expected for " + property.name);
            std::any handler = root_->FindHandler(property.value);
            if (!handler.has_value())
                FailAt(property.line, "handler " + property.value + " for " + property.name + " not found");
            SetPropertyEvent(component, property.name, handler, property.value);
            break;
        }
        case TPropertyType::String:
            if (property.kind != TFormValueKind::String)
                FailAt(property.line, "string expected for " + property.name);
            SetPropertyText(component, property.name, property.value);
            break;
        case TPropertyType::Object:
            FailAt(property.line, "property " + property.name + " holds an object and takes no value");
        default:
            if (property.kind == TFormValueKind::String)
                FailAt(property.line, "string given for " + property.name);
            SetPropertyText(component, property.name, property.value);
        }
    }

    TComponent* root_;
    std::vector<TComponent*> loading_;
};

void ReadTexts(TComponent* root, const std::vector<std::string>& texts) {
    if (!root) throw EReadError("No component to read into");
    std::vector<TFormObject> objects;
    for (const std::string& text : texts) objects.push_back(ParseFormText(text));
    TComponentReader reader(root);
    try {
        for (size_t i = 0; i < objects.size(); ++i) reader.ReadRoot(objects[i], i + 1 == objects.size());
        reader.DropParts();
    } catch (...) {
        reader.Finish(true);
        throw;
    }
    reader.Finish(false);
}

// The FORM resource named after a class, searched in every loaded module.
bool FindFormResource(const TClassInfo* info, std::string& text) {
    HRSRC resource = FindResourceA(nullptr, info->name, "FORM");
    if (!resource) return false;
    HGLOBAL data = LoadResource(nullptr, resource);
    auto* bytes = static_cast<const char*>(LockResource(data));
    DWORD size = SizeofResource(nullptr, resource);
    if (!bytes && size) return false;
    text.assign(bytes ? bytes : "", size);
    return true;
}

// Writer.

std::string QuoteString(const std::string& value) {
    std::string out;
    bool quoted = false;
    for (char c : value) {
        auto code = static_cast<unsigned char>(c);
        if (code < 32) {
            if (quoted) out += '\'';
            quoted = false;
            out += '#' + std::to_string(code);
            continue;
        }
        if (!quoted) out += '\'';
        quoted = true;
        out += c;
        if (c == '\'') out += '\'';
    }
    if (quoted) out += '\'';
    return out.empty() ? "''" : out;
}

void WriteProperties(std::string& out, TPersistent* object, const std::string& prefix, const std::string& indent) {
    for (const TPropertyInfo* row : PublishedProperties(object)) {
        if (prefix.empty() && SameIdentifier(row->name, "Name")) continue;
        if (row->stored && !row->stored(object)) continue;
        if (row->type == TPropertyType::Event) {
            std::string handler = GetPropertyEventName(object, row->name);
            if (!handler.empty()) out += indent + prefix + row->name + " = " + handler + "\n";
            continue;
        }
        if (row->type == TPropertyType::Object) {
            if (TPersistent* inner = row->getObject(object))
                WriteProperties(out, inner, prefix + row->name + ".", indent);
            continue;
        }
        if (IsPropertyDefault(object, row->name)) continue;
        std::string value = GetPropertyText(object, row->name);
        if (row->type == TPropertyType::String) value = QuoteString(value);
        out += indent + prefix + row->name + " = " + value + "\n";
    }
}

// Named components are written, unless another component makes them.
bool IsWritten(const TComponent* root, const TComponent* component) {
    return !component->GetName().empty() && !MadeAsPart(root, component->GetName(), component->ClassInfo());
}

void WriteObject(std::string& out, TComponent* root, TComponent* component, const std::string& indent) {
    out += indent + "object " + component->GetName() + ": " + component->ClassName() + "\n";
    std::string inner = indent + "  ";
    WriteProperties(out, component, "", inner);
    if (auto* container = dynamic_cast<TWinControl*>(component))
        for (int i = 0; i < container->GetControlCount(); ++i) {
            TControl* control = container->GetControl(i);
            if (control->GetOwner() == root && IsWritten(root, control)) WriteObject(out, root, control, inner);
        }
    if (component == root)
        for (int i = 0; i < root->GetComponentCount(); ++i) {
            TComponent* owned = root->GetComponent(i);
            auto* control = dynamic_cast<TControl*>(owned);
            if (IsWritten(root, owned) && !(control && control->GetParent())) WriteObject(out, root, owned, inner);
        }
    out += indent + "end\n";
}

}  // namespace

bool InitInheritedComponent(TComponent* instance, const TClassInfo* stopAt) {
    if (!instance) return false;
    std::vector<const TClassInfo*> chain;
    for (const TClassInfo* info = instance->ClassInfo(); info && info != stopAt; info = info->base)
        chain.push_back(info);
    std::vector<std::string> texts;
    for (auto info = chain.rbegin(); info != chain.rend(); ++info) {
        std::string text;
        if (FindFormResource(*info, text)) texts.push_back(std::move(text));
    }
    if (texts.empty()) return false;
    ReadTexts(instance, texts);
    return true;
}

void ReadComponentText(TComponent* root, const std::string& text) { ReadTexts(root, {text}); }

std::string WriteComponentText(TComponent* root) {
    std::string out;
    if (root) WriteObject(out, root, root, "");
    return out;
}
