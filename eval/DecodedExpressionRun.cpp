// TDecodedExpression: running the evaluation form (bindings confirmed, steps on registers of known kinds, calls handed to the loop's own actions) and keeping it in an expression's spare record.
#include <cstring>

#include "BinaryOperators.h"
#include "DecodedExpression.h"
#include "DecodedSteps.h"
#include "EvaluateEngine.h"
#include "EvaluationLoop.h"
#include "ExtensionHooks.h"
#include "OperatorSupport.h"
#include "StraightProgram.h"
#include "UnaryOperators.h"

namespace {

inline const void* ThisThread() { return EvaluatingThread(); }

// How often one expression's form is made again because the list's
// variables changed kinds under it; after that the loop keeps it.
constexpr int kMaxRemakes = 16;

TVariable* VariableOf(void* const* items, int64_t position) {
    return static_cast<TVariable*>(static_cast<TContainerItem*>(items[position]));
}

// An array variable of the binding's item type.
bool HoldsItemsOf(const TVariable& v, const TDecodedExpression::TBinding& binding) {
    const TVariableType held = v.type == vtArray ? v.value.a.itemtype : v.value.a2.itemtype;
    return held == binding.itemtype;
}

TExpressionItemType LeftKind(uint8_t kinds) { return static_cast<TExpressionItemType>(kinds & 0x0F); }
TExpressionItemType RightKind(uint8_t kinds) { return static_cast<TExpressionItemType>(kinds >> 4); }

// A register as the operator and function units take numbers.
EXPRESSION_ITEM NumberItem(TExpressionItemType kind, const TRegister& value) {
    EXPRESSION_ITEM item = MakeItem(kind);
    std::memcpy(&item.value, &value, sizeof value);
    return item;
}

TItemValue ValueOf(const TRegister& value) {
    TItemValue copy{};
    std::memcpy(&copy, &value, sizeof value);
    return copy;
}

void SetRegister(TRegister& target, const TItemValue& value) { std::memcpy(&target, &value, sizeof target); }

}  // namespace

#if !(defined(__x86_64__) && defined(__GNUC__) && __GNUC__ >= 11)
__thread char evaluatingThreadMarker = 0;
#endif

TDecodedExpression::TFrame& TDecodedExpression::DeeperFrame() {
    if (static_cast<size_t>(depth) == frames.size()) {
        std::unique_ptr<TFrame> frame(new TFrame);
        frame->registers.reset(new TRegister[static_cast<size_t>(program->registers) + 1]);
        frame->companions.reset(new TCompanion[static_cast<size_t>(program->companions) + 1]);
        for (const auto& constant : program->constants) frame->registers[constant.first] = constant.second;
        frame->bound.resize(program->bindings.size());
        frame->positions.resize(program->bindings.size());
        frames.push_back(std::move(frame));
        firstFrame = frames.front().get();
    }
    return *frames[static_cast<size_t>(depth)];
}

// A usable form always has its first frame.
[[gnu::always_inline]] inline TDecodedExpression::TFrame& TDecodedExpression::EnterFrame() {
    TFrame& frame = depth == 0 ? *firstFrame : DeeperFrame();
    ++depth;
    return frame;
}

// Finds every binding's variable and reads its value; false when one is
// missing or has another type. A frame keeps what its last run found: while
// the list's layout stamp, count and base stay, each variable is where it
// was and only its type is confirmed.
[[gnu::always_inline]] inline bool TDecodedExpression::Resolve(const TProgram& code, TVariableList& list,
                                                               TFrame& frame) const {
    const int n = code.bindingCount;
    if (n == 0) return true;
    const TBinding* binding = code.bindings.data();
    TVariable** bound = frame.bound.data();
    TRegister* const r = frame.registers.get();
    if (&list == frame.list && list.GetLayoutStamp() == frame.stamp && list.GetCount() == frame.count &&
        list.GetBase() == frame.base) {
        int k = 0;
        for (; k < n; ++k) {
            const TVariable* v = bound[k];
            if (v->type != binding[k].type || (binding[k].type >= vtArray && !HoldsItemsOf(*v, binding[k]))) break;
            std::memcpy(&r[binding[k].load], &v->value, sizeof(TRegister));
        }
        if (k == n) return true;
    }
    return Find(code, list, frame);
}

