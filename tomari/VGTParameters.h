// The parameter rules of VGT tags: items, numbers, colours, line styles and
// sizes, read the way every tag handler reads them.
#pragma once

#include <vector>

#include "String.h"
#include "Win32Types.h"

// One item of a parameter, cut at its first '='. An item without '=' gives its
// whole text to both key and value, so a bare word serves as a flag key
// ("KEEPLEFT") and as a value (the picture of IMAGE, the target of LINK).
struct TVGTItem {
    TString key;    // upper-cased, for comparison with the listed keys
    TString value;  // as written
};

// The items of a parameter split at ','. An empty parameter has no items;
// ",," has three empty ones. Keys are upper-cased; with trim, keys and values
// are also trimmed of blanks (FRAME, FORM and PANEL read their items so).
class TVGTItems {
public:
    explicit TVGTItems(const TString& parameter, bool trim = false);

    int GetCount() const { return static_cast<int>(fItems.size()); }
    // Item i; i must lie in 0..count-1.
    const TVGTItem& operator[](int i) const { return fItems[static_cast<size_t>(i)]; }
    std::vector<TVGTItem>::const_iterator begin() const { return fItems.begin(); }
    std::vector<TVGTItem>::const_iterator end() const { return fItems.end(); }

private:
    std::vector<TVGTItem> fItems;
};

// The "%d" reading of a number: leading blanks, an optional sign and decimal
// digits; the rest is ignored ("12abc" gives 12) and a text without digits
// gives 0. The result is clamped to -kTagNumberLimit..kTagNumberLimit, so that
// no tag can push the layout's pixel arithmetic past the int range.
constexpr int kTagNumberLimit = 100000;
int ReadTagNumber(const TString& text);

// Six hexadecimal digits, red in characters 1-2, green in 3-4, blue in 5-6,
// packed red in the low byte. Each pair reads the hexadecimal digits at its
// start; a missing or non-hexadecimal pair gives 0 ("FFF" gives 0x000FFF).
// No prefix is understood: "#FF0000" reads the pairs "#F", "F0", "00".
COLORREF ReadTagColor(const TString& text);

// "SOLID" gives 1, anything else 0.
int ReadLineStyle(const TString& text);

// A size: a number (as ReadTagNumber) that is a percentage when the text ends
// in '%' and pixels (or the key's units) otherwise; "-170" is -170 pixels.
struct TVGTSize {
    bool percent = false;
    int value = 0;
};
TVGTSize ReadTagSize(const TString& text);
