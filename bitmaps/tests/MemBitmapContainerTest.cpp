// TMemBitmapItem: a bitmap stored and restored through the item forms.
#include <gtest/gtest.h>

#include <cstdio>
#include <sstream>

#include "MemBitmapContainer.h"
#include "MemBuffer.h"

namespace {

TEST(MemBitmapContainer, ItemsCarryTheirBitmapThroughEveryForm) {
    TMemBitmap source(4, 3, 8, true);
    source.SetPixel(2, 1, 9);
    source.SetPaletteEntry(9, 10, 20, 30);
    TMemBitmapItem item(source);
    EXPECT_EQ(item.Bitmap().GetPixel(2, 1), 9);

    TMemBuffer buffer;
    item.WriteToMemBuffer(buffer);
    TMemBitmapItem fromBuffer;
    ASSERT_TRUE(fromBuffer.ReadFromMemBuffer(buffer));
    EXPECT_EQ(fromBuffer.Bitmap().GetPixel(2, 1), 9);
    EXPECT_EQ(fromBuffer.Bitmap().GetPaletteEntry(9), 0x0A141E);

    FILE* file = std::tmpfile();
    item.SaveToStream(file);
    std::rewind(file);
    TMemBitmapItem fromFile;
    ASSERT_TRUE(fromFile.LoadFromStream(file));
    std::fclose(file);
    EXPECT_EQ(fromFile.Bitmap().GetPixel(2, 1), 9);

    std::stringstream stream;
    item.WriteToStdStream(stream);
    TMemBitmapItem fromStream;
    ASSERT_TRUE(fromStream.ReadFromStdStream(stream));
    EXPECT_EQ(fromStream.Bitmap().Width, 4);

    TMemBitmapItem blank(5, 6, 24);
    EXPECT_EQ(blank.Bitmap().Height, 6);
    TMemBuffer damaged;
    damaged.AddByte(0);
    EXPECT_FALSE(fromBuffer.ReadFromMemBuffer(damaged));
    EXPECT_FALSE(fromBuffer.Bitmap().Valid);
}

}  // namespace
