// File existence, times and attributes, the executable's path and output
// joining, on the Win32 subset.
#include "FileProperties.h"

#include <ctime>

#include "Paths.h"
#include "Win32.h"

namespace {

const FILETIME* ChosenTime(const WIN32_FILE_ATTRIBUTE_DATA& data, TFileModeProperty kind) {
    switch (kind) {
    case fmpCreationTime: return &data.ftCreationTime;
    case fmpModificationTime: return &data.ftLastWriteTime;
    case fmpAccessTime: return &data.ftLastAccessTime;
    }
    return nullptr;
}

}  // namespace

bool FileExists(const std::string& path) {
    if (IsDirectory(path)) return false;
    FILE* file = std::fopen(path.c_str(), "rb");
    if (!file) return false;
    std::fclose(file);
    return true;
}

long GetFileTimeProperty(const std::string& path, TFileModeProperty kind) {
    WIN32_FILE_ATTRIBUTE_DATA data;
    if (!GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &data)) return 0;
    const FILETIME* chosen = ChosenTime(data, kind);
    FILETIME local;
    SYSTEMTIME fields;
    if (!chosen || !FileTimeToLocalFileTime(chosen, &local) || !FileTimeToSystemTime(&local, &fields)) return 0;
    struct tm wallClock = {};
    wallClock.tm_year = fields.wYear - 1900;
    wallClock.tm_mon = fields.wMonth - 1;
    wallClock.tm_mday = fields.wDay;
    wallClock.tm_hour = fields.wHour;
    wallClock.tm_min = fields.wMinute;
    wallClock.tm_sec = fields.wSecond;
    return static_cast<long>(timegm(&wallClock));
}

long GetFileCreationTime(const std::string& path) { return GetFileTimeProperty(path, fmpCreationTime); }

long GetFileModificationTime(const std::string& path) { return GetFileTimeProperty(path, fmpModificationTime); }

long GetFileAccessTime(const std::string& path) { return GetFileTimeProperty(path, fmpAccessTime); }

int GetFileAttrib(const std::string& path) {
    const DWORD attributes = GetFileAttributesA(path.c_str());
    return attributes == INVALID_FILE_ATTRIBUTES ? 0 : static_cast<int>(attributes);
}

void CollectOutputStrings(const std::vector<std::string>& lines, std::string& out, bool finalNewline) {
    for (size_t index = 0; index < lines.size(); ++index) {
        if (index > 0) out += "\r\n";
        out += lines[index];
    }
    if (finalNewline && !lines.empty()) out += "\r\n";
}

std::string GetExeName() {
    std::string buffer(MAX_PATH, '\0');
    for (;;) {
        const DWORD length = GetModuleFileNameA(nullptr, &buffer[0], static_cast<DWORD>(buffer.size()));
        if (length == 0) return std::string();
        if (length < buffer.size()) return buffer.substr(0, length);
        buffer.assign(buffer.size() * 2, '\0');
    }
}
