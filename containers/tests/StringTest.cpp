// Tests of TString: text operations, numbers, tokens and the storage form.
#include <gtest/gtest.h>

#include <cstdio>
#include <functional>
#include <vector>

#include "MemBuffer.h"
#include "String.h"
#include "StringContainer.h"

namespace {

std::vector<std::string> Lines(const TStringContainer& list) {
    std::vector<std::string> lines;
    for (int i = 0; i < list.GetCount(); ++i) lines.push_back(list[i].str());
    return lines;
}

using Pieces = std::vector<std::string>;

}  // namespace

TEST(String, PositionsSubstringsAndOutOfRange) {
    const TString text("hello world");
    EXPECT_EQ(text.Pos('o'), 4);
    EXPECT_EQ(text.Pos('o', 5), 7);
    EXPECT_EQ(text.Pos("xyz"), -1);
    EXPECT_EQ(text.Pos('h', 100), -1);
    EXPECT_EQ(text.Pos(""), 0);
    EXPECT_EQ(text.Substring(0, 4).str(), "hello");
    EXPECT_EQ(text.Substring(6, 100).str(), "world");
    EXPECT_EQ(text.Substring(-5, 1).str(), "he");
    EXPECT_EQ(text.Substring(5, 4).str(), "");
    EXPECT_EQ(text[-1], '\0');
    EXPECT_EQ(text[11], '\0');
    TString writable("ab");
    EXPECT_THROW(writable.At(2), std::out_of_range);
    writable.SetChar(5, 'x');
    writable[-1] = 'x';
    writable[2] = 'x';
    EXPECT_EQ(writable[2], '\0');
    writable[1] = 'B';
    EXPECT_EQ(writable.str(), "aB");
}

TEST(String, SearchCounting) {
    const TString text("abcabcab");
    EXPECT_EQ(text.NthPos("ab", 0), 0);
    EXPECT_EQ(text.NthPos("ab", 2), 6);
    EXPECT_EQ(text.NthPos("ab", 3), -1);
    EXPECT_EQ(text.NthPos("ab", 0, 1), 3);
    EXPECT_EQ(TString("aaaa").Count("aa"), 2);
    EXPECT_EQ(text.Count(""), 0);
    EXPECT_TRUE(text.EndsWith("cab"));
    EXPECT_FALSE(TString("b").EndsWith("ab"));
    EXPECT_EQ(TString("a").Compare("b"), -1);
    EXPECT_EQ(TString("b").Compare("a"), 1);
    EXPECT_EQ(TString("a").Compare("a"), 0);
    EXPECT_EQ(TString("\xE1").Compare("z"), 1);  // bytes compare unsigned
    EXPECT_TRUE(TString("abc") < TString("abd"));
}

