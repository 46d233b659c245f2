// File times: 100-nanosecond ticks since 1601-01-01 UTC, made from POSIX
// times and turned into local time and calendar fields.
#include <ctime>

#include "FileFacts.h"
#include "LastError.h"

namespace win32 {
namespace {

const int64_t ticksPerSecond = 10000000;
const int64_t ticksPerDay = ticksPerSecond * 86400;
const int64_t secondsFrom1601To1970 = 11644473600;
const int64_t daysFrom1601To1970 = 134774;

uint64_t TicksOf(const FILETIME& time) { return (uint64_t(time.dwHighDateTime) << 32) | time.dwLowDateTime; }

FILETIME FileTimeOfTicks(uint64_t ticks) { return FILETIME{DWORD(ticks), DWORD(ticks >> 32)}; }

// Offset of local time from UTC, in seconds, at the given POSIX time.
bool LocalOffsetAt(int64_t posixSeconds, int64_t& offset) {
    const time_t time = time_t(posixSeconds);
    struct tm local;
    if (!localtime_r(&time, &local)) return false;
    offset = local.tm_gmtoff;
    return true;
}

struct CivilDate {
    int64_t year;
    unsigned month;
    unsigned day;
};

// Gregorian date of a day counted from 1970-01-01, by 400-year eras that start
// on March 1st so that the leap day falls at the end of each year.
CivilDate CivilFromDays(int64_t days) {
    days += 719468;
    const int64_t era = (days >= 0 ? days : days - 146096) / 146097;
    const unsigned dayOfEra = unsigned(days - era * 146097);
    const unsigned yearOfEra = (dayOfEra - dayOfEra / 1460 + dayOfEra / 36524 - dayOfEra / 146096) / 365;
    const unsigned dayOfYear = dayOfEra - (365 * yearOfEra + yearOfEra / 4 - yearOfEra / 100);
    const unsigned shiftedMonth = (5 * dayOfYear + 2) / 153;  // March = 0
    const unsigned day = dayOfYear - (153 * shiftedMonth + 2) / 5 + 1;
    const unsigned month = shiftedMonth < 10 ? shiftedMonth + 3 : shiftedMonth - 9;
    return CivilDate{int64_t(yearOfEra) + era * 400 + (month <= 2 ? 1 : 0), month, day};
}

BOOL InvalidParameter() {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
}

}  // namespace

FILETIME FileTimeFromPosix(int64_t seconds, uint32_t nanoseconds) {
    if (seconds < -secondsFrom1601To1970) return FileTimeOfTicks(0);
    return FileTimeOfTicks(uint64_t(seconds + secondsFrom1601To1970) * ticksPerSecond + nanoseconds / 100);
}

}  // namespace win32

BOOL FileTimeToLocalFileTime(const FILETIME* fileTime, LPFILETIME localFileTime) {
    if (!fileTime || !localFileTime) return win32::InvalidParameter();
    const uint64_t ticks = win32::TicksOf(*fileTime);
    int64_t offset = 0;
    const int64_t posixSeconds = int64_t(ticks / win32::ticksPerSecond) - win32::secondsFrom1601To1970;
    if (!win32::LocalOffsetAt(posixSeconds, offset)) return win32::InvalidParameter();
    const int64_t offsetTicks = offset * win32::ticksPerSecond;
    if (offsetTicks < 0 && ticks < uint64_t(-offsetTicks)) return win32::InvalidParameter();
    if (offsetTicks > 0 && ticks > UINT64_MAX - uint64_t(offsetTicks)) return win32::InvalidParameter();
    *localFileTime = win32::FileTimeOfTicks(ticks + uint64_t(offsetTicks));
    return TRUE;
}

BOOL FileTimeToSystemTime(const FILETIME* fileTime, LPSYSTEMTIME systemTime) {
    if (!fileTime || !systemTime) return win32::InvalidParameter();
    const uint64_t ticks = win32::TicksOf(*fileTime);
    if (ticks >> 63) return win32::InvalidParameter();
    const int64_t days = int64_t(ticks / win32::ticksPerDay);
    const int64_t ticksOfDay = int64_t(ticks % win32::ticksPerDay);
    const win32::CivilDate date = win32::CivilFromDays(days - win32::daysFrom1601To1970);
    systemTime->wYear = WORD(date.year);
    systemTime->wMonth = WORD(date.month);
    systemTime->wDay = WORD(date.day);
    systemTime->wDayOfWeek = WORD((days + 1) % 7);  // 1601-01-01 was a Monday
    systemTime->wHour = WORD(ticksOfDay / (3600 * win32::ticksPerSecond));
    systemTime->wMinute = WORD(ticksOfDay / (60 * win32::ticksPerSecond) % 60);
    systemTime->wSecond = WORD(ticksOfDay / win32::ticksPerSecond % 60);
    systemTime->wMilliseconds = WORD(ticksOfDay / 10000 % 1000);
    return TRUE;
}
