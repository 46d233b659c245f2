// Tests of value lists, number and character sets and the string tests.
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>

#include "RandomSource.h"
#include "ValueLists.h"

namespace {

using Texts = std::vector<std::string>;

Texts Values(const std::string& list, bool keepRanges = false, bool expectOk = true) {
    std::vector<TExtractedValue> values;
    EXPECT_EQ(expectOk, ExtractValues(list, values, keepRanges)) << list;
    Texts texts;
    EXPECT_TRUE(UnfoldExtractedValues(values, texts)) << list;
    return texts;
}

Texts Sorted(Texts texts) {
    std::sort(texts.begin(), texts.end());
    return texts;
}

TEST(ExtractValues, ListsRangesAndSteps) {
    struct Case {
        const char* list;
        Texts expected;
    };
    const Case cases[] = {
        {"a,b,c", {"a", "b", "c"}},
        {" a , b ,,c ", {"a", "b", "c"}},
        {"1-9/2", {"1", "3", "5", "7", "9"}},
        {"9-1/2", {"9", "7", "5", "3", "1"}},
        {"1-4/3", {"1", "4"}},
        {"1-9/-3", {"1", "4", "7"}},
        {"9-1/-2", {"9", "7", "5", "3", "1"}},
        {"1-3/0", {"1", "2", "3"}},
        {"3-3/2", {"3"}},
        {"10-22", {"10-22"}},
        {"1-3", {"1", "2", "3"}},
        {"a-e/2", {"a", "c", "e"}},
        {"x-c", {"x", "y", "z", "a", "b", "c"}},
        {"X-B", {"X", "Y", "Z", "A", "B"}},
        {"8-1", {"8", "9", "0", "1"}},
        {"c-a/-1", {"c", "b", "a"}},
        {"a-c/-1", {"a", "z", "y", "x", "w", "v", "u", "t", "s", "r", "q", "p", "o", "n", "m", "l", "k",
                    "j", "i", "h", "g", "f", "e", "d", "c"}},
        {"x-c/2", {"x", "z", "b"}},
        {"a-c/2147483647", {"a"}},
        {"c-a/-2147483648", {"c"}},
        {"a-c/-2147483648", {"a", "c"}},
        {"x-c/-2147483648", {"x"}},
        {"?-!", {}},
        {"\"a-b\",c", {"a-b", "c"}},
        {"\"x,y\"", {"x,y"}},
        {"1-2-3", {"1-2-3"}},
        {"a/b", {"a"}},
        {"", {}},
    };
    for (const Case& c : cases) EXPECT_EQ(c.expected, Values(c.list)) << c.list;
}

TEST(ExtractValues, KeptRangesUnfold) {
    std::vector<TExtractedValue> values;
    ASSERT_TRUE(ExtractValues("10-22,x,5-4", values, true));
    ASSERT_EQ(3u, values.size());
    EXPECT_TRUE(values[0].isRange);
    EXPECT_EQ(10, values[0].from);
    EXPECT_EQ(22, values[0].to);
    EXPECT_FALSE(values[1].isRange);
    Texts texts;
    ASSERT_TRUE(UnfoldExtractedValues(values, texts));
    EXPECT_EQ(14u, texts.size());
    EXPECT_EQ("10", texts.front());
    EXPECT_EQ("x", texts.back());
}

TEST(ExtractValues, Permutations) {
    EXPECT_EQ(Texts({"abc", "acb", "bac", "bca", "cab", "cba"}), Values("perm(abc)"));
    EXPECT_EQ(Texts({"abc", "acb"}), Values("perm(abc)*2"));
    EXPECT_EQ(Texts({"ba", "ab", "ba"}), Values("perm(ba)*3"));
    EXPECT_EQ(Texts(), Values("perm(abc)*0"));
    std::vector<TExtractedValue> values;
    EXPECT_TRUE(ExtractValues("perm(abcdefghijklm)", values, false));
    EXPECT_EQ(static_cast<size_t>(ValueListMaximumValues), values.size());
    EXPECT_EQ("abcdefghijklm", values[0].text);
    EXPECT_EQ("abcdefghijkml", values[1].text);
}

TEST(ExtractValues, RandomGenerators) {
    SeedRandom(7);
    const Texts three = Values("rand(1-6)*3");
    ASSERT_EQ(3u, three.size());
    for (const std::string& text : three) EXPECT_TRUE(text >= "1" && text <= "6" && text.size() == 1) << text;
    EXPECT_EQ(Texts({"1", "2", "3", "4", "5", "6"}), Sorted(Values("rand(1-6)")));
    EXPECT_EQ(Texts({"a", "b", "c"}), Sorted(Values("rand(a,b,c)")));
    for (const std::string& text : Values("rand(a,b)*20")) EXPECT_TRUE(text == "a" || text == "b");
    EXPECT_EQ(Texts(), Values("rand(6-1)*4"));
    EXPECT_EQ(Texts(), Values("rand(6-1)"));
    EXPECT_EQ(Texts(), Values("rand(x-1)*2"));
    Values("rand(1-6)*x", false, false);
    Values("rand()*2", false, false);
    Values("rand(1-6)*2000000000", false, false);
    Values("rand(1-2000000000)", false, false);
}

TEST(ExtractValues, WeightedPicksFollowTheWeights) {
    SeedRandom(11);
    const Texts picks = Values("rand(never:0%,always:100%)*200");
    EXPECT_EQ(200, std::count(picks.begin(), picks.end(), "always"));
    const Texts zero = Values("rand(a:0%,b:0%)*5");
    EXPECT_EQ(Texts(5, "b"), zero);
    const Texts big = Values("rand(a:2000000000%,b:2000000000%,c:2000000000%)*300");
    EXPECT_EQ(300u, big.size());
    EXPECT_GT(std::count(big.begin(), big.end(), "c"), 30);
}

TEST(ExtractValues, UnsafeInputReturnsPromptly) {
    const auto start = std::chrono::steady_clock::now();
    std::vector<TExtractedValue> values;
    EXPECT_FALSE(ExtractValues("-2147483648-2147483647/1", values, false) && values.size() > 1);
    values.clear();
    EXPECT_FALSE(ExtractValues("0-2147483647/2", values, false));
    EXPECT_TRUE(values.empty());
    EXPECT_TRUE(ExtractValues("0-2147483647", values, true));
    Texts texts;
    EXPECT_FALSE(UnfoldExtractedValues(values, texts));
    EXPECT_TRUE(texts.empty());
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(5));
}

