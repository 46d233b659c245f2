// Tests of the geometry and number-base built-ins through compiled calls.
#include "BuiltinTestSupport.h"

namespace {

class BuiltinGeometryTest : public builtin_test::BuiltinTest {
protected:
    void ExpectPoint(const std::string& text, int64_t x, int64_t y) {
        const EXPRVALUE v = Run(text);
        EXPECT_EQ(v.kind, ekPoint) << text;
        EXPECT_EQ(v.value.point.x, x) << text;
        EXPECT_EQ(v.value.point.y, y) << text;
    }
};

TEST_F(BuiltinGeometryTest, PointFunctions) {
    EXPECT_DOUBLE_EQ(Real("angle(pnt(0,0), pnt(0,-5))"), 4.71238898038469);
    ExpectPoint("rotate_point(pnt(1,1), pnt(3,1), 1.5707963267948966)", 1, 3);
    ExpectPoint("rotate_radius(pnt(10,10), 5, 0)", 15, 10);
    ExpectPoint("rotate_radius(pnt(10,10), 5.9, 0)", 15, 10);
}

TEST_F(BuiltinGeometryTest, PointInPolygonOverAnArray) {
    ASSERT_NE(list.NewArray("sq", vtPoint, false), nullptr);
    EXPECT_EQ(Integer("point_in_polygon(pnt(5,5), sq)"), 0);  // empty
    VPOINT* square = static_cast<VPOINT*>(list.ResizeArray("sq", 4));
    ASSERT_NE(square, nullptr);
    const VPOINT corners[] = {{0, 0}, {10, 0}, {10, 10}, {0, 10}};
    for (int i = 0; i < 4; ++i) square[i] = corners[i];
    EXPECT_EQ(Integer("point_in_polygon(pnt(5,5), sq)"), 1);
    EXPECT_EQ(Integer("point_in_polygon(pnt(15,5), sq)"), 0);
}

TEST_F(BuiltinGeometryTest, IntegrateRestoresTheVariable) {
    list.NewDouble("x", false, 4.5);
    EXPECT_EQ(Real("integrate([[x*x]], x, 0, 1, 2, 2)"), 1.0 / 3.0);
    EXPECT_NEAR(Real("integrate([[x*x]], x, 1, 0, 100, 0)"), -1.0 / 3.0, 1e-4);
    EXPECT_EQ(list.GetVar("x")->value.d, 4.5);
}

TEST_F(BuiltinGeometryTest, IntersectionWritesOnlyAPointTarget) {
    VPOINT* q = list.NewPoint("q", false);
    ASSERT_NE(q, nullptr);
    EXPECT_EQ(Integer("intersection_point(pnt(0,0), pnt(10,10), pnt(0,10), pnt(10,0), q, 0)"), 1);
    q = &list.GetVar("q")->value.p;
    EXPECT_EQ(q->x, 5);
    EXPECT_EQ(q->y, 5);
    EXPECT_EQ(Integer("intersection_point(pnt(0,0), pnt(10,0), pnt(0,5), pnt(10,5), q, 0)"), 0);
    EXPECT_EQ(list.GetVar("q")->value.p.x, 5);
    // An item of a point array is a point value: only that item is written.
    ASSERT_NE(list.NewArray("corners", vtPoint, false), nullptr);
    ASSERT_NE(list.ResizeArray("corners", 2), nullptr);
    EXPECT_EQ(Integer("intersection_point(pnt(0,0), pnt(10,10), pnt(0,10), pnt(10,0), corners[1], 0)"), 1);
    const TVariable* corners = list.GetVar("corners");
    EXPECT_EQ(corners->value.a.count, 2);
    EXPECT_EQ(static_cast<const VPOINT*>(corners->GetItem(1))->y, 5);
    EXPECT_EQ(static_cast<const VPOINT*>(corners->GetItem(0))->y, 0);
}

TEST_F(BuiltinGeometryTest, IntersectionRefusesATargetThatIsNoPointValue) {
    list.NewPoint("q", false);
    for (const char* target : {"pnt(0,0)", "q+pnt(1,1)"}) {
        const std::string text = std::string("intersection_point(pnt(0,0), pnt(10,10), pnt(0,10), pnt(10,0), ") +
                                 target + ", 0)";
        EvaluateErrorCode = 0;
        EXPECT_EQ(Run(text).kind, ekNone) << text;
        EXPECT_EQ(EvaluateErrorCode, eeMissingVariable) << text;
    }
}

TEST_F(BuiltinGeometryTest, NumberBases) {
    EXPECT_EQ(Text("binary(5)"), "101");
    EXPECT_EQ(Text("octal(8)"), "10");
    EXPECT_EQ(Text("hexa(-255)"), "-ff");
    EXPECT_EQ(Text("base(35, 36)"), "z");
    EXPECT_EQ(Text("base(0, 10)"), "");
    EXPECT_EQ(Text("base(10, 1)"), "");
    EXPECT_EQ(Text("base(10, -3)"), "");
}

}  // namespace
