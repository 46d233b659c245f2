// Tests of KRO_Compile as a whole: recompiling, restored state, error texts, keywords and custom commands.
#include "KroTestSupport.h"

#include "CustomCommands.h"

namespace {

class CompilerTest : public KroCompileTest {};

TEST_F(CompilerTest, RecompileKeepsValuesOfUnchangedGlobals) {
    ASSERT_TRUE(Compile("int kept\ndouble changed\nstring s"));
    program.variables[0]->value.i = 7;
    program.variables[1]->value.d = 2.5;
    *program.variables[2]->value.s = "text";
    ASSERT_TRUE(Compile("string s\nint changed\nint kept\nint fresh"));
    ASSERT_EQ(program.variables.GetCount(), 4);
    EXPECT_EQ(*program.variables[0]->value.s, TString("text"));
    EXPECT_EQ(program.variables[1]->type, vtInt);
    EXPECT_EQ(program.variables[1]->value.i, 0);
    EXPECT_EQ(program.variables[2]->value.i, 7);
    EXPECT_EQ(program.variables[3]->value.i, 0);
}

TEST_F(CompilerTest, ArrayGlobalsHandOverOnlyWithTheSameItemType) {
    ASSERT_TRUE(Compile("int a[]\nint b[]"));
    program.variables[0]->Resize(3, false);
    program.variables[1]->Resize(3, false);
    ASSERT_TRUE(Compile("int a[]\ndouble b[]"));
    EXPECT_EQ(program.variables[0]->value.a.count, 3);
    EXPECT_EQ(program.variables[1]->value.a.count, 0);
    EXPECT_EQ(program.variables[1]->value.a.itemtype, vtDouble);
}

TEST_F(CompilerTest, FailedRecompileKeepsTheOldGlobals) {
    ASSERT_TRUE(Compile("int g\nfunc int f()\nend"));
    program.variables[0]->value.i = 9;
    EXPECT_FALSE(Compile("int g\nint h\nbogus+"));
    EXPECT_EQ(program.tokens.GetCount(), 0);
    EXPECT_EQ(program.functions.GetCount(), 0);
    EXPECT_EQ(program.globals.GetCount(), 0);
    ASSERT_EQ(program.variables.GetCount(), 1);
    EXPECT_EQ(program.variables[0]->value.i, 9);
}

TEST_F(CompilerTest, RecompileResetsGlobalsEventsAndResources) {
    ASSERT_TRUE(Compile("int a\nint b"));
    program.events.Add(EVENT_INFO{1, 0});
    program.resourceTokens.Add(5);
    ASSERT_TRUE(Compile("int c"));
    EXPECT_EQ(program.globals.GetCount(), 1);
    EXPECT_EQ(program.events.GetCount(), 0);
    EXPECT_EQ(program.resourceTokens.GetCount(), 0);
}

TEST_F(CompilerTest, CompilationUsesItsOwnVariableBase) {
    Variables.NewVar("hostvariable", vtInt, false);
    Variables.SetBase(0);
    EXPECT_TRUE(Compile("int g\nhostvariable = g"));
    EXPECT_EQ(program.variableBase, Variables.GetCount());
    EXPECT_EQ(Variables.GetBase(), 0);
    Variables.Delete(Variables.GetCount() - 1, true);
}

TEST_F(CompilerTest, HandlerBetweenCompileAndRunYieldsZeroes) {
    ASSERT_TRUE(Compile("func string name()\nreturn 'x'\nend"));
    EXPECT_EQ(ExtFuncHandler, KRO_CompileTimeHandler);
    EXPRESSION_ITEM result = KRO_CompileTimeHandler(nullptr, 0, &program);
    ASSERT_EQ(result.kind, ekOwnedText);
    EXPECT_EQ(result.value.text.text->Length(), 0);
    delete result.value.text.text;
}

TEST_F(CompilerTest, ReservedSetpixelFailsWithoutCode) {
    EXPECT_FALSE(Compile("setpixel 1,2"));
    EXPECT_EQ(KRO_ErrorCode, 0);
}

TEST(KroErrorMessages, TextsAreTheCodePageBytes) {
    EXPECT_EQ(KRO_GetErrorMessage(1), TString("Hi\xE1nyz\xF3 v\xE1ltoz\xF3n\xE9v"));
    EXPECT_EQ(KRO_GetErrorMessage(26), TString("'end' rossz helyen"));
    EXPECT_EQ(KRO_GetErrorMessage(48), TString("Hib\xE1s param\xE9ter\xFB esem\xE9nykezel\xF5"));
    for (int code : {0, -1, 49, 58, 1000}) EXPECT_EQ(KRO_GetErrorMessage(code), TString("Ismeretlen hiba"));
}

TEST(KroKeywords, SixtyInTableOrder) {
    ASSERT_EQ(KRO_Keywords().GetCount(), 60);
    EXPECT_EQ(KRO_Keywords()[0], TString("int"));
    EXPECT_EQ(KRO_Keywords()[19], TString("func"));
    EXPECT_EQ(KRO_Keywords()[59], TString("event"));
}

TEST(KroEventParams, CountsAndTypesByCode) {
    TVariableList list;
    list.NewVar("old", vtInt, false);
    const int expected[] = {0, 2, 2, 3, 3, 3, 1, 0, 2, 0};
    for (int code = 0; code <= 9; ++code) {
        KRO_CreateEventParams(code, list);
        EXPECT_EQ(list.GetCount(), expected[code]) << code;
        for (int i = 0; i < list.GetCount(); ++i) {
            EXPECT_EQ(list[i]->name, TString("param"));
            EXPECT_EQ(list[i]->type, code == 6 ? vtString : vtInt);
        }
    }
}

}  // namespace
