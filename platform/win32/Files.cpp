// Files and folders: temporary names, attributes, deleting, the working
// directory and folders, on the POSIX file calls.
#include "Files.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <random>
#include <vector>

#include "BufferCopy.h"
#include "FileFacts.h"
#include "LastError.h"

namespace win32 {
namespace {

const UINT temporaryNumbers = 0xFFFF;  // numbers 1..65535 in four hex digits

bool NameIsHidden(const std::string& path) {
    const std::string name = path.substr(path.find_last_of('/') + 1);
    return name.size() > 0 && name[0] == '.' && name != "." && name != "..";
}

FILETIME FileTimeOf(const statx_timestamp& time) { return FileTimeFromPosix(time.tv_sec, time.tv_nsec); }

DWORD AttributesOf(const std::string& path, const struct statx& status, bool symbolicLink) {
    DWORD attributes = 0;
    if (S_ISDIR(status.stx_mode)) attributes |= FILE_ATTRIBUTE_DIRECTORY;
    if (S_ISREG(status.stx_mode)) attributes |= FILE_ATTRIBUTE_ARCHIVE;
    if ((status.stx_mode & S_IWUSR) == 0) attributes |= FILE_ATTRIBUTE_READONLY;
    if (NameIsHidden(path)) attributes |= FILE_ATTRIBUTE_HIDDEN;
    if (symbolicLink) attributes |= FILE_ATTRIBUTE_REPARSE_POINT;
    return attributes ? attributes : DWORD(FILE_ATTRIBUTE_NORMAL);
}

bool StatusOf(const std::string& path, bool followLink, struct statx& status) {
    const int flags = followLink ? 0 : AT_SYMLINK_NOFOLLOW;
    return statx(AT_FDCWD, path.c_str(), flags, STATX_BASIC_STATS | STATX_BTIME, &status) == 0;
}

// The first number to try for a temporary name; spread over the range so that
// processes sharing a folder rarely meet.
UINT NextTemporaryNumber() {
    static std::atomic<UINT> counter{std::random_device()()};
    return counter++ % temporaryNumbers + 1;
}

std::string TemporaryName(const std::string& folder, const std::string& prefix, UINT number) {
    char digits[16];
    std::snprintf(digits, sizeof digits, "%X", number & 0xFFFF);
    return folder + prefix + digits + ".TMP";
}

// Creates an empty file "<folder><prefix><number>.TMP" that did not exist
// before, trying every number once; returns the number and sets `name`, or
// returns 0 with the error set.
UINT CreateUniqueFile(const std::string& folder, const std::string& prefix, std::string& name) {
    const UINT first = NextTemporaryNumber();
    for (UINT tried = 0; tried < temporaryNumbers; ++tried) {
        const UINT number = (first - 1 + tried) % temporaryNumbers + 1;
        name = TemporaryName(folder, prefix, number);
        const int file = open(name.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
        if (file >= 0) {
            close(file);
            return number;
        }
        if (errno != EEXIST) {
            SetLastErrorFromErrno(errno, ERROR_PATH_NOT_FOUND);
            return 0;
        }
    }
    SetLastError(ERROR_FILE_EXISTS);
    return 0;
}

bool FailWith(DWORD error) {
    SetLastError(error);
    return false;
}

bool CheckPath(LPCSTR path) { return path ? true : FailWith(ERROR_INVALID_PARAMETER); }

// Runs a POSIX call that returns 0 on success; on failure sets the last error.
BOOL Succeeded(int result, DWORD whenMissing = ERROR_FILE_NOT_FOUND) {
    if (result == 0) return TRUE;
    SetLastErrorFromErrno(errno, whenMissing);
    return FALSE;
}

}  // namespace

std::string NativePath(const char* path) {
    std::string native(path ? path : "");
    for (char& c : native)
        if (c == '\\') c = '/';
    return native;
}

bool ReadFileFacts(const std::string& path, FileFacts& facts) {
    struct statx status;
    if (!StatusOf(path, false, status)) return false;
    facts.symbolicLink = S_ISLNK(status.stx_mode);
    struct statx target;
    if (facts.symbolicLink && StatusOf(path, true, target)) status = target;
    facts.attributes = AttributesOf(path, status, facts.symbolicLink);
    facts.size = status.stx_size;
    facts.lastWriteTime = FileTimeOf(status.stx_mtime);
    facts.lastAccessTime = FileTimeOf(status.stx_atime);
    facts.creationTime = (status.stx_mask & STATX_BTIME) ? FileTimeOf(status.stx_btime) : facts.lastWriteTime;
    return true;
}

}  // namespace win32

DWORD GetTempPathA(DWORD bufferLength, LPSTR buffer) {
    const char* fromEnvironment = std::getenv("TMPDIR");
    std::string folder = fromEnvironment && *fromEnvironment ? fromEnvironment : "/tmp";
    if (folder.back() != '/') folder += '/';
    return win32::CopyTextToBuffer(folder, bufferLength, buffer);
}

UINT GetTempFileNameA(LPCSTR path, LPCSTR prefix, UINT unique, LPSTR tempFileName) {
    if (!path || !tempFileName) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return 0;
    }
    std::string folder = win32::NativePath(path);
    if (!folder.empty() && folder.back() != '/') folder += '/';
    const std::string shortPrefix = win32::NativePath(prefix).substr(0, 3);
    // The caller's buffer holds MAX_PATH bytes; the longest number must fit.
    if (win32::TemporaryName(folder, shortPrefix, 0xFFFF).size() >= MAX_PATH) {
        SetLastError(ERROR_BUFFER_OVERFLOW);
        return 0;
    }
    std::string name;
    const UINT number = unique != 0 ? unique : win32::CreateUniqueFile(folder, shortPrefix, name);
    if (number == 0) return 0;
    if (unique != 0) name = win32::TemporaryName(folder, shortPrefix, unique);
    std::memcpy(tempFileName, name.c_str(), name.size() + 1);
    return number;
}

