// Tests of the text routines of the built-ins: tokens, dotted fields, word separators and words, segments, tab expansion and contraction, file loading.
#include <gtest/gtest.h>

#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "BuiltinTestSupport.h"
#include "StackRoutines.h"
#include "TextRoutines.h"

namespace {

using builtin_test::BuiltinTest;

TEST(TextRoutinesTest, ExtractTokenCountsFromEitherEnd) {
    const std::pair<int, const char*> cases[] = {
        {0, "a"}, {1, "b"}, {2, "c"}, {3, "unchanged"}, {-1, "c"}, {-3, "a"}, {-4, "unchanged"},
        {INT32_MIN, "unchanged"}, {INT32_MAX, "unchanged"},
    };
    for (const auto& c : cases) {
        TString out = "unchanged";
        ExtractToken(out, "a;b;c", ';', c.first);
        EXPECT_STREQ(out.c_str(), c.second) << c.first;
    }
    TString out = "x";
    ExtractToken(out, ";;", ';', 1);
    EXPECT_STREQ(out.c_str(), "");  // an empty token exists
    ExtractToken(out = "x", "", ';', 0);
    EXPECT_STREQ(out.c_str(), "");
}

TEST(TextRoutinesTest, SplitDottedTextKeepsInnerEmptyPieces) {
    const std::pair<const char*, std::vector<std::string>> cases[] = {
        {"12:30:", {"12", "30"}},
        {":5", {"", "5"}},
        {"2024.01.05", {"2024", "01", "05"}},
        {"1..2", {"1", "", "2"}},
        {"", {}},
    };
    for (const auto& c : cases) {
        TStringContainer pieces;
        SplitDottedText(c.first, pieces);
        std::vector<std::string> got;
        for (int i = 0; i < pieces.GetCount(); ++i) got.push_back(pieces[i].c_str());
        EXPECT_EQ(got, c.second) << c.first;
    }
}

TEST(TextRoutinesTest, SeparatorClassesAndWords) {
    TEvalStack stack;
    SetWordSeparators("[:digit:],", stack);
    for (char c : std::string("0123456789,")) EXPECT_TRUE(stack.IsWordSeparator(static_cast<unsigned char>(c))) << c;
    EXPECT_FALSE(stack.IsWordSeparator('a'));
    EXPECT_FALSE(stack.IsWordSeparator(' '));
    TSeparatorFlags flags = WordSeparatorFlags(stack);
    const std::pair<int, const char*> words[] = {{0, "ab"}, {1, "cd"}, {2, "e"}, {3, "unchanged"}, {-1, "unchanged"}};
    for (const auto& w : words) {
        TString out = "unchanged";
        ExtractWord("12ab,3cd4,,e5", w.first, flags, out);
        EXPECT_STREQ(out.c_str(), w.second) << w.first;
    }
    int start = -1, end = -1;
    FindWord("12ab,3cd", 1, flags, start, end);
    EXPECT_EQ(start, 6);
    EXPECT_EQ(end, 8);
    FindWord(nullptr, 0, flags, start, end);
    EXPECT_EQ(start, 0);
    EXPECT_EQ(end, 0);

    SetWordSeparators("[:upper:]", stack);
    int capitals = 0;
    for (int c = 0; c < 256; ++c) capitals += stack.IsWordSeparator(static_cast<unsigned char>(c)) ? 1 : 0;
    EXPECT_EQ(capitals, 26);
    EXPECT_TRUE(stack.IsWordSeparator('Q'));
    SetWordSeparators("\xE9[:punct:]", stack);  // a byte above 127 sets its own flag
    EXPECT_TRUE(stack.IsWordSeparator(0xE9));
    EXPECT_TRUE(stack.IsWordSeparator('\\'));
    EXPECT_TRUE(stack.IsWordSeparator('~'));
    EXPECT_FALSE(stack.IsWordSeparator(' '));
}

// Spans in the text itself, from either end; a token that starts at the end
// of the text is missing.
TEST(TextRoutinesTest, LocateTokenFromEitherEnd) {
    struct TCase {
        const char* text;
        int32_t n;
        bool found;
        int start;
        int end;
    };
    const TCase cases[] = {
        {"ab|c|", 0, true, 0, 2},   {"ab|c|", 1, true, 3, 4},   {"ab|c|", 2, false, 5, 5},
        {"ab|c|", -1, true, 5, 5},  {"ab|c|", -3, true, 0, 2},  {"ab|c|", -4, false, 5, 5},
        {"a||b", 1, true, 2, 2},    {"", 0, false, 0, 0},       {"", -1, false, 0, 0},
        {"a|b", INT32_MAX, false, 3, 3}, {"a|b", INT32_MIN, false, 3, 3},
    };
    for (const TCase& c : cases) {
        int start = -9, end = -9;
        EXPECT_EQ(LocateToken(c.text, '|', c.n, start, end), c.found) << c.text << " " << c.n;
        EXPECT_EQ(start, c.start) << c.text << " " << c.n;
        EXPECT_EQ(end, c.end) << c.text << " " << c.n;
    }
}

TEST(TextRoutinesTest, WordsAndVisitedTokens) {
    TEvalStack stack;
    stack.ClearWordSeparators();
    const TSeparatorFlags fixed = FixedSeparatorFlags(stack);  // the 32 fixed ones, whatever the custom set
    EXPECT_TRUE(fixed[' '] && fixed[','] && fixed['\n'] && fixed['$']);
    EXPECT_FALSE(fixed['a'] || fixed['_'] || fixed['|']);
    int start = -9, end = -9;
    EXPECT_TRUE(LocateWord(" one, two ", fixed, -1, start, end));
    EXPECT_EQ(start, 6);
    EXPECT_EQ(end, 9);
    EXPECT_TRUE(LocateWord(" one, two ", fixed, 0, start, end));
    EXPECT_EQ(start, 1);
    EXPECT_FALSE(LocateWord(" one, two ", fixed, -3, start, end));
    EXPECT_EQ(start, 10);
    EXPECT_EQ(WordCount(" one, two ", fixed), 2);
    EXPECT_EQ(WordCount("", fixed), 0);
    EXPECT_EQ(FirstCharacterOr("", '|'), '|');
    EXPECT_EQ(FirstCharacterOr(";,", '|'), ';');

    const std::pair<const char*, std::vector<std::string>> walks[] = {
        {"a|b|", {"a", "b"}}, {"|", {""}}, {"a||b", {"a", "", "b"}}, {"", {}},
    };
    for (const auto& w : walks) {
        std::vector<TString> tokens;
        VisitedTokens(w.first, '|', tokens);
        std::vector<std::string> got;
        for (const TString& token : tokens) got.push_back(token.c_str());
        EXPECT_EQ(got, w.second) << w.first;
    }
}

TEST(TextRoutinesTest, JoinSegmentsAndCompareInts) {
    const int segments[] = {0, 1, 2, 4, 5, 5};
    TString out = "old";
    JoinSegments("a|bb|cc", segments, 3, out, '|');
    EXPECT_STREQ(out.c_str(), "a|bb|");
    JoinSegments("ab", segments, 0, out, '|');
    EXPECT_STREQ(out.c_str(), "");
    int values[] = {3, INT32_MIN, INT32_MAX, -1};
    std::qsort(values, 4, sizeof(int), CompareInts);
    EXPECT_EQ(values[0], INT32_MIN);
    EXPECT_EQ(values[1], -1);
    EXPECT_EQ(values[2], 3);
    EXPECT_EQ(values[3], INT32_MAX);
}

TEST(TextRoutinesTest, ReplaceTabsFillsToTheNextStop) {
    TStringBuffer work;
    TString text = "a\tb\tc";
    EvalReplaceTabs(text, 4, ' ', work);
    EXPECT_STREQ(text.c_str(), "a   b   c");  // b in column 4, c in column 8
    text = "\t";
    EvalReplaceTabs(text, 0, '.', work);  // below 1 means 4
    EXPECT_STREQ(text.c_str(), "....");
}

// Runs `expand -t4` over a sample file and compares it, line by line, with the routine.
TEST(TextRoutinesTest, ReplaceTabsAgreesWithExpand) {
    const std::vector<std::string> lines = {
        "a\tb\tc", "\tlead", "abcd\te", "abc\t\tx", "", "no tabs", "x\t", "12345678\t9", "\t\t\t", "ab \t c\t d",
    };
    std::string pattern = ::testing::TempDir() + "expandXXXXXX";
    char* path = &pattern[0];
    const int descriptor = mkstemp(path);
    ASSERT_GE(descriptor, 0);
    FILE* file = fdopen(descriptor, "wb");
    for (const std::string& line : lines) std::fprintf(file, "%s\n", line.c_str());
    std::fclose(file);
    FILE* expanded = popen(("LC_ALL=C expand -t4 " + std::string(path)).c_str(), "r");
    ASSERT_NE(expanded, nullptr);
    TStringBuffer work;
    char buffer[256];
    size_t k = 0;
    for (; std::fgets(buffer, sizeof buffer, expanded) != nullptr; ++k) {
        std::string expected = buffer;
        if (!expected.empty() && expected.back() == '\n') expected.pop_back();
        ASSERT_LT(k, lines.size());
        TString text = lines[k].c_str();
        EvalReplaceTabs(text, 4, ' ', work);
        EXPECT_EQ(std::string(text.c_str()), expected) << k;
    }
    EXPECT_EQ(pclose(expanded), 0);
    EXPECT_EQ(k, lines.size());
    std::remove(path);
}

TEST(TextRoutinesTest, ReplaceCharsWithTabsInBothModes) {
    struct TCase {
        const char* text;
        int width;
        bool leadingOnly;
        const char* expected;
    };
    const TCase cases[] = {
        // Leading run only.
        {"        x", 4, true, "\t\tx"},
        {"      x", 4, true, "\t  x"},
        {"   x", 4, true, "   x"},
        {"  x  y", 1, true, " \tx  y"},  // with width 1 the first blank stays
        {"   x", 1, true, " \t\tx"},
        {"x    y", 4, true, "x    y"},
        {"", 4, true, ""},
        // Every run, column by column, not inside double quotes.
        {"ab  x", 4, false, "ab\tx"},
        {"\"ab  x\"", 4, false, "\"ab  x\""},
        {"abc x", 4, false, "abc\tx"},
        {"        x", 4, false, "\t\tx"},
        {"a\t  b", 4, false, "a\t  b"},
        {"ab      cd", 4, false, "ab\t\tcd"},
        {"abcd    ", 4, false, "abcd\t"},
        {"a  b", 0, false, "a  b"},  // below 1 means 4
    };
    TStringBuffer work;
    for (const TCase& c : cases) {
        TString text = c.text;
        EvalReplaceCharsWithTabs(text, c.width, ' ', c.leadingOnly, work);
        EXPECT_STREQ(text.c_str(), c.expected) << '"' << c.text << "\" " << c.leadingOnly;
    }
}

class LoadFileTest : public BuiltinTest {
protected:
    void SetUp() override {
        path = std::string(::testing::TempDir()) + "load_file_" + std::to_string(getpid()) + ".txt";
        FILE* file = std::fopen(path.c_str(), "wb");
        std::fputs("first\r\nsecond\r\n\xE9nd", file);
        std::fclose(file);
        list.NewString("file", false, path.c_str());
        list.NewString("missing", false, (path + ".missing").c_str());
        list.NewString("text", false, "x");
        list.NewArray("lines", vtString, false);
        list.NewArray("numbers", vtInt, false);
        list.NewArray2("grid", vtString, false);
        list.NewInt("number", false, 5);
    }
    void TearDown() override { std::remove(path.c_str()); }

