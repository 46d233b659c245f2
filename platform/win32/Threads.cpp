// Thread kernel objects on POSIX threads, thread identifiers and Sleep.
#include "Threads.h"

#include <pthread.h>

#include <atomic>
#include <cerrno>
#include <thread>

#include "KernelObject.h"

namespace win32 {
namespace {

std::atomic<DWORD> lastThreadId{0};

DWORD NewThreadId() { return ++lastThreadId; }

// 0 until the thread first asks for its identifier or CreateThread gives one.
thread_local DWORD currentThreadId = 0;

class ThreadObject : public KernelObject {
public:
    ThreadObject(LPTHREAD_START_ROUTINE start, LPVOID parameter, bool suspended)
        : start_(start), parameter_(parameter), suspendCount_(suspended ? 1 : 0), id_(NewThreadId()) {}

    DWORD Id() const { return id_; }

    DWORD Wait(DWORD milliseconds) override {
        std::unique_lock<std::mutex> lock(mutex_);
        return WaitForCondition(changed_, lock, milliseconds, [this] { return finished_; }) ? WAIT_OBJECT_0
                                                                                             : WAIT_TIMEOUT;
    }

    DWORD Resume() {
        std::lock_guard<std::mutex> lock(mutex_);
        const DWORD previous = suspendCount_;
        if (suspendCount_ > 0 && --suspendCount_ == 0) changed_.notify_all();
        return previous;
    }

    DWORD ExitCode() {
        std::lock_guard<std::mutex> lock(mutex_);
        return finished_ ? exitCode_ : DWORD(STILL_ACTIVE);
    }

    // The body of the new thread; `self` keeps the object alive until it ends.
    static void* Run(void* argument) {
        std::shared_ptr<ThreadObject> self(std::move(*static_cast<std::shared_ptr<ThreadObject>*>(argument)));
        delete static_cast<std::shared_ptr<ThreadObject>*>(argument);
        currentThreadId = self->id_;
        self->WaitUntilResumed();
        const DWORD exitCode = self->start_(self->parameter_);
        self->Finish(exitCode);
        return nullptr;
    }

private:
    void WaitUntilResumed() {
        std::unique_lock<std::mutex> lock(mutex_);
        changed_.wait(lock, [this] { return suspendCount_ == 0; });
    }

    void Finish(DWORD exitCode) {
        std::lock_guard<std::mutex> lock(mutex_);
        exitCode_ = exitCode;
        finished_ = true;
        changed_.notify_all();
    }

    const LPTHREAD_START_ROUTINE start_;
    LPVOID const parameter_;
    std::mutex mutex_;
    std::condition_variable changed_;
    DWORD suspendCount_;
    const DWORD id_;
    bool finished_ = false;
    DWORD exitCode_ = 0;
};

// Starts a detached POSIX thread for the object; false with the error set.
bool StartThread(const std::shared_ptr<ThreadObject>& thread, SIZE_T stackSize) {
    pthread_attr_t attributes;
    if (pthread_attr_init(&attributes) != 0) {
        SetLastError(ERROR_NOT_ENOUGH_MEMORY);
        return false;
    }
    pthread_attr_setdetachstate(&attributes, PTHREAD_CREATE_DETACHED);
    size_t defaultStackSize = 0;
    if (pthread_attr_getstacksize(&attributes, &defaultStackSize) == 0 && stackSize > defaultStackSize)
        pthread_attr_setstacksize(&attributes, stackSize);
    auto* argument = new std::shared_ptr<ThreadObject>(thread);
    pthread_t unused;
    const int error = pthread_create(&unused, &attributes, &ThreadObject::Run, argument);
    pthread_attr_destroy(&attributes);
    if (error == 0) return true;
    delete argument;
    SetLastError(error == EAGAIN ? ERROR_NOT_ENOUGH_MEMORY : ERROR_INVALID_PARAMETER);
    return false;
}

}  // namespace
}  // namespace win32

HANDLE CreateThread(LPSECURITY_ATTRIBUTES, SIZE_T stackSize, LPTHREAD_START_ROUTINE start, LPVOID parameter,
                    DWORD creationFlags, LPDWORD threadId) {
    if (!start) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return nullptr;
    }
    auto thread = std::make_shared<win32::ThreadObject>(start, parameter, (creationFlags & CREATE_SUSPENDED) != 0);
    if (!win32::StartThread(thread, stackSize)) return nullptr;
    if (threadId) *threadId = thread->Id();
    return win32::AddHandle(thread);
}

DWORD ResumeThread(HANDLE thread) {
    std::shared_ptr<win32::ThreadObject> object = win32::FindHandleOf<win32::ThreadObject>(thread);
    return object ? object->Resume() : DWORD(0xFFFFFFFF);
}

BOOL GetExitCodeThread(HANDLE thread, LPDWORD exitCode) {
    std::shared_ptr<win32::ThreadObject> object = win32::FindHandleOf<win32::ThreadObject>(thread);
    if (!object) return FALSE;
    if (!exitCode) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    *exitCode = object->ExitCode();
    return TRUE;
}

DWORD GetCurrentThreadId() {
    if (win32::currentThreadId == 0) win32::currentThreadId = win32::NewThreadId();
    return win32::currentThreadId;
}

void Sleep(DWORD milliseconds) {
    if (milliseconds == 0) {
        std::this_thread::yield();
        return;
    }
    if (milliseconds == INFINITE) {
        for (;;) std::this_thread::sleep_for(std::chrono::hours(24));
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(milliseconds));
}
