// TStraightProgram: the shortest evaluation form, for decoded expressions of real arithmetic and real functions alone: one accumulator, operands read where they lie (internal to the decoded form).
#pragma once

#include <cstdint>
#include <cstring>
#include <memory>
#include <vector>

#include "DecodedSteps.h"

class TStraightProgram;
struct TStraightStep;

// A step's code. Each ends by calling the next step's code as its last act
// (a jump), so a run costs no frame; the last step's code writes the result
// into out. A is the accumulator.
typedef void (*TStraightHandler)(const TStraightStep* s, double a, EXPRVALUE* out);

// One step: its code and its memory operands X, Y and Z (a variable's
// value, a constant or a result put aside). A step that starts a new value
// first puts A aside into spill when its code is a spilling one.
struct TStraightStep {
    TStraightHandler handler;
    const double* x;
    const double* y;
    const double* z;
    double* spill;
    union {
        double (*one)(double);
        double (*two)(double, double);
        const TStraightProgram* program;  // the end step's (which has no code)
    } function;
};

class TStraightProgram {
public:
    // The straight form of code, or null when code has a step it does not
    // take (integers, comparisons, conversions, calls, elements,
    // assignments) or more than kMaxSteps. Operands that are no variables
    // live in frame's registers, which must outlive the program.
    static std::unique_ptr<TStraightProgram> Make(const TDecodedExpression::TProgram& code,
                                                  TDecodedExpression::TFrame& frame);

    // Points the variable operands and the result's reference at what the
    // frame's bindings found, and takes the list's state they were found in
    // (after every finding of them).
    void Bind(const TDecodedExpression::TFrame& frame);

    // Whether the variables found are still there for list: the same list
    // in the same layout, count and base, each variable of its type.
    [[gnu::always_inline]] bool Ready(const TVariableList& on) const {
        if (guardCount == 0) return true;
        if (&on != list || on.GetLayoutStamp() != stamp || on.GetCount() != count || on.GetBase() != base)
            return false;
        const TGuard* guard = guards.get();
        do {
            if (*guard->held != guard->type) return false;
        } while (++guard != guardsEnd);
        return true;
    }

    // Runs the steps and writes the result's kind, value and reference as
    // the general run writes them (also where only the kind and value are
    // asked for: writing the rest costs less than telling the two apart).
    void Run(EXPRVALUE& out) const { first->handler(first, 0.0, &out); }

    // The end of a run: A into out.
    void Finish(double a, EXPRVALUE& out) const {
        out.kind = kind;
        out.value = image;
        std::memcpy(&out.value, &a, sizeof a);
        out.ref = reference;
        if (__builtin_expect(!out.text.IsEmpty(), 0)) out.text.Clear();
    }

    // A run's steps call each other; where the compiler makes no jumps of
    // those calls (unoptimised builds), this bounds the stack they take.
    static constexpr size_t kMaxSteps = 1024;

private:
    // A variable operand: the step and operand that read the binding's value.
    struct TPatch {
        size_t step;
        int which;  // x, y, z
        int binding;
    };

    // The type a binding's variable holds, and the type the program was made for.
    struct TGuard {
        const TVariableType* held;
        TVariableType type;
    };

    std::vector<TStraightStep> steps;
    const TStraightStep* first = nullptr;
    std::vector<TPatch> patches;
    std::unique_ptr<TGuard[]> guards;
    const TGuard* guardsEnd = nullptr;
    int guardCount = 0;
    // The list's state the variables were found in (none yet: null).
    const TVariableList* list = nullptr;
    uint64_t stamp = 0;
    int count = 0;
    int base = 0;
    TExpressionItemType kind = ekReal;
    TItemValue image{};  // the result's 16 value bytes; A replaces the low 8
    VARINFO reference{-1, -1, -1, -1};
    int resultBinding = -1;  // a bare variable: its position is the reference's index
};