    std::string path;
};

TEST_F(LoadFileTest, LinesAreAppendedToAText) {
    EXPECT_EQ(Integer("load_file(file,';',text)"), 3);
    EXPECT_STREQ(list.GetVar("text")->value.s->c_str(), "xfirst;second;\xE9nd");  // one CR stripped per line
    *list.GetVar("text")->value.s = "";
    EXPECT_EQ(Integer("load_file(file,'',text)"), 3);
    EXPECT_STREQ(list.GetVar("text")->value.s->c_str(), "first,second,\xE9nd");
}

TEST_F(LoadFileTest, LinesBecomeItemsOfAStringArray) {
    list.ResizeArray("lines", 1);
    *static_cast<TString*>(list.GetArrayItem("lines", 0)) = "kept";
    EXPECT_EQ(Integer("load_file(file,';',lines)"), 3);
    ASSERT_EQ(list.GetArrayCount("lines"), 4);
    EXPECT_STREQ(static_cast<TString*>(list.GetArrayItem("lines", 0))->c_str(), "kept");
    EXPECT_STREQ(static_cast<TString*>(list.GetArrayItem("lines", 1))->c_str(), "first");
    EXPECT_STREQ(static_cast<TString*>(list.GetArrayItem("lines", 3))->c_str(), "\xE9nd");
}

// Targets that cannot hold lines, and a missing file, give 0 and change nothing.
TEST_F(LoadFileTest, OtherTargetsAndMissingFilesGiveZero) {
    EXPECT_EQ(Integer("load_file(missing,';',text)"), 0);
    EXPECT_STREQ(list.GetVar("text")->value.s->c_str(), "x");
    EXPECT_EQ(Integer("load_file(missing,';',lines)"), 0);
    EXPECT_EQ(Integer("load_file(file,';',numbers)"), 0);
    EXPECT_EQ(list.GetArrayCount("numbers"), list.GetArraySize());
    EXPECT_EQ(Integer("load_file(file,';',grid)"), 0);
    EXPECT_EQ(Integer("load_file(file,';',number)"), 0);
    EXPECT_EQ(list.GetVar("number")->value.i, 5);
}

// The walks of the predicate and conversion functions, driven by the token
// and word walkers over temporaries as those functions append them.
class WalkCallbackTest : public BuiltinTest {
protected:
    void SetUp() override {
        itemText = list.NewString("token", false, "");
        index = list.NewInt("tx", false, 0);
    }
    EXPRESSION Compile(const char* text) {
        EXPRESSION e = CreateExpression(list, text);
        EXPECT_GE(e.count, 0) << text;
        return e;
    }
    int64_t Predicate(int position, const char* text, const char* predicate, int64_t start) {
        EXPRESSION e = Compile(predicate);
        *index = 0;
        TTokenPredicateContext context{position, itemText, &e, &stack, &list, index, start};
        ForEachToken(text, '|', TokenPredicateCallback, &context);
        FreeExpression(e);
        ExpectCleanStack(predicate);
        return context.result;
    }

