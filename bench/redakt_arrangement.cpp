// The text editor's line arrangement beside coreutils on the same text, in
// the same run: ArrangeLines with MarginPos 80 over 100,000 lines of prose
// (paragraphs between empty lines) against fmt -w 80, and ReverseLines over
// 1,000,000 lines against tac. The prose is put back before each of our runs,
// outside the timing; reversing twice restores the text by itself. Prints
// the ratios (ours / the peer's) and checks that the re-flow kept every word
// in its order and no line grew past the margin.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <random>
#include <sstream>
#include <string>
#include <vector>

#include "TextEditor.h"
#include "TimeBesidePeer.h"
#include "display/TestDriver.h"

namespace {

constexpr int kProseLines = 100000;
constexpr int kReversedLines = 1000000;
constexpr int kMargin = 80;

std::string TempPath(const char* name) {
    const char* folder = std::getenv("TMPDIR");
    return std::string(folder && *folder ? folder : "/tmp") + "/" + name;
}

// Lines of 6 to 16 words, a paragraph of 3 to 12 lines, then an empty line.
std::vector<std::string> Prose(int count) {
    static const char* const kWords[] = {"the", "editor", "moves", "a", "line", "of", "plain", "text", "into",
                                         "paragraphs", "while", "its", "words", "keep", "their", "order", "and",
                                         "margin", "is", "reached", "never", "by", "any", "but", "one", "long",
                                         "word", "such", "as", "incomprehensibilities", "or", "so"};
    std::mt19937 random(41);
    std::vector<std::string> lines;
    lines.reserve(static_cast<size_t>(count));
    int paragraphLeft = 0;
    while (static_cast<int>(lines.size()) < count) {
        if (paragraphLeft == 0) {
            if (!lines.empty()) lines.emplace_back();
            paragraphLeft = 3 + static_cast<int>(random() % 10);
            continue;
        }
        std::string line;
        for (int w = 6 + static_cast<int>(random() % 11); w > 0; --w) {
            if (!line.empty()) line += ' ';
            line += kWords[random() % (sizeof kWords / sizeof kWords[0])];
        }
        lines.push_back(line);
        --paragraphLeft;
    }
    return lines;
}

std::vector<std::string> Numbered(int count) {
    std::vector<std::string> lines;
    lines.reserve(static_cast<size_t>(count));
    for (int i = 0; i < count; ++i) lines.push_back("line " + std::to_string(i) + " of the text to turn round");
    return lines;
}

// A text as a file for the peer and as a line store for the editor.
struct TextFile {
    TextFile(const char* name, const std::vector<std::string>& text) : path(TempPath(name)) {
        FILE* file = std::fopen(path.c_str(), "wb");
        for (const std::string& line : text) {
            std::fwrite(line.data(), 1, line.size(), file);
            std::fputc('\n', file);
            store.Add(TString(line));
        }
        std::fclose(file);
    }
    ~TextFile() { std::remove(path.c_str()); }
    std::string path;
    TStringContainer store;
};

struct Texts {
    win32::TestDriver driver;
    TextFile prose{"redakt_prose.txt", Prose(kProseLines)};
    TextFile numbered{"redakt_reverse.txt", Numbered(kReversedLines)};
};

Texts* texts = nullptr;

void RunPeer(benchmark::State& state, const std::string& command) {
    if (std::system(command.c_str()) != 0) state.SkipWithError(("failed: " + command).c_str());
}

void ArrangeLines(benchmark::State& state) {
    TTextEditor editor(nullptr);
    editor.SetMarginPos(kMargin);
    const std::string fmt = "fmt -w " + std::to_string(kMargin) + " " + texts->prose.path + " > /dev/null";
    TimeBesidePeer(
        state, "fmt", [&] { editor.lines = texts->prose.store; }, [&] { editor.ArrangeLines(); },
        [&] { RunPeer(state, fmt); });
}
BENCHMARK(ArrangeLines)->Unit(benchmark::kMillisecond)->UseManualTime()->Iterations(5);

void ReverseLines(benchmark::State& state) {
    TTextEditor editor(nullptr);
    editor.lines = texts->numbered.store;
    const std::string tac = "tac " + texts->numbered.path + " > /dev/null";
    TimeBesidePeer(
        state, "tac", [&] { editor.ReverseLines(); }, [&] { RunPeer(state, tac); });
}
BENCHMARK(ReverseLines)->Unit(benchmark::kMillisecond)->UseManualTime()->Iterations(5);

std::vector<std::string> WordsOf(const TStringContainer& lines) {
    std::vector<std::string> words;
    for (int i = 0; i < lines.GetCount(); ++i) {
        std::istringstream line(lines[i].str());
        for (std::string word; line >> word;) words.push_back(word);
    }
    return words;
}

// Our re-flow must keep the words and the margin; fmt's line count is shown
// beside ours (its line breaking is its own, not the same lines).
void CheckArrangement() {
    TTextEditor editor(nullptr);
    editor.SetMarginPos(kMargin);
    editor.lines = texts->prose.store;
    editor.ArrangeLines();
    bool withinMargin = true;
    for (int i = 0; i < editor.lines.GetCount(); ++i) {
        const TString& line = editor.lines[i];
        withinMargin = withinMargin && (line.Length() <= kMargin || line.Pos(TString(" ")) < 0);
    }
    const std::string output = TempPath("redakt_fmt_output.txt");
    const std::string command = "fmt -w " + std::to_string(kMargin) + " " + texts->prose.path + " > " + output;
    TStringContainer peer;
    if (std::system(command.c_str()) == 0) peer.ReadFromFile(TString(output));
    std::remove(output.c_str());
    std::printf("ArrangeLines: %d lines into %d (fmt: %d); words kept in order: %s; within the margin: %s\n",
                texts->prose.store.GetCount(), editor.lines.GetCount(), peer.GetCount(),
                WordsOf(editor.lines) == WordsOf(texts->prose.store) ? "yes" : "NO", withinMargin ? "yes" : "NO");
    editor.lines = texts->numbered.store;
    editor.ReverseLines();
    std::printf("ReverseLines: first line now '%s'\n", editor.lines[0].c_str());
}

}  // namespace

int main(int argc, char** argv) {
    setenv("SUITE_DISPLAY", "headless", 1);
    benchmark::Initialize(&argc, argv);
    texts = new Texts;
    CheckArrangement();
    benchmark::RunSpecifiedBenchmarks();
    std::printf("\ntargets (ratio, ours / the peer's): ArrangeLines at most 2, ReverseLines at most 2\n");
    delete texts;
    benchmark::Shutdown();
    return 0;
}
