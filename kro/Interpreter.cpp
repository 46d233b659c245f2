// The script interpreter: runs a compiled program token by token with a stack of control frames per activation.
#include "Interpreter.h"

#include <cmath>
#include <cstring>
#include <vector>

#include "CustomCommands.h"
#include "EvaluateEngine.h"
#include "ExtensionHooks.h"
#include "Variables.h"

TKRO_TokenFunc KRO_TokenFunc = nullptr;

namespace {

// Frame kinds, shared with the compiler's block stack.
enum TFrameKind {
    fkProgram = 1,
    fkBlock = 2,
    fkIf = 3,
    fkWhile = 4,
    fkFunction = 5,
    fkRepeat = 6,
    fkLoop = 7,
    fkSwitch = 8,
    fkFor = 9,
    fkForeach = 10,
};

// Script functions calling each other nest through the C++ stack; beyond
// this many activations the run ends instead of overflowing it.
constexpr int kMaxActivations = 256;

// What return and a function's closing end leave for the caller.
struct TReturnSlot {
    uint8_t type = 0;
    TItemValue value{};
    TString text;
};

TReturnSlot returnSlot;
TProgram* runningProgram = nullptr;
// Set by a hook stop or a too-deep nesting: every activation unwinds.
bool runStopped = false;
int activationDepth = 0;

int64_t DoubleToInt64(double d) {
    if (std::isnan(d)) return 0;
    if (d >= 9223372036854775807.0) return INT64_MAX;
    if (d <= -9223372036854775808.0) return INT64_MIN;
    return static_cast<int64_t>(d);
}

int32_t ClampToInt32(int64_t v) {
    if (v > INT32_MAX) return INT32_MAX;
    if (v < INT32_MIN) return INT32_MIN;
    return static_cast<int32_t>(v);
}

bool IsText(TExpressionItemType kind) {
    return kind == ekOwnedText || kind == ekBorrowedText || kind == ekBufferedText;
}

void DeleteLastVariables(int count) {
    for (int k = 0; k < count && Variables.GetCount() > 0; ++k) Variables.DeleteLast(true);
}

// Zero value of a result type into the return slot.
void SetZeroResult(uint8_t type) {
    returnSlot.type = type;
    std::memset(&returnSlot.value, 0, sizeof returnSlot.value);
    returnSlot.text = TString();
}

void SetResult(uint8_t type, const EXPRVALUE& v) {
    SetZeroResult(type);
    switch (type) {
        case ekInteger: returnSlot.value.integer = ValueAsInt64(v); break;
        case ekReal: returnSlot.value.real = ValueAsDouble(v); break;
        case ekPoint: returnSlot.value.point = ValueAsPoint(v); break;
        case ekComplex: returnSlot.value.complex = ValueAsComplex(v); break;
        case ekOwnedText: returnSlot.text = ValueAsString(v); break;
        default: break;
    }
}

// Stores v converted to the variable type into a scalar value's storage.
void StoreValue(void* target, TVariableType type, const EXPRVALUE& v) {
    if (target == nullptr) return;
    switch (type) {
        case vtInt: *static_cast<int64_t*>(target) = ValueAsInt64(v); break;
        case vtDouble: *static_cast<double*>(target) = ValueAsDouble(v); break;
        case vtPoint: *static_cast<VPOINT*>(target) = ValueAsPoint(v); break;
        case vtComplex: *static_cast<VCOMPLEX*>(target) = ValueAsComplex(v); break;
        case vtString: *static_cast<TString*>(target) = ValueAsString(v); break;
        default: break;
    }
}

void* ScalarStorage(TVariable& variable) {
    if (variable.type == vtString) return variable.value.s;
    return &variable.value;
}

class TActivation;
typedef void (TActivation::*TTokenHandler)(TToken& token);

// One entry of RunTokens: a top-level run or a function activation.
class TActivation {
public:
    TActivation(TProgram& program, bool called, uint8_t resultType)
        : program(program), called(called), resultType(resultType), frames(kControlStackFrames) {
        frames[0] = CONTROL_FRAME{0, called ? fkFunction : fkProgram, -1, -1, 0, 0, -1, -1};
    }

    void Run(int first, bool keep);

