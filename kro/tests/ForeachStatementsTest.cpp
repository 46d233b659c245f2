// Tests of the foreach family: compile checks, runs, and the saved form of its tokens.
#include <cstring>

#include "Interpreter.h"
#include "KroTestSupport.h"
#include "Statements.h"
#include "Token.h"

namespace {

class ForeachTest : public KroCompileTest {
protected:
    void TearDown() override {
        while (Variables.GetCount() > variablesAtStart) Variables.DeleteLast(true);
    }

    // Runs the program and reads an int variable back; the run's variables are removed.
    int64_t RunFor(TProgram& target, const char* name) {
        const int before = Variables.GetCount();
        KRO_Run(target, false);
        const TVariable* v = Variables.GetVar(name);
        const int64_t value = v != nullptr && v->type == vtInt ? v->value.i : -999999;
        while (Variables.GetCount() > before) Variables.DeleteLast(true);
        return value;
    }

    int variablesAtStart = Variables.GetCount();
};

struct TCompileCase {
    const char* script;
    int error;
};

TEST_F(ForeachTest, CompileErrors) {
    const TCompileCase cases[] = {
        {"int a[]\nforeach a", 55},
        {"int a[]\nint x\nforeach a,x,1,2", 55},
        {"int x\nforeach zz,x", 53},
        {"int q\nint x\nforeach q,x", 36},
        {"int m[][]\nint x\nforeach m,x", 36},
        {"int a[]\nforeach a,zz", 53},
        {"int a[]\ndouble d\nforeach a,d", 54},
        {"int a[]\nint x\nforeach a,x,)", 56},
        {"int n\nforeach_getcount n", 58},
        {"int a[]\nint x\nforeach a,x\nend\nforeach_getcount x", 58},
        {"int a[]\nint x\nforeach a,x\nforeach_getcount zz\nend", 57},
        {"int a[]\nint x\nstring s\nforeach a,x\nforeach_getcount s\nend", 54},
        {"foreach_setcount 1", 58},
        {"int a[]\nint x\nforeach a,x\nforeach_setcount )\nend", 10},
    };
    for (const TCompileCase& c : cases) {
        EXPECT_FALSE(Compile(c.script)) << c.script;
        EXPECT_EQ(KRO_ErrorCode, c.error) << c.script;
    }
}

TEST_F(ForeachTest, CompiledRecords) {
    ASSERT_TRUE(Compile("int a[] = {1}\nint x\nint n\nforeach a,x,2\nif 1\nforeach_getcount n\nforeach_setcount 5\nend\nend"));
    ASSERT_EQ(Types(), (std::vector<int>{ttDeclaration, ttDeclaration, ttDeclaration, ttForeach, ttIf, ttForeachGetCount,
                                         ttForeachSetCount, ttEnd, ttEnd}));
    const FOREACH_INFO* loop = program.tokens[3]->Record<FOREACH_INFO>();
    EXPECT_EQ(loop->end, 8);
    EXPECT_EQ(loop->arrayAbsolute, 1);
    EXPECT_GT(loop->step.count, 0);
    EXPECT_EQ(program.tokens[5]->Record<FOREACH_INFO>()->levels, 1);
    EXPECT_EQ(program.tokens[6]->Record<FOREACH_INFO>()->levels, 1);
}

struct TRunCase {
    const char* script;
    int64_t expected;  // of r
};

const TRunCase kRunCases[] = {
    {"int a[] = {1,2,3,4}\nint x\nint r = 0\nforeach a,x\nr = r + x\nend", 10},
    {"int a[]\ndim a, 0\nint x\nint r = 7\nforeach a,x\nr = 0\nend", 7},
    {"int a[] = {1,2,3,4,5}\nint x\nint r = 0\nforeach a,x,2\nr = r * 10 + x\nend", 135},
    {"int a[] = {1,2,3,4,5}\nint x\nint r = 0\nforeach a,x,1.9\nr = r + 1\nend", 5},
    {"int a[] = {1,2,3}\nint x\nint r = 0\nforeach a,x,-1\nr = r + x\nend", 1},
    {"int a[] = {1,2,3}\nint x\nint r = 0\nforeach a,x,'s'\nr = r + x\nend", 6},
    {"int a[] = {5000000000}\nint x\nint r = 0\nforeach a,x\nr = x\nend", 5000000000LL},
    // Positions: getcount reads, setcount moves the loop at its next advance.
    {"int a[] = {4,5,6}\nint x\nint n\nint r = 0\nforeach a,x\nforeach_getcount n\nr = r * 10 + n\nend", 12},
    {"int a[] = {1,2,3,4}\nint x\nint r = 0\nforeach a,x\nr = r + x\nforeach_setcount 99\nend", 1},
    {"int a[] = {1,2,3,4}\nint x\nint r = 0\nforeach a,x\nr = r * 10 + x\nif x == 2\nforeach_setcount 2\nend\nend", 124},
    {"int a[] = {1,2,3}\nint x\nint r = 0\nint once = 1\nforeach a,x\nr = r * 10 + x\nif x == 3 && once\n"
     "once = 0\nforeach_setcount -1\nend\nend",
     123123},
    // The levels pass the blocks between the statement and its loop.
    {"int a[] = {4,5,6}\nint x\nint n\nint r = 0\nforeach a,x\nblock\nif 1\nforeach_getcount n\nr = r * 10 + n\n"
     "foreach_setcount n\nend\nend\nend",
     12},
    {"int a[] = {1,2}\nint b[] = {1,2,3}\nint x\nint y\nint n\nint r = 0\nforeach a,x\nforeach b,y\nend\n"
     "foreach_getcount n\nr = r * 10 + n\nend",
     1},
    {"int a[] = {1,2}\nint b[] = {1,2,3}\nint x\nint y\nint r = 0\nforeach a,x\nforeach b,y\nr = r + 1\nend\nend", 6},
    // The array is read as it is at each advance.
    {"int a[] = {1,2,3,4}\nint x\nint r = 0\nforeach a,x\nr = r + x\na_delete a, 3\nend", 6},
    // Body variables go at each pass; break in an enclosing while leaves the foreach too.
    {"int a[] = {1,2,3}\nint x\nint r = 0\nforeach a,x\nint y = x * 2\nr = r + y\nend", 12},
    {"int a[] = {1,2,3}\nint x\nint r = 0\nwhile 1\nforeach a,x\nr = r + x\nif x == 2\nbreak\nend\nend\nend", 3},
    {"int a[] = {1,2,3}\nint x\nint r = 0\nint i = 0\nwhile i < 2\ni = i + 1\nforeach a,x\nr = r + 1\ncontinue\nend\nend", 2},
};

TEST_F(ForeachTest, Runs) {
    for (const TRunCase& c : kRunCases) {
        ASSERT_TRUE(Compile(c.script)) << c.script << " code " << KRO_ErrorCode;
        EXPECT_EQ(RunFor(program, "r"), c.expected) << c.script;
    }
}

TEST_F(ForeachTest, ItemsOfEveryTypeReachTheItemVariable) {
    ASSERT_TRUE(Compile("point p[] = {{1,2},{3,4}}\npoint q\nint r = 0\nforeach p,q\nr = r * 100 + q.x * 10 + q.y\nend\n"
                        "complex c[] = {{0.5,1.5}}\ncomplex z\ndouble d[] = {2.25}\ndouble e\n"
                        "string s[] = {'ab','cd'}\nstring t\nstring u = ''\n"
                        "foreach c,z\nend\nforeach d,e\nend\nforeach s,t\nu = u + t\nend"));
    const int before = Variables.GetCount();
    KRO_Run(program, false);
    EXPECT_EQ(Variables.GetVar("r")->value.i, 1234);
    EXPECT_EQ(Variables.GetVar("z")->value.c.re, 0.5);
    EXPECT_EQ(Variables.GetVar("z")->value.c.im, 1.5);
    EXPECT_EQ(Variables.GetVar("e")->value.d, 2.25);
    EXPECT_EQ(*Variables.GetVar("u")->value.s, TString("abcd"));
    while (Variables.GetCount() > before) Variables.DeleteLast(true);
}

TEST_F(ForeachTest, InsideAFunctionOverLocalArrays) {
    ASSERT_TRUE(Compile("func int total(int v[])\nint x\nint s = 0\nforeach v,x,1\ns = s + x\nend\nreturn s\nend\n"
                        "int a[] = {3,4,5}\nint r = total(a)"));
    EXPECT_EQ(RunFor(program, "r"), 12);
}

TEST_F(ForeachTest, SavedFormRoundTrip) {
    ASSERT_TRUE(Compile("int a[] = {1,2,3,4,5,6}\nint x\nint n\nint r = 0\nforeach a,x,2\nforeach_getcount n\n"
                        "r = r * 10 + n\nif n == 2\nforeach_setcount 3\nend\nend"));
    TMemBuffer saved;
    program.WriteToMemBuffer(saved);
    TProgram loaded;
    saved.SeekRead(0);
    ASSERT_TRUE(loaded.ReadFromMemBuffer(saved));
    TMemBuffer again;
    loaded.WriteToMemBuffer(again);
    ASSERT_EQ(again.GetSize(), saved.GetSize());
    EXPECT_EQ(std::memcmp(again.GetBlock(), saved.GetBlock(), static_cast<size_t>(saved.GetSize())), 0);
    EXPECT_EQ(RunFor(program, "r"), 25);
    EXPECT_EQ(RunFor(loaded, "r"), 25);
}

TEST_F(ForeachTest, DamagedRecordsAreRefused) {
    FOREACH_INFO info;
    info.end = 4;
    ASSERT_TRUE(CompileExpression(TString("1+2"), info.step));
    TMemBuffer whole;
    info.Write(whole);
    for (int size = 0; size < whole.GetSize(); ++size) {
        TMemBuffer part;
        part.Add(whole.GetBlock(), size);
        part.SeekRead(0);
        FOREACH_INFO read;
        EXPECT_FALSE(read.Read(part)) << size;
    }
}

}  // namespace