// The bindings looked for in the list by their positions: where the count
// and base are those of the last run, the variables found then are
// confirmed at their places (variables added and deleted past them moved
// nothing); otherwise each is found again.
bool TDecodedExpression::Find(const TProgram& code, TVariableList& list, TFrame& frame) const {
    const int n = code.bindingCount;
    const int count = list.GetCount();
    const int base = list.GetBase();
    void* const* items = static_cast<void* const*>(list.GetItems());
    const TBinding* binding = code.bindings.data();
    TVariable** bound = frame.bound.data();
    int* positions = frame.positions.data();
    TRegister* const r = frame.registers.get();
    if (&list == frame.list && count == frame.count && base == frame.base) {
        int k = 0;
        for (; k < n; ++k) {
            const TVariable* v = VariableOf(items, positions[k]);
            if (v != bound[k] || v->type != binding[k].type ||
                (binding[k].type >= vtArray && !HoldsItemsOf(*v, binding[k])))
                break;
            std::memcpy(&r[binding[k].load], &v->value, sizeof(TRegister));
        }
        if (k == n) {
            frame.stamp = list.GetLayoutStamp();
            if (straight != nullptr && &frame == firstFrame) straight->Bind(frame);
            return true;
        }
    }
    frame.list = nullptr;
    const int64_t last = int64_t{count} - 1;
    for (int k = 0; k < n; ++k, ++binding) {
        const int64_t at = (binding->absolute ? base : last) + binding->offset;
        if (static_cast<uint64_t>(at) >= static_cast<uint64_t>(count)) return false;
        TVariable* v = VariableOf(items, at);
        if (v->type != binding->type || (binding->type >= vtArray && !HoldsItemsOf(*v, *binding))) return false;
        bound[k] = v;
        positions[k] = static_cast<int>(at);
        std::memcpy(&r[binding->load], &v->value, sizeof(TRegister));
    }
    frame.list = &list;
    frame.stamp = list.GetLayoutStamp();
    frame.count = count;
    frame.base = base;
    if (straight != nullptr && &frame == firstFrame) straight->Bind(frame);
    return true;
}

// After a call: whether every binding still finds the same variable, at
// the same place, of the same type.
[[gnu::always_inline]] inline bool TDecodedExpression::StillBound(TVariableList& list, const TFrame& frame) const {
    const int n = program->bindingCount;
    if (n == 0) return true;
    if (&list != frame.list || list.GetCount() != frame.count || list.GetBase() != frame.base) return false;
    const TBinding* binding = program->bindings.data();
    const TVariable* const* bound = frame.bound.data();
    const bool inPlace = list.GetLayoutStamp() == frame.stamp;
    void* const* items = inPlace ? nullptr : static_cast<void* const*>(list.GetItems());
    for (int k = 0; k < n; ++k) {
        const TVariable* v = bound[k];
        if (!inPlace && VariableOf(items, frame.positions[static_cast<size_t>(k)]) != v) return false;
        if (v->type != binding[k].type || (binding[k].type >= vtArray && !HoldsItemsOf(*v, binding[k]))) return false;
    }
    return true;
}

// The stack item the loop would hold for a number entry, written into item.
[[gnu::always_inline]] inline void TDecodedExpression::ItemOf(const TFrame& frame, const TEntry& entry,
                                                              EXPRESSION_ITEM& item) const {
    std::memcpy(&item, &entry.image, sizeof item);
    if (entry.constant) return;
    item.kind = entry.kind;
    std::memcpy(&item.value, &frame.registers[entry.reg], sizeof(TRegister));
    if (entry.source == rsBinding) {
        item.ref = VARINFO{frame.positions[static_cast<size_t>(entry.binding)], -1, -1, -1};
    } else if (entry.source == rsCompanion) {
        const TCompanion& companion = frame.companions[entry.companion];
        item.ref = companion.ref;
        std::memcpy(reinterpret_cast<char*>(&item.value) + sizeof(TRegister), &companion.upper, sizeof companion.upper);
    }
}

void TDecodedExpression::Materialize(TEvaluation& run, const TFrame& frame, const TEntry& entry) const {
    if (entry.opaque) {
        ActOnItem(run, entry.item);
        return;
    }
    EXPRESSION_ITEM item;
    ItemOf(frame, entry, item);
    run.stack.Push(item, false);
}

