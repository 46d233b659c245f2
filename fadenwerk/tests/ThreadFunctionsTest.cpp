// Tests of the processor count, the thread-count rule and StartThread.
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "Latch.h"
#include "ThreadFunctions.h"

namespace {

// Sets or removes NUMBER_OF_PROCESSORS for one test and restores it after.
class ProcessorVariable {
public:
    explicit ProcessorVariable(const char* value) {
        const char* old = std::getenv(name);
        if (old) fOld = old, fHadOld = true;
        if (value)
            setenv(name, value, 1);
        else
            unsetenv(name);
    }
    ~ProcessorVariable() {
        if (fHadOld)
            setenv(name, fOld.c_str(), 1);
        else
            unsetenv(name);
    }

private:
    static constexpr const char* name = "NUMBER_OF_PROCESSORS";
    std::string fOld;
    bool fHadOld = false;
};

int HardwareProcessors() {
    SYSTEM_INFO info{};
    GetSystemInfo(&info);
    return int(info.dwNumberOfProcessors);
}

void ExpectThreadCountTable(int p) {
    struct Case {
        int request;
        bool limit;
        int expected;
    };
    const Case cases[] = {
        {0, false, p},      {0, true, p},           {-1, false, p - 1},     {-1, true, p - 1},
        {-p, false, 0},     {-p - 1, false, 1},     {-p - 50, true, 1},     {p + 1, true, p},
        {p + 1, false, p + 1}, {p, true, p},        {1, true, 1},
    };
    for (const Case& c : cases)
        EXPECT_EQ(GetThreadCount(c.request, c.limit), c.expected) << "p " << p << " request " << c.request << " limit " << c.limit;
}

}  // namespace

TEST(ThreadFunctions, ThreadCountTableWithTheVariableSet) {
    ProcessorVariable variable("6");
    EXPECT_EQ(GetNumberOfProcessors(), 6);
    ExpectThreadCountTable(6);
}

TEST(ThreadFunctions, ThreadCountTableWithoutTheVariable) {
    ProcessorVariable variable(nullptr);
    EXPECT_EQ(GetNumberOfProcessors(), HardwareProcessors());
    ExpectThreadCountTable(HardwareProcessors());
}

TEST(ThreadFunctions, UnusableVariableFallsBackToTheHardwareCount) {
    const struct {
        const char* value;
        int expected;
    } cases[] = {{"12 cores", 12}, {" 3", 3}, {"many", -1}, {"", -1}, {"0", -1}, {"-4", -1}};
    for (const auto& c : cases) {
        ProcessorVariable variable(c.value);
        EXPECT_EQ(GetNumberOfProcessors(), c.expected < 0 ? HardwareProcessors() : c.expected) << c.value;
    }
}

TEST(ThreadFunctions, StartThreadCallsTheFunctionOnceOnAnotherThread) {
    struct Call {
        TTestLatch done;
        DWORD thread = 0;
        int calls = 0;
    } call;
    StartThread(
        [](void* argument) {
            auto* target = static_cast<Call*>(argument);
            target->thread = GetCurrentThreadId();
            ++target->calls;
            target->done.CountDown();
        },
        &call);
    ASSERT_TRUE(call.done.Wait());
    EXPECT_EQ(call.calls, 1);
    EXPECT_NE(call.thread, GetCurrentThreadId());
    StartThread(nullptr, nullptr);  // starts nothing
}
