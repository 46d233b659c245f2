// Tests of what the evaluating fuzz targets let through.
#include <gtest/gtest.h>

#include "EvaluationGuard.h"
#include "ExpressionCompiler.h"
#include "FunctionTable.h"

namespace {

TEST(EvaluationGuardTest, OutsideNamesComeFromTheTablesFlags) {
    for (const char* text :
         {"system('ls')", "getenv('HOME')", "t_sec()", "1+GETCWD()", "print(1)", "sys tem('x')", "OpenFile('a',0,0)"})
        EXPECT_FALSE(fuzz::AcceptsEvaluatedText(text)) << text;
    for (const char* text : {"1+2", "strlen('abc')", "summa(1,3,[[i]])", "drand()"})
        EXPECT_TRUE(fuzz::AcceptsEvaluatedText(text)) << text;
    EXPECT_FALSE(fuzz::AcceptsEvaluatedText(std::string(fuzz::kMaxEvaluatedInput + 1, '1')));
}

// What the expression target does with a text: false when it refuses it.
bool TargetTakes(const std::string& text) {
    TVariableList list;
    EXPRESSION e;
    const bool taken =
        fuzz::CompileGuardedExpression(reinterpret_cast<const uint8_t*>(text.data()), text.size(), list, e);
    if (taken) FreeExpression(e);
    return taken;
}

// A built-in added later is refused the day it lands, by its flag alone.
TEST(EvaluationGuardTest, AnAddedOutsideBuiltinIsRefused) {
    EXPECT_TRUE(TargetTakes("fuzz_probe_open(1)"));
    TMultiFunction* probe = new TMultiFunction("fuzz_probe_open", "fuzz_probe_alias", vtInt);
    probe->AddParam(fpNumber);
    probe->flags = bfReachesOutside | bfImpure;
    AddMultiFunction(probe);
    EXPECT_FALSE(TargetTakes("fuzz_probe_open(1)"));
    EXPECT_FALSE(TargetTakes("2*fuzz_probe_alias(1)"));
    TMultiFunction* impure = new TMultiFunction("fuzz_probe_impure", vtInt);
    impure->flags = bfImpure;
    AddMultiFunction(impure);
    EXPECT_TRUE(TargetTakes("fuzz_probe_impure()"));
}

class WalkBoundTest : public ::testing::Test {
protected:
    void SetUp() override { fuzz::AddTargetVariables(list); }

    // Whether the text compiles and its walks are bounded.
    bool Bounded(const char* text) {
        EXPRESSION e = CreateExpression(list, text);
        EXPECT_GE(e.count, 0) << text;
        const bool bounded = e.count >= 0 && fuzz::WalksAreBounded(e);
        FreeExpression(e);
        return bounded;
    }

    TVariableList list;
};

TEST_F(WalkBoundTest, ConstantSmallWalksPassAndOthersAreRefused) {
    const struct {
        const char* text;
        bool bounded;
    } cases[] = {
        {"summa(1,100,[[i*i]])", true},
        {"summa(1,100,[[summa(1,100,[[i]])]])", true},
        {"summa(1,1000,[[summa(1,1000,[[i]])]])", false},
        {"summa(1,1000000000000,[[i]])", false},
        {"summa(1,n,[[i]])", false},
        {"summa(1,2*50,[[i]])", false},
        {"dsumma(0,1,50,[[d]])", true},
        {"dsumma(0,1,n*1000,[[d]])", false},
        {"str_iota(1000000,[['x']])", false},
        {"integrate([[x*x]],x,0,1,100,0)", true},
        {"integrate([[x*x]],x,0,1,100000,0)", false},
        {"str_any_tok('a|b|c','|',[[token=='b']])", true},
        {"str_any_tok(s,'|',[[token=='b']])", false},
        {"strmul('ab',200)", true},
        {"strmul(strmul('ab',200),200)", false},
        {"strmul('ab',n)", false},
        {"array_convert(a2,[[item+1]])", true},
        {"tokenize(s,',',a6)+array_convert(a6,[[item]])", false},
    };
    for (const auto& c : cases) EXPECT_EQ(Bounded(c.text), c.bounded) << c.text;
}

}  // namespace
