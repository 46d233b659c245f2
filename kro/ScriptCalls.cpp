// Calls of script functions from expressions, from the host and as event handlers, with the application globals spliced in.
#include "ScriptCalls.h"

#include <cstring>
#include <utility>
#include <vector>

#include "Compiler.h"
#include "DrawingRuntime.h"
#include "EvaluateEngine.h"
#include "ExtensionHooks.h"
#include "Interpreter.h"

namespace {

// Activations of script functions now open, host calls included.
int callDepth = 0;

// Arguments of a call kept in place; a call with more takes a vector.
constexpr int kArgumentsAtHand = 32;

bool IsText(TExpressionItemType kind) {
    return kind == ekOwnedText || kind == ekBorrowedText || kind == ekBufferedText;
}

bool IsNumber(TExpressionItemType kind) { return kind == ekInteger || kind == ekReal; }

TVariableType ItemTypeOf(const TVariable& v) {
    if (v.type == vtArray) return v.value.a.itemtype;
    if (v.type == vtArray2) return v.value.a2.itemtype;
    return vtUndefined;
}

// ---- values

// The value of a scalar variable as an evaluation result; arrays and
// undefined variables give kind 255.
EXPRVALUE ValueOfVariable(const TVariable* v) {
    EXPRVALUE value;
    value.kind = ekError;
    if (v == nullptr) return value;
    switch (v->type) {
        case vtInt: value.kind = ekInteger; value.value.integer = v->value.i; break;
        case vtDouble: value.kind = ekReal; value.value.real = v->value.d; break;
        case vtPoint: value.kind = ekPoint; value.value.point = v->value.p; break;
        case vtComplex: value.kind = ekComplex; value.value.complex = v->value.c; break;
        case vtString:
            value.kind = ekOwnedText;
            if (v->value.s != nullptr) value.text = *v->value.s;
            break;
        default: break;
    }
    return value;
}

// An argument item as an evaluation result (texts as kind 18 with their text).
EXPRVALUE ValueOfItem(const EXPRESSION_ITEM& item) {
    EXPRVALUE value;
    value.kind = item.kind;
    std::memcpy(&value.value, &item.value, sizeof value.value);
    if (IsText(item.kind)) {
        value.kind = ekOwnedText;
        std::memset(&value.value, 0, sizeof value.value);
        if (item.value.text.text != nullptr) value.text = *item.value.text.text;
    }
    return value;
}

// Text of any value: a text as it is, a number or pair in Eval's result form.
TString TextOf(const EXPRVALUE& value) {
    if (IsText(value.kind)) return value.text;
    if (IsNumber(value.kind) || value.kind == ekPoint || value.kind == ekComplex) return FormatResult(value, false);
    return TString();
}

// Stores value into storage of that type when the type can hold it: numbers
// into int and double, a point into a point, a complex number into a
// complex, a text into a string. Anything else leaves the storage alone.
void StoreIfFits(void* storage, TVariableType type, const EXPRVALUE& value) {
    if (storage == nullptr) return;
    switch (type) {
        case vtInt:
            if (IsNumber(value.kind)) *static_cast<int64_t*>(storage) = ValueAsInt64(value);
            break;
        case vtDouble:
            if (IsNumber(value.kind)) *static_cast<double*>(storage) = ValueAsDouble(value);
            break;
        case vtPoint:
            if (value.kind == ekPoint) *static_cast<VPOINT*>(storage) = value.value.point;
            break;
        case vtComplex:
            if (value.kind == ekComplex) *static_cast<VCOMPLEX*>(storage) = value.value.complex;
            break;
        case vtString:
            if (IsText(value.kind)) *static_cast<TString*>(storage) = value.text;
            break;
        default: break;
    }
}

void* ScalarStorage(TVariable& v) { return v.type == vtString ? static_cast<void*>(v.value.s) : &v.value; }

// ---- parameters

// The variable type of each parameter kind: int, double, point and complex
// for theirs, undefined for arrays, string for every other kind.
struct TScalarTypes {
    TVariableType ofKind[256];
    TScalarTypes() {
        for (TVariableType& type : ofKind) type = vtString;
        ofKind[ekInteger] = vtInt;
        ofKind[ekReal] = vtDouble;
        ofKind[ekPoint] = vtPoint;
        ofKind[ekComplex] = vtComplex;
        ofKind[ekArray] = vtUndefined;
        ofKind[ekArray2] = vtUndefined;
    }
};
const TScalarTypes kScalarTypes;

// The type of a scalar parameter's variable; undefined for arrays.
inline TVariableType ScalarTypeOf(const TFunctionParam& param) { return kScalarTypes.ofKind[param.kind]; }

// A scalar parameter's variable, made as NewVar makes one (relative, info
// 0, no listeners, zero value) but not yet in Variables: the one the
// parameter kept from an earlier call, which saves making a variable and its
// name on every call; null when it kept none.
inline TVariable* TakeSpareVariable(TFunctionParam& param, TVariableType type) {
    if (param.spare.Empty()) return nullptr;
    TVariable* v = param.spare.Take();
    if (!(v->name == param.name)) v->name = param.name;
    v->absolute = false;
    v->info = 0;
    if (type == vtString) {
        v->value.s->Clear();
    } else {
        std::memset(&v->value, 0, sizeof v->value);
    }
    v->SetOwner(&Variables);
    return v;
}

// A scalar parameter's value, converted to its type.
void SetParameterValue(TVariable& v, TVariableType type, const EXPRVALUE& value) {
    switch (type) {
        case vtInt: v.value.i = ValueAsInt64(value); return;
        case vtDouble: v.value.d = ValueAsDouble(value); return;
        case vtPoint: v.value.p = ValueAsPoint(value); return;
        case vtComplex: v.value.c = ValueAsComplex(value); return;
        default: *v.value.s = TextOf(value); return;
    }
}

// The same from an argument item: numbers straight from the item, other
// values as ValueOfItem gives them.
[[gnu::always_inline]] inline void SetParameterValue(TVariable& v, TVariableType type, const EXPRESSION_ITEM& argument) {
    if (type == vtInt && argument.kind == ekInteger) {
        v.value.i = argument.value.integer;
    } else if (type == vtDouble && IsNumber(argument.kind)) {
        v.value.d = argument.kind == ekReal ? argument.value.real : static_cast<double>(argument.value.integer);
    } else {
        SetParameterValue(v, type, ValueOfItem(argument));
    }
}

// Appends parameter param with value (scalars, converted to the parameter's
// type) or a deep copy of array (arrays of the parameter's kind and item
// type; anything else gives an empty array).
void CreateParameter(TFunctionParam& param, const EXPRVALUE& value, const TVariable* array) {
    const TVariableType type = ScalarTypeOf(param);
    if (type != vtUndefined) {
        TVariable* v = TakeSpareVariable(param, type);
        if (v != nullptr)
            Variables.Add(static_cast<TContainerItem*>(v));
        else
            v = Variables.NewVar(param.name, type, false);
        if (v != nullptr) SetParameterValue(*v, type, value);
        return;
    }
    const bool oneDimension = param.kind == ekArray;
    const int before = Variables.GetCount();
    if (oneDimension)
        Variables.NewArray(param.name, param.variableType, false);
    else
        Variables.NewArray2(param.name, param.variableType, false);
    TVariable* created = Variables.Last();
    if (Variables.GetCount() == before || created == nullptr) return;
    const TVariableType wanted = oneDimension ? vtArray : vtArray2;
    if (array == nullptr || array->type != wanted || ItemTypeOf(*array) != param.variableType) return;
    if (oneDimension) {
        TVariableList::FreeArray(created->value.a);
        TVariableList::AssignArray(created->value.a, array->value.a);
    } else {
        TVariableList::FreeArray2(created->value.a2);
        TVariableList::AssignArray2(created->value.a2, array->value.a2);
    }
}

// Parameter variables made ready in order and appended to Variables
// together (appending keeps every variable where it was).
class TParameterBatch {
public:
    void Add(TVariable* v) {
        if (count == kArgumentsAtHand) Flush();
        items[count++] = static_cast<TContainerItem*>(v);
    }
    void Flush() {
        if (count == 0) return;
        Variables.InsertItems(Variables.GetCount(), items, count);
        count = 0;
    }

private:
    void* items[kArgumentsAtHand];
    int count = 0;
};

// Appends the parameters of a call from an expression, in order, from the
// argument items (arrays from the caller's array variables); whether any is
// passed by reference.
bool CreateParameters(void* const* params, int n, const EXPRESSION_ITEM* arguments, const TVariable* const* arrays) {
    TParameterBatch batch;
    bool byReference = false;
    for (int k = 0; k < n; ++k) {
        TFunctionParam& param = *static_cast<TFunctionParam*>(params[k]);
        byReference = byReference || param.byReference != 0;
        const TVariableType type = ScalarTypeOf(param);
        TVariable* v = type != vtUndefined ? TakeSpareVariable(param, type) : nullptr;
        if (v != nullptr) {
            SetParameterValue(*v, type, arguments[k]);
            batch.Add(v);
            continue;
        }
        batch.Flush();
        if (type != vtUndefined) {
            v = Variables.NewVar(param.name, type, false);
            if (v != nullptr) SetParameterValue(*v, type, arguments[k]);
        } else {
            CreateParameter(param, ValueOfItem(arguments[k]), arrays[k]);
        }
    }
    batch.Flush();
    return byReference;
}

// target's array becomes a deep copy of the parameter's, when both are
// arrays of the same shape and item type.
void CopyArrayBack(const TVariable& parameter, TVariable* target) {
    if (target == nullptr || target == &parameter || target->type != parameter.type ||
        ItemTypeOf(*target) != ItemTypeOf(parameter))
        return;
    if (target->type == vtArray) {
        TVariableList::FreeArray(target->value.a);
        TVariableList::AssignArray(target->value.a, parameter.value.a);
    } else if (target->type == vtArray2) {
        TVariableList::FreeArray2(target->value.a2);
        TVariableList::AssignArray2(target->value.a2, parameter.value.a2);
    }
}

// Type of the value that a stack reference designates: the variable's, an
// array item's, or a point's (int) or complex number's (double) part.
TVariableType ReferencedType(const VARINFO& ref) {
    const TVariable* v = Variables[ref.index];
    if (v == nullptr) return vtUndefined;
    TVariableType type = ref.index1 != -1 ? ItemTypeOf(*v) : v->type;
    if (ref.field == kFieldX || ref.field == kFieldY) return type == vtPoint ? vtInt : vtUndefined;
    if (ref.field == kFieldRe || ref.field == kFieldIm) return type == vtComplex ? vtDouble : vtUndefined;
    return type;
}

// The caller's array variable that an argument item names, or null.
const TVariable* ArgumentArray(const EXPRESSION_ITEM& argument) {
    if (argument.kind != ekArray && argument.kind != ekArray2) return nullptr;
    return Variables[Variables.V_Index(argument.value.variable.reference, argument.value.variable.absolute)];
}

// ---- results

EXPRESSION_ITEM ZeroItem(uint8_t type) {
    EXPRESSION_ITEM result = MakeItem(type);
    if (IsText(type)) {
        result.kind = ekOwnedText;
        result.value.text.text = new TString;
    }
    return result;
}

EXPRESSION_ITEM TextResultItem(uint8_t type) {
    EXPRESSION_ITEM result = ZeroItem(type);
    *result.value.text.text = std::move(ReturnSlot().text);
    return result;
}

[[gnu::always_inline]] inline EXPRESSION_ITEM ResultItem(uint8_t type) {
    if (IsText(type)) return TextResultItem(type);
    EXPRESSION_ITEM result = MakeItem(type);
    std::memcpy(&result.value, &ReturnSlot().value, sizeof result.value);
    return result;
}

EXPRVALUE ZeroValue(uint8_t type) {
    EXPRVALUE result;
    result.kind = IsText(type) ? ekOwnedText : type;
    return result;
}

EXPRVALUE ResultValue(uint8_t type) {
    TReturnSlot& slot = ReturnSlot();
    EXPRVALUE result = ZeroValue(type);
    if (IsText(type))
        result.text = std::move(slot.text);
    else
        std::memcpy(&result.value, &slot.value, sizeof result.value);
    return result;
}

// Whether another activation may open; refusing one ends the run.
bool MayEnterActivation() {
    if (!RunIsStopped() && callDepth < kMaxScriptCallDepth) return true;
    StopRun();
    return false;
}

void RunActivation(TProgram& program, const TFunction& function) {
    ++callDepth;
    RunFunctionBody(program, function.entry + 1, function.resultType);
    --callDepth;
}

void DeleteVariablesFrom(int position) {
    while (Variables.GetCount() > position && position >= 0) Variables.DeleteLast(true);
}

// The variable at position of a list's raw items.
TVariable* VariableAt(void* const* items, int position) {
    return static_cast<TVariable*>(static_cast<TContainerItem*>(items[position]));
}

// Whether the variable at the end of a call's parameters can go back to
// param for the next call: still the scalar it was made as, with no one
// listening.
inline bool Reusable(const TVariable* v, const TFunctionParam& param) {
    const TVariableType type = ScalarTypeOf(param);
    return v != nullptr && type != vtUndefined && v->type == type && v->GetListenerCount() == 0 &&
           (type != vtString || v->value.s != nullptr);
}

// Deletes what a call of a function with the n parameters params left from
// first on; the parameters' variables, where they are still the scalars
// they were made as, go back to their parameters for the next call instead
// (taken out of the list in one piece when all of them can).
void DeleteCallVariables(void* const* params, int n, int first) {
    if (first < 0) return;
    const int count = Variables.GetCount();
    if (count == first + n && n <= kArgumentsAtHand) {
        if (n == 0) return;
        void* const* items = static_cast<void* const*>(Variables.GetItems());
        TVariable* taken[kArgumentsAtHand];
        int k = 0;
        for (; k < n; ++k) {
            taken[k] = VariableAt(items, first + k);
            if (!Reusable(taken[k], *static_cast<TFunctionParam*>(params[k]))) break;
        }
        if (k == n) {
            Variables.DeleteSection(first, count - 1, false);
            for (k = 0; k < n; ++k) static_cast<TFunctionParam*>(params[k])->spare.Give(taken[k]);
            return;
        }
    }
    while (Variables.GetCount() > first + n) Variables.DeleteLast(true);
    while (Variables.GetCount() > first) {
        const int position = Variables.GetCount() - 1;
        TVariable* last = Variables[position];
        TFunctionParam* param = static_cast<TFunctionParam*>(params[position - first]);
        if (!Reusable(last, *param)) {
            Variables.DeleteLast(true);
            continue;
        }
        Variables.DeleteLast(false);
        param->spare.Give(last);
    }
}

// For a call from an expression whose parameters are all scalars passed by
// value, each with a variable kept from an earlier call: those variables
// with the arguments' values, into taken; false (nothing taken) otherwise.
bool TakeKeptParameters(void* const* params, int n, const EXPRESSION_ITEM* arguments, void** taken) {
    if (n > kArgumentsAtHand) return false;
    for (int k = 0; k < n; ++k) {
        TFunctionParam& param = *static_cast<TFunctionParam*>(params[k]);
        const TVariableType type = ScalarTypeOf(param);
        if (param.byReference != 0 || type == vtUndefined || param.spare.Empty()) {
            // The ones taken go back as they are (a take sets every field again).
            while (k-- > 0) static_cast<TFunctionParam*>(params[k])->spare.Give(VariableAt(taken, k));
            return false;
        }
        TVariable* v = TakeSpareVariable(param, type);
        SetParameterValue(*v, type, arguments[k]);
        taken[k] = static_cast<TContainerItem*>(v);
    }
    return true;
}

// Gives the variables TakeKeptParameters took back to their parameters when
// they lie at the end of Variables from first on as they were appended,
// each still the scalar it was made as; false (nothing done) otherwise.
bool GiveBackKeptParameters(void* const* params, int n, int first, void* const* taken) {
    if (Variables.GetCount() != first + n) return false;
    if (n == 0) return true;
    void* const* items = Variables.PointerItems() + first;
    for (int k = 0; k < n; ++k)
        if (items[k] != taken[k] || !Reusable(VariableAt(taken, k), *static_cast<TFunctionParam*>(params[k])))
            return false;
    Variables.TakeOffVariables(n);
    for (int k = 0; k < n; ++k) static_cast<TFunctionParam*>(params[k])->spare.Give(VariableAt(taken, k));
    return true;
}

// ---- host calls

// The environment of one host call: the program's globals spliced into
// Variables at base (the count before the splice), its functions
// registered, drawing on KRO_OutDC; the destructor writes the globals back
// and undoes the rest.
class THostCall {
public:
    explicit THostCall(TProgram& program)
        : program(program),
          base(Variables.GetCount()),
          savedBase(Variables.GetBase()),
          savedHandler(ExtFuncHandler),
          previousProgram(SetRunningProgram(&program)) {
        if (previousProgram == nullptr) ClearRunStop();
        NewStatementEpoch();
        for (int j = 0; j < program.variables.GetCount(); ++j)
            AppendMovedVariable(Variables, *program.variables[j]);
        Variables.SetBase(base);
        ExtFuncHandler = CallScriptFunction;
        RegisterScriptFunctions(program);
        KRO_InitGraph();
    }

