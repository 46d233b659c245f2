// The evaluation loop: actions by item kind, element and field access, results, variable addresses and result texts.
#include "EvaluateEngine.h"

#include <array>
#include <climits>
#include <cmath>
#include <cstdarg>
#include <cstdio>
#include <cstring>
#include <string>

#include "DecodedExpression.h"
#include "EvaluateErrors.h"
#include "EvaluationLoop.h"
#include "OperatorSupport.h"
#include "StackRoutines.h"
#include "StraightProgram.h"

namespace {

bool IsNumberKind(TExpressionItemType kind) { return kind == ekInteger || kind == ekReal; }
bool IsTextStackKind(TExpressionItemType kind) { return kind >= ekOwnedText && kind <= ekBufferedText; }

// Pushes an error item and records code.
void PushError(TEvalStack& stack, int code) {
    EvaluateErrorCode = static_cast<int8_t>(code);
    stack.Push(MakeItem(ekError), false);
}

EXPRESSION_ITEM ErrorResult(int code) {
    EvaluateErrorCode = static_cast<int8_t>(code);
    return MakeItem(ekError);
}

// The zero value of an array item type (kind 20 gets a buffered empty text).
EXPRESSION_ITEM ZeroOfItemType(TEvalStack& stack, TVariableType itemtype) {
    switch (itemtype) {
        case vtDouble: return MakeRealItem(0.0);
        case vtPoint: return MakeItem(ekPoint);
        case vtComplex: return MakeItem(ekComplex);
        case vtString: {
            EXPRESSION_ITEM item = MakeItem(ekBufferedText);
            item.value.text.slot = stack.GetBufferedString(item.value.text.text);
            return item;
        }
        default: return MakeIntegerItem(0);
    }
}

// The value of an array item of that type (a text is copied into a buffered one).
EXPRESSION_ITEM ReadArrayItem(TEvalStack& stack, TVariableType itemtype, const void* address) {
    EXPRESSION_ITEM item = ZeroOfItemType(stack, itemtype);
    if (address == nullptr) return item;
    switch (itemtype) {
        case vtInt: item.value.integer = *static_cast<const int64_t*>(address); break;
        case vtDouble: item.value.real = *static_cast<const double*>(address); break;
        case vtPoint: item.value.point = *static_cast<const VPOINT*>(address); break;
        case vtComplex: item.value.complex = *static_cast<const VCOMPLEX*>(address); break;
        case vtString: *item.value.text.text = *static_cast<const TString*>(address); break;
        default: break;
    }
    return item;
}

void PushLiteral(TEvaluation& run, const EXPRESSION_ITEM& item) {
    run.stack.Push(item, false);
    run.stack.SetNoVar();
}

void PushStringConstant(TEvaluation& run, const EXPRESSION_ITEM& item) {
    EXPRESSION_ITEM borrowed = item;
    borrowed.kind = ekBorrowedText;
    borrowed.listCount = 0;
    borrowed.list = nullptr;
    run.stack.Push(borrowed, false);
    run.stack.SetNoVar();
}

// A variable's value, resolved with one range test on the cached table and
// written straight into a new top item: integer 0 without a reference for a
// missing variable or a type without a plain value. Inlined into the loop,
// where most items are variables.
[[gnu::always_inline]] inline void PushVariable(TEvaluation& run, const EXPRESSION_ITEM& item) {
    if (item.value.variable.byReference) {
        run.stack.Push(item, true);
        return;
    }
    const TVariableValue& reference = item.value.variable;
    int position = -1;
    const TVariable* v = run.VariableAt(reference.reference, reference.absolute, position);
    EXPRESSION_ITEM& slot = *run.stack.PushSlot();
    slot.value.point = VPOINT{0, 0};
    slot.ref = VARINFO{position, -1, -1, -1};
    slot.listCount = 0;
    slot.list = nullptr;
    switch (v != nullptr ? v->type : vtUndefined) {
        case vtInt:
            slot.kind = ekInteger;
            slot.value.integer = v->value.i;
            return;
        case vtDouble:
            slot.kind = ekReal;
            slot.value.real = v->value.d;
            return;
        case vtPoint:
            slot.kind = ekPoint;
            slot.value.point = v->value.p;
            return;
        case vtComplex:
            slot.kind = ekComplex;
            slot.value.complex = v->value.c;
            return;
        case vtString:
            slot.kind = ekBorrowedText;
            slot.value.text.text = v->value.s;
            return;
        default:
            slot.kind = ekInteger;
            slot.ref.index = -1;
            return;
    }
}

void ApplyBinary(TEvaluation& run, const EXPRESSION_ITEM& item) {
    EXPRESSION_ITEM right;
    EXPRESSION_ITEM left;
    run.stack.Pop(right);
    run.stack.Pop(left);
    const TEvaluateOperations& operations = CurrentOperations();
    EXPRESSION_ITEM result;
    if (item.kind == ekCustomOperator) {
        result = operations.customOperator != nullptr
                     ? operations.customOperator(run.list, run.stack, left, right, item.value.code.index, run.check)
                     : ErrorResult(eeUnknownSymbol);
    } else {
        result = operations.binaryOperator != nullptr
                     ? operations.binaryOperator(run.list, run.stack, left, right, item.value.code.index,
                                                 item.value.code.character, run.check)
                     : ErrorResult(eeUnknownSymbol);
    }
    run.stack.Push(result, false);
    run.stack.ReleaseItem(left);
    run.stack.ReleaseItem(right);
}

// A number assignment done in place, when the operators in use are the
// library's own (a host that plugs in its own keeps seeing every assignment).
inline bool AssignInPlace(TEvaluation& run, EXPRESSION_ITEM& left, const EXPRESSION_ITEM& right, int op) {
    return IsAssignmentOperator(op) && CurrentOperations().binaryOperator == ApplyBinaryOperator &&
           AssignNumberInPlace(run.list, left, right, op);
}

// Run mode, two numbers on top: the operator computed into the left one,
// which stays on the stack as the result (what ApplyBinary would push).
// False when the operands or the operator need the general path.
inline bool ApplyNumbersInPlace(TEvaluation& run, int op) {
    EXPRESSION_ITEM& right = *run.stack.TopUnchecked(0);
    EXPRESSION_ITEM& left = *run.stack.TopUnchecked(1);
    if (!IsNumberKind(left.kind) || !IsNumberKind(right.kind)) return false;
    if (!NumberOperatorInPlace(left, right, op) && !AssignInPlace(run, left, right, op)) return false;
    run.stack.DropUnowned(1);
    return true;
}

void ApplyUnary(TEvaluation& run, const EXPRESSION_ITEM& item) {
    EXPRESSION_ITEM operand;
    run.stack.Pop(operand);
    const TEvaluateOperations& operations = CurrentOperations();
    run.stack.Push(operations.unaryOperator != nullptr
                       ? operations.unaryOperator(operand, item.value.code.index, run.stack, run.check)
                       : ErrorResult(eeUnknownSymbol),
                   false);
    run.stack.ReleaseItem(operand);
    run.stack.SetNoVar();
}

// Kinds 7, 14, 15, 25, 26: the function pops its operands and pushes its result.
void ApplyFunction(TEvaluation& run, const EXPRESSION_ITEM& item) {
    const TEvaluateOperations& operations = CurrentOperations();
    EXPRESSION_ITEM function = item;
    bool handled = false;
    switch (item.kind) {
        case ekSimpleFunction:
            if ((handled = operations.simpleFunction != nullptr)) operations.simpleFunction(function, run.stack, run.check);
            break;
        case ekBuiltinFunction:
            if ((handled = operations.builtinFunction != nullptr))
                operations.builtinFunction(run.list, function, run.stack, run.check);
            break;
        case ekListFunction:
            if ((handled = operations.listFunction != nullptr))
                operations.listFunction(run.list, function, run.stack, run.check);
            break;
        case ekExternalFunction:
            if ((handled = operations.externalFunction != nullptr))
                operations.externalFunction(run.list, function, run.stack, run.check, run.userData);
            break;
        case ekCustomFunction:
            if ((handled = operations.customFunction != nullptr))
                operations.customFunction(run.list, function, run.stack, run.check);
            break;
        default: return;
    }
    if (!handled) {
        PushError(run.stack, eeUnknownSymbol);
        return;
    }
    // External and custom functions set the reference of their result themselves.
    if (item.kind != ekExternalFunction && item.kind != ekCustomFunction) run.stack.SetNoVar();
}

void SelectField(TEvaluation& run, const EXPRESSION_ITEM& item) {
    const int field = item.value.field;
    const bool wantsPoint = field == kFieldX || field == kFieldY;
    const EXPRESSION_ITEM* top = run.stack.Top(0);
    if (run.check && top->kind != (wantsPoint ? ekPoint : ekComplex)) {
        PushError(run.stack, eeWrongStruct);
        return;
    }
    EXPRESSION_ITEM operand;
    run.stack.Pop(operand);
    EXPRESSION_ITEM result;
    if (wantsPoint) {
        result = MakeIntegerItem(field == kFieldX ? operand.value.point.x : operand.value.point.y);
    } else {
        result = MakeRealItem(field == kFieldIm ? operand.value.complex.im : operand.value.complex.re);
    }
    result.ref = operand.ref;
    result.ref.field = field;
    run.stack.ReleaseItem(operand);
    run.stack.Push(result, true);
}

void ReadElement(TEvaluation& run, const EXPRESSION_ITEM& item) {
    if (run.check && !IsNumberItem(*run.stack.Top(0))) {
        PushError(run.stack, eeWrongArrayIndex);
        return;
    }
    EXPRESSION_ITEM indexItem;
    run.stack.Pop(indexItem);
    int position = -1;
    const TVariable* v = run.VariableOfType(item.value.variable, vtArray, position);
    const ARRAY* a = v != nullptr ? &v->value.a : nullptr;
    const int count = a != nullptr ? a->count : 0;
    const int index = AdjustIndex(IndexOperand(indexItem), count);
    const void* address = a != nullptr && index >= 0 && index < count ? v->GetItem(index) : nullptr;
    EXPRESSION_ITEM result = ReadArrayItem(run.stack, a != nullptr ? a->itemtype : vtInt, address);
    result.ref = VARINFO{position, index, -1, -1};
    run.stack.Push(result, false);
}

void ReadElement2(TEvaluation& run, const EXPRESSION_ITEM& item) {
    if (run.check && (!IsNumberItem(*run.stack.Top(0)) || !IsNumberItem(*run.stack.Top(1)))) {
        PushError(run.stack, eeWrongArrayIndex);
        return;
    }
    EXPRESSION_ITEM columnItem;
    EXPRESSION_ITEM lineItem;
    run.stack.Pop(columnItem);
    run.stack.Pop(lineItem);
    int position = -1;
    const TVariable* v = run.VariableOfType(item.value.variable, vtArray2, position);
    const ARRAY2* a = v != nullptr ? &v->value.a2 : nullptr;
    const int line = AdjustIndex(IndexOperand(lineItem), a != nullptr ? a->lines : 0);
    const int column = AdjustIndex(IndexOperand(columnItem), a != nullptr ? a->cols : 0);
    const void* address = v != nullptr ? v->GetItem(line, column) : nullptr;
    EXPRESSION_ITEM result = ReadArrayItem(run.stack, a != nullptr ? a->itemtype : vtInt, address);
    result.ref = VARINFO{position, line, column, -1};
    run.stack.Push(result, false);
}

void PushSubExpression(TEvaluation& run, const EXPRESSION_ITEM& item) { run.stack.Push(item, false); }

typedef void (*TItemAction)(TEvaluation& run, const EXPRESSION_ITEM& item);

struct TItemActionRow {
    TExpressionItemType kind;
    TItemAction action;
    bool checked;      // check mode tests the top for an error item after it
    bool callsOut;     // it may run code that changes the list (operators, functions)
};

// Actions by item kind; kinds not listed do nothing.
constexpr TItemActionRow kItemActions[] = {
    {ekInteger, PushLiteral, false, false},          {ekReal, PushLiteral, false, false},
    {ekArray, PushLiteral, false, false},            {ekArray2, PushLiteral, false, false},
    {ekOwnedText, PushStringConstant, false, false}, {ekVariable, PushVariable, false, false},
    {ekBinaryOperator, ApplyBinary, true, true},     {ekCustomOperator, ApplyBinary, true, true},
    {ekUnaryOperator, ApplyUnary, true, true},       {ekSimpleFunction, ApplyFunction, true, true},
    {ekBuiltinFunction, ApplyFunction, true, true},  {ekListFunction, ApplyFunction, false, true},
    {ekExternalFunction, ApplyFunction, true, true}, {ekCustomFunction, ApplyFunction, true, true},
    {ekFieldSelector, SelectField, true, false},     {ekElement, ReadElement, true, false},
    {ekElement2, ReadElement2, true, false},         {ekSubExpression, PushSubExpression, true, false},
};

// The rows spread by kind; kinds without a row get null.
constexpr std::array<const TItemActionRow*, 256> IndexActionsByKind() {
    std::array<const TItemActionRow*, 256> table{};
    for (const TItemActionRow& row : kItemActions) table[row.kind] = &row;
    return table;
}
constexpr std::array<const TItemActionRow*, 256> kActionOfKind = IndexActionsByKind();

// The text an operand of the containment shortcut stands for, or null.
const TString* ShortcutText(TVariableList& list, const EXPRESSION_ITEM& item) {
    if (IsTextKind(item.kind)) return item.value.text.text;
    if (item.kind != ekVariable || item.value.variable.byReference) return nullptr;
    const int position = list.V_Index(item.value.variable.reference, item.value.variable.absolute);
    const TVariable* v = list.GetVarOfType(position, vtString);
    return v != nullptr ? v->value.s : nullptr;
}

// Run mode: text, text, then "strcont", "[]=" or "[]!=" give 1 or 0 at once.
// Returns -1 when the items at i do not have that form.
int ContainmentShortcut(TEvaluation& run, int i) {
    if (run.check || i >= run.e.count - 2) return -1;
    const EXPRESSION_ITEM& test = run.e.items[i + 2];
    const bool isStrCont = test.kind == ekBuiltinFunction && test.value.code.index == kStrContBuiltinIndex;
    const bool isOperator = test.kind == ekBinaryOperator && (test.value.code.index == 29 || test.value.code.index == 30);
    if (!isStrCont && !isOperator) return -1;
    const TString* text = ShortcutText(run.list, run.e.items[i]);
    const TString* part = ShortcutText(run.list, run.e.items[i + 1]);
    if (text == nullptr || part == nullptr) return -1;
    const bool found = std::strstr(text->c_str(), part->c_str()) != nullptr;
    return (test.kind == ekBinaryOperator && test.value.code.index == 30) ? !found : found;
}

// Removes everything this evaluation pushed.
void Unwind(TEvaluation& run) {
    if (run.stack.GetCount() > run.base) run.stack.Pop(run.stack.GetCount() - run.base);
}

void TakeResult(TEvaluation& run, EXPRVALUE& out) {
    if (!out.text.IsEmpty()) out.text.Clear();
    if (run.stack.GetCount() > run.base && !IsTextStackKind(run.stack.TopUnchecked(0)->kind)) {
        // A value that owns nothing is read where it lies, word by word.
        const EXPRESSION_ITEM& top = *run.stack.TopUnchecked(0);
        out.kind = top.kind;
        out.ref = top.ref;
        if (!run.check) {
            out.value.point.x = top.value.point.x;
            out.value.point.y = top.value.point.y;
        }
        run.stack.DropUnowned(1);
        Unwind(run);
        return;
    }
    EXPRESSION_ITEM r;
    if (run.stack.GetCount() > run.base) {
        run.stack.Pop(r);
    } else {
        r = MakeIntegerItem(0);
    }
    Unwind(run);
    out.kind = r.kind;
    out.ref = r.ref;
    if (IsTextKind(r.kind)) {
        if (!run.check) {
            if (r.value.text.text != nullptr) out.text = *r.value.text.text;
            out.kind = ekOwnedText;
        }
        run.stack.ReleaseItem(r);
        return;
    }
    if (!run.check) std::memcpy(&out.value, &r.value, sizeof out.value);
}

}  // namespace

