// The text editor's line sorting and de-duplication on a 1,000,000-line text,
// each beside its peer on the same text written to a file, in the same run:
// SortLines against coreutils sort (LC_ALL=C), SortByCol(2) with ',' against
// sort -s -t, -k3,3, and DeleteDuplicatedLines on a text of 50% duplicates
// against awk '!seen[$0]++'. The editor's text is restored before each of
// its runs, outside the timing. Search and replace on a 1,000,000-line text
// of words, "needle" in about half of its lines, the editor's time including
// the load of the file: F3 for an absent word exactly, case-blind and as a
// whole word against grep -c, -ci and -cw; search all of "needle" against
// grep -n (the row counts compared); replace "&All" of it without a prompt
// against sed 's/needle/NEEDLE/g' (the outputs compared). Prints the ratios
// (ours / the peer's).
#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <random>
#include <string>
#include <vector>

#include "Buttons.h"
#include "ComboBox.h"
#include "ListBox.h"
#include "Responder.h"
#include "TextEditor.h"
#include "TextEditorSearchDlg.h"
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

// Six to ten words a line; about half the lines hold "needle".
std::vector<std::string> WordLines(int count, unsigned seed) {
    static const char* const kWords[] = {"the", "quick", "brown", "fox", "jumps", "over", "lazy", "dog",
                                         "pack", "my", "box", "with", "five", "dozen", "liquor", "jugs"};
    std::mt19937 random(seed);
    std::vector<std::string> lines;
    lines.reserve(static_cast<size_t>(count));
    for (int i = 0; i < count; ++i) {
        const int words = 6 + static_cast<int>(random() % 5);
        const int needleAt = random() % 2 == 0 ? static_cast<int>(random() % static_cast<unsigned>(words)) : -1;
        std::string line;
        for (int w = 0; w < words; ++w) {
            if (w > 0) line += ' ';
            line += w == needleAt ? "needle" : kWords[random() % 16];
        }
        lines.push_back(line);
    }
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
    TextFile words{"redakt_search.txt", WordLines(kLines, 31)};
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

// ---- Search and replace: ours loads the file and runs; the peer runs on the file ----

constexpr char kAbsent[] = "zebrafish";
constexpr char kWord[] = "needle";

// A peer that may find nothing (grep then ends with 1). Its output goes to a
// file: grep stops at the first match when it writes to /dev/null.
void RunPeer(benchmark::State& state, const std::string& command) {
    const std::string output = TempPath("redakt_peer_run.txt");
    const std::string full = command + " > " + output;
    const int status = std::system(full.c_str());
    std::remove(output.c_str());
    if (status != 0 && status != 256) state.SkipWithError(("failed: " + full).c_str());
}

// Each iteration: the file loaded and step run (ours, timed), then the peer's
// whole run. Counters: the peer's mean, ours' step alone, the ratio of ours
// with the load and that of the step alone ("step_ratio").
template <class Step>
void LoadStepBesidePeer(benchmark::State& state, const char* peerName, Step step, const std::string& command) {
    using Clock = std::chrono::steady_clock;
    TTextEditor editor(nullptr);
    double oursSeconds = 0, stepSeconds = 0, peerSeconds = 0;
    for (auto _ : state) {
        const auto start = Clock::now();
        editor.Load(TString(texts->words.path), 0);
        const auto loaded = Clock::now();
        step(editor);
        const auto stepped = Clock::now();
        RunPeer(state, command);
        const auto end = Clock::now();
        oursSeconds += std::chrono::duration<double>(stepped - start).count();
        stepSeconds += std::chrono::duration<double>(stepped - loaded).count();
        peerSeconds += std::chrono::duration<double>(end - stepped).count();
        state.SetIterationTime(std::chrono::duration<double>(stepped - start).count());
    }
    if (editor.lines.GetCount() != kLines) state.SkipWithError("lines went missing");
    const double iterations = double(state.iterations());
    state.counters[std::string(peerName) + "_ms"] = peerSeconds * 1000 / iterations;
    state.counters["step_ms"] = stepSeconds * 1000 / iterations;
    state.counters["ratio"] = oursSeconds / peerSeconds;
    state.counters["step_ratio"] = stepSeconds / peerSeconds;
}

// F3 from the first line for a word the text lacks.
void SearchAbsent(benchmark::State& state, bool caseSensitive, bool wholeWords, const char* grepFlags) {
    LoadStepBesidePeer(
        state, "grep",
        [&](TTextEditor& editor) {
            TTextEditorSearchInfo& info = *editor.searchInfo;
            info = TTextEditorSearchInfo();
            info.text = TString(kAbsent);
            info.caseSensitive = caseSensitive;
            info.wholeWords = wholeWords;
            editor.SearchByInfo();
        },
        std::string("LC_ALL=C grep ") + grepFlags + " " + kAbsent + " " + texts->words.path);
}

void F3Exact(benchmark::State& state) { SearchAbsent(state, true, false, "-c"); }
BENCHMARK(F3Exact)->Unit(benchmark::kMillisecond)->UseManualTime()->Iterations(5);
void F3CaseBlind(benchmark::State& state) { SearchAbsent(state, false, false, "-ci"); }
BENCHMARK(F3CaseBlind)->Unit(benchmark::kMillisecond)->UseManualTime()->Iterations(5);
void F3WholeWord(benchmark::State& state) { SearchAbsent(state, true, true, "-cw"); }
BENCHMARK(F3WholeWord)->Unit(benchmark::kMillisecond)->UseManualTime()->Iterations(5);

// The search-all dialog asked for kWord, exactly, from the first line.
TTextEditorSearchAllDlg* SearchAllDialog() {
    TTextEditorSearchAllDlg* dialog = SharedSearchAllDlg();
    dialog->cmbText->SetText(kWord);
    dialog->cbCaseSensitivity->SetChecked(true);
    dialog->cbWholeWords->SetChecked(false);
    dialog->cbEval->SetChecked(false);
    dialog->cbRegExp->SetChecked(false);
    dialog->rbForward->SetChecked(true);
    dialog->rbEntire->SetChecked(true);
    dialog->rbFirstPos->SetChecked(true);
    return dialog;
}

void SearchAllRows(benchmark::State& state) {
    auto* list = new TListBox(nullptr);
    LoadStepBesidePeer(
        state, "grep", [&](TTextEditor& editor) { editor.DoSearchAll(SearchAllDialog(), list); },
        std::string("LC_ALL=C grep -n ") + kWord + " " + texts->words.path);
    state.counters["rows"] = list->GetItems()->GetCount() - 2;
    delete list;
}
BENCHMARK(SearchAllRows)->Unit(benchmark::kMillisecond)->UseManualTime()->Iterations(5);

// Replace with "&All", no prompt, exactly, from the first line on; the
// responder fills the dialog and answers "&All" at once.
void ReplaceEveryNeedle(TTextEditor& editor) {
    win32::ScopedResponder responder([](const win32::ModalInteraction&) {
        TTextEditorReplaceDlg* dialog = SharedReplaceDlg();
        dialog->cmbText->SetText(kWord);
        dialog->cmbReplaceText->SetText("NEEDLE");
        dialog->cbPromptOnReplace->SetChecked(false);
        dialog->cbCaseSensitivity->SetChecked(true);
        dialog->cbWholeWords->SetChecked(false);
        dialog->rbForward->SetChecked(true);
        dialog->rbEntire->SetChecked(true);
        dialog->rbCurPos->SetChecked(true);
        return win32::ModalReply::Answer(mrYes);
    });
    editor.Replace();
}

void ReplaceAll(benchmark::State& state) {
    LoadStepBesidePeer(state, "sed", ReplaceEveryNeedle,
                       std::string("LC_ALL=C sed 's/") + kWord + "/NEEDLE/g' " + texts->words.path);
}
BENCHMARK(ReplaceAll)->Unit(benchmark::kMillisecond)->UseManualTime()->Iterations(5);

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

    editor.lines = texts->words.store;
    ReplaceEveryNeedle(editor);
    const std::string sed = std::string("LC_ALL=C sed 's/") + kWord + "/NEEDLE/g' " + texts->words.path;
    std::printf("%-60s %s\n", sed.c_str(), SameAsPeer(editor.lines, sed) ? "same" : "DIFFERS");

    auto* list = new TListBox(nullptr);
    editor.lines = texts->words.store;
    editor.DoSearchAll(SearchAllDialog(), list);
    const std::string grep = std::string("LC_ALL=C grep -c ") + kWord + " " + texts->words.path;
    FILE* pipe = popen(grep.c_str(), "r");
    int grepLines = -1;
    if (pipe == nullptr || std::fscanf(pipe, "%d", &grepLines) != 1) grepLines = -1;
    if (pipe != nullptr) pclose(pipe);
    const int rows = list->GetItems()->GetCount() - 2;
    std::printf("%-60s %s (%d rows, grep %d lines)\n", ("search all, " + grep).c_str(),
                rows == grepLines ? "same" : "DIFFERS", rows, grepLines);
    delete list;
}

}  // namespace

int main(int argc, char** argv) {
    setenv("SUITE_DISPLAY", "headless", 1);
    benchmark::Initialize(&argc, argv);
    texts = new Texts;
    CheckResults();
    benchmark::RunSpecifiedBenchmarks();
    std::printf("\ntargets (ratio, ours / the peer's): SortLines at most 1.5, SortByThirdColumn at most 2, "
                "DeleteDuplicatedLines at most 1.5; F3Exact, F3CaseBlind, F3WholeWord and SearchAllRows at most 1.0, "
                "ReplaceAll at most 2.0\n");
    delete texts;
    benchmark::Shutdown();
    return 0;
}
