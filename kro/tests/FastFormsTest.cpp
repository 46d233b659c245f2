// Tests of the fast forms against the general way: every script of the tests, the golden transcripts' scripts and seeded generated programs run alike with the fast forms on and off (for the program or for the process), run after run and under the hook, and the switches really turn them off.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <ostream>
#include <random>
#include <string>
#include <vector>

#include "ExtensionHooks.h"
#include "ScriptTranscript.h"

namespace {

// ---- a host function the generated programs call

constexpr int kNudgeId = 8701;

// What the host function saw, in order: a run's events.
std::string hostEvents;

// nudge(n): adds n to the global g and gives g's new value.
EXPRESSION_ITEM Nudge(EXPRESSION_ITEM* arguments) {
    const int64_t by = arguments[0].value.integer;
    TVariable* g = Variables.GetVar("g");
    int64_t value = -1;
    // Wrapping, as the script's integers do.
    if (g != nullptr && g->type == vtInt)
        value = g->value.i = static_cast<int64_t>(static_cast<uint64_t>(g->value.i) + static_cast<uint64_t>(by));
    hostEvents += "nudge(" + std::to_string(by) + ")=" + std::to_string(value) + ";";
    return MakeIntegerItem(value);
}

// ---- running a script both ways

// Which switch turns the fast forms off for the general runs, and which
// part of the generated programs runs.
enum TSwitch { swProgram, swProcess };
struct TWay {
    TSwitch which;
    int part;
};

std::vector<TWay> Ways(int parts) {
    std::vector<TWay> ways;
    for (const TSwitch which : {swProgram, swProcess})
        for (int part = 0; part < parts; ++part) ways.push_back(TWay{which, part});
    return ways;
}
void PrintTo(const TWay& way, std::ostream* out) {
    *out << (way.which == swProcess ? "process" : "program") << " switch, part " << way.part;
}
std::string SwitchName(const testing::TestParamInfo<TWay>& info) {
    return info.param.which == swProgram ? "ForTheProgram" : "ForTheProcess";
}
std::string PartName(const testing::TestParamInfo<TWay>& info) {
    return SwitchName(info) + "Part" + std::to_string(info.param.part);
}

class FastFormsTest : public testing::TestWithParam<TWay> {
protected:
    void SetUp() override {
        RegisterCustomFunction(kNudgeId, Nudge);
        TCustomFunction* nudge = new TCustomFunction("nudge", ekInteger, kNudgeId);
        nudge->AddParam(ekInteger, false, vtInt);
        CustomFunctions().Add(nudge);
    }
    void TearDown() override {
        CustomFunctions().DeleteLast(true);
        SetFastForms(true);
        EXPECT_EQ(Variables.GetCount(), variablesAtStart);
        EXPECT_EQ(ExtFunctions().GetCount(), extFunctionsAtStart);
    }

    // One run's transcript with what the host function saw.
    static std::string Run(TProgram& program, bool watchTokens) {
        hostEvents.clear();
        std::string transcript = RunTranscript(program, watchTokens);
        return transcript + "host " + hostEvents + "\n";
    }
    // The same with the fast forms off for the process where that switch is tried.
    std::string RunGenerally(TProgram& program, bool watchTokens) const {
        if (GetParam().which == swProcess) SetFastForms(false);
        std::string transcript = Run(program, watchTokens);
        SetFastForms(true);
        return transcript;
    }

    // Compiles text twice, runs one program with the fast forms and the
    // other without them, four times in turn and then once each under the
    // hook, and expects every transcript of the one to be the other's.
    // Whether text compiled.
    bool ExpectAlike(const std::string& text) {
        TProgram fast;
        TProgram general;
        bool compiled = false;
        const std::string compiledLine = CompileScript(text, fast, compiled);
        bool compiledAgain = false;
        EXPECT_EQ(CompileScript(text, general, compiledAgain), compiledLine) << text;
        if (!compiled || !compiledAgain) return false;
        if (GetParam().which == swProgram) general.SetFastForms(false);
        for (int run = 0; run < 4 && !HasFailure(); ++run) {
            const std::string byFastForms = Run(fast, false);
            EXPECT_EQ(RunGenerally(general, false), byFastForms) << "run " << run << " of\n" << text;
        }
        const std::string watched = Run(fast, true);
        EXPECT_EQ(RunGenerally(general, true), watched) << "watched run of\n" << text;
        return true;
    }

