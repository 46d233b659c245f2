// Tests of variable definitions from text.
#include <gtest/gtest.h>

#include "VariableDefinitions.h"

namespace {

// The list after a definition, one variable per line as "name:type=value".
TString Describe(const TVariableList& list) {
    TString text;
    for (int i = 0; i < list.GetCount(); ++i) {
        const TVariable* v = list[i];
        if (i > 0) text += " | ";
        text += v->name + ":" + GetVarTypeName(v) + "=" + GetVariableAsString(v, false);
    }
    return text;
}

TEST(VariableDefinitionTest, DefinitionTable) {
    struct Case {
        const char* text;
        bool ok;
        const char* list;
    } cases[] = {
        {"n<int>=5", true, "n:int=5"},
        {" n < int > = 5 ", true, "n:int=5"},
        {"[a, b]<int>=[1, 2]", true, "a:int=1 | b:int=2"},
        {"[a, b]<int>=[1]", false, ""},
        {"a<int>=1x", false, ""},
        {"a<int>", true, "a:int=0"},
        {"p<point>={3, 4}", true, "p:point={3, 4}"},
        {"p<point>={3 4}", false, ""},
        {"p<point>={x, 4}", false, ""},
        {"p<point>", true, "p:point={0, 0}"},
        {"c<complex>={1.5, -2}", true, "c:complex={1.500000, -2.000000}"},
        {"m<int[2,3]>", true, "m:int[][]=0,0,0\r\n0,0,0"},
        {"m<int[2,3]>=1", false, ""},
        {"m<int[,]>", true, "m:int[][]="},
        {"m<int[99999,99999]>", false, ""},
        {"m<int[2,x]>", false, ""},
        {"m<int[1,2,3]>", false, ""},
        {"[u, v]<int[1,2]>", true, "u, v:int[][]=0,0"},
        {"x<float>", false, ""},
        {"x int>", false, ""},
        {"x>int<", false, ""},
        {"<int>=1", false, ""},
        {"[a,,b]<int>", false, ""},
        {"s<string>=['x y']", true, "s:string=x y"},
        {"s<string>='hello'", true, "s:string=hello"},
        {"[s, t]<string>=['a, b', c]", true, "s:string=a, b | t:string=c"},
        {"d<double>=2.5", true, "d:double=2.500000"},
        {"d<double>=abc", true, "d:double=0.000000"},
        {"[d, e]<double>=[1, 2]", true, "d:double=1.000000 | e:double=2.000000"},
        {"a<int[]>=[1, -2, 3]", true, "a:int[]=1,-2,3"},
        {"a<int[4]>=[1, z]", false, ""},
        {"a<double[]>=[0.5, 1]", true, "a:double[]=0.500000,1.000000"},
        {"a<string[]>=['p', q]", true, "a:string[]=p,q"},
        {"a<point[]>=[{1, 2}, {-3, 4}]", true, "a:point[]={1, 2},{-3, 4}"},
        {"a<point[]>=[{1, 2}, 3]", false, ""},
        {"a<complex[]>=[{1, 2}]", true, "a:complex[]={1.000000, 2.000000}"},
        {"a<int[]>", true, "a:int[]="},
        {"a<double[2,2]>=[1]", false, ""},
        {"a<double[2,2]>", true, "a:double[]="},
        {"a<int[]>=[]", true, "a:int[]="},
    };
    for (const Case& c : cases) {
        TVariableList list;
        EXPECT_EQ(NewVarFromCmdLine(TString(c.text), list), c.ok) << c.text;
        EXPECT_EQ(Describe(list), TString(c.list)) << c.text;
        for (int i = 0; i < list.GetCount(); ++i) {
            EXPECT_FALSE(list[i]->absolute);
            EXPECT_EQ(list[i]->info, 0);
        }
    }
}

TEST(VariableDefinitionTest, ArraysTakeTheListArraySizeAndTheDefaultListWorks) {
    TVariableList list;
    list.SetArraySize(4);
    ASSERT_TRUE(NewVarFromCmdLine(TString("a<int[2]>"), list));
    EXPECT_EQ(list.GetArrayCount("a"), 4);

    const int before = Variables.GetCount();
    ASSERT_TRUE(NewVarFromCmdLine(TString("definitionTestVar<int>=3")));
    EXPECT_EQ(GetVar("definitionTestVar")->value.i, 3);
    DeleteVar("definitionTestVar");
    EXPECT_EQ(Variables.GetCount(), before);
}

}  // namespace
