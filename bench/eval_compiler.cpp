// Compilation of expression texts: a short formula, a 2,000-character sum and a call with compiled arguments.
#include <benchmark/benchmark.h>

#include <string>

#include "ExpressionCompiler.h"

namespace {

void Compile(benchmark::State& state, const std::string& text) {
    TVariableList list;
    list.NewInt("a", false, 1);
    list.NewInt("b", false, 2);
    list.NewInt("x", false, 3);
    for (auto _ : state) {
        EXPRESSION e = CreateExpression(list, text);
        if (e.count < 0) state.SkipWithError("does not compile");
        FreeExpression(e);
    }
}

void ShortFormula(benchmark::State& state) { Compile(state, "(a+b)*x-sin(0.5)^2"); }
BENCHMARK(ShortFormula);

void LongSum(benchmark::State& state) {
    std::string text = "a";
    while (text.size() < 2000) text += "+b*(x-12345)";
    Compile(state, text);
}
BENCHMARK(LongSum)->Unit(benchmark::kMillisecond);

void CallArguments(benchmark::State& state) { Compile(state, "max(1,a,strlen('a,b'),sum(b,x))+strlen('text')"); }
BENCHMARK(CallArguments);

}  // namespace
