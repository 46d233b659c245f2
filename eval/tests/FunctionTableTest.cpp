// Tests of the built-in function table and its dispatcher: every position's registration, compiling calls, argument checks and a clean stack.
#include <gtest/gtest.h>

#include <set>
#include <string>

#include "BuiltinTestSupport.h"
#include "StackRoutines.h"

namespace {

using builtin_test::BuiltinTest;

struct TExpectedRow {
    int position;
    const char* name;
    const char* alias;
    TVariableType result;
    const char* parameters;
    TExpressionItemType pushed;
    TVariableType arrayItemType;
    TVariableType variableType;
};

// A built-in's position is its identity in stored expressions: this table
// pins every one of them.
const TExpectedRow kExpected[] = {
    {0, "array_count", "acount", 2, "4", 1, 0, 0},
    {1, "array_linecount", "alinec", 2, "5", 1, 0, 0},
    {2, "array_colcount", "acolc", 2, "5", 1, 0, 0},
    {3, "array_sum", "asum", 3, "4", 3, 0, 0},
    {4, "array_ave", "aave", 3, "4", 3, 0, 0},
    {5, "array_min", "amin", 3, "4", 3, 0, 0},
    {6, "array_max", "amax", 3, "4", 3, 0, 0},
    {7, "to_point", "", 4, "00", 21, 0, 0},
    {8, "to_complex", "", 4, "00", 22, 0, 0},
    {9, "strlen", "str_len", 2, "3", 1, 0, 0},
    {10, "str_int", "", 2, "3", 1, 0, 0},
    {11, "str_double", "", 6, "3", 3, 0, 0},
    {12, "strcmp", "str_cmp", 2, "33", 1, 0, 0},
    {13, "strpos", "str_pos", 2, "33", 1, 0, 0},
    {14, "strupper", "str_upper", 6, "3", 20, 0, 0},
    {15, "strlower", "str_lower", 6, "3", 20, 0, 0},
    {16, "strrev", "str_rev", 6, "3", 20, 0, 0},
    {17, "substr", "str_substr", 6, "300", 20, 0, 0},
    {18, "strcat_obsolete", "str_cat", 6, "33", 20, 0, 0},
    {19, "strmul", "str_mul", 6, "30", 20, 0, 0},
    {20, "strfilter", "str_filter", 6, "33", 20, 0, 0},
    {21, "asctime", "", 6, "", 20, 0, 0},
    {22, "t_sec", "", 2, "", 1, 0, 0},
    {23, "t_min", "", 2, "", 1, 0, 0},
    {24, "t_hour", "", 2, "", 1, 0, 0},
    {25, "t_monthday", "", 2, "", 1, 0, 0},
    {26, "t_month", "", 2, "", 1, 0, 0},
    {27, "t_year", "", 2, "", 1, 0, 0},
    {28, "t_weekday", "", 2, "", 1, 0, 0},
    {29, "t_weekdayname", "", 6, "", 20, 0, 0},
    {30, "t_yearday", "", 2, "", 1, 0, 0},
    {31, "messagebox", "", 2, "330", 1, 0, 0},
    {32, "readstring", "", 2, "3330", 1, 0, 0},
    {33, "cx_exp", "", 5, "2", 22, 0, 0},
    {34, "cx_log", "", 5, "2", 22, 0, 0},
    {35, "cx_sinh", "", 5, "2", 22, 0, 0},
    {36, "cx_cosh", "", 5, "2", 22, 0, 0},
    {37, "cx_tanh", "", 5, "2", 22, 0, 0},
    {38, "cx_abs", "", 3, "2", 3, 0, 0},
    {39, "cx_arcus", "", 3, "2", 3, 0, 0},
    {40, "cx_sqrt", "", 5, "2", 22, 0, 0},
    {41, "cx_dmul", "", 5, "20", 22, 0, 0},
    {42, "angle", "", 3, "11", 3, 0, 0},
    {43, "rotate_radius", "", 4, "100", 21, 0, 0},
    {44, "rotate_point", "", 4, "110", 21, 0, 0},
    {45, "intersection_point", "", 2, "111110", 1, 0, 0},
    {46, "point_in_polygon", "", 2, "14", 1, vtPoint, 0},
    {47, "GetFileName", "", 2, "343", 1, vtString, 0},
    {48, "OpenFile", "", 2, "300", 1, 0, 0},
    {49, "CloseFile", "", 2, "0", 1, 0, 0},
    {50, "WriteString", "", 2, "03", 1, 0, 0},
    {51, "WriteLine", "", 2, "03", 1, 0, 0},
    {52, "ReadLine", "", 2, "03", 1, 0, 0},
    {53, "ReadFile", "", 2, "04", 1, vtString, 0},
    {54, "pnt", "", 4, "00", 21, 0, 0},
    {55, "cmplx", "", 5, "00", 22, 0, 0},
    {56, "integrate", "", 3, "760000", 3, 0, vtDouble},
    {57, "binary", "", 6, "0", 20, 0, 0},
    {58, "octal", "", 6, "0", 20, 0, 0},
    {59, "hexa", "", 6, "0", 20, 0, 0},
    {60, "base", "", 6, "00", 20, 0, 0},
    {61, "strcont", "str_cont", 2, "33", 1, 0, 0},
    {62, "str_prev", "str_before", 6, "33", 20, 0, 0},
    {63, "str_next", "str_after", 6, "33", 20, 0, 0},
    {64, "str_trim_right", "str_trr", 6, "33", 20, 0, 0},
    {65, "str_trim_left", "str_trl", 6, "33", 20, 0, 0},
    {66, "str_trim", "strtrim", 6, "33", 20, 0, 0},
    {67, "strcond", "str_cond", 6, "033", 20, 0, 0},
    {68, "psubstr", "str_pos_substr", 6, "300", 20, 0, 0},
    {69, "isnumber", "is_number", 2, "3", 1, 0, 0},
    {70, "strcheck", "str_check", 2, "33", 1, 0, 0},
    {71, "strlcheck", "str_lcheck", 2, "3300", 1, 0, 0},
    {72, "strtok", "str_token", 6, "330", 20, 0, 0},
    {73, "array_item", "aitem", 2, "48", 1, 0, 0},
    {74, "strfirst", "str_first", 2, "3", 1, 0, 0},
    {75, "strlast", "str_last", 2, "3", 1, 0, 0},
    {76, "strchar", "str_char", 2, "30", 1, 0, 0},
    {77, "derive", "", 6, "76", 20, 0, vtDouble},
    {78, "tokenize", "", 2, "334", 1, 0, 0},
    {79, "intcond", "int_cond", 2, "000", 1, 0, 0},
    {80, "get_file_size", "", 2, "3", 1, 0, 0},
    {81, "str_replace", "", 6, "333", 20, 0, 0},
    {82, "time_cmp", "", 2, "33", 1, 0, 0},
    {83, "dec", "", 2, "30", 1, 0, 0},
    {84, "str_pad_right", "strpadr", 6, "330", 20, 0, 0},
    {85, "str_pad_left", "strpadl", 6, "330", 20, 0, 0},
    {86, "a_isum", "", 2, "50000", 1, 0, 0},
    {87, "a_dsum", "", 3, "50000", 3, 0, 0},
    {88, "str_noacc", "noacc", 6, "3", 20, 0, 0},
    {89, "load_file", "", 2, "336", 1, 0, 1},
    {90, "strntok", "", 6, "330", 20, 0, 0},
    {91, "aif", "", 2, "068", 1, 0, 1},
    {92, "str_left", "strleft", 6, "30", 20, 0, 0},
    {93, "str_right", "strright", 6, "30", 20, 0, 0},
    {94, "str_nums", "strnums", 6, "30", 20, 0, 0},
    {95, "str_tok2", "strtok2", 6, "3300", 20, 0, 0},
    {96, "str_tok3", "strtok3", 6, "33000", 20, 0, 0},
    {97, "str_tok_xchg", "strtokxchg", 6, "3300", 20, 0, 0},
    {98, "str_word", "strword", 6, "30", 20, 0, 0},
    {99, "str_word_sep", "strwords", 6, "330", 20, 0, 0},
    {100, "str_tokn", "strtokn", 6, "330", 20, 0, 0},
    {101, "str_npos", "strnpos", 2, "330", 1, 0, 0},
    {102, "str_char_replace", "strcrep", 6, "333", 20, 0, 0},
    {103, "str_insert", "strins", 6, "330", 20, 0, 0},
    {104, "str_delete", "strdel", 6, "300", 20, 0, 0},
    {105, "str_token_pos", "strtokpos", 2, "330", 1, 0, 0},
    {106, "str_word_pos", "strwordpos", 2, "30", 1, 0, 0},
    {107, "str_word_pos_sep", "strwordposs", 2, "330", 1, 0, 0},
    {108, "str_set_token", "settok", 6, "3303", 20, 0, 0},
    {109, "tabs2spaces", "t2s", 6, "30", 20, 0, 0},
    {110, "tabs2chars", "t2c", 6, "303", 20, 0, 0},
    {111, "getcwd", "", 6, "", 20, 0, 0},
    {112, "str_set_word", "setword", 6, "303", 20, 0, 0},
    {113, "drand", "", 3, "", 3, 0, 0},
    {114, "system", "", 2, "3", 1, 0, 0},
    {115, "getenv", "", 6, "3", 20, 0, 0},
    {116, "str_gettokens", "get_tokens", 2, "334", 1, vtString, 0},
    {117, "str_cnt", "strcnt", 2, "33", 1, 0, 0},
    {118, "str_lev_dist", "strlev", 2, "33", 1, 0, 0},
    {119, "isof", "", 2, "33", 1, 0, 0},
    {120, "str_begins", "strbegins", 2, "33", 1, 0, 0},
    {121, "str_ends", "strends", 2, "33", 1, 0, 0},
    {122, "capitalize", "", 6, "3", 20, 0, 0},
    {123, "summa", "", 2, "007", 1, 0, 0},
    {124, "product", "", 2, "007", 1, 0, 0},
    {125, "strbeg", "", 6, "30", 20, 0, 0},
    {126, "strend", "", 6, "30", 20, 0, 0},
    {127, "xctok", "", 6, "30", 20, 0, 0},
    {128, "nstrpos", "", 2, "3030", 1, 0, 0},
    {129, "nstrendpos", "", 2, "3030", 1, 0, 0},
    {130, "strendpos", "str_end_pos", 2, "33", 1, 0, 0},
    {131, "dsumma", "", 3, "0007", 3, 0, 0},
    {132, "dproduct", "", 3, "0007", 3, 0, 0},
    {133, "strwcont", "", 2, "33", 1, 0, 0},
    {134, "strgetword", "", 6, "30", 20, 0, 0},
    {135, "isupper", "", 6, "3", 1, 0, 0},
    {136, "islower", "", 6, "3", 1, 0, 0},
    {137, "str_any_tok", "stranytok", 6, "337", 1, 0, 0},
    {138, "str_all_tok", "stralltok", 6, "337", 1, 0, 0},
    {139, "str_none_tok", "strnonetok", 6, "337", 1, 0, 0},
    {140, "str_any_word", "stranyword", 6, "37", 1, 0, 0},
    {141, "str_all_word", "strallword", 6, "37", 1, 0, 0},
    {142, "str_none_word", "strnoneword", 6, "37", 1, 0, 0},
    {143, "strw2t", "", 6, "33", 20, 0, 0},
    {144, "str_iota", "striota", 6, "07", 20, 0, 0},
    {145, "str_token_convert", "strtconv", 6, "337", 20, 0, 0},
    {146, "str_word_convert", "strwconv", 6, "37", 20, 0, 0},
    {147, "array_convert", "aconvert", 2, "47", 1, 1, 0},
    {148, "array_filter", "afilt", 2, "447", 1, 0, 0},
    {149, "array_calc", "acalc", 2, "477", 1, 0, 0},
    {150, "str_token_count", "strtcount", 2, "33", 1, 0, 0},
    {151, "str_word_count", "strwcount", 2, "3", 1, 0, 0},
};

TEST(FunctionTableTest, EveryPositionIsRegisteredAsStored) {
    ASSERT_EQ(BuiltinFunctionCount(), 152);
    ASSERT_EQ(sizeof(kExpected) / sizeof(kExpected[0]), 152u);
    for (const TExpectedRow& row : kExpected) {
        const TMultiFunction* f = MultiFunctions()[row.position];
        ASSERT_NE(f, nullptr) << row.position;
        EXPECT_EQ(std::string(f->name.c_str()), row.name) << row.position;
        EXPECT_EQ(std::string(f->alias.c_str()), row.alias) << row.position;
        EXPECT_EQ(f->resultType, row.result) << row.name;
        std::string parameters;
        for (int k = 0; k < f->GetCount(); ++k) parameters += static_cast<char>('0' + f->GetParamType(k));
        EXPECT_EQ(parameters, row.parameters) << row.name;
        EXPECT_EQ(f->pushedKind, row.pushed) << row.name;
        EXPECT_EQ(f->arrayItemType, row.arrayItemType) << row.name;
        EXPECT_EQ(f->variableType, row.variableType) << row.name;
        EXPECT_EQ(MultiFunctions().Find(row.name), row.position) << row.name;
        if (*row.alias != '\0') {
            EXPECT_EQ(MultiFunctions().Find(row.alias), row.position) << row.alias;
        }
    }
}

// Flags decide what may run where nothing outside may be touched and which
// calls a constant folder may compute once, so every entry of both tables is
// pinned: the outside ones, the impure ones that stay inside, the pure rest.
TEST(FunctionTableTest, FlagsMarkWhatReachesOutsideAndWhatIsImpure) {
    const std::set<std::string> outside = {
        "asctime", "t_sec", "t_min", "t_hour", "t_monthday", "t_month", "t_year", "t_weekday", "t_weekdayname",
        "t_yearday", "messagebox", "readstring", "GetFileName", "OpenFile", "CloseFile", "WriteString",
        "WriteLine", "ReadLine", "ReadFile", "get_file_size", "load_file", "getcwd", "system", "getenv", "print"};
    const std::set<std::string> impureInside = {"intersection_point", "tokenize", "aif", "drand", "str_gettokens",
                                                "array_convert", "array_filter", "gettokens", "rand", "getmin",
                                                "getmax", "parse"};
    const auto expected = [&](const std::string& name) -> TBuiltinFlags {
        if (outside.count(name) > 0) return bfReachesOutside | bfImpure;
        return impureInside.count(name) > 0 ? bfImpure : 0;
    };
    std::set<std::string> seen;
    for (int i = 0; i < BuiltinFunctionCount(); ++i) {
        const TMultiFunction* f = MultiFunctions()[i];
        EXPECT_EQ(f->flags, expected(f->name.c_str())) << f->name.c_str();
        seen.insert(f->name.c_str());
    }
    for (int i = 0; i < VarFunctions().GetCount(); ++i) {
        const TVarFunction* f = VarFunctions()[i];
        EXPECT_EQ(f->flags, expected(f->name.c_str())) << f->name.c_str();
        seen.insert(f->name.c_str());
    }
    for (const std::string& name : outside) EXPECT_EQ(seen.count(name), 1u) << name;
    for (const std::string& name : impureInside) EXPECT_EQ(seen.count(name), 1u) << name;
}

class FunctionCompileTest : public BuiltinTest {
protected:
    void SetUp() override {
        list.NewArray("v", vtInt, false);
        list.NewArray("reals", vtDouble, false);
        list.NewArray("corners", vtPoint, false);
        list.NewArray("filters", vtString, false);
        list.NewArray2("m", vtInt, false);
        list.NewString("name", false, "");
        list.NewInt("a", false, 1);
    }

