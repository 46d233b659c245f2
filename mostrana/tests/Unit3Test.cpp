// Tests of TForm3: its stored layout and splitters, the sample data each
// regeneration draws, resizing and the minimum width, and the texts the
// character tables give.
#include <algorithm>
#include <array>
#include <cmath>
#include <cstdlib>
#include <set>
#include <string>
#include <tuple>
#include <vector>

#include "BarChart.h"
#include "Buttons.h"
#include "CategStatsView.h"
#include "FormLayoutChecks.h"
#include "FormSplitter.h"
#include "HistogramViewer.h"
#include "MostranaFixture.h"
#include "PieChart.h"
#include "QuickList.h"
#include "StatsView.h"
#include "display/DisplayBackEnd.h"

namespace {

constexpr unsigned kSeed = 20240611;

// The forms made with a fixed sample seed.
class Form3Test : public FormsTest {
protected:
    void SetUp() override {
        TForm3::FixedSeed = kSeed;
        FormsTest::SetUp();
    }
    void TearDown() override {
        FormsTest::TearDown();
        TForm3::FixedSeed.reset();
    }
};

// The client point at the middle of a control.
POINT MiddleOf(const TControl* control) {
    return POINT{control->GetLeft() + control->GetWidth() / 2, control->GetTop() + control->GetHeight() / 2};
}

TEST_F(Form3Test, TheStoredLayoutGivesTheComponentsInOrderWithTheirValues) {
    EXPECT_TRUE(Form3->OnCreate);
    EXPECT_TRUE(Form3->OnResize);
    const int clientWidth = Form3->GetClientWidth();
    const int clientHeight = Form3->GetClientHeight();
    // Shown, the form stretches the right column and the lower row to its client area.
    const int stretchedWidth = clientWidth - 592 - 8;
    const int stretchedHeight = clientHeight - 192 - 8;
    ExpectComponents(Form3, {
        {"QuickList1", "TQuickList", Form3->QuickList1, 8, 8, 305, 161},
        {"FormSplitter1", "TFormSplitter", Form3->FormSplitter1, -1, 0, 0, 0},
        {"FormSplitter2", "TFormSplitter", Form3->FormSplitter2, -1, 0, 0, 0},
        {"FormSplitter3", "TFormSplitter", Form3->FormSplitter3, -1, 0, 0, 0},
        {"HistogramViewer1", "THistogramViewer", Form3->HistogramViewer1, 8, 192, 305, stretchedHeight},
        {"StatsView1", "TStatsView", Form3->StatsView1, 336, 8, 233, 161},
        {"PieChart1", "TPieChart", Form3->PieChart1, 336, 192, 233, stretchedHeight},
        {"BarChart1", "TBarChart", Form3->BarChart1, 592, 48, stretchedWidth, 121},
        {"CategStatsView1", "TCategStatsView", Form3->CategStatsView1, 592, 192, stretchedWidth, stretchedHeight},
        {"Button1", "TButton", Form3->Button1, 592, 8, stretchedWidth, 25},
    });
    // The window is 923 wide: the stretched ones are a little wider than stored.
    EXPECT_GT(stretchedWidth, 289);

    const TQuickList* grid = Form3->QuickList1;
    EXPECT_EQ(grid->GetSelectedLine(), -1);
    EXPECT_EQ(grid->GetSelectedCol(), -1);
    EXPECT_TRUE(grid->GetShowLineCaption() && grid->GetShowLineNumber() && grid->GetEditInCell() &&
                grid->GetSelectLine() && grid->GetSelectCol());
    EXPECT_FALSE(grid->GetEdit());
    EXPECT_EQ(grid->GetFontName(), "arial");
    EXPECT_EQ(Form3->HistogramViewer1->GetOriginX(), 5);
    EXPECT_EQ(Form3->HistogramViewer1->GetOriginY(), 5);
    EXPECT_EQ(Form3->StatsView1->GetColCount(), 31);
    EXPECT_EQ(Form3->StatsView1->GetLowValue(), -10);
    EXPECT_EQ(Form3->StatsView1->GetHighValue(), 10);
    for (TChartBase* chart : {static_cast<TChartBase*>(Form3->PieChart1), static_cast<TChartBase*>(Form3->BarChart1)}) {
        EXPECT_EQ(chart->GetCaptionFont(), "courier-new") << chart->GetName();
        EXPECT_EQ(chart->GetValueFont(), "courier-new") << chart->GetName();
        EXPECT_EQ(chart->GetCaptionFontSize(), 10) << chart->GetName();
        EXPECT_EQ(chart->GetValueFontSize(), 10) << chart->GetName();
    }
    EXPECT_EQ(Form3->PieChart1->GetShowMode(), pcsmValue);
    const TBarChart* bars = Form3->BarChart1;
    EXPECT_EQ(bars->GetCaptionColor(), clWhite);
    EXPECT_EQ(std::make_tuple(bars->GetHGap(), bars->GetUpperGap(), bars->GetLowerGap()), std::make_tuple(4, 4, 4));
    const TCategStatsView* categories = Form3->CategStatsView1;
    EXPECT_EQ(categories->GetBkColor(), clWhite);
    EXPECT_EQ(categories->GetCaptionColor(), clWhite);
    EXPECT_TRUE(categories->GetFShowCaptions());
    EXPECT_EQ(categories->GetHGap(), 2);
    EXPECT_EQ(categories->GetVGap(), 2);
    EXPECT_EQ(Form3->Button1->GetCaption(), "Regenerate all");
    EXPECT_TRUE(Form3->Button1->OnClick);

    for (TFormSplitter* splitter : {Form3->FormSplitter1, Form3->FormSplitter2, Form3->FormSplitter3}) {
        EXPECT_TRUE(splitter->GetShowPercentage()) << splitter->GetName();
        EXPECT_EQ(splitter->GetLineType(), fslChecked) << splitter->GetName();
        EXPECT_EQ(splitter->GetCursorType(), fscSplit) << splitter->GetName();
        EXPECT_EQ(splitter->GetHost(), Form3) << splitter->GetName();
    }
    EXPECT_TRUE(Form3->FormSplitter1->GetHorizontal());
    EXPECT_TRUE(Form3->FormSplitter2->GetHorizontal());
    EXPECT_FALSE(Form3->FormSplitter3->GetHorizontal());
    EXPECT_EQ(Form3->FormSplitter1->GetResizeMode(), fsrNone);
    EXPECT_EQ(Form3->FormSplitter3->GetResizeMode(), fsrKeepRatio);
}

// Each splitter moved by 10 pixels: the controls on its lower side grow, those
// on its upper side move their near edge, the others stay.
TEST_F(Form3Test, TheSplittersStandInTheGapsBetweenTheirControls) {
    EXPECT_EQ(Form3->FormSplitter1->GetPosition(), 324);
    EXPECT_EQ(Form3->FormSplitter2->GetPosition(), 580);
    EXPECT_EQ(Form3->FormSplitter3->GetPosition(), 180);
    EXPECT_EQ(Form3->FormSplitter3->LineEnd(), 580);
    EXPECT_EQ(Form3->FormSplitter1->LineEnd(), Form3->GetClientHeight());

    const std::vector<TControl*> controls = {Form3->QuickList1, Form3->HistogramViewer1, Form3->StatsView1,
                                             Form3->PieChart1,  Form3->BarChart1,        Form3->CategStatsView1,
                                             Form3->Button1};
    const struct {
        TFormSplitter* splitter;
        std::vector<SplitterSide> sides;
    } cases[] = {
        {Form3->FormSplitter1, {Lower, Lower, Upper, Upper, Unmoved, Unmoved, Unmoved}},
        {Form3->FormSplitter2, {Unmoved, Unmoved, Lower, Lower, Upper, Unmoved, Upper}},
        {Form3->FormSplitter3, {Lower, Upper, Lower, Upper, Unmoved, Unmoved, Unmoved}},
    };
    for (const auto& c : cases) ExpectSplitterSides(c.splitter, controls, c.sides, [] {});
}

// What one regeneration put into the components.
struct Sample {
    std::vector<std::string> captions;
    std::vector<std::vector<std::string>> lines;
    std::vector<int> counts;
    std::vector<double> histogram;
    std::vector<std::tuple<double, TColor, TColor, TBrushStyle, std::string>> charts[2];
    std::vector<std::string> categoryCaptions;
    std::vector<std::vector<int>> items;
    std::vector<std::vector<TColor>> itemColours;
    std::array<TColor, TForm3::kColourCount> colours;
};

std::vector<std::tuple<double, TColor, TColor, TBrushStyle, std::string>> ChartValues(const TChartBase* chart) {
    std::vector<TChartValue> values;
    chart->GetValues(values);
    std::vector<std::tuple<double, TColor, TColor, TBrushStyle, std::string>> read;
    for (const TChartValue& v : values) read.emplace_back(v.value, v.colour, v.secondColour, v.style, v.caption);
    return read;
}

Sample ReadSample(const TForm3* form) {
    Sample sample;
    const TQuickList* grid = form->QuickList1;
    sample.captions = grid->GetCaptions();
    for (int line = 0; line < grid->GetLineCount(); ++line) {
        sample.lines.emplace_back();
        for (int col = 0; col < grid->GetColCount(); ++col) sample.lines.back().push_back(grid->GetCell(line, col));
    }
    sample.counts = form->StatsView1->GetCounts();
    for (int i = 0; i < form->HistogramViewer1->GetValueCount(); ++i)
        sample.histogram.push_back(form->HistogramViewer1->GetValue(i));
    sample.charts[0] = ChartValues(form->PieChart1);
    sample.charts[1] = ChartValues(form->BarChart1);
    const TCategStatsView* categories = form->CategStatsView1;
    for (int col = 0; col < categories->GetColCount(); ++col) {
        sample.categoryCaptions.push_back(categories->GetColCaption(col));
        sample.items.emplace_back();
        for (int item = 0; item < categories->GetColItemCount(col); ++item)
            sample.items.back().push_back(categories->GetColItem(col, item));
        sample.itemColours.push_back(categories->GetColColors(col));
    }
    sample.colours = form->GetColours();
    return sample;
}

// The draws of one regeneration from the seed, in the order the form makes
// them, starting from the colours as they stand; the statistics counts land
// in the view's columns.
Sample DrawSample(unsigned seed, std::array<TColor, TForm3::kColourCount> colours, const TStatsView* view) {
    Sample sample;
    sample.captions = {"First", "Second", "Third", "Fourth", "Fifth"};
    std::srand(seed);
    sample.lines.assign(30, {});
    for (auto& line : sample.lines)
        for (int col = 0; col < 5; ++col) line.push_back(std::to_string(std::rand() % 100));
    sample.counts.assign(size_t(view->GetColCount()), 0);
    for (int step = 0; step <= 40; ++step) {
        const double v = -10 + step * 0.5;
        sample.counts[size_t(view->CalcValCol(v))] += int((std::rand() % 5 + 5) * std::exp(-(v * 0.25) * (v * 0.25)));
    }
    for (int i = 0; i < 20; ++i) sample.histogram.push_back(std::rand() % 100);
    for (auto& chart : sample.charts) {
        std::vector<std::string> labels(TForm3::kLabels.begin(), TForm3::kLabels.end());
        for (int i = 0; i < 9; ++i) labels.erase(labels.begin() + std::rand() % int(labels.size()));
        for (int i = 0; i < 10; ++i) {
            const std::string label = labels[size_t(std::rand() % 10)];
            const double value = std::rand() % 10 + 2;
            chart.emplace_back(value, colours[size_t(std::rand() % 13)], clNavy, bsSolid, label);
        }
    }
    const int columns = std::rand() % 5 + 5;
    for (int col = 0; col < columns; ++col) sample.categoryCaptions.push_back("Categ #" + std::to_string(col));
    for (int col = 0; col < columns; ++col) {
        const int count = std::rand() % 5 + 3;
        for (int p = 1; p < 13; ++p) std::swap(colours[size_t(p)], colours[size_t(std::rand() % (p + 1))]);
        sample.itemColours.emplace_back(colours.begin(), colours.begin() + count);
        sample.items.emplace_back();
        for (int item = 0; item < count; ++item) sample.items.back().push_back(std::rand() % 20);
    }
    sample.colours = colours;
    return sample;
}

void ExpectSameSample(const Sample& got, const Sample& expected, const std::string& what) {
    EXPECT_EQ(got.captions, expected.captions) << what;
    EXPECT_EQ(got.lines, expected.lines) << what;
    EXPECT_EQ(got.counts, expected.counts) << what;
    EXPECT_EQ(got.histogram, expected.histogram) << what;
    EXPECT_EQ(got.charts[0], expected.charts[0]) << what;
    EXPECT_EQ(got.charts[1], expected.charts[1]) << what;
    EXPECT_EQ(got.categoryCaptions, expected.categoryCaptions) << what;
    EXPECT_EQ(got.items, expected.items) << what;
    EXPECT_EQ(got.itemColours, expected.itemColours) << what;
    EXPECT_EQ(got.colours, expected.colours) << what;
}

// The ranges the sample data keeps to, whatever the generator gives.
void ExpectSampleRanges(const TForm3* form, const Sample& sample, const std::string& what) {
    ASSERT_EQ(sample.lines.size(), 30u) << what;
    for (const auto& line : sample.lines) {
        ASSERT_EQ(line.size(), 5u) << what;
        for (const std::string& cell : line) {
            const int number = std::atoi(cell.c_str());
            EXPECT_TRUE(number >= 0 && number <= 99 && std::to_string(number) == cell) << what << ": " << cell;
        }
    }
    ASSERT_EQ(sample.histogram.size(), 20u) << what;
    for (double value : sample.histogram) EXPECT_TRUE(value >= 0 && value <= 99 && value == int(value)) << what;
    const std::set<std::string> labels(TForm3::kLabels.begin(), TForm3::kLabels.end());
    const std::set<TColor> colours(TForm3::kColours.begin(), TForm3::kColours.end());
    for (const auto& chart : sample.charts) {
        ASSERT_EQ(chart.size(), 10u) << what;
        std::set<std::string> used;
        for (const auto& [value, colour, second, style, caption] : chart) {
            EXPECT_TRUE(value >= 2 && value <= 11 && value == int(value)) << what;
            EXPECT_EQ(colours.count(colour), 1u) << what;
            EXPECT_EQ(second, clNavy) << what;
            EXPECT_EQ(style, bsSolid) << what;
            EXPECT_EQ(labels.count(caption), 1u) << what << ": " << caption;
            used.insert(caption);
        }
        EXPECT_LE(used.size(), 10u) << what;
    }
    const size_t columns = sample.items.size();
    EXPECT_TRUE(columns >= 5 && columns <= 9) << what;
    for (size_t col = 0; col < columns; ++col) {
        EXPECT_EQ(sample.categoryCaptions[col], "Categ #" + std::to_string(col)) << what;
        const size_t count = sample.items[col].size();
        EXPECT_TRUE(count >= 3 && count <= 7) << what;
        for (int item : sample.items[col]) EXPECT_TRUE(item >= 0 && item <= 19) << what;
        ASSERT_EQ(sample.itemColours[col].size(), count) << what;
    }
    // The last column was coloured from the colours as they stand now.
    const auto& last = sample.itemColours.back();
    EXPECT_TRUE(std::equal(last.begin(), last.end(), sample.colours.begin())) << what;
    auto sorted = sample.colours, table = TForm3::kColours;
    std::sort(sorted.begin(), sorted.end());
    std::sort(table.begin(), table.end());
    EXPECT_EQ(sorted, table) << what;
    // A bell around 0: 5 to 9 values at 0 alone, none from |v| = 6 outwards.
    const TStatsView* view = form->StatsView1;
    const int middle = view->CalcValCol(0);
    EXPECT_EQ(view->CalcValCol(-0.5), middle - 1);
    EXPECT_EQ(view->CalcValCol(0.5), middle + 1);
    EXPECT_TRUE(sample.counts[size_t(middle)] >= 5 && sample.counts[size_t(middle)] <= 9) << what;
    for (double v = 6; v <= 10; v += 0.5) {
        EXPECT_EQ(sample.counts[size_t(view->CalcValCol(v))], 0) << what << " at " << v;
        EXPECT_EQ(sample.counts[size_t(view->CalcValCol(-v))], 0) << what << " at " << -v;
    }
    int total = 0;
    for (int count : sample.counts) total += count;
    EXPECT_EQ(view->GetTotal(), total) << what;
}

TEST_F(Form3Test, EachRegenerationDrawsTheSampleDataInOrderAndTheColoursCarryOver) {
    // The creation's regeneration, then two more: a click and a call.
    std::array<TColor, TForm3::kColourCount> colours = TForm3::kColours;
    const unsigned seeds[] = {kSeed, kSeed + 1, kSeed};
    for (int run = 0; run < 3; ++run) {
        const std::string what = "regeneration " + std::to_string(run + 1);
        if (run > 0) {
            // What the components held before is cleared, not added to.
            Form3->QuickList1->SetColWidth(0, 120, false);
            Form3->QuickList1->SetLineColor(0, clRed, clWhite, false);
            Form3->QuickList1->AppendLine({"extra"}, false);
            Form3->StatsView1->NewValue(100, false);
            TForm3::FixedSeed = seeds[run];
        }
        if (run == 1) {
            const POINT button = MiddleOf(Form3->Button1);
            driver.Click(Form3->GetHandle(), button.x, button.y);
        }
        if (run == 2) Form3->RegenerateAll();
        const Sample sample = ReadSample(Form3);
        ExpectSampleRanges(Form3, sample, what);
        const Sample expected = DrawSample(seeds[run], colours, Form3->StatsView1);
        ExpectSameSample(sample, expected, what);
        colours = expected.colours;
        for (int col = 0; col < 5; ++col) EXPECT_EQ(Form3->QuickList1->GetColWidth(col), 50) << what;
        TQuickListColors lineColours{};
        EXPECT_FALSE(Form3->QuickList1->GetLineColor(0, lineColours)) << what;
    }
    // The third run drew what the first did, but from colours shuffled twice since.
    EXPECT_NE(Form3->GetColours(), DrawSample(kSeed, TForm3::kColours, Form3->StatsView1).colours);
}

// The whole window of a form as its surface holds it, frame included.
std::vector<uint32_t> WindowPixels(TForm* form) {
    const Surface* surface = win32::TopLevelSurface(form->GetHandle());
    std::vector<uint32_t> pixels;
    if (surface == nullptr) return pixels;
    for (int y = 0; y < surface->Height(); ++y)
        pixels.insert(pixels.end(), surface->Row(y), surface->Row(y) + surface->Width());
    return pixels;
}

TEST_F(MostranaTest, TheSameSeedGivesTheSamePicturesAndAnotherSeedOtherData) {
    struct Run {
        std::vector<uint32_t> pixels;
        std::vector<std::vector<std::string>> lines;
    };
    auto run = [&](unsigned seed) {
        TForm3::FixedSeed = seed;
        CreateForms();
        driver.PumpUntilIdle();
        Run result{WindowPixels(Form3), ReadSample(Form3).lines};
        DestroyForms();
        return result;
    };
    const Run first = run(kSeed), again = run(kSeed), other = run(kSeed + 7);
    TForm3::FixedSeed.reset();
    ASSERT_FALSE(first.pixels.empty());
    EXPECT_TRUE(first.pixels == again.pixels);
    EXPECT_NE(first.lines, other.lines);
    EXPECT_FALSE(first.pixels == other.pixels);
}

TEST_F(Form3Test, ResizingStretchesTheRightColumnAndTheLowerRowWithEightPixelMargins) {
    struct Case {
        int clientWidth, clientHeight;
    };
    const Case cases[] = {{1000, 500}, {900, 420}, {1200, 380}, {960, 600}};
    for (const Case& c : cases) {
        Form3->SetClientWidth(c.clientWidth);
        Form3->SetClientHeight(c.clientHeight);
        driver.PumpUntilIdle();
        const std::string what = std::to_string(c.clientWidth) + " x " + std::to_string(c.clientHeight);
        ASSERT_EQ(Form3->GetClientWidth(), c.clientWidth) << what;
        for (TControl* control : {static_cast<TControl*>(Form3->BarChart1), static_cast<TControl*>(Form3->Button1),
                                  static_cast<TControl*>(Form3->CategStatsView1)})
            EXPECT_EQ(control->GetLeft() + control->GetWidth(), c.clientWidth - 8) << what << " " << control->GetName();
        // The horizontal line keeps its share of the height: the histogram's and
        // the pie's tops move with it, the category view's stays, and all three
        // end 8 pixels above the bottom.
        for (TControl* control : {static_cast<TControl*>(Form3->HistogramViewer1),
                                  static_cast<TControl*>(Form3->PieChart1),
                                  static_cast<TControl*>(Form3->CategStatsView1)})
            EXPECT_EQ(control->GetTop() + control->GetHeight(), c.clientHeight - 8) << what << " " << control->GetName();
        EXPECT_EQ(Form3->CategStatsView1->GetTop(), 192) << what;
        EXPECT_EQ(Form3->BarChart1->GetHeight(), 121) << what;
        EXPECT_EQ(Form3->Button1->GetHeight(), 25) << what;
    }
}

TEST_F(Form3Test, TheFormKeepsWideEnoughForTheButtonAndFollowsItsSplitter) {
    Form3->SetWidth(400);
    EXPECT_EQ(Form3->GetWidth(), 700);
    // The user drags the line between the statistics view and the bar chart 20 pixels right.
    const int line = Form3->FormSplitter2->GetPosition();
    driver.Drag(Form3->GetHandle(), line, 100, line + 20, 100);
    ASSERT_EQ(Form3->FormSplitter2->GetPosition(), line + 20);
    EXPECT_EQ(Form3->Button1->GetLeft(), 612);
    Form3->SetWidth(400);
    EXPECT_EQ(Form3->GetWidth(), 720);
    // The line back and the form may be narrower again.
    driver.Drag(Form3->GetHandle(), line + 20, 100, line, 100);
    Form3->SetWidth(400);
    EXPECT_EQ(Form3->GetWidth(), 700);
}

TEST_F(MostranaTest, BeforeItsControlsExistTheFormLeavesSizesAlone) {
    // Without its layout: no controls at all.
    TForm3 bare(nullptr);
    MINMAXINFO limits{};
    limits.ptMinTrackSize = POINT{123, 45};
    EXPECT_EQ(bare.Perform(WM_GETMINMAXINFO, 0, reinterpret_cast<LPARAM>(&limits)), 0);
    EXPECT_EQ(limits.ptMinTrackSize.x, 123);
    EXPECT_EQ(limits.ptMinTrackSize.y, 45);
    bare.FormResize(&bare);
    // With its layout loaded but before FormCreate: the controls keep their stored sizes.
    TForm3 loaded(nullptr);
    loaded.LoadStoredLayout();
    ASSERT_NE(loaded.BarChart1, nullptr);
    loaded.Perform(WM_SIZE, SIZE_RESTORED, MAKELPARAM(1200, 800));
    loaded.FormResize(&loaded);
    EXPECT_EQ(loaded.BarChart1->GetWidth(), 289);
    EXPECT_EQ(loaded.HistogramViewer1->GetHeight(), 193);
    EXPECT_EQ(loaded.QuickList1->GetLineCount(), 0);
}

// Pixels of a colour inside a control, in its form's client area.
int PixelsOfColourIn(win32::TestDriver& driver, const TControl* control, COLORREF colour) {
    int found = 0;
    HWND form = control->GetParent()->GetHandle();
    for (int y = control->GetTop(); y < control->GetTop() + control->GetHeight(); ++y)
        for (int x = control->GetLeft(); x < control->GetLeft() + control->GetWidth(); ++x)
            if (driver.Pixel(form, x, y) == colour) ++found;
    return found;
}

// Inside the bars: caption and value texts in white; in the grid's cells: black text.
struct TextPixels {
    int inBars = 0;
    int inGrid = 0;
};

TextPixels TextPixelsOfForm3(win32::TestDriver& driver) {
    TextPixels text;
    HWND form = Form3->GetHandle();
    const TBarChart* bars = Form3->BarChart1;
    for (const TChartItem& item : bars->GetItems()) {
        RECT box{INT32_MAX, INT32_MAX, INT32_MIN, INT32_MIN};
        for (const POINT& point : item.outline) {
            box = RECT{std::min(box.left, point.x), std::min(box.top, point.y), std::max(box.right, point.x),
                       std::max(box.bottom, point.y)};
        }
        for (int y = box.top + 1; y < box.bottom; ++y)
            for (int x = box.left + 1; x < box.right; ++x)
                if (driver.Pixel(form, bars->GetLeft() + x, bars->GetTop() + y) == ColorToRGB(clWhite)) ++text.inBars;
    }
    // The first line's cells, right of the line captions and under the column captions.
    const TQuickList* grid = Form3->QuickList1;
    for (int y = grid->GetTop() + 24; y < grid->GetTop() + 40; ++y)
        for (int x = grid->GetLeft() + 56; x < grid->GetLeft() + 280; ++x)
            if (driver.Pixel(form, x, y) == RGB(0, 0, 0)) ++text.inGrid;
    return text;
}

TEST_F(MostranaTest, TheTextsShowWithTheCharacterTablesAndTheFormCopesWithoutThem) {
    struct Case {
        bool tables;
    };
    for (const Case c : {Case{true}, Case{false}}) {
        const std::string saved = std::getenv("CHDIR") ? std::getenv("CHDIR") : "";
        if (!c.tables) unsetenv("CHDIR");
        TForm3::FixedSeed = kSeed;
        CreateForms();
        Form1->Show();
        driver.PumpUntilIdle();
        const POINT button = MiddleOf(Form3->Button1);
        driver.Click(Form3->GetHandle(), button.x, button.y);
        EXPECT_EQ(Form3->QuickList1->GetLineCount(), 30);
        const TextPixels text = TextPixelsOfForm3(driver);
        if (c.tables) {
            EXPECT_GT(text.inBars, 50);
            EXPECT_GT(text.inGrid, 20);
            EXPECT_GT(PixelsOfColourIn(driver, Form3->PieChart1, RGB(1, 0, 0)), 50);
        } else {
            EXPECT_EQ(text.inBars, 0);
            EXPECT_EQ(text.inGrid, 0);
            EXPECT_EQ(Form3->BarChart1->GetItems().size(), 10u);
        }
        DestroyForms();
        TForm3::FixedSeed.reset();
        setenv("CHDIR", saved.c_str(), 1);
    }
}

}  // namespace
