// Reader of the entry table appended to an executable file.
#include "ExeData.h"

#include <cstdint>
#include <cstdio>
#include <cstring>
#include <memory>
#include <set>

#include "Paths.h"

namespace {

const char exeAppendMarker[] = "trelmoxabin_entries";
const int64_t markerLength = sizeof exeAppendMarker - 1;
const int64_t trailerLength = markerLength + 8;

struct FileCloser {
    void operator()(FILE* file) const { std::fclose(file); }
};
typedef std::unique_ptr<FILE, FileCloser> FileHandle;

FileHandle OpenForReading(const std::string& path) {
    if (IsDirectory(path)) return nullptr;
    return FileHandle(std::fopen(path.c_str(), "rb"));
}

bool ReadAt(FILE* file, int64_t offset, void* data, size_t size) {
    return fseeko(file, offset, SEEK_SET) == 0 && std::fread(data, 1, size, file) == size;
}

bool ReadUint32(FILE* file, uint32_t& value) {
    unsigned char bytes[4];
    if (std::fread(bytes, 1, 4, file) != 4) return false;
    value = uint32_t(bytes[0]) | uint32_t(bytes[1]) << 8 | uint32_t(bytes[2]) << 16 | uint32_t(bytes[3]) << 24;
    return true;
}

// Reads one entry at `offset`; every part must lie before `limit`.
bool ReadEntry(FILE* file, int64_t offset, int64_t limit, uint32_t& next, std::string& name, int64_t& dataStart,
               uint32_t& dataSize) {
    uint32_t nameLength = 0;
    if (offset + 8 > limit || fseeko(file, offset, SEEK_SET) != 0) return false;
    if (!ReadUint32(file, next) || !ReadUint32(file, nameLength)) return false;
    const int64_t nameStart = offset + 8;
    if (nameLength > limit - nameStart - 4) return false;
    name.resize(nameLength);
    if (nameLength > 0 && std::fread(&name[0], 1, nameLength, file) != nameLength) return false;
    if (!ReadUint32(file, dataSize)) return false;
    dataStart = nameStart + nameLength + 4;
    return dataSize <= limit - dataStart;
}

bool ReadTable(FILE* file, int64_t fileSize, TReadFromExeContext& context) {
    const int64_t limit = fileSize - trailerLength;
    uint32_t offset = 0;
    if (fseeko(file, limit, SEEK_SET) != 0 || !ReadUint32(file, offset)) return false;
    std::set<uint32_t> visited;
    while (offset != 0) {
        if (!visited.insert(offset).second) return false;
        uint32_t next = 0;
        uint32_t dataSize = 0;
        int64_t dataStart = 0;
        std::string name;
        if (!ReadEntry(file, offset, limit, next, name, dataStart, dataSize)) return false;
        context.entries[name] = std::make_pair(static_cast<long>(dataStart), static_cast<long>(dataSize));
        offset = next;
    }
    return true;
}

}  // namespace

const char* FileUtilsExeAppendID() { return exeAppendMarker; }

bool ReadFromExeInit(const std::string& path, TReadFromExeContext& context) {
    context.entries.clear();
    FileHandle file = OpenForReading(path);
    if (!file || fseeko(file.get(), 0, SEEK_END) != 0) return false;
    const int64_t fileSize = ftello(file.get());
    char marker[markerLength];
    if (fileSize < trailerLength || !ReadAt(file.get(), fileSize - markerLength, marker, sizeof marker)) return false;
    if (std::memcmp(marker, exeAppendMarker, sizeof marker) != 0) return false;
    context.fileName = path;
    if (ReadTable(file.get(), fileSize, context)) return true;
    context.entries.clear();
    return false;
}

bool ReadFromExe(const TReadFromExeContext& context, const std::string& name, char*& data, long& size) {
    const auto entry = context.entries.find(name);
    if (entry == context.entries.end()) return false;
    FileHandle file = OpenForReading(context.fileName);
    if (!file) return false;
    const long length = entry->second.second;
    std::unique_ptr<char[]> copy(new char[static_cast<size_t>(length > 0 ? length : 1)]);
    if (length > 0 && !ReadAt(file.get(), entry->second.first, copy.get(), static_cast<size_t>(length))) return false;
    data = copy.release();
    size = length;
    return true;
}

bool ReadFromExe(const TReadFromExeContext& context, const std::string& name, void*& data, long& size) {
    char* bytes = nullptr;
    if (!ReadFromExe(context, name, bytes, size)) return false;
    data = bytes;
    return true;
}

bool ReadFromExe(const TReadFromExeContext& context, const std::string& name, std::vector<std::string>& lines) {
    char* data = nullptr;
    long size = 0;
    if (!ReadFromExe(context, name, data, size)) return false;
    const std::unique_ptr<char[]> owned(data);
    std::string line;
    for (long index = 0; index < size; ++index) {
        const char c = data[index];
        if (c == '\r') continue;
        if (c != '\n') {
            line += c;
            continue;
        }
        lines.push_back(line);
        line.clear();
    }
    if (size > 0) lines.push_back(line);
    return true;
}
