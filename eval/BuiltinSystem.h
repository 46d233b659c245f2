// Built-in functions that ask the system: file size, running a command, environment variables and the working directory (positions 80, 111, 114, 115).
//
// Note: number and text arguments are also evaluated once when an
// expression is compiled, so a call whose argument itself runs a command or
// touches a file does so once per compilation as well.
//
// Edge rules:
// - get_file_size(name): the size in bytes (64-bit); -1 when the file cannot
//   be opened or read (a folder, a missing file).
// - system(command): /bin/sh runs the command; the result is its exit status
//   when it ended normally, -1 otherwise (killed by a signal, or no shell).
// - getenv(name): the value; the empty text when the name is not set.
// - getcwd(): the working directory; the empty text when it is longer than
//   1023 characters.
#pragma once

#include "BuiltinCall.h"

TBuiltinBodyRows SystemBuiltinBodies();
