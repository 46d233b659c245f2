// Extension registries: ext functions, custom functions and operators, their handlers, added built-ins, and how the
// evaluation loop calls them.
#pragma once

#include <cstdint>
#include <new>
#include <type_traits>

#include "Container.h"
#include "EvalStack.h"
#include "ExpressionModel.h"
#include "FunctionTable.h"
#include "StringContainer.h"
#include "Variables.h"

// One declared parameter: its item type, the item type of an array
// parameter, whether it takes a variable by reference.
class TExtFuncParam : public TContainerItem {
public:
    TExtFuncParam(TExpressionItemType type, bool byRef, TVariableType varType)
        : type(type), varType(varType), byRef(byRef) {}
    TExpressionItemType type;
    TVariableType varType;
    bool byRef;
    TString name;
};

// A function declared by name and parameters; all ext functions share one handler.
class TExtFunction : public TContainer {
public:
    TExtFunction(const TString& name, TExpressionItemType result);
    ~TExtFunction() override;
    void AddParam(TExpressionItemType type, bool byRef, TVariableType varType);
    // Null outside 0..count-1; Last null for no parameters.
    TExtFuncParam* operator[](int i) const;
    TExtFuncParam* Last() const;

    TString name;
    TExpressionItemType result;
};

class TCustomFunction : public TExtFunction {
public:
    TCustomFunction(const TString& name, TExpressionItemType result, int id) : TExtFunction(name, result), id(id) {}
    int32_t id;
};

class TExtFunctionList : public TContainer {
public:
    ~TExtFunctionList() override;
    // Null outside 0..count-1.
    TExtFunction* operator[](int i) const;
    // Position of the last function of that name (later ones hide earlier); -1 if none.
    int FindLast(const TString& name) const;
};

class TCustomFunctionList : public TContainer {
public:
    ~TCustomFunctionList() override;
    TCustomFunction* operator[](int i) const;
    // The last function of that name, or null.
    TCustomFunction* FindLast(const TString& name) const;
    // For each name in order, deletes the last function of that name; names
    // that no function has are skipped.
    void DeleteFunctions(TStringContainer& names);
};

// Handlers. Arguments arrive as an array, element 0 the first argument.
typedef EXPRESSION_ITEM (*TExtFuncHandler)(EXPRESSION_ITEM* arguments, int functionIndex, void* userData);
typedef EXPRESSION_ITEM (*TCustomFuncHandler)(EXPRESSION_ITEM* arguments);
typedef EXPRESSION_ITEM (*TCustomOperatorHandler)(EXPRESSION_ITEM& left, EXPRESSION_ITEM& right, bool check);
typedef bool (*TMultiFunctionHandler)(TVariableList& list, EXPRESSION_ITEM& function, TEvalStack& stack, bool check,
                                      EXPRESSION_ITEM& result);

// A custom operator: its symbol ranks by level and, when right is set, a run
// of it groups from the right, as built-in operators do.
class TCustomOperator : public TContainerItem {
public:
    TCustomOperator() = default;
    TCustomOperator(int id, int level, bool right, const TString& symbol)
        : id(id), level(level), right(right), symbol(symbol) {}
    int32_t id = 0;
    int32_t level = 0;
    bool right = false;
    TString symbol;
};

class TCustomOperatorList : public TContainer {
public:
    ~TCustomOperatorList() override;
    TCustomOperator* operator[](int i) const;
    // Appends a copy of op.
    void Add(const TCustomOperator& op);
    // Index of the first operator with that id, or -1.
    int GetIndex(int id) const;
    // The first operator with that symbol (exact), or null.
    TCustomOperator* FindSymbol(const TString& symbol) const;
};

// The process-wide registries, empty at load; filled at start-up, read-only after.
TExtFunctionList& ExtFunctions();
TCustomFunctionList& CustomFunctions();
TCustomOperatorList& CustomOperators();
// Null until the script package sets it; then ext function calls run through it.
extern TExtFuncHandler ExtFuncHandler;

