// The declaration statements int, double, string, point and complex.
#include "LineScan.h"
#include "Statements.h"
#include "Variables.h"

namespace {

// What follows a variable's name: nothing (scalar), "[]", "[][]" or sizes.
struct TDeclarator {
    TString name;
    TVariableType type = vtUndefined;  // 2..6 scalar, 7 or 8 array
    EXPRESSION size, lines, columns;   // count 0 when unsized
    TString initialiser;
    bool hasInitialiser = false;
};

void FreeDeclarator(TDeclarator& d) {
    FreeExpression(d.size);
    FreeExpression(d.lines);
    FreeExpression(d.columns);
}

EXPRESSION Unsized() {
    EXPRESSION e;
    e.count = 0;
    return e;
}

// "[" sizes "]" at text[open]; fills d and returns the position after it.
bool ParseSizes(const TString& text, int open, TDeclarator& d, int& after, TCompileState& state) {
    const int close = FindClosingBracket(text, open);
    if (close < 0) return Fail(state, keBadVariableDefinition);
    TStringContainer parts;
    SplitTopLevel(text.Substring(open + 1, close - 1), ',', parts);
    if (parts.GetCount() != 1 && parts.GetCount() != 2) return Fail(state, keBadArrayDimension);
    if (parts.GetCount() == 1) {
        d.type = vtArray;
        if (!CompileExpression(parts[0], d.size)) return Fail(state, keBadArraySize);
    } else {
        d.type = vtArray2;
        if (!CompileExpression(parts[0], d.lines) || !CompileExpression(parts[1], d.columns))
            return Fail(state, keBadArraySize);
    }
    after = close + 1;
    return true;
}

bool StartsWith(const TString& text, int at, const char* prefix) {
    for (int k = 0; prefix[k] != '\0'; ++k)
        if (text[at + k] != prefix[k]) return false;
    return true;
}

// Name, dimensions and initialiser text of one declared part.
bool ParseDeclarator(const TString& part, TVariableType declared, TDeclarator& d, TCompileState& state) {
    if (part.Length() == 0 || !IsIdentifierChar(part[0])) return Fail(state, keMissingVariableName);
    int at = 0;
    while (at < part.Length() && IsIdentifierChar(part[at])) ++at;
    d.name = part.Left(at);
    d.type = declared;
    if (StartsWith(part, at, "[][]")) {
        d.type = vtArray2;
        d.lines = Unsized();
        d.columns = Unsized();
        at += 4;
    } else if (StartsWith(part, at, "[]")) {
        d.type = vtArray;
        d.size = Unsized();
        at += 2;
    } else if (part[at] == '[' && !ParseSizes(part, at, d, at, state)) {
        return false;
    }
    if (at == part.Length()) return true;
    if (part[at] != '=') return Fail(state, keBadVariableDefinition);
    d.hasInitialiser = true;
    d.initialiser = part.Substring(at + 1, part.Length() - 1);
    return true;
}

bool IsTopLevel(const TCompileState& state) { return state.stack.GetCount() == 1; }

// Creates the variable in Variables, counts it in the open block and, at
// top level, records it in the program.
void CreateVariable(const TDeclarator& d, TVariableType itemType, TCompileState& state, TProgram& program) {
    const bool top = IsTopLevel(state);
    if (d.type == vtArray)
        NewArray(d.name, itemType, top);
    else if (d.type == vtArray2)
        NewArray2(d.name, itemType, top);
    else
        NewVar(d.name, d.type, top);
    state.stack.Top()->variableCount++;
    if (!top) return;
    program.globals += TGlobalVar(d.name, d.type, d.type >= vtArray ? itemType : 0);
    program.variables.AddVar(*Variables.Last());
}

// Removes the variable that CreateVariable made last.
void RemoveNewVariable(TCompileState& state, TProgram& program) {
    Variables.Delete(Variables.GetCount() - 1, true);
    state.stack.Top()->variableCount--;
    if (!IsTopLevel(state)) return;
    program.globals.DeleteLast(true);
    program.variables.DeleteLast(true);
}

}  // namespace

bool CompileValue(const TString& text, TVariableType type, EXPRESSION& e) {
    if (type != vtPoint && type != vtComplex) return text.Length() > 0 && CompileExpression(text, e);
    if (text.Length() < 2 || text[0] != '{' || FindClosingBracket(text, 0) != text.Length() - 1) return false;
    TStringContainer values;
    SplitTopLevel(text.Substring(1, text.Length() - 2), ',', values);
    if (values.GetCount() != 2 || values[0].Length() == 0 || values[1].Length() == 0) return false;
    const TString function = type == vtPoint ? "to_point(" : "to_complex(";
    return CompileExpression(function + values[0] + "," + values[1] + ")", e);
}

