// The event statement: an event bound to a script function whose parameters take the event's.
#include "EventStatements.h"

#include "Compiler.h"
#include "LineScan.h"
#include "ScriptCalls.h"
#include "Statements.h"

namespace {

// ORDER: the codes are those that hosts raise and programs store.
const struct {
    const char* name;
    int code;
} kEvents[] = {
    {"Click", 1},   {"DoubleClick", 2}, {"MouseDown", 3}, {"MouseMove", 4},
    {"MouseUp", 5}, {"KeyPress", 6},    {"Paint", 7},     {"Resize", 8},
};

int EventCodeOf(const TString& name) {
    for (const auto& event : kEvents)
        if (name == event.name) return event.code;
    return 0;
}

}  // namespace

bool CompileEvent(TString& rest, TCompileState& state, TProgram& program) {
    TStringContainer parts;
    rest.GetTokens(',', parts);
    if (parts.GetCount() != 2) return Fail(state, keBadParameterCount);
    const int code = EventCodeOf(TrimWhiteSpace(parts[0]));
    if (code == 0) return Fail(state, keUnknownEvent);
    const int function = KRO_GetFunctionIndex(program, TrimWhiteSpace(parts[1]));
    if (function < 0) return Fail(state, keUnknownEventHandler);
    TVariableList params;
    KRO_CreateEventParams(code, params);
    if (!KRO_CheckFunctionParams(program, function, params)) return Fail(state, keBadEventHandlerParameters);
    EVENT_INFO binding{code, function};
    program.events.Add(binding);
    return true;
}
