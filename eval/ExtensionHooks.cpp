// The extension registries and the evaluation of ext functions, custom functions and custom operators.
#include "ExtensionHooks.h"

#include <vector>

#include "EvaluateErrors.h"
#include "StackRoutines.h"

TExtFuncHandler ExtFuncHandler = nullptr;

namespace {

struct TCustomFuncInfo {
    int id;
    TCustomFuncHandler handler;
};
struct TCustomOperatorInfo {
    int id;
    TCustomOperatorHandler handler;
};

struct TRegistries {
    TExtFunctionList extFunctions;
    TCustomFunctionList customFunctions;
    std::vector<TCustomFuncInfo> customFunctionHandlers;
    TCustomOperatorList customOperators;
    std::vector<TCustomOperatorInfo> customOperatorHandlers;
    std::vector<TMultiFunctionHandler> multiFunctionHandlers;
};
TRegistries* registries = nullptr;

constexpr int kArgumentsAtHand = 8;

EXPRESSION_ITEM ErrorItem(int code) {
    EvaluateErrorCode = static_cast<int8_t>(code);
    return MakeItem(ekError);
}

// Code of the check of argument a against parameter p; 0 when it passes.
int CheckArgument(TVariableList& list, const EXPRESSION_ITEM& a, const TExtFuncParam& p) {
    if (p.byRef && a.ref.index == -1 && a.kind != ekArray && a.kind != ekArray2) return 20;
    switch (p.type) {
        case ekInteger:
        case ekReal:
            return IsNumberItem(a) ? 0 : 23;
        case ekArray:
        case ekArray2: {
            if (a.kind != p.type) return 23;
            const TVariable* v = list[list.V_Index(a.value.variable.reference, a.value.variable.absolute)];
            if (v == nullptr) return 26;
            const TVariableType itemtype = v->type == vtArray    ? v->value.a.itemtype
                                           : v->type == vtArray2 ? v->value.a2.itemtype
                                                                 : vtUndefined;
            return itemtype == p.varType ? 0 : 26;
        }
        case ekOwnedText:
        case ekBorrowedText:
        case ekBufferedText:
            return IsTextItem(a) ? 0 : 23;
        case ekPoint:
        case ekComplex:
            return a.kind == p.type ? 0 : 23;
        default:
            return 0;
    }
}

void PushResult(TEvalStack& stack, EXPRESSION_ITEM result) {
    result.ref.index = -1;
    stack.Push(result, false);
}

// The run pass's call itself: the arguments converted to their parameters'
// types, then the handler; the result as it is pushed.
template <typename TCall>
EXPRESSION_ITEM CallDeclared(const TExtFunction& function, EXPRESSION_ITEM* arguments, TCall call) {
    void* const* params = static_cast<void* const*>(function.GetItems());
    for (int i = 0; i < function.GetCount(); ++i) ConvertExtArgument(arguments[i], *static_cast<TExtFuncParam*>(params[i]));
    EXPRESSION_ITEM result = call(arguments);
    result.ref.index = -1;
    return result;
}

// Both passes of an ext or custom function call; function null when it no longer exists.
template <typename TCall>
void EvaluateDeclared(TVariableList& list, const TExtFunction* function, TEvalStack& stack, bool check, TCall call) {
    const int n = function != nullptr ? function->GetCount() : 0;
    if (function == nullptr || n > stack.GetCount()) {
        PushResult(stack, ErrorItem(17));
        return;
    }
    if (check) {
        for (int i = 0; i < n; ++i) {
            const int code = CheckArgument(list, *stack.Top(i), *(*function)[n - 1 - i]);
            if (code != 0) {
                PushResult(stack, ErrorItem(code));
                return;
            }
        }
        stack.Pop(n);
        EXPRESSION_ITEM placeholder = MakeItem(function->result);
        if (function->result == ekOwnedText) {
            placeholder.kind = ekBufferedText;
            placeholder.value.text.slot = stack.GetBufferedString(placeholder.value.text.text);
        }
        PushResult(stack, placeholder);
        return;
    }
    // The arguments in place for the usual few, a vector for more.
    EXPRESSION_ITEM atHand[kArgumentsAtHand + 1];
    std::vector<EXPRESSION_ITEM> more(n > kArgumentsAtHand ? static_cast<size_t>(n) + 1 : 0);
    EXPRESSION_ITEM* arguments = n > kArgumentsAtHand ? more.data() : atHand;
    for (int i = n - 1; i >= 0; --i) stack.Pop(arguments[i]);
    PushResult(stack, CallDeclared(*function, arguments, call));
    for (int i = 0; i < n; ++i) stack.ReleaseItem(arguments[i]);
}

}  // namespace

TExtFunction::TExtFunction(const TString& name, TExpressionItemType result) : name(name), result(result) {}
TExtFunction::~TExtFunction() { DeleteAll(GetOwnsItems()); }

void TExtFunction::AddParam(TExpressionItemType type, bool byRef, TVariableType varType) {
    Add(new TExtFuncParam(type, byRef, varType));
}

TExtFuncParam* TExtFunction::operator[](int i) const {
    return i >= 0 && i < GetCount() ? static_cast<TExtFuncParam*>(GetItem(i)) : nullptr;
}

TExtFuncParam* TExtFunction::Last() const { return (*this)[GetCount() - 1]; }

TExtFunctionList::~TExtFunctionList() { DeleteAll(GetOwnsItems()); }

