// Tests of script function calls: from expressions, from the host, as event handlers, and the globals' lifecycle.
#include "ScriptCalls.h"

#include <cmath>
#include <cstring>
#include <string>

#include "Interpreter.h"
#include "KroTestSupport.h"

namespace {

class ScriptCallsTest : public KroCompileTest {
protected:
    void TearDown() override {
        program.leftInVariables.clear();
        while (Variables.GetCount() > variablesAtStart) Variables.DeleteLast(true);
        EXPECT_EQ(ExtFunctions().GetCount(), extFunctionsAtStart);
    }

    void Build(const std::string& text) {
        ASSERT_TRUE(Compile(text)) << text << " code " << KRO_ErrorCode << " line " << KRO_ErrorLine;
    }

    // Compiles and runs without keep; the top-level variables stay in Variables.
    void Run(const std::string& text) {
        Build(text);
        KRO_Run(program, false);
    }

    static TVariable& Var(const char* name) {
        TVariable* v = Variables.GetVar(name);
        EXPECT_NE(v, nullptr) << name;
        static TVariable missing;
        return v != nullptr ? *v : missing;
    }

    // Runs the program without keep and gives the double r it leaves; its
    // variables go again.
    double RunForR() {
        const int before = Variables.GetCount();
        KRO_Run(program, false);
        const TVariable* r = Variables.GetVar("r");
        const double value = r != nullptr && r->type == vtDouble ? r->value.d : -999.0;
        program.leftInVariables.clear();
        while (Variables.GetCount() > before) Variables.DeleteLast(true);
        return value;
    }

    // The function of that name called from the host with params.
    EXPRVALUE Call(const char* function, TVariableList& params) {
        const int index = KRO_GetFunctionIndex(program, function);
        EXPECT_GE(index, 0) << function;
        return KRO_CallFunction(program, index, params);
    }

