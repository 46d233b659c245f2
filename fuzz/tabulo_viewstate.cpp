// Fuzz target: the state records of the statistics view (first byte even)
// and of the category statistics view (odd), read from a memory buffer,
// added to, then painted, hovered and written back.
#include <climits>
#include <cstdint>

#include "CategStatsView.h"
#include "FuzzSupport.h"
#include "MemBuffer.h"
#include "StatsView.h"

namespace {

// A restored state is one the view can paint and describe, and whose record
// the view reads back.
template <class View>
void ExerciseRestored(View& view) {
    view.RuntimePaint();
    for (int x : {0, 7, 60, 150, 199}) view.Perform(WM_MOUSEMOVE, 0, MAKELPARAM(x, 40));
    view.Perform(CM_MOUSELEAVE, 0, 0);
    TMemBuffer written;
    view.GetState(written);
    fuzz::Require(view.SetState(written), "a record the view wrote reads back");
}

void FuzzStatsView(TMemBuffer& buffer) {
    TStatsView view(nullptr);
    view.SetBounds(0, 0, 200, 100);
    if (!view.SetState(buffer)) return;
    int64_t total = 0;
    for (int count : view.GetCounts()) total += count;
    fuzz::Require(total == view.GetTotal() && view.GetNoData() == (total == 0), "the total follows the counts");
    for (double x : {view.GetLowValue(), view.GetHighValue(), 0.0, -1e300, 1e300}) view.CalcValCol(x);
    // A restored total leaves room for new samples or takes none.
    for (double x : {0.0, 0.0, -1e300}) view.NewValue(x, false);
    total = 0;
    for (int count : view.GetCounts()) total += count;
    fuzz::Require(total == view.GetTotal(), "new samples keep the total the counts' sum");
    ExerciseRestored(view);
}

void FuzzCategStatsView(TMemBuffer& buffer) {
    TCategStatsView view(nullptr);
    view.SetBounds(0, 0, 200, 100);
    if (!view.SetState(buffer)) return;
    for (int col = 0; col < view.GetColCount(); ++col) {
        view.GetColColors(col);
        // Restored items at any value take additions that saturate.
        for (int delta : {INT_MAX, INT_MIN, 1}) view.IncColItem(col, 0, delta, false);
    }
    ExerciseRestored(view);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const int reader = fuzz::PickReader(data, size, 2);
    if (reader < 0) return 0;
    TMemBuffer buffer;
    fuzz::FillBuffer(buffer, data, size);
    if (reader == 0) FuzzStatsView(buffer);
    else FuzzCategStatsView(buffer);
    return 0;
}
