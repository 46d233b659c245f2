// Tick counts, the system record and environment variables.
#include "System.h"

#include <sched.h>
#include <unistd.h>

#include <cstdlib>
#include <ctime>

#include "BufferCopy.h"
#include "LastError.h"

namespace {

DWORD ProcessorCount() {
    cpu_set_t allowed;
    if (sched_getaffinity(0, sizeof allowed, &allowed) == 0 && CPU_COUNT(&allowed) > 0)
        return DWORD(CPU_COUNT(&allowed));
    const long online = sysconf(_SC_NPROCESSORS_ONLN);
    return online > 0 ? DWORD(online) : 1;
}

WORD ProcessorArchitecture() {
#if defined(__x86_64__)
    return PROCESSOR_ARCHITECTURE_AMD64;
#elif defined(__i386__)
    return PROCESSOR_ARCHITECTURE_INTEL;
#elif defined(__aarch64__)
    return PROCESSOR_ARCHITECTURE_ARM64;
#elif defined(__arm__)
    return PROCESSOR_ARCHITECTURE_ARM;
#else
    return PROCESSOR_ARCHITECTURE_UNKNOWN;
#endif
}

}  // namespace

ULONGLONG GetTickCount64() {
    timespec now;
    clock_gettime(CLOCK_BOOTTIME, &now);
    return ULONGLONG(now.tv_sec) * 1000 + ULONGLONG(now.tv_nsec) / 1000000;
}

DWORD GetTickCount() { return DWORD(GetTickCount64()); }

void GetSystemInfo(LPSYSTEM_INFO systemInfo) {
    if (!systemInfo) return;
    const long pageSize = sysconf(_SC_PAGESIZE);
    *systemInfo = SYSTEM_INFO{};
    systemInfo->wProcessorArchitecture = ProcessorArchitecture();
    systemInfo->dwPageSize = pageSize > 0 ? DWORD(pageSize) : 4096;
    systemInfo->lpMinimumApplicationAddress = reinterpret_cast<LPVOID>(uintptr_t(0x10000));
    systemInfo->lpMaximumApplicationAddress = reinterpret_cast<LPVOID>(~uintptr_t(0) >> 17);
    systemInfo->dwNumberOfProcessors = ProcessorCount();
    systemInfo->dwActiveProcessorMask =
        systemInfo->dwNumberOfProcessors >= sizeof(DWORD_PTR) * 8 ? ~DWORD_PTR(0)
                                                                   : (DWORD_PTR(1) << systemInfo->dwNumberOfProcessors) - 1;
    systemInfo->dwAllocationGranularity = 65536;
}

DWORD GetEnvironmentVariableA(LPCSTR name, LPSTR buffer, DWORD size) {
    const char* value = name ? std::getenv(name) : nullptr;
    if (!value) {
        SetLastError(ERROR_ENVVAR_NOT_FOUND);
        return 0;
    }
    SetLastError(ERROR_SUCCESS);
    return win32::CopyTextToBuffer(value, size, buffer);
}
