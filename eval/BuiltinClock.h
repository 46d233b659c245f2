// Built-in functions that read the local clock: asctime, t_sec ... t_yearday (positions 21-30).
//
// Every call breaks the current calendar time down into local time; when
// that fails the numbers are 0 and the texts empty. They run in the check
// pass as well.
// - asctime(): the C library's text of the local time ("Thu Dec 10
//   07:32:18 2026"), without its line feed.
// - t_sec, t_min, t_hour, t_monthday, t_month (January 0), t_year (years
//   since 1900), t_weekday (Sunday 0), t_yearday (from 0): the fields.
// - t_weekdayname(): the weekday's Hungarian name ("vasárnap" ... "szombat")
//   as code page 1250 bytes.
#pragma once

#include "BuiltinCall.h"

TBuiltinBodyRows ClockBuiltinBodies();

// The weekday name of weekday (0 = Sunday); the empty text outside 0..6.
const char* WeekdayName(int weekday);
