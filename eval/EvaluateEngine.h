// The evaluation engine: running compiled expressions over a TEvalStack, variable addresses, result texts and the process-wide stack.
#pragma once

#include "EvalStack.h"
#include "ExpressionModel.h"
#include "Variables.h"

// What the operator and function units plug into the loop. The library's
// init function fills these in before any evaluation; an entry left null
// makes its items fail with code 17 ("Unknown symbol").
struct TEvaluateOperations {
    // Two-operand operator op (0..36) with the operator item's character; the
    // loop releases both operands after pushing the result, so a result must
    // not reuse an operand's owned or buffered text.
    EXPRESSION_ITEM (*binaryOperator)(TVariableList& list, TEvalStack& stack, EXPRESSION_ITEM& left,
                                      EXPRESSION_ITEM& right, int op, char flag, bool check) = nullptr;
    // One-operand operator; the loop releases the operand after pushing the result.
    EXPRESSION_ITEM (*unaryOperator)(EXPRESSION_ITEM& operand, int op, TEvalStack& stack, bool check) = nullptr;
    // The functions pop their own operands and push their result.
    void (*simpleFunction)(EXPRESSION_ITEM& function, TEvalStack& stack, bool check) = nullptr;
    void (*builtinFunction)(TVariableList& list, EXPRESSION_ITEM& function, TEvalStack& stack, bool check) = nullptr;
    void (*listFunction)(TVariableList& list, EXPRESSION_ITEM& function, TEvalStack& stack, bool check) = nullptr;
    void (*externalFunction)(TVariableList& list, EXPRESSION_ITEM& function, TEvalStack& stack, bool check,
                             void* userData) = nullptr;
    void (*customFunction)(TVariableList& list, EXPRESSION_ITEM& function, TEvalStack& stack, bool check) = nullptr;
    // Custom operator of that id; operands released by the loop as above.
    EXPRESSION_ITEM (*customOperator)(TVariableList& list, TEvalStack& stack, EXPRESSION_ITEM& left,
                                      EXPRESSION_ITEM& right, int id, bool check) = nullptr;
};

// Set once at library start-up, before any thread evaluates; read-only
// after. Every call counts as a change of the operations (decoded forms made
// before it look at them again before they next run), so a change is made
// through a reference taken for it, not one kept from earlier.
TEvaluateOperations& EvaluateOperations();

// Registration index of the built-in "strcont" in the built-in table.
constexpr int kStrContBuiltinIndex = 61;

// One complete evaluation of e. Check mode tests operand kinds, stores
// nothing and stops at the first error (out.kind 255, EvaluateErrorCode set);
// run mode computes. An expression with count < 1 gives the integer 0. The
// evaluation removes exactly what it pushed, so a host function may evaluate
// another expression on the same stack in the middle of one. A string result
// of run mode has kind 18 with its text in out.text; in check mode it keeps
// stack kind 19 or 20 (18 for an owned text) and no text.
void EvaluateExpression(TVariableList& list, EXPRESSION& e, TEvalStack& stack, EXPRVALUE& out, bool check,
                        void* userData);
EXPRVALUE EvaluateExpression(TVariableList& list, EXPRESSION& e, TEvalStack& stack, bool check, void* userData);
// Run mode for a caller that reads only the result's kind and value (a
// condition, a statement run for its effects): as EvaluateExpression, except
// that a number result may leave out's text and reference as they were.
void EvaluateExpressionValue(TVariableList& list, EXPRESSION& e, TEvalStack& stack, EXPRVALUE& out, void* userData);
// On the default list Variables.
void EvaluateExpression(EXPRESSION& e, TEvalStack& stack, EXPRVALUE& out, bool check, void* userData);
EXPRVALUE EvaluateExpression(EXPRESSION& e, TEvalStack& stack, bool check, void* userData);
// On the process-wide stack, which serves one thread at a time.
EXPRVALUE EvaluateExpression(TVariableList& list, EXPRESSION& e, bool check, void* userData);
EXPRVALUE EvaluateExpression(EXPRESSION& e, bool check, void* userData);

// The fast forms of run-mode evaluation, on for the process at load: the
// decoded form an expression gets at its second evaluation (constants
// folded, variables bound), its straight form and direct calls, and the
// counted passes of counting loops. With them off for the process, or for
// one list (TVariableList::SetFastForms), every evaluation there runs the
// general loop alone, which gives the same results; so tests run the same
// work both ways. Safe from any thread; an evaluation under way ends in the
// form it began in.
void SetFastForms(bool on);
bool FastFormsOn();
// Whether evaluations on list take the fast forms: both switches on.
bool FastFormsOn(const TVariableList& list);

// Address of the value r designates: a variable's value (types 2..5), its
// TString (type 6), an array item when index1 (and index2) are not -1; the y
// or im part for field 1 or 3. Null for a missing variable, another type, an
// index outside the array, or field 1 / 3 of a value that is not a point /
// complex number.
void* GetVarAddress(TVariableList& list, const VARINFO& r);
void* GetVarAddress(const VARINFO& r);

// Appends the text of v to out ("%lld", "%f", "%lld, %lld", "%f, %f", or the
// text of a string). withType replaces out by the kind's name and "," first:
// "int", "double", "point", "complex", "string" (also for 19 and 20); other
// kinds give an empty name and text.
void FormatResult(const EXPRVALUE& v, TString& out, bool withType);
TString FormatResult(const EXPRVALUE& v, bool withType);

// The process-wide stack, alive from library load to unload.
TEvalStack& SharedEvalStack();
void CreateSharedEvalStack();
void DestroySharedEvalStack();
