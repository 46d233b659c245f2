// Tests of variables saved to and loaded from a property store.
#include <gtest/gtest.h>

#include "VariablesProperties.h"

namespace {

TEST(VariablesPropertiesTest, IntVariableLayoutAndRoundTrip) {
    TVariableList list;
    list.NewInt("a", false, 5);
    TProperties props;
    SaveVariables(props, list, "vars");
    ASSERT_TRUE(props.SetSection(TString("vars")));
    EXPECT_TRUE(props.KeyExists(TString("a")));
    EXPECT_EQ(props.GetString(TString("a")), TString());
    ASSERT_TRUE(props.SetSection(TString("vars_a")));
    EXPECT_EQ(props.GetInt(TString("type")), 2);
    EXPECT_EQ(props.GetInt(TString("info")), 0);
    EXPECT_EQ(props.GetInt(TString("value")), 5);
    TVariableList back;
    ASSERT_TRUE(LoadVariables(props, back, "vars"));
    ASSERT_EQ(back.GetCount(), 1);
    EXPECT_EQ(back[0]->value.i, 5);
}

TEST(VariablesPropertiesTest, EveryKindRoundTripsThroughTheTextForm) {
    TVariableList list;
    list.NewInt("big", false, -5000000000LL);
    list.Last()->info = 12;
    list.NewDouble("d", false, 0.1);
    *list.NewPoint("p", false) = VPOINT{INT64_MIN, 7000000000LL};
    *list.NewComplex("c", false) = VCOMPLEX{1.25, -3};
    list.NewString("s", false, "two words");
    list.NewArray("ai", vtInt, false);
    list.ResizeArray("ai", 3);
    for (int i = 0; i < 3; ++i) *static_cast<int64_t*>(list.GetArrayItem("ai", i)) = (i + 1) * 3000000000LL;
    list.NewArray("ap", vtPoint, false);
    list.ResizeArray("ap", 2);
    *static_cast<VPOINT*>(list.GetArrayItem("ap", 1)) = VPOINT{-8000000000LL, 9};
    list.NewArray("ac", vtComplex, false);
    list.ResizeArray("ac", 2);
    *static_cast<VCOMPLEX*>(list.GetArrayItem("ac", 0)) = VCOMPLEX{0.5, -0.25};
    list.NewArray("as", vtString, false);
    list.ResizeArray("as", 3);
    *static_cast<TString*>(list.GetArrayItem("as", 2)) = "last";
    list.NewArray2("mp", vtPoint, false);
    list.ResizeArray2("mp", 2, 2);
    *static_cast<VPOINT*>(list.GetArray2Item("mp", 1, 0)) = VPOINT{3, -4};
    list.NewArray2("ms", vtString, false);
    list.ResizeArray2("ms", 2, 2);
    *static_cast<TString*>(list.GetArray2Item("ms", 0, 1)) = "x";
    list.NewArray2("md", vtDouble, false);
    list.ResizeArray2("md", 1, 3);
    *static_cast<double*>(list.GetArray2Item("md", 0, 2)) = -1.5;
    TVariable undefined;
    undefined.name = "u";
    list.AddVar(undefined);

    TProperties props;
    SaveVariables(props, list, "one");
    props.SetSection(TString("one_ai"));
    EXPECT_EQ(props.GetString(TString("items")), TString("3000000000 6000000000 9000000000"));
    props.SetSection(TString("one_as"));
    EXPECT_FALSE(props.KeyExists(TString("s0")));
    EXPECT_EQ(props.GetString(TString("s2")), TString("last"));
    props.SetSection(TString("one_ap"));
    EXPECT_EQ(props.GetString(TString("items")), TString("{0, 0} {-8000000000, 9}"));

    // Through the text file form as well.
    TProperties reread;
    reread.SetText(props.GetText());
    TVariableList back;
    ASSERT_TRUE(LoadVariables(reread, back, "one"));
    ASSERT_EQ(back.GetCount(), list.GetCount());
    for (int i = 0; i < list.GetCount(); ++i) {
        EXPECT_EQ(back[i]->name, list[i]->name);
        EXPECT_EQ(back[i]->type, list[i]->type);
        EXPECT_EQ(back[i]->info, list[i]->info);
        EXPECT_EQ(GetVariableAsString(back[i], false), GetVariableAsString(list[i], false)) << i;
    }
    EXPECT_EQ(back.GetVar("d")->value.d, 0.1);
}

TEST(VariablesPropertiesTest, MissingAndDamagedEntries) {
    TProperties props;
    TVariableList list;
    EXPECT_FALSE(LoadVariables(props, list, "none"));
    EXPECT_EQ(list.GetCount(), 0);

    props.SetText(TString(
        "[v]\nnosection=\nnotype=\nhuge=\nshort=\nbad=\n"
        "[v_notype]\ninfo=1\n"
        "[v_huge]\ntype=7\ninfo=0\nitemtype=2\ncount=2000000000\n"
        "[v_short]\ntype=7\ninfo=0\nitemtype=2\ncount=3\nitems=4 x\n"
        "[v_bad]\ntype=8\ninfo=0\nitemtype=4\nlines=1\ncols=2\nline0={1, 2} {3}\n"));
    ASSERT_TRUE(LoadVariables(props, list, "v"));
    ASSERT_EQ(list.GetCount(), 2);
    EXPECT_EQ(GetVariableAsString(list.GetVar("short"), false), TString("4,0,0"));
    EXPECT_EQ(GetVariableAsString(list.GetVar("bad"), false), TString("{1, 2},{0, 0}"));
}

}  // namespace
