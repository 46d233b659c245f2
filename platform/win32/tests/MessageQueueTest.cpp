// The message queue: posting and sending across threads, order of posted,
// quit, paint and timer messages, filters, nested loops and timers.
#include <gtest/gtest.h>

#include <atomic>
#include <thread>

#include "MessageRecorder.h"
#include "Win32.h"
#include "display/TestDriver.h"

namespace {

class MessageQueueTest : public ::testing::Test {
protected:
    void SetUp() override {
        recorder.Reset();
        window = CreateWindowExA(0, MessageRecorder::ClassName(), "queue", WS_POPUP | WS_VISIBLE, 0, 0, 100, 80,
                                 nullptr, nullptr, nullptr, nullptr);
        ASSERT_NE(window, nullptr);
        driver.PumpUntilIdle();
        recorder.messages.clear();
    }
    // Handlers capture the test's locals; windows destroyed afterwards must not reach them.
    void TearDown() override { recorder.handler = nullptr; }
    win32::TestDriver driver;
    MessageRecorder& recorder = MessageRecorder::Instance();
    HWND window = nullptr;
};

TEST_F(MessageQueueTest, PostFromOtherThreadsArrivesOnTheInterfaceThread) {
    const std::thread::id interfaceThread = std::this_thread::get_id();
    std::atomic<int> wrongThread{0};
    recorder.handler = [&](HWND, UINT message, WPARAM, LPARAM, LRESULT*) {
        if (message >= WM_USER && std::this_thread::get_id() != interfaceThread) ++wrongThread;
        return false;
    };
    const int threads = 4, perThread = 200;
    std::vector<std::thread> posters;
    for (int t = 0; t < threads; ++t)
        posters.emplace_back([&, t] {
            for (int i = 0; i < perThread; ++i) EXPECT_TRUE(PostMessageA(window, WM_USER + 1, WPARAM(t), LPARAM(i)));
        });
    std::vector<int> nextOfThread(threads, 0);
    MSG msg;
    int received = 0;
    while (received < threads * perThread && GetMessageA(&msg, nullptr, 0, 0)) {
        DispatchMessageA(&msg);
        if (msg.message != WM_USER + 1) continue;
        EXPECT_EQ(msg.hwnd, window);
        // Each thread's messages keep their order.
        EXPECT_EQ(msg.lParam, nextOfThread[msg.wParam]++);
        ++received;
    }
    for (std::thread& poster : posters) poster.join();
    EXPECT_EQ(received, threads * perThread);
    EXPECT_EQ(wrongThread, 0);
}

TEST_F(MessageQueueTest, SendFromOtherThreadRunsOnInterfaceThreadAndReturnsTheResult) {
    const std::thread::id interfaceThread = std::this_thread::get_id();
    bool ranOnInterfaceThread = false;
    bool sawInSendMessage = false;
    recorder.handler = [&](HWND, UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result) {
        if (message != WM_USER + 7) return false;
        ranOnInterfaceThread = std::this_thread::get_id() == interfaceThread;
        sawInSendMessage = InSendMessage() != FALSE;
        *result = LRESULT(wParam) + lParam;
        return true;
    };
    LRESULT answer = 0;
    std::thread sender([&] {
        answer = SendMessageA(window, WM_USER + 7, 2, 40);
        PostMessageA(window, WM_USER + 8, 0, 0);
    });
    MSG msg;
    while (GetMessageA(&msg, nullptr, 0, 0)) {
        DispatchMessageA(&msg);
        if (msg.message == WM_USER + 8) break;
    }
    sender.join();
    EXPECT_EQ(answer, 42);
    EXPECT_TRUE(ranOnInterfaceThread);
    EXPECT_TRUE(sawInSendMessage);
    EXPECT_FALSE(InSendMessage());
}

TEST_F(MessageQueueTest, WaitMessageWakesForAPostFromAnotherThread) {
    std::thread poster([&] {
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
        PostMessageA(window, WM_USER + 3, 0, 0);
    });
    EXPECT_TRUE(WaitMessage());
    MSG msg;
    ASSERT_TRUE(PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE));
    EXPECT_EQ(msg.message, UINT(WM_USER + 3));
    poster.join();
}

TEST_F(MessageQueueTest, SendToAWindowDestroyedBeforeItRunsReturnsZero) {
    std::atomic<bool> queued{false};
    LRESULT answer = -1;
    std::thread sender([&] {
        queued = true;
        answer = SendMessageA(window, WM_USER + 9, 0, 0);
    });
    while (!queued) std::this_thread::yield();
    // Give the sender time to queue its message, then destroy the window unseen.
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
    DestroyWindow(window);
    sender.join();
    EXPECT_EQ(answer, 0);
    EXPECT_EQ(PostMessageA(window, WM_USER, 0, 0), FALSE);
}

TEST_F(MessageQueueTest, PostedBeforePaintBeforeTimerAndQuitAfterPosted) {
    SetTimer(window, 1, 10, nullptr);
    driver.Advance(0);
    recorder.messages.clear();
    InvalidateRect(window, nullptr, TRUE);
    PostMessageA(window, WM_USER, 0, 0);
    PostQuitMessage(3);
    PostMessageA(window, WM_USER + 1, 0, 0);
    MSG msg;
    std::vector<UINT> order;
    while (GetMessageA(&msg, nullptr, 0, 0)) {
        order.push_back(msg.message);
        DispatchMessageA(&msg);
    }
    EXPECT_EQ(msg.message, UINT(WM_QUIT));
    EXPECT_EQ(msg.wParam, 3u);
    EXPECT_EQ(order, (std::vector<UINT>{WM_USER, WM_USER + 1}));
    // Quit is taken once; then paint comes before the due timer.
    driver.Advance(10);
    EXPECT_EQ(recorder.Numbers({WM_PAINT, WM_TIMER}), (std::vector<UINT>{WM_PAINT, WM_TIMER}));
    EXPECT_FALSE(driver.QuitSeen());
}