TEST(String, EditingTable) {
    struct Case {
        const char* name;
        std::function<void(TString&)> edit;
        const char* input;
        const char* expected;
    };
    const std::vector<Case> cases = {
        {"minus removes all", [](TString& s) { s -= "ab"; }, "xabyabz", "xyz"},
        {"minus empty", [](TString& s) { s -= ""; }, "abc", "abc"},
        {"trim all", [](TString& s) { s.Trim('x'); }, "xxaxbxx", "axb"},
        {"trim only c", [](TString& s) { s.Trim('x'); }, "xxxx", ""},
        {"trim left", [](TString& s) { s.TrimLeft(' '); }, "  a ", "a "},
        {"trim right", [](TString& s) { s.TrimRight(' '); }, "  a  ", "  a"},
        {"insert", [](TString& s) { s.Insert(1, "XY"); }, "ab", "aXYb"},
        {"insert past end", [](TString& s) { s.Insert(10, "X"); }, "ab", "abX"},
        {"delete", [](TString& s) { s.Delete(1, 2); }, "abcd", "ad"},
        {"delete clipped", [](TString& s) { s.Delete(2, 50); }, "abcd", "ab"},
        {"delete inverted", [](TString& s) { s.Delete(3, 1); }, "abcd", "abcd"},
        {"substitute char", [](TString& s) { s.Substitute(',', '|'); }, "a,b,c", "a|b|c"},
        {"substitute first", [](TString& s) { s.Substitute("ab", "X"); }, "abab", "Xab"},
        {"substitute all", [](TString& s) { s.SubstituteAll("a", "aa"); }, "aba", "aabaa"},
        {"substitute all empty", [](TString& s) { s.SubstituteAll("", "x"); }, "ab", "ab"},
        {"extend right", [](TString& s) { s.ExtendRight(5, '.'); }, "ab", "ab..."},
        {"extend left", [](TString& s) { s.ExtendLeft(4, '0'); }, "7", "0007"},
        {"extend never cuts", [](TString& s) { s.ExtendRight(2, '.'); }, "abcd", "abcd"},
        {"align left", [](TString& s) { s.Align(TString::amLeft, 8); }, "  ab ", "ab"},
        {"align right", [](TString& s) { s.Align(TString::amRight, 6); }, " ab", "    ab"},
        {"align middle", [](TString& s) { s.Align(TString::amMiddle, 7); }, "ab", "  ab"},
        {"align center", [](TString& s) { s.Align(TString::amCenter, 7); }, "ab", "  ab   "},
        {"align too wide", [](TString& s) { s.Align(TString::amRight, 2); }, " abcd ", "abcd"},
        {"reverse", [](TString& s) { s.Rev(); }, "abc", "cba"},
        {"repeat", [](TString& s) { s *= 3; }, "ab", "ababab"},
        {"repeat zero", [](TString& s) { s *= 0; }, "ab", ""},
        {"exchange mid", [](TString& s) { s.Exchange(0, 2, 4); }, "abcde", "cdeab"},
        {"exchange ranges", [](TString& s) { s.Exchange(0, 1, 3, 4); }, "ab-cd", "cd-ab"},
        {"exchange reversed order", [](TString& s) { s.Exchange(3, 4, 0, 0); }, "ab-cd", "cdb-a"},
        {"exchange overlap", [](TString& s) { s.Exchange(0, 2, 2, 3); }, "abcd", "abcd"},
        {"filter removes", [](TString& s) { s.DoFilter(TString::WhiteSpace, true); }, "a b\t\"c d\" e", "ab\"c d\"e"},
        {"filter keeps", [](TString& s) { s.DoFilter("0123456789", false); }, "a1b22", "122"},
        {"capitalize", [](TString& s) { s.Capitalize(); }, "hello \xE1rv\xEDz x-y", "Hello \xC1rv\xEDz X-y"},
        {"accents", [](TString& s) { s.RemoveAccents(); }, "\xE1rv\xEDzt\xFBr\xF5 \xDC", "arvizturo U"},
    };
    for (const Case& c : cases) {
        TString text(c.input);
        c.edit(text);
        EXPECT_EQ(text.str(), c.expected) << c.name;
    }
}

TEST(String, CodePageCaseMapping) {
    const char* lower = "\xE1\xE9\xED\xF3\xF5\xF6\xFA\xFB\xFC" "abc\x9A\xB3";
    const char* upper = "\xC1\xC9\xCD\xD3\xD5\xD6\xDA\xDB\xDC" "ABC\x8A\xA3";
    EXPECT_EQ(TString(lower).ToUpper().str(), upper);
    EXPECT_EQ(TString(upper).ToLower().str(), lower);
    EXPECT_EQ(TString("1+\xD7\xF7\xDF").UpperCase().str(), "1+\xD7\xF7\xDF");  // signs and sharp s stay
    EXPECT_TRUE(TString("\xC1RV 1").IsUpper());
    EXPECT_FALSE(TString("\xC1Rv").IsUpper());
    EXPECT_TRUE(TString("\xE1rv").IsLower());
    EXPECT_FALSE(TString("123").IsLower());
}

TEST(String, Levenshtein) {
    EXPECT_EQ(TString("kitten").LevenshteinDist("sitting"), 3);
    EXPECT_EQ(TString("").LevenshteinDist("abc"), 3);
    EXPECT_EQ(TString("abc").LevenshteinDist("abc"), 0);
    EXPECT_EQ(TString("flaw").LevenshteinDist("lawn"), 2);
}

TEST(String, SplitAndFileExtension) {
    TString key, value;
    TString("WIDTH=20=x").Split('=', key, value);
    EXPECT_EQ(key.str(), "WIDTH");
    EXPECT_EQ(value.str(), "20=x");
    TString("BACKGROUND").Split('=', key, value);
    EXPECT_EQ(key.str(), "BACKGROUND");
    EXPECT_EQ(value.str(), "BACKGROUND");
    TString self("a=b");
    self.Split('=', self, value);
    EXPECT_EQ(self.str(), "a");
    EXPECT_EQ(value.str(), "b");
    EXPECT_EQ(TString("dir/file.tar.htm").GetFileExt().str(), "htm");
    EXPECT_EQ(TString("dir.x/file").GetFileExt().str(), "");
    EXPECT_EQ(TString("file.").GetFileExt().str(), "");
}

TEST(String, GetTokensPlainKeepsEmptyPieces) {
    const std::vector<std::pair<const char*, Pieces>> cases = {
        {"a,b,c", {"a", "b", "c"}},
        {"a,,b,", {"a", "", "b", ""}},
        {",", {"", ""}},
        {"", {}},
        {"f(1,2)", {"f(1", "2)"}},
    };
    for (const auto& c : cases) {
        TStringContainer list;
        TString(c.first).GetTokens(',', list);
        EXPECT_EQ(Lines(list), c.second) << c.first;
    }
    TStringContainer appended;
    appended.Add("old");
    TString("x;y").GetTokens(';', false, appended);
    EXPECT_EQ(Lines(appended), (Pieces{"old", "x", "y"}));
}

