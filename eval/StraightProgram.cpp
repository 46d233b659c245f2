// TStraightProgram: the straight form made from a decoded program, and the code of its steps.
#include "StraightProgram.h"

#include <algorithm>
#include <type_traits>

#include "BinaryOperators.h"
#include "ExtensionHooks.h"
#include "OperatorSupport.h"
#include "StackRoutines.h"

__attribute__((tls_model("initial-exec"), visibility("hidden"))) thread_local const TStraightContext*
    straightContext = nullptr;

namespace {

typedef TDecodedExpression::TProgram TProgram;
typedef TDecodedExpression::TFrame TFrame;
typedef TDecodedExpression::TStep TStep;
typedef TDecodedExpression::TBinding TBinding;

// ------------------------------------------------------------------ the steps' code

template <class T>
constexpr bool kIsReal = std::is_same<T, double>::value;

// The accumulator of a kind: A for reals, N for integers.
template <class T>
[[gnu::always_inline]] inline T Accumulator(double a, int64_t n) {
    if constexpr (kIsReal<T>)
        return a;
    else
        return n;
}

template <class T>
[[gnu::always_inline]] inline T Read(const void* at) {
    return *static_cast<const T*>(at);
}

// What a spilling step puts aside: nothing, A or N.
struct TNoSpill {};

template <class Spill>
[[gnu::always_inline]] inline void PutAside(const TStraightStep* s, double a, int64_t n) {
    if constexpr (kIsReal<Spill>)
        *static_cast<double*>(s->spill) = a;
    else if constexpr (std::is_same<Spill, int64_t>::value)
        *static_cast<int64_t*>(s->spill) = n;
}

// The next step with value in the accumulator of its kind; the last step
// writes the result instead.
template <bool last, class T>
[[gnu::always_inline]] inline void Next(const TStraightStep* s, double a, int64_t n, EXPRVALUE* out, T value) {
    if (last) return s[1].function.program->Finish(value, *out);
    if constexpr (kIsReal<T>)
        return s[1].handler(s + 1, value, n, out);
    else
        return s[1].handler(s + 1, a, value, out);
}

// What the steps compute, each exactly as the general steps do: Operand is
// the kind read, Result the kind given.
template <class Read, class Give = Read>
struct TOperation {
    typedef Read Operand;
    typedef Give Result;
};
struct TAdd : TOperation<double> {
    static double Apply(const TStraightStep*, double l, double r) { return OrderedSum(l, r); }
};
struct TSubtract : TOperation<double> {
    static double Apply(const TStraightStep*, double l, double r) { return l - r; }
};
struct TMultiply : TOperation<double> {
    static double Apply(const TStraightStep*, double l, double r) { return OrderedProduct(l, r); }
};
struct TDivide : TOperation<double> {
    static double Apply(const TStraightStep*, double l, double r) { return GuardedDivide(l, r); }
};
struct TRaise : TOperation<double> {
    static double Apply(const TStraightStep*, double l, double r) { return GuardedPow(l, r); }
};
struct TFunctionOfTwo : TOperation<double> {
    static double Apply(const TStraightStep* s, double l, double r) { return s->function.two(l, r); }
};
struct TFunctionOfOne : TOperation<double> {
    static double Apply(const TStraightStep* s, double v) { return s->function.one(v); }
};
struct TNegate : TOperation<double> {
    static double Apply(const TStraightStep*, double v) { return -v; }
};
template <class T>
struct TLoad : TOperation<T> {
    static T Apply(const TStraightStep*, T v) { return v; }
};
// Integer arithmetic, bit operators and logic.
template <int64_t (*Function)(int64_t, int64_t)>
struct TOnIntegers : TOperation<int64_t> {
    static int64_t Apply(const TStraightStep*, int64_t l, int64_t r) { return Function(l, r); }
};
// Comparisons give the integer 1 or 0.
template <class Compare, class T>
struct TComparison : TOperation<T, int64_t> {
    static int64_t Apply(const TStraightStep*, T l, T r) { return Compare()(l, r); }
};
struct TIntegerToReal : TOperation<int64_t, double> {
    static double Apply(const TStraightStep*, int64_t v) { return static_cast<double>(v); }
};
struct TRealToInt32 : TOperation<double, int64_t> {
    static int64_t Apply(const TStraightStep*, double v) { return TruncateToInt32(v); }
};
struct TRealIsNonZero : TOperation<double, int64_t> {
    static int64_t Apply(const TStraightStep*, double v) { return v != 0.0; }
};
struct TNegateInteger : TOperation<int64_t> {
    static int64_t Apply(const TStraightStep*, int64_t v) { return WrappingNegate(v); }
};

int64_t PowerOfIntegers(int64_t l, int64_t r) { return TPower::OnIntegers(l, r); }
int64_t DivideIntegers(int64_t l, int64_t r) { return GuardedDivide(l, r); }

#define STRAIGHT_HANDLER(name) \
    void name(const TStraightStep* s, [[maybe_unused]] double a, [[maybe_unused]] int64_t n, EXPRVALUE* out)

// Every code comes in two: one going on to the next step, and one for the
// last step before the end, which writes the result itself.

// A = X op Y (A put aside first when it holds a value); A = A op X; A = X op A
// (N in place of A where the kind is integer).
template <class Op, class Spill, bool last>
STRAIGHT_HANDLER(OperandsXY) {
    typedef typename Op::Operand T;
    PutAside<Spill>(s, a, n);
    return Next<last>(s, a, n, out, Op::Apply(s, Read<T>(s->x), Read<T>(s->y)));
}
template <class Op, bool last>
STRAIGHT_HANDLER(OperandsAX) {
    typedef typename Op::Operand T;
    return Next<last>(s, a, n, out, Op::Apply(s, Accumulator<T>(a, n), Read<T>(s->x)));
}
template <class Op, bool last>
STRAIGHT_HANDLER(OperandsXA) {
    typedef typename Op::Operand T;
    return Next<last>(s, a, n, out, Op::Apply(s, Read<T>(s->x), Accumulator<T>(a, n)));
}

// A = f(X); A = f(A).
template <class Op, class Spill, bool last>
STRAIGHT_HANDLER(OperandX) {
    PutAside<Spill>(s, a, n);
    return Next<last>(s, a, n, out, Op::Apply(s, Read<typename Op::Operand>(s->x)));
}
template <class Op, bool last>
STRAIGHT_HANDLER(OperandA) {
    return Next<last>(s, a, n, out, Op::Apply(s, Accumulator<typename Op::Operand>(a, n)));
}

// Two real operators in one step: A = (A op X) op' Y, with either operand
// of each first as the steps had them.
template <class Op1, bool accumulatorFirst, class Op2, bool resultFirst, bool last>
STRAIGHT_HANDLER(Chain) {
    const double x = Read<double>(s->x);
    const double y = Read<double>(s->y);
    const double r = accumulatorFirst ? Op1::Apply(s, a, x) : Op1::Apply(s, x, a);
    return Next<last>(s, a, n, out, resultFirst ? Op2::Apply(s, r, y) : Op2::Apply(s, y, r));
}
// A = (X op Y) op' Z, A put aside first when spill.
template <class Op1, class Op2, bool resultFirst, bool spill, bool last>
STRAIGHT_HANDLER(StartChain) {
    if (spill) PutAside<double>(s, a, n);
    const double r = Op1::Apply(s, Read<double>(s->x), Read<double>(s->y));
    const double z = Read<double>(s->z);
    return Next<last>(s, a, n, out, resultFirst ? Op2::Apply(s, r, z) : Op2::Apply(s, z, r));
}

// A = (X op Y) op' A, or A op' (X op Y): the value in A meets a new one
// at once, without being put aside.
template <class Op1, class Op2, bool resultFirst, bool last>
STRAIGHT_HANDLER(JoinChain) {
    const double r = Op1::Apply(s, Read<double>(s->x), Read<double>(s->y));
    return Next<last>(s, a, n, out, resultFirst ? Op2::Apply(s, r, a) : Op2::Apply(s, a, r));
}

// An item of a 1-D array of integers or reals as the general step finds
// it: null outside the array.
template <class Item, class Index>
[[gnu::always_inline]] inline Item* ItemOf(const TVariable* v, Index index) {
    const int count = v->value.a.count;
    const int at = AdjustIndex(IndexOperand(index), count);
    Item* items = static_cast<Item*>(v->value.a.items);
    return items != nullptr && at >= 0 && at < count ? items + at : nullptr;
}
// Its value: 0 outside the array.
template <class Item, class Index>
[[gnu::always_inline]] inline Item ElementValue(const TVariable* v, Index index) {
    const Item* item = ItemOf<const Item>(v, index);
    return item != nullptr ? *item : Item{0};
}

// A = array[X]; A = array[A] (N where the items are integers).
template <class Index, class Item, class Spill, bool last>
STRAIGHT_HANDLER(ElementX) {
    PutAside<Spill>(s, a, n);
    return Next<last>(s, a, n, out, ElementValue<Item>(s->function.array, Read<Index>(s->x)));
}
template <class Index, class Item, bool last>
STRAIGHT_HANDLER(ElementA) {
    return Next<last>(s, a, n, out, ElementValue<Item>(s->function.array, Accumulator<Index>(a, n)));
}

// The assignment operators on a target of kind T, with the right operand
// as the target's kind reads it (ItemAsInt, ItemAsReal).
struct TReplace {
    template <class T>
    static T Apply(T, T value) { return value; }
};
template <class Arithmetic>
struct TArithmeticAssignment {
    static int64_t Apply(int64_t l, int64_t r) { return Arithmetic::OnIntegers(l, r); }
    static double Apply(double l, double r) { return Arithmetic::OnReals(l, r); }
};
template <int64_t (*Function)(int64_t, int64_t)>
struct TIntegerAssignment {
    static int64_t Apply(int64_t l, int64_t r) { return Function(l, r); }
};

template <class T, class R>
[[gnu::always_inline]] inline T AsKindOf(R value) {
    if constexpr (std::is_same<T, R>::value)
        return value;
    else if constexpr (kIsReal<T>)
        return static_cast<double>(value);
    else
        return TruncateToInt32(value);
}

// The last step: target op= value, the new value the result. The value is
// in the accumulator or X; the target in spill.
template <class Op, class T, class R, bool fromAccumulator>
STRAIGHT_HANDLER(StoreToVariable) {
    T* target = static_cast<T*>(s->spill);
    const R right = fromAccumulator ? Accumulator<R>(a, n) : Read<R>(s->x);
    const T value = Op::Apply(*target, AsKindOf<T>(right));
    *target = value;
    return s[1].function.program->Finish(value, *out);
}

// Where an element assignment finds its index (X or the accumulator) and
// its value (Y or the accumulator).
enum TElementShape { esBothInMemory, esIndexInAccumulator, esValueInAccumulator, kElementShapes };

// The last step: array[index] op= value. Outside the array nothing is
// stored and the result is 0, as the operator unit gives it.
template <class Op, class T, class R, class Index, TElementShape shape>
STRAIGHT_HANDLER(StoreToElement) {
    const Index index = shape == esIndexInAccumulator ? Accumulator<Index>(a, n) : Read<Index>(s->x);
    const R right = shape == esValueInAccumulator ? Accumulator<R>(a, n) : Read<R>(s->y);
    T* item = ItemOf<T>(s->function.array, index);
    if (item == nullptr) return s[1].function.program->Finish(T{0}, *out);
    const T value = Op::Apply(*item, AsKindOf<T>(right));
    *item = value;
    return s[1].function.program->Finish(value, *out);
}

#undef STRAIGHT_HANDLER

// ------------------------------------------------------------------ tables of the codes

// Where a step's operands are: all in memory (A or N put aside first when
// it holds a value), or one in the accumulator, first or second.
enum TShape { shStart, shSpillReal, shSpillInteger, shAccumulatorFirst, shAccumulatorSecond, kShapes };

// The codes of one kind of step by shape (null: no such shape), going on
// and last.
typedef TStraightHandler TFamily[kShapes][2];

template <class Op>
struct TTwoOperands {
    static constexpr TFamily codes = {
        {OperandsXY<Op, TNoSpill, false>, OperandsXY<Op, TNoSpill, true>},
        {OperandsXY<Op, double, false>, OperandsXY<Op, double, true>},
        {OperandsXY<Op, int64_t, false>, OperandsXY<Op, int64_t, true>},
        {OperandsAX<Op, false>, OperandsAX<Op, true>},
        {OperandsXA<Op, false>, OperandsXA<Op, true>},
    };
};
template <class Op>
struct TOneOperand {
    static constexpr TFamily codes = {
        {OperandX<Op, TNoSpill, false>, OperandX<Op, TNoSpill, true>},
        {OperandX<Op, double, false>, OperandX<Op, double, true>},
        {OperandX<Op, int64_t, false>, OperandX<Op, int64_t, true>},
        {OperandA<Op, false>, OperandA<Op, true>},
        {nullptr, nullptr},
    };
};
// Element reads: the index is the one operand.
template <class Index, class Item>
struct TElements {
    static constexpr TFamily codes = {
        {ElementX<Index, Item, TNoSpill, false>, ElementX<Index, Item, TNoSpill, true>},
        {ElementX<Index, Item, double, false>, ElementX<Index, Item, double, true>},
        {ElementX<Index, Item, int64_t, false>, ElementX<Index, Item, int64_t, true>},
        {ElementA<Index, Item, false>, ElementA<Index, Item, true>},
        {nullptr, nullptr},
    };
};

// A general step's family and whether it gives an integer; null when the
// straight form has none.
struct TStepFamily {
    const TFamily* codes;
    bool givesInteger;
};

TStepFamily FamilyOf(TStepCode code) {
    switch (code) {
        case scAddReals: return {&TTwoOperands<TAdd>::codes, false};
        case scSubtractReals: return {&TTwoOperands<TSubtract>::codes, false};
        case scMultiplyReals: return {&TTwoOperands<TMultiply>::codes, false};
        case scDivideReals: return {&TTwoOperands<TDivide>::codes, false};
        case scPowerReals: return {&TTwoOperands<TRaise>::codes, false};
        case scRealFunctionOfTwo: return {&TTwoOperands<TFunctionOfTwo>::codes, false};
        case scRealFunction: return {&TOneOperand<TFunctionOfOne>::codes, false};
        case scNegateReal: return {&TOneOperand<TNegate>::codes, false};
        case scIntegerToReal: return {&TOneOperand<TIntegerToReal>::codes, false};
        case scAddIntegers: return {&TTwoOperands<TOnIntegers<WrappingAdd>>::codes, true};
        case scSubtractIntegers: return {&TTwoOperands<TOnIntegers<WrappingSubtract>>::codes, true};
        case scMultiplyIntegers: return {&TTwoOperands<TOnIntegers<WrappingMultiply>>::codes, true};
        case scDivideIntegers: return {&TTwoOperands<TOnIntegers<DivideIntegers>>::codes, true};
        case scPowerIntegers: return {&TTwoOperands<TOnIntegers<PowerOfIntegers>>::codes, true};
        case scRemainder: return {&TTwoOperands<TOnIntegers<GuardedRemainder>>::codes, true};
        case scBitOr: return {&TTwoOperands<TOnIntegers<BitOr>>::codes, true};
        case scBitAnd: return {&TTwoOperands<TOnIntegers<BitAnd>>::codes, true};
        case scShiftRight: return {&TTwoOperands<TOnIntegers<ShiftRight>>::codes, true};
        case scShiftLeft: return {&TTwoOperands<TOnIntegers<ShiftLeft>>::codes, true};
        case scLogicalOr: return {&TTwoOperands<TOnIntegers<EitherSet>>::codes, true};
        case scLogicalAnd: return {&TTwoOperands<TOnIntegers<BothSet>>::codes, true};
        case scEqualReals: return {&TTwoOperands<TComparison<TEqualTo, double>>::codes, true};
        case scNotEqualReals: return {&TTwoOperands<TComparison<TNotEqualTo, double>>::codes, true};
        case scLessReals: return {&TTwoOperands<TComparison<TLessThan, double>>::codes, true};
        case scGreaterReals: return {&TTwoOperands<TComparison<TGreaterThan, double>>::codes, true};
        case scLessOrEqualReals: return {&TTwoOperands<TComparison<TLessOrEqual, double>>::codes, true};
        case scGreaterOrEqualReals: return {&TTwoOperands<TComparison<TGreaterOrEqual, double>>::codes, true};
        case scEqualIntegers: return {&TTwoOperands<TComparison<TEqualTo, int64_t>>::codes, true};
        case scNotEqualIntegers: return {&TTwoOperands<TComparison<TNotEqualTo, int64_t>>::codes, true};
        case scLessIntegers: return {&TTwoOperands<TComparison<TLessThan, int64_t>>::codes, true};
        case scGreaterIntegers: return {&TTwoOperands<TComparison<TGreaterThan, int64_t>>::codes, true};
        case scLessOrEqualIntegers: return {&TTwoOperands<TComparison<TLessOrEqual, int64_t>>::codes, true};
        case scGreaterOrEqualIntegers: return {&TTwoOperands<TComparison<TGreaterOrEqual, int64_t>>::codes, true};
        case scRealToInt32: return {&TOneOperand<TRealToInt32>::codes, true};
        case scRealIsNonZero: return {&TOneOperand<TRealIsNonZero>::codes, true};
        case scNegateInteger: return {&TOneOperand<TNegateInteger>::codes, true};
        default: return {nullptr, false};
    }
}

const TFamily& ElementFamily(bool realIndex, bool realItems) {
    if (realIndex) return realItems ? TElements<double, double>::codes : TElements<double, int64_t>::codes;
    return realItems ? TElements<int64_t, double>::codes : TElements<int64_t, int64_t>::codes;
}

const TFamily& LoadFamily(bool real) {
    return real ? TOneOperand<TLoad<double>>::codes : TOneOperand<TLoad<int64_t>>::codes;
}

// The real operators that chain, numbered for the tables below.
int ChainOf(TStepCode code) {
    switch (code) {
        case scAddReals: return 0;
        case scSubtractReals: return 1;
        case scMultiplyReals: return 2;
        case scDivideReals: return 3;
        default: return -1;
    }
}

// The chains of two operators: [first operator][for chains: A first 0,
// else 1; for starts: spill 1][second operator][its result first 0, else
// 1][last].
struct TChainTable {
    TStraightHandler codes[4][2][4][2][2];
};

template <bool start, class Op1, bool flag, class Op2>
constexpr void FillChainPair(TStraightHandler (&codes)[2][2]) {
    if constexpr (start) {
        codes[0][0] = StartChain<Op1, Op2, true, flag, false>;
        codes[0][1] = StartChain<Op1, Op2, true, flag, true>;
        codes[1][0] = StartChain<Op1, Op2, false, flag, false>;
        codes[1][1] = StartChain<Op1, Op2, false, flag, true>;
    } else {
        codes[0][0] = Chain<Op1, flag, Op2, true, false>;
        codes[0][1] = Chain<Op1, flag, Op2, true, true>;
        codes[1][0] = Chain<Op1, flag, Op2, false, false>;
        codes[1][1] = Chain<Op1, flag, Op2, false, true>;
    }
}
// ORDER CHAIN: add, subtract, multiply, divide.
template <bool start, class Op1, bool flag>
constexpr void FillChainRow(TStraightHandler (&codes)[4][2][2]) {
    FillChainPair<start, Op1, flag, TAdd>(codes[0]);
    FillChainPair<start, Op1, flag, TSubtract>(codes[1]);
    FillChainPair<start, Op1, flag, TMultiply>(codes[2]);
    FillChainPair<start, Op1, flag, TDivide>(codes[3]);
}
template <bool start, class Op1>
constexpr void FillChainOperator(TStraightHandler (&codes)[2][4][2][2]) {
    FillChainRow<start, Op1, !start>(codes[0]);
    FillChainRow<start, Op1, start>(codes[1]);
}
template <bool start>
constexpr TChainTable MakeChainTable() {
    TChainTable table{};
    FillChainOperator<start, TAdd>(table.codes[0]);
    FillChainOperator<start, TSubtract>(table.codes[1]);
    FillChainOperator<start, TMultiply>(table.codes[2]);
    FillChainOperator<start, TDivide>(table.codes[3]);
    return table;
}
constexpr TChainTable kChains = MakeChainTable<false>();
constexpr TChainTable kStartChains = MakeChainTable<true>();

// The joins: [first operator][second operator][the new value first 0, else 1][last].
struct TJoinTable {
    TStraightHandler codes[4][4][2][2];
};

template <class Op1, class Op2>
constexpr void FillJoinPair(TStraightHandler (&codes)[2][2]) {
    codes[0][0] = JoinChain<Op1, Op2, true, false>;
    codes[0][1] = JoinChain<Op1, Op2, true, true>;
    codes[1][0] = JoinChain<Op1, Op2, false, false>;
    codes[1][1] = JoinChain<Op1, Op2, false, true>;
}
// ORDER CHAIN
template <class Op1>
constexpr void FillJoinRow(TStraightHandler (&codes)[4][2][2]) {
    FillJoinPair<Op1, TAdd>(codes[0]);
    FillJoinPair<Op1, TSubtract>(codes[1]);
    FillJoinPair<Op1, TMultiply>(codes[2]);
    FillJoinPair<Op1, TDivide>(codes[3]);
}
constexpr TJoinTable MakeJoinTable() {
    TJoinTable table{};
    FillJoinRow<TAdd>(table.codes[0]);
    FillJoinRow<TSubtract>(table.codes[1]);
    FillJoinRow<TMultiply>(table.codes[2]);
    FillJoinRow<TDivide>(table.codes[3]);
    return table;
}
constexpr TJoinTable kJoinChains = MakeJoinTable();

// The codes of one assignment operator on one kind of target from one kind
// of value: into a variable [value in the accumulator], into an element
// [index is a real][element shape].
struct TStoreCodes {
    TStraightHandler toVariable[2];
    TStraightHandler toElement[2][kElementShapes];
};

template <class Op, class T, class R, class Index>
constexpr void FillElementStores(TStraightHandler (&codes)[kElementShapes]) {
    codes[esBothInMemory] = StoreToElement<Op, T, R, Index, esBothInMemory>;
    codes[esIndexInAccumulator] = StoreToElement<Op, T, R, Index, esIndexInAccumulator>;
    codes[esValueInAccumulator] = StoreToElement<Op, T, R, Index, esValueInAccumulator>;
}
template <class Op, class T, class R>
constexpr TStoreCodes MakeStoreCodes() {
    TStoreCodes codes{};
    codes.toVariable[0] = StoreToVariable<Op, T, R, false>;
    codes.toVariable[1] = StoreToVariable<Op, T, R, true>;
    FillElementStores<Op, T, R, int64_t>(codes.toElement[0]);
    FillElementStores<Op, T, R, double>(codes.toElement[1]);
    return codes;
}

// An assignment operator on targets of one kind: [the value is a real].
struct TStoreRow {
    int op;
    TStoreCodes from[2];
};
template <class Op, class T>
constexpr TStoreRow StoreRow(int op) {
    return TStoreRow{op, {MakeStoreCodes<Op, T, int64_t>(), MakeStoreCodes<Op, T, double>()}};
}

// The assignments AssignNumberInPlace does: on integer targets, and on real
// ones. ORDER: none; looked up by operator.
const TStoreRow kIntegerStores[] = {
    StoreRow<TReplace, int64_t>(opAssign),
    StoreRow<TArithmeticAssignment<TAddition>, int64_t>(opAddAssign),
    StoreRow<TArithmeticAssignment<TSubtraction>, int64_t>(opSubtractAssign),
    StoreRow<TArithmeticAssignment<TMultiplication>, int64_t>(opMultiplyAssign),
    StoreRow<TArithmeticAssignment<TDivision>, int64_t>(opDivideAssign),
    StoreRow<TIntegerAssignment<EitherSet>, int64_t>(opOrAssign),
    StoreRow<TIntegerAssignment<BothSet>, int64_t>(opAndAssign),
    StoreRow<TArithmeticAssignment<TPower>, int64_t>(opPowerAssign),
};
const TStoreRow kRealStores[] = {
    StoreRow<TReplace, double>(opAssign),
    StoreRow<TArithmeticAssignment<TAddition>, double>(opAddAssign),
    StoreRow<TArithmeticAssignment<TSubtraction>, double>(opSubtractAssign),
    StoreRow<TArithmeticAssignment<TMultiplication>, double>(opMultiplyAssign),
    StoreRow<TArithmeticAssignment<TDivision>, double>(opDivideAssign),
};

// The codes of op on a target of that kind from a value of that kind;
// null when the in-place rules leave op to the operator unit.
template <size_t N>
const TStoreCodes* FindStoreCodes(const TStoreRow (&rows)[N], int op, bool realValue) {
    for (const TStoreRow& row : rows)
        if (row.op == op) return &row.from[realValue ? 1 : 0];
    return nullptr;
}
const TStoreCodes* StoreCodesOf(int op, bool realTarget, bool realValue) {
    return realTarget ? FindStoreCodes(kRealStores, op, realValue) : FindStoreCodes(kIntegerStores, op, realValue);
}

TExpressionItemType LeftKind(uint8_t kinds) { return static_cast<TExpressionItemType>(kinds & 0x0F); }
TExpressionItemType RightKind(uint8_t kinds) { return static_cast<TExpressionItemType>(kinds >> 4); }

// The general loop finishes the evaluation from item first, on the stack
// it holds there: items, then the call's result where there is one.
[[gnu::noinline]] void FinishByLoop(const TStraightContext& context, const EXPRESSION_ITEM* items, int count,
                                    const EXPRESSION_ITEM* result, int first, EXPRVALUE& out) {
    TEvaluation run{context.list, context.e, context.stack, false, context.userData, context.stack.GetCount()};
    for (int k = 0; k < count; ++k) run.stack.Push(items[k], false);
    if (result != nullptr) run.stack.Push(*result, false);
    FinishEvaluation(run, first, out);
}

// A first step's direct call (N holds the list, the seed of the run): the
// arguments as the loop would hold them, read now; the program goes on with
// the result (of kind T) where it has the kind the site expects and the
// looks before the run still hold, and the loop finishes otherwise. A call
// the form cannot make directly goes through the loop's own action.
template <class T, bool last>
void CallFirst(const TStraightStep* s, double a, int64_t n, EXPRVALUE* out) {
    const TStraightCall& call = *s->function.call;
    const TDecodedExpression::TCallSite& site = *call.site;
    const TVariableList& list = *reinterpret_cast<const TVariableList*>(n);
    EXPRESSION_ITEM items[TStraightCall::kItems];
    for (int k = 0; k < call.count; ++k) {
        items[k] = call.items[k];
        if (call.values[k] != nullptr) std::memcpy(&items[k].value, call.values[k], sizeof(int64_t));
    }
    const TStraightContext& context = *straightContext;
    const int below = call.count - site.operands;
    EXPRESSION_ITEM result;
    if (!CallExtFunctionDirectly(site.function, items + below, site.operands, context.userData, result))
        return FinishByLoop(context, items, call.count, nullptr, site.item, *out);
    if (result.kind != site.expected || !call.program->LookAgain(list))
        return FinishByLoop(context, items, below, &result, site.item + 1, *out);
    T value;
    std::memcpy(&value, &result.value, sizeof value);
    Next<last>(s, a, n, out, value);
}

const TStraightHandler kCallsGivingReals[2] = {CallFirst<double, false>, CallFirst<double, true>};
const TStraightHandler kCallsGivingIntegers[2] = {CallFirst<int64_t, false>, CallFirst<int64_t, true>};

}  // namespace

