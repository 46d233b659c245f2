// Tabulo's components in a real window: forms filled as the statistics form
// fills them, presented through SDL and saved as pictures for looking at.
// Needs a display (CI runs it under xvfb-run); skips itself without DISPLAY.
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <vector>

#include <cmath>
#include <cstdio>

#include "BarChart.h"
#include "CategStatsView.h"
#include "Form.h"
#include "HistogramViewer.h"
#include "Label.h"
#include "PieChart.h"
#include "QuickList.h"
#include "ScrollBarControl.h"
#include "StatsView.h"
#include "display/SdlBackEnd.h"
#include "display/SdlTestEvents.h"
#include "display/TestPicture.h"
#include "display/WindowPicture.h"

// The desktop's message bus library, which SDL's video start-up loads, keeps
// a block past exit; it is not ours to free.
extern "C" const char* __lsan_default_suppressions() { return "leak:libdbus-1.so\n"; }

namespace {

// The statistics form's colour table, clSilver twice as there.
const TColor kColours[] = {clYellow, clRed,     clGreen,  clBlue,   clNavy,   clLime,  clSilver,
                           clSilver, clGray,    clFuchsia, clMaroon, clPurple, clTeal};
const char* const kLabels[] = {"Amber", "Basalt", "Cobalt", "Dune",   "Ember",  "Fjord", "Garnet",
                               "Heath", "Indigo", "Jasper", "Kelp",   "Lichen", "Mica",  "Nettle",
                               "Onyx",  "Pumice", "Quartz", "Russet", "Sorrel"};

// Ten values as the statistics form gives a chart: labels drawn from ten of
// the nineteen, values 2 to 11, colours from the table, navy second colours.
void FillChart(TChartBase* chart, bool hatched) {
    static const TBrushStyle kHatches[] = {bsHorizontal, bsVertical, bsFDiagonal, bsBDiagonal, bsCross, bsDiagCross};
    chart->Clear(false);
    std::vector<std::string> labels(std::begin(kLabels), std::end(kLabels));
    for (int i = 0; i < 9; ++i) labels.erase(labels.begin() + std::rand() % int(labels.size()));
    for (int i = 0; i < 10; ++i) {
        const std::string& label = labels[size_t(std::rand() % 10)];
        const double value = std::rand() % 10 + 2;
        const TColor colour = kColours[std::rand() % 13];
        chart->AddValue(value, colour, hatched ? kHatches[i % 6] : bsSolid, label, clNavy, false);
    }
    chart->Refresh();
}

class TabuloWindowTest : public ::testing::Test {
protected:
    void SetUp() override {
        const char* display = std::getenv("DISPLAY");
        if (display == nullptr || *display == '\0') GTEST_SKIP() << "no display: run under xvfb-run";
        setenv("SUITE_DISPLAY", "sdl", 1);
        setenv("CHDIR", TABULO_TEST_CHR_DIR, 1);
        std::srand(11);
        form = new TForm(nullptr, 1);
        form->SetText("Statistical");
        form->SetBounds(40, 40, 580, 260);
        form->SetColor(clBtnFace);
    }
    void TearDown() override { delete form; }

    // A control of class T on the form with the given bounds.
    template <class T>
    T* Place(int left, int top, int width, int height) {
        T* control = new T(form);
        control->SetParent(form);
        control->SetBounds(left, top, width, height);
        return control;
    }
    // Shows the form and lets the real window present it.
    void ShowAndSettle() {
        form->Show();
        win32::PumpMessagesFor(600);
    }
    // Where a client point of the form lies in its window (frame included).
    POINT WindowPoint(int x, int y) {
        RECT frame{};
        GetWindowRect(form->GetHandle(), &frame);
        POINT screen{x, y};
        ClientToScreen(form->GetHandle(), &screen);
        return POINT{screen.x - frame.left, screen.y - frame.top};
    }
    // The presented window shows the control's buffer pixel for pixel.
    void ExpectPresented(TControl* control, TBitmap* buffer) {
        int differing = 0;
        for (int y = 0; y < buffer->GetHeight(); y += 3) {
            for (int x = 0; x < buffer->GetWidth(); x += 3) {
                const auto* pixel = static_cast<const uint8_t*>(buffer->ScanLine(y)) + 4 * x;
                const POINT at = WindowPoint(control->GetLeft() + x, control->GetTop() + y);
                differing +=
                    win32::SdlPresentedPixel(form->GetHandle(), at.x, at.y) != RGB(pixel[2], pixel[1], pixel[0]);
            }
        }
        EXPECT_EQ(differing, 0) << control->ClassName();
    }
    void ExpectPresented(TChartBase* chart) { ExpectPresented(chart, chart->GetBuffer()); }
    void SavePicture(const std::string& label = "") { EXPECT_NE(win32::SaveTestPicture(form->GetHandle(), label), ""); }
    // Moves the real pointer (an SDL motion event) to a client point of the form.
    void MovePointer(int x, int y) {
        const POINT at = WindowPoint(x, y);
        SDL_Event motion{};
        motion.type = SDL_MOUSEMOTION;
        motion.motion.windowID = win32::SdlWindowIdOf(form->GetHandle());
        motion.motion.x = at.x;
        motion.motion.y = at.y;
        ASSERT_EQ(SDL_PushEvent(&motion), 1) << SDL_GetError();
        win32::PumpMessagesFor(300);
    }

