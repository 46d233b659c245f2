// The generated expression suite (eval_expression_suite.txt) timed expression by expression beside muparser: evaluation through the expression object and through the bare loop, and compilation.
#include <benchmark/benchmark.h>
#include <muParser.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>
#include <vector>

#include "EvaluateEngine.h"
#include "Expression.h"
#include "ExpressionCompiler.h"

namespace {

struct TSuiteEntry {
    std::string ours;
    std::string muparser;
};

std::vector<TSuiteEntry> ReadSuite() {
    std::vector<TSuiteEntry> entries;
    std::ifstream file(EVAL_EXPRESSION_SUITE);
    std::string line;
    while (std::getline(file, line)) {
        const size_t tab = line.find('\t');
        if (tab != std::string::npos) entries.push_back({line.substr(0, tab), line.substr(tab + 1)});
    }
    return entries;
}

constexpr int kVariables = 7;
const char* const kNames[kVariables] = {"a", "b", "c", "d", "x", "y", "z"};
const double kStart[kVariables] = {0.61, 0.93, 1.27, 1.58, 1.89, 2.13, 2.37};

// The same seven variables in both engines; each evaluation moves one of them.
struct TVariablesOfBoth {
    TVariableList list;
    double* ours[kVariables];
    double theirs[kVariables];
    unsigned turn = 0;

    TVariablesOfBoth() {
        for (int k = 0; k < kVariables; ++k) {
            ours[k] = list.NewDouble(kNames[k], false, kStart[k]);
            theirs[k] = kStart[k];
        }
    }
    void Define(mu::Parser& parser) {
        for (int k = 0; k < kVariables; ++k) parser.DefineVar(kNames[k], &theirs[k]);
    }
    // The next value: one variable steps within [start, start + 0.063].
    void MoveOurs() {
        const unsigned k = turn % kVariables;
        *ours[k] = kStart[k] + static_cast<double>(++turn & 63) * 1e-3;
    }
    void MoveTheirs() {
        const unsigned k = turn % kVariables;
        theirs[k] = kStart[k] + static_cast<double>(++turn & 63) * 1e-3;
    }
    void Reset() {
        turn = 0;
        for (int k = 0; k < kVariables; ++k) *ours[k] = theirs[k] = kStart[k];
    }
};

typedef std::chrono::steady_clock TClock;

double Seconds(TClock::duration d) { return std::chrono::duration<double>(d).count(); }

double Median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

double AsDouble(const EXPRVALUE& value) {
    return value.kind == ekReal ? value.value.real : static_cast<double>(value.value.integer);
}

bool Agree(double x, double y) {
    return x == y || std::fabs(x - y) <= 1e-9 * std::fmax(1.0, std::fmax(std::fabs(x), std::fabs(y)));
}

// One expression, compiled for both engines.
struct TCase {
    const TSuiteEntry* entry;
    TExpression object;
    EXPRESSION bare;
    mu::Parser parser;
    double objectTime = 0;  // seconds per evaluation
    double bareTime = 0;
    double theirTime = 0;
    bool sameValue = false;  // muparser gave the same value to the last bit

