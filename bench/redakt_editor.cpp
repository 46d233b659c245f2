// The text editor's painting and tab expansion against floors in the same run:
// a full Paint of a 1920x1080 editor full of 200-column C-like lines with
// every colouring switch on, against the same visible lines drawn with one
// TextOut each on the same canvas; and TabsToSpaces over a 1,000,000-line text
// with tabs, against coreutils expand on the same file. Prints the ratios.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <map>
#include <random>
#include <set>
#include <string>
#include <vector>

#include "Form.h"
#include "TextEditor.h"
#include "display/TestDriver.h"

namespace {

constexpr int kWidth = 1920;
constexpr int kHeight = 1080;
constexpr int kColumns = 200;
constexpr int kPaintLines = 2000;
constexpr int kTabLines = 1000000;

const char* const kKeywords[] = {"int", "char", "return", "for", "if", "while", "else", "static", "const", "struct"};

// C-like lines of kColumns characters: keywords, names, numbers, strings,
// characters, symbols, a comment now and then and a directive line.
std::vector<std::string> SourceLines(int count) {
    static const char* const kPieces[] = {
        "int ", "value", " = ", "42", "; ", "if (", "count", " > ", "7", ") ", "return ", "\"text\"", " + ",
        "'c'", "{ ", "} ", "while (", "x[3]", " * ", "name", "->next", "char ", "static ", "0x1F", ", ",
    };
    std::mt19937 random(7);
    std::vector<std::string> lines;
    for (int i = 0; i < count; ++i) {
        std::string line = i % 25 == 0 ? "#define MACRO_" : "    ";
        while (line.size() < kColumns) line += kPieces[random() % (sizeof kPieces / sizeof *kPieces)];
        line.resize(kColumns);
        if (i % 5 == 0) line.replace(kColumns - 24, 24, "  // a comment 1 2 3 ...");
        lines.push_back(line);
    }
    return lines;
}

// An editor filling a borderless form as large as the (headless) screen.
struct Scene {
    Scene() {
        form = new TForm(nullptr, 1);
        form->SetBorderStyle(bsNone);
        form->SetBounds(0, 0, kWidth, kHeight);
        editor = new TTextEditor(form);
        editor->SetBounds(0, 0, kWidth, kHeight);
        editor->SetParent(form);
        for (auto setter : {&TTextEditor::SetShowRemarks, &TTextEditor::SetShowNumbers, &TTextEditor::SetShowStrings,
                            &TTextEditor::SetShowChars, &TTextEditor::SetShowSymbols,
                            &TTextEditor::SetShowDirectives, &TTextEditor::SetShowBoldWords,
                            &TTextEditor::SetShowLineNumbers, &TTextEditor::SetShowLineEnds})
            (editor->*setter)(true);
        for (const char* keyword : kKeywords) {
            editor->boldWords.Add(keyword);
            editor->boldWordLengths.Add(TString(keyword).Length());
        }
        for (int column : {8, 16, 24, 32}) editor->tabStops.Add(column);
        editor->markers += TEXT_EDITOR_MARKER{3, 1};
        editor->sections.Add(TIntPair{10, 12});
        TStringContainer text;
        for (const std::string& line : SourceLines(kPaintLines)) text.Add(TString(line));
        form->Show();
        editor->NewStrings(text);
        driver.PumpUntilIdle();
    }
    ~Scene() { delete form; }