    TForm* form = nullptr;
};

TEST_F(TabuloWindowTest, BarAndPieChartsFilledAsTheStatisticsFormFillsThem) {
    auto* pie = Place<TPieChart>(8, 8, 233, 193);
    auto* bar = Place<TBarChart>(256, 48, 289, 121);
    ShowAndSettle();
    FillChart(pie, false);
    FillChart(bar, true);
    win32::PumpMessagesFor(300);
    EXPECT_EQ(pie->GetItems().size(), 10u);
    EXPECT_EQ(bar->GetItems().size(), 10u);
    ExpectPresented(pie);
    ExpectPresented(bar);
    // Covered and shown again, the form paints the charts from their buffers.
    form->Hide();
    win32::PumpMessagesFor(200);
    form->Show();
    win32::PumpMessagesFor(400);
    ExpectPresented(pie);
    ExpectPresented(bar);
    SavePicture();
}

TEST_F(TabuloWindowTest, AQuickListFilledAsTheStatisticsFormFillsIt) {
    auto* grid = Place<TQuickList>(8, 8, 305, 161);
    grid->SetShowLineCaption(true);
    grid->SetShowLineNumber(true);
    grid->SetEditInCell(true);
    grid->SetSelectLine(true);
    grid->SetSelectCol(true);
    ShowAndSettle();
    grid->Clear(true);
    grid->SetCaptions({"First", "Second", "Third", "Fourth", "Fifth"}, false);
    for (int line = 0; line < 30; ++line) {
        std::vector<std::string> cells;
        for (int col = 0; col < 5; ++col) cells.push_back(std::to_string(std::rand() % 100));
        grid->AppendLine(cells, false);
    }
    grid->Refresh();
    grid->SetLineColor(1, TColor(0x80FFFF), clBlack, false);
    grid->SetCellColor(3, 3, TColor(0x40C040), clWhite, false);
    grid->SetSelectedLine(4);
    grid->SetSelectedCol(2);
    grid->SetSelectionCorners(2, 4, 4, 5, false);
    grid->SetColVisibility(1, false, true);
    grid->GetHorzScrollBar()->SetPosition(1);
    win32::PumpMessagesFor(300);
    EXPECT_EQ(grid->GetFirstVisibleColX(), 2);
    EXPECT_EQ(grid->GetPaintedCols().count(0), 0u);
    ExpectPresented(grid, grid->GetBuffer());
    SavePicture();
}

// The histogram, the statistics view and the category view as the
// statistics form fills them, with the pointer over a statistics column and
// then over a category item, whose report a label shows.
TEST_F(TabuloWindowTest, StatisticsViewsFilledAsTheStatisticsFormFillsThem) {
    form->SetBounds(40, 40, 900, 290);
    auto* histogram = Place<THistogramViewer>(8, 8, 305, 193);
    auto* stats = Place<TStatsView>(328, 8, 233, 161);
    stats->SetColCount(31);
    auto* categories = Place<TCategStatsView>(576, 8, 289, 193);
    auto* report = Place<TLabel>(576, 212, 289, 17);
    categories->OnShowValue = [report](TCategStatsView*, int col, int item, int value, float percent) {
        char text[80];
        if (col < 0) std::snprintf(text, sizeof text, "No item");
        else std::snprintf(text, sizeof text, "Categ #%d, item %d: %d (%.1f%%)", col, item, value, double(percent));
        report->SetCaption(text);
    };
    ShowAndSettle();
    std::srand(5);
    stats->ClearValues(true);
    for (float v = -10; v <= 10; v += 0.5f) {
        const double x = v * 0.25;
        const int n = int((std::rand() % 5 + 5) * std::exp(-x * x));
        for (int i = 0; i < n; ++i) stats->NewValue(v, false);
    }
    stats->Refresh();
    histogram->SetValueCount(20);
    for (int i = 0; i < 20; ++i) histogram->SetValue(i, std::rand() % 100);
    TColor colours[std::size(kColours)];
    std::copy(std::begin(kColours), std::end(kColours), colours);
    const int columns = std::rand() % 5 + 5;
    categories->SetColCount(columns, false);
    for (int i = 0; i < columns; ++i) categories->SetColCaption(i, "Categ #" + std::to_string(i), false);
    for (int i = 0; i < columns; ++i) {
        const int items = std::rand() % 5 + 3;
        categories->SetColItemCount(i, items, false);
        for (int p = 1; p < 13; ++p) std::swap(colours[p], colours[std::rand() % (p + 1)]);
        categories->SetColColors(i, colours, items, false);
        for (int j = 0; j < items; ++j) categories->SetColItem(i, j, std::rand() % 20, false);
    }
    categories->Refresh();
    win32::PumpMessagesFor(300);

    // Over the column that holds 0, the tallest of the bell.
    const int64_t width = stats->ColumnWidth();
    const int column = stats->CalcValCol(0);
    MovePointer(int(stats->GetLeft() + 6 + column * width + width / 2), stats->GetTop() + 120);
    EXPECT_EQ(stats->GetHoverCol(), column);
    TBitmap buffer;
    stats->GetBuffer(&buffer);
    ExpectPresented(stats, &buffer);
    SavePicture("stats-hover");

    // Over the first item of the second category column.
    const std::vector<TCategStatsView::COLRECT>& items = categories->GetColRects();
    const auto item = std::find_if(items.begin(), items.end(), [](const auto& r) { return r.col == 1; });
    ASSERT_NE(item, items.end());
    MovePointer(categories->GetLeft() + (item->rect.left + item->rect.right) / 2,
                categories->GetTop() + (item->rect.top + item->rect.bottom) / 2);
    EXPECT_EQ(report->GetCaption().rfind("Categ #1, item " + std::to_string(item->item) + ":", 0), 0u)
        << report->GetCaption();
    EXPECT_EQ(stats->GetHoverCol(), -1);
    categories->GetBuffer(&buffer);
    ExpectPresented(categories, &buffer);
    SavePicture("categ-hover");
}

}  // namespace