TEST(String, GetTokensTopLevel) {
    const std::vector<std::pair<const char*, Pieces>> cases = {
        {"a,g(b,c))+x", {"a", "g(b,c)"}},
        {"f(1,g(2,3),'a,b',[[x]])+1", {"f(1,g(2,3),'a,b',[[x]])+1"}},
        {"1,g(2,3),'a,b',[[x]])+1", {"1", "g(2,3)", "'a,b'", "[[x]]"}},
        {" a , \"x,y\" ,{1,2}", {" a ", " \"x,y\" ", "{1,2}"}},
        {"a,,b", {"a", "", "b"}},
        {")", {""}},
        {"'a,b", {"'a,b"}},
    };
    for (const auto& c : cases) {
        TStringContainer list;
        TString(c.first).GetTokens(',', true, list);
        EXPECT_EQ(Lines(list), c.second) << c.first;
    }
}

TEST(String, GetTokensDroppingEmptyPieces) {
    TStringContainer words;
    TString("  two   words ").GetTokens(' ', false, false, words);
    EXPECT_EQ(Lines(words), (Pieces{"two", "words"}));
    TStringContainer none;
    TString("    ").GetTokens(' ', false, false, none);
    EXPECT_EQ(none.GetCount(), 0);
    TStringContainer kept;
    TString("a  b").GetTokens(' ', false, true, kept);
    EXPECT_EQ(Lines(kept), (Pieces{"a", "", "b"}));
    TStringContainer nested;
    TString("f(a b)  c").GetTokens(' ', true, false, nested);
    EXPECT_EQ(Lines(nested), (Pieces{"f(a b)", "c"}));
}

TEST(String, NumbersFromText) {
    int value = 99;
    EXPECT_TRUE(TString(" -42 ").ParseInt(value));
    EXPECT_EQ(value, -42);
    for (const char* bad : {"", "12a", "a", "1 2", "99999999999", "-"}) {
        value = 7;
        EXPECT_FALSE(TString(bad).ParseInt(value)) << bad;
        EXPECT_EQ(value, 7) << bad;
    }
    EXPECT_TRUE(TString("+5").IsInt());
    EXPECT_FALSE(TString("5.0").IsInt());
    EXPECT_EQ(TString("12abc").ToInt(), 12);
    EXPECT_EQ(TString("abc").ToInt(), 0);
    EXPECT_EQ(TString("99999999999999999999").ToInt64(), INT64_MAX);
    double real = 0;
    EXPECT_TRUE(TString(" 2.5e3 ").ParseDouble(real));
    EXPECT_DOUBLE_EQ(real, 2500.0);
    EXPECT_FALSE(TString("2.5x").ParseDouble(real));
    EXPECT_DOUBLE_EQ(TString("-1.25kg").ToDouble(), -1.25);
}

TEST(String, NumbersToText) {
    EXPECT_EQ(TString(42, 0).str(), "42");
    EXPECT_EQ(TString(-7, 4).str(), "  -7");
    EXPECT_EQ(TString(12345, 2).str(), "12345");
    EXPECT_EQ(TString(int64_t(-9000000000)).str(), "-9000000000");
    for (double d : {0.1, -2.5, 1e20, 1.5e-7, 123456.789, 3.0}) {
        const TString text(d);
        EXPECT_EQ(text.Pos('e'), -1) << text.str();
        double back = 0;
        EXPECT_TRUE(text.ParseDouble(back)) << text.str();
        EXPECT_EQ(back, d) << text.str();
    }
    EXPECT_EQ(TString(3.0).str(), "3");
    EXPECT_EQ(TString(0.1).str(), "0.1");
}