    const int variablesAtStart = Variables.GetCount();
    const int extFunctionsAtStart = ExtFunctions().GetCount();
};

TEST_P(FastFormsTest, EveryScriptOfTheTestsRunsAlikeBothWays) {
    for (const char* path : {"golden/test_scripts.txt", "golden/generated_scripts.txt"}) {
        const std::vector<std::string> scripts = ReadScripts(path);
        ASSERT_FALSE(scripts.empty()) << path;
        for (size_t k = 0; k < scripts.size() && !HasFailure(); ++k) ExpectAlike(scripts[k]);
    }
}

// ---- generated programs

// Seeded programs of script functions (recursive, by reference, bodies
// that only return, loops inside), a host function and globals that calls
// change, called in the expressions of every statement: conditions of if,
// while, repeat and for, for steps, loop counts, switch selectors and
// labels, declarations, bare expressions, assignments of every operator,
// returns and arguments of other calls. Loops run 0, 1, 2, 3 or more times;
// locals of one name are ints in some blocks and doubles in others. Every
// program ends: loops count with counters nothing else writes, functions
// call only earlier ones, recursion counts down.
class TProgramGenerator {
public:
    explicit TProgramGenerator(uint32_t seed) : random(seed) {}

    std::string Program() {
        lines.clear();
        functions.clear();
        serial = 0;
        Line("int g = " + std::to_string(Below(5)));
        Line("double x = " + RealLiteral());
        Line("int n = " + std::to_string(Below(7)));
        Line("double r = 0");
        Line("int va[6] = {1, 2, 3, 4, 5, 6}");
        Line("double wa[4]");
        const int count = Below(4) + 1;
        for (int k = 0; k < count; ++k) MakeFunction();
        TScope top{{"g", "n"}, {"x", "r"}};
        Statements(top, 0, Below(5) + 3);
        std::string text;
        for (const std::string& line : lines) text += line + "\n";
        return text;
    }

private:
    // The names an expression may read and assign there.
    struct TScope {
        std::vector<std::string> integers;
        std::vector<std::string> reals;
    };
    struct TFunctionShape {
        std::string name;
        bool real;
        std::vector<bool> realParameters;
        int byReference;  // the parameter taken by reference, -1: none
        bool recursive;
    };

    int Below(int n) { return static_cast<int>(random() % static_cast<uint32_t>(n)); }
    bool Chance(int percent) { return Below(100) < percent; }
    template <class T>
    const T& Pick(const std::vector<T>& from) {
        return from[static_cast<size_t>(Below(static_cast<int>(from.size())))];
    }
    std::string Name(const char* stem) { return stem + std::to_string(++serial); }
    void Line(const std::string& line) { lines.push_back(line); }

    std::string RealLiteral() {
        static const char* const literals[] = {"0.5", "1.25", "-2.5", "3.0", "0.0", "1000.0", "-0.125", "7.75"};
        return literals[Below(8)];
    }
    std::string IntegerLiteral() {
        static const char* const literals[] = {"0", "1", "2", "3", "-1", "7", "12", "5000000000"};
        return literals[Below(8)];
    }
    // How often a loop runs: 0, 1, 2, 3 or more times.
    std::string Passes() {
        static const char* const passes[] = {"0", "1", "2", "3", "5", "9"};
        return passes[Below(6)];
    }

    // ---- expressions

