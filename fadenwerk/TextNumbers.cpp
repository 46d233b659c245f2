// Reading and printing decimal integers for the package's text functions.
#include "TextNumbers.h"

#include <cctype>
#include <climits>

bool ScanDecimal(const char* text, int& value) {
    const char* at = text;
    while (std::isspace(static_cast<unsigned char>(*at))) ++at;
    bool negative = false;
    if (*at == '+' || *at == '-') negative = *at++ == '-';
    if (!std::isdigit(static_cast<unsigned char>(*at))) return false;
    long long magnitude = 0;
    const long long limit = negative ? -static_cast<long long>(INT_MIN) : INT_MAX;
    for (; std::isdigit(static_cast<unsigned char>(*at)); ++at) {
        magnitude = magnitude * 10 + (*at - '0');
        if (magnitude > limit) magnitude = limit;
    }
    value = static_cast<int>(negative ? -magnitude : magnitude);
    return true;
}

bool ScanDecimal(const std::string& text, int& value) { return ScanDecimal(text.c_str(), value); }

std::string DecimalText(long long value) { return std::to_string(value); }
