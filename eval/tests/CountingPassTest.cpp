// Tests of the counting pass: it steps and tests as evaluating the step and the test does, takes only the shapes it can run, and hands every other case back untouched.
#include <gtest/gtest.h>

#include <cstdint>
#include <limits>
#include <string>

#include "CountingPass.h"
#include "EvaluateEngine.h"
#include "ExpressionCompiler.h"

namespace {

constexpr int64_t kMax = std::numeric_limits<int64_t>::max();

// A list of r (a real) and i, with a step and a test compiled against it.
struct TLoop {
    TLoop(const char* step, const char* test, int64_t start) {
        list.NewDouble("r", false, 0.5);
        list.NewInt("i", false, start);
        this->step = CreateExpression(list, TString(step));
        this->test = CreateExpression(list, TString(test));
    }
    ~TLoop() {
        FreeExpression(step);
        FreeExpression(test);
    }
    TLoop(const TLoop&) = delete;
    TLoop& operator=(const TLoop&) = delete;

    // The test's truth after the step, evaluated.
    int Evaluate() {
        EvaluateExpression(list, step, stack, false, nullptr);
        const EXPRVALUE truth = EvaluateExpression(list, test, stack, false, nullptr);
        return truth.value.integer != 0 ? 1 : 0;
    }
    int64_t I() const { return list.GetVar("i")->value.i; }

    TVariableList list;
    TEvalStack stack;
    EXPRESSION step;
    EXPRESSION test;
    TCountingPass pass;
};

TEST(CountingPassTest, PassesStepAndTestAsTheirEvaluationDoes) {
    const struct {
        const char* step;
        const char* test;
        int64_t start;
    } cases[] = {
        {"i = i + 1", "i < 5", 0},
        {"i = i - 3", "i >= -7", 4},
        {"i += 2", "i <= 9", 1},
        {"i -= 1", "i > 0", 3},
        {"i = i + 1", "i > 0", kMax - 2},  // wraps to the lowest value
        {"i += 9223372036854775807", "i < 0", 5},
        {"i = i - 1", "i <= 0", std::numeric_limits<int64_t>::min() + 1},
    };
    for (const auto& c : cases) {
        TLoop counted(c.step, c.test, c.start);
        TLoop evaluated(c.step, c.test, c.start);
        ASSERT_TRUE(TCountingPass::Fits(counted.step, counted.test)) << c.step << "; " << c.test;
        for (int pass = 0; pass < 5; ++pass) {
            const int expected = evaluated.Evaluate();
            EXPECT_EQ(counted.pass.Run(counted.step, counted.test, counted.list), expected) << c.step << " pass " << pass;
            EXPECT_EQ(counted.I(), evaluated.I()) << c.step << " pass " << pass;
        }
    }
}

TEST(CountingPassTest, OtherShapesDoNotFit) {
    const struct {
        const char* step;
        const char* test;
    } cases[] = {
        {"i = i * 2", "i < 5"},   {"i = 1 + i", "i < 5"},   {"i = r + 1", "i < 5"},
        {"i = i + 1.5", "i < 5"}, {"i = i + 1", "r < 5"},   {"i = i + 1", "i < 5.5"},
        {"i = i + 1", "i = 5"},   {"i = i + 1", "5 > i"},   {"i = i + 1", "i < 5 + 1"},
        {"i *= 2", "i < 5"},      {"i = i + 1, 2", "i < 5"}, {"i = i + 1", "i != 5"},
    };
    for (const auto& c : cases) {
        TLoop loop(c.step, c.test, 0);
        EXPECT_FALSE(TCountingPass::Fits(loop.step, loop.test)) << c.step << "; " << c.test;
        EXPECT_EQ(loop.pass.Run(loop.step, loop.test, loop.list), -1) << c.step << "; " << c.test;
        EXPECT_EQ(loop.I(), 0) << c.step;
    }
}

void Heard(TVariableList&, const VARINFO&, TVariable::TListenAction) {}

EXPRESSION_ITEM HostsOwnOperator(TVariableList&, TEvalStack&, EXPRESSION_ITEM&, EXPRESSION_ITEM&, int, char, bool) {
    return MakeIntegerItem(0);
}

// Where the evaluation would not take the in-place path (another type, a
// listener, a host's own operators), the pass does nothing.
TEST(CountingPassTest, HandsBackWhatTheEvaluationMustDo) {
    TLoop loop("i = i + 1", "i < 5", 0);
    ASSERT_EQ(loop.pass.Run(loop.step, loop.test, loop.list), 1);
    TVariable& i = *loop.list.GetVar("i");

    i.type = vtDouble;
    EXPECT_EQ(loop.pass.Run(loop.step, loop.test, loop.list), -1);
    i.type = vtInt;

    i.AddListener(Heard);
    EXPECT_EQ(loop.pass.Run(loop.step, loop.test, loop.list), -1);
    i.RemoveListener(Heard);

    const TEvaluateOperations saved = EvaluateOperations();
    EvaluateOperations().binaryOperator = HostsOwnOperator;
    EXPECT_EQ(loop.pass.Run(loop.step, loop.test, loop.list), -1);
    EvaluateOperations() = saved;

    EXPECT_EQ(loop.I(), 1);
    EXPECT_EQ(loop.pass.Run(loop.step, loop.test, loop.list), 1);
    EXPECT_EQ(loop.I(), 2);
}

// The variable is found again when the list changes: a relative reference
// then designates what it designates for the evaluation (here the variable
// appended last), and a step compiled again in place is read anew.
TEST(CountingPassTest, FollowsTheListAndTheExpressionsAsTheyAreNow) {
    TLoop counted("i = i + 1", "i < 5", 0);
    TLoop evaluated("i = i + 1", "i < 5", 0);
    EXPECT_EQ(counted.pass.Run(counted.step, counted.test, counted.list), evaluated.Evaluate());
    counted.list.NewInt("k", false, 3);
    evaluated.list.NewInt("k", false, 3);
    for (int pass = 0; pass < 3; ++pass) {
        EXPECT_EQ(counted.pass.Run(counted.step, counted.test, counted.list), evaluated.Evaluate());
        EXPECT_EQ(counted.list.GetVar("k")->value.i, evaluated.list.GetVar("k")->value.i);
        EXPECT_EQ(counted.I(), evaluated.I());
    }
    counted.list.DeleteLast(true);
    FreeExpression(counted.step);
    counted.step = CreateExpression(counted.list, TString("i = i - 2"));
    EXPECT_EQ(counted.pass.Run(counted.step, counted.test, counted.list), 1);
    EXPECT_EQ(counted.I(), -1);
}

}  // namespace
