// Fuzz target: bitmap character tables (.chr), read from a stream and drawn.
#include <cstdint>
#include <vector>

#include "CHRTable.h"
#include "CHRText.h"
#include "FuzzSupport.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    FILE* file = fuzz::OpenStream(data, size);
    TCHRTable table;
    const bool read = table.Read(file);
    std::fclose(file);
    if (!read) return 0;
    // Every glyph drawn once into a small picture reads every dot the table claims.
    std::vector<uint8_t> pixels(64 * 64);
    IMAGEDATA view;
    view.data = pixels.data();
    view.type = idtGray8;
    view.width = view.height = 64;
    view.pixelStep = 1;
    view.lineStep = 64;
    const TSetIDPixel setter(view, 255, 1, 0, 0);
    char text[2] = {0, 0};
    for (int c = 1; c < TCHRTable::kCharacterCount; ++c) {
        text[0] = static_cast<char>(c);
        DrawCHRText(table, 0, 0, text, setter, chrRotate0, chrBold | chrUnderline, 1, 1, 0.0);
    }
    GetCHRTextWidth(table, "\x01\x7f\xff");
    return 0;
}
