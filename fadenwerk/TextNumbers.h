// Reading and printing decimal integers the way the package's texts use them
// ("%d" semantics without the C library's undefined overflow).
#pragma once

#include <string>

// Reads an integer as "%d" would: leading white space, an optional sign, then
// at least one digit; trailing text is ignored. Values beyond the int range are
// clamped to it. False, with `value` unchanged, when no digit follows.
bool ScanDecimal(const char* text, int& value);
bool ScanDecimal(const std::string& text, int& value);

// The integer printed with "%d".
std::string DecimalText(long long value);
