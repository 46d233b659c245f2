// Numbered temporary names and self-removing temporary files.
#include "TempFileNames.h"

#include <atomic>
#include <mutex>

namespace {

std::mutex prefixLock;
std::string namePrefix;
std::atomic<unsigned long long> nameCounter{0};

}  // namespace

void GetTempFileNameInit(const std::string& prefix) {
    std::lock_guard<std::mutex> guard(prefixLock);
    namePrefix = prefix;
}

std::string GetTempFileNameA() {
    const unsigned long long number = nameCounter.fetch_add(1);
    std::lock_guard<std::mutex> guard(prefixLock);
    return namePrefix + "_TEMP_" + std::to_string(number);
}

void GetTempFileNameDone() {}

TTempFileName::TTempFileName() {
    char folder[MAX_PATH];
    const DWORD length = GetTempPathA(sizeof folder, folder);
    if (length == 0 || length >= sizeof folder) return;
    char name[MAX_PATH];
    if (GetTempFileNameA(folder, "fdw", 0, name) != 0) fName = name;
}

TTempFileName::~TTempFileName() {
    if (!fName.empty()) DeleteFileA(fName.c_str());
}
