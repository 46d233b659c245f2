// Tests of $(name) and %name% expansion, widths, repeats and RAND picks.
#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <set>

#include "VariableReplacement.h"

namespace {

const TStringMap sample = {{"X", "ab"}, {"EMPTY", ""}, {"NESTab", "inner"}};

struct ReplaceCase {
    const char* input;
    const char* expected;
};

TEST(ReplaceVars, WidthFillRepeatAndMalformedReferences) {
    const ReplaceCase cases[] = {
        {"$(X)", "ab"},
        {"[$(X:5)]", "[ab   ]"},
        {"[$(X:-5@.)]", "[...ab]"},
        {"[$(X:5@)]", "[ab   ]"},
        {"$(X:1)", "a"},
        {"$(X:-1)", "a"},
        {"$(X*3)", "ababab"},
        {"[$(X*0)]", "[]"},
        {"[$(X*-2)]", "[]"},
        {"$(X*zz)", "ab"},
        {"$(X:3@-*2)", "ab-ab-"},
        {"$  (X)", "ab"},
        {"$ ( X )", "ab"},
        {"$a(X)", "$a(X)"},
        {"$()", "$()"},
        {"$(  )", "$(  )"},
        {"$(X", "$(X"},
        {"$", "$"},
        {"$$(X)", "$ab"},
        {"$(Y)", "$(Y)"},
        {"$(Y$(X))", "$(Yab)"},
        {"$(NEST$(X))", "$(NESTab)"},
        {"a$(EMPTY)b", "ab"},
        {"$(X)$(X)", "abab"},
        {"$(X(1))", "$(X(1))"},
        {"$($(X)", "$(ab"},
    };
    for (const ReplaceCase& c : cases) EXPECT_EQ(c.expected, ReplaceVars(c.input, sample)) << c.input;
}

TEST(ReplaceVars, HugeWidthsAndRepeatsStayAsWritten) {
    const ReplaceCase cases[] = {
        {"$(X*2000000000)", "$(X*2000000000)"},
        {"$(X:2000000000)", "$(X:2000000000)"},
        {"$(X:-2147483648)", "$(X:-2147483648)"},
        {"$(X:99999999999999999999)", "$(X:99999999999999999999)"},
    };
    for (const ReplaceCase& c : cases) EXPECT_EQ(c.expected, ReplaceVars(c.input, sample)) << c.input;
}

TEST(ReplaceVars, UnclosedReferencesDoNotRescanTheText) {
    std::string text;
    for (int i = 0; i < 200000; ++i) text += "$(";
    const auto start = std::chrono::steady_clock::now();
    EXPECT_EQ(text, ReplaceVars(text, sample));
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(5));
}

TEST(ReplaceVars, MapsAreSearchedInOrder) {
    const TStringMap first = {{"A", "1"}};
    const TStringMap second = {{"A", "2"}, {"B", "3"}};
    const TStringMap third = {{"C", "4"}};
    EXPECT_EQ("1 3", ReplaceVars("$(A) $(B)", first, second));
    EXPECT_EQ("2 3 4", ReplaceVars("$(A) $(B) $(C)", second, first, third));
    TStringMap writable = second;
    std::vector<TStringMap*> maps = {nullptr, &writable};
    EXPECT_EQ("2 $(C)", ReplaceVars("$(A) $(C)", maps));
}

std::string UpperLookup(const std::string& name, void* context, bool& found) {
    ++*static_cast<int*>(context);
    found = name != "missing";
    return found ? "<" + name + ">" : "ignored";
}

TEST(ReplaceVars, CallerLookupDecidesFound) {
    int calls = 0;
    EXPECT_EQ("<a b> $(missing)", ReplaceVars("$( a b ) $(missing)", UpperLookup, &calls));
    EXPECT_EQ(2, calls);
}

TEST(ReplaceVars, EnvironmentComesBeforeTheMap) {
    setenv("FADENWERK_TEST_VALUE", "env", 1);
    const TStringMap vars = {{"FADENWERK_TEST_VALUE", "map"}, {"ONLY_IN_MAP", "m"}};
    EXPECT_EQ("env m", ReplaceEnvVars("$(FADENWERK_TEST_VALUE) $(ONLY_IN_MAP)", vars));
    EXPECT_EQ("env $(ONLY_IN_MAP)", ReplaceEnvVars("$(FADENWERK_TEST_VALUE) $(ONLY_IN_MAP)"));
    unsetenv("FADENWERK_TEST_VALUE");
}