    std::string Expression(const TScope& scope, int depth) {
        if (depth > 2 || Chance(25)) return Operand(scope);
        switch (Below(9)) {
            case 0: return Call(scope, depth);
            case 1: return "nudge(" + IntegerExpression(scope, depth + 1) + ")";
            case 2: {
                static const char* const functions[] = {"sin", "cos", "abs", "neg", "round", "sqr"};
                return std::string(functions[Below(6)]) + "(" + Expression(scope, depth + 1) + ")";
            }
            case 3: return "(" + Assignment(scope, depth + 1) + ")";
            case 4: return "(" + IntegerExpression(scope, depth + 1) + ")";
            default: {
                static const char* const operators[] = {" + ", " - ", " * ", " / ", " < ", " >= ", " == ", " && "};
                return "(" + Expression(scope, depth + 1) + operators[Below(8)] + Expression(scope, depth + 1) + ")";
            }
        }
    }
    // An expression of integers, for the bit operators and the remainder.
    std::string IntegerExpression(const TScope& scope, int depth) {
        if (depth > 2 || Chance(40)) return Chance(50) ? Pick(scope.integers) : IntegerLiteral();
        static const char* const operators[] = {" % ", " | ", " & ", " << ", " >> ", " + ", " * "};
        const std::string right = Chance(30) ? "nudge(1)" : IntegerExpression(scope, depth + 1);
        return "(" + IntegerExpression(scope, depth + 1) + operators[Below(7)] + right + ")";
    }
    std::string Operand(const TScope& scope) {
        switch (Below(6)) {
            case 0: return RealLiteral();
            case 1: return IntegerLiteral();
            case 2: return Pick(scope.integers);
            case 3: return "va[" + Pick(scope.integers) + " % 6]";
            case 4: return "wa[" + std::to_string(Below(5)) + "]";
            default: return Pick(scope.reals);
        }
    }
    // A call of a function made so far (or of the host function).
    std::string Call(const TScope& scope, int depth) {
        if (functions.empty()) return "nudge(" + IntegerLiteral() + ")";
        const TFunctionShape& f = Pick(functions);
        std::string call = f.name + "(";
        for (size_t k = 0; k < f.realParameters.size(); ++k) {
            if (k > 0) call += ", ";
            if (static_cast<int>(k) == f.byReference)
                call += Chance(70) ? Pick(scope.integers) : "va[" + std::to_string(Below(6)) + "]";
            else if (f.recursive)
                call += Passes();
            else
                call += Expression(scope, depth + 1);
        }
        return call + ")";
    }
    // v = e, v += e ... on a variable or an element.
    std::string Assignment(const TScope& scope, int depth) {
        static const char* const operators[] = {" = ", " += ", " -= ", " *= ", " /= "};
        std::string target;
        switch (Below(4)) {
            case 0: target = Pick(scope.integers); break;
            case 1: target = "va[" + std::to_string(Below(8) - 1) + "]"; break;
            default: target = Pick(scope.reals); break;
        }
        return target + operators[Below(5)] + Expression(scope, depth);
    }
    std::string Condition(const TScope& scope) {
        static const char* const comparisons[] = {" < ", " > ", " <= ", " != ", " == "};
        return Expression(scope, 1) + comparisons[Below(5)] + Expression(scope, 1);
    }

    // ---- statements

