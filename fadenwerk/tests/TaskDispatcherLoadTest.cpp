// Load tests of TTaskDispatcher: random dependency graphs with sub-task trees
// added from several threads, and container sorts run as dispatcher tasks.
#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <memory>
#include <random>
#include <thread>
#include <vector>

#include "Latch.h"
#include "StringContainer.h"
#include "TaskDispatcher.h"
#include "ThreadFunctions.h"

namespace {

using TTask = TTaskDispatcher::TTask;

// What the stress tasks record; positions in the run sequence, −1 before.
struct StressRecord {
    explicit StressRecord(int tasks) : firstRun(size_t(tasks)), lastRun(size_t(tasks)), dependencies(size_t(tasks)) {
        for (int i = 0; i < tasks; ++i) firstRun[size_t(i)] = lastRun[size_t(i)] = -1;
    }
    std::atomic<int> created{0}, destroyed{0}, sequence{0}, violations{0};
    std::vector<std::atomic<int>> firstRun, lastRun;
    std::vector<std::vector<int>> dependencies;
};

// A task that may grow a tree of deferred sub-tasks on its first run and
// checks that its dependencies and its sub-tasks finished before it.
class StressTask : public TTask {
public:
    StressTask(StressRecord& record, int id, unsigned seed, int depth, StressTask* parent)
        : fRecord(record), fId(id), fSeed(seed), fDepth(depth), fParent(parent) {
        ++fRecord.created;
    }
    ~StressTask() override { ++fRecord.destroyed; }

    void Execute() override {
        const int position = fRecord.sequence++;
        if (RunCount == 0 && fId >= 0) {
            fRecord.firstRun[size_t(fId)] = position;
            for (int dependency : fRecord.dependencies[size_t(fId)]) {
                const int ended = fRecord.lastRun[size_t(dependency)];
                if (ended < 0 || ended >= position) ++fRecord.violations;
            }
        }
        if (RunCount == 0 && fDepth < 3 && fSeed % 3 == 0) {
            fSubTasks = 1 + int(fSeed / 3 % 3);
            std::vector<TTask*> subs;
            for (int k = 0; k < fSubTasks; ++k) {
                auto* sub = new StressTask(fRecord, -1, fSeed * 2654435761u + unsigned(k) * 40503u + 7u, fDepth + 1, this);
                sub->GroupID = GroupID;
                subs.push_back(sub);
            }
            AddSubTask(subs, true);
            return;
        }
        if (fSubTasksDone != fSubTasks || RunCount != (fSubTasks > 0 ? 1 : 0)) ++fRecord.violations;
        if (fId >= 0) fRecord.lastRun[size_t(fId)] = position;
        if (fParent) ++fParent->fSubTasksDone;
    }

private:
    StressRecord& fRecord;
    int fId;
    unsigned fSeed;
    int fDepth;
    StressTask* fParent;
    int fSubTasks = 0;
    std::atomic<int> fSubTasksDone{0};
};

// Holds its worker until the gate opens.
class ProbeTask : public TTask {
public:
    explicit ProbeTask(TTestLatch& gate) : fGate(gate) {}
    void Execute() override { fGate.Wait(); }

private:
    TTestLatch& fGate;
};

int CompareLines(const TString* a, const TString* b, void*) { return a->Compare(*b); }

void FillRandomLines(TStringContainer& lines, TStringContainer& copy, int count) {
    std::mt19937 random(12345);
    std::string line;
    for (int i = 0; i < count; ++i) {
        line.assign(4 + random() % 9, ' ');
        // Few letters, so that equal lines are common and stability shows.
        for (char& c : line) c = char('a' + random() % 6);
        lines.Add(TString(line));
        copy.Add(TString(line));
    }
}

void ExpectSameLines(const TStringContainer& got, const TStringContainer& expected) {
    ASSERT_EQ(got.GetCount(), expected.GetCount());
    for (int i = 0; i < got.GetCount(); ++i)
        if (got[i].Compare(expected[i]) != 0) FAIL() << "line " << i << ": " << got[i].c_str() << " / " << expected[i].c_str();
}

// The editor's waiter thread: waits for group 0, then sets the event.
struct SortWait {
    TTaskDispatcher* dispatcher;
    HANDLE event;
};

void WaitForSortThenSignal(void* argument) {
    auto* wait = static_cast<SortWait*>(argument);
    wait->dispatcher->WaitForGroup(0);
    SetEvent(wait->event);
}

}  // namespace

