// Tests of the drawing statements at run time: the GDI call trace of a memory DC, the drawing state, and pixels.
#include "DrawingRuntime.h"

#include <string>
#include <vector>

#include "Gdi.h"
#include "Interpreter.h"
#include "KroTestSupport.h"
#include "ScriptCalls.h"

namespace {

typedef std::vector<std::string> TCalls;

const std::string kPackageBrush = "SelectObject(Brush(BS_SOLID, 0x00000000))";
const TCalls kSetUp = {"SetBkMode(1)", "SelectObject(Pen(PS_SOLID, 1, 0x00000000))", kPackageBrush,
                       "SelectObject(Font(12, 0, 0, 0, 400, 0, 0, 0, 0, \"Arial\"))"};
const TCalls kRestore = {"SetBkMode(2)", "SelectObject(BLACK_PEN)", "SelectObject(WHITE_BRUSH)",
                         "SelectObject(SYSTEM_FONT)"};

TCalls Joined(TCalls first, const TCalls& second) {
    first.insert(first.end(), second.begin(), second.end());
    return first;
}

// A white memory DC as KRO_OutDC, traced; every test ends with the state restored.
class DrawingRuntimeTest : public KroCompileTest {
protected:
    static constexpr int kSize = 160;

    void SetUp() override {
        dc = CreateCompatibleDC(nullptr);
        bitmap = CreateCompatibleBitmap(dc, kSize, kSize);
        oldBitmap = SelectObject(dc, bitmap);
        PatBlt(dc, 0, 0, kSize, kSize, WHITENESS);
        KRO_OutDC = dc;
        EnableCallTrace(dc, true);
    }

    void TearDown() override {
        RestoreGraphics();
        KRO_OutDC = nullptr;
        KRO_InitGraph();
        SelectObject(dc, oldBitmap);
        DeleteObject(bitmap);
        DeleteDC(dc);
        while (Variables.GetCount() > variablesAtStart) Variables.DeleteLast(true);
    }

    TCalls Run(const std::string& text, bool keep = false) { return RunProgram(program, text, keep); }

    TCalls RunProgram(TProgram& target, const std::string& text, bool keep = false) {
        EXPECT_TRUE(CompileInto(target, text)) << text << " code " << KRO_ErrorCode;
        ClearCallTrace(dc);
        KRO_Run(target, keep);
        return GetCallTrace(dc);
    }

    // With the state already set up, the trace holds the statements' own calls.
    TCalls Statements(const std::string& text) {
        SetupGraphics();
        return Run(text);
    }

    int CountPixels(COLORREF colour, int left, int top, int right, int bottom) {
        int n = 0;
        for (int y = top; y < bottom; ++y)
            for (int x = left; x < right; ++x) n += GetPixel(dc, x, y) == colour ? 1 : 0;
        return n;
    }

