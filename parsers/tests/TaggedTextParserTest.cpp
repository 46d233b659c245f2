// Tests of TTaggedTextParser and its tag table: words, tags, lookup and errors.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "TaggedTextParser.h"
#include "ParserTestText.h"

namespace {

// Records words and tags; the tag table holds B (5) and IMG (7).
class TracingTagParser : public TTaggedTextParser {
public:
    TracingTagParser() {
        AddTag(5, TString("B"));
        AddTag(7, TString("img"));
    }
    void ParseSymbol(const TString& word) override {
        TTaggedTextParser::ParseSymbol(word);
        Record("word(" + word.str() + ")");
    }
    void ParseKnownTag(int id, const TString& value, bool closing) override {
        Record("tag(" + std::to_string(id) + "," + value.str() + (closing ? ",close)" : ")"));
    }
    void ParseUnknownTag(const TString& name, const TString& value, bool closing) override {
        Record("unknown(" + name.str() + "," + value.str() + (closing ? ",close)" : ")"));
    }
    void Record(const std::string& event) {
        if (!trace.empty()) trace += " ";
        trace += event;
    }
    std::string Run(const std::vector<std::string>& text) {
        trace.clear();
        TStringContainer lines = Lines(text);
        ok = Parse(lines);
        return trace;
    }
    std::string trace;
    bool ok = false;
};

TEST(TaggedTextParser, SplitsWordsAndTags) {
    struct Case {
        std::vector<std::string> text;
        const char* trace;
    } cases[] = {
        {{"x<b>y</b>"}, "word(x) tag(5,) word(y) tag(5,,close)"},
        {{"< img = \"a.bmp\" >"}, "tag(7,a.bmp)"},
        {{"a, b.", "c"}, "word(a,) word(b.) word(c)"},
        // Blanks inside a tag are dropped, so "font size" reads as one name.
        {{"<font size=3>big</font>"}, "unknown(FONTSIZE,3) word(big) unknown(FONT,,close)"},
        {{"<//b>", "<B=\"\"x\"\">"}, "tag(5,,close) tag(5,x)"},
        {{"<b", "x=y>z"}, "unknown(BX,y) word(z)"},
        {{"<img=a=b>"}, "tag(7,a=b)"},
    };
    for (const Case& test : cases) {
        TracingTagParser parser;
        EXPECT_EQ(parser.Run(test.text), test.trace) << test.text[0];
        EXPECT_TRUE(parser.ok) << test.text[0];
    }
}

TEST(TaggedTextParser, MalformedTagsStopWithTheirCodes) {
    struct Case {
        const char* line;
        int code;
        const char* trace;
    } cases[] = {
        {"a <=x> b", 2, "word(a)"},
        {"<a=> b", 3, ""},
        {"<> b", 2, ""},
        {"<a<b> c", 1, ""},
        {"<img=\" \">", 3, ""},
        // A '>' outside a tag closes an empty tag.
        {"a > b", 2, "word(a)"},
    };
    for (const Case& test : cases) {
        TracingTagParser parser;
        EXPECT_EQ(parser.Run({test.line, "next"}), test.trace) << test.line;
        EXPECT_FALSE(parser.ok) << test.line;
        EXPECT_EQ(parser.GetError(), test.code) << test.line;
    }
}

TEST(TaggedTextParser, LookupHonoursEnabledAndCaseSettings) {
    TracingTagParser parser;
    parser.GetTags()[0].enabled = false;
    EXPECT_EQ(parser.Run({"<b>"}), "unknown(B,)");
    parser.GetTags()[0].enabled = true;
    parser.SetCaseSensitive(true);
    EXPECT_EQ(parser.Run({"<b><B><img><IMG>"}), "unknown(b,) tag(5,) tag(7,) unknown(IMG,)");
    // The first enabled entry of a name wins.
    parser.AddTag(9, TString("B"));
    EXPECT_EQ(parser.Run({"<B>"}), "tag(5,)");
    parser.GetTags()[0].enabled = false;
    EXPECT_EQ(parser.Run({"<B>"}), "tag(9,)");
}

TEST(TaggedTextParser, KeepBlanksOptionKeepsThemInTheTagText) {
    TracingTagParser parser;
    EXPECT_FALSE(parser.GetKeepBlanksInTags());
    parser.SetKeepBlanksInTags(true);
    EXPECT_EQ(parser.Run({"< img = \"a.bmp\" > two words"}), "unknown(IMG ,a.bmp) word(two) word(words)");
    EXPECT_EQ(parser.Run({"<img=\"a b.bmp\">"}), "tag(7,a b.bmp)");
    EXPECT_EQ(parser.Run({"< b >"}), "tag(5,)");
}

TEST(TaggedTextParser, CurrentTagIdFollowsTheLastItem) {
    TracingTagParser parser;
    EXPECT_EQ(parser.GetCurrentTagId(), 0);
    parser.Run({""});
    EXPECT_EQ(parser.GetCurrentTagId(), -1);
    parser.Run({"x <b>"});
    EXPECT_EQ(parser.GetCurrentTagId(), 5);
    parser.Run({"<b> x"});
    EXPECT_EQ(parser.GetCurrentTagId(), 0);
    parser.Run({"x <unknown>"});
    EXPECT_EQ(parser.GetCurrentTagId(), 0);
}

TEST(TaggedTextParser, UnclosedTagIsDroppedAndTheNextRunStartsClean) {
    TracingTagParser parser;
    EXPECT_EQ(parser.Run({"a <b"}), "word(a)");
    EXPECT_TRUE(parser.ok);
    EXPECT_EQ(parser.Run({"c <b>"}), "word(c) tag(5,)");
}

TEST(TaggedTextParser, TagTableCopies) {
    TTagInfos table;
    table += TTagInfo(TString("B"), 5, false);
    table.NewItem()->name = "I";
    TTagInfos copy;
    copy = table;
    ASSERT_EQ(copy.GetCount(), 2);
    EXPECT_EQ(copy.First().name, TString("B"));
    EXPECT_EQ(copy.First().id, 5);
    EXPECT_FALSE(copy.First().enabled);
    EXPECT_EQ(copy.Last().name, TString("I"));
    EXPECT_EQ(copy.Mid().name, TString("I"));
    EXPECT_THROW(TTagInfos().First(), TSDPPBadIndex);
}

}  // namespace
