// Shared operand routines: kind tests, number conversions, token and word scanners, whole-word search, number-base text.
#include "StackRoutines.h"

#include <cmath>
#include <cstring>
#include <string>

bool IsTextKind(TExpressionItemType kind) {
    return kind == ekOwnedText || kind == ekBorrowedText || kind == ekBufferedText;
}

bool IsTextItem(const EXPRESSION_ITEM& item) { return IsTextKind(item.kind); }

bool IsTextOnTop(TEvalStack& stack, int i) { return i >= 0 && i < stack.GetCount() && IsTextItem(*stack.Top(i)); }

bool IsNumberItem(const EXPRESSION_ITEM& item) { return item.kind == ekInteger || item.kind == ekReal; }

bool MatchesArrayItemType(TExpressionItemType kind, TVariableType itemtype) {
    switch (itemtype) {
        case vtInt: return kind == ekInteger;
        case vtDouble: return kind == ekReal;
        case vtPoint: return kind == ekPoint;
        case vtComplex: return kind == ekComplex;
        case vtString: return IsTextKind(kind);
        default: return false;
    }
}

int32_t TruncateToInt32(double value) {
    if (!std::isfinite(value)) return 0;
    constexpr double kTwoTo32 = 4294967296.0;
    // Exact for every double: the truncated value is whole, so is the remainder.
    double low = std::fmod(std::trunc(value), kTwoTo32);
    if (low < 0) low += kTwoTo32;
    return static_cast<int32_t>(static_cast<uint32_t>(low));
}

int64_t ItemAsInt(const EXPRESSION_ITEM& item) {
    return item.kind == ekReal ? TruncateToInt32(item.value.real) : item.value.integer;
}

double ItemAsReal(const EXPRESSION_ITEM& item) {
    return item.kind == ekReal ? item.value.real : static_cast<double>(item.value.integer);
}

namespace {

int TextLength(const char* text) { return text != nullptr ? static_cast<int>(std::strlen(text)) : 0; }

// Position of the first separator at or after from; the length when none.
int SeparatorAtOrAfter(const char* text, int length, char separator, int from) {
    for (int i = from; i < length; ++i)
        if (text[i] == separator) return i;
    return length;
}

// From position (the start of some token) passes `steps` separators and
// sets start and end of the token reached; both are the length when the text
// runs out of separators first.
void TokenAfter(const char* text, int length, char separator, int position, int steps, int& start, int& end) {
    for (int k = 0; k < steps; ++k) {
        const int found = SeparatorAtOrAfter(text, length, separator, position);
        if (found == length) {
            start = end = length;
            return;
        }
        position = found + 1;
    }
    start = position;
    end = SeparatorAtOrAfter(text, length, separator, start);
}

}  // namespace

void FindToken(const char* text, int n, char separator, int& start, int& end) {
    TokenAfter(text, TextLength(text), separator, 0, n, start, end);
}

void FindNextToken(const char* text, int previous, int wanted, char separator, int from, int& start, int& end) {
    if (wanted <= previous || from < 0) {
        FindToken(text, wanted, separator, start, end);
        return;
    }
    const int length = TextLength(text);
    if (from >= length) {
        start = end = from > length ? length : from;
        return;
    }
    TokenAfter(text, length, separator, from + 1, wanted - previous - 1, start, end);
}

void FindTokenPair(const char* text, int i, int j, char separator, int& start1, int& end1, int& start2, int& end2) {
    FindToken(text, i, separator, start1, end1);
    FindNextToken(text, i, j, separator, end1, start2, end2);
}

void FindTokens(const char* text, const int* indices, int n, char separator, int* positions) {
    for (int k = 0; k < n; ++k) {
        if (k == 0) {
            FindToken(text, indices[0], separator, positions[0], positions[1]);
        } else {
            FindNextToken(text, indices[k - 1], indices[k], separator, positions[2 * k - 1], positions[2 * k],
                          positions[2 * k + 1]);
        }
    }
}

void ForEachToken(const char* text, char separator, TTokenCallback callback, void* context) {
    if (text == nullptr || callback == nullptr) return;
    const int length = TextLength(text);
    bool stop = false;
    int start = 0;
    while (!stop) {
        const int end = SeparatorAtOrAfter(text, length, separator, start);
        callback(TString(text + start, end - start), stop, context);
        if (end == length) break;
        start = end + 1;
    }
}

void ForEachWord(const char* text, const bool* separatorFlags, TWordCallback wordCallback, void* wordContext,
                 TSeparatorCallback separatorCallback, void* separatorContext) {
    if (text == nullptr || separatorFlags == nullptr) return;
    const int length = TextLength(text);
    bool stop = false;
    int i = 0;
    while (i < length && !stop) {
        if (separatorFlags[static_cast<unsigned char>(text[i])]) {
            if (separatorCallback != nullptr) separatorCallback(i, stop, separatorContext);
            ++i;
            continue;
        }
        const int start = i;
        while (i < length && !separatorFlags[static_cast<unsigned char>(text[i])]) ++i;
        if (wordCallback != nullptr) wordCallback(TString(text + start, i - start), stop, wordContext);
    }
}

bool ContainsWord(const TEvalStack& stack, const char* text, const char* word) {
    if (text == nullptr || word == nullptr || *word == '\0') return false;
    const size_t wordLength = std::strlen(word);
    for (const char* from = text; (from = std::strstr(from, word)) != nullptr; from += wordLength) {
        const bool boundaryBefore = from == text || stack.IsSeparator(static_cast<unsigned char>(from[-1]));
        const unsigned char after = static_cast<unsigned char>(from[wordLength]);
        if (boundaryBefore && (after == '\0' || stack.IsSeparator(after))) return true;
    }
    return false;
}

TString IntToBaseText(int64_t value, int base) {
    if (base < 2 || value == 0) return TString();
    // An unsigned magnitude, so the most negative value converts too.
    uint64_t magnitude = value < 0 ? 0 - static_cast<uint64_t>(value) : static_cast<uint64_t>(value);
    std::string digits;
    while (magnitude != 0) {
        const unsigned digit = static_cast<unsigned>(magnitude % static_cast<uint64_t>(base));
        digits += static_cast<char>(digit < 10 ? '0' + digit : 'a' + (digit - 10));
        magnitude /= static_cast<uint64_t>(base);
    }
    if (value < 0) digits += '-';
    return TString(std::string(digits.rbegin(), digits.rend()));
}

void MapCharsOnto(TEvalStack& stack, TCharMapCallback callback, EXPRESSION_ITEM& result) {
    if (!IsTextItem(result) || result.value.text.text == nullptr) return;
    const EXPRESSION_ITEM* source = stack.Top(1);
    const EXPRESSION_ITEM* chars = stack.Top(0);
    TString& out = *result.value.text.text;
    const TString* sourceText = IsTextItem(*source) ? source->value.text.text : nullptr;
    out = sourceText != nullptr ? *sourceText : TString();
    const TString* charText = IsTextItem(*chars) ? chars->value.text.text : nullptr;
    if (charText == nullptr || callback == nullptr) return;
    // A copy: the callback may write into a text that is also an operand.
    const TString copy = *charText;
    for (int i = 0; i < copy.Length(); ++i) callback(out, copy[i]);
}
