// TDecodedExpression: decoding numeric compiled expressions and running them on a fixed stack of plain numbers.
#include "DecodedExpression.h"

#include "BinaryOperators.h"
#include "OperatorSupport.h"
#include "UnaryOperators.h"

namespace {

// The simple function "rnd" draws random numbers: a run that falls back to
// the loop afterwards would draw twice, so it is never decoded.
constexpr int kRandomFunction = 18;

EXPRESSION_ITEM AsItem(const TPlainNumber& number) {
    EXPRESSION_ITEM item = MakeItem(number.kind);
    if (number.kind == ekReal)
        item.value.real = number.value.real;
    else
        item.value.integer = number.value.integer;
    return item;
}

TPlainNumber AsNumber(const EXPRESSION_ITEM& item) {
    TPlainNumber number;
    number.kind = item.kind;
    if (item.kind == ekReal)
        number.value.real = item.value.real;
    else
        number.value.integer = item.value.integer;
    return number;
}

}  // namespace

void TDecodedExpression::Clear() {
    steps.clear();
    constantRef = VARINFO{-1, -1, -1, -1};
}

bool TDecodedExpression::Decode(const EXPRESSION_ITEM& item, int& depth) {
    TStep step{};
    switch (item.kind) {
        case ekInteger:
        case ekReal:
            step.code = scConstant;
            step.constant = AsNumber(item);
            ++depth;
            break;
        case ekVariable:
            if (item.value.variable.byReference) return false;
            step.code = scVariable;
            step.absolute = item.value.variable.absolute;
            step.reference = item.value.variable.reference;
            ++depth;
            break;
        case ekBinaryOperator:
            // Which operators apply depends on the left operand's kind, known
            // only when running; the run falls back for the others.
            if (!IsNumberOperator(item.value.code.index, ekInteger)) return false;
            if (--depth < 1) return false;
            // The right operand was pushed by the step before: take it directly.
            if (steps.back().code == scConstant || steps.back().code == scVariable) {
                TStep& operand = steps.back();
                operand.code = operand.code == scConstant ? scOperatorConstant : scOperatorVariable;
                operand.operand = item.value.code.index;
                return true;
            }
            step.code = scOperator;
            step.operand = item.value.code.index;
            break;
        case ekSimpleFunction: {
            const TSimpleFunctionInfo* info = GetSimpleFunctionInfo(item.value.code.index);
            if (info == nullptr || item.value.code.index == kRandomFunction) return false;
            step.operand = item.value.code.index;
            step.realOfOne = GetRealFunctionOfOne(step.operand);
            step.realOfTwo = GetRealFunctionOfTwo(step.operand);
            step.code = step.realOfOne != nullptr   ? scRealFunction
                        : step.realOfTwo != nullptr ? scRealFunctionOfTwo
                                                    : scFunction;
            depth -= info->operands - 1;
            if (depth < 1) return false;
            break;
        }
        default: return false;
    }
    steps.push_back(step);
    return depth <= kMaxDepth;
}

void TDecodedExpression::Build(const EXPRESSION& e) {
    Clear();
    if (e.count < 1 || e.items == nullptr) return;
    int depth = 0;
    for (int i = 0; i < e.count; ++i) {
        if (!Decode(e.items[i], depth)) {
            Clear();
            return;
        }
    }
    if (depth != 1) {
        Clear();
        return;
    }
    // A lone constant keeps its item's reference, as the loop's push does.
    constantRef = e.items[e.count - 1].ref;
    constantRef.index = -1;
}