void RunStraightCalling(const TStraightProgram& form, TVariableList& list, EXPRESSION& e, TEvalStack& stack,
                        void* userData, EXPRVALUE& out) {
    const TStraightContext context{list, e, stack, userData};
    // While the call runs, the form counts as running: an evaluation of the
    // same expression inside it takes a frame of its own and neither binds
    // nor makes again what this run stands on.
    struct TRun {
        const TStraightContext* const outer;
        int& runs;
        TRun(const TStraightContext& context, int& runs) : outer(straightContext), runs(runs) {
            straightContext = &context;
            ++runs;
        }
        ~TRun() {
            --runs;
            straightContext = outer;
        }
    } run(context, *form.Runs());
    form.Run(out, reinterpret_cast<intptr_t>(&list));
}

// ------------------------------------------------------------------ making the program

// Follows the general steps with one accumulator (the register A or N
// holds) and writes the straight steps. A step reads its operands where
// they lie: a variable's value in the variable (set by Bind), anything
// else in the frame's register, where constants are from the start and a
// step's result is put aside when the accumulator is needed for another
// value before that result is used.
class TStraightMaker {
public:
    TStraightMaker(const TProgram& code, TFrame& frame, TStraightProgram& program)
        : code(code), frame(frame), program(program), steps(program.steps) {}

