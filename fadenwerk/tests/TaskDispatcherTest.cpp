// Tests of TTaskDispatcher: the synchronous run, the pending queue, and the
// requests, waits, sub-tasks and dependencies of dispatcher-thread mode.
// Tasks are held on latches, so every ordering checked here is forced.
#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <functional>
#include <memory>
#include <mutex>
#include <set>
#include <thread>
#include <vector>

#include "Latch.h"
#include "TaskDispatcher.h"
#include "TaskMessages.h"

namespace {

using TTask = TTaskDispatcher::TTask;

// A task that runs a function and counts its own destruction.
class ProbeTask : public TTask {
public:
    explicit ProbeTask(std::function<void(ProbeTask&)> work = nullptr, std::atomic<int>* destroyed = nullptr)
        : fWork(std::move(work)), fDestroyed(destroyed) {}
    ~ProbeTask() override {
        if (fDestroyed) ++*fDestroyed;
    }
    void Execute() override {
        ++runs;
        if (fWork) fWork(*this);
    }
    std::atomic<int> runs{0};

private:
    std::function<void(ProbeTask&)> fWork;
    std::atomic<int>* fDestroyed;
};

// A log that several workers append to.
class EventLog {
public:
    void Add(int value) {
        std::lock_guard<std::mutex> lock(fMutex);
        fValues.push_back(value);
    }
    std::vector<int> Values() {
        std::lock_guard<std::mutex> lock(fMutex);
        return fValues;
    }

private:
    std::mutex fMutex;
    std::vector<int> fValues;
};

// Opens the protected parts that tests look into.
class OpenDispatcher : public TTaskDispatcher {
public:
    using TTaskDispatcher::TTaskDispatcher;
    ~OpenDispatcher() override { Shutdown(); }
    using TTaskDispatcher::GetCommandChannel;
    using TTaskDispatcher::GetPendingCapacity;
    using TTaskDispatcher::GetPendingCount;
    using TTaskDispatcher::GetPendingTask;
    using TTaskDispatcher::PopPendingTask;
    using TTaskDispatcher::PushPendingTask;
};

// Reads one notice on another thread; false when it does not come in time.
bool NoticeArrives(TPipe& reply) {
    auto arrived = std::make_shared<TTestLatch>();
    std::thread reader([&reply, arrived] {
        reply.ReadBool();
        arrived->CountDown();
    });
    if (arrived->Wait(std::chrono::seconds(30))) {
        reader.join();
        return true;
    }
    reader.detach();
    return false;
}

}  // namespace

// ---- synchronous mode ----

TEST(TaskDispatcherSynchronous, OneWorkerRunsTheTasksInVectorOrder) {
    TTaskDispatcher dispatcher(1);
    EventLog log;
    std::vector<TTask*> tasks;
    for (int i = 0; i < 6; ++i) tasks.push_back(new ProbeTask([&log, i](ProbeTask&) { log.Add(i); }));
    dispatcher.Execute(tasks, true);
    EXPECT_EQ(log.Values(), (std::vector<int>{0, 1, 2, 3, 4, 5}));
}

TEST(TaskDispatcherSynchronous, StopProcessEndsTheRunAndLeavesTheRestUntouched) {
    class StoppingDispatcher : public TTaskDispatcher {
    public:
        StoppingDispatcher() : TTaskDispatcher(2) {}
        ~StoppingDispatcher() override { Shutdown(); }
        void TaskFinished(TTask*) override { ++finished; }
        bool StopProcess() override { return finished >= 1; }
        int finished = 0;
    } dispatcher;
    std::atomic<int> destroyed{0};
    std::vector<TTask*> tasks;
    for (int i = 0; i < 6; ++i) tasks.push_back(new ProbeTask(nullptr, &destroyed));
    dispatcher.Execute(tasks, true);
    // Tasks 0 and 1 took the two workers; the first report stopped the run.
    EXPECT_EQ(dispatcher.finished, 2);
    EXPECT_EQ(destroyed, 2);
    for (size_t i = 2; i < tasks.size(); ++i) {
        EXPECT_EQ(static_cast<ProbeTask*>(tasks[i])->runs, 0) << i;
        delete tasks[i];
    }
}

