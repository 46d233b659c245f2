// Time variables and the fixed date-time text, with the C library's
// reentrant conversions only.
#include "TimeStrings.h"

#include <algorithm>
#include <cstdio>
#include <ctime>
#include <iterator>

#include "TextNumbers.h"
#include "VariableReplacement.h"

namespace {

// Words that stand for a date some days back, tried in this order.
struct RelativeDay {
    const char* word;
    long seconds;
};
const RelativeDay relativeDays[] = {
    {"TODAY", 0},           {"YESTERDAY", 86400},    {"1_DAY_AGO", 86400},     {"2_DAYS_AGO", 172800},
    {"3_DAYS_AGO", 259200}, {"4_DAYS_AGO", 345600},  {"5_DAYS_AGO", 432000},   {"6_DAYS_AGO", 518400},
    {"1_WEEK_AGO", 604800}, {"2_WEEKS_AGO", 1209600}, {"3_WEEKS_AGO", 1814400}, {"4_WEEKS_AGO", 2419200},
};
// Words that stand for a whole time some hours back.
const RelativeDay relativeHours[] = {{"1_HOUR_AGO", 3600}, {"2_HOURS_AGO", 7200}};

bool StartsWith(const std::string& text, const char* word) { return text.compare(0, std::string(word).size(), word) == 0; }

std::string Printed(const char* format, int a, int b, int c) {
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, format, a, b, c);
    std::string text = buffer;
    std::replace(text.begin(), text.end(), ' ', '0');
    return text;
}

std::string Printed(const char* format, int value) { return Printed(format, value, 0, 0); }

long Now() { return static_cast<long>(std::time(nullptr)); }

// Replaces a leading relative-day or relative-hour word.
void ReplaceRelativeWords(std::string& s, long now) {
    for (const RelativeDay& day : relativeDays) {
        if (!StartsWith(s, day.word)) continue;
        s.replace(0, std::string(day.word).size(), GetTimeString(now - day.seconds, true, false).substr(0, 10));
        break;
    }
    for (const RelativeDay& hour : relativeHours) {
        if (!StartsWith(s, hour.word)) continue;
        s = GetTimeString(now - hour.seconds, true, false);
        break;
    }
}

// The text must end where a field ends, so that every field has its full width.
bool HasFixedLayout(const std::string& s) {
    static const size_t fieldEnds[] = {4, 7, 10, 13, 16, 19};
    if (std::find(std::begin(fieldEnds), std::end(fieldEnds), s.size()) == std::end(fieldEnds)) return false;
    for (size_t index = 0; index < s.size(); ++index) {
        const char c = s[index];
        if (index == 4 || index == 7) {
            if (c != '.') return false;
        } else if (index == 10 || index == 13 || index == 16) {
            if (c != ':') return false;
        } else if (c < '0' || c > '9') {
            return false;
        }
    }
    return true;
}

bool IsLeapYear(int year) { return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0; }

int DaysInMonth(int year, int month) {
    static const int days[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    return month == 2 && IsLeapYear(year) ? 29 : days[month - 1];
}

// Year, month, day, hour, minute and second read from the fixed layout.
struct DateFields {
    int values[6] = {1900, 1, 1, 0, 0, 0};
    bool Possible() const {
        const int month = values[1];
        if (month < 1 || month > 12) return false;
        if (values[2] < 1 || values[2] > DaysInMonth(values[0], month)) return false;
        return values[3] <= 23 && values[4] <= 59 && values[5] <= 59;
    }
};

DateFields ReadFields(const std::string& s) {
    static const size_t fieldStarts[] = {0, 5, 8, 11, 14, 17};
    DateFields fields;
    for (int field = 0; field < 6 && fieldStarts[field] < s.size(); ++field)
        ScanDecimal(s.c_str() + fieldStarts[field], fields.values[field]);
    return fields;
}

}  // namespace

void GetTimeVars(long t, std::map<std::string, std::string>& vars) {
    const time_t time = static_cast<time_t>(t);
    struct tm local;
    if (!localtime_r(&time, &local)) return;
    const int year = local.tm_year + 1900;
    const int month = local.tm_mon + 1;
    vars["SEC"] = Printed("%2d", local.tm_sec);
    vars["MIN"] = Printed("%2d", local.tm_min);
    vars["HOUR"] = Printed("%2d", local.tm_hour);
    vars["DAY"] = Printed("%2d", local.tm_mday);
    vars["MON"] = Printed("%2d", month);
    vars["YEAR"] = Printed("%4d", year);
    vars["DATE"] = Printed("%4d.%2d.%2d", year, month, local.tm_mday);
    vars["TIME"] = Printed("%2d:%2d:%2d", local.tm_hour, local.tm_min, local.tm_sec);
    vars["DATETIME"] = vars["DATE"] + ":" + vars["TIME"];
}

void GetTimeVars(std::map<std::string, std::string>& vars) { GetTimeVars(Now(), vars); }

std::string ReplaceTimeVars(const std::string& s, long t) {
    std::map<std::string, std::string> vars;
    GetTimeVars(t, vars);
    return ReplaceVars(s, vars);
}

std::string ReplaceTimeVars(const std::string& s) { return ReplaceTimeVars(s, Now()); }

std::string GetTimeString(long t, bool withSeconds, bool midnight) {
    const time_t time = static_cast<time_t>(t);
    struct tm universal;
    if (!gmtime_r(&time, &universal)) return std::string();
    if (midnight) universal.tm_hour = universal.tm_min = universal.tm_sec = 0;
    std::string text = DecimalText(universal.tm_year + 1900LL);
    text += Printed(".%2d.%2d", universal.tm_mon + 1, universal.tm_mday, 0);
    text += Printed(":%2d:%2d", universal.tm_hour, universal.tm_min, 0);
    if (withSeconds) text += Printed(":%2d", universal.tm_sec);
    return text;
}

long GetStringTime(std::string s) {
    const long now = Now();
    ReplaceRelativeWords(s, now);
    s = ReplaceTimeVars(s, now);
    if (!HasFixedLayout(s)) return -1;
    const DateFields fields = ReadFields(s);
    if (!fields.Possible()) return -1;
    struct tm universal = {};
    universal.tm_year = fields.values[0] - 1900;
    universal.tm_mon = fields.values[1] - 1;
    universal.tm_mday = fields.values[2];
    universal.tm_hour = fields.values[3];
    universal.tm_min = fields.values[4];
    return static_cast<long>(timegm(&universal));
}
