// Helpers the fuzz targets share: the input in the forms the readers take, and an empty working folder.
#include "FuzzSupport.h"

#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <system_error>

#include "MemBuffer.h"
#include "StringContainer.h"

namespace fuzz {

void FillBuffer(TMemBuffer& buffer, const uint8_t* data, size_t size) {
    buffer.Clear();
    buffer.Add(data, static_cast<int>(size));
}

FILE* OpenStream(const uint8_t* data, size_t size) {
    FILE* file = std::tmpfile();
    if (file == nullptr) return nullptr;
    if (size > 0) std::fwrite(data, 1, size, file);
    std::rewind(file);
    return file;
}

void SplitLines(const uint8_t* data, size_t size, TStringContainer& lines) {
    lines.SetText(reinterpret_cast<const char*>(data), static_cast<int>(size));
}

int PickReader(const uint8_t*& data, size_t& size, int count) {
    if (size == 0) return -1;
    const int reader = data[0] % count;
    ++data;
    --size;
    return reader;
}

void Require(bool holds, const char* promise) {
    if (holds) return;
    std::fprintf(stderr, "broken promise: %s\n", promise);
    std::abort();
}

std::vector<uint8_t> StreamBytes(const std::function<void(FILE*)>& write) {
    FILE* file = std::tmpfile();
    if (file == nullptr) return {};
    write(file);
    const long size = std::ftell(file);
    std::rewind(file);
    std::vector<uint8_t> bytes(size > 0 ? static_cast<size_t>(size) : 0);
    if (!bytes.empty() && std::fread(bytes.data(), 1, bytes.size(), file) != bytes.size()) bytes.clear();
    std::fclose(file);
    return bytes;
}

// Where TouchBytes puts what it reads, so that the reads are not left out.
volatile uint8_t touchedByte;

void TouchBytes(const void* bytes, size_t size) {
    if (bytes == nullptr || size == 0) return;
    touchedByte = static_cast<const uint8_t*>(bytes)[0];
    touchedByte = static_cast<const uint8_t*>(bytes)[size - 1];
}

namespace {

std::string folder;

void RemoveFolder() {
    std::error_code ignored;
    std::filesystem::remove_all(folder, ignored);
}

}  // namespace

const std::string& EnterEmptyFolder() {
    if (!folder.empty()) return folder;
    const char* base = std::getenv("TMPDIR");
    std::string pattern = std::string(base != nullptr && *base != '\0' ? base : "/tmp") + "/suite-fuzz-XXXXXX";
    if (mkdtemp(pattern.data()) == nullptr || chdir(pattern.c_str()) != 0) std::abort();
    folder = pattern;
    std::atexit(RemoveFolder);
    return folder;
}

std::string WriteInputFile(const uint8_t* data, size_t size, const char* name) {
    const std::string path = EnterEmptyFolder() + "/" + name;
    FILE* file = std::fopen(path.c_str(), "wb");
    if (file == nullptr) std::abort();
    if (size > 0) std::fwrite(data, 1, size, file);
    std::fclose(file);
    return path;
}

}  // namespace fuzz
