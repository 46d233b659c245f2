// The layer's kernel objects (threads, mutexes, events, pipe ends, file
// searches) and the process-wide table that maps their handles to them.
#pragma once

#include <chrono>
#include <condition_variable>
#include <memory>
#include <mutex>

#include "LastError.h"
#include "Synchronization.h"
#include "Win32Types.h"

namespace win32 {

// Base of every object a kernel handle names. An object lives while its handle
// is open or while a call is using it, so closing a handle while another thread
// waits on it is safe.
class KernelObject {
public:
    KernelObject() = default;
    KernelObject(const KernelObject&) = delete;
    KernelObject& operator=(const KernelObject&) = delete;
    virtual ~KernelObject();

    // Waits up to `milliseconds` (INFINITE: for ever) until the object is
    // signalled, acquiring it where that has a meaning (a mutex is then owned,
    // an auto-reset event reset). Returns a WAIT_ code; objects that cannot be
    // waited for return WAIT_FAILED with ERROR_INVALID_HANDLE.
    virtual DWORD Wait(DWORD milliseconds);
};

// Enters the object into the handle table and returns its new handle (never
// null or INVALID_HANDLE_VALUE); handle values are never reused.
HANDLE AddHandle(std::shared_ptr<KernelObject> object);

// The object behind a handle, or null with ERROR_INVALID_HANDLE.
std::shared_ptr<KernelObject> FindHandle(HANDLE handle);

// Removes a handle from the table; false with ERROR_INVALID_HANDLE when unknown.
bool RemoveHandle(HANDLE handle);

// Named objects share one namespace in the process. Returns the live object
// registered under `name`; when there is none, registers `created` under it
// and returns that. A null or empty name registers nothing and returns `created`.
std::shared_ptr<KernelObject> FindOrRegisterNamed(LPCSTR name, const std::shared_ptr<KernelObject>& created);

// The object behind a handle when it has type T; else null with ERROR_INVALID_HANDLE.
template <class T>
std::shared_ptr<T> FindHandleOf(HANDLE handle) {
    std::shared_ptr<T> object = std::dynamic_pointer_cast<T>(FindHandle(handle));
    if (!object) SetLastError(ERROR_INVALID_HANDLE);
    return object;
}

// A handle for a new object that may carry a name, as CreateMutexA and
// CreateEventA make it: when a live object of type T already has the name, the
// handle names that one and the last error is ERROR_ALREADY_EXISTS (otherwise
// ERROR_SUCCESS); a live object of another type gives null with ERROR_INVALID_HANDLE.
template <class T>
HANDLE AddNamedHandle(LPCSTR name, const std::shared_ptr<T>& created) {
    std::shared_ptr<KernelObject> found = FindOrRegisterNamed(name, created);
    if (found != created && !std::dynamic_pointer_cast<T>(found)) {
        SetLastError(ERROR_INVALID_HANDLE);
        return nullptr;
    }
    HANDLE handle = AddHandle(found);
    SetLastError(found == created ? ERROR_SUCCESS : ERROR_ALREADY_EXISTS);
    return handle;
}

// Waits on `changed` until `ready()` holds or `milliseconds` pass (INFINITE:
// for ever); true when `ready()` holds.
template <class Predicate>
bool WaitForCondition(std::condition_variable& changed, std::unique_lock<std::mutex>& lock, DWORD milliseconds,
                      Predicate ready) {
    if (milliseconds == INFINITE) {
        changed.wait(lock, ready);
        return true;
    }
    return changed.wait_for(lock, std::chrono::milliseconds(milliseconds), ready);
}

}  // namespace win32
