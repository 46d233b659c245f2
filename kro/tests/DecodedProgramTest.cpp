// Tests of the decoded program: it follows a program recompiled, reloaded or edited and globals changed by the host, and calls reuse their parameters' variables without anyone seeing it.
#include "DecodedProgram.h"

#include <string>
#include <vector>

#include "CustomCommands.h"
#include "ExpressionCompiler.h"
#include "Interpreter.h"
#include "KroTestSupport.h"
#include "ScriptCalls.h"

namespace {

class DecodedProgramTest : public KroCompileTest {
protected:
    void TearDown() override {
        KRO_TokenFunc = nullptr;
        program.leftInVariables.clear();
        while (Variables.GetCount() > variablesAtStart) Variables.DeleteLast(true);
    }

    void Build(TProgram& target, const std::string& text) {
        ASSERT_TRUE(CompileInto(target, text)) << text << " code " << KRO_ErrorCode << " line " << KRO_ErrorLine;
    }

    // Runs target without keep and gives the int r it leaves; its variables go again.
    int64_t RunForR(TProgram& target) {
        const int before = Variables.GetCount();
        KRO_Run(target, false);
        const TVariable* r = Variables.GetVar("r");
        const int64_t value = r != nullptr && r->type == vtInt ? r->value.i : -999;
        target.leftInVariables.clear();
        while (Variables.GetCount() > before) Variables.DeleteLast(true);
        return value;
    }