    bool Make();

private:
    bool Guard();
    void CountReaders();
    bool Step(const TStep& s);
    bool Operation(const TStep& s, const TStepFamily& family);
    double (*PowerOfConstant(const TStep& s) const)(double);
    bool JoinToLast(const TStep& s, int chain, TShape shape);
    bool Element(const TStep& s);
    bool Call(const TStep& s);
    bool Assignment(const TStep& s);
    bool AssignToElement(const TStep& s, const TStoreCodes& codes);
    bool Result();
    TShape StartShape() const;
    size_t Emit(const TStraightHandler* pair, TShape shape);
    void Operand(int reg, size_t at, TStraightProgram::TPatchPlace place);
    void Patch(size_t at, TStraightProgram::TPatchPlace place, int binding);
    void Accumulate(int reg, bool integer);

    const TProgram& code;
    TFrame& frame;
    TStraightProgram& program;
    std::vector<TStraightStep>& steps;
    // The binding whose value each register is read from (-1: none), and
    // how many steps (and the result) read each register.
    std::vector<int> bindingOf;
    std::vector<int> readers;
    int accumulator = -1;  // the register A or N holds
    bool integerAccumulator = false;
    // The general step of the element the last step assigns to (none: SIZE_MAX).
    size_t targetElement = SIZE_MAX;
    // The last step: its chaining operator (-1: none), its shape, the
    // register it put aside (-1: none) and its code's pair (going on, last).
    int lastChain = -1;
    TShape lastShape = shStart;
    int lastSpilled = -1;
    const TStraightHandler* lastPair = nullptr;
    // An assignment's code, going on and last alike.
    TStraightHandler assignment[2] = {nullptr, nullptr};
};

