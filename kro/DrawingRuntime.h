// The drawing statements at run time: the drawing state kept around the output device context, and the GDI calls.
#pragma once

#include "Program.h"
#include "Token.h"
#include "Win32Types.h"

// The device context that scripts draw on; the host sets it before a run
// (for example the DC of a window being painted). Null draws nothing.
extern HDC KRO_OutDC;

// Takes KRO_OutDC as the drawing DC; nothing else changes. A host calls it
// when it hands over another device context between calls.
void KRO_InitGraph();

// Sets the drawing state up on KRO_OutDC (transparent background, a black
// pen and brush of the package, a 12-high Arial font), keeping what it
// replaces. Does nothing when already set up (the drawing DC and the chosen
// pen, brush and font stay), and nothing (the state stays not set up) while
// KRO_OutDC is null.
void SetupGraphics();
// Puts back the background mode, pen, brush and font that the set-up
// replaced and deletes the package's own; nothing when not set up. Deletes
// each of the package's objects exactly once.
void RestoreGraphics();
// Whether the drawing state is set up.
bool GraphicsAreSetUp();

// Runs a drawing token (types 101 to 116) of program. Arguments come from the
// token's expressions; a token whose arguments are missing or of the wrong
// kinds draws with zero values, and one without its record does nothing. The
// pen, brush and font statements set the state up first when it is not.
void RunDrawingStatement(TToken& token, TProgram& program);
