// TComponentInfos: the package-wide registry of script windows and controls by numeric id.
#include "ComponentInfos.h"

#include "Component.h"

// Purges the registry of components as they are destroyed (free notification).
class TComponentWatcher : public TComponent {
public:
    explicit TComponentWatcher(TComponentInfos& infos) : TComponent(nullptr), infos(infos) {}
    void Notification(TComponent* component, TOperation operation) override {
        TComponent::Notification(component, operation);
        if (operation == opRemove) infos.RemoveComponent(component);
    }

private:
    TComponentInfos& infos;
};

TComponentInfos::TComponentInfos() : watcher(new TComponentWatcher(*this)) {}

TComponentInfos::~TComponentInfos() {
    for (int i = 0; i < GetCount(); ++i) watcher->RemoveFreeNotification((*this)[i]->component);
    DeleteAll(true);
}

TComponentInfo* TComponentInfos::operator[](int i) const {
    return i >= 0 && i < GetCount() ? static_cast<TComponentInfo*>(GetItem(i)) : nullptr;
}

TComponentInfo* TComponentInfos::NewItem() { return static_cast<TComponentInfo*>(AddNew()); }

TComponentInfos& TComponentInfos::operator+=(const TComponentInfo& info) {
    AddComponent(info.component, info.id);
    return *this;
}

int TComponentInfos::GetFreeID() const {
    for (int id = 0;; ++id) {
        bool used = false;
        for (int i = 0; i < GetCount() && !used; ++i) used = (*this)[i]->id == id;
        if (!used) return id;
    }
}

int TComponentInfos::AddComponent(TComponent* component) { return AddComponent(component, GetFreeID()); }

int TComponentInfos::AddComponent(TComponent* component, int id) {
    if (component == nullptr) return -1;
    Add(new TComponentInfo(id, component));
    component->SetTag(id);
    watcher->FreeNotification(component);
    return id;
}

TComponent* TComponentInfos::GetComponent(int id) const {
    for (int i = 0; i < GetCount(); ++i)
        if ((*this)[i]->id == id) return (*this)[i]->component;
    return nullptr;
}

int TComponentInfos::GetComponentIndex(const TComponent* component) const {
    for (int i = 0; i < GetCount(); ++i)
        if ((*this)[i]->component == component) return i;
    return -1;
}

void TComponentInfos::RemoveComponent(const TComponent* component) {
    bool removed = false;
    for (int i = GetCount() - 1; i >= 0; --i)
        if ((*this)[i]->component == component) {
            Delete(i, true);
            removed = true;
        }
    if (removed) watcher->RemoveFreeNotification(const_cast<TComponent*>(component));
}

void* TComponentInfos::CreateItem(int) { return new TComponentInfo; }
void TComponentInfos::FreeItem(void* item) { delete static_cast<TComponentInfo*>(item); }

namespace {
TComponentInfos* registry = nullptr;
}  // namespace

TComponentInfos* ComponentInfos() { return registry; }

void CreateComponentInfos() {
    if (registry == nullptr) registry = new TComponentInfos;
}

void DestroyComponentInfos() {
    delete registry;
    registry = nullptr;
}
