// Numbers read from text the user typed, with the class library's conversion
// error for text that is no number.
#pragma once

#include <string>

// A whole decimal number: an optional sign and digits, with blanks before and
// after allowed. Anything else (an empty text, other characters, a value
// outside the int range) throws EConvertError: "'text' is not a valid integer
// value".
int StrToInt(const std::string& text);