// A call's result into the site's register and companion, when it has the
// kind the program continues with and the bindings still hold.
[[gnu::always_inline]] inline bool TDecodedExpression::TakeResult(TVariableList& list, TFrame& frame,
                                                                   const TCallSite& site,
                                                                   const EXPRESSION_ITEM& result) const {
    if (result.kind != site.expected || !StillBound(list, frame)) return false;
    SetRegister(frame.registers[site.target], result.value);
    TCompanion& companion = frame.companions[site.companion];
    companion.ref = result.ref;
    std::memcpy(&companion.upper, reinterpret_cast<const char*>(&result.value) + sizeof(TRegister),
                sizeof companion.upper);
    return true;
}

// The loop's own action for the site's item, on the stack the loop would
// have (the form keeps nothing there between calls, so the stack's count
// now is the evaluation's base). The program goes on when the result has
// the kind it expects and the bindings still hold; otherwise the loop
// finishes the evaluation from the next item.
bool TDecodedExpression::Call(TRunContext& context, TFrame& frame, const TCallSite& site, EXPRVALUE& out,
                              bool throughStack) {
    if (site.direct && !throughStack) return CallDirectly(context, frame, site, out);
    TEvaluation run{context.list, context.e, context.stack, false, context.userData, context.stack.GetCount()};
    for (const TEntry& entry : site.stack) Materialize(run, frame, entry);
    ActOnItem(run, site.item);
    const int pushed = static_cast<int>(site.stack.size()) - site.operands + 1;
    if (run.stack.GetCount() == run.base + pushed) {
        const EXPRESSION_ITEM& result = *run.stack.TopUnchecked(0);
        if (TakeResult(run.list, frame, site, result)) {
            // Numbers and the items the form pushes own nothing.
            run.stack.DropUnowned(pushed);
            return true;
        }
    }
    FinishEvaluation(run, site.item + 1, out);
    return false;
}

// An external function called with its number arguments in hand (nothing
// the stack holds below them reaches a handler). When the result is not
// what the program continues with, the stack takes what the loop would
// hold there and the loop finishes.
[[gnu::always_inline]] inline bool TDecodedExpression::CallDirectly(TRunContext& context, TFrame& frame,
                                                                     const TCallSite& site, EXPRVALUE& out) {
    // Each argument is written whole by ItemOf: the storage needs no clearing first.
    alignas(EXPRESSION_ITEM) unsigned char storage[sizeof(EXPRESSION_ITEM) * (kDirectArguments + 1)];
    EXPRESSION_ITEM* const arguments = reinterpret_cast<EXPRESSION_ITEM*>(storage);
    const size_t below = site.stack.size() - static_cast<size_t>(site.operands);
    for (int k = 0; k < site.operands; ++k) ItemOf(frame, site.stack[below + static_cast<size_t>(k)], arguments[k]);
    EXPRESSION_ITEM result;
    if (!CallExtFunctionDirectly(site.function, arguments, site.operands, context.userData, result))
        return Call(context, frame, site, out, true);
    if (TakeResult(context.list, frame, site, result)) return true;
    FinishAfterCall(context, frame, site, result, out);
    return false;
}

// The loop finishes an evaluation whose direct call gave what the program
// does not continue with, from the stack it would hold there.
void TDecodedExpression::FinishAfterCall(TRunContext& context, const TFrame& frame, const TCallSite& site,
                                         const EXPRESSION_ITEM& result, EXPRVALUE& out) {
    TEvaluation run{context.list, context.e, context.stack, false, context.userData, context.stack.GetCount()};
    const size_t below = site.stack.size() - static_cast<size_t>(site.operands);
    for (size_t k = 0; k < below; ++k) Materialize(run, frame, site.stack[k]);
    run.stack.Push(result, false);
    FinishEvaluation(run, site.item + 1, out);
}

