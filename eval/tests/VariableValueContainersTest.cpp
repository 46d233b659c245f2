// Tests of the point and complex value containers.
#include <gtest/gtest.h>

#include "VariableValueContainers.h"

namespace {

bool Same(const VPOINT& a, const VPOINT& b) { return a.x == b.x && a.y == b.y; }

TEST(VarPointContainerTest, InsertPairsAndPositions) {
    TVarPointContainer points;
    const VPOINT a{1, 2}, b{3, 4};
    points.Insert(0, a, 0, b);
    ASSERT_EQ(points.GetCount(), 2);
    EXPECT_TRUE(Same(points[0], a));
    EXPECT_TRUE(Same(points[1], b));
    points.Add(VPOINT{5, 6}, VPOINT{7, 8}, VPOINT{9, 10});
    EXPECT_TRUE(Same(points.Mid(), VPOINT{5, 6}));  // 5 items: item 2
    points.Add(VPOINT{11, 12});
    EXPECT_TRUE(Same(points.Mid(), VPOINT{7, 8}));  // 6 items: item 3
    EXPECT_TRUE(Same(points.First(), a));
    EXPECT_TRUE(Same(points.Last(), VPOINT{11, 12}));
    EXPECT_EQ(points.IndexOf(VPOINT{7, 8}), 3);
    EXPECT_EQ(points.IndexOf(VPOINT{8, 7}), -1);
    EXPECT_EQ(points.GetItem(6), nullptr);
    EXPECT_TRUE(Same(*points.GetItem(1), b));
}

TEST(VarPointContainerTest, ConditionsCompareNumerically) {
    TVarPointContainer points;
    points.Add(VPOINT{-1, 0}, VPOINT{2, 0}, VPOINT{256, 0}, VPOINT{2, -5});
    TIntContainer found;
    EXPECT_EQ(points.GetItemsIf(VPOINT{2, 0}, icLess, found), 2);
    EXPECT_EQ(found[0], 0);
    EXPECT_EQ(found[1], 3);
    EXPECT_EQ(points.RemoveIf(VPOINT{2, 0}, icGreaterOrEqual), 2);
    EXPECT_EQ(points.GetCount(), 2);
}

TEST(ComplexContainerTest, CopiesArraysAndStorage) {
    TComplexContainer values;
    VCOMPLEX* empty = values.GetArray();
    delete[] empty;
    values.Add(VCOMPLEX{1.5, -2}, VCOMPLEX{0, 3});
    values.SetAll(VCOMPLEX{4, 4});
    TComplexContainer copy(values);
    copy += VCOMPLEX{-1, -1};
    copy += values;
    EXPECT_EQ(copy.GetCount(), 5);
    EXPECT_EQ(values.GetCount(), 2);
    VCOMPLEX* array = copy.GetArray();
    EXPECT_EQ(array[2].re, -1);
    EXPECT_EQ(array[4].im, 4);
    delete[] array;
    EXPECT_EQ(copy.Array()[0].re, 4);

    TMemBuffer buffer;
    copy.WriteToMemBuffer(buffer);
    TComplexContainer back;
    ASSERT_TRUE(back.ReadFromMemBuffer(buffer));
    EXPECT_EQ(back.GetCount(), 5);
    EXPECT_EQ(back[2].im, -1);
    EXPECT_EQ(back.IndexOf(VCOMPLEX{-1, -1}), 2);
}

}  // namespace
