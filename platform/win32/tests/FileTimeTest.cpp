// File times as calendar fields and in local time.
#include <gtest/gtest.h>

#include <cstdlib>
#include <ctime>
#include <string>

#include "Files.h"
#include "LastError.h"

namespace {

FILETIME FileTimeOf(ULONGLONG ticks) { return FILETIME{DWORD(ticks), DWORD(ticks >> 32)}; }

ULONGLONG TicksOf(const FILETIME& time) { return (ULONGLONG(time.dwHighDateTime) << 32) | time.dwLowDateTime; }

struct CalendarCase {
    ULONGLONG ticks;
    SYSTEMTIME fields;  // year, month, day of week, day, hour, minute, second, ms
};

const CalendarCase calendarCases[] = {
    {0, {1601, 1, 1, 1, 0, 0, 0, 0}},
    {116444736000000000ULL, {1970, 1, 4, 1, 0, 0, 0, 0}},
    {125963012967890000ULL, {2000, 2, 2, 29, 12, 34, 56, 789}},
    {133485408000000000ULL - 1, {2023, 12, 0, 31, 23, 59, 59, 999}},
    {0x7FFFFFFFFFFFFFFFULL, {30828, 9, 4, 14, 2, 48, 5, 477}},
};

TEST(FileTime, CalendarFields) {
    for (const CalendarCase& expected : calendarCases) {
        SCOPED_TRACE(expected.ticks);
        const FILETIME time = FileTimeOf(expected.ticks);
        SYSTEMTIME fields;
        ASSERT_TRUE(FileTimeToSystemTime(&time, &fields));
        EXPECT_EQ(fields.wYear, expected.fields.wYear);
        EXPECT_EQ(fields.wMonth, expected.fields.wMonth);
        EXPECT_EQ(fields.wDayOfWeek, expected.fields.wDayOfWeek);
        EXPECT_EQ(fields.wDay, expected.fields.wDay);
        EXPECT_EQ(fields.wHour, expected.fields.wHour);
        EXPECT_EQ(fields.wMinute, expected.fields.wMinute);
        EXPECT_EQ(fields.wSecond, expected.fields.wSecond);
        EXPECT_EQ(fields.wMilliseconds, expected.fields.wMilliseconds);
    }
}

TEST(FileTime, OutOfRangeTimesAreRefused) {
    const FILETIME tooLate = FileTimeOf(0x8000000000000000ULL);
    SYSTEMTIME fields;
    EXPECT_FALSE(FileTimeToSystemTime(&tooLate, &fields));
    EXPECT_EQ(GetLastError(), DWORD(ERROR_INVALID_PARAMETER));
    EXPECT_FALSE(FileTimeToSystemTime(nullptr, &fields));
    FILETIME local;
    EXPECT_FALSE(FileTimeToLocalFileTime(nullptr, &local));
}

// Sets TZ for one test and puts back what was there.
class TimeZone {
public:
    explicit TimeZone(const char* zone) {
        const char* old = std::getenv("TZ");
        hadOld_ = old != nullptr;
        if (old) old_ = old;
        setenv("TZ", zone, 1);
        tzset();
    }
    ~TimeZone() {
        if (hadOld_)
            setenv("TZ", old_.c_str(), 1);
        else
            unsetenv("TZ");
        tzset();
    }

private:
    bool hadOld_ = false;
    std::string old_;
};

TEST(FileTime, LocalTimeUsesTheOffsetInForceAtThatMoment) {
    TimeZone zone("CET-1CEST,M3.5.0,M10.5.0/3");
    const ULONGLONG hour = 36000000000ULL;
    const ULONGLONG winter = 133485408000000000ULL - 365 * 24 * hour;  // 2023-01-01 00:00 UTC
    const ULONGLONG summer = winter + (31 + 28 + 31 + 30 + 31) * 24 * hour;  // 2023-06-01
    FILETIME local;
    const FILETIME winterTime = FileTimeOf(winter);
    ASSERT_TRUE(FileTimeToLocalFileTime(&winterTime, &local));
    EXPECT_EQ(TicksOf(local), winter + hour);
    const FILETIME summerTime = FileTimeOf(summer);
    ASSERT_TRUE(FileTimeToLocalFileTime(&summerTime, &local));
    EXPECT_EQ(TicksOf(local), summer + 2 * hour);

    TimeZone west("EST5");
    const FILETIME earliest = FileTimeOf(0);
    EXPECT_FALSE(FileTimeToLocalFileTime(&earliest, &local));
    EXPECT_EQ(GetLastError(), DWORD(ERROR_INVALID_PARAMETER));
}

}  // namespace
