// Tests of numeric integration: the three rules, step counts, bounds and the restored variable.
#include <gtest/gtest.h>

#include "ExpressionCompiler.h"
#include "NumericIntegration.h"

namespace {

class IntegrateFixture : public ::testing::Test {
protected:
    void SetUp() override { list.NewDouble("x", false, 7.25); }
    void TearDown() override { FreeExpression(expression); }
    long double Run(const char* text, double a, double b, int n, int method) {
        FreeExpression(expression);
        expression = CreateExpression(list, TString(text));
        return Integrate(list, expression, stack, list.GetVarIndex("x"), a, b, n, method);
    }
    double X() const { return list.GetVar("x")->value.d; }

    TVariableList list;
    TEvalStack stack;
    EXPRESSION expression{};
};

TEST_F(IntegrateFixture, SimpsonWithTwoStepsIsExactForASquare) {
    EXPECT_EQ(static_cast<double>(Run("x*x", 0, 1, 2, kIntegrateSimpson)), 1.0 / 3.0);
    EXPECT_NEAR(static_cast<double>(Run("x*x*x", 0, 2, 3, kIntegrateSimpson)), 4.0, 1e-12);
    EXPECT_EQ(X(), 7.25);
}

TEST_F(IntegrateFixture, RulesApproachTheIntegral) {
    EXPECT_NEAR(static_cast<double>(Run("x*x", 0, 1, 1000, kIntegrateMidpoint)), 1.0 / 3.0, 1e-6);
    EXPECT_NEAR(static_cast<double>(Run("x*x", 0, 1, 1000, kIntegrateTrapezoid)), 1.0 / 3.0, 1e-6);
    EXPECT_DOUBLE_EQ(static_cast<double>(Run("x", 0, 2, 1, kIntegrateMidpoint)), 2.0);  // only at 1
    EXPECT_EQ(X(), 7.25);
}

TEST_F(IntegrateFixture, ReversedBoundsGiveTheNegative) {
    for (int method = 0; method <= 2; ++method)
        EXPECT_NEAR(static_cast<double>(Run("x*x", 1, 0, 100, method)), -1.0 / 3.0, 1e-4) << method;
}

TEST_F(IntegrateFixture, NoStepsOrUnknownMethodGiveZero) {
    EXPECT_EQ(Run("x", 0, 1, 0, kIntegrateSimpson), 0.0L);
    EXPECT_EQ(Run("x", 0, 1, -3, kIntegrateMidpoint), 0.0L);
    EXPECT_EQ(Run("x", 0, 1, 10, 3), 0.0L);
    EXPECT_EQ(X(), 7.25);
}

TEST_F(IntegrateFixture, IntegerIntegrandCountsAsReal) {
    EXPECT_DOUBLE_EQ(static_cast<double>(Run("3", 0, 2, 4, kIntegrateMidpoint)), 6.0);
}

}  // namespace
