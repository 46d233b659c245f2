// The class registry (a factory per class, for making components by class
// name) and the component palette's pages, kept as data.
#pragma once

#include <initializer_list>
#include <string>
#include <vector>

#include "Object.h"

class TComponent;

// Makes a component of one class with the given owner.
using TComponentFactory = TComponent* (*)(TComponent* owner);

// A registrable class: its run-time facts and its factory.
struct TComponentClass {
    const TClassInfo* info;
    TComponentFactory factory;
};

template <class T>
TComponentClass ComponentClass() {
    return {T::StaticClassInfo(), [](TComponent* owner) -> TComponent* { return new T(owner); }};
}

// Registers a class by its name (compared without case). Registering a name
// again replaces the earlier entry. A null class or factory is ignored.
void RegisterClass(const TComponentClass& componentClass);
template <class T>
void RegisterClass() {
    RegisterClass(ComponentClass<T>());
}
void UnRegisterClass(const TClassInfo* info);

// The registered class of that name; null (GetClass) or EClassNotFound
// ("Class TFoo not found", FindClass) when none.
const TClassInfo* GetClass(const std::string& name);
const TClassInfo* FindClass(const std::string& name);
// A new component of the registered class name; EClassNotFound when none.
TComponent* CreateComponent(const std::string& className, TComponent* owner);

// One page of the component palette and its classes in registration order.
struct TPalettePage {
    std::string name;
    std::vector<const TClassInfo*> classes;
};

// Registers the classes and lists them on the palette page (made on first
// use; pages keep the order of first registration, a class appears once per page).
void RegisterComponents(const std::string& page, std::initializer_list<TComponentClass> classes);
// A copy of the palette's pages.
std::vector<TPalettePage> PalettePages();
