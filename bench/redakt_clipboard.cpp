// The text editor's paste into a large text: 100,000 lines on the clipboard
// (as the editor's own Copy puts a line block there, CR LF after each line)
// pasted into the middle of a 1,000,000-line text through Paste, beside
// InsertText of the same lines in the same run. Paste must not cost a pass
// over the whole text: the target is at most 1.2 times InsertText. The text
// is restored before each run, outside the timing. Prints the ratio.
#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <random>
#include <string>

#include "TextEditor.h"
#include "Win32.h"
#include "display/TestDriver.h"

namespace {

constexpr int kTextLines = 1000000;
constexpr int kPastedLines = 100000;

// Lines of words and numbers, 20 to 60 characters long.
TStringContainer MakeLines(int count, unsigned seed) {
    static const char* const kWords[] = {"alpha", "bravo", "charlie", "delta", "echo", "foxtrot", "golf", "hotel"};
    std::mt19937 random(seed);
    TStringContainer lines;
    for (int i = 0; i < count; ++i) {
        std::string line;
        const size_t length = 20 + random() % 41;
        while (line.size() < length) {
            line += kWords[random() % 8];
            line += ' ';
            line += std::to_string(random() % 1000);
        }
        lines.Add(TString(line));
    }
    return lines;
}

void PutOnClipboard(const TStringContainer& lines) {
    std::string text;
    for (int i = 0; i < lines.GetCount(); ++i) text += lines[i].str() + "\r\n";
    HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, text.size() + 1);
    std::memcpy(GlobalLock(block), text.data(), text.size());
    GlobalUnlock(block);
    OpenClipboard(nullptr);
    EmptyClipboard();
    SetClipboardData(CF_TEXT, block);
    CloseClipboard();
}

struct Texts {
    win32::TestDriver driver;
    TStringContainer text = MakeLines(kTextLines, 17);
    TStringContainer pasted = MakeLines(kPastedLines, 23);
};

Texts* texts = nullptr;

void Restore(TTextEditor& editor) {
    editor.lines = texts->text;
    editor.ClearUndo();
    editor.SetVMax(kTextLines - 1);
    editor.SetHMax(editor.GetMaxLineLength());
    editor.SetCursorPosX(0);
    editor.SetCursorPosY(kTextLines / 2);
    editor.selection = TTextEditorSelection{};
}

// The lines Paste makes of the clipboard text: the block and its last, empty line.
TStringContainer BlockForm(const TStringContainer& lines) {
    TStringContainer block;
    block = lines;
    block.Add(TString());
    return block;
}

void PasteBesideInsertText(benchmark::State& state) {
    using Clock = std::chrono::steady_clock;
    TTextEditor editor(nullptr);
    PutOnClipboard(texts->pasted);
    TStringContainer block = BlockForm(texts->pasted);
    double pasteSeconds = 0, insertSeconds = 0;
    for (auto _ : state) {
        Restore(editor);
        const auto pasteStart = Clock::now();
        editor.Paste();
        const auto pasteEnd = Clock::now();
        if (editor.lines.GetCount() != kTextLines + kPastedLines) state.SkipWithError("the paste went wrong");
        Restore(editor);
        const auto insertStart = Clock::now();
        editor.InsertText(block);
        const auto insertEnd = Clock::now();
        const double paste = std::chrono::duration<double>(pasteEnd - pasteStart).count();
        pasteSeconds += paste;
        insertSeconds += std::chrono::duration<double>(insertEnd - insertStart).count();
        state.SetIterationTime(paste);
    }
    state.counters["InsertText_ms"] = insertSeconds * 1000 / double(state.iterations());
    state.counters["ratio"] = pasteSeconds / insertSeconds;
}
BENCHMARK(PasteBesideInsertText)->Unit(benchmark::kMillisecond)->UseManualTime()->Iterations(20);

}  // namespace

int main(int argc, char** argv) {
    setenv("SUITE_DISPLAY", "headless", 1);
    benchmark::Initialize(&argc, argv);
    texts = new Texts;
    benchmark::RunSpecifiedBenchmarks();
    std::printf("\ntarget (ratio, Paste / InsertText of the same lines): at most 1.2\n");
    delete texts;
    benchmark::Shutdown();
    return 0;
}
