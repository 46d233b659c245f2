// Parser throughput on real-looking text (HTML help pages, Java and C
// sources of 9 MB each, made at build time by MakeTestText) against the
// floor of a plain loop that counts line feeds over the same container, as
// the parsers take their text: each pair timed side by side in one run, in
// the CPU time of the thread, with MB/s and the ratio to the floor.
#include <benchmark/benchmark.h>

#include <ctime>
#include <fstream>
#include <functional>
#include <string>

#include "CommentFilter.h"
#include "HtmlCaseParser.h"
#include "JavaParser.h"
#include "SymbolParser.h"
#include "SymbolScan.h"
#include "TaggedFinder.h"
#include "TaggedTextParser.h"

namespace {

struct Text {
    TStringContainer lines;
    int64_t bytes = 0;
};

Text Read(const char* kind) {
    Text text;
    std::ifstream file(std::string(BENCH_TEST_TEXTS) + "/" + kind + ".txt", std::ios::binary);
    std::string line;
    while (std::getline(file, line)) {
        text.bytes += int64_t(line.size()) + 1;
        text.lines.Add(TString(line));
    }
    if (text.bytes == 0) std::abort();
    return text;
}

const Text& Html() {
    static const Text text = Read("html");
    return text;
}
const Text& Java() {
    static const Text text = Read("java");
    return text;
}
const Text& C() {
    static const Text text = Read("c");
    return text;
}

// The floor: every byte of every line read through the container as the
// parsers read it, line feeds counted, one more for each line end.
int64_t CountLineFeeds(const TStringContainer& lines) {
    int64_t count = 0;
    for (int i = 0; i < lines.GetCount(); ++i) {
        const TString& line = lines[i];
        for (int j = 0; j < line.Length(); ++j) count += line[j] == '\n';
        ++count;
    }
    return count;
}

// The thread's CPU time: on a shared machine, time spent waiting for a core
// counts for neither side.
double ThreadSeconds() {
    timespec now{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return double(now.tv_sec) + double(now.tv_nsec) * 1e-9;
}

double Seconds(const std::function<void()>& run) {
    const double start = ThreadSeconds();
    run();
    return ThreadSeconds() - start;
}

// Runs the parser and the floor in turns over the same text (a fresh copy
// for each run when the parser rewrites it, made outside the timing);
// reports the parser's time, MB/s, the floor's MB/s and the ratio.
void TimeAgainstFloor(benchmark::State& state, const Text& text, const std::function<bool(TStringContainer&)>& parse,
                      bool rewrites = false) {
    double parserTotal = 0, floorTotal = 0;
    TStringContainer copy(text.lines);
    for (auto _ : state) {
        if (rewrites) copy = text.lines;
        const double parserTime = Seconds([&] { benchmark::DoNotOptimize(parse(copy)); });
        const double floorTime = Seconds([&] { benchmark::DoNotOptimize(CountLineFeeds(text.lines)); });
        state.SetIterationTime(parserTime);
        parserTotal += parserTime;
        floorTotal += floorTime;
    }
    const double megabytes = double(text.bytes) * double(state.iterations()) / 1e6;
    state.counters["MB/s"] = megabytes / parserTotal;
    state.counters["floor_MB/s"] = megabytes / floorTotal;
    state.counters["ratio"] = parserTotal / floorTotal;
}

void AddTags(TTaggedTextParser& parser) {
    const char* const tags[] = {"P", "B", "I", "A", "TABLE", "TR", "TD", "IMG", "BR", "UL", "LI", "H1", "SPAN"};
    int id = 1;
    for (const char* tag : tags) parser.AddTag(id++, TString(tag));
}

void BM_SymbolParserHtml(benchmark::State& state) {
    TSymbolParser parser;
    TimeAgainstFloor(state, Html(), [&](TStringContainer& lines) { return parser.Parse(lines); });
}

void BM_SymbolParserJava(benchmark::State& state) {
    TSymbolParser parser;
    TimeAgainstFloor(state, Java(), [&](TStringContainer& lines) { return parser.Parse(lines); });
}

void BM_SymbolParserC(benchmark::State& state) {
    TSymbolParser parser;
    TimeAgainstFloor(state, C(), [&](TStringContainer& lines) { return parser.Parse(lines); });
}

void BM_CommentFilterC(benchmark::State& state) {
    TCommentFilter parser;
    TimeAgainstFloor(state, C(), [&](TStringContainer& lines) { return parser.Parse(lines); });
}

void BM_HtmlCaseParser(benchmark::State& state) {
    THtmlCaseParser parser;
    TimeAgainstFloor(
        state, Html(), [&](TStringContainer& lines) { return parser.Parse(lines); }, true);
}

void BM_JavaParser(benchmark::State& state) {
    TJavaParser parser;
    TimeAgainstFloor(state, Java(), [&](TStringContainer& lines) { return parser.Parse(lines); });
    state.counters["classes"] = parser.GetCount();
}

void BM_TaggedTextParser(benchmark::State& state) {
    TTaggedTextParser parser;
    AddTags(parser);
    TimeAgainstFloor(state, Html(), [&](TStringContainer& lines) { return parser.Parse(lines); });
}

void BM_TaggedFinder(benchmark::State& state) {
    TTaggedFinder finder;
    TStringContainer words;
    words.Add(TString("picture"));
    words.Add(TString("missing"));
    bool found = false;
    TimeAgainstFloor(state, Html(), [&](TStringContainer& lines) {
        return finder.Parse(lines, words, found, false, true, false);
    });
}

// A parser of another package built on the tagged text parser, as the topic
// viewer's markup parser is: it overrides the tag hooks, so every operation
// goes through the virtual table.
class TCountingTagParser : public TTaggedTextParser {
public:
    void ParseKnownTag(int, const TString&, bool) override { ++tags; }
    void ParseSymbol(const TString& word) override {
        TTaggedTextParser::ParseSymbol(word);
        ++words;
    }
    int64_t tags = 0;
    int64_t words = 0;
};

void BM_DerivedTaggedParser(benchmark::State& state) {
    TCountingTagParser parser;
    AddTags(parser);
    TimeAgainstFloor(state, Html(), [&](TStringContainer& lines) { return parser.Parse(lines); });
}

// The same parser taking the direct calls from its own Parse.
class TDirectCountingTagParser : public TCountingTagParser {
public:
    bool Parse(TStringContainer& lines) override { return ParseTaggedAs(*this, lines); }
};

void BM_DerivedTaggedParserDirect(benchmark::State& state) {
    TDirectCountingTagParser parser;
    AddTags(parser);
    TimeAgainstFloor(state, Html(), [&](TStringContainer& lines) { return parser.Parse(lines); });
}

}  // namespace

BENCHMARK(BM_SymbolParserHtml)->Unit(benchmark::kMillisecond)->UseManualTime();
BENCHMARK(BM_SymbolParserJava)->Unit(benchmark::kMillisecond)->UseManualTime();
BENCHMARK(BM_SymbolParserC)->Unit(benchmark::kMillisecond)->UseManualTime();
BENCHMARK(BM_CommentFilterC)->Unit(benchmark::kMillisecond)->UseManualTime();
BENCHMARK(BM_HtmlCaseParser)->Unit(benchmark::kMillisecond)->UseManualTime();
BENCHMARK(BM_JavaParser)->Unit(benchmark::kMillisecond)->UseManualTime();
BENCHMARK(BM_TaggedTextParser)->Unit(benchmark::kMillisecond)->UseManualTime();
BENCHMARK(BM_TaggedFinder)->Unit(benchmark::kMillisecond)->UseManualTime();
BENCHMARK(BM_DerivedTaggedParser)->Unit(benchmark::kMillisecond)->UseManualTime();
BENCHMARK(BM_DerivedTaggedParserDirect)->Unit(benchmark::kMillisecond)->UseManualTime();