TEST(TaskDispatcherSynchronous, ZeroThreadsStillRunsOneWorker) {
    for (int threads : {0, -3}) {
        TTaskDispatcher dispatcher(threads);
        EXPECT_EQ(dispatcher.GetWorkerCount(), 1);
        std::atomic<int> destroyed{0};
        std::vector<TTask*> tasks{new ProbeTask(nullptr, &destroyed), nullptr, new ProbeTask(nullptr, &destroyed)};
        dispatcher.Execute(tasks, true);
        EXPECT_EQ(destroyed, 2);
    }
}

TEST(TaskDispatcherSynchronous, RequestsAreRefusedOrAnsweredAtOnce) {
    TTaskDispatcher dispatcher(2);
    std::atomic<int> destroyed{0};
    EXPECT_FALSE(dispatcher.AddTask(new ProbeTask(nullptr, &destroyed), TTaskDispatcher::wmCompleted, true));
    EXPECT_EQ(destroyed, 1);
    dispatcher.WaitForGroup(0);
    EXPECT_EQ(dispatcher.GetNextGroupID(), 0);
    EXPECT_EQ(dispatcher.GetNextGroupID(), 1);
}

// ---- the pending queue ----

TEST(TaskDispatcherQueue, GrowsFrom128To256InQueueOrder) {
    OpenDispatcher dispatcher(1);
    std::vector<std::unique_ptr<ProbeTask>> tasks;
    for (int i = 0; i < 140; ++i) tasks.push_back(std::make_unique<ProbeTask>());
    // Move the head first, so that the ring has wrapped when it grows.
    TTaskDispatcher::TTaskMessage out;
    for (int i = 0; i < 10; ++i) dispatcher.PushPendingTask({tasks[size_t(i)].get(), TTaskDispatcher::wmNoWait, nullptr});
    for (int i = 0; i < 10; ++i) ASSERT_TRUE(dispatcher.PopPendingTask(out));
    for (int i = 0; i < 128; ++i) dispatcher.PushPendingTask({tasks[size_t(i)].get(), TTaskDispatcher::wmNoWait, nullptr});
    EXPECT_EQ(dispatcher.GetPendingCapacity(), 128);
    dispatcher.PushPendingTask({tasks[128].get(), TTaskDispatcher::wmStarted, nullptr});
    EXPECT_EQ(dispatcher.GetPendingCapacity(), 256);
    ASSERT_EQ(dispatcher.GetPendingCount(), 129);
    for (int i = 0; i < 129; ++i) ASSERT_EQ(dispatcher.GetPendingTask(i)->Task, tasks[size_t(i)].get()) << i;
    EXPECT_EQ(dispatcher.GetPendingTask(128)->Mode, TTaskDispatcher::wmStarted);
    EXPECT_EQ(dispatcher.GetPendingTask(129), nullptr);
    EXPECT_EQ(dispatcher.GetPendingTask(-1), nullptr);
    while (dispatcher.PopPendingTask(out)) {
    }
}

