// Waiting for kernel objects, closing their handles, and the mutex and event
// objects threads synchronise with.
#pragma once

#include "Win32Types.h"

#define INFINITE 0xFFFFFFFF
#define WAIT_OBJECT_0 0x00000000L
#define WAIT_ABANDONED 0x00000080L
#define WAIT_TIMEOUT 0x00000102L
#define WAIT_FAILED 0xFFFFFFFF

// Waits until the object is signalled or `milliseconds` pass (0 only tests,
// INFINITE waits for ever). A thread is signalled once it has ended; a mutex
// when no other thread owns it (the caller then owns it, recursively when it
// already did); an event when it is set (an auto-reset event is reset again by
// the wait that sees it). WAIT_OBJECT_0, WAIT_TIMEOUT, WAIT_ABANDONED (a mutex
// whose owning thread ended without releasing it; the caller now owns it), or
// WAIT_FAILED with ERROR_INVALID_HANDLE for a handle that cannot be waited for.
DWORD WaitForSingleObject(HANDLE handle, DWORD milliseconds);

// Closes any kernel handle. The object goes when its last user lets go: closing
// a running thread's handle does not stop the thread, and a wait already in
// progress on another thread continues. FALSE with ERROR_INVALID_HANDLE for an
// unknown or already closed handle.
BOOL CloseHandle(HANDLE handle);

// Creates a mutex, owned by the calling thread when `initialOwner` is set. A
// name already used by a live mutex opens that one (ERROR_ALREADY_EXISTS, and
// `initialOwner` is ignored); a name used by another kind of object gives null
// with ERROR_INVALID_HANDLE. Names are private to the process.
HANDLE CreateMutexA(LPSECURITY_ATTRIBUTES attributes, BOOL initialOwner, LPCSTR name);

// Gives up one level of the calling thread's ownership; the mutex is free for
// other threads once every wait that acquired it is matched. FALSE with
// ERROR_NOT_OWNER when the caller does not own it, ERROR_INVALID_HANDLE when
// the handle is no mutex.
BOOL ReleaseMutex(HANDLE mutex);

// Creates an event, manual-reset (stays set until ResetEvent) or auto-reset
// (a successful wait resets it, so a SetEvent releases one waiter), set at
// first when `initialState`. Names behave as with CreateMutexA.
HANDLE CreateEventA(LPSECURITY_ATTRIBUTES attributes, BOOL manualReset, BOOL initialState, LPCSTR name);

// Sets the event, releasing every waiter of a manual-reset event or one waiter
// of an auto-reset event. FALSE with ERROR_INVALID_HANDLE when it is no event.
BOOL SetEvent(HANDLE event);

// Resets the event. FALSE with ERROR_INVALID_HANDLE when it is no event.
BOOL ResetEvent(HANDLE event);
