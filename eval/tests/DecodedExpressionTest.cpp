// Tests of the evaluation fast paths: the decoded form (folded, bound, specialised) gives exactly what the loop gives, impure calls run every time, and the compiled expression stays as written; the loop's in-place number operators match the operator unit.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <functional>
#include <limits>
#include <new>
#include <set>
#include <string>
#include <thread>
#include <vector>

#include "BinaryOperators.h"
#include "DecodedExpression.h"
#include "EvaluateEngine.h"
#include "EvaluateErrors.h"
#include "EvaluationLoop.h"
#include "ExpressionCompiler.h"
#include "ExpressionStorage.h"
#include "ExpressionTree.h"
#include "ExtensionHooks.h"
#include "FunctionTable.h"
#include "TestArrays.h"
#include "TreeOutput.h"

namespace {

void ExpectSameResult(const EXPRVALUE& a, const EXPRVALUE& b, const std::string& what) {
    EXPECT_EQ(a.kind, b.kind) << what;
    EXPECT_EQ(std::memcmp(&a.value, &b.value, sizeof a.value), 0) << what;
    EXPECT_EQ(a.ref.index, b.ref.index) << what;
    EXPECT_EQ(a.ref.index1, b.ref.index1) << what;
    EXPECT_EQ(a.ref.index2, b.ref.index2) << what;
    EXPECT_EQ(a.ref.field, b.ref.field) << what;
    EXPECT_EQ(a.text, b.text) << what;
}

int assignmentsHeard = 0;
void HearAssignment(TVariableList&, const VARINFO&, TVariable::TListenAction) { ++assignmentsHeard; }

// Moves an integer variable on, wrapping as the evaluator's integers do
// (assignments may have left it at an end of the range).
void Step(int64_t& value, int64_t by) { value = static_cast<int64_t>(static_cast<uint64_t>(value) + static_cast<uint64_t>(by)); }

// The variables every differential case reads; two lists are filled alike.
void Fill(TVariableList& list) {
    list.NewDouble("a", false, 0.75);
    list.NewDouble("b", false, -2.5);
    list.NewInt("i", false, 17);
    list.NewInt("j", false, -4);
    list.NewPoint("p", false);
    list.NewString("s", false, "text");
    AddTestArrays(list);
    list.NewDouble("heard", false, 1.0);
    list.GetVar("heard")->AddListener(HearAssignment);
    list.NewArray("hv", vtInt, false);
    list.ResizeArray("hv", 3);
    list.GetVar("hv")->AddListener(HearAssignment);
    list.NewInt("big", false, INT64_MAX);
    list.NewInt("small", false, INT64_MIN);
    for (const char* name : {"c", "d", "x", "y", "z"}) list.NewDouble(name, false, 1.25);
}

// The variables of two lists as text, to compare what evaluations left.
std::string Contents(const TVariableList& list) {
    std::string text;
    for (int k = 0; k < list.GetCount(); ++k) {
        text += GetVariableAsString(list[k], false).c_str();
        text += ';';
    }
    return text;
}

// One expression evaluated by the loop on the first list and by its decoded
// form on the second, a few times with variables moved in between: every
// result, kind, reference, text and error code agrees, and so do the lists.
class DifferentialTest : public ::testing::Test {
protected:
    void SetUp() override {
        Fill(loopList);
        Fill(formList);
    }

    // Returns whether the form was usable. Texts of generated cases may be
    // ones the compiler refuses (a bit operator on a real).
    bool Compare(const std::string& text, int rounds = 3, bool generated = false) {
        EXPRESSION e = CreateExpression(loopList, TString(text));
        if (!generated) {
            EXPECT_GE(e.count, 1) << text << ": code " << int(EvaluateErrorCode);
        }
        if (e.count < 1) return false;
        TDecodedExpression form(e, formList, formStack);
        for (int round = 0; round < rounds; ++round) {
            const std::string what = text + " round " + std::to_string(round);
            EXPRVALUE byLoop;
            EXPRVALUE byForm;
            std::srand(7);
            EvaluateErrorCode = 99;
            const int heard = assignmentsHeard;
            EvaluateByLoop(loopList, e, loopStack, byLoop, false, nullptr);
            const int8_t loopCode = EvaluateErrorCode;
            const int loopHeard = assignmentsHeard - heard;
            std::srand(7);
            EvaluateErrorCode = 99;
            if (form.Run(formList, e, formStack, byForm, nullptr) != TDecodedExpression::Done)
                EvaluateByLoop(formList, e, formStack, byForm, false, nullptr);
            EXPECT_EQ(EvaluateErrorCode, loopCode) << what;
            EXPECT_EQ(assignmentsHeard - heard - loopHeard, loopHeard) << what;
            ExpectSameResult(byForm, byLoop, what);
            EXPECT_EQ(Contents(formList), Contents(loopList)) << what;
            if (form.Straight()) CompareStraight(form, e, what);
            EXPECT_EQ(formStack.GetCount(), 0) << what;
            EXPECT_EQ(loopStack.GetCount(), 0) << what;
            for (TVariableList* list : {&loopList, &formList}) {
                list->GetVar("a")->value.d += 0.375;
                Step(list->GetVar("i")->value.i, 3);
            }
        }
        const bool usable = form.Usable();
        straight += form.Straight() ? 1 : 0;
        FreeExpression(e);
        return usable;
    }

    // The straight form gives what the loop gives, whole and as its value
    // alone over a result that held a text, run after run with other
    // values; the loop runs beside it on its own list, so that assignments
    // leave both lists alike.
    void CompareStraight(TDecodedExpression& form, EXPRESSION& e, const std::string& what) {
        for (const bool valueOnly : {false, true, false}) {
            // Values the general run left in the registers are no longer the ones.
            for (TVariableList* list : {&loopList, &formList}) {
                Step(list->GetVar("i")->value.i, -5);
                Step(list->GetVar("j")->value.i, 1);
                list->GetVar("b")->value.d = 0.125 - list->GetVar("b")->value.d;
            }
            EXPRVALUE byLoop;
            EvaluateErrorCode = 99;
            const int heard = assignmentsHeard;
            EvaluateByLoop(loopList, e, loopStack, byLoop, false, nullptr);
            const int8_t loopCode = EvaluateErrorCode;
            const int loopHeard = assignmentsHeard - heard;
            EXPRVALUE out;
            out.kind = ekOwnedText;
            out.text = "left over";
            out.ref = VARINFO{7, 7, 7, 7};
            EvaluateErrorCode = 99;
            if (valueOnly)
                form.EvaluateValue(formList, e, formStack, out, nullptr);
            else
                form.Evaluate(formList, e, formStack, out, nullptr);
            const std::string how = what + (valueOnly ? " straight value" : " straight");
            EXPECT_EQ(EvaluateErrorCode, loopCode) << how;
            EXPECT_EQ(assignmentsHeard - heard - loopHeard, loopHeard) << how;
            if (valueOnly) {
                EXPECT_EQ(out.kind, byLoop.kind) << how;
                EXPECT_EQ(std::memcmp(&out.value, &byLoop.value, sizeof out.value), 0) << how;
            } else {
                ExpectSameResult(out, byLoop, how);
            }
            EXPECT_EQ(Contents(formList), Contents(loopList)) << how;
        }
    }

