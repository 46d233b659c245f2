// The quick list's clipboard with a block of 100,000 lines of 10 cells and no
// handler: Ctrl+C (the cells joined with "|" and the lines with CR LF onto
// the clipboard) and PasteFromClipboard (the clipboard's lines split back into
// the cells), each beside a plain loop that joins the same cell strings into
// one std::string, or splits that string back with std::string::find. The
// "ratio" counter is ours / the plain loop's, timed in the same iterations.
#include <benchmark/benchmark.h>

#include <memory>
#include <string>
#include <vector>

#include "QuickList.h"
#include "TimeBesidePeer.h"

namespace {

constexpr int kLines = 100000;
constexpr int kColumns = 10;

using Block = std::vector<std::vector<std::string>>;

struct TClipboardFixture {
    TClipboardFixture() : grid(std::make_unique<TQuickList>(nullptr)), cells(kLines) {
        grid->SetBounds(0, 0, 400, 300);
        std::vector<std::string> captions;
        for (int col = 0; col < kColumns; ++col) captions.push_back("C" + std::to_string(col));
        grid->SetCaptions(captions, false);
        for (int line = 0; line < kLines; ++line) {
            for (int col = 0; col < kColumns; ++col) cells[size_t(line)].push_back(std::to_string(line * 31 + col));
            grid->AppendLine(cells[size_t(line)], false);
        }
        grid->SetSelectedLine(0);
        grid->SetSelectedCol(0);
        grid->SetSelectionCorners(0, 0, kColumns - 1, kLines - 1, false);
    }
    std::unique_ptr<TQuickList> grid;
    Block cells;
};

TClipboardFixture& Fixture() {
    static TClipboardFixture fixture;
    return fixture;
}

std::string Join(const Block& cells) {
    std::string text;
    for (size_t line = 0; line < cells.size(); ++line) {
        if (line > 0) text += "\r\n";
        for (size_t col = 0; col < cells[line].size(); ++col) {
            if (col > 0) text += '|';
            text += cells[line][col];
        }
    }
    return text;
}

void Split(const std::string& text, Block& cells) {
    size_t start = 0;
    for (size_t line = 0; line < cells.size() && start <= text.size(); ++line) {
        size_t end = text.find('\n', start);
        if (end == std::string::npos) end = text.size();
        const size_t lineEnd = end > start && text[end - 1] == '\r' ? end - 1 : end;
        size_t piece = start;
        for (size_t col = 0; col < cells[line].size() && piece <= lineEnd; ++col) {
            size_t bar = text.find('|', piece);
            if (bar == std::string::npos || bar > lineEnd) bar = lineEnd;
            cells[line][col].assign(text, piece, bar - piece);
            piece = bar + 1;
        }
        start = end + 1;
    }
}

void BM_QuickListCopyBlock(benchmark::State& state) {
    TClipboardFixture& fixture = Fixture();
    TimeBesidePeer(
        state, "join", [&] { fixture.grid->CopyToClipboard('|'); },
        [&] { benchmark::DoNotOptimize(Join(fixture.cells)); });
    state.SetItemsProcessed(int64_t(state.iterations()) * kLines * kColumns);
}
BENCHMARK(BM_QuickListCopyBlock)->UseManualTime()->Unit(benchmark::kMillisecond);

void BM_QuickListPasteBlock(benchmark::State& state) {
    TClipboardFixture& fixture = Fixture();
    fixture.grid->CopyToClipboard('|');
    const std::string text = Join(fixture.cells);
    Block target = fixture.cells;
    TimeBesidePeer(
        state, "split", [&] { fixture.grid->PasteFromClipboard('|'); },
        [&] {
            Split(text, target);
            benchmark::DoNotOptimize(target.back().back());
        });
    state.SetItemsProcessed(int64_t(state.iterations()) * kLines * kColumns);
}
BENCHMARK(BM_QuickListPasteBlock)->UseManualTime()->Unit(benchmark::kMillisecond);

}  // namespace