// The steps that call out or need items: false when the evaluation was
// handed to the loop, which then wrote out.
bool TDecodedExpression::RareStep(TRunContext& run, TFrame& frame, const TStep& s, EXPRVALUE& out) {
    TRegister* const r = frame.registers.get();
    TRegister& t = r[s.target];
    const TRegister& l = r[s.left];
    const TRegister& rt = r[s.right];
    switch (s.code) {
        case scNumberFunction: {
            EXPRESSION_ITEM a0 = NumberItem(LeftKind(s.kinds), l);
            ApplySimpleFunctionToNumbers(s.aux.index, a0, NumberItem(RightKind(s.kinds), rt));
            SetRegister(t, a0.value);
            return true;
        }
        case scUnaryOperator: {
            EXPRESSION_ITEM operand = NumberItem(LeftKind(s.kinds), l);
            SetRegister(t, ApplyUnaryOperator(operand, s.aux.index, run.stack, false).value);
            return true;
        }
        case scElement: {
            const size_t b = static_cast<size_t>(s.aux.pair.first);
            const TVariable* v = frame.bound[b];
            const int at = AdjustIndex(IndexOperand(LeftKind(s.kinds), ValueOf(l)), v->value.a.count);
            const void* address = at >= 0 && at < v->value.a.count ? v->GetItem(at) : nullptr;
            t.integer = 0;
            if (address != nullptr) std::memcpy(&t, address, sizeof t);
            frame.companions[s.aux.pair.second] = TCompanion{VARINFO{frame.positions[b], at, -1, -1}, 0};
            return true;
        }
        case scElement2: {
            const size_t b = static_cast<size_t>(s.aux.pair.first);
            const TVariable* v = frame.bound[b];
            const int line = AdjustIndex(IndexOperand(LeftKind(s.kinds), ValueOf(l)), v->value.a2.lines);
            const int column = AdjustIndex(IndexOperand(RightKind(s.kinds), ValueOf(rt)), v->value.a2.cols);
            const void* address = v->GetItem(line, column);
            t.integer = 0;
            if (address != nullptr) std::memcpy(&t, address, sizeof t);
            frame.companions[s.aux.pair.second] = TCompanion{VARINFO{frame.positions[b], line, column, -1}, 0};
            return true;
        }
        case scAssign: {
            const TCallSite& site = program->calls[static_cast<size_t>(s.aux.pair.second)];
            const size_t n = site.stack.size();
            EXPRESSION_ITEM left;
            EXPRESSION_ITEM right;
            ItemOf(frame, site.stack[n - 2], left);
            ItemOf(frame, site.stack[n - 1], right);
            if (!AssignNumberInPlace(run.list, left, right, site.op)) return Call(run, frame, site, out);
            SetRegister(t, left.value);
            return true;
        }
        case scAssignVariable:  // the target has listeners to tell
            return Call(run, frame, program->calls[static_cast<size_t>(s.aux.pair.second)], out);
        case scCall: return Call(run, frame, program->calls[static_cast<size_t>(s.aux.index)], out);
        default: return true;
    }
}

[[gnu::always_inline]] inline void TDecodedExpression::WriteResult(const TProgram& code, const TFrame& frame,
                                                                   EXPRVALUE& out) const {
    if (!out.text.IsEmpty()) out.text.Clear();
    const TEntry& result = code.result;
    out.kind = result.kind;
    out.value = result.image.value;  // constants whole; numbers take their low half below
    out.ref = result.image.ref;
    if (result.constant) return;
    std::memcpy(&out.value, &frame.registers[result.reg], sizeof(TRegister));
    if (result.source == rsBinding) {
        out.ref.index = frame.positions[static_cast<size_t>(result.binding)];
    } else if (result.source == rsCompanion) {
        const TCompanion& companion = frame.companions[result.companion];
        out.ref = companion.ref;
        std::memcpy(reinterpret_cast<char*>(&out.value) + sizeof(TRegister), &companion.upper, sizeof companion.upper);
    }
}

// The operator units the steps stand for must be the ones the loop calls.
// (The families the steps do not use hold what they held when the form was
// made: a change there costs a run by the loop, never a wrong result.)
[[gnu::always_inline]] inline bool TDecodedExpression::OperatorsAreOurs() const {
    return ((operations->binaryOperator != expected.binaryOperator) |
            (operations->unaryOperator != expected.unaryOperator) |
            (operations->simpleFunction != expected.simpleFunction)) == 0;
}

