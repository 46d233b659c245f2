// Tests of TVGTVisualizer: words and line breaks, limits and units, fonts and
// colours, the measured sizes, and loading a topic.
#include <cstdio>
#include <string>
#include <vector>

#include "Responder.h"
#include "ShowcaseTopic.h"
#include "TempFile.h"
#include "VisualizerFixture.h"

namespace {

class VGTVisualizerTest : public ::testing::Test {
protected:
    HDC dc() const { return surface.dc(); }
    int W(const std::string& word, int weight = FW_NORMAL) const { return WordWidth(dc(), word, weight); }
    int H() const { return WordSize(dc(), "x").cy; }
    std::vector<std::string> Texts(const std::string& markup, int right = 500) {
        return Only(topic.Paint(dc(), markup, 8, 0, right), {"TextOutA"});
    }
    // The last entry named name that comes before the TextOutA of word.
    std::string LastBefore(const std::vector<std::string>& trace, const char* name, const std::string& word) {
        std::string last;
        for (const std::string& entry : trace) {
            if (entry.rfind("TextOutA(", 0) == 0 && entry.find("\"" + word + "\"") != std::string::npos) return last;
            if (entry.rfind(name, 0) == 0) last = entry;
        }
        return "no " + word;
    }

    GdiCanvas surface{800, 600};
    ProbeVisualizer topic;
};

TEST_F(VGTVisualizerTest, WordsFlowWrapAndBreak) {
    const int h = H();
    const std::string wide = "Wwwwwwwwwwwwwwwwwwww";
    const int a = W("a"), b = W("b"), q = W("\""), less = W("<"), tag = W("tag");
    const int x3 = 8 + W("aaa") + 3 + W("bbb") + 3;
    struct Case {
        std::string markup;
        int right;
        std::vector<std::string> texts;
    } cases[] = {
        {"one two", 500, {TextAt(8, 0, "one"), TextAt(8 + W("one") + 3, 0, "two")}},
        {"word<NL>next", 500, {TextAt(8, 0, "word"), TextAt(8, h, "next")}},
        {"a<QM>b<QM>c", 500,
         {TextAt(8, 0, "a"), TextAt(8 + a, 0, "\""), TextAt(8 + a + q, 0, "b"), TextAt(8 + a + q + b, 0, "\""),
          TextAt(8 + a + 2 * q + b, 0, "c")}},
        {"a<APOSTROPHE>b", 500, {TextAt(8, 0, "a"), TextAt(8 + a, 0, "'"), TextAt(8 + a + W("'"), 0, "b")}},
        {"<LESS>tag<GREATER>", 500,
         {TextAt(8, 0, "<"), TextAt(8 + less + 3, 0, "tag"), TextAt(8 + less + 3 + tag + 3, 0, ">")}},
        // A word that does not fit starts a new line at the left limit; on the
        // first line the line height is still the font size.
        {"a " + wide, 60, {TextAt(8, 0, "a"), TextAt(8, h, wide)}},
        {wide, 60, {TextAt(8, 10, wide)}},
        {"aaa bbb<INDENT=0>ccc<NL>ddd", 500,
         {TextAt(8, 0, "aaa"), TextAt(8 + W("aaa") + 3, 0, "bbb"), TextAt(x3, 0, "ccc"), TextAt(x3, h, "ddd")}},
        // Closings without their opening change nothing.
        {"a</LIST>b", 500, {TextAt(8, 0, "a"), TextAt(8 + a + 3, 0, "b")}},
        {"a</CENTER>b</RIGHT>", 500, {TextAt(8, 0, "a"), TextAt(8 + a + 3, 0, "b")}},
        {"a<RT>b<RETURN=x>", 500, {TextAt(8, 0, "a"), TextAt(8 + a + 3, 0, "b")}},
    };
    for (const Case& test : cases) EXPECT_EQ(Texts(test.markup, test.right), test.texts) << test.markup;
}

TEST_F(VGTVisualizerTest, LimitsAndUnits) {
    const int h = H(), a = W("a");
    struct Case {
        std::string markup;
        std::string text;  // where b is drawn
    } cases[] = {
        {"a<P>b", TextAt(8 + 24, h, "b")},
        {"a<TAB>b", TextAt(8 + a + 3 + 24, 0, "b")},
        {"a<SP>b", TextAt(8 + a + 3 + 3, 0, "b")},
        {"a<BS>b", TextAt(8 + a, 0, "b")},
        {"<BS><BS>b", TextAt(8, 0, "b")},
        {"<INDENT=2><ADD_INDENT=3>a<NL>b", TextAt(8 + 15, h, "b")},
        {"<INDENT=2><ADD_INDENT=-3>a<NL>b", TextAt(8 + 6, h, "b")},
        {"<INDENT=2><INDENT=4><INDENT=-1>a<NL>b", TextAt(8 + 6, h, "b")},
        {"<INDENT=2><INDENT=4><INDENT=-2>a<NL>b", TextAt(8, h, "b")},
        {"<INDENT=2><INDENT=4><UNINDENT>a<NL>b", TextAt(8 + 6, h, "b")},
        {"<LS=7>a<NL>b", TextAt(8, 7 + h, "b")},
        {"<LS=7>a<P>b", TextAt(8 + 24, 7 + h, "b")},
        // Emptied stacks pop nothing.
        {"<UNINDENT><INDENT=-1>b", TextAt(8, 0, "b")},
        // An indent to the pen inside an indent lands at the pen.
        {"<INDENT=4>a<INDENT=0>b<NL>b", TextAt(8 + 12 + a + 3, h, "b")},
    };
    for (const Case& test : cases) {
        std::vector<std::string> texts = Texts(test.markup);
        ASSERT_FALSE(texts.empty()) << test.markup;
        EXPECT_EQ(texts.back(), test.text) << test.markup;
    }
}

TEST_F(VGTVisualizerTest, MeasuredSizes) {
    const int h = H();
    const std::string wide = "Wwwwwwwwwwwwwwwwwwww";
    struct Case {
        std::string markup;
        int right;
        bool ok;
        int height;
        int maxWidth;
    } cases[] = {
        {"<NL>", 500, true, 20, 0},
        {"<LS=4><NL>", 500, true, 28, 0},
        {"a", 500, true, h, 0},
        {"a<NL>b", 500, true, 2 * h, 0},
        {wide, 60, true, 10 + h, 8 + W(wide)},
        {"<NOBREAK>one two three four five", 60, true, h,
         8 + W("one") + W("two") + W("three") + W("four") + W("five") + 4 * 3},
        // A parse error keeps what was laid out before it, without a last line break.
        {"a<NL>b<NL=x>c", 500, false, h, 0},
        // Extreme spacing stops at the coordinate limit instead of overflowing.
        {"<LS=100000><FRAME=VGAP=100000>x", 500, true, TVGTVisualizer::kCoordinateLimit, 0},
        {"<LS=-100000><FRAME=VGAP=100000>x", 500, true, -TVGTVisualizer::kCoordinateLimit, 0},
    };
    for (const Case& test : cases) {
        Measured measured = topic.Measure(dc(), test.markup, 8, 0, test.right);
        EXPECT_EQ(measured.ok, test.ok) << test.markup;
        EXPECT_EQ(measured.height, test.height) << test.markup;
        EXPECT_EQ(measured.maxWidth, test.maxWidth) << test.markup;
    }
    topic.AssignSource(TStringContainer());
    Measured empty = topic.Measure(dc());
    EXPECT_TRUE(empty.ok);
    EXPECT_EQ(empty.height, 0);
    EXPECT_EQ(empty.maxWidth, 0);
    EXPECT_EQ(topic.Measure(dc(), "a", 8, 30).height, h);
    EXPECT_EQ(topic.GetMeasuredWidth(), 500);
    EXPECT_EQ(topic.GetMeasuredHeight(), h);
}

TEST_F(VGTVisualizerTest, PaintStopsAtAParseError) {
    EXPECT_EQ(Texts("a<NL>b<NL=x>c"), (std::vector<std::string>{TextAt(8, 0, "a"), TextAt(8, H(), "b")}));
    EXPECT_FALSE(topic.paintOk);
}

TEST_F(VGTVisualizerTest, ListItemsAreNumberedInBold) {
    const std::vector<std::string> trace = topic.Paint(dc(), "<LIST><LI>a<LIST><LI>b<LI>c</LIST><LI>d</LIST>e");
    std::vector<std::string> words;
    for (const std::string& entry : Only(trace, {"TextOutA"})) {
        const size_t open = entry.find('"');
        words.push_back(entry.substr(open + 1, entry.find('"', open + 1) - open - 1));
    }
    EXPECT_EQ(words, (std::vector<std::string>{"1.", "a", "1.1", "b", "1.2", "c", "2.", "d", "e"}));
    const std::string bold = "SelectObject(Font(-13, 0, 0, 0, 700, 0, 0, 0, 1, \"Arial\"))";
    const std::string normal = "SelectObject(Font(-13, 0, 0, 0, 400, 0, 0, 0, 1, \"Arial\"))";
    EXPECT_EQ(LastBefore(trace, "SelectObject(Font", "1.1"), bold);
    EXPECT_EQ(LastBefore(trace, "SelectObject(Font", "b"), normal);
    // Items stand right of the list's keep, one tab step in per level.
    const std::vector<std::string> texts = Only(trace, {"TextOutA"});
    EXPECT_EQ(texts[0], TextAt(8 + 24, 10, "1."));
    EXPECT_EQ(texts[2].substr(0, 13), "TextOutA(56, ");
    EXPECT_EQ(texts[8].substr(0, 12), "TextOutA(8, ");
    // An item outside any list only breaks the line.
    EXPECT_EQ(Texts("a<LI>b"), (std::vector<std::string>{TextAt(8, 0, "a"), TextAt(8, H(), "b")}));
}

TEST_F(VGTVisualizerTest, FontTagsChangeTheFontAndClosingsRestoreIt) {
    struct Case {
        const char* markup;
        const char* font;  // selected when x is drawn
    } cases[] = {
        {"x", "-13, 0, 0, 0, 400, 0, 0, 0, 1, \"Arial\""},
        {"<B>x", "-13, 0, 0, 0, 700, 0, 0, 0, 1, \"Arial\""},
        {"<BOLD></B>x", "-13, 0, 0, 0, 400, 0, 0, 0, 1, \"Arial\""},
        {"<U>x", "-13, 0, 0, 0, 400, 0, 1, 0, 1, \"Arial\""},
        {"<I>x", "-13, 0, 0, 0, 400, 1, 0, 0, 1, \"Arial\""},
        {"<S>x", "-13, 0, 0, 0, 400, 0, 0, 1, 1, \"Arial\""},
        {"<I><U><S></I></S>x", "-13, 0, 0, 0, 400, 0, 1, 0, 1, \"Arial\""},
        {"<FS=20>x", "-27, 0, 0, 0, 400, 0, 0, 0, 1, \"Arial\""},
        {"<FF=Courier New>x", "-13, 0, 0, 0, 400, 0, 0, 0, 1, \"Courier New\""},
        {"<FS=100000>x", "-1333, 0, 0, 0, 400, 0, 0, 0, 1, \"Arial\""},
        {"<FS=-100000>x", "1333, 0, 0, 0, 400, 0, 0, 0, 1, \"Arial\""},
    };
    for (const Case& test : cases) {
        const std::vector<std::string> trace = topic.Paint(dc(), test.markup);
        EXPECT_EQ(LastBefore(trace, "SelectObject(Font", "x"), std::string("SelectObject(Font(") + test.font + "))")
            << test.markup;
    }
}

TEST_F(VGTVisualizerTest, TextAndLinkColours) {
    struct Case {
        const char* markup;
        const char* word;
        const char* colour;
    } cases[] = {
        {"<FC=FF0000>red", "red", "0x000000FF"},
        {"<LINK=x.vgt>go</LINK> back", "go", "0x00FF0000"},
        {"<LINK=x.vgt>go</LINK> back", "back", "0x00000000"},
        {"<LINKCOLOR=00FF00><LINK=x.vgt>go</LINK> back", "go", "0x0000FF00"},
        {"<LINKCOLOR=00FF00><LINK=x.vgt>go</LINK> back", "back", "0x00000000"},
        {"<FC=0000FF><LINK=x.vgt>go</LINK> back", "back", "0x00FF0000"},
    };
    for (const Case& test : cases) {
        const std::vector<std::string> trace = topic.Paint(dc(), test.markup);
        EXPECT_EQ(LastBefore(trace, "SetTextColor", test.word), std::string("SetTextColor(") + test.colour + ")")
            << test.markup << " " << test.word;
    }
    const std::vector<std::string> trace = topic.Paint(dc(), "x");
    EXPECT_EQ(LastBefore(trace, "SetBkMode", "x"), "SetBkMode(1)");
}

TEST_F(VGTVisualizerTest, PassesLeaveNoObjectBehind) {
    topic.fonts.clear();
    const std::string markup =
        "<B>a</B><I>b<FS=14>c<LINK=x>d</LINK><HLINE><PAINTBK=FF0000>e</PAINTBK><FRAME>f</FRAME><BKCOLOR=EEEEEE>";
    topic.Paint(dc(), markup, 8, 0, 500, true);
    ASSERT_GT(topic.fonts.size(), 10u);
    for (HFONT font : topic.fonts) EXPECT_EQ(GetObjectType(font), 0u);
    EXPECT_EQ(GetCurrentObject(dc(), OBJ_FONT), GetStockObject(SYSTEM_FONT));
    EXPECT_EQ(GetCurrentObject(dc(), OBJ_PEN), GetStockObject(BLACK_PEN));
    EXPECT_EQ(GetCurrentObject(dc(), OBJ_BRUSH), GetStockObject(WHITE_BRUSH));
}

// A pass measures each word once per font; the words repeated lie where
// measuring each would put them.
TEST_F(VGTVisualizerTest, EachWordIsMeasuredOncePerFontAndPass) {
    const std::string markup = "a bb a bb <B>a</B> a <B>a bb</B> ccc";
    std::vector<std::string> trace = topic.Paint(dc(), markup, 8, 0, 500);
    EXPECT_EQ(Only(trace, {"GetTextExtentPoint32A"}).size(), 5u);
    int x = 8;
    std::vector<std::string> expected;
    for (const auto& [word, weight] : std::vector<std::pair<std::string, int>>{
             {"a", FW_NORMAL}, {"bb", FW_NORMAL}, {"a", FW_NORMAL}, {"bb", FW_NORMAL}, {"a", FW_BOLD},
             {"a", FW_NORMAL}, {"a", FW_BOLD}, {"bb", FW_BOLD}, {"ccc", FW_NORMAL}}) {
        expected.push_back(TextAt(x, 0, word));
        x += W(word, weight) + 3;
    }
    EXPECT_EQ(Only(trace, {"TextOutA"}), expected);
}

// A visualizer of exactly its class runs the parser's character loop with
// direct calls, a derived one through the virtual table: both lay out, collect
// and paint alike, malformed markup included.
TEST_F(VGTVisualizerTest, DirectAndVirtualParserRunsAgree) {
    struct Derived : TVGTVisualizer {};
    const char* const markups[] = {
        kShowcase,
        "a <b>x</b> <FS =10>y <//B>z\n\"quoted <B>tag\" text\" end",
        "tab\there  <LINK=a.vgt,TARGET=p>two words</LINK> x>y\n<LESS>",
        "one <NL> two <a<b> three",
        "<P>before<NL=1>after",
        "x <> y",
    };
    for (const char* markup : markups) {
        TVGTVisualizer exact;
        Derived derived;
        std::vector<std::string> runs[2];
        TVGTVisualizer* both[] = {&exact, &derived};
        for (int i = 0; i < 2; ++i) {
            TVGTVisualizer& topic = *both[i];
            topic.AssignSource(MarkupLines(markup));
            topic.SetCollectLinks(true);
            int height = 0, maxWidth = 0;
            EnableCallTrace(dc(), true);
            const bool measured = topic.MeasureTopic(dc(), 8, 0, 300, height, maxWidth, true, true);
            const bool painted = topic.PaintTopic(dc(), 8, 0, 300, false, true, true);
            runs[i] = GetCallTrace(dc());
            EnableCallTrace(dc(), false);
            runs[i].push_back(std::to_string(measured) + std::to_string(painted) + " error " +
                              std::to_string(topic.GetError()) + " size " + std::to_string(height) + "," +
                              std::to_string(maxWidth) + " links " + std::to_string(topic.GetLinks().GetCount()));
        }
        EXPECT_FALSE(Only(runs[0], {"TextOutA"}).empty()) << markup;
        EXPECT_EQ(runs[0], runs[1]) << markup;
    }
}

// ---- loading a topic ----

TEST_F(VGTVisualizerTest, LoadSourceReadsTheFileOrShowsTheTopicError) {
    TempFile file("first line\r\n<B>second</B>\n");
    ASSERT_TRUE(topic.LoadSource(file.Path()));
    ASSERT_EQ(topic.GetSource().GetCount(), 2);
    EXPECT_EQ(topic.GetSource()[0], TString("first line"));

    std::vector<win32::ModalInteraction> seen;
    win32::ScopedResponder responder([&](const win32::ModalInteraction& interaction) {
        seen.push_back(interaction);
        return win32::ModalReply::Answer(IDOK);
    });
    const std::string longName = std::string(5000, 'n') + ".vgt";
    for (const std::string& name : {std::string("missing.vgt"), longName}) {
        seen.clear();
        EXPECT_FALSE(topic.LoadSource(TString(name)));
        ASSERT_EQ(seen.size(), 1u);
        EXPECT_EQ(seen[0].kind, win32::ModalKind::MessageBox);
        EXPECT_EQ(seen[0].caption, "Select link or topic");
        EXPECT_EQ(seen[0].text, "The " + name + " topic can not be opened");
        EXPECT_EQ(seen[0].style & MB_ICONMASK, static_cast<UINT>(MB_ICONWARNING));
    }
    // A failed load keeps the topic that was there.
    EXPECT_EQ(topic.GetSource().GetCount(), 2);

    seen.clear();
    topic.ImageLinksError(TString("map.ald"));
    ASSERT_EQ(seen.size(), 1u);
    EXPECT_EQ(seen[0].caption, "Load image links");
    EXPECT_EQ(seen[0].text, "The map.ald image links can not be opened");
}

}  // namespace
