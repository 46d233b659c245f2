// TTaskDispatcher: runs tasks on a fixed pool of worker threads, either for a
// caller inside Execute (synchronous mode) or in the background under a
// dispatcher thread that owns all scheduling state (dispatcher-thread mode).
#pragma once

#include <functional>
#include <map>
#include <queue>
#include <unordered_map>
#include <vector>

#include "Container.h"
#include "Pipe.h"

class TProcessThread;
class TDispatcherThread;

class TTaskDispatcher : public TContainerSortRunner {
public:
    class TTask;

    // One per worker, owned by the dispatcher; a running task reaches its
    // worker's index and its dispatcher through TTask::TaskInfo.
    struct TProcessTaskInfo {
        int Index = 0;
        TTaskDispatcher* Dispatcher = nullptr;
    };

    // How AddTask waits. ORDER: the numbers travel in requests.
    enum TWaitMode {
        wmCompleted = 0,  // until the task has completed
        wmNoWait = 1,     // not at all
        wmStarted = 2,    // until the task has started
    };

    // An entry of the pending queue and the payload of an add-task request.
    struct TTaskMessage {
        TTask* Task = nullptr;
        TWaitMode Mode = wmNoWait;
        TPipe* Reply = nullptr;
    };

    // A list of sub-tasks for one parent; made by the caller with new and owned
    // by the dispatcher from the moment it reads the request.
    struct TSubTask {
        TTask* Parent = nullptr;
        std::vector<TTask*> SubTasks;
    };

    // A unit of work. The caller sets GroupID and the dependencies before it
    // hands the task over and leaves every field alone afterwards; from then on
    // the dispatcher destroys it once it has completed.
    class TTask {
    public:
        TTask() = default;
        TTask(const TTask&) = delete;
        TTask& operator=(const TTask&) = delete;
        // Destroys the DependingTasks list, not the tasks in it.
        virtual ~TTask();
        // The work, run on a worker thread; empty here.
        virtual void Execute();

        // From within Execute: attach sub-tasks to this task (see
        // TTaskDispatcher::AddSubTask). Nothing happens outside a run.
        void AddSubTask(TTask* sub, bool deferred);
        void AddSubTask(TTask* first, TTask* second, bool deferred);
        void AddSubTask(std::vector<TTask*>& subs, bool deferred);
        // task runs only after this one has completed. Works on the two objects
        // directly, so both must still be the caller's; null is ignored.
        void AddDependingTask(TTask* task);

        int GroupID = 0;
        // Raised each time all sub-tasks have completed, before the next run.
        int RunCount = 0;
        int PendingSubTasks = 0;
        int PendingDependencies = 0;
        // The worker running the task; written before each run.
        TProcessTaskInfo* TaskInfo = nullptr;
        TTask* Parent = nullptr;
        // Reply channel of a caller waiting for this task.
        TPipe* WaitPipe = nullptr;
        // Tasks that depend on this one; not owned.
        std::vector<TTask*> DependingTasks;
    };

    // Synchronous mode with max(threads, 1) workers, or as many as the system
    // gives (EOutOfResources when it gives none).
    explicit TTaskDispatcher(int threads);
    // Dispatcher-thread mode with max(threads, 1) workers. maxPending limits
    // the tasks waiting in the queue: 0 refuses every task that cannot start at
    // once; a negative value means no limit. The limit applies to tasks that
    // callers add, never to sub-tasks, re-started parents or re-queued tasks.
    TTaskDispatcher(int threads, int maxPending);
    // Waits until no worker is busy and nothing queued can start, then stops
    // the workers; once only, later calls do nothing. Tasks still queued (their
    // dependencies can never complete) are neither run nor destroyed; callers
    // still waiting for groups, tasks or such queued tasks are released. The
    // dispatcher's threads call the virtual functions until it returns, so a
    // derived class that overrides them calls it first in its own destructor.
    void Shutdown();
    // Shutdown, if it has not run.
    ~TTaskDispatcher() override;
    TTaskDispatcher(const TTaskDispatcher&) = delete;
    TTaskDispatcher& operator=(const TTaskDispatcher&) = delete;

