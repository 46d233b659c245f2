// TMemBufferContainer: an object container of owned TMemBuffer items.
#pragma once

#include "Container.h"
#include "MemBuffer.h"

class TMemBufferContainer : public TContainer {
public:
    TMemBufferContainer();
    ~TMemBufferContainer() override;
    void Init() override;

    // Buffer i; throws TSDPPBadIndex outside 0..count-1.
    TMemBuffer& operator[](int i) const { return static_cast<TMemBuffer&>(*static_cast<TContainerItem*>(GetItem(i))); }
    // Appends an empty buffer and returns it.
    TMemBuffer& NewItem() { return static_cast<TMemBuffer&>(*static_cast<TContainerItem*>(AddNew())); }
    // Appends a copy of buffer.
    int Add(const TMemBuffer& buffer);

    void* CreateItem(int index) override;
    void FreeItem(void* item) override;
};
