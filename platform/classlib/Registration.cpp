// The class registry and the component palette's pages.
#include "Registration.h"

#include <algorithm>
#include <cctype>
#include <map>
#include <mutex>

#include "Component.h"
#include "Exceptions.h"

namespace {

std::string UpperCase(std::string text) {
    for (char& c : text) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return text;
}

struct TClassRegistry {
    std::mutex lock;
    std::map<std::string, TComponentClass> classes;  // by upper-case name
    std::vector<TPalettePage> pages;
};

TClassRegistry& Registry() {
    static TClassRegistry* registry = new TClassRegistry;
    return *registry;
}

void RegisterLocked(TClassRegistry& registry, const TComponentClass& componentClass) {
    if (!componentClass.info || !componentClass.factory) return;
    registry.classes[UpperCase(componentClass.info->name)] = componentClass;
}

TComponentClass Lookup(const std::string& name) {
    TClassRegistry& registry = Registry();
    std::lock_guard<std::mutex> guard(registry.lock);
    auto entry = registry.classes.find(UpperCase(name));
    if (entry == registry.classes.end()) return {nullptr, nullptr};
    return entry->second;
}

}  // namespace

void RegisterClass(const TComponentClass& componentClass) {
    TClassRegistry& registry = Registry();
    std::lock_guard<std::mutex> guard(registry.lock);
    RegisterLocked(registry, componentClass);
}

void UnRegisterClass(const TClassInfo* info) {
    if (!info) return;
    TClassRegistry& registry = Registry();
    std::lock_guard<std::mutex> guard(registry.lock);
    auto entry = registry.classes.find(UpperCase(info->name));
    if (entry != registry.classes.end() && entry->second.info == info) registry.classes.erase(entry);
}

const TClassInfo* GetClass(const std::string& name) { return Lookup(name).info; }

const TClassInfo* FindClass(const std::string& name) {
    const TClassInfo* info = GetClass(name);
    if (!info) throw EClassNotFound("Class " + name + " not found");
    return info;
}

TComponent* CreateComponent(const std::string& className, TComponent* owner) {
    TComponentClass componentClass = Lookup(className);
    if (!componentClass.factory) throw EClassNotFound("Class " + className + " not found");
    return componentClass.factory(owner);
}

void RegisterComponents(const std::string& page, std::initializer_list<TComponentClass> classes) {
    TClassRegistry& registry = Registry();
    std::lock_guard<std::mutex> guard(registry.lock);
    auto found = std::find_if(registry.pages.begin(), registry.pages.end(),
                              [&](const TPalettePage& candidate) { return candidate.name == page; });
    if (found == registry.pages.end()) found = registry.pages.insert(registry.pages.end(), TPalettePage{page, {}});
    for (const TComponentClass& componentClass : classes) {
        if (!componentClass.info || !componentClass.factory) continue;
        RegisterLocked(registry, componentClass);
        if (std::find(found->classes.begin(), found->classes.end(), componentClass.info) == found->classes.end())
            found->classes.push_back(componentClass.info);
    }
}

std::vector<TPalettePage> PalettePages() {
    TClassRegistry& registry = Registry();
    std::lock_guard<std::mutex> guard(registry.lock);
    return registry.pages;
}