// One run: the bindings found, then the steps in order, each jumping
// straight to the next one's code, then the result. A call may hand the
// evaluation to the loop, which then writes out.
template <bool fallBack, bool valueOnly>
TDecodedExpression::TOutcome TDecodedExpression::Core(TVariableList& list, EXPRESSION& e, TEvalStack& stack,
                                                      EXPRVALUE& out, void* userData) {
    // ORDER STEP: one label per step code.
    static const void* const labels[] = {
        &&addReals,       &&subtractReals,     &&multiplyReals,     &&divideReals,       &&powerReals,
        &&addIntegers,    &&subtractIntegers,  &&multiplyIntegers,  &&divideIntegers,    &&powerIntegers,
        &&remainder,      &&bitOr,             &&bitAnd,            &&shiftRight,        &&shiftLeft,
        &&equalReals,     &&notEqualReals,     &&lessReals,         &&greaterReals,      &&lessOrEqualReals,
        &&greaterOrEqualReals, &&equalIntegers, &&notEqualIntegers, &&lessIntegers,      &&greaterIntegers,
        &&lessOrEqualIntegers, &&greaterOrEqualIntegers, &&logicalOr, &&logicalAnd,     &&realIsNonZero,
        &&integerToReal,  &&realToInt32,       &&realFunction,      &&realFunctionOfTwo, &&negateReal,
        &&negateInteger,  &&rare,              &&rare,              &&load,              &&rare,
        &&rare,           &&assignVariable,    &&rare,              &&call,              &&end,
    };
    static_assert(sizeof labels / sizeof labels[0] == scEnd + 1, "one label per step code");
    TOutcome outcome = Refused;
    if (__builtin_expect(__atomic_load_n(&ready, __ATOMIC_RELAXED) != ThisThread() || !OperatorsAreOurs(), 0)) {
        if (owner == ThisThread() && !usable && dependsOnList) outcome = Rebuild;
        goto refused;
    }
    {
    const TProgram& code = *program;
    TFrame& frame = EnterFrame();
    if (!Resolve(code, list, frame)) {
        --depth;
        outcome = Rebuild;
        goto refused;
    }
    TRegister* const r = frame.registers.get();
    const TStep* s = code.steps.data();
#define STEP_TARGET r[s->target]
#define STEP_LEFT r[s->left]
#define STEP_RIGHT r[s->right]
#define NEXT_STEP goto* labels[(++s)->code]
    goto* labels[s->code];
addReals: STEP_TARGET.real = OrderedSum(STEP_LEFT.real, STEP_RIGHT.real); NEXT_STEP;
subtractReals: STEP_TARGET.real = STEP_LEFT.real - STEP_RIGHT.real; NEXT_STEP;
multiplyReals: STEP_TARGET.real = OrderedProduct(STEP_LEFT.real, STEP_RIGHT.real); NEXT_STEP;
divideReals: STEP_TARGET.real = GuardedDivide(STEP_LEFT.real, STEP_RIGHT.real); NEXT_STEP;
powerReals: STEP_TARGET.real = GuardedPow(STEP_LEFT.real, STEP_RIGHT.real); NEXT_STEP;
addIntegers: STEP_TARGET.integer = WrappingAdd(STEP_LEFT.integer, STEP_RIGHT.integer); NEXT_STEP;
subtractIntegers: STEP_TARGET.integer = WrappingSubtract(STEP_LEFT.integer, STEP_RIGHT.integer); NEXT_STEP;
multiplyIntegers: STEP_TARGET.integer = WrappingMultiply(STEP_LEFT.integer, STEP_RIGHT.integer); NEXT_STEP;
divideIntegers: STEP_TARGET.integer = GuardedDivide(STEP_LEFT.integer, STEP_RIGHT.integer); NEXT_STEP;
powerIntegers: STEP_TARGET.integer = TPower::OnIntegers(STEP_LEFT.integer, STEP_RIGHT.integer); NEXT_STEP;
remainder: STEP_TARGET.integer = GuardedRemainder(STEP_LEFT.integer, STEP_RIGHT.integer); NEXT_STEP;
bitOr: STEP_TARGET.integer = BitOr(STEP_LEFT.integer, STEP_RIGHT.integer); NEXT_STEP;
bitAnd: STEP_TARGET.integer = BitAnd(STEP_LEFT.integer, STEP_RIGHT.integer); NEXT_STEP;
shiftRight: STEP_TARGET.integer = ShiftRight(STEP_LEFT.integer, STEP_RIGHT.integer); NEXT_STEP;
shiftLeft: STEP_TARGET.integer = ShiftLeft(STEP_LEFT.integer, STEP_RIGHT.integer); NEXT_STEP;
equalReals: STEP_TARGET.integer = STEP_LEFT.real == STEP_RIGHT.real; NEXT_STEP;
notEqualReals: STEP_TARGET.integer = STEP_LEFT.real != STEP_RIGHT.real; NEXT_STEP;
lessReals: STEP_TARGET.integer = STEP_LEFT.real < STEP_RIGHT.real; NEXT_STEP;
greaterReals: STEP_TARGET.integer = STEP_LEFT.real > STEP_RIGHT.real; NEXT_STEP;
lessOrEqualReals: STEP_TARGET.integer = STEP_LEFT.real <= STEP_RIGHT.real; NEXT_STEP;
greaterOrEqualReals: STEP_TARGET.integer = STEP_LEFT.real >= STEP_RIGHT.real; NEXT_STEP;
equalIntegers: STEP_TARGET.integer = STEP_LEFT.integer == STEP_RIGHT.integer; NEXT_STEP;
notEqualIntegers: STEP_TARGET.integer = STEP_LEFT.integer != STEP_RIGHT.integer; NEXT_STEP;
lessIntegers: STEP_TARGET.integer = STEP_LEFT.integer < STEP_RIGHT.integer; NEXT_STEP;
greaterIntegers: STEP_TARGET.integer = STEP_LEFT.integer > STEP_RIGHT.integer; NEXT_STEP;
lessOrEqualIntegers: STEP_TARGET.integer = STEP_LEFT.integer <= STEP_RIGHT.integer; NEXT_STEP;
greaterOrEqualIntegers: STEP_TARGET.integer = STEP_LEFT.integer >= STEP_RIGHT.integer; NEXT_STEP;
logicalOr: STEP_TARGET.integer = EitherSet(STEP_LEFT.integer, STEP_RIGHT.integer); NEXT_STEP;
logicalAnd: STEP_TARGET.integer = BothSet(STEP_LEFT.integer, STEP_RIGHT.integer); NEXT_STEP;
realIsNonZero: STEP_TARGET.integer = STEP_LEFT.real != 0.0; NEXT_STEP;
integerToReal: STEP_TARGET.real = static_cast<double>(STEP_LEFT.integer); NEXT_STEP;
realToInt32: STEP_TARGET.integer = TruncateToInt32(STEP_LEFT.real); NEXT_STEP;
realFunction: STEP_TARGET.real = s->aux.realOfOne(STEP_LEFT.real); NEXT_STEP;
realFunctionOfTwo: STEP_TARGET.real = s->aux.realOfTwo(STEP_LEFT.real, STEP_RIGHT.real); NEXT_STEP;
negateReal: STEP_TARGET.real = -STEP_LEFT.real; NEXT_STEP;
negateInteger: STEP_TARGET.integer = WrappingNegate(STEP_LEFT.integer); NEXT_STEP;
load:
    std::memcpy(&STEP_TARGET, &frame.bound[static_cast<size_t>(s->aux.index)]->value, sizeof(TRegister));
    NEXT_STEP;
assignVariable: {
    TVariable* v = frame.bound[static_cast<size_t>(s->aux.pair.first)];
    if (v->GetListenerCount() != 0) goto rare;
    std::memcpy(&v->value, &STEP_LEFT, sizeof(TRegister));
    STEP_TARGET = STEP_LEFT;
    NEXT_STEP;
}
call: {
    // An external function of number arguments goes straight to its handler.
    const TCallSite& site = code.calls[static_cast<size_t>(s->aux.index)];
    if (!site.direct) goto rare;
    TRunContext run{list, e, stack, userData};
    if (CallDirectly(run, frame, site, out)) NEXT_STEP;
    --depth;
    return Done;
}
rare: {
    TRunContext run{list, e, stack, userData};
    if (RareStep(run, frame, *s, out)) NEXT_STEP;
    --depth;
    return Done;
}
end:
    if (valueOnly) {
        out.kind = code.result.kind;
        out.value = code.result.image.value;
        if (!code.result.constant) std::memcpy(&out.value, &r[code.result.reg], sizeof(TRegister));
    } else {
        WriteResult(code, frame, out);
    }
    --depth;
    return Done;
    }
refused:
    if (!fallBack) return outcome;
    EvaluateWithoutForm(list, e, stack, out, userData, outcome == Rebuild ? this : nullptr);
    return Done;
#undef STEP_TARGET
#undef STEP_LEFT
#undef STEP_RIGHT
#undef NEXT_STEP
}

