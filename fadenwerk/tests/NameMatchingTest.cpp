// Tests of FnMatch (also against the C library's fnmatch), FilterMatch and
// the naive FileNameMatch.
#include <gtest/gtest.h>

#include <fnmatch.h>

#include <chrono>
#include <random>

#include "NameMatching.h"

namespace {

struct MatchCase {
    const char* pattern;
    const char* name;
    bool matches;
};

TEST(FnMatch, WildcardsSetsAndEscapes) {
    const MatchCase cases[] = {
        {"[!a-c]x", "dx", true},   {"[!a-c]x", "bx", false},  {"a\\*b", "a*b", true},
        {"a\\*b", "axb", false},   {"a\\*b", "a\\*b", false}, {"*", "", true},
        {"*", ".hidden", true},    {"a/*", "a/b/c", true},    {"?", "", false},
        {"a**b", "ab", true},      {"*.txt", "x.txt", true},  {"*.txt", "x.txt.bak", false},
        {"[]x]", "]", true},       {"[!]x]", "]", false},     {"[a-]", "-", true},
        {"[^a]", "b", true},       {"[a", "[a", true},        {"[a", "a", false},
        {"[\\]]", "]", true},      {"a\\", "a\\", true},      {"*a*b*c", "xaybzc", true},
        {"*a*b*c", "xaybzcd", false}, {"", "", true},         {"", "a", false},
        {"ab", "AB", false},
    };
    for (const MatchCase& c : cases) EXPECT_EQ(c.matches, FnMatch(c.pattern, c.name)) << c.pattern << " " << c.name;
    EXPECT_FALSE(FnMatch(nullptr, "a"));
    EXPECT_FALSE(FnMatch("a", nullptr));
}

TEST(FnMatch, TwentyNestedStarsNeverMatch) {
    std::string nineteen;
    std::string twenty;
    for (int i = 0; i < 19; ++i) nineteen += "*a";
    twenty = nineteen + "*a";
    const std::string name(40, 'a');
    EXPECT_TRUE(FnMatch(nineteen, name));
    EXPECT_FALSE(FnMatch(twenty, name));
    EXPECT_TRUE(FnMatch(nineteen + "*", name));
}

TEST(FnMatch, ManyStarsOnALongNameReturnPromptly) {
    std::string pattern;
    for (int i = 0; i < 19; ++i) pattern += "*a";
    pattern += "b";
    const std::string name(20000, 'a');
    const auto start = std::chrono::steady_clock::now();
    EXPECT_FALSE(FnMatch(pattern, name));
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(5));
}

// Patterns made of these pieces stay inside what both matchers define.
const char* const patternPieces[] = {"a", "b", "c", "?", "*", "**", "[ab]", "[!a]", "[^b]", "[a-c]", "[b-a]",
                                     "[]a]", "[!]]", "[a-]", "\\*", "\\?", "\\[", "\\a", "[", "]", "-", "!",
                                     "[\\]]", "/", "."};
const char nameCharacters[] = "abcab*?[]-!/.\\";

TEST(FnMatch, AgreesWithTheCLibrary) {
    std::mt19937 generator(20240704);
    int matches = 0;
    const int trials = 40000;
    for (int trial = 0; trial < trials; ++trial) {
        std::string pattern;
        const int pieces = static_cast<int>(generator() % 7);
        for (int piece = 0; piece < pieces; ++piece)
            pattern += patternPieces[generator() % (sizeof patternPieces / sizeof patternPieces[0])];
        std::string name;
        const int length = static_cast<int>(generator() % 7);
        for (int index = 0; index < length; ++index) name += nameCharacters[generator() % (sizeof nameCharacters - 1)];
        const bool expected = fnmatch(pattern.c_str(), name.c_str(), 0) == 0;
        ASSERT_EQ(expected, FnMatch(pattern, name)) << "pattern '" << pattern << "' name '" << name << "'";
        matches += expected ? 1 : 0;
    }
    EXPECT_GT(matches, trials / 50);
}

TEST(FilterMatch, AnyPatternAndCase) {
    EXPECT_TRUE(FilterMatch("file.txt", {"*.doc", "*.TXT"}, true));
    EXPECT_FALSE(FilterMatch("file.txt", {"*.doc", "*.TXT"}, false));
    EXPECT_TRUE(FilterMatch("FILE.TXT", {"file.*"}, true));
    EXPECT_FALSE(FilterMatch("file.txt", {}, false));
}

TEST(FileNameMatch, NaiveRules) {
    const MatchCase cases[] = {
        {"abc", "abc", true}, {"a?c", "abc", true}, {"abc*", "abc", false}, {"a*z", "abcd", true},
        {"*", "x", true},     {"*", "", false},     {"", "", true},        {"ab", "abc", false},
        {"abc", "ab", false}, {"a*", "ab", true},
    };
    for (const MatchCase& c : cases)
        EXPECT_EQ(c.matches, FileNameMatch(c.pattern, c.name)) << c.pattern << " " << c.name;
}

}  // namespace