// An empty value, from the map or from a random pick in an empty range, gives
// nothing however large its repeat count; it used to be appended that many
// times. A width makes the value non-empty, so the count applies again.
TEST(ReplaceVars, EmptyValuesRepeatedHugelyGiveNothing) {
    const ReplaceCase cases[] = {
        {"[$(EMPTY*2147483647)]", "[]"},
        {"[$(RAND(2-1)*2147483647)]", "[]"},
        {"[$(EMPTY:1*2147483647)]", "[$(EMPTY:1*2147483647)]"},
        {"[$(EMPTY:2*3)]", "[      ]"},
    };
    for (const ReplaceCase& c : cases) EXPECT_EQ(c.expected, ReplaceVars(c.input, sample)) << c.input;
}

// The limit holds for all references of a text together: a few hundred
// references of 16 MB each used to ask for gigabytes.
TEST(ReplaceVars, ReferencesTogetherStayWithinTheMaximum) {
    const size_t quarter = ReplaceVarsMaximumExpansion / 4;  // "ab" that often: half the maximum
    const std::string reference = "$(X*" + std::to_string(quarter) + ")";
    const std::string replaced = ReplaceVars(reference + reference + reference + "|", sample);
    EXPECT_EQ(replaced.size(), ReplaceVarsMaximumExpansion + reference.size() + 1);
    EXPECT_EQ(replaced.substr(replaced.size() - reference.size() - 1), reference + "|");
}

std::set<std::string> RandomResults(const std::string& reference, int draws = 400) {
    std::set<std::string> seen;
    for (int i = 0; i < draws; ++i) seen.insert(ReplaceVars(reference, sample));
    return seen;
}

TEST(ReplaceVars, RandomPicks) {
    using Results = std::set<std::string>;
    EXPECT_EQ(Results({"7"}), RandomResults("$(RAND(7))"));
    EXPECT_EQ(Results({"1", "2", "3"}), RandomResults("$(RAND(1-3))"));
    EXPECT_EQ(Results({"-2", "-1", "0"}), RandomResults("$(RAND(-2-0))"));
    EXPECT_EQ(Results({"1", "2", "5", "6"}), RandomResults("$(RAND(1-2,5-6))"));
    EXPECT_EQ(Results({"a", "b", "c"}), RandomResults("$(RAND(a,b,c))"));
    EXPECT_EQ(Results({""}), RandomResults("$(RAND())"));
    EXPECT_EQ(Results({"1-2", "x"}), RandomResults("$(RAND(1-2,x))"));
    EXPECT_EQ(Results({"  7"}), RandomResults("$(RAND(7):-3)"));
}

TEST(ReplaceVars, EmptyRandomRangesGiveNothing) {
    EXPECT_EQ("[]", ReplaceVars("[$(RAND(5-4))]", sample));
    EXPECT_EQ("[]", ReplaceVars("[$(RAND(5-1))]", sample));
    EXPECT_EQ("[]", ReplaceVars("[$(RAND(5-1,9-2))]", sample));
    const std::string wide = ReplaceVars("$(RAND(-2147483648-2147483647))", sample);
    EXPECT_FALSE(wide.empty());
    EXPECT_EQ(std::set<std::string>({"3", "9"}), RandomResults("$(RAND(5-1,3-3,9-9))"));
}

TEST(ReplacePlatformVars, NamesBetweenPercentMarks) {
    const TStringMap vars = {{"HOME", "/h"}, {"", "E"}};
    EXPECT_EQ("/h/x", ReplacePlatformVars("%HOME%/x", vars));
    EXPECT_EQ("%NOPE%/x", ReplacePlatformVars("%NOPE%/x", vars));
    EXPECT_EQ("E", ReplacePlatformVars("%%", vars));
    EXPECT_EQ("%%", ReplacePlatformVars("%%", TStringMap()));
    EXPECT_EQ("a /h %b", ReplacePlatformVars("a %HOME% %b", vars));
    EXPECT_EQ("100%", ReplacePlatformVars("100%", vars));
}

TEST(ReplacePlatformVars, EnvironmentEntries) {
    setenv("FADENWERK_PLATFORM", "a=b", 1);
    TStringMap vars;
    GetEnvVars(vars);
    EXPECT_EQ("a=b", vars["FADENWERK_PLATFORM"]);
    EXPECT_EQ("[a=b]", ReplacePlatformEnvVars("[%FADENWERK_PLATFORM%]"));
    unsetenv("FADENWERK_PLATFORM");
}

}  // namespace
