// TTaskDispatcher: construction and shutdown, the worker loop, the synchronous
// run, the pending queue, the end of a task's run and the container sort runner.
#include "TaskDispatcher.h"

#include <algorithm>
#include <functional>
#include <memory>

#include "TaskMessages.h"
#include "ThreadFunctions.h"

namespace {

const int initialPendingCapacity = 128;

// One job of a background sort stage.
class TJobTask : public TTaskDispatcher::TTask {
public:
    TJobTask(TContainerSortRunner::TJob job, int group) : fJob(std::move(job)) { GroupID = group; }
    void Execute() override { fJob(); }

private:
    TContainerSortRunner::TJob fJob;
};

using TStages = std::vector<std::vector<TContainerSortRunner::TJob>>;

std::vector<TTaskDispatcher::TTask*> MakeJobTasks(std::vector<TContainerSortRunner::TJob>& jobs, int group) {
    std::vector<TTaskDispatcher::TTask*> tasks;
    tasks.reserve(jobs.size());
    for (auto& job : jobs) tasks.push_back(new TJobTask(std::move(job), group));
    return tasks;
}

// Drives a background sort: its run k hands out stage k as deferred sub-tasks,
// so the next run, and with it the next stage, follows only when all have ended.
class TStageTask : public TTaskDispatcher::TTask {
public:
    TStageTask(TStages stages, int group) : fStages(std::move(stages)) { GroupID = group; }
    void Execute() override {
        if (RunCount >= int(fStages.size())) return;
        std::vector<TTask*> jobs = MakeJobTasks(fStages[size_t(RunCount)], GroupID);
        AddSubTask(jobs, true);
    }
    void RunHere() {
        for (auto& stage : fStages)
            for (auto& job : stage) job();
    }

private:
    TStages fStages;
};

}  // namespace

// ---- tasks ----

TTaskDispatcher::TTask::~TTask() = default;

void TTaskDispatcher::TTask::Execute() {}

void TTaskDispatcher::TTask::AddSubTask(TTask* sub, bool deferred) {
    std::vector<TTask*> subs{sub};
    AddSubTask(subs, deferred);
}

void TTaskDispatcher::TTask::AddSubTask(TTask* first, TTask* second, bool deferred) {
    std::vector<TTask*> subs{first, second};
    AddSubTask(subs, deferred);
}

void TTaskDispatcher::TTask::AddSubTask(std::vector<TTask*>& subs, bool deferred) {
    if (TaskInfo == nullptr || TaskInfo->Dispatcher == nullptr) return;
    TaskInfo->Dispatcher->AddSubTask(this, subs, deferred);
}

void TTaskDispatcher::TTask::AddDependingTask(TTask* task) {
    if (task == nullptr) return;
    DependingTasks.push_back(task);
    ++task->PendingDependencies;
}

// ---- construction and shutdown ----

TTaskDispatcher::TTaskDispatcher(int threads) {
    fMaxPending = -1;
    CreateThreads(threads);
}

TTaskDispatcher::TTaskDispatcher(int threads, int maxPending) {
    fThreadMode = true;
    fMaxPending = maxPending < 0 ? -2 : maxPending;
    CreateThreads(threads);
    try {
        TDispatcherThread::Start(this);
    } catch (...) {
        StopWorkers();
        throw;
    }
}

TTaskDispatcher::~TTaskDispatcher() { Shutdown(); }

void TTaskDispatcher::Shutdown() {
    if (fShutDown) return;
    fShutDown = true;
    if (fThreadMode) {
        TPipe reply;
        TPipe* replyPointer = &reply;
        TMessageWriter().Put(uint8_t(drStop)).Put(replyPointer).WriteTo(fCommandChannel);
        reply.ReadBool();
    }
    StopWorkers();
    for (TSubTask* record : fDeferredRecords) delete record;
}

