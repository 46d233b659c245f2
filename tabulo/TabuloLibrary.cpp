// Start-up and shut-down of the Tabulo units: registers the package's
// classes and their property tables for form resources and the palette when
// the library loads, and takes the classes out of the registry when it unloads.
#include "BarChart.h"
#include "CategStatsView.h"
#include "ChartBase.h"
#include "HistogramViewer.h"
#include "PieChart.h"
#include "QuickList.h"
#include "Registration.h"
#include "StatsView.h"

namespace {

void TabuloInitialise() {
    RegisterChartBaseProperties();
    RegisterBarChartProperties();
    RegisterBarChart();
    RegisterPieChartProperties();
    RegisterPieChart();
    RegisterStatsViewProperties();
    RegisterStatsView();
    RegisterHistogramViewerProperties();
    RegisterHistogramViewer();
    RegisterCategStatsViewProperties();
    RegisterCategStatsView();
    RegisterQuickListProperties();
    RegisterQuickList();
}

void TabuloFinalise() {
    for (const TClassInfo* info : {TBarChart::StaticClassInfo(), TPieChart::StaticClassInfo(),
                                   TStatsView::StaticClassInfo(), THistogramViewer::StaticClassInfo(),
                                   TCategStatsView::StaticClassInfo(), TQuickList::StaticClassInfo()})
        UnRegisterClass(info);
}

__attribute__((constructor)) void LoadTabuloLibrary() { TabuloInitialise(); }
__attribute__((destructor)) void UnloadTabuloLibrary() { TabuloFinalise(); }

}  // namespace
