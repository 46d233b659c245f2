// TTimer under the test clock.
#include <gtest/gtest.h>

#include "PropertyTable.h"
#include "Streaming.h"
#include "TimerComponent.h"
#include "display/TestDriver.h"

namespace {

class TimerComponentTest : public ::testing::Test {
protected:
    win32::TestDriver driver;
    TTimer timer{nullptr};
    int ticks = 0;
    void Count() { timer.SetOnTimer([this](TObject* sender) { ticks += sender == &timer; }); }
};

TEST_F(TimerComponentTest, FiresEveryIntervalUnderTheTestClock) {
    timer.SetInterval(100);
    Count();
    driver.Advance(99);
    EXPECT_EQ(0, ticks);
    driver.Advance(1);
    EXPECT_EQ(1, ticks);
    driver.Advance(250);
    EXPECT_EQ(3, ticks);
}

TEST_F(TimerComponentTest, DisablingOrAZeroIntervalStopsItAndChangesRestartTheCount) {
    timer.SetInterval(100);
    Count();
    driver.Advance(50);
    timer.SetInterval(200);  // counts from now
    driver.Advance(150);
    EXPECT_EQ(0, ticks);
    driver.Advance(50);
    EXPECT_EQ(1, ticks);
    timer.SetEnabled(false);
    driver.Advance(1000);
    EXPECT_EQ(1, ticks);
    timer.SetEnabled(true);
    timer.SetInterval(0);
    driver.Advance(1000);
    EXPECT_EQ(1, ticks);
}

TEST_F(TimerComponentTest, ADestroyedTimerNoLongerFires) {
    auto* owner = new TComponent(nullptr);
    auto* owned = new TTimer(owner);
    int fired = 0;
    owned->SetInterval(10);
    owned->SetOnTimer([&](TObject*) { ++fired; });
    driver.Advance(10);
    delete owner;
    driver.Advance(100);
    EXPECT_EQ(1, fired);
}

TEST_F(TimerComponentTest, WithoutAHandlerNothingIsScheduled) {
    timer.SetInterval(10);
    driver.Advance(100);
    EXPECT_EQ(0, ticks);
    EXPECT_TRUE(timer.GetEnabled());
}

TEST_F(TimerComponentTest, PropertiesSetByNameStartTheTimer) {
    SetPropertyText(&timer, "Interval", "40");
    SetPropertyEvent(&timer, "OnTimer", std::any(TNotifyEvent([this](TObject*) { ++ticks; })));
    EXPECT_TRUE(IsPropertyDefault(&timer, "Enabled"));
    EXPECT_FALSE(IsPropertyDefault(&timer, "Interval"));
    EXPECT_FALSE(IsPropertyDefault(&timer, "OnTimer"));
    driver.Advance(80);
    EXPECT_EQ(2, ticks);
    SetPropertyText(&timer, "Enabled", "False");
    driver.Advance(80);
    EXPECT_EQ(2, ticks);
}

}  // namespace

namespace {

class TTimerHost : public TComponent {
    CLASSLIB_CLASS(TTimerHost, TComponent)

public:
    using TComponent::TComponent;
};

TEST(TimerComponentStreaming, AFormTextCreatesATimerByClassName) {
    TTimerHost host(nullptr);
    ReadComponentText(&host, "object Host: TTimerHost\n  object Ticker: TTimer\n    Interval = 250\n  end\nend\n");
    TComponent* ticker = host.FindComponent("Ticker");
    ASSERT_NE(ticker, nullptr);
    ASSERT_TRUE(ticker->InheritsFrom<TTimer>());
    EXPECT_EQ(static_cast<TTimer*>(ticker)->GetInterval(), 250u);
}

}  // namespace