TEST(ExtractNumbers, SetsAndVectors) {
    std::set<int> numbers;
    EXPECT_TRUE(ExtractNumbers("1-3, 7, 5-4, x, -2", numbers));
    EXPECT_EQ(std::set<int>({1, 2, 3, 7, 2}), numbers);
    EXPECT_FALSE(ExtractNumbers("0-2147483647", numbers));
    std::vector<int> single = {99};
    ExtractNumbers("4,1-3,8", single);
    EXPECT_EQ(std::vector<int>({4, 8}), single);
}

TEST(ExtractChars, RangesAndClasses) {
    std::set<char> alnum;
    ExtractChars("alnum", alnum);
    EXPECT_EQ(62u, alnum.size());
    std::vector<char> chars;
    ExtractChars("a-c,x", chars);
    EXPECT_EQ(std::vector<char>({'a', 'b', 'c', 'x'}), chars);
    chars.clear();
    ExtractChars(":digit:,c-a,5", chars);
    EXPECT_EQ(11u, chars.size());
    std::set<char> set;
    ExtractChars("-", set);
    EXPECT_EQ(std::set<char>({'-'}), set);
    set.clear();
    ExtractChars("space,xdigit", set);
    EXPECT_EQ(22u, set.size());
}

TEST(ExtractStrings, FieldsAndExpandedRanges) {
    Texts texts;
    EXPECT_TRUE(ExtractStrings("a, 2-4 ,b-c", texts, true));
    EXPECT_EQ(Texts({"a", "2", "3", "4", "b-c"}), texts);
    texts.clear();
    EXPECT_TRUE(ExtractStrings("a,2-4", texts, false));
    EXPECT_EQ(Texts({"a", "2-4"}), texts);
    EXPECT_FALSE(ExtractStrings("0-2000000000", texts, true));
}

TEST(StringTests, ReplaceAndCase) {
    EXPECT_EQ("xbxb", StringReplace("abab", "a", "x"));
    EXPECT_EQ("ab", StringReplace("aaab", "aa", ""));
    EXPECT_EQ("abc", StringReplace("abc", "", "x"));
    EXPECT_EQ("aaaa", StringReplace("aa", "a", "aa"));
    EXPECT_TRUE(IsNumber("-12"));
    EXPECT_TRUE(IsNumber(""));
    EXPECT_TRUE(IsNumber("-"));
    EXPECT_FALSE(IsNumber("1-2"));
    EXPECT_FALSE(IsNumber("+1"));
    EXPECT_TRUE(IsUpperCase("1A"));
    EXPECT_FALSE(IsUpperCase("aB"));
    EXPECT_TRUE(IsUpperCase("123"));
    EXPECT_TRUE(IsLowerCase("1a"));
    EXPECT_FALSE(IsLowerCase("Ab"));
    EXPECT_TRUE(IsLowerCase(""));
}

}  // namespace
