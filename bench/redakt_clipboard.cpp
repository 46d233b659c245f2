// The text editor's paste into a large text: 100,000 lines on the clipboard
// (as the editor's own Copy puts a line block there, CR LF after each line)
// pasted into the middle of a 1,000,000-line text through Paste, beside
// InsertText of the same lines in the same run. Paste must not cost a pass
// over the whole text: the target is at most 1.2 times InsertText. The text
// is restored before each operation, outside the timing. Prints the ratio.
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

using Clock = std::chrono::steady_clock;

// The seconds that operation takes on the restored text.
template <class Operation>
double TimedOnRestored(TTextEditor& editor, Operation operation) {
    Restore(editor);
    const auto start = Clock::now();
    operation();
    return std::chrono::duration<double>(Clock::now() - start).count();
}

// One untimed round of both goes first: the first operation of the run
// meets a heap that has not grown yet (the line list's first growth past
// 1,000,000 lines, pages never touched before), which would otherwise
// always fall on Paste. The two then take turns at going first.
void PasteBesideInsertText(benchmark::State& state) {
    TTextEditor editor(nullptr);
    PutOnClipboard(texts->pasted);
    TStringContainer block = BlockForm(texts->pasted);
    bool pastedAll = true;
    const auto paste = [&] {
        editor.Paste();
        pastedAll = pastedAll && editor.lines.GetCount() == kTextLines + kPastedLines;
    };
    const auto insert = [&] { editor.InsertText(block); };
    TimedOnRestored(editor, paste);
    TimedOnRestored(editor, insert);
    double pasteSeconds = 0, insertSeconds = 0;
    bool pasteFirst = true;
    for (auto _ : state) {
        double pasteTime, insertTime;
        if (pasteFirst) {
            pasteTime = TimedOnRestored(editor, paste);
            insertTime = TimedOnRestored(editor, insert);
        } else {
            insertTime = TimedOnRestored(editor, insert);
            pasteTime = TimedOnRestored(editor, paste);
        }
        pasteFirst = !pasteFirst;
        pasteSeconds += pasteTime;
        insertSeconds += insertTime;
        state.SetIterationTime(pasteTime);
    }
    if (!pastedAll) state.SkipWithError("the paste went wrong");
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
