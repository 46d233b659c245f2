// One scroll step of a 1920x1080 scroll control whose OnPaint fills the
// background and draws 10,000 lines: a line down (SB_LINEDOWN, 20 pixels) and
// a thumb-track step, each with the paint that follows, against a floor in the
// same run (memmove of the client rows plus the same drawing into a plain
// buffer clipped to the uncovered strip) and against a full repaint; and the
// strip paint alone through a canvas against the plain buffer's. Prints the
// ratios at the end.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <map>
#include <random>
#include <set>
#include <string>
#include <vector>

#include "Form.h"
#include "ScrollControl.h"
#include "display/TestDriver.h"

namespace {

// The control is 1920 x 1080 with both bars; its client area 16 pixels less each way.
constexpr int kControlWidth = 1920;
constexpr int kControlHeight = 1080;
constexpr int kClientWidth = kControlWidth - 16;
constexpr int kClientHeight = kControlHeight - 16;
constexpr int kStep = 20;
constexpr int kVMax = 200;
constexpr int kAreaHeight = kClientHeight + kVMax * kStep;
constexpr int kLines = 10000;
constexpr COLORREF kBackground = RGB(0xF8, 0xF4, 0xE8);

struct Segment {
    int x0, y0, x1, y1;
    COLORREF colour;
};

// Short segments of every direction over the whole scrolled area, the same in
// every run, in groups of 100 of one colour.
const std::vector<Segment>& Drawing() {
    static const std::vector<Segment> segments = [] {
        std::mt19937 random(41);
        std::uniform_int_distribution<int> x(0, kClientWidth - 1), y(0, kAreaHeight - 1), d(-60, 60);
        std::vector<Segment> made;
        for (int i = 0; i < kLines; ++i) {
            const int x0 = x(random), y0 = y(random);
            made.push_back(Segment{x0, y0, x0 + d(random), y0 + d(random), RGB((i / 100) % 200, (i / 5000) * 100, 0x40)});
        }
        return made;
    }();
    return segments;
}

// The scroll control's OnPaint, in scrolled-area coordinates.
void PaintDrawing(TCanvas* canvas) {
    canvas->GetBrush()->SetStyle(bsSolid);
    canvas->GetBrush()->SetColor(static_cast<TColor>(kBackground));
    canvas->FillRect(RECT{0, 0, kClientWidth, kAreaHeight});
    COLORREF colour = CLR_INVALID;
    for (const Segment& segment : Drawing()) {
        if (segment.colour != colour) canvas->GetPen()->SetColor(static_cast<TColor>(colour = segment.colour));
        canvas->MoveTo(segment.x0, segment.y0);
        canvas->LineTo(segment.x1, segment.y1);
    }
}

// A scroll control filling a borderless form as large as the (headless) screen.
struct Scene {
    Scene() {
        form = new TForm(nullptr, 1);
        form->SetBorderStyle(bsNone);
        form->SetBounds(0, 0, kControlWidth, kControlHeight);
        scroller = new TScrollControl(form);
        scroller->SetBounds(0, 0, kControlWidth, kControlHeight);
        scroller->SetParent(form);
        scroller->SetFillBk(false);
        scroller->SetVScrollStep(kStep);
        scroller->SetVMax(kVMax);
        scroller->OnPaint = [](TScrollControl*, TCanvas* canvas) { PaintDrawing(canvas); };
        form->Show();
        driver.PumpUntilIdle();
        scroller->SetVPos(kVMax / 2);
        driver.PumpUntilIdle();
        if (scroller->GetClientWidth() != kClientWidth || scroller->GetClientHeight() != kClientHeight) {
            std::fprintf(stderr, "the scroll control's client area is %d x %d, its form's %d x %d\n",
                         scroller->GetClientWidth(), scroller->GetClientHeight(), form->GetClientWidth(),
                         form->GetClientHeight());
            std::exit(1);
        }
    }
    ~Scene() { delete form; }
    HWND Window() { return scroller->GetHandle(); }

    win32::TestDriver driver;
    TForm* form;
    TScrollControl* scroller;
};

Scene* scene = nullptr;

// The floor: a plain 32-bit buffer of the client area, scrolled by memmove,
// with the same drawing run into the uncovered strip only. Lines whose box
// misses the strip are passed over; the rest are stepped and clipped.
class PlainBuffer {
public:
    PlainBuffer() : pixels_(size_t(kClientWidth) * kClientHeight, 0) {}

