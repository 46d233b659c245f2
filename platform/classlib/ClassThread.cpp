// TThread and the queue of Synchronize calls waiting for the user-interface thread.
#include "ClassThread.h"

#include <condition_variable>
#include <deque>
#include <mutex>

#include "Exceptions.h"

namespace {

// Read when the library loads, on the thread that loads it.
const DWORD userInterfaceThread = GetCurrentThreadId();

// One waiting Synchronize call.
struct SynchronizeRequest {
    const TThreadMethod* method = nullptr;
    bool done = false;
    std::string error;
    bool failed = false;
};

std::mutex synchronizeMutex;
std::condition_variable synchronizeDone;
std::deque<SynchronizeRequest*> synchronizeQueue;

constexpr UINT WakeMessage = WM_USER + 0x7F00;
const char* const WakeClassName = "TThreadSynchronizeWindow";
HWND wakeWindow = nullptr;

LRESULT CALLBACK WakeWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WakeMessage) {
        CheckSynchronize();
        return 0;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

// The hidden window whose message runs waiting calls; made on the user-interface thread.
void EnsureWakeWindow() {
    if (!TThread::IsUserInterfaceThread()) return;
    std::lock_guard<std::mutex> lock(synchronizeMutex);
    if (wakeWindow && IsWindow(wakeWindow)) return;
    WNDCLASSA windowClass{};
    if (!GetClassInfoA(nullptr, WakeClassName, &windowClass)) {
        windowClass.lpfnWndProc = WakeWindowProc;
        windowClass.lpszClassName = WakeClassName;
        RegisterClassA(&windowClass);
    }
    wakeWindow = CreateWindowExA(0, WakeClassName, "", 0, 0, 0, 0, 0, nullptr, nullptr, nullptr, nullptr);
}

void RunRequest(SynchronizeRequest& request) {
    try {
        (*request.method)();
    } catch (const std::exception& error) {
        request.failed = true;
        request.error = error.what();
    } catch (...) {
        request.failed = true;
    }
}

}  // namespace

bool TThread::IsUserInterfaceThread() { return GetCurrentThreadId() == userInterfaceThread; }

bool CheckSynchronize() {
    if (!TThread::IsUserInterfaceThread()) return false;
    bool ran = false;
    for (;;) {
        SynchronizeRequest* request = nullptr;
        {
            std::lock_guard<std::mutex> lock(synchronizeMutex);
            if (synchronizeQueue.empty()) return ran;
            request = synchronizeQueue.front();
            synchronizeQueue.pop_front();
        }
        RunRequest(*request);
        ran = true;
        {
            std::lock_guard<std::mutex> lock(synchronizeMutex);
            request->done = true;
        }
        synchronizeDone.notify_all();
    }
}

void TThread::Synchronize(const TThreadMethod& method) {
    if (!method) return;
    SynchronizeRequest request;
    request.method = &method;
    if (IsUserInterfaceThread()) {
        RunRequest(request);
    } else {
        HWND window;
        {
            std::lock_guard<std::mutex> lock(synchronizeMutex);
            synchronizeQueue.push_back(&request);
            window = wakeWindow;
        }
        if (!window || !PostMessageA(window, WakeMessage, 0, 0)) PostMessageA(nullptr, WakeMessage, 0, 0);
        std::unique_lock<std::mutex> lock(synchronizeMutex);
        synchronizeDone.wait(lock, [&request] { return request.done; });
    }
    if (request.failed) throw Exception(request.error);
}

TThread::TThread(bool createSuspended) {
    EnsureWakeWindow();
    handle_ = CreateThread(nullptr, 0, &TThread::ThreadStart, this, CREATE_SUSPENDED, &threadId_);
    if (!handle_) throw EOutOfResources("Thread creation error");
    if (!createSuspended) Start();
}

TThread::~TThread() {
    if (!started_) {
        abandoned_ = true;
        started_ = true;
        ResumeThread(handle_);
    } else if (!finished_) {
        Terminate();
    }
    // A thread freeing itself must not wait for itself.
    if (GetCurrentThreadId() != threadId_) WaitForSingleObject(handle_, INFINITE);
    CloseHandle(handle_);
}

void TThread::Start() {
    if (started_.exchange(true)) return;
    ResumeThread(handle_);
}

DWORD TThread::ThreadStart(void* parameter) {
    auto* thread = static_cast<TThread*>(parameter);
    if (thread->abandoned_) return 0;
    thread->RunThread();
    return 0;
}

void TThread::RunThread() {
    try {
        Execute();
    } catch (const std::exception& error) {
        fatalException_ = error.what();
        if (fatalException_.empty()) fatalException_ = "Exception in thread";
    } catch (...) {
        fatalException_ = "Exception in thread";
    }
    bool freeIt = freeOnTerminate_;
    try {
        DoTerminate();
    } catch (...) {
        // OnTerminate's failure must not stop the thread from ending.
    }
    finished_ = true;
    if (freeIt) delete this;
}

void TThread::DoTerminate() {
    if (OnTerminate) Synchronize([this] { OnTerminate(this); });
}

int TThread::WaitFor() {
    Start();
    if (IsUserInterfaceThread()) {
        while (WaitForSingleObject(handle_, 5) == WAIT_TIMEOUT) CheckSynchronize();
        CheckSynchronize();
    } else {
        WaitForSingleObject(handle_, INFINITE);
    }
    return returnValue_;
}
