// Tests of TStatsView: the column of a value against the in-order scan of the
// ranges, small and odd column counts, the picture (columns, marks, texts,
// axes), the hover texts under the mouse, the state record and its damaged
// forms, the stored properties and the design picture.
#include "StatsView.h"

#include <cfloat>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <limits>

#include "Streaming.h"
#include "ViewFixtures.h"

namespace {

const TColor kBackground = 0x101010, kColumn = 0x0000C0, kLimit = 0xC00000, kLimitText = 0x00C000,
             kAxis = 0x808000, kHoverText = 0;
const double kNaN = std::numeric_limits<double>::quiet_NaN();
const double kInfinity = std::numeric_limits<double>::infinity();

using Ranges = std::vector<std::pair<double, double>>;

// The column as the ranges define it: the first that holds x, else 0.
int ScanColumn(const Ranges& ranges, double x) {
    for (size_t i = 0; i < ranges.size(); ++i)
        if (ranges[i].first <= x && x < ranges[i].second) return int(i);
    return 0;
}

class StatsViewTest : public ViewTest {
protected:
    TStatsView* MakeView(int width, int height) {
        auto* view = Place<TStatsView>(10, 10, width, height);
        view->SetBkColor(kBackground);
        view->SetColColor(kColumn);
        view->SetLimitColor(kLimit);
        view->SetLimitValueColor(kLimitText);
        view->SetAxisColor(kAxis);
        EXPECT_EQ(view->GetTable().GetHeight(), 5);
        return view;
    }
    // Four columns: [..., 0), [0, 5), [5, 10), [10, ...).
    TStatsView* MakeFourColumnView() {
        TStatsView* view = MakeView(100, 60);
        view->SetColCount(4);
        view->SetLowValue(0);
        view->SetHighValue(10);
        return view;
    }
    static Ranges RangesOf(const TStatsView* view) {
        Ranges ranges;
        view->GetColRanges(ranges);
        return ranges;
    }
};

TEST_F(StatsViewTest, RangesTileLowToHighBetweenTheTwoOuterColumns) {
    TStatsView* view = MakeView(100, 60);
    const Ranges ranges = RangesOf(view);
    ASSERT_EQ(ranges.size(), 11u);
    EXPECT_EQ(ranges[0], std::make_pair(-DBL_MAX, -10.0));
    EXPECT_EQ(ranges[10], std::make_pair(10.0, DBL_MAX));
    const double width = 20.0 / 9;
    for (int i = 1; i <= 9; ++i) {
        EXPECT_EQ(ranges[size_t(i)].first, -10 + (i - 1) * width) << i;
        EXPECT_EQ(ranges[size_t(i)].second, -10 + i * width) << i;
    }
}

TEST_F(StatsViewTest, AValueCountsInTheColumnWhoseRangeHoldsIt) {
    TStatsView* view = MakeView(100, 60);
    const std::pair<double, int> cases[] = {
        {-10, 1},         {10, 10}, {std::nextafter(-10.0, -20.0), 0}, {std::nextafter(10.0, 0.0), 9},
        {kNaN, 0},        {kInfinity, 0}, {DBL_MAX, 0}, {-DBL_MAX, 0}, {-kInfinity, 0}, {0, 5},
    };
    for (const auto& c : cases) EXPECT_EQ(view->CalcValCol(c.first), c.second) << c.first;
    for (const auto& c : cases) view->NewValue(c.first, false);
    EXPECT_EQ(view->GetCounts(), (std::vector<int>{6, 1, 0, 0, 0, 1, 0, 0, 0, 1, 1}));
    EXPECT_EQ(view->GetTotal(), 10);
    EXPECT_FALSE(view->GetNoData());
}

TEST_F(StatsViewTest, CalcValColAnswersAsTheInOrderScanDoes) {
    struct Config {
        int columns;
        double low, high;
    };
    const Config configs[] = {
        {11, -10, 10},  {31, -10, 10},       {1000, -10, 10}, {1000, 0.1, 0.7},  {3, -1, 1},
        {1, -10, 10},   {2, -10, 10},        {11, 5, -5},     {11, 3, 3},        {1000, 1, 1 + 1e-13},
        {7, -DBL_MAX, DBL_MAX}, {7, -kInfinity, 4}, {7, kNaN, 4}, {500, -1e300, 1e300}, {4, 1e-310, 2e-310},
    };
    TestRandom random(7);
    auto randomDouble = [&random] {
        const uint64_t bits = uint64_t(random.Next()) << 32 | random.Next();
        double value;
        std::memcpy(&value, &bits, sizeof value);
        return value;
    };
    for (const Config& config : configs) {
        TStatsView* view = MakeView(50, 40);
        view->SetColCount(config.columns);
        view->SetLowValue(config.low);
        view->SetHighValue(config.high);
        const Ranges ranges = RangesOf(view);
        std::vector<double> values = {kNaN, kInfinity, -kInfinity, DBL_MAX, -DBL_MAX, 0.0, -0.0, config.low,
                                      config.high};
        for (const auto& range : ranges)
            for (double bound : {range.first, range.second})
                for (double toward : {-kInfinity, kInfinity}) {
                    values.push_back(bound);
                    values.push_back(std::nextafter(bound, toward));
                }
        const double span = std::isfinite(config.high - config.low) ? config.high - config.low : 1e300;
        for (int i = 0; i < 3000; ++i) {
            const double unit = random.Next() / 4294967296.0;
            values.push_back(std::fmin(config.low, config.high) - span + 3 * span * unit);
            values.push_back(randomDouble());
        }
        int differing = 0;
        for (double x : values) differing += view->CalcValCol(x) != ScanColumn(ranges, x);
        EXPECT_EQ(differing, 0) << config.columns << " columns from " << config.low << " to " << config.high;
        delete view;
    }
}

TEST_F(StatsViewTest, ColumnCountsBelowThreeAndTheOnesThatAreIgnored) {
    struct Case {
        int count;
        int expected;                 // the count kept
        std::vector<double> values;   // counted in turn
        std::vector<int> counts;
    };
    const Case cases[] = {
        {0, 11, {-20, 0, 20}, {1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1}},
        {-1, 11, {-20}, {1, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0}},
        {1, 1, {-20, 0, 20, kNaN}, {4}},
        // Two columns: the outer ranges as given; a value between them counts in column 0.
        {2, 2, {-20, 0, 9.99, 10, 20}, {3, 2}},
        {3, 3, {-20, -10, 9.99, 10}, {1, 2, 1}},
    };
    for (const Case& c : cases) {
        TStatsView* view = MakeView(100, 60);
        view->SetColCount(c.count);
        EXPECT_EQ(view->GetColCount(), c.expected) << c.count;
        for (double value : c.values) view->NewValue(value, true);
        EXPECT_EQ(view->GetCounts(), c.counts) << c.count;
        // Hovering and painting every column of it.
        for (int x = 0; x < 100; x += 7) MoveOver(view, x, 30);
        delete view;
    }
}

TEST_F(StatsViewTest, ChangingTheColumnCountDiscardsTheCountsAndAHoverPastTheEnd) {
    TStatsView* view = MakeView(120, 60);
    for (double value : {-20.0, 0.0, 20.0}) view->NewValue(value, false);
    view->NewLimit(15, false);
    MoveOver(view, 115, 30);  // over the last of 11 columns, each 10 wide from x = 6
    EXPECT_EQ(view->GetHoverCol(), 10);
    view->SetColCount(3);
    EXPECT_EQ(view->GetCounts(), (std::vector<int>{0, 0, 0}));
    EXPECT_EQ(view->GetTotal(), 0);
    EXPECT_TRUE(view->GetNoData());
    EXPECT_EQ(view->GetHoverCol(), -1);
    EXPECT_TRUE(ViewDots(view, kHoverText).empty());
}

TEST_F(StatsViewTest, RemovingAValueNeverGoesBelowZeroAndTheLastOneLeavesNoData) {
    TStatsView* view = MakeView(100, 60);
    view->NewValue(0, false);
    view->RemoveValue(-20, false);
    EXPECT_EQ(view->GetTotal(), 1);
    view->RemoveValue(0.1, false);
    EXPECT_EQ(view->GetTotal(), 0);
    EXPECT_TRUE(view->GetNoData());
    view->RemoveValue(0.1, true);
    EXPECT_EQ(view->GetCounts()[5], 0);
}

TEST_F(StatsViewTest, ColumnsAreScaledToTheLargestCountFromTheBaseLine) {
    TStatsView* view = MakeFourColumnView();
    view->NewValue(-1, false);
    for (int i = 0; i < 4; ++i) view->NewValue(1, false);
    for (int i = 0; i < 2; ++i) view->NewValue(7, false);
    EXPECT_TRUE(ViewDots(view, kColumn).empty());  // not painted yet
    view->Refresh();
    // Width (100 - 4 - 2) / 4 = 23 from x = 6; base 60 - 1 - 4 - 2 = 53; 12.25 dots per count.
    const Dots expected = Joined(Joined(Rect(6, 40, 28, 53), Rect(29, 4, 51, 53)),
                                 Joined(Rect(52, 28, 74, 53), Rect(75, 53, 97, 53)));
    EXPECT_EQ(ViewDots(view, kColumn), expected);
    // The window shows the buffer.
    EXPECT_EQ(driver.Pixel(form->GetHandle(), 10 + 30, 10 + 10), RGB(0xC0, 0, 0));
    // Cleared: no columns at all.
    view->ClearValues(true);
    EXPECT_TRUE(ViewDots(view, kColumn).empty());
}

TEST_F(StatsViewTest, LimitsAreDashedNominalsSolidAndBothValuesWrittenUpwards) {
    for (bool clearBox : {false, true}) {
        TStatsView* view = MakeFourColumnView();
        view->SetClearLimitValueBk(clearBox);
        view->NewLimit(2.5, false);
        view->NewNominal(7.5, true);
        // Centres (29 + 51) / 2 = 40 and (52 + 74) / 2 = 63; lines from y = 2 to 55.
        Dots dashed, solid;
        for (int y = 2; y <= 55; ++y) {
            if ((y - 2) % 15 < 10) dashed.insert({40, y});
            solid.insert({63, y});
        }
        // Texts from (centre - 2, 51 - 2) upwards, "2.500" 20 dots long.
        const Dots limitText = TextDots(view, 38, 49, "2.500", chrRotate90);
        const Dots nominalText = TextDots(view, 61, 49, "7.500", chrRotate90);
        const Dots box = clearBox ? Rect(37, 51 - 20 - 1, 42, 51) : Dots();
        EXPECT_EQ(ViewDots(view, kLimit), Joined(Without(Without(dashed, box), limitText), Without(solid, nominalText)))
            << clearBox;
        EXPECT_EQ(ViewDots(view, kLimitText), Joined(limitText, nominalText)) << clearBox;
        for (const auto& dot : Without(box, limitText)) EXPECT_EQ(ViewPixel(view, dot.first, dot.second), kBackground);
        delete view;
    }
}

TEST_F(StatsViewTest, AxesEndInArrowHeads) {
    TStatsView* view = MakeView(40, 30);
    // A = (4, 4), O = (4, 25), C = (35, 25).
    Dots expected = Joined(Rect(4, 4, 4, 25), Rect(4, 25, 35, 25));
    for (const Dots& head : {Rect(3, 7, 3, 13), Rect(5, 7, 5, 13), Rect(2, 10, 2, 13), Rect(6, 10, 6, 13),
                             Rect(26, 24, 32, 24), Rect(26, 26, 32, 26), Rect(26, 23, 29, 23), Rect(26, 27, 29, 27)})
        expected = Joined(expected, head);
    EXPECT_EQ(ViewDots(view, kAxis), expected);
    view->SetDrawAxes(false);
    EXPECT_TRUE(ViewDots(view, kAxis).empty());
}

TEST_F(StatsViewTest, HoverTextsDescribeTheColumnUnderTheMouse) {
    TStatsView* view = MakeView(120, 60);
    view->NewValue(-20, false);
    for (int i = 0; i < 6; ++i) view->NewValue(0, false);
    // Right-aligned 2 dots from the edge, from y = 2 down by the glyph height.
    auto lines = [&](const std::vector<std::string>& texts) {
        Dots dots;
        int y = 2;
        for (const std::string& text : texts) {
            dots = Joined(dots, TextDots(view, 120 - GetCHRTextWidth(table, text.c_str()) - 2, y, text));
            y += 5;
        }
        return dots;
    };
    MoveOver(view, 8, 30);  // column 0: x 6 to 15
    EXPECT_EQ(view->GetHoverCol(), 0);
    EXPECT_EQ(ViewDots(view, kHoverText), lines({"Range: [...--10.00]", "Abs. val.: 1", "Rel. val.: 14%"}));
    EXPECT_GT(ViewDots(view, kHoverText).size(), 100u);
    // Without data only the range is shown, under the mouse still.
    view->ClearValues(true);
    EXPECT_EQ(ViewDots(view, kHoverText), lines({"Range: [...--10.00]"}));
    EXPECT_TRUE(ViewDots(view, kColumn).empty());
    const std::pair<int, const char*> columns[] = {{59, "Range: [-1.11-1.11]"}, {108, "Range: [10.00-...]"}};
    for (const auto& column : columns) {
        MoveOver(view, column.first, 30);
        EXPECT_EQ(ViewDots(view, kHoverText), lines({column.second})) << column.second;
    }
    // Past the last column, and off the view: nothing.
    MoveOver(view, 117, 30);
    EXPECT_EQ(view->GetHoverCol(), -1);
    MoveOver(view, 8, 30);
    driver.MoveMouse(form->GetHandle(), 300, 200);
    EXPECT_EQ(view->GetHoverCol(), -1);
    EXPECT_TRUE(ViewDots(view, kHoverText).empty());
    // With ShowValues off the mouse changes nothing.
    view->SetShowValues(false);
    MoveOver(view, 8, 30);
    EXPECT_EQ(view->GetHoverCol(), -1);
}

TEST_F(StatsViewTest, AViewNarrowerThanItsColumnsDrawsAndHoversNone) {
    for (int width : {5, 15}) {
        TStatsView* view = MakeView(width, 40);
        EXPECT_EQ(view->ColumnWidth(), 0);
        view->NewValue(0, false);
        view->NewLimit(0, true);
        MoveOver(view, width - 1, 20);
        EXPECT_EQ(view->GetHoverCol(), -1);
        EXPECT_TRUE(ViewDots(view, kColumn).empty());
        EXPECT_TRUE(ViewDots(view, kLimit).empty());
        EXPECT_EQ(view->GetTotal(), 1);
        delete view;
    }
}

TEST_F(StatsViewTest, AStateRecordRestoresTheSamePictureAndTheSameRecord) {
    TStatsView* source = MakeView(120, 60);
    source->SetLowValue(-4);
    source->SetHighValue(6);
    for (double value : {-5.0, -1.0, 0.5, 0.5, 3.0, 9.0}) source->NewValue(value, false);
    source->NewLimit(1.5, false);
    source->NewNominal(-2.25, false);
    source->NewNominal(5, true);
    TStatsView* target = MakeView(120, 60);
    ExpectStateRoundTrip(source, target);
    EXPECT_EQ(RangesOf(target), RangesOf(source));
    EXPECT_EQ(target->GetNominals(), (std::vector<double>{-2.25, 5}));
}

TEST_F(StatsViewTest, RestoredCountsAreFittedToTheColumnsAndTheTotalFollowsThem) {
    struct Case {
        std::vector<int> counts;
        int total, flag;
        std::vector<int> expected;
    };
    const Case cases[] = {
        {{1, 2}, 3, 0, {1, 2, 0, 0}},
        {{1, 2, 3, 4, 5}, 15, 0, {1, 2, 3, 4}},
        {{0, 0, 0, 0}, 0, 0, {0, 0, 0, 0}},  // no samples, whatever the flag said
        {{0, 0, 0, 0, 7}, 7, 0, {0, 0, 0, 0}},
        {{2, 0, 0, 1}, 0, 1, {2, 0, 0, 1}},  // total and flag follow the counts
    };
    for (const Case& c : cases) {
        TStatsView* view = MakeFourColumnView();
        TMemBuffer record;
        record.AddInt(int(c.counts.size()));
        for (int count : c.counts) record.AddInt(count);
        record.AddInt(c.total);
        record.AddInt(c.flag);
        record.AddInt(0);
        record.AddInt(0);
        record.AddDouble(-1);
        record.AddDouble(1);
        ASSERT_TRUE(view->SetState(record));
        EXPECT_EQ(view->GetCounts(), c.expected);
        int sum = 0;
        for (int count : c.expected) sum += count;
        EXPECT_EQ(view->GetTotal(), sum);
        EXPECT_EQ(view->GetNoData(), sum == 0);
        EXPECT_EQ(RangesOf(view)[1], std::make_pair(-1.0, 0.0));
        MoveOver(view, 30, 30);  // the hover texts divide by the total
        delete view;
    }
}

// A restored state whose total is the largest int leaves no room: a new
// sample is not counted, and counts and total never wrap.
TEST_F(StatsViewTest, ARestoredTotalAtTheLargestIntTakesNoFurtherSample) {
    const int kMax = std::numeric_limits<int>::max();
    TStatsView* view = MakeFourColumnView();
    TMemBuffer record;
    for (int value : {4, 0, kMax - 1, 1, 0, kMax, 0, 0, 0}) record.AddInt(value);
    record.AddDouble(0);
    record.AddDouble(10);
    ASSERT_TRUE(view->SetState(record));
    ASSERT_EQ(view->GetTotal(), kMax);
    for (double value : {2.0, 7.0, -1.0}) view->NewValue(value, true);
    EXPECT_EQ(view->GetCounts(), (std::vector<int>{0, kMax - 1, 1, 0}));
    EXPECT_EQ(view->GetTotal(), kMax);
    MoveOver(view, 30, 30);  // the hover texts' share of the total
    view->RemoveValue(7, false);
    view->NewValue(-1, false);
    view->NewValue(-1, true);
    EXPECT_EQ(view->GetCounts(), (std::vector<int>{1, kMax - 1, 0, 0}));
    EXPECT_EQ(view->GetTotal(), kMax);
}

TEST_F(StatsViewTest, DamagedStateRecordsChangeNothingOrRestoreAConsistentState) {
    TStatsView* source = MakeFourColumnView();
    for (double value : {-1.0, 2.0, 2.0, 8.0, 12.0}) source->NewValue(value, false);
    source->NewLimit(3, false);
    source->NewNominal(6, false);
    TMemBuffer record;
    source->GetState(record);

    TStatsView* view = MakeFourColumnView();
    view->NewValue(4, false);
    const TDamageOutcome outcome = OfferDamagedRecords(view, record, [this](TStatsView* restored) {
        int64_t sum = 0;
        for (int count : restored->GetCounts()) {
            EXPECT_GE(count, 0);
            sum += count;
        }
        EXPECT_EQ(restored->GetCounts().size(), 4u);
        EXPECT_EQ(restored->GetTotal(), sum);
        EXPECT_EQ(restored->GetNoData(), sum == 0);
        MoveOver(restored, 30, 30);
    });
    EXPECT_GT(outcome.refused, 0);
    EXPECT_GT(outcome.restored, 0);
}

TEST_F(StatsViewTest, RealNumberPropertiesLoadIntoTheRangesAndSaveBackAsTheyWere) {
    form->SetName("Statistics");
    const std::string text =
        "object Statistics: TForm\n"
        "  object StatsView1: TStatsView\n"
        "    Left = 8\n"
        "    Top = 8\n"
        "    Width = 233\n"
        "    Height = 161\n"
        "    ColCount = 31\n"
        "    LowValue = -2.5\n"
        "    HighValue = 7.25\n"
        "  end\n"
        "end\n";
    auto* loaded = new TForm(nullptr, 1);
    ReadComponentText(loaded, text);
    auto* view = dynamic_cast<TStatsView*>(loaded->FindComponent("StatsView1"));
    ASSERT_NE(view, nullptr);
    EXPECT_EQ(view->GetLowValue(), -2.5);
    EXPECT_EQ(view->GetHighValue(), 7.25);
    const Ranges ranges = RangesOf(view);
    ASSERT_EQ(ranges.size(), 31u);
    EXPECT_EQ(ranges[0].second, -2.5);
    EXPECT_EQ(ranges[1].first, -2.5);
    EXPECT_EQ(ranges[30].first, 7.25);
    EXPECT_EQ(view->CalcValCol(7.25), 30);
    const std::string written = WriteComponentText(loaded);
    EXPECT_NE(written.find("    LowValue = -2.5\n    HighValue = 7.25\n"), std::string::npos) << written;
    auto* again = new TForm(nullptr, 1);
    ReadComponentText(again, written);
    EXPECT_EQ(WriteComponentText(again), written);
    delete again;
    delete loaded;
}

TEST_F(StatsViewTest, TheDesignPictureShowsSampleColumnsAndTwoDottedLimits) {
    form->SetDesigning(true);
    TStatsView* view = MakeView(120, 60);
    std::srand(3);
    view->SetColCount(3);
    std::srand(3);
    int heights[3];
    for (int& height : heights) height = std::rand() % 100;
    MemoryPicture picture(120, 60);
    view->GetCanvas()->SetHandle(picture.Dc());
    view->DesignPaint();
    view->GetCanvas()->SetHandle(nullptr);
    form->SetDesigning(false);
    EXPECT_EQ(picture.Pixel(119, 0), kBackground);
    // Columns (120 - 4) / 3 = 38 wide from x = 2, from the lower gap up to
    // their height in hundredths of 60 - 4.
    for (int i = 0; i < 3; ++i) {
        const int top = int(60 - heights[i] * 0.56), left = 2 + 38 * i;
        if (top >= 58) continue;
        EXPECT_EQ(picture.Pixel(left + 1, top), kColumn) << i;
        EXPECT_EQ(picture.Pixel(left + 1, 57), kColumn) << i;
        if (top > 0) {
            EXPECT_EQ(picture.Pixel(left + 1, top - 1), kBackground) << i;
        }
    }
    // The limit lines at columns 1 and 2, through their centres.
    for (int x : {40 + 19, 78 + 19}) {
        int dots = 0;
        for (int y = 2; y < 30; ++y) dots += picture.Pixel(x, y) == kLimit;
        EXPECT_GT(dots, 5) << x;
    }
}

}  // namespace
