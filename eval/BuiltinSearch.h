// Built-in functions that search text and test it: positions of occurrences, counts, prefixes, whole words, letter case and time stamps (positions 82, 101, 117-121, 128-130, 133, 135, 136).
//
// Edge rules: positions are 0-based; number arguments are read as integers
// (reals truncated) and used as signed 32-bit values.
// - str_npos(s, t, n): occurrence n of t (non-overlapping, from 0; -1 the
//   last); the length of s when there are fewer. An empty t is found at once:
//   0 for n >= 0, the length for n < 0.
// - nstrpos / nstrendpos(s, from, t, n): -1 unless 0 <= from < length and
//   n >= 0 and n+1 occurrences exist at or after from; an empty t is found at
//   from (so nstrendpos gives from-1).
// - strendpos: -1 when t does not occur (an empty t gives -1 as well).
// - isof of an empty s gives 1; str_begins / str_ends with t longer than s
//   give 0.
// - strwcont: whole words by the 32 fixed separators; an empty word gives 0.
// - time_cmp compares the numeric fields cut at '.' and ':' over the smaller
//   field count; a field that is not a whole number counts as 0.
#pragma once

#include "BuiltinCall.h"

TBuiltinBodyRows SearchBuiltinBodies();
