// Evaluation speed of compiled expressions beside muparser and native C++, and the compile rate by text length.
#include <benchmark/benchmark.h>
#include <muParser.h>

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <random>
#include <string>
#include <vector>

#include "EvaluateEngine.h"
#include "Expression.h"
#include "ExpressionCompiler.h"

namespace {

// The variables every case reads; a changes every iteration.
struct TValues {
    double a = 0.75;
    double b = 1.5;
    double c = 2.25;
    double d = 0.5;
    int64_t i = 17;
    int64_t j = 5;
    int64_t k = 3;
};

typedef double (*TNative)(const TValues& v);

struct TSpeedCase {
    const char* name;
    std::string ours;
    std::string muparser;  // empty: muparser has no such expression (integers and logic)
    TNative native;
};

// A long random expression over a..d, written for both languages alike.
std::string LongRandomExpression(unsigned seed, size_t length) {
    std::mt19937 random(seed);
    const char* const operands[] = {"a", "b", "c", "d", "1.25", "0.5", "3.75", "sin(a)", "cos(b)", "(c*d)"};
    const char* const operators[] = {"+", "-", "*", "+", "-"};
    std::string text = "a";
    while (text.size() < length) {
        text += operators[random() % 5];
        text += operands[random() % 10];
        if (random() % 6 == 0) text = "(" + text + ")";
    }
    return text;
}

// The native floor of the long expression: evaluated through the same text
// once per iteration would not be native, so the case is timed without it.
double NoNative(const TValues&) { return 0.0; }

std::vector<TSpeedCase> SpeedCases() {
    const std::string longText = LongRandomExpression(7, 400);
    return {
        {"a+b", "a+b", "a+b", [](const TValues& v) { return v.a + v.b; }},
        {"a*b+c", "a*b+c", "a*b+c", [](const TValues& v) { return v.a * v.b + v.c; }},
        {"(a+b)*(c-d)", "(a+b)*(c-d)", "(a+b)*(c-d)", [](const TValues& v) { return (v.a + v.b) * (v.c - v.d); }},
        {"a/((a+b)*(a-b))", "a/((a+b)*(a-b))", "a/((a+b)*(a-b))",
         [](const TValues& v) { return v.a / ((v.a + v.b) * (v.a - v.b)); }},
        {"horner", "((((2.5*a+1.25)*a-0.5)*a+3.0)*a-7.75)*a+0.125",
         "((((2.5*a+1.25)*a-0.5)*a+3.0)*a-7.75)*a+0.125",
         [](const TValues& v) { return ((((2.5 * v.a + 1.25) * v.a - 0.5) * v.a + 3.0) * v.a - 7.75) * v.a + 0.125; }},
        {"sin2+cos2", "sin(a)*sin(a)+cos(a)*cos(a)", "sin(a)*sin(a)+cos(a)*cos(a)",
         [](const TValues& v) { return std::sin(v.a) * std::sin(v.a) + std::cos(v.a) * std::cos(v.a); }},
        {"sqrt(a*a+b*b)", "sqrt(a*a+b*b)", "sqrt(a*a+b*b)",
         [](const TValues& v) { return std::sqrt(v.a * v.a + v.b * v.b); }},
        {"exp(neg(a*a))", "exp(neg(a*a))", "exp(-(a*a))", [](const TValues& v) { return std::exp(-(v.a * v.a)); }},
        {"a^2.5", "a^2.5", "a^2.5", [](const TValues& v) { return std::pow(v.a, 2.5); }},
        {"long-random", longText, longText, NoNative},
        {"integer-mix", "(i*3+j)%7+(i<<2)-(j>>1)+i/3-k*(j|1)", "",
         [](const TValues& v) {
             return static_cast<double>((v.i * 3 + v.j) % 7 + (v.i << 2) - (v.j >> 1) + v.i / 3 - v.k * (v.j | 1));
         }},
        {"logic-mix", "(a<b)&&(c>=d)||(i==j)&&(k!=2)||(a+b>c)", "",
         [](const TValues& v) {
             return static_cast<double>(((v.a < v.b) && (v.c >= v.d)) || ((v.i == v.j) && (v.k != 2)) ||
                                        (v.a + v.b > v.c));
         }},
    };
}

// Our variables, bound to a list, with the address of each value.
struct TOurVariables {
    TVariableList list;
    double* a;
    double* b;
    double* c;
    double* d;
    int64_t* i;
    int64_t* j;
    int64_t* k;

