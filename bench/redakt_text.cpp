// The text editor's line store and files against floors in the same run:
// single-line Insert and Delete pairs at random places of a 1,000,000-line
// text with 100 sections, against memmove of a 1,000,000-pointer array by one
// slot per operation (what any contiguous line store must do); Load and Save
// of a 1,000,000-line text of about 60 MB (one line in ten with tabs), and
// Load of its HTM form with the entity conversion, against coreutils wc -l
// and cp on the same files. Each prints its ratio.
#include <benchmark/benchmark.h>

#include <cstdio>
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

// The text as a plain file and as an HTM file whose accented letters are
// entities, and the editor that loads and saves them.
struct TextFiles {
    TextFiles() : editor(nullptr) {
        const char* tmp = std::getenv("TMPDIR");
        const std::string folder = tmp != nullptr ? tmp : "/tmp";
        plain = folder + "/redakt_bench_text.txt";
        html = folder + "/redakt_bench_text.htm";
        saved = folder + "/redakt_bench_saved.txt";
        copied = folder + "/redakt_bench_copied.txt";
        FILE* plainFile = std::fopen(plain.c_str(), "wb");
        FILE* htmlFile = std::fopen(html.c_str(), "wb");
        std::mt19937 random(3);
        static const char* const kWords[] = {"alpha", "\xE1rv\xEDz", "beta", "t\xFBr\xF5", "gamma", "delta", "k\xF6r"};
        for (int i = 0; i < kLines; ++i) {
            std::string line = i % 10 == 0 ? "\tindented\t" : "";
            while (line.size() < 56) {
                line += kWords[random() % 7];
                line += ' ';
            }
            line += std::to_string(i % 1000);
            line += '\n';
            std::fwrite(line.data(), 1, line.size(), plainFile);
            TString entities(line);
            for (const auto& [letter, entity] : {std::pair<const char*, const char*>{"\xE1", "&aacute;"},
                                                 {"\xED", "&iacute;"}, {"\xFB", "&ucirc;"}, {"\xF5", "&otilde;"},
                                                 {"\xF6", "&ouml;"}})
                entities.SubstituteAll(letter, entity);
            std::fwrite(entities.c_str(), 1, static_cast<size_t>(entities.Length()), htmlFile);
        }
        std::fclose(plainFile);
        std::fclose(htmlFile);
        editor.OnProgressChange = [](TTextEditor*, int, int) {};
    }
    ~TextFiles() {
        for (const std::string& path : {plain, html, saved, copied}) std::remove(path.c_str());
    }

    std::string plain, html, saved, copied;
    TTextEditor editor;
};

TextFiles* files = nullptr;

void Run(benchmark::State& state, const std::string& command) {
    if (std::system(command.c_str()) != 0) state.SkipWithError(("failed: " + command).c_str());
}

void LoadText(benchmark::State& state) {
    TimeBesidePeer(
        state, "wc", [] { files->editor.Load(TString(files->plain), 0); },
        [&] { Run(state, "wc -l " + files->plain + " > /dev/null"); });
    if (files->editor.lines.GetCount() != kLines) state.SkipWithError("lines went missing");
}
BENCHMARK(LoadText)->Unit(benchmark::kMillisecond)->UseManualTime()->Iterations(5);

void LoadHtml(benchmark::State& state) {
    TimeBesidePeer(
        state, "wc", [] { files->editor.Load(TString(files->html), 0); },
        [&] { Run(state, "wc -l " + files->html + " > /dev/null"); });
    if (files->editor.lines[1].Pos('&') >= 0) state.SkipWithError("an entity stayed");
}
BENCHMARK(LoadHtml)->Unit(benchmark::kMillisecond)->UseManualTime()->Iterations(5);

void SaveText(benchmark::State& state) {
    files->editor.Load(TString(files->plain), 0);
    files->editor.SaveAs(TString(files->saved));
    TimeBesidePeer(
        state, "cp",
        [] {
            files->editor.SetModified(true);
            files->editor.Save();
        },
        [&] { Run(state, "cp " + files->plain + " " + files->copied); });
}
BENCHMARK(SaveText)->Unit(benchmark::kMillisecond)->UseManualTime()->Iterations(5);

}  // namespace

int main(int argc, char** argv) {
    setenv("SUITE_DISPLAY", "headless", 1);
    benchmark::Initialize(&argc, argv);
    store = new LineStore;
    files = new TextFiles;
    benchmark::RunSpecifiedBenchmarks();
    std::printf("\ntargets (ratio = ours / peer): InsertDeletePairs at most 3, LoadText at most 6, SaveText at most 4\n");
    delete files;
    delete store;
    benchmark::Shutdown();
    return 0;
}