    HDC dc = nullptr;
    HBITMAP bitmap = nullptr;
    HGDIOBJ oldBitmap = nullptr;
    int variablesAtStart = Variables.GetCount();
};

struct TTraceCase {
    const char* script;
    TCalls calls;
};

const TTraceCase kTraceCases[] = {
    {"rect 10,10,20,20", {"SelectObject(NULL_BRUSH)", "Rectangle(10, 10, 21, 21)", kPackageBrush}},
    {"rect to_point(10,10),to_point(20,20)", {"SelectObject(NULL_BRUSH)", "Rectangle(10, 10, 21, 21)", kPackageBrush}},
    {"fillrect 10,10,20,20", {"Rectangle(10, 10, 21, 21)"}},
    {"circle 50,50,0", {"SelectObject(NULL_BRUSH)", "Ellipse(50, 50, 51, 51)", kPackageBrush}},
    {"fillcircle to_point(50,50),5", {"Ellipse(45, 45, 56, 56)"}},
    {"ellipse 50,50,10,5", {"SelectObject(NULL_BRUSH)", "Ellipse(40, 45, 61, 56)", kPackageBrush}},
    {"fillellipse to_point(50,50),10,5", {"Ellipse(40, 45, 61, 56)"}},
    {"arc 100,100,50,50,0,pi/2", {"Arc(50, 50, 151, 151, 100, 150, 150, 100)"}},
    {"arc 100,100,50,50,0,1.5707963", {"Arc(50, 50, 151, 151, 100, 150, 150, 100)"}},
    {"pie to_point(100,100),50,50,0,pi/2", {"Pie(50, 50, 151, 151, 100, 150, 150, 100)"}},
    {"chord 100,100,50,20,pi,0", {"Chord(50, 80, 151, 121, 150, 100, 50, 100)"}},
    {"line 1,2,3,4", {"MoveToEx(1, 2)", "LineTo(3, 4)"}},
    {"line to_point(1,2),to_point(3,4)", {"MoveToEx(1, 2)", "LineTo(3, 4)"}},
    {"text 5,6,'hi'", {"TextOutA(5, 6, \"hi\", 2)"}},
    {"text to_point(5,6),'hi'", {"TextOutA(5, 6, \"hi\", 2)"}},
    {"setpencolor 255", {"SelectObject(BLACK_PEN)", "SelectObject(Pen(PS_SOLID, 1, 0x000000FF))", "SetTextColor(0x000000FF)"}},
    {"setbrushcolor 16711680",
     {"SelectObject(WHITE_BRUSH)", "SelectObject(Brush(BS_SOLID, 0x00FF0000))", "SetBkColor(0x00FF0000)"}},
    {"setfont 'Arial',3,20,0",
     {"SelectObject(SYSTEM_FONT)", "SelectObject(Font(20, 0, 3600, 3600, 700, 1, 0, 0, 0, \"Arial\"))"}},
    // One radian is 57.29 degrees: 3600 - 572.
    {"setfont 'Courier New',12,-15,1",
     {"SelectObject(SYSTEM_FONT)", "SelectObject(Font(-15, 0, 3028, 3028, 400, 0, 1, 1, 0, \"Courier New\"))"}},
    {"point p[] = {{1,2},{3,4},{5000000006,-6}}\npolyline p\npolygon p",
     {"Polyline([(1, 2), (3, 4), (705032710, -6)])", "Polygon([(1, 2), (3, 4), (705032710, -6)])"}},
    {"point e[0]\npolyline e", {"Polyline([])"}},
};

TEST_F(DrawingRuntimeTest, StatementsMakeTheirGdiCalls) {
    for (const TTraceCase& c : kTraceCases) {
        EXPECT_EQ(Statements(c.script), c.calls) << c.script;
        RestoreGraphics();
    }
}

TEST_F(DrawingRuntimeTest, KeptRunSetsUpAndRestores) {
    EXPECT_EQ(Run("line 0,0,1,1", true), Joined(Joined(kSetUp, {"MoveToEx(0, 0)", "LineTo(1, 1)"}), kRestore));
    EXPECT_FALSE(GraphicsAreSetUp());
    EXPECT_EQ(GetCurrentObject(dc, OBJ_PEN), GetStockObject(BLACK_PEN));
    EXPECT_EQ(GetBkMode(dc), OPAQUE);
}

TEST_F(DrawingRuntimeTest, PensPersistAcrossRunsWithoutKeep) {
    EXPECT_EQ(Run("setpencolor 255"), Joined(kSetUp, {"SelectObject(BLACK_PEN)",
                                                     "SelectObject(Pen(PS_SOLID, 1, 0x000000FF))",
                                                     "SetTextColor(0x000000FF)"}));
    TProgram second;
    EXPECT_EQ(RunProgram(second, "line 0,5,20,5"), TCalls({"MoveToEx(0, 5)", "LineTo(20, 5)"}));
    EXPECT_EQ(GetPixel(dc, 10, 5), RGB(255, 0, 0));
}

// After a restore the pen, brush and font statements set the state up afresh;
// nothing of the earlier set-up is selected or deleted again, and the next
// restore deletes what they made.
TEST_F(DrawingRuntimeTest, ObjectsChosenAfterARestoreAreRestoredOnce) {
    struct TCase {
        const char* script;
        UINT kind;
        HGDIOBJ original;
    };
    const TCase cases[] = {{"setpencolor 65280", OBJ_PEN, GetStockObject(BLACK_PEN)},
                           {"setbrushcolor 65280", OBJ_BRUSH, GetStockObject(WHITE_BRUSH)},
                           {"setfont 'Arial',0,10,0", OBJ_FONT, GetStockObject(SYSTEM_FONT)}};
    for (const TCase& c : cases) {
        Run(c.script, true);
        ASSERT_FALSE(GraphicsAreSetUp());
        // The host's own objects may take the addresses of those just deleted.
        HGDIOBJ hostPen = CreatePen(PS_SOLID, 1, 0);
        HGDIOBJ hostBrush = CreateSolidBrush(0);
        HGDIOBJ hostFont = CreateFontA(12, 0, 0, 0, 400, 0, 0, 0, 0, 0, 0, 0, 0, "Arial");
        TProgram handler;
        ASSERT_TRUE(CompileInto(handler, c.script));
        ClearCallTrace(dc);
        RunDrawingStatement(*handler.tokens[0], handler);
        const TCalls calls = GetCallTrace(dc);
        ASSERT_GE(calls.size(), kSetUp.size()) << c.script;
        EXPECT_EQ(TCalls(calls.begin(), calls.begin() + 4), kSetUp) << c.script;
        EXPECT_TRUE(GraphicsAreSetUp());
        for (HGDIOBJ host : {hostPen, hostBrush, hostFont}) EXPECT_NE(GetObjectType(host), 0u) << c.script;
        HGDIOBJ chosen = GetCurrentObject(dc, c.kind);
        RestoreGraphics();
        EXPECT_EQ(GetObjectType(chosen), 0u) << c.script;
        EXPECT_EQ(GetCurrentObject(dc, c.kind), c.original) << c.script;
        ClearCallTrace(dc);
        RestoreGraphics();
        EXPECT_TRUE(GetCallTrace(dc).empty());
        for (HGDIOBJ host : {hostPen, hostBrush, hostFont}) EXPECT_TRUE(DeleteObject(host));
    }
}

// The main road: a run with keep, a Paint handler called by the host, then the release.
TEST_F(DrawingRuntimeTest, PaintHandlerAfterAKeptRunIsRestoredByTheRelease) {
    Run("func int paint()\nsetpencolor 255\nline 0,5,20,5\nreturn 0\nend", true);
    ASSERT_FALSE(GraphicsAreSetUp());
    HGDIOBJ hostPen = CreatePen(PS_SOLID, 1, 0);
    TVariableList params;
    ClearCallTrace(dc);
    KRO_CallFunction(program, 0, params);
    const TCalls calls = GetCallTrace(dc);
    ASSERT_GE(calls.size(), kSetUp.size());
    EXPECT_EQ(TCalls(calls.begin(), calls.begin() + 4), kSetUp);
    EXPECT_EQ(GetPixel(dc, 10, 5), RGB(255, 0, 0));
    HGDIOBJ red = GetCurrentObject(dc, OBJ_PEN);
    KRO_ReleaseApplicationGlobals(program);
    EXPECT_FALSE(GraphicsAreSetUp());
    EXPECT_EQ(GetObjectType(red), 0u);
    EXPECT_EQ(GetCurrentObject(dc, OBJ_PEN), GetStockObject(BLACK_PEN));
    EXPECT_TRUE(DeleteObject(hostPen));
}

TEST_F(DrawingRuntimeTest, NullOutputDcDrawsNothingAndSetsNothingUp) {
    KRO_OutDC = nullptr;
    const char* script =
        "setpencolor 255\nsetbrushcolor 1\nsetfont 'Arial',1,2,0\nrect 1,1,5,5\nfillcircle 3,3,2\nline 0,0,3,3\n"
        "text 1,1,'a'\npoint p[2]\npolygon p\narc 5,5,2,2,0,1";
    Run(script, true);
    Run(script, false);
    EXPECT_FALSE(GraphicsAreSetUp());
    KRO_OutDC = dc;
    TProgram later;
    EXPECT_EQ(RunProgram(later, "line 0,0,1,1"), Joined(kSetUp, {"MoveToEx(0, 0)", "LineTo(1, 1)"}));
    EXPECT_EQ(CountPixels(RGB(255, 255, 255), 0, 0, kSize, kSize), kSize * kSize - 1);
}

// After a restore, a run without an output DC no longer draws on the last one.
TEST_F(DrawingRuntimeTest, NullOutputDcAfterARestoreLeavesTheOldDcAlone) {
    Run("line 0,0,1,1", true);
    KRO_OutDC = nullptr;
    TProgram later;
    EXPECT_TRUE(RunProgram(later, "rect 1,1,5,5\nfillcircle 3,3,2\narc 5,5,2,2,0,1").empty());
}

TEST_F(DrawingRuntimeTest, FiguresByPixels) {
    const COLORREF black = RGB(0, 0, 0), white = RGB(255, 255, 255), red = RGB(255, 0, 0);
    Run("rect 10,10,20,20\nsetbrushcolor 255\nfillrect 30,10,40,20\ncircle 30,60,5\narc 100,100,40,40,0,pi/2");
    // rect: the 11x11 outline from 10 to 20 inclusive, the inside untouched.
    EXPECT_EQ(CountPixels(black, 10, 10, 21, 21), 40);
    EXPECT_EQ(CountPixels(white, 11, 11, 20, 20), 81);
    EXPECT_EQ(CountPixels(black, 9, 9, 22, 22), 40);
    // fillrect: a black outline around the red brush.
    EXPECT_EQ(CountPixels(red, 31, 11, 40, 20), 81);
    EXPECT_EQ(CountPixels(black, 30, 10, 41, 21), 40);
    EXPECT_EQ(CountPixels(white, 29, 9, 42, 22), 13 * 13 - 121);
    // circle: the outline through the four points at radius 5, the centre untouched.
    for (const POINT& p : {POINT{30, 55}, POINT{35, 60}, POINT{30, 65}, POINT{25, 60}})
        EXPECT_EQ(GetPixel(dc, p.x, p.y), black) << p.x << "," << p.y;
    EXPECT_EQ(CountPixels(white, 28, 58, 33, 63), 25);
    EXPECT_EQ(CountPixels(black, 24, 54, 37, 67), CountPixels(black, 25, 55, 36, 66));
    // arc from 0 to pi/2 runs clockwise on screen from the right to the bottom.
    EXPECT_GT(CountPixels(black, 101, 101, 142, 142), 40);
    EXPECT_EQ(CountPixels(black, 58, 58, 99, 99), 0);
    EXPECT_EQ(CountPixels(black, 101, 58, 142, 99), 0);
}

TEST_F(DrawingRuntimeTest, LoadedPolylineProgramDrawsTheSame) {
    const char* script = "point p[] = {{1,2},{3,4}}\npolyline p\npolygon p";
    const TCalls expected = {"Polyline([(1, 2), (3, 4)])", "Polygon([(1, 2), (3, 4)])"};
    SetupGraphics();
    EXPECT_EQ(Run(script), expected);
    TMemBuffer saved;
    program.WriteToMemBuffer(saved);
    TProgram loaded;
    saved.SeekRead(0);
    ASSERT_TRUE(loaded.ReadFromMemBuffer(saved));
    ClearCallTrace(dc);
    KRO_Run(loaded, false);
    EXPECT_EQ(GetCallTrace(dc), expected);
}

}  // namespace
