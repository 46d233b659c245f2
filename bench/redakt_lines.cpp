// The text editor's line commands on 1,000,000-line texts, each beside its
// peer on the same text written to a file, in the same run.
//
// Sorting and de-duplicating: SortLines against coreutils sort (LC_ALL=C),
// SortByCol(2) with ',' against sort -s -t, -k3,3, and DeleteDuplicatedLines
// on a text of 50% duplicates against awk '!seen[$0]++'. The editor's text
// is restored before each of its runs, outside the timing.
//
// Search and replace on a text of words, "needle" in about half of its
// lines, the editor's time including the load of the file: F3 for an absent
// word exactly, case-blind and as a whole word against grep -c, -ci and -cw;
// search all of "needle" against grep -n (the row counts compared); replace
// "&All" of it without a prompt against sed 's/needle/NEEDLE/g' (the outputs
// compared).
//
// Line conversion (ConvertLines with "line + ';'") on a file of '|'-separated
// records of about 65 bytes, single-threaded and on 1, 2, 4 and 8 workers:
// load + convert + save against the whole run of sed 's/$/;/' (LC_ALL=C),
// whose output must be byte-identical, and the conversion alone against a
// plain loop appending ';' to each string of a std::vector (the floor).
// Prints the ratios (ours / the peer's) and the speed-up per worker count.
//
// Line-block commands, each load + command + save (LF line ends) against
// the whole run of its peer on the same file (LC_ALL=C), whose output must
// be byte-identical: "append ;" and "modify line + ';'" (single-threaded
// and on 1, 2, 4 and 8 workers) on the records against sed 's/$/;/';
// "delete el" on records of which 10% are empty against sed '/^$/d';
// "delete dl" on records in runs of one to four equal lines against uniq;
// "delete where strlen(line) > 60" on the records against
// awk 'length($0) <= 60'.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <iterator>
#include <map>
#include <memory>
#include <random>
#include <string>
#include <vector>

#include "Buttons.h"
#include "ComboBox.h"
#include "Edit.h"
#include "ListBox.h"
#include "Responder.h"
#include "TextEditor.h"
#include "TextEditorResultDlgs.h"
#include "TextEditorSearchDlg.h"
#include "TimeBesidePeer.h"
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

// Records of nine '|'-separated fields, about 65 bytes: a word with five
// digits, an integer within +-10^6, a real, six words.
std::vector<std::string> RecordLines(int count, unsigned seed) {
    static const char* const kWords[] = {"amber", "basil", "cedar", "dune",  "ember", "fjord", "grove",
                                         "heath", "iris",  "juniper", "kelp", "larch", "moss",  "nettle"};
    std::mt19937 random(seed);
    std::vector<std::string> lines;
    lines.reserve(static_cast<size_t>(count));
    char number[64];
    for (int i = 0; i < count; ++i) {
        std::snprintf(number, sizeof number, "%05u", static_cast<unsigned>(random() % 100000));
        std::string line = std::string(kWords[random() % 14]) + number;
        std::snprintf(number, sizeof number, "|%d|%.4f", static_cast<int>(random() % 2000001) - 1000000,
                      (static_cast<double>(random() % 20000000) - 10000000.0) / 1000.0);
        line += number;
        for (int word = 0; word < 6; ++word) {
            line += '|';
            line += kWords[random() % 14];
        }
        lines.push_back(line);
    }
    return lines;
}

