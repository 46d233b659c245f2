// Tests of TVGTVisualizer's layout blocks and collected records: columns,
// lines, frames, alignment, centred and right-aligned stretches, links,
// coloured blocks, the background, sub-panels and forms.
#include <random>
#include <string>
#include <vector>

#include "VisualizerFixture.h"

namespace {

class VGTLayoutTest : public ::testing::Test {
protected:
    HDC dc() const { return surface.dc(); }
    int W(const std::string& word) const { return WordWidth(dc(), word); }
    int H() const { return WordSize(dc(), "x").cy; }
    std::vector<std::string> Paint(const std::string& markup, int right = 500, bool withBackground = false) {
        return topic.Paint(dc(), markup, 8, 0, right, withBackground);
    }
    std::vector<std::string> Drawn(const std::string& markup, int right = 500) {
        return Only(Paint(markup, right), {"TextOutA", "MoveToEx", "LineTo", "Rectangle"});
    }
    // The limits where a pass stopped; a trailing parse error stops it there.
    std::pair<int, int> LimitsAfter(const std::string& markup) {
        topic.Measure(dc(), markup + "<NL=stop>");
        return {topic.GetLeftLimit(), topic.GetRightLimit()};
    }
    static std::string MoveTo(int x, int y) { return "MoveToEx(" + std::to_string(x) + ", " + std::to_string(y) + ")"; }
    static std::string LineTo(int x, int y) { return "LineTo(" + std::to_string(x) + ", " + std::to_string(y) + ")"; }
    static std::string Line(int x1, int y1, int x2, int y2) { return MoveTo(x1, y1) + " " + LineTo(x2, y2); }
    // Lines of a trace, each MoveToEx joined with its LineTo.
    static std::vector<std::string> Lines(const std::vector<std::string>& trace) {
        std::vector<std::string> lines;
        for (size_t i = 0; i + 1 < trace.size(); ++i)
            if (trace[i].rfind("MoveToEx", 0) == 0 && trace[i + 1].rfind("LineTo", 0) == 0)
                lines.push_back(trace[i] + " " + trace[i + 1]);
        return lines;
    }

