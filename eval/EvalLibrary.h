// Start-up and shut-down of the eval library: its process-wide objects in order.
#pragma once

// Creates the library's process-wide objects (the default list Variables,
// the shared evaluation stack, the open-file table) and plugs the operators
// and simple functions into the evaluation loop;
// runs once when the library is loaded, and calling it again does nothing.
void EvalInitialise();
// Destroys them in reverse order; runs when the library is unloaded.
void EvalFinalise();