// Several records may carry one id; lookups take the first.
void RegisterCustomFunction(int id, TCustomFuncHandler handler);
void RegisterCustomOperator(int id, TCustomOperatorHandler handler);
void RegisterMultiFunctionHandler(TMultiFunctionHandler handler);

// The first custom function with that id, or null.
TCustomFunction* FindCustomFunction(int id);
// The handler first registered under id, or null.
TCustomFuncHandler FindCustomFuncHandler(int id);
TCustomOperatorHandler FindCustomOperatorHandler(int id);

// Calls the multi-function handlers in order until one returns true.
bool RunMultiFunctionHandlers(TVariableList& list, EXPRESSION_ITEM& function, TEvalStack& stack, bool check,
                              EXPRESSION_ITEM& result);

// The handler of id with (left, right, check); no handler (or a null one)
// gives kind 255 with code 17.
EXPRESSION_ITEM ApplyCustomOperator(EXPRESSION_ITEM& left, EXPRESSION_ITEM& right, int id, bool check);
// Calls of ext (kind 25) and custom (kind 26) function items: the check pass
// tests the arguments (codes 20, 23, 26) and pushes a placeholder of the
// result type; the run pass converts number arguments to the parameter's
// type and pushes the handler's result. A missing function or handler gives
// kind 255 with code 17 instead of a call. Text parameters (18, 19, 20)
// accept any text kind.
void EvaluateExtFunction(TVariableList& list, EXPRESSION_ITEM& item, TEvalStack& stack, bool check, void* userData);
// The run pass of an ext function call whose count arguments (numbers and
// other items that own nothing) the caller holds: what EvaluateExtFunction
// pushes, without the stack. False, nothing called, when there is no handler
// or the function is missing or takes another count.
inline bool CallExtFunctionDirectly(int index, EXPRESSION_ITEM* arguments, int count, void* userData,
                                    EXPRESSION_ITEM& result);
void EvaluateCustomFunction(TVariableList& list, EXPRESSION_ITEM& item, TEvalStack& stack, bool check);

void CreateExtensionRegistries();
void DestroyExtensionRegistries();

// A number argument converted to its parameter's type, as the run pass does
// (a real to an integer toward zero, NaN and values beyond +-9.2e18 as 0).
inline void ConvertExtArgument(EXPRESSION_ITEM& a, const TExtFuncParam& p) {
    if (p.type == ekReal && a.kind == ekInteger) {
        a.value.real = static_cast<double>(a.value.integer);
        a.kind = ekReal;
    } else if (p.type == ekInteger && a.kind == ekReal) {
        const double value = a.value.real;
        a.value.integer = value != value || value >= 9.2e18 || value <= -9.2e18 ? 0 : static_cast<int64_t>(value);
        a.kind = ekInteger;
    }
}

static_assert(std::is_trivially_destructible<EXPRESSION_ITEM>::value, "a result is built over the old one");

// Read from the lists' storage at once.
inline bool CallExtFunctionDirectly(int index, EXPRESSION_ITEM* arguments, int count, void* userData,
                                    EXPRESSION_ITEM& result) {
    const TExtFunctionList& functions = ExtFunctions();
    const TExtFuncHandler handler = ExtFuncHandler;
    if (handler == nullptr || static_cast<unsigned>(index) >= static_cast<unsigned>(functions.GetCount()))
        return false;
    const TExtFunction* function = static_cast<const TExtFunction*>(functions.PointerItems()[index]);
    if (function == nullptr || function->GetCount() != count) return false;
    void* const* params = function->PointerItems();
    for (int i = 0; i < count; ++i) ConvertExtArgument(arguments[i], *static_cast<const TExtFuncParam*>(params[i]));
    // Built in place: the handler's record is not copied through a temporary.
    new (&result) EXPRESSION_ITEM(handler(arguments, index, userData));
    result.ref.index = -1;
    return true;
}