TEST(TaskDispatcherLoad, TenThousandTasksWithDependenciesAndSubTaskTrees) {
    const int taskCount = 10000;
    StressRecord record(taskCount);
    std::mt19937 random(2024);
    auto dispatcher = std::make_unique<TTaskDispatcher>(6, -2);
    std::vector<int> groups;
    for (int i = 0; i < 5; ++i) groups.push_back(dispatcher->GetNextGroupID());

    std::vector<StressTask*> tasks;
    for (int i = 0; i < taskCount; ++i) {
        auto* task = new StressTask(record, i, unsigned(random()), 0, nullptr);
        task->GroupID = groups[size_t(i) % groups.size()];
        tasks.push_back(task);
    }
    // Every dependency is set before any task is handed over.
    for (int i = 1; i < taskCount; ++i) {
        const int count = int(random() % 4);
        for (int k = 0; k < count; ++k) {
            const int earlier = int(random() % unsigned(i));
            tasks[size_t(earlier)]->AddDependingTask(tasks[size_t(i)]);
            record.dependencies[size_t(i)].push_back(earlier);
        }
    }
    std::vector<int> order(taskCount);
    for (int i = 0; i < taskCount; ++i) order[size_t(i)] = i;
    std::shuffle(order.begin(), order.end(), random);

    const int callers = 4;
    std::vector<std::thread> threads;
    for (int c = 0; c < callers; ++c) {
        threads.emplace_back([&, c] {
            for (size_t k = size_t(c); k < order.size(); k += callers) {
                const int id = order[k];
                // Only a task without dependencies may be waited for: the
                // others may need tasks this thread has yet to add.
                TTaskDispatcher::TWaitMode mode = TTaskDispatcher::wmNoWait;
                if (record.dependencies[size_t(id)].empty()) {
                    if (id % 5 == 0) mode = TTaskDispatcher::wmCompleted;
                    if (id % 5 == 1) mode = TTaskDispatcher::wmStarted;
                }
                EXPECT_TRUE(dispatcher->AddTask(tasks[size_t(id)], mode, false));
            }
        });
    }
    for (std::thread& thread : threads) thread.join();
    for (int group : groups) dispatcher->WaitForGroup(group);
    dispatcher.reset();

    EXPECT_EQ(record.violations, 0);
    EXPECT_EQ(record.created, record.destroyed);
    EXPECT_GT(record.created, taskCount);
    for (int i = 0; i < taskCount; ++i) ASSERT_GE(record.lastRun[size_t(i)], record.firstRun[size_t(i)]) << i;
}

TEST(TaskDispatcherLoad, MillionLinesSortThroughTheDispatcherAsTheEditorWaits) {
#ifdef __SANITIZE_THREAD__
    // The thread sanitizer looks for races, which a fifth of the lines shows as well.
    const int count = 200000;
#else
    const int count = 1000000;
#endif
    TStringContainer lines, expected;
    FillRandomLines(lines, expected, count);
    expected.Sort(0, count - 1, CompareLines, nullptr);

    auto* dispatcher = new TTaskDispatcher(GetThreadCount(0, false), 2 * count);
    lines.SetSortRunner(dispatcher, 10000);
    lines.Sort(0, count - 1, CompareLines, nullptr);

    SortWait wait{dispatcher, CreateEventA(nullptr, FALSE, FALSE, nullptr)};
    StartThread(WaitForSortThenSignal, &wait);
    int ticks = 0;
    while (WaitForSingleObject(wait.event, 100) == WAIT_TIMEOUT) ++ticks;
    CloseHandle(wait.event);
    delete dispatcher;
    lines.SetSortRunner(nullptr);
    ExpectSameLines(lines, expected);
}

TEST(TaskDispatcherLoad, SynchronousDispatcherSortsBeforeSortReturns) {
    TStringContainer lines, expected;
    FillRandomLines(lines, expected, 30000);
    expected.Sort(0, 29999, CompareLines, nullptr);
    TTaskDispatcher dispatcher(3);
    lines.SetSortRunner(&dispatcher, 1000);
    lines.Sort(0, 29999, CompareLines, nullptr);
    ExpectSameLines(lines, expected);
}

TEST(TaskDispatcherLoad, FullQueueMakesTheSortRunOnTheCallingThread) {
    TStringContainer lines, expected;
    FillRandomLines(lines, expected, 5000);
    expected.Sort();
    TTestLatch gate;
    TTaskDispatcher dispatcher(1, 0);
    // The only worker is held, and no task may wait: the sort's driver is refused.
    ASSERT_TRUE(dispatcher.AddTask(new ProbeTask(gate), TTaskDispatcher::wmStarted, false));
    lines.SetSortRunner(&dispatcher, 500);
    lines.Sort();
    ExpectSameLines(lines, expected);
    gate.CountDown();
}