    ~THostCall() {
        UnregisterScriptFunctions(program.functions.GetCount());
        const int globals = program.variables.GetCount();
        DeleteVariablesFrom(base + globals);
        for (int j = 0; j < globals; ++j)
            if (TVariable* spliced = Variables[base + j]) program.variables[j]->MoveFrom(*spliced);
        DeleteVariablesFrom(base);
        Variables.SetBase(savedBase);
        ExtFuncHandler = savedHandler;
        SetRunningProgram(previousProgram);
    }

    THostCall(const THostCall&) = delete;
    THostCall& operator=(const THostCall&) = delete;

private:
    TProgram& program;
    const int base;
    const int savedBase;
    const TExtFuncHandler savedHandler;
    TProgram* const previousProgram;
    const TProgramFastForms fastForms{program};
};

}  // namespace

void AppendMovedVariable(TVariableList& target, TVariable& source) {
    TVariable* moved = target.AddVar(source.name, vtInt, vtUndefined);
    if (moved != nullptr) moved->MoveFrom(source);
}

namespace {

// A call from an expression the general way: parameters made or taken one
// by one (arrays copied, by-reference values written back afterwards).
[[gnu::noinline]] EXPRESSION_ITEM CallWithNewParameters(TProgram& program, TFunction& function,
                                                        EXPRESSION_ITEM* arguments) {
    const int n = function.GetCount();
    void* const* params = static_cast<void* const*>(function.GetItems());
    const int first = Variables.GetCount();
    // Relative references count from the end: resolve them before the parameters exist.
    const TVariable* someArrays[kArgumentsAtHand];
    std::vector<const TVariable*> moreArrays(n > kArgumentsAtHand ? static_cast<size_t>(n) : 0);
    const TVariable** arrays = n > kArgumentsAtHand ? moreArrays.data() : someArrays;
    for (int k = 0; k < n; ++k) arrays[k] = ArgumentArray(arguments[k]);
    const bool byReference = CreateParameters(params, n, arguments, arrays);
    RunActivation(program, function);
    for (int k = 0; k < n && byReference; ++k) {
        const TFunctionParam& param = *static_cast<TFunctionParam*>(params[k]);
        TVariable* parameter = Variables[first + k];
        if (param.byReference == 0 || parameter == nullptr) continue;
        if (param.kind == ekArray || param.kind == ekArray2) {
            CopyArrayBack(*parameter, const_cast<TVariable*>(arrays[k]));
        } else if (arguments[k].ref.index >= 0 && arguments[k].ref.index < first) {
            const VARINFO& ref = arguments[k].ref;
            StoreIfFits(GetVarAddress(Variables, ref), ReferencedType(ref), ValueOfVariable(parameter));
        }
    }
    EXPRESSION_ITEM result = ResultItem(function.resultType);
    DeleteCallVariables(params, n, first);
    return result;
}

}  // namespace

