// What the package asks of a file: existence, times, attribute bits; the path
// of the running program; and joining output lines.
#pragma once

#include <string>
#include <vector>

// Which time GetFileTimeProperty returns.
enum TFileModeProperty { fmpCreationTime = 0, fmpModificationTime = 1, fmpAccessTime = 2 };

// The file can be opened for reading; false for a directory.
bool FileExists(const std::string& path);

// The chosen time as local wall-clock time encoded as universal time (as
// GetTimeString and GetStringTime use it); 0 when the attributes cannot be read
// or `kind` is none of the three. The creation time is the birth time where
// the file system keeps one, else the time of the last change of contents.
long GetFileTimeProperty(const std::string& path, TFileModeProperty kind);
long GetFileCreationTime(const std::string& path);
long GetFileModificationTime(const std::string& path);
long GetFileAccessTime(const std::string& path);

// The Win32 subset's attribute bits (FILE_ATTRIBUTE_...), 0 when unreadable.
int GetFileAttrib(const std::string& path);

// Appends the lines to `out` with "\r\n" between each two, and after the last
// when `finalNewline`.
void CollectOutputStrings(const std::vector<std::string>& lines, std::string& out, bool finalNewline);

// The full path of the running program's executable, of any length; empty
// when it cannot be found.
std::string GetExeName();
