// The script interpreter: runs a compiled program's decoded statements with a stack of control frames per activation.
#include "Interpreter.h"

#include <algorithm>
#include <cstring>
#include <utility>
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
TReturnSlot returnSlot;
// Set by a hook stop or a too-deep nesting: every activation unwinds.
bool runStopped = false;

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

TProgram* runningProgram = nullptr;
// Statements checked against their tokens in this epoch are run without a
// look; every new one (NewStatementEpoch) makes each statement be looked at
// once more before it runs.
uint64_t statementEpoch = 1;

uint64_t StatementEpoch() { return statementEpoch; }

bool IsText(TExpressionItemType kind) {
    return kind == ekOwnedText || kind == ekBorrowedText || kind == ekBufferedText;
}

// Scalar variables of blocks that ended, by type, kept for the declarations
// of later passes: a declaration takes one back instead of making a
// variable and its name anew (what a loop with locals in its body does on
// every pass).
class TSpareLocals {
public:
    TSpareLocals() = default;
    TSpareLocals(const TSpareLocals&) = delete;
    TSpareLocals& operator=(const TSpareLocals&) = delete;
    ~TSpareLocals() {
        for (std::vector<TVariable*>& list : spare)
            for (TVariable* v : list) delete v;
    }
    // A variable as NewVar(name, type, absolute) makes one, not yet in
    // Variables; null when none of that type is kept.
    TVariable* Take(const TString& name, TVariableType type, bool absolute) {
        if (type < vtInt || type > vtString || spare[type].empty()) return nullptr;
        TVariable* v = spare[type].back();
        spare[type].pop_back();
        if (!(v->name == name)) v->name = name;
        v->absolute = absolute;
        v->info = 0;
        if (type == vtString)
            v->value.s->Clear();
        else
            std::memset(&v->value, 0, sizeof v->value);
        v->SetOwner(&Variables);
        return v;
    }
    // Whether v, taken out of Variables, is kept: a scalar with its value's
    // storage and no listener, while there is room.
    bool Keeps(const TVariable& v) const {
        return v.type >= vtInt && v.type <= vtString && v.GetListenerCount() == 0 &&
               (v.type != vtString || v.value.s != nullptr) && spare[v.type].size() < kKept;
    }
    void Give(TVariable* v) { spare[v->type].push_back(v); }

private:
    static constexpr size_t kKept = 256;
    std::vector<TVariable*> spare[vtString + 1];
};

TSpareLocals spareLocals;

// Deletes count variables from the end of Variables (the scalars among them
// kept for later declarations).
void DeleteLastVariables(int count) {
    for (int k = 0; k < count && Variables.GetCount() > 0; ++k) {
        TVariable* last = Variables.Last();
        if (last == nullptr || !spareLocals.Keeps(*last)) {
            Variables.DeleteLast(true);
            continue;
        }
        Variables.DeleteLast(false);
        spareLocals.Give(last);
    }
}

// Zero value of a result type into the return slot.
inline void SetZeroResult(uint8_t type) {
    returnSlot.type = type;
    std::memset(&returnSlot.value, 0, sizeof returnSlot.value);
    if (!returnSlot.text.IsEmpty()) returnSlot.text.Clear();
}

// A result of any type but a number (a text is moved into the slot).
void SetOtherResult(uint8_t type, EXPRVALUE& v) {
    SetZeroResult(type);
    switch (type) {
        case ekPoint: returnSlot.value.point = ValueAsPoint(v); break;
        case ekComplex: returnSlot.value.complex = ValueAsComplex(v); break;
        case ekOwnedText:
            if (IsText(v.kind)) returnSlot.text = std::move(v.text);
            break;
        default: break;
    }
}

// A number result is written inline.
[[gnu::always_inline]] inline void SetResult(uint8_t type, EXPRVALUE& v) {
    if (type != ekInteger && type != ekReal) return SetOtherResult(type, v);
    SetZeroResult(type);
    if (type == ekInteger)
        returnSlot.value.integer = ValueAsInt64(v);
    else
        returnSlot.value.real = ValueAsDouble(v);
}

void* ScalarStorage(TVariable& variable) {
    if (variable.type == vtString) return variable.value.s;
    return &variable.value;
}