    // Synchronous mode: hands the tasks in vector order to free workers and
    // returns when every started task has finished. For each finished task,
    // on the calling thread: TaskFinished, StopProcess, and DeleteTask when
    // deleteTasks is set. Once StopProcess answers true no further task starts;
    // tasks never started stay the caller's. Null entries are skipped. Does
    // nothing in dispatcher-thread mode.
    virtual void Execute(std::vector<TTask*>& tasks, bool deleteTasks);
    virtual void TaskFinished(TTask* task);
    virtual bool StopProcess();
    // Called when a run of the task has ended: starts its deferred sub-tasks,
    // tells its parent, queues it again while it has pending dependencies, or
    // destroys it. False only when its deferred sub-tasks were started. An
    // override must call this one for tasks it does not handle itself.
    virtual bool DeleteTask(TTask* task);

    // Dispatcher-thread mode, from any thread but the dispatcher's own. False
    // when the task was refused (a full queue); it is then destroyed only when
    // deleteIfRejected is set. A mode outside TWaitMode counts as wmNoWait.
    // In synchronous mode every task is refused.
    bool AddTask(TTask* task, TWaitMode mode, bool deleteIfRejected);
    // Adds every task in order, all before waiting as mode says for each one
    // accepted; false when any was refused. Null entries are skipped.
    bool AddTasks(std::vector<TTask*>& tasks, TWaitMode mode, bool deleteIfRejected);
    // Returns when no task of the group is running, queued or waiting for its
    // sub-tasks. Any number of callers may wait for one group. At once in
    // synchronous mode. A task must not wait for its own group.
    void WaitForGroup(int group);
    // Returns when the task is no longer running, queued or waiting for its
    // sub-tasks; at once for a task the dispatcher does not hold.
    void WaitForTask(TTask* task);
    // 0, 1, 2 ... in the order of the requests, never reused. In synchronous
    // mode answered by the calling thread, which must own the dispatcher.
    int GetNextGroupID();
    // Attaches sub-tasks to a parent; the parent runs again after them. Use the
    // deferred form from the parent's own Execute: the sub-tasks start when the
    // current run ends. The plain form is for a parent not yet handed over: the
    // sub-tasks start at once and the parent after them. An empty deferred list
    // does nothing. Ignored in synchronous mode.
    void AddSubTask(TTask* parent, TTask* sub, bool deferred);
    void AddSubTask(TTask* parent, TTask* first, TTask* second, bool deferred);
    void AddSubTask(TTask* parent, std::vector<TTask*>& subs, bool deferred);

    int GetWorkerCount() const { return fThreadCount; }
    bool IsDispatcherThreadMode() const { return fThreadMode; }
    // −1 in synchronous mode, −2 without a limit, else the limit.
    int GetMaxPending() const { return fMaxPending; }

    // A container's background sort: the stages run one after another as tasks
    // of the group, the jobs of a stage side by side. Returns at once in
    // dispatcher-thread mode (WaitForGroup tells when it is done; a full queue
    // makes the sort run here instead); in synchronous mode the stages run
    // before it returns.
    void RunStages(int group, std::vector<std::vector<TJob>> stages) override;

protected:
    // Lowest index of an idle worker, or −1.
    int GetFirstFreeThreadIndex() const;
    int GetNumberOfWorkingThreads() const;
    // Reads one finish report per busy worker: TaskFinished, then the task is
    // destroyed when deleteTasks is set.
    void WaitForWorkingThreads(bool deleteTasks);