    // Token handlers, in the dispatch table below.
    void Expression(TToken& token);
    void Declaration(TToken& token);
    void Block(TToken& token);
    void If(TToken& token);
    void While(TToken& token);
    void End(TToken& token);
    void Else(TToken& token);
    void Break(TToken& token);
    void Continue(TToken& token);
    void Func(TToken& token);
    void Return(TToken& token);
    void Repeat(TToken& token);
    void Until(TToken& token);
    void Loop(TToken& token);
    void Switch(TToken& token);
    void Endcase(TToken& token);
    void For(TToken& token);
    void Nothing(TToken& token);
    void NotYetRunnable(TToken& token);

private:
    EXPRVALUE Evaluate(EXPRESSION& e);
    CONTROL_FRAME& Top() { return frames[static_cast<size_t>(depth - 1)]; }
    bool Push(int kind, int start, int end);
    void Pop() {
        if (depth > 1) --depth;
    }
    void DeleteFrameVariables(CONTROL_FRAME& frame) {
        DeleteLastVariables(frame.varCount);
        frame.varCount = 0;
    }
    void GoTo(int k) { current = k - 1; }
    void GoAfter(int k) { current = k; }
    void LeaveLoop(bool isBreak);
    void EvaluateAll(TExpressionArray& list);
    void DeclareScalar(VARDEF& definition, bool global);
    void DeclareArray(VARDEF& definition, bool global);
    void DeclareArray2(VARDEF& definition, bool global);
    void Unwind(bool keep);
    void Execute(TToken& token);