// What an activation works in: its control-frame stack. (The value its
// evaluations write stays in the activation itself: through a reference into
// the heap, the numeric loops ran at nearly half the speed.)
struct TActivationStore {
    std::vector<CONTROL_FRAME> frames = std::vector<CONTROL_FRAME>(kControlStackFrames);
};

// The stores of activations, one per level of nesting, kept for the next
// activation at that level so that a call allocates none. Activations nest,
// so they take and give back their stores in order. A frame is written
// whole when it is opened, so what a store's earlier activation left
// beyond its depth is never read.
class TActivationStores {
public:
    TActivationStores() = default;
    TActivationStores(const TActivationStores&) = delete;
    TActivationStores& operator=(const TActivationStores&) = delete;
    ~TActivationStores() {
        for (TActivationStore* store : stores) delete store;
    }
    TActivationStore& Take() {
        if (open == stores.size()) stores.push_back(new TActivationStore);
        return *stores[open++];
    }
    void Give() { --open; }

private:
    std::vector<TActivationStore*> stores;
    size_t open = 0;
};

TActivationStores activationStores;

// What the interpreter does with a token, the operation of its decoded
// statement. 0 (nothing) also stands for a missing token.
enum TStatementOperation : uint8_t {
    soNothing = 0,
    soCustom,
    soExpression,
    soDeclaration,
    soBlock,
    soIf,
    soWhile,
    soEnd,
    soElse,
    soBreak,
    soContinue,
    soFunc,
    soReturn,
    soRepeat,
    soUntil,
    soLoop,
    soSwitch,
    soEndcase,
    soMessage,
    soFor,
    soForeach,
    soForeachGetCount,
    soForeachSetCount,
    soArray,
    soDrawing,
};

struct TOperationRow {
    int type;
    TStatementOperation operation;
};

// The token types of this package with an operation of their own; the array
// statements (ttDim..ttArrayAssign) and the drawing statements
// (ttDrawFirst..ttDrawLast) follow as ranges, every other type is a custom
// command.
const TOperationRow kOperationRows[] = {
    {ttExpression, soExpression},
    {ttDeclaration, soDeclaration},
    {ttBlock, soBlock},
    {ttIf, soIf},
    {ttWhile, soWhile},
    {ttEnd, soEnd},
    {ttElse, soElse},
    {ttBreak, soBreak},
    {ttContinue, soContinue},
    {ttFunc, soFunc},
    {ttReturn, soReturn},
    {ttRepeat, soRepeat},
    {ttUntil, soUntil},
    {ttLoop, soLoop},
    {ttSwitch, soSwitch},
    {ttEndcase, soEndcase},
    {ttMessage, soMessage},
    {ttFor, soFor},
    {ttForeach, soForeach},
    {ttForeachGetCount, soForeachGetCount},
    {ttForeachSetCount, soForeachSetCount},
    {ttResource, soNothing},
};

uint8_t OperationOf(int type) {
    for (const TOperationRow& row : kOperationRows)
        if (row.type == type) return row.operation;
    if (type >= ttDim && type <= ttArrayAssign) return soArray;
    if (type >= ttDrawFirst && type <= ttDrawLast) return soDrawing;
    return soCustom;
}

// One entry of RunTokens: a top-level run or a function activation. It runs
// the program's decoded statements; a statement is looked at against its
// token only once in each statement epoch (see NewStatementEpoch).
class TActivation {
public:
    TActivation(TProgram& program, bool called, uint8_t resultType)
        : program(program),
          stack(SharedEvalStack()),
          called(called),
          resultType(resultType),
          frames(activationStores.Take().frames.data()) {
        frames[0] = CONTROL_FRAME{0, called ? fkFunction : fkProgram, -1, -1, 0, 0, -1, -1};
        ++program.runningActivations;
    }
    ~TActivation() {
        --program.runningActivations;
        activationStores.Give();
    }
    TActivation(const TActivation&) = delete;
    TActivation& operator=(const TActivation&) = delete;