TDecodedExpression::TOutcome TDecodedExpression::Run(TVariableList& list, EXPRESSION& e, TEvalStack& stack,
                                                     EXPRVALUE& out, void* userData) {
    return Core<false, false>(list, e, stack, out, userData);
}

// Where the straight form cannot run at once: a form without one (calls,
// texts: what script statements holding calls have) goes to the general
// run; one whose operations were looked at again or whose variables are
// found again (the list changed) runs the straight form after all, else
// the general run. A straight form whose variables' types were not looked
// at since a type changed is looked at here.
template <bool valueOnly>
[[gnu::noinline]] void TDecodedExpression::EvaluateSlowly(TVariableList& list, EXPRESSION& e, TEvalStack& stack,
                                                          EXPRVALUE& out, void* userData) {
    const void* straightThread = __atomic_load_n(&straightOwner, __ATOMIC_RELAXED);
    if (straightThread == nullptr) {
        Core<true, valueOnly>(list, e, stack, out, userData);
        return;
    }
    if (straightThread == ThisThread() && straightChecked != operationsChanges.load(std::memory_order_relaxed) &&
        OperatorsAreOurs())
        straightChecked = operationsChanges.load(std::memory_order_relaxed);
    if (const TStraightProgram* form = StraightFor<true>(list))
        return RunStraight(*form, list, e, stack, userData, out);
    if (StraightOwnedHere() && depth == 0 && Find(*program, list, *firstFrame) && straight->LookAgain(list)) {
        KeepStraight(list);
        return RunStraight(*straight, list, e, stack, userData, out);
    }
    Core<true, valueOnly>(list, e, stack, out, userData);
}

