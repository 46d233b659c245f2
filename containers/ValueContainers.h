// Value containers: the typed template over TContainer's value mode and the
// int, double, point, rectangle and int-pair lists built on it.
#pragma once

#include <utility>

#include "Container.h"
#include "ContainerErrors.h"
#include "MemBuffer.h"
#include "Win32Types.h"

// Typed members over a container in value mode; T must be trivially copyable.
// First, Mid and Last throw TSDPPBadIndex on an empty container.
template <typename T>
class TValueContainer : public TContainer {
public:
    TValueContainer() { TValueContainer::Init(); }
    TValueContainer(const TValueContainer& source) : TContainer() {
        TValueContainer::Init();
        Assign(source);
    }
    TValueContainer& operator=(const TValueContainer& source) {
        Assign(source);
        return *this;
    }

    void Init() override { SetValueMode(static_cast<int>(sizeof(T))); }

    T& operator[](int i) const { return *static_cast<T*>(GetItem(i)); }
    T& First() const { return (*this)[0]; }
    T& Last() const { return (*this)[GetCount() - 1]; }
    T& Mid() const { return (*this)[GetCount() / 2]; }
    T* Array() const { return static_cast<T*>(GetItems()); }

    int Add(const T& value) { return TContainer::Add(const_cast<T*>(&value)); }
    int Add(const T* value) { return TContainer::Add(const_cast<T*>(value)); }
    template <typename... More>
    int Add(const T& value, const More&... more) {
        Add(value);
        return Add(more...);
    }
    TValueContainer& operator+=(const T& value) {
        Add(value);
        return *this;
    }
    TValueContainer& operator+=(const TValueContainer& other) {
        Concat(other);
        return *this;
    }
    void Insert(int i, const T& value) { TContainer::Insert(i, const_cast<T*>(&value)); }
    // Pairs inserted in order; each later position grows by the values inserted before it.
    template <typename... More>
    void Insert(int i, const T& value, int nextIndex, const More&... more) {
        Insert(i, value);
        InsertShifted(1, nextIndex, more...);
    }
    T* NewItem() { return static_cast<T*>(AddNew()); }
    int IndexOf(const T& value) const { return TContainer::IndexOf(&value); }
    void SetAll(const T& value) { TContainer::SetAll(&value); }
    // A new array of copies that the caller deletes with delete[]; an empty
    // container gives an array of no values.
    T* GetArray() const {
        T* copies = new T[static_cast<size_t>(GetCount())];
        for (int i = 0; i < GetCount(); ++i) copies[i] = (*this)[i];
        return copies;
    }
    int GetItemsIf(const T& value, int condition, TIntContainer& out) const {
        return TContainer::GetItemsIf(&value, condition, out);
    }
    int GetItemsIf(const T& value, int condition) const { return TContainer::GetItemsIf(&value, condition); }
    int RemoveIf(const T& value, int condition, TIntContainer& out) {
        return TContainer::RemoveIf(&value, condition, out);
    }
    int RemoveIf(const T& value, int condition) { return TContainer::RemoveIf(&value, condition); }

private:
    void InsertShifted(int) {}
    template <typename... More>
    void InsertShifted(int shift, int i, const T& value, const More&... more) {
        Insert(i + shift, value);
        InsertShifted(shift + 1, more...);
    }
};

// 32-bit integers, stored as i32, compared numerically.
class TIntContainer : public TValueContainer<int> {
public:
    using TValueContainer<int>::TValueContainer;
    int CompareItems(const void* a, const void* b) const override;
    void WriteItem(TMemBuffer& buffer, const void* item) const override;
    bool ReadItem(TMemBuffer& buffer, void* item) override;
};

// Doubles, stored as their IEEE bits, compared numerically.
class TDoubleContainer : public TValueContainer<double> {
public:
    using TValueContainer<double>::TValueContainer;
    int CompareItems(const void* a, const void* b) const override;
    void WriteItem(TMemBuffer& buffer, const void* item) const override;
    bool ReadItem(TMemBuffer& buffer, void* item) override;
};

// Points (x, y as i32), compared by x, then y.
class TPointContainer : public TValueContainer<POINT> {
public:
    using TValueContainer<POINT>::TValueContainer;
    // A new array of the points that the caller deletes with delete[]; with
    // closed true the first point is repeated at the end.
    POINT* GetPoints(bool closed = false) const;
    void MakeOffset(int dx, int dy);
    int CompareItems(const void* a, const void* b) const override;
    void WriteItem(TMemBuffer& buffer, const void* item) const override;
    bool ReadItem(TMemBuffer& buffer, void* item) override;
};

// Rectangles (left, top, right, bottom as i32), compared field by field in that order.
class TRectContainer : public TValueContainer<RECT> {
public:
    using TValueContainer<RECT>::TValueContainer;
    int CompareItems(const void* a, const void* b) const override;
    void WriteItem(TMemBuffer& buffer, const void* item) const override;
    bool ReadItem(TMemBuffer& buffer, void* item) override;
};

struct TIntPair {
    int first;
    int second;
};

// Pairs of integers (two i32), compared by first, then second.
class TIntPairContainer : public TValueContainer<TIntPair> {
public:
    using TValueContainer<TIntPair>::TValueContainer;
    int CompareItems(const void* a, const void* b) const override;
    void WriteItem(TMemBuffer& buffer, const void* item) const override;
    bool ReadItem(TMemBuffer& buffer, void* item) override;
};
