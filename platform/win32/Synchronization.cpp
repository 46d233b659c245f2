// Mutex and event kernel objects.
#include "Synchronization.h"

#include <algorithm>
#include <vector>

#include "KernelObject.h"
#include "Threads.h"

namespace win32 {
namespace {

class MutexObject;

// The mutexes the current thread owns, so that they can be marked abandoned
// when the thread ends without releasing them.
struct OwnedMutexes {
    ~OwnedMutexes();
    std::vector<std::weak_ptr<MutexObject>> mutexes;
};

thread_local OwnedMutexes ownedMutexes;

class MutexObject : public KernelObject, public std::enable_shared_from_this<MutexObject> {
public:
    DWORD Wait(DWORD milliseconds) override {
        const DWORD me = GetCurrentThreadId();
        std::unique_lock<std::mutex> lock(mutex_);
        if (owner_ == me) {
            ++recursion_;
            return WAIT_OBJECT_0;
        }
        if (!WaitForCondition(released_, lock, milliseconds, [this] { return owner_ == 0; })) return WAIT_TIMEOUT;
        const DWORD result = abandoned_ ? WAIT_ABANDONED : WAIT_OBJECT_0;
        TakeLocked(me);
        return result;
    }

    void TakeInitialOwnership() {
        std::lock_guard<std::mutex> lock(mutex_);
        TakeLocked(GetCurrentThreadId());
    }

    bool Release() {
        std::lock_guard<std::mutex> lock(mutex_);
        if (owner_ == 0 || owner_ != GetCurrentThreadId()) return false;
        if (--recursion_ == 0) {
            owner_ = 0;
            released_.notify_one();
        }
        return true;
    }

    // Frees the mutex if `thread` still owns it; the next wait reports it abandoned.
    void Abandon(DWORD thread) {
        std::lock_guard<std::mutex> lock(mutex_);
        if (owner_ != thread) return;
        owner_ = 0;
        recursion_ = 0;
        abandoned_ = true;
        released_.notify_one();
    }

private:
    void TakeLocked(DWORD thread) {
        owner_ = thread;
        recursion_ = 1;
        abandoned_ = false;
        std::vector<std::weak_ptr<MutexObject>>& owned = ownedMutexes.mutexes;
        owned.erase(std::remove_if(owned.begin(), owned.end(),
                                   [](const std::weak_ptr<MutexObject>& entry) { return entry.expired(); }),
                    owned.end());
        owned.push_back(weak_from_this());
    }

    std::mutex mutex_;
    std::condition_variable released_;
    DWORD owner_ = 0;  // thread identifier; 0 when free
    DWORD recursion_ = 0;
    bool abandoned_ = false;
};

OwnedMutexes::~OwnedMutexes() {
    const DWORD me = GetCurrentThreadId();
    for (const std::weak_ptr<MutexObject>& entry : mutexes)
        if (std::shared_ptr<MutexObject> mutex = entry.lock()) mutex->Abandon(me);
}

class EventObject : public KernelObject {
public:
    EventObject(bool manualReset, bool signalled) : manualReset_(manualReset), signalled_(signalled) {}

    DWORD Wait(DWORD milliseconds) override {
        std::unique_lock<std::mutex> lock(mutex_);
        if (!WaitForCondition(changed_, lock, milliseconds, [this] { return signalled_; })) return WAIT_TIMEOUT;
        if (!manualReset_) signalled_ = false;
        return WAIT_OBJECT_0;
    }

    void Set() {
        std::lock_guard<std::mutex> lock(mutex_);
        signalled_ = true;
        changed_.notify_all();
    }

    void Reset() {
        std::lock_guard<std::mutex> lock(mutex_);
        signalled_ = false;
    }

private:
    std::mutex mutex_;
    std::condition_variable changed_;
    const bool manualReset_;
    bool signalled_;
};

}  // namespace
}  // namespace win32

HANDLE CreateMutexA(LPSECURITY_ATTRIBUTES, BOOL initialOwner, LPCSTR name) {
    // Owned before it is registered, so that no thread opening it by name can
    // take it first; when the name is in use this new mutex is dropped unused.
    auto mutex = std::make_shared<win32::MutexObject>();
    if (initialOwner) mutex->TakeInitialOwnership();
    return win32::AddNamedHandle(name, mutex);
}

BOOL ReleaseMutex(HANDLE mutex) {
    std::shared_ptr<win32::MutexObject> object = win32::FindHandleOf<win32::MutexObject>(mutex);
    if (!object) return FALSE;
    if (object->Release()) return TRUE;
    SetLastError(ERROR_NOT_OWNER);
    return FALSE;
}

HANDLE CreateEventA(LPSECURITY_ATTRIBUTES, BOOL manualReset, BOOL initialState, LPCSTR name) {
    return win32::AddNamedHandle(name, std::make_shared<win32::EventObject>(manualReset != FALSE,
                                                                            initialState != FALSE));
}

BOOL SetEvent(HANDLE event) {
    std::shared_ptr<win32::EventObject> object = win32::FindHandleOf<win32::EventObject>(event);
    if (!object) return FALSE;
    object->Set();
    return TRUE;
}

BOOL ResetEvent(HANDLE event) {
    std::shared_ptr<win32::EventObject> object = win32::FindHandleOf<win32::EventObject>(event);
    if (!object) return FALSE;
    object->Reset();
    return TRUE;
}
