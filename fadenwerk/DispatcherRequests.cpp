// TTaskDispatcher in dispatcher-thread mode: the requests callers send and the
// dispatcher thread's loop that answers them and the workers' finish reports.
#include <algorithm>
#include <deque>
#include <memory>

#include "TaskDispatcher.h"
#include "TaskMessages.h"

// ---- caller side ----

int TTaskDispatcher::SendAddRequest(TTask* task, TWaitMode mode, TPipe& reply) {
    task->WaitPipe = mode == wmNoWait ? nullptr : &reply;
    TPipe* replyPointer = &reply;
    TMessageWriter().Put(uint8_t(drAddTask)).Put(task).Put(int32_t(mode)).Put(replyPointer).WriteTo(fCommandChannel);
    unsigned char outcome = 2;
    reply.Read(&outcome, 1);
    return outcome;
}

bool TTaskDispatcher::AddTask(TTask* task, TWaitMode mode, bool deleteIfRejected) {
    std::vector<TTask*> tasks{task};
    return AddTasks(tasks, mode, deleteIfRejected);
}

bool TTaskDispatcher::AddTasks(std::vector<TTask*>& tasks, TWaitMode mode, bool deleteIfRejected) {
    if (mode != wmCompleted && mode != wmStarted) mode = wmNoWait;
    if (!fThreadMode) {
        for (TTask* task : tasks)
            if (deleteIfRejected) delete task;
        return std::none_of(tasks.begin(), tasks.end(), [](TTask* task) { return task != nullptr; });
    }
    return mode == wmNoWait ? AddWithoutWaiting(tasks, deleteIfRejected) : AddAndWait(tasks, mode, deleteIfRejected);
}

// One reply channel serves the whole list: the outcomes come back in the order
// of the requests. At most a window of them is outstanding, so the dispatcher
// never blocks on a full reply channel while this thread fills the command channel.
bool TTaskDispatcher::AddWithoutWaiting(std::vector<TTask*>& tasks, bool deleteIfRejected) {
    const size_t window = 1024;
    TPipe reply;
    TPipe* replyPointer = &reply;
    std::deque<TTask*> awaiting;
    bool allAccepted = true;
    auto takeOutcome = [&] {
        unsigned char outcome = 2;
        reply.Read(&outcome, 1);
        TTask* task = awaiting.front();
        awaiting.pop_front();
        if (outcome != 2) return;
        allAccepted = false;
        if (deleteIfRejected) delete task;
    };
    for (TTask* task : tasks) {
        if (task == nullptr) continue;
        task->WaitPipe = nullptr;
        if (awaiting.size() == window) takeOutcome();
        awaiting.push_back(task);
        TMessageWriter().Put(uint8_t(drAddTask)).Put(task).Put(int32_t(wmNoWait)).Put(replyPointer).WriteTo(fCommandChannel);
    }
    while (!awaiting.empty()) takeOutcome();
    return allAccepted;
}

// Each task has its own reply channel, since its notice may come at any time.
// Every task is added before any is waited for, so that they run side by side.
bool TTaskDispatcher::AddAndWait(std::vector<TTask*>& tasks, TWaitMode mode, bool deleteIfRejected) {
    bool allAccepted = true;
    std::vector<std::unique_ptr<TPipe>> waits;
    for (TTask* task : tasks) {
        if (task == nullptr) continue;
        auto reply = std::make_unique<TPipe>();
        const int outcome = SendAddRequest(task, mode, *reply);
        if (outcome == 2) {
            allAccepted = false;
            if (deleteIfRejected) delete task;
        } else if (mode == wmCompleted || outcome == 1) {
            waits.push_back(std::move(reply));
        }
    }
    for (auto& reply : waits) reply->ReadBool();
    return allAccepted;
}

void TTaskDispatcher::WaitForGroup(int group) {
    if (!fThreadMode) return;
    TPipe reply;
    TPipe* replyPointer = &reply;
    TMessageWriter().Put(uint8_t(drWaitForGroup)).Put(int32_t(group)).Put(replyPointer).WriteTo(fCommandChannel);
    reply.ReadBool();
}

void TTaskDispatcher::WaitForTask(TTask* task) {
    if (!fThreadMode || task == nullptr) return;
    TPipe reply;
    TPipe* replyPointer = &reply;
    TMessageWriter().Put(uint8_t(drWaitForTask)).Put(task).Put(replyPointer).WriteTo(fCommandChannel);
    reply.ReadBool();
}

