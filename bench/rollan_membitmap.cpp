// The memory-bitmap scroller's display buffer: rebuilding it from a
// 2000x1500 24-bit picture at zooms 1, 2 and 4 (every pixel a Zoom x Zoom
// block, then the buffer's painting copy; at zoom 1 the picture is its own
// display), and the whole change of a picture (RefreshImage: the picture's
// painting copy, the buffer, a repaint), each against pixman's
// nearest-neighbour scaling of the same picture into a buffer of the same
// format, in the same iterations; and one SB_LINEDOWN of a 1920x1080 scroller
// at zoom 4 with the paint that follows, against a full repaint of the same
// control and against a floor (the client area's rows moved by memmove). The
// counter "ratio" is ours / the peer's.
#include <benchmark/benchmark.h>

#include <pixman.h>

#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <vector>

#include "Form.h"
#include "MemBitmap.h"
#include "MemBitmapScroller.h"
#include "TimeBesidePeer.h"
#include "display/TestDriver.h"

namespace {

constexpr int kPictureWidth = 2000;
constexpr int kPictureHeight = 1500;
constexpr int kWidth = 1920;
constexpr int kHeight = 1080;

// Soft gradients with a fine pattern, so that no row repeats another.
COLORREF PictureColour(int x, int y) {
    return RGB((x * 255 / kPictureWidth) ^ (y & 7), (y * 255 / kPictureHeight) ^ (x & 3), ((x + y) * 3) & 0xFF);
}

struct Scene {
    Scene() {
        picture.NewBitmap(kPictureWidth, kPictureHeight, 24);
        for (int y = 0; y < kPictureHeight; ++y)
            for (int x = 0; x < kPictureWidth; ++x) picture.SetPixel(x, y, int(PictureColour(x, y)));
        picture.Refresh();
        form = new TForm(nullptr, 1);
        form->SetBorderStyle(bsNone);
        form->SetBounds(0, 0, kWidth, kHeight);
        scroller = new TMemBitmapScroller(form);
        scroller->SetBounds(0, 0, kWidth, kHeight);
        scroller->SetParent(form);
        form->Show();
        driver.PumpUntilIdle();
        scroller->SetImage(picture);
        driver.PumpUntilIdle();
    }
    ~Scene() { delete form; }

    void ZoomTo(int zoom) {
        scroller->SetZoomRatio(zoom);
        driver.PumpUntilIdle();
        if (scroller->GetZoom() != zoom) {
            std::fprintf(stderr, "zoom %d could not be set\n", zoom);
            std::exit(1);
        }
    }

    win32::TestDriver driver;
    TMemBitmap picture;
    TForm* form;
    TMemBitmapScroller* scroller;
};

Scene* scene = nullptr;

// pixman's picture: the same pixels, three bytes each, rows top-down.
struct PixmanPicture {
    explicit PixmanPicture(int zoom)
        : stride(((kPictureWidth * 3) + 3) / 4 * 4),
          targetStride(((kPictureWidth * zoom * 3) + 3) / 4 * 4),
          pixels(size_t(stride) * kPictureHeight),
          targetPixels(size_t(targetStride) * kPictureHeight * zoom) {
        for (int y = 0; y < kPictureHeight; ++y)
            for (int x = 0; x < kPictureWidth; ++x) {
                const COLORREF c = PictureColour(x, y);
                uint8_t* pixel = &pixels[size_t(y) * stride + size_t(x) * 3];
                pixel[0] = GetBValue(c);  // r8g8b8 lies in memory blue, green, red
                pixel[1] = GetGValue(c);
                pixel[2] = GetRValue(c);
            }
        source = pixman_image_create_bits(PIXMAN_r8g8b8, kPictureWidth, kPictureHeight,
                                          reinterpret_cast<uint32_t*>(pixels.data()), stride);
        target = pixman_image_create_bits(PIXMAN_r8g8b8, kPictureWidth * zoom, kPictureHeight * zoom,
                                          reinterpret_cast<uint32_t*>(targetPixels.data()), targetStride);
        pixman_transform_t scale;
        pixman_transform_init_scale(&scale, pixman_int_to_fixed(1) / zoom, pixman_int_to_fixed(1) / zoom);
        pixman_image_set_transform(source, &scale);
        pixman_image_set_filter(source, PIXMAN_FILTER_NEAREST, nullptr, 0);
        width = kPictureWidth * zoom;
        height = kPictureHeight * zoom;
    }
    ~PixmanPicture() {
        pixman_image_unref(target);
        pixman_image_unref(source);
    }
    void Scale() {
        pixman_image_composite32(PIXMAN_OP_SRC, source, nullptr, target, 0, 0, 0, 0, 0, 0, width, height);
    }