void TStraightMaker::Patch(size_t at, TStraightProgram::TPatchPlace place, int binding) {
    program.patches.push_back(TStraightProgram::TPatch{at, place, binding});
}

// The operand of step at in place: a variable's value (set by Bind) or the register's.
void TStraightMaker::Operand(int reg, size_t at, TStraightProgram::TPatchPlace place) {
    const int binding = bindingOf[static_cast<size_t>(reg)];
    if (binding >= 0) Patch(at, place, binding);
    const void* address = binding >= 0 ? nullptr : &frame.registers[reg];
    TStraightStep& step = steps[at];
    (place == TStraightProgram::ppX ? step.x : place == TStraightProgram::ppY ? step.y : step.z) = address;
}

// A step whose operands all lie in memory: the accumulator, when it holds
// a value, is put aside first.
TShape TStraightMaker::StartShape() const {
    if (accumulator < 0) return shStart;
    return integerAccumulator ? shSpillInteger : shSpillReal;
}

size_t TStraightMaker::Emit(const TStraightHandler* pair, TShape shape) {
    steps.emplace_back();
    steps.back().handler = pair[0];
    if (shape == shSpillReal || shape == shSpillInteger) steps.back().spill = &frame.registers[accumulator];
    lastPair = pair;
    lastChain = -1;
    lastShape = shape;
    lastSpilled = shape == shSpillReal ? accumulator : -1;
    return steps.size() - 1;
}

