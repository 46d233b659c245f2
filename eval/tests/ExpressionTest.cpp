// Tests of TExpression and TExpressions: compiling, copying, evaluating, result texts, lists and the stored record.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <string>

#include "EvaluateEngine.h"
#include "EvaluateErrors.h"
#include "Expression.h"

namespace {

class ExpressionTest : public ::testing::Test {
protected:
    void SetUp() override { Fill(list); }

    static void Fill(TVariableList& target) {
        target.NewInt("x", false, 0);
        target.NewInt("y", false, 0);
        target.NewDouble("z", false, -0.0);
        target.NewString("txt", false, "words");
    }

    TVariableList list;
};

TEST_F(ExpressionTest, TextThatDoesNotCompileLeavesTheObjectInvalid) {
    TExpression e("3*x", &list);
    ASSERT_TRUE(e.Valid());
    EXPECT_FALSE(e.SetSource("1+", nullptr));
    EXPECT_FALSE(e.Valid());
    EXPECT_NE(EvaluateErrorCode, 0);
    EXPECT_EQ(e.GetSource(), TString(""));
    EXPECT_EQ(e.EvalS(), TString("???"));
    EXPECT_FALSE(e.EvalBool());
    const EXPRVALUE v = e.Eval();
    EXPECT_EQ(v.kind, ekInteger);
    EXPECT_EQ(v.value.integer, 0);
    char buffer[8] = "xxxxxxx";
    EXPECT_EQ(e.EvalToBuf(buffer), 0);
    EXPECT_STREQ(buffer, "???");
}

TEST_F(ExpressionTest, ResultTexts) {
    const struct {
        const char* text;
        const char* shown;
        int kind;
    } cases[] = {
        {"to_point(1,2)", "{1, 2}", ekPoint},
        {"to_complex(1.5,2)", "{1.500000 ,2.000000}", ekComplex},
        {"2.5", "2.500000", ekReal},
        {"x+42", "42", ekInteger},
        {"txt+'!'", "words!", ekOwnedText},
    };
    for (const auto& c : cases) {
        TExpression e(c.text, &list);
        ASSERT_TRUE(e.Valid()) << c.text;
        EXPECT_EQ(e.EvalS(), TString(c.shown)) << c.text;
        std::string standard;
        e.EvalS(standard);
        EXPECT_EQ(standard, c.shown) << c.text;
        char buffer[kEvalBufferSize];
        EXPECT_EQ(e.EvalToBuf(buffer), c.kind) << c.text;
        EXPECT_STREQ(buffer, c.kind == ekOwnedText ? "" : c.shown) << c.text;
    }
}

TEST_F(ExpressionTest, EvalToBufStaysInsideItsBuffer) {
    TExpression huge("-1.5*10.0^300", &list);  // "%lf" gives over 300 digits
    char buffer[kEvalBufferSize];
    EXPECT_EQ(huge.EvalToBuf(buffer), ekReal);
    EXPECT_EQ(std::strlen(buffer), 309u);
    char small[6] = "#####";
    EXPECT_EQ(huge.EvalToBuf(small, 4), ekReal);
    EXPECT_STREQ(small, "-15");
    EXPECT_EQ(small[4], '#');
    EXPECT_EQ(huge.EvalToBuf(small, 0), ekReal);
    EXPECT_STREQ(small, "-15");
    TExpression invalid(&list);
    EXPECT_EQ(invalid.EvalToBuf(small, 2), 0);
    EXPECT_STREQ(small, "?");
}

TEST_F(ExpressionTest, EvalBool) {
    const struct {
        const char* text;
        bool expected;
    } cases[] = {{"3", true}, {"x", false}, {"z", false}, {"0.25", true}, {"txt", false}, {"to_point(1,1)", false}};
    for (const auto& c : cases) EXPECT_EQ(TExpression(c.text, &list).EvalBool(), c.expected) << c.text;
}

TEST_F(ExpressionTest, CopiesAreDeepAndKeepTheList) {
    TExpression original("txt+'?'", &list);
    TExpression copy(original);
    TExpression assigned(nullptr);
    assigned = original;
    original.SetSource("1", nullptr);
    for (TExpression* e : {&copy, &assigned}) {
        EXPECT_EQ(e->GetSource(), TString("txt+'?'"));
        EXPECT_EQ(e->EvalS(), TString("words?"));
        EXPECT_EQ(&e->GetVars(), &list);
    }
    TVariableList other;
    TExpression invalidOnOther(&other);
    copy = invalidOnOther;
    EXPECT_FALSE(copy.Valid());
    EXPECT_EQ(&copy.GetVars(), &other);
}

TEST_F(ExpressionTest, SelfAssignmentKeepsTheExpression) {
    TExpression e("x+1", &list);
    TExpression& same = e;
    e = same;
    e.Assign(e);
    EXPECT_TRUE(e.Valid());
    EXPECT_EQ(e.GetSource(), TString("x+1"));
    EXPECT_EQ(e.EvalS(), TString("1"));
}

TEST_F(ExpressionTest, SetVarsMovesOntoAListBuiltTheSameWay) {
    TVariableList worker;
    Fill(worker);
    worker.GetVar("x")->value.i = 40;
    TExpression e("x+2", &list);
    EXPECT_EQ(e.EvalS(), TString("2"));
    e.SetVars(&worker);
    EXPECT_EQ(e.EvalS(), TString("42"));
    e.SetVars(nullptr);
    EXPECT_EQ(&e.GetVars(), &Variables);
}

// The object's fast form must give what the loop gives, also on a list
// where the variable holds no number or is missing.
TEST_F(ExpressionTest, EvaluationMatchesTheLoopOnAnyList) {
    TVariableList texts;
    texts.NewString("x", false, "12");
    texts.NewInt("y", false, 0);
    texts.NewDouble("z", false, 0.5);
    texts.NewString("txt", false, "w");
    TVariableList empty;
    TExpression e("x*3+z", &list);
    EXPRESSION bare = e.GetExpr();
    TEvalStack stack;
    for (TVariableList* target : {&list, &texts, &empty}) {
        e.SetVars(target);
        const EXPRVALUE fast = e.Eval();
        const EXPRVALUE loop = EvaluateExpression(*target, bare, stack, false, nullptr);
        EXPECT_EQ(fast.kind, loop.kind);
        EXPECT_EQ(std::memcmp(&fast.value, &loop.value, sizeof fast.value), 0);
        EXPECT_EQ(fast.ref.index, loop.ref.index);
    }
    FreeExpression(bare);
}

TEST_F(ExpressionTest, RecompileFollowsTheList) {
    TExpression e("txt", &list);
    EXPECT_EQ(e.EvalS(), TString("words"));
    list.NewInt("txt", false, 7);  // a newer variable of the same name hides the text
    EXPECT_TRUE(e.Recompile());
    EXPECT_EQ(e.EvalS(), TString("7"));
    EXPECT_EQ(e.GetSource(), TString("txt"));
}

TEST_F(ExpressionTest, RecordRoundTrips) {
    TExpression valid("txt+'!'", &list);
    TExpression invalid(&list);
    TMemBuffer buffer;
    valid.WriteToMemBuffer(buffer);
    invalid.WriteToMemBuffer(buffer);
    TExpression a(&list);
    TExpression b("x", &list);
    ASSERT_TRUE(a.ReadFromMemBuffer(buffer));
    ASSERT_TRUE(b.ReadFromMemBuffer(buffer));
    EXPECT_EQ(buffer.GetRemaining(), 0);
    EXPECT_EQ(a.GetSource(), valid.GetSource());
    EXPECT_EQ(a.EvalS(), TString("words!"));
    EXPECT_FALSE(b.Valid());
    EXPECT_EQ(b.GetSource(), TString(""));
    EXPECT_EQ(&b.GetVars(), &list);
}

TEST_F(ExpressionTest, DamagedRecordLeavesTheObjectInvalid) {
    TExpression valid("x*3", &list);
    TMemBuffer whole;
    valid.WriteToMemBuffer(whole);
    for (int cut = 0; cut < whole.GetSize(); ++cut) {
        TMemBuffer part;
        part.Add(whole.GetBlock(), cut);
        TExpression e("1", &list);
        EXPECT_FALSE(e.ReadFromMemBuffer(part)) << cut;
        EXPECT_FALSE(e.Valid()) << cut;
        EXPECT_EQ(part.GetReadPosition(), 0) << cut;
    }
}

class ExpressionsTest : public ExpressionTest {};

TEST_F(ExpressionsTest, AddEvaluateAndFind) {
    TExpressions all;
    EXPECT_FALSE(all.Add("1+", &list));
    EXPECT_EQ(all.GetCount(), 0);
    ASSERT_TRUE(all.Add("x = 1", &list));
    ASSERT_TRUE(all.Add("y = x + 1", &list));
    all.Eval();
    EXPECT_EQ(list.GetVar("y")->value.i, 2);
    EXPECT_EQ(all.GetIndex("y = x + 1"), 1);
    EXPECT_EQ(all.GetIndex("nothing"), -1);
    EXPECT_THROW(all[-1], TSDPPBadIndex);
    EXPECT_THROW(all[2], TSDPPBadIndex);
    EXPECT_EQ(all[0].GetSource(), TString("x = 1"));
}

TEST_F(ExpressionsTest, EvalBySourceAddsOnceAndRefusesWhatDoesNotCompile) {
    TExpressions all;
    ASSERT_TRUE(all.Add("txt+'s'", &list));
    // On the default list: a source seen first is added.
    const EXPRVALUE first = all.Eval(TString("6*7"));
    EXPECT_EQ(first.value.integer, 42);
    EXPECT_EQ(all.GetCount(), 2);
    all.Eval(TString("6*7"));
    EXPECT_EQ(all.GetCount(), 2);
    // Not the last expression's result: what a not-compiled expression gives.
    const EXPRVALUE broken = all.Eval(TString("6*"));
    EXPECT_EQ(broken.kind, ekInteger);
    EXPECT_EQ(broken.value.integer, 0);
    EXPECT_EQ(all.GetCount(), 2);
}

TEST_F(ExpressionsTest, CopiesAreDeepAndRecompileRunsThroughFailures) {
    TExpressions all;
    all.Add("x+1", &list);
    all.Add("txt", &list);
    all.Add("y+1", &list);
    TExpressions copy(all);
    TExpressions assigned;
    assigned = all;
    assigned = assigned;
    all[0].SetSource("5", nullptr);
    for (TExpressions* e : {&copy, &assigned}) {
        ASSERT_EQ(e->GetCount(), 3);
        EXPECT_EQ((*e)[0].GetSource(), TString("x+1"));
        EXPECT_EQ((*e)[1].EvalS(), TString("words"));
    }
    list.DeleteVar("txt");
    list.NewPoint("txt", false);
    list.DeleteVar("y");  // "y+1" no longer compiles
    EXPECT_FALSE(copy.Recompile());
    EXPECT_TRUE(copy[0].Valid());
    EXPECT_TRUE(copy[1].Valid());
    EXPECT_EQ(copy[1].EvalS(), TString("{0, 0}"));
    EXPECT_FALSE(copy[2].Valid());
}

TEST_F(ExpressionsTest, ListStoredFormRoundTrips) {
    TExpressions all;
    all.Add("txt+'?'", &list);
    all.Add("y*2", &list);
    TMemBuffer buffer;
    all.WriteToMemBuffer(buffer);
    TExpressions read;
    ASSERT_TRUE(read.ReadFromMemBuffer(buffer));
    ASSERT_EQ(read.GetCount(), 2);
    EXPECT_EQ(read[1].GetSource(), TString("y*2"));
    // Read expressions start on the default list; they are moved onto theirs.
    read[0].SetVars(&list);
    EXPECT_EQ(read[0].EvalS(), TString("words?"));
}

}  // namespace
