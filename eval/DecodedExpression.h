// TDecodedExpression: the pre-decoded form of a purely numeric compiled expression, run on plain numbers.
#pragma once

#include <cstdint>
#include <vector>

#include "ExpressionModel.h"
#include "Variables.h"

// An expression made only of number constants, variables read by value,
// number operators and the simple functions other than rnd decodes into a
// short program over a fixed stack of plain numbers. It reads variables and
// writes nothing, so whenever a run meets what it cannot compute (a
// variable missing or holding no number) the caller evaluates the compiled
// expression instead and gets exactly what it would have got. Running gives
// the same kind, value and reference as the evaluation loop.
class TDecodedExpression {
public:
    // Decodes e; Empty() afterwards when e does not qualify.
    void Build(const EXPRESSION& e);
    void Clear();
    bool Empty() const { return steps.empty(); }

    // Run mode on list into out; false (out untouched) when the program
    // does not apply to the list's current content.
    bool Run(TVariableList& list, EXPRVALUE& out) const;

    // Deepest stack a decoded program may use.
    static constexpr int kMaxDepth = 64;

private:
    // What a step does. An operator whose right operand is a lone constant
    // or variable takes it directly (the operand's push is folded into the
    // step; nothing is computed ahead).
    enum TStepCode : uint8_t {
        scConstant,           // push constant
        scVariable,           // push the variable's value
        scOperator,           // top-1 op top
        scOperatorConstant,   // top op constant
        scOperatorVariable,   // top op variable
        scRealFunction,       // top = realOfOne(top)
        scRealFunctionOfTwo,  // top-1 = realOfTwo(top-1, top)
        scFunction,           // any other simple function
    };

    struct TStep {
        TStepCode code;
        bool absolute;          // the variable's absolute flag
        int32_t reference;      // the variable's stored reference
        int32_t operand;        // operator or function index
        TPlainNumber constant;  // scConstant, scOperatorConstant
        double (*realOfOne)(double);
        double (*realOfTwo)(double, double);
    };

    // The variable of step as a number; false when it is missing or no number.
    [[gnu::always_inline]] static bool ReadVariable(const TStep& step, TVariableList& list, void* const* variables, int count,
                             TPlainNumber& value, int& position);
    bool Decode(const EXPRESSION_ITEM& item, int& depth);

    std::vector<TStep> steps;
    // The reference a constant result carries (a literal keeps its item's
    // reference with index -1).
    VARINFO constantRef{-1, -1, -1, -1};
};
