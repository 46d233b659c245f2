// The statistics view at full-HD size: its whole picture, as every mouse
// move repaints it, beside a plain fill of a buffer of the same size; and
// ten million samples counted by NewValue beside GSL's histogram counting
// the same samples over the same ranges. The "ratio" counter is ours / the
// peer's, timed in the same iterations.
#include <benchmark/benchmark.h>

#include <gsl/gsl_histogram.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <memory>
#include <vector>

#include "GraphicsBitmap.h"
#include "StatsView.h"
#include "TimeBesidePeer.h"

namespace {

constexpr int kWidth = 1920;
constexpr int kHeight = 1080;
constexpr int kSampleCount = 1 << 16;
constexpr int64_t kCalls = 10000000;

// Bell-shaped samples around 0 (the sum of four uniform numbers), most of
// them between -10 and 10, a few outside; the same every run.
std::vector<double> BellSamples() {
    std::vector<double> samples(kSampleCount);
    uint32_t state = 2463534242u;
    auto uniform = [&state] {
        state ^= state << 13;
        state ^= state >> 17;
        state ^= state << 5;
        return state / 4294967296.0;
    };
    for (double& sample : samples) sample = (uniform() + uniform() + uniform() + uniform() - 2) * 12;
    return samples;
}

// A full-HD view over -10..10 with samples, a limit, a nominal, and the
// mouse over a middle column, so that the picture has all of its parts.
std::unique_ptr<TStatsView> MakeView(int columns, const std::vector<double>& samples) {
    auto view = std::make_unique<TStatsView>(nullptr);
    view->SetBounds(0, 0, kWidth, kHeight);
    view->SetColCount(columns);
    for (double sample : samples) view->NewValue(sample, false);
    view->NewLimit(-5, false);
    view->NewNominal(2.5, false);
    view->Perform(WM_MOUSEMOVE, 0, MAKELPARAM(kWidth / 2, kHeight / 2));
    return view;
}

void BM_StatsViewRuntimePaint(benchmark::State& state) {
    const std::vector<double> samples = BellSamples();
    const std::unique_ptr<TStatsView> view = MakeView(int(state.range(0)), samples);
    if (view->GetHoverCol() < 0) {
        state.SkipWithError("the mouse is over no column");
        return;
    }
    TBitmap plain;
    plain.SetPixelFormat(pf32bit);
    plain.SetSize(kWidth, kHeight);
    TimeBesidePeer(
        state, "fill", [&] { view->RuntimePaint(); },
        [&] {
            for (int y = 0; y < kHeight; ++y) {
                auto* row = static_cast<uint32_t*>(plain.ScanLine(y));
                std::fill_n(row, kWidth, 0x00FFFFFFu);
            }
            benchmark::DoNotOptimize(plain.ScanLine(kHeight - 1));
        });
}
BENCHMARK(BM_StatsViewRuntimePaint)->ArgName("columns")->Arg(31)->Arg(1000)->UseManualTime()->Unit(benchmark::kMillisecond);

// GSL's bins over the view's ranges: the lows of every column, then DBL_MAX.
gsl_histogram* HistogramOverRanges(const TStatsView& view) {
    std::vector<std::pair<double, double>> ranges;
    view.GetColRanges(ranges);
    std::vector<double> bounds;
    for (const auto& range : ranges) bounds.push_back(range.first);
    bounds.push_back(ranges.back().second);
    gsl_histogram* histogram = gsl_histogram_alloc(ranges.size());
    gsl_histogram_set_ranges(histogram, bounds.data(), bounds.size());
    return histogram;
}

void BM_StatsViewNewValue(benchmark::State& state) {
    const std::vector<double> samples = BellSamples();
    auto view = std::make_unique<TStatsView>(nullptr);
    view->SetColCount(int(state.range(0)));
    gsl_histogram* histogram = HistogramOverRanges(*view);
    TimeBesidePeer(
        state, "gsl",
        [&] {
            view->ClearValues(false);
            for (int64_t i = 0; i < kCalls; ++i) view->NewValue(samples[size_t(i) & (kSampleCount - 1)], false);
        },
        [&] {
            gsl_histogram_reset(histogram);
            for (int64_t i = 0; i < kCalls; ++i)
                gsl_histogram_increment(histogram, samples[size_t(i) & (kSampleCount - 1)]);
        });
    // Both counted every sample in the same column.
    const std::vector<int>& counts = view->GetCounts();
    for (size_t i = 0; i < counts.size(); ++i)
        if (double(counts[i]) != gsl_histogram_get(histogram, i)) state.SkipWithError("the counts differ from GSL's");
    gsl_histogram_free(histogram);
}
BENCHMARK(BM_StatsViewNewValue)->ArgName("columns")->Arg(31)->Arg(1000)->UseManualTime()->Unit(benchmark::kMillisecond);

}  // namespace
