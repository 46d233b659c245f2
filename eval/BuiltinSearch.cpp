// Built-in functions that search text and test it: occurrences, counts, prefixes, whole words, letter case, time stamps.
#include "BuiltinSearch.h"

#include <algorithm>
#include <cstdint>

#include "StackRoutines.h"
#include "TextRoutines.h"

namespace {

constexpr int kNthEndPosition = 129;
constexpr int kEndsWith = 121;
constexpr int kIsLower = 136;

// Position of occurrence n (from 0, n >= 0) of a non-empty t in s, each
// search going on behind the previous hit; -1 when there are fewer.
int NthOccurrence(const TString& s, const TString& t, int64_t n, int from) {
    int position = s.Pos(t, from);
    for (int64_t k = 0; k < n && position >= 0; ++k) position = s.Pos(t, position + t.Length());
    return position;
}

void StrNPos(const TBuiltinCall& call, EXPRESSION_ITEM& result) {
    const TString& s = call.Text(0);
    const TString& t = call.Text(1);
    const int64_t n = call.Int32(2);
    const int length = s.Length();
    if (t.IsEmpty()) {
        result.value.integer = n >= 0 ? 0 : length;
        return;
    }
    if (n >= 0) {
        const int found = NthOccurrence(s, t, n, 0);
        result.value.integer = found >= 0 ? found : length;
        return;
    }
    // Counting from the end is counting in the reversed texts.
    TString reversedText = s;
    TString reversedWanted = t;
    const int found = NthOccurrence(reversedText.Rev(), reversedWanted.Rev(), -1 - n, 0);
    result.value.integer = found >= 0 ? length - found - t.Length() : length;
}

// nstrpos and nstrendpos.
void NthStrPos(const TBuiltinCall& call, EXPRESSION_ITEM& result) {
    const TString& s = call.Text(0);
    const int32_t from = call.Int32(1);
    const TString& t = call.Text(2);
    const int32_t n = call.Int32(3);
    result.value.integer = -1;
    if (from < 0 || from >= s.Length() || n < 0) return;
    const int found = t.IsEmpty() ? from : NthOccurrence(s, t, n, from);
    if (found < 0) return;
    result.value.integer = call.position == kNthEndPosition ? found + t.Length() - 1 : found;
}

void StrEndPos(const TBuiltinCall& call, EXPRESSION_ITEM& result) {
    const int found = call.Text(0).Pos(call.Text(1));
    result.value.integer = found >= 0 ? found + call.Text(1).Length() - 1 : -1;
}

void StrCount(const TBuiltinCall& call, EXPRESSION_ITEM& result) {
    result.value.integer = call.Text(0).Count(call.Text(1));
}

void StrLevenshtein(const TBuiltinCall& call, EXPRESSION_ITEM& result) {
    result.value.integer = call.Text(0).LevenshteinDist(call.Text(1));
}

void IsOf(const TBuiltinCall& call, EXPRESSION_ITEM& result) {
    const TString& s = call.Text(0);
    const TString& set = call.Text(1);
    result.value.integer = 1;
    for (int i = 0; i < s.Length(); ++i) {
        if (set.Pos(s[i]) < 0) {
            result.value.integer = 0;
            return;
        }
    }
}

// str_begins and str_ends.
void StrBeginsOrEnds(const TBuiltinCall& call, EXPRESSION_ITEM& result) {
    const TString& s = call.Text(0);
    const TString& t = call.Text(1);
    const bool holds = call.position == kEndsWith ? s.EndsWith(t) : s.StartsWith(t);
    result.value.integer = holds ? 1 : 0;
}

void StrWordContained(const TBuiltinCall& call, EXPRESSION_ITEM& result) {
    result.value.integer = ContainsWord(call.stack, call.Text(0).c_str(), call.Text(1).c_str()) ? 1 : 0;
}

// isupper and islower.
void IsCase(const TBuiltinCall& call, EXPRESSION_ITEM& result) {
    const TString& s = call.Text(0);
    result.value.integer = (call.position == kIsLower ? s.IsLower() : s.IsUpper()) ? 1 : 0;
}

int FieldValue(const TString& field) {
    int value = 0;
    EvalParseInt(field.c_str(), value);
    return value;
}

void TimeCompare(const TBuiltinCall& call, EXPRESSION_ITEM& result) {
    TStringContainer first;
    TStringContainer second;
    SplitDottedText(call.Text(0), first);
    SplitDottedText(call.Text(1), second);
    const int common = std::min(first.GetCount(), second.GetCount());
    result.value.integer = 0;
    for (int i = 0; i < common; ++i) {
        const int a = FieldValue(first[i]);
        const int b = FieldValue(second[i]);
        if (a != b) {
            result.value.integer = a < b ? -1 : 1;
            return;
        }
    }
}

// ORDER: any order; the position column says where each body runs.
const TBuiltinBodyRow kSearchBodies[] = {
    {82, TimeCompare},     {101, StrNPos},          {117, StrCount},        {118, StrLevenshtein},
    {119, IsOf},           {120, StrBeginsOrEnds},  {121, StrBeginsOrEnds}, {128, NthStrPos},
    {129, NthStrPos},      {130, StrEndPos},        {133, StrWordContained}, {135, IsCase},
    {136, IsCase},
};

}  // namespace

TBuiltinBodyRows SearchBuiltinBodies() { return RowsOf(kSearchBodies); }
