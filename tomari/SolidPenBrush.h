// TSolidPenBrush: a solid pen (and, when asked, a brush) of one colour,
// selected into a device context for the drawing calls of one scope.
#pragma once

#include "Win32.h"

// On destruction the stock black pen and white brush are selected back and
// the objects made here are deleted, so a drawing leaves no object behind.
class TSolidPenBrush {
public:
    TSolidPenBrush(HDC dc, COLORREF colour, bool withBrush);
    ~TSolidPenBrush();
    TSolidPenBrush(const TSolidPenBrush&) = delete;
    TSolidPenBrush& operator=(const TSolidPenBrush&) = delete;

private:
    HDC fDC;
    HPEN fPen;
    HBRUSH fBrush = nullptr;
};
