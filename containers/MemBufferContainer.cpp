// TMemBufferContainer: owned memory buffers, stored in their item forms.
#include "MemBufferContainer.h"

TMemBufferContainer::TMemBufferContainer() { TMemBufferContainer::Init(); }

TMemBufferContainer::~TMemBufferContainer() { DeleteAll(GetOwnsItems()); }

void TMemBufferContainer::Init() {
    SetObjectMode();
    fObjectItems = true;
    fAssignItems = true;
}

int TMemBufferContainer::Add(const TMemBuffer& buffer) { return TContainer::Add(static_cast<TContainerItem*>(new TMemBuffer(buffer))); }

void* TMemBufferContainer::CreateItem(int) { return static_cast<TContainerItem*>(new TMemBuffer); }

void TMemBufferContainer::FreeItem(void* item) { delete static_cast<TContainerItem*>(item); }
