// The calling thread's last error code, as the kernel calls of the subset set it,
// and the error codes they use.
#pragma once

#include "Win32Types.h"

#define ERROR_SUCCESS 0L
#define NO_ERROR 0L
#define ERROR_INVALID_FUNCTION 1L
#define ERROR_FILE_NOT_FOUND 2L
#define ERROR_PATH_NOT_FOUND 3L
#define ERROR_TOO_MANY_OPEN_FILES 4L
#define ERROR_ACCESS_DENIED 5L
#define ERROR_INVALID_HANDLE 6L
#define ERROR_NOT_ENOUGH_MEMORY 8L
#define ERROR_OUTOFMEMORY 14L
#define ERROR_NO_MORE_FILES 18L
#define ERROR_GEN_FAILURE 31L
#define ERROR_NOT_SUPPORTED 50L
#define ERROR_FILE_EXISTS 80L
#define ERROR_INVALID_PARAMETER 87L
#define ERROR_BROKEN_PIPE 109L
#define ERROR_BUFFER_OVERFLOW 111L
#define ERROR_DISK_FULL 112L
#define ERROR_INSUFFICIENT_BUFFER 122L
#define ERROR_INVALID_NAME 123L
#define ERROR_DIR_NOT_EMPTY 145L
#define ERROR_NOT_LOCKED 158L
#define ERROR_ALREADY_EXISTS 183L
#define ERROR_FILENAME_EXCED_RANGE 206L
#define ERROR_ENVVAR_NOT_FOUND 203L
#define ERROR_NO_DATA 232L
#define ERROR_NOT_OWNER 288L

// The last error code set on the calling thread; ERROR_SUCCESS on a fresh thread.
// Each thread has its own, so threads never see each other's errors.
DWORD GetLastError();

// Sets the calling thread's last error code.
void SetLastError(DWORD errorCode);

namespace win32 {

// Sets the last error from a C library errno value. ENOENT becomes `whenMissing`
// (ERROR_FILE_NOT_FOUND or ERROR_PATH_NOT_FOUND, as the call reports it); a
// value without a close match becomes ERROR_GEN_FAILURE.
void SetLastErrorFromErrno(int errorNumber, DWORD whenMissing = ERROR_FILE_NOT_FOUND);

}  // namespace win32
