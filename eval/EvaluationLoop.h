// The general evaluation loop's own pieces, for the decoded form that hands evaluations over to it (internal to the library).
#pragma once

#include <atomic>
#include <climits>
#include <cmath>
#include <cstdint>

#include "EvaluateEngine.h"

#include "EvalStack.h"
#include "ExpressionModel.h"
#include "Variables.h"

// The operations as they are, for reading (no change counted).
const TEvaluateOperations& CurrentOperations();
// How many times EvaluateOperations() was called (from 1 on).
extern std::atomic<uint64_t> operationsChanges __attribute__((visibility("hidden")));

// The process's switch of the fast forms, set (true) while they are off.
extern std::atomic<bool> fastFormsOff __attribute__((visibility("hidden")));
// Both switches of the fast forms, for every evaluation's first look.
[[gnu::always_inline]] inline bool FastFormsHere(const TVariableList& list) {
    return list.FastForms() && !fastFormsOff.load(std::memory_order_relaxed);
}

// One evaluation in progress: the stack items below base belong to others.
// The list's item table is looked up once and again only after an item that
// may have changed the list (any call out of the loop).
struct TEvaluation {
    TVariableList& list;
    EXPRESSION& e;
    TEvalStack& stack;
    bool check;
    void* userData;
    int base;
    void* const* variables = nullptr;
    int variableCount = -1;  // -1: look the table up before the next use

    // The variable a stored reference designates now, null outside the
    // list; position receives what V_Index gives.
    TVariable* VariableAt(int stored, bool absolute, int& position) {
        if (variableCount < 0) {
            variableCount = list.GetCount();
            variables = static_cast<void* const*>(list.GetItems());
        }
        const int64_t at = absolute ? int64_t{list.GetBase()} + stored : int64_t{variableCount} - 1 - stored;
        if (at < 0 || at >= variableCount) {
            position = at < INT_MIN ? INT_MIN : (at > INT_MAX ? INT_MAX : static_cast<int>(at));
            return nullptr;
        }
        position = static_cast<int>(at);
        return static_cast<TVariable*>(static_cast<TContainerItem*>(variables[position]));
    }

    // The variable a reference designates when it has that type, else null.
    TVariable* VariableOfType(const TVariableValue& reference, TVariableType type, int& position) {
        TVariable* v = VariableAt(reference.reference, reference.absolute, position);
        return v != nullptr && v->type == type ? v : nullptr;
    }
};

// An index operand as a 32-bit index: integers saturate, reals truncate
// (NaN and values beyond the range fall outside every array).
inline int64_t IndexOperand(double d) {
    if (std::isnan(d) || d <= static_cast<double>(INT_MIN)) return INT_MIN;
    if (d >= static_cast<double>(INT_MAX)) return INT_MAX;
    return static_cast<int64_t>(d);
}
inline int64_t IndexOperand(int64_t i) { return i < INT_MIN ? INT_MIN : (i > INT_MAX ? INT_MAX : i); }
inline int64_t IndexOperand(TExpressionItemType kind, const TItemValue& value) {
    return kind == ekReal ? IndexOperand(value.real) : IndexOperand(value.integer);
}
inline int64_t IndexOperand(const EXPRESSION_ITEM& item) { return IndexOperand(item.kind, item.value); }

// A negative index whose magnitude is at most count counts from the end.
inline int AdjustIndex(int64_t index, int count) {
    if (index < 0 && -index <= count) index += count;
    return static_cast<int>(index);
}

// What the loop does with item i of run.e, the containment shortcut apart
// (the decoded form never holds its operands). In check mode, true when
// the item left an error item that ends the evaluation.
bool ActOnItem(TEvaluation& run, int i);

// The loop from item first to the end, then the result into out: what
// EvaluateExpression does from there on, with the stack as run left it.
void FinishEvaluation(TEvaluation& run, int first, EXPRVALUE& out);

class TDecodedExpression;

// Run mode where the decoded form does not serve: the first evaluations
// (marking, then making the form), form made again when given, the loop.
void EvaluateWithoutForm(TVariableList& list, EXPRESSION& e, TEvalStack& stack, EXPRVALUE& out, void* userData,
                         TDecodedExpression* form);

// The whole evaluation by the loop alone, never through a decoded form
// (the reference that the decoded form is measured against).
void EvaluateByLoop(TVariableList& list, EXPRESSION& e, TEvalStack& stack, EXPRVALUE& out, bool check,
                    void* userData);
