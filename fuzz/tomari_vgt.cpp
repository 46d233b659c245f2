// Fuzz target: VGT topic markup, laid out and painted by the visualizer on a small memory device context.
#include <cstdint>

#include "FuzzSupport.h"
#include "Gdi.h"
#include "VGTVisualizer.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    // Pictures, image links and forms named by the markup are not looked for
    // outside: the visualizer loads none of them itself.
    TStringContainer lines;
    fuzz::SplitLines(data, size, lines);
    TVGTVisualizer visualizer;
    visualizer.AssignSource(lines);
    HDC dc = CreateCompatibleDC(nullptr);
    HBITMAP bitmap = CreateCompatibleBitmap(dc, 160, 120);
    HGDIOBJ old = SelectObject(dc, bitmap);
    int height = 0, maxWidth = 0;
    visualizer.MeasureTopic(dc, 4, 0, 150, height, maxWidth, true, true);
    visualizer.PaintTopic(dc, 4, 0, 150, false, true, true);
    SelectObject(dc, old);
    DeleteObject(bitmap);
    DeleteDC(dc);
    return 0;
}
