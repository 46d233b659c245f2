// TStraightProgram: the shortest evaluation form, for decoded expressions of number arithmetic, comparisons, logic, element reads, one final assignment and a first direct call of an external function: a real and an integer accumulator, operands read where they lie (internal to the decoded form).
#pragma once

#include <cstdint>
#include <cstring>
#include <memory>
#include <utility>
#include <vector>

#include "DecodedSteps.h"
#include "EvaluationLoop.h"

class TStraightProgram;
struct TStraightStep;
struct TStraightCall;

// A step's code. Each ends by calling the next step's code as its last act
// (a jump), so a run costs no frame; the last step's code writes the result
// into out. A is the real accumulator, N the integer one; a step computes
// into the one of its result's kind and passes the other on untouched.
typedef void (*TStraightHandler)(const TStraightStep* s, double a, int64_t n, EXPRVALUE* out);

// One step: its code and its memory operands X, Y and Z (a variable's
// value, a constant or a result put aside, as a double or an int64_t by
// what the code reads). A step that starts a new value first puts the
// accumulator that holds one aside into spill when its code is a spilling
// one; an assignment stores into spill.
struct TStraightStep {
    TStraightHandler handler;
    const void* x;
    const void* y;
    const void* z;
    void* spill;
    union {
        double (*one)(double);
        double (*two)(double, double);
        const TVariable* array;           // element reads and stores
        const TStraightProgram* program;  // the end step's (which has no code)
        const TStraightCall* call;        // a first step's direct call
    } function;
};

// What the evaluation that runs a straight form with a call holds: the
// call's handler takes userData, and where the call gives what the form
// does not continue with, the general loop finishes on the evaluation's
// expression and stack.
struct TStraightContext {
    TVariableList& list;
    EXPRESSION& e;
    TEvalStack& stack;
    void* userData;
};

// The direct call of a form's first step (an external function of
// arguments read where they lie): its site, and the items the general loop
// holds at the call, the ones below the arguments first. Each is its
// entry's item; where the entry reads a variable, Bind points value at the
// variable's value and puts its position into the item's reference.
struct TStraightCall {
    static constexpr int kItems = 4;
    const TDecodedExpression::TCallSite* site = nullptr;
    const TStraightProgram* program = nullptr;  // whose looks must hold again after the call
    int count = 0;
    EXPRESSION_ITEM items[kItems];
    int bindings[kItems];                      // -1: a constant
    const void* values[kItems] = {nullptr, nullptr, nullptr, nullptr};
};

class TStraightProgram {
public:
    // The straight form of code, or null when code has a step it does not
    // take (calls other than a first step's direct call of arguments read
    // where they lie, below which the loop holds no variable a later step
    // reads; functions through the function unit, ! and ~, 2-D elements,
    // an assignment before the last step or one the in-place rules leave
    // to the operator unit) or more than kMaxSteps. Operands
    // that are no variables live in frame's registers, which must outlive
    // the program.
    static std::unique_ptr<TStraightProgram> Make(const TDecodedExpression::TProgram& code,
                                                  TDecodedExpression::TFrame& frame);

    // Points the variable operands, stores and arrays and the result's
    // reference at what the frame's bindings found, and takes the list's
    // state they were found in (after every finding of them).
    void Bind(const TDecodedExpression::TFrame& frame);
    // Becomes a copy of source, bound as it is (the operands that are no
    // variables stay in the same frame's registers).
    void CopyFrom(const TStraightProgram& source);

    // Whether the variables found are still there for list: the same list
    // in the same layout, count and base, each variable of its type (and
    // item type), an assigned one without listeners. Ready takes the types
    // as they were last looked at while no type has changed since, and
    // gives false where one has; LookAgain then looks at them.
    [[gnu::always_inline]] bool Ready(const TVariableList& on) const { return Holds<false>(on); }
    bool LookAgain(const TVariableList& on) const { return Holds<true>(on); }

    // Runs the steps and writes the result's kind, value and reference as
    // the general run writes them (also where only the kind and value are
    // asked for: writing the rest costs less than telling the two apart).
    // No step reads N before one wrote it, so N starts with seed: any value
    // the caller holds in hand, which spares the caller a register.
    void Run(EXPRVALUE& out, int64_t seed = 0) const { first->handler(first, 0.0, seed, &out); }
    // Whether the first step calls out (the run then needs its context),
    // and the counter of runs going on in the decoded form that owns it.
    bool CallsOut() const { return call != nullptr; }
    int* Runs() const { return runs; }
    void CountRunsIn(int& counter) { runs = &counter; }

    // The end of a run: the result's value into out.
    template <class Value>
    [[gnu::always_inline]] void Finish(Value value, EXPRVALUE& out) const {
        out.kind = kind;
        out.value = image;
        std::memcpy(&out.value, &value, sizeof value);
        out.ref = reference;
        if (__builtin_expect(!out.text.IsEmpty(), 0)) out.text.Clear();
    }

