// Tests of the value containers: typed members, points and their storage form.
#include <gtest/gtest.h>

#include <vector>

#include "MemBuffer.h"
#include "ValueContainers.h"

namespace {

std::vector<unsigned char> Image(const TMemBuffer& buffer) {
    const unsigned char* block = static_cast<const unsigned char*>(buffer.GetBlock());
    return std::vector<unsigned char>(block, block + buffer.GetSize());
}

}  // namespace

TEST(ValueContainers, PointListBytes) {
    TPointContainer points;
    points.Add(POINT{1, -2}, POINT{300, 4});
    TMemBuffer buffer;
    buffer.AddByte(0xAA);  // the end offset counts from the start of the buffer
    points.WriteToMemBuffer(buffer);
    const std::vector<unsigned char> expected = {
        0xAA, 41, 0, 0, 0, 2, 0, 0, 0, 16, 0, 0, 0, 1, 0, 1, 8, 0, 0, 0, 1, 1, 0, 0, 0,
        1, 0, 0, 0, 0xFE, 0xFF, 0xFF, 0xFF, 0x2C, 1, 0, 0, 4, 0, 0, 0};
    EXPECT_EQ(Image(buffer), expected);
    TPointContainer back;
    buffer.SeekRead(1);
    ASSERT_TRUE(back.ReadFromMemBuffer(buffer));
    ASSERT_EQ(back.GetCount(), 2);
    EXPECT_EQ(back[1].x, 300);
    EXPECT_EQ(back[0].y, -2);
}

TEST(ValueContainers, PointsArrayAndOffset) {
    TPointContainer points;
    points.Add(POINT{1, 2}, POINT{3, 4}, POINT{5, 6});
    points.MakeOffset(10, -1);
    points[0].x = 0;  // written in place by index
    POINT* array = points.GetPoints(false);
    EXPECT_EQ(array[0].x, 0);
    EXPECT_EQ(array[2].x, 15);
    EXPECT_EQ(array[2].y, 5);
    delete[] array;
    POINT* closed = points.GetPoints(true);
    EXPECT_EQ(closed[3].x, closed[0].x);
    delete[] closed;
}

TEST(ValueContainers, TypedMembers) {
    TIntContainer list;
    list.Insert(0, 10, 0, 20);  // the second position is shifted by the first insert
    EXPECT_EQ(list[0], 10);
    EXPECT_EQ(list[1], 20);
    list.Add(30, 40, 50);
    EXPECT_EQ(list.Mid(), 30);
    EXPECT_EQ(list.First(), 10);
    EXPECT_EQ(list.Last(), 50);
    list.Add(60);
    EXPECT_EQ(list.Mid(), 40);  // count 6: item 3
    *list.NewItem() = 70;
    EXPECT_EQ(list.Last(), 70);
    int* copies = list.GetArray();
    EXPECT_EQ(copies[6], 70);
    delete[] copies;
    list.SetAll(1);
    EXPECT_EQ(list[4], 1);
    TIntContainer empty;
    int* none = empty.GetArray();
    delete[] none;
    EXPECT_THROW(empty.First(), TSDPPBadIndex);
}

TEST(ValueContainers, CopiesAndSortingByValue) {
    TDoubleContainer doubles;
    doubles.Add(2.5, -1.0, 0.0);
    TDoubleContainer copy(doubles);
    copy.Sort();
    EXPECT_EQ(copy[0], -1.0);
    EXPECT_EQ(doubles[0], 2.5);
    TRectContainer rects;
    rects.Add(RECT{1, 2, 3, 4}, RECT{1, 1, 9, 9});
    rects.Sort();
    EXPECT_EQ(rects[0].top, 1);
    TMemBuffer buffer;
    rects.WriteToMemBuffer(buffer);
    TRectContainer back;
    ASSERT_TRUE(back.ReadFromMemBuffer(buffer));
    EXPECT_EQ(back[1].bottom, 4);
    EXPECT_EQ(buffer.GetSize(), 24 + 2 * 16);
}
