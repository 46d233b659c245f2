// TCFileInfo and TCFileInfoList: the table of C streams opened by the file functions, and the process-wide OpenFiles.
#pragma once

#include <cstdio>
#include <mutex>

#include "Container.h"
#include "String.h"

class TCFileInfo : public TContainerItem {
public:
    TCFileInfo() = default;
    TCFileInfo(const TCFileInfo&) = delete;
    TCFileInfo& operator=(const TCFileInfo&) = delete;
    // Closes the stream when there is one.
    ~TCFileInfo() override;

    TString name;
    int kind = 0;
    int mode = 0;
    FILE* file = nullptr;
    int id = 0;  // 0..65535
};

// Owns its entries. The file built-ins may run on several threads at once:
// they hold Hold() for the whole of each call.
class TCFileInfoList : public TContainer {
public:
    TCFileInfoList();
    ~TCFileInfoList() override;
    void Init() override;
    void FreeItem(void* item) override;

    // Entry at position i; null outside 0..count-1.
    TCFileInfo* operator[](int i) const;
    // Appends an entry and takes it over; returns its position.
    int AddFile(TCFileInfo* info);
    // Smallest id 0..65535 that no entry carries; 65536 when all are taken.
    int GetFreeID() const;
    // Position of the entry with that id; -1 when none.
    int GetFile(int id) const;
    // The table's lock, held until the returned guard ends.
    std::unique_lock<std::mutex> Hold() const { return std::unique_lock<std::mutex>(lock); }

private:
    mutable std::mutex lock;
};

// Alive from library load to unload.
extern TCFileInfoList* OpenFiles;
void CreateOpenFiles();
void DestroyOpenFiles();
