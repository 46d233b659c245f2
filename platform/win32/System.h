// The system around the process: tick counts, processor count and page size,
// and environment variables.
#pragma once

#include "Win32Types.h"

#define PROCESSOR_ARCHITECTURE_INTEL 0
#define PROCESSOR_ARCHITECTURE_ARM 5
#define PROCESSOR_ARCHITECTURE_AMD64 9
#define PROCESSOR_ARCHITECTURE_ARM64 12
#define PROCESSOR_ARCHITECTURE_UNKNOWN 0xFFFF

struct SYSTEM_INFO {
    WORD wProcessorArchitecture;
    WORD wReserved;
    DWORD dwPageSize;
    LPVOID lpMinimumApplicationAddress;
    LPVOID lpMaximumApplicationAddress;
    DWORD_PTR dwActiveProcessorMask;
    DWORD dwNumberOfProcessors;
    DWORD dwProcessorType;
    DWORD dwAllocationGranularity;
    WORD wProcessorLevel;
    WORD wProcessorRevision;
};
typedef SYSTEM_INFO* LPSYSTEM_INFO;

// Milliseconds since the system started; wraps to 0 after about 49.7 days.
DWORD GetTickCount();

// Milliseconds since the system started, without wrapping.
ULONGLONG GetTickCount64();

// Fills the record: dwNumberOfProcessors is the number of processors this
// process may run on (at least 1), dwPageSize the memory page size.
void GetSystemInfo(LPSYSTEM_INFO systemInfo);

// The value of an environment variable. With room for it and its zero in
// `size` bytes, copies it and returns its length (0 for an empty value, with
// ERROR_SUCCESS); otherwise changes nothing and returns the size needed, zero
// included. 0 with ERROR_ENVVAR_NOT_FOUND when the variable is not set.
DWORD GetEnvironmentVariableA(LPCSTR name, LPSTR buffer, DWORD size);
