// Pens and brushes: creation, records, trace descriptions and stock objects.
#include "PenAndBrush.h"

#include <cstring>
#include <sstream>

#include "GdiBitmap.h"

namespace {

// Names by PS_ style; ORDER of the PS_ constants.
const char* const kPenStyleNames[] = {"PS_SOLID",      "PS_DASH", "PS_DOT",        "PS_DASHDOT",
                                      "PS_DASHDOTDOT", "PS_NULL", "PS_INSIDEFRAME"};
// Names by HS_ style; ORDER of the HS_ constants.
const char* const kHatchNames[] = {"HS_HORIZONTAL", "HS_VERTICAL", "HS_FDIAGONAL",
                                   "HS_BDIAGONAL",  "HS_CROSS",    "HS_DIAGCROSS"};

// Whether hatch style h covers tile pixel (x, y) of its 8x8 tile.
bool HatchCovers(int hatch, int x, int y) {
    switch (hatch) {
        case HS_HORIZONTAL:
            return y == 7;
        case HS_VERTICAL:
            return x == 7;
        case HS_FDIAGONAL:
            return x == y;
        case HS_BDIAGONAL:
            return x + y == 7;
        case HS_CROSS:
            return x == 7 || y == 7;
        default:
            return x == y || x + y == 7;
    }
}

HBRUSH RegisterBrush(GdiBrush* brush) { return static_cast<HBRUSH>(RegisterGdiObject(brush)); }

}  // namespace

const std::vector<int>& GdiPen::DashPattern() const {
    static const std::vector<int> kSolid;
    // On and off runs by PS_ style; ORDER of the PS_ constants.
    static const std::vector<int> kPatterns[] = {{}, {18, 6}, {3, 3}, {9, 6, 3, 6}, {9, 3, 3, 3, 3, 3}};
    const int style = Style();
    if (Width() > 1 || style < PS_DASH || style > PS_DASHDOTDOT) return kSolid;
    return kPatterns[style];
}

void GdiPen::CopyRecord(void* buffer, int size) const {
    std::memcpy(buffer, &logPen, static_cast<size_t>(size < RecordSize() ? size : RecordSize()));
}

std::string GdiPen::Describe() const {
    std::ostringstream out;
    const UINT style = logPen.lopnStyle & PS_STYLE_MASK;
    out << "Pen(" << (style <= PS_INSIDEFRAME ? kPenStyleNames[style] : "?") << ", " << logPen.lopnWidth.x << ", "
        << DescribeColour(logPen.lopnColor) << ")";
    return out.str();
}

void GdiBrush::CopyRecord(void* buffer, int size) const {
    std::memcpy(buffer, &logBrush, static_cast<size_t>(size < RecordSize() ? size : RecordSize()));
}

std::string GdiBrush::Describe() const {
    std::ostringstream out;
    switch (logBrush.lbStyle) {
        case BS_SOLID:
            out << "Brush(BS_SOLID, " << DescribeColour(logBrush.lbColor) << ")";
            break;
        case BS_NULL:
            out << "Brush(BS_NULL)";
            break;
        case BS_HATCHED:
            out << "Brush(BS_HATCHED, " << DescribeColour(logBrush.lbColor) << ", " << kHatchNames[logBrush.lbHatch]
                << ")";
            break;
        default:
            out << "Brush(BS_PATTERN, " << tileWidth << "x" << tileHeight << ")";
            break;
    }
    return out.str();
}

GdiPen* LookupPen(HGDIOBJ pen) { return LookupGdiObjectAs<GdiPen>(pen, GdiKind::Pen); }
GdiBrush* LookupBrush(HGDIOBJ brush) { return LookupGdiObjectAs<GdiBrush>(brush, GdiKind::Brush); }

GdiPen* MakeStockPen(int index) {
    LOGPEN record{};
    record.lopnStyle = index == NULL_PEN ? PS_NULL : PS_SOLID;
    record.lopnWidth.x = 1;
    record.lopnColor = index == WHITE_PEN ? RGB(255, 255, 255) : RGB(0, 0, 0);
    return new GdiPen(record);
}

