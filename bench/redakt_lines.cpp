// The text editor's line sorting and de-duplication on a 1,000,000-line text,
// each beside its peer on the same text written to a file, in the same run:
// SortLines against coreutils sort (LC_ALL=C), SortByCol(2) with ',' against
// sort -s -t, -k3,3, and DeleteDuplicatedLines on a text of 50% duplicates
// against awk '!seen[$0]++'. The editor's text is restored before each of
// its runs, outside the timing. Prints the ratios (ours / the peer's).
#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <random>
#include <string>
#include <vector>

#include "TextEditor.h"
#include "display/TestDriver.h"

namespace {

constexpr int kLines = 1000000;

std::string TempPath(const char* name) {
    const char* folder = std::getenv("TMPDIR");
    return std::string(folder && *folder ? folder : "/tmp") + "/" + name;
}

// Comma-separated lines of four fields of random words and numbers.
std::vector<std::string> FieldLines(int count, unsigned seed) {
    static const char* const kWords[] = {"alpha", "bravo", "charlie", "delta", "echo", "foxtrot", "golf",
                                         "hotel", "india", "juliett", "kilo", "lima", "mike", "november"};
    std::mt19937 random(seed);
    std::vector<std::string> lines;
    lines.reserve(static_cast<size_t>(count));
    for (int i = 0; i < count; ++i) {
        std::string line;
        for (int field = 0; field < 4; ++field) {
            if (field > 0) line += ',';
            line += kWords[random() % 14];
            line += std::to_string(random() % 100000);
        }
        lines.push_back(line);
    }
    return lines;
}

// Half the lines repeat an earlier one, in random order.
std::vector<std::string> HalfDuplicated(int count) {
    std::vector<std::string> lines = FieldLines(count / 2, 23);
    lines.insert(lines.end(), lines.begin(), lines.end());
    std::shuffle(lines.begin(), lines.end(), std::mt19937(29));
    return lines;
}

struct TextFile {
    TextFile(const char* name, std::vector<std::string> text) : path(TempPath(name)), lines(std::move(text)) {
        FILE* file = std::fopen(path.c_str(), "wb");
        for (const std::string& line : lines) {
            std::fwrite(line.data(), 1, line.size(), file);
            std::fputc('\n', file);
        }
        std::fclose(file);
        for (const std::string& line : lines) store.Add(TString(line));
    }
    ~TextFile() { std::remove(path.c_str()); }
    std::string path;
    std::vector<std::string> lines;
    TStringContainer store;
};

struct Texts {
    win32::TestDriver driver;
    TextFile fields{"redakt_sort.txt", FieldLines(kLines, 17)};
    TextFile duplicated{"redakt_duplicates.txt", HalfDuplicated(kLines)};
};

Texts* texts = nullptr;

// Each iteration: the editor gets the text back (not timed), ours runs, then
// the peer command on the file; the benchmark's time is ours.
template <class Ours>
void BesidePeer(benchmark::State& state, const TextFile& text, Ours ours, const std::string& command) {
    using Clock = std::chrono::steady_clock;
    TTextEditor editor(nullptr);
    editor.SetColSeparator(',');
    double oursSeconds = 0, peerSeconds = 0;
    for (auto _ : state) {
        editor.lines = text.store;
        const auto start = Clock::now();
        ours(editor);
        const auto middle = Clock::now();
        if (std::system(command.c_str()) != 0) state.SkipWithError(("failed: " + command).c_str());
        const auto end = Clock::now();
        oursSeconds += std::chrono::duration<double>(middle - start).count();
        peerSeconds += std::chrono::duration<double>(end - middle).count();
        state.SetIterationTime(std::chrono::duration<double>(middle - start).count());
    }
    state.counters["peer_ms"] = peerSeconds * 1000 / double(state.iterations());
    state.counters["ratio"] = oursSeconds / peerSeconds;
}

void SortLines(benchmark::State& state) {
    BesidePeer(
        state, texts->fields, [](TTextEditor& editor) { editor.SortLines(); },
        "LC_ALL=C sort " + texts->fields.path + " > /dev/null");
}
BENCHMARK(SortLines)->Unit(benchmark::kMillisecond)->UseManualTime()->Iterations(5);

void SortByThirdColumn(benchmark::State& state) {
    BesidePeer(
        state, texts->fields, [](TTextEditor& editor) { editor.SortByCol(2); },
        "LC_ALL=C sort -s -t, -k3,3 " + texts->fields.path + " > /dev/null");
}
BENCHMARK(SortByThirdColumn)->Unit(benchmark::kMillisecond)->UseManualTime()->Iterations(5);

void DeleteDuplicatedLines(benchmark::State& state) {
    BesidePeer(
        state, texts->duplicated, [](TTextEditor& editor) { editor.DeleteDuplicatedLines(); },
        "LC_ALL=C awk '!seen[$0]++' " + texts->duplicated.path + " > /dev/null");
}
BENCHMARK(DeleteDuplicatedLines)->Unit(benchmark::kMillisecond)->UseManualTime()->Iterations(5);

// The results must be those of the peers: the same order and the same lines.
bool SameAsPeer(const TStringContainer& ours, const std::string& command) {
    const std::string output = TempPath("redakt_peer_output.txt");
    if (std::system((command + " > " + output).c_str()) != 0) return false;
    TStringContainer peer;
    peer.ReadFromFile(TString(output));
    std::remove(output.c_str());
    if (peer.GetCount() != ours.GetCount()) return false;
    for (int i = 0; i < ours.GetCount(); ++i)
        if (peer[i] != ours[i]) return false;
    return true;
}

void CheckResults() {
    TTextEditor editor(nullptr);
    editor.SetColSeparator(',');
    const struct {
        const TextFile& text;
        void (*run)(TTextEditor&);
        std::string command;
    } kChecks[] = {
        {texts->fields, [](TTextEditor& e) { e.SortLines(); }, "LC_ALL=C sort " + texts->fields.path},
        {texts->fields, [](TTextEditor& e) { e.SortByCol(2); }, "LC_ALL=C sort -s -t, -k3,3 " + texts->fields.path},
        {texts->duplicated, [](TTextEditor& e) { e.DeleteDuplicatedLines(); },
         "LC_ALL=C awk '!seen[$0]++' " + texts->duplicated.path},
    };
    for (const auto& check : kChecks) {
        editor.lines = check.text.store;
        check.run(editor);
        std::printf("%-60s %s\n", check.command.c_str(), SameAsPeer(editor.lines, check.command) ? "same" : "DIFFERS");
    }
}

}  // namespace

int main(int argc, char** argv) {
    setenv("SUITE_DISPLAY", "headless", 1);
    benchmark::Initialize(&argc, argv);
    texts = new Texts;
    CheckResults();
    benchmark::RunSpecifiedBenchmarks();
    std::printf("\ntargets (ratio, ours / the peer's): SortLines at most 1.5, SortByThirdColumn at most 2, "
                "DeleteDuplicatedLines at most 1.5\n");
    delete texts;
    benchmark::Shutdown();
    return 0;
}
