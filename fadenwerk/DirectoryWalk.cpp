// The directory walk behind ProcessDir, on the Win32 subset's folder search.
#include "DirectoryWalk.h"

#include <algorithm>

#include "NameMatching.h"
#include "Paths.h"
#include "Win32.h"

namespace {

struct DirEntry {
    std::string name;
    DWORD attributes;
};

// The entries of the working directory, without "." and "..", in byte order.
std::vector<DirEntry> ListWorkingDirectory() {
    std::vector<DirEntry> entries;
    WIN32_FIND_DATAA found;
    const HANDLE search = FindFirstFileA("*", &found);
    if (search == INVALID_HANDLE_VALUE) return entries;
    do {
        const std::string name = found.cFileName;
        if (name != "." && name != "..") entries.push_back(DirEntry{name, found.dwFileAttributes});
    } while (FindNextFileA(search, &found));
    FindClose(search);
    std::sort(entries.begin(), entries.end(), [](const DirEntry& a, const DirEntry& b) { return a.name < b.name; });
    return entries;
}

std::string Joined(const std::string& relativeDir, const std::string& name) {
    return relativeDir.empty() ? name : relativeDir + FileUtilsDirSeparator() + name;
}

class DirectoryWalk {
public:
    explicit DirectoryWalk(TProcessDirData& data) : fData(data) {}

    // Walks the working directory; true when cancelled.
    bool Walk(const std::string& relativeDir, int depth) {
        const std::string here = GetWorkingDirectory();
        if (fData.onDir) fData.onDir(relativeDir);
        if (!relativeDir.empty()) fData.dirs.push_back(relativeDir);
        for (const DirEntry& entry : ListWorkingDirectory()) {
            if (fData.cancel && fData.cancel()) return true;
            if ((entry.attributes & FILE_ATTRIBUTE_DIRECTORY) && (entry.attributes & FILE_ATTRIBUTE_REPARSE_POINT))
                continue;  // a link to a directory: never followed
            if ((entry.attributes & FILE_ATTRIBUTE_DIRECTORY) && SetCurrentDirectoryA(entry.name.c_str())) {
                const bool cancelled = VisitDirectory(entry.name, relativeDir, depth);
                SetCurrentDirectoryA(here.c_str());
                if (cancelled) return true;
                continue;
            }
            VisitFile(entry.name, relativeDir, depth);
        }
        return false;
    }

private:
    bool VisitDirectory(const std::string& name, const std::string& relativeDir, int depth) {
        if (FilterMatch(name, fData.dirExcludes, fData.ignoreCase)) return false;
        if (fData.maxDepth != -1 && depth + 1 > fData.maxDepth) return false;
        return Walk(Joined(relativeDir, name), depth + 1);
    }

    bool IsCandidate(const std::string& name) const {
        if (FilterMatch(name, fData.includes, fData.ignoreCase) && !FilterMatch(name, fData.excludes, fData.ignoreCase))
            return true;
        const std::string extension = GetFileExt(name);
        return fData.zip && (fData.ignoreCase ? LowerCaseAscii(extension) : extension) == "zip";
    }

    void VisitFile(const std::string& name, const std::string& relativeDir, int depth) {
        if (!IsCandidate(name)) return;
        if (fData.accept && !fData.accept(name, relativeDir, depth, fData.files)) return;
        const std::string path = Joined(relativeDir, name);
        fData.files.push_back(path);
        if (fData.onFile) fData.onFile(path);
    }

    TProcessDirData& fData;
};

}  // namespace

bool ProcessDir(TProcessDirData& data) {
    if (data.dir.empty()) data.dir = std::string(".") + FileUtilsDirSeparator();
    data.files.clear();
    data.dirs.clear();
    TTempDirChange saved;
    if (saved.GetSavedDir().empty() || !SetCurrentDirectoryA(data.dir.c_str())) return false;
    return DirectoryWalk(data).Walk(std::string(), 0);
}

bool ProcessDir(std::string dir, const std::vector<std::string>& includes, const std::vector<std::string>& excludes,
                const std::vector<std::string>& dirExcludes, std::vector<std::string>& files,
                std::vector<std::string>& dirs, int maxDepth, bool ignoreCase, bool zip, TProcessDirOnDir onDir,
                TProcessDirAccept accept, TProcessDirOnFile onFile, TProcessDirCancel cancel) {
    TProcessDirData data;
    data.dir = dir;
    data.includes = includes;
    data.excludes = excludes;
    data.dirExcludes = dirExcludes;
    data.maxDepth = maxDepth;
    data.ignoreCase = ignoreCase;
    data.zip = zip;
    data.onDir = onDir;
    data.accept = accept;
    data.onFile = onFile;
    data.cancel = cancel;
    const bool cancelled = ProcessDir(data);
    files = std::move(data.files);
    dirs = std::move(data.dirs);
    return cancelled;
}

bool ProcessDir(const std::string& dir, const std::string& include, std::vector<std::string>& files, int maxDepth,
                bool ignoreCase, bool zip, TProcessDirOnDir onDir, TProcessDirAccept accept, TProcessDirOnFile onFile,
                TProcessDirCancel cancel) {
    std::vector<std::string> dirs;
    return ProcessDir(dir, {include}, {}, {}, files, dirs, maxDepth, ignoreCase, zip, onDir, accept, onFile, cancel);
}
