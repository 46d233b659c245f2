// Tests of symbolic derivation: derivability, every rule's exact tree, the derive built-in and numeric agreement.
#include <gtest/gtest.h>

#include <cmath>
#include <thread>
#include <vector>

#include "Derivation.h"
#include "EvaluateEngine.h"
#include "TreeOutput.h"
#include "TreeSimplification.h"
#include "TreeTestSupport.h"

namespace {

std::string R(double value) { return TString(value).str() + "r"; }

class DerivationTest : public TreeTest {
protected:
    // The derivative by x, not simplified.
    std::string Derived(const std::string& text) {
        TTree tree = Tree(text);
        if (!tree) return "no tree";
        TTree derivative(DeriveExpressionTree(list, tree.get(), Position("x")));
        return Shape(derivative.get());
    }
    std::string Evaluated(const std::string& text) {
        EXPRESSION e = CreateExpression(list, TString(text));
        if (e.count < 0) return "no expression";
        const EXPRVALUE value = EvaluateExpression(list, e, false, nullptr);
        FreeExpression(e);
        return FormatResult(value, false).str();
    }
};

TEST_F(DerivationTest, DerivabilityOfTrees) {
    for (const char* text : {"x", "5", "'abc'", "x*x-y/z^2", "sin(x)+cos(x)*tan(x)", "pow(x,2)", "abs(x)", "root(x,3)",
                             "logn(2,x)", "asin(x)+acos(x)+atan(x)", "exp(ln(x))", "sqr(sqrt(x))", "log2(x)+log10(x)"})
        EXPECT_TRUE(IsDerivable(Tree(text).get())) << text;
    for (const char* text : {"x==1", "floor(x)", "atan2(x,y)", "x+sinh(x)", "strlen(s)+x", "!n", "x%2"})
        EXPECT_FALSE(IsDerivable(Tree(text).get())) << text;
    EXPECT_FALSE(IsDerivable(nullptr));
    TENode empty;
    EXPECT_FALSE(IsDerivable(&empty));
    TTree halfPlus(NewOperatorNode(0));  // "+" with one operand
    halfPlus->left = NewIntNode(1);
    EXPECT_FALSE(IsDerivable(halfPlus.get()));
}

TEST_F(DerivationTest, EveryRuleGivesItsTree) {
    const std::string lnTwo = R(std::log(2.0));
    const TTextCase cases[] = {
        {"5", "0"},
        {"2.5", "0"},
        {"x", "1"},
        {"y", "0"},
        {"x+y", "+(1,0)"},
        {"x-y", "-(1,0)"},
        {"x*x", "+(*(1,x),*(x,1))"},
        {"x/y", "/(-(*(1,y),*(x,0)),*(y,y))"},
        {"x/(2*2)", "/(-(*(1,4r),*(x,+(*(0,2),*(2,0)))),*(4r,4r))"},
        {"x^3", "*(*(3,^(x,2)),1)"},
        {"x^2.5", "*(*(2.5r,^(x,1.5r)),1)"},
        {"x^(1+1)", "*(*(2,^(x,1)),1)"},
        {"2^x", "*(^(2,x)," + lnTwo + ")"},
        {"(1+1)^x", "*(^(2,x)," + lnTwo + ")"},
        {"2^(x*x)", "*(*(^(2,*(x,x))," + lnTwo + "),+(*(1,x),*(x,1)))"},
        {"x^x", "*(^(x,x),+(*(1,ln(x)),*(/(x,x),1)))"},
        {"pow(x,3)", "*(*(3,^(x,2)),1)"},
        {"pow(2,x)", "*(^(2,x)," + lnTwo + ")"},
        {"sin(x*x)", "*(cos(*(x,x)),+(*(1,x),*(x,1)))"},
        {"cos(x)", "*(*(-1,sin(x)),1)"},
        {"tan(x)", "*(+(1,^(tan(x),2)),1)"},
        {"ln(x)", "*(/(1r,x),1)"},
        {"log2(x)", "*(/(" + R(1.0 / std::log(2.0)) + ",x),1)"},
        {"log10(x)", "*(/(" + R(1.0 / std::log(10.0)) + ",x),1)"},
        {"sqr(x)", "*(*(x,2),1)"},
        {"sqrt(x)", "*(*(0.5r,^(x,-0.5r)),1)"},
        {"exp(x)", "*(exp(x),1)"},
        {"asin(x)", "/(1,sqrt(-(1,^(x,2))))"},
        {"acos(x)", "*(-1,/(1,sqrt(-(1,^(x,2)))))"},
        {"atan(x)", "/(1,+(1,^(x,2)))"},
        {"abs(x)", "*(sgn(x),1)"},
        {"root(x,4)", "*(*(0.25r,^(x,-0.75r)),1)"},
        {"root(x,0)", "0"},
        {"root(x,y)", "*(exp(/(ln(x),y)),/(-(*(*(/(1r,x),1),y),*(ln(x),0)),*(y,y)))"},
        {"logn(2,x)", "/(1,*(x,ln(2)))"},
        {"logn(y,x)", "/(-(*(*(/(1r,x),1),ln(y)),*(ln(x),*(/(1r,y),0))),*(ln(y),ln(y)))"},
        {"'abc'", "<>"},
        {"x==1", "null"},
    };
    for (const auto& c : cases) EXPECT_EQ(Derived(c.text), c.expected) << c.text;
}

TEST_F(DerivationTest, InputTreeStaysUnchanged) {
    TTree tree = Tree("x^x*sin(x)/y");
    const std::string before = Shape(tree.get());
    TTree derivative(DeriveExpressionTree(list, tree.get(), Position("x")));
    tree.reset();  // the derivative holds copies only
    EXPECT_EQ(Shape(derivative.get()).substr(0, 2), "/(");
    EXPECT_EQ(before, "/(*(^(x,x),sin(x)),y)");
}

TEST_F(DerivationTest, SimplifiedDerivativeOfSquare) {
    TTree tree = Tree("x*x");
    TENode* derivative = DeriveExpressionTree(list, tree.get(), Position("x"));
    OptimizeExpressionTree(&derivative, false);
    EXPECT_EQ(Shape(derivative), "+(x,x)");
    delete derivative;
}

TEST_F(DerivationTest, DeriveBuiltinGivesInfixText) {
    const TTextCase cases[] = {
        {"derive([[x*x]], x)", "x+x"},
        {"derive([[sin(x)]], x)", "cos(x)"},
        {"derive([[x^3]], x)", "3*x^2"},
        {"derive([[y*x]], x)", "y"},
        {"derive([[y*x]], y)", "x"},
        {"derive([[ln(x)]], x)", "1.0/x"},
        {"derive([[5]], x)", "0"},
        {"derive([[x/4]], x)", "4.0/16.0"},  // one pass: the root is not folded again
        {"derive([[x==1]], x)", ""},
        {"derive([[floor(x)]], x)", ""},
        {"derive([['abc']], x)", ""},
        {"derive([[strlen(s)*x]], x)", ""},
    };
    for (const auto& c : cases) EXPECT_EQ(Evaluated(c.text), c.expected) << c.text;
}

TEST_F(DerivationTest, DeriveBuiltinRefusesHugeInputs) {
    std::string sum = "x", product = "x";
    for (int k = 0; k < 900; ++k) sum += "+x";
    for (int k = 0; k < 1200; ++k) product += "*x";
    EXPECT_EQ(Evaluated("derive([[" + sum + "]], x)"), "901");  // a sum copies nothing
    EXPECT_EQ(Evaluated("derive([[" + product + "]], x)"), "");
    EXPECT_EQ(Evaluated("derive([[" + sum + "+x*x]], x)"), "901+(x+x)");
    EXPECT_EQ(Evaluated("derive([[" + sum + "+" + sum + "]], x)"), "");  // deeper than the limit
}

// Derivation, simplification and output keep no shared state: threads may
// work on their own trees at once and get what one thread alone gets.
TEST_F(DerivationTest, ThreadsDeriveAtTheSameTime) {
    const char* const texts[] = {"x^x*sin(x)", "log10(x)/(x+1)", "pow(x,3)+exp(x*x)", "atan(x)^2"};
    std::vector<TTree> trees;
    std::vector<std::string> infix, mathml;
    const int variable = Position("x");
    auto work = [this, variable](const TENode* tree, std::string& text, std::string& markup) {
        TENode* derivative = DeriveExpressionTree(list, tree, variable);
        OptimizeExpressionTree(&derivative, true);
        text = CreateInfixExpression(list, derivative).str();
        TStringContainer lines;
        markup = CreateMathMLExpression(list, derivative, lines) == 0 ? std::to_string(lines.GetCount()) : "failed";
        for (int k = 0; k < lines.GetCount(); ++k) markup += "|" + lines[k].str();
        delete derivative;
    };
    for (const char* text : texts) {
        trees.push_back(Tree(text));
        infix.emplace_back();
        mathml.emplace_back();
        work(trees.back().get(), infix.back(), mathml.back());
    }
    std::vector<std::thread> threads;
    std::vector<int> mismatches(4, 0);
    for (int t = 0; t < 4; ++t) {
        threads.emplace_back([&, t] {
            for (int round = 0; round < 200; ++round) {
                const size_t k = static_cast<size_t>((t + round) % 4);
                std::string text, markup;
                work(trees[k].get(), text, markup);
                if (text != infix[k] || markup != mathml[k]) ++mismatches[static_cast<size_t>(t)];
            }
        });
    }
    for (std::thread& thread : threads) thread.join();
    EXPECT_EQ(mismatches, std::vector<int>(4, 0));
}

double ValueOf(TVariableList& list, EXPRESSION& e) {
    const EXPRVALUE value = EvaluateExpression(list, e, false, nullptr);
    return value.kind == ekInteger ? static_cast<double>(value.value.integer) : value.value.real;
}

TEST_F(DerivationTest, DerivativesAgreeWithCentralDifferences) {
    const char* const corpus[] = {
        "x*x", "x^3", "x^2.5", "2^x", "2^(x*x)", "x^x", "sin(x*x)", "cos(3*x)", "tan(x)", "ln(x)",
        "log2(x*x+1)", "log10(x+2)", "sqr(sin(x))", "sqrt(x+1)", "exp(2*x)", "asin(x)", "acos(x)", "atan(x*x)",
        "pow(x,3)", "pow(2,x)", "pow(x,x)", "root(x,3)", "root(x+1,x+2)", "logn(2,x)", "logn(x+2,x*x+1)",
        "x/(1+x*x)", "(x+1)/(x-2)", "sin(x)*cos(x)", "exp(sin(x))", "ln(1+x^2)", "x*exp(0-x)", "sqrt(1-x*x)",
        "x^2*sin(x)", "1/x", "1/(x*x)", "(x^3-2*x)/(x+3)", "sin(x)^2+cos(x)^2", "tan(2*x+1)", "atan(1/x)",
        "exp(x)*ln(x)", "x^0.5+x^1.5", "(2*x+1)^4", "pow(sin(x),2)", "sqrt(x)*sqrt(x+1)", "ln(sqrt(x))",
        "exp(exp(x/4))", "asin(x/2)+acos(x/3)", "x^(1/3.0)", "sqr(x)-3*x+7", "log10(x)*log2(x)+y*x",
    };
    static_assert(sizeof(corpus) / sizeof(corpus[0]) == 50, "fifty expressions");
    TVariable* x = list.GetVar("x");
    const double h = 1e-5;
    for (const char* text : corpus) {
        EXPRESSION function = CreateExpression(list, TString(text));
        ASSERT_GE(function.count, 1) << text;
        const std::string derived = Evaluated(std::string("derive([[") + text + "]], x)");
        ASSERT_FALSE(derived.empty()) << text;
        EXPRESSION derivative = CreateExpression(list, TString(derived));
        ASSERT_GE(derivative.count, 1) << text << " -> " << derived;
        for (double point : {0.3, 0.55, 0.8}) {
            x->value.d = point + h;
            const double above = ValueOf(list, function);
            x->value.d = point - h;
            const double below = ValueOf(list, function);
            x->value.d = point;
            const double expected = (above - below) / (2 * h);
            const double actual = ValueOf(list, derivative);
            EXPECT_NEAR(actual, expected, 1e-6 * (1 + std::fabs(expected))) << text << " -> " << derived << " at " << point;
        }
        FreeExpression(derivative);
        FreeExpression(function);
    }
}

}  // namespace
