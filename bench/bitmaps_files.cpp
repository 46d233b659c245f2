// Picture files against their floors, each pair timed side by side in one
// run: a 12-megapixel JPEG loaded into a TMemBitmap against the JPEG library
// decoding the same file into a fresh buffer, and the same picture loaded and
// saved as BMP against fread and fwrite of as many bytes. Every load goes to
// fresh memory with the default allocator, as a program that opens pictures
// one after another does. Pairs are timed in the thread's CPU time (the wall
// time's ratio printed beside). The peak memory of each case is measured in
// a child process of its own.
#include <benchmark/benchmark.h>

#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <ctime>
#include <cstdlib>
#include <functional>
#include <string>

#include <jpeglib.h>

#include "MemBitmap.h"

namespace {

using Clock = std::chrono::steady_clock;

// The picture the build made (MakeTestPicture, 4000 x 3000, quality 90) and a
// BMP of it written once for the BMP cases.
struct Files {
    std::string jpeg = BENCH_TEST_PICTURE;
    std::string bmp;
    std::string saved;
    size_t bmpBytes = 0;
    size_t dibBytes = 0;

    Files() {
        char folder[] = "/tmp/bench_bitmaps_files_XXXXXX";
        if (mkdtemp(folder) == nullptr) std::abort();
        bmp = std::string(folder) + "/photo.bmp";
        saved = std::string(folder) + "/saved.bmp";
        TMemBitmap bitmap;
        bitmap.LoadFromFile(jpeg.c_str(), -1);
        bitmap.IsJpeg = 0;
        if (!bitmap.Valid || !bitmap.SaveToFile(bmp.c_str())) std::abort();
        dibBytes = GlobalSize(bitmap.GetDIB());
        bmpBytes = dibBytes + 14;
    }
    ~Files() {
        std::remove(bmp.c_str());
        std::remove(saved.c_str());
        std::remove(bmp.substr(0, bmp.rfind('/')).c_str());
    }
};

const Files& TheFiles() {
    static const Files files;
    return files;
}

// ---- The floors ----

void DecodeWithLibrary(const std::string& path) {
    FILE* input = std::fopen(path.c_str(), "rb");
    if (input == nullptr) std::abort();
    jpeg_decompress_struct info;
    jpeg_error_mgr errors;
    info.err = jpeg_std_error(&errors);
    jpeg_create_decompress(&info);
    jpeg_stdio_src(&info, input);
    jpeg_read_header(&info, TRUE);
    jpeg_start_decompress(&info);
    const size_t line = size_t(info.output_width) * size_t(info.output_components);
    auto* pixels = static_cast<JSAMPLE*>(std::malloc(line * info.output_height));
    while (info.output_scanline < info.output_height) {
        JSAMPROW row = pixels + size_t(info.output_scanline) * line;
        jpeg_read_scanlines(&info, &row, 1);
    }
    jpeg_finish_decompress(&info);
    jpeg_destroy_decompress(&info);
    std::fclose(input);
    benchmark::DoNotOptimize(pixels);
    std::free(pixels);
}

void ReadWithFread(const std::string& path, size_t bytes) {
    FILE* input = std::fopen(path.c_str(), "rb");
    void* buffer = std::malloc(bytes);
    if (input == nullptr || buffer == nullptr || std::fread(buffer, 1, bytes, input) != bytes) std::abort();
    std::fclose(input);
    benchmark::DoNotOptimize(buffer);
    std::free(buffer);
}

void WriteWithFwrite(const std::string& path, const void* buffer, size_t bytes) {
    FILE* output = std::fopen(path.c_str(), "wb");
    if (output == nullptr || std::fwrite(buffer, 1, bytes, output) != bytes || std::fclose(output) != 0) std::abort();
}

// ---- Ours ----

void LoadBitmap(const std::string& path) {
    TMemBitmap bitmap;
    bitmap.LoadFromFile(path.c_str(), -1);
    if (!bitmap.Valid) std::abort();
    benchmark::DoNotOptimize(bitmap.DIB);
}

// ---- Pairs ----

// The thread's CPU time, user and system: the page faults of fresh memory and
// the copies out of the page cache count, waiting for a core on a shared
// machine does not.
double ThreadSeconds() {
    timespec now{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return double(now.tv_sec) + double(now.tv_nsec) * 1e-9;
}

struct Times {
    double cpu = 0;
    double wall = 0;
};

Times Measure(const std::function<void()>& run) {
    const Clock::time_point wallStart = Clock::now();
    const double cpuStart = ThreadSeconds();
    run();
    const double cpu = ThreadSeconds() - cpuStart;
    return Times{cpu, std::chrono::duration<double>(Clock::now() - wallStart).count()};
}

// Runs ours and the floor in turns (the order swapped every iteration, so
// that neither always meets the other's leftovers); reports our CPU time as
// the iteration time, both CPU times and their ratio as counters, and the
// ratio of the wall times beside it.
void TimePair(benchmark::State& state, const std::function<void()>& ours, const std::function<void()>& floor) {
    Times oursTotal, floorTotal;
    bool oursFirst = true;
    for (auto _ : state) {
        Times oursTime, floorTime;
        if (oursFirst) {
            oursTime = Measure(ours);
            floorTime = Measure(floor);
        } else {
            floorTime = Measure(floor);
            oursTime = Measure(ours);
        }
        oursFirst = !oursFirst;
        state.SetIterationTime(oursTime.cpu);
        oursTotal.cpu += oursTime.cpu;
        oursTotal.wall += oursTime.wall;
        floorTotal.cpu += floorTime.cpu;
        floorTotal.wall += floorTime.wall;
    }
    const double n = double(state.iterations());
    state.counters["ours_ms"] = 1000 * oursTotal.cpu / n;
    state.counters["floor_ms"] = 1000 * floorTotal.cpu / n;
    state.counters["ratio"] = oursTotal.cpu / floorTotal.cpu;
    state.counters["wall_ratio"] = oursTotal.wall / floorTotal.wall;
}

void BM_JpegLoadVsLibrary(benchmark::State& state) {
    const Files& files = TheFiles();
    TimePair(
        state, [&] { LoadBitmap(files.jpeg); }, [&] { DecodeWithLibrary(files.jpeg); });
    state.counters["target"] = 1.15;
}
BENCHMARK(BM_JpegLoadVsLibrary)->Unit(benchmark::kMillisecond)->UseManualTime()->MinTime(2);

void BM_BmpLoadVsFread(benchmark::State& state) {
    const Files& files = TheFiles();
    TimePair(
        state, [&] { LoadBitmap(files.bmp); }, [&] { ReadWithFread(files.bmp, files.bmpBytes); });
    state.counters["target"] = 1.3;
}
BENCHMARK(BM_BmpLoadVsFread)->Unit(benchmark::kMillisecond)->UseManualTime()->MinTime(2);

void BM_BmpSaveVsFwrite(benchmark::State& state) {
    const Files& files = TheFiles();
    TMemBitmap bitmap;
    bitmap.LoadFromFile(files.bmp.c_str(), -1);
    // The floor writes the very bytes of the file from memory it has touched.
    void* buffer = std::malloc(files.bmpBytes);
    FILE* input = std::fopen(files.bmp.c_str(), "rb");
    if (buffer == nullptr || input == nullptr || std::fread(buffer, 1, files.bmpBytes, input) != files.bmpBytes)
        std::abort();
    std::fclose(input);
    TimePair(
        state, [&] { bitmap.SaveToFile(files.saved.c_str()); },
        [&] { WriteWithFwrite(files.saved, buffer, files.bmpBytes); });
    std::free(buffer);
    state.counters["target"] = 1.2;
}
BENCHMARK(BM_BmpSaveVsFwrite)->Unit(benchmark::kMillisecond)->UseManualTime()->MinTime(2);

// ---- Peak memory ----

// The growth of the peak resident size while `run` runs in a child process,
// in bytes: the child starts with its peak at its current size.
double PeakGrowth(const std::function<void()>& run) {
    int channel[2];
    if (pipe(channel) != 0) std::abort();
    const pid_t child = fork();
    if (child == 0) {
        rusage before{}, after{};
        getrusage(RUSAGE_SELF, &before);
        run();
        getrusage(RUSAGE_SELF, &after);
        const double growth = 1024.0 * double(after.ru_maxrss - before.ru_maxrss);
        if (write(channel[1], &growth, sizeof(growth)) != ssize_t(sizeof(growth))) _exit(1);
        _exit(0);
    }
    close(channel[1]);
    double growth = -1;
    if (read(channel[0], &growth, sizeof(growth)) != ssize_t(sizeof(growth))) growth = -1;
    close(channel[0]);
    int status = 0;
    waitpid(child, &status, 0);
    return growth;
}

// Peak growth of each load in megabytes. The JPEG budget is the DIB plus what
// the library needs beside its output (the floor's growth less its buffer)
// plus 10 percent; the BMP budget is the DIB plus 10 percent.
void BM_PeakMemory(benchmark::State& state) {
    const Files& files = TheFiles();
    const double megabyte = 1 << 20;
    double jpeg = 0, library = 0, bmp = 0, fread = 0;
    for (auto _ : state) {
        jpeg = PeakGrowth([&] { LoadBitmap(files.jpeg); });
        library = PeakGrowth([&] { DecodeWithLibrary(files.jpeg); });
        bmp = PeakGrowth([&] { LoadBitmap(files.bmp); });
        fread = PeakGrowth([&] { ReadWithFread(files.bmp, files.bmpBytes); });
    }
    const double libraryOutput = double(files.dibBytes - 40);
    const double libraryWork = library > libraryOutput ? library - libraryOutput : 0;
    state.counters["dib_MB"] = double(files.dibBytes) / megabyte;
    state.counters["jpeg_MB"] = jpeg / megabyte;
    state.counters["jpeg_budget_MB"] = 1.1 * (double(files.dibBytes) + libraryWork) / megabyte;
    state.counters["library_MB"] = library / megabyte;
    state.counters["bmp_MB"] = bmp / megabyte;
    state.counters["bmp_budget_MB"] = 1.1 * double(files.dibBytes) / megabyte;
    state.counters["fread_MB"] = fread / megabyte;
}
BENCHMARK(BM_PeakMemory)->Unit(benchmark::kMillisecond)->Iterations(1);

}  // namespace