TEST(TaskDispatcherQueue, PopTakesTheFirstRunnableEntryAndEmptiesItInPlace) {
    OpenDispatcher dispatcher(1);
    ProbeTask blocked, first, second;
    auto* dependency = new ProbeTask;
    dependency->AddDependingTask(&blocked);
    for (TTask* task : {static_cast<TTask*>(&blocked), static_cast<TTask*>(&first), static_cast<TTask*>(&second)})
        dispatcher.PushPendingTask({task, TTaskDispatcher::wmNoWait, nullptr});
    TTaskDispatcher::TTaskMessage out;
    ASSERT_TRUE(dispatcher.PopPendingTask(out));
    EXPECT_EQ(out.Task, &first);
    // Emptied in place: still counted until the head passes it.
    EXPECT_EQ(dispatcher.GetPendingCount(), 3);
    EXPECT_EQ(dispatcher.GetPendingTask(1)->Task, nullptr);
    dispatcher.DeleteTask(dependency);  // its run ended: blocked may run now
    ASSERT_TRUE(dispatcher.PopPendingTask(out));
    EXPECT_EQ(out.Task, &blocked);
    // The head moved past the emptied entry as well.
    EXPECT_EQ(dispatcher.GetPendingCount(), 1);
    ASSERT_TRUE(dispatcher.PopPendingTask(out));
    EXPECT_EQ(out.Task, &second);
    EXPECT_FALSE(dispatcher.PopPendingTask(out));
}

// ---- dispatcher-thread mode ----

TEST(TaskDispatcherThreaded, GroupIdsCountUpAndUnknownCodesAreSkipped) {
    OpenDispatcher dispatcher(2, -2);
    EXPECT_EQ(dispatcher.GetNextGroupID(), 0);
    EXPECT_EQ(dispatcher.GetNextGroupID(), 1);
    const unsigned char unknown[] = {7, 99, 255};
    dispatcher.GetCommandChannel().Write(unknown, sizeof unknown);
    EXPECT_EQ(dispatcher.GetNextGroupID(), 2);
    EXPECT_EQ(dispatcher.GetNextGroupID(), 3);
}

TEST(TaskDispatcherThreaded, WaitsForIdleGroupsAndGoneTasksReturnAtOnce) {
    TTaskDispatcher dispatcher(2, -2);
    dispatcher.WaitForGroup(12);
    std::atomic<int> destroyed{0};
    auto* task = new ProbeTask(nullptr, &destroyed);
    ASSERT_TRUE(dispatcher.AddTask(task, TTaskDispatcher::wmCompleted, false));
    EXPECT_EQ(destroyed, 1);
    dispatcher.WaitForTask(task);  // only the address is sent; the task is gone
    dispatcher.WaitForGroup(0);
}

TEST(TaskDispatcherThreaded, LimitZeroStartsOnAFreeWorkerAndRefusesOtherwise) {
    TTaskDispatcher dispatcher(1, 0);
    TTestLatch gate;
    std::atomic<int> destroyed{0};
    ASSERT_TRUE(dispatcher.AddTask(new ProbeTask([&](ProbeTask&) { gate.Wait(); }), TTaskDispatcher::wmStarted, false));
    EXPECT_FALSE(dispatcher.AddTask(new ProbeTask(nullptr, &destroyed), TTaskDispatcher::wmNoWait, true));
    EXPECT_EQ(destroyed, 1);
    // A refused task stays the caller's and forgets the caller's reply channel.
    auto* refused = new ProbeTask(nullptr, &destroyed);
    EXPECT_FALSE(dispatcher.AddTask(refused, TTaskDispatcher::wmCompleted, false));
    EXPECT_EQ(refused->WaitPipe, nullptr);
    gate.CountDown();
    dispatcher.WaitForGroup(0);
    ASSERT_TRUE(dispatcher.AddTask(refused, TTaskDispatcher::wmNoWait, false));
    dispatcher.WaitForGroup(0);
    EXPECT_EQ(destroyed, 2);
}

TEST(TaskDispatcherThreaded, UnlimitedQueueNeverRefusesAndKeepsOrder) {
    TTaskDispatcher dispatcher(1, -2);
    TTestLatch gate;
    EventLog log;
    ASSERT_TRUE(dispatcher.AddTask(new ProbeTask([&](ProbeTask&) { gate.Wait(); }), TTaskDispatcher::wmStarted, false));
    for (int i = 0; i < 300; ++i)
        ASSERT_TRUE(dispatcher.AddTask(new ProbeTask([&log, i](ProbeTask&) { log.Add(i); }), TTaskDispatcher::wmNoWait, false));
    gate.CountDown();
    dispatcher.WaitForGroup(0);
    std::vector<int> expected(300);
    for (int i = 0; i < 300; ++i) expected[size_t(i)] = i;
    EXPECT_EQ(log.Values(), expected);
}

