// The quick list used as a log and paged through: a million appends at a
// line limit of 10,000, each line coloured, beside a std::deque ring of the
// same lines and colours; and a Page Down repaint of a million-line grid
// beside the same repaint of a 50-line grid. The "ratio" counter is the
// first / the second of each pair, timed in the same iterations.
#include <benchmark/benchmark.h>

#include <deque>
#include <memory>
#include <string>
#include <vector>

#include "QuickList.h"
#include "ScrollBarControl.h"
#include "TimeBesidePeer.h"

namespace {

constexpr int kLimit = 10000;
constexpr int kAppends = 1000000;

std::vector<std::string> LineOf(int n) {
    return {std::to_string(n), std::to_string(n % 97), "log", std::to_string(n * 7), "entry"};
}

std::unique_ptr<TQuickList> MakeGrid(int width, int height) {
    auto grid = std::make_unique<TQuickList>(nullptr);
    grid->SetBounds(0, 0, width, height);
    grid->SetShowLineCaption(true);
    grid->SetShowLineNumber(true);
    grid->SetCaptions({"First", "Second", "Third", "Fourth", "Fifth"}, false);
    return grid;
}

// Each line with a line colour and a cell colour, so that both maps hold
// 10,000 entries once the limit is reached.
void BM_QuickListLogAppends(benchmark::State& state) {
    struct TRingEntry {
        std::vector<std::string> cells;
        TQuickListColors line, cell;
    };
    TimeBesidePeer(
        state, "deque",
        [] {
            auto grid = MakeGrid(400, 300);
            grid->SetMaxLines(kLimit);
            for (int n = 0; n < kAppends; ++n) {
                const std::vector<std::string> cells = LineOf(n);
                grid->AppendLine(cells, false);
                grid->SetLineColor(-1, n & 0xFFFFFF, 0, false);
                grid->SetCellColor(-1, n % 5, 0xFF, 0xFFFFFF, false);
            }
            benchmark::DoNotOptimize(grid->GetLineCount());
        },
        [] {
            std::deque<TRingEntry> ring;
            for (int n = 0; n < kAppends; ++n) {
                const std::vector<std::string> cells = LineOf(n);
                if (int(ring.size()) == kLimit) ring.pop_front();
                ring.push_back(TRingEntry{cells, {n & 0xFFFFFF, 0}, {0xFF, 0xFFFFFF}});
                ring.back().cells.resize(5);
            }
            benchmark::DoNotOptimize(ring.size());
        });
    state.SetItemsProcessed(int64_t(state.iterations()) * kAppends);
}
BENCHMARK(BM_QuickListLogAppends)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(3);

// Page Down as the key does it: the current line a page on, the view centred on it.
void PageDown(TQuickList& grid) {
    const int page = std::max(grid.GetPageSize(), 1);
    int line = grid.GetSelectedLine() + page;
    if (line >= grid.GetLineCount()) line = 0;
    grid.SetSelectedLine(line);
    grid.GetVertScrollBar()->SetPosition(line - page / 2);
}

void BM_QuickListPageDownRepaint(benchmark::State& state) {
    // A page of 20 lines: the 50-line grid shows a whole page wherever Page Down leaves it.
    auto large = MakeGrid(1280, 480), small = MakeGrid(1280, 480);
    for (int n = 0; n < 1000000; ++n) large->AppendLine(LineOf(n), false);
    for (int n = 0; n < 50; ++n) small->AppendLine(LineOf(n), false);
    for (TQuickList* grid : {large.get(), small.get()}) {
        grid->SetLineColor(3, 0x80FFFF, 0, false);
        grid->SetSelectedLine(0);
        grid->SetSelectedCol(1);
    }
    TimeBesidePeer(state, "lines50", [&] { PageDown(*large); }, [&] { PageDown(*small); });
}
BENCHMARK(BM_QuickListPageDownRepaint)->UseManualTime()->Unit(benchmark::kMicrosecond);

}  // namespace
