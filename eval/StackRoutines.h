// Shared operand routines of the operators and built-ins: kind tests, number conversions, token and word scanners, number-base text.
#pragma once

#include <cstdint>

#include "EvalStack.h"
#include "ExpressionModel.h"
#include "String.h"

// Kinds 18, 19, 20.
bool IsTextKind(TExpressionItemType kind);
bool IsTextItem(const EXPRESSION_ITEM& item);
// The test on stack.Top(i); false outside the stack.
bool IsTextOnTop(TEvalStack& stack, int i);
// Kinds 1 and 3.
bool IsNumberItem(const EXPRESSION_ITEM& item);
// Integer with 2, real with 3, point with 4, complex with 5, any text with 6.
bool MatchesArrayItemType(TExpressionItemType kind, TVariableType itemtype);

// A real truncated toward zero, then its low 32 bits sign-extended (the value
// modulo 2^32, as for any size); NaN and infinities give 0.
int32_t TruncateToInt32(double value);
// Integer operands unchanged; reals as TruncateToInt32.
int64_t ItemAsInt(const EXPRESSION_ITEM& item);
// Real operands unchanged; integers converted.
double ItemAsReal(const EXPRESSION_ITEM& item);

// Token n (from 0) of text cut at separator: start after the n-th separator
// (the text's end when there are fewer), end at the next separator at or
// after start or the text's end. A null text gives 0, 0.
void FindToken(const char* text, int n, char separator, int& start, int& end);
// Continues from the end `from` of token `previous` to token `wanted`; at the
// text's end both positions are `from`. A wanted index not after previous is
// searched from the start of the text.
void FindNextToken(const char* text, int previous, int wanted, char separator, int from, int& start, int& end);
// Tokens i and j (j after i).
void FindTokenPair(const char* text, int i, int j, char separator, int& start1, int& end1, int& start2, int& end2);
// Start and end of the n tokens with increasing indices, into positions[2k], positions[2k+1].
void FindTokens(const char* text, const int* indices, int n, char separator, int* positions);

// Calls callback(token, stop, context) for each piece between separators, in
// order; stops when the callback sets stop. A null text calls nothing.
typedef void (*TTokenCallback)(const TString& token, bool& stop, void* context);
void ForEachToken(const char* text, char separator, TTokenCallback callback, void* context);
// Walks text: a separator character (by flags) calls separatorCallback with
// its position (when given); a run of other characters calls wordCallback
// with the word. Stops when a callback sets stop.
typedef void (*TWordCallback)(const TString& word, bool& stop, void* context);
typedef void (*TSeparatorCallback)(int position, bool& stop, void* context);
void ForEachWord(const char* text, const bool* separatorFlags, TWordCallback wordCallback, void* wordContext,
                 TSeparatorCallback separatorCallback, void* separatorContext);

// Whether word occurs in text with a separator of the stack's fixed set or
// the text's boundary on both sides. Null text or empty word gives false.
bool ContainsWord(const TEvalStack& stack, const char* text, const char* word);

// value in base (2..); digits 0-9, a-z and on past z for digits from 36; a
// negative value gets a leading minus. 0 gives "" and a base below 2 gives "".
TString IntToBaseText(int64_t value, int base);

// result's text becomes a copy of Top(1)'s text, then callback(result text,
// c) runs for each character c of Top(0)'s text. The result must be a text
// item with a writable text; non-text operands count as empty texts.
typedef void (*TCharMapCallback)(TString& result, char c);
void MapCharsOnto(TEvalStack& stack, TCharMapCallback callback, EXPRESSION_ITEM& result);
