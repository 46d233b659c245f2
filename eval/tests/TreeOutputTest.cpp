// Tests of tree output: exact infix texts, the compile-back property on random trees, exact MathML lines and failures.
#include <gtest/gtest.h>

#include <cfloat>
#include <cmath>
#include <limits>
#include <random>
#include <vector>

#include "TreeOutput.h"
#include "TreeTestSupport.h"

namespace {

class TreeOutputTest : public TreeTest {
protected:
    std::string InfixOf(const std::string& text) {
        TTree tree = Tree(text);
        if (!tree) return "no tree";
        return CreateInfixExpression(list, tree.get()).str();
    }
    std::vector<std::string> MathMLOf(const TENode* node, int& result) {
        TStringContainer lines;
        result = CreateMathMLExpression(list, node, lines);
        std::vector<std::string> out;
        for (int k = 0; k < lines.GetCount(); ++k) out.push_back(lines[k].str());
        return out;
    }
    std::vector<std::string> MathMLOf(const std::string& text) {
        TTree tree = Tree(text);
        int result = 0;
        std::vector<std::string> lines = MathMLOf(tree.get(), result);
        EXPECT_EQ(result, 0) << text;
        return lines;
    }
};

TEST_F(TreeOutputTest, InfixTextsAreExact) {
    const TTextCase cases[] = {
        {"pow(x,2)", "pow(x,2)"},
        {"x^(y^z)", "x^(y^z)"},
        {"(x^y)^z", "(x^y)^z"},
        {"(x+1)*y", "(x+1)*y"},
        {"x*y+z", "x*y+z"},
        {"x+y*z", "x+y*z"},
        {"x-y-z", "x-y-z"},
        {"x-(y-z)", "x-(y-z)"},
        {"x-(y+z)", "x-(y+z)"},
        {"x/(y*z)", "x/(y*z)"},
        {"x*(y/z)", "x*(y/z)"},
        {"x/y*z", "x/y*z"},
        {"sin(x+y)*2", "sin(x+y)*2"},
        {"logn(2,x)", "logn(2,x)"},
        {"x==1", "x==1"},
        {"x * -1", "x*-1"},
        {"x - -1", "x--1"},
        {"2.5*x", "2.5*x"},
        {"2.0*x", "2.0*x"},
        {"-0.25", "-0.25"},
        {"'abc'", ""},
    };
    for (const auto& c : cases) EXPECT_EQ(InfixOf(c.text), c.expected) << c.text;
    EXPECT_EQ(CreateInfixExpression(list, nullptr).str(), "");
}

TEST_F(TreeOutputTest, InfixNumbersReadBack) {
    const struct {
        double value;
        const char* text;
    } cases[] = {
        {3.0, "3.0"},
        {-0.5, "-0.5"},
        {0.1, "0.1"},
        {1e20, "100000000000000000000.0"},
        {std::numeric_limits<double>::quiet_NaN(), "0.0"},
    };
    for (const auto& c : cases) {
        TTree leaf(NewDoubleNode(c.value));
        EXPECT_EQ(CreateInfixExpression(list, leaf.get()).str(), c.text);
    }
    TTree infinite(NewDoubleNode(-std::numeric_limits<double>::infinity()));
    const std::string text = CreateInfixExpression(list, infinite.get()).str();
    EXPECT_EQ(text, "-" + TString(DBL_MAX).str() + ".0");
    EXPECT_EQ(TString(DBL_MAX).str().find('e'), std::string::npos);
}

// Random trees of + - * / ^ and simple functions.
class RandomTreeMaker {
public:
    explicit RandomTreeMaker(unsigned seed) : random(seed) {}

    TENode* Make(int depth) {
        const int choice = Pick(depth <= 0 ? 3 : 10);
        if (choice < 3) return Leaf(choice);
        if (choice < 8) return Binary(Pick(5), depth);
        static const int functions[] = {0, 1, 2, 3, 5, 8, 12, 13, 23, 26};
        const int function = functions[Pick(10)];
        TENode* node = NewFunctionNode(function);
        node->left = Make(depth - 1);
        if (GetSimpleFunctionInfo(function)->operands == 2) node->right = Make(depth - 1);
        return node;
    }

private:
    int Pick(int n) { return std::uniform_int_distribution<int>(0, n - 1)(random); }

    TENode* Leaf(int choice) {
        if (choice == 0) return NewIntNode(std::uniform_int_distribution<int>(-1000, 1000)(random));
        if (choice == 1) {
            const double magnitude = std::pow(10.0, Pick(9) - 4);
            return NewDoubleNode(std::uniform_real_distribution<double>(-magnitude, magnitude)(random));
        }
        TENode* variable = new TENode;
        variable->kind = nkLeaf;
        variable->item = MakeItem(ekVariable);
        variable->item.value.variable.reference = Pick(3);  // x, y or z
        variable->item.value.variable.absolute = true;
        return variable;
    }

    TENode* Binary(int op, int depth) {
        TENode* node = NewOperatorNode(op);
        node->left = Make(depth - 1);
        node->right = Make(depth - 1);
        return node;
    }

