// TStraightProgram: the shortest evaluation form, for decoded expressions of real arithmetic and real functions alone: one accumulator, operands read where they lie (internal to the decoded form).
#pragma once

#include <cstdint>
#include <cstring>
#include <memory>
#include <vector>

#include "DecodedSteps.h"

// What a straight step does. A is the accumulator; X, Y and Z are the
// step's memory operands: a variable's value, a constant or a result put
// aside. A step that starts a new value (X op Y, f(X), X) first puts A
// aside when its spill code is used.
// ORDER STRAIGHT: Execute's table of labels follows this order.
enum TStraightCode : uint8_t {
#define STRAIGHT_OPERATOR_CODES(Op) stSpill##Op##XY, st##Op##XY, st##Op##AX, st##Op##XA,
    STRAIGHT_OPERATOR_CODES(Add) STRAIGHT_OPERATOR_CODES(Subtract) STRAIGHT_OPERATOR_CODES(Multiply)
        STRAIGHT_OPERATOR_CODES(Divide) STRAIGHT_OPERATOR_CODES(Power)
#undef STRAIGHT_OPERATOR_CODES
    stSpillFunctionX,
    stFunctionX,   // A = one(X)
    stFunctionA,   // A = one(A)
    stSpillFunctionXY,
    stFunctionXY,  // A = two(X, Y)
    stFunctionAX,  // A = two(A, X)
    stFunctionXA,  // A = two(X, A)
    stSpillNegateX,
    stNegateX,
    stNegateA,
    stSpillLoadX,
    stLoadX,  // A = X
    stEnd,    // the value is A
};

// One step: its code's label in Execute and its operands.
struct TStraightStep {
    const void* handler;
    const double* x;
    const double* y;
    double* spill;  // where A is put aside first
    union {
        double (*one)(double);
        double (*two)(double, double);
    } function;
};

class TStraightProgram {
public:
    // The straight form of code, or null when code has a step it does not
    // take (integers, comparisons, conversions, calls, elements,
    // assignments). Operands that are no variables live in frame's
    // registers, which must outlive the program.
    static std::unique_ptr<TStraightProgram> Make(const TDecodedExpression::TProgram& code,
                                                  TDecodedExpression::TFrame& frame);

    // Points the variable operands and the result's reference at what the
    // frame's bindings found (after every finding of them).
    void Bind(const TDecodedExpression::TFrame& frame);

    // Runs the steps and writes the result's kind, value and reference as
    // the general run writes them; valueOnly: the kind and value alone.
    void Run(EXPRVALUE& out, bool valueOnly) const { Execute(steps.data(), this, &out, valueOnly); }

    // A variable operand: the step and operand that read the binding's value.
    struct TPatch {
        size_t step;
        bool second;  // y, else x
        int binding;
    };

private:
    // Runs the steps from s to the end and writes program's result into
    // out. A null s makes labels the table of the codes' labels instead.
    [[gnu::noinline, gnu::noclone]] static void Execute(const TStraightStep* s, const TStraightProgram* program,
                                                        EXPRVALUE* out, bool valueOnly,
                                                        const void* const** labels = nullptr);
    // The end of a run: A into out.
    void WriteResult(double a, EXPRVALUE& out, bool valueOnly) const;

    std::vector<TStraightStep> steps;
    std::vector<TPatch> patches;
    TExpressionItemType kind = ekReal;
    TItemValue image{};  // the result's 16 value bytes; A replaces the low 8
    VARINFO reference{-1, -1, -1, -1};
    int resultBinding = -1;  // a bare variable: its position is the reference's index
};
