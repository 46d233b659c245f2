// Evaluation error codes: the per-thread code and position and the texts of the codes.
#include "EvaluateErrors.h"

thread_local int8_t EvaluateErrorCode = 0;
thread_local int EvaluateErrorPos = 0;

namespace {

const char* const kUnknownError = "Unkown error";

// ORDER: indexed by TEvaluateError; code 11 has no text of its own.
const char* const kErrorTexts[] = {
    "Constant at wrong place",
    "Variable at wrong place",
    "Left parenthesis at wrong place",
    "Left square-bracket at wrong place",
    "Operator at wrong place",
    "The first operand of the operator is missing",
    "One-operand operator at wrong place",
    "Right parenthesis at wrong place",
    "Right square-bracket at wrong place",
    "Wrong number of arguments",
    "Left parenthesis is missing",
    kUnknownError,
    "Left square-bracket is missing",
    "Comma at wrong place",
    "Function name at wrong place",
    "String constant at wrong place",
    "Field name at wrong place",
    "Unknown symbol",
    "Unclosed expression",
    "Symbol length is too long",
    "Missing variable (reference)",
    "Wrong operand",
    "Too few arguments",
    "Wrong argument type",
    "Wrong type of structure",
    "Wrong array index",
    "Wrong array itemtype",
    "Wrong struct",
    "The array doesn't exist",
    "The array dimension is wrong",
};
constexpr int kErrorTextCount = static_cast<int>(sizeof kErrorTexts / sizeof kErrorTexts[0]);

}  // namespace

const char* EvaluateErrorMessage(int code) {
    if (code == -1) code = EvaluateErrorCode;
    return code >= 0 && code < kErrorTextCount ? kErrorTexts[code] : kUnknownError;
}