void TTaskDispatcher::CreateThreads(int n) {
    // Without a worker, Execute and every queued task would wait for ever.
    n = std::max(n, 1);
    fThreadCount = n;
    fBusyFlags.assign(size_t(n), 0);
    fRunningTasks.assign(size_t(n), nullptr);
    fRunningGroups.assign(size_t(n), 0);
    fNextGroupID = 0;
    fWorkerRecords.resize(size_t(n));
    fWorkerChannels.resize(size_t(n));
    fPendingQueue.assign(initialPendingCapacity, TTaskMessage());
    fPendingCount = 0;
    fPendingHead = 0;
    for (int i = 0; i < n; ++i) {
        fWorkerRecords[size_t(i)] = {i, this};
        try {
            TProcessThread::Start(&fWorkerRecords[size_t(i)]);
        } catch (...) {
            // The system gives no more threads: work with those that started.
            if (i == 0) throw;
            fThreadCount = i;
            return;
        }
    }
}

void TTaskDispatcher::StopWorkers() {
    for (int i = 0; i < fThreadCount; ++i)
        TMessageWriter().Put(int32_t(wcEnd)).Put(static_cast<TTask*>(nullptr)).WriteTo(fWorkerChannels[size_t(i)]);
    TMessageReader report;
    for (int i = 0; i < fThreadCount; ++i) report.ReadFrom(fCommandChannel, synchronousReportSize);
}

void TTaskDispatcher::RunWorker(TProcessTaskInfo& record) {
    TPipe& channel = fWorkerChannels[size_t(record.Index)];
    TMessageReader message;
    while (message.ReadFrom(channel, workerMessageSize)) {
        const int32_t code = message.Get<int32_t>();
        TTask* task = message.Get<TTask*>();
        if (code == wcEnd) break;
        if (code != wcRun || task == nullptr) continue;
        task->TaskInfo = &record;
        try {
            task->Execute();
        } catch (...) {
            // A failed task still ends its run; the worker must report it.
        }
        TMessageWriter report;
        if (fThreadMode) report.Put(uint8_t(drFinished));
        report.Put(int32_t(record.Index)).Put(task).WriteTo(fCommandChannel);
    }
    TMessageWriter().Put(int32_t(record.Index)).Put(static_cast<TTask*>(nullptr)).WriteTo(fCommandChannel);
}

// ---- synchronous mode ----

void TTaskDispatcher::Execute(std::vector<TTask*>& tasks, bool deleteTasks) {
    if (!fThreadMode) RunTasks(tasks, deleteTasks, true);
}

void TTaskDispatcher::TaskFinished(TTask*) {}

bool TTaskDispatcher::StopProcess() { return false; }

void TTaskDispatcher::RunTasks(std::vector<TTask*>& tasks, bool deleteTasks, bool notify) {
    TMessageReader report;
    for (TTask* task : tasks) {
        if (task == nullptr) continue;
        int worker = GetFirstFreeThreadIndex();
        if (worker < 0) {
            if (!report.ReadFrom(fCommandChannel, synchronousReportSize)) break;
            worker = report.Get<int32_t>();
            TTask* finished = report.Get<TTask*>();
            FreeWorker(worker);
            bool stop = false;
            if (notify) {
                TaskFinished(finished);
                stop = StopProcess();
            }
            if (deleteTasks) DeleteTask(finished);
            if (stop) break;
        }
        StartOnWorker(worker, task);
    }
    FinishWorkingThreads(deleteTasks, notify);
}

void TTaskDispatcher::WaitForWorkingThreads(bool deleteTasks) { FinishWorkingThreads(deleteTasks, true); }

void TTaskDispatcher::FinishWorkingThreads(bool deleteTasks, bool notify) {
    TMessageReader report;
    for (int busy = GetNumberOfWorkingThreads(); busy > 0; --busy) {
        if (!report.ReadFrom(fCommandChannel, synchronousReportSize)) return;
        const int worker = report.Get<int32_t>();
        TTask* finished = report.Get<TTask*>();
        FreeWorker(worker);
        if (notify) TaskFinished(finished);
        if (deleteTasks) delete finished;
    }
}

// ---- workers and groups ----

int TTaskDispatcher::GetFirstFreeThreadIndex() const {
    for (int i = 0; i < fThreadCount; ++i)
        if (fBusyFlags[size_t(i)] == 0) return i;
    return -1;
}

int TTaskDispatcher::GetNumberOfWorkingThreads() const {
    return int(std::count_if(fBusyFlags.begin(), fBusyFlags.end(), [](int flag) { return flag != 0; }));
}

