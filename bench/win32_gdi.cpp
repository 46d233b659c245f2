// Filling, blitting, scrolling and line drawing on a 1920x1080 surface of the
// software GDI, and the cost of one drawing call that the clip passes over.
#include <benchmark/benchmark.h>

#include <cstdint>
#include <vector>

#include "Gdi.h"
#include "Text.h"

namespace {

constexpr int kWidth = 1920;
constexpr int kHeight = 1080;
constexpr int64_t kSurfaceBytes = int64_t{kWidth} * kHeight * 4;

// A memory DC with a full-HD bitmap, filled with a gradient.
class Screen {
public:
    Screen() {
        dc = CreateCompatibleDC(nullptr);
        bitmap = CreateCompatibleBitmap(dc, kWidth, kHeight);
        old = SelectObject(dc, bitmap);
        for (int y = 0; y < kHeight; y += 8) {
            HBRUSH brush = CreateSolidBrush(RGB(y & 0xFF, (y >> 2) & 0xFF, 0x80));
            RECT band{0, y, kWidth, y + 8};
            FillRect(dc, &band, brush);
            DeleteObject(brush);
        }
    }
    ~Screen() {
        SelectObject(dc, old);
        DeleteObject(bitmap);
        DeleteDC(dc);
    }
    HDC dc;
    HBITMAP bitmap;
    HGDIOBJ old;
};

void FillSolid(benchmark::State& state) {
    Screen screen;
    HBRUSH brush = CreateSolidBrush(RGB(10, 20, 30));
    RECT all{0, 0, kWidth, kHeight};
    for (auto _ : state) FillRect(screen.dc, &all, brush);
    state.SetBytesProcessed(state.iterations() * kSurfaceBytes);
    DeleteObject(brush);
}
BENCHMARK(FillSolid);

void FillHatched(benchmark::State& state) {
    Screen screen;
    HBRUSH brush = CreateHatchBrush(HS_DIAGCROSS, RGB(10, 20, 30));
    RECT all{0, 0, kWidth, kHeight};
    for (auto _ : state) FillRect(screen.dc, &all, brush);
    state.SetBytesProcessed(state.iterations() * kSurfaceBytes);
    DeleteObject(brush);
}
BENCHMARK(FillHatched);

void FillThroughComplexClip(benchmark::State& state) {
    Screen screen;
    const POINT diamond[] = {{960, 0}, {1920, 540}, {960, 1080}, {0, 540}};
    HRGN clip = CreatePolygonRgn(diamond, 4, WINDING);
    SelectClipRgn(screen.dc, clip);
    HBRUSH brush = CreateSolidBrush(RGB(10, 20, 30));
    RECT all{0, 0, kWidth, kHeight};
    for (auto _ : state) FillRect(screen.dc, &all, brush);
    state.SetBytesProcessed(state.iterations() * kSurfaceBytes / 2);
    DeleteObject(brush);
    DeleteObject(clip);
}
BENCHMARK(FillThroughComplexClip);

void BlitCopy(benchmark::State& state) {
    Screen source, target;
    for (auto _ : state) BitBlt(target.dc, 0, 0, kWidth, kHeight, source.dc, 0, 0, SRCCOPY);
    state.SetBytesProcessed(state.iterations() * kSurfaceBytes);
}
BENCHMARK(BlitCopy);

void BlitInvert(benchmark::State& state) {
    Screen source, target;
    for (auto _ : state) BitBlt(target.dc, 0, 0, kWidth, kHeight, source.dc, 0, 0, SRCINVERT);
    state.SetBytesProcessed(state.iterations() * kSurfaceBytes);
}
BENCHMARK(BlitInvert);

// Scrolling: an overlapping copy within one surface by 16 pixels.
void ScrollVertically(benchmark::State& state) {
    Screen screen;
    const int step = static_cast<int>(state.range(0));
    for (auto _ : state) BitBlt(screen.dc, 0, step, kWidth, kHeight, screen.dc, 0, 0, SRCCOPY);
    state.SetBytesProcessed(state.iterations() * kSurfaceBytes);
}
BENCHMARK(ScrollVertically)->Arg(16)->Arg(-16);

void ScrollHorizontally(benchmark::State& state) {
    Screen screen;
    const int step = static_cast<int>(state.range(0));
    for (auto _ : state) BitBlt(screen.dc, step, 0, kWidth, kHeight, screen.dc, 0, 0, SRCCOPY);
    state.SetBytesProcessed(state.iterations() * kSurfaceBytes);
}
BENCHMARK(ScrollHorizontally)->Arg(16)->Arg(-16);

void StretchDouble(benchmark::State& state) {
    Screen source, target;
    for (auto _ : state)
        StretchBlt(target.dc, 0, 0, kWidth, kHeight, source.dc, 0, 0, kWidth / 2, kHeight / 2, SRCCOPY);
    state.SetBytesProcessed(state.iterations() * kSurfaceBytes);
}
BENCHMARK(StretchDouble);

// Horizontal spans as the grid and list painters draw them: one LineTo per row.
void HorizontalLines(benchmark::State& state) {
    Screen screen;
    for (auto _ : state)
        for (int y = 0; y < kHeight; y += 2) {
            MoveToEx(screen.dc, 0, y, nullptr);
            LineTo(screen.dc, kWidth, y);
        }
    state.SetItemsProcessed(state.iterations() * (kHeight / 2));
}
BENCHMARK(HorizontalLines);

// Short lines of every direction over a tall area on a DC clipped to a strip
// 20 rows high, as a scrolled view repaints what a line step uncovered: nearly
// every call is passed over, so this is the cost of a GDI call itself.
void ShortLinesThroughAStrip(benchmark::State& state) {
    Screen screen;
    IntersectClipRect(screen.dc, 0, kHeight - 20, kWidth, kHeight);
    std::vector<POINT> ends;
    uint32_t seed = 41;
    auto next = [&seed](int range) {
        seed = seed * 1103515245u + 12345u;
        return static_cast<int>((seed >> 8) % static_cast<uint32_t>(range));
    };
    for (int i = 0; i < 10000; ++i) {
        const POINT from{next(kWidth), next(kHeight * 5)};
        ends.push_back(from);
        ends.push_back(POINT{from.x + next(121) - 60, from.y + next(121) - 60});
    }
    for (auto _ : state)
        for (size_t i = 0; i < ends.size(); i += 2) {
            MoveToEx(screen.dc, ends[i].x, ends[i].y, nullptr);
            LineTo(screen.dc, ends[i + 1].x, ends[i + 1].y);
        }
    state.SetItemsProcessed(state.iterations() * static_cast<int64_t>(ends.size() / 2));
}
BENCHMARK(ShortLinesThroughAStrip);

// Text in short runs of 8 characters, each in a colour of its own, as a
// syntax-coloured editor line is drawn: what a text call costs besides its glyphs.
void ShortTextRuns(benchmark::State& state) {
    Screen screen;
    HFONT font = CreateFontA(-13, 0, 0, 0, FW_NORMAL, 0, 0, 0, 0, 0, 0, 0, 0, "Courier New");
    HGDIOBJ old = SelectObject(screen.dc, font);
    SetBkMode(screen.dc, TRANSPARENT);
    const char* tokens[] = {"if (x > ", "limit) {", " total +", "= x; } "};
    for (auto _ : state)
        for (int run = 0; run < 2000; ++run) {
            SetTextColor(screen.dc, RGB(run & 0xFF, 0, 0x80));
            TextOutA(screen.dc, (run % 25) * 64, (run / 25) * 13, tokens[run % 4], 8);
        }
    state.SetItemsProcessed(state.iterations() * 2000);
    SelectObject(screen.dc, old);
    DeleteObject(font);
}
BENCHMARK(ShortTextRuns);

void PatBltInvert(benchmark::State& state) {
    Screen screen;
    for (auto _ : state) PatBlt(screen.dc, 0, 0, kWidth, kHeight, DSTINVERT);
    state.SetBytesProcessed(state.iterations() * kSurfaceBytes);
}
BENCHMARK(PatBltInvert);

// Small blits of a 32x32 tile far outside the surface cost only their checks.
void ClippedAwayBlits(benchmark::State& state) {
    Screen source, target;
    for (auto _ : state) BitBlt(target.dc, -100000, 5, 32, 32, source.dc, 0, 0, SRCCOPY);
}
BENCHMARK(ClippedAwayBlits);

}  // namespace