EXPRESSION_ITEM CallScriptFunction(EXPRESSION_ITEM* arguments, int functionIndex, void* context) {
    TProgram* program = static_cast<TProgram*>(context);
    TFunction* function = program != nullptr ? program->functions[functionIndex] : nullptr;
    if (function == nullptr) return MakeIntegerItem(0);
    if (!MayEnterActivation()) return ZeroItem(function->resultType);
    const int n = function->GetCount();
    void* const* params = function->PointerItems();
    void* taken[kArgumentsAtHand];
    if (!TakeKeptParameters(params, n, arguments, taken)) return CallWithNewParameters(*program, *function, arguments);
    TVariableList& list = Variables;
    const int first = list.GetCount();
    list.AppendVariables(taken, n);
    RunActivation(*program, *function);
    // Giving the variables back runs nothing else: the slot still holds this call's result.
    if (GiveBackKeptParameters(params, n, first, taken)) return ResultItem(function->resultType);
    EXPRESSION_ITEM result = ResultItem(function->resultType);
    DeleteCallVariables(params, n, first);
    return result;
}

bool KRO_CheckFunctionParams(TProgram& program, int index, TVariableList& params) {
    const TFunction* function = program.functions[index];
    if (function == nullptr || params.GetCount() != function->GetCount()) return false;
    for (int k = 0; k < function->GetCount(); ++k) {
        const TFunctionParam& param = *function->Param(k);
        const TVariable& v = *params[k];
        switch (param.kind) {
            case ekInteger: if (v.type != vtInt) return false; break;
            case ekReal: if (v.type != vtDouble) return false; break;
            case ekPoint: if (v.type != vtPoint) return false; break;
            case ekComplex: if (v.type != vtComplex) return false; break;
            case ekArray:
                if (v.type != vtArray || ItemTypeOf(v) != param.variableType) return false;
                break;
            case ekArray2:
                if (v.type != vtArray2 || ItemTypeOf(v) != param.variableType) return false;
                break;
            default: break;  // a string takes the text of any variable
        }
    }
    return true;
}

