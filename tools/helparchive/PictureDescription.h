// The picture description: a picture of the help drawn from a small text
// format of the help sources (files "*.picture") with the suite's own GDI.
#pragma once

#include "HelpSource.h"
#include "MemBitmap.h"

// One statement per line; blank lines and lines starting with '#' are
// skipped. The first statement gives the size and depth, the rest draw in
// order (coordinates in pixels, rectangles [left, right) x [top, bottom),
// colours RRGGBB):
//   picture WIDTH HEIGHT BITS         1 to 1024 each way; BITS 24, or 8 with a palette
//   palette RRGGBB ...                8 bits: colour-table entries, in order
//   fill RRGGBB                       the whole picture
//   rect LEFT TOP RIGHT BOTTOM RRGGBB a filled rectangle
//   frame LEFT TOP RIGHT BOTTOM RRGGBB its outline, one pixel wide
//   ellipse LEFT TOP RIGHT BOTTOM RRGGBB a filled ellipse
//   line X1 Y1 X2 Y2 RRGGBB           one pixel wide, the last pixel left out
//   polygon RRGGBB X,Y X,Y X,Y ...    filled
//   font SIZE [bold] [italic] FACE    for the text that follows (Arial 9 at first)
//   text X Y RRGGBB TEXT              the rest of the line, from its top left
// At 8 bits every drawn colour becomes the nearest palette entry. A malformed
// statement stops with its file and line.
void DrawPictureDescription(const THelpSource& source, TMemBitmap& picture);
