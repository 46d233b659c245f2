// Tests of func: the function table, Eval's ext functions and header errors.
#include "KroTestSupport.h"

namespace {

class FunctionStatementsTest : public KroCompileTest {};

TEST_F(FunctionStatementsTest, HeaderDeclaresParametersAndFunction) {
    ASSERT_TRUE(Compile("func int f(int a[], double &b)\nreturn a[0] + b\nend"));
    EXPECT_EQ(Types(), (std::vector<int>{ttFunc, ttReturn, ttEnd}));
    EXPECT_EQ(program.tokens[0]->value, 2);
    ASSERT_EQ(program.functions.GetCount(), 1);
    const TFunction* f = program.functions[0];
    EXPECT_EQ(f->name, TString("f"));
    EXPECT_EQ(f->entry, 0);
    EXPECT_EQ(f->resultType, ekInteger);
    ASSERT_EQ(f->GetCount(), 2);
    EXPECT_EQ(f->Param(0)->kind, ekArray);
    EXPECT_EQ(f->Param(0)->variableType, vtInt);
    EXPECT_EQ(f->Param(0)->byReference, 0);
    EXPECT_EQ(f->Param(1)->kind, ekReal);
    EXPECT_EQ(f->Param(1)->byReference, 1);
    EXPECT_EQ(f->Param(1)->name, TString("b"));
}

TEST_F(FunctionStatementsTest, EveryParameterKindIsDeclaredAndSaved) {
    ASSERT_TRUE(Compile("func point f(string s, complex &c, point p[][], double &d[], int n)\n"
                        "p[0, 1] = to_point(n, d[0])\nreturn p[0, 1]\nend"));
    const struct {
        uint8_t kind;
        uint8_t variableType;
        uint8_t byReference;
    } expected[] = {
        {ekOwnedText, vtString, 0}, {ekComplex, vtComplex, 1}, {ekArray2, vtPoint, 0},
        {ekArray, vtDouble, 1},     {ekInteger, vtInt, 0},
    };
    TProgram loaded;
    ASSERT_TRUE(ReloadProgram(program, loaded));
    for (const TProgram* p : {&program, &loaded}) {
        const TFunction* f = p->functions[0];
        ASSERT_NE(f, nullptr);
        EXPECT_EQ(f->resultType, ekPoint);
        ASSERT_EQ(f->GetCount(), 5);
        for (int k = 0; k < 5; ++k) {
            EXPECT_EQ(f->Param(k)->kind, expected[k].kind) << k;
            EXPECT_EQ(f->Param(k)->variableType, expected[k].variableType) << k;
            EXPECT_EQ(f->Param(k)->byReference, expected[k].byReference) << k;
        }
    }
}

TEST_F(FunctionStatementsTest, FunctionsAreCallableInTheirBodiesAndLater) {
    ASSERT_TRUE(Compile("func int fact(int n)\nif n < 2\nreturn 1\nend\nreturn n * fact(n - 1)\nend\n"
                        "func string g()\nreturn 'x'\nend\nint r = fact(3)\nstring s = g()"));
    EXPECT_EQ(program.functions.GetCount(), 2);
    EXPECT_EQ(program.functions[1]->entry, 6);
    EXPECT_EQ(program.functions[1]->resultType, ekOwnedText);
}

TEST_F(FunctionStatementsTest, ParametersAreGoneAfterTheEnd) {
    EXPECT_FALSE(Compile("func int f(int n)\nend\nn = 1"));
    EXPECT_EQ(KRO_ErrorCode, 10);
    EXPECT_EQ(KRO_ErrorLine, 3);
}

TEST_F(FunctionStatementsTest, BadHeadersFail) {
    std::string many = "func int f(";
    for (int i = 0; i < 33; ++i) many += (i > 0 ? ", int p" : "int p") + std::to_string(i);
    many += ")\nend";
    const struct {
        std::string text;
        int code;
    } cases[] = {
        {"if 1\nfunc int f()\nend\nend", 15},
        {"func foo f()\nend", 16},
        {"func int f\nend", 17},
        {"func int f(\nend", 17},
        {"func int (int a)\nend", 17},
        {"func int f(int a\nend", 17},
        {"func int f(int)\nend", 18},
        {"func int f(int [])\nend", 19},
        {"func int f(int &)\nend", 18},
        {"func int f(int a-b)\nend", 19},
        {"func int f(float a)\nend", 20},
        {"func int f(, int a)\nend", 18},
        {many, 17},
    };
    for (const auto& c : cases) {
        EXPECT_FALSE(Compile(c.text)) << c.text;
        EXPECT_EQ(KRO_ErrorCode, c.code) << c.text;
    }
}

TEST_F(FunctionStatementsTest, ThirtyTwoParametersAreAccepted) {
    std::string text = "func int f(";
    for (int i = 0; i < 32; ++i) text += (i > 0 ? ", int p" : "int p") + std::to_string(i);
    EXPECT_TRUE(Compile(text + ")\nend"));
}

TEST_F(FunctionStatementsTest, AnEmptyTextBeforeTheCloseEndsTheList) {
    ASSERT_TRUE(Compile("func int f(int a, )\nend"));
    EXPECT_EQ(program.functions[0]->GetCount(), 1);
}

TEST_F(FunctionStatementsTest, BuiltinArgumentsMayCallScriptFunctions) {
    ExtFuncHandler = nullptr;
    EXPECT_TRUE(Compile("func string g()\nreturn 'x'\nend\nint n = strlen(g())"));
    EXPECT_TRUE(Compile("func string g()\nreturn 'x'\nend\nint n = strlen(g())"));
}

}  // namespace
