// The text editor's line store against floors in the same run: single-line
// Insert and Delete pairs at random places of a 1,000,000-line text with 100
// sections, against memmove of a 1,000,000-pointer array by one slot per
// operation (what any contiguous line store must do). Prints the ratio.
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <cstring>
#include <random>
#include <string>
#include <vector>

#include "TextEditor.h"
#include "TimeBesidePeer.h"
#include "display/TestDriver.h"

namespace {

constexpr int kLines = 1000000;
constexpr int kSections = 100;
constexpr int kPairs = 10000;

std::string LineText(int i) { return "line " + std::to_string(i) + " of the benchmark text"; }

struct LineStore {
    LineStore() : editor(nullptr), pointers(kLines + 1) {
        for (int i = 0; i < kLines; ++i) editor.lines.Add(TString(LineText(i)));
        for (int i = 0; i < kSections; ++i) editor.sections.Add(TIntPair{i * 10000, i * 10000 + 500});
        std::mt19937 random(5);
        for (int i = 0; i < kPairs; ++i) places.push_back(static_cast<int>(random() % kLines));
    }

    win32::TestDriver driver;
    TTextEditor editor;
    std::vector<void*> pointers;
    std::vector<int> places;
};

LineStore* store = nullptr;

void InsertDeletePairs(benchmark::State& state) {
    TTextEditor& editor = store->editor;
    const TString line("a line typed into the text");
    void** slots = store->pointers.data();
    TimeBesidePeer(
        state, "memmove",
        [&] {
            for (int place : store->places) {
                editor.Insert(place, line);
                editor.Delete(place);
            }
        },
        [&] {
            for (size_t i = 0; i < store->places.size(); ++i) {
                std::memmove(slots + 1, slots, kLines * sizeof(void*));
                std::memmove(slots, slots + 1, kLines * sizeof(void*));
                benchmark::DoNotOptimize(slots);
            }
        });
    if (editor.lines.GetCount() != kLines || editor.sections[1].first != 10000) state.SkipWithError("the text changed");
}
BENCHMARK(InsertDeletePairs)->Unit(benchmark::kMillisecond)->UseManualTime()->Iterations(5);

}  // namespace

int main(int argc, char** argv) {
    setenv("SUITE_DISPLAY", "headless", 1);
    benchmark::Initialize(&argc, argv);
    store = new LineStore;
    benchmark::RunSpecifiedBenchmarks();
    std::printf("\ntarget: InsertDeletePairs ratio (ours / memmove) at most 3\n");
    delete store;
    benchmark::Shutdown();
    return 0;
}