    // Runs from statement first of decoding, the program's decoded form now.
    void Run(TDecodedProgram& decoding, int first, bool keep);

private:
    enum TAttention { atRun, atSkip, atEnd };
    TAttention Attend();
    bool Check(int64_t i);
    void TakeDecoding(TDecodedProgram& decoding) {
        statements = decoding.Statements();
        count = decoding.Count();
    }
    // Runs the statement; false when the activation ends with it.
    [[gnu::always_inline]] bool Execute(const TDecodedStatement& statement);

    // The statement handlers that do more than a line.
    void Declaration(const TDecodedStatement& statement);
    void If(const TDecodedStatement& statement);
    void While(const TDecodedStatement& statement);
    bool End();
    bool Return(const TDecodedStatement& statement);
    [[gnu::always_inline]] void LeaveFunction(EXPRVALUE& result);
    void Until(const TDecodedStatement& statement);
    void Loop(const TDecodedStatement& statement);
    void Switch(const TDecodedStatement& statement);
    void For(const TDecodedStatement& statement);
    bool ForConditionsHold(FOR_INFO& info);
    bool RepeatFor(CONTROL_FRAME& frame);
    int CountedPass(const TDecodedStatement& opener, FOR_INFO& info);
    void Foreach(const TDecodedStatement& statement);
    void ForeachGetCount(const TDecodedStatement& statement);
    void ForeachSetCount(const TDecodedStatement& statement);
    void Custom(const TDecodedStatement& statement);

    EXPRVALUE Evaluate(EXPRESSION& e) {
        EXPRVALUE out;
        EvaluateExpression(Variables, e, stack, out, false, &program);
        return out;
    }
    // The result where only its kind and value count (conditions, counts,
    // statements run for their effects).
    const EXPRVALUE& EvaluateValue(EXPRESSION& e) {
        EvaluateExpressionValue(Variables, e, stack, value, &program);
        return value;
    }
    bool IsTrue(EXPRESSION& e) { return ValueIsTrue(EvaluateValue(e)); }
    void EvaluateAll(TExpressionArray& list) {
        for (EXPRESSION& e : list.items) EvaluateValue(e);
    }
    CONTROL_FRAME& Top() { return frames[depth - 1]; }
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
    TToken* TokenAt(int64_t i) const {
        if (i < 0 || i >= program.tokens.GetCount()) return nullptr;
        return static_cast<TToken*>(static_cast<void* const*>(program.tokens.GetItems())[i]);
    }
    // A statement that goes to token k, or after it.
    void GoTo(int k) { current = int64_t{k} - 1; }
    void GoAfter(int k) { current = k; }
    void LeaveLoop(bool isBreak);
    void AdvanceForeach(CONTROL_FRAME& frame);
    CONTROL_FRAME* ForeachFrameBelow(int levels);
    void DeclareScalar(VARDEF& definition, bool global);
    void DeclareArray(VARDEF& definition, bool global);
    void DeclareArray2(VARDEF& definition, bool global);
    void Unwind(bool keep);
    // The record of the token that opened frame, as the class T (what its
    // decoded statement holds when the token has the opener's type), or null.
    template <class T>
    T* OpenerInfo(const CONTROL_FRAME& frame, int type);

    TProgram& program;
    TEvalStack& stack;
    const bool called;
    const uint8_t resultType;
    CONTROL_FRAME* const frames;
    int depth = 1;
    // The token running; a statement that jumps sets it to the token before
    // its target, or to the one it goes after.
    int64_t current = 0;
    bool finished = false;
    TDecodedStatement* statements = nullptr;
    int count = 0;
    EXPRVALUE value;
};

bool TActivation::Push(int kind, int start, int end) {
    if (depth >= kControlStackFrames) {
        StopRun();
        return false;
    }
    frames[depth] = CONTROL_FRAME{0, kind, start, end, 0, 0, 0, 0};
    ++depth;
    return true;
}

// Token i of the program as it is now, when there is one: its statement
// then stands for it (the program decoded again where its tokens changed)
// and is marked for this epoch where the fast forms serve (every quick
// path asks for the mark; without it the statement is looked at before
// every run). False for a missing token or one outside the list.
bool TActivation::Check(int64_t i) {
    const TToken* token = TokenAt(i);
    if (token == nullptr) return false;
    TakeDecoding(program.Decoded(OperationOf));
    if (!statements[i].StandsFor(token)) TakeDecoding(program.Decode(OperationOf));
    statements[i].checked = FastFormsOn(Variables) ? StatementEpoch() : 0;
    return true;
}

