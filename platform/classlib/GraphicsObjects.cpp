// TGraphicsObject and its descendants TFont, TPen and TBrush.
#include <cstring>

#include "Exceptions.h"
#include "Graphics.h"

// ---- TGraphicsObject ----------------------------------------------------------------

TGraphicsObject::~TGraphicsObject() {
    if (handle_) DeleteObject(handle_);
}

void TGraphicsObject::Changed() {
    if (handle_) DeleteObject(handle_);
    handle_ = nullptr;
    if (OnChange) OnChange(this);
}

HGDIOBJ TGraphicsObject::ObjectHandle() {
    if (!handle_) handle_ = CreateObjectHandle();
    return handle_;
}

HGDIOBJ TGraphicsObject::ReleaseHandle() {
    HGDIOBJ handle = handle_;
    handle_ = nullptr;
    return handle;
}

// ---- TFont ---------------------------------------------------------------------------

namespace {

// Pitch and the LOGFONT pitch bits, in TFontPitch order.
const BYTE kPitchBits[] = {DEFAULT_PITCH, VARIABLE_PITCH, FIXED_PITCH};

TFontPitch PitchFromBits(BYTE pitchAndFamily) {
    switch (pitchAndFamily & 0x03) {
        case VARIABLE_PITCH:
            return TFontPitch::fpVariable;
        case FIXED_PITCH:
            return TFontPitch::fpFixed;
        default:
            return TFontPitch::fpDefault;
    }
}

}  // namespace

TFont::TFont() : height_(-MulDiv(8, PixelsPerInch, 72)) {}

void TFont::Assign(const TPersistent* source) {
    const auto* font = dynamic_cast<const TFont*>(source);
    if (!font) {
        TGraphicsObject::Assign(source);
        return;
    }
    name_ = font->name_;
    height_ = font->height_;
    style_ = font->style_;
    color_ = font->color_;
    charset_ = font->charset_;
    pitch_ = font->pitch_;
    Changed();
}

void TFont::SetName(const std::string& name) {
    if (!name.empty()) Update(name_, name.substr(0, LF_FACESIZE - 1));
}

int TFont::GetSize() const {
    return height_ < 0 ? -MulDiv(height_, 72, PixelsPerInch) : MulDiv(height_, 72, PixelsPerInch);
}

void TFont::SetSize(int points) { SetHeight(-MulDiv(points, PixelsPerInch, 72)); }

void TFont::SetHeight(int height) { Update(height_, height); }

void TFont::SetStyle(TFontStyles style) { Update(style_, style); }

void TFont::SetColor(TColor color) { UpdateKeepingHandle(color_, color); }

void TFont::SetCharset(TFontCharset charset) { Update(charset_, charset); }

void TFont::SetPitch(TFontPitch pitch) { Update(pitch_, pitch); }

LOGFONTA TFont::ToLogFont() const {
    LOGFONTA logFont{};
    logFont.lfHeight = height_;
    logFont.lfWeight = style_.Contains(fsBold) ? FW_BOLD : FW_NORMAL;
    logFont.lfItalic = style_.Contains(fsItalic);
    logFont.lfUnderline = style_.Contains(fsUnderline);
    logFont.lfStrikeOut = style_.Contains(fsStrikeOut);
    logFont.lfCharSet = charset_;
    logFont.lfOutPrecision = OUT_DEFAULT_PRECIS;
    logFont.lfClipPrecision = CLIP_DEFAULT_PRECIS;
    logFont.lfQuality = DEFAULT_QUALITY;
    logFont.lfPitchAndFamily = kPitchBits[static_cast<int>(pitch_)];
    std::strncpy(logFont.lfFaceName, name_.c_str(), LF_FACESIZE - 1);
    return logFont;
}

void TFont::ReadLogFont(const LOGFONTA& logFont) {
    name_ = std::string(logFont.lfFaceName, strnlen(logFont.lfFaceName, LF_FACESIZE));
    height_ = logFont.lfHeight;
    style_ = TFontStyles();
    if (logFont.lfWeight >= FW_BOLD) style_ << fsBold;
    if (logFont.lfItalic) style_ << fsItalic;
    if (logFont.lfUnderline) style_ << fsUnderline;
    if (logFont.lfStrikeOut) style_ << fsStrikeOut;
    charset_ = logFont.lfCharSet;
    pitch_ = PitchFromBits(logFont.lfPitchAndFamily);
}

void TFont::SetHandle(HFONT font) {
    LOGFONTA logFont{};
    if (!font || GetObjectA(font, sizeof logFont, &logFont) != static_cast<int>(sizeof logFont)) return;
    ReadLogFont(logFont);
    Changed();
}

HGDIOBJ TFont::CreateObjectHandle() const {
    LOGFONTA logFont = ToLogFont();
    return CreateFontIndirectA(&logFont);
}

