// Threads: start, suspension, exit codes, identifiers and per-thread errors.
#include "Threads.h"

#include <gtest/gtest.h>

#include <atomic>

#include "LastError.h"
#include "Synchronization.h"

namespace {

struct Gate {
    HANDLE go = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    std::atomic<DWORD> seenThreadId{0};
    ~Gate() { CloseHandle(go); }
};

DWORD WaitForGateThenReturn42(LPVOID parameter) {
    Gate* gate = static_cast<Gate*>(parameter);
    gate->seenThreadId = GetCurrentThreadId();
    WaitForSingleObject(gate->go, INFINITE);
    return 42;
}

TEST(Threads, ExitCodeAndWaitFollowTheThread) {
    Gate gate;
    DWORD id = 0;
    HANDLE thread = CreateThread(nullptr, 0, WaitForGateThenReturn42, &gate, 0, &id);
    ASSERT_NE(thread, nullptr);
    EXPECT_EQ(WaitForSingleObject(thread, 20), DWORD(WAIT_TIMEOUT));
    DWORD exitCode = 0;
    EXPECT_TRUE(GetExitCodeThread(thread, &exitCode));
    EXPECT_EQ(exitCode, DWORD(STILL_ACTIVE));

    SetEvent(gate.go);
    EXPECT_EQ(WaitForSingleObject(thread, INFINITE), DWORD(WAIT_OBJECT_0));
    EXPECT_EQ(WaitForSingleObject(thread, 0), DWORD(WAIT_OBJECT_0));
    EXPECT_TRUE(GetExitCodeThread(thread, &exitCode));
    EXPECT_EQ(exitCode, 42u);
    EXPECT_EQ(gate.seenThreadId, id);
    EXPECT_NE(id, GetCurrentThreadId());
    EXPECT_NE(GetCurrentThreadId(), 0u);
    EXPECT_TRUE(CloseHandle(thread));
}

TEST(Threads, SuspendedThreadStartsOnResume) {
    Gate gate;
    SetEvent(gate.go);
    HANDLE thread = CreateThread(nullptr, 0, WaitForGateThenReturn42, &gate, CREATE_SUSPENDED, nullptr);
    ASSERT_NE(thread, nullptr);
    EXPECT_EQ(WaitForSingleObject(thread, 20), DWORD(WAIT_TIMEOUT));
    EXPECT_EQ(gate.seenThreadId, 0u);
    EXPECT_EQ(ResumeThread(thread), 1u);
    EXPECT_EQ(WaitForSingleObject(thread, INFINITE), DWORD(WAIT_OBJECT_0));
    EXPECT_NE(gate.seenThreadId, 0u);
    EXPECT_EQ(ResumeThread(thread), 0u);
    CloseHandle(thread);
    EXPECT_EQ(ResumeThread(thread), 0xFFFFFFFFu);
}

struct Relay {
    HANDLE go;
    HANDLE done;
};

DWORD RelayOnce(LPVOID parameter) {
    Relay* relay = static_cast<Relay*>(parameter);
    WaitForSingleObject(relay->go, INFINITE);
    SetEvent(relay->done);
    return 0;
}

TEST(Threads, ClosingTheHandleDoesNotStopTheThread) {
    Relay relay{CreateEventA(nullptr, TRUE, FALSE, nullptr), CreateEventA(nullptr, TRUE, FALSE, nullptr)};
    HANDLE thread = CreateThread(nullptr, 0, RelayOnce, &relay, 0, nullptr);
    ASSERT_NE(thread, nullptr);
    EXPECT_TRUE(CloseHandle(thread));
    SetEvent(relay.go);
    EXPECT_EQ(WaitForSingleObject(relay.done, INFINITE), DWORD(WAIT_OBJECT_0));
    EXPECT_FALSE(GetExitCodeThread(thread, nullptr));
    CloseHandle(relay.go);
    CloseHandle(relay.done);
}

DWORD SetAndReadLastError(LPVOID) {
    DWORD before = GetLastError();
    SetLastError(ERROR_BROKEN_PIPE);
    return before == ERROR_SUCCESS ? GetLastError() : before + 100000;
}

TEST(Threads, LastErrorBelongsToEachThread) {
    SetLastError(ERROR_ACCESS_DENIED);
    HANDLE thread = CreateThread(nullptr, 64 * 1024 * 1024, SetAndReadLastError, nullptr, 0, nullptr);
    ASSERT_NE(thread, nullptr);
    WaitForSingleObject(thread, INFINITE);
    DWORD exitCode = 0;
    GetExitCodeThread(thread, &exitCode);
    EXPECT_EQ(exitCode, DWORD(ERROR_BROKEN_PIPE));
    CloseHandle(thread);
    // The calls above succeeded without touching this thread's error.
    EXPECT_EQ(GetLastError(), DWORD(ERROR_ACCESS_DENIED));
}

TEST(Threads, NullStartRoutineIsRefused) {
    EXPECT_EQ(CreateThread(nullptr, 0, nullptr, nullptr, 0, nullptr), nullptr);
    EXPECT_EQ(GetLastError(), DWORD(ERROR_INVALID_PARAMETER));
    Sleep(0);
}

}  // namespace
