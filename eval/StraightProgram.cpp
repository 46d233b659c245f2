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

#define STRAIGHT_HANDLER(name) \
    void name(const TStraightStep* s, [[maybe_unused]] double a, EXPRVALUE* out, const TStraightProgram* program, \
              int valueOnly)
#define NEXT_STEP(a) return s[1].handler(s + 1, (a), out, program, valueOnly)

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

STRAIGHT_HANDLER(End) {
    (void)s;
    program->Finish(a, *out, valueOnly);
}

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
    for (size_t k = 0; k < code.bindings.size(); ++k) {
        const TDecodedExpression::TBinding& binding = code.bindings[k];
        if (binding.type != vtInt && binding.type != vtDouble) return nullptr;
        if (binding.load < code.registers) bindingOf[binding.load] = static_cast<int>(k);
        program->guards[k] = TGuard{nullptr, binding.type};
    }
    std::vector<TStraightStep>& steps = program->steps;
    const auto operand = [&](int reg, bool second) -> const double* {
        const int binding = bindingOf[static_cast<size_t>(reg)];
        if (binding >= 0) {
            program->patches.push_back(TPatch{steps.size(), second, binding});
            return nullptr;
        }
        return &frame.registers[reg].real;
    };
    int accumulator = -1;  // the register A holds
    // A step that starts a new value puts A aside first, into its register.
    const auto start = [&](TStraightStep& step, const TFamily& family) {
        if (accumulator < 0) return family.start;
        step.spill = &frame.registers[accumulator].real;
        return family.spillStart;
    };
    for (const TStep& s : code.steps) {
        if (s.code == scEnd) break;
        const TFamily* family = FamilyOf(s.code);
        if (family == nullptr) return nullptr;
        TStraightStep step{};
        if (family->accumulatorSecond != nullptr) {
            if (s.left == accumulator && s.right == accumulator) return nullptr;
            if (s.right == accumulator) {
                step.handler = family->accumulatorSecond;
                step.x = operand(s.left, false);
            } else if (s.left == accumulator) {
                step.handler = family->accumulatorFirst;
                step.x = operand(s.right, false);
            } else {
                step.handler = start(step, *family);
                step.x = operand(s.left, false);
                step.y = operand(s.right, true);
            }
        } else if (s.left == accumulator) {
            step.handler = family->accumulatorFirst;
        } else {
            step.handler = start(step, *family);
            step.x = operand(s.left, false);
        }
        if (s.code == scRealFunction) step.function.one = s.aux.realOfOne;
        if (s.code == scRealFunctionOfTwo) step.function.two = s.aux.realOfTwo;
        steps.push_back(step);
        accumulator = s.target;
    }
    const TDecodedExpression::TEntry& result = code.result;
    if (result.opaque || result.source == rsCompanion) return nullptr;
    if (result.constant || result.reg != accumulator) {
        TStraightStep load{};
        load.handler = start(load, kLoad);
        load.x = operand(result.reg, false);
        steps.push_back(load);
    }
    TStraightStep end{};
    end.handler = End;
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
        (patch.second ? steps[patch.step].y : steps[patch.step].x) = value;
    }
    if (resultBinding >= 0) reference.index = frame.positions[static_cast<size_t>(resultBinding)];
    for (int k = 0; k < guardCount; ++k) guards[k].variable = frame.bound[static_cast<size_t>(k)];
    list = frame.list;
    stamp = frame.stamp;
    count = frame.count;
    base = frame.base;
}