    void Statements(TScope scope, int depth, int count) {
        bool declared = false;
        for (int k = 0; k < count; ++k) {
            const int kind = Below(depth >= 2 ? 4 : 11);
            switch (kind) {
                case 0: Line(Assignment(scope, 0)); break;
                case 1: Line(Expression(scope, 0)); break;
                case 2:
                    if (!declared) {
                        Declaration(scope);
                        declared = true;
                    }
                    break;
                case 3: Line("r = r + " + Expression(scope, 0)); break;
                case 4: If(scope, depth); break;
                case 5: While(scope, depth); break;
                case 6: For(scope, depth); break;
                case 7: Loop(scope, depth); break;
                case 8: Repeat(scope, depth); break;
                case 9: Switch(scope, depth); break;
                default: Line("block"); Statements(scope, depth + 1, Below(3) + 1); Line("end"); break;
            }
        }
    }
    // t is an int in some blocks and a double in others; it hides the t of
    // an outer block, and its initialiser reads neither.
    void Declaration(TScope& scope) {
        const bool real = Chance(50);
        Hide("t", scope);
        Line(std::string(real ? "double" : "int") + " t = " + Expression(scope, 0));
        (real ? scope.reals : scope.integers).push_back("t");
    }
    static void Hide(const std::string& name, TScope& scope) {
        for (std::vector<std::string>* names : {&scope.integers, &scope.reals})
            names->erase(std::remove(names->begin(), names->end(), name), names->end());
    }
    void Body(const TScope& scope, int depth) { Statements(scope, depth + 1, Below(3) + 1); }
    void If(const TScope& scope, int depth) {
        Line("if " + Condition(scope));
        Body(scope, depth);
        if (Chance(40)) {
            Line("else");
            Body(scope, depth);
        }
        Line("end");
    }
    void While(const TScope& scope, int depth) {
        const std::string counter = Name("c");
        Line("int " + counter + " = 0");
        Line("while " + counter + " < " + Passes() + " && " + Condition(scope) + ", " + counter + " += 1");
        Body(scope, depth);
        Line("end");
    }
    // A counting loop's shape, or conditions and steps with calls; a step
    // moves its counter by 1 or 2 whatever the call gives.
    void For(const TScope& scope, int depth) {
        const std::string counter = Name("c");
        Line("int " + counter);
        if (Chance(50))
            Line("for " + counter + " = 0; " + counter + " < " + Passes() + "; " + counter + " = " + counter + " + 1");
        else
            Line("for " + counter + " = 0; " + counter + " < " + Passes() + ", " + Condition(scope) + "; " + counter +
                 " += 1 + (" + Expression(scope, 1) + " > 1000000.0)");
        Body(scope, depth);
        Line("end");
    }
    // nudge(0) - g is 0, g read after the call.
    void Loop(const TScope& scope, int depth) {
        Line("loop " + Passes() + (Chance(50) ? " + nudge(0) - g" : ""));
        Body(scope, depth);
        Line("end");
    }
    // The test sees the body's declarations: it reads no t.
    void Repeat(const TScope& scope, int depth) {
        const std::string counter = Name("c");
        Line("int " + counter + " = 0");
        Line("repeat");
        Body(scope, depth);
        Line(counter + " += 1");
        TScope after = scope;
        Hide("t", after);
        Line("until " + counter + " >= " + Passes() + " || " + Condition(after));
    }
    // The branches are blocks: a switch itself holds no declarations.
    void Switch(const TScope& scope, int depth) {
        Line("switch " + IntegerExpression(scope, 1) + " % 3");
        for (int label = 0; label < 3; ++label) {
            const std::string value = label == 0 && Chance(50) ? "nudge(0) - g" : std::to_string(label);
            Line(label < 2 ? "case " + value + ":" : "default:");
            Line("block");
            Body(scope, depth);
            Line("end");
            if (label < 2) Line("endcase");
        }
        Line("end");
    }

    // ---- functions

    void MakeFunction() {
        TFunctionShape f;
        f.name = Name("f");
        f.real = Chance(50);
        f.byReference = -1;
        f.recursive = false;
        const std::string type = f.real ? "double" : "int";
        switch (Below(4)) {
            case 0: {  // a body that only returns
                f.realParameters = {true};
                Line("func " + type + " " + f.name + "(double a)");
                TScope scope{{"g", "n"}, {"x", "a"}};
                Line("return " + Expression(scope, 0));
                break;
            }
            case 1: {  // recursion, counting down
                f.realParameters = {false};
                f.recursive = true;
                Line("func " + type + " " + f.name + "(int d)");
                Line("if d <= 0");
                Line("return " + std::string(Chance(50) ? "x" : "n"));
                Line("end");
                Line("x = x + d * 0.5");
                TScope scope{{"g", "n", "d"}, {"x"}};
                Line("return " + f.name + "(d - " + std::to_string(Below(2) + 1) + ") + " + Expression(scope, 1));
                break;
            }
            case 2: {  // a parameter by reference
                f.realParameters = {false, true};
                f.byReference = 0;
                Line("func " + type + " " + f.name + "(int &o, double v)");
                Line("o = o + v");
                Line("n = n + 1");
                Line("return o * 2");
                break;
            }
            default: {  // statements, then a return; an early one sometimes
                f.realParameters = {Chance(50), Chance(50)};
                Line("func " + type + " " + f.name + "(" + (f.realParameters[0] ? "double" : "int") + " a, " +
                     (f.realParameters[1] ? "double" : "int") + " b)");
                TScope scope{{"g", "n"}, {"x"}};
                (f.realParameters[0] ? scope.reals : scope.integers).push_back("a");
                (f.realParameters[1] ? scope.reals : scope.integers).push_back("b");
                Line(Chance(50) ? "x = x + a" : "n = n + 1");
                if (Chance(40)) {
                    Line("if " + Condition(scope));
                    Line("return " + Expression(scope, 1));
                    Line("end");
                }
                Statements(scope, 1, Below(3) + 1);
                Line("return " + Expression(scope, 0));
                break;
            }
        }
        Line("end");
        functions.push_back(f);
    }

