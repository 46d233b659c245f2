// The program in real windows: with a folder for shots it saves pictures of
// its three windows and ends by itself. Needs a display (CI runs it under
// xvfb-run); skips itself when DISPLAY is unset.
#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <csignal>
#include <cstdint>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "BarChart.h"
#include "DemoShots.h"
#include "PieChart.h"
#include "QuickList.h"
#include "../LoopStep.h"
#include "ProcessBar.h"
#include "Startup.h"
#include "Unit1.h"
#include "Unit2.h"
#include "Unit3.h"
#include "display/DisplayBackEnd.h"

// The desktop's message bus library, which SDL's video start-up loads, keeps
// a block past exit; it is not ours to free.
extern "C" const char* __lsan_default_suppressions() { return "leak:libdbus-1.so\n"; }

namespace {

// A 24-bit bottom-up BMP file as SaveWindowPicture writes it.
struct Picture {
    int width = 0;
    int height = 0;
    std::vector<uint8_t> bytes;
    uint32_t pixelOffset = 0;

    static uint32_t Field(const std::vector<uint8_t>& bytes, size_t at, int size) {
        uint32_t value = 0;
        for (int i = size - 1; i >= 0; --i) value = value << 8 | bytes[at + i];
        return value;
    }
    bool Load(const std::string& path) {
        std::ifstream file(path, std::ios::binary);
        bytes.assign(std::istreambuf_iterator<char>(file), {});
        if (bytes.size() < 54 || bytes[0] != 'B' || bytes[1] != 'M' || Field(bytes, 28, 2) != 24) return false;
        pixelOffset = Field(bytes, 10, 4);
        width = static_cast<int>(Field(bytes, 18, 4));
        height = static_cast<int>(Field(bytes, 22, 4));
        const size_t stride = (size_t(width) * 3 + 3) & ~size_t(3);
        return width > 0 && height > 0 && bytes.size() >= pixelOffset + stride * size_t(height);
    }
    COLORREF Pixel(int x, int y) const {
        const size_t stride = (size_t(width) * 3 + 3) & ~size_t(3);
        const size_t at = pixelOffset + size_t(height - 1 - y) * stride + size_t(x) * 3;
        return RGB(bytes[at + 2], bytes[at + 1], bytes[at]);
    }
};

class MostranaSdlTest : public ::testing::Test {
protected:
    void SetUp() override {
        const char* display = std::getenv("DISPLAY");
        if (display == nullptr || *display == '\0') GTEST_SKIP() << "no display: run under xvfb-run";
        ASSERT_STREQ(win32::CurrentDisplay().Name(), "sdl");
        // The generated character tables, unless the run names others.
        setenv("CHDIR", MOSTRANA_TEST_CHR_DIR, 0);
        const char* temporary = std::getenv("TMPDIR");
        folder = std::string(temporary && *temporary ? temporary : "/tmp") + "/mostrana_shots_XXXXXX";
        ASSERT_NE(mkdtemp(folder.data()), nullptr);
    }
    void TearDown() override {
        for (const char* name : {"Form1.bmp", "Form2.bmp", "Form3.bmp"}) std::remove((folder + "/" + name).c_str());
        if (!folder.empty()) rmdir(folder.c_str());
    }
    std::string folder;
};

// Where a form's client area starts in the picture of its window.
POINT ClientOrigin(const TForm* form) {
    RECT frame{};
    GetWindowRect(const_cast<TForm*>(form)->GetHandle(), &frame);
    POINT origin{0, 0};
    ClientToScreen(const_cast<TForm*>(form)->GetHandle(), &origin);
    return POINT{origin.x - frame.left, origin.y - frame.top};
}

// Where Form3's texts stand, in the picture of its window.
struct StatisticsTexts {
    std::vector<RECT> bars;  // inside each bar
    RECT pie{}, firstLine{};
};

StatisticsTexts StatisticsTextPlaces() {
    const POINT origin = ClientOrigin(Form3);
    StatisticsTexts places;
    const TBarChart* chart = Form3->BarChart1;
    for (const TChartItem& item : chart->GetItems()) {
        RECT box{INT32_MAX, INT32_MAX, INT32_MIN, INT32_MIN};
        for (const POINT& point : item.outline)
            box = RECT{std::min(box.left, point.x), std::min(box.top, point.y), std::max(box.right, point.x),
                       std::max(box.bottom, point.y)};
        const int left = origin.x + chart->GetLeft(), top = origin.y + chart->GetTop();
        places.bars.push_back(RECT{left + box.left + 1, top + box.top + 1, left + box.right, top + box.bottom});
    }
    const TPieChart* pie = Form3->PieChart1;
    places.pie = RECT{origin.x + pie->GetLeft(), origin.y + pie->GetTop(), origin.x + pie->GetLeft() + pie->GetWidth(),
                      origin.y + pie->GetTop() + pie->GetHeight()};
    // The cells of the grid's first line: past the line captions, under the column captions.
    const TQuickList* grid = Form3->QuickList1;
    const int left = origin.x + grid->GetLeft(), top = origin.y + grid->GetTop();
    places.firstLine = RECT{left + 56, top + 24, left + 280, top + 40};
    return places;
}

int CountColour(const Picture& picture, const RECT& area, COLORREF colour) {
    int found = 0;
    for (int y = area.top; y < area.bottom; ++y)
        for (int x = area.left; x < area.right; ++x)
            if (picture.Pixel(x, y) == colour) ++found;
    return found;
}

TEST_F(MostranaSdlTest, ThePicturesShowTheThreeWindowsAndTheBarAsAScrollerSetIt) {
    POINT origin{0, 0};
    RECT windows[3]{};
    StatisticsTexts statistics;
    TLoopStep step([&] {
        origin = ClientOrigin(Form1);
        TForm* forms[] = {Form1, Form2, Form3};
        for (int i = 0; i < 3; ++i) GetWindowRect(forms[i]->GetHandle(), &windows[i]);
        statistics = StatisticsTextPlaces();
    });
    EXPECT_EQ(RunMostrana(folder), 0);
    ASSERT_TRUE(step.Ran());

    const char* names[] = {"Form1.bmp", "Form2.bmp", "Form3.bmp"};
    Picture pictures[3];
    for (int i = 0; i < 3; ++i) {
        ASSERT_TRUE(pictures[i].Load(folder + "/" + names[i])) << names[i];
        EXPECT_EQ(pictures[i].width, windows[i].right - windows[i].left) << names[i];
        EXPECT_EQ(pictures[i].height, windows[i].bottom - windows[i].top) << names[i];
    }
    const Picture& main = pictures[0];
    EXPECT_EQ(main.width, 295);
    EXPECT_EQ(main.height, 178);
    EXPECT_EQ(pictures[2].width, 923);
    EXPECT_EQ(pictures[2].height, 436);

    // The bar: (96, 8) 177 x 20 in the client area, 40% done.
    const int y = origin.y + 8 + 10;
    const int inside = 177 - 2;
    const int filled = inside * TDemoShots::PicturedPosition / 100;
    EXPECT_EQ(main.Pixel(origin.x + 96 + 1 + 4, y), ColorToRGB(clNavy));
    EXPECT_EQ(main.Pixel(origin.x + 96 + 1 + filled - 4, y), ColorToRGB(clNavy));
    EXPECT_EQ(main.Pixel(origin.x + 96 + 1 + filled + 30, y), ColorToRGB(clGray));
    EXPECT_EQ(main.Pixel(origin.x + 96 + 177 - 4, y), ColorToRGB(clGray));
    // The form's face beside it.
    EXPECT_EQ(main.Pixel(origin.x + 90, y), ColorToRGB(clBtnFace));

    // The statistics form's texts from the character tables: white captions
    // and values in the bars, near-black captions round the pie, black numbers
    // in the grid.
    const Picture& statisticsForm = pictures[2];
    ASSERT_EQ(statistics.bars.size(), 10u);
    int inBars = 0;
    for (const RECT& bar : statistics.bars) inBars += CountColour(statisticsForm, bar, ColorToRGB(clWhite));
    EXPECT_GT(inBars, 100);
    EXPECT_GT(CountColour(statisticsForm, statistics.pie, RGB(1, 0, 0)), 50);
    EXPECT_GT(CountColour(statisticsForm, statistics.firstLine, RGB(0, 0, 0)), 20);
}

// Ctrl+C in the terminal that started the program, or a plain kill, ends it
// as it ends any program: the real display leaves the two signals alone.
TEST_F(MostranaSdlTest, InterruptAndTerminateStillEndTheProgram) {
    for (int signalNumber : {SIGINT, SIGTERM}) {
        struct sigaction action {};
        ASSERT_EQ(sigaction(signalNumber, nullptr, &action), 0);
        EXPECT_EQ(action.sa_handler, SIG_DFL) << "signal " << signalNumber;
    }
}

}  // namespace
