// The steps, bindings, stack entries, call sites and frames of a decoded expression (internal to the decoded form's two units).
#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include "DecodedExpression.h"

// One value of the program: an integer or a real, as its step knows.
union TRegister {
    int64_t integer;
    double real;
};

// What a step does; every operand is a register of a known kind.
// ORDER STEP: the run's table of step labels follows this order.
enum TStepCode : uint8_t {
    // target = left op right, on reals
    scAddReals,
    scSubtractReals,
    scMultiplyReals,
    scDivideReals,
    scPowerReals,
    // on integers
    scAddIntegers,
    scSubtractIntegers,
    scMultiplyIntegers,
    scDivideIntegers,
    scPowerIntegers,
    scRemainder,
    scBitOr,
    scBitAnd,
    scShiftRight,
    scShiftLeft,
    // comparisons, giving the integer 0 or 1
    scEqualReals,
    scNotEqualReals,
    scLessReals,
    scGreaterReals,
    scLessOrEqualReals,
    scGreaterOrEqualReals,
    scEqualIntegers,
    scNotEqualIntegers,
    scLessIntegers,
    scGreaterIntegers,
    scLessOrEqualIntegers,
    scGreaterOrEqualIntegers,
    // logic on integers (a real operand is turned into 0 or 1 first)
    scLogicalOr,
    scLogicalAnd,
    scRealIsNonZero,
    // conversions as the operators read their operands
    scIntegerToReal,
    scRealToInt32,
    // functions
    scRealFunction,       // target = aux.realOfOne(left)
    scRealFunctionOfTwo,  // target = aux.realOfTwo(left, right)
    scNegateReal,
    scNegateInteger,
    scNumberFunction,  // any other simple function, aux.index, through the function unit
    scUnaryOperator,   // ! or ~, aux.index, through the operator unit
    // variables
    scLoad,      // target = the value of binding aux.index, read now
    scElement,   // target = element left of the 1-D array of binding aux.pair.first; its reference into companion right
    scElement2,  // target = element (left, right) of the 2-D array of binding aux.pair.first, reference into
                 // companion aux.pair.second
    // assignments and calls (aux.pair.second: the call site)
    scAssignVariable,  // '=' into the variable of binding aux.pair.first: target = left
    scAssign,          // any other number assignment
    scCall,            // a function or operator item run by the loop's own action
    scEnd,             // after the last step
};

struct TDecodedExpression::TStep {
    TStepCode code;
    uint8_t kinds;  // the operand kinds where a step needs them: left in the low four bits, right above
    uint16_t target;
    uint16_t left;
    uint16_t right;
    union {
        double (*realOfOne)(double);
        double (*realOfTwo)(double, double);
        int32_t index;
        struct {
            int32_t first;
            int32_t second;
        } pair;
    } aux;
};

// A variable the items name: found again on every run by its stored
// reference, and expected to have the type (and item type) it had when the
// form was made. Its value is read into register load as it is found (the
// read before any step; a binding without one reads into the spare register).
struct TDecodedExpression::TBinding {
    int32_t reference;
    bool absolute;
    TVariableType type;
    TVariableType itemtype;  // arrays
    uint16_t load;
    // From the base (absolute) or the last position (relative): the reference
    // or minus it.
    int64_t offset;
};

// Where a register value's reference comes from.
enum TReferenceSource : uint8_t {
    rsImage,      // the entry's image holds it (literals, folded values, results of operators)
    rsBinding,    // a variable read: its binding's position
    rsCompanion,  // an element read or a call's result: its companion slot
};

// One entry of the operand stack as the loop would hold it: a number in a
// register, or an item the loop's action pushes as it is (a variable by
// reference, a whole array, a string constant, a sub-expression, a string
// variable).
struct TDecodedExpression::TEntry {
    bool opaque;
    TExpressionItemType kind;  // a number's kind (1 or 3)
    uint16_t reg;
    TReferenceSource source;
    int32_t binding;     // rsBinding
    uint16_t companion;  // rsCompanion
    int32_t item;        // opaque: the item whose action pushes it
    bool constant;       // its value is known (image.value holds it)
    bool variable;       // opaque: a string variable, read when pushed
    int32_t epoch;       // while decoding: the side effects before a string variable was read
    // Literals and folded values: the whole item as the loop pushes it;
    // other numbers: the reference and the value's upper half.
    EXPRESSION_ITEM image;
};

// An item that the loop's own action runs: the stack as the loop holds it
// just before (bottom first), the kind the program continues with, and
// where the result goes.
struct TDecodedExpression::TCallSite {
    int32_t item;
    std::vector<TEntry> stack;
    int32_t operands;  // how many of the top entries the item takes
    TExpressionItemType expected;
    uint16_t target;
    uint16_t companion;  // the result's reference and upper half
    int32_t op;          // assignments: the operator
    // An external function of number arguments: called with them in hand,
    // not through the stack (what the loop's action computes all the same).
    bool direct = false;
    int32_t function = -1;  // a direct call: the external function's number
};

// The most arguments a direct call holds in place.
constexpr int kDirectArguments = 8;

// A value's reference and the upper half of its 16 value bytes, where the
// program cannot know them before it runs.
struct TCompanion {
    VARINFO ref;
    int64_t upper;
};

// What the program is made of.
struct TDecodedExpression::TProgram {
    std::vector<TStep> steps;
    std::vector<TBinding> bindings;
    int bindingCount = 0;
    // Registers that hold constants from the start.
    std::vector<std::pair<uint16_t, TRegister>> constants;
    std::vector<TCallSite> calls;
    int registers = 0;  // and one spare register behind them
    int companions = 0;
    TEntry result{};
    // Which operator units the steps stand for; a run needs them to be the library's own.
    bool usesBinary = false;
    bool usesUnary = false;
    bool usesFunctions = false;
};

// The position a stored reference designates in list now (V_Index's rule,
// computed wide so that no reference overflows).
inline int64_t PositionOf(const TVariableList& list, int32_t reference, bool absolute) {
    return absolute ? int64_t{list.GetBase()} + reference : int64_t{list.GetCount()} - 1 - reference;
}

// An address that differs from thread to thread (among the threads alive):
// the thread pointer, read in one instruction where the compiler offers it.
#if defined(__x86_64__) && defined(__GNUC__) && __GNUC__ >= 11
[[gnu::always_inline]] inline const void* EvaluatingThread() { return __builtin_thread_pointer(); }
#else
extern __thread char evaluatingThreadMarker __attribute__((tls_model("initial-exec"), visibility("hidden")));
[[gnu::always_inline]] inline const void* EvaluatingThread() { return &evaluatingThreadMarker; }
#endif

// The state of one run: registers, companions and the variables found.
// Recursive runs of one expression each take a frame of their own.
// The bindings' variables and positions stay from run to run with the
// list, its layout stamp, count and base they were found in (list null:
// found nothing yet).
struct TDecodedExpression::TFrame {
    std::unique_ptr<TRegister[]> registers;
    std::unique_ptr<TCompanion[]> companions;
    std::vector<TVariable*> bound;
    std::vector<int> positions;
    const TVariableList* list = nullptr;
    uint64_t stamp = 0;
    int count = 0;
    int base = 0;
};
