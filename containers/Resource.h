// TResourceBase and TMemResource: named entries of bytes, and the archive that
// holds them in memory with its packed storage form.
#pragma once

#include "Container.h"
#include "MemBuffer.h"
#include "String.h"

// A source of named byte entries.
class TResourceBase {
public:
    virtual ~TResourceBase();
    // Replaces buffer's content with the entry's unpacked bytes (read position
    // 0); false, and the buffer left unchanged, when there is no such entry.
    virtual bool GetBuffer(const TString& name, TMemBuffer& buffer) = 0;
    virtual bool HasEntry(const TString& name) const = 0;
};

// One archive entry: its name, bytes and whether they are stored packed.
class TMemResourceEntry : public TContainerItem {
public:
    TString Name;
    TMemBuffer Data;

    void Assign(const TContainerItem& source) override;
    // Name (TString form), the marks 01 00, then the bytes in TMemBuffer's item form.
    void WriteToMemBuffer(TMemBuffer& buffer) const override;
    bool ReadFromMemBuffer(TMemBuffer& buffer) override;
};

// Entries are matched by their exact bytes. Storage form: the container form
// (header word 16, object items) with item marks 01 02 and each entry as above.
class TMemResource : public TResourceBase, public TContainer {
public:
    TMemResource();
    ~TMemResource() override;
    void Init() override;

    // Adds an entry, replacing one of the same name; pack chooses zlib storage.
    void AddBuffer(const TString& name, const TMemBuffer& data, bool pack = true);
    bool GetBuffer(const TString& name, TMemBuffer& buffer) override;
    bool HasEntry(const TString& name) const override;
    // Entry i, or null outside 0..count-1.
    TMemResourceEntry* GetEntry(int i) const;
    int IndexOfName(const TString& name) const;

    void* CreateItem(int index) override;
    uint8_t GetItemMark() const override { return 2; }
};
