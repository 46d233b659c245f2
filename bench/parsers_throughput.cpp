// Parser throughput in bytes per second over a few megabytes of generated
// HTML-like and Java-like text.
#include <benchmark/benchmark.h>

#include <string>

#include "HtmlCaseParser.h"
#include "JavaParser.h"
#include "SymbolParser.h"
#include "TaggedFinder.h"
#include "TaggedTextParser.h"

namespace {

const int kTargetBytes = 4 << 20;

struct GeneratedText {
    TStringContainer lines;
    int64_t bytes = 0;
};

// Cycles through pattern lines, numbering them, until about kTargetBytes are made.
template <size_t N>
GeneratedText Generate(const char* const (&pattern)[N]) {
    GeneratedText text;
    for (int i = 0; text.bytes < kTargetBytes; ++i) {
        std::string line = pattern[i % N];
        size_t mark = line.find('#');
        if (mark != std::string::npos) line.replace(mark, 1, std::to_string(i));
        text.bytes += static_cast<int64_t>(line.size()) + 1;
        text.lines.Add(TString(line));
    }
    return text;
}

const char* const kHtmlPattern[] = {
    "<p class=\"body\">Section # of the help text, with <b>bold</b> and <i>italic</i> words.</p>",
    "<a href=\"topic#.htm\" target=main>Next topic</a> <!-- navigation link # -->",
    "<table border=1 cellpadding=2><tr><td width=40%>cell #</td><td>value</td></tr></table>",
    "Plain running text of line # that holds no tag at all, only words and punctuation.",
    "<img src=\"pictures/image#.gif\" alt=\"Picture\" width=32 height=32><br>",
};

const char* const kJavaPattern[] = {
    "public class Widget# extends Base implements Runnable {",
    "    private int count# = compute(1, 2);  // a field with an initialiser",
    "    /* block comment with (brackets) and a class keyword */",
    "    public void update#(int index, String name, long[] values) {",
    "        if (index > 0 && name != null) { values[index] = index * 2; }",
    "        System.out.println(\"updated \" + name + ';');",
    "    }",
    "    protected static String describe#(Object item) { return item.toString(); }",
    "}",
};

const GeneratedText& HtmlText() {
    static const GeneratedText text = Generate(kHtmlPattern);
    return text;
}

const GeneratedText& JavaText() {
    static const GeneratedText text = Generate(kJavaPattern);
    return text;
}

// Runs parser over a fresh copy of text each iteration (the HTML parser rewrites it).
template <typename Parser>
void RunOver(benchmark::State& state, Parser& parser, const GeneratedText& source) {
    for (auto _ : state) {
        state.PauseTiming();
        TStringContainer lines(source.lines);
        state.ResumeTiming();
        benchmark::DoNotOptimize(parser.Parse(lines));
    }
    state.SetBytesProcessed(state.iterations() * source.bytes);
}

void BM_SymbolParserHtml(benchmark::State& state) {
    TSymbolParser parser;
    RunOver(state, parser, HtmlText());
}

void BM_SymbolParserJava(benchmark::State& state) {
    TSymbolParser parser;
    RunOver(state, parser, JavaText());
}

void BM_HtmlCaseParser(benchmark::State& state) {
    THtmlCaseParser parser;
    RunOver(state, parser, HtmlText());
}

void BM_JavaParser(benchmark::State& state) {
    TJavaParser parser;
    RunOver(state, parser, JavaText());
    state.counters["classes"] = parser.GetCount();
}

void BM_TaggedTextParser(benchmark::State& state) {
    TTaggedTextParser parser;
    const char* const tags[] = {"P", "B", "I", "A", "TABLE", "TR", "TD", "IMG", "BR"};
    int id = 1;
    for (const char* tag : tags) parser.AddTag(id++, TString(tag));
    RunOver(state, parser, HtmlText());
}

void BM_TaggedFinder(benchmark::State& state) {
    TTaggedFinder finder;
    const GeneratedText& source = HtmlText();
    TStringContainer words;
    words.Add(TString("italic"));
    words.Add(TString("missing"));
    TStringContainer lines(source.lines);
    bool found = false;
    for (auto _ : state) benchmark::DoNotOptimize(finder.Parse(lines, words, found, false, true, false));
    state.SetBytesProcessed(state.iterations() * source.bytes);
}

}  // namespace

BENCHMARK(BM_SymbolParserHtml)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SymbolParserJava)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_HtmlCaseParser)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_JavaParser)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_TaggedTextParser)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_TaggedFinder)->Unit(benchmark::kMillisecond);
