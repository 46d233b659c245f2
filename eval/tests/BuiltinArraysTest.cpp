// Tests of the array, point and complex built-ins: sums and extremes, point and complex construction, complex functions, item search.
#include <gtest/gtest.h>

#include <cfloat>
#include <cmath>

#include "BuiltinTestSupport.h"

namespace {

using builtin_test::BuiltinTest;

class BuiltinArraysTest : public BuiltinTest {
protected:
    void SetUp() override {
        list.NewArray("empty", vtInt, false);
        Fill("negatives", {-5, -3});
        Fill("wide", {int64_t{1} << 32, 1});
        list.NewArray("points", vtPoint, false);
        list.ResizeArray("points", 2);
        static_cast<VPOINT*>(list.GetArrayItem("points", 1))->x = 9;
        list.NewArray("reals", vtDouble, false);
        list.ResizeArray("reals", 3);
        for (int i = 0; i < 3; ++i) *static_cast<double*>(list.GetArrayItem("reals", i)) = 1.5 * (i + 1);
        list.NewArray("words", vtString, false);
        list.ResizeArray("words", 2);
        *static_cast<TString*>(list.GetArrayItem("words", 1)) = "ab";
        list.NewString("ab", false, "ab");
        list.NewArray2("grid", vtInt, false);
        list.ResizeArray2("grid", 3, 4);
    }

    void Fill(const char* name, std::initializer_list<int64_t> values) {
        list.NewArray(name, vtInt, false);
        list.ResizeArray(name, static_cast<int>(values.size()));
        int i = 0;
        for (int64_t v : values) *static_cast<int64_t*>(list.GetArrayItem(name, i++)) = v;
    }

    VCOMPLEX Complex(const std::string& text) {
        const EXPRVALUE v = Run(text);
        EXPECT_EQ(v.kind, ekComplex) << text;
        return v.value.complex;
    }
};

TEST_F(BuiltinArraysTest, CountsSumsMeansAndExtremes) {
    EXPECT_EQ(Integer("array_count(negatives)"), 2);
    EXPECT_EQ(Integer("acount(empty)"), 0);
    EXPECT_EQ(Integer("array_linecount(grid)"), 3);
    EXPECT_EQ(Integer("array_colcount(grid)"), 4);
    EXPECT_EQ(Real("array_sum(reals)"), 9.0);
    EXPECT_EQ(Real("array_ave(reals)"), 3.0);
    EXPECT_EQ(Real("array_min(reals)"), 1.5);
    EXPECT_EQ(Real("array_max(negatives)"), -3.0);
    EXPECT_EQ(Real("array_min(negatives)"), -5.0);
    // Items are read at their full 64-bit width.
    EXPECT_EQ(Real("array_sum(wide)"), 4294967297.0);
}

TEST_F(BuiltinArraysTest, EmptyAndNonNumberArraysGiveTheStartValues) {
    EXPECT_EQ(Real("array_ave(empty)"), 0.0);
    EXPECT_EQ(Real("array_sum(empty)"), 0.0);
    EXPECT_EQ(Real("array_min(empty)"), DBL_MAX);
    EXPECT_EQ(Real("array_max(empty)"), -DBL_MAX);
    EXPECT_EQ(Real("array_sum(points)"), 0.0);
    EXPECT_EQ(Real("array_ave(words)"), 0.0);
    EXPECT_EQ(Real("array_max(words)"), -DBL_MAX);
}

TEST_F(BuiltinArraysTest, PointsAndComplexNumbersFromNumbers) {
    for (const char* name : {"to_point", "pnt"}) {
        const EXPRVALUE p = Run(std::string(name) + "(2.7,-1.5)");
        ASSERT_EQ(p.kind, ekPoint) << name;
        EXPECT_EQ(p.value.point.x, 2);
        EXPECT_EQ(p.value.point.y, -1);
    }
    for (const char* name : {"to_complex", "cmplx"}) {
        const VCOMPLEX z = Complex(std::string(name) + "(1,2)");
        EXPECT_EQ(z.re, 1.0);
        EXPECT_EQ(z.im, 2.0);
    }
}

TEST_F(BuiltinArraysTest, ComplexFunctions) {
    struct TCase {
        const char* text;
        double re;
        double im;
    };
    const double root = std::sqrt(2.0);
    const TCase cases[] = {
        {"cx_sqrt(cmplx(-4,0))", 0.0, 2.0},
        {"cx_sqrt(cmplx(0,-4))", -root, root},  // the root with a non-negative imaginary part
        {"cx_sqrt(cmplx(0,4))", root, root},
        {"cx_sqrt(cmplx(4,0))", 2.0, 0.0},
        {"cx_sqrt(cmplx(0,0))", 0.0, 0.0},
        {"cx_dmul(cmplx(1,2),3)", 3.0, 6.0},
        {"cx_exp(cmplx(0,0))", 1.0, 0.0},
        {"cx_log(cmplx(1,0))", 0.0, 0.0},
        {"cx_sinh(cmplx(1,0))", std::sinh(1.0), 0.0},
        {"cx_cosh(cmplx(1,0))", std::cosh(1.0), 0.0},
        {"cx_tanh(cmplx(1,0))", std::tanh(1.0), 0.0},
        {"cx_tanh(cmplx(0,1))", 0.0, std::tan(1.0)},
        {"cx_sinh(cmplx(0,1))", 0.0, std::sin(1.0)},
    };
    for (const TCase& c : cases) {
        const VCOMPLEX z = Complex(c.text);
        EXPECT_NEAR(z.re, c.re, 1e-12) << c.text;
        EXPECT_NEAR(z.im, c.im, 1e-12) << c.text;
    }
    EXPECT_EQ(Real("cx_abs(cmplx(3,4))"), 5.0);
    EXPECT_NEAR(Real("cx_arcus(cmplx(-1,0))"), M_PI, 1e-15);
}

TEST_F(BuiltinArraysTest, ArrayItemComparesOnlyMatchingKinds) {
    EXPECT_EQ(Integer("array_item(words,ab)"), 1);
    EXPECT_EQ(Integer("aitem(words,'ab')"), 1);
    EXPECT_EQ(Integer("array_item(words,'abc')"), 0);
    EXPECT_EQ(Integer("array_item(words,5)"), 0);
    EXPECT_EQ(Integer("array_item(negatives,-3)"), 1);
    EXPECT_EQ(Integer("array_item(negatives,-3.0)"), 0);  // a real never matches integer items
    EXPECT_EQ(Integer("array_item(reals,3.0)"), 1);
    EXPECT_EQ(Integer("array_item(points,to_point(9,0))"), 1);
    EXPECT_EQ(Integer("array_item(points,to_point(9,1))"), 0);
    EXPECT_EQ(Integer("array_item(empty,0)"), 0);
}

}  // namespace
