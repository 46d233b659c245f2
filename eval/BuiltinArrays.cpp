// Built-in functions on arrays, points and complex numbers.
#include "BuiltinArrays.h"

#include <cfloat>
#include <cmath>

#include "StackRoutines.h"
#include "UnaryOperators.h"

namespace {

constexpr int kArraySum = 3;
constexpr int kArrayMin = 5;

// Item i of a 1-D array of integer or real items, as a double.
double NumberItem(const ARRAY& a, int i) {
    return a.itemtype == vtInt ? static_cast<double>(static_cast<const int64_t*>(a.items)[i])
                               : static_cast<const double*>(a.items)[i];
}

bool HoldsNumbers(const ARRAY& a) { return (a.itemtype == vtInt || a.itemtype == vtDouble) && a.items != nullptr; }

void ArrayCount(const TBuiltinCall& call, EXPRESSION_ITEM& result) {
    result.value.integer = call.Variable(0)->value.a.count;
}

void ArrayLineCount(const TBuiltinCall& call, EXPRESSION_ITEM& result) {
    result.value.integer = call.Variable(0)->value.a2.lines;
}

void ArrayColumnCount(const TBuiltinCall& call, EXPRESSION_ITEM& result) {
    result.value.integer = call.Variable(0)->value.a2.cols;
}

// array_sum and array_ave.
void ArraySum(const TBuiltinCall& call, EXPRESSION_ITEM& result) {
    const ARRAY& a = call.Variable(0)->value.a;
    double sum = 0.0;
    if (HoldsNumbers(a))
        for (int i = 0; i < a.count; ++i) sum += NumberItem(a, i);
    if (call.position != kArraySum && a.count != 0 && HoldsNumbers(a)) sum /= a.count;
    result.value.real = sum;
}

// array_min and array_max.
void ArrayExtreme(const TBuiltinCall& call, EXPRESSION_ITEM& result) {
    const ARRAY& a = call.Variable(0)->value.a;
    const bool minimum = call.position == kArrayMin;
    double best = minimum ? DBL_MAX : -DBL_MAX;
    if (HoldsNumbers(a)) {
        for (int i = 0; i < a.count; ++i) {
            const double item = NumberItem(a, i);
            if (minimum ? item < best : item > best) best = item;
        }
    }
    result.value.real = best;
}

// to_point and pnt.
void ToPoint(const TBuiltinCall& call, EXPRESSION_ITEM& result) {
    result.value.point = VPOINT{call.Int(0), call.Int(1)};
}

// to_complex and cmplx.
void ToComplex(const TBuiltinCall& call, EXPRESSION_ITEM& result) {
    result.value.complex = VCOMPLEX{call.Real(0), call.Real(1)};
}

VCOMPLEX Scaled(const VCOMPLEX& z, double factor) { return VCOMPLEX{z.re * factor, z.im * factor}; }

void ComplexExpBody(const TBuiltinCall& call, EXPRESSION_ITEM& result) {
    result.value.complex = ComplexExp(call.Complex(0));
}

void ComplexLogBody(const TBuiltinCall& call, EXPRESSION_ITEM& result) {
    result.value.complex = ComplexLog(call.Complex(0));
}

// (e - 1/e) / 2 and (e + 1/e) / 2 with e = exp(z).
void ComplexSinh(const TBuiltinCall& call, EXPRESSION_ITEM& result) {
    const VCOMPLEX e = ComplexExp(call.Complex(0));
    const VCOMPLEX r = ComplexReciprocal(e);
    result.value.complex = Scaled(VCOMPLEX{e.re - r.re, e.im - r.im}, 0.5);
}

void ComplexCosh(const TBuiltinCall& call, EXPRESSION_ITEM& result) {
    const VCOMPLEX e = ComplexExp(call.Complex(0));
    const VCOMPLEX r = ComplexReciprocal(e);
    result.value.complex = Scaled(VCOMPLEX{e.re + r.re, e.im + r.im}, 0.5);
}

// tanh(a + bi) = (tanh a · cos b + sin b · i) / (cos b + tanh a · sin b · i).
void ComplexTanh(const TBuiltinCall& call, EXPRESSION_ITEM& result) {
    const VCOMPLEX z = call.Complex(0);
    const double t = std::tanh(z.re);
    const double s = std::sin(z.im);
    const double c = std::cos(z.im);
    const VCOMPLEX n{t * c, s};
    const VCOMPLEX r = ComplexReciprocal(VCOMPLEX{c, t * s});
    result.value.complex = VCOMPLEX{n.re * r.re - n.im * r.im, n.re * r.im + n.im * r.re};
}

void ComplexAbs(const TBuiltinCall& call, EXPRESSION_ITEM& result) {
    const VCOMPLEX z = call.Complex(0);
    result.value.real = std::sqrt(z.re * z.re + z.im * z.im);
}

void ComplexArcus(const TBuiltinCall& call, EXPRESSION_ITEM& result) {
    const VCOMPLEX z = call.Complex(0);
    result.value.real = std::atan2(z.im, z.re);
}

// The root whose angle lies in [0, pi): the angle of z is taken in [0, 2 pi) and halved.
void ComplexSqrt(const TBuiltinCall& call, EXPRESSION_ITEM& result) {
    const VCOMPLEX z = call.Complex(0);
    if (std::sqrt(z.re * z.re + z.im * z.im) < 1e-40) {
        result.value.complex = VCOMPLEX{0.0, 0.0};
        return;
    }
    VCOMPLEX logarithm = ComplexLog(z);
    if (logarithm.im < 0) logarithm.im += 2 * M_PI;
    result.value.complex = ComplexExp(Scaled(logarithm, 0.5));
}

void ComplexTimesReal(const TBuiltinCall& call, EXPRESSION_ITEM& result) {
    result.value.complex = Scaled(call.Complex(0), call.Real(1));
}

bool ItemEquals(const void* item, TVariableType itemtype, const EXPRESSION_ITEM& v) {
    switch (itemtype) {
        case vtInt: return *static_cast<const int64_t*>(item) == v.value.integer;
        case vtDouble: return *static_cast<const double*>(item) == v.value.real;
        case vtPoint: {
            const VPOINT& p = *static_cast<const VPOINT*>(item);
            return p.x == v.value.point.x && p.y == v.value.point.y;
        }
        case vtComplex: {
            const VCOMPLEX& c = *static_cast<const VCOMPLEX*>(item);
            return c.re == v.value.complex.re && c.im == v.value.complex.im;
        }
        case vtString:
            return v.value.text.text != nullptr && *static_cast<const TString*>(item) == *v.value.text.text;
        default: return false;
    }
}

void ArrayItem(const TBuiltinCall& call, EXPRESSION_ITEM& result) {
    const TVariable& array = *call.Variable(0);
    const EXPRESSION_ITEM& v = call.Item(1);
    result.value.integer = 0;
    if (!MatchesArrayItemType(v.kind, array.value.a.itemtype)) return;
    for (int i = 0; i < array.value.a.count; ++i) {
        if (ItemEquals(array.GetItem(i), array.value.a.itemtype, v)) {
            result.value.integer = 1;
            return;
        }
    }
}

// ORDER: any order; the position column says where each body runs.
const TBuiltinBodyRow kArrayBodies[] = {
    {0, ArrayCount},      {1, ArrayLineCount},     {2, ArrayColumnCount}, {3, ArraySum},
    {4, ArraySum},        {5, ArrayExtreme},       {6, ArrayExtreme},     {7, ToPoint},
    {8, ToComplex},       {33, ComplexExpBody},    {34, ComplexLogBody},  {35, ComplexSinh},
    {36, ComplexCosh},    {37, ComplexTanh},       {38, ComplexAbs},      {39, ComplexArcus},
    {40, ComplexSqrt},    {41, ComplexTimesReal},  {54, ToPoint},         {55, ToComplex},
    {73, ArrayItem},
};

}  // namespace

TBuiltinBodyRows ArrayBuiltinBodies() { return RowsOf(kArrayBodies); }