// The straight form was just bound for list: a copy of it is kept for the list's count.
void TDecodedExpression::KeepStraight(const TVariableList& list) {
    if (keptStraight == nullptr) keptStraight.reset(new std::unique_ptr<TStraightProgram>[kKeptStraight]);
    std::unique_ptr<TStraightProgram>& slot = keptStraight[static_cast<size_t>(list.GetCount()) % kKeptStraight];
    if (slot == nullptr) slot.reset(new TStraightProgram);
    slot->CopyFrom(*straight);
}

// The straight run is a jump to its first step, which costs no frame.
void TDecodedExpression::Evaluate(TVariableList& list, EXPRESSION& e, TEvalStack& stack, EXPRVALUE& out,
                                  void* userData) {
    if (const TStraightProgram* form = StraightFor(list)) return RunStraight(*form, list, e, stack, userData, out);
    EvaluateSlowly<false>(list, e, stack, out, userData);
}

void TDecodedExpression::EvaluateValue(TVariableList& list, EXPRESSION& e, TEvalStack& stack, EXPRVALUE& out,
                                       void* userData) {
    if (const TStraightProgram* form = StraightFor(list)) return RunStraight(*form, list, e, stack, userData, out);
    EvaluateSlowly<true>(list, e, stack, out, userData);
}

template TDecodedExpression::TOutcome TDecodedExpression::Core<true, false>(TVariableList&, EXPRESSION&, TEvalStack&,
                                                                           EXPRVALUE&, void*);
template TDecodedExpression::TOutcome TDecodedExpression::Core<true, true>(TVariableList&, EXPRESSION&, TEvalStack&,
                                                                          EXPRVALUE&, void*);
template void TDecodedExpression::EvaluateSlowly<false>(TVariableList&, EXPRESSION&, TEvalStack&, EXPRVALUE&,
                                                        void*);
template void TDecodedExpression::EvaluateSlowly<true>(TVariableList&, EXPRESSION&, TEvalStack&, EXPRVALUE&, void*);

bool TDecodedExpression::Remake(EXPRESSION& e, TVariableList& list, TEvalStack& stack) {
    if (depth > 0 || owner != ThisThread() || remade >= kMaxRemakes) return false;
    ++remade;
    Decode(e, list, stack);
    return usable;
}

bool RunDecodedFormSlowly(TVariableList& list, EXPRESSION& e, TEvalStack& stack, EXPRVALUE& out, void* userData,
                          TDecodedExpression* form) {
    if (form != nullptr)
        return form->Remake(e, list, stack) && form->Run(list, e, stack, out, userData) == TDecodedExpression::Done;
    // The first run-mode evaluation only leaves its mark.
    EXPRESSION_ITEM& spare = e.items[e.count];
    const int state = __atomic_load_n(&spare.listCount, __ATOMIC_RELAXED);
    if (state == kSpareFresh) __atomic_store_n(&spare.listCount, kSpareEvaluatedOnce, __ATOMIC_RELAXED);
    if (state != kSpareEvaluatedOnce) return false;
    form = new TDecodedExpression(e, list, stack);
    if (!PublishEvaluationCache(e, form)) {
        delete form;
        return false;
    }
    return form->Run(list, e, stack, out, userData) == TDecodedExpression::Done;
}
