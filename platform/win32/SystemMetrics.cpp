// System metrics and the classic system colours.
#include "SystemMetrics.h"

#include "Gdi.h"
#include "display/DisplayBackEnd.h"

namespace {

struct Metric {
    int index;
    int value;
};
// Fixed metrics of the layer; the screen and work area come from the display back end.
const Metric metricTable[] = {
    {SM_CXVSCROLL, 16}, {SM_CYHSCROLL, 16},  {SM_CYVSCROLL, 16},  {SM_CXHSCROLL, 16},  {SM_CYVTHUMB, 16},
    {SM_CXHTHUMB, 16},  {SM_CYCAPTION, 18},  {SM_CXBORDER, 1},    {SM_CYBORDER, 1},    {SM_CXDLGFRAME, 3},
    {SM_CYDLGFRAME, 3}, {SM_CXFRAME, 4},     {SM_CYFRAME, 4},     {SM_CXICON, 32},     {SM_CYICON, 32},
    {SM_CXCURSOR, 32},  {SM_CYCURSOR, 32},   {SM_CYMENU, 19},     {SM_CXMIN, 112},     {SM_CYMIN, 27},
    {SM_CXSIZE, 18},    {SM_CYSIZE, 18},     {SM_CXMINTRACK, 112}, {SM_CYMINTRACK, 27}, {SM_CXDOUBLECLK, 4},
    {SM_CYDOUBLECLK, 4}, {SM_CXEDGE, 2},     {SM_CYEDGE, 2},      {SM_CXDRAG, 4},      {SM_CYDRAG, 4},
    {SM_MOUSEWHEELPRESENT, 1},
};

// ORDER COLOR: indexed by the COLOR_ numbers, 0 to 24.
const COLORREF colourTable[] = {
    RGB(192, 192, 192), RGB(0, 128, 128),   RGB(0, 0, 128),     RGB(128, 128, 128), RGB(192, 192, 192),
    RGB(255, 255, 255), RGB(0, 0, 0),       RGB(0, 0, 0),       RGB(0, 0, 0),       RGB(255, 255, 255),
    RGB(192, 192, 192), RGB(192, 192, 192), RGB(128, 128, 128), RGB(0, 0, 128),     RGB(255, 255, 255),
    RGB(192, 192, 192), RGB(128, 128, 128), RGB(128, 128, 128), RGB(0, 0, 0),       RGB(192, 192, 192),
    RGB(255, 255, 255), RGB(64, 64, 64),    RGB(223, 223, 223), RGB(0, 0, 0),       RGB(255, 255, 225),
};
const int colourCount = int(sizeof colourTable / sizeof colourTable[0]);

int Width(const RECT& area) { return area.right - area.left; }
int Height(const RECT& area) { return area.bottom - area.top; }

}  // namespace

int GetSystemMetrics(int index) {
    switch (index) {
        case SM_CXSCREEN: case SM_CXVIRTUALSCREEN: return Width(win32::CurrentDisplay().ScreenArea());
        case SM_CYSCREEN: case SM_CYVIRTUALSCREEN: return Height(win32::CurrentDisplay().ScreenArea());
        case SM_CXFULLSCREEN: case SM_CXMAXIMIZED: return Width(win32::CurrentDisplay().WorkArea());
        case SM_CYFULLSCREEN: case SM_CYMAXIMIZED: return Height(win32::CurrentDisplay().WorkArea());
        default: break;
    }
    for (const Metric& metric : metricTable)
        if (metric.index == index) return metric.value;
    return 0;
}

DWORD GetSysColor(int index) { return index >= 0 && index < colourCount ? colourTable[index] : 0; }

HBRUSH GetSysColorBrush(int index) {
    static HBRUSH brushes[sizeof colourTable / sizeof colourTable[0]] = {};
    if (index < 0 || index >= colourCount) return nullptr;
    if (brushes[index] == nullptr) brushes[index] = CreateSolidBrush(colourTable[index]);
    return brushes[index];
}
