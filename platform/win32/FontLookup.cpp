// Face name substitution and fontconfig matching, cached per name and style.
#include "FontLookup.h"

#include <fontconfig/fontconfig.h>

#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <map>
#include <mutex>
#include <tuple>

namespace win32 {
namespace {

struct FaceSubstitute {
    const char* classic;
    const char* installed;
};

// Classic face names and the faces that stand in for them.
const FaceSubstitute kFaceSubstitutes[] = {
    {"arial", "Liberation Sans"},
    {"helvetica", "Liberation Sans"},
    {"times new roman", "Liberation Serif"},
    {"times", "Liberation Serif"},
    {"courier new", "Liberation Mono"},
    {"courier", "Liberation Mono"},
    {"ms sans serif", "Liberation Sans"},
    {"ms shell dlg", "Liberation Sans"},
    {"system", "Liberation Sans"},
    {"", "Liberation Sans"},
};

const char kFallbackFace[] = "DejaVu Sans";

std::string LowerCase(const std::string& text) {
    std::string lower = text;
    std::transform(lower.begin(), lower.end(), lower.begin(),
                   [](unsigned char c) { return char(std::tolower(c)); });
    return lower;
}

std::string TrimmedLowerCase(const std::string& text) {
    size_t first = text.find_first_not_of(' ');
    if (first == std::string::npos) return "";
    size_t last = text.find_last_not_of(' ');
    return LowerCase(text.substr(first, last - first + 1));
}

std::mutex& LookupMutex() {
    static std::mutex mutex;
    return mutex;
}

std::string PatternString(FcPattern* pattern, const char* object) {
    FcChar8* value = nullptr;
    if (FcPatternGetString(pattern, object, 0, &value) != FcResultMatch || !value) return "";
    return reinterpret_cast<const char*>(value);
}

int PatternInteger(FcPattern* pattern, const char* object, int fallback) {
    int value = fallback;
    if (FcPatternGetInteger(pattern, object, 0, &value) != FcResultMatch) return fallback;
    return value;
}

// Asks fontconfig for the family; `exactFamily` refuses a match of another family.
bool MatchFamily(const std::string& family, int weight, bool italic, bool exactFamily, FontFile& file) {
    FcPattern* pattern = FcPatternCreate();
    if (!pattern) return false;
    FcPatternAddString(pattern, FC_FAMILY, reinterpret_cast<const FcChar8*>(family.c_str()));
    FcPatternAddInteger(pattern, FC_WEIGHT, FcWeightFromOpenType(weight));
    FcPatternAddInteger(pattern, FC_SLANT, italic ? FC_SLANT_ITALIC : FC_SLANT_ROMAN);
    FcPatternAddBool(pattern, FC_SCALABLE, FcTrue);
    FcConfigSubstitute(nullptr, pattern, FcMatchPattern);
    FcDefaultSubstitute(pattern);
    FcResult result = FcResultNoMatch;
    FcPattern* match = FcFontMatch(nullptr, pattern, &result);
    FcPatternDestroy(pattern);
    if (!match) return false;
    bool found = false;
    std::string path = PatternString(match, FC_FILE);
    std::string matchedFamily = PatternString(match, FC_FAMILY);
    if (!path.empty() && (!exactFamily || LowerCase(matchedFamily) == LowerCase(family))) {
        file.path = path;
        file.index = PatternInteger(match, FC_INDEX, 0);
        file.bold = PatternInteger(match, FC_WEIGHT, FC_WEIGHT_REGULAR) >= FC_WEIGHT_DEMIBOLD;
        file.italic = PatternInteger(match, FC_SLANT, FC_SLANT_ROMAN) != FC_SLANT_ROMAN;
        found = true;
    }
    FcPatternDestroy(match);
    return found;
}

FontFile MatchFontFile(const std::string& family, int weight, bool italic) {
    FontFile file;
    if (MatchFamily(family, weight, italic, true, file)) return file;
    if (MatchFamily(kFallbackFace, weight, italic, true, file)) return file;
    MatchFamily(kFallbackFace, weight, italic, false, file);
    return file;
}

// Loads the configuration once; releasing it at exit keeps leak checkers quiet
// about what fontconfig's own start-up keeps.
bool InitialiseFontconfig() {
    if (FcInit() != FcTrue) return false;
    std::atexit(FcFini);
    return true;
}

}  // namespace

std::string SubstituteFaceName(const std::string& faceName) {
    std::string key = TrimmedLowerCase(faceName);
    for (const FaceSubstitute& substitute : kFaceSubstitutes) {
        if (key == substitute.classic) return substitute.installed;
    }
    return faceName;
}

FontFile LookUpFontFile(const std::string& faceName, int weight, bool italic) {
    std::string family = SubstituteFaceName(faceName);
    bool bold = weight >= 600;
    auto key = std::make_tuple(LowerCase(family), bold, italic);
    std::lock_guard<std::mutex> lock(LookupMutex());
    static std::map<std::tuple<std::string, bool, bool>, FontFile> cache;
    auto known = cache.find(key);
    if (known != cache.end()) return known->second;
    static bool initialised = InitialiseFontconfig();
    FontFile file;
    if (initialised) file = MatchFontFile(family, bold ? 700 : 400, italic);
    cache.emplace(key, file);
    return file;
}

}  // namespace win32
