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

#define STRAIGHT_HANDLER(name) void name(const TStraightStep* s, [[maybe_unused]] double a)
#define NEXT_STEP(a) return s[1].handler(s + 1, (a))

// A = X op Y; A = A op X; A = X op A.
template <class Op>
STRAIGHT_HANDLER(OperandsXY) {
    NEXT_STEP(Op::Apply(s, *s->x, *s->y));
}
template <class Op>
STRAIGHT_HANDLER(SpillOperandsXY) {
    *s->spill = a;
    NEXT_STEP(Op::Apply(s, *s->x, *s->y));
}
template <class Op>
STRAIGHT_HANDLER(OperandsAX) {
    NEXT_STEP(Op::Apply(s, a, *s->x));
}
template <class Op>
STRAIGHT_HANDLER(OperandsXA) {
    NEXT_STEP(Op::Apply(s, *s->x, a));
}

// A = f(X); A = f(A).
template <class Op>
STRAIGHT_HANDLER(OperandX) {
    NEXT_STEP(Op::Apply(s, *s->x));
}
template <class Op>
STRAIGHT_HANDLER(SpillOperandX) {
    *s->spill = a;
    NEXT_STEP(Op::Apply(s, *s->x));
}
template <class Op>
STRAIGHT_HANDLER(OperandA) {
    NEXT_STEP(Op::Apply(s, a));
}

// Two operators in one step: A = (A op X) op' Y, with either operand of
// each first as the steps had them.
template <class Op1, bool accumulatorFirst, class Op2, bool resultFirst>
STRAIGHT_HANDLER(Chain) {
    const double r = accumulatorFirst ? Op1::Apply(s, a, *s->x) : Op1::Apply(s, *s->x, a);
    NEXT_STEP(resultFirst ? Op2::Apply(s, r, *s->y) : Op2::Apply(s, *s->y, r));
}
// A = (X op Y) op' Z, A put aside first when spill.
template <class Op1, class Op2, bool resultFirst, bool spill>
STRAIGHT_HANDLER(StartChain) {
    if (spill) *s->spill = a;
    const double r = Op1::Apply(s, *s->x, *s->y);
    NEXT_STEP(resultFirst ? Op2::Apply(s, r, *s->z) : Op2::Apply(s, *s->z, r));
}

STRAIGHT_HANDLER(End) { s->function.program->Finish(a); }

#undef NEXT_STEP
#undef STRAIGHT_HANDLER

// The codes of one kind of step by where its operands are.
struct TFamily {
    TStraightHandler spillStart;  // X op Y (or f(X)), A put aside first
    TStraightHandler start;       // X op Y, or f(X)
    TStraightHandler accumulatorFirst;   // A op X, or f(A)
    TStraightHandler accumulatorSecond;  // X op A
};

template <class Op>
constexpr TFamily TwoOperands() {
    return {SpillOperandsXY<Op>, OperandsXY<Op>, OperandsAX<Op>, OperandsXA<Op>};
}
template <class Op>
constexpr TFamily OneOperand() {
    return {SpillOperandX<Op>, OperandX<Op>, OperandA<Op>, nullptr};
}

// The family of a general step; null when the straight form has none.
const TFamily* FamilyOf(TStepCode code) {
    static const TFamily add = TwoOperands<TAdd>();
    static const TFamily subtract = TwoOperands<TSubtract>();
    static const TFamily multiply = TwoOperands<TMultiply>();
    static const TFamily divide = TwoOperands<TDivide>();
    static const TFamily raise = TwoOperands<TRaise>();
    static const TFamily two = TwoOperands<TFunctionOfTwo>();
    static const TFamily one = OneOperand<TFunctionOfOne>();
    static const TFamily negate = OneOperand<TNegate>();
    switch (code) {
        case scAddReals: return &add;
        case scSubtractReals: return &subtract;
        case scMultiplyReals: return &multiply;
        case scDivideReals: return &divide;
        case scPowerReals: return &raise;
        case scRealFunctionOfTwo: return &two;
        case scRealFunction: return &one;
        case scNegateReal: return &negate;
        default: return nullptr;
    }
}

const TFamily kLoad = OneOperand<TLoad>();

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

