// Built-in functions that ask the system: get_file_size, system, getenv and getcwd.
#include "BuiltinSystem.h"

#include <sys/wait.h>

#include <cstdio>
#include <cstdlib>

#include "Files.h"

namespace {

// The working directory fits in this many characters, its zero excluded.
constexpr DWORD kLongestWorkingDirectory = 1023;

static_assert(sizeof(long) == sizeof(int64_t), "ftell reports sizes beyond 2 GB");

// A folder opens for reading on this system but yields no bytes: reading
// one byte tells a readable file from it.
bool IsReadable(FILE* file) {
    const int first = std::fgetc(file);
    return !(first == EOF && std::ferror(file));
}

void FileSize(const TBuiltinCall& call, EXPRESSION_ITEM& result) {
    result.value.integer = -1;
    FILE* file = std::fopen(call.Text(0).c_str(), "rb");
    if (file == nullptr) return;
    if (IsReadable(file) && std::fseek(file, 0, SEEK_END) == 0) result.value.integer = std::ftell(file);
    std::fclose(file);
}

void System(const TBuiltinCall& call, EXPRESSION_ITEM& result) {
    const int status = std::system(call.Text(0).c_str());
    result.value.integer = status != -1 && WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

void GetEnvironment(const TBuiltinCall& call, EXPRESSION_ITEM& result) {
    const char* value = std::getenv(call.Text(0).c_str());
    if (value != nullptr) ResultText(result) = value;
}

void GetWorkingDirectory(const TBuiltinCall&, EXPRESSION_ITEM& result) {
    char buffer[kLongestWorkingDirectory + 1];
    const DWORD length = GetCurrentDirectoryA(sizeof buffer, buffer);
    if (length > 0 && length <= kLongestWorkingDirectory) ResultText(result) = TString(buffer, static_cast<int>(length));
}

// ORDER: any order; the position column says where each body runs.
const TBuiltinBodyRow kSystemBodies[] = {
    {80, FileSize}, {111, GetWorkingDirectory}, {114, System}, {115, GetEnvironment},
};

}  // namespace

TBuiltinBodyRows SystemBuiltinBodies() { return RowsOf(kSystemBodies); }
