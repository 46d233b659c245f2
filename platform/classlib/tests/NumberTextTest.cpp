// StrToInt: whole decimal numbers with blanks around them, and the
// conversion error for any other text.
#include <gtest/gtest.h>

#include <climits>
#include <string>

#include "Exceptions.h"
#include "NumberText.h"

TEST(NumberText, StrToIntReadsWholeNumbersAndRefusesTheRest) {
    const struct {
        const char* text;
        int value;
    } kNumbers[] = {{"0", 0},          {"42", 42},       {"-7", -7},       {"+8", 8},
                    {"  16  ", 16},    {"007", 7},       {"-0", 0},        {"2147483647", INT_MAX},
                    {"-2147483648", INT_MIN}};
    for (const auto& c : kNumbers) EXPECT_EQ(StrToInt(c.text), c.value) << c.text;

    for (const char* text : {"", "   ", "abc", "12a", "1 2", "+", "-", "--1", "+-1", "1.5", "0x10", "\t3",
                             "2147483648", "-2147483649", "99999999999999999999"}) {
        try {
            StrToInt(text);
            ADD_FAILURE() << "'" << text << "' was read";
        } catch (const EConvertError& error) {
            EXPECT_EQ(error.Message(), "'" + std::string(text) + "' is not a valid integer value");
        }
    }
}