TExtFunction* TExtFunctionList::operator[](int i) const {
    return i >= 0 && i < GetCount() ? static_cast<TExtFunction*>(GetItem(i)) : nullptr;
}

int TExtFunctionList::FindLast(const TString& name) const {
    for (int i = GetCount() - 1; i >= 0; --i)
        if ((*this)[i]->name == name) return i;
    return -1;
}

TCustomFunctionList::~TCustomFunctionList() { DeleteAll(GetOwnsItems()); }

TCustomFunction* TCustomFunctionList::operator[](int i) const {
    return i >= 0 && i < GetCount() ? static_cast<TCustomFunction*>(GetItem(i)) : nullptr;
}

TCustomFunction* TCustomFunctionList::FindLast(const TString& name) const {
    for (int i = GetCount() - 1; i >= 0; --i)
        if ((*this)[i]->name == name) return (*this)[i];
    return nullptr;
}

void TCustomFunctionList::DeleteFunctions(TStringContainer& names) {
    for (int k = 0; k < names.GetCount(); ++k)
        for (int i = GetCount() - 1; i >= 0; --i)
            if ((*this)[i]->name == names[k]) {
                Delete(i);
                break;
            }
}

TCustomOperatorList::~TCustomOperatorList() { DeleteAll(GetOwnsItems()); }

TCustomOperator* TCustomOperatorList::operator[](int i) const {
    return i >= 0 && i < GetCount() ? static_cast<TCustomOperator*>(GetItem(i)) : nullptr;
}

void TCustomOperatorList::Add(const TCustomOperator& op) { TContainer::Add(new TCustomOperator(op)); }

int TCustomOperatorList::GetIndex(int id) const {
    for (int i = 0; i < GetCount(); ++i)
        if ((*this)[i]->id == id) return i;
    return -1;
}

TCustomOperator* TCustomOperatorList::FindSymbol(const TString& symbol) const {
    for (int i = 0; i < GetCount(); ++i)
        if ((*this)[i]->symbol == symbol) return (*this)[i];
    return nullptr;
}

TExtFunctionList& ExtFunctions() { return registries->extFunctions; }
TCustomFunctionList& CustomFunctions() { return registries->customFunctions; }
TCustomOperatorList& CustomOperators() { return registries->customOperators; }

void RegisterCustomFunction(int id, TCustomFuncHandler handler) {
    registries->customFunctionHandlers.push_back({id, handler});
}
void RegisterCustomOperator(int id, TCustomOperatorHandler handler) {
    registries->customOperatorHandlers.push_back({id, handler});
}
void RegisterMultiFunctionHandler(TMultiFunctionHandler handler) {
    registries->multiFunctionHandlers.push_back(handler);
}

TCustomFunction* FindCustomFunction(int id) {
    TCustomFunctionList& functions = CustomFunctions();
    for (int i = 0; i < functions.GetCount(); ++i)
        if (functions[i]->id == id) return functions[i];
    return nullptr;
}

TCustomFuncHandler FindCustomFuncHandler(int id) {
    for (const TCustomFuncInfo& info : registries->customFunctionHandlers)
        if (info.id == id) return info.handler;
    return nullptr;
}

TCustomOperatorHandler FindCustomOperatorHandler(int id) {
    for (const TCustomOperatorInfo& info : registries->customOperatorHandlers)
        if (info.id == id) return info.handler;
    return nullptr;
}

bool RunMultiFunctionHandlers(TVariableList& list, EXPRESSION_ITEM& function, TEvalStack& stack, bool check,
                              EXPRESSION_ITEM& result) {
    for (TMultiFunctionHandler handler : registries->multiFunctionHandlers)
        if (handler != nullptr && handler(list, function, stack, check, result)) return true;
    return false;
}

EXPRESSION_ITEM ApplyCustomOperator(EXPRESSION_ITEM& left, EXPRESSION_ITEM& right, int id, bool check) {
    TCustomOperatorHandler handler = FindCustomOperatorHandler(id);
    return handler != nullptr ? handler(left, right, check) : ErrorItem(17);
}

void EvaluateExtFunction(TVariableList& list, EXPRESSION_ITEM& item, TEvalStack& stack, bool check, void* userData) {
    const int index = item.value.code.index;
    if (!check && ExtFuncHandler == nullptr) {
        const TExtFunction* function = ExtFunctions()[index];
        stack.Pop(function != nullptr ? function->GetCount() : 0);
        PushResult(stack, ErrorItem(17));
        return;
    }
    EvaluateDeclared(list, ExtFunctions()[index], stack, check,
                     [&](EXPRESSION_ITEM* arguments) { return ExtFuncHandler(arguments, index, userData); });
}

void EvaluateCustomFunction(TVariableList& list, EXPRESSION_ITEM& item, TEvalStack& stack, bool check) {
    const int id = item.value.code.index;
    const TCustomFunction* function = FindCustomFunction(id);
    const TCustomFuncHandler handler = FindCustomFuncHandler(id);
    if (!check && function != nullptr && handler == nullptr) {
        stack.Pop(function->GetCount());
        PushResult(stack, ErrorItem(17));
        return;
    }
    EvaluateDeclared(list, function, stack, check, [&](EXPRESSION_ITEM* arguments) { return handler(arguments); });
}

void CreateExtensionRegistries() { registries = new TRegistries; }

void DestroyExtensionRegistries() {
    delete registries;
    registries = nullptr;
}