    // A run's steps call each other; where the compiler makes no jumps of
    // those calls (unoptimised builds), this bounds the stack they take.
    static constexpr size_t kMaxSteps = 1024;

private:
    // Where a variable's address goes: operand x, y or z, the store, or
    // (for an array) the variable itself.
    enum TPatchPlace { ppX, ppY, ppZ, ppStore, ppArray };
    struct TPatch {
        size_t step;
        TPatchPlace place;
        int binding;
    };

    friend class TStraightMaker;

    // A byte that must hold what it held when the program was made: a
    // binding's type, an array's item type.
    struct TGuard {
        const TVariableType* held;
        TVariableType type;
    };
    template <bool lookAgain>
    [[gnu::always_inline]] bool Holds(const TVariableList& on) const {
        if (guardCount == 0) return true;
        // No two lists share a stamp, and none has 0 (the stamp before the
        // first Bind): the stamp stands for the list.
        if (!on.HasLayoutStamp(count, stamp) || on.GetBase() != base) return false;
        if (typesSeen != variableTypeChanges.load(std::memory_order_relaxed) && !(lookAgain && GuardsHold()))
            return false;
        return quiet == nullptr || quiet->GetListenerCount() == 0;
    }
    // Whether every guard holds. Where none looks at an item type (which is
    // written without being counted), the count of type changes is taken
    // first and kept once they hold: until another change the guards hold.
    bool GuardsHold() const {
        const uint64_t changes = variableTypeChanges.load(std::memory_order_relaxed);
        for (const TGuard* guard = guardList; guard->held != nullptr; ++guard)
            if (*guard->held != guard->type) return false;
        if (!itemGuards) typesSeen = changes;
        return true;
    }

    std::vector<TStraightStep> steps;
    const TStraightStep* first = nullptr;
    // The first step's call, or null (kept in place: a copy made while a run
    // of this program waits for its call writes into the same record).
    std::unique_ptr<TStraightCall> call;
    int* runs = nullptr;
    std::vector<TPatch> patches;
    // guardCount guards and one with held null behind them: in the program
    // itself where they fit (which spares every run a look elsewhere).
    static constexpr int kInlineGuards = 8;
    TGuard inlineGuards[kInlineGuards];
    std::unique_ptr<TGuard[]> guards;
    int guardCount = 0;
    TGuard* GuardsToFill() { return guardCount < kInlineGuards ? inlineGuards : guards.get(); }
    // Where they are (GuardsToFill once they are filled).
    const TGuard* guardList = nullptr;
    // What each guard looks at: the binding, and whether its item type.
    std::vector<std::pair<int, bool>> guardBindings;
    bool itemGuards = false;
    // The count of type changes at which the guards last held (0: never).
    mutable uint64_t typesSeen = 0;
    // The variable the last step assigns to (-1: none) and, bound, the
    // variable that must have no listeners then.
    int assigned = -1;
    const TVariable* quiet = nullptr;
    // The list's state the variables were found in (none yet: stamp 0).
    uint64_t stamp = 0;
    int count = 0;
    int base = 0;
    TExpressionItemType kind = ekReal;
    TItemValue image{};  // the result's 16 value bytes; the value replaces the low 8
    VARINFO reference{-1, -1, -1, -1};
    int resultBinding = -1;  // a bare variable: its position is the reference's index
};

// The straight form was made on this thread, and the operations are
// unchanged since they were found to be ours.
[[gnu::always_inline]] inline bool TDecodedExpression::StraightOwnedHere() const {
    return __atomic_load_n(&straightOwner, __ATOMIC_RELAXED) == EvaluatingThread() &&
           straightChecked == operationsChanges.load(std::memory_order_relaxed);
}

// The straight form that may run here for list: owned here, and its
// variables (or those of the copy kept for the list's count) where they were.
template <bool lookAgain>
[[gnu::always_inline]] inline const TStraightProgram* TDecodedExpression::StraightFor(const TVariableList& list) const {
    const auto holds = [&list](const TStraightProgram& form) {
        return lookAgain ? form.LookAgain(list) : form.Ready(list);
    };
    if (!StraightOwnedHere()) return nullptr;
    if (holds(*straight)) return straight.get();
    if (keptStraight == nullptr) return nullptr;
    const TStraightProgram* kept = keptStraight[static_cast<size_t>(list.GetCount()) % kKeptStraight].get();
    return kept != nullptr && holds(*kept) ? kept : nullptr;
}

// The context of the straight run with a call under way on this thread, if any.
extern __attribute__((tls_model("initial-exec"), visibility("hidden"))) thread_local const TStraightContext*
    straightContext;

// A run with a call, in its context (the one of a run further out kept).
void RunStraightCalling(const TStraightProgram& form, TVariableList& list, EXPRESSION& e, TEvalStack& stack,
                        void* userData, EXPRVALUE& out);

[[gnu::always_inline]] inline void TDecodedExpression::RunStraight(const TStraightProgram& form, TVariableList& list,
                                                                   EXPRESSION& e, TEvalStack& stack, void* userData,
                                                                   EXPRVALUE& out) {
    if (__builtin_expect(form.CallsOut(), 0)) return RunStraightCalling(form, list, e, stack, userData, out);
    form.Run(out, reinterpret_cast<intptr_t>(&list));
}
