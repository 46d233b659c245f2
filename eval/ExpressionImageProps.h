// TExpressionImageProps: the look of a typeset formula (font, size, colours, size ratios) and its stored form.
#pragma once

#include "Graphics.h"
#include "MemBuffer.h"
#include "String.h"

class TExpressionImageProps {
public:
    // Defaults: "Arial", 10, white background, black text, ratios 0.6, 0.4, 0.5.
    TExpressionImageProps();

    // Appends, in this order: Font (string), FontSize (i32), ExpCharRatio,
    // IndexCharRatio, RootCharRatio (f32 each), BkColor, TextColor (i32 each).
    void WriteToMemBuffer(TMemBuffer& buffer) const;
    // Reads the fields in the order WriteToMemBuffer writes them; an empty
    // stored font reads as the empty text. When fewer bytes remain than the
    // record needs, nothing is read: false, the record and the read position
    // unchanged.
    bool ReadFromMemBuffer(TMemBuffer& buffer);

    TString Font;
    int FontSize;
    TColor BkColor;
    TColor TextColor;
    float ExpCharRatio;
    float IndexCharRatio;
    float RootCharRatio;
};
