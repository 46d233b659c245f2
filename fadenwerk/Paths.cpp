// Path pieces, the saved working directory and path creation, on the Win32
// subset's folder calls.
#include "Paths.h"

#include <vector>

#include "Tokenizing.h"
#include "Win32.h"

namespace {

bool IsSeparator(char c) { return c == '/' || c == '\\'; }

size_t LastSeparator(const std::string& path) { return path.find_last_of("/\\"); }

// Start of the name: after the last separator, or 0.
size_t NameStart(const std::string& path) {
    const size_t separator = LastSeparator(path);
    return separator == std::string::npos ? 0 : separator + 1;
}

// The extension's dot, or npos when the name has none.
size_t ExtensionDot(const std::string& path) {
    const size_t dot = path.rfind('.');
    if (dot == std::string::npos || dot < NameStart(path)) return std::string::npos;
    return dot;
}

bool EnterOrCreate(const std::string& element) {
    if (SetCurrentDirectoryA(element.c_str())) return true;
    if (!CreateDirectoryA(element.c_str(), nullptr)) return false;
    return SetCurrentDirectoryA(element.c_str()) != FALSE;
}

bool CreateDirectories(const std::string& path, bool lastIsFile) {
    const size_t start = path.find_first_not_of(' ');
    if (start == std::string::npos) return false;
    std::string rest = path.substr(start);
    ToPlatformFileName(rest);
    std::vector<std::string> elements;
    QMTokenize(rest, elements, '/', true, '"');
    TTempDirChange saved;
    if (rest[0] == '/' && !SetCurrentDirectoryA("/")) return false;
    const size_t count = lastIsFile && !elements.empty() ? elements.size() - 1 : elements.size();
    for (size_t index = 0; index < count; ++index)
        if (!EnterOrCreate(elements[index])) return false;
    return true;
}

}  // namespace

const char* FileUtilsDirSeparator() { return "/"; }

std::string GetFileName(const std::string& path) {
    const size_t start = NameStart(path);
    const size_t dot = ExtensionDot(path);
    return path.substr(start, dot == std::string::npos ? std::string::npos : dot - start);
}

std::string GetFileExt(const std::string& path) {
    const size_t dot = ExtensionDot(path);
    return dot == std::string::npos ? std::string() : path.substr(dot + 1);
}

std::string GetFileNameExt(const std::string& path) { return path.substr(NameStart(path)); }

std::string GetFilePath(const std::string& path) {
    const size_t separator = LastSeparator(path);
    return separator == std::string::npos ? std::string() : path.substr(0, separator);
}

void ToPlatformFileName(std::string& path) {
    for (char& c : path)
        if (IsSeparator(c)) c = FileUtilsDirSeparator()[0];
}

bool FileNamesEqual(const std::string& a, const std::string& b) {
    if (a.size() != b.size()) return false;
    for (size_t index = 0; index < a.size(); ++index)
        if (a[index] != b[index] && !(IsSeparator(a[index]) && IsSeparator(b[index]))) return false;
    return true;
}

bool IsDirectory(const std::string& path) {
    const DWORD attributes = GetFileAttributesA(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

std::string GetWorkingDirectory() {
    std::string buffer(256, '\0');
    for (;;) {
        const DWORD length = GetCurrentDirectoryA(static_cast<DWORD>(buffer.size()), &buffer[0]);
        if (length == 0) return std::string();
        if (length < buffer.size()) return buffer.substr(0, length);
        buffer.assign(length, '\0');
    }
}

TTempDirChange::TTempDirChange(int) : fSavedDir(GetWorkingDirectory()) {}

TTempDirChange::~TTempDirChange() {
    if (!fSavedDir.empty()) SetCurrentDirectoryA(fSavedDir.c_str());
}

bool TTempDirChange::Init(const std::string& dir, int) {
    fSavedDir = GetWorkingDirectory();
    if (fSavedDir.empty()) return false;
    if (dir == "./" || dir == ".\\") return true;
    return SetCurrentDirectoryA(dir.c_str()) != FALSE;
}

bool CreatePath(const std::string& path) { return CreateDirectories(path, false); }

bool CreateFilePath(const std::string& path) { return CreateDirectories(path, true); }

FILE* OpenFileWithPath(const std::string& path, const std::string& mode) {
    if (!CreateFilePath(path)) return nullptr;
    if (IsDirectory(path)) return nullptr;
    return std::fopen(path.c_str(), mode.c_str());
}
