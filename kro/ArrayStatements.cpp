// The array statements' compile side: dim and a_filter .. a_assign, their checks and their payloads.
#include "ArrayStatements.h"

#include <memory>

#include "LineScan.h"
#include "Statements.h"
#include "Variables.h"

namespace {

typedef std::unique_ptr<TStatementArgs> TArgsPointer;

// The newest variable of that name, or null; position receives its place in Variables.
TVariable* FindVariable(const TString& name, int& position) {
    position = name.Length() > 0 ? Variables.GetVarIndex(name) : -1;
    return Variables[position];
}

TVariableType ItemTypeOf(const TVariable& v) {
    if (v.type == vtArray) return v.value.a.itemtype;
    if (v.type == vtArray2) return v.value.a2.itemtype;
    return vtUndefined;
}

void AddVariable(TStatementArgs& args, int position) {
    KRO_VARINFO info;
    info.index = Variables.V_Index(position);
    info.absolute = Variables[position]->absolute ? 1 : 0;
    args.variables.push_back(info);
}

// Adds the array named name when it has that type; else fails with error.
bool AddArray(TStatementArgs& args, const TString& name, TVariableType type, int error, TCompileState& state,
              TVariableType* itemType = nullptr) {
    int position = -1;
    const TVariable* v = FindVariable(name, position);
    if (v == nullptr || v->type != type) return Fail(state, error);
    AddVariable(args, position);
    if (itemType != nullptr) *itemType = ItemTypeOf(*v);
    return true;
}

bool AddExpression(TStatementArgs& args, const TString& text, TCompileState& state) {
    EXPRESSION e;
    if (!CompileExpression(text, e)) return Fail(state, keBadExpression);
    args.expressions.Add(e);
    return true;
}

bool AddExpressions(TStatementArgs& args, const TStringContainer& parts, int first, int count, TCompileState& state) {
    for (int i = first; i < first + count; ++i)
        if (!AddExpression(args, parts[i], state)) return false;
    return true;
}

bool Append(TArgsPointer args, TProgram& program) {
    TToken* token = program.tokens.AddToken(args->type);
    token->record = std::move(args);
    return true;
}

TStringContainer Split(const TString& rest) {
    TStringContainer parts;
    SplitTopLevel(rest, ',', parts);
    return parts;
}

// "array" followed by expressionCount expressions, the array 1-D.
bool CompileArrayWithExpressions(int type, int expressionCount, const TString& rest, TCompileState& state,
                                 TProgram& program) {
    const TStringContainer parts = Split(rest);
    // A statement of the array alone takes the whole rest as its name.
    if (expressionCount == 0 && parts.GetCount() != 1) return Fail(state, keBadArrayName);
    if (parts.GetCount() != 1 + expressionCount) return Fail(state, keBadParameterCount);
    TArgsPointer args = std::make_unique<TStatementArgs>(type);
    if (!AddArray(*args, parts[0], vtArray, keBadArrayName, state) ||
        !AddExpressions(*args, parts, 1, expressionCount, state))
        return false;
    return Append(std::move(args), program);
}

// "source,index,target": a line or a column of a 2-D array into a 1-D array.
bool CompileArraySlice(int type, const TString& rest, TCompileState& state, TProgram& program) {
    const TStringContainer parts = Split(rest);
    if (parts.GetCount() != 3) return Fail(state, keBadParameterCount);
    TArgsPointer args = std::make_unique<TStatementArgs>(type);
    TVariableType sourceItems = vtUndefined, targetItems = vtUndefined;
    if (!AddArray(*args, parts[0], vtArray2, keBadArrayName, state, &sourceItems) ||
        !AddArray(*args, parts[2], vtArray, keBadArrayName, state, &targetItems))
        return false;
    if (sourceItems != targetItems) return Fail(state, keBadArrayType);
    if (!AddExpression(*args, parts[1], state)) return false;
    return Append(std::move(args), program);
}

// The text between a pair of braces that encloses the whole of text.
bool InsideBraces(const TString& text, TString& inside) {
    if (text.Length() < 2 || text[0] != '{' || FindClosingBracket(text, 0) != text.Length() - 1) return false;
    inside = text.Substring(1, text.Length() - 2);
    return true;
}

}  // namespace

bool CompileDim(TString& rest, TCompileState& state, TProgram& program) {
    const TStringContainer parts = Split(rest);
    if (parts.GetCount() == 0 || parts[0].Length() == 0) return Fail(state, keDimWithoutName);
    int position = -1;
    const TVariable* v = FindVariable(parts[0], position);
    if (v == nullptr || (v->type != vtArray && v->type != vtArray2)) return Fail(state, keDimNotArray);
    const int dimensions = v->type == vtArray ? 1 : 2;
    if (parts.GetCount() != 1 + dimensions) return Fail(state, keDimDimensions);
    TArgsPointer args = std::make_unique<TStatementArgs>(dimensions == 1 ? ttDim : ttDim2);
    AddVariable(*args, position);
    if (!AddExpressions(*args, parts, 1, dimensions, state)) return false;
    return Append(std::move(args), program);
}

