// Built-in functions on tokens and words: pick, remove, swap, replace, locate, count, and spread into arrays.
#include "BuiltinTokens.h"

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

#include "TextRoutines.h"

namespace {

constexpr int kWordWithSeparators = 99;
constexpr int kWordPositionWithSeparators = 107;

char TokenSeparator(const TBuiltinCall& call, int k) { return FirstCharacterOr(call.Text(k), '|'); }

// Token span for the functions that count only forward: a negative index
// is a missing token.
bool ForwardToken(const TString& text, char separator, int32_t n, int& start, int& end) {
    if (n >= 0) return LocateToken(text, separator, n, start, end);
    start = end = text.Length();
    return false;
}

TString Span(const TString& text, int start, int end) { return text.Substring(start, end - 1); }

// text with [start, end) replaced by replacement.
TString Replaced(const TString& text, int start, int end, const TString& replacement) {
    TString out = Span(text, 0, start);
    out += replacement;
    out += Span(text, end, text.Length());
    return out;
}

// The separator flags of a word function: the fixed set, or for the _sep
// variants the set their argument names, installed on the stack.
TSeparatorFlags WordFlags(const TBuiltinCall& call) {
    if (call.position != kWordWithSeparators && call.position != kWordPositionWithSeparators)
        return FixedSeparatorFlags(call.stack);
    SetWordSeparators(call.Text(1), call.stack);
    return WordSeparatorFlags(call.stack);
}

// The index argument of a word function: the last argument.
int32_t WordIndex(const TBuiltinCall& call) { return call.Int32(call.count - 1); }

void StoreToken(TVariable& array, int i, TVariableType itemtype, const TString& token) {
    void* item = array.GetItem(i);
    if (item == nullptr) return;
    switch (itemtype) {
        case vtInt: EvalParseInt(token.c_str(), *static_cast<int64_t*>(item)); break;
        case vtDouble: std::sscanf(token.c_str(), "%lf", static_cast<double*>(item)); break;
        case vtString: *static_cast<TString*>(item) = token; break;
        default: break;
    }
}

void Tokenize(const TBuiltinCall& call, EXPRESSION_ITEM& result) {
    TStringContainer tokens;
    call.Text(0).GetTokens(FirstCharacterOr(call.Text(1), ','), tokens);
    result.value.integer = tokens.GetCount();
    TVariable* array = call.Variable(2);
    if (array == nullptr) return;
    array->Resize(tokens.GetCount(), true);
    const TVariableType itemtype = array->value.a.itemtype;
    for (int i = 0; i < tokens.GetCount() && i < array->value.a.count; ++i) StoreToken(*array, i, itemtype, tokens[i]);
}

void StrGetTokens(const TBuiltinCall& call, EXPRESSION_ITEM& result) {
    std::vector<TString> tokens;
    VisitedTokens(call.Text(0), TokenSeparator(call, 1), tokens);
    result.value.integer = static_cast<int64_t>(tokens.size());
    TVariable* array = call.Variable(2);
    if (array == nullptr || array->type != vtArray || array->value.a.itemtype != vtString) return;
    const int before = array->value.a.count;
    for (const TString& token : tokens) {
        const int count = array->value.a.count;
        if (array->Resize(count + 1, false) == nullptr) break;
        *static_cast<TString*>(array->GetItem(count)) = token;
    }
    if (array->value.a.count != before) array->ArrayResized();
}

void StrTokenCount(const TBuiltinCall& call, EXPRESSION_ITEM& result) {
    std::vector<TString> tokens;
    VisitedTokens(call.Text(0), TokenSeparator(call, 1), tokens);
    result.value.integer = static_cast<int64_t>(tokens.size());
}

// Removes token n and one separator: the one before it, or after token 0.
void StrNTok(const TBuiltinCall& call, EXPRESSION_ITEM& result) {
    const TString& s = call.Text(0);
    const EXPRESSION_ITEM& separatorItem = call.Item(1);
    const bool held = separatorItem.kind == ekOwnedText || separatorItem.kind == ekBorrowedText;
    const char separator = held ? TokenSeparator(call, 1) : '|';
    TString& out = ResultText(result);
    int start = 0;
    int end = 0;
    if (!ForwardToken(s, separator, call.Int32(2), start, end)) {
        out = s;
        return;
    }
    if (start == 0)
        out = Span(s, end < s.Length() ? end + 1 : end, s.Length());
    else
        out = Replaced(s, start - 1, end, TString());
}

void StrTokN(const TBuiltinCall& call, EXPRESSION_ITEM& result) {
    ExtractToken(ResultText(result), call.Text(0), TokenSeparator(call, 1), call.Int32(2));
}

// xctok: a tab-separated field without its enclosing double quotes.
void TabFieldToken(const TBuiltinCall& call, EXPRESSION_ITEM& result) {
    TString& out = ResultText(result);
    ExtractToken(out, call.Text(0), '\t', call.Int32(1));
    if (out.Length() > 1 && out[0] == '"' && out[out.Length() - 1] == '"') out = out.Substring(1, out.Length() - 2);
}

// The token indices of str_tok2 and str_tok_xchg, the smaller first.
void OrderedIndices(const TBuiltinCall& call, int32_t& i, int32_t& j) {
    i = std::min(call.Int32(2), call.Int32(3));
    j = std::max(call.Int32(2), call.Int32(3));
}

void StrTok2(const TBuiltinCall& call, EXPRESSION_ITEM& result) {
    const TString& s = call.Text(0);
    const char separator = TokenSeparator(call, 1);
    int32_t i = 0, j = 0;
    OrderedIndices(call, i, j);
    int start1 = 0, end1 = 0, start2 = 0, end2 = 0;
    ForwardToken(s, separator, i, start1, end1);
    ForwardToken(s, separator, j, start2, end2);
    TString& out = ResultText(result);
    out = Span(s, start1, end1);
    out += separator;
    out += Span(s, start2, end2);
}

void StrTok3(const TBuiltinCall& call, EXPRESSION_ITEM& result) {
    const TString& s = call.Text(0);
    const char separator = TokenSeparator(call, 1);
    int indices[3] = {call.Int32(2), call.Int32(3), call.Int32(4)};
    std::sort(indices, indices + 3);
    const int distinct = static_cast<int>(std::unique(indices, indices + 3) - indices);
    int segments[6] = {};
    for (int k = 0; k < distinct; ++k) ForwardToken(s, separator, indices[k], segments[2 * k], segments[2 * k + 1]);
    JoinSegments(s.c_str(), segments, distinct, ResultText(result), separator);
}

void StrTokExchange(const TBuiltinCall& call, EXPRESSION_ITEM& result) {
    const TString& s = call.Text(0);
    const char separator = TokenSeparator(call, 1);
    int32_t i = 0, j = 0;
    OrderedIndices(call, i, j);
    TString& out = ResultText(result);
    int start1 = 0, end1 = 0, start2 = 0, end2 = 0;
    if (i == j || !ForwardToken(s, separator, i, start1, end1) || !ForwardToken(s, separator, j, start2, end2)) {
        out = s;
        return;
    }
    out = Span(s, 0, start1);
    out += Span(s, start2, end2);
    out += Span(s, end1, start2);
    out += Span(s, start1, end1);
    out += Span(s, end2, s.Length());
}

void StrSetToken(const TBuiltinCall& call, EXPRESSION_ITEM& result) {
    const TString& s = call.Text(0);
    int start = 0;
    int end = 0;
    ResultText(result) = LocateToken(s, TokenSeparator(call, 1), call.Int32(2), start, end)
                             ? Replaced(s, start, end, call.Text(3))
                             : s;
}

void StrTokenPos(const TBuiltinCall& call, EXPRESSION_ITEM& result) {
    int start = 0;
    int end = 0;
    LocateToken(call.Text(0), TokenSeparator(call, 1), call.Int32(2), start, end);
    result.value.integer = start;
}

// str_word, str_word_sep and strgetword.
void StrWord(const TBuiltinCall& call, EXPRESSION_ITEM& result) {
    const TString& s = call.Text(0);
    int start = 0;
    int end = 0;
    if (LocateWord(s, WordFlags(call), WordIndex(call), start, end)) ResultText(result) = Span(s, start, end);
}

// str_word_pos and str_word_pos_sep.
void StrWordPos(const TBuiltinCall& call, EXPRESSION_ITEM& result) {
    int start = 0;
    int end = 0;
    LocateWord(call.Text(0), WordFlags(call), WordIndex(call), start, end);
    result.value.integer = start;
}

void StrSetWord(const TBuiltinCall& call, EXPRESSION_ITEM& result) {
    const TString& s = call.Text(0);
    const int32_t n = call.Int32(1);
    int start = 0;
    int end = 0;
    const bool found = n >= 0 && LocateWord(s, FixedSeparatorFlags(call.stack), n, start, end);
    ResultText(result) = found ? Replaced(s, start, end, call.Text(2)) : s;
}

void StrWordsToTokens(const TBuiltinCall& call, EXPRESSION_ITEM& result) {
    const TString& s = call.Text(0);
    const TSeparatorFlags flags = FixedSeparatorFlags(call.stack);
    const char separator = TokenSeparator(call, 1);
    TString& out = ResultText(result);
    bool afterWord = false;
    for (int i = 0; i < s.Length(); ++i) {
        const char c = s[i];
        if (flags[static_cast<unsigned char>(c)]) {
            afterWord = !out.IsEmpty();
            continue;
        }
        if (afterWord) out += separator;
        afterWord = false;
        out += c;
    }
}

void StrWordCount(const TBuiltinCall& call, EXPRESSION_ITEM& result) {
    result.value.integer = WordCount(call.Text(0), FixedSeparatorFlags(call.stack));
}

// ORDER: any order; the position column says where each body runs.
const TBuiltinBodyRow kTokenBodies[] = {
    {78, Tokenize},      {90, StrNTok},       {95, StrTok2},          {96, StrTok3},           {97, StrTokExchange},
    {98, StrWord},       {99, StrWord},       {100, StrTokN},         {105, StrTokenPos},      {106, StrWordPos},
    {107, StrWordPos},   {108, StrSetToken},  {112, StrSetWord},      {116, StrGetTokens},     {127, TabFieldToken},
    {134, StrWord},      {143, StrWordsToTokens}, {150, StrTokenCount}, {151, StrWordCount},
};

}  // namespace

TBuiltinBodyRows TokenBuiltinBodies() { return RowsOf(kTokenBodies); }