    std::mt19937 random;
};

// Same structure and items; reals within the compiler's reading precision.
::testing::AssertionResult SameTree(TVariableList& list, const TENode* a, const TENode* b) {
    if (a == nullptr || b == nullptr)
        return a == b ? ::testing::AssertionSuccess() : ::testing::AssertionFailure() << "missing node";
    if (a->kind != b->kind || a->item.kind != b->item.kind) return ::testing::AssertionFailure() << "kinds differ";
    switch (a->item.kind) {
        case ekInteger:
            if (a->item.value.integer != b->item.value.integer) return ::testing::AssertionFailure() << "integers differ";
            break;
        case ekReal: {
            const double x = a->item.value.real, y = b->item.value.real;
            if (std::fabs(x - y) > 1e-13 * std::fabs(x)) return ::testing::AssertionFailure() << x << " read as " << y;
            break;
        }
        case ekVariable:
            if (list.V_Index(a->item.value.variable.reference, a->item.value.variable.absolute) !=
                list.V_Index(b->item.value.variable.reference, b->item.value.variable.absolute))
                return ::testing::AssertionFailure() << "variables differ";
            break;
        default:
            if (a->item.value.code.index != b->item.value.code.index)
                return ::testing::AssertionFailure() << "operators differ";
    }
    ::testing::AssertionResult left = SameTree(list, a->left, b->left);
    return left ? SameTree(list, a->right, b->right) : left;
}

TEST_F(TreeOutputTest, RandomTreesCompileBackToTheSameTree) {
    RandomTreeMaker maker(20261210);
    for (int round = 0; round < 400; ++round) {
        TTree original(maker.Make(1 + round % 6));
        const TString infix = CreateInfixExpression(list, original.get());
        EXPRESSION compiled = CreateExpression(list, infix);
        ASSERT_GE(compiled.count, 1) << infix.str();
        TTree back(CreateExpressionTree(compiled));
        FreeExpression(compiled);
        EXPECT_TRUE(SameTree(list, original.get(), back.get())) << infix.str();
    }
}

TEST_F(TreeOutputTest, MathMLOfTheWorkedExample) {
    const std::vector<std::string> expected = {
        "<apply>", "  <plus/>", "  <apply>", "    <sin/>", "      <ci>x</ci>", "  </apply>",
        "  <cn type=\"integer\">2</cn>", "</apply>",
    };
    EXPECT_EQ(MathMLOf("sin(x)+2"), expected);
}

TEST_F(TreeOutputTest, MathMLLinesAreExact) {
    const struct {
        const char* text;
        std::vector<std::string> lines;
    } cases[] = {
        {"x==1", {"<apply>", "  <eq/>", "  <ci>x</ci>", "  <cn type=\"integer\">1</cn>", "</apply>"}},
        {"log10(x)", {"<apply>", "  <log/>", "  <logbase>", "    10", "  </logbase>", "    <ci>x</ci>", "</apply>"}},
        {"log2(n)", {"<apply>", "  <log/>", "  <logbase>", "    2", "  </logbase>", "    <ci>n</ci>", "</apply>"}},
        {"logn(2,x)",
         {"<apply>", "  <log/>", "  <logbase>", "    <cn type=\"integer\">2</cn>", "  </logbase>", "    <ci>x</ci>",
          "</apply>"}},
        {"pow(x,2.5)", {"<apply>", "  <power/>", "    <ci>x</ci>", "    <cn type=\"real\">2.5</cn>", "</apply>"}},
        {"x^y-n%3",
         {"<apply>", "  <minus/>", "  <apply>", "    <power/>", "    <ci>x</ci>", "    <ci>y</ci>", "  </apply>",
          "  <apply>", "    <rem/>", "    <ci>n</ci>", "    <cn type=\"integer\">3</cn>", "  </apply>", "</apply>"}},
        {"7", {"<cn type=\"integer\">7</cn>"}},
        {"'abc'", {}},
    };
    for (const auto& c : cases) EXPECT_EQ(MathMLOf(c.text), c.lines) << c.text;
}

TEST_F(TreeOutputTest, MathMLOfComplexConstant) {
    TTree leaf(new TENode);
    leaf->kind = nkLeaf;
    leaf->item = MakeItem(ekComplex);
    leaf->item.value.complex = VCOMPLEX{1.5, -2.0};
    int result = -2;
    EXPECT_EQ(MathMLOf(leaf.get(), result),
              std::vector<std::string>{"<cn type=\"complex-cartesian\">1.5<sep/>-2</cn>"});
    EXPECT_EQ(result, 0);
}

TEST_F(TreeOutputTest, MathMLFailureEmptiesTheList) {
    for (const char* text : {"n|1", "s", "sqrt(x)+1", "x*2+s"}) {
        TTree tree = Tree(text);
        ASSERT_TRUE(tree) << text;
        TStringContainer lines;
        lines.Add("held before");
        EXPECT_EQ(CreateMathMLExpression(list, tree.get(), lines), -1) << text;
        EXPECT_EQ(lines.GetCount(), 0) << text;
    }
    TStringContainer lines;
    lines.Add("kept");
    EXPECT_EQ(CreateMathMLExpression(list, nullptr, lines), 0);
    EXPECT_EQ(lines.GetCount(), 1);
}

}  // namespace