void TStraightMaker::Accumulate(int reg, bool integer) {
    accumulator = reg;
    integerAccumulator = integer;
}

// One byte guard for each binding's type, and one for each array's item type.
bool TStraightMaker::Guard() {
    size_t guards = 0;
    for (const TBinding& binding : code.bindings) {
        const bool number = binding.type == vtInt || binding.type == vtDouble;
        const bool array = binding.type == vtArray && (binding.itemtype == vtInt || binding.itemtype == vtDouble);
        if (!number && !array) return false;
        guards += array ? 2 : 1;
    }
    program.guardCount = static_cast<int>(guards);
    if (program.guardCount >= TStraightProgram::kInlineGuards)
        program.guards.reset(new TStraightProgram::TGuard[guards + 1]);
    TStraightProgram::TGuard* filled = program.GuardsToFill();
    program.guardList = filled;
    filled[guards] = TStraightProgram::TGuard{nullptr, vtUndefined};
    program.guardBindings.clear();
    program.itemGuards = false;
    for (size_t k = 0; k < code.bindings.size(); ++k) {
        const TBinding& binding = code.bindings[k];
        program.guardBindings.emplace_back(static_cast<int>(k), false);
        filled[program.guardBindings.size() - 1] = TStraightProgram::TGuard{nullptr, binding.type};
        if (binding.type != vtArray) continue;
        program.itemGuards = true;
        program.guardBindings.emplace_back(static_cast<int>(k), true);
        filled[program.guardBindings.size() - 1] = TStraightProgram::TGuard{nullptr, binding.itemtype};
    }
    for (size_t k = 0; k < code.bindings.size(); ++k) {
        const TBinding& binding = code.bindings[k];
        if (binding.load < code.registers) bindingOf[binding.load] = static_cast<int>(k);
    }
    return true;
}

