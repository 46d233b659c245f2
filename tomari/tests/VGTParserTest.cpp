// Tests of TVGTParser: the tag table, the parameter rules and the dispatch to
// the handlers, and markup read as words and tags.
#include <gtest/gtest.h>

#include <random>
#include <set>
#include <string>
#include <vector>

#include "VGTParser.h"

namespace {

// Each handler appends its name, argument and closing flag; words appear as
// Word(text) and unknown tags as Unknown(name,parameter).
class RecordingParser : public TVGTParser {
public:
    std::string Run(const std::string& text) {
        trace.clear();
        TStringContainer lines;
        size_t start = 0;
        for (size_t end; (end = text.find('\n', start)) != std::string::npos; start = end + 1)
            lines.Add(TString(text.substr(start, end - start)));
        lines.Add(TString(text.substr(start)));
        ok = Parse(lines);
        return trace;
    }

    std::string trace;
    bool ok = false;

protected:
    void Record(const std::string& event) { trace += (trace.empty() ? "" : " ") + event; }
    static std::string Flag(bool closing) { return closing ? "close" : "open"; }

    void ParseSymbol(const TString& word) override {
        TVGTParser::ParseSymbol(word);
        Record("Word(" + word.str() + ")");
    }
    void ParseUnknownTag(const TString& name, const TString& parameter, bool) override {
        Record("Unknown(" + name.str() + "," + parameter.str() + ")");
    }

#define RECORD_PLAIN(Name) \
    void Name() override { Record(#Name "()"); }
#define RECORD_FLAG(Name) \
    void Name(bool closing) override { Record(#Name "(" + Flag(closing) + ")"); }
#define RECORD_TEXT(Name) \
    void Name(const TString& text) override { Record(#Name "(" + text.str() + ")"); }
#define RECORD_NUMBER(Name) \
    void Name(int number) override { Record(#Name "(" + std::to_string(number) + ")"); }
#define RECORD_TEXT_FLAG(Name) \
    void Name(const TString& text, bool closing) override { Record(#Name "(" + text.str() + "," + Flag(closing) + ")"); }

    RECORD_PLAIN(DoParagraph)
    RECORD_PLAIN(DoNewLine)
    RECORD_PLAIN(DoTab)
    RECORD_PLAIN(DoSpace)
    RECORD_PLAIN(DoBackspace)
    RECORD_FLAG(DoNoBreak)
    RECORD_TEXT(DoImage)
    RECORD_FLAG(DoBold)
    RECORD_FLAG(DoUnderline)
    RECORD_FLAG(DoItalic)
    RECORD_FLAG(DoStrikeOut)
    RECORD_NUMBER(DoFontSize)
    RECORD_TEXT(DoFontColor)
    RECORD_TEXT(DoFontFace)
    RECORD_NUMBER(DoLineSpace)
    RECORD_NUMBER(DoIndent)
    RECORD_NUMBER(DoAddIndent)
    RECORD_PLAIN(DoUnindent)
    RECORD_FLAG(DoList)
    RECORD_PLAIN(DoListItem)
    RECORD_TEXT(DoSetCol)
    RECORD_PLAIN(DoStartCol)
    RECORD_PLAIN(DoColBreak)
    RECORD_PLAIN(DoEndCol)
    RECORD_TEXT(DoColCaptions)
    RECORD_PLAIN(DoClearCols)
    RECORD_TEXT_FLAG(DoLink)
    RECORD_TEXT(DoLinkColor)
    RECORD_TEXT(DoLineColor)
    RECORD_TEXT(DoHLine)
    RECORD_TEXT_FLAG(DoFrame)
    RECORD_TEXT(DoForm)
    RECORD_TEXT_FLAG(DoAlign)
    RECORD_TEXT(DoBkColor)
    RECORD_TEXT(DoBkImage)
    RECORD_FLAG(DoCenter)
    RECORD_FLAG(DoRight)
    RECORD_TEXT_FLAG(DoPaintBk)
    RECORD_TEXT(DoPanel)
    RECORD_PLAIN(DoLess)
    RECORD_PLAIN(DoGreater)
    RECORD_PLAIN(DoQM)
    RECORD_PLAIN(DoApostrophe)
    void DoOtherTag(int code, const TString& text, bool closing) override {
        Record("DoOtherTag(" + std::to_string(code) + "," + text.str() + "," + Flag(closing) + ")");
    }
};

// How a tag treats its parameter and its closing form.
enum class Kind {
    Plain,         // no parameter; closing handled as opening
    Flag,          // no parameter; the handler takes the closing flag
    Text,          // required text
    Number,        // required number
    Link,          // required when opening; text and flag
    Captions,      // optional; an empty text when closing
    Optional,      // optional text; closing handled as opening
    OptionalFlag,  // optional text and the closing flag
    Other,         // anything, to DoOtherTag
};

struct TagCase {
    int code;
    std::vector<std::string> names;
    const char* handler;
    Kind kind;
};

// The markup's tag table, in its order.
const std::vector<TagCase>& TagTable() {
    static const std::vector<TagCase> table = {
        {1, {"PARAGRAPH", "P"}, "DoParagraph", Kind::Plain},
        {2, {"NEWLINE", "NL"}, "DoNewLine", Kind::Plain},
        {3, {"TAB"}, "DoTab", Kind::Plain},
        {4, {"SPACE", "SP"}, "DoSpace", Kind::Plain},
        {5, {"BACKSPACE", "BS"}, "DoBackspace", Kind::Plain},
        {6, {"RETURN", "RT"}, "DoOtherTag", Kind::Other},
        {7, {"NOBREAK"}, "DoNoBreak", Kind::Flag},
        {9, {"IMAGE"}, "DoImage", Kind::Text},
        {10, {"B", "BOLD"}, "DoBold", Kind::Flag},
        {11, {"U", "UNDERLINE"}, "DoUnderline", Kind::Flag},
        {12, {"I", "ITALIC"}, "DoItalic", Kind::Flag},
        {13, {"S", "STRIKEOUT"}, "DoStrikeOut", Kind::Flag},
        {14, {"FS", "FONTSIZE"}, "DoFontSize", Kind::Number},
        {15, {"FC", "FONTCOLOR"}, "DoFontColor", Kind::Text},
        {16, {"FF", "FONTFACE"}, "DoFontFace", Kind::Text},
        {18, {"LINESPACE", "LS"}, "DoLineSpace", Kind::Number},
        {40, {"INDENT"}, "DoIndent", Kind::Number},
        {41, {"ADD_INDENT"}, "DoAddIndent", Kind::Number},
        {42, {"UNINDENT"}, "DoUnindent", Kind::Plain},
        {50, {"LIST"}, "DoList", Kind::Flag},
        {51, {"LI", "LISTITEM"}, "DoListItem", Kind::Plain},
        {60, {"SETCOL"}, "DoSetCol", Kind::Text},
        {61, {"STARTCOL"}, "DoStartCol", Kind::Plain},
        {62, {"COLBREAK"}, "DoColBreak", Kind::Plain},
        {63, {"ENDCOL"}, "DoEndCol", Kind::Plain},
        {64, {"COLCAPTIONS"}, "DoColCaptions", Kind::Captions},
        {65, {"CLEARCOLS"}, "DoClearCols", Kind::Plain},
        {70, {"LINK"}, "DoLink", Kind::Link},
        {71, {"LINKCOLOR"}, "DoLinkColor", Kind::Text},
        {80, {"LINECOLOR"}, "DoLineColor", Kind::Text},
        {81, {"HLINE"}, "DoHLine", Kind::Optional},
        {90, {"FRAME"}, "DoFrame", Kind::OptionalFlag},
        {95, {"FORM"}, "DoForm", Kind::Optional},
        {100, {"ALIGN"}, "DoAlign", Kind::OptionalFlag},
        {110, {"BKCOLOR"}, "DoBkColor", Kind::Text},
        {111, {"BKIMAGE"}, "DoBkImage", Kind::Text},
        {120, {"CENTER"}, "DoCenter", Kind::Flag},
        {121, {"RIGHT"}, "DoRight", Kind::Flag},
        {130, {"PAINTBK"}, "DoPaintBk", Kind::OptionalFlag},
        {140, {"PANEL"}, "DoPanel", Kind::Text},
        {200, {"LESS"}, "DoLess", Kind::Plain},
        {201, {"GREATER"}, "DoGreater", Kind::Plain},
        {202, {"QM"}, "DoQM", Kind::Plain},
        {203, {"APOSTROPHE"}, "DoApostrophe", Kind::Plain},
    };
    return table;
}

// What one tag form gives: the handler's record, or the error code.
struct Outcome {
    std::string record;
    int error = 0;
};

// The parameter used is "12abc", which numbers read as 12.
Outcome Expected(const TagCase& tag, bool closing, bool withParameter) {
    const std::string handler = tag.handler;
    const std::string flag = closing ? "close" : "open";
    const std::string text = withParameter ? "12abc" : "";
    switch (tag.kind) {
        case Kind::Plain:
            return withParameter ? Outcome{"", 101} : Outcome{handler + "()"};
        case Kind::Flag:
            return withParameter ? Outcome{"", 101} : Outcome{handler + "(" + flag + ")"};
        case Kind::Text:
            return withParameter ? Outcome{handler + "(12abc)"} : Outcome{"", 102};
        case Kind::Number:
            return withParameter ? Outcome{handler + "(12)"} : Outcome{"", 102};
        case Kind::Link:
            if (!closing && !withParameter) return Outcome{"", 102};
            return Outcome{handler + "(" + text + "," + flag + ")"};
        case Kind::Captions:
            return Outcome{handler + "(" + (closing ? "" : text) + ")"};
        case Kind::Optional:
            return Outcome{handler + "(" + text + ")"};
        case Kind::OptionalFlag:
            return Outcome{handler + "(" + text + "," + flag + ")"};
        case Kind::Other:
            return Outcome{"DoOtherTag(" + std::to_string(tag.code) + "," + text + "," + flag + ")"};
    }
    return Outcome{};
}

TEST(VGTParser, TagTableHoldsEveryNameInOrder) {
    RecordingParser parser;
    std::vector<std::pair<std::string, int>> expected, actual;
    for (const TagCase& tag : TagTable())
        for (const std::string& name : tag.names) expected.emplace_back(name, tag.code);
    for (int i = 0; i < parser.GetTags().GetCount(); ++i)
        actual.emplace_back(parser.GetTags()[i].name.str(), parser.GetTags()[i].id);
    EXPECT_EQ(actual, expected);
    EXPECT_EQ(TagTable().size(), 44u);
    EXPECT_TRUE(parser.GetCaseSensitive());
    EXPECT_TRUE(parser.GetKeepBlanksInTags());
}

TEST(VGTParser, EveryTagFormReachesItsHandlerOrStopsWithItsRule) {
    RecordingParser parser;
    for (const TagCase& tag : TagTable()) {
        for (const std::string& name : tag.names) {
            for (bool closing : {false, true}) {
                for (bool withParameter : {false, true}) {
                    const std::string markup =
                        std::string(closing ? "</" : "<") + name + (withParameter ? "=12abc" : "") + "> after";
                    const Outcome outcome = Expected(tag, closing, withParameter);
                    const std::string trace = parser.Run(markup);
                    if (outcome.error == 0) {
                        EXPECT_EQ(trace, outcome.record + " Word(after)") << markup;
                        EXPECT_TRUE(parser.ok) << markup;
                    } else {
                        EXPECT_EQ(trace, "") << markup;
                        EXPECT_FALSE(parser.ok) << markup;
                        EXPECT_EQ(parser.GetError(), outcome.error) << markup;
                    }
                }
            }
        }
    }
}

TEST(VGTParser, NumbersAreReadAsFarAsTheyGo) {
    RecordingParser parser;
    EXPECT_EQ(parser.Run("<FS=abc><LINESPACE=-3px><INDENT= 7><ADD_INDENT=\"10\">"),
              "DoFontSize(0) DoLineSpace(-3) DoIndent(7) DoAddIndent(10)");
}

TEST(VGTParser, CodesOutsideTheTableReachDoOtherTag) {
    RecordingParser parser;
    std::set<int> known;
    for (const TagCase& tag : TagTable()) known.insert(tag.code);
    for (int code = 0; code < 300; ++code) {
        if (known.count(code) != 0) continue;
        parser.trace.clear();
        parser.ParseKnownTag(code, TString("x"), true);
        EXPECT_EQ(parser.trace, "DoOtherTag(" + std::to_string(code) + ",x,close)");
    }
}

TEST(VGTParser, MarkupIsReadAsWordsAndTags) {
    struct Case {
        const char* markup;
        const char* trace;
    } cases[] = {
        {"x <b>y</b> z", "Word(x) Unknown(b,) Word(y) Unknown(b,) Word(z)"},
        {"<B>bold<//B>", "DoBold(open) Word(bold) DoBold(close)"},
        {"<FS=\"10\">", "DoFontSize(10)"},
        {"<FS =10>", "Unknown(FS ,10)"},
        {"<FF=Courier New>", "DoFontFace(Courier New)"},
        {"< NL >", "DoNewLine()"},
        {"word<NL>next", "Word(word) DoNewLine() Word(next)"},
        {"two\nlines", "Word(two) Word(lines)"},
        {"<LINK=functions.vgt,TARGET=main>here</LINK>",
         "DoLink(functions.vgt,TARGET=main,open) Word(here) DoLink(,close)"},
        {"a<QM>b<QM>c", "Word(a) DoQM() Word(b) DoQM() Word(c)"},
    };
    RecordingParser parser;
    for (const Case& test : cases) {
        EXPECT_EQ(parser.Run(test.markup), test.trace) << test.markup;
        EXPECT_TRUE(parser.ok) << test.markup;
    }
}

TEST(VGTParser, MalformedTagsStopAtOnce) {
    struct Case {
        const char* markup;
        int error;
        const char* trace;
    } cases[] = {
        {"a <a<b> c", 1, "Word(a)"},
        {"a <> c", 2, "Word(a)"},
        {"a <=x> c", 2, "Word(a)"},
        {"a <a=> c", 3, "Word(a)"},
        {"a <NL=1> c\nnext line", 101, "Word(a)"},
        {"a <NL> b <FS> c", 102, "Word(a) DoNewLine() Word(b)"},
    };
    RecordingParser parser;
    for (const Case& test : cases) {
        EXPECT_EQ(parser.Run(test.markup), test.trace) << test.markup;
        EXPECT_FALSE(parser.ok) << test.markup;
        EXPECT_EQ(parser.GetError(), test.error) << test.markup;
    }
}

TEST(VGTParser, CurrentTagCodeIsThatOfTheItemBefore) {
    RecordingParser parser;
    parser.Run("word <NL>");
    EXPECT_EQ(parser.GetCurrentTagId(), 2);
    parser.Run("<NL> word");
    EXPECT_EQ(parser.GetCurrentTagId(), 0);
    parser.Run("<B> <unknown>");
    EXPECT_EQ(parser.GetCurrentTagId(), 10);
}

// Random tag soup: every tag name, random parameters, stray brackets, slashes
// and quotes. The parse may fail but must stay within its input.
TEST(VGTParser, RandomMarkupParsesSafely) {
    std::vector<std::string> pieces = {"<", ">", "/", "\"", "=", ",", " ", "%", "word", "12", "-99999999999",
                                       "FF0000", "#", "NUM=0", "POS=35%", "\t"};
    for (const TagCase& tag : TagTable())
        for (const std::string& name : tag.names) pieces.push_back(name);
    std::mt19937 random(67);
    RecordingParser parser;
    for (int round = 0; round < 3000; ++round) {
        std::string markup;
        const int count = static_cast<int>(random() % 40);
        for (int i = 0; i < count; ++i) {
            if (random() % 4 == 0) markup += "<";
            markup += pieces[random() % pieces.size()];
            if (random() % 5 == 0) markup += "\n";
        }
        parser.Run(markup);
        if (!parser.ok) {
            EXPECT_GE(parser.GetError(), 1) << markup;
        }
    }
}

}  // namespace
