// Tests of THtmlCaseParser: in-place recasing of tag text.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "HtmlCaseParser.h"

namespace {

std::string Converted(const std::vector<std::string>& text, bool upper) {
    TStringContainer lines;
    for (const std::string& line : text) lines.Add(TString(line));
    THtmlCaseParser parser;
    parser.SetUpperCase(upper);
    EXPECT_TRUE(parser.Parse(lines));
    return lines.GetText(TString("|")).str();
}

TEST(HtmlCaseParser, UpperCasesTagsOnly) {
    struct Case {
        std::vector<std::string> text;
        const char* expected;
    } cases[] = {
        {{"<a href=x.htm>Link</a>"}, "<A HREF=X.HTM>Link</A>"},
        {{"<img src=\"pic.gif\" alt='Big one'>"}, "<IMG SRC=\"pic.gif\" ALT='Big one'>"},
        {{"<!-- c --> <b>"}, "<!-- c --> <B>"},
        {{"<!-- <i> x -->"}, "<!-- <i> x -->"},
        {{"<p", "class=x>text"}, "<P|CLASS=X>text"},
        // Quote tracking runs over running text too: tags after an apostrophe stay as they are.
        {{"it's <b> x ' <i>"}, "it's <b> x ' <I>"},
        {{"a > b <u>\xE1"}, "a > b <U>\xE1"},
        {{"<td \xE1rv\xEDz>"}, "<TD \xC1RV\xCDZ>"},
    };
    for (const Case& test : cases) EXPECT_EQ(Converted(test.text, true), test.expected) << test.text[0];
}

TEST(HtmlCaseParser, LowerCaseAndStateResetBetweenRuns) {
    EXPECT_EQ(Converted({"<A HREF=X>Link</A>"}, false), "<a href=x>Link</a>");
    THtmlCaseParser parser;
    TStringContainer open;
    open.Add(TString("<b x"));
    parser.Parse(open);
    TStringContainer text;
    text.Add(TString("plain <i>"));
    parser.Parse(text);
    EXPECT_EQ(text[0], TString("plain <I>"));
}

}  // namespace