    bool Compiles(const char* text) {
        EXPRESSION e = CreateExpression(list, text);
        const bool compiled = e.count >= 0;
        FreeExpression(e);
        return compiled;
    }
};

TEST_F(FunctionCompileTest, AnAliasCompilesToTheSamePositionAsTheName) {
    EXPRESSION byName = CreateExpression(list, "strlen('abc')");
    EXPRESSION byAlias = CreateExpression(list, "str_len('abc')");
    ASSERT_EQ(byName.count, 2);
    ASSERT_EQ(byAlias.count, 2);
    EXPECT_EQ(byName.items[1].kind, ekBuiltinFunction);
    EXPECT_EQ(byAlias.items[1].value.code.index, byName.items[1].value.code.index);
    EXPECT_EQ(byName.items[1].value.code.index, 9);
    FreeExpression(byName);
    FreeExpression(byAlias);
}

TEST_F(FunctionCompileTest, WrongArgumentCountFailsAtTheName) {
    for (const char* text : {"a+strlen('a','b')", "a+strlen()", "a+substr('abc',1)"}) {
        EvaluateErrorCode = 0;
        EvaluateErrorPos = -1;
        EXPECT_FALSE(Compiles(text)) << text;
        EXPECT_EQ(EvaluateErrorCode, eeUnknownSymbol) << text;
        EXPECT_EQ(EvaluateErrorPos, 2) << text;
    }
}

TEST_F(FunctionCompileTest, ArraysMustHaveTheDeclaredDimensionAndItemType) {
    EXPECT_TRUE(Compiles("array_count(v)"));
    EXPECT_FALSE(Compiles("array_count(m)"));
    EXPECT_TRUE(Compiles("array_linecount(m)"));
    EXPECT_FALSE(Compiles("array_linecount(v)"));
    EXPECT_TRUE(Compiles("point_in_polygon(to_point(1,2),corners)"));
    EXPECT_FALSE(Compiles("point_in_polygon(to_point(1,2),reals)"));
    EXPECT_TRUE(Compiles("array_sum(reals)"));
}

TEST_F(FunctionCompileTest, AFunctionWithoutParametersNeedsEmptyParentheses) {
    EXPECT_TRUE(Compiles("asctime()"));
    EXPRESSION bare = CreateExpression(list, "asctime");
    if (bare.count >= 0) {
        for (int k = 0; k < bare.count; ++k) EXPECT_NE(bare.items[k].kind, ekBuiltinFunction);
    }
    FreeExpression(bare);
}

TEST_F(FunctionCompileTest, ATargetTextMustComeFromAVariable) {
    EvaluateErrorCode = 0;
    EXPECT_FALSE(Compiles("GetFileName('t',filters,'x')"));
    EXPECT_EQ(EvaluateErrorCode, eeMissingVariable);
    EXPECT_TRUE(Compiles("GetFileName('t',filters,name)"));
}

// The check pass of GetFileName with a constant target, called directly.
TEST_F(FunctionCompileTest, TheCheckPassReportsAMissingTargetVariable) {
    EXPRESSION_ITEM title = MakeItem(ekOwnedText);
    title.value.text.text = new TString("t");
    title.ref.index = -1;
    stack.Push(title, false);
    EXPRESSION_ITEM filters = MakeItem(ekArray);
    filters.value.variable.reference = list.V_Index(list.GetVarIndex("filters"));
    filters.value.variable.absolute = false;
    filters.ref.index = -1;
    stack.Push(filters, false);
    EXPRESSION_ITEM target = MakeItem(ekOwnedText);
    target.value.text.text = new TString("x");
    target.ref.index = -1;
    stack.Push(target, false);
    EXPRESSION_ITEM call = MakeItem(ekBuiltinFunction);
    call.value.code.index = 47;
    EvaluateErrorCode = 0;
    EvaluateMultiFunction(list, call, stack, true);
    ASSERT_EQ(stack.GetCount(), 1);
    EXPECT_EQ(stack.Top(0)->kind, ekError);
    EXPECT_EQ(EvaluateErrorCode, eeMissingVariable);
    stack.Pop(1);
}

// Argument items of every kind a parameter can have, pushed for a call.
class FunctionDispatchTest : public FunctionCompileTest {
protected:
    void SetUp() override {
        FunctionCompileTest::SetUp();
        list.NewDouble("d", false, 0.5);
        list.NewArray("words", vtString, false);
        list.NewPoint("spot", false);
    }