void TTaskDispatcher::StartOnWorker(int worker, TTask* task) {
    fBusyFlags[size_t(worker)] = 1;
    fRunningTasks[size_t(worker)] = task;
    fRunningGroups[size_t(worker)] = task->GroupID;
    ChangeGroupLoad(task->GroupID, +1);
    TMessageWriter().Put(int32_t(wcRun)).Put(task).WriteTo(fWorkerChannels[size_t(worker)]);
}

void TTaskDispatcher::FreeWorker(int worker) {
    if (worker < 0 || worker >= fThreadCount || fBusyFlags[size_t(worker)] == 0) return;
    fBusyFlags[size_t(worker)] = 0;
    fRunningTasks[size_t(worker)] = nullptr;
    ChangeGroupLoad(fRunningGroups[size_t(worker)], -1);
}

void TTaskDispatcher::ChangeGroupLoad(int group, int change) {
    if (!fThreadMode) return;
    const int load = fGroupLoad[group] += change;
    if (load <= 0) fGroupLoad.erase(group);
}

bool TTaskDispatcher::IsGroupBusy(int group) const { return fGroupLoad.count(group) != 0; }

bool TTaskDispatcher::IsTaskKnown(const TTask* task) const {
    if (std::find(fRunningTasks.begin(), fRunningTasks.end(), task) != fRunningTasks.end()) return true;
    if (std::find(fWaitingParents.begin(), fWaitingParents.end(), task) != fWaitingParents.end()) return true;
    return fQueuedTasks.count(const_cast<TTask*>(task)) != 0;
}

void TTaskDispatcher::AddWaitingParent(TTask* task) {
    fWaitingParents.push_back(task);
    ChangeGroupLoad(task->GroupID, +1);
}

bool TTaskDispatcher::RemoveWaitingParent(TTask* task) {
    auto found = std::find(fWaitingParents.begin(), fWaitingParents.end(), task);
    if (found == fWaitingParents.end()) return false;
    fWaitingParents.erase(found);
    ChangeGroupLoad(task->GroupID, -1);
    return true;
}

// ---- handing out and the pending queue ----

int TTaskDispatcher::HandOut(const TTaskMessage& message, bool limited) {
    TTask* task = message.Task;
    const int worker = GetFirstFreeThreadIndex();
    if (worker < 0 || task->PendingSubTasks != 0 || task->PendingDependencies != 0) {
        if (limited && fMaxPending >= 0 && fPendingCount >= fMaxPending) return 2;
        PushPendingTask(message);
        return 1;
    }
    if ((message.Mode & 0xFF) == wmStarted) task->WaitPipe = nullptr;
    StartOnWorker(worker, task);
    return 0;
}

void TTaskDispatcher::FillFreeWorkers() {
    TTaskMessage entry;
    for (int free = fThreadCount - GetNumberOfWorkingThreads(); free > 0 && PopPendingTask(entry); --free) {
        if ((entry.Mode & 0xFF) == wmStarted && entry.Task->WaitPipe != nullptr) {
            TPipe* waiter = entry.Task->WaitPipe;
            entry.Task->WaitPipe = nullptr;
            waiter->WriteBool(true);
        }
        StartOnWorker(GetFirstFreeThreadIndex(), entry.Task);
    }
}

void TTaskDispatcher::PushPendingTask(const TTaskMessage& message) {
    const int capacity = GetPendingCapacity();
    if (fPendingCount == capacity) {
        std::vector<TTaskMessage> grown(size_t(capacity) * 2);
        for (int i = 0; i < fPendingCount; ++i) grown[size_t(i)] = fPendingQueue[size_t((fPendingHead + i) % capacity)];
        fPendingQueue.swap(grown);
        fPendingHead = 0;
    }
    const long long sequence = fHeadSequence + fPendingCount;
    fPendingQueue[size_t((fPendingHead + fPendingCount) % GetPendingCapacity())] = message;
    ++fPendingCount;
    TTask* task = message.Task;
    if (task == nullptr) return;
    ChangeGroupLoad(task->GroupID, +1);
    fQueuedTasks[task] = sequence;
    if (IsRunnable(task)) fRunnableEntries.push(sequence);
}

