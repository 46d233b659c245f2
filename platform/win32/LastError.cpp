// The per-thread last error code and the translation of C library errors.
#include "LastError.h"

#include <cerrno>

namespace {

thread_local DWORD lastError = ERROR_SUCCESS;

struct ErrnoTranslation {
    int errorNumber;
    DWORD errorCode;
};

// errno values the kernel calls meet, with the code each is reported as.
const ErrnoTranslation errnoTranslations[] = {
    {ENOTDIR, ERROR_PATH_NOT_FOUND},       {EACCES, ERROR_ACCESS_DENIED},
    {EPERM, ERROR_ACCESS_DENIED},          {EISDIR, ERROR_ACCESS_DENIED},
    {EROFS, ERROR_ACCESS_DENIED},          {EBUSY, ERROR_ACCESS_DENIED},
    {EEXIST, ERROR_ALREADY_EXISTS},        {ENOTEMPTY, ERROR_DIR_NOT_EMPTY},
    {ENOMEM, ERROR_NOT_ENOUGH_MEMORY},     {ENAMETOOLONG, ERROR_FILENAME_EXCED_RANGE},
    {ELOOP, ERROR_INVALID_NAME},           {EINVAL, ERROR_INVALID_PARAMETER},
    {EBADF, ERROR_INVALID_HANDLE},         {ENOSPC, ERROR_DISK_FULL},
    {EDQUOT, ERROR_DISK_FULL},             {EMFILE, ERROR_TOO_MANY_OPEN_FILES},
    {ENFILE, ERROR_TOO_MANY_OPEN_FILES},   {EPIPE, ERROR_NO_DATA},
};

}  // namespace

DWORD GetLastError() { return lastError; }

void SetLastError(DWORD errorCode) { lastError = errorCode; }

namespace win32 {

void SetLastErrorFromErrno(int errorNumber, DWORD whenMissing) {
    if (errorNumber == ENOENT) {
        SetLastError(whenMissing);
        return;
    }
    for (const ErrnoTranslation& translation : errnoTranslations) {
        if (translation.errorNumber == errorNumber) {
            SetLastError(translation.errorCode);
            return;
        }
    }
    SetLastError(ERROR_GEN_FAILURE);
}

}  // namespace win32
