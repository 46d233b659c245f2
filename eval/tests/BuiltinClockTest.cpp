// Tests of the clock built-ins against the C library's local time.
#include <ctime>

#include "BuiltinClock.h"
#include "BuiltinTestSupport.h"

namespace {

class BuiltinClockTest : public builtin_test::BuiltinTest {};

// The fields agree with localtime read in the same second; a call that
// straddles a second boundary is tried again.
TEST_F(BuiltinClockTest, FieldsAgreeWithLocalTime) {
    struct Field {
        const char* call;
        int std::tm::*field;
    };
    const Field fields[] = {
        {"t_sec()", &std::tm::tm_sec},         {"t_min()", &std::tm::tm_min},   {"t_hour()", &std::tm::tm_hour},
        {"t_monthday()", &std::tm::tm_mday},   {"t_month()", &std::tm::tm_mon}, {"t_year()", &std::tm::tm_year},
        {"t_weekday()", &std::tm::tm_wday},    {"t_yearday()", &std::tm::tm_yday},
    };
    for (const Field& field : fields) {
        for (int attempt = 0; attempt < 5; ++attempt) {
            const std::time_t before = std::time(nullptr);
            const int64_t value = Integer(field.call);
            const std::time_t after = std::time(nullptr);
            if (before != after) continue;
            std::tm local{};
            ASSERT_NE(localtime_r(&before, &local), nullptr);
            EXPECT_EQ(value, local.*field.field) << field.call;
            break;
        }
    }
}

TEST_F(BuiltinClockTest, TextsAgreeWithLocalTime) {
    for (int attempt = 0; attempt < 5; ++attempt) {
        const std::time_t before = std::time(nullptr);
        const std::string text = Text("asctime()");
        const std::string name = Text("t_weekdayname()");
        if (std::time(nullptr) != before) continue;
        std::tm local{};
        char expected[64];
        ASSERT_NE(localtime_r(&before, &local), nullptr);
        ASSERT_NE(asctime_r(&local, expected), nullptr);
        EXPECT_EQ(text + "\n", expected);
        EXPECT_EQ(name, WeekdayName(local.tm_wday));
        break;
    }
}

TEST_F(BuiltinClockTest, WeekdayNamesAreCodePageBytes) {
    EXPECT_STREQ(WeekdayName(0), "vas\xE1rnap");
    EXPECT_STREQ(WeekdayName(1), "\x68\xE9\x74\x66\xF5");
    EXPECT_STREQ(WeekdayName(4), "cs\xFCt\xF6rt\xF6k");
    EXPECT_STREQ(WeekdayName(5), "p\xE9ntek");
    EXPECT_STREQ(WeekdayName(6), "szombat");
    EXPECT_STREQ(WeekdayName(7), "");
    EXPECT_STREQ(WeekdayName(-1), "");
}

}  // namespace
