// Tests of field splitting, escape sequences and pattern variables.
#include <gtest/gtest.h>

#include "Tokenizing.h"

namespace {

using Fields = std::vector<std::string>;

Fields Split(const std::string& s, char separator, bool skipEmpty, bool trim) {
    Fields fields;
    Tokenize(s, fields, separator, skipEmpty, trim);
    return fields;
}

TEST(Tokenize, EmptyFieldsAndTrimming) {
    EXPECT_EQ(Fields({"a", "", "b"}), Split("a,,b", ',', false, false));
    EXPECT_EQ(Fields({"a", "b"}), Split("a,,b", ',', true, false));
    EXPECT_EQ(Fields({"a", ""}), Split("a,", ',', false, false));
    EXPECT_EQ(Fields({"", ""}), Split(",", ',', false, false));
    EXPECT_EQ(Fields(), Split(",,", ',', true, false));
    EXPECT_EQ(Fields(), Split("", ',', false, false));
    EXPECT_EQ(Fields({"a b", "c\t"}), Split("  a b ,c\t", ',', false, true));
    EXPECT_EQ(Fields({"a", "b"}), Split(std::string("a,b\0,c", 6), ',', false, false));
    Fields appended = {"old"};
    Tokenize("x", appended, ',', false, false);
    EXPECT_EQ(Fields({"old", "x"}), appended);
}

Fields QuoteSplit(const std::string& s, bool merge) {
    Fields fields;
    QMTokenize(s, fields, ',', merge, '"');
    return fields;
}

TEST(QMTokenize, QuotesEscapesAndMerging) {
    struct Case {
        const char* input;
        bool merge;
        Fields expected;
    };
    const Case cases[] = {
        {"a,b", false, {"a", "b"}},
        {"a,,b", false, {"a", "", "b"}},
        {"a,", false, {"a", ""}},
        {",a", false, {"", "a"}},
        {"a,,b", true, {"a", "b"}},
        {",,a,,", true, {"a"}},
        {"\"x,y\",z", true, {"x,y", "z"}},
        {"\"\",z", true, {"", "z"}},
        {"a\\\"b,c", true, {"a\"b", "c"}},
        {"a\\,b,c", false, {"a,b", "c"}},
        {"a\\,b,c", true, {"a\\", "b", "c"}},
        {"\"open,end", false, {"open,end"}},
        {"", false, {}},
    };
    for (const Case& c : cases) EXPECT_EQ(c.expected, QuoteSplit(c.input, c.merge)) << c.input;
}

TEST(ResolveEscapeChars, SequencesAndLeftovers) {
    EXPECT_EQ("a\tb", ResolveEscapeChars("a\\tb"));
    EXPECT_EQ("a\\qb", ResolveEscapeChars("a\\qb"));
    EXPECT_EQ("\n\r\b\v", ResolveEscapeChars("\\n\\r\\b\\v"));
    EXPECT_EQ("a\tb", ResolveEscapeChars("a\\\\tb"));
    EXPECT_EQ("ab", ResolveEscapeChars("ab\\"));
    EXPECT_EQ("", ResolveEscapeChars(""));
}

std::vector<TStringVarsItem> Parse(const std::string& pattern, bool expectOk = true) {
    std::vector<TStringVarsItem> items;
    EXPECT_EQ(expectOk, GetStringVars(pattern, items)) << pattern;
    return items;
}

TEST(StringVars, PatternsSplitIntoLiteralsAndVariables) {
    const auto items = Parse("$(NAME).txt");
    ASSERT_EQ(2u, items.size());
    EXPECT_TRUE(items[0].isVariable);
    EXPECT_EQ("NAME", items[0].text);
    EXPECT_FALSE(items[1].isVariable);
    EXPECT_EQ(".txt", items[1].text);
    const auto escaped = Parse("a\\$(b)$(C)");
    ASSERT_EQ(2u, escaped.size());
    EXPECT_EQ("a$(b)", escaped[0].text);
    EXPECT_EQ("C", escaped[1].text);
    EXPECT_EQ("ab", Parse("ab\\")[0].text);
    Parse("$(A)$(B)", false);
    Parse("x$()", false);
    Parse("x$(A", false);
}

TEST(StringVars, ExtractFillsTheVariables) {
    struct Case {
        const char* pattern;
        const char* text;
        bool repeats;
        bool matches;
        std::map<std::string, std::string> expected;
    };
    const Case cases[] = {
        {"$(NAME).txt", "report.txt", false, true, {{"NAME", "report"}}},
        {"$(NAME).txt", ".txt", false, true, {{"NAME", ""}}},
        {"$(NAME).txt", "report.doc", false, false, {}},
        {"$(NAME).txt", "report.txt.bak", false, false, {}},
        {"$(NAME).txt", "report.t", false, false, {}},
        {"$(A)-$(B)", "x-y-z", false, true, {{"A", "x"}, {"B", "y-z"}}},
        {"$(A)-$(B)", "x-", false, false, {}},
        {"log$(N)", "log17", false, true, {{"N", "17"}}},
        {"log$(N)", "lag17", false, false, {}},
        {"a*b$(N)", "aaab5", true, true, {{"N", "5"}}},
        {"a*b$(N)", "aaab5", false, false, {}},
        {"$(N)", "", false, false, {}},
    };
    for (const Case& c : cases) {
        std::map<std::string, std::string> vars;
        EXPECT_EQ(c.matches, ExtractStringVars(c.text, Parse(c.pattern), vars, c.repeats)) << c.pattern << " " << c.text;
        if (c.matches) {
            EXPECT_EQ(c.expected, vars) << c.pattern << " " << c.text;
        }
    }
    std::map<std::string, std::string> vars;
    EXPECT_TRUE(ExtractStringVars("", {}, vars, false));
}

}  // namespace
