// The script interpreter: runs a compiled program token by token with a stack of control frames per activation.
#include "Interpreter.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <vector>

#include "ArrayRuntime.h"
#include "ScriptMessage.h"
#include "CustomCommands.h"
#include "DecodedProgram.h"
#include "DrawingRuntime.h"
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

TReturnSlot returnSlot;
TProgram* runningProgram = nullptr;
// Set by a hook stop or a too-deep nesting: every activation unwinds.
bool runStopped = false;

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

void* ScalarStorage(TVariable& variable) {
    if (variable.type == vtString) return variable.value.s;
    return &variable.value;
}

// Control-frame stacks of finished activations, handed to the next ones so
// that a call allocates none. A stack comes back zeroed as far as it was
// used, as a new one is.
class TFrameStacks {
public:
    TFrameStacks() = default;
    TFrameStacks(const TFrameStacks&) = delete;
    TFrameStacks& operator=(const TFrameStacks&) = delete;
    ~TFrameStacks() {
        for (std::vector<CONTROL_FRAME>* frames : spare) delete frames;
    }
    std::vector<CONTROL_FRAME>& Take() {
        if (spare.empty()) return *new std::vector<CONTROL_FRAME>(kControlStackFrames);
        std::vector<CONTROL_FRAME>* frames = spare.back();
        spare.pop_back();
        return *frames;
    }
    void Give(std::vector<CONTROL_FRAME>& frames, int used) {
        std::fill(frames.begin(), frames.begin() + used, CONTROL_FRAME{});
        spare.push_back(&frames);
    }

private:
    std::vector<std::vector<CONTROL_FRAME>*> spare;
};

TFrameStacks frameStacks;

class TActivation;
typedef void (TActivation::*TTokenHandler)(const TDecodedStatement& statement);

// One entry of RunTokens: a top-level run or a function activation.
class TActivation {
public:
    TActivation(TProgram& program, bool called, uint8_t resultType)
        : program(program), called(called), resultType(resultType), frames(frameStacks.Take()) {
        frames[0] = CONTROL_FRAME{0, called ? fkFunction : fkProgram, -1, -1, 0, 0, -1, -1};
    }
    ~TActivation() { frameStacks.Give(frames, used); }
    TActivation(const TActivation&) = delete;
    TActivation& operator=(const TActivation&) = delete;

    void Run(int first, bool keep);

    // Token handlers, in the dispatch table below.
    void Expression(const TDecodedStatement& statement);
    void Declaration(const TDecodedStatement& statement);
    void Block(const TDecodedStatement& statement);
    void If(const TDecodedStatement& statement);
    void While(const TDecodedStatement& statement);
    void End(const TDecodedStatement& statement);
    void Else(const TDecodedStatement& statement);
    void Break(const TDecodedStatement& statement);
    void Continue(const TDecodedStatement& statement);
    void Func(const TDecodedStatement& statement);
    void Return(const TDecodedStatement& statement);
    void Repeat(const TDecodedStatement& statement);
    void Until(const TDecodedStatement& statement);
    void Loop(const TDecodedStatement& statement);
    void Switch(const TDecodedStatement& statement);
    void Endcase(const TDecodedStatement& statement);
    void For(const TDecodedStatement& statement);
    void Foreach(const TDecodedStatement& statement);
    void ForeachGetCount(const TDecodedStatement& statement);
    void ForeachSetCount(const TDecodedStatement& statement);
    void ArrayStatement(const TDecodedStatement& statement);
    void Message(const TDecodedStatement& statement);
    void Nothing(const TDecodedStatement& statement);
    void Drawing(const TDecodedStatement& statement) {
        RunDrawingStatement(*const_cast<TToken*>(statement.token), program);
    }

private:
    EXPRVALUE Evaluate(EXPRESSION& e);
    // The result where only its kind and value count (conditions, counts,
    // statements run for their effects).
    const EXPRVALUE& EvaluateValue(EXPRESSION& e);
    bool IsTrue(EXPRESSION& e) { return ValueIsTrue(EvaluateValue(e)); }
    CONTROL_FRAME& Top() { return frames[static_cast<size_t>(depth - 1)]; }
    bool Push(int kind, int start, int end);
    void Pop() {
        if (depth > 1) --depth;
    }
    void DeleteFrameVariables(CONTROL_FRAME& frame) {
        if (frame.varCount == 0) return;
        DeleteLastVariables(frame.varCount);
        frame.varCount = 0;
    }
    // What program.tokens[i] gives, read from the list's storage.
    TToken* TokenAt(int i) const {
        if (i < 0 || i >= program.tokens.GetCount()) return nullptr;
        return static_cast<TToken*>(static_cast<void* const*>(program.tokens.GetItems())[i]);
    }
    void Reenter(int start);
    void GoTo(int k) { current = k - 1; }
    void GoAfter(int k) { current = k; }
    void LeaveLoop(bool isBreak);
    void AdvanceForeach(CONTROL_FRAME& frame);
    CONTROL_FRAME* ForeachFrameBelow(int levels);
    void EvaluateAll(TExpressionArray& list);
    void DeclareScalar(VARDEF& definition, bool global);
    void DeclareArray(VARDEF& definition, bool global);
    void DeclareArray2(VARDEF& definition, bool global);
    void Unwind(bool keep);
    [[gnu::always_inline]] void Execute(const TDecodedStatement& statement);
    // The record of the token that opened frame, as the class T, or null.
    template <class T>
    T* OpenerInfo(const CONTROL_FRAME& frame);

