// The quick list's search when it misses: FindNext visits every cell of a
// grid of a million cells, case-sensitive and case-insensitive, beside
// glibc's memmem and strcasestr run over the same cell texts in a loop. The
// "ratio" counter is ours / the peer's, timed in the same iterations.
#include <benchmark/benchmark.h>

#include <strings.h>

#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "QuickList.h"
#include "QuickListFindReplaceInfo.h"
#include "TimeBesidePeer.h"

namespace {

constexpr int kLines = 100000;
constexpr int kColumns = 10;

std::string CellText(int line, int col) { return "Item " + std::to_string(line) + (col % 2 ? " north" : " east"); }

struct TSearchFixture {
    TSearchFixture() : grid(std::make_unique<TQuickList>(nullptr)) {
        grid->SetBounds(0, 0, 400, 300);
        std::vector<std::string> captions;
        for (int col = 0; col < kColumns; ++col) captions.push_back("C" + std::to_string(col));
        grid->SetCaptions(captions, false);
        for (int line = 0; line < kLines; ++line) {
            std::vector<std::string> cells;
            for (int col = 0; col < kColumns; ++col) cells.push_back(CellText(line, col));
            texts.insert(texts.end(), cells.begin(), cells.end());
            grid->AppendLine(cells, false);
        }
    }
    std::unique_ptr<TQuickList> grid;
    std::vector<std::string> texts;
};

TSearchFixture& Fixture() {
    static TSearchFixture fixture;
    return fixture;
}

// A text that no cell holds, though cells hold its first letters.
const char* const kMissing = "Item x";

void BM_QuickListMissCaseSensitive(benchmark::State& state) {
    TSearchFixture& fixture = Fixture();
    TQuickListFindReplaceInfo& info = fixture.grid->GetFindReplaceInfo();
    info.findText = kMissing;
    info.caseSensitive = true;
    const size_t length = std::strlen(kMissing);
    TimeBesidePeer(
        state, "memmem", [&] { benchmark::DoNotOptimize(fixture.grid->FindNext(false)); },
        [&] {
            int found = 0;
            for (const std::string& text : fixture.texts)
                found += memmem(text.data(), text.size(), kMissing, length) != nullptr;
            benchmark::DoNotOptimize(found);
        });
    state.SetItemsProcessed(int64_t(state.iterations()) * kLines * kColumns);
}
BENCHMARK(BM_QuickListMissCaseSensitive)->UseManualTime()->Unit(benchmark::kMillisecond);

void BM_QuickListMissCaseInsensitive(benchmark::State& state) {
    TSearchFixture& fixture = Fixture();
    TQuickListFindReplaceInfo& info = fixture.grid->GetFindReplaceInfo();
    info.findText = "ITEM X";
    info.caseSensitive = false;
    TimeBesidePeer(
        state, "strcasestr", [&] { benchmark::DoNotOptimize(fixture.grid->FindNext(false)); },
        [&] {
            int found = 0;
            for (const std::string& text : fixture.texts) found += strcasestr(text.c_str(), "ITEM X") != nullptr;
            benchmark::DoNotOptimize(found);
        });
    state.SetItemsProcessed(int64_t(state.iterations()) * kLines * kColumns);
}
BENCHMARK(BM_QuickListMissCaseInsensitive)->UseManualTime()->Unit(benchmark::kMillisecond);

}  // namespace
