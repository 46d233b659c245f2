// Tests of the two-operand operators: kind admission for every operator, numbers, points, complex numbers, texts, membership and assignments.
#include "BinaryOperators.h"

#include <cmath>
#include <cstdint>
#include <cstring>
#include <limits>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "OperatorTestSupport.h"

using namespace operator_test;

namespace {

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();

// What an operator gave, with a text result copied out and its slot given back.
struct TOutcome {
    EXPRESSION_ITEM item;
    int8_t code;
    std::string text;
};

class BinaryOperatorsTest : public TOperatorFixture {
protected:
    void SetUp() override {
        list.NewInt("i", false, 7);
        list.NewDouble("d", false, 2.5);
        *list.NewPoint("p", false) = VPOINT{3, -4};
        *list.NewComplex("c", false) = VCOMPLEX{1.5, -0.25};
        list.NewString("s", false, "text");
        list.NewArray("a", vtInt, false);
        list.ResizeArray("a", 3);
        for (int k = 0; k < 3; ++k) *static_cast<int64_t*>(list.GetArrayItem("a", k)) = 10 * (k + 1);
        list.NewArray("t", vtString, false);
        list.ResizeArray("t", 2);
        *static_cast<TString*>(list.GetArrayItem("t", 1)) = "second";
        list.NewArray2("m", vtInt, false);
        list.ResizeArray2("m", 3, 4);
    }

    TOutcome Apply(EXPRESSION_ITEM left, EXPRESSION_ITEM right, int op, bool check = false, char flag = '\0') {
        EvaluateErrorCode = 0;
        EXPRESSION_ITEM result = ApplyBinaryOperator(list, stack, left, right, op, flag, check);
        TOutcome outcome{result, EvaluateErrorCode, IsTextItem(result) ? OperandText(result).str() : std::string()};
        EXPECT_EQ(result.ref.index, -1);
        stack.ReleaseItem(result);
        return outcome;
    }

    // item as if pushed from the named variable.
    EXPRESSION_ITEM From(const char* name, EXPRESSION_ITEM item) {
        item.ref = VARINFO{list.GetVarIndex(name), -1, -1, -1};
        return item;
    }

    int64_t IntegerOf(const char* name) { return list.GetVar(name)->value.i; }