    TProgram& program;
    bool called;
    uint8_t resultType;
    std::vector<CONTROL_FRAME> frames;
    int depth = 1;
    int current = 0;
    bool finished = false;
};

// ORDER: indexed by token type.
struct TTokenRow {
    int type;
    TTokenHandler handler;
};

const TTokenRow kTokenRows[] = {
    {ttExpression, &TActivation::Expression}, {ttDeclaration, &TActivation::Declaration},
    {ttBlock, &TActivation::Block},           {ttIf, &TActivation::If},
    {ttWhile, &TActivation::While},           {ttEnd, &TActivation::End},
    {ttElse, &TActivation::Else},             {ttBreak, &TActivation::Break},
    {ttContinue, &TActivation::Continue},     {ttFunc, &TActivation::Func},
    {ttReturn, &TActivation::Return},         {ttRepeat, &TActivation::Repeat},
    {ttUntil, &TActivation::Until},           {ttLoop, &TActivation::Loop},
    {ttSwitch, &TActivation::Switch},         {ttEndcase, &TActivation::Endcase},
    {ttMessage, &TActivation::Expression},    {ttFor, &TActivation::For},
    {ttResource, &TActivation::Nothing},
};

TTokenHandler FindHandler(int type) {
    for (const TTokenRow& row : kTokenRows)
        if (row.type == type) return row.handler;
    const bool arrayStatement = type >= ttDim && type <= ttArrayAssign;
    const bool foreachStatement = type >= ttForeach && type <= ttForeachSetCount;
    const bool drawing = type >= ttDrawFirst && type <= ttDrawLast;
    if (arrayStatement || foreachStatement || drawing) return &TActivation::NotYetRunnable;
    return nullptr;
}

EXPRVALUE TActivation::Evaluate(EXPRESSION& e) {
    EXPRVALUE out;
    EvaluateExpression(Variables, e, SharedEvalStack(), out, false, &program);
    return out;
}

bool TActivation::Push(int kind, int start, int end) {
    if (depth >= kControlStackFrames) {
        runStopped = true;
        return false;
    }
    CONTROL_FRAME& frame = frames[static_cast<size_t>(depth)];
    frame.varCount = 0;
    frame.kind = kind;
    frame.start = start;
    frame.end = end;
    ++depth;
    return true;
}

void TActivation::EvaluateAll(TExpressionArray& list) {
    for (int k = 0; k < list.Count(); ++k) Evaluate(list[k]);
}

void TActivation::Expression(TToken& token) { Evaluate(token.expression); }

void TActivation::DeclareScalar(VARDEF& definition, bool global) {
    TVariable* variable = Variables.NewVar(definition.name, definition.variableType, global);
    if (variable == nullptr) return;
    ++Top().varCount;
    if (definition.hasInitialisers == 0 || definition.initialisers.Count() == 0) return;
    const EXPRVALUE value = Evaluate(definition.initialisers[0]);
    StoreValue(ScalarStorage(*variable), variable->type, value);
}

void TActivation::DeclareArray(VARDEF& definition, bool global) {
    if (Variables.NewArray(definition.name, definition.itemType, global) == nullptr) return;
    const int index = Variables.GetCount() - 1;
    ++Top().varCount;
    const int size = definition.size.count > 0 ? ValueAsInt(Evaluate(definition.size)) : 10;
    Variables.ResizeArray(index, size);
    if (definition.hasInitialisers == 0) return;
    const int n = definition.initialisers.Count();
    if (Variables.ResizeArray(index, n) == nullptr && n > 0) return;
    for (int k = 0; k < n; ++k) {
        const EXPRVALUE value = Evaluate(definition.initialisers[k]);
        StoreValue(Variables.GetArrayItem(index, k), definition.itemType, value);
    }
}

void TActivation::DeclareArray2(VARDEF& definition, bool global) {
    if (Variables.NewArray2(definition.name, definition.itemType, global) == nullptr) return;
    const int index = Variables.GetCount() - 1;
    ++Top().varCount;
    int lines = 10;
    int columns = 10;
    if (definition.lines.count > 0) {
        lines = ValueAsInt(Evaluate(definition.lines));
        columns = ValueAsInt(Evaluate(definition.columns));
    }
    Variables.ResizeArray2(index, lines, columns);
}

void TActivation::Declaration(TToken& token) {
    VARDEF* definition = token.Record<VARDEF>();
    if (definition == nullptr) return;
    const bool global = depth == 1 && !called;
    if (definition->variableType == vtArray)
        DeclareArray(*definition, global);
    else if (definition->variableType == vtArray2)
        DeclareArray2(*definition, global);
    else
        DeclareScalar(*definition, global);
}

void TActivation::Block(TToken&) { Push(fkBlock, current, -1); }

void TActivation::If(TToken& token) {
    COND_INFO* info = token.Record<COND_INFO>();
    if (info == nullptr) return;
    if (ValueIsTrue(Evaluate(info->condition))) {
        Push(fkIf, current, info->end);
    } else if (info->elseIndex < 0) {
        GoAfter(info->end);
    } else if (Push(fkIf, current, info->end)) {
        GoAfter(info->elseIndex);
    }
}

void TActivation::While(TToken& token) {
    WHILE_INFO* info = token.Record<WHILE_INFO>();
    if (info == nullptr) return;
    if (ValueIsTrue(Evaluate(info->condition)))
        Push(fkWhile, current, info->end);
    else
        GoAfter(info->end);
}

void TActivation::End(TToken&) {
    CONTROL_FRAME& frame = Top();
    DeleteFrameVariables(frame);
    TToken* opener = program.tokens[frame.start];
    switch (frame.kind) {
        case fkWhile: {
            WHILE_INFO* info = opener != nullptr ? opener->Record<WHILE_INFO>() : nullptr;
            if (info != nullptr) EvaluateAll(info->further);
            Pop();
            GoTo(frame.start);
            break;
        }
        case fkFor: {
            FOR_INFO* info = opener != nullptr ? opener->Record<FOR_INFO>() : nullptr;
            if (info != nullptr) EvaluateAll(info->steps);
            Pop();
            GoTo(frame.start);
            break;
        }
        case fkLoop:
            if (--frame.remaining > 0)
                GoAfter(frame.start);
            else
                Pop();
            break;
        case fkFunction:
            SetZeroResult(resultType);
            finished = true;
            break;
        case fkProgram: break;  // a stray end at top level closes nothing
        default: Pop(); break;
    }
}

void TActivation::Else(TToken&) { GoTo(Top().end); }

// Leaves every frame down to the innermost while, repeat or loop.
void TActivation::LeaveLoop(bool isBreak) {
    while (depth > 1 && Top().kind != fkWhile && Top().kind != fkRepeat && Top().kind != fkLoop) {
        DeleteFrameVariables(Top());
        Pop();
    }
    CONTROL_FRAME& frame = Top();
    if (frame.kind == fkLoop) {
        if (isBreak) frame.remaining = 1;
        GoTo(frame.end);
        return;
    }
    if (frame.kind != fkWhile && frame.kind != fkRepeat) return;
    DeleteFrameVariables(frame);
    TToken* opener = program.tokens[frame.start];
    if (frame.kind == fkWhile && !isBreak) {
        WHILE_INFO* info = opener != nullptr ? opener->Record<WHILE_INFO>() : nullptr;
        if (info != nullptr) EvaluateAll(info->further);
    }
    Pop();
    if (isBreak)
        GoAfter(frame.end);
    else
        GoTo(frame.start);
}

void TActivation::Break(TToken&) { LeaveLoop(true); }
void TActivation::Continue(TToken&) { LeaveLoop(false); }

void TActivation::Func(TToken& token) { GoAfter(token.value); }

void TActivation::Return(TToken& token) {
    const EXPRVALUE value = Evaluate(token.expression);
    if (!called) {
        // A return at top level ends the run.
        finished = true;
        return;
    }
    while (depth > 1) {
        DeleteFrameVariables(Top());
        Pop();
    }
    DeleteFrameVariables(Top());
    SetResult(resultType, value);
    finished = true;
}

void TActivation::Repeat(TToken& token) { Push(fkRepeat, current, token.value); }

// The condition may name the body's variables, so it is evaluated before they go.
void TActivation::Until(TToken& token) {
    COND_INFO* info = token.Record<COND_INFO>();
    CONTROL_FRAME& frame = Top();
    const bool done = info == nullptr || ValueIsTrue(Evaluate(info->condition));
    DeleteFrameVariables(frame);
    if (frame.kind == fkRepeat) Pop();
    if (!done) GoTo(info->start);
}

void TActivation::Loop(TToken& token) {
    COND_INFO* info = token.Record<COND_INFO>();
    if (info == nullptr) return;
    const int64_t passes = ValueAsInt(Evaluate(info->condition));
    if (passes <= 0) {
        GoAfter(info->end);
        return;
    }
    if (Push(fkLoop, current, info->end)) Top().remaining = static_cast<int32_t>(passes);
}

bool ValuesEqual(const EXPRVALUE& selector, const EXPRVALUE& label) {
    switch (selector.kind) {
        case ekInteger: return selector.value.integer == ValueAsInt64(label);
        case ekReal: return selector.value.real == ValueAsDouble(label);
        case ekPoint: {
            const VPOINT p = ValueAsPoint(label);
            return selector.value.point.x == p.x && selector.value.point.y == p.y;
        }
        case ekComplex: {
            const VCOMPLEX c = ValueAsComplex(label);
            return selector.value.complex.re == c.re && selector.value.complex.im == c.im;
        }
        default: return IsText(selector.kind) && ValueAsString(selector) == ValueAsString(label);
    }
}

void TActivation::Switch(TToken& token) {
    TSwitchInfo* info = token.Record<TSwitchInfo>();
    if (info == nullptr) return;
    const EXPRVALUE selector = Evaluate(info->selector);
    for (int k = 0; k < info->GetCount(); ++k) {
        TCaseInfo* label = info->Case(k);
        if (label == nullptr || label->IsDefault()) continue;
        if (!ValuesEqual(selector, Evaluate(label->label))) continue;
        if (Push(fkSwitch, current, info->end)) GoTo(label->branch);
        return;
    }
    if (info->defaultIndex < 0) {
        GoAfter(info->end);
        return;
    }
    // defaultIndex is the default branch's first token.
    if (Push(fkSwitch, current, info->end)) GoTo(info->defaultIndex);
}

void TActivation::Endcase(TToken&) { GoTo(Top().end); }

void TActivation::For(TToken& token) {
    FOR_INFO* info = token.Record<FOR_INFO>();
    if (info == nullptr) return;
    bool allTrue = true;
    for (int k = 0; k < info->conditions.Count(); ++k)
        if (!ValueIsTrue(Evaluate(info->conditions[k]))) allTrue = false;
    if (allTrue)
        Push(fkFor, current, info->end);
    else
        GoAfter(info->end);
}

void TActivation::Nothing(TToken&) {}

// Array, foreach and drawing statements have no run-time body here yet: the run ends.
void TActivation::NotYetRunnable(TToken&) { runStopped = true; }

void TActivation::Execute(TToken& token) {
    if (TTokenHandler handler = FindHandler(token.type)) {
        (this->*handler)(token);
        return;
    }
    TCustomCommand* command = GetCustomCommand(token.type);
    if (command != nullptr && command->handler != nullptr) command->handler(token.type, ccExecute, &token, &program);
}

// Every end of an activation: open frames' variables go; a kept top-level
// run moves frame 0's variables into the program.
void TActivation::Unwind(bool keep) {
    while (depth > 1) {
        DeleteFrameVariables(Top());
        Pop();
    }
    if (called) {
        DeleteFrameVariables(frames[0]);
        return;
    }
    if (!keep) return;
    program.variables.Clear();
    for (int k = 0; k < frames[0].varCount && Variables.GetCount() > 0; ++k) {
        program.variables.AddVar(*Variables.Last());
        Variables.DeleteLast(true);
    }
    frames[0].varCount = 0;
}

void TActivation::Run(int first, bool keep) {
    for (current = first; current < program.tokens.GetCount() && !finished && !runStopped; ++current) {
        if (current < 0) break;
        if (KRO_TokenFunc != nullptr) {
            bool stop = false;
            KRO_TokenFunc(program, current, frames.data(), depth, stop);
            if (stop) {
                runStopped = true;
                break;
            }
        }
        TToken* token = program.tokens[current];
        if (token != nullptr) Execute(*token);
    }
    if (called && !finished) SetZeroResult(resultType);
    Unwind(keep);
}

void RegisterScriptFunctions(TProgram& program) {
    for (int k = 0; k < program.functions.GetCount(); ++k) {
        TFunction* function = program.functions[k];
        TExtFunction* entry = new TExtFunction(function->name, function->resultType);
        for (int p = 0; p < function->GetCount(); ++p) {
            TFunctionParam* param = function->Param(p);
            entry->AddParam(param->kind, param->byReference != 0, param->variableType);
        }
        ExtFunctions().Add(entry);
    }
}

void UnregisterScriptFunctions(int count) {
    for (int k = 0; k < count && ExtFunctions().GetCount() > 0; ++k) ExtFunctions().DeleteLast(true);
}

void RunTokens(TProgram& program, int first, bool called, uint8_t resultType, bool keep) {
    if (!called) RegisterScriptFunctions(program);
    {
        TActivation activation(program, called, resultType);
        activation.Run(first, keep);
    }
    if (!called) UnregisterScriptFunctions(program.functions.GetCount());
}

// The caller's variable that an argument item came from, or -1.
int ArgumentVariable(const EXPRESSION_ITEM& argument) {
    if (argument.kind == ekArray || argument.kind == ekArray2)
        return Variables.V_Index(argument.value.variable.reference, argument.value.variable.absolute);
    return -1;
}

void CreateParameter(const TFunctionParam& param, const EXPRESSION_ITEM& argument, int source) {
    switch (param.kind) {
        case ekInteger: Variables.NewInt(param.name, false, argument.value.integer); break;
        case ekReal: Variables.NewDouble(param.name, false, argument.value.real); break;
        case ekPoint: *Variables.NewPoint(param.name, false) = argument.value.point; break;
        case ekComplex: *Variables.NewComplex(param.name, false) = argument.value.complex; break;
        case ekArray: {
            TVariable* from = Variables[source];
            if (Variables.NewArray(param.name, param.variableType, false) == nullptr) break;
            TVariable* created = Variables.Last();
            if (from == nullptr || from->type != vtArray) break;
            TVariableList::FreeArray(created->value.a);
            TVariableList::AssignArray(created->value.a, from->value.a);
            break;
        }
        case ekArray2: {
            TVariable* from = Variables[source];
            if (Variables.NewArray2(param.name, param.variableType, false) == nullptr) break;
            TVariable* created = Variables.Last();
            if (from == nullptr || from->type != vtArray2) break;
            TVariableList::FreeArray2(created->value.a2);
            TVariableList::AssignArray2(created->value.a2, from->value.a2);
            break;
        }
        default: {
            const TString* text = IsText(argument.kind) ? argument.value.text.text : nullptr;
            Variables.NewString(param.name, false, text != nullptr ? *text : TString());
            break;
        }
    }
}

void CopyBack(const TFunctionParam& param, TVariable& parameter, const EXPRESSION_ITEM& argument, int source) {
    if (param.kind == ekArray || param.kind == ekArray2) {
        TVariable* target = Variables[source];
        if (target == nullptr || target->type != parameter.type) return;
        if (target->type == vtArray) {
            TVariableList::FreeArray(target->value.a);
            TVariableList::AssignArray(target->value.a, parameter.value.a);
        } else {
            TVariableList::FreeArray2(target->value.a2);
            TVariableList::AssignArray2(target->value.a2, parameter.value.a2);
        }
        return;
    }
    if (argument.ref.index < 0) return;
    void* address = GetVarAddress(Variables, argument.ref);
    if (address == nullptr) return;
    if (param.kind == ekOwnedText || IsText(param.kind))
        *static_cast<TString*>(address) = *parameter.value.s;
    else if (param.kind == ekPoint || param.kind == ekComplex)
        std::memcpy(address, &parameter.value, 16);
    else
        std::memcpy(address, &parameter.value, 8);
}

EXPRESSION_ITEM ResultItem(uint8_t type) {
    EXPRESSION_ITEM result = MakeItem(type);
    if (IsText(type)) {
        result.kind = ekOwnedText;
        result.value.text.text = new TString(returnSlot.text);
    } else {
        std::memcpy(&result.value, &returnSlot.value, 16);
    }
    return result;
}

}  // namespace