namespace {
TEvaluateOperations operationsInUse;
}  // namespace

std::atomic<uint64_t> operationsChanges{1};

TEvaluateOperations& EvaluateOperations() {
    operationsChanges.fetch_add(1, std::memory_order_relaxed);
    return operationsInUse;
}

const TEvaluateOperations& CurrentOperations() { return operationsInUse; }

namespace {

// The integer 0 of an expression that is not compiled or empty.
void EmptyResult(EXPRVALUE& out) {
    out.kind = ekInteger;
    std::memset(&out.value, 0, sizeof out.value);
    out.text.Clear();
    out.ref = VARINFO{-1, -1, -1, -1};
}

}  // namespace

bool ActOnItem(TEvaluation& run, int i) {
    const EXPRESSION_ITEM& item = run.e.items[i];
    // The frequent kinds first, without leaving the loop.
    switch (item.kind) {
        case ekInteger:
        case ekReal:
            run.stack.Push(item, false);
            run.stack.SetNoVar();
            return false;
        case ekVariable:
            PushVariable(run, item);
            return false;
        case ekBinaryOperator:
            if (!run.check && run.stack.GetCount() - run.base >= 2 && ApplyNumbersInPlace(run, item.value.code.index))
                return false;
            break;
        default: break;
    }
    const TItemActionRow* row = kActionOfKind[item.kind];
    if (row == nullptr) return false;
    row->action(run, item);
    if (row->callsOut) run.variableCount = -1;  // look the table up again
    return run.check && row->checked && run.stack.GetCount() > run.base && run.stack.Top(0)->kind == ekError;
}

void FinishEvaluation(TEvaluation& run, int first, EXPRVALUE& out) {
    for (int i = first; i < run.e.count; ++i) {
        const TExpressionItemType kind = run.e.items[i].kind;
        if (kind == ekVariable || kind == ekOwnedText) {
            const int shortcut = ContainmentShortcut(run, i);
            if (shortcut >= 0) {
                run.stack.Push(MakeIntegerItem(shortcut), false);
                i += 2;
                continue;
            }
        }
        if (ActOnItem(run, i)) {
            Unwind(run);
            out.kind = ekError;
            out.text.Clear();
            return;
        }
    }
    TakeResult(run, out);
}

[[gnu::noinline]] void EvaluateByLoop(TVariableList& list, EXPRESSION& e, TEvalStack& stack, EXPRVALUE& out,
                                      bool check, void* userData) {
    if (e.count < 1 || e.items == nullptr) {
        EmptyResult(out);
        return;
    }
    TEvaluation run{list, e, stack, check, userData, stack.GetCount()};
    FinishEvaluation(run, 0, out);
}

[[gnu::noinline]] void EvaluateWithoutForm(TVariableList& list, EXPRESSION& e, TEvalStack& stack, EXPRVALUE& out,
                                           void* userData, TDecodedExpression* form) {
    if (e.count < 1 || e.items == nullptr) {
        EmptyResult(out);
        return;
    }
    if (RunDecodedFormSlowly(list, e, stack, out, userData, form)) return;
    TEvaluation run{list, e, stack, false, userData, stack.GetCount()};
    FinishEvaluation(run, 0, out);
}

std::atomic<bool> fastFormsOff{false};

void SetFastForms(bool on) { fastFormsOff.store(!on, std::memory_order_relaxed); }
bool FastFormsOn() { return !fastFormsOff.load(std::memory_order_relaxed); }
bool FastFormsOn(const TVariableList& list) { return FastFormsHere(list); }

// Every path is a tail call: a run of a decoded form costs no frame here,
// and a straight one is a jump to its first step.
void EvaluateExpression(TVariableList& list, EXPRESSION& e, TEvalStack& stack, EXPRVALUE& out, bool check,
                        void* userData) {
    if (check || !FastFormsHere(list)) return EvaluateByLoop(list, e, stack, out, check, userData);
    // Only decoded forms are kept in the spare record.
    if (TDecodedExpression* form = static_cast<TDecodedExpression*>(EvaluationCacheOf(e))) {
        if (const TStraightProgram* straight = form->StraightFor(list))
            return TDecodedExpression::RunStraight(*straight, list, e, stack, userData, out);
        if (form->WithoutStraight()) return form->RunGeneral<false>(list, e, stack, out, userData);
        return form->EvaluateSlowly<false>(list, e, stack, out, userData);
    }
    EvaluateWithoutForm(list, e, stack, out, userData, nullptr);
}

void EvaluateExpressionValue(TVariableList& list, EXPRESSION& e, TEvalStack& stack, EXPRVALUE& out, void* userData) {
    if (!FastFormsHere(list)) return EvaluateByLoop(list, e, stack, out, false, userData);
    if (TDecodedExpression* form = static_cast<TDecodedExpression*>(EvaluationCacheOf(e))) {
        if (const TStraightProgram* straight = form->StraightFor(list))
            return TDecodedExpression::RunStraight(*straight, list, e, stack, userData, out);
        if (form->WithoutStraight()) return form->RunGeneral<true>(list, e, stack, out, userData);
        return form->EvaluateSlowly<true>(list, e, stack, out, userData);
    }
    EvaluateWithoutForm(list, e, stack, out, userData, nullptr);
}

EXPRVALUE EvaluateExpression(TVariableList& list, EXPRESSION& e, TEvalStack& stack, bool check, void* userData) {
    EXPRVALUE out;
    EvaluateExpression(list, e, stack, out, check, userData);
    return out;
}

void EvaluateExpression(EXPRESSION& e, TEvalStack& stack, EXPRVALUE& out, bool check, void* userData) {
    EvaluateExpression(Variables, e, stack, out, check, userData);
}

EXPRVALUE EvaluateExpression(EXPRESSION& e, TEvalStack& stack, bool check, void* userData) {
    return EvaluateExpression(Variables, e, stack, check, userData);
}

EXPRVALUE EvaluateExpression(TVariableList& list, EXPRESSION& e, bool check, void* userData) {
    return EvaluateExpression(list, e, SharedEvalStack(), check, userData);
}

EXPRVALUE EvaluateExpression(EXPRESSION& e, bool check, void* userData) {
    return EvaluateExpression(Variables, e, SharedEvalStack(), check, userData);
}

void* GetVarAddress(TVariableList& list, const VARINFO& r) {
    TVariable* v = list[r.index];
    if (v == nullptr) return nullptr;
    void* address = nullptr;
    TVariableType valueType = v->type;
    if (r.index1 != -1) {
        if (r.index2 == -1) {
            address = list.GetArrayItem(r.index, r.index1);
            if (v->type == vtArray) valueType = v->value.a.itemtype;
        } else {
            address = list.GetArray2Item(r.index, r.index1, r.index2);
            if (v->type == vtArray2) valueType = v->value.a2.itemtype;
        }
    } else if (v->type >= vtInt && v->type <= vtComplex) {
        address = &v->value;
    } else if (v->type == vtString) {
        address = v->value.s;
    }
    if (address == nullptr) return nullptr;
    if (r.field == kFieldY) return valueType == vtPoint ? &static_cast<VPOINT*>(address)->y : nullptr;
    if (r.field == kFieldIm) return valueType == vtComplex ? &static_cast<VCOMPLEX*>(address)->im : nullptr;
    return address;
}

