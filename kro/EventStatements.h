// The event statement's compile handler: binding an event to a script function compiled before it.
#pragma once

#include "CompileState.h"
#include "Program.h"
#include "String.h"

// "event,function": appends {event code, index of the first function of that
// name} to the program's events. Fails (state.errorCode set, nothing
// appended) with 35 for other than two parts, 46 for an unknown event, 47
// when no function of that name was compiled before the line, 48 when the
// function's parameters do not take the event's parameters.
bool CompileEvent(TString& rest, TCompileState& state, TProgram& program);
