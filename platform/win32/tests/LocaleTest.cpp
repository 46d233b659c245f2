// Date and time texts: the locale's pictures, custom pictures, flags, buffer sizes and bad input.
#include <gtest/gtest.h>

#include <string>

#include "Win32.h"

namespace {

// Friday, 7 March 2025, 09:05:03.
const SYSTEMTIME sample{2025, 3, 5, 7, 9, 5, 3, 0};

std::string Date(DWORD flags, const char* picture, const SYSTEMTIME& date = sample) {
    char text[128];
    const int written = GetDateFormatA(LOCALE_USER_DEFAULT, flags, &date, picture, text, sizeof text);
    return written > 0 ? std::string(text) : std::string("<failed>");
}

std::string Time(DWORD flags, const char* picture, const SYSTEMTIME& time = sample) {
    char text[128];
    const int written = GetTimeFormatA(LOCALE_USER_DEFAULT, flags, &time, picture, text, sizeof text);
    return written > 0 ? std::string(text) : std::string("<failed>");
}

TEST(LocaleTest, DatesFollowTheLocaleAndCustomPictures) {
    struct Case {
        DWORD flags;
        const char* picture;
        const char* expected;
    } cases[] = {
        {DATE_SHORTDATE, nullptr, "07.03.2025"},
        {0, nullptr, "07.03.2025"},
        {DATE_LONGDATE, nullptr, "Friday, 7. March 2025"},
        {0, "d/M/yy ddd MMM", "7/3/25 Fri Mar"},
        {0, "yyyy-MM-dd 'day' ''d''", "2025-03-07 day '7'"},
        {0, "y", "25"},
    };
    for (const Case& c : cases) EXPECT_EQ(Date(c.flags, c.picture), c.expected) << (c.picture ? c.picture : "");
    // The weekday comes from the date, not from wDayOfWeek.
    SYSTEMTIME leapDay{2024, 2, 0, 29, 0, 0, 0, 0};
    EXPECT_EQ(Date(DATE_LONGDATE, nullptr, leapDay), "Thursday, 29. February 2024");
}

TEST(LocaleTest, TimesDropWhatTheFlagsSay) {
    SYSTEMTIME evening = sample;
    evening.wHour = 21;
    struct Case {
        DWORD flags;
        const char* picture;
        const SYSTEMTIME& time;
        const char* expected;
    } cases[] = {
        {0, nullptr, sample, "09:05:03"},
        {TIME_NOSECONDS, nullptr, sample, "09:05"},
        {TIME_NOMINUTESORSECONDS, nullptr, sample, "09"},
        {0, "h:mm:ss tt", evening, "9:05:03 PM"},
        {TIME_NOTIMEMARKER, "h:mm tt", evening, "9:05"},
        {TIME_FORCE24HOURFORMAT | TIME_NOSECONDS, "hh:mm:ss t", evening, "21:05 P"},
        {0, "H 'h' m", sample, "9 h 5"},
    };
    for (const Case& c : cases) EXPECT_EQ(Time(c.flags, c.picture, c.time), c.expected);
}

TEST(LocaleTest, BufferSizesAndBadInputFailCleanly) {
    EXPECT_EQ(GetDateFormatA(LOCALE_USER_DEFAULT, DATE_SHORTDATE, &sample, nullptr, nullptr, 0), 11);
    char small[10] = "untouched";
    EXPECT_EQ(GetDateFormatA(LOCALE_USER_DEFAULT, DATE_SHORTDATE, &sample, nullptr, small, sizeof small), 0);
    EXPECT_EQ(GetLastError(), DWORD(ERROR_INSUFFICIENT_BUFFER));
    char exact[11];
    EXPECT_EQ(GetDateFormatA(LOCALE_USER_DEFAULT, DATE_SHORTDATE, &sample, nullptr, exact, sizeof exact), 11);
    EXPECT_STREQ(exact, "07.03.2025");

    const SYSTEMTIME badDay{2023, 2, 0, 29, 0, 0, 0, 0};
    const SYSTEMTIME badMonth{2023, 13, 0, 1, 0, 0, 0, 0};
    const SYSTEMTIME badHour{2023, 1, 0, 1, 24, 0, 0, 0};
    char text[64];
    EXPECT_EQ(GetDateFormatA(0, DATE_SHORTDATE, &badDay, nullptr, text, sizeof text), 0);
    EXPECT_EQ(GetDateFormatA(0, DATE_SHORTDATE, &badMonth, nullptr, text, sizeof text), 0);
    EXPECT_EQ(GetDateFormatA(0, DATE_SHORTDATE | DATE_LONGDATE, &sample, nullptr, text, sizeof text), 0);
    EXPECT_EQ(GetDateFormatA(0, DATE_SHORTDATE, &sample, "d", text, sizeof text), 0);
    EXPECT_EQ(GetDateFormatA(0, 0, &sample, nullptr, nullptr, 5), 0);
    EXPECT_EQ(GetTimeFormatA(0, 0, &badHour, nullptr, text, sizeof text), 0);
    EXPECT_EQ(GetLastError(), DWORD(ERROR_INVALID_PARAMETER));
    EXPECT_EQ(GetTimeFormatA(0, 0, &sample, nullptr, text, -1), 0);
}

TEST(LocaleTest, NullDateMeansNow) {
    SYSTEMTIME now{};
    GetLocalTime(&now);
    char text[64], expected[64];
    ASSERT_GT(GetDateFormatA(LOCALE_USER_DEFAULT, 0, nullptr, "yyyy", text, sizeof text), 0);
    ASSERT_GT(GetDateFormatA(LOCALE_USER_DEFAULT, 0, &now, "yyyy", expected, sizeof expected), 0);
    EXPECT_STREQ(text, expected);
    EXPECT_GT(GetTimeFormatA(LOCALE_USER_DEFAULT, TIME_NOSECONDS, nullptr, nullptr, text, sizeof text), 0);
    EXPECT_EQ(std::string(text).size(), 5u);
}

}  // namespace
