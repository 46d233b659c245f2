// Task dispatcher speed: empty-task throughput in both modes, and a CPU-bound
// job over 8 million strings in 10,000-line chunks, against one thread and
// against tbb::parallel_for with the same chunks.
#include <benchmark/benchmark.h>

#include <tbb/blocked_range.h>
#include <tbb/global_control.h>
#include <tbb/parallel_for.h>
#include <tbb/partitioner.h>

#include <algorithm>
#include <cstdint>
#include <random>
#include <string>
#include <vector>

#include "TaskDispatcher.h"

namespace {

using TTask = TTaskDispatcher::TTask;

const int emptyTasksPerIteration = 10000;
const int lineCount = 8000000;
const int chunkLines = 10000;

// ---- empty tasks ----

std::vector<TTask*> MakeEmptyTasks() {
    std::vector<TTask*> tasks;
    tasks.reserve(emptyTasksPerIteration);
    for (int i = 0; i < emptyTasksPerIteration; ++i) tasks.push_back(new TTask);
    return tasks;
}

void EmptyTasksSynchronous(benchmark::State& state) {
    TTaskDispatcher dispatcher(int(state.range(0)));
    for (auto _ : state) {
        std::vector<TTask*> tasks = MakeEmptyTasks();
        dispatcher.Execute(tasks, true);
    }
    state.SetItemsProcessed(state.iterations() * emptyTasksPerIteration);
}
BENCHMARK(EmptyTasksSynchronous)->Arg(1)->Arg(4)->Arg(8)->Unit(benchmark::kMillisecond)->UseRealTime();

void EmptyTasksDispatcherThread(benchmark::State& state) {
    TTaskDispatcher dispatcher(int(state.range(0)), -2);
    for (auto _ : state) {
        std::vector<TTask*> tasks = MakeEmptyTasks();
        dispatcher.AddTasks(tasks, TTaskDispatcher::wmNoWait, true);
        dispatcher.WaitForGroup(0);
    }
    state.SetItemsProcessed(state.iterations() * emptyTasksPerIteration);
}
BENCHMARK(EmptyTasksDispatcherThread)->Arg(1)->Arg(4)->Arg(8)->Unit(benchmark::kMillisecond)->UseRealTime();

// ---- the chunked job ----

// 8 million short strings in one buffer: text and start offsets.
struct Lines {
    std::string text;
    std::vector<uint32_t> starts;
    int Count() const { return int(starts.size()) - 1; }
};

const Lines& TheLines() {
    static const Lines lines = [] {
        Lines made;
        std::mt19937 random(99);
        made.starts.reserve(size_t(lineCount) + 1);
        for (int i = 0; i < lineCount; ++i) {
            made.starts.push_back(uint32_t(made.text.size()));
            const int length = 8 + int(random() % 17);
            for (int k = 0; k < length; ++k) made.text.push_back(char('a' + random() % 26));
        }
        made.starts.push_back(uint32_t(made.text.size()));
        return made;
    }();
    return lines;
}

// The work of one line: a few rounds of hashing its characters.
uint64_t LineWork(const Lines& lines, int line) {
    uint64_t hash = 1469598103934665603ull;
    for (int round = 0; round < 8; ++round)
        for (uint32_t i = lines.starts[size_t(line)]; i < lines.starts[size_t(line) + 1]; ++i)
            hash = (hash ^ uint8_t(lines.text[i])) * 1099511628211ull;
    return hash;
}

uint64_t ChunkWork(const Lines& lines, int first, int end) {
    uint64_t sum = 0;
    for (int line = first; line < end; ++line) sum += LineWork(lines, line);
    return sum;
}

class ChunkTask : public TTask {
public:
    ChunkTask(const Lines& lines, int first, uint64_t* result) : fLines(lines), fFirst(first), fResult(result) {}
    void Execute() override { *fResult = ChunkWork(fLines, fFirst, std::min(fFirst + chunkLines, fLines.Count())); }

private:
    const Lines& fLines;
    int fFirst;
    uint64_t* fResult;
};

std::vector<TTask*> MakeChunkTasks(const Lines& lines, std::vector<uint64_t>& results) {
    std::vector<TTask*> tasks;
    for (int first = 0, chunk = 0; first < lines.Count(); first += chunkLines, ++chunk)
        tasks.push_back(new ChunkTask(lines, first, &results[size_t(chunk)]));
    return tasks;
}

size_t ChunkCount(const Lines& lines) { return size_t((lines.Count() + chunkLines - 1) / chunkLines); }

void ChunkedJobOneThread(benchmark::State& state) {
    const Lines& lines = TheLines();
    for (auto _ : state) benchmark::DoNotOptimize(ChunkWork(lines, 0, lines.Count()));
}
BENCHMARK(ChunkedJobOneThread)->Unit(benchmark::kMillisecond)->UseRealTime();

void ChunkedJobSynchronous(benchmark::State& state) {
    const Lines& lines = TheLines();
    TTaskDispatcher dispatcher(int(state.range(0)));
    std::vector<uint64_t> results(ChunkCount(lines));
    for (auto _ : state) {
        std::vector<TTask*> tasks = MakeChunkTasks(lines, results);
        dispatcher.Execute(tasks, true);
        benchmark::DoNotOptimize(results.data());
    }
}
BENCHMARK(ChunkedJobSynchronous)->Arg(4)->Arg(8)->Unit(benchmark::kMillisecond)->UseRealTime();

void ChunkedJobDispatcherThread(benchmark::State& state) {
    const Lines& lines = TheLines();
    TTaskDispatcher dispatcher(int(state.range(0)), -2);
    std::vector<uint64_t> results(ChunkCount(lines));
    for (auto _ : state) {
        std::vector<TTask*> tasks = MakeChunkTasks(lines, results);
        dispatcher.AddTasks(tasks, TTaskDispatcher::wmNoWait, true);
        dispatcher.WaitForGroup(0);
        benchmark::DoNotOptimize(results.data());
    }
}
BENCHMARK(ChunkedJobDispatcherThread)->Arg(4)->Arg(8)->Unit(benchmark::kMillisecond)->UseRealTime();

void ChunkedJobTbb(benchmark::State& state) {
    const Lines& lines = TheLines();
    tbb::global_control threads(tbb::global_control::max_allowed_parallelism, size_t(state.range(0)));
    std::vector<uint64_t> results(ChunkCount(lines));
    for (auto _ : state) {
        // One range per chunk, exactly as the dispatcher's tasks are cut.
        tbb::parallel_for(
            tbb::blocked_range<int>(0, int(results.size()), 1),
            [&](const tbb::blocked_range<int>& range) {
                for (int chunk = range.begin(); chunk < range.end(); ++chunk) {
                    const int first = chunk * chunkLines;
                    results[size_t(chunk)] = ChunkWork(lines, first, std::min(first + chunkLines, lines.Count()));
                }
            },
            tbb::simple_partitioner());
        benchmark::DoNotOptimize(results.data());
    }
}
BENCHMARK(ChunkedJobTbb)->Arg(4)->Arg(8)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace
