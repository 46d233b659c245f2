// Assignment operators: the new value by target kind, writing it back into a variable, an array item or a value's half, and telling the listeners.
#include <cstring>

#include "EvaluateEngine.h"
#include "EvaluateErrors.h"
#include "OperatorSupport.h"
#include "StackRoutines.h"

namespace {

int64_t Replace(int64_t, int64_t n) { return n; }

// Integer targets take n = ItemAsInt of the right operand.
constexpr TOperatorRow<int64_t (*)(int64_t, int64_t)> kIntegerRows[] = {
    {opAssign, Replace},
    {opAddAssign, TAddition::OnIntegers},
    {opSubtractAssign, TSubtraction::OnIntegers},
    {opMultiplyAssign, TMultiplication::OnIntegers},
    {opDivideAssign, TDivision::OnIntegers},
    {opOrAssign, EitherSet},
    {opAndAssign, BothSet},
    {opPowerAssign, TPower::OnIntegers},
};
constexpr auto kIntegerAssignments = IndexByOperator(kIntegerRows);

double ReplaceReal(double, double r) { return r; }

// Real targets take ItemAsReal of the right operand.
constexpr TOperatorRow<double (*)(double, double)> kRealRows[] = {
    {opAssign, ReplaceReal},
    {opAddAssign, TAddition::OnReals},
    {opSubtractAssign, TSubtraction::OnReals},
    {opMultiplyAssign, TMultiplication::OnReals},
    {opDivideAssign, TDivision::OnReals},
};
constexpr auto kRealAssignments = IndexByOperator(kRealRows);

VPOINT ReplacePoint(const VPOINT&, const VPOINT& r) { return r; }
VPOINT AddPoints(const VPOINT& l, const VPOINT& r) { return VPOINT{WrappingAdd(l.x, r.x), WrappingAdd(l.y, r.y)}; }
VPOINT SubtractPoints(const VPOINT& l, const VPOINT& r) {
    return VPOINT{WrappingSubtract(l.x, r.x), WrappingSubtract(l.y, r.y)};
}

constexpr TOperatorRow<VPOINT (*)(const VPOINT&, const VPOINT&)> kPointRows[] = {
    {opAssign, ReplacePoint},
    {opAddAssign, AddPoints},
    {opSubtractAssign, SubtractPoints},
};
constexpr auto kPointAssignments = IndexByOperator(kPointRows);

VCOMPLEX ReplaceComplex(const VCOMPLEX&, const VCOMPLEX& r) { return r; }
VCOMPLEX AddComplex(const VCOMPLEX& l, const VCOMPLEX& r) { return VCOMPLEX{l.re + r.re, l.im + r.im}; }
VCOMPLEX SubtractComplex(const VCOMPLEX& l, const VCOMPLEX& r) { return VCOMPLEX{l.re - r.re, l.im - r.im}; }

constexpr TOperatorRow<VCOMPLEX (*)(const VCOMPLEX&, const VCOMPLEX&)> kComplexRows[] = {
    {opAssign, ReplaceComplex},       {opAddAssign, AddComplex},          {opSubtractAssign, SubtractComplex},
    {opMultiplyAssign, ComplexProduct}, {opDivideAssign, ComplexQuotient},
};
constexpr auto kComplexAssignments = IndexByOperator(kComplexRows);

void ReplaceText(TString& target, const TString& r) { target = r; }
void AppendText(TString& target, const TString& r) { target += r; }
void RemoveText(TString& target, const TString& r) { target -= r; }

constexpr TOperatorRow<void (*)(TString&, const TString&)> kTextRows[] = {
    {opAssign, ReplaceText},
    {opAddAssign, AppendText},
    {opSubtractAssign, RemoveText},
};
constexpr auto kTextAssignments = IndexByOperator(kTextRows);

// The new value of the left operand's kind, or kind 255 with code 21 when op
// has no meaning for that kind.
EXPRESSION_ITEM NewInteger(const TBinaryOperation& o) {
    const auto assign = FunctionOf(kIntegerAssignments, o.op);
    if (assign == nullptr) return OperatorError(eeWrongOperand);
    return MakeIntegerItem(assign(o.left.value.integer, ItemAsInt(o.right)));
}

EXPRESSION_ITEM NewReal(const TBinaryOperation& o) {
    const auto assign = FunctionOf(kRealAssignments, o.op);
    if (assign == nullptr) return OperatorError(eeWrongOperand);
    return MakeRealItem(assign(o.left.value.real, ItemAsReal(o.right)));
}

EXPRESSION_ITEM NewPoint(const TBinaryOperation& o) {
    const auto assign = FunctionOf(kPointAssignments, o.op);
    if (assign == nullptr) return OperatorError(eeWrongOperand);
    EXPRESSION_ITEM value = MakeItem(ekPoint);
    value.value.point = assign(o.left.value.point, o.right.value.point);
    return value;
}

EXPRESSION_ITEM NewComplex(const TBinaryOperation& o) {
    const auto assign = FunctionOf(kComplexAssignments, o.op);
    if (assign == nullptr) return OperatorError(eeWrongOperand);
    EXPRESSION_ITEM value = MakeItem(ekComplex);
    value.value.complex = assign(o.left.value.complex, o.right.value.complex);
    return value;
}

// A target of plain value: how its new value is made, what the target
// must hold and how many bytes of the value are stored.
struct TValueTarget {
    TExpressionItemType kind;
    TVariableType valueType;
    EXPRESSION_ITEM (*newValue)(const TBinaryOperation& o);
    size_t size;
};

const TValueTarget kValueTargets[] = {
    {ekInteger, vtInt, NewInteger, sizeof(int64_t)},
    {ekReal, vtDouble, NewReal, sizeof(double)},
    {ekPoint, vtPoint, NewPoint, sizeof(VPOINT)},
    {ekComplex, vtComplex, NewComplex, sizeof(VCOMPLEX)},
};

const TValueTarget* FindValueTarget(TExpressionItemType kind) {
    for (const TValueTarget& target : kValueTargets)
        if (target.kind == kind) return &target;
    return nullptr;
}

// The type of the value that ref designates as GetVarAddress resolves it:
// an array's item type when indexed, int for a point's x or y, double for a
// complex number's re or im; vtUndefined when it designates nothing.
TVariableType DesignatedType(TVariableList& vars, const VARINFO& ref) {
    const TVariable* v = vars[ref.index];
    if (v == nullptr) return vtUndefined;
    TVariableType type = v->type;
    if (ref.index1 != -1) {
        if (type == vtArray && ref.index2 == -1) {
            type = v->value.a.itemtype;
        } else if (type == vtArray2 && ref.index2 != -1) {
            type = v->value.a2.itemtype;
        } else {
            return vtUndefined;
        }
    }
    if (ref.field == kFieldX || ref.field == kFieldY) return type == vtPoint ? vtInt : vtUndefined;
    if (ref.field == kFieldRe || ref.field == kFieldIm) return type == vtComplex ? vtDouble : vtUndefined;
    return type;
}

// Null unless ref designates a value of that type: the list may have changed
// since the operand was pushed, and a value of another type must not be
// written over.
void* TargetAddress(TVariableList& vars, const VARINFO& ref, TVariableType valueType) {
    return DesignatedType(vars, ref) == valueType ? GetVarAddress(vars, ref) : nullptr;
}

// Each listener of the target, first to last; a listener may remove
// listeners or the variable itself.
void NotifyAssigned(TVariableList& vars, const VARINFO& ref) {
    for (int i = 0;; ++i) {
        const TVariable* v = vars[ref.index];
        if (v == nullptr || i >= v->GetListenerCount()) return;
        const TVariableListener listener = v->GetListener(i);
        if (listener != nullptr) listener(vars, ref, TVariable::laAssigned);
    }
}

EXPRESSION_ITEM AssignValue(const TBinaryOperation& o, const TValueTarget& target) {
    const EXPRESSION_ITEM value = target.newValue(o);
    if (value.kind == ekError) return value;
    if (o.check) return MakeItem(target.kind);
    void* address = TargetAddress(o.vars, o.left.ref, target.valueType);
    if (address == nullptr) return MakeItem(target.kind);
    std::memcpy(address, &value.value, target.size);
    NotifyAssigned(o.vars, o.left.ref);
    return value;
}

// The result is a buffered copy of the target's new text.
EXPRESSION_ITEM AssignText(const TBinaryOperation& o) {
    const auto assign = FunctionOf(kTextAssignments, o.op);
    if (assign == nullptr) return OperatorError(eeWrongOperand);
    TString* text = nullptr;
    EXPRESSION_ITEM result = BufferedTextResult(o.stack, text);
    if (o.check) return result;
    TString* target = static_cast<TString*>(TargetAddress(o.vars, o.left.ref, vtString));
    if (target == nullptr) return result;
    const TString& right = OperandText(o.right);
    if (&right == target) {
        // s += s: the operand is the target itself.
        const TString copy = right;
        assign(*target, copy);
    } else {
        assign(*target, right);
    }
    *text = *target;
    NotifyAssigned(o.vars, o.left.ref);
    return result;
}

// The storage of a plain value target of that type, as TargetAddress finds
// it, when the target has no listeners to tell; null otherwise.
void* QuietNumberTarget(TVariableList& vars, const VARINFO& ref, TVariableType valueType) {
    if (ref.field != -1 || ref.index2 != -1) return nullptr;
    TVariable* v = vars[ref.index];
    if (v == nullptr || v->GetListenerCount() != 0) return nullptr;
    if (ref.index1 == -1) return v->type == valueType ? &v->value : nullptr;
    if (v->type != vtArray || v->value.a.itemtype != valueType) return nullptr;
    return v->GetItem(ref.index1);
}

template <typename Value>
bool StoreQuietly(TVariableList& vars, const VARINFO& ref, TVariableType valueType, Value value) {
    void* address = QuietNumberTarget(vars, ref, valueType);
    if (address == nullptr) return false;
    std::memcpy(address, &value, sizeof value);
    return true;
}

}  // namespace

bool AssignNumberInPlace(TVariableList& vars, EXPRESSION_ITEM& left, const EXPRESSION_ITEM& right, int op) {
    if (left.kind == ekInteger) {
        const auto assign = FunctionOf(kIntegerAssignments, op);
        if (assign == nullptr) return false;
        const int64_t value = assign(left.value.integer, ItemAsInt(right));
        if (!StoreQuietly(vars, left.ref, vtInt, value)) return false;
        SetIntegerResult(left, value);
        return true;
    }
    if (left.kind != ekReal) return false;
    const auto assign = FunctionOf(kRealAssignments, op);
    if (assign == nullptr) return false;
    const double value = assign(left.value.real, ItemAsReal(right));
    if (!StoreQuietly(vars, left.ref, vtDouble, value)) return false;
    SetRealResult(left, value);
    return true;
}

bool IsAssignmentOperator(int op) {
    return (op >= opAssign && op <= opDivideAssign) || (op >= opOrAssign && op <= opPowerAssign);
}

EXPRESSION_ITEM ApplyAssignment(const TBinaryOperation& operation) {
    if (operation.left.ref.index == -1) return OperatorError(eeMissingVariable);
    if (IsTextItem(operation.left)) return AssignText(operation);
    const TValueTarget* target = FindValueTarget(operation.left.kind);
    return target != nullptr ? AssignValue(operation, *target) : OperatorError(eeWrongOperand);
}
