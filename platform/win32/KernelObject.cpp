// The handle table of kernel objects, the named-object namespace, and the two
// calls that work on every kernel handle: WaitForSingleObject and CloseHandle.
#include "KernelObject.h"

#include <string>
#include <unordered_map>

namespace win32 {
namespace {

class HandleTable {
public:
    static HandleTable& Instance() {
        static HandleTable* table = new HandleTable;  // outlives static destructors
        return *table;
    }

    HANDLE Add(std::shared_ptr<KernelObject> object) {
        std::lock_guard<std::mutex> lock(mutex_);
        // Small multiples of four, like the original platform's handles; they
        // never collide with heap addresses, which global memory handles are.
        nextValue_ += 4;
        objects_[nextValue_] = std::move(object);
        return reinterpret_cast<HANDLE>(nextValue_);
    }

    std::shared_ptr<KernelObject> Find(HANDLE handle) {
        std::lock_guard<std::mutex> lock(mutex_);
        auto found = objects_.find(reinterpret_cast<uintptr_t>(handle));
        return found == objects_.end() ? nullptr : found->second;
    }

    // The removed object is handed back so that it is destroyed outside the lock.
    std::shared_ptr<KernelObject> Remove(HANDLE handle) {
        std::lock_guard<std::mutex> lock(mutex_);
        auto found = objects_.find(reinterpret_cast<uintptr_t>(handle));
        if (found == objects_.end()) return nullptr;
        std::shared_ptr<KernelObject> object = std::move(found->second);
        objects_.erase(found);
        return object;
    }

    std::shared_ptr<KernelObject> FindOrRegisterNamed(const std::string& name,
                                                      const std::shared_ptr<KernelObject>& created) {
        std::lock_guard<std::mutex> lock(mutex_);
        std::weak_ptr<KernelObject>& entry = names_[name];
        if (std::shared_ptr<KernelObject> existing = entry.lock()) return existing;
        entry = created;
        ForgetDeadNamesLocked();
        return created;
    }

private:
    void ForgetDeadNamesLocked() {
        for (auto entry = names_.begin(); entry != names_.end();)
            entry = entry->second.expired() ? names_.erase(entry) : std::next(entry);
    }

    std::mutex mutex_;
    uintptr_t nextValue_ = 0x100;
    std::unordered_map<uintptr_t, std::shared_ptr<KernelObject>> objects_;
    std::unordered_map<std::string, std::weak_ptr<KernelObject>> names_;
};

}  // namespace

KernelObject::~KernelObject() = default;

DWORD KernelObject::Wait(DWORD) {
    SetLastError(ERROR_INVALID_HANDLE);
    return WAIT_FAILED;
}

HANDLE AddHandle(std::shared_ptr<KernelObject> object) { return HandleTable::Instance().Add(std::move(object)); }

std::shared_ptr<KernelObject> FindHandle(HANDLE handle) {
    std::shared_ptr<KernelObject> object = HandleTable::Instance().Find(handle);
    if (!object) SetLastError(ERROR_INVALID_HANDLE);
    return object;
}

bool RemoveHandle(HANDLE handle) {
    if (HandleTable::Instance().Remove(handle)) return true;
    SetLastError(ERROR_INVALID_HANDLE);
    return false;
}

std::shared_ptr<KernelObject> FindOrRegisterNamed(LPCSTR name, const std::shared_ptr<KernelObject>& created) {
    if (!name || !*name) return created;
    return HandleTable::Instance().FindOrRegisterNamed(name, created);
}

}  // namespace win32

DWORD WaitForSingleObject(HANDLE handle, DWORD milliseconds) {
    std::shared_ptr<win32::KernelObject> object = win32::FindHandle(handle);
    if (!object) return WAIT_FAILED;
    return object->Wait(milliseconds);
}

BOOL CloseHandle(HANDLE handle) { return win32::RemoveHandle(handle) ? TRUE : FALSE; }