    TProgram& program;
    bool called;
    uint8_t resultType;
    std::vector<CONTROL_FRAME>& frames;
    int depth = 1;
    int used = 1;  // frames written so far
    int current = 0;
    bool finished = false;
    const TDecodedProgram* decoded = nullptr;
    EXPRVALUE value;
};

// ORDER: a row's position is its handler's index in decoded statements; the
// last two rows stand for the array and the drawing statements.
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
    {ttMessage, &TActivation::Message},       {ttFor, &TActivation::For},
    {ttForeach, &TActivation::Foreach},       {ttForeachGetCount, &TActivation::ForeachGetCount},
    {ttForeachSetCount, &TActivation::ForeachSetCount},
    {ttResource, &TActivation::Nothing},
    {ttDim, &TActivation::ArrayStatement},    {ttDrawFirst, &TActivation::Drawing},
};
constexpr int kRowCount = static_cast<int>(sizeof kTokenRows / sizeof kTokenRows[0]);
constexpr int kArrayRow = kRowCount - 2;
constexpr int kDrawingRow = kRowCount - 1;

// The handler of a token type as its row in kTokenRows; -1 when none.
int HandlerOf(int type) {
    for (int k = 0; k < kArrayRow; ++k)
        if (kTokenRows[k].type == type) return k;
    if (type >= ttDim && type <= ttArrayAssign) return kArrayRow;
    if (type >= ttDrawFirst && type <= ttDrawLast) return kDrawingRow;
    return -1;
}

template <class T>
T* TActivation::OpenerInfo(const CONTROL_FRAME& frame) {
    TToken* opener = TokenAt(frame.start);
    if (const TDecodedStatement* statement = decoded->At(frame.start, opener)) return statement->Info<T>();
    return opener != nullptr ? opener->Record<T>() : nullptr;
}

EXPRVALUE TActivation::Evaluate(EXPRESSION& e) {
    EXPRVALUE out;
    EvaluateExpression(Variables, e, SharedEvalStack(), out, false, &program);
    return out;
}

const EXPRVALUE& TActivation::EvaluateValue(EXPRESSION& e) {
    EvaluateExpressionValue(Variables, e, SharedEvalStack(), value, &program);
    return value;
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
    if (depth > used) used = depth;
    return true;
}

void TActivation::EvaluateAll(TExpressionArray& list) {
    for (int k = 0; k < list.Count(); ++k) EvaluateValue(list[k]);
}

void TActivation::Expression(const TDecodedStatement& statement) {
    EvaluateValue(const_cast<TToken*>(statement.token)->expression);
}

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
    const int size = definition.size.count > 0 ? ValueAsInt(EvaluateValue(definition.size)) : 10;
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
        lines = ValueAsInt(EvaluateValue(definition.lines));
        columns = ValueAsInt(EvaluateValue(definition.columns));
    }
    Variables.ResizeArray2(index, lines, columns);
}

