// What the file calls learn of one file, shared by the attribute calls and the
// folder search.
#pragma once

#include <cstdint>
#include <string>

#include "Files.h"

namespace win32 {

struct FileFacts {
    DWORD attributes = 0;
    uint64_t size = 0;
    FILETIME creationTime{};
    FILETIME lastAccessTime{};
    FILETIME lastWriteTime{};
    bool symbolicLink = false;
};

// The path with every backslash turned into '/'.
std::string NativePath(const char* path);

// Reads the facts of the file at `path`; a symbolic link gives its target's
// facts with FILE_ATTRIBUTE_REPARSE_POINT added, a dangling one its own. False
// with errno set when the file cannot be examined.
bool ReadFileFacts(const std::string& path, FileFacts& facts);

// A POSIX time as a FILETIME; times before 1601 become 0.
FILETIME FileTimeFromPosix(int64_t seconds, uint32_t nanoseconds);

}  // namespace win32