    TString* itemText = nullptr;
    int64_t* index = nullptr;
};

TEST_F(WalkCallbackTest, PredicatesStopAtTheDecidingToken) {
    EXPECT_EQ(Predicate(137, "1|2|3", "strcmp(token,'2')==0", 0), 1);
    EXPECT_EQ(*index, 2);  // stopped at the second token
    EXPECT_EQ(Predicate(137, "1|3", "strcmp(token,'2')==0", 0), 0);
    EXPECT_EQ(Predicate(138, "1|2|3", "strlen(token)==1", 1), 1);
    EXPECT_EQ(Predicate(138, "1|22|3", "strlen(token)==1", 1), 0);
    EXPECT_EQ(Predicate(139, "1|22|3", "strlen(token)==2", 1), 0);
    EXPECT_EQ(Predicate(139, "1|3", "strlen(token)==2", 1), 1);
    EXPECT_EQ(Predicate(137, "1|2", "1.0", 0), 0);  // a real result decides nothing
}

TEST_F(WalkCallbackTest, ConversionsJoinTextResults) {
    EXPRESSION e = Compile("strupper(token)");
    TString output;
    *index = 0;
    TConvertContext tokens{index, &e, &stack, &list, &output, itemText, ';', nullptr};
    ForEachToken("ab|c||d", '|', TokenConvertCallback, &tokens);
    EXPECT_STREQ(output.c_str(), "AB;C;;D");
    EXPECT_EQ(*index, 4);

    const char* source = "ab, c;d";
    output.Clear();
    TConvertContext words{index, &e, &stack, &list, &output, itemText, ';', source};
    TSeparatorFlags flags{};
    flags[','] = flags[' '] = flags[';'] = true;
    ForEachWord(source, flags.data(), WordConvertCallback, &words, CopySeparatorCallback, &words);
    EXPECT_STREQ(output.c_str(), "AB, C;D");
    FreeExpression(e);
    ExpectCleanStack("conversions");
}

}  // namespace