BOOL DeleteFileA(LPCSTR fileName) {
    if (!win32::CheckPath(fileName)) return FALSE;
    return win32::Succeeded(unlink(win32::NativePath(fileName).c_str()));
}

DWORD GetFileAttributesA(LPCSTR fileName) {
    win32::FileFacts facts;
    if (!win32::CheckPath(fileName)) return INVALID_FILE_ATTRIBUTES;
    if (win32::ReadFileFacts(win32::NativePath(fileName), facts)) return facts.attributes;
    win32::SetLastErrorFromErrno(errno);
    return INVALID_FILE_ATTRIBUTES;
}

BOOL GetFileAttributesExA(LPCSTR fileName, GET_FILEEX_INFO_LEVELS infoLevel, LPVOID information) {
    if (!win32::CheckPath(fileName)) return FALSE;
    if (infoLevel != GetFileExInfoStandard || !information) return win32::FailWith(ERROR_INVALID_PARAMETER);
    win32::FileFacts facts;
    if (!win32::ReadFileFacts(win32::NativePath(fileName), facts)) {
        win32::SetLastErrorFromErrno(errno);
        return FALSE;
    }
    auto* data = static_cast<LPWIN32_FILE_ATTRIBUTE_DATA>(information);
    data->dwFileAttributes = facts.attributes;
    data->ftCreationTime = facts.creationTime;
    data->ftLastAccessTime = facts.lastAccessTime;
    data->ftLastWriteTime = facts.lastWriteTime;
    data->nFileSizeHigh = DWORD(facts.size >> 32);
    data->nFileSizeLow = DWORD(facts.size);
    return TRUE;
}

DWORD GetCurrentDirectoryA(DWORD bufferLength, LPSTR buffer) {
    std::vector<char> path(1024);
    while (!getcwd(path.data(), path.size())) {
        if (errno != ERANGE) {
            win32::SetLastErrorFromErrno(errno, ERROR_PATH_NOT_FOUND);
            return 0;
        }
        path.resize(path.size() * 2);
    }
    return win32::CopyTextToBuffer(path.data(), bufferLength, buffer);
}

BOOL SetCurrentDirectoryA(LPCSTR pathName) {
    if (!win32::CheckPath(pathName)) return FALSE;
    return win32::Succeeded(chdir(win32::NativePath(pathName).c_str()));
}

BOOL CreateDirectoryA(LPCSTR pathName, LPSECURITY_ATTRIBUTES) {
    if (!win32::CheckPath(pathName)) return FALSE;
    return win32::Succeeded(mkdir(win32::NativePath(pathName).c_str(), 0777), ERROR_PATH_NOT_FOUND);
}

BOOL RemoveDirectoryA(LPCSTR pathName) {
    if (!win32::CheckPath(pathName)) return FALSE;
    return win32::Succeeded(rmdir(win32::NativePath(pathName).c_str()));
}
