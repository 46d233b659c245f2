// The package's thread classes (worker, dispatcher thread, plain function),
// the processor count and the rule that turns a requested thread count into
// an actual one.
#pragma once

#include "ClassThread.h"
#include "TaskDispatcher.h"

// Each thread is created suspended, given its data, set to free itself when
// its run ends and resumed; nobody keeps a reference to it.

// Runs the worker loop of one dispatcher worker.
class TProcessThread : public TThread {
public:
    static void Start(TTaskDispatcher::TProcessTaskInfo* record);

protected:
    void Execute() override;

private:
    explicit TProcessThread(TTaskDispatcher::TProcessTaskInfo* record);
    TTaskDispatcher::TProcessTaskInfo* fRecord;
};

// Runs the dispatcher thread's loop.
class TDispatcherThread : public TThread {
public:
    static void Start(TTaskDispatcher* dispatcher);

protected:
    void Execute() override;

private:
    explicit TDispatcherThread(TTaskDispatcher* dispatcher);
    TTaskDispatcher* fDispatcher;
};

typedef void (*TThreadFunction)(void* argument);

// Calls a function once with its argument.
class TStartThread : public TThread {
public:
    static void Start(TThreadFunction function, void* argument);

protected:
    void Execute() override;

private:
    TStartThread(TThreadFunction function, void* argument);
    TThreadFunction fFunction;
    void* fArgument;
};

// Starts a thread that calls function(argument) once and frees itself; a null
// function starts nothing.
void StartThread(TThreadFunction function, void* argument);

// NUMBER_OF_PROCESSORS read as a decimal number; when it is missing or does
// not begin with a number of at least 1, the processors this process may use.
int GetNumberOfProcessors();

// With p processors: n = 0 gives p; n < 0 gives p + n, or 1 when that is
// negative (p + n = 0 gives 0); n > 0 gives p when limit is set and n > p,
// else n.
int GetThreadCount(int n, bool limit);
