// Font realisation with FreeType: sizes and metrics at 96 dpi, synthetic bold
// and oblique, escapement rotation, and the caches of fonts and glyphs.
#include "FontEngine.h"

#include <ft2build.h>
#include FT_FREETYPE_H
#include FT_ADVANCES_H
#include FT_OUTLINE_H
#include FT_TRUETYPE_TABLES_H

#include <algorithm>
#include <climits>
#include <cmath>
#include <cstring>
#include <map>

#include "CodePage.h"
#include "FontLookup.h"

namespace win32 {
namespace {

const double kPi = 3.14159265358979323846;
const int kDefaultCellHeight = 16;
const double kLargestEm = 1024;
// Horizontal shear of a made-up oblique face (about 11 degrees).
const double kObliqueShear = 0.2;
// Fonts kept realised when no caller holds them any more.
const size_t kFontCacheSize = 64;

// Weights of the lower-case letters and the space (per 1000) in the classic
// average character width, so that average widths match what programs expect.
const int kAverageWidthWeights[27] = {64, 14, 27, 35, 100, 20, 14, 42, 63, 3, 6, 35, 20, 56,
                                      56, 17, 4,  49, 56, 71,  31, 10, 18, 3,  18, 2, 166};

struct FreeTypeLibrary {
    std::mutex mutex;  // guards creating and destroying faces
    FT_Library library = nullptr;
    bool available = false;
};

// Never destroyed, so that fonts released late at exit still find it.
FreeTypeLibrary& Library() {
    static FreeTypeLibrary* instance = [] {
        auto* created = new FreeTypeLibrary;
        created->available = FT_Init_FreeType(&created->library) == 0;
        return created;
    }();
    return *instance;
}

FT_Fixed ToFixed(double value) { return FT_Fixed(std::lround(value * 65536.0)); }

int RoundToInt(double value) { return int(std::lround(value)); }

// Ignores the last bits of floating-point noise, so that 12.0000001 gives 12.
int CeilingToInt(double value) { return int(std::ceil(value - 1e-6)); }

// Rotation by the escapement (counter-clockwise, y up) after an optional shear.
FT_Matrix GlyphTransform(int escapement, bool oblique) {
    double angle = escapement / 10.0 * kPi / 180.0;
    double cosine = std::cos(angle), sine = std::sin(angle);
    double shear = oblique ? kObliqueShear : 0.0;
    FT_Matrix matrix;
    matrix.xx = ToFixed(cosine);
    matrix.xy = ToFixed(cosine * shear - sine);
    matrix.yx = ToFixed(sine);
    matrix.yy = ToFixed(sine * shear + cosine);
    return matrix;
}

bool IsIdentity(const FT_Matrix& matrix) {
    return matrix.xx == 0x10000 && matrix.yy == 0x10000 && matrix.xy == 0 && matrix.yx == 0;
}

int NormalisedEscapement(LONG escapement) {
    long long turned = static_cast<long long>(escapement) % 3600;
    return int(turned < 0 ? turned + 3600 : turned);
}

int NormalisedWeight(LONG weight) { return weight <= 0 ? 400 : int(std::min<LONG>(weight, 1000)); }

void CopyBitmap(const FT_Bitmap& bitmap, Glyph& glyph) {
    glyph.width = int(bitmap.width);
    glyph.rows = int(bitmap.rows);
    glyph.coverage.assign(size_t(glyph.width) * size_t(glyph.rows), 0);
    int pitch = std::abs(bitmap.pitch);
    for (int row = 0; row < glyph.rows; ++row) {
        int sourceRow = bitmap.pitch >= 0 ? row : glyph.rows - 1 - row;
        const unsigned char* source = bitmap.buffer + size_t(sourceRow) * size_t(pitch);
        uint8_t* target = glyph.coverage.data() + size_t(row) * size_t(glyph.width);
        for (int column = 0; column < glyph.width; ++column) {
            if (bitmap.pixel_mode == FT_PIXEL_MODE_MONO) {
                target[column] = (source[column >> 3] & (0x80 >> (column & 7))) ? 255 : 0;
            } else if (bitmap.pixel_mode == FT_PIXEL_MODE_GRAY) {
                target[column] = source[column];
            }
        }
    }
}

}  // namespace

// The FreeType side of a realised font.
struct RealizedFont::Face {
    FT_Face face = nullptr;
    FT_UInt glyphIndices[256] = {};
    FT_Matrix transform = {0x10000, 0, 0, 0x10000};
    FT_Pos emboldenStrength = 0;  // 26.6 pixels; 0 when the face is bold itself

