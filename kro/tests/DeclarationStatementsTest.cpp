// Tests of the declaration statements: VARDEF tokens, initialisers, globals and their errors.
#include "KroTestSupport.h"

#include "EvaluateEngine.h"

namespace {

class DeclarationStatementsTest : public KroCompileTest {
protected:
    const VARDEF* Def(int i) const { return program.tokens[i]->Record<VARDEF>(); }
};

TEST_F(DeclarationStatementsTest, ScalarsAndArraysOnOneLine) {
    ASSERT_TRUE(Compile("int a, b[10], c[2,3], d[], e[][]"));
    ASSERT_EQ(Types(), std::vector<int>(5, ttDeclaration));
    EXPECT_EQ(Def(0)->variableType, vtInt);
    EXPECT_EQ(Def(1)->variableType, vtArray);
    EXPECT_EQ(Def(1)->itemType, vtInt);
    EXPECT_GT(Def(1)->size.count, 0);
    EXPECT_EQ(Def(2)->variableType, vtArray2);
    EXPECT_GT(Def(2)->lines.count, 0);
    EXPECT_GT(Def(2)->columns.count, 0);
    EXPECT_EQ(Def(3)->variableType, vtArray);
    EXPECT_EQ(Def(3)->size.count, 0);
    EXPECT_EQ(Def(4)->variableType, vtArray2);
    EXPECT_EQ(Def(4)->name, TString("e"));
}

TEST_F(DeclarationStatementsTest, TopLevelDeclarationsAreRecorded) {
    ASSERT_TRUE(Compile("double x\nstring s[]\nblock\nint inner\nend"));
    ASSERT_EQ(program.globals.GetCount(), 2);
    EXPECT_EQ(program.globals[0]->name, TString("x"));
    EXPECT_EQ(program.globals[0]->type, vtDouble);
    EXPECT_EQ(program.globals[1]->type, vtArray);
    EXPECT_EQ(program.globals[1]->itemType, vtString);
    ASSERT_EQ(program.variables.GetCount(), 2);
    EXPECT_EQ(program.variables[1]->name, TString("s"));
}

TEST_F(DeclarationStatementsTest, PointInitialiserBecomesToPoint) {
    ASSERT_TRUE(Compile("point p = {1, 2}"));
    ASSERT_EQ(Def(0)->initialisers.items.size(), 1u);
    EXPRESSION& e = const_cast<VARDEF*>(Def(0))->initialisers[0];
    EXPRVALUE value = EvaluateExpression(e, false, nullptr);
    EXPECT_EQ(value.kind, ekPoint);
    EXPECT_EQ(value.value.point.x, 1);
    EXPECT_EQ(value.value.point.y, 2);
}

TEST_F(DeclarationStatementsTest, ArrayAndStringInitialisers) {
    ASSERT_TRUE(Compile("complex c[] = {{1,2},{3,4}}\nstring s = 'a b'"));
    EXPECT_EQ(Def(0)->initialisers.items.size(), 2u);
    EXPECT_EQ(Def(0)->hasInitialisers, 1);
    EXPRVALUE value = EvaluateExpression(const_cast<VARDEF*>(Def(1))->initialisers[0], false, nullptr);
    EXPECT_STREQ(value.text.c_str(), "a b");
}

TEST_F(DeclarationStatementsTest, InitialiserSeesEarlierVariables) {
    EXPECT_TRUE(Compile("int a = 1, b = a + 1"));
    EXPECT_TRUE(Compile("int a[3] = {1, 2, 3}"));
}

struct TErrorCase {
    const char* text;
    int code;
};

TEST_F(DeclarationStatementsTest, BadDeclarationsFail) {
    const TErrorCase cases[] = {
        {"int", 1},          {"int +a", 1},         {"int a,", 1},           {"int a[2", 2},
        {"int a)", 2},       {"int a[1,2,3]", 4},   {"int a[nosuch]", 3},    {"int a=", 5},
        {"int a=1+", 6},     {"point p=1", 6},      {"point p={1}", 6},      {"complex c={1,2,3}", 6},
        {"int a[]=1", 7},    {"int a[]={}", 3},     {"int a[]={1,+}", 7},    {"int a[][]={1}", 8},
        {"point p[]={1,2}", 7},
    };
    for (const TErrorCase& c : cases) {
        EXPECT_FALSE(Compile(c.text)) << c.text;
        EXPECT_EQ(KRO_ErrorCode, c.code) << c.text;
    }
}

}  // namespace