bool CompileArrayFilter(TString& rest, TCompileState& state, TProgram& program) {
    return CompileArrayWithExpressions(ttArrayFilter, 0, rest, state, program);
}

bool CompileArrayAdd(TString& rest, TCompileState& state, TProgram& program) {
    return CompileArrayWithExpressions(ttArrayAdd, 1, rest, state, program);
}

bool CompileArrayInsert(TString& rest, TCompileState& state, TProgram& program) {
    return CompileArrayWithExpressions(ttArrayInsert, 2, rest, state, program);
}

bool CompileArrayDelete(TString& rest, TCompileState& state, TProgram& program) {
    return CompileArrayWithExpressions(ttArrayDelete, 1, rest, state, program);
}

bool CompileArrayFill(TString& rest, TCompileState& state, TProgram& program) {
    return CompileArrayWithExpressions(ttArrayFill, 1, rest, state, program);
}

bool CompileArrayExchange(TString& rest, TCompileState& state, TProgram& program) {
    return CompileArrayWithExpressions(ttArrayExchange, 2, rest, state, program);
}

bool CompileArrayReverse(TString& rest, TCompileState& state, TProgram& program) {
    const TStringContainer parts = Split(rest);
    if (parts.GetCount() == 0) return Fail(state, keBadArrayName);
    TArgsPointer args = std::make_unique<TStatementArgs>(ttArrayReverse);
    for (int i = 0; i < parts.GetCount(); ++i)
        if (!AddArray(*args, parts[i], vtArray, keBadArrayName, state)) return false;
    return Append(std::move(args), program);
}

// Ascending unless the order is "desc".
bool CompileArraySort(TString& rest, TCompileState& state, TProgram& program) {
    const TStringContainer parts = Split(rest);
    if (parts.GetCount() != 2) return Fail(state, keBadParameterCount);
    TArgsPointer args = std::make_unique<TStatementArgs>(ttArraySort);
    if (!AddArray(*args, parts[0], vtArray, keBadArrayName, state)) return false;
    args->flag = TrimWhiteSpace(parts[1]) == "desc" ? 0 : 1;
    return Append(std::move(args), program);
}

// "source,first,last,target"; a name that is not a 1-D array fails with 19.
bool CompileArrayGetItems(TString& rest, TCompileState& state, TProgram& program) {
    const TStringContainer parts = Split(rest);
    if (parts.GetCount() != 4) return Fail(state, keBadParameterCount);
    TArgsPointer args = std::make_unique<TStatementArgs>(ttArrayGetItems);
    TVariableType sourceItems = vtUndefined, targetItems = vtUndefined;
    if (!AddArray(*args, parts[0], vtArray, keBadParameterName, state, &sourceItems) ||
        !AddArray(*args, parts[3], vtArray, keBadParameterName, state, &targetItems))
        return false;
    if (sourceItems != targetItems) return Fail(state, keBadArrayType);
    if (!AddExpressions(*args, parts, 1, 2, state)) return false;
    return Append(std::move(args), program);
}

bool CompileArrayGetLine(TString& rest, TCompileState& state, TProgram& program) {
    return CompileArraySlice(ttArrayGetLine, rest, state, program);
}

bool CompileArrayGetColumn(TString& rest, TCompileState& state, TProgram& program) {
    return CompileArraySlice(ttArrayGetColumn, rest, state, program);
}

// "array,{value,...}": the values compiled as the array's items.
bool CompileArrayAssign(TString& rest, TCompileState& state, TProgram& program) {
    const TStringContainer parts = Split(rest);
    if (parts.GetCount() != 2) return Fail(state, keBadParameterCount);
    int position = -1;
    const TVariable* v = FindVariable(parts[0], position);
    if (v == nullptr) return Fail(state, keBadArrayName);
    if (v->type != vtArray) return Fail(state, keBadArrayType);
    TString inside;
    if (!InsideBraces(parts[1], inside)) return Fail(state, keBadArrayInitialiser);
    if (inside.Length() == 0) return Fail(state, keBadArraySize);
    TArgsPointer args = std::make_unique<TStatementArgs>(ttArrayAssign);
    AddVariable(*args, position);
    const TStringContainer values = Split(inside);
    for (int i = 0; i < values.GetCount(); ++i) {
        EXPRESSION e;
        if (!CompileValue(values[i], ItemTypeOf(*v), e)) return Fail(state, keBadInitialiser);
        args->expressions.Add(e);
    }
    return Append(std::move(args), program);
}
