// Text routines shared by the text built-ins: tokens, words, separator classes, dotted fields, tabs, file loading, token and word walks.
#pragma once

#include <array>
#include <cstdint>
#include <vector>

#include "BuiltinCall.h"
#include "EvalStack.h"
#include "String.h"
#include "StringBuffer.h"
#include "StringContainer.h"

// out becomes token n of text cut at separator: token 0 is the text before
// the first separator; a negative n counts from the end (-1 the last token).
// A token that does not exist leaves out unchanged.
void ExtractToken(TString& out, const TString& text, char separator, int32_t n);

// Appends the pieces of text between the characters '.' and ':' to pieces;
// an empty piece between two delimiters counts, an empty last piece does not
// ("12:30:" gives 12 and 30; ":5" gives "" and 5).
void SplitDottedText(const TString& text, TStringContainer& pieces);

// 256 separator flags indexed by the unsigned byte.
typedef std::array<bool, 256> TSeparatorFlags;
// A copy of the stack's word-separator flags.
TSeparatorFlags WordSeparatorFlags(const TEvalStack& stack);
// A copy of the stack's 32 fixed separators: the set of the default word
// functions and of the whole-word tests.
TSeparatorFlags FixedSeparatorFlags(const TEvalStack& stack);

// The first character of a separator or pad argument; fallback when it is empty.
char FirstCharacterOr(const TString& text, char fallback);

// Token n of text cut at separator as [start, end); a negative n counts from
// the end (-1 the last token). A token that starts at the end of the text
// does not exist: the result is false and start = end = the length. So a
// token past the last one, the one token of an empty text and an empty last
// token ("a|" token 1) are all missing; an empty token elsewhere exists.
bool LocateToken(const TString& text, char separator, int32_t n, int& start, int& end);
// Word n as [start, end); a negative n counts from the end. Without word n
// the result is false and start = end = the length.
bool LocateWord(const TString& text, const TSeparatorFlags& flags, int32_t n, int& start, int& end);

// The tokens a walk visits in order: token 0, then each next one, until a
// token would start at the end of the text. An empty text gives none and a
// final empty token is not visited ("a|b|" gives a and b; "|" gives "").
void VisitedTokens(const TString& text, char separator, std::vector<TString>& tokens);
// The number of words of text.
int WordCount(const TString& text, const TSeparatorFlags& flags);

// Start and end (exclusive) of word n (from 0), a word being a maximal run of
// characters whose flag is clear; when there are fewer words, or n is
// negative, both are the text's length. A null text gives 0, 0.
void FindWord(const char* text, int n, const TSeparatorFlags& flags, int& start, int& end);
// out becomes word n when it exists; otherwise out is left unchanged.
void ExtractWord(const TString& text, int n, const TSeparatorFlags& flags, TString& out);

// Expands the class names ("[:digit:]", "[:space:]", "[:alpha:]",
// "[:blank:]", "[:alnum:]", "[:lower:]", "[:upper:]", "[:punct:]",
// "[:xdigit:]", in that order) in definition, clears the stack's word
// separators and sets the flag of every character of the expanded text.
void SetWordSeparators(const TString& definition, TEvalStack& stack);

// out = the n segments of text (segments[2k] start, segments[2k+1] end,
// exclusive) in order, separator between neighbours. n below 1 gives the
// empty text; a segment is clipped to the text.
void JoinSegments(const char* text, const int* segments, int n, TString& out, char separator);

// Ordering of two signed 32-bit integers for qsort: negative, 0 or positive.
int CompareInts(const void* first, const void* second);

// Replaces each tab of text by fill characters up to the next multiple of
// width; work is scratch space. A width below 1 means 4.
void EvalReplaceTabs(TString& text, int width, char fill, TStringBuffer& work);
// Contracts runs of c into tabs; work is scratch space; a width below 1 means 4.
// leadingOnly: only the leading run of c; every width-th character of the run
// (counted from 1) becomes a tab together with the c characters before it
// since the last tab, except that with width 1 the c at position 0 stays a c;
// c characters after the last full stop stay. Otherwise: the whole text
// is walked with a column (a tab moves it to the next multiple of width),
// and at every tab stop outside double quotes the c characters just before
// the stop are replaced by one tab.
void EvalReplaceCharsWithTabs(TString& text, int width, char c, bool leadingOnly, TStringBuffer& work);

// Context of AppendLineCallback: the text lines are appended to, the
// separator between them and the count of lines appended so far.
struct TAppendLineContext {
    TString* text;
    char separator;
    int count;
};
// Appends the separator when count is above 0, counts the line, appends it.
void AppendLineCallback(const TString& line, int lineIndex, void* context);
// context is a TVariable: a 1-D string array grows by one item holding the
// line; any other variable is left alone.
void AppendArrayItemCallback(const TString& line, int lineIndex, void* context);

// load_file(file, separators, target): reads the file's lines (one trailing
// CR stripped from each) into the target variable. A string target gets the
// lines appended, separated by the first character of separators ("," when
// empty); a 1-D string array gets one item per line. The result is the
// number of lines stored: 0 for a missing file, a 2-D array or any other
// target. Lines stored before a read error stay.
void LoadFileInto(const TBuiltinCall& call, EXPRESSION_ITEM& result);

// The built-in bodies of this unit (load_file).
TBuiltinBodyRows TextRoutineBuiltinBodies();

// Context of TokenPredicateCallback, the per-token step of the any, all and
// none functions over tokens and words (positions 137-142): each token is
// stored in itemText, the predicate evaluated on vars (run pass) and the
// index counted up; result starts as the answer for "no token decided".
struct TTokenPredicateContext {
    int position;
    TString* itemText;
    EXPRESSION* predicate;
    TEvalStack* stack;
    TVariableList* vars;
    int64_t* index;
    int64_t result;
};
// Any (137, 140): the integer 1 gives 1 and stops. All (138, 141): the
// integer 0 gives 0 and stops. None (139, 142): the integer 1 gives 0 and
// stops. Other results let the walk go on.
void TokenPredicateCallback(const TString& token, bool& stop, void* context);

// Context of the conversion callbacks: each token or word is stored in
// itemText, the expression evaluated on vars (run pass), a text result
// appended to output (other results add nothing) and the index counted up.
// source is the walked text, from which CopySeparatorCallback copies.
struct TConvertContext {
    int64_t* index;
    EXPRESSION* expression;
    TEvalStack* stack;
    TVariableList* vars;
    TString* output;
    TString* itemText;
    char separator;
    const char* source;
};
// str_token_convert: the separator goes before every result but the first.
void TokenConvertCallback(const TString& token, bool& stop, void* context);
// str_word_convert: words only; separators come through CopySeparatorCallback.
void WordConvertCallback(const TString& word, bool& stop, void* context);
// Appends the source character at position to the output.
void CopySeparatorCallback(int position, bool& stop, void* context);
