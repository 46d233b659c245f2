// Typing into the text editor: a key pressed through the test driver (its
// key-down and character through the queue, the line repainted, the caret
// moved) in the middle of a 1,000,000-line text, against the same key in a
// 10-line text in the same run, one key each in turn. Typing must not slow
// down with the text: prints the per-key cost ratio (target at most 1.2).
#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "Form.h"
#include "TextEditor.h"
#include "display/TestDriver.h"

namespace {

constexpr int kLargeLines = 1000000;
constexpr int kSmallLines = 10;
constexpr int kCaretCol = 30;
// Keys typed into a line before it is put back, so that lines stay short.
constexpr int kKeysPerLine = 64;

const char* const kKeywords[] = {"int", "char", "return", "for", "if", "while", "static", "const"};

// An editor with the colouring switches and line numbers on, filling a form
// of its own, the caret in the middle of its text.
struct Typist {
    Typist(win32::TestDriver& driver, int lineCount) : driver(driver) {
        form = new TForm(nullptr, 1);
        form->SetBounds(0, 0, 1000, 700);
        editor = new TTextEditor(form);
        editor->SetBounds(0, 0, 980, 660);
        editor->SetParent(form);
        for (auto setter : {&TTextEditor::SetShowRemarks, &TTextEditor::SetShowNumbers, &TTextEditor::SetShowStrings,
                            &TTextEditor::SetShowSymbols, &TTextEditor::SetShowBoldWords,
                            &TTextEditor::SetShowLineNumbers})
            (editor->*setter)(true);
        for (const char* keyword : kKeywords) {
            editor->boldWords.Add(keyword);
            editor->boldWordLengths.Add(TString(keyword).Length());
        }
        TStringContainer text;
        for (int i = 0; i < lineCount; ++i)
            text.Add(TString("    static int value" + std::to_string(i % 1000) + " = count * 7 + 3;  // a line"));
        form->Show();
        editor->NewStrings(text);
        line = lineCount / 2;
        original = editor->lines[line];
        driver.PumpUntilIdle();
    }
    ~Typist() { delete form; }

    // The focus, and the caret on the middle line with that line as it was.
    void Prepare() {
        if (!editor->Focused()) {
            editor->SetFocus();
            driver.PumpUntilIdle();
        }
        if (typed % kKeysPerLine == 0) {
            editor->lines[line] = original;
            editor->SetCurLine(line);
            editor->SetCurCol(kCaretCol);
            editor->RepaintLine(line);
            driver.PumpUntilIdle();
        }
    }
    void Type() {
        driver.Press('X');
        ++typed;
    }

    win32::TestDriver& driver;
    TForm* form;
    TTextEditor* editor;
    int line = 0;
    TString original;
    long typed = 0;
};

win32::TestDriver* driver = nullptr;
Typist* large = nullptr;
Typist* small = nullptr;
double lastRatio = 0;

// One key into each text in turn; the focus moves between them untimed. The
// benchmark's time is the large text's; the counter small_ns is the small
// text's per key and ratio large / small.
void TypeIntoTheMiddleOfAMillionLines(benchmark::State& state) {
    using Clock = std::chrono::steady_clock;
    double largeSeconds = 0, smallSeconds = 0;
    for (auto _ : state) {
        large->Prepare();
        const auto largeStart = Clock::now();
        large->Type();
        const double largeTime = std::chrono::duration<double>(Clock::now() - largeStart).count();
        small->Prepare();
        const auto smallStart = Clock::now();
        small->Type();
        smallSeconds += std::chrono::duration<double>(Clock::now() - smallStart).count();
        largeSeconds += largeTime;
        state.SetIterationTime(largeTime);
    }
    if (large->editor->lines.GetCount() != kLargeLines || large->editor->lines[large->line].Pos('x') < 0)
        state.SkipWithError("the keys were not typed");
    state.counters["small_ns"] = smallSeconds * 1e9 / double(state.iterations());
    state.counters["ratio"] = largeSeconds / smallSeconds;
    lastRatio = largeSeconds / smallSeconds;
}
BENCHMARK(TypeIntoTheMiddleOfAMillionLines)->UseManualTime()->Unit(benchmark::kMicrosecond)->MinTime(2.0);

}  // namespace

int main(int argc, char** argv) {
    setenv("SUITE_DISPLAY", "headless", 1);
    benchmark::Initialize(&argc, argv);
    driver = new win32::TestDriver;
    large = new Typist(*driver, kLargeLines);
    small = new Typist(*driver, kSmallLines);
    benchmark::RunSpecifiedBenchmarks();
    std::printf("\nper-key cost, 1,000,000 lines / 10 lines: %.3f (target: at most 1.2)\n", lastRatio);
    delete small;
    delete large;
    delete driver;
    benchmark::Shutdown();
    return 0;
}
