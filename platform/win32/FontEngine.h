// Realised fonts: a logical font request turned into a FreeType face at 96 dpi,
// with its metrics, integer advances and a cache of glyph coverage bitmaps.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "Win32Types.h"

namespace win32 {

// What a logical font asks for, in the terms of its LOGFONT.
struct FontRequest {
    LONG height = 0;      // < 0 character (em) height, > 0 cell height, 0 default
    LONG width = 0;       // average character width; 0 keeps the face's proportions
    LONG escapement = 0;  // tenths of a degree, counter-clockwise; taken modulo 3600
    LONG weight = 0;      // 0 means 400
    bool italic = false;
    bool underline = false;
    bool strikeOut = false;
    std::string faceName;
};

// Metrics of a realised font in pixels, as GetTextMetrics reports them.
struct FontMetrics {
    int height = 0;  // ascent + descent
    int ascent = 0;
    int descent = 0;
    int internalLeading = 0;
    int externalLeading = 0;
    int averageCharWidth = 0;
    int maxCharWidth = 0;
    int weight = 400;
    bool italic = false;
    bool underline = false;
    bool strikeOut = false;
    bool fixedPitch = false;
    int underlinePosition = 0;  // top of the underline, pixels below the baseline
    int underlineThickness = 1;
    int strikeOutPosition = 0;  // top of the strike-out line, pixels above the baseline
    int strikeOutThickness = 1;
    std::string faceName;  // family of the face actually used
};

// One glyph as 8-bit coverage (0 transparent, 255 full), already turned by the
// font's escapement. The bitmap's top-left pixel lies `left` pixels right of
// and `top` pixels above the glyph's origin on the baseline.
struct Glyph {
    int left = 0;
    int top = 0;
    int width = 0;
    int rows = 0;
    std::vector<uint8_t> coverage;  // rows x width
};

class RealizedFont {
public:
    ~RealizedFont();
    RealizedFont(const RealizedFont&) = delete;
    RealizedFont& operator=(const RealizedFont&) = delete;

    const FontMetrics& Metrics() const { return metrics_; }
    // Escapement in tenths of a degree, 0-3599.
    int Escapement() const { return escapement_; }

    // Advance of a code-page character along the baseline; never below 1.
    int Advance(unsigned char byte) const { return advances_[byte]; }
    // Sum of the advances of `length` bytes; 0 for an empty or null text.
    int TextWidth(const char* text, size_t length) const;

    // Glyphs of `length` bytes into `glyphs` (one per byte), rendered on first
    // use and kept for the font's lifetime. A font without a face (no font file
    // installed at all) gives empty glyphs.
    void GetGlyphs(const char* text, size_t length, std::vector<const Glyph*>& glyphs);
    // The same into `glyphs`, which holds room for `length` pointers.
    void GetGlyphs(const char* text, size_t length, const Glyph** glyphs);

private:
    struct Face;
    friend std::shared_ptr<RealizedFont> RealizeFont(const FontRequest& request);
    RealizedFont() = default;
    void Realize(const FontRequest& request);
    void RealizeWithoutFace(const FontRequest& request);
    // Advances of all 256 bytes, and the average and widest of them.
    void MeasureAdvances(int boldExtra);
    const Glyph& RenderGlyph(unsigned char byte);

    std::unique_ptr<Face> face_;
    FontMetrics metrics_;
    int escapement_ = 0;
    int advances_[256] = {};
    std::mutex glyphMutex_;
    std::unique_ptr<Glyph> glyphs_[256];
};

// The realised font for a request, shared by every caller asking for the same
// thing. Never null: when no font file is found, the font has metrics derived
// from the height and draws nothing. Safe to call from several threads.
std::shared_ptr<RealizedFont> RealizeFont(const FontRequest& request);

}  // namespace win32
