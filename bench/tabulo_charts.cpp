// Painting a full-HD pie chart and pressing its last slice, each timed beside
// cairo filling the same slice polygons on an image surface of the same size,
// in the same iterations; the "ratio" counter is ours / cairo's.
#include <benchmark/benchmark.h>

#include <cairo.h>

#include <cstdlib>
#include <memory>
#include <vector>

#include "PieChart.h"
#include "RasterDrawing.h"
#include "TimeBesidePeer.h"

namespace {

constexpr int kWidth = 1920;
constexpr int kHeight = 1080;
const TBrushStyle kHatches[] = {bsHorizontal, bsVertical, bsFDiagonal, bsBDiagonal, bsCross, bsDiagCross};

// A pie of the given number of values without texts (no tables in CHDIR):
// the work is the slices. The last value's caption marks it.
std::unique_ptr<TPieChart> MakePie(int count, bool hatched) {
    unsetenv("CHDIR");
    auto pie = std::make_unique<TPieChart>(nullptr);
    pie->SetBounds(0, 0, kWidth, kHeight);
    for (int i = 0; i < count; ++i) {
        const TColor colour = TColor((i * 0x3A5F17) & 0xFFFFFF);
        pie->AddValue(1 + (i * 37) % 11, colour, hatched ? kHatches[i % 6] : bsSolid, i + 1 == count ? "last" : "",
                      clNavy, false);
    }
    pie->Refresh();
    return pie;
}

// The same polygons, filled by cairo without antialiasing as the chart fills them.
class CairoPie {
public:
    explicit CairoPie(const TPieChart& pie) {
        surface_ = cairo_image_surface_create(CAIRO_FORMAT_RGB24, kWidth, kHeight);
        cairo_ = cairo_create(surface_);
        cairo_set_antialias(cairo_, CAIRO_ANTIALIAS_NONE);
        std::vector<TChartValue> values;
        pie.GetValues(values);
        for (const TChartItem& item : pie.GetItems())
            slices_.push_back(Slice{item.outline, values[size_t(item.valueIndex)]});
        for (TBrushStyle style : kHatches) hatches_.push_back(HatchTile(style, pie.GetCrossSize()));
    }
    ~CairoPie() {
        for (cairo_surface_t* tile : hatchTiles_) cairo_surface_destroy(tile);
        for (cairo_pattern_t* hatch : hatches_) cairo_pattern_destroy(hatch);
        cairo_destroy(cairo_);
        cairo_surface_destroy(surface_);
    }

    void Paint() {
        SetColour(0xFFFFFF);
        cairo_paint(cairo_);
        for (const Slice& slice : slices_) FillSlice(slice);
        cairo_surface_flush(surface_);
    }
    // One fill of the slice, as a press tests one item.
    void FillOnce(size_t index) {
        Path(slices_[index].outline);
        SetColour(slices_[index].value.colour);
        cairo_fill(cairo_);
    }

private:
    struct Slice {
        std::vector<POINT> outline;
        TChartValue value;
    };

