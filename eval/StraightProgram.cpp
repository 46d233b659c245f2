// TStraightProgram: the straight form made from a decoded program of real steps, and its run on one accumulator.
#include "StraightProgram.h"

#include "BinaryOperators.h"
#include "OperatorSupport.h"

namespace {

typedef TDecodedExpression::TProgram TProgram;
typedef TDecodedExpression::TFrame TFrame;
typedef TDecodedExpression::TStep TStep;

// The straight codes of a family come in the order: spill then start, start, A first, A second.
constexpr int kSpillStart = 0;
constexpr int kStart = 1;
constexpr int kAccumulatorFirst = 2;
constexpr int kAccumulatorSecond = 3;

// The first straight code of a two-operand step's family; false when the
// step is not one.
bool TwoOperandFamily(TStepCode code, int& first) {
    switch (code) {
        case scAddReals: first = stSpillAddXY; return true;
        case scSubtractReals: first = stSpillSubtractXY; return true;
        case scMultiplyReals: first = stSpillMultiplyXY; return true;
        case scDivideReals: first = stSpillDivideXY; return true;
        case scPowerReals: first = stSpillPowerXY; return true;
        case scRealFunctionOfTwo: first = stSpillFunctionXY; return true;
        default: return false;
    }
}

// The same for one-operand steps, whose families have no "A second".
bool OneOperandFamily(TStepCode code, int& first) {
    switch (code) {
        case scRealFunction: first = stSpillFunctionX; return true;
        case scNegateReal: first = stSpillNegateX; return true;
        default: return false;
    }
}

}  // namespace

// A step reads its operands where they lie: a variable's value in the
// variable (set by Bind), anything else in the frame's register, where
// constants are from the start and a step's result is put aside when the
// accumulator is needed for another value before it is used.
std::unique_ptr<TStraightProgram> TStraightProgram::Make(const TProgram& code, TFrame& frame) {
    std::unique_ptr<TStraightProgram> program(new TStraightProgram);
    const void* const* labels = nullptr;
    Execute(nullptr, nullptr, nullptr, false, &labels);
    std::vector<int> bindingOf(static_cast<size_t>(code.registers), -1);
    for (size_t k = 0; k < code.bindings.size(); ++k) {
        const TDecodedExpression::TBinding& binding = code.bindings[k];
        if (binding.type != vtInt && binding.type != vtDouble) return nullptr;
        if (binding.load < code.registers) bindingOf[binding.load] = static_cast<int>(k);
    }
    std::vector<TStraightStep>& steps = program->steps;
    const auto operand = [&](int reg, bool second) -> const double* {
        if (bindingOf[static_cast<size_t>(reg)] >= 0) {
            program->patches.push_back(TPatch{steps.size(), second, bindingOf[static_cast<size_t>(reg)]});
            return nullptr;
        }
        return &frame.registers[reg].real;
    };
    int accumulator = -1;  // the register A holds
    // A step that starts a new value puts A aside first, into its register.
    const auto start = [&](TStraightStep& step, int first) {
        if (accumulator < 0) return first + kStart;
        step.spill = &frame.registers[accumulator].real;
        return first + kSpillStart;
    };
    for (const TStep& s : code.steps) {
        if (s.code == scEnd) break;
        TStraightStep step{};
        int first = 0;
        int straight = 0;
        if (TwoOperandFamily(s.code, first)) {
            if (s.left == accumulator && s.right == accumulator) return nullptr;
            if (s.right == accumulator) {
                straight = first + kAccumulatorSecond;
                step.x = operand(s.left, false);
            } else if (s.left == accumulator) {
                straight = first + kAccumulatorFirst;
                step.x = operand(s.right, false);
            } else {
                straight = start(step, first);
                step.x = operand(s.left, false);
                step.y = operand(s.right, true);
            }
            if (s.code == scRealFunctionOfTwo) step.function.two = s.aux.realOfTwo;
        } else if (OneOperandFamily(s.code, first)) {
            if (s.left == accumulator) {
                straight = first + kAccumulatorFirst;
            } else {
                straight = start(step, first);
                step.x = operand(s.left, false);
            }
            if (s.code == scRealFunction) step.function.one = s.aux.realOfOne;
        } else {
            return nullptr;
        }
        step.handler = labels[straight];
        steps.push_back(step);
        accumulator = s.target;
    }
    const TDecodedExpression::TEntry& result = code.result;
    if (result.opaque || result.source == rsCompanion) return nullptr;
    if (result.constant || result.reg != accumulator) {
        TStraightStep load{};
        load.handler = labels[start(load, stSpillLoadX)];
        load.x = operand(result.reg, false);
        steps.push_back(load);
    }
    TStraightStep end{};
    end.handler = labels[stEnd];
    steps.push_back(end);
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
}