    win32::TestDriver driver;
    TForm* form;
    TTextEditor* editor;
};

Scene* scene = nullptr;

void FullPaint(benchmark::State& state) {
    HWND window = scene->editor->GetHandle();
    for (auto _ : state) {
        InvalidateRect(window, nullptr, FALSE);
        UpdateWindow(window);
    }
}
BENCHMARK(FullPaint)->Unit(benchmark::kMicrosecond);

// The floor: the visible lines with one TextOut each, on the editor's canvas.
void OneTextOutPerLine(benchmark::State& state) {
    TTextEditor& editor = *scene->editor;
    HDC dc = editor.GetCanvas()->GetHandle();
    editor.PrepareDC(dc);
    SetBkMode(dc, TRANSPARENT);
    const int h = editor.GetLineHeight();
    const int gap = editor.GetColGap();
    for (auto _ : state) {
        for (int k = 0; k * h < editor.GetClientHeight(); ++k) {
            const TString& line = editor.lines[editor.GetVPos() + k];
            TextOutA(dc, gap, k * h, line.c_str(), line.Length());
        }
    }
}
BENCHMARK(OneTextOutPerLine)->Unit(benchmark::kMicrosecond);

// A text of kTabLines lines with tabs, as a file and as the editor's lines.
struct TabbedText {
    TabbedText() : path(std::string(std::getenv("TMPDIR") ? std::getenv("TMPDIR") : "/tmp") + "/redakt_tabs.txt") {
        std::mt19937 random(11);
        FILE* file = std::fopen(path.c_str(), "wb");
        for (int i = 0; i < kTabLines; ++i) {
            std::string line;
            for (int field = 0; field < 4; ++field) {
                line.append(1 + random() % 12, char('a' + field));
                line += '\t';
            }
            line += "end";
            lines.Add(TString(line));
            line += '\n';
            std::fwrite(line.data(), 1, line.size(), file);
        }
        std::fclose(file);
    }
    ~TabbedText() { std::remove(path.c_str()); }
    std::string path;
    TStringContainer lines;
};

TabbedText* tabbed = nullptr;

void TabsToSpaces(benchmark::State& state) {
    TTextEditor editor(nullptr);
    for (auto _ : state) {
        state.PauseTiming();
        editor.lines = tabbed->lines;
        state.ResumeTiming();
        editor.TabsToSpaces();
    }
    if (editor.lines[0].Pos('\t') >= 0) state.SkipWithError("a tab stayed");
}
BENCHMARK(TabsToSpaces)->Unit(benchmark::kMillisecond)->Iterations(5);

void CoreutilsExpand(benchmark::State& state) {
    const std::string command = "expand " + tabbed->path + " > /dev/null";
    for (auto _ : state)
        if (std::system(command.c_str()) != 0) state.SkipWithError("expand failed");
}
BENCHMARK(CoreutilsExpand)->Unit(benchmark::kMillisecond)->Iterations(5);

// Keeps each run's time per iteration for the ratios printed at the end.
class RatioReporter : public benchmark::ConsoleReporter {
public:
    void ReportRuns(const std::vector<Run>& runs) override {
        ConsoleReporter::ReportRuns(runs);
        for (const Run& run : runs) {
            if (run.error_occurred) continue;
            const bool median = run.run_type == Run::RT_Aggregate && run.aggregate_name == "median";
            if (median || (run.run_type == Run::RT_Iteration && !medians.count(run.run_name.function_name)))
                times[run.run_name.function_name] = run.GetAdjustedRealTime() * Scale(run.time_unit);
            if (median) medians.insert(run.run_name.function_name);
        }
    }
    void Ratio(const char* what, const char* ours, const char* peer) {
        if (!times.count(ours) || !times.count(peer)) return;
        std::printf("%-48s %8.2f\n", what, times[ours] / times[peer]);
    }

private:
    static double Scale(benchmark::TimeUnit unit) { return unit == benchmark::kMillisecond ? 1000.0 : 1.0; }
    std::map<std::string, double> times;
    std::set<std::string> medians;
};

}  // namespace

int main(int argc, char** argv) {
    setenv("SUITE_DISPLAY", "headless", 1);
    benchmark::Initialize(&argc, argv);
    scene = new Scene;
    tabbed = new TabbedText;
    RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    std::printf("\nratios (targets: paint within 4x, tabs within 2x)\n");
    reporter.Ratio("full Paint / one TextOut per visible line", "FullPaint", "OneTextOutPerLine");
    reporter.Ratio("TabsToSpaces / coreutils expand", "TabsToSpaces", "CoreutilsExpand");
    delete tabbed;
    delete scene;
    benchmark::Shutdown();
    return 0;
}