    EXPRESSION_ITEM Reference(TExpressionItemType kind, const char* name) {
        EXPRESSION_ITEM item = MakeItem(kind);
        item.value.variable.reference = list.V_Index(list.GetVarIndex(name));
        item.value.variable.absolute = false;
        item.value.variable.byReference = true;
        item.ref.index = -1;
        return item;
    }

    void PushArgument(const TMultiFunction& f, int k) {
        EXPRESSION_ITEM item = MakeIntegerItem(1);
        switch (f.GetParamType(k)) {
            case fpPoint: item = MakeItem(ekPoint); break;
            case fpComplex: item = MakeItem(ekComplex); break;
            case fpString:
                item = MakeItem(ekOwnedText);
                item.value.text.text = new TString("a|b");
                break;
            case fpArray:
                item = Reference(ekArray, f.arrayItemType == vtPoint ? "corners" : "words");
                break;
            case fpArray2: item = Reference(ekArray2, "m"); break;
            case fpVariable: item = Reference(ekVariable, f.variableType == vtDouble ? "d" : "name"); break;
            case fpExpression: item = MakeItem(ekSubExpression); break;
            default: break;
        }
        // Texts and points come from variables, as targets must.
        item.ref.index = f.GetParamType(k) == fpString  ? list.GetVarIndex("name")
                         : f.GetParamType(k) == fpPoint ? list.GetVarIndex("spot")
                                                        : -1;
        stack.Push(item, false);
    }

