// TComponentInfos: the package-wide registry of script windows and controls by numeric id.
#pragma once

#include <cstdint>
#include <memory>

#include "Container.h"

class TComponent;
class TComponentWatcher;

// One registered window or control: its script id and the component (not owned).
class TComponentInfo : public TContainerItem {
public:
    TComponentInfo() = default;
    TComponentInfo(int id, TComponent* component) : id(id), component(component) {}

    int32_t id = 0;
    TComponent* component = nullptr;
};

// Several entries may carry one id (ids written in a dialog text are taken as
// written); lookups by id take the first. An entry goes when its component is
// destroyed, whoever destroys it, so no entry ever points at a destroyed
// component.
class TComponentInfos : public TContainer {
public:
    TComponentInfos();
    ~TComponentInfos() override;

    // Null outside 0..count-1; First, Mid and Last are null for an empty registry.
    TComponentInfo* operator[](int i) const;
    TComponentInfo* NewItem();
    TComponentInfo* First() const { return (*this)[0]; }
    TComponentInfo* Mid() const { return (*this)[GetCount() / 2]; }
    TComponentInfo* Last() const { return (*this)[GetCount() - 1]; }
    // Registers info's component under info's id (as AddComponent).
    TComponentInfos& operator+=(const TComponentInfo& info);

    // The smallest id >= 0 that no entry uses.
    int GetFreeID() const;
    // Appends an entry with GetFreeID() (or the given id, duplicates allowed),
    // sets the component's Tag to it and returns it; a null component gives -1
    // and adds nothing.
    int AddComponent(TComponent* component);
    int AddComponent(TComponent* component, int id);
    // The component of the first entry with that id, or null.
    TComponent* GetComponent(int id) const;
    // Position of the first entry holding the component, or -1.
    int GetComponentIndex(const TComponent* component) const;
    // Removes every entry holding the component; the component itself stays.
    void RemoveComponent(const TComponent* component);

    void* CreateItem(int index) override;
    void FreeItem(void* item) override;

private:
    std::unique_ptr<TComponentWatcher> watcher;
};

// The registry; null outside the package's life.
TComponentInfos* ComponentInfos();
// Makes the registry once; the second destroys it (the registered windows are
// left alone: the registry does not own them).
void CreateComponentInfos();
void DestroyComponentInfos();
