// TVarPointContainer and TComplexContainer: value lists of VPOINT and VCOMPLEX.
#pragma once

#include "ValueContainers.h"
#include "Variables.h"

// A container of 16-byte values in value mode. Items compare by their first
// field, then their second, numerically; the storage form writes each item as
// two little-endian 8-byte fields. First, Mid and Last need a non-empty
// container (they throw TSDPPBadIndex otherwise); GetItem gives null outside
// 0..count-1. GetItemsIf and RemoveIf take the conditions of TItemCondition.
template <typename T>
class TVarValueContainer : public TValueContainer<T> {
public:
    using TValueContainer<T>::TValueContainer;

    T* GetItem(int i) const {
        return i >= 0 && i < this->GetCount() ? static_cast<T*>(TContainer::GetItem(i)) : nullptr;
    }
    int CompareItems(const void* a, const void* b) const override;
    void WriteItem(TMemBuffer& buffer, const void* item) const override;
    bool ReadItem(TMemBuffer& buffer, void* item) override;
};

class TVarPointContainer : public TVarValueContainer<VPOINT> {
public:
    using TVarValueContainer<VPOINT>::TVarValueContainer;
};

class TComplexContainer : public TVarValueContainer<VCOMPLEX> {
public:
    using TVarValueContainer<VCOMPLEX>::TVarValueContainer;
};

extern template class TVarValueContainer<VPOINT>;
extern template class TVarValueContainer<VCOMPLEX>;
