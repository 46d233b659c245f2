// TDecodedExpression: the evaluation form of a compiled expression, a typed register program with its constants folded and its variables bound, run in place of the evaluation loop.
#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include "EvalStack.h"
#include "EvaluateEngine.h"
#include "ExpressionModel.h"
#include "Variables.h"

struct TEvaluation;
class TStraightProgram;

// What a run of a decoded form works on.
struct TRunContext {
    TVariableList& list;
    EXPRESSION& e;
    TEvalStack& stack;
    void* userData;
};

// The run-mode form of one compiled expression, made from its items at its
// second run-mode evaluation and kept in its spare record.
//
// What it holds:
// - Constants folded: every sub-expression of literals and pure operators
//   and functions is computed once, when the form is made, by the
//   evaluation loop itself, and kept only when that computation gave a
//   number and touched no error code; so its value, kind and reference are
//   what evaluating it gives. Nothing impure is folded: rnd, the built-ins
//   and list functions the table marks impure (and every function added
//   later unless its adder marks it pure), external and custom functions,
//   custom operators, assignments.
// - Variables bound: each variable the items name becomes one binding (its
//   stored reference, absolute flag and the type the form was made for),
//   found in the list when the form first runs and again only when the
//   list's count changed (variables added or deleted move relative
//   references) or its base (absolute ones). Every run confirms each
//   binding with one look where it was found (the same variable object
//   there, of the same type), so a variable deleted and another added in
//   its place, or a type written over, is noticed, and reads the values
//   straight from the variables. A type that no longer fits makes the form
//   again.
// - Operations by kind: every value's kind (integer or real) is known when
//   the form is made, so each operator and function is one step on plain
//   numbers of known kinds, computed by the same functions the operator
//   units use.
// - Calls: built-in, list, external and custom functions, and assignments
//   that must tell listeners, run through the loop's own action for their
//   item on the evaluation stack, with the operands the loop would have
//   there. After a call the form confirms its bindings again; when the
//   call gave another kind than it declares, or changed the list under the
//   form, the loop takes over from the next item with the stack exactly as
//   it would hold it, and finishes the evaluation.
// - The straight form: where every step is number arithmetic, a
//   comparison, logic, a real function or a 1-D element read, and at most
//   the last one an assignment done in place, Evaluate and EvaluateValue
//   run a shorter form of the same steps (see TStraightProgram) after one
//   look at the list's layout, one at each variable's type and one at an
//   assigned variable's listeners.
// Expressions with texts, points, complex numbers, field selectors, custom
// operators, the text operators or the containment shortcut are left to
// the loop entirely.
class TDecodedExpression : public TEvaluationCache {
public:
    // Decodes e as list holds its variables now (stack serves the folding).
    TDecodedExpression(EXPRESSION& e, TVariableList& list, TEvalStack& stack);
    ~TDecodedExpression() override;

    // False when e has a part the form does not compute; Run then never runs.
    bool Usable() const { return usable; }
    // Whether Evaluate and EvaluateValue run the straight form.
    bool Straight() const { return straight != nullptr; }
    // The straight form, or a copy of it kept for the list's count, when it
    // may run now for list (null otherwise), and its run, which writes out
    // as Evaluate does (both inline, in StraightProgram.h). Where a type
    // changed since its variables' types were last looked at, only
    // lookAgain looks at them again (which the runs' slow way does).
    template <bool lookAgain = false>
    const TStraightProgram* StraightFor(const TVariableList& list) const;
    static void RunStraight(const TStraightProgram& form, TVariableList& list, EXPRESSION& e, TEvalStack& stack,
                            void* userData, EXPRVALUE& out);

    // One run-mode evaluation of e on list into out, exactly as the loop
    // gives it (the loop may have finished it after a call). Refused:
    // nothing ran (the form is not usable, another thread made it, or the
    // operator units are not the library's own). Rebuild: nothing ran, the
    // list no longer holds variables of the kinds the form was made for.
    enum TOutcome { Done, Refused, Rebuild };
    TOutcome Run(TVariableList& list, EXPRESSION& e, TEvalStack& stack, EXPRVALUE& out, void* userData);

    // EvaluateExpression's run mode for e: the form, or the loop where it
    // refuses (made again first where the list's variables changed kinds).
    void Evaluate(TVariableList& list, EXPRESSION& e, TEvalStack& stack, EXPRVALUE& out, void* userData);
    // The same where only out's kind and value matter afterwards: a number
    // result may leave out's text and reference as they were.
    void EvaluateValue(TVariableList& list, EXPRESSION& e, TEvalStack& stack, EXPRVALUE& out, void* userData);