    GdiCanvas surface{800, 600};
    ProbeVisualizer topic;
};

// ---- columns ----

TEST_F(VGTLayoutTest, ColumnBordersAndLimits) {
    // 8 + 492 * 35 / 100 = 180, with a gap of 2 space units on each side.
    EXPECT_EQ(LimitsAfter("<SETCOL=NUM=0,POS=35%,GAP=2><STARTCOL>"), std::make_pair(8, 174));
    ASSERT_EQ(topic.fColumns.GetCount(), 1);
    EXPECT_EQ(topic.fColumns[0].position, 180);
    EXPECT_EQ(topic.fColumns[0].gap, 6);
    EXPECT_EQ(LimitsAfter("<SETCOL=NUM=0,POS=35%,GAP=2><STARTCOL><COLBREAK>"), std::make_pair(186, 500));

    struct Case {
        const char* markup;
        std::vector<std::pair<int, int>> borders;  // position, gap
    } cases[] = {
        {"<SETCOL=NUM=0,POS=50%>", {{254, 6}}},
        {"<SETCOL=NUM=0,POS=50%><SETCOL=NUM=1,POS=75%,GAP=1>", {{254, 6}, {377, 3}}},
        {"<SETCOL=NUM=0,POS=50%><SETCOL=NUM=0,POS=25%>", {{131, 6}}},
        {"<SETCOL=NUM=5,POS=50%>", {{254, 6}}},
        {"<SETCOL=NUM=0,POS=50%><SETCOL=NUM=1,POS=75%><SETCOL=NUM=0,GAP=2>", {{254, 6}}},
        {"<SETCOL=NUM=0,POS=50%><CLEARCOLS>", {}},
        // Without '%', outside 5..95, with blanks around '=' or alone: no position.
        {"<SETCOL=NUM=0,POS=50><SETCOL=NUM=0,POS=96%><SETCOL=NUM=0,POS =50%><SETCOL=POS=50%>", {}},
        // A negative NUM is ignored, and an empty table loses nothing.
        {"<SETCOL=NUM=-1,POS=50%><SETCOL=NUM=-1,GAP=2><SETCOL=NUM=0,GAP=2>", {}},
    };
    for (const Case& test : cases) {
        topic.Measure(dc(), std::string(test.markup) + "<NL=stop>");
        std::vector<std::pair<int, int>> borders;
        for (int i = 0; i < topic.fColumns.GetCount(); ++i)
            borders.emplace_back(topic.fColumns[i].position, topic.fColumns[i].gap);
        EXPECT_EQ(borders, test.borders) << test.markup;
    }
}

TEST_F(VGTLayoutTest, ColumnRowsCaptionsAndSeparators) {
    const int h = H();
    const std::string table = "<SETCOL=NUM=0,POS=50%><COLCAPTIONS=Name,Value><STARTCOL>a<COLBREAK>b<ENDCOL>c";
    EXPECT_EQ(Drawn(table), (std::vector<std::string>{TextAt(8, 0, "Name"), TextAt(260, 0, "Value"), MoveTo(8, h),
                                                      LineTo(500, h), TextAt(8, h, "a"), TextAt(260, h, "b"),
                                                      MoveTo(254, h), LineTo(254, 2 * h), TextAt(8, 2 * h, "c")}));
    // A row ends after its last column: separators down to the lowest line,
    // then the next row starts there in the first column, which has no
    // separator before it when ENDCOL comes.
    const std::vector<std::string> rows =
        Only(Paint("<SETCOL=NUM=0,POS=50%><STARTCOL>a<NL>a2<COLBREAK>b<COLBREAK>c<ENDCOL>"), {"TextOutA", "LineTo"});
    EXPECT_EQ(rows, (std::vector<std::string>{TextAt(8, 0, "a"), TextAt(8, h, "a2"), TextAt(260, 0, "b"),
                                              LineTo(254, 2 * h), TextAt(8, 2 * h, "c")}));
    // Captions need one more than there are borders; closing COLCAPTIONS empties them.
    EXPECT_EQ(Only(Paint("<SETCOL=NUM=0,POS=50%><COLCAPTIONS=One><STARTCOL>a<ENDCOL>"), {"TextOutA"}),
              (std::vector<std::string>{TextAt(8, 0, "a")}));
    EXPECT_EQ(Only(Paint("<SETCOL=NUM=0,POS=50%><COLCAPTIONS=A,B></COLCAPTIONS><STARTCOL>a<ENDCOL>"), {"TextOutA"}),
              (std::vector<std::string>{TextAt(8, 0, "a")}));
}

TEST_F(VGTLayoutTest, ColumnsThatLoseTheirBordersCountAsTheLastColumn) {
    const int h = H();
    // The table goes while the pen is in the second column: the line ends
    // there and no separator is drawn for the border that went.
    EXPECT_EQ(Only(Paint("<SETCOL=NUM=0,POS=50%><STARTCOL>a<COLBREAK><CLEARCOLS>b<COLBREAK>c<ENDCOL>"),
                   {"TextOutA", "LineTo"}),
              (std::vector<std::string>{TextAt(8, 0, "a"), TextAt(260, 0, "b"), TextAt(8, h, "c")}));
    // Two borders, in the third column, then SETCOL removes the last border.
    EXPECT_EQ(LimitsAfter("<SETCOL=NUM=0,POS=30%><SETCOL=NUM=1,POS=60%><STARTCOL><COLBREAK><COLBREAK>"
                          "<SETCOL=NUM=1,GAP=2>"),
              std::make_pair(8 + 147 + 6, 500));
    // COLBREAK and ENDCOL outside columns only break the line.
    EXPECT_EQ(Only(Paint("<SETCOL=NUM=0,POS=50%><STARTCOL>a<COLBREAK>b<ENDCOL>c<COLBREAK>d<ENDCOL>e"),
                   {"TextOutA"}),
              (std::vector<std::string>{TextAt(8, 0, "a"), TextAt(260, 0, "b"), TextAt(8, h, "c"),
                                        TextAt(8, 2 * h, "d"), TextAt(8, 3 * h, "e")}));
}

// ---- lines and frames ----

TEST_F(VGTLayoutTest, HorizontalLines) {
    const int h = H();
    struct Case {
        const char* markup;
        std::vector<std::string> lines;
        std::string after;  // where "b" is drawn
    } cases[] = {
        {"a<HLINE>b", {Line(8, h, 500, h)}, TextAt(8, h, "b")},
        {"a<NL><HLINE>b", {Line(8, h, 500, h)}, TextAt(8, h, "b")},
        {"<HLINE>b", {Line(8, 10, 500, 10)}, TextAt(8, 10, "b")},
        {"a<HLINE=SIZE=50%>b", {Line(131, h, 377, h)}, TextAt(8, h, "b")},
        {"a<HLINE=SIZE=50>b", {Line(131, h, 377, h)}, TextAt(8, h, "b")},
        {"<LS=4>a<HLINE>b", {Line(8, h + 4 + 2, 500, h + 4 + 2)}, TextAt(8, h + 4 + 4, "b")},
        {"<LS=4>a<HLINE=GAP=3,STYLE=SOLID>b", {Line(8, h + 4 + 6, 500, h + 4 + 6)}, TextAt(8, h + 4 + 12, "b")},
        {"<LINECOLOR=FF0000>a<HLINE>b", {Line(8, h, 500, h)}, TextAt(8, h, "b")},
    };
    for (const Case& test : cases) {
        const std::vector<std::string> trace = Paint(test.markup);
        EXPECT_EQ(Lines(trace), test.lines) << test.markup;
        EXPECT_EQ(Only(trace, {"TextOutA"}).back(), test.after) << test.markup;
    }
    const std::vector<std::string> red = Paint("<LINECOLOR=FF0000>a<HLINE>");
    EXPECT_EQ(Only(red, {"SelectObject(Pen"}), (std::vector<std::string>{"SelectObject(Pen(PS_SOLID, 1, 0x000000FF))"}));
}

// The paint pass walks a whole topic; a line that cannot reach the 800 x 600
// surface is left out, one that crosses its edge is drawn.
TEST_F(VGTLayoutTest, LinesOutsideTheSurfaceAreLeftOut) {
    const int h = H();
    std::string rules;
    int shown = 0;
    for (int i = 1; i <= 60; ++i) {
        rules += "x<HLINE>";
        shown += i * h < 600;
    }
    ASSERT_LT(shown, 60);
    EXPECT_EQ(Lines(Paint(rules)).size(), static_cast<size_t>(shown));

    const int before = 600 / h - 2;
    std::string framed;
    for (int i = 0; i < before; ++i) framed += "x<NL>";
    framed += "<FRAME>y<NL>y<NL>y<NL>y<NL>y<NL>y<NL></FRAME>";
    const int top = before * h, bottom = top + 6 * h + 10;
    ASSERT_GT(bottom, 600);
    EXPECT_EQ(Lines(Paint(framed)), (std::vector<std::string>{Line(57, top, 450, top), Line(450, top, 450, bottom),
                                                              Line(57, bottom, 57, top)}));
}

TEST_F(VGTLayoutTest, FramesNarrowTheTextAndDrawTheirSides) {
    const int h = H();
    // 50 % of 492 is 246, centred: left 8 + 123, the text 2 space units inside.
    EXPECT_EQ(LimitsAfter("<FRAME=WIDTH=50%,HGAP=2>"), std::make_pair(137, 371));
    EXPECT_EQ(LimitsAfter("<FRAME= WIDTH = 50 , HGAP = 2 , ALIGN = LEFT >"), std::make_pair(14, 248));
    EXPECT_EQ(LimitsAfter("<FRAME=WIDTH=50%,HGAP=2,ALIGN=RIGHT>"), std::make_pair(260, 494));
    EXPECT_EQ(LimitsAfter("<FRAME>"), std::make_pair(8 + 49 + 12, 8 + 49 + 393 - 12));
    EXPECT_EQ(LimitsAfter("<FRAME=WIDTH=10%>"), LimitsAfter("<FRAME>"));
    EXPECT_EQ(LimitsAfter("<FRAME=WIDTH=50%,HGAP=2>in</FRAME>"), std::make_pair(8, 500));

    const std::vector<std::string> trace = Paint("<FRAME=WIDTH=50%,HGAP=2>inside</FRAME>after");
    EXPECT_EQ(Lines(trace), (std::vector<std::string>{Line(131, 0, 377, 0), Line(377, 0, 377, h),
                                                      Line(377, h, 131, h), Line(131, h, 131, 0)}));
    EXPECT_EQ(Only(trace, {"TextOutA"}), (std::vector<std::string>{TextAt(137, 0, "inside"), TextAt(8, h, "after")}));
    // A frame that does not fit after the pen starts on a new line; VGAP counts line spaces.
    const std::string wide(60, 'w');
    ASSERT_GT(8 + W(wide) + 3 + 1593, 2000);
    const std::vector<std::string> spaced = Paint("<LS=2>" + wide + "<FRAME=VGAP=3>x</FRAME>", 2000);
    EXPECT_EQ(Only(spaced, {"TextOutA"}).back(), TextAt(8 + 12 + (2000 - 8 - 1593) / 2, 2 + h + 3 * 2, "x"));
}

// ---- alignment ----

TEST_F(VGTLayoutTest, AlignSetsTheLimits) {
    struct Case {
        const char* markup;
        std::pair<int, int> limits;
    } cases[] = {
        {"<ALIGN=LEFT,WIDTH=50%>", {8, 254}},
        {"<ALIGN=RIGHT,WIDTH=50%>", {254, 500}},
        {"<ALIGN=CENTER,WIDTH=50%>", {131, 377}},
        {"<ALIGN=NONE,WIDTH=50%>", {8, 500}},
        {"<ALIGN=LEFT>", {8, 8 + 393}},
        {"<ALIGN=LEFT=1,WIDTH=200>", {8, 8 + 393}},
        {"<ALIGN=LEFT,WIDTH=1%>", {8, 8 + 24}},
        {"<ALIGN=LEFT,WIDTH=99%>", {8, 8 + 467}},
        {"<ALIGN=RIGHT,WIDTH=50%></ALIGN>", {8, 500}},
    };
    for (const Case& test : cases) EXPECT_EQ(LimitsAfter(test.markup), test.limits) << test.markup;
    // A pen at the left limit moves with it.
    EXPECT_EQ(Only(Paint("<ALIGN=RIGHT,WIDTH=50%>a</ALIGN>b"), {"TextOutA"}),
              (std::vector<std::string>{TextAt(254, 0, "a"), TextAt(254 + W("a") + 3, 0, "b")}));
}

TEST_F(VGTLayoutTest, CentredAndRightAlignedStretchesArePlacedLineByLine) {
    const int h = H();
    const int ab = W("ab") + 3, c = W("c") + 3;
    EXPECT_EQ(Only(Paint("<CENTER>ab<NL>c</CENTER>d"), {"TextOutA"}),
              (std::vector<std::string>{TextAt(8 + (492 - ab) / 2, 0, "ab"), TextAt(8 + (492 - c) / 2, h, "c"),
                                        TextAt(8 + (492 - c) / 2 + c, h, "d")}));
    EXPECT_EQ(Only(Paint("x<RIGHT>ab</RIGHT><NL><RIGHT>c"), {"TextOutA"}),
              (std::vector<std::string>{TextAt(8, 0, "x"), TextAt(500 - ab, 0, "ab"), TextAt(500 - c, h, "c")}));
    EXPECT_EQ(topic.GetAlignedSections().GetCount(), 2);
    // A stretch of the other kind neither opens nor closes the one that is open.
    EXPECT_EQ(Only(Paint("<CENTER>ab<RIGHT></RIGHT></CENTER>"), {"TextOutA"}),
              (std::vector<std::string>{TextAt(8 + (492 - ab) / 2, 0, "ab")}));
    // The measure pass keeps unaligned positions for links and blocks.
    topic.SetCollectLinks(true);
    topic.Measure(dc(), "<CENTER><LINK=t.vgt><PAINTBK=FF0000>ab</PAINTBK></LINK></CENTER>");
    ASSERT_EQ(topic.GetLinks().GetCount(), 1);
    EXPECT_EQ(topic.GetLinks()[0].areas[0].left, 8);
    ASSERT_EQ(topic.GetColorBlocks().GetCount(), 1);
    EXPECT_EQ(topic.GetColorBlocks()[0].left, 8);
}

// ---- collected records ----

TEST_F(VGTLayoutTest, LinkAreasMergeOnlyWordAfterWord) {
    const int h = H();
    const int one = W("one"), two = W("two");
    struct Case {
        std::string markup;
        int right;
        std::vector<RECT> areas;
    } cases[] = {
        {"<LINK=t>one two</LINK>", 500, {{8, 0, 8 + one + 3 + two - 1, h - 1}}},
        {"<LINK=t>one<B>two</LINK>", 500,
         {{8, 0, 8 + one - 1, h - 1}, {8 + one + 3, 0, 8 + one + 3 + WordWidth(dc(), "two", FW_BOLD) - 1, h - 1}}},
        {"<LINK=t>one two</LINK>", 8 + one + 5, {{8, 0, 8 + one - 1, h - 1}, {8, h, 8 + two - 1, 2 * h - 1}}},
        {"x<LINK=t>one</LINK> two", 500, {{8 + W("x") + 3, 0, 8 + W("x") + 3 + one - 1, h - 1}}},
    };
    topic.SetCollectLinks(true);
    for (const Case& test : cases) {
        topic.Measure(dc(), test.markup, 8, 0, test.right);
        ASSERT_EQ(topic.GetLinks().GetCount(), 1) << test.markup;
        const TRectContainer& areas = topic.GetLinks()[0].areas;
        ASSERT_EQ(areas.GetCount(), static_cast<int>(test.areas.size())) << test.markup;
        for (int i = 0; i < areas.GetCount(); ++i) {
            const RECT& a = areas[i];
            const RECT& e = test.areas[static_cast<size_t>(i)];
            EXPECT_EQ(std::vector<LONG>({a.left, a.top, a.right, a.bottom}),
                      std::vector<LONG>({e.left, e.top, e.right, e.bottom}))
                << test.markup << " area " << i;
        }
    }
}

TEST_F(VGTLayoutTest, LinkTargetsAndWhenLinksAreRecorded) {
    struct Case {
        const char* markup;
        const char* target;
        const char* panel;
    } cases[] = {
        {"<LINK=functions.vgt>f</LINK>", "functions.vgt", ""},
        {"<LINK=functions.vgt,TARGET=main>f</LINK>", "functions.vgt", "main"},
        {"<LINK=TARGET=main,b.vgt>f</LINK>", "b.vgt", "main"},
        {"<LINK=a.vgt,TARGET=p,c.vgt>f</LINK>", "a.vgt", "p"},
        {"<LINK=SEEALSO/A/a.vgt/B/b.vgt>f</LINK>", "SEEALSO/A/a.vgt/B/b.vgt", ""},
    };
    topic.SetCollectLinks(true);
    for (const Case& test : cases) {
        topic.Measure(dc(), test.markup);
        ASSERT_EQ(topic.GetLinks().GetCount(), 1) << test.markup;
        EXPECT_EQ(topic.GetLinks()[0].target, TString(test.target)) << test.markup;
        EXPECT_EQ(topic.GetLinks()[0].targetPanel, TString(test.panel)) << test.markup;
    }
    // Areas only while links are collected; the paint pass records nothing.
    topic.SetCollectLinks(false);
    topic.Measure(dc(), "<LINK=a.vgt>f</LINK>");
    ASSERT_EQ(topic.GetLinks().GetCount(), 1);
    EXPECT_EQ(topic.GetLinks()[0].areas.GetCount(), 0);
    topic.SetCollectLinks(true);
    topic.Paint(dc(), "<LINK=a.vgt>f</LINK><LINK=b.vgt>g</LINK>");
    EXPECT_EQ(topic.GetLinks().GetCount(), 2);
    EXPECT_EQ(topic.GetLinks()[1].areas.GetCount(), 1);
}

TEST_F(VGTLayoutTest, ColouredBlocksMergeAndArePaintedBeforeTheText) {
    const int h = H();
    const int a = W("a"), b = W("b"), c = W("c");
    topic.Measure(dc(), "<PAINTBK=FF0000>a b</PAINTBK> c <PAINTBK=FF0000>d<PAINTBK=00FF00>e<NL>f");
    // Painted words that follow each other on a line share a block while the
    // colour stays; an unpainted word between two stretches keeps its own background.
    const TColorBlocks& blocks = topic.GetColorBlocks();
    ASSERT_EQ(blocks.GetCount(), 4);
    const int d = 8 + a + 3 + b + 3 + c + 3;
    struct Expected {
        COLORREF color;
        int left, top, right, bottom;
    } expected[] = {
        {0x0000FF, 8, 0, 8 + a + 3 + b - 1, h - 1},
        {0x0000FF, d, 0, d + W("d") - 1, h - 1},
        {0x00FF00, d + W("d") + 3, 0, d + W("d") + 3 + W("e") - 1, h - 1},
        {0x00FF00, 8, h, 8 + W("f") - 1, 2 * h - 1},
    };
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(blocks[i].color, expected[i].color) << i;
        EXPECT_EQ(std::vector<int>({blocks[i].left, blocks[i].top, blocks[i].right, blocks[i].bottom}),
                  std::vector<int>({expected[i].left, expected[i].top, expected[i].right, expected[i].bottom}))
            << i;
    }
    const std::vector<std::string> drawn = Drawn("x <PAINTBK=FF0000>a b");
    EXPECT_EQ(drawn.front(), "Rectangle(" + std::to_string(8 + W("x") + 3) + ", 0, " +
                                 std::to_string(8 + W("x") + 3 + a + 3 + b) + ", " + std::to_string(h) + ")");
    // Repeated paints neither add blocks nor lose them.
    topic.PaintTopic(dc(), 8, 0, 500, false, true, false);
    EXPECT_EQ(topic.GetColorBlocks().GetCount(), 1);
}

