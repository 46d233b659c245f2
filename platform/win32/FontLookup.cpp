// Face name substitution and fontconfig matching, cached per name and style;
// the list of the installed families.
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

// The classic names a font list offers besides the installed families (those
// of kFaceSubstitutes that name a face of their own).
const char* const kListedClassicFaces[] = {"Arial", "Courier New", "Times New Roman", "MS Sans Serif"};

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

// Whether fontconfig is up; the first call starts it (once per process).
bool FontconfigReady() {
    static const bool ready = InitialiseFontconfig();
    return ready;
}

bool IsPlainAscii(const std::string& text) {
    for (unsigned char c : text)
        if (c < 0x20 || c > 0x7E) return false;
    return !text.empty();
}

// The first family name of every scalable font fontconfig knows.
std::vector<std::string> InstalledFamilies() {
    std::vector<std::string> families;
    FcPattern* pattern = FcPatternCreate();
    FcObjectSet* objects = FcObjectSetBuild(FC_FAMILY, nullptr);
    if (pattern && objects) {
        FcPatternAddBool(pattern, FC_SCALABLE, FcTrue);
        if (FcFontSet* fonts = FcFontList(nullptr, pattern, objects)) {
            for (int i = 0; i < fonts->nfont; ++i) {
                const std::string family = PatternString(fonts->fonts[i], FC_FAMILY);
                if (IsPlainAscii(family)) families.push_back(family);
            }
            FcFontSetDestroy(fonts);
        }
    }
    if (objects) FcObjectSetDestroy(objects);
    if (pattern) FcPatternDestroy(pattern);
    return families;
}

bool LessIgnoringCase(const std::string& a, const std::string& b) { return LowerCase(a) < LowerCase(b); }

std::vector<std::string> SortedFamilyList() {
    std::vector<std::string> families;
    if (FontconfigReady()) families = InstalledFamilies();
    std::vector<std::string> installed;
    for (const std::string& family : families) installed.push_back(LowerCase(family));
    for (const char* classic : kListedClassicFaces) {
        const std::string standIn = LowerCase(SubstituteFaceName(classic));
        if (std::find(installed.begin(), installed.end(), standIn) != installed.end()) families.push_back(classic);
    }
    std::sort(families.begin(), families.end(), LessIgnoringCase);
    const auto same = [](const std::string& a, const std::string& b) { return LowerCase(a) == LowerCase(b); };
    families.erase(std::unique(families.begin(), families.end(), same), families.end());
    return families;
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
    FontFile file;
    if (FontconfigReady()) file = MatchFontFile(family, bold ? 700 : 400, italic);
    cache.emplace(key, file);
    return file;
}

std::vector<std::string> ListFontFamilies() {
    std::lock_guard<std::mutex> lock(LookupMutex());
    static const std::vector<std::string> families = SortedFamilyList();
    return families;
}

}  // namespace win32