    // Pushes arguments, calls position, checks one item replaced them.
    EXPRESSION_ITEM Call(int position, bool check) {
        const TMultiFunction& f = *MultiFunctions()[position];
        for (int k = 0; k < f.GetCount(); ++k) PushArgument(f, k);
        EXPRESSION_ITEM call = MakeItem(ekBuiltinFunction);
        call.value.code.index = position;
        EvaluateMultiFunction(list, call, stack, check);
        EXPECT_EQ(stack.GetCount(), 1) << f.name.c_str();
        EXPRESSION_ITEM result = *stack.Top(0);
        stack.Pop(1);
        EXPECT_EQ(stack.GetLentStringCount(), 0) << f.name.c_str();
        return result;
    }
};

TEST_F(FunctionDispatchTest, EveryCallLeavesOneItemInBothPasses) {
    // Dialogs, the command interpreter and file writes act outside the test.
    const std::set<int> outward = {31, 32, 47, 48, 50, 51, 114};
    for (int position = 0; position < BuiltinFunctionCount(); ++position) {
        const EXPRESSION_ITEM checked = Call(position, true);
        EXPECT_EQ(checked.kind, MultiFunctions()[position]->pushedKind == ekOwnedText
                                    ? ekBufferedText
                                    : MultiFunctions()[position]->pushedKind)
            << position;
        if (outward.count(position) == 0) Call(position, false);
    }
}

TEST_F(FunctionDispatchTest, APositionOutsideTheTableFailsAndPopsNothing) {
    for (int position : {-1, 100000}) {
        stack.Push(MakeIntegerItem(7), false);
        EXPRESSION_ITEM call = MakeItem(ekBuiltinFunction);
        call.value.code.index = position;
        EvaluateErrorCode = 0;
        EvaluateMultiFunction(list, call, stack, false);
        ASSERT_EQ(stack.GetCount(), 2);
        EXPECT_EQ(stack.Top(0)->kind, ekError);
        EXPECT_EQ(EvaluateErrorCode, eeUnknownSymbol);
        EXPECT_EQ(stack.Top(1)->value.integer, 7);
        stack.Pop(2);
    }
}

TEST_F(FunctionDispatchTest, AnAddedPositionWithoutHandlerFailsTheCheckAndGivesZero) {
    TMultiFunction* lonely = new TMultiFunction("lonely_builtin", vtInt);
    lonely->AddParam(fpNumber);
    const int position = AddMultiFunction(lonely);
    EvaluateErrorCode = 0;
    EXPRESSION_ITEM checked = Call(position, true);
    EXPECT_EQ(checked.kind, ekError);
    EXPECT_EQ(EvaluateErrorCode, eeUnknownSymbol);
    EXPRESSION_ITEM run = Call(position, false);
    EXPECT_EQ(run.kind, ekInteger);
    EXPECT_EQ(run.value.integer, 0);
}

TEST_F(FunctionDispatchTest, DamagedReferencesFindNoArray) {
    for (int32_t reference : {INT32_MIN, INT32_MAX, -1}) {
        for (bool absolute : {false, true}) {
            EXPRESSION_ITEM array = Reference(ekArray, "v");
            array.value.variable.reference = reference;
            array.value.variable.absolute = absolute;
            stack.Push(array, false);
            EXPRESSION_ITEM call = MakeItem(ekBuiltinFunction);
            call.value.code.index = 0;  // array_count
            EvaluateErrorCode = 0;
            EvaluateMultiFunction(list, call, stack, false);
            ASSERT_EQ(stack.GetCount(), 1);
            EXPECT_EQ(stack.Top(0)->kind, ekError) << reference;
            EXPECT_EQ(EvaluateErrorCode, eeArrayMissing) << reference;
            stack.Pop(1);
        }
    }
}

// A stored expression outlives the variables it names: when an array or
// variable argument now designates something else, the call fails cleanly.
TEST_F(FunctionDispatchTest, ArgumentsWhoseVariablesChangedSinceCompilingAreRefused) {
    struct TCase {
        const char* text;
        TVariableType replacement;
        TVariableType itemType;
        int code;
    };
    const TCase cases[] = {
        {"array_count(late)", vtInt, 0, eeArrayMissing},
        {"array_count(late)", vtArray2, vtInt, eeArrayDimension},
        {"array_linecount(late)", vtArray, vtInt, eeArrayDimension},
        {"point_in_polygon(to_point(1,2),late)", vtArray, vtDouble, eeWrongArrayItemType},
        {"derive([[late*2]],late)", vtString, 0, eeMissingVariable},
    };
    for (const TCase& c : cases) {
        const bool twoD = std::string(c.text).find("linecount") != std::string::npos;
        const bool variable = std::string(c.text).find("derive") != std::string::npos;
        if (variable)
            list.NewDouble("late", false, 1.0);
        else if (twoD)
            list.NewArray2("late", vtInt, false);
        else
            list.NewArray("late", std::string(c.text).find("polygon") != std::string::npos ? vtPoint : vtInt, false);
        EXPRESSION e = CreateExpression(list, c.text);
        ASSERT_GE(e.count, 0) << c.text;
        list.DeleteVar("late");
        if (c.replacement == vtArray)
            list.NewArray("late", c.itemType, false);
        else if (c.replacement == vtArray2)
            list.NewArray2("late", c.itemType, false);
        else
            list.NewVar("late", c.replacement, false);
        EvaluateErrorCode = 0;
        const EXPRVALUE checked = EvaluateExpression(list, e, stack, true, nullptr);
        EXPECT_EQ(checked.kind, ekError) << c.text;
        EXPECT_EQ(EvaluateErrorCode, c.code) << c.text;
        const EXPRVALUE run = EvaluateExpression(list, e, stack, false, nullptr);
        EXPECT_NE(run.kind, ekInteger) << c.text;
        EXPECT_EQ(stack.GetCount(), 0) << c.text;
        FreeExpression(e);
        list.DeleteVar("late");
    }
}

}  // namespace
