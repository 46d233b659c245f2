// Tests of the compiled expression model: name tables, freeing and copying expressions, the compiler's item list.
#include <gtest/gtest.h>

#include "ExpressionModel.h"

namespace {

// An expression of a string constant and a sub-expression holding another string.
EXPRESSION TextAndNested() {
    EXPRESSION inner;
    inner.count = 1;
    inner.items = new EXPRESSION_ITEM[2];
    inner.items[0] = MakeItem(ekOwnedText);
    inner.items[0].value.text.text = new TString("inner");
    EXPRESSION e;
    e.count = 2;
    e.items = new EXPRESSION_ITEM[3];
    e.items[0] = MakeItem(ekOwnedText);
    e.items[0].value.text.text = new TString("outer");
    e.items[0].listCount = 2;
    e.items[0].list = new int32_t[2]{7, 9};
    e.items[1] = MakeItem(ekSubExpression);
    e.items[1].value.expression = new EXPRESSION(inner);
    return e;
}

TEST(ExpressionModelTest, OperatorAndFunctionNames) {
    EXPECT_EQ(GetOperatorString(0), TString("+"));
    EXPECT_EQ(GetOperatorString(33), TString("^="));
    EXPECT_EQ(GetOperatorString(34), TString(""));
    EXPECT_EQ(GetOperatorString(-1), TString(""));
    EXPECT_STREQ(GetOperatorName(28), "#.#");
    for (int i : {34, 35, 36, -5}) EXPECT_EQ(GetOperatorLevel(i), 10) << i;
    EXPECT_EQ(GetOperatorLevel(4), 50);
    EXPECT_EQ(GetOperatorLevel(20), 5);
    EXPECT_TRUE(GetOperatorInfo(4)->right);
    EXPECT_TRUE(GetOperatorInfo(33)->right);
    EXPECT_FALSE(GetOperatorInfo(0)->right);
    EXPECT_EQ(GetOperatorInfo(5)->operands, 1);
    EXPECT_EQ(GetFunctionString(30), TString("atan2"));
    EXPECT_EQ(GetFunctionString(31), TString(""));
    EXPECT_STREQ(GetFunctionName(21), "to_deg");
    EXPECT_EQ(GetSimpleFunctionInfo(8)->operands, 2);
    EXPECT_STREQ(GetSimpleFunctionInfo(8)->mathML, "<log/>");
    EXPECT_EQ(GetSimpleFunctionInfo(6)->mathML, nullptr);
}

TEST(ExpressionModelTest, DuplicateIsIndependentOfTheSource) {
    EXPRESSION source = TextAndNested();
    EXPRESSION copy = DuplicateExpression(source);
    ASSERT_EQ(copy.count, 2);
    EXPECT_NE(copy.items[0].value.text.text, source.items[0].value.text.text);
    EXPECT_NE(copy.items[0].list, source.items[0].list);
    EXPECT_NE(copy.items[1].value.expression, source.items[1].value.expression);
    FreeExpression(source);
    EXPECT_EQ(*copy.items[0].value.text.text, TString("outer"));
    EXPECT_EQ(copy.items[0].list[1], 9);
    const EXPRESSION& nested = *copy.items[1].value.expression;
    ASSERT_EQ(nested.count, 1);
    EXPECT_EQ(*nested.items[0].value.text.text, TString("inner"));
    FreeExpression(copy);
}

TEST(ExpressionModelTest, FreeingUncompiledOrEmptyDoesNothing) {
    EXPRESSION uncompiled;
    FreeExpression(uncompiled);
    EXPECT_EQ(uncompiled.count, -1);
    EXPRESSION empty{0, nullptr};
    FreeExpression(empty);
    EXPRESSION copy = DuplicateExpression(uncompiled);
    EXPECT_EQ(copy.count, -1);
    EXPECT_EQ(copy.items, nullptr);
}

TEST(ExpressionItemListTest, StackOperationsAtTheEnd) {
    TExpressionItemList list;
    EXPECT_EQ(list.LastItem(), nullptr);
    EXPECT_EQ(list.SecondToLast(), nullptr);
    EXPECT_EQ(list.PopItem().kind, ekNone);
    list.PushNew(ekLeftParenthesis);
    EXPECT_EQ(list.SecondToLast(), nullptr);
    EXPRESSION_ITEM number = MakeIntegerItem(42);
    list.PushCopy(number);
    EXPECT_EQ(list.SecondToLast()->kind, ekLeftParenthesis);
    EXPECT_EQ(list.ItemAt(1)->value.integer, 42);
    EXPECT_EQ(list.ItemAt(2), nullptr);
    EXPECT_EQ(list.ItemAt(-1), nullptr);
    EXPRESSION_ITEM popped = list.PopItem();
    EXPECT_EQ(popped.value.integer, 42);
    EXPECT_EQ(list.GetCount(), 1);
}

TEST(ExpressionItemListTest, PushCopyGivesOwnTextAndDeletingKeepsIt) {
    TExpressionItemList list;
    TString original("abc");
    EXPRESSION_ITEM text = MakeItem(ekOwnedText);
    text.value.text.text = &original;
    EXPRESSION_ITEM* record = list.PushCopy(text);
    ASSERT_NE(record->value.text.text, &original);
    TString* copied = record->value.text.text;
    EXPECT_EQ(*copied, original);
    // Popping deletes the record, never the text: the popped copy now owns it.
    EXPRESSION_ITEM popped = list.PopItem();
    EXPECT_EQ(popped.value.text.text, copied);
    EXPECT_EQ(*popped.value.text.text, TString("abc"));
    delete popped.value.text.text;
    EXPRESSION_ITEM* fresh = list.PushNew(ekOwnedText);
    ASSERT_NE(fresh->value.text.text, nullptr);
    EXPECT_TRUE(fresh->value.text.text->IsEmpty());
    delete fresh->value.text.text;
}

}  // namespace
