// TThread: a thread of the class library with Execute, termination requests,
// waiting, and Synchronize onto the user-interface thread.
#pragma once

#include <atomic>
#include <functional>
#include <string>

#include "Events.h"
#include "Object.h"
#include "Win32.h"

using TThreadMethod = std::function<void()>;

class TThread : public TObject {
    CLASSLIB_CLASS(TThread, TObject)

public:
    // The thread exists at once but runs Execute only after Start (or Resume)
    // when createSuspended is true. With false it starts inside this
    // constructor, before a derived class is made: Execute could then run on
    // a half-made object. A derived class is therefore made suspended and
    // calls Start at the end of its own constructor when it should run at once.
    explicit TThread(bool createSuspended);
    // Asks a running thread to terminate and waits for it; a thread never
    // started ends without running Execute.
    ~TThread() override;
    TThread(const TThread&) = delete;
    TThread& operator=(const TThread&) = delete;

    // Lets a suspended thread run; nothing for one already running or ended.
    void Start();
    void Resume() { Start(); }
    // Sets Terminated; Execute is expected to look at it and return.
    void Terminate() { terminated_ = true; }
    bool GetTerminated() const { return terminated_; }
    // Waits for the thread to end and returns ReturnValue. On the user-interface
    // thread, Synchronize calls of the thread keep running meanwhile. Waiting
    // for a thread that was never started starts it.
    int WaitFor();
    bool GetFinished() const { return finished_; }
    // Delete the object when the thread ends (only when nothing waits for it).
    bool GetFreeOnTerminate() const { return freeOnTerminate_; }
    void SetFreeOnTerminate(bool value) { freeOnTerminate_ = value; }
    int GetReturnValue() const { return returnValue_; }
    DWORD GetThreadID() const { return threadId_; }
    // The message of an exception that escaped Execute; empty when none did.
    const std::string& GetFatalException() const { return fatalException_; }

    // Runs on the user-interface thread once the thread ends, before the
    // object is freed.
    TNotifyEvent OnTerminate;

    // Runs method on the user-interface thread and waits for it: at once when
    // called there, else the next time that thread handles messages, waits
    // in WaitFor or calls CheckSynchronize. An exception of method is passed
    // back to the caller as Exception.
    static void Synchronize(const TThreadMethod& method);
    // The thread that made the library's first thread object or loaded it.
    static bool IsUserInterfaceThread();

protected:
    virtual void Execute() = 0;
    void SetReturnValue(int value) { returnValue_ = value; }
    virtual void DoTerminate();

private:
    static DWORD ThreadStart(void* parameter);
    void RunThread();

    HANDLE handle_ = nullptr;
    DWORD threadId_ = 0;
    std::atomic<bool> terminated_{false};
    std::atomic<bool> finished_{false};
    std::atomic<bool> started_{false};
    std::atomic<bool> abandoned_{false};
    bool freeOnTerminate_ = false;
    int returnValue_ = 0;
    std::string fatalException_;
};

// Runs the Synchronize calls waiting for the user-interface thread; true when
// one ran. Does nothing on another thread.
bool CheckSynchronize();
