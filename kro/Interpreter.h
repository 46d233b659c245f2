// The script interpreter: KRO_Run, the control frames, the per-token hook and calls of script functions from expressions.
#pragma once

#include <cmath>
#include <cstdint>

#include "ExpressionModel.h"
#include "Program.h"
#include "ScriptCalls.h"
#include "String.h"

// One control frame, eight i32 in this order (a hook reads frame i at stack + i).
struct CONTROL_FRAME {
    int32_t varCount;   // variables that declarations inside the frame appended
    int32_t kind;       // 1 program .. 10 foreach
    int32_t start;      // token that opened the frame
    int32_t end;        // its closing token
    int32_t remaining;  // loop: passes left
    int32_t position;   // foreach: current item
    int32_t arrayVar;   // foreach: position of the array in Variables
    int32_t itemVar;    // foreach: position of the item variable
};

// Frames of one activation. Opening a frame beyond this ends the whole run
// cleanly (every open frame's variables deleted), as a hook stop does.
constexpr int kControlStackFrames = 128;

// Called before every token with the token's index, the control stack and its
// depth; setting stop ends the whole run (every activation unwinds) before
// that token executes.
typedef void (*TKRO_TokenFunc)(TProgram& program, int tokenIndex, CONTROL_FRAME* stack, int depth, bool& stop);
extern TKRO_TokenFunc KRO_TokenFunc;

// Runs the program from token 0 as a top-level run; the program's functions
// are registered in ExtFunctions during the run only. Without keep the
// top-level variables stay in Variables and the program records them; with
// keep they move into program.variables in order of declaration (the
// application globals of later host calls). Never reports an error: a
// failing expression gives Eval's error value, which conversions treat as
// 0, empty or false.
void KRO_Run(TProgram& program, bool keep);
// Deletes from Variables the variables that the program's runs without keep
// left there and that are still there; nothing else (not the host's own
// variables, not the kept globals of program.variables).
void KRO_ReleaseApplicationGlobals(TProgram& program);
// The program of the innermost run now executing, or null.
TProgram* KRO_GetRunningProgram();
// Whether the last top-level run or host call ended early (hook stop, nesting
// too deep, calls nested beyond kMaxScriptCallDepth).
bool KRO_RunWasStopped();

// ---- Shared with the call paths of script functions (ScriptCalls.cpp).

// What return and a function's closing end leave for the caller, who reads
// it before anything else runs (and may take its text).
struct TReturnSlot {
    uint8_t type = 0;
    TItemValue value{};
    TString text;
};
// (Hidden: used from this library only, without going through its symbol table.)
[[gnu::visibility("hidden")]] extern TReturnSlot returnSlot;
inline TReturnSlot& ReturnSlot() { return returnSlot; }
// One entry of the interpreter from token first. A top-level run (called
// false) registers the program's functions for its duration; an activation
// (called true) runs a function body and leaves its result in the slot.
void RunTokens(TProgram& program, int first, bool called, uint8_t resultType, bool keep);
// RunTokens for an activation (called true, keep false).
[[gnu::visibility("hidden")]] void RunFunctionBody(TProgram& program, int first, uint8_t resultType);
// KRO_RunWasStopped for this library's own calls.
[[gnu::visibility("hidden")]] extern bool runStopped;
inline bool RunIsStopped() { return runStopped; }
// Appends the program's functions to ExtFunctions in list order; removes
// count entries from its end (fewer when it holds fewer).
void RegisterScriptFunctions(TProgram& program);
void UnregisterScriptFunctions(int count);
// Ends the current run: every activation unwinds before its next token.
void StopRun();
// The program may have been changed from outside the interpreter (a new run
// or host call begins, a hook or a custom command ran): every statement is
// looked at against its token once more before it runs.
void NewStatementEpoch();
// Clears a stop; an outermost run or host call begins with it.
void ClearRunStop();
// Makes program the running one; returns the one it replaces.
TProgram* SetRunningProgram(TProgram* program);
// While a run or host call of program goes on, Variables takes Eval's fast
// forms only where the program takes them too; the list's own switch comes
// back at the end.
class TProgramFastForms {
public:
    explicit TProgramFastForms(const TProgram& program) : listSwitch(Variables.FastForms()) {
        Variables.SetFastForms(listSwitch && program.FastForms());
    }
    ~TProgramFastForms() { Variables.SetFastForms(listSwitch); }
    TProgramFastForms(const TProgramFastForms&) = delete;
    TProgramFastForms& operator=(const TProgramFastForms&) = delete;

private:
    const bool listSwitch;
};

// Value conversions of every statement. ValueAsInt64 keeps an int's 64 bits
// and truncates a double toward zero, clamped to the int64 range (NaN 0);
// ValueAsInt does the same within the int32 range (sizes, indices, counts).
// Other kinds give 0, 0.0, (0, 0) or "". ValueIsTrue: an int or double that is
// not zero by value (so -0.0 is false).
inline int64_t DoubleAsInt64(double d) {
    if (std::isnan(d)) return 0;
    if (d >= 9223372036854775807.0) return INT64_MAX;
    if (d <= -9223372036854775808.0) return INT64_MIN;
    return static_cast<int64_t>(d);
}
inline int32_t Int64AsInt32(int64_t v) {
    if (v > INT32_MAX) return INT32_MAX;
    if (v < INT32_MIN) return INT32_MIN;
    return static_cast<int32_t>(v);
}
inline int64_t ValueAsInt64(const EXPRVALUE& v) {
    if (v.kind == ekInteger) return v.value.integer;
    if (v.kind == ekReal) return DoubleAsInt64(v.value.real);
    return 0;
}
inline int32_t ValueAsInt(const EXPRVALUE& v) {
    if (v.kind == ekInteger) return Int64AsInt32(v.value.integer);
    if (v.kind == ekReal) return Int64AsInt32(DoubleAsInt64(v.value.real));
    return 0;
}
inline double ValueAsDouble(const EXPRVALUE& v) {
    if (v.kind == ekInteger) return static_cast<double>(v.value.integer);
    if (v.kind == ekReal) return v.value.real;
    return 0.0;
}
inline VPOINT ValueAsPoint(const EXPRVALUE& v) { return v.kind == ekPoint ? v.value.point : VPOINT{0, 0}; }
inline VCOMPLEX ValueAsComplex(const EXPRVALUE& v) { return v.kind == ekComplex ? v.value.complex : VCOMPLEX{0, 0}; }
TString ValueAsString(const EXPRVALUE& v);
inline bool ValueIsTrue(const EXPRVALUE& v) {
    if (v.kind == ekInteger) return v.value.integer != 0;
    if (v.kind == ekReal) return v.value.real != 0.0;
    return false;
}
// Stores v converted to type (int, double, point, complex or string) into
// that value's storage; nothing for a null target or another type.
void StoreValue(void* target, TVariableType type, const EXPRVALUE& v);
