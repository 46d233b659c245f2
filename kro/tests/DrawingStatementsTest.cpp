// Tests of the drawing statements' compile checks, payloads and saved form.
#include "DrawingStatements.h"

#include <cstring>

#include "KroTestSupport.h"

namespace {

const char* const kDeclarations = "point p[3]\nint n[2]\npoint q\n";

struct TDrawingLine {
    const char* line;
    int type;       // the appended token's type when it compiles
    int arguments;  // its argument count
    int error;      // 0 when it compiles
};

const TDrawingLine kLines[] = {
    {"line 1,2,3,4", ttLine, 4, 0},
    {"line q,q", ttLine, 2, 0},
    {"line 1,2,3", 0, 0, 35},
    {"text 1,2,'a, b'", ttText, 3, 0},
    {"text q,'x'", ttText, 2, 0},
    {"text 1", 0, 0, 35},
    {"rect 1,2,3,4", ttRect, 4, 0},
    {"rect q,q", ttRect, 2, 0},
    {"rect 1,2,3", 0, 0, 35},
    {"fillrect 1,2,3,4,5", 0, 0, 35},
    {"circle 1,2,3", ttCircle, 3, 0},
    {"fillcircle q,3", ttFillCircle, 2, 0},
    {"circle 1,2,3,4", 0, 0, 35},
    {"ellipse q,3,4", ttEllipse, 3, 0},
    {"fillellipse 1,2,3,4", ttFillEllipse, 4, 0},
    {"ellipse 1,2", 0, 0, 35},
    {"arc q,1,2,3,4", ttArc, 5, 0},
    {"pie 1,2,3,4,5,6", ttPie, 6, 0},
    {"chord 1,2,3,4", 0, 0, 35},
    {"chord 1,2,3,4,5,6,7", 0, 0, 35},
    {"setpencolor 255", ttSetPenColor, 1, 0},
    {"setbrushcolor max(1,2)", ttSetBrushColor, 1, 0},
    {"setpencolor", 0, 0, 35},
    {"setbrushcolor 1,2", 0, 0, 10},
    {"setfont 'Arial',3,20,0", ttSetFont, 4, 0},
    {"setfont 'Arial',3,20", 0, 0, 35},
    {"rect 1,,3,4", 0, 0, 10},
    {"line 1,2,3,4+", 0, 0, 10},
    {"rect 1,2,3,4)", 0, 0, 10},
    {"polyline p", ttPolyline, 0, 0},
    {"polygon p", ttPolygon, 0, 0},
    {"polyline n", 0, 0, 36},
    {"polygon q", 0, 0, 34},
    {"polyline missing", 0, 0, 34},
    {"polyline p,p", 0, 0, 35},
    {"polygon", 0, 0, 35},
};

class DrawingStatementsTest : public KroCompileTest {};

TEST_F(DrawingStatementsTest, ArgumentCountsAndExpressions) {
    for (const TDrawingLine& c : kLines) {
        const bool compiled = Compile(std::string(kDeclarations) + c.line);
        EXPECT_EQ(compiled, c.error == 0) << c.line;
        EXPECT_EQ(KRO_ErrorCode, c.error) << c.line;
        if (!compiled) {
            EXPECT_EQ(KRO_ErrorLine, 4) << c.line;
            continue;
        }
        ASSERT_EQ(program.tokens.GetCount(), 4) << c.line;
        TToken* token = program.tokens[3];
        EXPECT_EQ(token->type, c.type) << c.line;
        TStatementArgs* args = token->Record<TStatementArgs>();
        ASSERT_NE(args, nullptr) << c.line;
        EXPECT_EQ(args->expressions.Count(), c.arguments) << c.line;
    }
}

// The reference finds the array in Variables as the run will see it.
TEST_F(DrawingStatementsTest, PointArrayReferenceNamesTheNewestArray) {
    ASSERT_TRUE(Compile("point p[2]\nint x\nblock\npoint p[5]\npolygon p\nend\npolyline p"));
    TStatementArgs* inner = program.tokens[4]->Record<TStatementArgs>();
    TStatementArgs* outer = program.tokens[6]->Record<TStatementArgs>();
    ASSERT_EQ(inner->variables.size(), 1u);
    ASSERT_EQ(outer->variables.size(), 1u);
    // Relative references count back from the newest variable.
    EXPECT_EQ(inner->variables[0].absolute, 0);
    EXPECT_EQ(inner->variables[0].index, 0);
    EXPECT_EQ(outer->variables[0].absolute, 1);
    EXPECT_EQ(outer->variables[0].index, 0);
}

TEST_F(DrawingStatementsTest, PolylineProgramsSurviveSaveAndLoad) {
    ASSERT_TRUE(Compile("point p[3]\npolyline p\npolygon p\nrect 1,2,3,4\nsetfont 'Arial',1,2,0"));
    TMemBuffer saved;
    program.WriteToMemBuffer(saved);
    TProgram loaded;
    saved.SeekRead(0);
    ASSERT_TRUE(loaded.ReadFromMemBuffer(saved));
    ASSERT_EQ(loaded.tokens.GetCount(), program.tokens.GetCount());
    for (int i : {1, 2}) {
        TStatementArgs* before = program.tokens[i]->Record<TStatementArgs>();
        TStatementArgs* after = loaded.tokens[i]->Record<TStatementArgs>();
        ASSERT_NE(after, nullptr);
        ASSERT_EQ(after->variables.size(), 1u);
        EXPECT_EQ(after->variables[0].index, before->variables[0].index);
        EXPECT_EQ(after->variables[0].absolute, before->variables[0].absolute);
    }
    EXPECT_EQ(loaded.tokens[4]->Record<TStatementArgs>()->expressions.Count(), 4);
    TMemBuffer again;
    loaded.WriteToMemBuffer(again);
    ASSERT_EQ(again.GetSize(), saved.GetSize());
    EXPECT_EQ(std::memcmp(again.GetBlock(), saved.GetBlock(), static_cast<size_t>(saved.GetSize())), 0);
}

}  // namespace
