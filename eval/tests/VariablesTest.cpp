// Tests of variables and variable lists: lookup, references, copies, listeners and text forms.
#include <gtest/gtest.h>

#include <functional>
#include <set>
#include <vector>

#include "Variables.h"

namespace {

TVariable* AddInts(TVariableList& list, std::initializer_list<const char*> names) {
    for (const char* name : names) list.NewInt(name, false, 0);
    return list.Last();
}

TEST(VariableListTest, LaterNamesHideEarlierOnesUntilDeleted) {
    TVariableList list;
    *list.NewInt("a", false, 0) = 1;
    *list.NewInt("a", false, 0) = 2;
    EXPECT_EQ(list.GetVar("a")->value.i, 2);
    EXPECT_EQ(list.GetVarIndex("a"), 1);
    list.DeleteVar("a");
    EXPECT_EQ(list.GetVar("a")->value.i, 1);
    list.DeleteVar("a");
    EXPECT_EQ(list.GetVar("a"), nullptr);
    EXPECT_EQ(list.GetVarIndex("a"), -1);
    list.DeleteVar("a");  // nothing left: no effect
    EXPECT_EQ(list.GetCount(), 0);
}

TEST(VariableListTest, RelativeAndAbsoluteReferences) {
    TVariableList list;
    AddInts(list, {"a", "b", "c", "d", "e"});
    EXPECT_EQ(list.V_Index(1), 3);
    EXPECT_EQ(list.V_Index(3, false), 1);
    AddInts(list, {"f", "g"});
    EXPECT_EQ(list.V_Index(3, false), 3);

    TVariableList based;
    based.SetBase(10);
    for (int i = 0; i < 13; ++i) based.NewInt("v", i == 12, 0);
    EXPECT_EQ(based.V_Index(12), 2);
    EXPECT_EQ(based.V_Index(2, true), 12);
    EXPECT_EQ(based.V_Index(13), -1);
    EXPECT_EQ(based.V_Index(-1), -1);
}

TEST(VariableListTest, PositionsOutsideTheListAndWrongTypesGiveNull) {
    TVariableList list;
    EXPECT_EQ(list[0], nullptr);
    EXPECT_EQ(list.Last(), nullptr);
    list.NewInt("n", false, 4);
    list.NewString("s", false, "x");
    EXPECT_EQ(list[-1], nullptr);
    EXPECT_EQ(list[2], nullptr);
    EXPECT_EQ(list.GetVarOfType(0, vtInt), list[0]);
    EXPECT_EQ(list.GetVarOfType(0, vtString), nullptr);
    EXPECT_EQ(list.GetVarOfType(5, vtInt), nullptr);
    // A compiled reference to an int that a script deleted and replaced by a string.
    list.DeleteVar("n");
    EXPECT_EQ(list.GetVarOfType(0, vtInt), nullptr);
}

TEST(VariableListTest, NewOperationsMakeZeroValuesAndRefuseBadTypes) {
    TVariableList list;
    EXPECT_EQ(*list.NewInt("i", true, 7), 7);
    EXPECT_TRUE(list.Last()->absolute);
    EXPECT_EQ(*list.NewDouble("d", false, 1.5), 1.5);
    EXPECT_EQ(list.NewPoint("p", false)->x, 0);
    EXPECT_EQ(list.NewComplex("c", false)->im, 0.0);
    EXPECT_EQ(*list.NewString("s", false, "hi"), TString("hi"));
    EXPECT_EQ(list.GetCount(), 5);
    EXPECT_EQ(list.NewVar("x", vtArray, false), nullptr);
    EXPECT_EQ(list.NewVar("x", 9, false), nullptr);
    EXPECT_EQ(list.AddVar("x", 1, vtInt), nullptr);
    EXPECT_EQ(list.AddVar("x", vtArray, 7), nullptr);
    EXPECT_EQ(list.NewArray("x", 1, false), nullptr);
    EXPECT_EQ(list.GetCount(), 5);
    list.SetArraySize(3);
    list.NewArray("a", vtDouble, false);
    EXPECT_EQ(list.GetArrayCount("a"), 3);
    list.NewArray2("m", vtInt, false);
    EXPECT_EQ(list.Last()->value.a2.lines, 3);
    EXPECT_EQ(list.Last()->OwnerList(), &list);
}

// A count's stamp stays while the variables below it stay: appending keeps
// it, deleting from the end gives the shorter count its stamp back, and
// the longer counts, or any other change, get stamps never seen before.
TEST(VariableListTest, LayoutStampsFollowTheVariablesBelowTheCount) {
    TVariableList list;
    AddInts(list, {"a", "b"});
    std::set<uint64_t> seen;
    const uint64_t two = list.GetLayoutStamp();
    seen.insert(two);
    AddInts(list, {"c", "d"});
    EXPECT_EQ(list.GetLayoutStamp(), two);
    TVariable* d = list.Last();
    list.DeleteLast(false);  // kept alive, as a script keeps a parameter
    EXPECT_EQ(list.GetLayoutStamp(), two);
    list.Add(static_cast<TContainerItem*>(d));  // the very variable back in its place
    EXPECT_EQ(list.GetLayoutStamp(), two);
    list.DeleteLast(false);
    TVariable another("d", int64_t{0}, 0);
    list.Add(static_cast<TContainerItem*>(&another));  // another one there: another state
    EXPECT_TRUE(seen.insert(list.GetLayoutStamp()).second);
    list.DeleteLast(false);
    list.Add(static_cast<TContainerItem*>(d));  // only the last one there brings its state back
    const uint64_t again = list.GetLayoutStamp();
    EXPECT_TRUE(seen.insert(again).second);
    // Two at once, through InsertItems at the end, come back alike.
    void* pair[2] = {list[2], list[3]};
    list.DeleteSection(2, 3, false);
    EXPECT_EQ(list.GetLayoutStamp(), two);
    list.InsertItems(2, pair, 2);
    EXPECT_EQ(list.GetLayoutStamp(), again);
    // Inserting them before the end is no return.
    list.DeleteSection(2, 3, false);
    list.InsertItems(1, pair, 2);
    const uint64_t moved = list.GetLayoutStamp();
    EXPECT_TRUE(seen.insert(moved).second);
    list.DeleteSection(2, 10, true);
    EXPECT_EQ(list.GetCount(), 2);
    EXPECT_EQ(list.GetLayoutStamp(), moved);
    AddInts(list, {"c"});
    const uint64_t three = list.GetLayoutStamp();
    EXPECT_TRUE(seen.insert(three).second);
    list.Delete(2, true);  // the last one
    EXPECT_EQ(list.GetLayoutStamp(), moved);
    list.DeleteLast(true);
    list.DeleteLast(true);
    list.DeleteLast(true);  // an empty list: nothing more
    EXPECT_EQ(list.GetCount(), 0);
    // (New variables may come at the addresses of the freed ones, which
    // holds the same state: no stamp is asked for here.)
    AddInts(list, {"a", "b"});
    // Changes below the end change every count's stamp.
    const std::vector<std::function<void()>> changes = {
        [&] { list.Delete(0, true); },
        [&] { list.Insert(0, new TVariable("z", int64_t{1}, 0)); },
        [&] { list.Exchange(0, 1); },
        [&] { list.DeleteSection(0, 0, true); },
        [&] { list.Sort(); },
    };
    for (const auto& change : changes) {
        AddInts(list, {"e", "f"});
        change();
        const uint64_t changed = list.GetLayoutStamp();
        EXPECT_TRUE(seen.insert(changed).second);
        list.DeleteLast(true);
        EXPECT_EQ(list.GetLayoutStamp(), changed);
    }
    // Another list never shares one.
    TVariableList other;
    AddInts(other, {"a", "b"});
    EXPECT_TRUE(seen.insert(other.GetLayoutStamp()).second);
}

// Variables added through the container base, which the list does not
// see, and variables freed through it still give the counts they reach
// stamps never seen before.
TEST(VariableListTest, ChangesThroughTheContainerBaseGiveNewStamps) {
    TVariableList list;
    AddInts(list, {"a", "b"});
    std::set<uint64_t> seen = {list.GetLayoutStamp()};
    TContainer& base = list;
    base.Add(static_cast<TContainerItem*>(new TVariable("c", int64_t{0}, 0)));
    EXPECT_TRUE(seen.insert(list.GetLayoutStamp()).second);
    base.DeleteLast(true);
    EXPECT_TRUE(seen.insert(list.GetLayoutStamp()).second);
    base.Add(static_cast<TContainerItem*>(new TVariable("d", int64_t{0}, 0)));
    EXPECT_TRUE(seen.insert(list.GetLayoutStamp()).second);
    // From the list's own next append on it follows the list again.
    AddInts(list, {"e"});
    const uint64_t followed = list.GetLayoutStamp();
    EXPECT_TRUE(seen.insert(followed).second);
    EXPECT_EQ(list.GetLayoutStamp(), followed);
    AddInts(list, {"f"});
    list.DeleteLast(true);
    EXPECT_EQ(list.GetLayoutStamp(), followed);
}

TEST(VariableTest, AssignCopiesDeeplyAndKeepsAbsolute) {
    TVariableList list;
    list.NewString("src", false, "text");
    TVariable* target = list.NewVar("dst", vtInt, true);
    target->Assign(*list[0]);
    list.DeleteVar(list[0]);  // target now carries the same name
    EXPECT_EQ(target->type, vtString);
    EXPECT_EQ(*target->value.s, TString("text"));
    EXPECT_EQ(target->name, TString("src"));
    EXPECT_TRUE(target->absolute);

    TVariable copy(*target);
    EXPECT_FALSE(copy.absolute);
    EXPECT_NE(copy.value.s, target->value.s);
}

TEST(VariableTest, SelfAssignmentAndReplacedValuesAreSafe) {
    TVariable text("s", TString("keep"), 1);
    text = text;
    text.Assign(text);
    EXPECT_EQ(*text.value.s, TString("keep"));

    TVariable array("a", ARRAY{vtString, 3, 0, nullptr}, 0);
    *static_cast<TString*>(array.GetItem(0)) = "x";
    array = array;
    EXPECT_EQ(*static_cast<TString*>(array.GetItem(0)), TString("x"));
    // The old array and the old string are released (the leak checker watches).
    array = text;
    EXPECT_EQ(array.type, vtString);
    TVariable matrix("m", ARRAY2{vtInt, 2, 0, 2, 0, nullptr});
    matrix = array;
    EXPECT_EQ(*matrix.value.s, TString("keep"));
}

TEST(VariableTest, MoveFromHandsOverTheValue) {
    TVariable source("a", ARRAY{vtInt, 2, 0, nullptr}, 5);
    TVariable target;
    target.name = "b";
    target.MoveFrom(source);
    EXPECT_EQ(target.type, vtArray);
    EXPECT_EQ(target.value.a.count, 2);
    EXPECT_EQ(target.info, 5);
    EXPECT_EQ(target.name, TString("b"));
    EXPECT_EQ(source.type, vtUndefined);
}

TEST(VariableTest, ResetZeroesScalarsOnly) {
    TVariable s("s", TString("abc"), 0), p("p", VPOINT{1, 2}, 0), a("a", ARRAY{vtInt, 4, 0, nullptr}, 0);
    s.Reset();
    p.Reset();
    a.Reset();
    EXPECT_TRUE(s.value.s->IsEmpty());
    EXPECT_EQ(p.value.p.y, 0);
    EXPECT_EQ(a.value.a.count, 4);
}

std::vector<int> heard;
void Listener(TVariableList& list, const VARINFO& ref, TVariable::TListenAction action) {
    heard.push_back(list.GetCount() * 1000 + ref.index * 100 + ref.index1 * 10 + static_cast<int>(action));
}
void OtherListener(TVariableList&, const VARINFO&, TVariable::TListenAction) { heard.push_back(-1); }

TEST(VariableTest, ListenersAreUniqueAndFireInOrder) {
    heard.clear();
    TVariableList list;
    list.NewInt("x", false, 0);
    TVariable* v = list.NewVar("n", vtInt, false);
    v->AddListener(Listener);
    v->AddListener(Listener);
    v->AddListener(OtherListener);
    EXPECT_EQ(v->GetListenerCount(), 2);
    EXPECT_EQ(v->GetListener(1), &OtherListener);
    EXPECT_EQ(v->GetListener(2), nullptr);
    v->FireListeners(VARINFO{1, -1, -1, -1}, TVariable::laAssigned);
    EXPECT_EQ(heard, (std::vector<int>{2000 + 100 - 10, -1}));
    v->RemoveListener(OtherListener);
    heard.clear();
    TVariable loose("n", int64_t{1}, 0);
    loose.AddListener(Listener);
    loose.FireListeners(VARINFO{0, -1, -1, -1}, TVariable::laAssigned);  // no list: nobody is called
    EXPECT_TRUE(heard.empty());
}

TEST(VariableTest, AsStringForms) {
    TVariable doubles("d", ARRAY{vtDouble, 2, 0, nullptr}, 0);
    *static_cast<double*>(doubles.GetItem(0)) = 1.5;
    *static_cast<double*>(doubles.GetItem(1)) = 2;
    EXPECT_EQ(doubles.AsString(';'), TString(1.5) + ";" + TString(2.0));
    EXPECT_EQ(TVariable("p", VPOINT{3, -4}, 0).AsString(';'), TString("3,-4"));
    EXPECT_EQ(TVariable("i", int64_t{-9000000000LL}, 0).AsString(','), TString("-9000000000"));
    TVariable points("q", ARRAY{vtPoint, 2, 0, nullptr}, 0);
    *static_cast<VPOINT*>(points.GetItem(1)) = VPOINT{5, 6};
    EXPECT_EQ(points.AsString('|'), TString("{0, 0}|{5, 6}"));
    EXPECT_EQ(TVariable("m", ARRAY2{vtInt, 2, 0, 2, 0, nullptr}).AsString(','), TString());
    EXPECT_EQ(TVariable().AsString(','), TString());
}

TEST(VariableTest, DisplayFormsWithAndWithoutAlignment) {
    TVariable m("m", ARRAY2{vtInt, 2, 0, 2, 0, nullptr});
    const int64_t values[2][2] = {{1, 200}, {30, 4}};
    for (int i = 0; i < 2; ++i)
        for (int j = 0; j < 2; ++j) *static_cast<int64_t*>(m.GetItem(i, j)) = values[i][j];
    EXPECT_EQ(GetVariableAsString(&m, true), TString(" 1,200\r\n30,  4"));
    EXPECT_EQ(GetVariableAsString(&m, false), TString("1,200\r\n30,4"));

    struct Case {
        TVariable variable;
        const char* text;
    } cases[] = {
        {TVariable("i", int64_t{-3}, 0), "-3"},
        {TVariable("d", 0.5, 0), "0.500000"},
        {TVariable("p", VPOINT{1, -2}, 0), "{1, -2}"},
        {TVariable("c", VCOMPLEX{1, 2}, 0), "{1.000000, 2.000000}"},
        {TVariable("s", TString("t u"), 0), "t u"},
        {TVariable(), ""},
    };
    for (const Case& c : cases) EXPECT_EQ(GetVariableAsString(&c.variable, false), TString(c.text)) << c.text;
}

TEST(VariableTest, TypeNames) {
    EXPECT_EQ(GetVarTypeName(7, 4), TString("point[]"));
    EXPECT_EQ(GetVarTypeName(8, 6), TString("string[][]"));
    EXPECT_EQ(GetVarTypeName(9, 0), TString());
    EXPECT_EQ(GetVarTypeName(3, 0), TString("double"));
    EXPECT_EQ(TVariableList::GetTypeName(9), TString("undefined"));
    EXPECT_EQ(TVariableList::GetTypeName(7), TString("array_1"));
    EXPECT_EQ(TVariableList::GetTypeName(-1), TString("undefined"));
    TVariable a("a", ARRAY{vtComplex, 1, 0, nullptr}, 0);
    EXPECT_EQ(GetVarTypeName(&a), TString("complex[]"));
}

TEST(EvalParseIntTest, SixtyFourBitReader) {
    struct Case {
        const char* text;
        bool ok;
        int64_t value;
    } cases[] = {
        {" - 1 2", true, -12}, {"1-2", false, 0},  {"", true, 0},      {"--1", false, 0},
        {"12a", false, 0},     {"-", true, 0},     {"9223372036854775807", true, INT64_MAX},
        {"-9223372036854775808", true, INT64_MIN}, {"9223372036854775808", false, 0},
        {"99999999999999999999", false, 0},
    };
    for (const Case& c : cases) {
        int64_t value = 77;
        EXPECT_EQ(EvalParseInt(c.text, value), c.ok) << c.text;
        EXPECT_EQ(value, c.value) << c.text;
    }
}

TEST(EvalParseIntTest, ThirtyTwoBitReaderRejectsNonNumbers) {
    struct Case {
        const char* text;
        bool ok;
        int value;
    } cases[] = {
        {"42", true, 42}, {" -7 ", true, -7}, {"x", false, 0}, {"", false, 0}, {"3x", false, 0}, {"4294967296", false, 0},
    };
    for (const Case& c : cases) {
        int value = 77;
        EXPECT_EQ(EvalParseInt(c.text, value), c.ok) << c.text;
        EXPECT_EQ(value, c.value) << c.text;
    }
    int value = 1;
    EXPECT_FALSE(EvalParseInt(nullptr, value));
}

TEST(DefaultVariablesTest, FreeFunctionsWorkOnTheDefaultList) {
    ASSERT_EQ(GetVariables(), &Variables);
    const int before = Variables.GetCount();
    *NewInt("defaultListInt", false, 0) = 5;
    EXPECT_EQ(GetVar("defaultListInt")->value.i, 5);
    EXPECT_EQ(GetVarIndex("defaultListInt"), before);
    EXPECT_EQ(V_Index(before), 0);
    DeleteVar("defaultListInt");
    EXPECT_EQ(Variables.GetCount(), before);
}

}  // namespace
