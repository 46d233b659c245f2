// Text drawing speed: the text of one full editor repaint (60 lines of 120
// characters) on a 1920x1080 memory DC, transparent beside a floor: the same
// glyphs blended where the repaint puts them by a plain loop. Prints the ratio.
#include <benchmark/benchmark.h>

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "FontEngine.h"
#include "Gdi.h"
#include "Text.h"
#include "TimeBesidePeer.h"

namespace {

const int kLines = 60;
const int kColumns = 120;

// A memory DC over a 32-bit top-down DIB section of full-HD size, with a font selected.
class RepaintTarget {
public:
    RepaintTarget(int height, const char* face) {
        dc_ = CreateCompatibleDC(nullptr);
        BITMAPINFO info{};
        info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
        info.bmiHeader.biWidth = 1920;
        info.bmiHeader.biHeight = -1080;
        info.bmiHeader.biPlanes = 1;
        info.bmiHeader.biBitCount = 32;
        info.bmiHeader.biCompression = BI_RGB;
        void* bits = nullptr;
        bitmap_ = CreateDIBSection(dc_, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
        oldBitmap_ = SelectObject(dc_, bitmap_);
        font_ = CreateFontA(height, 0, 0, 0, FW_NORMAL, 0, 0, 0, 0, 0, 0, 0, 0, face);
        oldFont_ = SelectObject(dc_, font_);
        TEXTMETRICA metrics{};
        GetTextMetricsA(dc_, &metrics);
        lineHeight_ = metrics.tmHeight + metrics.tmExternalLeading;
        for (int line = 0; line < kLines; ++line) {
            std::string text;
            while (int(text.size()) < kColumns) {
                text += "    if (count > limit) { total += Compute(\xE1rv\xEDzt\xFBr\xF5, " + std::to_string(line) + "); } ";
            }
            lines_.push_back(text.substr(0, kColumns));
        }
    }
    ~RepaintTarget() {
        SelectObject(dc_, oldFont_);
        DeleteObject(font_);
        SelectObject(dc_, oldBitmap_);
        DeleteObject(bitmap_);
        DeleteDC(dc_);
    }

    void Repaint() {
        for (int line = 0; line < kLines; ++line) {
            TextOutA(dc_, 40, line * lineHeight_, lines_[line].data(), kColumns);
        }
    }

    HDC dc() const { return dc_; }
    const std::vector<std::string>& lines() const { return lines_; }
    int lineHeight() const { return lineHeight_; }

private:
    HDC dc_;
    HBITMAP bitmap_;
    HGDIOBJ oldBitmap_;
    HFONT font_;
    HGDIOBJ oldFont_;
    int lineHeight_ = 0;
    std::vector<std::string> lines_;
};

// The floor: the very glyphs of a repaint, taken once from the layer's glyph
// cache, blended in black where the repaint puts them into a plain pixel
// buffer by a plain loop: the pixel work alone, without device contexts,
// clipping or placement.
class GlyphBlendFloor {
public:
    GlyphBlendFloor(const RepaintTarget& target, LONG height, const char* face)
        : pixels_(size_t(kSurfaceWidth) * kSurfaceHeight, 0x00FFFFFF) {
        win32::FontRequest request;
        request.height = height;
        request.faceName = face;
        font_ = win32::RealizeFont(request);
        const int ascent = font_->Metrics().ascent;
        for (int line = 0; line < kLines; ++line) {
            const std::string& text = target.lines()[line];
            std::vector<const win32::Glyph*> glyphs;
            font_->GetGlyphs(text.data(), text.size(), glyphs);
            int pen = 40;
            for (size_t i = 0; i < glyphs.size(); ++i) {
                const int y = line * target.lineHeight() + ascent - glyphs[i]->top;
                placed_.push_back(Placed{glyphs[i], pen + glyphs[i]->left, y});
                pen += font_->Advance(static_cast<unsigned char>(text[i]));
            }
        }
    }

    void Blend() {
        for (const Placed& placed : placed_) {
            const win32::Glyph& glyph = *placed.glyph;
            for (int row = 0; row < glyph.rows; ++row) {
                const int y = placed.y + row;
                if (y < 0 || y >= kSurfaceHeight) continue;
                const uint8_t* coverage = glyph.coverage.data() + size_t(row) * size_t(glyph.width);
                uint32_t* target = pixels_.data() + size_t(y) * kSurfaceWidth;
                for (int column = 0; column < glyph.width; ++column) {
                    const int x = placed.x + column;
                    if (x >= 0 && x < kSurfaceWidth && coverage[column] != 0)
                        target[x] = Darkened(target[x], coverage[column]);
                }
            }
        }
        benchmark::DoNotOptimize(pixels_.data());
    }

private:
    static constexpr int kSurfaceWidth = 1920;
    static constexpr int kSurfaceHeight = 1080;
    struct Placed {
        const win32::Glyph* glyph;
        int x, y;
    };
    // Black text: each channel keeps (256 - coverage) / 256 of itself, red
    // and blue in one step.
    static uint32_t Darkened(uint32_t pixel, uint32_t coverage) {
        const uint32_t keep = 256 - (coverage + (coverage >> 7));
        return ((pixel & 0xFF00FF) * keep >> 8 & 0xFF00FF) | ((pixel & 0x00FF00) * keep >> 8 & 0x00FF00);
    }

    std::shared_ptr<win32::RealizedFont> font_;
    std::vector<Placed> placed_;
    std::vector<uint32_t> pixels_;
};

// The editor's own case: a fixed-pitch font, transparent text, beside the floor.
void BM_EditorRepaintTransparent(benchmark::State& state) {
    RepaintTarget target(-13, "Courier New");
    SetBkMode(target.dc(), TRANSPARENT);
    GlyphBlendFloor floor(target, -13, "Courier New");
    TimeBesidePeer(state, "floor", [&] { target.Repaint(); }, [&] { floor.Blend(); });
    state.SetItemsProcessed(state.iterations() * kLines * kColumns);
}
BENCHMARK(BM_EditorRepaintTransparent)->UseManualTime()->Unit(benchmark::kMicrosecond);

// Text cells filled with the background colour as well.
void BM_EditorRepaintOpaque(benchmark::State& state) {
    RepaintTarget target(-13, "Courier New");
    SetBkMode(target.dc(), OPAQUE);
    SetBkColor(target.dc(), RGB(255, 255, 224));
    for (auto _ : state) target.Repaint();
    state.SetItemsProcessed(state.iterations() * kLines * kColumns);
}
BENCHMARK(BM_EditorRepaintOpaque)->Unit(benchmark::kMicrosecond);

// Measuring every line, as layout code does before drawing.
void BM_MeasureLines(benchmark::State& state) {
    RepaintTarget target(-16, "Arial");
    std::string line(kColumns, 'x');
    SIZE size{};
    for (auto _ : state) {
        for (int i = 0; i < kLines; ++i) GetTextExtentPoint32A(target.dc(), line.data(), kColumns, &size);
        benchmark::DoNotOptimize(size);
    }
}
BENCHMARK(BM_MeasureLines)->Unit(benchmark::kMicrosecond);

}  // namespace