// How many steps (and the result) read each register; an assignment to an
// element as the last step makes that element its target.
void TStraightMaker::CountReaders() {
    readers.assign(static_cast<size_t>(code.registers) + 1, 0);
    for (const TStep& s : code.steps) {
        const TStepFamily family = FamilyOf(s.code);
        if (family.codes != nullptr) {
            ++readers[s.left];
            if ((*family.codes)[shAccumulatorSecond][0] != nullptr) ++readers[s.right];
        } else if (s.code == scElement || s.code == scAssignVariable) {
            ++readers[s.left];
        } else if (s.code == scAssign) {
            ++readers[s.left];
            ++readers[s.right];
        }
    }
    ++readers[code.result.reg];
    if (code.steps.size() < 2) return;
    const TStep& last = code.steps[code.steps.size() - 2];
    for (size_t k = 0; last.code == scAssign && k + 2 < code.steps.size(); ++k)
        if (code.steps[k].code == scElement && code.steps[k].target == last.left && readers[last.left] == 1)
            targetElement = k;
}

// A two-operand step joined to the last one, which becomes a chain.
bool TStraightMaker::JoinToLast(const TStep& s, int chain, TShape shape) {
    const size_t at = steps.size() - 1;
    const int other = shape == shAccumulatorFirst ? s.right : s.left;
    const int resultSide = shape == shAccumulatorFirst ? 0 : 1;
    if (lastShape == shAccumulatorFirst || lastShape == shAccumulatorSecond) {
        lastPair = kChains.codes[lastChain][lastShape == shAccumulatorFirst ? 0 : 1][chain][resultSide];
        Operand(other, at, TStraightProgram::ppY);
    } else if (other == lastSpilled && readers[static_cast<size_t>(other)] == 1) {
        // The value put aside is read here alone: it stays in A.
        lastPair = kJoinChains.codes[lastChain][chain][resultSide];
        steps[at].spill = nullptr;
    } else {
        lastPair = kStartChains.codes[lastChain][lastShape == shSpillReal ? 1 : 0][chain][resultSide];
        Operand(other, at, TStraightProgram::ppZ);
    }
    steps[at].handler = lastPair[0];
    lastChain = -1;
    Accumulate(s.target, false);
    return true;
}

