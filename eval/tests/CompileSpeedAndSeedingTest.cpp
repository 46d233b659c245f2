// Tests that compiling leaves the shared random sequence running and that the function name index finds names, aliases and later additions.
#include <gtest/gtest.h>

#include "EvalStack.h"
#include "EvaluateEngine.h"
#include "ExpressionCompiler.h"
#include "FunctionTable.h"
#include "RandomNumbers.h"

namespace {

TEST(CompileSeedingTest, CompilesInARowDoNotRestartTheSequence) {
    TVariableList list;
    list.NewInt("a", false, 1);
    EXPRESSION warmUp = CreateExpression(list, "a");  // a thread's first compile makes its stack
    FreeExpression(warmUp);
    MTRand_int32 generator;
    generator.Seed(1234);
    const uint32_t expected0 = generator.Next();
    const uint32_t expected1 = generator.Next();
    const uint32_t expected2 = generator.Next();
    generator.Seed(1234);
    EXPECT_EQ(generator.Next(), expected0);
    for (const char* text : {"a+1", "a*2"}) {
        EXPRESSION e = CreateExpression(list, text);
        ASSERT_GE(e.count, 0) << text;
        FreeExpression(e);
    }
    EXPECT_EQ(generator.Next(), expected1);
    EXPECT_EQ(generator.Next(), expected2);
}

TEST(FunctionIndexTest, FindsNamesAliasesAndAppendedFunctions) {
    TMultiFunctionList& table = MultiFunctions();
    for (int i = 0; i < table.GetCount(); ++i) {
        const TMultiFunction* function = table[i];
        const int byName = table.Find(function->name);
        ASSERT_GE(byName, 0);
        EXPECT_LE(byName, i);
        EXPECT_TRUE(table[byName]->name == function->name || table[byName]->alias == function->name);
    }
    EXPECT_EQ(table.Find(TString("no_such_function_name")), -1);
    const int before = table.GetCount();
    const int added = AddMultiFunction(new TMultiFunction(TString("zz_index_probe"), TString("zz_probe_alias"), 1));
    EXPECT_EQ(added, before);
    EXPECT_EQ(table.Find(TString("zz_index_probe")), added);
    EXPECT_EQ(table.Find(TString("zz_probe_alias")), added);
    const int again = AddMultiFunction(new TMultiFunction(TString("zz_index_probe"), 1));
    EXPECT_EQ(table.Find(TString("zz_index_probe")), added);  // the first position wins
    table.Delete(again);
    table.Delete(added);
    EXPECT_EQ(table.Find(TString("zz_index_probe")), -1);
}

TEST(FunctionIndexTest, FindsListFunctionsByExactName) {
    TVarFunctionList& table = VarFunctions();
    for (int i = 0; i < table.GetCount(); ++i) EXPECT_EQ(table.Find(table[i]->name), i);
    EXPECT_EQ(table.Find(TString("no_such_list_function")), -1);
}

}  // namespace
