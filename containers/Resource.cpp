// TResourceBase and TMemResource: named entries of an archive held in memory.
#include "Resource.h"

TResourceBase::~TResourceBase() = default;

void TMemResourceEntry::Assign(const TContainerItem& source) {
    if (const TMemResourceEntry* entry = dynamic_cast<const TMemResourceEntry*>(&source)) {
        Name = entry->Name;
        Data = entry->Data;
    }
}

void TMemResourceEntry::WriteToMemBuffer(TMemBuffer& buffer) const {
    Name.WriteToMemBuffer(buffer);
    buffer.AddByte(1);
    buffer.AddByte(0);
    Data.WriteToMemBuffer(buffer);
}

bool TMemResourceEntry::ReadFromMemBuffer(TMemBuffer& buffer) {
    uint8_t marks[2] = {0, 0};
    return Name.ReadFromMemBuffer(buffer) && buffer.Read(marks, 2) && marks[0] == 1 && marks[1] == 0 &&
           Data.ReadFromMemBuffer(buffer);
}

TMemResource::TMemResource() { TMemResource::Init(); }

TMemResource::~TMemResource() { DeleteAll(GetOwnsItems()); }

void TMemResource::Init() {
    SetObjectMode();
    fObjectItems = true;
    fAssignItems = true;
    SetIncrement(16);
}

void TMemResource::AddBuffer(const TString& name, const TMemBuffer& data, bool pack) {
    TMemResourceEntry* entry = new TMemResourceEntry;
    entry->Name = name;
    entry->Data = data;
    entry->Data.SetPacked(pack);
    entry->Data.SeekRead(0);
    const int existing = IndexOfName(name);
    if (existing >= 0) Delete(existing, true);
    Insert(existing >= 0 ? existing : GetCount(), entry);
}

int TMemResource::IndexOfName(const TString& name) const {
    for (int i = 0; i < GetCount(); ++i) {
        const TMemResourceEntry* entry = GetEntry(i);
        if (entry != nullptr && entry->Name == name) return i;
    }
    return -1;
}

TMemResourceEntry* TMemResource::GetEntry(int i) const {
    if (i < 0 || i >= GetCount()) return nullptr;
    return static_cast<TMemResourceEntry*>(GetItem(i));
}

bool TMemResource::GetBuffer(const TString& name, TMemBuffer& buffer) {
    const int i = IndexOfName(name);
    if (i < 0) return false;
    const bool packed = buffer.GetPacked();
    buffer = GetEntry(i)->Data;
    buffer.SetPacked(packed);
    buffer.SeekRead(0);
    return true;
}

bool TMemResource::HasEntry(const TString& name) const { return IndexOfName(name) >= 0; }

void* TMemResource::CreateItem(int) { return new TMemResourceEntry; }