    // Evaluate (valueOnly: EvaluateValue) where StraightFor found none.
    template <bool valueOnly>
    void EvaluateSlowly(TVariableList& list, EXPRESSION& e, TEvalStack& stack, EXPRVALUE& out, void* userData);
    // Whether the form has no straight form (made on any thread): then
    // EvaluateSlowly is the general run, which RunGeneral goes to at once.
    bool WithoutStraight() const { return __atomic_load_n(&straightOwner, __ATOMIC_RELAXED) == nullptr; }
    // One run; fallBack: hand refusals to the loop; valueOnly: write out's kind and value alone.
    template <bool fallBack, bool valueOnly>
    TOutcome Core(TVariableList& list, EXPRESSION& e, TEvalStack& stack, EXPRVALUE& out, void* userData);
    template <bool valueOnly>
    void RunGeneral(TVariableList& list, EXPRESSION& e, TEvalStack& stack, EXPRVALUE& out, void* userData) {
        Core<true, valueOnly>(list, e, stack, out, userData);
    }

    // Makes the form again for list as it is now; false when it may not
    // (a run is going on, another thread made it, it was made again too
    // often) or e still does not decode.
    bool Remake(EXPRESSION& e, TVariableList& list, TEvalStack& stack);

    // Deepest operand stack the form holds; a deeper expression is left to the loop.
    static constexpr int kMaxDepth = 64;

    struct TStep;
    struct TBinding;
    struct TEntry;
    struct TCallSite;
    struct TFrame;
    struct TProgram;

private:
    void Decode(EXPRESSION& e, TVariableList& list, TEvalStack& stack);
    TFrame& EnterFrame();
    TFrame& DeeperFrame();
    bool Resolve(const TProgram& code, TVariableList& list, TFrame& frame) const;
    bool Find(const TProgram& code, TVariableList& list, TFrame& frame) const;
    bool StillBound(TVariableList& list, const TFrame& frame) const;
    bool OperatorsAreOurs() const;
    bool StraightOwnedHere() const;
    bool RareStep(TRunContext& run, TFrame& frame, const TStep& step, EXPRVALUE& out);
    // throughStack: as the loop's action even where the site could call directly.
    bool Call(TRunContext& run, TFrame& frame, const TCallSite& site, EXPRVALUE& out, bool throughStack = false);
    bool CallDirectly(TRunContext& run, TFrame& frame, const TCallSite& site, EXPRVALUE& out);
    [[gnu::noinline]] void FinishAfterCall(TRunContext& run, const TFrame& frame, const TCallSite& site,
                                           const EXPRESSION_ITEM& result, EXPRVALUE& out);
    bool TakeResult(TVariableList& list, TFrame& frame, const TCallSite& site, const EXPRESSION_ITEM& result) const;
    void ItemOf(const TFrame& frame, const TEntry& entry, EXPRESSION_ITEM& item) const;
    void Materialize(TEvaluation& run, const TFrame& frame, const TEntry& entry) const;
    void WriteResult(const TProgram& code, const TFrame& frame, EXPRVALUE& out) const;

    std::unique_ptr<TProgram> program;
    // The straight form of program, or null; its operands lie in the first frame.
    std::unique_ptr<TStraightProgram> straight;
    // Copies of it bound for other counts of the list (slot: the count modulo
    // kKeptStraight), so that an expression run at several depths of a
    // recursion finds its variables at each depth without binding again.
    static constexpr int kKeptStraight = 16;
    std::unique_ptr<std::unique_ptr<TStraightProgram>[]> keptStraight;
    void KeepStraight(const TVariableList& list);
    // The thread that runs the straight form (null: none), and the count of
    // changes of the operations when they were last found to be ours.
    const void* straightOwner = nullptr;
    uint64_t straightChecked = 0;
    bool usable = false;
    // Not usable because of a variable missing or of another type: making
    // the form again may help.
    bool dependsOnList = false;
    int remade = 0;
    std::vector<std::unique_ptr<TFrame>> frames;
    TFrame* firstFrame = nullptr;
    int depth = 0;                // runs going on (recursive ones each have a frame)
    // The operator units the steps stand for (null: not used), and where the
    // loop finds the ones it calls.
    TEvaluateOperations expected;
    const TEvaluateOperations* operations = nullptr;
    const void* owner = nullptr;  // the thread that made the form; others use the loop
    const void* ready = nullptr;  // owner when the form is usable, else null
};

// EvaluateExpression's run-mode path besides a ready form: the first
// evaluation of e only leaves its mark, the second makes the form, and a
// form whose variables changed kinds (form) is made again. True when the
// evaluation is done (out filled), false when the caller runs the loop.
bool RunDecodedFormSlowly(TVariableList& list, EXPRESSION& e, TEvalStack& stack, EXPRVALUE& out, void* userData,
                          TDecodedExpression* form);
