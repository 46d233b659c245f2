// Build-time tool: renders the character tables (".chr") of installed fonts
// for bytes 32-255 of the suite's code page.
//
// usage: MakeCharacterTables <folder> <first size> <last size> <font>...
// Each font name gives <font>_<size>.chr for every size; hyphens in a name
// stand for spaces when the face is looked up ("courier-new" is Courier New).
// Sizes are points at 96 dots per inch.
#include "CHRTable.h"
#include "CodePage.h"
#include "FontLookup.h"
#include "GlyphSpurs.h"

#include <ft2build.h>
#include FT_FREETYPE_H

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

namespace {

const int kDotsPerInch = 96;
const int kFirstCharacter = 32;

struct FaceCloser {
    void operator()(FT_Face face) const { FT_Done_Face(face); }
};
using FacePointer = std::unique_ptr<FT_FaceRec_, FaceCloser>;

std::string FaceNameOf(std::string font) {
    std::replace(font.begin(), font.end(), '-', ' ');
    return font;
}

// Copies the rendered glyph into a width x height grid whose baseline lies
// `ascent` rows below the top, one byte a dot: 255 for a set monochrome bit,
// the coverage of a grey one; ink outside the cell is cut.
std::vector<uint8_t> CellGrid(const FT_GlyphSlot slot, int width, int height, int ascent) {
    std::vector<uint8_t> grid(size_t(width) * height, 0);
    const FT_Bitmap& bitmap = slot->bitmap;
    for (unsigned row = 0; row < bitmap.rows; ++row) {
        const int y = ascent - slot->bitmap_top + int(row);
        const unsigned char* bits = bitmap.buffer + std::ptrdiff_t(row) * bitmap.pitch;
        for (unsigned column = 0; column < bitmap.width; ++column) {
            const int x = slot->bitmap_left + int(column);
            if (x < 0 || x >= width || y < 0 || y >= height) continue;
            grid[size_t(y) * width + x] = bitmap.pixel_mode == FT_PIXEL_MODE_MONO
                                              ? ((bits[column >> 3] & (0x80 >> (column & 7))) != 0 ? 255 : 0)
                                              : bits[column];
        }
    }
    return grid;
}

// Loads the glyph hinted for monochrome output and renders it in the mode.
bool RenderGlyph(FT_Face face, FT_UInt index, FT_Render_Mode mode) {
    return FT_Load_Glyph(face, index, FT_LOAD_TARGET_MONO) == 0 && FT_Render_Glyph(face->glyph, mode) == 0;
}

// The glyph's dots: the scan converter's, without the spurs it leaves where
// the font's hints put an edge right through the dots' centres.
bool GlyphDots(FT_Face face, FT_UInt index, int height, int ascent, GlyphRaster& raster) {
    if (!RenderGlyph(face, index, FT_RENDER_MODE_MONO)) return false;
    raster.width = int((face->glyph->advance.x + 32) >> 6);
    raster.height = height;
    raster.dots = CellGrid(face->glyph, raster.width, height, ascent);
    // A grey bitmap that the font carries for the size sets the dots it covers more than half.
    for (uint8_t& dot : raster.dots) dot = dot >= 128 ? 1 : 0;
    if (RenderGlyph(face, index, FT_RENDER_MODE_NORMAL)) {
        raster.coverage = CellGrid(face->glyph, raster.width, height, ascent);
        ClearStrokeSpurs(raster);
    }
    return true;
}

bool BuildTable(FT_Face face, int size, TCHRTable& table) {
    if (FT_Set_Char_Size(face, 0, size * 64, kDotsPerInch, kDotsPerInch) != 0) {
        return false;
    }
    const FT_Size_Metrics& metrics = face->size->metrics;
    const int ascent = int((metrics.ascender + 63) >> 6);
    const int height = ascent + int((-metrics.descender + 63) >> 6);
    table.SetHeight(height);
    for (int byte = kFirstCharacter; byte <= 255; ++byte) {
        const FT_UInt index = FT_Get_Char_Index(face, win32::CodePageToUnicode(uint8_t(byte)));
        GlyphRaster raster;
        if (index != 0 && GlyphDots(face, index, height, ascent, raster)) {
            table.AddGlyph(uint8_t(byte), raster.width, raster.dots);
        }
    }
    return true;
}

bool WriteTable(const TCHRTable& table, const std::string& path) {
    FILE* file = std::fopen(path.c_str(), "wb");
    if (file == nullptr) {
        return false;
    }
    const bool written = table.Write(file);
    return std::fclose(file) == 0 && written;
}

bool MakeFontTables(FT_Library library, const std::string& folder, const std::string& font, int first, int last) {
    const win32::FontFile fontFile = win32::LookUpFontFile(FaceNameOf(font), 400, false);
    FT_Face rawFace = nullptr;
    if (fontFile.path.empty() || FT_New_Face(library, fontFile.path.c_str(), fontFile.index, &rawFace) != 0) {
        std::fprintf(stderr, "MakeCharacterTables: no face for %s\n", font.c_str());
        return false;
    }
    FacePointer face(rawFace);
    for (int size = first; size <= last; ++size) {
        TCHRTable table;
        const std::string path = folder + "/" + font + "_" + std::to_string(size) + ".chr";
        if (!BuildTable(face.get(), size, table) || !WriteTable(table, path)) {
            std::fprintf(stderr, "MakeCharacterTables: cannot write %s\n", path.c_str());
            return false;
        }
    }
    return true;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 5) {
        std::fprintf(stderr, "usage: MakeCharacterTables <folder> <first size> <last size> <font>...\n");
        return 2;
    }
    const std::string folder = argv[1];
    const int first = std::atoi(argv[2]), last = std::atoi(argv[3]);
    if (first < 1 || last < first || last > 500) {
        std::fprintf(stderr, "MakeCharacterTables: bad size range %s-%s\n", argv[2], argv[3]);
        return 2;
    }
    FT_Library library = nullptr;
    if (FT_Init_FreeType(&library) != 0) {
        std::fprintf(stderr, "MakeCharacterTables: FreeType does not start\n");
        return 1;
    }
    bool ok = true;
    for (int i = 4; i < argc && ok; ++i) {
        ok = MakeFontTables(library, folder, argv[i], first, last);
    }
    FT_Done_FreeType(library);
    return ok ? 0 : 1;
}