    static const TString& OperandText(const EXPRESSION_ITEM& item) { return *item.value.text.text; }
};

// ------------------------------------------------------------------ kind admission

// Operand kinds of the admission table: the three text kinds must behave alike.
constexpr char kInteger = 'I', kReal = 'R', kText = 'T', kOwned = 'O', kBuffered = 'B', kPoint = 'P',
               kComplex = 'C', kArray = 'A';
const char kKindLetters[] = {kInteger, kReal, kText, kOwned, kBuffered, kPoint, kComplex, kArray};

std::set<int> Operators(std::initializer_list<std::pair<int, int>> ranges) {
    std::set<int> ops;
    for (const auto& range : ranges)
        for (int op = range.first; op <= range.second; ++op) ops.insert(op);
    return ops;
}

// Operators accepted for a pair of kind letters (texts as T); every other
// pair and operator gives code 21.
std::set<int> AcceptedOperators(char left, char right) {
    auto text = [](char k) -> char { return k == kOwned || k == kBuffered ? kText : k; };
    const std::string pair{text(left), text(right)};
    if (pair == "II" || pair == "IR") return Operators({{0, 4}, {8, 26}, {31, 33}});
    if (pair == "RI" || pair == "RR") return Operators({{0, 4}, {8, 21}});
    if (pair == "IT" || pair == "RT") return Operators({{0, 3}});
    if (pair == "TI" || pair == "TR") return Operators({{0, 2}});
    if (pair == "TT") return Operators({{0, 1}, {8, 10}, {13, 15}, {18, 19}, {29, 30}, {34, 36}});
    if (pair == "PP") return Operators({{0, 1}, {8, 10}, {13, 13}, {18, 19}});
    if (pair == "CC") return Operators({{0, 3}, {8, 13}, {18, 19}});
    if (pair == "AI") return Operators({{29, 30}});
    return {};
}

class BinaryKindTest : public BinaryOperatorsTest {
protected:
    // An operand of that kind; left operands come from a variable of that kind.
    EXPRESSION_ITEM Operand(char letter) {
        switch (letter) {
            case kInteger: return From("i", MakeIntegerItem(3));
            case kReal: return From("d", MakeRealItem(1.5));
            case kText: return From("s", Text("ab"));
            case kOwned: return From("s", Text("ab", ekOwnedText));
            case kBuffered: return From("s", Text("ab", ekBufferedText));
            case kPoint: return From("p", Point(1, 2));
            case kComplex: return From("c", Complex(1.0, 1.0));
            default: return Reference(list, ekArray, "a");
        }
    }
};

TEST_F(BinaryKindTest, EveryOperatorAcceptsExactlyItsKindPairsInBothModes) {
    for (bool check : {true, false}) {
        for (char left : kKindLetters) {
            for (char right : kKindLetters) {
                const std::set<int> accepted = AcceptedOperators(left, right);
                for (int op = 0; op < kBinaryOperatorLimit; ++op) {
                    const TOutcome outcome = Apply(Operand(left), Operand(right), op, check);
                    const bool wanted = accepted.count(op) != 0;
                    EXPECT_EQ(outcome.item.kind != ekError, wanted)
                        << left << " " << op << " " << right << (check ? " check" : " run");
                    if (!wanted) {
                        EXPECT_EQ(outcome.code, eeWrongOperand) << left << " " << op << " " << right;
                    }
                }
            }
        }
    }
}

TEST_F(BinaryOperatorsTest, OperatorsOutsideTheTableAreWrongOperands) {
    for (int op : {-1, kBinaryOperatorLimit, 1000}) {
        EXPECT_EQ(Apply(MakeIntegerItem(1), MakeIntegerItem(2), op).code, eeWrongOperand);
        EXPECT_FALSE(IsOperatorAdmissible(ekInteger, op));
    }
    EXPECT_FALSE(IsOperatorAdmissible(ekError, opAdd));
    EXPECT_FALSE(IsOperatorAdmissible(ekArray2, opContains));
}

// ------------------------------------------------------------------ numbers

struct TNumberCase {
    const char* what;
    EXPRESSION_ITEM left;
    int op;
    EXPRESSION_ITEM right;
    EXPRESSION_ITEM expected;
};

EXPRESSION_ITEM Int(int64_t v) { return MakeIntegerItem(v); }
EXPRESSION_ITEM Real(double v) { return MakeRealItem(v); }

void ExpectSameNumber(const EXPRESSION_ITEM& actual, const EXPRESSION_ITEM& expected, const char* what) {
    ASSERT_EQ(actual.kind, expected.kind) << what;
    if (expected.kind == ekInteger) {
        EXPECT_EQ(actual.value.integer, expected.value.integer) << what;
    } else {
        EXPECT_DOUBLE_EQ(actual.value.real, expected.value.real) << what;
    }
}

TEST_F(BinaryOperatorsTest, ArithmeticOnNumbers) {
    const TNumberCase cases[] = {
        {"7 / 2", Int(7), opDivide, Int(2), Int(3)},
        {"7 / 2.0", Int(7), opDivide, Real(2.0), Real(3.5)},
        {"7 / 0", Int(7), opDivide, Int(0), Int(0)},
        {"7.0 / 0", Real(7.0), opDivide, Int(0), Real(0.0)},
        {"-7 / 2", Int(-7), opDivide, Int(2), Int(-3)},
        {"-7 % 2", Int(-7), opRemainder, Int(2), Int(-1)},
        {"7 % 0", Int(7), opRemainder, Int(0), Int(0)},
        {"MIN / -1", Int(INT64_MIN), opDivide, Int(-1), Int(INT64_MIN)},
        {"MIN % -1", Int(INT64_MIN), opRemainder, Int(-1), Int(0)},
        {"MAX + 1 wraps", Int(INT64_MAX), opAdd, Int(1), Int(INT64_MIN)},
        {"MIN - 1 wraps", Int(INT64_MIN), opSubtract, Int(1), Int(INT64_MAX)},
        {"MAX * 2 wraps", Int(INT64_MAX), opMultiply, Int(2), Int(-2)},
        {"2 + 0.5", Int(2), opAdd, Real(0.5), Real(2.5)},
        {"2 ^ 10", Int(2), opPower, Int(10), Int(1024)},
        {"2 ^ 0.5", Int(2), opPower, Real(0.5), Real(std::sqrt(2.0))},
        {"0 ^ 0", Int(0), opPower, Int(0), Int(0)},
        {"-8 ^ (1/3.0)", Int(-8), opPower, Real(1 / 3.0), Real(0.0)},
        {"-2 ^ 3", Int(-2), opPower, Int(3), Int(-8)},
        {"2 ^ 100 saturates", Int(2), opPower, Int(100), Int(INT64_MAX)},
        {"-2 ^ 63 fits", Int(-2), opPower, Int(63), Int(INT64_MIN)},
        {"-2 ^ 65 saturates", Int(-2), opPower, Int(65), Int(INT64_MIN)},
        {"2 ^ -1 truncates", Int(2), opPower, Int(-1), Int(0)},
    };
    for (const TNumberCase& c : cases) ExpectSameNumber(Apply(c.left, c.right, c.op).item, c.expected, c.what);
}

TEST_F(BinaryOperatorsTest, BitsAndShifts) {
    const TNumberCase cases[] = {
        {"6 | 9", Int(6), opBitOr, Int(9), Int(15)},
        {"6 & 3", Int(6), opBitAnd, Int(3), Int(2)},
        {"5 | 2.7: the real is truncated", Int(5), opBitOr, Real(2.7), Int(7)},
        {"7 % 2.5", Int(7), opRemainder, Real(2.5), Int(1)},
        {"1 << 63", Int(1), opShiftLeft, Int(63), Int(INT64_MIN)},
        {"-1 << 1", Int(-1), opShiftLeft, Int(1), Int(-2)},
        {"1 << 64", Int(1), opShiftLeft, Int(64), Int(0)},
        {"1 << 127", Int(1), opShiftLeft, Int(127), Int(0)},
        {"-8 >> 1", Int(-8), opShiftRight, Int(1), Int(-4)},
        {"-1 >> 64", Int(-1), opShiftRight, Int(64), Int(-1)},
        {"5 >> 100", Int(5), opShiftRight, Int(100), Int(0)},
        {"1 << 256: low byte 0", Int(1), opShiftLeft, Int(256), Int(1)},
        {"8 << -1 shifts right", Int(8), opShiftLeft, Int(-1), Int(4)},
        {"8 >> -2 shifts left", Int(8), opShiftRight, Int(-2), Int(32)},
        {"1 << 200: -56", Int(1), opShiftLeft, Int(200), Int(0)},
        {"-1 << -128", Int(-1), opShiftLeft, Int(-128), Int(-1)},
        {"MAX << 1 wraps", Int(INT64_MAX), opShiftLeft, Int(1), Int(-2)},
    };
    for (const TNumberCase& c : cases) ExpectSameNumber(Apply(c.left, c.right, c.op).item, c.expected, c.what);
}

TEST_F(BinaryOperatorsTest, ComparisonsAndLogic) {
    const TNumberCase cases[] = {
        {"1 < 2", Int(1), opLess, Int(2), Int(1)},
        {"2 <= 2.0", Int(2), opLessOrEqual, Real(2.0), Int(1)},
        {"3 >= 3.5", Int(3), opGreaterOrEqual, Real(3.5), Int(0)},
        {"2.5 > 2", Real(2.5), opGreater, Int(2), Int(1)},
        {"integers compare exactly", Int(INT64_MAX), opEqual, Int(INT64_MAX - 1), Int(0)},
        {"1 != 1.0", Int(1), opNotEqual, Real(1.0), Int(0)},
        {"1 <> 2", Int(1), opDifferent, Int(2), Int(1)},
        {"NaN == NaN", Real(kNaN), opEqual, Real(kNaN), Int(0)},
        {"NaN != NaN", Real(kNaN), opNotEqual, Real(kNaN), Int(1)},
        {"NaN < 1", Real(kNaN), opLess, Int(1), Int(0)},
        {"0 || 0.0", Int(0), opLogicalOr, Real(0.0), Int(0)},
        {"0.5 || 0", Real(0.5), opLogicalOr, Int(0), Int(1)},
        {"2 && 0", Int(2), opLogicalAnd, Int(0), Int(0)},
        {"2 && 0.5", Int(2), opLogicalAnd, Real(0.5), Int(1)},
    };
    for (const TNumberCase& c : cases) ExpectSameNumber(Apply(c.left, c.right, c.op).item, c.expected, c.what);
}

TEST_F(BinaryOperatorsTest, NumberWithTextReadsTheLeadingInteger) {
    struct {
        EXPRESSION_ITEM left;
        int op;
        const char* right;
        int64_t expected;
    } const cases[] = {
        {Int(3), opAdd, "12", 15},         {Int(3), opSubtract, " 12abc", -9}, {Real(3.9), opMultiply, "2", 6},
        {Int(7), opDivide, "0", 0},        {Int(7), opAdd, "abc", 7},          {Int(7), opDivide, "-2", -3},
        {Int(INT64_MIN), opDivide, "-1", INT64_MIN},
        {Int(0), opAdd, "99999999999999999999", INT64_MAX},
    };
    for (const auto& c : cases) {
        const TOutcome outcome = Apply(c.left, Text(c.right), c.op);
        ASSERT_EQ(outcome.item.kind, ekInteger) << c.right;
        EXPECT_EQ(outcome.item.value.integer, c.expected) << c.right;
    }
}

TEST_F(BinaryOperatorsTest, GuardedPowAndTruncation) {
    const struct {
        double base, exponent, expected;
    } powers[] = {
        {0, 0, 0},       {kNaN, 2, 0}, {0, -1, 0}, {2, 0, 1},   {2, kNaN, 1},
        {-8, 1 / 3.0, 0}, {-2, 3, -8}, {9, 0.5, 3}, {-2, -1, -0.5},
    };
    for (const auto& p : powers) EXPECT_DOUBLE_EQ(GuardedPow(p.base, p.exponent), p.expected) << p.base << " " << p.exponent;

    const struct {
        double value;
        int64_t expected;
    } truncations[] = {
        {kNaN, 0},         {2.9, 2},          {-2.9, -2},
        {1e300, INT64_MAX}, {-1e300, INT64_MIN}, {std::numeric_limits<double>::infinity(), INT64_MAX},
        {-9223372036854775808.0, INT64_MIN}, {9223372036854775808.0, INT64_MAX},
    };
    for (const auto& t : truncations) EXPECT_EQ(TruncateToInt64(t.value), t.expected) << t.value;
}

// Squares, cubes, fourth powers and the powers 0.5, 1.5 and 2.5 are computed
// from exact products where that is safe; they must be std::pow's doubles to
// the bit, also at the edges of the range that path takes.
TEST_F(BinaryOperatorsTest, SmallPowersAreStdPowToTheBit) {
    std::vector<double> bases = {1.0,     -1.0,    0.3,      -0.3,   2.0,       0.1,      3.0,     1e-30,
                                 -7.5e40, 0x1p-200, 0x1p200, 0x1.0000000000001p-200, 0x1.fffffffffffffp199,
                                 1e-310,  1e300,   -1e300,   std::numeric_limits<double>::infinity(),
                                 -std::numeric_limits<double>::infinity(), std::numeric_limits<double>::denorm_min()};
    // A fixed sequence of mantissas over several binades, both signs.
    uint64_t state = 0x9e3779b97f4a7c15u;
    for (int k = 0; k < 300000; ++k) {
        state = state * 6364136223846793005u + 1442695040888963407u;
        const uint64_t bits = (state >> 12) | (static_cast<uint64_t>(1013 + (k % 20)) << 52);
        double value;
        std::memcpy(&value, &bits, sizeof value);
        bases.push_back((k & 1) != 0 ? -value : value);
    }
    bases.insert(bases.end(), {0.0, -0.0, std::nan(""), -std::nan("")});
    for (const double exponent : {2.0, 3.0, 4.0, 0.5, 1.5, 2.5}) {
        double (*const known)(double) = GuardedPowWithExponent(exponent);
        ASSERT_NE(known, nullptr);
        for (const double base : bases) {
            // The path for an exponent known beforehand gives GuardedPow's very doubles.
            const double general = GuardedPow(base, exponent);
            const double beforehand = known(base);
            ASSERT_EQ(std::memcmp(&general, &beforehand, sizeof general), 0) << std::hexfloat << base << " ^ " << exponent;
            // Negative bases of fractional powers give 0 here, NaN there.
            if (base < 0.0 && exponent != std::trunc(exponent)) continue;
            if (base == 0.0 || std::isnan(base)) continue;
            const double mine = GuardedPow(base, exponent);
            const double theirs = std::pow(base, exponent);
            ASSERT_EQ(std::memcmp(&mine, &theirs, sizeof mine), 0) << std::hexfloat << base << " ^ " << exponent;
        }
    }
    EXPECT_EQ(GuardedPowWithExponent(5.0), nullptr);
    EXPECT_EQ(GuardedPowWithExponent(-2.0), nullptr);
}

// ------------------------------------------------------------------ points and complex numbers

TEST_F(BinaryOperatorsTest, PointsWorkComponentwise) {
    TOutcome sum = Apply(Point(1, 2), Point(10, -20), opAdd);
    ASSERT_EQ(sum.item.kind, ekPoint);
    EXPECT_EQ(sum.item.value.point.x, 11);
    EXPECT_EQ(sum.item.value.point.y, -18);
    TOutcome wrapped = Apply(Point(INT64_MIN, 0), Point(1, 0), opSubtract);
    EXPECT_EQ(wrapped.item.value.point.x, INT64_MAX);
    EXPECT_EQ(Apply(Point(1, 2), Point(1, 2), opEqual).item.value.integer, 1);
    EXPECT_EQ(Apply(Point(1, 2), Point(1, 3), opEqual).item.value.integer, 0);
    EXPECT_EQ(Apply(Point(1, 2), Point(1, 3), opNotEqual).item.value.integer, 1);
    EXPECT_EQ(Apply(Point(1, 2), Point(1, 2), opDifferent).item.value.integer, 0);
    EXPECT_EQ(Apply(Point(1, 2), Point(1, 2), opMultiply, true).code, eeWrongOperand);
}

TEST_F(BinaryOperatorsTest, ComplexArithmetic) {
    const struct {
        const char* what;
        VCOMPLEX l;
        int op;
        VCOMPLEX r;
        VCOMPLEX expected;
    } cases[] = {
        {"sum", {1, 2}, opAdd, {3, 4}, {4, 6}},
        {"difference", {1, 2}, opSubtract, {3, 5}, {-2, -3}},
        {"product", {1, 2}, opMultiply, {3, 4}, {-5, 10}},
        {"z / z", {3, -7}, opDivide, {3, -7}, {1, 0}},
        {"quotient", {-5, 10}, opDivide, {3, 4}, {1, 2}},
        {"zero divisor", {1, 1}, opDivide, {0, 0}, {0, 0}},
        {"tiny divisor divides by 1e-18", {1, 0}, opDivide, {1e-10, 0}, {1e8, 0}},
    };
    for (const auto& c : cases) {
        const TOutcome outcome = Apply(Complex(c.l.re, c.l.im), Complex(c.r.re, c.r.im), c.op);
        ASSERT_EQ(outcome.item.kind, ekComplex) << c.what;
        EXPECT_NEAR(outcome.item.value.complex.re, c.expected.re, 1e-9 * (1 + std::fabs(c.expected.re))) << c.what;
        EXPECT_NEAR(outcome.item.value.complex.im, c.expected.im, 1e-9 * (1 + std::fabs(c.expected.im))) << c.what;
    }
    EXPECT_EQ(Apply(Complex(1, 2), Complex(1, 2), opEqual).item.value.integer, 1);
    EXPECT_EQ(Apply(Complex(1, 2), Complex(1, -2), opNotEqual).item.value.integer, 1);
    EXPECT_EQ(Apply(Complex(1, 2), Complex(1, 2), opDifferent).item.value.integer, 0);
}

// ------------------------------------------------------------------ texts

TEST_F(BinaryOperatorsTest, TextResults) {
    const struct {
        const char* left;
        int op;
        EXPRESSION_ITEM right;
        const char* expected;
    } cases[] = {
        {"ab", opAdd, Int(1), "bc"},
        {"bc", opSubtract, Int(1), "ab"},
        {"12", opAdd, Int(3), "45"},
        {"ab", opAdd, Int(257), "bc"},
        {"ab", opAdd, Real(1.9), "bc"},
        {"ab", opSubtract, Int(INT64_MIN), "ab"},
        {"ab", opMultiply, Int(3), "ababab"},
        {"ab", opMultiply, Int(0), ""},
        {"ab", opMultiply, Int(-3), ""},
        {"", opMultiply, Int(INT64_MAX), ""},
        {"ab", opAdd, Text("cd"), "abcd"},
        {"abcab", opSubtract, Text("ab"), "c"},
        {"abc", opSubtract, Text(""), "abc"},
    };
    for (const auto& c : cases) {
        const TOutcome outcome = Apply(Text(c.left), c.right, c.op);
        EXPECT_EQ(outcome.item.kind, ekBufferedText) << c.left;
        EXPECT_EQ(outcome.text, c.expected) << c.left << " " << c.op;
    }
}

TEST_F(BinaryOperatorsTest, TextResultsAreFreshBufferedTextsAndCheckModeLeavesThemEmpty) {
    EXPRESSION_ITEM left = Text("ab");
    EXPRESSION_ITEM right = Text("cd");
    EXPRESSION_ITEM result = ApplyBinaryOperator(list, stack, left, right, opAdd, '\0', false);
    EXPECT_EQ(result.kind, ekBufferedText);
    EXPECT_NE(result.value.text.text, left.value.text.text);
    EXPECT_EQ(*left.value.text.text, "ab");
    EXPECT_EQ(stack.GetLentStringCount(), 1);
    stack.ReleaseItem(result);

    const TOutcome checked = Apply(Text("ab"), Int(1000000), opMultiply, true);
    EXPECT_EQ(checked.item.kind, ekBufferedText);
    EXPECT_EQ(checked.text, "");
}

TEST_F(BinaryOperatorsTest, RepetitionIsCappedAndTwoTextsHaveNoProduct) {
    const TOutcome huge = Apply(Text("ab"), Int(int64_t{1} << 40), opMultiply);
    EXPECT_EQ(huge.text.size(), static_cast<size_t>(kMaxRepeatedTextLength));
    EXPECT_EQ(huge.text.substr(0, 4), "abab");
    for (bool check : {true, false}) EXPECT_EQ(Apply(Text("ab"), Text("3"), opMultiply, check).code, eeWrongOperand);
}

TEST_F(BinaryOperatorsTest, TextComparisonsAndContainment) {
    const struct {
        const char* left;
        int op;
        const char* right;
        int64_t expected;
    } cases[] = {
        {"abc", opLess, "abd", 1},          {"abd", opGreater, "abc", 1},     {"abc", opEqual, "abc", 1},
        {"abc", opNotEqual, "abc", 0},      {"abc", opDifferent, "abd", 1},   {"\xe9", opGreater, "z", 1},
        {"hello", opContains, "ell", 1},    {"hello", opContains, "", 1},     {"hello", opContains, "elo", 0},
        {"hello", opNotContains, "elo", 1}, {"", opContains, "", 1},
    };
    for (const auto& c : cases) {
        const TOutcome outcome = Apply(Text(c.left), Text(c.right), c.op);
        ASSERT_EQ(outcome.item.kind, ekInteger) << c.left << " " << c.op << " " << c.right;
        EXPECT_EQ(outcome.item.value.integer, c.expected) << c.left << " " << c.op << " " << c.right;
    }
}

TEST_F(BinaryOperatorsTest, TokenAndWordTests) {
    const struct {
        const char* left;
        int op;
        char separator;
        const char* right;
        int64_t expected;
    } cases[] = {
        {"a,b,,c", opTokenEquals, ',', "", 1},
        {"a,b,", opTokenEquals, ',', "", 0},
        {"a,b,c", opTokenEquals, ',', "b", 1},
        {"a,b,c", opTokenEquals, ',', "c", 1},
        {"a,bc", opTokenEquals, ',', "b", 0},
        {"a\tb", opTokenEquals, '\t', "b", 1},
        {"", opTokenEquals, ',', "", 0},
        {"abc", opTokenEquals, ',', "abc", 1},
        {"the cat sat", opWordContains, '\0', "cat", 1},
        {"concatenate", opWordContains, '\0', "cat", 0},
        {"concatenate cat", opWordContains, '\0', "cat", 1},
        {"cat", opWordContains, '\0', "cat", 1},
        {"the cat sat", opNotWordContains, '\0', "cat", 0},
        {"concatenate", opNotWordContains, '\0', "cat", 1},
        // An empty word matches nowhere; the search must end.
        {"the cat", opWordContains, '\0', "", 0},
        {"the cat", opNotWordContains, '\0', "", 1},
        {"", opWordContains, '\0', "", 0},
    };
    for (const auto& c : cases) {
        const TOutcome outcome = Apply(Text(c.left), Text(c.right), c.op, false, c.separator);
        ASSERT_EQ(outcome.item.kind, ekInteger) << c.left << " " << c.op << " " << c.right;
        EXPECT_EQ(outcome.item.value.integer, c.expected) << c.left << " " << c.op << " " << c.right;
    }
    EXPECT_EQ(Apply(Text("a,b"), Text("a"), opTokenEquals, true, ',').item.value.integer, 0);
}

// ------------------------------------------------------------------ array membership

TEST_F(BinaryOperatorsTest, ArrayMembership) {
    const EXPRESSION_ITEM numbers = Reference(list, ekArray, "a");
    const EXPRESSION_ITEM strings = Reference(list, ekArray, "t");
    EXPECT_EQ(Apply(numbers, Int(20), opContains).item.value.integer, 1);
    EXPECT_EQ(Apply(numbers, Int(25), opContains).item.value.integer, 0);
    EXPECT_EQ(Apply(numbers, Int(25), opNotContains).item.value.integer, 1);
    EXPECT_EQ(Apply(numbers, Int(20), opContains, true).item.value.integer, 0);
    EXPECT_EQ(Apply(strings, Text("second"), opContains).item.value.integer, 1);
    EXPECT_EQ(Apply(strings, Text("third", ekBufferedText), opNotContains).item.value.integer, 1);
    for (bool check : {true, false}) {
        EXPECT_EQ(Apply(numbers, Real(20.0), opContains, check).code, eeWrongOperand);
        EXPECT_EQ(Apply(strings, Int(1), opContains, check).code, eeWrongOperand);
        EXPECT_EQ(Apply(numbers, numbers, opContains, check).code, eeWrongOperand);
    }
}

// ------------------------------------------------------------------ assignments

struct TListenerCall {
    VARINFO ref;
    TVariable::TListenAction action;
};
std::vector<TListenerCall> listenerCalls;

void RecordListener(TVariableList&, const VARINFO& ref, TVariable::TListenAction action) {
    listenerCalls.push_back({ref, action});
}

class AssignmentTest : public BinaryOperatorsTest {
protected:
    void SetUp() override {
        BinaryOperatorsTest::SetUp();
        listenerCalls.clear();
    }
    EXPRESSION_ITEM Var(const char* name) { return Reference(list, ekVariable, name); }
    EXPRESSION_ITEM Element(const char* name) { return Reference(list, ekElement, name); }
    EXPRESSION_ITEM Element2(const char* name) { return Reference(list, ekElement2, name); }
    int64_t ArrayItem(const char* name, int k) { return *static_cast<int64_t*>(list.GetArrayItem(name, k)); }
};

TEST_F(AssignmentTest, IntegerTargets) {
    const struct {
        int64_t start;
        int op;
        EXPRESSION_ITEM right;
        int64_t expected;
    } cases[] = {
        {7, opAssign, Int(5), 5},
        {7, opAddAssign, Real(2.9), 9},
        {7, opAssign, Real(3e10), -64771072},
        {7, opSubtractAssign, Int(10), -3},
        {7, opMultiplyAssign, Int(6), 42},
        {7, opDivideAssign, Int(2), 3},
        {7, opDivideAssign, Int(0), 0},
        {INT64_MIN, opDivideAssign, Int(-1), INT64_MIN},
        {INT64_MAX, opAddAssign, Int(1), INT64_MIN},
        {0, opOrAssign, Int(0), 0},
        {0, opOrAssign, Real(0.5), 0},
        {0, opOrAssign, Int(3), 1},
        {2, opAndAssign, Int(3), 1},
        {2, opAndAssign, Int(0), 0},
        {3, opPowerAssign, Int(2), 9},
        {2, opPowerAssign, Int(100), INT64_MAX},
        {2, opPowerAssign, Real(0.5), 1},
    };
    for (const auto& c : cases) {
        list.GetVar("i")->value.i = c.start;
        TPostfix postfix{Var("i"), c.right, Binary(c.op)};
        const EXPRVALUE v = Run(postfix);
        ASSERT_EQ(v.kind, ekInteger) << c.start << " " << c.op;
        EXPECT_EQ(v.value.integer, c.expected) << c.start << " " << c.op;
        EXPECT_EQ(IntegerOf("i"), c.expected) << c.start << " " << c.op;
        EXPECT_EQ(v.ref.index, -1);
    }
}

TEST_F(AssignmentTest, RealPointAndComplexTargets) {
    TPostfix toReal{Var("d"), Int(5), Binary(opAssign)};
    EXPECT_EQ(Run(toReal).value.real, 5.0);
    TPostfix divide{Var("d"), Int(0), Binary(opDivideAssign)};
    EXPECT_EQ(Run(divide).value.real, 0.0);
    EXPECT_EQ(list.GetVar("d")->value.d, 0.0);

    list.NewPoint("q", false)->x = 10;
    TPostfix points{Var("p"), Var("q"), Binary(opAddAssign)};
    const EXPRVALUE moved = Run(points);
    EXPECT_EQ(moved.kind, ekPoint);
    EXPECT_EQ(list.GetVar("p")->value.p.x, 13);
    EXPECT_EQ(list.GetVar("p")->value.p.y, -4);

    *list.NewComplex("z", false) = VCOMPLEX{3, 4};
    list.GetVar("c")->value.c = VCOMPLEX{1, 2};
    TPostfix product{Var("c"), Var("z"), Binary(opMultiplyAssign)};
    const EXPRVALUE v = Run(product);
    EXPECT_EQ(v.kind, ekComplex);
    EXPECT_DOUBLE_EQ(v.value.complex.re, -5);
    EXPECT_DOUBLE_EQ(list.GetVar("c")->value.c.im, 10);
    TPostfix quotient{Var("c"), Var("c"), Binary(opDivideAssign)};
    Run(quotient);
    EXPECT_DOUBLE_EQ(list.GetVar("c")->value.c.re, 1);
    EXPECT_DOUBLE_EQ(list.GetVar("c")->value.c.im, 0);
}

TEST_F(AssignmentTest, HalvesAndArrayElements) {
    TPostfix pointY{Var("p"), Field(kFieldY), Int(7), Binary(opAssign)};
    EXPECT_EQ(Run(pointY).value.integer, 7);
    EXPECT_EQ(list.GetVar("p")->value.p.x, 3);
    EXPECT_EQ(list.GetVar("p")->value.p.y, 7);

    TPostfix pointX{Var("p"), Field(kFieldX), Int(2), Binary(opSubtractAssign)};
    Run(pointX);
    EXPECT_EQ(list.GetVar("p")->value.p.x, 1);
    EXPECT_EQ(list.GetVar("p")->value.p.y, 7);

    TPostfix complexIm{Var("c"), Field(kFieldIm), Real(2.5), Binary(opAddAssign)};
    EXPECT_DOUBLE_EQ(Run(complexIm).value.real, 2.25);
    EXPECT_DOUBLE_EQ(list.GetVar("c")->value.c.re, 1.5);
    EXPECT_DOUBLE_EQ(list.GetVar("c")->value.c.im, 2.25);

    TPostfix element{Int(1), Element("a"), Int(99), Binary(opAssign)};
    EXPECT_EQ(Run(element).value.integer, 99);
    EXPECT_EQ(ArrayItem("a", 1), 99);
    EXPECT_EQ(ArrayItem("a", 2), 30);

    TPostfix fromEnd{Int(-1), Element("a"), Int(5), Binary(opAddAssign)};
    EXPECT_EQ(Run(fromEnd).value.integer, 35);
    EXPECT_EQ(ArrayItem("a", 2), 35);

    TPostfix cell{Int(1), Int(2), Element2("m"), Int(5), Binary(opAddAssign)};
    EXPECT_EQ(Run(cell).value.integer, 5);
    EXPECT_EQ(*static_cast<int64_t*>(list.GetArray2Item("m", 1, 2)), 5);

    TPostfix text{Int(0), Element("t"), Constant("first"), Binary(opAssign)};
    const EXPRVALUE v = Run(text);
    EXPECT_EQ(v.kind, ekOwnedText);
    EXPECT_EQ(v.text, "first");
    EXPECT_EQ(*static_cast<TString*>(list.GetArrayItem("t", 0)), "first");
}

TEST_F(AssignmentTest, ElementsOutsideTheArrayWriteNothing) {
    TPostfix outside{Int(10), Element("a"), Int(5), Binary(opAssign)};
    const EXPRVALUE v = Run(outside);
    EXPECT_EQ(v.kind, ekInteger);
    EXPECT_EQ(v.value.integer, 0);
    EXPECT_EQ(ArrayItem("a", 0), 10);
    EXPECT_EQ(ArrayItem("a", 2), 30);
}

TEST_F(AssignmentTest, TextTargets) {
    const struct {
        const char* start;
        int op;
        const char* right;
        const char* expected;
    } cases[] = {
        {"text", opAssign, "new", "new"},
        {"ab", opAddAssign, "cd", "abcd"},
        {"abcab", opSubtractAssign, "ab", "c"},
    };
    for (const auto& c : cases) {
        *list.GetVar("s")->value.s = c.start;
        TPostfix postfix{Var("s"), Constant(c.right), Binary(c.op)};
        const EXPRVALUE v = Run(postfix);
        EXPECT_EQ(v.kind, ekOwnedText);
        EXPECT_EQ(v.text, c.expected);
        EXPECT_EQ(*list.GetVar("s")->value.s, c.expected);
    }
    *list.GetVar("s")->value.s = "ab";
    TPostfix doubled{Var("s"), Var("s"), Binary(opAddAssign)};
    EXPECT_EQ(Run(doubled).text, "abab");
    TPostfix removed{Var("s"), Var("s"), Binary(opSubtractAssign)};
    EXPECT_EQ(Run(removed).text, "");
}

TEST_F(AssignmentTest, ListenersFireOncePerAssignmentAfterTheStore) {
    list.GetVar("i")->AddListener(RecordListener);
    list.GetVar("a")->AddListener(RecordListener);
    TPostfix twice{Var("i"), Int(5), Binary(opAssign), Var("i"), Int(1), Binary(opAddAssign), Binary(opAdd)};
    EXPECT_EQ(Run(twice, true).kind, ekInteger);
    EXPECT_TRUE(listenerCalls.empty());
    EXPECT_EQ(IntegerOf("i"), 7);

    EXPECT_EQ(Run(twice).value.integer, 5 + 6);
    ASSERT_EQ(listenerCalls.size(), 2u);
    for (const TListenerCall& call : listenerCalls) {
        EXPECT_EQ(call.ref.index, list.GetVarIndex("i"));
        EXPECT_EQ(call.action, TVariable::laAssigned);
    }

    listenerCalls.clear();
    TPostfix element{Int(2), Element("a"), Int(1), Binary(opAssign)};
    Run(element);
    ASSERT_EQ(listenerCalls.size(), 1u);
    EXPECT_EQ(listenerCalls[0].ref.index, list.GetVarIndex("a"));
    EXPECT_EQ(listenerCalls[0].ref.index1, 2);
}

TEST_F(AssignmentTest, CheckModeWritesNothing) {
    TPostfix integer{Var("i"), Int(5), Binary(opAssign)};
    const EXPRVALUE v = Run(integer, true);
    EXPECT_EQ(v.kind, ekInteger);
    EXPECT_EQ(IntegerOf("i"), 7);
    TPostfix text{Var("s"), Constant("x"), Binary(opAddAssign)};
    EXPECT_EQ(Run(text, true).kind, ekBufferedText);
    EXPECT_EQ(*list.GetVar("s")->value.s, "text");
}

TEST_F(AssignmentTest, AssigningToAResultIsAMissingVariable) {
    for (bool check : {true, false}) {
        TPostfix sum{Var("i"), Int(1), Binary(opAdd), Int(3), Binary(opAssign)};
        EXPECT_EQ(Run(sum, check).kind, ekError);
        EXPECT_EQ(EvaluateErrorCode, eeMissingVariable);
        EXPECT_EQ(IntegerOf("i"), 7);
    }
    EXPECT_EQ(Apply(Text("a"), Text("b"), opAssign).code, eeMissingVariable);
}

TEST_F(AssignmentTest, ATargetOfAnotherTypeIsNotWritten) {
    // An integer operand that claims to come from the string variable s.
    const TOutcome outcome = Apply(From("s", Int(1)), Int(5), opAssign);
    EXPECT_EQ(outcome.item.kind, ekInteger);
    EXPECT_EQ(outcome.item.value.integer, 0);
    EXPECT_EQ(*list.GetVar("s")->value.s, "text");
    EXPECT_EQ(Apply(From("d", Int(1)), Int(5), opAssign).item.value.integer, 0);
    EXPECT_EQ(list.GetVar("d")->value.d, 2.5);
    // A half of a value that is not a point.
    EXPRESSION_ITEM y = MakeIntegerItem(0);
    y.ref = VARINFO{list.GetVarIndex("i"), -1, -1, kFieldY};
    EXPECT_EQ(Apply(y, Int(5), opAssign).item.value.integer, 0);
    EXPECT_EQ(IntegerOf("i"), 7);
    EXPRESSION_ITEM gone = MakeIntegerItem(0);
    gone.ref = VARINFO{1000, -1, -1, -1};
    EXPECT_EQ(Apply(gone, Int(5), opAssign).item.kind, ekInteger);
}


// The same operator, called through a pointer the loop does not recognise,
// so every assignment takes the general path.
EXPRESSION_ITEM GeneralBinary(TVariableList& vars, TEvalStack& stack, EXPRESSION_ITEM& left, EXPRESSION_ITEM& right,
                              int op, char flag, bool check) {
    return ApplyBinaryOperator(vars, stack, left, right, op, flag, check);
}

// What a run leaves behind: the result, the error code and the targets.
struct TAssignmentTrace {
    EXPRVALUE result;
    int code;
    int64_t i;
    double d;
    int64_t items[3];
};

TEST_F(AssignmentTest, NumberAssignmentsInTheLoopMatchTheGeneralPath) {
    TPostfix cases[] = {
        {Var("i"), Int(5), Binary(opAssign)},           {Var("i"), Real(2.9), Binary(opAddAssign)},
        {Var("i"), Int(0), Binary(opDivideAssign)},      {Var("i"), Int(100), Binary(opPowerAssign)},
        {Var("i"), Int(3), Binary(opOrAssign)},          {Var("d"), Int(5), Binary(opAssign)},
        {Var("d"), Real(0.0), Binary(opDivideAssign)},   {Var("d"), Int(1), Binary(opOrAssign)},
        {Int(1), Element("a"), Int(4), Binary(opAssign)}, {Int(-1), Element("a"), Int(2), Binary(opAddAssign)},
        {Int(7), Element("a"), Int(1), Binary(opAssign)}, {Real(-9.5), Element("a"), Int(1), Binary(opAssign)},
        {Int(1), Int(2), Element2("m"), Int(3), Binary(opAssign)},
        {Var("i"), Int(1), Binary(opAdd), Int(3), Binary(opAssign)},
    };
    const TEvaluateOperations saved = EvaluateOperations();
    auto trace = [&](TPostfix& postfix, bool general) {
        list.GetVar("i")->value.i = 7;
        list.GetVar("d")->value.d = 2.5;
        for (int k = 0; k < 3; ++k) *static_cast<int64_t*>(list.GetArrayItem("a", k)) = 10 * (k + 1);
        if (general) EvaluateOperations().binaryOperator = GeneralBinary;
        TAssignmentTrace t{Run(postfix), EvaluateErrorCode, IntegerOf("i"), list.GetVar("d")->value.d, {}};
        EvaluateOperations() = saved;
        for (int k = 0; k < 3; ++k) t.items[k] = ArrayItem("a", k);
        return t;
    };
    for (TPostfix& postfix : cases) {
        const TAssignmentTrace fast = trace(postfix, false);
        const TAssignmentTrace general = trace(postfix, true);
        const int at = static_cast<int>(&postfix - cases);
        EXPECT_EQ(fast.result.kind, general.result.kind) << at;
        EXPECT_EQ(std::memcmp(&fast.result.value, &general.result.value, sizeof fast.result.value), 0) << at;
        EXPECT_EQ(std::memcmp(&fast.result.ref, &general.result.ref, sizeof fast.result.ref), 0) << at;
        EXPECT_EQ(fast.code, general.code) << at;
        EXPECT_EQ(fast.i, general.i) << at;
        EXPECT_EQ(std::memcmp(&fast.d, &general.d, sizeof fast.d), 0) << at;
        EXPECT_EQ(std::memcmp(fast.items, general.items, sizeof fast.items), 0) << at;
    }
}

}  // namespace
