// Tick counts, the system record and environment variables.
#include "System.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>

#include "LastError.h"
#include "Threads.h"

namespace {

TEST(System, ProcessorCountAndPageSize) {
    SYSTEM_INFO info;
    GetSystemInfo(&info);
    EXPECT_GE(info.dwNumberOfProcessors, 1u);
    EXPECT_GE(info.dwPageSize, 4096u);
    EXPECT_EQ(info.dwPageSize & (info.dwPageSize - 1), 0u);
}

TEST(System, TickCountAdvancesAcrossASleep) {
    const DWORD before = GetTickCount();
    Sleep(20);
    EXPECT_GE(GetTickCount() - before, 19u);
}

struct EnvironmentCase {
    const char* value;  // null: the variable is not set
    DWORD size;
    DWORD result;
    const char* buffer;  // afterwards; the buffer starts as "untouched"
    DWORD error;
};

const EnvironmentCase environmentCases[] = {
    {"abc", 4, 3, "abc", ERROR_SUCCESS},
    {"abc", 100, 3, "abc", ERROR_SUCCESS},
    {"abc", 3, 4, "untouched", ERROR_SUCCESS},
    {"abc", 0, 4, "untouched", ERROR_SUCCESS},
    {"", 10, 0, "", ERROR_SUCCESS},
    {nullptr, 10, 0, "untouched", ERROR_ENVVAR_NOT_FOUND},
};

TEST(System, EnvironmentVariablesFollowTheBufferRules) {
    const char* name = "WIN32_KERNEL_TEST_VARIABLE";
    for (const EnvironmentCase& expected : environmentCases) {
        SCOPED_TRACE(testing::Message() << (expected.value ? expected.value : "<unset>") << " in "
                                        << expected.size);
        if (expected.value)
            setenv(name, expected.value, 1);
        else
            unsetenv(name);
        char buffer[100] = "untouched";
        SetLastError(ERROR_GEN_FAILURE);
        EXPECT_EQ(GetEnvironmentVariableA(name, buffer, expected.size), expected.result);
        EXPECT_STREQ(buffer, expected.buffer);
        EXPECT_EQ(GetLastError(), expected.error);
    }
    unsetenv(name);
    EXPECT_EQ(GetEnvironmentVariableA(nullptr, nullptr, 0), 0u);
}

}  // namespace
