// Tests of the array statements' compile side: payloads, variable references, errors and the saved form.
#include "KroTestSupport.h"

namespace {

// Arrays of every shape the statements check against, and a scalar.
const std::string kArrays = "int a[], b[]\nint g[2,3]\nstring s[]\nint n\npoint p[]\n";
constexpr int kDeclarations = 6;  // tokens that kArrays appends

class ArrayStatementsTest : public KroCompileTest {
protected:
    // Compiles kArrays and the text; the record of the first array
    // statement after the declarations, or null.
    const TStatementArgs* CompileLine(const std::string& text) {
        if (!Compile(kArrays + text)) return nullptr;
        for (int i = kDeclarations; i < program.tokens.GetCount(); ++i)
            if (const TStatementArgs* args = program.tokens[i]->Record<TStatementArgs>()) return args;
        return nullptr;
    }
};

TEST_F(ArrayStatementsTest, EachStatementStoresItsArraysAndExpressions) {
    // Top-level arrays are absolute references counted from the first one.
    const struct {
        const char* line;
        int type;
        std::vector<int> variables;
        int expressions;
    } cases[] = {
        {"dim a, 5", ttDim, {0}, 1},
        {"dim g, 4, n + 1", ttDim2, {2}, 2},
        {"a_filter b", ttArrayFilter, {1}, 0},
        {"a_add a, n * 2", ttArrayAdd, {0}, 1},
        {"a_insert a, 0, 7", ttArrayInsert, {0}, 2},
        {"a_delete b, 1", ttArrayDelete, {1}, 1},
        {"a_reverse a, s, b", ttArrayReverse, {0, 3, 1}, 0},
        {"a_fill s, 'x'", ttArrayFill, {3}, 1},
        {"a_getitems a, 1, 2, b", ttArrayGetItems, {0, 1}, 2},
        {"a_getline g, 1, a", ttArrayGetLine, {2, 0}, 1},
        {"a_getcol g, 2, b", ttArrayGetColumn, {2, 1}, 1},
        {"a_exchange b, 0, 1", ttArrayExchange, {1}, 2},
        {"a_assign a, {1, n, f(2)}", ttArrayAssign, {0}, 3},
    };
    for (const auto& c : cases) {
        const TStatementArgs* args = CompileLine(std::string("func int f(int x)\nreturn x\nend\n") + c.line);
        ASSERT_NE(args, nullptr) << c.line;
        EXPECT_EQ(Types().back(), c.type) << c.line;
        EXPECT_EQ(args->type, c.type) << c.line;
        ASSERT_EQ(args->variables.size(), c.variables.size()) << c.line;
        for (size_t k = 0; k < c.variables.size(); ++k) {
            EXPECT_EQ(args->variables[k].index, c.variables[k]) << c.line;
            EXPECT_EQ(args->variables[k].absolute, 1) << c.line;
        }
        EXPECT_EQ(args->expressions.Count(), c.expressions) << c.line;
    }
}

TEST_F(ArrayStatementsTest, SortOrderIsAscendingUnlessDesc) {
    const struct {
        const char* line;
        uint8_t ascending;
    } cases[] = {{"a_sort a, desc", 0}, {"a_sort a, asc", 1}, {"a_sort a, DESC", 1}, {"a_sort a, 'desc'", 1}};
    for (const auto& c : cases) {
        const TStatementArgs* args = CompileLine(c.line);
        ASSERT_NE(args, nullptr) << c.line << " " << KRO_ErrorCode << " " << KRO_ErrorLine;
        EXPECT_EQ(args->flag, c.ascending) << c.line;
    }
}

TEST_F(ArrayStatementsTest, NewestArrayOfANameIsMeantAndLocalsAreRelative) {
    const TStatementArgs* add = CompileLine("block\nint z\ndouble a[]\nint y\na_add a, 1.5\nend");
    ASSERT_NE(add, nullptr);
    ASSERT_EQ(add->variables.size(), 1u);
    // Counted back from the newest variable: y is 0, a is 1.
    EXPECT_EQ(add->variables[0].index, 1);
    EXPECT_EQ(add->variables[0].absolute, 0);
}

TEST_F(ArrayStatementsTest, AssignTakesValuesOfTheItemType) {
    const TStatementArgs* args = CompileLine("a_assign p, {{1, 2}, {3, n}}");
    ASSERT_NE(args, nullptr) << KRO_ErrorCode << " " << KRO_ErrorLine;
    EXPECT_EQ(args->expressions.Count(), 2);
    EXPECT_EQ(CompileLine("a_assign p, {1, 2}"), nullptr);
    EXPECT_EQ(KRO_ErrorCode, 6);
}

TEST_F(ArrayStatementsTest, EveryCheckFailsWithItsCode) {
    const struct {
        const char* line;
        int code;
    } cases[] = {
        {"dim", 31},
        {"dim , 3", 31},
        {"dim n, 3", 32},
        {"dim missing, 3", 32},
        {"dim a", 33},
        {"dim a, 1, 2", 33},
        {"dim g, 3", 33},
        {"dim a, 1 +", 10},
        {"dim g, 2, )", 10},
        {"a_filter", 34},
        {"a_filter n", 34},
        {"a_filter g", 34},
        {"a_filter a, b", 34},
        {"a_add a", 35},
        {"a_add a, 1, 2", 35},
        {"a_add n, 1", 34},
        {"a_add missing, 1", 34},
        {"a_add a, 1 +", 10},
        {"a_add a,", 10},
        {"a_insert a, 1", 35},
        {"a_insert g, 1, 2", 34},
        {"a_insert a, 1, (", 10},
        {"a_delete a", 35},
        {"a_delete s, )", 10},
        {"a_reverse", 34},
        {"a_reverse a, n", 34},
        {"a_reverse a, , b", 34},
        {"a_fill a", 35},
        {"a_fill g, 1", 34},
        {"a_sort a", 35},
        {"a_sort n, desc", 34},
        {"a_getitems a, 0, 1", 35},
        {"a_getitems n, 0, 1, a", 19},
        {"a_getitems a, 0, 1, g", 19},
        {"a_getitems a, 0, 1, s", 36},
        {"a_getitems a, 0, ), b", 10},
        {"a_getline g, 0", 35},
        {"a_getline a, 0, b", 34},
        {"a_getline g, 0, g", 34},
        {"a_getline g, 0, s", 36},
        {"a_getline g, ), a", 10},
        {"a_getcol g, 0, n", 34},
        {"a_getcol g, 0, p", 36},
        {"a_exchange a, 1", 35},
        {"a_exchange n, 1, 2", 34},
        {"a_exchange a, 1, )", 10},
        {"a_assign a", 35},
        {"a_assign missing, {1}", 34},
        {"a_assign n, {1}", 36},
        {"a_assign g, {1}", 36},
        {"a_assign a, 1", 7},
        {"a_assign a, {1} + 1", 7},
        {"a_assign a, {}", 3},
        {"a_assign a, {1, 2 +}", 6},
        {"a_assign a, {1, , 2}", 6},
    };
    for (const auto& c : cases) {
        EXPECT_FALSE(Compile(kArrays + c.line)) << c.line;
        EXPECT_EQ(KRO_ErrorCode, c.code) << c.line;
        EXPECT_EQ(KRO_ErrorLine, 6) << c.line;
    }
}

TEST_F(ArrayStatementsTest, EveryPayloadSurvivesSaveAndLoad) {
    ASSERT_TRUE(Compile(kArrays +
                        "dim a, 5\ndim g, 4, n + 1\na_filter b\na_add a, 2\na_insert a, 0, 7\na_delete b, 1\n"
                        "a_reverse a, s, b\na_fill s, 'x'\na_sort a, desc\na_getitems a, 1, 2, b\n"
                        "a_getline g, 1, a\na_getcol g, 2, b\na_exchange b, 0, 1\na_assign p, {{1, 2}, {3, 4}}"));
    TProgram loaded;
    ASSERT_TRUE(ReloadProgram(program, loaded));
    ASSERT_EQ(loaded.tokens.GetCount(), program.tokens.GetCount());
    for (int i = kDeclarations; i < program.tokens.GetCount(); ++i) {
        const TStatementArgs* before = program.tokens[i]->Record<TStatementArgs>();
        const TStatementArgs* after = loaded.tokens[i]->Record<TStatementArgs>();
        ASSERT_NE(after, nullptr) << i;
        EXPECT_EQ(after->type, before->type);
        ASSERT_EQ(after->variables.size(), before->variables.size()) << i;
        for (size_t k = 0; k < before->variables.size(); ++k) {
            EXPECT_EQ(after->variables[k].index, before->variables[k].index);
            EXPECT_EQ(after->variables[k].absolute, before->variables[k].absolute);
        }
        EXPECT_EQ(after->expressions.Count(), before->expressions.Count()) << i;
        EXPECT_EQ(after->flag, before->flag) << i;
    }
}

}  // namespace
