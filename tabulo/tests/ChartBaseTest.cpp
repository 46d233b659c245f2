// Tests of TChartBase: the value operations, the buffer's view, the tables
// read through CHDIR, the press on an item, stored properties and the palette.
#include "ChartBase.h"

#include <algorithm>
#include <cmath>

#include "BarChart.h"
#include "BufferImageData.h"
#include "CategStatsView.h"
#include "HistogramViewer.h"
#include "TabuloFixtures.h"
#include "PieChart.h"
#include "PropertyTable.h"
#include "Registration.h"
#include "StatsView.h"
#include "Streaming.h"

namespace {

// A chart whose paint counts itself and lays out the items a test gives.
class TTestChart : public TChartBase {
public:
    explicit TTestChart(TComponent* owner) : TChartBase(owner) {}
    void PaintChart() override {
        ++paints;
        items_.clear();
        for (size_t i = 0; i < outlines.size(); ++i) items_.push_back(TChartItem{outlines[i], int(i)});
    }
    int paints = 0;
    std::vector<std::vector<POINT>> outlines;
};

std::vector<double> ValuesOf(const TChartBase* chart) {
    std::vector<TChartValue> values;
    chart->GetValues(values);
    std::vector<double> numbers;
    for (const TChartValue& value : values) numbers.push_back(value.value);
    return numbers;
}

using ChartBaseTest = TabuloTest;

TEST_F(ChartBaseTest, ValueOperationsKeepStoredValuesAtOrAboveZeroExceptIncValue) {
    struct Case {
        const char* what;
        void (*operate)(TChartBase* chart);
        std::vector<double> expected;
        int paints;
    };
    const Case cases[] = {
        {"AddValue -3.5", [](TChartBase* c) { c->AddValue(-3.5, clRed, bsSolid, "", clNavy, true); }, {2, 0}, 1},
        {"SetValue -1", [](TChartBase* c) { c->SetValue(0, -1, true); }, {0}, 1},
        {"SetValue 7", [](TChartBase* c) { c->SetValue(0, 7, false); }, {7}, 0},
        {"DecValue 5", [](TChartBase* c) { c->DecValue(0, 5, true); }, {0}, 1},
        {"DecValue 0.5", [](TChartBase* c) { c->DecValue(0, 0.5, false); }, {1.5}, 0},
        {"IncValue -5", [](TChartBase* c) { c->IncValue(0, -5, true); }, {-3}, 1},
        {"SetValue -1 index", [](TChartBase* c) { c->SetValue(-1, 9, true); }, {2}, 0},
        {"IncValue past the end", [](TChartBase* c) { c->IncValue(1, 9, true); }, {2}, 0},
        {"DecValue past the end", [](TChartBase* c) { c->DecValue(7, 9, true); }, {2}, 0},
        {"DeleteCol -1", [](TChartBase* c) { c->DeleteCol(-1, true); }, {2}, 0},
        {"DeleteCol count", [](TChartBase* c) { c->DeleteCol(1, true); }, {2}, 0},
        {"DeleteCol 0", [](TChartBase* c) { c->DeleteCol(0, true); }, {}, 1},
        {"Clear", [](TChartBase* c) { c->Clear(false); }, {}, 0},
    };
    for (const Case& c : cases) {
        auto* chart = Place<TTestChart>(10, 10, 100, 80);
        chart->AddValue(2, clRed, bsSolid, "two", clNavy, false);
        chart->paints = 0;
        c.operate(chart);
        EXPECT_EQ(ValuesOf(chart), c.expected) << c.what;
        EXPECT_EQ(chart->paints, c.paints) << c.what;
        delete chart;
    }
}

TEST_F(ChartBaseTest, DeletingAValueMovesTheLaterOnesUpAndClearingKeepsTheItems) {
    auto* chart = Place<TTestChart>(10, 10, 100, 80);
    for (double value : {1.0, 2.0, 3.0}) chart->AddValue(value, clRed, bsSolid, "", clNavy, false);
    chart->DeleteCol(1, false);
    EXPECT_EQ(ValuesOf(chart), (std::vector<double>{1, 3}));
    chart->outlines = {{{0, 0}, {5, 0}, {5, 5}}};
    chart->Refresh();
    chart->DeleteCols(false);
    EXPECT_TRUE(ValuesOf(chart).empty());
    EXPECT_EQ(chart->GetItems().size(), 1u);
}

// A bitmap laid out bottom-up, as a device-independent picture is: row 0 last in memory.
struct BottomUpBitmap {
    int width, height;
    std::vector<uint8_t> bits;
    BottomUpBitmap(int width, int height) : width(width), height(height), bits(size_t(width) * height * 4) {}
    int GetWidth() const { return width; }
    int GetHeight() const { return height; }
    int BytesPerScanLine() const { return width * 4; }
    void* ScanLine(int row) { return bits.data() + size_t(height - 1 - row) * BytesPerScanLine(); }
};

TEST(PrepareImageData, DescribesTopDownBottomUpAndOneRowBuffers) {
    TBitmap topDown;
    topDown.SetPixelFormat(pf32bit);
    topDown.SetSize(3, 2);
    IMAGEDATA view;
    PrepareImageData(topDown, view);
    EXPECT_EQ(view.data, topDown.ScanLine(0));
    EXPECT_EQ(view.type, idtBgr24);
    EXPECT_EQ(view.width, 3);
    EXPECT_EQ(view.height, 2);
    EXPECT_EQ(view.pixelStep, 4);
    EXPECT_EQ(view.lineStep, 12);
    TSetIDPixel(view, 0x0A0B0C, 1, 0, 0).Set(2, 1, -1);
    const auto* written = static_cast<const uint8_t*>(topDown.ScanLine(1)) + 8;
    EXPECT_EQ(std::vector<uint8_t>(written, written + 3), (std::vector<uint8_t>{0x0A, 0x0B, 0x0C}));

    BottomUpBitmap bottomUp(3, 4);
    PrepareImageData(bottomUp, view);
    EXPECT_EQ(view.data, bottomUp.ScanLine(0));
    EXPECT_EQ(view.lineStep, -12);
    TSetIDPixel(view, 0x010203, 1, 0, 0).Set(1, 3, -1);
    EXPECT_EQ(bottomUp.bits[4], 0x01);

    // One row: no second row is read (the bitmap refuses row 1).
    TBitmap oneRow;
    oneRow.SetPixelFormat(pf32bit);
    oneRow.SetSize(5, 1);
    ASSERT_NO_THROW(PrepareImageData(oneRow, view));
    EXPECT_EQ(view.lineStep, oneRow.BytesPerScanLine());
    EXPECT_EQ(view.height, 1);

    TBitmap empty;
    PrepareImageData(empty, view);
    EXPECT_EQ(view.data, nullptr);
    EXPECT_EQ(view.width, 0);
}

TEST_F(ChartBaseTest, ANewChartReadsItsTablesFromChdir) {
    struct Case {
        std::string chdir;
        int height;
    };
    const Case cases[] = {{tables.Folder(), 5}, {tables.Folder() + "/", 5}, {tables.Folder() + "/missing", 0}};
    for (const Case& c : cases) {
        setenv("CHDIR", c.chdir.c_str(), 1);
        auto* chart = Place<TTestChart>(0, 0, 10, 10);
        EXPECT_EQ(chart->GetCaptionTable().GetHeight(), c.height) << c.chdir;
        EXPECT_EQ(chart->GetValueTable().GetHeight(), c.height) << c.chdir;
        delete chart;
    }
    unsetenv("CHDIR");
    auto* chart = Place<TTestChart>(0, 0, 10, 10);
    EXPECT_EQ(chart->GetCaptionTable().GetHeight(), 0);
    // Another table by its name and size.
    setenv("CHDIR", tables.Folder().c_str(), 1);
    chart->SetValueFont("tiny");
    EXPECT_EQ(chart->GetValueTable().GetHeight(), 0);
    chart->SetValueFontSize(5);
    EXPECT_EQ(chart->GetValueTable().GetHeight(), 5);
}

// Presses at chart coordinates on the form's window, recording the events.
class ChartPressTest : public TabuloTest {
protected:
    void SetUp() override {
        TabuloTest::SetUp();
        chart = Place<TTestChart>(20, 30, 100, 80);
        // Two items over one another where x and y are 10..20, the second also to 30.
        chart->outlines = {{{10, 10}, {20, 10}, {20, 20}, {10, 20}}, {{10, 10}, {30, 10}, {30, 30}, {10, 30}}};
        for (double value : {4.0, 6.0}) chart->AddValue(value, clRed, bsSolid, "", clNavy, false);
        chart->Refresh();
        chart->OnMouseDown = [this](TObject*, TMouseButton, TShiftState, int x, int y) {
            events.push_back("down " + std::to_string(x) + "," + std::to_string(y));
        };
        chart->OnMouseUp = [this](TObject*, TMouseButton, TShiftState, int, int) { events.push_back("up"); };
    }
    void Press(int x, int y) {
        driver.MouseDown(form->GetHandle(), 20 + x, 30 + y);
        driver.MouseUp(form->GetHandle(), 20 + x, 30 + y);
    }
    void ListenForItems() {
        chart->OnItemClick = [this](TChartBase*, TMouseButton, TShiftState, int x, int y, TChartValue& value) {
            events.push_back("item " + std::to_string(int(value.value)) + " at " + std::to_string(x) + "," +
                             std::to_string(y));
        };
    }
    TTestChart* chart = nullptr;
    std::vector<std::string> events;
};

TEST_F(ChartPressTest, APressOnItemsFiresTheEarliestItemOnlyAndItsReleaseGoesNowhere) {
    ListenForItems();
    Press(15, 15);  // inside both
    Press(25, 25);  // the second only
    Press(20, 20);  // a corner of the first: the outline counts
    Press(30, 12);  // on the second's right edge
    Press(31, 12);  // outside both
    EXPECT_EQ(events, (std::vector<std::string>{"item 4 at 15,15", "item 6 at 25,25", "item 4 at 20,20",
                                                "item 6 at 30,12", "down 31,12", "up"}));
}

TEST_F(ChartPressTest, WithoutAHandlerAPressOnAnItemIsAnOrdinaryPress) {
    Press(15, 15);
    EXPECT_EQ(events, (std::vector<std::string>{"down 15,15", "up"}));
}

TEST_F(ChartPressTest, AHandlerChangesTheValueAndMayChangeTheValuesMeanwhile) {
    chart->OnItemClick = [](TChartBase*, TMouseButton, TShiftState, int, int, TChartValue& value) {
        value.value = 9;
        value.caption = "hit";
    };
    Press(25, 25);
    std::vector<TChartValue> values;
    chart->GetValues(values);
    EXPECT_EQ(values[1].value, 9);
    EXPECT_EQ(values[1].caption, "hit");
    // A handler that empties the chart and then writes its value.
    chart->OnItemClick = [](TChartBase* sender, TMouseButton, TShiftState, int, int, TChartValue& value) {
        sender->Clear(true);
        value.value = 1;
    };
    Press(15, 15);
    EXPECT_TRUE(ValuesOf(chart).empty());
    // The items of the last paint name values that are gone: the press is an ordinary one.
    events.clear();
    chart->AddValue(1, clRed, bsSolid, "", clNavy, false);
    chart->outlines = {{{10, 10}, {20, 10}, {20, 20}, {10, 20}}, {{10, 10}, {30, 10}, {30, 30}, {10, 30}}};
    chart->Refresh();
    chart->DeleteCol(0, false);
    ListenForItems();
    Press(15, 15);
    EXPECT_EQ(events, (std::vector<std::string>{"down 15,15", "up"}));
}

TEST_F(ChartBaseTest, CrossSizeBelowOneIsIgnored) {
    auto* chart = Place<TTestChart>(0, 0, 10, 10);
    EXPECT_EQ(chart->GetCrossSize(), 5);
    for (int size : {0, -3}) chart->SetCrossSize(size);
    EXPECT_EQ(chart->GetCrossSize(), 5);
    chart->SetCrossSize(1);
    EXPECT_EQ(chart->GetCrossSize(), 1);
}

TEST_F(ChartBaseTest, ResizingSizesTheBufferAndPaints) {
    auto* chart = new TTestChart(form);
    EXPECT_EQ(chart->GetBuffer()->GetWidth(), 0);
    chart->SetParent(form);
    chart->SetBounds(5, 5, 70, 40);
    EXPECT_EQ(chart->GetBuffer()->GetWidth(), 70);
    EXPECT_EQ(chart->GetBuffer()->GetHeight(), 40);
    EXPECT_EQ(chart->GetBuffer()->GetPixelFormat(), pf32bit);
    EXPECT_EQ(chart->paints, 1);
}

TEST(ChartNumberText, DropsTrailingZerosAndThenAPoint) {
    const std::pair<double, const char*> cases[] = {{12.5, "12.5"}, {3, "3"},     {0.004, "0"}, {15, "15"},
                                                    {100, "100"},   {2.5, "2.5"}, {0.1, "0.1"}};
    for (const auto& c : cases) EXPECT_EQ(TChartBase::ChartNumberText("%.2f", c.first), c.second) << c.first;
    EXPECT_EQ(TChartBase::ChartNumberText("%.1f%%", 25), "25.0%");
    EXPECT_EQ(TChartBase::ChartNumberText("%.2f", 1e300).size(), 301u);
}

TEST_F(ChartBaseTest, PropertiesWhoseNewValueDiffersFromTheDeclaredDefaultSurviveASaveAndLoad) {
    auto* bar = Place<TBarChart>(10, 10, 100, 80);
    bar->SetName("Bar");
    bar->SetHGap(10);
    bar->SetCaptionColor(clBlack);
    auto* pie = Place<TPieChart>(120, 10, 100, 80);
    pie->SetName("Pie");
    pie->SetShowMode(pcsmNone);
    auto* defaults = Place<TBarChart>(10, 100, 100, 80);
    defaults->SetName("Defaults");
    form->SetName("Charts");
    const std::string text = WriteComponentText(form);

    auto* loaded = new TForm(nullptr, 1);
    ReadComponentText(loaded, text);
    auto* loadedBar = dynamic_cast<TBarChart*>(loaded->FindComponent("Bar"));
    auto* loadedPie = dynamic_cast<TPieChart*>(loaded->FindComponent("Pie"));
    auto* loadedDefaults = dynamic_cast<TBarChart*>(loaded->FindComponent("Defaults"));
    ASSERT_TRUE(loadedBar && loadedPie && loadedDefaults) << text;
    EXPECT_EQ(loadedBar->GetHGap(), 10);
    EXPECT_EQ(loadedBar->GetCaptionColor(), clBlack);
    EXPECT_EQ(loadedPie->GetShowMode(), pcsmNone);
    // A chart left as it was made comes back as it was made.
    EXPECT_EQ(loadedDefaults->GetHGap(), 4);
    EXPECT_EQ(loadedDefaults->GetUpperGap(), 4);
    EXPECT_EQ(loadedDefaults->GetCaptionColor(), clWhite);
    EXPECT_EQ(loadedDefaults->GetCaptionFontSize(), 10);
    EXPECT_EQ(loadedDefaults->GetValueFont(), "courier-new");
    delete loaded;
}

TEST(TabuloLibrary, ChartsAndStatisticsViewsAreOnThePalettePageStatora) {
    const std::vector<TPalettePage> pages = PalettePages();
    auto page = std::find_if(pages.begin(), pages.end(), [](const TPalettePage& p) { return p.name == "Statora"; });
    ASSERT_NE(page, pages.end());
    for (const TClassInfo* info : {TBarChart::StaticClassInfo(), TPieChart::StaticClassInfo(),
                                   TStatsView::StaticClassInfo(), THistogramViewer::StaticClassInfo(),
                                   TCategStatsView::StaticClassInfo()}) {
        EXPECT_NE(std::find(page->classes.begin(), page->classes.end(), info), page->classes.end()) << info->name;
        EXPECT_EQ(GetClass(info->name), info);
    }
}

}  // namespace
