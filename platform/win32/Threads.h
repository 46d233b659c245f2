// Threads: starting them, their exit codes and identifiers, and pausing.
#pragma once

#include "Win32Types.h"

typedef DWORD (*LPTHREAD_START_ROUTINE)(LPVOID parameter);

#define CREATE_SUSPENDED 0x00000004
#define STILL_ACTIVE 259

// Starts `start(parameter)` on a new thread; its return value becomes the
// thread's exit code. With CREATE_SUSPENDED the thread waits for ResumeThread
// before it calls `start`. A stack size above the system default is honoured,
// a smaller one is raised to it. `threadId` (may be null) receives the new
// thread's identifier. The handle is signalled when the thread ends; closing it
// does not stop the thread. Null with the error set when no thread can start
// or `start` is null (ERROR_INVALID_PARAMETER).
HANDLE CreateThread(LPSECURITY_ATTRIBUTES attributes, SIZE_T stackSize, LPTHREAD_START_ROUTINE start,
                    LPVOID parameter, DWORD creationFlags, LPDWORD threadId);

// Lowers the suspend count of a thread created suspended; at 0 it starts.
// Returns the previous count (0 for a running or ended thread), or 0xFFFFFFFF
// with ERROR_INVALID_HANDLE when the handle is no thread.
DWORD ResumeThread(HANDLE thread);

// STILL_ACTIVE while the thread runs (or has not started), then the value its
// start routine returned. FALSE with ERROR_INVALID_HANDLE for a handle that is
// no thread, or a null `exitCode` (ERROR_INVALID_PARAMETER).
BOOL GetExitCodeThread(HANDLE thread, LPDWORD exitCode);

// The calling thread's identifier: nonzero, unique among the process's threads
// and never reused while the process runs.
DWORD GetCurrentThreadId();

// Pauses the calling thread for `milliseconds`; 0 only yields the processor,
// INFINITE pauses for ever.
void Sleep(DWORD milliseconds);
