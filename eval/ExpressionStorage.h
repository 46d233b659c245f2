// The stored form of compiled expressions, FILE and memory-buffer media: writing, and reading with validation.
#pragma once

#include <cstdio>

#include "ExpressionModel.h"
#include "MemBuffer.h"

// Stream of one expression: i32 count (-1 = not compiled, nothing follows),
// then per item a 48-byte image (kind byte, 7 zero bytes, the 16-byte value
// laid out by kind, the 16-byte ref, i32 listCount, 4 zero bytes), for a
// string constant its text in the TString form, for a sub-expression the
// nested stream, then i32 n and n list integers. Both media carry the same
// bytes. Pointer fields and padding are written as zeros and ignored on reading.
void SaveExpression(FILE* file, const EXPRESSION& e);
void WriteExpression(TMemBuffer& buffer, const EXPRESSION& e);

// Readers. Whatever does not form a sound compiled expression (a short or
// damaged stream, an unknown kind, an index outside its table, a bad flag or
// list, nesting deeper than kMaxStoredNesting, operands missing on the
// simulated stack) gives count -1 and items null, with nothing leaked. A
// failed memory read leaves the read position where it was; a failed FILE
// read leaves the file wherever the damage was found.
EXPRESSION LoadExpression(FILE* file);
EXPRESSION ReadExpression(TMemBuffer& buffer);
// The same into e, whose previous content is not freed (free it first);
// true when the stream held a compiled expression or a stored not-compiled
// one (count -1), false on damage.
bool LoadExpression(EXPRESSION& e, FILE* file);
bool ReadExpression(EXPRESSION& e, TMemBuffer& buffer);

// Deepest nesting of sub-expressions a reader accepts.
constexpr int kMaxStoredNesting = 32;
