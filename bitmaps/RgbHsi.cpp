// RGB to HSI and back, one pixel at a time.
#include "RgbHsi.h"

#include <algorithm>
#include <cmath>

namespace {

const double kSmall = 1e-6;
const double kPi = 3.141592653589793;
const double kTwoPi = 6.283185307179586;
const long double kInverseTwoPi = 0.15915494309189534198L;
const double kPiThirds = 1.0471975511965976;
const double kTwoPiThirds = 2.0943951023931953;
const double kFourPiThirds = 4.1887902047863905;
const double kOneThird = 0.3333333333333333;
const double kTwoThirds = 0.6666666666666666;

// Truncates toward zero into 0-255; NaN gives 0.
uint8_t ClampedByte(double value) {
    if (!(value > 0)) {
        return 0;
    }
    return value >= 255 ? 255 : uint8_t(value);
}

// One of the three sector formulas: the component that the sector's angle drives.
double SectorComponent(double saturation, double angle) {
    return (saturation * std::cos(angle) / std::cos(kPiThirds - angle) + 1) * kOneThird;
}

}  // namespace

HSI_TRIPLE RGB2HSI(RGB_TRIPLE rgb) {
    const double r = rgb.red / 255.0;
    const double g = rgb.green / 255.0;
    const double b = rgb.blue / 255.0;
    const double sum = r + g + b;
    const double intensity = sum / 3;

    HSI_TRIPLE hsi;
    hsi.intensity = ClampedByte(intensity * 255);
    hsi.saturation = sum > kSmall ? ClampedByte((1 - 3 * std::min({r, g, b}) / sum) * 255) : 255;

    // Rounding can make the radicand a hair negative and the cosine a hair past 1.
    const double d = std::sqrt(std::max(0.0, (r - b) * (g - b) + (r - g) * (r - g)));
    double x = d > kSmall ? ((r - g) + (r - b)) * 0.5 / d : d;
    x = std::clamp(x, -1.0, 1.0);
    const double theta = std::acos(x);
    const double angle = (intensity > 0 && b / intensity > g / intensity) ? kTwoPi - theta : theta;
    hsi.hue = uint8_t(int(angle * 255 * kInverseTwoPi) & 0xFF);
    return hsi;
}

RGB_TRIPLE HSI2RGB(HSI_TRIPLE hsi) {
    const double h = hsi.hue / 255.0;
    const double s = hsi.saturation / 255.0;
    const double i = hsi.intensity / 255.0;
    const double a = h * 2 * kPi;
    const double m = (1 - s) * kOneThird;

    double r, g, b;
    if (h <= kOneThird) {
        r = SectorComponent(s, a);
        b = m;
        g = 1 - (m + r);
    } else if (h <= kTwoThirds) {
        g = SectorComponent(s, a - kTwoPiThirds);
        r = m;
        b = 1 - (m + g);
    } else {
        b = SectorComponent(s, a - kFourPiThirds);
        g = m;
        r = 1 - (m + b);
    }

    const double k = i * 3 * 255;
    RGB_TRIPLE rgb;
    rgb.red = ClampedByte(r * k);
    rgb.green = ClampedByte(g * k);
    rgb.blue = ClampedByte(b * k);
    return rgb;
}