    ~Face() {
        if (!face) return;
        FreeTypeLibrary& library = Library();
        std::lock_guard<std::mutex> lock(library.mutex);
        FT_Done_Face(face);
    }
};

RealizedFont::~RealizedFont() = default;

int RealizedFont::TextWidth(const char* text, size_t length) const {
    if (!text) return 0;
    long long width = 0;
    for (size_t i = 0; i < length; ++i) width += advances_[static_cast<unsigned char>(text[i])];
    return int(std::min<long long>(width, INT_MAX));
}

void RealizedFont::GetGlyphs(const char* text, size_t length, std::vector<const Glyph*>& glyphs) {
    glyphs.resize(text ? length : 0);
    GetGlyphs(text, glyphs.size(), glyphs.data());
}

void RealizedFont::GetGlyphs(const char* text, size_t length, const Glyph** glyphs) {
    if (!text || length == 0) return;
    std::lock_guard<std::mutex> lock(glyphMutex_);
    for (size_t i = 0; i < length; ++i) {
        unsigned char byte = static_cast<unsigned char>(text[i]);
        glyphs[i] = glyphs_[byte] ? glyphs_[byte].get() : &RenderGlyph(byte);
    }
}

const Glyph& RealizedFont::RenderGlyph(unsigned char byte) {
    glyphs_[byte] = std::make_unique<Glyph>();
    Glyph& glyph = *glyphs_[byte];
    if (!face_) return glyph;
    FT_Face face = face_->face;
    if (FT_Load_Glyph(face, face_->glyphIndices[byte], FT_LOAD_NO_BITMAP | FT_LOAD_TARGET_LIGHT) != 0) return glyph;
    FT_GlyphSlot slot = face->glyph;
    if (slot->format == FT_GLYPH_FORMAT_OUTLINE) {
        if (face_->emboldenStrength > 0) FT_Outline_EmboldenXY(&slot->outline, face_->emboldenStrength, 0);
        if (!IsIdentity(face_->transform)) FT_Outline_Transform(&slot->outline, &face_->transform);
    }
    if (FT_Render_Glyph(slot, FT_RENDER_MODE_NORMAL) != 0) return glyph;
    glyph.left = slot->bitmap_left;
    glyph.top = slot->bitmap_top;
    CopyBitmap(slot->bitmap, glyph);
    return glyph;
}

void RealizedFont::RealizeWithoutFace(const FontRequest& request) {
    int cell = request.height > 0 ? int(request.height)
             : request.height < 0 ? RoundToInt(std::min<double>(-double(request.height), kLargestEm) * 1.15)
                                  : kDefaultCellHeight;
    cell = std::min(std::max(cell, 1), int(2 * kLargestEm));
    metrics_.ascent = std::max(1, RoundToInt(cell * 0.8));
    metrics_.descent = std::max(0, cell - metrics_.ascent);
    metrics_.height = metrics_.ascent + metrics_.descent;
    int width = request.width > 0 ? int(std::min<LONG>(request.width, LONG(kLargestEm))) : std::max(1, cell * 2 / 5);
    std::fill(std::begin(advances_), std::end(advances_), width);
    metrics_.averageCharWidth = width;
    metrics_.maxCharWidth = width;
    metrics_.fixedPitch = true;
    metrics_.underlinePosition = std::min(1, metrics_.descent);
    metrics_.strikeOutPosition = metrics_.ascent / 3;
}

namespace {

// A face's vertical design sizes in font units. The Windows ascent and descent
// are what make a positive height the height of the whole cell.
struct FaceUnits {
    double unitsPerEm = 1;
    double ascent = 0;
    double descent = 0;
    double cell = 1;
    const TT_OS2* os2 = nullptr;  // null when the face has no such table
    const TT_HoriHeader* horizontalHeader = nullptr;
};

FaceUnits ReadFaceUnits(FT_Face face) {
    FaceUnits units;
    units.unitsPerEm = face->units_per_EM;
    auto* os2 = static_cast<TT_OS2*>(FT_Get_Sfnt_Table(face, FT_SFNT_OS2));
    if (os2 && os2->version != 0xFFFF) units.os2 = os2;
    units.horizontalHeader = static_cast<TT_HoriHeader*>(FT_Get_Sfnt_Table(face, FT_SFNT_HHEA));
    units.ascent = face->ascender;
    units.descent = -face->descender;
    if (units.os2 && units.os2->usWinAscent + units.os2->usWinDescent > 0) {
        units.ascent = units.os2->usWinAscent;
        units.descent = units.os2->usWinDescent;
    }
    units.cell = std::max(1.0, units.ascent + units.descent);
    return units;
}

// The cell height asked for, or 0 when the request gives the em height.
double RequestedCell(const FontRequest& request) {
    if (request.height < 0) return 0;
    return request.height > 0 ? double(request.height) : kDefaultCellHeight;
}

double EmPixels(const FontRequest& request, const FaceUnits& units) {
    double cell = RequestedCell(request);
    double em = cell > 0 ? cell * units.unitsPerEm / units.cell : -double(request.height);
    return std::min(std::max(em, 1.0), kLargestEm);
}

void SetVerticalMetrics(const FontRequest& request, const FaceUnits& units, double em, FontMetrics& metrics) {
    const double scale = em / units.unitsPerEm;
    const double cell = RequestedCell(request);
    // Rounded up, so that no glyph of the face reaches outside its cell.
    metrics.ascent = CeilingToInt(units.ascent * scale);
    metrics.descent = cell > 0 && em < kLargestEm ? int(cell) - metrics.ascent : CeilingToInt(units.descent * scale);
    metrics.descent = std::max(metrics.descent, 0);
    if (metrics.ascent + metrics.descent == 0) metrics.ascent = 1;
    metrics.height = metrics.ascent + metrics.descent;
    metrics.internalLeading = std::max(0, metrics.height - RoundToInt(em));
    if (units.horizontalHeader) {
        double lineCell = double(units.horizontalHeader->Ascender) - units.horizontalHeader->Descender;
        double gap = units.horizontalHeader->Line_Gap - (units.cell - lineCell);
        metrics.externalLeading = std::max(0, RoundToInt(gap * scale));
    }
}

// A requested average width stretches the face horizontally.
double EmWidthPixels(const FontRequest& request, const FaceUnits& units, double em) {
    if (request.width <= 0) return em;
    double averageUnits = units.os2 && units.os2->xAvgCharWidth > 0 ? units.os2->xAvgCharWidth : units.unitsPerEm / 2;
    double naturalAverage = averageUnits * em / units.unitsPerEm;
    return std::min(std::max(em * double(request.width) / naturalAverage, 1.0), kLargestEm);
}

void SetLineMetrics(FT_Face face, const FaceUnits& units, double em, FontMetrics& metrics) {
    const double scale = em / units.unitsPerEm;
    double thickness = face->underline_thickness > 0 ? face->underline_thickness : units.unitsPerEm / 20;
    metrics.underlineThickness = std::max(1, RoundToInt(thickness * scale));
    int underlineTop = RoundToInt(-face->underline_position * scale - metrics.underlineThickness / 2.0);
    int lowestTop = std::max(1, metrics.descent - metrics.underlineThickness);
    metrics.underlinePosition = std::min(std::max(underlineTop, 1), lowestTop);
    if (units.os2 && units.os2->yStrikeoutSize > 0) {
        metrics.strikeOutThickness = std::max(1, RoundToInt(units.os2->yStrikeoutSize * scale));
        metrics.strikeOutPosition = RoundToInt(units.os2->yStrikeoutPosition * scale);
    } else {
        metrics.strikeOutThickness = metrics.underlineThickness;
        metrics.strikeOutPosition = RoundToInt(em * 0.3);
    }
}

// A scalable face from the file, or null.
FT_Face OpenFace(const FontFile& file) {
    FreeTypeLibrary& library = Library();
    if (!library.available || file.path.empty()) return nullptr;
    std::lock_guard<std::mutex> lock(library.mutex);
    FT_Face face = nullptr;
    if (FT_New_Face(library.library, file.path.c_str(), file.index, &face) != 0) return nullptr;
    if (!FT_IS_SCALABLE(face) || face->units_per_EM == 0) {
        FT_Done_Face(face);
        return nullptr;
    }
    return face;
}

}  // namespace

void RealizedFont::Realize(const FontRequest& request) {
    escapement_ = NormalisedEscapement(request.escapement);
    metrics_.weight = NormalisedWeight(request.weight);
    metrics_.italic = request.italic;
    metrics_.underline = request.underline;
    metrics_.strikeOut = request.strikeOut;

    const FontFile file = LookUpFontFile(request.faceName, metrics_.weight, request.italic);
    FT_Face face = OpenFace(file);
    if (!face) {
        RealizeWithoutFace(request);
        return;
    }
    face_ = std::make_unique<Face>();
    face_->face = face;
    metrics_.faceName = face->family_name ? face->family_name : "";
    metrics_.fixedPitch = FT_IS_FIXED_WIDTH(face);

    const FaceUnits units = ReadFaceUnits(face);
    const double em = EmPixels(request, units);
    SetVerticalMetrics(request, units, em, metrics_);
    FT_Set_Char_Size(face, FT_F26Dot6(std::lround(EmWidthPixels(request, units, em) * 64)),
                     FT_F26Dot6(std::lround(em * 64)), 72, 72);

    const bool syntheticBold = metrics_.weight >= 600 && !file.bold;
    const int boldExtra = syntheticBold ? std::max(1, RoundToInt(em / 24)) : 0;
    face_->emboldenStrength = boldExtra * 64;
    face_->transform = GlyphTransform(escapement_, request.italic && !file.italic);
    MeasureAdvances(boldExtra);
    SetLineMetrics(face, units, em, metrics_);
}

void RealizedFont::MeasureAdvances(int boldExtra) {
    double linearAdvances[256];
    for (int byte = 0; byte < 256; ++byte) {
        FT_UInt index = FT_Get_Char_Index(face_->face, CodePageToUnicode(static_cast<unsigned char>(byte)));
        face_->glyphIndices[byte] = index;
        FT_Fixed advance = 0;
        FT_Get_Advance(face_->face, index, FT_LOAD_NO_HINTING, &advance);
        linearAdvances[byte] = advance / 65536.0 + boldExtra;
        advances_[byte] = std::max(1, RoundToInt(linearAdvances[byte]));
    }
    metrics_.maxCharWidth = *std::max_element(std::begin(advances_), std::end(advances_));
    if (metrics_.fixedPitch) {
        metrics_.averageCharWidth = advances_[static_cast<unsigned char>('x')];
        return;
    }
    double weighted = linearAdvances[static_cast<unsigned char>(' ')] * kAverageWidthWeights[26];
    for (int letter = 0; letter < 26; ++letter) weighted += linearAdvances['a' + letter] * kAverageWidthWeights[letter];
    metrics_.averageCharWidth = std::max(1, RoundToInt(weighted / 1000));
}

namespace {

struct FontCache {
    std::mutex mutex;
    std::map<std::string, std::pair<std::shared_ptr<RealizedFont>, unsigned long long>> fonts;
    unsigned long long useCounter = 0;
};

FontCache& Cache() {
    static FontCache* cache = new FontCache;
    return *cache;
}

std::string CacheKey(const FontRequest& request) {
    std::string face = request.faceName;
    std::transform(face.begin(), face.end(), face.begin(), [](unsigned char c) { return char(std::tolower(c)); });
    return std::to_string(request.height) + '/' + std::to_string(request.width) + '/' +
           std::to_string(NormalisedEscapement(request.escapement)) + '/' +
           std::to_string(NormalisedWeight(request.weight)) + '/' + char('0' + request.italic) +
           char('0' + request.underline) + char('0' + request.strikeOut) + '/' + face;
}

// Drops the least recently used fonts beyond the cache size.
void TrimCache(FontCache& cache) {
    while (cache.fonts.size() > kFontCacheSize) {
        auto oldest = cache.fonts.begin();
        for (auto entry = cache.fonts.begin(); entry != cache.fonts.end(); ++entry) {
            if (entry->second.second < oldest->second.second) oldest = entry;
        }
        cache.fonts.erase(oldest);
    }
}

}  // namespace

std::shared_ptr<RealizedFont> RealizeFont(const FontRequest& request) {
    FontCache& cache = Cache();
    std::string key = CacheKey(request);
    std::lock_guard<std::mutex> lock(cache.mutex);
    auto known = cache.fonts.find(key);
    if (known != cache.fonts.end()) {
        known->second.second = ++cache.useCounter;
        return known->second.first;
    }
    std::shared_ptr<RealizedFont> font(new RealizedFont);
    font->Realize(request);
    cache.fonts.emplace(key, std::make_pair(font, ++cache.useCounter));
    TrimCache(cache);
    return font;
}

}  // namespace win32