EXPRVALUE KRO_CallFunction(TProgram& program, int index, TVariableList& params) {
    TFunction* function = program.functions[index];
    EXPRVALUE result;
    result.kind = ekError;
    if (function == nullptr) return result;
    THostCall call(program);
    if (!MayEnterActivation()) return ZeroValue(function->resultType);
    const int n = function->GetCount();
    const int first = Variables.GetCount();
    for (int k = 0; k < n; ++k) CreateParameter(*function->Param(k), ValueOfVariable(params[k]), params[k]);
    RunActivation(program, *function);
    for (int k = 0; k < n; ++k) {
        const TFunctionParam& param = *function->Param(k);
        TVariable* parameter = Variables[first + k];
        TVariable* target = params[k];
        if (param.byReference == 0 || parameter == nullptr || target == nullptr) continue;
        if (param.kind == ekArray || param.kind == ekArray2)
            CopyArrayBack(*parameter, target);
        else
            StoreIfFits(ScalarStorage(*target), target->type, ValueOfVariable(parameter));
    }
    result = ResultValue(function->resultType);
    DeleteCallVariables(static_cast<void* const*>(function->GetItems()), n, first);
    return result;
}

int KRO_GetFunctionIndex(TProgram& program, const TString& name) {
    for (int k = 0; k < program.functions.GetCount(); ++k)
        if (program.functions[k]->name == name) return k;
    return -1;
}

namespace {

// The first binding of the event code, or null.
const EVENT_INFO* FindEvent(TProgram& program, int code) {
    for (int k = 0; k < program.events.GetCount(); ++k)
        if (program.events[k].code == code) return &program.events[k];
    return nullptr;
}

}  // namespace

int KRO_GetEventHandler(TProgram& program, int code, TVariableList& params) {
    const EVENT_INFO* event = FindEvent(program, code);
    if (event == nullptr) return -1;
    KRO_CreateEventParams(code, params);
    return event->function;
}

void KRO_CallEventHandler(TProgram& program, int code, TVariableList& params) {
    const EVENT_INFO* event = FindEvent(program, code);
    if (event != nullptr) KRO_CallFunction(program, event->function, params);
}
