// TExpressionImageProps: defaults and the field-by-field stored form.
#include "ExpressionImageProps.h"

TExpressionImageProps::TExpressionImageProps()
    : Font("Arial"),
      FontSize(10),
      BkColor(clWhite),
      TextColor(clBlack),
      ExpCharRatio(0.6f),
      IndexCharRatio(0.4f),
      RootCharRatio(0.5f) {}

void TExpressionImageProps::WriteToMemBuffer(TMemBuffer& buffer) const {
    buffer.AddString(Font);
    buffer.AddInt(FontSize);
    buffer.AddFloat(ExpCharRatio);
    buffer.AddFloat(IndexCharRatio);
    buffer.AddFloat(RootCharRatio);
    buffer.AddInt(BkColor);
    buffer.AddInt(TextColor);
}

// Size of the fields after the font: FontSize, three ratios, two colours.
static const int FixedFieldsSize = 6 * 4;

bool TExpressionImageProps::ReadFromMemBuffer(TMemBuffer& buffer) {
    const int start = buffer.GetReadPosition();
    if (buffer.GetRemaining() < 4) return false;
    int fontLength = 0;
    buffer.ReadInt(fontLength);
    buffer.SeekRead(start);
    if (fontLength < 0 || buffer.GetRemaining() - 4 - fontLength < FixedFieldsSize) return false;

    char* font = buffer.ReadString();
    Font = font;  // null (length 0) gives the empty text
    delete[] font;
    FontSize = buffer.ReadInt();
    ExpCharRatio = buffer.ReadFloat();
    IndexCharRatio = buffer.ReadFloat();
    RootCharRatio = buffer.ReadFloat();
    BkColor = buffer.ReadInt();
    TextColor = buffer.ReadInt();
    return true;
}
