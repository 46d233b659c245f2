// TSolidPenBrush: scoped solid drawing objects.
#include "SolidPenBrush.h"

TSolidPenBrush::TSolidPenBrush(HDC dc, COLORREF colour, bool withBrush)
    : fDC(dc), fPen(CreatePen(PS_SOLID, 1, colour)) {
    SelectObject(fDC, fPen);
    if (!withBrush) return;
    fBrush = CreateSolidBrush(colour);
    SelectObject(fDC, fBrush);
}

TSolidPenBrush::~TSolidPenBrush() {
    SelectObject(fDC, GetStockObject(BLACK_PEN));
    DeleteObject(fPen);
    if (fBrush == nullptr) return;
    SelectObject(fDC, GetStockObject(WHITE_BRUSH));
    DeleteObject(fBrush);
}
