// TStraightProgram: the straight form made from a decoded program of real steps, and the code of its steps.
#include "StraightProgram.h"

#include "BinaryOperators.h"
#include "OperatorSupport.h"

namespace {

typedef TDecodedExpression::TProgram TProgram;
typedef TDecodedExpression::TFrame TFrame;
typedef TDecodedExpression::TStep TStep;

// ------------------------------------------------------------------ the steps' code

// What the steps compute, each exactly as the general steps do.
struct TAdd {
    static double Apply(const TStraightStep*, double l, double r) { return l + r; }
};
struct TSubtract {
    static double Apply(const TStraightStep*, double l, double r) { return l - r; }
};
struct TMultiply {
    static double Apply(const TStraightStep*, double l, double r) { return l * r; }
};
struct TDivide {
    static double Apply(const TStraightStep*, double l, double r) { return GuardedDivide(l, r); }
};
struct TRaise {
    static double Apply(const TStraightStep*, double l, double r) { return GuardedPow(l, r); }
};
struct TFunctionOfTwo {
    static double Apply(const TStraightStep* s, double l, double r) { return s->function.two(l, r); }
};
struct TFunctionOfOne {
    static double Apply(const TStraightStep* s, double v) { return s->function.one(v); }
};
struct TNegate {
    static double Apply(const TStraightStep*, double v) { return -v; }
};
struct TLoad {
    static double Apply(const TStraightStep*, double v) { return v; }
};

#define STRAIGHT_HANDLER(name) void name(const TStraightStep* s, [[maybe_unused]] double a, EXPRVALUE* out)

// Every code comes in two: one going on to the next step, and one for the
// last step before the end, which writes the result itself.
template <bool last>
[[gnu::always_inline]] inline void Next(const TStraightStep* s, double a, EXPRVALUE* out) {
    if (last)
        s[1].function.program->Finish(a, *out);
    else
        s[1].handler(s + 1, a, out);
}

// A = X op Y; A = A op X; A = X op A.
template <class Op, bool last>
STRAIGHT_HANDLER(OperandsXY) {
    return Next<last>(s, Op::Apply(s, *s->x, *s->y), out);
}
template <class Op, bool last>
STRAIGHT_HANDLER(SpillOperandsXY) {
    *s->spill = a;
    return Next<last>(s, Op::Apply(s, *s->x, *s->y), out);
}
template <class Op, bool last>
STRAIGHT_HANDLER(OperandsAX) {
    return Next<last>(s, Op::Apply(s, a, *s->x), out);
}
template <class Op, bool last>
STRAIGHT_HANDLER(OperandsXA) {
    return Next<last>(s, Op::Apply(s, *s->x, a), out);
}

// A = f(X); A = f(A).
template <class Op, bool last>
STRAIGHT_HANDLER(OperandX) {
    return Next<last>(s, Op::Apply(s, *s->x), out);
}
template <class Op, bool last>
STRAIGHT_HANDLER(SpillOperandX) {
    *s->spill = a;
    return Next<last>(s, Op::Apply(s, *s->x), out);
}
template <class Op, bool last>
STRAIGHT_HANDLER(OperandA) {
    return Next<last>(s, Op::Apply(s, a), out);
}

// Two operators in one step: A = (A op X) op' Y, with either operand of
// each first as the steps had them.
template <class Op1, bool accumulatorFirst, class Op2, bool resultFirst, bool last>
STRAIGHT_HANDLER(Chain) {
    const double r = accumulatorFirst ? Op1::Apply(s, a, *s->x) : Op1::Apply(s, *s->x, a);
    return Next<last>(s, resultFirst ? Op2::Apply(s, r, *s->y) : Op2::Apply(s, *s->y, r), out);
}
// A = (X op Y) op' Z, A put aside first when spill.
template <class Op1, class Op2, bool resultFirst, bool spill, bool last>
STRAIGHT_HANDLER(StartChain) {
    if (spill) *s->spill = a;
    const double r = Op1::Apply(s, *s->x, *s->y);
    return Next<last>(s, resultFirst ? Op2::Apply(s, r, *s->z) : Op2::Apply(s, *s->z, r), out);
}

// A = (X op Y) op' A, or A op' (X op Y): the value in A meets a new one
// at once, without being put aside.
template <class Op1, class Op2, bool resultFirst, bool last>
STRAIGHT_HANDLER(JoinChain) {
    const double r = Op1::Apply(s, *s->x, *s->y);
    return Next<last>(s, resultFirst ? Op2::Apply(s, r, a) : Op2::Apply(s, a, r), out);
}

#undef STRAIGHT_HANDLER

// Where a step's operands are.
enum TShape { shStart, shSpillStart, shAccumulatorFirst, shAccumulatorSecond, kShapes };

// The codes of one kind of step by shape (null: no such shape), going on
// and last.
typedef TStraightHandler TFamily[kShapes][2];

template <class Op>
struct TTwoOperands {
    static constexpr TFamily codes = {
        {OperandsXY<Op, false>, OperandsXY<Op, true>},
        {SpillOperandsXY<Op, false>, SpillOperandsXY<Op, true>},
        {OperandsAX<Op, false>, OperandsAX<Op, true>},
        {OperandsXA<Op, false>, OperandsXA<Op, true>},
    };
};
template <class Op>
struct TOneOperand {
    static constexpr TFamily codes = {
        {OperandX<Op, false>, OperandX<Op, true>},
        {SpillOperandX<Op, false>, SpillOperandX<Op, true>},
        {OperandA<Op, false>, OperandA<Op, true>},
        {nullptr, nullptr},
    };
};

// The family of a general step; null when the straight form has none.
const TFamily* FamilyOf(TStepCode code) {
    switch (code) {
        case scAddReals: return &TTwoOperands<TAdd>::codes;
        case scSubtractReals: return &TTwoOperands<TSubtract>::codes;
        case scMultiplyReals: return &TTwoOperands<TMultiply>::codes;
        case scDivideReals: return &TTwoOperands<TDivide>::codes;
        case scPowerReals: return &TTwoOperands<TRaise>::codes;
        case scRealFunctionOfTwo: return &TTwoOperands<TFunctionOfTwo>::codes;
        case scRealFunction: return &TOneOperand<TFunctionOfOne>::codes;
        case scNegateReal: return &TOneOperand<TNegate>::codes;
        default: return nullptr;
    }
}

// The operators that chain, numbered for the tables below.
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

}  // namespace

