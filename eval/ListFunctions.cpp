// The bodies of the variadic list functions and of drand.
#include "ListFunctions.h"

#include <algorithm>
#include <cfloat>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

#include "FunctionTable.h"
#include "StackRoutines.h"
#include "TextRoutines.h"

namespace {

typedef void (*TListBody)(const TListCall& call, EXPRESSION_ITEM& result);

bool IsText(const TListCall& call, int k) { return IsTextItem(call.Item(k)); }
bool IsInteger(const TListCall& call, int k) { return call.Item(k).kind == ekInteger; }

// The text form of an argument, as print writes it.
TString ItemText(const EXPRESSION_ITEM& item) {
    char buffer[800];  // "(%f, %f)" of the largest reals takes about 640
    switch (item.kind) {
        case ekInteger: std::snprintf(buffer, sizeof buffer, "%lld", static_cast<long long>(item.value.integer)); break;
        case ekReal: std::snprintf(buffer, sizeof buffer, "%f", item.value.real); break;
        case ekPoint:
            std::snprintf(buffer, sizeof buffer, "(%lld, %lld)", static_cast<long long>(item.value.point.x),
                          static_cast<long long>(item.value.point.y));
            break;
        case ekComplex:
            std::snprintf(buffer, sizeof buffer, "(%f, %f)", item.value.complex.re, item.value.complex.im);
            break;
        default:
            return IsTextItem(item) && item.value.text.text != nullptr ? *item.value.text.text : TString();
    }
    return TString(buffer);
}

// The whole variable an argument came from; null for a value computed, an
// array item, a field or a position no longer in the list.
TVariable* ArgumentVariable(const TListCall& call, int k) {
    const VARINFO& ref = call.Item(k).ref;
    if (ref.index < 0 || ref.index >= call.vars.GetCount() || ref.index1 != -1 || ref.index2 != -1) return nullptr;
    if (ref.field >= kFieldX && ref.field <= kFieldIm) return nullptr;
    return call.vars[ref.index];
}

bool FitsText(int64_t length) { return length <= kMaxBuiltinTextLength; }

// ------------------------------------------------------------ numbers

void Min(const TListCall& call, EXPRESSION_ITEM& result) {
    int64_t best = INT32_MAX;
    for (int k = 0; k < call.count; ++k) best = std::min<int64_t>(best, call.Int32(k));
    result.value.integer = best;
}

void Max(const TListCall& call, EXPRESSION_ITEM& result) {
    int64_t best = INT32_MIN;
    for (int k = 0; k < call.count; ++k) best = std::max<int64_t>(best, call.Int32(k));
    result.value.integer = best;
}

void RealMin(const TListCall& call, EXPRESSION_ITEM& result) {
    double best = DBL_MAX;
    for (int k = 0; k < call.count; ++k)
        if (call.Real(k) < best) best = call.Real(k);
    result.value.real = best;
}

void RealMax(const TListCall& call, EXPRESSION_ITEM& result) {
    double best = -DBL_MAX;
    for (int k = 0; k < call.count; ++k)
        if (call.Real(k) > best) best = call.Real(k);
    result.value.real = best;
}

// 32-bit wrapping sum, computed unsigned so that the wrap is defined.
void Average(const TListCall& call, EXPRESSION_ITEM& result) {
    if (call.count < 1) return;
    uint32_t total = 0;
    for (int k = 0; k < call.count; ++k) total += static_cast<uint32_t>(call.Int32(k));
    result.value.integer = static_cast<int64_t>(static_cast<int32_t>(total)) / call.count;
}

void RealAverage(const TListCall& call, EXPRESSION_ITEM& result) {
    if (call.count < 1) return;
    double total = 0;
    for (int k = 0; k < call.count; ++k) total += call.Real(k);
    result.value.real = total / call.count;
}

void Sum(const TListCall& call, EXPRESSION_ITEM& result) {
    uint64_t total = 0;
    for (int k = 0; k < call.count; ++k) total += static_cast<uint64_t>(call.Int(k));
    result.value.integer = static_cast<int64_t>(total);
}

void RealSum(const TListCall& call, EXPRESSION_ITEM& result) {
    double total = 0;
    for (int k = 0; k < call.count; ++k) total += call.Real(k);
    result.value.real = total;
}

void Median(const TListCall& call, EXPRESSION_ITEM& result) {
    std::vector<int32_t> values;
    for (int k = 0; k < call.count; ++k) values.push_back(call.Int32(k));
    if (values.empty()) return;
    std::sort(values.begin(), values.end());
    result.value.integer = values[values.size() / 2];
}

// NaN sorts after every number, which keeps the order strict.
bool RealBefore(double a, double b) { return std::isnan(b) ? !std::isnan(a) : a < b; }

void RealMedian(const TListCall& call, EXPRESSION_ITEM& result) {
    std::vector<double> values;
    for (int k = 0; k < call.count; ++k) values.push_back(call.Real(k));
    if (values.empty()) return;
    std::sort(values.begin(), values.end(), RealBefore);
    result.value.real = values[values.size() / 2];
}

void TextMedian(const TListCall& call, EXPRESSION_ITEM& result) {
    std::vector<const TString*> values;
    for (int k = 0; k < call.count; ++k) values.push_back(&call.Text(k));
    if (values.empty()) return;
    std::sort(values.begin(), values.end(), [](const TString* a, const TString* b) { return a->Compare(*b) < 0; });
    ResultText(result) = *values[values.size() / 2];
}

// ------------------------------------------------------------ membership and output

void TextItem(const TListCall& call, EXPRESSION_ITEM& result) {
    for (int k = 1; k < call.count; ++k)
        if (call.Text(k) == call.Text(0)) result.value.integer = 1;
}

// An integer and a real are equal when the real is that whole number.
bool IntegerEqualsReal(int64_t integer, double real) {
    constexpr double kTwoTo63 = 9223372036854775808.0;
    return std::trunc(real) == real && real >= -kTwoTo63 && real < kTwoTo63 && static_cast<int64_t>(real) == integer;
}

void NumberItem(const TListCall& call, EXPRESSION_ITEM& result) {
    const bool firstIsReal = call.Item(0).kind == ekReal;
    const double real = call.Real(0);
    const int64_t integer = call.Int32(0);
    for (int k = 1; k < call.count; ++k) {
        const EXPRESSION_ITEM& candidate = call.Item(k);
        bool same = false;
        if (candidate.kind == ekReal)
            same = firstIsReal ? candidate.value.real == real : IntegerEqualsReal(integer, candidate.value.real);
        else if (candidate.kind == ekInteger)
            same = firstIsReal ? IntegerEqualsReal(candidate.value.integer, real) : candidate.value.integer == integer;
        if (same) result.value.integer = 1;
    }
}

void Print(const TListCall& call, EXPRESSION_ITEM& result) {
    for (int k = 0; k < call.count; ++k) std::fputs(ItemText(call.Item(k)).c_str(), stdout);
    std::fputc('\n', stdout);
    std::fflush(stdout);
    result.value.integer = 0;
}

// ------------------------------------------------------------ tokens

void PickTokens(const TListCall& call, EXPRESSION_ITEM& result) {
    const TString text = ItemText(call.Item(0));
    const EXPRESSION_ITEM& separatorItem = call.Item(1);
    const bool held = separatorItem.kind == ekOwnedText || separatorItem.kind == ekBorrowedText;
    const char separator = held && call.count > 1 ? FirstCharacterOr(call.Text(1), '|') : '|';
    std::vector<int> separators;
    for (int i = 0; i < text.Length(); ++i)
        if (text[i] == separator) separators.push_back(i);
    const int64_t tokenCount = static_cast<int64_t>(separators.size()) + 1;
    TString& out = ResultText(result);
    bool first = true;
    for (int k = 2; k < call.count; ++k) {
        const int64_t i = call.Int32(k);
        if (!IsInteger(call, k) || i < 0 || i >= tokenCount) continue;
        const int start = i == 0 ? 0 : separators[static_cast<size_t>(i - 1)] + 1;
        const int end = i + 1 == tokenCount ? text.Length() : separators[static_cast<size_t>(i)];
        if (!first) out += separator;
        first = false;
        out += text.Substring(start, end - 1);
    }
}

void PaddedTokens(const TListCall& call, EXPRESSION_ITEM& result) {
    TString& out = ResultText(result);
    if (call.count < 4 || !IsText(call, 0) || !IsText(call, 1) || !IsText(call, 2)) {
        if (call.count >= 1 && IsText(call, 0)) out = call.Text(0);
        return;
    }
    const TString& text = call.Text(0);
    const char separator = FirstCharacterOr(call.Text(1), '|');
    const char pad = FirstCharacterOr(call.Text(2), ' ');
    int start = 0;
    int end = 0;
    for (int j = 0; j + 3 < call.count; ++j) {
        if (j > 0) {
            start = end < text.Length() ? end + 1 : end;
            out += separator;
        }
        end = text.Pos(separator, start);
        if (end < 0) end = text.Length();
        // Clamped so that its magnitude exists; a clamped width fails the size test anyway.
        const int64_t width =
            std::clamp<int64_t>(call.Int(3 + j), -kMaxBuiltinTextLength - 1, kMaxBuiltinTextLength + 1);
        const int64_t padding = std::max<int64_t>((width < 0 ? -width : width) - (end - start), 0);
        if (!FitsText(out.Length() + padding + (end - start))) {
            out.Clear();
            return;
        }
        if (width < 0) out += TString(std::string(static_cast<size_t>(padding), pad));
        out += text.Substring(start, end - 1);
        if (width > 0) out += TString(std::string(static_cast<size_t>(padding), pad));
    }
    out += text.Substring(end, text.Length() - 1);
}

// Stores token text into v by v's type; a type it cannot hold is left alone.
void StoreTokenInto(TVariable& v, const TString& token) {
    const int open = token.Pos('{');
    const int comma = token.Pos(',');
    const int close = token.Pos('}');
    const bool pair = open >= 0 && comma > open && close > comma;
    switch (v.type) {
        case vtInt: EvalParseInt(token.c_str(), v.value.i); break;
        case vtDouble: std::sscanf(token.c_str(), "%lf", &v.value.d); break;
        case vtString:
            if (v.value.s != nullptr) *v.value.s = token;
            break;
        case vtPoint:
            if (!pair) break;
            EvalParseInt(token.Substring(open + 1, comma - 1).c_str(), v.value.p.x);
            EvalParseInt(token.Substring(comma + 1, close - 1).c_str(), v.value.p.y);
            break;
        case vtComplex:
            if (!pair) break;
            std::sscanf(token.Substring(open + 1, comma - 1).c_str(), "%lf", &v.value.c.re);
            std::sscanf(token.Substring(comma + 1, close - 1).c_str(), "%lf", &v.value.c.im);
            break;
        default: break;
    }
}

void GetTokens(const TListCall& call, EXPRESSION_ITEM& result) {
    if (call.count < 3 || !IsText(call, 0) || !IsText(call, 1)) return;
    TStringContainer tokens;
    // A copy: a variable may be both the text and a target.
    const TString text = call.Text(0);
    text.GetTokens(FirstCharacterOr(call.Text(1), '|'), tokens);
    const int stored = std::min(tokens.GetCount(), call.count - 2);
    for (int j = 0; j < stored; ++j)
        if (TVariable* v = ArgumentVariable(call, 2 + j)) StoreTokenInto(*v, tokens[j]);
    result.value.integer = stored;
}

// ------------------------------------------------------------ random pick

// The count of values of the pair (lo, hi) at k; 0 for a reversed pair.
uint64_t RangeSize(const TListCall& call, int k) {
    const int64_t low = call.Int32(k);
    const int64_t high = call.Int32(k + 1);
    return low <= high ? static_cast<uint64_t>(high - low) + 1 : 0;
}

void Random(const TListCall& call, EXPRESSION_ITEM& result) {
    const uint64_t r = call.stack.FirstRandom().Next();
    if (call.count == 1) {
        const int64_t n = call.Int(0);
        // The count of values 0..n, computed without overflow; below -1 the
        // divisor is -(n+1), as C's remainder of the non-negative r gives.
        const uint64_t span = n >= 0 ? static_cast<uint64_t>(n) + 1 : 0 - static_cast<uint64_t>(n) - 1;
        result.value.integer = span == 0 ? 0 : static_cast<int64_t>(r % span);
        return;
    }
    uint64_t total = 0;
    for (int k = 0; k + 1 < call.count; k += 2) total += RangeSize(call, k);
    if (total == 0) return;
    uint64_t offset = r % total;
    for (int k = 0; k + 1 < call.count; k += 2) {
        const uint64_t size = RangeSize(call, k);
        if (offset < size) {
            result.value.integer = call.Int32(k) + static_cast<int64_t>(offset);
            return;
        }
        offset -= size;
    }
}

// ------------------------------------------------------------ running extremes

// getmin (lower) and getmax: pairs (value, variable).
void RunningExtreme(const TListCall& call, EXPRESSION_ITEM& result, bool lower) {
    for (int k = 0; k + 1 < call.count; k += 2) {
        TVariable* v = ArgumentVariable(call, k + 1);
        if (v == nullptr) continue;
        const EXPRESSION_ITEM& value = call.Item(k);
        if (value.kind == ekInteger && v->type == vtInt) {
            const int64_t i = value.value.integer;
            if (lower ? i < v->value.i : i > v->value.i) v->value.i = i;
        } else if (value.kind == ekReal && v->type == vtDouble) {
            const double d = value.value.real;
            if (lower ? !(d >= v->value.d) : d > v->value.d) v->value.d = d;
        }
    }
    result.value.integer = call.count / 2;
}

void GetMin(const TListCall& call, EXPRESSION_ITEM& result) { RunningExtreme(call, result, true); }
void GetMax(const TListCall& call, EXPRESSION_ITEM& result) { RunningExtreme(call, result, false); }

// ------------------------------------------------------------ texts

void TextSum(const TListCall& call, EXPRESSION_ITEM& result) {
    for (int k = 0; k < call.count; ++k) ResultText(result) += call.Text(k);
}

void TextJoin(const TListCall& call, EXPRESSION_ITEM& result) {
    for (int k = 1; k < call.count; ++k) {
        if (k > 1) ResultText(result) += call.Text(0);
        ResultText(result) += call.Text(k);
    }
}

void PaddedJoin(const TListCall& call, EXPRESSION_ITEM& result) {
    TString& out = ResultText(result);
    for (int k = 0; k + 1 < call.count; k += 2) {
        if (!IsText(call, k) || !IsInteger(call, k + 1)) continue;
        const TString& piece = call.Text(k);
        const int64_t width = call.Int32(k + 1);
        const int64_t blanks = std::max<int64_t>((width >= 1 ? width : -width) - piece.Length(), 0);
        if (!FitsText(out.Length() + blanks + piece.Length())) {
            out.Clear();
            return;
        }
        const TString padding(std::string(static_cast<size_t>(blanks), ' '));
        if (width < 1) out += padding;
        out += piece;
        if (width >= 1) out += padding;
    }
}

void Between(const TListCall& call, EXPRESSION_ITEM& result) {
    const TString& text = call.Text(0);
    const TString& left = call.Text(1);
    int from = -1;
    int to = -1;
    if (call.count == 3 && IsText(call, 0) && IsText(call, 1) && IsText(call, 2)) {
        from = text.Pos(left);
        if (from >= 0) to = text.Pos(call.Text(2), from + left.Length());
    } else if (call.count == 5 && IsText(call, 0) && IsText(call, 1) && IsText(call, 3) && IsInteger(call, 2) &&
               IsInteger(call, 4)) {
        from = text.NthPos(left, call.Int32(2));
        if (from >= 0) to = text.NthPos(call.Text(3), call.Int32(4), from + left.Length());
    }
    if (from >= 0 && to >= 0) ResultText(result) = text.Substring(from + left.Length(), to - 1);
}

// strall, strany and strnone: how many of a2..an occur in a1 decides.
int OccurringCount(const TListCall& call) {
    int found = 0;
    for (int k = 1; k < call.count; ++k)
        if (call.Text(0).Pos(call.Text(k)) >= 0) ++found;
    return found;
}
void AllOccur(const TListCall& call, EXPRESSION_ITEM& result) {
    result.value.integer = OccurringCount(call) == call.count - 1 ? 1 : 0;
}
void AnyOccurs(const TListCall& call, EXPRESSION_ITEM& result) {
    result.value.integer = OccurringCount(call) > 0 ? 1 : 0;
}
void NoneOccurs(const TListCall& call, EXPRESSION_ITEM& result) {
    result.value.integer = OccurringCount(call) == 0 ? 1 : 0;
}

// ------------------------------------------------------------ parse

bool IsPlaceholder(char c) { return c == '%' || c == '#' || c == '$' || c == '?'; }

bool IsIntegerField(const TString& field) {
    for (int i = 0; i < field.Length(); ++i)
        if (!((field[i] >= '0' && field[i] <= '9') || (field[i] == '-' && i == 0))) return false;
    return true;
}

bool IsDecimalField(const TString& field) {
    int points = 0;
    for (int i = 0; i < field.Length(); ++i) {
        if (field[i] == '.') ++points;
        else if (field[i] < '0' || field[i] > '9') return false;
    }
    return points <= 1;
}

// Stores field into v as the placeholder says; false when v cannot take it.
bool StoreField(char placeholder, const TString& field, TVariable& v) {
    if (placeholder == '%') {
        if ((v.type != vtInt && v.type != vtDouble) || !IsIntegerField(field)) return false;
        int64_t value = 0;
        EvalParseInt(field.c_str(), value);
        if (v.type == vtInt) v.value.i = value;
        else v.value.d = static_cast<double>(value);
        return true;
    }
    if (placeholder == '#') {
        if ((v.type != vtInt && v.type != vtDouble) || !IsDecimalField(field)) return false;
        double value = 0;
        std::sscanf(field.c_str(), "%lf", &value);
        if (v.type == vtDouble) v.value.d = value;
        else v.value.i = TruncateToInt32(value);
        return true;
    }
    if (v.type != vtString || v.value.s == nullptr) return false;
    *v.value.s = field;
    return true;
}

// Walks pattern against text; the count of fields stored, negated on failure.
int64_t MatchPattern(const TListCall& call, const TString& text, const TString& pattern) {
    int64_t stored = 0;
    int t = 0;
    int p = 0;
    while (t < text.Length() && p < pattern.Length()) {
        const char c = pattern[p];
        if (!IsPlaceholder(c)) {
            if (text[t] != c) return -stored;
            ++t;
            ++p;
            continue;
        }
        // The field runs to the stop character that follows the placeholder.
        const bool stopsAtEnd = p + 1 >= pattern.Length();
        const int stop = stopsAtEnd ? text.Length() : text.Pos(pattern[p + 1], t);
        if (stop < 0) return -stored;
        const int argument = static_cast<int>(2 + stored);
        if (argument >= call.count) return -stored;
        TVariable* v = ArgumentVariable(call, argument);
        if (c != '?') {
            if (v == nullptr || !StoreField(c, text.Substring(t, stop - 1), *v)) return -stored;
            ++stored;
        }
        t = stop;
        ++p;
    }
    return t == text.Length() && p == pattern.Length() ? stored : -stored;
}

void Parse(const TListCall& call, EXPRESSION_ITEM& result) {
    if (call.count < 3 || !IsText(call, 0) || !IsText(call, 1)) return;
    // Copies: a target variable may hold the text or the pattern.
    const TString text = call.Text(0);
    const TString pattern = call.Text(1);
    result.value.integer = MatchPattern(call, text, pattern);
}

// ------------------------------------------------------------ strformat

// The placeholder pairs (position, argument number) the compiler stored.
void Format(const TListCall& call, EXPRESSION_ITEM& result) {
    TString& out = ResultText(result);
    out = ItemText(call.Item(0));
    const int pairs = call.function.list != nullptr ? call.function.listCount / 2 : 0;
    std::vector<int64_t> positions;
    for (int i = 0; i < pairs; ++i) positions.push_back(call.function.list[2 * i]);
    for (int i = 0; i < pairs; ++i) {
        const int64_t number = call.function.list[2 * i + 1];
        if (number < 0 || number >= call.count - 1) continue;
        const TString inserted = ItemText(call.Item(static_cast<int>(number) + 1));
        if (!FitsText(int64_t{out.Length()} + inserted.Length())) {
            out.Clear();
            return;
        }
        out.Insert(static_cast<int>(std::clamp<int64_t>(positions[static_cast<size_t>(i)], 0, out.Length())), inserted);
        for (int later = i + 1; later < pairs; ++later) positions[static_cast<size_t>(later)] += inserted.Length();
    }
}

// ORDER: one body per list function, at the function's index.
const TListBody kListBodies[] = {
    Min,        RealMin,    Max,        RealMax,   Average,     RealAverage, TextItem,  NumberItem,
    Print,      PickTokens, Median,     RealMedian, TextMedian, Sum,         RealSum,   TextSum,
    PaddedTokens, GetTokens, Random,    GetMin,    GetMax,      Between,     TextJoin,  PaddedJoin,
    AllOccur,   AnyOccurs,  NoneOccurs, Parse,     Format,
};
static_assert(sizeof(kListBodies) / sizeof(kListBodies[0]) == 29, "one body per list function");

void RandomReal(const TBuiltinCall& call, EXPRESSION_ITEM& result) {
    result.value.real = std::ldexp(static_cast<double>(call.stack.SecondRandom().Next()), -32);
}

}  // namespace

bool RunListFunction(TVariableList& vars, const EXPRESSION_ITEM& function, TEvalStack& stack, EXPRESSION_ITEM& result) {
    const int index = function.value.code.index;
    const TVarFunction* entry = VarFunctions()[index];
    if (entry == nullptr || index >= static_cast<int>(sizeof(kListBodies) / sizeof(kListBodies[0]))) return false;
    result = MakeItem(entry->resultType);
    if (IsTextKind(entry->resultType)) {
        result.kind = ekBufferedText;
        result.value.text.slot = stack.GetBufferedString(result.value.text.text);
    }
    const TListCall call(vars, stack, function, function.value.code.argumentCount);
    kListBodies[index](call, result);
    return true;
}

TBuiltinBodyRows RandomBuiltinBodies() {
    static const TBuiltinBodyRow rows[] = {{113, RandomReal}};
    return RowsOf(rows);
}
