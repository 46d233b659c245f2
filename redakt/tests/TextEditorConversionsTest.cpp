// Tab expansion and the HTML entities of the Hungarian accented letters.
#include <string>
#include <vector>

#include "RedaktFixture.h"

namespace {

const char kLetters[] = "\xE1\xE9\xED\xF3\xF6\xF5\xFA\xFC\xFB\xC1\xC9\xCD\xD3\xD6\xD5\xDA\xDC\xDB";

std::vector<std::string> Converted(TTextEditor& editor, const std::vector<std::string>& text,
                                   void (TTextEditor::*convert)()) {
    editor.lines.Clear();
    for (const std::string& line : text) editor.lines.Add(TString(line));
    (editor.*convert)();
    std::vector<std::string> result;
    for (int i = 0; i < editor.lines.GetCount(); ++i) result.push_back(editor.lines[i].str());
    return result;
}

}  // namespace

TEST(TextEditorConversions, TabsExpandToTheNextStop) {
    win32::TestDriver driver;
    TTextEditor editor(nullptr);
    const struct {
        int tabSize;
        const char* line;
        std::string expected;
    } kCases[] = {
        {8, "a\tb", "a" + std::string(7, ' ') + "b"},
        {8, "\tx", std::string(8, ' ') + "x"},
        {8, "abcdefgh\tx", "abcdefgh" + std::string(8, ' ') + "x"},
        {8, "abc\t\ty", "abc" + std::string(5 + 8, ' ') + "y"},
        {8, "no tabs", "no tabs"},
        {8, "end\t", "end" + std::string(5, ' ')},
        {4, "a\tbc\td", "a   bc  d"},
        {1, "a\t\tb", "a  b"},
        {0, "a\t\tb", "a  b"},  // a width below 1 counts as 1
        {-3, "\t", " "},
    };
    for (const auto& row : kCases) {
        editor.SetTabSize(row.tabSize);
        EXPECT_EQ(Converted(editor, {row.line}, &TTextEditor::TabsToSpaces), std::vector<std::string>{row.expected})
            << row.tabSize << " '" << row.line << "'";
    }
}

TEST(TextEditorConversions, LettersBecomeEntitiesAndBack) {
    win32::TestDriver driver;
    TTextEditor editor(nullptr);
    const std::string all = std::string("Text: ") + kLetters + " & <b>";
    const std::vector<std::string> html = Converted(editor, {all, "plain"}, &TTextEditor::TextToHTML);
    EXPECT_EQ(html[0],
              "Text: &aacute;&eacute;&iacute;&oacute;&ouml;&otilde;&uacute;&uuml;&ucirc;&Aacute;&Eacute;&Iacute;"
              "&Oacute;&Ouml;&Otilde;&Uacute;&Uuml;&Ucirc; & <b>");
    EXPECT_EQ(html[1], "plain");
    EXPECT_EQ(Converted(editor, html, &TTextEditor::HTMLToText), (std::vector<std::string>{all, "plain"}));

    const struct {
        const char* text;
        std::string expected;
    } kEntities[] = {
        {"&aacute;rv", "\xE1rv"},  // an entity the user typed turns into its letter too
        {"&AACUTE;", "&AACUTE;"},
        {"&auml; &amp;", "&auml; &amp;"},
        {"&Otilde;&otilde;", "\xD5\xF5"},
        {"&aacute", "&aacute"},
    };
    for (const auto& row : kEntities)
        EXPECT_EQ(Converted(editor, {row.text}, &TTextEditor::HTMLToText), std::vector<std::string>{row.expected})
            << row.text;
    EXPECT_EQ(Converted(editor, {"\xD5"}, &TTextEditor::TextToHTML), std::vector<std::string>{"&Otilde;"});
}

TEST(TextEditorConversions, EntityNamesByRow) {
    win32::TestDriver driver;
    TTextEditor editor(nullptr);
    EXPECT_EQ(editor.GetHTMLTittleChar(-1).str(), "");
    EXPECT_EQ(editor.GetHTMLTittleChar(18).str(), "");
    EXPECT_EQ(editor.GetHTMLTittleChar(9).str(), "&Aacute;");
    EXPECT_EQ(editor.GetHTMLTittleChar(0).str(), "&aacute;");
    EXPECT_EQ(editor.GetHTMLTittleChar(17).str(), "&Ucirc;");
}