TEST_F(VGTLayoutTest, BackgroundComesFromTheMeasurePass) {
    const int h = H();
    topic.Measure(dc(), "x");
    EXPECT_FALSE(topic.HasBackground());
    topic.Measure(dc(), "<BKCOLOR=102030>x");
    EXPECT_TRUE(topic.HasBackground());
    EXPECT_EQ(topic.GetBackgroundColor(), 0x302010u);
    EXPECT_EQ(topic.GetBackgroundMode(), TVGTVisualizer::bmColor);
    // A paint pass alone does not switch it.
    topic.SetMarkup("x");
    topic.PaintTopic(dc(), 8, 0, 500, false, true, false);
    EXPECT_TRUE(topic.HasBackground());
    topic.SetMarkup("<BKCOLOR=102030>x");
    topic.Measure(dc());
    topic.SetMarkup("x");
    EnableCallTrace(dc(), true);
    topic.PaintTopic(dc(), 8, 0, 500, false, true, true);
    std::vector<std::string> trace = GetCallTrace(dc());
    EnableCallTrace(dc(), false);
    EXPECT_EQ(Only(trace, {"Rectangle"}), (std::vector<std::string>{"Rectangle(8, 0, 1, " + std::to_string(h) + ")"}));
    EXPECT_EQ(Only(trace, {"SelectObject(Brush"}), (std::vector<std::string>{"SelectObject(Brush(BS_SOLID, 0x00302010))"}));

    EnableCallTrace(dc(), true);
    topic.FillTopicBackground(dc(), 0, 0, 300, 200);
    trace = GetCallTrace(dc());
    EnableCallTrace(dc(), false);
    EXPECT_EQ(Only(trace, {"Rectangle"}), (std::vector<std::string>{"Rectangle(0, 0, 300, 200)"}));
    EXPECT_EQ(GetPixel(surface.dc(), 150, 100), 0x302010u);
    topic.Measure(dc(), "x");
    EnableCallTrace(dc(), true);
    topic.FillTopicBackground(dc(), 0, 0, 300, 200);
    EXPECT_TRUE(Only(GetCallTrace(dc()), {"Rectangle"}).empty());
    EnableCallTrace(dc(), false);
}