struct Texts {
    win32::TestDriver driver;
    TextFile fields{"redakt_sort.txt", FieldLines(kLines, 17)};
    TextFile duplicated{"redakt_duplicates.txt", HalfDuplicated(kLines)};
    TextFile words{"redakt_search.txt", WordLines(kLines, 31)};
    TextFile records{"redakt_records.txt", RecordLines(kLines, 41)};
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
// ---- Line conversion ----

const char* const kConvertExpression = "line + ';'";

// A setting of the line tasks: 0 workers is multithreading off.
struct TaskSetting {
    int workers;
    int chunk;
};

std::string SettingName(const TaskSetting& setting) {
    if (setting.workers == 0) return "mt off";
    return std::to_string(setting.workers) + " workers, chunk " + std::to_string(setting.chunk);
}

void ApplySetting(TTextEditor& editor, const TaskSetting& setting) {
    editor.multiThreaded = setting.workers > 0;
    editor.threadCount = std::max(setting.workers, 1);
    editor.chunkLines = setting.chunk;
}

// Mean seconds of the conversion alone, by setting, for the speed-ups.
std::map<std::string, double> commandSeconds;

// Seconds spent in each step of LoadConvertSave, summed over its calls.
struct StepSeconds {
    double load = 0, convert = 0, save = 0;
};

// The editor's whole job as the peer does it: load, convert, save (with LF
// line ends, as sed writes them).
void LoadConvertSave(TTextEditor& editor, const std::string& input, const std::string& output, StepSeconds& steps) {
    using Clock = std::chrono::steady_clock;
    const auto seconds = [](Clock::time_point from, Clock::time_point to) {
        return std::chrono::duration<double>(to - from).count();
    };
    const auto start = Clock::now();
    editor.Load(TString(input), 0);
    const auto loaded = Clock::now();
    editor.ConvertLines(TString(kConvertExpression));
    const auto converted = Clock::now();
    editor.SetDosFormat(false);
    editor.SaveAs(TString(output));
    const auto saved = Clock::now();
    steps.load += seconds(start, loaded);
    steps.convert += seconds(loaded, converted);
    steps.save += seconds(converted, saved);
}

std::string SedCommand(const std::string& input, const std::string& output) {
    return "LC_ALL=C sed 's/$/;/' " + input + " > " + output;
}

void ConvertBesideSed(benchmark::State& state) {
    const TaskSetting setting{static_cast<int>(state.range(0)), static_cast<int>(state.range(1))};
    TTextEditor editor(nullptr);
    ApplySetting(editor, setting);
    const std::string ours = TempPath("redakt_convert_ours.txt");
    const std::string peer = TempPath("redakt_convert_sed.txt");
    StepSeconds steps;
    TimeBesidePeer(
        state, "sed", [&] { LoadConvertSave(editor, texts->records.path, ours, steps); },
        [&] {
            if (std::system(SedCommand(texts->records.path, peer).c_str()) != 0) state.SkipWithError("sed failed");
        });
    const double iterations = double(state.iterations());
    state.counters["load_ms"] = steps.load * 1000 / iterations;
    state.counters["convert_ms"] = steps.convert * 1000 / iterations;
    state.counters["save_ms"] = steps.save * 1000 / iterations;
    state.SetLabel(SettingName(setting));
    std::remove(ours.c_str());
    std::remove(peer.c_str());
}

void ConvertBesideFloor(benchmark::State& state) {
    const TaskSetting setting{static_cast<int>(state.range(0)), static_cast<int>(state.range(1))};
    TTextEditor editor(nullptr);
    ApplySetting(editor, setting);
    std::vector<std::string> floor;
    double oursSeconds = 0;
    TimeBesidePeer(
        state, "floor",
        [&] {
            editor.lines = texts->records.store;
            floor = texts->records.lines;
        },
        [&] {
            const auto start = std::chrono::steady_clock::now();
            editor.ConvertLines(TString(kConvertExpression));
            oursSeconds += std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        },
        [&] {
            for (std::string& line : floor) line += ';';
            benchmark::DoNotOptimize(floor.data());
        });
    commandSeconds[SettingName(setting)] = oursSeconds / double(state.iterations());
    state.SetLabel(SettingName(setting));
}

const TaskSetting kConvertSettings[] = {{0, 10000}, {1, 10000}, {2, 10000}, {4, 10000},
                                        {8, 10000}, {8, 1000},  {8, 100000}};

void ConvertArguments(benchmark::internal::Benchmark* benchmark) {
    for (const TaskSetting& setting : kConvertSettings) benchmark->Args({setting.workers, setting.chunk});
}

BENCHMARK(ConvertBesideSed)->Apply(ConvertArguments)->Unit(benchmark::kMillisecond)->UseManualTime()->Iterations(3);
BENCHMARK(ConvertBesideFloor)->Apply(ConvertArguments)->Unit(benchmark::kMillisecond)->UseManualTime()->Iterations(5);

// Every setting's saved file is sed's, byte for byte.
void CheckConversions() {
    const std::string peer = TempPath("redakt_convert_sed_check.txt");
    if (std::system(SedCommand(texts->records.path, peer).c_str()) != 0) std::printf("sed failed\n");
    for (const TaskSetting& setting : kConvertSettings) {
        TTextEditor editor(nullptr);
        ApplySetting(editor, setting);
        const std::string ours = TempPath("redakt_convert_check.txt");
        StepSeconds steps;
        LoadConvertSave(editor, texts->records.path, ours, steps);
        const bool same = std::system(("cmp -s " + ours + " " + peer).c_str()) == 0;
        std::printf("convert, %-26s against sed 's/$/;/'  %s\n", SettingName(setting).c_str(), same ? "same" : "DIFFERS");
        std::remove(ours.c_str());
    }
    std::remove(peer.c_str());
}

void PrintSpeedUps() {
    const auto single = commandSeconds.find(SettingName(kConvertSettings[0]));
    if (single == commandSeconds.end()) return;
    std::printf("\nconversion alone, speed-up over mt off (%.1f ms):\n", single->second * 1000);
    for (const TaskSetting& setting : kConvertSettings) {
        const auto found = commandSeconds.find(SettingName(setting));
        if (found != commandSeconds.end())
            std::printf("  %-26s %8.1f ms  %5.2fx\n", SettingName(setting).c_str(), found->second * 1000,
                        single->second / found->second);
    }
}

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


// ---- The line commands replace, surround and for, each loading the file ----
//
// On a text of words with "kappa" in about half the lines: replace kappa
// KAPPA (load + replace + save) against sed 's/kappa/KAPPA/g', single-
// threaded and on 1, 2, 4 and 8 workers; surround < > (load + surround +
// save) against sed 's/.*/<&>/'; for -v n<int>; n += strlen(line); n (load
// + for) against awk '{n += length($0)} END {print n}'. The outputs are
// compared first: the saved files byte for byte, the sums as numbers.

// WordLines with "kappa" where they hold "needle".
std::vector<std::string> KappaLines() {
    std::vector<std::string> lines = WordLines(kLines, 37);
    for (std::string& line : lines) {
        const size_t at = line.find("needle");
        if (at != std::string::npos) line.replace(at, 6, "kappa");
    }
    return lines;
}

const TextFile& KappaText() {
    static const TextFile text("redakt_kappa.txt", KappaLines());
    return text;
}

// Seconds spent in each step of LoadCommandSave, summed over its calls.
struct CommandSteps {
    double load = 0, command = 0, save = 0;
};

// Loads input, runs the command, and saves to output (LF line ends, as sed
// writes them) unless output is empty.
template <class Command>
void LoadCommandSave(TTextEditor& editor, const std::string& input, Command command, const std::string& output,
                     CommandSteps& steps) {
    using Clock = std::chrono::steady_clock;
    const auto seconds = [](Clock::time_point from, Clock::time_point to) {
        return std::chrono::duration<double>(to - from).count();
    };
    const auto start = Clock::now();
    editor.Load(TString(input), 0);
    const auto loaded = Clock::now();
    command(editor);
    const auto done = Clock::now();
    if (!output.empty()) {
        editor.SetDosFormat(false);
        editor.SaveAs(TString(output));
    }
    const auto saved = Clock::now();
    steps.load += seconds(start, loaded);
    steps.command += seconds(loaded, done);
    steps.save += seconds(done, saved);
}

void RunCommand(TTextEditor& editor, void (TTextEditor::*member)(TString&), const char* argument) {
    TString text(argument);
    (editor.*member)(text);
}

void ReplaceKappa(TTextEditor& editor) { RunCommand(editor, &TTextEditor::CmdReplace, "kappa KAPPA"); }
void SurroundLines(TTextEditor& editor) { RunCommand(editor, &TTextEditor::CmdSurround, "< >"); }

// The for command's sum of the line lengths, as its result dialog shows it.
std::string SumLengths(TTextEditor& editor) {
    std::string shown;
    win32::ScopedResponder responder([&](const win32::ModalInteraction&) {
        shown = SharedApplyResultDlg()->edResult->GetText();
        return win32::ModalReply::Answer(mrOk);
    });
    RunCommand(editor, &TTextEditor::CmdFor, "-v n<int>; n += strlen(line); n");
    return shown;
}

const char* const kKappaSed = "LC_ALL=C sed 's/kappa/KAPPA/g' ";
const char* const kSurroundSed = "LC_ALL=C sed 's/.*/<&>/' ";
const char* const kLengthAwk = "LC_ALL=C awk '{n += length($0)} END {print n}' ";

// Mean seconds of the replace step alone, by setting, for the speed-ups.
std::map<std::string, double> replaceSeconds;

// Runs ours (load, command, save to a file of our own) beside the peer's
// command line (its output to a file of its own); counters: the steps' means.
template <class Command>
CommandSteps CommandBesidePeer(benchmark::State& state, TTextEditor& editor, const char* peerName, Command command,
                               const std::string& peer, bool save) {
    const std::string ours = TempPath("redakt_command_ours.txt");
    const std::string theirs = TempPath("redakt_command_peer.txt");
    CommandSteps steps;
    TimeBesidePeer(
        state, peerName, [&] { LoadCommandSave(editor, KappaText().path, command, save ? ours : "", steps); },
        [&] {
            if (std::system((peer + KappaText().path + " > " + theirs).c_str()) != 0) state.SkipWithError("peer failed");
        });
    const double iterations = double(state.iterations());
    state.counters["load_ms"] = steps.load * 1000 / iterations;
    state.counters["command_ms"] = steps.command * 1000 / iterations;
    if (save) state.counters["save_ms"] = steps.save * 1000 / iterations;
    std::remove(ours.c_str());
    std::remove(theirs.c_str());
    return steps;
}

const TaskSetting kReplaceSettings[] = {{0, 10000}, {1, 10000}, {2, 10000}, {4, 10000}, {8, 10000}};

void ReplaceBesideSed(benchmark::State& state) {
    const TaskSetting setting{static_cast<int>(state.range(0)), static_cast<int>(state.range(1))};
    TTextEditor editor(nullptr);
    ApplySetting(editor, setting);
    const CommandSteps steps = CommandBesidePeer(state, editor, "sed", ReplaceKappa, kKappaSed, true);
    replaceSeconds[SettingName(setting)] = steps.command / double(state.iterations());
    state.SetLabel(SettingName(setting));
}

void ReplaceArguments(benchmark::internal::Benchmark* benchmark) {
    for (const TaskSetting& setting : kReplaceSettings) benchmark->Args({setting.workers, setting.chunk});
}

BENCHMARK(ReplaceBesideSed)->Apply(ReplaceArguments)->Unit(benchmark::kMillisecond)->UseManualTime()->Iterations(5);

void SurroundBesideSed(benchmark::State& state) {
    TTextEditor editor(nullptr);
    CommandBesidePeer(state, editor, "sed", SurroundLines, kSurroundSed, true);
}
BENCHMARK(SurroundBesideSed)->Unit(benchmark::kMillisecond)->UseManualTime()->Iterations(5);

void ForSumBesideAwk(benchmark::State& state) {
    TTextEditor editor(nullptr);
    CommandBesidePeer(state, editor, "awk", SumLengths, kLengthAwk, false);
}
BENCHMARK(ForSumBesideAwk)->Unit(benchmark::kMillisecond)->UseManualTime()->Iterations(5);

// The peer's whole output, read back.
std::string PeerOutput(const std::string& command) {
    std::string output;
    FILE* pipe = popen(command.c_str(), "r");
    if (pipe == nullptr) return output;
    char chunk[4096];
    for (size_t n; (n = std::fread(chunk, 1, sizeof chunk, pipe)) > 0;) output.append(chunk, n);
    pclose(pipe);
    return output;
}

// Every replace setting's and surround's saved file is sed's, byte for
// byte; for's sum is awk's.
void CheckLineCommands() {
    const std::string ours = TempPath("redakt_command_check.txt");
    const std::string peer = TempPath("redakt_command_check_peer.txt");
    const auto same = [&](const char* sed) {
        if (std::system((sed + KappaText().path + " > " + peer).c_str()) != 0) return false;
        return std::system(("cmp -s " + ours + " " + peer).c_str()) == 0;
    };
    CommandSteps steps;
    for (const TaskSetting& setting : kReplaceSettings) {
        TTextEditor editor(nullptr);
        ApplySetting(editor, setting);
        LoadCommandSave(editor, KappaText().path, ReplaceKappa, ours, steps);
        std::printf("replace kappa KAPPA, %-26s against sed  %s\n", SettingName(setting).c_str(),
                    same(kKappaSed) ? "same" : "DIFFERS");
    }
    TTextEditor editor(nullptr);
    LoadCommandSave(editor, KappaText().path, SurroundLines, ours, steps);
    std::printf("surround < > against sed 's/.*/<&>/'  %s\n", same(kSurroundSed) ? "same" : "DIFFERS");
    editor.Load(TString(KappaText().path), 0);
    const std::string sum = SumLengths(editor);
    std::string awk = PeerOutput(kLengthAwk + KappaText().path);
    while (!awk.empty() && awk.back() == '\n') awk.pop_back();
    std::printf("for -v n<int>; n += strlen(line); n = %s against awk %s  %s\n", sum.c_str(), awk.c_str(),
                sum == awk ? "same" : "DIFFERS");
    std::remove(ours.c_str());
    std::remove(peer.c_str());
}

void PrintReplaceSpeedUps() {
    const auto single = replaceSeconds.find(SettingName(kReplaceSettings[0]));
    if (single == replaceSeconds.end()) return;
    std::printf("\nreplace alone, speed-up over mt off (%.1f ms):\n", single->second * 1000);
    for (const TaskSetting& setting : kReplaceSettings) {
        const auto found = replaceSeconds.find(SettingName(setting));
        if (found != replaceSeconds.end())
            std::printf("  %-26s %8.1f ms  %5.2fx\n", SettingName(setting).c_str(), found->second * 1000,
                        single->second / found->second);
    }
}

// ---- The sort command and the aggregates calc, count and ecount ----
//
// On two files of their own: records "<word><5 digits>|<integer within
// +-10^6>|<10 to 50 of a and b>|<word>" (equal keys among them, lines of 30
// to 80 bytes) and 1M integers within +-4*10^12. Each sort form, with
// multithreading off and on 1, 2, 4 and 8 workers, as load + sort + save
// (LF line ends) against the peer's whole run (LC_ALL=C); mt off also
// against sort --parallel=1. calc sum (off and on), count and ecount as load
// + command against awk. Outputs are compared with the peers' first
// (CheckSortCalcResults). Threaded sorts count the longest gap between two
// -4 ticks as a fraction of the 100 ms step ("tick_gap").

// Records for the sort and the aggregates.
std::vector<std::string> SortCalcLines(int count, unsigned seed) {
    static const char* const kWords[] = {"amber", "basil", "cedar", "dune",  "ember", "fjord", "grove",
                                         "heath", "iris",  "juniper", "kelp", "larch", "moss",  "nettle"};
    std::mt19937 random(seed);
    std::vector<std::string> lines;
    lines.reserve(static_cast<size_t>(count));
    char number[32];
    for (int i = 0; i < count; ++i) {
        std::snprintf(number, sizeof number, "%05u|%d|", static_cast<unsigned>(random() % 100000),
                      static_cast<int>(random() % 2000001) - 1000000);
        std::string line = std::string(kWords[random() % 14]) + number;
        const int letters = 10 + static_cast<int>(random() % 41);
        for (int k = 0; k < letters; ++k) line += random() % 2 == 0 ? 'a' : 'b';
        line += '|';
        line += kWords[random() % 14];
        lines.push_back(line);
    }
    return lines;
}

std::vector<std::string> IntegerLines(int count, unsigned seed) {
    std::mt19937_64 random(seed);
    std::vector<std::string> lines;
    lines.reserve(static_cast<size_t>(count));
    for (int i = 0; i < count; ++i)
        lines.push_back(std::to_string(static_cast<long long>(random() % 8000000000001ull) - 4000000000000ll));
    return lines;
}

struct SortCalcFiles {
    TextFile records{"redakt_sortcalc.txt", SortCalcLines(kLines, 43)};
    TextFile integers{"redakt_integers.txt", IntegerLines(kLines, 47)};
};

const SortCalcFiles& SortCalcTexts() {
    static const SortCalcFiles files;
    return files;
}

// ORDER: the benchmarks' first argument is a row of this table.
struct SortForm {
    const char* name;
    const char* argument;
    const char* peerFlags;
    bool integers;
};
const SortForm kSortForms[] = {
    {"sort", "", "", false},
    {"sort num", "num", "-n", true},
    {"sort strtok(line, '|', 1) num", "strtok(line, '|', 1) num", "-s -t'|' -k2,2n", false},
};

const std::string& SortInput(const SortForm& form) {
    return form.integers ? SortCalcTexts().integers.path : SortCalcTexts().records.path;
}

std::string PeerSortCommand(const SortForm& form, bool oneThread, const std::string& output) {
    return std::string("LC_ALL=C sort ") + form.peerFlags + (oneThread ? " --parallel=1 " : " ") + SortInput(form) +
           " > " + output;
}

// A new editor for each run (the old one and its text go untimed, as the
// peer's memory goes with its process).
std::unique_ptr<TTextEditor> FreshEditor(int workers) {
    auto editor = std::make_unique<TTextEditor>(nullptr);
    ApplySetting(*editor, TaskSetting{workers, 10000});
    return editor;
}

// Load, sort, save with LF line ends; with a tick log, the times of the -4 ticks.
void LoadSortSave(TTextEditor& editor, const SortForm& form, const std::string& output,
                  std::vector<std::chrono::steady_clock::time_point>* ticks) {
    editor.Load(TString(SortInput(form)), 0);
    if (ticks != nullptr)
        editor.OnProgressChange = [ticks](TTextEditor*, int, int position) {
            if (position == -4) ticks->push_back(std::chrono::steady_clock::now());
        };
    TString argument(form.argument);
    editor.CmdSort(argument);
    editor.OnProgressChange = nullptr;
    editor.SetDosFormat(false);
    editor.SaveAs(TString(output));
}

// Arguments: form, workers (0: mt off), peer on one thread (0 or 1).
void SortCommandBesidePeer(benchmark::State& state) {
    const SortForm& form = kSortForms[state.range(0)];
    const int workers = static_cast<int>(state.range(1));
    const bool peerOneThread = state.range(2) != 0;
    std::unique_ptr<TTextEditor> editor;
    const std::string ours = TempPath("redakt_sort_ours.txt");
    const std::string peer = TempPath("redakt_sort_peer.txt");
    std::vector<std::chrono::steady_clock::time_point> ticks;
    double longestGap = 0;
    TimeBesidePeer(
        state, peerOneThread ? "sort_p1" : "sort", [&] { editor = FreshEditor(workers); },
        [&] {
            ticks.clear();
            LoadSortSave(*editor, form, ours, workers > 0 ? &ticks : nullptr);
            for (size_t i = 1; i < ticks.size(); ++i)
                longestGap = std::max(longestGap, std::chrono::duration<double, std::milli>(ticks[i] - ticks[i - 1]).count());
        },
        [&] {
            if (std::system(PeerSortCommand(form, peerOneThread, peer).c_str()) != 0) state.SkipWithError("sort failed");
        });
    if (workers > 0) state.counters["tick_gap"] = longestGap / 100.0;
    state.SetLabel(std::string(form.name) + ", " + SettingName(TaskSetting{workers, 10000}) +
                   (peerOneThread ? ", peer --parallel=1" : ""));
    std::remove(ours.c_str());
    std::remove(peer.c_str());
}

void SortCommandArguments(benchmark::internal::Benchmark* benchmark) {
    for (int form = 0; form < static_cast<int>(std::size(kSortForms)); ++form) {
        benchmark->Args({form, 0, 1});
        for (int workers : {0, 1, 2, 4, 8}) benchmark->Args({form, workers, 0});
    }
}
BENCHMARK(SortCommandBesidePeer)->Apply(SortCommandArguments)->Unit(benchmark::kMillisecond)->UseManualTime()->Iterations(3);

// ORDER: the benchmarks' first argument is a row of this table.
struct AggregateForm {
    const char* name;
    const char* command;
    const char* awkProgram;
};
const AggregateForm kAggregateForms[] = {
    {"calc sum", "calc sum strtok(line, '|', 1)", R"(-F'|' '{s += $2} END {printf "%d\n", s}')"},
    {"count", "count aa", R"('{n += gsub(/aa/, "")} END {print n}')"},
    {"ecount", "ecount strlen(line) > 60", R"('length($0) > 60 {n++} END {print n}')"},
};

std::string AwkCommand(const AggregateForm& form) {
    return std::string("LC_ALL=C awk ") + form.awkProgram + " " + SortCalcTexts().records.path;
}

// Loads the records and runs the command line; returns what the calc result
// dialog showed.
std::string LoadAndAggregate(TTextEditor& editor, const AggregateForm& form) {
    std::string shown;
    win32::ScopedResponder responder([&](const win32::ModalInteraction& interaction) {
        if (interaction.kind == win32::ModalKind::Form) shown = SharedCalcResultDlg()->edResult->GetText();
        return win32::ModalReply::Answer(mrOk);
    });
    editor.Load(TString(SortCalcTexts().records.path), 0);
    TString line(form.command);
    editor.ExecCommand(line);
    return shown;
}

// Arguments: form, workers (0: mt off).
void AggregateBesideAwk(benchmark::State& state) {
    const AggregateForm& form = kAggregateForms[state.range(0)];
    const int workers = static_cast<int>(state.range(1));
    std::unique_ptr<TTextEditor> editor;
    const std::string output = TempPath("redakt_awk_run.txt");
    TimeBesidePeer(
        state, "awk", [&] { editor = FreshEditor(workers); },
        [&] { benchmark::DoNotOptimize(LoadAndAggregate(*editor, form)); },
        [&] {
            if (std::system((AwkCommand(form) + " > " + output).c_str()) != 0) state.SkipWithError("awk failed");
        });
    state.SetLabel(std::string(form.name) + ", " + SettingName(TaskSetting{workers, 10000}));
    std::remove(output.c_str());
}

void AggregateArguments(benchmark::internal::Benchmark* benchmark) {
    for (int workers : {0, 1, 2, 4, 8}) benchmark->Args({0, workers});
    benchmark->Args({1, 0});
    benchmark->Args({2, 0});
}
BENCHMARK(AggregateBesideAwk)->Apply(AggregateArguments)->Unit(benchmark::kMillisecond)->UseManualTime()->Iterations(3);

// Every sort form's saved file is the peer's, byte for byte, and every
// aggregate shows awk's value, with multithreading off and on.
void CheckSortCalcResults() {
    const std::string peer = TempPath("redakt_sort_peer_check.txt");
    const std::string ours = TempPath("redakt_sort_ours_check.txt");
    for (const SortForm& form : kSortForms) {
        if (std::system(PeerSortCommand(form, false, peer).c_str()) != 0) std::printf("sort failed\n");
        for (int workers : {0, 4}) {
            TTextEditor editor(nullptr);
            ApplySetting(editor, TaskSetting{workers, 10000});
            LoadSortSave(editor, form, ours, nullptr);
            const bool same = std::system(("cmp -s " + ours + " " + peer).c_str()) == 0;
            std::printf("%-36s %-26s against sort %-16s %s\n", form.name, SettingName(TaskSetting{workers, 10000}).c_str(),
                        form.peerFlags, same ? "same" : "DIFFERS");
        }
    }
    std::remove(peer.c_str());
    std::remove(ours.c_str());
    for (const AggregateForm& form : kAggregateForms) {
        std::string expected;
        if (FILE* pipe = popen(AwkCommand(form).c_str(), "r")) {
            char text[64] = "";
            if (std::fgets(text, sizeof text, pipe) != nullptr) expected = text;
            pclose(pipe);
        }
        while (!expected.empty() && (expected.back() == '\n' || expected.back() == '\r')) expected.pop_back();
        for (int workers : {0, 4}) {
            TTextEditor editor(nullptr);
            ApplySetting(editor, TaskSetting{workers, 10000});
            const std::string shown = LoadAndAggregate(editor, form);
            std::printf("%-36s %-26s against awk: %s (%s, awk %s)\n", form.command,
                        SettingName(TaskSetting{workers, 10000}).c_str(), shown == expected ? "same" : "DIFFERS",
                        shown.c_str(), expected.c_str());
        }
    }
}

// ---- Line-block commands: load + command + save beside the peer's run ----

// Records of which about 10% are empty lines.
std::vector<std::string> RecordsWithEmptyLines(int count) {
    std::vector<std::string> lines = RecordLines(count, 43);
    std::mt19937 random(47);
    for (std::string& line : lines)
        if (random() % 10 == 0) line.clear();
    return lines;
}

// Records in runs of one to four equal adjacent lines.
std::vector<std::string> RecordsInRuns(int count) {
    const std::vector<std::string> records = RecordLines(count, 53);
    std::mt19937 random(59);
    std::vector<std::string> lines;
    lines.reserve(static_cast<size_t>(count));
    for (size_t i = 0; lines.size() < static_cast<size_t>(count); ++i) {
        const int run = 1 + static_cast<int>(random() % 4);
        for (int k = 0; k < run && lines.size() < static_cast<size_t>(count); ++k) lines.push_back(records[i]);
    }
    return lines;
}

// One line-block command, the file it works on and its peer's command line
// (the file's path follows it).
struct LineBlockCase {
    const char* name;
    const TextFile& input;
    const char* argument;
    void (TTextEditor::*member)(TString&);
    const char* peer;
};

LineBlockCase LineBlockCaseOf(const std::string& name) {
    static const TextFile withEmptyLines("redakt_empty_lines.txt", RecordsWithEmptyLines(kLines));
    static const TextFile inRuns("redakt_runs.txt", RecordsInRuns(kLines));
    if (name == "append") return {"append ;", texts->records, ";", &TTextEditor::CmdAppend, "LC_ALL=C sed 's/$/;/' "};
    if (name == "modify")
        return {"modify line + ';'", texts->records, "line + ';'", &TTextEditor::CmdModify, "LC_ALL=C sed 's/$/;/' "};
    if (name == "delete el") return {"delete el", withEmptyLines, "el", &TTextEditor::CmdDelete, "LC_ALL=C sed '/^$/d' "};
    if (name == "delete dl") return {"delete dl", inRuns, "dl", &TTextEditor::CmdDelete, "LC_ALL=C uniq "};
    return {"delete where strlen(line) > 60", texts->records, "where strlen(line) > 60", &TTextEditor::CmdDelete,
            "LC_ALL=C awk 'length($0) <= 60' "};
}

void RunLineBlockCase(TTextEditor& editor, const LineBlockCase& run) { RunCommand(editor, run.member, run.argument); }

void LineBlockBesidePeer(benchmark::State& state, const std::string& name) {
    const LineBlockCase run = LineBlockCaseOf(name);
    const TaskSetting setting{static_cast<int>(state.range(0)), 10000};
    TTextEditor editor(nullptr);
    ApplySetting(editor, setting);
    const std::string ours = TempPath("redakt_lineblock_ours.txt");
    const std::string theirs = TempPath("redakt_lineblock_peer.txt");
    const std::string peer = run.peer + run.input.path + " > " + theirs;
    CommandSteps steps;
    TimeBesidePeer(
        state, "peer",
        [&] { LoadCommandSave(editor, run.input.path, [&](TTextEditor& e) { RunLineBlockCase(e, run); }, ours, steps); },
        [&] {
            if (std::system(peer.c_str()) != 0) state.SkipWithError(("failed: " + peer).c_str());
        });
    const double iterations = double(state.iterations());
    state.counters["load_ms"] = steps.load * 1000 / iterations;
    state.counters["command_ms"] = steps.command * 1000 / iterations;
    state.counters["save_ms"] = steps.save * 1000 / iterations;
    state.SetLabel(std::string(run.name) + (name == "modify" ? ", " + SettingName(setting) : ""));
    std::remove(ours.c_str());
    std::remove(theirs.c_str());
}

void AppendBesideSed(benchmark::State& state) { LineBlockBesidePeer(state, "append"); }
void ModifyBesideSed(benchmark::State& state) { LineBlockBesidePeer(state, "modify"); }
void DeleteEmptyLinesBesideSed(benchmark::State& state) { LineBlockBesidePeer(state, "delete el"); }
void DeleteDuplicateLinesBesideUniq(benchmark::State& state) { LineBlockBesidePeer(state, "delete dl"); }
void DeleteWhereBesideAwk(benchmark::State& state) { LineBlockBesidePeer(state, "delete where"); }

BENCHMARK(AppendBesideSed)->Arg(0)->Unit(benchmark::kMillisecond)->UseManualTime()->Iterations(3);
BENCHMARK(ModifyBesideSed)->Arg(0)->Arg(1)->Arg(2)->Arg(4)->Arg(8)->Unit(benchmark::kMillisecond)->UseManualTime()->Iterations(3);
BENCHMARK(DeleteEmptyLinesBesideSed)->Arg(0)->Unit(benchmark::kMillisecond)->UseManualTime()->Iterations(3);
BENCHMARK(DeleteDuplicateLinesBesideUniq)->Arg(0)->Unit(benchmark::kMillisecond)->UseManualTime()->Iterations(3);
BENCHMARK(DeleteWhereBesideAwk)->Arg(0)->Unit(benchmark::kMillisecond)->UseManualTime()->Iterations(3);

// Every command's saved file is its peer's output, byte for byte (modify at
// each worker count).
void CheckLineBlockCommands() {
    const std::string theirs = TempPath("redakt_lineblock_peer_check.txt");
    const std::string ours = TempPath("redakt_lineblock_check.txt");
    for (const char* name : {"append", "modify", "delete el", "delete dl", "delete where"}) {
        const LineBlockCase run = LineBlockCaseOf(name);
        if (std::system((run.peer + run.input.path + " > " + theirs).c_str()) != 0) std::printf("%s failed\n", run.peer);
        const std::vector<int> workers = std::string(name) == "modify" ? std::vector<int>{0, 1, 2, 4, 8} : std::vector<int>{0};
        for (int count : workers) {
            TTextEditor editor(nullptr);
            ApplySetting(editor, TaskSetting{count, 10000});
            CommandSteps steps;
            LoadCommandSave(editor, run.input.path, [&](TTextEditor& e) { RunLineBlockCase(e, run); }, ours, steps);
            const bool same = std::system(("cmp -s " + ours + " " + theirs).c_str()) == 0;
            std::printf("%-32s %-10s against %-32s %s\n", run.name,
                        count == 0 ? "mt off" : (std::to_string(count) + " workers").c_str(), run.peer,
                        same ? "same" : "DIFFERS");
        }
    }
    std::remove(ours.c_str());
    std::remove(theirs.c_str());
}
}  // namespace