[[gnu::always_inline]] inline void TStraightProgram::WriteResult(double a, EXPRVALUE& out, bool valueOnly) const {
    out.kind = kind;
    out.value = image;
    std::memcpy(&out.value, &a, sizeof a);
    if (valueOnly) return;
    out.ref = reference;
    if (__builtin_expect(!out.text.IsEmpty(), 0)) out.text.Clear();
}

void TStraightProgram::Execute(const TStraightStep* s, const TStraightProgram* program, EXPRVALUE* out,
                               bool valueOnly, const void* const** labels) {
    // ORDER STRAIGHT: one label per straight code.
    static const void* const table[] = {
#define OPERATOR_LABELS(Op) &&spill##Op##XY, &&Op##XY, &&Op##AX, &&Op##XA,
        OPERATOR_LABELS(add) OPERATOR_LABELS(subtract) OPERATOR_LABELS(multiply) OPERATOR_LABELS(divide)
            OPERATOR_LABELS(power)
        &&spillFunctionX, &&functionX, &&functionA, OPERATOR_LABELS(Function)
        &&spillNegateX, &&negateX, &&negateA, &&spillLoadX, &&loadX, &&end,
#undef OPERATOR_LABELS
    };
    static_assert(sizeof table / sizeof table[0] == stEnd + 1, "one label per straight code");
    if (s == nullptr) {
        *labels = table;
        return;
    }
    double a = 0.0;
    goto* s->handler;
#define NEXT_STEP \
    ++s;          \
    goto* s->handler
// The spill code puts A aside and goes on as the start code.
#define OPERATOR_STEPS(Op, value)           \
    spill##Op##XY:                          \
    *s->spill = a;                          \
    Op##XY : {                              \
        const double l = *s->x;             \
        const double r = *s->y;             \
        a = value;                          \
        NEXT_STEP;                          \
    }                                       \
    Op##AX : {                              \
        const double l = a;                 \
        const double r = *s->x;             \
        a = value;                          \
        NEXT_STEP;                          \
    }                                       \
    Op##XA : {                              \
        const double l = *s->x;             \
        const double r = a;                 \
        a = value;                          \
        NEXT_STEP;                          \
    }
    OPERATOR_STEPS(add, l + r)
    OPERATOR_STEPS(subtract, l - r)
    OPERATOR_STEPS(multiply, l * r)
    OPERATOR_STEPS(divide, GuardedDivide(l, r))
    OPERATOR_STEPS(power, GuardedPow(l, r))
    OPERATOR_STEPS(Function, s->function.two(l, r))
#undef OPERATOR_STEPS
spillFunctionX:
    *s->spill = a;
functionX:
    a = s->function.one(*s->x);
    NEXT_STEP;
functionA:
    a = s->function.one(a);
    NEXT_STEP;
spillNegateX:
    *s->spill = a;
negateX:
    a = -*s->x;
    NEXT_STEP;
negateA:
    a = -a;
    NEXT_STEP;
spillLoadX:
    *s->spill = a;
loadX:
    a = *s->x;
    NEXT_STEP;
end:
    program->WriteResult(a, *out, valueOnly);
#undef NEXT_STEP
}
