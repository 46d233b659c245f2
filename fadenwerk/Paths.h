// Path pieces, the saved working directory, and creating the directories of a
// path. The package's directory separator is '/'; every function that splits
// a path accepts '/' and '\' alike. Drive letters have no meaning.
#pragma once

#include <cstdio>
#include <string>

// "/", the separator the package writes.
const char* FileUtilsDirSeparator();

// The name without directory and extension: "c:\x\report.final.txt" gives
// "report.final"; a dot at the start of the name (".profile") counts as an
// extension dot, giving "".
std::string GetFileName(const std::string& path);
// The extension without its dot; empty when the name has no dot.
std::string GetFileExt(const std::string& path);
// The name with its extension.
std::string GetFileNameExt(const std::string& path);
// The directory part without the last separator; empty when there is none.
std::string GetFilePath(const std::string& path);
// Every '/' and '\' becomes the package's separator, in place.
void ToPlatformFileName(std::string& path);
// Equal length and, position by position, equal characters (with case) or two
// separators.
bool FileNamesEqual(const std::string& a, const std::string& b);

// True when the path names an existing directory (following links).
bool IsDirectory(const std::string& path);

// The process's working directory, of any length; empty when it cannot be read.
std::string GetWorkingDirectory();

// Saves the working directory and restores it when destroyed (if one was
// saved). The size arguments are kept for callers; the directory has no length
// limit.
class TTempDirChange {
public:
    explicit TTempDirChange(int size = 0);
    ~TTempDirChange();
    TTempDirChange(const TTempDirChange&) = delete;
    TTempDirChange& operator=(const TTempDirChange&) = delete;

    // Saves the working directory, then changes to `dir` unless it is "./" or
    // ".\". False when the directory could not be read or changed to.
    bool Init(const std::string& dir, int size = 0);
    // The saved directory; empty when none.
    const std::string& GetSavedDir() const { return fSavedDir; }

private:
    std::string fSavedDir;
};

// Makes every directory of the path exist (elements are split at separators,
// empty ones skipped; a leading separator starts at the root). Leading spaces
// are skipped; a path of spaces only, an empty path, or a failed creation gives
// false. The working directory is the same afterwards.
bool CreatePath(const std::string& path);
// The same for all but the last element, a file name.
bool CreateFilePath(const std::string& path);
// CreateFilePath(path), then fopen(path, mode); null when either fails or the
// path names a directory.
FILE* OpenFileWithPath(const std::string& path, const std::string& mode);
