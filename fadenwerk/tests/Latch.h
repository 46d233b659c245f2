// A count-down latch for the thread tests: threads wait until it reaches zero.
#pragma once

#include <chrono>
#include <condition_variable>
#include <mutex>

class TTestLatch {
public:
    explicit TTestLatch(int count = 1) : fCount(count) {}

    void CountDown() {
        std::lock_guard<std::mutex> lock(fMutex);
        if (fCount > 0 && --fCount == 0) fChanged.notify_all();
    }

    // True once the count is zero; false when a generous time passed first,
    // so that a fault fails its test instead of hanging it.
    bool Wait(std::chrono::seconds limit = std::chrono::seconds(60)) {
        std::unique_lock<std::mutex> lock(fMutex);
        return fChanged.wait_for(lock, limit, [this] { return fCount == 0; });
    }

    void CountDownAndWait() {
        CountDown();
        Wait();
    }

private:
    std::mutex fMutex;
    std::condition_variable fChanged;
    int fCount;
};