// What happens before a statement beyond running it: a stopped run ends,
// the hook is called, and a statement not looked at in this epoch is
// looked at against its token.
TActivation::TAttention TActivation::Attend() {
    if (KRO_RunWasStopped()) return atEnd;
    if (KRO_TokenFunc != nullptr) {
        bool stop = false;
        KRO_TokenFunc(program, static_cast<int>(current), frames, depth, stop);
        // The hook may have changed the program.
        NewStatementEpoch();
        if (stop) {
            StopRun();
            return atEnd;
        }
    }
    return Check(current) ? atRun : atSkip;
}

template <class T>
T* TActivation::OpenerInfo(const CONTROL_FRAME& frame, int type) {
    const int64_t i = frame.start;
    const bool checked = static_cast<uint64_t>(i) < static_cast<uint64_t>(count) &&
                         statements[i].checked == StatementEpoch();
    if (!checked && !Check(i)) return nullptr;
    const TDecodedStatement& opener = statements[i];
    return opener.type == type ? opener.Info<T>() : opener.token->Record<T>();
}

void TActivation::DeclareScalar(VARDEF& definition, bool global) {
    const TVariableType type = definition.variableType;
    TVariable* variable = spareLocals.Take(definition.name, type, global);
    if (variable != nullptr)
        Variables.Add(static_cast<TContainerItem*>(variable));
    else
        variable = Variables.NewVar(definition.name, type, global);
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

void TActivation::If(const TDecodedStatement& statement) {
    COND_INFO* info = statement.Info<COND_INFO>();
    if (info == nullptr) return;
    if (IsTrue(info->condition)) {
        Push(fkIf, static_cast<int>(current), info->end);
    } else if (info->elseIndex < 0) {
        GoAfter(info->end);
    } else if (Push(fkIf, static_cast<int>(current), info->end)) {
        GoAfter(info->elseIndex);
    }
}

void TActivation::While(const TDecodedStatement& statement) {
    WHILE_INFO* info = statement.Info<WHILE_INFO>();
    if (info == nullptr) return;
    if (IsTrue(info->condition))
        Push(fkWhile, static_cast<int>(current), info->end);
    else
        GoAfter(info->end);
}

// A loop's end goes back to its opener, which tests again.
bool TActivation::End() {
    CONTROL_FRAME& frame = Top();
    DeleteFrameVariables(frame);
    switch (frame.kind) {
        case fkWhile: {
            WHILE_INFO* info = OpenerInfo<WHILE_INFO>(frame, ttWhile);
            if (info != nullptr) EvaluateAll(info->further);
            Pop();
            GoTo(frame.start);
            break;
        }
        case fkFor: {
            if (RepeatFor(frame)) break;
            FOR_INFO* info = OpenerInfo<FOR_INFO>(frame, ttFor);
            if (info != nullptr) EvaluateAll(info->steps);
            Pop();
            GoTo(frame.start);
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
            return false;
        case fkProgram: break;  // a stray end at top level closes nothing
        default: Pop(); break;
    }
    return true;
}

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
        WHILE_INFO* info = OpenerInfo<WHILE_INFO>(frame, ttWhile);
        if (info != nullptr) EvaluateAll(info->further);
    }
    Pop();
    if (isBreak)
        GoAfter(frame.end);
    else
        GoTo(frame.start);
}

bool TActivation::Return(const TDecodedStatement& statement) {
    EXPRESSION& e = *statement.expression;
    if (!called) {
        // A return at top level ends the run.
        EvaluateValue(e);
        finished = true;
        return false;
    }
    // The result keeps more than the value's kind and number only as text.
    if (resultType == ekOwnedText) {
        EXPRVALUE text = Evaluate(e);
        LeaveFunction(text);
    } else {
        EvaluateValue(e);
        LeaveFunction(value);
    }
    return false;
}