    // Moves the picture by dy rows (negative: up) and paints the strip
    // uncovered at scroll offset top (scrolled-area row of client row 0).
    void Scroll(int dy, int top) {
        const size_t row = kClientWidth;
        const int moved = kClientHeight - std::abs(dy);
        if (dy < 0)
            std::memmove(pixels_.data(), pixels_.data() + row * size_t(-dy), row * size_t(moved) * 4);
        else
            std::memmove(pixels_.data() + row * size_t(dy), pixels_.data(), row * size_t(moved) * 4);
        const RECT strip = dy < 0 ? RECT{0, moved, kClientWidth, kClientHeight} : RECT{0, 0, kClientWidth, dy};
        Paint(strip, top);
    }
    uint32_t Pixel(int x, int y) const { return pixels_[size_t(y) * kClientWidth + size_t(x)]; }
    // The drawing into strip alone (client rows), at scroll offset top.
    void PaintStrip(const RECT& strip, int top) { Paint(strip, top); }

private:
    void Paint(const RECT& strip, int top) {
        for (LONG y = strip.top; y < strip.bottom; ++y)
            std::fill_n(pixels_.data() + size_t(y) * kClientWidth + size_t(strip.left), strip.right - strip.left,
                        kBackground);
        for (const Segment& s : Drawing()) {
            const int y0 = s.y0 - top, y1 = s.y1 - top;
            if (std::max(y0, y1) < strip.top || std::min(y0, y1) >= strip.bottom) continue;
            if (std::max(s.x0, s.x1) < strip.left || std::min(s.x0, s.x1) >= strip.right) continue;
            Line(s.x0, y0, s.x1, y1, s.colour, strip);
        }
    }
    // Every pixel from the first point up to, not including, the second.
    void Line(int x, int y, int x1, int y1, uint32_t colour, const RECT& clip) {
        const int dx = std::abs(x1 - x), dy = std::abs(y1 - y);
        const int sx = x1 > x ? 1 : -1, sy = y1 > y ? 1 : -1;
        int error = dx - dy;
        for (int i = std::max(dx, dy); i > 0; --i) {
            if (x >= clip.left && x < clip.right && y >= clip.top && y < clip.bottom)
                pixels_[size_t(y) * kClientWidth + size_t(x)] = colour;
            const int twice = 2 * error;
            if (twice > -dy) {
                error -= dy;
                x += sx;
            }
            if (twice < dx) {
                error += dx;
                y += sy;
            }
        }
    }
    std::vector<uint32_t> pixels_;
};

// One line down, then (next iteration) one line up, each with its paint.
void LineStepScrollControl(benchmark::State& state) {
    HWND window = scene->Window();
    bool down = true;
    for (auto _ : state) {
        SendMessageA(window, WM_VSCROLL, down ? SB_LINEDOWN : SB_LINEUP, 0);
        UpdateWindow(window);
        down = !down;
    }
}
BENCHMARK(LineStepScrollControl)->Unit(benchmark::kMicrosecond);

// The floor of a step by distance pixels down, then back up, from offset top.
void FloorSteps(benchmark::State& state, int distance, int top) {
    PlainBuffer buffer;
    bool down = true;
    for (auto _ : state) {
        top += down ? distance : -distance;
        buffer.Scroll(down ? -distance : distance, top);
        benchmark::DoNotOptimize(buffer.Pixel(5, 5));
        down = !down;
    }
}

void LineStepFloor(benchmark::State& state) { FloorSteps(state, kStep, (kVMax / 2) * kStep); }
BENCHMARK(LineStepFloor)->Unit(benchmark::kMicrosecond);

// The thumb held and moved 4 pixels down and back: one position (20 pixels) a move.
int thumbUnits = 0;
void ThumbTrackScrollControl(benchmark::State& state) {
    Scene& s = *scene;
    s.scroller->SetVPos(0);
    s.driver.PumpUntilIdle();
    RECT frame;
    GetWindowRect(s.Window(), &frame);
    const POINT grab{frame.left + kClientWidth + 8, frame.top + 16 + 20};
    s.driver.MouseDownOnScreen(grab);
    s.driver.MoveMouseOnScreen(POINT{grab.x, grab.y + 4});
    thumbUnits = s.scroller->GetVPos();
    bool down = false;
    for (auto _ : state) {
        s.driver.MoveMouseOnScreen(POINT{grab.x, grab.y + (down ? 4 : 0)});
        down = !down;
    }
    s.driver.MouseUpOnScreen(grab);
    if (thumbUnits < 1) state.SkipWithError("the thumb did not move");
}
BENCHMARK(ThumbTrackScrollControl)->Unit(benchmark::kMicrosecond);

void ThumbTrackFloor(benchmark::State& state) { FloorSteps(state, std::max(thumbUnits, 1) * kStep, 0); }
BENCHMARK(ThumbTrackFloor)->Unit(benchmark::kMicrosecond);

void FullRepaint(benchmark::State& state) {
    HWND window = scene->Window();
    for (auto _ : state) {
        InvalidateRect(window, nullptr, TRUE);
        UpdateWindow(window);
    }
}
BENCHMARK(FullRepaint)->Unit(benchmark::kMicrosecond);

// The strip paint alone, without scrolling: the same drawing through a canvas
// on a memory DC as large as the client area, clipped to the bottom strip of
// one line step as the scroll control clips it, against the plain buffer's
// strip paint. The ratio is what each of the 20,000 canvas calls costs.
const RECT kBottomStrip{0, kClientHeight - kStep, kClientWidth, kClientHeight};
constexpr int kStripTop = (kVMax / 2) * kStep;

void StripPaintCanvas(benchmark::State& state) {
    HDC dc = CreateCompatibleDC(nullptr);
    HBITMAP bitmap = CreateCompatibleBitmap(dc, kClientWidth, kClientHeight);
    HGDIOBJ old = SelectObject(dc, bitmap);
    IntersectClipRect(dc, kBottomStrip.left, kBottomStrip.top, kBottomStrip.right, kBottomStrip.bottom);
    SetViewportOrgEx(dc, 0, -kStripTop, nullptr);
    {
        TCanvas canvas;
        canvas.SetHandle(dc);
        for (auto _ : state) PaintDrawing(&canvas);
        canvas.SetHandle(nullptr);
    }
    SelectObject(dc, old);
    DeleteObject(bitmap);
    DeleteDC(dc);
}
BENCHMARK(StripPaintCanvas)->Unit(benchmark::kMicrosecond);

void StripPaintFloor(benchmark::State& state) {
    PlainBuffer buffer;
    for (auto _ : state) {
        buffer.PaintStrip(kBottomStrip, kStripTop);
        benchmark::DoNotOptimize(buffer.Pixel(5, kClientHeight - 5));
    }
}
BENCHMARK(StripPaintFloor)->Unit(benchmark::kMicrosecond);

// Keeps each run's time per iteration for the ratios printed at the end.
class RatioReporter : public benchmark::ConsoleReporter {
public:
    void ReportRuns(const std::vector<Run>& runs) override {
        ConsoleReporter::ReportRuns(runs);
        // The median of repetitions when there are any, else the one run.
        for (const Run& run : runs) {
            if (run.error_occurred) continue;
            const bool median = run.run_type == Run::RT_Aggregate && run.aggregate_name == "median";
            if (median || (run.run_type == Run::RT_Iteration && !medians.count(run.run_name.function_name)))
                times[run.run_name.function_name] = run.GetAdjustedRealTime();
            if (median) medians.insert(run.run_name.function_name);
        }
    }
    void Ratio(const char* what, const char* ours, const char* peer) {
        if (!times.count(ours) || !times.count(peer)) return;
        std::printf("%-52s %8.2f\n", what, times[ours] / times[peer]);
    }
    std::map<std::string, double> times;
    std::set<std::string> medians;
};

}  // namespace

int main(int argc, char** argv) {
    setenv("SUITE_DISPLAY", "headless", 1);
    benchmark::Initialize(&argc, argv);
    scene = new Scene;
    RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    std::printf("\nratios (target: a step within 2x of the floor)\n");
    reporter.Ratio("line step / floor (memmove + strip drawing)", "LineStepScrollControl", "LineStepFloor");
    reporter.Ratio("thumb-track step / floor", "ThumbTrackScrollControl", "ThumbTrackFloor");
    reporter.Ratio("line step / full repaint", "LineStepScrollControl", "FullRepaint");
    reporter.Ratio("strip paint through the canvas / plain buffer", "StripPaintCanvas", "StripPaintFloor");
    std::printf("thumb-track step: %d position(s), %d pixels\n", thumbUnits, thumbUnits * kStep);
    delete scene;
    benchmark::Shutdown();
    return 0;
}
