// Tests of tree simplification: constant evaluation and folding, every neutral-element rule, the power rules at the root.
#include <gtest/gtest.h>

#include <cstdint>

#include "TreeSimplification.h"
#include "TreeTestSupport.h"

namespace {

class TreeSimplificationTest : public TreeTest {
protected:
    std::string Simplified(const std::string& text, bool powerRules = false) {
        TTree tree = Tree(text);
        if (!tree) return "no tree";
        TENode* root = tree.release();
        OptimizeExpressionTree(&root, powerRules);
        tree.reset(root);
        return Shape(root);
    }
};

TEST_F(TreeSimplificationTest, AppliesTheRuleTable) {
    const TTextCase cases[] = {
        // "+": 0+u, u+0; "-": u-0, but 0-u stays
        {"0+x", "x"},
        {"x+0", "x"},
        {"x+0.0", "x"},
        {"x-0", "x"},
        {"0-x", "-(0,x)"},
        // "*" and "/" by zero give the integer 0, x/0 included
        {"x*0", "0"},
        {"0*x", "0"},
        {"0/x", "0"},
        {"x/0", "0"},
        {"x*0.0", "0"},
        // ones
        {"1*x", "x"},
        {"1.0*x", "x"},
        {"x*1", "x"},
        {"x/1", "x"},
        {"1/x", "/(1,x)"},
        // powers
        {"x^0", "1"},
        {"x^0.0", "1"},
        {"x^1", "x"},
        {"1^x", "^(1,x)"},
        {"x^2", "^(x,2)"},  // the power rules are off
        // combined, bottom-up
        {"1*x+0", "x"},
        {"(x*0)+y", "y"},
        {"sin(x*1)+0", "sin(x)"},
        {"x*y", "*(x,y)"},
        {"x==0", "==(x,0)"},  // operators outside the table are left alone
    };
    for (const auto& c : cases) EXPECT_EQ(Simplified(c.text), c.expected) << c.text;
}

TEST_F(TreeSimplificationTest, FoldsConstantSubtrees) {
    const TTextCase cases[] = {
        {"2*3+x", "+(6,x)"},
        {"7/2", "3"},
        {"-7/2", "-3"},
        {"7/2.0", "3.5r"},
        {"5/0", "0"},
        {"5/0.0", "0r"},
        {"100000*100000", "10000000000"},
        {"2^0.5", "1.4142135623730951r"},
        {"2^3", "8"},
        {"2^-1", "0"},
        {"2.0^-1", "0.5r"},
        {"0*1", "0"},
        {"1*1", "1"},
        {"x*(2+3)", "*(x,5)"},
        {"sin(0)", "sin(0)"},  // functions are not evaluated
        {"sin(1+1)", "sin(2)"},
        // wrapping in 64 bits, no trap on the one quotient that overflows
        {"9223372036854775807+1", "-9223372036854775808"},
        {"-9223372036854775808-1", "9223372036854775807"},
        {"-9223372036854775808/-1", "-9223372036854775808"},
        {"4611686018427387904*4", "0"},
    };
    for (const auto& c : cases) EXPECT_EQ(Simplified(c.text), c.expected) << c.text;
}

TEST_F(TreeSimplificationTest, PowerRulesApplyAtTheRootOnly) {
    const TTextCase cases[] = {
        {"x^2", "*(x,x)"},
        {"x^2.0", "*(x,x)"},
        {"(x+y)^2", "*(+(x,y),+(x,y))"},
        {"x^-1", "/(1,x)"},
        {"x^-1.0", "/(1,x)"},
        {"x^3", "^(x,3)"},
        {"y+x^2", "+(y,^(x,2))"},
        {"sin(x^2)", "sin(^(x,2))"},
        {"x^(1+1)", "*(x,x)"},
    };
    for (const auto& c : cases) EXPECT_EQ(Simplified(c.text, true), c.expected) << c.text;
}

TEST_F(TreeSimplificationTest, PowerRuleCopyIsIndependent) {
    TTree tree = Tree("(x+y)^2");
    TENode* root = tree.release();
    OptimizeExpressionTree(&root, true);
    tree.reset(root);
    ASSERT_NE(root->left, root->right);
    delete root->left;
    root->left = NewIntNode(1);
    EXPECT_EQ(Shape(root), "*(1,+(x,y))");
}

TEST_F(TreeSimplificationTest, EvaluatesConstants) {
    TENodeConstant value;
    TTree mixed = Tree("(2+3)*4.0");
    ASSERT_TRUE(EvaluateConstantNode(mixed.get(), value));
    EXPECT_EQ(value.type, ekReal);
    EXPECT_EQ(value.real, 20.0);
    TTree integer = Tree("2*(3-10)");
    ASSERT_TRUE(EvaluateConstantNode(integer.get(), value));
    EXPECT_EQ(value.type, ekInteger);
    EXPECT_EQ(value.integer, -14);
    for (const char* text : {"x", "sin(1)", "1+x", "2==2", "'a'"}) {
        TTree tree = Tree(text);
        ASSERT_TRUE(tree) << text;
        EXPECT_FALSE(EvaluateConstantNode(tree.get(), value)) << text;
    }
    EXPECT_FALSE(EvaluateConstantNode(nullptr, value));
    TENode empty;
    EXPECT_FALSE(EvaluateConstantNode(&empty, value));
}

TEST_F(TreeSimplificationTest, FoldsOnlyConstantInnerNodes) {
    TENode* node = Tree("2*3").release();
    EXPECT_TRUE(FoldConstantNode(&node));
    EXPECT_EQ(Shape(node), "6");
    EXPECT_FALSE(FoldConstantNode(&node));  // a leaf stays
    delete node;
    node = Tree("2*x").release();
    EXPECT_FALSE(FoldConstantNode(&node));
    EXPECT_EQ(Shape(node), "*(2,x)");
    delete node;
    EXPECT_FALSE(FoldConstantNode(nullptr));
    TENode* none = nullptr;
    OptimizeExpressionTree(&none, true);
    EXPECT_EQ(none, nullptr);
    OptimizeExpressionTree(nullptr, true);
}

TEST_F(TreeSimplificationTest, ZeroAndOneTests) {
    const struct {
        uint8_t type;
        int64_t integer;
        double real;
        bool zero;
        bool one;
    } cases[] = {
        {ekInteger, 0, 5.0, true, false}, {ekInteger, 1, 0.0, false, true}, {ekReal, 1, 0.0, true, false},
        {ekReal, 0, -0.0, true, false},   {ekReal, 0, 1.0, false, true},    {ekReal, 1, 1.0000001, false, false},
    };
    for (const auto& c : cases) {
        TENodeConstant constant;
        constant.type = c.type;
        constant.integer = c.integer;
        constant.real = c.real;
        EXPECT_EQ(IsZeroConstant(constant), c.zero);
        EXPECT_EQ(IsOneConstant(constant), c.one);
    }
}

}  // namespace