TEST(TaskDispatcherThreaded, LimitedQueueCountsOnlyTasksOfCallers) {
    // One queue place: the four deferred sub-tasks and the re-started parent
    // must still be queued, or the parent never completes.
    TTaskDispatcher dispatcher(1, 1);
    std::atomic<int> subRuns{0};
    std::atomic<int> destroyed{0};
    auto* parent = new ProbeTask([&](ProbeTask& self) {
        if (self.RunCount > 0) return;
        std::vector<TTask*> subs;
        for (int i = 0; i < 4; ++i) subs.push_back(new ProbeTask([&](ProbeTask&) { ++subRuns; }, &destroyed));
        self.AddSubTask(subs, true);
    }, &destroyed);
    ASSERT_TRUE(dispatcher.AddTask(parent, TTaskDispatcher::wmCompleted, false));
    EXPECT_EQ(subRuns, 4);
    EXPECT_EQ(destroyed, 5);
}

TEST(TaskDispatcherThreaded, DependingTasksStartOnDifferentWorkersWhenTheirTaskCompletes) {
    TTaskDispatcher dispatcher(4, -2);
    TTestLatch allThreeRunning(3);
    std::mutex indexMutex;
    std::set<int> workers;
    std::atomic<bool> rootDone{false};
    auto* root = new ProbeTask([&](ProbeTask&) { rootDone = true; });
    std::vector<TTask*> depending;
    for (int i = 0; i < 3; ++i) {
        auto* task = new ProbeTask([&](ProbeTask& self) {
            EXPECT_TRUE(rootDone);
            {
                std::lock_guard<std::mutex> lock(indexMutex);
                workers.insert(self.TaskInfo->Index);
            }
            // All three must be running at once to get past this.
            allThreeRunning.CountDown();
            EXPECT_TRUE(allThreeRunning.Wait());
        });
        root->AddDependingTask(task);
        depending.push_back(task);
    }
    EXPECT_EQ(depending[0]->PendingDependencies, 1);
    ASSERT_TRUE(dispatcher.AddTasks(depending, TTaskDispatcher::wmNoWait, false));
    ASSERT_TRUE(dispatcher.AddTask(root, TTaskDispatcher::wmNoWait, false));
    dispatcher.WaitForGroup(0);
    EXPECT_EQ(workers.size(), 3u);
}

TEST(TaskDispatcherThreaded, DeferredSubTasksRunBetweenTheParentsRuns) {
    TTaskDispatcher dispatcher(3, -2);
    EventLog log;
    auto* parent = new ProbeTask([&](ProbeTask& self) {
        log.Add(self.RunCount);
        if (self.RunCount == 0)
            self.AddSubTask(new ProbeTask([&](ProbeTask&) { log.Add(10); }),
                            new ProbeTask([&](ProbeTask&) { log.Add(10); }), true);
    });
    ASSERT_TRUE(dispatcher.AddTask(parent, TTaskDispatcher::wmCompleted, false));
    // The caller heard of completion only after the second run.
    EXPECT_EQ(log.Values(), (std::vector<int>{0, 10, 10, 1}));
}