// ORDER CHAIN: add, subtract, multiply, divide; then the operand first (0) or second (1).
#define CHAIN_PAIR(Op1, first, Op2) {Chain<Op1, first, Op2, true>, Chain<Op1, first, Op2, false>}
#define CHAIN_ROW(Op1, first)                                                                      \
    {CHAIN_PAIR(Op1, first, TAdd), CHAIN_PAIR(Op1, first, TSubtract), CHAIN_PAIR(Op1, first, TMultiply), \
     CHAIN_PAIR(Op1, first, TDivide)}
// [first operator][A first: 0, else 1][second operator][its result first: 0, else 1]
const TStraightHandler kChains[4][2][4][2] = {
    {CHAIN_ROW(TAdd, true), CHAIN_ROW(TAdd, false)},
    {CHAIN_ROW(TSubtract, true), CHAIN_ROW(TSubtract, false)},
    {CHAIN_ROW(TMultiply, true), CHAIN_ROW(TMultiply, false)},
    {CHAIN_ROW(TDivide, true), CHAIN_ROW(TDivide, false)},
};
#undef CHAIN_ROW
#undef CHAIN_PAIR
#define START_PAIR(Op1, Op2, spill) {StartChain<Op1, Op2, true, spill>, StartChain<Op1, Op2, false, spill>}
#define START_ROW(Op1, spill)                                                                            \
    {START_PAIR(Op1, TAdd, spill), START_PAIR(Op1, TSubtract, spill), START_PAIR(Op1, TMultiply, spill), \
     START_PAIR(Op1, TDivide, spill)}
// [first operator][spill: 1][second operator][its result first: 0, else 1]
const TStraightHandler kStartChains[4][2][4][2] = {
    {START_ROW(TAdd, false), START_ROW(TAdd, true)},
    {START_ROW(TSubtract, false), START_ROW(TSubtract, true)},
    {START_ROW(TMultiply, false), START_ROW(TMultiply, true)},
    {START_ROW(TDivide, false), START_ROW(TDivide, true)},
};
#undef START_ROW
#undef START_PAIR

// Where a step's operands are.
enum TShape { shStart, shSpillStart, shAccumulatorFirst, shAccumulatorSecond };

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
    int accumulator = -1;  // the register A holds
    // The last step: its chaining operator (-1: none) and shape.
    int lastChain = -1;
    TShape lastShape = shStart;
    for (const TStep& s : code.steps) {
        if (s.code == scEnd) break;
        const TFamily* family = FamilyOf(s.code);
        if (family == nullptr) return nullptr;
        const bool two = family->accumulatorSecond != nullptr;
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
                steps[at].handler = kChains[lastChain][lastShape == shAccumulatorFirst ? 0 : 1][chain][resultSide];
                operand(other, at, 1);
            } else {
                steps[at].handler = kStartChains[lastChain][lastShape == shSpillStart ? 1 : 0][chain][resultSide];
                operand(other, at, 2);
            }
            lastChain = -1;
            accumulator = s.target;
            continue;
        }
        steps.emplace_back();
        const size_t at = steps.size() - 1;
        TStraightStep& step = steps[at];
        switch (shape) {
            case shAccumulatorFirst:
                step.handler = family->accumulatorFirst;
                if (two) operand(s.right, at, 0);
                break;
            case shAccumulatorSecond:
                step.handler = family->accumulatorSecond;
                operand(s.left, at, 0);
                break;
            default:
                // A step that starts a new value puts A aside first, into its register.
                step.handler = shape == shSpillStart ? family->spillStart : family->start;
                if (shape == shSpillStart) step.spill = &frame.registers[accumulator].real;
                operand(s.left, at, 0);
                if (two) operand(s.right, at, 1);
        }
        if (s.code == scRealFunction) step.function.one = s.aux.realOfOne;
        if (s.code == scRealFunctionOfTwo) step.function.two = s.aux.realOfTwo;
        lastChain = chain;
        lastShape = shape;
        accumulator = s.target;
    }
    const TDecodedExpression::TEntry& result = code.result;
    if (result.opaque || result.source == rsCompanion) return nullptr;
    if (result.constant || result.reg != accumulator) {
        steps.emplace_back();
        TStraightStep& load = steps.back();
        load.handler = accumulator >= 0 ? kLoad.spillStart : kLoad.start;
        if (accumulator >= 0) load.spill = &frame.registers[accumulator].real;
        operand(result.reg, steps.size() - 1, 0);
    }
    TStraightStep end{};
    end.handler = End;
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
