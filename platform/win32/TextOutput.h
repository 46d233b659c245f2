// The text run shared by TextOutA, ExtTextOutA and DrawTextA: placing a run of
// glyphs by the alignment and escapement, its background cell and its lines.
// Internal to the Win32 subset.
#pragma once

#include <cstddef>
#include <memory>

#include "DeviceContext.h"
#include "FontEngine.h"

namespace win32 {

// The realised font of the DC's selected font, realised on first use and kept
// with the logical font.
std::shared_ptr<RealizedFont> SelectedFont(DeviceContext& dc);

struct TextRun {
    POINT reference{0, 0};           // logical coordinates
    UINT align = 0;                  // TA_ flags; TA_UPDATECP is the caller's business
    UINT options = 0;                // ETO_OPAQUE, ETO_CLIPPED
    const RECT* rect = nullptr;      // logical rectangle for the options
    const char* text = nullptr;
    size_t count = 0;
    const INT* advances = nullptr;   // per character, instead of the font's
    long long underlinedIndex = -1;  // one character underlined (a DrawText prefix)
};

// Draws the run and returns its advance: the distance from its start to the
// end of its last character along the baseline.
long long DrawTextRun(DeviceContext& dc, RealizedFont& font, const TextRun& run);

}  // namespace win32
