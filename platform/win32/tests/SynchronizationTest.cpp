// Events, mutexes and waiting with timeouts, across threads.
#include "Synchronization.h"

#include <gtest/gtest.h>

#include <atomic>
#include <thread>
#include <vector>

#include "LastError.h"
#include "Pipes.h"
#include "Threads.h"

namespace {

// Waits for the handle on a new thread and returns the result.
DWORD WaitOnAnotherThread(HANDLE handle, DWORD milliseconds) {
    DWORD result = 0;
    std::thread([&] { result = WaitForSingleObject(handle, milliseconds); }).join();
    return result;
}

TEST(Synchronization, ManualResetEventStaysSetUntilReset) {
    HANDLE event = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    ASSERT_NE(event, nullptr);
    EXPECT_EQ(WaitForSingleObject(event, 0), DWORD(WAIT_TIMEOUT));
    EXPECT_EQ(WaitForSingleObject(event, 20), DWORD(WAIT_TIMEOUT));
    EXPECT_TRUE(SetEvent(event));
    EXPECT_EQ(WaitForSingleObject(event, 0), DWORD(WAIT_OBJECT_0));
    EXPECT_EQ(WaitOnAnotherThread(event, 0), DWORD(WAIT_OBJECT_0));
    EXPECT_TRUE(ResetEvent(event));
    EXPECT_EQ(WaitForSingleObject(event, 0), DWORD(WAIT_TIMEOUT));
    EXPECT_TRUE(CloseHandle(event));
}

TEST(Synchronization, AutoResetEventReleasesOneWaitPerSet) {
    HANDLE event = CreateEventA(nullptr, FALSE, TRUE, nullptr);
    EXPECT_EQ(WaitForSingleObject(event, 0), DWORD(WAIT_OBJECT_0));
    EXPECT_EQ(WaitForSingleObject(event, 10), DWORD(WAIT_TIMEOUT));

    HANDLE released = CreateEventA(nullptr, FALSE, FALSE, nullptr);
    std::atomic<int> passed{0};
    std::vector<std::thread> waiters;
    for (int i = 0; i < 3; ++i) {
        waiters.emplace_back([&] {
            EXPECT_EQ(WaitForSingleObject(event, INFINITE), DWORD(WAIT_OBJECT_0));
            ++passed;
            SetEvent(released);
        });
    }
    for (int i = 1; i <= 3; ++i) {
        SetEvent(event);
        EXPECT_EQ(WaitForSingleObject(released, INFINITE), DWORD(WAIT_OBJECT_0));
        EXPECT_EQ(WaitForSingleObject(released, 20), DWORD(WAIT_TIMEOUT));
        EXPECT_EQ(passed, i);
    }
    for (std::thread& waiter : waiters) waiter.join();
    CloseHandle(released);
    CloseHandle(event);
}

TEST(Synchronization, EventSetOnAnotherThreadEndsAnEndlessWait) {
    HANDLE event = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    std::thread setter([event] {
        Sleep(10);
        SetEvent(event);
    });
    EXPECT_EQ(WaitForSingleObject(event, INFINITE), DWORD(WAIT_OBJECT_0));
    setter.join();
    CloseHandle(event);
}

TEST(Synchronization, MutexOwnershipIsRecursiveAndPerThread) {
    HANDLE mutex = CreateMutexA(nullptr, TRUE, nullptr);
    ASSERT_NE(mutex, nullptr);
    EXPECT_EQ(WaitForSingleObject(mutex, 0), DWORD(WAIT_OBJECT_0));
    EXPECT_EQ(WaitOnAnotherThread(mutex, 20), DWORD(WAIT_TIMEOUT));

    std::thread([mutex] {
        EXPECT_FALSE(ReleaseMutex(mutex));
        EXPECT_EQ(GetLastError(), DWORD(ERROR_NOT_OWNER));
    }).join();

    EXPECT_TRUE(ReleaseMutex(mutex));
    EXPECT_EQ(WaitOnAnotherThread(mutex, 0), DWORD(WAIT_TIMEOUT));
    EXPECT_TRUE(ReleaseMutex(mutex));
    EXPECT_FALSE(ReleaseMutex(mutex));
    EXPECT_EQ(GetLastError(), DWORD(ERROR_NOT_OWNER));

    // Free now; a thread that takes it and ends without releasing abandons it.
    EXPECT_EQ(WaitOnAnotherThread(mutex, 0), DWORD(WAIT_OBJECT_0));
    EXPECT_EQ(WaitForSingleObject(mutex, 0), DWORD(WAIT_ABANDONED));
    EXPECT_TRUE(ReleaseMutex(mutex));
    EXPECT_EQ(WaitForSingleObject(mutex, 0), DWORD(WAIT_OBJECT_0));
    EXPECT_TRUE(ReleaseMutex(mutex));
    CloseHandle(mutex);
}

TEST(Synchronization, MutexExcludesOtherThreads) {
    HANDLE mutex = CreateMutexA(nullptr, FALSE, nullptr);
    int counter = 0;  // guarded by the mutex alone
    std::vector<std::thread> workers;
    for (int t = 0; t < 4; ++t) {
        workers.emplace_back([&] {
            for (int i = 0; i < 500; ++i) {
                ASSERT_EQ(WaitForSingleObject(mutex, INFINITE), DWORD(WAIT_OBJECT_0));
                counter = counter + 1;
                ReleaseMutex(mutex);
            }
        });
    }
    for (std::thread& worker : workers) worker.join();
    EXPECT_EQ(counter, 2000);
    CloseHandle(mutex);
}

TEST(Synchronization, NamedObjectsAreSharedWithinTheProcess) {
    HANDLE first = CreateEventA(nullptr, TRUE, FALSE, "kernel-test-event");
    EXPECT_EQ(GetLastError(), DWORD(ERROR_SUCCESS));
    HANDLE second = CreateEventA(nullptr, TRUE, FALSE, "kernel-test-event");
    EXPECT_EQ(GetLastError(), DWORD(ERROR_ALREADY_EXISTS));
    ASSERT_NE(second, nullptr);
    EXPECT_NE(first, second);
    SetEvent(first);
    EXPECT_EQ(WaitForSingleObject(second, 0), DWORD(WAIT_OBJECT_0));

    EXPECT_EQ(CreateMutexA(nullptr, FALSE, "kernel-test-event"), nullptr);
    EXPECT_EQ(GetLastError(), DWORD(ERROR_INVALID_HANDLE));

    CloseHandle(first);
    CloseHandle(second);
    HANDLE fresh = CreateEventA(nullptr, TRUE, FALSE, "kernel-test-event");
    EXPECT_EQ(GetLastError(), DWORD(ERROR_SUCCESS));
    EXPECT_EQ(WaitForSingleObject(fresh, 0), DWORD(WAIT_TIMEOUT));
    CloseHandle(fresh);
}

TEST(Synchronization, BadHandlesFailCleanly) {
    HANDLE event = CreateEventA(nullptr, FALSE, FALSE, nullptr);
    EXPECT_TRUE(CloseHandle(event));
    EXPECT_FALSE(CloseHandle(event));
    EXPECT_EQ(GetLastError(), DWORD(ERROR_INVALID_HANDLE));
    EXPECT_EQ(WaitForSingleObject(event, 0), DWORD(WAIT_FAILED));
    EXPECT_FALSE(SetEvent(event));
    EXPECT_EQ(WaitForSingleObject(nullptr, INFINITE), DWORD(WAIT_FAILED));
    EXPECT_FALSE(CloseHandle(INVALID_HANDLE_VALUE));

    HANDLE mutex = CreateMutexA(nullptr, FALSE, nullptr);
    EXPECT_FALSE(SetEvent(mutex));
    EXPECT_EQ(GetLastError(), DWORD(ERROR_INVALID_HANDLE));
    EXPECT_FALSE(ReleaseMutex(nullptr));
    CloseHandle(mutex);

    HANDLE readEnd, writeEnd;
    ASSERT_TRUE(CreatePipe(&readEnd, &writeEnd, nullptr, 0));
    EXPECT_EQ(WaitForSingleObject(readEnd, 0), DWORD(WAIT_FAILED));
    CloseHandle(readEnd);
    CloseHandle(writeEnd);
}

TEST(Synchronization, ClosingAHandleDuringAWaitLetsTheWaitFinish) {
    HANDLE waited = CreateEventA(nullptr, TRUE, FALSE, "kernel-test-closed-while-waited");
    HANDLE other = CreateEventA(nullptr, TRUE, FALSE, "kernel-test-closed-while-waited");
    DWORD result = 0;
    std::thread waiter([&] { result = WaitForSingleObject(waited, INFINITE); });
    Sleep(10);
    EXPECT_TRUE(CloseHandle(waited));
    EXPECT_TRUE(SetEvent(other));
    waiter.join();
    // A waiter that only began after the close finds no handle.
    EXPECT_TRUE(result == WAIT_OBJECT_0 || result == WAIT_FAILED) << result;
    CloseHandle(other);
}

}  // namespace
