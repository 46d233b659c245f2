// Tests of the code-page character functions.
#include <gtest/gtest.h>

#include "CharClass.h"

TEST(CharClass, HungarianLettersMapBothWays) {
    mystr_init();
    const unsigned char upper[] = {0xC1, 0xC9, 0xCD, 0xD3, 0xD5, 0xD6, 0xDA, 0xDB, 0xDC};
    const unsigned char lower[] = {0xE1, 0xE9, 0xED, 0xF3, 0xF5, 0xF6, 0xFA, 0xFB, 0xFC};
    for (int i = 0; i < 9; ++i) {
        const char u = static_cast<char>(upper[i]), l = static_cast<char>(lower[i]);
        EXPECT_EQ(mystr_upper_char(l), u) << i;
        EXPECT_EQ(mystr_lower_char(u), l) << i;
        EXPECT_TRUE(mystr_ishchar(u));
        EXPECT_TRUE(mystr_ishchar(l));
    }
}

TEST(CharClass, NonLettersStayAsTheyAre) {
    for (int c : std::initializer_list<int>{'0', ' ', '-', 0xD7, 0xF7, 0xA0, 0x00, 0xFF}) {
        const char byte = static_cast<char>(c);
        EXPECT_EQ(mystr_upper_char(byte), byte) << c;
        EXPECT_EQ(mystr_lower_char(byte), byte) << c;
    }
    EXPECT_FALSE(mystr_ishchar('1'));
    EXPECT_FALSE(mystr_ishchar(static_cast<char>(0xD7)));
    EXPECT_TRUE(mystr_ishchar('q'));
    EXPECT_EQ(mystr_upper_char('q'), 'Q');
    EXPECT_EQ(mystr_noaccent_char(static_cast<char>(0xFB)), 'u');
}
