// Tests of TMemBufferContainer: owned buffers and their storage form.
#include <gtest/gtest.h>

#include "MemBufferContainer.h"

TEST(MemBufferContainer, BuffersRoundTripPackedOrNot) {
    TMemBufferContainer buffers;
    TMemBuffer plain;
    plain.AddString("plain");
    buffers.Add(plain);
    TMemBuffer& packed = buffers.NewItem();
    for (int i = 0; i < 100; ++i) packed.AddInt(i);
    packed.SetPacked(true);
    TMemBuffer form;
    buffers.WriteToMemBuffer(form);
    TMemBufferContainer back;
    ASSERT_TRUE(back.ReadFromMemBuffer(form));
    ASSERT_EQ(back.GetCount(), 2);
    char* text = back[0].ReadString();
    EXPECT_STREQ(text, "plain");
    delete[] text;
    EXPECT_TRUE(back[1].GetPacked());
    back[1].SeekRead(99 * 4);
    EXPECT_EQ(back[1].ReadInt(), 99);
    EXPECT_THROW(back[2], TSDPPBadIndex);
}
