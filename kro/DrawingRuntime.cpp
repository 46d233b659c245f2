// The drawing statements at run time: the package's pen, brush and font around the output DC, and each statement's GDI calls.
#include "DrawingRuntime.h"

#include <cmath>
#include <cstdint>
#include <vector>

#include "DrawingStatements.h"
#include "EvaluateEngine.h"
#include "Gdi.h"
#include "Interpreter.h"
#include "Text.h"
#include "Variables.h"

HDC KRO_OutDC = nullptr;

namespace {

// Unit-wide, as the interpreter's other run state: one program draws at a time.
struct TDrawingState {
    bool setUp = false;
    HDC dc = nullptr;
    int savedBackgroundMode = 0;
    HGDIOBJ pen = nullptr;
    HGDIOBJ savedPen = nullptr;
    HGDIOBJ brush = nullptr;
    HGDIOBJ savedBrush = nullptr;
    HGDIOBJ font = nullptr;
    HGDIOBJ savedFont = nullptr;
};

TDrawingState state;

int ClampToInt(int64_t v) {
    if (v > INT32_MAX) return INT32_MAX;
    if (v < INT32_MIN) return INT32_MIN;
    return static_cast<int>(v);
}

// Truncated toward zero, clamped to the int range; NaN gives 0.
int TruncateToInt(double d) {
    if (std::isnan(d)) return 0;
    if (d >= 2147483647.0) return INT32_MAX;
    if (d <= -2147483648.0) return INT32_MIN;
    return static_cast<int>(d);
}

// A point coordinate's low 32 bits.
int LowBits(int64_t v) { return static_cast<int32_t>(static_cast<uint32_t>(static_cast<uint64_t>(v))); }

// Selects the saved object back, deletes the package's, and selects the
// replacement as the package's new object.
void ReplaceObject(HGDIOBJ& current, HGDIOBJ saved, HGDIOBJ replacement) {
    SelectObject(state.dc, saved);
    DeleteObject(current);
    current = replacement;
    SelectObject(state.dc, current);
}

// Puts the saved object back and deletes the package's.
void RestoreObject(HGDIOBJ& current, HGDIOBJ& saved) {
    SelectObject(state.dc, saved);
    DeleteObject(current);
    current = nullptr;
    saved = nullptr;
}

// Reads a statement's arguments in order, each evaluated once; the long form
// gives x and y where the short one gives a point. Missing arguments read as 0.
class TArgumentReader {
public:
    TArgumentReader(TStatementArgs& args, TProgram& program, bool longForm)
        : args(args), program(program), longForm(longForm) {}