// A step reads its operands where they lie: a variable's value in the
// variable (set by Bind), anything else in the frame's register, where
// constants are from the start and a step's result is put aside when the
// accumulator is needed for another value before that result is used.
std::unique_ptr<TStraightProgram> TStraightProgram::Make(const TProgram& code, TFrame& frame) {
    if (code.steps.size() >= kMaxSteps) return nullptr;
    std::unique_ptr<TStraightProgram> program(new TStraightProgram);
    std::vector<int> bindingOf(static_cast<size_t>(code.registers), -1);
    program->guardCount = static_cast<int>(code.bindings.size());
    program->guards.reset(new TGuard[code.bindings.size()]);
    program->guardsEnd = program->guards.get() + code.bindings.size();
    for (size_t k = 0; k < code.bindings.size(); ++k) {
        const TDecodedExpression::TBinding& binding = code.bindings[k];
        if (binding.type != vtInt && binding.type != vtDouble) return nullptr;
        if (binding.load < code.registers) bindingOf[binding.load] = static_cast<int>(k);
        program->guards[k] = TGuard{nullptr, binding.type};
    }
    std::vector<TStraightStep>& steps = program->steps;
    steps.reserve(code.steps.size() + 1);
    program->patches.reserve(code.steps.size());
    // The operand which (x, y, z) of step at: a variable's value (set by
    // Bind) or the register's.
    const auto operand = [&](int reg, size_t at, int which) {
        const int binding = bindingOf[static_cast<size_t>(reg)];
        if (binding >= 0) program->patches.push_back(TPatch{at, which, binding});
        const double* address = binding >= 0 ? nullptr : &frame.registers[reg].real;
        TStraightStep& step = steps[at];
        (which == 0 ? step.x : which == 1 ? step.y : step.z) = address;
    };
    // How many steps (and the result) read each register.
    std::vector<int> readers(static_cast<size_t>(code.registers) + 1, 0);
    for (const TStep& s : code.steps) {
        const TFamily* family = FamilyOf(s.code);
        if (family == nullptr) continue;
        ++readers[s.left];
        if ((*family)[shAccumulatorSecond][0] != nullptr) ++readers[s.right];
    }
    ++readers[code.result.reg];
    int accumulator = -1;  // the register A holds
    // The last step: its chaining operator (-1: none), its shape, the
    // register it put aside (-1: none) and its code's pair (going on, last).
    int lastChain = -1;
    TShape lastShape = shStart;
    int lastSpilled = -1;
    const TStraightHandler* lastPair = nullptr;
    const auto emit = [&](const TStraightHandler* pair) {
        steps.emplace_back();
        steps.back().handler = pair[0];
        lastPair = pair;
        return steps.size() - 1;
    };
    for (const TStep& s : code.steps) {
        if (s.code == scEnd) break;
        const TFamily* family = FamilyOf(s.code);
        if (family == nullptr) return nullptr;
        const bool two = (*family)[shAccumulatorSecond][0] != nullptr;
        if (two && s.left == accumulator && s.right == accumulator) return nullptr;
        const TShape shape = s.left == accumulator                ? shAccumulatorFirst
                             : two && s.right == accumulator      ? shAccumulatorSecond
                             : accumulator >= 0                   ? shSpillStart
                                                                  : shStart;
        const int chain = ChainOf(s.code);
        const bool onA = shape == shAccumulatorFirst || shape == shAccumulatorSecond;
        const int other = shape == shAccumulatorFirst ? s.right : s.left;
        if (chain >= 0 && onA && lastChain >= 0) {
            // Joined to the last step, which becomes a chain.
            const size_t at = steps.size() - 1;
            const int resultSide = shape == shAccumulatorFirst ? 0 : 1;
            if (lastShape == shAccumulatorFirst || lastShape == shAccumulatorSecond) {
                lastPair = kChains.codes[lastChain][lastShape == shAccumulatorFirst ? 0 : 1][chain][resultSide];
                operand(other, at, 1);
            } else if (other == lastSpilled && readers[static_cast<size_t>(other)] == 1) {
                // The value put aside is read here alone: it stays in A.
                lastPair = kJoinChains.codes[lastChain][chain][resultSide];
                steps[at].spill = nullptr;
            } else {
                lastPair = kStartChains.codes[lastChain][lastShape == shSpillStart ? 1 : 0][chain][resultSide];
                operand(other, at, 2);
            }
            steps[at].handler = lastPair[0];
            lastChain = -1;
            accumulator = s.target;
            continue;
        }
        const size_t at = emit((*family)[shape]);
        if (shape == shSpillStart) steps[at].spill = &frame.registers[accumulator].real;
        if (onA) {
            if (two) operand(other, at, 0);
        } else {
            operand(s.left, at, 0);
            if (two) operand(s.right, at, 1);
        }
        if (s.code == scRealFunction) steps[at].function.one = s.aux.realOfOne;
        if (s.code == scRealFunctionOfTwo) steps[at].function.two = s.aux.realOfTwo;
        lastChain = chain;
        lastShape = shape;
        lastSpilled = shape == shSpillStart ? accumulator : -1;
        accumulator = s.target;
    }
    const TDecodedExpression::TEntry& result = code.result;
    if (result.opaque || result.source == rsCompanion) return nullptr;
    if (result.constant || result.reg != accumulator) {
        const TFamily& load = TOneOperand<TLoad>::codes;
        const size_t at = emit(load[accumulator >= 0 ? shSpillStart : shStart]);
        if (accumulator >= 0) steps[at].spill = &frame.registers[accumulator].real;
        operand(result.reg, at, 0);
    }
    // The last step writes the result; the end step holds the program.
    steps.back().handler = lastPair[1];
    TStraightStep end{};
    end.function.program = program.get();
    steps.push_back(end);
    program->first = steps.data();
    program->kind = result.kind;
    program->image = result.image.value;
    program->reference = result.image.ref;
    if (!result.constant && result.source == rsBinding) program->resultBinding = result.binding;
    return program;
}

void TStraightProgram::Bind(const TFrame& frame) {
    for (const TPatch& patch : patches) {
        const double* value = &frame.bound[static_cast<size_t>(patch.binding)]->value.d;
        TStraightStep& step = steps[patch.step];
        (patch.which == 0 ? step.x : patch.which == 1 ? step.y : step.z) = value;
    }
    if (resultBinding >= 0) reference.index = frame.positions[static_cast<size_t>(resultBinding)];
    for (int k = 0; k < guardCount; ++k) guards[k].held = &frame.bound[static_cast<size_t>(k)]->type;
    list = frame.list;
    stamp = frame.stamp;
    count = frame.count;
    base = frame.base;
}