    // The pending queue, a ring that doubles from 128 entries. Only the owner
    // of the scheduling state may call these.
    void PushPendingTask(const TTaskMessage& message);
    // The first entry, from the head, whose task can run; it leaves the queue
    // (or is emptied in place when it is not the head). False when none can.
    // A queued task becomes able to run through DeleteTask of the tasks it
    // waits for, not by changing its counts from outside.
    bool PopPendingTask(TTaskMessage& message);
    // Entry i from the head (emptied entries included); null outside 0..count−1.
    TTaskMessage* GetPendingTask(int i);
    int GetPendingCount() const { return fPendingCount; }
    int GetPendingCapacity() const { return int(fPendingQueue.size()); }

    // Requests and worker reports arrive here.
    TPipe& GetCommandChannel() { return fCommandChannel; }

private:
    friend class TProcessThread;
    friend class TDispatcherThread;

    void CreateThreads(int n);
    void RunWorker(TProcessTaskInfo& record);
    void RunDispatcherThread();
    void RunTasks(std::vector<TTask*>& tasks, bool deleteTasks, bool notify);
    void FinishWorkingThreads(bool deleteTasks, bool notify);
    void StopWorkers();
    bool fShutDown = false;

    // Scheduling, by the owner of the state.
    int HandOut(const TTaskMessage& message, bool limited);
    void StartOnWorker(int worker, TTask* task);
    void FreeWorker(int worker);
    void FillFreeWorkers();
    void AddWaitingParent(TTask* task);
    bool RemoveWaitingParent(TTask* task);
    void ChangeGroupLoad(int group, int change);
    static bool IsRunnable(const TTask* task);
    void NoteRunnable(TTask* task);
    bool IsGroupBusy(int group) const;
    bool IsTaskKnown(const TTask* task) const;

    // The dispatcher thread's requests; false ends its loop.
    bool HandleRequest(unsigned char code);
    bool HandleAddTask();
    bool HandleFinished();
    bool HandleStop();
    bool HandleWaitForGroup();
    bool HandleGetNextGroupID();
    bool HandleAddSubTask();
    bool HandleWaitForTask();
    bool StopCanBeAnswered();
    void AnswerIdleWaiters(TTask* finished);
    void ReleaseAllWaiters();

    // Caller side of the requests.
    int SendAddRequest(TTask* task, TWaitMode mode, TPipe& reply);
    bool AddWithoutWaiting(std::vector<TTask*>& tasks, bool deleteIfRejected);
    bool AddAndWait(std::vector<TTask*>& tasks, TWaitMode mode, bool deleteIfRejected);

    std::vector<TProcessTaskInfo> fWorkerRecords;
    int fThreadCount = 0;
    std::vector<TPipe> fWorkerChannels;
    TPipe fCommandChannel;
    std::vector<int> fBusyFlags;
    std::vector<TTask*> fRunningTasks;
    int fNextGroupID = 0;
    std::vector<TTaskMessage> fPendingQueue;
    int fPendingCount = 0;
    int fPendingHead = 0;
    int fMaxPending = -1;
    std::vector<TTask*> fWaitingParents;
    std::vector<TSubTask*> fDeferredRecords;

    bool fThreadMode = false;
    // Queue entries carry sequence numbers (the head's is fHeadSequence). The
    // numbers of entries that can run are kept in a min-heap, so that a long
    // queue of tasks waiting for others is never scanned: an entry is noted
    // when it is added able to run, or when its task's last dependency or
    // sub-task completes.
    long long fHeadSequence = 0;
    std::priority_queue<long long, std::vector<long long>, std::greater<long long>> fRunnableEntries;
    std::unordered_map<TTask*, long long> fQueuedTasks;
    // Group of the task in each running slot, noted when it started.
    std::vector<int> fRunningGroups;
    // Per group: its tasks in running slots, waiting parents and live queue entries.
    std::unordered_map<int, int> fGroupLoad;
    // Owned by the dispatcher thread while it runs.
    std::map<int, std::vector<TPipe*>> fGroupWaiters;
    std::unordered_map<TTask*, std::vector<TPipe*>> fTaskWaiters;
    TPipe* fStopReply = nullptr;
};