    std::mt19937 random;
    std::vector<std::string> lines;
    std::vector<TFunctionShape> functions;
    int serial = 0;
};

// The generated programs, in parts of a seed each that run as tests of
// their own; under the sanitizers a quarter of them, which keeps the part
// within a minute there.
#if defined(__SANITIZE_ADDRESS__) || defined(__SANITIZE_THREAD__)
constexpr int kGeneratedPrograms = 500;
#else
constexpr int kGeneratedPrograms = 2000;
#endif
constexpr int kProgramParts = 4;

class FastFormsGeneratedTest : public FastFormsTest {};

TEST_P(FastFormsGeneratedTest, SeededProgramsRunAlikeBothWays) {
    TProgramGenerator generator(static_cast<uint32_t>(87000 + GetParam().part));
    int compiled = 0;
    for (int k = 0; k < kGeneratedPrograms / kProgramParts && !HasFailure(); ++k)
        compiled += ExpectAlike(generator.Program());
    EXPECT_EQ(compiled, kGeneratedPrograms / kProgramParts);
}

// ---- the switches

// The program's expressions that hold a decoded form, and its statements
// marked as looked at in some epoch.
int DecodedExpressions(const TProgram& program) {
    int decoded = 0;
    for (int k = 0; k < program.tokens.GetCount(); ++k) {
        const TToken& token = *program.tokens[k];
        decoded += EvaluationCacheOf(token.expression) != nullptr;
        if (const FOR_INFO* loop = token.type == ttFor ? token.Record<FOR_INFO>() : nullptr)
            for (const TExpressionArray* list : {&loop->conditions, &loop->steps})
                for (const EXPRESSION& e : list->items) decoded += EvaluationCacheOf(e) != nullptr;
    }
    return decoded;
}
int MarkedStatements(TProgram& program) {
    TDecodedProgram& decoded = program.Decoded([](int) -> uint8_t { return 0; });
    int marked = 0;
    for (int k = 0; k < decoded.Count(); ++k) marked += decoded.Statements()[k].checked != 0;
    return marked;
}

// Off for the program, for the process or for Variables, every statement is
// looked at before it runs and every expression runs Eval's general loop;
// the list's own switch comes back after a run.
TEST(FastFormsSwitchTest, OffNothingRunsAFastForm) {
    enum TWay { wyOn, wyProgram, wyProcess, wyVariables };
    for (const TWay way : {wyOn, wyProgram, wyProcess, wyVariables}) {
        TProgram program;
        bool compiled = false;
        CompileScript("func int twice(int n)\nreturn n * 2\nend\nint s = 0\nint i\n"
                      "for i = 0; i < 5; i = i + 1\ns = s + twice(i)\nend",
                      program, compiled);
        ASSERT_TRUE(compiled);
        program.SetFastForms(way != wyProgram);
        SetFastForms(way != wyProcess);
        Variables.SetFastForms(way != wyVariables);
        for (int run = 0; run < 3; ++run)
            EXPECT_NE(RunTranscript(program, false).find("variable s int 20\n"), std::string::npos) << way;
        EXPECT_EQ(Variables.FastForms(), way != wyVariables) << way;
        EXPECT_EQ(DecodedExpressions(program) > 0, way == wyOn) << way;
        EXPECT_EQ(MarkedStatements(program) > 0, way == wyOn) << way;
        SetFastForms(true);
        Variables.SetFastForms(true);
    }
}

INSTANTIATE_TEST_SUITE_P(Switches, FastFormsTest, testing::ValuesIn(Ways(1)), SwitchName);
INSTANTIATE_TEST_SUITE_P(Switches, FastFormsGeneratedTest, testing::ValuesIn(Ways(kProgramParts)), PartName);

}  // namespace
