// Folder searches: FindFirstFileA, FindNextFileA and FindClose over a snapshot
// of the folder's matching names.
#include <dirent.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <vector>

#include "FileFacts.h"
#include "KernelObject.h"

namespace win32 {
namespace {

// '*' matches any run of characters, '?' any one; the rest must be equal.
bool WildcardMatch(const char* pattern, const char* name) {
    const char* starPattern = nullptr;
    const char* starName = nullptr;
    while (*name) {
        if (*pattern == '*') {
            starPattern = ++pattern;
            starName = name;
        } else if (*pattern == '?' || *pattern == *name) {
            ++pattern;
            ++name;
        } else if (starPattern) {
            pattern = starPattern;
            name = ++starName;
        } else {
            return false;
        }
    }
    while (*pattern == '*') ++pattern;
    return *pattern == '\0';
}

// "." first, ".." second, then byte order.
bool ListedBefore(const std::string& a, const std::string& b) {
    const int rankA = a == "." ? 0 : a == ".." ? 1 : 2;
    const int rankB = b == "." ? 0 : b == ".." ? 1 : 2;
    return rankA != rankB ? rankA < rankB : a < b;
}

class FileSearch : public KernelObject {
public:
    FileSearch(std::string folderPrefix, std::vector<std::string> names)
        : folderPrefix_(std::move(folderPrefix)), names_(std::move(names)) {}

    // Fills `data` with the next entry that still exists; false at the end.
    bool Next(WIN32_FIND_DATAA& data) {
        std::lock_guard<std::mutex> lock(mutex_);
        while (next_ < names_.size()) {
            const std::string& name = names_[next_++];
            FileFacts facts;
            if (ReadFileFacts(folderPrefix_ + name, facts)) {
                Fill(data, name, facts);
                return true;
            }
        }
        return false;
    }

private:
    static void Fill(WIN32_FIND_DATAA& data, const std::string& name, const FileFacts& facts) {
        std::memset(&data, 0, sizeof data);
        data.dwFileAttributes = facts.attributes;
        data.ftCreationTime = facts.creationTime;
        data.ftLastAccessTime = facts.lastAccessTime;
        data.ftLastWriteTime = facts.lastWriteTime;
        data.nFileSizeHigh = DWORD(facts.size >> 32);
        data.nFileSizeLow = DWORD(facts.size);
        if (facts.symbolicLink) data.dwReserved0 = IO_REPARSE_TAG_SYMLINK;
        std::memcpy(data.cFileName, name.data(), std::min(name.size(), sizeof data.cFileName - 1));
    }

    std::mutex mutex_;
    const std::string folderPrefix_;  // "" or the folder with a trailing '/'
    const std::vector<std::string> names_;
    size_t next_ = 0;
};

// Names in `folder` matching `pattern`, in listing order; false with the
// error set when the folder cannot be read.
bool MatchingNames(const std::string& folder, const std::string& pattern, std::vector<std::string>& names) {
    DIR* directory = opendir(folder.c_str());
    if (!directory) {
        SetLastErrorFromErrno(errno, ERROR_PATH_NOT_FOUND);
        return false;
    }
    const std::string effective = pattern == "*.*" ? "*" : pattern;
    while (const dirent* entry = readdir(directory))
        if (WildcardMatch(effective.c_str(), entry->d_name)) names.push_back(entry->d_name);
    closedir(directory);
    std::sort(names.begin(), names.end(), ListedBefore);
    return true;
}

}  // namespace
}  // namespace win32

HANDLE FindFirstFileA(LPCSTR fileName, LPWIN32_FIND_DATAA findData) {
    if (!fileName || !findData) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return INVALID_HANDLE_VALUE;
    }
    const std::string path = win32::NativePath(fileName);
    const size_t slash = path.find_last_of('/');
    const std::string folderPrefix = slash == std::string::npos ? "" : path.substr(0, slash + 1);
    const std::string folder = folderPrefix.empty() ? "." : folderPrefix;
    std::vector<std::string> names;
    if (!win32::MatchingNames(folder, path.substr(folderPrefix.size()), names)) return INVALID_HANDLE_VALUE;
    auto search = std::make_shared<win32::FileSearch>(folderPrefix, std::move(names));
    if (!search->Next(*findData)) {
        SetLastError(ERROR_FILE_NOT_FOUND);
        return INVALID_HANDLE_VALUE;
    }
    return win32::AddHandle(search);
}

BOOL FindNextFileA(HANDLE findFile, LPWIN32_FIND_DATAA findData) {
    std::shared_ptr<win32::FileSearch> search = win32::FindHandleOf<win32::FileSearch>(findFile);
    if (!search) return FALSE;
    if (!findData) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    if (search->Next(*findData)) return TRUE;
    SetLastError(ERROR_NO_MORE_FILES);
    return FALSE;
}

BOOL FindClose(HANDLE findFile) {
    if (!win32::FindHandleOf<win32::FileSearch>(findFile)) return FALSE;
    return win32::RemoveHandle(findFile) ? TRUE : FALSE;
}
