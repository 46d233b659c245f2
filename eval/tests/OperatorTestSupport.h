// Test helpers of the operator tests: operand items, hand-built postfix expressions over a variable list, and a fixture that checks the stack is left clean.
#pragma once

#include <gtest/gtest.h>

#include <deque>
#include <initializer_list>
#include <vector>

#include "EvaluateEngine.h"
#include "EvaluateErrors.h"
#include "ExpressionModel.h"
#include "StackRoutines.h"

namespace operator_test {

// Items as a compiled expression holds them.
inline EXPRESSION_ITEM Code(TExpressionItemType kind, int index, char character = '\0') {
    EXPRESSION_ITEM item = MakeItem(kind);
    item.value.code.index = index;
    item.value.code.character = character;
    return item;
}
inline EXPRESSION_ITEM Binary(int op, char character = '\0') { return Code(ekBinaryOperator, op, character); }
inline EXPRESSION_ITEM Unary(int op) { return Code(ekUnaryOperator, op); }
inline EXPRESSION_ITEM SimpleFunction(int index) { return Code(ekSimpleFunction, index); }
inline EXPRESSION_ITEM Field(int field) {
    EXPRESSION_ITEM item = MakeItem(ekFieldSelector);
    item.value.field = field;
    return item;
}
// A text constant; the expression that holds it frees the text.
inline EXPRESSION_ITEM Constant(const char* text) {
    EXPRESSION_ITEM item = MakeItem(ekOwnedText);
    item.value.text.text = new TString(text);
    return item;
}
// A variable, element or array reference (kinds 4, 23, 24, 16) by name.
inline EXPRESSION_ITEM Reference(TVariableList& list, TExpressionItemType kind, const char* name) {
    EXPRESSION_ITEM item = MakeItem(kind);
    const int position = list.GetVarIndex(name);
    item.value.variable.reference = list.V_Index(position);
    item.value.variable.absolute = list[position]->absolute;
    return item;
}

// A compiled expression made of the given items; frees itself.
class TPostfix {
public:
    TPostfix(std::initializer_list<EXPRESSION_ITEM> items) {
        expression.count = static_cast<int>(items.size());
        expression.items = new EXPRESSION_ITEM[items.size() + 1];
        int k = 0;
        for (const EXPRESSION_ITEM& item : items) expression.items[k++] = item;
    }
    ~TPostfix() { FreeExpression(expression); }
    TPostfix(const TPostfix&) = delete;
    TPostfix& operator=(const TPostfix&) = delete;
    EXPRESSION& Get() { return expression; }

private:
    EXPRESSION expression;
};

// A list with one variable of each kind, a stack, and text operands that
// live as long as the test; every test must leave the stack empty and every
// buffered text given back.
class TOperatorFixture : public ::testing::Test {
protected:
    void TearDown() override {
        EXPECT_EQ(stack.GetCount(), 0);
        EXPECT_EQ(stack.GetLentStringCount(), 0);
    }

    // A borrowed text operand (kind 19) whose text the fixture keeps.
    EXPRESSION_ITEM Text(const char* text, TExpressionItemType kind = ekBorrowedText) {
        texts.emplace_back(text);
        EXPRESSION_ITEM item = MakeItem(kind);
        item.value.text.text = &texts.back();
        return item;
    }
    static EXPRESSION_ITEM Point(int64_t x, int64_t y) {
        EXPRESSION_ITEM item = MakeItem(ekPoint);
        item.value.point = VPOINT{x, y};
        return item;
    }
    static EXPRESSION_ITEM Complex(double re, double im) {
        EXPRESSION_ITEM item = MakeItem(ekComplex);
        item.value.complex = VCOMPLEX{re, im};
        return item;
    }

    EXPRVALUE Run(TPostfix& postfix, bool check = false) {
        EvaluateErrorCode = 0;
        return EvaluateExpression(list, postfix.Get(), stack, check, nullptr);
    }

    TVariableList list;
    TEvalStack stack;
    std::deque<TString> texts;
};

}  // namespace operator_test