GdiBrush* MakeStockBrush(int index) {
    // Grey levels by stock index; ORDER of WHITE_BRUSH..BLACK_BRUSH.
    static const BYTE kLevels[] = {255, 192, 128, 64, 0};
    LOGBRUSH record{};
    record.lbStyle = index == NULL_BRUSH ? BS_NULL : BS_SOLID;
    if (index >= WHITE_BRUSH && index <= BLACK_BRUSH)
        record.lbColor = RGB(kLevels[index], kLevels[index], kLevels[index]);
    return new GdiBrush(record);
}

HPEN CreatePen(int style, int width, COLORREF colour) {
    if ((style & PS_STYLE_MASK) > PS_INSIDEFRAME) return nullptr;
    LOGPEN record{static_cast<UINT>(style), POINT{width < 0 ? 0 : width, 0}, colour & 0xFFFFFF};
    return static_cast<HPEN>(RegisterGdiObject(new GdiPen(record)));
}

HPEN CreatePenIndirect(const LOGPEN* logPen) {
    if (logPen == nullptr) return nullptr;
    return CreatePen(static_cast<int>(logPen->lopnStyle), logPen->lopnWidth.x, logPen->lopnColor);
}

HBRUSH CreateSolidBrush(COLORREF colour) {
    return RegisterBrush(new GdiBrush(LOGBRUSH{BS_SOLID, colour & 0xFFFFFF, 0}));
}

HBRUSH CreateHatchBrush(int hatch, COLORREF colour) {
    if (hatch < HS_HORIZONTAL || hatch > HS_DIAGCROSS) return nullptr;
    auto* brush = new GdiBrush(LOGBRUSH{BS_HATCHED, colour & 0xFFFFFF, static_cast<ULONG_PTR>(hatch)});
    brush->tileWidth = brush->tileHeight = 8;
    brush->monochrome = true;
    brush->foreground.resize(64);
    for (int y = 0; y < 8; ++y)
        for (int x = 0; x < 8; ++x)
            brush->foreground[static_cast<size_t>(y * 8 + x)] = HatchCovers(hatch, x, y) ? 1 : 0;
    return RegisterBrush(brush);
}

HBRUSH CreatePatternBrush(HBITMAP bitmapHandle) {
    GdiBitmap* bitmap = LookupBitmap(bitmapHandle);
    if (bitmap == nullptr || bitmap->surface.Empty()) return nullptr;
    auto* brush = new GdiBrush(LOGBRUSH{BS_PATTERN, 0, reinterpret_cast<ULONG_PTR>(bitmapHandle)});
    brush->tileWidth = bitmap->Width();
    brush->tileHeight = bitmap->Height();
    brush->monochrome = bitmap->bitsPerPixel == 1;
    BeginBitmapAccess(*bitmap);
    for (int y = 0; y < brush->tileHeight; ++y) {
        const uint32_t* row = bitmap->surface.Row(y);
        for (int x = 0; x < brush->tileWidth; ++x) {
            brush->pixels.push_back(row[x] & 0xFFFFFF);
            brush->foreground.push_back((row[x] & 0xFFFFFF) == 0 ? 1 : 0);
        }
    }
    EndBitmapAccess(*bitmap, false);
    return RegisterBrush(brush);
}

HBRUSH CreateBrushIndirect(const LOGBRUSH* logBrush) {
    if (logBrush == nullptr) return nullptr;
    switch (logBrush->lbStyle) {
        case BS_SOLID:
            return CreateSolidBrush(logBrush->lbColor);
        case BS_NULL:
            return static_cast<HBRUSH>(GetStockObject(NULL_BRUSH));
        case BS_HATCHED:
            return CreateHatchBrush(static_cast<int>(logBrush->lbHatch), logBrush->lbColor);
        case BS_PATTERN:
            return CreatePatternBrush(reinterpret_cast<HBITMAP>(logBrush->lbHatch));
        default:
            return nullptr;
    }
}