    TVariableList loopList;
    TVariableList formList;
    TEvalStack loopStack;
    TEvalStack formStack;
    int straight = 0;  // forms compared that were straight
};

TEST_F(DifferentialTest, StraightFormsAreTaken) {
    const char* const straightTexts[] = {
        "a+b", "sin(a)*2", "2.5", "a", "i", "(a+b)*(a-b)/(c-d)", "neg(a)-pow(a,b)", "-0.0", "i+1", "a<b", "v[1]*a",
        "a=2", "i=i+1", "v[i%5]=j*2", "w[a]+=i", "(i>j)||(a<b)&&i", "heard=2", "i<<2|j>>1",
    };
    for (const char* text : straightTexts) EXPECT_TRUE(Compare(text)) << text;
    EXPECT_EQ(straight, static_cast<int>(sizeof straightTexts / sizeof straightTexts[0]));
    for (const char* text : {"strlen(s)+a", "rnd(5)*a", "m[1,2]*2", "!i+1", "abs(j)", "a=b=1.5", "(a=5)+a"})
        EXPECT_TRUE(Compare(text)) << text;
    EXPECT_EQ(straight, static_cast<int>(sizeof straightTexts / sizeof straightTexts[0]));
}

// Every number operator between operands of each kind and place: variables,
// literals, values computed before (in the accumulator or put aside), at
// the ends of the integers, with zero divisors and mixed kinds.
TEST_F(DifferentialTest, NumberStepsInEveryShape) {
    const char* const operators[] = {"+", "-", "*", "/", "^", "%", "|", "&", ">>", "<<", "==", "!=",
                                     "<", ">", "<=", ">=", "<>", "&&", "||"};
    const char* const operands[] = {"i", "0", "3", "big", "small", "a", "2.5", "(j+4)", "(b*2)", "v[j]"};
    int usable = 0;
    for (const char* op : operators) {
        for (const char* left : operands) {
            for (const char* right : operands) {
                usable += Compare(std::string(left) + op + right, 2, true);
                usable += Compare(std::string("(") + left + "-1)" + op + "(" + right + "+1)", 1, true);
                usable += Compare(std::string("i*(") + left + op + right + ")", 1, true);
                usable += Compare(std::string("(") + left + op + right + ")-a", 1, true);
            }
        }
    }
    // All of them run straight.
    EXPECT_EQ(straight, usable);
    for (const char* text : {"big+1", "small-1", "big*2", "small/-1", "small%-1", "0-small", "neg(small)",
                             "i/0", "i%0", "a/0", "i/(j+4)", "w[1]/(j+4)", "2^63", "(j+4)^-1", "i>=a==1",
                             "a<i&&j<b||v[4]>i", "a!=a", "0.0/0.0==0", "w[-1]-v[-5]+v[-6]", "w[a*4]+w[big]",
                             "v[small]*2", "not(a)+i", "frac(a)*i+round(b)"})
        EXPECT_TRUE(Compare(text)) << text;
}

// NaNs of both signs meeting in sums and products give the same NaN on
// every path, whichever side of the operator each one is on.
TEST_F(DifferentialTest, NaNsOfBothSignsMeet) {
    for (TVariableList* list : {&loopList, &formList}) {
        list->GetVar("x")->value.d = std::numeric_limits<double>::quiet_NaN();
        list->GetVar("y")->value.d = -std::numeric_limits<double>::quiet_NaN();
        list->GetVar("c")->value.d = std::numeric_limits<double>::infinity();
    }
    for (const char* text : {"x+y", "y+x", "x*y", "y*x", "x-y", "(x+y)*d", "d*(x+y)", "x+(y*d)", "y+(c-c)",
                             "(c-c)+y", "neg(c-c)+(c-c)", "(c-c)+neg(c-c)", "(c-c)*neg(c-c)", "neg(c-c)*(c-c)",
                             "d+neg(c-c)*(c-c)", "(x+d)*(y+d)", "x*(y*(x*y))", "a=x+y", "a+=y", "w[1]=y*x"})
        EXPECT_TRUE(Compare(text)) << text;
}

// Every assignment operator into each kind of target (integer and real
// variables, 1-D elements inside and outside, listened to) from each
// kind of value, in place or left to the operator unit.
TEST_F(DifferentialTest, AssignmentsToEveryTarget) {
    const char* const targets[] = {"i", "a", "v[1]", "w[2]", "v[-1]", "v[9]", "w[a]", "v[i%5]", "heard", "hv[1]"};
    const char* const operators[] = {"=", "+=", "-=", "*=", "/=", "|=", "&=", "^="};
    const char* const values[] = {"j", "2", "2.5", "b", "(i*3)", "(a/2)", "0", "big", "v[2]", "-5000000000.5", "(b*3000000000.0)"};
    int usable = 0;
    for (const char* target : targets)
        for (const char* op : operators)
            for (const char* value : values) usable += Compare(std::string(target) + op + value, 2, true);
    // Those the in-place rules take run straight.
    EXPECT_GE(straight, usable * 3 / 4);
}

TEST_F(DifferentialTest, NumbersOperatorsAndFunctions) {
    const char* const texts[] = {
        "a+b", "i%3+j", "sin(a)*2", "pow(a,2)+root(i,3)", "abs(j)+neg(i)", "i<<2|j>>1", "i", "a", "2.5",
        "(i>j)||(a<b)&&not(0)", "1/0+i/0", "a^2.5-b^2", "j%0", "sgn(b)+not(a)", "round(b)+frac(a)",
        "atan2(a,b)*i", "i==17", "(a+b)*(a-b)/(i-j)", "tan(a)+ln(a)+log2(a)+log10(a)+logn(2,a)",
        "sqr(b)+sqrt(a)+exp(a)+floor(b)+ceil(b)+sqrt(j)", "deg(a)+rad(a)+to_deg(a,b)+root(8,i)",
        "asin(a)+acos(a)+atan(a)+sinh(a)+cosh(a)+tanh(i)", "a*2+i*3-j/2+(i|3)", "i-(j-(i*(j+1)))",
        "!i+~j+!a+~b", "i&&0.5", "b||0", "i^2", "i^-1", "j^3", "2^62*4", "9223372036854775807+1",
        "-9223372036854775807-1-1", "i/0.0", "abs(b)+abs(-2.5)", "neg(-9223372036854775807-1)", "i|b", "i<<-1",
        "i>>70", "j>>70", "a<b", "a<=i", "a>=j", "i!=j", "i<>17", "a==0.75", "rnd(0)+rnd(5)*rnd(7)", "rnd(j)",
        "1.5", "-0.0", "0x10+i", "sin(1.0)+cos(2.0)*i", "2*3+a", "(1+2)*(3+4)", "a*(2.0/3.0)", "pi*a",
        "sin((1.0+2.0/2.0*3.0)*4.0^5.0)+cos(6.0*pi)", "not(0)*i", "logn(1,a)+root(a,0)",
    };
    for (const char* text : texts) EXPECT_TRUE(Compare(text)) << text;
}

// Two operators after each other in every order of their operands, also
// after a value put aside, meeting the value put aside, and with a zero
// divisor, as the straight form joins them.
TEST_F(DifferentialTest, ChainedOperatorsInEveryOrder) {
    const char* const shapes[] = {
        "(a#b)@c",         "c@(a#b)",         "((c+a)#b)@d",     "d@((c+a)#b)",        "(b#(c+a))@d",
        "d@(b#(c+a))",     "(x*y)+((a#b)@c)", "(a#(b-b))@c",     "c@((b-b)#a)@(x-x)", "sqrt(a#b)@c",
        "(x#y)@(a-b)",     "(x-y)@(a#b)",     "(b-b)@(a#a)",
    };
    int compared = 0;
    for (const char* shape : shapes) {
        for (const char first : std::string("+-*/")) {
            for (const char second : std::string("+-*/")) {
                std::string text = shape;
                text[text.find('#')] = first;
                for (size_t at = text.find('@'); at != std::string::npos; at = text.find('@')) text[at] = second;
                EXPECT_TRUE(Compare(text, 2)) << text;
                ++compared;
            }
        }
    }
    EXPECT_EQ(straight, compared);
}

TEST_F(DifferentialTest, AssignmentsElementsAndListeners) {
    const char* const texts[] = {
        "i=3", "a=i", "i=a", "i+=2", "a-=1", "i*=j", "a/=0", "i|=4", "i&=1", "i^=2", "a=b=1.5", "i=i+1",
        "(a=5)+a", "a+(a=5)", "v[1]=7", "v[-1]=v[0]+1", "v[9]=3", "v[-9]=3", "m[1,2]=5", "m[-1,-1]+m[1,2]",
        "w[2]=a", "v[i%5]", "w[a]", "w[-1]*2", "v[1]+=2", "m[1,2]*=3", "heard=2", "heard+=1", "heard=heard*2+i",
        "v[9]", "m[5,5]", "v[2]=v[1]=4",
    };
    for (const char* text : texts) EXPECT_TRUE(Compare(text)) << text;
}

TEST_F(DifferentialTest, CallsAndWhatStaysWithTheLoop) {
    // Calls run through the loop's actions: folded when pure and constant.
    for (const char* text : {"strlen(s)+i", "strlen('abc')*a", "max(i,j,3)+a", "min(1,2)", "dsum(a,b,1.5)",
                             "strlen(s)>3", "array_count(v)+i", "sum(i,j)*2", "strcmp(s,'text')+1",
                             "max(1,2)+dmax(a,2.0)", "array_sum(w)+a", "summa(1,4,[[i*2]])+a"}) {
        EXPECT_TRUE(Compare(text)) << text;
    }
    // Not decoded, and still the same.
    for (const char* text : {"s+'x'", "p.x+1", "$i", "#'12'+1", "'ab'", "strupper(s)", "s[]='e'", "p=p"}) {
        EXPECT_FALSE(Compare(text)) << text;
    }
}

// Every expression of the benchmark's generated suite, and every literal in it.
TEST_F(DifferentialTest, TheGeneratedSuite) {
    std::ifstream file(EVAL_EXPRESSION_SUITE);
    ASSERT_TRUE(file.good());
    std::string line;
    int lines = 0;
    while (std::getline(file, line)) {
        const std::string text = line.substr(0, line.find('\t'));
        EXPECT_TRUE(Compare(text, 2)) << text;
        ++lines;
    }
    EXPECT_GE(lines, 1000);
    // Nearly all of it is real arithmetic.
    EXPECT_GE(straight, lines * 9 / 10);
}

TEST(DecodedLiteralsTest, EveryLiteralOfTheSuiteReadsAsStrtodReadsIt) {
    std::ifstream file(EVAL_EXPRESSION_SUITE);
    ASSERT_TRUE(file.good());
    std::string line;
    TVariableList list;
    int literals = 0;
    while (std::getline(file, line)) {
        const std::string text = line.substr(0, line.find('\t'));
        for (size_t k = 0; k < text.size();) {
            const size_t end = text.find_first_not_of("0123456789.", k);
            const std::string token = text.substr(k, end == std::string::npos ? std::string::npos : end - k);
            if (token.find('.') != std::string::npos && token != ".") {
                EXPRESSION e = CreateExpression(list, TString(token));
                ASSERT_EQ(e.count, 1) << token;
                EXPECT_EQ(e.items[0].value.real, std::strtod(token.c_str(), nullptr)) << token;
                FreeExpression(e);
                ++literals;
            }
            k = end == std::string::npos ? text.size() : std::max(end, k + 1);
        }
    }
    EXPECT_GT(literals, 1000);
}

// ---- folding keeps what is observable

class FoldingTest : public ::testing::Test {
protected:
    void SetUp() override { list.NewDouble("a", false, 0.5); }