    int stride, targetStride;
    std::vector<uint8_t> pixels, targetPixels;
    pixman_image_t* source = nullptr;
    pixman_image_t* target = nullptr;
    int width = 0, height = 0;
};

// Both buffers are checked once: the same colour at the far corner's block.
bool SameFarCorner(PixmanPicture& peer, int zoom) {
    TMemBitmap* buffer = scene->scroller->GetImageBuffer();
    const int x = kPictureWidth * zoom - 1, y = kPictureHeight * zoom - 1;
    const uint8_t* pixel = &peer.targetPixels[size_t(y) * peer.targetStride + size_t(x) * 3];
    return buffer->GetPixel(x, y) == int(RGB(pixel[2], pixel[1], pixel[0])) &&
           buffer->GetPixel(x, y) == int(PictureColour(kPictureWidth - 1, kPictureHeight - 1));
}

void RebuildBuffer(benchmark::State& state) {
    const int zoom = int(state.range(0));
    scene->ZoomTo(zoom);
    PixmanPicture peer(zoom);
    TimeBesidePeer(
        state, "pixman", [] { benchmark::DoNotOptimize(scene->scroller->RefreshImageBuffer()); },
        [&] { peer.Scale(); });
    if (!SameFarCorner(peer, zoom)) state.SkipWithError("the buffers differ");
    state.counters["Mpixels"] = double(peer.width) * peer.height / 1e6;
}
// At zoom 1 there is nothing to rebuild: a fixed count keeps the benchmark
// from running pixman millions of times to fill its minimum time.
BENCHMARK(RebuildBuffer)->Arg(1)->Iterations(100)->UseManualTime()->Unit(benchmark::kMillisecond);
BENCHMARK(RebuildBuffer)->Arg(2)->Arg(4)->UseManualTime()->Unit(benchmark::kMillisecond);

void RefreshImage(benchmark::State& state) {
    const int zoom = int(state.range(0));
    scene->ZoomTo(zoom);
    PixmanPicture peer(zoom);
    TimeBesidePeer(
        state, "pixman",
        [] {
            scene->scroller->RefreshImage();
            scene->driver.PumpUntilIdle();
        },
        [&] { peer.Scale(); });
}
BENCHMARK(RefreshImage)->Arg(1)->Arg(2)->Arg(4)->UseManualTime()->Unit(benchmark::kMillisecond);

// A line down, then (next iteration) a line up, each with its paint; beside
// it the full repaint of the same control, and the floor: the client area's
// rows moved by one row in a plain buffer of its size, as any scroll moves them.
void LineStepAtZoomFour(benchmark::State& state) {
    using Clock = std::chrono::steady_clock;
    scene->ZoomTo(4);
    HWND window = scene->scroller->GetHandle();
    scene->scroller->SetVPos(scene->scroller->GetVMax() / 2);
    scene->driver.PumpUntilIdle();
    const int width = scene->scroller->GetClientWidth(), height = scene->scroller->GetClientHeight();
    std::vector<uint32_t> plain(size_t(width) * size_t(height), 0x808080);
    bool down = true;
    const int start = scene->scroller->GetVPos();
    double oursSeconds = 0, repaintSeconds = 0, floorSeconds = 0;
    for (auto _ : state) {
        const auto t0 = Clock::now();
        SendMessageA(window, WM_VSCROLL, down ? SB_LINEDOWN : SB_LINEUP, 0);
        UpdateWindow(window);
        const auto t1 = Clock::now();
        InvalidateRect(window, nullptr, TRUE);
        UpdateWindow(window);
        const auto t2 = Clock::now();
        for (int row = 0; row + 1 < height; ++row) {
            const int to = down ? row : height - 1 - row, from = down ? to + 1 : to - 1;
            std::memmove(&plain[size_t(to) * width], &plain[size_t(from) * width], size_t(width) * 4);
        }
        benchmark::DoNotOptimize(plain.data());
        const auto t3 = Clock::now();
        const double own = std::chrono::duration<double>(t1 - t0).count();
        oursSeconds += own;
        repaintSeconds += std::chrono::duration<double>(t2 - t1).count();
        floorSeconds += std::chrono::duration<double>(t3 - t2).count();
        state.SetIterationTime(own);
        down = !down;
    }
    const double n = double(state.iterations());
    state.counters["full_repaint_us"] = repaintSeconds * 1e6 / n;
    state.counters["floor_us"] = floorSeconds * 1e6 / n;
    state.counters["ratio"] = oursSeconds / repaintSeconds;
    state.counters["ratio_floor"] = oursSeconds / floorSeconds;
    const int moved = scene->scroller->GetVPos() - start;
    if (moved != 0 && moved != 1) state.SkipWithError("the line steps did not scroll");
}
BENCHMARK(LineStepAtZoomFour)->UseManualTime()->Unit(benchmark::kMicrosecond);

}  // namespace

int main(int argc, char** argv) {
    setenv("SUITE_DISPLAY", "headless", 1);
    benchmark::Initialize(&argc, argv);
    scene = new Scene;
    benchmark::RunSpecifiedBenchmarks();
    std::printf("ratio: the scroller's buffer rebuild (or picture change) / pixman's nearest scaling (target at\n"
                "       most 2); a line step at zoom 4 / a full repaint (target at most 0.25), ratio_floor / the\n"
                "       client area's rows moved in a plain buffer\n");
    delete scene;
    benchmark::Shutdown();
    return 0;
}