void* GetVarAddress(const VARINFO& r) { return GetVarAddress(Variables, r); }

namespace {

struct TResultFormat {
    TExpressionItemType kind;
    const char* name;
};

// Names of the result kinds for FormatResult with its type.
const TResultFormat kResultNames[] = {
    {ekInteger, "int"},     {ekReal, "double"},         {ekPoint, "point"},
    {ekComplex, "complex"}, {ekOwnedText, "string"},    {ekBorrowedText, "string"},
    {ekBufferedText, "string"},
};

const char* ResultName(TExpressionItemType kind) {
    for (const TResultFormat& row : kResultNames)
        if (row.kind == kind) return row.name;
    return "";
}

// printf into a text of whatever length the value needs ("%f" of 1e300 is long).
TString Formatted(const char* format, ...) __attribute__((format(printf, 1, 2)));
TString Formatted(const char* format, ...) {
    va_list arguments;
    va_start(arguments, format);
    va_list again;
    va_copy(again, arguments);
    const int length = std::vsnprintf(nullptr, 0, format, arguments);
    va_end(arguments);
    std::string text(length > 0 ? static_cast<size_t>(length) : 0, '\0');
    if (length > 0) std::vsnprintf(&text[0], text.size() + 1, format, again);
    va_end(again);
    return TString(text);
}

TString NumberText(const EXPRVALUE& v) {
    switch (v.kind) {
        case ekInteger: return Formatted("%lld", static_cast<long long>(v.value.integer));
        case ekReal: return Formatted("%f", v.value.real);
        case ekPoint:
            return Formatted("%lld, %lld", static_cast<long long>(v.value.point.x),
                             static_cast<long long>(v.value.point.y));
        case ekComplex: return Formatted("%f, %f", v.value.complex.re, v.value.complex.im);
        default: return TString();
    }
}

}  // namespace

void FormatResult(const EXPRVALUE& v, TString& out, bool withType) {
    if (withType) {
        out = ResultName(v.kind);
        out += ",";
    }
    out += IsTextKind(v.kind) ? v.text : NumberText(v);
}

TString FormatResult(const EXPRVALUE& v, bool withType) {
    TString out;
    FormatResult(v, out, withType);
    return out;
}

namespace {
TEvalStack* sharedStack = nullptr;
}

TEvalStack& SharedEvalStack() { return *sharedStack; }

void CreateSharedEvalStack() {
    if (sharedStack == nullptr) sharedStack = new TEvalStack;
}

void DestroySharedEvalStack() {
    delete sharedStack;
    sharedStack = nullptr;
}
