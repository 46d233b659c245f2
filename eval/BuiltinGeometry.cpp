// Built-in function bodies for plane geometry and number bases.
#include "BuiltinGeometry.h"

#include "BuiltinTargets.h"
#include "EvaluateEngine.h"
#include "NumericIntegration.h"
#include "PlaneGeometry.h"
#include "StackRoutines.h"

namespace {

void Angle(const TBuiltinCall& call, EXPRESSION_ITEM& result) {
    const VPOINT a = call.Point(0), b = call.Point(1);
    result.value.real = LineAngle(a.x, a.y, b.x, b.y);
}

void RotateRadius(const TBuiltinCall& call, EXPRESSION_ITEM& result) {
    const VPOINT p = call.Point(0);
    result.value.point = PolarPoint(p.x, p.y, call.Int(1), call.Real(2));
}

void RotateAboutCentre(const TBuiltinCall& call, EXPRESSION_ITEM& result) {
    const VPOINT c = call.Point(0), p = call.Point(1);
    result.value.point = RotatePoint(c.x, c.y, p.x, p.y, call.Real(2));
}

void Intersection(const TBuiltinCall& call, EXPRESSION_ITEM& result) {
    const VPOINT p1 = call.Point(0), p2 = call.Point(1), p3 = call.Point(2), p4 = call.Point(3);
    // Only a point value is written; the check pass refuses any other target.
    VPOINT* target = PointTarget(call, 4);
    VPOINT out = target != nullptr ? *target : VPOINT{0, 0};
    const bool found = IntersectLines(p1.x, p1.y, p2.x, p2.y, p3.x, p3.y, p4.x, p4.y, out, call.Int32(5) != 0, true);
    result.value.integer = found ? 1 : 0;
    if (target != nullptr) *target = out;
}

void PolygonContains(const TBuiltinCall& call, EXPRESSION_ITEM& result) {
    const TVariable* polygon = call.Variable(1);
    if (polygon == nullptr || polygon->type != vtArray || polygon->value.a.itemtype != vtPoint) return;
    const VPOINT p = call.Point(0);
    const ARRAY& points = polygon->value.a;
    result.value.integer = PointInPolygon(p.x, p.y, static_cast<const VPOINT*>(points.items), points.count) ? 1 : 0;
}

// Position of v in the list; -1 when it is not there.
int PositionOf(const TVariableList& list, const TVariable* v) {
    for (int i = 0; i < list.GetCount(); ++i)
        if (list[i] == v) return i;
    return -1;
}

void IntegrateBody(const TBuiltinCall& call, EXPRESSION_ITEM& result) {
    const EXPRESSION_ITEM& item = call.Item(0);
    if (item.kind != ekSubExpression || item.value.expression == nullptr) return;
    const int variable = PositionOf(call.vars, call.Variable(1));
    result.value.real = static_cast<double>(Integrate(call.vars, *item.value.expression, call.stack, variable,
                                                      call.Real(2), call.Real(3), call.Int32(4), call.Int32(5)));
}

void Binary(const TBuiltinCall& call, EXPRESSION_ITEM& result) { ResultText(result) = IntToBaseText(call.Int(0), 2); }
void Octal(const TBuiltinCall& call, EXPRESSION_ITEM& result) { ResultText(result) = IntToBaseText(call.Int(0), 8); }
void Hexa(const TBuiltinCall& call, EXPRESSION_ITEM& result) { ResultText(result) = IntToBaseText(call.Int(0), 16); }
void Base(const TBuiltinCall& call, EXPRESSION_ITEM& result) {
    ResultText(result) = IntToBaseText(call.Int(0), call.Int32(1));
}

const TBuiltinBodyRow kRows[] = {
    {42, Angle}, {43, RotateRadius}, {44, RotateAboutCentre}, {45, Intersection}, {46, PolygonContains}, {56, IntegrateBody}, {57, Binary}, {58, Octal}, {59, Hexa}, {60, Base},
};

}  // namespace

TBuiltinBodyRows GeometryBuiltinBodies() { return RowsOf(kRows); }
