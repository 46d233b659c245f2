// Tests of the expression compiler: postfix output, error codes and positions, calls, and compile-then-evaluate.
#include <gtest/gtest.h>

#include <cfloat>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "EvaluateEngine.h"
#include "EvaluateErrors.h"
#include "ExpressionCompiler.h"
#include "FunctionTable.h"

namespace {

class CompilerTest : public ::testing::Test {
protected:
    void SetUp() override {
        list.NewInt("a", false, 1);
        list.NewInt("b", false, 2);
        list.NewInt("x", false, 3);
        list.NewInt("strlen2", false, 4);
        list.NewString("txt", false, "text");
        list.NewArray("v", vtInt, false);
        list.NewArray2("m", vtInt, false);
    }

    // The postfix as text: items separated by blanks.
    std::string Render(const EXPRESSION& e) {
        std::string out;
        for (int k = 0; k < e.count; ++k) {
            const EXPRESSION_ITEM& item = e.items[k];
            char buffer[64] = "";
            switch (item.kind) {
                case ekInteger:
                    std::snprintf(buffer, sizeof buffer, "%lld", static_cast<long long>(item.value.integer));
                    break;
                case ekReal:
                    std::snprintf(buffer, sizeof buffer, "%gr", item.value.real);
                    break;
                case ekVariable:
                case ekArray:
                case ekArray2:
                case ekElement:
                case ekElement2:
                    std::snprintf(
                        buffer, sizeof buffer, "%s%s",
                        list[list.V_Index(item.value.variable.reference, item.value.variable.absolute)]->name.c_str(),
                        item.kind == ekVariable   ? (item.value.variable.byReference ? "&" : "")
                        : item.kind == ekElement2 ? "[,]"
                                                  : "[]");
                    break;
                case ekBinaryOperator:
                    if (item.value.code.index == 34)
                        std::snprintf(buffer, sizeof buffer, "['%c']=", item.value.code.character);
                    else
                        std::snprintf(buffer, sizeof buffer, "%s",
                                      item.value.code.index == 35 ? "[w]=" : GetOperatorName(item.value.code.index));
                    break;
                case ekUnaryOperator:
                    std::snprintf(buffer, sizeof buffer, "u%s", GetOperatorName(item.value.code.index));
                    break;
                case ekSimpleFunction:
                    std::snprintf(buffer, sizeof buffer, "%s", GetFunctionName(item.value.code.index));
                    break;
                case ekBuiltinFunction:
                    std::snprintf(buffer, sizeof buffer, "%s()", MultiFunctions()[item.value.code.index]->name.c_str());
                    break;
                case ekListFunction:
                    std::snprintf(buffer, sizeof buffer, "%s/%d", VarFunctions()[item.value.code.index]->name.c_str(),
                                  item.value.code.argumentCount);
                    break;
                case ekFieldSelector:
                    std::snprintf(buffer, sizeof buffer, ".%d", item.value.field);
                    break;
                case ekOwnedText:
                    std::snprintf(buffer, sizeof buffer, "'%s'", item.value.text.text->c_str());
                    break;
                case ekSubExpression:
                    std::snprintf(buffer, sizeof buffer, "[[%s]]", Render(*item.value.expression).c_str());
                    break;
                default:
                    std::snprintf(buffer, sizeof buffer, "?%d", item.kind);
            }
            if (!out.empty()) out += ' ';
            out += buffer;
        }
        return out;
    }

