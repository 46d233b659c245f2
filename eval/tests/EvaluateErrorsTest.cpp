// Tests of the evaluation error texts and the per-thread error code.
#include <gtest/gtest.h>

#include <thread>

#include "EvaluateErrors.h"

namespace {

TEST(EvaluateErrorsTest, TextsOfTheCodes) {
    const struct {
        int code;
        const char* text;
    } cases[] = {
        {0, "Constant at wrong place"},
        {11, "Unkown error"},
        {17, "Unknown symbol"},
        {20, "Missing variable (reference)"},
        {28, "The array doesn't exist"},
        {29, "The array dimension is wrong"},
        {30, "Unkown error"},
        {-2, "Unkown error"},
        {255, "Unkown error"},
    };
    for (const auto& c : cases) EXPECT_STREQ(EvaluateErrorMessage(c.code), c.text) << c.code;
}

TEST(EvaluateErrorsTest, MinusOneReadsThisThreadsCode) {
    EvaluateErrorCode = eeUnclosedExpression;
    EXPECT_STREQ(EvaluateErrorMessage(-1), "Unclosed expression");
    std::thread other([] {
        EXPECT_EQ(EvaluateErrorCode, 0);
        EvaluateErrorCode = eeWrongStruct;
        EvaluateErrorPos = 12;
    });
    other.join();
    EXPECT_EQ(EvaluateErrorCode, eeUnclosedExpression);
    EvaluateErrorCode = -7;
    EXPECT_STREQ(EvaluateErrorMessage(-1), "Unkown error");
}

}  // namespace
