// Tests of the time variables and the fixed date-time text, with the time
// zone pinned to Central European time.
#include <gtest/gtest.h>

#include <cstdlib>
#include <ctime>
#include <string>

#include "PinnedTimeZone.h"
#include "TimeStrings.h"

namespace {

using fadenwerk_tests::Universal;

class TimeStrings : public ::testing::Test {
private:
    fadenwerk_tests::PinnedTimeZone zone_;
};

TEST_F(TimeStrings, VariablesAreLocalAndZeroPadded) {
    std::map<std::string, std::string> vars = {{"DATE", "old"}, {"OTHER", "kept"}};
    GetTimeVars(Universal(2024, 7, 4, 10, 5, 9), vars);
    const std::map<std::string, std::string> expected = {
        {"SEC", "09"},          {"MIN", "05"},      {"HOUR", "12"},
        {"DAY", "04"},          {"MON", "07"},      {"YEAR", "2024"},
        {"DATE", "2024.07.04"}, {"TIME", "12:05:09"}, {"DATETIME", "2024.07.04:12:05:09"},
        {"OTHER", "kept"}};
    EXPECT_EQ(expected, vars);
    vars.clear();
    GetTimeVars(Universal(2024, 1, 2, 23, 30, 0), vars);
    EXPECT_EQ("2024.01.03:00:30:00", vars["DATETIME"]);
    EXPECT_EQ("0030-01", ReplaceTimeVars("$(HOUR)$(MIN)-$(MON)", Universal(2024, 1, 2, 23, 30, 0)));
}

TEST_F(TimeStrings, TimeStringIsUniversal) {
    const long t = Universal(2024, 7, 4, 10, 5, 9);
    EXPECT_EQ("2024.07.04:10:05:09", GetTimeString(t, true, false));
    EXPECT_EQ("2024.07.04:10:05", GetTimeString(t, false, false));
    EXPECT_EQ("2024.07.04:00:00:00", GetTimeString(t, true, true));
    EXPECT_EQ("1970.01.01:00:00:00", GetTimeString(0, true, false));
}

TEST_F(TimeStrings, StringTimeReadsTheFixedLayout) {
    struct Case {
        const char* text;
        long expected;
    };
    const Case cases[] = {
        {"2024.07.04", Universal(2024, 7, 4, 0, 0, 0)},
        {"2024.07.04:10:05:09", Universal(2024, 7, 4, 10, 5, 0)},
        {"2024.07.04:10:05", Universal(2024, 7, 4, 10, 5, 0)},
        {"2024.07.04:10", Universal(2024, 7, 4, 10, 0, 0)},
        {"2024", Universal(2024, 1, 1, 0, 0, 0)},
        {"2024.02.29", Universal(2024, 2, 29, 0, 0, 0)},
        {"2000.02.29", Universal(2000, 2, 29, 0, 0, 0)},
        {"2024.7.04", -1},
        {"2024.07.4", -1},
        {"2024.07.04:1", -1},
        {"20", -1},
        {"", -1},
        {"2024-07-04", -1},
        {"2024.07.04 10", -1},
        {"2024.07.04x", -1},
        {"2024.13.45", -1},
        {"2024.00.10", -1},
        {"2024.04.31", -1},
        {"2023.02.29", -1},
        {"1900.02.29", -1},
        {"2024.07.04:24:00", -1},
        {"2024.07.04:10:60", -1},
        {"2024.07.04:10:05:60", -1},
        {"2024.07.04:10:05:0999", -1},
    };
    for (const Case& c : cases) EXPECT_EQ(c.expected, GetStringTime(c.text)) << c.text;
}

TEST_F(TimeStrings, RoundTripToTheMinute) {
    for (long t : {0L, 59L, 86399L, 951782400L, 1720087509L, 4102444799L}) {
        EXPECT_EQ(t - t % 60, GetStringTime(GetTimeString(t, true, false))) << t;
    }
}

TEST_F(TimeStrings, RelativeWordsAndVariables) {
    const long now = static_cast<long>(std::time(nullptr));
    const std::string today = GetTimeString(now, true, false).substr(0, 10);
    const long midnight = GetStringTime(today);
    ASSERT_NE(-1, midnight);
    const long todayResult = GetStringTime("TODAY");
    EXPECT_TRUE(todayResult == midnight || todayResult == midnight + 86400);
    const long yesterday = GetStringTime("YESTERDAY:12:30");
    EXPECT_TRUE(yesterday == midnight - 86400 + 45000 || yesterday == midnight + 45000);
    const long weeks = GetStringTime("2_WEEKS_AGO");
    EXPECT_TRUE(weeks == midnight - 14 * 86400 || weeks == midnight - 13 * 86400);
    const long hourAgo = GetStringTime("1_HOUR_AGO");
    EXPECT_LE(std::labs(hourAgo - (now - 3600)), 120);
    EXPECT_EQ(-1, GetStringTime("TOMORROW"));
    std::map<std::string, std::string> vars;
    GetTimeVars(now, vars);
    const long fromVariables = GetStringTime("$(YEAR).$(MON).$(DAY)");
    const long fromDate = GetStringTime(vars["DATE"]);
    ASSERT_NE(-1, fromDate);
    EXPECT_TRUE(fromVariables == fromDate || fromVariables == fromDate + 86400);
}

}  // namespace