TEST(TaskDispatcherThreaded, SubTasksAddedBeforeHandOverRunBeforeTheParent) {
    TTaskDispatcher dispatcher(2, -2);
    EventLog log;
    auto* parent = new ProbeTask([&](ProbeTask& self) { log.Add(100 + self.RunCount); });
    std::vector<TTask*> subs{new ProbeTask([&](ProbeTask&) { log.Add(1); }), new ProbeTask([&](ProbeTask&) { log.Add(1); })};
    dispatcher.AddSubTask(parent, subs, false);
    dispatcher.WaitForGroup(0);
    EXPECT_EQ(log.Values(), (std::vector<int>{1, 1, 101}));
    // An empty deferred list changes nothing.
    auto* lone = new ProbeTask([&](ProbeTask& self) {
        if (self.RunCount == 0) {
            std::vector<TTask*> none;
            self.AddSubTask(none, true);
        }
    });
    ASSERT_TRUE(dispatcher.AddTask(lone, TTaskDispatcher::wmCompleted, false));
}

TEST(TaskDispatcherThreaded, TaskWithNewDependencyRunsAgainAndItsCallerWaitsForThat) {
    TTaskDispatcher dispatcher(1, -2);
    std::atomic<int> destroyed{0};
    TTestLatch firstRunEnded;
    std::atomic<int> runsSeenByCaller{-1};
    auto* later = new ProbeTask(nullptr, &destroyed);
    auto* task = new ProbeTask([&](ProbeTask& self) {
        if (self.runs == 1) {
            later->AddDependingTask(&self);
            firstRunEnded.CountDown();
        }
    }, &destroyed);
    std::thread caller([&] {
        EXPECT_TRUE(dispatcher.AddTask(task, TTaskDispatcher::wmCompleted, false));
        runsSeenByCaller = destroyed.load();
    });
    ASSERT_TRUE(firstRunEnded.Wait());
    // One worker: later starts only after the task's slot is free, so the task
    // is queued again before later completes.
    ASSERT_TRUE(dispatcher.AddTask(later, TTaskDispatcher::wmNoWait, false));
    caller.join();
    EXPECT_EQ(runsSeenByCaller, 2);  // told only when both were gone
    EXPECT_EQ(destroyed, 2);
}

TEST(TaskDispatcherThreaded, EveryWaiterOfAGroupOrTaskIsAnswered) {
    OpenDispatcher dispatcher(2, -2);
    TTestLatch gate, started;
    auto* blocker = new ProbeTask([&](ProbeTask&) {
        started.CountDown();
        gate.Wait();
    });
    blocker->GroupID = 4;
    ASSERT_TRUE(dispatcher.AddTask(blocker, TTaskDispatcher::wmNoWait, false));
    ASSERT_TRUE(started.Wait());
    // Two waits for the group and two for the task, sent before the group ends.
    TPipe replies[4];
    for (int i = 0; i < 4; ++i) {
        TMessageWriter request;
        if (i < 2)
            request.Put(uint8_t(drWaitForGroup)).Put(int32_t(4));
        else
            request.Put(uint8_t(drWaitForTask)).Put(static_cast<TTask*>(blocker));
        request.Put(&replies[i]).WriteTo(dispatcher.GetCommandChannel());
    }
    dispatcher.GetNextGroupID();  // every request above has been handled
    gate.CountDown();
    for (TPipe& reply : replies) EXPECT_TRUE(NoticeArrives(reply));
}

TEST(TaskDispatcherThreaded, WaitForStartedReturnsOnceAQueuedTaskStarts) {
    TTaskDispatcher dispatcher(1, -2);
    TTestLatch gate;
    std::atomic<int> destroyed{0};
    ASSERT_TRUE(dispatcher.AddTask(new ProbeTask([&](ProbeTask&) { gate.Wait(); }), TTaskDispatcher::wmStarted, false));
    auto* queued = new ProbeTask(nullptr, &destroyed);
    std::thread caller([&] { EXPECT_TRUE(dispatcher.AddTask(queued, TTaskDispatcher::wmStarted, false)); });
    gate.CountDown();
    caller.join();
    dispatcher.WaitForGroup(0);
    EXPECT_EQ(destroyed, 1);
}

