// Built-in functions on tokens (pieces cut by one separator character) and words (runs of characters outside a separator set) (positions 78, 90, 95-100, 105-108, 112, 116, 127, 134, 143, 150, 151).
//
// Edge rules: a separator argument gives its first character; an empty one
// means '|' (tokenize: ','); strntok takes it only from a text held as
// owned or borrowed (kinds 18, 19), so a computed separator means '|'.
// Indices are signed 32-bit values; where a function counts from the end,
// -1 is the last item. A token starting at the end of the text is missing
// (see LocateToken), so an empty last token is never replaced or removed.
// - str_tokn, xctok, str_word, strgetword: a missing item gives "".
// - str_token_pos, str_word_pos(_sep): a missing item gives the length.
// - str_set_token, str_set_word, strntok: a missing item gives a copy; a
//   negative index counts from the end for str_set_token, never matches for
//   str_set_word and strntok.
// - str_tok2 swaps i and j when j < i; i = j gives token, separator, token.
//   str_tok3 sorts its indices and drops duplicates. A negative index in the
//   two- and three-token functions is a missing token, which reads as "".
// - str_tok_xchg: j < i swaps the indices; i = j or a missing token gives a
//   copy.
// - str_word, str_word_pos, str_set_word, strw2t, str_word_count and
//   strgetword cut words at the 32 fixed separators; the _sep variants at the
//   characters of their separator argument ("[:digit:]" etc. expanded),
//   which become the stack's word separators.
// - str_gettokens and str_token_count count the tokens a walk visits: an
//   empty text has none and a final empty token is not counted.
// - tokenize stores by the array's item type: integers parsed whole (0 when
//   not a number), reals read with "%lf" (an unreadable token leaves the
//   item), texts as they are; other item types are left alone.
#pragma once

#include "BuiltinCall.h"

TBuiltinBodyRows TokenBuiltinBodies();