// ---- TPen ----------------------------------------------------------------------------

namespace {

// R2_ codes in TPenMode order.  ORDER TPenMode
const int kPenModeRop2[] = {R2_BLACK,       R2_WHITE,       R2_NOP,         R2_NOT,     R2_COPYPEN,    R2_NOTCOPYPEN,
                            R2_MERGEPENNOT, R2_MASKPENNOT,  R2_MERGENOTPEN, R2_MASKNOTPEN, R2_MERGEPEN, R2_NOTMERGEPEN,
                            R2_MASKPEN,     R2_NOTMASKPEN,  R2_XORPEN,      R2_NOTXORPEN};

// PS_ codes in TPenStyle order.  ORDER TPenStyle
const int kPenStyleCodes[] = {PS_SOLID, PS_DASH, PS_DOT, PS_DASHDOT, PS_DASHDOTDOT, PS_NULL, PS_INSIDEFRAME};

}  // namespace

int PenModeToRop2(TPenMode mode) { return kPenModeRop2[mode]; }

TPenMode Rop2ToPenMode(int rop2) {
    for (int mode = pmBlack; mode <= pmNotXor; ++mode)
        if (kPenModeRop2[mode] == rop2) return static_cast<TPenMode>(mode);
    return pmCopy;
}

void TPen::Assign(const TPersistent* source) {
    const auto* pen = dynamic_cast<const TPen*>(source);
    if (!pen) {
        TGraphicsObject::Assign(source);
        return;
    }
    color_ = pen->color_;
    style_ = pen->style_;
    width_ = pen->width_;
    mode_ = pen->mode_;
    Changed();
}

void TPen::SetColor(TColor color) { Update(color_, color); }

void TPen::SetStyle(TPenStyle style) { Update(style_, style); }

void TPen::SetWidth(int width) { Update(width_, width < 1 ? 1 : width); }

void TPen::SetMode(TPenMode mode) { UpdateKeepingHandle(mode_, mode); }

void TPen::ReadLogPen(const LOGPEN& logPen) {
    UINT style = logPen.lopnStyle & PS_STYLE_MASK;
    style_ = psSolid;
    for (int index = psSolid; index <= psInsideFrame; ++index)
        if (kPenStyleCodes[index] == static_cast<int>(style)) style_ = static_cast<TPenStyle>(index);
    width_ = logPen.lopnWidth.x < 1 ? 1 : logPen.lopnWidth.x;
    color_ = static_cast<TColor>(logPen.lopnColor & 0x00FFFFFF);
}

void TPen::SetHandle(HPEN pen) {
    LOGPEN logPen{};
    if (!pen || GetObjectA(pen, sizeof logPen, &logPen) != static_cast<int>(sizeof logPen)) return;
    ReadLogPen(logPen);
    Changed();
}

HGDIOBJ TPen::CreateObjectHandle() const { return CreatePen(kPenStyleCodes[style_], width_, ColorToRGB(color_)); }

// ---- TBrush --------------------------------------------------------------------------

void TBrush::Assign(const TPersistent* source) {
    const auto* brush = dynamic_cast<const TBrush*>(source);
    if (!brush) {
        TGraphicsObject::Assign(source);
        return;
    }
    color_ = brush->color_;
    style_ = brush->style_;
    Changed();
}

void TBrush::SetColor(TColor color) {
    if (color == color_ && style_ != bsClear) return;
    color_ = color;
    // The classic library turns a clear brush solid when it is given a colour.
    if (style_ == bsClear) style_ = bsSolid;
    Changed();
}

void TBrush::SetStyle(TBrushStyle style) { Update(style_, style); }

void TBrush::ReadLogBrush(const LOGBRUSH& logBrush) {
    color_ = static_cast<TColor>(logBrush.lbColor & 0x00FFFFFF);
    switch (logBrush.lbStyle) {
        case BS_NULL:
            style_ = bsClear;
            break;
        case BS_HATCHED:
            style_ = logBrush.lbHatch <= HS_DIAGCROSS ? static_cast<TBrushStyle>(bsHorizontal + logBrush.lbHatch)
                                                       : bsSolid;
            break;
        default:
            style_ = bsSolid;
    }
}

void TBrush::SetHandle(HBRUSH brush) {
    LOGBRUSH logBrush{};
    if (!brush || GetObjectA(brush, sizeof logBrush, &logBrush) != static_cast<int>(sizeof logBrush)) return;
    ReadLogBrush(logBrush);
    Changed();
}

HGDIOBJ TBrush::CreateObjectHandle() const {
    switch (style_) {
        case bsSolid:
            return CreateSolidBrush(ColorToRGB(color_));
        case bsClear:
            return GetStockObject(NULL_BRUSH);
        default:
            return CreateHatchBrush(style_ - bsHorizontal, ColorToRGB(color_));
    }
}
