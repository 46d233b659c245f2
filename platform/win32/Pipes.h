// Anonymous pipes between the threads of the process, read and written with
// ReadFile and WriteFile.
#pragma once

#include "Win32Types.h"

// Overlapped input and output is not offered; the calls accept only null.
struct OVERLAPPED;
typedef OVERLAPPED* LPOVERLAPPED;

// Writes of at most this many bytes reach the pipe whole, never interleaved
// with other writers' data.
#define PIPE_ATOMIC_WRITE_SIZE 4096

// Creates a pipe and its two ends. `size` is the buffer size to aim for: 0
// gives the default of 64 KiB, and no buffer is smaller than
// PIPE_ATOMIC_WRITE_SIZE. FALSE with ERROR_INVALID_PARAMETER for null handle pointers.
BOOL CreatePipe(LPHANDLE readPipe, LPHANDLE writePipe, LPSECURITY_ATTRIBUTES attributes, DWORD size);

// Reads from a pipe's read end: blocks while the pipe is empty and a write end
// is open, then takes up to `bytesToRead` bytes of what is there. When the pipe
// is empty and every write end is closed: FALSE, 0 bytes read and
// ERROR_BROKEN_PIPE. `bytesRead` may be null. FALSE with ERROR_ACCESS_DENIED on a
// write end, ERROR_INVALID_HANDLE on a handle that is no pipe end,
// ERROR_INVALID_PARAMETER with an OVERLAPPED record or a null buffer.
BOOL ReadFile(HANDLE file, LPVOID buffer, DWORD bytesToRead, LPDWORD bytesRead, LPOVERLAPPED overlapped);

// Writes all bytes to a pipe's write end, blocking while the pipe is full.
// When every read end is closed (before or during the write): FALSE with
// ERROR_NO_DATA and `bytesWritten` telling what went in; the process gets no
// signal. Other errors as ReadFile (ERROR_ACCESS_DENIED on a read end).
BOOL WriteFile(HANDLE file, LPCVOID buffer, DWORD bytesToWrite, LPDWORD bytesWritten, LPOVERLAPPED overlapped);