    EXPRVALUE Next() {
        EXPRVALUE out;
        if (next < args.expressions.Count())
            EvaluateExpression(Variables, args.expressions[next], SharedEvalStack(), out, false, &program);
        ++next;
        return out;
    }
    int Int() { return ValueAsInt(Next()); }
    double Double() { return ValueAsDouble(Next()); }
    COLORREF Colour() { return static_cast<COLORREF>(static_cast<uint64_t>(ValueAsInt64(Next()))); }
    TString Text() { return ValueAsString(Next()); }
    POINT Position() {
        POINT p{};
        if (longForm) {
            p.x = Int();
            p.y = Int();
        } else {
            const VPOINT v = ValueAsPoint(Next());
            p.x = LowBits(v.x);
            p.y = LowBits(v.y);
        }
        return p;
    }

private:
    TStatementArgs& args;
    TProgram& program;
    bool longForm;
    int next = 0;
};

struct TDrawCall {
    int type;
    TStatementArgs& args;
    TArgumentReader& reader;
};

// The box of an ellipse with centre c and radii rx, ry: right and bottom one past.
RECT EllipseBox(POINT c, int rx, int ry) {
    RECT box;
    box.left = ClampToInt(int64_t{c.x} - rx);
    box.top = ClampToInt(int64_t{c.y} - ry);
    box.right = ClampToInt(int64_t{c.x} + rx + 1);
    box.bottom = ClampToInt(int64_t{c.y} + ry + 1);
    return box;
}

bool IsFilled(int type) {
    return type == ttFillRect || type == ttFillCircle || type == ttFillEllipse;
}

// Outlines draw with the null brush, then the previous brush goes back.
template <class Draw>
void DrawShape(int type, Draw draw) {
    if (IsFilled(type)) {
        draw();
        return;
    }
    HGDIOBJ previous = SelectObject(state.dc, GetStockObject(NULL_BRUSH));
    draw();
    SelectObject(state.dc, previous);
}

void Line(TDrawCall& call) {
    const POINT from = call.reader.Position();
    const POINT to = call.reader.Position();
    MoveToEx(KRO_OutDC, from.x, from.y, nullptr);
    LineTo(KRO_OutDC, to.x, to.y);
}

// polyline and polygon: the array's points cut to 32 bits; an empty array passes 0.
void PointArray(TDrawCall& call) {
    if (call.args.variables.empty()) return;
    const KRO_VARINFO& info = call.args.variables[0];
    const int index = Variables.V_Index(info.index, info.absolute != 0);
    const TVariable* array = Variables.GetVarOfType(index, vtArray);
    if (array == nullptr || array->value.a.itemtype != vtPoint) return;
    const int count = array->value.a.count;
    std::vector<POINT> points(static_cast<size_t>(count > 0 ? count : 0));
    for (int i = 0; i < count; ++i) {
        const VPOINT* item = static_cast<const VPOINT*>(Variables.GetArrayItem(index, i));
        if (item == nullptr) continue;
        points[static_cast<size_t>(i)].x = LowBits(item->x);
        points[static_cast<size_t>(i)].y = LowBits(item->y);
    }
    if (call.type == ttPolyline)
        Polyline(KRO_OutDC, points.data(), count);
    else
        Polygon(KRO_OutDC, points.data(), count);
}

void Text(TDrawCall& call) {
    const POINT at = call.reader.Position();
    const TString text = call.reader.Text();
    TextOutA(KRO_OutDC, at.x, at.y, text.c_str(), text.Length());
}

void Rect(TDrawCall& call) {
    const POINT topLeft = call.reader.Position();
    const POINT bottomRight = call.reader.Position();
    const int right = ClampToInt(int64_t{bottomRight.x} + 1);
    const int bottom = ClampToInt(int64_t{bottomRight.y} + 1);
    DrawShape(call.type, [&] { Rectangle(state.dc, topLeft.x, topLeft.y, right, bottom); });
}

void EllipseOf(TDrawCall& call, const POINT& centre, int rx, int ry) {
    const RECT box = EllipseBox(centre, rx, ry);
    DrawShape(call.type, [&] { Ellipse(state.dc, box.left, box.top, box.right, box.bottom); });
}

void Circle(TDrawCall& call) {
    const POINT centre = call.reader.Position();
    const int r = call.reader.Int();
    EllipseOf(call, centre, r, r);
}

void EllipseStatement(TDrawCall& call) {
    const POINT centre = call.reader.Position();
    const int rx = call.reader.Int();
    const int ry = call.reader.Int();
    EllipseOf(call, centre, rx, ry);
}

// arc, pie, chord: from angle a2 to angle a1 clockwise on screen, radians.
void ArcFamily(TDrawCall& call) {
    const POINT c = call.reader.Position();
    const int rx = call.reader.Int();
    const int ry = call.reader.Int();
    const double a1 = call.reader.Double();
    const double a2 = call.reader.Double();
    const RECT box = EllipseBox(c, rx, ry);
    const int startX = TruncateToInt(c.x + rx * std::cos(a2));
    const int startY = TruncateToInt(c.y + ry * std::sin(a2));
    const int endX = TruncateToInt(c.x + rx * std::cos(a1));
    const int endY = TruncateToInt(c.y + ry * std::sin(a1));
    typedef BOOL (*TArcCall)(HDC, int, int, int, int, int, int, int, int);
    const TArcCall draw = call.type == ttArc ? Arc : call.type == ttPie ? Pie : Chord;
    draw(state.dc, box.left, box.top, box.right, box.bottom, startX, startY, endX, endY);
}

void PenColour(TDrawCall& call) {
    const COLORREF colour = call.reader.Colour();
    SetupGraphics();
    if (!state.setUp) return;
    ReplaceObject(state.pen, state.savedPen, CreatePen(PS_SOLID, 1, colour));
    SetTextColor(state.dc, colour);
}

void BrushColour(TDrawCall& call) {
    const COLORREF colour = call.reader.Colour();
    SetupGraphics();
    if (!state.setUp) return;
    ReplaceObject(state.brush, state.savedBrush, CreateSolidBrush(colour));
    SetBkColor(state.dc, colour);
}

// Style bits: 1 bold, 2 italic, 4 underline, 8 strike-out. The angle is in
// radians; the escapement counts tenths of a degree down from 3600.
void Font(TDrawCall& call) {
    const TString face = call.reader.Text();
    const int style = call.reader.Int();
    const int height = call.reader.Int();
    const double angle = call.reader.Double();
    SetupGraphics();
    if (!state.setUp) return;
    const int escapement = ClampToInt(int64_t{3600} - TruncateToInt(angle * 180.0 * (1.0 / M_PI) * 10.0));
    const int weight = (style & 1) != 0 ? FW_BOLD : FW_NORMAL;
    HFONT font = CreateFontA(height, 0, escapement, escapement, weight, (style & 2) != 0, (style & 4) != 0,
                             (style & 8) != 0, 0, 0, 0, 0, 0, face.c_str());
    ReplaceObject(state.font, state.savedFont, font);
}

typedef void (*TDrawHandler)(TDrawCall& call);

struct TDrawRow {
    int type;
    TDrawHandler handler;
};

const TDrawRow kDrawRows[] = {
    {ttLine, Line},           {ttPolyline, PointArray},     {ttPolygon, PointArray},
    {ttText, Text},           {ttRect, Rect},               {ttFillRect, Rect},
    {ttCircle, Circle},       {ttFillCircle, Circle},       {ttEllipse, EllipseStatement},
    {ttFillEllipse, EllipseStatement}, {ttArc, ArcFamily},  {ttPie, ArcFamily},
    {ttChord, ArcFamily},     {ttSetPenColor, PenColour},   {ttSetBrushColor, BrushColour},
    {ttSetFont, Font},
};

TDrawHandler FindDrawHandler(int type) {
    for (const TDrawRow& row : kDrawRows)
        if (row.type == type) return row.handler;
    return nullptr;
}

}  // namespace