int TTaskDispatcher::GetNextGroupID() {
    if (!fThreadMode) return fNextGroupID++;
    TPipe reply;
    TPipe* replyPointer = &reply;
    TMessageWriter().Put(uint8_t(drGetNextGroupID)).Put(replyPointer).WriteTo(fCommandChannel);
    int32_t group = 0;
    reply.Read(&group, sizeof group);
    return group;
}

void TTaskDispatcher::AddSubTask(TTask* parent, TTask* sub, bool deferred) {
    std::vector<TTask*> subs{sub};
    AddSubTask(parent, subs, deferred);
}

void TTaskDispatcher::AddSubTask(TTask* parent, TTask* first, TTask* second, bool deferred) {
    std::vector<TTask*> subs{first, second};
    AddSubTask(parent, subs, deferred);
}

void TTaskDispatcher::AddSubTask(TTask* parent, std::vector<TTask*>& subs, bool deferred) {
    if (!fThreadMode || parent == nullptr) return;
    TPipe reply;
    TPipe* replyPointer = &reply;
    auto* record = new TSubTask;
    record->Parent = parent;
    std::copy_if(subs.begin(), subs.end(), std::back_inserter(record->SubTasks), [](TTask* sub) { return sub != nullptr; });
    TMessageWriter()
        .Put(uint8_t(drAddSubTask))
        .Put(record)
        .Put(uint8_t(deferred ? 1 : 0))
        .Put(replyPointer)
        .WriteTo(fCommandChannel);
    reply.ReadBool();
}

// ---- dispatcher thread ----

void TTaskDispatcher::RunDispatcherThread() {
    for (;;) {
        uint8_t code = 0;
        if (!fCommandChannel.Read(&code, 1)) break;
        if (!HandleRequest(code)) break;
    }
    ReleaseAllWaiters();
    // The last touch of the dispatcher: its destructor goes on from here.
    TPipe* stopReply = fStopReply;
    fStopReply = nullptr;
    if (stopReply != nullptr) stopReply->WriteBool(true);
}

bool TTaskDispatcher::HandleRequest(unsigned char code) {
    switch (code) {
        case drAddTask: return HandleAddTask();
        case drFinished: return HandleFinished();
        case drStop: return HandleStop();
        case drWaitForGroup: return HandleWaitForGroup();
        case drGetNextGroupID: return HandleGetNextGroupID();
        case drAddSubTask: return HandleAddSubTask();
        case drWaitForTask: return HandleWaitForTask();
        // Any other code is a request of nothing: the next byte is a new code.
        default: return true;
    }
}

bool TTaskDispatcher::HandleAddTask() {
    TMessageReader request;
    if (!request.ReadFrom(fCommandChannel, addTaskRequestSize)) return false;
    TTaskMessage message;
    message.Task = request.Get<TTask*>();
    message.Mode = TWaitMode(request.Get<int32_t>() & 0xFF);
    message.Reply = request.Get<TPipe*>();
    if (message.Mode != wmCompleted && message.Mode != wmStarted) message.Mode = wmNoWait;
    uint8_t outcome = 2;
    if (message.Task != nullptr) outcome = uint8_t(HandOut(message, true));
    // A refused task goes back to its caller, whose reply channel is about to go.
    if (outcome == 2 && message.Task != nullptr) message.Task->WaitPipe = nullptr;
    if (message.Reply != nullptr) message.Reply->Write(&outcome, 1);
    return true;
}

bool TTaskDispatcher::HandleFinished() {
    TMessageReader report;
    if (!report.ReadFrom(fCommandChannel, finishedRequestSize)) return false;
    const int worker = report.Get<int32_t>();
    TTask* task = report.Get<TTask*>();
    if (task == nullptr) return true;
    TPipe* waiter = task->WaitPipe;
    // Only a task that has nothing left pending has completed; a mode-0 caller
    // hears of it then, and its channel is forgotten at once.
    const bool notify = waiter != nullptr && task->PendingSubTasks == 0 && task->PendingDependencies == 0 &&
                        std::none_of(fDeferredRecords.begin(), fDeferredRecords.end(),
                                     [task](const TSubTask* record) { return record->Parent == task; });
    if (notify) task->WaitPipe = nullptr;
    DeleteTask(task);
    // From here on the task may be gone.
    if (notify) waiter->WriteBool(true);
    FreeWorker(worker);
    FillFreeWorkers();
    AnswerIdleWaiters(task);
    return !StopCanBeAnswered();
}

