// The editor unit's free functions: comparisons for sorting lines and tab
// stops, writing lines to a file with progress notices, the history of the
// editor's combo boxes, and reading the numbers and keywords of commands.
#pragma once

#include <string>

#include "String.h"
#include "StringContainer.h"

class TComboBox;
class TTextEditor;

// The record a sort hands to CompareLines and CompareLineNumbers: the editor
// that reports progress, an int of the sort's own, and the quiet flag, which
// stops the per-comparison notice (a sort on worker threads sets it).
struct TTextEditorSortContext {
    TTextEditor* editor = nullptr;
    int option = 0;
    bool quiet = false;
};

// -1, 0 or 1 as *a is below, equal to or above *b.
int CompareInts(const int* a, const int* b);
// Each first reports ProgressChange(0, -3) on the context's editor unless the
// context is quiet (or null). CompareLines compares the texts byte by byte;
// CompareLineNumbers their 64-bit integer values, a text that is no whole
// number counting as 0. Results are -1, 0 or 1.
int CompareLines(const TString* a, const TString* b, void* context);
int CompareLineNumbers(const TString* a, const TString* b, void* context);

// Writes the lines to fileName with the line store's line ends, reporting
// ProgressChange(0, -1), the store's (count, done) notices and (0, -2). A
// failed write shows the "Error with saving" box (owned by the editor's
// window, error icon), lets no exception through and gives false; the file
// may then be missing or partly written. With longest given, the length of
// the longest line written goes there.
bool WriteLinesWithProgress(TTextEditor* editor, TStringContainer& lines, const TString& fileName,
                            int* longest = nullptr);

// Puts the box's text first in its list: nothing for an empty text or one the
// list holds already (which keeps its place); the last item goes when the
// list then holds more than limit items. A null box is ignored.
void AddComboHistory(TComboBox* box, int limit);

// The number at the start of text as "%d" reads it (leading blanks skipped,
// an optional sign, trailing text ignored), saturated to the int range;
// false, number left, without one.
bool ReadLeadingNumber(const std::string& text, int& number);

// The index of the first keyword, in the table's order, that word begins
// (keyword arguments match by prefix); -1 for an empty word or none.
int MatchKeyword(const TString& word, const char* const* keywords, int count);
