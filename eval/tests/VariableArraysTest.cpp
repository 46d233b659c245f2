// Tests of array variables: storage, capacity, resizing, item access and line and column edits.
#include <gtest/gtest.h>

#include <vector>

#include "Variables.h"

namespace {

int64_t& IntAt(TVariable& v, int i) { return *static_cast<int64_t*>(v.GetItem(i)); }
int64_t& IntAt(TVariable& v, int i, int j) { return *static_cast<int64_t*>(v.GetItem(i, j)); }
TString& TextAt(TVariable& v, int i, int j) { return *static_cast<TString*>(v.GetItem(i, j)); }

// A 1-D int array holding 0, 1, ..., count-1.
TVariable Counting(int count) {
    TVariable v("a", ARRAY{vtInt, count, 0, nullptr}, 0);
    for (int i = 0; i < count; ++i) IntAt(v, i) = i;
    return v;
}

// A 2-D int array appended to list whose item (i, j) is 10 * i + j.
TVariable& Grid(TVariableList& list, int lines, int cols) {
    list.NewArray2("g", vtInt, false);
    TVariable& v = *list.Last();
    v.Resize(lines, cols, false);
    for (int i = 0; i < lines; ++i)
        for (int j = 0; j < cols; ++j) IntAt(v, i, j) = 10 * i + j;
    return v;
}

TEST(ArrayStorageTest, CreateArrayCountsAndCapacities) {
    struct Case {
        TVariableType itemtype;
        int count;
        int wantCount;
        int wantCapacity;
    } cases[] = {{vtInt, 0, 0, 16}, {vtInt, -5, 0, 16}, {vtDouble, 10, 10, 20}, {vtString, 3, 3, 6}};
    for (const Case& c : cases) {
        ARRAY a = CreateArray(c.itemtype, c.count);
        EXPECT_EQ(a.count, c.wantCount);
        EXPECT_EQ(a.capacity, c.wantCapacity);
        EXPECT_NE(a.items, nullptr);
        FreeArray(a);
        EXPECT_EQ(a.items, nullptr);
        EXPECT_EQ(a.capacity, 0);
    }
    EXPECT_EQ(GetArrayItemSize(vtInt), 8);
    EXPECT_EQ(GetArrayItemSize(vtComplex), 16);
    EXPECT_EQ(GetArrayItemSize(vtString), 4);
    EXPECT_EQ(GetArrayItemSize(vtArray), 0);
}

TEST(ArrayStorageTest, SizesBeyondTheCapFailWithoutOverflow) {
    for (int count : {kMaxArrayItems + 1, 1 << 30, 0x7fffffff}) {
        ARRAY a = CreateArray(vtInt, count);
        EXPECT_EQ(a.items, nullptr);
        EXPECT_EQ(a.count, 0);
    }
    ARRAY2 b = CreateArray2(vtInt, 1 << 16, 1 << 16);
    EXPECT_EQ(b.rows, nullptr);
    TVariable v = Counting(3);
    EXPECT_EQ(v.Resize(1 << 30, true), nullptr);
    EXPECT_EQ(v.value.a.count, 3);
    EXPECT_EQ(IntAt(v, 2), 2);
    TVariableList list;
    list.NewArray2("m", vtInt, false);
    EXPECT_EQ(list.Last()->Resize(1 << 20, 1 << 20, true), nullptr);
    EXPECT_EQ(list.Last()->value.a2.lines, 1);
}

TEST(ArrayStorageTest, CreateArray2AndDeepCopies) {
    ARRAY2 a = CreateArray2(vtString, 0, 0);
    EXPECT_EQ(a.lines, 1);
    EXPECT_EQ(a.cols, 1);
    EXPECT_EQ(a.linecapacity, 2);
    EXPECT_EQ(a.colcapacity, 2);
    *static_cast<TString*>(static_cast<TString*>(a.rows[0])) = "cell";
    ARRAY2 b;
    AssignArray2(b, a);
    FreeArray2(a);
    EXPECT_EQ(*static_cast<TString*>(b.rows[0]), TString("cell"));
    FreeArray2(b);
    EXPECT_EQ(b.rows, nullptr);

    ARRAY c = CreateArray(vtString, 2), d;
    static_cast<TString*>(c.items)[1] = "two";
    AssignArray(d, c);
    FreeArray(c);
    EXPECT_EQ(d.count, 2);
    EXPECT_EQ(static_cast<TString*>(d.items)[1], TString("two"));
    FreeArray(d);
}

TEST(ArrayResizeTest, OneDimensionalResizeTable) {
    TVariable v = Counting(3);  // capacity 6
    v.Resize(2, false);
    EXPECT_EQ(v.Resize(3, false), v.value.a.items);
    EXPECT_EQ(IntAt(v, 2), 2) << "growing within the capacity shows the old item again";
    v.Resize(7, false);
    EXPECT_EQ(v.value.a.capacity, 12);
    for (int i = 3; i < 7; ++i) EXPECT_EQ(IntAt(v, i), 0);
    EXPECT_EQ(IntAt(v, 1), 1);
    EXPECT_EQ(v.Resize(-4, false), nullptr);
    EXPECT_EQ(v.value.a.items, nullptr);
    EXPECT_EQ(v.value.a.count, 0);
    EXPECT_NE(v.Resize(2, false), nullptr);
    EXPECT_EQ(v.value.a.capacity, 4);

    TVariable strings("s", ARRAY{vtString, 2, 0, nullptr}, 0);
    *static_cast<TString*>(strings.GetItem(1)) = "b";
    strings.Resize(9, false);
    EXPECT_EQ(strings.value.a.capacity, 18);
    EXPECT_EQ(*static_cast<TString*>(strings.GetItem(1)), TString("b"));
    EXPECT_TRUE(static_cast<TString*>(strings.GetItem(8))->IsEmpty());
}

TEST(ArrayResizeTest, TwoDimensionalResizeKeepsCells) {
    TVariableList list;
    TVariable& g = Grid(list, 2, 3);
    EXPECT_NE(g.Resize(1, 1, false), nullptr);  // shrink within the capacities
    EXPECT_EQ(g.value.a2.lines, 1);
    g.Resize(2, 3, false);
    EXPECT_EQ(IntAt(g, 1, 2), 12);
    g.Resize(5, 3, false);
    EXPECT_EQ(g.value.a2.linecapacity, 8);
    EXPECT_EQ(IntAt(g, 1, 2), 12);
    EXPECT_EQ(IntAt(g, 4, 2), 0);
    EXPECT_EQ(g.Resize(0, 0, false), nullptr);
    EXPECT_EQ(g.value.a2.rows, nullptr);
    EXPECT_NE(g.Resize(0, 4, false), nullptr);
    EXPECT_EQ(g.value.a2.lines, 0);
    EXPECT_EQ(g.GetItem(0, 0), nullptr);
}

TEST(ArrayItemTest, ItemAccessTable) {
    TVariable v = Counting(4);
    struct Case {
        int i;
        int want;  // -1: null
    } cases[] = {{0, 0}, {3, 3}, {4, -1}, {-1, 3}, {-4, 0}, {-5, -1}};
    for (const Case& c : cases) {
        void* item = v.GetItem(c.i);
        if (c.want < 0)
            EXPECT_EQ(item, nullptr) << c.i;
        else
            EXPECT_EQ(*static_cast<int64_t*>(item), c.want) << c.i;
    }
    EXPECT_EQ(v.GetItem(0, 0), nullptr);
    TVariableList list;
    TVariable& g = Grid(list, 2, 3);
    EXPECT_EQ(IntAt(g, 1, 2), 12);
    EXPECT_EQ(g.GetItem(2, 0), nullptr);
    EXPECT_EQ(g.GetItem(0, 3), nullptr);
    EXPECT_EQ(g.GetItem(-1, 0), nullptr);
    EXPECT_EQ(g.GetItem(0), nullptr);
    int64_t two = 2, nine = 9;
    EXPECT_TRUE(v.IsArrayItem(&two));
    EXPECT_FALSE(v.IsArrayItem(&nine));
    EXPECT_EQ(v.GetItemSize(), 8);
}

TEST(ArrayEditTest, OneDimensionalInsertAndDelete) {
    TVariable full = Counting(8);
    full.Resize(16, false);
    for (int i = 0; i < 16; ++i) IntAt(full, i) = i + 1;
    full.InsertLine(0);
    EXPECT_EQ(full.value.a.count, 17);
    EXPECT_EQ(full.value.a.capacity, 32);
    EXPECT_EQ(IntAt(full, 0), 0);
    EXPECT_EQ(IntAt(full, 16), 16);
    full.InsertLine(18);  // out of range
    EXPECT_EQ(full.value.a.count, 17);
    full.DeleteLine(0);
    EXPECT_EQ(IntAt(full, 0), 1);
    EXPECT_EQ(full.value.a.count, 16);

    TVariable strings("s", ARRAY{vtString, 3, 0, nullptr}, 0);
    const char* texts[] = {"a", "b", "c"};
    for (int i = 0; i < 3; ++i) *static_cast<TString*>(strings.GetItem(i)) = texts[i];
    strings.DeleteLine(1);
    EXPECT_EQ(strings.AsString(','), TString("a,c"));
    strings.InsertLine(2);
    EXPECT_EQ(strings.AsString(','), TString("a,c,"));

    TVariable freed = Counting(2);
    freed.Resize(0, false);
    freed.InsertLine(0);
    EXPECT_EQ(freed.value.a.count, 1);
    EXPECT_EQ(IntAt(freed, 0), 0);
    freed.DeleteLine(0);
    EXPECT_EQ(freed.value.a.count, 0);
}

TEST(ArrayEditTest, LineAndColumnEditsOfTwoDimensionalArrays) {
    TVariableList list;
    Grid(list, 2, 3);
    const int g = list.GetCount() - 1;
    list.InsertArrayLine(g, 1);
    TVariable& v = *list[g];
    EXPECT_EQ(v.value.a2.lines, 3);
    EXPECT_EQ(v.value.a2.linecapacity, 3);
    EXPECT_EQ(IntAt(v, 1, 0), 0);
    EXPECT_EQ(IntAt(v, 2, 2), 12);
    list.InsertArrayCol(g, 0);
    EXPECT_EQ(v.value.a2.cols, 4);
    EXPECT_EQ(v.value.a2.colcapacity, 4);
    EXPECT_EQ(IntAt(v, 2, 3), 12);
    EXPECT_EQ(IntAt(v, 0, 0), 0);
    list.DeleteArrayCol(g, 0);
    list.DeleteArrayLine(g, 1);
    EXPECT_EQ(GetVariableAsString(&v, false), TString("0,1,2\r\n10,11,12"));
    // Indices outside the ranges, and other types, change nothing.
    list.InsertArrayLine(g, 3);
    list.InsertArrayCol(g, 4);
    list.DeleteArrayCol(g, 3);
    list.DeleteArrayLine(g, -1);
    list.InsertArrayLine(g + 1, 0);
    EXPECT_EQ(GetVariableAsString(&v, false), TString("0,1,2\r\n10,11,12"));
    list.DeleteArrayLine(g, 0);
    list.DeleteArrayLine(g, 0);
    EXPECT_EQ(v.value.a2.lines, 0);
    list.InsertArrayLine(g, 0);
    EXPECT_EQ(v.value.a2.lines, 1);
    EXPECT_EQ(IntAt(v, 0, 2), 0);
}

TEST(ArrayEditTest, DeletingAColumnOfStrings) {
    TVariableList list;
    list.NewArray2("s", vtString, false);
    TVariable& v = *list.Last();
    v.Resize(2, 3, false);
    for (int i = 0; i < 2; ++i)
        for (int j = 0; j < 3; ++j) TextAt(v, i, j) = TString(10 * i + j);
    list.DeleteArrayCol("s", 1);
    EXPECT_EQ(GetVariableAsString(&v, false), TString("0,2\r\n10,12"));
}

TEST(ArrayEditTest, ColumnInsertsFollowedByAResizeStayInsideTheRows) {
    TVariableList list;
    TVariable& v = *list.AddVar(TVariable("m", ARRAY2{vtInt, 2, 0, 1, 0, nullptr}));
    ASSERT_EQ(v.value.a2.linecapacity, 4);
    v.Resize(1, 1, false);
    for (int k = 0; k < 3; ++k) list.InsertArrayCol("m", 0);
    ASSERT_NE(v.Resize(3, 3, false), nullptr);
    IntAt(v, 2, 2) = 22;
    for (int i = 0; i < v.value.a2.lines; ++i)
        for (int j = 0; j < v.value.a2.cols; ++j) IntAt(v, i, j) += 1;  // every cell is writable
    EXPECT_EQ(IntAt(v, 2, 2), 23);
    // Line edits release spare rows as well.
    list.DeleteArrayLine("m", 0);
    list.InsertArrayLine("m", 2);
    EXPECT_EQ(v.value.a2.linecapacity, v.value.a2.lines);
    ASSERT_NE(v.Resize(4, 5, false), nullptr);
    IntAt(v, 3, 4) = 1;
}

std::vector<VARINFO> resizes;
void ResizeListener(TVariableList&, const VARINFO& ref, TVariable::TListenAction action) {
    if (action == TVariable::laResized) resizes.push_back(ref);
}

TEST(ArrayEditTest, ResizesAndEditsNotifyListeners) {
    resizes.clear();
    TVariableList list;
    list.NewInt("x", false, 0);
    list.NewArray("a", vtInt, false);
    list.Last()->AddListener(ResizeListener);
    list.ResizeArray("a", 5);
    list.Last()->InsertLine(0);
    list.Last()->Resize(0, true);  // freeing does not notify
    list.NewArray2("m", vtInt, false);
    list.Last()->AddListener(ResizeListener);
    list.ResizeArray2(2, 3, 4);
    list.InsertArrayCol(2, 0);
    ASSERT_EQ(resizes.size(), 4u);
    EXPECT_EQ(resizes[0].index, 1);
    EXPECT_EQ(resizes[0].index1, 5);
    EXPECT_EQ(resizes[0].index2, -1);
    EXPECT_EQ(resizes[1].index1, 6);
    EXPECT_EQ(resizes[2].index, 2);
    EXPECT_EQ(resizes[2].index1, 3);
    EXPECT_EQ(resizes[2].index2, 4);
    EXPECT_EQ(resizes[3].index2, 5);
}

TEST(ArrayListTest, ListOperationsCheckNamesAndTypes) {
    TVariableList list;
    list.NewInt("n", false, 0);
    list.NewArray("ints", vtInt, false);
    list.NewArray("texts", vtString, false);
    EXPECT_EQ(list.ResizeArray("n", 4), nullptr);
    EXPECT_EQ(list.ResizeArray("none", 4), nullptr);
    EXPECT_EQ(list.ResizeArray(7, 4), nullptr);
    EXPECT_EQ(list.GetArrayCount("n"), -1);
    EXPECT_EQ(list.GetArrayCount(9), -1);
    EXPECT_EQ(list.GetArrayItem("n", 0), nullptr);
    EXPECT_EQ(list.GetArray2Item("ints", 0, 0), nullptr);

    TIntContainer ints;
    ints.Add(-1, 7);
    EXPECT_TRUE(list.FillIntArray("ints", ints));
    EXPECT_EQ(*static_cast<int64_t*>(list.GetArrayItem("ints", 0)), -1);
    EXPECT_EQ(*static_cast<int64_t*>(list.GetArrayItem(1, -1)), 7);
    EXPECT_FALSE(list.FillIntArray("nobody", ints));
    EXPECT_FALSE(list.FillIntArray("texts", ints));

    TStringContainer texts;
    texts.Add(TString("x"));
    texts.Add(TString("y"));
    EXPECT_TRUE(list.FillStringArray("texts", texts));
    EXPECT_EQ(list[2]->AsString(' '), TString("x y"));
    EXPECT_FALSE(list.FillStringArray("ints", texts));
}

}  // namespace
