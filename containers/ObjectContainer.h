// TObjectContainer: typed members over a container of owned TContainerItem objects.
#pragma once

#include "Container.h"

// T derives TContainerItem and is default-constructible. Element access throws
// TSDPPBadIndex outside 0..count-1 (First, Mid and Last on an empty container too).
template <typename T>
class TObjectContainer : public TContainer {
public:
    TObjectContainer() { TObjectContainer::Init(); }
    TObjectContainer(const TObjectContainer& source) : TContainer() {
        TObjectContainer::Init();
        Assign(source);
    }
    TObjectContainer& operator=(const TObjectContainer& source) {
        Assign(source);
        return *this;
    }
    ~TObjectContainer() override { DeleteAll(GetOwnsItems()); }

    void Init() override {
        SetObjectMode();
        fObjectItems = true;
        fAssignItems = true;
    }

    T& operator[](int i) const { return *static_cast<T*>(static_cast<TContainerItem*>(GetItem(i))); }
    // Items are handed out as references, so a stored null item is damage.
    bool AcceptsNullItems() const override { return false; }
    T& First() const { return (*this)[0]; }
    T& Mid() const { return (*this)[GetCount() / 2]; }
    T& Last() const { return (*this)[GetCount() - 1]; }
    // Appends a new item and returns it.
    T* NewItem() { return static_cast<T*>(static_cast<TContainerItem*>(AddNew())); }
    // Takes the item over.
    int Add(T* item) {
        if (item != nullptr) item->SetOwner(this);
        return TContainer::Add(static_cast<TContainerItem*>(item));
    }
    // Appends a copy.
    TObjectContainer& operator+=(const T& item) {
        T* copy = new T;
        copy->Assign(item);
        Add(copy);
        return *this;
    }

    void* CreateItem(int) override {
        T* item = new T;
        item->SetOwner(this);
        return static_cast<TContainerItem*>(item);
    }
    void FreeItem(void* item) override { delete static_cast<TContainerItem*>(item); }
};