bool TStraightMaker::Operation(const TStep& s, const TStepFamily& family) {
    const TFamily& codes = *family.codes;
    const bool two = codes[shAccumulatorSecond][0] != nullptr;
    if (two && s.left == accumulator && s.right == accumulator) return false;
    const TShape shape = s.left == accumulator           ? shAccumulatorFirst
                         : two && s.right == accumulator ? shAccumulatorSecond
                                                         : StartShape();
    const int chain = ChainOf(s.code);
    const bool onAccumulator = shape == shAccumulatorFirst || shape == shAccumulatorSecond;
    if (chain >= 0 && onAccumulator && lastChain >= 0) return JoinToLast(s, chain, shape);
    const size_t at = Emit(codes[shape], shape);
    if (onAccumulator) {
        if (two) Operand(shape == shAccumulatorFirst ? s.right : s.left, at, TStraightProgram::ppX);
    } else {
        Operand(s.left, at, TStraightProgram::ppX);
        if (two) Operand(s.right, at, TStraightProgram::ppY);
    }
    if (s.code == scRealFunction) steps[at].function.one = s.aux.realOfOne;
    if (s.code == scRealFunctionOfTwo) steps[at].function.two = s.aux.realOfTwo;
    // A start that put N aside has no chained form.
    if (shape != shSpillInteger) lastChain = chain;
    Accumulate(s.target, family.givesInteger);
    return true;
}

// An element read; the element the last step assigns to is read by that
// step alone, which finds its index itself.
bool TStraightMaker::Element(const TStep& s) {
    if (static_cast<size_t>(&s - code.steps.data()) == targetElement) return true;
    const TBinding& binding = code.bindings[static_cast<size_t>(s.aux.pair.first)];
    const bool realItems = binding.itemtype == vtDouble;
    const TFamily& codes = ElementFamily(LeftKind(s.kinds) == ekReal, realItems);
    const TShape shape = s.left == accumulator ? shAccumulatorFirst : StartShape();
    const size_t at = Emit(codes[shape], shape);
    if (shape != shAccumulatorFirst) Operand(s.left, at, TStraightProgram::ppX);
    Patch(at, TStraightProgram::ppArray, s.aux.pair.first);
    Accumulate(s.target, !realItems);
    return true;
}

bool TStraightMaker::AssignToElement(const TStep& s, const TStoreCodes& codes) {
    const TStep& element = code.steps[targetElement];
    const int index = element.left;
    TElementShape shape = esBothInMemory;
    if (index == accumulator) {
        shape = esIndexInAccumulator;
    } else if (s.right == accumulator) {
        shape = esValueInAccumulator;
    } else if (accumulator >= 0) {
        return false;
    }
    assignment[0] = assignment[1] = codes.toElement[LeftKind(element.kinds) == ekReal ? 1 : 0][shape];
    const size_t at = Emit(assignment, shStart);
    if (shape != esIndexInAccumulator) Operand(index, at, TStraightProgram::ppX);
    if (shape != esValueInAccumulator) Operand(s.right, at, TStraightProgram::ppY);
    Patch(at, TStraightProgram::ppArray, s.aux.pair.first);
    return true;
}

// The last step: a plain '=' into a variable (its value already of the
// variable's kind), or any assignment the in-place rules take, into a
// variable or a 1-D element. The target must have no listeners when it
// runs.
bool TStraightMaker::Assignment(const TStep& s) {
    const int target = s.aux.pair.first;
    const TBinding& binding = code.bindings[static_cast<size_t>(target)];
    const bool element = binding.type == vtArray;
    const bool realTarget = (element ? binding.itemtype : binding.type) == vtDouble;
    program.assigned = target;
    int op = opAssign;
    int value = s.left;
    bool realValue = realTarget;
    if (s.code == scAssign) {
        op = code.calls[static_cast<size_t>(s.aux.pair.second)].op;
        value = s.right;
        realValue = RightKind(s.kinds) == ekReal;
    }
    const TStoreCodes* codes = StoreCodesOf(op, realTarget, realValue);
    if (codes == nullptr) return false;
    if (element) {
        if (targetElement == SIZE_MAX || !AssignToElement(s, *codes)) return false;
    } else {
        const bool fromAccumulator = value == accumulator;
        if (!fromAccumulator && accumulator >= 0) return false;
        assignment[0] = assignment[1] = codes->toVariable[fromAccumulator ? 1 : 0];
        const size_t at = Emit(assignment, shStart);
        if (!fromAccumulator) Operand(value, at, TStraightProgram::ppX);
        Patch(at, TStraightProgram::ppStore, target);
    }
    Accumulate(s.target, !realTarget);
    return true;
}

// A direct call as the first step, of arguments that are constants or
// variables as read, with at most the loop's items of the same sorts below
// them: constants, or a variable whose value no later step reads (a plain
// assignment's target). The later steps read variables where they lie, so
// after the call, which may change them; the loop read the ones below the
// call before it, and a form that reads one of them keeps that order in
// the general run.
bool TStraightMaker::Call(const TStep& s) {
    const TDecodedExpression::TCallSite& site = code.calls[static_cast<size_t>(s.aux.index)];
    if (!steps.empty() || !site.direct || site.stack.size() > static_cast<size_t>(TStraightCall::kItems)) return false;
    std::unique_ptr<TStraightCall> call(new TStraightCall);
    call->site = &site;
    // Set here, not by Bind: a form without variables is never bound.
    call->program = &program;
    call->count = static_cast<int>(site.stack.size());
    const int below = call->count - site.operands;
    for (int k = 0; k < call->count; ++k) {
        const TDecodedExpression::TEntry& entry = site.stack[static_cast<size_t>(k)];
        if (entry.opaque) return false;
        if (k < below && !entry.constant && readers[entry.reg] != 0) return false;
        call->items[k] = entry.image;
        call->bindings[k] = -1;
        if (entry.constant) continue;
        if (entry.source != rsBinding || bindingOf[entry.reg] != entry.binding) return false;
        call->items[k].kind = entry.kind;
        call->bindings[k] = entry.binding;
    }
    const bool integer = site.expected == ekInteger;
    const size_t at = Emit(integer ? kCallsGivingIntegers : kCallsGivingReals, shStart);
    program.call = std::move(call);
    steps[at].function.call = program.call.get();
    Accumulate(s.target, integer);
    return true;
}