    const int variablesAtStart = Variables.GetCount();
    const int extFunctionsAtStart = ExtFunctions().GetCount();
};

// ---- calls from expressions

struct TByReferenceCase {
    const char* declaration;
    const char* argument;
    int item;  // -1: the variable itself
    TVariableType type;
};

// The number at a variable or one of its array items, whatever its type.
int64_t NumberAt(TVariable& v, int item, TVariableType& type) {
    const void* at = item < 0 ? static_cast<const void*>(&v.value) : v.GetItem(item);
    type = item < 0 ? v.type : v.GetItemSize() > 0 ? v.value.a.itemtype : vtUndefined;
    if (at == nullptr) return 0;
    if (type == vtDouble) return static_cast<int64_t>(*static_cast<const double*>(at));
    return *static_cast<const int64_t*>(at);
}

TEST_F(ScriptCallsTest, ByReferenceScalarsAreWrittenBackInTheCallersType) {
    const TByReferenceCase cases[] = {
        {"int v = 7", "v", -1, vtInt},
        {"double v = 1.5", "v", -1, vtDouble},
        {"int v[3] = {1, 2, 3}", "v[1]", 1, vtInt},
    };
    for (const TByReferenceCase& c : cases) {
        const int before = Variables.GetCount();
        Run(std::string("func int set(int &x)\nx = -5000000000\nreturn 0\nend\n") + c.declaration + "\nset(" +
            c.argument + ")");
        TVariableType type = vtUndefined;
        EXPECT_EQ(NumberAt(Var("v"), c.item, type), -5000000000LL) << c.declaration;
        EXPECT_EQ(type, c.type) << c.declaration;
        program.leftInVariables.clear();
        while (Variables.GetCount() > before) Variables.DeleteLast(true);
    }
}

TEST_F(ScriptCallsTest, ArrayResizeReachesTheCallerOnlyByReference) {
    Run("func int grow(int &a[])\ndim a, 5\na[4] = 9\nreturn 0\nend\n"
        "func int local(int a[])\ndim a, 7\na[0] = 3\nreturn 0\nend\n"
        "int x[2] = {1, 2}\nint y[2] = {1, 2}\ngrow(x)\nlocal(y)");
    TVariable& x = Var("x");
    TVariable& y = Var("y");
    ASSERT_EQ(x.type, vtArray);
    EXPECT_EQ(x.value.a.count, 5);
    EXPECT_EQ(*static_cast<int64_t*>(x.GetItem(0)), 1);
    EXPECT_EQ(*static_cast<int64_t*>(x.GetItem(4)), 9);
    ASSERT_EQ(y.type, vtArray);
    EXPECT_EQ(y.value.a.count, 2);
    EXPECT_EQ(*static_cast<int64_t*>(y.GetItem(0)), 1);
}

TEST_F(ScriptCallsTest, StringParameterTakesLiteralVariableAndComputedText) {
    Run("func int len(string s)\nreturn strlen(s)\nend\n"
        "func int shout(string &word)\nword = word + 'z'\nreturn 0\nend\n"
        "func string repeat(string s, int n)\nif n <= 0\nreturn ''\nend\nreturn s + repeat(s, n - 1)\nend\n"
        "string t = 'abcd'\nint a = len('xy')\nint b = len(t)\nint c = len(t + 'efg')\nshout(t)\n"
        "string r = repeat('ab', 50)");
    EXPECT_EQ(Var("a").value.i, 2);
    EXPECT_EQ(Var("b").value.i, 4);
    EXPECT_EQ(Var("c").value.i, 7);
    EXPECT_EQ(*Var("t").value.s, TString("abcdz"));
    // Each level's text waits on Eval's stack while the deeper call runs.
    EXPECT_EQ(Var("r").value.s->Length(), 100);
    EXPECT_EQ(Var("r").value.s->Left(4), TString("abab"));
}

const char* const kDepthScript =
    "func int depth(int n)\nif n <= 1\nreturn 1\nend\nreturn n + depth(n - 1)\nend\n"
    "int r = depth(";

TEST_F(ScriptCallsTest, RecursionWorksToTheCapAndIsRefusedBeyondIt) {
    const int before = Variables.GetCount();
    Run(std::string(kDepthScript) + std::to_string(kMaxScriptCallDepth) + ")");
    EXPECT_FALSE(KRO_RunWasStopped());
    EXPECT_EQ(Var("r").value.i, int64_t{kMaxScriptCallDepth} * (kMaxScriptCallDepth + 1) / 2);
    while (Variables.GetCount() > before) Variables.DeleteLast(true);

    Run(std::string(kDepthScript) + std::to_string(kMaxScriptCallDepth + 1) + ")\nint after = 1");
    EXPECT_TRUE(KRO_RunWasStopped());
    EXPECT_EQ(Variables.GetCount(), before + 1);  // r only: the run ended before "after"
    EXPECT_EQ(Variables.GetVar("after"), nullptr);
}

// A body that is only a return runs without a control stack of its own:
// it converts its result as a longer body does, calls other such bodies,
// and with a hook it runs the usual way, so the hook sees its return.
int returnsSeen = 0;

TEST_F(ScriptCallsTest, ABodyThatOnlyReturnsGivesWhatALongerBodyGives) {
    const struct {
        const char* type;
        const char* expression;
    } cases[] = {
        {"int", "a * 2.75 + b"},
        {"double", "a * 2.75 + b"},
        {"string", "$(a) + '/' + $(b)"},
        {"double", "twice(b) + twice(a) / 4"},
    };
    for (const auto& c : cases) {
        for (const bool hooked : {false, true}) {
            const int before = Variables.GetCount();
            const std::string head = std::string("func ") + c.type;
            Build("func int twice(int n)\nreturn n * 2\nend\n" + head + " lean(double a, int b)\nreturn " + c.expression + "\nend\n" + head +
                  " full(double a, int b)\nint unused = 0\nreturn " + c.expression + "\nend\n" + c.type +
                  " x = lean(7.5, 4)\n" + c.type + " y = full(7.5, 4)\n");
            returnsSeen = 0;
            if (hooked)
                KRO_TokenFunc = [](TProgram& running, int index, CONTROL_FRAME*, int, bool&) {
                    if (running.tokens[index]->type == ttReturn) ++returnsSeen;
                };
            KRO_Run(program, false);
            KRO_TokenFunc = nullptr;
            const TVariable& x = Var("x");
            const TVariable& y = Var("y");
            ASSERT_EQ(x.type, y.type) << c.expression;
            if (x.type == vtString)
                EXPECT_EQ(*x.value.s, *y.value.s) << c.expression;
            else
                EXPECT_EQ(std::memcmp(&x.value, &y.value, sizeof x.value), 0) << c.expression;
            EXPECT_EQ(returnsSeen > 0, hooked) << c.expression;
            program.leftInVariables.clear();
            while (Variables.GetCount() > before) Variables.DeleteLast(true);
        }
    }
}

// A script function has effects the evaluator cannot see: inside a constant
// expression it still runs at every evaluation, also once the expression
// has its decoded form (from its second evaluation on).
TEST_F(ScriptCallsTest, ScriptFunctionsInConstantExpressionsRunEveryTime) {
    Run("int calls = 0\nfunc int counted(int n)\ncalls = calls + 1\nreturn n * 10\nend\n"
        "int sum = 0\nint i\nfor i = 0; i < 5; i = i + 1\nsum = sum + counted(2 * 3) + 4 * 5\nend");
    EXPECT_EQ(Var("calls").value.i, 5);
    EXPECT_EQ(Var("sum").value.i, 5 * (60 + 20));
}

// A loop body and what it adds to r at each pass.
struct TPassCase {
    const char* body;
    double perPass;
};

// A script function called beside constants, in every place an expression
// stands: each pass gives the same value, also from the third evaluation on
// (when the evaluator has made its quickest form) and in a second run.
TEST_F(ScriptCallsTest, ACallBesideConstantsGivesItsValueAtEveryPass) {
    const TPassCase cases[] = {
        {"t = f() * 0.5", 0.5},
        {"t = 0.5 * f()", 0.5},
        {"if 0.5 < f()\nt = 1\nend", 1.0},
        {"t = sin(f())", std::sin(1.0)},
        {"t = g(f(), 0.5)", 1.5},
        {"double u = f() * 0.5\nt = u", 0.5},
        {"t = h()", 0.5},
        {"f() * 0.5\nt = 1", 1.0},
        {"while f() * 0.5 > 1\nend\nt = 2", 2.0},
    };
    for (const TPassCase& c : cases) {
        Build(std::string("func double f()\nreturn 1.0\nend\nfunc double g(double a, double b)\nreturn a + b\nend\n"
                          "func double h()\nreturn f() * 0.5\nend\n"
                          "int i\ndouble t\ndouble r = 0\nfor i = 0; i < 10; i = i + f()\nt = 0\n") +
              c.body + "\nr = r + t\nend");
        double expected = 0;
        for (int pass = 0; pass < 10; ++pass) expected += c.perPass;
        for (int run = 0; run < 2; ++run) EXPECT_EQ(RunForR(), expected) << c.body << " run " << run;
    }
}

// A variable that an expression reads before a call is read before the
// call, as the items stand, though the call changes it: at every pass, in
// a first run and a second.
TEST_F(ScriptCallsTest, AVariableBeforeACallIsReadBeforeIt) {
    const TPassCase cases[] = {
        {"t = x + f()", 1.0},
        {"t = x - f()", 1.0},
        {"t = x * (f() + 1.0)", 1.0},
        {"t = x + sin(f())", 1.0},
        {"t = n + f()", 1.0},
        {"x = x + f()\nt = x", 1.0},
        {"x += f()\nt = x", 1.0},
        {"x -= cos(f())\nt = x + 1", 1.0},
        {"n += f()\nt = n", 1.0},
        {"if x + f() > 5\nt = 100\nend", 0.0},
    };
    for (const TPassCase& c : cases) {
        Build(std::string("double x = 1.0\nint n = 1\nfunc double f()\nx = 10.0\nn = 10\nreturn 0.0\nend\n"
                          "double t\ndouble r = 0\nloop 4\nx = 1.0\nn = 1\nt = 0\n") +
              c.body + "\nr = r + t\nend");
        for (int run = 0; run < 2; ++run) EXPECT_EQ(RunForR(), 4 * c.perPass) << c.body << " run " << run;
    }
}

// ---- calls from the host and the globals' lifecycle

const char* const kCounterScript =
    "int total = 1\nstring trail = 'a'\n"
    "func int bump(int by)\ntotal = total + by\ntrail = trail + 'b'\nreturn total\nend\n"
    "func int twice(int by)\nreturn bump(by) + bump(by)\nend\n"
    "func string echo(string s)\nreturn s + '!'\nend\n"
    "func int put(string &s, int &n)\ns = 'x'\nn = -5000000000\nreturn 0\nend\n"
    "func int deep(int n)\nif n <= 1\nreturn 1\nend\nreturn deep(n - 1) + 1\nend";

TEST_F(ScriptCallsTest, KeptRunMovesGlobalsInDeclarationOrder) {
    Build(kCounterScript);
    const int before = Variables.GetCount();
    KRO_Run(program, true);
    EXPECT_EQ(Variables.GetCount(), before);
    ASSERT_EQ(program.variables.GetCount(), 2);
    EXPECT_EQ(program.variables[0]->name, TString("total"));
    EXPECT_EQ(program.variables[1]->name, TString("trail"));
}

TEST_F(ScriptCallsTest, HostCallsReadAndUpdateGlobalsOfDifferentTypes) {
    Build(kCounterScript);
    KRO_Run(program, true);
    // Host variables made after the run must not shift the globals.
    Variables.NewVar("host", vtString, false);
    const int before = Variables.GetCount();
    TVariableList params;
    *params.NewInt("by", false, 5) = 5;

    EXPRVALUE result = Call("bump", params);
    EXPECT_EQ(result.kind, ekInteger);
    EXPECT_EQ(result.value.integer, 6);
    result = Call("twice", params);  // a host-called function calling another
    EXPECT_EQ(result.value.integer, 11 + 16);
    EXPECT_EQ(program.variables[0]->value.i, 16);
    EXPECT_EQ(*program.variables[1]->value.s, TString("abbb"));
    EXPECT_EQ(Variables.GetCount(), before);
    EXPECT_EQ(Variables.GetVar("total"), nullptr);
}

TEST_F(ScriptCallsTest, HostArgumentsConvertFromTheVariablesRealType) {
    Build(kCounterScript);
    KRO_Run(program, true);
    TVariableList params;
    params.NewInt("number", false, 42);
    EXPRVALUE result = Call("echo", params);
    EXPECT_EQ(result.kind, ekOwnedText);
    EXPECT_EQ(result.text, TString("42!"));

    // Text is never written into a non-string variable; numbers are.
    TVariableList byReference;
    byReference.NewInt("notText", false, 42);
    byReference.NewDouble("real", false, 0.5);
    EXPECT_TRUE(KRO_CheckFunctionParams(program, KRO_GetFunctionIndex(program, "put"), byReference) == false);
    Call("put", byReference);
    EXPECT_EQ(byReference[0]->type, vtInt);
    EXPECT_EQ(byReference[0]->value.i, 42);
    EXPECT_EQ(byReference[1]->value.d, -5000000000.0);

    TVariableList fitting;
    fitting.NewString("text", false, TString("old"));
    fitting.NewInt("n", false, 0);
    Call("put", fitting);
    EXPECT_EQ(*fitting[0]->value.s, TString("x"));
    EXPECT_EQ(fitting[1]->value.i, -5000000000LL);
}

TEST_F(ScriptCallsTest, HostCallChecksItsIndex) {
    Build(kCounterScript);
    TVariableList params;
    const int before = Variables.GetCount();
    EXPECT_EQ(KRO_CallFunction(program, -1, params).kind, ekError);
    EXPECT_EQ(KRO_CallFunction(program, program.functions.GetCount(), params).kind, ekError);
    EXPECT_EQ(Variables.GetCount(), before);
}

TEST_F(ScriptCallsTest, HostRecursionBeyondTheCapEndsCleanly) {
    Build(kCounterScript);
    KRO_Run(program, true);
    const int before = Variables.GetCount();
    TVariableList params;
    params.NewInt("n", false, kMaxScriptCallDepth + 1);
    Call("deep", params);
    EXPECT_TRUE(KRO_RunWasStopped());
    EXPECT_EQ(Variables.GetCount(), before);
    EXPECT_EQ(program.variables.GetCount(), 2);
    EXPECT_EQ(program.variables[0]->value.i, 1);

    params[0]->value.i = kMaxScriptCallDepth;  // the cap itself, host call included
    EXPECT_EQ(Call("deep", params).value.integer, kMaxScriptCallDepth);
    EXPECT_FALSE(KRO_RunWasStopped());
}

TEST_F(ScriptCallsTest, ReleaseDeletesOnlyWhatTheRunLeft) {
    Variables.NewVar("before", vtInt, false);
    Run("int a = 1\nstring b = 'b'\nblock\nint inner = 2\nend");
    Variables.NewVar("after", vtInt, false);
    const int count = Variables.GetCount();
    KRO_ReleaseApplicationGlobals(program);
    EXPECT_EQ(Variables.GetCount(), count - 2);
    EXPECT_EQ(Variables.GetVar("a"), nullptr);
    EXPECT_EQ(Variables.GetVar("b"), nullptr);
    EXPECT_NE(Variables.GetVar("before"), nullptr);
    EXPECT_NE(Variables.GetVar("after"), nullptr);
    KRO_ReleaseApplicationGlobals(program);
    EXPECT_EQ(Variables.GetCount(), count - 2);

    KRO_Run(program, true);  // kept globals live in the program: nothing to release
    KRO_ReleaseApplicationGlobals(program);
    EXPECT_EQ(Variables.GetCount(), count - 2);
    EXPECT_EQ(program.variables.GetCount(), 2);
}

TEST_F(ScriptCallsTest, CheckFunctionParams) {
    Build("func int f(int a, double b, string c, int d[], double e[][])\nreturn 0\nend");
    TVariableList params;
    params.NewVar("a", vtInt, false);
    params.NewVar("b", vtDouble, false);
    params.NewVar("c", vtInt, false);  // a string parameter takes any variable
    params.NewArray("d", vtInt, false);
    params.NewArray2("e", vtDouble, false);
    EXPECT_TRUE(KRO_CheckFunctionParams(program, 0, params));
    EXPECT_FALSE(KRO_CheckFunctionParams(program, 1, params));
    EXPECT_FALSE(KRO_CheckFunctionParams(program, -1, params));
    params.NewVar("extra", vtInt, false);
    EXPECT_FALSE(KRO_CheckFunctionParams(program, 0, params));
    params.DeleteLast(true);
    params.DeleteLast(true);
    params.NewArray2("e", vtInt, false);  // wrong item type
    EXPECT_FALSE(KRO_CheckFunctionParams(program, 0, params));
    params.Delete(0, true);
    params.Insert(0, new TVariable(TString("a"), 1.0, 0));
    EXPECT_FALSE(KRO_CheckFunctionParams(program, 0, params));
}

TEST_F(ScriptCallsTest, FunctionIndexByName) {
    Build("func int f()\nreturn 1\nend\nfunc int g()\nreturn 2\nend\nfunc int f()\nreturn 3\nend");
    EXPECT_EQ(KRO_GetFunctionIndex(program, "f"), 0);
    EXPECT_EQ(KRO_GetFunctionIndex(program, "g"), 1);
    EXPECT_EQ(KRO_GetFunctionIndex(program, "h"), -1);
}

// ---- events

TEST_F(ScriptCallsTest, MouseDownHandlerGetsThreeIntegers) {
    Build("int seen = 0\nfunc int down(int x, int y, int button)\nseen = x * 100 + y * 10 + button\nreturn 0\nend\n"
          "event MouseDown, down");
    KRO_Run(program, true);
    const int mouseDown = 3;
    TVariableList params;
    params.NewVar("untouched", vtString, false);
    EXPECT_EQ(KRO_GetEventHandler(program, 7, params), -1);
    EXPECT_EQ(params.GetCount(), 1);

    EXPECT_EQ(KRO_GetEventHandler(program, mouseDown, params), 0);
    ASSERT_EQ(params.GetCount(), 3);
    for (int k = 0; k < 3; ++k) {
        EXPECT_EQ(params[k]->name, TString("param"));
        EXPECT_EQ(params[k]->type, vtInt);
        params[k]->value.i = k + 1;
    }
    EXPECT_TRUE(KRO_CheckFunctionParams(program, 0, params));
    KRO_CallEventHandler(program, mouseDown, params);
    EXPECT_EQ(program.variables[0]->value.i, 123);
    KRO_CallEventHandler(program, 7, params);  // nothing bound
    EXPECT_EQ(program.variables[0]->value.i, 123);
}

}  // namespace
