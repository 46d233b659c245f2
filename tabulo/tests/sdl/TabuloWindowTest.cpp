// Tabulo's components in a real window: forms filled as the statistics form
// fills them, presented through SDL and saved as pictures for looking at.
// Needs a display (CI runs it under xvfb-run); skips itself without DISPLAY.
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "BarChart.h"
#include "Form.h"
#include "PieChart.h"
#include "QuickList.h"
#include "ScrollBarControl.h"
#include "display/SdlBackEnd.h"
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
    void SavePicture() { EXPECT_NE(win32::SaveTestPicture(form->GetHandle()), ""); }

    TForm* form = nullptr;
};

TEST_F(TabuloWindowTest, BarAndPieChartsFilledAsTheStatisticsFormFillsThem) {
    auto* pie = new TPieChart(form);
    pie->SetParent(form);
    pie->SetBounds(8, 8, 233, 193);
    auto* bar = new TBarChart(form);
    bar->SetParent(form);
    bar->SetBounds(256, 48, 289, 121);
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
    auto* grid = new TQuickList(form);
    grid->SetParent(form);
    grid->SetBounds(8, 8, 305, 161);
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

}  // namespace