bool TTaskDispatcher::HandleStop() {
    TMessageReader request;
    if (!request.ReadFrom(fCommandChannel, replyOnlyRequestSize)) return false;
    fStopReply = request.Get<TPipe*>();
    return !StopCanBeAnswered();
}

// Once no worker is busy nothing queued can start (it would have been), so a
// waiting stop is answered even when tasks wait for dependencies that never end.
bool TTaskDispatcher::StopCanBeAnswered() { return fStopReply != nullptr && GetNumberOfWorkingThreads() == 0; }

bool TTaskDispatcher::HandleWaitForGroup() {
    TMessageReader request;
    if (!request.ReadFrom(fCommandChannel, waitForGroupRequestSize)) return false;
    const int group = request.Get<int32_t>();
    TPipe* reply = request.Get<TPipe*>();
    if (reply == nullptr) return true;
    if (IsGroupBusy(group))
        fGroupWaiters[group].push_back(reply);
    else
        reply->WriteBool(true);
    return true;
}

bool TTaskDispatcher::HandleGetNextGroupID() {
    TMessageReader request;
    if (!request.ReadFrom(fCommandChannel, replyOnlyRequestSize)) return false;
    TPipe* reply = request.Get<TPipe*>();
    const int32_t group = fNextGroupID++;
    if (reply != nullptr) reply->Write(&group, sizeof group);
    return true;
}

bool TTaskDispatcher::HandleAddSubTask() {
    TMessageReader request;
    if (!request.ReadFrom(fCommandChannel, addSubTaskRequestSize)) return false;
    std::unique_ptr<TSubTask> record(request.Get<TSubTask*>());
    const bool deferred = request.Get<uint8_t>() != 0;
    TPipe* reply = request.Get<TPipe*>();
    TTask* parent = record ? record->Parent : nullptr;
    if (parent != nullptr && deferred && !record->SubTasks.empty()) {
        parent->PendingSubTasks = int(record->SubTasks.size());
        fDeferredRecords.push_back(record.release());
    } else if (parent != nullptr && !deferred) {
        parent->PendingSubTasks = int(record->SubTasks.size());
        for (TTask* sub : record->SubTasks) {
            sub->Parent = parent;
            HandOut({sub, wmNoWait, nullptr}, false);
        }
        HandOut({parent, wmNoWait, nullptr}, false);
    }
    if (reply != nullptr) reply->WriteBool(true);
    return true;
}

bool TTaskDispatcher::HandleWaitForTask() {
    TMessageReader request;
    if (!request.ReadFrom(fCommandChannel, waitForTaskRequestSize)) return false;
    TTask* task = request.Get<TTask*>();
    TPipe* reply = request.Get<TPipe*>();
    if (reply == nullptr) return true;
    if (task != nullptr && IsTaskKnown(task))
        fTaskWaiters[task].push_back(reply);
    else
        reply->WriteBool(true);
    return true;
}

void TTaskDispatcher::AnswerIdleWaiters(TTask* finished) {
    for (auto waiters = fGroupWaiters.begin(); waiters != fGroupWaiters.end();) {
        if (IsGroupBusy(waiters->first)) {
            ++waiters;
            continue;
        }
        for (TPipe* reply : waiters->second) reply->WriteBool(true);
        waiters = fGroupWaiters.erase(waiters);
    }
    // Only the task whose run ended can have left the dispatcher.
    auto waiters = fTaskWaiters.find(finished);
    if (waiters != fTaskWaiters.end() && !IsTaskKnown(finished)) {
        for (TPipe* reply : waiters->second) reply->WriteBool(true);
        fTaskWaiters.erase(waiters);
    }
}

void TTaskDispatcher::ReleaseAllWaiters() {
    for (auto& waiters : fGroupWaiters)
        for (TPipe* reply : waiters.second) reply->WriteBool(true);
    for (auto& waiters : fTaskWaiters)
        for (TPipe* reply : waiters.second) reply->WriteBool(true);
    fGroupWaiters.clear();
    fTaskWaiters.clear();
    // Callers of AddTask whose tasks can never run any more.
    auto release = [](TTask* task) {
        if (task == nullptr || task->WaitPipe == nullptr) return;
        TPipe* waiter = task->WaitPipe;
        task->WaitPipe = nullptr;
        waiter->WriteBool(true);
    };
    for (int i = 0; i < fPendingCount; ++i) release(GetPendingTask(i)->Task);
    for (TTask* parent : fWaitingParents) release(parent);
}