TEST_F(MessageQueueTest, PaintComesOnlyWhileTheRegionIsInvalid) {
    InvalidateRect(window, nullptr, FALSE);
    MSG msg;
    ASSERT_TRUE(PeekMessageA(&msg, nullptr, 0, 0, PM_NOREMOVE));
    EXPECT_EQ(msg.message, UINT(WM_PAINT));
    DispatchMessageA(&msg);  // the recorder lets DefWindowProcA validate
    EXPECT_FALSE(PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE));
    // A procedure that never validates keeps getting WM_PAINT.
    recorder.handler = [](HWND, UINT message, WPARAM, LPARAM, LRESULT*) { return message == WM_PAINT; };
    InvalidateRect(window, nullptr, FALSE);
    for (int i = 0; i < 3; ++i) {
        ASSERT_TRUE(PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE));
        EXPECT_EQ(msg.message, UINT(WM_PAINT));
        DispatchMessageA(&msg);
    }
    ValidateRect(window, nullptr);
    EXPECT_FALSE(PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE));
}

TEST_F(MessageQueueTest, FiltersByWindowAndRange) {
    HWND other = CreateWindowExA(0, MessageRecorder::ClassName(), "other", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr,
                                 nullptr, nullptr);
    PostMessageA(other, WM_USER, 0, 0);
    PostMessageA(window, WM_USER + 2, 0, 0);
    PostMessageA(window, WM_USER + 1, 0, 0);
    MSG msg;
    ASSERT_TRUE(PeekMessageA(&msg, window, WM_USER + 1, WM_USER + 1, PM_REMOVE));
    EXPECT_EQ(msg.message, UINT(WM_USER + 1));
    ASSERT_TRUE(PeekMessageA(&msg, window, 0, 0, PM_NOREMOVE));
    EXPECT_EQ(msg.message, UINT(WM_USER + 2));
    ASSERT_TRUE(PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE));
    EXPECT_EQ(msg.hwnd, other);
    EXPECT_EQ(GetMessageA(nullptr, nullptr, 0, 0), -1);
}

TEST_F(MessageQueueTest, NestedLoopRunsOverTheSameQueue) {
    std::vector<UINT> seenInside;
    recorder.handler = [&](HWND hwnd, UINT message, WPARAM, LPARAM, LRESULT*) {
        if (message != WM_USER) return false;
        PostMessageA(hwnd, WM_USER + 2, 0, 0);
        MSG msg;
        while (GetMessageA(&msg, nullptr, 0, 0)) {
            seenInside.push_back(msg.message);
            DispatchMessageA(&msg);
            if (msg.message == WM_USER + 2) break;
        }
        return true;
    };
    PostMessageA(window, WM_USER, 0, 0);
    PostMessageA(window, WM_USER + 1, 0, 0);
    driver.PumpUntilIdle();
    EXPECT_EQ(seenInside, (std::vector<UINT>{WM_USER + 1, WM_USER + 2}));
}

TEST_F(MessageQueueTest, TimersFireUnderTheTestClock) {
    EXPECT_EQ(SetTimer(window, 7, 100, nullptr), 7u);
    driver.Advance(99);
    EXPECT_TRUE(recorder.Only({WM_TIMER}).empty());
    driver.Advance(1);
    ASSERT_EQ(recorder.Only({WM_TIMER}).size(), 1u);
    EXPECT_EQ(recorder.Only({WM_TIMER})[0].wParam, 7u);
    driver.Advance(350);
    EXPECT_EQ(recorder.Only({WM_TIMER}).size(), 4u);
    // Resetting restarts the interval; killing stops it.
    SetTimer(window, 7, 1000, nullptr);
    driver.Advance(999);
    EXPECT_EQ(recorder.Only({WM_TIMER}).size(), 4u);
    EXPECT_TRUE(KillTimer(window, 7));
    EXPECT_FALSE(KillTimer(window, 7));
    driver.Advance(5000);
    EXPECT_EQ(recorder.Only({WM_TIMER}).size(), 4u);
}

int procedureCalls = 0;
void CALLBACK CountingTimerProcedure(HWND, UINT message, UINT_PTR, DWORD) {
    if (message == WM_TIMER) ++procedureCalls;
}

TEST_F(MessageQueueTest, TimerProcedureRunsInsteadOfTheWindow) {
    procedureCalls = 0;
    const UINT_PTR id = SetTimer(nullptr, 0, 50, CountingTimerProcedure);
    EXPECT_NE(id, 0u);
    SetTimer(window, 2, 50, CountingTimerProcedure);
    driver.Advance(100);
    EXPECT_EQ(procedureCalls, 4);
    EXPECT_TRUE(recorder.Only({WM_TIMER}).empty());
    EXPECT_TRUE(KillTimer(nullptr, id));
    // A posted WM_TIMER naming a procedure that is no live timer's calls nothing.
    PostMessageA(window, WM_TIMER, 99, reinterpret_cast<LPARAM>(CountingTimerProcedure));
    driver.PumpUntilIdle();
    EXPECT_EQ(procedureCalls, 4);
    DestroyWindow(window);  // its timer goes with it
    driver.Advance(100);
    EXPECT_EQ(procedureCalls, 4);
    EXPECT_EQ(SetTimer(window, 1, 10, nullptr), 0u);
}

}  // namespace