    TVariableList list;
};

struct TCompileCase {
    const char* text;
    const char* postfix;  // null: the compilation fails
    int code;
    int position;  // -1: not checked
};

// Decimal reals read to the nearest double, as strtod reads them; other
// bases keep adding digit by digit.
TEST_F(CompilerTest, DecimalRealsReadToTheNearestDouble) {
    char largest[400];
    char smallest[1200];
    std::snprintf(largest, sizeof largest, "%.1f", DBL_MAX);
    std::snprintf(smallest, sizeof smallest, "%.1100f", DBL_MIN);
    const std::string longDecimal = "0." + std::string(299, '0') + "1234567890123456789";
    const std::string subnormal = "0." + std::string(320, '0') + "5";
    const std::string tooSmall = "0." + std::string(400, '0') + "5";
    const std::string tooLarge = std::string(400, '9') + ".5";
    const std::string texts[] = {"0.1",     "2.2",      "3.123", "0.3",         "-0.3",         "123.456",
                                 "654.321", "10.10",    "5.",    ".5",          "-.",           "0.0",
                                 largest,   smallest,   longDecimal, subnormal, tooSmall,       tooLarge,
                                 "9007199254740993.0",  "0.1000000000000000055511151231257827021181583404541015625",
                                 "2.2250738585072011e",  // not a number here: the letter ends it
    };
    for (const std::string& text : texts) {
        SCOPED_TRACE(text.substr(0, 40));
        EXPRESSION e = CreateExpression(list, text);
        if (text.back() == 'e') {
            EXPECT_EQ(e.count, -1);
            continue;
        }
        ASSERT_EQ(e.count, 1);
        ASSERT_EQ(e.items[0].kind, ekReal);
        const double expected = std::strtod(text == "-." ? "-0.0" : text.c_str(), nullptr);
        EXPECT_EQ(std::memcmp(&e.items[0].value.real, &expected, sizeof expected), 0)
            << e.items[0].value.real << " against " << expected;
        FreeExpression(e);
    }
    // Other bases: digit values times powers of the base, as before.
    EXPRESSION hexadecimal = CreateExpression(list, "0x0.1");
    ASSERT_EQ(hexadecimal.count, 1);
    EXPECT_EQ(hexadecimal.items[0].value.real, 1.0 / 16.0);
    FreeExpression(hexadecimal);
}

TEST_F(CompilerTest, TableOfEdgeCases) {
    const TCompileCase cases[] = {
        {"1+2*3", "1 2 3 * +", 0, 0},
        {"2^3^2", "2 3 2 ^ ^", 0, 0},
        {"a=b=5", "a b 5 = =", 0, 0},
        {"a=b+=1", nullptr, eeMissingVariable, -1},  // groups as (a=b)+=1, which assigns to no variable
        {"3-5", "3 5 -", 0, 0},
        {"3--5", "3 -5 -", 0, 0},
        {"-2^2", "-2 2 ^", 0, 0},  // the sign belongs to the number
        {"-x", nullptr, eeVariablePlace, 1},
        {"0x1F", "31", 0, 0},
        {"0b101", "5", 0, 0},
        {"0o17", "15", 0, 0},
        {"@16@ff", "255", 0, 0},
        {"@36@z", "35", 0, 0},
        {"@0@1", nullptr, eeUnknownSymbol, 0},  // base 0 would divide by zero
        {"@1@1", nullptr, eeUnknownSymbol, 0},
        {"@37@1", nullptr, eeUnknownSymbol, 0},
        {"0x1.8", "1.5r", 0, 0},
        {"0x-1F", "-31", 0, 0},
        {"0XFF", nullptr, eeUnknownSymbol, 1},
        {"1e5", nullptr, eeUnknownSymbol, 1},  // no exponent notation
        {"", nullptr, eeRightParenthesisPlace, 0},
        {"()", nullptr, eeRightParenthesisPlace, 1},
        {"(1+2", nullptr, eeUnclosedExpression, -1},
        {"1+2)", nullptr, eeLeftParenthesisMissing, 4},
        {"'a b'", "'a b'", 0, 0},
        {"a b", nullptr, eeVariablePlace, 1},  // "ab": the variable a, then b misplaced
        {"strlen2+1", "strlen2 1 +", 0, 0},
        {"sin(1,2)", nullptr, eeArgumentCount, 5},
        {"pow(2)", nullptr, eeArgumentCount, 5},
        {"pow(2,3)", "2 3 pow", 0, 0},
        {"m[1,2]", "1 2 m[,]", 0, 0},
        {"m[1,2,3]", nullptr, eeCommaPlace, 5},
        {"v[1]", "1 v[]", 0, 0},
        {"v[1)", nullptr, eeRightParenthesisPlace, 3},  // crossed brackets
        {"[[1]]", "[[1]]", 0, 0},
        {"[[1]]+1", nullptr, eeOperatorPlace, 5},
        {"2x", nullptr, eeVariablePlace, 1},
        {"2y", nullptr, eeUnknownSymbol, 1},
        {"txt[w]='y'", "txt 'y' [w]=", 0, 0},  // the word operator, not an element of txt
        {"a[w]=5", nullptr, -1, -1},            // the same operator; a is no text, so the check rejects it
        {"txt['x']='y'", "txt 'y' ['x']=", 0, 0},
        {"txt['\\t']='y'", "txt 'y' ['\t']=", 0, 0},
        {"pi", "3.14159r", 0, 0},
        {"qm+bs", "'\"' '\\' +", 0, 0},
        {"-", "0", 0, 0},
        {".", "0r", 0, 0},
        {"strlen('abc')+1", "'abc' strlen() 1 +", 0, 0},
        {"str_len('abc')", "'abc' strlen()", 0, 0},
        {"strlen(txt)", "txt strlen()", 0, 0},
        {"strlen(1+)", nullptr, eeUnknownSymbol, 0},
        {"strlen(1)", nullptr, eeUnknownSymbol, 0},
        {"strlen('a','b')", nullptr, eeUnknownSymbol, 0},
        {"asctime()", "asctime()", 0, 0},
        {"asctime", nullptr, eeUnknownSymbol, 1},  // no call: the variable a, then an unknown rest
        {"max(1,a,3)", "1 a 3 max/3", 0, 0},
        {"to_point(1,2).x", "1 2 to_point() .0", 0, 0},
        {"sum(1,sum(2,3))+1", "1 2 3 sum/2 sum/2 1 +", 0, 0},
        {"1+", nullptr, -1, -1},
    };
    for (const TCompileCase& c : cases) {
        SCOPED_TRACE(c.text);
        EvaluateErrorCode = 0;
        EvaluateErrorPos = -7;
        EXPRESSION e = CreateExpression(list, c.text);
        if (c.postfix != nullptr) {
            ASSERT_GE(e.count, 0) << "code " << int(EvaluateErrorCode) << " at " << EvaluateErrorPos;
            EXPECT_EQ(Render(e), c.postfix);
        } else {
            EXPECT_EQ(e.count, -1);
            if (c.code >= 0) {
                EXPECT_EQ(EvaluateErrorCode, c.code);
            }
            if (c.position >= 0) {
                EXPECT_EQ(EvaluateErrorPos, c.position);
            }
        }
        FreeExpression(e);
        EXPECT_EQ(list.GetCount(), 7);  // no temporaries left
    }
}

TEST_F(CompilerTest, ArgumentListSplitsAtTheCallsOwnCommas) {
    // Nested calls, quoted commas and sub-expressions stay inside one argument.
    EXPRESSION e = CreateExpression(list, "ssum('a,b',ssum('x',txt),'[[x]]')+'c'");
    EXPECT_EQ(Render(e), "'a,b' 'x' txt ssum/2 '[[x]]' ssum/3 'c' +");
    FreeExpression(e);
    EXPRESSION f = CreateExpression(list, "max(1,pow(2,3),strlen('a,b'))+1");
    EXPECT_EQ(Render(f), "1 2 3 pow 'a,b' strlen() max/3 1 +");
    FreeExpression(f);
}

TEST_F(CompilerTest, StrformatRecordsPlaceholders) {
    EXPRESSION e = CreateExpression(list, "strformat('a{1}b{2}',1,2)");
    ASSERT_EQ(e.count, 4);
    EXPECT_EQ(Render(e), "'ab' 1 2 strformat/3");
    ASSERT_EQ(e.items[3].listCount, 4);
    EXPECT_EQ(e.items[3].list[0], 1);
    EXPECT_EQ(e.items[3].list[1], 1);
    EXPECT_EQ(e.items[3].list[2], 2);
    EXPECT_EQ(e.items[3].list[3], 2);
    FreeExpression(e);
}

TEST_F(CompilerTest, CompiledExpressionsEvaluate) {
    struct {
        const char* text;
        const char* result;
    } cases[] = {
        {"1+2*3", "7"},      {"2^3^2", "512"},         {"-2^2", "4"},
        {"(a+b)*x", "9"},    {"strlen('abc')+1", "4"}, {"max(1,a,3)", "3"},
        {"sum(1,2,3)", "6"}, {"ssum('a','b')", "ab"},  {"to_complex(1,2).im", "2.000000"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        EXPRESSION e = CreateExpression(list, c.text);
        ASSERT_GE(e.count, 0) << int(EvaluateErrorCode);
        TEvalStack stack;
        EXPRVALUE value = EvaluateExpression(list, e, stack, false, nullptr);
        EXPECT_EQ(std::string(FormatResult(value, false).c_str()), c.result);
        EXPECT_EQ(stack.GetCount(), 0);
        FreeExpression(e);
    }
    // Assignments take effect when run; a=b=5 sets both.
    EXPRESSION e = CreateExpression(list, "a=b=5");
    EvaluateExpression(list, e, false, nullptr);
    EXPECT_EQ(list.GetVar("a")->value.i, 5);
    EXPECT_EQ(list.GetVar("b")->value.i, 5);
    FreeExpression(e);
}

TEST_F(CompilerTest, ArgumentsRunOncePerCompilation) {
    EXPRESSION e = CreateExpression(list, "strlen(ssum(txt,'x'))+(a+=1)");
    ASSERT_GE(e.count, 0);
    EXPECT_EQ(list.GetVar("a")->value.i, 1);  // the main expression is only checked
    FreeExpression(e);
    EXPRESSION g = CreateExpression(list, "max(a+=1,0)");
    ASSERT_GE(g.count, 0);
    EXPECT_EQ(list.GetVar("a")->value.i, 2);  // the argument ran once while compiling
    FreeExpression(g);
}

TEST_F(CompilerTest, DeepNestingFailsCleanly) {
    std::string deep;
    for (int k = 0; k < 200; ++k) deep += "[[";
    deep += "1";
    for (int k = 0; k < 200; ++k) deep += "]]";
    EXPRESSION e = CreateExpression(list, deep);
    EXPECT_EQ(e.count, -1);
    std::string parentheses(3000, '(');
    parentheses += "1" + std::string(3000, ')');
    EXPRESSION f = CreateExpression(list, parentheses);
    EXPECT_EQ(Render(f), "1");
    FreeExpression(f);
}

// Long texts: the scan tries only candidates some recognizer could accept.
TEST_F(CompilerTest, LongExpressionsCompile) {
    std::string text = "a";
    while (text.size() < 2000) text += "+b*(x-12345)";
    EXPRESSION e = CreateExpression(list, text);
    EXPECT_GE(e.count, 1);
    FreeExpression(e);
    EXPRESSION f = CreateExpression(list, std::string(2000, 'q'));
    EXPECT_EQ(f.count, -1);
    EXPECT_EQ(EvaluateErrorPos, 0);
}

// Tokens and error positions of texts near the scan's shortcuts: names that
// share first characters, lengths or last characters with others, names
// longer than any table name, non-ASCII and punctuated names, quotes and
// nested sub-expressions. The expected results are those of the plain scan
// that tries every prefix.
TEST_F(CompilerTest, ScanShortcutsKeepTokensAndPositions) {
    const std::string longName(70, 'w');
    list.NewInt(longName, false, 5);
    list.NewInt("n.x", false, 6);
    list.NewInt("\xc3\xa9", false, 7);
    list.NewInt("pix", false, 8);
    struct {
        std::string text;
        std::string result;  // the postfix, or "error code@position"
    } cases[] = {
        {longName + "+1", longName.substr(0, 63) + " 1 +"},  // the rendering cuts names at 63
        {longName + "w", "error 17@70"},
        {"n.x*2", "n.x 2 *"},
        {"pix+pi", "pix 3.14159r +"},
        {"pi+pix", "3.14159r pix +"},
        {"\xc3\xa9+1", "\xc3\xa9 1 +"},
        {"\xc3\xa9\xc3\xa9", "error 1@2"},
        {"a+?", "error 17@2"},
        {"a+strlen(", "error 17@2"},
        {"strlenx", "error 17@0"},
        {"[[a+[[1]]]]", "error 3@0"},
        {"[[1]][[2]]", "[[1]] [[2]]"},
        {"'it''s'", "error 15@4"},
        {"'a]]'+'[['", "'a]]' '[[' +"},
        {"[['x']]", "[['x']]"},
        {"txt['\\t']='y'+txt[w]!='z'", "error 21@-7"},
        {"1.5.2", "error 0@3"},
        {"@16@ff.8+0b1.1", "255.5r 1.5r +"},
        {"sinh(1)+sin(1)", "1 sinh 1 sin +"},
        {"ssum(txt,'a')+strlen2", "txt 'a' ssum/2 strlen2 +"},
        {"max(1,2", "error 18@-7"},
        {"v[1]+m[1,2].x", "error 27@-7"},
        {"summa(1,3,i)+dsumma(1,2,0,d*i)", "error 17@0"},
        {"summa(1,3,[[i]])", "1 3 [[pix]] summa()"},
        {"summa(1,3,[[2]])+1", "1 3 [[2]] summa() 1 +"},
        {"a<<=1", "error 4@3"},
        {"a<=>b", "error 4@3"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        EvaluateErrorCode = 0;
        EvaluateErrorPos = -7;
        EXPRESSION e = CreateExpression(list, c.text);
        const std::string result = e.count >= 0 ? Render(e)
                                                : "error " + std::to_string(EvaluateErrorCode) + "@" +
                                                      std::to_string(EvaluateErrorPos);
        EXPECT_EQ(result, c.result);
        FreeExpression(e);
    }
}

TEST(FreeExpressionTest, EmptyExpressionFreesItsArray) {
    EXPRESSION e;
    e.count = 0;
    e.items = new EXPRESSION_ITEM[1];
    FreeExpression(e);  // the sanitizer build reports a leak if the array stays
}

}  // namespace
