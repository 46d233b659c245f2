// TCountingPass: a counting loop's step and test run in place, where evaluating them would take the in-place number path.
#include "CountingPass.h"

#include "BinaryOperators.h"
#include "DecodedSteps.h"
#include "EvaluateEngine.h"
#include "EvaluationLoop.h"
#include "OperatorSupport.h"

namespace {

// A counting loop's step and test as compiled.
struct TCounting {
    TVariableValue variable;
    bool subtract;
    int64_t delta;
    int comparison;
    int64_t bound;
};

bool IsValueOfVariable(const EXPRESSION_ITEM& item) { return item.kind == ekVariable && !item.value.variable.byReference; }

bool SameVariable(const TVariableValue& a, const TVariableValue& b) {
    return a.reference == b.reference && a.absolute == b.absolute;
}

bool IsOperator(const EXPRESSION_ITEM& item, int op) {
    return item.kind == ekBinaryOperator && item.value.code.index == op;
}

// `v = v + c`, `v = v - c` (v v c op =) or `v += c`, `v -= c` (v c op=).
bool ReadStep(const EXPRESSION& e, TCounting& counting) {
    if (e.items == nullptr) return false;
    const EXPRESSION_ITEM* items = e.items;
    const EXPRESSION_ITEM* change;
    const EXPRESSION_ITEM* constant;
    if (e.count == 5) {
        if (!IsValueOfVariable(items[1]) || !SameVariable(items[0].value.variable, items[1].value.variable) ||
            !IsOperator(items[4], opAssign))
            return false;
        constant = &items[2];
        change = &items[3];
        counting.subtract = IsOperator(*change, opSubtract);
        if (!counting.subtract && !IsOperator(*change, opAdd)) return false;
    } else if (e.count == 3) {
        constant = &items[1];
        change = &items[2];
        counting.subtract = IsOperator(*change, opSubtractAssign);
        if (!counting.subtract && !IsOperator(*change, opAddAssign)) return false;
    } else {
        return false;
    }
    if (!IsValueOfVariable(items[0]) || constant->kind != ekInteger) return false;
    counting.variable = items[0].value.variable;
    counting.delta = constant->value.integer;
    return true;
}

// `v < k`, `v <= k`, `v > k` or `v >= k` (v k op) of the step's variable.
bool ReadTest(const EXPRESSION& e, TCounting& counting) {
    if (e.items == nullptr || e.count != 3) return false;
    const EXPRESSION_ITEM* items = e.items;
    if (!IsValueOfVariable(items[0]) || !SameVariable(items[0].value.variable, counting.variable) ||
        items[1].kind != ekInteger || items[2].kind != ekBinaryOperator)
        return false;
    counting.comparison = items[2].value.code.index;
    counting.bound = items[1].value.integer;
    return counting.comparison == opLess || counting.comparison == opLessOrEqual ||
           counting.comparison == opGreater || counting.comparison == opGreaterOrEqual;
}

bool Holds(int comparison, int64_t value, int64_t bound) {
    switch (comparison) {
        case opLess: return value < bound;
        case opLessOrEqual: return value <= bound;
        case opGreater: return value > bound;
        default: return value >= bound;
    }
}

}  // namespace

bool TCountingPass::Fits(const EXPRESSION& step, const EXPRESSION& test) {
    TCounting counting;
    return ReadStep(step, counting) && ReadTest(test, counting);
}

int TCountingPass::Run(const EXPRESSION& step, const EXPRESSION& test, TVariableList& list) {
    TCounting counting;
    if (!ReadStep(step, counting) || !ReadTest(test, counting)) return -1;
    // A host's own operators see every operation.
    if (CurrentOperations().binaryOperator != ApplyBinaryOperator || !FastFormsHere(list)) return -1;
    if (!list.HasLayoutStamp(count, stamp) || list.GetBase() != base) {
        // Found as the evaluation finds it.
        const int64_t position = PositionOf(list, counting.variable.reference, counting.variable.absolute);
        variable = position >= 0 && position < list.GetCount() ? list[static_cast<int>(position)] : nullptr;
        if (variable == nullptr) return -1;
        stamp = list.GetLayoutStamp();
        count = list.GetCount();
        base = list.GetBase();
    }
    TVariable& v = *variable;
    if (v.type != vtInt || v.GetListenerCount() != 0) return -1;
    const int64_t value = counting.subtract ? WrappingSubtract(v.value.i, counting.delta)
                                            : WrappingAdd(v.value.i, counting.delta);
    v.value.i = value;
    return Holds(counting.comparison, value, counting.bound) ? 1 : 0;
}