    // Evaluates e as a host does, through EvaluateExpression (the second
    // evaluation makes the decoded form).
    EXPRVALUE Evaluate(EXPRESSION& e) { return EvaluateExpression(list, e, stack, false, nullptr); }
    int64_t EvaluateByLoopValue(EXPRESSION& e) {
        EXPRVALUE out;
        EvaluateByLoop(list, e, stack, out, false, nullptr);
        return out.value.integer;
    }

    TVariableList list;
    TEvalStack stack;
};

TEST_F(FoldingTest, TheCompiledExpressionStaysAsWritten) {
    const TString text("sin((1.0+2.0/2.0*3.0)*4.0^5.0)+cos(6.0*pi)+a*(2.0-1.5)");
    EXPRESSION e = CreateExpression(list, text);
    ASSERT_GE(e.count, 1);
    const EXPRESSION copy = DuplicateExpression(e);
    TMemBuffer before;
    WriteExpression(before, e);
    TENode* treeBefore = CreateExpressionTree(e);
    const TString infixBefore = CreateInfixExpression(list, treeBefore);
    const double byLoop = EvaluateExpression(list, e, stack, false, nullptr).value.real;
    for (int k = 0; k < 3; ++k) EXPECT_EQ(Evaluate(e).value.real, byLoop);
    ASSERT_NE(EvaluationCacheOf(e), nullptr);  // the decoded form exists
    TMemBuffer after;
    WriteExpression(after, e);
    ASSERT_EQ(after.GetSize(), before.GetSize());
    EXPECT_EQ(std::memcmp(after.GetBlock(), before.GetBlock(), static_cast<size_t>(before.GetSize())), 0);
    ASSERT_EQ(e.count, copy.count);
    for (int k = 0; k < e.count; ++k)
        EXPECT_EQ(std::memcmp(&e.items[k], &copy.items[k], sizeof(EXPRESSION_ITEM)), 0) << k;
    TENode* treeAfter = CreateExpressionTree(e);
    EXPECT_EQ(CreateInfixExpression(list, treeAfter), infixBefore);
    // A copy starts without the form, and freeing both frees the form once.
    EXPRESSION again = DuplicateExpression(e);
    EXPECT_EQ(EvaluationCacheOf(again), nullptr);
    delete treeBefore;
    delete treeAfter;
    FreeExpression(again);
    EXPRESSION mutableCopy = copy;
    FreeExpression(mutableCopy);
    FreeExpression(e);
}

TEST_F(FoldingTest, ImpureCallsInsideConstantsRunEveryTime) {
    // rnd and rand draw anew, also inside a pure walk's sub-expression; a
    // file is read again.
    EXPRESSION drawn = CreateExpression(list, "rnd(1000000)*0+rnd(1000000)+0*2.0");
    EXPRESSION listed = CreateExpression(list, "rand(1,2,3,4,5,6,7,8,9)+(1-1)");
    EXPRESSION walked = CreateExpression(list, "summa(1,3,[[rnd(1000000)]])+0*2");
    std::vector<int64_t> draws;
    std::vector<int64_t> walks;
    for (int k = 0; k < 6; ++k) {
        std::srand(static_cast<unsigned>(k));
        const int64_t value = Evaluate(drawn).value.integer;
        std::srand(static_cast<unsigned>(k));
        EXPECT_EQ(value, EvaluateByLoopValue(drawn)) << k;
        draws.push_back(Evaluate(listed).value.integer);
        walks.push_back(Evaluate(walked).value.integer);
    }
    EXPECT_GT(std::set<int64_t>(draws.begin(), draws.end()).size(), 1u);
    EXPECT_GT(std::set<int64_t>(walks.begin(), walks.end()).size(), 1u);
    const std::string path = ::testing::TempDir() + "decoded_folding_size.txt";
    const std::string call = "get_file_size('" + path + "')+0*2";
    std::FILE* f = std::fopen(path.c_str(), "wb");
    ASSERT_NE(f, nullptr);
    std::fputs("abc", f);
    std::fclose(f);
    EXPRESSION sized = CreateExpression(list, TString(call));
    ASSERT_GE(sized.count, 1);
    for (int k = 0; k < 4; ++k) {
        EXPECT_EQ(Evaluate(sized).value.integer, 3 + 2 * k) << k;
        f = std::fopen(path.c_str(), "ab");
        std::fputs("de", f);
        std::fclose(f);
    }
    std::remove(path.c_str());
    FreeExpression(drawn);
    FreeExpression(listed);
    FreeExpression(walked);
    FreeExpression(sized);
}

// Division by zero and overflow raise no code in the loop; folded, they
// still raise none, and a constant part whose computation writes a code is
// not folded, so the code is written by every evaluation.
int codeWritingCalls = 0;
bool CodeWritingHandler(TVariableList&, EXPRESSION_ITEM& function, TEvalStack& stack, bool check,
                        EXPRESSION_ITEM& result) {
    if (!(MultiFunctions()[function.value.code.index]->name == "decoded_code_writer")) return false;
    if (!check) {
        ++codeWritingCalls;
        EvaluateErrorCode = eeWrongArgumentType;
    }
    result = MakeIntegerItem(stack.Top(0)->value.integer + 1);
    return true;
}

int addedCalls = 0;
bool CountingHandler(TVariableList&, EXPRESSION_ITEM& function, TEvalStack& stack, bool check,
                     EXPRESSION_ITEM& result) {
    const TString& name = MultiFunctions()[function.value.code.index]->name;
    if (!(name == "decoded_added") && !(name == "decoded_added_pure")) return false;
    if (!check) ++addedCalls;
    result = MakeIntegerItem(stack.Top(0)->value.integer * 3);
    return true;
}

TEST_F(FoldingTest, ErrorCodesAreWrittenWhenTheLoopWritesThem) {
    for (const char* text : {"1/0+2*3", "9223372036854775807+1+0", "7%0*1", "1.0/0.0+1.5"}) {
        EXPRESSION e = CreateExpression(list, text);
        ASSERT_GE(e.count, 1) << text;
        const int64_t expected = EvaluateByLoopValue(e);
        for (int k = 0; k < 3; ++k) {
            EvaluateErrorCode = 42;
            EXPECT_EQ(Evaluate(e).value.integer, expected) << text;
            EXPECT_EQ(EvaluateErrorCode, 42) << text;
        }
        FreeExpression(e);
    }
    TMultiFunction* writer = new TMultiFunction("decoded_code_writer", vtInt);
    writer->AddParam(fpNumber);
    writer->flags = 0;  // declared pure: folding is allowed, and must see the code
    AddMultiFunction(writer);
    RegisterMultiFunctionHandler(CodeWritingHandler);
    EXPRESSION e = CreateExpression(list, "decoded_code_writer(4)*2+a");
    ASSERT_GE(e.count, 1);
    Evaluate(e);
    Evaluate(e);  // makes the form; folding tries the call and leaves it
    for (int k = 0; k < 3; ++k) {
        EvaluateErrorCode = 0;
        codeWritingCalls = 0;
        EXPECT_EQ(Evaluate(e).value.real, 10.5);
        EXPECT_EQ(EvaluateErrorCode, eeWrongArgumentType) << k;
        EXPECT_EQ(codeWritingCalls, 1) << k;
    }
    FreeExpression(e);
    MultiFunctions().DeleteLast(true);  // the table as other tests expect it
}

// A function added through the registration calls is never computed in
// advance unless its adder declares it pure; nor is a custom function.
TEST_F(FoldingTest, AddedFunctionsAreFoldedOnlyWhenDeclaredPure) {
    TMultiFunction* added = new TMultiFunction("decoded_added", vtInt);
    added->AddParam(fpNumber);
    AddMultiFunction(added);
    TMultiFunction* pure = new TMultiFunction("decoded_added_pure", vtInt);
    pure->AddParam(fpNumber);
    pure->flags = 0;
    AddMultiFunction(pure);
    RegisterMultiFunctionHandler(CountingHandler);
    EXPRESSION impure = CreateExpression(list, "decoded_added(2)+1");
    EXPRESSION folded = CreateExpression(list, "decoded_added_pure(2)+1");
    ASSERT_GE(impure.count, 1);
    ASSERT_GE(folded.count, 1);
    for (int k = 0; k < 4; ++k) {
        EXPECT_EQ(Evaluate(impure).value.integer, 7);
        EXPECT_EQ(Evaluate(folded).value.integer, 7);
    }
    // Four calls of the impure one; the pure one ran once, then its folding
    // (twice) computed it, and no evaluation called it again.
    EXPECT_EQ(addedCalls, 4 + 1 + 2);
    FreeExpression(impure);
    FreeExpression(folded);
    MultiFunctions().DeleteLast(true);
    MultiFunctions().DeleteLast(true);
}

int customCalls = 0;
EXPRESSION_ITEM CountedCustom(EXPRESSION_ITEM* arguments) {
    ++customCalls;
    return MakeIntegerItem(arguments[0].value.integer + 100);
}

TEST_F(FoldingTest, CustomFunctionsInConstantExpressionsRunEveryTime) {
    RegisterCustomFunction(7501, CountedCustom);
    TCustomFunction* function = new TCustomFunction("decoded_custom", ekInteger, 7501);
    function->AddParam(ekInteger, false, 0);
    CustomFunctions().Add(function);
    EXPRESSION e = CreateExpression(list, "decoded_custom(2*3)+4*5");
    ASSERT_GE(e.count, 1);
    customCalls = 0;
    for (int k = 0; k < 5; ++k) EXPECT_EQ(Evaluate(e).value.integer, 126);
    EXPECT_EQ(customCalls, 5);
    FreeExpression(e);
    CustomFunctions().DeleteLast(true);
}

// A call that changes the list or gives another kind than it declares hands
// the rest of the evaluation to the loop, which finishes it as it would.
EXPRESSION_ITEM GrowsTheList(EXPRESSION_ITEM* arguments) {
    Variables.NewInt("decoded_grown", false, 0);
    return MakeIntegerItem(arguments[0].value.integer);
}
EXPRESSION_ITEM GivesAReal(EXPRESSION_ITEM*) { return MakeRealItem(2.5); }

// External functions (called by the form with their arguments in hand):
// the first grows the list, the second gives a real for a declared integer,
// the third adds its arguments.
EXPRESSION_ITEM ExternalHandler(EXPRESSION_ITEM* arguments, int functionIndex, void*) {
    const TString& name = ExtFunctions()[functionIndex]->name;
    if (name == "decoded_ext_grows") return GrowsTheList(arguments);
    if (name == "decoded_ext_real") return GivesAReal(arguments);
    return MakeRealItem(arguments[0].value.real + static_cast<double>(arguments[1].value.integer));
}

TEST(DecodedHandOverTest, CallsThatSurpriseTheFormLeaveItToTheLoop) {
    RegisterCustomFunction(7502, GrowsTheList);
    RegisterCustomFunction(7503, GivesAReal);
    TCustomFunction* grows = new TCustomFunction("decoded_grows", ekInteger, 7502);
    grows->AddParam(ekInteger, false, 0);
    CustomFunctions().Add(grows);
    CustomFunctions().Add(new TCustomFunction("decoded_real", ekInteger, 7503));
    const TExtFuncHandler savedHandler = ExtFuncHandler;
    ExtFuncHandler = ExternalHandler;
    const int externals = ExtFunctions().GetCount();
    TExtFunction* external = new TExtFunction("decoded_ext_grows", ekInteger);
    external->AddParam(ekInteger, false, 0);
    ExtFunctions().Add(external);
    ExtFunctions().Add(new TExtFunction("decoded_ext_real", ekInteger));
    TExtFunction* adds = new TExtFunction("decoded_ext_adds", ekReal);
    adds->AddParam(ekReal, false, 0);  // an integer argument arrives as a real
    adds->AddParam(ekInteger, false, 0);
    ExtFunctions().Add(adds);
    Variables.NewInt("decoded_k", false, 5);
    TEvalStack stack;
    for (const char* text : {"decoded_k*2+decoded_grows(decoded_k)+decoded_k", "decoded_real()*decoded_k+1",
                             "decoded_k*2+decoded_ext_grows(decoded_k)+decoded_k", "decoded_ext_real()*decoded_k+1",
                             "decoded_k-decoded_ext_adds(decoded_k,decoded_k*3.5)*2"}) {
        EXPRESSION e = CreateExpression(Variables, TString(text));
        ASSERT_GE(e.count, 1) << text;
        const int count = Variables.GetCount();
        TDecodedExpression form(e, Variables, stack);
        ASSERT_TRUE(form.Usable()) << text;
        EXPRVALUE byLoop;
        EvaluateByLoop(Variables, e, stack, byLoop, false, nullptr);
        while (Variables.GetCount() > count) Variables.DeleteLast(true);
        EXPRVALUE byForm;
        EXPECT_EQ(form.Run(Variables, e, stack, byForm, nullptr), TDecodedExpression::Done);
        ExpectSameResult(byForm, byLoop, text);
        EXPECT_EQ(stack.GetCount(), 0);
        while (Variables.GetCount() > count) Variables.DeleteLast(true);
        FreeExpression(e);
    }
    Variables.DeleteVar("decoded_k");
    CustomFunctions().DeleteLast(true);
    CustomFunctions().DeleteLast(true);
    while (ExtFunctions().GetCount() > externals) ExtFunctions().DeleteLast(true);
    ExtFuncHandler = savedHandler;
}

// A straight form whose first step calls an external function gives what
// the loop gives; where the call grows the list, gives another kind than
// its function declares or finds no handler, the loop finishes as it
// would; a call that evaluates the same expression again inside it (a
// recursion four deep) runs that one beside the waiting run; a form of
// constants alone runs its call too; and a variable read before a call
// that changes it stays with the general run, which reads it first.
EXPRESSION* straightNested = nullptr;

EXPRESSION_ITEM StraightCallHandler(EXPRESSION_ITEM* arguments, int functionIndex, void* userData) {
    const TString& name = ExtFunctions()[functionIndex]->name;
    if (name == "straight_grows") {
        Variables.NewInt("straight_grown", false, 0);
        return MakeIntegerItem(arguments[0].value.integer + 1);
    }
    if (name == "straight_real") return MakeRealItem(2.5);
    if (name == "straight_sets") {
        Variables.GetVar("straight_k")->value.i = 10;
        return MakeIntegerItem(0);
    }
    if (name == "straight_nested") {
        const int64_t k = arguments[0].value.integer;
        if (k == 0) return MakeIntegerItem(0);
        Variables.GetVar("straight_k")->value.i = k - 1;
        TEvalStack stack;
        EXPRVALUE out;
        EvaluateExpressionValue(Variables, *straightNested, stack, out, userData);
        return MakeIntegerItem(Variables.GetVar("straight_v")->value.i + 1);
    }
    return MakeRealItem(arguments[0].value.real * 0.5 + static_cast<double>(arguments[1].value.integer));
}

TEST(DecodedHandOverTest, AStraightFormsCallGivesWhatTheLoopGives) {
    const TExtFuncHandler savedHandler = ExtFuncHandler;
    const int externals = ExtFunctions().GetCount();
    for (const char* name : {"straight_grows", "straight_real", "straight_nested", "straight_sets"}) {
        TExtFunction* function = new TExtFunction(name, ekInteger);
        if (std::string(name) != "straight_real" && std::string(name) != "straight_sets")
            function->AddParam(ekInteger, false, 0);
        ExtFunctions().Add(function);
    }
    TExtFunction* adds = new TExtFunction("straight_adds", ekReal);
    adds->AddParam(ekReal, false, 0);
    adds->AddParam(ekInteger, false, 0);
    ExtFunctions().Add(adds);
    Variables.NewInt("straight_k", false, 0);
    Variables.NewInt("straight_v", false, 0);
    Variables.NewDouble("straight_r", false, 0.0);
    const int count = Variables.GetCount();
    struct TCase {
        const char* text;
        bool handled;   // by a handler at all
        bool straight;  // a call's result as the whole result stays with the general run
    };
    for (const TCase& c : {TCase{"straight_r = straight_adds(straight_r, straight_k)", true, true},
                           TCase{"straight_adds(1.5, 4)", true, false},
                           TCase{"straight_v = straight_grows(straight_k)", true, true},
                           TCase{"straight_v = straight_real()", true, true},
                           TCase{"straight_r = straight_adds(straight_k, 3)", false, true},
                           TCase{"straight_v = straight_nested(straight_k)", true, true},
                           TCase{"straight_adds(1.5, 4) * 2", true, true},
                           TCase{"straight_v = straight_k + straight_sets()", true, false},
                           TCase{"straight_k += straight_sets()", true, false}}) {
        EXPRESSION e = CreateExpression(Variables, TString(c.text));
        ASSERT_GE(e.count, 1) << c.text;
        straightNested = &e;
        TEvalStack stack;
        for (int round = 0; round < 6; ++round) {
            const std::string what = std::string(c.text) + " round " + std::to_string(round);
            ExtFuncHandler = c.handled ? StraightCallHandler : nullptr;
            EXPRVALUE byLoop;
            Variables.GetVar("straight_k")->value.i = 4;
            Variables.GetVar("straight_r")->value.d = 0.75;
            EvaluateByLoop(Variables, e, stack, byLoop, false, nullptr);
            const int64_t loopV = Variables.GetVar("straight_v")->value.i;
            const double loopR = Variables.GetVar("straight_r")->value.d;
            while (Variables.GetCount() > count) Variables.DeleteLast(true);
            EXPRVALUE byForm;
            Variables.GetVar("straight_k")->value.i = 4;
            Variables.GetVar("straight_r")->value.d = 0.75;
            EvaluateExpressionValue(Variables, e, stack, byForm, nullptr);
            EXPECT_EQ(byForm.kind, byLoop.kind) << what;
            EXPECT_EQ(std::memcmp(&byForm.value, &byLoop.value, sizeof byForm.value), 0) << what;
            EXPECT_EQ(Variables.GetVar("straight_v")->value.i, loopV) << what;
            EXPECT_EQ(Variables.GetVar("straight_r")->value.d, loopR) << what;
            EXPECT_EQ(stack.GetCount(), 0) << what;
            while (Variables.GetCount() > count) Variables.DeleteLast(true);
        }
        const auto* form = static_cast<const TDecodedExpression*>(EvaluationCacheOf(e));
        ASSERT_NE(form, nullptr) << c.text;
        EXPECT_EQ(form->Straight(), c.straight) << c.text;
        FreeExpression(e);
    }
    EXPECT_EQ(Variables.GetVar("straight_v")->value.i, 4);  // the nested case, four deep
    for (const char* name : {"straight_k", "straight_v", "straight_r"}) Variables.DeleteVar(TString(name));
    while (ExtFunctions().GetCount() > externals) ExtFunctions().DeleteLast(true);
    ExtFuncHandler = savedHandler;
}

// A run finds each binding again: a variable of another type, a shorter
// list or one of texts make the form refuse, and it is made again.
TEST(DecodedBindingTest, ChangedListsAreNoticed) {
    TVariableList list;
    list.NewInt("i", false, 2);
    list.NewDouble("a", false, 0.5);
    TEvalStack stack;
    EXPRESSION e = CreateExpression(list, "i*3+a");
    TDecodedExpression form(e, list, stack);
    ASSERT_TRUE(form.Usable());
    EXPRVALUE out;
    ASSERT_EQ(form.Run(list, e, stack, out, nullptr), TDecodedExpression::Done);
    EXPECT_EQ(out.value.real, 6.5);
    list.GetVar("i")->type = vtDouble;  // the same storage read as a real
    out.kind = ekPoint;
    EXPECT_EQ(form.Run(list, e, stack, out, nullptr), TDecodedExpression::Rebuild);
    EXPECT_EQ(out.kind, ekPoint);
    list.GetVar("i")->type = vtInt;
    TVariableList shorter;
    shorter.NewInt("i", false, 1);
    EXPECT_EQ(form.Run(shorter, e, stack, out, nullptr), TDecodedExpression::Rebuild);
    TVariableList texts;
    texts.NewString("i", false, "t");
    texts.NewString("a", false, "t");
    EXPECT_EQ(form.Run(texts, e, stack, out, nullptr), TDecodedExpression::Rebuild);
    // Through EvaluateExpression the form follows the list: variables deleted
    // and appended again, of other types, give what the loop gives.
    for (int k = 0; k < 3; ++k) EvaluateExpression(list, e, stack, out, false, nullptr);
    list.DeleteVar("a");
    list.NewInt("a", false, 4);
    EvaluateExpression(list, e, stack, out, false, nullptr);
    EXPECT_EQ(out.kind, ekInteger);
    EXPECT_EQ(out.value.integer, 10);
    // The last one replaced by another of its type (the old one kept alive
    // elsewhere): the same count, another variable.
    TVariable* old = list.GetVar("a");
    list.Delete(list.GetVarIndex("a"), false);
    list.NewInt("a", false, 7);
    EvaluateExpression(list, e, stack, out, false, nullptr);
    EXPECT_EQ(out.value.integer, 13);
    delete old;
    FreeExpression(e);
}

// The straight form reads its variables in place: after each change of the
// list it reads the variables the loop reads, or leaves the run to it.
TEST(DecodedBindingTest, TheStraightFormFollowsTheList) {
    TVariableList list;
    list.NewDouble("a", false, 0.5);
    list.NewDouble("b", false, 3.0);
    TVariableList other;
    other.NewDouble("b", false, -1.0);
    other.NewDouble("a", false, 8.0);
    TEvalStack stack;
    EXPRESSION e = CreateExpression(list, "a*b+b");
    EXPRESSION bare = CreateExpression(list, "b");
    TVariable* kept = nullptr;
    const std::function<void()> changes[] = {
        [] {},
        [&] { list.Insert(0, new TVariable("first", 2.0, 0)); },  // relative references move
        [&] { list.NewDouble("c", false, 4.0); },                  // appended: the count moves them
        [&] { list.GetVar("b")->value.d = -7.25; },
        [&] {  // the same place, another variable
            const int at = list.GetVarIndex("a");
            kept = list.GetVar("a");
            list.Delete(at, false);
            list.Insert(at, new TVariable("a", 9.5, 0));
        },
        [&] { list.GetVar("a")->type = vtInt; },  // the same storage read as an integer
        [&] { list.GetVar("a")->type = vtDouble; },
        [&] { list.base = 1; },
    };
    for (size_t k = 0; k < sizeof changes / sizeof changes[0]; ++k) {
        changes[k]();
        for (TVariableList* on : {&list, &other, &list}) {
            for (EXPRESSION* x : {&e, &bare}) {
                EXPRVALUE byLoop;
                EvaluateByLoop(*on, *x, stack, byLoop, false, nullptr);
                for (int round = 0; round < 3; ++round) {
                    EXPRVALUE out;
                    EvaluateExpression(*on, *x, stack, out, false, nullptr);
                    ExpectSameResult(out, byLoop, "change " + std::to_string(k) + " round " + std::to_string(round));
                }
            }
        }
    }
    EXPECT_NE(static_cast<TDecodedExpression*>(EvaluationCacheOf(e)), nullptr);
    delete kept;
    FreeExpression(e);
    FreeExpression(bare);
}

// Written behind the list's back, a variable's type, an array's item type
// or a new listener stop the straight form at its next run: what runs
// instead gives what the loop gives.
TEST(DecodedBindingTest, TheStraightFormSeesWritesBehindTheListsBack) {
    TVariableList list;
    list.NewDouble("a", false, 0.5);
    list.NewInt("k", false, 3);
    list.NewArray("v", vtDouble, false);
    list.ResizeArray("v", 4);
    TEvalStack stack;
    const std::function<void()> changes[] = {
        [&] { list.GetVar("a")->type = vtInt; },
        [&] { list.GetVar("a")->type = vtDouble; },
        [&] { list.GetVar("v")->value.a.itemtype = vtInt; },
        [&] { list.GetVar("v")->value.a.itemtype = vtDouble; },
        [&] { list.GetVar("k")->AddListener(HearAssignment); },
        [&] { list.GetVar("k")->RemoveListener(HearAssignment); },
    };
    for (const char* text : {"a*2+v[1]", "k=k+1", "v[2]+=a"}) {
        EXPRESSION e = CreateExpression(list, text);
        ASSERT_GE(e.count, 1) << text;
        for (size_t k = 0; k < sizeof changes / sizeof changes[0]; ++k) {
            for (int round = 0; round < 3; ++round) {
                EXPRVALUE byLoop;
                const TVariable::TValue saved[3] = {list[0]->value, list[1]->value,
                                                    *static_cast<TVariable::TValue*>(list[2]->GetItem(2))};
                const int heard = assignmentsHeard;
                EvaluateByLoop(list, e, stack, byLoop, false, nullptr);
                const std::string afterLoop = Contents(list);
                const int loopHeard = assignmentsHeard - heard;
                list[0]->value = saved[0];
                list[1]->value = saved[1];
                std::memcpy(list[2]->GetItem(2), &saved[2], sizeof(double));
                EXPRVALUE out;
                EvaluateExpression(list, e, stack, out, false, nullptr);
                const std::string what = std::string(text) + " change " + std::to_string(k);
                ExpectSameResult(out, byLoop, what);
                EXPECT_EQ(Contents(list), afterLoop) << what;
                EXPECT_EQ(assignmentsHeard - heard, 2 * loopHeard) << what;
            }
            changes[k]();
        }
        EXPECT_TRUE(static_cast<TDecodedExpression*>(EvaluationCacheOf(e))->Straight()) << text;
        FreeExpression(e);
    }
}

// More variables than the straight form keeps its type looks for in itself:
// a type written over behind the list's back is still seen, also by the
// copy kept for another count of the list.
TEST(DecodedBindingTest, TypeLooksBeyondTheInlineOnesAreKept) {
    TVariableList list;
    const char* const names[] = {"a", "b", "c", "d", "e", "f", "g", "h", "i"};
    for (const char* name : names) list.NewDouble(name, false, 1.5);
    EXPRESSION e = CreateExpression(list, "a+b+c+d+e+f+g+h+i");
    ASSERT_GE(e.count, 1);
    TEvalStack stack;
    const auto same = [&](const std::string& what) {
        for (int round = 0; round < 3; ++round) {
            EXPRVALUE byLoop, out;
            EvaluateByLoop(list, e, stack, byLoop, false, nullptr);
            EvaluateExpression(list, e, stack, out, false, nullptr);
            ExpectSameResult(out, byLoop, what);
        }
    };
    same("as made");
    ASSERT_TRUE(static_cast<TDecodedExpression*>(EvaluationCacheOf(e))->Straight());
    list.GetVar("i")->type = vtInt;
    same("last one an integer");
    list.GetVar("i")->type = vtDouble;
    list.NewDouble("j", false, 2.0);
    same("at the longer count");
    list.DeleteLast();
    same("back at the first count");
    list.NewDouble("j", false, 2.0);
    list.GetVar("i")->type = vtInt;
    same("the kept copy, last one an integer");
    FreeExpression(e);
}

// A lent variable that its lender ends and makes anew in the very same
// place, of another type or of none, and lends again: the list cannot tell
// it from the one it held, so only the new variable's type says that the
// form must not read it as before.
TEST(DecodedBindingTest, ALentVariableMadeAnewInItsPlaceIsSeen) {
    TVariableList list;
    list.NewDouble("a", false, 1.5);
    TVariable* lent = new TVariable("b", 0.25, 0);
    const std::function<void()> remakes[] = {
        [&] { new (lent) TVariable("b", int64_t{7}, 0); },
        [&] { new (lent) TVariable(); },
        [&] { new (lent) TVariable("b", 0.75, 0); },
    };
    void* const items[1] = {static_cast<TContainerItem*>(lent)};
    TEvalStack stack;
    list.AppendVariables(items, 1);
    EXPRESSION e = CreateExpression(list, "a*2+b");
    ASSERT_GE(e.count, 1);
    for (size_t k = 0;; ++k) {
        for (int round = 0; round < 3; ++round) {
            EXPRVALUE byLoop, byForm;
            EvaluateByLoop(list, e, stack, byLoop, false, nullptr);
            EvaluateExpression(list, e, stack, byForm, false, nullptr);
            ExpectSameResult(byForm, byLoop, "remakes " + std::to_string(k) + " round " + std::to_string(round));
        }
        if (k == 0) {
            EXPECT_TRUE(static_cast<TDecodedExpression*>(EvaluationCacheOf(e))->Straight());
        }
        list.TakeOffVariables(1);
        if (k == sizeof remakes / sizeof remakes[0]) break;
        lent->~TVariable();
        remakes[k]();
        list.AppendVariables(items, 1);
    }
    delete lent;
    FreeExpression(e);
}

// Variables appended and cut off again, as a script's calls do with their
// parameters: forms made below them keep their variables, forms that read
// them find what is there now, kept, replaced, freed or of another type.
TEST(DecodedBindingTest, VariablesAppendedAndCutOffAgain) {
    TVariableList list;
    list.NewDouble("g", false, 1.5);
    list.NewInt("k", false, 4);
    TEvalStack stack;
    EXPRESSION outer = CreateExpression(list, "g*2+k");
    TVariable* kept[2] = {new TVariable("p", 0.25, 0), new TVariable("q", int64_t{3}, 0)};
    list.Add(static_cast<TContainerItem*>(kept[0]));
    list.Add(static_cast<TContainerItem*>(kept[1]));
    EXPRESSION inner = CreateExpression(list, "p*g+q");
    EXPRESSION assigned = CreateExpression(list, "q=q+k");
    list.DeleteSection(2, 3, false);
    const auto compare = [&](EXPRESSION& e, const std::string& what) {
        for (int round = 0; round < 3; ++round) {
            EXPRVALUE byLoop;
            EXPRVALUE byForm;
            const TVariable::TValue q = list.GetVar("q") != nullptr ? list.GetVar("q")->value : TVariable::TValue{};
            EvaluateByLoop(list, e, stack, byLoop, false, nullptr);
            const std::string afterLoop = Contents(list);
            // An assignment is undone before the form repeats it.
            if (&e == &assigned) list.GetVar("q")->value = q;
            EvaluateExpression(list, e, stack, byForm, false, nullptr);
            ExpectSameResult(byForm, byLoop, what + " round " + std::to_string(round));
            EXPECT_EQ(Contents(list), afterLoop) << what;
        }
    };
    for (int call = 0; call < 12; ++call) {
        const std::string what = "call " + std::to_string(call);
        compare(outer, what + " outer");
        TVariable* p = kept[0];
        TVariable* q = kept[1];
        if (call % 4 == 1) p = new TVariable("p", -8.0, 0);               // another one at p's place
        if (call % 4 == 2) q = new TVariable("q", 0.5, 0);                // q a real now
        if (call % 4 == 3) std::swap(p->value.d, kept[0]->value.d);
        list.Add(static_cast<TContainerItem*>(p));
        list.Add(static_cast<TContainerItem*>(q));
        p->value.d += 1.0;
        compare(inner, what + " inner");
        compare(assigned, what + " assigned");
        list.GetVar("k")->value.i += 1;
        if (call % 3 == 0) {
            list.DeleteLast(q != kept[1]);
            list.DeleteLast(p != kept[0]);
        } else {
            list.DeleteSection(2, 3, false);
            if (p != kept[0]) delete p;
            if (q != kept[1]) delete q;
        }
        compare(outer, what + " outer after");
    }
    delete kept[0];
    delete kept[1];
    FreeExpression(outer);
    FreeExpression(inner);
    FreeExpression(assigned);
}

// A relative reference met at many counts of the list, as a function's
// parameter is at every depth of a recursion: at each count the form reads
// the variable there, also when the one at a count was replaced, changed
// its type behind the list's back, or the count is met again much later.
TEST(DecodedBindingTest, AnExpressionMetAtManyCountsReadsTheVariableAtEach) {
    TVariableList list;
    list.NewDouble("g", false, 1.5);
    list.NewInt("n", false, 0);
    TEvalStack stack;
    EXPRESSION e = CreateExpression(list, "n*g+n");
    std::vector<TVariable*> depths;
    const auto compare = [&](const std::string& what) {
        EXPRVALUE byLoop;
        EXPRVALUE byForm;
        EvaluateByLoop(list, e, stack, byLoop, false, nullptr);
        EvaluateExpression(list, e, stack, byForm, false, nullptr);
        ExpectSameResult(byForm, byLoop, what);
    };
    for (int pass = 0; pass < 3; ++pass) {
        for (int depth = 0; depth < 40; ++depth) {
            if (static_cast<int>(depths.size()) <= depth) depths.push_back(new TVariable("n", int64_t{depth}, 0));
            TVariable* n = depths[static_cast<size_t>(depth)];
            if (pass == 1 && depth % 7 == 3) {  // another variable in this depth's place
                n = new TVariable("n", int64_t{-depth}, 0);
                delete depths[static_cast<size_t>(depth)];
                depths[static_cast<size_t>(depth)] = n;
            }
            list.Add(static_cast<TContainerItem*>(n));
            compare("pass " + std::to_string(pass) + " down " + std::to_string(depth));
            if (pass == 2 && depth % 5 == 1) {
                n->type = vtDouble;
                n->value.d = 0.25 * depth;
                compare("retyped at " + std::to_string(depth));
                n->type = vtInt;
                n->value.i = depth;
            }
        }
        for (int depth = 39; depth >= 0; --depth) {
            compare("pass " + std::to_string(pass) + " up " + std::to_string(depth));
            list.DeleteLast(false);
        }
    }
    EXPECT_TRUE(static_cast<TDecodedExpression*>(EvaluationCacheOf(e))->Straight());
    for (TVariable* n : depths) delete n;
    FreeExpression(e);
}

// One compiled expression evaluated by two threads on their own lists and
// stacks: the thread that made the form runs it, the other the loop, and
// each gets its own list's values (run under ThreadSanitizer).
TEST(DecodedThreadsTest, OneExpressionOnTwoThreads) {
    TVariableList made;
    made.NewDouble("a", false, 0.0);
    made.NewDouble("b", false, 0.0);
    EXPRESSION e = CreateExpression(made, "a*b+sin(a)-b");
    ASSERT_GE(e.count, 1);
    auto work = [&e](double value, int* wrong) {
        TVariableList list;
        double* a = list.NewDouble("a", false, 0.0);
        list.NewDouble("b", false, value);
        TEvalStack stack;
        for (int round = 0; round < 2000; ++round) {
            *a = 0.001 * round;
            EXPRVALUE byLoop;
            EvaluateByLoop(list, e, stack, byLoop, false, nullptr);
            const EXPRVALUE out = EvaluateExpression(list, e, stack, false, nullptr);
            if (out.kind != ekReal || out.value.real != byLoop.value.real || stack.GetCount() != 0) ++*wrong;
        }
    };
    int wrong[2] = {0, 0};
    std::thread first(work, 1.5, &wrong[0]);
    std::thread second(work, -2.25, &wrong[1]);
    first.join();
    second.join();
    EXPECT_EQ(wrong[0], 0);
    EXPECT_EQ(wrong[1], 0);
    FreeExpression(e);
}

// A function unit that answers 42 to every function of one operand.
void AnswerOfEverything(EXPRESSION_ITEM&, TEvalStack& stack, bool) {
    EXPRESSION_ITEM operand;
    stack.Pop(operand);
    stack.Push(MakeIntegerItem(42), false);
}

// A host's function unit plugged in after the form was made takes over at
// the next evaluation, and the library's own back gives the form again.
TEST(DecodedOperationsTest, AFunctionUnitPluggedInLaterIsCalled) {
    TVariableList list;
    list.NewDouble("a", false, 0.0);
    list.NewDouble("b", false, 3.0);
    TEvalStack stack;
    EXPRESSION e = CreateExpression(list, "sin(a)+b");
    for (int k = 0; k < 3; ++k) EXPECT_EQ(EvaluateExpression(list, e, stack, false, nullptr).value.real, 3.0);
    const TDecodedExpression* form = static_cast<TDecodedExpression*>(EvaluationCacheOf(e));
    ASSERT_NE(form, nullptr);
    EXPECT_TRUE(form->Straight());
    const TEvaluateOperations saved = EvaluateOperations();
    EvaluateOperations().simpleFunction = AnswerOfEverything;
    for (int k = 0; k < 2; ++k) EXPECT_EQ(EvaluateExpression(list, e, stack, false, nullptr).value.real, 45.0);
    EvaluateOperations() = saved;
    for (int k = 0; k < 2; ++k) EXPECT_EQ(EvaluateExpression(list, e, stack, false, nullptr).value.real, 3.0);
    FreeExpression(e);
}

class DecodedTest : public ::testing::Test {
protected:
    void SetUp() override {
        list.NewDouble("a", false, 0.75);
        list.NewDouble("b", false, -2.5);
        list.NewInt("i", false, 17);
        list.NewInt("j", false, -4);
        list.NewPoint("p", false);
    }

