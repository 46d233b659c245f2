// Files and folders: temporary files, attributes and times, searching a folder,
// the working directory and creating and removing folders.
//
// Paths may separate folders with '/' or '\\' alike, since the components build
// paths with backslashes; a backslash is therefore never part of a name here.
// Names are compared as the file system does, with case.
#pragma once

#include "Win32Types.h"

#define FILE_ATTRIBUTE_READONLY 0x00000001
#define FILE_ATTRIBUTE_HIDDEN 0x00000002
#define FILE_ATTRIBUTE_SYSTEM 0x00000004
#define FILE_ATTRIBUTE_DIRECTORY 0x00000010
#define FILE_ATTRIBUTE_ARCHIVE 0x00000020
#define FILE_ATTRIBUTE_NORMAL 0x00000080
#define FILE_ATTRIBUTE_REPARSE_POINT 0x00000400
#define INVALID_FILE_ATTRIBUTES 0xFFFFFFFF
#define IO_REPARSE_TAG_SYMLINK 0xA000000CL

// One entry of a folder search; 320 bytes, laid out as on the 32-bit platform.
struct WIN32_FIND_DATAA {
    DWORD dwFileAttributes;
    FILETIME ftCreationTime;
    FILETIME ftLastAccessTime;
    FILETIME ftLastWriteTime;
    DWORD nFileSizeHigh;
    DWORD nFileSizeLow;
    DWORD dwReserved0;  // IO_REPARSE_TAG_SYMLINK for a symbolic link
    DWORD dwReserved1;
    CHAR cFileName[MAX_PATH];
    CHAR cAlternateFileName[14];  // always empty: there are no short names
};
typedef WIN32_FIND_DATAA* LPWIN32_FIND_DATAA;

struct WIN32_FILE_ATTRIBUTE_DATA {
    DWORD dwFileAttributes;
    FILETIME ftCreationTime;
    FILETIME ftLastAccessTime;
    FILETIME ftLastWriteTime;
    DWORD nFileSizeHigh;
    DWORD nFileSizeLow;
};
typedef WIN32_FILE_ATTRIBUTE_DATA* LPWIN32_FILE_ATTRIBUTE_DATA;

enum GET_FILEEX_INFO_LEVELS { GetFileExInfoStandard = 0 };

// The system's temporary folder with a trailing '/': $TMPDIR when set and not
// empty, else /tmp. With room for it and its zero in `bufferLength` bytes,
// copies it and returns its length; otherwise changes nothing and returns the
// size needed, zero included.
DWORD GetTempPathA(DWORD bufferLength, LPSTR buffer);

// Makes "<path>/<prefix><hex number>.TMP" from `path`, the first three
// characters of `prefix` (null: none) and a number. With `unique` 0 the number
// is chosen so that the file does not exist yet and the file is created empty
// (atomically: no other caller can get the same name); with any other value its
// low 16 bits are the number and no file is made. `tempFileName` must hold
// MAX_PATH bytes; a longer name fails with ERROR_BUFFER_OVERFLOW. Returns the
// number used, or 0 with the error set (ERROR_PATH_NOT_FOUND when the folder
// is missing, ERROR_FILE_EXISTS when every number is taken).
UINT GetTempFileNameA(LPCSTR path, LPCSTR prefix, UINT unique, LPSTR tempFileName);

// Deletes a file or a symbolic link (not its target). FALSE with
// ERROR_FILE_NOT_FOUND when missing, ERROR_ACCESS_DENIED for a folder.
BOOL DeleteFileA(LPCSTR fileName);

// Attribute bits of a file or folder: FILE_ATTRIBUTE_DIRECTORY for a folder,
// ARCHIVE for a regular file, READONLY when its owner may not write it, HIDDEN
// when its name starts with a dot, REPARSE_POINT (added to the target's bits)
// for a symbolic link, NORMAL when none of these apply. INVALID_FILE_ATTRIBUTES
// with ERROR_FILE_NOT_FOUND or ERROR_PATH_NOT_FOUND when it does not exist.
DWORD GetFileAttributesA(LPCSTR fileName);

// Attributes, size and times of a file or folder (a symbolic link reports its
// target's size and times; a dangling link its own). The creation time is the
// birth time where the file system keeps one, else the last write time.
// FALSE with the error set as GetFileAttributesA; ERROR_INVALID_PARAMETER for
// another level or a null `information`.
BOOL GetFileAttributesExA(LPCSTR fileName, GET_FILEEX_INFO_LEVELS infoLevel, LPVOID information);

// Starts a search for the entries of a folder whose names match the last
// component of `fileName`: '*' matches any run of characters, '?' any one, and
// "*.*" matches every name. "." and ".." are listed first when they match,
// then the other names in byte order. Fills `findData` with the first entry
// (attributes, sizes and times as GetFileAttributesExA). INVALID_HANDLE_VALUE
// with ERROR_FILE_NOT_FOUND when nothing matches, ERROR_PATH_NOT_FOUND when the
// folder is missing. The search sees the folder as it was at this call.
HANDLE FindFirstFileA(LPCSTR fileName, LPWIN32_FIND_DATAA findData);

// The search's next entry; FALSE with ERROR_NO_MORE_FILES after the last,
// ERROR_INVALID_HANDLE for a handle that is no search. Entries removed since
// the search began are skipped.
BOOL FindNextFileA(HANDLE findFile, LPWIN32_FIND_DATAA findData);

// Ends a search. FALSE with ERROR_INVALID_HANDLE for a handle that is no search.
BOOL FindClose(HANDLE findFile);

// Converts a file time (UTC) to local time, with the offset from UTC that was
// in force at that moment. FALSE with ERROR_INVALID_PARAMETER when the result
// falls outside the FILETIME range or an argument is null.
BOOL FileTimeToLocalFileTime(const FILETIME* fileTime, LPFILETIME localFileTime);

// Splits a file time into calendar fields (Gregorian, Sunday = day 0).
// FALSE with ERROR_INVALID_PARAMETER for times from 0x8000000000000000 on or a
// null argument.
BOOL FileTimeToSystemTime(const FILETIME* fileTime, LPSYSTEMTIME systemTime);

// The working directory, without a trailing '/' (except the root). With room
// for it and its zero in `bufferLength` bytes, copies it and returns its
// length; otherwise changes nothing and returns the size needed, zero included.
DWORD GetCurrentDirectoryA(DWORD bufferLength, LPSTR buffer);

// Changes the process's working directory. FALSE with the error set when the
// folder is missing or cannot be entered.
BOOL SetCurrentDirectoryA(LPCSTR pathName);

// Creates one folder; its parent must exist. FALSE with ERROR_ALREADY_EXISTS
// when the name is taken, ERROR_PATH_NOT_FOUND when the parent is missing.
BOOL CreateDirectoryA(LPCSTR pathName, LPSECURITY_ATTRIBUTES attributes);

// Removes an empty folder. FALSE with ERROR_DIR_NOT_EMPTY when it holds
// entries, ERROR_FILE_NOT_FOUND when missing.
BOOL RemoveDirectoryA(LPCSTR pathName);