// Every frame's variables go, and the result into the return slot.
inline void TActivation::LeaveFunction(EXPRVALUE& result) {
    while (depth > 1) {
        DeleteFrameVariables(Top());
        Pop();
    }
    DeleteFrameVariables(Top());
    SetResult(resultType, result);
    finished = true;
}

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
    if (Push(fkLoop, static_cast<int>(current), info->end)) Top().remaining = static_cast<int32_t>(passes);
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
        if (Push(fkSwitch, static_cast<int>(current), info->end)) GoTo(label->branch);
        return;
    }
    if (info->defaultIndex < 0) {
        GoAfter(info->end);
        return;
    }
    // defaultIndex is the default branch's first token.
    if (Push(fkSwitch, static_cast<int>(current), info->end)) GoTo(info->defaultIndex);
}

// Every condition is evaluated, true or not.
bool TActivation::ForConditionsHold(FOR_INFO& info) {
    bool allTrue = true;
    for (EXPRESSION& condition : info.conditions.items)
        if (!IsTrue(condition)) allTrue = false;
    return allTrue;
}

void TActivation::For(const TDecodedStatement& statement) {
    FOR_INFO* info = statement.Info<FOR_INFO>();
    if (info == nullptr) return;
    if (ForConditionsHold(*info))
        Push(fkFor, static_cast<int>(current), info->end);
    else
        GoAfter(info->end);
}

// A for loop's steps and next pass from its end, where its statement would
// run at once (no hook, looked at in this epoch): the steps as the end runs
// them, then what going back to the statement would do (pop the frame, run
// the statement, push the same frame again), without the round trip; a
// counting loop's step and test run as one counted pass where they can.
// False, nothing run, when the end and the statement must run the usual way.
bool TActivation::RepeatFor(CONTROL_FRAME& frame) {
    const int64_t i = frame.start;
    if (KRO_TokenFunc != nullptr || static_cast<uint64_t>(i) >= static_cast<uint64_t>(count)) return false;
    const TDecodedStatement& opener = statements[i];
    if (opener.checked != StatementEpoch() || opener.operation != soFor || opener.info == nullptr) return false;
    FOR_INFO& info = *opener.Info<FOR_INFO>();
    const int counted = CountedPass(opener, info);
    if (counted < 0) EvaluateAll(info.steps);
    current = i;
    if (counted >= 0 ? counted == 1 : ForConditionsHold(info)) {
        frame.end = info.end;
    } else {
        Pop();
        GoAfter(info.end);
    }
    return true;
}

// The steps and the test of a counting loop's pass run in place: 1 or 0,
// whether the test holds; -1, nothing run, where they must be evaluated.
int TActivation::CountedPass(const TDecodedStatement& opener, FOR_INFO& info) {
    if (opener.counting == nullptr || info.steps.Count() != 1 || info.conditions.Count() != 1) return -1;
    return opener.counting->Run(info.steps.items[0], info.conditions.items[0], Variables);
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
    if (!Push(fkForeach, static_cast<int>(current), info->end)) return;
    CONTROL_FRAME& frame = Top();
    frame.position = 0;
    frame.arrayVar = arrayVar;
    frame.itemVar = itemVar;
    CopyArrayItem(*array, 0, *item);
}