int main(int argc, char** argv) {
    setenv("SUITE_DISPLAY", "headless", 1);
    benchmark::Initialize(&argc, argv);
    texts = new Texts;
    CheckResults();
    CheckConversions();
    CheckLineCommands();
    CheckSortCalcResults();
    CheckLineBlockCommands();
    benchmark::RunSpecifiedBenchmarks();
    PrintSpeedUps();
    PrintReplaceSpeedUps();
    std::printf("\ntargets (ratio, ours / the peer's): SortLines at most 1.5, SortByThirdColumn at most 2, "
                "DeleteDuplicatedLines at most 1.5; F3Exact, F3CaseBlind, F3WholeWord and SearchAllRows at most 1.0, "
                "ReplaceAll at most 2.0, ConvertBesideSed with 8 workers at most 1.0"
                "; ReplaceBesideSed with workers at most 1.0, SurroundBesideSed at most 1.0, ForSumBesideAwk reported"
                "; SortCommandBesidePeer and AggregateBesideAwk (calc sum) with workers at most 1.0, tick_gap at most 1.5"
                "; AppendBesideSed, DeleteEmptyLinesBesideSed, DeleteDuplicateLinesBesideUniq and ModifyBesideSed with 8 "
                "workers at most 1.0, DeleteWhereBesideAwk reported"
                "\n");
    delete texts;
    benchmark::Shutdown();
    return 0;
}
