// Built-in functions on strings: measure, compare, cut, convert and test.
#include "BuiltinStrings.h"

#include <algorithm>
#include <cstdint>

#include "TextRoutines.h"

namespace {

constexpr int kStrLCheck = 71;
constexpr int kTrimRight = 64;
constexpr int kTrimLeft = 65;
constexpr int kStrNext = 63;

void StrLen(const TBuiltinCall& call, EXPRESSION_ITEM& result) { result.value.integer = call.Text(0).Length(); }

void StrInt(const TBuiltinCall& call, EXPRESSION_ITEM& result) { result.value.integer = call.Text(0).ToInt(); }

void StrDouble(const TBuiltinCall& call, EXPRESSION_ITEM& result) { result.value.real = call.Text(0).ToDouble(); }

void StrCmp(const TBuiltinCall& call, EXPRESSION_ITEM& result) {
    result.value.integer = call.Text(0).Compare(call.Text(1));
}

void StrPos(const TBuiltinCall& call, EXPRESSION_ITEM& result) { result.value.integer = call.Text(0).Pos(call.Text(1)); }

void StrUpper(const TBuiltinCall& call, EXPRESSION_ITEM& result) { (ResultText(result) = call.Text(0)).ToUpper(); }

void StrLower(const TBuiltinCall& call, EXPRESSION_ITEM& result) { (ResultText(result) = call.Text(0)).ToLower(); }

void StrRev(const TBuiltinCall& call, EXPRESSION_ITEM& result) { (ResultText(result) = call.Text(0)).Rev(); }

// A negative length takes the span that ends just before the start.
void Substr(const TBuiltinCall& call, EXPRESSION_ITEM& result) {
    int64_t start = call.Int32(1);
    int64_t length = call.Int32(2);
    if (length < 0) {
        start += length;
        length = -length;
        if (start < 0) {
            length += start;
            start = 0;
        }
    }
    const int64_t last = start + length - 1;
    const int64_t textLength = call.Text(0).Length();
    if (last < 0 || start >= textLength) return;
    ResultText(result) = call.Text(0).Substring(static_cast<int>(std::max<int64_t>(start, 0)),
                                                static_cast<int>(std::min(last, textLength - 1)));
}

void StrCat(const TBuiltinCall& call, EXPRESSION_ITEM& result) {
    TString& text = ResultText(result);
    text = call.Text(0);
    text += call.Text(1);
}

void StrMul(const TBuiltinCall& call, EXPRESSION_ITEM& result) {
    const int64_t n = call.Int(1);
    const TString& a = call.Text(0);
    if (n < 1 || a.IsEmpty() || n > kMaxBuiltinTextLength / a.Length()) return;
    TString& text = ResultText(result);
    text.Reserve(static_cast<int>(n * a.Length()));
    for (int64_t k = 0; k < n; ++k) text += a;
}

void StrFilter(const TBuiltinCall& call, EXPRESSION_ITEM& result) { (ResultText(result) = call.Text(0)) -= call.Text(1); }

void StrCont(const TBuiltinCall& call, EXPRESSION_ITEM& result) {
    result.value.integer = call.Text(0).Pos(call.Text(1)) >= 0 ? 1 : 0;
}

// str_prev and str_next: the parts before and after the first occurrence.
void StrAround(const TBuiltinCall& call, EXPRESSION_ITEM& result) {
    const TString& a = call.Text(0);
    const int found = a.Pos(call.Text(1));
    if (found < 0) return;
    ResultText(result) = call.position == kStrNext ? a.Substring(found + call.Text(1).Length(), a.Length() - 1)
                                                   : a.Substring(0, found - 1);
}

// str_trim_right, str_trim_left and str_trim: one pass per character of the set, in its order.
void StrTrim(const TBuiltinCall& call, EXPRESSION_ITEM& result) {
    TString& text = ResultText(result);
    text = call.Text(0);
    const TString& set = call.Text(1);
    for (int i = 0; i < set.Length(); ++i) {
        if (call.position == kTrimRight)
            text.TrimRight(set[i]);
        else if (call.position == kTrimLeft)
            text.TrimLeft(set[i]);
        else
            text.Trim(set[i]);
    }
}

void StrCond(const TBuiltinCall& call, EXPRESSION_ITEM& result) {
    ResultText(result) = call.Int(0) != 0 ? call.Text(1) : call.Text(2);
}

void PositionSubstring(const TBuiltinCall& call, EXPRESSION_ITEM& result) {
    ResultText(result) = call.Text(0).Substring(call.Int32(1), call.Int32(2));
}

void IsNumber(const TBuiltinCall& call, EXPRESSION_ITEM& result) {
    const TString& a = call.Text(0);
    result.value.integer = 1;
    for (int i = 0; i < a.Length(); ++i)
        if (a[i] < '0' || a[i] > '9') result.value.integer = 0;
}

// strcheck and strlcheck; strlcheck tests the length against min and max first.
void StrCheck(const TBuiltinCall& call, EXPRESSION_ITEM& result) {
    const TString& a = call.Text(0);
    const TString& set = call.Text(1);
    result.value.integer = 1;
    if (call.position == kStrLCheck && (a.Length() < call.Int(2) || a.Length() > call.Int(3))) {
        result.value.integer = 0;
        return;
    }
    for (int i = 0; i < a.Length(); ++i) {
        if (set.Pos(a[i]) < 0) {
            result.value.integer = 0;
            return;
        }
    }
}

void StrTok(const TBuiltinCall& call, EXPRESSION_ITEM& result) {
    const TString& separator = call.Text(1);
    ExtractToken(ResultText(result), call.Text(0), separator.IsEmpty() ? '|' : separator[0], call.Int32(2));
}

void StrFirst(const TBuiltinCall& call, EXPRESSION_ITEM& result) {
    result.value.integer = static_cast<int8_t>(call.Text(0)[0]);
}

void StrLast(const TBuiltinCall& call, EXPRESSION_ITEM& result) {
    const TString& a = call.Text(0);
    result.value.integer = static_cast<int8_t>(a[a.Length() - 1]);
}

// ORDER: any order; the position column says where each body runs.
const TBuiltinBodyRow kStringBodies[] = {
    {9, StrLen},     {10, StrInt},     {11, StrDouble}, {12, StrCmp},   {13, StrPos},
    {14, StrUpper},  {15, StrLower},   {16, StrRev},    {17, Substr},   {18, StrCat},
    {19, StrMul},    {20, StrFilter},  {61, StrCont},   {62, StrAround}, {63, StrAround},
    {64, StrTrim},   {65, StrTrim},    {66, StrTrim},   {67, StrCond},  {68, PositionSubstring},
    {69, IsNumber},  {70, StrCheck},   {71, StrCheck},  {72, StrTok},   {74, StrFirst},
    {75, StrLast},
};

}  // namespace

TBuiltinBodyRows StringBuiltinBodies() { return RowsOf(kStringBodies); }
