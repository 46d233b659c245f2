// The table of C streams opened by the file functions: ids, lookups and closing.
#include "OpenFiles.h"

#include <vector>

TCFileInfoList* OpenFiles = nullptr;

namespace {
constexpr int kIdCount = 65536;
}

TCFileInfo::~TCFileInfo() {
    if (file != nullptr) std::fclose(file);
}

TCFileInfoList::TCFileInfoList() { TCFileInfoList::Init(); }

TCFileInfoList::~TCFileInfoList() { DeleteAll(GetOwnsItems()); }

void TCFileInfoList::Init() { SetObjectMode(); }

void TCFileInfoList::FreeItem(void* item) { delete static_cast<TContainerItem*>(item); }

TCFileInfo* TCFileInfoList::operator[](int i) const {
    if (i < 0 || i >= GetCount()) return nullptr;
    return static_cast<TCFileInfo*>(static_cast<TContainerItem*>(GetItem(i)));
}

int TCFileInfoList::AddFile(TCFileInfo* info) { return Add(static_cast<TContainerItem*>(info)); }

int TCFileInfoList::GetFreeID() const {
    std::vector<bool> taken(kIdCount, false);
    for (int i = 0; i < GetCount(); ++i) {
        const int id = (*this)[i]->id;
        if (id >= 0 && id < kIdCount) taken[static_cast<size_t>(id)] = true;
    }
    for (int id = 0; id < kIdCount; ++id)
        if (!taken[static_cast<size_t>(id)]) return id;
    return kIdCount;
}

int TCFileInfoList::GetFile(int id) const {
    for (int i = 0; i < GetCount(); ++i)
        if ((*this)[i]->id == id) return i;
    return -1;
}

void CreateOpenFiles() {
    if (OpenFiles == nullptr) OpenFiles = new TCFileInfoList;
}

void DestroyOpenFiles() {
    delete OpenFiles;
    OpenFiles = nullptr;
}
