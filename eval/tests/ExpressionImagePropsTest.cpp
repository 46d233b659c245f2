// Tests of TExpressionImageProps: defaults, the stored byte layout, round trips and short buffers.
#include <gtest/gtest.h>

#include <cstring>

#include "ExpressionImageProps.h"
#include "ExpressionImagePropsTestSupport.h"

namespace {

TExpressionImageProps SampleProps() {
    TExpressionImageProps props;
    props.Font = "Courier";
    props.FontSize = 12;
    props.BkColor = 0x102030;
    props.TextColor = 0x405060;
    props.ExpCharRatio = 0.75f;
    props.IndexCharRatio = 0.25f;
    props.RootCharRatio = 0.125f;
    return props;
}

}  // namespace

TEST(ExpressionImagePropsTest, DefaultsAreArialTenBlackOnWhite) {
    TExpressionImageProps props;
    EXPECT_STREQ(props.Font.c_str(), "Arial");
    EXPECT_EQ(props.FontSize, 10);
    EXPECT_EQ(props.BkColor, 0xFFFFFF);
    EXPECT_EQ(props.TextColor, 0x000000);
    EXPECT_FLOAT_EQ(props.ExpCharRatio, 0.6f);
    EXPECT_FLOAT_EQ(props.IndexCharRatio, 0.4f);
    EXPECT_FLOAT_EQ(props.RootCharRatio, 0.5f);
}

// The stored order differs from the member order: ratios come before colours.
TEST(ExpressionImagePropsTest, StoredFormIsFieldByFieldInItsOwnOrder) {
    TMemBuffer buffer;
    SampleProps().WriteToMemBuffer(buffer);
    const uint8_t expectedHead[] = {7, 0, 0, 0, 'C', 'o', 'u', 'r', 'i', 'e', 'r', 12, 0, 0, 0};
    ASSERT_EQ(buffer.GetSize(), 15 + 3 * 4 + 2 * 4);
    const uint8_t* bytes = static_cast<const uint8_t*>(buffer.GetBlock());
    EXPECT_EQ(std::memcmp(bytes, expectedHead, sizeof expectedHead), 0);
    const float ratios[] = {0.75f, 0.25f, 0.125f};
    for (int i = 0; i < 3; ++i) {
        uint32_t bits;
        std::memcpy(&bits, &ratios[i], 4);
        const uint8_t* field = bytes + 15 + 4 * i;
        EXPECT_EQ(field[0] | field[1] << 8 | field[2] << 16 | uint32_t(field[3]) << 24, bits) << "ratio " << i;
    }
    const uint8_t expectedColours[] = {0x30, 0x20, 0x10, 0, 0x60, 0x50, 0x40, 0};
    EXPECT_EQ(std::memcmp(bytes + 27, expectedColours, sizeof expectedColours), 0);
}

TEST(ExpressionImagePropsTest, RoundTripsIncludingAnEmptyFont) {
    TExpressionImageProps empty = SampleProps();
    empty.Font = "";
    for (const TExpressionImageProps& original : {SampleProps(), empty, TExpressionImageProps()}) {
        TMemBuffer buffer;
        original.WriteToMemBuffer(buffer);
        buffer.AddInt(99);  // the next record's data stays unread
        TExpressionImageProps read;
        read.Font = "stale";
        ASSERT_TRUE(read.ReadFromMemBuffer(buffer));
        ExpectSameProps(read, original);
        EXPECT_EQ(buffer.ReadInt(), 99);
    }
}

TEST(ExpressionImagePropsTest, ShortOrDamagedRecordReadsNothing) {
    TMemBuffer full;
    SampleProps().WriteToMemBuffer(full);
    TMemBuffer badLength;
    badLength.AddInt(-5);
    badLength.Add(static_cast<const uint8_t*>(full.GetBlock()) + 11, full.GetSize() - 11);
    TMemBuffer cases[3];
    cases[0].Add(full.GetBlock(), full.GetSize() - 1);
    cases[1].Add(full.GetBlock(), 2);
    cases[2] = badLength;
    for (TMemBuffer& buffer : cases) {
        TExpressionImageProps read;
        EXPECT_FALSE(read.ReadFromMemBuffer(buffer));
        ExpectSameProps(read, TExpressionImageProps());
        EXPECT_EQ(buffer.GetReadPosition(), 0);
    }
}