    explicit TOurVariables(const TValues& v)
        : a(list.NewDouble("a", false, v.a)),
          b(list.NewDouble("b", false, v.b)),
          c(list.NewDouble("c", false, v.c)),
          d(list.NewDouble("d", false, v.d)),
          i(list.NewInt("i", false, v.i)),
          j(list.NewInt("j", false, v.j)),
          k(list.NewInt("k", false, v.k)) {}
};

double AsDouble(const EXPRVALUE& value) {
    return value.kind == ekReal ? value.value.real : static_cast<double>(value.value.integer);
}

bool Close(double x, double y) { return x == y || std::fabs(x - y) <= 1e-12 * std::fmax(std::fabs(x), std::fabs(y)); }

// The value a takes in iteration n: it moves, so nothing can be cached.
double Moving(double start, uint64_t n) { return start + static_cast<double>(n & 1023) * 1e-4; }

void Ours(benchmark::State& state, const TSpeedCase& c) {
    TValues values;
    TOurVariables vars(values);
    TExpression e(TString(c.ours), &vars.list);
    if (!e.Valid()) {
        state.SkipWithError("does not compile");
        return;
    }
    EXPRVALUE out;
    uint64_t n = 0;
    for (auto _ : state) {
        *vars.a = Moving(values.a, n);
        *vars.i = values.i + static_cast<int64_t>(n & 15);
        ++n;
        e.Eval(out);
        benchmark::DoNotOptimize(out.value.real);
    }
    state.counters["evals/s"] = benchmark::Counter(static_cast<double>(state.iterations()), benchmark::Counter::kIsRate);
}

// The evaluation loop alone, as the script language calls it on a bare
// compiled expression (no expression object, so no pre-decoded form).
void OursLoop(benchmark::State& state, const TSpeedCase& c) {
    TValues values;
    TOurVariables vars(values);
    EXPRESSION e = CreateExpression(vars.list, c.ours);
    if (e.count < 1) {
        state.SkipWithError("does not compile");
        return;
    }
    TEvalStack stack;
    EXPRVALUE out;
    uint64_t n = 0;
    for (auto _ : state) {
        *vars.a = Moving(values.a, n);
        *vars.i = values.i + static_cast<int64_t>(n & 15);
        ++n;
        EvaluateExpression(vars.list, e, stack, out, false, nullptr);
        benchmark::DoNotOptimize(out.value.real);
    }
    FreeExpression(e);
    state.counters["evals/s"] = benchmark::Counter(static_cast<double>(state.iterations()), benchmark::Counter::kIsRate);
}

void Muparser(benchmark::State& state, const TSpeedCase& c) {
    TValues values;
    double a = values.a, b = values.b, cc = values.c, d = values.d;
    mu::Parser parser;
    parser.DefineVar("a", &a);
    parser.DefineVar("b", &b);
    parser.DefineVar("c", &cc);
    parser.DefineVar("d", &d);
    parser.SetExpr(c.muparser);
    // Results first: ours, muparser's and the native one agree on a few values of a.
    TOurVariables vars(values);
    TExpression ours(TString(c.ours), &vars.list);
    for (uint64_t n = 0; n < 1024; n += 97) {
        a = *vars.a = Moving(values.a, n);
        const double theirs = parser.Eval();
        const double mine = AsDouble(ours.Eval());
        TValues at = values;
        at.a = a;
        if (!Close(theirs, mine) || (c.native != NoNative && !Close(c.native(at), mine))) {
            state.SkipWithError("results differ");
            return;
        }
    }
    uint64_t n = 0;
    for (auto _ : state) {
        a = Moving(values.a, n++);
        benchmark::DoNotOptimize(parser.Eval());
    }
    state.counters["evals/s"] = benchmark::Counter(static_cast<double>(state.iterations()), benchmark::Counter::kIsRate);
}

void Native(benchmark::State& state, const TSpeedCase& c) {
    TValues values;
    uint64_t n = 0;
    for (auto _ : state) {
        TValues at = values;
        at.a = Moving(values.a, n);
        at.i = values.i + static_cast<int64_t>(n & 15);
        ++n;
        benchmark::DoNotOptimize(at);
        benchmark::DoNotOptimize(c.native(at));
    }
    state.counters["evals/s"] = benchmark::Counter(static_cast<double>(state.iterations()), benchmark::Counter::kIsRate);
}

// Integer and logic cases have no muparser peer; their own results are
// checked against the native ones before timing.
void OursChecked(benchmark::State& state, const TSpeedCase& c) {
    if (c.muparser.empty() && c.native != NoNative) {
        TValues values;
        TOurVariables vars(values);
        TExpression e(TString(c.ours), &vars.list);
        for (int64_t n = 0; n < 16; ++n) {
            TValues at = values;
            at.i = *vars.i = values.i + n;
            if (!Close(AsDouble(e.Eval()), c.native(at))) {
                state.SkipWithError("results differ from native");
                return;
            }
        }
    }
    Ours(state, c);
}

// Texts of about the given length for the compile rate.
void Compile(benchmark::State& state) {
    const size_t length = static_cast<size_t>(state.range(0));
    const std::string compilable = LongRandomExpression(11, length);
    TValues values;
    TOurVariables vars(values);
    for (auto _ : state) {
        EXPRESSION e = CreateExpression(vars.list, compilable);
        if (e.count < 1) state.SkipWithError("does not compile");
        FreeExpression(e);
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * static_cast<int64_t>(compilable.size()));
    state.counters["compiles/s"] =
        benchmark::Counter(static_cast<double>(state.iterations()), benchmark::Counter::kIsRate);
    state.counters["chars"] = static_cast<double>(compilable.size());
}

// Registers every case side by side: ours through an expression object (with
// its pre-decoded form), ours through the bare loop, muparser's, and the
// native floor.
const bool kRegistered = [] {
    static const std::vector<TSpeedCase> cases = SpeedCases();
    for (const TSpeedCase& c : cases) {
        benchmark::RegisterBenchmark((std::string("Eval/") + c.name + "/ours").c_str(), OursChecked, c);
        benchmark::RegisterBenchmark((std::string("Eval/") + c.name + "/ours-loop").c_str(), OursLoop, c);
        if (!c.muparser.empty())
            benchmark::RegisterBenchmark((std::string("Eval/") + c.name + "/muparser").c_str(), Muparser, c);
        if (c.native != NoNative)
            benchmark::RegisterBenchmark((std::string("Eval/") + c.name + "/native").c_str(), Native, c);
    }
    benchmark::RegisterBenchmark("Compile", Compile)->Arg(20)->Arg(100)->Arg(500)->Arg(2000);
    return true;
}();

}  // namespace