TEST(TaskDispatcherThreaded, AddTasksAddsEachTaskAndWaitsForAll) {
    TTaskDispatcher dispatcher(3, -2);
    std::atomic<int> destroyed{0};
    std::vector<TTask*> tasks;
    for (int i = 0; i < 10; ++i) tasks.push_back(new ProbeTask(nullptr, &destroyed));
    tasks.push_back(nullptr);
    EXPECT_TRUE(dispatcher.AddTasks(tasks, TTaskDispatcher::wmCompleted, false));
    EXPECT_EQ(destroyed, 10);

    TTestLatch gate;  // outlives the dispatcher, whose task waits on it
    TTaskDispatcher limited(1, 0);
    ASSERT_TRUE(limited.AddTask(new ProbeTask([&](ProbeTask&) { gate.Wait(); }), TTaskDispatcher::wmStarted, false));
    std::vector<TTask*> refused{new ProbeTask(nullptr, &destroyed), new ProbeTask(nullptr, &destroyed)};
    EXPECT_FALSE(limited.AddTasks(refused, TTaskDispatcher::wmCompleted, true));
    EXPECT_EQ(destroyed, 12);
    gate.CountDown();
    limited.WaitForGroup(0);

    // Without waiting: two places in the queue, three of five tasks refused.
    TTestLatch secondGate;
    TTaskDispatcher queued(1, 2);
    ASSERT_TRUE(queued.AddTask(new ProbeTask([&](ProbeTask&) { secondGate.Wait(); }), TTaskDispatcher::wmStarted, false));
    std::vector<TTask*> five;
    for (int i = 0; i < 5; ++i) five.push_back(new ProbeTask(nullptr, &destroyed));
    EXPECT_FALSE(queued.AddTasks(five, TTaskDispatcher::wmNoWait, true));
    EXPECT_EQ(destroyed, 15);
    secondGate.CountDown();
    queued.WaitForGroup(0);
    EXPECT_EQ(destroyed, 17);
}

TEST(TaskDispatcherThreaded, DestructorReturnsWhenQueuedTasksCanNeverRun) {
    std::atomic<int> destroyed{0};
    auto* neverAdded = new ProbeTask(nullptr, &destroyed);
    auto* stuck = new ProbeTask(nullptr, &destroyed);
    neverAdded->AddDependingTask(stuck);
    auto* waitedFor = new ProbeTask(nullptr, &destroyed);
    neverAdded->AddDependingTask(waitedFor);
    TPipe reply;  // a caller waiting for waitedFor to complete
    {
        OpenDispatcher dispatcher(2, -2);
        ASSERT_TRUE(dispatcher.AddTask(stuck, TTaskDispatcher::wmNoWait, false));
        ASSERT_TRUE(dispatcher.AddTask(new ProbeTask(nullptr, &destroyed), TTaskDispatcher::wmNoWait, false));
        waitedFor->WaitPipe = &reply;
        TMessageWriter()
            .Put(uint8_t(drAddTask))
            .Put(static_cast<TTask*>(waitedFor))
            .Put(int32_t(TTaskDispatcher::wmCompleted))
            .Put(&reply)
            .WriteTo(dispatcher.GetCommandChannel());
        unsigned char outcome = 0;
        ASSERT_TRUE(reply.Read(&outcome, 1));
        EXPECT_EQ(outcome, 1);  // queued
    }
    // The waiting caller was released; the queued tasks never ran and are
    // left to their owner.
    EXPECT_TRUE(NoticeArrives(reply));
    EXPECT_EQ(destroyed, 1);
    EXPECT_EQ(stuck->runs, 0);
    EXPECT_EQ(waitedFor->WaitPipe, nullptr);
    delete stuck;
    delete waitedFor;
    delete neverAdded;
}

TEST(TaskDispatcherThreaded, ExecuteDoesNothingInThisMode) {
    TTaskDispatcher dispatcher(2, -2);
    ProbeTask task;
    std::vector<TTask*> tasks{&task};
    dispatcher.Execute(tasks, false);
    EXPECT_EQ(task.runs, 0);
}