inline bool TDecodedExpression::ReadVariable(const TStep& step, TVariableList& list, void* const* variables, int count,
                                      TPlainNumber& value, int& position) {
    // The two tests: inside the list, and a number.
    const int64_t at = step.absolute ? int64_t{list.GetBase()} + step.reference : int64_t{count} - 1 - step.reference;
    if (at < 0 || at >= count) return false;
    position = static_cast<int>(at);
    const TVariable* v = static_cast<TVariable*>(static_cast<TContainerItem*>(variables[position]));
    if (v->type == vtDouble) {
        value.kind = ekReal;
        value.value.real = v->value.d;
        return true;
    }
    if (v->type != vtInt) return false;
    value.kind = ekInteger;
    value.value.integer = v->value.i;
    return true;
}

namespace {

[[gnu::noinline]] bool ApplyAnyOperator(TPlainNumber& left, const TPlainNumber& right, int op) {
    return NumberOperatorInPlace(left, right, op);
}

// Two reals meet most often: the four arithmetic operators take them at once.
[[gnu::always_inline]] inline bool ApplyOperator(TPlainNumber& left, const TPlainNumber& right, int op) {
    if (left.kind == ekReal && right.kind == ekReal) {
        switch (op) {
            case opAdd: left.value.real = TAddition::OnReals(left.value.real, right.value.real); return true;
            case opSubtract: left.value.real = TSubtraction::OnReals(left.value.real, right.value.real); return true;
            case opMultiply: left.value.real = TMultiplication::OnReals(left.value.real, right.value.real); return true;
            case opDivide: left.value.real = TDivision::OnReals(left.value.real, right.value.real); return true;
            default: break;
        }
    }
    return ApplyAnyOperator(left, right, op);
}

void SetReal(TPlainNumber& number, double value) {
    number.kind = ekReal;
    number.value.real = value;
}

}  // namespace

bool TDecodedExpression::Run(TVariableList& list, EXPRVALUE& out) const {
    TPlainNumber stack[kMaxDepth];
    int top = -1;
    const int count = list.GetCount();
    void* const* variables = static_cast<void* const*>(list.GetItems());
    int position = -1;
    TPlainNumber operand;
    for (const TStep& step : steps) {
        switch (step.code) {
            case scConstant: stack[++top] = step.constant; break;
            case scVariable:
                if (!ReadVariable(step, list, variables, count, stack[top + 1], position)) return false;
                ++top;
                break;
            case scOperator:
                if (!ApplyOperator(stack[top - 1], stack[top], step.operand)) return false;
                --top;
                break;
            case scOperatorConstant:
                if (!ApplyOperator(stack[top], step.constant, step.operand)) return false;
                break;
            case scOperatorVariable:
                if (!ReadVariable(step, list, variables, count, operand, position)) return false;
                if (!ApplyOperator(stack[top], operand, step.operand)) return false;
                break;
            case scRealFunction: SetReal(stack[top], step.realOfOne(NumberAsReal(stack[top]))); break;
            case scRealFunctionOfTwo:
                --top;
                SetReal(stack[top], step.realOfTwo(NumberAsReal(stack[top]), NumberAsReal(stack[top + 1])));
                break;
            case scFunction: {
                const int operands = GetSimpleFunctionInfo(step.operand)->operands;
                EXPRESSION_ITEM a0 = AsItem(stack[top - operands + 1]);
                const EXPRESSION_ITEM a1 = operands == 2 ? AsItem(stack[top]) : MakeIntegerItem(0);
                ApplySimpleFunctionToNumbers(step.operand, a0, a1);
                top -= operands - 1;
                stack[top] = AsNumber(a0);
                break;
            }
        }
    }
    const TStepCode last = steps.back().code;
    out.kind = stack[0].kind;
    out.value.point.y = 0;
    if (stack[0].kind == ekReal)
        out.value.real = stack[0].value.real;
    else
        out.value.integer = stack[0].value.integer;
    if (last == scVariable)
        out.ref = VARINFO{position, -1, -1, -1};
    else if (last == scConstant)
        out.ref = constantRef;
    else
        out.ref = VARINFO{-1, -1, -1, -1};
    if (!out.text.IsEmpty()) out.text.Clear();
    return true;
}