    const int variablesAtStart = Variables.GetCount();
};

// Each script runs its loop often enough for every expression to have its
// decoded form before the change.
const char* const kLoopOne =
    "func int f(int n)\nreturn n + 1\nend\nint r = 0\nint i\nfor i = 0; i < 5; i = i + 1\nr = r + f(i)\nend";
const char* const kLoopTwo =
    "func int f(int n)\nreturn n * 100\nend\nint r = 0\nint i\nfor i = 0; i < 5; i = i + 1\nr = r + f(i)\nend";

TEST_F(DecodedProgramTest, ARecompiledOrReloadedProgramRunsAsItIsNow) {
    Build(program, kLoopOne);
    EXPECT_EQ(RunForR(program), 15);
    EXPECT_EQ(RunForR(program), 15);
    Build(program, kLoopTwo);  // the function redefined, into the same program
    EXPECT_EQ(RunForR(program), 1000);

    TProgram saved;
    Build(saved, kLoopOne);
    TMemBuffer bytes;
    saved.WriteToMemBuffer(bytes);
    bytes.SeekRead(0);
    ASSERT_TRUE(program.ReadFromMemBuffer(bytes));  // reloaded over the decoded one
    EXPECT_EQ(RunForR(program), 15);
}

TEST_F(DecodedProgramTest, ATokenEditedOrReplacedByTheHostIsSeen) {
    Build(program, "int r = 0\nint i\nfor i = 0; i < 3; i = i + 1\nr = r + 1\nend");
    EXPECT_EQ(RunForR(program), 3);
    // The statement's expression replaced in place.
    TToken* body = program.tokens[program.tokens.GetCount() - 2];
    ASSERT_EQ(body->type, ttExpression);
    FreeExpression(body->expression);
    body->expression = CreateExpression(Variables, TString("7"));
    EXPECT_EQ(RunForR(program), 0);  // r and i are not declared while compiling: "7" just runs
    // The whole token list rebuilt by a recompile of another length.
    Build(program, "int r = 4\nint i\nfor i = 0; i < 3; i = i + 1\nr = r * 2\nend\nr = r + 1");
    EXPECT_EQ(RunForR(program), 33);
}

TEST_F(DecodedProgramTest, GlobalsChangedByTheHostBetweenRunsAreSeen) {
    Variables.NewInt("host", false, 10);
    Build(program, "int r = 0\nint i\nfor i = 0; i < 4; i = i + 1\nr = r + host\nend");
    EXPECT_EQ(RunForR(program), 40);
    Variables.GetVar("host")->value.i = 3;
    EXPECT_EQ(RunForR(program), 12);
    // Replaced by a variable of another type at its place.
    Variables.DeleteVar("host");
    Variables.NewDouble("host", false, 0.5);
    Build(program, "double r = 0\nint i\nfor i = 0; i < 4; i = i + 1\nr = r + host\nend");
    KRO_Run(program, false);
    EXPECT_EQ(Variables.GetVar("r")->value.d, 2.0);

    // The kept globals of a run, changed by the host before a call.
    TProgram kept;
    Build(kept, "int total = 1\nfunc int get(int by)\ntotal = total + by\nreturn total\nend");
    KRO_Run(kept, true);
    TVariableList params;
    params.NewInt("by", false, 1);
    const int get = KRO_GetFunctionIndex(kept, "get");
    EXPECT_EQ(KRO_CallFunction(kept, get, params).value.integer, 2);
    EXPECT_EQ(KRO_CallFunction(kept, get, params).value.integer, 3);
    kept.variables.GetVar("total")->value.i = 100;
    EXPECT_EQ(KRO_CallFunction(kept, get, params).value.integer, 101);
}

// Puts a new token of that type in place of token at, holding text compiled
// against Variables as they are now.
void ReplaceToken(TProgram& target, int at, int type, const char* text) {
    TToken* token = new TToken(type);
    token->expression = CreateExpression(Variables, TString(text));
    target.tokens.Delete(at, true);
    target.tokens.Insert(at, token);
}

// What a hook or a custom command changes in the running program runs from
// the next token on, also where the hook has gone and the tokens run
// without it. The loop body adds 1 in the first pass and 10 in the others.
int bodyToken = -1;
int bodyPasses = 0;

TEST_F(DecodedProgramTest, ATokenReplacedByTheHookOrACustomCommandRunsFromTheNextToken) {
    Build(program, "int r = 0\nint i\nfor i = 0; i < 4; i = i + 1\nr = r + 1\nend");
    bodyToken = program.tokens.GetCount() - 2;
    bodyPasses = 0;
    // At the second test of the loop, the body is replaced and the hook goes.
    KRO_TokenFunc = [](TProgram& running, int index, CONTROL_FRAME*, int, bool&) {
        if (index != bodyToken - 1 || ++bodyPasses != 2) return;
        ReplaceToken(running, bodyToken, ttExpression, "r = r + 10");
        KRO_TokenFunc = nullptr;
    };
    EXPECT_EQ(RunForR(program), 31);

    TCustomCommandList& commands = CustomCommands();
    commands.NewCommand(
        501, "swap", [](int code, TString) { return new TToken(code); },
        [](int, int operation, TToken*, void* context) {
            if (operation == ccExecute && ++bodyPasses == 1)
                ReplaceToken(*static_cast<TProgram*>(context), bodyToken, ttExpression, "r = r + 10");
        });
    Build(program, "int r = 0\nint i\nfor i = 0; i < 4; i = i + 1\nr = r + 1\nswap\nend");
    bodyToken = program.tokens.GetCount() - 3;
    bodyPasses = 0;
    EXPECT_EQ(RunForR(program), 31);
    EXPECT_EQ(bodyPasses, 4);
    commands.DeleteLast(true);
}

// A program reloaded by the hook while it runs goes on in its new tokens;
// the decodings the run was in are kept until then.
TMemBuffer reloadBytes;

TEST_F(DecodedProgramTest, AProgramReloadedByTheHookWhileItRunsGoesOnInItsNewTokens) {
    TProgram other;
    Build(other, "int r = 0\nint i\nfor i = 0; i < 4; i = i + 1\nr = r + 10\nend");
    reloadBytes = TMemBuffer();
    other.WriteToMemBuffer(reloadBytes);
    Build(program, "int r = 0\nint i\nfor i = 0; i < 4; i = i + 1\nr = r + 1\nend");
    bodyToken = program.tokens.GetCount() - 2;
    bodyPasses = 0;
    KRO_TokenFunc = [](TProgram& running, int index, CONTROL_FRAME*, int, bool&) {
        if (index != bodyToken - 1 || ++bodyPasses != 2) return;
        reloadBytes.SeekRead(0);
        ASSERT_TRUE(running.ReadFromMemBuffer(reloadBytes));
        KRO_TokenFunc = nullptr;
    };
    EXPECT_EQ(RunForR(program), 31);
    EXPECT_EQ(RunForR(program), 40);
}

// A hook reads the parameter of a recursion by name at every depth, and
// changes its value, or its type, at one depth; the run follows, and a
// second run does the same with the variables kept from the first.
std::vector<int64_t> seenAtIf;
int ifToken = -1;
int changeAt = -1;
bool retype = false;

TEST_F(DecodedProgramTest, AHookReadsAndChangesAParameterByNameDeepInARecursion) {
    Build(program, "func int down(int n)\nif n < 1\nreturn 0\nend\nreturn n + down(n - 1)\nend\nint r = down(30)");
    for (int k = 0; k < program.tokens.GetCount(); ++k)
        if (program.tokens[k]->type == ttIf) ifToken = k;
    KRO_TokenFunc = [](TProgram&, int index, CONTROL_FRAME*, int, bool&) {
        TVariable* n = Variables.GetVar("n");
        if (index != ifToken || n == nullptr) return;
        seenAtIf.push_back(n->type == vtInt ? n->value.i : -1);
        if (n->type != vtInt || n->value.i != changeAt) return;
        if (retype) {
            n->type = vtDouble;
            n->value.d = 5.5;  // 5.5 + down(4) returns 15 as an int
        } else {
            n->value.i = 5;
        }
    };
    std::vector<int64_t> full;
    for (int64_t n = 30; n >= 0; --n) full.push_back(n);
    std::vector<int64_t> cut(full.begin(), full.begin() + 11);
    for (int64_t n = 4; n >= 0; --n) cut.push_back(n);
    const struct {
        int changeAt;
        bool retype;
        int64_t r;
        const std::vector<int64_t>& seen;
    } cases[] = {{-1, false, 465, full}, {20, false, 270, cut}, {20, true, 270, cut}, {-1, false, 465, full}};
    for (const auto& c : cases) {
        changeAt = c.changeAt;
        retype = c.retype;
        for (int run = 0; run < 2; ++run) {
            seenAtIf.clear();
            EXPECT_EQ(RunForR(program), c.r) << c.changeAt << " " << c.retype << " run " << run;
            EXPECT_EQ(seenAtIf, c.seen) << c.changeAt << " " << c.retype << " run " << run;
        }
    }
}

// Between two host calls the host may change the function's tokens.
TEST_F(DecodedProgramTest, ATokenReplacedBetweenHostCallsIsSeen) {
    Build(program, "int total = 1\nfunc int get(int by)\ntotal = total + by\nreturn total\nend");
    KRO_Run(program, true);
    TVariableList params;
    params.NewInt("by", false, 1);
    const int get = KRO_GetFunctionIndex(program, "get");
    EXPECT_EQ(KRO_CallFunction(program, get, params).value.integer, 2);
    ReplaceToken(program, program.tokens.GetCount() - 2, ttReturn, "7");
    EXPECT_EQ(KRO_CallFunction(program, get, params).value.integer, 7);
    EXPECT_EQ(program.variables.GetVar("total")->value.i, 3);
}

// Locals of a loop's body are kept for the next pass, and nobody sees it:
// every pass declares them with their names and zero values, without the
// listener a host gave them in an earlier pass; a global declared later in
// a block's place is global.
struct TLocalSeen {
    std::string names;
    int64_t n;
    std::string s;
    double d;
    int listeners;
};
std::vector<TLocalSeen> localsSeen;

void NoteAssignment(TVariableList&, const VARINFO&, TVariable::TListenAction) {}

TEST_F(DecodedProgramTest, LocalsOfALoopBodyAreFreshOnEveryPass) {
    Build(program,
          "int r = 0\nstring acc = ''\nint i\nfor i = 0; i < 3; i = i + 1\nint n\nstring s\ndouble d\n"
          "n = n + 1\ns = s + 'x'\nd = d + 0.5\nr = r + n\nacc = acc + s\nend\n"
          "block\nint a = 5\nend\nint g");
    bodyToken = 0;
    while (program.tokens[bodyToken]->type != ttFor) ++bodyToken;
    bodyToken += 4;  // n = n + 1, after the three declarations
    ASSERT_EQ(program.tokens[bodyToken]->type, ttExpression);
    localsSeen.clear();
    KRO_TokenFunc = [](TProgram&, int index, CONTROL_FRAME*, int, bool&) {
        if (index != bodyToken) return;
        const int count = Variables.GetCount();
        TVariable* n = Variables[count - 3];
        const TVariable* s = Variables[count - 2];
        const TVariable* d = Variables[count - 1];
        localsSeen.push_back({std::string(n->name.c_str()) + s->name.c_str() + d->name.c_str(), n->value.i,
                              s->value.s->c_str(), d->value.d, n->GetListenerCount()});
        n->AddListener(NoteAssignment);
    };
    const int before = Variables.GetCount();
    KRO_Run(program, false);
    KRO_TokenFunc = nullptr;
    EXPECT_EQ(Variables.GetVar("r")->value.i, 3);
    EXPECT_EQ(std::string(Variables.GetVar("acc")->value.s->c_str()), "xxx");
    ASSERT_EQ(localsSeen.size(), 3u);
    for (const TLocalSeen& seen : localsSeen) {
        EXPECT_EQ(seen.names, "nsd");
        EXPECT_EQ(seen.n, 0);
        EXPECT_EQ(seen.s, "");
        EXPECT_EQ(seen.d, 0.0);
        EXPECT_EQ(seen.listeners, 0);
    }
    const TVariable* g = Variables.GetVar("g");
    ASSERT_NE(g, nullptr);
    EXPECT_TRUE(g->absolute);
    EXPECT_EQ(g->value.i, 0);
    EXPECT_EQ(Variables.GetCount(), before + 4);  // r, acc, i, g
    program.leftInVariables.clear();
}

// A call's parameters are variables as ever, although calls reuse them: seen
// by the hook with their names and values at every depth of a recursion,
// written back by reference, gone after the call.
TEST_F(DecodedProgramTest, ParameterVariablesAreFreshForEveryCall) {
    struct TSeen {
        std::string name;
        int64_t value;
        int count;
    };
    static std::vector<TSeen> seen;
    seen.clear();
    KRO_TokenFunc = [](TProgram&, int, CONTROL_FRAME*, int, bool&) {
        const TVariable* last = Variables.Last();
        if (last != nullptr && last->type == vtInt && (last->name == "n" || last->name == "m"))
            seen.push_back({last->name.c_str(), last->value.i, Variables.GetCount()});
    };
    Build(program,
          "func int down(int n)\nif n == 0\nreturn 0\nend\nreturn n + down(n - 1)\nend\n"
          "func int bump(int &m)\nm = m + 10\nreturn m\nend\n"
          "func string wrap(string s, int n)\nreturn '[' + s + $n + ']'\nend\n"
          "int r = down(3) + down(2)\nint k = 1\nint b = bump(k) + bump(k)\nstring w = wrap('a', 1) + wrap('b', 2)");
    const int before = Variables.GetCount();
    KRO_Run(program, false);
    KRO_TokenFunc = nullptr;
    EXPECT_EQ(Variables.GetVar("r")->value.i, 6 + 3);
    EXPECT_EQ(Variables.GetVar("k")->value.i, 21);
    EXPECT_EQ(Variables.GetVar("b")->value.i, 11 + 21);
    EXPECT_EQ(Variables.GetVar("w")->value.s->c_str(), std::string("[a1][b2]"));
    EXPECT_EQ(Variables.GetCount(), before + 4);  // r, k, b, w: no parameter is left
    // down(3) then down(2): n = 3, 2, 1, 0 at growing depths, then 2, 1, 0 again.
    std::vector<int64_t> values;
    for (const TSeen& s : seen)
        if (s.name == "n" && (values.empty() || values.back() != s.value)) values.push_back(s.value);
    EXPECT_EQ(values, (std::vector<int64_t>{3, 2, 1, 0, 2, 1, 0, 1, 2}));
}

}  // namespace