TEST_F(VGTLayoutTest, PanelsAndFormsCarryTheirValues) {
    topic.Measure(dc(), "<PANEL=LEFT=0,TOP=0,WIDTH=100%,HEIGHT=170,NAME=top,SOURCE=a.vgt>"
                        "<PANEL= TOP = 170 , HEIGHT = -170 , NAME = rest , SOURCE = b.vgt >"
                        "<PANEL=NAME=bare>");
    const TPanelInfos& panels = topic.GetPanels();
    ASSERT_EQ(panels.GetCount(), 3);
    auto pos = [](const PANEL_POS& p) { return std::make_pair(int(p.absolute), p.value); };
    EXPECT_EQ(pos(panels[0].width), std::make_pair(0, 100));
    EXPECT_EQ(pos(panels[0].height), std::make_pair(1, 170));
    EXPECT_EQ(panels[0].source, TString("a.vgt"));
    EXPECT_EQ(pos(panels[1].top), std::make_pair(1, 170));
    EXPECT_EQ(pos(panels[1].height), std::make_pair(1, -170));
    EXPECT_EQ(panels[1].name, TString("rest"));
    EXPECT_EQ(panels[1].source, TString("b.vgt"));
    EXPECT_EQ(pos(panels[2].left), std::make_pair(1, 0));
    EXPECT_EQ(pos(panels[2].top), std::make_pair(1, 0));
    EXPECT_EQ(pos(panels[2].width), std::make_pair(0, 100));
    EXPECT_EQ(pos(panels[2].height), std::make_pair(0, 100));

    const std::string forms = "<FORM><FORM= NAME = tools , CAPTION = Tool box , LEFT=5,TOP=6,WIDTH=300,HEIGHT=90>";
    topic.Measure(dc(), forms);
    EXPECT_EQ(topic.GetForms().GetCount(), 0);
    topic.SetAllowForms(true);
    topic.Measure(dc(), forms);
    const TVGTFormInfos& declared = topic.GetForms();
    ASSERT_EQ(declared.GetCount(), 2);
    EXPECT_EQ(declared[0].name, TString("FORM_1"));
    EXPECT_EQ(declared[0].caption, TString("FORM_1"));
    EXPECT_EQ(std::vector<int>({declared[0].left, declared[0].top, declared[0].width, declared[0].height}),
              std::vector<int>({10, 10, 150, 200}));
    EXPECT_EQ(declared[1].name, TString("tools"));
    EXPECT_EQ(declared[1].caption, TString("Tool box"));
    EXPECT_EQ(std::vector<int>({declared[1].left, declared[1].top, declared[1].width, declared[1].height}),
              std::vector<int>({5, 6, 300, 90}));
}

