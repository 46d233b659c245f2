// TRecordItem: the container-item base of the viewer's records, which copy
// themselves whole through Assign.
#pragma once

#include "ContainerItem.h"

// T derives TRecordItem<T> and is copy-assignable. Assign copies another T
// whole and ignores items of other classes; Compatible says which those are.
template <typename T>
class TRecordItem : public TContainerItem {
public:
    void Assign(const TContainerItem& source) override {
        if (const T* record = dynamic_cast<const T*>(&source)) static_cast<T&>(*this) = *record;
    }
    bool Compatible(const TContainerItem& source) const override {
        return dynamic_cast<const T*>(&source) != nullptr;
    }
};
