// Finding the font file for a logical face name, weight and slant through
// fontconfig, and the list of the font families installed.
#pragma once

#include <string>
#include <vector>

namespace win32 {

// A font file chosen for a request, and whether that face is bold and italic
// by itself (when not, the engine makes the style up).
struct FontFile {
    std::string path;  // empty when no font at all could be found
    int index = 0;     // face index inside the file
    bool bold = false;
    bool italic = false;
};

// The face name fontconfig is asked for in place of a classic one: Arial,
// Times New Roman and Courier New map to their metric-compatible Liberation
// faces; MS Sans Serif, System and an empty name to a sans face. Any other name
// passes unchanged. Names compare without regard to case.
std::string SubstituteFaceName(const std::string& faceName);

// The best file for the face name, weight (100-900) and slant. A face that is
// not installed falls back to DejaVu Sans, then to whatever fontconfig offers.
// Results are cached; safe to call from several threads.
FontFile LookUpFontFile(const std::string& faceName, int weight, bool italic);

// The families of the scalable fonts fontconfig reports (each by its first
// name), with the classic names whose stand-in face is among them (Arial
// when Liberation Sans is installed, and so on), sorted without regard to
// case, each once. Names that are not plain ASCII are left out: a face name
// is code-page text everywhere above the layer. Read once; safe to call from
// several threads.
std::vector<std::string> ListFontFamilies();

}  // namespace win32
