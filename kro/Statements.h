// The keyword statements' compile handlers and the helpers they share (internal to the compiler).
#pragma once

#include "CompileState.h"
#include "ExpressionModel.h"
#include "Program.h"
#include "String.h"

// Compiles the rest of a keyword's line; on failure sets state.errorCode
// (or leaves it, where the statement says) and returns false.
typedef bool (*TStatementHandler)(TString& rest, TCompileState& state, TProgram& program);

// Error codes. ORDER: shown to users by number.
enum TKroError {
    keMissingVariableName = 1,
    keBadVariableDefinition = 2,
    keBadArraySize = 3,
    keBadArrayDimension = 4,
    keMissingInitialiser = 5,
    keBadInitialiser = 6,
    keBadArrayInitialiser = 7,
    keNotInitialisable = 8,
    keMissingExpression = 9,
    keBadExpression = 10,
    keSurplusParameter = 11,
    keBreakPlace = 12,
    keContinuePlace = 13,
    keUntilPlace = 14,
    keFunctionPlace = 15,
    keBadFunctionType = 16,
    keBadFunctionDefinition = 17,
    keMissingParameterName = 18,
    keBadParameterName = 19,
    keBadParameterType = 20,
    keReturnPlace = 21,
    keCasePlace = 22,
    keCaseSyntax = 23,
    keSecondDefault = 24,
    keEndcasePlace = 25,
    keEndPlace = 26,
    keElsePlace = 27,
    keUnknownStatement = 28,
    keDeclarationPlace = 29,
    keUnknownUnit = 30,
    keDimWithoutName = 31,
    keDimNotArray = 32,
    keDimDimensions = 33,
    keBadArrayName = 34,
    keBadParameterCount = 35,
    keBadArrayType = 36,
    keConstWithoutAssignment = 37,
    keConstMissingPart = 38,
    keImportWithoutName = 39,
    keMissingResourceKind = 40,
    keUnknownResourceKind = 41,
    keMissingResourceFile = 42,
    keResourceFileNotFound = 43,
    keMissingResourceName = 44,
    keBadDialogResource = 45,
    keUnknownEvent = 46,
    keUnknownEventHandler = 47,
    keBadEventHandlerParameters = 48,
    keForParts = 49,
    keForInit = 50,
    keForCondition = 51,
    keForStep = 52,
    keForeachName = 53,
    keForeachItemType = 54,
    keForeachParts = 55,
    keForeachStep = 56,
    keForeachTarget = 57,
    keForeachPlace = 58,
};

bool Fail(TCompileState& state, int code);
// Compiles text against Variables; false when it does not compile.
bool CompileExpression(const TString& text, EXPRESSION& e);

// One value of an item type: an expression, or "{a,b}" for a point or a
// complex number; false for an empty or failing text.
bool CompileValue(const TString& text, TVariableType type, EXPRESSION& e);

// Type words: "int" "double" "point" "complex" "string"; false for others.
bool LookUpTypeWord(const TString& word, uint8_t& variableType, uint8_t& stackType);

// Declarations.
bool CompileInt(TString& rest, TCompileState& state, TProgram& program);
bool CompileDouble(TString& rest, TCompileState& state, TProgram& program);
bool CompileString(TString& rest, TCompileState& state, TProgram& program);
bool CompilePoint(TString& rest, TCompileState& state, TProgram& program);
bool CompileComplex(TString& rest, TCompileState& state, TProgram& program);
// Blocks and control flow.
bool CompileBlock(TString& rest, TCompileState& state, TProgram& program);
bool CompileIf(TString& rest, TCompileState& state, TProgram& program);
bool CompileElse(TString& rest, TCompileState& state, TProgram& program);
bool CompileWhile(TString& rest, TCompileState& state, TProgram& program);
bool CompileEnd(TString& rest, TCompileState& state, TProgram& program);
bool CompileBreak(TString& rest, TCompileState& state, TProgram& program);
bool CompileContinue(TString& rest, TCompileState& state, TProgram& program);
bool CompileRepeat(TString& rest, TCompileState& state, TProgram& program);
bool CompileUntil(TString& rest, TCompileState& state, TProgram& program);
bool CompileLoop(TString& rest, TCompileState& state, TProgram& program);
bool CompileFor(TString& rest, TCompileState& state, TProgram& program);
bool CompileSwitch(TString& rest, TCompileState& state, TProgram& program);
bool CompileCase(TString& rest, TCompileState& state, TProgram& program);
bool CompileDefault(TString& rest, TCompileState& state, TProgram& program);
bool CompileEndcase(TString& rest, TCompileState& state, TProgram& program);
bool CompileReturn(TString& rest, TCompileState& state, TProgram& program);
bool CompileMessage(TString& rest, TCompileState& state, TProgram& program);
// Functions.
bool CompileFunc(TString& rest, TCompileState& state, TProgram& program);
// Definitions.
bool CompileConst(TString& rest, TCompileState& state, TProgram& program);
bool CompileImport(TString& rest, TCompileState& state, TProgram& program);
// Reads the whole file as named, else in each directory in order (joined
// with "/" unless it ends in a slash), each time also under a name that
// differs only in case; found receives the name that opened. False when none
// opens or reads whole within 64 MiB.
bool ReadFileFromDirectories(const TString& name, const TStringContainer& directories, TMemBuffer& bytes,
                             TString& found);
bool CompileSetPixel(TString& rest, TCompileState& state, TProgram& program);
// foreach, foreach_getcount, foreach_setcount.
bool CompileForeach(TString& rest, TCompileState& state, TProgram& program);
bool CompileForeachGetCount(TString& rest, TCompileState& state, TProgram& program);
bool CompileForeachSetCount(TString& rest, TCompileState& state, TProgram& program);