TTaskDispatcher::TTaskMessage* TTaskDispatcher::GetPendingTask(int i) {
    if (i < 0 || i >= fPendingCount) return nullptr;
    return &fPendingQueue[size_t((fPendingHead + i) % GetPendingCapacity())];
}

bool TTaskDispatcher::IsRunnable(const TTask* task) { return task->PendingSubTasks == 0 && task->PendingDependencies == 0; }

void TTaskDispatcher::NoteRunnable(TTask* task) {
    auto queued = fQueuedTasks.find(task);
    if (queued != fQueuedTasks.end() && IsRunnable(task)) fRunnableEntries.push(queued->second);
}

// The runnable entry nearest the head is the smallest sequence number noted;
// numbers of entries that have gone or cannot run any more are dropped.
bool TTaskDispatcher::PopPendingTask(TTaskMessage& message) {
    while (!fRunnableEntries.empty()) {
        const long long sequence = fRunnableEntries.top();
        fRunnableEntries.pop();
        const int offset = int(sequence - fHeadSequence);
        TTaskMessage* entry = GetPendingTask(offset);
        if (entry == nullptr || entry->Task == nullptr || !IsRunnable(entry->Task)) continue;
        TTask* task = entry->Task;
        message = *entry;
        entry->Task = nullptr;
        ChangeGroupLoad(task->GroupID, -1);
        auto queued = fQueuedTasks.find(task);
        if (queued != fQueuedTasks.end() && queued->second == sequence) fQueuedTasks.erase(queued);
        if (offset == 0) {
            // Advance the head past this entry and the emptied ones after it.
            int passed = 1;
            while (passed < fPendingCount && GetPendingTask(passed)->Task == nullptr) ++passed;
            fPendingCount -= passed;
            fPendingHead = (fPendingHead + passed) % GetPendingCapacity();
            fHeadSequence += passed;
        }
        return true;
    }
    return false;
}

// ---- the end of a run ----

bool TTaskDispatcher::DeleteTask(TTask* task) {
    auto record = std::find_if(fDeferredRecords.begin(), fDeferredRecords.end(),
                               [task](const TSubTask* deferred) { return deferred->Parent == task; });
    if (record != fDeferredRecords.end()) {
        TSubTask* deferred = *record;
        fDeferredRecords.erase(record);
        task->PendingSubTasks = int(deferred->SubTasks.size());
        AddWaitingParent(task);
        for (TTask* sub : deferred->SubTasks) {
            sub->Parent = task;
            HandOut({sub, wmNoWait, nullptr}, false);
        }
        delete deferred;
        return false;
    }
    TTask* parent = task->Parent;
    if (parent != nullptr && task->PendingSubTasks == 0 && task->PendingDependencies == 0 &&
        parent->PendingSubTasks > 0 && --parent->PendingSubTasks == 0) {
        ++parent->RunCount;
        NoteRunnable(parent);
        if (RemoveWaitingParent(parent)) HandOut({parent, wmNoWait, nullptr}, false);
    }
    if (task->PendingSubTasks != 0 || task->PendingDependencies != 0) {
        if (task->PendingDependencies != 0) HandOut({task, wmNoWait, nullptr}, false);
        return true;
    }
    for (TTask* depending : task->DependingTasks)
        if (--depending->PendingDependencies == 0) NoteRunnable(depending);
    delete task;
    return true;
}

// ---- background sorting ----

void TTaskDispatcher::RunStages(int group, std::vector<std::vector<TJob>> stages) {
    stages.erase(std::remove_if(stages.begin(), stages.end(), [](const std::vector<TJob>& stage) { return stage.empty(); }),
                 stages.end());
    if (stages.empty()) return;
    if (!fThreadMode) {
        for (auto& stage : stages) {
            std::vector<TTask*> tasks = MakeJobTasks(stage, group);
            RunTasks(tasks, true, false);
        }
        return;
    }
    auto* driver = new TStageTask(std::move(stages), group);
    if (!AddTask(driver, wmNoWait, false)) {
        driver->RunHere();
        delete driver;
    }
}