int64_t ValueAsInt64(const EXPRVALUE& v) {
    if (v.kind == ekInteger) return v.value.integer;
    if (v.kind == ekReal) return DoubleToInt64(v.value.real);
    return 0;
}

int32_t ValueAsInt(const EXPRVALUE& v) {
    if (v.kind == ekInteger) return ClampToInt32(v.value.integer);
    if (v.kind == ekReal) return ClampToInt32(DoubleToInt64(v.value.real));
    return 0;
}

double ValueAsDouble(const EXPRVALUE& v) {
    if (v.kind == ekInteger) return static_cast<double>(v.value.integer);
    if (v.kind == ekReal) return v.value.real;
    return 0.0;
}

VPOINT ValueAsPoint(const EXPRVALUE& v) { return v.kind == ekPoint ? v.value.point : VPOINT{0, 0}; }

VCOMPLEX ValueAsComplex(const EXPRVALUE& v) { return v.kind == ekComplex ? v.value.complex : VCOMPLEX{0, 0}; }

TString ValueAsString(const EXPRVALUE& v) { return IsText(v.kind) ? v.text : TString(); }

bool ValueIsTrue(const EXPRVALUE& v) {
    if (v.kind == ekInteger) return v.value.integer != 0;
    if (v.kind == ekReal) return v.value.real != 0.0;
    return false;
}

