// Tests of the RGB/HSI conversion.
#include "RgbHsi.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>

namespace {

RGB_TRIPLE Rgb(int red, int green, int blue) {
    RGB_TRIPLE rgb;
    rgb.red = uint8_t(red);
    rgb.green = uint8_t(green);
    rgb.blue = uint8_t(blue);
    return rgb;
}

HSI_TRIPLE Hsi(int hue, int saturation, int intensity) {
    HSI_TRIPLE hsi;
    hsi.hue = uint8_t(hue);
    hsi.saturation = uint8_t(saturation);
    hsi.intensity = uint8_t(intensity);
    return hsi;
}

TEST(RgbHsi, BlackHasFullSaturationAndNoIntensity) {
    const HSI_TRIPLE hsi = RGB2HSI(Rgb(0, 0, 0));
    EXPECT_EQ(hsi.saturation, 255);
    EXPECT_EQ(hsi.intensity, 0);
}

TEST(RgbHsi, GreysHaveNoSaturationAndHue63) {
    for (int v = 1; v <= 255; ++v) {
        const HSI_TRIPLE hsi = RGB2HSI(Rgb(v, v, v));
        EXPECT_EQ(hsi.saturation, 0) << v;
        EXPECT_EQ(hsi.hue, 63) << v;
        EXPECT_LE(std::abs(hsi.intensity - v), 1) << v;
    }
}

TEST(RgbHsi, PrimaryColoursAndBlueAboveGreen) {
    struct Case {
        RGB_TRIPLE rgb;
        int hue, saturation, intensity;
    };
    const Case cases[] = {
        {Rgb(255, 0, 0), 0, 255, 85},
        {Rgb(0, 255, 0), 85, 255, 85},
        {Rgb(0, 0, 255), 170, 255, 85},
        {Rgb(255, 255, 255), 63, 0, 255},
    };
    for (const Case& c : cases) {
        const HSI_TRIPLE hsi = RGB2HSI(c.rgb);
        EXPECT_NEAR(hsi.hue, c.hue, 1) << int(c.rgb.red) << "," << int(c.rgb.green) << "," << int(c.rgb.blue);
        EXPECT_EQ(hsi.saturation, c.saturation);
        EXPECT_NEAR(hsi.intensity, c.intensity, 1);
    }
    for (int green = 0; green < 100; green += 9) {
        EXPECT_GE(RGB2HSI(Rgb(100, green, green + 1)).hue, 128) << green;
        EXPECT_GE(RGB2HSI(Rgb(green, green, green + 100)).hue, 128) << green;
    }
}

TEST(RgbHsi, EqualGreenAndBlueGiveHueZeroNotGarbage) {
    // The cosine reaches exactly 1 here, where rounding may push it past.
    for (int red = 1; red <= 255; ++red) {
        for (int other = 0; other < red; other += 7) {
            EXPECT_EQ(RGB2HSI(Rgb(red, other, other)).hue, 0) << red << "," << other;
        }
    }
}

TEST(RgbHsi, HsiToRgbClampsAndPicksTheFirstSectorAtHue85) {
    const RGB_TRIPLE white = HSI2RGB(Hsi(0, 0, 255));
    EXPECT_EQ(white.red, 255);
    EXPECT_EQ(white.green, 255);
    EXPECT_EQ(white.blue, 255);
    // In the first sector hue 85 is pure green; the second would give 0, 170, 85.
    const RGB_TRIPLE green = HSI2RGB(Hsi(85, 255, 85));
    EXPECT_EQ(green.red, 0);
    EXPECT_GE(green.green, 254);
    EXPECT_EQ(green.blue, 0);
}

// Hue and saturation are kept in one byte each, so a round trip of a dark,
// saturated colour can be off by several units; over all 2^24 colours the
// worst is 10 and the mean about 2.3.
const int kRoundTripTolerance = 10;

TEST(RgbHsi, RoundTripStaysWithinRounding) {
    int worst = 0;
    long long total = 0, count = 0;
    for (int red = 0; red <= 255; red += 3) {
        for (int green = 0; green <= 255; green += 3) {
            for (int blue = 0; blue <= 255; blue += 3) {
                const RGB_TRIPLE back = HSI2RGB(RGB2HSI(Rgb(red, green, blue)));
                const int error = std::max({std::abs(back.red - red), std::abs(back.green - green),
                                            std::abs(back.blue - blue)});
                worst = std::max(worst, error);
                total += error;
                ++count;
            }
        }
    }
    EXPECT_LE(worst, kRoundTripTolerance);
    EXPECT_LT(double(total) / double(count), 3.0);
}

}  // namespace
