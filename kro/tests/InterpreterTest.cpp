// Tests of the interpreter: scripts compiled, run, and their results read back from Variables.
#include "Interpreter.h"

#include <cmath>
#include <vector>

#include "KroTestSupport.h"
#include "MessageBox.h"
#include "Responder.h"

namespace {

class InterpreterTest : public KroCompileTest {
protected:
    void TearDown() override {
        KRO_TokenFunc = nullptr;
        while (Variables.GetCount() > variablesAtStart) Variables.DeleteLast(true);
    }

    // Compiles and runs; the top-level variables stay in Variables.
    void Run(const std::string& text) {
        ASSERT_TRUE(Compile(text)) << text << " code " << KRO_ErrorCode << " line " << KRO_ErrorLine;
        KRO_Run(program, false);
    }

    int64_t Int(const char* name) {
        TVariable* v = Variables.GetVar(name);
        EXPECT_NE(v, nullptr) << name;
        return v != nullptr && v->type == vtInt ? v->value.i : -999999;
    }

    double Double(const char* name) {
        TVariable* v = Variables.GetVar(name);
        EXPECT_NE(v, nullptr) << name;
        return v != nullptr && v->type == vtDouble ? v->value.d : NAN;
    }

    int variablesAtStart = Variables.GetCount();
};

struct TScriptCase {
    const char* script;
    const char* variable;
    int64_t expected;
};

const TScriptCase kControlCases[] = {
    {"int r = 0\nif 1\nr = 1\nelse\nr = 2\nend", "r", 1},
    {"int r = 0\nif 0\nr = 1\nelse\nr = 2\nend", "r", 2},
    {"int r = 5\nif 0\nr = 1\nend", "r", 5},
    {"int r = 5\nif -0.0\nr = 1\nend", "r", 5},
    {"int r = 0\nloop 0\nr = r + 1\nend", "r", 0},
    {"int r = 0\nloop 3\nr = r + 1\nend", "r", 3},
    {"int r = 0\nloop -2\nr = r + 1\nend", "r", 0},
    {"int r = 0\nloop 5\nr = r + 1\nif r == 2\nbreak\nend\nend", "r", 2},
    {"int r = 0\nint n = 0\nloop 5\nn = n + 1\nif n > 3\ncontinue\nend\nr = r + 1\nend", "r", 3},
    {"int i = 0\nwhile i < 10\ni = i + 1\nend", "i", 10},
    {"int i = 0\nwhile 1\ni = i + 1\nif i == 4\nbreak\nend\nend", "i", 4},
    {"int i = 0\nint r = 0\nwhile i < 6\ni = i + 1\nif i > 2\ncontinue\nend\nr = r + 1\nend", "r", 2},
    {"int i = 0\nrepeat\ni = i + 1\nuntil i == 7", "i", 7},
    {"int i = 0\nrepeat\ni = i + 1\nif i == 3\nbreak\nend\nuntil 0", "i", 3},
    {"int i = 0\nint r = 0\nrepeat\ni = i + 1\nif i < 3\ncontinue\nend\nr = r + 1\nuntil i >= 5", "r", 3},
    {"int r = 0\nrepeat\nint k = r + 1\nr = k\nuntil k == 4", "r", 4},
    {"int s = 0\nint i\nfor i = 0; i < 5; i = i + 1\ns = s + i\nend", "s", 10},
    {"int i = 0\nint j\nwhile i < 100\ni = i + 1\nfor j = 0; j < 5; j = j + 1\nbreak\nend\nend", "i", 1},
    {"int i = 0\nint j\nint r = 0\nwhile i < 3\ni = i + 1\nfor j = 0; j < 5; j = j + 1\nr = r + 1\ncontinue\nend\nend", "r", 3},
    {"int r = 0\nswitch 2\ncase 1:\nr = r + 1\ncase 2:\nr = r + 10\ncase 3:\nr = r + 100\nendcase\ncase 4:\nr = r + 1000\nend", "r", 110},
    {"int r = 0\nswitch 9\ncase 1:\nr = 1\ndefault:\nr = 7\nend", "r", 7},
    {"int r = 3\nswitch 9\ncase 1:\nr = 1\nend", "r", 3},
    {"int a = 5000000000", "a", 5000000000LL},
    {"func int big()\nreturn 5000000000\nend\nint a = big()", "a", 5000000000LL},
    {"int r = 0\nswitch 5000000000\ncase 705032704:\nr = 1\nendcase\ncase 5000000000:\nr = 2\nendcase\nend", "r", 2},
    {"int r = 0\nblock\nint x = 4\nr = x\nend", "r", 4},
    {"string s = 'b'\nint r = 0\nswitch s\ncase 'a':\nr = r + 1\ncase 'b':\nr = r + 10\nendcase\ncase 'b':\nr = r + 100\nend",
     "r", 10},
    {"string s = 'a'\nint r = 0\nswitch s\ncase 'a':\nr = r + 1\ncase 'b':\nr = r + 10\nend", "r", 11},
    {"string s = 'c'\nint r = 0\nswitch s\ncase 'a':\nr = 1\ndefault:\nr = 5\nend", "r", 5},
};

TEST_F(InterpreterTest, ControlFlowScripts) {
    for (const TScriptCase& c : kControlCases) {
        const int before = Variables.GetCount();
        Run(c.script);
        EXPECT_EQ(Int(c.variable), c.expected) << c.script;
        while (Variables.GetCount() > before) Variables.DeleteLast(true);
    }
}

TEST_F(InterpreterTest, BlockVariablesAreDeletedAtEnd) {
    const int before = Variables.GetCount();
    Run("int r = 0\nblock\nint x = 4\nend\nint q = 1");
    EXPECT_EQ(Variables.GetCount(), before + 2);
    EXPECT_EQ(Variables.GetVar("x"), nullptr);
}

int maxDepth = 0;
void RecordDepth(TProgram&, int, CONTROL_FRAME*, int depth, bool&) {
    if (depth > maxDepth) maxDepth = depth;
}

TEST_F(InterpreterTest, ThousandRepeatPassesKeepTheDepth) {
    maxDepth = 0;
    KRO_TokenFunc = RecordDepth;
    Run("int i = 0\nrepeat\ni = i + 1\nuntil i == 1000");
    EXPECT_EQ(Int("i"), 1000);
    EXPECT_EQ(maxDepth, 2);
}

TEST_F(InterpreterTest, FunctionsReturnValuesAndZeroWithoutReturn) {
    Run("func int twice(int x)\nreturn x * 2\nend\n"
        "func double nothing()\nend\n"
        "func string word()\nend\n"
        "int a = twice(21)\ndouble d = 1.5\nd = nothing()\nint n = strlen(word())");
    EXPECT_EQ(Int("a"), 42);
    EXPECT_EQ(Double("d"), 0.0);
    EXPECT_EQ(Int("n"), 0);
}

TEST_F(InterpreterTest, RecursiveFunction) {
    Run("func int fact(int n)\nif n <= 1\nreturn 1\nend\nreturn n * fact(n - 1)\nend\nint f = fact(10)");
    EXPECT_EQ(Int("f"), 3628800);
}

TEST_F(InterpreterTest, EndlessRecursionEndsTheRunCleanly) {
    const int before = Variables.GetCount();
    Run("func int down(int n)\nreturn down(n + 1)\nend\nint f = down(0)");
    EXPECT_TRUE(KRO_RunWasStopped());
    EXPECT_EQ(Variables.GetCount(), before + 1);
}

void StopAtZero(TProgram&, int index, CONTROL_FRAME*, int, bool& stop) { stop = index == 0; }

TEST_F(InterpreterTest, HookStopOnTokenZero) {
    const int before = Variables.GetCount();
    KRO_TokenFunc = StopAtZero;
    ASSERT_TRUE(Compile("int a = 1"));
    program.variables.NewVar("old", vtInt, false);
    KRO_Run(program, true);
    EXPECT_EQ(Variables.GetCount(), before);
    EXPECT_EQ(program.variables.GetCount(), 0);
}

int stopAt = -1;
void StopAtToken(TProgram&, int index, CONTROL_FRAME*, int, bool& stop) { stop = index == stopAt; }

TEST_F(InterpreterTest, HookStopInsideFunctionUnwindsEveryFrame) {
    const int before = Variables.GetCount();
    ASSERT_TRUE(Compile("func int f(int x)\nblock\nint y = 2\nint z = y\nend\nreturn 1\nend\n"
                        "int a = 0\nblock\nint b = 1\na = f(3)\nend"));
    stopAt = 4;  // int z inside the function's block
    KRO_TokenFunc = StopAtToken;
    KRO_Run(program, false);
    EXPECT_TRUE(KRO_RunWasStopped());
    EXPECT_EQ(Variables.GetCount(), before + 1);  // only the top-level a
}

TEST_F(InterpreterTest, KeepMovesTopLevelVariablesIntoTheProgram) {
    const int before = Variables.GetCount();
    ASSERT_TRUE(Compile("int a = 1\ndouble b = 2"));
    KRO_Run(program, true);
    EXPECT_EQ(Variables.GetCount(), before);
    ASSERT_EQ(program.variables.GetCount(), 2);
    EXPECT_EQ(program.variables[0]->name, TString("a"));
    EXPECT_EQ(program.variables[0]->value.i, 1);
    EXPECT_EQ(program.variables[1]->name, TString("b"));
}

TEST_F(InterpreterTest, NestingDeeperThanTheControlStackEndsCleanly) {
    std::string text = "int r = 0\n";
    for (int k = 0; k < 200; ++k) text += "block\nint v" + std::to_string(k) + " = 1\n";
    text += "r = 1\n";
    for (int k = 0; k < 200; ++k) text += "end\n";
    const int before = Variables.GetCount();
    Run(text);
    EXPECT_TRUE(KRO_RunWasStopped());
    EXPECT_EQ(Int("r"), 0);
    EXPECT_EQ(Variables.GetCount(), before + 1);
}

TEST_F(InterpreterTest, MessageShowsItsTextInAModalBox) {
    std::vector<win32::ModalInteraction> shown;
    win32::ScopedResponder responder([&](const win32::ModalInteraction& box) {
        shown.push_back(box);
        return win32::ModalReply::Answer(IDOK);
    });
    Run("int r = 0\nmessage 'hello ' + 'world'\nr = 1");
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_EQ(shown[0].kind, win32::ModalKind::MessageBox);
    EXPECT_EQ(shown[0].caption, "\xFCzenet");
    EXPECT_EQ(shown[0].text, "hello world");
    EXPECT_EQ(shown[0].style, 0u);
    EXPECT_EQ(Int("r"), 1);
}

TEST_F(InterpreterTest, ValueConversions) {
    EXPRVALUE v;
    v.kind = ekReal;
    v.value.real = -0.0;
    EXPECT_FALSE(ValueIsTrue(v));
    v.value.real = 1e300;
    EXPECT_EQ(ValueAsInt(v), INT32_MAX);
    v.value.real = NAN;
    EXPECT_EQ(ValueAsInt64(v), 0);
    v.kind = ekInteger;
    v.value.integer = 5000000000LL;
    EXPECT_EQ(ValueAsInt64(v), 5000000000LL);
    v.kind = ekOwnedText;
    EXPECT_FALSE(ValueIsTrue(v));
}

}  // namespace
