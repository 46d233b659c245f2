// Pins the time zone to Central European time for one test, and builds
// universal times from calendar fields.
#pragma once

#include <cstdlib>
#include <ctime>
#include <string>

namespace fadenwerk_tests {

class PinnedTimeZone {
public:
    PinnedTimeZone() {
        const char* previous = std::getenv("TZ");
        hadZone_ = previous != nullptr;
        if (hadZone_) previousZone_ = previous;
        setenv("TZ", "CET-1CEST,M3.5.0,M10.5.0/3", 1);
        tzset();
    }
    ~PinnedTimeZone() {
        if (hadZone_) setenv("TZ", previousZone_.c_str(), 1);
        else unsetenv("TZ");
        tzset();
    }
    PinnedTimeZone(const PinnedTimeZone&) = delete;
    PinnedTimeZone& operator=(const PinnedTimeZone&) = delete;

private:
    bool hadZone_ = false;
    std::string previousZone_;
};

// The universal time of the calendar fields.
inline long Universal(int year, int month, int day, int hour, int minute, int second) {
    struct tm fields = {};
    fields.tm_year = year - 1900;
    fields.tm_mon = month - 1;
    fields.tm_mday = day;
    fields.tm_hour = hour;
    fields.tm_min = minute;
    fields.tm_sec = second;
    return static_cast<long>(timegm(&fields));
}

}  // namespace fadenwerk_tests