    void SetColour(TColor colour) {
        cairo_set_source_rgb(cairo_, (colour & 0xFF) / 255.0, ((colour >> 8) & 0xFF) / 255.0,
                             ((colour >> 16) & 0xFF) / 255.0);
    }
    void Path(const std::vector<POINT>& outline) {
        cairo_new_path(cairo_);
        cairo_move_to(cairo_, outline[0].x + 0.5, outline[0].y + 0.5);
        for (size_t i = 1; i < outline.size(); ++i) cairo_line_to(cairo_, outline[i].x + 0.5, outline[i].y + 0.5);
        cairo_close_path(cairo_);
    }
    void FillSlice(const Slice& slice) {
        Path(slice.outline);
        const bool hatched = slice.value.style != bsSolid;
        SetColour(hatched ? slice.value.secondColour : slice.value.colour);
        if (!hatched) {
            cairo_fill(cairo_);
            return;
        }
        cairo_fill_preserve(cairo_);
        for (size_t h = 0; h < std::size(kHatches); ++h)
            if (kHatches[h] == slice.value.style) cairo_set_source(cairo_, hatches_[h]);
        cairo_fill(cairo_);
    }
    // A repeating tile with the hatch dots opaque and the rest clear.
    cairo_pattern_t* HatchTile(TBrushStyle style, int size) {
        cairo_surface_t* tile = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, size, size);
        auto* pixels = reinterpret_cast<uint32_t*>(cairo_image_surface_get_data(tile));
        const int stride = cairo_image_surface_get_stride(tile) / 4;
        for (int y = 0; y < size; ++y)
            for (int x = 0; x < size; ++x) {
                const bool forward = (x - y % size) % size == 0, backward = (x + y % size) % size == 0;
                const bool dot = style == bsHorizontal ? y == 0
                                 : style == bsVertical ? x == 0
                                 : style == bsFDiagonal ? forward
                                 : style == bsBDiagonal ? backward
                                 : style == bsCross ? (x == 0 || y == 0)
                                                    : (forward || backward);
                pixels[y * stride + x] = dot ? 0xFF000080u : 0;
            }
        cairo_surface_mark_dirty(tile);
        hatchTiles_.push_back(tile);
        cairo_pattern_t* pattern = cairo_pattern_create_for_surface(tile);
        cairo_pattern_set_extend(pattern, CAIRO_EXTEND_REPEAT);
        return pattern;
    }

    cairo_surface_t* surface_;
    cairo_t* cairo_;
    std::vector<Slice> slices_;
    std::vector<cairo_pattern_t*> hatches_;
    std::vector<cairo_surface_t*> hatchTiles_;
};

void BM_PiePaintChart(benchmark::State& state) {
    const std::unique_ptr<TPieChart> pie = MakePie(int(state.range(0)), state.range(1) != 0);
    CairoPie cairo(*pie);
    TimeBesidePeer(state, "cairo", [&] { pie->PaintChart(); }, [&] { cairo.Paint(); });
}
BENCHMARK(BM_PiePaintChart)
    ->ArgNames({"values", "hatched"})
    ->Args({10, 0})
    ->Args({10, 1})
    ->Args({1000, 0})
    ->Args({1000, 1})
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond);

// A point of the last slice that no earlier slice holds.
bool LastSlicePoint(const TPieChart& pie, POINT& point) {
    const std::vector<TChartItem>& items = pie.GetItems();
    TPointCollector dots;
    FillPolygon(items.back().outline.data(), int(items.back().outline.size()), dots, 16);
    for (size_t d = dots.points.size() / 2; d < dots.points.size(); ++d) {
        bool earlier = false;
        for (size_t i = 0; i + 1 < items.size() && !earlier; ++i)
            earlier = PolygonContainsDot(items[i].outline.data(), int(items[i].outline.size()), dots.points[d].x,
                                         dots.points[d].y, 16);
        if (!earlier) {
            point = dots.points[d];
            return true;
        }
    }
    return false;
}

// A press on the last slice tests every slice before it; the peer fills the
// hit slice once for each slice tested.
void BM_PiePressOnLastSlice(benchmark::State& state) {
    const std::unique_ptr<TPieChart> pie = MakePie(int(state.range(0)), false);
    CairoPie cairo(*pie);
    POINT point{};
    if (!LastSlicePoint(*pie, point)) {
        state.SkipWithError("no point of the last slice alone");
        return;
    }
    int64_t hits = 0;
    pie->OnItemClick = [&hits](TChartBase*, TMouseButton, TShiftState, int, int, TChartValue& value) {
        hits += value.caption == "last";
    };
    const size_t tested = pie->GetItems().size(), last = tested - 1;
    TimeBesidePeer(
        state, "cairo",
        [&] {
            pie->Perform(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(point.x, point.y));
            pie->Perform(WM_LBUTTONUP, 0, MAKELPARAM(point.x, point.y));
        },
        [&] {
            for (size_t i = 0; i < tested; ++i) cairo.FillOnce(last);
        });
    if (hits != int64_t(state.iterations())) state.SkipWithError("a press missed the last slice");
}
BENCHMARK(BM_PiePressOnLastSlice)
    ->ArgName("values")
    ->Arg(10)
    ->Arg(1000)
    ->UseManualTime()
    ->Unit(benchmark::kMicrosecond);

}  // namespace
