// Test helpers of the built-in function tests: compile a call against a list, run it in both passes and check the stack is left clean.
#pragma once

#include <gtest/gtest.h>

#include <string>

#include "EvaluateEngine.h"
#include "EvaluateErrors.h"
#include "ExpressionCompiler.h"
#include "FunctionTable.h"

namespace builtin_test {

class BuiltinTest : public ::testing::Test {
protected:
    // Compiles text and evaluates it in the check pass, then the run pass;
    // after each the stack holds nothing and lends no text. A text that does
    // not compile gives kind 0.
    EXPRVALUE Run(const std::string& text) {
        EXPRESSION e = CreateExpression(list, text.c_str());
        if (e.count < 0) return EXPRVALUE{ekNone, {}, TString(), {-1, -1, -1, -1}};
        EvaluateExpression(list, e, stack, true, nullptr);
        ExpectCleanStack(text);
        EXPRVALUE value = EvaluateExpression(list, e, stack, false, nullptr);
        ExpectCleanStack(text);
        FreeExpression(e);
        return value;
    }
    int64_t Integer(const std::string& text) {
        const EXPRVALUE v = Run(text);
        EXPECT_EQ(v.kind, ekInteger) << text;
        return v.value.integer;
    }
    double Real(const std::string& text) {
        const EXPRVALUE v = Run(text);
        EXPECT_EQ(v.kind, ekReal) << text;
        return v.value.real;
    }
    std::string Text(const std::string& text) {
        const EXPRVALUE v = Run(text);
        EXPECT_EQ(v.kind, ekOwnedText) << text;
        return v.text.c_str();
    }
    void ExpectCleanStack(const std::string& text) {
        EXPECT_EQ(stack.GetCount(), 0) << text;
        EXPECT_EQ(stack.GetLentStringCount(), 0) << text;
    }

    TVariableList list;
    TEvalStack stack;
};

}  // namespace builtin_test