bool TStraightMaker::Step(const TStep& s) {
    const bool last = s.code != scEnd && (&s + 1)->code == scEnd;
    switch (s.code) {
        case scElement: return Element(s);
        case scCall: return Call(s);
        case scAssignVariable:
        case scAssign: return last && Assignment(s);
        default: break;
    }
    if (s.code == scPowerReals) {
        if (double (*power)(double) = PowerOfConstant(s)) {
            TStep function = s;
            function.code = scRealFunction;
            function.aux.realOfOne = power;
            return Operation(function, FamilyOf(scRealFunction));
        }
    }
    const TStepFamily family = FamilyOf(s.code);
    return family.codes != nullptr && Operation(s, family);
}

// A power whose exponent is a constant with a path of its own (2, 3, 4,
// 0.5, 1.5, 2.5): that path as a function of the base; else null.
double (*TStraightMaker::PowerOfConstant(const TStep& s) const)(double) {
    if (bindingOf[s.right] >= 0) return nullptr;
    for (const TStep& other : code.steps)
        if (other.code != scEnd && other.target == s.right) return nullptr;
    for (const auto& constant : code.constants)
        if (constant.first == s.right) return GuardedPowWithExponent(constant.second.real);
    return nullptr;
}

// The result where the steps left it, else read into the accumulator.
bool TStraightMaker::Result() {
    const TDecodedExpression::TEntry& result = code.result;
    if (result.opaque || result.source == rsCompanion) return false;
    if (result.constant || result.reg != accumulator) {
        const TShape shape = StartShape();
        const size_t at = Emit(LoadFamily(result.kind == ekReal)[shape], shape);
        Operand(result.reg, at, TStraightProgram::ppX);
    }
    // The last step writes the result; the end step holds the program.
    steps.back().handler = lastPair[1];
    TStraightStep end{};
    end.function.program = &program;
    steps.push_back(end);
    program.first = steps.data();
    program.kind = result.kind;
    program.image = result.image.value;
    program.reference = result.image.ref;
    if (!result.constant && result.source == rsBinding) program.resultBinding = result.binding;
    return true;
}

bool TStraightMaker::Make() {
    if (code.steps.size() >= TStraightProgram::kMaxSteps) return false;
    bindingOf.assign(static_cast<size_t>(code.registers), -1);
    if (!Guard()) return false;
    CountReaders();
    steps.reserve(code.steps.size() + 1);
    program.patches.reserve(code.steps.size() + 1);
    for (const TStep& s : code.steps) {
        if (s.code == scEnd) break;
        if (!Step(s)) return false;
    }
    return Result();
}

std::unique_ptr<TStraightProgram> TStraightProgram::Make(const TProgram& code, TFrame& frame) {
    std::unique_ptr<TStraightProgram> program(new TStraightProgram);
    TStraightMaker maker(code, frame, *program);
    if (!maker.Make()) return nullptr;
    return program;
}

void TStraightProgram::Bind(const TFrame& frame) {
    for (const TPatch& patch : patches) {
        TVariable* v = frame.bound[static_cast<size_t>(patch.binding)];
        TStraightStep& step = steps[patch.step];
        switch (patch.place) {
            case ppX: step.x = &v->value; break;
            case ppY: step.y = &v->value; break;
            case ppZ: step.z = &v->value; break;
            case ppStore: step.spill = &v->value; break;
            case ppArray: step.function.array = v; break;
        }
    }
    if (resultBinding >= 0) reference.index = frame.positions[static_cast<size_t>(resultBinding)];
    if (call != nullptr) {
        for (int k = 0; k < call->count; ++k) {
            const int binding = call->bindings[k];
            if (binding < 0) continue;
            call->values[k] = &frame.bound[static_cast<size_t>(binding)]->value;
            call->items[k].ref = VARINFO{frame.positions[static_cast<size_t>(binding)], -1, -1, -1};
        }
    }
    TGuard* filled = GuardsToFill();
    for (size_t k = 0; k < guardBindings.size(); ++k) {
        const TVariable* v = frame.bound[static_cast<size_t>(guardBindings[k].first)];
        filled[k].held = guardBindings[k].second ? &v->value.a.itemtype : v->type.Byte();
    }
    typesSeen = 0;
    quiet = assigned >= 0 ? frame.bound[static_cast<size_t>(assigned)] : nullptr;
    stamp = frame.stamp;
    count = frame.count;
    base = frame.base;
}

void TStraightProgram::CopyFrom(const TStraightProgram& source) {
    if (this == &source) return;
    steps = source.steps;
    first = steps.data();
    steps.back().function.program = this;
    if (source.call != nullptr) {
        if (call == nullptr) call.reset(new TStraightCall);
        *call = *source.call;
        call->program = this;
        steps.front().function.call = call.get();
    } else {
        call.reset();
    }
    patches = source.patches;
    if (source.guardCount >= kInlineGuards && (guards == nullptr || guardCount != source.guardCount))
        guards.reset(new TGuard[static_cast<size_t>(source.guardCount) + 1]);
    guardCount = source.guardCount;
    const TGuard* from = source.guardCount < kInlineGuards ? source.inlineGuards : source.guards.get();
    std::copy(from, from + guardCount + 1, GuardsToFill());
    guardList = GuardsToFill();
    guardBindings = source.guardBindings;
    itemGuards = source.itemGuards;
    typesSeen = 0;
    assigned = source.assigned;
    quiet = source.quiet;
    stamp = source.stamp;
    count = source.count;
    base = source.base;
    kind = source.kind;
    image = source.image;
    reference = source.reference;
    resultBinding = source.resultBinding;
    runs = source.runs;
}