EXPRESSION_ITEM CallScriptFunction(EXPRESSION_ITEM* arguments, int functionIndex, void* context) {
    TProgram* program = static_cast<TProgram*>(context);
    TFunction* function = program != nullptr ? program->functions[functionIndex] : nullptr;
    if (function == nullptr) return MakeIntegerItem(0);
    if (runStopped || activationDepth >= kMaxActivations) {
        runStopped = true;
        return ResultItem(function->resultType);
    }
    const int n = function->GetCount();
    std::vector<int> sources(static_cast<size_t>(n));
    for (int k = 0; k < n; ++k) sources[static_cast<size_t>(k)] = ArgumentVariable(arguments[k]);
    for (int k = 0; k < n; ++k) CreateParameter(*function->Param(k), arguments[k], sources[static_cast<size_t>(k)]);
    ++activationDepth;
    RunTokens(*program, function->entry + 1, true, function->resultType, false);
    --activationDepth;
    const int first = Variables.GetCount() - n;
    for (int k = 0; k < n && first >= 0; ++k) {
        const TFunctionParam& param = *function->Param(k);
        if (param.byReference == 0) continue;
        TVariable* parameter = Variables[first + k];
        if (parameter != nullptr) CopyBack(param, *parameter, arguments[k], sources[static_cast<size_t>(k)]);
    }
    EXPRESSION_ITEM result = ResultItem(function->resultType);
    DeleteLastVariables(n);
    return result;
}

void KRO_Run(TProgram& program, bool keep) {
    TProgram* const previousProgram = runningProgram;
    const TExtFuncHandler previousHandler = ExtFuncHandler;
    const int savedBase = Variables.GetBase();
    runningProgram = &program;
    ExtFuncHandler = CallScriptFunction;
    Variables.SetBase(Variables.GetCount());
    program.variableBase = Variables.GetCount();
    runStopped = false;
    RunTokens(program, 0, false, 0, keep);
    Variables.SetBase(savedBase);
    ExtFuncHandler = previousHandler;
    runningProgram = previousProgram;
}

bool KRO_RunWasStopped() { return runStopped; }

void KRO_ReleaseApplicationGlobals(TProgram& program) {
    DeleteLastVariables(program.globals.GetCount());
    UnregisterScriptFunctions(program.functions.GetCount());
}

TProgram* KRO_GetRunningProgram() { return runningProgram; }
