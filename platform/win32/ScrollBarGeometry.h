// Where the arrows, the track and the thumb of a scroll bar lie, and the
// position a thumb offset stands for. Internal to the Win32 subset.
#pragma once

#include "WindowObject.h"

namespace win32 {

struct ScrollBarLayout {
    bool vertical = true;
    RECT bar{0, 0, 0, 0};  // the whole bar
    int arrowLength = 16;  // along the axis, at each end
    int trackStart = 0;    // axis coordinates of the track between the arrows
    int trackEnd = 0;
    int thumbStart = 0;  // axis coordinates of the thumb; thumbStart == thumbEnd: no thumb
    int thumbEnd = 0;
};

// Layout of a bar occupying rect (any coordinate system) for the state; the
// thumb stands at the track position while a drag is going on.
ScrollBarLayout LayOutScrollBar(const RECT& rect, bool vertical, const ScrollBarState& state);
// Highest position the thumb can reach: max - max(page - 1, 0), at least min.
int HighestScrollPosition(const ScrollBarState& state);
// The position for a thumb whose leading edge is at axis coordinate thumbStart.
int PositionForThumb(const ScrollBarLayout& layout, const ScrollBarState& state, int thumbStart);
// The state behind a bar (standard: SB_HORZ/SB_VERT; control: SB_CTL); null when the bar does not exist.
ScrollBarState* ScrollBarOf(Window& window, int bar);
bool IsVerticalBar(const Window& window, int bar);
// The bar's rectangle in its window's top-level coordinates.
RECT ScrollBarRectInTopLevel(const Window& window, int bar);
// Paints the bar into the top-level surface, clipped to the window's visible part.
void PaintScrollBar(Window& window, int bar);

}  // namespace win32
