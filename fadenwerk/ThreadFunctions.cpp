// The package's thread classes, the processor count and the thread-count rule.
#include "ThreadFunctions.h"

#include <cstdio>
#include <string>

void TProcessThread::Start(TTaskDispatcher::TProcessTaskInfo* record) {
    auto* thread = new TProcessThread(record);
    thread->SetFreeOnTerminate(true);
    thread->Resume();
}

TProcessThread::TProcessThread(TTaskDispatcher::TProcessTaskInfo* record) : TThread(true), fRecord(record) {}

void TProcessThread::Execute() { fRecord->Dispatcher->RunWorker(*fRecord); }

void TDispatcherThread::Start(TTaskDispatcher* dispatcher) {
    auto* thread = new TDispatcherThread(dispatcher);
    thread->SetFreeOnTerminate(true);
    thread->Resume();
}

TDispatcherThread::TDispatcherThread(TTaskDispatcher* dispatcher) : TThread(true), fDispatcher(dispatcher) {}

void TDispatcherThread::Execute() { fDispatcher->RunDispatcherThread(); }

void TStartThread::Start(TThreadFunction function, void* argument) {
    auto* thread = new TStartThread(function, argument);
    thread->SetFreeOnTerminate(true);
    thread->Resume();
}

TStartThread::TStartThread(TThreadFunction function, void* argument)
    : TThread(true), fFunction(function), fArgument(argument) {}

void TStartThread::Execute() { fFunction(fArgument); }

void StartThread(TThreadFunction function, void* argument) {
    if (function != nullptr) TStartThread::Start(function, argument);
}

int GetNumberOfProcessors() {
    char value[32];
    const DWORD length = GetEnvironmentVariableA("NUMBER_OF_PROCESSORS", value, sizeof value);
    int count = 0;
    if (length > 0 && length < sizeof value && std::sscanf(value, "%d", &count) == 1 && count >= 1) return count;
    SYSTEM_INFO info{};
    GetSystemInfo(&info);
    return info.dwNumberOfProcessors >= 1 ? int(info.dwNumberOfProcessors) : 1;
}

int GetThreadCount(int n, bool limit) {
    const int processors = GetNumberOfProcessors();
    if (n == 0) return processors;
    if (n < 0) {
        const long long count = static_cast<long long>(processors) + n;
        return count < 0 ? 1 : int(count);
    }
    return limit && n > processors ? processors : n;
}
