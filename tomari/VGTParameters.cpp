// The parameter rules of VGT tags.
#include "VGTParameters.h"

#include "Gdi.h"
#include "StringContainer.h"

TVGTItems::TVGTItems(const TString& parameter, bool trim) {
    TStringContainer pieces;
    parameter.GetTokens(',', pieces);
    fItems.reserve(static_cast<size_t>(pieces.GetCount()));
    for (int i = 0; i < pieces.GetCount(); ++i) {
        TVGTItem item;
        pieces[i].Split('=', item.key, item.value);
        if (trim) {
            item.key.Trim(' ');
            item.value.Trim(' ');
        }
        item.key.ToUpper();
        fItems.push_back(item);
    }
}

int ReadTagNumber(const TString& text) {
    int i = 0;
    while (text[i] == ' ') ++i;
    bool negative = text[i] == '-';
    if (text[i] == '-' || text[i] == '+') ++i;
    int value = 0;
    for (; text[i] >= '0' && text[i] <= '9'; ++i) {
        // Digits past the limit change nothing, so the value cannot overflow.
        if (value <= kTagNumberLimit) value = value * 10 + (text[i] - '0');
    }
    if (value > kTagNumberLimit) value = kTagNumberLimit;
    return negative ? -value : value;
}

namespace {

int HexDigit(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    return -1;
}

// The hexadecimal digits at the start of the two characters from first.
int ReadHexPair(const TString& text, int first) {
    int value = 0;
    for (int i = first; i < first + 2 && i < text.Length(); ++i) {
        int digit = HexDigit(text[i]);
        if (digit < 0) break;
        value = value * 16 + digit;
    }
    return value;
}

}  // namespace

COLORREF ReadTagColor(const TString& text) {
    return RGB(ReadHexPair(text, 0), ReadHexPair(text, 2), ReadHexPair(text, 4));
}

int ReadLineStyle(const TString& text) { return text == TString("SOLID") ? 1 : 0; }

TVGTSize ReadTagSize(const TString& text) {
    TVGTSize size;
    size.percent = text.EndsWith(TString("%"));
    size.value = ReadTagNumber(text);
    return size;
}