// Tab stops every width columns, counted from startColumn; a tab on a stop
// takes a whole width, and a width below 1 counts as 1.
TEST(String, TabsExpandToTheNextStop) {
    const struct {
        const char* text;
        int width, startColumn;
        const char* expanded;
    } kCases[] = {
        {"a\tb", 4, 0, "a   b"},
        {"\tx", 4, 0, "    x"},
        {"abcd\te", 4, 0, "abcd    e"},
        {"a\t\tb", 3, 0, "a     b"},
        {"a\tb", 4, 2, "a b"},
        {"a\tb", 4, -5, "a   b"},
        {"a\tb", 0, 0, "a b"},
        {"no tab", 4, 0, "no tab"},
        {"", 4, 0, ""},
        {"a\tbb\tccc\tdddd\te", 4, 2, "a bb  ccc dddd    e"},  // grows past its storage
        {"a\tb\tc", 20, 0, "a                   b                   c"},
    };
    for (const auto& c : kCases) {
        TString text(c.text);
        text.ExpandTabs(c.width, c.startColumn);
        EXPECT_EQ(text.str(), c.expanded) << c.text << " " << c.width << " " << c.startColumn;
    }
    // A line with room enough expands in its own storage, a short tail and
    // a long one (from the first tab on) alike, and either gives the same
    // text without room.
    const struct {
        std::string text, expanded;
    } kRoomCases[] = {
        {"x\ty\tz", "x       y       z"},
        {"a\t" + std::string(300, 'x') + "\tb", "a" + std::string(7, ' ') + std::string(300, 'x') + "    b"},
    };
    for (const auto& c : kRoomCases) {
        TString roomy(c.text);
        roomy.SetReduceCapacity(false);
        roomy.Reserve(400);
        const char* storage = roomy.c_str();
        roomy.ExpandTabs(8);
        EXPECT_EQ(roomy.str(), c.expanded);
        EXPECT_EQ(roomy.c_str(), storage);
        TString tight(c.text);
        tight.ExpandTabs(8);
        EXPECT_EQ(tight.str(), c.expanded);
    }
    // Appended text counts its columns on from what out holds already.
    std::string out = "ab";
    TString::AppendExpandingTabs(out, "c\td", 3, 4);
    EXPECT_EQ(out, "abc d");
    TString::AppendExpandingTabs(out, nullptr, 5, 4);
    EXPECT_EQ(out, "abc d");
}

TEST(String, AssignTakesTheBytesGiven) {
    TString text("something long enough to keep");
    text.Assign("abc\0def", 7);
    EXPECT_EQ(text.str(), std::string("abc\0def", 7));
    text.Assign("xyz", 0);
    EXPECT_TRUE(text.IsEmpty());
    text.Assign(nullptr, 3);
    EXPECT_TRUE(text.IsEmpty());
    // The reduce rule holds: a much shorter text gives most of its room back.
    TString wide(std::string(500, 'x'));
    wide.Assign("ab", 2);
    EXPECT_LT(wide.GetCapacity(), 500);
    wide.SetReduceCapacity(false);
    wide.Assign(std::string(400, 'y').c_str(), 400);
    wide.Assign("ab", 2);
    EXPECT_GE(wide.GetCapacity(), 400);
}

TEST(String, CapacityReserveAndReduce) {
    TString text;
    text.Reserve(1000);
    EXPECT_GE(text.GetCapacity(), 1000);
    text = std::string(900, 'x');
    text.SetReduceCapacity(false);
    text.Delete(10, 899);
    EXPECT_GE(text.GetCapacity(), 900);
    text.SetReduceCapacity(true);
    text.Delete(5, 9);
    EXPECT_LT(text.GetCapacity(), 900);
}

TEST(String, MemoryBufferFormBytes) {
    TMemBuffer buffer;
    TString("ab\xE1").WriteToMemBuffer(buffer);
    const std::vector<unsigned char> expected = {3, 0, 0, 0, 1, 'a', 'b', 0xE1};
    ASSERT_EQ(buffer.GetSize(), 8);
    EXPECT_EQ(std::vector<unsigned char>(static_cast<const unsigned char*>(buffer.GetBlock()),
                                         static_cast<const unsigned char*>(buffer.GetBlock()) + 8),
              expected);
    TString back("old");
    EXPECT_TRUE(back.ReadFromMemBuffer(buffer));
    EXPECT_EQ(back.str(), "ab\xE1");
}

TEST(String, DamagedFormsAreRejected) {
    const std::vector<std::vector<unsigned char>> damaged = {
        {},                      // nothing
        {3, 0, 0},               // short length
        {3, 0, 0, 0, 1, 'a'},    // fewer characters than stated
        {1, 0, 0, 0, 2, 'a'},    // bad mark
        {255, 255, 255, 255, 1}, // huge length
    };
    for (const auto& bytes : damaged) {
        TMemBuffer buffer;
        buffer.Add(bytes.data(), static_cast<int>(bytes.size()));
        TString text("old");
        EXPECT_FALSE(text.ReadFromMemBuffer(buffer));
        EXPECT_EQ(text.str(), "");
    }
}

TEST(String, FileStreamRoundTrip) {
    FILE* file = std::tmpfile();
    ASSERT_NE(file, nullptr);
    TString("first").SaveToStream(file);
    TString("").SaveToStream(file);
    std::fputc(9, file);  // a truncated third string
    std::rewind(file);
    TString a, b, c;
    EXPECT_TRUE(a.LoadFromStream(file));
    EXPECT_TRUE(b.LoadFromStream(file));
    EXPECT_FALSE(c.LoadFromStream(file));
    EXPECT_EQ(a.str(), "first");
    EXPECT_EQ(b.str(), "");
    std::fclose(file);
}
