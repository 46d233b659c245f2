// The standard time variables and the fixed date-time text
// "YYYY.MM.DD:hh:mm:ss", in both directions.
#pragma once

#include <map>
#include <string>

// Sets SEC, MIN, HOUR, DAY, MON (two digits each), YEAR (four digits), DATE
// ("YYYY.MM.DD"), TIME ("hh:mm:ss") and DATETIME ("YYYY.MM.DD:hh:mm:ss") for
// the local time t (or now), overwriting existing entries. A time the C
// library cannot split leaves the map unchanged.
void GetTimeVars(long t, std::map<std::string, std::string>& vars);
void GetTimeVars(std::map<std::string, std::string>& vars);

// s with its $(...) references to the time variables of t (or now) replaced.
std::string ReplaceTimeVars(const std::string& s, long t);
std::string ReplaceTimeVars(const std::string& s);

// "YYYY.MM.DD:hh:mm" of t split in universal time, then ":ss" when
// `withSeconds`; `midnight` sets the time of day to 00:00:00. Empty when t
// cannot be split.
std::string GetTimeString(long t, bool withSeconds, bool midnight);

// The universal time that s denotes, at the start of its minute; -1 when s
// breaks the layout (separators at 4 and 7 '.', at 10, 13 and 16 ':', digits
// elsewhere; the text may stop after any whole field, "YYYY" at least) or
// names an impossible date or time (month 13, day 45, hour 24, minute or
// second 60). Missing fields default to January 1st, 00:00. A leading word TODAY, YESTERDAY, n_DAY(S)_AGO (1 to 6) or
// n_WEEK(S)_AGO (1 to 4) stands for that day's date; 1_HOUR_AGO and
// 2_HOURS_AGO for that whole time; time variables are replaced first.
long GetStringTime(std::string s);