namespace {

bool CompileArrayValues(const TDeclarator& d, TVariableType itemType, VARDEF& def, TCompileState& state) {
    if (d.type == vtArray2) return Fail(state, keNotInitialisable);
    const TString& text = d.initialiser;
    if (text.Length() < 2 || text[0] != '{' || FindClosingBracket(text, 0) != text.Length() - 1)
        return Fail(state, keBadArrayInitialiser);
    if (text.Length() == 2) return Fail(state, keBadArraySize);
    TStringContainer values;
    SplitTopLevel(text.Substring(1, text.Length() - 2), ',', values);
    for (int i = 0; i < values.GetCount(); ++i) {
        EXPRESSION e;
        if (!CompileValue(values[i], itemType, e)) return Fail(state, keBadArrayInitialiser);
        def.initialisers.Add(e);
    }
    return true;
}

bool CompileInitialiser(const TDeclarator& d, TVariableType itemType, VARDEF& def, TCompileState& state,
                        TProgram& program) {
    if (d.initialiser.Length() == 0) return Fail(state, keMissingInitialiser);
    def.hasInitialisers = 1;
    if (d.type == vtArray || d.type == vtArray2) return CompileArrayValues(d, itemType, def, state);
    EXPRESSION e;
    if (CompileValue(d.initialiser, d.type, e)) {
        def.initialisers.Add(e);
        return true;
    }
    if (d.type != vtPoint && d.type != vtComplex) RemoveNewVariable(state, program);
    return Fail(state, keBadInitialiser);
}

bool DeclarePart(const TString& part, TVariableType declared, TCompileState& state, TProgram& program) {
    TDeclarator d;
    if (!ParseDeclarator(part, declared, d, state)) {
        FreeDeclarator(d);
        return false;
    }
    CreateVariable(d, declared, state, program);
    TToken* token = program.tokens.AddToken(ttDeclaration);
    VARDEF* def = new VARDEF;
    token->record.reset(def);
    def->variableType = d.type;
    def->itemType = d.type >= vtArray ? declared : 0;
    def->name = d.name;
    def->size = d.size;
    def->lines = d.lines;
    def->columns = d.columns;
    return !d.hasInitialiser || CompileInitialiser(d, declared, *def, state, program);
}

bool Declare(const TString& rest, TVariableType declared, TCompileState& state, TProgram& program) {
    if (state.stack.Top()->kind == bkSwitch) return Fail(state, keDeclarationPlace);
    TStringContainer parts;
    SplitTopLevel(rest, ',', parts);
    if (parts.GetCount() == 0) return Fail(state, keMissingVariableName);
    for (int i = 0; i < parts.GetCount(); ++i)
        if (!DeclarePart(parts[i], declared, state, program)) return false;
    return true;
}

}  // namespace

bool LookUpTypeWord(const TString& word, uint8_t& variableType, uint8_t& stackType) {
    // ORDER: type words with their variable and Eval stack types.
    static const struct {
        const char* word;
        uint8_t variableType;
        uint8_t stackType;
    } kTypeWords[] = {{"int", vtInt, ekInteger},
                      {"double", vtDouble, ekReal},
                      {"point", vtPoint, ekPoint},
                      {"complex", vtComplex, ekComplex},
                      {"string", vtString, ekOwnedText}};
    for (const auto& row : kTypeWords)
        if (word == row.word) {
            variableType = row.variableType;
            stackType = row.stackType;
            return true;
        }
    return false;
}

bool CompileInt(TString& rest, TCompileState& state, TProgram& program) { return Declare(rest, vtInt, state, program); }
bool CompileDouble(TString& rest, TCompileState& state, TProgram& program) {
    return Declare(rest, vtDouble, state, program);
}
bool CompileString(TString& rest, TCompileState& state, TProgram& program) {
    return Declare(rest, vtString, state, program);
}
bool CompilePoint(TString& rest, TCompileState& state, TProgram& program) {
    return Declare(rest, vtPoint, state, program);
}
bool CompileComplex(TString& rest, TCompileState& state, TProgram& program) {
    return Declare(rest, vtComplex, state, program);
}
