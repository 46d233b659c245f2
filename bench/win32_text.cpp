// Text drawing speed: the text of one full editor repaint (60 lines of 120
// characters) on a 1920x1080 memory DC.
#include <benchmark/benchmark.h>

#include <string>
#include <vector>

#include "Gdi.h"
#include "Text.h"

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

private:
    HDC dc_;
    HBITMAP bitmap_;
    HGDIOBJ oldBitmap_;
    HFONT font_;
    HGDIOBJ oldFont_;
    int lineHeight_ = 0;
    std::vector<std::string> lines_;
};

// The editor's own case: a fixed-pitch font, transparent text.
void BM_EditorRepaintTransparent(benchmark::State& state) {
    RepaintTarget target(-13, "Courier New");
    SetBkMode(target.dc(), TRANSPARENT);
    for (auto _ : state) target.Repaint();
    state.SetItemsProcessed(state.iterations() * kLines * kColumns);
}
BENCHMARK(BM_EditorRepaintTransparent)->Unit(benchmark::kMicrosecond);

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
