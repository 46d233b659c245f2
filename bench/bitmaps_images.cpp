// RGB/HSI conversion and image operations of the Bitmaps package on typical sizes.
#include <benchmark/benchmark.h>

#include "ImageColors.h"
#include "RgbHsi.h"

#include <vector>

namespace {

// A packed image filled with a repeating pattern of values.
struct BenchImage {
    std::vector<uint8_t> pixels;
    IMAGEDATA view;

    BenchImage(int type, int width, int height) : pixels(size_t(width) * height * ImagePixelSize(type)) {
        for (size_t i = 0; i < pixels.size(); ++i) pixels[i] = uint8_t((i * 131) >> 3);
        view = MakeImageData(pixels.data(), type, width, height);
    }
};

void BM_RgbToHsiToRgb(benchmark::State& state) {
    for (auto _ : state) {
        unsigned sum = 0;
        for (int colour = 0; colour < 65536; ++colour) {
            RGB_TRIPLE rgb;
            rgb.red = uint8_t(colour);
            rgb.green = uint8_t(colour >> 8);
            rgb.blue = uint8_t(colour * 7);
            sum += HSI2RGB(RGB2HSI(rgb)).green;
        }
        benchmark::DoNotOptimize(sum);
    }
    state.SetItemsProcessed(state.iterations() * 65536);
}
BENCHMARK(BM_RgbToHsiToRgb);

void BM_CopyImageFullHd(benchmark::State& state) {
    BenchImage source(idtBgr24, 1920, 1080), destination(idtBgr24, 1920, 1080);
    for (auto _ : state) {
        CopyImage(destination.view, source.view);
        benchmark::ClobberMemory();
    }
    state.SetBytesProcessed(state.iterations() * int64_t(source.pixels.size()));
}
BENCHMARK(BM_CopyImageFullHd);

void BM_ResoluteImageMedian(benchmark::State& state) {
    BenchImage image(idtGray8, 1024, 768);
    for (auto _ : state) {
        ResoluteImage(image.view, 4, 4, rimMedian, false);
    }
    state.SetItemsProcessed(state.iterations() * 1024 * 768);
}
BENCHMARK(BM_ResoluteImageMedian);

void BM_RescaleIntensityColour(benchmark::State& state) {
    BenchImage image(idtBgr24, 640, 480);
    std::vector<uint8_t> table(256);
    for (int i = 0; i < 256; ++i) table[i] = uint8_t(255 - i);
    for (auto _ : state) {
        RescaleImageIntensity(image.view, table.data());
    }
    state.SetItemsProcessed(state.iterations() * 640 * 480);
}
BENCHMARK(BM_RescaleIntensityColour);

void BM_PatternMatch(benchmark::State& state) {
    BenchImage image(idtGray8, 256, 256), pattern(idtGray8, 16, 16);
    std::vector<PATTERN_MATCH_ITEM> results;
    for (auto _ : state) {
        PatternMatch(image.view, pattern.view, 10, results, 1, 1, 0, 0, 1);
        benchmark::DoNotOptimize(results.data());
    }
}
BENCHMARK(BM_PatternMatch);

}  // namespace
