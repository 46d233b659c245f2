// StrToInt: whole decimal numbers read from text, strictly.
#include "NumberText.h"

#include <climits>

#include "Exceptions.h"

int StrToInt(const std::string& text) {
    size_t at = text.find_first_not_of(' ');
    size_t end = text.find_last_not_of(' ');
    bool valid = at != std::string::npos;
    bool negative = false;
    if (valid && (text[at] == '+' || text[at] == '-')) negative = text[at++] == '-';
    valid = valid && at <= end;
    long long value = 0;
    for (size_t i = at; valid && i <= end; ++i) {
        const char c = text[i];
        valid = c >= '0' && c <= '9';
        if (valid) value = value * 10 + (c - '0');
        // Past the int range (the magnitude of INT_MIN is one more than INT_MAX).
        valid = valid && value <= static_cast<long long>(INT_MAX) + (negative ? 1 : 0);
    }
    if (!valid) throw EConvertError("'" + text + "' is not a valid integer value");
    return static_cast<int>(negative ? -value : value);
}