    TVariableList list;
    TEvalStack stack;
};

// Every operator on every pair of number kinds: the loop's in-place path
// (run mode) against the operator unit called directly.
TEST_F(DecodedTest, InPlaceOperatorsMatchTheOperatorUnit) {
    const EXPRESSION_ITEM operands[] = {
        MakeIntegerItem(7),  MakeIntegerItem(-3), MakeIntegerItem(0), MakeIntegerItem(INT64_MIN),
        MakeRealItem(2.5),   MakeRealItem(-0.0),  MakeRealItem(std::numeric_limits<double>::quiet_NaN()),
    };
    for (int op = 0; op < kBinaryOperatorLimit; ++op) {
        if (op >= opAssign && op <= opDivideAssign) continue;  // assignments need a variable
        if (op >= opOrAssign && op <= opPowerAssign) continue;
        for (const EXPRESSION_ITEM& left : operands) {
            for (const EXPRESSION_ITEM& right : operands) {
                EXPRESSION e;
                e.count = 3;
                e.items = new EXPRESSION_ITEM[4];
                e.items[0] = left;
                e.items[1] = right;
                e.items[2] = MakeItem(ekBinaryOperator);
                e.items[2].value.code.index = op;
                EXPRVALUE looped;
                EvaluateExpression(list, e, stack, looped, false, nullptr);
                FreeExpression(e);
                EXPRESSION_ITEM l = left;
                EXPRESSION_ITEM r = right;
                const EXPRESSION_ITEM direct = ApplyBinaryOperator(list, stack, l, r, op, 0, false);
                EXPRVALUE expected;
                expected.kind = direct.kind;
                expected.value = direct.value;
                expected.ref = direct.ref;
                if (direct.kind == ekBufferedText) {
                    stack.ReleaseBufferedString(direct.value.text.slot);
                    continue;
                }
                const std::string what = "op " + std::to_string(op) + " kinds " + std::to_string(left.kind) +
                                         "," + std::to_string(right.kind);
                if (direct.kind == ekError) {
                    EXPECT_EQ(looped.kind, ekError) << what;
                } else {
                    ExpectSameResult(looped, expected, what.c_str());
                }
                EXPECT_EQ(stack.GetCount(), 0) << what;
            }
        }
    }
}


}  // namespace