    TCase(const TSuiteEntry& e, TVariablesOfBoth& vars) : entry(&e), object(TString(e.ours), &vars.list) {
        bare = CreateExpression(vars.list, TString(e.ours));
        vars.Define(parser);
        parser.SetExpr(e.muparser);
    }
    ~TCase() { FreeExpression(bare); }
    TCase(const TCase&) = delete;
    TCase& operator=(const TCase&) = delete;
};

// Whether both engines give the same values at a few points; a text says why not.
bool Check(TCase& c, TVariablesOfBoth& vars, std::string& why, bool& exact) {
    if (!c.object.Valid() || c.bare.count < 1) {
        why = "does not compile here";
        return false;
    }
    TEvalStack stack;
    exact = true;
    for (int step = 0; step < 8; ++step) {
        vars.MoveOurs();
        vars.turn -= 1;
        vars.MoveTheirs();
        double theirs = 0;
        try {
            theirs = c.parser.Eval();
        } catch (mu::Parser::exception_type& failure) {
            why = "muparser: " + failure.GetMsg();
            return false;
        }
        const double mine = AsDouble(c.object.Eval());
        EXPRVALUE out;
        EvaluateExpression(vars.list, c.bare, stack, out, false, nullptr);
        if (AsDouble(out) != mine) {
            why = "the bare loop and the object differ";
            return false;
        }
        if (!Agree(mine, theirs)) {
            char text[128];
            std::snprintf(text, sizeof text, "values differ: %.17g here, %.17g in muparser", mine, theirs);
            why = text;
            return false;
        }
        if (mine != theirs) exact = false;
    }
    vars.Reset();
    return true;
}

// Seconds per evaluation over a batch of n.
double TimeObject(TCase& c, TVariablesOfBoth& vars, int n) {
    EXPRVALUE out;
    const TClock::time_point start = TClock::now();
    for (int i = 0; i < n; ++i) {
        vars.MoveOurs();
        c.object.Eval(out);
        benchmark::DoNotOptimize(out.value.real);
    }
    return Seconds(TClock::now() - start) / n;
}

double TimeBare(TCase& c, TVariablesOfBoth& vars, TEvalStack& stack, int n) {
    EXPRVALUE out;
    const TClock::time_point start = TClock::now();
    for (int i = 0; i < n; ++i) {
        vars.MoveOurs();
        EvaluateExpression(vars.list, c.bare, stack, out, false, nullptr);
        benchmark::DoNotOptimize(out.value.real);
    }
    return Seconds(TClock::now() - start) / n;
}

double TimeTheirs(TCase& c, TVariablesOfBoth& vars, int n) {
    const TClock::time_point start = TClock::now();
    for (int i = 0; i < n; ++i) {
        vars.MoveTheirs();
        benchmark::DoNotOptimize(c.parser.Eval());
    }
    return Seconds(TClock::now() - start) / n;
}

// Five rounds of the three engines in turn, each a batch of about 20
// microseconds; the medians are the figures.
void TimeCase(TCase& c, TVariablesOfBoth& vars, TEvalStack& stack) {
    TimeTheirs(c, vars, 64);
    const double guess = TimeTheirs(c, vars, 64);
    const int n = std::max(32, static_cast<int>(20e-6 / std::max(guess, 1e-10)));
    std::vector<double> object, bare, theirs;
    for (int round = 0; round < 5; ++round) {
        object.push_back(TimeObject(c, vars, n));
        bare.push_back(TimeBare(c, vars, stack, n));
        theirs.push_back(TimeTheirs(c, vars, n));
    }
    c.objectTime = Median(object);
    c.bareTime = Median(bare);
    c.theirTime = Median(theirs);
    vars.Reset();
}

// Compiling every expression, ready to run: ours compiles and evaluates
// twice (the second evaluation builds the fast form), muparser parses on
// its first evaluation. Seconds for the whole suite, ours and theirs.
void TimeCompilation(const std::vector<TSuiteEntry>& suite, TVariablesOfBoth& vars, double& ours, double& theirs) {
    std::vector<double> mine, others;
    for (int round = 0; round < 3; ++round) {
        TExpression e(&vars.list);
        EXPRVALUE out;
        TClock::time_point start = TClock::now();
        for (const TSuiteEntry& entry : suite) {
            e.SetSource(TString(entry.ours));
            e.Eval(out);
            e.Eval(out);
        }
        mine.push_back(Seconds(TClock::now() - start));
        mu::Parser parser;
        vars.Define(parser);
        start = TClock::now();
        for (const TSuiteEntry& entry : suite) {
            parser.SetExpr(entry.muparser);
            benchmark::DoNotOptimize(parser.Eval());
            benchmark::DoNotOptimize(parser.Eval());
        }
        others.push_back(Seconds(TClock::now() - start));
    }
    ours = Median(mine);
    theirs = Median(others);
}

struct TRatio {
    double ratio;
    double mine;    // seconds per evaluation of the two timed sides
    double theirs;
    const TCase* c;
};

TRatio RatioOf(double mine, double theirs, const TCase* c) { return TRatio{mine / theirs, mine, theirs, c}; }

double GeometricMean(const std::vector<TRatio>& ratios) {
    double sum = 0;
    for (const TRatio& r : ratios) sum += std::log(r.ratio);
    return ratios.empty() ? 0.0 : std::exp(sum / static_cast<double>(ratios.size()));
}

void PrintWorst(const char* title, std::vector<TRatio> ratios) {
    std::sort(ratios.begin(), ratios.end(), [](const TRatio& l, const TRatio& r) { return l.ratio > r.ratio; });
    std::printf("%s\n", title);
    for (size_t k = 0; k < ratios.size() && k < 10; ++k) {
        const TRatio& r = ratios[k];
        std::printf("  %5.2f  %7.1f ns against %7.1f ns  %s\n", r.ratio, r.mine * 1e9, r.theirs * 1e9,
                    r.c->entry->ours.c_str());
    }
}

void BM_Suite(benchmark::State& state) {
    const std::vector<TSuiteEntry> suite = ReadSuite();
    if (suite.empty()) {
        state.SkipWithError("the suite file is missing or empty");
        return;
    }
    TVariablesOfBoth vars;
    TEvalStack stack;
    std::vector<TRatio> objectRatios, bareRatios, bareToObject;
    std::vector<TCase*> cases;
    int failed = 0;
    int exact = 0;
    for (auto _ : state) {
        for (const TSuiteEntry& entry : suite) {
            TCase* c = new TCase(entry, vars);
            std::string why;
            bool same = false;
            if (!Check(*c, vars, why, same)) {
                if (++failed <= 5) std::printf("left out: %s: %s\n", entry.ours.c_str(), why.c_str());
                delete c;
                vars.Reset();
                continue;
            }
            exact += same ? 1 : 0;
            c->sameValue = same;
            TimeCase(*c, vars, stack);
            objectRatios.push_back(RatioOf(c->objectTime, c->theirTime, c));
            bareRatios.push_back(RatioOf(c->bareTime, c->theirTime, c));
            bareToObject.push_back(RatioOf(c->bareTime, c->objectTime, c));
            cases.push_back(c);
        }
    }
    double ourCompile = 0;
    double theirCompile = 0;
    TimeCompilation(suite, vars, ourCompile, theirCompile);

    const double objectMean = GeometricMean(objectRatios);
    const double bareMean = GeometricMean(bareRatios);
    const double bareToObjectMean = GeometricMean(bareToObject);
    const auto worst = [](const std::vector<TRatio>& r) {
        double w = 0;
        for (const TRatio& x : r) w = std::max(w, x.ratio);
        return w;
    };
    const auto above = [](const std::vector<TRatio>& r, double limit) {
        int n = 0;
        for (const TRatio& x : r) n += x.ratio > limit ? 1 : 0;
        return n;
    };
    std::printf("\n%zu expressions timed (%d left out), %d with the same value in both engines to the last bit\n",
                cases.size(), failed, exact);
    std::printf("object / muparser:     geometric mean %.3f, worst %.2f, %d above 1.0\n", objectMean,
                worst(objectRatios), above(objectRatios, 1.0));
    std::printf("bare loop / muparser:  geometric mean %.3f, worst %.2f, %d above 1.0\n", bareMean, worst(bareRatios),
                above(bareRatios, 1.0));
    // Where muparser's value differs, its optimizer has rewritten the
    // expression (regrouped sums and products, x^2 as x*x): it computes
    // something else, in fewer operations.
    std::vector<TRatio> sameValue, otherValue;
    for (const TRatio& r : objectRatios) (r.c->sameValue ? sameValue : otherValue).push_back(r);
    std::printf("object / muparser where muparser gives the same value: geometric mean %.3f (%zu, %d above 1.0), "
                "where it gives another: %.3f (%zu, %d above 1.0)\n",
                GeometricMean(sameValue), sameValue.size(), above(sameValue, 1.0), GeometricMean(otherValue),
                otherValue.size(), above(otherValue, 1.0));
    std::printf("bare loop / object:    geometric mean %.3f, worst %.2f, %d above 1.2\n", bareToObjectMean,
                worst(bareToObject), above(bareToObject, 1.2));
    std::printf("compilation / muparser: %.3f (%.1f ms against %.1f ms for the suite)\n", ourCompile / theirCompile,
                ourCompile * 1e3, theirCompile * 1e3);
    // EVAL_SUITE_RATIOS=file: every expression's ratio, times in ns, and
    // whether muparser gave the same value, a line each, for a closer look.
    if (const char* name = std::getenv("EVAL_SUITE_RATIOS")) {
        if (FILE* file = std::fopen(name, "w")) {
            for (const TRatio& r : objectRatios)
                std::fprintf(file, "%.3f\t%.2f\t%.2f\t%d\t%s\n", r.ratio, r.mine * 1e9, r.theirs * 1e9,
                             r.c->sameValue ? 1 : 0, r.c->entry->ours.c_str());
            std::fclose(file);
        }
    }
    PrintWorst("worst ten, object / muparser:", objectRatios);
    PrintWorst("worst ten, bare loop / muparser:", bareRatios);
    PrintWorst("worst ten, bare loop / object:", bareToObject);
    std::printf("\n");
    state.counters["object_ratio_mean"] = objectMean;
    state.counters["object_ratio_worst"] = worst(objectRatios);
    state.counters["bare_ratio_mean"] = bareMean;
    state.counters["bare_to_object_mean"] = bareToObjectMean;
    state.counters["compile_ratio"] = ourCompile / theirCompile;
    for (TCase* c : cases) delete c;
}
BENCHMARK(BM_Suite)->Iterations(1)->Unit(benchmark::kSecond);

}  // namespace