void TActivation::Declaration(const TDecodedStatement& statement) {
    VARDEF* definition = statement.Info<VARDEF>();
    if (definition == nullptr) return;
    const bool global = depth == 1 && !called;
    if (definition->variableType == vtArray)
        DeclareArray(*definition, global);
    else if (definition->variableType == vtArray2)
        DeclareArray2(*definition, global);
    else
        DeclareScalar(*definition, global);
}

void TActivation::Block(const TDecodedStatement&) { Push(fkBlock, current, -1); }

void TActivation::If(const TDecodedStatement& statement) {
    COND_INFO* info = statement.Info<COND_INFO>();
    if (info == nullptr) return;
    if (IsTrue(info->condition)) {
        Push(fkIf, current, info->end);
    } else if (info->elseIndex < 0) {
        GoAfter(info->end);
    } else if (Push(fkIf, current, info->end)) {
        GoAfter(info->elseIndex);
    }
}

void TActivation::While(const TDecodedStatement& statement) {
    WHILE_INFO* info = statement.Info<WHILE_INFO>();
    if (info == nullptr) return;
    if (IsTrue(info->condition))
        Push(fkWhile, current, info->end);
    else
        GoAfter(info->end);
}

void TActivation::End(const TDecodedStatement&) {
    CONTROL_FRAME& frame = Top();
    DeleteFrameVariables(frame);
    switch (frame.kind) {
        case fkWhile: {
            WHILE_INFO* info = OpenerInfo<WHILE_INFO>(frame);
            if (info != nullptr) EvaluateAll(info->further);
            Pop();
            GoTo(frame.start);
            Reenter(frame.start);
            break;
        }
        case fkFor: {
            FOR_INFO* info = OpenerInfo<FOR_INFO>(frame);
            if (info != nullptr) EvaluateAll(info->steps);
            Pop();
            GoTo(frame.start);
            Reenter(frame.start);
            break;
        }
        case fkForeach: AdvanceForeach(frame); break;
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

// A loop's opener, gone back to by its end, run at once as the next pass
// of Run would run it: when nothing watches the tokens run, the run goes on
// and the token is still the one decoded (otherwise Run takes it).
void TActivation::Reenter(int start) {
    if (KRO_TokenFunc != nullptr || finished || runStopped) return;
    const TDecodedStatement* statement = decoded->At(start, TokenAt(start));
    if (statement == nullptr) return;
    current = start;
    Execute(*statement);
}

void TActivation::Else(const TDecodedStatement&) { GoTo(Top().end); }

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
    if (frame.kind == fkWhile && !isBreak) {
        WHILE_INFO* info = OpenerInfo<WHILE_INFO>(frame);
        if (info != nullptr) EvaluateAll(info->further);
    }
    Pop();
    if (isBreak)
        GoAfter(frame.end);
    else
        GoTo(frame.start);
}

void TActivation::Break(const TDecodedStatement&) { LeaveLoop(true); }
void TActivation::Continue(const TDecodedStatement&) { LeaveLoop(false); }

void TActivation::Func(const TDecodedStatement& statement) { GoAfter(statement.token->value); }

void TActivation::Return(const TDecodedStatement& statement) {
    EXPRESSION& e = const_cast<TToken*>(statement.token)->expression;
    // The result keeps more than the value's kind and number only as text.
    EXPRVALUE text;
    const EXPRVALUE& result = called && resultType == ekOwnedText ? (text = Evaluate(e)) : EvaluateValue(e);
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
    SetResult(resultType, result);
    finished = true;
}

void TActivation::Repeat(const TDecodedStatement& statement) { Push(fkRepeat, current, statement.token->value); }

// The condition may name the body's variables, so it is evaluated before they go.
void TActivation::Until(const TDecodedStatement& statement) {
    COND_INFO* info = statement.Info<COND_INFO>();
    CONTROL_FRAME& frame = Top();
    const bool done = info == nullptr || IsTrue(info->condition);
    DeleteFrameVariables(frame);
    if (frame.kind == fkRepeat) Pop();
    if (!done) GoTo(info->start);
}

void TActivation::Loop(const TDecodedStatement& statement) {
    COND_INFO* info = statement.Info<COND_INFO>();
    if (info == nullptr) return;
    const int64_t passes = ValueAsInt(EvaluateValue(info->condition));
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

void TActivation::Switch(const TDecodedStatement& statement) {
    TSwitchInfo* info = statement.Info<TSwitchInfo>();
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

void TActivation::Endcase(const TDecodedStatement&) { GoTo(Top().end); }

void TActivation::For(const TDecodedStatement& statement) {
    FOR_INFO* info = statement.Info<FOR_INFO>();
    if (info == nullptr) return;
    bool allTrue = true;
    for (int k = 0; k < info->conditions.Count(); ++k)
        if (!IsTrue(info->conditions[k])) allTrue = false;
    if (allTrue)
        Push(fkFor, current, info->end);
    else
        GoAfter(info->end);
}

// Item position of the array into the item variable, when their types
// agree; points and complex values are copied whole.
void CopyArrayItem(const TVariable& array, int position, TVariable& item) {
    const ARRAY& a = array.value.a;
    if (a.items == nullptr || position < 0 || position >= a.count || item.type != a.itemtype) return;
    const void* source = ArrayItemAddress(a, position);
    if (item.type != vtString)
        std::memcpy(&item.value, source, static_cast<size_t>(TVariableList::GetArrayItemSize(a.itemtype)));
    else if (item.value.s != nullptr)
        *item.value.s = *static_cast<const TString*>(source);
}

void TActivation::Foreach(const TDecodedStatement& statement) {
    FOREACH_INFO* info = statement.Info<FOREACH_INFO>();
    if (info == nullptr) return;
    const int arrayVar = Variables.V_Index(info->arrayIndex, info->arrayAbsolute != 0);
    const int itemVar = Variables.V_Index(info->itemIndex, info->itemAbsolute != 0);
    const TVariable* array = Variables.GetVarOfType(arrayVar, vtArray);
    TVariable* item = Variables[itemVar];
    if (array == nullptr || item == nullptr || array->value.a.count < 1) {
        GoAfter(info->end);
        return;
    }
    if (!Push(fkForeach, current, info->end)) return;
    CONTROL_FRAME& frame = Top();
    frame.position = 0;
    frame.arrayVar = arrayVar;
    frame.itemVar = itemVar;
    CopyArrayItem(*array, 0, *item);
}

// At the loop's end: moves by the step (1 unless a number says otherwise) and
// runs the body again while the position lies inside the array as it is now.
void TActivation::AdvanceForeach(CONTROL_FRAME& frame) {
    FOREACH_INFO* info = OpenerInfo<FOREACH_INFO>(frame);
    int64_t step = 1;
    if (info != nullptr && info->step.count > 0) {
        const EXPRVALUE& value = EvaluateValue(info->step);
        if (value.kind == ekInteger || value.kind == ekReal) step = ValueAsInt(value);
    }
    const int64_t next = static_cast<int64_t>(frame.position) + step;
    const TVariable* array = Variables.GetVarOfType(frame.arrayVar, vtArray);
    TVariable* item = Variables[frame.itemVar];
    if (array == nullptr || item == nullptr || next < 0 || next >= array->value.a.count) {
        Pop();
        return;
    }
    frame.position = static_cast<int32_t>(next);
    CopyArrayItem(*array, frame.position, *item);
    GoAfter(frame.start);
}

// The foreach frame that lies levels below the innermost frame, or null.
CONTROL_FRAME* TActivation::ForeachFrameBelow(int levels) {
    if (levels < 0 || levels >= depth) return nullptr;
    CONTROL_FRAME& frame = frames[static_cast<size_t>(depth - 1 - levels)];
    return frame.kind == fkForeach ? &frame : nullptr;
}

void TActivation::ForeachGetCount(const TDecodedStatement& statement) {
    FOREACH_INFO* info = statement.Info<FOREACH_INFO>();
    CONTROL_FRAME* loop = info != nullptr ? ForeachFrameBelow(info->levels) : nullptr;
    if (loop == nullptr) return;
    TVariable* target = Variables.GetVarOfType(Variables.V_Index(info->itemIndex, info->itemAbsolute != 0), vtInt);
    if (target != nullptr) target->value.i = loop->position;
}

void TActivation::ForeachSetCount(const TDecodedStatement& statement) {
    FOREACH_INFO* info = statement.Info<FOREACH_INFO>();
    if (info == nullptr) return;
    const EXPRVALUE& value = EvaluateValue(info->step);
    CONTROL_FRAME* loop = ForeachFrameBelow(info->levels);
    if (loop != nullptr && (value.kind == ekInteger || value.kind == ekReal)) loop->position = ValueAsInt(value);
}

void TActivation::ArrayStatement(const TDecodedStatement& statement) { RunArrayStatement(program, *statement.token); }

void TActivation::Message(const TDecodedStatement& statement) {
    ShowScriptMessage(ValueAsString(Evaluate(const_cast<TToken*>(statement.token)->expression)));
}

void TActivation::Nothing(const TDecodedStatement&) {}

inline void TActivation::Execute(const TDecodedStatement& statement) {
    if (statement.handler >= 0) {
        (this->*kTokenRows[statement.handler].handler)(statement);
        return;
    }
    TToken& token = *const_cast<TToken*>(statement.token);
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
    const int count = Variables.GetCount();
    for (int k = count - frames[0].varCount; k < count; ++k)
        if (TVariable* variable = Variables[k]) AppendMovedVariable(program.variables, *variable);
    DeleteFrameVariables(frames[0]);
}

void TActivation::Run(int first, bool keep) {
    decoded = &program.Decoded(HandlerOf);
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
        TToken* token = TokenAt(current);
        if (token == nullptr) continue;
        const TDecodedStatement* statement = decoded->At(current, token);
        if (statement == nullptr) {
            // The tokens changed since they were decoded.
            decoded = &program.Decode(HandlerOf);
            statement = decoded->At(current, token);
        }
        Execute(*statement);
    }
    if (called && !finished) SetZeroResult(resultType);
    Unwind(keep);
}

}  // namespace

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

void KRO_Run(TProgram& program, bool keep) {
    TProgram* const previousProgram = runningProgram;
    const TExtFuncHandler previousHandler = ExtFuncHandler;
    const int savedBase = Variables.GetBase();
    SetupGraphics();
    runningProgram = &program;
    ExtFuncHandler = CallScriptFunction;
    Variables.SetBase(Variables.GetCount());
    program.variableBase = Variables.GetCount();
    runStopped = false;
    RunTokens(program, 0, false, 0, keep);
    // What the run left at the end of Variables, for the release.
    for (int k = program.variableBase; !keep && k < Variables.GetCount(); ++k)
        program.leftInVariables.push_back(Variables[k]);
    Variables.SetBase(savedBase);
    ExtFuncHandler = previousHandler;
    runningProgram = previousProgram;
    if (keep) RestoreGraphics();
}

bool KRO_RunWasStopped() { return runStopped; }

// A recorded variable is deleted only when the list still holds that very
// object: the host may have deleted some, and its own lie in between.
void KRO_ReleaseApplicationGlobals(TProgram& program) {
    for (auto left = program.leftInVariables.rbegin(); left != program.leftInVariables.rend(); ++left)
        for (int k = Variables.GetCount() - 1; k >= 0; --k)
            if (Variables[k] == *left) {
                Variables.Delete(k, true);
                break;
            }
    program.leftInVariables.clear();
    RestoreGraphics();
}

TProgram* KRO_GetRunningProgram() { return runningProgram; }

const TReturnSlot& ReturnSlot() { return returnSlot; }

void StopRun() { runStopped = true; }

void ClearRunStop() { runStopped = false; }

TProgram* SetRunningProgram(TProgram* program) {
    TProgram* const previous = runningProgram;
    runningProgram = program;
    return previous;
}
