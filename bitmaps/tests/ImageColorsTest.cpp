// Tests of the image operations, each on top-down and bottom-up views.
#include "ImageColors.h"

#include "TestImage.h"

#include <gtest/gtest.h>

#include <climits>
#include <cmath>
#include <vector>

namespace {

using Rows = std::vector<int>;

class ImageOperations : public ::testing::TestWithParam<bool> {
protected:
    TestImage Gray(int width, int height) { return TestImage(idtGray8, width, height, GetParam()); }
    TestImage Colour(int width, int height) { return TestImage(idtBgr24, width, height, GetParam()); }
};

INSTANTIATE_TEST_SUITE_P(Layouts, ImageOperations, ::testing::Values(false, true),
                         [](const ::testing::TestParamInfo<bool>& info) { return info.param ? "BottomUp" : "TopDown"; });

TEST_P(ImageOperations, CopyAtNegativeOffsetSkipsLeadingColumnsWithoutSkew) {
    TestImage source = Gray(4, 2), destination = Gray(5, 3);
    source.SetRows({1, 2, 3, 4, 5, 6, 7, 8});
    CopyImage(destination.view(), -2, 0, source.view());
    EXPECT_EQ(destination.Rows(), (Rows{3, 4, 0, 0, 0, 7, 8, 0, 0, 0, 0, 0, 0, 0, 0}));
}

TEST_P(ImageOperations, CopyClipsAtTheFarEdgesAndIgnoresOffsetsOutside) {
    TestImage source = Gray(2, 2), destination = Gray(3, 3);
    source.SetRows({1, 2, 3, 4});
    CopyImage(destination.view(), 2, 2, source.view());
    EXPECT_EQ(destination.Rows(), (Rows{0, 0, 0, 0, 0, 0, 0, 0, 1}));
    for (int offset : {3, 1000000, -2, -1000000}) {
        TestImage target = Gray(3, 3);
        CopyImage(target.view(), offset, offset, source.view());
        EXPECT_EQ(target.Rows(), Rows(9, 0)) << offset;
    }
    TestImage colour = Colour(3, 3);
    CopyImage(colour.view(), 0, 0, source.view());
    EXPECT_EQ(colour.Rows(), Rows(9, 0));
}

TEST_P(ImageOperations, CopyOfEqualViewsCopiesEveryByte) {
    TestImage source = Colour(3, 2), destination = Colour(3, 2), other = Colour(2, 2);
    source.SetBgr(2, 1, 7, 8, 9);
    CopyImage(destination.view(), source.view());
    EXPECT_EQ(destination.At(2, 1, 2), 9);
    CopyImage(other.view(), source.view());
    EXPECT_EQ(other.Rows(), Rows(4, 0));
}

TEST_P(ImageOperations, ScaleDoublesIntoBlocksAndQuartersBySampling) {
    TestImage source = Gray(2, 2), doubled = Gray(4, 4);
    source.SetRows({1, 2, 3, 4});
    ScaleImage(doubled.view(), source.view(), isDouble);
    EXPECT_EQ(doubled.Rows(), (Rows{1, 1, 2, 2, 1, 1, 2, 2, 3, 3, 4, 4, 3, 3, 4, 4}));

    TestImage large = Gray(8, 5), quartered = Gray(2, 2);
    for (int y = 0; y < 5; ++y)
        for (int x = 0; x < 8; ++x) large.At(x, y) = uint8_t(10 * y + x);
    ScaleImage(quartered.view(), large.view(), isQuarter);
    EXPECT_EQ(quartered.Rows(), (Rows{0, 4, 40, 44}));
}

TEST_P(ImageOperations, ScaleRefusesTooSmallDestinationsAndBadRatios) {
    TestImage source = Gray(2, 2), small = Gray(3, 4);
    source.Fill(9);
    ScaleImage(small.view(), source.view(), isDouble);
    ScaleImage(small.view(), source.view(), 2, 0);
    ScaleImage(small.view(), source.view(), 0, 1);
    EXPECT_EQ(small.Rows(), Rows(12, 0));
}

TEST_P(ImageOperations, ResoluteTakesTheBlockValueByMode) {
    struct Case {
        int mode;
        int value;
    };
    for (const Case& c : {Case{rimMean, 2}, Case{rimMinimum, 1}, Case{rimMedian, 3}, Case{rimMaximum, 4}}) {
        TestImage image = Gray(2, 2);
        image.SetRows({1, 2, 3, 4});
        EXPECT_TRUE(ResoluteImage(image.view(), 2, 2, c.mode, false));
        EXPECT_EQ(image.Rows(), Rows(4, c.value)) << c.mode;
    }
}

TEST_P(ImageOperations, ResoluteClampsPartialBlocksAndRefusesEmptyBlocks) {
    TestImage image = Gray(3, 1);
    image.SetRows({10, 20, 60});
    // The last block is column 2 repeated: mean of 60, 60.
    EXPECT_TRUE(ResoluteImage(image.view(), 2, 1, rimMean, false));
    EXPECT_EQ(image.Rows(), (Rows{15, 15, 60}));
    // Clamped coordinates weigh as often as they are repeated: 1, 2, 2, 3, 3, 4, 4, 4, 4.
    TestImage square = Gray(2, 2);
    square.SetRows({1, 2, 3, 4});
    EXPECT_TRUE(ResoluteImage(square.view(), 3, 3, rimMedian, false));
    EXPECT_EQ(square.Rows(), Rows(4, 3));
    square.SetRows({1, 2, 3, 4});
    EXPECT_TRUE(ResoluteImage(square.view(), 3, 3, rimMean, false));
    EXPECT_EQ(square.Rows(), Rows(4, 3));
    square.SetRows({1, 2, 3, 4});
    EXPECT_TRUE(ResoluteImage(square.view(), INT_MAX, INT_MAX, rimMedian, false));
    EXPECT_EQ(square.Rows(), Rows(4, 4));
    EXPECT_FALSE(ResoluteImage(image.view(), 0, 1, rimMean, false));
    EXPECT_FALSE(ResoluteImage(image.view(), 1, 0, rimMean, false));
    EXPECT_FALSE(ResoluteImage(image.view(), 1, 1, 4, false));
}

TEST_P(ImageOperations, ResoluteIntoADestinationWritesOnePixelPerBlock) {
    TestImage source = Gray(4, 3), destination = Gray(2, 2), small = Gray(2, 1);
    source.SetRows({1, 1, 5, 5, 1, 1, 5, 5, 9, 9, 7, 7});
    EXPECT_TRUE(ResoluteImage(source.view(), destination.view(), 2, 2, rimMaximum, false));
    EXPECT_EQ(destination.Rows(), (Rows{1, 5, 9, 7}));
    EXPECT_FALSE(ResoluteImage(source.view(), small.view(), 2, 2, rimMean, false));
    EXPECT_EQ(small.Rows(), (Rows{0, 0}));
    EXPECT_FALSE(ResoluteImage(source.view(), Colour(2, 2).view(), 2, 2, rimMean, false));
}

TEST_P(ImageOperations, RowSpinsMoveRightLeftAndWrap) {
    struct Case {
        int n;
        Rows expected;
    };
    const Case cases[] = {
        {0, {1, 2, 3, 4}}, {4, {1, 2, 3, 4}}, {-1, {2, 3, 4, 1}}, {1, {4, 1, 2, 3}}, {-9, {2, 3, 4, 1}},
    };
    for (const Case& c : cases) {
        TestImage image = Gray(4, 1);
        image.SetRows({1, 2, 3, 4});
        HorzSpinImage(image.view(), c.n, false, 0);
        EXPECT_EQ(image.Rows(), c.expected) << c.n;
    }
}

TEST_P(ImageOperations, ColumnSpinsMoveDownAndRgbMaskSelectsBytes) {
    TestImage image = Gray(2, 3);
    image.SetRows({1, 2, 3, 4, 5, 6});
    VertSpinImage(image.view(), 1, false, 0);
    EXPECT_EQ(image.Rows(), (Rows{5, 6, 1, 2, 3, 4}));

    TestImage colour = Colour(2, 1);
    colour.SetBgr(0, 0, 10, 20, 30);
    colour.SetBgr(1, 0, 11, 21, 31);
    HorzSpinImage(colour.view(), 1, true, cmRed);
    EXPECT_EQ(colour.At(0, 0, 2), 31);
    EXPECT_EQ(colour.At(0, 0, 0), 10);
    EXPECT_EQ(colour.At(1, 0, 1), 21);
}

TEST_P(ImageOperations, SpinOfIntensityMovesBrightness) {
    TestImage colour = Colour(2, 1);
    colour.SetBgr(0, 0, 200, 200, 200);
    SpinImage(colour.view(), 1, 0, false, cmIntensity);
    EXPECT_LE(colour.At(0, 0, 1), 1);
    EXPECT_GE(colour.At(1, 0, 1), 198);
}

TEST_P(ImageOperations, OffsetMovesContentAndFillsTheUncoveredStrip) {
    TestImage image = Gray(2, 5);
    image.SetRows({1, 2, 3, 4, 5, 6, 7, 8, 9, 10});
    OffsetImage(image.view(), 0, 3, 0x63);
    EXPECT_EQ(image.Rows(), (Rows{0x63, 0x63, 0x63, 0x63, 0x63, 0x63, 1, 2, 3, 4}));

    TestImage sideways = Gray(3, 1);
    sideways.SetRows({1, 2, 3});
    OffsetImage(sideways.view(), -1, 0, 9);
    EXPECT_EQ(sideways.Rows(), (Rows{2, 3, 9}));
    OffsetImage(sideways.view(), 4, 0, 7);
    OffsetImage(sideways.view(), 0, -2, 7);
    EXPECT_EQ(sideways.Rows(), (Rows{2, 3, 9}));
}

TEST_P(ImageOperations, OffsetOfColourPixelsMovesAllThreeBytes) {
    TestImage image = Colour(2, 1);
    image.SetBgr(0, 0, 1, 2, 3);
    OffsetImage(image.view(), 1, 0, 0x0A0B0C);
    EXPECT_EQ(image.At(1, 0, 2), 3);
    EXPECT_EQ(image.At(0, 0, 0), 0x0A);
    EXPECT_EQ(image.At(0, 0, 2), 0x0C);
}

TEST_P(ImageOperations, ThinImageCountsNeighboursOnTheOriginal) {
    TestImage image = Gray(3, 3);
    image.SetRows({0, 255, 0, 255, 255, 255, 0, 255, 0});
    // Corners and edges see three set neighbours, the centre four.
    EXPECT_EQ(ThinImage(image.view(), 4), 1);
    EXPECT_EQ(image.Rows(), (Rows{0, 0, 0, 0, 255, 0, 0, 0, 0}));
    EXPECT_EQ(ThinImage(image.view(), 0), 1);
    EXPECT_EQ(image.Rows(), Rows(9, 255));
    EXPECT_EQ(ThinImage(Colour(2, 2).view(), 0), 0);
}

TEST_P(ImageOperations, ExtractChannelFromPaletteAndFromColour) {
    TestImage gray = Gray(2, 1), destination = Gray(2, 1);
    gray.SetRows({0, 1});
    std::vector<uint32_t> palette(256, 0);
    palette[0] = 0x112233;
    palette[1] = 0x445566;
    EXPECT_TRUE(ExtractImageChannel(gray.view(), destination.view(), 0, palette.data()));
    EXPECT_EQ(destination.Rows(), (Rows{0x11, 0x44}));
    EXPECT_FALSE(ExtractImageChannel(gray.view(), destination.view(), 0, nullptr));

    TestImage colour = Colour(2, 1);
    colour.SetBgr(1, 0, 5, 6, 7);
    EXPECT_TRUE(ExtractImageChannel(colour.view(), destination.view(), 1, nullptr));
    EXPECT_EQ(destination.Rows(), (Rows{0, 6}));
    EXPECT_FALSE(ExtractImageChannel(colour.view(), Colour(2, 1).view(), 1, nullptr));
    EXPECT_FALSE(ExtractImageChannel(colour.view(), Gray(1, 1).view(), 1, nullptr));
}

TEST_P(ImageOperations, InsertChannelBlendsLargeImagesAndNeedsGreyIntoColour) {
    TestImage gray = Gray(300, 260), colour = Colour(300, 260);
    gray.Fill(200);
    colour.Fill(100);
    EXPECT_TRUE(InsertImageChannel(gray.view(), colour.view(), 2, 0.5));
    EXPECT_EQ(colour.At(299, 259, 2), 150);
    EXPECT_EQ(colour.At(299, 259, 1), 100);
    EXPECT_EQ(colour.At(0, 0, 2), 150);

    TestImage colourGray = Colour(300, 260);
    EXPECT_FALSE(InsertImageChannel(colourGray.view(), colour.view(), 2, 0.5));
    EXPECT_FALSE(InsertImageChannel(gray.view(), Gray(300, 260).view(), 2, 0.5));
    EXPECT_FALSE(InsertImageChannel(gray.view(), Colour(300, 259).view(), 2, 0.5));
}

TEST_P(ImageOperations, FillAreaTakesCornersInEitherOrderAndClips) {
    TestImage image = Gray(8, 8);
    FillImageArea(image.view(), 5, 5, 2, 2, 0x0203FF);
    int filled = 0;
    for (int y = 0; y < 8; ++y)
        for (int x = 0; x < 8; ++x) {
            const bool inside = x >= 2 && x <= 5 && y >= 2 && y <= 5;
            EXPECT_EQ(image.At(x, y), inside ? 0xFF : 0) << x << "," << y;
            filled += inside;
        }
    EXPECT_EQ(filled, 16);
    TestImage colour = Colour(2, 2);
    FillImageArea(colour.view(), -100, -100, 100, 0, 0x030201);
    EXPECT_EQ(colour.At(1, 0, 0), 3);
    EXPECT_EQ(colour.At(1, 0, 2), 1);
    EXPECT_EQ(colour.At(1, 1, 0), 0);
}

TEST_P(ImageOperations, DiffImageWrapsToTheLowByteAndNeedsEqualViews) {
    TestImage a = Gray(2, 1), b = Gray(2, 1), out = Gray(2, 1);
    a.SetRows({10, 200});
    b.SetRows({20, 0});
    EXPECT_TRUE(CreateDiffImage(a.view(), b.view(), out.view(), 1.0, 0));
    EXPECT_EQ(out.Rows(), (Rows{246, 200}));
    EXPECT_TRUE(CreateDiffImage(a.view(), b.view(), out.view(), 2.0, 5));
    EXPECT_EQ(out.Rows(), (Rows{241, 149}));
    EXPECT_FALSE(CreateDiffImage(a.view(), b.view(), Gray(1, 1).view(), 1.0, 0));
    EXPECT_FALSE(CreateDiffImage(a.view(), Colour(2, 1).view(), out.view(), 1.0, 0));
}

TEST_P(ImageOperations, DiffImageOfSixteenBitPixelsStaysInsideThePixel) {
    // Packed two-byte pixels: a third byte would belong to the next pixel or
    // lie past the buffer.
    std::vector<uint8_t> a = {1, 2, 3, 4}, b = {0, 0, 0, 0}, out(4, 0);
    EXPECT_TRUE(CreateDiffImage(MakeImageData(a.data(), idtRgb565, 2, 1), MakeImageData(b.data(), idtRgb565, 2, 1),
                                MakeImageData(out.data(), idtRgb565, 2, 1), 1.0, 0));
    EXPECT_EQ(out, a);
}

TEST_P(ImageOperations, BorderPaintsAFrameAndAFadingBand) {
    TestImage image = Gray(20, 20);
    image.Fill(255);
    EXPECT_TRUE(CreateImageBorder(image.view(), 4, 4, false));
    EXPECT_EQ(image.At(10, 0), 0);
    EXPECT_EQ(image.At(10, 1), 0);
    // Rows 4..j+2 of five columns each, over 16.
    EXPECT_EQ(image.At(10, 2), 5 * 255 / 16);
    EXPECT_EQ(image.At(10, 3), 10 * 255 / 16);
    EXPECT_EQ(image.At(10, 4), 15 * 255 / 16);
    EXPECT_EQ(image.At(10, 17), 5 * 255 / 16);
    EXPECT_EQ(image.At(2, 10), 5 * 255 / 16);
    EXPECT_EQ(image.At(18, 10), 0);
    EXPECT_EQ(image.At(10, 10), 255);
}

TEST_P(ImageOperations, BorderSmallerThanTheBlockStaysInside) {
    TestImage image = Colour(12, 12);
    image.Fill(255);
    EXPECT_TRUE(CreateImageBorder(image.view(), 1, 4, true));
    EXPECT_TRUE(CreateImageBorder(image.view(), 0, 1, false));
    EXPECT_FALSE(CreateImageBorder(image.view(), 4, 0, true));
    EXPECT_FALSE(CreateImageBorder(image.view(), -1, 2, true));
    EXPECT_FALSE(CreateImageBorder(image.view(), 5, 4, true));
}

TEST_P(ImageOperations, ThresholdByMeanAndByTheRewrittenFirstByte) {
    TestImage colour = Colour(2, 1);
    colour.SetBgr(0, 0, 90, 100, 110);
    colour.SetBgr(1, 0, 90, 100, 109);
    ThresholdImage(colour.view(), 100, 1, 2, false);
    EXPECT_EQ(colour.At(0, 0, 2), 2);
    EXPECT_EQ(colour.At(1, 0, 2), 1);

    TestImage perChannel = Colour(1, 1);
    perChannel.SetBgr(0, 0, 50, 255, 255);
    // The first byte becomes 200, which then decides the other two.
    ThresholdImage(perChannel.view(), 100, 200, 10, true);
    EXPECT_EQ(perChannel.At(0, 0, 0), 200);
    EXPECT_EQ(perChannel.At(0, 0, 1), 10);
    EXPECT_EQ(perChannel.At(0, 0, 2), 10);

    std::vector<uint8_t> packed = {5, 6, 7, 8};
    ThresholdImage(MakeImageData(packed.data(), idtRgb565, 2, 1), 100, 0, 255, true);
    EXPECT_EQ(packed, (std::vector<uint8_t>{5, 6, 7, 8}));
}

TEST_P(ImageOperations, MirrorBothWaysAndColourMasks) {
    TestImage image = Gray(2, 3);
    image.SetRows({1, 2, 3, 4, 5, 6});
    MirrorImage(image.view(), mtTopToBottom, false, 0);
    EXPECT_EQ(image.Rows(), (Rows{5, 6, 3, 4, 1, 2}));
    MirrorImage(image.view(), mtLeftToRight, false, 0);
    EXPECT_EQ(image.Rows(), (Rows{6, 5, 4, 3, 2, 1}));

    TestImage colour = Colour(1, 2);
    colour.SetBgr(0, 0, 1, 2, 3);
    MirrorImage(colour.view(), mtTopToBottom, true, 0);
    EXPECT_EQ(colour.At(0, 0, 0), 1);
    MirrorImage(colour.view(), mtTopToBottom, true, cmBlue);
    EXPECT_EQ(colour.At(0, 0, 0), 0);
    EXPECT_EQ(colour.At(0, 1, 0), 1);
    EXPECT_EQ(colour.At(0, 1, 2), 0);
}

TEST_P(ImageOperations, RotateAtZeroCentresAndAtQuarterTurnsTheImage) {
    TestImage source = Gray(2, 2), destination = Gray(4, 4);
    source.SetRows({1, 2, 3, 4});
    RotateImage(destination.view(), source.view(), 0, -1, -1, -1, -1);
    EXPECT_EQ(destination.Rows(), (Rows{0, 0, 0, 0, 0, 1, 2, 0, 0, 3, 4, 0, 0, 0, 0, 0}));

    TestImage square = Gray(5, 5), turned = Gray(5, 5);
    for (int y = 0; y < 5; ++y)
        for (int x = 0; x < 5; ++x) square.At(x, y) = uint8_t(10 * y + x + 1);
    RotateImage(turned.view(), square.view(), M_PI / 2, -1, -1, -1, -1);
    for (int y = 0; y < 4; ++y)
        for (int x = 1; x < 5; ++x) EXPECT_NEAR(turned.At(x, y), square.At(y, 4 - x), 1) << x << "," << y;
    EXPECT_EQ(turned.At(0, 0), 0);
}

TEST_P(ImageOperations, RescaleIntensityAndChannelThroughTables) {
    std::vector<uint8_t> invert(256);
    for (int i = 0; i < 256; ++i) invert[i] = uint8_t(255 - i);
    TestImage gray = Gray(2, 1);
    gray.SetRows({0, 55});
    RescaleImageIntensity(gray.view(), invert.data());
    EXPECT_EQ(gray.Rows(), (Rows{255, 200}));

    TestImage colour = Colour(1, 1);
    colour.SetBgr(0, 0, 10, 20, 30);
    RescaleImageChannel(colour.view(), 0, invert.data());
    EXPECT_EQ(colour.At(0, 0, 0), 245);
    EXPECT_EQ(colour.At(0, 0, 1), 20);

    TestImage grey = Colour(1, 1);
    grey.SetBgr(0, 0, 100, 100, 100);
    std::vector<uint8_t> brighten(256, 200);
    RescaleImageIntensity(grey.view(), brighten.data());
    EXPECT_NEAR(grey.At(0, 0, 1), 200, 1);
}

TEST_P(ImageOperations, GrayscaleIsTheMeanOfTheThreeBytes) {
    TestImage colour = Colour(2, 1), gray = Gray(2, 1), small = Gray(1, 1);
    colour.SetBgr(1, 0, 10, 20, 33);
    ConvertImageToGrayscale(colour.view(), gray.view());
    EXPECT_EQ(gray.Rows(), (Rows{0, 21}));
    small.Fill(7);
    ConvertImageToGrayscale(colour.view(), small.view());
    EXPECT_EQ(small.Rows(), (Rows{7}));
}

// A 9 x 7 image of varied values with a pattern planted at (x, y).
TestImage PlantedImage(bool bottomUp, const TestImage& pattern, int x, int y) {
    TestImage image(idtGray8, 9, 7, bottomUp);
    for (int row = 0; row < 7; ++row)
        for (int column = 0; column < 9; ++column) image.At(column, row) = uint8_t(40 + (column * 37 + row * 11) % 150);
    TestImage source = pattern;
    CopyImage(image.view(), x, y, source.view());
    return image;
}

TEST_P(ImageOperations, PatternMatchFindsAPatternInTheLastColumnAndRow) {
    TestImage pattern = Gray(3, 2);
    pattern.SetRows({250, 1, 250, 1, 250, 1});
    TestImage image = PlantedImage(GetParam(), pattern, 6, 5);
    std::vector<PATTERN_MATCH_ITEM> results;
    PatternMatch(image.view(), pattern.view(), 3, results, 1, 1, 0, 0, 1);
    ASSERT_FALSE(results.empty());
    EXPECT_LE(results.size(), 3u);
    EXPECT_EQ(results[0].score, 0.0);
    EXPECT_EQ(results[0].x, 6);
    EXPECT_EQ(results[0].y, 5);
    for (size_t i = 1; i < results.size(); ++i) EXPECT_LE(results[i - 1].score, results[i].score);
}

TEST_P(ImageOperations, PatternAsLargeAsTheImageMatchesAtTheOrigin) {
    TestImage image = Gray(3, 3);
    image.Fill(77);
    std::vector<PATTERN_MATCH_ITEM> results;
    PatternMatch(image.view(), image.view(), 1, results, 1, 1, 0, 0, 1);
    ASSERT_EQ(results.size(), 1u);
    EXPECT_EQ(results[0].score, 0.0);
    EXPECT_EQ(results[0].x, 0);

    TestImage zeros = Gray(2, 2);
    PatternMatch(image.view(), zeros.view(), -2, results, 1, 1, 0, 0, 1);
    ASSERT_FALSE(results.empty());
    EXPECT_EQ(results[0].score, 1.0);

    PatternMatch(image.view(), Gray(4, 1).view(), 5, results, 1, 1, 0, 0, 1);
    EXPECT_TRUE(results.empty());
    PatternMatch(image.view(), image.view(), 5, results, 0, 1, 0, 0, 1);
    EXPECT_TRUE(results.empty());
}

TEST_P(ImageOperations, PatternMatchOnReducedImagesReportsFullResolutionPositions) {
    TestImage pattern = Gray(4, 2);
    pattern.Fill(200);
    TestImage image(idtGray8, 12, 8, GetParam());
    image.Fill(20);
    CopyImage(image.view(), 8, 6, pattern.view());
    std::vector<PATTERN_MATCH_ITEM> results;
    PatternMatch(image.view(), pattern.view(), 1, results, 2, 2, 0, 0, 1);
    ASSERT_EQ(results.size(), 1u);
    EXPECT_EQ(results[0].score, 0.0);
    EXPECT_EQ(results[0].x, 8);
    EXPECT_EQ(results[0].y, 6);
}

TEST_P(ImageOperations, PatternMatchOverSeveralAnglesKeepsTheBest) {
    TestImage pattern = Gray(3, 3);
    pattern.Fill(180);
    TestImage image = PlantedImage(GetParam(), pattern, 2, 2);
    std::vector<PATTERN_MATCH_ITEM> results;
    PatternMatch(image.view(), pattern.view(), 20, results, 1, 1, 0.0, M_PI / 2, 2);
    ASSERT_FALSE(results.empty());
    EXPECT_EQ(results[0].score, 0.0);
    // The quarter-turned pattern keeps only the pixels it could sample, so it
    // also fits elsewhere inside the planted square; the upright one fits at (2, 2).
    bool uprightFound = false;
    for (const PATTERN_MATCH_ITEM& item : results)
        uprightFound |= item.score == 0.0 && item.angle == 0.0 && item.x == 2 && item.y == 2;
    EXPECT_TRUE(uprightFound);
}

}  // namespace
