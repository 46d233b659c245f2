// Evaluation error codes, the per-thread error code and position, and the English error texts.
#pragma once

#include <cstdint>

// ORDER: the codes are shown to users and tested by hosts.
enum TEvaluateError : int8_t {
    eeConstantPlace = 0,
    eeVariablePlace = 1,
    eeLeftParenthesisPlace = 2,
    eeLeftBracketPlace = 3,
    eeOperatorPlace = 4,
    eeFirstOperandMissing = 5,
    eeUnaryOperatorPlace = 6,
    eeRightParenthesisPlace = 7,
    eeRightBracketPlace = 8,
    eeArgumentCount = 9,
    eeLeftParenthesisMissing = 10,
    eeUnknownError = 11,
    eeLeftBracketMissing = 12,
    eeCommaPlace = 13,
    eeFunctionNamePlace = 14,
    eeStringConstantPlace = 15,
    eeFieldNamePlace = 16,
    eeUnknownSymbol = 17,
    eeUnclosedExpression = 18,
    eeSymbolTooLong = 19,
    eeMissingVariable = 20,
    eeWrongOperand = 21,
    eeTooFewArguments = 22,
    eeWrongArgumentType = 23,
    eeWrongStructureType = 24,
    eeWrongArrayIndex = 25,
    eeWrongArrayItemType = 26,
    eeWrongStruct = 27,
    eeArrayMissing = 28,
    eeArrayDimension = 29,
};

// Code of the last failure on this thread; nothing resets it after a success.
extern thread_local int8_t EvaluateErrorCode;
// Position of the failing token in the blank-free text of this thread's last
// compilation; set only by token errors.
extern thread_local int EvaluateErrorPos;

// Text of a code: -1 gives the text of this thread's EvaluateErrorCode; 0..29
// their texts; 11 and every other value "Unkown error". Never null.
const char* EvaluateErrorMessage(int code);
