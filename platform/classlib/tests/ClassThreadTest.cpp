// TThread: starting, termination, WaitFor, FreeOnTerminate, Synchronize onto the loop.
#include <gtest/gtest.h>

#include <atomic>

#include "Forms.h"
#include "display/TestDriver.h"

namespace {

// Runs a function as its Execute. Made suspended and started once complete,
// so that Execute never sees a half-made object.
class TFunctionThread : public TThread {
public:
    TFunctionThread(bool suspended, std::function<void(TFunctionThread&)> body)
        : TThread(true), body_(std::move(body)) {
        if (!suspended) Start();
    }
    using TThread::GetTerminated;
    using TThread::SetReturnValue;

protected:
    void Execute() override { body_(*this); }

private:
    std::function<void(TFunctionThread&)> body_;
};

TEST(ClassThreadTest, ASuspendedThreadRunsOnlyAfterStart) {
    std::atomic<int> runs{0};
    TFunctionThread thread(true, [&](TFunctionThread& self) {
        ++runs;
        self.SetReturnValue(42);
    });
    Sleep(20);
    EXPECT_EQ(0, runs.load());
    thread.Start();
    thread.Resume();  // no second run
    EXPECT_EQ(42, thread.WaitFor());
    EXPECT_EQ(1, runs.load());
    EXPECT_TRUE(thread.GetFinished());
}

TEST(ClassThreadTest, TerminateAsksExecuteToStop) {
    TFunctionThread thread(false, [](TFunctionThread& self) {
        while (!self.GetTerminated()) Sleep(1);
        self.SetReturnValue(7);
    });
    thread.Terminate();
    EXPECT_EQ(7, thread.WaitFor());
}

TEST(ClassThreadTest, ANeverStartedThreadIsDestroyedWithoutRunning) {
    std::atomic<int> runs{0};
    { TFunctionThread thread(true, [&](TFunctionThread&) { ++runs; }); }
    EXPECT_EQ(0, runs.load());
}

TEST(ClassThreadTest, AnExceptionInExecuteIsKeptNotThrown) {
    TFunctionThread thread(false, [](TFunctionThread&) { throw EConvertError("broken"); });
    thread.WaitFor();
    EXPECT_EQ("broken", thread.GetFatalException());
}

TEST(ClassThreadTest, SynchronizeRunsOnTheUserInterfaceThreadWhileTheLoopRuns) {
    win32::TestDriver driver;
    auto* form = Application->CreateForm<TForm>();
    std::atomic<bool> onUserInterfaceThread{false};
    std::atomic<int> synchronized{0};
    bool terminatedOnLoop = false;
    auto* thread = new TFunctionThread(true, [&](TFunctionThread&) {
        TThread::Synchronize([&] {
            onUserInterfaceThread = TThread::IsUserInterfaceThread();
            ++synchronized;
        });
        // An exception of the synchronized method comes back to the thread.
        try {
            TThread::Synchronize([] { throw EListError("from the loop"); });
        } catch (const Exception& error) {
            if (error.Message() == "from the loop") ++synchronized;
        }
    });
    thread->SetFreeOnTerminate(true);
    thread->OnTerminate = [&](TObject*) {
        terminatedOnLoop = TThread::IsUserInterfaceThread();
        form->Close();  // the main form: ends Run
    };
    form->OnShow = [&](TObject*) { thread->Start(); };
    Application->Initialize();
    Application->Run();
    EXPECT_TRUE(onUserInterfaceThread);
    EXPECT_EQ(2, synchronized.load());
    EXPECT_TRUE(terminatedOnLoop);
    Application->DestroyComponents();
}

TEST(ClassThreadTest, WaitForOnTheUserInterfaceThreadKeepsSynchronizeRunning) {
    int value = 0;
    TFunctionThread thread(false, [&](TFunctionThread&) { TThread::Synchronize([&] { value = 5; }); });
    thread.WaitFor();
    EXPECT_EQ(5, value);
    TThread::Synchronize([&] { value = 6; });  // on the user-interface thread: at once
    EXPECT_EQ(6, value);
}

}  // namespace