// At the loop's end: moves by the step (1 unless a number says otherwise) and
// runs the body again while the position lies inside the array as it is now.
void TActivation::AdvanceForeach(CONTROL_FRAME& frame) {
    FOREACH_INFO* info = OpenerInfo<FOREACH_INFO>(frame, ttForeach);
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
    CONTROL_FRAME& frame = frames[depth - 1 - levels];
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

// A host's command, which may change the program.
void TActivation::Custom(const TDecodedStatement& statement) {
    TToken& token = *const_cast<TToken*>(statement.token);
    TCustomCommand* command = GetCustomCommand(token.type);
    if (command != nullptr && command->handler != nullptr) command->handler(token.type, ccExecute, &token, &program);
    NewStatementEpoch();
}

inline bool TActivation::Execute(const TDecodedStatement& statement) {
    switch (statement.operation) {
        case soNothing: break;
        case soCustom: Custom(statement); break;
        case soExpression: EvaluateValue(*statement.expression); break;
        case soDeclaration: Declaration(statement); break;
        case soBlock: Push(fkBlock, static_cast<int>(current), -1); break;
        case soIf: If(statement); break;
        case soWhile: While(statement); break;
        case soEnd: return End();
        case soElse:
        case soEndcase: GoTo(Top().end); break;
        case soBreak: LeaveLoop(true); break;
        case soContinue: LeaveLoop(false); break;
        case soFunc: GoAfter(statement.token->value); break;
        case soReturn: return Return(statement);
        case soRepeat: Push(fkRepeat, static_cast<int>(current), statement.token->value); break;
        case soUntil: Until(statement); break;
        case soLoop: Loop(statement); break;
        case soSwitch: Switch(statement); break;
        case soMessage: ShowScriptMessage(ValueAsString(Evaluate(*statement.expression))); break;
        case soFor: For(statement); break;
        case soForeach: Foreach(statement); break;
        case soForeachGetCount: ForeachGetCount(statement); break;
        case soForeachSetCount: ForeachSetCount(statement); break;
        case soArray: RunArrayStatement(program, *statement.token); break;
        case soDrawing: RunDrawingStatement(*const_cast<TToken*>(statement.token), program); break;
        default: break;
    }
    return true;
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

// The statement loop. Before a statement the hook, a stop and a statement
// not looked at in this epoch take the slow way (Attend); otherwise the
// statement runs at once.
void TActivation::Run(TDecodedProgram& decoding, int first, bool keep) {
    TakeDecoding(decoding);
    for (current = first; static_cast<uint64_t>(current) < static_cast<uint64_t>(count); ++current) {
        const TDecodedStatement* statement = statements + current;
        if (__builtin_expect(KRO_TokenFunc != nullptr || statement->checked != StatementEpoch(), 0)) {
            const TAttention attention = Attend();
            if (attention == atEnd) break;
            if (attention == atSkip) continue;
            statement = statements + current;
        }
        if (!Execute(*statement)) break;
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

namespace {

// The return a body begins with, where it is all an activation would run:
// one of anything but a text, whose statement would run at once (no hook,
// looked at in this epoch), with no frame open and nothing declared yet;
// null when the body must run the usual way.
const TDecodedStatement* LeadingReturn(TDecodedProgram& decoding, int first, uint8_t resultType) {
    if (static_cast<unsigned>(first) >= static_cast<unsigned>(decoding.Count())) return nullptr;
    const TDecodedStatement& statement = decoding.Statements()[first];
    if (statement.operation != soReturn || statement.checked != StatementEpoch() || KRO_TokenFunc != nullptr ||
        resultType == ekOwnedText)
        return nullptr;
    return &statement;
}

// What the activation would do with that return: evaluate it and set the result.
inline void RunLeadingReturn(TProgram& program, const TDecodedStatement& statement, uint8_t resultType) {
    // Counted as an activation is: the decoded statements stay while it runs.
    ++program.runningActivations;
    EXPRVALUE value;
    EvaluateExpressionValue(Variables, *statement.expression, SharedEvalStack(), value, &program);
    SetResult(resultType, value);
    --program.runningActivations;
}

}  // namespace

void RunFunctionBody(TProgram& program, int first, uint8_t resultType) {
    TDecodedProgram& decoding = program.Decoded(OperationOf);
    if (const TDecodedStatement* leading = LeadingReturn(decoding, first, resultType))
        return RunLeadingReturn(program, *leading, resultType);
    TActivation activation(program, true, resultType);
    activation.Run(decoding, first, false);
}

void RunTokens(TProgram& program, int first, bool called, uint8_t resultType, bool keep) {
    if (!called) RegisterScriptFunctions(program);
    {
        TActivation activation(program, called, resultType);
        activation.Run(program.Decoded(OperationOf), first, keep);
    }
    if (!called) UnregisterScriptFunctions(program.functions.GetCount());
}


TString ValueAsString(const EXPRVALUE& v) { return IsText(v.kind) ? v.text : TString(); }

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
    NewStatementEpoch();
    const TProgramFastForms fastForms(program);
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

void StopRun() {
    runStopped = true;
    NewStatementEpoch();
}

void NewStatementEpoch() { ++statementEpoch; }

void ClearRunStop() { runStopped = false; }

TProgram* SetRunningProgram(TProgram* program) {
    TProgram* const previous = runningProgram;
    runningProgram = program;
    return previous;
}