void KRO_InitGraph() { state.dc = KRO_OutDC; }

// Without an output DC the drawing DC goes too, so that shapes never reach a
// DC the host no longer hands over.
void SetupGraphics() {
    if (state.setUp) return;
    state.dc = KRO_OutDC;
    if (state.dc == nullptr) return;
    state.savedBackgroundMode = SetBkMode(state.dc, TRANSPARENT);
    state.pen = CreatePen(PS_SOLID, 1, 0);
    state.savedPen = SelectObject(state.dc, state.pen);
    state.brush = CreateSolidBrush(0);
    state.savedBrush = SelectObject(state.dc, state.brush);
    state.font = CreateFontA(12, 0, 0, 0, FW_NORMAL, 0, 0, 0, 0, 0, 0, 0, 0, "Arial");
    state.savedFont = SelectObject(state.dc, state.font);
    state.setUp = true;
}

void RestoreGraphics() {
    if (!state.setUp) return;
    SetBkMode(state.dc, state.savedBackgroundMode);
    RestoreObject(state.pen, state.savedPen);
    RestoreObject(state.brush, state.savedBrush);
    RestoreObject(state.font, state.savedFont);
    state.setUp = false;
}

bool GraphicsAreSetUp() { return state.setUp; }

void RunDrawingStatement(TToken& token, TProgram& program) {
    TStatementArgs* args = token.Record<TStatementArgs>();
    const TDrawHandler handler = FindDrawHandler(token.type);
    if (args == nullptr || handler == nullptr) return;
    int shorter = 0, longer = 0;
    const bool twoForms = DrawingArgumentCounts(token.type, shorter, longer) && shorter != longer;
    TArgumentReader reader(*args, program, twoForms && args->expressions.Count() == longer);
    TDrawCall call{token.type, *args, reader};
    handler(call);
}
