// Built-in functions over the open-file table OpenFiles: OpenFile, CloseFile, WriteString, WriteLine, ReadLine, ReadFile (positions 48-53).
//
// File ids are the low 32 bits of the id argument. Every call holds the
// table's lock, so expressions on several threads may share the table.
// Edge rules:
// - OpenFile(name, kind, mode): kind 0 is a text file; mode 0 creates or
//   truncates it for writing, 1 reads it, 2 reads and writes it. The result
//   is the smallest free id; -1, with nothing registered, when the file
//   cannot be opened, the kind or mode is another number, or all 65536 ids
//   are taken.
// - CloseFile(id): 1 when the entry existed and was closed and removed, else 0.
// - WriteString(id, text), WriteLine(id, text): the text's bytes (WriteLine
//   adds a line feed); 1 when the id is open, else 0. Write errors are not
//   reported.
// - ReadLine(id, target): the next line, without its line feed and one
//   carriage return before it, into the target string variable; 1 when a
//   line was read, 0 at the end of the file, for an unknown id or a target
//   that is no string variable (the target then keeps its text). A line of
//   more than 1023 bytes comes in pieces of 1023 by successive calls.
// - ReadFile(id, array): the file is flushed and read again by its name,
//   one item per line (one trailing carriage return removed); the 1-D string
//   array is resized to the line count. 1 when every line was stored, 2 when
//   the array could not grow that far (the lines that fit are stored), 0 for
//   an unknown id or a file that can no longer be read (the array is then
//   unchanged).
//
// Note: the compiler evaluates each number and text argument of a call once
// to learn its kind, so one of these calls written as an argument of another
// call (not as an operand) also runs once per compilation.
#pragma once

#include "BuiltinCall.h"

TBuiltinBodyRows FileBuiltinBodies();
