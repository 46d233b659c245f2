// Loading a 12-megapixel JPEG into a TMemBitmap against plain libjpeg decoding
// of the same file the way djpeg does it (and against the djpeg program).
// The bitmap writes its whole picture twice (DIB and device bitmap); with the
// default allocator every load touches fresh pages. To time the work alone, run
// with MALLOC_MMAP_THRESHOLD_=4294967296 MALLOC_TRIM_THRESHOLD_=4294967296 set.
#include <benchmark/benchmark.h>

#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include <jpeglib.h>

#include "JpegCoder.h"
#include "MemBitmap.h"

namespace {

constexpr int kWidth = 4000;
constexpr int kHeight = 3000;

// A photograph-like test picture (gradients, texture and edges) coded at
// quality 90 once, written to a temporary file for all benchmarks.
class TestFile {
public:
    TestFile() {
        std::vector<uint8_t> pixels(size_t(kWidth) * kHeight * 3);
        uint32_t noise = 12345;
        for (int y = 0; y < kHeight; ++y)
            for (int x = 0; x < kWidth; ++x) {
                noise = noise * 1103515245 + 12345;
                uint8_t* pixel = &pixels[(size_t(y) * kWidth + x) * 3];
                const int texture = int(noise >> 27);
                pixel[0] = uint8_t(x * 255 / kWidth + texture);
                pixel[1] = uint8_t((y * 255 / kHeight + ((x / 97 + y / 61) % 2) * 60) & 0xFF);
                pixel[2] = uint8_t(((x + y) / 23 % 2) * 120 + texture * 2);
            }
        void* block = nullptr;
        int length = 0;
        CreateJPEG(MakeImageData(pixels.data(), idtBgr24, kWidth, kHeight), &block, &length, 90);
        char name[] = "/tmp/bench_bitmaps_jpeg_XXXXXX";
        const int descriptor = mkstemp(name);
        path = name;
        FILE* file = fdopen(descriptor, "wb");
        std::fwrite(block, 1, size_t(length), file);
        std::fclose(file);
        std::free(block);
        bytes = size_t(length);
    }
    ~TestFile() { std::remove(path.c_str()); }

    std::string path;
    size_t bytes = 0;
};

const TestFile& File() {
    static const TestFile file;
    return file;
}

void BM_MemBitmapLoadFromFile(benchmark::State& state) {
    const TestFile& file = File();
    for (auto _ : state) {
        TMemBitmap bitmap;
        bitmap.LoadFromFile(file.path.c_str(), 1);
        if (!bitmap.Valid) state.SkipWithError("the JPEG did not load");
        benchmark::DoNotOptimize(bitmap.GetDDB());
    }
    state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(file.bytes));
}
BENCHMARK(BM_MemBitmapLoadFromFile)->Unit(benchmark::kMillisecond)->UseRealTime();

// The decoding step alone: ReadJPEG of the file into a pixel buffer.
void BM_ReadJPEG(benchmark::State& state) {
    const TestFile& file = File();
    for (auto _ : state) {
        IMAGEDATA view;
        ReadJPEG(file.path.c_str(), view);
        benchmark::DoNotOptimize(view.data);
        delete[] view.data;
    }
}
BENCHMARK(BM_ReadJPEG)->Unit(benchmark::kMillisecond)->UseRealTime();

// What djpeg does before writing its output: the standard stdio source, the
// default decompression settings, RGB scanlines into one buffer.
void BM_LibjpegLikeDjpeg(benchmark::State& state) {
    const TestFile& file = File();
    std::vector<JSAMPLE> pixels(size_t(kWidth) * kHeight * 3);
    for (auto _ : state) {
        FILE* input = std::fopen(file.path.c_str(), "rb");
        jpeg_decompress_struct info;
        jpeg_error_mgr errors;
        info.err = jpeg_std_error(&errors);
        jpeg_create_decompress(&info);
        jpeg_stdio_src(&info, input);
        jpeg_read_header(&info, TRUE);
        jpeg_start_decompress(&info);
        const size_t line = size_t(info.output_width) * size_t(info.output_components);
        while (info.output_scanline < info.output_height) {
            JSAMPROW row = pixels.data() + size_t(info.output_scanline) * line;
            jpeg_read_scanlines(&info, &row, 1);
        }
        jpeg_finish_decompress(&info);
        jpeg_destroy_decompress(&info);
        std::fclose(input);
        benchmark::DoNotOptimize(pixels.data());
    }
    state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(file.bytes));
}
BENCHMARK(BM_LibjpegLikeDjpeg)->Unit(benchmark::kMillisecond)->UseRealTime();

// The djpeg program itself, its output thrown away (includes starting it).
void BM_DjpegProgram(benchmark::State& state) {
    const TestFile& file = File();
    if (std::system("command -v djpeg >/dev/null 2>&1") != 0) {
        state.SkipWithError("djpeg is not installed");
        return;
    }
    const std::string command = "djpeg -outfile /dev/null '" + file.path + "'";
    for (auto _ : state) {
        if (std::system(command.c_str()) != 0) state.SkipWithError("djpeg failed");
    }
}
BENCHMARK(BM_DjpegProgram)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace
