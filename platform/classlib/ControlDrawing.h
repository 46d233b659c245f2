// Drawing shared by the standard controls: 3D frames, button faces, the
// focus frame, check and radio marks, text measuring without a window, and
// the "&" accelerators of captions.
#pragma once

#include <string>

#include "Graphics.h"

// Draws a frame of width pixels along rect's edges, topLeft on the top and
// left, bottomRight on the bottom and right, and shrinks rect inside it.
void DrawFrame3D(TCanvas* canvas, RECT& rect, TColor topLeft, TColor bottomRight, int width = 1);
// A raised (or, pressed, sunken) button face filled with clBtnFace; rect
// shrinks to the face inside the border. A default button gets a black outline.
void DrawButtonFace(TCanvas* canvas, RECT& rect, bool pressed, bool isDefault);
// The sunken two-pixel border of edit boxes and lists; rect shrinks inside it.
void DrawSunkenBorder(TCanvas* canvas, RECT& rect);
// The dotted frame that marks the focused control (every other pixel).
void DrawFocusFrame(TCanvas* canvas, const RECT& rect);
// The 13x13 box of a check box at (x, y): state 0 empty, 1 checked, 2 grayed.
void DrawCheckMark(TCanvas* canvas, int x, int y, int state, bool enabled);
// The 12x12 round mark of a radio button at (x, y).
void DrawRadioMark(TCanvas* canvas, int x, int y, bool checked, bool enabled);
// Text drawn (or, with DT_CALCRECT, measured) in rect with the canvas's font
// and a transparent background; disabled text is drawn embossed in gray.
void DrawControlText(TCanvas* canvas, RECT& rect, const std::string& text, UINT flags, bool enabled);
// The size DrawText gives text in font with flags, in a rectangle width
// wide (used with DT_WORDBREAK); works without any window. Empty text
// measures as one line of height.
SIZE MeasureText(TFont* font, const std::string& text, UINT flags, int width);
// The height of one line of font.
int FontLineHeight(TFont* font);

// The accelerator of a caption: the character after the first single '&'
// ("&&" is a literal '&'), in upper case; 0 when there is none.
char AcceleratorOf(const std::string& caption);
// True when key (any case) is the caption's accelerator.
bool IsAcceleratorKey(const std::string& caption, char key);