// ---- passes ----

TEST_F(VGTLayoutTest, EachPassStartsFromTheSameState) {
    const std::string open = "<LIST><LI>a<FRAME><SETCOL=NUM=0,POS=50%><STARTCOL><INDENT=4><FS=30><B>";
    const std::vector<std::string> first = Paint(open);
    topic.Measure(dc());
    EnableCallTrace(dc(), true);
    topic.PaintTopic(dc(), 8, 0, 500, false, true, false);
    EXPECT_EQ(GetCallTrace(dc()), first);
    EnableCallTrace(dc(), false);
}

// Random tag soup: every tag, extreme and negative numbers, unbalanced
// closings. Tags mostly follow their parameter rules, so that the passes run
// on instead of stopping at the first error; a few break them. Both passes
// must stay within their state and the int range.
TEST_F(VGTLayoutTest, RandomTagSoupMeasuresAndPaints) {
    using List = std::vector<std::string>;
    const List bare = {"P", "NL", "TAB", "SP", "BS", "RT", "NOBREAK", "B", "U", "I", "S", "UNINDENT", "LIST", "LI",
                       "STARTCOL", "COLBREAK", "ENDCOL", "CLEARCOLS", "CENTER", "RIGHT", "LESS", "GREATER", "QM",
                       "APOSTROPHE"};
    const List closed = {"NOBREAK", "B", "U", "I", "S", "LIST", "CENTER", "RIGHT", "LINK", "COLCAPTIONS", "HLINE",
                         "FRAME", "FORM", "ALIGN", "PAINTBK"};
    // Tags with their parameters, by the kind of parameter they read.
    const List numbered = {"FS", "LS", "INDENT", "ADD_INDENT"};
    const List numbers = {"100000", "-100000", "99999999999", "-1", "0", "2"};
    const List itemised = {"SETCOL", "LINK", "HLINE", "FRAME", "FORM", "ALIGN", "PANEL", "COLCAPTIONS"};
    const List items = {"NUM=0,POS=35%,GAP=100000", "NUM=-5,POS=95%", "NUM=3", "NUM=1,POS=60%",
                        "HGAP=100000,VGAP=100000", "HGAP=-100000,VGAP=-100000,WIDTH=100,ALIGN=RIGHT",
                        "GAP=100000,SIZE=-100000", "GAP=-100000,SIZE=100000", "LEFT,WIDTH=95%", "CENTER",
                        "TARGET=x,y", "LEFT=-100000,TOP=100000,WIDTH=-100000,HEIGHT=100000%", "a,b,c"};
    const List texted = {"IMAGE", "FC", "FF", "LINKCOLOR", "LINECOLOR", "BKCOLOR", "BKIMAGE", "PAINTBK"};
    const List texts = {"FF0000", "zz", "x.bmp", "Courier New", "#12"};
    const List words = {"word", "Wwwwwwwwwwwwwwwwwwwwwwwwwwwwww", "a", "<", ">", "/", "\""};
    std::mt19937 random(68);
    auto pick = [&random](const List& list) { return list[random() % list.size()]; };
    auto tag = [&](const List& names, const List& values) { return "<" + pick(names) + "=" + pick(values) + ">"; };
    topic.SetCollectLinks(true);
    topic.SetAllowForms(true);
    for (int round = 0; round < 600; ++round) {
        std::string markup;
        for (int i = 0, count = static_cast<int>(random() % 80); i < count; ++i) {
            switch (random() % 7) {
                case 0: markup += " " + pick(words) + " "; break;
                case 1: markup += "<" + pick(bare) + ">"; break;
                case 2: markup += "</" + pick(closed) + ">"; break;
                case 3: markup += tag(numbered, numbers); break;
                case 4: markup += tag(texted, texts); break;
                // Now and then a tag that breaks its rule and stops the pass.
                case 5: markup += random() % 20 ? tag(itemised, items) : "<" + pick(bare) + "=1>"; break;
                default: markup += tag(itemised, items); break;
            }
            if (random() % 8 == 0) markup += "\n";
        }
        Measured measured = topic.Measure(dc(), markup, 8, 0, 1 + static_cast<int>(random() % 800));
        EXPECT_GE(measured.height, -TVGTVisualizer::kCoordinateLimit) << markup;
        topic.PaintTopic(dc(), 8, 0, 500, false, true, true);
        ASSERT_GE(topic.fLeftKeeps.GetCount(), 1) << markup;
    }
}

}  // namespace
