// The func statement: a script function's header, its parameters and its Eval ext function.
#include <cassert>
#include <string>
#include <vector>

#include "ExtensionHooks.h"
#include "LineScan.h"
#include "Statements.h"
#include "Variables.h"

namespace {

// Parameters one function may declare.
constexpr int kMaxParameters = 32;

struct TParameter {
    TString name;
    uint8_t variableType = 0;
    uint8_t stackType = 0;
    uint8_t kind = 0;  // stack type, 16 or 17
    bool byReference = false;
};

int SkipWordSpace(const TString& text, int at) {
    while (at < text.Length() && IsWordSpace(text[at])) ++at;
    return at;
}

int SkipIdentifier(const TString& text, int at) {
    while (at < text.Length() && IsIdentifierChar(text[at])) ++at;
    return at;
}

bool EndsWith(const TString& text, const char* suffix) {
    const int n = static_cast<int>(std::char_traits<char>::length(suffix));
    return text.Length() >= n && text.Right(n) == suffix;
}

// "type name", "type &name", "type name[]" or "type name[][]".
bool ParseParameter(const TString& text, TParameter& p, TCompileState& state) {
    int blank = 0;
    while (blank < text.Length() && !IsWordSpace(text[blank])) ++blank;
    if (blank == text.Length()) return Fail(state, keMissingParameterName);
    const TString typeWord = text.Left(blank);
    TString name = TrimWhiteSpace(text.Substring(blank, text.Length() - 1));
    p.kind = 0;
    if (EndsWith(name, "[][]")) {
        p.kind = ekArray2;
        name = name.Left(name.Length() - 4);
    } else if (EndsWith(name, "[]")) {
        p.kind = ekArray;
        name = name.Left(name.Length() - 2);
    }
    if (name.Length() == 0) return Fail(state, keBadParameterName);
    if (name[0] == '&') {
        p.byReference = true;
        name = TrimWhiteSpace(name.Substring(1, name.Length() - 1));
        if (name.Length() == 0) return Fail(state, keMissingParameterName);
    }
    for (int i = 0; i < name.Length(); ++i)
        if (!IsIdentifierChar(name[i])) return Fail(state, keBadParameterName);
    if (!LookUpTypeWord(typeWord, p.variableType, p.stackType)) return Fail(state, keBadParameterType);
    if (p.kind == 0) p.kind = p.stackType;
    p.name = name;
    return true;
}

// The parameter list between "(" and the closing ")" at the text's end.
bool ParseParameters(const TString& text, std::vector<TParameter>& parameters, TCompileState& state) {
    if (text.Length() == 0 || text[text.Length() - 1] != ')') return Fail(state, keBadFunctionDefinition);
    TStringContainer parts;
    text.Left(text.Length() - 1).GetTokens(',', parts);
    for (int i = 0; i < parts.GetCount(); ++i) {
        const TString part = TrimWhiteSpace(parts[i]);
        // An empty text before ")" ends the list ("()" declares none).
        if (part.Length() == 0 && i == parts.GetCount() - 1) break;
        if (static_cast<int>(parameters.size()) == kMaxParameters) return Fail(state, keBadFunctionDefinition);
        TParameter p;
        if (!ParseParameter(part, p, state)) return false;
        parameters.push_back(p);
    }
    return true;
}

void DeclareParameter(const TParameter& p, TCompileState& state) {
    if (p.kind == ekArray)
        NewArray(p.name, p.variableType, false);
    else if (p.kind == ekArray2)
        NewArray2(p.name, p.variableType, false);
    else
        NewVar(p.name, p.variableType, false);
    state.stack.Top()->variableCount++;
}

void RegisterFunction(const TString& name, uint8_t resultType, const std::vector<TParameter>& parameters, int entry,
                      TCompileState& state, TProgram& program) {
    TFunction* function = new TFunction;
    function->entry = entry;
    function->resultType = resultType;
    function->name = name;
    TExtFunction* ext = new TExtFunction(name, resultType);
    for (const TParameter& p : parameters) {
        TFunctionParam* param = function->AddParam();
        param->name = p.name;
        param->kind = p.kind;
        param->variableType = p.variableType;
        param->byReference = p.byReference ? 1 : 0;
        ext->AddParam(p.kind, p.byReference, p.variableType);
        ext->Last()->name = p.name;
    }
    program.functions.Add(function);
    ExtFunctions().Add(ext);
    state.functionCount++;
    // Eval hands the function's position in ExtFunctions to the handler,
    // which reads it as the position in the program's list.
    assert(ExtFunctions().GetCount() - 1 == program.functions.GetCount() - 1);
}

}  // namespace

bool CompileFunc(TString& rest, TCompileState& state, TProgram& program) {
    if (state.stack.GetCount() != 1) return Fail(state, keFunctionPlace);
    const TString header = TrimWhiteSpace(rest);
    int at = SkipIdentifier(header, 0);
    uint8_t variableType = 0, resultType = 0;
    if (!LookUpTypeWord(header.Left(at), variableType, resultType)) return Fail(state, keBadFunctionType);
    const int nameStart = SkipWordSpace(header, at);
    at = SkipIdentifier(header, nameStart);
    const TString name = header.Substring(nameStart, at - 1);
    at = SkipWordSpace(header, at);
    if (name.Length() == 0 || header[at] != '(' || at == header.Length() - 1)
        return Fail(state, keBadFunctionDefinition);
    std::vector<TParameter> parameters;
    if (!ParseParameters(header.Substring(at + 1, header.Length() - 1), parameters, state)) return false;

    const int entry = program.tokens.GetCount();
    state.stack.Push(bkFunc, entry);
    for (const TParameter& p : parameters) DeclareParameter(p, state);
    RegisterFunction(name, resultType, parameters, entry, state, program);
    program.tokens.AddToken(ttFunc);
    return true;
}
