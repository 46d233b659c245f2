// Text with character tables: widths, glyph dots, flags, rotation and angle.
#include "CHRText.h"

#include <algorithm>
#include <cmath>
#include <cstdint>

namespace {

// Larger scales would turn one glyph dot into more pixels than any view holds.
const int kMaxScale = 4096;

// The parameters with which one string is drawn.
struct TCHRPlacement {
    int64_t x0, y0;
    int scaleX, scaleY;
    uint8_t rotation;
    const TSetIDPixel* setter;
    double angle;
    int64_t advance;
    int flags;
    // The dot-plane rectangle a block must reach to be seen (see VisibleArea).
    int64_t visibleLeft, visibleTop, visibleRight, visibleBottom;
};

// The top-left of a glyph dot's block by rotation.
bool DotBlockCorner(const TCHRPlacement& placement, int64_t a, int64_t b, int64_t& left, int64_t& top) {
    switch (placement.rotation) {
    case chrRotate0: left = placement.x0 + a; top = placement.y0 + b; return true;
    case chrRotate90: left = placement.x0 + b; top = placement.y0 - a; return true;
    case chrRotate180: left = placement.x0 - a; top = placement.y0 - b; return true;
    case chrRotate270: left = placement.x0 - b; top = placement.y0 + a; return true;
    default: return false;
    }
}

// The part of the setter's dot plane that a dot block must cover to be seen:
// the view itself when upright, else the square around the origin that holds
// every point whose turn about the origin can land in the view.
bool VisibleArea(TCHRPlacement& placement) {
    int64_t& left = placement.visibleLeft;
    int64_t& top = placement.visibleTop;
    int64_t& right = placement.visibleRight;
    int64_t& bottom = placement.visibleBottom;
    if (!placement.setter->ReachableDots(left, top, right, bottom)) {
        return false;
    }
    if (placement.angle != 0) {
        double reach = 0;
        for (int64_t x : {left, right}) {
            for (int64_t y : {top, bottom}) {
                reach = std::max(reach, std::hypot(double(x - placement.x0), double(y - placement.y0)));
            }
        }
        const int64_t radius = int64_t(reach) + 2;
        left = placement.x0 - radius;
        right = placement.x0 + radius;
        top = placement.y0 - radius;
        bottom = placement.y0 + radius;
    }
    return true;
}

void PutCHRDot(const TCHRPlacement& placement, int64_t column, int64_t row) {
    int64_t left, top;
    if (!DotBlockCorner(placement, column * placement.scaleX, row * placement.scaleY, left, top)) {
        return;
    }
    const double cosine = std::cos(placement.angle), sine = std::sin(placement.angle);
    const int64_t lastY = std::min(top + placement.scaleY - 1, placement.visibleBottom);
    const int64_t lastX = std::min(left + placement.scaleX - 1, placement.visibleRight);
    for (int64_t y = std::max(top, placement.visibleTop); y <= lastY; ++y) {
        for (int64_t x = std::max(left, placement.visibleLeft); x <= lastX; ++x) {
            int64_t targetX = x, targetY = y;
            if (placement.angle != 0) {
                const double fromX = double(x - placement.x0), fromY = double(y - placement.y0);
                targetX = placement.x0 + int64_t(std::trunc(cosine * fromX - sine * fromY));
                targetY = placement.y0 + int64_t(std::trunc(sine * fromX + cosine * fromY));
            }
            if (targetX >= INT32_MIN && targetX <= INT32_MAX && targetY >= INT32_MIN && targetY <= INT32_MAX) {
                placement.setter->Set(int(targetX), int(targetY), -1);
            }
        }
    }
}

void DrawCHRChar(const TCHRTable& table, const TCHRPlacement& placement, uint8_t character) {
    if (!table.HasGlyph(character)) {
        return;
    }
    const int height = table.GetHeight(), width = table.GetCharWidth(character);
    const int flags = placement.flags;
    bool boldCarry = false;
    for (int i = 0; i < height; ++i) {
        for (int j = 0; j < width; ++j) {
            const bool dot = table.GlyphDot(character, j, i);
            if ((flags & chrInverse) && boldCarry) {
                boldCarry = false;
                continue;
            }
            bool draw;
            if (dot) {
                draw = true;
                boldCarry = (flags & chrBold) != 0;
            } else {
                boldCarry = false;
                draw = ((flags & chrUnderline) && i == height - 1) || ((flags & chrStrikeOut) && i == height / 2);
            }
            int64_t column = j + placement.advance;
            if ((flags & chrSlantLeft) && i < height / 2) --column;
            if ((flags & chrSlantRight) && i < height / 2) ++column;
            if (!(flags & chrInverse)) {
                if (draw) {
                    PutCHRDot(placement, column, i);
                    if (boldCarry) PutCHRDot(placement, column + 1, i);
                }
            } else if (!draw) {
                PutCHRDot(placement, column, i);
            }
        }
    }
}

}  // namespace

int GetCHRTextWidth(const TCHRTable& table, const char* text) {
    int width = 0;
    for (const char* p = text; p != nullptr && *p != '\0'; ++p) {
        width += table.GetCharWidth(uint8_t(*p));
    }
    return width;
}

void DrawCHRText(const TCHRTable& table, int x, int y, const char* text, const TSetIDPixel& setter,
                 uint8_t rotation, int flags, int scaleX, int scaleY, double angle) {
    if (text == nullptr || scaleX < 1 || scaleY < 1 || scaleX > kMaxScale || scaleY > kMaxScale ||
        rotation > chrRotate270 || !std::isfinite(angle)) {
        return;
    }
    TCHRPlacement placement{x, y, scaleX, scaleY, rotation, &setter, angle, 0, flags, 0, 0, 0, 0};
    if (!VisibleArea(placement)) {
        return;
    }
    for (const char* p = text; *p != '\0'; ++p) {
        const uint8_t character = uint8_t(*p);
        DrawCHRChar(table, placement, character);
        placement.advance += table.GetCharWidth(character);
    }
}
