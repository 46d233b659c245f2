// Tests of TJavaParser and its records: classes, methods, parameter types and lines.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "JavaParser.h"
#include "ParserTestText.h"

namespace {

// "Class: method@line method@line; Class: ..." for the whole outline.
std::string Outline(TJavaParser& parser) {
    std::string text;
    for (int i = 0; parser[i] != nullptr; ++i) {
        TJavaClassData& data = *parser[i];
        if (!text.empty()) text += "; ";
        text += data.name.str() + ":";
        for (int m = 0; data[m] != nullptr; ++m)
            text += " " + data[m]->AsString().str() + "@" + std::to_string(data[m]->line);
    }
    return text;
}

std::string OutlineOf(const std::vector<std::string>& source) {
    TJavaParser parser;
    TStringContainer lines = Lines(source);
    EXPECT_TRUE(parser.Parse(lines));
    return Outline(parser);
}

TEST(JavaParser, ListsClassesAndMethods) {
    struct Case {
        std::vector<std::string> source;
        const char* outline;
    } cases[] = {
        {{"class A { void f(int x, String s) {} }"}, "A: f(int, String)@0"},
        {{"class A { int n = g(1); }"}, "A:"},
        {{"class A { void f() {} }"}, "A: f()@0"},
        {{"class A { void f(int a) {} }", "class B { void g(long b) {} }"}, "A: f(int)@0; B: g(long)@1"},
        {{"public class A extends B {", "  int n = 1;", "  public static void main(String[] args)", "  {", "  }",
          "  private int twice(int v) { return f(v) * 2; }", "}"},
         "A: main(String[])@2 twice(int)@5"},
        // Nested classes are not listed; their methods lie deeper than a member.
        {{"class A { class B { void g() {} } void f() {} }"}, "A: f()@0"},
        // A class keyword or a method inside a comment is skipped.
        {{"// class X", "class A { /* void h(int q) */ void f() {} }"}, "A: f()@1"},
        {{"class A { String s = \"class Z {\"; void f(char c) {} }"}, "A: f(char)@0"},
        {{"class A { // don't", " void f(int x) {} }"}, "A: f(int)@1"},
    };
    for (const Case& test : cases) EXPECT_EQ(OutlineOf(test.source), test.outline) << test.source[0];
}

TEST(JavaParser, ToleratesTooFewSymbolsAndStrayBrackets) {
    const std::vector<std::string> inputs[] = {{"{(,)}"}, {"(,)"}, {"}) class"}, {"class"}, {"class A { ( ) } }"}};
    for (const auto& input : inputs) {
        TJavaParser parser;
        TStringContainer lines = Lines(input);
        EXPECT_TRUE(parser.Parse(lines)) << input[0];
    }
    EXPECT_EQ(OutlineOf({"{(,)}"}), "");
}

TEST(JavaParser, EachParseReplacesTheClassList) {
    TJavaParser parser;
    TStringContainer first = Lines({"class A {}", "class B {}"});
    parser.Parse(first);
    EXPECT_EQ(parser.GetCount(), 2);
    TStringContainer second = Lines({"class C { void f() {} }"});
    parser.Parse(second);
    EXPECT_EQ(Outline(parser), "C: f()@0");
    EXPECT_EQ(parser[-1], nullptr);
    EXPECT_EQ(parser[1], nullptr);
    EXPECT_EQ((*parser[0])[-1], nullptr);
    EXPECT_EQ((*parser[0])[1], nullptr);
}

// A parser reuses the records of its last run: any order of runs gives what
// a new parser gives, also after a record of the list was changed.
TEST(JavaParser, ARunAfterOthersListsWhatANewParserLists) {
    const std::vector<std::string> many = {
        "class A { void f(int a, long b, char c) {} void g() {} }", "class B { void h(String s) {} }",
        "class C { void k(int x, int y) {} void m(long v) {} void n() {} }"};
    const std::vector<std::string> few = {"class D { void p(int a, int b, int c, int d) {} }"};
    const std::vector<std::string> none = {"int x;"};
    TJavaParser parser;
    for (const auto* source : {&many, &few, &many, &none, &few, &many}) {
        TStringContainer lines = Lines(*source);
        parser.Parse(lines);
        EXPECT_EQ(Outline(parser), OutlineOf(*source)) << (*source)[0];
    }
    // Records whose settings were changed are not reused.
    TStringContainer lines = Lines(many);
    (*parser[0]).SetIncrement(2);
    (*(*parser[1])[0]).params.SetReduceCapacity(false);
    parser.Parse(lines);
    EXPECT_EQ(Outline(parser), OutlineOf(many));
    for (int i = 0; parser[i] != nullptr; ++i) {
        EXPECT_EQ(parser[i]->GetIncrement(), TJavaClassData().GetIncrement());
        for (int m = 0; (*parser[i])[m] != nullptr; ++m) EXPECT_TRUE((*parser[i])[m]->params.GetReduceCapacity());
    }
}

// A Java parser keeps its recent symbols aside while it runs with direct
// calls; with any history and lookahead it lists and leaves what the same
// parser does when a derived class makes it run through the virtual table.
class DerivedJavaParser : public TJavaParser {};

TEST(JavaParser, RecentSymbolsAsThroughTheVirtualTable) {
    const std::vector<std::string> text = {
        "class A { void f(int x, String s) {} }", "class 'B", "C' { void g(long[] v, 'x y' w) { h(1, 2); } }",
        "class D { void k(Map<K, V> m, \"a", "b\" n) {} int z = q(3, 4); }", "class"};
    for (int size : {0, 1, 2, 4, 7}) {
        for (int lookahead : {-1, 0, 1, 2}) {
            SCOPED_TRACE("history " + std::to_string(size) + ", lookahead " + std::to_string(lookahead));
            TJavaParser direct;
            DerivedJavaParser derived;
            for (TJavaParser* parser : {&direct, static_cast<TJavaParser*>(&derived)}) {
                parser->SetHistorySize(size);
                parser->SetLookahead(lookahead);
            }
            for (int run = 0; run < 2; ++run) {
                TStringContainer directLines = Lines(text);
                TStringContainer derivedLines = Lines(text);
                EXPECT_EQ(direct.Parse(directLines), derived.Parse(derivedLines));
                EXPECT_EQ(Outline(direct), Outline(derived));
                EXPECT_EQ(direct.GetSymbolHistory().GetText(TString("|")),
                          derived.GetSymbolHistory().GetText(TString("|")));
                EXPECT_EQ(direct.GetNewSymbol(), derived.GetNewSymbol());
            }
        }
    }
    // Quoted runs across lines keep their line feed; "Map<K" is one symbol.
    EXPECT_EQ(OutlineOf(text), "A: f(int, String)@0; 'B\nC': g(long[], 'x y')@2; D: k(k, V>, \"a\nb\")@3");
}

TEST(JavaParser, RecordsCopyTheirContent) {
    TJavaMethodData method;
    method.name = "f";
    method.line = 3;
    method.params.Add(TString("int"));
    TJavaClassData source(TString("A"));
    source += method;
    TJavaClassData copy;
    copy.Assign(source);
    ASSERT_EQ(copy.GetCount(), 1);
    EXPECT_EQ(copy.name, TString("A"));
    EXPECT_EQ(copy[0]->AsString(), TString("f(int)"));
    EXPECT_EQ(copy[0]->line, 3);
    EXPECT_EQ(TJavaParserMethodData().AsString(), TString(""));
}

}  // namespace
