// Built-in functions that read the local clock: asctime and the fields of the local time.
#include "BuiltinClock.h"

#include <ctime>

namespace {

// ORDER: indexed by the C library's weekday number, Sunday first.
const char* const kWeekdayNames[7] = {
    "vas\xE1rnap", "h\xE9tf\xF5", "kedd", "szerda", "cs\xFCt\xF6rt\xF6k", "p\xE9ntek", "szombat",
};

// The local time now; false (and zeros) when it cannot be broken down.
bool LocalTimeNow(std::tm& fields) {
    const std::time_t now = std::time(nullptr);
    fields = std::tm{};
    return now != static_cast<std::time_t>(-1) && localtime_r(&now, &fields) != nullptr;
}

void AscTime(const TBuiltinCall&, EXPRESSION_ITEM& result) {
    std::tm fields;
    // asctime_r writes at most 26 bytes for the years it can show.
    char buffer[64];
    if (!LocalTimeNow(fields) || asctime_r(&fields, buffer) == nullptr) return;
    ResultText(result) = buffer;
    ResultText(result).Trim('\n');
}

template <int std::tm::*Field>
void ClockField(const TBuiltinCall&, EXPRESSION_ITEM& result) {
    std::tm fields;
    LocalTimeNow(fields);
    result.value.integer = fields.*Field;
}

void WeekdayNameNow(const TBuiltinCall&, EXPRESSION_ITEM& result) {
    std::tm fields;
    if (LocalTimeNow(fields)) ResultText(result) = WeekdayName(fields.tm_wday);
}

const TBuiltinBodyRow kClockBodies[] = {
    {21, AscTime},
    {22, ClockField<&std::tm::tm_sec>},
    {23, ClockField<&std::tm::tm_min>},
    {24, ClockField<&std::tm::tm_hour>},
    {25, ClockField<&std::tm::tm_mday>},
    {26, ClockField<&std::tm::tm_mon>},
    {27, ClockField<&std::tm::tm_year>},
    {28, ClockField<&std::tm::tm_wday>},
    {29, WeekdayNameNow},
    {30, ClockField<&std::tm::tm_yday>},
};

}  // namespace

const char* WeekdayName(int weekday) { return weekday >= 0 && weekday < 7 ? kWeekdayNames[weekday] : ""; }

TBuiltinBodyRows ClockBuiltinBodies() { return RowsOf(kClockBodies); }
